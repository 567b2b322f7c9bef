#include "export.h"

#include "codepage.h"
#include "workspacescan.h"
#include "worldlists.h"

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

bool WriteForServer(const std::string& path, const TStringList& lines,
                    const TExportSettings& settings, int* substituted) {
    const TWriteResult result = SaveBytesToFile(path, ServerFileText(lines, settings, substituted));
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
    const auto write = [&](const std::string& path, const TStringList& lines) {
        int substituted = 0;
        if (!WriteForServer(path, lines, settings, &substituted))
            ++result.NotWritten;
        result.Substituted += substituted;
    };
    // One list of lines, filled and written six times.
    TStringList lines;
    ObjList.SaveToStrings(lines, n);
    write(paths[0], lines);
    MobList.SaveToStrings(lines, n);
    write(paths[1], lines);
    ShopList.SaveToStrings(lines, n);
    write(paths[2], lines);
    TriggerList.SaveToStrings(lines, n);
    write(paths[3], lines);
    RoomList.SaveToStrings(lines, n);
    write(paths[4], lines);
    zone.SaveToStrings(lines);
    write(paths[5], lines);
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
