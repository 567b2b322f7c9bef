#include "objkindpanels.h"

#include "keptnumber.h"
#include "pagesupport.h"
#include "protopage.h"
#include "vocabularyfill.h"

#include <QComboBox>
#include <QFormLayout>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QListWidget>
#include <QSpinBox>
#include <QStackedLayout>
#include <QVBoxLayout>
#include <array>

namespace {

// The panel of each position of the kind list; -1 for positions without one.
constexpr std::array<int, 25> kPanelOfPosition = {0,  1, 2,  3, 4,  -1, -1, -1, 5,  6,  -1, -1, -1,
                                                  -1, 7, -1, 8, -1, 9,  10, -1, -1, 11, 12, 13};

// Container flags: the first four entries of the list, bits 1, 2, 4 and 8.
constexpr int kContainerBits = 4;

} // namespace

void ShowSpellCode(QComboBox* combo, int spell) {
    // The files write "no spell" as 0 or -1; the spell list names only -1.
    ShowCode(combo, spell == 0 ? -1 : spell);
}

int ReadSpellCode(const QComboBox* combo, int previous) {
    const int code = ReadCode(combo, previous);
    // An untouched "none" keeps the 0 the record had.
    return code == -1 && previous == 0 ? 0 : code;
}

TObjKindPanels::TObjKindPanels(QWidget* parent, std::function<void()> changed)
    : QWidget(parent), changed_(std::move(changed)), kept_(new TKeptNumbers(this)) {
    setObjectName(QStringLiteral("O_KindPanels"));
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    BuildLightToWand();
    BuildWeaponToPotion();
    BuildContainerToMoney();
    BuildFountainToIngredient();
    for (QWidget* panel : panels_) {
        layout->addWidget(panel);
        panel->hide();
    }
    layout->addStretch(1);
    setFixedHeight(150);
}

QWidget* TObjKindPanels::NewPanel(const char* name) {
    auto* panel = Named(new QWidget(this), name);
    panels_.push_back(panel);
    auto* form = new QFormLayout(panel);
    form->setContentsMargins(4, 2, 4, 2);
    form->setVerticalSpacing(3);
    form->setFieldGrowthPolicy(QFormLayout::FieldsStayAtSizeHint);
    return panel;
}

QSpinBox* TObjKindPanels::Number(QWidget* panel, const char* name, int minimum, int maximum) {
    QSpinBox* edit = NumberEdit(panel, name, minimum, maximum);
    edit->setMinimumWidth(90);
    connect(edit, &QSpinBox::valueChanged, this, [this] { changed_(); });
    return edit;
}

QComboBox* TObjKindPanels::Combo(QWidget* panel, const char* name) {
    QComboBox* combo = ListCombo(panel, name, 24);
    connect(combo, &QComboBox::currentIndexChanged, this, [this] { changed_(); });
    return combo;
}

void TObjKindPanels::Watch(QListWidget* list) {
    connect(list, &QListWidget::itemChanged, this, [this] { changed_(); });
}

namespace {
QFormLayout* FormOf(QWidget* panel) {
    return static_cast<QFormLayout*>(panel->layout());
}
void AddRow(QWidget* panel, const QString& caption, QWidget* field) {
    FormOf(panel)->addRow(Caption(panel, caption, field), field);
}
} // namespace

void TObjKindPanels::BuildLightToWand() {
    O_Panel1 = NewPanel("O_Panel1");
    O_TLightEdit = Number(O_Panel1, "O_TLightEdit", -1, 999999);
    AddRow(O_Panel1, QStringLiteral("Запас света (в игровых часах)"), O_TLightEdit);
    FormOf(O_Panel1)->addRow(new QLabel(QStringLiteral("-1: Вечный источник света"), O_Panel1));
    FormOf(O_Panel1)->addRow(new QLabel(QStringLiteral("0: Выжженый источник"), O_Panel1));

    O_Panel2 = NewPanel("O_Panel2");
    O_T2LevelEdit = Number(O_Panel2, "O_T2LevelEdit", 0, 99);
    O_T2Spell1ComboBox = Combo(O_Panel2, "O_T2Spell1ComboBox");
    O_T2Spell2ComboBox = Combo(O_Panel2, "O_T2Spell2ComboBox");
    O_T2Spell3ComboBox = Combo(O_Panel2, "O_T2Spell3ComboBox");
    AddRow(O_Panel2, QStringLiteral("Уровень заклинаний"), O_T2LevelEdit);
    AddRow(O_Panel2, QStringLiteral("Заклинание 1"), O_T2Spell1ComboBox);
    AddRow(O_Panel2, QStringLiteral("Заклинание 2"), O_T2Spell2ComboBox);
    AddRow(O_Panel2, QStringLiteral("Заклинание 3"), O_T2Spell3ComboBox);

    const auto wand = [this](QWidget*& panel, const char* name, QSpinBox*& level, QSpinBox*& qty,
                             QSpinBox*& count, QComboBox*& spell, const char* levelName,
                             const char* qtyName, const char* countName, const char* spellName) {
        panel = NewPanel(name);
        level = Number(panel, levelName, 0, 999);
        qty = Number(panel, qtyName, 0, 999);
        count = Number(panel, countName, 0, 999);
        spell = Combo(panel, spellName);
        AddRow(panel, QStringLiteral("Уровень заклинания"), level);
        AddRow(panel, QStringLiteral("Максимум зарядов"), qty);
        AddRow(panel, QStringLiteral("Осталось зарядов"), count);
        AddRow(panel, QStringLiteral("Заклинание"), spell);
    };
    wand(O_Panel3, "O_Panel3", O_T3LevelEdit, O_T3QtyEdit, O_T3CountEdit, O_T3SpellComboBox,
         "O_T3LevelEdit", "O_T3QtyEdit", "O_T3CountEdit", "O_T3SpellComboBox");
    wand(O_Panel4, "O_Panel4", O_T4LevelEdit, O_T4QtyEdit, O_T4CountEdit, O_T4SpellComboBox,
         "O_T4LevelEdit", "O_T4QtyEdit", "O_T4CountEdit", "O_T4SpellComboBox");
}

void TObjKindPanels::BuildWeaponToPotion() {
    O_Panel5 = NewPanel("O_Panel5");
    O_T5Dice1Edit = Number(O_Panel5, "O_T5Dice1Edit", 0, 999);
    O_T5Dice2Edit = Number(O_Panel5, "O_T5Dice2Edit", 0, 999);
    O_T5ComboBox = Combo(O_Panel5, "O_T5ComboBox");
    AddRow(O_Panel5, QStringLiteral("Число кубиков повреждений"), O_T5Dice1Edit);
    AddRow(O_Panel5, QStringLiteral("Граней у кубика"), O_T5Dice2Edit);
    FormOf(O_Panel5)->addRow(
        Caption(O_Panel5, QStringLiteral("Тип сообщений при нанесении повреждений"), O_T5ComboBox));
    FormOf(O_Panel5)->addRow(O_T5ComboBox);

    O_Panel9 = NewPanel("O_Panel9");
    O_TACEdit = Number(O_Panel9, "O_TACEdit", -99999, 999999);
    O_TArmourEdit = Number(O_Panel9, "O_TArmourEdit", -99999, 999999);
    AddRow(O_Panel9, QStringLiteral("AC"), O_TACEdit);
    AddRow(O_Panel9, QStringLiteral("ARMOUR (%)"), O_TArmourEdit);

    O_Panel10 = NewPanel("O_Panel10");
    O_T10LevelEdit = Number(O_Panel10, "O_T10LevelEdit", 0, 99);
    O_T10Spell1ComboBox = Combo(O_Panel10, "O_T10Spell1ComboBox");
    O_T10Spell2ComboBox = Combo(O_Panel10, "O_T10Spell2ComboBox");
    O_T10Spell3ComboBox = Combo(O_Panel10, "O_T10Spell3ComboBox");
    AddRow(O_Panel10, QStringLiteral("Уровень заклинаний"), O_T10LevelEdit);
    AddRow(O_Panel10, QStringLiteral("Заклинание 1"), O_T10Spell1ComboBox);
    AddRow(O_Panel10, QStringLiteral("Заклинание 2"), O_T10Spell2ComboBox);
    AddRow(O_Panel10, QStringLiteral("Заклинание 3"), O_T10Spell3ComboBox);
}

void TObjKindPanels::BuildContainerToMoney() {
    O_Panel15 = NewPanel("O_Panel15");
    O_T15Edit1 = Number(O_Panel15, "O_T15Edit1", 0, 99999);
    O_T15CheckListBox = Named(new QListWidget(O_Panel15), "O_T15CheckListBox");
    O_T15CheckListBox->setFixedHeight(O_T15CheckListBox->fontMetrics().height() * 4 + 12);
    Watch(O_T15CheckListBox);
    O_T15Edit2 = Number(O_Panel15, "O_T15Edit2", -1, 99999);
    AddRow(O_Panel15, QStringLiteral("Вместимость"), O_T15Edit1);
    AddRow(O_Panel15, QStringLiteral("Флаги"), O_T15CheckListBox);
    AddRow(O_Panel15, QStringLiteral("Ключ (-1: нет)"), O_T15Edit2);

    const auto liquid = [this](QWidget*& panel, const char* name, QSpinBox*& most, QSpinBox*& now,
                               QComboBox*& kind, QSpinBox*& poison,
                               const std::array<const char*, 4>& names) {
        panel = NewPanel(name);
        most = Number(panel, names[0], 0, 999);
        now = Number(panel, names[1], 0, 999);
        kind = Combo(panel, names[2]);
        poison = Number(panel, names[3], 0, 999);
        AddRow(panel, QStringLiteral("Максимум жидкости"), most);
        AddRow(panel, QStringLiteral("Сейчас жидкости"), now);
        AddRow(panel, QStringLiteral("Тип жидкости"), kind);
        AddRow(panel, QStringLiteral("Отравление (0: нет)"), poison);
    };
    liquid(O_Panel17, "O_Panel17", O_T17Edit1, O_T17Edit2, O_T17ComboBox, O_T17Edit3,
           {"O_T17Edit1", "O_T17Edit2", "O_T17ComboBox", "O_T17Edit3"});

    O_Panel19 = NewPanel("O_Panel19");
    O_T19Edit1 = Number(O_Panel19, "O_T19Edit1", 0, 999);
    O_T19Edit2 = Number(O_Panel19, "O_T19Edit2", 0, 999);
    AddRow(O_Panel19, QStringLiteral("Насыщение (в часах)"), O_T19Edit1);
    AddRow(O_Panel19, QStringLiteral("Отравление (0: нет)"), O_T19Edit2);

    O_Panel20 = NewPanel("O_Panel20");
    O_T20Edit = Number(O_Panel20, "O_T20Edit", 0, 999999);
    kept_->Watch(O_T20Edit, 0, 999999);
    AddRow(O_Panel20, QStringLiteral("Количество монет"), O_T20Edit);

    liquid(O_Panel23, "O_Panel23", O_T23Edit1, O_T23Edit2, O_T23ComboBox, O_T23Edit3,
           {"O_T23Edit1", "O_T23Edit2", "O_T23ComboBox", "O_T23Edit3"});
}

void TObjKindPanels::BuildFountainToIngredient() {
    O_Panel24 = NewPanel("O_Panel24");
    O_T24SpellComboBox = Combo(O_Panel24, "O_T24SpellComboBox");
    AddRow(O_Panel24, QStringLiteral("Заклинание"), O_T24SpellComboBox);
    // Books teach a spell only; level and class have no place in the files.
    O_T24LevelEdit = NumberEdit(O_Panel24, "O_T24LevelEdit", 0, 99);
    O_T24ClassComboBox = ListCombo(O_Panel24, "O_T24ClassComboBox", 12);
    O_T24LevelEdit->hide();
    O_T24ClassComboBox->hide();

    O_Panel25 = Named(new QWidget(this), "O_Panel25");
    panels_.push_back(O_Panel25);
    // The flags over the whole width, the four numbers in two columns below:
    // beside the numbers the flags' explanations would be cut.
    auto* grid = new QGridLayout(O_Panel25);
    grid->setContentsMargins(4, 2, 4, 2);
    grid->setVerticalSpacing(3);
    O_T25CheckListBox1 = Named(new QListWidget(O_Panel25), "O_T25CheckListBox1");
    O_T25CheckListBox1->setMouseTracking(true);
    Watch(O_T25CheckListBox1);
    grid->addWidget(O_T25CheckListBox1, 0, 0, 1, 4);
    O_T25Edit1 = Number(O_Panel25, "O_T25Edit1", -1, 999999);
    O_T25Edit2 = Number(O_Panel25, "O_T25Edit2", -1, 999999);
    O_T25Edit3 = Number(O_Panel25, "O_T25Edit3", 0, 255);
    O_T25Edit4 = Number(O_Panel25, "O_T25Edit4", 0, 30);
    const std::array<std::pair<QString, QSpinBox*>, 4> fields{
        {{QStringLiteral("Прототип инградиента"), O_T25Edit1},
         {QStringLiteral("Осталось применений"), O_T25Edit2},
         {QStringLiteral("Лаг (в секундах)"), O_T25Edit3},
         {QStringLiteral("Уровень"), O_T25Edit4}}};
    for (int field = 0; field < 4; ++field) {
        const auto& [caption, edit] = fields[static_cast<size_t>(field)];
        // Down the first column, then the second: the two long captions share one.
        const int row = 1 + field % 2;
        const int column = field / 2 * 2;
        grid->addWidget(Caption(O_Panel25, caption, edit), row, column);
        grid->addWidget(edit, row, column + 1);
    }
    grid->setColumnStretch(1, 1);
    grid->setColumnStretch(3, 1);
}

void TObjKindPanels::LoadLists(const std::string& folder) {
    for (auto [combo, start] :
         std::initializer_list<std::pair<QComboBox*, int>>{{O_T2Spell1ComboBox, 1},
                                                           {O_T2Spell2ComboBox, 0},
                                                           {O_T2Spell3ComboBox, 0},
                                                           {O_T3SpellComboBox, 1},
                                                           {O_T4SpellComboBox, 1},
                                                           {O_T10Spell1ComboBox, 1},
                                                           {O_T10Spell2ComboBox, 0},
                                                           {O_T10Spell3ComboBox, 0}})
        LoadListReporting([&] { FillSpellCombo(folder, "Spells", combo, start); });
    LoadListReporting([&] { FillCodeCombo(folder, "Weapons", O_T5ComboBox, 0, 0); });
    LoadListReporting([&] { FillFlagList(folder, "Container", O_T15CheckListBox, 10); });
    LoadListReporting([&] { FillCodeCombo(folder, "DrinkTypes", O_T17ComboBox, 0, 0); });
    LoadListReporting([&] { FillCodeCombo(folder, "DrinkTypes", O_T23ComboBox, 0, 0); });
    LoadListReporting([&] { FillCodeCombo(folder, "Class", O_T24ClassComboBox, 0, 0); });
    LoadListReporting([&] { FillSpellCombo(folder, "Spells", O_T24SpellComboBox, 1); });
    LoadListReporting([&] { FillFlagList(folder, "Magic_Flags", O_T25CheckListBox1, 10); });
}

void TObjKindPanels::Show(const TObj& obj) {
    // Every panel shows the parameters, so that a change of kind starts from
    // the record's values rather than another record's.
    const int p1 = DecimalOr(obj.Param1, 0);
    O_TLightEdit->setValue(p1);

    O_T2LevelEdit->setValue(p1);
    ShowSpellCode(O_T2Spell1ComboBox, obj.Param2);
    ShowSpellCode(O_T2Spell2ComboBox, obj.Param3);
    ShowSpellCode(O_T2Spell3ComboBox, obj.Param4);

    for (auto [level, qty, count, spell] :
         {std::tuple{O_T3LevelEdit, O_T3QtyEdit, O_T3CountEdit, O_T3SpellComboBox},
          std::tuple{O_T4LevelEdit, O_T4QtyEdit, O_T4CountEdit, O_T4SpellComboBox}}) {
        level->setValue(p1);
        qty->setValue(obj.Param2);
        count->setValue(obj.Param3);
        ShowSpellCode(spell, obj.Param4);
    }

    O_T5Dice1Edit->setValue(obj.Param2);
    O_T5Dice2Edit->setValue(obj.Param3);
    ShowCode(O_T5ComboBox, obj.Param4);

    O_TACEdit->setValue(p1);
    O_TArmourEdit->setValue(obj.Param2);

    O_T10LevelEdit->setValue(p1);
    ShowSpellCode(O_T10Spell1ComboBox, obj.Param2);
    ShowSpellCode(O_T10Spell2ComboBox, obj.Param3);
    ShowSpellCode(O_T10Spell3ComboBox, obj.Param4);

    O_T15Edit1->setValue(p1);
    for (int i = 0; i < O_T15CheckListBox->count(); ++i)
        O_T15CheckListBox->item(i)->setCheckState(
            i < kContainerBits && (obj.Param2 & (1 << i)) ? Qt::Checked : Qt::Unchecked);
    O_T15Edit2->setValue(obj.Param3);

    for (auto [most, now, kind, poison] :
         {std::tuple{O_T17Edit1, O_T17Edit2, O_T17ComboBox, O_T17Edit3},
          std::tuple{O_T23Edit1, O_T23Edit2, O_T23ComboBox, O_T23Edit3}}) {
        most->setValue(p1);
        now->setValue(obj.Param2);
        ShowCode(kind, obj.Param3);
        poison->setValue(obj.Param4);
    }

    O_T19Edit1->setValue(p1);
    O_T19Edit2->setValue(obj.Param2);
    kept_->Show(O_T20Edit, p1);
    ShowSpellCode(O_T24SpellComboBox, obj.Param2);

    FlagsToChecks(obj.MagicVector, O_T25CheckListBox1);
    O_T25Edit3->setValue(p1 % 256);
    O_T25Edit4->setValue(p1 / 256);
    O_T25Edit1->setValue(obj.Param2);
    O_T25Edit2->setValue(obj.Param3);
}

bool TObjKindPanels::CanStore() const {
    return kept_->Check();
}

void TObjKindPanels::Read(TObj& obj, int kind) const {
    const auto param1 = [&obj](int value) { obj.Param1 = std::to_string(value); };
    switch (kind) {
    case 1:
        param1(O_TLightEdit->value());
        break;
    case 2:
    case 10: {
        const bool scroll = kind == 2;
        param1((scroll ? O_T2LevelEdit : O_T10LevelEdit)->value());
        obj.Param2 = ReadSpellCode(scroll ? O_T2Spell1ComboBox : O_T10Spell1ComboBox, obj.Param2);
        obj.Param3 = ReadSpellCode(scroll ? O_T2Spell2ComboBox : O_T10Spell2ComboBox, obj.Param3);
        obj.Param4 = ReadSpellCode(scroll ? O_T2Spell3ComboBox : O_T10Spell3ComboBox, obj.Param4);
        break;
    }
    case 3:
    case 4: {
        const bool wand = kind == 3;
        param1((wand ? O_T3LevelEdit : O_T4LevelEdit)->value());
        obj.Param2 = (wand ? O_T3QtyEdit : O_T4QtyEdit)->value();
        obj.Param3 = (wand ? O_T3CountEdit : O_T4CountEdit)->value();
        obj.Param4 = ReadSpellCode(wand ? O_T3SpellComboBox : O_T4SpellComboBox, obj.Param4);
        break;
    }
    case 5:
        obj.Param2 = O_T5Dice1Edit->value();
        obj.Param3 = O_T5Dice2Edit->value();
        obj.Param4 = ReadCode(O_T5ComboBox, obj.Param4);
        break;
    case 9:
        param1(O_TACEdit->value());
        obj.Param2 = O_TArmourEdit->value();
        break;
    case 15: {
        param1(O_T15Edit1->value());
        // Bits above the four the list names are kept as the file had them.
        int flags = obj.Param2 & ~((1 << kContainerBits) - 1);
        for (int i = 0; i < std::min(kContainerBits, O_T15CheckListBox->count()); ++i)
            if (O_T15CheckListBox->item(i)->checkState() == Qt::Checked)
                flags |= 1 << i;
        obj.Param2 = flags;
        obj.Param3 = O_T15Edit2->value();
        break;
    }
    case 17:
    case 23: {
        const bool drink = kind == 17;
        param1((drink ? O_T17Edit1 : O_T23Edit1)->value());
        obj.Param2 = (drink ? O_T17Edit2 : O_T23Edit2)->value();
        obj.Param3 = ReadCode(drink ? O_T17ComboBox : O_T23ComboBox, obj.Param3);
        obj.Param4 = (drink ? O_T17Edit3 : O_T23Edit3)->value();
        break;
    }
    case 19:
        param1(O_T19Edit1->value());
        obj.Param2 = O_T19Edit2->value();
        break;
    case 20:
        if (const auto money = kept_->Entered(O_T20Edit))
            param1(static_cast<int>(*money));
        break;
    case 24:
        obj.Param2 = ReadSpellCode(O_T24SpellComboBox, obj.Param2);
        break;
    case 25:
        obj.MagicVector = ChecksToFlagsKeeping(O_T25CheckListBox1, obj.MagicVector);
        param1(O_T25Edit3->value() + O_T25Edit4->value() * 256);
        obj.Param2 = O_T25Edit1->value();
        obj.Param3 = O_T25Edit2->value();
        obj.Param4 = 0;
        break;
    default:
        break;
    }
}

void TObjKindPanels::ShowPanelOfPosition(int position) {
    const int panel = position >= 0 && position < static_cast<int>(kPanelOfPosition.size())
                          ? kPanelOfPosition[static_cast<size_t>(position)]
                          : -1;
    for (size_t i = 0; i < panels_.size(); ++i)
        panels_[i]->setVisible(static_cast<int>(i) == panel);
}

QWidget* TObjKindPanels::VisiblePanel() const {
    for (QWidget* panel : panels_)
        if (!panel->isHidden())
            return panel;
    return nullptr;
}
