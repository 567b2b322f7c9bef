#pragma once

// The trigger page: name, attach class, trigger types, the two arguments and
// the script of one trigger of the open zone.

#include "scriptcheck.h"

#include <QWidget>
#include <array>
#include <string>
#include <unordered_set>
#include <vector>

class QComboBox;
class QLineEdit;
class QListWidget;
class QSpinBox;
class QStackedWidget;
class TEditorContext;
class TRecordPage;
class TScriptEditor;
class TTrigger;

// A script line that ends in "~" would end the script in the trigger file and
// cut off everything after it; such a line gets one blank appended. Returns
// the script and, in `changed`, how many lines were amended.
QString StorableScript(const QString& script, int* changed);

class TTrigPage : public QWidget {
    Q_OBJECT

public:
    TTrigPage(TEditorContext& main, TRecordPage& records);

    // The vocabulary lists of the class combo and the three type lists.
    void LoadLists(const std::string& programFolder);

    void ShowOnPage(const TTrigger& trigger);
    void ReadFromPage(TTrigger& trigger);

    // The type list of a class position: 0 mob, 1 object, 2 room.
    QListWidget* TypeList(int position) const;
    // The type list in front.
    QListWidget* FrontTypeList() const;

    QLineEdit* T_NameEdit;
    QComboBox* T_ClassComboBox;
    QStackedWidget* T_TypeStack; // the three type lists in one place
    QListWidget* T_TypeMobCheckListBox;
    QListWidget* T_TypeObjCheckListBox;
    QListWidget* T_TypeRoomCheckListBox;
    QSpinBox* T_NumArgEdit;
    QLineEdit* T_ArgEdit;
    TScriptEditor* T_TextMemo;

private:
    void BuildControls();
    void ConnectEdits();
    // Brings the type list of the selected class position to the front.
    void ShowClassList();
    // The script editor follows the class: its commands, and the checks
    // run again for the class and types shown.
    void ShowScriptLanguage();
    std::vector<TScriptProblem> CheckShownScript(const std::vector<std::string>& lines) const;
    void ClassComboBoxChange();
    void NameEditChange();
    void Change();

    TEditorContext& main_;
    TRecordPage& records_;
    bool showing_ = false; // ShowOnPage is filling the controls
    // The variables the workspace's scripts share, which the shown script
    // may read without setting; gathered when a trigger is shown.
    std::unordered_set<std::string> sharedVariables_;
    bool sharedVariablesStale_ = true;
};
