#pragma once

// The shop page: goods, prices, what the shop buys and exchanges, the
// seller's messages and temper, the rooms and hours of one shop of the open
// zone. Adding a room also places the seller with the goods there.

#include <QGroupBox>
#include <QWidget>
#include <cstdint>
#include <set>
#include <string>
#include <utility>
#include <vector>

class QComboBox;
class QLabel;
class QLineEdit;
class QListWidget;
class QPushButton;
class QSpinBox;
class QTabWidget;
class TEditorContext;
class TRecordPage;
class TShop;
struct TGoodsType;
struct TRoomMob;

// What a room gets for the seller of a shop: the seller mob, once, carrying
// the goods in its inventory.
TRoomMob SellerEntry(int32_t seller, const std::vector<int32_t>& goods);

// One list of goods types (the kinds a shop buys, or those it takes in
// exchange): a kind chosen from the "Type" list or keywords typed in.
class TGoodsTypesBox : public QGroupBox {
    Q_OBJECT

public:
    // `prefix` names the controls: S_Buy gives S_BuyComboBox, S_Buy1Btn and so on.
    TGoodsTypesBox(const QString& caption, const QString& prefix, QWidget* parent);

    void Show(const std::vector<TGoodsType>& types);
    std::vector<TGoodsType> Read() const;

    QComboBox* KindComboBox; // S_...ComboBox
    QPushButton* KindBtn;    // S_...1Btn "+": the kind chosen
    QLineEdit* KeywordEdit;  // S_...Edit
    QPushButton* KeywordBtn; // S_...3Btn "+": the keywords typed
    QListWidget* ListBox;    // S_...ListBox
    QPushButton* DeleteBtn;  // S_...2Btn "--"

signals:
    // The builder changed the list (or pressed one of its "+" buttons).
    void edited();

private:
    void AddKind();
    void AddKeywords();
    void DeleteRow();
};

class TShopPage : public QWidget {
    Q_OBJECT

public:
    TShopPage(TEditorContext& main, TRecordPage& records);

    void LoadLists(const std::string& programFolder);

    void ShowOnPage(const TShop& shop);
    void ReadFromPage(TShop& shop);

    QTabWidget* S_PageControl;
    QListWidget* S_SellListBox;
    QPushButton* S_Sell1Btn;
    QPushButton* S_Sell2Btn;
    QSpinBox* S_ProfitSellEdit;
    QSpinBox* S_ProfitBuyEdit;
    QSpinBox* S_ProfitChangeEdit;
    TGoodsTypesBox* S_BuyBox;
    QComboBox* S_BuyComboBox;
    QPushButton* S_Buy1Btn;
    QLineEdit* S_BuyEdit;
    QPushButton* S_Buy3Btn;
    QListWidget* S_BuyListBox;
    QPushButton* S_Buy2Btn;
    TGoodsTypesBox* S_ChangeBox;
    QComboBox* S_ChangeComboBox;
    QPushButton* S_Change1Btn;
    QLineEdit* S_ChangeEdit;
    QPushButton* S_Change3Btn;
    QListWidget* S_ChangeListBox;
    QPushButton* S_Change2Btn;
    QLineEdit* S_Msg1Edit;
    QLineEdit* S_Msg2Edit;
    QLineEdit* S_Msg3Edit;
    QLineEdit* S_Msg4Edit;
    QLineEdit* S_Msg5Edit;
    QLineEdit* S_Msg6Edit;
    QLineEdit* S_Msg7Edit;
    QSpinBox* S_EmotionEdit;
    QListWidget* S_BitVCheckListBox;
    QSpinBox* S_SellerEdit;
    QLabel* S_SellerName;
    QListWidget* S_WhoCheckListBox;
    QListWidget* S_RoomListBox;
    QLineEdit* S_RoomEdit;
    QPushButton* S_Room1Btn;
    QPushButton* S_Room2Btn;
    QComboBox* S_Open1ComboBox;
    QComboBox* S_Close1ComboBox;
    QComboBox* S_Open2ComboBox;
    QComboBox* S_Close2ComboBox;

private:
    QWidget* BuildTradeTab();
    QWidget* BuildSellerTab();
    QWidget* BuildGoodsBox();
    QWidget* BuildProfitBox();
    QWidget* BuildRoomBox();
    QWidget* BuildHoursBox();
    QWidget* BuildMessagesBox();
    void ConnectEdits();

    std::vector<QLineEdit*> MessageEdits() const;
    std::vector<QComboBox*> HourCombos() const;

    void Sell1BtnClick();
    void Sell2BtnClick();
    void Room1BtnClick();
    void Room2BtnClick();
    void SellerEditChange();
    void Change();

    TEditorContext& main_;
    TRecordPage& records_;
    bool showing_ = false; // ShowOnPage is filling the controls
    // The (keeper, room) pairs where adding the room found the keeper already
    // placed: the page placed nothing there, so it takes nothing away.
    std::set<std::pair<int32_t, int32_t>> keepersFound_;
};
