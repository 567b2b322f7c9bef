#include "effectform.h"

#include "obj.h"
#include "prompts.h"
#include "vocabularyfill.h"

#include <QComboBox>
#include <QLabel>
#include <QPushButton>
#include <QShowEvent>
#include <QSpinBox>
#include <QVBoxLayout>
#include <limits>

TEffectForm::TEffectForm(QWidget* parent) : TOkDialog(parent) {
    setObjectName(QStringLiteral("EffectForm"));
    setWindowTitle(QStringLiteral("Эффекты"));

    ComboBox = new QComboBox(this);
    ComboBox->setObjectName(QStringLiteral("ComboBox"));
    ComboBox->setMinimumContentsLength(24);
    ComboBox->setSizeAdjustPolicy(QComboBox::AdjustToMinimumContentsLengthWithIcon);
    Label1 = MakeBuddyLabel(this, "Label1", QStringLiteral("Положения (спецэффекты)"), ComboBox);

    SpinEdit = new QSpinBox(this);
    SpinEdit->setObjectName(QStringLiteral("SpinEdit"));
    // The object keeps the modifier in 16 signed bits; a larger value would
    // come back as another number.
    SpinEdit->setRange(std::numeric_limits<int16_t>::min(), std::numeric_limits<int16_t>::max());
    SpinEdit->setValue(0);
    Label2 = MakeBuddyLabel(this, "Label2", QStringLiteral("Значение"), SpinEdit);

    OkBtn = MakeDefaultButton(this, "OkBtn", QStringLiteral("Ok"));
    CancelBtn = MakeButton(this, "CancelBtn", QStringLiteral("Cancel"));

    auto* column = new QVBoxLayout(this);
    column->addWidget(Label1);
    column->addWidget(ComboBox);
    column->addWidget(Label2);
    column->addWidget(SpinEdit);
    column->addSpacing(Label1->fontMetrics().height() / 2);
    column->addLayout(ButtonRow({OkBtn, CancelBtn}));
    column->setSizeConstraint(QLayout::SetFixedSize);

    connect(OkBtn, &QPushButton::clicked, this, &TEffectForm::OkBtnClick);
    connect(CancelBtn, &QPushButton::clicked, this, &QDialog::reject);
}

void TEffectForm::LoadLists(const std::string& programFolder) {
    ComboBox->clear();
    FillCodeCombo(programFolder, "Bonus", ComboBox, 20, 0);
}

void TEffectForm::SetEffect(int location, int modifier) {
    ShowCode(ComboBox, location);
    SpinEdit->setValue(modifier);
}

void TEffectForm::SetAddParam(int32_t entry) {
    SetEffect(AddParamLocation(entry), AddParamModifier(entry));
}

int TEffectForm::Location() const {
    return ReadCode(ComboBox, -1);
}

QString TEffectForm::LocationText() const {
    return ComboBox->currentIndex() < 0 ? QString() : ComboBox->currentText();
}

int TEffectForm::Modifier() const {
    return SpinEdit->value();
}

int32_t TEffectForm::AddParam() const {
    return PackAddParam(static_cast<uint16_t>(Location()), static_cast<int16_t>(Modifier()));
}

void TEffectForm::showEvent(QShowEvent* event) {
    TOkDialog::showEvent(event);
    if (!event->spontaneous())
        ComboBox->setFocus();
}

void TEffectForm::OkBtnClick() {
    // A value still being typed counts, as the user sees it.
    SpinEdit->interpretText();
    // Without a location the effect would silently become location 0.
    if (ComboBox->currentIndex() < 0) {
        Prompts().Error(QStringLiteral("Выберите положение (спецэффект)"));
        return;
    }
    AcceptOk();
}
