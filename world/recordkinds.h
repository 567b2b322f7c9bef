#pragma once

// The six kinds of world files and records, each described once: where its
// files live, what it is called in messages and which list of the world
// holds its records. Everything that goes by kind reads this table rather
// than an array of its own.

#include <array>
#include <cstddef>
#include <stdexcept>
#include <string>

class TZone;

// The kinds of records, in the order of the editor's pages.
enum class TRecordType { Zone, Room, Obj, Mob, Shop, Trigger };

struct TWorldKind {
    TRecordType Type;
    const char* Folder;       // the workspace's folder, "WLD"
    const char* ServerFolder; // the game server's folder, "wld"
    const char* Extension;    // ".wld"
    // The words of messages (UTF-8; Msg gives them in Windows-1251).
    const char* Name;        // "комната"
    const char* Caption;     // "Комната"
    const char* LoadWord;    // "Не могу загрузить комнаты ..."
    const char* SaveFailure; // "Не могу сохранить комнаты"
    const char* FileFilter;  // the file dialog's "Room files|*.wld|All files|*.*"
};

inline constexpr std::array<TWorldKind, 6> kWorldKinds = {{
    {TRecordType::Zone, "ZON", "zon", ".zon", "зона", "Зона", "зону", "Не могу сохранить зону",
     "Zone files|*.zon|All files|*.*"},
    {TRecordType::Room, "WLD", "wld", ".wld", "комната", "Комната", "комнаты",
     "Не могу сохранить комнаты", "Room files|*.wld|All files|*.*"},
    {TRecordType::Obj, "OBJ", "obj", ".obj", "объект", "Объект", "объекты",
     "Не могу сохранить объекты", "Object files|*.obj|All files|*.*"},
    {TRecordType::Mob, "MOB", "mob", ".mob", "моб", "Моб", "мобов", "Не могу сохранить мобов",
     "Mob files|*.mob|All files|*.*"},
    {TRecordType::Shop, "SHP", "shp", ".shp", "магазин", "Магазин", "магазины",
     "Не могу сохранить магазины", "Shop files|*.shp|All files|*.*"},
    {TRecordType::Trigger, "TRG", "trg", ".trg", "триггер", "Триггер", "триггеры",
     "Не могу сохранить триггеры", "Trigger files|*.trg|All files|*.*"},
}};

constexpr const TWorldKind& WorldKind(TRecordType type) {
    return kWorldKinds[static_cast<size_t>(type)];
}

// The kind at a position of the table (an editor page, a server kind).
constexpr TRecordType RecordTypeAt(size_t index) {
    return kWorldKinds.at(index).Type;
}

// The five kinds with a list of records: every kind but the zone.
inline constexpr std::array<TRecordType, 5> kRecordListTypes = {
    TRecordType::Room, TRecordType::Obj, TRecordType::Mob, TRecordType::Shop, TRecordType::Trigger};

// Runs `visit` with the list of records of a kind in `world` (a TWorld or a
// TWorldView, const or not) and returns what it returns. A zone is no list:
// callers answer for it before they come here.
template <class World, class Visit>
decltype(auto) WithRecordList(World& world, TRecordType type, Visit&& visit) {
    switch (type) {
    case TRecordType::Room:
        return visit(world.Rooms);
    case TRecordType::Obj:
        return visit(world.Objs);
    case TRecordType::Mob:
        return visit(world.Mobs);
    case TRecordType::Shop:
        return visit(world.Shops);
    case TRecordType::Trigger:
        return visit(world.Triggers);
    case TRecordType::Zone:
        break;
    }
    throw std::invalid_argument("a zone has no list of records");
}

// The zone's file of a kind: the file its records are read from and saved to.
std::string& ZoneFileOf(TZone& zone, TRecordType type);
const std::string& ZoneFileOf(const TZone& zone, TRecordType type);
