#pragma once

// The document: every change the builder makes to the world goes through
// Change(), which keeps the zones it touches as they were before and after
// it, on an undo stack. It knows which zones differ from their files and
// announces each step, undo and redo; the main window, the pages, the list
// windows and the map follow those announcements.

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

    // Runs `edit` as one undoable step named `text` (the undo entry says
    // "Отменить: " and the text). The zone of `place` and the zones numbered
    // in `moreZones` are kept as they were before and after; an edit that
    // changed none of their files leaves no step. True when it changed any.
    // A change made while another runs belongs to the outer one.
    bool Change(const TStepPlace& place, const QString& text, const std::function<void()>& edit,
                const std::vector<int32_t>& moreZones = {});

    // The record with the number of `record` becomes `record` (a page's
    // copy with the page's edits), as one step. False when nothing changed
    // or no such record exists.
    template <class Record>
    bool SetRecord(const TStepPlace& place, const QString& text, Record record) {
        return Change(place, text, [&] {
            if (Record* stored = ListOf(record).Find(record.VNum))
                *stored = std::move(record);
        });
    }
    // The zone record of `place` becomes `zone`, as one step.
    bool SetZoneRecord(const TStepPlace& place, const QString& text, TZone zone);

    // Whether the zone's records differ from its files since they were read
    // or last saved.
    bool IsUnsaved(const TZone* zone) const;
    std::vector<TZone*> UnsavedZones() const;
    // All seven files of the zone were written: what it holds now is saved.
    void MarkSaved(TZone* zone);
    // A zone without files yet (made with "Новая"): unsaved until saved.
    void MarkNew(TZone* zone);
    // Reads the workspace folder `dir` into the world, emptied first, with
    // every failure reported; the history and the marks go. Returns the
    // message of each zone whose file failed: the zone stays with what was
    // read before the failure.
    std::map<const TZone*, std::string> LoadWorkspace(const std::string& dir,
                                                      const TKindNameLookup& kindName);
    // The history and the marks go (the world is read anew).
    void Reset();

signals:
    // After each step, undo and redo, what it changed: every view follows
    // from here.
    void changed(const TWorldChange& change);
    // An undo or redo put the zones of the step back; the pages go back to
    // `place` (after `changed`).
    void restored(const TStepPlace& place);
    // A zone's unsaved mark may have come or gone.
    void unsavedChanged();

private:
    friend class TZoneStep;
    TRoomList& ListOf(const TRoom&) { return world_.Rooms; }
    TObjList& ListOf(const TObj&) { return world_.Objs; }
    TMobList& ListOf(const TMob&) { return world_.Mobs; }
    TShopList& ListOf(const TShop&) { return world_.Shops; }
    TTriggerList& ListOf(const TTrigger&) { return world_.Triggers; }
    struct TKept {
        TZone* Zone; // null for a number no zone file describes
        TZoneState State;
    };
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
