#include "zonesave.h"

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

} // namespace

TZoneSaveResult SaveZoneFiles(const TWorld& world, const TZone& zone, const TZonePathMap& where) {
    const std::vector<TComposedFile> files = ComposeZoneFiles(world, zone);
    TZoneSaveResult result;
    for (const size_t index : kSaveOrder) {
        const TComposedFile& file = files[index];
        const std::string path = where ? where(file.Path) : file.Path;
        TWriteResult written = WriteRecordFile(path, file.Lines, kFailureWords[index], file.LineEnd);
        if (!written)
            result.NotWritten.push_back({path, std::move(written)});
    }
    return result;
}
