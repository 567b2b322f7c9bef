#pragma once

// The problems window: what the workspace checks find in the current zone or
// in the whole workspace, one line per problem (severity, record, message).
// It follows the edits through Recheck(); a double-click opens the record.

#include "checks.h"
#include "recordtable.h"

#include <QDialog>

class QCheckBox;
class QComboBox;
class QLabel;
class QPushButton;

class TProblemsForm : public QDialog {
    Q_OBJECT

public:
    explicit TProblemsForm(QWidget* parent = nullptr);

    void SetSource(TWorldSource source) { source_ = std::move(source); }
    // The codes the vocabulary lists name (the spells objects cast).
    void SetNamedCodes(TNamedCodes named) { named_ = std::move(named); }

    QCheckBox* P_AllZonesCheckBox; // "Вся рабочая область"; off: the current zone
    QComboBox* P_SeverityComboBox; // all problems, only errors, only warnings
    QLabel* P_SummaryLabel;
    TRecordTable* P_ProblemsList;
    QPushButton* P_CloseBtn;

    // Whether a check asked for has not run yet.
    bool RecheckPending() const { return pending_; }

public slots:
    // Checks again and refills the list once the current event is handled:
    // the several stores of one step (leaving a page, showing a zone) check
    // once, and a double-click on the list never empties it under its own
    // signal. A hidden window checks when shown.
    void Recheck();

signals:
    void openRecord(int page, int vnum);
    void openUnparsed(int page, int zone, int index);
    void openScriptLine(int vnum, int line);
    // Closed by its close box or button: the menu entry loses its check mark.
    void closed();

protected:
    void showEvent(QShowEvent* event) override;
    void hideEvent(QHideEvent* event) override;

private:
    void RecheckNow();

    TWorldSource source_;
    TNamedCodes named_;
    bool pending_ = false;
};
