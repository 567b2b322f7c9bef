#include "checks.h"
#include "editorfixture.h"
#include "listform.h"
#include "maplayout.h"
#include "mappage.h"
#include "navigator.h"
#include "numberform.h"
#include "problemsform.h"
#include "recovery.h"
#include "roompage.h"
#include "textcodec.h"
#include "worlddocument.h"
#include "world.h"
#include "zonepage.h"

#include <QApplication>
#include <QLabel>
#include <QProcess>
#include <QPushButton>
#include <QSpinBox>
#include <QUndoStack>
#include <QUndoView>
#include <filesystem>
#include <set>

using namespace guitest;
namespace fs = std::filesystem;

namespace {

const std::array<const char*, 7> kZone10Files = {"ZON/10.zon", "WLD/10.wld", "WLD/10.map",
                                                 "OBJ/10.obj", "MOB/10.mob", "SHP/10.shp",
                                                 "TRG/10.trg"};
const QString kVillage = QStringLiteral("Деревня Ольховка");

void AnswerNumberDialog(int number) {
    WhenModal([=](QWidget* window) {
        auto* dialog = qobject_cast<TNumberForm*>(window);
        QVERIFY(dialog);
        dialog->NumEdit->setFocus();
        QFocusEvent enter(QEvent::FocusIn, Qt::TabFocusReason);
        QApplication::sendEvent(dialog->NumEdit, &enter);
        dialog->NumEdit->setValue(number);
        Click(dialog->OkBtn);
    });
}

std::multiset<int32_t> Numbers(const std::vector<TListEntry>& entries) {
    std::multiset<int32_t> out;
    for (const TListEntry& entry : entries)
        out.insert(entry.VNum);
    return out;
}

std::multiset<int32_t> Numbers(const QComboBox* ids) {
    std::multiset<int32_t> out;
    for (int row = 0; row < ids->count(); ++row)
        out.insert(ids->itemData(row).toInt());
    return out;
}

// The settings of the editor the crash test kills: no confirmation, tools shown.
const char* const kChildSettings = "[Editor]\r\nConfirm=False\r\nTools=True\r\n";
const QString kChildName = QStringLiteral("Площадь после сбоя");

} // namespace

class TUndoTest : public TEditorFixture {
    Q_OBJECT

    QAction* Undo() { return Action("NUndo"); }
    QAction* Redo() { return Action("NRedo"); }

    void StartOnSample() { StartOn(true, /*confirm=*/false); }
    void ShowZone(int32_t number) {
        if (form_->CurrentPage() != ZonePageIndex)
            ClickTab(ZonePageIndex);
        for (int row = 0; row < Zone().ZoneCount(); ++row)
            if (Zone().ZoneAt(row)->ZoneNumber == number)
                SelectZoneRow(row);
        QCOMPARE(Zone().CurrentZone()->ZoneNumber, number);
    }
    void RenameRoom(int32_t vnum, const QString& name) {
        if (form_->CurrentPage() != RoomPageIndex)
            ClickTab(RoomPageIndex);
        ChooseRecord(RoomPageIndex, vnum);
        Room().R_DescEdit->setFocus();
        Room().R_DescEdit->selectAll();
        TypeText(Room().R_DescEdit, name);
        Click(form_->ToolsForm->ApplyBtn);
    }
    // The current zone saved with "Сохранить зону" and its seven files read back.
    std::string Written() {
        prompts_->ExpectConfirm(QStringLiteral("Сохранить всю зону?"), true);
        Action("N34")->trigger();
        const int32_t n = Zone().CurrentZone()->ZoneNumber;
        std::string bytes;
        for (const char* file : kZone10Files) {
            std::string name = file;
            name.replace(name.find("10"), 2, std::to_string(n));
            bytes += name + ":\n" + ReadFile(Workspace(name));
        }
        return bytes;
    }
    bool Marked(int row) { return Zone().Z_ListBox->item(row)->text().contains(QLatin1Char('*')); }

    // Every view of the world shows what the lists hold: the ID lists, the
    // list windows, the room pickers, the map's unplaced rooms and cell
    // labels, the problems window and the record shown.
    void CheckConsistent() {
        const TZone* zone = Zone().CurrentZone();
        QVERIFY(zone);
        const int32_t n = zone->ZoneNumber;
        QCOMPARE(Numbers(Page(RoomPageIndex).IDComboBox), Numbers(World().Rooms.ZoneListEntries(n)));
        QCOMPARE(Numbers(Page(ObjPageIndex).IDComboBox), Numbers(World().Objs.ZoneListEntries(n)));
        QCOMPARE(Numbers(Page(MobPageIndex).IDComboBox), Numbers(World().Mobs.ZoneListEntries(n)));
        QCOMPARE(Numbers(Page(ShopPageIndex).IDComboBox), Numbers(World().Shops.ZoneListEntries(n)));
        QCOMPARE(Numbers(Page(TrigPageIndex).IDComboBox), Numbers(World().Triggers.ZoneListEntries(n)));
        QCOMPARE(form_->ListForms[RoomListKind]->ListBox1->model()->rowCount(), World().Rooms.Count());
        QCOMPARE(form_->ListForms[ObjListKind]->ListBox1->model()->rowCount(), World().Objs.Count());
        QCOMPARE(form_->ListForms[MobListKind]->ListBox1->model()->rowCount(), World().Mobs.Count());
        QCOMPARE(form_->ListForms[TrigListKind]->ListBox1->model()->rowCount(),
                 World().Triggers.Count());
        TMapGrid grid;
        QCOMPARE(Numbers(Map().UnplacedRooms()), Numbers(FillMap(World().Rooms, grid, n)));
        QCOMPARE(Map().MapRoomsListBox->count(), static_cast<int>(Map().UnplacedRooms().size()));
        const int page = form_->CurrentPage();
        if (page == RoomPageIndex)
            if (const auto shown = Page(RoomPageIndex).Current) {
                const TRoom& room = *World().Rooms.Find(*shown);
                QCOMPARE(Room().R_DescEdit->text(), FromCp1251(room.Name));
                if (IsOnGrid(room)) {
                    QCOMPARE(Map().MapXLabel->text(), QString::number(room.MapX));
                    QCOMPARE(Map().MapYLabel->text(), QString::number(room.MapY));
                }
            }
        TProblemsForm& problems = *form_->Navigator->ProblemsForm;
        if (problems.isVisible()) {
            QTRY_VERIFY(!problems.RecheckPending());
            QCOMPARE(problems.P_ProblemsList->RowCount(), int(CheckWorld(World().View(), n).size()));
        }
        QVERIFY(!ApplyEnabled());
    }

    // Undo and redo of the step `make` made: the files after each are those
    // saved before the step and after it.
    // `steps` steps, the last named `undoText`.
    void CheckUndoRedo(const std::function<void()>& make, const QString& undoText, int steps = 1) {
        const std::string before = Written();
        make();
        QCOMPARE(Undo()->text(), QStringLiteral("Отменить: ") + undoText);
        const std::string after = Written();
        QVERIFY(after != before);
        CheckConsistent();
        for (int i = 0; i < steps; ++i)
            Undo()->trigger();
        QCOMPARE(Written(), before);
        CheckConsistent();
        for (int i = 0; i < steps; ++i)
            Redo()->trigger();
        QCOMPARE(Written(), after);
        QCOMPARE(Undo()->text(), QStringLiteral("Отменить: ") + undoText);
        CheckConsistent();
    }

    // This test program run as an editor on the program folder, which makes
    // its edit (a new zone when `newZone` is not 0) and is killed.
    void RunKilledEditor(int newZone = 0) {
        MakeProgram(true, kChildSettings);
        QProcess child;
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert(QStringLiteral("VELMORA_EDIT_AND_WAIT"), QString::fromStdString(program_));
        env.insert(QStringLiteral("VELMORA_NEW_ZONE"), QString::number(newZone));
        child.setProcessEnvironment(env);
        child.start(QCoreApplication::applicationFilePath(), {});
        QVERIFY(child.waitForStarted());
        QVERIFY(child.waitForReadyRead(60000));
        QCOMPARE(child.readLine().trimmed(), QByteArray("ready"));
        child.kill(); // SIGKILL: nothing runs after it
        QVERIFY(child.waitForFinished());
    }

private slots:
    void cleanup() { Finish(); }

    void everyKindOfStepIsUndoneAndRedone_data() {
        QTest::addColumn<int>("step");
        for (const char* name : {"apply", "add", "copy", "delete", "drop with links", "take off",
                                 "zone edit", "file read", "seller placed", "layout from exits"})
            QTest::newRow(name) << 0;
    }
    void everyKindOfStepIsUndoneAndRedone() {
        const QString step = QString::fromLatin1(QTest::currentDataTag());
        StartOnSample();
        Action("NProblems")->trigger();
        if (step == QLatin1String("apply")) {
            CheckUndoRedo([&] { RenameRoom(1001, QStringLiteral("Колодец")); },
                          QStringLiteral("изменение комнаты 1001"));
        } else if (step == QLatin1String("add")) {
            ClickTab(ObjPageIndex);
            CheckUndoRedo(
                [&] {
                    AnswerNumberDialog(20);
                    Action("N17")->trigger();
                    QCOMPARE(*Page(ObjPageIndex).Current, 1020);
                },
                QStringLiteral("добавление объекта 1020"));
        } else if (step == QLatin1String("copy")) {
            ClickTab(MobPageIndex);
            ChooseRecord(MobPageIndex, 1001);
            CheckUndoRedo(
                [&] {
                    AnswerNumberDialog(10);
                    Action("N19")->trigger();
                },
                QStringLiteral("копирование моба 1001 в 1010"));
        } else if (step == QLatin1String("delete")) {
            ClickTab(TrigPageIndex);
            ChooseRecord(TrigPageIndex, 1001);
            CheckUndoRedo(
                [&] {
                    prompts_->ExpectConfirm(
                        QStringLiteral("Вы действительно хотите удалить этот триггер?"), true);
                    Action("N18")->trigger();
                },
                QStringLiteral("удаление триггера 1001"));
            // The undo brought the record back onto its page.
            Undo()->trigger();
            QCOMPARE(*Page(TrigPageIndex).Current, 1001);
        } else if (step == QLatin1String("drop with links")) {
            ShowZone(11);
            ClickTab(RoomPageIndex);
            ChooseRecord(RoomPageIndex, 1103); // the room shown is the one dropped
            CheckUndoRedo(
                [&] {
                    TMapRoomsListBox* list = Map().MapRoomsListBox;
                    list->setCurrentRow(0);
                    QCOMPARE(list->currentItem()->data(Qt::UserRole).toInt(), 1103);
                    list->RememberDrag();
                    SendDrop(Map().MapDrawGrid->viewport(),
                             Map().MapDrawGrid->CellRect(5, 7).center());
                    QCOMPARE(World().Rooms.Find(1101)->Exits[DirNorth].ToRoom, 1103);
                    QCOMPARE(Map().MapXLabel->text(), QStringLiteral("5"));
                    QCOMPARE(Map().MapYLabel->text(), QStringLiteral("7"));
                },
                QStringLiteral("перенос комнаты 1103"));
        } else if (step == QLatin1String("take off")) {
            ClickTab(RoomPageIndex);
            ChooseRecord(RoomPageIndex, 1002);
            CheckUndoRedo(
                [&] {
                    prompts_->ExpectConfirm(
                        QStringLiteral("Убрать комнату с карты?\n") +
                            FromCp1251(TRoomList::EntryOf(*World().Rooms.Find(1002)).Text),
                        true);
                    Click(Map().R_DelFromMapBtn);
                },
                QStringLiteral("снятие комнаты 1002 с карты"));
        } else if (step == QLatin1String("zone edit")) {
            CheckUndoRedo(
                [&] {
                    TypeZoneName(QStringLiteral("Ольховка"));
                    Click(form_->ToolsForm->ApplyBtn);
                },
                QStringLiteral("изменение зоны 10"));
            QCOMPARE(Zone().Z_NameEdit->text(), QStringLiteral("Ольховка"));
        } else if (step == QLatin1String("file read")) {
            // Another copy of the object file, one name changed, opened on the object page.
            const std::string other = dir_->path().toStdString() + "/other/10.obj";
            fs::create_directories(fs::path(other).parent_path());
            std::string bytes = ReadFile(Workspace("OBJ/10.obj"));
            const std::string name(World().Objs.Find(1001)->CaptionName());
            bytes.replace(bytes.find(name), name.size(), ToCp1251(QStringLiteral("ведро")));
            WriteFile(other, bytes);
            ClickTab(ObjPageIndex);
            CheckUndoRedo(
                [&] {
                    prompts_->ExpectOpenFile(QString::fromStdString(other));
                    Action("N3")->trigger();
                },
                QStringLiteral("чтение файла 10.obj"));
        } else if (step == QLatin1String("layout from exits")) {
            ShowZone(11);
            ClickTab(RoomPageIndex);
            CheckUndoRedo(
                [&] {
                    prompts_->ExpectConfirm(
                        QStringLiteral("Разложить заново и уже расставленные комнаты?\n"
                                       "«Нет» — расставить только не расставленные."),
                        true);
                    Click(form_->findChild<QPushButton*>(QStringLiteral("MapLayoutBtn")));
                },
                QStringLiteral("раскладка комнат по выходам"));
        } else if (step == QLatin1String("seller placed")) {
            ClickTab(ShopPageIndex);
            CheckUndoRedo(
                [&] {
                    auto* edit = form_->findChild<QLineEdit*>(QStringLiteral("S_RoomEdit"));
                    QVERIFY(edit);
                    edit->setText(QStringLiteral("1004"));
                    if (form_->findChild<QListWidget*>(QStringLiteral("S_RoomListBox"))->count() ==
                        0)
                        prompts_->ExpectConfirm(
                            QStringLiteral("Внимание!\r\nДобавлять магазин в комнату можно только "
                                           "после того,\r\nкогда магазин будет ПОЛНОСТЬЮ "
                                           "сделан.\r\nВы уверены, что хотите добавить магазин в "
                                           "комнату?"),
                            true);
                    Click(form_->findChild<QPushButton*>(QStringLiteral("S_Room1Btn")));
                    Click(form_->ToolsForm->ApplyBtn);
                },
                QStringLiteral("изменение магазина 1000"), 2);
        }
    }

    void undoAfterAZoneSwitchGoesBackToTheRecord() {
        StartOnSample();
        RenameRoom(1002, QStringLiteral("Колодец"));
        ShowZone(11);
        ClickTab(ObjPageIndex);
        Undo()->trigger();
        QCOMPARE(Zone().CurrentZone()->ZoneNumber, 10);
        QCOMPARE(form_->CurrentPage(), int(RoomPageIndex));
        QCOMPARE(*Page(RoomPageIndex).Current, 1002);
        QVERIFY(Room().R_DescEdit->text() != QStringLiteral("Колодец"));
        CheckConsistent();
        // The history window lists the step.
        Action("NHistory")->trigger();
        QVERIFY(form_->HistoryForm->isVisible());
        QCOMPARE(form_->HistoryView->stack()->count(), 1);
        Redo()->trigger();
        SaveShot(*form_, QStringLiteral("undo-main.png"));
        SaveShot(*form_->HistoryForm, QStringLiteral("undo-history.png"));
    }

    void unappliedEditsAreUndoneAsAStepOfTheirOwn() {
        StartOnSample();
        ClickTab(RoomPageIndex);
        ChooseRecord(RoomPageIndex, 1001);
        const QString name = Room().R_DescEdit->text();
        Room().R_DescEdit->setFocus();
        Room().R_DescEdit->selectAll();
        TypeText(Room().R_DescEdit, QStringLiteral("Колодец"));
        form_->PageControl1->setFocus(); // Ctrl+Z out of the text box
        Undo()->trigger();
        QCOMPARE(Room().R_DescEdit->text(), name);
        Redo()->trigger();
        QCOMPARE(Room().R_DescEdit->text(), QStringLiteral("Колодец"));
    }

    void theZoneMarkFollowsSavesAndUndo() {
        StartOnSample();
        QVERIFY(!Marked(0));
        RenameRoom(1001, QStringLiteral("Колодец"));
        QVERIFY(Marked(0));
        QVERIFY(!Marked(1));
        QCOMPARE(form_->windowTitle(), QStringLiteral("Velmora Editor — зона 10 *"));
        Undo()->trigger();
        QVERIFY(!Marked(0));
        QCOMPARE(form_->windowTitle(), QStringLiteral("Velmora Editor"));
        Redo()->trigger();
        QVERIFY(Marked(0));
        Written();
        QVERIFY(!Marked(0));
        // Undone after the save, the zone differs from its files again.
        Undo()->trigger();
        QVERIFY(Marked(0));
    }

    void exitListsTheUnsavedZones_data() {
        QTest::addColumn<int>("answer");
        QTest::newRow("save all") << 0;
        QTest::newRow("do not save") << 1;
        QTest::newRow("cancel") << 2;
    }
    void exitListsTheUnsavedZones() {
        QFETCH(int, answer);
        StartOnSample();
        const std::string saved = ReadFile(Workspace("WLD/10.wld"));
        RenameRoom(1001, QStringLiteral("Колодец"));
        prompts_->ExpectChoice(QStringLiteral("Не сохранены зоны:\n10  ") + kVillage +
                                   QStringLiteral("\nСохранить их перед выходом?"),
                               answer);
        if (answer != 2)
            prompts_->ExpectConfirm(QStringLiteral("Вы хотите выйти?"), true);
        QCOMPARE(form_->close(), answer != 2);
        const bool written = ReadFile(Workspace("WLD/10.wld")) != saved;
        QCOMPARE(written, answer == 0);
        QVERIFY(!fs::exists(program_ + "Recovery") || answer == 2);
    }

    // A zone that cannot be written keeps the editor open, with its changes
    // and their recovery copy.
    void exitStaysWhenSavingFails() {
        StartOnSample();
        RenameRoom(1001, QStringLiteral("Колодец"));
        fs::remove(Workspace("WLD/10.wld"));
        fs::create_directory(Workspace("WLD/10.wld")); // nothing can be renamed over it
        prompts_->ExpectChoice(QStringLiteral("Не сохранены зоны:\n10  ") + kVillage +
                                   QStringLiteral("\nСохранить их перед выходом?"),
                               0);
        prompts_->ExpectError(
            QStringLiteral("Не все файлы зоны удалось записать: зона сохранена не полностью.\n"
                           "Не могу сохранить комнаты в файл %1: на этом месте папка")
                .arg(QString::fromStdString(Workspace("WLD/10.wld"))));
        QVERIFY(!form_->close());
        QVERIFY(Marked(0));
        QVERIFY(fs::exists(program_ + "Recovery/10/10.wld"));
    }

    void declinedRecoveryCopiesAreRemoved() {
        MakeProgram(true, kChildSettings);
        // What a crash would have left: zone 10's files, one room renamed,
        // newer than the workspace's.
        const std::string copies = program_ + "Recovery/10/";
        fs::create_directories(copies);
        for (const char* file : kZone10Files)
            fs::copy_file(Workspace(file), copies + fs::path(file).filename().string());
        std::string rooms = ReadFile(copies + "10.wld");
        const size_t name = rooms.find('\n', rooms.find("#1001")) + 1;
        rooms.insert(name, "x");
        WriteFile(copies + "10.wld", rooms);
        for (const auto& entry : fs::directory_iterator(copies))
            fs::last_write_time(entry.path(),
                                fs::last_write_time(entry.path()) + std::chrono::seconds(10));
        const std::string workspace = ReadFile(Workspace("WLD/10.wld"));

        prompts_->ExpectConfirm(
            QStringLiteral(
                "Прошлая работа редактора прервалась, не сохранив изменения зон:\n10  ") +
                kVillage + QStringLiteral("\nВернуть эти изменения?"),
            false);
        Start();
        QVERIFY(!fs::exists(program_ + "Recovery"));
        QVERIFY(!Marked(0));
        QVERIFY(!World().Rooms.Find(1001)->Name.View().starts_with("x"));
        QCOMPARE(ReadFile(Workspace("WLD/10.wld")), workspace);
    }

    void editsOfAKilledEditorAreOfferedBack() {
        RunKilledEditor();
        QVERIFY(fs::exists(program_ + "Recovery/10/10.wld"));

        prompts_->ExpectConfirm(
            QStringLiteral(
                "Прошлая работа редактора прервалась, не сохранив изменения зон:\n10  ") +
                kVillage + QStringLiteral("\nВернуть эти изменения?"),
            true);
        Start();
        QCOMPARE(FromCp1251(World().Rooms.Find(1001)->Name), kChildName);
        QVERIFY(Marked(0));
        Written();
        QVERIFY(ReadFile(Workspace("WLD/10.wld")).find(ToCp1251(kChildName)) != std::string::npos);
        QVERIFY(!fs::exists(program_ + "Recovery/10"));
    }

    void aNewZoneOfAKilledEditorIsOfferedBack_data() {
        QTest::addColumn<bool>("bringBack");
        QTest::newRow("brought back") << true;
        QTest::newRow("declined") << false;
    }
    void aNewZoneOfAKilledEditorIsOfferedBack() {
        QFETCH(bool, bringBack);
        RunKilledEditor(501);
        QVERIFY(fs::exists(program_ + "Recovery/501/501.zon"));

        prompts_->ExpectConfirm(
            QStringLiteral("Прошлая работа редактора прервалась, не сохранив изменения зон:\n"
                           "501  (новая зона, ни разу не сохранена)\nВернуть эти изменения?"),
            bringBack);
        Start();
        QCOMPARE(fs::exists(program_ + "Recovery/501/501.zon"), bringBack);
        const int last = Zone().ZoneCount() - 1;
        QCOMPARE(Zone().ZoneAt(last)->ZoneNumber == 501, bringBack);
        if (bringBack) {
            QCOMPARE(FromCp1251(Zone().ZoneAt(last)->ZoneName), kChildName);
            QVERIFY(Marked(last));
        }
        // A normal exit without saving declines the copy: it goes then.
        if (bringBack)
            prompts_->ExpectChoice(QStringLiteral("Не сохранены зоны:\n501  ") + kChildName +
                                       QStringLiteral("\nСохранить их перед выходом?"),
                                   1);
        prompts_->ExpectConfirm(QStringLiteral("Вы хотите выйти?"), true);
        QVERIFY(form_->close());
        QVERIFY(!fs::exists(program_ + "Recovery/501"));
    }

    // A second editor on the same program folder does not start: asking about
    // the first one's live copies, it would have removed them.
    void aSecondEditorLeavesTheFirstOnesCopiesAlone() {
        StartOnSample();
        RenameRoom(1001, QStringLiteral("Колодец"));
        QVERIFY(fs::exists(program_ + "Recovery/10/10.wld"));
        prompts_->ExpectError(
            QStringLiteral("Из этой папки программы уже работает другой редактор (процесс %1). "
                           "Второй не откроется: он мешал бы первому хранить копии несохранённых "
                           "зон.")
                .arg(QCoreApplication::applicationPid()));
        {
            TMainForm second;
            QVERIFY(!second.Recovery->Held());
        }
        QVERIFY(fs::exists(program_ + "Recovery/10/10.wld"));
    }

    // What the folder holds besides copies stays; a copy its zone's files
    // overtook (updated after the crash) is asked about, not dropped.
    void onlyCopiesTheBuilderDeclinedAreRemoved() {
        MakeProgram(true, kChildSettings);
        const std::string copies = program_ + "Recovery/10/";
        fs::create_directories(copies);
        for (const char* file : kZone10Files) {
            const std::string copy = copies + fs::path(file).filename().string();
            fs::copy_file(Workspace(file), copy);
            fs::last_write_time(copy, fs::last_write_time(Workspace(file)) - std::chrono::hours(1));
        }
        WriteFile(program_ + "Recovery/11", "not a copy");
        prompts_->ExpectConfirm(
            QStringLiteral(
                "Прошлая работа редактора прервалась, не сохранив изменения зон:\n10  ") +
                kVillage +
                QStringLiteral("  (её файлы изменены позже копии: вернуть — значит заменить то, "
                               "что в них теперь)\nВернуть эти изменения?"),
            false);
        Start();
        QVERIFY(!fs::exists(copies));
        prompts_->ExpectConfirm(QStringLiteral("Вы хотите выйти?"), true);
        QVERIFY(form_->close());
        QCOMPARE(ReadFile(program_ + "Recovery/11"), std::string("not a copy"));
    }
};

// The editor the crash test kills: started on the folder, one room renamed
// and applied, then it waits to be killed.
static int EditAndWait(const std::string& program) {
    TFakePrompts prompts(program);
    TMainForm form;
    form.show();
    if (!QTest::qWaitForWindowExposed(&form))
        return 2;
    if (const int newZone = qEnvironmentVariableIntValue("VELMORA_NEW_ZONE")) {
        auto* zones = form.findChild<TZonePage*>();
        zones->Z_NewZoneEdit->setValue(newZone);
        zones->Z_NewBtn->click();
        zones->Z_NameEdit->setFocus();
        TypeText(zones->Z_NameEdit, kChildName);
    } else {
        form.PageControl1->setCurrentIndex(RoomPageIndex);
        TRecordPage& rooms = *form.RecordPage(RoomPageIndex);
        rooms.SelectRow(rooms.RowOf(1001));
        auto* room = form.findChild<TRoomPage*>();
        room->R_DescEdit->setFocus();
        room->R_DescEdit->selectAll();
        TypeText(room->R_DescEdit, kChildName);
    }
    form.ToolsForm->ApplyBtn->click();
    printf("ready\n");
    fflush(stdout);
    return QApplication::exec();
}

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    if (const QByteArray program = qgetenv("VELMORA_EDIT_AND_WAIT"); !program.isEmpty())
        return EditAndWait(program.toStdString());
    TUndoTest test;
    return QTest::qExec(&test, argc, argv);
}

#include "undo_test.moc"
