#include "references.h"

#include "strutils.h"

namespace {

std::string N(int32_t number) {
    return std::to_string(number);
}

bool RouteHas(std::string_view route, int32_t room) {
    const std::string wanted = N(room);
    size_t start = 0;
    for (;;) {
        const size_t slash = route.find('/', start);
        if (route.compare(start,
                          slash == std::string_view::npos ? std::string_view::npos : slash - start,
                          wanted) == 0)
            return true;
        if (slash == std::string_view::npos)
            return false;
        start = slash + 1;
    }
}

class TUseFinder {
public:
    TUseFinder(const TWorldView& world, TRecordType kind, int32_t vnum)
        : world_(world), kind_(kind), vnum_(vnum) {}

    std::vector<TRecordUse> Run() {
        for (const auto& room : world_.Rooms)
            InRoom(*room);
        for (const auto& mob : world_.Mobs) {
            Triggers(TRecordType::Mob, mob->VNum, mob->Triggers);
            if (kind_ == TRecordType::Room && !mob->Destination.empty() &&
                RouteHas(mob->Destination, vnum_))
                Add(TRecordType::Mob, mob->VNum, Msg("Маршрут моба"));
        }
        for (const auto& obj : world_.Objs)
            Triggers(TRecordType::Obj, obj->VNum, obj->Triggers);
        for (const auto& shop : world_.Shops)
            InShop(*shop);
        for (const TZone* zone : world_.Zones)
            InZone(*zone);
        return std::move(out_);
    }

private:
    void Add(TRecordType kind, int32_t vnum, std::string what) {
        out_.push_back({kind, vnum, std::move(what)});
    }
    bool Is(TRecordType kind, int32_t vnum) const { return kind_ == kind && vnum_ == vnum; }

    void Triggers(TRecordType kind, int32_t vnum, const std::vector<int32_t>& triggers) {
        for (const int32_t trigger : triggers)
            if (Is(TRecordType::Trigger, trigger))
                Add(kind, vnum, Msg("Прикреплённый триггер"));
    }
    // The T commands kept after what a reset placed (`what`).
    void ResetTriggers(TRecordType kind, int32_t vnum, const std::vector<std::string>& kept,
                       const std::string& what) {
        for (const std::string& line : kept)
            if (const auto trigger = ResetTriggerOf(line);
                trigger && Is(TRecordType::Trigger, trigger->VNum))
                Add(kind, vnum, Msg("Сброс: триггер ") + what);
    }

    void Linked(TRecordType kind, int32_t vnum, const TLinkObjList& contents,
                const std::string& where) {
        for (const TLinkObj& item : contents)
            if (Is(TRecordType::Obj, item.ObjVNum))
                Add(kind, vnum,
                    Msg(item.WearPos == -1 ? "Сброс: в инвентаре " : "Сброс: надет на ") + where);
    }

    void PlacedObject(TRecordType kind, int32_t vnum, const TRoomObj& placed,
                      const std::string& what) {
        if (Is(TRecordType::Obj, placed.ObjVNum))
            Add(kind, vnum, what);
        ResetTriggers(kind, vnum, placed.KeptAfter, Msg("объекта ") + N(placed.ObjVNum));
        for (const TLinkObj& item : placed.Contents)
            if (Is(TRecordType::Obj, item.ObjVNum))
                Add(kind, vnum, Msg("Сброс: кладётся в объект ") + N(placed.ObjVNum));
    }

    void InRoom(const TRoom& room) {
        for (int d = 0; d < DirCount; ++d) {
            const TExit& exit = room.Exits[static_cast<size_t>(d)];
            if (exit.ToRoom == 0)
                continue;
            if (Is(TRecordType::Room, exit.ToRoom))
                Add(TRecordType::Room, room.VNum, Msg("Выход ") + DirectionName(d));
            if (exit.Key > 0 && Is(TRecordType::Obj, exit.Key))
                Add(TRecordType::Room, room.VNum, Msg("Ключ двери ") + DirectionName(d));
        }
        Triggers(TRecordType::Room, room.VNum, room.Triggers);
        for (const TRoomMob& placed : room.Mobs) {
            if (Is(TRecordType::Mob, placed.MobVNum))
                Add(TRecordType::Room, room.VNum, Msg("Сброс: моб в комнате"));
            if (placed.Leader != -1 && Is(TRecordType::Mob, placed.Leader))
                Add(TRecordType::Room, room.VNum,
                    Msg("Сброс: за ним следует моб ") + N(placed.MobVNum));
            Linked(TRecordType::Room, room.VNum, placed.Contents, Msg("моба ") + N(placed.MobVNum));
            ResetTriggers(TRecordType::Room, room.VNum, placed.KeptAfter,
                          Msg("моба ") + N(placed.MobVNum));
        }
        for (const TRoomObj& placed : room.Objects)
            PlacedObject(TRecordType::Room, room.VNum, placed, Msg("Сброс: объект в комнате"));
        for (const int32_t removed : room.DelObjects)
            if (Is(TRecordType::Obj, PackedNumber(removed)))
                Add(TRecordType::Room, room.VNum, Msg("Сброс: убирается из комнаты"));
        ResetTriggers(TRecordType::Room, room.VNum, room.KeptZoneCommands, Msg("комнаты"));
    }

    void InShop(const TShop& shop) {
        if (Is(TRecordType::Mob, shop.Seller))
            Add(TRecordType::Shop, shop.VNum, Msg("Продавец магазина"));
        for (const int32_t goods : shop.Goods)
            if (Is(TRecordType::Obj, goods))
                Add(TRecordType::Shop, shop.VNum, Msg("Товар магазина"));
        for (const int32_t room : shop.Rooms)
            if (Is(TRecordType::Room, room))
                Add(TRecordType::Shop, shop.VNum, Msg("Комната магазина"));
    }

    void InZone(const TZone& zone) {
        ResetTriggers(TRecordType::Zone, zone.ZoneNumber, zone.KeptCommands, Msg("зоны"));
        for (const TRoomObj& placed : zone.CreatedObjects)
            PlacedObject(TRecordType::Zone, zone.ZoneNumber, placed, Msg("Создаваемый объект"));
        for (const int32_t mob : zone.DeletedMobs)
            if (Is(TRecordType::Mob, PackedNumber(mob)))
                Add(TRecordType::Zone, zone.ZoneNumber, Msg("Удаляемый моб"));
    }

    const TWorldView& world_;
    const TRecordType kind_;
    const int32_t vnum_;
    std::vector<TRecordUse> out_;
};

} // namespace

std::vector<TRecordUse> FindUses(const TWorldView& world, TRecordType kind, int32_t vnum) {
    return TUseFinder(world, kind, vnum).Run();
}
