#include "mob.h"

#include "obj.h"
#include "recordkinds.h"
#include "strutils.h"

#include <limits>

void TMob::Assign(const TMob& source) {
    if (this == &source)
        return;
    const int32_t vnum = VNum;
    *this = source;
    VNum = vnum;
    Source.Forget(); // a copy was never read from a file
}

int TMob::IndexOfSpell(uint16_t spell) const {
    for (size_t i = 0; i < Spells.size(); ++i)
        if (PairNumber(Spells[i]) == spell)
            return static_cast<int>(i);
    return -1;
}

int TMob::SpellCount(uint16_t spell) const {
    const int index = IndexOfSpell(spell);
    return index < 0 ? 0 : PairValue(Spells[static_cast<size_t>(index)]);
}

int TMob::SkillValue(uint16_t skill) const {
    for (const int32_t entry : Skills)
        if (PairNumber(entry) == skill)
            return PairValue(entry);
    return 0;
}

namespace {

// One named line of the extension block ("Str: 18"). The value is word 2.
bool ReadNamedLine(TMob& mob, const std::string& line) {
    const std::string key = HeadBefore(line, ':');
    const std::string value = Word(2, line);
    if (key == "BareHandAttack")
        mob.BareHandAttack = ToInt8(value);
    else if (key == "Str")
        mob.Str = ToInt32(value);
    else if (key == "Int")
        mob.Int = ToInt32(value);
    else if (key == "Wis")
        mob.Wis = ToInt32(value);
    else if (key == "Dex")
        mob.Dex = ToInt32(value);
    else if (key == "Con")
        mob.Con = ToInt32(value);
    else if (key == "Cha")
        mob.Cha = ToInt32(value);
    else if (key == "LikeWork")
        mob.LikeWork = ToInt32(value);
    else if (key == "MaxFactor")
        mob.MaxFactor = ToInt32(value);
    else if (key == "ExtraAttack")
        mob.ExtraAttack = ToUInt16(value);
    else if (key == "Class")
        mob.Model = ToByte(value);
    else if (key == "Size")
        mob.Size = ToInt32(value);
    else if (key == "Height")
        mob.Height = ToInt32(value);
    else if (key == "Weight")
        mob.Weight = ToInt32(value);
    else if (key == "Destination")
        mob.Destination += mob.Destination.empty() ? value : "/" + value;
    else if (key == "Special_Bitvector")
        mob.Special = FlagWord(value);
    else if (key == "Spell") {
        const uint16_t spell = ToUInt16(value);
        const int index = mob.IndexOfSpell(spell);
        if (index < 0)
            mob.Spells.push_back(PackPair(spell, 1));
        else {
            int32_t& entry = mob.Spells[static_cast<size_t>(index)];
            // The count is 16 bits wide: it stays at its largest value.
            if (PairValue(entry) < std::numeric_limits<int16_t>::max())
                entry = PackPair(spell, static_cast<int16_t>(PairValue(entry) + 1));
        }
    } else if (key == "Skill")
        mob.Skills.push_back(PackPair(ToUInt16(value), ToInt16(Word(3, line))));
    else if (key == "Helper")
        mob.Helper.push_back(ToInt32(value));
    else
        return false; // not ours
    return true;
}

} // namespace

bool TMobList::LoadFromFile(const std::string& fileName) {
    return ReadRecordFileNamed(*this, WorldKind(TRecordType::Mob).LoadWord, fileName,
                               [&](TWorldReader& reader) { ReadMobs(reader); });
}

void TMobList::ReadMobs(TWorldReader& reader) {
    ReadNumberedFile(reader, ReadMob, WriteMob);
}

void TMobList::ReadMob(TWorldReader& reader, TMob& mob, std::string& line) {
    for (TCompactString* name :
         {&mob.Alias, &mob.Imen, &mob.Rod, &mob.Dat, &mob.Vin, &mob.Tvor, &mob.Pred})
        *name = reader.ReadLineWithoutLast();
    mob.Desc = ReadClosedLine(reader);
    ReadTildeText(reader, mob.Look);

    line = reader.ReadLine();
    mob.Flags = FlagWord(Word(1, line));
    mob.Affects = FlagWord(Word(2, line));
    mob.Align = ToInt32(Word(3, line));

    line = reader.ReadLine();
    mob.Level = ToUInt16(Word(1, line));
    mob.Hitroll = ToInt8(Word(2, line));
    mob.AC = ToInt8(Word(3, line));
    mob.Hits = ParseDice(Word(4, line));
    mob.Damage = ParseDice(Word(5, line));

    line = reader.ReadLine();
    mob.Money = ParseDice(Word(1, line));
    mob.Exp = ToInt32(Word(2, line));

    line = reader.ReadLine();
    mob.PosLoad = ToByte(Word(1, line));
    mob.PosDefault = ToByte(Word(2, line));
    mob.Pol = ToByte(Word(3, line));

    mob.Spells.clear();
    mob.Skills.clear();
    mob.Helper.clear();
    mob.Destination.clear();
    mob.Triggers.clear();
    mob.KeptNamedLines.clear();
    // The named lines end at "E". A header line cannot be a named line: a
    // record that lost its "E" ends there, so the next record is not read
    // into this one.
    bool closed = false;
    for (;;) {
        if (reader.Eof())
            throw TEndOfFileStop{};
        line = reader.ReadLine();
        if (StartsWith(line, '#'))
            break;
        if (HeadBefore(line, ':') == "E") {
            closed = true;
            break;
        }
        if (!ReadNamedLine(mob, line))
            mob.KeptNamedLines.push_back(line);
    }

    if (closed) {
        line = reader.ReadLine();
        while (StartsWith(line, 'T')) {
            mob.Triggers.push_back(ToInt32(Word(2, line)));
            line = reader.ReadLine();
        }
    }
}

void TMobList::WriteMob(const TMob& mob, TStringList& lines) {
    lines.push_back(Format("#%d", mob.VNum));
    for (const TCompactString* name :
         {&mob.Alias, &mob.Imen, &mob.Rod, &mob.Dat, &mob.Vin, &mob.Tvor, &mob.Pred})
        lines.push_back(*name + "~");
    WriteClosedLine(lines, mob.Desc);
    WriteTildeText(lines, mob.Look);
    lines.push_back(Format("%s %s %d E", FlagText(mob.Flags).c_str(), FlagText(mob.Affects).c_str(),
                           mob.Align));
    lines.push_back(Format("%d %d %d %s %s", mob.Level, mob.Hitroll, mob.AC,
                           DiceText(mob.Hits).c_str(), DiceText(mob.Damage).c_str()));
    lines.push_back(Format("%s %d", DiceText(mob.Money).c_str(), mob.Exp));
    lines.push_back(Format("%d %d %d", mob.PosLoad, mob.PosDefault, mob.Pol));

    lines.push_back(Format("BareHandAttack: %d", mob.BareHandAttack));
    if (!mob.Destination.empty()) {
        std::string rest = mob.Destination.Str();
        for (;;) {
            const size_t slash = rest.find('/');
            lines.push_back("Destination: " + rest.substr(0, slash));
            if (slash == std::string::npos)
                break;
            rest.erase(0, slash + 1);
        }
    }
    const std::pair<const char*, int> values[] = {
        {"Str", mob.Str},
        {"Int", mob.Int},
        {"Wis", mob.Wis},
        {"Dex", mob.Dex},
        {"Con", mob.Con},
        {"Cha", mob.Cha},
        {"LikeWork", mob.LikeWork},
        {"MaxFactor", mob.MaxFactor},
        {"ExtraAttack", mob.ExtraAttack},
        {"Class", mob.Model},
        {"Size", mob.Size},
        {"Height", mob.Height},
        {"Weight", mob.Weight},
    };
    for (const auto& [key, value] : values)
        lines.push_back(Format("%s: %d", key, value));
    if (!mob.Special.empty())
        lines.push_back("Special_Bitvector: " + mob.Special);
    for (const int32_t entry : mob.Spells)
        for (int i = 0; i < PairValue(entry); ++i)
            lines.push_back(Format("Spell: %d", PairNumber(entry)));
    for (const int32_t entry : mob.Skills)
        lines.push_back(Format("Skill: %d %d", PairNumber(entry), PairValue(entry)));
    for (const int32_t helper : mob.Helper)
        lines.push_back(Format("Helper: %d", helper));
    lines.insert(lines.end(), mob.KeptNamedLines.begin(), mob.KeptNamedLines.end());
    lines.emplace_back("E");
    for (const int32_t trigger : mob.Triggers)
        lines.push_back(Format("T %d", trigger));
}

void TMobList::SaveToStrings(TStringList& lines, int32_t zone) const {
    ComposeZoneFile(lines, zone, {"* Velmora mob file v1.0"}, {"$", "$"}, WriteMob, ReadMob);
}

bool TMobList::SaveToFile(const std::string& fileName, int32_t zone) const {
    return SaveZoneRecords(*this, fileName, zone, WorldKind(TRecordType::Mob).SaveFailure);
}
