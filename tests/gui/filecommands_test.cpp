#include "codepage.h"
#include "configform.h"
#include "editorfixture.h"
#include "export.h"
#include "publishform.h"
#include "serverimport.h"
#include "modeltext.h"
#include "textcodec.h"
#include "world.h"

#include <QApplication>
#include <QComboBox>
#include <QLabel>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QSpinBox>
#include <QTreeWidget>
#include <algorithm>
#include <chrono>
#include <filesystem>
#include <map>

using namespace guitest;
namespace fs = std::filesystem;

namespace {

const std::array<const char*, 7> kZoneFiles = {"OBJ/10.obj", "MOB/10.mob", "SHP/10.shp",
                                               "TRG/10.trg", "WLD/10.wld", "WLD/10.map",
                                               "ZON/10.zon"};

// How many mobs, objects and removals the rooms of a zone hold.
int ContentsOf(const TWorld& world, int32_t zone) {
    int count = 0;
    for (const TRoom* room : world.Rooms.ZoneInListOrder(zone))
        count +=
            static_cast<int>(room->Mobs.size() + room->Objects.size() + room->DelObjects.size());
    return count;
}

std::string Joined(const TStringList& lines) {
    std::string bytes;
    for (const auto& line : lines)
        bytes += line + "\r\n";
    return bytes;
}

std::string Replaced(std::string text, const std::string& from, const std::string& to) {
    const size_t at = text.find(from);
    if (at != std::string::npos)
        text.replace(at, from.size(), to);
    return text;
}

} // namespace

class TFileCommandsTest : public TEditorFixture {
    Q_OBJECT

    std::string Shipped(const std::string& file) const {
        return ReadFile(std::string(VELMORA_PROGRAM_DIR) + "/Zones/" + file);
    }
    QString Path(const std::string& path) const { return QString::fromStdString(path); }
    std::string Elsewhere(const std::string& name) const {
        return dir_->path().toStdString() + "/" + name;
    }
    void SaveZone() {
        prompts_->ExpectConfirm(QStringLiteral("Сохранить всю зону?"), true);
        Action("N34")->trigger();
    }
    std::string ServerDir() const { return program_ + "LIB/world/"; }
    // The server's six lower-case folders, each index listing zone 10's file.
    void MakeServerFolders() {
        for (const auto& kind : kServerKinds)
            WriteFile(ServerDir() + kind.ServerFolder + "/index",
                      std::string("10") + kind.Extension + "\n$\n");
    }
    // Answers the change-list window with "Записать" or "Отмена", after `look`.
    static void AnswerChanges(bool write, std::function<void(TPublishForm&)> look = {}) {
        WhenModal([write, look](QWidget* window) {
            auto* form = qobject_cast<TPublishForm*>(window);
            QVERIFY2(form, "the change list did not open");
            if (look)
                look(*form);
            Click(write ? form->WriteBtn : form->CancelBtn);
        });
    }
    QString EndMessage(int written, int fresh, int unchanged, int notWritten) const {
        return EndMessageIn(ServerDir(), written, fresh, unchanged, notWritten);
    }
    static QString EndMessageIn(const std::string& folder, int written, int fresh, int unchanged,
                                int notWritten) {
        return QStringLiteral("Папка мира сервера: %1\nЗаписано файлов: %2 (новых: %3), без "
                              "изменений: %4, не записано: %5.")
            .arg(QString::fromStdString(folder))
            .arg(written)
            .arg(fresh)
            .arg(unchanged)
            .arg(notWritten);
    }
    // The export of zone 10, whose workspace files hold what memory holds,
    // confirmed in the change list; `end` is the end message.
    void Export(const QString& end, bool koi8 = true) {
        int lost = 0;
        for (const char* file : kZoneFiles)
            if (!std::string_view(file).ends_with(".map") && koi8) {
                int substituted = 0;
                ServerFileText(SplitTextLines(ReadFile(Workspace(file))), {}, &substituted);
                lost += substituted;
            }
        if (lost > 0)
            prompts_->ExpectInformation(
                QStringLiteral("Символов, которых нет в кодировке КОИ-8, заменено знаком «?»: %1")
                    .arg(lost));
        prompts_->ExpectInformation(end);
        AnswerChanges(true);
        Click(Zone().Z_SaveMUDBtn);
    }
    void SetExport(int coding, int lineEnd) {
        form_->ConfigForm->ComboBox1->setCurrentIndex(coding);
        form_->ConfigForm->ComboBox2->setCurrentIndex(lineEnd);
    }
    // A file of the server folder by its workspace name ("OBJ/10.obj").
    std::string Exported(const std::string& file) const {
        return ReadFile(ServerDir() + AsciiLower(file));
    }
    // Every file of the workspace with its bytes.
    std::map<std::string, std::string> WorkspaceBytes() const {
        std::map<std::string, std::string> files;
        for (const auto& entry : fs::recursive_directory_iterator(Workspace("")))
            if (entry.is_regular_file())
                files[entry.path().string()] = ReadFile(entry.path().string());
        return files;
    }

private slots:
    void cleanup() { Finish(); }

    void saveZoneWritesTheSevenFiles() {
        StartOn(true);
        SaveZone();
        for (const char* file : kZoneFiles)
            QVERIFY2(ReadFile(Workspace(file)) == Shipped(file), file);

        // An applied edit goes into the zone file exactly as composed, and
        // the zone page shows what was written.
        // The pending edit is stored through the change confirmation first.
        TypeZoneName(QStringLiteral("Ольховка"));
        prompts_->ExpectConfirm(QStringLiteral("Сохранить всю зону?"), true);
        prompts_->ExpectConfirm(QStringLiteral("Сохранить изменения?"), true);
        Click(form_->ToolsForm->SaveZoneBtn);
        TStringList lines;
        Zone().CurrentZone()->SaveToStrings(World(), lines);
        QCOMPARE(ReadFile(Workspace("ZON/10.zon")), Joined(lines));
        QVERIFY(ReadFile(Workspace("ZON/10.zon")).find(Utf8ToCp1251("\r\nОльховка~\r\n")) !=
                std::string::npos);
        QVERIFY(Zone().Z_SourceMemo->toPlainText().contains(QStringLiteral("\nОльховка~\n")));
        QVERIFY(!ApplyEnabled());

        prompts_->ExpectConfirm(QStringLiteral("Сохранить всю зону?"), false);
        Action("N34")->trigger();
    }

    // Ctrl+S saves the zone, as a desktop editor saves its document; the
    // page's own file command answers Ctrl+Shift+S.
    void ctrlSSavesTheZone() {
        StartOn(true);
        TypeZoneName(QStringLiteral("Ольховка"));
        prompts_->ExpectConfirm(QStringLiteral("Сохранить всю зону?"), true);
        prompts_->ExpectConfirm(QStringLiteral("Сохранить изменения?"), true);
        QApplication::setActiveWindow(form_.get());
        QTest::keyClick(form_.get(), Qt::Key_S, Qt::ControlModifier);
        QVERIFY(prompts_->ScriptDone());
        QVERIFY(ReadFile(Workspace("ZON/10.zon")).find(Utf8ToCp1251("\r\nОльховка~\r\n")) !=
                std::string::npos);

        prompts_->ExpectSaveFile(QString()); // cancelled
        QTest::keyClick(form_.get(), Qt::Key_S, Qt::ControlModifier | Qt::ShiftModifier);
    }

    // A record read in another form stays as read on a plain save, and the
    // zone page's command rewrites it in our form after its question.
    void normalizeRewritesTheZoneInOurFormAfterAQuestion() {
        MakeProgram(true, Settings(false, true, true));
        WriteFile(Workspace("SHP/10.shp"),
                  Replaced(ReadFile(Workspace("SHP/10.shp")), "\r\n1.30\r\n", "\r\n1.3\r\n"));
        const std::string asRead = ReadFile(Workspace("SHP/10.shp"));
        Start();
        SaveZone();
        QCOMPARE(ReadFile(Workspace("SHP/10.shp")), asRead);

        ClickTab(ZonePageIndex);
        const QString question = QStringLiteral(
            "Записать все файлы зоны 10 в формате редактора? Записи, прочитанные в других "
            "формах, будут переписаны; строки, которые редактор не разбирает, останутся на "
            "своих местах.");
        prompts_->ExpectConfirm(question, false);
        Click(Zone().Z_NormalizeBtn);
        QCOMPARE(ReadFile(Workspace("SHP/10.shp")), asRead);
        prompts_->ExpectConfirm(question, true);
        Click(Zone().Z_NormalizeBtn);
        QCOMPARE(ReadFile(Workspace("SHP/10.shp")), Shipped("SHP/10.shp"));
    }

    // A zone that could not be written whole is not reported as saved: one
    // box names every file not written and the system's reason.
    void failedZoneSaveSaysSoInOneBox() {
        StartOn(true);
        TypeZoneName(QStringLiteral("Ольховка"));
        form_->ApplyPage();
        fs::remove(Workspace("SHP/10.shp"));
        fs::create_directory(Workspace("SHP/10.shp")); // no file can be renamed over it
        fs::remove_all(Workspace("TRG"));
        WriteFile(Workspace("TRG"), "not a folder\r\n");
        prompts_->ExpectConfirm(QStringLiteral("Сохранить всю зону?"), true);
        prompts_->ExpectError(
            QStringLiteral("Не все файлы зоны удалось записать: зона сохранена не полностью.\n"
                           "Не могу сохранить магазины в файл %1: на этом месте папка\n"
                           "Не могу сохранить триггеры в файл %2: часть пути не является папкой")
                .arg(Path(Workspace("SHP/10.shp")), Path(Workspace("TRG/10.trg"))));
        Action("N34")->trigger();
        QVERIFY(ReadFile(Workspace("ZON/10.zon")).find(Utf8ToCp1251("Ольховка~")) !=
                std::string::npos); // the other files were still written
        QCOMPARE(Zone().Z_ListBox->item(0)->text(), QStringLiteral("10*  Ольховка"));
    }

    // A write-protected file is replaced only when the builder says so, the
    // export's too; "Нет" leaves it and writes the rest, "Отмена" writes nothing.
    void writeProtectedFilesAreReplacedOnlyWhenAsked() {
        MakeProgram(true, Settings(false, true, true));
        const fs::path rooms = Workspace("WLD/10.wld");
        const auto readOnly =
            fs::perms::owner_read | fs::perms::group_read | fs::perms::others_read;
        fs::permissions(rooms, readOnly);
        const auto old = fs::file_time_type::clock::now() - std::chrono::hours(24);
        fs::last_write_time(rooms, old);
        Start();
        TypeZoneName(QStringLiteral("Ольховка"));
        form_->ApplyPage();
        const QString question =
            QStringLiteral("Эти файлы защищены от записи:\n") + Path(rooms.string()) +
            QStringLiteral("\nЗаписать поверх них? «Нет» оставит их как есть, остальные файлы "
                           "будут записаны.");
        const auto zoneWritten = [this] {
            return ReadFile(Workspace("ZON/10.zon")).find(Utf8ToCp1251("\r\nОльховка~\r\n")) !=
                   std::string::npos;
        };

        prompts_->ExpectConfirm(QStringLiteral("Сохранить всю зону?"), true);
        prompts_->ExpectChoice(question, 2); // "Отмена"
        Action("N34")->trigger();
        QVERIFY(!zoneWritten());

        prompts_->ExpectConfirm(QStringLiteral("Сохранить всю зону?"), true);
        prompts_->ExpectChoice(question, 0); // "Нет"
        prompts_->ExpectError(
            QStringLiteral("Не все файлы зоны удалось записать: зона сохранена не полностью.\n"
                           "Не могу сохранить комнаты в файл %1: защищён от записи")
                .arg(Path(rooms.string())));
        Action("N34")->trigger();
        QVERIFY(zoneWritten());
        QCOMPARE(fs::last_write_time(rooms), old);
        QCOMPARE(Zone().Z_ListBox->item(0)->text(), QStringLiteral("10*  Ольховка"));

        prompts_->ExpectConfirm(QStringLiteral("Сохранить всю зону?"), true);
        prompts_->ExpectChoice(question, 1); // "Да"
        Action("N34")->trigger();
        QVERIFY(fs::last_write_time(rooms) != old);
        QCOMPARE(fs::status(rooms).permissions() & fs::perms::all, readOnly);
        QCOMPARE(Zone().Z_ListBox->item(0)->text(), QStringLiteral("10  Ольховка"));

        // The export's own files.
        MakeServerFolders();
        SetExport(1, 0);
        const std::string exported = ServerDir() + "zon/10.zon";
        WriteFile(exported, "the server's own\n");
        fs::permissions(exported, readOnly);
        AnswerChanges(true);
        prompts_->ExpectChoice(QStringLiteral("Эти файлы защищены от записи:\n") + Path(exported) +
                                   QStringLiteral("\nЗаписать поверх них? «Нет» оставит их как "
                                                  "есть, остальные файлы будут записаны."),
                               0);
        prompts_->ExpectError(EndMessage(5, 5, 0, 1) +
                              QStringLiteral("\nНе могу сохранить файл %1: защищён от записи")
                                  .arg(Path(exported)));
        Click(Zone().Z_SaveMUDBtn);
        QCOMPARE(Exported("ZON/10.zon"), std::string("the server's own\n"));
        QVERIFY(!Exported("WLD/10.wld").empty());
    }

    // A workspace file that links out of the workspace is not written
    // through: the save names it and the file it leads to stays as it was.
    void saveThroughALinkOutOfTheWorkspaceIsRefused() {
        MakeProgram(true, Settings(false, true, true));
        const std::string theirs = Elsewhere("theirs.wld");
        fs::rename(Workspace("WLD/10.wld"), theirs);
        fs::create_symlink(theirs, Workspace("WLD/10.wld"));
        const std::string before = ReadFile(theirs);
        Start();
        prompts_->ExpectConfirm(QStringLiteral("Сохранить всю зону?"), true);
        prompts_->ExpectError(
            QStringLiteral("Не все файлы зоны удалось записать: зона сохранена не полностью.\n"
                           "Не могу сохранить комнаты в файл ") +
            Path(Workspace("WLD/10.wld")) +
            QStringLiteral(": ссылка ведёт за пределы рабочей папки, в ") + Path(theirs));
        Action("N34")->trigger();
        QVERIFY(prompts_->ScriptDone());
        QCOMPARE(ReadFile(theirs), before);
        QVERIFY(fs::is_symlink(Workspace("WLD/10.wld")));
    }

    void loadZoneBringsInAnOutsideChange() {
        StartOn(true);
        const int contents = ContentsOf(World(), 10);
        QVERIFY(contents > 0);
        WriteFile(Workspace("WLD/10.wld"),
                  Replaced(ReadFile(Workspace("WLD/10.wld")), Utf8ToCp1251("Деревенская площадь~"),
                           Utf8ToCp1251("Главная площадь~")));
        prompts_->ExpectConfirm(QStringLiteral("Вы действительно хотите загрузить всю зону?"),
                                false);
        Action("N6")->trigger();
        QCOMPARE(World().Rooms.Find(1000)->Name, Utf8ToCp1251("Деревенская площадь"));

        prompts_->ExpectConfirm(QStringLiteral("Вы действительно хотите загрузить всю зону?"),
                                true);
        Action("N6")->trigger();
        QCOMPARE(World().Rooms.Find(1000)->Name, Utf8ToCp1251("Главная площадь"));
        QCOMPARE(Page(RoomPageIndex).IDComboBox->itemText(0),
                 QStringLiteral("1000  Главная площадь"));
        QCOMPARE(ContentsOf(World(), 10), contents);
        // Loading twice places nothing twice.
        prompts_->ExpectConfirm(QStringLiteral("Вы действительно хотите загрузить всю зону?"),
                                true);
        Action("N6")->trigger();
        QCOMPARE(ContentsOf(World(), 10), contents);
    }

    // The question about a zone's files changed outside the editor.
    static QString OutsideChangeQuestion(const std::string& path) {
        return QStringLiteral("После того как редактор прочитал эти файлы, их изменили вне "
                              "редактора:\n") +
               PathText(path) +
               QStringLiteral("\n«Записать поверх» заменит изменения, сделанные вне редактора, "
                              "тем, что в редакторе. «Прочитать заново» прочитает зону из файлов; "
                              "то, что было в редакторе, вернёт «Отменить».");
    }

    // A file someone changed outside the editor after it was read is written
    // over only when the builder chooses so: Enter writes nothing, and reading
    // the zone again keeps the editor's edits one undo away.
    void aFileChangedOutsideIsWrittenOverOnlyWhenChosen() {
        StartOn(true);
        TypeZoneName(QStringLiteral("Ольховка"));
        form_->ApplyPage();
        const std::string outside =
            Replaced(ReadFile(Workspace("WLD/10.wld")), Utf8ToCp1251("Деревенская площадь~"),
                     Utf8ToCp1251("Главная площадь~"));
        WriteFile(Workspace("WLD/10.wld"), outside);
        const std::string zoneFile = ReadFile(Workspace("ZON/10.zon"));
        const QString question = OutsideChangeQuestion(Workspace("WLD/10.wld"));
        prompts_->ExpectConfirm(QStringLiteral("Сохранить всю зону?"), true);
        prompts_->ExpectChoice(question, TFakePrompts::kEnter);
        Action("N34")->trigger();
        QCOMPARE(ReadFile(Workspace("WLD/10.wld")), outside);
        QCOMPARE(ReadFile(Workspace("ZON/10.zon")), zoneFile); // nothing of the zone was written

        prompts_->ExpectConfirm(QStringLiteral("Сохранить всю зону?"), true);
        prompts_->ExpectChoice(question, 0);
        Action("N34")->trigger();
        QCOMPARE(ReadFile(Workspace("WLD/10.wld")), Shipped("WLD/10.wld"));
        SaveZone(); // what the editor wrote itself is no outside change

        TypeZoneName(QStringLiteral("Другая"));
        form_->ApplyPage();
        WriteFile(Workspace("WLD/10.wld"), outside);
        prompts_->ExpectConfirm(QStringLiteral("Сохранить всю зону?"), true);
        prompts_->ExpectChoice(question, 1);
        Action("N34")->trigger();
        QCOMPARE(ReadFile(Workspace("WLD/10.wld")), outside);
        QCOMPARE(FromCp1251(World().Rooms.Find(1000)->Name), QStringLiteral("Главная площадь"));
        QCOMPARE(Zone().Z_NameEdit->text(), QStringLiteral("Ольховка"));
        const auto marked = [this] {
            return Zone().Z_ListBox->item(0)->text().contains(QLatin1Char('*'));
        };
        QVERIFY(!marked()); // the zone is what its files hold
        Action("NUndo")->trigger();
        QCOMPARE(Zone().Z_NameEdit->text(), QStringLiteral("Другая"));
        QVERIFY(marked());
        SaveZone(); // what the editor wrote itself is no outside change
    }

    // Restoring the room page reads the rooms and the zone file only: an
    // outside change of the objects is still asked about.
    void restoringOneFileKeepsTheOthersOutsideChangesAsked() {
        StartOn(true);
        const std::string outside = ReadFile(Workspace("OBJ/10.obj")) + "\r\n";
        WriteFile(Workspace("OBJ/10.obj"), outside);
        ClickTab(RoomPageIndex);
        prompts_->ExpectConfirm(QStringLiteral("Восстановить значения из файла?"), true);
        Action("N4")->trigger();
        prompts_->ExpectConfirm(QStringLiteral("Сохранить всю зону?"), true);
        prompts_->ExpectChoice(OutsideChangeQuestion(Workspace("OBJ/10.obj")), 2);
        Action("N34")->trigger();
        QCOMPARE(ReadFile(Workspace("OBJ/10.obj")), outside);
    }

    void restoreOnEachPage() {
        StartOn(true, /*confirm=*/false);
        const int contents = ContentsOf(World(), 10);

        // Zone page: the applied name goes back to the file's, on the page too.
        TypeZoneName(QStringLiteral("Другая"));
        Click(form_->ToolsForm->ApplyBtn);
        prompts_->ExpectConfirm(QStringLiteral("Восстановить значения из файла?"), false);
        Action("N4")->trigger();
        QCOMPARE(Zone().CurrentZone()->ZoneName, Utf8ToCp1251("Другая"));
        prompts_->ExpectConfirm(QStringLiteral("Восстановить значения из файла?"), true);
        Action("N4")->trigger();
        QCOMPARE(Zone().CurrentZone()->ZoneName, Utf8ToCp1251("Деревня Ольховка"));
        QCOMPARE(Zone().Z_NameEdit->text(), QStringLiteral("Деревня Ольховка"));
        QCOMPARE(ContentsOf(World(), 10), contents);

        // Each record page reads its kind's file again.
        // A field of the page's record: what it holds, and a way to change it.
        struct TField {
            std::function<std::string()> Get;
            std::function<void(std::string_view)> Set;
        };
        const auto fieldOf = [](auto field) {
            return TField{[field] { return std::string(std::string_view(field())); },
                          [field](std::string_view text) { field() = text; }};
        };
        const std::vector<std::pair<int, TField>> fields = {
            {RoomPageIndex, fieldOf([this]() -> auto& { return World().Rooms.Find(1001)->Name; })},
            {ObjPageIndex, fieldOf([this]() -> auto& { return World().Objs.Find(1000)->Imen; })},
            {MobPageIndex, fieldOf([this]() -> auto& { return World().Mobs.Find(1000)->Imen; })},
            {ShopPageIndex, fieldOf([this]() -> auto& {
                 return World().Shops.Find(World().Shops.ZoneRecords(10).front()->VNum)->BitVector;
             })},
            {TrigPageIndex, fieldOf([this]() -> auto& {
                 return World().Triggers.Find(World().Triggers.ZoneRecords(10).front()->VNum)->Name;
             })},
        };
        for (const auto& [page, field] : fields) {
            ClickTab(page);
            QCOMPARE(form_->CurrentPage(), page);
            const std::string original = field.Get();
            field.Set("changed");
            prompts_->ExpectConfirm(QStringLiteral("Восстановить значения из файла?"), true);
            Action("N4")->trigger();
            QCOMPARE(field.Get(), original);
            QCOMPARE(ContentsOf(World(), 10), contents);
            QVERIFY(Action("N18")->isEnabled());
        }
    }

    void openReadsAnotherFileWithoutDoublingContents() {
        StartOn(true);
        const int contents = ContentsOf(World(), 10);
        const std::string zoneFile = Elsewhere("other.zon");
        WriteFile(zoneFile, Replaced(ReadFile(Workspace("ZON/10.zon")),
                                     Utf8ToCp1251("Деревня Ольховка~"), Utf8ToCp1251("Копия~")));
        prompts_->ExpectOpenFile(Path(zoneFile));
        Action("N3")->trigger();
        const TPromptCall& call = prompts_->Calls().back();
        QCOMPARE(call.Folder, Path(Workspace("ZON")));
        QCOMPARE(call.FileName, QStringLiteral("10.zon"));
        QCOMPARE(call.Filters.size(), qsizetype(2));
        QCOMPARE(Zone().CurrentZone()->ZoneName, Utf8ToCp1251("Копия"));
        QCOMPARE(Zone().CurrentZone()->ZoneFileName, Workspace("ZON/10.zon"));
        QCOMPARE(ContentsOf(World(), 10), contents);

        // Another zone's file is refused, naming both numbers: nothing is read.
        const int contents11 = ContentsOf(World(), 11);
        prompts_->ExpectOpenFile(Path(Workspace("ZON/11.zon")));
        prompts_->ExpectError(QStringLiteral("Файл ") + Path(Workspace("ZON/11.zon")) +
                              QStringLiteral(" описывает зону 11, а текущая зона — 10. Чтобы "
                                             "открыть его, выберите зону 11."));
        Action("N3")->trigger();
        QCOMPARE(Zone().CurrentZone()->ZoneNumber, 10);
        QCOMPARE(Zone().CurrentZone()->ZoneName, Utf8ToCp1251("Копия"));
        QCOMPARE(Zone().Z_ListBox->item(0)->text(), QStringLiteral("10*  Копия"));
        QCOMPARE(ContentsOf(World(), 10), contents);
        QCOMPARE(ContentsOf(World(), 11), contents11);

        // A room file read alone keeps the contents the rooms have.
        ClickTab(RoomPageIndex);
        const std::string roomFile = Elsewhere("other.wld");
        WriteFile(roomFile,
                  Replaced(ReadFile(Workspace("WLD/10.wld")), Utf8ToCp1251("Деревенская площадь~"),
                           Utf8ToCp1251("Площадь~")));
        fs::copy(Workspace("WLD/10.map"), Elsewhere("other.map"));
        prompts_->ExpectOpenFile(Path(roomFile));
        Action("N3")->trigger();
        QCOMPARE(World().Rooms.Find(1000)->Name, Utf8ToCp1251("Площадь"));
        QCOMPARE(ContentsOf(World(), 10), contents);

        // Cancel reads nothing.
        prompts_->ExpectOpenFile(QString());
        Action("N3")->trigger();
        QCOMPARE(World().Rooms.Find(1000)->Name, Utf8ToCp1251("Площадь"));
    }

    void saveToAnotherNameKeepsTheZonesFileNames() {
        StartOn(true);
        ClickTab(RoomPageIndex);
        const std::string copy = Elsewhere("copy.wld");
        prompts_->ExpectSaveFile(Path(copy));
        Action("N5")->trigger();
        QCOMPARE(prompts_->Calls().back().FileName, QStringLiteral("10.wld"));
        QVERIFY(ReadFile(copy) == Shipped("WLD/10.wld"));
        QVERIFY(ReadFile(Elsewhere("copy.map")) == Shipped("WLD/10.map"));
        QCOMPARE(Zone().CurrentZone()->RoomFileName, Workspace("WLD/10.wld"));

        Action("Nr0")->trigger();
        const std::string zoneCopy = Elsewhere("copy.zon");
        prompts_->ExpectSaveFile(Path(zoneCopy));
        Action("N5")->trigger();
        QVERIFY(ReadFile(zoneCopy) == Shipped("ZON/10.zon"));
        QCOMPARE(Zone().CurrentZone()->ZoneFileName, Workspace("ZON/10.zon"));
    }

    void exportInEachCodePageAndLineEnd() {
        StartOn(true);
        TypeZoneName(QStringLiteral("ЁёАя"));
        Click(form_->ToolsForm->ApplyBtn);
        SaveZone();
        MakeServerFolders();
        const std::array<const char*, 6> files = {"OBJ/10.obj", "MOB/10.mob", "SHP/10.shp",
                                                  "TRG/10.trg", "WLD/10.wld", "ZON/10.zon"};

        // KOI8-R with LF, the shipped settings.
        Export(EndMessage(6, 6, 0, 0));
        QVERIFY(Exported("ZON/10.zon").find("\n\xB3\xA3\xE1\xD1~\n") != std::string::npos);
        for (const char* file : files) {
            const std::string bytes = Exported(file);
            QVERIFY2(!bytes.empty() && bytes.find('\r') == std::string::npos, file);
            QCOMPARE(bytes, ServerFileText(SplitTextLines(ReadFile(Workspace(file))),
                                           {TServerCodePage::Koi8r, TServerLineEnd::Lf}));
        }
        QVERIFY(!fs::exists(ServerDir() + "wld/10.map"));

        // KOI8-R with CR LF.
        SetExport(0, 1);
        Export(EndMessage(6, 0, 0, 0));
        QVERIFY(Exported("ZON/10.zon").find("\r\n\xB3\xA3\xE1\xD1~\r\n") != std::string::npos);

        // Windows-1251 with LF: the workspace bytes without their CRs.
        SetExport(1, 0);
        Export(EndMessage(6, 0, 0, 0), false);
        for (const char* file : files) {
            std::string expected = ReadFile(Workspace(file));
            std::erase(expected, '\r');
            QVERIFY2(Exported(file) == expected, file);
        }

        // Windows-1251 with CR LF: the workspace bytes themselves.
        SetExport(1, 1);
        Export(EndMessage(6, 0, 0, 0), false);
        for (const char* file : files)
            QVERIFY2(Exported(file) == ReadFile(Workspace(file)), file);
        // The indexes listed every file already.
        for (const auto& kind : kServerKinds)
            QCOMPARE(ReadFile(ServerDir() + kind.ServerFolder + "/index"),
                     std::string("10") + kind.Extension + "\n$\n");
    }

    // A server folder without the kind folders: one question; "Нет" writes
    // nothing and no other box follows, "Да" makes the server's lower-case
    // layout, each folder with its index.
    void missingServerFoldersAreAskedForOnce() {
        StartOn(true);
        SetExport(1, 0); // Windows-1251: no letter to substitute
        const QString question =
            QStringLiteral("В папке мира сервера %1 нет папок zon, wld, obj, mob, shp, trg. "
                           "Создать их (каждую со своим файлом index)?")
                .arg(Path(ServerDir()));
        prompts_->ExpectConfirm(question, false);
        Click(Zone().Z_SaveMUDBtn);
        QVERIFY(prompts_->ScriptDone());
        QVERIFY(!fs::exists(ServerDir()));

        prompts_->ExpectConfirm(question, true);
        Export(EndMessage(6, 6, 0, 0), false);
        QCOMPARE(ReadFile(ServerDir() + "wld/index"), std::string("10.wld\n$\n"));
        QVERIFY(!Exported("WLD/10.wld").empty());
        std::vector<std::string> folders;
        for (const auto& entry : fs::directory_iterator(ServerDir()))
            folders.push_back(entry.path().filename().string());
        std::sort(folders.begin(), folders.end());
        QCOMPARE(folders, (std::vector<std::string>{"mob", "obj", "shp", "trg", "wld", "zon"}));
    }

    // The change list shows each file and the records changed in it;
    // "Отмена" writes nothing, "Записать" writes only what changed.
    void changeListIsConfirmedOrCancelled() {
        StartOn(true);
        SetExport(1, 0);
        MakeServerFolders();
        Export(EndMessage(6, 6, 0, 0), false);
        TypeZoneName(QStringLiteral("Ольховка"));
        Click(form_->ToolsForm->ApplyBtn);
        const std::string before = Exported("ZON/10.zon");
        const auto look = [](TPublishForm& changes) {
            QCOMPARE(changes.ChangeTree->topLevelItemCount(), 6);
            QTreeWidgetItem* zone = changes.ChangeTree->topLevelItem(0);
            QCOMPARE(zone->text(0), QStringLiteral("zon/10.zon"));
            QCOMPARE(zone->text(1), QStringLiteral("Изменён"));
            QCOMPARE(zone->childCount(), 1);
            QCOMPARE(zone->child(0)->text(0), QStringLiteral("10 Ольховка"));
            QCOMPARE(zone->child(0)->text(1), QStringLiteral("запись изменена"));
            QCOMPARE(changes.ChangeTree->topLevelItem(1)->text(1), QStringLiteral("Без изменений"));
            QCOMPARE(changes.SummaryLabel->text(),
                     QStringLiteral("Новых файлов: 0, изменённых: 1, без изменений: 5, не будут "
                                    "записаны: 0."));
            if (ScreenshotsWanted())
                QVERIFY(SaveShot(changes.grab(), QStringLiteral("publishform.png")));
        };
        AnswerChanges(false, look);
        Click(Zone().Z_SaveMUDBtn);
        QVERIFY(prompts_->ScriptDone());
        QCOMPARE(Exported("ZON/10.zon"), before);

        prompts_->ExpectInformation(EndMessage(1, 0, 5, 0));
        AnswerChanges(true, look);
        Click(Zone().Z_SaveMUDBtn);
        QVERIFY(Exported("ZON/10.zon").find(Utf8ToCp1251("\nОльховка~\n")) != std::string::npos);
    }

    // An absolute export path is the folder itself (not below the program
    // folder); its kind folders are used whatever their case, and a folder
    // without an index gets one only when the builder agrees.
    void absoluteExportPathAndFoldersOfAnyCase() {
        StartOn(true);
        SetExport(1, 1); // the workspace's own bytes
        const std::string server = Elsewhere("srv/world/");
        for (const char* folder : {"ZON", "WLD", "OBJ", "MOB", "SHP", "TRG"})
            fs::create_directories(server + folder);
        form_->ConfigForm->Edit1->setText(Path(server));
        prompts_->ExpectConfirm(
            QStringLiteral("В папках %1ZON, %1WLD, %1OBJ, %1MOB, %1SHP, %1TRG нет файла index: "
                           "сервер читает только файлы, которые он перечисляет. Создать index с "
                           "файлами этих папок?")
                .arg(Path(server)),
            false);
        prompts_->ExpectInformation(EndMessageIn(server, 6, 6, 0, 0));
        AnswerChanges(true);
        Click(Zone().Z_SaveMUDBtn);
        QCOMPARE(ReadFile(server + "ZON/10.zon"), ReadFile(Workspace("ZON/10.zon")));
        QVERIFY(!fs::exists(server + "zon"));
        QVERIFY(!fs::exists(server + "ZON/index"));
        QVERIFY(!fs::exists(program_ + server));
    }

    // An export folder set to the workspace, however spelled, would put the
    // server's copies over the editor's own files: refused, nothing written.
    void exportIntoTheWorkspaceIsRefused() {
        StartOn(true);
        const auto before = WorkspaceBytes();
        for (const QString& path : {QStringLiteral("Zones/"), QStringLiteral("LIB/../Zones"),
                                    QStringLiteral("Zones/ZON/")}) {
            form_->ConfigForm->Edit1->setText(path);
            prompts_->ExpectError(
                QStringLiteral("Папка экспорта %1 — рабочая папка редактора или папка внутри "
                               "неё: экспорт заменил бы файлы зон их копиями для сервера. Ничего "
                               "не записано; укажите в настройках другую папку.")
                    .arg(Path(program_) + path));
            Click(Zone().Z_SaveMUDBtn);
            QVERIFY(prompts_->ScriptDone());
        }
        QVERIFY(WorkspaceBytes() == before);
    }

    void newZoneInAnEmptyWorkspaceIsFoundAgain() {
        StartOn(false);
        Zone().Z_NewZoneEdit->setValue(12);
        Click(Zone().Z_NewBtn);
        TypeZoneName(QStringLiteral("Новые земли"));
        prompts_->ExpectConfirm(QStringLiteral("Сохранить всю зону?"), true);
        prompts_->ExpectConfirm(QStringLiteral("Сохранить изменения?"), true);
        Action("N34")->trigger();
        for (const char* file : {"ZON/12.zon", "WLD/12.wld", "WLD/12.map", "OBJ/12.obj",
                                 "MOB/12.mob", "SHP/12.shp", "TRG/12.trg"})
            QVERIFY2(fs::exists(Workspace(file)), file);

        Stop();
        Start();
        QCOMPARE(Zone().ZoneCount(), 1);
        QCOMPARE(Zone().Z_ListBox->item(0)->text(), QStringLiteral("12  Новые земли"));
        QCOMPARE(Zone().Z_ZoneEdit->value(), 12);
    }

    void commandsNeedAZone() {
        StartOn(false);
        prompts_->ExpectError(QStringLiteral("Сначала выберите зону"));
        Action("N6")->trigger();
        prompts_->ExpectError(QStringLiteral("Сначала выберите зону"));
        Action("N34")->trigger();
        prompts_->ExpectError(QStringLiteral("Выберите сначала зону или создайте новую"));
        Click(Zone().Z_SaveMUDBtn);
        prompts_->ExpectConfirm(QStringLiteral("Восстановить значения из файла?"), true);
        prompts_->ExpectError(QStringLiteral("Выберите сначала зону или создайте новую"));
        Action("N4")->trigger();
        prompts_->ExpectOpenFile(Path(Elsewhere("none.zon")));
        prompts_->ExpectError(QStringLiteral("Выберите сначала зону или создайте новую"));
        Action("N3")->trigger();
        QVERIFY(!Action("N5")->isEnabled());
        // "Новый" on the zone page makes a zone.
        Zone().Z_NewZoneEdit->setValue(7);
        Action("N2")->trigger();
        QCOMPARE(Zone().ZoneCount(), 1);
    }
};

QTEST_MAIN(TFileCommandsTest)
#include "filecommands_test.moc"
