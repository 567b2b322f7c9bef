#pragma once

// What the editor last saw of each workspace file it read or wrote: its size
// and the time it was last changed. Before the editor writes over a file, a
// different stamp tells that someone else changed the file meanwhile (another
// builder, a text editor, a version control update), whose work the write
// would lose.

#include <cstdint>
#include <filesystem>
#include <string>
#include <unordered_map>
#include <vector>

class TFileStamps {
public:
    // After a read or a write: the file as it is now (a missing file is
    // forgotten).
    void Take(const std::string& path);
    void Take(const std::vector<std::string>& paths);
    void Clear() { stamps_.clear(); }

    // The files among `paths` that exist and differ from their stamp; a file
    // never stamped is not counted (nothing of it was seen to be lost).
    std::vector<std::string> ChangedSince(const std::vector<std::string>& paths) const;

private:
    struct TStamp {
        std::uintmax_t Size = 0;
        std::filesystem::file_time_type Changed;
        bool operator==(const TStamp&) const = default;
    };
    static bool Read(const std::string& path, TStamp& stamp);

    std::unordered_map<std::string, TStamp> stamps_;
};
