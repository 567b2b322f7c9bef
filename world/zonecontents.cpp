#include "zonecontents.h"

#include "strutils.h"
#include "world.h"

#include <map>

namespace {

struct TRoomContents {
    TRoomMobList Mobs;
    TRoomObjList Objects;
    std::vector<int32_t> DelObjects;
};

} // namespace

void ClearZoneContents(TWorld& world, int32_t zone) {
    // A room kept as its text holds nothing a zone file put there.
    world.Rooms.ForEachMade([zone](TRoom& room) {
        if (ZoneOf(room.VNum) == zone) {
            room.Mobs.clear();
            room.Objects.clear();
            room.DelObjects.clear();
            room.KeptZoneCommands.clear();
        }
    });
}

std::optional<int32_t> PeekZoneNumber(const std::string& fileName) {
    // The zone reader's own line and number rules, so that both agree on
    // which zone a file describes.
    std::string bytes;
    if (!ReadFileBytes(fileName, bytes))
        return std::nullopt;
    TWorldReader reader = TWorldReader::FromBytes(std::move(bytes));
    while (!reader.Eof()) {
        const std::string line = reader.NextLine();
        if (StartsWith(line, '#'))
            return ZoneHeaderNumber(line);
    }
    return std::nullopt;
}

bool ReloadZoneFile(TWorld& world, TZone& zone, const std::string& fileName) {
    if (const auto described = PeekZoneNumber(fileName))
        ClearZoneContents(world, *described);
    return zone.LoadFromFile(world, fileName);
}

void LoadRoomFileKeepingContents(TWorld& world, const std::string& fileName) {
    std::map<int32_t, TRoomContents> kept;
    world.Rooms.ForEachMade([&kept](const TRoom& room) {
        if (!room.Mobs.empty() || !room.Objects.empty() || !room.DelObjects.empty())
            kept.emplace(room.VNum, TRoomContents{room.Mobs, room.Objects, room.DelObjects});
    });
    world.Rooms.LoadFromFile(fileName);
    for (auto& [vnum, contents] : kept)
        if (TRoom* room = world.Rooms.Find(vnum)) {
            room->Mobs = std::move(contents.Mobs);
            room->Objects = std::move(contents.Objects);
            room->DelObjects = std::move(contents.DelObjects);
        }
}

bool ReadWholeZone(TWorld& world, TZone& zone, const TKindNameLookup& kindName,
                   const std::function<std::string(const std::string&)>& path) {
    bool whole = world.Rooms.LoadFromFile(path(zone.RoomFileName));
    whole &= world.Objs.LoadFromFile(path(zone.ObjFileName));
    whole &= world.Mobs.LoadFromFile(path(zone.MobFileName));
    whole &= world.Shops.LoadFromFile(path(zone.ShopFileName), kindName);
    whole &= world.Triggers.LoadFromFile(path(zone.TrigFileName));
    whole &= ReloadZoneFile(world, zone, path(zone.ZoneFileName));
    return whole;
}
