#include "references.h"

#include "strutils.h"

namespace {

std::string N(int32_t number) {
    return std::to_string(number);
}

bool RouteHas(const std::string& route, int32_t room) {
    const std::string wanted = N(room);
    size_t start = 0;
    for (;;) {
        const size_t slash = route.find('/', start);
        if (route.compare(start, slash == std::string::npos ? std::string::npos : slash - start,
                          wanted) == 0)
            return true;
        if (slash == std::string::npos)
            return false;
        start = slash + 1;
    }
}

class TUseFinder {
public:
    TUseFinder(const TWorldView& world, TRecordKind kind, int32_t vnum)
        : world_(world), kind_(kind), vnum_(vnum) {}

    std::vector<TRecordUse> Run() {
        for (const auto& room : world_.Rooms)
            InRoom(*room);
        for (const auto& mob : world_.Mobs) {
            Triggers(TRecordKind::Mob, mob->VNum, mob->Triggers);
            if (kind_ == TRecordKind::Room && !mob->Destination.empty() &&
                RouteHas(mob->Destination, vnum_))
                Add(TRecordKind::Mob, mob->VNum, Msg("Маршрут моба"));
        }
        for (const auto& obj : world_.Objs)
            Triggers(TRecordKind::Obj, obj->VNum, obj->Triggers);
        for (const auto& shop : world_.Shops)
            InShop(*shop);
        for (const TZone* zone : world_.Zones)
            InZone(*zone);
        return std::move(out_);
    }

private:
    void Add(TRecordKind kind, int32_t vnum, std::string what) {
        out_.push_back({kind, vnum, std::move(what)});
    }
    bool Is(TRecordKind kind, int32_t vnum) const { return kind_ == kind && vnum_ == vnum; }

    void Triggers(TRecordKind kind, int32_t vnum, const std::vector<int32_t>& triggers) {
        for (const int32_t trigger : triggers)
            if (Is(TRecordKind::Trigger, trigger))
                Add(kind, vnum, Msg("Прикреплённый триггер"));
    }

    void Linked(TRecordKind kind, int32_t vnum, const TLinkObjList& contents,
                const std::string& where) {
        for (const TLinkObj& item : contents)
            if (Is(TRecordKind::Obj, item.ObjVNum))
                Add(kind, vnum,
                    Msg(item.WearPos == -1 ? "Сброс: в инвентаре " : "Сброс: надет на ") + where);
    }

    void PlacedObject(TRecordKind kind, int32_t vnum, const TRoomObj& placed,
                      const std::string& what) {
        if (Is(TRecordKind::Obj, placed.ObjVNum))
            Add(kind, vnum, what);
        for (const TLinkObj& item : placed.Contents)
            if (Is(TRecordKind::Obj, item.ObjVNum))
                Add(kind, vnum, Msg("Сброс: кладётся в объект ") + N(placed.ObjVNum));
    }

    void InRoom(const TRoom& room) {
        for (int d = 0; d < DirCount; ++d) {
            const TExit& exit = room.Exits[static_cast<size_t>(d)];
            if (exit.ToRoom == 0)
                continue;
            if (Is(TRecordKind::Room, exit.ToRoom))
                Add(TRecordKind::Room, room.VNum, Msg("Выход ") + DirectionName(d));
            if (exit.Key > 0 && Is(TRecordKind::Obj, exit.Key))
                Add(TRecordKind::Room, room.VNum, Msg("Ключ двери ") + DirectionName(d));
        }
        Triggers(TRecordKind::Room, room.VNum, room.Triggers);
        for (const TRoomMob& placed : room.Mobs) {
            if (Is(TRecordKind::Mob, placed.MobVNum))
                Add(TRecordKind::Room, room.VNum, Msg("Сброс: моб в комнате"));
            if (placed.Leader != -1 && Is(TRecordKind::Mob, placed.Leader))
                Add(TRecordKind::Room, room.VNum,
                    Msg("Сброс: за ним следует моб ") + N(placed.MobVNum));
            Linked(TRecordKind::Room, room.VNum, placed.Contents, Msg("моба ") + N(placed.MobVNum));
        }
        for (const TRoomObj& placed : room.Objects)
            PlacedObject(TRecordKind::Room, room.VNum, placed, Msg("Сброс: объект в комнате"));
        for (const int32_t removed : room.DelObjects)
            if (Is(TRecordKind::Obj, PackedNumber(removed)))
                Add(TRecordKind::Room, room.VNum, Msg("Сброс: убирается из комнаты"));
    }

    void InShop(const TShop& shop) {
        if (Is(TRecordKind::Mob, shop.Seller))
            Add(TRecordKind::Shop, shop.VNum, Msg("Продавец магазина"));
        for (const int32_t goods : shop.Goods)
            if (Is(TRecordKind::Obj, goods))
                Add(TRecordKind::Shop, shop.VNum, Msg("Товар магазина"));
        for (const int32_t room : shop.Rooms)
            if (Is(TRecordKind::Room, room))
                Add(TRecordKind::Shop, shop.VNum, Msg("Комната магазина"));
    }

    void InZone(const TZone& zone) {
        for (const TRoomObj& placed : zone.CreatedObjects)
            PlacedObject(TRecordKind::Zone, zone.ZoneNumber, placed, Msg("Создаваемый объект"));
        for (const int32_t mob : zone.DeletedMobs)
            if (Is(TRecordKind::Mob, PackedNumber(mob)))
                Add(TRecordKind::Zone, zone.ZoneNumber, Msg("Удаляемый моб"));
    }

    const TWorldView& world_;
    const TRecordKind kind_;
    const int32_t vnum_;
    std::vector<TRecordUse> out_;
};

} // namespace

std::vector<TRecordUse> FindUses(const TWorldView& world, TRecordKind kind, int32_t vnum) {
    return TUseFinder(world, kind, vnum).Run();
}
