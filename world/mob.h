#pragma once

#include "recordlist.h"

#include <cstdint>
#include <string>
#include <vector>

class TMob {
public:
    explicit TMob(int32_t vnum) : VNum(vnum) {}

    // Copies every field but the number, lists included.
    void Assign(const TMob& source);
    const TCompactString& CaptionName() const { return Imen; }

    // Index of the Spells entry for that spell number, or -1.
    int IndexOfSpell(uint16_t spell) const;
    // How many times the mob casts that spell (0 when none).
    int SpellCount(uint16_t spell) const;
    // The mob's value of that skill (0 when none).
    int SkillValue(uint16_t skill) const;

    int32_t VNum;
    int32_t Align = 0; // here, beside the number: a record without padding is smaller
    TCompactString Alias, Imen, Rod, Dat, Vin, Tvor, Pred;
    TCompactString Desc;
    TCompactString Special;
    TTextLines Look;
    TCompactString Flags, Affects;
    uint16_t Level = 0;
    int8_t Hitroll = 0;
    int8_t AC = 0;
    TDice Hits, Damage, Money;
    int32_t Exp = 0;
    uint8_t PosLoad = 0, PosDefault = 0, Pol = 0;
    int8_t BareHandAttack = 0;
    TSparseText Destination; // room numbers separated by "/"
    int32_t Str = 0, Int = 0, Wis = 0, Dex = 0, Con = 0, Cha = 0;
    int32_t LikeWork = 0, MaxFactor = 0;
    uint16_t ExtraAttack = 0;
    uint8_t Model = 0; // written under the key "Class"
    int32_t Size = 0, Height = 0, Weight = 0;
    TSparseList<int32_t> Spells; // low 16 bits spell, high 16 bits count
    TSparseList<int32_t> Skills; // low 16 bits skill, high 16 bits value
    TSparseList<int32_t> Helper;
    TSparseList<int32_t> Triggers;
    int32_t MaxInWorld = 0; // not in the mob file: the zone commands carry it
    // MaxInWorld as the zone files last gave it. While the builder leaves it
    // so, each command keeps the limit it was read with (zones may limit one
    // prototype differently, and the server reads the limit per command).
    int32_t ReadMaxInWorld = -1;

    // Kept as read and written back in place: named lines we do not model
    // ("Race: 110"; before the "E"), the lines after the record ("I" and "L"
    // lines), and the text the record was read from.
    TSparseList<std::string> KeptNamedLines;
    TSparseLines Trailer;
    TSourceText Source;
};

// Spells and skills pack a number in the low and a signed value in the high 16 bits.
inline int32_t PackPair(uint16_t number, int16_t value) {
    return static_cast<int32_t>((static_cast<uint32_t>(static_cast<uint16_t>(value)) << 16) |
                                number);
}
inline uint16_t PairNumber(int32_t entry) {
    return static_cast<uint16_t>(static_cast<uint32_t>(entry) & 0xFFFF);
}
inline int16_t PairValue(int32_t entry) {
    return static_cast<int16_t>(static_cast<uint32_t>(entry) >> 16);
}

class TMobList : public TRecordList<TMob> {
public:
    bool LoadFromFile(const std::string& fileName);
    void SaveToStrings(TStringList& lines, int32_t zone) const;
    bool SaveToFile(const std::string& fileName, int32_t zone) const;
    void ReadMobs(TWorldReader& reader);
    // Our writer's lines of one mob (without its trailer).
    static void WriteMob(const TMob& mob, TStringList& lines);

private:
    static void ReadMob(TWorldReader& reader, TMob& mob, std::string& line);
};
