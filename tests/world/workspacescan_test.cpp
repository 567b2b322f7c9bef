// The start-up scan of a workspace folder.

#include "testsupport.h"
#include "workspacescan.h"

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
    const auto zones = LoadWorkspaceZones(Dir.string(), [&](const std::string& file, const TZone&) {
        failures.push_back(Cp1251ToUtf8(ZoneLoadFailure(file, LineNumber)));
    });
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

} // namespace
