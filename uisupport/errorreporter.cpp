#include "errorreporter.h"

#include "prompts.h"
#include "textcodec.h"

namespace {

TLoadReport* openReport = nullptr;

} // namespace

QString BoxText(const std::string& message) {
    QString text = FromCp1251(message);
    text.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    return text;
}

void TPromptErrorReporter::ReportError(const std::string& message) {
    Prompts().Error(BoxText(message));
}

void TLoadReport::AddFailure(const QString& text) {
    if (!Failures.contains(text))
        Failures << text;
}

void TLoadReport::AddNote(const QString& text) {
    if (!Notes.contains(text))
        Notes << text;
}

TLoadReportScope::TLoadReportScope(TLoadReport& report)
    : report_(report), previousReporter_(ErrorReporter()), previousReport_(openReport) {
    SetErrorReporter(this);
    openReport = &report_;
}

TLoadReportScope::~TLoadReportScope() {
    SetErrorReporter(previousReporter_);
    openReport = previousReport_;
}

void TLoadReportScope::ReportError(const std::string& message) {
    report_.AddFailure(BoxText(message));
}

void TLoadReportScope::ReportNote(const std::string& message) {
    report_.AddNote(BoxText(message));
}

void ReportLoadFailure(const QString& text) {
    if (openReport)
        openReport->AddFailure(text);
    else
        Prompts().Error(text);
}
