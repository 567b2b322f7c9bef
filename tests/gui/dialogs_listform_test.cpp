// The list windows of the rooms, objects, mobs, shops and triggers.

#include "fakeprompts.h"
#include "guisupport.h"
#include "listform.h"
#include "textcodec.h"

#include <QListWidget>
#include <QSignalSpy>
#include <QTest>

using namespace guitest;

namespace {

TListEntry Entry(const QString& text, int32_t vnum) {
    return {ToCp1251(text), vnum};
}

QStringList Texts(const QListWidget* list) {
    QStringList texts;
    for (int i = 0; i < list->count(); ++i)
        texts << list->item(i)->text();
    return texts;
}

// Press, release, double click and release, as the window system sends them.
void DoubleClick(QWidget* widget, QPoint at) {
    QTest::mouseClick(widget, Qt::LeftButton, {}, at);
    QTest::mouseDClick(widget, Qt::LeftButton, {}, at);
    QTest::mouseRelease(widget, Qt::LeftButton, {}, at);
}

} // namespace

class ListFormTest : public QObject {
    Q_OBJECT

private slots:
    void aResizableToolWindowFilledByItsList() {
        TListForm form;
        QCOMPARE(form.windowTitle(), QStringLiteral("Список"));
        QVERIFY(form.windowFlags().testFlag(Qt::Tool));
        form.show();
        QVERIFY(QTest::qWaitForWindowExposed(&form));
        QVERIFY(form.minimumSize() != form.maximumSize());
        QCOMPARE(form.ListBox1->geometry(), form.rect());
        form.resize(form.width() + 80, form.height() + 60);
        QCOMPARE(form.ListBox1->geometry(), form.rect());
    }

    void fillSortsByTextAndCarriesTheNumbers() {
        TListForm form;
        form.Fill({Entry(QStringLiteral("3105  Ёжик"), 3105),
                   Entry(QStringLiteral("3101  Волк"), 3101),
                   Entry(QStringLiteral("3110  Арбалет"), 3110)});
        QCOMPARE(Texts(form.ListBox1),
                 (QStringList{QStringLiteral("3101  Волк"), QStringLiteral("3105  Ёжик"),
                              QStringLiteral("3110  Арбалет")}));
        QCOMPARE(form.ListBox1->item(1)->data(Qt::UserRole).toInt(), 3105);
        // A new fill replaces the entries, and entries added later still sort.
        form.Fill({Entry(QStringLiteral("7"), 7)});
        QCOMPARE(Texts(form.ListBox1), QStringList{QStringLiteral("7")});
        form.ListBox1->addItem(QStringLiteral("5"));
        QCOMPARE(Texts(form.ListBox1), (QStringList{QStringLiteral("5"), QStringLiteral("7")}));
        form.Fill({});
        QCOMPARE(form.ListBox1->count(), 0);
    }

    void aDoubleClickTellsWhichElementWasChosen() {
        TFakePrompts prompts;
        TListForm form;
        form.Fill(
            {Entry(QStringLiteral("3101  Волк"), 3101), Entry(QStringLiteral("3102  Лиса"), 3102)});
        form.show();
        QVERIFY(QTest::qWaitForWindowActive(&form));
        prompts.ExpectInformation(
            QStringLiteral("Вы выбрали элемент #3102 (3102  Лиса)\r\nПозже отсюда можно будет "
                           "просто перетаскивать нужные элементы"));
        const QRect rect = form.ListBox1->visualItemRect(form.ListBox1->item(1));
        DoubleClick(form.ListBox1->viewport(), rect.center());
        QVERIFY(prompts.ScriptDone());
        // A double click below the entries chooses nothing and says nothing.
        DoubleClick(form.ListBox1->viewport(),
                    QPoint(rect.center().x(), form.ListBox1->viewport()->height() - 2));
    }

    void closingTellsWhichListClosed() {
        TListForm form;
        QCOMPARE(form.KindTag(), 0);
        form.SetKindTag(3);
        QSignalSpy closed(&form, &TListForm::closed);
        form.show();
        QVERIFY(QTest::qWaitForWindowExposed(&form));
        QVERIFY(form.close());
        QVERIFY(!form.isVisible());
        QCOMPARE(closed.count(), 1);
        QCOMPARE(closed.at(0).at(0).toInt(), 3);
        // Hiding it from the menu is no closing by the user.
        form.show();
        form.hide();
        QCOMPARE(closed.count(), 1);
    }

    void picture() {
        TListForm form;
        form.setWindowTitle(QStringLiteral("Список мобов"));
        std::vector<TListEntry> entries;
        const QStringList names{QStringLiteral("стражник у ворот"),
                                QStringLiteral("торговка рыбой"), QStringLiteral("бродячий пёс"),
                                QStringLiteral("старый мельник")};
        for (int i = 0; i < names.size(); ++i)
            entries.push_back(
                Entry(QStringLiteral("%1  %2").arg(3100 + i).arg(names[i]), 3100 + i));
        form.Fill(entries);
        form.show();
        QVERIFY(QTest::qWaitForWindowExposed(&form));
        for (int i = 0; i < form.ListBox1->count(); ++i)
            QVERIFY(form.ListBox1->viewport()->rect().contains(
                form.ListBox1->visualItemRect(form.ListBox1->item(i))));
        QVERIFY(SaveShot(form, QStringLiteral("listform.png")));
    }
};

QTEST_MAIN(ListFormTest)
#include "dialogs_listform_test.moc"
