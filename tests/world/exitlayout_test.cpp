#include "exitlayout.h"
#include "testsupport.h"

#include <gtest/gtest.h>
#include <set>
#include <tuple>

// Zones built from exits alone (zone 5, rooms 500 + i), laid out and checked
// for the rules every layout keeps: each room on the grid, no two in a cell.
class ExitLayout : public WorldTest {
protected:
    static constexpr int32_t kZone = 5;

    TRoom& Room(int i) {
        TRoom* room = World.Rooms.Find(kZone * 100 + i);
        return room ? *room : World.Rooms.AddNew(kZone * 100 + i);
    }
    // A two-way exit: room a leads to b in `direction`, b back to a.
    void Link(int a, int direction, int b) {
        Room(a).Exits[static_cast<size_t>(direction)].ToRoom = Room(b).VNum;
        Room(b).Exits[static_cast<size_t>(ReverseDir(direction))].ToRoom = Room(a).VNum;
    }
    std::tuple<int, int, int> Cell(int i) {
        const TRoom& room = Room(i);
        return {room.MapX, room.MapY, room.MapLevel};
    }
    // Rooms rows x columns, each joined to its east and south neighbour.
    void Square(int first, int rows, int columns) {
        for (int r = 0; r < rows; ++r)
            for (int c = 0; c < columns; ++c) {
                const int i = first + r * columns + c;
                Room(i);
                if (c + 1 < columns)
                    Link(i, DirEast, i + 1);
                if (r + 1 < rows)
                    Link(i, DirSouth, i + columns);
            }
    }

    TExitLayoutResult LayOut(TExitLayoutOptions options = {}) {
        const TExitLayoutResult result = LayOutFromExits(World.Rooms, kZone, options);
        std::set<std::tuple<int, int, int>> cells;
        int onGrid = 0;
        for (const TRoom* room : World.Rooms.ZoneRecords(kZone)) {
            if (room->MapLevel == 0)
                continue;
            ++onGrid;
            EXPECT_LT(room->MapX, options.Size);
            EXPECT_LT(room->MapY, options.Size);
            EXPECT_LE(room->MapLevel, options.Levels);
            EXPECT_TRUE(cells.insert(Cell(room->VNum % 100)).second)
                << "two rooms in one cell, one of them " << room->VNum;
        }
        EXPECT_EQ(onGrid, result.Kept + result.Placed);
        EXPECT_EQ(result.Rooms, result.Kept + result.Placed + result.Unplaced);
        const TExitLayoutResult measured = MeasureExitLayout(World.Rooms, kZone, options);
        EXPECT_EQ(measured.Joined, result.Joined);
        EXPECT_EQ(measured.TwoWayExits, result.TwoWayExits);
        return result;
    }
};

TEST_F(ExitLayout, CorridorGoesStraight) {
    for (int i = 0; i + 1 < 12; ++i)
        Link(i, DirEast, i + 1);
    const TExitLayoutResult result = LayOut();
    EXPECT_EQ(result.Placed, 12);
    EXPECT_EQ(result.TwoWayExits, 11);
    EXPECT_EQ(result.Joined, 11);
    const auto [x, y, level] = Cell(0);
    EXPECT_EQ(Cell(11), std::make_tuple(x + 11, y, level));
    // The map opens on level 3: a flat zone lies there.
    EXPECT_EQ(level, 3);
}

TEST_F(ExitLayout, SquareLoopCloses) {
    Link(0, DirEast, 1);
    Link(1, DirSouth, 2);
    Link(2, DirWest, 3);
    Link(3, DirNorth, 0);
    EXPECT_EQ(LayOut().Joined, 4);
}

TEST_F(ExitLayout, TowerStandsOnThreeLevels) {
    // Three floors of 2 x 2 rooms, stairs up from each floor's first room.
    for (int floor = 0; floor < 3; ++floor) {
        Square(floor * 4, 2, 2);
        if (floor > 0)
            Link((floor - 1) * 4, DirUp, floor * 4);
    }
    const TExitLayoutResult result = LayOut();
    EXPECT_EQ(result.TwoWayExits, 3 * 4 + 2);
    EXPECT_EQ(result.Joined, result.TwoWayExits);
    const auto [x, y, level] = Cell(0);
    EXPECT_EQ(Cell(8), std::make_tuple(x, y, level + 2));
}

TEST_F(ExitLayout, UnconnectedPartsGoToFreeAreas) {
    Square(0, 3, 4);
    Square(20, 2, 5);
    Room(40); // no exits at all
    const TExitLayoutResult result = LayOut();
    EXPECT_EQ(result.Placed, 12 + 10 + 1);
    EXPECT_EQ(result.Joined, result.TwoWayExits);
    // No room of one part touches a room of another, even corner to corner.
    const auto part = [](int i) { return i < 20 ? 0 : (i < 40 ? 1 : 2); };
    for (const TRoom* a : World.Rooms.ZoneRecords(kZone))
        for (const TRoom* b : World.Rooms.ZoneRecords(kZone)) {
            if (part(a->VNum % 100) == part(b->VNum % 100))
                continue;
            EXPECT_FALSE(std::abs(a->MapX - b->MapX) <= 1 && std::abs(a->MapY - b->MapY) <= 1)
                << a->VNum << " touches " << b->VNum;
        }
}

TEST_F(ExitLayout, LoopThatCannotCloseKeepsAllButOneExitStraight) {
    // A twisted maze: east, north, west and north again lead back to the start.
    Link(0, DirEast, 1);
    Link(1, DirNorth, 2);
    Link(2, DirWest, 3);
    Link(3, DirNorth, 0);
    // A longer twist: east, east, south, west, and north leads to the first room
    // (a closed loop would need a second west).
    Link(10, DirEast, 11);
    Link(11, DirEast, 12);
    Link(12, DirSouth, 13);
    Link(13, DirWest, 14);
    Link(14, DirNorth, 10);
    const TExitLayoutResult result = LayOut();
    EXPECT_EQ(result.Placed, 9);
    EXPECT_EQ(result.TwoWayExits, 4 + 5);
    EXPECT_EQ(result.Joined, 3 + 4);
}

TEST_F(ExitLayout, HundredRoomsFillTheirSquare) {
    Square(0, 10, 10);
    const TExitLayoutResult result = LayOut();
    EXPECT_EQ(result.Placed, 100);
    EXPECT_EQ(result.TwoWayExits, 180);
    EXPECT_EQ(result.Joined, 180);
}

TEST_F(ExitLayout, PlacedRoomsStayUnlessAllAreLaidOut) {
    for (int i = 0; i + 1 < 5; ++i)
        Link(i, DirEast, i + 1);
    Room(9); // no exits: goes to a free area
    for (int i : {0, 1}) {
        Room(i).MapX = static_cast<uint8_t>(50 + i);
        Room(i).MapY = 50;
        Room(i).MapLevel = 5;
    }
    TExitLayoutResult result = LayOut();
    EXPECT_EQ(result.Kept, 2);
    EXPECT_EQ(result.Placed, 4);
    EXPECT_EQ(Cell(0), std::make_tuple(50, 50, 5));
    EXPECT_EQ(Cell(4), std::make_tuple(54, 50, 5));
    EXPECT_EQ(result.Joined, 4);

    TExitLayoutOptions all;
    all.All = true;
    result = LayOut(all);
    EXPECT_EQ(result.Kept, 0);
    EXPECT_EQ(result.Placed, 6);
    EXPECT_EQ(result.Joined, 4);
    EXPECT_NE(Cell(0), std::make_tuple(50, 50, 5));
}

TEST_F(ExitLayout, GridEdgeTurnsAPartAroundAPlacedRoom) {
    // The placed room sits in the last column of the top level: what lies
    // east of it and above it must find cells within the grid.
    Room(0).MapX = kMapSize - 1;
    Room(0).MapY = 0;
    Room(0).MapLevel = kMapLevels;
    for (int i = 0; i + 1 < 4; ++i)
        Link(i, DirEast, i + 1);
    Link(0, DirUp, 4);
    Link(0, DirSouth, 5);
    const TExitLayoutResult result = LayOut();
    EXPECT_EQ(result.Placed, 5);
    EXPECT_EQ(result.Unplaced, 0);
    EXPECT_EQ(Cell(5), std::make_tuple(kMapSize - 1, 1, kMapLevels));
    EXPECT_EQ(result.Joined, 1 + 2); // south, and the corridor beyond its first step
}

TEST_F(ExitLayout, ZoneThatDoesNotFitCountsItsUnplacedRooms) {
    Square(0, 2, 6); // twelve rooms on a grid of 3 x 3 cells and one level
    TExitLayoutOptions small;
    small.Size = 3;
    small.Levels = 1;
    const TExitLayoutResult result = LayOut(small);
    EXPECT_EQ(result.Placed, 9);
    EXPECT_EQ(result.Unplaced, 3);
    int off = 0;
    for (const TRoom* room : World.Rooms.ZoneRecords(kZone))
        off += room->MapLevel == 0;
    EXPECT_EQ(off, 3);
}

TEST_F(ExitLayout, OnlyTwoWayExitsWithinTheZoneCount) {
    Link(0, DirEast, 1);
    Room(1).Exits[DirNorth].ToRoom = Room(2).VNum; // one way
    Room(2).Exits[DirUp].ToRoom = 700;             // another zone
    World.Rooms.AddNew(700).Exits[DirDown].ToRoom = Room(2).VNum;
    Room(3).Exits[DirWest].ToRoom = Room(3).VNum; // to itself
    Room(3).Exits[DirEast].ToRoom = Room(3).VNum;
    const TExitLayoutResult result = LayOut();
    EXPECT_EQ(result.Rooms, 4);
    EXPECT_EQ(result.TwoWayExits, 1);
    EXPECT_EQ(result.Joined, 1);
    EXPECT_EQ(World.Rooms.Find(700)->MapLevel, 0); // other zones stay as they are
}
