#pragma once

// Everything of one zone the editor can change, copied: the zone record and
// the records numbered in it with their files' frames. An undo step keeps
// the zones it touched as they were before and after it; the unsaved marks
// and the recovery copies compare and write what a zone's files would hold.

#include "mob.h"
#include "obj.h"
#include "room.h"
#include "shop.h"
#include "trigger.h"
#include "zone.h"

#include <array>
#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <vector>

struct TZoneState {
    int32_t Number = 0;        // the records' zone number
    std::optional<TZone> Zone; // none for numbers no zone file describes
    std::vector<TRoom> Rooms;
    std::vector<TObj> Objs;
    std::vector<TMob> Mobs;
    std::vector<TShop> Shops;
    std::vector<TTrigger> Triggers;
    std::array<std::optional<TFileFrame>, 5> Frames; // rooms, objects, mobs, shops, triggers
    uint64_t FilesHash = 0;                          // ZoneFilesHash when captured
};

// The zone's records in the world's lists and `zone` (when given), copied.
TZoneState CaptureZone(const TWorld& world, int32_t number, const TZone* zone);
// Puts a captured state back: the records numbered in the zone are replaced
// by the copies, and `zone` (when given) takes the copied zone record.
void RestoreZone(TWorld& world, const TZoneState& state, TZone* zone);

// The seven files a zone is saved into, in this order: zone, rooms, layout,
// objects, mobs, shops, triggers.
std::vector<std::string> FilesOfZone(const TZone& zone);

// One of the seven files of a zone as it would be written now.
struct TComposedFile {
    std::string Path;
    TStringList Lines;
    std::string_view LineEnd = kCrLf; // the file's main line end
};
// The zone's seven files (zone, rooms, layout, objects, mobs, shops,
// triggers) as a save would write them.
std::vector<TComposedFile> ComposeZoneFiles(const TWorld& world, const TZone& zone);
// A hash of what the seven files of zone `number` would hold (`zone` may be
// null: the record files only).
uint64_t ZoneFilesHash(const TWorld& world, int32_t number, const TZone* zone);

// What differs between two states of one zone, record by record: the
// numbers of the records added, removed and changed, for each kind.
struct TRecordChanges {
    std::vector<int32_t> Added, Removed, Changed;
    bool Empty() const { return Added.empty() && Removed.empty() && Changed.empty(); }
    // Whether the record numbered so was added, removed or changed.
    bool Touches(int32_t vnum) const;
};
struct TZoneDiff {
    int32_t Number = 0;
    std::array<TRecordChanges, 5> Records; // rooms, objects, mobs, shops, triggers
    std::array<bool, 5> Unparsed{}; // the records kept unread of a kind changed
    bool Layout = false;     // a room of the zone moved on the map (or left it)
    bool ZoneRecord = false; // the zone record itself
};
// `from` and `to` are states of the same zone.
TZoneDiff DiffZoneStates(const TZoneState& from, const TZoneState& to);
