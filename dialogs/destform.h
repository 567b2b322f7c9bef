#pragma once

// The mob route dialog: the key rooms a mob walks through, in order. The mob
// keeps its route as one text of room numbers joined by "/".

#include "dialogparts.h"
#include "room.h"

#include <functional>
#include <string>
#include <vector>

class QCheckBox;
class QComboBox;
class QLabel;
class QListWidget;
class QListWidgetItem;
class QPushButton;
class QShowEvent;
class QSpinBox;

class TDestForm : public TOkDialog {
    Q_OBJECT

public:
    // The route names rooms of `rooms`, which the dialog offers too.
    explicit TDestForm(const TRoomList& rooms, QWidget* parent = nullptr);

    // Fills the route list from a route text, one entry per room with the
    // room's caption. A part that is not a room number (a hand-edited mob
    // file) is kept as it stands, so accepting the dialog does not lose it;
    // empty parts ("//") carry nothing and are dropped.
    void SetRoute(const std::string& route);
    // The entries' numbers joined by "/"; empty for an empty list.
    std::string Route() const;

    // Where the room box takes its entries each time the dialog is shown;
    // without one, every room of the rooms given, as the rooms list window has them.
    void SetRoomSource(std::function<std::vector<TListEntry>()> source);

    QLabel* Label1;
    QListWidget* ListBox1; // the route
    QComboBox* ComboBox1;  // every room
    QSpinBox* SpinEdit1;   // a room number typed directly
    QCheckBox* CheckBox1;  // add at the end instead of before the selection
    QPushButton* AddBtn1;
    QPushButton* AddBtn2;
    QPushButton* DelBtn;
    QPushButton* UpBtn;
    QPushButton* DownBtn;
    QPushButton* OkBtn;
    QPushButton* CancelBtn;

protected:
    void showEvent(QShowEvent* event) override;

private:
    void FormActivate();
    void AddBtn1Click();
    void AddBtn2Click();
    void DelBtnClick();
    void UpBtnClick();
    void DownBtnClick();
    void OkBtnClick();

    // The row of the selected route entry, or -1.
    int SelectedRow() const;
    void Place(QListWidgetItem* item);
    void Swap(int row, int other);

    const TRoomList& rooms_;
    std::function<std::vector<TListEntry>()> roomSource_;
};
