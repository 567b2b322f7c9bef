#pragma once

// The room-mob picker: which mob a zone reset places, and whether only after
// the previous reset command succeeded.

#include "roomcontents.h"
#include "triggerform.h"

class QCheckBox;

class TRoomMobForm : public TRecordPicker {
    Q_OBJECT

public:
    explicit TRoomMobForm(QWidget* parent = nullptr);

    // The list shows the mob list windows' model.
    void SetEntries(QAbstractItemModel* model);
    void Preset(const TRoomMob& mob);
    // The number and the if-flag; the rest of `mob` stays as it is.
    void Result(TRoomMob& mob) const;

    QListView* MobListBox;
    QSpinBox* MobEdit;
    QCheckBox* IFFlagCheckBox;
};
