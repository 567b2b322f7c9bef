#include "publish.h"

#include "codepage.h"
#include "workspacescan.h"
#include "worldfile.h"
#include "world.h"

#include <algorithm>
#include <cctype>
#include <cstdlib>
#include <filesystem>
#include <map>
#include <optional>
#include <set>
#include <system_error>

namespace fs = std::filesystem;

namespace {

constexpr size_t kZoneKind = static_cast<size_t>(TRecordType::Zone); // kServerKinds index

bool IsFolder(const fs::path& path) {
    std::error_code error;
    return fs::is_directory(path, error);
}

bool IsFile(const fs::path& path) {
    std::error_code error;
    return fs::is_regular_file(path, error);
}

bool Exists(const fs::path& path) {
    std::error_code error;
    return fs::exists(fs::symlink_status(path, error));
}

std::string Trimmed(std::string_view line) {
    const size_t first = line.find_first_not_of(" \t\r\n");
    if (first == std::string_view::npos)
        return {};
    return std::string(line.substr(first, line.find_last_not_of(" \t\r\n") - first + 1));
}

// The entries an index lists, up to its "$".
std::vector<std::string> IndexEntries(const std::string& text) {
    std::vector<std::string> names;
    for (const std::string& line : SplitTextLines(text)) {
        std::string name = Trimmed(line);
        if (name == "$")
            break;
        if (!name.empty())
            names.push_back(std::move(name));
    }
    return names;
}

const char* LineEndOf(TServerLineEnd lineEnd) {
    return lineEnd == TServerLineEnd::CrLf ? "\r\n" : "\n";
}

// An index for a folder that has none: the numbered files it holds, which
// the import took as the folder's files, in number order, and "$".
std::string FreshIndex(const fs::path& folder, const char* extension, TServerLineEnd lineEnd) {
    std::vector<std::pair<int32_t, std::string>> files;
    for (const std::string& path : ListFiles(folder.string(), extension)) {
        std::string name = fs::path(path).filename().string();
        if (const auto number = ZoneOfFileName(name); number && IsFile(path))
            files.emplace_back(*number, std::move(name));
    }
    std::sort(files.begin(), files.end());
    std::string text;
    for (const auto& [number, name] : files)
        text += name + LineEndOf(lineEnd);
    return text + "$" + LineEndOf(lineEnd);
}

// Whether the zone has anything of its own in the list: a record, or one
// kept unread.
template <class List> bool HasRecordsIn(const List& list, int32_t zone) {
    const auto* frame = list.FrameOf(zone);
    return !list.ZoneInListOrder(zone).empty() || (frame && !frame->Unparsed.empty());
}

// Whether the zone has records of the kind (a zone file it always has).
bool HasRecords(const TWorld& world, const TZone& zone, size_t kind) {
    return kind == kZoneKind ||
           WithRecordList(world, RecordTypeAt(kind),
                          [&](const auto& list) { return HasRecordsIn(list, zone.ZoneNumber); });
}

// What the server gets of the file the zone's kind composes: its lines with
// the file's own line ends, and the characters the import kept beside the
// workspace copy put back where nobody changed their lines.
std::string ServerBytes(const TWorld& world, const TZone& zone, size_t kind, const TExportSettings& settings,
                        int* substituted) {
    TStringList lines;
    std::string_view lineEnd = zone.LineEnd;
    if (kind == kZoneKind)
        zone.SaveToStrings(world, lines);
    else
        WithRecordList(world, RecordTypeAt(kind), [&](const auto& list) {
            list.SaveToStrings(lines, zone.ZoneNumber);
            lineEnd = list.LineEndOf(zone.ZoneNumber);
        });
    const TServerKept kept = ReadServerKept(ZoneFileOf(zone, RecordTypeAt(kind)));
    return ServerFileText(lines, settings, substituted, {lineEnd, &kept});
}

// The server file name of a zone's kind: the name of the workspace file it
// was read from, which the import keeps (a server's "2000.zon" may hold zone
// 16); a zone without such a file takes its number.
std::string ServerNameOf(const TZone& zone, size_t kind) {
    const std::string& extension = kServerKinds[kind].Extension;
    const std::string name = fs::path(ZoneFileOf(zone, RecordTypeAt(kind))).filename().string();
    if (ZoneOfFileName(name) && AsciiLower(name).ends_with(extension))
        return name.substr(0, name.size() - extension.size()) + extension;
    return std::to_string(zone.ZoneNumber) + extension;
}

// "16 (ZON/2000.zon)": a zone by its number and the file it came from.
std::string ZoneLabel(const TZone& zone) {
    const fs::path file(zone.ZoneFileName);
    std::string label = std::to_string(zone.ZoneNumber);
    if (!zone.ZoneFileName.empty())
        label += " (" + (file.parent_path().filename() / file.filename()).string() + ")";
    return label;
}

// The records of a file's text by number: their lines joined, and their
// names. A record begins at a line "#N".
struct TRecordTexts {
    std::map<int32_t, std::string> Text;
    std::map<int32_t, std::string> Name;
};

// Which line after its header names a record of each kind (none for shops).
constexpr int kNameLine[kServerKindCount] = {1, 1, 2, 2, -1, 1};

TRecordTexts RecordsOf(const std::string& serverBytes, size_t kind, TServerCodePage codePage) {
    TRecordTexts records;
    const TStringList lines = SplitTextLines(WorkspaceFileText(serverBytes, codePage));
    std::optional<int32_t> current;
    int line = 0;
    for (const std::string& text : lines) {
        // A zone file is one record: its "#a b c" parameter line starts none.
        const bool header = text.size() > 1 && text[0] == '#' &&
                            std::isdigit(static_cast<unsigned char>(text[1])) &&
                            !(kind == kZoneKind && current);
        if (header) {
            current = static_cast<int32_t>(std::atol(text.c_str() + 1));
            line = 0;
        } else {
            ++line;
        }
        if (!current)
            continue;
        records.Text[*current] += text + "\n";
        if (line == kNameLine[kind] && !records.Name.count(*current)) {
            std::string name = Trimmed(text);
            if (name.ends_with('~'))
                name.pop_back();
            records.Name[*current] = Trimmed(name);
        }
    }
    return records;
}

std::string RecordLabel(const TRecordTexts& records, int32_t number) {
    const auto name = records.Name.find(number);
    if (name == records.Name.end() || name->second.empty())
        return std::to_string(number);
    return std::to_string(number) + " " + name->second;
}

void CompareRecords(TServerFile& file, const std::string& before, TServerCodePage codePage) {
    const TRecordTexts old = RecordsOf(before, file.Kind, codePage);
    const TRecordTexts now = RecordsOf(file.Bytes, file.Kind, codePage);
    for (const auto& [number, text] : now.Text) {
        const auto was = old.Text.find(number);
        if (was == old.Text.end())
            file.Added.push_back(RecordLabel(now, number));
        else if (was->second != text)
            file.Altered.push_back(RecordLabel(now, number));
    }
    for (const auto& [number, text] : old.Text)
        if (!now.Text.count(number))
            file.Removed.push_back(RecordLabel(old, number));
}

// The index of each kind as the plan starts from it.
struct TIndexState {
    bool Exists = false; // the folder has an index
    std::set<std::string> Listed;
};

// One kind's file of one zone, before its change on the server is known.
struct TCandidate {
    const TZone* Zone;
    size_t Kind;
    std::string Name;
};

} // namespace

std::string TServerFolders::FolderOf(size_t kind) const {
    if (!Folders[kind].empty())
        return Folders[kind];
    return (fs::path(Target) / kServerKinds[kind].ServerFolder).string();
}

std::vector<std::string> TServerFolders::Missing() const {
    std::vector<std::string> missing;
    for (size_t kind = 0; kind < kServerKindCount; ++kind)
        if (Folders[kind].empty())
            missing.push_back(kServerKinds[kind].ServerFolder);
    return missing;
}

TServerFolders FindServerFolders(const std::string& target) {
    TServerFolders found;
    found.Target = target;
    std::error_code error;
    for (fs::directory_iterator entry(target, error), end; !error && entry != end;
         entry.increment(error)) {
        const std::string name = entry->path().filename().string();
        for (size_t kind = 0; kind < kServerKindCount; ++kind) {
            const std::string server = kServerKinds[kind].ServerFolder;
            // The server's own lower-case spelling wins over another one beside it.
            if (AsciiLower(name) == server && IsFolder(entry->path()) &&
                (found.Folders[kind].empty() || name == server))
                found.Folders[kind] = entry->path().string();
        }
    }
    return found;
}

std::vector<size_t> FoldersWithoutIndex(const TServerFolders& folders) {
    std::vector<size_t> kinds;
    for (size_t kind = 0; kind < kServerKindCount; ++kind)
        if (!folders.Folders[kind].empty() && !Exists(fs::path(folders.Folders[kind]) / "index"))
            kinds.push_back(kind);
    return kinds;
}

std::string IndexWithEntry(const std::string& text, const std::string& name,
                           TServerLineEnd lineEnd) {
    const size_t firstEnd = text.find('\n');
    const std::string end = firstEnd == std::string::npos
                                ? LineEndOf(lineEnd)
                                : (firstEnd > 0 && text[firstEnd - 1] == '\r' ? "\r\n" : "\n");
    const int64_t number = ZoneOfFileName(name).value_or(0);
    size_t start = 0;
    while (start < text.size()) {
        const size_t lineEnd_ = text.find('\n', start);
        const size_t next = lineEnd_ == std::string::npos ? text.size() : lineEnd_ + 1;
        const std::string entry = Trimmed(std::string_view(text).substr(start, next - start));
        const auto listed = ZoneOfFileName(entry);
        if (entry == "$" || (listed && *listed > number))
            return text.substr(0, start) + name + end + text.substr(start);
        start = next;
    }
    std::string out = text;
    if (!out.empty() && out.back() != '\n')
        out += end;
    return out + name + end;
}

int TPublishPlan::Count(TServerFileChange change) const {
    return static_cast<int>(std::count_if(Files.begin(), Files.end(),
                                          [change](const auto& f) { return f.Change == change; }));
}

std::vector<std::string> TPublishPlan::PathsToWrite() const {
    std::vector<std::string> paths;
    for (const TServerFile& file : Files)
        if (file.Writes())
            paths.push_back(file.Path);
    for (const TIndexEdit& index : Indexes)
        if (index.Changes())
            paths.push_back(index.Path);
    return paths;
}

TPublishPlan PlanPublish(const TWorld& world, const std::vector<const TZone*>& zones,
                         const std::vector<const TZone*>& others, const TServerFolders& folders,
                         const TPublishOptions& options) {
    TPublishPlan plan;
    plan.Folders = folders;
    plan.LineEnd = options.Settings.LineEnd;
    std::array<TIndexState, kServerKindCount> state;
    for (size_t kind = 0; kind < kServerKindCount; ++kind) {
        TIndexEdit& index = plan.Indexes[kind];
        const fs::path folder = folders.FolderOf(kind);
        index.Path = (folder / "index").string();
        index.Exists = ReadFileBytes(index.Path, index.Before);
        if (!index.Exists && (folders.Folders[kind].empty() || options.CreateMissingIndexes)) {
            index.Create = true;
            index.Before = FreshIndex(folder, kServerKinds[kind].Extension,
                                      options.Settings.LineEnd);
        }
        index.WithLayout = folders.Missing().size() == kServerKindCount;
        state[kind].Exists = index.Exists || index.Create;
        for (std::string& name : IndexEntries(index.Before))
            state[kind].Listed.insert(std::move(name));
        index.After = index.Before;
    }
    const auto listed = [&](size_t kind, const std::string& name) {
        return state[kind].Listed.count(name) > 0;
    };

    // Every file a zone would write, the others' too, so that two zones that
    // would land in one file are both found.
    std::vector<TCandidate> candidates;
    std::map<std::pair<size_t, std::string>, std::vector<const TZone*>> owners;
    const auto gather = [&](const TZone* zone, bool chosen) {
        for (size_t kind = 0; kind < kServerKindCount; ++kind) {
            TCandidate candidate{zone, kind, ServerNameOf(*zone, kind)};
            // An empty kind is written only over a file the server reads, which
            // would otherwise keep records the builder deleted.
            if (!HasRecords(world, *zone, kind) && !(state[kind].Exists && listed(kind, candidate.Name)))
                continue;
            owners[{kind, candidate.Name}].push_back(zone);
            if (chosen)
                candidates.push_back(std::move(candidate));
        }
    };
    for (const TZone* zone : zones)
        gather(zone, true);
    for (const TZone* zone : others)
        gather(zone, false);

    std::set<const TZone*> refused;
    for (const auto& [file, sharing] : owners) {
        if (sharing.size() < 2)
            continue;
        const std::string label =
            std::string(kServerKinds[file.first].ServerFolder) + "/" + file.second;
        for (size_t i = 1; i < sharing.size(); ++i) {
            const bool chosen = std::find(zones.begin(), zones.end(), sharing[0]) != zones.end() ||
                                std::find(zones.begin(), zones.end(), sharing[i]) != zones.end();
            if (!chosen)
                continue;
            plan.Refusals.push_back(Msg("Зоны ") + ZoneLabel(*sharing[0]) + Msg(" и ") +
                                    ZoneLabel(*sharing[i]) + Msg(" попали бы в один файл ") +
                                    label + Msg(": ни одна из них не записана."));
            refused.insert(sharing[0]);
            refused.insert(sharing[i]);
        }
    }

    for (TCandidate& candidate : candidates) {
        TServerFile file;
        file.Kind = candidate.Kind;
        file.Zone = candidate.Zone->ZoneNumber;
        file.Name = candidate.Name;
        file.Path = (fs::path(folders.FolderOf(file.Kind)) / file.Name).string();
        file.Bytes =
            ServerBytes(world, *candidate.Zone, candidate.Kind, options.Settings, &file.Substituted);
        std::string before;
        const bool exists = Exists(file.Path);
        const bool read = exists && ReadFileBytes(file.Path, before);
        if (refused.count(candidate.Zone)) {
            file.Change = TServerFileChange::NotWritten;
            file.Refused = true;
            file.Reason = Msg("в этот файл попала бы и другая зона");
        } else if (exists && state[file.Kind].Exists && !listed(file.Kind, file.Name)) {
            // The server never reads it, yet it may hold someone's work.
            file.Change = TServerFileChange::NotWritten;
            file.Reason = Msg("есть в папке сервера, но не указан в её index");
        } else if (!exists) {
            file.Change = TServerFileChange::New;
        } else if (read && before == file.Bytes) {
            file.Change = TServerFileChange::Unchanged;
        } else {
            file.Change = TServerFileChange::Changed;
            CompareRecords(file, before, options.Settings.CodePage);
        }
        if (file.Writes() && state[file.Kind].Exists && !listed(file.Kind, file.Name)) {
            TIndexEdit& index = plan.Indexes[file.Kind];
            index.After = IndexWithEntry(index.After, file.Name, options.Settings.LineEnd);
            index.Added.push_back(file.Name);
        }
        plan.Files.push_back(std::move(file));
    }
    // A folder's new index is made only along with a file written there.
    for (size_t kind = 0; kind < kServerKindCount; ++kind) {
        TIndexEdit& index = plan.Indexes[kind];
        index.Create = index.Create &&
                       (index.WithLayout ||
                        std::any_of(plan.Files.begin(), plan.Files.end(), [kind](const auto& f) {
                            return f.Kind == kind && f.Writes();
                        }));
    }
    return plan;
}

TPublishResult WritePublishPlan(const TPublishPlan& plan) {
    TPublishResult result;
    const auto report = [](const std::string& message) {
        if (TErrorReporter* reporter = ErrorReporter())
            reporter->ReportError(message);
    };
    for (const std::string& refusal : plan.Refusals)
        report(refusal);
    std::array<std::string, kServerKindCount> indexes;
    for (size_t kind = 0; kind < kServerKindCount; ++kind)
        indexes[kind] = plan.Indexes[kind].Before;
    for (const TServerFile& file : plan.Files) {
        switch (file.Change) {
        case TServerFileChange::Unchanged:
            ++result.Unchanged;
            continue;
        case TServerFileChange::NotWritten:
            ++result.NotWritten;
            if (!file.Refused)
                report(Msg("Не записан файл ") + file.Path + ": " + file.Reason);
            continue;
        default:
            break;
        }
        std::error_code error;
        fs::create_directories(fs::path(file.Path).parent_path(), error);
        if (!WriteServerBytes(file.Path, file.Bytes)) {
            ++result.NotWritten;
            continue;
        }
        ++result.Written;
        result.New += file.Change == TServerFileChange::New;
        result.Substituted += file.Substituted;
        const auto& added = plan.Indexes[file.Kind].Added;
        if (std::find(added.begin(), added.end(), file.Name) != added.end())
            indexes[file.Kind] = IndexWithEntry(indexes[file.Kind], file.Name, plan.LineEnd);
    }
    for (size_t kind = 0; kind < kServerKindCount; ++kind) {
        const TIndexEdit& index = plan.Indexes[kind];
        // An existing index whose additions all failed to be written stays as it is.
        if (!index.Changes() || (index.Exists && indexes[kind] == index.Before))
            continue;
        std::error_code error;
        fs::create_directories(fs::path(index.Path).parent_path(), error);
        if (!WriteServerBytes(index.Path, indexes[kind]))
            ++result.NotWritten;
    }
    return result;
}

std::string ServerFileLabel(const TServerFile& file) {
    return (fs::path(file.Path).parent_path().filename() / file.Name).string();
}

std::string ChangeName(TServerFileChange change) {
    switch (change) {
    case TServerFileChange::New:
        return Msg("Новый");
    case TServerFileChange::Changed:
        return Msg("Изменён");
    case TServerFileChange::Unchanged:
        return Msg("Без изменений");
    case TServerFileChange::NotWritten:
        break;
    }
    return Msg("Не записан");
}

namespace {

std::string Joined(const std::vector<std::string>& items) {
    std::string text;
    for (const std::string& item : items)
        text += (text.empty() ? "" : ", ") + item;
    return text;
}

} // namespace

std::vector<std::string> PublishPlanLines(const TPublishPlan& plan) {
    std::vector<std::string> lines;
    for (const TServerFile& file : plan.Files) {
        std::string line = ChangeName(file.Change) + ": " + ServerFileLabel(file);
        if (!file.Reason.empty())
            line += " (" + file.Reason + ")";
        lines.push_back(line);
        const std::pair<const char*, const std::vector<std::string>*> parts[] = {
            {"  добавлены: ", &file.Added},
            {"  удалены: ", &file.Removed},
            {"  изменены: ", &file.Altered}};
        for (const auto& [caption, records] : parts)
            if (!records->empty())
                lines.push_back(Msg(caption) + Joined(*records));
    }
    for (size_t kind = 0; kind < kServerKindCount; ++kind) {
        const TIndexEdit& index = plan.Indexes[kind];
        if (!index.Added.empty())
            lines.push_back(std::string(kServerKinds[kind].ServerFolder) +
                            (index.Exists ? Msg("/index: добавлены ") : Msg("/index (новый): ")) +
                            Joined(index.Added));
    }
    lines.insert(lines.end(), plan.Refusals.begin(), plan.Refusals.end());
    lines.push_back(Msg(Format("Файлов: новых %d, изменённых %d, без изменений %d, не "
                               "записываются %d",
                               plan.Count(TServerFileChange::New),
                               plan.Count(TServerFileChange::Changed),
                               plan.Count(TServerFileChange::Unchanged),
                               plan.Count(TServerFileChange::NotWritten))));
    return lines;
}
