#include "roomextradescs.h"

#include "descform.h"
#include "prompts.h"
#include "protopage.h"
#include "textcodec.h"

#include <QHBoxLayout>
#include <QLineEdit>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QVBoxLayout>
#include <algorithm>
#include <utility>

TRoomExtraDescs::TRoomExtraDescs(QWidget* parent, std::function<bool()> hasRoom,
                                 std::function<void()> changed)
    : QWidget(parent), hasRoom_(std::move(hasRoom)), changed_(std::move(changed)) {
    auto* layout = new QHBoxLayout(this);
    R_AddDescListBox = Named(new QListWidget(this), "R_AddDescListBox");
    R_AddDescListBox->setMaximumWidth(150);
    layout->addWidget(R_AddDescListBox);
    auto* right = new QVBoxLayout;
    R_AddDescEdit = Named(new QLineEdit(this), "R_AddDescEdit");
    R_AddDescMemo = Named(new QPlainTextEdit(this), "R_AddDescMemo");
    right->addWidget(R_AddDescEdit);
    right->addWidget(R_AddDescMemo, 1);
    auto* buttons = new QHBoxLayout;
    R_AddDescBtn1 = Named(new QPushButton(QStringLiteral("Добавить"), this), "R_AddDescBtn1");
    R_AddDescBtn3 = Named(new QPushButton(QStringLiteral("Set"), this), "R_AddDescBtn3");
    R_AddDescBtn2 = Named(new QPushButton(QStringLiteral("Удалить"), this), "R_AddDescBtn2");
    buttons->addWidget(R_AddDescBtn1);
    buttons->addWidget(R_AddDescBtn3);
    buttons->addWidget(R_AddDescBtn2);
    buttons->addStretch();
    right->addLayout(buttons);
    layout->addLayout(right, 1);

    connect(R_AddDescListBox, &QListWidget::currentRowChanged, this, [this] { ListBoxClick(); });
    connect(R_AddDescBtn1, &QPushButton::clicked, this, &TRoomExtraDescs::Add);
    connect(R_AddDescBtn3, &QPushButton::clicked, this, &TRoomExtraDescs::Set);
    connect(R_AddDescBtn2, &QPushButton::clicked, this, &TRoomExtraDescs::Delete);
}

void TRoomExtraDescs::Show(const TExtraDescList& descs) {
    descs_ = descs;
    R_AddDescListBox->clear();
    for (const TExtraDesc& desc : descs_)
        R_AddDescListBox->addItem(FromCp1251(desc.Keywords));
    R_AddDescEdit->clear();
    R_AddDescMemo->clear();
    if (!descs_.empty())
        R_AddDescListBox->setCurrentRow(0);
}

void TRoomExtraDescs::ListBoxClick() {
    const int row = R_AddDescListBox->currentRow();
    if (row < 0 || row >= static_cast<int>(descs_.size()))
        return;
    const TExtraDesc& desc = descs_[static_cast<size_t>(row)];
    R_AddDescEdit->setText(FromCp1251(desc.Keywords));
    R_AddDescMemo->setPlainText(LinesToMemoText(desc.Description));
}

bool TRoomExtraDescs::Acceptable() {
    if (R_AddDescEdit->text().isEmpty()) {
        Prompts().Error(QStringLiteral("Введите ключевые слова"));
        return false;
    }
    if (MemoText(R_AddDescMemo).isEmpty()) {
        Prompts().Error(QStringLiteral("Введите описание"));
        return false;
    }
    return AcceptableMemoText(MemoText(R_AddDescMemo), R_AddDescEdit->text());
}

void TRoomExtraDescs::Add() {
    if (!hasRoom_()) {
        Prompts().Error(QStringLiteral("Выберите сначала комнату"));
        return;
    }
    if (!Acceptable())
        return;
    changed_();
    descs_.push_back({ToCp1251(R_AddDescEdit->text()), MemoTextToLines(MemoText(R_AddDescMemo))});
    R_AddDescListBox->addItem(R_AddDescEdit->text());
    R_AddDescListBox->setCurrentRow(R_AddDescListBox->count() - 1);
}

void TRoomExtraDescs::Set() {
    const int row = R_AddDescListBox->currentRow();
    if (row < 0) {
        Prompts().Error(QStringLiteral("Выберите сначала описание"));
        return;
    }
    if (!Acceptable())
        return;
    changed_();
    descs_[static_cast<size_t>(row)] = {ToCp1251(R_AddDescEdit->text()),
                                        MemoTextToLines(MemoText(R_AddDescMemo))};
    R_AddDescListBox->item(row)->setText(R_AddDescEdit->text());
}

void TRoomExtraDescs::Delete() {
    const int row = R_AddDescListBox->currentRow();
    if (row < 0) {
        Prompts().Error(QStringLiteral("Выберите сначала описание"));
        return;
    }
    if (!Prompts().Confirm(QStringLiteral("Вы действительно хотите удалить это описание")))
        return;
    changed_();
    descs_.erase(descs_.begin() + row);
    delete R_AddDescListBox->takeItem(row);
    if (R_AddDescListBox->count() > 0)
        R_AddDescListBox->setCurrentRow(std::min(row, R_AddDescListBox->count() - 1));
    else {
        R_AddDescEdit->clear();
        R_AddDescMemo->clear();
    }
}
