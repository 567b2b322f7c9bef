#pragma once

// The pieces the editor's dialogs are built from alike: named buttons, the
// row of buttons at the foot of a window, and the "Ok" flag a caller reads
// after a modal run.

#include <QDialog>
#include <QHBoxLayout>
#include <initializer_list>

class QLabel;
class QPushButton;
class QShowEvent;
class QTabWidget;
class QString;

// A push button whose objectName is `name`. It is not auto-default: Enter
// goes to the dialog's default button (or to the memo that has the focus),
// never to whichever button the focus happens to be on.
QPushButton* MakeButton(QWidget* parent, const char* name, const QString& caption);

// The button Enter presses anywhere in the dialog. It stays auto-default, as
// a dialog's buttons are unless told otherwise.
QPushButton* MakeDefaultButton(QWidget* parent, const char* name, const QString& caption);

// A label named `name` that stands for the control `buddy`; a "&" in the
// caption takes the focus there.
QLabel* MakeBuddyLabel(QWidget* parent, const char* name, const QString& caption, QWidget* buddy);

// The buttons at the foot of a dialog, to the right, in the order given.
QHBoxLayout* ButtonRow(std::initializer_list<QWidget*> buttons);

// Moves a companion window beside `main`: to the right of its frame, else to
// the left, else inside it below its title bar; never over the title bar.
void PlaceBeside(QWidget* window, const QWidget* main);
// Whether `window` stands over the title bar of `main` (its top edge when the
// window system draws no frame), as it may after `main` grew or moved.
bool CoversTitleBar(const QWidget* window, const QWidget* main);

// Narrower padding around the tab captions of `tabs`, so that a row of tabs
// fits the width a page gives it without scroll arrows hiding the last ones.
void MakeTabsCompact(QTabWidget* tabs);

// A dialog that reports its answer by Accepted(): only its "Ok" sets it, and
// every showing of the window clears it, so a caller never reads the answer
// of an earlier run.
class TOkDialog : public QDialog {
    Q_OBJECT

public:
    using QDialog::QDialog;

    bool Accepted() const { return accepted_; }

protected:
    // "Ok": sets the flag and closes the dialog as accepted.
    void AcceptOk();
    // For a dialog that starts a new choice at other moments as well.
    void ClearAccepted() { accepted_ = false; }

    void showEvent(QShowEvent* event) override;

private:
    bool accepted_ = false;
};
