#pragma once

// Rooms placed on the map from their exits: north is one row up, south one
// row down, east one column right, west one column left, up one level
// higher, down one level lower. A zone read from a server has no layout;
// its exits already say where its rooms lie.
//
// Only two-way exits count (a room's exit leads to a room of the same zone
// whose exit in the reverse direction leads back); each such pair is one
// two-way exit. Exits to other zones, one-way exits and exits of a room to
// itself say nothing about where a room lies.

#include "maplayout.h"
#include "room.h"

#include <cstdint>

struct TExitLayoutOptions {
    // Every room of the zone laid out again; otherwise placed rooms stay where
    // they are and only the others are placed around them.
    bool All = false;
    // The grid: columns and rows 0 .. Size - 1, levels 1 .. Levels.
    int Size = kMapSize;
    int Levels = kMapLevels;
};

struct TExitLayoutResult {
    int Rooms = 0;    // the rooms of the zone
    int Kept = 0;     // already placed and left where they were
    int Placed = 0;   // placed by the layout
    int Unplaced = 0; // found no free cell and stay unplaced
    int TwoWayExits = 0;
    int Joined = 0; // two-way exits whose rooms sit in neighbour cells in their direction
    TExitLayoutResult& operator+=(const TExitLayoutResult& other);
};

// Places the rooms of `zone` (the first room of each number) on the grid so
// that as many two-way exits as can be join neighbour cells, no two rooms in
// one cell. Parts of the zone that no two-way exit joins go to free areas of
// the grid. A loop that cannot close on a grid keeps most of its exits
// straight and the rest lead to cells further off.
TExitLayoutResult LayOutFromExits(TRoomList& rooms, int32_t zone,
                                  const TExitLayoutOptions& options = {});

// The same counts for the layout as it stands (Placed: the rooms on the grid).
TExitLayoutResult MeasureExitLayout(const TRoomList& rooms, int32_t zone,
                                    const TExitLayoutOptions& options = {});
