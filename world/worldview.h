#pragma once

// What the checks, the search and "where used" look at: the five record
// lists and the zones of a workspace, with the names of the record kinds.

#include "mob.h"
#include "obj.h"
#include "recordkinds.h"
#include "room.h"
#include "shop.h"
#include "trigger.h"
#include "zone.h"

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

struct TWorldView {
    const TRoomList& Rooms;
    const TObjList& Objs;
    const TMobList& Mobs;
    const TShopList& Shops;
    const TTriggerList& Triggers;
    std::vector<const TZone*> Zones; // the zones of the workspace (their zone files)
};

// The zone of the workspace with that number; null when none.
const TZone* FindZone(const TWorldView& world, int32_t number);

// Whether a record of that kind and number exists (a zone: in `Zones`).
bool RecordExists(const TWorldView& world, TRecordType kind, int32_t vnum);

// A "T" zone command: the class of trigger it attaches (0 to the mob, 1 to
// the object just loaded, 2 to the room it names) and the trigger's number;
// "T 0 1 1203" attaches trigger 1203 to an object. None for any other line.
struct TResetTrigger {
    int16_t Class;
    int32_t VNum;
};
std::optional<TResetTrigger> ResetTriggerOf(std::string_view line);

// The zone a record belongs to: its number div 100; a zone's own number.
int32_t ZoneOfRecord(TRecordType kind, int32_t vnum);

// "комната", "объект", ... (Windows-1251).
std::string RecordTypeName(TRecordType kind);
// "Комната", "Объект", ... (Windows-1251).
std::string RecordTypeCaption(TRecordType kind);
// "Комната 1201 (Зал)": the kind with a capital, the number and the name
// when the record exists and has one (Windows-1251).
std::string RecordCaption(const TWorldView& world, TRecordType kind, int32_t vnum);
