#include "filestamps.h"

#include <system_error>

namespace {
// One key however the path was spelt (a save dialog's path, a zone's own name).
std::string KeyOf(const std::string& path) {
    std::error_code error;
    const std::filesystem::path absolute = std::filesystem::absolute(path, error);
    return (error ? std::filesystem::path(path) : absolute).lexically_normal().string();
}
} // namespace

bool TFileStamps::Read(const std::string& path, TStamp& stamp) {
    std::error_code error;
    stamp.Size = std::filesystem::file_size(path, error);
    if (error)
        return false;
    stamp.Changed = std::filesystem::last_write_time(path, error);
    return !error;
}

void TFileStamps::Take(const std::string& path) {
    TStamp stamp;
    if (Read(path, stamp))
        stamps_[KeyOf(path)] = stamp;
    else
        stamps_.erase(KeyOf(path));
}

void TFileStamps::Take(const std::vector<std::string>& paths) {
    for (const std::string& path : paths)
        Take(path);
}

std::vector<std::string> TFileStamps::ChangedSince(const std::vector<std::string>& paths) const {
    std::vector<std::string> changed;
    for (const std::string& path : paths) {
        const auto known = stamps_.find(KeyOf(path));
        TStamp now;
        if (known != stamps_.end() && Read(path, now) && !(now == known->second))
            changed.push_back(path);
    }
    return changed;
}
