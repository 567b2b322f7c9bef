#pragma once

#include "extradesc.h"
#include "recordlist.h"

#include <cstdint>
#include <string>
#include <vector>

class TObj {
public:
    explicit TObj(int32_t vnum) : VNum(vnum) {}

    // Copies every field but the number, lists included.
    void Assign(const TObj& source);
    const TCompactString& CaptionName() const { return Imen; }

    int32_t VNum;
    TCompactString Alias, Imen, Rod, Dat, Vin, Tvor, Pred;
    TCompactString Desc;
    // The small numbers side by side: a record of a large world is smaller
    // without the padding between them.
    int16_t TrenSkill = 0;
    uint16_t Material = 0;
    TSparseText Action;
    TSparseText MagicVector;
    int32_t MaxDurab = 0;
    int32_t CurrDurab = 0;
    uint8_t Pol = 0;
    uint8_t SpellLevel = 0;
    int16_t Spell = 0;
    int32_t Timer = 0;
    TSparseText Effects, Discomfort, Bans;
    uint8_t Kind = 0;
    TCompactString Flags, WearFlags;
    TCompactString Param1;
    int32_t Param2 = 0, Param3 = 0, Param4 = 0;
    int32_t Weight = 0, Price = 0, RentInv = 0, RentWear = 0;
    TExtraDescList ExtraDescs;
    TSparseList<int32_t> AddParam; // low 16 bits location, high 16 bits modifier
    TSparseList<int32_t> Triggers;
    int32_t MaxInWorld = 0; // not in the object file: the zone commands carry it
    // MaxInWorld as the zone files last gave it. While the builder leaves it
    // so, each command keeps the limit it was read with (zones may limit one
    // prototype differently, and the server reads the limit per command).
    int32_t ReadMaxInWorld = -1;

    // Kept as read and written back after the record: the blocks we do not
    // model ("M", "R", "S" and whatever follows them), and the text the
    // record was read from.
    TSparseLines Trailer;
    TSourceText Source;
};

inline int32_t PackAddParam(uint16_t location, int16_t modifier) {
    return static_cast<int32_t>((static_cast<uint32_t>(static_cast<uint16_t>(modifier)) << 16) |
                                location);
}
inline uint16_t AddParamLocation(int32_t entry) {
    return static_cast<uint16_t>(static_cast<uint32_t>(entry) & 0xFFFF);
}
inline int16_t AddParamModifier(int32_t entry) {
    return static_cast<int16_t>(static_cast<uint32_t>(entry) >> 16);
}

// A one-line description closed by "~" (an object's action text, a mob's room
// description): written as the text and a lone "~" (an empty text as the lone
// "~"), read back from either that pair of lines or a single line ending with
// "~". A text that itself ends with "~" is written as one line with a second
// "~", which reads back whole.
std::string ReadClosedLine(TWorldReader& reader);
void WriteClosedLine(TStringList& lines, std::string_view text);

class TObjList : public TRecordList<TObj> {
public:
    bool LoadFromFile(const std::string& fileName);
    void SaveToStrings(TStringList& lines, int32_t zone) const;
    bool SaveToFile(const std::string& fileName, int32_t zone) const;
    void ReadObjects(TWorldReader& reader);
    // Our writer's lines of one object (without its trailer).
    static void WriteObject(const TObj& obj, TStringList& lines);

private:
    static void ReadObject(TWorldReader& reader, TObj& obj, std::string& line);
};
