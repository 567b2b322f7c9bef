#pragma once

// Vocabulary lists: the tab-separated files of Bases/ that name the numbers
// and flag codes the world files store. This half only parses; the editor
// puts the items into its combo boxes, flag lists and grids.

#include <cstdint>
#include <string>
#include <string_view>
#include <unordered_set>
#include <vector>

// One item of a combo box or flag list: its text and the code it carries.
struct TVocabularyItem {
    std::string Text;
    int Code = 0;
    bool operator==(const TVocabularyItem&) const = default;
};

// A list that cannot be used: missing, or a code that is not a number.
// `Message` is Windows-1251, as an error box shows it.
struct TVocabularyError {
    std::string Message;
};

// The file's lines without comment ("*...") and field-less lines.
std::vector<std::string> ParseVocabulary(const std::string& bytes);
// Reads `folder` + "Bases/" + name; throws TVocabularyError when it is missing.
std::vector<std::string> LoadVocabulary(const std::string& programFolder, const std::string& name);

// Coded layout: code, name, optional suffix. The name is padded with spaces
// to `padWidth` (0: no padding) and the suffix follows it. Throws
// TVocabularyError for a code that is not a decimal integer.
std::vector<TVocabularyItem> CodedItems(const std::vector<std::string>& lines, int padWidth,
                                        const std::string& listName = {});
// Spell layout: code, circle, level, name; the item text is the name.
std::vector<TVocabularyItem> SpellItems(const std::vector<std::string>& lines,
                                        const std::string& listName = {});
// The codes the spell layout's lines name (the checks' list of known spells).
std::unordered_set<int32_t> SpellCodes(const std::vector<std::string>& lines,
                                       const std::string& listName = {});
// Flag layout: a letter and a plane digit (a single letter is plane 0), name, suffix.
std::vector<TVocabularyItem> FlagItems(const std::vector<std::string>& lines, int padWidth);

// A mob page grid row of Spells_Mob or Skills_Mob: the code and fields 2 to 4.
struct TGridRow {
    int Code = 0;
    std::string Circle, Level, Name;
};
std::vector<TGridRow> GridRows(const std::vector<std::string>& lines,
                               const std::string& listName = {});

// 256 x first character + second character; "a" counts as "a0".
int FlagCode(std::string_view flag);
// The two characters of a flag code.
std::string FlagCodeText(int code);

// Which items a flag string checks: every item whose code is one of the
// string's complete pairs (an odd last character is ignored).
std::vector<bool> FlagsToChecks(std::string_view flags, const std::vector<TVocabularyItem>& items);
// The codes of the checked items, in item order.
std::string ChecksToFlags(const std::vector<TVocabularyItem>& items,
                          const std::vector<bool>& checks);

// A record's flag string after the user's checks, keeping what they did not
// touch: the string's pairs keep their order and stay unless they name items
// that are all unchecked now; pairs no item names (and an odd last character)
// stay as they were; checked items the string lacked follow in item order.
// Checks left as FlagsToChecks set them give the string back byte for byte.
std::string MergeFlags(std::string_view previous, const std::vector<TVocabularyItem>& items,
                       const std::vector<bool>& checks);

// Index of the item carrying `code`, or -1 (the control then shows no selection).
int IndexOfCode(const std::vector<TVocabularyItem>& items, int code);
