#include "attachedtriggers.h"

#include "prompts.h"
#include "protopage.h"
#include "textcodec.h"
#include "trigger.h"
#include "triggerform.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QVBoxLayout>
#include <algorithm>
#include <utility>

TAttachedTriggers::TAttachedTriggers(const TTriggerList& triggers, TTriggerForm& picker,
                                     TPrompts& prompts, TAttachedTriggerSetup setup,
                                     QWidget* parent)
    : QWidget(parent), triggers_(triggers), picker_(picker), prompts_(prompts),
      setup_(std::move(setup)) {
    const TAttachedTriggerSetup& names = setup_;
    auto* layout = new QVBoxLayout(this);
    List = Named(new QListWidget(this), names.List);
    if (!names.Caption.isEmpty())
        layout->addWidget(Caption(this, names.Caption, List));
    layout->addWidget(List, 1);
    auto* buttons = new QHBoxLayout;
    AddBtn = Named(new QPushButton(QStringLiteral("Добавить"), this), names.Add);
    EditBtn = Named(new QPushButton(QStringLiteral("Редактировать"), this), names.Edit);
    DelBtn = Named(new QPushButton(QStringLiteral("Удалить"), this), names.Delete);
    buttons->addWidget(AddBtn);
    buttons->addWidget(EditBtn);
    buttons->addWidget(DelBtn);
    buttons->addStretch(1);
    layout->addLayout(buttons);
    connect(AddBtn, &QPushButton::clicked, this, &TAttachedTriggers::Add);
    connect(EditBtn, &QPushButton::clicked, this, &TAttachedTriggers::Edit);
    connect(DelBtn, &QPushButton::clicked, this, &TAttachedTriggers::Delete);
}

void TAttachedTriggers::Expose(QListWidget*& list, QPushButton*& add, QPushButton*& edit,
                               QPushButton*& del) const {
    list = List;
    add = AddBtn;
    edit = EditBtn;
    del = DelBtn;
}

void TAttachedTriggers::Show(const std::vector<int32_t>& numbers) {
    List->clear();
    for (const int32_t number : numbers)
        SetTrigger(new QListWidgetItem(List), number);
}

std::vector<int32_t> TAttachedTriggers::Numbers() const {
    std::vector<int32_t> numbers;
    for (int row = 0; row < List->count(); ++row)
        numbers.push_back(List->item(row)->data(Qt::UserRole).toInt());
    return numbers;
}

bool TAttachedTriggers::RecordShown() const {
    if (!setup_.RecordShown || setup_.RecordShown())
        return true;
    prompts_.Error(setup_.NoRecord);
    return false;
}

void TAttachedTriggers::SetTrigger(QListWidgetItem* item, int32_t number) const {
    item->setText(FromCp1251(triggers_.CaptionOf(number)));
    item->setData(Qt::UserRole, number);
}

void TAttachedTriggers::FillPicker() const {
    if (setup_.AttachKind >= 0)
        picker_.Fill(triggers_, setup_.AttachKind);
}

void TAttachedTriggers::Add() {
    if (!RecordShown())
        return;
    FillPicker();
    picker_.Preset(0);
    picker_.exec();
    if (!picker_.Accepted())
        return;
    emit changed();
    SetTrigger(new QListWidgetItem(List), picker_.Number());
}

void TAttachedTriggers::Edit() {
    if (!RecordShown())
        return;
    QListWidgetItem* item = List->currentItem();
    if (!item) {
        prompts_.Error(QStringLiteral("Выберите триггер"));
        return;
    }
    FillPicker();
    picker_.Preset(item->data(Qt::UserRole).toInt());
    picker_.exec();
    if (!picker_.Accepted())
        return;
    emit changed();
    SetTrigger(item, picker_.Number());
}

void TAttachedTriggers::Delete() {
    if (!RecordShown())
        return;
    const int row = List->currentRow();
    if (row < 0 || !List->currentItem()) {
        prompts_.Error(QStringLiteral("Выберите триггер"));
        return;
    }
    if (!prompts_.Confirm(QStringLiteral("Вы действительно хотите удалить этот триггер?")))
        return;
    emit changed();
    delete List->takeItem(row);
    if (List->count() > 0)
        List->setCurrentRow(std::min(row, List->count() - 1));
}
