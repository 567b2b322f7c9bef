#include "strutils.h"
#include "testsupport.h"

#include <cmath>

namespace {

// Names for the item kinds 5 and 9, as the kind list of the shop page gives them.
std::string KindName(int32_t code) {
    if (code == 5)
        return W("оружие");
    if (code == 9)
        return W("броня");
    return {};
}

class ShopTest : public WorldTest {
protected:
    bool Load(const std::vector<std::string>& lines, const TKindNameLookup& kinds = KindName) {
        return LoadWorldBytes("магазины", "12.shp", Crlf(lines),
                              [&](TWorldReader& r) { World.Shops.ReadShops(r, kinds); });
    }
    // Our writer's form: these tests are about what it writes.
    TStringList Save(int32_t zone = 12) { return OurZoneFileLines(World.Shops, zone); }
    std::string LoadError(int line) { return LineError("магазины", "12.shp", line); }
};

// The lines of one extended shop record with every field and list in use.
std::vector<std::string> FullShop(const std::string& header) {
    return {header,
            "1201",
            "1202",
            "-1",
            "1.25",
            "0.50",
            "0.75",
            "5",
            W("меч кинжал~"),
            "-1",
            "9",
            "-1",
            W("%s, такого у меня нет!~"),
            W("У вас этого нет.~"),
            W("Я такое не покупаю.~"),
            W("У меня нет таких денег.~"),
            W("У вас нет денег!~"),
            W("Это стоит %d кун.~"),
            W("Держите %d кун.~"),
            "2",
            "a0b1",
            "1250",
            "c0",
            "1210",
            "1211",
            "-1",
            "6",
            "12",
            "14",
            "22"};
}

TEST_F(ShopTest, RoundTripOfAFullFileGivesTheSameBytes) {
    std::vector<std::string> file = {"CircleMUD v3.0 Shop File~"};
    for (const auto& header : {"#1200 E~", "#1205 E~"}) {
        const auto record = FullShop(header);
        file.insert(file.end(), record.begin(), record.end());
    }
    // The second shop uses the "nothing" forms: no goods, no lists, empty
    // messages and flags.
    const std::vector<std::string> empty = {
        "#1299 E~", "-1", "1.00", "1.00", "1.00", "-1", "-1", "~", "~", "~", "~", "~",
        "~",        "~",  "0",    "0",    "0",    "0",  "-1", "0", "0", "0", "0"};
    file.insert(file.end(), empty.begin(), empty.end());
    file.insert(file.end(), {"$", "$", "~"});

    WriteBytes(Dir / "SHP" / "12.shp", Crlf(file));
    World.Shops.LoadFromFile(PathOf("SHP/12.shp"), KindName);
    ASSERT_TRUE(Reporter.Messages.empty());
    ASSERT_EQ(World.Shops.Count(), 3);

    const TShop& shop = World.Shops[0];
    EXPECT_EQ(shop.VNum, 1200);
    EXPECT_EQ(shop.Goods, (std::vector<int32_t>{1201, 1202}));
    EXPECT_DOUBLE_EQ(shop.CoeffSell, 1.25);
    EXPECT_DOUBLE_EQ(shop.CoeffBuy, 0.5);
    EXPECT_DOUBLE_EQ(shop.CoeffChange, 0.75);
    EXPECT_EQ(shop.GoodsBuy, (std::vector<TGoodsType>{{W("оружие"), 5}, {W("меч кинжал"), -1}}));
    EXPECT_EQ(shop.GoodsChange, (std::vector<TGoodsType>{{W("броня"), 9}}));
    EXPECT_EQ(shop.Msg1, W("%s, такого у меня нет!"));
    EXPECT_EQ(shop.Msg7, W("Держите %d кун."));
    EXPECT_EQ(shop.Emotion, 2);
    EXPECT_EQ(shop.BitVector, "a0b1");
    EXPECT_EQ(shop.Seller, 1250);
    EXPECT_EQ(shop.NotSellVector, "c0");
    EXPECT_EQ(shop.Rooms, (std::vector<int32_t>{1210, 1211}));
    EXPECT_EQ(shop.Open1, 6);
    EXPECT_EQ(shop.Close1, 12);
    EXPECT_EQ(shop.Open2, 14);
    EXPECT_EQ(shop.Close2, 22);
    EXPECT_TRUE(World.Shops[2].BitVector.empty());
    EXPECT_TRUE(World.Shops[2].NotSellVector.empty());

    World.Shops.SaveToFile(PathOf("SHP/out.shp"), 12);
    EXPECT_TRUE(Reporter.Messages.empty());
    EXPECT_EQ(ReadBytes(Dir / "SHP" / "out.shp"), Crlf(file));
}

TEST_F(ShopTest, NewShopIsWrittenWithDefaults) {
    World.Shops.AddNew(1200);
    EXPECT_EQ(Save(), (TStringList{"CircleMUD v3.0 Shop File~",
                                   "#1200 E~",
                                   "-1",
                                   "1.00",
                                   "1.00",
                                   "1.00",
                                   "-1",
                                   "-1",
                                   "~",
                                   "~",
                                   "~",
                                   "~",
                                   "~",
                                   "~",
                                   "~",
                                   "0",
                                   "0",
                                   "0",
                                   "0",
                                   "-1",
                                   "0",
                                   "0",
                                   "0",
                                   "0",
                                   "$",
                                   "$",
                                   "~"}));
}

TEST_F(ShopTest, FactorsAreWrittenWithExactlyTwoDecimals) {
    const std::vector<std::pair<double, std::string>> cases = {
        {1.25, "1.25"},  {0.5, "0.50"},    {1.0, "1.00"},      {0.0, "0.00"},      {0.01, "0.01"},
        {1.15, "1.15"},  {0.29, "0.29"},   {2.675, "2.67"},    {12.3456, "12.35"}, {0.999, "1.00"},
        {150, "150.00"}, {-0.75, "-0.75"}, {1e6, "1000000.00"}};
    for (const auto& [value, text] : cases) {
        World.Shops.Clear();
        TShop& shop = World.Shops.AddNew(1200);
        shop.CoeffSell = value;
        EXPECT_EQ(Save().at(3), text) << value;
    }
    // Every percent the page can produce (a factor of n/100) renders exactly.
    for (int percent = 0; percent <= 1000; ++percent) {
        World.Shops.Clear();
        World.Shops.AddNew(1200).CoeffBuy = percent / 100.0;
        const std::string expected = std::to_string(percent / 100) + "." +
                                     (percent % 100 < 10 ? "0" : "") +
                                     std::to_string(percent % 100);
        ASSERT_EQ(Save().at(4), expected) << percent;
    }
}

TEST_F(ShopTest, FactorLinesAreReadLeniently) {
    const std::vector<std::pair<std::string, double>> cases = {
        {"1.5", 1.5},   {"2", 2.0},     {".5", 0.5},      {"5.", 5.0},   {"-0.25", -0.25},
        {"+1.5", 1.5},  {"1,25", 1.25}, {" 0.75 ", 0.75}, {"1e1", 10.0}, {"abc", 0.0},
        {"", 0.0},      {"1.5x", 0.0},  {"1.2.3", 0.0},   {"inf", 0.0},  {"nan", 0.0},
        {"1e999", 0.0}, {"0x10", 0.0},  {".", 0.0},       {"-", 0.0},    {"1e", 0.0}};
    for (const auto& [text, value] : cases) {
        World.Shops.Clear();
        EXPECT_TRUE(Load({"#1200 E~", "-1", text, "1.00", text, "-1", "-1", "~", "~", "~", "~", "~",
                          "~",        "~",  "0",  "0",    "0",  "0",  "-1", "0", "0", "0", "7"}))
            << text;
        ASSERT_EQ(World.Shops.Count(), 1);
        EXPECT_EQ(World.Shops[0].CoeffSell, value) << text;
        EXPECT_EQ(World.Shops[0].CoeffChange, value) << text;
        EXPECT_EQ(World.Shops[0].Close2, 7) << text; // the rest of the record was read
    }
    EXPECT_TRUE(Reporter.Messages.empty());
}

TEST_F(ShopTest, PlainRecordKeepsTheExchangeListAndIsWrittenBackExtended) {
    TShop& before = World.Shops.AddNew(1200);
    before.GoodsChange = {{W("броня"), 9}};
    ASSERT_TRUE(
        Load({"#1200~", "1201", "-1", "1.5", "0.5",  "5", "-1",   "a~", "b~", "c~", "d~", "e~",
              "f~",     "g~",   "1",  "0",   "1250", "0", "1210", "-1", "0",  "24", "0",  "0"}));
    ASSERT_EQ(World.Shops.Count(), 1);
    const TShop& shop = World.Shops[0];
    EXPECT_DOUBLE_EQ(shop.CoeffSell, 1.5);
    EXPECT_DOUBLE_EQ(shop.CoeffBuy, 0.5);
    EXPECT_DOUBLE_EQ(shop.CoeffChange, 0.5);
    EXPECT_EQ(shop.GoodsBuy, (std::vector<TGoodsType>{{W("оружие"), 5}}));
    EXPECT_EQ(shop.GoodsChange, (std::vector<TGoodsType>{{W("броня"), 9}}));
    EXPECT_EQ(shop.Msg1, "a");
    EXPECT_EQ(shop.Msg7, "g");
    EXPECT_EQ(shop.Seller, 1250);
    EXPECT_EQ(shop.Close1, 24);

    const TStringList lines = Save();
    const TStringList head(lines.begin() + 1, lines.begin() + 12);
    EXPECT_EQ(head, (TStringList{"#1200 E~", "1201", "-1", "1.50", "0.50", "0.50", "5", "-1", "9",
                                 "-1", "a~"}));
}

TEST_F(ShopTest, BuyEntriesAreNamedByKindOrByTheirNumber) {
    const std::vector<std::string> record = {
        "#1200 E~", "-1", "1", "1", "1", "5", "7", "05", W("меч~"), "~",  "-1", "9", "-1", "~", "~",
        "~",        "~",  "~", "~", "~", "0", "0", "0",  "0",       "-1", "0",  "0", "0",  "0"};
    ASSERT_TRUE(Load(record));
    EXPECT_EQ(World.Shops[0].GoodsBuy,
              (std::vector<TGoodsType>{
                  {W("оружие"), 5}, {"7", 7}, {W("оружие"), 5}, {W("меч"), -1}, {"", -1}}));
    EXPECT_EQ(World.Shops[0].GoodsChange, (std::vector<TGoodsType>{{W("броня"), 9}}));

    const TStringList lines = Save();
    const TStringList buy(lines.begin() + 6, lines.begin() + 14);
    EXPECT_EQ(buy, (TStringList{"5", "7", "5", W("меч~"), "~", "-1", "9", "-1"}));

    // Without a kind list every code shows its number.
    World.Shops.Clear();
    ASSERT_TRUE(Load(record, {}));
    EXPECT_EQ(World.Shops[0].GoodsBuy.at(0), (TGoodsType{"5", 5}));
    EXPECT_EQ(World.Shops[0].GoodsChange.at(0), (TGoodsType{"9", 9}));
}

TEST_F(ShopTest, HeaderNumberIsTheRunOfDigitsAfterTheHash) {
    struct Case {
        std::string header;
        int32_t vnum;
        bool extended;
    };
    const std::vector<Case> cases = {{"#1200 E~", 1200, true}, {"#1200~", 1200, false},
                                     {"#1200", 1200, true},    {"#1200E", 1200, true},
                                     {"#-5~", -5, false},      {"#-5 E~", -5, true}};
    for (const auto& c : cases) {
        World.Shops.Clear();
        std::vector<std::string> record = {c.header, "-1", "1", "2"};
        if (c.extended)
            record.insert(record.end(), {"3", "-1"}); // third factor and exchange list
        record.insert(record.end(), {"-1", "~", "~", "~", "~", "~", "~", "~", "0", "0", "0", "0",
                                     "-1", "0", "0", "0", "0"});
        ASSERT_TRUE(Load(record)) << c.header;
        ASSERT_EQ(World.Shops.Count(), 1) << c.header;
        EXPECT_EQ(World.Shops[0].VNum, c.vnum) << c.header;
        EXPECT_DOUBLE_EQ(World.Shops[0].CoeffChange, c.extended ? 3.0 : 2.0) << c.header;
    }
    EXPECT_TRUE(Reporter.Messages.empty());
}

TEST_F(ShopTest, ConversionFailuresNameTheirLine) {
    // Each case replaces one line of a full record (line 2 of the file is the header).
    struct Case {
        size_t index; // line of the record to replace, 0 = header
        std::string text;
    };
    const std::vector<Case> cases = {
        {0, "#"},    {0, "#~"}, {0, "# 1200 E~"},  {0, "#-~"},  {0, "#99999999999 E~"},
        {1, "12a"},  {1, ""},   {1, "-1 "},        {7, "x"},    {10, "-2a"},
        {19, "two"}, {21, ""},  {23, "1210 1211"}, {26, "256"}, {29, "-1"}};
    for (const auto& c : cases) {
        World.Shops.Clear();
        Reporter.Messages.clear();
        std::vector<std::string> file = {"CircleMUD v3.0 Shop File~"};
        auto record = FullShop("#1200 E~");
        record.at(c.index) = c.text;
        file.insert(file.end(), record.begin(), record.end());
        file.insert(file.end(), {"$", "$", "~"});
        EXPECT_FALSE(Load(file)) << c.text;
        EXPECT_EQ(Reporter.Messages,
                  (std::vector<std::string>{LoadError(static_cast<int>(c.index) + 2)}))
            << c.index << " " << c.text;
    }
}

TEST_F(ShopTest, HourRangeAcceptsByteValuesOnly) {
    auto record = FullShop("#1200 E~");
    record.back() = "255";
    ASSERT_TRUE(Load(record));
    EXPECT_EQ(World.Shops[0].Close2, 255);
    record.back() = "-1";
    EXPECT_FALSE(Load(record));
    EXPECT_EQ(Reporter.Messages, (std::vector<std::string>{LoadError(30)}));
}

TEST_F(ShopTest, AShopThatCannotBeReadIsKeptAsItsText) {
    std::vector<std::string> file = {"CircleMUD v3.0 Shop File~"};
    const auto first = FullShop("#1200 E~");
    file.insert(file.end(), first.begin(), first.end());
    auto second = FullShop("#1201 E~");
    second.at(19) = "angry"; // Emotion
    file.insert(file.end(), second.begin(), second.end());
    EXPECT_FALSE(Load(file));
    EXPECT_EQ(Reporter.Messages, (std::vector<std::string>{LoadError(1 + 30 + 20)}));
    ASSERT_EQ(World.Shops.Count(), 1);
    EXPECT_EQ(World.Shops[0].Close2, 22);
    EXPECT_EQ(ZoneFileLines(World.Shops, 12), file);
}

TEST_F(ShopTest, CutOffRecordFailsOnTheLineAfterTheLast) {
    auto record = FullShop("#1200 E~");
    for (const size_t keep : {size_t{3}, size_t{7}, size_t{19}, size_t{25}, size_t{28}}) {
        World.Shops.Clear();
        Reporter.Messages.clear();
        const std::vector<std::string> cut(record.begin(),
                                           record.begin() + static_cast<long>(keep));
        EXPECT_FALSE(Load(cut)) << keep;
        EXPECT_EQ(Reporter.Messages,
                  (std::vector<std::string>{LoadError(static_cast<int>(keep) + 1)}))
            << keep;
        EXPECT_EQ(World.Shops.Count(), 0);
        EXPECT_EQ(ZoneFileLines(World.Shops, 12), cut);
    }
}

TEST_F(ShopTest, HeaderOnTheLastLineYieldsNoShop) {
    EXPECT_TRUE(Load({"CircleMUD v3.0 Shop File~", "$", "#1200 E~"}));
    EXPECT_EQ(World.Shops.Count(), 0);
    EXPECT_TRUE(Load({"CircleMUD v3.0 Shop File~", "$", "$", "~"}));
    EXPECT_EQ(World.Shops.Count(), 0);
    EXPECT_TRUE(Reporter.Messages.empty());
}

TEST_F(ShopTest, ReadingReplacesAnExistingShopsFieldsAndLists) {
    TShop& shop = World.Shops.AddNew(1200);
    shop.Goods = {1, 2, 3};
    shop.GoodsBuy = {{"x", -1}};
    shop.GoodsChange = {{"y", -1}};
    shop.Rooms = {7};
    shop.BitVector = "z9";
    ASSERT_TRUE(Load({"#1200 E~", "-1", "1", "1", "1", "-1", "-1",   "~",  "~", "~", "~", "~",
                      "~",        "~",  "0", "0", "0", "0",  "1299", "-1", "0", "0", "0", "0"}));
    ASSERT_EQ(World.Shops.Count(), 1);
    EXPECT_TRUE(World.Shops[0].Goods.empty());
    EXPECT_TRUE(World.Shops[0].GoodsBuy.empty());
    EXPECT_TRUE(World.Shops[0].GoodsChange.empty());
    EXPECT_TRUE(World.Shops[0].BitVector.empty());
    EXPECT_EQ(World.Shops[0].Rooms, (std::vector<int32_t>{1299}));
}

TEST_F(ShopTest, OnlyTheZonesShopsAreWrittenInNumberOrder) {
    for (const int32_t vnum : {1300, 1250, 1199, 1200, 1299, -5})
        World.Shops.AddNew(vnum);
    TStringList headers;
    for (const auto& line : Save())
        if (StartsWith(line, '#'))
            headers.push_back(line);
    EXPECT_EQ(headers, (TStringList{"#1200 E~", "#1250 E~", "#1299 E~"}));
}

TEST_F(ShopTest, SaveToStringsReplacesTheLines) {
    TStringList lines = {"old", "lines"};
    World.Shops.SaveToStrings(lines, 12);
    EXPECT_EQ(lines, (TStringList{"CircleMUD v3.0 Shop File~", "$", "$", "~"}));
}

TEST_F(ShopTest, ListEndMarkerIsNeverWrittenAsAnEntry) {
    TShop& shop = World.Shops.AddNew(1200);
    shop.Goods = {1201, -1, 1202};
    shop.Rooms = {-1, 1210};
    shop.Close2 = 9;
    World.Shops.SaveToFile(PathOf("12.shp"), 12);
    World.Shops.Clear();
    World.Shops.LoadFromFile(PathOf("12.shp"));
    ASSERT_EQ(World.Shops.Count(), 1);
    EXPECT_EQ(World.Shops[0].Goods, (std::vector<int32_t>{1201, 1202}));
    EXPECT_EQ(World.Shops[0].Rooms, (std::vector<int32_t>{1210}));
    EXPECT_EQ(World.Shops[0].Close2, 9);
    EXPECT_TRUE(Reporter.Messages.empty());
}

TEST_F(ShopTest, FileFailuresAreReportedWithTheirMessages) {
    World.Shops.LoadFromFile(PathOf("missing.shp"));
    World.Shops.AddNew(1200);
    World.Shops.SaveToFile(PathOf("no/such/folder/12.shp"), 12);
    EXPECT_EQ(Reporter.Messages,
              (std::vector<std::string>{
                  "Не могу загрузить магазины\r\nФайл: " + PathOf("missing.shp") +
                      "\r\n(Не смог открыть файл)",
                  SaveError("магазины", PathOf("no/such/folder/12.shp"), kNoSuchFolder)}));
}

TEST_F(ShopTest, AssignCopiesEverythingButTheNumber) {
    ASSERT_TRUE(Load(FullShop("#1200 E~")));
    TShop copy(1234);
    copy.Goods = {99};
    copy.Assign(World.Shops[0]);
    EXPECT_EQ(copy.VNum, 1234);
    copy.VNum = 1200;
    World.Shops.AddNew(1300).Assign(copy);
    World.Shops.ForgetSources(12); // both written in our form
    TStringList a, b;
    World.Shops.SaveToStrings(a, 12);
    World.Shops.SaveToStrings(b, 13);
    a.at(1) = b.at(1) = "";
    EXPECT_EQ(a, b);
    EXPECT_EQ(copy.GoodsChange, World.Shops[0].GoodsChange);
}

} // namespace
