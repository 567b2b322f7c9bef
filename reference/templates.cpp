#include "templates.h"

#include "strutils.h"
#include "worldfile.h"

#include <charconv>
#include <functional>

namespace {

// A key line: the key with its colon, and what it does to the template's record.
template <class T> struct TKey {
    const char* Key;
    std::function<void(T&, const std::string& value, const std::string& line)> Apply;
};

// The text value: after the key and one character, without the line's last character.
std::string TextValue(const std::string& line, size_t keyLength) {
    return line.size() > keyLength + 1 ? DropLast(line.substr(keyLength + 1)) : std::string();
}

std::string NumberWord(const std::string& line, int n, bool spacesOnly) {
    return ExtractWord(n, line, spacesOnly ? " " : " \t");
}

template <class T>
bool LoadTemplateFile(TTemplateSet<T>& set, const std::string& fileName, const char* kindWord,
                      const std::vector<TKey<T>>& keys) {
    set.Clear();
    T* current = nullptr;
    const bool loaded = LoadWorldFile(kindWord, fileName, [&](TWorldReader& reader) {
        while (!reader.Eof()) {
            const std::string line = reader.ReadLine();
            if (line.empty())
                continue;
            if (line[0] == '#') {
                current = &set.Add(DropLast(line.substr(1)));
                continue;
            }
            if (!current)
                continue; // a key line before the first template belongs to none
            for (const TKey<T>& key : keys) {
                const std::string_view name = key.Key;
                if (line.compare(0, name.size(), name) == 0) {
                    key.Apply(*current, TextValue(line, name.size()), line);
                    break;
                }
            }
        }
    });
    return loaded;
}

// Shorthands that build the key entries of the tables.
template <class T, class Field> TKey<T> Text(const char* key, Field T::*field) {
    return {key, [field](T& r, const std::string& value, const std::string&) { r.*field = value; }};
}
template <class T> TKey<T> TextLine(const char* key, TTextLines T::*field) {
    return {key, [field](T& r, const std::string& value, const std::string&) {
                (r.*field).Edit().push_back(value);
            }};
}
template <class T, class Field>
TKey<T> Number(const char* key, Field T::*field, int64_t low, int64_t high,
               bool spacesOnly = false) {
    return {key, [=](T& r, const std::string&, const std::string& line) {
                r.*field =
                    static_cast<Field>(ToInteger(NumberWord(line, 2, spacesOnly), low, high));
            }};
}
template <class T> TKey<T> Int32(const char* key, int32_t T::*field) {
    return Number<T, int32_t>(key, field, INT32_MIN, INT32_MAX);
}
template <class T, class List> TKey<T> NumberList(const char* key, List T::*field) {
    return {key, [field](T& r, const std::string&, const std::string& line) {
                (r.*field).push_back(ToInt32(NumberWord(line, 2, false)));
            }};
}
template <class T, class List>
TKey<T> PairList(const char* key, List T::*field, bool spacesOnly) {
    return {key, [=](T& r, const std::string&, const std::string& line) {
                const auto low =
                    static_cast<uint16_t>(ToInteger(NumberWord(line, 2, spacesOnly), 0, 65535));
                const auto high =
                    static_cast<int16_t>(ToInteger(NumberWord(line, 3, spacesOnly), -32768, 32767));
                (r.*field).push_back(PackPair(low, high));
            }};
}
TKey<TMob> Dice(const char* key, TDice TMob::*field) {
    return {key, [field](TMob& r, const std::string&, const std::string& line) {
                r.*field =
                    TDice{ToByte(NumberWord(line, 2, false)), ToByte(NumberWord(line, 3, false)),
                          ToInt16(NumberWord(line, 4, false))};
            }};
}

double Fraction(const std::string& word) {
    double value = 0;
    const auto [end, error] = std::from_chars(word.data(), word.data() + word.size(), value);
    if (word.empty() || error != std::errc() || end != word.data() + word.size())
        throw TLoadFailure{};
    return value;
}

} // namespace

bool LoadTemplates(TObjTemplet& set, const std::string& fileName) {
    static const std::vector<TKey<TObj>> keys = {
        Text("Alias:", &TObj::Alias),
        Text("Imen:", &TObj::Imen),
        Text("Rod:", &TObj::Rod),
        Text("Dat:", &TObj::Dat),
        Text("Vin:", &TObj::Vin),
        Text("Tvor:", &TObj::Tvor),
        Text("Pred:", &TObj::Pred),
        Text("Desc:", &TObj::Desc),
        Text("Action:", &TObj::Action),
        Number("TrenSkill:", &TObj::TrenSkill, -32768, 32767),
        Text("MagicVector:", &TObj::MagicVector),
        Int32("MaxDurab:", &TObj::MaxDurab),
        Int32("CurrDurab:", &TObj::CurrDurab),
        Number("Material:", &TObj::Material, 0, 65535),
        Number("Pol:", &TObj::Pol, 0, 255),
        Int32("Timer:", &TObj::Timer),
        Number("Spell:", &TObj::Spell, -32768, 32767),
        Number("SpellLevel:", &TObj::SpellLevel, 0, 255),
        Text("Effects:", &TObj::Effects),
        Text("Discomfort:", &TObj::Discomfort),
        Text("Bans:", &TObj::Bans),
        Number("Kind:", &TObj::Kind, 0, 255),
        Text("Flags:", &TObj::Flags),
        Text("WearFlags:", &TObj::WearFlags),
        Text("Param1:", &TObj::Param1),
        Int32("Param2:", &TObj::Param2),
        Int32("Param3:", &TObj::Param3),
        Int32("Param4:", &TObj::Param4),
        Int32("Weight:", &TObj::Weight),
        Int32("Price:", &TObj::Price),
        Int32("RentInv:", &TObj::RentInv),
        Int32("RentWear:", &TObj::RentWear),
        Int32("MaxInWorld:", &TObj::MaxInWorld),
        PairList("AddParam:", &TObj::AddParam, false),
        NumberList("Triggers:", &TObj::Triggers)};
    return LoadTemplateFile(set, fileName, "шаблоны объектов", keys);
}

bool LoadTemplates(TMobTemplet& set, const std::string& fileName) {
    static const std::vector<TKey<TMob>> keys = {
        Text("Alias:", &TMob::Alias),
        Text("Imen:", &TMob::Imen),
        Text("Rod:", &TMob::Rod),
        Text("Dat:", &TMob::Dat),
        Text("Vin:", &TMob::Vin),
        Text("Tvor:", &TMob::Tvor),
        Text("Pred:", &TMob::Pred),
        Text("Desc:", &TMob::Desc),
        TextLine("Look:", &TMob::Look),
        Text("Flags:", &TMob::Flags),
        Text("Affects:", &TMob::Affects),
        Int32("Align:", &TMob::Align),
        Number("Level:", &TMob::Level, 0, 65535),
        Number("Hitroll:", &TMob::Hitroll, -128, 127),
        Number("AC:", &TMob::AC, -128, 127),
        Dice("Hits:", &TMob::Hits),
        Dice("Damage:", &TMob::Damage),
        Dice("Money:", &TMob::Money),
        Int32("Exp:", &TMob::Exp),
        Number("PosLoad:", &TMob::PosLoad, 0, 255),
        Number("PosDefault:", &TMob::PosDefault, 0, 255),
        Number("Pol:", &TMob::Pol, 0, 255),
        Number("BareHandAttack:", &TMob::BareHandAttack, -128, 127),
        {"Destination:",
         [](TMob& r, const std::string&, const std::string& line) {
             const std::string room = NumberWord(line, 2, true);
             r.Destination += (r.Destination.empty() ? "" : "/") + room;
         }},
        Number("Str:", &TMob::Str, 0, 255),
        Number("Int:", &TMob::Int, 0, 255),
        Number("Wis:", &TMob::Wis, 0, 255),
        Number("Dex:", &TMob::Dex, 0, 255),
        Number("Con:", &TMob::Con, 0, 255),
        Number("Cha:", &TMob::Cha, 0, 255),
        Int32("LikeWork:", &TMob::LikeWork),
        Int32("MaxFactor:", &TMob::MaxFactor),
        Number("ExtraAttack:", &TMob::ExtraAttack, 0, 65535),
        Number("Model:", &TMob::Model, 0, 255),
        Int32("Size:", &TMob::Size),
        Int32("Height:", &TMob::Height),
        Int32("Weight:", &TMob::Weight),
        Text("Special:", &TMob::Special),
        Int32("MaxInWorld:", &TMob::MaxInWorld),
        {"Spells:",
         [](TMob& r, const std::string&, const std::string& line) {
             const auto spell =
                 static_cast<uint16_t>(ToInteger(NumberWord(line, 2, true), 0, 65535));
             const int index = r.IndexOfSpell(spell);
             if (index < 0)
                 r.Spells.push_back(PackPair(spell, 1));
             else if (PairValue(r.Spells[static_cast<size_t>(index)]) < 32767)
                 r.Spells[static_cast<size_t>(index)] = PackPair(
                     spell,
                     static_cast<int16_t>(PairValue(r.Spells[static_cast<size_t>(index)]) + 1));
         }},
        PairList("Skills:", &TMob::Skills, true),
        NumberList("Helper:", &TMob::Helper),
        NumberList("Triggers:", &TMob::Triggers)};
    return LoadTemplateFile(set, fileName, "шаблоны мобов", keys);
}

bool LoadTemplates(TShopTemplet& set, const std::string& fileName,
                   const TKindNameLookup& kindName) {
    auto goods = [&kindName](const char* key, std::vector<TGoodsType> TShop::*field) {
        return TKey<TShop>{
            key, [field, kindName](TShop& r, const std::string&, const std::string& line) {
                std::string word = NumberWord(line, 2, true);
                if (EndsWith(word, '~')) {
                    word.pop_back();
                    (r.*field).push_back({word, -1});
                    return;
                }
                const int32_t code = ToInt32(word);
                const std::string name = kindName ? kindName(code) : std::string();
                (r.*field).push_back({name.empty() ? word : name, code});
            }};
    };
    auto factor = [](const char* key, double TShop::*field) {
        return TKey<TShop>{key, [field](TShop& r, const std::string&, const std::string& line) {
                               r.*field = Fraction(NumberWord(line, 2, false));
                           }};
    };
    const std::vector<TKey<TShop>> keys = {NumberList("Goods:", &TShop::Goods),
                                           factor("CoeffSell:", &TShop::CoeffSell),
                                           factor("CoeffBuy:", &TShop::CoeffBuy),
                                           factor("CoeffChange:", &TShop::CoeffChange),
                                           goods("GoodsBuy:", &TShop::GoodsBuy),
                                           goods("GoodsChange:", &TShop::GoodsChange),
                                           Text("Msg1:", &TShop::Msg1),
                                           Text("Msg2:", &TShop::Msg2),
                                           Text("Msg3:", &TShop::Msg3),
                                           Text("Msg4:", &TShop::Msg4),
                                           Text("Msg5:", &TShop::Msg5),
                                           Text("Msg6:", &TShop::Msg6),
                                           Text("Msg7:", &TShop::Msg7),
                                           Int32("Emotion:", &TShop::Emotion),
                                           Text("BitVector:", &TShop::BitVector),
                                           Text("NotSellVector:", &TShop::NotSellVector),
                                           Int32("Seller:", &TShop::Seller),
                                           NumberList("Rooms:", &TShop::Rooms),
                                           Number("Open1:", &TShop::Open1, 0, 255),
                                           Number("Close1:", &TShop::Close1, 0, 255),
                                           Number("Open2:", &TShop::Open2, 0, 255),
                                           Number("Close2:", &TShop::Close2, 0, 255)};
    return LoadTemplateFile(set, fileName, "шаблоны магазинов", keys);
}

bool LoadTemplates(TTrigTemplet& set, const std::string& fileName) {
    static const std::vector<TKey<TTrigger>> keys = {
        Text("Name:", &TTrigger::Name), Number("Model:", &TTrigger::Model, 0, 255),
        Text("Flags:", &TTrigger::Flags), Int32("NumParam:", &TTrigger::NumParam),
        Text("StrParam:", &TTrigger::StrParam),
        // One script line each, its indent kept: "Script:   say hi~".
        TextLine("Script:", &TTrigger::Text)};
    return LoadTemplateFile(set, fileName, "шаблоны триггеров", keys);
}

bool LoadTemplates(TRoomTemplet& set, const std::string& fileName) {
    auto exit = [](const char* key, int direction) {
        return TKey<TRoom>{key, [direction](TRoom& r, const std::string&, const std::string& line) {
                               r.Exits[static_cast<size_t>(direction)].ToRoom =
                                   ToInt32(NumberWord(line, 2, false));
                           }};
    };
    static const std::vector<TKey<TRoom>> keys = {
        Text("Name:", &TRoom::Name),
        TextLine("Desc:", &TRoom::Desc),
        Text("Flags:", &TRoom::Flags),
        Number("Sector:", &TRoom::Sector, 0, 255),
        exit("ExitN:", DirNorth),
        exit("ExitE:", DirEast),
        exit("ExitS:", DirSouth),
        exit("ExitW:", DirWest),
        exit("ExitU:", DirUp),
        exit("ExitD:", DirDown),
        NumberList("Triggers:", &TRoom::Triggers),
        {"Mobs:",
         [](TRoom& r, const std::string&, const std::string& line) {
             TRoomMob mob;
             mob.MobVNum = ToInt32(NumberWord(line, 2, false));
             mob.MaxInRoom = ToInt16(NumberWord(line, 3, false));
             r.Mobs.push_back(mob);
         }},
        {"Objects:",
         [](TRoom& r, const std::string&, const std::string& line) {
             TRoomObj obj;
             obj.ObjVNum = ToInt32(NumberWord(line, 2, false));
             r.Objects.push_back(obj);
         }},
        NumberList("DelObjects:", &TRoom::DelObjects)};
    return LoadTemplateFile(set, fileName, "шаблоны комнат", keys);
}
