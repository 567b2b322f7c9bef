#include "objpage.h"

#include "addescform.h"
#include "attachedtriggers.h"
#include "descform.h"
#include "dialogparts.h"
#include "effectform.h"
#include "keptnumber.h"
#include "listform.h"
#include "editorcontext.h"
#include "modeltext.h"
#include "objkindpanels.h"
#include "pagesupport.h"
#include "prompts.h"
#include "recordpage.h"
#include "textcodec.h"
#include "vocabularyfill.h"
#include "world.h"

#include <QComboBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QSpinBox>
#include <QTabWidget>
#include <QTableWidget>
#include <QVBoxLayout>
#include <algorithm>
#include <limits>
#include <utility>

namespace {

constexpr int kIntMin = std::numeric_limits<int32_t>::min();
constexpr int kIntMax = std::numeric_limits<int32_t>::max();

// Minutes per timer unit: minutes, hours, days.
constexpr std::array<int, 3> kMinutesPer = {1, 60, 1440};

// The kind list positions whose objects have a text for their use: scroll,
// wand, staff, potion.
bool HasActionText(int position) {
    return position == 1 || position == 2 || position == 3 || position == 9;
}

} // namespace

TObjPage::TObjPage(TEditorContext& main, QWidget* parent)
    : QWidget(parent), main_(main), kept_(new TKeptNumbers(this)) {
    setObjectName(QStringLiteral("ObjPage"));
    auto* layout = new QHBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(BuildMainColumn(), 0);
    layout->addWidget(BuildKindColumn(), 1);
    LoadLists();
    Connect();
}

QListWidget* TObjPage::FlagList(const char* name) {
    auto* list = Named(new QListWidget(this), name);
    list->setMouseTracking(true);
    return list;
}

QWidget* TObjPage::BuildMainColumn() {
    auto* column = new QWidget(this);
    column->setFixedWidth(470);
    auto* grid = new QGridLayout(column);
    grid->setContentsMargins(0, 0, 0, 0);
    grid->setVerticalSpacing(3);
    int row = BuildNameFields(column, grid, 0, "O_", Names);
    O_AliasEdit = Names.Alias;
    O_CDupBtn = Names.CDup;
    O_Name1Edit = Names.Names[0];
    O_Name2Edit = Names.Names[1];
    O_Name3Edit = Names.Names[2];
    O_Name4Edit = Names.Names[3];
    O_Name5Edit = Names.Names[4];
    O_Name6Edit = Names.Names[5];
    O_DescEdit = Names.Desc;
    O_AddDescEdit = Named(new QLineEdit(column), "O_AddDescEdit");
    grid->addWidget(Caption(column, QStringLiteral("Описание\nпри действии"), O_AddDescEdit), row,
                    0);
    grid->addWidget(O_AddDescEdit, row++, 1);

    auto* props = new QGridLayout;
    props->setVerticalSpacing(3);
    O_KindComboBox = ListCombo(column, "O_KindComboBox", 8);
    O_WeightEdit = NumberEdit(column, "O_WeightEdit", kIntMin, kIntMax);
    O_TimerEdit = NumberEdit(column, "O_TimerEdit", 0, 99999);
    O_TimerComboBox = Named(new QComboBox(column), "O_TimerComboBox");
    for (const char* unit : {"минут", "часов", "суток"})
        O_TimerComboBox->addItem(QString::fromUtf8(unit));
    O_TimerComboBox->setCurrentIndex(timerUnit_);
    O_TimerComboBox->setMinimumContentsLength(5);
    O_TimerEdit->setMaximumWidth(56);
    O_TimerComboBox->setMinimumWidth(
        O_TimerComboBox->fontMetrics().horizontalAdvance(QStringLiteral("суток")) + 34);
    O_PriceEdit = NumberEdit(column, "O_PriceEdit", 0, 9999999);
    O_RentInvEdit = NumberEdit(column, "O_RentInvEdit", 0, 9999999);
    O_RentWearEdit = NumberEdit(column, "O_RentWearEdit", 0, 9999999);
    O_MaxInWorldEdit = NumberEdit(column, "O_MaxInWorldEdit", 0, 9999999);
    kept_->Watch(O_TimerEdit, 0, 99999);
    for (QSpinBox* edit : {O_PriceEdit, O_RentInvEdit, O_RentWearEdit, O_MaxInWorldEdit})
        kept_->Watch(edit, 0, 9999999);
    O_SkillComboBox = ListCombo(column, "O_SkillComboBox", 12);
    O_MaterialComboBox = ListCombo(column, "O_MaterialComboBox", 12);
    O_WearComboBox = ListCombo(column, "O_WearComboBox", 12);
    O_WearEdit = NumberEdit(column, "O_WearEdit", kIntMin, kIntMax);
    O_SpellComboBox = ListCombo(column, "O_SpellComboBox", 12);
    O_SpellLevelEdit = NumberEdit(column, "O_SpellLevelEdit", 0, 255);

    const auto pair = [column](QWidget* a, QWidget* b) {
        auto* box = new QWidget(column);
        auto* line = new QHBoxLayout(box);
        line->setContentsMargins(0, 0, 0, 0);
        line->addWidget(a, 1);
        line->addWidget(b, 2);
        return box;
    };
    props->addWidget(Caption(column, QStringLiteral("Род"), O_KindComboBox), 0, 0);
    props->addWidget(O_KindComboBox, 0, 1);
    props->addWidget(Caption(column, QStringLiteral("Вес"), O_WeightEdit), 0, 2);
    props->addWidget(O_WeightEdit, 0, 3);
    props->addWidget(Caption(column, QStringLiteral("Таймер"), O_TimerEdit), 1, 0);
    props->addWidget(pair(O_TimerEdit, O_TimerComboBox), 1, 1);
    props->addWidget(Caption(column, QStringLiteral("Цена"), O_PriceEdit), 1, 2);
    props->addWidget(O_PriceEdit, 1, 3);
    props->addWidget(Caption(column, QStringLiteral("Цена ренты"), O_RentInvEdit), 2, 0);
    props->addWidget(pair(O_RentInvEdit, O_RentWearEdit), 2, 1);
    props->addWidget(Caption(column, QStringLiteral("Max in world"), O_MaxInWorldEdit), 2, 2);
    props->addWidget(O_MaxInWorldEdit, 2, 3);
    props->addWidget(Caption(column, QStringLiteral("Материал"), O_MaterialComboBox), 3, 0);
    props->addWidget(O_MaterialComboBox, 3, 1, 1, 3);
    props->addWidget(Caption(column, QStringLiteral("Тренируемый\nскилл"), O_SkillComboBox), 4, 0);
    props->addWidget(O_SkillComboBox, 4, 1, 1, 3);
    props->addWidget(Caption(column, QStringLiteral("Прочность:\nМакс."), O_WearComboBox), 5, 0);
    props->addWidget(O_WearComboBox, 5, 1);
    props->addWidget(Caption(column, QStringLiteral("Тек."), O_WearEdit), 5, 2);
    props->addWidget(O_WearEdit, 5, 3);
    props->addWidget(Caption(column, QStringLiteral("Заклинание"), O_SpellComboBox), 6, 0);
    props->addWidget(O_SpellComboBox, 6, 1);
    props->addWidget(Caption(column, QStringLiteral("Уровень"), O_SpellLevelEdit), 6, 2);
    props->addWidget(O_SpellLevelEdit, 6, 3);
    for (QSpinBox* edit :
         {O_WeightEdit, O_PriceEdit, O_MaxInWorldEdit, O_WearEdit, O_SpellLevelEdit})
        edit->setMaximumWidth(96);
    props->setColumnStretch(1, 3);
    props->setColumnStretch(3, 1);
    grid->addLayout(props, row++, 0, 1, 2);
    grid->setRowStretch(row, 1);
    return column;
}

QWidget* TObjPage::BuildKindColumn() {
    auto* column = new QWidget(this);
    auto* layout = new QVBoxLayout(column);
    layout->setContentsMargins(0, 0, 0, 0);

    auto* typeLine = new QHBoxLayout;
    O_TypeComboBox = ListCombo(column, "O_TypeComboBox", 20);
    typeLine->addWidget(Caption(column, QStringLiteral("Тип"), O_TypeComboBox));
    typeLine->addWidget(O_TypeComboBox, 1);
    layout->addLayout(typeLine);

    KindPanels = new TObjKindPanels(column, [this] { ObjChange(); });
    layout->addWidget(KindPanels);

    O_PageControl = Named(new QTabWidget(column), "O_PageControl");
    MakeTabsCompact(O_PageControl); // seven tabs share the column
    O_EffectCheckListBox = FlagList("O_EffectCheckListBox");
    O_AffectCheckListBox = FlagList("O_AffectCheckListBox");
    O_NoTakeCheckListBox = FlagList("O_NoTakeCheckListBox");
    O_NoUseCheckListBox = FlagList("O_NoUseCheckListBox");
    O_WearCheckListBox = FlagList("O_WearCheckListBox");
    O_PageControl->addTab(O_EffectCheckListBox, QStringLiteral("Эффекты"));
    O_PageControl->addTab(O_AffectCheckListBox, QStringLiteral("Аффекты"));
    O_PageControl->addTab(O_NoTakeCheckListBox, QStringLiteral("Запреты"));
    O_PageControl->addTab(O_NoUseCheckListBox, QStringLiteral("Неудобства"));
    O_PageControl->addTab(O_WearCheckListBox, QStringLiteral("Где одеть"));
    O_PageControl->addTab(BuildAdditionsTab(), QStringLiteral("Дополнения"));
    O_PageControl->addTab(BuildTriggersTab(), QStringLiteral("Триггеры"));
    layout->addWidget(O_PageControl, 1);
    return column;
}

QWidget* TObjPage::BuildAdditionsTab() {
    auto* tab = new QWidget(this);
    auto* layout = new QVBoxLayout(tab);

    auto* descs = new QGroupBox(QStringLiteral("Дополнительные описания"), tab);
    O_DescComboBox = ListCombo(descs, "O_DescComboBox", 20);
    O_AddDescMemo = Named(new QPlainTextEdit(descs), "O_AddDescMemo");
    O_AddDescMemo->setReadOnly(true);
    O_AddDescBtn = Named(new QPushButton(QStringLiteral("Добавить"), descs), "O_AddDescBtn");
    O_EditDescBtn = Named(new QPushButton(QStringLiteral("Редактировать"), descs), "O_EditDescBtn");
    O_DelDescBtn = Named(new QPushButton(QStringLiteral("Удалить"), descs), "O_DelDescBtn");
    auto* descGrid = new QGridLayout(descs);
    descGrid->addWidget(O_DescComboBox, 0, 0);
    descGrid->addWidget(O_AddDescMemo, 1, 0, 3, 1);
    descGrid->addWidget(O_AddDescBtn, 1, 1);
    descGrid->addWidget(O_EditDescBtn, 2, 1);
    descGrid->addWidget(O_DelDescBtn, 3, 1);
    layout->addWidget(descs, 1);

    auto* effects = new QGroupBox(QStringLiteral("Положения (спецэффекты)"), tab);
    O_EffectStringGrid = Named(new QTableWidget(1, 2, effects), "O_EffectStringGrid");
    O_EffectStringGrid->setHorizontalHeaderLabels(
        {QStringLiteral("Знач"), QStringLiteral("Эффект")});
    // The value column as wide as its heading.
    O_EffectStringGrid->setColumnWidth(
        0,
        std::max(35,
                 O_EffectStringGrid->fontMetrics().horizontalAdvance(QStringLiteral("Знач")) + 18));
    O_EffectStringGrid->setColumnWidth(1, 327);
    O_EffectStringGrid->verticalHeader()->hide();
    O_EffectStringGrid->verticalHeader()->setDefaultSectionSize(
        O_EffectStringGrid->fontMetrics().height() + 4);
    O_EffectStringGrid->setEditTriggers(QAbstractItemView::NoEditTriggers);
    O_EffectStringGrid->setSelectionBehavior(QAbstractItemView::SelectRows);
    O_EffectStringGrid->setSelectionMode(QAbstractItemView::SingleSelection);
    O_AddEffectBtn = Named(new QPushButton(QStringLiteral("Добавить"), effects), "O_AddEffectBtn");
    O_EditEffectBtn =
        Named(new QPushButton(QStringLiteral("Редактировать"), effects), "O_EditEffectBtn");
    O_DelEffectBtn = Named(new QPushButton(QStringLiteral("Удалить"), effects), "O_DelEffectBtn");
    auto* effectGrid = new QGridLayout(effects);
    effectGrid->addWidget(O_EffectStringGrid, 0, 0, 4, 1);
    effectGrid->addWidget(O_AddEffectBtn, 0, 1);
    effectGrid->addWidget(O_EditEffectBtn, 1, 1);
    effectGrid->addWidget(O_DelEffectBtn, 2, 1);
    effectGrid->setRowStretch(3, 1);
    layout->addWidget(effects, 1);
    return tab;
}

QWidget* TObjPage::BuildTriggersTab() {
    Triggers = new TAttachedTriggers(
        main_.World().Triggers, *main_.TriggerForm, Prompts(),
        {"O_TriggerListBox", "O_AddTriggerBtn", "O_EditTriggerBtn", "O_DelTriggerBtn",
         QStringLiteral("Список триггеров подключенных к предмету"), [this] { return HasObject(); },
         QStringLiteral("Сначала выберите объект"), 1},
        this);
    connect(Triggers, &TAttachedTriggers::changed, this, [this] { main_.SetChanged(true); });
    Triggers->Expose(O_TriggerListBox, O_AddTriggerBtn, O_EditTriggerBtn, O_DelTriggerBtn);
    return Triggers;
}

void TObjPage::LoadLists() {
    const std::string& folder = main_.ProgramFolder;
    LoadListReporting([&] { FillCodeCombo(folder, "pol", O_KindComboBox, 4, 1); });
    LoadListReporting([&] { FillCodeCombo(folder, "Skills", O_SkillComboBox, 0, 0); });
    LoadListReporting([&] { FillCodeCombo(folder, "Material", O_MaterialComboBox, 15, 0); });
    LoadListReporting(
        [&] { FillCodeCombo(folder, "Objects_StructureHits", O_WearComboBox, 0, 1); });
    LoadListReporting([&] { FillSpellCombo(folder, "Spells", O_SpellComboBox, 0); });
    LoadListReporting([&] { FillCodeCombo(folder, "Type", O_TypeComboBox, 0, 0); });
    KindPanels->LoadLists(folder);
    LoadListReporting([&] { FillFlagList(folder, "ExtraEffect", O_EffectCheckListBox, 15); });
    LoadListReporting([&] { FillFlagList(folder, "Affect", O_AffectCheckListBox, 15); });
    LoadListReporting([&] { FillFlagList(folder, "NoTake", O_NoTakeCheckListBox, 22); });
    LoadListReporting([&] { FillFlagList(folder, "NoUse", O_NoUseCheckListBox, 20); });
    LoadListReporting([&] { FillFlagList(folder, "Wear", O_WearCheckListBox, 12); });
}

void TObjPage::Connect() {
    const auto change = [this] { ObjChange(); };
    for (QLineEdit* edit : {O_AliasEdit, O_Name2Edit, O_Name3Edit, O_Name4Edit, O_Name5Edit,
                            O_Name6Edit, O_DescEdit, O_AddDescEdit})
        connect(edit, &QLineEdit::textChanged, this, change);
    for (QSpinBox* edit : {O_WeightEdit, O_TimerEdit, O_PriceEdit, O_RentInvEdit, O_RentWearEdit,
                           O_WearEdit, O_SpellLevelEdit, O_MaxInWorldEdit})
        connect(edit, &QSpinBox::valueChanged, this, change);
    for (QComboBox* combo :
         {O_KindComboBox, O_SkillComboBox, O_MaterialComboBox, O_WearComboBox, O_SpellComboBox})
        connect(combo, &QComboBox::currentIndexChanged, this, change);
    for (QListWidget* list : {O_EffectCheckListBox, O_AffectCheckListBox, O_NoTakeCheckListBox,
                              O_NoUseCheckListBox, O_WearCheckListBox})
        connect(list, &QListWidget::itemChanged, this, change);

    connect(O_Name1Edit, &QLineEdit::textEdited, this, &TObjPage::Name1EditChange);
    connect(O_TypeComboBox, &QComboBox::currentIndexChanged, this, &TObjPage::TypeComboBoxChange);
    connect(O_TimerComboBox, &QComboBox::currentIndexChanged, this, &TObjPage::TimerComboBoxChange);
    connect(O_CDupBtn, &QPushButton::clicked, this, &TObjPage::CDupBtnClick);
    connect(O_DescComboBox, &QComboBox::currentIndexChanged, this, &TObjPage::DescComboBoxChange);
    connect(O_AddDescBtn, &QPushButton::clicked, this, &TObjPage::AddDescBtnClick);
    connect(O_EditDescBtn, &QPushButton::clicked, this, &TObjPage::EditDescBtnClick);
    connect(O_DelDescBtn, &QPushButton::clicked, this, &TObjPage::DelDescBtnClick);
    connect(O_AddEffectBtn, &QPushButton::clicked, this, &TObjPage::AddEffectBtnClick);
    connect(O_EditEffectBtn, &QPushButton::clicked, this, &TObjPage::EditEffectBtnClick);
    connect(O_EffectStringGrid, &QTableWidget::cellDoubleClicked, this,
            &TObjPage::EditEffectBtnClick);
    connect(O_DelEffectBtn, &QPushButton::clicked, this, &TObjPage::DelEffectBtnClick);
}

// ---- transfer ----

void TObjPage::ShowOnPage(const TObj& obj) {
    const TShowing showing(showing_);
    ShowLine(O_AliasEdit, FromCp1251(obj.Alias));
    const std::array<const TCompactString*, 6> names = {&obj.Imen, &obj.Rod,  &obj.Dat,
                                                        &obj.Vin,  &obj.Tvor, &obj.Pred};
    for (size_t i = 0; i < names.size(); ++i)
        ShowLine(Names.Names[i], FromCp1251(*names[i]));
    ShowLine(O_DescEdit, FromCp1251(obj.Desc));
    ShowLine(O_AddDescEdit, FromCp1251(obj.Action.Text()));

    ShowCode(O_SkillComboBox, obj.TrenSkill);
    ShowCode(O_WearComboBox, obj.MaxDurab);
    ShowCode(O_MaterialComboBox, obj.Material);
    ShowCode(O_KindComboBox, obj.Pol);
    O_WearEdit->setValue(obj.CurrDurab);

    timerUnit_ = obj.Timer % 1440 == 0 ? 2 : obj.Timer % 60 == 0 ? 1 : 0;
    O_TimerComboBox->setCurrentIndex(timerUnit_);
    O_TimerComboBox->setMinimumContentsLength(5);
    O_TimerEdit->setMaximumWidth(56);
    O_TimerComboBox->setMinimumWidth(
        O_TimerComboBox->fontMetrics().horizontalAdvance(QStringLiteral("суток")) + 34);
    kept_->Show(O_TimerEdit, obj.Timer / kMinutesPer[static_cast<size_t>(timerUnit_)]);

    ShowSpellCode(O_SpellComboBox, obj.Spell);
    O_SpellLevelEdit->setValue(obj.SpellLevel);

    FlagsToChecks(obj.Flags, O_EffectCheckListBox);
    FlagsToChecks(obj.Discomfort, O_NoUseCheckListBox);
    FlagsToChecks(obj.Bans, O_NoTakeCheckListBox);
    ShowCode(O_TypeComboBox, obj.Kind);
    FlagsToChecks(obj.Effects, O_AffectCheckListBox);
    FlagsToChecks(obj.WearFlags, O_WearCheckListBox);

    KindPanels->Show(obj);
    TypeComboBoxChange();

    O_WeightEdit->setValue(obj.Weight);
    kept_->Show(O_PriceEdit, obj.Price);
    kept_->Show(O_RentInvEdit, obj.RentInv);
    kept_->Show(O_RentWearEdit, obj.RentWear);
    kept_->Show(O_MaxInWorldEdit, obj.MaxInWorld);

    descs_ = obj.ExtraDescs;
    O_DescComboBox->clear();
    for (const TExtraDesc& desc : descs_)
        O_DescComboBox->addItem(FromCp1251(desc.Keywords));
    O_DescComboBox->setCurrentIndex(descs_.empty() ? -1 : 0);
    DescComboBoxChange();

    ShowEffects(obj.AddParam);

    Triggers->Show(obj.Triggers);
}

bool TObjPage::CanStore() const {
    return kept_->Check() && KindPanels->CanStore();
}

void TObjPage::ReadFromPage(TObj& obj) {
    obj.Alias = ToModelText(O_AliasEdit->text());
    const std::array<TCompactString*, 6> names = {&obj.Imen, &obj.Rod,  &obj.Dat,
                                                  &obj.Vin,  &obj.Tvor, &obj.Pred};
    for (size_t i = 0; i < names.size(); ++i)
        *names[i] = ToModelText(Names.Names[i]->text());
    obj.Desc = ToModelText(O_DescEdit->text());
    obj.Action = ToModelText(O_AddDescEdit->text());

    obj.TrenSkill = static_cast<int16_t>(ReadCode(O_SkillComboBox, obj.TrenSkill));
    obj.MaxDurab = ReadCode(O_WearComboBox, obj.MaxDurab);
    obj.Material = static_cast<uint16_t>(ReadCode(O_MaterialComboBox, obj.Material));
    obj.Pol = static_cast<uint8_t>(ReadCode(O_KindComboBox, obj.Pol));
    obj.CurrDurab = O_WearEdit->value();

    // The timer in the unit shown; untouched it keeps every minute it had.
    if (const auto timer = kept_->Entered(O_TimerEdit)) {
        const long long minutes = *timer * kMinutesPer[static_cast<size_t>(timerUnit_)];
        if (std::in_range<decltype(obj.Timer)>(minutes))
            obj.Timer = static_cast<decltype(obj.Timer)>(minutes);
    }

    obj.Spell = static_cast<int16_t>(ReadSpellCode(O_SpellComboBox, obj.Spell));
    obj.SpellLevel = static_cast<uint8_t>(O_SpellLevelEdit->value());

    obj.Flags = ChecksToFlagsKeeping(O_EffectCheckListBox, obj.Flags);
    obj.Discomfort = ChecksToFlagsKeeping(O_NoUseCheckListBox, obj.Discomfort);
    obj.Bans = ChecksToFlagsKeeping(O_NoTakeCheckListBox, obj.Bans);
    obj.Kind = static_cast<uint8_t>(ReadCode(O_TypeComboBox, obj.Kind));
    obj.Effects = ChecksToFlagsKeeping(O_AffectCheckListBox, obj.Effects);
    obj.WearFlags = ChecksToFlagsKeeping(O_WearCheckListBox, obj.WearFlags);

    KindPanels->Read(obj, obj.Kind);

    obj.Weight = O_WeightEdit->value();
    kept_->Read(O_PriceEdit, obj.Price);
    kept_->Read(O_RentInvEdit, obj.RentInv);
    kept_->Read(O_RentWearEdit, obj.RentWear);
    kept_->Read(O_MaxInWorldEdit, obj.MaxInWorld);

    obj.ExtraDescs = descs_;

    obj.AddParam.clear();
    for (int row = 0; row < O_EffectStringGrid->rowCount(); ++row) {
        if (!EffectRowHasValue(row))
            continue;
        const QTableWidgetItem* value = O_EffectStringGrid->item(row, 0);
        obj.AddParam.push_back(PackAddParam(static_cast<uint16_t>(value->data(kCodeRole).toInt()),
                                            static_cast<int16_t>(value->text().toInt())));
    }

    obj.Triggers = Triggers->Numbers();
}

// ---- handlers ----

void TObjPage::ObjChange() {
    if (!showing_)
        main_.RecordPage(ObjPageIndex)->Change();
}

bool TObjPage::HasObject() const {
    return main_.RecordPage(ObjPageIndex)->HasSelection();
}

void TObjPage::TypeComboBoxChange() {
    ObjChange();
    const int position = O_TypeComboBox->currentIndex();
    KindPanels->ShowPanelOfPosition(position);
    const bool action = HasActionText(position);
    O_AddDescEdit->setEnabled(action);
    QPalette palette = O_AddDescEdit->palette();
    palette.setColor(QPalette::Disabled, QPalette::Base, palette.color(QPalette::Button));
    O_AddDescEdit->setPalette(palette);
}

void TObjPage::TimerComboBoxChange() {
    const int unit = O_TimerComboBox->currentIndex();
    if (unit < 0 || unit == timerUnit_)
        return;
    const int64_t minutes =
        int64_t{O_TimerEdit->value()} * kMinutesPer[static_cast<size_t>(timerUnit_)];
    timerUnit_ = unit;
    kept_->Reshow(O_TimerEdit, minutes / kMinutesPer[static_cast<size_t>(unit)]);
}

void TObjPage::Name1EditChange() {
    if (!HasObject()) {
        Prompts().Information(QStringLiteral("Создайте сначала новый объект"));
        return;
    }
    ObjChange();
    SetSelectedIdText(main_.RecordPage(ObjPageIndex)->IDComboBox, O_Name1Edit->text());
}

void TObjPage::CDupBtnClick() {
    if (!Prompts().Confirm(
            QStringLiteral("Заменить текст во всех падежах на текст в именительном?")))
        return;
    ObjChange();
    for (size_t i = 1; i < Names.Names.size(); ++i)
        Names.Names[i]->setText(O_Name1Edit->text());
}

void TObjPage::DescComboBoxChange() {
    const int row = O_DescComboBox->currentIndex();
    if (row >= 0 && row < static_cast<int>(descs_.size()))
        O_AddDescMemo->setPlainText(LinesToMemoText(descs_[static_cast<size_t>(row)].Description));
    else
        O_AddDescMemo->clear();
}

void TObjPage::AddDescBtnClick() {
    if (!HasObject())
        return;
    TAddDescForm& dialog = *main_.AddDescForm;
    dialog.SetExtraDesc(TExtraDesc{});
    dialog.exec();
    if (!dialog.Accepted())
        return;
    ObjChange();
    descs_.push_back(dialog.ExtraDesc());
    O_DescComboBox->addItem(FromCp1251(descs_.back().Keywords));
    O_DescComboBox->setCurrentIndex(O_DescComboBox->count() - 1);
    DescComboBoxChange();
}

void TObjPage::EditDescBtnClick() {
    const int row = O_DescComboBox->currentIndex();
    if (!HasObject() || row < 0 || row >= static_cast<int>(descs_.size()))
        return;
    TAddDescForm& dialog = *main_.AddDescForm;
    dialog.SetExtraDesc(descs_[static_cast<size_t>(row)]);
    dialog.exec();
    if (!dialog.Accepted())
        return;
    ObjChange();
    descs_[static_cast<size_t>(row)] = dialog.ExtraDesc();
    O_DescComboBox->setItemText(row, FromCp1251(descs_[static_cast<size_t>(row)].Keywords));
    O_DescComboBox->setCurrentIndex(row);
    DescComboBoxChange();
}

void TObjPage::DelDescBtnClick() {
    const int row = O_DescComboBox->currentIndex();
    if (!HasObject() || row < 0 || row >= static_cast<int>(descs_.size()))
        return;
    if (!Prompts().Confirm(
            QStringLiteral("Вы точно хотите удалить выделенное дополнительное описание?")))
        return;
    ObjChange();
    descs_.erase(descs_.begin() + row);
    {
        const QSignalBlocker block(O_DescComboBox);
        O_DescComboBox->removeItem(row);
        O_DescComboBox->setCurrentIndex(std::min(row, O_DescComboBox->count() - 1));
    }
    DescComboBoxChange();
}

QString TObjPage::EffectName(int location) const {
    const QComboBox* names = main_.EffectForm->ComboBox;
    const int index = names->findData(location, kCodeRole);
    // A location the list does not name still shows which one it is.
    return index < 0 ? QStringLiteral("(%1)").arg(location) : names->itemText(index);
}

void TObjPage::SetEffectRow(int row, int location, int modifier, const QString& name) {
    auto* value = new QTableWidgetItem(QString::number(modifier));
    value->setData(kCodeRole, location);
    value->setTextAlignment(Qt::AlignRight | Qt::AlignVCenter);
    O_EffectStringGrid->setItem(row, 0, value);
    O_EffectStringGrid->setItem(row, 1, new QTableWidgetItem(name));
}

bool TObjPage::EffectRowHasValue(int row) const {
    const QTableWidgetItem* value = O_EffectStringGrid->item(row, 0);
    return value && !value->text().isEmpty();
}

void TObjPage::ShowEffects(const std::vector<int32_t>& entries) {
    O_EffectStringGrid->clearContents();
    O_EffectStringGrid->setRowCount(std::max<int>(1, static_cast<int>(entries.size())));
    for (size_t i = 0; i < entries.size(); ++i) {
        const int location = AddParamLocation(entries[i]);
        SetEffectRow(static_cast<int>(i), location, AddParamModifier(entries[i]),
                     EffectName(location));
    }
}

void TObjPage::AddEffectBtnClick() {
    if (!HasObject())
        return;
    TEffectForm& dialog = *main_.EffectForm;
    dialog.SetEffect(dialog.ComboBox->count() > 0 ? dialog.ComboBox->itemData(0).toInt() : 0, 0);
    dialog.exec();
    if (!dialog.Accepted())
        return;
    ObjChange();
    int row = O_EffectStringGrid->rowCount() - 1;
    if (EffectRowHasValue(row))
        O_EffectStringGrid->setRowCount(++row + 1);
    SetEffectRow(row, dialog.Location(), dialog.Modifier(), dialog.LocationText());
    O_EffectStringGrid->setCurrentCell(row, 0);
}

void TObjPage::EditEffectBtnClick() {
    const int row = O_EffectStringGrid->currentRow();
    if (!HasObject() || row < 0 || !EffectRowHasValue(row))
        return;
    const QTableWidgetItem* value = O_EffectStringGrid->item(row, 0);
    TEffectForm& dialog = *main_.EffectForm;
    dialog.SetEffect(value->data(kCodeRole).toInt(), value->text().toInt());
    dialog.exec();
    if (!dialog.Accepted())
        return;
    ObjChange();
    SetEffectRow(row, dialog.Location(), dialog.Modifier(), dialog.LocationText());
}

void TObjPage::DelEffectBtnClick() {
    const int row = O_EffectStringGrid->currentRow();
    if (!HasObject() || row < 0 || !EffectRowHasValue(row))
        return;
    if (!Prompts().Confirm(QStringLiteral("Вы точно хотите удалить выделенный спецэффект?")))
        return;
    ObjChange();
    if (O_EffectStringGrid->rowCount() > 1) {
        O_EffectStringGrid->removeRow(row);
    } else {
        O_EffectStringGrid->setItem(0, 0, new QTableWidgetItem());
        O_EffectStringGrid->setItem(0, 1, new QTableWidgetItem());
    }
}

// ---- the entry point ----

void AttachObjPage(TEditorContext& main) {
    TRecordPage* records = main.RecordPage(ObjPageIndex);
    auto* layout = new QVBoxLayout(records->Body);
    layout->setContentsMargins(0, 0, 0, 0);
    auto* page = new TObjPage(main, records->Body);
    layout->addWidget(page);

    records->ShowRecord = [records, page, show = ShowFrom(page, main.World().Objs)](std::optional<int32_t> vnum) {
        const TObj* obj = show(vnum);
        if (obj)
            records->ShowEntryText(*vnum, FromCp1251(TObjList::EntryOf(*obj).Text));
    };
    records->StoreRecord = StoreInto(*main.Document, page, main.World().Objs);
    records->CanStore = [page] { return page->CanStore(); };
}
