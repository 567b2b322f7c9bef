#pragma once

#include "extradesc.h"
#include "recordlist.h"
#include "roomcontents.h"
#include "sparsetext.h"

#include <array>
#include <cstdint>
#include <string>

enum { DirNorth, DirEast, DirSouth, DirWest, DirUp, DirDown, DirCount };
// The direction back: north and south, east and west, up and down.
int ReverseDir(int direction);
// "на север", "на восток", "на юг", "на запад", "вверх", "вниз" (Windows-1251).
std::string DirectionName(int direction);

struct TExit {
    TSparseText ExitKeywords;
    TSparseText ExitDesc;
    uint8_t DoorFlags = 0; // 0: no door
    int32_t Key = -1;      // -1: none
    int32_t ToRoom = 0;    // 0: no exit in that direction
    uint8_t DoorState = 0; // after a zone reset; kept in the zone file
    TSparseText Tail{};    // what the number line holds after the target, as read
    bool operator==(const TExit&) const = default;
};

// A room's six exits, one pointer while it has none (a room never without
// its six slots would take 240 bytes more). Reading through a const room
// never allocates; changing an exit makes the six slots.
class TRoomExits {
public:
    using TArray = std::array<TExit, DirCount>;

    TRoomExits() = default;
    TRoomExits(const TArray& exits) { *this = exits; } // NOLINT: the six exits convert
    TRoomExits& operator=(const TArray& exits) {
        if (exits == TArray{})
            exits_.Reset();
        else
            exits_.Edit() = exits;
        return *this;
    }

    const TExit& operator[](size_t direction) const { return (*exits_)[direction]; }
    TExit& operator[](size_t direction) { return exits_.Edit()[direction]; }
    TArray::const_iterator begin() const { return exits_->begin(); }
    TArray::const_iterator end() const { return exits_->end(); }
    TArray::iterator begin() { return exits_.Edit().begin(); }
    TArray::iterator end() { return exits_.Edit().end(); }
    static constexpr size_t size() { return DirCount; }
    operator const TArray&() const { return *exits_; } // NOLINT: reads as the six exits
    // Every exit gone.
    void Clear() { exits_.Reset(); }
    // Every exit leads nowhere; the rest of each (a door state the zone
    // file gave) stays. A room read again starts so.
    void ClearTargets() {
        if (exits_.HasValue())
            for (TExit& exit : exits_.Edit())
                exit.ToRoom = 0;
    }

    friend bool operator==(const TRoomExits& a, const TRoomExits& b) {
        return *a.exits_ == *b.exits_;
    }

private:
    TSparse<TArray> exits_;
};

class TRoom {
public:
    explicit TRoom(int32_t vnum) : VNum(vnum) {}

    // Copies everything but the number, the map position and the exits: a
    // copied room starts without exits and off the map.
    void Assign(const TRoom& source);
    const std::string& CaptionName() const { return Name; }

    int32_t VNum;
    uint8_t MapX = 0;
    uint8_t MapY = 0;
    uint8_t MapLevel = 0; // 1..9; 0: not placed
    std::string Name;
    TStringList Desc;
    std::string Flags;
    uint8_t Sector = 1;
    TRoomExits Exits;
    TExtraDescList ExtraDescs;
    std::vector<int32_t> Triggers;
    TRoomMobList Mobs;
    TRoomObjList Objects;
    std::vector<int32_t> DelObjects; // if-flag in bit 31, object number below

    // Kept as read and written back in place: exit blocks that lead to room 0
    // (each written while its direction has no exit of ours), the lines after
    // the record ("I" lines and the like), zone commands we do not model that
    // followed this room's commands, and the text the record was read from.
    TStringList KeptExits;
    TStringList Trailer;
    TStringList KeptZoneCommands;
    TSourceText Source;
};

class TRoomList : public TRecordList<TRoom> {
public:
    // Reads a room file, then its layout file unless the room file failed
    // (a missing layout file is a note: the rooms are not placed yet).
    bool LoadFromFile(const std::string& fileName);
    // The room file text of one zone.
    void SaveToStrings(TStringList& lines, int32_t zone) const;
    // Writes the room file of one zone, then its layout file (even when the
    // room file could not be written).
    bool SaveToFile(const std::string& fileName, int32_t zone) const;

    // Parses room file text (the reading half of LoadFromFile).
    void ReadRooms(TWorldReader& reader);
    // Our writer's lines of one room (without its trailer).
    static void WriteRoom(const TRoom& room, TStringList& lines);

private:
    // One room after its header; leaves the line after the room in `line`.
    static void ReadRoom(TWorldReader& reader, TRoom& room, std::string& line);
};

// The ten description variants, in the order the page and the join use.
inline constexpr int kSectionCount = 10;
extern const std::array<const char*, kSectionCount> kSectionTags;

// The room description split into the general text and the tagged sections.
struct TDescSections {
    TStringList General;
    std::array<TStringList, kSectionCount> Sections;
    std::array<bool, kSectionCount> Replacing{};
    bool operator==(const TDescSections&) const = default;
};
// The split the room page shows.
TDescSections SplitDescription(const TStringList& desc);
// The join the room page applies. Each section's lines are joined with CR LF,
// trailing line ends stripped, into one entry between its tags.
TStringList JoinDescription(const TDescSections& sections);
