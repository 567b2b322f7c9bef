#include "zonesave.h"

#include "maplayout.h"
#include "recordkinds.h"
#include "world.h"
#include "zonestate.h"

#include <array>

namespace {

// ComposeZoneFiles holds the six kinds' files in TRecordType order with the
// layout file right after the rooms.
constexpr size_t kLayoutIndex = 2;

constexpr size_t ComposedIndex(TRecordType type) {
    const auto index = static_cast<size_t>(type);
    return index + (index >= kLayoutIndex ? 1 : 0);
}

// The first words of the failure of each composed file.
const char* FailureWords(size_t index) {
    if (index == kLayoutIndex)
        return kLayoutSaveFailure;
    return kWorldKinds[index - (index > kLayoutIndex ? 1 : 0)].SaveFailure;
}

// The order the files are written in, as positions in that list.
constexpr std::array<size_t, 7> kSaveOrder = {3, 4, 5, 6, 1, 2, 0};

void Write(const TComposedFile& file, size_t index, const std::string& path,
           TZoneSaveResult& result) {
    TWriteResult written = WriteRecordFile(path, file.Lines, FailureWords(index), file.LineEnd);
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
    const TRecordType type = RecordTypeAt(static_cast<size_t>(kind));
    const size_t index = ComposedIndex(type);
    Write(files[index], index, path, result);
    if (type == TRecordType::Room)
        Write(files[kLayoutIndex], kLayoutIndex, LayoutFileName(path), result);
    return result;
}
