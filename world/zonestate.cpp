#include "zonestate.h"

#include "maplayout.h"
#include "worldlists.h"

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

TZoneState CaptureZone(int32_t number, const TZone* zone) {
    TZoneState state;
    state.Number = number;
    if (zone)
        state.Zone = *zone;
    CaptureRecords(RoomList, number, state.Rooms, state.Frames[0]);
    CaptureRecords(ObjList, number, state.Objs, state.Frames[1]);
    CaptureRecords(MobList, number, state.Mobs, state.Frames[2]);
    CaptureRecords(ShopList, number, state.Shops, state.Frames[3]);
    CaptureRecords(TriggerList, number, state.Triggers, state.Frames[4]);
    state.FilesHash = ZoneFilesHash(number, zone);
    return state;
}

void RestoreZone(const TZoneState& state, TZone* zone) {
    RestoreRecords(RoomList, state.Number, state.Rooms, state.Frames[0]);
    RestoreRecords(ObjList, state.Number, state.Objs, state.Frames[1]);
    RestoreRecords(MobList, state.Number, state.Mobs, state.Frames[2]);
    RestoreRecords(ShopList, state.Number, state.Shops, state.Frames[3]);
    RestoreRecords(TriggerList, state.Number, state.Triggers, state.Frames[4]);
    if (zone && state.Zone)
        *zone = *state.Zone;
}

std::vector<std::string> FilesOfZone(const TZone& zone) {
    return {zone.ZoneFileName, zone.RoomFileName, LayoutFileName(zone.RoomFileName),
            zone.ObjFileName,  zone.MobFileName,  zone.ShopFileName,
            zone.TrigFileName};
}

std::vector<TComposedFile> ComposeZoneFiles(const TZone& zone) {
    const int32_t n = zone.ZoneNumber;
    std::vector<TComposedFile> files;
    for (std::string& path : FilesOfZone(zone))
        files.push_back({std::move(path), {}});
    zone.SaveToStrings(files[0].Lines);
    files[0].LineEnd = zone.LineEnd;
    RoomList.SaveToStrings(files[1].Lines, n);
    files[1].LineEnd = RoomList.LineEndOf(n);
    LayoutToStrings(RoomList, files[2].Lines, n);
    ObjList.SaveToStrings(files[3].Lines, n);
    files[3].LineEnd = ObjList.LineEndOf(n);
    MobList.SaveToStrings(files[4].Lines, n);
    files[4].LineEnd = MobList.LineEndOf(n);
    ShopList.SaveToStrings(files[5].Lines, n);
    files[5].LineEnd = ShopList.LineEndOf(n);
    TriggerList.SaveToStrings(files[6].Lines, n);
    files[6].LineEnd = TriggerList.LineEndOf(n);
    return files;
}

uint64_t ZoneFilesHash(int32_t number, const TZone* zone) {
    uint64_t hash = 14695981039346656037ULL;
    TStringList lines;
    if (zone) {
        zone->SaveToStrings(lines);
        AppendHashed(hash, lines);
    }
    const auto add = [&](const auto& list) {
        lines.clear();
        list.SaveToStrings(lines, number);
        AppendHashed(hash, lines);
    };
    add(RoomList);
    lines.clear();
    LayoutToStrings(RoomList, lines, number);
    AppendHashed(hash, lines);
    add(ObjList);
    add(MobList);
    add(ShopList);
    add(TriggerList);
    return hash;
}
