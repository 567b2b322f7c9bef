#include "roommobform.h"

#include <QCheckBox>
#include <QVBoxLayout>

TRoomMobForm::TRoomMobForm(QWidget* parent)
    : TRecordPicker(QStringLiteral("Моб"), QStringLiteral("Выберите моба"),
                    QStringLiteral("MobListBox"), QStringLiteral("MobEdit"), parent) {
    setObjectName(QStringLiteral("RoomMobForm"));
    MobListBox = list();
    MobEdit = edit();

    IFFlagCheckBox = new QCheckBox(
        QStringLiteral("Загружать только при успешно выполненой предыдущей команде"), this);
    IFFlagCheckBox->setObjectName(QStringLiteral("IFFlagCheckBox"));
    extras()->addWidget(IFFlagCheckBox);
}

void TRoomMobForm::SetEntries(QAbstractItemModel* model) {
    ShowModel(model);
}

void TRoomMobForm::Preset(const TRoomMob& mob) {
    PresetNumber(mob.MobVNum);
    IFFlagCheckBox->setChecked(mob.IfFlag);
}

void TRoomMobForm::Result(TRoomMob& mob) const {
    mob.MobVNum = ChosenNumber();
    mob.IfFlag = IFFlagCheckBox->isChecked();
}
