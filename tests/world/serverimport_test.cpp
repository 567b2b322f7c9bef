// The import from a server's world folder into the workspace layout.

#include "publish.h"
#include "serverimport.h"
#include "testsupport.h"
#include "workspacescan.h"

#include <algorithm>

namespace fs = std::filesystem;

namespace {

// KOI8-R bytes of a UTF-8 literal (through Windows-1251, which holds every
// letter these tests use).
std::string Koi(const std::string& utf8) {
    return Cp1251ToKoi8r(Utf8ToCp1251(utf8));
}

// Every file below `root` with its bytes, by path relative to it.
std::map<std::string, std::string> Snapshot(const fs::path& root) {
    std::map<std::string, std::string> files;
    if (!fs::exists(root))
        return files;
    for (const auto& entry : fs::recursive_directory_iterator(root))
        files[fs::relative(entry.path(), root).string()] =
            entry.is_regular_file() ? ReadBytes(entry.path()) : "<folder>";
    return files;
}

class ServerImport : public WorldTest {
protected:
    fs::path Server() const { return Dir / "server"; }
    fs::path Workspace() const { return Dir / "ws"; }
    void Put(const std::string& name, const std::string& bytes) const {
        WriteBytes(Server() / name, bytes);
    }
    TImportReport Import(const TImportOptions& options = {},
                         const TImportProgress& progress = {}) const {
        return ImportServerWorld(ListServerWorld(Server().string()), Workspace().string(), options,
                                 progress);
    }
    // Two small zones, 30 and 31, without index files.
    void PutTwoZones() const {
        Put("zon/30.zon", "#30\nA~\n");
        Put("wld/30.wld", "#3000\n");
        Put("zon/31.zon", "#31\nB~\n");
    }
};

TEST_F(ServerImport, TranscodesKeepingEveryLineEndAndKeepsWhatItSubstitutes) {
    // LF, CR LF and lone CR files; two box-drawing characters KOI8-R has and
    // Windows-1251 has not; a last line without its line end stays so.
    Put("zon/30.zon", Koi("#30\nДеревня~\n") + "\x80\x81\n" + "S\n$");
    Put("wld/30.wld", Koi("#3000\r\nКомната~\r\n"));
    Put("obj/30.obj", Koi("#3001\rмеч~\r\r"));
    const TImportReport report = Import();

    EXPECT_TRUE(report.Succeeded());
    EXPECT_EQ(report.Imported, std::vector<int32_t>{30});
    EXPECT_EQ(report.Files, 4); // zone, rooms, their layout, objects
    EXPECT_EQ(report.Substituted, 2);
    EXPECT_EQ(report.SubstitutedFiles,
              (std::vector<std::pair<std::string, int>>{{"ZON/30.zon", 2}}));
    EXPECT_EQ(ReadBytes(Workspace() / "ZON/30.zon"), W("#30\nДеревня~\n??\nS\n$"));
    EXPECT_EQ(ReadBytes(Workspace() / "WLD/30.wld"), W("#3000\r\nКомната~\r\n"));
    EXPECT_EQ(ReadBytes(Workspace() / "OBJ/30.obj"), W("#3001\rмеч~\r\r"));
    // The line as substituted and as it was, in UTF-8; never counted as a file.
    EXPECT_EQ(ReadBytes(Workspace() / "ZON/30.zon.kept"), "??\n─│\n");
    // A file of CR LF lines is the server's own so, not the workspace's.
    EXPECT_EQ(ReadBytes(Workspace() / "WLD/30.wld.kept"), "CRLF\n");
    EXPECT_FALSE(fs::exists(Workspace() / "OBJ/30.obj.kept"));
    // The room read before the file ends is laid out.
    EXPECT_EQ(ReadBytes(Workspace() / "WLD/30.map"), "3000 0 0 3\r\n");
    EXPECT_FALSE(fs::exists(Workspace() / "MOB/30.mob"));
    // The staging folder beside the workspace is gone.
    for (const auto& [name, bytes] : Snapshot(Dir))
        EXPECT_FALSE(name.starts_with(".ws")) << name;
}

TEST_F(ServerImport, RoomsAreLaidOutOnTheMapFromTheirExits) {
    // 3001 lies west of 3000, 3002 above it (a one-way exit places nothing).
    Put("wld/30.wld", "#3000\nA~\n~\n30 0 1\nD3\n~\n~\n0 -1 3001\nD4\n~\n~\n0 -1 3002\nS\n"
                      "#3001\nB~\n~\n30 0 1\nD1\n~\n~\n0 -1 3000\nS\n"
                      "#3002\nC~\n~\n30 0 1\nD5\n~\n~\n0 -1 3000\nD0\n~\n~\n0 -1 3001\nS\n$\n");
    const TImportReport report = Import();
    EXPECT_TRUE(report.Succeeded());
    EXPECT_EQ(ReadBytes(Workspace() / "WLD/30.map"), "3000 1 0 3\r\n3001 0 0 3\r\n3002 1 0 4\r\n");
    EXPECT_EQ(report.Layout.Placed, 3);
    EXPECT_EQ(report.Layout.TwoWayExits, 2);
    EXPECT_EQ(report.Layout.Joined, 2);
    EXPECT_EQ(Cp1251ToUtf8(ImportReportLines(report)[3]),
              "Комнат разложено на карте по выходам: 3 из 3; двусторонних выходов между соседними "
              "клетками: 2 из 2");
}

// Box-drawing letters in two room names: the KOI8-R export gives them back
// while their lines are untouched; a save drops the line that changed, and
// the side file goes with the last one.
TEST_F(ServerImport, KeptCharactersComeBackInTheExportAndFollowTheSaves) {
    const std::string rooms =
        "#3000\n\xA0 Hall~\n~\n30 0 1\nS\n#3001\nYard \xA1~\n~\n30 0 1\nS\n$\n";
    Put("zon/30.zon", "#30\nTown~\n3099 10 2\nS\n$\n");
    Put("wld/30.wld", rooms);
    ASSERT_TRUE(Import().Succeeded());
    const fs::path side = Workspace() / "WLD/30.wld.kept";
    EXPECT_EQ(ReadBytes(side), "? Hall~\n═ Hall~\nYard ?~\nYard ║~\n");
    LoadWorkspace(World, Workspace().string());
    ASSERT_EQ(World.Zones.size(), 1u);
    const TZone& zone = *World.Zones.front();

    const fs::path out = Dir / "export";
    const auto exported = [&](TServerCodePage codePage) {
        const TPublishPlan plan = PlanPublish(World, {&zone}, {}, FindServerFolders(out.string()),
                                              {{codePage, TServerLineEnd::CrLf}});
        EXPECT_EQ(WritePublishPlan(plan).Substituted, 0);
        return ReadBytes(out / "wld/30.wld");
    };
    EXPECT_EQ(exported(TServerCodePage::Koi8r), rooms);
    EXPECT_EQ(exported(TServerCodePage::Cp1251),
              "#3000\n? Hall~\n~\n30 0 1\nS\n#3001\nYard ?~\n~\n30 0 1\nS\n$\n");

    World.Rooms.Find(3000)->Name = "Hall";
    ASSERT_TRUE(World.Rooms.SaveToFile(zone.RoomFileName, 30));
    EXPECT_EQ(ReadBytes(side), "Yard ?~\nYard ║~\n");
    EXPECT_EQ(exported(TServerCodePage::Koi8r),
              "#3000\nHall~\n~\n30 0 1\nS\n#3001\nYard \xA1~\n~\n30 0 1\nS\n$\n");
    World.Rooms.Find(3001)->Name = "Yard";
    ASSERT_TRUE(World.Rooms.SaveToFile(zone.RoomFileName, 30));
    EXPECT_FALSE(fs::exists(side));
    EXPECT_EQ(WorkspaceZoneFiles(Workspace().string(), 30)[8], side.string());
}

TEST_F(ServerImport, Cp1251InputArrivesAsItIs) {
    Put("zon/30.zon", W("#30\nДеревня~\n") + "\x98\n");
    TImportOptions options;
    options.CodePage = TServerCodePage::Cp1251;
    const TImportReport report = Import(options);
    EXPECT_TRUE(report.Succeeded());
    EXPECT_EQ(report.Substituted, 0);
    EXPECT_EQ(ReadBytes(Workspace() / "ZON/30.zon"), W("#30\nДеревня~\n") + "\x98\n");
}

TEST_F(ServerImport, IndexListsTheFilesAndNumberedFilesStandInWhereThereIsNone) {
    // zon has an index: 32.zon is not listed, 33.zon is listed but missing and
    // "limbo.zon" names no zone. wld has none: every numbered file counts.
    Put("zon/index", "31.zon\r\n  30.zon \n33.zon\nlimbo.zon\n$\n40.zon\n");
    Put("zon/30.zon", "#30\n");
    Put("zon/31.zon", "#31\n");
    Put("zon/32.zon", "#32\n");
    Put("wld/31.wld", "#3100\n");
    Put("wld/notes.wld", "not a zone\n");
    Put("wld/35.wld", "#3500\n");

    const TServerWorld world = ListServerWorld(Server().string());
    std::vector<int32_t> numbers;
    for (const auto& zone : world.Zones)
        numbers.push_back(zone.Number);
    EXPECT_EQ(numbers, (std::vector<int32_t>{30, 31, 35}));
    ASSERT_EQ(world.Problems.size(), 2u);
    EXPECT_NE(Cp1251ToUtf8(world.Problems[0]).find("33.zon"), std::string::npos);
    EXPECT_NE(Cp1251ToUtf8(world.Problems[1]).find("limbo.zon"), std::string::npos);

    const TImportReport report = Import();
    EXPECT_FALSE(report.Succeeded()); // the two index problems are reported
    EXPECT_EQ(report.Imported, (std::vector<int32_t>{30, 31, 35}));
    EXPECT_FALSE(fs::exists(Workspace() / "ZON/32.zon"));
    EXPECT_TRUE(fs::exists(Workspace() / "WLD/35.map"));
    EXPECT_EQ(report.Failures, world.Problems);
}

// Links that lead out of the server folder (a file, a kind folder, an
// index) are named and not read; a link that stays inside is followed.
TEST_F(ServerImport, LinksOutOfTheServerFolderAreNotRead) {
    const fs::path outside = Dir / "outside";
    WriteBytes(outside / "30.wld", "#3000\nsecret~\n");
    WriteBytes(outside / "obj/30.obj", "#3001\nsecret~\n");
    WriteBytes(outside / "index", "30.mob\n$\n");
    Put("zon/30.zon", "#30\n");
    Put("shared/31.wld", "#3100\n");
    Put("zon/31.zon", "#31\n");
    Put("mob/30.mob", "#3002\n");
    fs::create_directories(Server() / "wld");
    fs::create_symlink(outside / "30.wld", Server() / "wld/30.wld");
    fs::create_symlink("../shared/31.wld", Server() / "wld/31.wld");
    fs::create_symlink(outside / "obj", Server() / "obj");
    fs::create_symlink(outside / "index", Server() / "mob/index");

    const auto problem = [](const fs::path& path) {
        return "Не прочитано, ссылка ведёт за пределы папки сервера: " + path.string();
    };
    const TImportReport report = Import();
    std::vector<std::string> failures;
    for (const std::string& failure : report.Failures)
        failures.push_back(Cp1251ToUtf8(failure));
    EXPECT_EQ(failures,
              (std::vector<std::string>{problem(Server() / "wld/30.wld"), problem(Server() / "obj"),
                                        problem(Server() / "mob/index")}));
    EXPECT_EQ(report.Imported, (std::vector<int32_t>{30, 31}));
    EXPECT_EQ(ReadBytes(Workspace() / "WLD/31.wld"), "#3100\n");
    for (const char* name : {"WLD/30.wld", "OBJ/30.obj", "MOB/30.mob"})
        EXPECT_FALSE(fs::exists(Workspace() / name)) << name;
}

// An index line of a megabyte is quoted by its first 200 characters.
TEST_F(ServerImport, AHugeIndexLineIsQuotedShort) {
    Put("zon/index", std::string(1 << 20, 'z') + "\n$\n");
    const TServerWorld world = ListServerWorld(Server().string());
    ASSERT_EQ(world.Problems.size(), 1u);
    EXPECT_EQ(Cp1251ToUtf8(world.Problems[0]),
              "Пропущен файл с именем не вида N.zon: " + (Server() / "zon").string() + "/" +
                  std::string(200, 'z') + "...");
}

TEST_F(ServerImport, ExistingZoneIsLeftAloneUnlessOverwriteIsAsked) {
    PutTwoZones();
    WriteBytes(Workspace() / "WLD/30.map", "3000 1 1 1\r\n");
    const TServerWorld world = ListServerWorld(Server().string());
    EXPECT_EQ(ExistingZones(world, Workspace().string(), {}), std::vector<int32_t>{30});
    EXPECT_TRUE(ExistingZones(world, Workspace().string(), {31}).empty());

    TImportReport report = Import();
    EXPECT_EQ(report.Skipped, std::vector<int32_t>{30});
    EXPECT_EQ(report.Imported, std::vector<int32_t>{31});
    EXPECT_EQ(ReadBytes(Workspace() / "WLD/30.map"), "3000 1 1 1\r\n");
    EXPECT_FALSE(fs::exists(Workspace() / "ZON/30.zon"));

    TImportOptions options;
    options.Overwrite = true;
    options.Zones = {30, 77};
    report = Import(options);
    EXPECT_EQ(report.Imported, std::vector<int32_t>{30});
    EXPECT_EQ(report.NotFound, std::vector<int32_t>{77});
    EXPECT_FALSE(report.Succeeded());
    EXPECT_EQ(ReadBytes(Workspace() / "ZON/30.zon"), "#30\nA~\n");
    EXPECT_EQ(fs::file_size(Workspace() / "WLD/30.map"), 0u);
}

TEST_F(ServerImport, CancelLeavesTheWorkspaceAsItWas) {
    PutTwoZones();
    WriteBytes(Workspace() / "ZON/31.zon", "mine\r\n");
    const auto before = Snapshot(Dir);
    std::vector<int> seen;
    TImportOptions options;
    options.Overwrite = true;
    const TImportReport report = Import(options, [&](int done, int total) {
        seen.push_back(done);
        EXPECT_EQ(total, 2);
        return done < 1; // the user cancels after the first zone
    });
    EXPECT_TRUE(report.Cancelled);
    EXPECT_EQ(seen, (std::vector<int>{0, 1}));
    EXPECT_EQ(Snapshot(Dir), before); // nothing in the workspace, nothing left beside it
    EXPECT_EQ(Cp1251ToUtf8(ImportReportLines(report).front()),
              "Импорт отменён, рабочая папка не изменена.");
}

// Zones converted side by side are taken in order: the workspace and the
// report are those of one zone converted after the other.
TEST_F(ServerImport, SeveralThreadsImportWhatOneImports) {
    for (int zone = 30; zone < 40; ++zone) {
        const std::string n = std::to_string(zone);
        Put("zon/" + n + ".zon", "#" + n + "\nA~\n");
        // KOI8-R 0x80 is a box-drawing line Windows-1251 lacks: substituted.
        Put("wld/" + n + ".wld", "#" + n + "00\n" + Koi("Зал") + "\x80~\n~\n" + n + " 0 0\nS\n$\n");
    }
    TImportOptions one;
    one.Threads = 1;
    const TImportReport serial = Import(one);
    const auto files = Snapshot(Workspace());
    fs::remove_all(Workspace());
    TImportOptions several;
    several.Threads = 4;
    const TImportReport parallel = Import(several);
    EXPECT_EQ(Snapshot(Workspace()), files);
    EXPECT_EQ(serial.Imported.size(), 10u);
    EXPECT_EQ(parallel.Imported, serial.Imported);
    EXPECT_EQ(parallel.Files, serial.Files);
    EXPECT_EQ(serial.SubstitutedFiles.size(), 10u);
    EXPECT_EQ(parallel.SubstitutedFiles, serial.SubstitutedFiles);
    EXPECT_EQ(parallel.Failures, serial.Failures);
}

#ifdef VELMORA_REALWORLD
TEST_F(ServerImport, RealServerWorldEveryListedFileArrivesFaithfully) {
    const fs::path server = fs::path(VELMORA_REALWORLD) / "world";
    if (!fs::is_directory(server))
        GTEST_SKIP() << "no real server world at " << server << " (the sample is not here)";
    const TImportReport report =
        ImportServerWorld(ListServerWorld(server.string()), Workspace().string(), TImportOptions{});
    EXPECT_TRUE(report.Failures.empty()) << Cp1251ToUtf8(report.Failures.front());
    std::map<std::string, int> substituted(report.SubstitutedFiles.begin(),
                                           report.SubstitutedFiles.end());
    int listed = 0;
    for (const auto& kind : kServerKinds) {
        std::string index = ReadBytes(server / kind.ServerFolder / "index");
        for (const std::string& line : SplitTextLines(index)) {
            if (line == "$")
                break;
            ++listed;
            const std::string name = std::string(kind.WorkspaceFolder) + "/" + line;
            const fs::path written = Workspace() / name;
            ASSERT_TRUE(fs::exists(written)) << name;
            if (std::string(kind.Extension) == ".wld") {
                EXPECT_TRUE(
                    fs::exists(Workspace() / "WLD" / (fs::path(line).stem().string() + ".map")))
                    << name;
            }
            // The server's bytes in the other code page, every line end in place.
            const std::string original = ReadBytes(server / kind.ServerFolder / line);
            EXPECT_EQ(ReadBytes(written), Koi8rToCp1251(original)) << name;
            EXPECT_EQ(fs::exists(Workspace() / (name + ".kept")),
                      substituted.count(name) > 0 || EndsEveryLineWithCrLf(original))
                << name;
        }
    }
    EXPECT_EQ(report.Files,
              listed + static_cast<int>(ListFiles((Workspace() / "WLD").string(), ".map").size()));
    // Every room is on the map, nine in ten two-way exits join neighbour cells.
    EXPECT_EQ(report.Layout.Unplaced, 0);
    EXPECT_GE(report.Layout.Joined * 10, report.Layout.TwoWayExits * 9);
}

// Imported, read as the start-up reads it and exported untouched, a real world
// gives the server its own files back byte for byte: every line in its place
// with its own end, the characters Windows-1251 has not back in theirs. A
// resave of the workspace changes none of its files.
TEST_F(ServerImport, RealServerWorldComesBackFromTheExportByteForByte) {
    const fs::path server = fs::path(VELMORA_REALWORLD) / "world";
    if (!fs::is_directory(server))
        GTEST_SKIP() << "no real server world at " << server << " (the sample is not here)";
    const TServerWorld world = ListServerWorld(server.string());
    ASSERT_TRUE(ImportServerWorld(world, Workspace().string(), TImportOptions{}).Succeeded());
    LoadWorkspace(World, Workspace().string());
    EXPECT_TRUE(Reporter.Messages.empty()) << Cp1251ToUtf8(Reporter.Messages.front());
    EXPECT_EQ(World.Zones.size(), world.Zones.size());

    const fs::path out = Dir / "export";
    // The server's folders with its indexes, which name the files it reads.
    for (const auto& kind : kServerKinds) {
        fs::create_directories(out / kind.ServerFolder);
        fs::copy_file(server / kind.ServerFolder / "index", out / kind.ServerFolder / "index");
    }
    const TPublishPlan plan =
        PlanPublish(World, World.ZoneList(), {}, FindServerFolders(out.string()), {});
    WritePublishPlan(plan);
    int substituted = 0;
    for (const TServerFile& file : plan.Files)
        substituted += file.Substituted;
    EXPECT_EQ(substituted, 0);
    int files = 0, same = 0;
    for (const TServerZone& zone : world.Zones) {
        for (size_t k = 0; k < kServerKinds.size(); ++k) {
            if (zone.Files[k].empty())
                continue;
            ++files;
            const std::string expected = ReadBytes(zone.Files[k]);
            const fs::path exported = out / kServerKinds[k].ServerFolder /
                                      (std::to_string(zone.Number) + kServerKinds[k].Extension);
            const bool equal = ReadBytes(exported) == expected;
            same += equal;
            EXPECT_TRUE(equal) << exported;
        }
    }
    EXPECT_EQ(same, files);

    const auto before = Snapshot(Workspace());
    EXPECT_TRUE(std::any_of(before.begin(), before.end(),
                            [](const auto& file) { return file.first.ends_with(".kept"); }));
    SyncSavedFiles = false; // a thousand files: the test needs no flush to the disk
    for (const auto& zone : World.Zones) {
        const int32_t n = zone->ZoneNumber;
        World.Objs.SaveToFile(zone->ObjFileName, n);
        World.Mobs.SaveToFile(zone->MobFileName, n);
        World.Shops.SaveToFile(zone->ShopFileName, n);
        World.Triggers.SaveToFile(zone->TrigFileName, n);
        World.Rooms.SaveToFile(zone->RoomFileName, n);
        zone->SaveToFile(World, zone->ZoneFileName);
    }
    SyncSavedFiles = true;
    // A zone without a file of some kind gets one; the files it had stay.
    const auto after = Snapshot(Workspace());
    for (const auto& [name, bytes] : before) {
        const auto found = after.find(name);
        ASSERT_NE(found, after.end()) << name;
        EXPECT_TRUE(found->second == bytes) << name;
    }
}
#endif

} // namespace
