#include "recovery.h"

#include "editorcontext.h"
#include "prompts.h"
#include "textcodec.h"
#include "worlddocument.h"
#include "world.h"
#include "zonecontents.h"
#include "zonepage.h"

#include <QTimer>
#include <algorithm>
#include <charconv>
#include <fcntl.h>
#include <filesystem>
#include <optional>
#include <string>
#include <sys/file.h>
#include <system_error>
#include <unistd.h>

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

// The zone number a folder of the recovery folder is named by; nothing for
// any other name.
std::optional<int32_t> ZoneNumberOf(const fs::path& folder) {
    const std::string name = folder.filename().string();
    int32_t number = 0;
    const auto [end, error] = std::from_chars(name.data(), name.data() + name.size(), number);
    if (error != std::errc() || end != name.data() + name.size() || number <= 0)
        return std::nullopt;
    return number;
}

} // namespace

TRecovery::TRecovery(TEditorContext& main) : QObject(main.Window()), main_(main), timer_(new QTimer(this)) {
    connect(timer_, &QTimer::timeout, this, &TRecovery::WriteAll);
    connect(main_.Document, &TWorldDocument::changed, this, &TRecovery::Follow);
}

TRecovery::~TRecovery() {
    if (lock_ >= 0)
        ::close(lock_); // the lock goes with the descriptor
}

std::string TRecovery::Folder() const {
    return main_.ProgramFolder + "Recovery/";
}

std::string TRecovery::ZoneFolder(int32_t number) const {
    return Folder() + std::to_string(number) + "/";
}

bool TRecovery::Lock() {
    // The kernel drops the lock when the process ends, killed or not, so a
    // crash never leaves the folder locked.
    const std::string path = main_.ProgramFolder + "Recovery.lock";
    lock_ = ::open(path.c_str(), O_RDWR | O_CREAT | O_CLOEXEC, 0644);
    if (lock_ < 0) {
        // A program folder this editor cannot write holds no copies of it
        // either; there is nothing to guard.
        held_ = true;
        return true;
    }
    if (::flock(lock_, LOCK_EX | LOCK_NB) == 0) {
        const std::string pid = std::to_string(::getpid()) + "\n";
        if (::ftruncate(lock_, 0) == 0) {
            // The number only makes a second editor's message clearer.
            [[maybe_unused]] const ssize_t written = ::write(lock_, pid.data(), pid.size());
        }
        held_ = true;
        return true;
    }
    char text[32] = {};
    const ssize_t read = ::pread(lock_, text, sizeof text - 1, 0);
    const QString owner = QString::fromLatin1(text, read > 0 ? read : 0).trimmed();
    ::close(lock_);
    lock_ = -1;
    Prompts().Error(
        QStringLiteral("Из этой папки программы уже работает другой редактор%1. Второй не "
                       "откроется: он мешал бы первому хранить копии несохранённых зон.")
            .arg(owner.isEmpty() ? QString() : QStringLiteral(" (процесс %1)").arg(owner)));
    return false;
}

void TRecovery::Start(int minutes) {
    if (!held_)
        return;
    Offer();
    SetInterval(minutes);
}

void TRecovery::SetInterval(int minutes) {
    if (held_)
        timer_->start(std::max(1, minutes) * 60 * 1000);
}

void TRecovery::Write(const TZone& zone) {
    if (!held_)
        return;
    const std::string folder = ZoneFolder(zone.ZoneNumber);
    std::error_code error;
    fs::create_directories(folder, error);
    kept_.insert(zone.ZoneNumber);
    // A copy that cannot be written is no reason to interrupt the builder:
    // the zone itself is still in memory and still marked unsaved.
    for (const TComposedFile& file : ComposeZoneFiles(main_.World(), zone))
        if (!file.Path.empty())
            SaveLinesToFile(folder + NameOf(file.Path), file.Lines, file.LineEnd);
}

void TRecovery::Remove(int32_t number) {
    std::error_code error;
    fs::remove_all(ZoneFolder(number), error);
    kept_.erase(number);
    fs::remove(Folder(), error); // only when nothing else is left in it
}

void TRecovery::Forget(const TZone& zone) {
    if (held_)
        Remove(zone.ZoneNumber);
}

void TRecovery::Clear() {
    if (!held_)
        return;
    for (const int32_t number : std::set<int32_t>(kept_))
        Remove(number);
}

void TRecovery::Follow(const TWorldChange& change) {
    for (const TZone* zone : change.Zones) {
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

std::vector<TRecovery::TLeftCopy> TRecovery::LeftOver() const {
    std::vector<TLeftCopy> left;
    std::error_code error;
    for (const auto& entry : fs::directory_iterator(Folder(), error)) {
        const std::optional<int32_t> number = ZoneNumberOf(entry.path());
        const std::vector<fs::path> copies = FilesIn(entry.path());
        // Anything else in the folder is not a copy of ours: it is left alone.
        if (!number || copies.empty())
            continue;
        TLeftCopy copy{*number, nullptr, false};
        for (const auto& zone : main_.World().Zones)
            if (zone->ZoneNumber == *number)
                copy.Zone = zone.get();
        if (copy.Zone) {
            std::vector<fs::path> files;
            for (const TComposedFile& file : ComposeZoneFiles(main_.World(), *copy.Zone))
                files.push_back(file.Path);
            copy.FilesNewer = Newest(files) >= Newest(copies);
        }
        left.push_back(copy);
    }
    std::sort(left.begin(), left.end(),
              [](const TLeftCopy& a, const TLeftCopy& b) { return a.Number < b.Number; });
    return left;
}

void TRecovery::Offer() {
    const std::vector<TLeftCopy> left = LeftOver();
    if (left.empty())
        return;
    QStringList names;
    for (const TLeftCopy& copy : left) {
        QString name = QString::number(copy.Number) + QStringLiteral("  ") +
                       (copy.Zone ? FromCp1251(copy.Zone->ZoneName)
                                  : QStringLiteral("(новая зона, ни разу не сохранена)"));
        if (copy.FilesNewer)
            name += QStringLiteral("  (её файлы изменены позже копии: вернуть — значит заменить "
                                   "то, что в них теперь)");
        names << name;
    }
    if (!Prompts().Confirm(QStringLiteral("Прошлая работа редактора прервалась, не сохранив "
                                          "изменения зон:\n") +
                           names.join(QLatin1Char('\n')) +
                           QStringLiteral("\nВернуть эти изменения?"))) {
        for (const TLeftCopy& copy : left)
            Remove(copy.Number);
        return;
    }
    for (const TLeftCopy& copy : left)
        Bring(copy);
}

void TRecovery::Bring(const TLeftCopy& left) {
    const std::string folder = ZoneFolder(left.Number);
    const auto copy = [&folder](const std::string& path) { return folder + NameOf(path); };
    TZone& zone = left.Zone ? *left.Zone : main_.ZonePage->AddNewZone(left.Number);
    TStepPlace place;
    place.Zone = &zone;
    place.Page = ZonePageIndex;
    const bool running = main_.FileCommandRunning;
    main_.FileCommandRunning = true;
    // The copy holds the whole zone: records deleted before the crash must
    // not come back from the workspace's files.
    main_.Document->ReadZone(place,
                             QStringLiteral("возвращение зоны %1 после сбоя").arg(zone.ZoneNumber),
                             zone, main_.KindName(), copy, true);
    main_.FileCommandRunning = running;
    main_.ShowPlace(place);
}
