#include "errorreporter.h"

#include "prompts.h"
#include "textcodec.h"

void TPromptErrorReporter::ReportError(const std::string& message) {
    QString text = FromCp1251(message);
    text.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    Prompts().Error(text);
}
