#pragma once

// The five process-wide record lists: every record of every zone at once.

#include "mob.h"
#include "obj.h"
#include "room.h"
#include "shop.h"
#include "trigger.h"

extern TRoomList RoomList;
extern TObjList ObjList;
extern TMobList MobList;
extern TShopList ShopList;
extern TTriggerList TriggerList;

// Empties all five lists (a fresh start; tests).
void ClearWorld();
