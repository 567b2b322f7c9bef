#pragma once

// Finding one's way in the workspace: the problems window, the search and
// "Где используется" with their menu entries, and opening the record any of
// them names on its page.

#include <QObject>
#include <cstdint>

class QAction;
class TMainForm;
class TProblemsForm;
class TSearchForm;
class TUsesForm;

class TNavigator : public QObject {
    Q_OBJECT

public:
    // Creates the windows beside the main window and adds their entries to
    // its "Редактор" and "Окна" menus and its record pages' uses buttons.
    explicit TNavigator(TMainForm& main);

    // Shows a record on its page (0 zone, 1 rooms, ... 5 triggers): the zone
    // holding it becomes current, the page is entered and its row selected,
    // each step storing the edits it leaves as a click would. False when a
    // step was refused or the record is not there (the user is told).
    bool OpenRecord(int page, int32_t vnum);
    // The same for a record of a zone's file that could not be read, by its
    // place among the zone's records not read (its number may be a record's
    // read as well).
    bool OpenUnparsed(int page, int32_t zone, int index);
    // "Где используется" of a record.
    void ShowUses(int page, int32_t vnum);
    // The problems window checks again.
    void RecheckProblems();

    TProblemsForm* ProblemsForm;
    TSearchForm* SearchForm;
    TUsesForm* UsesForm;
    QAction* NFind;     // "Найти..." (Ctrl+F)
    QAction* NProblems; // "Проблемы"

private:
    bool OpenZonePage(int32_t number, int page);
    // The record found is in front of the builder.
    void ShowFound();

    TMainForm& main_;
};
