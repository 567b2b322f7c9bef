// worldtool: the world library from the command line. It scans a workspace
// as the editor does at start-up, saves every zone again, exports every zone
// for the server, imports a server's world folder, lays out the rooms of its
// zones on the map from their exits, or generates a synthetic workspace.

#include "checks.h"
#include "codepage.h"
#include "exitlayout.h"
#include "generate.h"
#include "maplayout.h"
#include "publish.h"
#include "scriptcheck.h"
#include "serverimport.h"
#include "vocabulary.h"
#include "workspace.h"
#include "worldfile.h"
#include "world.h"

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <memory>
#include <optional>
#include <string>
#include <unordered_set>
#include <vector>

namespace {

constexpr int kExitLoaded = 0;
constexpr int kExitFailures = 1;
constexpr int kExitUsage = 2;

const char* const kUsage =
    "usage:\n"
    "  worldtool scan DIR\n"
    "      read the workspace DIR and report every failure\n"
    "  worldtool resave DIR OUT [--normalize] [--force]\n"
    "      read DIR and save every loaded zone's seven files into OUT: records\n"
    "      not changed as they were read, or all in the editor's form (--normalize)\n"
    "  worldtool export DIR OUT [--koi8|--cp1251] [--lf|--crlf] [--force] [--dry-run]\n"
    "      read DIR and write every loaded zone into the server's world folder OUT\n"
    "      (default KOI8-R and LF): each kind into its folder there (zon wld obj mob\n"
    "      shp trg, whatever their case; missing ones are made in lower case), each\n"
    "      zone into the file it was read from, new files added to the index; a file\n"
    "      the index does not list is not written over; --dry-run lists the changes\n"
    "      and writes nothing\n"
    "      resave and export leave a write-protected file in OUT as it is and fail;\n"
    "      --force writes over it (it stays write-protected)\n"
    "  worldtool import SERVERDIR DIR [--zones N,M,...] [--koi8|--cp1251] [--force]\n"
    "      copy the server's world folder (zon wld obj mob shp trg) into the workspace DIR\n"
    "      as Windows-1251, line ends kept (default KOI8-R input); zones already in DIR are\n"
    "      left alone unless --force\n"
    "  worldtool layout DIR [--zone N] [--all]\n"
    "      place the unplaced rooms of every zone (or of zone N) on the map from their\n"
    "      exits and write the layout files; --all lays out every room again\n"
    "  worldtool check DIR [--zone N] [--bases FOLDER]\n"
    "      read DIR and list the problems of every zone (or of zone N), one a line:\n"
    "      severity, record, message and kind, tab-separated; status 1 when there\n"
    "      are errors (warnings alone leave it 0) or a file failed to load; spell\n"
    "      numbers are checked against FOLDER/Spells and trigger scripts against\n"
    "      FOLDER/ScriptCommands (default: the editor's Bases folder beside DIR); a\n"
    "      problem inside a script names its line\n"
    "  worldtool generate DIR --zones N [--seed S]\n"
    "      write a synthetic workspace of N zones into DIR (the same for the same seed)\n"
    "exit status: 0 everything loaded, 1 a failure was reported (check: or an error\n"
    "found), 2 usage error\n";

int Usage(const char* problem = nullptr) {
    if (problem)
        std::fprintf(stderr, "worldtool: %s\n", problem);
    std::fputs(kUsage, stderr);
    return kExitUsage;
}

double SecondsSince(std::chrono::steady_clock::time_point start) {
    return std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
}

// A whole decimal number within low..high.
bool ParseNumber(const std::string& text, long long low, long long high, long long& value) {
    if (!IsDecimal(text) || text.size() > 18)
        return false;
    value = std::stoll(text);
    return value >= low && value <= high;
}

bool IsFolder(const std::string& path) {
    std::error_code error;
    return std::filesystem::is_directory(path, error);
}

void PrintSummary(const TScanResult& scan) {
    std::printf("objects: %d\n", scan.Objects);
    std::printf("mobs: %d\n", scan.Mobs);
    std::printf("shops: %d\n", scan.Shops);
    std::printf("rooms: %d\n", scan.Rooms);
    std::printf("triggers: %d\n", scan.Triggers);
    std::printf("zones: %zu loaded, %zu not loaded\n", scan.Zones.size(), scan.NotLoaded.size());
    for (const auto& file : scan.NotLoaded)
        std::printf("  not loaded: %s\n", file.c_str());
    std::printf("scan time: %.3f s\n", scan.Seconds);
}

// The world a command reads into. It is never destroyed: freeing a whole
// world record by record takes a while, and the process ends right after its
// command (see main).
TWorld& CommandWorld() {
    static auto* world = new TWorld;
    return *world;
}

int Scan(const std::vector<std::string>& args) {
    if (args.size() != 1)
        return Usage("scan takes one folder");
    if (!IsFolder(args[0]))
        return Usage(("not a folder: " + args[0]).c_str());
    TStderrReporter reporter;
    TWorld& world = CommandWorld();
    PrintSummary(ScanWorkspace(world, args[0], reporter));
    return reporter.Count() > 0 ? kExitFailures : kExitLoaded;
}

// Removes `option` from `args`; whether it was there.
bool TakeOption(std::vector<std::string>& args, const char* option) {
    const auto at = std::find(args.begin(), args.end(), option);
    if (at == args.end())
        return false;
    args.erase(at);
    return true;
}

// "saved: 151 zones" when every file was written; otherwise how many zones
// were written whole and how many files were not.
void PrintWritten(const char* what, size_t whole, size_t zones, int notWritten) {
    if (notWritten == 0)
        std::printf("%s: %zu zones\n", what, zones);
    else
        std::printf("%s: %zu of %zu zones, %d files not written\n", what, whole, zones, notWritten);
}

// After the failure lines: a write-protected file was refused on purpose.
void HintAtForce(const TStderrReporter& reporter) {
    if (reporter.Protected() > 0)
        std::fprintf(stderr,
                     "worldtool: %d write-protected files were left as they are (--force "
                     "writes over them)\n",
                     reporter.Protected());
}

int Resave(std::vector<std::string> args) {
    const bool normalizing = TakeOption(args, "--normalize");
    ReplaceWriteProtected = TakeOption(args, "--force");
    if (args.size() != 2)
        return Usage("resave takes a folder to read and one to write");
    if (!IsFolder(args[0]))
        return Usage(("not a folder: " + args[0]).c_str());
    TStderrReporter reporter;
    TWorld& world = CommandWorld();
    const TScanResult scan = ScanWorkspace(world, args[0], reporter);
    if (normalizing)
        for (TZone* zone : scan.Zones)
            NormalizeZone(world, *zone);
    PrintSummary(scan);
    if (!MakeWorkspaceFolders(args[1]))
        return kExitFailures;
    KeepSavesWithin(args[1]);
    RemoveStaleLeftovers(args[1]);
    const auto start = std::chrono::steady_clock::now();
    BeginBatchWrite();
    size_t whole = 0;
    for (const TZone* zone : scan.Zones)
        whole += SaveZoneTo(world, *zone, args[1]);
    const bool flushed = EndBatchWrite(args[1]);
    PrintWritten("saved", whole, scan.Zones.size(), reporter.NotWritten());
    HintAtForce(reporter);
    std::printf("save time: %.3f s\n", SecondsSince(start));
    return reporter.Count() > 0 || !flushed ? kExitFailures : kExitLoaded;
}

int Export(const std::vector<std::string>& args) {
    std::vector<std::string> folders;
    TPublishOptions options;
    TExportSettings& settings = options.Settings;
    bool dryRun = false;
    for (const auto& arg : args) {
        if (arg == "--koi8")
            settings.CodePage = TServerCodePage::Koi8r;
        else if (arg == "--cp1251")
            settings.CodePage = TServerCodePage::Cp1251;
        else if (arg == "--lf")
            settings.LineEnd = TServerLineEnd::Lf;
        else if (arg == "--crlf")
            settings.LineEnd = TServerLineEnd::CrLf;
        else if (arg == "--force")
            ReplaceWriteProtected = true;
        else if (arg == "--dry-run")
            dryRun = true;
        else if (arg.starts_with("--"))
            return Usage(("unknown option " + arg).c_str());
        else
            folders.push_back(arg);
    }
    if (folders.size() != 2)
        return Usage("export takes a folder to read and one to write");
    if (!IsFolder(folders[0]))
        return Usage(("not a folder: " + folders[0]).c_str());
    const std::string& out = folders[1];
    if (ExportWouldWriteIntoWorkspace(out, folders[0])) {
        std::fprintf(stderr,
                     "worldtool: the export folder %s is the workspace %s or lies inside it; "
                     "nothing was written\n",
                     out.c_str(), folders[0].c_str());
        return kExitFailures;
    }
    TStderrReporter reporter;
    TWorld& world = CommandWorld();
    const TScanResult scan = ScanWorkspace(world, folders[0], reporter);
    PrintSummary(scan);
    const std::vector<const TZone*> zones(scan.Zones.begin(), scan.Zones.end());
    const TPublishPlan plan = PlanPublish(world, zones, {}, FindServerFolders(out), options);
    for (const std::string& line : PublishPlanLines(plan))
        std::printf("%s\n", Cp1251ToUtf8(line).c_str());
    if (dryRun)
        return reporter.Count() > 0 || plan.Count(TServerFileChange::NotWritten) > 0
                   ? kExitFailures
                   : kExitLoaded;
    std::error_code error;
    std::filesystem::create_directories(out, error);
    RemoveStaleLeftovers(out);
    const auto start = std::chrono::steady_clock::now();
    BeginBatchWrite();
    const TPublishResult result = WritePublishPlan(plan);
    const bool flushed = EndBatchWrite(out);
    std::printf("exported into %s: %d files written (%d new), %d unchanged, %d not written\n",
                out.c_str(), result.Written, result.New, result.Unchanged, result.NotWritten);
    HintAtForce(reporter);
    // Not a failure: the files are written, but the builder should know.
    if (result.Substituted > 0)
        std::fprintf(stderr, "worldtool: %d characters have no KOI8-R code and became '?'\n",
                     result.Substituted);
    std::printf("export time: %.3f s\n", SecondsSince(start));
    return reporter.Count() > 0 || result.NotWritten > 0 || !flushed ? kExitFailures
                                                                      : kExitLoaded;
}

// "10,11,12" into zone numbers; false for anything else.
bool ParseZoneList(const std::string& text, std::vector<int32_t>& zones) {
    size_t start = 0;
    for (;;) {
        const size_t comma = text.find(',', start);
        long long value = 0;
        if (!ParseNumber(text.substr(start, comma - start), 0, 999999999, value))
            return false;
        zones.push_back(static_cast<int32_t>(value));
        if (comma == std::string::npos)
            return true;
        start = comma + 1;
    }
}

int Import(const std::vector<std::string>& args) {
    std::vector<std::string> folders;
    TImportOptions options;
    for (size_t i = 0; i < args.size(); ++i) {
        if (args[i] == "--koi8") {
            options.CodePage = TServerCodePage::Koi8r;
        } else if (args[i] == "--cp1251") {
            options.CodePage = TServerCodePage::Cp1251;
        } else if (args[i] == "--force") {
            options.Overwrite = true;
        } else if (args[i] == "--zones") {
            if (i + 1 == args.size() || !ParseZoneList(args[++i], options.Zones))
                return Usage("--zones takes zone numbers separated by commas");
        } else if (args[i].starts_with("--")) {
            return Usage(("unknown option " + args[i]).c_str());
        } else {
            folders.push_back(args[i]);
        }
    }
    if (folders.size() != 2)
        return Usage("import takes the server's world folder and a workspace folder");
    if (!IsFolder(folders[0]))
        return Usage(("not a folder: " + folders[0]).c_str());
    RemoveStaleLeftovers(folders[1]);
    const auto start = std::chrono::steady_clock::now();
    BeginBatchWrite();
    const TServerWorld world = ListServerWorld(folders[0]);
    const TImportReport report = ImportServerWorld(world, folders[1], options);
    const bool flushed = report.Imported.empty() || EndBatchWrite(folders[1]);
    for (const std::string& line : ImportReportLines(report))
        std::printf("%s\n", Cp1251ToUtf8(line).c_str());
    std::printf("import time: %.3f s\n", SecondsSince(start));
    if (!report.Skipped.empty())
        std::fprintf(stderr,
                     "worldtool: zones already in %s were not overwritten (--force "
                     "overwrites them)\n",
                     folders[1].c_str());
    for (const std::string& failure : report.Failures)
        std::fprintf(stderr, "%s\n", Cp1251ToUtf8(failure).c_str());
    return report.Succeeded() && report.Skipped.empty() && flushed ? kExitLoaded : kExitFailures;
}

void PrintLayout(const char* what, const TExitLayoutResult& result) {
    std::printf("%s: %d rooms, %d placed, %d kept, %d not placed; two-way exits joining "
                "neighbour cells: %d of %d",
                what, result.Rooms, result.Placed, result.Kept, result.Unplaced, result.Joined,
                result.TwoWayExits);
    if (result.TwoWayExits > 0)
        std::printf(" (%.1f%%)", 100.0 * result.Joined / result.TwoWayExits);
    std::printf("\n");
}

// The arguments of the commands that work on one workspace: DIR, --zone N
// and, where the command has it, --all.
struct TZoneArgs {
    std::vector<std::string> Folders;
    std::optional<int32_t> Only;
    bool All = false;
};

// Reads `args` into `out`; a usage error gives its exit status.
std::optional<int> ParseZoneArgs(const std::vector<std::string>& args, const char* command,
                                 bool takesAll, TZoneArgs& out) {
    for (size_t i = 0; i < args.size(); ++i) {
        long long value = 0;
        if (takesAll && args[i] == "--all") {
            out.All = true;
        } else if (args[i] == "--zone") {
            // Zone numbers whose records still have 32-bit numbers.
            if (i + 1 == args.size() || !ParseNumber(args[++i], 0, 21474836, value))
                return Usage("--zone takes a zone number");
            out.Only = static_cast<int32_t>(value);
        } else if (args[i].starts_with("--")) {
            return Usage(("unknown option " + args[i]).c_str());
        } else {
            out.Folders.push_back(args[i]);
        }
    }
    if (out.Folders.size() != 1)
        return Usage((std::string(command) + " takes one folder").c_str());
    if (!IsFolder(out.Folders[0]))
        return Usage(("not a folder: " + out.Folders[0]).c_str());
    return std::nullopt;
}

int Layout(const std::vector<std::string>& args) {
    TZoneArgs parsed;
    if (const auto usage = ParseZoneArgs(args, "layout", true, parsed))
        return *usage;
    const std::vector<std::string>& folders = parsed.Folders;
    const std::optional<int32_t> only = parsed.Only;
    TExitLayoutOptions options;
    options.All = parsed.All;
    TStderrReporter reporter;
    TWorld& world = CommandWorld();
    const TScanResult scan = ScanWorkspace(world, folders[0], reporter);
    std::vector<const TZone*> zones;
    for (const TZone* zone : scan.Zones)
        if (!only || zone->ZoneNumber == *only)
            zones.push_back(zone);
    if (only && zones.empty()) {
        std::fprintf(stderr, "worldtool: no zone %d was loaded from %s\n", *only,
                     folders[0].c_str());
        return kExitFailures;
    }
    const auto start = std::chrono::steady_clock::now();
    std::vector<TExitLayoutResult> results;
    for (const TZone* zone : zones)
        results.push_back(LayOutFromExits(world.Rooms, zone->ZoneNumber, options));
    const double seconds = SecondsSince(start);
    TExitLayoutResult total;
    int unfit = 0;
    KeepSavesWithin(folders[0]);
    RemoveStaleLeftovers(folders[0]);
    BeginBatchWrite();
    for (size_t i = 0; i < zones.size(); ++i) {
        const int32_t number = zones[i]->ZoneNumber;
        SaveLayoutFile(world.Rooms, LayoutFileName(zones[i]->RoomFileName), number);
        PrintLayout(("zone " + std::to_string(number)).c_str(), results[i]);
        total += results[i];
        unfit += results[i].Unplaced > 0;
    }
    const bool flushed = EndBatchWrite(folders[0]);
    PrintLayout("all zones", total);
    std::printf("zones that did not fit: %d\n", unfit);
    std::printf("layout time: %.3f s\n", seconds);
    return reporter.Count() > 0 || unfit > 0 || !flushed ? kExitFailures : kExitLoaded;
}

// The folder of the builder's lists: FOLDER, by default the program folder's
// Bases beside the workspace, as the editor keeps them.
std::filesystem::path BasesFolder(const std::string& workspace,
                                  const std::optional<std::string>& bases) {
    namespace fs = std::filesystem;
    fs::path within = fs::absolute(workspace).lexically_normal();
    if (!within.has_filename()) // "Zones/"
        within = within.parent_path();
    return bases ? fs::path(*bases) : within.parent_path() / "Bases";
}

// The spells the builder's list names (Spells in the lists' folder). Without
// a list spell numbers go unchecked; a list that cannot be read is a failure.
std::optional<std::unordered_set<int32_t>> KnownSpells(const std::filesystem::path& folder,
                                                       bool given, bool& failed) {
    const std::string path = (folder / "Spells").string();
    std::string bytes;
    if (!ReadFileBytes(path, bytes)) {
        failed = failed || given;
        std::fprintf(stderr, "worldtool: %s: spell numbers not checked (no list %s)\n",
                     given ? "failure" : "note", path.c_str());
        return std::nullopt;
    }
    try {
        return SpellCodes(ParseVocabulary(bytes), "Spells");
    } catch (const TVocabularyError& error) {
        failed = true;
        std::fprintf(stderr, "%s\n", Cp1251ToUtf8(error.Message).c_str());
        return std::nullopt;
    }
}

// The script language of the lists' folder (ScriptCommands). Without it
// scripts are checked only for their blocks and waits.
std::shared_ptr<const TScriptLanguage> KnownScriptLanguage(const std::filesystem::path& folder,
                                                           bool given, bool& failed) {
    const std::string path = (folder / "ScriptCommands").string();
    if (!std::filesystem::exists(path)) {
        failed = failed || given;
        std::fprintf(stderr, "worldtool: %s: script commands not checked (no list %s)\n",
                     given ? "failure" : "note", path.c_str());
        return nullptr;
    }
    std::string error;
    std::optional<TScriptLanguage> language = TScriptLanguage::Load(path, &error);
    if (!language) {
        failed = true;
        std::fprintf(stderr, "worldtool: failure: %s\n", Cp1251ToUtf8(error).c_str());
        return nullptr;
    }
    return std::make_shared<const TScriptLanguage>(std::move(*language));
}

int Check(std::vector<std::string> args) {
    std::optional<std::string> bases;
    if (const auto at = std::find(args.begin(), args.end(), "--bases"); at != args.end()) {
        if (at + 1 == args.end())
            return Usage("--bases takes a folder");
        bases = *(at + 1);
        args.erase(at, at + 2);
    }
    TZoneArgs parsed;
    if (const auto usage = ParseZoneArgs(args, "check", false, parsed))
        return *usage;
    const std::vector<std::string>& folders = parsed.Folders;
    const std::optional<int32_t> only = parsed.Only;
    TStderrReporter reporter;
    TWorld& world = CommandWorld();
    const TScanResult scan = ScanWorkspace(world, folders[0], reporter);
    const TWorldView view{world.Rooms, world.Objs, world.Mobs, world.Shops, world.Triggers,
                          {scan.Zones.begin(), scan.Zones.end()}};
    if (only && !FindZone(view, *only))
        return Usage(("no zone " + std::to_string(*only) + " in " + folders[0]).c_str());
    bool listFailed = false;
    TNamedCodes named;
    const std::filesystem::path lists = BasesFolder(folders[0], bases);
    named.Spells = KnownSpells(lists, bases.has_value(), listFailed);
    named.Script = KnownScriptLanguage(lists, bases.has_value(), listFailed);
    const auto start = std::chrono::steady_clock::now();
    const std::vector<TProblem> problems = CheckWorld(view, only, named);
    const double seconds = SecondsSince(start);
    int errors = 0;
    for (const TProblem& problem : problems) {
        errors += problem.Severity == TSeverity::Error;
        std::printf(
            "%s\t%s\t%s\t%s\n", Cp1251ToUtf8(SeverityName(problem.Severity)).c_str(),
            Cp1251ToUtf8(RecordTypeName(problem.Record) + " " + ProblemRecordName(view, problem))
                .c_str(),
            Cp1251ToUtf8(problem.Message).c_str(), ProblemKindTag(problem.Kind));
    }
    std::fprintf(stderr, "problems: %d errors, %zu warnings\n", errors,
                 problems.size() - static_cast<size_t>(errors));
    std::fprintf(stderr, "check time: %.3f s\n", seconds);
    return errors > 0 || reporter.Count() > 0 || listFailed ? kExitFailures : kExitLoaded;
}

int Generate(const std::vector<std::string>& args) {
    std::vector<std::string> folders;
    TGenerateOptions options;
    bool haveZones = false;
    for (size_t i = 0; i < args.size(); ++i) {
        long long value = 0;
        if (args[i] == "--zones" || args[i] == "--seed") {
            const bool zones = args[i] == "--zones";
            if (i + 1 == args.size())
                return Usage((args[i] + " needs a number").c_str());
            const std::string& text = args[++i];
            if (zones) {
                // Zone numbers from 1 up must keep their record numbers within 32 bits.
                if (!ParseNumber(text, 1, 1000000, value))
                    return Usage("--zones takes a number from 1 to 1000000");
                options.Zones = static_cast<int>(value);
                haveZones = true;
            } else {
                if (!ParseNumber(text, 0, 999999999999999999LL, value))
                    return Usage("--seed takes a non-negative number");
                options.Seed = static_cast<uint64_t>(value);
            }
        } else if (args[i].starts_with("--")) {
            return Usage(("unknown option " + args[i]).c_str());
        } else {
            folders.push_back(args[i]);
        }
    }
    if (folders.size() != 1 || !haveZones)
        return Usage("generate takes one folder and --zones N");
    if (!MakeWorkspaceFolders(folders[0]))
        return kExitFailures;
    RemoveStaleLeftovers(folders[0]);
    TStderrReporter reporter;
    const auto start = std::chrono::steady_clock::now();
    BeginBatchWrite();
    const TGenerateResult result = GenerateWorkspace(folders[0], options);
    const bool flushed = EndBatchWrite(folders[0]);
    std::printf("generated: %d zones, %d files, %ju bytes\n", options.Zones, result.Files,
                result.Bytes);
    std::printf("time: %.3f s\n", SecondsSince(start));
    return reporter.Count() > 0 || !flushed ? kExitFailures : kExitLoaded;
}

int Run(int argc, char** argv) {
    if (argc < 2)
        return Usage();
    const std::string command = argv[1];
    const std::vector<std::string> args(argv + 2, argv + argc);
    if (command == "scan")
        return Scan(args);
    if (command == "resave")
        return Resave(args);
    if (command == "export")
        return Export(args);
    if (command == "import")
        return Import(args);
    if (command == "layout")
        return Layout(args);
    if (command == "generate")
        return Generate(args);
    if (command == "check")
        return Check(args);
    if (command == "--help" || command == "-h" || command == "help") {
        std::fputs(kUsage, stdout);
        return kExitLoaded;
    }
    return Usage(("unknown command " + command).c_str());
}

} // namespace

int main(int argc, char** argv) {
    const int status = Run(argc, argv);
    // A whole world in memory takes a while to free record by record; the
    // process ends without destroying the lists.
    std::fflush(stdout);
    std::fflush(stderr);
    std::_Exit(status);
}
