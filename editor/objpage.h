#pragma once

// The object page: one object prototype of the current zone at a time, its
// names, descriptions, kind and kind parameters, flags, weights and prices,
// extra descriptions, special effects and attached triggers.

#include "obj.h"
#include "protopage.h"

#include <QWidget>
#include <array>
#include <functional>

class QCheckBox;
class QComboBox;
class QGroupBox;
class QLineEdit;
class QListWidget;
class QPlainTextEdit;
class QPushButton;
class QSpinBox;
class TAttachedTriggers;
class TKeptNumbers;
class QTabWidget;
class QTableWidget;
class TMainForm;

// A spell code into a spell list: 0, which the files also use for "no
// spell", selects the list's -1 entry; the record is not changed.
void ShowSpellCode(QComboBox* combo, int spell);
// The selected spell code; an untouched "none" gives back the record's 0.
int ReadSpellCode(const QComboBox* combo, int previous);

// The kind parameter panels: one per kind that has parameters, of which
// only the selected kind's is visible. Every panel shows the same four
// parameters in its kind's terms; storing takes them from the panel of the
// object's kind only.
class TObjKindPanels : public QWidget {
    Q_OBJECT

public:
    // `changed` runs for every edit of a panel's control.
    TObjKindPanels(QWidget* parent, std::function<void()> changed);
    // The vocabulary lists of the panels (reported one by one when missing).
    void LoadLists(const std::string& programFolder);

    void Show(const TObj& obj);
    // False, after telling the user, when a parameter typed is out of range.
    bool CanStore() const;
    // The parameters of `kind` into the record; other kinds keep theirs.
    void Read(TObj& obj, int kind) const;
    // The panel of a position of the kind list ("Тип"), none for the others.
    void ShowPanelOfPosition(int position);
    // The visible panel, nullptr when none is.
    QWidget* VisiblePanel() const;

    QWidget *O_Panel1, *O_Panel2, *O_Panel3, *O_Panel4, *O_Panel5, *O_Panel9, *O_Panel10,
        *O_Panel15, *O_Panel17, *O_Panel19, *O_Panel20, *O_Panel23, *O_Panel24, *O_Panel25;
    QSpinBox* O_TLightEdit;
    QSpinBox* O_T2LevelEdit;
    QComboBox *O_T2Spell1ComboBox, *O_T2Spell2ComboBox, *O_T2Spell3ComboBox;
    QSpinBox *O_T3LevelEdit, *O_T3QtyEdit, *O_T3CountEdit;
    QComboBox* O_T3SpellComboBox;
    QSpinBox *O_T4LevelEdit, *O_T4QtyEdit, *O_T4CountEdit;
    QComboBox* O_T4SpellComboBox;
    QSpinBox *O_T5Dice1Edit, *O_T5Dice2Edit;
    QComboBox* O_T5ComboBox;
    QSpinBox *O_TACEdit, *O_TArmourEdit;
    QSpinBox* O_T10LevelEdit;
    QComboBox *O_T10Spell1ComboBox, *O_T10Spell2ComboBox, *O_T10Spell3ComboBox;
    QSpinBox* O_T15Edit1;
    QListWidget* O_T15CheckListBox;
    QSpinBox* O_T15Edit2;
    QSpinBox *O_T17Edit1, *O_T17Edit2, *O_T17Edit3;
    QComboBox* O_T17ComboBox;
    QSpinBox *O_T19Edit1, *O_T19Edit2;
    QSpinBox* O_T20Edit;
    QSpinBox *O_T23Edit1, *O_T23Edit2, *O_T23Edit3;
    QComboBox* O_T23ComboBox;
    QComboBox* O_T24SpellComboBox;
    QSpinBox* O_T24LevelEdit;      // kept hidden: books carry no level
    QComboBox* O_T24ClassComboBox; // kept hidden: books carry no class
    QListWidget* O_T25CheckListBox1;
    QSpinBox *O_T25Edit1, *O_T25Edit2, *O_T25Edit3, *O_T25Edit4;

private:
    QWidget* NewPanel(const char* name);
    void BuildLightToWand();
    void BuildWeaponToPotion();
    void BuildContainerToMoney();
    void BuildFountainToIngredient();
    QSpinBox* Number(QWidget* panel, const char* name, int minimum, int maximum);
    QComboBox* Combo(QWidget* panel, const char* name);
    void Watch(QListWidget* list);

    std::function<void()> changed_;
    std::vector<QWidget*> panels_;
    TKeptNumbers* kept_;
};

class TObjPage : public QWidget {
    Q_OBJECT

public:
    TObjPage(TMainForm& main, QWidget* parent);

    // The record into the controls. Nothing of the record changes; a spell
    // of 0 ("none" in the files) is shown as the list's "none" entry.
    void ShowOnPage(const TObj& obj);
    // False, after telling the user, when a number typed is out of its range.
    bool CanStore() const;
    // The controls into the record.
    void ReadFromPage(TObj& obj);

    TNameFields Names;
    QLineEdit* O_AliasEdit;
    QPushButton* O_CDupBtn;
    QLineEdit *O_Name1Edit, *O_Name2Edit, *O_Name3Edit, *O_Name4Edit, *O_Name5Edit, *O_Name6Edit;
    QLineEdit* O_DescEdit;
    QLineEdit* O_AddDescEdit;
    QComboBox* O_KindComboBox;
    QSpinBox* O_WeightEdit;
    QSpinBox* O_TimerEdit;
    QComboBox* O_TimerComboBox;
    QSpinBox *O_PriceEdit, *O_RentInvEdit, *O_RentWearEdit;
    QComboBox *O_SkillComboBox, *O_MaterialComboBox, *O_WearComboBox;
    QSpinBox* O_WearEdit;
    QComboBox* O_SpellComboBox;
    QSpinBox* O_SpellLevelEdit;
    QComboBox* O_TypeComboBox;
    QSpinBox* O_MaxInWorldEdit;
    TObjKindPanels* KindPanels;
    QTabWidget* O_PageControl;
    QListWidget *O_EffectCheckListBox, *O_AffectCheckListBox, *O_NoTakeCheckListBox,
        *O_NoUseCheckListBox, *O_WearCheckListBox;
    QComboBox* O_DescComboBox;
    QPlainTextEdit* O_AddDescMemo;
    QPushButton *O_AddDescBtn, *O_EditDescBtn, *O_DelDescBtn;
    QTableWidget* O_EffectStringGrid;
    QPushButton *O_AddEffectBtn, *O_EditEffectBtn, *O_DelEffectBtn;
    TAttachedTriggers* Triggers;
    QListWidget* O_TriggerListBox;
    QPushButton *O_AddTriggerBtn, *O_EditTriggerBtn, *O_DelTriggerBtn;

    // The working copy of the shown object's extra descriptions.
    const TExtraDescList& ExtraDescs() const { return descs_; }

private:
    QWidget* BuildMainColumn();
    QWidget* BuildKindColumn();
    QWidget* BuildAdditionsTab();
    QWidget* BuildTriggersTab();
    QListWidget* FlagList(const char* name);
    void LoadLists();
    void Connect();

    void ObjChange();
    bool HasObject() const;
    void TypeComboBoxChange();
    void TimerComboBoxChange();
    void Name1EditChange();
    void CDupBtnClick();
    void DescComboBoxChange();
    void AddDescBtnClick();
    void EditDescBtnClick();
    void DelDescBtnClick();
    void AddEffectBtnClick();
    void EditEffectBtnClick();
    void DelEffectBtnClick();

    void ShowEffects(const std::vector<int32_t>& entries);
    void SetEffectRow(int row, int location, int modifier, const QString& name);
    QString EffectName(int location) const;
    bool EffectRowHasValue(int row) const;

    TMainForm& main_;
    TKeptNumbers* kept_;
    bool showing_ = false;
    // The timer unit shown: 0 minutes, 1 hours, 2 days.
    int timerUnit_ = 2;
    TExtraDescList descs_;
};

// The page's entry point lives in pagesupport.h.
