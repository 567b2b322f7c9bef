#include "serverimport.h"

#include "codepage.h"
#include "maplayout.h"
#include "orderedwork.h"
#include "room.h"
#include "workspacescan.h"
#include "worldfile.h"

#include <algorithm>
#include <cctype>
#include <cstdlib>
#include <filesystem>
#include <map>
#include <optional>
#include <system_error>

namespace fs = std::filesystem;

std::string AsciiLower(std::string name) {
    for (char& ch : name)
        ch = static_cast<char>(std::tolower(static_cast<unsigned char>(ch)));
    return name;
}

namespace {

constexpr size_t kRoomKind = static_cast<size_t>(TRecordType::Room); // kServerKinds index

// The zone number of a file name "N.ext" (any letter case of the
// extension); nothing for any other name.
std::optional<int32_t> ZoneOfFileName(const std::string& name, const std::string& extension) {
    if (name.size() <= extension.size() ||
        AsciiLower(name.substr(name.size() - extension.size())) != extension)
        return std::nullopt;
    const std::string digits = name.substr(0, name.size() - extension.size());
    if (digits.empty() || digits.size() > 9 ||
        !std::all_of(digits.begin(), digits.end(), [](char c) { return c >= '0' && c <= '9'; }))
        return std::nullopt;
    return static_cast<int32_t>(std::atol(digits.c_str()));
}

std::string Trimmed(const std::string& line) {
    const size_t first = line.find_first_not_of(" \t");
    if (first == std::string::npos)
        return {};
    return line.substr(first, line.find_last_not_of(" \t") - first + 1);
}

// The file names a folder's index lists, or nothing when it has no index.
std::optional<std::vector<std::string>> IndexEntries(const fs::path& folder) {
    std::string bytes;
    if (!ReadFileBytes((folder / "index").string(), bytes))
        return std::nullopt;
    std::vector<std::string> names;
    for (const std::string& line : SplitTextLines(std::move(bytes))) {
        const std::string name = Trimmed(line);
        if (name == "$")
            break;
        if (!name.empty())
            names.push_back(name);
    }
    return names;
}

bool IsRegularFile(const fs::path& path) {
    std::error_code error;
    return fs::is_regular_file(path, error);
}

std::vector<std::string> NumberedFiles(const fs::path& folder, const std::string& extension) {
    std::vector<std::string> names;
    for (const std::string& path : ListFiles(folder.string(), extension)) {
        std::string name = fs::path(path).filename().string();
        if (ZoneOfFileName(name, extension) && IsRegularFile(path))
            names.push_back(std::move(name));
    }
    return names;
}

bool Exists(const fs::path& path) {
    std::error_code error;
    return fs::exists(fs::symlink_status(path, error));
}

// The workspace path without a trailing separator, so that its parent is
// the folder beside which the staging folder goes.
fs::path WorkspacePath(const std::string& workspace) {
    fs::path path(workspace);
    if (!path.has_filename() && path.has_parent_path())
        path = path.parent_path();
    return path;
}

std::string TargetName(size_t kind, int32_t number) {
    return std::string(kServerKinds[kind].WorkspaceFolder) + "/" + std::to_string(number) +
           kServerKinds[kind].Extension;
}

std::string LayoutName(int32_t number) {
    return "WLD/" + std::to_string(number) + ".map";
}

// A folder of the file system that is removed with its contents when the
// import ends, whatever way.
class TStagingFolder {
public:
    explicit TStagingFolder(const fs::path& workspace) {
        const fs::path parent =
            workspace.has_parent_path() ? workspace.parent_path() : fs::path(".");
        // Built by appending: GCC 12 at -O2 takes "." + string&& for an overlapping copy.
        std::string folder = ".";
        folder += workspace.filename().string();
        folder += ".import-XXXXXX";
        std::string name = (parent / folder).string();
        if (::mkdtemp(name.data()))
            path_ = name;
    }
    ~TStagingFolder() {
        if (!path_.empty()) {
            std::error_code error;
            fs::remove_all(path_, error);
        }
    }
    TStagingFolder(const TStagingFolder&) = delete;
    TStagingFolder& operator=(const TStagingFolder&) = delete;

    bool Made() const { return !path_.empty(); }
    const fs::path& Path() const { return path_; }

private:
    fs::path path_;
};

bool MakeFolders(const fs::path& root) {
    for (const auto& kind : kServerKinds) {
        std::error_code error;
        fs::create_directories(root / kind.WorkspaceFolder, error);
        if (!fs::is_directory(root / kind.WorkspaceFolder, error))
            return false;
    }
    return true;
}

// Moves a staged file over the workspace file; a copy where the two lie on
// different file systems.
bool MoveInto(const fs::path& from, const fs::path& to) {
    std::error_code error;
    fs::rename(from, to, error);
    if (!error)
        return true;
    error.clear();
    fs::copy_file(from, to, fs::copy_options::overwrite_existing, error);
    return !error;
}

std::string CannotWrite(const fs::path& path) {
    return Msg("Не могу записать файл ") + Msg(path.string());
}

// One zone converted into the staging folder: the workspace names of its
// files and how its rooms were laid out.
struct TStagedZone {
    int32_t Number = 0;
    std::vector<std::string> Files;
    TExitLayoutResult Layout;
};

// The layout file of a converted room file: the zone's rooms laid out from
// their exits. A room file that does not read to its end is laid out as far
// as it reads; the workspace scan that follows reports it.
bool WriteLayout(const fs::path& path, std::string roomText, int32_t number,
                 TExitLayoutResult& result) {
    TRoomList rooms;
    rooms.ReadingZone = number;
    TReadContext quiet{.Quiet = true};
    LoadWorldBytes(
        WorldKind(TRecordType::Room).LoadWord, path.string(), std::move(roomText),
        [&rooms, number](TWorldReader& reader) {
            // The zone's rooms are laid out right away; what else the file
            // holds is not looked at.
            rooms.ReadRooms(reader, [number](int32_t vnum) { return ZoneOf(vnum) != number; });
        },
        quiet);
    result = LayOutFromExits(rooms, number);
    TStringList lines;
    LayoutToStrings(rooms, lines, number);
    return SaveLinesToFile(path.string(), lines).Ok();
}

// One zone converted into the staging folder (on a worker thread): its
// files there and what went wrong.
struct TConvertedZone {
    TStagedZone Staged;
    std::string ReadFailure;  // a file that could not be read: the zone is left out
    std::string WriteFailure; // a file that could not be written: the import stops
    std::vector<std::pair<std::string, int>> Substitutions; // workspace file, count
};

TConvertedZone ConvertZone(const TServerZone& zone, const fs::path& staging,
                           TServerCodePage codePage) {
    TConvertedZone out;
    out.Staged.Number = zone.Number;
    for (size_t kind = 0; kind < kServerKinds.size(); ++kind) {
        const std::string& source = zone.Files[kind];
        if (source.empty())
            continue;
        std::string bytes;
        if (!ReadFileBytes(source, bytes)) {
            out.ReadFailure = Msg("Не могу прочитать файл ") + Msg(source) + Msg(" (зона ") +
                              std::to_string(zone.Number) + Msg(" не импортирована)");
            return out;
        }
        int lost = 0;
        TServerKept kept;
        const std::string name = TargetName(kind, zone.Number);
        std::string text = WorkspaceFileText(std::move(bytes), codePage, &lost, &kept);
        if (!SaveBytesToFile((staging / name).string(), text)) {
            out.WriteFailure = CannotWrite(staging / name);
            return out;
        }
        out.Staged.Files.push_back(name);
        if (lost > 0)
            out.Substitutions.emplace_back(name, lost);
        if (!kept.Empty()) {
            const std::string side = ServerKeptFileName(name);
            if (!SaveBytesToFile((staging / side).string(), ServerKeptText(kept))) {
                out.WriteFailure = CannotWrite(staging / side);
                return out;
            }
            out.Staged.Files.push_back(side);
        }
        if (kind == kRoomKind) {
            const fs::path layout = staging / LayoutName(zone.Number);
            if (!WriteLayout(layout, std::move(text), zone.Number, out.Staged.Layout)) {
                out.WriteFailure = CannotWrite(layout);
                return out;
            }
            out.Staged.Files.push_back(LayoutName(zone.Number));
        }
    }
    return out;
}

// Thrown from the ordered taking of the converted zones: the import stops
// there (a file could not be written, or the builder cancelled).
struct TImportStop {};

} // namespace

TServerWorld ListServerWorld(const std::string& serverDir) {
    std::map<int32_t, TServerZone> zones;
    TServerWorld world;
    // A server folder received from someone else may link anywhere: what
    // leads out of it is named and not read.
    const auto leavesServer = [&](const fs::path& path) {
        if (LiesWithin(path.string(), serverDir))
            return false;
        world.Problems.push_back(Msg("Не прочитано, ссылка ведёт за пределы папки сервера: ") +
                                 Msg(path.string()));
        return true;
    };
    for (size_t kind = 0; kind < kServerKinds.size(); ++kind) {
        const fs::path folder = fs::path(serverDir) / kServerKinds[kind].ServerFolder;
        const std::string extension = kServerKinds[kind].Extension;
        // Without its index the folder's numbered files would stand for what
        // the index lists: the kind is left out whole.
        if ((Exists(folder) && leavesServer(folder)) ||
            (Exists(folder / "index") && leavesServer(folder / "index")))
            continue;
        const auto index = IndexEntries(folder);
        const std::vector<std::string> names = index ? *index : NumberedFiles(folder, extension);
        for (const std::string& name : names) {
            const fs::path path = folder / name;
            const auto number = ZoneOfFileName(name, extension);
            if (!number) {
                // The name is a line of the index, which may be of any length.
                world.Problems.push_back(Msg("Пропущен файл с именем не вида N") + Msg(extension) +
                                         Msg(": ") + Msg((folder / QuotedLine(name)).string()));
                continue;
            }
            if (!IsRegularFile(path)) {
                world.Problems.push_back(Msg("Нет файла из списка index: ") + Msg(path.string()));
                continue;
            }
            if (leavesServer(path))
                continue;
            TServerZone& zone = zones[*number];
            zone.Number = *number;
            if (!zone.Files[kind].empty()) {
                world.Problems.push_back(Msg("Второй файл той же зоны пропущен: ") +
                                         Msg(path.string()));
                continue;
            }
            zone.Files[kind] = path.string();
        }
    }
    for (auto& [number, zone] : zones)
        world.Zones.push_back(std::move(zone));
    return world;
}

std::vector<std::string> WorkspaceZoneFiles(const std::string& workspace, int32_t number) {
    std::vector<std::string> files;
    for (size_t kind = 0; kind < kServerKinds.size(); ++kind)
        files.push_back((fs::path(workspace) / TargetName(kind, number)).string());
    files.push_back((fs::path(workspace) / LayoutName(number)).string());
    for (size_t kind = 0; kind < kServerKinds.size(); ++kind)
        files.push_back(ServerKeptFileName(files[kind]));
    return files;
}

namespace {

bool Selected(const std::vector<int32_t>& selection, int32_t number) {
    return selection.empty() ||
           std::find(selection.begin(), selection.end(), number) != selection.end();
}

bool ZoneInWorkspace(const std::string& workspace, int32_t number) {
    const auto files = WorkspaceZoneFiles(workspace, number);
    return std::any_of(files.begin(), files.end(), [](const auto& f) { return Exists(f); });
}

} // namespace

std::vector<int32_t> ExistingZones(const TServerWorld& world, const std::string& workspace,
                                   const std::vector<int32_t>& selection) {
    std::vector<int32_t> existing;
    for (const TServerZone& zone : world.Zones)
        if (Selected(selection, zone.Number) && ZoneInWorkspace(workspace, zone.Number))
            existing.push_back(zone.Number);
    return existing;
}

std::string WorkspaceFileText(std::string serverBytes, TServerCodePage codePage, int* substituted,
                              TServerKept* kept) {
    if (kept)
        kept->CrLf = EndsEveryLineWithCrLf(serverBytes);
    if (codePage != TServerCodePage::Koi8r) {
        if (substituted)
            *substituted = 0;
        return serverBytes;
    }
    // Line by line, as the reader splits them, so that each line that loses
    // a character is known; the line ends stay as they are.
    std::string& text = serverBytes;
    int lost = 0;
    for (size_t start = 0; start < text.size();) {
        const size_t stop = std::min(text.find_first_of("\r\n", start), text.size());
        const std::string_view original(text.data() + start, stop - start);
        int count = 0;
        const std::string line = Koi8rToCp1251(original, &count);
        if (count > 0 && kept)
            kept->Lines.push_back({line, Koi8rToUtf8(original)});
        lost += count;
        line.copy(text.data() + start, original.size());
        start = std::min(text.find_first_not_of("\r\n", stop), text.size());
    }
    if (substituted)
        *substituted = lost;
    return serverBytes;
}

TImportReport ImportServerWorld(const TServerWorld& world, const std::string& workspace,
                                const TImportOptions& options, const TImportProgress& progress) {
    TImportReport report;
    report.Failures = world.Problems;
    for (int32_t number : options.Zones)
        if (std::none_of(world.Zones.begin(), world.Zones.end(),
                         [number](const TServerZone& zone) { return zone.Number == number; }))
            report.NotFound.push_back(number);

    std::vector<const TServerZone*> chosen;
    for (const TServerZone& zone : world.Zones) {
        if (!Selected(options.Zones, zone.Number))
            continue;
        if (!options.Overwrite && ZoneInWorkspace(workspace, zone.Number))
            report.Skipped.push_back(zone.Number);
        else
            chosen.push_back(&zone);
    }
    const int total = static_cast<int>(chosen.size());
    if (progress && !progress(0, total)) {
        report.Cancelled = true;
        return report;
    }
    if (chosen.empty())
        return report;

    const fs::path target = WorkspacePath(workspace);
    const TStagingFolder staging(target);
    if (!staging.Made() || !MakeFolders(staging.Path())) {
        report.Failures.push_back(Msg("Не могу создать временную папку рядом с ") +
                                  Msg(target.string()));
        return report;
    }

    std::vector<TStagedZone> staged;
    std::vector<std::pair<std::string, int>> substitutions;
    int processed = 0;
    // Converted side by side, taken in order: failures, progress and the
    // zones staged come as one zone after the other gives them.
    std::vector<std::optional<TConvertedZone>> converted(chosen.size());
    try {
        RunInOrder(
            chosen.size(), options.Threads ? options.Threads : WorkerThreadCount(),
            [&](size_t i) {
                converted[i] = ConvertZone(*chosen[i], staging.Path(), options.CodePage);
            },
            [&](size_t i) {
                TConvertedZone zone = std::move(*converted[i]);
                converted[i].reset();
                if (!zone.ReadFailure.empty())
                    report.Failures.push_back(zone.ReadFailure);
                if (!zone.WriteFailure.empty()) {
                    report.Failures.push_back(zone.WriteFailure);
                    throw TImportStop{};
                }
                if (zone.ReadFailure.empty()) {
                    // A zone left out has no substituted characters to tell of.
                    substitutions.insert(substitutions.end(), zone.Substitutions.begin(),
                                         zone.Substitutions.end());
                    staged.push_back(std::move(zone.Staged));
                }
                ++processed;
                if (progress && !progress(processed, total)) {
                    report.Cancelled = true;
                    throw TImportStop{};
                }
            });
    } catch (const TImportStop&) {
        return report; // the staging folder goes with everything converted
    }

    // Everything is converted: only now does the workspace change.
    if (!MakeFolders(target)) {
        report.Failures.push_back(Msg("Не могу создать папки рабочей папки ") +
                                  Msg(target.string()));
        return report;
    }
    for (const TStagedZone& zone : staged) {
        // What was kept of the zone's files before belongs to files the
        // import now replaces.
        for (size_t kind = 0; kind < kServerKinds.size(); ++kind) {
            std::error_code error;
            fs::remove(target / ServerKeptFileName(TargetName(kind, zone.Number)), error);
        }
        bool moved = true;
        for (const std::string& name : zone.Files) {
            if (MoveInto(staging.Path() / name, target / name)) {
                report.Files += IsServerKeptFile(name) ? 0 : 1;
            } else {
                report.Failures.push_back(CannotWrite(target / name));
                moved = false;
            }
        }
        if (moved) {
            report.Imported.push_back(zone.Number);
            report.Layout += zone.Layout;
        }
    }
    for (const auto& [name, lost] : substitutions) {
        report.SubstitutedFiles.emplace_back(name, lost);
        report.Substituted += lost;
    }
    return report;
}

std::string ZoneNumberList(const std::vector<int32_t>& zones) {
    std::string text;
    for (int32_t number : zones) {
        if (!text.empty())
            text += ", ";
        text += std::to_string(number);
    }
    return text;
}

std::vector<std::string> ImportReportLines(const TImportReport& report) {
    std::vector<std::string> lines;
    if (report.Cancelled) {
        lines.push_back(Msg("Импорт отменён, рабочая папка не изменена."));
        return lines;
    }
    lines.push_back(
        Msg(Format("Импортировано зон: %zu, файлов: %d", report.Imported.size(), report.Files)));
    if (!report.Imported.empty())
        lines.push_back(Msg("Зоны: ") + ZoneNumberList(report.Imported));
    lines.push_back(Msg(
        Format("Символов без кода в Windows-1251 (заменены на \"?\"): %d", report.Substituted)));
    for (const auto& [name, lost] : report.SubstitutedFiles)
        lines.push_back(Format("  %s: %d", name.c_str(), lost));
    const TExitLayoutResult& layout = report.Layout;
    lines.push_back(Msg(Format("Комнат разложено на карте по выходам: %d из %d; двусторонних "
                               "выходов между соседними клетками: %d из %d",
                               layout.Placed, layout.Rooms, layout.Joined, layout.TwoWayExits)));
    if (layout.Unplaced > 0)
        lines.push_back(
            Msg(Format("Не поместились на карте (остались не расставлены): %d", layout.Unplaced)));
    if (!report.Skipped.empty())
        lines.push_back(Msg("Уже есть в рабочей папке, не перезаписаны: ") +
                        ZoneNumberList(report.Skipped));
    if (!report.NotFound.empty())
        lines.push_back(Msg("Нет в папке сервера: ") + ZoneNumberList(report.NotFound));
    return lines;
}
