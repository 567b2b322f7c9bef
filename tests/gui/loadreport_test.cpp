// The import from a server's world folder ("Файлы" → "Импорт с сервера...")
// and the report window that gathers what the start-up could not load.

#include "codepage.h"
#include "editorfixture.h"
#include "maplayout.h"
#include "reportform.h"
#include "roompage.h"
#include "serverimport.h"
#include "textcodec.h"
#include "toolsform.h"
#include "world.h"

#include <QClipboard>
#include <QComboBox>
#include <QGuiApplication>
#include <QLineEdit>
#include <QMenu>
#include <QProgressDialog>
#include <QPushButton>
#include <QTimer>
#include <chrono>
#include <filesystem>

using namespace guitest;
namespace fs = std::filesystem;

namespace {

const QString kReload = QStringLiteral(
    "Импорт перечитает рабочую папку: несохранённые изменения зон будут потеряны. Продолжить?");

std::string W(const std::string& utf8) {
    return Utf8ToCp1251(utf8);
}

std::string Koi(const std::string& utf8) {
    return Cp1251ToKoi8r(Utf8ToCp1251(utf8));
}

QStringList ZoneEntries(QListWidget* list) {
    QStringList texts;
    for (int row = 0; row < list->count(); ++row)
        texts << list->item(row)->text();
    return texts;
}

// Presses Cancel of the import's progress dialog as soon as it is up.
void CancelProgressWhenShown(QWidget* owner) {
    QTimer::singleShot(0, owner, [owner] {
        auto* progress = owner->findChild<QProgressDialog*>(QStringLiteral("ImportProgress"));
        if (!progress || !progress->isVisible())
            return CancelProgressWhenShown(owner);
        QTest::mouseClick(progress->findChild<QPushButton*>(), Qt::LeftButton);
    });
}

} // namespace

class TLoadReportTest : public TEditorFixture {
    Q_OBJECT

    // A server world folder with zone 10 (the sample workspace has one) and
    // zone 30, in KOI8-R with LF line ends, without index files.
    QString MakeServer() {
        const std::string server = dir_->path().toStdString() + "/server/";
        WriteFile(server + "zon/10.zon", Koi("#10\nСерверная~\n1099 10 2\nS\n$\n"));
        WriteFile(server + "zon/30.zon", Koi("#30\nБолото~\n3099 10 2\nS\n$\n"));
        WriteFile(server + "wld/30.wld", Koi("#3000\nТопь~\nВязко.\n~\n30 0 1\nS\n$\n"));
        return QString::fromStdString(server);
    }
    TReportForm* Report() { return form_->findChild<TReportForm*>(); }

private slots:
    void cleanup() { Finish(); }

    // A builder's real world: imported, it opens whole without a report, and
    // one room renamed and the zone saved changes that room's lines only.
    void realWorldOpensWholeAndAnEditedRoomChangesOnlyItsLines() {
        const fs::path server = fs::path(VELMORA_REALWORLD) / "world";
        if (!fs::is_directory(server))
            QSKIP("no real server world beside the project (the sample is not here)");
        MakeProgram(false, Settings(false, false, true));
        const TServerWorld world = ListServerWorld(server.string());
        QVERIFY(ImportServerWorld(world, Workspace(""), TImportOptions{}).Succeeded());
        Start();
        QVERIFY(!Report() || !Report()->isVisible());
        QCOMPARE(Zone().ZoneCount(), static_cast<int>(world.Zones.size()));

        const TZone& zone = *Zone().CurrentZone();
        std::map<std::string, std::string> before;
        for (const std::string* file : {&zone.ZoneFileName, &zone.ObjFileName, &zone.MobFileName,
                                        &zone.ShopFileName, &zone.TrigFileName})
            before[*file] = ReadFile(*file);
        const std::string roomFile = zone.RoomFileName;
        const std::string roomBytes = ReadFile(roomFile);
        const TStringList rooms = SplitTextLines(roomBytes);
        ClickTab(RoomPageIndex);
        auto& room = *form_->findChild<TRoomPage*>();
        QVERIFY(!room.R_DescEdit->text().isEmpty());
        QVERIFY(SaveShot(*form_, QStringLiteral("realworld-room.png")));
        const int32_t vnum =
            Page(RoomPageIndex).IDComboBox->currentText().section(QLatin1Char(' '), 0, 0).toInt();
        room.R_DescEdit->setFocus();
        room.R_DescEdit->selectAll();
        TypeText(room.R_DescEdit, QStringLiteral("Переименованная"));
        Click(form_->ToolsForm->ApplyBtn);
        prompts_->ExpectConfirm(QStringLiteral("Сохранить всю зону?"), true);
        Action("N34")->trigger();

        // The zone's other files are as they were; a kind the zone had no file
        // of gets one without records.
        for (const auto& [file, bytes] : before)
            QVERIFY2(bytes.empty() ? ReadFile(file).find('#') == std::string::npos
                                   : ReadFile(file) == bytes,
                     file.c_str());
        const TStringList after = SplitTextLines(ReadFile(roomFile));
        QCOMPARE(after.size(), rooms.size());
        // The lines that differ lie inside the room's own record.
        const auto header = std::find(rooms.begin(), rooms.end(), "#" + std::to_string(vnum));
        QVERIFY(header != rooms.end());
        const auto next = std::find_if(header + 1, rooms.end(), [](const std::string& line) {
            return line.starts_with('#') || line.starts_with('$');
        });
        for (size_t i = 0; i < rooms.size(); ++i)
            if (rooms[i] != after[i])
                QVERIFY2(i > size_t(header - rooms.begin()) && i < size_t(next - rooms.begin()),
                         rooms[i].c_str());
        QCOMPARE(FromCp1251(after[size_t(header - rooms.begin()) + 1]),
                 QStringLiteral("Переименованная~"));
        // Byte for byte before the room and after it: every line there with
        // the end it had in the server's file.
        const std::string saved = ReadFile(roomFile);
        // Where a line begins: the LF before it in the bytes after an LF.
        const std::string afterLf = "\n" + roomBytes;
        const size_t from = afterLf.find("\n" + *header + "\n");
        const size_t to =
            next == rooms.end() ? std::string::npos : afterLf.find("\n" + *next, from + 1);
        QVERIFY(from != std::string::npos && to != std::string::npos);
        QVERIFY(saved.starts_with(roomBytes.substr(0, from)));
        QVERIFY(saved.ends_with(roomBytes.substr(to)));
    }

    void importFromTheMenuAsksBeforeOverwritingAndShowsTheZones() {
        StartOn(true);
        auto* files = form_->findChild<QMenu*>(QStringLiteral("N1"));
        QVERIFY(files->actions().contains(Action("NImport")));
        const QString server = MakeServer();
        const std::string sampleZone = ReadFile(Workspace("ZON/10.zon"));

        // The zone already there is kept: "Нет" to the overwrite question.
        prompts_->ExpectFolder(server);
        prompts_->ExpectConfirm(kReload, true);
        prompts_->ExpectConfirm(
            QStringLiteral("В рабочей папке уже есть зоны: 10.\nПерезаписать их?"), false);
        Action("NImport")->trigger();
        QVERIFY(prompts_->ScriptDone());
        QCOMPARE(ZoneEntries(Zone().Z_ListBox),
                 (QStringList{QStringLiteral("10  Деревня Ольховка"),
                              QStringLiteral("11  Ольховый лес"), QStringLiteral("30  Болото")}));
        QCOMPARE(ReadFile(Workspace("ZON/10.zon")), sampleZone);
        QCOMPARE(ReadFile(Workspace("WLD/30.wld")), W("#3000\nТопь~\nВязко.\n~\n30 0 1\nS\n$\n"));
        // The imported room is laid out on the map.
        QVERIFY(World().Rooms.Find(3000) && IsOnGrid(*World().Rooms.Find(3000)));
        QVERIFY(Report() && Report()->isVisible());
        const QString text = Report()->Text();
        QVERIFY2(text.contains(QStringLiteral("Импортировано зон: 1, файлов: 3")),
                 qPrintable(text));
        QVERIFY(text.contains(QStringLiteral("Комнат разложено на карте по выходам: 1 из 1")));
        QVERIFY(text.contains(QStringLiteral("Уже есть в рабочей папке, не перезаписаны: 10")));
        QVERIFY(text.contains(QStringLiteral("(заменены на \"?\"): 0")));
        QVERIFY(!text.contains(QStringLiteral("Ошибки")));

        // "Да" replaces it.
        prompts_->ExpectFolder(server);
        prompts_->ExpectConfirm(kReload, true);
        prompts_->ExpectConfirm(
            QStringLiteral("В рабочей папке уже есть зоны: 10, 30.\nПерезаписать их?"), true);
        Action("NImport")->trigger();
        QVERIFY(prompts_->ScriptDone());
        QCOMPARE(ReadFile(Workspace("ZON/10.zon")), W("#10\nСерверная~\n1099 10 2\nS\n$\n"));
        QVERIFY(ZoneEntries(Zone().Z_ListBox).contains(QStringLiteral("10  Серверная")));
    }

    void cancelledImportLeavesTheWorkspaceAsItWas() {
        StartOn(false);
        const QString server = MakeServer();
        prompts_->ExpectFolder(server);
        prompts_->ExpectInformation(QStringLiteral("Импорт отменён, рабочая папка не изменена."));
        CancelProgressWhenShown(form_.get());
        Action("NImport")->trigger();
        QVERIFY(prompts_->ScriptDone());
        QVERIFY(fs::is_empty(Workspace("")));
        QCOMPARE(Zone().ZoneCount(), 0);
        // Nothing is left beside the workspace either.
        for (const auto& entry : fs::directory_iterator(program_))
            QVERIFY2(!entry.path().filename().string().starts_with(".Zones"), entry.path().c_str());
    }

    void startupGathersItsFailuresAndNotesIntoOneWindow() {
        MakeProgram(true, Settings(false, true, true));
        // A zone file with an empty command line, and a room file without layout.
        WriteFile(Workspace("ZON/12.zon"), "#12\r\nBroken~\r\n1299 10 2\r\n\r\nS\r\n$\r\n");
        WriteFile(Workspace("WLD/13.wld"), "#1300\r\nHall~\r\n~\r\n13 0 1\r\nS\r\n$\r\n");
        Start(); // no error box: the fake fails the test on any
        QVERIFY(Report() && Report()->isVisible());
        const QString text = Report()->Text();
        const QString zoneFailure = QStringLiteral("Не могу загрузить зону\nФайл: ") +
                                    QString::fromStdString(Workspace("ZON/12.zon")) +
                                    QStringLiteral("\n(Ошибка в строке 4)");
        const QString note = QStringLiteral("Комнаты не расставлены на карте (нет файла карты ") +
                             QString::fromStdString(Workspace("WLD/13.map")) +
                             QStringLiteral(")\nФайл: ") +
                             QString::fromStdString(Workspace("WLD/13.wld"));
        QVERIFY2(text.contains(QStringLiteral("Ошибки (1):\n\n") + zoneFailure), qPrintable(text));
        QVERIFY2(text.contains(QStringLiteral("Заметки (1):\n\n") + note), qPrintable(text));
        // The zone that failed is still there, with what was read.
        QVERIFY(ZoneEntries(Zone().Z_ListBox).contains(QStringLiteral("12  Broken")));
        QGuiApplication::clipboard()->clear();
        QTest::mouseClick(Report()->CopyBtn, Qt::LeftButton);
        QCOMPARE(QGuiApplication::clipboard()->text(), text);
        QTest::mouseClick(Report()->CloseBtn, Qt::LeftButton);
        QVERIFY(!Report()->isVisible());
    }

    // What cannot be read at all is in the report: a zone file that is a
    // folder (its zone stays listed, marked), a kind folder that cannot be
    // listed, and a workspace that is no folder.
    void unreadableFilesAndFoldersAreReported() {
        MakeProgram(true, Settings(false, true, true));
        fs::create_directories(Workspace("ZON/12.zon"));
        fs::remove_all(Workspace("OBJ"));
        fs::create_symlink("OBJ", Workspace("OBJ")); // a loop of links
        Start();
        QVERIFY(Report() && Report()->isVisible());
        QString text = Report()->Text();
        const QString zoneFailure = QStringLiteral("Не могу загрузить зону\nФайл: ") +
                                    QString::fromStdString(Workspace("ZON/12.zon")) +
                                    QStringLiteral("\n(Не смог открыть файл)");
        QVERIFY2(text.contains(zoneFailure), qPrintable(text));
        QVERIFY2(text.contains(QStringLiteral("Не могу прочитать папку ") +
                               QString::fromStdString(Workspace("OBJ"))),
                 qPrintable(text));
        QCOMPARE(ZoneEntries(Zone().Z_ListBox),
                 (QStringList{QStringLiteral("10  Деревня Ольховка"),
                              QStringLiteral("11  Ольховый лес"), QStringLiteral("12  ")}));
        const QListWidgetItem* failed = Zone().Z_ListBox->item(2);
        QCOMPARE(failed->toolTip(), zoneFailure);
        QVERIFY(failed->foreground().color() != Zone().Z_ListBox->item(0)->foreground().color());

        Stop();
        fs::remove_all(Workspace(""));
        WriteFile(program_ + "Zones", "not a folder");
        Start();
        QVERIFY(Report() && Report()->isVisible());
        text = Report()->Text();
        QVERIFY2(text.contains(QStringLiteral("Не могу прочитать папку ") +
                               QString::fromStdString(Workspace(""))),
                 qPrintable(text));
        QCOMPARE(Zone().ZoneCount(), 0);
    }

    // A temporary file of a save killed long ago goes at the start, named
    // among the notes; one written just now (another editor) stays.
    void leftoversOfAKilledSaveGoAtTheStart() {
        MakeProgram(true, Settings(false, true, true));
        const std::string stale = Workspace("WLD/.10.wld.Ab3dEf");
        const std::string fresh = Workspace("WLD/.10.wld.Zz9Yy8");
        WriteFile(stale, "half a file");
        WriteFile(fresh, "being written");
        fs::last_write_time(stale, fs::file_time_type::clock::now() - std::chrono::hours(2));
        Start();
        QVERIFY(!fs::exists(stale));
        QVERIFY(fs::exists(fresh));
        QVERIFY(Report() && Report()->isVisible());
        QVERIFY2(Report()->Text().contains(QStringLiteral("Удалён остаток прерванной записи: ") +
                                           QString::fromStdString(stale)),
                 qPrintable(Report()->Text()));
    }

    void missingBasesIsReportedOnceAndTheEditorGoesOn() {
        MakeProgram(true, Settings(false, true, true));
        fs::remove_all(program_ + "Bases");
        Start();
        QVERIFY(Report() && Report()->isVisible());
        const QString text = Report()->Text();
        const QString spells = QStringLiteral("Не могу открыть файл ") +
                               QString::fromStdString(program_) + QStringLiteral("Bases/Spells");
        QCOMPARE(text.count(spells + QLatin1Char('\n')), 1);
        QVERIFY(text.contains(QStringLiteral("Bases/Template_Obj")));
        QCOMPARE(Zone().ZoneCount(), 2); // the workspace is read all the same
    }
};

QTEST_MAIN(TLoadReportTest)
#include "loadreport_test.moc"
