#include "hinting.h"

#include "textcodec.h"

#include <QEvent>
#include <QListWidget>
#include <QMouseEvent>
#include <QStatusBar>
#include <QWidget>

int ApplyHints(QWidget* window, const std::vector<THint>& hints) {
    int placed = 0;
    for (const THint& hint : hints) {
        const QString name = QString::fromLatin1(hint.Control.c_str());
        QWidget* control =
            window->objectName() == name ? window : window->findChild<QWidget*>(name);
        if (!control)
            continue;
        const QString text = FromCp1251(hint.Text);
        control->setToolTip(text);
        control->setStatusTip(text);
        ++placed;
    }
    return placed;
}

const std::vector<const char*> kHoverFlagLists = {
    "R_TypeCheckListBox",     "O_T25CheckListBox1",    "O_EffectCheckListBox",
    "O_AffectCheckListBox",   "O_NoTakeCheckListBox",  "O_NoUseCheckListBox",
    "O_WearCheckListBox",     "M_ActionCheckListBox",  "M_AffectCheckListBox",
    "M_SpecialCheckListBox",  "S_BitVCheckListBox",    "S_WhoCheckListBox",
    "T_TypeRoomCheckListBox", "T_TypeObjCheckListBox", "T_TypeMobCheckListBox",
};

TFlagListHover::TFlagListHover(QListWidget* list, QStatusBar* bar)
    : QObject(list), list_(list), bar_(bar) {
    list->setMouseTracking(true);
    list->viewport()->setMouseTracking(true);
    list->viewport()->installEventFilter(this);
}

bool TFlagListHover::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() == QEvent::MouseMove) {
        const auto* move = static_cast<QMouseEvent*>(event);
        const QListWidgetItem* item = list_->itemAt(move->position().toPoint());
        bar_->showMessage(item ? item->text() : QString());
    } else if (event->type() == QEvent::Leave) {
        bar_->clearMessage();
    }
    return QObject::eventFilter(watched, event);
}

void WatchFlagLists(QWidget* window, QStatusBar* bar) {
    for (const char* name : kHoverFlagLists)
        if (auto* list = window->findChild<QListWidget*>(QLatin1String(name)))
            new TFlagListHover(list, bar);
}
