// The problems window, the search and "where used" on the sample workspace:
// each follows the world and opens the records it lists on their pages.

#include "checks.h"
#include "editorfixture.h"
#include "problemsform.h"
#include "roompage.h"
#include "search.h"
#include "searchform.h"
#include "textcodec.h"
#include "usesform.h"
#include "worldlists.h"

#include <QCheckBox>
#include <QComboBox>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QSpinBox>
#include <algorithm>
#include <tuple>

using namespace guitest;

class TNavigationTest : public TEditorFixture {
    Q_OBJECT

    TRoomPage& Room() { return *form_->findChild<TRoomPage*>(); }
    TProblemsForm& Problems() { return *form_->ProblemsForm; }
    TSearchForm& Search() { return *form_->SearchForm; }
    TUsesForm& Uses() { return *form_->UsesForm; }

    void SelectZone(int32_t number) {
        for (int row = 0; row < Zone().ZoneCount(); ++row)
            if (Zone().ZoneAt(row)->ZoneNumber == number)
                SelectZoneRow(row);
        QCOMPARE(Zone().CurrentZone()->ZoneNumber, number);
    }
    std::vector<const TZone*> Zones() {
        std::vector<const TZone*> zones;
        for (int row = 0; row < Zone().ZoneCount(); ++row)
            zones.push_back(Zone().ZoneAt(row));
        return zones;
    }
    // The rows of a record list whose text in `column` is `text`.
    static int RowWith(const TRecordTable& table, int column, const QString& text) {
        for (int row = 0; row < table.RowCount(); ++row)
            if (table.TextAt(row, column) == text)
                return row;
        return -1;
    }
    static void DoubleClickRow(TRecordTable& table, int row) {
        QTreeWidgetItem* item = table.topLevelItem(row);
        table.scrollToItem(item);
        const QPoint at = table.visualItemRect(item).center();
        QTest::mouseClick(table.viewport(), Qt::LeftButton, {}, at);
        QTest::mouseDClick(table.viewport(), Qt::LeftButton, {}, at);
    }
    // The problems window has run the check its last change asked for.
    void WaitForCheck() { QTRY_VERIFY(!Problems().RecheckPending()); }
    void ExpectShown(int page, int32_t vnum, int32_t zone) {
        QCOMPARE(form_->CurrentPage(), page);
        QCOMPARE(Zone().CurrentZone()->ZoneNumber, zone);
        if (page != ZonePageIndex) {
            QVERIFY(Page(page).Current.has_value());
            QCOMPARE(*Page(page).Current, vnum);
            QCOMPARE(Page(page).IDComboBox->currentData().toInt(), vnum);
        }
    }

private slots:
    void cleanup() { Finish(); }

    void problemsWindowFollowsEditsAndOpensTheRecord() {
        StartOn(true, /*confirm=*/false);
        SelectZone(10);
        Action("NProblems")->trigger();
        QVERIFY(Problems().isVisible());
        QVERIFY(Action("NProblems")->isChecked());
        const auto before = CheckWorld(GlobalWorld(Zones()), 10);
        QCOMPARE(Problems().P_ProblemsList->RowCount(), int(before.size()));

        // An exit into a room zone 10 does not have: one error more, on room 1000.
        const QString missing = QStringLiteral("Выход вверх ведёт в несуществующую комнату 1098");
        ClickTab(RoomPageIndex);
        ChooseRecord(RoomPageIndex, 1000);
        Room().ExitEdits[DirUp]->setValue(1098);
        QCOMPARE(RowWith(*Problems().P_ProblemsList, 2, missing), -1); // not stored yet
        Click(form_->ToolsForm->ApplyBtn);
        WaitForCheck();
        const int row = RowWith(*Problems().P_ProblemsList, 2, missing);
        QVERIFY(row >= 0);
        QCOMPARE(Problems().P_ProblemsList->RowCount(), int(before.size()) + 1);
        QCOMPARE(Problems().P_ProblemsList->TextAt(row, 0), QStringLiteral("ошибка"));
        QVERIFY(
            Problems().P_ProblemsList->TextAt(row, 1).startsWith(QStringLiteral("Комната 1000")));

        // From another zone and page, in the whole workspace, a double-click
        // brings the room back.
        ClickTab(ZonePageIndex);
        SelectZone(11);
        WaitForCheck();
        QCOMPARE(RowWith(*Problems().P_ProblemsList, 2, missing), -1); // zone 11's own
        Problems().P_AllZonesCheckBox->setChecked(true);
        WaitForCheck();
        QCOMPARE(Problems().P_ProblemsList->RowCount(),
                 int(CheckWorld(GlobalWorld(Zones())).size()));
        QVERIFY(SaveShot(Problems(), QStringLiteral("problemsform.png")));
        DoubleClickRow(*Problems().P_ProblemsList, RowWith(*Problems().P_ProblemsList, 2, missing));
        ExpectShown(RoomPageIndex, 1000, 10);
        WaitForCheck(); // zone 10 shown again: still the whole workspace
        QVERIFY(RowWith(*Problems().P_ProblemsList, 2, missing) >= 0);
        QCOMPARE(Room().ExitEdits[DirUp]->value(), 1098);

        // Mending it takes the line away.
        Room().ExitEdits[DirUp]->setValue(0);
        Click(form_->ToolsForm->ApplyBtn);
        WaitForCheck();
        QCOMPARE(RowWith(*Problems().P_ProblemsList, 2, missing), -1);
        Problems().P_AllZonesCheckBox->setChecked(false);
        WaitForCheck();
        QCOMPARE(Problems().P_ProblemsList->RowCount(), int(before.size()));
        Click(Problems().P_CloseBtn);
        QVERIFY(!Action("NProblems")->isChecked());
    }

    // The spells objects cast are held to the program folder's list. No
    // control takes a spell the list does not name, so the object gets one
    // in the world itself.
    void problemsNameASpellTheListDoesNot() {
        StartOn(true, /*confirm=*/false);
        SelectZone(10);
        TObj& potion = *ObjList.Find(ObjList.ZoneRecords(10).front()->VNum);
        potion.Kind = 10;
        potion.Param2 = 1;
        potion.Param3 = 777;
        potion.Param4 = -1;
        Action("NProblems")->trigger();
        WaitForCheck();
        const int row =
            RowWith(*Problems().P_ProblemsList, 2,
                    QStringLiteral("Заклинания 777 нет в списке заклинаний (Bases/Spells)"));
        QVERIFY(row >= 0);
        QCOMPARE(Problems().P_ProblemsList->TextAt(row, 0), QStringLiteral("предупреждение"));
        QCOMPARE(Problems().P_ProblemsList->RowCount(),
                 int(CheckWorld(GlobalWorld(Zones()), 10).size()) + 1);
    }

    // The problems window shows the severity chosen, with its columns as
    // wide as their texts.
    void problemsAreFilteredBySeverity() {
        StartOn(true, /*confirm=*/false);
        SelectZone(10);
        ClickTab(RoomPageIndex);
        ChooseRecord(RoomPageIndex, 1000);
        Room().ExitEdits[DirUp]->setValue(1098);   // an error
        Room().ExitEdits[DirDown]->setValue(1001); // a warning: no way back up
        Click(form_->ToolsForm->ApplyBtn);
        Action("NProblems")->trigger();
        Problems().P_AllZonesCheckBox->setChecked(true);
        WaitForCheck();
        const auto all = CheckWorld(GlobalWorld(Zones()));
        const int errors = int(std::count_if(all.begin(), all.end(), [](const TProblem& problem) {
            return problem.Severity == TSeverity::Error;
        }));
        QVERIFY2(errors > 0 && errors < int(all.size()),
                 qPrintable(QStringLiteral("%1 of %2").arg(errors).arg(all.size())));
        const TRecordTable& list = *Problems().P_ProblemsList;
        for (const auto& [entry, count, severity] :
             {std::tuple{1, errors, QStringLiteral("ошибка")},
              std::tuple{2, int(all.size()) - errors, QStringLiteral("предупреждение")}}) {
            ChooseComboEntry(Problems().P_SeverityComboBox, entry);
            WaitForCheck();
            QCOMPARE(list.RowCount(), count);
            for (int row = 0; row < list.RowCount(); ++row)
                QCOMPARE(list.TextAt(row, 0), severity);
        }
        QVERIFY(list.header()->sectionSize(0) >
                list.fontMetrics().horizontalAdvance(QStringLiteral("предупреждение")));
    }

    // Found records sort by their numbers' values, either way by the column's title.
    void foundRowsSortByNumber() {
        TRecordTable table("F_ResultsList", {QStringLiteral("Запись"), QStringLiteral("Строка")},
                           nullptr);
        table.SetRows({TRecordTable::Row({QStringLiteral("Комната 104320 (Зал)"), {}}, 1, 104320),
                       TRecordTable::Row({QStringLiteral("Комната 13517 (Двор)"), {}}, 1, 13517),
                       TRecordTable::Row({QStringLiteral("Комната 9 (Сад)"), {}}, 1, 9)});
        table.show();
        QVERIFY(QTest::qWaitForWindowExposed(&table));
        const auto numbers = [&table] {
            std::vector<int32_t> out;
            for (int row = 0; row < table.RowCount(); ++row)
                out.push_back(table.RecordAt(row).second);
            return out;
        };
        QCOMPARE(numbers(), (std::vector<int32_t>{9, 13517, 104320}));
        const QHeaderView& header = *table.header();
        QTest::mouseClick(header.viewport(), Qt::LeftButton, {},
                          QPoint(header.sectionViewportPosition(0) + 5, header.height() / 2));
        QCOMPARE(numbers(), (std::vector<int32_t>{104320, 13517, 9}));
    }

    void searchByNumberAndByCyrillicTextLandsOnTheRecord() {
        StartOn(true, /*confirm=*/false);
        SelectZone(10);
        ClickTab(RoomPageIndex);
        QVERIFY(Action("NFind")->shortcut() == QKeySequence(QKeySequence::Find));
        Action("NFind")->trigger();
        QVERIFY(Search().isVisible());

        // A number of zone 11: Enter lists its records and moves nothing;
        // a double-click opens the one chosen.
        const auto found = FindNumber(GlobalWorld(Zones()), 1101);
        QVERIFY(!found.empty());
        const int32_t shownRoom = *Page(RoomPageIndex).Current;
        Search().F_SearchEdit->setFocus();
        TypeText(Search().F_SearchEdit, QStringLiteral("1101"));
        QTest::keyClick(Search().F_SearchEdit, Qt::Key_Return);
        QCOMPARE(Search().F_ResultsList->RowCount(), int(found.size()));
        QCOMPARE(form_->CurrentPage(), int(RoomPageIndex));
        QCOMPARE(*Page(RoomPageIndex).Current, shownRoom);
        DoubleClickRow(*Search().F_ResultsList, 0);
        ExpectShown(static_cast<int>(found.front().Kind), 1101, 11);

        // Upper-case Cyrillic finds the room name of zone 11 from zone 10.
        ClickTab(ZonePageIndex);
        SelectZone(10);
        Search().F_SearchEdit->selectAll();
        TypeText(Search().F_SearchEdit, QStringLiteral("ВОЛЧЬЕ ЛОГ"));
        QTest::keyClick(Search().F_SearchEdit, Qt::Key_Return);
        QVERIFY(Search().F_TextRadio->isChecked()); // not a number: a text search
        QCOMPARE(Search().F_ResultsList->RowCount(), 1);
        QCOMPARE(Search().F_ResultsList->TextAt(0, 1), QStringLiteral("Волчье логово"));
        QCOMPARE(form_->CurrentPage(), int(ZonePageIndex)); // a text search opens nothing itself
        QVERIFY(SaveShot(Search(), QStringLiteral("searchform.png")));
        DoubleClickRow(*Search().F_ResultsList, 0);
        ExpectShown(RoomPageIndex, 1102, 11);

        Search().F_SearchEdit->setFocus();
        Search().F_SearchEdit->selectAll();
        TypeText(Search().F_SearchEdit, QStringLiteral("ничего такого нет"));
        Click(Search().F_FindBtn);
        QCOMPARE(Search().F_ResultsList->RowCount(), 0);
        QCOMPARE(Search().F_CountLabel->text(), QStringLiteral("Ничего не найдено."));
    }

    void whereUsedListsTheKeysDoorAndTheMobsReset() {
        StartOn(true, /*confirm=*/false);
        SelectZone(10);
        // The key of the west door of room 1000, from the object page's button.
        ClickTab(ObjPageIndex);
        ChooseRecord(ObjPageIndex, 1004);
        QVERIFY(SaveShot(*form_, QStringLiteral("objpage-uses.png")));
        Click(Page(ObjPageIndex).UsesBtn);
        QVERIFY(Uses().isVisible());
        TRecordTable& list = *Uses().U_UsesList;
        const int door = RowWith(list, 1, QStringLiteral("Ключ двери на запад"));
        QVERIFY(door >= 0);
        QCOMPARE(list.RecordAt(door), std::make_pair(int(RoomPageIndex), 1000));
        QVERIFY(RowWith(list, 1, QStringLiteral("Сброс: в инвентаре моба 1001")) >= 0);

        // The mob's reset, from the search results' button.
        Action("NFind")->trigger();
        TypeText(Search().F_SearchEdit, QStringLiteral("1002"));
        Click(Search().F_FindBtn);
        const int mob =
            RowWith(*Search().F_ResultsList, 0,
                    FromCp1251(RecordCaption(GlobalWorld(Zones()), TRecordType::Mob, 1002)));
        QVERIFY(mob >= 0);
        Search().F_ResultsList->setCurrentItem(Search().F_ResultsList->topLevelItem(mob));
        Click(Search().F_UsesBtn);
        const int reset = RowWith(list, 1, QStringLiteral("Сброс: моб в комнате"));
        QVERIFY(reset >= 0);
        QCOMPARE(list.RecordAt(reset), std::make_pair(int(RoomPageIndex), 1003));
        QVERIFY(Uses().U_RecordLabel->text().contains(QStringLiteral("Моб 1002")));
        QVERIFY(SaveShot(Uses(), QStringLiteral("usesform.png")));
        DoubleClickRow(list, reset);
        ExpectShown(RoomPageIndex, 1003, 10);
    }
};

QTEST_MAIN(TNavigationTest)
#include "navigation_test.moc"
