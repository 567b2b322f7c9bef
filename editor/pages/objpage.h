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
class TObjKindPanels;
class QTabWidget;
class QTableWidget;
class TEditorContext;

class TObjPage : public QWidget {
    Q_OBJECT

public:
    TObjPage(TEditorContext& main, QWidget* parent);

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

    TEditorContext& main_;
    TKeptNumbers* kept_;
    bool showing_ = false;
    // The timer unit shown: 0 minutes, 1 hours, 2 days.
    int timerUnit_ = 2;
    TExtraDescList descs_;
};

// The page's entry point lives in pagesupport.h.
