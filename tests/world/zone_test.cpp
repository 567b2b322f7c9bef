#include "testsupport.h"
#include "zone.h"

#include <gtest/gtest.h>

namespace {
// Prototypes and rooms the zone file refers to.
void MakeWorld(TWorld& world) {
    TRoom& square = world.Rooms.AddNew(1201);
    square.Name = W("Площадь");
    square.Exits[0].ToRoom = 1202;
    square.Exits[0].DoorFlags = 1;
    square.Exits[1].ToRoom = 1203; // no door: never in the zone file
    world.Rooms.AddNew(1202).Name = "Inn";
    world.Objs.AddNew(1200).Imen = W("сундук");
    world.Objs.AddNew(1201).Imen = W("меч");
    world.Objs.AddNew(1202).Imen = W("шлем");
    world.Mobs.AddNew(1200).Imen = W("стражник");
    world.Mobs.AddNew(1201).Imen = W("пёс");
}

// A zone file in the writer's form with every command letter in use.
const std::vector<std::string> kZoneFile = {
    "* Velmora zone file v1.0",
    "#12",
    "Город~",
    "1299 30 2",
    "O 1 1202 4 -1 100\t(шлем)",
    "O 0 9999 -1 -1 50",
    "Q 1 1205 -1 -1 -1",
    "Q 0 1206 -1 -1 -1",
    "R 1 1201 1201 -1 -1\t(меч)",
    "O 0 1200 2 1201 100\t(сундук)",
    "P 1 1201 3 1200 75\t(меч)",
    "P 0 1202 4 1200 100\t(шлем)",
    "M 0 1200 5 1201 2\t(стражник)",
    "G 1 1201 3 100 -1\t(меч)",
    "E 0 1202 4 6 90\t(шлем)",
    "M 1 1201 1 1201 0\t(пёс)",
    "F 0 1201 1200 1201 -1\t(стражник)",
    "D 0 1201 0 2 -1\t(Площадь)",
    "S",
    "$",
    "$",
};

bool LoadZone(TWorld& world, TZone& zone, const std::vector<std::string>& lines) {
    const bool loaded = LoadWorldBytes("зону", "12.zon", Crlf(lines),
                                       [&](TWorldReader& r) { zone.ReadZone(world, r); });
    zone.TakeAsUnchanged(world);
    return loaded;
}
} // namespace

class Zone : public WorldTest {};

TEST_F(Zone, CommandsBecomeRoomContents) {
    MakeWorld(World);
    TZone zone;
    ASSERT_TRUE(LoadZone(World, zone, W(kZoneFile)));
    EXPECT_EQ(zone.ZoneNumber, 12);
    EXPECT_EQ(zone.ZoneName, W("Город"));
    EXPECT_EQ(zone.RepopTime, 30);
    EXPECT_EQ(zone.RepopType, 2);
    ASSERT_EQ(zone.CreatedObjects.size(), 2u);
    EXPECT_EQ(zone.CreatedObjects[0].ObjVNum, 1202);
    EXPECT_TRUE(zone.CreatedObjects[0].IfFlag);
    EXPECT_EQ(zone.CreatedObjects[1].Probability, 50);
    EXPECT_EQ(zone.DeletedMobs, (std::vector<int32_t>{PackIfFlag(true, 1205), 1206}));

    const TRoom& room = *World.Rooms.Find(1201);
    EXPECT_EQ(room.DelObjects, (std::vector<int32_t>{PackIfFlag(true, 1201)}));
    ASSERT_EQ(room.Objects.size(), 1u);
    EXPECT_EQ(room.Objects[0].Contents,
              (TLinkObjList{TLinkObj{1201, true, 0, 75, 3}, TLinkObj{1202, false, 0, 100, 4}}));
    ASSERT_EQ(room.Mobs.size(), 2u);
    EXPECT_EQ(room.Mobs[0].MaxInRoom, 2);
    EXPECT_EQ(room.Mobs[0].Contents,
              (TLinkObjList{TLinkObj{1201, true, -1, 100, 3}, TLinkObj{1202, false, 6, 90, 4}}));
    EXPECT_EQ(room.Mobs[1].Leader, 1200);
    EXPECT_EQ(room.Mobs[0].Leader, -1);
    EXPECT_EQ(room.Exits[0].DoorState, 2);
    // The world limit is kept per prototype: the last command read wins.
    EXPECT_EQ(World.Objs.Find(1202)->MaxInWorld, 4);
    EXPECT_EQ(World.Objs.Find(1201)->MaxInWorld, 3);
    EXPECT_EQ(World.Mobs.Find(1200)->MaxInWorld, 5);
}

TEST_F(Zone, WriterGeneratesTheSameCommands) {
    MakeWorld(World);
    TZone zone;
    ASSERT_TRUE(LoadZone(World, zone, W(kZoneFile)));
    TStringList lines;
    zone.SaveToStrings(World, lines);
    EXPECT_EQ(lines, W(kZoneFile));
}

// The server reads a limit per command: a zone read before another that
// limits the same prototype otherwise keeps its own limits, until the
// builder sets the prototype's.
TEST_F(Zone, EachCommandKeepsItsLimitUntilThePrototypesIsChanged) {
    MakeWorld(World);
    TZone zone;
    ASSERT_TRUE(LoadZone(World, zone, W(kZoneFile)));
    World.Rooms.AddNew(1301);
    TZone other;
    ASSERT_TRUE(LoadZone(
        World, other,
        W(std::vector<std::string>{"#13", "Село~", "1399 30 2", "M 0 1200 500 1301 1\t(стражник)",
                                   "O 0 1201 70 1301 100\t(меч)", "S", "$", "$"})));
    EXPECT_EQ(World.Mobs.Find(1200)->MaxInWorld, 500);
    zone.ZoneName = W("Город у реки");
    TStringList lines;
    zone.SaveToStrings(World, lines);
    TStringList expected = W(kZoneFile);
    expected[2] = W("Город у реки~");
    EXPECT_EQ(lines, expected);

    World.Mobs.Find(1200)->MaxInWorld = 7;
    zone.SaveToStrings(World, lines);
    EXPECT_EQ(lines[12], W("M 0 1200 7 1201 2\t(стражник)"));
    other.SaveToStrings(World, lines);
    EXPECT_EQ(lines[4], W("O 0 1201 70 1301 100\t(меч)"));
    EXPECT_EQ(lines[5], W("M 0 1200 7 1301 1\t(стражник)"));
}

TEST_F(Zone, HandWrittenFormsReadLeniently) {
    // Indented commands, comments, lower-case letters, tab-only lines, an
    // if-flag of 3 taken as odd, probability -1 and a comment right after the
    // last field; the header number stops at the first non-digit.
    MakeWorld(World);
    TZone zone;
    ASSERT_TRUE(LoadZone(World, zone,
                         {"#12 junk", "n~", "0 5 1", "* comment", "\t\t", "  o 3 1200 7 1201 -1",
                          "g 1 1201 2 100\t(x)", "m 0 1200 1 1202 3\t(y)", "g 1 1201 2 55\t(x)",
                          "p 1 1202 9 1200 -1", "S"}));
    EXPECT_EQ(zone.ZoneNumber, 12);
    const TRoom& square = *World.Rooms.Find(1201);
    ASSERT_EQ(square.Objects.size(), 1u);
    EXPECT_TRUE(square.Objects[0].IfFlag);
    EXPECT_EQ(square.Objects[0].Probability, 100);
    EXPECT_TRUE(square.Mobs.empty()); // the first G had no mob in its room yet
    const TRoom& inn = *World.Rooms.Find(1202);
    ASSERT_EQ(inn.Mobs.size(), 1u);
    EXPECT_EQ(inn.Mobs[0].Contents, (TLinkObjList{TLinkObj{1201, true, -1, 55, 2}}));
    // A P after an M in another room goes into the last object of the M's room: none there.
    EXPECT_TRUE(square.Objects[0].Contents.empty());
    EXPECT_EQ(World.Objs.Find(1200)->MaxInWorld, 7);
}

// A T command attaches a trigger to the one mob or object just loaded, not to
// every copy of the prototype: it stays a command of the zone, after its record.
TEST_F(Zone, TriggerCommandsStayInTheZoneAfterTheirRecord) {
    MakeWorld(World);
    TZone zone;
    ASSERT_TRUE(LoadZone(World, zone,
                         {"#12", "n~", "0 0 0", "O 0 1200 1 1201 100", "T 1 1 1251",
                          "M 0 1200 1 1202 0", "T 0 0 1252", "T 0 2 1253", "S"}));
    EXPECT_TRUE(World.Objs.Find(1200)->Triggers.empty());
    EXPECT_TRUE(World.Mobs.Find(1200)->Triggers.empty());
    EXPECT_TRUE(World.Rooms.Find(1202)->Triggers.empty());
    TStringList lines;
    zone.ComposeOurForm(World, lines);
    const auto at = [&](const char* prefix) {
        return std::find_if(lines.begin(), lines.end(),
                            [&](const std::string& l) { return l.starts_with(prefix); }) -
               lines.begin();
    };
    EXPECT_EQ(at("T 1 1 1251"), at("O 0 1200") + 1);
    EXPECT_EQ(at("T 0 0 1252"), at("M 0 1200") + 1);
    EXPECT_EQ(at("T 0 2 1253"), at("M 0 1200") + 2);
}

TEST_F(Zone, FailuresReturnFalseWithTheLine) {
    MakeWorld(World);
    TZone zone;
    EXPECT_FALSE(
        LoadZone(World, zone,
                 {"#12", "n~", "0 0 0", "O 0 1200 1 1201 100", "", "O 0 1201 1 1201 100", "S"}));
    EXPECT_EQ(Reporter.Messages.back(),
              "Не могу загрузить зону\r\nФайл: 12.zon\r\n(Ошибка в строке 5)");
    EXPECT_EQ(World.Rooms.Find(1201)->Objects.size(), 1u); // handled before the failure: kept
    EXPECT_FALSE(LoadZone(World, zone, {"#12", "n~", "0 0 0", "D 0 1201 6 1", "S"}));
    EXPECT_EQ(Reporter.Messages.back(),
              "Не могу загрузить зону\r\nФайл: 12.zon\r\n(Ошибка в строке 4)");
    EXPECT_FALSE(LoadZone(World, zone, {"#12", "n~", "0 0 0", "O 0 1200 1 1201 128", "S"}));
    EXPECT_FALSE(LoadZone(World, zone, {"#12", "n~", "0 x 0", "S"}));
    EXPECT_EQ(Reporter.Messages.back(),
              "Не могу загрузить зону\r\nФайл: 12.zon\r\n(Ошибка в строке 3)");
    EXPECT_EQ(Reporter.Messages.size(), 4u);
}

TEST_F(Zone, FileEndingWithoutSKeepsItsLastCommand) {
    MakeWorld(World);
    TZone zone;
    EXPECT_TRUE(LoadZone(World, zone, {"#12", "n~", "0 0 0", "Q 0 1205 -1 -1 -1"}));
    EXPECT_EQ(zone.DeletedMobs, (std::vector<int32_t>{1205}));
    EXPECT_TRUE(LoadZone(World, zone, {"#12", "n~", "0 0 0"}));
}

TEST_F(Zone, EmptyZoneWriterOrderAndLimitsFromPrototypes) {
    World.Objs.AddNew(3001).MaxInWorld = 5;
    TZone zone(7);
    zone.ZoneName = "z";
    zone.CreatedObjects.push_back(TRoomObj{3001, false, 100, {}});
    zone.DeletedMobs.push_back(PackIfFlag(true, 42));
    World.Rooms.AddNew(800); // zone 8: not in zone 7's file
    TStringList lines;
    zone.SaveToStrings(World, lines);
    EXPECT_EQ(lines, (TStringList{"* Velmora zone file v1.0", "#7", "z~", "799 0 0",
                                  "O 0 3001 5 -1 100\t()", "Q 1 42 -1 -1 -1", "S", "$", "$"}));
}

TEST_F(Zone, OpenZoneFileIsSilentTellsWhereAndDerivesNamesFromTheNumberRead) {
    const auto zon = Dir / "Zones" / "ZON" / "99.zon";
    WriteBytes(zon, Crlf({"#12", "n~", "0 bad 0", "S"}));
    TZone zone;
    int failedLine = 0;
    EXPECT_FALSE(zone.OpenZoneFile(World, zon.string(), &failedLine));
    EXPECT_TRUE(Reporter.Messages.empty());
    EXPECT_EQ(failedLine, 3);
    const std::string ws = (Dir / "Zones").string() + "/";
    EXPECT_EQ(zone.ZoneFileName, zon.string());
    EXPECT_EQ(zone.RoomFileName, ws + "WLD/12.wld");
    EXPECT_EQ(zone.ObjFileName, ws + "OBJ/12.obj");
    EXPECT_EQ(zone.MobFileName, ws + "MOB/12.mob");
    EXPECT_EQ(zone.ShopFileName, ws + "SHP/12.shp");
    EXPECT_EQ(zone.TrigFileName, ws + "TRG/12.trg");
}
