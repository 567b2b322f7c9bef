// Trigger file reader, then the trigger writer for the zones read.

#include "fuzzsupport.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    StartCleanWorld();
    LoadWorldBytes("триггеры", "12.trg", InputBytes(data, size),
                   [](TWorldReader& reader) { TriggerList.ReadTriggers(reader); });
    TStringList lines;
    for (const int32_t zone : TouchedZones(TriggerList))
        TriggerList.SaveToStrings(lines, zone);
    return 0;
}
