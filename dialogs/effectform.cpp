#include "effectform.h"

#include "obj.h"
#include "prompts.h"
#include "vocabularyfill.h"

#include <QComboBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QShowEvent>
#include <QSpinBox>
#include <QVBoxLayout>
#include <limits>

TEffectForm::TEffectForm(QWidget* parent) : QDialog(parent) {
    setObjectName(QStringLiteral("EffectForm"));
    setWindowTitle(QStringLiteral("Эффекты"));

    ComboBox = new QComboBox(this);
    ComboBox->setObjectName(QStringLiteral("ComboBox"));
    ComboBox->setMinimumContentsLength(24);
    ComboBox->setSizeAdjustPolicy(QComboBox::AdjustToMinimumContentsLengthWithIcon);
    Label1 = new QLabel(QStringLiteral("Положения (спецэффекты)"), this);
    Label1->setObjectName(QStringLiteral("Label1"));
    Label1->setBuddy(ComboBox);

    SpinEdit = new QSpinBox(this);
    SpinEdit->setObjectName(QStringLiteral("SpinEdit"));
    // The object keeps the modifier in 16 signed bits; a larger value would
    // come back as another number.
    SpinEdit->setRange(std::numeric_limits<int16_t>::min(), std::numeric_limits<int16_t>::max());
    SpinEdit->setValue(0);
    Label2 = new QLabel(QStringLiteral("Значение"), this);
    Label2->setObjectName(QStringLiteral("Label2"));
    Label2->setBuddy(SpinEdit);

    OkBtn = new QPushButton(QStringLiteral("Ok"), this);
    OkBtn->setObjectName(QStringLiteral("OkBtn"));
    OkBtn->setDefault(true);
    CancelBtn = new QPushButton(QStringLiteral("Cancel"), this);
    CancelBtn->setObjectName(QStringLiteral("CancelBtn"));
    CancelBtn->setAutoDefault(false);

    auto* buttons = new QHBoxLayout;
    buttons->addStretch(1);
    buttons->addWidget(OkBtn);
    buttons->addWidget(CancelBtn);

    auto* column = new QVBoxLayout(this);
    column->addWidget(Label1);
    column->addWidget(ComboBox);
    column->addWidget(Label2);
    column->addWidget(SpinEdit);
    column->addSpacing(Label1->fontMetrics().height() / 2);
    column->addLayout(buttons);
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
    QDialog::showEvent(event);
    if (event->spontaneous())
        return;
    accepted_ = false;
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
    accepted_ = true;
    accept();
}
