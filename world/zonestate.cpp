#include "zonestate.h"

#include "world.h"

namespace {

template <class List, class Record>
void CaptureRecords(const List& list, int32_t number, std::vector<Record>& out,
                    std::optional<TFileFrame>& frame) {
    for (const Record* record : list.ZoneInListOrder(number))
        out.push_back(*record);
    if (const TFileFrame* kept = list.FrameOf(number))
        frame = *kept;
}

template <class List, class Record>
void RestoreRecords(List& list, int32_t number, const std::vector<Record>& records,
                    const std::optional<TFileFrame>& frame) {
    list.ReplaceZone(number, records);
    list.SetFrame(number, frame);
}

void AppendHashed(uint64_t& hash, const TStringList& lines) {
    // FNV-style mixing of each file's own hash, in file order.
    hash = (hash ^ HashOfLines(lines)) * 1099511628211ULL;
}

} // namespace

TZoneState CaptureZone(const TWorld& world, int32_t number, const TZone* zone) {
    TZoneState state;
    state.Number = number;
    if (zone)
        state.Zone = *zone;
    CaptureRecords(world.Rooms, number, state.Rooms, state.Frames[0]);
    CaptureRecords(world.Objs, number, state.Objs, state.Frames[1]);
    CaptureRecords(world.Mobs, number, state.Mobs, state.Frames[2]);
    CaptureRecords(world.Shops, number, state.Shops, state.Frames[3]);
    CaptureRecords(world.Triggers, number, state.Triggers, state.Frames[4]);
    state.FilesHash = ZoneFilesHash(world, number, zone);
    return state;
}

void RestoreZone(TWorld& world, const TZoneState& state, TZone* zone) {
    RestoreRecords(world.Rooms, state.Number, state.Rooms, state.Frames[0]);
    RestoreRecords(world.Objs, state.Number, state.Objs, state.Frames[1]);
    RestoreRecords(world.Mobs, state.Number, state.Mobs, state.Frames[2]);
    RestoreRecords(world.Shops, state.Number, state.Shops, state.Frames[3]);
    RestoreRecords(world.Triggers, state.Number, state.Triggers, state.Frames[4]);
    if (zone && state.Zone)
        *zone = *state.Zone;
}

std::vector<std::string> FilesOfZone(const TZone& zone) {
    return {zone.ZoneFileName, zone.RoomFileName, LayoutFileName(zone.RoomFileName),
            zone.ObjFileName,  zone.MobFileName,  zone.ShopFileName,
            zone.TrigFileName};
}

std::vector<TComposedFile> ComposeZoneFiles(const TWorld& world, const TZone& zone) {
    const int32_t n = zone.ZoneNumber;
    std::vector<TComposedFile> files;
    for (std::string& path : FilesOfZone(zone))
        files.push_back({std::move(path), {}});
    zone.SaveToStrings(world, files[0].Lines);
    files[0].LineEnd = zone.LineEnd;
    world.Rooms.SaveToStrings(files[1].Lines, n);
    files[1].LineEnd = world.Rooms.LineEndOf(n);
    LayoutToStrings(world.Rooms, files[2].Lines, n);
    world.Objs.SaveToStrings(files[3].Lines, n);
    files[3].LineEnd = world.Objs.LineEndOf(n);
    world.Mobs.SaveToStrings(files[4].Lines, n);
    files[4].LineEnd = world.Mobs.LineEndOf(n);
    world.Shops.SaveToStrings(files[5].Lines, n);
    files[5].LineEnd = world.Shops.LineEndOf(n);
    world.Triggers.SaveToStrings(files[6].Lines, n);
    files[6].LineEnd = world.Triggers.LineEndOf(n);
    return files;
}

uint64_t ZoneFilesHash(const TWorld& world, int32_t number, const TZone* zone) {
    uint64_t hash = 14695981039346656037ULL;
    TStringList lines;
    if (zone) {
        zone->SaveToStrings(world, lines);
        AppendHashed(hash, lines);
    }
    const auto add = [&](const auto& list) {
        lines.clear();
        list.SaveToStrings(lines, number);
        AppendHashed(hash, lines);
    };
    add(world.Rooms);
    lines.clear();
    LayoutToStrings(world.Rooms, lines, number);
    AppendHashed(hash, lines);
    add(world.Objs);
    add(world.Mobs);
    add(world.Shops);
    add(world.Triggers);
    return hash;
}
