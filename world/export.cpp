#include "export.h"

#include "codepage.h"
#include "serverimport.h"
#include "workspacescan.h"

#include <algorithm>
#include <filesystem>

namespace fs = std::filesystem;

namespace {

// Whether the file is in the workspace's own form: every line ends with CR LF.
bool InWorkspaceForm(const TStringList& lines, std::string_view lineEnd) {
    return lineEnd == kCrLf && std::all_of(lines.begin(), lines.end(), [](const std::string& line) {
               const std::string_view end = CarriedLineEnd(line);
               return end.empty() || end == kCrLf;
           });
}

} // namespace

std::string ServerFileText(const TStringList& lines, const TExportSettings& settings,
                           int* substituted, const TServerFileSource& source) {
    // Only a file of ours takes the setting: another keeps the ends the
    // server's own file had, which the builder did not change.
    const TServerKept none;
    const TServerKept& kept = source.Kept ? *source.Kept : none;
    const bool ours = !kept.CrLf && InWorkspaceForm(lines, source.LineEnd);
    const std::string_view lineEnd = !ours                                    ? source.LineEnd
                                     : settings.LineEnd == TServerLineEnd::Lf ? "\n"
                                                                              : kCrLf;
    if (settings.CodePage == TServerCodePage::Cp1251) {
        if (substituted)
            *substituted = 0;
        return FileBytes(lines, lineEnd, !ours);
    }
    TKeptLineMatch match(kept.Lines);
    if (match.Empty())
        return Cp1251ToKoi8r(FileBytes(lines, lineEnd, !ours), substituted);
    std::string text;
    int lost = 0;
    TStringList one(1);
    for (const std::string& line : lines) {
        one[0] = line;
        const std::string bytes = FileBytes(one, lineEnd, !ours);
        if (const std::string* original = match.OriginalOf(line)) {
            text += Utf8ToKoi8r(*original);
            text.append(bytes, LineText(line).size()); // its line end
        } else {
            int count = 0;
            text += Cp1251ToKoi8r(bytes, &count);
            lost += count;
        }
    }
    if (substituted)
        *substituted = lost;
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
                    const TExportSettings& settings, int* substituted,
                    const TServerFileSource& source) {
    return WriteServerBytes(path, ServerFileText(lines, settings, substituted, source));
}

bool ExportWouldWriteIntoWorkspace(const std::string& folder, const std::string& workspace) {
    if (LiesWithin(folder, workspace))
        return true;
    // The server's own folders are in lower case, an older export's in upper.
    for (const TRecordType type : kKindFolderOrder)
        for (const std::string name : {WorldKind(type).Folder, WorldKind(type).ServerFolder})
            if (LiesWithin((fs::path(folder) / name).string(), workspace))
                return true;
    return false;
}
