#include "leftovers.h"

#include "workspacescan.h"

#include <algorithm>
#include <array>
#include <cctype>
#include <chrono>
#include <functional>
#include <string_view>
#include <system_error>

namespace fs = std::filesystem;

namespace {

// Another process at work on the same folder touches what it writes far more
// often than this; anything quieter for so long before we started is dead.
constexpr auto kQuietFor = std::chrono::minutes(10);

constexpr std::array<std::string_view, 7> kExtensions = {"zon", "wld", "map", "obj",
                                                         "mob", "shp", "trg"};

// The six letters or digits mkstemp and mkdtemp put in place of "XXXXXX".
bool IsUniqueTail(std::string_view text) {
    return text.size() == 6 && std::all_of(text.begin(), text.end(), [](char c) {
               return std::isalnum(static_cast<unsigned char>(c)) != 0;
           });
}

// ".12.wld.Ab3dEf": the safe save's temporary file of a world file (or of
// its side file, ".12.wld.kept.Ab3dEf").
bool IsTemporaryName(std::string_view name) {
    if (!name.starts_with('.'))
        return false;
    name.remove_prefix(1);
    const size_t digits = name.find_first_not_of("0123456789");
    if (digits == 0 || digits == std::string_view::npos || name[digits] != '.')
        return false;
    name.remove_prefix(digits + 1);
    const size_t dot = name.find('.');
    if (dot == std::string_view::npos ||
        std::find(kExtensions.begin(), kExtensions.end(), name.substr(0, dot)) == kExtensions.end())
        return false;
    std::string_view tail = name.substr(dot + 1);
    if (tail.starts_with("kept."))
        tail.remove_prefix(5);
    return IsUniqueTail(tail);
}

// ".Zones.import-Ab3dEf" beside the workspace "Zones".
bool IsStagingName(std::string_view name, const std::string& workspaceName) {
    const std::string head = "." + workspaceName + ".import-";
    return name.starts_with(head) && IsUniqueTail(name.substr(head.size()));
}

// The latest change of `path` or of anything below it; the latest possible
// when that cannot be told, so that it stays.
fs::file_time_type LastTouched(const fs::path& path) {
    std::error_code error;
    fs::file_time_type latest = fs::last_write_time(path, error);
    if (!error && fs::is_directory(path, error))
        for (fs::recursive_directory_iterator it(path, error), end; !error && it != end;
             it.increment(error))
            latest = std::max(latest, fs::last_write_time(it->path(), error));
    return error ? fs::file_time_type::max() : latest;
}

// The entries of `folder` whose names `ours` accepts and whose type is `type`
// (a link is never one of ours).
std::vector<fs::path> Entries(const fs::path& folder, fs::file_type type,
                              const std::function<bool(std::string_view)>& ours) {
    std::vector<fs::path> found;
    std::error_code error;
    for (fs::directory_iterator it(folder, error), end; !error && it != end; it.increment(error))
        if (ours(it->path().filename().string()) &&
            fs::symlink_status(it->path(), error).type() == type)
            found.push_back(it->path());
    return found;
}

} // namespace

std::vector<std::string> RemoveLeftovers(const std::string& dir, fs::file_time_type started) {
    fs::path workspace(dir);
    if (!workspace.has_filename() && workspace.has_parent_path())
        workspace = workspace.parent_path();
    std::vector<fs::path> candidates;
    for (const TRecordType type : kKindFolderOrder)
        for (fs::path& path :
             Entries(workspace / WorldKind(type).Folder, fs::file_type::regular, IsTemporaryName))
            candidates.push_back(std::move(path));
    const std::string name = workspace.filename().string();
    const fs::path parent = workspace.has_parent_path() ? workspace.parent_path() : fs::path(".");
    for (fs::path& path :
         Entries(parent, fs::file_type::directory,
                 [&name](std::string_view entry) { return IsStagingName(entry, name); }))
        candidates.push_back(std::move(path));

    const fs::file_time_type before = started - kQuietFor;
    std::vector<std::string> removed;
    for (const fs::path& path : candidates) {
        std::error_code error;
        if (LastTouched(path) < before && fs::remove_all(path, error) > 0 && !error)
            removed.push_back(path.string());
    }
    std::sort(removed.begin(), removed.end());
    return removed;
}
