#include "pagekinds.h"

#include "pagesupport.h"

const std::array<TPageKind, kPageCount> kPageKinds = {{
    {TRecordType::Zone, "Зона", "", "", "&Зоны", "", "", "зоны", nullptr},
    {TRecordType::Room, "Комнаты", "RoomTabSheet", "R_IDComboBox", "&Комнат", "N13", "&Комнат",
     "комнаты", AttachRoomPage},
    {TRecordType::Obj, "Объекты", "ObjTabSheet", "O_IDComboBox", "&Объектов", "N14", "&Объектов",
     "объекта", AttachObjPage},
    {TRecordType::Mob, "Мобы", "MobTabSheet", "M_IDComboBox", "&Мобов", "N15", "&Мобов", "моба",
     AttachMobPage},
    {TRecordType::Shop, "Магазины", "ShopTabSheet", "S_IDComboBox", "М&агазинов", "N22",
     "М&агазинов", "магазина", AttachShopPage},
    {TRecordType::Trigger, "Триггеры", "TrigTabSheet", "T_IDComboBox", "&Триггеров", "N23",
     "&Триггеров", "триггера", AttachTrigPage},
}};
