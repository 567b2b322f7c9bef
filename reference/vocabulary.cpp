#include "vocabulary.h"

#include "strutils.h"
#include "worldfile.h"

#include <set>

namespace {
std::string Field(int n, const std::string& line) {
    return ExtractWord(n, line, "\t");
}

int ParseCode(const std::string& field, const std::string& listName) {
    try {
        return ToInt32(field);
    } catch (const TLoadFailure&) {
        throw TVocabularyError{Msg("Неверный код \"") + QuotedLine(field) + Msg("\" в списке ") +
                               listName};
    }
}

// The text of an item: the name padded to `padWidth`, then the suffix. Both
// come from the rest of the line after its first tab.
std::string ItemText(const std::string& line, int padWidth) {
    const size_t tab = line.find('\t');
    const std::string rest = tab == std::string::npos ? std::string() : line.substr(tab + 1);
    return PadRightSpaces(Field(1, rest), padWidth) + Field(2, rest);
}
} // namespace

std::vector<std::string> ParseVocabulary(const std::string& bytes) {
    std::vector<std::string> kept;
    for (auto& line : SplitTextLines(bytes))
        if (!Field(1, line).empty() && !StartsWith(line, '*'))
            kept.push_back(std::move(line));
    return kept;
}

std::vector<std::string> LoadVocabulary(const std::string& programFolder, const std::string& name) {
    const std::string path = programFolder + "Bases/" + name;
    std::string bytes;
    if (!ReadFileBytes(path, bytes))
        throw TVocabularyError{Msg("Не могу открыть файл ") + Msg(path)};
    return ParseVocabulary(bytes);
}

std::vector<TVocabularyItem> CodedItems(const std::vector<std::string>& lines, int padWidth,
                                        const std::string& listName) {
    std::vector<TVocabularyItem> items;
    for (const auto& line : lines)
        items.push_back({ItemText(line, padWidth), ParseCode(Field(1, line), listName)});
    return items;
}

std::vector<TVocabularyItem> SpellItems(const std::vector<std::string>& lines,
                                        const std::string& listName) {
    std::vector<TVocabularyItem> items;
    for (const auto& line : lines)
        items.push_back({Field(4, line), ParseCode(Field(1, line), listName)});
    return items;
}

std::unordered_set<int32_t> SpellCodes(const std::vector<std::string>& lines,
                                       const std::string& listName) {
    std::unordered_set<int32_t> codes;
    for (const TVocabularyItem& item : SpellItems(lines, listName))
        codes.insert(item.Code);
    return codes;
}

std::vector<TVocabularyItem> FlagItems(const std::vector<std::string>& lines, int padWidth) {
    std::vector<TVocabularyItem> items;
    for (const auto& line : lines)
        items.push_back({ItemText(line, padWidth), FlagCode(HeadBefore(line, '\t'))});
    return items;
}

std::vector<TGridRow> GridRows(const std::vector<std::string>& lines, const std::string& listName) {
    std::vector<TGridRow> rows;
    for (const auto& line : lines)
        rows.push_back(
            {ParseCode(Field(1, line), listName), Field(2, line), Field(3, line), Field(4, line)});
    return rows;
}

int FlagCode(std::string_view flag) {
    if (flag.empty())
        return 0;
    const auto first = static_cast<unsigned char>(flag[0]);
    const auto second = static_cast<unsigned char>(flag.size() > 1 ? flag[1] : '0');
    return first * 256 + second;
}

std::string FlagCodeText(int code) {
    return {static_cast<char>((code >> 8) & 0xFF), static_cast<char>(code & 0xFF)};
}

std::vector<bool> FlagsToChecks(std::string_view flags, const std::vector<TVocabularyItem>& items) {
    std::vector<bool> checks(items.size(), false);
    for (size_t i = 0; i + 1 < flags.size(); i += 2) {
        const int code = FlagCode(flags.substr(i, 2));
        for (size_t k = 0; k < items.size(); ++k)
            if (items[k].Code == code)
                checks[k] = true;
    }
    return checks;
}

std::string ChecksToFlags(const std::vector<TVocabularyItem>& items,
                          const std::vector<bool>& checks) {
    std::string flags;
    for (size_t k = 0; k < items.size() && k < checks.size(); ++k)
        if (checks[k])
            flags += FlagCodeText(items[k].Code);
    return flags;
}

std::string MergeFlags(std::string_view previous, const std::vector<TVocabularyItem>& items,
                       const std::vector<bool>& checks) {
    std::set<int> named;
    std::set<int> checked;
    for (size_t k = 0; k < items.size(); ++k) {
        named.insert(items[k].Code);
        if (k < checks.size() && checks[k])
            checked.insert(items[k].Code);
    }
    std::string flags;
    std::set<int> present;
    size_t i = 0;
    for (; i + 1 < previous.size(); i += 2) {
        const int code = FlagCode(previous.substr(i, 2));
        if (named.count(code) == 0 || checked.count(code) > 0) {
            flags += previous.substr(i, 2);
            present.insert(code);
        }
    }
    flags += previous.substr(i);
    for (size_t k = 0; k < items.size() && k < checks.size(); ++k)
        if (checks[k] && present.insert(items[k].Code).second)
            flags += FlagCodeText(items[k].Code);
    return flags;
}

int IndexOfCode(const std::vector<TVocabularyItem>& items, int code) {
    for (size_t k = 0; k < items.size(); ++k)
        if (items[k].Code == code)
            return static_cast<int>(k);
    return -1;
}
