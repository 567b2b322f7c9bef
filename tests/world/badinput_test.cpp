// Every world file reader under bad input: a folder or a missing file in
// place of the file, an empty file, binary garbage, a single 100 MB line, a
// missing final tilde, a file cut off after each of its lines, numbers beyond
// 32 bits, a Ctrl-Z in the middle, and the inputs the fuzz targets found.
// Nothing may crash or hang; a failure names the right line and keeps what
// was read before it.
//
// We run as root, so a file without read permission would still be read: a
// folder and a missing file stand in for an unreadable file.

#include "linecount.h"
#include "maplayout.h"
#include "testsupport.h"
#include "zone.h"

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <random>

namespace {

// The zone the zone reader fills (the other readers fill the record lists):
// the world's only zone.
TZone& TheZone(const TWorld& world) {
    return *world.Zones.front();
}

// Names for the item kinds 5 and 9, as the kind list of the shop page gives them.
std::string KindName(int32_t code) {
    if (code == 5)
        return W("оружие");
    if (code == 9)
        return W("броня");
    return {};
}

// Rooms and prototypes the layout and zone files refer to.
void MakeRooms(TWorld& world) {
    world.Rooms.AddNew(1201).Name = W("Площадь");
    world.Rooms.AddNew(1202).Name = W("Двор");
}
void MakeZoneWorld(TWorld& world) {
    MakeRooms(world);
    world.Rooms.Find(1201)->Exits[0].ToRoom = 1202;
    world.Rooms.Find(1201)->Exits[0].DoorFlags = 1;
    for (int32_t vnum : {1200, 1201, 1202})
        world.Objs.AddNew(vnum);
    for (int32_t vnum : {1200, 1201})
        world.Mobs.AddNew(vnum);
    world.AddZone(std::make_unique<TZone>());
}

int PlacedRooms(const TWorld& world) {
    int placed = 0;
    for (const auto& room : world.Rooms)
        placed += room->MapLevel != 0;
    return placed;
}

// Every command the zone file turned into contents or zone lists.
int ZoneCommands(const TWorld& world) {
    const TZone& zone = TheZone(world);
    size_t count = zone.CreatedObjects.size() + zone.DeletedMobs.size();
    for (const auto& room : world.Rooms) {
        count += room->Objects.size() + room->Mobs.size() + room->DelObjects.size();
        for (const auto& obj : room->Objects)
            count += obj.Contents.size();
        for (const auto& mob : room->Mobs)
            count += mob.Contents.size();
    }
    return static_cast<int>(count);
}

struct TReaderCase {
    const char* Name;
    const char* Kind;     // the kind word of the messages
    const char* FileName; // the name the in-memory reads report
    // A valid file of two records (UTF-8), and how many of its lines hold
    // the first record completely.
    std::vector<std::string> Valid;
    size_t FirstRecordLines;
    void (*Prepare)(TWorld& world);
    void (*LoadBytes)(TWorld& world, const std::string& bytes);
    void (*LoadFile)(TWorld& world, const std::string& path);
    int (*Count)(const TWorld& world);
    // True when the first record holds what the valid file gives it.
    bool (*FirstKept)(const TWorld& world);
    // Lines of the valid file replaced by numbers beyond 32 bits; each fails
    // on its own line.
    std::vector<std::pair<size_t, std::string>> Wide;
    // A file that stops inside an unclosed text, and what must have been read.
    std::vector<std::string> NoTilde;
    bool (*NoTildeKept)(const TWorld& world);
    // The line an empty file fails on (0: no message), and the line a garbage
    // header followed by one more line fails on.
    int EmptyLine;
    int GarbageLine;
};
void PrintTo(const TReaderCase& c, std::ostream* out) { *out << c.Name; }

template <class Parse>
void Load(const char* kind, const char* name, const std::string& bytes, Parse parse) {
    LoadWorldBytes(kind, name, bytes, parse);
}

const TReaderCase kRooms = {
    "Rooms",
    "комнаты",
    "12.wld",
    {"* Velmora room file v1.0",
     "#1201",
     "Площадь~",
     "Широкая площадь.",
     "~",
     "12 a0 1",
     "D0",
     "Север~",
     "дверь~",
     "1 -1 1202",
     "E",
     "фонтан~",
     "Старый фонтан.",
     "~",
     "S",
     "T 1200",
     "#1202",
     "Двор~",
     "~",
     "12 0 2",
     "D2",
     "~",
     "~",
     "0 -1 1201",
     "S",
     "$",
     "$"},
    16,
    [](TWorld&) {},
    [](TWorld& world, const std::string& bytes) {
        Load("комнаты", "12.wld", bytes, [&world](TWorldReader& r) { world.Rooms.ReadRooms(r); });
    },
    [](TWorld& world, const std::string& path) { world.Rooms.LoadFromFile(path); },
    [](const TWorld& world) { return world.Rooms.Count(); },
    [](const TWorld& world) {
        const TRoom* room = world.Rooms.Find(1201);
        return room && room->Name == W("Площадь") &&
               room->Desc == W(TStringList{"Широкая площадь."}) && room->Exits[0].ToRoom == 1202 &&
               room->ExtraDescs.size() == 1 && room->Triggers == std::vector<int32_t>{1200};
    },
    {{16, "#2147483648"},
     {23, "0 -1 4294967296"},
     {23, "0 -1 -2147483649"},
     {19, "12 0 99999999999999999999"}},
    {"#1201", "Площадь~", "Широкая площадь.", "Вторая строка."},
    [](const TWorld& world) {
        const TRoom* room = world.Rooms.Find(1201);
        return room && room->Desc == W(TStringList{"Широкая площадь.", "Вторая строка."});
    },
    0,
    1,
};

const TReaderCase kLayout = {
    "Layout",
    "карту",
    "12.map",
    {"1201 10 20 1", "1202 11 20 1", "9999 1 1 1"},
    1,
    MakeRooms,
    [](TWorld& world, const std::string& bytes) {
        Load("карту", "12.map", bytes, [&world](TWorldReader& r) { ReadLayout(world.Rooms, r); });
    },
    [](TWorld& world, const std::string& path) { LoadLayoutFile(world.Rooms, path); },
    PlacedRooms,
    [](const TWorld& world) {
        const TRoom* room = world.Rooms.Find(1201);
        return room && room->MapX == 10 && room->MapY == 20 && room->MapLevel == 1;
    },
    {{1, "4294967297 11 20 1"}, {2, "-99999999999 1 1 1"}},
    {},
    nullptr,
    0,
    1,
};

const TReaderCase kObjects = {
    "Objects",
    "объекты",
    "12.obj",
    {"* Velmora object file v1.0",
     "#1200",
     "меч~",
     "меч~",
     "меча~",
     "мечу~",
     "меч~",
     "мечом~",
     "мече~",
     "Меч лежит здесь.~",
     "~",
     "0 100 90 3",
     "1 -1 -5 30",
     "0 0 0",
     "5 a0 a0n0",
     "0 3 6 11",
     "12 1500 10 20",
     "E",
     "клинок~",
     "Острый клинок.",
     "~",
     "A",
     "12 -3",
     "T 1201",
     "#1201",
     "a~",
     "b~",
     "c~",
     "d~",
     "e~",
     "f~",
     "g~",
     "h~",
     "~",
     "0 0 0 0",
     "0 0 0 0",
     "0 0 0",
     "0 0 0",
     "0 0 0 0",
     "0 0 0 0",
     "$",
     "$"},
    24,
    [](TWorld&) {},
    [](TWorld& world, const std::string& bytes) {
        Load("объекты", "12.obj", bytes, [&world](TWorldReader& r) { world.Objs.ReadObjects(r); });
    },
    [](TWorld& world, const std::string& path) { world.Objs.LoadFromFile(path); },
    [](const TWorld& world) { return world.Objs.Count(); },
    [](const TWorld& world) {
        const TObj* obj = world.Objs.Find(1200);
        return obj && obj->Imen == W("меч") && obj->Weight == 12 && obj->ExtraDescs.size() == 1 &&
               obj->AddParam.size() == 1 && obj->Triggers == std::vector<int32_t>{1201};
    },
    {{24, "#2147483648"}, {39, "4294967296 0 0 0"}, {34, "0 0 0 -4294967296"}},
    {"#1200",
     "a~",
     "b~",
     "c~",
     "d~",
     "e~",
     "f~",
     "g~",
     "h~",
     "~",
     "0 0 0 0",
     "0 0 0 0",
     "0 0 0",
     "0 0 0",
     "0 0 0 0",
     "12 0 0 0",
     "E",
     "клинок~",
     "Острый клинок.",
     "Ещё строка."},
    [](const TWorld& world) {
        const TObj* obj = world.Objs.Find(1200);
        return obj && obj->Weight == 12 && obj->ExtraDescs.size() == 1 &&
               obj->ExtraDescs[0].Description == W(TStringList{"Острый клинок.", "Ещё строка."});
    },
    0,
    1,
};

const TReaderCase kMobs = {
    "Mobs",
    "мобов",
    "12.mob",
    {"* Velmora mob file v1.0",
     "#1200",
     "стражник~",
     "стражник~",
     "стражника~",
     "стражнику~",
     "стражника~",
     "стражником~",
     "стражнике~",
     "Стражник стоит тут.",
     "~",
     "Высокий стражник.",
     "~",
     "a0 0 -350 E",
     "10 1 2 3d8+10 1d6+2",
     "2d4+1 100",
     "8 8 1",
     "Str: 18",
     "Spell: 12",
     "E",
     "T 1200",
     "#1201",
     "a~",
     "b~",
     "c~",
     "d~",
     "e~",
     "f~",
     "g~",
     "~",
     "~",
     "0 0 0 E",
     "0 0 0 0d0+0 0d0+0",
     "0d0+0 0",
     "0 0 0",
     "E",
     "$",
     "$"},
    21,
    [](TWorld&) {},
    [](TWorld& world, const std::string& bytes) {
        Load("мобов", "12.mob", bytes, [&world](TWorldReader& r) { world.Mobs.ReadMobs(r); });
    },
    [](TWorld& world, const std::string& path) { world.Mobs.LoadFromFile(path); },
    [](const TWorld& world) { return world.Mobs.Count(); },
    [](const TWorld& world) {
        const TMob* mob = world.Mobs.Find(1200);
        return mob && mob->Imen == W("стражник") &&
               mob->Look == W(TStringList{"Высокий стражник."}) && mob->Level == 10 &&
               mob->Str == 18 && mob->Triggers == std::vector<int32_t>{1200};
    },
    {{21, "#2147483648"}, {33, "0d0+0 4294967296"}, {31, "0 0 -99999999999999999999 E"}},
    {"#1200", "a~", "b~", "c~", "d~", "e~", "f~", "g~", "~", "Высокий стражник.", "Он смотрит."},
    [](const TWorld& world) {
        const TMob* mob = world.Mobs.Find(1200);
        return mob && mob->Look == W(TStringList{"Высокий стражник.", "Он смотрит."});
    },
    0,
    1,
};

const TReaderCase kShops = {
    "Shops",
    "магазины",
    "12.shp",
    {"CircleMUD v3.0 Shop File~",
     "#1200 E~",
     "1201",
     "-1",
     "1.25",
     "0.50",
     "0.75",
     "5",
     "меч~",
     "-1",
     "9",
     "-1",
     "Нет такого.~",
     "У вас нет.~",
     "Не покупаю.~",
     "Нет денег.~",
     "У вас нет денег!~",
     "Стоит %d.~",
     "Держите %d.~",
     "2",
     "a0",
     "1250",
     "0",
     "1210",
     "-1",
     "0",
     "28",
     "0",
     "0",
     "#1201~",
     "-1",
     "1.00",
     "1.00",
     "-1",
     "a~",
     "b~",
     "c~",
     "d~",
     "e~",
     "f~",
     "g~",
     "0",
     "0",
     "1251",
     "0",
     "-1",
     "0",
     "24",
     "0",
     "0",
     "$",
     "$",
     "~"},
    29,
    [](TWorld&) {},
    [](TWorld& world, const std::string& bytes) {
        Load("магазины", "12.shp", bytes,
             [&world](TWorldReader& r) { world.Shops.ReadShops(r, KindName); });
    },
    [](TWorld& world, const std::string& path) { world.Shops.LoadFromFile(path, KindName); },
    [](const TWorld& world) { return world.Shops.Count(); },
    [](const TWorld& world) {
        const TShop* shop = world.Shops.Find(1200);
        return shop && shop->Goods == std::vector<int32_t>{1201} && shop->GoodsBuy.size() == 2 &&
               shop->GoodsBuy[0].Text == W("оружие") && shop->Seller == 1250 &&
               shop->Rooms == std::vector<int32_t>{1210} && shop->Close1 == 28;
    },
    {{29, "#2147483648~"}, {43, "4294967296"}, {30, "-2147483649"}},
    // The shop file ends with a lone "~"; without it both shops are read.
    {"CircleMUD v3.0 Shop File~",
     "#1200~",
     "1201",
     "-1",
     "1.25",
     "0.50",
     "-1",
     "a~",
     "b~",
     "c~",
     "d~",
     "e~",
     "f~",
     "g~",
     "0",
     "0",
     "1250",
     "0",
     "-1",
     "0",
     "28",
     "0",
     "0",
     "$",
     "$"},
    [](const TWorld& world) {
        const TShop* shop = world.Shops.Find(1200);
        return shop && shop->Seller == 1250 && shop->Close1 == 28;
    },
    0,
    1,
};

const TReaderCase kTriggers = {
    "Triggers",
    "триггеры",
    "12.trg",
    {"* Velmora trigger file v1.0", "#1200", "приветствие~", "0 b0c1 100", "привет~", "say Привет.",
     "end", "~", "#1201", "пыль~", "2 0 -7", "~", "wait 1", "~", "$", "$"},
    8,
    [](TWorld&) {},
    [](TWorld& world, const std::string& bytes) {
        Load("триггеры", "12.trg", bytes,
             [&world](TWorldReader& r) { world.Triggers.ReadTriggers(r); });
    },
    [](TWorld& world, const std::string& path) { world.Triggers.LoadFromFile(path); },
    [](const TWorld& world) { return world.Triggers.Count(); },
    [](const TWorld& world) {
        const TTrigger* trigger = world.Triggers.Find(1200);
        return trigger && trigger->Name == W("приветствие") && trigger->NumParam == 100 &&
               trigger->Text == W(TStringList{"say Привет.", "end"});
    },
    {{8, "#2147483648"}, {10, "2 0 4294967296"}, {3, "0 b0c1 -4294967296"}},
    {"#1200", "a~", "0 0 1", "~", "say Привет.", "end"},
    [](const TWorld& world) {
        const TTrigger* trigger = world.Triggers.Find(1200);
        return trigger && trigger->Text == W(TStringList{"say Привет.", "end"});
    },
    0,
    1,
};

const TReaderCase kZones = {
    "Zones",
    "зону",
    "12.zon",
    {"* Velmora zone file v1.0", "#12", "Город~", "1299 30 2", "O 0 1200 2 1201 100",
     "P 1 1201 3 1200 75", "M 0 1200 5 1201 2", "G 1 1201 3 100 -1", "E 0 1202 4 6 90",
     "O 1 1202 4 -1 100", "Q 1 1205 -1 -1 -1", "D 0 1201 0 2 -1", "S", "$", "$"},
    5,
    MakeZoneWorld,
    [](TWorld& world, const std::string& bytes) {
        Load("зону", "12.zon", bytes,
             [&world](TWorldReader& r) { TheZone(world).ReadZone(world, r); });
    },
    [](TWorld& world, const std::string& path) { TheZone(world).LoadFromFile(world, path); },
    ZoneCommands,
    [](const TWorld& world) {
        const TRoom* room = world.Rooms.Find(1201);
        return TheZone(world).ZoneName == W("Город") && room && !room->Objects.empty() &&
               room->Objects[0].ObjVNum == 1200;
    },
    {{9, "O 1 4294967296 4 -1 100"},
     {6, "M 0 1200 5 1201 99999999999999999999"},
     {3, "1299 -2147483649 2"}},
    // Without its "S" line the zone keeps every command.
    {"#12", "Город~", "1299 30 2", "O 0 1200 2 1201 100", "Q 1 1205 -1 -1 -1", "D 0 1201 0 2 -1"},
    [](const TWorld& world) {
        const TRoom* room = world.Rooms.Find(1201);
        return room && room->Objects.size() == 1 && TheZone(world).DeletedMobs.size() == 1 &&
               room->Exits[0].DoorState == 2;
    },
    1,
    3,
};

std::string Joined(const std::vector<std::string>& utf8, size_t count) {
    return Crlf(W(std::vector<std::string>(utf8.begin(), utf8.begin() + static_cast<long>(count))));
}

// The line a load failure names; 0 when the message names none.
int FailedLine(const std::string& message) {
    const std::string marker = "(Ошибка в строке ";
    const size_t at = message.find(marker);
    return at == std::string::npos ? 0 : std::atoi(message.c_str() + at + marker.size());
}

class BadInput : public WorldTest, public ::testing::WithParamInterface<TReaderCase> {
protected:
    static void SetUpTestSuite() {
        // One line of 100 MB, a header whose number never ends, and a name after it.
        BigFile = std::filesystem::temp_directory_path() /
                  ("velmora-bigline-" + std::to_string(::getpid()));
        std::ofstream out(BigFile, std::ios::binary);
        const std::string chunk(1 << 20, '7');
        out << '#';
        for (int i = 0; i < 100; ++i)
            out << chunk;
        out << "\r\nx~\r\n";
    }
    static void TearDownTestSuite() { std::filesystem::remove(BigFile); }

    void SetUp() override {
        WorldTest::SetUp();
        GetParam().Prepare(World);
    }
    // A clean world for one more read within the same test.
    void Restart() {
        World.Clear();
        Reporter.Messages.clear();
        GetParam().Prepare(World);
    }
    // No crash happened; at most one message, naming a line the bytes have
    // (or the one after the last).
    // Each record that failed is said once, on a line of the file.
    void ExpectSoundFailure(const std::string& bytes) {
        for (const std::string& message : Reporter.Messages) {
            const int line = FailedLine(message);
            EXPECT_GE(line, 1) << message;
            EXPECT_LE(line, LineCount(bytes) + 1) << message;
        }
    }

    static inline std::filesystem::path BigFile;
};

TEST_P(BadInput, FolderInPlaceOfTheFileCannotBeOpened) {
    const TReaderCase& c = GetParam();
    const std::string path = PathOf(c.FileName);
    std::filesystem::create_directories(path);
    c.LoadFile(World, path);
    EXPECT_EQ(Reporter.Messages,
              (std::vector<std::string>{LoadError(c.Kind, path, "(Не смог открыть файл)")}));
    EXPECT_EQ(c.Count(World), 0);
}

TEST_P(BadInput, MissingFileCannotBeOpened) {
    const TReaderCase& c = GetParam();
    const std::string path = PathOf(c.FileName);
    c.LoadFile(World, path);
    EXPECT_EQ(Reporter.Messages,
              (std::vector<std::string>{LoadError(c.Kind, path, "(Не смог открыть файл)")}));
    EXPECT_EQ(c.Count(World), 0);
}

TEST_P(BadInput, EmptyFileReadsNothing) {
    const TReaderCase& c = GetParam();
    const std::string path = PathOf(c.FileName);
    WriteBytes(path, "");
    WriteBytes(LayoutFileName(path), ""); // the room reader reads its layout file next
    c.LoadFile(World, path);
    if (c.EmptyLine == 0) {
        EXPECT_TRUE(Reporter.Messages.empty());
    } else {
        EXPECT_EQ(Reporter.Messages,
                  (std::vector<std::string>{LineError(c.Kind, path, c.EmptyLine)}));
    }
    EXPECT_EQ(c.Count(World), 0);
}

TEST_P(BadInput, GarbageHeaderLineFails) {
    const TReaderCase& c = GetParam();
    // A header line is read only when a line follows it.
    std::string garbage = "#";
    for (int i = 0; i < 256; ++i)
        if (i != '\r' && i != '\n' && i != 0x1A)
            garbage += static_cast<char>(i);
    c.LoadBytes(World, garbage + "\r\n" + garbage + "\r\n");
    EXPECT_EQ(Reporter.Messages,
              (std::vector<std::string>{LineError(c.Kind, c.FileName, c.GarbageLine)}));
    EXPECT_EQ(c.Count(World), 0);
}

TEST_P(BadInput, RandomBytesNeitherCrashNorNameALineBeyondTheFile) {
    const TReaderCase& c = GetParam();
    std::mt19937 random(20240601);
    for (int round = 0; round < 50; ++round) {
        SCOPED_TRACE(round);
        std::string bytes;
        const size_t size = random() % 2000;
        for (size_t i = 0; i < size; ++i) {
            // Mostly the bytes the formats are made of, so that the readers get far.
            const unsigned pick = random() % 8;
            bytes += pick < 2   ? "\r\n"[random() % 2]
                     : pick < 4 ? "#~-0123456789 "[random() % 14]
                     : pick < 5 ? "DESTAOMPGEFRQ$:d+"[random() % 17]
                                : static_cast<char>(random() & 0xFF);
        }
        Restart();
        c.LoadBytes(World, bytes);
        ExpectSoundFailure(bytes);
    }
}

TEST_P(BadInput, SingleHundredMegabyteLineFailsOnItsLine) {
    const TReaderCase& c = GetParam();
    c.LoadFile(World, BigFile.string());
    EXPECT_EQ(Reporter.Messages,
              (std::vector<std::string>{LineError(c.Kind, BigFile.string(), c.GarbageLine)}));
    EXPECT_EQ(c.Count(World), 0);
}

TEST_P(BadInput, MissingFinalTildeEndsTheReadAndKeepsTheText) {
    const TReaderCase& c = GetParam();
    if (c.NoTilde.empty())
        GTEST_SKIP() << "the layout file has no texts";
    c.LoadBytes(World, Joined(c.NoTilde, c.NoTilde.size()));
    EXPECT_TRUE(Reporter.Messages.empty());
    EXPECT_TRUE(c.NoTildeKept(World));
}

TEST_P(BadInput, FileCutAfterEveryLineKeepsTheRecordsBeforeTheCut) {
    const TReaderCase& c = GetParam();
    for (size_t cut = 0; cut <= c.Valid.size(); ++cut) {
        SCOPED_TRACE("cut after line " + std::to_string(cut));
        Restart();
        const std::string bytes = Joined(c.Valid, cut);
        c.LoadBytes(World, bytes);
        ExpectSoundFailure(bytes);
        if (cut >= c.FirstRecordLines) {
            EXPECT_TRUE(c.FirstKept(World));
        }
    }
    // The whole file reads without a message.
    Restart();
    c.LoadBytes(World, Joined(c.Valid, c.Valid.size()));
    EXPECT_TRUE(Reporter.Messages.empty());
    EXPECT_TRUE(c.FirstKept(World));
}

TEST_P(BadInput, NumbersBeyond32BitsFailOnTheirLine) {
    const TReaderCase& c = GetParam();
    for (const auto& [index, text] : c.Wide) {
        SCOPED_TRACE(text);
        Restart();
        auto lines = c.Valid;
        lines[index] = text;
        c.LoadBytes(World, Joined(lines, lines.size()));
        EXPECT_EQ(
            Reporter.Messages,
            (std::vector<std::string>{LineError(c.Kind, c.FileName, static_cast<int>(index) + 1)}));
        if (index >= c.FirstRecordLines) {
            EXPECT_TRUE(c.FirstKept(World));
        }
    }
}

TEST_P(BadInput, CtrlZInTheMiddleEndsTheFile) {
    const TReaderCase& c = GetParam();
    const std::string head = Joined(c.Valid, c.FirstRecordLines);
    c.LoadBytes(World, head);
    const int expected = c.Count(World);
    ASSERT_TRUE(Reporter.Messages.empty());

    Restart();
    // What follows the Ctrl-Z would fail the read if it were read.
    c.LoadBytes(World, head + "\x1A" + "#garbage\r\n" + Joined(c.Valid, c.Valid.size()));
    EXPECT_TRUE(Reporter.Messages.empty());
    EXPECT_EQ(c.Count(World), expected);
    EXPECT_TRUE(c.FirstKept(World));

    // In the middle of a line too: the line ends there.
    Restart();
    c.LoadBytes(World, head + c.Valid.back().substr(0, 1) + "\x1A" + "\r\n#garbage\r\n");
    ExpectSoundFailure(head + c.Valid.back().substr(0, 1));
    EXPECT_TRUE(c.FirstKept(World));
}

// Inputs kept as files under the reader's name: those that made a fuzz target
// fail, and those whose failure once named a line far beyond the file's end.
TEST_P(BadInput, FuzzCrashersReadSoundly) {
    const TReaderCase& c = GetParam();
    const std::filesystem::path folder =
        std::filesystem::path(VELMORA_TEST_DATA) / "crashers" / c.Name;
    if (!std::filesystem::is_directory(folder))
        GTEST_SKIP() << "no crasher kept for this reader";
    for (const auto& entry : std::filesystem::directory_iterator(folder)) {
        SCOPED_TRACE(entry.path().filename().string());
        Restart();
        const std::string bytes = ReadBytes(entry.path());
        c.LoadBytes(World, bytes);
        ExpectSoundFailure(bytes);
        TStringList lines;
        World.Rooms.SaveToStrings(lines, 12);
        for (const auto& zone : World.Zones)
            zone->SaveToStrings(World, lines);
    }
}

INSTANTIATE_TEST_SUITE_P(Readers, BadInput,
                         ::testing::Values(kRooms, kLayout, kObjects, kMobs, kShops, kTriggers,
                                           kZones),
                         [](const ::testing::TestParamInfo<TReaderCase>& param) {
                             return std::string(param.param.Name);
                         });

} // namespace
