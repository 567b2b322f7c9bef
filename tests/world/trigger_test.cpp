#include "strutils.h"
#include "testsupport.h"

namespace {

class TriggerTest : public WorldTest {
protected:
    bool Load(const std::vector<std::string>& lines) {
        return LoadWorldBytes("триггеры", "12.trg", Crlf(lines),
                              [&](TWorldReader& r) { World.Triggers.ReadTriggers(r); });
    }
    // Our writer's form: these tests are about what it writes.
    TStringList Save(int32_t zone = 12) { return OurZoneFileLines(World.Triggers, zone); }
    // The lines written for the only trigger, between its header and the "$" lines.
    TStringList SavedRecord() {
        const TStringList lines = Save();
        return TStringList(lines.begin() + 2, lines.end() - 2);
    }
    std::string LoadError(int line) {
        return "Не могу загрузить триггеры\r\nФайл: 12.trg\r\n(Ошибка в строке " +
               std::to_string(line) + ")";
    }
};

TEST_F(TriggerTest, RoundTripOfAFullFileGivesTheSameBytes) {
    const std::vector<std::string> file = {"* Velmora trigger file v1.0",
                                           "#1200",
                                           W("приветствие стражника~"),
                                           "0 b0c1 100",
                                           W("привет здравствуй~"),
                                           "if %actor.level% > 10",
                                           W("  say Проходи, %actor.name%."),
                                           "",
                                           "else",
                                           "  say Go away.",
                                           "end",
                                           "~",
                                           "#1201",
                                           "~",
                                           "2 0 -7",
                                           "~",
                                           "~",
                                           "#1299",
                                           "dust~",
                                           "1 a0 0",
                                           "~",
                                           "",
                                           "~",
                                           "$",
                                           "$"};
    WriteBytes(Dir / "TRG" / "12.trg", Crlf(file));
    World.Triggers.LoadFromFile(PathOf("TRG/12.trg"));
    ASSERT_TRUE(Reporter.Messages.empty());
    ASSERT_EQ(World.Triggers.Count(), 3);

    const TTrigger& first = World.Triggers[0];
    EXPECT_EQ(first.VNum, 1200);
    EXPECT_EQ(first.Name, W("приветствие стражника"));
    EXPECT_EQ(first.Model, 0);
    EXPECT_EQ(first.Flags, "b0c1");
    EXPECT_EQ(first.NumParam, 100);
    EXPECT_EQ(first.StrParam, W("привет здравствуй"));
    EXPECT_EQ(first.Text, (TStringList{"if %actor.level% > 10", W("  say Проходи, %actor.name%."),
                                       "", "else", "  say Go away.", "end"}));
    EXPECT_EQ(World.Triggers[1].Model, 2);
    EXPECT_EQ(World.Triggers[1].NumParam, -7);
    EXPECT_TRUE(World.Triggers[1].Flags.empty());
    EXPECT_TRUE(World.Triggers[1].Text.empty());
    EXPECT_EQ(World.Triggers[2].Text, (TStringList{""}));

    World.Triggers.SaveToFile(PathOf("TRG/out.trg"), 12);
    EXPECT_TRUE(Reporter.Messages.empty());
    EXPECT_EQ(ReadBytes(Dir / "TRG" / "out.trg"), Crlf(file));
}

TEST_F(TriggerTest, OlderOneLetterFlagsGetPlaneZero) {
    const std::vector<std::pair<std::string, std::string>> cases = {
        {"c", "c0"},       {"bf", "b0f0"}, {"b0f1", "b0f1"}, {"0", ""},           {"a0", "a0"},
        {"abc", "a0b0c0"}, {"a9", "a9"},   {"a:", "a0:0"},   {W("бв"), W("б0в0")}};
    for (const auto& [word, flags] : cases) {
        World.Triggers.Clear();
        ASSERT_TRUE(Load({"#1200", "t~", "0 " + word + " 1", "~", "~"})) << word;
        EXPECT_EQ(World.Triggers[0].Flags, flags) << word;
        EXPECT_EQ(SavedRecord().at(1), "0 " + (flags.empty() ? "0" : flags) + " 1") << word;
    }
}

TEST_F(TriggerTest, ScriptEndsAtTheFirstLineEndingInTilde) {
    ASSERT_TRUE(Load({"#1200", "t~",    "0 0 0", "~",     "wait 1",   "",        "end~",
                      "#1201", "u~",    "1 0 0", "~",     "say one~", "say two", "~",
                      "junk",  "#1202", "v~",    "2 0 0", "~",        "~",       "~"}));
    ASSERT_EQ(World.Triggers.Count(), 3);
    EXPECT_EQ(World.Triggers[0].Text, (TStringList{"wait 1", "", "end"}));
    // The lines after a tilde in the middle are skipped up to the next record.
    EXPECT_EQ(World.Triggers[1].Text, (TStringList{"say one"}));
    EXPECT_EQ(World.Triggers[1].Name, "u");
    // A lone "~" ends the script before a later "~" line; the extra one is skipped.
    EXPECT_TRUE(World.Triggers[2].Text.empty());
    EXPECT_EQ(World.Triggers[2].Model, 2);

    const TStringList lines = Save();
    const TStringList first(lines.begin() + 1, lines.begin() + 9);
    EXPECT_EQ(first, (TStringList{"#1200", "t~", "0 0 0", "~", "wait 1", "", "end", "~"}));
}

TEST_F(TriggerTest, EmptyScripts) {
    // Read with only the "~" line: written back with only the "~" line.
    ASSERT_TRUE(Load({"#1200", "t~", "0 0 0", "~", "~"}));
    EXPECT_TRUE(World.Triggers[0].Text.empty());
    EXPECT_EQ(SavedRecord(), (TStringList{"t~", "0 0 0", "~", "~"}));

    // An edited script left empty is one empty entry: one empty line, then "~".
    World.Triggers[0].Text = {""};
    EXPECT_EQ(SavedRecord(), (TStringList{"t~", "0 0 0", "~", "", "~"}));
    World.Triggers.SaveToFile(PathOf("12.trg"), 12);
    World.Triggers.Clear();
    World.Triggers.LoadFromFile(PathOf("12.trg"));
    ASSERT_EQ(World.Triggers.Count(), 1);
    EXPECT_EQ(World.Triggers[0].Text, (TStringList{""}));
    EXPECT_TRUE(Reporter.Messages.empty());
}

TEST_F(TriggerTest, EntriesHoldingSeveralLinesAreWrittenAsSeveralLines) {
    const std::vector<std::pair<std::string, TStringList>> cases = {
        {"a\r\nb\r\nc", {"a", "b", "c"}},
        {"a\r\nb\r\n", {"a", "b", ""}},
        {"a\r\n\r\nb", {"a", "", "b"}},
        {"a\nb\rc", {"a", "b", "c"}},
        {"\r\n", {"", ""}},
        {"end", {"end"}}};
    for (const auto& [entry, written] : cases) {
        World.Triggers.Clear();
        World.Triggers.AddNew(1200).Text = {entry, "last"};
        TStringList expected = {"~", "0 0 0", "~"};
        expected.insert(expected.end(), written.begin(), written.end());
        expected.insert(expected.end(), {"last", "~"});
        EXPECT_EQ(SavedRecord(), expected) << entry;
    }
}

TEST_F(TriggerTest, OnlyTheZonesTriggersAreWrittenInNumberOrder) {
    for (const int32_t vnum : {1300, 1250, 1199, 1200, 1299})
        World.Triggers.AddNew(vnum);
    TStringList headers;
    for (const auto& line : Save())
        if (StartsWith(line, '#'))
            headers.push_back(line);
    EXPECT_EQ(headers, (TStringList{"#1200", "#1250", "#1299"}));

    TStringList lines = {"stale"};
    World.Triggers.SaveToStrings(lines, 14);
    EXPECT_EQ(lines, (TStringList{"* Velmora trigger file v1.0", "$", "$"}));
}

TEST_F(TriggerTest, ConversionFailuresNameTheirLine) {
    struct Case {
        size_t index; // line of the record to replace, 0 = header
        std::string text;
    };
    const std::vector<Case> cases = {{0, "#"},        {0, "#1200 "},         {0, "#12a"},
                                     {0, "#1200 E~"}, {2, "32768 0 0"},      {2, "-32769 0 0"},
                                     {2, "0 0"},      {2, "0\t0 0"},         {2, "0 0 x"},
                                     {2, ""},         {2, "0 0 99999999999"}};
    for (const auto& c : cases) {
        World.Triggers.Clear();
        Reporter.Messages.clear();
        std::vector<std::string> file = {
            "* Velmora trigger file v1.0", "#1200", "t~", "0 a0 5", "arg~", "end", "~", "$", "$"};
        file.at(c.index + 1) = c.text;
        EXPECT_FALSE(Load(file)) << c.text;
        EXPECT_EQ(Reporter.Messages,
                  (std::vector<std::string>{LoadError(static_cast<int>(c.index) + 2)}))
            << c.text;
    }
}

TEST_F(TriggerTest, TwoSpacesSeparateLikeOne) {
    ASSERT_TRUE(Load({"#1200", "t~", "255  c1   42", "~", "~"}));
    EXPECT_EQ(World.Triggers[0].Model, 255);
    EXPECT_EQ(World.Triggers[0].Flags, "c1");
    EXPECT_EQ(World.Triggers[0].NumParam, 42);
}

TEST_F(TriggerTest, ATriggerThatCannotBeReadIsKeptAsItsText) {
    const std::vector<std::string> file = {"#1200", "a~", "0 0 1", "~", "end~", "#1201",
                                           "b~",    "zero 0 0", "~", "~", "#1202", "c~",
                                           "0 0 1", "~",     "go~"};
    EXPECT_FALSE(Load(file));
    EXPECT_EQ(Reporter.Messages, (std::vector<std::string>{LoadError(8)}));
    ASSERT_EQ(World.Triggers.Count(), 2); // the ones before and after it
    EXPECT_EQ(World.Triggers[0].Text, (TStringList{"end"}));
    EXPECT_EQ(World.Triggers[1].VNum, 1202);
    EXPECT_EQ(ZoneFileLines(World.Triggers, 12), file);
    // Written in our form throughout, it keeps its text and its place.
    World.Triggers.ForgetSources(12);
    const TStringList written = Save();
    const TStringList kept(file.begin() + 5, file.begin() + 10);
    const auto at = std::search(written.begin(), written.end(), kept.begin(), kept.end());
    ASSERT_NE(at, written.end());
    EXPECT_LT(std::find(written.begin(), written.end(), "#1200"), at);
    EXPECT_EQ(*(at + 5), "#1202");
}

TEST_F(TriggerTest, CutOffFiles) {
    // Cut off before the numbers line: a failure on the line after the last.
    EXPECT_FALSE(Load({"#1200", "t~"}));
    EXPECT_EQ(Reporter.Messages, (std::vector<std::string>{LoadError(3)}));
    EXPECT_EQ(World.Triggers.Count(), 0);
    EXPECT_EQ(ZoneFileLines(World.Triggers, 12), (std::vector<std::string>{"#1200", "t~"}));

    // Cut off inside the script: the read ends quietly with the lines read.
    Reporter.Messages.clear();
    World.Triggers.Clear();
    EXPECT_TRUE(Load({"#1200", "t~", "0 0 0", "~", "wait 1", "say hi"}));
    EXPECT_TRUE(Load({"#1201", "u~", "0 0 0", "~"}));
    EXPECT_TRUE(Reporter.Messages.empty());
    ASSERT_EQ(World.Triggers.Count(), 2);
    EXPECT_EQ(World.Triggers[0].Text, (TStringList{"wait 1", "say hi"}));
    EXPECT_TRUE(World.Triggers[1].Text.empty());

    // A header on the very last line yields no trigger.
    EXPECT_TRUE(Load({"* Velmora trigger file v1.0", "$", "#1202"}));
    EXPECT_EQ(World.Triggers.Count(), 2);
}

TEST_F(TriggerTest, ReadingReplacesAnExistingTrigger) {
    TTrigger& trigger = World.Triggers.AddNew(1200);
    trigger.Text = {"old one", "old two"};
    trigger.Flags = "z9";
    ASSERT_TRUE(Load({"#1200", "new~", "1 0 3", "arg~", "fresh~"}));
    ASSERT_EQ(World.Triggers.Count(), 1);
    EXPECT_EQ(World.Triggers[0].Name, "new");
    EXPECT_TRUE(World.Triggers[0].Flags.empty());
    EXPECT_EQ(World.Triggers[0].StrParam, "arg");
    EXPECT_EQ(World.Triggers[0].Text, (TStringList{"fresh"}));
}

TEST_F(TriggerTest, FileFailuresAreReportedWithTheirMessages) {
    World.Triggers.LoadFromFile(PathOf("missing.trg"));
    World.Triggers.AddNew(1200);
    World.Triggers.SaveToFile(PathOf("no/such/folder/12.trg"), 12);
    EXPECT_EQ(Reporter.Messages,
              (std::vector<std::string>{
                  "Не могу загрузить триггеры\r\nФайл: " + PathOf("missing.trg") +
                      "\r\n(Не смог открыть файл)",
                  SaveError("триггеры", PathOf("no/such/folder/12.trg"), kNoSuchFolder)}));
}

TEST_F(TriggerTest, AssignCopiesEverythingButTheNumber) {
    TTrigger source(1200);
    source.Name = "n";
    source.Model = 2;
    source.Flags = "a1";
    source.NumParam = 9;
    source.StrParam = "s";
    source.Text = {"x", "y"};
    TTrigger& copy = World.Triggers.AddNew(1250);
    copy.Assign(source);
    EXPECT_EQ(copy.VNum, 1250);
    EXPECT_EQ(copy.Name, "n");
    EXPECT_EQ(copy.Model, 2);
    EXPECT_EQ(copy.Flags, "a1");
    EXPECT_EQ(copy.NumParam, 9);
    EXPECT_EQ(copy.StrParam, "s");
    EXPECT_EQ(copy.Text, source.Text);
    EXPECT_EQ(World.Triggers.CaptionOf(1250), "1250 n");
}

} // namespace
