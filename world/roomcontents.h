#pragma once

// What a zone reset puts into a room: objects (with objects inside them) and
// mobs (with what they carry and wear). The zone file reads and writes these.

#include "sparsetext.h"

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

// An object inside an object (P command) or on a mob (G and E commands).
struct TLinkObj {
    int32_t ObjVNum = 0;
    bool IfFlag = false;
    int8_t WearPos = 0; // -1: carried in the inventory (G)
    int8_t Probability = 100;
    // The limit its command was read with (the server reads it per command);
    // -1 for one placed here: the prototype's.
    int32_t ReadMax = -1;
    bool operator==(const TLinkObj&) const = default;
};
using TLinkObjList = TSparseList<TLinkObj>;

// An object placed by an O command.
struct TRoomObj {
    int32_t ObjVNum = 0;
    bool IfFlag = false;
    int8_t Probability = 100;
    TLinkObjList Contents;
    TSparseList<std::string> KeptAfter{}; // zone commands we do not model that followed it
    // The limit its command was read with (the server reads it per command);
    // -1 for one placed here: the prototype's.
    int32_t ReadMax = -1;
    bool operator==(const TRoomObj&) const = default;
};
using TRoomObjList = TSparseList<TRoomObj>;

// A mob placed by an M command.
struct TRoomMob {
    int32_t MobVNum = 0;
    bool IfFlag = false;
    int32_t Leader = -1; // the mob this one follows (F command); -1: none
    int16_t MaxInRoom = 0;
    TLinkObjList Contents;
    TSparseList<std::string> KeptAfter{}; // zone commands we do not model that followed it
    // The limit its command was read with (the server reads it per command);
    // -1 for one placed here: the prototype's.
    int32_t ReadMax = -1;
    bool operator==(const TRoomMob&) const = default;
};

// Copies are deep (value semantics), as assigning one list from another needs.
class TRoomMobList : public TSparseList<TRoomMob> {
public:
    using TSparseList::TSparseList;
    // Index of the first placed mob with that number, or -1.
    int IndexOfMob(int32_t mobVNum) const {
        for (std::size_t i = 0; i < size(); ++i)
            if ((*this)[i].MobVNum == mobVNum)
                return static_cast<int>(i);
        return -1;
    }
};

// The if-flag lives in bit 31 of removal, deleted-mob and zone trigger entries.
inline int32_t PackIfFlag(bool ifFlag, int32_t number) {
    return static_cast<int32_t>((ifFlag ? 0x80000000u : 0u) |
                                (static_cast<uint32_t>(number) & 0x7FFFFFFFu));
}
inline bool PackedIfFlag(int32_t entry) {
    return (static_cast<uint32_t>(entry) & 0x80000000u) != 0;
}
inline int32_t PackedNumber(int32_t entry) {
    return static_cast<int32_t>(static_cast<uint32_t>(entry) & 0x7FFFFFFFu);
}
