// The workspace checks, "where used" and the search, on two crafted
// workspaces of one zone: one holding one instance of every problem, one
// holding none.

#include "checks.h"
#include "references.h"
#include "search.h"
#include "testsupport.h"
#include "workspacescan.h"
#include "zonechecks.h"
#include "zonecontents.h"

#include <set>
#include <tuple>

namespace {

class Checks : public WorldTest {
protected:
    void Load(const std::string& name) {
        const std::string dir = std::string(VELMORA_TEST_DATA) + "/checks/" + name;
        LoadWorkspace(World, dir);
        ASSERT_TRUE(Reporter.Messages.empty()) << Reporter.Messages.front();
    }
    // Kind, severity, record kind and number of each problem, in order.
    using TKey = std::tuple<TProblemKind, TSeverity, TRecordType, int32_t>;
    static std::vector<TKey> Keys(const std::vector<TProblem>& problems) {
        std::vector<TKey> keys;
        for (const TProblem& problem : problems)
            keys.emplace_back(problem.Kind, problem.Severity, problem.Record, problem.VNum);
        return keys;
    }
    static std::vector<std::string> Messages(const std::vector<TProblem>& problems) {
        std::vector<std::string> out;
        for (const TProblem& problem : problems)
            out.push_back(Cp1251ToUtf8(problem.Message));
        return out;
    }
};

using K = TProblemKind;
using R = TRecordType;
constexpr TSeverity E = TSeverity::Error;
constexpr TSeverity Wn = TSeverity::Warning;
// Server room, too many rooms, overfull drink, unknown spell.
constexpr int kServerRuleKinds = 4;
// Blocks, commands, waits, references and variables of scripts.
constexpr int kScriptKinds = 5;

// The problems of some kinds only (the records a test makes for one rule
// break others too: a room without exits is dead).
template <class... Kinds>
std::vector<TProblem> OfKinds(const std::vector<TProblem>& problems, Kinds... kinds) {
    std::vector<TProblem> out;
    for (const TProblem& problem : problems)
        if (((problem.Kind == kinds) || ...))
            out.push_back(problem);
    return out;
}

TEST_F(Checks, BrokenWorkspaceShowsEveryKindOfProblemOnItsRecord) {
    Load("broken");
    const auto problems = CheckWorld(World.View());
    const std::vector<TKey> expected = {
        {K::UnknownResetRecord, E, R::Zone, 1},    // Q of mob 196
        {K::BadKey, E, R::Room, 100},              // the door's key is a sword
        {K::RoomLimitOverWorld, Wn, R::Room, 100}, // 2 in the room, 1 in the world
        {K::UnknownPlacedMob, E, R::Room, 100},    // M of mob 150
        {K::NotAContainer, E, R::Room, 100},       // P into the sword
        {K::ExitToMissingRoom, E, R::Room, 101},   // west to 197
        {K::ExitToRoomZero, Wn, R::Room, 101},     // the kept block to room 0
        {K::BadTrigger, E, R::Room, 101},          // an object trigger on a room
        {K::BadKey, E, R::Room, 102},              // the other side of the door
        {K::UnpairedExit, Wn, R::Room, 102},       // up to 103, which has no way down
        {K::UnknownResetRecord, E, R::Room, 102},  // O of object 198
        {K::DeadRoom, Wn, R::Room, 104},           // no exit, no way in
        {K::LimitBelowResets, Wn, R::Obj, 103},    // limit 1, loaded twice
        {K::BadTrigger, E, R::Obj, 104},           // trigger 199 does not exist
        {K::BadRoute, E, R::Mob, 102},             // through room 150
        {K::BadShop, E, R::Shop, 100},             // goods 197 do not exist
        {K::KeeperNotInShop, Wn, R::Shop, 100},    // the keeper stands in room 100
        {K::DuplicateNumber, E, R::Trigger, 191},  // twice in the trigger file
    };
    EXPECT_EQ(Keys(problems), expected);
    std::set<TProblemKind> kinds;
    for (const TProblem& problem : problems) {
        kinds.insert(problem.Kind);
        EXPECT_EQ(problem.Zone, 1);
    }
    // The server's own rules have tests of their own below, the scripts'
    // checks theirs; a record not read makes no clean load: the records' own
    // tests have it.
    kinds.insert(K::UnparsedRecord);
    EXPECT_EQ(kinds.size(),
              static_cast<size_t>(kProblemKindCount - kServerRuleKinds - kScriptKinds));
    const auto messages = Messages(problems);
    EXPECT_EQ(messages[1], "Ключ двери на восток: объект 101 не ключ (тип 5)");
    EXPECT_EQ(messages[5], "Выход на запад ведёт в несуществующую комнату 197");
    EXPECT_EQ(messages[7], "Триггер 191: триггер предмета, а нужен триггер комнаты");
    EXPECT_EQ(messages[12], "Предел в мире 1 меньше числа загрузок в сбросах (2)");
}

TEST_F(Checks, CleanWorkspaceHasNoProblemAndAnExitOutOfTheWorkspaceIsNone) {
    Load("clean");
    // Room 100 leads down into zone 5, which the workspace does not hold.
    ASSERT_EQ(World.Rooms.Find(100)->Exits[DirDown].ToRoom, 555);
    EXPECT_EQ(Messages(CheckWorld(World.View())), std::vector<std::string>{});
}

TEST_F(Checks, OneZoneIsCheckedAgainstTheWholeWorkspace) {
    Load("broken");
    EXPECT_EQ(CheckWorld(World.View(), 1), CheckWorld(World.View()));
    EXPECT_TRUE(CheckWorld(World.View(), 2).empty());
    // A room of zone 2 leading into the dead room gives it a way in, and
    // makes zone 2 a loaded zone whose missing rooms count.
    TRoom& other = World.Rooms.AddNew(200);
    other.Exits[DirNorth].ToRoom = 104;
    other.Exits[DirSouth].ToRoom = 250;
    const auto zoneOne = Keys(CheckWorld(World.View(), 1));
    EXPECT_EQ(std::count(zoneOne.begin(), zoneOne.end(), TKey{K::DeadRoom, Wn, R::Room, 104}), 0);
    EXPECT_EQ(Keys(CheckWorld(World.View(), 2)),
              (std::vector<TKey>{{K::UnpairedExit, Wn, R::Room, 200},
                                 {K::ExitToMissingRoom, E, R::Room, 200}}));
}

// The server keeps room NN99 of every zone for itself, and refuses a room
// file of more than 99 rooms: every record written into it counts, the
// earlier copies of a repeated number too.
TEST_F(Checks, TheServersOwnRoomAndAnOverfullRoomFileAreErrors) {
    World.Rooms.AddNew(398).Exits[DirNorth].ToRoom = 499; // the server's own room of zone 4
    World.Rooms.AddNew(399);
    World.Rooms.AddNew(400);
    auto problems =
        OfKinds(CheckWorld(World.View()), K::ServerRoom, K::TooManyRooms, K::ExitToMissingRoom);
    EXPECT_EQ(Keys(problems), (std::vector<TKey>{{K::ServerRoom, E, R::Room, 399}}));
    EXPECT_EQ(Messages(problems),
              (std::vector<std::string>{"Номер 399 сервер отводит своей комнате (номер зоны и "
                                        "99): перенесите эту комнату на другой номер"}));
    // The zone page's list says so in its own words.
    std::vector<std::string> zonePage;
    for (const std::string& line :
         ZoneCheckLines(World.Rooms.ZoneRecords(3), World.Rooms, World.Mobs))
        zonePage.push_back(Cp1251ToUtf8(line));
    EXPECT_EQ(zonePage, std::vector<std::string>{"Room #399: номер занят комнатой сервера"});

    std::vector<std::string> lines;
    for (int vnum = 400; vnum < 499; ++vnum)
        for (const char* line : {"#", "R~", "~", "4 0 1", "S"})
            lines.push_back(line == std::string("#") ? "#" + std::to_string(vnum) : line);
    World.Clear();
    WriteBytes(Dir / "4.wld", Crlf(lines));
    ASSERT_TRUE(World.Rooms.LoadFromFile(PathOf("4.wld")));
    EXPECT_TRUE(OfKinds(CheckWorld(World.View()), K::ServerRoom, K::TooManyRooms).empty());
    lines.insert(lines.end(), {"#400", "R~", "~", "4 0 1", "S"});
    World.Clear();
    WriteBytes(Dir / "4.wld", Crlf(lines));
    ASSERT_TRUE(World.Rooms.LoadFromFile(PathOf("4.wld")));
    for (const std::optional<int32_t> zone :
         {std::optional<int32_t>{}, std::optional<int32_t>{4}}) {
        problems = OfKinds(CheckWorld(World.View(), zone), K::ServerRoom, K::TooManyRooms);
        EXPECT_EQ(Keys(problems), (std::vector<TKey>{{K::TooManyRooms, E, R::Zone, 4}}));
        EXPECT_EQ(Messages(problems),
                  (std::vector<std::string>{"В файле комнат зоны 100 комнат: сервер не "
                                            "загружается с файлом, где их больше 99"}));
    }
}

TEST_F(Checks, AVesselFullerThanItsCapacityIsAnError) {
    const auto vessel = [this](int32_t vnum, uint8_t kind, const char* capacity, int32_t amount) {
        TObj& obj = World.Objs.AddNew(vnum);
        obj.Kind = kind;
        obj.Param1 = capacity;
        obj.Param2 = amount;
    };
    vessel(100, 17, "10", 10); // full to the brim
    vessel(101, 17, "10", 11);
    vessel(102, 23, "5", 6); // a fountain
    vessel(103, 15, "1", 5); // a container: its second value is no amount
    const auto problems = CheckWorld(World.View());
    EXPECT_EQ(Keys(problems), (std::vector<TKey>{{K::OverfullDrink, E, R::Obj, 101},
                                                 {K::OverfullDrink, E, R::Obj, 102}}));
    EXPECT_EQ(Messages(problems)[0], "В ёмкости 11 глотков, а вмещает она 10");
}

// Scrolls and potions cast their second to fourth values, wands and staves
// their fourth; -1 and 0 are no spell.
TEST_F(Checks, ASpellTheListDoesNotNameIsAWarning) {
    const auto magic = [this](int32_t vnum, uint8_t kind, int32_t second, int32_t third,
                              int32_t fourth) {
        TObj& obj = World.Objs.AddNew(vnum);
        obj.Kind = kind;
        obj.Param2 = second;
        obj.Param3 = third;
        obj.Param4 = fourth;
    };
    magic(100, 2, 1, 0, -1);   // a scroll of known spells
    magic(101, 10, 3, 77, 2);  // a potion with one unknown
    magic(102, 3, 50, 50, 9);  // a wand: 50 charges, an unknown spell
    magic(103, 4, 60, 60, 2);  // a staff
    magic(104, 5, 99, 99, 99); // a weapon casts nothing
    TNamedCodes named;
    named.Spells = std::unordered_set<int32_t>{-1, 1, 2, 3};
    const auto problems = CheckWorld(World.View(), {}, named);
    EXPECT_EQ(Keys(problems), (std::vector<TKey>{{K::UnknownSpell, Wn, R::Obj, 101},
                                                 {K::UnknownSpell, Wn, R::Obj, 102}}));
    EXPECT_EQ(Messages(problems),
              (std::vector<std::string>{"Заклинания 77 нет в списке заклинаний (Bases/Spells)",
                                        "Заклинания 9 нет в списке заклинаний (Bases/Spells)"}));
    // Without the list there is nothing to check against.
    EXPECT_TRUE(CheckWorld(World.View()).empty());
}

TEST_F(Checks, TriggersOfZoneCommandsAreCheckedByTheClassTheyName) {
    Load("clean");
    // T commands stay with the mob or object loaded before them.
    WriteBytes(Dir / "1.zon",
               Crlf({"#1", "Z~", "199 10 0", "M 0 100 1 100 1", "T 0 0 190", "T 0 1 190",
                     "O 0 102 0 101 100", "T 0 1 191", "T 0 2 199 101", "S", "$"}));
    ASSERT_TRUE(ReloadZoneFile(World, *World.Zones[0], PathOf("1.zon")));
    const auto problems = CheckWorld(World.View());
    EXPECT_EQ(Keys(problems), (std::vector<TKey>{{K::BadTrigger, E, R::Room, 100},
                                                 {K::BadTrigger, E, R::Room, 101}}));
    EXPECT_EQ(Messages(problems), (std::vector<std::string>{
                                      "Сброс: триггер 190: триггер моба, а нужен триггер предмета",
                                      "Сброс: триггер 199 не существует"}));
    std::vector<std::pair<int32_t, std::string>> uses;
    for (const TRecordUse& use : FindUses(World.View(), R::Trigger, 190))
        uses.emplace_back(use.VNum, Cp1251ToUtf8(use.What));
    EXPECT_EQ(uses, (std::vector<std::pair<int32_t, std::string>>{{100, "Сброс: триггер моба 100"},
                                                                  {100, "Сброс: триггер моба 100"},
                                                                  {100, "Прикреплённый триггер"}}));
}

// The editor shows the last record of a repeated number; the earlier ones
// are written back before it as they were read, whatever is edited, and leave
// only with their record.
TEST_F(Checks, RepeatedNumbersSurviveSavesAndLeaveWithTheirRecord) {
    Load("broken");
    const std::string read = std::string(VELMORA_TEST_DATA) + "/checks/broken/TRG/1.trg";
    const std::string saved = PathOf("1.trg");
    ASSERT_TRUE(World.Triggers.SaveToFile(saved, 1));
    EXPECT_EQ(ReadBytes(saved), ReadBytes(read));
    EXPECT_EQ(World.Triggers.Duplicates(), (std::map<int32_t, int>{{191, 1}}));

    World.Triggers.Find(191)->Name = W("Правленый");
    ASSERT_TRUE(World.Triggers.SaveToFile(saved, 1));
    ASSERT_TRUE(World.Triggers.LoadFromFile(saved));
    EXPECT_EQ(World.Triggers.Find(191)->Name, W("Правленый"));
    EXPECT_EQ(World.Triggers.Duplicates(), (std::map<int32_t, int>{{191, 1}}));

    World.Triggers.Delete(World.Triggers.IndexOfVNum(191));
    EXPECT_TRUE(World.Triggers.Duplicates().empty());
    ASSERT_TRUE(World.Triggers.SaveToFile(saved, 1));
    EXPECT_EQ(ReadBytes(saved).find("#191"), std::string::npos);
}

TEST_F(Checks, WhereUsedListsEveryReference) {
    Load("broken");
    const auto uses = [this](TRecordType kind, int32_t vnum) {
        std::vector<std::tuple<TRecordType, int32_t, std::string>> out;
        for (const TRecordUse& use : FindUses(World.View(), kind, vnum))
            out.emplace_back(use.Kind, use.VNum, Cp1251ToUtf8(use.What));
        return out;
    };
    using U = std::vector<std::tuple<TRecordType, int32_t, std::string>>;
    EXPECT_EQ(uses(R::Obj, 101), (U{{R::Room, 100, "Ключ двери на восток"},
                                    {R::Room, 100, "Сброс: объект в комнате"},
                                    {R::Room, 102, "Ключ двери на запад"}}));
    EXPECT_EQ(uses(R::Obj, 103), (U{{R::Room, 100, "Сброс: кладётся в объект 101"},
                                    {R::Room, 102, "Сброс: объект в комнате"}}));
    EXPECT_EQ(uses(R::Mob, 101),
              (U{{R::Room, 100, "Сброс: моб в комнате"}, {R::Shop, 100, "Продавец магазина"}}));
    EXPECT_EQ(uses(R::Room, 101),
              (U{{R::Room, 100, "Выход на север"}, {R::Mob, 102, "Маршрут моба"}}));
    EXPECT_EQ(uses(R::Room, 102),
              (U{{R::Room, 100, "Выход на восток"}, {R::Shop, 100, "Комната магазина"}}));
    EXPECT_EQ(uses(R::Trigger, 190), (U{{R::Mob, 100, "Прикреплённый триггер"}}));
    EXPECT_EQ(uses(R::Mob, 196), (U{{R::Zone, 1, "Удаляемый моб"}}));
    EXPECT_TRUE(uses(R::Room, 104).empty());
}

TEST_F(Checks, SearchFindsNumbersOfEveryKindAndTextIgnoringCyrillicCase) {
    Load("broken");
    std::vector<std::pair<TRecordType, std::string>> numbers;
    for (const TFoundRecord& found : FindNumber(World.View(), 100))
        numbers.emplace_back(found.Kind, Cp1251ToUtf8(found.Line));
    EXPECT_EQ(numbers,
              (std::vector<std::pair<TRecordType, std::string>>{{R::Room, "Комната 100 (Площадь)"},
                                                                {R::Obj, "Объект 100 (ключ)"},
                                                                {R::Mob, "Моб 100 (стражник)"},
                                                                {R::Shop, "Магазин 100"}}));
    EXPECT_EQ(FindNumber(World.View(), 1).front().Kind, R::Zone);
    EXPECT_TRUE(FindNumber(World.View(), 150).empty());

    const auto text = [this](const std::string& utf8, size_t limit = 100) {
        std::vector<std::tuple<TRecordType, int32_t, std::string>> out;
        for (const TFoundRecord& found : FindText(World.View(), W(utf8), limit))
            out.emplace_back(found.Kind, found.VNum, Cp1251ToUtf8(found.Line));
        return out;
    };
    using F = std::vector<std::tuple<TRecordType, int32_t, std::string>>;
    // Upper case finds lower case, in names and in scripts.
    EXPECT_EQ(text("ПРИВЕТ"),
              (F{{R::Trigger, 190, "say Привет"}, {R::Trigger, 191, "say Привет"}}));
    EXPECT_EQ(text("сЛоМаННая"), (F{{R::Zone, 1, "Сломанная зона"}}));
    // "ё" is found as "е" and the other way round.
    EXPECT_EQ(FoldCp1251(W("ЁЛКА ёлка Ель")), W("елка елка ель"));
    bool truncated = false;
    EXPECT_EQ(FindText(World.View(), W("комната для"), 2, &truncated).size(), 2u);
    EXPECT_TRUE(truncated);
    EXPECT_EQ(FindText(World.View(), W("комната для"), 100, &truncated).size(), 5u);
    EXPECT_FALSE(truncated);
}

} // namespace
