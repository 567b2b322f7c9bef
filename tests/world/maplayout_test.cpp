#include "maplayout.h"
#include "testsupport.h"

#include <gtest/gtest.h>

class Layout : public WorldTest {};

TEST(LayoutFile, NameBesideTheRoomFile) {
    EXPECT_EQ(LayoutFileName("Zones/WLD/12.wld"), "Zones/WLD/12.map");
    EXPECT_EQ(LayoutFileName("Zones/WLD/12"), "Zones/WLD/12.map");
    EXPECT_EQ(LayoutFileName("a.b/WLD/12.x.wld"),
              "a.b/WLD/12.map"); // the first "." of the name, not the folder
}

TEST_F(Layout, RoomFileAndLayoutRoundTripOnDisk) {
    TRoom& a = World.Rooms.AddNew(1201);
    a.Name = "a";
    a.MapX = 10;
    a.MapY = 20;
    a.MapLevel = 3;
    World.Rooms.AddNew(1200).Name = "b"; // unplaced, written after 1201: layout walks list order
    World.Rooms.AddNew(1301);
    const auto wld = PathOf("12.wld");
    World.Rooms.SaveToFile(wld, 12);
    EXPECT_EQ(ReadBytes(PathOf("12.map")), "1201 10 20 3\r\n1200 0 0 0\r\n");

    World.Clear();
    World.Rooms.LoadFromFile(wld);
    EXPECT_TRUE(Reporter.Messages.empty());
    ASSERT_EQ(World.Rooms.Count(), 2);
    EXPECT_EQ(World.Rooms[0].VNum, 1200); // the room file is written in number order
    EXPECT_EQ(World.Rooms.Find(1201)->MapY, 20);
    EXPECT_EQ(World.Rooms.Find(1201)->MapLevel, 3);
}

TEST_F(Layout, RoomsTheLayoutNamesAreMadeWhileRead) {
    WriteBytes(PathOf("5.wld"),
               Crlf({"#500", "x~", "~", "5 0 1", "S", "#501", "y~", "~", "5 0 1", "S", "$", "$"}));
    WriteBytes(PathOf("5.map"), "500 1 2 3\r\n");
    World.Rooms.LoadFromFile(PathOf("5.wld"));
    EXPECT_FALSE(World.Rooms.IsUnread(World.Rooms.IndexOfVNum(500)));
    EXPECT_TRUE(World.Rooms.IsUnread(World.Rooms.IndexOfVNum(501)));
    EXPECT_EQ(World.Rooms.Find(500)->MapY, 2);
    EXPECT_EQ(LayoutNumbers(PathOf("5.map")), (std::vector<int32_t>{500}));
    EXPECT_TRUE(LayoutNumbers(PathOf("none.map")).empty());
}

TEST_F(Layout, MissingLayoutIsANoteAndPositionsStay) {
    // A room file straight from a server has no layout: not placed, not broken.
    WriteBytes(PathOf("5.wld"), Crlf({"#500", "x~", "~", "5 0 1", "S", "$", "$"}));
    World.Rooms.AddNew(500).MapX = 7;
    World.Rooms.LoadFromFile(PathOf("5.wld"));
    EXPECT_TRUE(Reporter.Messages.empty());
    EXPECT_EQ(Reporter.Notes,
              std::vector<std::string>{"Комнаты не расставлены на карте (нет файла карты " +
                                       PathOf("5.map") + ")\r\nФайл: " + PathOf("5.wld")});
    EXPECT_EQ(World.Rooms.Find(500)->MapX, 7);
    // An empty layout file (what the import writes) loads without a word.
    WriteBytes(PathOf("5.map"), "");
    Reporter.Notes.clear();
    World.Rooms.LoadFromFile(PathOf("5.wld"));
    EXPECT_TRUE(Reporter.Messages.empty());
    EXPECT_TRUE(Reporter.Notes.empty());
    // A layout path that cannot be read is still a failure.
    std::filesystem::remove(PathOf("5.map"));
    std::filesystem::create_directory(PathOf("5.map"));
    World.Rooms.LoadFromFile(PathOf("5.wld"));
    EXPECT_EQ(Reporter.Messages,
              std::vector<std::string>{"Не могу загрузить карту\r\nФайл: " + PathOf("5.map") +
                                       "\r\n(Не смог открыть файл)"});
}

TEST_F(Layout, ARoomThatCannotBeReadLeavesTheOthersPlaced) {
    WriteBytes(PathOf("5.wld"),
               Crlf({"#500", "x~", "~", "5 0 bad", "S", "#501", "y~", "~", "5 0 0", "S", "$"}));
    WriteBytes(PathOf("5.map"), Crlf({"501 1 2 3"}));
    EXPECT_FALSE(World.Rooms.LoadFromFile(PathOf("5.wld"))); // not read whole
    EXPECT_EQ(Reporter.Messages.size(), 1u);
    EXPECT_EQ(World.Rooms.Find(500), nullptr); // kept as its text
    EXPECT_EQ(World.Rooms.Find(501)->MapLevel, 3);
}

TEST_F(Layout, LinesForOtherZonesMissingRoomsAndBadLines) {
    World.Rooms.AddNew(500);
    World.Rooms.AddNew(900);
    auto load = [this](const std::vector<std::string>& lines) {
        LoadWorldBytes("карту", "m", Crlf(lines),
                       [this](TWorldReader& r) { ReadLayout(World.Rooms, r); });
    };
    load({"900 4 5 6", "777 1 2", "500 1 2 3"});
    EXPECT_EQ(World.Rooms.Find(900)->MapLevel, 6); // a loaded room of another zone is updated
    EXPECT_EQ(World.Rooms.Find(500)->MapLevel, 3);
    EXPECT_TRUE(Reporter.Messages.empty());

    load({"500 9 9 1", "900 1 2"});
    EXPECT_EQ(Reporter.Messages.back(),
              "Не могу загрузить карту\r\nФайл: m\r\n(Ошибка в строке 2)");
    EXPECT_EQ(World.Rooms.Find(500)->MapX, 9); // read before the failure: stays
    load({"500 1 1 1", "", "900 1 1 1"});
    EXPECT_EQ(Reporter.Messages.back(),
              "Не могу загрузить карту\r\nФайл: m\r\n(Ошибка в строке 2)");
    load({"500 256 1 1"});
    EXPECT_EQ(Reporter.Messages.size(), 3u);
}

TEST_F(Layout, FillMapPlacesRoomsAndListsTheRest) {
    TRoom& a = World.Rooms.AddNew(1200);
    a.MapX = 99;
    a.MapY = 0;
    a.MapLevel = 9;
    TRoom& b = World.Rooms.AddNew(1201);
    b.Name = "b";
    TRoom& far = World.Rooms.AddNew(1202); // stored beyond the grid: kept, shown as not placed
    far.Name = "far";
    far.MapX = 150;
    far.MapLevel = 1;
    TRoom& deep = World.Rooms.AddNew(1203);
    deep.MapLevel = 10;
    TRoom& same = World.Rooms.AddNew(1204); // same cell as 1200, later in the list: wins
    same.MapX = 99;
    same.MapLevel = 9;
    World.Rooms.AddNew(1300).MapLevel = 1;

    TMapGrid grid;
    const auto unplaced = FillMap(World.Rooms, grid, 12);
    EXPECT_EQ(grid.At(99, 0, 9), 1204);
    EXPECT_EQ(grid.At(0, 0, 1), -1); // room 1300 is of another zone
    EXPECT_EQ(unplaced,
              (std::vector<TListEntry>{{"1201  b", 1201}, {"1202  far", 1202}, {"1203  ", 1203}}));
    EXPECT_EQ(far.MapX, 150);
    EXPECT_EQ(grid.At(150, 0, 1), -1);
    EXPECT_EQ(grid.At(0, 0, 0), -1);

    EXPECT_TRUE(FillMap(World.Rooms, grid, -1).empty());
    EXPECT_EQ(grid.At(99, 0, 9), -1);
}
