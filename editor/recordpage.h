#pragma once

// What the five record pages (rooms, objects, mobs, shops, triggers) share:
// the ID list of the current zone's records, the record shown, and the steps
// of selecting, showing and storing it. The page's own controls live in
// `Body` and register their transfer through the three hooks.

#include "recordlist.h"

#include <QString>
#include <QWidget>
#include <cstdint>
#include <functional>
#include <optional>
#include <vector>

class QComboBox;
class QPushButton;
class TMainForm;

class TRecordPage : public QWidget {
    Q_OBJECT

public:
    // `sheetName` is the tab sheet's object name, `idName` its ID list's.
    TRecordPage(TMainForm& main, const QString& sheetName, const QString& idName);

    QComboBox* IDComboBox;
    QWidget* Body; // the page's editing controls
    // "Где используется" beside the ID list (R_UsesBtn, O_UsesBtn, ...).
    QPushButton* UsesBtn;

    // The number of the record shown, none while the ID list is empty.
    std::optional<int32_t> Current;

    // ShowOnPage of the record with that number; of the blank record for none.
    std::function<void(std::optional<int32_t> vnum)> ShowRecord;
    // ReadFromPage into the record with that number.
    std::function<void(int32_t vnum)> ReadRecord;
    // False, after telling the user, while the page holds a value that cannot
    // be stored as it is (a number out of its range); the store is refused and
    // the record stays shown with its change flag.
    std::function<bool()> CanStore;
    // Runs when the page is entered, before its record is shown (the room
    // page refills its door key list there).
    std::function<void()> Entered;

    // Refills the ID list with the zone's records (sorted by text) and makes
    // the first one current, without showing it.
    void Refill(const std::vector<TListEntry>& entries);
    int Count() const;
    bool HasSelection() const;
    // The row of the entry carrying that number, -1 when none does.
    int RowOf(int32_t vnum) const;
    // A new entry in its sorted place; the selection stays where it was.
    void AddEntry(const TListEntry& entry);
    // The text of the entry carrying that number, when there is one; a page
    // puts back its stored record's caption there after showing it, so that
    // a cancelled rename leaves no false caption in the list.
    void ShowEntryText(int32_t vnum, const QString& text);
    // Removes an entry without selecting another.
    void RemoveRow(int row);

    // The record selection step: the shown record is stored (when the change
    // confirmation says so), the selected one becomes current and is shown,
    // and the change flag is cleared. A refused store keeps the shown record
    // selected.
    void SelectionChanged();
    // Selects an entry of the ID list and runs the selection step.
    void SelectRow(int row);
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
    void SortByNumber();

    TMainForm& main_;
};
