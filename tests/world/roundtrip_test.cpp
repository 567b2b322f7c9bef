#include "maplayout.h"
#include "testsupport.h"
#include "zone.h"

#include <gtest/gtest.h>

namespace {
// A door (flags 1) to `to` with these texts, locked by `key`.
TExit Door(const std::string& keywords, const std::string& desc, int32_t key, int32_t to,
           uint8_t state) {
    TExit door;
    door.SetExitKeywords(keywords);
    door.SetExitDesc(desc);
    door.DoorFlags = 1;
    door.Key = key;
    door.ToRoom = to;
    door.DoorState = state;
    return door;
}

// Builds one zone that uses every part of every format.
void BuildZone(TWorld& world) {
    TRoom& square = world.Rooms.AddNew(1201);
    square.Name = W("Площадь");
    square.Desc = W(TStringList{"Общее.", "<night>RНочь.<night>"});
    square.Flags = "a0c1";
    square.Exits[0] = Door(W("ворота"), W("Ворота на север."), 1210, 1202, 1);
    square.Exits[4].ToRoom = 1203;
    square.ExtraDescs.push_back({W("фонтан"), W(TStringList{"Фонтан.", "", "Вода."})});
    square.Triggers = {1202};
    square.MapX = 3;
    square.MapY = 4;
    square.MapLevel = 1;
    square.Objects.push_back(TRoomObj{1200, false, 100, {TLinkObj{1210, true, 0, 50}}});
    square.Mobs.push_back(TRoomMob{
        1200, false, -1, 1, {TLinkObj{1210, false, -1, 100}, TLinkObj{1211, false, 3, 100}}});
    square.Mobs.push_back(TRoomMob{1201, true, 1200, 0, {}});
    square.DelObjects = {PackIfFlag(true, 1211)};
    TRoom& inn = world.Rooms.AddNew(1202);
    inn.Name = W("Трактир");
    inn.Exits[2] = Door(W("ворота"), "", 1210, 1201, 0);
    inn.MapLevel = 2;
    world.Rooms.AddNew(1203).Name = "Up";

    TObj& chest = world.Objs.AddNew(1200);
    chest.Alias = W("сундук");
    chest.Imen = W("сундук");
    chest.Desc = W("Сундук стоит здесь.");
    chest.Kind = 15;
    chest.Param1 = "50";
    chest.Param3 = 1210;
    chest.MaxInWorld = 1;
    chest.ExtraDescs.push_back({"x", {"y"}});
    chest.AddParam = {PackAddParam(12, -3)};
    chest.Triggers = {1201};
    TObj& key = world.Objs.AddNew(1210);
    key.Imen = W("ключ");
    key.Kind = 18;
    key.Action = W("Щёлк.");
    key.MaxInWorld = 2;
    TObj& helm = world.Objs.AddNew(1211);
    helm.Kind = 25;
    helm.MagicVector = "a0c0";
    helm.Effects = "b0";
    helm.MaxInWorld = 3;

    TMob& guard = world.Mobs.AddNew(1200);
    guard.Imen = W("стражник");
    guard.Look = W(TStringList{"Высокий.", "", "Суровый."});
    guard.Hits = {3, 8, 10};
    guard.Damage = {1, 6, -2};
    guard.Hitroll = -5;
    guard.Destination = "1201/1202";
    guard.Special = "a0";
    guard.Spells = {PackPair(12, 2)};
    guard.Skills = {PackPair(5, 80)};
    guard.Helper = {1201};
    guard.Triggers = {1200};
    guard.MaxInWorld = 4;
    world.Mobs.AddNew(1201).Imen = W("пёс");

    TShop& shop = world.Shops.AddNew(1200);
    shop.Goods = {1210};
    shop.CoeffSell = 1.25;
    shop.CoeffBuy = 0.5;
    shop.GoodsBuy = {{"5", 5}, {W("меч"), -1}};
    shop.GoodsChange = {{"9", 9}};
    shop.Msg1 = W("Нет у меня %s.");
    shop.Seller = 1200;
    shop.Rooms = {1201};
    shop.Close1 = 28;

    TTrigger& trigger = world.Triggers.AddNew(1200);
    trigger.Name = W("приветствие");
    trigger.Flags = "b0";
    trigger.NumParam = 100;
    trigger.Text = {W("say Привет!\r\nend")};
    world.Triggers.AddNew(1201).Model = 1;
    world.Triggers.AddNew(1202).Model = 2;
}

TZone MakeZone(const std::filesystem::path& workspace) {
    TZone zone(12);
    zone.ZoneName = W("Город");
    zone.RepopTime = 30;
    zone.CreatedObjects.push_back(TRoomObj{1210, false, 100, {}});
    zone.DeletedMobs = {1250};
    zone.ZoneFileName = (workspace / "ZON" / "12.zon").string();
    zone.DeriveFileNames();
    return zone;
}

void SaveZone(const TWorld& world, const TZone& zone) {
    for (const auto* name : {&zone.ZoneFileName, &zone.RoomFileName, &zone.ObjFileName,
                             &zone.MobFileName, &zone.ShopFileName, &zone.TrigFileName})
        std::filesystem::create_directories(std::filesystem::path(*name).parent_path());
    world.Rooms.SaveToFile(zone.RoomFileName, 12);
    world.Objs.SaveToFile(zone.ObjFileName, 12);
    world.Mobs.SaveToFile(zone.MobFileName, 12);
    world.Shops.SaveToFile(zone.ShopFileName, 12);
    world.Triggers.SaveToFile(zone.TrigFileName, 12);
    zone.SaveToFile(world, zone.ZoneFileName);
}

// Reads a zone the way the start-up scan does: prototypes, rooms with their
// layout, triggers, then the zone file.
TZone LoadZone(TWorld& world, const std::filesystem::path& workspace) {
    world.Objs.LoadFromFile((workspace / "OBJ" / "12.obj").string());
    world.Mobs.LoadFromFile((workspace / "MOB" / "12.mob").string());
    world.Shops.LoadFromFile((workspace / "SHP" / "12.shp").string());
    world.Rooms.LoadFromFile((workspace / "WLD" / "12.wld").string());
    world.Triggers.LoadFromFile((workspace / "TRG" / "12.trg").string());
    TZone zone;
    EXPECT_TRUE(zone.OpenZoneFile(world, (workspace / "ZON" / "12.zon").string()));
    return zone;
}

std::map<std::string, std::string> FilesOf(const std::filesystem::path& folder) {
    std::map<std::string, std::string> files;
    for (const auto& entry : std::filesystem::recursive_directory_iterator(folder))
        if (entry.is_regular_file())
            files[std::filesystem::relative(entry.path(), folder).string()] =
                ReadBytes(entry.path());
    return files;
}
} // namespace

class RoundTrip : public WorldTest {};

TEST_F(RoundTrip, AllSevenFilesOfAZoneComeBackByteForByte) {
    BuildZone(World);
    const auto first = Dir / "first";
    SaveZone(World, MakeZone(first));
    ASSERT_TRUE(Reporter.Messages.empty()) << Reporter.Messages[0];

    World.Clear();
    TZone zone = LoadZone(World, first);
    EXPECT_TRUE(Reporter.Messages.empty());
    const auto second = Dir / "second";
    zone.ZoneFileName = (second / "ZON" / "12.zon").string();
    zone.DeriveFileNames();
    SaveZone(World, zone);

    const auto a = FilesOf(first);
    const auto b = FilesOf(second);
    EXPECT_EQ(a.size(), 7u);
    EXPECT_EQ(a, b);

    // What was read is what was built.
    EXPECT_EQ(World.Rooms.Find(1201)->Mobs[1].Leader, 1200);
    EXPECT_EQ(World.Rooms.Find(1201)->Objects[0].Contents.size(), 1u);
    EXPECT_EQ(World.Rooms.Find(1202)->MapLevel, 2);
    EXPECT_EQ(World.Objs.Find(1211)->MaxInWorld, 3);
    EXPECT_EQ(World.Mobs.Find(1200)->Damage, (TDice{1, 6, -2}));
    EXPECT_EQ(World.Shops.Find(1200)->CoeffChange, 1.0);
    EXPECT_EQ(World.Triggers.Find(1200)->Text, (TStringList{W("say Привет!"), "end"}));
}
