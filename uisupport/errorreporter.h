#pragma once

// World file failures shown as error boxes, or gathered into one report
// while a batch of reads runs (the start-up, the rescan after an import).

#include "worldfile.h"

#include <QStringList>

// A Windows-1251 message with "\r\n" line breaks as a box or a tip shows it.
QString BoxText(const std::string& message);

class TPromptErrorReporter : public TErrorReporter {
public:
    // The Windows-1251 message goes to Prompts().Error.
    void ReportError(const std::string& message) override;
};

// What a batch of reads could not load (or a save could not write), each
// failure as its error box would show it, and the notes (rooms not placed).
// A failure met before is not listed again: twenty controls filled from one
// missing list make one entry.
struct TLoadReport {
    QStringList Failures;
    QStringList Notes;
    void AddFailure(const QString& text);
    void AddNote(const QString& text);
    bool IsEmpty() const { return Failures.isEmpty() && Notes.isEmpty(); }
};

// While it lives, world file failures and notes, and whatever goes through
// ReportLoadFailure, go into `report` instead of message boxes; the reporter
// and report before it come back when it ends.
class TLoadReportScope : public TErrorReporter {
public:
    explicit TLoadReportScope(TLoadReport& report);
    ~TLoadReportScope() override;
    TLoadReportScope(const TLoadReportScope&) = delete;
    TLoadReportScope& operator=(const TLoadReportScope&) = delete;

    void ReportError(const std::string& message) override;
    void ReportNote(const std::string& message) override;

private:
    TLoadReport& report_;
    TErrorReporter* previousReporter_;
    TLoadReport* previousReport_;
};

// A file the editor could not load (a vocabulary list, the hint file): into
// the open load report when there is one, else an error box.
void ReportLoadFailure(const QString& text);
