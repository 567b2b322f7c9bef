#include "obj.h"

#include "recordkinds.h"
#include "strutils.h"

namespace {

// True when the word is a decimal number that fits 32 bits.
bool IsInt32(std::string_view word) {
    if (!IsDecimal(word))
        return false;
    try {
        ToInt32(word);
        return true;
    } catch (const TLoadFailure&) {
        return false;
    }
}

// Older files stored the ingredient flags as a number: bits 0 to 5 become
// the codes a0 to f0.
std::string IngredientFlagsFromBits(int16_t bits) {
    std::string flags;
    for (int i = 0; i < 6; ++i)
        if ((static_cast<unsigned>(bits) >> i) & 1u) {
            flags += static_cast<char>('a' + i);
            flags += '0';
        }
    return flags;
}

// The first kind value as decimal text. Older files wrote it as a flag string
// ("a0b1"): each pair's letter is a bit number counted from "a", the digits are
// ignored. A word that is neither fails the load.
std::string Param1FromWord(const std::string& word) {
    if (IsInt32(word))
        return word;
    uint32_t bits = 0;
    for (size_t i = 0; i < word.size(); i += 2) {
        const char letter = word[i];
        if (letter < 'a' || letter > 'z')
            throw TLoadFailure{};
        bits |= 1u << (letter - 'a');
    }
    return std::to_string(bits);
}

} // namespace

std::string ReadClosedLine(TWorldReader& reader) {
    std::string line = reader.ReadLine();
    if (line == "~")
        return {};
    if (EndsWith(line, '~'))
        return DropLast(line);
    // Our files close the text on the next line; others may run it over
    // several lines first, which are kept joined with CR LF.
    std::string text = line;
    for (;;) {
        if (reader.Eof())
            throw TEndOfFileStop{};
        line = reader.ReadLine();
        if (line == "~")
            return text;
        text += "\r\n";
        if (EndsWith(line, '~'))
            return text + DropLast(line);
        text += line;
    }
}

void WriteClosedLine(TStringList& lines, std::string_view text) {
    size_t from = 0;
    for (size_t cr; (cr = text.find("\r\n", from)) != std::string_view::npos; from = cr + 2)
        lines.push_back(OpenTextLine(std::string(text.substr(from, cr - from))));
    const std::string last(text.substr(from));
    // A text that ends in "~" itself would read back one character short and
    // leave its closing line to be taken for the next field: it is closed on
    // the same line instead.
    if (EndsWith(last, '~')) {
        lines.push_back(last + "~");
        return;
    }
    if (!last.empty() || from > 0)
        lines.push_back(last);
    lines.emplace_back("~");
}

void TObj::Assign(const TObj& source) {
    if (this == &source)
        return;
    const int32_t vnum = VNum;
    *this = source;
    VNum = vnum;
    Source.Forget(); // a copy was never read from a file
}

bool TObjList::LoadFromFile(const std::string& fileName) {
    return ReadRecordFileNamed(*this, WorldKind(TRecordType::Obj).LoadWord, fileName,
                               [&](TWorldReader& reader) { ReadObjects(reader); });
}

void TObjList::ReadObjects(TWorldReader& reader) {
    ReadNumberedFile(reader, ReadObject, WriteObject);
}

void TObjList::ReadObject(TWorldReader& reader, TObj& obj, std::string& line) {
    for (TCompactString* name :
         {&obj.Alias, &obj.Imen, &obj.Rod, &obj.Dat, &obj.Vin, &obj.Tvor, &obj.Pred, &obj.Desc})
        *name = reader.ReadLineWithoutLast();
    obj.Action = ReadClosedLine(reader);

    line = reader.ReadLine();
    const std::string first = Word(1, line);
    obj.MagicVector = FlagWord(first);
    obj.TrenSkill = IsInt32(first) ? static_cast<int16_t>(ToInt32(first)) : int16_t{0};
    obj.MaxDurab = ToInt32(Word(2, line));
    obj.CurrDurab = ToInt32(Word(3, line));
    obj.Material = ToUInt16(Word(4, line));

    line = reader.ReadLine();
    obj.Pol = ToByte(Word(1, line));
    obj.Timer = ToInt32(Word(2, line));
    obj.Spell = ToInt16(Word(3, line));
    obj.SpellLevel = ToByte(Word(4, line));

    line = reader.ReadLine();
    obj.Effects = FlagWord(Word(1, line));
    obj.Discomfort = FlagWord(Word(2, line));
    obj.Bans = FlagWord(Word(3, line));

    line = reader.ReadLine();
    obj.Kind = ToByte(Word(1, line));
    if (obj.Kind == 25 && obj.TrenSkill != 0) {
        obj.MagicVector = IngredientFlagsFromBits(obj.TrenSkill);
        obj.TrenSkill = 0;
    }
    obj.Flags = FlagWord(Word(2, line));
    obj.WearFlags = FlagWord(Word(3, line));

    line = reader.ReadLine();
    obj.Param1 = Param1FromWord(Word(1, line));
    obj.Param2 = ToInt32(Word(2, line));
    obj.Param3 = ToInt32(Word(3, line));
    obj.Param4 = ToInt32(Word(4, line));

    line = reader.ReadLine();
    obj.Weight = ToInt32(Word(1, line));
    obj.Price = ToInt32(Word(2, line));
    obj.RentInv = ToInt32(Word(3, line));
    obj.RentWear = ToInt32(Word(4, line));

    line = reader.ReadLine();
    obj.ExtraDescs.clear();
    while (StartsWith(line, 'E')) {
        ReadExtraDesc(reader, obj.ExtraDescs);
        line = reader.ReadLine();
    }
    obj.AddParam.clear();
    while (StartsWith(line, 'A')) {
        line = reader.ReadLine();
        obj.AddParam.push_back(PackAddParam(ToUInt16(Word(1, line)), ToInt16(Word(2, line))));
        line = reader.ReadLine();
    }
    obj.Triggers.clear();
    while (StartsWith(line, 'T')) {
        obj.Triggers.push_back(ToInt32(Word(2, line)));
        line = reader.ReadLine();
    }
}

void TObjList::WriteObject(const TObj& obj, TStringList& lines) {
    lines.push_back(Format("#%d", obj.VNum));
    for (const TCompactString* name :
         {&obj.Alias, &obj.Imen, &obj.Rod, &obj.Dat, &obj.Vin, &obj.Tvor, &obj.Pred, &obj.Desc})
        lines.push_back(*name + "~");
    WriteClosedLine(lines, obj.Action.Text());
    const std::string first =
        obj.Kind == 25 ? FlagText(obj.MagicVector.Text()) : std::to_string(obj.TrenSkill);
    lines.push_back(
        Format("%s %d %d %d", first.c_str(), obj.MaxDurab, obj.CurrDurab, obj.Material));
    lines.push_back(Format("%d %d %d %d", obj.Pol, obj.Timer, obj.Spell, obj.SpellLevel));
    lines.push_back(FlagText(obj.Effects.Text()) + " " + FlagText(obj.Discomfort.Text()) + " " +
                    FlagText(obj.Bans.Text()));
    lines.push_back(
        Format("%d %s %s", obj.Kind, FlagText(obj.Flags).c_str(), FlagText(obj.WearFlags).c_str()));
    lines.push_back(
        Format("%s %d %d %d", FlagText(obj.Param1).c_str(), obj.Param2, obj.Param3, obj.Param4));
    lines.push_back(Format("%d %d %d %d", obj.Weight, obj.Price, obj.RentInv, obj.RentWear));
    WriteExtraDescs(lines, obj.ExtraDescs);
    for (const int32_t entry : obj.AddParam) {
        lines.emplace_back("A");
        lines.push_back(Format("%d %d", AddParamLocation(entry), AddParamModifier(entry)));
    }
    for (const int32_t trigger : obj.Triggers)
        lines.push_back(Format("T %d", trigger));
}

void TObjList::SaveToStrings(TStringList& lines, int32_t zone) const {
    ComposeZoneFile(lines, zone, {"* Velmora object file v1.0"}, {"$", "$"}, WriteObject,
                    ReadObject);
}

bool TObjList::SaveToFile(const std::string& fileName, int32_t zone) const {
    return SaveZoneRecords(*this, fileName, zone, WorldKind(TRecordType::Obj).SaveFailure);
}
