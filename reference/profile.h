#pragma once

// A small reader and writer of profile-format settings files: "[Section]"
// header lines, then "key=value" lines. Keys and sections match without
// regard to case; a key is written in place and every other line is kept.

#include <string>
#include <vector>

class TProfileFile {
public:
    explicit TProfileFile(std::string path);

    // Reads the file again; a missing file reads as empty.
    void Reload();
    // The value of a key (cut at 1023 characters), or `fallback` when the key is missing.
    std::string ReadString(const std::string& section, const std::string& key,
                           const std::string& fallback = {}) const;
    // Sets a key in memory; a missing section is added at the end.
    void WriteString(const std::string& section, const std::string& key, const std::string& value);
    // Writes the file (safely: the old file stays whole on failure). False on failure.
    bool Save() const;

    const std::string& Path() const { return path_; }

private:
    // Index of the section's header line, or -1.
    int FindSection(const std::string& section) const;
    // Index of the key's line in the section starting after `header`, or -1.
    int FindKey(int header, const std::string& key) const;
    // The index one past the section's last line.
    int SectionEnd(int header) const;

    std::string path_;
    std::vector<std::string> lines_;
};

inline constexpr size_t kProfileValueLimit = 1023;
