#include "zonecontents.h"

#include "strutils.h"
#include "worldlists.h"

#include <map>

namespace {

struct TRoomContents {
    TRoomMobList Mobs;
    TRoomObjList Objects;
    std::vector<int32_t> DelObjects;
};

} // namespace

void ClearZoneContents(int32_t zone) {
    for (auto& room : RoomList)
        if (ZoneOf(room->VNum) == zone) {
            room->Mobs.clear();
            room->Objects.clear();
            room->DelObjects.clear();
            room->KeptZoneCommands.clear();
        }
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

bool ReloadZoneFile(TZone& zone, const std::string& fileName) {
    if (const auto described = PeekZoneNumber(fileName))
        ClearZoneContents(*described);
    return zone.LoadFromFile(fileName);
}

void LoadRoomFileKeepingContents(const std::string& fileName) {
    std::map<int32_t, TRoomContents> kept;
    for (const auto& room : RoomList)
        if (!room->Mobs.empty() || !room->Objects.empty() || !room->DelObjects.empty())
            kept.emplace(room->VNum, TRoomContents{room->Mobs, room->Objects, room->DelObjects});
    RoomList.LoadFromFile(fileName);
    for (auto& [vnum, contents] : kept)
        if (TRoom* room = RoomList.Find(vnum)) {
            room->Mobs = std::move(contents.Mobs);
            room->Objects = std::move(contents.Objects);
            room->DelObjects = std::move(contents.DelObjects);
        }
}

bool ReadWholeZone(TZone& zone, const TKindNameLookup& kindName,
                   const std::function<std::string(const std::string&)>& path) {
    bool whole = RoomList.LoadFromFile(path(zone.RoomFileName));
    whole &= ObjList.LoadFromFile(path(zone.ObjFileName));
    whole &= MobList.LoadFromFile(path(zone.MobFileName));
    whole &= ShopList.LoadFromFile(path(zone.ShopFileName), kindName);
    whole &= TriggerList.LoadFromFile(path(zone.TrigFileName));
    whole &= ReloadZoneFile(zone, path(zone.ZoneFileName));
    return whole;
}
