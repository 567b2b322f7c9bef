#include "roomcontentspage.h"

#include "editorcontext.h"
#include "prompts.h"
#include "roommobform.h"
#include "roomobjform.h"
#include "textcodec.h"
#include "world.h"

#include <QComboBox>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QSignalBlocker>
#include <QSpinBox>
#include <QTabWidget>
#include <QVBoxLayout>
#include <tuple>

namespace {

constexpr int kContainerKind = 15;

template <class T> T* Named(T* widget, const char* name) {
    widget->setObjectName(QLatin1String(name));
    return widget;
}

// The add, edit and delete buttons of a list, named prefix1 to prefix3.
std::tuple<QPushButton*, QPushButton*, QPushButton*> ListButtons(QWidget* parent,
                                                                 const QString& prefix) {
    const auto button = [&](int n, const QString& caption) {
        auto* made = new QPushButton(caption, parent);
        made->setObjectName(prefix + QString::number(n));
        return made;
    };
    return {button(1, QStringLiteral("Добавить")), button(2, QStringLiteral("Редактировать")),
            button(3, QStringLiteral("Удалить"))};
}

// An entry with a check mark, added without the list's signals.
QListWidgetItem* AddCheckEntry(QListWidget* list, const QString& text, bool checked) {
    const QSignalBlocker block(list);
    auto* item = new QListWidgetItem(text, list);
    item->setFlags(item->flags() | Qt::ItemIsUserCheckable);
    item->setCheckState(checked ? Qt::Checked : Qt::Unchecked);
    return item;
}

void SetEntry(QListWidgetItem* item, const QString& text, bool checked) {
    const QSignalBlocker block(item->listWidget());
    item->setText(text);
    item->setCheckState(checked ? Qt::Checked : Qt::Unchecked);
}

bool IsChecked(const QListWidgetItem* item) {
    return item->checkState() == Qt::Checked;
}

// Removes an entry and selects the one now at its place, or the last.
void RemoveEntry(QListWidget* list, int row) {
    {
        const QSignalBlocker block(list);
        delete list->takeItem(row);
        list->setCurrentRow(-1);
    }
    if (list->count() > 0)
        list->setCurrentRow(std::min(row, list->count() - 1));
}

QString ObjCaption(const TWorld& world, int32_t vnum) {
    return FromCp1251(world.Objs.CaptionOf(vnum));
}

QString MobCaption(const TWorld& world, int32_t vnum) {
    return FromCp1251(world.Mobs.CaptionOf(vnum));
}

// A list with its buttons in a column beside it, under a caption.
QWidget* ListWithButtons(QWidget* parent, const QString& caption, QListWidget* list,
                         std::initializer_list<QPushButton*> buttons) {
    auto* box = new QWidget(parent);
    auto* grid = new QGridLayout(box);
    grid->setContentsMargins(0, 0, 0, 0);
    grid->addWidget(new QLabel(caption, box), 0, 0, 1, 2);
    grid->addWidget(list, 1, 0);
    auto* column = new QVBoxLayout;
    for (QPushButton* button : buttons)
        column->addWidget(button);
    column->addStretch();
    grid->addLayout(column, 1, 1);
    grid->setColumnStretch(0, 1);
    return box;
}

} // namespace

TRoomContents::TRoomContents(TEditorContext& main, QTabWidget* tabs, std::function<bool()> hasRoom,
                             std::function<void()> change)
    : QObject(tabs), main_(main), hasRoom_(std::move(hasRoom)), change_(std::move(change)) {
    tabs->addTab(BuildObjectsTab(), QStringLiteral("Объекты"));
    tabs->addTab(BuildMobsTab(), QStringLiteral("Мобы"));
    tabs->addTab(BuildOtherTab(), QStringLiteral("Прочее"));
    Connect();
}

QWidget* TRoomContents::BuildObjectsTab() {
    auto* tab = new QWidget;
    R_ObjectCheckListBox = Named(new QListWidget(tab), "R_ObjectCheckListBox");
    std::tie(R_ObjectBtn1, R_ObjectBtn2, R_ObjectBtn3) =
        ListButtons(tab, QStringLiteral("R_ObjectBtn"));
    R_OObjCheckListBox = Named(new QListWidget(tab), "R_OObjCheckListBox");
    std::tie(R_OObjBtn1, R_OObjBtn2, R_OObjBtn3) = ListButtons(tab, QStringLiteral("R_OObjBtn"));
    // One list above the other: side by side, each would be too narrow for
    // a number and a name beside its buttons.
    auto* layout = new QVBoxLayout(tab);
    layout->addWidget(ListWithButtons(tab, QStringLiteral("Объекты в комнате"),
                                      R_ObjectCheckListBox,
                                      {R_ObjectBtn1, R_ObjectBtn2, R_ObjectBtn3}));
    layout->addWidget(ListWithButtons(tab, QStringLiteral("Внутри объекта"), R_OObjCheckListBox,
                                      {R_OObjBtn1, R_OObjBtn2, R_OObjBtn3}));
    return tab;
}

QWidget* TRoomContents::BuildMobsTab() {
    auto* tab = new QWidget;
    R_MobCheckListBox = Named(new QListWidget(tab), "R_MobCheckListBox");
    std::tie(R_MobBtn1, R_MobBtn2, R_MobBtn3) = ListButtons(tab, QStringLiteral("R_MobBtn"));
    R_MObjCheckListBox = Named(new QListWidget(tab), "R_MObjCheckListBox");
    std::tie(R_MObjBtn1, R_MObjBtn2, R_MObjBtn3) = ListButtons(tab, QStringLiteral("R_MObjBtn"));
    R_MFolComboBox = Named(new QComboBox(tab), "R_MFolComboBox");
    R_MMaxEdit = Named(new QSpinBox(tab), "R_MMaxEdit");
    R_MMaxEdit->setRange(INT16_MIN, INT16_MAX);
    R_MMaxWLabel = Named(new QLabel(QStringLiteral("?"), tab), "R_MMaxWLabel");
    R_MMaxWLabel->setMinimumWidth(40);

    auto* layout = new QVBoxLayout(tab);
    layout->addWidget(ListWithButtons(tab, QStringLiteral("Мобы в комнате"), R_MobCheckListBox,
                                      {R_MobBtn1, R_MobBtn2, R_MobBtn3}),
                      1);
    layout->addWidget(ListWithButtons(tab, QStringLiteral("Вещи моба"), R_MObjCheckListBox,
                                      {R_MObjBtn1, R_MObjBtn2, R_MObjBtn3}),
                      1);
    auto* details = new QHBoxLayout;
    auto* follows = new QLabel(QStringLiteral("Следует за"), tab);
    follows->setBuddy(R_MFolComboBox);
    details->addWidget(follows);
    details->addWidget(R_MFolComboBox, 1);
    auto* max = new QLabel(QStringLiteral("Макс."), tab);
    max->setBuddy(R_MMaxEdit);
    details->addWidget(max);
    details->addWidget(R_MMaxEdit);
    details->addWidget(new QLabel(QStringLiteral("в мире"), tab));
    details->addWidget(R_MMaxWLabel);
    layout->addLayout(details);
    return tab;
}

QWidget* TRoomContents::BuildOtherTab() {
    auto* tab = new QWidget;
    R_ODelCheckListBox = Named(new QListWidget(tab), "R_ODelCheckListBox");
    std::tie(SpeedButton1, SpeedButton2, SpeedButton3) =
        ListButtons(tab, QStringLiteral("SpeedButton"));
    auto* layout = new QHBoxLayout(tab);
    layout->addWidget(ListWithButtons(tab, QStringLiteral("Объекты для удаления из комнаты"),
                                      R_ODelCheckListBox,
                                      {SpeedButton1, SpeedButton2, SpeedButton3}));
    return tab;
}

// The add, edit and delete buttons of a list of what an object holds or a
// mob carries; each needs its owner selected (`missing` otherwise).
void TRoomContents::ConnectLinkList(QListWidget* list, std::array<QPushButton*, 3> buttons,
                                    TLinkObjList* (TRoomContents::*owner)(), const QString& missing,
                                    bool params) {
    const auto contents = [this, owner, missing]() -> TLinkObjList* {
        if (TLinkObjList* found = (this->*owner)())
            return found;
        Prompts().Error(missing);
        return nullptr;
    };
    connect(buttons[0], &QPushButton::clicked, this, [this, list, contents, params] {
        if (TLinkObjList* found = contents())
            LinkAdd(list, found, params, true);
    });
    connect(buttons[1], &QPushButton::clicked, this, [this, list, contents, params] {
        if (TLinkObjList* found = contents())
            LinkEdit(list, found, params);
    });
    connect(buttons[2], &QPushButton::clicked, this, [this, list, contents] {
        if (TLinkObjList* found = contents())
            LinkDelete(list, found);
    });
    connect(list, &QListWidget::itemChanged, this, [this, list, owner](QListWidgetItem* item) {
        LinkCheck(list, (this->*owner)(), item);
    });
}

void TRoomContents::Connect() {
    connect(R_ObjectBtn1, &QPushButton::clicked, this, &TRoomContents::ObjectAdd);
    connect(R_ObjectBtn2, &QPushButton::clicked, this, &TRoomContents::ObjectEdit);
    connect(R_ObjectBtn3, &QPushButton::clicked, this, &TRoomContents::ObjectDelete);
    connect(R_ObjectCheckListBox, &QListWidget::currentRowChanged, this,
            &TRoomContents::ObjectClick);
    connect(R_ObjectCheckListBox, &QListWidget::itemChanged, this, [this] { change_(); });

    ConnectLinkList(R_OObjCheckListBox, {R_OObjBtn1, R_OObjBtn2, R_OObjBtn3},
                    &TRoomContents::SelectedObjectContents, QStringLiteral("Выберите объект"),
                    false);

    connect(R_MobBtn1, &QPushButton::clicked, this, &TRoomContents::MobAdd);
    connect(R_MobBtn2, &QPushButton::clicked, this, &TRoomContents::MobEdit);
    connect(R_MobBtn3, &QPushButton::clicked, this, &TRoomContents::MobDelete);
    connect(R_MobCheckListBox, &QListWidget::currentRowChanged, this, &TRoomContents::MobDetails);
    connect(R_MobCheckListBox, &QListWidget::itemChanged, this, [this] { change_(); });

    ConnectLinkList(R_MObjCheckListBox, {R_MObjBtn1, R_MObjBtn2, R_MObjBtn3},
                    &TRoomContents::SelectedMobContents, QStringLiteral("Выберите моба"), true);
    connect(R_MFolComboBox, &QComboBox::activated, this, &TRoomContents::MFolChange);
    connect(R_MMaxEdit, &QSpinBox::valueChanged, this, &TRoomContents::MMaxChange);

    connect(SpeedButton1, &QPushButton::clicked, this, &TRoomContents::DelAdd);
    connect(SpeedButton2, &QPushButton::clicked, this, &TRoomContents::DelEdit);
    connect(SpeedButton3, &QPushButton::clicked, this, &TRoomContents::DelDelete);
    connect(R_ODelCheckListBox, &QListWidget::itemChanged, this, [this] { change_(); });
}

// ---- show and store ----

void TRoomContents::ShowOnPage(const TRoom& room) {
    showing_ = true;
    objects_.assign(room.Objects.begin(), room.Objects.end());
    {
        const QSignalBlocker block(R_ObjectCheckListBox);
        R_ObjectCheckListBox->clear();
    }
    for (const TRoomObj& obj : objects_)
        AddCheckEntry(R_ObjectCheckListBox, ObjCaption(main_.World(), obj.ObjVNum), obj.IfFlag);
    R_ObjectCheckListBox->setCurrentRow(objects_.empty() ? -1 : 0);
    ObjectClick();

    mobs_.assign(room.Mobs.begin(), room.Mobs.end());
    {
        const QSignalBlocker block(R_MobCheckListBox);
        R_MobCheckListBox->clear();
    }
    for (const TRoomMob& mob : mobs_)
        AddCheckEntry(R_MobCheckListBox, MobCaption(main_.World(), mob.MobVNum), mob.IfFlag);
    {
        const QSignalBlocker block(R_MobCheckListBox);
        R_MobCheckListBox->setCurrentRow(mobs_.empty() ? -1 : 0);
    }
    MobDetails();

    {
        const QSignalBlocker block(R_ODelCheckListBox);
        R_ODelCheckListBox->clear();
    }
    for (const int32_t packed : room.DelObjects) {
        const int32_t vnum = PackedNumber(packed);
        AddCheckEntry(R_ODelCheckListBox, ObjCaption(main_.World(), vnum), PackedIfFlag(packed))
            ->setData(Qt::UserRole, vnum);
    }
    showing_ = false;
}

void TRoomContents::ReadFromPage(TRoom& room) const {
    room.Objects.clear();
    for (size_t i = 0; i < objects_.size(); ++i) {
        TRoomObj obj = objects_[i];
        obj.IfFlag = IsChecked(R_ObjectCheckListBox->item(static_cast<int>(i)));
        room.Objects.push_back(std::move(obj));
    }
    room.Mobs.clear();
    for (size_t i = 0; i < mobs_.size(); ++i) {
        TRoomMob mob = mobs_[i];
        mob.IfFlag = IsChecked(R_MobCheckListBox->item(static_cast<int>(i)));
        room.Mobs.push_back(std::move(mob));
    }
    room.DelObjects.clear();
    for (int row = 0; row < R_ODelCheckListBox->count(); ++row) {
        const QListWidgetItem* item = R_ODelCheckListBox->item(row);
        room.DelObjects.push_back(PackIfFlag(IsChecked(item), item->data(Qt::UserRole).toInt()));
    }
}

bool TRoomContents::NeedRoom(const QString& message) const {
    if (hasRoom_())
        return true;
    Prompts().Error(message);
    return false;
}

// ---- room objects ----

void TRoomContents::ObjectAdd() {
    if (!NeedRoom(QStringLiteral("Сначала выберите комнату")))
        return;
    TRoomObjForm* form = main_.RoomObjForm;
    form->SetPlainMode(false);
    form->ShowParams(false);
    TLinkObj link;
    link.IfFlag = false;
    link.Probability = 100;
    form->Preset(link);
    form->exec();
    if (form->Accepted()) {
        form->Result(link);
        change_();
        objects_.push_back({link.ObjVNum, link.IfFlag, link.Probability, {}});
        AddCheckEntry(R_ObjectCheckListBox, ObjCaption(main_.World(), link.ObjVNum), link.IfFlag);
    }
    ContainerRule(R_ObjectCheckListBox->count() - 1);
}

void TRoomContents::ObjectEdit() {
    if (!NeedRoom(QStringLiteral("Сначала выберите комнату")))
        return;
    const int row = R_ObjectCheckListBox->currentRow();
    if (row < 0) {
        Prompts().Error(QStringLiteral("Выберите объект"));
        return;
    }
    TRoomObj& obj = objects_[static_cast<size_t>(row)];
    TRoomObjForm* form = main_.RoomObjForm;
    form->SetPlainMode(false);
    form->ShowParams(false);
    TLinkObj link{obj.ObjVNum, IsChecked(R_ObjectCheckListBox->item(row)), 0, obj.Probability};
    form->Preset(link);
    form->exec();
    if (form->Accepted()) {
        form->Result(link);
        change_();
        obj.ObjVNum = link.ObjVNum;
        obj.Probability = link.Probability;
        SetEntry(R_ObjectCheckListBox->item(row), ObjCaption(main_.World(), link.ObjVNum), link.IfFlag);
    }
    ContainerRule(row);
}

void TRoomContents::ObjectDelete() {
    const int row = R_ObjectCheckListBox->currentRow();
    if (row < 0) {
        Prompts().Error(QStringLiteral("Выберите объект"));
        return;
    }
    if (!Prompts().Confirm(QStringLiteral("Вы действительно хотите удалить этот объект?")))
        return;
    change_();
    objects_.erase(objects_.begin() + row);
    RemoveEntry(R_ObjectCheckListBox, row);
    ObjectClick();
}

// A container placed in the room is also removed from it at reset, once.
void TRoomContents::ContainerRule(int row) {
    if (row < 0 || row >= static_cast<int>(objects_.size()))
        return;
    const int32_t vnum = objects_[static_cast<size_t>(row)].ObjVNum;
    const TObj* obj = main_.World().Objs.Find(vnum);
    if (!obj || obj->Kind != kContainerKind || InDelList(vnum))
        return;
    AddCheckEntry(R_ODelCheckListBox, ObjCaption(main_.World(), vnum), false)->setData(Qt::UserRole, vnum);
}

void TRoomContents::ObjectClick() {
    const QSignalBlocker block(R_OObjCheckListBox);
    R_OObjCheckListBox->clear();
    if (const TLinkObjList* contents = SelectedObjectContents())
        for (const TLinkObj& link : *contents)
            AddCheckEntry(R_OObjCheckListBox, ObjCaption(main_.World(), link.ObjVNum), link.IfFlag);
}

TLinkObjList* TRoomContents::SelectedObjectContents() {
    const int row = R_ObjectCheckListBox->currentRow();
    if (row < 0 || row >= static_cast<int>(objects_.size()))
        return nullptr;
    return &objects_[static_cast<size_t>(row)].Contents;
}

TLinkObjList* TRoomContents::SelectedMobContents() {
    const int row = R_MobCheckListBox->currentRow();
    if (row < 0 || row >= static_cast<int>(mobs_.size()))
        return nullptr;
    return &mobs_[static_cast<size_t>(row)].Contents;
}

// ---- objects inside an object or on a mob ----

void TRoomContents::LinkAdd(QListWidget* list, TLinkObjList* contents, bool params, bool ifFlag) {
    TRoomObjForm* form = main_.RoomObjForm;
    form->SetPlainMode(false);
    form->ShowParams(params);
    TLinkObj link;
    link.IfFlag = ifFlag;
    form->Preset(link);
    form->exec();
    if (!form->Accepted())
        return;
    form->Result(link);
    change_();
    contents->push_back(link);
    AddCheckEntry(list, ObjCaption(main_.World(), link.ObjVNum), link.IfFlag);
}

void TRoomContents::LinkEdit(QListWidget* list, TLinkObjList* contents, bool params) {
    const int row = list->currentRow();
    if (row < 0 || row >= static_cast<int>(contents->size())) {
        Prompts().Error(QStringLiteral("Выберите объект"));
        return;
    }
    TLinkObj link = (*contents)[static_cast<size_t>(row)];
    link.IfFlag = IsChecked(list->item(row));
    TRoomObjForm* form = main_.RoomObjForm;
    form->SetPlainMode(false);
    form->ShowParams(params);
    form->Preset(link);
    form->exec();
    if (!form->Accepted())
        return;
    form->Result(link);
    change_();
    (*contents)[static_cast<size_t>(row)] = link;
    SetEntry(list->item(row), ObjCaption(main_.World(), link.ObjVNum), link.IfFlag);
}

void TRoomContents::LinkDelete(QListWidget* list, TLinkObjList* contents) {
    const int row = list->currentRow();
    if (row < 0 || row >= static_cast<int>(contents->size())) {
        Prompts().Error(QStringLiteral("Выберите объект"));
        return;
    }
    if (!Prompts().Confirm(QStringLiteral("Вы действительно хотите удалить этот объект?")))
        return;
    change_();
    contents->erase(contents->begin() + row);
    RemoveEntry(list, row);
}

void TRoomContents::LinkCheck(QListWidget* list, TLinkObjList* contents, QListWidgetItem* item) {
    const int row = list->row(item);
    if (!contents || row < 0 || row >= static_cast<int>(contents->size()))
        return;
    change_();
    (*contents)[static_cast<size_t>(row)].IfFlag = IsChecked(item);
}

// ---- mobs ----

void TRoomContents::MobAdd() {
    if (!NeedRoom(QStringLiteral("Сначала выберите комнату")))
        return;
    TRoomMob mob;
    TRoomMobForm* form = main_.RoomMobForm;
    form->Preset(mob);
    form->exec();
    if (!form->Accepted())
        return;
    form->Result(mob);
    change_();
    mobs_.push_back(mob);
    AddCheckEntry(R_MobCheckListBox, MobCaption(main_.World(), mob.MobVNum), mob.IfFlag);
    R_MobCheckListBox->setCurrentRow(R_MobCheckListBox->count() - 1);
    MobDetails();
}

void TRoomContents::MobEdit() {
    if (!NeedRoom(QStringLiteral("Сначала выберите комнату")))
        return;
    const int row = R_MobCheckListBox->currentRow();
    if (row < 0) {
        Prompts().Error(QStringLiteral("Выберите моба"));
        return;
    }
    TRoomMob mob = mobs_[static_cast<size_t>(row)];
    mob.IfFlag = IsChecked(R_MobCheckListBox->item(row));
    TRoomMobForm* form = main_.RoomMobForm;
    form->Preset(mob);
    form->exec();
    if (!form->Accepted())
        return;
    form->Result(mob);
    change_();
    mobs_[static_cast<size_t>(row)] = mob;
    SetEntry(R_MobCheckListBox->item(row), MobCaption(main_.World(), mob.MobVNum), mob.IfFlag);
    MobDetails();
}

void TRoomContents::MobDelete() {
    const int row = R_MobCheckListBox->currentRow();
    if (row < 0) {
        Prompts().Error(QStringLiteral("Выберите моба"));
        return;
    }
    if (!Prompts().Confirm(QStringLiteral("Вы действительно хотите удалить этого моба?")))
        return;
    change_();
    mobs_.erase(mobs_.begin() + row);
    RemoveEntry(R_MobCheckListBox, row);
    MobDetails();
}

// The details of the selected mob; filling them leaves the change flag alone.
void TRoomContents::MobDetails() {
    detailsGuard_ = false;
    {
        const QSignalBlocker block(R_MObjCheckListBox);
        R_MObjCheckListBox->clear();
    }
    R_MFolComboBox->clear();
    R_MMaxWLabel->setText(QStringLiteral("?"));
    const int row = R_MobCheckListBox->currentRow();
    if (row < 0 || row >= static_cast<int>(mobs_.size())) {
        R_MMaxEdit->setValue(0);
        detailsGuard_ = true;
        return;
    }
    const TRoomMob& mob = mobs_[static_cast<size_t>(row)];
    for (const TLinkObj& link : mob.Contents)
        AddCheckEntry(R_MObjCheckListBox, ObjCaption(main_.World(), link.ObjVNum), link.IfFlag);
    R_MFolComboBox->addItem(QStringLiteral("Сам по себе"), -1);
    for (size_t i = 0; i < mobs_.size(); ++i)
        if (static_cast<int>(i) != row)
            R_MFolComboBox->addItem(MobCaption(main_.World(), mobs_[i].MobVNum), mobs_[i].MobVNum);
    R_MFolComboBox->setCurrentIndex(R_MFolComboBox->findData(mob.Leader));
    R_MMaxEdit->setValue(mob.MaxInRoom);
    if (const TMob* prototype = main_.World().Mobs.Find(mob.MobVNum))
        R_MMaxWLabel->setText(QString::number(prototype->MaxInWorld));
    detailsGuard_ = true;
}

void TRoomContents::MFolChange() {
    if (!detailsGuard_)
        return;
    const int row = R_MobCheckListBox->currentRow();
    if (row < 0 || row >= static_cast<int>(mobs_.size())) {
        Prompts().Error(QStringLiteral("Выберите моба"));
        return;
    }
    change_();
    mobs_[static_cast<size_t>(row)].Leader = R_MFolComboBox->currentData().toInt();
}

void TRoomContents::MMaxChange() {
    if (!detailsGuard_)
        return;
    const int row = R_MobCheckListBox->currentRow();
    if (row < 0 || row >= static_cast<int>(mobs_.size())) {
        Prompts().Error(QStringLiteral("Выберите моба"));
        detailsGuard_ = false;
        R_MMaxEdit->setValue(0);
        detailsGuard_ = true;
        return;
    }
    change_();
    mobs_[static_cast<size_t>(row)].MaxInRoom = static_cast<int16_t>(R_MMaxEdit->value());
}

// ---- objects removed at reset ----

bool TRoomContents::InDelList(int32_t vnum) const {
    for (int row = 0; row < R_ODelCheckListBox->count(); ++row)
        if (R_ODelCheckListBox->item(row)->data(Qt::UserRole).toInt() == vnum)
            return true;
    return false;
}

void TRoomContents::DelAdd() {
    if (!NeedRoom(QStringLiteral("Выберите комнату")))
        return;
    TRoomObjForm* form = main_.RoomObjForm;
    form->SetPlainMode(false);
    form->ShowParams(false);
    form->ShowPercent(false);
    TLinkObj link;
    form->Preset(link);
    form->exec();
    form->ShowPercent(true);
    if (!form->Accepted())
        return;
    form->Result(link);
    if (InDelList(link.ObjVNum)) {
        Prompts().Error(QStringLiteral("Такой объект уже есть в списке"));
        return;
    }
    change_();
    AddCheckEntry(R_ODelCheckListBox, ObjCaption(main_.World(), link.ObjVNum), link.IfFlag)
        ->setData(Qt::UserRole, link.ObjVNum);
}

void TRoomContents::DelEdit() {
    if (!NeedRoom(QStringLiteral("Выберите комнату")))
        return;
    const int row = R_ODelCheckListBox->currentRow();
    if (row < 0) {
        Prompts().Error(QStringLiteral("Выберите объект"));
        return;
    }
    QListWidgetItem* item = R_ODelCheckListBox->item(row);
    TRoomObjForm* form = main_.RoomObjForm;
    form->SetPlainMode(false);
    form->ShowParams(false);
    form->ShowPercent(false);
    TLinkObj link;
    link.ObjVNum = item->data(Qt::UserRole).toInt();
    link.IfFlag = IsChecked(item);
    form->Preset(link);
    form->exec();
    form->ShowPercent(true);
    if (!form->Accepted())
        return;
    form->Result(link);
    // The entry being edited may keep its number (its if-flag alone changed);
    // only another entry with that number is a duplicate.
    for (int other = 0; other < R_ODelCheckListBox->count(); ++other)
        if (other != row &&
            R_ODelCheckListBox->item(other)->data(Qt::UserRole).toInt() == link.ObjVNum) {
            Prompts().Error(QStringLiteral("Такой объект уже есть в списке"));
            return;
        }
    change_();
    SetEntry(item, ObjCaption(main_.World(), link.ObjVNum), link.IfFlag);
    item->setData(Qt::UserRole, link.ObjVNum);
}

void TRoomContents::DelDelete() {
    const int row = R_ODelCheckListBox->currentRow();
    if (row < 0) {
        Prompts().Error(QStringLiteral("Выберите объект"));
        return;
    }
    if (!Prompts().Confirm(QStringLiteral("Вы действительно хотите удалить этот объект?")))
        return;
    change_();
    RemoveEntry(R_ODelCheckListBox, row);
}
