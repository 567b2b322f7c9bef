#pragma once

// The consistency checks of the zone page, over the rooms of one zone.

#include "mob.h"
#include "room.h"

#include <cstdint>
#include <string>
#include <vector>

// One line per problem (Windows-1251), room by room in `rooms` order: placed
// mobs without a prototype, placed mobs whose room limit exceeds the world
// limit of their prototype, exits whose target room (in any zone) does not
// lead back, the server's own room number (NN99) taken, and more rooms than
// the server reads from one file.
std::vector<std::string> ZoneCheckLines(const std::vector<const TRoom*>& rooms,
                                        const TRoomList& allRooms, const TMobList& mobs);
