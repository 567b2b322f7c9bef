#pragma once

// The tools window: a small floating tool bar with the record commands of the
// page being edited. It only reports which button was pressed; the main window
// runs the commands (and asks its own questions, such as whether to discard
// the page's changes).

#include <QIcon>
#include <QList>
#include <QWidget>

class QAction;
class QCloseEvent;
class QToolBar;
class QToolButton;

class TToolsForm : public QWidget {
    Q_OBJECT

public:
    // With the main window as parent the window stays above it.
    explicit TToolsForm(QWidget* parent = nullptr);

    QToolBar* ToolBar1;
    QToolButton* PrevBtn;
    QToolButton* NextBtn;
    QToolButton* NewBtn;
    QToolButton* ApplyBtn;
    QToolButton* CancelBtn;
    QToolButton* CopyBtn;
    QToolButton* DeleteBtn;
    QToolButton* MultiBtn; // kept hidden: several rooms at once is not a command yet
    QToolButton* SaveZoneBtn;

    // The button images, by index 0..8 in tool bar order.
    QList<QIcon> ImageList1;

    // The editor's change flag: "Присвоить" is enabled exactly while it is set.
    void SetApplyEnabled(bool enabled);
    // Previous, next, cancel, copy and delete need an open zone; they follow
    // the main menu's record commands.
    void SetRecordButtonsEnabled(bool enabled);

signals:
    void prevClicked();
    void nextClicked();
    void newClicked();
    void applyClicked();
    void cancelClicked();
    void copyClicked();
    void deleteClicked();
    void saveZoneClicked();
    // The user closed the window with its close box; hide() does not send it.
    void closed();

protected:
    void closeEvent(QCloseEvent* event) override;

private:
    QToolButton* AddButton(const char* name, const QString& hint, int image,
                           void (TToolsForm::*clicked)());

    QAction* multiAction_ = nullptr;
};
