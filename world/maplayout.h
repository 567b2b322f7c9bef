#pragma once

// The editor's map: where each room of a zone sits on the 100 x 100 grid of
// nine levels. Positions live in the rooms and in the layout file (.map)
// beside the room file.

#include "recordlist.h"
#include "room.h"

#include <array>
#include <cstdint>
#include <string>
#include <vector>

inline constexpr int kMapSize = 100;
inline constexpr int kMapLevels = 9;

// The layout file beside a room file: its folder, its name up to the first
// "." and ".map".
std::string LayoutFileName(const std::string& roomFileName);

// Reads the positions; false after a failure (reported as "карту").
bool LoadLayoutFile(TRoomList& rooms, const std::string& fileName);
// The layout file beside a room file, read after it. A missing one is no
// failure (a room file from the server has none): its rooms are not placed
// yet, which is passed on as a note. False after a failure.
bool LoadLayoutBeside(TRoomList& rooms, const std::string& roomFileName);
// The note of a room file without its layout file.
std::string NoLayoutNote(const std::string& roomFileName);
void ReadLayout(TRoomList& rooms, TWorldReader& reader);
// The room numbers a layout file names, ascending; none when it cannot be
// read (its reading reports that). A line without a number is passed by.
std::vector<int32_t> LayoutNumbers(const std::string& fileName);
void LayoutToStrings(const TRoomList& rooms, TStringList& lines, int32_t zone);
// The first words of a layout file's write failure.
inline constexpr const char* kLayoutSaveFailure = "Не могу сохранить карту";
// Writes one zone's positions; reports kLayoutSaveFailure on failure.
bool SaveLayoutFile(const TRoomList& rooms, const std::string& fileName, int32_t zone);

// True when a stored position fits the grid; a room whose position does not
// fit keeps it but is shown as not placed.
bool IsOnGrid(const TRoom& room);

// The room numbers of one zone's cells; -1 marks an empty cell.
class TMapGrid {
public:
    TMapGrid() { Clear(); }
    void Clear();
    // level is 1..9; out of range reads give -1.
    int32_t At(int x, int y, int level) const;
    void Set(int x, int y, int level, int32_t vnum);

private:
    std::array<int32_t, kMapSize * kMapSize * kMapLevels> cells_{};
};

// Rebuilds the grid for one zone and returns the zone's unplaced rooms, in
// list order ("number  name"). Zone -1 just empties the grid.
std::vector<TListEntry> FillMap(const TRoomList& rooms, TMapGrid& grid, int32_t zone);
