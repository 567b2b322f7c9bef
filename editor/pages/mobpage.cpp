#include "mobpage.h"

#include "attachedtriggers.h"
#include "descform.h"
#include "destform.h"
#include "keptnumber.h"
#include "listform.h"
#include "editorcontext.h"
#include "modeltext.h"
#include "pagesupport.h"
#include "prompts.h"
#include "recordpage.h"
#include "textcodec.h"
#include "vocabularyfill.h"
#include "world.h"

#include <QComboBox>
#include <QEvent>
#include <QFocusEvent>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QRegularExpressionValidator>
#include <QSpinBox>
#include <QTabWidget>
#include <QTableWidget>
#include <QVBoxLayout>
#include <limits>
#include <set>
#include <utility>

namespace {

constexpr int kIntMin = std::numeric_limits<int32_t>::min();
constexpr int kIntMax = std::numeric_limits<int32_t>::max();
// Dice parts are 32-bit numbers; the bonus field holds the magnitude, whose
// largest value only the minus sign makes a 32-bit number.
constexpr long long kDicePartMax = kIntMax;
constexpr long long kDiceMagnitudeMax = -static_cast<long long>(kIntMin);
// Spell counts and skill values are kept in 16 signed bits.
constexpr int kPairValueMax = 32767;
// Room for the longest part with a sign, so that a record's value is never cut.
constexpr int kDiceFieldLength = 11;
// The width shows the common values; longer ones scroll in the field.
constexpr int kDiceFieldDigits = 7;
const char* const kMaximumProperty = "velmoraMaximum";
const char* const kShownProperty = "velmoraShown";

// A field still holding the text the record was shown with is the record's
// own value, whatever it is (a negative count from another tool), and is
// neither checked nor read back.
bool AsShown(const QLineEdit* edit) {
    return edit->text() == edit->property(kShownProperty).toString();
}

void ShowPart(QLineEdit* edit, long long value) {
    const QString text = QString::number(value);
    edit->setProperty(kShownProperty, text);
    edit->setText(text);
}

// A dice field's number: blanks dropped, nothing else but digits, in range.
std::optional<long long> DiceFieldValue(const QLineEdit* edit) {
    QString text = edit->text();
    text.remove(QLatin1Char(' '));
    bool ok = false;
    const long long value = text.toLongLong(&ok);
    const long long maximum = edit->property(kMaximumProperty).toLongLong();
    if (!ok || value < 0 || value > maximum)
        return std::nullopt;
    return value;
}

bool IsMinus(const QPushButton* sign) {
    return sign->text() == QStringLiteral("-");
}

} // namespace

// ---- dice ----

void TDiceEdits::Show(const TDice& dice) const {
    ShowPart(Count, dice.X);
    ShowPart(Sides, dice.Y);
    ShowPart(Bonus, std::abs(static_cast<long long>(dice.Z)));
    Sign->setText(dice.Z < 0 ? QStringLiteral("-") : QStringLiteral("+"));
}

namespace {
// The signed bonus from its magnitude and the sign button.
std::optional<int32_t> DiceBonusValue(const TDiceEdits& dice) {
    const auto magnitude = DiceFieldValue(dice.Bonus);
    if (!magnitude)
        return std::nullopt;
    const long long bonus = IsMinus(dice.Sign) ? -*magnitude : *magnitude;
    if (!std::in_range<int32_t>(bonus))
        return std::nullopt;
    return static_cast<int32_t>(bonus);
}
} // namespace

QLineEdit* TDiceEdits::InvalidField() const {
    for (QLineEdit* part : {Count, Sides})
        if (!AsShown(part) && !DiceFieldValue(part))
            return part;
    // Any 32-bit bonus shows as a magnitude with a sign, so it is always read.
    return DiceBonusValue(*this) ? nullptr : Bonus;
}

void TDiceEdits::Read(TDice& dice) const {
    for (const auto& [part, field] : {std::pair{Count, &dice.X}, std::pair{Sides, &dice.Y}})
        if (const auto value = DiceFieldValue(part); value && !AsShown(part))
            *field = static_cast<int32_t>(*value);
    if (const auto bonus = DiceBonusValue(*this))
        dice.Z = *bonus;
}

void TDiceFieldCheck::Watch(QLineEdit* edit, long long maximum) {
    edit->setProperty(kMaximumProperty, maximum);
    edit->installEventFilter(this);
}

bool TDiceFieldCheck::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() != QEvent::FocusOut || checking_)
        return false;
    const auto reason = static_cast<QFocusEvent*>(event)->reason();
    // Switching windows or opening a menu is not leaving the field.
    if (reason == Qt::ActiveWindowFocusReason || reason == Qt::PopupFocusReason)
        return false;
    auto* edit = qobject_cast<QLineEdit*>(watched);
    if (!edit || AsShown(edit))
        return false;
    if (const auto value = DiceFieldValue(edit)) {
        const QSignalBlocker block(edit); // the same number in plain form is no edit
        edit->setText(QString::number(*value));
        return false;
    }
    Refuse(edit);
    return false;
}

bool TDiceFieldCheck::Refuse(QLineEdit* edit) {
    checking_ = true;
    Prompts().Error(QStringLiteral("Введите корректное значение"));
    edit->setFocus();
    checking_ = false;
    return false;
}

QValidator::State TDigitsValidator::validate(QString& input, int&) const {
    // Only plain digits: a locale's group separators or a sign would be read
    // as no number at all, and the entry would be lost.
    if (input.isEmpty())
        return Intermediate;
    for (const QChar c : input)
        if (c < QLatin1Char('0') || c > QLatin1Char('9'))
            return Invalid;
    bool ok = false;
    const qlonglong value = input.toLongLong(&ok);
    return ok && value <= maximum_ ? Acceptable : Invalid;
}

QWidget* TDigitsDelegate::createEditor(QWidget* parent, const QStyleOptionViewItem&,
                                       const QModelIndex&) const {
    auto* editor = new QLineEdit(parent);
    editor->setValidator(new TDigitsValidator(kPairValueMax, editor));
    return editor;
}

std::vector<int32_t> MergeGridPairs(const std::vector<int32_t>& entries,
                                    const std::vector<std::pair<int, int>>& rows) {
    std::vector<int32_t> out;
    std::set<int> done;
    const auto valueOf = [&rows](int code) -> std::optional<int> {
        for (const auto& [rowCode, value] : rows)
            if (rowCode == code)
                return value;
        return std::nullopt;
    };
    for (const int32_t entry : entries) {
        const int code = PairNumber(entry);
        const auto value = valueOf(code);
        if (!value) {
            out.push_back(entry); // not on the page, so not the user's to lose
            continue;
        }
        if (!done.insert(code).second)
            continue;
        if (*value != 0)
            out.push_back(PackPair(static_cast<uint16_t>(code), static_cast<int16_t>(*value)));
    }
    for (const auto& [code, value] : rows)
        if (done.insert(code).second && value != 0)
            out.push_back(PackPair(static_cast<uint16_t>(code), static_cast<int16_t>(value)));
    return out;
}

// ---- construction ----

TMobPage::TMobPage(TEditorContext& main, QWidget* parent)
    : QWidget(parent), main_(main), diceCheck_(new TDiceFieldCheck(this)),
      kept_(new TKeptNumbers(this)) {
    setObjectName(QStringLiteral("MobPage"));
    auto* layout = new QHBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(BuildMainColumn(), 0);

    M_PageControl = Named(new QTabWidget(this), "M_PageControl");
    M_PageControl->setStyleSheet(QStringLiteral("QTabBar::tab { padding: 3px 6px; }"));
    M_ActionCheckListBox = Named(new QListWidget(this), "M_ActionCheckListBox");
    M_AffectCheckListBox = Named(new QListWidget(this), "M_AffectCheckListBox");
    M_SpecialCheckListBox = Named(new QListWidget(this), "M_SpecialCheckListBox");
    M_SpellsStringGrid = Grid("M_SpellsStringGrid");
    M_SkillsStringGrid = Grid("M_SkillsStringGrid");
    M_PageControl->addTab(BuildParamsTab(), QStringLiteral("Параметры"));
    M_PageControl->addTab(M_ActionCheckListBox, QStringLiteral("Action"));
    M_PageControl->addTab(BuildListTab(M_AffectCheckListBox, QStringLiteral("Аффекты")),
                          QStringLiteral("Affection"));
    M_PageControl->addTab(M_SpellsStringGrid, QStringLiteral("Spells"));
    M_PageControl->addTab(M_SkillsStringGrid, QStringLiteral("Skills"));
    M_PageControl->addTab(BuildTriggersTab(), QStringLiteral("Triggers"));
    M_PageControl->addTab(BuildListTab(M_SpecialCheckListBox, QStringLiteral("Спецфлаги")),
                          QStringLiteral("Special"));
    layout->addWidget(M_PageControl, 1);

    LoadLists();
    Connect();
}

QTableWidget* TMobPage::Grid(const char* name) {
    auto* grid = Named(new QTableWidget(this), name);
    grid->verticalHeader()->hide();
    grid->verticalHeader()->setDefaultSectionSize(grid->fontMetrics().height() + 4);
    grid->setSelectionMode(QAbstractItemView::SingleSelection);
    grid->setEditTriggers(QAbstractItemView::DoubleClicked | QAbstractItemView::EditKeyPressed |
                          QAbstractItemView::AnyKeyPressed | QAbstractItemView::SelectedClicked);
    grid->setItemDelegate(new TDigitsDelegate(grid));
    return grid;
}

void TMobPage::BuildDice(QWidget* parent, TDiceEdits& dice, const char* prefix) {
    const QByteArray base(prefix);
    const auto field = [&](const char* role, long long maximum) {
        auto* edit = Named(new QLineEdit(parent), (base + role).constData());
        edit->setMaxLength(kDiceFieldLength);
        edit->setValidator(
            new QRegularExpressionValidator(QRegularExpression(QStringLiteral("[0-9 ]*")), edit));
        edit->setFixedWidth(
            edit->fontMetrics().horizontalAdvance(QLatin1Char('0')) * kDiceFieldDigits + 16);
        diceCheck_->Watch(edit, maximum);
        return edit;
    };
    dice.Count = field("1Edit", kDicePartMax);
    dice.Sides = field("2Edit", kDicePartMax);
    dice.Sign = Named(new QPushButton(QStringLiteral("+"), parent), (base + "Btn").constData());
    dice.Sign->setFixedWidth(24);
    dice.Sign->setAutoDefault(false);
    dice.Bonus = field("3Edit", kDiceMagnitudeMax);
}

QWidget* TMobPage::BuildMainColumn() {
    auto* column = new QWidget(this);
    column->setFixedWidth(470);
    auto* grid = new QGridLayout(column);
    grid->setContentsMargins(0, 0, 0, 0);
    grid->setVerticalSpacing(3);
    int row = BuildNameFields(column, grid, 0, "M_", Names);
    M_AliasEdit = Names.Alias;
    M_CDupBtn = Names.CDup;
    M_Name1Edit = Names.Names[0];
    M_Name2Edit = Names.Names[1];
    M_Name3Edit = Names.Names[2];
    M_Name4Edit = Names.Names[3];
    M_Name5Edit = Names.Names[4];
    M_Name6Edit = Names.Names[5];
    M_DescEdit = Names.Desc;
    M_FullDescBtn = Named(new QPushButton(QStringLiteral("Детальное"), column), "M_FullDescBtn");
    M_FullDescBtn->setAutoDefault(false);
    // Only the first line shows here; the text is edited in its dialog.
    M_FullDescEdit = Named(new QLineEdit(column), "M_FullDescEdit");
    M_FullDescEdit->setReadOnly(true);
    grid->addWidget(M_FullDescBtn, row, 0);
    grid->addWidget(M_FullDescEdit, row++, 1);

    auto* numbers = new QGridLayout;
    numbers->setVerticalSpacing(3);
    M_LevelComboBox = ListCombo(column, "M_LevelComboBox", 4);
    M_Thac0ComboBox = ListCombo(column, "M_Thac0ComboBox", 4);
    M_ACComboBox = ListCombo(column, "M_ACComboBox", 4);
    auto* combat = new QHBoxLayout;
    combat->addWidget(M_LevelComboBox, 1);
    combat->addWidget(Caption(column, QStringLiteral("Thac0"), M_Thac0ComboBox));
    combat->addWidget(M_Thac0ComboBox, 1);
    combat->addWidget(Caption(column, QStringLiteral("AC"), M_ACComboBox));
    combat->addWidget(M_ACComboBox, 1);
    int line = 0;
    numbers->addWidget(Caption(column, QStringLiteral("Уровень"), M_LevelComboBox), line, 0);
    numbers->addLayout(combat, line++, 1);

    const auto diceRow = [&](TDiceEdits& dice, const char* prefix, const QString& caption) {
        BuildDice(column, dice, prefix);
        auto* box = new QHBoxLayout;
        box->addWidget(dice.Count);
        box->addWidget(new QLabel(QStringLiteral("d"), column));
        box->addWidget(dice.Sides);
        box->addWidget(dice.Sign);
        box->addWidget(dice.Bonus);
        box->addStretch(1);
        numbers->addWidget(Caption(column, caption, dice.Count), line, 0);
        numbers->addLayout(box, line++, 1);
    };
    diceRow(Hits, "M_HP", QStringLiteral("Max HP"));
    diceRow(Damage, "M_Damage", QStringLiteral("Hand damage"));
    diceRow(Money, "M_Money", QStringLiteral("Деньги"));
    M_HP1Edit = Hits.Count;
    M_HP2Edit = Hits.Sides;
    M_HPBtn = Hits.Sign;
    M_HP3Edit = Hits.Bonus;
    M_Damage1Edit = Damage.Count;
    M_Damage2Edit = Damage.Sides;
    M_DamageBtn = Damage.Sign;
    M_Damage3Edit = Damage.Bonus;
    M_Money1Edit = Money.Count;
    M_Money2Edit = Money.Sides;
    M_MoneyBtn = Money.Sign;
    M_Money3Edit = Money.Bonus;

    M_ExpEdit = NumberEdit(column, "M_ExpEdit", kIntMin, kIntMax);
    M_SexComboBox = ListCombo(column, "M_SexComboBox", 8);
    auto* exp = new QHBoxLayout;
    exp->addWidget(M_ExpEdit, 1);
    exp->addWidget(Caption(column, QStringLiteral("Пол"), M_SexComboBox));
    exp->addWidget(M_SexComboBox, 1);
    numbers->addWidget(Caption(column, QStringLiteral("Опыт"), M_ExpEdit), line, 0);
    numbers->addLayout(exp, line++, 1);

    M_State1ComboBox = ListCombo(column, "M_State1ComboBox", 16);
    M_State2ComboBox = ListCombo(column, "M_State2ComboBox", 16);
    M_AlignComboBox = ListCombo(column, "M_AlignComboBox", 16);
    numbers->addWidget(Caption(column, QStringLiteral("Положение\nпри загрузке"), M_State1ComboBox),
                       line, 0);
    numbers->addWidget(M_State1ComboBox, line++, 1);
    numbers->addWidget(Caption(column, QStringLiteral("Положение\nпо умолчанию"), M_State2ComboBox),
                       line, 0);
    numbers->addWidget(M_State2ComboBox, line++, 1);
    numbers->addWidget(Caption(column, QStringLiteral("Align"), M_AlignComboBox), line, 0);
    numbers->addWidget(M_AlignComboBox, line++, 1);
    numbers->setColumnStretch(1, 1);
    grid->addLayout(numbers, row++, 0, 1, 2);
    grid->setRowStretch(row, 1);
    return column;
}

QWidget* TMobPage::BuildParamsTab() {
    auto* tab = new QWidget(this);
    auto* grid = new QGridLayout(tab);
    grid->setVerticalSpacing(3);
    const std::array<std::pair<QComboBox**, const char*>, 6> stats = {{
        {&M_StrComboBox, "Str"},
        {&M_IntComboBox, "Int"},
        {&M_WisComboBox, "Wiz"},
        {&M_DexComboBox, "Dex"},
        {&M_ConComboBox, "Con"},
        {&M_ChaComboBox, "Cha"},
    }};
    const std::array<const char*, 6> statNames = {"M_StrComboBox", "M_IntComboBox",
                                                  "M_WisComboBox", "M_DexComboBox",
                                                  "M_ConComboBox", "M_ChaComboBox"};
    for (size_t i = 0; i < stats.size(); ++i) {
        QComboBox* combo = ListCombo(tab, statNames[i], 4);
        *stats[i].first = combo;
        const int r = static_cast<int>(i % 3);
        const int c = static_cast<int>(i / 3) * 2;
        grid->addWidget(Caption(tab, QLatin1String(stats[i].second), combo), r, c);
        grid->addWidget(combo, r, c + 1);
    }
    int row = 3;
    const auto add = [&](const QString& caption, QWidget* field) {
        grid->addWidget(Caption(tab, caption, field), row, 0);
        grid->addWidget(field, row++, 1, 1, 3);
    };
    M_LikeWorkComboBox = ListCombo(tab, "M_LikeWorkComboBox", 16);
    M_ClassComboBox = ListCombo(tab, "M_ClassComboBox", 16);
    M_ExtraAttackComboBox = ListCombo(tab, "M_ExtraAttackComboBox", 16);
    M_MaxFactorComboBox = ListCombo(tab, "M_MaxFactorComboBox", 16);
    M_BareHandComboBox = ListCombo(tab, "M_BareHandComboBox", 16);
    add(QStringLiteral("LikeWork"), M_LikeWorkComboBox);
    add(QStringLiteral("Class"), M_ClassComboBox);
    add(QStringLiteral("ExtraAttack"), M_ExtraAttackComboBox);
    add(QStringLiteral("BareHandAttack"), M_BareHandComboBox);
    // Kept for the round trip; the server takes these from elsewhere.
    M_MaxFactorComboBox->hide();

    M_SizeEdit = NumberEdit(tab, "M_SizeEdit", kIntMin, kIntMax);
    M_HeightEdit = NumberEdit(tab, "M_HeightEdit", kIntMin, kIntMax);
    M_HeightEdit->hide();
    M_Weight = NumberEdit(tab, "M_Weight", kIntMin, kIntMax);
    M_MaxInWorldEdit = NumberEdit(tab, "M_MaxInWorldEdit", 0, 999);
    kept_->Watch(M_MaxInWorldEdit, 0, 999);
    grid->addWidget(Caption(tab, QStringLiteral("Размер"), M_SizeEdit), row, 0);
    grid->addWidget(M_SizeEdit, row, 1);
    grid->addWidget(Caption(tab, QStringLiteral("Вес"), M_Weight), row, 2);
    grid->addWidget(M_Weight, row++, 3);
    grid->addWidget(Caption(tab, QStringLiteral("Max in world"), M_MaxInWorldEdit), row, 0);
    grid->addWidget(M_MaxInWorldEdit, row++, 1);

    M_DestinationEdit = Named(new QLineEdit(tab), "M_DestinationEdit");
    // The route is changed through its dialog only, where every edit counts.
    M_DestinationEdit->setReadOnly(true);
    M_DestinationBtn = Named(new QPushButton(QStringLiteral("..."), tab), "M_DestinationBtn");
    M_DestinationBtn->setFixedWidth(32);
    M_DestinationBtn->setAutoDefault(false);
    auto* route = new QHBoxLayout;
    route->addWidget(M_DestinationEdit, 1);
    route->addWidget(M_DestinationBtn);
    grid->addWidget(Caption(tab, QStringLiteral("Destination"), M_DestinationEdit), row, 0);
    grid->addLayout(route, row++, 1, 1, 3);

    M_HelperListBox = Named(new QListWidget(tab), "M_HelperListBox");
    M_HelperEdit = Named(new QLineEdit(tab), "M_HelperEdit");
    M_HelperEdit->setValidator(
        new QRegularExpressionValidator(QRegularExpression(QStringLiteral("[0-9]{0,9}")), tab));
    M_AddHelperBtn = Named(new QPushButton(QStringLiteral("+"), tab), "M_AddHelperBtn");
    M_DelHelperBtn = Named(new QPushButton(QStringLiteral("--"), tab), "M_DelHelperBtn");
    auto* helperButtons = new QVBoxLayout;
    helperButtons->addWidget(M_HelperEdit);
    auto* plusMinus = new QHBoxLayout;
    plusMinus->addWidget(M_AddHelperBtn);
    plusMinus->addWidget(M_DelHelperBtn);
    helperButtons->addLayout(plusMinus);
    helperButtons->addStretch(1);
    grid->addWidget(Caption(tab, QStringLiteral("Helper"), M_HelperListBox), row, 0, Qt::AlignTop);
    grid->addWidget(M_HelperListBox, row, 1, 1, 2);
    grid->addLayout(helperButtons, row, 3);
    grid->setRowStretch(row, 1);
    grid->setColumnStretch(1, 1);
    grid->setColumnStretch(3, 1);
    return tab;
}

QWidget* TMobPage::BuildListTab(QListWidget* list, const QString& caption) {
    auto* tab = new QWidget(this);
    auto* layout = new QVBoxLayout(tab);
    layout->addWidget(Caption(tab, caption, list));
    layout->addWidget(list, 1);
    return tab;
}

QWidget* TMobPage::BuildTriggersTab() {
    Triggers = new TAttachedTriggers(
        main_.World().Triggers, *main_.TriggerForm, Prompts(),
        {"M_TriggerListBox", "M_AddTriggerBtn", "M_EditTriggerBtn", "M_DelTriggerBtn",
         QStringLiteral("Список триггеров подключенных к мобу"), [this] { return HasMob(); },
         QStringLiteral("Сначала выберите моба"), 0},
        this);
    connect(Triggers, &TAttachedTriggers::changed, this, [this] { main_.SetChanged(true); });
    Triggers->Expose(M_TriggerListBox, M_AddTriggerBtn, M_EditTriggerBtn, M_DelTriggerBtn);
    return Triggers;
}

void TMobPage::LoadLists() {
    const std::string& folder = main_.ProgramFolder;
    const auto coded = [&folder](const char* list, QComboBox* combo, int width, int start) {
        LoadListReporting([&] { FillCodeCombo(folder, list, combo, width, start); });
    };
    coded("Level", M_LevelComboBox, 0, 0);
    coded("Thac0", M_Thac0ComboBox, 0, 0);
    coded("AC", M_ACComboBox, 0, 10);
    coded("pol", M_SexComboBox, 4, 1);
    coded("Position", M_State1ComboBox, 25, 0);
    coded("Position", M_State2ComboBox, 25, 0);
    coded("Align", M_AlignComboBox, 0, 0);
    coded("LikeWork", M_LikeWorkComboBox, 0, 0);
    coded("Class_Mob", M_ClassComboBox, 0, 0);
    coded("MaxFactor", M_MaxFactorComboBox, 0, 0);
    coded("ExtraAttack", M_ExtraAttackComboBox, 0, 0);
    coded("Weapons", M_BareHandComboBox, 0, 0);
    for (QComboBox* combo :
         {M_StrComboBox, M_IntComboBox, M_WisComboBox, M_DexComboBox, M_ConComboBox, M_ChaComboBox})
        coded("Stats", combo, 0, 11);
    LoadListReporting([&] { FillFlagList(folder, "Action", M_ActionCheckListBox, 25); });
    LoadListReporting([&] { FillFlagList(folder, "Mob_Affect", M_AffectCheckListBox, 15); });
    LoadListReporting(
        [&] { FillFlagList(folder, "Mob_Special_BitVector", M_SpecialCheckListBox, 15); });
    LoadListReporting(
        [&] { FillGrid(folder, "Spells_Mob", M_SpellsStringGrid, TGridKind::Spells); });
    LoadListReporting(
        [&] { FillGrid(folder, "Skills_Mob", M_SkillsStringGrid, TGridKind::Skills); });
}

bool TMobPage::CanStore() {
    for (const TDiceEdits* dice : {&Hits, &Damage, &Money})
        if (QLineEdit* invalid = dice->InvalidField())
            return diceCheck_->Refuse(invalid);
    return kept_->Check();
}

void TMobPage::Connect() {
    const auto change = [this] { MobChange(); };
    for (QLineEdit* edit : {M_AliasEdit, M_Name2Edit, M_Name3Edit, M_Name4Edit, M_Name5Edit,
                            M_Name6Edit, M_DescEdit, M_HP1Edit, M_HP2Edit, M_HP3Edit, M_Damage1Edit,
                            M_Damage2Edit, M_Damage3Edit, M_Money1Edit, M_Money2Edit, M_Money3Edit})
        connect(edit, &QLineEdit::textChanged, this, change);
    connect(M_HelperEdit, &QLineEdit::textEdited, this, change);
    for (QSpinBox* edit : {M_ExpEdit, M_SizeEdit, M_HeightEdit, M_Weight, M_MaxInWorldEdit})
        connect(edit, &QSpinBox::valueChanged, this, change);
    for (QComboBox* combo :
         {M_LevelComboBox, M_Thac0ComboBox, M_ACComboBox, M_SexComboBox, M_State1ComboBox,
          M_State2ComboBox, M_StrComboBox, M_IntComboBox, M_WisComboBox, M_DexComboBox,
          M_ConComboBox, M_ChaComboBox, M_AlignComboBox, M_LikeWorkComboBox, M_ClassComboBox,
          M_ExtraAttackComboBox, M_MaxFactorComboBox, M_BareHandComboBox})
        connect(combo, &QComboBox::currentIndexChanged, this, change);
    for (QListWidget* list : {M_ActionCheckListBox, M_AffectCheckListBox, M_SpecialCheckListBox})
        connect(list, &QListWidget::itemChanged, this, change);
    for (QTableWidget* grid : {M_SpellsStringGrid, M_SkillsStringGrid})
        connect(grid, &QTableWidget::itemChanged, this, change);

    connect(M_Name1Edit, &QLineEdit::textEdited, this, &TMobPage::Name1EditChange);
    connect(M_CDupBtn, &QPushButton::clicked, this, &TMobPage::CDupBtnClick);
    for (QPushButton* sign : {M_HPBtn, M_DamageBtn, M_MoneyBtn})
        connect(sign, &QPushButton::clicked, this, [this, sign] { DiceBtnClick(sign); });
    connect(M_AddHelperBtn, &QPushButton::clicked, this, &TMobPage::AddHelperBtnClick);
    connect(M_DelHelperBtn, &QPushButton::clicked, this, &TMobPage::DelHelperBtnClick);
    connect(M_DestinationBtn, &QPushButton::clicked, this, &TMobPage::DestinationBtnClick);
    connect(M_FullDescBtn, &QPushButton::clicked, this, &TMobPage::FullDescBtnClick);
}

// ---- transfer ----

namespace {

template <class T> void ReadCombo(const QComboBox* combo, T& field) {
    field = static_cast<T>(ReadCode(combo, field));
}

} // namespace

void TMobPage::ShowGrid(QTableWidget* grid, const std::vector<int32_t>& entries, bool counts) {
    const int column = grid->columnCount() - 1;
    for (int row = 0; row < grid->rowCount(); ++row) {
        const int code = grid->item(row, 0)->data(kCodeRole).toInt();
        int value = 0;
        if (counts) {
            for (const int32_t entry : entries)
                if (PairNumber(entry) == code)
                    value += PairValue(entry);
        } else {
            for (const int32_t entry : entries)
                if (PairNumber(entry) == code) {
                    value = PairValue(entry);
                    break;
                }
        }
        grid->item(row, column)->setText(QString::number(value));
    }
}

std::vector<int32_t> TMobPage::ReadGrid(const QTableWidget* grid,
                                        const std::vector<int32_t>& entries) {
    std::vector<std::pair<int, int>> rows;
    const int column = grid->columnCount() - 1;
    for (int row = 0; row < grid->rowCount(); ++row)
        rows.emplace_back(grid->item(row, 0)->data(kCodeRole).toInt(),
                          grid->item(row, column)->text().toInt());
    return MergeGridPairs(entries, rows);
}

void TMobPage::ShowOnPage(const TMob& mob) {
    const TShowing showing(showing_);
    ShowLine(M_AliasEdit, FromCp1251(mob.Alias));
    const std::array<const TCompactString*, 6> names = {&mob.Imen, &mob.Rod,  &mob.Dat,
                                                        &mob.Vin,  &mob.Tvor, &mob.Pred};
    for (size_t i = 0; i < names.size(); ++i)
        ShowLine(Names.Names[i], FromCp1251(*names[i]));
    ShowLine(M_DescEdit, FromCp1251(mob.Desc));
    look_ = mob.Look;
    ShowLine(M_FullDescEdit, FirstLine(look_));

    FlagsToChecks(mob.Flags, M_ActionCheckListBox);
    FlagsToChecks(mob.Affects, M_AffectCheckListBox);
    ShowCode(M_AlignComboBox, mob.Align);
    ShowCode(M_LevelComboBox, mob.Level);
    ShowCode(M_Thac0ComboBox, mob.Hitroll);
    ShowCode(M_ACComboBox, mob.AC);

    Hits.Show(mob.Hits);
    Damage.Show(mob.Damage);
    Money.Show(mob.Money);

    M_ExpEdit->setValue(mob.Exp);
    ShowCode(M_State1ComboBox, mob.PosLoad);
    ShowCode(M_State2ComboBox, mob.PosDefault);
    ShowCode(M_SexComboBox, mob.Pol);
    ShowCode(M_BareHandComboBox, mob.BareHandAttack);
    destination_ = mob.Destination;
    ShowLine(M_DestinationEdit, FromCp1251(destination_));
    const std::array<std::pair<QComboBox*, int>, 10> coded = {{
        {M_StrComboBox, mob.Str},
        {M_IntComboBox, mob.Int},
        {M_WisComboBox, mob.Wis},
        {M_DexComboBox, mob.Dex},
        {M_ConComboBox, mob.Con},
        {M_ChaComboBox, mob.Cha},
        {M_LikeWorkComboBox, mob.LikeWork},
        {M_MaxFactorComboBox, mob.MaxFactor},
        {M_ExtraAttackComboBox, mob.ExtraAttack},
        {M_ClassComboBox, mob.Model},
    }};
    for (const auto& [combo, code] : coded)
        ShowCode(combo, code);
    M_SizeEdit->setValue(mob.Size);
    M_HeightEdit->setValue(mob.Height);
    M_Weight->setValue(mob.Weight);
    kept_->Show(M_MaxInWorldEdit, mob.MaxInWorld);
    FlagsToChecks(mob.Special, M_SpecialCheckListBox);

    ShowGrid(M_SpellsStringGrid, mob.Spells, true);
    ShowGrid(M_SkillsStringGrid, mob.Skills, false);

    M_HelperListBox->clear();
    for (const int32_t helper : mob.Helper)
        M_HelperListBox->addItem(QString::number(helper));

    Triggers->Show(mob.Triggers);
}

void TMobPage::ReadFromPage(TMob& mob) {
    mob.Alias = ToModelText(M_AliasEdit->text());
    const std::array<TCompactString*, 6> names = {&mob.Imen, &mob.Rod,  &mob.Dat,
                                                  &mob.Vin,  &mob.Tvor, &mob.Pred};
    for (size_t i = 0; i < names.size(); ++i)
        *names[i] = ToModelText(Names.Names[i]->text());
    mob.Desc = ToModelText(M_DescEdit->text());
    mob.Look = look_;

    mob.Flags = ChecksToFlagsKeeping(M_ActionCheckListBox, mob.Flags);
    mob.Affects = ChecksToFlagsKeeping(M_AffectCheckListBox, mob.Affects);
    ReadCombo(M_AlignComboBox, mob.Align);
    ReadCombo(M_LevelComboBox, mob.Level);
    ReadCombo(M_Thac0ComboBox, mob.Hitroll);
    ReadCombo(M_ACComboBox, mob.AC);

    Hits.Read(mob.Hits);
    Damage.Read(mob.Damage);
    Money.Read(mob.Money);

    mob.Exp = M_ExpEdit->value();
    ReadCombo(M_State1ComboBox, mob.PosLoad);
    ReadCombo(M_State2ComboBox, mob.PosDefault);
    ReadCombo(M_SexComboBox, mob.Pol);
    ReadCombo(M_BareHandComboBox, mob.BareHandAttack);
    mob.Destination = destination_;
    ReadCombo(M_StrComboBox, mob.Str);
    ReadCombo(M_IntComboBox, mob.Int);
    ReadCombo(M_WisComboBox, mob.Wis);
    ReadCombo(M_DexComboBox, mob.Dex);
    ReadCombo(M_ConComboBox, mob.Con);
    ReadCombo(M_ChaComboBox, mob.Cha);
    ReadCombo(M_LikeWorkComboBox, mob.LikeWork);
    ReadCombo(M_MaxFactorComboBox, mob.MaxFactor);
    ReadCombo(M_ExtraAttackComboBox, mob.ExtraAttack);
    ReadCombo(M_ClassComboBox, mob.Model);
    mob.Size = M_SizeEdit->value();
    mob.Height = M_HeightEdit->value();
    mob.Weight = M_Weight->value();
    kept_->Read(M_MaxInWorldEdit, mob.MaxInWorld);
    mob.Special = ChecksToFlagsKeeping(M_SpecialCheckListBox, mob.Special);

    mob.Spells = ReadGrid(M_SpellsStringGrid, mob.Spells);
    mob.Skills = ReadGrid(M_SkillsStringGrid, mob.Skills);

    mob.Helper.clear();
    for (int row = 0; row < M_HelperListBox->count(); ++row)
        mob.Helper.push_back(M_HelperListBox->item(row)->text().toInt());
    mob.Triggers = Triggers->Numbers();
}

// ---- handlers ----

void TMobPage::MobChange() {
    if (!showing_)
        main_.RecordPage(MobPageIndex)->Change();
}

bool TMobPage::HasMob() const {
    return main_.RecordPage(MobPageIndex)->HasSelection();
}

void TMobPage::Name1EditChange() {
    if (!HasMob()) {
        Prompts().Information(QStringLiteral("Сначала создайте нового моба"));
        return;
    }
    MobChange();
    SetSelectedIdText(main_.RecordPage(MobPageIndex)->IDComboBox, M_Name1Edit->text());
}

void TMobPage::CDupBtnClick() {
    if (!Prompts().Confirm(
            QStringLiteral("Заменить текст во всех падежах на текст в именительном?")))
        return;
    MobChange();
    for (size_t i = 1; i < Names.Names.size(); ++i)
        Names.Names[i]->setText(M_Name1Edit->text());
}

void TMobPage::DiceBtnClick(QPushButton* button) {
    MobChange();
    button->setText(button->text() == QStringLiteral("+") ? QStringLiteral("-")
                                                          : QStringLiteral("+"));
}

void TMobPage::AddHelperBtnClick() {
    if (M_HelperEdit->text().isEmpty() || !HasMob())
        return;
    M_HelperListBox->addItem(M_HelperEdit->text());
    MobChange();
}

void TMobPage::DelHelperBtnClick() {
    const int row = M_HelperListBox->currentRow();
    if (row < 0 || !M_HelperListBox->currentItem())
        return;
    delete M_HelperListBox->takeItem(row);
    MobChange();
}

void TMobPage::DestinationBtnClick() {
    TDestForm& dialog = *main_.DestForm;
    dialog.SetRoute(destination_);
    dialog.exec();
    if (!dialog.Accepted())
        return;
    MobChange();
    destination_ = dialog.Route();
    M_DestinationEdit->setText(FromCp1251(destination_));
}

void TMobPage::FullDescBtnClick() {
    if (!HasMob())
        return;
    TDescForm& dialog = *main_.DescForm;
    dialog.SetLines(look_);
    dialog.exec();
    if (!dialog.Accepted())
        return;
    MobChange();
    look_ = dialog.Lines();
    M_FullDescEdit->setText(FirstLine(look_));
}

// ---- the entry point ----

void AttachMobPage(TEditorContext& main) {
    TRecordPage* records = main.RecordPage(MobPageIndex);
    auto* layout = new QVBoxLayout(records->Body);
    layout->setContentsMargins(0, 0, 0, 0);
    auto* page = new TMobPage(main, records->Body);
    layout->addWidget(page);

    records->ShowRecord = [records, page, show = ShowFrom(page, main.World().Mobs)](std::optional<int32_t> vnum) {
        const TMob* mob = show(vnum);
        if (mob)
            records->ShowEntryText(*vnum, FromCp1251(TMobList::EntryOf(*mob).Text));
    };
    records->StoreRecord = StoreInto(*main.Document, page, main.World().Mobs);
    records->CanStore = [page] { return page->CanStore(); };
}
