// The table of record kinds: each kind reaches its own list, reads and saves
// its own files and names itself in messages and captions.

#include "recordkinds.h"
#include "testsupport.h"
#include "workspacescan.h"
#include "zonesave.h"

#include <stdexcept>

namespace {

class RecordKinds : public WorldTest {
protected:
    // The list the visitor hands over for a kind, as an address.
    template <class World> static const void* ListOf(World& world, TRecordType type) {
        return WithRecordList(world, type, [](auto& list) -> const void* { return &list; });
    }
};

// The words each kind's failures say (UTF-8).
struct TKindWords {
    TRecordType Type;
    const char* Word;
};
const TKindWords kRecordWords[] = {{TRecordType::Room, "комнаты"},
                                   {TRecordType::Obj, "объекты"},
                                   {TRecordType::Mob, "мобов"},
                                   {TRecordType::Shop, "магазины"},
                                   {TRecordType::Trigger, "триггеры"}};

TEST_F(RecordKinds, VisitorReachesEachKindsOwnList) {
    const TWorld& constWorld = World;
    const TWorldView view = World.View();
    const std::pair<TRecordType, const void*> lists[] = {{TRecordType::Room, &World.Rooms},
                                                         {TRecordType::Obj, &World.Objs},
                                                         {TRecordType::Mob, &World.Mobs},
                                                         {TRecordType::Shop, &World.Shops},
                                                         {TRecordType::Trigger, &World.Triggers}};
    for (const auto& [type, list] : lists) {
        SCOPED_TRACE(static_cast<int>(type));
        EXPECT_EQ(ListOf(World, type), list);
        EXPECT_EQ(ListOf(constWorld, type), list);
        EXPECT_EQ(ListOf(view, type), list);
    }
    // A zone has no list: asking for one is refused, not answered with another kind's.
    EXPECT_THROW(ListOf(World, TRecordType::Zone), std::invalid_argument);
}

TEST_F(RecordKinds, EachKindReadsAndSavesWithItsOwnWords) {
    TZone& zone = World.AddZone(std::make_unique<TZone>());
    zone.ZoneNumber = 12;
    for (const auto& [type, word] : kRecordWords) {
        SCOPED_TRACE(word);
        Reporter.Messages.clear();
        const std::string missing = PathOf(std::string("12") + WorldKind(type).Extension);
        EXPECT_FALSE(LoadRecordFile(World, type, missing));
        EXPECT_EQ(Reporter.Messages,
                  std::vector<std::string>{LoadError(word, missing, "(Не смог открыть файл)")});
    }
    std::vector<std::string> failures;
    for (const TWorldKind& kind : kWorldKinds) {
        Reporter.Messages.clear();
        const std::string path = PathOf(std::string("no/such/folder/12") + kind.Extension);
        EXPECT_FALSE(SaveZoneKindFile(World, zone, static_cast<int>(kind.Type), path).Ok());
        ASSERT_FALSE(Reporter.Messages.empty());
        failures.push_back(Reporter.Messages.front());
    }
    EXPECT_EQ(failures,
              (std::vector<std::string>{
                  SaveError("зону", PathOf("no/such/folder/12.zon"), kNoSuchFolder),
                  SaveError("комнаты", PathOf("no/such/folder/12.wld"), kNoSuchFolder),
                  SaveError("объекты", PathOf("no/such/folder/12.obj"), kNoSuchFolder),
                  SaveError("мобов", PathOf("no/such/folder/12.mob"), kNoSuchFolder),
                  SaveError("магазины", PathOf("no/such/folder/12.shp"), kNoSuchFolder),
                  SaveError("триггеры", PathOf("no/such/folder/12.trg"), kNoSuchFolder)}));
}

// A zone's files lie in the kind folders beside its zone folder, named by
// its number.
TEST_F(RecordKinds, ZoneFileNamesFollowTheKinds) {
    TZone zone;
    zone.ZoneNumber = 12;
    zone.ZoneFileName = "/w/ZON/12.zon";
    zone.DeriveFileNames();
    std::vector<std::string> files;
    for (const TWorldKind& kind : kWorldKinds)
        files.push_back(ZoneFileOf(zone, kind.Type));
    EXPECT_EQ(files, (std::vector<std::string>{"/w/ZON/12.zon", "/w/WLD/12.wld", "/w/OBJ/12.obj",
                                               "/w/MOB/12.mob", "/w/SHP/12.shp", "/w/TRG/12.trg"}));
}

TEST_F(RecordKinds, CaptionsNameTheKindAndTheRecord) {
    World.Rooms.AddNew(1201).Name = W("Зал");
    World.Objs.AddNew(1202).Imen = W("меч");
    World.Mobs.AddNew(1203).Imen = W("страж");
    World.Shops.AddNew(1204);
    World.Triggers.AddNew(1205).Name = W("приветствие");
    TZone& zone = World.AddZone(std::make_unique<TZone>());
    zone.ZoneNumber = 12;
    zone.ZoneName = W("Город");
    const TWorldView view = World.View();
    const auto caption = [&](TRecordType type, int32_t vnum) {
        return Cp1251ToUtf8(RecordCaption(view, type, vnum));
    };
    EXPECT_EQ(caption(TRecordType::Zone, 12), "Зона 12 (Город)");
    EXPECT_EQ(caption(TRecordType::Room, 1201), "Комната 1201 (Зал)");
    EXPECT_EQ(caption(TRecordType::Obj, 1202), "Объект 1202 (меч)");
    EXPECT_EQ(caption(TRecordType::Mob, 1203), "Моб 1203 (страж)");
    EXPECT_EQ(caption(TRecordType::Shop, 1204), "Магазин 1204");
    EXPECT_EQ(caption(TRecordType::Trigger, 1205), "Триггер 1205 (приветствие)");
    EXPECT_EQ(caption(TRecordType::Mob, 1299), "Моб 1299");
    EXPECT_EQ(Cp1251ToUtf8(RecordTypeName(TRecordType::Shop)), "магазин");
    EXPECT_TRUE(RecordExists(view, TRecordType::Shop, 1204));
    EXPECT_FALSE(RecordExists(view, TRecordType::Trigger, 1204));
    EXPECT_TRUE(RecordExists(view, TRecordType::Zone, 12));
}

} // namespace
