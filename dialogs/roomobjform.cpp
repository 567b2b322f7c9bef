#include "roomobjform.h"

#include "vocabularyfill.h"
#include "worldfile.h"

#include <QCheckBox>
#include <QComboBox>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QSpinBox>
#include <QVBoxLayout>

TRoomObjForm::TRoomObjForm(const std::string& programFolder, QWidget* parent)
    : TRecordPicker(QStringLiteral("Объект"), QStringLiteral("Выберите объект"),
                    QStringLiteral("ObjectListBox"), QStringLiteral("ObjectEdit"), parent) {
    setObjectName(QStringLiteral("RoomObjForm"));
    ObjectListBox = list();
    ObjectEdit = edit();

    IFFlagCheckBox = new QCheckBox(
        QStringLiteral("Загружать только при успешно выполненой предыдущей команде"), this);
    IFFlagCheckBox->setObjectName(QStringLiteral("IFFlagCheckBox"));

    ParamGroupBox = new QGroupBox(QStringLiteral("Параметры"), this);
    ParamGroupBox->setObjectName(QStringLiteral("ParamGroupBox"));
    MobComboBox = new QComboBox(ParamGroupBox);
    MobComboBox->setObjectName(QStringLiteral("MobComboBox"));
    MobCheckBox = new QCheckBox(QStringLiteral("Предмет в инвентаре"), ParamGroupBox);
    MobCheckBox->setObjectName(QStringLiteral("MobCheckBox"));
    auto* params = new QVBoxLayout(ParamGroupBox);
    params->addWidget(MobComboBox);
    params->addWidget(MobCheckBox);

    PanelPercent = new QWidget(this);
    PanelPercent->setObjectName(QStringLiteral("PanelPercent"));
    PercentEdit = new QSpinBox(PanelPercent);
    PercentEdit->setObjectName(QStringLiteral("PercentEdit"));
    PercentEdit->setRange(0, 100);
    PercentEdit->setValue(100);
    auto* percentLabel = new QLabel(QStringLiteral("Вероятность появления объекта"), PanelPercent);
    percentLabel->setBuddy(PercentEdit);
    auto* percent = new QHBoxLayout(PanelPercent);
    percent->setContentsMargins(0, 0, 0, 0);
    percent->addWidget(percentLabel);
    percent->addWidget(PercentEdit);
    percent->addWidget(new QLabel(QStringLiteral("%"), PanelPercent));
    percent->addStretch(1);

    extras()->addWidget(IFFlagCheckBox);
    extras()->addWidget(ParamGroupBox);
    extras()->addWidget(PanelPercent);

    try {
        FillCodeCombo(programFolder, "ZON_Equipped", MobComboBox, 0, 0);
    } catch (const TVocabularyError& error) {
        if (TErrorReporter* reporter = ErrorReporter())
            reporter->ReportError(error.Message);
    }

    connect(MobCheckBox, &QCheckBox::toggled, this, &TRoomObjForm::UpdateWearBox);
    connect(MobCheckBox, &QCheckBox::clicked, this, &TRoomObjForm::MobCheckBoxClick);
    UpdateWearBox();
}

void TRoomObjForm::SetEntries(QAbstractItemModel* model) {
    ShowModel(model);
}

void TRoomObjForm::Preset(const TLinkObj& obj) {
    PresetNumber(obj.ObjVNum);
    IFFlagCheckBox->setChecked(obj.IfFlag);
    presetWearPos_ = obj.WearPos;
    MobCheckBox->setChecked(obj.WearPos == -1);
    if (obj.WearPos == -1)
        MobComboBox->setCurrentIndex(-1);
    else
        ShowCode(MobComboBox, obj.WearPos);
    // The check box may not have changed, and then it sent no signal.
    UpdateWearBox();
    PercentEdit->setValue(obj.Probability);
}

void TRoomObjForm::Result(TLinkObj& obj) const {
    obj.ObjVNum = ChosenNumber();
    obj.IfFlag = IFFlagCheckBox->isChecked();
    if (MobCheckBox->isChecked())
        obj.WearPos = -1;
    else if (MobComboBox->currentIndex() >= 0)
        obj.WearPos = static_cast<int8_t>(ReadCode(MobComboBox));
    else
        // Nothing chosen in the box: a position the list does not name stays
        // as it was; an object taken out of the inventory with no list to
        // choose from goes to the first position.
        obj.WearPos = static_cast<int8_t>(presetWearPos_ == -1 ? 0 : presetWearPos_);
    PercentEdit->interpretText();
    obj.Probability = static_cast<int8_t>(PercentEdit->value());
}

void TRoomObjForm::ShowParams(bool shown) {
    ParamGroupBox->setVisible(shown);
}

void TRoomObjForm::ShowPercent(bool shown) {
    PanelPercent->setVisible(shown);
}

void TRoomObjForm::SetPlainMode(bool plain) {
    ParamGroupBox->setVisible(!plain);
    PanelPercent->setVisible(!plain);
    IFFlagCheckBox->setVisible(!plain);
}

void TRoomObjForm::UpdateWearBox() {
    MobComboBox->setEnabled(!MobCheckBox->isChecked());
}

void TRoomObjForm::MobCheckBoxClick(bool checked) {
    // An object of the inventory taken out of it has no position yet: show
    // the one that will be stored rather than an empty box.
    if (!checked && presetWearPos_ == -1 && MobComboBox->currentIndex() < 0 &&
        MobComboBox->count() > 0)
        MobComboBox->setCurrentIndex(0);
}
