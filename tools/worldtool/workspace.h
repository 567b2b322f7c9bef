#pragma once

// What worldtool does with a workspace folder: the start-up scan, the zone
// save and the export for the server, with failures printed to stderr.

#include "export.h"
#include "workspacescan.h"
#include "worldfile.h"
#include "world.h"
#include "zone.h"

#include <memory>
#include <string>
#include <vector>

// Prints every failure to stderr as the error box would show it: UTF-8, each
// "\r\n" a line break, a blank line between two messages, but a file that
// could not be written is one line. Counts them.
// Notes (rooms not placed) go to stdout; they fail nothing.
class TStderrReporter : public TErrorReporter {
public:
    TStderrReporter() { SetErrorReporter(this); }
    ~TStderrReporter() override { SetErrorReporter(nullptr); }
    TStderrReporter(const TStderrReporter&) = delete;
    TStderrReporter& operator=(const TStderrReporter&) = delete;

    void ReportError(const std::string& message) override;
    void ReportNote(const std::string& message) override;
    void ReportWriteFailure(const std::string& message, const TWriteResult& result) override;
    int Count() const { return count_; }
    int Notes() const { return notes_; }
    // The files that could not be written, and of them the write-protected
    // ones that were left alone.
    int NotWritten() const { return notWritten_; }
    int Protected() const { return protected_; }

private:
    int count_ = 0;
    int notes_ = 0;
    int notWritten_ = 0;
    int protected_ = 0;
    bool lastWasOneLine_ = false;
};

struct TScanResult {
    std::vector<TZone*> Zones; // the zone files that loaded (the world owns them)
    // The paths of those that did not, and of the folders that could not be read.
    std::vector<std::string> NotLoaded;
    int Objects = 0, Mobs = 0, Shops = 0, Rooms = 0, Triggers = 0;
    double Seconds = 0;
};

// Reads the workspace `dir` into `world` in the start-up order:
// objects, mobs, shops, rooms (with their layout files), triggers, then every
// zone file through TZone::OpenZoneFile. A zone file that fails to load is
// reported to `reporter` with the message its load would have shown, and so
// is a folder that cannot be read.
TScanResult ScanWorkspace(TWorld& world, const std::string& dir, TErrorReporter& reporter);

// Writes the zone's seven files into the workspace layout below `out` as
// "Сохранить зону" does. The file names are those of the zone, moved below
// `out`. False when a file was not written (reported).
bool SaveZoneTo(const TWorld& world, const TZone& zone, const std::string& out);

// The six workspace folders (ZON, WLD, OBJ, MOB, SHP, TRG) below `dir`;
// false (with a message on stderr) when one cannot be made.
bool MakeWorkspaceFolders(const std::string& dir);

// Removes what a killed save or import left in the workspace `dir` (see
// RemoveLeftovers) from before this run, each named on stdout.
void RemoveStaleLeftovers(const std::string& dir);

// Batch writing: files are not flushed one by one (SyncSavedFiles off) ...
void BeginBatchWrite();
// ... but the file system holding `dir` is flushed once at the end; false
// (with a message on stderr) when that fails.
bool EndBatchWrite(const std::string& dir);
