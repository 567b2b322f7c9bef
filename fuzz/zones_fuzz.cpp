// Zone file reader over a small world of rooms and prototypes, then the zone
// writer and the writers of the records the commands change.

#include "codepage.h"
#include "fuzzsupport.h"
#include "zone.h"

namespace {
// Rooms 1200..1202 (doors included), objects 1200..1202, mobs 1200..1201.
void MakeWorld(TWorld& world) {
    TRoom& square = world.Rooms.AddNew(1201);
    square.Name = Utf8ToCp1251("Площадь");
    square.Exits[0].ToRoom = 1202;
    square.Exits[0].DoorFlags = 1;
    square.Exits[1].ToRoom = 1203;
    world.Rooms.AddNew(1202).Name = "Inn";
    world.Rooms.AddNew(1200);
    world.Objs.AddNew(1200).Imen = Utf8ToCp1251("сундук");
    world.Objs.AddNew(1201).Imen = Utf8ToCp1251("меч");
    world.Objs.AddNew(1202).Imen = Utf8ToCp1251("шлем");
    world.Mobs.AddNew(1200).Imen = Utf8ToCp1251("стражник");
    world.Mobs.AddNew(1201).Imen = Utf8ToCp1251("пёс");
}
} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    StartCleanWorld();
    TWorld world;
    MakeWorld(world);
    TZone zone;
    const std::string bytes = InputBytes(data, size);
    const bool loaded = LoadWorldBytes("зону", "12.zon", bytes,
                                       [&](TWorldReader& reader) { zone.ReadZone(world, reader); });
    CheckFailureLine(loaded, bytes);
    TStringList lines;
    zone.SaveToStrings(world, lines);
    for (const int32_t number : {int32_t{12}, zone.ZoneNumber}) {
        world.Rooms.SaveToStrings(lines, number);
        world.Objs.SaveToStrings(lines, number);
        world.Mobs.SaveToStrings(lines, number);
    }
    return 0;
}
