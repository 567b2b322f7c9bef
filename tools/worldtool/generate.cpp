#include "generate.h"

#include "maplayout.h"
#include "recordkinds.h"
#include "serverrules.h"
#include "world.h"
#include "zonesave.h"
#include "zone.h"

#include <algorithm>
#include <array>
#include <filesystem>
#include <system_error>
#include <vector>

namespace fs = std::filesystem;

namespace {

// splitmix64: small, fast and the same on every platform (the standard
// distributions are not).
class TRandom {
public:
    explicit TRandom(uint64_t seed) : state_(seed) {}
    uint64_t Next() {
        uint64_t z = (state_ += 0x9E3779B97F4A7C15ull);
        z = (z ^ (z >> 30)) * 0xBF58476D1CE4E5B9ull;
        z = (z ^ (z >> 27)) * 0x94D049BB133111EBull;
        return z ^ (z >> 31);
    }
    // A number from low to high, both included.
    int Range(int low, int high) {
        return low + static_cast<int>(Next() % static_cast<uint64_t>(high - low + 1));
    }
    bool Chance(int percent) { return Range(1, 100) <= percent; }
    template <class T> const T& Pick(const std::vector<T>& items) {
        return items[static_cast<size_t>(Range(0, static_cast<int>(items.size()) - 1))];
    }

private:
    uint64_t state_;
};

// The Windows-1251 form of UTF-8 word lists, converted once.
std::vector<std::string> Cp1251(std::initializer_list<const char*> utf8) {
    std::vector<std::string> out;
    for (const char* text : utf8)
        out.push_back(Msg(text));
    return out;
}

// A noun in the six cases: nominative, genitive, dative, accusative,
// instrumental, prepositional; then the grammatical gender code.
struct TNoun {
    std::array<std::string, 6> Cases;
    uint8_t Pol = 1;
};

std::vector<TNoun> Nouns(std::initializer_list<const char*> utf8) {
    std::vector<TNoun> out;
    for (const char* text : utf8) {
        std::string line = Msg(text);
        TNoun noun;
        for (auto& form : noun.Cases) {
            const size_t bar = line.find('|');
            form = line.substr(0, bar);
            line.erase(0, bar == std::string::npos ? line.size() : bar + 1);
        }
        noun.Pol = static_cast<uint8_t>(line.empty() ? 1 : line[0] - '0');
        out.push_back(std::move(noun));
    }
    return out;
}

struct TVocabulary {
    std::vector<std::string> Words = Cp1251(
        {"старый",     "лес",   "тропа",    "шумит",  "ветер",  "над",    "рекой",       "камни",
         "покрыты",    "мхом",  "вдали",    "слышен", "вой",    "волков", "ёлки",        "стоят",
         "тесно",      "и",     "тихо",     "дорога", "уходит", "на",     "север",       "к",
         "мосту",      "здесь", "пахнет",   "дымом",  "и",      "смолой", "узкий",       "проход",
         "ведёт",      "вниз",  "под",      "землю",  "сквозь", "листву", "пробивается", "свет",
         "Ёмкий",      "туман", "стелется", "по",     "оврагу", "где-то", "капает",      "вода",
         "деревянные", "стены", "скрипят",  "от",     "холода", "жёлтая", "трава",       "шелестит",
         "у",          "ног",   "путника",  "яркие",  "звёзды", "горят",  "в",           "небе"});
    std::vector<std::string> RoomNames =
        Cp1251({"Тёмная поляна", "Старая дорога", "Узкий переулок", "Берег реки", "Лесная тропа",
                "Заброшенная шахта", "Площадь у колодца", "Ёлочная роща", "Каменный мост",
                "Глухая чаща", "Двор замка", "Подвал таверны", "Сырая пещера", "Край болота"});
    std::vector<std::string> ZoneNames =
        Cp1251({"Тёмный лес", "Город Ярмарок", "Ёжиные холмы", "Замок барона", "Пещеры гоблинов",
                "Северные болота", "Село Заречье", "Руины башни"});
    std::vector<std::string> Modifiers =
        Cp1251({"из дуба", "старого мастера", "с рунами", "из чёрной стали", "из Ёмска",
                "лесного народа", "с юга"});
    // One object noun per kind 1 to 25, in the order of the kind codes.
    std::vector<TNoun> ObjNouns =
        Nouns({"лампа|лампы|лампе|лампу|лампой|лампе|2",
               "свиток|свитка|свитку|свиток|свитком|свитке|1",
               "жезл|жезла|жезлу|жезл|жезлом|жезле|1",
               "посох|посоха|посоху|посох|посохом|посохе|1",
               "меч|меча|мечу|меч|мечом|мече|1",
               "лук|лука|луку|лук|луком|луке|1",
               "стрела|стрелы|стреле|стрелу|стрелой|стреле|2",
               "самоцвет|самоцвета|самоцвету|самоцвет|самоцветом|самоцвете|1",
               "шлем|шлема|шлему|шлем|шлемом|шлеме|1",
               "зелье|зелья|зелью|зелье|зельем|зелье|0",
               "плащ|плаща|плащу|плащ|плащом|плаще|1",
               "кольцо|кольца|кольцу|кольцо|кольцом|кольце|0",
               "черепок|черепка|черепку|черепок|черепком|черепке|1",
               "капкан|капкана|капкану|капкан|капканом|капкане|1",
               "сундук|сундука|сундуку|сундук|сундуком|сундуке|1",
               "записка|записки|записке|записку|запиской|записке|2",
               "фляга|фляги|фляге|флягу|флягой|фляге|2",
               "ключ|ключа|ключу|ключ|ключом|ключе|1",
               "хлеб|хлеба|хлебу|хлеб|хлебом|хлебе|1",
               "монета|монеты|монете|монету|монетой|монете|2",
               "перо|пера|перу|перо|пером|пере|0",
               "лодка|лодки|лодке|лодку|лодкой|лодке|2",
               "родник|родника|роднику|родник|родником|роднике|1",
               "книга|книги|книге|книгу|книгой|книге|2",
               "жёлудь|жёлудя|жёлудю|жёлудь|жёлудем|жёлуде|1"});
    std::vector<TNoun> MobNouns = Nouns(
        {"волк|волка|волку|волка|волком|волке|1",
         "стражник|стражника|стражнику|стражника|стражником|стражнике|1",
         "ведьма|ведьмы|ведьме|ведьму|ведьмой|ведьме|2",
         "торговец|торговца|торговцу|торговца|торговцем|торговце|1", "ёж|ежа|ежу|ежа|ежом|еже|1",
         "медведь|медведя|медведю|медведя|медведем|медведе|1",
         "крестьянка|крестьянки|крестьянке|крестьянку|крестьянкой|крестьянке|2",
         "разбойник|разбойника|разбойнику|разбойника|разбойником|разбойнике|1",
         "кузнец|кузнеца|кузнецу|кузнеца|кузнецом|кузнеце|1", "лиса|лисы|лисе|лису|лисой|лисе|2",
         "отшельник|отшельника|отшельнику|отшельника|отшельником|отшельнике|1",
         "змея|змеи|змее|змею|змеёй|змее|2"});
    std::vector<std::string> ShopMessages =
        Cp1251({"%s Извини, у меня нет такого товара.",
                "%s У тебя нет того, что ты хочешь продать.", "%s Такие вещи я не покупаю.",
                "%s У меня нет столько денег!", "%s У тебя не хватит денег!",
                "%s Это обойдётся тебе в %d кун.", "%s Держи, вот тебе %d кун."});
    // The lines of a mob's, an object's and a room's script: each kind has
    // commands of its own.
    std::array<std::vector<std::string>, 3> ScriptLines = {
        Cp1251({"say Здравствуй, %actor.name%!", "emote оглядывается по сторонам.",
                "say Ёлки-палки, опять гости!", "mecho Где-то вдали звонит колокол.",
                "say Проходи, не задерживайся.", "emote тихо напевает песню."}),
        Cp1251({"oecho Вещица тихо звякнула.", "osend %actor% Вы ощущаете тепло в руках.",
                "oecho По вещице пробежала искра.", "osend %actor% Что-то шепчет вам на ухо.",
                "oechoaround %actor% %actor.name% вертит что-то в руках.",
                "oecho Вещица на миг потускнела."}),
        Cp1251({"wecho Где-то вдали звонит колокол.", "wsend %actor% Под ногами скрипят доски.",
                "wecho Ветер шевелит листву.", "wsend %actor% Вам становится зябко.",
                "wechoaround %actor% %actor.name% оглядывается по сторонам.",
                "wecho С потолка капает вода."})};
    std::string Door = Msg("дверь");
    std::string DoorKeywords = Msg("дверь дубовая");
    std::string DoorDesc = Msg("Тяжёлая дубовая дверь закрывает проход.");
    std::string Stands = Msg("стоит здесь.");
    std::string Lies = Msg("лежит на земле.");
    std::string Zone = Msg("Зона");
};

const TVocabulary& Vocabulary() {
    static const TVocabulary vocabulary;
    return vocabulary;
}

// Windows-1251 capital of a letter (Latin, Russian, Ё).
std::string Capitalized(std::string text) {
    if (text.empty())
        return text;
    auto& c = reinterpret_cast<unsigned char&>(text[0]);
    if (c >= 'a' && c <= 'z')
        c = static_cast<unsigned char>(c - 32);
    else if (c >= 0xE0)
        c = static_cast<unsigned char>(c - 32);
    else if (c == 0xB8)
        c = 0xA8;
    return text;
}

std::string Sentence(TRandom& random, int minWords, int maxWords) {
    const auto& words = Vocabulary().Words;
    std::string text;
    const int count = random.Range(minWords, maxWords);
    for (int i = 0; i < count; ++i)
        text += (i ? " " : "") + random.Pick(words);
    return Capitalized(text) + ".";
}

// Lines of about 60 to 75 characters, as builders wrap their texts.
TStringList Paragraph(TRandom& random, int lines) {
    TStringList out;
    for (int i = 0; i < lines; ++i)
        out.push_back(Sentence(random, 7, 11));
    return out;
}

// A flag string of `count` distinct codes from letters a.. and planes 0..maxPlane.
std::string Flags(TRandom& random, int count, int maxPlane = 1) {
    std::string out;
    for (int i = 0; i < count; ++i) {
        const char letter = static_cast<char>('a' + random.Range(0, 25));
        const char plane = static_cast<char>('0' + random.Range(0, maxPlane));
        const std::string code{letter, plane};
        if (out.find(code) == std::string::npos)
            out += code;
    }
    return out;
}

TExtraDescList ExtraDescs(TRandom& random, int count, const std::string& keyword) {
    TExtraDescList out;
    for (int i = 0; i < count; ++i)
        out.push_back({keyword + " " + random.Pick(Vocabulary().Words),
                       Paragraph(random, random.Range(1, 3))});
    return out;
}

// The numbers of the records of one kind that a zone holds: `count` offsets
// from 0 up, with a few gaps as real zones have.
std::vector<int32_t> ZoneNumbers(TRandom& random, int32_t zone, int count) {
    std::vector<int32_t> out;
    for (int offset = 0; offset < 100 && static_cast<int>(out.size()) < count; ++offset)
        if (!random.Chance(8) || 100 - offset <= count - static_cast<int>(out.size()))
            out.push_back(zone * 100 + offset);
    return out;
}

class TZoneGenerator {
    // Every room a zone may hold: the server keeps the last number for its own.
    static constexpr int kRooms = kServerRoomOffset;

public:
    TZoneGenerator(TWorld& world, int32_t zone, bool hasPrevious, bool hasNext, uint64_t seed)
        : world_(world), zone_(zone), hasPrevious_(hasPrevious), hasNext_(hasNext),
          random_(seed ^ (static_cast<uint64_t>(zone) * 0xD1B54A32D192ED03ull)) {}

    void Build(TZone& zone) {
        Triggers();
        Objects();
        Mobs();
        Rooms();
        Contents(zone);
        Shops();
        zone.ZoneNumber = zone_;
        zone.ZoneName = random_.Pick(Vocabulary().ZoneNames) + " " + std::to_string(zone_);
        zone.RepopTime = random_.Range(10, 60);
        zone.RepopType = random_.Range(0, 2);
    }

private:
    void Triggers() {
        const auto numbers = ZoneNumbers(random_, zone_, random_.Range(12, 24));
        for (size_t i = 0; i < numbers.size(); ++i) {
            TTrigger& trigger = world_.Triggers.AddNew(numbers[i]);
            trigger.Model = static_cast<uint8_t>(i % 3); // mob, object, room in turn
            triggersByModel_[i % 3].push_back(trigger.VNum);
            trigger.Name = Sentence(random_, 2, 4);
            trigger.Flags = Flags(random_, random_.Range(1, 2), 0);
            trigger.NumParam = random_.Chance(50) ? 100 : random_.Range(0, 10);
            trigger.StrParam = random_.Chance(50) ? random_.Pick(Vocabulary().Words) : "";
            const int lines = random_.Range(3, 9);
            TStringList& text = trigger.Text.Edit();
            text.push_back("wait " + std::to_string(random_.Range(1, 3)));
            for (int k = 0; k < lines; ++k)
                text.push_back(random_.Pick(Vocabulary().ScriptLines[i % 3]));
            if (random_.Chance(50)) {
                text.push_back("if %actor.level% > " + std::to_string(random_.Range(5, 25)));
                text.push_back("  " + random_.Pick(Vocabulary().ScriptLines[i % 3]));
                text.push_back("end");
            }
        }
    }

    std::vector<int32_t> SomeTriggers(int model, int max) {
        std::vector<int32_t> out;
        const auto& pool = triggersByModel_[model];
        const int count = pool.empty() ? 0 : random_.Range(0, max);
        for (int i = 0; i < count; ++i)
            out.push_back(random_.Pick(pool));
        return out;
    }

    void Objects() {
        const auto numbers = ZoneNumbers(random_, zone_, random_.Range(40, 70));
        const auto& v = Vocabulary();
        for (size_t i = 0; i < numbers.size(); ++i) {
            TObj& obj = world_.Objs.AddNew(numbers[i]);
            // The first 25 cover every kind; the rest are drawn.
            obj.Kind =
                static_cast<uint8_t>(i < 25 ? i + 1 : static_cast<size_t>(random_.Range(1, 25)));
            const TNoun& noun = v.ObjNouns[obj.Kind - 1u];
            const std::string modifier = " " + random_.Pick(v.Modifiers);
            TCompactString* const cases[] = {&obj.Imen, &obj.Rod,  &obj.Dat,
                                             &obj.Vin,  &obj.Tvor, &obj.Pred};
            for (size_t c = 0; c < 6; ++c)
                *cases[c] = noun.Cases[c] + modifier;
            obj.Alias = noun.Cases[0] + " " + random_.Pick(v.Words);
            obj.Pol = noun.Pol;
            obj.Desc = Capitalized(noun.Cases[0]) + modifier + " " + v.Lies;
            obj.Action = random_.Chance(30) ? Sentence(random_, 4, 8) : "";
            if (obj.Kind == 25)
                obj.MagicVector = Flags(random_, random_.Range(1, 3), 0);
            else
                obj.TrenSkill =
                    static_cast<int16_t>(random_.Chance(20) ? random_.Range(1, 120) : 0);
            obj.MaxDurab = random_.Range(50, 1000);
            obj.CurrDurab = random_.Range(1, obj.MaxDurab);
            obj.Material = static_cast<uint16_t>(random_.Range(0, 20));
            obj.Timer = random_.Chance(20) ? random_.Range(60, 10080) : 0;
            obj.Spell = static_cast<int16_t>(random_.Chance(25) ? random_.Range(1, 200) : 0);
            obj.SpellLevel = static_cast<uint8_t>(obj.Spell ? random_.Range(1, 30) : 0);
            obj.Effects = random_.Chance(30) ? Flags(random_, random_.Range(1, 3)) : "";
            obj.Discomfort = random_.Chance(20) ? Flags(random_, 1, 0) : "";
            obj.Bans = random_.Chance(20) ? Flags(random_, random_.Range(1, 2), 0) : "";
            obj.Flags = random_.Chance(60) ? Flags(random_, random_.Range(1, 4), 2) : "";
            obj.WearFlags = "a0" + Flags(random_, random_.Range(0, 2), 0);
            const int first = random_.Range(-1, 30);
            obj.Param1 = std::to_string(first);
            // The server refuses a vessel holding more than it takes.
            obj.Param2 = obj.Kind == 17 || obj.Kind == 23 ? random_.Range(0, std::max(first, 0))
                                                          : random_.Range(0, 300);
            obj.Param3 = random_.Range(0, 20);
            obj.Param4 = obj.Kind == 25 ? 0 : random_.Range(0, 10);
            // Scrolls and potions cast three spells, wands and staves one.
            if (obj.Kind == 2 || obj.Kind == 10) {
                obj.Param2 = Spell();
                obj.Param3 = Spell();
                obj.Param4 = Spell();
            } else if (obj.Kind == 3 || obj.Kind == 4) {
                obj.Param4 = Spell();
            }
            obj.Weight = random_.Range(1, 50);
            obj.Price = random_.Range(1, 5000);
            obj.RentInv = random_.Range(0, 100);
            obj.RentWear = random_.Range(0, 200);
            obj.ExtraDescs = ExtraDescs(random_, random_.Range(0, 2), noun.Cases[0]);
            for (int k = random_.Range(0, 3); k > 0; --k)
                obj.AddParam.push_back(PackAddParam(static_cast<uint16_t>(random_.Range(1, 40)),
                                                    static_cast<int16_t>(random_.Range(-5, 5))));
            obj.Triggers = SomeTriggers(1, 2);
            obj.MaxInWorld = random_.Range(0, 20);
            objects_.push_back(obj.VNum);
            if (obj.Kind == 15)
                containers_.push_back(obj.VNum);
            if (obj.Kind == 18)
                keys_.push_back(obj.VNum);
        }
    }

    void Mobs() {
        const auto numbers = ZoneNumbers(random_, zone_, random_.Range(30, 45));
        const auto& v = Vocabulary();
        for (const int32_t number : numbers) {
            TMob& mob = world_.Mobs.AddNew(number);
            const TNoun& noun = random_.Pick(v.MobNouns);
            const std::string modifier = " " + random_.Pick(v.Modifiers);
            TCompactString* const cases[] = {&mob.Imen, &mob.Rod,  &mob.Dat,
                                             &mob.Vin,  &mob.Tvor, &mob.Pred};
            for (size_t c = 0; c < 6; ++c)
                *cases[c] = noun.Cases[c] + modifier;
            mob.Alias = noun.Cases[0] + " " + random_.Pick(v.Words);
            mob.Pol = noun.Pol;
            mob.Desc = Capitalized(noun.Cases[0]) + modifier + " " + v.Stands;
            mob.Look = Paragraph(random_, random_.Range(2, 4));
            mob.Flags = "a0" + Flags(random_, random_.Range(0, 3));
            mob.Affects = random_.Chance(30) ? Flags(random_, random_.Range(1, 2)) : "";
            mob.Align = random_.Range(-1000, 1000);
            mob.Level = static_cast<uint16_t>(random_.Range(1, 35));
            mob.Hitroll = static_cast<int8_t>(random_.Range(-5, 20));
            mob.AC = static_cast<int8_t>(random_.Range(-10, 10));
            mob.Hits = {static_cast<uint8_t>(random_.Range(1, 20)),
                        static_cast<uint8_t>(random_.Range(4, 12)),
                        static_cast<int16_t>(random_.Range(0, 500))};
            mob.Damage = {static_cast<uint8_t>(random_.Range(1, 4)),
                          static_cast<uint8_t>(random_.Range(2, 8)),
                          static_cast<int16_t>(random_.Range(-2, 10))};
            mob.Money = {1, static_cast<uint8_t>(random_.Range(1, 200)), 0};
            mob.Exp = random_.Range(10, 100000);
            mob.PosLoad = 8;
            mob.PosDefault = static_cast<uint8_t>(random_.Chance(80) ? 8 : 5);
            mob.BareHandAttack = static_cast<int8_t>(random_.Range(0, 14));
            if (random_.Chance(20))
                for (int k = random_.Range(2, 4); k > 0; --k) {
                    if (!mob.Destination.empty())
                        mob.Destination += "/";
                    mob.Destination += std::to_string(zone_ * 100 + random_.Range(0, kRooms - 1));
                }
            for (int32_t* stat : {&mob.Str, &mob.Int, &mob.Wis, &mob.Dex, &mob.Con, &mob.Cha})
                *stat = static_cast<uint8_t>(random_.Range(8, 25));
            mob.LikeWork = random_.Range(0, 100);
            mob.MaxFactor = random_.Range(0, 50);
            mob.ExtraAttack = static_cast<uint16_t>(random_.Range(0, 3));
            mob.Model = static_cast<uint8_t>(random_.Range(0, 13));
            mob.Size = random_.Range(20, 80);
            mob.Height = random_.Range(50, 250);
            mob.Weight = random_.Range(10, 300);
            mob.Special = random_.Chance(20) ? Flags(random_, 1, 0) : "";
            // Distinct spells: the file writes one line per cast and counts them back.
            for (int k = random_.Chance(30) ? random_.Range(1, 3) : 0, spell = random_.Range(1, 50);
                 k > 0; --k, spell += random_.Range(1, 20))
                mob.Spells.push_back(PackPair(static_cast<uint16_t>(spell),
                                              static_cast<int16_t>(random_.Range(1, 3))));
            for (int k = random_.Range(0, 3); k > 0; --k)
                mob.Skills.push_back(PackPair(static_cast<uint16_t>(random_.Range(1, 150)),
                                              static_cast<int16_t>(random_.Range(10, 100))));
            if (random_.Chance(15))
                mob.Helper.push_back(zone_ * 100 + random_.Range(0, 99));
            mob.Triggers = SomeTriggers(0, 2);
            mob.MaxInWorld = random_.Range(1, 10);
            mobs_.push_back(mob.VNum);
        }
    }

    // Links two rooms both ways; some links get a door, a few a locked one.
    void Link(TRoom& from, int direction, TRoom& to) {
        TExit& there = from.Exits[static_cast<size_t>(direction)];
        TExit& back = to.Exits[static_cast<size_t>(ReverseDir(direction))];
        there.ToRoom = to.VNum;
        back.ToRoom = from.VNum;
        if (random_.Chance(12)) {
            const bool locked = !keys_.empty() && random_.Chance(40);
            for (TExit* exit : {&there, &back}) {
                exit->DoorFlags = static_cast<uint8_t>(locked ? 3 : 1);
                exit->Key = locked ? random_.Pick(keys_) : -1;
                exit->SetExitKeywords(Vocabulary().DoorKeywords);
                exit->SetExitDesc(Vocabulary().DoorDesc);
                exit->DoorState = static_cast<uint8_t>(locked ? 2 : random_.Range(0, 1));
            }
        } else if (random_.Chance(20)) {
            there.SetExitDesc(Sentence(random_, 4, 7));
        }
    }

    void Rooms() {
        const auto& v = Vocabulary();
        for (int i = 0; i < kRooms; ++i) {
            TRoom& room = world_.Rooms.AddNew(zone_ * 100 + i);
            room.Name = random_.Pick(v.RoomNames);
            TDescSections sections;
            sections.General = Paragraph(random_, random_.Range(3, 5));
            if (random_.Chance(15)) {
                sections.Sections[1] = Paragraph(random_, 2);
                sections.Sections[2] = Paragraph(random_, random_.Range(1, 2));
                sections.Replacing[2] = true;
            }
            room.Desc = JoinDescription(sections);
            room.Flags = random_.Chance(40) ? Flags(random_, random_.Range(1, 3)) : "";
            room.Sector = static_cast<uint8_t>(random_.Range(0, 10));
            // Rooms 0..89 fill a 10 x 9 grid on level 1; 90..98 lie above the first row.
            room.MapX = static_cast<uint8_t>(40 + (i < 90 ? i % 10 : i - 90));
            room.MapY = static_cast<uint8_t>(40 + (i < 90 ? i / 10 : 0));
            room.MapLevel = i < 90 ? 1 : 2;
            if (random_.Chance(25))
                room.ExtraDescs = ExtraDescs(random_, random_.Range(1, 2), random_.Pick(v.Words));
            room.Triggers = SomeTriggers(2, 1);
        }
        const auto room = [this](int32_t vnum) -> TRoom& { return *world_.Rooms.Find(vnum); };
        const int32_t base = zone_ * 100;
        for (int i = 0; i < kRooms; ++i) {
            const bool upper = i >= 90;
            if (i + 1 < kRooms && (upper ? i - 90 : i % 10) < 9 && random_.Chance(85))
                Link(room(base + i), DirEast, room(base + i + 1));
            if (!upper && i + 10 < 90 && random_.Chance(75))
                Link(room(base + i + 10), DirNorth, room(base + i));
            if (upper)
                Link(room(base + i - 90), DirUp, room(base + i));
        }
        // The neighbouring zones meet at the corners of the grid.
        if (hasNext_)
            room(base + 9).Exits[DirEast].ToRoom = base + 100;
        if (hasPrevious_)
            room(base).Exits[DirWest].ToRoom = base - 100 + 9;
    }

    // A spell the server knows (those the shipped list of spells names), or
    // none.
    int32_t Spell() { return random_.Chance(20) ? -1 : random_.Range(1, 51); }

    TLinkObj Item(int8_t wearPos) {
        TLinkObj item;
        item.ObjVNum = random_.Pick(objects_);
        item.IfFlag = random_.Chance(30);
        item.WearPos = wearPos;
        item.Probability = static_cast<int8_t>(random_.Chance(60) ? 100 : random_.Range(5, 90));
        return item;
    }

    void Contents(TZone& zone) {
        const int32_t base = zone_ * 100;
        for (int i = 0; i < kRooms; ++i) {
            TRoom& room = *world_.Rooms.Find(base + i);
            if (random_.Chance(25)) {
                for (int k = random_.Range(1, 2); k > 0; --k) {
                    TRoomObj placed;
                    const bool container = !containers_.empty() && random_.Chance(40);
                    placed.ObjVNum = container ? random_.Pick(containers_) : random_.Pick(objects_);
                    placed.IfFlag = random_.Chance(20);
                    placed.Probability =
                        static_cast<int8_t>(random_.Chance(70) ? 100 : random_.Range(10, 90));
                    if (container)
                        for (int c = random_.Range(1, 3); c > 0; --c)
                            placed.Contents.push_back(Item(0));
                    room.Objects.push_back(std::move(placed));
                }
            }
            if (random_.Chance(35)) {
                // Distinct mobs: a follower is found by its number in the room.
                const int count = random_.Range(1, 3);
                for (int k = 0; k < count; ++k) {
                    const int32_t vnum = random_.Pick(mobs_);
                    if (room.Mobs.IndexOfMob(vnum) >= 0)
                        continue;
                    TRoomMob placed;
                    placed.MobVNum = vnum;
                    placed.IfFlag = random_.Chance(10);
                    placed.MaxInRoom = static_cast<int16_t>(random_.Range(1, 4));
                    for (int e = random_.Range(0, 2); e > 0; --e)
                        placed.Contents.push_back(Item(static_cast<int8_t>(random_.Range(0, 17))));
                    for (int g = random_.Range(0, 2); g > 0; --g)
                        placed.Contents.push_back(Item(-1));
                    room.Mobs.push_back(std::move(placed));
                }
                if (room.Mobs.size() >= 2 && random_.Chance(40))
                    room.Mobs[1].Leader = room.Mobs[0].MobVNum;
            }
            if (random_.Chance(5))
                room.DelObjects.push_back(PackIfFlag(random_.Chance(50), random_.Pick(objects_)));
        }
        for (int k = random_.Range(1, 2); k > 0; --k) {
            TRoomObj created;
            created.ObjVNum = random_.Pick(objects_);
            created.IfFlag = random_.Chance(30);
            created.Probability = static_cast<int8_t>(random_.Range(10, 100));
            zone.CreatedObjects.push_back(created);
        }
        for (int k = random_.Range(1, 2); k > 0; --k)
            zone.DeletedMobs.push_back(PackIfFlag(random_.Chance(50), random_.Pick(mobs_)));
    }

    void Shops() {
        const auto& v = Vocabulary();
        const int count = random_.Range(1, 3);
        for (int i = 0; i < count; ++i) {
            TShop& shop = world_.Shops.AddNew(zone_ * 100 + i);
            for (int k = random_.Range(3, 8); k > 0; --k)
                shop.Goods.push_back(random_.Pick(objects_));
            shop.CoeffSell = random_.Range(100, 300) / 100.0;
            shop.CoeffBuy = random_.Range(10, 90) / 100.0;
            shop.CoeffChange = random_.Range(50, 150) / 100.0;
            for (int k = random_.Range(1, 4); k > 0; --k) {
                const int kind = random_.Range(1, 25);
                shop.GoodsBuy.push_back({std::to_string(kind), kind});
            }
            shop.GoodsBuy.push_back({random_.Pick(v.Words), -1});
            for (int k = random_.Range(0, 2); k > 0; --k) {
                const int kind = random_.Range(1, 25);
                shop.GoodsChange.push_back({std::to_string(kind), kind});
            }
            std::string* const messages[] = {&shop.Msg1, &shop.Msg2, &shop.Msg3, &shop.Msg4,
                                             &shop.Msg5, &shop.Msg6, &shop.Msg7};
            for (size_t m = 0; m < 7; ++m)
                *messages[m] = v.ShopMessages[m];
            shop.Emotion = random_.Range(0, 2);
            shop.BitVector = random_.Chance(30) ? Flags(random_, 1, 0) : "";
            shop.Seller = random_.Pick(mobs_);
            shop.NotSellVector = random_.Chance(30) ? Flags(random_, 1, 0) : "";
            shop.Rooms.push_back(zone_ * 100 + random_.Range(0, kRooms - 1));
            shop.Open1 = static_cast<uint8_t>(random_.Range(0, 8));
            shop.Close1 = static_cast<uint8_t>(random_.Range(18, 28));
        }
    }

    TWorld& world_;
    int32_t zone_;
    bool hasPrevious_, hasNext_;
    TRandom random_;
    std::array<std::vector<int32_t>, 3> triggersByModel_;
    std::vector<int32_t> objects_, mobs_, containers_, keys_;
};

std::string FileOf(const std::string& dir, const char* folder, int32_t zone,
                   const char* extension) {
    return (fs::path(dir) / folder / (std::to_string(zone) + extension)).string();
}

} // namespace

TGenerateResult GenerateWorkspace(const std::string& dir, const TGenerateOptions& options) {
    TGenerateResult result;
    const int32_t last = options.FirstZone + options.Zones - 1;
    for (int32_t n = options.FirstZone; n <= last; ++n) {
        // One zone at a time: the world holds only the zone being written.
        TWorld world;
        TZone zone;
        TZoneGenerator(world, n, n > options.FirstZone, n < last, options.Seed).Build(zone);
        const TWorldKind& zones = WorldKind(TRecordType::Zone);
        zone.ZoneFileName = FileOf(dir, zones.Folder, n, zones.Extension);
        zone.DeriveFileNames();
        SaveZoneFiles(world, zone);
        for (const TWorldKind& kind : kWorldKinds) {
            std::error_code error;
            const auto size = fs::file_size(ZoneFileOf(zone, kind.Type), error);
            result.Files += error ? 0 : 1;
            result.Bytes += error ? 0 : size;
        }
        std::error_code error;
        const auto mapSize = fs::file_size(LayoutFileName(zone.RoomFileName), error);
        result.Files += error ? 0 : 1;
        result.Bytes += error ? 0 : mapSize;
    }
    return result;
}
