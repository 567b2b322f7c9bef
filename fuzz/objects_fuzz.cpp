// Object file reader, then the object writer for the zones read.

#include "fuzzsupport.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    StartCleanWorld();
    TWorld world;
    const std::string bytes = InputBytes(data, size);
    const bool loaded = LoadWorldBytes("объекты", "12.obj", bytes, [&world](TWorldReader& reader) {
        world.Objs.ReadObjects(reader);
    });
    CheckFailureLine(loaded, bytes);
    TStringList lines;
    for (const int32_t zone : TouchedZones(world.Objs))
        world.Objs.SaveToStrings(lines, zone);
    return 0;
}
