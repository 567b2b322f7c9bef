// The problems window, the search and "where used" on the sample workspace:
// each follows the world and opens the records it lists on their pages.

#include "checks.h"
#include "editorfixture.h"
#include "navigator.h"
#include "problemsform.h"
#include "reportform.h"
#include "roompage.h"
#include "scripteditor.h"
#include "search.h"
#include "searchform.h"
#include "textcodec.h"
#include "unparsedfiles.h"
#include "usesform.h"
#include "world.h"

#include <QCheckBox>
#include <QComboBox>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QSpinBox>
#include <algorithm>
#include <array>
#include <tuple>

using namespace guitest;

namespace {

// The delete questions of the record pages, rooms to triggers.
const std::array<const char*, 5> kConfirmDelete = {
    "Вы действительно хотите удалить эту комнату?", "Вы действительно хотите удалить этот объект?",
    "Вы действительно хотите удалить этого моба?", "Вы действительно хотите удалить этот магазин?",
    "Вы действительно хотите удалить этот триггер?"};

} // namespace

class TNavigationTest : public TEditorFixture {
    Q_OBJECT

    TRoomPage& Room() { return *form_->findChild<TRoomPage*>(); }
    TProblemsForm& Problems() { return *form_->Navigator->ProblemsForm; }
    TSearchForm& Search() { return *form_->Navigator->SearchForm; }
    TUsesForm& Uses() { return *form_->Navigator->UsesForm; }

    void SelectZone(int32_t number) {
        for (int row = 0; row < Zone().ZoneCount(); ++row)
            if (Zone().ZoneAt(row)->ZoneNumber == number)
                SelectZoneRow(row);
        QCOMPARE(Zone().CurrentZone()->ZoneNumber, number);
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

    // A problem inside a script opens its trigger at the line.
    void aScriptProblemOpensItsLine() {
        StartOn(true, /*confirm=*/false);
        SelectZone(10);
        ClickTab(TrigPageIndex);
        ChooseRecord(TrigPageIndex, 1000);
        auto* script = form_->findChild<TScriptEditor*>(QStringLiteral("T_TextMemo"));
        script->setFocus();
        QTest::keyClick(script, Qt::Key_End, Qt::ControlModifier);
        QTest::keyClick(script, Qt::Key_Return);
        QTest::keyClicks(script, QStringLiteral("end"));
        Click(form_->ToolsForm->ApplyBtn);
        QTest::keyClick(script, Qt::Key_Home, Qt::ControlModifier);
        Action("NProblems")->trigger();
        WaitForCheck();
        int row = -1;
        for (int i = 0; i < Problems().P_ProblemsList->RowCount() && row < 0; ++i)
            if (Problems().P_ProblemsList->TextAt(i, 1).endsWith(QStringLiteral(", строка 5")))
                row = i;
        QVERIFY(row >= 0);
        ClickTab(RoomPageIndex);
        DoubleClickRow(*Problems().P_ProblemsList, row);
        ExpectShown(TrigPageIndex, 1000, 10);
        QCOMPARE(script->textCursor().blockNumber(), 4);
        QCOMPARE(script->textCursor().selectedText(), QStringLiteral("end"));
    }

    void problemsWindowFollowsEditsAndOpensTheRecord() {
        StartOn(true, /*confirm=*/false);
        SelectZone(10);
        Action("NProblems")->trigger();
        QVERIFY(Problems().isVisible());
        QVERIFY(Action("NProblems")->isChecked());
        const auto before = CheckWorld(World().View(), 10);
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
                 int(CheckWorld(World().View()).size()));
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
        TObj& potion = *World().Objs.Find(World().Objs.ZoneRecords(10).front()->VNum);
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
                 int(CheckWorld(World().View(), 10).size()) + 1);
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
        const auto all = CheckWorld(World().View());
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
        const auto found = FindNumber(World().View(), 1101);
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
                    FromCp1251(RecordCaption(World().View(), TRecordType::Mob, 1002)));
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

    // Of each kind, a zone 12 whose file holds a record not read in its
    // middle (1201) and one at its end with the number of a record read
    // (1200): the start-up report names both lines; the ID list marks them
    // after the records read with their numbers; chosen, a record not read
    // is shown as its text, read-only, with why, and is not copied; the
    // problems window opens each, never the record read with its number;
    // deleting one is a step an undo takes back; saved, the file is as read.
    void recordsNotReadAreShownReadOnlyListedAndKept_data() {
        QTest::addColumn<int>("kind");
        for (size_t i = 0; i < unparsedfiles::Kinds().size(); ++i)
            QTest::newRow(unparsedfiles::Kinds()[i].Name) << static_cast<int>(i);
    }
    void recordsNotReadAreShownReadOnlyListedAndKept() {
        QFETCH(int, kind);
        const unparsedfiles::TKind& k = unparsedfiles::Kinds()[static_cast<size_t>(kind)];
        const int page = static_cast<int>(k.Type);
        MakeProgram(true, Settings(false, /*confirm=*/false, true));
        const unparsedfiles::TBrokenFile file = unparsedfiles::BreakFile(k);
        std::string bytes;
        for (const std::string& line : file.Lines)
            bytes += line + "\r\n";
        const std::string path = Workspace(std::string(k.Folder) + "/12" + k.Extension);
        WriteFile(Workspace("ZON/12.zon"), "#12\r\nTest~\r\n1299 10 2\r\nS\r\n$\r\n");
        WriteFile(path, bytes);
        Start();

        auto* report = form_->findChild<TReportForm*>();
        QVERIFY(report && report->isVisible());
        for (const size_t bad : {file.MiddleBad, file.EndBad})
            QVERIFY2(report->Text().contains(QStringLiteral("Файл: %1\n(Ошибка в строке %2)")
                                                 .arg(QString::fromStdString(path))
                                                 .arg(bad + 1)),
                     qPrintable(report->Text()));
        report->close();

        SelectZone(12);
        ClickTab(page);
        TRecordPage& records = Page(page);
        QCOMPARE(records.Count(), 4);
        QCOMPARE(records.RowOf(1200), 0);
        QCOMPARE(records.RowOfUnparsed(1), 1); // the copy of 1200
        QCOMPARE(records.RowOfUnparsed(0), 2); // 1201
        QVERIFY(records.IDComboBox->itemText(1).startsWith(QStringLiteral("1200  (не прочитана)")));
        QVERIFY(records.IDComboBox->itemText(2).startsWith(QStringLiteral("1201  (не прочитана)")));

        ChooseComboEntry(records.IDComboBox, 2);
        QCOMPARE(records.CurrentUnparsed, std::optional<int>(0));
        QVERIFY(!records.Current);
        QVERIFY(records.UnparsedView->isVisible());
        QVERIFY(!records.Body->isVisible());
        const QString text = records.UnparsedText->toPlainText();
        QVERIFY(text.startsWith(QStringLiteral("#1201")));
        QVERIFY(text.contains(QString::fromStdString(file.Lines[file.MiddleBad])));
        QVERIFY2(records.UnparsedLabel->text().contains(
                     QStringLiteral("ошибка в строке %1: «%2»")
                         .arg(file.MiddleBad + 1)
                         .arg(QString::fromStdString(file.Lines[file.MiddleBad]))),
                 qPrintable(records.UnparsedLabel->text()));
        QVERIFY(SaveShot(*form_, QStringLiteral("unparsed-%1.png").arg(QLatin1String(k.Name))));
        records.UnparsedText->setFocus();
        QTest::keyClicks(records.UnparsedText, QStringLiteral("abc"));
        QTest::keyClick(records.UnparsedText, Qt::Key_Delete);
        QCOMPARE(records.UnparsedText->toPlainText(), text);
        QVERIFY(!ApplyEnabled());
        QVERIFY(!Action("N19")->isEnabled());
        QVERIFY(!form_->ToolsForm->CopyBtn->isEnabled());
        QVERIFY(!records.UsesBtn->isEnabled());

        // The record read with the copy's number is shown and copied as ever.
        ChooseComboEntry(records.IDComboBox, 0);
        QCOMPARE(records.Current, std::optional<int32_t>(1200));
        QVERIFY(records.Body->isVisible());
        QVERIFY(!records.UnparsedView->isVisible());
        QVERIFY(Action("N19")->isEnabled());
        QCOMPARE(k.Mark(World(), 1200), unparsedfiles::MarkOf(k, 1200));

        // The problems window lists both and opens each as itself.
        Action("NProblems")->trigger();
        WaitForCheck();
        TRecordTable& problems = *Problems().P_ProblemsList;
        const QString caption = FromCp1251(RecordTypeCaption(k.Type));
        for (const auto& [number, index] : {std::pair{1201, 0}, std::pair{1200, 1}}) {
            const int row =
                RowWith(problems, 1, caption + QStringLiteral(" %1 (не прочитана)").arg(number));
            QVERIFY2(row >= 0, qPrintable(caption));
            QCOMPARE(problems.TextAt(row, 0), QStringLiteral("ошибка"));
            DoubleClickRow(problems, row);
            QCOMPARE(form_->CurrentPage(), page);
            QCOMPARE(records.CurrentUnparsed, std::optional<int>(index));
            QVERIFY(records.UnparsedView->isVisible());
        }
        Click(Problems().P_CloseBtn);

        // Deleted, 1201's text leaves the file; the undo brings it back.
        ChooseComboEntry(records.IDComboBox, records.RowOfUnparsed(0));
        prompts_->ExpectConfirm(QString::fromUtf8(kConfirmDelete[static_cast<size_t>(kind)]), true);
        Action("N18")->trigger();
        QCOMPARE(records.Count(), 3);
        TStringList without = file.Lines;
        without.erase(without.begin() + static_cast<long>(file.MiddleStart),
                      without.begin() +
                          static_cast<long>(unparsedfiles::HeaderOf(file.Lines, 1202)));
        QCOMPARE(k.Compose(World(), 12), without);
        Action("NUndo")->trigger();
        QCOMPARE(k.Compose(World(), 12), file.Lines);
        QCOMPARE(records.Count(), 4);

        prompts_->ExpectConfirm(QStringLiteral("Сохранить всю зону?"), true);
        Action("N34")->trigger();
        QCOMPARE(ReadFile(path), bytes);
    }
};

QTEST_MAIN(TNavigationTest)
#include "navigation_test.moc"
