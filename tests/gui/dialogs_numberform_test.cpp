// The number dialog of the add command, driven by keys and clicks.

#include "guisupport.h"
#include "numberform.h"
#include "textcodec.h"

#include <QComboBox>
#include <QLabel>
#include <QPushButton>
#include <QSpinBox>
#include <QTest>
#include <QTimer>

using namespace guitest;

namespace {

std::vector<std::string> Cp1251(const QStringList& names) {
    std::vector<std::string> out;
    for (const QString& name : names)
        out.push_back(ToCp1251(name));
    return out;
}

QColor FieldColour(const QSpinBox* edit) {
    return edit->palette().color(QPalette::Base);
}

void TypeNumber(QSpinBox* edit, int number) {
    edit->selectAll();
    QTest::keyClicks(edit, QString::number(number));
}

} // namespace

class NumberFormTest : public QObject {
    Q_OBJECT

private:
    std::unique_ptr<TNumberForm> form_;

    void ShowActive() {
        form_->show();
        QVERIFY(QTest::qWaitForWindowActive(form_.get()));
    }

private slots:
    void init() { form_ = std::make_unique<TNumberForm>(); }
    void cleanup() { form_.reset(); }

    void showingPreparesTheDialog() {
        form_->SetTemplateNames(Cp1251({QStringLiteral("Страж"), QStringLiteral("Торговец")}));
        ShowActive();
        QVERIFY(!form_->Accepted());
        QCOMPARE(form_->ComboBox1->count(), 2);
        QCOMPARE(form_->ComboBox1->itemText(1), QStringLiteral("Торговец"));
        QCOMPARE(form_->TemplateIndex(), 0);
        QCOMPARE(QApplication::focusWidget(), form_->NumEdit);
        QCOMPARE(form_->InputMode(), 1);

        // The template box takes the names anew at each showing.
        form_->hide();
        form_->SetTemplateNames({});
        ShowActive();
        QCOMPARE(form_->ComboBox1->count(), 0);
        QCOMPARE(form_->TemplateIndex(), -1);
    }

    void aChosenTemplateIsReportedByPosition() {
        form_->SetTemplateNames(
            Cp1251({QStringLiteral("а"), QStringLiteral("б"), QStringLiteral("в")}));
        ShowActive();
        form_->ComboBox1->setFocus();
        QTest::keyClick(form_->ComboBox1, Qt::Key_Down);
        QTest::keyClick(form_->ComboBox1, Qt::Key_Down);
        QCOMPARE(form_->TemplateIndex(), 2);
        QTest::keyClick(form_->ComboBox1, Qt::Key_Return);
        QVERIFY(form_->Accepted());
        QCOMPARE(form_->TemplateIndex(), 2);
    }

    void enterAcceptsAndEscapeCancels_data() {
        QTest::addColumn<int>("key");
        QTest::addColumn<QString>("focus");
        QTest::addColumn<bool>("accepted");
        QTest::newRow("Enter in the number") << int(Qt::Key_Return) << "NumEdit" << true;
        QTest::newRow("keypad Enter in the quantity") << int(Qt::Key_Enter) << "QtyEdit" << true;
        QTest::newRow("Enter on the Cancel button") << int(Qt::Key_Return) << "CancelBtn" << true;
        QTest::newRow("Escape in the number") << int(Qt::Key_Escape) << "NumEdit" << false;
        QTest::newRow("Escape in the quantity") << int(Qt::Key_Escape) << "QtyEdit" << false;
    }
    void enterAcceptsAndEscapeCancels() {
        QFETCH(int, key);
        QFETCH(QString, focus);
        QFETCH(bool, accepted);
        ShowActive();
        QWidget* target = form_->findChild<QWidget*>(focus);
        target->setFocus();
        if (auto* edit = qobject_cast<QSpinBox*>(target))
            TypeNumber(edit, 7);
        QTest::keyClick(target, static_cast<Qt::Key>(key));
        QVERIFY(!form_->isVisible());
        QCOMPARE(form_->Accepted(), accepted);
        if (accepted && focus == QLatin1String("QtyEdit"))
            QCOMPARE(form_->Quantity(), 7);
        else if (accepted && focus == QLatin1String("NumEdit"))
            QCOMPARE(form_->Number(), 7);
    }

    void closingOrCancelLeavesItUnaccepted() {
        ShowActive();
        QTest::mouseClick(form_->CancelBtn, Qt::LeftButton);
        QVERIFY(!form_->isVisible());
        QVERIFY(!form_->Accepted());
        ShowActive();
        QTest::mouseClick(form_->OkBtn, Qt::LeftButton);
        QVERIFY(form_->Accepted());
        // The next showing starts unaccepted; the close box does not accept.
        ShowActive();
        QVERIFY(!form_->Accepted());
        QVERIFY(form_->close());
        QVERIFY(!form_->Accepted());
    }

    void theFieldEnteredLastGivesTheInputMode() {
        ShowActive();
        const QColor window = form_->palette().color(QPalette::Base);
        const QColor buttonFace = form_->palette().color(QPalette::Button);
        QVERIFY(window != buttonFace);
        QCOMPARE(FieldColour(form_->NumEdit), window);
        QCOMPARE(FieldColour(form_->QtyEdit), buttonFace);

        QTest::mouseClick(form_->QtyEdit, Qt::LeftButton);
        QCOMPARE(form_->InputMode(), 2);
        QCOMPARE(FieldColour(form_->QtyEdit), window);
        QCOMPARE(FieldColour(form_->NumEdit), buttonFace);

        QTest::mouseClick(form_->NumEdit, Qt::LeftButton);
        QCOMPARE(form_->InputMode(), 1);
        QCOMPARE(FieldColour(form_->NumEdit), window);
        QCOMPARE(FieldColour(form_->QtyEdit), buttonFace);

        // Leaving for another control keeps the last field's mode.
        form_->ComboBox1->setFocus();
        QCOMPARE(form_->InputMode(), 1);
        form_->QtyEdit->setFocus();
        QCOMPARE(form_->InputMode(), 2);
        form_->ComboBox1->setFocus();
        QCOMPARE(form_->InputMode(), 2);

        // Each showing starts in the number.
        form_->hide();
        ShowActive();
        QCOMPARE(form_->InputMode(), 1);
    }

    void theLargestQuantityBoundsTheQuantity() {
        form_->SetMaxQuantity(57);
        QCOMPARE(form_->QtyLabel->text(), QStringLiteral("57"));
        QCOMPARE(form_->QtyEdit->maximum(), 57);
        ShowActive();
        form_->QtyEdit->setFocus();
        TypeNumber(form_->QtyEdit, 80);
        QVERIFY(form_->Quantity() <= 57);

        // A full zone allows nothing; a later zone with room has the minimum of 1 again.
        form_->SetMaxQuantity(0);
        QCOMPARE(form_->QtyLabel->text(), QStringLiteral("0"));
        QCOMPARE(form_->Quantity(), 0);
        form_->SetMaxQuantity(10);
        QCOMPARE(form_->QtyEdit->minimum(), 1);
        QCOMPARE(form_->QtyEdit->maximum(), 10);
        QVERIFY(form_->Quantity() >= 1);

        // A disabled quantity cannot be entered: the mode stays the number's.
        QTest::mouseClick(form_->NumEdit, Qt::LeftButton);
        form_->SetQuantityEnabled(false);
        QTest::mouseClick(form_->QtyEdit, Qt::LeftButton);
        QCOMPARE(form_->InputMode(), 1);
    }

    void modalRunReportsNumberAndTemplate() {
        form_->SetTemplateNames(Cp1251({QStringLiteral("Лес")}));
        QTimer::singleShot(0, form_.get(), [this] {
            TypeNumber(form_->NumEdit, 12);
            QTest::keyClick(form_->NumEdit, Qt::Key_Return);
        });
        QCOMPARE(form_->exec(), int(QDialog::Accepted));
        QVERIFY(form_->Accepted());
        QCOMPARE(form_->Number(), 12);
        QCOMPARE(form_->InputMode(), 1);
        QCOMPARE(form_->TemplateIndex(), 0);
    }

    void layoutAndPicture() {
        form_->SetTemplateNames(Cp1251({QStringLiteral("Простая комната")}));
        form_->SetMaxQuantity(57);
        ShowActive();
        QCOMPARE(form_->minimumSize(), form_->maximumSize());
        QList<QWidget*> controls{form_->NumEdit,  form_->ComboBox1, form_->QtyEdit,
                                 form_->QtyLabel, form_->OkBtn,     form_->CancelBtn};
        for (QLabel* label : form_->findChildren<QLabel*>())
            if (label != form_->QtyLabel)
                controls << label;
        for (QWidget* w : controls) {
            QVERIFY(form_->rect().contains(w->geometry()));
            QVERIFY(w->width() >= w->minimumSizeHint().width());
        }
        for (qsizetype i = 0; i < controls.size(); ++i)
            for (qsizetype j = i + 1; j < controls.size(); ++j)
                QVERIFY(!controls[i]->geometry().intersects(controls[j]->geometry()));
        QVERIFY(SaveShot(*form_, QStringLiteral("numberform.png")));
    }
};

QTEST_MAIN(NumberFormTest)
#include "dialogs_numberform_test.moc"
