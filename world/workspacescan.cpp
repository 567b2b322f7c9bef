#include "workspacescan.h"

#include "world.h"

#include <algorithm>
#include <cctype>
#include <filesystem>
#include <system_error>

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
constexpr std::array<TRecordType, 5> kReadOrder = {TRecordType::Obj, TRecordType::Mob,
                                                   TRecordType::Shop, TRecordType::Room,
                                                   TRecordType::Trigger};

} // namespace

bool LoadRecordFile(TWorld& world, TRecordType type, const std::string& path,
                    const TKindNameLookup& kindName) {
    return WithRecordList(world, type,
                          [&](auto& list) { return LoadListFile(list, path, kindName); });
}

void LoadWorkspaceRecords(TWorld& world, const std::string& dir, const TKindNameLookup& kindName) {
    for (const TRecordType type : kReadOrder) {
        const TWorldKind& kind = WorldKind(type);
        for (const auto& file : ListFiles(WorkspaceFolder(dir, kind.Folder), kind.Extension))
            LoadRecordFile(world, type, file, kindName);
    }
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

} // namespace

void LoadWorkspaceZones(TWorld& world, const std::string& dir, const TZoneFailure& onFailure) {
    const size_t first = world.Zones.size();
    const TWorldKind& zones = WorldKind(TRecordType::Zone);
    for (const auto& file : ListFiles(WorkspaceFolder(dir, zones.Folder), zones.Extension)) {
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
    }
    for (size_t i = first; i < world.Zones.size(); ++i)
        world.Zones[i]->TakeAsUnchanged(world);
}

void LoadWorkspace(TWorld& world, const std::string& dir, const TKindNameLookup& kindName,
                   const TZoneFailure& onFailure) {
    LoadWorkspaceRecords(world, dir, kindName);
    LoadWorkspaceZones(world, dir, onFailure);
}
