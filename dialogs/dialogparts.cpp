#include "dialogparts.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QShowEvent>

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
