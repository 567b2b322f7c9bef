#include "profile.h"

#include "worldfile.h"

#include <algorithm>
#include <cctype>

namespace {
std::string Trimmed(std::string_view s) {
    const size_t first = s.find_first_not_of(" \t");
    if (first == std::string_view::npos)
        return {};
    const size_t last = s.find_last_not_of(" \t");
    return std::string(s.substr(first, last - first + 1));
}

bool SameName(std::string_view a, std::string_view b) {
    return a.size() == b.size() && std::equal(a.begin(), a.end(), b.begin(), [](char x, char y) {
               return std::tolower(static_cast<unsigned char>(x)) ==
                      std::tolower(static_cast<unsigned char>(y));
           });
}

// The section name of a header line "[name]", or nullopt-like empty flag.
bool IsHeader(const std::string& line, std::string* name = nullptr) {
    const std::string t = Trimmed(line);
    if (t.size() < 2 || t.front() != '[' || t.back() != ']')
        return false;
    if (name)
        *name = Trimmed(std::string_view(t).substr(1, t.size() - 2));
    return true;
}
} // namespace

TProfileFile::TProfileFile(std::string path) : path_(std::move(path)) {
    Reload();
}

void TProfileFile::Reload() {
    std::string bytes;
    lines_ =
        ReadFileBytes(path_, bytes) ? SplitTextLines(std::move(bytes)) : std::vector<std::string>{};
}

int TProfileFile::FindSection(const std::string& section) const {
    std::string name;
    for (size_t i = 0; i < lines_.size(); ++i)
        if (IsHeader(lines_[i], &name) && SameName(name, section))
            return static_cast<int>(i);
    return -1;
}

int TProfileFile::SectionEnd(int header) const {
    size_t i = static_cast<size_t>(header) + 1;
    while (i < lines_.size() && !IsHeader(lines_[i]))
        ++i;
    return static_cast<int>(i);
}

int TProfileFile::FindKey(int header, const std::string& key) const {
    const int end = SectionEnd(header);
    for (int i = header + 1; i < end; ++i) {
        const std::string& line = lines_[static_cast<size_t>(i)];
        const size_t eq = line.find('=');
        if (eq != std::string::npos && SameName(Trimmed(std::string_view(line).substr(0, eq)), key))
            return i;
    }
    return -1;
}

std::string TProfileFile::ReadString(const std::string& section, const std::string& key,
                                     const std::string& fallback) const {
    const int header = FindSection(section);
    const int at = header < 0 ? -1 : FindKey(header, key);
    if (at < 0)
        return fallback;
    const std::string& line = lines_[static_cast<size_t>(at)];
    std::string value = Trimmed(std::string_view(line).substr(line.find('=') + 1));
    if (value.size() > kProfileValueLimit)
        value.resize(kProfileValueLimit);
    return value;
}

void TProfileFile::WriteString(const std::string& section, const std::string& key,
                               const std::string& value) {
    const std::string entry = key + "=" + value;
    int header = FindSection(section);
    if (header < 0) {
        if (!lines_.empty() && !Trimmed(lines_.back()).empty())
            lines_.emplace_back();
        lines_.push_back("[" + section + "]");
        lines_.push_back(entry);
        return;
    }
    const int at = FindKey(header, key);
    if (at >= 0) {
        lines_[static_cast<size_t>(at)] = entry;
        return;
    }
    // After the section's last non-blank line, so a blank line before the next section stays.
    int insert = SectionEnd(header);
    while (insert > header + 1 && Trimmed(lines_[static_cast<size_t>(insert - 1)]).empty())
        --insert;
    lines_.insert(lines_.begin() + insert, entry);
}

bool TProfileFile::Save() const {
    return SaveLinesToFile(path_, lines_).Ok();
}
