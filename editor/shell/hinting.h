#pragma once

// Hints on the controls of the main window and the status bar's texts.

#include "hints.h"

#include <QObject>
#include <vector>

class QListWidget;
class QStatusBar;
class QWidget;

// Gives each control named by a hint (the window itself or one of its
// children) the text as its tooltip and as its status bar text. Later hints
// for the same control replace earlier ones. Returns how many were placed.
int ApplyHints(QWidget* window, const std::vector<THint>& hints);

// The object names of the flag lists whose item under the mouse the status
// bar shows in full.
extern const std::vector<const char*> kHoverFlagLists;

// Shows the full text of the item under the mouse of a flag list in the
// status bar; empty text when no item is under it.
class TFlagListHover : public QObject {
    Q_OBJECT

public:
    TFlagListHover(QListWidget* list, QStatusBar* bar);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    QListWidget* list_;
    QStatusBar* bar_;
};

// Watches every flag list of `window` that is there.
void WatchFlagLists(QWidget* window, QStatusBar* bar);
