#pragma once

// The "Файлы" menu and the export for the server: world files of the kind of
// the active page opened, restored and saved, whole zones loaded and saved,
// and the zone's files written where the server reads them.

#include "filestamps.h"

#include <QObject>
#include <functional>
#include <string>
#include <vector>

class TEditorContext;
class TSaveRun;
class TZone;
struct TPublishPlan;

class TFileCommands : public QObject {
    Q_OBJECT

public:
    // Wires the tools window's save-zone button and the zone page's
    // "Сохранить для MUDа"; the main window wires the menu entries.
    explicit TFileCommands(TEditorContext& main);

    void Open();
    void Restore();
    void Save();
    void LoadZone();
    void SaveZone();
    // Writes every record of the zone in the editor's own form, after a question.
    void NormalizeZoneFiles();
    void ExportForServer();
    // The zones' files written without the save question (exit's "Сохранить
    // все"); false, after saying so, when not all were.
    bool SaveWholeZones(const std::vector<TZone*>& zones);
    // Notes every zone's files as they are now, after the workspace was read.
    void StampWorkspace();

private:
    // Whether `paths` may be written: yes unless one was changed outside the
    // editor since it last read or wrote it and the builder does not choose to
    // write over it. When they are the files of `zone`, the builder may also
    // read the zone again instead (then nothing is written).
    bool MayWriteOver(const std::vector<std::string>& paths, TZone* zone = nullptr);
    // The zone's files read into it as one step: what the editor held comes
    // back with "Отменить".
    void ReadZoneAgain(TZone& zone);
    // Whether a zone file may be read into `zone`: one that describes another
    // zone is refused with a message naming both numbers.
    static bool OpensAsCurrentZone(const TZone& zone, const std::string& path);
    // The record commands follow the page's ID list after a read.
    void EnableForPage(int page);
    // After a read: the list windows and pickers take the new records, and
    // the zone and the page's record are shown again from what was read, so
    // the page never shows (and later stores) values the file replaced.
    void ShowWhatWasRead();
    // The store step of the active page before its records are written.
    void StoreActivePage();
    // The zone file as a save writes it, in the zone page's text box when the
    // zone is the current one.
    void ShowZoneSource(const TZone& zone);
    // The zone's six files, each written even when another failed; true when all were.
    bool WriteWholeZone(const TZone& zone);
    // Clears the change state after a whole save; a zone not written whole
    // keeps counting as changed.
    void FinishZoneSave(TZone& zone, bool written);
    // The questions before the zones' files are written, all before any
    // write: files changed outside the editor (per zone), then the
    // write-protected ones among them all, answered into `run`. False when
    // the builder cancelled or chose to read a zone again.
    bool MaySaveZones(const std::vector<TZone*>& zones, TSaveRun& run);
    // Writes the zones' files within `run` and names in one box every file
    // that was not written; true when every zone was written whole.
    bool WriteZones(TSaveRun& run, const std::vector<TZone*>& zones);
    // Asks once to create the server's kind folders the plan would write
    // into and that are missing; false ("Нет") writes nothing.
    static bool MayCreateServerFolders(const TPublishPlan& plan);
    // Asks whether folders the plan would write into but that hold no index
    // get one; true when they do.
    static bool MayCreateIndexes(const TPublishPlan& plan);

    TEditorContext& main_;
    TFileStamps stamps_;
};
