#pragma once

// Find and replace inside one script: a bar under the script editor, opened
// by Ctrl+F (find) or Ctrl+H (find and replace) and closed by Escape.
// Replacing goes through the editor's own cursor, so each replacement is one
// undo step and the page sees it as typing.

#include <QWidget>

class QLabel;
class QLineEdit;
class QPlainTextEdit;
class QToolButton;

class TScriptFindBar : public QWidget {
    Q_OBJECT

public:
    explicit TScriptFindBar(QPlainTextEdit* editor);

    // Shows the bar with the editor's selected text to find; the replace
    // row only when asked.
    void Open(bool replacing);
    void Close();

    // The next (or previous) occurrence, wrapping around the script;
    // false when there is none.
    bool FindNext(bool backward = false);
    // Replaces the found text under the cursor and finds the next.
    void ReplaceOne();
    // Replaces every occurrence as one undo step; returns how many.
    int ReplaceAll();

    QLineEdit* FindEdit;
    QLineEdit* ReplaceEdit;

protected:
    void keyPressEvent(QKeyEvent* event) override;

private:
    bool SelectionIsFound() const;

    QPlainTextEdit* editor_;
    QWidget* replaceRow_;
    QLabel* status_;
};
