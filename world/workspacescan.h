#pragma once

// The workspace folder as the start-up reads it: the record files of every
// zone into the world's lists, then every zone file.

#include "shop.h"
#include "world.h"

#include <array>
#include <functional>
#include <memory>
#include <string>
#include <vector>

// The order the six kind folders of a workspace are looked through.
inline constexpr std::array<TRecordType, 6> kKindFolderOrder = {
    TRecordType::Obj,     TRecordType::Mob,  TRecordType::Shop,
    TRecordType::Trigger, TRecordType::Room, TRecordType::Zone};

// The entries of `folder` whose names end with `extension` (any letter case,
// as the wildcard "*.ext" matches), sorted by name. A missing folder has none.
// Whatever bears such a name is listed, a folder or a broken link too: its
// reader then says it cannot open it, where leaving it out would make its
// zone vanish without a word.
std::vector<std::string> ListFiles(const std::string& folder, const std::string& extension);

// The folders of the workspace `dir` that are there but cannot be read (not a
// folder, no permission, a loop of links): `dir` itself when it is such, else
// each of its kind folders that is. A missing folder is not among them: a
// young workspace lacks some, and a save creates them.
std::vector<std::string> UnreadableFolders(const std::string& dir);
// The message of such a folder: "Не могу прочитать папку " and its path.
std::string FolderReadFailure(const std::string& folder);

// `dir` joined with one folder name.
std::string WorkspaceFolder(const std::string& dir, const std::string& folder);

// Reads one record file of a kind (not a zone) into its list of `world`.
bool LoadRecordFile(TWorld& world, TRecordType type, const std::string& path,
                    const TKindNameLookup& kindName = {});

// Reads objects, mobs, shops, rooms (with their layout files) and triggers,
// in that order: the zone files read afterwards place contents into the rooms
// and set the prototypes' limits. Each reader reports its own failures.
// The files are read on `threads` threads (0: WorkerThreadCount()), and the
// world and the messages come out as one thread reading them in turn gives
// them: the messages all on the calling thread. `kindName` may then be called
// from another thread, never from two at once.
// `fileRead`, when given, runs on the calling thread as each file is in.
void LoadWorkspaceRecords(TWorld& world, const std::string& dir,
                          const TKindNameLookup& kindName = {}, unsigned threads = 0,
                          const std::function<void()>& fileRead = {});

// Every zone file of the workspace through TZone::OpenZoneFile, in name
// order, added to the world's zones. A file that fails still gives its zone,
// with what was read before the failure (a zone that silently vanished would
// look deleted to the builder); where the failure came before the header, the
// zone takes the number of its file name. `onFailure` runs right after a file
// fails, with the line it failed at (as ZoneLoadFailure takes it). The files
// are read one after the other (each places contents into rooms and limits
// into prototypes the next may share); once all are read, each zone takes its
// form as unchanged on one of `threads` threads (0: WorkerThreadCount()).
using TZoneFailure =
    std::function<void(const std::string& file, const TZone& zone, int failedLine)>;
void LoadWorkspaceZones(TWorld& world, const std::string& dir, const TZoneFailure& onFailure = {},
                        unsigned threads = 0, const std::function<void()>& fileRead = {});

// How far a workspace read has come: the files read and the files there are,
// told on the reading thread after each file.
using TReadProgress = std::function<void(size_t done, size_t total)>;

// The records, then the zones: the whole workspace read into `world`.
void LoadWorkspace(TWorld& world, const std::string& dir, const TKindNameLookup& kindName = {},
                   const TZoneFailure& onFailure = {}, const TReadProgress& progress = {});

// The message of a zone file that failed at `lineNumber`, as the zone
// page's Open would show it.
std::string ZoneLoadFailure(const std::string& file, int lineNumber);
