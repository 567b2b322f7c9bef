#include "roompage.h"

// The room page's exits, doors, extra descriptions and triggers: the
// handlers that edit the page's working copies of them.

#include "descform.h"
#include "mainform.h"
#include "modeltext.h"
#include "prompts.h"
#include "textcodec.h"
#include "vocabularyfill.h"

#include <QComboBox>
#include <QLineEdit>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QSpinBox>
#include <QToolButton>

// ---- exits ----

void TRoomPage::SetExitPanelClick(int direction) {
    for (QToolButton* panel : SetExitPanels)
        panel->setChecked(false);
    if (awaitingExit_ == direction) {
        awaitingExit_ = -1;
        return;
    }
    SetExitPanels[static_cast<size_t>(direction)]->setChecked(true);
    awaitingExit_ = direction;
}

void TRoomPage::SetAwaitedTarget(int32_t target) {
    const int d = awaitingExit_;
    if (d < 0)
        return;
    exits_[static_cast<size_t>(d)].ToRoom = target;
    showing_ = true;
    ExitEdits[static_cast<size_t>(d)]->setValue(target);
    showing_ = false;
    ShowDoorPanel(d, target != 0);
    if (target == 0 && currentDoor_ == d) {
        currentDoor_ = -1;
        ClearDoorFields();
    }
    SetExitPanels[static_cast<size_t>(d)]->setChecked(false);
    awaitingExit_ = -1;
    Change();
}

void TRoomPage::ExitsChangedElsewhere(const TRoom& room,
                                      const std::array<bool, DirCount>& directions) {
    if (!shown_ || *shown_ != room.VNum)
        return;
    showing_ = true;
    for (int d = 0; d < DirCount; ++d) {
        if (!directions[static_cast<size_t>(d)])
            continue;
        exits_[static_cast<size_t>(d)] = room.Exits[static_cast<size_t>(d)];
        const int32_t target = exits_[static_cast<size_t>(d)].ToRoom;
        ExitEdits[static_cast<size_t>(d)]->setValue(target);
        ShowDoorPanel(d, target != 0);
        if (currentDoor_ == d) {
            if (target == 0) {
                currentDoor_ = -1;
                ClearDoorFields();
            } else {
                LoadDoorFields();
            }
        }
    }
    showing_ = false;
}

void TRoomPage::ExitEditChange(int direction) {
    if (showing_)
        return;
    Change();
    const int32_t value = ExitEdits[static_cast<size_t>(direction)]->value();
    exits_[static_cast<size_t>(direction)].ToRoom = value;
    if (value == 0) {
        ShowDoorPanel(direction, false);
        if (currentDoor_ == direction) {
            currentDoor_ = -1;
            ClearDoorFields();
        }
    } else {
        ShowDoorPanel(direction, true);
        ExitPanelClick(direction);
    }
}

void TRoomPage::ShowDoorPanel(int direction, bool visible) {
    QToolButton* panel = ExitPanels[static_cast<size_t>(direction)];
    panel->setVisible(visible);
    if (!visible)
        panel->setChecked(false);
}

// ---- doors ----

void TRoomPage::ExitPanelClick(int direction) {
    for (QToolButton* panel : ExitPanels)
        panel->setChecked(false);
    ExitPanels[static_cast<size_t>(direction)]->setChecked(true);
    currentDoor_ = direction;
    LoadDoorFields();
}

void TRoomPage::LoadDoorFields() {
    const TExit& exit = exits_[static_cast<size_t>(currentDoor_)];
    const bool wasShowing = showing_;
    showing_ = true;
    R_DoorEdit->setText(FromCp1251(exit.ExitKeywords));
    R_DoorDescEdit->setText(FromCp1251(exit.ExitDesc));
    ShowCode(R_DoorComboBox, exit.DoorFlags);
    R_DoorKeyEdit->setValue(exit.Key);
    R_DoorKeyComboBox->setCurrentIndex(R_DoorKeyComboBox->findData(exit.Key));
    ShowCode(R_DoorDComboBox, exit.DoorState);
    doorText_ = R_DoorEdit->text();
    doorDescText_ = R_DoorDescEdit->text();
    doorKey_ = R_DoorKeyEdit->value();
    showing_ = wasShowing;
}

void TRoomPage::ClearDoorFields() {
    const bool wasShowing = showing_;
    showing_ = true;
    R_DoorEdit->clear();
    R_DoorDescEdit->clear();
    R_DoorComboBox->setCurrentIndex(-1);
    R_DoorDComboBox->setCurrentIndex(-1);
    R_DoorKeyEdit->setValue(-1);
    R_DoorKeyComboBox->setCurrentIndex(-1);
    doorText_.clear();
    doorDescText_.clear();
    doorKey_ = -1;
    showing_ = wasShowing;
}

// A door field changed with no door chosen is put back as it was.
bool TRoomPage::DoorFieldAllowed() {
    if (currentDoor_ >= 0)
        return true;
    Prompts().Information(QStringLiteral("Выберите сначала выход"));
    ClearDoorFields();
    return false;
}

void TRoomPage::DoorEditChange() {
    if (!DoorFieldAllowed())
        return;
    Change();
    doorText_ = R_DoorEdit->text();
    exits_[static_cast<size_t>(currentDoor_)].ExitKeywords = ToModelText(doorText_);
}

void TRoomPage::DoorDescEditChange() {
    if (!DoorFieldAllowed())
        return;
    Change();
    doorDescText_ = R_DoorDescEdit->text();
    exits_[static_cast<size_t>(currentDoor_)].ExitDesc = ToModelText(doorDescText_);
}

void TRoomPage::DoorKeyEditChange() {
    if (showing_ || !DoorFieldAllowed())
        return;
    Change();
    doorKey_ = R_DoorKeyEdit->value();
    exits_[static_cast<size_t>(currentDoor_)].Key = doorKey_;
}

// The door type and state are the codes of their lists, so that showing a
// door selects the entry of the stored value whatever the list's order.
void TRoomPage::DoorComboBoxChange() {
    if (!DoorFieldAllowed())
        return;
    const int code = ReadCode(R_DoorComboBox, -1);
    if (code < 0 || code > 255)
        return;
    Change();
    exits_[static_cast<size_t>(currentDoor_)].DoorFlags = static_cast<uint8_t>(code);
}

void TRoomPage::DoorDComboBoxChange() {
    if (!DoorFieldAllowed())
        return;
    const int code = ReadCode(R_DoorDComboBox, -1);
    if (code < 0 || code > 255)
        return;
    Change();
    exits_[static_cast<size_t>(currentDoor_)].DoorState = static_cast<uint8_t>(code);
}

void TRoomPage::DoorKeyComboBoxChange() {
    if (R_DoorKeyComboBox->currentIndex() < 0)
        return;
    if (currentDoor_ < 0) {
        DoorFieldAllowed();
        return;
    }
    R_DoorKeyEdit->setValue(R_DoorKeyComboBox->currentData().toInt());
}

// ---- extra descriptions ----

void TRoomPage::AddDescListBoxClick() {
    const int row = R_AddDescListBox->currentRow();
    if (row < 0 || row >= static_cast<int>(extraDescs_.size()))
        return;
    const TExtraDesc& desc = extraDescs_[static_cast<size_t>(row)];
    R_AddDescEdit->setText(FromCp1251(desc.Keywords));
    R_AddDescMemo->setPlainText(LinesToMemoText(desc.Description));
}

bool TRoomPage::ExtraDescAcceptable() {
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

void TRoomPage::AddDescAdd() {
    if (!HasRoom()) {
        Prompts().Error(QStringLiteral("Выберите сначала комнату"));
        return;
    }
    if (!ExtraDescAcceptable())
        return;
    Change();
    extraDescs_.push_back(
        {ToCp1251(R_AddDescEdit->text()), MemoTextToLines(MemoText(R_AddDescMemo))});
    R_AddDescListBox->addItem(R_AddDescEdit->text());
    R_AddDescListBox->setCurrentRow(R_AddDescListBox->count() - 1);
}

void TRoomPage::AddDescSet() {
    const int row = R_AddDescListBox->currentRow();
    if (row < 0) {
        Prompts().Error(QStringLiteral("Выберите сначала описание"));
        return;
    }
    if (!ExtraDescAcceptable())
        return;
    Change();
    extraDescs_[static_cast<size_t>(row)] = {ToCp1251(R_AddDescEdit->text()),
                                             MemoTextToLines(MemoText(R_AddDescMemo))};
    R_AddDescListBox->item(row)->setText(R_AddDescEdit->text());
}

void TRoomPage::AddDescDelete() {
    const int row = R_AddDescListBox->currentRow();
    if (row < 0) {
        Prompts().Error(QStringLiteral("Выберите сначала описание"));
        return;
    }
    if (!Prompts().Confirm(QStringLiteral("Вы действительно хотите удалить это описание")))
        return;
    Change();
    extraDescs_.erase(extraDescs_.begin() + row);
    delete R_AddDescListBox->takeItem(row);
    if (R_AddDescListBox->count() > 0)
        R_AddDescListBox->setCurrentRow(std::min(row, R_AddDescListBox->count() - 1));
    else {
        R_AddDescEdit->clear();
        R_AddDescMemo->clear();
    }
}
