#include "zonesave.h"

#include "maplayout.h"
#include "world.h"
#include "zonestate.h"

#include <array>

namespace {

// The first words of each file's failure, in ComposeZoneFiles order: zone,
// rooms, layout, objects, mobs, shops, triggers.
constexpr std::array<const char*, 7> kFailureWords = {
    "Не могу сохранить зону",    "Не могу сохранить комнаты", "Не могу сохранить карту",
    "Не могу сохранить объекты", "Не могу сохранить мобов",   "Не могу сохранить магазины",
    "Не могу сохранить триггеры"};

// The order the files are written in, as positions in that list.
constexpr std::array<size_t, 7> kSaveOrder = {3, 4, 5, 6, 1, 2, 0};

void Write(const TComposedFile& file, size_t index, const std::string& path,
           TZoneSaveResult& result) {
    TWriteResult written = WriteRecordFile(path, file.Lines, kFailureWords[index], file.LineEnd);
    if (!written)
        result.NotWritten.push_back({path, std::move(written)});
}

} // namespace

TZoneSaveResult SaveZoneFiles(const TWorld& world, const TZone& zone, const TZonePathMap& where) {
    const std::vector<TComposedFile> files = ComposeZoneFiles(world, zone);
    TZoneSaveResult result;
    for (const size_t index : kSaveOrder)
        Write(files[index], index, where ? where(files[index].Path) : files[index].Path, result);
    return result;
}

TZoneSaveResult SaveZoneKindFile(const TWorld& world, const TZone& zone, int kind,
                                 const std::string& path) {
    const std::vector<TComposedFile> files = ComposeZoneFiles(world, zone);
    TZoneSaveResult result;
    // The composed files hold the layout right after the rooms.
    const size_t index = static_cast<size_t>(kind) + (kind >= 2 ? 1 : 0);
    Write(files[index], index, path, result);
    if (kind == 1)
        Write(files[2], 2, LayoutFileName(path), result);
    return result;
}
