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

void NormalizeZone(TZone& zone) {
    const int32_t number = zone.ZoneNumber;
    RoomList.ForgetSources(number);
    ObjList.ForgetSources(number);
    MobList.ForgetSources(number);
    ShopList.ForgetSources(number);
    TriggerList.ForgetSources(number);
    zone.ForgetSource();
}
