#include "zonechecks.h"

#include "serverrules.h"
#include "worldfile.h"

std::vector<std::string> ZoneCheckLines(const std::vector<const TRoom*>& rooms,
                                        const TRoomList& allRooms, const TMobList& mobs) {
    std::vector<std::string> lines;
    for (const TRoom* room : rooms) {
        const std::string where = "Room #" + std::to_string(room->VNum);
        if (IsServerRoom(room->VNum))
            lines.push_back(where + Msg(": номер занят комнатой сервера"));
        for (const TRoomMob& placed : room->Mobs) {
            const TMob* prototype = mobs.Find(placed.MobVNum);
            if (!prototype)
                lines.push_back(where + ", unknown mob #" + std::to_string(placed.MobVNum));
            else if (prototype->MaxInWorld > 0 && placed.MaxInRoom > prototype->MaxInWorld)
                lines.push_back(where + ", Mob #" + std::to_string(placed.MobVNum) +
                                ": MaxQty > MaxInWorld");
        }
        for (int d = 0; d < DirCount; ++d) {
            const int32_t to = room->Exits[static_cast<size_t>(d)].ToRoom;
            const TRoom* target = to == 0 ? nullptr : allRooms.Find(to); // 0: no exit
            if (!target)
                continue;
            if (target->Exits[static_cast<size_t>(ReverseDir(d))].ToRoom != room->VNum)
                lines.push_back(where + Msg(", Выход ") + DirectionName(d) +
                                Msg(": непарный выход"));
        }
    }
    if (rooms.size() > static_cast<size_t>(kMaxRoomsPerFile))
        lines.push_back(Msg("Комнат в зоне ") + std::to_string(rooms.size()) +
                        Msg(": сервер читает из файла не больше ") +
                        std::to_string(kMaxRoomsPerFile));
    return lines;
}
