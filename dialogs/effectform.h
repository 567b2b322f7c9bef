#pragma once

// The effect dialog: one special effect of an object, a location from the
// vocabulary list "Bonus" and a signed modifier.

#include "dialogparts.h"

#include <cstdint>
#include <string>

class QComboBox;
class QLabel;
class QPushButton;
class QShowEvent;
class QSpinBox;

class TEffectForm : public TOkDialog {
    Q_OBJECT

public:
    explicit TEffectForm(QWidget* parent = nullptr);

    // Fills the location box from Bases/Bonus of the program folder; run once
    // with the other vocabulary lists at start. Throws TVocabularyError when
    // the list cannot be used.
    void LoadLists(const std::string& programFolder);

    // The caller presets the effect (for a new one, a default of its own),
    // shows the dialog modally and, when Accepted(), reads the results.
    // A location the list does not carry shows no selection.
    void SetEffect(int location, int modifier);
    // The same from an object's packed AddParam entry.
    void SetAddParam(int32_t entry);

    // The code of the chosen location, -1 when none is chosen.
    int Location() const;
    // The chosen location's entry as the list shows it (empty when none).
    QString LocationText() const;
    int Modifier() const;
    // Location and modifier packed as an object keeps them in AddParam.
    int32_t AddParam() const;

    QLabel* Label1;
    QComboBox* ComboBox; // locations, each carrying its code
    QLabel* Label2;
    QSpinBox* SpinEdit; // the modifier
    QPushButton* OkBtn;
    QPushButton* CancelBtn;

protected:
    void showEvent(QShowEvent* event) override;

private:
    void OkBtnClick();
};
