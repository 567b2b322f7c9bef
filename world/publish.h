#pragma once

// Publishing zones into a game server's world folder: which file of the
// server each zone's kind goes to, what writing it would change there, and
// the `index` files through which the server finds its files. The server
// keeps one folder per kind (`zon wld obj mob shp trg`, lower case on a
// real server), and in each an `index` listing the files it loads in
// ascending order, ended by a line "$"; a file it does not list it never
// reads, yet such a file may hold a builder's real work.

#include "export.h"
#include "serverimport.h"
#include "zone.h"

#include <array>
#include <cstdint>
#include <string>
#include <vector>

inline constexpr size_t kServerKindCount = kServerKinds.size();

// The kind folders found in a server world folder, whatever their letter
// case ("obj" or "OBJ"); empty where the kind has none.
struct TServerFolders {
    std::string Target;
    std::array<std::string, kServerKindCount> Folders;

    // The folder of a kind: the one found, else the server's lower-case
    // one the publishing creates.
    std::string FolderOf(size_t kind) const;

    // The kinds without a folder, by their server folder names ("zon", ...).
    std::vector<std::string> Missing() const;
};
TServerFolders FindServerFolders(const std::string& target);

// The kinds whose folder exists but holds no index.
std::vector<size_t> FoldersWithoutIndex(const TServerFolders& folders);

// What writing one file of a zone does on the server.
enum class TServerFileChange { New, Changed, Unchanged, NotWritten };

struct TServerFile {
    size_t Kind = 0; // kServerKinds order
    int32_t Zone = 0;
    std::string Name; // "16.zon": the file's name in its folder
    std::string Path;
    std::string Bytes; // what the server gets
    TServerFileChange Change = TServerFileChange::New;
    std::string Reason; // Windows-1251: why a file is not written
    bool Refused = false; // its zone shares a file with another (named in the refusals)
    // The records the file gains, loses and has in another form, each as
    // "1201 Комната у ворот" (Windows-1251).
    std::vector<std::string> Added, Removed, Altered;
    int Substituted = 0; // characters the server's code page cannot hold

    bool Writes() const {
        return Change == TServerFileChange::New || Change == TServerFileChange::Changed;
    }
};

// An index file and the names the publishing adds to it.
struct TIndexEdit {
    std::string Path;
    bool Exists = false;
    bool Create = false; // none yet: made by the publishing
    // The server folder has none of the kind folders: all six are made,
    // each with its index, whatever the zones write.
    bool WithLayout = false;
    std::string Before, After;
    std::vector<std::string> Added;
    bool Changes() const { return !Added.empty() || WithLayout || (Create && !Exists); }
};

struct TPublishPlan {
    TServerFolders Folders;
    std::vector<TServerFile> Files;
    std::array<TIndexEdit, kServerKindCount> Indexes;
    // Zones refused because another zone would land in the same file
    // (Windows-1251, both zones named).
    std::vector<std::string> Refusals;
    TServerLineEnd LineEnd = TServerLineEnd::Lf; // of an index that has none of its own

    int Count(TServerFileChange change) const;
    // Files to write and indexes to write, in the order they are written.
    std::vector<std::string> PathsToWrite() const;
};

struct TPublishOptions {
    TExportSettings Settings;
    // Existing folders without an index get one listing their numbered
    // files. A folder the publishing creates always gets its index.
    bool CreateMissingIndexes = false;
};

// Plans the writing of `zones` into the server folders: each zone's kind
// into the file it was read from (a zone made in the editor takes its
// number), only kinds that have records or that the server already lists,
// never over a file the index does not list, and each new file added to its
// folder's index at its place in number order. `others` are the rest of the
// workspace's zones: one of `zones` that would land in a file of theirs is
// refused too. Nothing is written.
TPublishPlan PlanPublish(const TWorld& world, const std::vector<const TZone*>& zones,
                         const std::vector<const TZone*>& others, const TServerFolders& folders,
                         const TPublishOptions& options);

struct TPublishResult {
    int Written = 0, New = 0, Unchanged = 0, NotWritten = 0;
    int Substituted = 0;
};

// Writes the new and changed files of the plan (creating the missing kind
// folders), then the indexes, each through the safe save; an index gains
// only the files that were written. The files the plan does not write and each refusal
// are reported through the error reporter, as is every failed write.
TPublishResult WritePublishPlan(const TPublishPlan& plan);

// The plan as lines of text (Windows-1251): one per file with what changes
// in it, the index additions, the refusals and the counts.
std::vector<std::string> PublishPlanLines(const TPublishPlan& plan);

// "zon/16.zon": a file by its kind folder and its name.
std::string ServerFileLabel(const TServerFile& file);
// "Новый", "Изменён", "Без изменений", "Не записан" (Windows-1251).
std::string ChangeName(TServerFileChange change);
// The index `text` with `name` inserted before the first entry of a higher
// number (or before "$", or at the end), with the line end the text uses.
std::string IndexWithEntry(const std::string& text, const std::string& name,
                           TServerLineEnd lineEnd);
