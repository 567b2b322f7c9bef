#pragma once

// The room page: one room of the open zone at a time, its name, the general
// description and its ten variants, flags and sector, six exits and their
// doors, extra descriptions and triggers; the zone reset contents are on
// TRoomContents' tabs. The page works on copies: showing a room copies it
// into the controls and the working data, storing copies everything back.

#include "room.h"

#include <QWidget>
#include <array>
#include <cstdint>
#include <functional>
#include <optional>

class QCheckBox;
class QComboBox;
class QLabel;
class QLineEdit;
class QListWidget;
class QPlainTextEdit;
class QPushButton;
class QSpinBox;
class QTabWidget;
class QToolButton;
class TAttachedTriggers;
class TEditorContext;
class TRecordPage;
class TRoomContents;
class TRoomExtraDescs;
struct TWorldChange;

// The mark of a description tab that holds text.
class QIcon;
QIcon FilledTabIcon();

class TRoomPage : public QWidget {
    Q_OBJECT

public:
    TRoomPage(TEditorContext& main, TRecordPage& records);
    ~TRoomPage() override;

    // Copies the room into the controls and the working data.
    void ShowOnPage(const TRoom& room);
    // Copies the page into the room.
    void ReadFromPage(TRoom& room);

    // The number of the room shown; none for the blank record.
    std::optional<int32_t> ShownRoom() const { return shown_; }
    bool HasRoom() const;

    // The direction whose target the next map cell chosen gives; -1: none.
    int AwaitingExit() const { return awaitingExit_; }
    // That exit leads to `target` (0: nowhere) and no exit awaits any more.
    void SetAwaitedTarget(int32_t target);
    // After a step that changed the shown room's exits (the map linked or
    // unlinked it): the page's copy of the directions changed follows them,
    // its other edits not yet applied stay. An undo or redo shows the room
    // again whole.
    void Follow(const TWorldChange& change);
    // Set while the map is moved to the shown room's cell.
    bool ShowingGuard() const { return showingGuard_; }
    void SetShowingGuard(bool on) { showingGuard_ = on; }
    // The working copy of the exits.
    const std::array<TExit, DirCount>& ExitTable() const { return exits_; }
    int CurrentDoor() const { return currentDoor_; }

    // Run after a room was shown (the map moves to its cell there).
    std::function<void(const TRoom& room)> Shown;
    // Run when the shown room's name was typed: its number and new entry text.
    std::function<void(int32_t vnum, const QString& entry)> Renamed;

    QLineEdit* R_DescEdit;
    QTabWidget* R_DescPageControl;
    std::array<QPlainTextEdit*, 11> DescMemos; // R_FullDescMemo, R_FullDescMemo1 .. 10
    QCheckBox* R_DescCheckBox;
    QLabel* ReplacesLabel;
    std::array<QSpinBox*, DirCount> ExitEdits;        // R_ExitNEdit .. R_ExitDEdit
    std::array<QToolButton*, DirCount> SetExitPanels; // R_NPanel .. R_DPanel
    QTabWidget* R_PageControl;
    QComboBox* R_SectorComboBox;
    QListWidget* R_TypeCheckListBox;
    TRoomExtraDescs* ExtraDescs;
    std::array<QToolButton*, DirCount> ExitPanels; // R_ExitNPanel .. R_ExitDPanel
    QLineEdit* R_DoorEdit;
    QLineEdit* R_DoorDescEdit;
    QComboBox* R_DoorComboBox;
    QSpinBox* R_DoorKeyEdit;
    QComboBox* R_DoorKeyComboBox;
    QComboBox* R_DoorDComboBox;
    TAttachedTriggers* Triggers;
    QListWidget* R_TriggerListBox;
    QPushButton* R_TriggerBtn1;
    QPushButton* R_TriggerBtn2;
    QPushButton* R_TriggerBtn3;
    TRoomContents* Contents;

    // The key objects (kind 18) of every zone, refilled when the page is entered.
    void FillDoorKeys();

private:
    // The page's copy of those directions of the shown room follows `room`.
    void ExitsChangedElsewhere(const TRoom& room, const std::array<bool, DirCount>& directions);
    QWidget* BuildDescriptions();
    QWidget* BuildExits();
    QWidget* BuildTypeTab();
    QWidget* BuildDoorsTab();
    QWidget* BuildTriggersTab();
    void LoadLists();
    void Connect();

    void Change();
    void DescEditChange();
    void DescPageControlChange(int tab);
    void DescCheckBoxClick(bool checked);
    void SetExitPanelClick(int direction);
    void ExitEditChange(int direction);
    void ExitPanelClick(int direction);
    void ShowDoorPanel(int direction, bool visible);
    void LoadDoorFields();
    void ClearDoorFields();
    bool DoorFieldAllowed();
    void DoorEditChange();
    void DoorDescEditChange();
    void DoorKeyEditChange();
    void DoorComboBoxChange();
    void DoorDComboBoxChange();
    void DoorKeyComboBoxChange();
    TStringList StoredDescription();

    TEditorContext& main_;
    TRecordPage& records_;
    std::optional<int32_t> shown_;
    std::array<TExit, DirCount> exits_{};
    // The exits as the room list held them when the room was shown or last
    // followed: what a step made elsewhere changed is told from them.
    std::array<TExit, DirCount> storedExits_{};
    std::array<bool, kSectionCount> replacing_{};
    int currentDoor_ = -1;
    int awaitingExit_ = -1;
    bool showingGuard_ = false;
    bool showing_ = false; // the controls are being filled
    QString shownName_;
    // The door field values before the last edit, to put back a refused one.
    QString doorText_, doorDescText_;
    int doorKey_ = -1;
};
