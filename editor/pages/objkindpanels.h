#pragma once

// The object page's kind parameters: a panel of controls for each object
// kind that has parameters, and the spell lists' reading of the files' codes.

#include "obj.h"

#include <QWidget>
#include <functional>
#include <string>
#include <vector>

class QComboBox;
class QListWidget;
class QSpinBox;
class TKeptNumbers;

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
