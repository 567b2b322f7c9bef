#pragma once

// Reading a zone file or a room file again without doubling or dropping the
// room contents. The contents of a room (placed mobs and objects, removals)
// come from its zone's file: reading that file places them, and reading a
// room file empties them. These readers keep each room's contents once.

#include "shop.h"
#include "zone.h"

#include <cstdint>
#include <functional>
#include <optional>
#include <string>

// Empties the placed mobs, placed objects and removals of the rooms of a zone.
void ClearZoneContents(TWorld& world, int32_t zone);

// The zone number a zone file describes (its first "#" line); none when the
// file cannot be read or has no such line.
std::optional<int32_t> PeekZoneNumber(const std::string& fileName);

// Reads a zone file into `zone` the way a second read must go: the rooms of
// the zone the file describes lose their contents first, so the file's
// commands place them exactly once. False after a failure (reported).
bool ReloadZoneFile(TWorld& world, TZone& zone, const std::string& fileName);

// Reads a room file into the world's rooms; every room keeps the contents it had in
// memory (rooms new to the list start empty).
void LoadRoomFileKeepingContents(TWorld& world, const std::string& fileName);

// Reads all six files of a zone again, in the order they depend on: rooms
// first (their reader empties the contents the zone file then places),
// objects and mobs before the zone file (which sets their limits). `path`
// gives the file read for each of the zone's file names (Load zone reads the
// names themselves, the crash recovery its copies). True when every file was
// read whole (each failure is reported by its reader).
bool ReadWholeZone(TWorld& world, TZone& zone, const TKindNameLookup& kindName,
                   const std::function<std::string(const std::string&)>& path);
