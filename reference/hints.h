#pragma once

// Field hints: Help/Hints holds one line per hint, a fixed key naming a
// control, one separator character and the text.

#include <array>
#include <optional>
#include <string>
#include <vector>

struct THintKey {
    const char* Key;     // "O_Price:"; the six exit panel keys have no colon
    const char* Control; // the object name of the control it names
};

inline constexpr size_t kHintKeyCount = 150;
// In table order: a line takes the first key it begins with.
extern const std::array<THintKey, kHintKeyCount> kHintKeys;

struct THint {
    std::string Control;
    std::string Text; // Windows-1251
    bool operator==(const THint&) const = default;
};

// The hints of a file's lines, in file order (a later hint for the same
// control replaces an earlier one when they are applied in order).
std::vector<THint> ParseHints(const std::string& bytes);
// Reads the hint file; nullopt when it is missing or unreadable.
std::optional<std::vector<THint>> LoadHints(const std::string& fileName);
// The twelve hints controls carry before the file is read.
std::vector<THint> BuiltInHints();
