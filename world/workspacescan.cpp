#include "workspacescan.h"

#include "worldlists.h"

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
        if (EndsWithNoCase(name, extension) && it->is_regular_file(error))
            files.push_back(it->path().string());
    }
    std::sort(files.begin(), files.end());
    return files;
}

std::string WorkspaceFolder(const std::string& dir, const std::string& folder) {
    return (fs::path(dir) / folder).string();
}

void LoadWorkspaceRecords(const std::string& dir, const TKindNameLookup& kindName) {
    for (const auto& file : ListFiles(WorkspaceFolder(dir, "OBJ"), ".obj"))
        ObjList.LoadFromFile(file);
    for (const auto& file : ListFiles(WorkspaceFolder(dir, "MOB"), ".mob"))
        MobList.LoadFromFile(file);
    for (const auto& file : ListFiles(WorkspaceFolder(dir, "SHP"), ".shp"))
        ShopList.LoadFromFile(file, kindName);
    for (const auto& file : ListFiles(WorkspaceFolder(dir, "WLD"), ".wld"))
        RoomList.LoadFromFile(file);
    for (const auto& file : ListFiles(WorkspaceFolder(dir, "TRG"), ".trg"))
        TriggerList.LoadFromFile(file);
}

std::vector<std::unique_ptr<TZone>>
LoadWorkspaceZones(const std::string& dir,
                   const std::function<void(const std::string& file)>& onFailure) {
    std::vector<std::unique_ptr<TZone>> zones;
    for (const auto& file : ListFiles(WorkspaceFolder(dir, "ZON"), ".zon")) {
        auto zone = std::make_unique<TZone>();
        if (zone->OpenZoneFile(file))
            zones.push_back(std::move(zone));
        else if (onFailure)
            onFailure(file);
    }
    return zones;
}
