#pragma once

// The window that shows, before anything is written, what publishing zones
// into the server's world folder will change there: each file new, changed
// (with the records added, removed and changed) or unchanged, the files not
// written and why, and the names added to the index files. "Записать"
// goes on, "Отмена" writes nothing.

#include <QDialog>

class QLabel;
class QPushButton;
class QTreeWidget;
struct TPublishPlan;

class TPublishForm : public QDialog {
    Q_OBJECT

public:
    explicit TPublishForm(QWidget* parent = nullptr);

    // Fills the window from the plan of the publishing into `folder`.
    void ShowPlan(const TPublishPlan& plan, const QString& folder);

    QLabel* FolderLabel;
    QTreeWidget* ChangeTree; // a row per file, its records below it
    QLabel* SummaryLabel;
    QPushButton* WriteBtn;
    QPushButton* CancelBtn;
};
