// The tools window and the About box: the two companion windows that only
// report to the main window.

#include "aboutform.h"
#include "guisupport.h"
#include "toolsform.h"

#include <QAction>
#include <QDesktopServices>
#include <QLabel>
#include <QMainWindow>
#include <QPushButton>
#include <QSignalSpy>
#include <QTest>
#include <QToolBar>
#include <QToolButton>
#include <QUrl>
#include <memory>

using namespace guitest;

namespace {

// Each signal of the tools window, by the objectName of its button.
struct TButtonSignal {
    const char* Button;
    void (TToolsForm::*Signal)();
};

const TButtonSignal kSignals[] = {
    {"PrevBtn", &TToolsForm::prevClicked},     {"NextBtn", &TToolsForm::nextClicked},
    {"NewBtn", &TToolsForm::newClicked},       {"ApplyBtn", &TToolsForm::applyClicked},
    {"CancelBtn", &TToolsForm::cancelClicked}, {"CopyBtn", &TToolsForm::copyClicked},
    {"DeleteBtn", &TToolsForm::deleteClicked}, {"SaveZoneBtn", &TToolsForm::saveZoneClicked},
};

} // namespace

// Catches the mailto: links the About box opens instead of starting a mail program.
class TUrlCatcher : public QObject {
    Q_OBJECT
public:
    QList<QUrl> Urls;
public slots:
    void Open(const QUrl& url) { Urls.append(url); }
};

class ToolsFormTest : public QObject {
    Q_OBJECT

private:
    std::unique_ptr<QMainWindow> main_;
    TToolsForm* tools_ = nullptr;

    QToolButton* Button(const char* name) const {
        return tools_->findChild<QToolButton*>(QLatin1String(name));
    }

    // One spy per command signal, in the order of kSignals.
    std::vector<std::unique_ptr<QSignalSpy>> Spies() const {
        std::vector<std::unique_ptr<QSignalSpy>> spies;
        for (const auto& entry : kSignals)
            spies.push_back(std::make_unique<QSignalSpy>(tools_, entry.Signal));
        return spies;
    }

private slots:
    void init() {
        main_ = std::make_unique<QMainWindow>();
        main_->resize(500, 300);
        main_->show();
        tools_ = new TToolsForm(main_.get());
        tools_->show();
        QVERIFY(QTest::qWaitForWindowExposed(tools_));
    }
    void cleanup() {
        main_.reset();
        tools_ = nullptr;
    }

    void isAToolWindowAboveTheMainWindow() {
        QCOMPARE(tools_->windowTitle(), QStringLiteral("Tools"));
        QCOMPARE(tools_->windowType(), Qt::Tool);
        QVERIFY(tools_->isWindow());
        QCOMPARE(tools_->parentWidget(), main_.get());
        SaveShot(*tools_, QStringLiteral("toolsform.png"));
    }

    void buttonsInOrderWithTheirHintsAndImages_data() {
        QTest::addColumn<QString>("button");
        QTest::addColumn<QString>("hint");
        QTest::addColumn<int>("image");
        QTest::addColumn<int>("position"); // among the tool bar's actions, separators counted
        QTest::newRow("prev") << "PrevBtn"
                              << "Предыдущий" << 0 << 0;
        QTest::newRow("next") << "NextBtn"
                              << "Следующий" << 1 << 1;
        QTest::newRow("new") << "NewBtn"
                             << "Новый" << 2 << 3;
        QTest::newRow("apply") << "ApplyBtn"
                               << "Присвоить" << 3 << 4;
        QTest::newRow("cancel") << "CancelBtn"
                                << "Отменить" << 4 << 5;
        QTest::newRow("copy") << "CopyBtn"
                              << "Копировать" << 5 << 6;
        QTest::newRow("delete") << "DeleteBtn"
                                << "Удалить" << 6 << 7;
        QTest::newRow("multi") << "MultiBtn"
                               << "Создать несколько комнат" << 7 << 9;
        QTest::newRow("save zone") << "SaveZoneBtn"
                                   << "Сохранить зону" << 8 << 10;
    }
    void buttonsInOrderWithTheirHintsAndImages() {
        QFETCH(QString, button);
        QFETCH(QString, hint);
        QFETCH(int, image);
        QFETCH(int, position);
        auto* found = tools_->findChild<QToolButton*>(button);
        QVERIFY(found);
        QCOMPARE(found->toolTip(), hint);
        QCOMPARE(found->icon().cacheKey(), tools_->ImageList1.at(image).cacheKey());
        const QList<QAction*> actions = tools_->ToolBar1->actions();
        QCOMPARE(actions.size(), 11);
        QCOMPARE(tools_->ToolBar1->widgetForAction(actions.at(position)), found);
        QVERIFY(actions.at(2)->isSeparator());
        QVERIFY(actions.at(8)->isSeparator());
    }

    void nineVisibleImages() {
        QCOMPARE(tools_->ImageList1.size(), 9);
        QSet<qint64> images;
        for (const QIcon& icon : tools_->ImageList1) {
            QVERIFY(!icon.isNull());
            const QImage image = icon.pixmap(16, 16).toImage();
            QVERIFY(!image.isNull());
            images.insert(image.cacheKey());
        }
        QCOMPARE(images.size(), 9);
    }

    void multiButtonHiddenTheOthersShown() {
        QVERIFY(!tools_->MultiBtn->isVisible());
        for (const auto& entry : kSignals)
            QVERIFY2(Button(entry.Button)->isVisible(), entry.Button);
    }

    void applyFollowsTheChangeFlag() {
        QVERIFY(!tools_->ApplyBtn->isEnabled());
        QSignalSpy applied(tools_, &TToolsForm::applyClicked);
        QTest::mouseClick(tools_->ApplyBtn, Qt::LeftButton);
        QCOMPARE(applied.count(), 0); // nothing to apply right after start

        tools_->SetApplyEnabled(true);
        QVERIFY(tools_->ApplyBtn->isEnabled());
        QTest::mouseClick(tools_->ApplyBtn, Qt::LeftButton);
        QCOMPARE(applied.count(), 1);
        SaveShot(*tools_, QStringLiteral("toolsform-changed.png"));

        tools_->SetApplyEnabled(false);
        QVERIFY(!tools_->ApplyBtn->isEnabled());
        // Switching the record buttons does not touch the change flag's button.
        tools_->SetRecordButtonsEnabled(true);
        QVERIFY(!tools_->ApplyBtn->isEnabled());
    }

    void eachButtonSendsItsOwnSignalOnly() {
        tools_->SetApplyEnabled(true);
        const auto spies = Spies();
        for (size_t i = 0; i < std::size(kSignals); ++i) {
            QTest::mouseClick(Button(kSignals[i].Button), Qt::LeftButton);
            for (size_t j = 0; j < spies.size(); ++j)
                QVERIFY2(spies[j]->count() == (j <= i ? 1 : 0), kSignals[i].Button);
        }
        // The hidden button is no command.
        QTest::mouseClick(tools_->MultiBtn, Qt::LeftButton);
        for (const auto& spy : spies)
            QCOMPARE(spy->count(), 1);
    }

    void recordButtonsEnableTogether() {
        const QList<QToolButton*> record = {tools_->PrevBtn, tools_->NextBtn, tools_->CancelBtn,
                                            tools_->CopyBtn, tools_->DeleteBtn};
        tools_->SetRecordButtonsEnabled(false);
        for (QToolButton* button : record)
            QVERIFY2(!button->isEnabled(), qPrintable(button->objectName()));
        // Adding and saving the zone stay available without an open zone's records.
        QVERIFY(tools_->NewBtn->isEnabled());
        QVERIFY(tools_->SaveZoneBtn->isEnabled());

        const auto spies = Spies();
        for (QToolButton* button : record)
            QTest::mouseClick(button, Qt::LeftButton);
        for (const auto& spy : spies)
            QCOMPARE(spy->count(), 0);
        SaveShot(*tools_, QStringLiteral("toolsform-nozone.png"));

        tools_->SetRecordButtonsEnabled(true);
        for (QToolButton* button : record)
            QVERIFY2(button->isEnabled(), qPrintable(button->objectName()));
        QVERIFY(!tools_->ApplyBtn->isEnabled());
    }

    void closeBoxReportsClosedHideDoesNot() {
        QSignalSpy closed(tools_, &TToolsForm::closed);
        tools_->hide(); // the main menu hiding the window
        QCOMPARE(closed.count(), 0);
        tools_->show();
        QVERIFY(tools_->close());
        QCOMPARE(closed.count(), 1);
        QVERIFY(!tools_->isVisible());
        // Closed is hidden, not gone: the menu shows it again.
        tools_->show();
        QVERIFY(tools_->isVisible());
    }

    void aboutBoxNamesTheProgramAndItsVersion() {
        TAboutForm about;
        about.show();
        QVERIFY(QTest::qWaitForWindowExposed(&about));
        QCOMPARE(about.ProgramLabel->text(), QStringLiteral("Velmora Editor"));
        QVERIFY(about.VersionLabel->text().contains(QLatin1String(kProgramVersion)));
        SaveShot(about, QStringLiteral("aboutform.png"));
        // Small: no larger than its contents.
        QVERIFY(about.width() < 400);
        QVERIFY(about.height() < 300);
        QTest::mouseClick(about.OkBtn, Qt::LeftButton);
        QVERIFY(!about.isVisible());
        QCOMPARE(about.result(), int(QDialog::Accepted));
    }

    void mailLinkOpensALetterWithAddressAndSubject() {
        TUrlCatcher catcher;
        QDesktopServices::setUrlHandler(QStringLiteral("mailto"), &catcher, "Open");
        TAboutForm about;
        about.show();
        QVERIFY(QTest::qWaitForWindowExposed(&about));
        QTest::mouseClick(about.MailLabel, Qt::RightButton);
        QCOMPARE(catcher.Urls.size(), 0);
        QTest::mouseClick(about.MailLabel, Qt::LeftButton);
        QDesktopServices::unsetUrlHandler(QStringLiteral("mailto"));
        QCOMPARE(catcher.Urls.size(), 1);
        const QUrl url = catcher.Urls.front();
        QCOMPARE(url.scheme(), QStringLiteral("mailto"));
        QCOMPARE(url.path(), QLatin1String(kAuthorsMail));
        QCOMPARE(
            url.toString(QUrl::FullyEncoded),
            QStringLiteral("mailto:%1?subject=Velmora%20Editor").arg(QLatin1String(kAuthorsMail)));
    }

    void mailSubjectIsEncoded() {
        const TMailLabel label(QStringLiteral("a@b.example"), QStringLiteral("Мир & зоны?"));
        const QUrl url = label.MailUrl();
        QVERIFY(url.isValid());
        QCOMPARE(QUrl::fromPercentEncoding(url.query(QUrl::FullyEncoded).mid(8).toLatin1()),
                 QStringLiteral("Мир & зоны?"));
        QVERIFY(!url.query(QUrl::FullyEncoded).contains(QLatin1Char('&')));
    }
};

QTEST_MAIN(ToolsFormTest)
#include "dialogs_toolsform_test.moc"
