#include "testsupport.h"
#include "vocabulary.h"

#include <gtest/gtest.h>

TEST(Vocabulary, CommentAndBlankLinesGoOthersStayInOrder) {
    const auto lines =
        ParseVocabulary("* header\r\n*more\r\n1\tone\r\n\r\n\t\t\r\n2\ttwo\r\n* c\r\n3\tthree");
    EXPECT_EQ(lines, (std::vector<std::string>{"1\tone", "2\ttwo", "3\tthree"}));
}

TEST(Vocabulary, CodedItemsPadTheNameAndAddTheSuffix) {
    const std::vector<std::string> lines = {"3\tname", "4\tname\t(s)", "5\t\tlead\tsuf", "6"};
    const auto padded = CodedItems(lines, 14);
    EXPECT_EQ(padded[0], (TVocabularyItem{"name" + std::string(10, ' '), 3}));
    EXPECT_EQ(padded[1], (TVocabularyItem{"name" + std::string(10, ' ') + "(s)", 4}));
    EXPECT_EQ(padded[2].Text,
              "lead" + std::string(10, ' ') + "suf"); // runs of tabs are one separator
    EXPECT_EQ(padded[3], (TVocabularyItem{std::string(14, ' '), 6}));
    EXPECT_EQ(CodedItems(lines, 0)[1].Text, "name(s)");
    EXPECT_EQ(CodedItems({"1\tvery long name"}, 4)[0].Text, "very long name"); // not cut
}

TEST(Vocabulary, BadCodesAndMissingFilesAreErrors) {
    EXPECT_THROW(CodedItems({"x\tname"}, 0, "Type"), TVocabularyError);
    EXPECT_THROW(SpellItems({"1.5\t1\t2\tname"}), TVocabularyError);
    try {
        LoadVocabulary("/nonexistent/", "Type");
        FAIL();
    } catch (const TVocabularyError& e) {
        EXPECT_EQ(Cp1251ToUtf8(e.Message), "Не могу открыть файл /nonexistent/Bases/Type");
    }
    // A code of a megabyte is quoted by its first 200 characters.
    try {
        CodedItems({std::string(1 << 20, 'x') + "\tname"}, 0, "Type");
        FAIL();
    } catch (const TVocabularyError& e) {
        EXPECT_EQ(Cp1251ToUtf8(e.Message),
                  "Неверный код \"" + std::string(200, 'x') + "...\" в списке Type");
    }
}

TEST(Vocabulary, SpellAndGridLayouts) {
    const std::vector<std::string> lines = {"12\t3\t15\tогненный шар", "13\t1"};
    EXPECT_EQ(SpellItems(lines), (std::vector<TVocabularyItem>{{"огненный шар", 12}, {"", 13}}));
    const auto rows = GridRows(lines);
    EXPECT_EQ(rows[0].Code, 12);
    EXPECT_EQ(rows[0].Circle, "3");
    EXPECT_EQ(rows[0].Level, "15");
    EXPECT_EQ(rows[0].Name, "огненный шар");
}

TEST(Vocabulary, FlagCodesAndTheRoundTrip) {
    const auto items = FlagItems({"a\tfirst", "b0\tsecond", "c1\tthird"}, 0);
    EXPECT_EQ(items[0].Code, 'a' * 256 + '0');
    EXPECT_EQ(items[2].Code, 'c' * 256 + '1');
    EXPECT_EQ(FlagsToChecks("a0c1", items), (std::vector<bool>{true, false, true}));
    EXPECT_EQ(ChecksToFlags(items, FlagsToChecks("a0c1", items)), "a0c1");
    EXPECT_EQ(ChecksToFlags(items, {false, false, false}), "");
    EXPECT_EQ(FlagsToChecks("b0c", items),
              (std::vector<bool>{false, true, false})); // odd last character ignored
    EXPECT_EQ(ChecksToFlags(items, FlagsToChecks("c1b0a0", items)),
              "a0b0c1");                                                 // rebuilt in list order
    EXPECT_EQ(ChecksToFlags(items, FlagsToChecks("z9a0", items)), "a0"); // unknown pairs dropped
    const auto twice = FlagItems({"a0\tx", "a0\ty"}, 0);
    EXPECT_EQ(ChecksToFlags(twice, FlagsToChecks("a0", twice)), "a0a0");
}

TEST(Vocabulary, MergedFlagsKeepWhatTheListDoesNotTouch) {
    const auto items = FlagItems({"a\tfirst", "b0\tsecond", "c1\tthird"}, 0);
    // Unchanged checks give the string back as it was, order and unknown pairs too.
    for (const std::string flags : {"b0a0z5", "z9", "c1b0a0", "a0b0x", "", "a0a0"})
        EXPECT_EQ(MergeFlags(flags, items, FlagsToChecks(flags, items)), flags) << flags;
    // A cleared check takes its pairs away; a new one follows.
    EXPECT_EQ(MergeFlags("b0a0z5", items, {false, true, true}), "b0z5c1");
    EXPECT_EQ(MergeFlags("b0a0z5", items, {false, false, false}), "z5");
    const auto twice = FlagItems({"a0\tx", "a0\ty"}, 0);
    EXPECT_EQ(MergeFlags("", twice, {true, true}), "a0");
}

TEST(Vocabulary, ShowingACodedValue) {
    const std::vector<TVocabularyItem> items = {{"a", 5}, {"b", 7}};
    EXPECT_EQ(IndexOfCode(items, 7), 1);
    EXPECT_EQ(IndexOfCode(items, 6), -1);
}
