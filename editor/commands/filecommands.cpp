#include "filecommands.h"

#include "configform.h"
#include "errorreporter.h"
#include "export.h"
#include "filekinds.h"
#include "editorcontext.h"
#include "maplayout.h"
#include "modeltext.h"
#include "prompts.h"
#include "publish.h"
#include "publishform.h"
#include "recordpage.h"
#include "recovery.h"
#include "textcodec.h"
#include "toolsform.h"
#include "workspacescan.h"
#include "worlddocument.h"
#include "world.h"
#include "zonecontents.h"
#include "zonepage.h"
#include "zonesave.h"
#include "zonestate.h"

#include <QAction>
#include <QComboBox>
#include <QPlainTextEdit>
#include <QPushButton>
#include <filesystem>
#include <optional>
#include <system_error>

namespace {

const QString kNeedZone = QStringLiteral("Выберите сначала зону или создайте новую");
const QString kSelectZone = QStringLiteral("Сначала выберите зону");
const QString kZoneNotSaved =
    QStringLiteral("Не все файлы зоны удалось записать: зона сохранена не полностью.");

// Sets the file command flag for as long as the command runs.
class TFileCommandScope {
public:
    explicit TFileCommandScope(TEditorContext& main) : main_(main) { main_.FileCommandRunning = true; }
    ~TFileCommandScope() { main_.FileCommandRunning = false; }
    TFileCommandScope(const TFileCommandScope&) = delete;
    TFileCommandScope& operator=(const TFileCommandScope&) = delete;

private:
    TEditorContext& main_;
};

// The server's world folder of the settings: an absolute path as it is, a
// relative one below the program folder.
std::string ExportFolder(const std::string& programFolder, const TSettings& settings) {
    const std::string path = PathFromText(FromCp1251(settings.Path));
    return std::filesystem::path(path).is_absolute() ? path : programFolder + path;
}

TExportSettings ExportSettingsOf(const TSettings& settings) {
    TExportSettings out;
    // A setting the file does not give means the dialog's first choice.
    out.CodePage = settings.Coding == 1 ? TServerCodePage::Cp1251 : TServerCodePage::Koi8r;
    out.LineEnd = settings.Crlf == 1 ? TServerLineEnd::CrLf : TServerLineEnd::Lf;
    return out;
}

// The folder of a file when it lies below the workspace and is missing: the
// workspace is the editor's own, so a zone made with "Новая" can be saved
// into a fresh one.
void MakeWorkspaceFolderFor(const std::string& file, const std::string& workspace) {
    namespace fs = std::filesystem;
    const fs::path folder = fs::path(file).parent_path();
    const std::string text = folder.lexically_normal().string() + "/";
    if (text.rfind(fs::path(workspace).lexically_normal().string(), 0) != 0)
        return;
    std::error_code error;
    fs::create_directories(folder, error); // a failure shows when the file is written
}

// The files a page's read or save of `path` touches: a room file brings its
// layout beside it.
std::vector<std::string> FilesOfPageFile(int page, const std::string& path) {
    if (page == RoomPageIndex)
        return {path, LayoutFileName(path)};
    return {path};
}

} // namespace

// One save of one file or many: the builder's answer about the
// write-protected files it would replace, and the failures of its writes
// gathered for one box at the end rather than a box per file.
class TSaveRun {
public:
    // Asks about the write-protected files among `paths`: "Нет" (the default)
    // leaves them as they are and writes the rest, "Да" writes over them (they
    // stay write-protected), "Отмена" writes nothing. False for "Отмена".
    bool Ask(const std::vector<std::string>& paths) {
        QStringList names;
        for (const std::string& path : paths)
            if (IsWriteProtected(path) && !names.contains(PathText(path)))
                names << PathText(path);
        if (names.isEmpty())
            return true;
        const int answer = Prompts().Choose(
            QStringLiteral("Эти файлы защищены от записи:\n") + names.join(QLatin1Char('\n')) +
                QStringLiteral("\nЗаписать поверх них? «Нет» оставит их как есть, остальные "
                               "файлы будут записаны."),
            {QStringLiteral("Нет"), QStringLiteral("Да"), QStringLiteral("Отмена")}, 0);
        replaceProtected_ = answer == 1;
        return answer != 2;
    }
    // Runs the writes of `write`, their failures gathered.
    void Write(const std::function<void()>& write) {
        const bool replaced = ReplaceWriteProtected;
        ReplaceWriteProtected = replaceProtected_;
        {
            TLoadReportScope gather(failures_);
            write();
        }
        ReplaceWriteProtected = replaced;
    }
    bool Failed() const { return !failures_.Failures.isEmpty(); }
    // One error box: `heading` (when given) and a line for each file not written.
    void ShowFailures(const QString& heading) const {
        QStringList lines = failures_.Failures;
        if (!heading.isEmpty())
            lines.prepend(heading);
        Prompts().Error(lines.join(QLatin1Char('\n')));
    }

private:
    bool replaceProtected_ = false;
    TLoadReport failures_;
};

TFileCommands::TFileCommands(TEditorContext& main) : QObject(main.Window()), main_(main) {
    connect(main.ToolsForm, &TToolsForm::saveZoneClicked, this, &TFileCommands::SaveZone);
    connect(main.ZonePage->Z_NormalizeBtn, &QPushButton::clicked, this,
            &TFileCommands::NormalizeZoneFiles);
    connect(main.ZonePage->Z_SaveMUDBtn, &QPushButton::clicked, this,
            &TFileCommands::ExportForServer);
}

void TFileCommands::EnableForPage(int page) {
    if (page != ZonePageIndex)
        main_.EnableRecordCommands(main_.RecordPage(page)->Count() > 0);
}

void TFileCommands::ShowWhatWasRead() {
    main_.RefillListWindows();
    if (!main_.ZonePage->CurrentZone())
        return;
    const int page = main_.CurrentPage();
    std::optional<int32_t> shown;
    if (page != ZonePageIndex)
        shown = main_.RecordPage(page)->Current;
    main_.ZonePage->ListClick(); // nothing is stored while the command runs
    if (page == ZonePageIndex)
        return;
    TRecordPage* records = main_.RecordPage(page);
    if (shown) {
        const int row = records->RowOf(*shown);
        if (row >= 0)
            records->SetCurrentRow(row);
    }
    records->ShowCurrent();
    EnableForPage(page);
}

// Another zone's file read into the current zone would be saved later under
// the current zone's file names, over its rooms and records.
bool TFileCommands::OpensAsCurrentZone(const TZone& zone, const std::string& path) {
    const auto described = PeekZoneNumber(path);
    if (!described || *described == zone.ZoneNumber)
        return true;
    Prompts().Error(QStringLiteral("Файл %1 описывает зону %2, а текущая зона — %3. "
                                   "Чтобы открыть его, выберите зону %2.")
                        .arg(PathText(path))
                        .arg(*described)
                        .arg(zone.ZoneNumber));
    return false;
}

void TFileCommands::Open() {
    const int page = main_.CurrentPage();
    TZone* zone = main_.ZonePage->CurrentZone();
    const TFileDialogSetup setup = FileDialogSetup(zone, page);
    const QString chosen = Prompts().OpenFile(setup.Folder, setup.FileName, setup.Filters);
    if (chosen.isEmpty())
        return;
    const std::string path = PathFromText(chosen);
    {
        TFileCommandScope running(main_);
        if (page == ZonePageIndex) {
            if (!zone)
                Prompts().Error(kNeedZone);
            else if (OpensAsCurrentZone(*zone, path))
                main_.Document->ReadFile(main_.PlaceOn(page), TRecordType::Zone, path,
                                         main_.KindName());
        } else {
            main_.Document->ReadFile(main_.PlaceOn(page), RecordTypeAt(static_cast<size_t>(page)),
                                     path, main_.KindName());
        }
        stamps_.Take(FilesOfPageFile(page, path));
        ShowWhatWasRead();
        EnableForPage(page);
    }
    main_.SetChanged(false);
}

void TFileCommands::Restore() {
    if (!Prompts().Confirm(QStringLiteral("Восстановить значения из файла?")))
        return;
    const int page = main_.CurrentPage();
    {
        TFileCommandScope running(main_);
        TZone* zone = main_.ZonePage->CurrentZone();
        if (!zone) {
            Prompts().Error(kNeedZone);
        } else {
            const std::string path = ZoneFileOf(*zone, page);
            main_.Document->ReadFileAgain(main_.PlaceOn(page), *zone,
                                          RecordTypeAt(static_cast<size_t>(page)), main_.KindName());
            // Only what was read: another file's outside change still counts.
            std::vector<std::string> read = FilesOfPageFile(page, path);
            if (page == RoomPageIndex)
                read.push_back(zone->ZoneFileName);
            stamps_.Take(read);
            ShowWhatWasRead();
            EnableForPage(page);
        }
    }
    main_.SetChanged(false);
}

void TFileCommands::StoreActivePage() {
    const int page = main_.CurrentPage();
    if (page == ZonePageIndex)
        main_.ZonePage->ListClick();
    else
        main_.RecordPage(page)->SelectionChanged();
}

void TFileCommands::ShowZoneSource(const TZone& zone) {
    if (&zone != main_.ZonePage->CurrentZone())
        return;
    TStringList lines;
    zone.SaveToStrings(main_.World(), lines);
    main_.ZonePage->ShowSource(lines);
}

void TFileCommands::Save() {
    const int page = main_.CurrentPage();
    TZone* zone = main_.ZonePage->CurrentZone();
    if (!zone) {
        Prompts().Error(kNeedZone);
        return;
    }
    const TFileDialogSetup setup = FileDialogSetup(zone, page);
    const QString chosen = Prompts().SaveFile(setup.Folder, setup.FileName, setup.Filters);
    if (chosen.isEmpty())
        return;
    const std::string path = PathFromText(chosen);
    const std::vector<std::string> written = FilesOfPageFile(page, path);
    TSaveRun run;
    if (!MayWriteOver(written) || !run.Ask(written))
        return;
    StoreActivePage();
    run.Write([&] {
        SaveZoneKindFile(main_.World(), *zone, page, path);
        if (page == ZonePageIndex)
            ShowZoneSource(*zone);
    });
    if (run.Failed())
        run.ShowFailures({});
    stamps_.Take(written);
}

void TFileCommands::LoadZone() {
    TZone* zone = main_.ZonePage->CurrentZone();
    if (!zone) {
        Prompts().Error(kSelectZone);
        return;
    }
    if (Prompts().Confirm(QStringLiteral("Вы действительно хотите загрузить всю зону?")))
        ReadZoneAgain(*zone);
}

void TFileCommands::ReadZoneAgain(TZone& zone) {
    TFileCommandScope running(main_);
    TStepPlace place = main_.PlaceOn(main_.CurrentPage());
    if (place.Zone != &zone) // a zone saved at exit need not be the one shown
        place = TStepPlace{&zone, ZonePageIndex, std::nullopt};
    const bool whole = main_.Document->ReadZone(
        place, StepText(QStringLiteral("загрузка"), ZonePageIndex, zone.ZoneNumber), zone,
        main_.KindName(), [](const std::string& name) { return name; });
    stamps_.Take(FilesOfZone(zone));
    if (whole) {
        // What it holds now is what its files hold: nothing to save or recover.
        main_.Document->MarkSaved(&zone);
        main_.Recovery->Forget(zone);
    }
    main_.SetChanged(false);
    ShowWhatWasRead();
}

void TFileCommands::SaveZone() {
    TZone* zone = main_.ZonePage->CurrentZone();
    if (!zone) {
        Prompts().Error(kSelectZone);
        return;
    }
    TSaveRun run;
    if (!Prompts().Confirm(QStringLiteral("Сохранить всю зону?")) || !MaySaveZones({zone}, run))
        return;
    StoreActivePage();
    WriteZones(run, {zone});
}

bool TFileCommands::SaveWholeZones(const std::vector<TZone*>& zones) {
    TSaveRun run;
    return MaySaveZones(zones, run) && WriteZones(run, zones);
}

bool TFileCommands::MaySaveZones(const std::vector<TZone*>& zones, TSaveRun& run) {
    std::vector<std::string> files;
    for (TZone* zone : zones) {
        const std::vector<std::string> own = FilesOfZone(*zone);
        if (!MayWriteOver(own, zone))
            return false;
        files.insert(files.end(), own.begin(), own.end());
    }
    return run.Ask(files);
}

bool TFileCommands::WriteZones(TSaveRun& run, const std::vector<TZone*>& zones) {
    QStringList partial;
    run.Write([&] {
        for (TZone* zone : zones) {
            const bool written = WriteWholeZone(*zone);
            FinishZoneSave(*zone, written);
            if (!written)
                partial << QString::number(zone->ZoneNumber);
        }
    });
    if (partial.isEmpty())
        return true;
    run.ShowFailures(zones.size() == 1
                         ? kZoneNotSaved
                         : QStringLiteral("Не все файлы зон удалось записать: зоны %1 сохранены "
                                          "не полностью.")
                               .arg(partial.join(QStringLiteral(", "))));
    return false;
}

void TFileCommands::NormalizeZoneFiles() {
    TZone* zone = main_.ZonePage->CurrentZone();
    if (!zone) {
        Prompts().Error(kSelectZone);
        return;
    }
    TSaveRun run;
    if (!Prompts().Confirm(
            QStringLiteral("Записать все файлы зоны %1 в формате редактора? Записи, прочитанные "
                           "в других формах, будут переписаны; строки, которые редактор не "
                           "разбирает, останутся на своих местах.")
                .arg(zone->ZoneNumber)) ||
        !MaySaveZones({zone}, run))
        return;
    StoreActivePage();
    main_.Document->Normalize(*zone);
    WriteZones(run, {zone});
}

bool TFileCommands::WriteWholeZone(const TZone& zone) {
    const std::string workspace = main_.ProgramFolder + "Zones/";
    for (int kind = 0; kind < kFileKindCount; ++kind)
        MakeWorkspaceFolderFor(ZoneFileOf(zone, kind), workspace);
    // Each writer reports its own failure; the next one still runs.
    const bool written = SaveZoneFiles(main_.World(), zone).Ok();
    ShowZoneSource(zone);
    stamps_.Take(FilesOfZone(zone));
    return written;
}

void TFileCommands::StampWorkspace() {
    stamps_.Clear();
    for (const TZone* zone : main_.ZonePage->Zones())
        stamps_.Take(FilesOfZone(*zone));
}

bool TFileCommands::MayWriteOver(const std::vector<std::string>& paths, TZone* zone) {
    const std::vector<std::string> changed = stamps_.ChangedSince(paths);
    if (changed.empty())
        return true;
    QStringList names;
    for (const std::string& path : changed)
        names << PathText(path);
    QString question =
        QStringLiteral("После того как редактор прочитал эти файлы, их изменили вне редактора:\n") +
        names.join(QLatin1Char('\n')) +
        QStringLiteral("\n«Записать поверх» заменит изменения, сделанные вне редактора, тем, что "
                       "в редакторе.");
    QStringList answers = {QStringLiteral("Записать поверх")};
    if (zone) {
        question += QStringLiteral(" «Прочитать заново» прочитает зону из файлов; то, что было "
                                   "в редакторе, вернёт «Отменить».");
        answers << QStringLiteral("Прочитать заново");
    }
    answers << QStringLiteral("Отмена");
    // Enter must not throw away another builder's work: the default writes nothing.
    const int answer = Prompts().Choose(question, answers, int(answers.size()) - 1);
    if (zone && answer == 1)
        ReadZoneAgain(*zone);
    return answer == 0;
}

void TFileCommands::FinishZoneSave(TZone& zone, bool written) {
    // A zone that is not wholly on disk keeps counting as changed.
    if (!written)
        return;
    main_.SetChanged(false);
    main_.Document->MarkSaved(&zone);
    main_.Recovery->Forget(zone);
}

void TFileCommands::ExportForServer() {
    const TZone* zone = main_.ZonePage->CurrentZone();
    if (!zone) {
        Prompts().Error(kNeedZone);
        return;
    }
    const TSettings settings = main_.ConfigForm->settings();
    const std::string folder = ExportFolder(main_.ProgramFolder, settings);
    if (ExportWouldWriteIntoWorkspace(folder, main_.ProgramFolder + "Zones/")) {
        Prompts().Error(QStringLiteral("Папка экспорта %1 — рабочая папка редактора или папка "
                                       "внутри неё: экспорт заменил бы файлы зон их копиями для "
                                       "сервера. Ничего не записано; укажите в настройках другую "
                                       "папку.")
                            .arg(PathText(folder)));
        return;
    }
    // The records as they are in memory: page edits not applied stay out.
    std::vector<const TZone*> others;
    for (const TZone* other : main_.ZonePage->Zones())
        if (other != zone)
            others.push_back(other);
    const TServerFolders folders = FindServerFolders(folder);
    TPublishOptions options{ExportSettingsOf(settings)};
    TPublishPlan plan = PlanPublish(main_.World(), {zone}, others, folders, options);
    if (!MayCreateServerFolders(plan))
        return;
    if (MayCreateIndexes(plan)) {
        options.CreateMissingIndexes = true;
        plan = PlanPublish(main_.World(), {zone}, others, folders, options);
    }
    TPublishForm changes(main_.Window());
    changes.ShowPlan(plan, PathText(folder));
    if (changes.exec() != QDialog::Accepted)
        return;
    TSaveRun run;
    if (!run.Ask(plan.PathsToWrite()))
        return;
    TPublishResult result;
    run.Write([&] { result = WritePublishPlan(plan); });
    if (result.Substituted > 0)
        Prompts().Information(
            QStringLiteral("Символов, которых нет в кодировке КОИ-8, заменено знаком «?»: %1")
                .arg(result.Substituted));
    const QString summary =
        QStringLiteral("Папка мира сервера: %1\nЗаписано файлов: %2 (новых: %3), без изменений: "
                       "%4, не записано: %5.")
            .arg(PathText(folder))
            .arg(result.Written)
            .arg(result.New)
            .arg(result.Unchanged)
            .arg(result.NotWritten);
    if (run.Failed())
        run.ShowFailures(summary);
    else
        Prompts().Information(summary);
}

bool TFileCommands::MayCreateServerFolders(const TPublishPlan& plan) {
    QStringList missing;
    for (const std::string& path : plan.PathsToWrite()) {
        const std::filesystem::path parent = std::filesystem::path(path).parent_path();
        if (std::error_code error; !std::filesystem::is_directory(parent, error) &&
                                   !missing.contains(PathText(parent.filename().string())))
            missing << PathText(parent.filename().string());
    }
    return missing.isEmpty() ||
           Prompts().Confirm(QStringLiteral("В папке мира сервера %1 нет папок %2. Создать их "
                                            "(каждую со своим файлом index)?")
                                 .arg(PathText(plan.Folders.Target),
                                      missing.join(QStringLiteral(", "))));
}

bool TFileCommands::MayCreateIndexes(const TPublishPlan& plan) {
    QStringList lacking;
    for (size_t kind : FoldersWithoutIndex(plan.Folders))
        for (const TServerFile& file : plan.Files)
            if (file.Kind == kind && file.Writes() &&
                !lacking.contains(PathText(plan.Folders.Folders[kind])))
                lacking << PathText(plan.Folders.Folders[kind]);
    return !lacking.isEmpty() &&
           Prompts().Confirm(QStringLiteral("В папках %1 нет файла index: сервер читает только "
                                            "файлы, которые он перечисляет. Создать index с "
                                            "файлами этих папок?")
                                 .arg(lacking.join(QStringLiteral(", "))));
}
