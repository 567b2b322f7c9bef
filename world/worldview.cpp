#include "worldview.h"


#include <array>

const TZone* FindZone(const TWorldView& world, int32_t number) {
    for (const TZone* zone : world.Zones)
        if (zone->ZoneNumber == number)
            return zone;
    return nullptr;
}

bool RecordExists(const TWorldView& world, TRecordType kind, int32_t vnum) {
    switch (kind) {
    case TRecordType::Zone:
        return FindZone(world, vnum) != nullptr;
    case TRecordType::Room:
        return world.Rooms.Find(vnum) != nullptr;
    case TRecordType::Obj:
        return world.Objs.Find(vnum) != nullptr;
    case TRecordType::Mob:
        return world.Mobs.Find(vnum) != nullptr;
    case TRecordType::Shop:
        return world.Shops.Find(vnum) != nullptr;
    case TRecordType::Trigger:
        return world.Triggers.Find(vnum) != nullptr;
    }
    return false;
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

const std::array<const char*, 6> kKindNames = {"зона", "комната", "объект",
                                               "моб",  "магазин", "триггер"};
const std::array<const char*, 6> kKindCaptions = {"Зона", "Комната", "Объект",
                                                  "Моб",  "Магазин", "Триггер"};

std::string NameOf(const TWorldView& world, TRecordType kind, int32_t vnum) {
    switch (kind) {
    case TRecordType::Zone: {
        const TZone* zone = FindZone(world, vnum);
        return zone ? zone->ZoneName : std::string();
    }
    case TRecordType::Room: {
        const TRoom* room = world.Rooms.Find(vnum);
        return room ? room->Name : std::string();
    }
    case TRecordType::Obj: {
        const TObj* obj = world.Objs.Find(vnum);
        return obj ? obj->Imen : std::string();
    }
    case TRecordType::Mob: {
        const TMob* mob = world.Mobs.Find(vnum);
        return mob ? mob->Imen : std::string();
    }
    case TRecordType::Trigger: {
        const TTrigger* trigger = world.Triggers.Find(vnum);
        return trigger ? trigger->Name : std::string();
    }
    case TRecordType::Shop:
        break;
    }
    return {};
}

} // namespace

std::string RecordTypeName(TRecordType kind) {
    return Msg(kKindNames[static_cast<size_t>(kind)]);
}

std::string RecordTypeCaption(TRecordType kind) {
    return Msg(kKindCaptions[static_cast<size_t>(kind)]);
}

std::string RecordCaption(const TWorldView& world, TRecordType kind, int32_t vnum) {
    std::string caption = RecordTypeCaption(kind) + " " + std::to_string(vnum);
    const std::string name = NameOf(world, kind, vnum);
    if (!name.empty())
        caption += " (" + name + ")";
    return caption;
}
