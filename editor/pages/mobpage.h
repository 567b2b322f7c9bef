#pragma once

// The mob page: one mob prototype of the current zone at a time, its names
// and descriptions, combat numbers, abilities, flags, the spells it casts
// and the skills it knows, its helpers, route and attached triggers.

#include "mob.h"
#include "protopage.h"

#include <QObject>
#include <QStyledItemDelegate>
#include <QValidator>
#include <QWidget>
#include <array>

class QComboBox;
class QLineEdit;
class QListWidget;
class QPushButton;
class QSpinBox;
class QTabWidget;
class QTableWidget;
class TAttachedTriggers;
class TKeptNumbers;
class TEditorContext;

// One dice value: count, "d", sides, the sign button and the bonus's magnitude.
struct TDiceEdits {
    QLineEdit* Count = nullptr;
    QLineEdit* Sides = nullptr;
    QPushButton* Sign = nullptr;
    QLineEdit* Bonus = nullptr;

    void Show(const TDice& dice) const;
    // The first field that does not hold a number its part can take (the
    // bonus with its sign), none when all do.
    QLineEdit* InvalidField() const;
    // Call only when InvalidField() found none.
    void Read(TDice& dice) const;
};

// Checks a dice field when the focus leaves it: blanks are dropped and the
// rest must be a number the field can hold, or the user is told and the
// focus goes back.
class TDiceFieldCheck : public QObject {
    Q_OBJECT

public:
    using QObject::QObject;
    // Watches `edit`, which holds numbers up to `maximum`.
    void Watch(QLineEdit* edit, long long maximum);
    // The check of a field done at once, for a store that the focus never
    // left the field for (Apply in the tools window): false after telling
    // the user, with the focus back in the field.
    bool Refuse(QLineEdit* edit);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    bool checking_ = false;
};

// Digits only (no sign, no group separators, whatever the locale), up to a
// maximum.
class TDigitsValidator : public QValidator {
    Q_OBJECT

public:
    TDigitsValidator(qlonglong maximum, QObject* parent) : QValidator(parent), maximum_(maximum) {}
    State validate(QString& input, int& pos) const override;

private:
    qlonglong maximum_;
};

// The editable column of the spell and skill grids takes digits only.
class TDigitsDelegate : public QStyledItemDelegate {
    Q_OBJECT

public:
    using QStyledItemDelegate::QStyledItemDelegate;
    QWidget* createEditor(QWidget* parent, const QStyleOptionViewItem& option,
                          const QModelIndex& index) const override;
};

// The record's entries (number and value packed) rebuilt from a grid: the
// entries keep their order, take the grid's value, and go when the grid says
// 0; numbers the grid has no row for are kept as they were; grid rows the
// record lacked follow in grid order.
std::vector<int32_t> MergeGridPairs(const std::vector<int32_t>& entries,
                                    const std::vector<std::pair<int, int>>& rows);

class TMobPage : public QWidget {
    Q_OBJECT

public:
    TMobPage(TEditorContext& main, QWidget* parent);

    void ShowOnPage(const TMob& mob);
    // False, after telling the user, when a field holds what the mob cannot take.
    bool CanStore();
    void ReadFromPage(TMob& mob);

    TNameFields Names;
    QLineEdit* M_AliasEdit;
    QPushButton* M_CDupBtn;
    QLineEdit *M_Name1Edit, *M_Name2Edit, *M_Name3Edit, *M_Name4Edit, *M_Name5Edit, *M_Name6Edit;
    QLineEdit* M_DescEdit;
    QLineEdit* M_FullDescEdit;
    QPushButton* M_FullDescBtn;
    QComboBox *M_LevelComboBox, *M_Thac0ComboBox, *M_ACComboBox;
    QLineEdit *M_HP1Edit, *M_HP2Edit, *M_HP3Edit;
    QPushButton* M_HPBtn;
    QLineEdit *M_Damage1Edit, *M_Damage2Edit, *M_Damage3Edit;
    QPushButton* M_DamageBtn;
    QLineEdit *M_Money1Edit, *M_Money2Edit, *M_Money3Edit;
    QPushButton* M_MoneyBtn;
    TDiceEdits Hits, Damage, Money;
    QSpinBox* M_ExpEdit;
    QComboBox *M_SexComboBox, *M_State1ComboBox, *M_State2ComboBox;
    QComboBox *M_StrComboBox, *M_IntComboBox, *M_WisComboBox, *M_DexComboBox, *M_ConComboBox,
        *M_ChaComboBox;
    QComboBox *M_AlignComboBox, *M_LikeWorkComboBox, *M_ClassComboBox, *M_ExtraAttackComboBox,
        *M_MaxFactorComboBox, *M_BareHandComboBox;
    QSpinBox *M_SizeEdit, *M_HeightEdit, *M_Weight, *M_MaxInWorldEdit;
    QLineEdit* M_DestinationEdit;
    QPushButton* M_DestinationBtn;
    QListWidget* M_HelperListBox;
    QLineEdit* M_HelperEdit;
    QPushButton *M_AddHelperBtn, *M_DelHelperBtn;
    QTabWidget* M_PageControl;
    QListWidget *M_ActionCheckListBox, *M_AffectCheckListBox, *M_SpecialCheckListBox;
    QTableWidget *M_SpellsStringGrid, *M_SkillsStringGrid;
    TAttachedTriggers* Triggers;
    QListWidget* M_TriggerListBox;
    QPushButton *M_AddTriggerBtn, *M_EditTriggerBtn, *M_DelTriggerBtn;

    // The working copy of the shown mob's detailed description.
    const TStringList& Look() const { return look_; }

private:
    QWidget* BuildMainColumn();
    QWidget* BuildParamsTab();
    QWidget* BuildListTab(QListWidget* list, const QString& caption);
    QWidget* BuildTriggersTab();
    QTableWidget* Grid(const char* name);
    void BuildDice(QWidget* parent, TDiceEdits& dice, const char* prefix);
    void LoadLists();
    void Connect();

    void MobChange();
    bool HasMob() const;
    void Name1EditChange();
    void CDupBtnClick();
    void DiceBtnClick(QPushButton* button);
    void AddHelperBtnClick();
    void DelHelperBtnClick();
    void DestinationBtnClick();
    void FullDescBtnClick();

    static void ShowGrid(QTableWidget* grid, const std::vector<int32_t>& entries, bool counts);
    static std::vector<int32_t> ReadGrid(const QTableWidget* grid,
                                         const std::vector<int32_t>& entries);

    TEditorContext& main_;
    TDiceFieldCheck* diceCheck_;
    TKeptNumbers* kept_;
    bool showing_ = false;
    TStringList look_;
    std::string destination_;
};
