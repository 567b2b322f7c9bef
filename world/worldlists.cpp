#include "worldlists.h"

TRoomList RoomList;
TObjList ObjList;
TMobList MobList;
TShopList ShopList;
TTriggerList TriggerList;

void ClearWorld() {
    RoomList.Clear();
    ObjList.Clear();
    MobList.Clear();
    ShopList.Clear();
    TriggerList.Clear();
}
