// Mob file reader, then the mob writer for the zones read.

#include "fuzzsupport.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    StartCleanWorld();
    TWorld world;
    const std::string bytes = InputBytes(data, size);
    const bool loaded = LoadWorldBytes(
        "мобов", "12.mob", bytes, [&world](TWorldReader& reader) { world.Mobs.ReadMobs(reader); });
    CheckFailureLine(loaded, bytes);
    TStringList lines;
    for (const int32_t zone : TouchedZones(world.Mobs))
        world.Mobs.SaveToStrings(lines, zone);
    return 0;
}
