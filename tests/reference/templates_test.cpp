#include "templates.h"
#include "testsupport.h"

#include <gtest/gtest.h>

class Templates : public WorldTest {
protected:
    std::string File(const std::vector<std::string>& lines) {
        const auto path = PathOf("Template");
        WriteBytes(path, Crlf(W(lines)));
        return path;
    }
};

TEST_F(Templates, ObjectKeysAndForms) {
    TObjTemplet set;
    ASSERT_TRUE(
        LoadTemplates(set, File({"Imen: ignored before the first template~", "", "#Меч~",
                                 "Imen: длинный меч~", "Kind: 5", "Param2:\t3", "Weight: 12",
                                 "AddParam: 12 -3", "AddParam: 1 2", "Triggers: 1200", "Unknown: 5",
                                 "#Меч~", "#Броня", "Imen: first~", "Imen: second~"})));
    ASSERT_EQ(set.Count(), 3);
    EXPECT_EQ(set.Names(),
              W(TStringList{"Меч", "Меч", "Брон"})); // no closing character: last letter lost
    const TObj& sword = set.Record(0);
    EXPECT_EQ(sword.Imen, W("длинный меч"));
    EXPECT_EQ(sword.Kind, 5);
    EXPECT_EQ(sword.Param2, 3); // words split at tabs too
    EXPECT_EQ(sword.AddParam, (std::vector<int32_t>{PackAddParam(12, -3), PackAddParam(1, 2)}));
    EXPECT_EQ(sword.Triggers, (std::vector<int32_t>{1200}));
    EXPECT_EQ(set.Record(2).Imen, "second"); // the last value wins
    EXPECT_TRUE(Reporter.Messages.empty());

    TObj target(1234);
    set.Apply(0, target);
    EXPECT_EQ(target.VNum, 1234);
    EXPECT_EQ(target.Weight, 12);
}

TEST_F(Templates, MobCountedSpellsRoutesAndDice) {
    TMobTemplet set;
    ASSERT_TRUE(LoadTemplates(
        set, File({"#Стражник~", "Look: Высокий.~", "Look: Суровый.~", "Spells: 12", "Spells: 12",
                   "Spells: 12", "Spells: 30", "Destination: 3001", "Destination: 3002",
                   "Destination: 3005", "Hits: 3 8 10", "Skills: 5 80", "Hitroll: -5"})));
    const TMob& mob = set.Record(0);
    EXPECT_EQ(mob.Look, W(TStringList{"Высокий.", "Суровый."}));
    EXPECT_EQ(mob.SpellCount(12), 3);
    EXPECT_EQ(mob.SpellCount(30), 1);
    EXPECT_EQ(mob.Spells.size(), 2u);
    EXPECT_EQ(mob.Destination, "3001/3002/3005");
    EXPECT_EQ(mob.Hits, (TDice{3, 8, 10}));
    EXPECT_EQ(mob.SkillValue(5), 80);
    EXPECT_EQ(mob.Hitroll, -5);
}

TEST_F(Templates, ShopGoodsTypesAndFactors) {
    TShopTemplet set;
    const auto kindName = [](int32_t code) {
        return code == 5 ? std::string("weapon") : std::string();
    };
    ASSERT_TRUE(LoadTemplates(set,
                              File({"#Лавка~", "GoodsBuy: меч~", "GoodsBuy: 5", "GoodsChange: 9",
                                    "CoeffSell: 1.25", "Msg1: Нет у меня %s.~", "Close1: 28"}),
                              kindName));
    const TShop& shop = set.Record(0);
    EXPECT_EQ(shop.GoodsBuy, (std::vector<TGoodsType>{{W("меч"), -1}, {"weapon", 5}}));
    EXPECT_EQ(shop.GoodsChange, (std::vector<TGoodsType>{{"9", 9}}));
    EXPECT_DOUBLE_EQ(shop.CoeffSell, 1.25);
    EXPECT_EQ(shop.Msg1, W("Нет у меня %s."));
    EXPECT_EQ(shop.Close1, 28);
}

TEST_F(Templates, RoomContentsAndTriggers) {
    TRoomTemplet rooms;
    ASSERT_TRUE(LoadTemplates(
        rooms, File({"#Улица~", "Name: Улица~", "Desc: Мостовая.~", "Desc: Дома.~", "Sector: 1",
                     "ExitN: 3001", "Mobs: 3000 2", "Objects: 3010", "DelObjects: 3011"})));
    const TRoom& street = rooms.Record(0);
    EXPECT_EQ(street.Desc.size(), 2u);
    EXPECT_EQ(street.Exits[DirNorth].ToRoom, 3001);
    ASSERT_EQ(street.Mobs.size(), 1u);
    EXPECT_EQ(street.Mobs[0].MaxInRoom, 2);
    EXPECT_FALSE(street.Mobs[0].IfFlag);
    EXPECT_EQ(street.Objects[0].ObjVNum, 3010);
    TRoom fresh(1200);
    rooms.Apply(0, fresh);
    EXPECT_EQ(fresh.Exits[DirNorth].ToRoom, 0); // the room copy takes no exits

    TTrigTemplet triggers;
    ASSERT_TRUE(
        LoadTemplates(triggers, File({"#Приветствие~", "Name: greet~", "Model: 2", "Flags: b0",
                                      "NumParam: 100", "StrParam: привет~", "Script: if %actor%~",
                                      "Script:   wecho привет~", "Script: ~", "Script: end~"})));
    EXPECT_EQ(triggers.Record(0).Model, 2);
    EXPECT_EQ(triggers.Record(0).StrParam, W("привет"));
    // Each script line keeps its indent.
    EXPECT_EQ(triggers.Record(0).Text, W({"if %actor%", "  wecho привет", "", "end"}));
}

TEST_F(Templates, FailuresAreShownAndKeepEarlierTemplates) {
    TObjTemplet set;
    EXPECT_FALSE(LoadTemplates(set, File({"#a~", "Kind: 5", "#b~", "Kind:5"})));
    ASSERT_EQ(Reporter.Messages.size(), 1u);
    EXPECT_EQ(Reporter.Messages[0], "Не могу загрузить шаблоны объектов\r\nФайл: " +
                                        PathOf("Template") + "\r\n(Ошибка в строке 4)");
    EXPECT_EQ(set.Count(), 2);

    TMobTemplet mobs;
    EXPECT_FALSE(LoadTemplates(mobs, PathOf("missing")));
    EXPECT_EQ(Reporter.Messages.back(), "Не могу загрузить шаблоны мобов\r\nФайл: " +
                                            PathOf("missing") + "\r\n(Не смог открыть файл)");
    EXPECT_EQ(mobs.Count(), 0);

    TRoomTemplet rooms;
    EXPECT_TRUE(LoadTemplates(rooms, File({"", "", ""})));
    EXPECT_EQ(rooms.Count(), 0);
    EXPECT_FALSE(LoadTemplates(rooms, File({"#r~", "Sector: 256"})));
}
