// The start-up scan of a workspace folder.

#include "leftovers.h"
#include "testsupport.h"
#include "workspacescan.h"

#include <chrono>

namespace {

class WorkspaceScan : public WorldTest {};

TEST_F(WorkspaceScan, FailedZoneFileKeepsItsZoneAndTellsWhere) {
    WriteBytes(Dir / "ZON/5.zon", Crlf({"#5", "Good~", "599 10 2", "S", "$"}));
    // A header without a number and a failure soon after: the zone takes the
    // number of its file name.
    WriteBytes(Dir / "ZON/12.zon", Crlf({"#x", "Broken~", "1299 ten 2", "S", "$"}));
    // A bad command after a good name: the zone keeps what was read.
    WriteBytes(Dir / "ZON/13.zon", Crlf({"#13", "Half~", "1399 10 2", "", "S", "$"}));
    std::vector<std::string> failures;
    LoadWorkspaceZones(World, Dir.string(), [&](const std::string& file, const TZone&, int line) {
        failures.push_back(Cp1251ToUtf8(ZoneLoadFailure(file, line)));
    });
    const auto& zones = World.Zones;
    ASSERT_EQ(zones.size(), 3u);
    EXPECT_EQ(zones[0]->ZoneNumber, 12);
    EXPECT_EQ(zones[0]->RoomFileName, (Dir / "WLD/12.wld").string());
    EXPECT_EQ(zones[1]->ZoneNumber, 13);
    EXPECT_EQ(Cp1251ToUtf8(zones[1]->ZoneName), "Half");
    EXPECT_EQ(zones[2]->ZoneNumber, 5);
    EXPECT_EQ(failures,
              (std::vector<std::string>{LineError("зону", (Dir / "ZON/12.zon").string(), 3),
                                        LineError("зону", (Dir / "ZON/13.zon").string(), 4)}));
    EXPECT_TRUE(Reporter.Messages.empty()); // the scan's caller decides how to show them
}

// What cannot be read at all is said, not passed over: a zone file that is
// a folder keeps its zone as a failure, a record file that is a folder is
// reported by its reader, and a kind folder or the workspace itself that
// cannot be listed is named. A missing folder is no failure.
TEST_F(WorkspaceScan, WhatCannotBeReadIsNamed) {
    namespace fs = std::filesystem;
    WriteBytes(Dir / "ZON/5.zon", Crlf({"#5", "Good~", "599 10 2", "S", "$"}));
    fs::create_directories(Dir / "ZON/12.zon");
    fs::create_directories(Dir / "MOB/5.mob");
    WriteBytes(Dir / "OBJ", "not a folder");
    fs::create_symlink("TRG", Dir / "TRG"); // a loop of links
    EXPECT_EQ(UnreadableFolders(Dir.string()),
              (std::vector<std::string>{(Dir / "OBJ").string(), (Dir / "TRG").string()}));
    EXPECT_EQ(Cp1251ToUtf8(FolderReadFailure((Dir / "OBJ").string())),
              "Не могу прочитать папку " + (Dir / "OBJ").string());

    LoadWorkspaceRecords(World, Dir.string());
    EXPECT_EQ(Reporter.Messages,
              (std::vector<std::string>{
                  LoadError("мобов", (Dir / "MOB/5.mob").string(), "(Не смог открыть файл)")}));
    std::vector<std::string> failed;
    LoadWorkspaceZones(World, Dir.string(),
                       [&](const std::string& file, const TZone&, int) { failed.push_back(file); });
    const auto& zones = World.Zones;
    ASSERT_EQ(zones.size(), 2u);
    EXPECT_EQ(zones[0]->ZoneNumber, 12);
    EXPECT_EQ(failed, std::vector<std::string>{(Dir / "ZON/12.zon").string()});

    // The workspace itself not a folder; a missing one is simply empty.
    WriteBytes(Dir / "file/x", "");
    EXPECT_EQ(UnreadableFolders((Dir / "file/x").string()),
              std::vector<std::string>{(Dir / "file/x").string()});
    EXPECT_TRUE(UnreadableFolders((Dir / "missing").string()).empty());
}

// What a killed save or import left goes at the next start: only names of
// exactly our forms, and only what was quiet long before the start.
TEST_F(WorkspaceScan, LeftoversOfAKilledRunAreRemoved) {
    namespace fs = std::filesystem;
    const fs::path ws = Dir / "Zones";
    const auto started = fs::file_time_type::clock::now();
    const auto old = started - std::chrono::hours(1);
    const auto make = [&](const fs::path& path, fs::file_time_type time) {
        WriteBytes(path, "x");
        fs::last_write_time(path, time);
    };
    const std::vector<std::string> gone = {
        (Dir / ".Zones.import-Ab3dE9").string(), (ws / "MOB/.7.mob.q1W2e3").string(),
        (ws / "WLD/.12.map.000000").string(), (ws / "WLD/.12.wld.Ab3dEf").string(),
        (ws / "WLD/.12.wld.kept.Ab3dEf").string()};
    for (size_t i = 1; i < gone.size(); ++i)
        make(gone[i], old);
    make(fs::path(gone[0]) / "WLD/12.wld", old);
    fs::last_write_time(fs::path(gone[0]) / "WLD", old);
    fs::last_write_time(gone[0], old);
    const std::vector<fs::path> kept = {
        ws / "WLD/.12.wld.Zz9Yy8",              // our form, but written just now
        ws / "WLD/.12.wld.Ab3d",                // too short a tail
        ws / "WLD/.notes.wld.Ab3dEf",           // not a zone number
        ws / "WLD/.12.txt.Ab3dEf",              // not a world file
        ws / "WLD/12.wld.Ab3dEf",               // no leading dot
        ws / "WLD/.12.wld.Ab3dEf.keep",         // more after the tail
        ws / "WLD/.12.wld.keep.Ab3dEf",         // no side file's name
        Dir / ".Other.import-Ab3dE9/x",         // the staging folder of another workspace
        Dir / ".Zones.import-Qq1Ww2/WLD/1.wld", // a staging folder still being written
        ws / "WLD/.13.wld.Ab3dEf/x"};           // a folder, not our file
    for (const fs::path& path : kept)
        make(path,
             path.filename() == "1.wld" || path.filename() == ".12.wld.Zz9Yy8" ? started : old);
    fs::last_write_time(Dir / ".Zones.import-Qq1Ww2", old);

    EXPECT_EQ(RemoveLeftovers(ws.string() + "/", started), gone);
    for (const std::string& path : gone)
        EXPECT_FALSE(fs::exists(path)) << path;
    for (const fs::path& path : kept)
        EXPECT_TRUE(fs::exists(path)) << path;
}

} // namespace
