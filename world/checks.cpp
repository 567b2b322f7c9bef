#include "checks.h"

#include "scriptcheck.h"
#include "serverrules.h"
#include "strutils.h"
#include "unparsed.h"

#include <algorithm>
#include <array>
#include <type_traits>
#include <unordered_map>
#include <unordered_set>

namespace {

constexpr uint8_t kScrollKind = 2, kWandKind = 3, kStaffKind = 4, kPotionKind = 10;
constexpr uint8_t kContainerKind = 15;
constexpr uint8_t kDrinkKind = 17;
constexpr uint8_t kKeyKind = 18;
constexpr uint8_t kFountainKind = 23;
// The class a trigger needs to be attached to each kind of record.
constexpr int16_t kMobTrigger = 0, kObjTrigger = 1, kRoomTrigger = 2;

const std::array<const char*, kProblemKindCount> kTags = {
    "unknown-mob",      "room-limit",     "unpaired-exit",      "exit-to-missing-room",
    "exit-to-room-0",   "bad-key",        "unknown-reset",      "not-a-container",
    "bad-trigger",      "bad-shop",       "keeper-not-in-shop", "bad-route",
    "duplicate-number", "dead-room",      "limit-below-resets", "server-room",
    "too-many-rooms",   "overfull-drink", "unknown-spell",      "unparsed-record",
    "script-block",     "script-command", "script-wait",        "script-reference",
    "script-variable",
};

std::string N(int32_t number) {
    return std::to_string(number);
}

// The class name of a trigger class in messages ("триггер моба", ...).
std::string TriggerClassName(int16_t model) {
    switch (model) {
    case kMobTrigger:
        return Msg("триггер моба");
    case kObjTrigger:
        return Msg("триггер предмета");
    case kRoomTrigger:
        return Msg("триггер комнаты");
    default:
        return Msg("триггер класса ") + N(model);
    }
}

class TChecker {
public:
    TChecker(const TWorldView& world, std::optional<int32_t> zone, const TNamedCodes& named)
        : world_(world), zone_(zone), named_(named) {
        Index();
    }

    std::vector<TProblem> Run() {
        ForEachInScope(world_.Rooms, [this](const TRoom& room) { CheckRoom(room); });
        ForEachInScope(world_.Objs, [this](const TObj& obj) {
            CheckTriggers(TRecordType::Obj, obj.VNum, obj.Triggers, kObjTrigger);
            CheckLimit(TRecordType::Obj, obj.VNum, obj.MaxInWorld, objLoads_);
            CheckDrink(obj);
            CheckSpells(obj);
        });
        ForEachInScope(world_.Mobs, [this](const TMob& mob) {
            CheckTriggers(TRecordType::Mob, mob.VNum, mob.Triggers, kMobTrigger);
            CheckLimit(TRecordType::Mob, mob.VNum, mob.MaxInWorld, mobLoads_);
            CheckRoute(mob);
        });
        ForEachInScope(world_.Shops, [this](const TShop& shop) { CheckShop(shop); });
        ForEachInScope(world_.Triggers,
                       [this](const TTrigger& trigger) { CheckScriptOf(trigger); });
        for (const TZone* zone : world_.Zones)
            if (InScope(zone->ZoneNumber))
                CheckZone(*zone);
        CheckRoomFiles();
        CheckDuplicates(TRecordType::Room, world_.Rooms);
        CheckDuplicates(TRecordType::Obj, world_.Objs);
        CheckDuplicates(TRecordType::Mob, world_.Mobs);
        CheckDuplicates(TRecordType::Shop, world_.Shops);
        CheckDuplicates(TRecordType::Trigger, world_.Triggers);
        for (const TRecordType kind : {TRecordType::Room, TRecordType::Obj, TRecordType::Mob,
                                       TRecordType::Shop, TRecordType::Trigger})
            CheckUnparsed(kind);
        std::stable_sort(out_.begin(), out_.end(), [](const TProblem& a, const TProblem& b) {
            if (a.Zone != b.Zone)
                return a.Zone < b.Zone;
            if (a.Record != b.Record)
                return a.Record < b.Record;
            return a.VNum < b.VNum;
        });
        return std::move(out_);
    }

private:
    bool InScope(int32_t zone) const { return !zone_ || *zone_ == zone; }

    // The records of the zone checked (or of all), the first of each number.
    template <class List, class Check> void ForEachInScope(const List& list, Check check) const {
        if (zone_) {
            for (const auto* record : list.ZoneRecords(*zone_))
                check(*record);
            return;
        }
        for (const auto& record : list)
            if (list.Find(record->VNum) == record)
                check(*record);
    }

    // What the checks need from the whole workspace: which zones are loaded,
    // which rooms some exit leads into, and how many resets load each
    // prototype.
    void Index() {
        for (const TZone* zone : world_.Zones)
            loadedZones_.insert(zone->ZoneNumber);
        // Only what the records checked need is counted: one zone of a
        // thousand is checked in a fraction of the whole.
        const auto load = [this](std::unordered_map<int32_t, int>& loads, int32_t vnum) {
            if (InScope(ZoneOf(vnum)))
                ++loads[vnum];
        };
        const auto countLinked = [this, &load](const TLinkObjList& contents) {
            for (const TLinkObj& item : contents)
                load(objLoads_, item.ObjVNum);
        };
        // Lists keep a zone's records together: one insertion per run of a zone.
        const auto loaded = [this](const auto& list) {
            std::optional<int32_t> last;
            for (int index = 0; index < list.Count(); ++index)
                if (const int32_t zone = ZoneOf(list.VNumAt(index)); zone != last) {
                    loadedZones_.insert(zone);
                    last = zone;
                }
        };
        loaded(world_.Objs);
        loaded(world_.Mobs);
        loaded(world_.Shops);
        loaded(world_.Triggers);
        loaded(world_.Rooms);
        for (const auto& room : world_.Rooms) {
            for (const TExit& exit : room->Exits)
                if (exit.ToRoom != 0 && InScope(ZoneOf(exit.ToRoom)))
                    entered_.insert(exit.ToRoom);
            for (const TRoomMob& mob : room->Mobs) {
                load(mobLoads_, mob.MobVNum);
                countLinked(mob.Contents);
            }
            for (const TRoomObj& obj : room->Objects) {
                load(objLoads_, obj.ObjVNum);
                countLinked(obj.Contents);
            }
        }
        for (const TZone* zone : world_.Zones)
            for (const TRoomObj& obj : zone->CreatedObjects) {
                load(objLoads_, obj.ObjVNum);
                countLinked(obj.Contents);
            }
    }

    // A record that is not there, where the workspace would hold it: a zone
    // the workspace does not have may well hold it on the server, and room
    // NN99 the server makes itself.
    template <class List> bool Missing(const List& list, int32_t vnum) const {
        if constexpr (std::is_same_v<List, TRoomList>)
            if (IsServerRoom(vnum))
                return false;
        return !list.Find(vnum) && (vnum < 0 || loadedZones_.contains(ZoneOf(vnum)));
    }

    void Add(TProblemKind kind, TSeverity severity, TRecordType record, int32_t vnum,
             std::string message) {
        out_.push_back(
            {kind, severity, ZoneOfRecord(record, vnum), record, vnum, std::move(message)});
    }
    void Error(TProblemKind kind, TRecordType record, int32_t vnum, std::string message) {
        Add(kind, TSeverity::Error, record, vnum, std::move(message));
    }
    void Warning(TProblemKind kind, TRecordType record, int32_t vnum, std::string message) {
        Add(kind, TSeverity::Warning, record, vnum, std::move(message));
    }

    void CheckRoom(const TRoom& room) {
        const int32_t vnum = room.VNum;
        bool hasExit = false;
        for (int d = 0; d < DirCount; ++d) {
            const TExit& exit = room.Exits[static_cast<size_t>(d)];
            if (exit.ToRoom == 0)
                continue;
            hasExit = true;
            CheckExit(room, d, exit);
        }
        // Exit blocks to room 0 are kept as read, each under its "D" line;
        // one of ours in the same direction replaces it when written.
        for (const std::string& line : room.KeptExits)
            if (line.size() >= 2 && line[0] == 'D' && line[1] >= '0' && line[1] < '0' + DirCount &&
                room.Exits[static_cast<size_t>(line[1] - '0')].ToRoom == 0)
                Warning(TProblemKind::ExitToRoomZero, TRecordType::Room, vnum,
                        Msg("Выход ") + DirectionName(line[1] - '0') + Msg(" ведёт в комнату 0"));
        if (!hasExit && !entered_.contains(vnum))
            Warning(TProblemKind::DeadRoom, TRecordType::Room, vnum,
                    Msg("Из комнаты нет выходов, и в неё не ведёт ни один выход"));
        CheckTriggers(TRecordType::Room, vnum, room.Triggers, kRoomTrigger);
        CheckContents(room);
        if (IsServerRoom(vnum))
            Error(TProblemKind::ServerRoom, TRecordType::Room, vnum,
                  Msg("Номер ") + N(vnum) +
                      Msg(" сервер отводит своей комнате (номер зоны и 99): перенесите эту "
                          "комнату на другой номер"));
    }

    // What the server reads as rooms of a zone's room file: every record
    // written into it, the earlier copies of a repeated number and the
    // records kept as text included.
    int RoomsInFile(int32_t zone) const {
        int count = 0;
        for (const TRoom* room : world_.Rooms.ZoneRecords(zone))
            count += 1 + static_cast<int>(room->Source.EarlierCopies().size());
        if (const TFileFrame* frame = world_.Rooms.FrameOf(zone))
            count += static_cast<int>(frame->Unparsed.size());
        return count;
    }

    void CheckRoomFiles() {
        std::unordered_set<int32_t> zones;
        if (zone_)
            zones.insert(*zone_);
        else
            for (int index = 0; index < world_.Rooms.Count(); ++index)
                zones.insert(ZoneOf(world_.Rooms.VNumAt(index)));
        for (const int32_t zone : zones)
            if (const int count = RoomsInFile(zone); count > kMaxRoomsPerFile)
                Error(TProblemKind::TooManyRooms, TRecordType::Zone, zone,
                      Msg("В файле комнат зоны ") + N(count) +
                          Msg(" комнат: сервер не загружается с файлом, где их больше ") +
                          N(kMaxRoomsPerFile));
    }

    void CheckExit(const TRoom& room, int d, const TExit& exit) {
        const std::string what = Msg("Выход ") + DirectionName(d);
        const TRoom* target = world_.Rooms.Find(exit.ToRoom);
        if (!target) {
            if (Missing(world_.Rooms, exit.ToRoom))
                Error(TProblemKind::ExitToMissingRoom, TRecordType::Room, room.VNum,
                      what + Msg(" ведёт в несуществующую комнату ") + N(exit.ToRoom));
        } else if (target->Exits[static_cast<size_t>(ReverseDir(d))].ToRoom != room.VNum) {
            Warning(TProblemKind::UnpairedExit, TRecordType::Room, room.VNum,
                    what + Msg(" в комнату ") + N(exit.ToRoom) +
                        Msg(": оттуда нет выхода обратно"));
        }
        if (exit.Key > 0) {
            const TObj* key = world_.Objs.Find(exit.Key);
            if (Missing(world_.Objs, exit.Key))
                Error(TProblemKind::BadKey, TRecordType::Room, room.VNum,
                      Msg("Ключ двери ") + DirectionName(d) + Msg(": нет объекта ") + N(exit.Key));
            else if (key && key->Kind != kKeyKind)
                Error(TProblemKind::BadKey, TRecordType::Room, room.VNum,
                      Msg("Ключ двери ") + DirectionName(d) + Msg(": объект ") + N(exit.Key) +
                          Msg(" не ключ (тип ") + N(key->Kind) + ")");
        }
    }

    void UnknownObject(TRecordType record, int32_t vnum, int32_t obj, const std::string& where) {
        if (Missing(world_.Objs, obj))
            Error(TProblemKind::UnknownResetRecord, record, vnum,
                  Msg("Сброс: нет объекта ") + N(obj) + where);
    }

    void CheckLinked(TRecordType record, int32_t vnum, const TLinkObjList& contents,
                     const std::string& where) {
        for (const TLinkObj& item : contents)
            UnknownObject(record, vnum, item.ObjVNum, where);
    }

    // A placed object and what is put into it (the P commands after its O).
    void CheckPlacedObject(TRecordType record, int32_t vnum, const TRoomObj& placed,
                           const std::string& where) {
        UnknownObject(record, vnum, placed.ObjVNum, where);
        const std::string inside = Msg(" (в объекте ") + N(placed.ObjVNum) + ")";
        CheckLinked(record, vnum, placed.Contents, inside);
        CheckResetTriggers(record, vnum, placed.KeptAfter);
        const TObj* container = world_.Objs.Find(placed.ObjVNum);
        if (container && container->Kind != kContainerKind && !placed.Contents.empty())
            Error(TProblemKind::NotAContainer, record, vnum,
                  Msg("В объект ") + N(placed.ObjVNum) +
                      Msg(" кладутся объекты, а он не контейнер (тип ") + N(container->Kind) + ")");
    }

    void CheckContents(const TRoom& room) {
        const int32_t vnum = room.VNum;
        for (const TRoomMob& placed : room.Mobs) {
            const TMob* mob = world_.Mobs.Find(placed.MobVNum);
            if (Missing(world_.Mobs, placed.MobVNum)) {
                Error(TProblemKind::UnknownPlacedMob, TRecordType::Room, vnum,
                      Msg("Сброс: нет моба ") + N(placed.MobVNum));
            } else if (mob && mob->MaxInWorld > 0 && placed.MaxInRoom > mob->MaxInWorld) {
                Warning(TProblemKind::RoomLimitOverWorld, TRecordType::Room, vnum,
                        Msg("Моб ") + N(placed.MobVNum) + Msg(": предел в комнате ") +
                            N(placed.MaxInRoom) + Msg(" больше предела в мире ") +
                            N(mob->MaxInWorld));
            }
            CheckLinked(TRecordType::Room, vnum, placed.Contents,
                        Msg(" (у моба ") + N(placed.MobVNum) + ")");
            CheckResetTriggers(TRecordType::Room, vnum, placed.KeptAfter);
            if (placed.Leader != -1 && Missing(world_.Mobs, placed.Leader))
                Error(TProblemKind::UnknownResetRecord, TRecordType::Room, vnum,
                      Msg("Сброс: моб ") + N(placed.MobVNum) +
                          Msg(" следует за несуществующим мобом ") + N(placed.Leader));
        }
        for (const TRoomObj& placed : room.Objects)
            CheckPlacedObject(TRecordType::Room, vnum, placed, {});
        for (const int32_t removed : room.DelObjects)
            UnknownObject(TRecordType::Room, vnum, PackedNumber(removed), Msg(" (убирается)"));
        CheckResetTriggers(TRecordType::Room, vnum, room.KeptZoneCommands);
    }

    void CheckZone(const TZone& zone) {
        CheckResetTriggers(TRecordType::Zone, zone.ZoneNumber, zone.KeptCommands);
        for (const TRoomObj& placed : zone.CreatedObjects)
            CheckPlacedObject(TRecordType::Zone, zone.ZoneNumber, placed, Msg(" (создаётся)"));
        for (const int32_t packed : zone.DeletedMobs)
            if (Missing(world_.Mobs, PackedNumber(packed)))
                Error(TProblemKind::UnknownResetRecord, TRecordType::Zone, zone.ZoneNumber,
                      Msg("Сброс: удаляется несуществующий моб ") + N(PackedNumber(packed)));
        for (const TZone* other : world_.Zones)
            if (other != &zone && other->ZoneNumber == zone.ZoneNumber) {
                Error(TProblemKind::DuplicateNumber, TRecordType::Zone, zone.ZoneNumber,
                      Msg("Номер зоны ") + N(zone.ZoneNumber) +
                          Msg(" носят несколько файлов зон: ") + other->ZoneFileName);
                break;
            }
    }

    // `what` names the attachment in the message ("Триггер", "Сброс: триггер").
    void CheckTrigger(TRecordType record, int32_t vnum, int32_t number, int16_t model,
                      const std::string& what) {
        const TTrigger* trigger = world_.Triggers.Find(number);
        if (Missing(world_.Triggers, number))
            Error(TProblemKind::BadTrigger, record, vnum,
                  what + " " + N(number) + Msg(" не существует"));
        else if (trigger && trigger->Model != model)
            Error(TProblemKind::BadTrigger, record, vnum,
                  what + " " + N(number) + ": " + TriggerClassName(trigger->Model) +
                      Msg(", а нужен ") + TriggerClassName(model));
    }
    void CheckTriggers(TRecordType record, int32_t vnum, const std::vector<int32_t>& triggers,
                       int16_t model) {
        for (const int32_t number : triggers)
            CheckTrigger(record, vnum, number, model, Msg("Триггер"));
    }
    // The T commands kept among the resets of a room (after the mob or
    // object they attach to), each of the class it names.
    void CheckResetTriggers(TRecordType record, int32_t vnum,
                            const std::vector<std::string>& kept) {
        for (const std::string& line : kept)
            if (const auto trigger = ResetTriggerOf(line))
                CheckTrigger(record, vnum, trigger->VNum, trigger->Class, Msg("Сброс: триггер"));
    }

    void CheckLimit(TRecordType record, int32_t vnum, int32_t limit,
                    const std::unordered_map<int32_t, int>& loads) {
        const auto found = loads.find(vnum);
        if (limit > 0 && found != loads.end() && found->second > limit)
            Warning(TProblemKind::LimitBelowResets, record, vnum,
                    Msg("Предел в мире ") + N(limit) + Msg(" меньше числа загрузок в сбросах (") +
                        N(found->second) + ")");
    }

    // A vessel holding more than it takes is one of the errors the server
    // reports at boot.
    void CheckDrink(const TObj& obj) {
        if (obj.Kind != kDrinkKind && obj.Kind != kFountainKind)
            return;
        if (!IsDecimal(obj.Param1) || obj.Param1.size() > 9)
            return;
        const int32_t capacity = ToInt32(obj.Param1);
        if (capacity >= 0 && obj.Param2 > capacity)
            Error(TProblemKind::OverfullDrink, TRecordType::Obj, obj.VNum,
                  Msg("В ёмкости ") + N(obj.Param2) + Msg(" глотков, а вмещает она ") +
                      N(capacity));
    }

    // The spells a potion, scroll, wand or staff casts, against the list the
    // builder keeps of the server's spells: a number it does not name is most
    // likely one the server does not know either (it says so at boot), but
    // the list may lag behind the server.
    void CheckSpells(const TObj& obj) {
        if (!named_.Spells)
            return;
        std::vector<int32_t> spells;
        if (obj.Kind == kScrollKind || obj.Kind == kPotionKind)
            spells = {obj.Param2, obj.Param3, obj.Param4};
        else if (obj.Kind == kWandKind || obj.Kind == kStaffKind)
            spells = {obj.Param4};
        for (const int32_t spell : spells)
            // -1 and 0 are no spell.
            if (spell != -1 && spell != 0 && !named_.Spells->contains(spell))
                Warning(TProblemKind::UnknownSpell, TRecordType::Obj, obj.VNum,
                        Msg("Заклинания ") + N(spell) +
                            Msg(" нет в списке заклинаний (Bases/Spells)"));
    }

    // A trigger's script; one of no type never runs, and one of no attach
    // class the server does not run either.
    void CheckScriptOf(const TTrigger& trigger) {
        const bool typed = std::any_of(trigger.Flags.begin(), trigger.Flags.end(),
                                       [](char c) { return c < '0' || c > '9'; });
        if (!typed || trigger.Model < kMobTrigger || trigger.Model > kRoomTrigger)
            return;
        if (named_.Script && !shared_)
            shared_ = ScriptSharedVariables(world_);
        const TScriptContext context{&world_, named_.Script.get(), shared_ ? &*shared_ : nullptr};
        for (TScriptProblem& problem :
             CheckScript(ScriptLines(trigger.Text), static_cast<TAttachKind>(trigger.Model),
                         trigger.Flags, context)) {
            Add(problem.Kind, problem.Severity, TRecordType::Trigger, trigger.VNum,
                std::move(problem.Message));
            out_.back().Line = problem.Line;
        }
    }

    void CheckRoute(const TMob& mob) {
        if (mob.Destination.empty())
            return;
        std::string rest = mob.Destination.Str();
        for (;;) {
            const size_t slash = rest.find('/');
            const std::string step = rest.substr(0, slash);
            if (!IsDecimal(step) || step.size() > 9 || Missing(world_.Rooms, ToInt32(step)))
                Error(TProblemKind::BadRoute, TRecordType::Mob, mob.VNum,
                      Msg("Маршрут идёт через несуществующую комнату ") + step);
            if (slash == std::string::npos)
                return;
            rest.erase(0, slash + 1);
        }
    }

    void CheckShop(const TShop& shop) {
        const int32_t vnum = shop.VNum;
        const bool keeper = world_.Mobs.Find(shop.Seller) != nullptr;
        if (Missing(world_.Mobs, shop.Seller))
            Error(TProblemKind::BadShop, TRecordType::Shop, vnum,
                  Msg("Продавец: нет моба ") + N(shop.Seller));
        for (const int32_t goods : shop.Goods)
            if (Missing(world_.Objs, goods))
                Error(TProblemKind::BadShop, TRecordType::Shop, vnum,
                      Msg("Товар: нет объекта ") + N(goods));
        bool placed = false;
        bool anyRoom = false;
        for (const int32_t number : shop.Rooms) {
            const TRoom* room = world_.Rooms.Find(number);
            if (Missing(world_.Rooms, number))
                Error(TProblemKind::BadShop, TRecordType::Shop, vnum,
                      Msg("Комната магазина ") + N(number) + Msg(" не существует"));
            if (!room)
                continue;
            anyRoom = true;
            placed = placed || room->Mobs.IndexOfMob(shop.Seller) >= 0;
        }
        if (keeper && anyRoom && !placed)
            Warning(TProblemKind::KeeperNotInShop, TRecordType::Shop, vnum,
                    Msg("Продавец ") + N(shop.Seller) +
                        Msg(" не ставится ни в одну из комнат магазина"));
    }

    template <class List> void CheckDuplicates(TRecordType record, const List& list) {
        for (const auto& [vnum, extra] : list.Duplicates())
            if (InScope(ZoneOf(vnum)))
                Error(TProblemKind::DuplicateNumber, record, vnum,
                      Msg("Номер ") + N(vnum) + Msg(" носят ") + N(extra + 1) +
                          Msg(" записи одного файла; в редакторе от них последняя, прежние "
                              "сохраняются как были"));
    }

    // Each record kept as its text because it could not be read: the server
    // cannot read it either.
    void CheckUnparsed(TRecordType kind) {
        const std::vector<int32_t> zones =
            zone_ ? std::vector<int32_t>{*zone_} : ZonesWithUnparsed(world_, kind);
        for (const int32_t zone : zones) {
            const std::vector<TUnparsedRecord>& records = UnparsedRecords(world_, kind, zone);
            for (size_t i = 0; i < records.size(); ++i) {
                const TUnparsedRecord& record = records[i];
                out_.push_back({TProblemKind::UnparsedRecord, TSeverity::Error, zone, kind,
                                UnparsedNumber(record).value_or(zone * 100),
                                Msg("Запись не прочитана (") + UnparsedReason(record) +
                                    Msg("), её текст записывается как был"),
                                static_cast<int>(i)});
            }
        }
    }

    const TWorldView& world_;
    const std::optional<int32_t> zone_;
    const TNamedCodes& named_;
    std::unordered_set<int32_t> loadedZones_;
    std::unordered_set<int32_t> entered_; // rooms some exit leads into
    std::unordered_map<int32_t, int> objLoads_, mobLoads_;
    std::optional<std::unordered_set<std::string>> shared_; // ScriptSharedVariables
    std::vector<TProblem> out_;
};

} // namespace

const char* ProblemKindTag(TProblemKind kind) {
    return kTags[static_cast<size_t>(kind)];
}

std::string SeverityName(TSeverity severity) {
    return Msg(severity == TSeverity::Error ? "ошибка" : "предупреждение");
}

std::vector<TProblem> CheckWorld(const TWorldView& world, std::optional<int32_t> zone,
                                 const TNamedCodes& named) {
    return TChecker(world, zone, named).Run();
}

namespace {

const TUnparsedRecord* UnparsedOf(const TWorldView& world, const TProblem& problem) {
    if (problem.Unparsed < 0)
        return nullptr;
    const auto& records = UnparsedRecords(world, problem.Record, problem.Zone);
    return static_cast<size_t>(problem.Unparsed) < records.size()
               ? &records[static_cast<size_t>(problem.Unparsed)]
               : nullptr;
}

} // namespace

namespace {

// ", строка 7" after the record of a problem inside a script.
std::string LineSuffix(const TProblem& problem) {
    return problem.Line < 0 ? std::string() : Msg(", строка ") + N(problem.Line + 1);
}

} // namespace

std::string ProblemRecordName(const TWorldView& world, const TProblem& problem) {
    const TUnparsedRecord* record = UnparsedOf(world, problem);
    return (record ? UnparsedName(*record) : std::to_string(problem.VNum)) + LineSuffix(problem);
}

std::string ProblemCaption(const TWorldView& world, const TProblem& problem) {
    const TUnparsedRecord* record = UnparsedOf(world, problem);
    return (record ? RecordTypeCaption(problem.Record) + " " + UnparsedName(*record) + " " +
                         UnparsedMark()
                   : RecordCaption(world, problem.Record, problem.VNum)) +
           LineSuffix(problem);
}
