// Object file reader, then the object writer for the zones read.

#include "fuzzsupport.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    StartCleanWorld();
    LoadWorldBytes("объекты", "12.obj", InputBytes(data, size),
                   [](TWorldReader& reader) { ObjList.ReadObjects(reader); });
    TStringList lines;
    for (const int32_t zone : TouchedZones(ObjList))
        ObjList.SaveToStrings(lines, zone);
    return 0;
}
