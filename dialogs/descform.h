#pragma once

// The long-text dialog: one multi-line text (a mob's detailed description),
// edited as the lines the world files keep.
//
// Also the checks every dialog that takes a multi-line text from the user
// makes before it accepts.

#include "dialogparts.h"
#include "worldfile.h"

#include <QString>

class QPlainTextEdit;
class QPushButton;
class QShowEvent;

// The text of a memo with every character as typed: toPlainText would turn a
// no-break space (which Windows-1251 holds) into a plain one. Lines are
// joined by "\n".
QString MemoText(const QPlainTextEdit* memo);
// A memo shows the lines joined by line breaks; an empty text is no lines.
QString LinesToMemoText(const TStringList& lines);
// The memo's lines as Windows-1251; `substituted` (when given) receives how
// many characters that code page cannot hold became '?'.
TStringList MemoTextToLines(const QString& text, int* substituted = nullptr);
// The 1-based number of the first line that ends with "~", or 0. The world
// files close a multi-line text at such a line, so it cannot be stored.
int FirstTildeEndedLine(const QString& text);

// Run when the user accepts a dialog with a multi-line text: a line ending
// with "~" is refused with an error box (false, the dialog stays open);
// characters Windows-1251 cannot hold, in the text and in `otherFields`, are
// reported in an information box and then taken as '?'.
bool AcceptableMemoText(const QString& text, const QString& otherFields = {});

class TDescForm : public TOkDialog {
    Q_OBJECT

public:
    explicit TDescForm(QWidget* parent = nullptr);

    // The caller presets the text, shows the dialog modally and, when
    // Accepted(), takes Lines() back.
    void SetLines(const TStringList& lines);
    TStringList Lines() const;

    QPlainTextEdit* DescMemo;
    QPushButton* OkBtn;
    QPushButton* ClearBtn;
    QPushButton* CancelBtn;

protected:
    void showEvent(QShowEvent* event) override;

private:
    void OkBtnClick();
    void ClearBtnClick();
};

// A memo as the dialogs use it: no word wrap (the line breaks are the
// user's), a vertical scroll bar, about `columns` by `rows` characters.
QPlainTextEdit* MakeMemo(QWidget* parent, const char* name, int columns, int rows);
