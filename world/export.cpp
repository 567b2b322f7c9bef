#include "export.h"

#include "codepage.h"
#include "workspacescan.h"
#include "worldlists.h"

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

bool WriteForServer(const std::string& path, const TStringList& lines,
                    const TExportSettings& settings, int* substituted,
                    const TServerFileSource& source) {
    const TWriteResult result =
        SaveBytesToFile(path, ServerFileText(lines, settings, substituted, source));
    if (result)
        return true;
    if (TErrorReporter* reporter = ErrorReporter())
        reporter->ReportWriteFailure(WriteFailureMessage("Не могу сохранить файл ", path, result),
                                     result);
    return false;
}

std::vector<std::string> ExportFilePaths(const TZone& zone, const std::string& folder) {
    const std::string number = std::to_string(zone.ZoneNumber);
    const char* const extensions[] = {".obj", ".mob", ".shp", ".trg", ".wld", ".zon"};
    std::vector<std::string> paths;
    for (size_t kind = 0; kind < std::size(kKindFolders); ++kind)
        paths.push_back(
            (fs::path(folder) / kKindFolders[kind] / (number + extensions[kind])).string());
    return paths;
}

TExportResult ExportZone(const TZone& zone, const std::string& out,
                         const TExportSettings& settings) {
    const int32_t n = zone.ZoneNumber;
    const std::vector<std::string> paths = ExportFilePaths(zone, out);
    TExportResult result;
    // Each file with its main line end and what the import kept beside its
    // workspace copy.
    const auto write = [&](const std::string& path, const TStringList& lines,
                           std::string_view lineEnd, const std::string& workspaceFile) {
        const TServerKept kept = ReadServerKept(workspaceFile);
        int substituted = 0;
        if (!WriteForServer(path, lines, settings, &substituted, {lineEnd, &kept}))
            ++result.NotWritten;
        result.Substituted += substituted;
    };
    // One list of lines, filled and written six times.
    TStringList lines;
    ObjList.SaveToStrings(lines, n);
    write(paths[0], lines, ObjList.LineEndOf(n), zone.ObjFileName);
    MobList.SaveToStrings(lines, n);
    write(paths[1], lines, MobList.LineEndOf(n), zone.MobFileName);
    ShopList.SaveToStrings(lines, n);
    write(paths[2], lines, ShopList.LineEndOf(n), zone.ShopFileName);
    TriggerList.SaveToStrings(lines, n);
    write(paths[3], lines, TriggerList.LineEndOf(n), zone.TrigFileName);
    RoomList.SaveToStrings(lines, n);
    write(paths[4], lines, RoomList.LineEndOf(n), zone.RoomFileName);
    zone.SaveToStrings(lines);
    write(paths[5], lines, zone.LineEnd, zone.ZoneFileName);
    return result;
}

bool ExportWouldWriteIntoWorkspace(const std::string& folder, const std::string& workspace) {
    if (LiesWithin(folder, workspace))
        return true;
    for (const char* kind : kKindFolders)
        if (LiesWithin((fs::path(folder) / kind).string(), workspace))
            return true;
    return false;
}
