#include "worldview.h"

const TZone* FindZone(const TWorldView& world, int32_t number) {
    for (const TZone* zone : world.Zones)
        if (zone->ZoneNumber == number)
            return zone;
    return nullptr;
}

bool RecordExists(const TWorldView& world, TRecordType kind, int32_t vnum) {
    if (kind == TRecordType::Zone)
        return FindZone(world, vnum) != nullptr;
    return WithRecordList(world, kind, [vnum](const auto& list) { return list.Find(vnum) != nullptr; });
}

std::optional<TResetTrigger> ResetTriggerOf(std::string_view keptLine) {
    const std::string_view line = LineText(keptLine);
    if (line.size() < 2 || (line[0] != 'T' && line[0] != 't') ||
        (line[1] != ' ' && line[1] != '\t'))
        return std::nullopt;
    const std::string type = WordTab(3, line);
    const std::string number = WordTab(4, line);
    if (!IsDecimal(type) || type.size() > 4 || !IsDecimal(number) || number.size() > 9)
        return std::nullopt;
    return TResetTrigger{static_cast<int16_t>(ToInt32(type)), ToInt32(number)};
}

int32_t ZoneOfRecord(TRecordType kind, int32_t vnum) {
    return kind == TRecordType::Zone ? vnum : ZoneOf(vnum);
}

namespace {

// The name a record shows in its caption; a shop has none.
std::string_view NameOf(const TRoom& room) {
    return room.Name;
}
std::string_view NameOf(const TObj& obj) {
    return obj.Imen;
}
std::string_view NameOf(const TMob& mob) {
    return mob.Imen;
}
std::string_view NameOf(const TTrigger& trigger) {
    return trigger.Name;
}
std::string_view NameOf(const TShop&) {
    return {};
}

std::string NameOf(const TWorldView& world, TRecordType kind, int32_t vnum) {
    if (kind == TRecordType::Zone) {
        const TZone* zone = FindZone(world, vnum);
        return zone ? zone->ZoneName : std::string();
    }
    return WithRecordList(world, kind, [vnum](const auto& list) {
        const auto* record = list.Find(vnum);
        return record ? std::string(NameOf(*record)) : std::string();
    });
}

} // namespace

std::string RecordTypeName(TRecordType kind) {
    return Msg(WorldKind(kind).Name);
}

std::string RecordTypeCaption(TRecordType kind) {
    return Msg(WorldKind(kind).Caption);
}

std::string RecordCaption(const TWorldView& world, TRecordType kind, int32_t vnum) {
    std::string caption = RecordTypeCaption(kind) + " " + std::to_string(vnum);
    const std::string name = NameOf(world, kind, vnum);
    if (!name.empty())
        caption += " (" + name + ")";
    return caption;
}
