#pragma once

// Rules the game server holds its world files to beyond their format: a
// world that breaks them stops the server at boot or loses content there.

#include <cstdint>

// The server refuses a room file holding more rooms than this ("list more
// than 99 room") and stops.
inline constexpr int kMaxRoomsPerFile = 99;

// The offset of the room the server makes in every zone for itself (NN99):
// a builder's room there clashes with it. Being the last offset, the rooms
// a zone may hold are the offsets below it.
inline constexpr int kServerRoomOffset = 99;

inline bool IsServerRoom(int32_t vnum) {
    return vnum % 100 == kServerRoomOffset;
}
