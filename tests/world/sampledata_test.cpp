// The program folder laid out beside the binaries: its sample workspace
// loads cleanly and is written back byte for byte, every file is
// Windows-1251 with CR LF, and every vocabulary list is there in its layout.
// Also the converter that lays the folder out.

#include "maplayout.h"
#include "shippedlists.h"
#include "strutils.h"
#include "testsupport.h"
#include "zone.h"

#include <algorithm>
#include <cstdlib>
#include <set>
#include <sys/wait.h>

namespace fs = std::filesystem;

namespace {

const fs::path kProgramDir = VELMORA_PROGRAM_DIR;
const fs::path kDataSource = VELMORA_DATA_SOURCE;
const fs::path kWorkspace = kProgramDir / "Zones";

// The files of a folder with one extension, in name order (as the scan lists them).
std::vector<std::string> FilesOfKind(const fs::path& folder, const std::string& extension) {
    std::vector<std::string> files;
    for (const auto& entry : fs::directory_iterator(folder))
        if (entry.is_regular_file() && entry.path().extension() == extension)
            files.push_back(entry.path().string());
    std::sort(files.begin(), files.end());
    return files;
}

// Relative path -> bytes of every file below a folder.
std::map<std::string, std::string> Tree(const fs::path& folder) {
    std::map<std::string, std::string> files;
    for (const auto& entry : fs::recursive_directory_iterator(folder))
        if (entry.is_regular_file())
            files[fs::relative(entry.path(), folder).string()] = ReadBytes(entry.path());
    return files;
}

// The line of `a` where it first differs from `b`, for a readable failure.
std::string FirstDifference(const std::string& a, const std::string& b) {
    size_t pos = 0;
    while (pos < a.size() && pos < b.size() && a[pos] == b[pos])
        ++pos;
    const size_t start = a.rfind('\n', pos == 0 ? 0 : pos - 1);
    const size_t from = start == std::string::npos ? 0 : start + 1;
    return Cp1251ToUtf8(a.substr(from, a.find('\r', from) - from));
}

bool IsValidUtf8(const std::string& bytes) {
    for (size_t i = 0; i < bytes.size();) {
        const auto lead = static_cast<unsigned char>(bytes[i]);
        const size_t extra = lead < 0x80    ? 0
                             : lead >= 0xF0 ? 3
                             : lead >= 0xE0 ? 2
                             : lead >= 0xC0 ? 1
                                            : 9;
        if (extra == 9 || i + extra >= bytes.size())
            return false;
        for (size_t k = 1; k <= extra; ++k)
            if ((static_cast<unsigned char>(bytes[i + k]) & 0xC0) != 0x80)
                return false;
        i += extra + 1;
    }
    return true;
}

// Reads the workspace the way the start-up scan does: every object, mob,
// shop, room (with its layout) and trigger file, then every zone file.
std::vector<TZone> ScanWorkspace(TWorld& world, const fs::path& workspace) {
    for (const auto& file : FilesOfKind(workspace / "OBJ", ".obj"))
        world.Objs.LoadFromFile(file);
    for (const auto& file : FilesOfKind(workspace / "MOB", ".mob"))
        world.Mobs.LoadFromFile(file);
    for (const auto& file : FilesOfKind(workspace / "SHP", ".shp"))
        world.Shops.LoadFromFile(file);
    for (const auto& file : FilesOfKind(workspace / "WLD", ".wld"))
        world.Rooms.LoadFromFile(file);
    for (const auto& file : FilesOfKind(workspace / "TRG", ".trg"))
        world.Triggers.LoadFromFile(file);
    std::vector<TZone> zones;
    for (const auto& file : FilesOfKind(workspace / "ZON", ".zon")) {
        TZone& zone = zones.emplace_back();
        EXPECT_TRUE(zone.OpenZoneFile(world, file)) << file;
    }
    return zones;
}

// Writes one zone's seven files into another workspace.
void SaveZoneTo(const TWorld& world, TZone zone, const fs::path& workspace) {
    zone.ZoneFileName = (workspace / "ZON" / (std::to_string(zone.ZoneNumber) + ".zon")).string();
    zone.DeriveFileNames();
    for (const char* folder : {"ZON", "WLD", "OBJ", "MOB", "SHP", "TRG"})
        fs::create_directories(workspace / folder);
    const int32_t n = zone.ZoneNumber;
    world.Rooms.SaveToFile(zone.RoomFileName, n);
    world.Objs.SaveToFile(zone.ObjFileName, n);
    world.Mobs.SaveToFile(zone.MobFileName, n);
    world.Shops.SaveToFile(zone.ShopFileName, n);
    world.Triggers.SaveToFile(zone.TrigFileName, n);
    EXPECT_TRUE(zone.SaveToFile(world, zone.ZoneFileName));
}

} // namespace

class SampleWorkspace : public WorldTest {};

TEST_F(SampleWorkspace, LoadsWithoutAFailureAndIsWrittenBackByteForByte) {
    const std::vector<TZone> zones = ScanWorkspace(World, kWorkspace);
    EXPECT_TRUE(Reporter.Messages.empty()) << Reporter.Messages.front();
    ASSERT_EQ(zones.size(), 2u);

    const fs::path out = Dir / "Zones";
    for (const TZone& zone : zones)
        SaveZoneTo(World, zone, out);
    EXPECT_TRUE(Reporter.Messages.empty());

    const auto original = Tree(kWorkspace);
    const auto written = Tree(out);
    std::set<std::string> originalNames, writtenNames;
    for (const auto& [name, bytes] : original)
        originalNames.insert(name);
    for (const auto& [name, bytes] : written)
        writtenNames.insert(name);
    EXPECT_EQ(originalNames, writtenNames);
    EXPECT_EQ(original.size(), 14u);
    for (const auto& [name, bytes] : original) {
        const auto found = written.find(name);
        if (found == written.end())
            continue;
        EXPECT_TRUE(bytes == found->second)
            << name << " differs from the line: " << FirstDifference(bytes, found->second);
    }
}

// The sample is there to show every feature of the formats; each of them is
// checked so that an edit of the sample cannot drop one unnoticed.
TEST_F(SampleWorkspace, ExercisesEveryFormatFeature) {
    const std::vector<TZone> zones = ScanWorkspace(World, kWorkspace);
    ASSERT_EQ(zones.size(), 2u);

    std::set<int> levels;
    bool unplaced = false, door = false, keyedDoor = false, closedDoor = false, extraDesc = false;
    std::set<int> sectionsUsed;
    bool replacing = false, objectsInside = false, equipment = false, carried = false;
    bool leader = false, removal = false, roomTrigger = false;
    for (const auto& room : World.Rooms) {
        unplaced |= room->MapLevel == 0;
        if (room->MapLevel != 0)
            levels.insert(room->MapLevel);
        for (const TExit& exit : room->Exits) {
            door |= exit.ToRoom != 0 && exit.DoorFlags != 0;
            keyedDoor |= exit.DoorFlags != 0 && exit.Key != -1 && World.Objs.Find(exit.Key) &&
                         World.Objs.Find(exit.Key)->Kind == 18;
            closedDoor |= exit.DoorFlags != 0 && exit.DoorState != 0;
        }
        extraDesc |= !room->ExtraDescs.empty();
        const TDescSections sections = SplitDescription(room->Desc);
        for (int i = 0; i < kSectionCount; ++i) {
            if (!sections.Sections[static_cast<size_t>(i)].empty())
                sectionsUsed.insert(i);
            replacing |= sections.Replacing[static_cast<size_t>(i)];
        }
        for (const TRoomObj& obj : room->Objects)
            objectsInside |= !obj.Contents.empty();
        for (const TRoomMob& mob : room->Mobs) {
            for (const TLinkObj& item : mob.Contents)
                (item.WearPos == -1 ? carried : equipment) = true;
            leader |= mob.Leader != -1;
        }
        removal |= !room->DelObjects.empty();
        roomTrigger |= !room->Triggers.empty();
    }
    EXPECT_EQ(levels, (std::set<int>{1, 2}));
    EXPECT_TRUE(unplaced);
    EXPECT_TRUE(door);
    EXPECT_TRUE(keyedDoor);
    EXPECT_TRUE(closedDoor);
    EXPECT_TRUE(extraDesc);
    EXPECT_TRUE(sectionsUsed.count(0) && sectionsUsed.count(1)) << "day and night sections";
    EXPECT_GE(sectionsUsed.size(), 4u) << "seasonal sections too";
    EXPECT_TRUE(replacing);
    EXPECT_TRUE(objectsInside);
    EXPECT_TRUE(equipment);
    EXPECT_TRUE(carried);
    EXPECT_TRUE(leader);
    EXPECT_TRUE(removal);
    EXPECT_TRUE(roomTrigger);

    // Objects of several kinds inside containers.
    std::set<int> innerKinds;
    for (const auto& room : World.Rooms)
        for (const TRoomObj& obj : room->Objects)
            for (const TLinkObj& inner : obj.Contents)
                if (const TObj* proto = World.Objs.Find(inner.ObjVNum))
                    innerKinds.insert(proto->Kind);
    EXPECT_GE(innerKinds.size(), 3u);

    bool created = false, deleted = false;
    for (const TZone& zone : zones) {
        created |= !zone.CreatedObjects.empty();
        deleted |= !zone.DeletedMobs.empty();
    }
    EXPECT_TRUE(created);
    EXPECT_TRUE(deleted);

    // A shop whose keeper is placed in one of its rooms.
    bool keeperPlaced = false;
    for (const auto& shop : World.Shops)
        for (int32_t vnum : shop->Rooms)
            if (const TRoom* room = World.Rooms.Find(vnum))
                keeperPlaced |= room->Mobs.IndexOfMob(shop->Seller) >= 0;
    EXPECT_TRUE(keeperPlaced);

    // A trigger of each class, each attached to a record of its class.
    std::set<int> attachedClasses;
    for (const auto& mob : World.Mobs)
        for (int32_t t : mob->Triggers)
            if (const TTrigger* trigger = World.Triggers.Find(t); trigger && trigger->Model == 0)
                attachedClasses.insert(0);
    for (const auto& obj : World.Objs)
        for (int32_t t : obj->Triggers)
            if (const TTrigger* trigger = World.Triggers.Find(t); trigger && trigger->Model == 1)
                attachedClasses.insert(1);
    for (const auto& room : World.Rooms)
        for (int32_t t : room->Triggers)
            if (const TTrigger* trigger = World.Triggers.Find(t); trigger && trigger->Model == 2)
                attachedClasses.insert(2);
    EXPECT_EQ(attachedClasses, (std::set<int>{0, 1, 2}));

    // What the zone file said reached the records.
    const TRoom* square = World.Rooms.Find(1000);
    ASSERT_NE(square, nullptr);
    EXPECT_EQ(square->Exits[DirWest].DoorState, 2);
    ASSERT_EQ(square->Mobs.size(), 2u);
    EXPECT_EQ(square->Mobs[1].Leader, 1001);
    EXPECT_EQ(World.Objs.Find(1000)->MaxInWorld, 10);
    EXPECT_EQ(World.Mobs.Find(1000)->MaxInWorld, 4);
}

// Every laid-out data file holds Windows-1251 text whose lines all end with
// CR LF (the program itself lies beside them).
TEST(ProgramFolder, EveryFileIsWindows1251WithCrLf) {
    const auto files = Tree(kProgramDir);
    ASSERT_FALSE(files.empty());
    for (const auto& [name, bytes] : files) {
        if (name == "VelmoraEd")
            continue;
        SCOPED_TRACE(name);
        ASSERT_FALSE(bytes.empty());
        EXPECT_TRUE(bytes.ends_with("\r\n"));
        bool highBytes = false;
        for (size_t i = 0; i < bytes.size(); ++i) {
            const auto c = static_cast<unsigned char>(bytes[i]);
            if (c == '\n') {
                ASSERT_TRUE(i > 0 && bytes[i - 1] == '\r') << "a bare LF at byte " << i;
            } else if (c == '\r') {
                ASSERT_TRUE(i + 1 < bytes.size() && bytes[i + 1] == '\n')
                    << "a bare CR at byte " << i;
            } else {
                ASSERT_TRUE(c >= 0x20 || c == '\t') << "control byte at " << i;
            }
            ASSERT_NE(c, 0x98) << "unassigned byte at " << i;
            highBytes |= c >= 0x80;
        }
        // Russian text in Windows-1251 is never valid UTF-8.
        EXPECT_FALSE(highBytes && IsValidUtf8(bytes));
    }
}

// Every source file is laid out; the refreshed folders hold its current conversion.
TEST(ProgramFolder, HoldsTheConversionOfEverySourceFile) {
    size_t count = 0;
    for (const auto& entry : fs::recursive_directory_iterator(kDataSource)) {
        if (!entry.is_regular_file() || entry.path().filename() == "CMakeLists.txt")
            continue;
        const fs::path relative = fs::relative(entry.path(), kDataSource);
        SCOPED_TRACE(relative.string());
        ++count;
        const fs::path target = kProgramDir / relative;
        ASSERT_TRUE(fs::exists(target));
        const std::string top = relative.begin()->string();
        if (top != "Bases" && top != "Help")
            continue; // workspace and settings are only laid out once
        std::string expected;
        const std::string source = ReadBytes(entry.path());
        size_t start = 0;
        while (start < source.size()) {
            const size_t end = std::min(source.find('\n', start), source.size());
            expected += Utf8ToCp1251(source.substr(start, end - start)) + "\r\n";
            start = end + 1;
        }
        EXPECT_TRUE(ReadBytes(target) == expected);
    }
    EXPECT_GE(count, 45u + 5u + 1u + 14u + 1u);
}

namespace {

// The fields of a list line: the words between runs of tabs.
std::vector<std::string> Fields(const std::string& line) {
    std::vector<std::string> fields;
    for (int n = 1;; ++n) {
        std::string word = ExtractWord(n, line, "\t");
        if (word.empty())
            return fields;
        fields.push_back(std::move(word));
    }
}

} // namespace

class VocabularyList : public ::testing::TestWithParam<TListCase> {};

TEST_P(VocabularyList, IsLaidOutInItsLayoutWithDistinctCodes) {
    const TListCase& list = GetParam();
    const fs::path path = kProgramDir / "Bases" / list.Name;
    ASSERT_TRUE(fs::exists(path));
    const std::string bytes = ReadBytes(path);
    std::set<std::string> codes;
    size_t entries = 0;
    for (size_t start = 0; start < bytes.size();) {
        const size_t end = bytes.find("\r\n", start);
        const std::string line = bytes.substr(start, end - start);
        start = end + 2;
        const auto fields = Fields(line);
        if (fields.empty() || line[0] == '*')
            continue;
        ++entries;
        SCOPED_TRACE(Cp1251ToUtf8(line));
        EXPECT_NE(line[0], '\t') << "an entry must start with its code";
        EXPECT_TRUE(codes.insert(fields[0]).second) << "code given twice";
        switch (list.Layout) {
        case TLayout::Coded:
            EXPECT_TRUE(IsDecimal(fields[0]));
            EXPECT_GE(fields.size(), 2u);
            EXPECT_LE(fields.size(), 3u);
            break;
        case TLayout::Spell:
            ASSERT_EQ(fields.size(), 4u);
            for (size_t i = 0; i < 3; ++i)
                EXPECT_TRUE(IsDecimal(fields[i]));
            break;
        case TLayout::Flag:
            ASSERT_EQ(fields[0].size(), 2u);
            EXPECT_TRUE(fields[0][0] >= 'a' && fields[0][0] <= 'z');
            EXPECT_TRUE(fields[0][1] >= '0' && fields[0][1] <= '9');
            EXPECT_GE(fields.size(), 2u);
            EXPECT_LE(fields.size(), 3u);
            break;
        }
    }
    EXPECT_GT(entries, 0u);
}

std::string ListName(const ::testing::TestParamInfo<TListCase>& list) {
    return list.param.Name;
}

INSTANTIATE_TEST_SUITE_P(AllLists, VocabularyList, ::testing::ValuesIn(kLists), ListName);

TEST(ProgramFolder, HoldsFortyFiveListsTheScriptLanguageAndTheTemplates) {
    std::set<std::string> expected;
    for (const TListCase& list : kLists)
        expected.insert(list.Name);
    ASSERT_EQ(expected.size(), 45u);
    for (const char* name : {"Template_Obj", "Template_Mob", "Template_Shop", "Template_Trigger",
                             "Template_Room", "ScriptCommands"})
        expected.insert(name);
    std::set<std::string> present;
    for (const auto& entry : fs::directory_iterator(kProgramDir / "Bases"))
        present.insert(entry.path().filename().string());
    EXPECT_EQ(present, expected);
    EXPECT_TRUE(fs::is_regular_file(kProgramDir / "Help" / "Hints"));
    EXPECT_TRUE(fs::is_regular_file(kProgramDir / "VelmoraEd.ini"));
}

// The list codes that the page logic relies on by position.
TEST(ProgramFolder, ListsKeepTheCodesThePagesRelyOn) {
    auto codesOf = [](const char* name) {
        std::vector<std::string> codes;
        const std::string bytes = ReadBytes(kProgramDir / "Bases" / name);
        for (size_t start = 0; start < bytes.size();) {
            const size_t end = bytes.find("\r\n", start);
            const std::string line = bytes.substr(start, end - start);
            start = end + 2;
            if (!line.empty() && line[0] != '*')
                codes.push_back(HeadBefore(line, '\t'));
        }
        return codes;
    };
    // The door type is stored from the entry position: 0, 1, 2, 4, 8.
    EXPECT_EQ(codesOf("DoorFlags"), (std::vector<std::string>{"0", "1", "2", "4", "8"}));
    // The trigger class is taken from the entry position.
    EXPECT_EQ(codesOf("Trigger_Type"), (std::vector<std::string>{"0", "1", "2"}));
    // The object kinds 1 to 25 in code order.
    std::vector<std::string> kinds;
    for (int i = 1; i <= 25; ++i)
        kinds.push_back(std::to_string(i));
    EXPECT_EQ(codesOf("Type"), kinds);
    // The first four container flags are the bits 1, 2, 4 and 8 of the parameter.
    EXPECT_EQ(codesOf("Container").size(), 4u);
    // Start indexes: a new room's sector 1, AC 0 at index 10, abilities 11 at index 11.
    EXPECT_EQ(codesOf("SectorType").at(1), "1");
    EXPECT_EQ(codesOf("AC").at(10), "0");
    EXPECT_EQ(codesOf("Stats").at(11), "11");
    // A spell parameter of 0 is shown as -1, which the spell list names.
    EXPECT_EQ(codesOf("Spells").front(), "-1");
}

// The converter that lays the program folder out, run as the build runs it.
class Datapack : public WorldTest {
protected:
    int Run(const std::string& arguments) {
        const std::string command = std::string("'") + VELMORA_DATAPACK + "' '" +
                                    (Dir / "src").string() + "' '" + (Dir / "out").string() + "' " +
                                    arguments + " 2>'" + (Dir / "stderr").string() + "'";
        const int status = std::system(command.c_str());
        return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    }
    std::string Errors() const { return ReadBytes(Dir / "stderr"); }
};

TEST_F(Datapack, ConvertsUtf8WithLfIntoWindows1251WithCrLf) {
    WriteBytes(Dir / "src/Bases/List", "* Списки\n1\tСевер\tёлка №1\n\n2\tЮг");
    ASSERT_EQ(Run("Bases/List"), 0) << Errors();
    EXPECT_EQ(ReadBytes(Dir / "out/Bases/List"),
              W("* Списки\r\n1\tСевер\tёлка №1\r\n\r\n2\tЮг\r\n"));
}

TEST_F(Datapack, FailsOnAnythingItCannotStoreAndWritesNothing) {
    struct TCase {
        const char* Text;
        const char* Message;
    };
    const TCase cases[] = {
        {"один\nдва 日本\n", "Bad:2:5: a character that cannot be represented in Windows-1251"},
        {"один\r\nдва\r\n", "Bad:1: a CR in the source"},
        {"\xEF\xBB\xBFone\n", "Bad:1:1: a character that cannot be represented"},
        {"ab\xD0\n", "Bad:1:3: a character that cannot be represented"},
        {"a\x01\n", "Bad:1:2: a character that cannot be represented"},
    };
    for (const TCase& c : cases) {
        SCOPED_TRACE(c.Text);
        fs::remove_all(Dir / "out");
        WriteBytes(Dir / "src/Good", "хорошо\n");
        WriteBytes(Dir / "src/Bad", c.Text);
        EXPECT_EQ(Run("Good Bad"), 1);
        EXPECT_NE(Errors().find(c.Message), std::string::npos) << Errors();
        EXPECT_FALSE(fs::exists(Dir / "out"));
    }
}

TEST_F(Datapack, KeepsExistingWorkspaceFilesAndRefreshesTheOthers) {
    WriteBytes(Dir / "src/Bases/List", "1\tновое\n");
    WriteBytes(Dir / "src/Zones/ZON/10.zon", "#10\n");
    WriteBytes(Dir / "src/Zones/ZON/11.zon", "#11\n");
    WriteBytes(Dir / "out/Bases/List", "old\r\n");
    WriteBytes(Dir / "out/Zones/ZON/10.zon", "builder's work\r\n");

    ASSERT_EQ(Run("--refresh Bases/List --keep Zones/ZON/10.zon Zones/ZON/11.zon"), 0) << Errors();
    EXPECT_EQ(ReadBytes(Dir / "out/Bases/List"), W("1\tновое\r\n"));
    EXPECT_EQ(ReadBytes(Dir / "out/Zones/ZON/10.zon"), "builder's work\r\n");
    EXPECT_EQ(ReadBytes(Dir / "out/Zones/ZON/11.zon"), "#11\r\n");
}
