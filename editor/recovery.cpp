#include "recovery.h"

#include "mainform.h"
#include "prompts.h"
#include "textcodec.h"
#include "worlddocument.h"
#include "worldlists.h"
#include "zonecontents.h"
#include "zonepage.h"

#include <QTimer>
#include <filesystem>
#include <system_error>

namespace fs = std::filesystem;

namespace {

// The newest change of the files in a folder, or of the files named; the
// oldest time when none exists.
fs::file_time_type Newest(const std::vector<fs::path>& files) {
    fs::file_time_type newest = fs::file_time_type::min();
    for (const fs::path& file : files) {
        std::error_code error;
        const auto time = fs::last_write_time(file, error);
        if (!error && time > newest)
            newest = time;
    }
    return newest;
}

std::vector<fs::path> FilesIn(const fs::path& folder) {
    std::vector<fs::path> files;
    std::error_code error;
    for (const auto& entry : fs::directory_iterator(folder, error))
        if (entry.is_regular_file(error))
            files.push_back(entry.path());
    return files;
}

std::string NameOf(const std::string& path) {
    return fs::path(path).filename().string();
}

} // namespace

TRecovery::TRecovery(TMainForm& main) : QObject(&main), main_(main), timer_(new QTimer(this)) {
    connect(timer_, &QTimer::timeout, this, &TRecovery::WriteAll);
    connect(main_.Document, &TWorldDocument::changed, this, &TRecovery::Follow);
}

std::string TRecovery::Folder() const {
    return main_.ProgramFolder + "Recovery/";
}

std::string TRecovery::ZoneFolder(const TZone& zone) const {
    return Folder() + std::to_string(zone.ZoneNumber) + "/";
}

void TRecovery::Start(int minutes) {
    Offer();
    SetInterval(minutes);
}

void TRecovery::SetInterval(int minutes) {
    timer_->start(std::max(1, minutes) * 60 * 1000);
}

void TRecovery::Write(const TZone& zone) {
    const std::string folder = ZoneFolder(zone);
    std::error_code error;
    fs::create_directories(folder, error);
    // A copy that cannot be written is no reason to interrupt the builder:
    // the zone itself is still in memory and still marked unsaved.
    for (const TComposedFile& file : ComposeZoneFiles(zone))
        if (!file.Path.empty())
            SaveLinesToFile(folder + NameOf(file.Path), file.Lines);
}

void TRecovery::Forget(const TZone& zone) {
    std::error_code error;
    fs::remove_all(ZoneFolder(zone), error);
}

void TRecovery::Clear() {
    std::error_code error;
    fs::remove_all(Folder(), error);
}

void TRecovery::Follow(const std::vector<TZone*>& zones) {
    for (const TZone* zone : zones) {
        if (main_.Document->IsUnsaved(zone))
            Write(*zone);
        else
            Forget(*zone);
    }
}

void TRecovery::WriteAll() {
    for (const TZone* zone : main_.Document->UnsavedZones())
        Write(*zone);
}

std::vector<TZone*> TRecovery::LeftOver() const {
    std::vector<TZone*> zones;
    std::error_code error;
    if (!fs::is_directory(Folder(), error))
        return zones;
    for (TZone* zone : main_.Document->AllZones()) {
        const std::vector<fs::path> copies = FilesIn(ZoneFolder(*zone));
        if (copies.empty())
            continue;
        std::vector<fs::path> files;
        for (const TComposedFile& file : ComposeZoneFiles(*zone))
            files.push_back(file.Path);
        // A copy older than the zone's files was overtaken by a save.
        if (Newest(copies) > Newest(files))
            zones.push_back(zone);
    }
    return zones;
}

void TRecovery::Offer() {
    const std::vector<TZone*> zones = LeftOver();
    if (zones.empty()) {
        Clear();
        return;
    }
    QStringList names;
    for (const TZone* zone : zones)
        names << QString::number(zone->ZoneNumber) + QStringLiteral("  ") +
                     FromCp1251(zone->ZoneName);
    if (!Prompts().Confirm(QStringLiteral("Прошлая работа редактора прервалась, не сохранив "
                                          "изменения зон:\n") +
                           names.join(QLatin1Char('\n')) +
                           QStringLiteral("\nВернуть эти изменения?"))) {
        Clear();
        return;
    }
    for (TZone* zone : zones)
        Bring(*zone);
}

void TRecovery::Bring(TZone& zone) {
    const std::string folder = ZoneFolder(zone);
    const auto copy = [&folder](const std::string& path) { return folder + NameOf(path); };
    TStepPlace place;
    place.Zone = &zone;
    place.Page = ZonePageIndex;
    const bool running = main_.FileCommandRunning;
    main_.FileCommandRunning = true;
    main_.Document->Change(
        place, QStringLiteral("возвращение зоны %1 после сбоя").arg(zone.ZoneNumber), [&] {
            // The copy holds the whole zone: records deleted before the crash
            // must not come back from the workspace's files.
            TZoneState empty;
            empty.Number = zone.ZoneNumber;
            RestoreZone(empty, nullptr);
            ReadWholeZone(zone, main_.KindName(), copy);
        });
    main_.FileCommandRunning = running;
    main_.ShowPlace(place);
}
