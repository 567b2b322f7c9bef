#pragma once

// "Помощь" -> "Помощь": what the pages are for, the keyboard shortcuts,
// where the files live, and how a server's world comes in and goes back.
// A window of its own, left open beside the editor while the builder works.

#include <QWidget>

class QTextBrowser;

class THelpForm : public QWidget {
    Q_OBJECT

public:
    explicit THelpForm(QWidget* parent = nullptr);

    QTextBrowser* HelpText;
};
