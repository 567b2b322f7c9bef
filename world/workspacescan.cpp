#include "workspacescan.h"

#include "orderedwork.h"
#include "recordkinds.h"
#include "world.h"

#include <algorithm>
#include <cctype>
#include <filesystem>
#include <mutex>
#include <system_error>
#include <tuple>

namespace fs = std::filesystem;

namespace {

bool EndsWithNoCase(const std::string& name, const std::string& tail) {
    if (name.size() <= tail.size())
        return false;
    return std::equal(tail.rbegin(), tail.rend(), name.rbegin(), [](char a, char b) {
        return std::tolower(static_cast<unsigned char>(a)) ==
               std::tolower(static_cast<unsigned char>(b));
    });
}

} // namespace

std::vector<std::string> ListFiles(const std::string& folder, const std::string& extension) {
    std::vector<std::string> files;
    std::error_code error;
    for (fs::directory_iterator it(folder, error), end; !error && it != end; it.increment(error)) {
        const std::string name = it->path().filename().string();
        if (EndsWithNoCase(name, extension))
            files.push_back(it->path().string());
    }
    std::sort(files.begin(), files.end());
    return files;
}

namespace {

// There (a broken link too) but not to be listed.
bool IsUnreadableFolder(fs::path folder) {
    // "Zones/" would not be there when Zones is a file.
    if (!folder.has_filename() && folder.has_parent_path())
        folder = folder.parent_path();
    std::error_code error;
    if (!fs::exists(fs::symlink_status(folder, error)))
        return false;
    fs::directory_iterator listing(folder, error);
    return static_cast<bool>(error);
}

} // namespace

std::vector<std::string> UnreadableFolders(const std::string& dir) {
    if (IsUnreadableFolder(dir))
        return {dir};
    std::vector<std::string> folders;
    for (const TRecordType type : kKindFolderOrder) {
        std::string folder = WorkspaceFolder(dir, WorldKind(type).Folder);
        if (IsUnreadableFolder(folder))
            folders.push_back(std::move(folder));
    }
    return folders;
}

std::string FolderReadFailure(const std::string& folder) {
    return Msg("Не могу прочитать папку ") + Msg(folder);
}

std::string WorkspaceFolder(const std::string& dir, const std::string& folder) {
    return (fs::path(dir) / folder).string();
}

namespace {

template <class List>
bool LoadListFile(List& list, const std::string& path, const TKindNameLookup&) {
    return list.LoadFromFile(path);
}

bool LoadListFile(TShopList& shops, const std::string& path, const TKindNameLookup& kindName) {
    return shops.LoadFromFile(path, kindName);
}

// The order LoadWorkspaceRecords reads the kinds in.
constexpr std::array<TRecordType, 5> kReadOrder = {
    TRecordType::Obj, TRecordType::Mob, TRecordType::Shop, TRecordType::Room, TRecordType::Trigger};

} // namespace

bool LoadRecordFile(TWorld& world, TRecordType type, const std::string& path,
                    const TKindNameLookup& kindName) {
    return WithRecordList(world, type,
                          [&](auto& list) { return LoadListFile(list, path, kindName); });
}

namespace {

struct TRecordFile {
    TRecordType Type;
    std::string Path;
};

// Every record file of the workspace in the order they are read.
std::vector<TRecordFile> RecordFiles(const std::string& dir) {
    std::vector<TRecordFile> files;
    for (const TRecordType type : kReadOrder) {
        const TWorldKind& kind = WorldKind(type);
        for (auto& path : ListFiles(WorkspaceFolder(dir, kind.Folder), kind.Extension))
            files.push_back({type, std::move(path)});
    }
    return files;
}

// The five record lists, for a file read aside from the world's.
struct TRecordLists {
    TObjList Objs;
    TMobList Mobs;
    TShopList Shops;
    TRoomList Rooms;
    TTriggerList Triggers;
};

// The list of `world` of the same kind as `list`.
template <class List> List& SameKindIn(TWorld& world, const List&) {
    return std::get<List&>(
        std::tie(world.Objs, world.Mobs, world.Shops, world.Rooms, world.Triggers));
}

// One record file read on a worker thread into lists of its own: what it
// read, what it reported and every record number it looked up.
struct TReadAside {
    TRecordLists Lists;
    TKeptReports Reports;
    TNumberSet Lookups;
};

void ReadAside(TReadAside& read, const TRecordFile& file, const TKindNameLookup& kindName) {
    const TThreadReporter keep(read.Reports);
    WithRecordList(read.Lists, file.Type, [&](auto& list) {
        list.NoteLookupsIn(&read.Lookups);
        LoadListFile(list, file.Path, kindName);
        list.NoteLookupsIn(nullptr);
    });
}

// Puts what a file read aside into `world` as if it had been read there. A
// file that looked up a number the world's list already holds (the same
// record in two files, a layout line placing a room of another file) would
// have met that record: it is read again, into the world's list itself.
void TakeReadAside(TWorld& world, TReadAside& read, const TRecordFile& file,
                   const TKindNameLookup& kindName) {
    WithRecordList(read.Lists, file.Type, [&](auto& aside) {
        auto& list = SameKindIn(world, aside);
        if (list.HoldsAnyOf(read.Lookups)) {
            LoadListFile(list, file.Path, kindName);
            return;
        }
        list.TakeOver(aside);
        read.Reports.PassOn();
    });
}

// The caller's lookup called by one thread at a time, so that it need not be
// safe to call from several at once.
TKindNameLookup OneCallAtATime(const TKindNameLookup& kindName, std::mutex& mutex) {
    if (!kindName)
        return {};
    return [&kindName, &mutex](int32_t code) {
        const std::lock_guard lock(mutex);
        return kindName(code);
    };
}

void ReadRecordFiles(TWorld& world, const std::vector<TRecordFile>& files,
                     const TKindNameLookup& kindName, unsigned threads,
                     const std::function<void()>& fileRead) {
    if (threads == 0)
        threads = WorkerThreadCount();
    if (threads == 1) {
        // Straight into the world, as one reader has always read them.
        for (const TRecordFile& file : files) {
            LoadRecordFile(world, file.Type, file.Path, kindName);
            if (fileRead)
                fileRead();
        }
        return;
    }
    std::mutex kindNameMutex;
    const TKindNameLookup sharedKindName = OneCallAtATime(kindName, kindNameMutex);
    std::vector<std::unique_ptr<TReadAside>> reads(files.size());
    RunInOrder(
        files.size(), threads,
        [&](size_t i) {
            reads[i] = std::make_unique<TReadAside>();
            ReadAside(*reads[i], files[i], sharedKindName);
        },
        [&](size_t i) {
            TakeReadAside(world, *reads[i], files[i], kindName);
            reads[i].reset();
            if (fileRead)
                fileRead();
        });
}

} // namespace

void LoadWorkspaceRecords(TWorld& world, const std::string& dir, const TKindNameLookup& kindName,
                          unsigned threads, const std::function<void()>& fileRead) {
    ReadRecordFiles(world, RecordFiles(dir), kindName, threads, fileRead);
}

std::string ZoneLoadFailure(const std::string& file, int lineNumber) {
    return Msg("Не могу загрузить зону\r\nФайл: ") + Msg(file) + LoadErrorSuffix(lineNumber);
}

namespace {

// The number of a zone file named "N.zon"; 0 for any other name.
int32_t NumberOfFileName(const std::string& file) {
    const std::string stem = fs::path(file).stem().string();
    if (stem.empty() || stem.size() > 9 ||
        !std::all_of(stem.begin(), stem.end(), [](char c) { return c >= '0' && c <= '9'; }))
        return 0;
    return static_cast<int32_t>(std::stol(stem));
}

std::vector<std::string> ZoneFiles(const std::string& dir) {
    const TWorldKind& zones = WorldKind(TRecordType::Zone);
    return ListFiles(WorkspaceFolder(dir, zones.Folder), zones.Extension);
}

void ReadZoneFiles(TWorld& world, const std::vector<std::string>& files,
                   const TZoneFailure& onFailure, unsigned threads,
                   const std::function<void()>& fileRead) {
    const size_t first = world.Zones.size();
    for (const std::string& file : files) {
        auto zone = std::make_unique<TZone>();
        int failedLine = 0;
        if (!zone->OpenZoneFile(world, file, &failedLine)) {
            if (zone->ZoneNumber == 0 && NumberOfFileName(file) != 0) {
                zone->ZoneNumber = NumberOfFileName(file);
                zone->DeriveFileNames();
            }
            if (onFailure)
                onFailure(file, *zone, failedLine);
        }
        world.AddZone(std::move(zone));
        if (fileRead)
            fileRead();
    }
    // Each zone composes its own form from the world, which no longer
    // changes: the zones may do it side by side.
    const TWorld& read = world;
    RunInOrder(
        world.Zones.size() - first, threads == 0 ? WorkerThreadCount() : threads,
        [&](size_t i) { world.Zones[first + i]->TakeAsUnchanged(read); }, [](size_t) {});
}

} // namespace

void LoadWorkspaceZones(TWorld& world, const std::string& dir, const TZoneFailure& onFailure,
                        unsigned threads, const std::function<void()>& fileRead) {
    ReadZoneFiles(world, ZoneFiles(dir), onFailure, threads, fileRead);
}

void LoadWorkspace(TWorld& world, const std::string& dir, const TKindNameLookup& kindName,
                   const TZoneFailure& onFailure, const TReadProgress& progress) {
    // Listed once: the progress counts the files the read then takes.
    const std::vector<TRecordFile> recordFiles = RecordFiles(dir);
    const std::vector<std::string> zoneFiles = ZoneFiles(dir);
    std::function<void()> fileRead;
    size_t done = 0;
    const size_t total = recordFiles.size() + zoneFiles.size();
    if (progress)
        fileRead = [&] { progress(++done, total); };
    ReadRecordFiles(world, recordFiles, kindName, 0, fileRead);
    ReadZoneFiles(world, zoneFiles, onFailure, 0, fileRead);
}
