#include "shoppage.h"
#include "worlddocument.h"

#include "listform.h"
#include "editorcontext.h"
#include "modeltext.h"
#include "pagesupport.h"
#include "prompts.h"
#include "recordpage.h"
#include "roomobjform.h"
#include "textcodec.h"
#include "vocabularyfill.h"
#include "world.h"

#include <QComboBox>
#include <QFormLayout>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QRegularExpressionValidator>
#include <QSpinBox>
#include <QTabWidget>
#include <QVBoxLayout>
#include <algorithm>
#include <cmath>
#include <limits>

namespace {

// Percent values far beyond any sensible price factor still show unchanged.
constexpr int kLargestPercent = 999999;

template <class W> W* Named(W* widget, const QString& name) {
    widget->setObjectName(name);
    return widget;
}
template <class W> W* Named(W* widget, const char* name) {
    return Named(widget, QLatin1String(name));
}

QPushButton* Button(const char* name, const QString& caption, QWidget* parent) {
    auto* button = Named(new QPushButton(caption, parent), name);
    button->setAutoDefault(false);
    return button;
}

QSpinBox* NumberEdit(const char* name, int minimum, int maximum, QWidget* parent) {
    auto* edit = Named(new QSpinBox(parent), name);
    edit->setRange(minimum, maximum);
    return edit;
}

QSpinBox* Int32Edit(const char* name, QWidget* parent) {
    return NumberEdit(name, std::numeric_limits<int>::min(), std::numeric_limits<int>::max(),
                      parent);
}

// A row showing a record, carrying its number.
void AddNumberRow(QListWidget* list, const std::string& caption, int32_t number) {
    auto* item = new QListWidgetItem(FromCp1251(caption), list);
    item->setData(Qt::UserRole, number);
}

std::vector<int32_t> RowNumbers(const QListWidget* list) {
    std::vector<int32_t> numbers;
    for (int i = 0; i < list->count(); ++i)
        numbers.push_back(list->item(i)->data(Qt::UserRole).toInt());
    return numbers;
}

// Removes a row and selects the one now at its place, or the new last one.
void RemoveRowKeepingPlace(QListWidget* list, int row) {
    delete list->takeItem(row);
    if (list->count() > 0)
        list->setCurrentRow(std::min(row, list->count() - 1));
}

// A factor as the page shows it: percent, halves to the even neighbour.
int Percent(double factor) {
    const double percent = std::nearbyint(factor * 100.0);
    return static_cast<int>(std::clamp(percent, -double(kLargestPercent), double(kLargestPercent)));
}

double Factor(const QSpinBox* edit) {
    return edit->value() / 100.0;
}

uint8_t HourOf(const QComboBox* combo, uint8_t previous) {
    return static_cast<uint8_t>(std::clamp(ReadCode(combo, previous), 0, 255));
}

// A room number field: typed characters other than digits are dropped.
// Backspace, Enter and the control keys (the editing shortcuts, the arrows)
// still work; the validator keeps pasted text to a number as well.
class TDigitKeys : public QObject {
public:
    using QObject::QObject;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override {
        if (event->type() == QEvent::KeyPress) {
            const auto* key = static_cast<QKeyEvent*>(event);
            const QString text =
                key->modifiers() & (Qt::ControlModifier | Qt::AltModifier | Qt::MetaModifier)
                    ? QString()
                    : key->text();
            for (const QChar c : text)
                if (c.isPrint() && !c.isDigit())
                    return true;
        }
        return QObject::eventFilter(watched, event);
    }
};

const QString& UnknownSeller() {
    static const QString text = QStringLiteral("(Неизвестный)");
    return text;
}

QString NotLoadedMessage(const QString& number) {
    return QStringLiteral("Комната с номером ") + number +
           QStringLiteral(" не загружена в редактор.");
}

// An entry as SellerEntry makes it for that seller (whatever the goods were then).
bool IsSellerEntry(const TRoomMob& mob, int32_t seller) {
    return mob.MobVNum == seller && !mob.IfFlag && mob.Leader == -1 && mob.MaxInRoom == 1 &&
           std::all_of(mob.Contents.begin(), mob.Contents.end(), [](const TLinkObj& obj) {
               return obj.IfFlag && obj.WearPos == -1 && obj.Probability == 100;
           });
}

int LastSellerEntry(const TRoomMobList& mobs, int32_t seller) {
    for (int i = static_cast<int>(mobs.size()) - 1; i >= 0; --i)
        if (IsSellerEntry(mobs[static_cast<size_t>(i)], seller))
            return i;
    return -1;
}

} // namespace

TRoomMob SellerEntry(int32_t seller, const std::vector<int32_t>& goods) {
    TRoomMob mob;
    mob.MobVNum = seller;
    mob.IfFlag = false;
    mob.Leader = -1;
    mob.MaxInRoom = 1;
    for (const int32_t obj : goods)
        mob.Contents.push_back(TLinkObj{obj, true, -1, 100});
    return mob;
}

// ---- goods types ----

TGoodsTypesBox::TGoodsTypesBox(const QString& caption, const QString& prefix, QWidget* parent)
    : QGroupBox(caption, parent) {
    const auto name = [&prefix](const char* role) { return prefix + QLatin1String(role); };
    KindComboBox = Named(new QComboBox(this), name("ComboBox"));
    KindComboBox->setMaxVisibleItems(20);
    KindBtn = Named(new QPushButton(QStringLiteral("+"), this), name("1Btn"));
    KeywordEdit = Named(new QLineEdit(this), name("Edit"));
    KeywordBtn = Named(new QPushButton(QStringLiteral("+"), this), name("3Btn"));
    ListBox = Named(new QListWidget(this), name("ListBox"));
    DeleteBtn = Named(new QPushButton(QStringLiteral("--"), this), name("2Btn"));
    for (QPushButton* button : {KindBtn, KeywordBtn, DeleteBtn}) {
        button->setAutoDefault(false);
        button->setFixedWidth(button->fontMetrics().horizontalAdvance(QStringLiteral("----")) * 2);
    }

    auto* grid = new QGridLayout(this);
    grid->addWidget(KindComboBox, 0, 0);
    grid->addWidget(KindBtn, 0, 1);
    grid->addWidget(KeywordEdit, 1, 0);
    grid->addWidget(KeywordBtn, 1, 1);
    grid->addWidget(ListBox, 2, 0, 2, 1);
    grid->addWidget(DeleteBtn, 2, 1, Qt::AlignTop);
    grid->setRowStretch(3, 1);

    connect(KindBtn, &QPushButton::clicked, this, &TGoodsTypesBox::AddKind);
    connect(KeywordBtn, &QPushButton::clicked, this, &TGoodsTypesBox::AddKeywords);
    connect(DeleteBtn, &QPushButton::clicked, this, &TGoodsTypesBox::DeleteRow);
}

void TGoodsTypesBox::Show(const std::vector<TGoodsType>& types) {
    ListBox->clear();
    for (const TGoodsType& type : types)
        AddNumberRow(ListBox, type.Text, type.Tag);
}

std::vector<TGoodsType> TGoodsTypesBox::Read() const {
    std::vector<TGoodsType> types;
    for (int i = 0; i < ListBox->count(); ++i) {
        const QListWidgetItem* item = ListBox->item(i);
        types.push_back({ToModelText(item->text()), item->data(Qt::UserRole).toInt()});
    }
    return types;
}

void TGoodsTypesBox::AddKind() {
    emit edited();
    if (KindComboBox->currentIndex() < 0)
        return;
    auto* item = new QListWidgetItem(KindComboBox->currentText(), ListBox);
    item->setData(Qt::UserRole, KindComboBox->currentData(kCodeRole));
}

void TGoodsTypesBox::AddKeywords() {
    emit edited();
    if (KeywordEdit->text().isEmpty()) {
        Prompts().Information(QStringLiteral("Введите сначала ключевые слова"));
        return;
    }
    // Converted once here, so a substitution is told when the row is made.
    AddNumberRow(ListBox, ToModelText(KeywordEdit->text()), -1);
}

void TGoodsTypesBox::DeleteRow() {
    const int row = ListBox->currentRow();
    if (row < 0 || !ListBox->currentItem()) {
        Prompts().Information(QStringLiteral("Выберите сначала вещь для удаления"));
        return;
    }
    if (!Prompts().Confirm(QStringLiteral("Вы точно хотите удалить выделенную вещь?")))
        return;
    emit edited();
    RemoveRowKeepingPlace(ListBox, row);
}

// ---- the page ----

TShopPage::TShopPage(TEditorContext& main, TRecordPage& records)
    : QWidget(records.Body), main_(main), records_(records) {
    setObjectName(QStringLiteral("ShopPage"));
    S_PageControl = Named(new QTabWidget(this), "S_PageControl");
    S_PageControl->addTab(BuildTradeTab(), QStringLiteral("Товары и цены"));
    S_PageControl->addTab(BuildSellerTab(), QStringLiteral("Продавец"));
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(S_PageControl);
    ConnectEdits();
}

QWidget* TShopPage::BuildTradeTab() {
    auto* tab = new QWidget;
    S_BuyBox = new TGoodsTypesBox(QStringLiteral("Покупаемые вещи"), QStringLiteral("S_Buy"), tab);
    S_BuyComboBox = S_BuyBox->KindComboBox;
    S_Buy1Btn = S_BuyBox->KindBtn;
    S_BuyEdit = S_BuyBox->KeywordEdit;
    S_Buy3Btn = S_BuyBox->KeywordBtn;
    S_BuyListBox = S_BuyBox->ListBox;
    S_Buy2Btn = S_BuyBox->DeleteBtn;
    S_ChangeBox =
        new TGoodsTypesBox(QStringLiteral("Вещи на обмен"), QStringLiteral("S_Change"), tab);
    S_ChangeComboBox = S_ChangeBox->KindComboBox;
    S_Change1Btn = S_ChangeBox->KindBtn;
    S_ChangeEdit = S_ChangeBox->KeywordEdit;
    S_Change3Btn = S_ChangeBox->KeywordBtn;
    S_ChangeListBox = S_ChangeBox->ListBox;
    S_Change2Btn = S_ChangeBox->DeleteBtn;

    auto* grid = new QGridLayout(tab);
    grid->addWidget(BuildGoodsBox(), 0, 0);
    grid->addWidget(S_BuyBox, 0, 1);
    grid->addWidget(S_ChangeBox, 0, 2);
    grid->addWidget(BuildProfitBox(), 1, 0);
    grid->addWidget(BuildHoursBox(), 1, 1);
    grid->addWidget(BuildRoomBox(), 1, 2);
    grid->setRowStretch(0, 3);
    grid->setRowStretch(1, 2);
    for (int column = 0; column < 3; ++column)
        grid->setColumnStretch(column, 1);
    return tab;
}

QWidget* TShopPage::BuildGoodsBox() {
    auto* box = new QGroupBox(QStringLiteral("Список продаваемого"));
    S_SellListBox = Named(new QListWidget(box), "S_SellListBox");
    S_Sell1Btn = Button("S_Sell1Btn", QStringLiteral("Добавить"), box);
    S_Sell2Btn = Button("S_Sell2Btn", QStringLiteral("Убрать"), box);
    auto* buttons = new QHBoxLayout;
    buttons->addWidget(S_Sell1Btn);
    buttons->addWidget(S_Sell2Btn);
    buttons->addStretch(1);
    auto* layout = new QVBoxLayout(box);
    layout->addWidget(S_SellListBox, 1);
    layout->addLayout(buttons);
    return box;
}

QWidget* TShopPage::BuildProfitBox() {
    auto* box = new QGroupBox(QStringLiteral("Прибыль"));
    S_ProfitSellEdit = NumberEdit("S_ProfitSellEdit", -kLargestPercent, kLargestPercent, box);
    S_ProfitBuyEdit = NumberEdit("S_ProfitBuyEdit", -kLargestPercent, kLargestPercent, box);
    S_ProfitChangeEdit = NumberEdit("S_ProfitChangeEdit", -kLargestPercent, kLargestPercent, box);
    auto* form = new QFormLayout(box);
    form->addRow(QStringLiteral("Прибыль от продажи (%)"), S_ProfitSellEdit);
    form->addRow(QStringLiteral("Прибыль от покупки (%)"), S_ProfitBuyEdit);
    form->addRow(QStringLiteral("Прибыль от обмена (%)"), S_ProfitChangeEdit);
    return box;
}

QWidget* TShopPage::BuildHoursBox() {
    auto* box = new QGroupBox(QStringLiteral("Часы работы"));
    S_Open1ComboBox = Named(new QComboBox(box), "S_Open1ComboBox");
    S_Close1ComboBox = Named(new QComboBox(box), "S_Close1ComboBox");
    S_Open2ComboBox = Named(new QComboBox(box), "S_Open2ComboBox");
    S_Close2ComboBox = Named(new QComboBox(box), "S_Close2ComboBox");
    auto* form = new QFormLayout(box);
    form->addRow(QStringLiteral("Время открытия 1"), S_Open1ComboBox);
    form->addRow(QStringLiteral("Время закрытия 1"), S_Close1ComboBox);
    form->addRow(QStringLiteral("Время открытия 2"), S_Open2ComboBox);
    form->addRow(QStringLiteral("Время закрытия 2"), S_Close2ComboBox);
    for (QComboBox* combo : HourCombos())
        combo->setMaxVisibleItems(25);
    return box;
}

QWidget* TShopPage::BuildRoomBox() {
    auto* box = new QGroupBox(QStringLiteral("Комнаты"));
    S_RoomListBox = Named(new QListWidget(box), "S_RoomListBox");
    S_RoomEdit = Named(new QLineEdit(box), "S_RoomEdit");
    S_RoomEdit->installEventFilter(new TDigitKeys(S_RoomEdit));
    // Nine digits always fit a record number.
    S_RoomEdit->setValidator(new QRegularExpressionValidator(
        QRegularExpression(QStringLiteral("[0-9]{0,9}")), S_RoomEdit));
    S_Room1Btn = Button("S_Room1Btn", QStringLiteral("+"), box);
    S_Room2Btn = Button("S_Room2Btn", QStringLiteral("--"), box);
    auto* row = new QHBoxLayout;
    row->addWidget(S_RoomEdit, 1);
    row->addWidget(S_Room1Btn);
    row->addWidget(S_Room2Btn);
    auto* layout = new QVBoxLayout(box);
    layout->addWidget(S_RoomListBox, 1);
    layout->addLayout(row);
    return box;
}

QWidget* TShopPage::BuildMessagesBox() {
    auto* box = new QGroupBox(QStringLiteral("Сообщения продавца"));
    auto* form = new QFormLayout(box);
    QLineEdit** edits[] = {&S_Msg1Edit, &S_Msg2Edit, &S_Msg3Edit, &S_Msg4Edit,
                           &S_Msg5Edit, &S_Msg6Edit, &S_Msg7Edit};
    for (int i = 0; i < 7; ++i) {
        const QString name = QStringLiteral("S_Msg%1Edit").arg(i + 1);
        *edits[i] = Named(new QLineEdit(box), name);
        form->addRow(QStringLiteral("%1.").arg(i + 1), *edits[i]);
    }
    return box;
}

QWidget* TShopPage::BuildSellerTab() {
    auto* tab = new QWidget;

    auto* seller = new QGroupBox(QStringLiteral("Продавец"), tab);
    S_SellerEdit = Int32Edit("S_SellerEdit", seller);
    S_SellerName = Named(new QLabel(UnknownSeller(), seller), "S_SellerName");
    S_SellerName->setWordWrap(true);
    S_EmotionEdit = Int32Edit("S_EmotionEdit", seller);
    auto* sellerForm = new QFormLayout(seller);
    sellerForm->addRow(QStringLiteral("Номер продавца"), S_SellerEdit);
    sellerForm->addRow(QString(), S_SellerName);
    sellerForm->addRow(QStringLiteral("Темперамент"), S_EmotionEdit);

    auto* flags = new QGroupBox(QStringLiteral("Битвекторы"), tab);
    S_BitVCheckListBox = Named(new QListWidget(flags), "S_BitVCheckListBox");
    (new QVBoxLayout(flags))->addWidget(S_BitVCheckListBox);

    auto* who = new QGroupBox(QStringLiteral("С кем торгует"), tab);
    S_WhoCheckListBox = Named(new QListWidget(who), "S_WhoCheckListBox");
    (new QVBoxLayout(who))->addWidget(S_WhoCheckListBox);

    auto* left = new QVBoxLayout;
    left->addWidget(seller);
    left->addWidget(flags, 1);

    auto* bottom = new QHBoxLayout;
    bottom->addLayout(left, 1);
    bottom->addWidget(who, 1);

    auto* layout = new QVBoxLayout(tab);
    layout->addWidget(BuildMessagesBox());
    layout->addLayout(bottom, 1);
    return tab;
}

void TShopPage::ConnectEdits() {
    connect(S_Sell1Btn, &QPushButton::clicked, this, &TShopPage::Sell1BtnClick);
    connect(S_Sell2Btn, &QPushButton::clicked, this, &TShopPage::Sell2BtnClick);
    connect(S_Room1Btn, &QPushButton::clicked, this, &TShopPage::Room1BtnClick);
    connect(S_Room2Btn, &QPushButton::clicked, this, &TShopPage::Room2BtnClick);
    connect(S_SellerEdit, &QSpinBox::valueChanged, this, &TShopPage::SellerEditChange);
    for (TGoodsTypesBox* box : {S_BuyBox, S_ChangeBox})
        connect(box, &TGoodsTypesBox::edited, this, [this] { main_.RecordPage(ShopPageIndex)->Change(); });
    for (QSpinBox* edit : {S_ProfitSellEdit, S_ProfitBuyEdit, S_ProfitChangeEdit, S_EmotionEdit})
        connect(edit, &QSpinBox::valueChanged, this, &TShopPage::Change);
    for (QLineEdit* edit : MessageEdits())
        connect(edit, &QLineEdit::textChanged, this, &TShopPage::Change);
    for (QListWidget* list : {S_BitVCheckListBox, S_WhoCheckListBox})
        connect(list, &QListWidget::itemChanged, this, &TShopPage::Change);
    for (QComboBox* combo : HourCombos())
        connect(combo, &QComboBox::currentIndexChanged, this, &TShopPage::Change);
}

void TShopPage::LoadLists(const std::string& programFolder) {
    for (QComboBox* combo : {S_BuyComboBox, S_ChangeComboBox})
        LoadListReporting([&] { FillCodeCombo(programFolder, "Type", combo, 0, 0); });
    for (QComboBox* combo : HourCombos())
        LoadListReporting([&] { FillCodeCombo(programFolder, "Shop_Hours", combo, 0, 0); });
    LoadListReporting(
        [&] { FillFlagList(programFolder, "Shop_Bitvector", S_BitVCheckListBox, 0); });
    LoadListReporting(
        [&] { FillFlagList(programFolder, "Shop_Race_Bitvector", S_WhoCheckListBox, 0); });
}

std::vector<QLineEdit*> TShopPage::MessageEdits() const {
    return {S_Msg1Edit, S_Msg2Edit, S_Msg3Edit, S_Msg4Edit, S_Msg5Edit, S_Msg6Edit, S_Msg7Edit};
}

std::vector<QComboBox*> TShopPage::HourCombos() const {
    return {S_Open1ComboBox, S_Close1ComboBox, S_Open2ComboBox, S_Close2ComboBox};
}

void TShopPage::ShowOnPage(const TShop& shop) {
    showing_ = true;
    S_SellListBox->clear();
    for (const int32_t obj : shop.Goods)
        AddNumberRow(S_SellListBox, main_.World().Objs.CaptionOf(obj), obj);
    S_ProfitSellEdit->setValue(Percent(shop.CoeffSell));
    S_ProfitBuyEdit->setValue(Percent(shop.CoeffBuy));
    S_ProfitChangeEdit->setValue(Percent(shop.CoeffChange));
    S_BuyBox->Show(shop.GoodsBuy);
    S_ChangeBox->Show(shop.GoodsChange);
    const std::vector<const std::string*> messages = {
        &shop.Msg1, &shop.Msg2, &shop.Msg3, &shop.Msg4, &shop.Msg5, &shop.Msg6, &shop.Msg7};
    const std::vector<QLineEdit*> edits = MessageEdits();
    for (size_t i = 0; i < edits.size(); ++i)
        edits[i]->setText(FromCp1251(*messages[i]));
    S_EmotionEdit->setValue(shop.Emotion);
    FlagsToChecks(shop.BitVector, S_BitVCheckListBox);
    S_SellerEdit->setValue(shop.Seller);
    SellerEditChange(); // the name, also when the number stayed the same
    FlagsToChecks(shop.NotSellVector, S_WhoCheckListBox);
    S_RoomListBox->clear();
    for (const int32_t room : shop.Rooms)
        AddNumberRow(S_RoomListBox, main_.World().Rooms.CaptionOf(room), room);
    const uint8_t hours[] = {shop.Open1, shop.Close1, shop.Open2, shop.Close2};
    const std::vector<QComboBox*> combos = HourCombos();
    for (size_t i = 0; i < combos.size(); ++i)
        ShowCode(combos[i], hours[i]);
    showing_ = false;
}

void TShopPage::ReadFromPage(TShop& shop) {
    shop.Goods = RowNumbers(S_SellListBox);
    shop.CoeffSell = Factor(S_ProfitSellEdit);
    shop.CoeffBuy = Factor(S_ProfitBuyEdit);
    shop.CoeffChange = Factor(S_ProfitChangeEdit);
    shop.GoodsBuy = S_BuyBox->Read();
    shop.GoodsChange = S_ChangeBox->Read();
    std::string* messages[] = {&shop.Msg1, &shop.Msg2, &shop.Msg3, &shop.Msg4,
                               &shop.Msg5, &shop.Msg6, &shop.Msg7};
    const std::vector<QLineEdit*> edits = MessageEdits();
    for (size_t i = 0; i < edits.size(); ++i)
        *messages[i] = ToModelText(edits[i]->text());
    shop.Emotion = S_EmotionEdit->value();
    shop.BitVector = ChecksToFlagsKeeping(S_BitVCheckListBox, shop.BitVector);
    shop.Seller = S_SellerEdit->value();
    shop.NotSellVector = ChecksToFlagsKeeping(S_WhoCheckListBox, shop.NotSellVector);
    shop.Rooms = RowNumbers(S_RoomListBox);
    shop.Open1 = HourOf(S_Open1ComboBox, shop.Open1);
    shop.Close1 = HourOf(S_Close1ComboBox, shop.Close1);
    shop.Open2 = HourOf(S_Open2ComboBox, shop.Open2);
    shop.Close2 = HourOf(S_Close2ComboBox, shop.Close2);
}

void TShopPage::Sell1BtnClick() {
    TRoomObjForm* picker = main_.RoomObjForm;
    picker->SetPlainMode(true);
    picker->Preset(TLinkObj{});
    picker->exec();
    picker->SetPlainMode(false);
    if (!picker->Accepted())
        return;
    TLinkObj chosen;
    picker->Result(chosen);
    AddNumberRow(S_SellListBox, main_.World().Objs.CaptionOf(chosen.ObjVNum), chosen.ObjVNum);
    main_.RecordPage(ShopPageIndex)->Change();
}

void TShopPage::Sell2BtnClick() {
    const int row = S_SellListBox->currentRow();
    if (row < 0 || !S_SellListBox->currentItem())
        return;
    delete S_SellListBox->takeItem(row);
    main_.RecordPage(ShopPageIndex)->Change();
}

void TShopPage::Room1BtnClick() {
    const QString text = S_RoomEdit->text();
    bool number = false;
    const int32_t vnum = text.toInt(&number);
    if (text.isEmpty() || !number || !records_.HasSelection())
        return;
    if (S_SellerEdit->value() <= 0) {
        // The room would get a mob #0, which the server cannot load.
        Prompts().Information(QStringLiteral(
            "У магазина нет продавца: укажите его номер, прежде чем добавлять комнаты."));
        S_SellerEdit->setFocus();
        return;
    }
    if (S_RoomListBox->count() == 0 &&
        !Prompts().Confirm(QStringLiteral(
            "Внимание!\r\nДобавлять магазин в комнату можно только после того,\r\nкогда магазин "
            "будет ПОЛНОСТЬЮ сделан.\r\nВы уверены, что хотите добавить магазин в комнату?")))
        return;
    // A second row for the same room would put a second seller there.
    const std::vector<int32_t> rooms = RowNumbers(S_RoomListBox);
    if (std::find(rooms.begin(), rooms.end(), vnum) != rooms.end()) {
        Prompts().Information(QStringLiteral("Комната с номером ") + text +
                              QStringLiteral(" уже есть в списке магазина."));
        S_RoomEdit->setFocus();
        return;
    }
    AddNumberRow(S_RoomListBox, main_.World().Rooms.CaptionOf(vnum), vnum);
    main_.RecordPage(ShopPageIndex)->Change();
    const TRoom* room = main_.World().Rooms.Find(vnum);
    const int32_t seller = S_SellerEdit->value();
    if (!room) {
        Prompts().Information(NotLoadedMessage(text));
    } else if (room->Mobs.IndexOfMob(seller) >= 0) {
        // The keeper already stands there (the builder put him there, with
        // what he carries): a second one would make two keepers in one shop.
        // Taking the room off the shop later leaves him where he is.
        keepersFound_.insert({seller, vnum});
        Prompts().Information(QStringLiteral("Продавец %1 уже стоит в комнате %2: второго "
                                             "магазин туда не ставит.")
                                  .arg(seller)
                                  .arg(vnum));
    } else {
        keepersFound_.erase({seller, vnum});
        // The seller goes into the room at once, as a step of its own.
        TRoom placed = *room;
        placed.Mobs.push_back(SellerEntry(seller, RowNumbers(S_SellListBox)));
        main_.Document->SetRecord(main_.PlaceOn(ShopPageIndex),
                                  QStringLiteral("продавец в комнате %1").arg(vnum),
                                  std::move(placed));
    }
    S_RoomEdit->setFocus();
}

void TShopPage::Room2BtnClick() {
    const int row = S_RoomListBox->currentRow();
    if (row < 0 || !S_RoomListBox->currentItem())
        return;
    const int32_t vnum = S_RoomListBox->currentItem()->data(Qt::UserRole).toInt();
    if (const TRoom* room = main_.World().Rooms.Find(vnum)) {
        // The entry this page places (it appends one), not a mob of the same
        // number the builder placed there with settings of their own, nor
        // the keeper the page found there when the room was added.
        const int32_t seller = S_SellerEdit->value();
        const int index =
            keepersFound_.erase({seller, vnum}) > 0 ? -1 : LastSellerEntry(room->Mobs, seller);
        if (index >= 0) {
            TRoom left = *room;
            left.Mobs.erase(left.Mobs.begin() + index);
            main_.Document->SetRecord(main_.PlaceOn(ShopPageIndex),
                                      QStringLiteral("продавец убран из комнаты %1").arg(vnum),
                                      std::move(left));
        }
    } else {
        Prompts().Information(NotLoadedMessage(QString::number(vnum)));
    }
    delete S_RoomListBox->takeItem(row);
    main_.RecordPage(ShopPageIndex)->Change();
    S_RoomEdit->setFocus();
}

void TShopPage::SellerEditChange() {
    Change();
    const TMob* mob = main_.World().Mobs.Find(S_SellerEdit->value());
    S_SellerName->setText(mob ? FromCp1251(mob->Imen) : UnknownSeller());
}

void TShopPage::Change() {
    if (!showing_)
        main_.RecordPage(ShopPageIndex)->Change();
}

void AttachShopPage(TEditorContext& main) {
    TRecordPage& records = *main.RecordPage(ShopPageIndex);
    auto* page = new TShopPage(main, records);
    auto* layout = new QVBoxLayout(records.Body);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(page);
    page->LoadLists(main.ProgramFolder);

    records.ShowRecord = ShowFrom(page, main.World().Shops);
    records.StoreRecord = StoreInto(*main.Document, page, main.World().Shops);
}
