#pragma once

// The room page's extra descriptions tab: the keywords of the shown room's
// extra descriptions, the one chosen in its fields, and adding, setting and
// deleting them in the page's working copy.

#include "room.h"

#include <QWidget>
#include <functional>

class QLineEdit;
class QListWidget;
class QPlainTextEdit;
class QPushButton;

class TRoomExtraDescs : public QWidget {
    Q_OBJECT

public:
    // `hasRoom` says whether a room is shown to add to; `changed` runs for
    // every edit of the working copy.
    TRoomExtraDescs(QWidget* parent, std::function<bool()> hasRoom, std::function<void()> changed);

    // A copy of the room's extra descriptions becomes the working copy.
    void Show(const TExtraDescList& descs);
    const TExtraDescList& Descs() const { return descs_; }

    QListWidget* R_AddDescListBox;
    QLineEdit* R_AddDescEdit;
    QPlainTextEdit* R_AddDescMemo;
    QPushButton* R_AddDescBtn1; // add
    QPushButton* R_AddDescBtn3; // set
    QPushButton* R_AddDescBtn2; // delete

private:
    void ListBoxClick();
    bool Acceptable();
    void Add();
    void Set();
    void Delete();

    std::function<bool()> hasRoom_;
    std::function<void()> changed_;
    TExtraDescList descs_;
};
