#include "testsupport.h"

#include "mob.h"

#include "strutils.h"

#include <functional>

namespace {

// Two records written back to back, every field and named line in use.
const std::vector<std::string> kFullFile = {
    "* Velmora mob file v1.0",
    "#1200",
    W("стражник~"),
    W("стражник~"),
    W("стражника~"),
    W("стражнику~"),
    W("стражника~"),
    W("стражником~"),
    W("стражнике~"),
    W("Стражник охраняет ворота."),
    "~",
    W("Высокий стражник в кольчуге."),
    "",
    W("Он смотрит на вас."),
    "~",
    "a0b0 c0 -350 E",
    "65535 -128 127 3d8+10 1d6+-2",
    "2d4+-1 -2147483648",
    "8 5 1",
    "BareHandAttack: -3",
    "Destination: 3001",
    "Destination: 3002",
    "Destination: 3005",
    "Str: 18",
    "Int: 255",
    "Wis: 1",
    "Dex: 2",
    "Con: 3",
    "Cha: 4",
    "LikeWork: -7",
    "MaxFactor: 50",
    "ExtraAttack: 65535",
    "Class: 200",
    "Size: 40",
    "Height: 180",
    "Weight: 90",
    "Special_Bitvector: a0b1",
    "Spell: 12",
    "Spell: 12",
    "Spell: 30",
    "Skill: 5 100",
    "Skill: 65535 -32768",
    "Helper: 1201",
    "Helper: 1202",
    "E",
    "T 1203",
    "T 1204",
    "#1201",
    "a~",
    "b~",
    "c~",
    "d~",
    "e~",
    "f~",
    "g~",
    "~",
    "~",
    "0 0 0 E",
    "0 0 0 0d0+0 0d0+0",
    "0d0+0 0",
    "0 0 0",
    "BareHandAttack: 0",
    "Str: 0",
    "Int: 0",
    "Wis: 0",
    "Dex: 0",
    "Con: 0",
    "Cha: 0",
    "LikeWork: 0",
    "MaxFactor: 0",
    "ExtraAttack: 0",
    "Class: 0",
    "Size: 0",
    "Height: 0",
    "Weight: 0",
    "E",
    "$",
    "$",
};

// One record with every value 0 or empty; the cases below change one line.
const std::vector<std::string> kPlainFile = {
    "* Velmora mob file v1.0",
    "#1200",
    "a~",
    "b~",
    "c~",
    "d~",
    "e~",
    "f~",
    "g~",
    "~",
    "~",
    "0 0 0 E",
    "0 0 0 0d0+0 0d0+0",
    "0d0+0 0",
    "0 0 0",
    "E",
    "$",
    "$",
};

std::string PlainWith(size_t index, const std::string& text) {
    return CrlfWith(kPlainFile, index, text);
}

std::string LoadFailure(int line) {
    return LineError("мобов", "12.mob", line);
}

class MobFile : public WorldTest {
protected:
    bool LoadMobs(const std::string& bytes) {
        return LoadWorldBytes("мобов", "12.mob", bytes,
                              [this](TWorldReader& reader) { World.Mobs.ReadMobs(reader); });
    }

    // Our writer's form: these tests are about what it writes.
    TStringList ZoneLines(int32_t zone) { return OurZoneFileLines(World.Mobs, zone); }
};
using MobRecord = MobFile;

} // namespace

TEST_F(MobFile, RoundTripGivesTheSameBytes) {
    const std::string bytes = Crlf(kFullFile);
    ASSERT_TRUE(LoadMobs(bytes));
    EXPECT_TRUE(Reporter.Messages.empty());
    EXPECT_EQ(Crlf(ZoneLines(12)), bytes);

    World.Mobs.SaveToFile(PathOf("12.mob"), 12);
    EXPECT_EQ(ReadBytes(Dir / "12.mob"), bytes);
    World.Clear();
    World.Mobs.LoadFromFile(PathOf("12.mob"));
    EXPECT_TRUE(Reporter.Messages.empty());
    EXPECT_EQ(Crlf(ZoneLines(12)), bytes);
}

TEST_F(MobFile, EveryFieldLandsInItsPlace) {
    ASSERT_TRUE(LoadMobs(Crlf(kFullFile)));
    ASSERT_EQ(World.Mobs.Count(), 2);
    const TMob& mob = World.Mobs[0];
    EXPECT_EQ(mob.VNum, 1200);
    EXPECT_EQ(mob.Alias, W("стражник"));
    EXPECT_EQ(mob.Imen, W("стражник"));
    EXPECT_EQ(mob.Rod, W("стражника"));
    EXPECT_EQ(mob.Dat, W("стражнику"));
    EXPECT_EQ(mob.Vin, W("стражника"));
    EXPECT_EQ(mob.Tvor, W("стражником"));
    EXPECT_EQ(mob.Pred, W("стражнике"));
    EXPECT_EQ(mob.Desc, W("Стражник охраняет ворота."));
    EXPECT_EQ(mob.Look,
              (TStringList{W("Высокий стражник в кольчуге."), "", W("Он смотрит на вас.")}));
    EXPECT_EQ(mob.Flags, "a0b0");
    EXPECT_EQ(mob.Affects, "c0");
    EXPECT_EQ(mob.Align, -350);
    EXPECT_EQ(mob.Level, 65535);
    EXPECT_EQ(mob.Hitroll, -128);
    EXPECT_EQ(mob.AC, 127);
    EXPECT_EQ(mob.Hits, (TDice{3, 8, 10}));
    EXPECT_EQ(mob.Damage, (TDice{1, 6, -2}));
    EXPECT_EQ(mob.Money, (TDice{2, 4, -1}));
    EXPECT_EQ(mob.Exp, INT32_MIN);
    EXPECT_EQ(mob.PosLoad, 8);
    EXPECT_EQ(mob.PosDefault, 5);
    EXPECT_EQ(mob.Pol, 1);
    EXPECT_EQ(mob.BareHandAttack, -3);
    EXPECT_EQ(mob.Destination, "3001/3002/3005");
    EXPECT_EQ(mob.Str, 18);
    EXPECT_EQ(mob.Int, 255);
    EXPECT_EQ(mob.Wis, 1);
    EXPECT_EQ(mob.Dex, 2);
    EXPECT_EQ(mob.Con, 3);
    EXPECT_EQ(mob.Cha, 4);
    EXPECT_EQ(mob.LikeWork, -7);
    EXPECT_EQ(mob.MaxFactor, 50);
    EXPECT_EQ(mob.ExtraAttack, 65535);
    EXPECT_EQ(mob.Model, 200);
    EXPECT_EQ(mob.Size, 40);
    EXPECT_EQ(mob.Height, 180);
    EXPECT_EQ(mob.Weight, 90);
    EXPECT_EQ(mob.Special, "a0b1");
    EXPECT_EQ(mob.Spells, (std::vector<int32_t>{PackPair(12, 2), PackPair(30, 1)}));
    EXPECT_EQ(mob.Skills, (std::vector<int32_t>{PackPair(5, 100), PackPair(65535, -32768)}));
    EXPECT_EQ(mob.Helper, (std::vector<int32_t>{1201, 1202}));
    EXPECT_EQ(mob.Triggers, (std::vector<int32_t>{1203, 1204}));

    const TMob& plain = World.Mobs[1];
    EXPECT_EQ(plain.Desc, "");
    EXPECT_TRUE(plain.Look.empty());
    EXPECT_EQ(plain.Flags, "");
    EXPECT_EQ(plain.Affects, "");
    EXPECT_TRUE(plain.Spells.empty());
    EXPECT_TRUE(plain.Triggers.empty());
}

TEST_F(MobFile, NewRecordWritesEveryNamedLineButSpecial) {
    World.Mobs.AddNew(1200).MaxInWorld = 5;
    auto expected = kFullFile;
    expected.erase(expected.begin() + 1, expected.begin() + 47); // keep the plain record only
    expected[1] = "#1200";
    for (size_t i = 2; i <= 8; ++i)
        expected[i] = "~"; // the seven names
    EXPECT_EQ(ZoneLines(12), expected);
}

TEST_F(MobFile, SpellsAreCountedAndWrittenOnePerCast) {
    auto lines = kPlainFile;
    lines.insert(lines.begin() + 15, {"Spell: 12", "Spell: 30", "Spell: 12"});
    ASSERT_TRUE(LoadMobs(Crlf(lines)));
    TMob& mob = World.Mobs[0];
    EXPECT_EQ(mob.Spells, (std::vector<int32_t>{PackPair(12, 2), PackPair(30, 1)}));
    EXPECT_EQ(mob.IndexOfSpell(30), 1);
    EXPECT_EQ(mob.SpellCount(12), 2);
    EXPECT_EQ(mob.SpellCount(30), 1);
    EXPECT_EQ(mob.IndexOfSpell(13), -1);
    EXPECT_EQ(mob.SpellCount(13), 0);
    // Only the low half holds the number: a value of 12 does not match skill 12.
    mob.Skills = {PackPair(7, 12), PackPair(65535, -20)};
    EXPECT_EQ(mob.SkillValue(7), 12);
    EXPECT_EQ(mob.SkillValue(65535), -20);
    EXPECT_EQ(mob.SkillValue(12), 0);

    // Counts of 0 or less write nothing; the rest one line per cast, entry order.
    mob.Spells = {PackPair(30, 1), PackPair(7, 0), PackPair(8, -2), PackPair(12, 2)};
    TStringList spellLines;
    for (const auto& line : ZoneLines(12))
        if (line.starts_with("Spell: "))
            spellLines.push_back(line);
    EXPECT_EQ(spellLines, (TStringList{"Spell: 30", "Spell: 12", "Spell: 12"}));
}

TEST_F(MobFile, DescriptionAndLookForms) {
    struct Case {
        const char* name;
        std::vector<std::string> descAndLook; // the lines between the names and the flag line
        std::string desc;
        TStringList look;
    };
    const Case cases[] = {
        {"empty", {"~", "~"}, "", {}},
        {"text then tilde", {"here", "~", "one", "~"}, "here", {"one"}},
        {"tilde ending the text lines", {"here~", "one", "two~"}, "here", {"one", "two"}},
        {"empty line inside the look",
         {"~", "one", "", "", "two", "~"},
         "",
         {"one", "", "", "two"}},
        {"look starting with an empty line", {"~", "", "x~"}, "", {"", "x"}},
        {"description ending in a tilde", {"here~~", "~"}, "here~", {}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        World.Clear();
        auto lines = kPlainFile;
        lines.erase(lines.begin() + 9, lines.begin() + 11);
        lines.insert(lines.begin() + 9, c.descAndLook.begin(), c.descAndLook.end());
        lines[lines.size() - 7] = "0 0 -9 E"; // the flag line still lands in place
        ASSERT_TRUE(LoadMobs(Crlf(lines)));
        ASSERT_EQ(World.Mobs.Count(), 1);
        EXPECT_EQ(World.Mobs[0].Desc, c.desc);
        EXPECT_EQ(World.Mobs[0].Look, c.look);
        EXPECT_EQ(World.Mobs[0].Align, -9);

        const TStringList written = ZoneLines(12);
        World.Clear();
        ASSERT_TRUE(LoadMobs(Crlf(written)));
        EXPECT_EQ(World.Mobs[0].Desc, c.desc);
        EXPECT_EQ(World.Mobs[0].Look, c.look);
    }
    EXPECT_TRUE(Reporter.Messages.empty());
}

TEST_F(MobFile, FieldRangesAndMalformedLines) {
    struct Case {
        const char* name;
        size_t index;
        std::string text;
        int errorLine; // 0: read without a failure
        std::function<bool(const TMob&)> check = nullptr;
    };
    const Case cases[] = {
        {"header followed by a space", 1, "#1200 ", 2},
        {"align not a number", 11, "0 0 x E", 12},
        {"hitroll -5", 12, "0 -5 0 0d0+0 0d0+0", 0, [](const TMob& m) { return m.Hitroll == -5; }},
        {"hitroll 200", 12, "0 200 0 0d0+0 0d0+0", 13},
        {"armour -129", 12, "0 0 -129 0d0+0 0d0+0", 13},
        {"level 65536", 12, "65536 0 0 0d0+0 0d0+0", 13},
        {"damage without bonus", 12, "0 0 0 0d0+0 1d6", 13},
        {"damage without count", 12, "0 0 0 0d0+0 d6+1", 13},
        {"dice of a real server", 12, "0 0 0 0d0+200000 1d99999+1", 0,
         [](const TMob& m) {
             return m.Hits == TDice{0, 0, 200000} && m.Damage == TDice{1, 99999, 1};
         }},
        {"dice sides 255", 12, "0 0 0 1d255+0 0d0+0", 0,
         [](const TMob& m) {
             return m.Hits == TDice{1, 255, 0};
         }},
        {"dice bonus beyond 32 bits", 12, "0 0 0 1d6+-2147483649 0d0+0", 13},
        {"money without bonus", 13, "1d6 0", 14},
        {"gender 256", 14, "0 0 256", 15},
        {"strength 256", 15, "Str: 256\r\nE", 0, [](const TMob& m) { return m.Str == 256; }},
        {"strength beyond 32 bits", 15, "Str: 2147483648\r\nE", 16},
        {"value glued to its key", 15, "Str:18\r\nE", 16},
        {"bare-hand attack 128", 15, "BareHandAttack: 128\r\nE", 16},
        {"extra attack -1", 15, "ExtraAttack: -1\r\nE", 16},
        {"skill value beyond 16 bits", 15, "Skill: 5 40000\r\nE", 16},
        {"skill without value", 15, "Skill: 5\r\nE", 16},
        {"spell beyond 16 bits", 15, "Spell: 70000\r\nE", 16},
        {"helper not a number", 15, "Helper: x\r\nE", 16},
        {"trigger not a number", 16, "T x", 17},
        {"other keys skipped", 15, "Unknown: 5\r\n\r\nStr 18\r\nRace: x\r\nE", 0,
         [](const TMob& m) { return m.Str == 0; }},
        {"spaces before the value", 15, "Str:   18\r\nE", 0,
         [](const TMob& m) { return m.Str == 18; }},
        {"empty special", 15, "Special_Bitvector: 0\r\nE", 0,
         [](const TMob& m) { return m.Special.empty(); }},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        World.Clear();
        Reporter.Messages.clear();
        const bool loaded = LoadMobs(PlainWith(c.index, c.text));
        if (c.errorLine == 0) {
            EXPECT_TRUE(loaded);
            EXPECT_TRUE(Reporter.Messages.empty());
            ASSERT_EQ(World.Mobs.Count(), 1);
            if (c.check) {
                EXPECT_TRUE(c.check(World.Mobs[0]));
            }
        } else {
            EXPECT_FALSE(loaded);
            EXPECT_EQ(Reporter.Messages, (std::vector<std::string>{LoadFailure(c.errorLine)}));
        }
    }
}

TEST_F(MobFile, WritesOnlyTheZonesRecordsInNumberOrder) {
    World.Mobs.AddNew(1300);
    World.Mobs.AddNew(1299);
    World.Mobs.AddNew(1205);
    TStringList lines = {"left over"};
    World.Mobs.SaveToStrings(lines, 12);
    EXPECT_EQ(lines.front(), "* Velmora mob file v1.0");
    TStringList headers;
    for (const auto& line : lines)
        if (StartsWith(line, '#'))
            headers.push_back(line);
    EXPECT_EQ(headers, (TStringList{"#1205", "#1299"}));
    EXPECT_EQ(TStringList(lines.end() - 3, lines.end()), (TStringList{"E", "$", "$"}));
}

TEST_F(MobFile, CutOffBeforeTheClosingLineStopsQuietly) {
    auto lines = kPlainFile;
    lines.resize(15);
    lines.insert(lines.end(), {"Str: 9", "Helper: 1201"});
    EXPECT_TRUE(LoadMobs(Crlf(lines)));
    EXPECT_TRUE(Reporter.Messages.empty());
    ASSERT_EQ(World.Mobs.Count(), 1);
    EXPECT_EQ(World.Mobs[0].Str, 9);
    EXPECT_EQ(World.Mobs[0].Helper, (std::vector<int32_t>{1201}));
}

TEST_F(MobFile, CutOffInsideTheNumbersFailsOnTheLineAfterTheLast) {
    const auto lines = std::vector<std::string>(kPlainFile.begin(), kPlainFile.begin() + 12);
    EXPECT_FALSE(LoadMobs(Crlf(lines)));
    EXPECT_EQ(Reporter.Messages, (std::vector<std::string>{LoadFailure(13)}));
    EXPECT_EQ(World.Mobs.Count(), 0);
    EXPECT_EQ(ZoneFileLines(World.Mobs, 12), lines);
}

TEST_F(MobFile, RecordWithoutClosingLineDoesNotSwallowTheNext) {
    auto lines = kPlainFile;
    lines.erase(lines.end() - 3); // its "E"
    auto next = kPlainFile;
    next[1] = "#1201";
    next[14] = "0 0 2";
    lines.insert(lines.end() - 2, next.begin() + 1, next.end() - 2);
    lines.insert(lines.end() - 2, "T 1205");
    ASSERT_TRUE(LoadMobs(Crlf(lines)));
    ASSERT_EQ(World.Mobs.Count(), 2);
    EXPECT_EQ(World.Mobs[0].Pol, 0);
    EXPECT_EQ(World.Mobs[1].VNum, 1201);
    EXPECT_EQ(World.Mobs[1].Pol, 2);
    EXPECT_EQ(World.Mobs[1].Triggers, (std::vector<int32_t>{1205}));
}

TEST_F(MobFile, SameNumberTwiceKeepsTheLaterCopy) {
    auto lines = kFullFile;
    lines.resize(47); // record 1200 with all its lines
    auto again = kPlainFile;
    lines.insert(lines.end(), again.begin() + 1, again.end());
    ASSERT_TRUE(LoadMobs(Crlf(lines)));
    ASSERT_EQ(World.Mobs.Count(), 1);
    const TMob& mob = World.Mobs[0];
    EXPECT_EQ(mob.Alias, "a");
    EXPECT_TRUE(mob.Look.empty());
    EXPECT_EQ(mob.Destination, "");
    EXPECT_EQ(mob.Str, 18); // no named line for it in the later copy: kept
    EXPECT_TRUE(mob.Spells.empty());
    EXPECT_TRUE(mob.Skills.empty());
    EXPECT_TRUE(mob.Helper.empty());
    EXPECT_TRUE(mob.Triggers.empty());
}

TEST_F(MobFile, MissingFileAndFailedSave) {
    World.Mobs.LoadFromFile(PathOf("missing.mob"));
    ASSERT_EQ(Reporter.Messages.size(), 1u);
    EXPECT_EQ(Reporter.Messages[0], "Не могу загрузить мобов\r\nФайл: " + PathOf("missing.mob") +
                                        "\r\n(Не смог открыть файл)");
    Reporter.Messages.clear();
    World.Mobs.AddNew(1200);
    World.Mobs.SaveToFile(PathOf("no/such/folder/12.mob"), 12);
    EXPECT_EQ(Reporter.Messages, (std::vector<std::string>{SaveError(
                                     "мобов", PathOf("no/such/folder/12.mob"), kNoSuchFolder)}));
}

TEST_F(MobRecord, AssignCopiesEverythingButTheNumber) {
    ASSERT_TRUE(LoadMobs(Crlf(kFullFile)));
    World.Mobs[0].MaxInWorld = 2;
    TMob copy(1250);
    copy.Helper = {1};
    copy.Assign(World.Mobs[0]);
    EXPECT_EQ(copy.VNum, 1250);
    EXPECT_EQ(copy.MaxInWorld, 2);
    EXPECT_EQ(copy.Look, World.Mobs[0].Look);
    EXPECT_EQ(copy.Helper, World.Mobs[0].Helper);
    EXPECT_EQ(copy.Spells, World.Mobs[0].Spells);
    EXPECT_EQ(copy.Damage, (TDice{1, 6, -2}));
    copy.Look.clear();
    EXPECT_EQ(World.Mobs[0].Look.size(), 3u);
}
