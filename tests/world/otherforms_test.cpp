// Files in the forms other servers of the family write: every one loads, an
// untouched record comes back exactly as it was read, an edited one in our
// form with what we do not model kept in its place, and a normalized zone in
// our form throughout.

#include "testsupport.h"
#include "zone.h"
#include "zonecontents.h"

#include <algorithm>

namespace {

class OtherForms : public WorldTest {
protected:
    template <class List> void Read(List& list, const std::vector<std::string>& file) {
        ASSERT_TRUE(LoadWorldBytes("записи", "f", Crlf(file), [&](TWorldReader& reader) {
            if constexpr (std::is_same_v<List, TRoomList>)
                list.ReadRooms(reader);
            else if constexpr (std::is_same_v<List, TObjList>)
                list.ReadObjects(reader);
            else if constexpr (std::is_same_v<List, TMobList>)
                list.ReadMobs(reader);
            else if constexpr (std::is_same_v<List, TShopList>)
                list.ReadShops(reader, {});
            else
                list.ReadTriggers(reader);
        }));
        EXPECT_TRUE(Reporter.Messages.empty());
    }
    template <class List> std::vector<std::string> Written(const List& list, int32_t zone = 1) {
        TStringList lines;
        list.SaveToStrings(lines, zone);
        return lines;
    }
    TZone ReadZone(const std::vector<std::string>& file) {
        TZone zone;
        EXPECT_TRUE(LoadWorldBytes("зону", "z", Crlf(file),
                                   [&](TWorldReader& reader) { zone.ReadZone(World, reader); }));
        zone.TakeAsUnchanged(World);
        return zone;
    }
    std::vector<std::string> Composed(const TZone& zone) const {
        TStringList lines;
        zone.SaveToStrings(World, lines);
        return lines;
    }
};

// A room with a fourth exit field, an exit to room 0, an exit description
// over two lines closed on a third, keywords over two lines, and "I" lines.
const std::vector<std::string> kRooms = {
    "#100",      "Hall~", "A hall.", "~",       "1 d0h0  0", "D0",  "~",       "~",
    "0 0 101 0", "D1",    "~",       "~",       "0 -1 0 0",  "D2",  "A door",  "to the south",
    "~",         "gate",  "door~",   "1 7 102", "S",         "T 5", "I 1 2 3", "#101",
    "Yard~",     "~",     "1 0 2",   "S",       "$"};

TEST_F(OtherForms, RoomsKeepTheirFormUntilEditedAndTheirExtrasAfter) {
    Read(World.Rooms, kRooms);
    EXPECT_EQ(Written(World.Rooms), kRooms);
    TRoom& hall = *World.Rooms.Find(100);
    EXPECT_EQ(hall.Exits[DirNorth].ToRoom, 101);
    EXPECT_EQ(hall.Exits[DirEast].ToRoom, 0); // room 0 is no exit of ours
    EXPECT_EQ(hall.Exits[DirSouth].ExitDesc(), "A door\r\nto the south");
    EXPECT_EQ(hall.Exits[DirSouth].ExitKeywords(), "gate\r\ndoor");

    hall.Name = "Great hall";
    const std::vector<std::string> edited = {
        "#100",     "Great hall~", "A hall.",   "~",      "1 d0h0 0", "D0",
        "~",        "~",           "0 0 101 0", "D2",     "A door",   "to the south~",
        "gate",     "door~",       "1 7 102",   "D1",     "~",        "~",
        "0 -1 0 0", "S",           "T 5",       "I 1 2 3"};
    std::vector<std::string> expected = edited;
    expected.insert(expected.end(), kRooms.begin() + 23, kRooms.end());
    EXPECT_EQ(Written(World.Rooms), expected);

    // A kept block to room 0 gives way to an exit the builder made there.
    hall.Exits[DirEast].ToRoom = 101;
    const auto lines = Written(World.Rooms);
    EXPECT_EQ(std::count(lines.begin(), lines.end(), "D1"), 1);
    EXPECT_NE(std::find(lines.begin(), lines.end(), "0 -1 101"), lines.end());

    // A record given another number is no longer the text it was read from.
    World.Rooms.Find(101)->VNum = 105;
    const auto renumbered = Written(World.Rooms);
    EXPECT_NE(std::find(renumbered.begin(), renumbered.end(), "#105"), renumbered.end());
    EXPECT_EQ(std::find(renumbered.begin(), renumbered.end(), "#101"), renumbered.end());
}

// A record read again from another file stands for that file's text, in
// whatever form each file has it.
TEST_F(OtherForms, ARecordReadOverAnotherKeepsTheTextReadLast) {
    Read(World.Rooms, {"#101", "Yard~", "~", "1 0 2", "S", "$"});
    const std::vector<std::string> again = {"#101", "Yard~", "~", "1  0  2", "S", "$"};
    Read(World.Rooms, again);
    EXPECT_EQ(Written(World.Rooms), again);
}

const std::vector<std::string> kObjects = {
    "#100",     "a b~", "a~",        "b~",        "c~",    "d~",      "e~",      "f~",      "Desc~",
    "one line", "two~", "0 10 10 0", "0 -1 -1 0", "0 0 0", "5 a0 b0", "0 0 0 0", "1 2 3 4", "M 7",
    "R",        "1 2",  "E",         "key~",      "text",  "~",       "A",       "1 5",     "$"};

TEST_F(OtherForms, ObjectsKeepTheirBlocksAndActionsOfSeveralLines) {
    Read(World.Objs, kObjects);
    EXPECT_EQ(Written(World.Objs), kObjects);
    TObj& obj = *World.Objs.Find(100);
    EXPECT_EQ(obj.Action, "one line\r\ntwo");
    obj.Price = 9;
    const auto lines = Written(World.Objs);
    // An edited record is written in our form, which reads back the same.
    EXPECT_EQ(std::vector<std::string>(lines.begin() + 9, lines.begin() + 12),
              (std::vector<std::string>{"one line", "two", "~"}));
    EXPECT_EQ(lines[17], "1 9 3 4");
    // The M block and everything after it stay where they were.
    EXPECT_EQ(std::vector<std::string>(lines.begin() + 18, lines.end()),
              std::vector<std::string>(kObjects.begin() + 17, kObjects.end()));
}

const std::vector<std::string> kMobs = {"#100",         "x y~",
                                        "x~",           "y~",
                                        "z~",           "w~",
                                        "v~",           "u~",
                                        "Stands.",      "~",
                                        "Looks.",       "~",
                                        "a0 0 -600 E",  "5 15 8 1d99999+1 1000d10+5",
                                        "0d0+200000 0", "8 8 1",
                                        "Str: 504",     "Race: 110",
                                        "Feat: 3 4",    "E",
                                        "T 7",          "I sword,1:2",
                                        "L 1 2 3 4",    "$"};

TEST_F(OtherForms, MobsKeepNamedLinesTheyDoNotKnowAndWideValues) {
    Read(World.Mobs, kMobs);
    EXPECT_EQ(Written(World.Mobs), kMobs);
    TMob& mob = *World.Mobs.Find(100);
    EXPECT_EQ(mob.Hits, (TDice{1, 99999, 1}));
    EXPECT_EQ(mob.Money.Z, 200000);
    EXPECT_EQ(mob.Str, 504);
    mob.Level = 6;
    const auto lines = Written(World.Mobs);
    const auto at = [&](const std::string& line) {
        return std::find(lines.begin(), lines.end(), line) - lines.begin();
    };
    EXPECT_LT(at("6 15 8 1d99999+1 1000d10+5"), at("E"));
    EXPECT_LT(at("Race: 110"), at("E"));
    EXPECT_LT(at("Feat: 3 4"), at("E"));
    EXPECT_EQ(std::vector<std::string>(lines.end() - 5, lines.end()),
              (std::vector<std::string>{"E", "T 7", "I sword,1:2", "L 1 2 3 4", "$"}));
}

TEST_F(OtherForms, PlainShopWithThreeFactorsAndTriggersOfOtherServers) {
    const std::vector<std::string> shop = {"CircleMUD v3.0 Shop File~",
                                           "#100~",
                                           "101",
                                           "-1",
                                           "1.00",
                                           "0.33",
                                           "1.00",
                                           "5",
                                           "-1",
                                           "m1~",
                                           "m2~",
                                           "m3~",
                                           "m4~",
                                           "m5~",
                                           "m6~",
                                           "m7~",
                                           "0",
                                           "0",
                                           "100",
                                           "0",
                                           "100",
                                           "-1",
                                           "0",
                                           "28",
                                           "0",
                                           "0",
                                           "$~"};
    Read(World.Shops, shop);
    EXPECT_EQ(Written(World.Shops), shop);
    EXPECT_DOUBLE_EQ(World.Shops.Find(100)->CoeffChange, 1.0);

    const std::vector<std::string> triggers = {"#100", "t~", "-1 0 100", "~", "say hi", "~",
                                               "#101", "u~", "0 g 0",    "~", "~",      "$"};
    Read(World.Triggers, triggers);
    EXPECT_EQ(Written(World.Triggers), triggers);
    EXPECT_EQ(World.Triggers.Find(100)->Model, -1);
    // The older one-letter flags are converted once the record is written in our form.
    World.Triggers.ForgetSources(1);
    const auto lines = Written(World.Triggers);
    EXPECT_NE(std::find(lines.begin(), lines.end(), "0 g0 0"), lines.end());
}

const std::vector<std::string> kZone = {"#1",
                                        "Zone~",
                                        "#1 0 0",
                                        "^Author (2001)~",
                                        "199 10 0 0 *",
                                        "A 307",
                                        "M 0 200 1 100 1",
                                        "G 3 300 3 -1 -1",
                                        "T 0 2 12912 12900 -1",
                                        "M 0 200 1 101 1",
                                        "D 0 100 0 1 -1\t(no door)",
                                        "S",
                                        "$"};

TEST_F(OtherForms, ZoneFileKeepsWhatItDoesNotModelInItsPlace) {
    for (int vnum : {100, 101})
        World.Rooms.AddNew(vnum).Exits[DirNorth].ToRoom = 101;
    World.Mobs.AddNew(200);
    World.Objs.AddNew(300);
    TZone zone = ReadZone(kZone);
    EXPECT_EQ(Composed(zone), kZone);
    // The placed mobs are contents of their rooms; the trigger stays in the zone file.
    EXPECT_EQ(World.Rooms.Find(100)->Mobs.size(), 1u);
    EXPECT_EQ(World.Rooms.Find(100)->Mobs[0].Contents.size(), 1u);
    EXPECT_TRUE(World.Mobs.Find(200)->Triggers.empty());

    zone.ZoneName = "Renamed";
    std::vector<std::string> edited = kZone;
    edited[1] = "Renamed~";
    edited.insert(edited.begin(), "* Velmora zone file v1.0");
    edited.back() = "$";
    edited.emplace_back("$");
    EXPECT_EQ(Composed(zone), edited);

    // Read again, as Restore does: the contents are placed once, and the
    // trigger command still attaches nothing, so no record file gains it.
    WriteBytes(Dir / "1.zon", Crlf(kZone));
    for (int i = 0; i < 2; ++i)
        ASSERT_TRUE(ReloadZoneFile(World, zone, PathOf("1.zon")));
    EXPECT_EQ(World.Rooms.Find(100)->Mobs.size(), 1u);
    EXPECT_TRUE(World.Mobs.Find(200)->Triggers.empty());
    EXPECT_EQ(Composed(zone), kZone);
}

TEST_F(OtherForms, ZoneCutOffAfterAnEmptyLineLoadsAndGuardReadsTheReadersNumber) {
    TZone zone = ReadZone({"#12", "Cut~", "1299 10 2", "M 0 1 1 1 1", ""});
    EXPECT_EQ(zone.ZoneNumber, 12);
    // "#\t12" is zone 0 to the reader, so the guard must not empty zone 12.
    World.Rooms.AddNew(1200).DelObjects.push_back(5);
    WriteBytes(Dir / "z.zon", "#\t12\rName~\r1299 1 1\rS\r");
    EXPECT_EQ(PeekZoneNumber(PathOf("z.zon")), 0);
    ASSERT_TRUE(ReloadZoneFile(World, zone, PathOf("z.zon")));
    EXPECT_EQ(World.Rooms.Find(1200)->DelObjects.size(), 1u);
}

// Texts made by templates, copies or imports rather than a page may hold a
// line ending with "~": the writers keep it from closing the text early.
TEST_F(OtherForms, TextLinesEndingInTildeReadBackWhole) {
    TRoom& room = World.Rooms.AddNew(100);
    room.Desc = {"wave~", "calm"};
    room.Exits[DirNorth].ToRoom = 101;
    room.Exits[DirNorth].SetExitDesc("gate~\r\nold");
    TObj& obj = World.Objs.AddNew(100);
    obj.Action = "hum~\r\nbuzz";
    TTrigger& trigger = World.Triggers.AddNew(100);
    trigger.Text = {"say hi~", "wait 1"};
    const auto rooms = Written(World.Rooms), objects = Written(World.Objs),
               triggers = Written(World.Triggers);
    World.Clear();
    Read(World.Rooms, rooms);
    Read(World.Objs, objects);
    Read(World.Triggers, triggers);
    EXPECT_EQ(World.Rooms.Find(100)->Desc, (TStringList{"wave~ ", "calm"}));
    EXPECT_EQ(World.Rooms.Find(100)->Exits[DirNorth].ExitDesc(), "gate~ \r\nold");
    EXPECT_EQ(World.Objs.Find(100)->Action, "hum~ \r\nbuzz");
    EXPECT_EQ(World.Triggers.Find(100)->Text, (TStringList{"say hi~ ", "wait 1"}));
}

} // namespace
