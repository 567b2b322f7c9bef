#include "editorfixture.h"
#include "listform.h"
#include "roomobjform.h"
#include "shoppage.h"
#include "textcodec.h"
#include "world.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDir>
#include <QGroupBox>
#include <QLabel>
#include <QPushButton>
#include <QSpinBox>

#include <algorithm>

using namespace guitest;

namespace {

const QString kFirstRoomWarning = QStringLiteral(
    "Внимание!\r\nДобавлять магазин в комнату можно только после того,\r\nкогда магазин "
    "будет ПОЛНОСТЬЮ сделан.\r\nВы уверены, что хотите добавить магазин в комнату?");

TStringList ZoneFile(const TWorld& world, int32_t zone) {
    TStringList lines;
    world.Shops.SaveToStrings(lines, zone);
    return lines;
}

QStringList RowTexts(const QListWidget* list) {
    QStringList texts;
    for (int i = 0; i < list->count(); ++i)
        texts << list->item(i)->text();
    return texts;
}

std::vector<int> RowTags(const QListWidget* list) {
    std::vector<int> tags;
    for (int i = 0; i < list->count(); ++i)
        tags.push_back(list->item(i)->data(Qt::UserRole).toInt());
    return tags;
}

void Retype(QWidget* edit, const QString& text) {
    edit->setFocus();
    QTest::keyClick(edit, Qt::Key_A, Qt::ControlModifier);
    TypeText(edit, text);
}

void SelectRow(QListWidget* list, int row) {
    list->setFocus();
    list->setCurrentRow(row);
}

// Takes every placement of that mob out of a room.
void EraseMobs(TRoomMobList& mobs, int32_t mob) {
    mobs.erase(std::remove_if(mobs.begin(), mobs.end(),
                              [mob](const TRoomMob& placed) { return placed.MobVNum == mob; }),
               mobs.end());
}

int CountOfMob(const TRoom& room, int32_t mob) {
    return static_cast<int>(
        std::count_if(room.Mobs.begin(), room.Mobs.end(),
                      [mob](const TRoomMob& entry) { return entry.MobVNum == mob; }));
}

} // namespace

class TShopPageTest : public TEditorFixture {
    Q_OBJECT

    TShopPage* page_ = nullptr;

    // The sample workspace on the shop page, zone 10 open, shop 1000 shown.
    void StartOnShops() {
        StartOn(true, /*confirm=*/false);
        page_ = form_->findChild<TShopPage*>();
        QVERIFY(page_);
    }
    void EnterShops() {
        ClickTab(ShopPageIndex);
        QCOMPARE(form_->CurrentPage(), int(ShopPageIndex));
        QCOMPARE(*Page(ShopPageIndex).Current, 1000);
    }
    TShop& Shop() { return *World().Shops.Find(1000); }
    void Apply() { Click(form_->ToolsForm->ApplyBtn); }
    void AddRoom(const QString& number) {
        Retype(page_->S_RoomEdit, number);
        Click(page_->S_Room1Btn);
    }

private slots:
    void cleanup() {
        page_ = nullptr;
        Finish();
    }

    void showingAndApplyingWithoutEditsChangesNothing() {
        StartOnShops();
        const TStringList before = ZoneFile(World(), 10);
        EnterShops();
        QVERIFY(!ApplyEnabled());
        form_->ApplyPage();
        QCOMPARE(ZoneFile(World(), 10), before);
    }

    void showFillsTheControls() {
        StartOnShops();
        EnterShops();
        QCOMPARE(RowTags(page_->S_SellListBox), (std::vector<int>{1005, 1006, 1007}));
        QCOMPARE(page_->S_SellListBox->item(0)->text(), FromCp1251(World().Objs.CaptionOf(1005)));
        QCOMPARE(page_->S_ProfitSellEdit->value(), 130);
        QCOMPARE(page_->S_ProfitBuyEdit->value(), 60);
        QCOMPARE(page_->S_ProfitChangeEdit->value(), 80);
        QCOMPARE(RowTags(page_->S_BuyListBox), (std::vector<int>{1, 17, 19, -1}));
        QCOMPARE(
            RowTexts(page_->S_BuyListBox),
            (QStringList{QStringLiteral("Источник света"), QStringLiteral("Ёмкость для жидкости"),
                         QStringLiteral("Еда"), QStringLiteral("шкура")}));
        QCOMPARE(RowTags(page_->S_ChangeListBox), std::vector<int>{12});
        QCOMPARE(page_->S_Msg6Edit->text(), QStringLiteral("С тебя %d монет. Носи на здоровье!"));
        QCOMPARE(page_->S_SellerEdit->value(), 1002);
        QCOMPARE(page_->S_SellerName->text(), FromCp1251(World().Mobs.Find(1002)->Imen));
        QCOMPARE(page_->S_BitVCheckListBox->item(1)->checkState(), Qt::Checked);
        QCOMPARE(RowTags(page_->S_RoomListBox), std::vector<int>{1003});
        QCOMPARE(page_->S_Open1ComboBox->currentData().toInt(), 6);
        QCOMPARE(page_->S_Close1ComboBox->currentData().toInt(), 22);
        // The hints reach the page's controls by their names.
        QVERIFY(!page_->S_SellerEdit->toolTip().isEmpty());
        QVERIFY(!page_->S_Msg1Edit->toolTip().isEmpty());
    }

    void factorsShowAsRoundedPercent() {
        StartOnShops();
        Shop().CoeffSell = 1.5;
        Shop().CoeffBuy = 0.125;
        Shop().CoeffChange = 0.375;
        EnterShops();
        QCOMPARE(page_->S_ProfitSellEdit->value(), 150);
        QCOMPARE(page_->S_ProfitBuyEdit->value(), 12);
        QCOMPARE(page_->S_ProfitChangeEdit->value(), 38);
        Retype(page_->S_ProfitSellEdit, QStringLiteral("75"));
        QVERIFY(ApplyEnabled());
        Apply();
        QCOMPARE(Shop().CoeffSell, 0.75);
        const TStringList lines = ZoneFile(World(), 10);
        QCOMPARE(lines[6], std::string("0.75"));
    }

    void buyAndExchangeLists() {
        StartOnShops();
        EnterShops();
        // A kind from the list.
        page_->S_BuyComboBox->setCurrentIndex(page_->S_BuyComboBox->findData(5));
        Click(page_->S_Buy1Btn);
        QVERIFY(ApplyEnabled());
        QCOMPARE(page_->S_BuyListBox->item(4)->text(), QStringLiteral("Оружие"));
        QCOMPARE(RowTags(page_->S_BuyListBox).back(), 5);
        // Keywords: none typed, then typed.
        prompts_->ExpectInformation(QStringLiteral("Введите сначала ключевые слова"));
        Click(page_->S_Buy3Btn);
        QCOMPARE(page_->S_BuyListBox->count(), 5);
        page_->S_BuyEdit->setFocus();
        TypeText(page_->S_BuyEdit, QStringLiteral("рог копыто"));
        Click(page_->S_Buy3Btn);
        QCOMPARE(page_->S_BuyListBox->item(5)->text(), QStringLiteral("рог копыто"));
        QCOMPARE(RowTags(page_->S_BuyListBox).back(), -1);

        // Deleting asks; No keeps the row, Yes removes it and keeps the place.
        page_->S_ChangeListBox->setCurrentRow(-1);
        prompts_->ExpectInformation(QStringLiteral("Выберите сначала вещь для удаления"));
        Click(page_->S_Change2Btn);
        SelectRow(page_->S_BuyListBox, 1);
        prompts_->ExpectConfirm(QStringLiteral("Вы точно хотите удалить выделенную вещь?"), false);
        Click(page_->S_Buy2Btn);
        QCOMPARE(page_->S_BuyListBox->count(), 6);
        prompts_->ExpectConfirm(QStringLiteral("Вы точно хотите удалить выделенную вещь?"), true);
        Click(page_->S_Buy2Btn);
        QCOMPARE(RowTags(page_->S_BuyListBox), (std::vector<int>{1, 19, -1, 5, -1}));
        QCOMPARE(page_->S_BuyListBox->currentRow(), 1);

        page_->S_ChangeEdit->setFocus();
        TypeText(page_->S_ChangeEdit, QStringLiteral("мех"));
        Click(page_->S_Change3Btn);
        Apply();
        QCOMPARE(Shop().GoodsBuy.size(), size_t(5));
        QCOMPARE(Shop().GoodsBuy[3].Tag, 5);
        QCOMPARE(FromCp1251(Shop().GoodsBuy[4].Text), QStringLiteral("рог копыто"));
        QCOMPARE(Shop().GoodsChange.size(), size_t(2));
        const TStringList lines = ZoneFile(World(), 10);
        QCOMPARE(TStringList(lines.begin() + 9, lines.begin() + 19),
                 (TStringList{"1", "19", ToCp1251(QStringLiteral("шкура~")), "5",
                              ToCp1251(QStringLiteral("рог копыто~")), "-1", "12",
                              ToCp1251(QStringLiteral("мех~")), "-1",
                              ToCp1251(QStringLiteral("%s, такого товара у меня нет.~"))}));
    }

    void goodsComeFromThePlainPicker() {
        StartOnShops();
        EnterShops();
        TRoomObjForm* picker = form_->RoomObjForm;
        bool plainWhileOpen = false;
        WhenModal([&](QWidget*) {
            plainWhileOpen = picker->ParamGroupBox->isHidden() &&
                             picker->PanelPercent->isHidden() && picker->IFFlagCheckBox->isHidden();
            picker->ObjectEdit->setFocus();
            picker->ObjectEdit->setValue(1009);
            Click(picker->AddBtn);
        });
        Click(page_->S_Sell1Btn);
        QVERIFY(plainWhileOpen);
        QVERIFY(!picker->ParamGroupBox->isHidden());
        QVERIFY(!picker->IFFlagCheckBox->isHidden());
        QCOMPARE(RowTags(page_->S_SellListBox), (std::vector<int>{1005, 1006, 1007, 1009}));
        QVERIFY(ApplyEnabled());

        // Cancelled, nothing is added.
        WhenModal([&](QWidget*) { Click(picker->CancelBtn); });
        Click(page_->S_Sell1Btn);
        QCOMPARE(page_->S_SellListBox->count(), 4);

        SelectRow(page_->S_SellListBox, 0);
        Click(page_->S_Sell2Btn);
        Apply();
        QCOMPARE(Shop().Goods, (std::vector<int32_t>{1006, 1007, 1009}));
    }

    void addingRoomsPlacesTheSeller() {
        StartOnShops();
        Shop().Rooms.clear();
        for (const int32_t vnum : {1004, 1005})
            EraseMobs(World().Rooms.Find(vnum)->Mobs, 1002);
        EnterShops();
        QCOMPARE(page_->S_RoomListBox->count(), 0);
        const int before = static_cast<int>(World().Rooms.Find(1005)->Mobs.size());

        // The first room asks; No adds nothing.
        prompts_->ExpectConfirm(kFirstRoomWarning, false);
        AddRoom(QStringLiteral("1005"));
        QCOMPARE(page_->S_RoomListBox->count(), 0);
        QVERIFY(!ApplyEnabled());
        QCOMPARE(static_cast<int>(World().Rooms.Find(1005)->Mobs.size()), before);

        // A room that is not loaded gets its row, no seller, and a message.
        prompts_->ExpectConfirm(kFirstRoomWarning, true);
        prompts_->ExpectInformation(
            QStringLiteral("Комната с номером 1299 не загружена в редактор."));
        AddRoom(QStringLiteral("1299"));
        QCOMPARE(RowTags(page_->S_RoomListBox), std::vector<int>{1299});
        QVERIFY(ApplyEnabled());
        QCOMPARE(QApplication::focusWidget(), page_->S_RoomEdit);

        // A second room does not ask; the seller arrives with the goods.
        AddRoom(QStringLiteral("1005"));
        const TRoom& room = *World().Rooms.Find(1005);
        QCOMPARE(static_cast<int>(room.Mobs.size()), before + 1);
        const TRoomMob& seller = room.Mobs.back();
        QCOMPARE(seller.MobVNum, 1002);
        QCOMPARE(seller.IfFlag, false);
        QCOMPARE(seller.Leader, -1);
        QCOMPARE(int(seller.MaxInRoom), 1);
        QCOMPARE(
            seller.Contents,
            (TLinkObjList{{1005, true, -1, 100}, {1006, true, -1, 100}, {1007, true, -1, 100}}));
        QCOMPARE(page_->S_RoomListBox->item(1)->text(), FromCp1251(World().Rooms.CaptionOf(1005)));

        // The same room again would place a second seller: refused.
        prompts_->ExpectInformation(
            QStringLiteral("Комната с номером 1005 уже есть в списке магазина."));
        AddRoom(QStringLiteral("1005"));
        QCOMPARE(page_->S_RoomListBox->count(), 2);
        QCOMPARE(CountOfMob(*World().Rooms.Find(1005), 1002), 1);

        Apply();
        QCOMPARE(Shop().Rooms, (std::vector<int32_t>{1299, 1005}));

        // Removing the room takes the seller away again.
        SelectRow(page_->S_RoomListBox, 1);
        Click(page_->S_Room2Btn);
        QCOMPARE(CountOfMob(*World().Rooms.Find(1005), 1002), 0);
        QCOMPARE(static_cast<int>(World().Rooms.Find(1005)->Mobs.size()), before);
        prompts_->ExpectInformation(
            QStringLiteral("Комната с номером 1299 не загружена в редактор."));
        SelectRow(page_->S_RoomListBox, 0);
        Click(page_->S_Room2Btn);
        QCOMPARE(page_->S_RoomListBox->count(), 0);
        QCOMPARE(QApplication::focusWidget(), page_->S_RoomEdit);
        Apply();
        QVERIFY(Shop().Rooms.empty());
    }

    // The builder placed the keeper already, carrying a sword as a seller the
    // page places would: the room joins the shop without a second keeper (the
    // zone file would reset him twice), and leaving the shop keeps him.
    void aKeeperAlreadyInTheRoomIsNotPlacedAgain() {
        StartOnShops();
        Shop().Rooms.clear();
        TRoomMobList& mobs = World().Rooms.Find(1004)->Mobs;
        EraseMobs(mobs, 1002);
        const TRoomMob own{1002, false, -1, 1, {{1005, true, -1, 100}}};
        mobs.push_back(own);
        const TRoomMobList placed = mobs;
        EnterShops();

        prompts_->ExpectConfirm(kFirstRoomWarning, true);
        prompts_->ExpectInformation(
            QStringLiteral("Продавец 1002 уже стоит в комнате 1004: второго магазин туда не "
                           "ставит."));
        AddRoom(QStringLiteral("1004"));
        QCOMPARE(RowTags(page_->S_RoomListBox), std::vector<int>{1004});
        QCOMPARE(World().Rooms.Find(1004)->Mobs, placed);
        Apply();
        QCOMPARE(Shop().Rooms, std::vector<int32_t>{1004});

        SelectRow(page_->S_RoomListBox, 0);
        Click(page_->S_Room2Btn);
        Apply();
        QVERIFY(Shop().Rooms.empty());
        QCOMPARE(World().Rooms.Find(1004)->Mobs, placed);
    }

    void aShopWithoutAKeeperTakesNoRooms() {
        StartOnShops();
        EnterShops();
        const int rows = page_->S_RoomListBox->count();
        const TRoomMobList mobs = World().Rooms.Find(1005)->Mobs;
        Retype(page_->S_SellerEdit, QStringLiteral("0"));
        QCOMPARE(page_->S_SellerEdit->value(), 0);
        prompts_->ExpectInformation(QStringLiteral(
            "У магазина нет продавца: укажите его номер, прежде чем добавлять комнаты."));
        AddRoom(QStringLiteral("1005"));
        QCOMPARE(page_->S_RoomListBox->count(), rows);
        QCOMPARE(World().Rooms.Find(1005)->Mobs, mobs);
    }

    void theRoomFieldTakesDigitsOnly() {
        StartOnShops();
        EnterShops();
        page_->S_RoomEdit->setFocus();
        TypeText(page_->S_RoomEdit, QStringLiteral("1a2 б3-"));
        QCOMPARE(page_->S_RoomEdit->text(), QStringLiteral("123"));
        QTest::keyClick(page_->S_RoomEdit, Qt::Key_Backspace);
        QCOMPARE(page_->S_RoomEdit->text(), QStringLiteral("12"));
        // Pasted text must make a number too.
        page_->S_RoomEdit->insert(QStringLiteral("4b"));
        QCOMPARE(page_->S_RoomEdit->text(), QStringLiteral("12"));
        page_->S_RoomEdit->insert(QStringLiteral("45"));
        QCOMPARE(page_->S_RoomEdit->text(), QStringLiteral("1245"));
        // Nothing typed: the button does nothing.
        page_->S_RoomEdit->clear();
        Click(page_->S_Room1Btn);
        QCOMPARE(page_->S_RoomListBox->count(), 1);
    }

    void editsSetTheChangeFlagAndLand() {
        StartOnShops();
        EnterShops();
        Retype(page_->S_Msg3Edit, QStringLiteral("Не возьму."));
        QVERIFY(ApplyEnabled());
        form_->ApplyPage();
        QVERIFY(!ApplyEnabled());
        Retype(page_->S_SellerEdit, QStringLiteral("1003"));
        QVERIFY(ApplyEnabled());
        QCOMPARE(page_->S_SellerName->text(), FromCp1251(World().Mobs.Find(1003)->Imen));
        Retype(page_->S_SellerEdit, QStringLiteral("1077"));
        QCOMPARE(page_->S_SellerName->text(), QStringLiteral("(Неизвестный)"));
        Retype(page_->S_EmotionEdit, QStringLiteral("3"));
        QListWidget* who = page_->S_WhoCheckListBox;
        SelectRow(who, 0);
        QTest::keyClick(who, Qt::Key_Space);
        page_->S_Open2ComboBox->setFocus();
        QTest::keyClick(page_->S_Open2ComboBox, Qt::Key_Down);
        Apply();
        QCOMPARE(FromCp1251(Shop().Msg3), QStringLiteral("Не возьму."));
        QCOMPARE(Shop().Seller, 1077);
        QCOMPARE(Shop().Emotion, 3);
        // The new check follows the pairs the shop had.
        QCOMPARE(Shop().NotSellVector, std::string("d1a0"));
        QCOMPARE(int(Shop().Open2), 1);
        const TStringList lines = ZoneFile(World(), 10);
        QCOMPARE(FromCp1251(lines[18]), QStringLiteral("Не возьму.~"));
        QCOMPARE(TStringList(lines.begin() + 23, lines.begin() + 27),
                 (TStringList{"3", "b0", "1077", "d1a0"}));
    }

    void flagsAndHoursTheListsDoNotNameAreKept() {
        StartOnShops();
        Shop().BitVector = "b0z9";
        Shop().Close2 = 200;
        EnterShops();
        QCOMPARE(page_->S_Close2ComboBox->currentText(), QStringLiteral("200 (нет в списке)"));
        form_->ApplyPage();
        QCOMPARE(Shop().BitVector, std::string("b0z9"));
        QCOMPARE(int(Shop().Close2), 200);
    }

    void theShopListWindowShowsEachShopOnce() {
        StartOnShops();
        EnterShops();
        const QAbstractItemModel* window = form_->ListForms[ShopListKind]->ListBox1->model();
        const auto listed = [window] {
            int rows = 0;
            for (int i = 0; i < window->rowCount(); ++i)
                rows += window->index(i, 0).data(Qt::UserRole).toInt() == 1000 ? 1 : 0;
            return rows;
        };
        QCOMPARE(listed(), 1);
        form_->ApplyPage();
        form_->ApplyPage();
        QCOMPARE(listed(), 1);
    }

    void theBlankShopClearsThePage() {
        StartOnShops();
        EnterShops();
        ClickTab(ZonePageIndex);
        Zone().Z_NewZoneEdit->setValue(20);
        Click(Zone().Z_NewBtn);
        ClickTab(ShopPageIndex);
        QCOMPARE(Page(ShopPageIndex).Count(), 0);
        QCOMPARE(page_->S_SellListBox->count(), 0);
        QCOMPARE(page_->S_BuyListBox->count(), 0);
        QCOMPARE(page_->S_RoomListBox->count(), 0);
        QCOMPARE(page_->S_ProfitSellEdit->value(), 100);
        QVERIFY(page_->S_Msg6Edit->text().isEmpty());
        QCOMPARE(page_->S_SellerEdit->value(), 0);
        QCOMPARE(page_->S_BitVCheckListBox->item(1)->checkState(), Qt::Unchecked);
        QCOMPARE(page_->S_Open1ComboBox->currentData().toInt(), 0);
        // Without a shop there is nothing to put into a room.
        Retype(page_->S_RoomEdit, QStringLiteral("1005"));
        Click(page_->S_Room1Btn);
        QCOMPARE(page_->S_RoomListBox->count(), 0);
        Retype(page_->S_Msg1Edit, QStringLiteral("x"));
        QVERIFY(!ApplyEnabled());
    }

    void screenshots() {
        SKIP_UNLESS_SCREENSHOTS();
        StartOnShops();
        EnterShops();
        QVERIFY(SaveShot(*form_, QStringLiteral("shoppage1.png")));
        page_->S_PageControl->setCurrentIndex(1);
        QVERIFY(SaveShot(*form_, QStringLiteral("shoppage2.png")));
    }
};

QTEST_MAIN(TShopPageTest)
#include "shoppage_test.moc"
