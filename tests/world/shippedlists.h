#pragma once

#include <ostream>

// Every vocabulary list the editor loads at start, with the layout its loader
// reads it in: shared by the tests of the shipped data.

enum class TLayout { Coded, Spell, Flag };

struct TListCase {
    const char* Name;
    TLayout Layout;
};
inline void PrintTo(const TListCase& list, std::ostream* out) { *out << list.Name; }

// The lists the editor loads, with the layout its loader reads them in.
inline constexpr TListCase kLists[] = {
    {"ZON_Repop", TLayout::Coded},
    {"SectorType", TLayout::Coded},
    {"RoomVector", TLayout::Flag},
    {"DoorFlags", TLayout::Coded},
    {"DoorDefault", TLayout::Coded},
    {"pol", TLayout::Coded},
    {"Skills", TLayout::Coded},
    {"Material", TLayout::Coded},
    {"Objects_StructureHits", TLayout::Coded},
    {"Spells", TLayout::Spell},
    {"Type", TLayout::Coded},
    {"Weapons", TLayout::Coded},
    {"Container", TLayout::Flag},
    {"DrinkTypes", TLayout::Coded},
    {"Class", TLayout::Coded},
    {"ExtraEffect", TLayout::Flag},
    {"Affect", TLayout::Flag},
    {"NoTake", TLayout::Flag},
    {"NoUse", TLayout::Flag},
    {"Wear", TLayout::Flag},
    {"Magic_Flags", TLayout::Flag},
    {"Level", TLayout::Coded},
    {"Thac0", TLayout::Coded},
    {"AC", TLayout::Coded},
    {"Position", TLayout::Coded},
    {"Align", TLayout::Coded},
    {"LikeWork", TLayout::Coded},
    {"Class_Mob", TLayout::Coded},
    {"MaxFactor", TLayout::Coded},
    {"ExtraAttack", TLayout::Coded},
    {"Stats", TLayout::Coded},
    {"Action", TLayout::Flag},
    {"Mob_Affect", TLayout::Flag},
    {"Mob_Special_BitVector", TLayout::Flag},
    {"Spells_Mob", TLayout::Spell},
    {"Skills_Mob", TLayout::Spell},
    {"Shop_Hours", TLayout::Coded},
    {"Shop_Bitvector", TLayout::Flag},
    {"Shop_Race_Bitvector", TLayout::Flag},
    {"Trigger_Type", TLayout::Coded},
    {"Trigger_BitVector_MOB", TLayout::Flag},
    {"Trigger_BitVector_OBJ", TLayout::Flag},
    {"Trigger_BitVector_WLD", TLayout::Flag},
    {"ZON_Equipped", TLayout::Coded},
    {"Bonus", TLayout::Coded},
};
