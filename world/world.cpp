#include "world.h"

void TWorld::Clear() {
    Rooms.Clear();
    Objs.Clear();
    Mobs.Clear();
    Shops.Clear();
    Triggers.Clear();
    Zones.clear();
    Map.Clear();
}

TZone* TWorld::FindZone(int32_t number) const {
    for (const auto& zone : Zones)
        if (zone->ZoneNumber == number)
            return zone.get();
    return nullptr;
}

TZone& TWorld::AddZone(std::unique_ptr<TZone> zone) {
    return *Zones.emplace_back(std::move(zone));
}

std::vector<const TZone*> TWorld::ZoneList() const {
    std::vector<const TZone*> zones;
    zones.reserve(Zones.size());
    for (const auto& zone : Zones)
        zones.push_back(zone.get());
    return zones;
}

TWorldView TWorld::View() const {
    return {Rooms, Objs, Mobs, Shops, Triggers, ZoneList()};
}

void NormalizeZone(TWorld& world, TZone& zone) {
    const int32_t number = zone.ZoneNumber;
    world.Rooms.ForgetSources(number);
    world.Objs.ForgetSources(number);
    world.Mobs.ForgetSources(number);
    world.Shops.ForgetSources(number);
    world.Triggers.ForgetSources(number);
    zone.ForgetSource();
}
