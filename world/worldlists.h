#pragma once

// The five process-wide record lists: every record of every zone at once.

#include "mob.h"
#include "obj.h"
#include "room.h"
#include "shop.h"
#include "trigger.h"
#include "zone.h"

extern TRoomList RoomList;
extern TObjList ObjList;
extern TMobList MobList;
extern TShopList ShopList;
extern TTriggerList TriggerList;

// Empties all five lists (a fresh start; tests).
void ClearWorld();

// "Привести зону к формату редактора": the zone's seven files are written in
// our writers' form from now on, the older forms converted; what we do not
// model stays in its place.
void NormalizeZone(TZone& zone);
