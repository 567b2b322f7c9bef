// Publishing zones into a server's world folder: the file of each zone's
// kind, the index files, what is never written over, and the change list.

#include "codepage.h"
#include "publish.h"
#include "testsupport.h"
#include "workspacescan.h"

#include <algorithm>

namespace fs = std::filesystem;

namespace {

class Publish : public WorldTest {
protected:
    fs::path Server() const { return Dir / "server"; }
    void Put(const std::string& name, const std::string& bytes) const {
        WriteBytes(Server() / name, bytes);
    }
    std::string Get(const std::string& name) const { return ReadBytes(Server() / name); }
    // A zone as the workspace scan would give it, read from ZON/<file>.
    TZone& AddZone(int32_t number, const std::string& file) {
        TZone& zone = World.AddZone(std::make_unique<TZone>(number));
        zone.ZoneName = "Zone";
        zone.ZoneFileName = PathOf("ws/ZON/" + file);
        zone.DeriveFileNames();
        return zone;
    }
    void AddRoom(int32_t vnum, const std::string& name) { World.Rooms.AddNew(vnum).Name = name; }
    TPublishPlan Plan(const std::vector<const TZone*>& zones,
                      const std::vector<const TZone*>& others = {},
                      bool createIndexes = false) const {
        TPublishOptions options;
        options.CreateMissingIndexes = createIndexes;
        return PlanPublish(World, zones, others, FindServerFolders(Server().string()), options);
    }
    static const TServerFile* FileOf(const TPublishPlan& plan, const std::string& label) {
        for (const TServerFile& file : plan.Files)
            if (ServerFileLabel(file) == label)
                return &file;
        return nullptr;
    }
    std::vector<std::string> Entries() const {
        std::vector<std::string> names;
        for (const auto& entry : fs::recursive_directory_iterator(Server()))
            names.push_back(fs::relative(entry.path(), Server()).string());
        std::sort(names.begin(), names.end());
        return names;
    }
};

TEST(IndexWithEntry, InsertsInNumberOrderBeforeTheDollarKeepingTheLineEnds) {
    EXPECT_EQ(IndexWithEntry("1.zon\n30.zon\n$\n", "16.zon", TServerLineEnd::Lf),
              "1.zon\n16.zon\n30.zon\n$\n");
    EXPECT_EQ(IndexWithEntry("1.zon\r\n30.zon\r\n$\r\n", "31.zon", TServerLineEnd::Lf),
              "1.zon\r\n30.zon\r\n31.zon\r\n$\r\n");
    // "$" stays last; an index without it gains the entry at its end.
    EXPECT_EQ(IndexWithEntry("$\n", "5.wld", TServerLineEnd::Lf), "5.wld\n$\n");
    EXPECT_EQ(IndexWithEntry("1.wld", "5.wld", TServerLineEnd::CrLf), "1.wld\r\n5.wld\r\n");
    EXPECT_EQ(IndexWithEntry("", "5.wld", TServerLineEnd::CrLf), "5.wld\r\n");
}

// The kinds go into the folders the server has, whatever their case; the zone
// file back into the file it came from; a kind without records writes nothing.
TEST_F(Publish, EachKindGoesIntoTheServersFolderAndTheZoneIntoItsOwnFile) {
    Put("zon/index", "10.zon\n3000.zon\n$\n");
    Put("WLD/index", "10.wld\r\n$\r\n");
    Put("obj/index", "$\n");
    TZone& zone = AddZone(20, "2000.zon"); // a server's 2000.zon may hold zone 20
    AddRoom(2000, "Hall");
    const TPublishPlan plan = Plan({&zone});
    ASSERT_EQ(plan.Files.size(), 2u);
    EXPECT_EQ(plan.Files[0].Path, (Server() / "zon/2000.zon").string());
    EXPECT_EQ(plan.Files[1].Path, (Server() / "WLD/20.wld").string());
    const TPublishResult result = WritePublishPlan(plan);
    EXPECT_EQ(result.Written, 2);
    EXPECT_EQ(result.New, 2);
    EXPECT_TRUE(Reporter.Messages.empty()) << Reporter.Messages.front();
    EXPECT_EQ(Get("zon/index"), "10.zon\n2000.zon\n3000.zon\n$\n");
    EXPECT_EQ(Get("WLD/index"), "10.wld\r\n20.wld\r\n$\r\n");
    EXPECT_EQ(Get("obj/index"), "$\n");
    EXPECT_NE(Get("WLD/20.wld").find("#2000\nHall~\n"), std::string::npos);
    // No upper-case twin, no empty files of the kinds the zone has not.
    EXPECT_EQ(Entries(), (std::vector<std::string>{"WLD", "WLD/20.wld", "WLD/index", "obj",
                                                   "obj/index", "zon", "zon/2000.zon",
                                                   "zon/index"}));
}

// A file the index does not list is the server's business (it never reads
// it, but it may hold a builder's work): never written over. A file it lists
// is written even when the zone has no records of its kind left.
TEST_F(Publish, AFileTheIndexDoesNotListIsNeverWrittenOver) {
    Put("zon/index", "20.zon\n$\n");
    Put("zon/20.zon", "#20\nZone~\n2099 0 0\nS\n$\n");
    Put("wld/index", "$\n");
    Put("wld/20.wld", "#2000\ntheirs~\n");
    Put("mob/index", "$\n");
    Put("mob/20.mob", "#2000\nmob~\n"); // no mobs in the zone: not even looked at
    Put("trg/index", "20.trg\n$\n");
    Put("trg/20.trg", "#2000\nGreeting~\n0 g 100\n~\n$\n");
    TZone& zone = AddZone(20, "20.zon");
    AddRoom(2000, "Hall");
    const TPublishPlan plan = Plan({&zone});
    const TServerFile* rooms = FileOf(plan, "wld/20.wld");
    ASSERT_TRUE(rooms);
    EXPECT_EQ(rooms->Change, TServerFileChange::NotWritten);
    const TServerFile* triggers = FileOf(plan, "trg/20.trg");
    ASSERT_TRUE(triggers);
    EXPECT_EQ(triggers->Change, TServerFileChange::Changed);
    EXPECT_EQ(triggers->Removed, std::vector<std::string>{"2000 Greeting"});
    EXPECT_FALSE(FileOf(plan, "mob/20.mob"));

    const TPublishResult result = WritePublishPlan(plan);
    EXPECT_EQ(result.NotWritten, 1);
    EXPECT_EQ(Get("wld/20.wld"), "#2000\ntheirs~\n");
    EXPECT_EQ(Get("wld/index"), "$\n");
    EXPECT_EQ(Get("mob/20.mob"), "#2000\nmob~\n");
    EXPECT_EQ(Get("trg/20.trg").find("#2000"), std::string::npos);
    EXPECT_EQ(Reporter.Messages,
              std::vector<std::string>{"Не записан файл " + (Server() / "wld/20.wld").string() +
                                       ": есть в папке сервера, но не указан в её index"});
}

// The change list: records added, removed and changed by number and name;
// a file that would come out the same is unchanged and not written.
TEST_F(Publish, ChangeListNamesTheRecordsAddedRemovedAndChanged) {
    TZone& zone = AddZone(20, "20.zon");
    zone.HeaderLines = {"#3 1 0"}; // a server's parameter line, no record of its own
    AddRoom(2000, "Old hall");
    AddRoom(2001, "Cellar");
    ASSERT_EQ(WritePublishPlan(Plan({&zone}, {}, true)).Written, 2);
    const auto written = fs::last_write_time(Server() / "zon/20.zon");
    zone.ZoneName = "Renamed";
    EXPECT_EQ(FileOf(Plan({&zone}), "zon/20.zon")->Altered,
              std::vector<std::string>{"20 Renamed"});
    zone.ZoneName = "Zone";

    World.Rooms.Find(2000)->Name = W("Новый зал");
    World.Rooms.Delete(World.Rooms.IndexOfVNum(2001));
    AddRoom(2002, "Tower");
    const TPublishPlan plan = Plan({&zone});
    const TServerFile* rooms = FileOf(plan, "wld/20.wld");
    ASSERT_TRUE(rooms);
    EXPECT_EQ(rooms->Change, TServerFileChange::Changed);
    EXPECT_EQ(rooms->Added, std::vector<std::string>{"2002 Tower"});
    EXPECT_EQ(rooms->Removed, std::vector<std::string>{"2001 Cellar"});
    EXPECT_EQ(rooms->Altered, std::vector<std::string>{W("2000 Новый зал")});
    EXPECT_EQ(FileOf(plan, "zon/20.zon")->Change, TServerFileChange::Unchanged);
    const TPublishResult result = WritePublishPlan(plan);
    EXPECT_EQ(result.Written, 1);
    EXPECT_EQ(result.Unchanged, 1);
    EXPECT_EQ(fs::last_write_time(Server() / "zon/20.zon"), written);
}

// Two zone files of one zone (the server's 16.zon and 2000.zon both saying
// #16) would put their rooms into one file: both refused, both named.
TEST_F(Publish, TwoZonesThatWouldLandInOneFileAreRefusedWithBothNamed) {
    TZone& first = AddZone(16, "16.zon");
    TZone& second = AddZone(16, "2000.zon");
    TZone& other = AddZone(30, "30.zon");
    AddRoom(1600, "Hall");
    const TPublishPlan plan = Plan({&first, &second, &other});
    const std::string refusal =
        "Зоны 16 (ZON/16.zon) и 16 (ZON/2000.zon) попали бы в один файл wld/16.wld: ни одна "
        "из них не записана.";
    ASSERT_EQ(plan.Refusals.size(), 1u);
    EXPECT_EQ(Cp1251ToUtf8(plan.Refusals[0]), refusal);
    const TPublishResult result = WritePublishPlan(plan);
    EXPECT_EQ(result.Written, 1); // zone 30
    EXPECT_EQ(result.NotWritten, 4);
    EXPECT_EQ(Reporter.Messages, std::vector<std::string>{refusal});
    EXPECT_FALSE(fs::exists(Server() / "zon/16.zon"));
    EXPECT_FALSE(fs::exists(Server() / "wld/16.wld"));
    EXPECT_TRUE(fs::exists(Server() / "zon/30.zon"));

    // A zone published alone is refused too when another of the workspace
    // would land in its file.
    EXPECT_EQ(Plan({&second}, {&first, &other}).Refusals.size(), 1u);
}

// An empty server folder gets the server's whole lower-case layout, each
// folder with its index; an existing folder without an index gets one only
// when asked for, listing its numbered files.
TEST_F(Publish, AServerFolderWithoutFoldersGetsTheWholeLayout) {
    TZone& zone = AddZone(20, "20.zon");
    AddRoom(2000, "Hall");
    fs::create_directories(Server());
    WritePublishPlan(Plan({&zone}));
    EXPECT_EQ(Entries(), (std::vector<std::string>{
                             "mob", "mob/index", "obj", "obj/index", "shp", "shp/index", "trg",
                             "trg/index", "wld", "wld/20.wld", "wld/index", "zon", "zon/20.zon",
                             "zon/index"}));
    EXPECT_EQ(Get("wld/index"), "20.wld\n$\n");
    EXPECT_EQ(Get("mob/index"), "$\n");

    fs::remove(Server() / "wld/index");
    Put("wld/3.wld", "#300\n");
    AddRoom(2001, "Cellar");
    EXPECT_EQ(FoldersWithoutIndex(FindServerFolders(Server().string())), std::vector<size_t>{1});
    WritePublishPlan(Plan({&zone}));
    EXPECT_FALSE(fs::exists(Server() / "wld/index"));
    AddRoom(2002, "Tower");
    WritePublishPlan(Plan({&zone}, {}, true));
    EXPECT_EQ(Get("wld/index"), "3.wld\n20.wld\n$\n");
}

#ifdef VELMORA_REALWORLD
// A copy of the real server's world folder, imported and published back into
// itself: its layout, its indexes and every file the server does not list stay
// as they were; then a zone made in the workspace joins every index in order.
TEST_F(Publish, RealServerWorldPublishedBackIntoItsOwnFolder) {
    const fs::path sample = fs::path(VELMORA_REALWORLD) / "world";
    if (!fs::is_directory(sample))
        GTEST_SKIP() << "no real server world at " << sample << " (the sample is not here)";
    fs::copy(sample, Server(), fs::copy_options::recursive);
    for (const auto& entry : fs::recursive_directory_iterator(Server()))
        fs::permissions(entry.path(), fs::perms::owner_write, fs::perm_options::add);
    const std::string ws = PathOf("ws");
    ASSERT_TRUE(ImportServerWorld(ListServerWorld(Server().string()), ws, {}).Succeeded());
    LoadWorkspace(World, ws);
    const std::vector<const TZone*> all = World.ZoneList();
    const std::vector<std::string> before = Entries();

    const TPublishResult result = WritePublishPlan(Plan(all));
    EXPECT_TRUE(Reporter.Messages.empty()) << Reporter.Messages.front();
    EXPECT_EQ(result.NotWritten, 0);
    EXPECT_EQ(result.New, 0);
    // No upper-case folder, no file created, every file (indexes and files
    // the server does not list among them) byte for byte, none written again.
    EXPECT_EQ(Entries(), before);
    int files = 0;
    for (const std::string& name : before)
        if (!fs::is_directory(Server() / name)) {
            EXPECT_EQ(Get(name), ReadBytes(sample / name)) << name;
            ++files;
        }
    EXPECT_GT(files, 700);
    EXPECT_EQ(result.Written, 0);

    TZone& made = AddZone(555, "555.zon");
    AddRoom(55500, "Hall");
    World.Objs.AddNew(55500);
    World.Mobs.AddNew(55500);
    World.Shops.AddNew(55500);
    World.Triggers.AddNew(55500);
    const TPublishPlan plan = Plan({&made}, all);
    EXPECT_EQ(plan.Count(TServerFileChange::New), 6);
    WritePublishPlan(plan);
    for (const auto& kind : kServerKinds) {
        const std::string index = Get(std::string(kind.ServerFolder) + "/index");
        const std::string name = "555" + std::string(kind.Extension);
        EXPECT_NE(index.find("\n" + name + "\n"), std::string::npos) << kind.ServerFolder;
        std::vector<int32_t> numbers;
        for (const std::string& line : SplitTextLines(index))
            if (line != "$")
                numbers.push_back(std::stoi(line));
        EXPECT_TRUE(std::is_sorted(numbers.begin(), numbers.end())) << kind.ServerFolder;
        EXPECT_TRUE(index.ends_with("\n$\n")) << kind.ServerFolder;
    }
}
#endif

} // namespace
