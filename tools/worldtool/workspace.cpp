#include "workspace.h"

#include "codepage.h"
#include "leftovers.h"
#include "maplayout.h"
#include "recordkinds.h"
#include "world.h"
#include "zonesave.h"

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <fcntl.h>
#include <filesystem>
#include <system_error>
#include <unistd.h>

namespace fs = std::filesystem;

namespace {

// A message as the terminal shows it: UTF-8, each "\r\n" a line break.
std::string ScreenText(const std::string& message) {
    const std::string utf8 = Cp1251ToUtf8(message);
    std::string text;
    for (size_t start = 0;;) {
        const size_t pos = utf8.find("\r\n", start);
        text.append(utf8, start, pos == std::string::npos ? std::string::npos : pos - start);
        if (pos == std::string::npos)
            break;
        text += '\n';
        start = pos + 2;
    }
    return text;
}

} // namespace

void TStderrReporter::ReportError(const std::string& message) {
    const std::string text = ScreenText(message);
    if (count_++ > 0)
        std::fputc('\n', stderr);
    std::fprintf(stderr, "%s\n", text.c_str());
    lastWasOneLine_ = false;
}

void TStderrReporter::ReportWriteFailure(const std::string& message, const TWriteResult& result) {
    // Thousands of files on a full disk: one line each, no blank lines between.
    if (count_++ > 0 && !lastWasOneLine_)
        std::fputc('\n', stderr);
    std::fprintf(stderr, "%s\n", ScreenText(message).c_str());
    lastWasOneLine_ = true;
    ++notWritten_;
    protected_ += result.Protected;
}

void TStderrReporter::ReportNote(const std::string& message) {
    ++notes_;
    std::printf("%s\n", ScreenText(message).c_str());
}

TScanResult ScanWorkspace(TWorld& world, const std::string& dir, TErrorReporter& reporter) {
    const auto start = std::chrono::steady_clock::now();
    TScanResult result;
    for (const std::string& folder : UnreadableFolders(dir)) {
        result.NotLoaded.push_back(folder);
        reporter.ReportError(FolderReadFailure(folder));
    }
    std::vector<const TZone*> failed;
    LoadWorkspace(world, dir, {}, [&](const std::string& file, const TZone& zone, int line) {
        // The scan hides this message; the line it stopped at is still known.
        result.NotLoaded.push_back(file);
        failed.push_back(&zone);
        reporter.ReportError(ZoneLoadFailure(file, line));
    });
    // Resave and export write only what loaded whole: a zone read in part
    // would lose the rest of its file.
    for (const auto& zone : world.Zones)
        if (std::find(failed.begin(), failed.end(), zone.get()) == failed.end())
            result.Zones.push_back(zone.get());
    result.Objects = world.Objs.Count();
    result.Mobs = world.Mobs.Count();
    result.Shops = world.Shops.Count();
    result.Rooms = world.Rooms.Count();
    result.Triggers = world.Triggers.Count();
    result.Seconds =
        std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    return result;
}

bool SaveZoneTo(const TWorld& world, const TZone& zone, const std::string& out) {
    // Each file keeps its kind folder and its name (the layout file lies beside
    // the room file).
    return SaveZoneFiles(world, zone, [&out](const std::string& path) {
               const fs::path file(path);
               return (fs::path(out) / file.parent_path().filename() / file.filename()).string();
           })
        .Ok();
}

bool MakeWorkspaceFolders(const std::string& dir) {
    for (const TWorldKind& kind : kWorldKinds) {
        std::error_code error;
        const fs::path path = fs::path(dir) / kind.Folder;
        fs::create_directories(path, error);
        if (!fs::is_directory(path)) {
            std::fprintf(stderr, "worldtool: cannot create the folder %s\n", path.c_str());
            return false;
        }
    }
    return true;
}

namespace {

// Taken when the program is loaded: the start of this run.
const fs::file_time_type kStarted = fs::file_time_type::clock::now();

} // namespace

void RemoveStaleLeftovers(const std::string& dir) {
    for (const std::string& path : RemoveLeftovers(dir, kStarted))
        std::printf("removed leftover: %s\n", path.c_str());
}

void BeginBatchWrite() {
    SyncSavedFiles = false;
}

bool EndBatchWrite(const std::string& dir) {
    SyncSavedFiles = true;
    const int fd = ::open(dir.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    const bool ok = fd >= 0 && ::syncfs(fd) == 0;
    if (fd >= 0)
        ::close(fd);
    if (!ok)
        std::fprintf(stderr, "worldtool: cannot flush the files written below %s\n", dir.c_str());
    return ok;
}
