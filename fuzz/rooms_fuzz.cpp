// Room file and layout file readers, then the room, layout and map writers.
// The bytes are the room file; what follows a Ctrl-Z (which ends the room
// file) is the layout file, or the same bytes when there is no Ctrl-Z.

#include "fuzzsupport.h"
#include "maplayout.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    StartCleanWorld();
    TWorld world;
    const std::string bytes = InputBytes(data, size);
    const size_t stop = bytes.find('\x1A');
    const std::string layout = stop == std::string::npos ? bytes : bytes.substr(stop + 1);

    const bool loaded = LoadWorldBytes("комнаты", "12.wld", bytes, [&world](TWorldReader& reader) {
        world.Rooms.ReadRooms(reader);
    });
    CheckFailureLine(loaded, bytes);
    if (loaded)
        CheckFailureLine(
            LoadWorldBytes("карту", "12.map", layout,
                           [&world](TWorldReader& reader) { ReadLayout(world.Rooms, reader); }),
            layout);

    TStringList lines;
    for (const int32_t zone : TouchedZones(world.Rooms)) {
        world.Rooms.SaveToStrings(lines, zone);
        LayoutToStrings(world.Rooms, lines, zone);
        FillMap(world.Rooms, world.Map, zone);
    }
    for (const auto& room : world.Rooms)
        JoinDescription(SplitDescription(room->Desc));
    return 0;
}
