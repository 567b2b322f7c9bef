#include "testsupport.h"

#include "obj.h"

#include "strutils.h"

#include <functional>

namespace {

// Two records written back to back, every field and block in use.
const std::vector<std::string> kFullFile = {
    "* Velmora object file v1.0",
    "#1200",
    W("меч~"),
    W("длинный меч~"),
    W("длинного меча~"),
    W("длинному мечу~"),
    W("длинный меч~"),
    W("длинным мечом~"),
    W("длинном мече~"),
    W("Длинный меч лежит здесь.~"),
    W("Вы взмахнули мечом."),
    "~",
    "12 100 90 3",
    "1 -1 -5 30",
    "a0 b0c0 d1",
    "5 a0b0 a0n0",
    "0 3 6 11",
    "12 1500 10 20",
    "E",
    W("меч клинок~"),
    W("Острый клинок."),
    "",
    W("Клеймо мастера."),
    "~",
    "E",
    W("рукоять~"),
    "~",
    "A",
    "12 -3",
    "A",
    "65535 32767",
    "T 1201",
    "T 1202",
    "#1201",
    W("трава~"),
    W("трава~"),
    W("травы~"),
    W("траве~"),
    W("траву~"),
    W("травой~"),
    W("траве~"),
    W("Пучок травы.~"),
    "~",
    "a0c0 0 0 65535",
    "255 2147483647 32767 255",
    "0 0 0",
    "25 0 0",
    "1282 -1 5 0",
    "-2147483648 0 0 0",
    "$",
    "$",
};

// One record with every field 0 or empty; the cases below change one line.
const std::vector<std::string> kPlainFile = {
    "* Velmora object file v1.0",
    "#1200",
    "a~",
    "b~",
    "c~",
    "d~",
    "e~",
    "f~",
    "g~",
    "h~",
    "~",
    "0 0 0 0",
    "0 0 0 0",
    "0 0 0",
    "0 0 0",
    "0 0 0 0",
    "0 0 0 0",
    "$",
    "$",
};

std::string PlainWith(size_t index, const std::string& text) {
    return CrlfWith(kPlainFile, index, text);
}

std::string LoadFailure(int line) {
    return LineError("объекты", "12.obj", line);
}

class ObjFile : public WorldTest {
protected:
    bool LoadObjs(const std::string& bytes) {
        return LoadWorldBytes("объекты", "12.obj", bytes,
                              [this](TWorldReader& reader) { World.Objs.ReadObjects(reader); });
    }

    // Our writer's form: these tests are about what it writes.
    TStringList ZoneLines(int32_t zone) { return OurZoneFileLines(World.Objs, zone); }
};
using ObjRecord = ObjFile;

} // namespace

TEST_F(ObjFile, RoundTripGivesTheSameBytes) {
    const std::string bytes = Crlf(kFullFile);
    ASSERT_TRUE(LoadObjs(bytes));
    EXPECT_TRUE(Reporter.Messages.empty());
    EXPECT_EQ(Crlf(ZoneLines(12)), bytes);

    // The same through the disk.
    World.Objs.SaveToFile(PathOf("12.obj"), 12);
    EXPECT_EQ(ReadBytes(Dir / "12.obj"), bytes);
    World.Clear();
    World.Objs.LoadFromFile(PathOf("12.obj"));
    EXPECT_TRUE(Reporter.Messages.empty());
    EXPECT_EQ(Crlf(ZoneLines(12)), bytes);
}

TEST_F(ObjFile, EveryFieldLandsInItsPlace) {
    ASSERT_TRUE(LoadObjs(Crlf(kFullFile)));
    ASSERT_EQ(World.Objs.Count(), 2);
    const TObj& sword = World.Objs[0];
    EXPECT_EQ(sword.VNum, 1200);
    EXPECT_EQ(sword.Alias, W("меч"));
    EXPECT_EQ(sword.Imen, W("длинный меч"));
    EXPECT_EQ(sword.Rod, W("длинного меча"));
    EXPECT_EQ(sword.Dat, W("длинному мечу"));
    EXPECT_EQ(sword.Vin, W("длинный меч"));
    EXPECT_EQ(sword.Tvor, W("длинным мечом"));
    EXPECT_EQ(sword.Pred, W("длинном мече"));
    EXPECT_EQ(sword.Desc, W("Длинный меч лежит здесь."));
    EXPECT_EQ(sword.Action, W("Вы взмахнули мечом."));
    EXPECT_EQ(sword.TrenSkill, 12);
    EXPECT_EQ(sword.MaxDurab, 100);
    EXPECT_EQ(sword.CurrDurab, 90);
    EXPECT_EQ(sword.Material, 3);
    EXPECT_EQ(sword.Pol, 1);
    EXPECT_EQ(sword.Timer, -1);
    EXPECT_EQ(sword.Spell, -5);
    EXPECT_EQ(sword.SpellLevel, 30);
    EXPECT_EQ(sword.Effects, "a0");
    EXPECT_EQ(sword.Discomfort, "b0c0");
    EXPECT_EQ(sword.Bans, "d1");
    EXPECT_EQ(sword.Kind, 5);
    EXPECT_EQ(sword.Flags, "a0b0");
    EXPECT_EQ(sword.WearFlags, "a0n0");
    EXPECT_EQ(sword.Param1, "0");
    EXPECT_EQ(sword.Param2, 3);
    EXPECT_EQ(sword.Param3, 6);
    EXPECT_EQ(sword.Param4, 11);
    EXPECT_EQ(sword.Weight, 12);
    EXPECT_EQ(sword.Price, 1500);
    EXPECT_EQ(sword.RentInv, 10);
    EXPECT_EQ(sword.RentWear, 20);
    const TExtraDescList descs = {
        {W("меч клинок"), {W("Острый клинок."), "", W("Клеймо мастера.")}},
        {W("рукоять"), {}},
    };
    EXPECT_EQ(sword.ExtraDescs, descs);
    EXPECT_EQ(sword.AddParam,
              (std::vector<int32_t>{PackAddParam(12, -3), PackAddParam(65535, 32767)}));
    EXPECT_EQ(AddParamLocation(sword.AddParam[0]), 12);
    EXPECT_EQ(AddParamModifier(sword.AddParam[0]), -3);
    EXPECT_EQ(sword.Triggers, (std::vector<int32_t>{1201, 1202}));

    const TObj& herb = World.Objs[1];
    EXPECT_EQ(herb.VNum, 1201);
    EXPECT_EQ(herb.Action, "");
    EXPECT_EQ(herb.MagicVector, "a0c0");
    EXPECT_EQ(herb.TrenSkill, 0);
    EXPECT_EQ(herb.Material, 65535);
    EXPECT_EQ(herb.Pol, 255);
    EXPECT_EQ(herb.Timer, 2147483647);
    EXPECT_EQ(herb.Spell, 32767);
    EXPECT_EQ(herb.Effects, "");
    EXPECT_EQ(herb.Discomfort, "");
    EXPECT_EQ(herb.Bans, "");
    EXPECT_EQ(herb.Kind, 25);
    EXPECT_EQ(herb.Flags, "");
    EXPECT_EQ(herb.WearFlags, "");
    EXPECT_EQ(herb.Param1, "1282");
    EXPECT_EQ(herb.Param2, -1);
    EXPECT_EQ(herb.Weight, INT32_MIN);
    EXPECT_TRUE(herb.ExtraDescs.empty());
    EXPECT_TRUE(herb.AddParam.empty());
    EXPECT_TRUE(herb.Triggers.empty());
}

TEST_F(ObjFile, WritesOnlyTheZonesRecordsInNumberOrder) {
    World.Objs.AddNew(1299).Imen = "last";
    World.Objs.AddNew(1300).Imen = "next zone";
    World.Objs.AddNew(1205).Imen = "first";
    World.Objs.AddNew(1199).Imen = "zone before";
    TStringList lines = {"left over"};
    World.Objs.SaveToStrings(lines, 12);
    ASSERT_FALSE(lines.empty());
    EXPECT_EQ(lines.front(), "* Velmora object file v1.0");
    TStringList headers;
    for (const auto& line : lines)
        if (StartsWith(line, '#'))
            headers.push_back(line);
    EXPECT_EQ(headers, (TStringList{"#1205", "#1299"}));
    EXPECT_EQ(std::vector<std::string>(lines.end() - 2, lines.end()), (TStringList{"$", "$"}));
}

TEST_F(ObjFile, EmptyRecordIsWrittenWithZerosAndNoMaxInWorld) {
    TObj& obj = World.Objs.AddNew(1200);
    obj.MaxInWorld = 7;
    EXPECT_EQ(ZoneLines(12), (TStringList{"* Velmora object file v1.0", "#1200", "~", "~", "~", "~",
                                          "~", "~", "~", "~", "~", "0 0 0 0", "0 0 0 0", "0 0 0",
                                          "0 0 0", "0 0 0 0", "0 0 0 0", "$", "$"}));
}

TEST_F(ObjFile, ActionLineForms) {
    struct Case {
        std::vector<std::string> actionLines; // as in the file
        std::string action;                   // as read
        std::vector<std::string> written;     // as written back
    };
    const Case cases[] = {
        {{"~"}, "", {"~"}},
        {{"swing", "~"}, "swing", {"swing", "~"}},
        {{"swing~"}, "swing", {"swing", "~"}},
        // A text ending in a tilde is kept whole by closing it on its own line.
        {{"a~~"}, "a~", {"a~~"}},
        {{"~~"}, "~", {"~~"}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.action);
        World.Clear();
        auto lines = kPlainFile;
        lines.erase(lines.begin() + 10);
        lines.insert(lines.begin() + 10, c.actionLines.begin(), c.actionLines.end());
        lines[lines.size() - 3] = "0 0 0 42"; // the last numeric line still lands in place
        ASSERT_TRUE(LoadObjs(Crlf(lines)));
        ASSERT_EQ(World.Objs.Count(), 1);
        EXPECT_EQ(World.Objs[0].Action, c.action);
        EXPECT_EQ(World.Objs[0].RentWear, 42);

        const TStringList out = ZoneLines(12);
        EXPECT_EQ(
            TStringList(out.begin() + 10, out.begin() + 10 + static_cast<long>(c.written.size())),
            c.written);
        World.Clear();
        ASSERT_TRUE(LoadObjs(Crlf(out)));
        EXPECT_EQ(World.Objs[0].Action, c.action);
    }
    EXPECT_TRUE(Reporter.Messages.empty());
}

TEST_F(ObjFile, OlderFormsAreConverted) {
    struct Case {
        const char* name;
        std::string firstLine, kindLine, paramLine;
        std::string magicVector, param1;
        int16_t trenSkill;
        std::string writtenFirst; // first word of the written first-field line
        std::string writtenParam; // first word of the written parameter line
    };
    const Case cases[] = {
        {"numeric ingredient flags", "5 0 0 0", "25 0 0", "0 0 0 0", "a0c0", "0", 0, "a0c0", "0"},
        {"all six ingredient bits", "63 0 0 0", "25 0 0", "0 0 0 0", "a0b0c0d0e0f0", "0", 0,
         "a0b0c0d0e0f0", "0"},
        {"no ingredient flags", "0 0 0 0", "25 0 0", "0 0 0 0", "", "0", 0, "0", "0"},
        {"trained skill of another kind", "5 0 0 0", "9 0 0", "0 0 0 0", "5", "0", 5, "5", "0"},
        {"flag-coded first value", "0 0 0 0", "15 0 0", "a0b1 0 0 0", "", "3", 0, "0", "3"},
        {"flag-coded high bit", "0 0 0 0", "15 0 0", "z0 0 0 0", "", "33554432", 0, "0",
         "33554432"},
        {"negative first value", "0 0 0 0", "1 0 0", "-1 0 0 0", "", "-1", 0, "0", "-1"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        World.Clear();
        auto lines = kPlainFile;
        lines[11] = c.firstLine;
        lines[14] = c.kindLine;
        lines[15] = c.paramLine;
        ASSERT_TRUE(LoadObjs(Crlf(lines)));
        const TObj& obj = World.Objs[0];
        EXPECT_EQ(obj.MagicVector, c.magicVector);
        EXPECT_EQ(obj.TrenSkill, c.trenSkill);
        EXPECT_EQ(obj.Param1, c.param1);
        const TStringList out = ZoneLines(12);
        EXPECT_EQ(Word(1, out[11]), c.writtenFirst);
        EXPECT_EQ(Word(1, out[15]), c.writtenParam);
    }
    EXPECT_TRUE(Reporter.Messages.empty());
}

TEST_F(ObjFile, FieldRangesAndMalformedLines) {
    struct Case {
        const char* name;
        size_t index;
        std::string text;
        int errorLine; // 0: read without a failure
        std::function<bool(const TObj&)> check = nullptr;
    };
    const Case cases[] = {
        {"header with only #", 1, "#", 2},
        {"header followed by a space", 1, "#1200 ", 2},
        {"material 65535", 11, "0 0 0 65535", 0, [](const TObj& o) { return o.Material == 65535; }},
        {"material 65536", 11, "0 0 0 65536", 12},
        {"negative material", 11, "0 0 0 -1", 12},
        {"durability not a number", 11, "0 1x 0 0", 12},
        {"two spaces separate", 11, "0  7  8  9", 0,
         [](const TObj& o) { return o.MaxDurab == 7 && o.CurrDurab == 8 && o.Material == 9; }},
        {"tab does not separate", 11, "0\t7 8 9", 12},
        {"Pol 255", 12, "255 0 0 0", 0, [](const TObj& o) { return o.Pol == 255; }},
        {"Pol 300", 12, "300 0 0 0", 13},
        {"spell -32768", 12, "0 0 -32768 0", 0, [](const TObj& o) { return o.Spell == -32768; }},
        {"spell 32768", 12, "0 0 32768 0", 13},
        {"spell level 256", 12, "0 0 0 256", 13},
        {"timer beyond 32 bits", 12, "0 2147483648 0 0", 13},
        {"missing word", 12, "0 0 0", 13},
        {"kind 256", 14, "256 0 0", 15},
        {"first value neither number nor flags", 15, "A0 0 0 0", 16},
        {"first value beyond 32 bits", 15, "99999999999 0 0 0", 16},
        {"second value beyond 32 bits", 15, "0 2147483648 0 0", 16},
        {"weight not a number", 16, "0 0 x 0", 17},
        {"effect modifier beyond 16 bits", 17, "A\r\n12 40000\r\n$", 19},
        {"effect location negative", 17, "A\r\n-1 4\r\n$", 19},
        {"trigger not a number", 17, "T x\r\n$", 18},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        World.Clear();
        Reporter.Messages.clear();
        const bool loaded = LoadObjs(PlainWith(c.index, c.text));
        if (c.errorLine == 0) {
            EXPECT_TRUE(loaded);
            EXPECT_TRUE(Reporter.Messages.empty());
            ASSERT_EQ(World.Objs.Count(), 1);
            if (c.check) {
                EXPECT_TRUE(c.check(World.Objs[0]));
            }
        } else {
            EXPECT_FALSE(loaded);
            EXPECT_EQ(Reporter.Messages, (std::vector<std::string>{LoadFailure(c.errorLine)}));
        }
    }
}

TEST_F(ObjFile, AnObjectThatCannotBeReadIsKeptAsItsText) {
    auto lines = kFullFile;
    lines[44] = "300 0 0 0"; // Pol of the second record
    EXPECT_FALSE(LoadObjs(Crlf(lines)));
    EXPECT_EQ(Reporter.Messages, (std::vector<std::string>{LoadFailure(45)}));
    ASSERT_EQ(World.Objs.Count(), 1);
    EXPECT_EQ(World.Objs[0].Triggers.size(), 2u);
    EXPECT_EQ(ZoneFileLines(World.Objs, 12), lines);
    // Changed, the records read go out in our form, the other one as it was.
    World.Objs[0].Alias = "changed";
    const auto written = ZoneFileLines(World.Objs, 12);
    EXPECT_TRUE(std::search(written.begin(), written.end(), lines.begin() + 37,
                            lines.end() - 2) != written.end());
}

TEST_F(ObjFile, CutOffRecordFailsOnTheLineAfterTheLast) {
    const auto lines = std::vector<std::string>(kPlainFile.begin(), kPlainFile.begin() + 14);
    EXPECT_FALSE(LoadObjs(Crlf(lines)));
    EXPECT_EQ(Reporter.Messages, (std::vector<std::string>{LoadFailure(15)}));
    EXPECT_EQ(World.Objs.Count(), 0);
    EXPECT_EQ(ZoneFileLines(World.Objs, 12), lines);
}

TEST_F(ObjFile, CutOffExtraDescriptionStopsQuietly) {
    auto lines = kPlainFile;
    lines.resize(17);
    lines.insert(lines.end(), {"E", "key~", "first line", "", "second line"});
    EXPECT_TRUE(LoadObjs(Crlf(lines)));
    EXPECT_TRUE(Reporter.Messages.empty());
    ASSERT_EQ(World.Objs.Count(), 1);
    const TExtraDescList descs = {{"key", {"first line", "", "second line"}}};
    EXPECT_EQ(World.Objs[0].ExtraDescs, descs);
}

TEST_F(ObjFile, HeaderOnTheLastLineIsNotRead) {
    auto lines = kPlainFile;
    lines.push_back("#1201");
    EXPECT_TRUE(LoadObjs(Crlf(lines)));
    ASSERT_EQ(World.Objs.Count(), 1);
    EXPECT_EQ(World.Objs[0].VNum, 1200);
}

TEST_F(ObjFile, SameNumberTwiceKeepsTheLaterCopy) {
    World.Objs.AddNew(1200).MaxInWorld = 4;
    auto first = kFullFile;
    first.resize(33); // record 1200 with all its blocks
    auto second = kPlainFile;
    second.erase(second.begin()); // its header comment
    first.insert(first.end(), second.begin(), second.end());
    ASSERT_TRUE(LoadObjs(Crlf(first)));
    ASSERT_EQ(World.Objs.Count(), 1);
    const TObj& obj = World.Objs[0];
    EXPECT_EQ(obj.Alias, "a");
    EXPECT_EQ(obj.Action, "");
    EXPECT_EQ(obj.Kind, 0);
    EXPECT_TRUE(obj.ExtraDescs.empty());
    EXPECT_TRUE(obj.AddParam.empty());
    EXPECT_TRUE(obj.Triggers.empty());
    EXPECT_EQ(obj.MaxInWorld, 4); // not in the file: kept
}

TEST_F(ObjFile, MissingFileAndFailedSave) {
    World.Objs.LoadFromFile(PathOf("missing.obj"));
    ASSERT_EQ(Reporter.Messages.size(), 1u);
    EXPECT_EQ(Reporter.Messages[0], "Не могу загрузить объекты\r\nФайл: " + PathOf("missing.obj") +
                                        "\r\n(Не смог открыть файл)");

    Reporter.Messages.clear();
    World.Objs.AddNew(1200);
    World.Objs.SaveToFile(PathOf("no/such/folder/12.obj"), 12);
    EXPECT_EQ(Reporter.Messages, (std::vector<std::string>{SaveError(
                                     "объекты", PathOf("no/such/folder/12.obj"), kNoSuchFolder)}));
}

TEST_F(ObjRecord, AssignCopiesEverythingButTheNumber) {
    ASSERT_TRUE(LoadObjs(Crlf(kFullFile)));
    World.Objs[0].MaxInWorld = 3;
    TObj copy(1250);
    copy.Triggers = {9};
    copy.Assign(World.Objs[0]);
    EXPECT_EQ(copy.VNum, 1250);
    EXPECT_EQ(copy.MaxInWorld, 3);
    EXPECT_EQ(copy.Triggers, World.Objs[0].Triggers);
    EXPECT_EQ(copy.ExtraDescs, World.Objs[0].ExtraDescs);
    // Deep: changing the copy leaves the source alone.
    copy.ExtraDescs[0].Description.Edit().push_back("more");
    copy.AddParam.clear();
    EXPECT_EQ(World.Objs[0].ExtraDescs[0].Description.size(), 3u);
    EXPECT_EQ(World.Objs[0].AddParam.size(), 2u);
}
