#include "numberform.h"

#include "textcodec.h"

#include <QComboBox>
#include <QEvent>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QPushButton>
#include <QShowEvent>
#include <QSpinBox>
#include <QVBoxLayout>
#include <algorithm>

namespace {

QLabel* MakeLabel(QWidget* parent, const QString& caption, QWidget* buddy) {
    auto* label = new QLabel(caption, parent);
    label->setBuddy(buddy);
    return label;
}

} // namespace

TNumberForm::TNumberForm(QWidget* parent) : TOkDialog(parent) {
    setObjectName(QStringLiteral("NumberForm"));
    setWindowTitle(QStringLiteral("Введите номер"));

    // A zone has the numbers 0..99 of its own.
    NumEdit = new QSpinBox(this);
    NumEdit->setObjectName(QStringLiteral("NumEdit"));
    NumEdit->setRange(0, 99);
    NumEdit->setValue(99);

    ComboBox1 = new QComboBox(this);
    ComboBox1->setObjectName(QStringLiteral("ComboBox1"));
    ComboBox1->setMinimumContentsLength(24);

    QtyEdit = new QSpinBox(this);
    QtyEdit->setObjectName(QStringLiteral("QtyEdit"));
    QtyEdit->setRange(1, 99);
    QtyEdit->setValue(1);

    QtyLabel = new QLabel(QStringLiteral("99"), this);
    QtyLabel->setObjectName(QStringLiteral("QtyLabel"));

    OkBtn = MakeButton(this, "OkBtn", QStringLiteral("Ok"));
    OkBtn->setDefault(true);
    CancelBtn = MakeButton(this, "CancelBtn", QStringLiteral("Cancel"));

    auto* numberRow = new QHBoxLayout;
    numberRow->addWidget(NumEdit);
    numberRow->addStretch(1);

    auto* quantityRow = new QHBoxLayout;
    quantityRow->addWidget(QtyEdit);
    quantityRow->addWidget(new QLabel(QStringLiteral("максимально возможное количество"), this));
    quantityRow->addWidget(QtyLabel);
    quantityRow->addStretch(1);

    auto* column = new QVBoxLayout(this);
    column->addWidget(MakeLabel(this, QStringLiteral("Ввведите номер ВНУТРИ зоны"), NumEdit));
    column->addLayout(numberRow);
    column->addWidget(
        MakeLabel(this, QStringLiteral("Выберите шаблон для установки параметров"), ComboBox1));
    column->addWidget(ComboBox1);
    column->addWidget(MakeLabel(this, QStringLiteral("Или задайте сколько создать"), QtyEdit));
    column->addLayout(quantityRow);
    column->addSpacing(fontMetrics().height() / 2);
    column->addLayout(ButtonRow({OkBtn, CancelBtn}));
    column->setSizeConstraint(QLayout::SetFixedSize);

    NumEdit->installEventFilter(this);
    QtyEdit->installEventFilter(this);

    connect(OkBtn, &QPushButton::clicked, this, &TNumberForm::OkBtnClick);
    connect(CancelBtn, &QPushButton::clicked, this, &QDialog::reject);
}

void TNumberForm::SetMaxQuantity(int quantity) {
    // A full zone allows none; the range then holds only 0 so that nothing
    // is created, and the next larger maximum brings the minimum of 1 back.
    const int largest = std::max(quantity, 0);
    QtyEdit->setRange(std::min(1, largest), largest);
    QtyLabel->setText(QString::number(largest));
}

void TNumberForm::SetQuantityEnabled(bool enabled) {
    QtyEdit->setEnabled(enabled);
}

void TNumberForm::SetTemplateNames(const std::vector<std::string>& names) {
    templateNames_ = names;
}

int TNumberForm::Number() const {
    NumEdit->interpretText();
    return NumEdit->value();
}

int TNumberForm::Quantity() const {
    QtyEdit->interpretText();
    return QtyEdit->value();
}

int TNumberForm::TemplateIndex() const {
    return ComboBox1->currentIndex();
}

void TNumberForm::showEvent(QShowEvent* event) {
    TOkDialog::showEvent(event);
    if (!event->spontaneous())
        FormShow();
}

void TNumberForm::FormShow() {
    ComboBox1->clear();
    for (const std::string& name : templateNames_)
        ComboBox1->addItem(FromCp1251(name));
    ComboBox1->setCurrentIndex(ComboBox1->count() > 0 ? 0 : -1);
    NumEdit->setFocus();
    // The focus arrives only once the window is active; the mode is the
    // number's from the start.
    NumEditEnter();
}

void TNumberForm::keyPressEvent(QKeyEvent* event) {
    switch (event->key()) {
    case Qt::Key_Return:
    case Qt::Key_Enter:
        OkBtnClick();
        return;
    case Qt::Key_Escape:
        reject();
        return;
    default:
        TOkDialog::keyPressEvent(event);
    }
}

bool TNumberForm::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() == QEvent::FocusIn) {
        if (watched == NumEdit)
            NumEditEnter();
        else if (watched == QtyEdit)
            QtyEditEnter();
    }
    return TOkDialog::eventFilter(watched, event);
}

void TNumberForm::NumEditEnter() {
    PaintFields(NumEdit, QtyEdit);
    inputMode_ = 1;
}

void TNumberForm::QtyEditEnter() {
    PaintFields(QtyEdit, NumEdit);
    inputMode_ = 2;
}

void TNumberForm::PaintFields(QSpinBox* entered, QSpinBox* other) {
    const QPalette& window = palette();
    QPalette palette = entered->palette();
    palette.setColor(QPalette::Base, window.color(QPalette::Base));
    entered->setPalette(palette);
    palette = other->palette();
    palette.setColor(QPalette::Base, window.color(QPalette::Button));
    other->setPalette(palette);
}

void TNumberForm::OkBtnClick() {
    AcceptOk();
}
