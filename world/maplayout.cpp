#include "maplayout.h"

#include <algorithm>
#include <filesystem>
#include <system_error>

std::string LayoutFileName(const std::string& roomFileName) {
    const size_t slash = roomFileName.rfind('/');
    const size_t nameStart = slash == std::string::npos ? 0 : slash + 1;
    const size_t dot = roomFileName.find('.', nameStart);
    return roomFileName.substr(0, dot) + ".map";
}

void ReadLayout(TRoomList& rooms, TWorldReader& reader) {
    while (!reader.Eof()) {
        const std::string line = reader.ReadLine();
        TRoom* room = rooms.Find(ToInt32(Word(1, line)));
        if (!room)
            continue;
        room->MapX = ToByte(Word(2, line));
        room->MapY = ToByte(Word(3, line));
        room->MapLevel = ToByte(Word(4, line));
    }
}

std::vector<int32_t> LayoutNumbers(const std::string& fileName) {
    std::vector<int32_t> numbers;
    std::string bytes;
    if (!ReadFileBytes(fileName, bytes))
        return numbers;
    // Each line as ReadLayout reads it; a line it would stop at is passed by.
    TWorldReader reader = TWorldReader::FromBytes(std::move(bytes));
    while (!reader.Eof()) {
        try {
            numbers.push_back(ToInt32(Word(1, reader.ReadLine())));
        } catch (const TLoadFailure&) {
        }
    }
    std::sort(numbers.begin(), numbers.end());
    return numbers;
}

bool LoadLayoutFile(TRoomList& rooms, const std::string& fileName) {
    return LoadWorldFile("карту", fileName,
                         [&rooms](TWorldReader& reader) { ReadLayout(rooms, reader); });
}

std::string NoLayoutNote(const std::string& roomFileName) {
    return Msg("Комнаты не расставлены на карте (нет файла карты ") +
           Msg(LayoutFileName(roomFileName)) + Msg(")\r\nФайл: ") + Msg(roomFileName);
}

bool LoadLayoutBeside(TRoomList& rooms, const std::string& roomFileName) {
    const std::string layout = LayoutFileName(roomFileName);
    std::error_code error;
    if (!std::filesystem::exists(std::filesystem::symlink_status(layout, error))) {
        ReportFileNote(NoLayoutNote(roomFileName));
        return true;
    }
    return LoadLayoutFile(rooms, layout);
}

void LayoutToStrings(const TRoomList& rooms, TStringList& lines, int32_t zone) {
    lines.clear();
    for (const TRoom* room : rooms.ZoneInListOrder(zone))
        lines.push_back(Format("%d %d %d %d", room->VNum, room->MapX, room->MapY, room->MapLevel));
}

bool SaveLayoutFile(const TRoomList& rooms, const std::string& fileName, int32_t zone) {
    TStringList lines;
    LayoutToStrings(rooms, lines, zone);
    return SaveRecordFile(fileName, lines, kLayoutSaveFailure);
}

bool IsOnGrid(const TRoom& room) {
    return room.MapLevel >= 1 && room.MapLevel <= kMapLevels && room.MapX < kMapSize &&
           room.MapY < kMapSize;
}

void TMapGrid::Clear() {
    cells_.fill(-1);
}

namespace {
bool InGrid(int x, int y, int level) {
    return x >= 0 && x < kMapSize && y >= 0 && y < kMapSize && level >= 1 && level <= kMapLevels;
}
size_t CellIndex(int x, int y, int level) {
    return static_cast<size_t>(((level - 1) * kMapSize + y) * kMapSize + x);
}
} // namespace

int32_t TMapGrid::At(int x, int y, int level) const {
    return InGrid(x, y, level) ? cells_[CellIndex(x, y, level)] : -1;
}

void TMapGrid::Set(int x, int y, int level, int32_t vnum) {
    if (InGrid(x, y, level))
        cells_[CellIndex(x, y, level)] = vnum;
}

std::vector<TListEntry> FillMap(const TRoomList& rooms, TMapGrid& grid, int32_t zone) {
    grid.Clear();
    std::vector<TListEntry> unplaced;
    if (zone < 0)
        return unplaced;
    for (const TRoom* room : rooms.ZoneInListOrder(zone)) {
        // A position the grid cannot hold is kept in the room but shown as not placed.
        if (IsOnGrid(*room))
            grid.Set(room->MapX, room->MapY, room->MapLevel, room->VNum);
        else
            unplaced.push_back({std::to_string(room->VNum) + "  " + room->Name, room->VNum});
    }
    return unplaced;
}
