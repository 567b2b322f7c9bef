// Trigger file reader, then the trigger writer for the zones read.

#include "fuzzsupport.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    StartCleanWorld();
    TWorld world;
    const std::string bytes = InputBytes(data, size);
    const bool loaded = LoadWorldBytes("триггеры", "12.trg", bytes, [&world](TWorldReader& reader) {
        world.Triggers.ReadTriggers(reader);
    });
    CheckFailureLine(loaded, bytes);
    TStringList lines;
    for (const int32_t zone : TouchedZones(world.Triggers))
        world.Triggers.SaveToStrings(lines, zone);
    return 0;
}
