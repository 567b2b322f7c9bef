#include "export.h"

#include "codepage.h"
#include "serverimport.h"
#include "workspacescan.h"

#include <filesystem>

namespace fs = std::filesystem;

namespace {

// Every CR LF pair inside `line` reduced to its LF.
void AppendWithLfOnly(std::string& out, const std::string& line) {
    size_t start = 0;
    for (size_t pos; (pos = line.find("\r\n", start)) != std::string::npos; start = pos + 2) {
        out.append(line, start, pos - start);
        out += '\n';
    }
    out.append(line, start, std::string::npos);
}

} // namespace

std::string ServerFileText(const TStringList& lines, const TExportSettings& settings,
                           int* substituted) {
    const bool lf = settings.LineEnd == TServerLineEnd::Lf;
    std::string text;
    size_t size = 0;
    for (const auto& line : lines)
        size += line.size() + 2;
    text.reserve(size);
    for (const auto& line : lines) {
        if (lf)
            AppendWithLfOnly(text, line);
        else
            text += line;
        text += lf ? "\n" : "\r\n";
    }
    if (settings.CodePage == TServerCodePage::Koi8r)
        return Cp1251ToKoi8r(text, substituted);
    if (substituted)
        *substituted = 0;
    return text;
}

bool WriteServerBytes(const std::string& path, const std::string& bytes) {
    const TWriteResult result = SaveBytesToFile(path, bytes);
    if (result)
        return true;
    if (TErrorReporter* reporter = ErrorReporter())
        reporter->ReportWriteFailure(WriteFailureMessage("Не могу сохранить файл ", path, result),
                                     result);
    return false;
}

bool WriteForServer(const std::string& path, const TStringList& lines,
                    const TExportSettings& settings, int* substituted) {
    return WriteServerBytes(path, ServerFileText(lines, settings, substituted));
}

bool ExportWouldWriteIntoWorkspace(const std::string& folder, const std::string& workspace) {
    if (LiesWithin(folder, workspace))
        return true;
    // The server's own folders are in lower case, an older export's in upper.
    for (const std::string kind : kKindFolders)
        for (const std::string& name : {kind, AsciiLower(kind)})
            if (LiesWithin((fs::path(folder) / name).string(), workspace))
                return true;
    return false;
}
