#pragma once

// Finding records across the workspace: by number (any kind, any zone) or by
// text in names, descriptions and scripts.

#include "worldview.h"

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

struct TFoundRecord {
    TRecordType Kind;
    int32_t VNum;
    std::string Line; // the matching line (Windows-1251); the caption for a number
    bool operator==(const TFoundRecord&) const = default;
};

// Every record with that number: a zone, a room, an object, a mob, a shop, a trigger.
std::vector<TFoundRecord> FindNumber(const TWorldView& world, int32_t vnum);

// The lines of names, descriptions (extra ones and exits' too), shop
// messages and trigger scripts that contain `text`, ignoring letter case,
// Latin and Cyrillic, with "ё" taken as "е"; one result per matching line,
// rooms, objects, mobs, shops, triggers and zones in list order, at most
// `limit` (`truncated` tells whether more were left out).
std::vector<TFoundRecord> FindText(const TWorldView& world, std::string_view text, size_t limit,
                                   bool* truncated = nullptr);

// The Windows-1251 text folded for that comparison.
std::string FoldCp1251(std::string_view text);
