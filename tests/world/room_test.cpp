#include "maplayout.h"
#include "testsupport.h"

#include <gtest/gtest.h>

#include <thread>
#include <utility>

namespace {
// A room file with every block in use: description sections, doors, extra
// descriptions and triggers; rooms listed out of number order.
const std::vector<std::string> kRoomFile = {
    "* Velmora room file v1.0",
    "#1201",
    "Площадь~",
    "Широкая площадь.",
    "",
    "<day>RДнём здесь людно.",
    "И шумно.<day>",
    "~",
    "12 a0d1 1",
    "D0",
    "Север виден.~",
    "дверь ворота~",
    "1 1250 1202",
    "D5",
    "~",
    "~",
    "0 -1 -1",
    "E",
    "фонтан~",
    "Старый фонтан.",
    "",
    "Вода.",
    "~",
    "S",
    "T 1200",
    "T 1201",
    "#1202",
    "~",
    "~",
    "12 0 0",
    "S",
    "$",
    "$",
};

void LoadRooms(TWorld& world, const std::string& bytes) {
    LoadWorldBytes("комнаты", "r.wld", bytes,
                   [&world](TWorldReader& r) { world.Rooms.ReadRooms(r); });
}
} // namespace

class Room : public WorldTest {};

TEST_F(Room, HandWrittenFileReadsEveryField) {
    LoadRooms(World, Crlf(W(kRoomFile)));
    ASSERT_EQ(World.Rooms.Count(), 2);
    const TRoom& room = *World.Rooms.Find(1201);
    EXPECT_EQ(room.Name, W("Площадь"));
    EXPECT_EQ(room.Desc.size(), 4u);
    EXPECT_EQ(room.Flags, "a0d1");
    EXPECT_EQ(room.Sector, 1);
    EXPECT_EQ(room.Exits[0].ExitDesc(), W("Север виден."));
    EXPECT_EQ(room.Exits[0].ExitKeywords(), W("дверь ворота"));
    EXPECT_EQ(room.Exits[0].DoorFlags, 1);
    EXPECT_EQ(room.Exits[0].Key, 1250);
    EXPECT_EQ(room.Exits[0].ToRoom, 1202);
    EXPECT_EQ(room.Exits[5].ToRoom, -1);
    EXPECT_EQ(room.Exits[2].ToRoom, 0);
    ASSERT_EQ(room.ExtraDescs.size(), 1u);
    EXPECT_EQ(room.ExtraDescs[0].Description, W(TStringList{"Старый фонтан.", "", "Вода."}));
    EXPECT_EQ(room.Triggers, (std::vector<int32_t>{1200, 1201}));
    EXPECT_TRUE(World.Rooms.Find(1202)->Flags.empty());
    EXPECT_TRUE(Reporter.Messages.empty());
}

TEST_F(Room, WriterGivesBackTheSameBytes) {
    LoadRooms(World, Crlf(W(kRoomFile)));
    TStringList lines;
    World.Rooms.SaveToStrings(lines, 12);
    EXPECT_EQ(Crlf(lines), Crlf(W(kRoomFile)));
}

TEST_F(Room, UntouchedRoomsStayTextUntilFirstUsed) {
    LoadRooms(World, Crlf(W(kRoomFile)));
    const TRoomList& rooms = World.Rooms;
    ASSERT_TRUE(rooms.IsUnread(0) && rooms.IsUnread(1));
    EXPECT_EQ(rooms.VNumAt(1), 1202);
    EXPECT_EQ(rooms.IndexOfVNum(1202), 1);
    // Named in a list, and written as read, without making them.
    EXPECT_EQ(rooms.ListNames(std::nullopt)[0].Text(), "1201  " + W("Площадь"));
    TStringList lines;
    rooms.SaveToStrings(lines, 12);
    EXPECT_EQ(Crlf(lines), Crlf(W(kRoomFile)));
    EXPECT_TRUE(rooms.IsUnread(0));
    // Two threads reading the same room through the const list share the one
    // made first.
    const TRoom* seen[2] = {};
    std::thread other([&] { seen[0] = rooms.Find(1201); });
    seen[1] = rooms.Find(1201);
    other.join();
    EXPECT_EQ(seen[0], seen[1]);
    EXPECT_FALSE(rooms.IsUnread(0));
    EXPECT_EQ(seen[0]->Exits[0].ToRoom, 1202);
    // Made, it writes as it did; an edit shows.
    rooms.SaveToStrings(lines, 12);
    EXPECT_EQ(Crlf(lines), Crlf(W(kRoomFile)));
    World.Rooms.Find(1202)->Sector = 2;
    rooms.SaveToStrings(lines, 12);
    EXPECT_EQ(lines[lines.size() - 4], "12 0 2");
}

TEST_F(Room, RoomsNamedToKeepAreMadeWhileRead) {
    LoadWorldBytes("комнаты", "r.wld", Crlf(W(kRoomFile)), [this](TWorldReader& r) {
        World.Rooms.ReadRooms(r, [](int32_t vnum) { return vnum != 1202; });
    });
    EXPECT_TRUE(World.Rooms.IsUnread(0));
    EXPECT_FALSE(World.Rooms.IsUnread(1));
}

TEST(NumberSet, RunsJoinAndSplitNothing) {
    TNumberSet set;
    for (const int32_t number : {5, 7, 3, 6, 4, INT32_MAX, INT32_MIN, -1, 0})
        EXPECT_TRUE(set.Insert(number)) << number;
    for (const int32_t number : {3, 4, 5, 6, 7, INT32_MAX, INT32_MIN, -1, 0})
        EXPECT_FALSE(set.Insert(number)) << number;
    for (const int32_t number : {2, 8, 1, INT32_MAX - 1, INT32_MIN + 1, -2})
        EXPECT_FALSE(set.Contains(number)) << number;
    std::vector<int32_t> all;
    set.Any([&all](int32_t number) {
        all.push_back(number);
        return false;
    });
    EXPECT_EQ(all, (std::vector<int32_t>{INT32_MIN, -1, 0, 3, 4, 5, 6, 7, INT32_MAX}));
}

TEST_F(Room, WriterDropsEmptyExitsAndOtherZones) {
    TRoom& room = World.Rooms.AddNew(1299);
    room.Exits[1].ToRoom = 0; // no exit
    room.Exits[3].ToRoom = -1;
    World.Rooms.AddNew(1300).Name = "x";
    World.Rooms.AddNew(1250);
    TStringList lines;
    World.Rooms.SaveToStrings(lines, 12);
    EXPECT_EQ(lines,
              (TStringList{"* Velmora room file v1.0", "#1250", "~", "~", "12 0 1", "S", "#1299",
                           "~", "~", "12 0 1", "D3", "~", "~", "0 -1 -1", "S", "$", "$"}));
}

struct RoomFailure {
    const char* name;
    std::vector<std::string> file;
    int line;
    int roomsKept;
};
void PrintTo(const RoomFailure& c, std::ostream* out) {
    *out << c.name;
}

class RoomReadFailure : public WorldTest, public ::testing::WithParamInterface<RoomFailure> {};

// A room that cannot be read is said with its line and kept as its text,
// written back as it was; the rooms around it are read.
TEST_P(RoomReadFailure, ReportsTheLineAndKeepsTheRoomAsText) {
    const auto& c = GetParam();
    LoadRooms(World, Crlf(c.file));
    ASSERT_EQ(Reporter.Messages.size(), 1u);
    EXPECT_EQ(Reporter.Messages[0], LineError("комнаты", "r.wld", c.line));
    EXPECT_EQ(World.Rooms.Count(), c.roomsKept);
    if (c.file[0] != "#") { // a header without a number names no zone to keep it in
        TStringList lines;
        World.Rooms.SaveToStrings(lines, 0);
        EXPECT_EQ(lines, c.file);
    }
}

INSTANTIATE_TEST_SUITE_P(
    Cases, RoomReadFailure,
    ::testing::Values(RoomFailure{"HeaderOnlyHash", {"#", "x~", "~", "1 0 1", "S"}, 1, 0},
                      RoomFailure{"HeaderTrailingSpace", {"#10 ", "x~", "~", "1 0 1", "S"}, 1, 0},
                      RoomFailure{"SectorAbove255", {"#10", "x~", "~", "0 0 256", "S"}, 4, 0},
                      RoomFailure{"BadDirection",
                                  {"#10", "x~", "~", "0 0 1", "D7", "~", "~", "0 -1 5", "S"},
                                  5,
                                  0},
                      RoomFailure{"TabIsNoSeparator", {"#10", "x~", "~", "0 0\t1", "S"}, 4, 0},
                      RoomFailure{"BadKeyInSecondRoom",
                                  {"#10", "a~", "~", "0 0 1", "S", "#11", "b~", "~", "0 0 1", "D1",
                                   "~", "~", "0 key 5", "S"},
                                  13,
                                  1},
                      RoomFailure{"CutAfterDescription", {"#10", "a~", "~"}, 4, 0}),
    [](const auto& p) { return std::string(p.param.name); });

TEST_F(Room, SpacesBetweenFieldsAndEndOfFileCases) {
    // Two spaces parse like one; a header on the last line yields no room; a
    // file cut inside the description stops quietly with the lines read.
    LoadRooms(World, Crlf({"#10", "a~", "~", "0  b0  3", "S", "#11"}));
    EXPECT_EQ(World.Rooms.Count(), 1);
    EXPECT_EQ(World.Rooms.Find(10)->Flags, "b0");
    EXPECT_EQ(World.Rooms.Find(10)->Sector, 3);
    LoadRooms(World, Crlf({"#12", "c~", "line one", "line two"}));
    EXPECT_EQ(World.Rooms.Find(12)->Desc, (TStringList{"line one", "line two"}));
    EXPECT_TRUE(Reporter.Messages.empty());
}

TEST_F(Room, AFirstExitToRoomZeroIsKeptWithoutTheHeader) {
    // The server stops at a room with two header lines: whatever form the
    // header was read in, our form of the room has one.
    LoadRooms(World, Crlf({"#1204", "a~", "~", "12 d1  0", "D0", "~", "~", "0 0 0 0", "D2", "~",
                           "~", "0 0 1205 0", "S", "$", "$"}));
    TRoom& room = *World.Rooms.Find(1204);
    room.Name = "b";
    TStringList lines;
    World.Rooms.SaveToStrings(lines, 12);
    EXPECT_EQ(lines, (TStringList{"#1204", "b~", "~", "12 d1 0", "D2", "~", "~", "0 0 1205 0", "D0",
                                  "~", "~", "0 0 0 0", "S", "$", "$"}));
}

TEST_F(Room, RereadReusesTheRecordAndKeepsMapPosition) {
    TRoom& room = World.Rooms.AddNew(10);
    room.MapX = 5;
    room.MapLevel = 2;
    room.Objects.push_back({});
    TExit& door = room.Exits[2];
    door.SetExitKeywords("k");
    door.ToRoom = 11;
    door.SetTail(" 0 0"); // short enough to stand in the exit itself
    LoadRooms(World, Crlf({"#10", "a~", "~", "0 0 1", "S"}));
    EXPECT_EQ(World.Rooms.Count(), 1);
    EXPECT_EQ(room.MapX, 5);
    EXPECT_EQ(room.MapLevel, 2);
    EXPECT_TRUE(room.Objects.empty());
    EXPECT_EQ(room.Exits[2].ToRoom, 0);         // no exit any more
    EXPECT_EQ(room.Exits[2].ExitKeywords(), "k"); // the other exit fields stay
    EXPECT_EQ(room.Exits[2].Tail(), " 0 0");
    room.Exits[2].SetTail(" 0 0 0 0 0");
    EXPECT_EQ(room.Exits[2].Tail(), " 0 0 0 0 0");
}

TEST_F(Room, AssignCopiesContentsDeeplyButNotExitsOrPosition) {
    TRoom& source = World.Rooms.AddNew(10);
    source.Name = "src";
    source.MapLevel = 3;
    source.Exits[0].ToRoom = 11;
    TRoomObj chest{500, true, 50, {TLinkObj{501, false, 0, 100}}};
    source.Objects.push_back(chest);
    source.Mobs.push_back(TRoomMob{600, false, -1, 2, {TLinkObj{502, false, -1, 100}}});
    TRoom& copy = World.Rooms.AddNew(11);
    copy.Objects.push_back({});
    copy.Assign(source);
    EXPECT_EQ(copy.Name, "src");
    EXPECT_EQ(copy.MapLevel, 0);
    EXPECT_EQ(copy.Exits[0].ToRoom, 0);
    EXPECT_EQ(copy.Objects, source.Objects);
    copy.Objects[0].Contents[0].ObjVNum = 999;
    EXPECT_EQ(source.Objects[0].Contents[0].ObjVNum, 501);
    EXPECT_EQ(copy.Mobs[0].Contents, source.Mobs[0].Contents);
}

// A page hands a room's exits back as a copy of them: they must stay, and a
// room whose exits all go holds none again.
TEST(RoomExits, ExitsHandedBackStayAndNoneLeftHoldsNone) {
    TRoom room(100);
    room.Exits[DirUp].ToRoom = 101;
    const std::array<TExit, DirCount> copy = room.Exits;
    room.Exits = copy;
    EXPECT_EQ(std::as_const(room).Exits[DirUp].ToRoom, 101);
    room.Exits = std::array<TExit, DirCount>{};
    EXPECT_TRUE(room.Exits == TRoomExits());
    EXPECT_EQ(std::as_const(room).Exits[DirUp].ToRoom, 0);
}

TEST(RecordIndex, EveryNumberFindsItsFirstRecord) {
    TRoomList rooms;
    for (const int32_t vnum : {105, -5, 199, 5, 105, -105, INT32_MAX, INT32_MIN})
        rooms.AddNew(vnum);
    EXPECT_EQ(rooms.IndexOfVNum(105), 0); // the first of the two
    EXPECT_EQ(rooms.IndexOfVNum(-5), 1);
    EXPECT_EQ(rooms.IndexOfVNum(5), 3);
    EXPECT_EQ(rooms.IndexOfVNum(-105), 5);
    EXPECT_EQ(rooms.IndexOfVNum(INT32_MAX), 6);
    EXPECT_EQ(rooms.IndexOfVNum(INT32_MIN), 7);
    EXPECT_EQ(rooms.IndexOfVNum(100), -1);
    EXPECT_EQ(rooms.ZoneRecords(1).size(), 2u);
    rooms.Delete(0);
    EXPECT_EQ(rooms.IndexOfVNum(105), 3);
    EXPECT_EQ(rooms.IndexOfVNum(-5), 0);
}

TEST(Directions, ReverseAndNames) {
    EXPECT_EQ(ReverseDir(0), 2);
    EXPECT_EQ(ReverseDir(1), 3);
    EXPECT_EQ(ReverseDir(4), 5);
    EXPECT_EQ(ReverseDir(5), 4);
    EXPECT_EQ(Cp1251ToUtf8(DirectionName(3)), "на запад");
    EXPECT_EQ(Cp1251ToUtf8(DirectionName(5)), "вниз");
}

TEST(DescriptionSections, SplitAndJoin) {
    const TStringList desc = {"Общее.", "Ещё<night>Ночью", "темно.<night>хвост",
                              "<day>RСветло<day>"};
    const TDescSections parts = SplitDescription(desc);
    EXPECT_EQ(parts.General, (TStringList{"Общее.", "Ещё", "хвост"}));
    EXPECT_EQ(parts.Sections[1], (TStringList{"Ночью", "темно."}));
    EXPECT_FALSE(parts.Replacing[1]);
    EXPECT_EQ(parts.Sections[0], (TStringList{"Светло"}));
    EXPECT_TRUE(parts.Replacing[0]);
    // Joined in tag order, each section one entry with its own line breaks.
    EXPECT_EQ(JoinDescription(parts), (TStringList{"Общее.", "Ещё", "хвост", "<day>RСветло<day>",
                                                   "<night>Ночью\r\nтемно.<night>"}));
    // A section written to the file and split again is unchanged.
    EXPECT_EQ(SplitDescription(AsFileLines(JoinDescription(parts))), parts);
}

TEST(DescriptionSections, TextStartingWithRReadsAsReplacing) {
    TDescSections parts;
    parts.Sections[0] = {"Рассвет", "Red sky"};
    parts.Sections[9] = {"Осень\r\n\r\n"};
    const TStringList joined = JoinDescription(parts);
    EXPECT_EQ(joined,
              (TStringList{"<day>Рассвет\r\nRed sky<day>", "<autumnnight>Осень<autumnnight>"}));
    TDescSections red;
    red.Sections[0] = {"Red sky"};
    const TDescSections back = SplitDescription(AsFileLines(JoinDescription(red)));
    EXPECT_TRUE(back.Replacing[0]);
    EXPECT_EQ(back.Sections[0], (TStringList{"ed sky"}));
}
