#pragma once

// The report window: what a batch of reads (the start-up scan, an import)
// could not load and what the builder should know besides, gathered into one
// window instead of one message box per file. "Копировать" puts the whole
// text on the clipboard, for a bug report or a note to a fellow builder.

#include <QDialog>
#include <QStringList>

class QLabel;
class QPlainTextEdit;
class QPushButton;

class TReportForm : public QDialog {
    Q_OBJECT

public:
    explicit TReportForm(QWidget* parent = nullptr);

    // Fills the window: `summary` lines first (an import's counts), then the
    // failures (each as its error box would show it) and the notes, each
    // entry apart from the next by a blank line.
    void SetReport(const QStringList& summary, const QStringList& failures,
                   const QStringList& notes);
    QString Text() const;

    QLabel* HeadLabel;
    QPlainTextEdit* ReportMemo;
    QPushButton* CopyBtn;
    QPushButton* CloseBtn;
};
