#pragma once

// The room-object picker: which object a zone reset puts into a room, into
// another object or on a mob, with the wear position, the if-flag and the
// probability of loading. The shop page uses it in a plain mode, for the
// object number alone.

#include "roomcontents.h"
#include "triggerform.h"

#include <string>

class QCheckBox;
class QComboBox;
class QGroupBox;

class TRoomObjForm : public TRecordPicker {
    Q_OBJECT

public:
    // Loads the wear positions (Bases/ZON_Equipped of `programFolder`) into
    // MobComboBox; a list that cannot be loaded is reported and the window
    // is made without it.
    explicit TRoomObjForm(const std::string& programFolder, QWidget* parent = nullptr);

    // The list shows the object list windows' model.
    void SetEntries(QAbstractItemModel* model);
    void Preset(const TLinkObj& obj);
    void Result(TLinkObj& obj) const;

    // The wear position group, for an object a mob carries or wears.
    void ShowParams(bool shown);
    // The probability panel, for commands that have one.
    void ShowPercent(bool shown);
    // Plain: only the object number (the parameters, the probability and the
    // if-flag hidden together); not plain shows all three again.
    void SetPlainMode(bool plain);

    QListView* ObjectListBox;
    QSpinBox* ObjectEdit;
    QCheckBox* IFFlagCheckBox;
    QGroupBox* ParamGroupBox;
    QComboBox* MobComboBox;
    QCheckBox* MobCheckBox; // "in the inventory": no wear position
    QWidget* PanelPercent;
    QSpinBox* PercentEdit;

private:
    void UpdateWearBox();
    void MobCheckBoxClick(bool checked);

    // The wear position of the last preset, kept when the box shows none of
    // its own (a position the list does not name).
    int presetWearPos_ = 0;
};
