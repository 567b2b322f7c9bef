#pragma once

// The document: it owns the world and is its only writer. Each operation
// below is one step: the zones it touches are kept as they were before and
// after it, on an undo stack. It knows which zones differ from their files
// and announces each step, undo and redo; the main window, the pages, the
// list windows and the map follow those announcements.

#include "exitlayout.h"
#include "recordkinds.h"
#include "world.h"
#include "zonestate.h"

#include <QObject>
#include <QString>
#include <cstdint>
#include <functional>
#include <map>
#include <string>
#include <optional>
#include <unordered_map>
#include <vector>

class QUndoStack;

// Where a step was made: its zone, the page and the record shown then. An
// undo or redo goes back there.
struct TStepPlace {
    TZone* Zone = nullptr;
    int Page = 0;
    std::optional<int32_t> VNum;
};

// What a step, an undo or a redo changed: the zones it kept and, for each,
// the records added, removed and changed by kind, whether rooms moved on the
// map and whether the zone record changed.
struct TWorldChange {
    TStepPlace Place;
    bool Restored = false; // an undo or redo (the pages go back to Place)
    std::vector<TZone*> Zones; // the zone records kept
    std::vector<TZoneDiff> Diffs;

    // The numbers of every zone kept (zones without a zone file too).
    std::vector<int32_t> Numbers() const;
    // The differences of zone `number`; null when the step did not keep it.
    const TZoneDiff* DiffOf(int32_t number) const;
};

class TWorldDocument : public QObject {
    Q_OBJECT

public:
    explicit TWorldDocument(QObject* parent = nullptr);

    QUndoStack* UndoStack() const { return stack_; }

    // The world: every record, zone and the map grid.
    TWorld& World() { return world_; }
    const TWorld& World() const { return world_; }

    // Each operation is one undoable step named `text` (the undo entry says
    // "Отменить: " and the text), made at `place`; one that changes none of
    // the zones' files leaves no step and returns false.

    // ---- records ----
    // The record with the number of `record` becomes `record` (a page's
    // copy with the page's edits, a room given a seller). False when nothing
    // changed or no such record exists.
    template <class Record>
    bool SetRecord(const TStepPlace& place, const QString& text, Record record) {
        const int32_t zone = ZoneOf(record.VNum);
        return Change(place, text, [&] {
            if (Record* stored = ListOf(record).Find(record.VNum))
                *stored = std::move(record);
        }, {zone});
    }
    // The records (new numbers, from a template or a copy) added.
    template <class Record>
    bool AddRecords(const TStepPlace& place, const QString& text, std::vector<Record> records) {
        std::vector<int32_t> zones;
        for (const Record& record : records)
            zones.push_back(ZoneOf(record.VNum));
        return Change(place, text, [&] {
            for (Record& record : records)
                ListOf(record).AddNew(record.VNum) = std::move(record);
        }, zones);
    }
    bool DeleteRecord(const TStepPlace& place, const QString& text, TRecordType type, int32_t vnum);
    // The text of a record not read taken out of the zone's file, by its
    // place among them.
    bool DeleteUnparsed(const TStepPlace& place, const QString& text, TRecordType type,
                        int32_t zone, int index);
    // The zone record of `place` becomes `zone`.
    bool SetZoneRecord(const TStepPlace& place, const QString& text, TZone zone);

    // The operations `steps` runs (records added, rooms set...) make one
    // step named `text`: one undo takes them all back. The zones numbered in
    // `zones` are kept beside the zone of `place`.
    bool Compose(const TStepPlace& place, const QString& text, const std::vector<int32_t>& zones,
                 const std::function<void()>& steps) {
        return Change(place, text, steps, zones);
    }

    // ---- the map ----
    // The rooms (copies with new positions or exits) replace their records;
    // the map grid follows their positions: a room leaves its old cell and
    // takes its new one, a room at level 0 is off the map.
    bool SetRooms(const TStepPlace& place, const QString& text, std::vector<TRoom> rooms);
    // The zone's rooms laid out on the map by their exits.
    TExitLayoutResult LayOutZone(const TStepPlace& place, const QString& text, int32_t zone,
                                 const TExitLayoutOptions& options);

    // ---- files ----
    // A file of the kind read into the world: a zone file into the zone of
    // `place`, a room file keeping the rooms' contents, another kind into
    // its list. A file named for another zone makes that zone's step too.
    bool ReadFile(const TStepPlace& place, TRecordType type, const std::string& path,
                  const TKindNameLookup& kindName);
    // The zone's own file of the kind read again as it is on disk (the
    // rooms with the contents the zone file gives them).
    bool ReadFileAgain(const TStepPlace& place, TZone& zone, TRecordType type,
                       const TKindNameLookup& kindName);
    // All the zone's files read again, each from `source(its name)`; with
    // `fromEmpty` whatever the zone held goes first (a copy of the whole
    // zone). True when every file was read whole.
    bool ReadZone(const TStepPlace& place, const QString& text, TZone& zone,
                  const TKindNameLookup& kindName,
                  const std::function<std::string(const std::string&)>& source,
                  bool fromEmpty = false);

    // Whether the zone's records differ from its files since they were read
    // or last saved.
    bool IsUnsaved(const TZone* zone) const;
    std::vector<TZone*> UnsavedZones() const;
    // All seven files of the zone were written: what it holds now is saved.
    void MarkSaved(TZone* zone);
    // A zone without files yet (made with "Новая"), unsaved until saved.
    TZone& AddZone(std::unique_ptr<TZone> zone);
    // Every record of the zone is written in the editor's own form from now
    // on (before its files are written so). Not a step: the records mean
    // the same; the zone counts as unsaved until its files are written.
    void Normalize(TZone& zone);
    // Reads the workspace folder `dir` into the world, emptied first, with
    // every failure reported; the history and the marks go. Announces
    // `cleared` before and `loaded` after.
    void LoadWorkspace(const std::string& dir, const TKindNameLookup& kindName);

signals:
    // After each step, undo and redo, what it changed: every view follows
    // from here.
    void changed(const TWorldChange& change);
    // An undo or redo put the zones of the step back; the pages go back to
    // `place` (after `changed`).
    void restored(const TStepPlace& place);
    // A zone's unsaved mark may have come or gone.
    void unsavedChanged();
    // The world is emptied to be read anew: every view lets go of what it shows.
    void cleared();
    // While the workspace is read: `done` of its `total` files are in.
    void readProgress(int done, int total);
    // The workspace was read: its zones are in the world; `failures` holds
    // the message of each zone whose file failed (the zone stays with what
    // was read before the failure).
    void loaded(const std::map<const TZone*, std::string>& failures);
    // A zone was added to the world.
    void zoneAdded(TZone* zone);

private:
    friend class TZoneStep;
    // The history and the marks go (the world is read anew).
    void Reset();
    // Runs `edit` as one step. The zone of `place` and the zones numbered in
    // `moreZones` are kept as they were before and after; an edit that
    // changed none of their files leaves no step. True when it changed any.
    // A change made while another runs belongs to the outer one.
    bool Change(const TStepPlace& place, const QString& text, const std::function<void()>& edit,
                const std::vector<int32_t>& moreZones = {});

    TRoomList& ListOf(const TRoom&) { return world_.Rooms; }
    TObjList& ListOf(const TObj&) { return world_.Objs; }
    TMobList& ListOf(const TMob&) { return world_.Mobs; }
    TShopList& ListOf(const TShop&) { return world_.Shops; }
    TTriggerList& ListOf(const TTrigger&) { return world_.Triggers; }
    struct TKept {
        TZone* Zone; // null for a number no zone file describes
        TZoneState State;
    };
    // "чтение файла " and the file's name: the step of a file read.
    static QString ReadText(const std::string& path);
    // The zone a file is named for: its records belong to that zone.
    static std::vector<int32_t> FileZones(const std::string& path);
    std::vector<TKept> Capture(const TStepPlace& place, const std::vector<int32_t>& numbers) const;
    // Puts kept states back (an undo or a redo: `to`, in place of `from`)
    // and announces it.
    void Put(const std::vector<TKept>& from, const std::vector<TKept>& to, const TStepPlace& place);
    void Note(const std::vector<TKept>& states);
    void Announce(const std::vector<TKept>& from, const std::vector<TKept>& to,
                  const TStepPlace& place, bool restored);

    TWorld world_;
    QUndoStack* stack_;
    int depth_ = 0;
    // The files hash of each zone as saved (or read) and as it is now.
    std::unordered_map<const TZone*, uint64_t> saved_, current_;
};
