#pragma once

// The room page's zone reset contents: the objects placed in the room and
// what they hold, the mobs placed in it with what they carry and wear, whom
// they follow and how many may stand there, and the objects removed from the
// room at reset. It works on copies owned here, one per list entry.

#include "room.h"

#include <QObject>
#include <array>
#include <functional>
#include <vector>

class QComboBox;
class QLabel;
class QListWidget;
class QListWidgetItem;
class QPushButton;
class QSpinBox;
class QTabWidget;
class QWidget;
class TEditorContext;

class TRoomContents : public QObject {
    Q_OBJECT

public:
    // Adds the tabs "Объекты", "Мобы" and "Прочее" to `tabs`; `hasRoom` tells
    // whether a room is selected, `change` is the page's change hook.
    TRoomContents(TEditorContext& main, QTabWidget* tabs, std::function<bool()> hasRoom,
                  std::function<void()> change);

    void ShowOnPage(const TRoom& room);
    void ReadFromPage(TRoom& room) const;

    QListWidget* R_ObjectCheckListBox;
    QPushButton* R_ObjectBtn1;
    QPushButton* R_ObjectBtn2;
    QPushButton* R_ObjectBtn3;
    QListWidget* R_OObjCheckListBox;
    QPushButton* R_OObjBtn1;
    QPushButton* R_OObjBtn2;
    QPushButton* R_OObjBtn3;
    QListWidget* R_MobCheckListBox;
    QPushButton* R_MobBtn1;
    QPushButton* R_MobBtn2;
    QPushButton* R_MobBtn3;
    QListWidget* R_MObjCheckListBox;
    QPushButton* R_MObjBtn1;
    QPushButton* R_MObjBtn2;
    QPushButton* R_MObjBtn3;
    QComboBox* R_MFolComboBox;
    QSpinBox* R_MMaxEdit;
    QLabel* R_MMaxWLabel;
    QListWidget* R_ODelCheckListBox;
    QPushButton* SpeedButton1;
    QPushButton* SpeedButton2;
    QPushButton* SpeedButton3;

private:
    QWidget* BuildObjectsTab();
    QWidget* BuildMobsTab();
    QWidget* BuildOtherTab();
    void Connect();
    void ConnectLinkList(QListWidget* list, std::array<QPushButton*, 3> buttons,
                         TLinkObjList* (TRoomContents::*owner)(), const QString& missing,
                         bool params);

    bool NeedRoom(const QString& message) const;
    void ObjectAdd();
    void ObjectEdit();
    void ObjectDelete();
    void ContainerRule(int row);
    void ObjectClick();
    void LinkAdd(QListWidget* list, TLinkObjList* contents, bool params, bool ifFlag);
    void LinkEdit(QListWidget* list, TLinkObjList* contents, bool params);
    void LinkDelete(QListWidget* list, TLinkObjList* contents);
    void LinkCheck(QListWidget* list, TLinkObjList* contents, QListWidgetItem* item);
    TLinkObjList* SelectedObjectContents();
    TLinkObjList* SelectedMobContents();
    void MobAdd();
    void MobEdit();
    void MobDelete();
    void MobDetails();
    void MFolChange();
    void MMaxChange();
    void DelAdd();
    void DelEdit();
    void DelDelete();
    bool InDelList(int32_t vnum) const;

    TEditorContext& main_;
    std::function<bool()> hasRoom_;
    std::function<void()> change_;
    // The page's own copies, one per entry of their list, in list order.
    std::vector<TRoomObj> objects_;
    std::vector<TRoomMob> mobs_;
    bool showing_ = false;
    // Cleared while the mob details are filled: their handlers stay silent.
    bool detailsGuard_ = true;
};
