// What a builder meets in the first hour: sorted and filtered lists, a window
// that grows and a map that zooms, marked description tabs, the help window,
// and the tools window beside the main window.

#include "aboutform.h"
#include "addescform.h"
#include "configform.h"
#include "descform.h"
#include "destform.h"
#include "dialogparts.h"
#include "editorfixture.h"
#include "effectform.h"
#include "helpform.h"
#include "listform.h"
#include "mappage.h"
#include "navigator.h"
#include "numberform.h"
#include "objpage.h"
#include "problemsform.h"
#include "roommobform.h"
#include "roomobjform.h"
#include "roompage.h"
#include "searchform.h"
#include "toolsform.h"
#include "triggerform.h"
#include "usesform.h"

#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QSpinBox>
#include <QStyleOptionComboBox>
#include <QTabWidget>
#include <QTextBrowser>
#include <QWheelEvent>
#include <QWindow>
#include <chrono>
#include <filesystem>

using namespace guitest;

class TComfortTest : public TEditorFixture {
    Q_OBJECT

    QStringList ShownZoneTexts() {
        QStringList texts;
        for (int row = 0; row < Zone().Z_ListBox->count(); ++row)
            if (!Zone().Z_ListBox->item(row)->isHidden())
                texts << Zone().Z_ListBox->item(row)->text();
        return texts;
    }
    // Controls of the page whose own text is wider than the room they have:
    // combo entries, captions, button texts and list entries that are cut.
    static QStringList CutTexts(QWidget* page) {
        QStringList cut;
        const auto tooNarrow = [&cut](const QWidget* control, const QString& text, int room) {
            if (control->fontMetrics().size(0, text).width() > room)
                cut << control->objectName() + QStringLiteral(": ") + text;
        };
        for (QWidget* child : page->findChildren<QWidget*>()) {
            if (!child->isVisible())
                continue;
            if (auto* combo = qobject_cast<QComboBox*>(child)) {
                QStyleOptionComboBox option;
                option.initFrom(combo);
                const QRect text = combo->style()->subControlRect(
                    QStyle::CC_ComboBox, &option, QStyle::SC_ComboBoxEditField, combo);
                tooNarrow(combo, combo->currentText().trimmed(), text.width());
            } else if (auto* label = qobject_cast<QLabel*>(child)) {
                if (!label->wordWrap() && !label->text().isEmpty())
                    tooNarrow(label, label->text().remove(QLatin1Char('&')), label->width());
            } else if (auto* button = qobject_cast<QPushButton*>(child)) {
                tooNarrow(button, button->text().remove(QLatin1Char('&')), button->width() - 8);
            } else if (auto* box = qobject_cast<QCheckBox*>(child)) {
                tooNarrow(box, box->text().remove(QLatin1Char('&')), box->width() - 22);
            } else if (auto* list = qobject_cast<QListWidget*>(child)) {
                for (int row = 0; row < list->count(); ++row) {
                    const QRect at = list->visualItemRect(list->item(row));
                    tooNarrow(list, list->item(row)->text().trimmed(),
                              list->viewport()->width() - at.left() - 24);
                }
            }
        }
        return cut;
    }
    void NewZone(int number) {
        Zone().Z_NewZoneEdit->setValue(number);
        Click(Zone().Z_NewBtn);
    }

private slots:
    void cleanup() { Finish(); }

    void theZoneListSortsByNumberAndFilters() {
        StartOn(true, /*confirm=*/false);
        NewZone(100);
        NewZone(2);
        QStringList numbers;
        for (const QString& text : ShownZoneTexts())
            numbers << text.section(QLatin1Char(' '), 0, 0);
        QCOMPARE(numbers, (QStringList{QStringLiteral("2*"), QStringLiteral("10"),
                                       QStringLiteral("11"), QStringLiteral("100*")}));
        // Any letter case of a Cyrillic name narrows the list.
        Zone().Z_FilterEdit->setFocus();
        TypeText(Zone().Z_FilterEdit, QStringLiteral("ДЕРЕВНЯ"));
        QCOMPARE(ShownZoneTexts().size(), 1);
        QVERIFY(ShownZoneTexts().front().startsWith(QStringLiteral("10  ")));
        Zone().Z_FilterEdit->clear();
        QCOMPARE(ShownZoneTexts().size(), 4);
    }

    void aLargerWindowShowsMoreOfTheMapAndTheMapZooms() {
        StartOn(true, /*confirm=*/false);
        ClickTab(RoomPageIndex);
        TMapDrawGrid* grid = Map().MapDrawGrid;
        const QSize usual = grid->VisibleCells();
        SaveShot(*form_, QStringLiteral("room-default.png"));
        form_->resize(1600, 1000);
        QTest::qWait(50);
        const QSize larger = grid->VisibleCells();
        QVERIFY2(larger.width() > usual.width() && larger.height() > usual.height(),
                 qPrintable(QStringLiteral("%1x%2 -> %3x%4")
                                .arg(usual.width())
                                .arg(usual.height())
                                .arg(larger.width())
                                .arg(larger.height())));
        SaveShot(*form_, QStringLiteral("room-large.png"));
        // Ctrl + wheel away zooms out: more cells, each smaller.
        const QPoint centre = grid->viewport()->rect().center();
        QWheelEvent out(centre, grid->viewport()->mapToGlobal(centre), {}, QPoint(0, -120),
                        Qt::NoButton, Qt::ControlModifier, Qt::NoScrollPhase, false);
        QApplication::sendEvent(grid->viewport(), &out);
        QVERIFY(grid->Pitch() < TMapDrawGrid::kPitch);
        QVERIFY(grid->VisibleCells().width() > larger.width());
        QTest::keyClick(grid, Qt::Key_Plus, Qt::ControlModifier);
        QCOMPARE(grid->Pitch(), TMapDrawGrid::kPitch);
    }

    void descriptionTabsThatHoldTextAreMarked() {
        StartOn(true, /*confirm=*/false);
        ClickTab(RoomPageIndex);
        QTabWidget* tabs = Room().R_DescPageControl;
        QVERIFY(!tabs->tabIcon(0).isNull()); // the room has a description
        int empty = -1;
        for (int tab = 1; tab < tabs->count(); ++tab) {
            const bool filled =
                !qobject_cast<QPlainTextEdit*>(tabs->widget(tab))->toPlainText().isEmpty();
            QCOMPARE(!tabs->tabIcon(tab).isNull(), filled);
            if (!filled && empty < 0)
                empty = tab;
        }
        QVERIFY(empty > 0);
        tabs->setCurrentIndex(empty);
        auto* variant = qobject_cast<QPlainTextEdit*>(tabs->widget(empty));
        variant->setFocus();
        TypeText(variant, QStringLiteral("Ночью здесь тихо."));
        QVERIFY(!tabs->tabIcon(empty).isNull());
    }

    // Every page at the usual size and at 1600 x 1000: no control reaches
    // beyond the window and no text is cut (pictures saved when asked for).
    void everyPageFitsAtBothSizes() {
        StartOn(true, /*confirm=*/false);
        for (const QSize size : {QSize(980, 640), QSize(1600, 1000)}) {
            form_->resize(size);
            for (int page = 0; page < kPageCount; ++page) {
                ClickTab(page);
                QTest::qWait(20);
                const QRect window = form_->rect();
                for (const QWidget* child :
                     form_->PageControl1->currentWidget()->findChildren<QWidget*>()) {
                    if (!child->isVisibleTo(form_.get()) || child->isWindow())
                        continue;
                    const QRect at(child->mapTo(form_.get(), QPoint(0, 0)), child->size());
                    QVERIFY2(
                        window.contains(at),
                        qPrintable(child->objectName() + QStringLiteral(" on page %1").arg(page)));
                }
                QWidget* shown = form_->PageControl1->currentWidget();
                QStringList cut = CutTexts(shown);
                if (page == ObjPageIndex) { // each kind has its own panel of parameters
                    QComboBox* kinds = form_->findChild<TObjPage*>()->O_TypeComboBox;
                    const int own = kinds->currentIndex();
                    for (int kind = 0; kind < kinds->count(); ++kind) {
                        kinds->setCurrentIndex(kind);
                        cut << CutTexts(shown);
                    }
                    kinds->setCurrentIndex(own); // the record stays as it was
                }
                for (QTabWidget* tabs : shown->findChildren<QTabWidget*>())
                    for (int tab = 0; tab < tabs->count(); ++tab) {
                        tabs->setCurrentIndex(tab);
                        cut << CutTexts(tabs->currentWidget());
                    }
                QVERIFY2(cut.isEmpty(), qPrintable(cut.join(QLatin1Char('\n'))));
                SaveShot(*form_, QStringLiteral("page%1-%2.png").arg(page).arg(size.width()));
            }
        }
    }

    // Every dialog and window at its usual size, and the ones that grow also
    // at 1600 x 1000: no text is cut (pictures saved when asked for).
    void everyDialogShowsItsTextsWhole() {
        StartOn(true, /*confirm=*/false);
        Action("N10")->trigger();
        QList<QWidget*> windows{form_->AboutForm,   form_->AddDescForm, form_->EffectForm,
                                form_->ToolsForm,   form_->NumberForm,  form_->DescForm,
                                form_->TriggerForm, form_->RoomObjForm, form_->RoomMobForm,
                                form_->DestForm,    form_->ConfigForm,  form_->HelpForm,
                                form_->HistoryForm};
        const TNavigator& finding = *form_->Navigator;
        windows << finding.ProblemsForm << finding.SearchForm << finding.UsesForm;
        for (TListForm* list : form_->ListForms)
            windows << list;
        for (int shown = 0; shown < windows.size(); ++shown) {
            QWidget* window = windows[shown];
            const QString name = QStringLiteral("dialog%1-%2")
                                     .arg(shown, 2, 10, QLatin1Char('0'))
                                     .arg(QString::fromLatin1(window->metaObject()->className()));
            window->show();
            QTest::qWait(20);
            QStringList cut = CutTexts(window);
            SaveShot(*window, name + QStringLiteral("-usual.png"));
            if (window->maximumWidth() > window->width() + 200) {
                window->resize(
                    window->size().expandedTo(QSize(1600, 1000)).boundedTo(window->maximumSize()));
                QTest::qWait(20);
                cut << CutTexts(window);
                SaveShot(*window, name + QStringLiteral("-large.png"));
            }
            window->hide();
            QVERIFY2(cut.isEmpty(),
                     qPrintable(name + QLatin1Char('\n') + cut.join(QLatin1Char('\n'))));
        }
    }

    void helpOpensItsWindow() {
        StartOn(true);
        Action("N10")->trigger();
        QVERIFY(form_->HelpForm && form_->HelpForm->isVisible());
        QVERIFY(form_->HelpForm->HelpText->toPlainText().contains(QStringLiteral("Ctrl+Z")));
    }

    void theToolsWindowStandsBesideItsOwner() {
        StartOn(true);
        QTRY_VERIFY(form_->ToolsForm->isVisible());
        QCOMPARE(form_->ToolsForm->windowHandle()->transientParent(), form_->windowHandle());
        // Never over the main window's title bar: beside the frame, or below its top.
        const QRect main = form_->frameGeometry();
        const QRect tools = form_->ToolsForm->frameGeometry();
        QVERIFY(!tools.intersects(main) || tools.top() >= form_->geometry().top());
        // When the main window grows or moves under it, it leaves the title bar.
        form_->ToolsForm->move(form_->frameGeometry().topLeft() + QPoint(100, 0));
        QVERIFY(CoversTitleBar(form_->ToolsForm, form_.get()));
        form_->resize(form_->size() + QSize(40, 40));
        QVERIFY(!CoversTitleBar(form_->ToolsForm, form_.get()));
    }

    // The recovery question comes over the shown main window, and the tools
    // window after it: shown before its owner, it would stay under it.
    void theToolsWindowIsNotLeftBehindItsOwner() {
        MakeProgram(true, Settings(false, true, true));
        const std::string copy = program_ + "Recovery/10/10.zon";
        std::filesystem::create_directories(program_ + "Recovery/10");
        std::filesystem::copy_file(Workspace("ZON/10.zon"), copy);
        std::filesystem::last_write_time(copy,
                                         std::filesystem::last_write_time(Workspace("ZON/10.zon")) +
                                             std::chrono::hours(1));
        prompts_->WhenAsked([this] {
            QVERIFY(form_->windowHandle() && form_->windowHandle()->isVisible());
            QVERIFY(!form_->ToolsForm->isVisible());
        });
        prompts_->ExpectConfirm(QStringLiteral("Прошлая работа редактора прервалась, не сохранив "
                                               "изменения зон:\n10  Деревня Ольховка\nВернуть "
                                               "эти изменения?"),
                                false);
        Start();
        QTRY_VERIFY(form_->ToolsForm->isVisible());
    }
};

QTEST_MAIN(TComfortTest)
#include "comfort_test.moc"
