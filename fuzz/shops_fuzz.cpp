// Shop file reader with a kind-name lookup, then the shop writer for the
// zones read.

#include "codepage.h"
#include "fuzzsupport.h"

namespace {
// Names some item kinds, as the kind list of the shop page does; other codes
// have no name.
std::string KindName(int32_t code) {
    if (code == 5)
        return Utf8ToCp1251("оружие");
    if (code == 9)
        return Utf8ToCp1251("броня");
    return {};
}
} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    StartCleanWorld();
    TWorld world;
    const std::string bytes = InputBytes(data, size);
    const bool loaded = LoadWorldBytes("магазины", "12.shp", bytes, [&world](TWorldReader& reader) {
        world.Shops.ReadShops(reader, KindName);
    });
    CheckFailureLine(loaded, bytes);
    TStringList lines;
    for (const int32_t zone : TouchedZones(world.Shops))
        world.Shops.SaveToStrings(lines, zone);
    return 0;
}
