#pragma once

// What the five record pages (rooms, objects, mobs, shops, triggers) share:
// the ID list of the current zone's records, the record shown, and the steps
// of selecting, showing and storing it. The page's own controls live in
// `Body` and register their transfer through the three hooks. The records
// of the zone's file that could not be read are listed too and shown in
// place of `Body` as their text, read-only, with the reason.

#include "recordlist.h"

#include <QString>
#include <QWidget>
#include <cstdint>
#include <functional>
#include <optional>
#include <vector>

class QComboBox;
class QLabel;
class QPlainTextEdit;
class QPushButton;
class TEditorContext;
struct TStepPlace;
struct TWorldChange;

class TRecordPage : public QWidget {
    Q_OBJECT

public:
    // `sheetName` is the tab sheet's object name, `idName` its ID list's.
    TRecordPage(TEditorContext& main, int page, const QString& sheetName, const QString& idName);

    // Its index among the pages (RoomPageIndex and on).
    const int Page;

    QComboBox* IDComboBox;
    QWidget* Body; // the page's editing controls
    // In place of Body while a record not read is chosen: why it was not
    // read and its text (R_UnparsedLabel, R_UnparsedText, O_..., ...).
    QWidget* UnparsedView;
    QLabel* UnparsedLabel;
    QPlainTextEdit* UnparsedText;
    // "Где используется" beside the ID list (R_UsesBtn, O_UsesBtn, ...).
    QPushButton* UsesBtn;

    // The number of the record shown, none while the ID list is empty or a
    // record not read is shown.
    std::optional<int32_t> Current;
    // The record not read that is shown: its place among the zone's.
    std::optional<int> CurrentUnparsed;

    // ShowOnPage of the record with that number; of the blank record for none.
    std::function<void(std::optional<int32_t> vnum)> ShowRecord;
    // The page's edits stored into the record with that number, as one step
    // of the document named `text` (see StoreInto).
    std::function<void(int32_t vnum, const TStepPlace& place, const QString& text)> StoreRecord;
    // False, after telling the user, while the page holds a value that cannot
    // be stored as it is (a number out of its range); the store is refused and
    // the record stays shown with its change flag.
    std::function<bool()> CanStore;
    // Runs when the page is entered, before its record is shown (the room
    // page refills its door key list there).
    std::function<void()> Entered;

    // The records of a zone as the ID list shows them: those read and those
    // of its file not read.
    struct TZoneRecords {
        std::vector<TListEntry> Entries;
        std::vector<TUnparsedRecord> Unparsed;
    };
    std::function<TZoneRecords(int32_t zone)> ZoneRecords;

    // Refills the ID list with the zone's records and those of its file not
    // read (sorted by number, a record not read after a record read with the
    // same number) and makes the first one current, without showing it.
    void ShowZone(std::optional<int32_t> zone);
    // After a step, an undo or a redo: the ID list follows the records of its
    // zone that were added, removed or renamed, keeping its selection; the
    // record shown is shown again when a step made elsewhere changed it.
    void Follow(const TWorldChange& change);
    int Count() const;
    bool HasSelection() const;
    // The row of the record read with that number, -1 when none has it.
    int RowOf(int32_t vnum) const;
    // The row of a record not read, by its place among the zone's; -1.
    int RowOfUnparsed(int index) const;
    // The record not read that is shown, null when none is.
    const TUnparsedRecord* ShownUnparsed() const;
    // The text of the entry carrying that number, when there is one; a page
    // puts back its stored record's caption there after showing it, so that
    // a cancelled rename leaves no false caption in the list.
    void ShowEntryText(int32_t vnum, const QString& text);

    // The record selection step: the shown record is stored (when the change
    // confirmation says so), the selected one becomes current and is shown,
    // and the change flag is cleared. A refused store keeps the shown record
    // selected.
    void SelectionChanged();
    // Selects an entry of the ID list and runs the selection step.
    void SelectRow(int row);
    // Selects an entry and makes it current, without storing or showing.
    void SetCurrentRow(int row);
    // The four moves of the navigation commands; false when none is possible.
    bool First();
    bool Previous();
    bool Next();
    bool Last();

    // Shows the current record again (or the blank one).
    void ShowCurrent();
    // Stores the page into the current record, when there is one; false when
    // CanStore refused.
    bool StoreCurrent();
    // The page's change hook: sets the change flag while a record is selected.
    void Change();

private:
    void AddItem(const QString& text, const QVariant& vnum, qint64 order, const QVariant& unparsed);
    // The ID list filled with the zone's records, nothing selected.
    void Fill();
    void SortByNumber();
    // Current or CurrentUnparsed from the selected row.
    void TakeSelection();
    void ShowUnparsed(const TUnparsedRecord& record);
    // The record not read is only shown: the commands that would change or
    // copy it are off while it is.
    void EnableEditing(bool editable);
    std::vector<TUnparsedRecord> unparsed_; // the zone's, as listed
    std::optional<int32_t> zone_;           // the zone listed

    TEditorContext& main_;
};
