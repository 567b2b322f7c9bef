#pragma once

// Import from a game server's world folder: the server keeps one file per
// zone and kind in `zon wld obj mob shp trg` (the files each folder's
// `index` lists), in KOI8-R or Windows-1251 with any line ends. The import
// copies them into the workspace layout (ZON/N.zon ... TRG/N.trg) as
// Windows-1251, byte for byte otherwise (every line keeps its end), keeps
// beside a file what its copy cannot show (serverkept.h),
// and gives every room file a layout file with its rooms laid out on the map
// from their exits.

#include "exitlayout.h"
#include "export.h"
#include "recordkinds.h"
#include "serverkept.h"

#include <array>
#include <cstdint>
#include <functional>
#include <string>
#include <utility>
#include <vector>

// One kind of world file: the server's folder, the workspace's and the extension.
struct TServerKind {
    const char* ServerFolder;
    const char* WorkspaceFolder;
    const char* Extension;
};
// The six kinds, in TRecordType order.
inline constexpr std::array<TServerKind, kWorldKinds.size()> kServerKinds = [] {
    std::array<TServerKind, kWorldKinds.size()> kinds{};
    for (size_t i = 0; i < kinds.size(); ++i)
        kinds[i] = {kWorldKinds[i].ServerFolder, kWorldKinds[i].Folder, kWorldKinds[i].Extension};
    return kinds;
}();

// A file or folder name with its ASCII letters in lower case: a server's
// names are matched whatever their case.
std::string AsciiLower(std::string name);

// The server files of one zone, by kind (kServerKinds order); empty where the
// zone has no file of that kind.
struct TServerZone {
    int32_t Number = 0;
    std::array<std::string, kServerKinds.size()> Files;
};

// What a server world folder holds.
struct TServerWorld {
    std::vector<TServerZone> Zones; // by number
    // Index entries that name no zone file or a missing one, and files of
    // the same zone and kind given twice (Windows-1251, as the report shows them).
    std::vector<std::string> Problems;
};

// Reads the six folders of `serverDir`: the files each `index` lists (one a
// line, up to the line "$"), or every numbered file N.ext where a folder
// has no index.
TServerWorld ListServerWorld(const std::string& serverDir);

// The workspace files zone `number` takes: its six world files, the layout
// file and the six side files of what the import kept (serverkept.h).
std::vector<std::string> WorkspaceZoneFiles(const std::string& workspace, int32_t number);

// The zones of `world` (only those of `selection` unless it is empty) that
// already have a file in `workspace`.
std::vector<int32_t> ExistingZones(const TServerWorld& world, const std::string& workspace,
                                   const std::vector<int32_t>& selection);

struct TImportOptions {
    TServerCodePage CodePage = TServerCodePage::Koi8r;
    std::vector<int32_t> Zones; // empty: every zone of the server folder
    bool Overwrite = false;     // existing workspace zones are skipped unless set
    // The zones are converted side by side on this many threads (0: as many
    // as the machine has cores), and taken in order: the report is the same.
    unsigned Threads = 0;
};

struct TImportReport {
    std::vector<int32_t> Imported;
    std::vector<int32_t> Skipped;  // already in the workspace, not overwritten
    std::vector<int32_t> NotFound; // selected but not in the server folder
    int Files = 0;       // world and layout files written into the workspace (side files not)
    int Substituted = 0; // characters without a Windows-1251 code, now '?'
    std::vector<std::pair<std::string, int>> SubstitutedFiles; // workspace file, count
    std::vector<std::string> Failures;                         // Windows-1251 messages
    TExitLayoutResult Layout; // the imported zones' rooms laid out from their exits
    bool Cancelled = false;
    bool Succeeded() const { return Failures.empty() && NotFound.empty() && !Cancelled; }
};

// Called before the first zone (done 0) and after each zone; returning false
// cancels the import, which then leaves the workspace as it was.
using TImportProgress = std::function<bool(int done, int total)>;

// Converts one server file into Windows-1251, every line end as it is;
// characters without a code become '?', counted in `substituted`, and each
// line that held one goes into `kept` (when given) with its original, as
// does a file of CR LF lines. The text is converted where it lies (each
// character takes one byte in both code pages): a file is held once.
std::string WorkspaceFileText(std::string serverBytes, TServerCodePage codePage,
                              int* substituted = nullptr, TServerKept* kept = nullptr);

// Imports the zones of `world` into `workspace`. Everything is written into
// a staging folder beside the workspace first and moved in only once every
// zone has been converted, so a cancelled import, or one that cannot write,
// leaves the workspace untouched.
TImportReport ImportServerWorld(const TServerWorld& world, const std::string& workspace,
                                const TImportOptions& options,
                                const TImportProgress& progress = {});

// The report as lines of text (Windows-1251): zones, files, substitutions,
// the rooms laid out on the map, skipped and missing zones. The failures are listed apart, each as
// it is.
std::vector<std::string> ImportReportLines(const TImportReport& report);

// "10, 11, 12"
std::string ZoneNumberList(const std::vector<int32_t>& zones);
