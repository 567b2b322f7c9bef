// Each file's own line ends come back on the lines nobody changed: files
// with mixed ends are read, one record is edited and the file saved.

#include "testsupport.h"
#include "zone.h"

#include <algorithm>

namespace {

// The lines joined, each ended by `lineEnd` unless `ends` gives its own.
std::string Joined(const TStringList& lines, const std::string& lineEnd,
                   const std::map<size_t, std::string>& ends = {}) {
    std::string bytes;
    for (size_t i = 0; i < lines.size(); ++i)
        bytes += lines[i] + (ends.contains(i) ? ends.at(i) : lineEnd);
    return bytes;
}

size_t IndexOf(const TStringList& lines, const std::string& line) {
    const auto found = std::find(lines.begin(), lines.end(), line);
    EXPECT_NE(found, lines.end()) << line;
    return static_cast<size_t>(found - lines.begin());
}

class LineEnds : public WorldTest {
protected:
    // Three rooms of zone 12 in our writer's form.
    TStringList OurRoomLines() {
        for (int i = 0; i < 3; ++i) {
            TRoom& room = World.Rooms.AddNew(1200 + i);
            room.Name = "Room " + std::to_string(i);
            room.Desc = {"First line.", "Second line."};
        }
        TStringList lines;
        World.Rooms.SaveToStrings(lines, 12);
        World.Clear();
        return lines;
    }
    // `read` as the file `name` of zone 12, read into `list` and saved
    // untouched: it comes back byte for byte.
    template <class List>
    void ExpectSavedAsRead(List& list, const std::string& name, const std::string& read) {
        WriteBytes(PathOf(name), read);
        ASSERT_TRUE(list.LoadFromFile(PathOf(name)));
        EXPECT_EQ(Saved(list, name), read);
    }
    template <class List> std::string Saved(const List& list, const std::string& name) {
        EXPECT_TRUE(list.SaveToFile(PathOf(name), 12));
        return ReadBytes(PathOf(name));
    }
};

// An LF file (as the server's are) with a CR LF line in one room and stray
// CRs in another's description: the room edited comes back in LF, the rest
// byte for byte.
TEST_F(LineEnds, LfRoomFileKeepsItsCrLfAndStrayCrLinesOnASave) {
    const TStringList ours = OurRoomLines();
    const size_t name0 = IndexOf(ours, "Room 0~");
    const size_t desc1 = IndexOf(ours, "Room 1~") + 1;
    const std::string read = Joined(ours, "\n", {{name0, "\r\n"}, {desc1, "\r\r\r\r\n"}});
    WriteBytes(PathOf("12.map"), "");
    ExpectSavedAsRead(World.Rooms, "12.wld", read);
    EXPECT_EQ(World.Rooms.Find(1201)->Desc, (TStringList{"First line.", "Second line."}));

    World.Rooms.Find(1200)->Name = "Hall";
    TStringList edited = ours;
    edited[name0] = "Hall~";
    EXPECT_EQ(Saved(World.Rooms, "12.wld"), Joined(edited, "\n", {{desc1, "\r\r\r\r\n"}}));
}

// A CR LF file with an LF line in a record otherwise in our form, and a head
// line ended by a lone CR: kept as read until that record is edited.
TEST_F(LineEnds, CrLfObjectFileKeepsItsLfAndLoneCrLines) {
    for (int i = 0; i < 2; ++i) {
        TObj& obj = World.Objs.AddNew(1200 + i);
        obj.Imen = "thing " + std::to_string(i);
        obj.Desc = "Thing " + std::to_string(i) + " lies here.";
    }
    TStringList ours;
    World.Objs.SaveToStrings(ours, 12);
    World.Clear();
    const size_t desc1 = IndexOf(ours, "Thing 1 lies here.~");
    const std::string read = Joined(ours, "\r\n", {{0, "\r"}, {desc1, "\n"}});
    ExpectSavedAsRead(World.Objs, "12.obj", read);

    World.Objs.Find(1201)->Desc = "A thing stands here.";
    TStringList edited = ours;
    edited[desc1] = "A thing stands here.~";
    EXPECT_EQ(Saved(World.Objs, "12.obj"), Joined(edited, "\r\n", {{0, "\r"}}));
}

// A changed zone is composed anew in the file's main end; the lines it keeps
// as read (a parameter line, a command it does not model) keep theirs.
TEST_F(LineEnds, ZoneFileComposedAnewKeepsTheEndsOfTheLinesItKeeps) {
    const TStringList read = {"#12", "Town~", "#1 2 3", "1299 30 2", "T 0 1 1201", "S", "$", "$"};
    const std::string bytes = Joined(read, "\n", {{2, "\r\n"}, {4, "\r\r\n"}});
    WriteBytes(PathOf("12.zon"), bytes);
    TZone zone;
    ASSERT_TRUE(zone.LoadFromFile(World, PathOf("12.zon")));
    ASSERT_TRUE(zone.SaveToFile(World, PathOf("12.zon")));
    EXPECT_EQ(ReadBytes(PathOf("12.zon")), bytes);

    zone.ZoneName = "Village";
    ASSERT_TRUE(zone.SaveToFile(World, PathOf("12.zon")));
    EXPECT_EQ(ReadBytes(PathOf("12.zon")),
              "* Velmora zone file v1.0\n#12\nVillage~\n#1 2 3\r\n1299 30 2\nT 0 1 1201\r\r\n"
              "S\n$\n$\n");
}

// "Привести зону к формату редактора" writes our form, our line end too.
TEST_F(LineEnds, ANormalizedZoneTakesOurLineEnd) {
    const TStringList ours = OurRoomLines();
    WriteBytes(PathOf("12.map"), "");
    ExpectSavedAsRead(World.Rooms, "12.wld", Joined(ours, "\n"));
    World.Rooms.ForgetSources(12);
    EXPECT_EQ(Saved(World.Rooms, "12.wld"), Crlf(ours));
}

} // namespace
