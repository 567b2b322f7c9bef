#pragma once

// The world being read or edited: the five record lists of every zone at
// once, the zones of the workspace and the map grid of the zone shown. One
// object owns it all; the editor's document holds one, each tool its own.

#include "maplayout.h"
#include "mob.h"
#include "obj.h"
#include "room.h"
#include "shop.h"
#include "trigger.h"
#include "worldview.h"
#include "zone.h"

#include <cstdint>
#include <memory>
#include <vector>

class TWorld {
public:
    TRoomList Rooms;
    TObjList Objs;
    TMobList Mobs;
    TShopList Shops;
    TTriggerList Triggers;
    // The zones of the workspace (their zone files), in the order they were
    // read or made.
    std::vector<std::unique_ptr<TZone>> Zones;
    // The cells of the zone the map shows.
    TMapGrid Map;

    // Empties the lists, the zones and the map (a fresh start).
    void Clear();

    // The zone numbered so (the first one); null when none is.
    TZone* FindZone(int32_t number) const;
    // Appends a zone; returns it.
    TZone& AddZone(std::unique_ptr<TZone> zone);
    // Every zone, in order.
    std::vector<const TZone*> ZoneList() const;

    // What the checks, the search and "where used" read: the lists with
    // every zone.
    TWorldView View() const;
};

// "Привести зону к формату редактора": the zone's seven files are written in
// our writers' form from now on, the older forms converted; what we do not
// model stays in its place.
void NormalizeZone(TWorld& world, TZone& zone);
