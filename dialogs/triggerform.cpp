#include "triggerform.h"

#include "prompts.h"
#include "textcodec.h"
#include "worldlists.h"

#include <QEvent>
#include <QHBoxLayout>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QSpinBox>
#include <QVBoxLayout>

namespace {

// Record numbers have up to six digits.
constexpr int kLargestNumber = 999999;

} // namespace

TRecordPicker::TRecordPicker(const QString& caption, const QString& prompt, const QString& listName,
                             const QString& editName, QWidget* parent)
    : TOkDialog(parent), prompt_(prompt) {
    setWindowTitle(caption);

    promptLabel_ = new QLabel(prompt, this);
    promptLabel_->setObjectName(QStringLiteral("PromptLabel"));

    list_ = new QListWidget(this);
    list_->setObjectName(listName);
    list_->setSelectionMode(QAbstractItemView::SingleSelection);
    const QFontMetrics metrics = list_->fontMetrics();
    list_->setMinimumSize(metrics.horizontalAdvance(QLatin1Char('x')) * 44, metrics.height() * 14);
    promptLabel_->setBuddy(list_);

    edit_ = new QSpinBox(this);
    edit_->setObjectName(editName);
    edit_->setRange(0, kLargestNumber);
    edit_->setValue(0);

    OkBtn = MakeButton(this, "OkBtn", QStringLiteral("Выбрать"));
    AddBtn = MakeButton(this, "AddBtn", QStringLiteral("Ok"));
    AddBtn->setDefault(true);
    CancelBtn = MakeButton(this, "CancelBtn", QStringLiteral("Отмена"));

    auto* numberRow = new QHBoxLayout;
    numberRow->addWidget(edit_, 1);
    numberRow->addWidget(OkBtn);

    extras_ = new QVBoxLayout;

    auto* column = new QVBoxLayout(this);
    column->addWidget(promptLabel_);
    column->addWidget(list_, 1);
    column->addLayout(numberRow);
    column->addLayout(extras_);
    column->addSpacing(metrics.height() / 2);
    column->addLayout(ButtonRow({AddBtn, CancelBtn}));
    // As large as the shown controls need: hiding some of them shrinks it.
    column->setSizeConstraint(QLayout::SetFixedSize);

    connect(OkBtn, &QPushButton::clicked, this, &TRecordPicker::ChooseClick);
    connect(AddBtn, &QPushButton::clicked, this, &TRecordPicker::AcceptClick);
    connect(CancelBtn, &QPushButton::clicked, this, &QDialog::reject);
    connect(list_, &QListWidget::itemDoubleClicked, this, &TRecordPicker::ListDoubleClick);
}

void TRecordPicker::PresetNumber(int32_t number) {
    list_->clearSelection();
    list_->setCurrentRow(-1);
    for (int i = 0; i < list_->count(); ++i) {
        QListWidgetItem* item = list_->item(i);
        if (item->data(Qt::UserRole).toInt() == number) {
            list_->setCurrentItem(item);
            list_->scrollToItem(item);
            break;
        }
    }
    edit_->setValue(number);
}

int32_t TRecordPicker::ChosenNumber() const {
    edit_->interpretText();
    return edit_->value();
}

void TRecordPicker::CopyEntries(const QListWidget* source) {
    list_->clear();
    if (!source)
        return;
    for (int i = 0; i < source->count(); ++i) {
        const QListWidgetItem* item = source->item(i);
        AppendEntry(item->text(), item->data(Qt::UserRole).toInt());
    }
}

void TRecordPicker::AppendEntry(const QString& text, int32_t number) {
    auto* item = new QListWidgetItem(text, list_);
    item->setData(Qt::UserRole, number);
}

bool TRecordPicker::event(QEvent* event) {
    // Every activation starts a new choice; only "Ok" sets the flag again.
    // The window system may still report the activation of a window that
    // "Ok" has already closed: that one must not take the choice back.
    if (event->type() == QEvent::WindowActivate && isVisible())
        ClearAccepted();
    return TOkDialog::event(event);
}

void TRecordPicker::ChooseClick() {
    QListWidgetItem* item = list_->currentItem();
    if (!item || !item->isSelected()) {
        Prompts().Error(prompt_);
        return;
    }
    edit_->setValue(item->data(Qt::UserRole).toInt());
}

void TRecordPicker::ListDoubleClick(QListWidgetItem* item) {
    list_->setCurrentItem(item);
    ChooseClick();
}

void TRecordPicker::AcceptClick() {
    if (ChosenNumber() == 0) {
        Prompts().Error(prompt_);
        return;
    }
    AcceptOk();
}

TTriggerForm::TTriggerForm(QWidget* parent)
    : TRecordPicker(QStringLiteral("Триггер"), QStringLiteral("Выберите триггер"),
                    QStringLiteral("TriggerListBox"), QStringLiteral("TriggerEdit"), parent) {
    setObjectName(QStringLiteral("TriggerForm"));
    TriggerListBox = list();
    TriggerEdit = edit();
}

void TTriggerForm::Fill(int attachKind) {
    TriggerListBox->clear();
    for (const auto& trigger : TriggerList)
        if (trigger->Model == attachKind)
            AppendEntry(FromCp1251(std::to_string(trigger->VNum) + " " + trigger->Name),
                        trigger->VNum);
}

void TTriggerForm::Preset(int32_t number) {
    PresetNumber(number);
}
