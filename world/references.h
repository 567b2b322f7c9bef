#pragma once

// "Where used": every place of the workspace that refers to one record.

#include "worldview.h"

#include <cstdint>
#include <string>
#include <vector>

struct TRecordUse {
    TRecordType Kind; // the record that refers
    int32_t VNum;
    std::string What; // how it refers (Windows-1251)
    bool operator==(const TRecordUse&) const = default;
};

// The exits, door keys, resets and room contents, shop goods, keepers and
// rooms, routes, attached triggers, created objects and deleted mobs that
// refer to the record, in the order of the lists (rooms, mobs, objects,
// shops, zones).
std::vector<TRecordUse> FindUses(const TWorldView& world, TRecordType kind, int32_t vnum);
