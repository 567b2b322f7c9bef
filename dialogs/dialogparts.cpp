#include "dialogparts.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QProxyStyle>
#include <QPushButton>
#include <QScreen>
#include <QShowEvent>
#include <QTabBar>
#include <QTabWidget>
#include <algorithm>

QPushButton* MakeButton(QWidget* parent, const char* name, const QString& caption) {
    auto* button = new QPushButton(caption, parent);
    button->setObjectName(QLatin1String(name));
    button->setAutoDefault(false);
    return button;
}

QPushButton* MakeDefaultButton(QWidget* parent, const char* name, const QString& caption) {
    auto* button = new QPushButton(caption, parent);
    button->setObjectName(QLatin1String(name));
    button->setDefault(true);
    return button;
}

QLabel* MakeBuddyLabel(QWidget* parent, const char* name, const QString& caption, QWidget* buddy) {
    auto* label = new QLabel(caption, parent);
    label->setObjectName(QLatin1String(name));
    label->setBuddy(buddy);
    return label;
}

QHBoxLayout* ButtonRow(std::initializer_list<QWidget*> buttons) {
    auto* row = new QHBoxLayout;
    row->addStretch(1);
    for (QWidget* button : buttons)
        row->addWidget(button);
    return row;
}

void TOkDialog::AcceptOk() {
    accepted_ = true;
    accept();
}

void TOkDialog::showEvent(QShowEvent* event) {
    QDialog::showEvent(event);
    // Only a real show, not the window system restoring a minimised dialog.
    if (!event->spontaneous())
        accepted_ = false;
}

void PlaceBeside(QWidget* window, const QWidget* main) {
    constexpr int kGap = 8;
    const QRect frame = main->frameGeometry();
    const QSize size = window->frameGeometry().size();
    const QScreen* screen = main->screen();
    const QRect room =
        screen ? screen->availableGeometry() : QRect(frame.topLeft(), frame.size() * 3);
    QPoint at(frame.right() + 1 + kGap, frame.top());
    if (at.x() + size.width() > room.right() + 1)
        at.setX(frame.left() - kGap - size.width());
    if (at.x() < room.left())
        // No room on either side: over the main window's client area, right-aligned.
        at = QPoint(main->geometry().right() - size.width(), main->geometry().top());
    at.setY(std::max(at.y(), room.top()));
    window->move(at);
}

bool CoversTitleBar(const QWidget* window, const QWidget* main) {
    const QRect frame = main->frameGeometry();
    const int titleHeight = std::max(main->geometry().top() - frame.top(), 1);
    return window->frameGeometry().intersects(
        QRect(frame.left(), frame.top(), frame.width(), titleHeight));
}

namespace {
class TCompactTabStyle : public QProxyStyle {
public:
    int pixelMetric(PixelMetric metric, const QStyleOption* option,
                    const QWidget* widget) const override {
        const int value = QProxyStyle::pixelMetric(metric, option, widget);
        return metric == PM_TabBarTabHSpace ? value / 2 : value;
    }
};
} // namespace

void MakeTabsCompact(QTabWidget* tabs) {
    auto* style = new TCompactTabStyle;
    style->setParent(tabs->tabBar());
    tabs->tabBar()->setStyle(style);
}
