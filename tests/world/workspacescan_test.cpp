// The start-up scan of a workspace folder.

#include "leftovers.h"
#include "maplayout.h"
#include "testsupport.h"
#include "workspacescan.h"

#include <chrono>
#include <numeric>
#include <set>
#include <tuple>

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

// Errors and notes in the one order they came in.
class TReportSequence : public TErrorReporter {
public:
    TReportSequence() : previous_(ErrorReporter()) { SetErrorReporter(this); }
    ~TReportSequence() override { SetErrorReporter(previous_); }
    void ReportError(const std::string& message) override {
        Reports.push_back("error: " + message);
    }
    void ReportNote(const std::string& message) override { Reports.push_back("note: " + message); }
    std::vector<std::string> Reports;

private:
    TErrorReporter* previous_;
};

// One record of a kind in our writer's form, its defaults but the number.
template <class List> TStringList RecordLines(int32_t vnum) {
    List list;
    list.AddNew(vnum);
    TStringList lines;
    list.SaveToStrings(lines, ZoneOf(vnum));
    // Without the head line and the tail from the first "$".
    lines.erase(lines.begin());
    SplitOffFromDollar(lines);
    return lines;
}
// The same record with its first line of three numbers or more ending in a
// word no reader takes: it fails, and the reading goes on after it.
template <class List> TStringList BrokenRecordLines(int32_t vnum) {
    TStringList lines = RecordLines<List>(vnum);
    for (std::string& line : lines)
        if (line.find_first_not_of("0123456789- ") == std::string::npos && !Word(3, line).empty()) {
            line = line.substr(0, line.rfind(' ')) + " x";
            break;
        }
    return lines;
}
// A record file of these records, each a list of lines.
std::string RecordFile(const std::vector<TStringList>& records) {
    TStringList lines = {"* file"};
    for (const TStringList& record : records)
        lines.insert(lines.end(), record.begin(), record.end());
    lines.insert(lines.end(), {"$", "$"});
    return Crlf(lines);
}

// Everything a scan leaves in the world: each list's records in order, each
// zone's files as they would be written back (fields, earlier copies, forms
// as read, frames, records kept unread), where reading failed, the layout
// files and the map of each zone.
std::vector<std::string> Picture(const TWorld& world) {
    std::vector<std::string> out;
    std::set<int32_t> zones;
    std::apply(
        [&](const auto&... lists) {
            const auto describe = [&](const auto& list) {
                std::set<int32_t> listZones;
                for (const TListEntry& entry : list.ListEntries()) {
                    out.push_back(entry.Text);
                    listZones.insert(ZoneOf(entry.VNum));
                }
                for (const auto& [zone, frame] : list.Frames())
                    listZones.insert(zone);
                zones.insert(listZones.begin(), listZones.end());
                for (const int32_t zone : listZones) {
                    TStringList lines;
                    list.SaveToStrings(lines, zone);
                    out.insert(out.end(), lines.begin(), lines.end());
                    if (const TFileFrame* frame = list.FrameOf(zone))
                        for (const TUnparsedRecord& unparsed : frame->Unparsed)
                            out.push_back(
                                Format("unparsed %d %d", unparsed.FirstLine, unparsed.FailedLine));
                }
            };
            (describe(lists), ...);
        },
        std::tie(world.Objs, world.Mobs, world.Shops, world.Rooms, world.Triggers));
    for (const auto& zone : world.Zones) {
        TStringList lines;
        zone->SaveToStrings(world, lines);
        out.insert(out.end(), lines.begin(), lines.end());
    }
    TMapGrid grid;
    for (const int32_t zone : zones) {
        TStringList layout;
        LayoutToStrings(world.Rooms, layout, zone);
        out.insert(out.end(), layout.begin(), layout.end());
        for (const TListEntry& unplaced : FillMap(world.Rooms, grid, zone))
            out.push_back("unplaced " + unplaced.Text);
        for (int level = 1; level <= kMapLevels; ++level)
            for (int y = 0; y < kMapSize; ++y)
                for (int x = 0; x < kMapSize; ++x)
                    if (grid.At(x, y, level) >= 0)
                        out.push_back(Format("%d %d %d: %d", x, y, level, grid.At(x, y, level)));
    }
    return out;
}

// A workspace read on several threads gives the world and the messages one
// thread gives, where files meet: the same number in two files, a record
// failing on a number another file read, a file failing part-way, a layout
// file placing another file's room, rooms sharing a cell, no layout file,
// zones sharing a prototype.
TEST_F(WorkspaceScan, SeveralThreadsReadWhatOneReads) {
    const auto room = [](int32_t vnum) { return RecordLines<TRoomList>(vnum); };
    WriteBytes(Dir / "OBJ/1.obj",
               RecordFile({RecordLines<TObjList>(100), RecordLines<TObjList>(101)}));
    TStringList renamed = RecordLines<TObjList>(200);
    renamed[1] = "second~";
    WriteBytes(Dir / "OBJ/2.obj",
               RecordFile({RecordLines<TObjList>(200), renamed, RecordLines<TObjList>(101)}));
    WriteBytes(Dir / "OBJ/3.obj",
               RecordFile({RecordLines<TObjList>(300), BrokenRecordLines<TObjList>(301),
                           RecordLines<TObjList>(302)}));
    WriteBytes(Dir / "MOB/1.mob",
               RecordFile({RecordLines<TMobList>(100), RecordLines<TMobList>(101)}));
    WriteBytes(Dir / "MOB/2.mob",
               RecordFile({RecordLines<TMobList>(200), BrokenRecordLines<TMobList>(100)}));
    WriteBytes(Dir / "SHP/1.shp", RecordFile({RecordLines<TShopList>(100)}));
    WriteBytes(Dir / "TRG/1.trg", RecordFile({RecordLines<TTriggerList>(100)}));
    WriteBytes(Dir / "TRG/2.trg", RecordFile({RecordLines<TTriggerList>(200)}));
    WriteBytes(Dir / "WLD/1.wld", RecordFile({room(100), room(101), room(102)}));
    WriteBytes(Dir / "WLD/1.map", Crlf({"100 1 1 1", "101 2 2 1", "102 2 2 1"}));
    WriteBytes(Dir / "WLD/2.wld", RecordFile({room(200), room(201)}));
    WriteBytes(Dir / "WLD/2.map", Crlf({"200 5 5 2", "100 7 7 1", "201 6 6 2"}));
    WriteBytes(Dir / "WLD/3.wld", RecordFile({room(300)}));
    WriteBytes(Dir / "WLD/4.wld", RecordFile({room(400), BrokenRecordLines<TRoomList>(401)}));
    WriteBytes(Dir / "WLD/4.map", Crlf({"400 3 3 1", "401 4 4 1"}));
    // Two zones sharing a prototype, whose limit the second one raises.
    WriteBytes(Dir / "ZON/1.zon", Crlf({"#1", "One~", "199 10 2", "M 0 100 1 100", "S", "$"}));
    WriteBytes(Dir / "ZON/2.zon", Crlf({"#2", "Two~", "299 10 2", "M 0 100 5 200", "S", "$"}));

    const auto read = [&](unsigned threads) {
        const TReportSequence sequence;
        TWorld world;
        LoadWorkspaceRecords(world, Dir.string(), {}, threads);
        LoadWorkspaceZones(world, Dir.string(), {}, threads);
        return std::pair(Picture(world), sequence.Reports);
    };
    const auto [onePicture, oneReports] = read(1);
    // The cases are there: three files fail, one room file has no layout.
    ASSERT_EQ(oneReports.size(), 4u);
    const auto [picture, reports] = read(3);
    EXPECT_EQ(picture, onePicture);
    EXPECT_EQ(reports, oneReports);

    // The whole read tells how far it has come, file by file: 12 record
    // files (the layout files go with their rooms) and 2 zone files.
    std::vector<size_t> told;
    TWorld world;
    LoadWorkspace(world, Dir.string(), {}, {}, [&told](size_t done, size_t total) {
        EXPECT_EQ(total, 14u);
        told.push_back(done);
    });
    std::vector<size_t> expected(14);
    std::iota(expected.begin(), expected.end(), 1);
    EXPECT_EQ(told, expected);
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
