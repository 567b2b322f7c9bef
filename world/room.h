#pragma once

#include "extradesc.h"
#include "recordlist.h"
#include "roomcontents.h"
#include "sparsetext.h"

#include <algorithm>
#include <array>
#include <cstdint>
#include <iterator>
#include <string>

enum { DirNorth, DirEast, DirSouth, DirWest, DirUp, DirDown, DirCount };
// The direction back: north and south, east and west, up and down.
int ReverseDir(int direction);
// "на север", "на восток", "на юг", "на запад", "вверх", "вниз" (Windows-1251).
std::string DirectionName(int direction);

// What few exits have: a door's keywords and description, and a long rest
// of the number line.
struct TExitTexts {
    TCompactString ExitKeywords;
    TCompactString ExitDesc;
    TCompactString Tail;
    bool operator==(const TExitTexts&) const = default;
};

class TExit {
public:
    std::string_view ExitKeywords() const { return texts_->ExitKeywords; }
    std::string_view ExitDesc() const { return texts_->ExitDesc; }
    // What the number line holds after the target, as read (most often
    // nothing or " 0").
    std::string Tail() const {
        return shortTail_[0] ? std::string(shortTail_.data()) : texts_->Tail.Str();
    }
    void SetExitKeywords(TCompactString text) {
        SetText(&TExitTexts::ExitKeywords, std::move(text));
    }
    void SetExitDesc(TCompactString text) { SetText(&TExitTexts::ExitDesc, std::move(text)); }
    void SetTail(std::string text) {
        shortTail_ = {};
        if (text.size() < shortTail_.size() && text.find('\0') == std::string::npos) {
            text.copy(shortTail_.data(), text.size());
            text.clear();
        }
        SetText(&TExitTexts::Tail, std::string_view(text));
    }

    int32_t Key = -1;      // -1: none
    int32_t ToRoom = 0;    // 0: no exit in that direction
    uint8_t DoorFlags = 0; // 0: no door
    uint8_t DoorState = 0; // after a zone reset; kept in the zone file
    bool operator==(const TExit&) const = default;

private:
    // The texts in one pointer, none while all are empty, and a short rest of
    // the number line in what would be padding: an exit of 24 bytes, as most
    // exits are a target and nothing else.
    void SetText(TCompactString TExitTexts::*field, TCompactString text) {
        if (text.empty() && !texts_.HasValue())
            return;
        texts_.Edit().*field = std::move(text);
        if (*texts_ == TExitTexts{})
            texts_.Reset();
    }
    std::array<char, 6> shortTail_{}; // ends at its first NUL
    TSparse<TExitTexts> texts_;
};

// A room's six exits, each one pointer while it leads nowhere (six exits
// inline would make every room 144 bytes larger; most rooms have two or
// three exits). Reading through a const room never allocates; changing an
// exit makes its slot.
class TRoomExits {
public:
    using TArray = std::array<TExit, DirCount>;

    TRoomExits() = default;
    TRoomExits(const TArray& exits) { *this = exits; } // NOLINT: the six exits convert
    TRoomExits& operator=(const TArray& exits) {
        for (size_t direction = 0; direction < DirCount; ++direction)
            Set(direction, exits[direction]);
        return *this;
    }

    const TExit& operator[](size_t direction) const { return *exits_[direction]; }
    TExit& operator[](size_t direction) { return exits_[direction].Edit(); }
    static constexpr size_t size() { return DirCount; }
    // The six exits in order, an empty one where there is none.
    class const_iterator {
    public:
        using iterator_category = std::forward_iterator_tag;
        using value_type = TExit;
        using difference_type = std::ptrdiff_t;
        using pointer = const TExit*;
        using reference = const TExit&;
        const_iterator() = default;
        explicit const_iterator(const TSparse<TExit>* slot) : slot_(slot) {}
        const TExit& operator*() const { return **slot_; }
        const TExit* operator->() const { return &**slot_; }
        const_iterator& operator++() {
            ++slot_;
            return *this;
        }
        const_iterator operator++(int) { return const_iterator(slot_++); }
        bool operator==(const const_iterator&) const = default;

    private:
        const TSparse<TExit>* slot_ = nullptr;
    };
    const_iterator begin() const { return const_iterator(exits_.data()); }
    const_iterator end() const { return const_iterator(exits_.data() + DirCount); }
    TArray Array() const {
        TArray exits;
        for (size_t direction = 0; direction < DirCount; ++direction)
            exits[direction] = (*this)[direction];
        return exits;
    }
    operator TArray() const { return Array(); } // NOLINT: reads as the six exits
    // Every exit gone.
    void Clear() {
        for (TSparse<TExit>& slot : exits_)
            slot.Reset();
    }
    // Every exit leads nowhere; the rest of each (a door state the zone
    // file gave) stays. A room read again starts so.
    void ClearTargets() {
        for (TSparse<TExit>& slot : exits_)
            if (slot.HasValue()) {
                slot.Edit().ToRoom = 0;
                if (*slot == TExit{})
                    slot.Reset();
            }
    }

    friend bool operator==(const TRoomExits& a, const TRoomExits& b) {
        return std::equal(a.begin(), a.end(), b.begin());
    }

private:
    // An exit equal to none leaves its slot empty.
    void Set(size_t direction, const TExit& exit) {
        if (exit == TExit{})
            exits_[direction].Reset();
        else
            exits_[direction].Edit() = exit;
    }
    std::array<TSparse<TExit>, DirCount> exits_;
};

class TRoom {
public:
    explicit TRoom(int32_t vnum) : VNum(vnum) {}

    // Copies everything but the number, the map position and the exits: a
    // copied room starts without exits and off the map.
    void Assign(const TRoom& source);
    const TCompactString& CaptionName() const { return Name; }

    int32_t VNum;
    uint8_t MapX = 0;
    uint8_t MapY = 0;
    uint8_t MapLevel = 0; // 1..9; 0: not placed
    uint8_t Sector = 1;
    TCompactString Name;
    TTextLines Desc;
    TSparseText Flags; // most rooms have none
    TRoomExits Exits;
    TExtraDescList ExtraDescs;
    TSparseList<int32_t> Triggers;
    TRoomMobList Mobs;
    TRoomObjList Objects;
    TSparseList<int32_t> DelObjects; // if-flag in bit 31, object number below

    // Kept as read and written back in place: exit blocks that lead to room 0
    // (each written while its direction has no exit of ours), the lines after
    // the record ("I" lines and the like), zone commands we do not model that
    // followed this room's commands, and the text the record was read from.
    TSparseList<std::string> KeptExits;
    TSparseLines Trailer;
    TSparseList<std::string> KeptZoneCommands;
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

    // Parses room file text (the reading half of LoadFromFile). The rooms
    // `leaveUnread` gives (every room when it is not given) are kept as
    // their text until first used.
    void ReadRooms(TWorldReader& reader, const TLeaveUnread& leaveUnread = {});
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
