#include "zonestate.h"

#include "world.h"

#include <algorithm>
#include <unordered_map>

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

bool TRecordChanges::Touches(int32_t vnum) const {
    for (const auto* numbers : {&Added, &Removed, &Changed})
        if (std::find(numbers->begin(), numbers->end(), vnum) != numbers->end())
            return true;
    return false;
}

namespace {

// A record changed when our writer's form of it changed (what it was read
// as does not count: only what the builder may see).
template <class Record, class Write, class Same>
TRecordChanges DiffRecords(const std::vector<Record>& from, const std::vector<Record>& to,
                           Write write, Same sameBeyondFile) {
    TRecordChanges changes;
    std::unordered_map<int32_t, const Record*> before;
    for (const Record& record : from)
        before.emplace(record.VNum, &record);
    TStringList was, is;
    for (const Record& record : to) {
        const auto found = before.find(record.VNum);
        if (found == before.end()) {
            changes.Added.push_back(record.VNum);
            continue;
        }
        was.clear();
        is.clear();
        write(*found->second, was);
        write(record, is);
        if (was != is || !sameBeyondFile(*found->second, record))
            changes.Changed.push_back(record.VNum);
        before.erase(found);
    }
    for (const Record& record : from)
        if (before.contains(record.VNum))
            changes.Removed.push_back(record.VNum);
    return changes;
}

bool SamePlace(const TRoom& a, const TRoom& b) {
    return a.MapX == b.MapX && a.MapY == b.MapY && a.MapLevel == b.MapLevel;
}

// What the zone file puts into a room: its contents.
bool SameContents(const TRoom& a, const TRoom& b) {
    return a.Mobs == b.Mobs && a.Objects == b.Objects && a.DelObjects == b.DelObjects &&
           a.KeptZoneCommands == b.KeptZoneCommands;
}

bool SameZoneRecord(const std::optional<TZone>& a, const std::optional<TZone>& b) {
    if (!a || !b)
        return a.has_value() == b.has_value();
    return a->ZoneNumber == b->ZoneNumber && a->ZoneName == b->ZoneName &&
           a->RepopTime == b->RepopTime && a->RepopType == b->RepopType &&
           a->CreatedObjects == b->CreatedObjects && a->DeletedMobs == b->DeletedMobs &&
           a->ZoneFileName == b->ZoneFileName && a->RoomFileName == b->RoomFileName &&
           a->ObjFileName == b->ObjFileName && a->MobFileName == b->MobFileName &&
           a->ShopFileName == b->ShopFileName && a->TrigFileName == b->TrigFileName;
}

std::vector<TStringList> UnparsedLines(const std::optional<TFileFrame>& frame) {
    std::vector<TStringList> lines;
    if (frame)
        for (const TUnparsedRecord& record : frame->Unparsed)
            lines.push_back(record.Lines);
    return lines;
}

} // namespace

TZoneDiff DiffZoneStates(const TZoneState& from, const TZoneState& to) {
    TZoneDiff diff;
    diff.Number = to.Number;
    const auto always = [](const auto&, const auto&) { return true; };
    diff.Records[0] = DiffRecords(from.Rooms, to.Rooms, TRoomList::WriteRoom,
                                  [](const TRoom& a, const TRoom& b) {
                                      return SamePlace(a, b) && SameContents(a, b);
                                  });
    diff.Records[1] = DiffRecords(from.Objs, to.Objs, TObjList::WriteObject, always);
    diff.Records[2] = DiffRecords(from.Mobs, to.Mobs, TMobList::WriteMob, always);
    diff.Records[3] = DiffRecords(from.Shops, to.Shops, TShopList::WriteShop, always);
    diff.Records[4] = DiffRecords(from.Triggers, to.Triggers, TTriggerList::WriteTrigger, always);
    std::unordered_map<int32_t, const TRoom*> before;
    for (const TRoom& room : from.Rooms)
        before.emplace(room.VNum, &room);
    for (const TRoom& room : to.Rooms) {
        const auto found = before.find(room.VNum);
        diff.Layout |= found == before.end() ? IsOnGrid(room) : !SamePlace(*found->second, room);
        if (found != before.end())
            before.erase(found);
    }
    for (const auto& [vnum, room] : before)
        diff.Layout |= IsOnGrid(*room);
    for (size_t kind = 0; kind < diff.Unparsed.size(); ++kind)
        diff.Unparsed[kind] = UnparsedLines(from.Frames[kind]) != UnparsedLines(to.Frames[kind]);
    diff.ZoneRecord = !SameZoneRecord(from.Zone, to.Zone);
    return diff;
}