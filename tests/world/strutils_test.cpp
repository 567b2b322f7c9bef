#include "compactstring.h"
#include "sparsetext.h"
#include "strutils.h"
#include "testsupport.h"

#include <gtest/gtest.h>

#include <vector>

TEST(StrUtils, WordsSplitOnTheirSeparatorSetOnly) {
    EXPECT_EQ(ExtractWord(2, "1  22 333", " "), "22");
    EXPECT_EQ(ExtractWord(3, "1  22 333", " "), "333");
    EXPECT_EQ(ExtractWord(4, "1  22 333", " "), "");
    EXPECT_EQ(ExtractWord(1, "1\t2 3", " "), "1\t2"); // a tab does not separate
    EXPECT_EQ(ExtractWord(2, "1\t2 3", " \t"), "2");
    EXPECT_EQ(ExtractWord(1, "", " "), "");
    EXPECT_EQ(WordPosition(2, "  ab  cd", " "), 7);
    EXPECT_EQ(WordPosition(3, "ab cd", " "), 0);
}

TEST(StrUtils, CutHeadTrimsTheRestAndKeepsOtherSeparators) {
    std::string s = "alpha beta";
    EXPECT_EQ(CutHead(s, ' '), "alpha");
    EXPECT_EQ(s, "beta");
    s = "key:value";
    EXPECT_EQ(CutHead(s, ':'), "key");
    EXPECT_EQ(s, ":value");
    s = "whole";
    EXPECT_EQ(CutHead(s, ' '), "whole");
    EXPECT_EQ(s, "");
}

TEST(StrUtils, PaddingAndCharacterHelpers) {
    EXPECT_EQ(PadRight("ab", 5, '.'), "ab...");
    EXPECT_EQ(PadRight("abcdef", 3, '.'), "abcdef");
    EXPECT_EQ(PadRightSpaces("", 2), "  ");
    EXPECT_EQ(CharString('x', 3), "xxx");
    EXPECT_EQ(CharString('x', 0), "");
    EXPECT_EQ(CharString('x', -4), "");
    EXPECT_EQ(DeleteSpaces(" a b  c "), "abc");
    EXPECT_EQ(TrimLeadingSpaces("  \tx "), "\tx ");
    EXPECT_EQ(HeadBefore("a/b/c", '/'), "a");
    EXPECT_EQ(HeadBefore("abc", '/'), "abc");
}

TEST(StrUtils, ConversionRoutines) {
    EXPECT_EQ(PlaneZeroFlags("ab"), "a0b0");
    EXPECT_EQ(PlaneZeroFlags(""), "");
    EXPECT_EQ(StripLineEnds("text\r\n\r\n"), "text");
    EXPECT_EQ(StripLineEnds("a\r\nb"), "a\r\nb");
    EXPECT_TRUE(StrToBool("true"));
    EXPECT_TRUE(StrToBool("TRUE"));
    EXPECT_FALSE(StrToBool("1"));
    EXPECT_EQ(BoolToStr(true), "True");
    EXPECT_EQ(BoolToStr(false), "False");
}

// Records are copied for every undo step: a copy that shared its texts with
// the record would change the step's "before" along with the record.
TEST(StrUtils, SparseValuesAreCopiedNotShared) {
    const TSparseList<std::string> lines = {"a", "b"};
    TSparseList<std::string> copy = lines;
    copy[0] = "z";
    EXPECT_EQ(lines[0], "a");
    copy.erase(copy.begin(), copy.end());
    EXPECT_TRUE(copy.empty());
    EXPECT_EQ(copy.begin(), copy.end());
    copy.insert(copy.end(), lines.begin(), lines.end());
    EXPECT_EQ(copy, lines);
    // Items of the list itself, added to it, are read before it grows.
    copy.insert(copy.begin() + 1, copy.begin(), copy.end());
    copy.emplace_back(copy[0]);
    EXPECT_EQ(copy, (TSparseList<std::string>{"a", "a", "b", "b", "a"}));

    TSparse<std::vector<int>> list;
    EXPECT_TRUE(list->empty());
    list.Edit().push_back(1);
    TSparse<std::vector<int>> listCopy = list;
    listCopy.Edit().push_back(2);
    EXPECT_EQ(*list, std::vector<int>{1});
    EXPECT_EQ(listCopy->size(), 2u);
}

// A record's names hold any bytes, inside the string up to 15 and on the
// heap beyond; copies, moves and assignments from the string's own text keep
// them whole.
TEST(StrUtils, CompactStringsKeepEveryByte) {
    for (const std::string& text : {std::string(), std::string(15, 'x'), std::string(16, 'y'),
                                    std::string("a\0b", 3), W("Длинный меч с рунами")}) {
        TCompactString held = text;
        EXPECT_EQ(held.View(), text);
        EXPECT_EQ(held.size(), text.size());
        TCompactString copy = held;
        TCompactString moved = std::move(held);
        EXPECT_EQ(copy, moved);
        EXPECT_TRUE(held.empty()); // NOLINT: a moved-from string is empty
        copy = copy.View().substr(text.empty() ? 0 : 1);
        EXPECT_EQ(copy.Str(), text.empty() ? "" : text.substr(1));
        moved += "~";
        EXPECT_EQ(moved, text + "~");
    }
    static_assert(sizeof(TCompactString) == 16);
}

TEST(Codepage, RussianLettersRoundTripAndKoi8rIsExact) {
    const std::string text = W("Ёё Аа Яя №");
    EXPECT_EQ(text, "\xA8\xB8 \xC0\xE0 \xDF\xFF \xB9");
    EXPECT_EQ(Cp1251ToUtf8(text), "Ёё Аа Яя №");
    EXPECT_EQ(Cp1251ToKoi8r(W("ЁёАя")), "\xB3\xA3\xE1\xD1");
    int lost = 0;
    EXPECT_EQ(Utf8ToCp1251("a\xE2\x82\xAC\xE4\xB8\xAD", &lost),
              "a\x88?"); // euro sign kept, CJK substituted
    EXPECT_EQ(lost, 1);
    for (int b = 0; b < 256; ++b) { // every byte survives the way to UTF-8 and back
        const std::string one(1, static_cast<char>(b));
        EXPECT_EQ(Utf8ToCp1251(Cp1251ToUtf8(one)), one) << b;
    }
}
