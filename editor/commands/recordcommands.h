#pragma once

// "Добавить", "Удалить" and "Копировать": records of the current page's kind
// created (at a chosen number or several at the free ones, optionally from a
// template), copied and deleted inside the current zone.

#include "recordlist.h"

#include <QObject>
#include <QString>
#include <cstdint>
#include <functional>
#include <string>
#include <vector>

class TEditorContext;
struct TStepPlace;

// What the commands need of one record kind.
struct TRecordKind {
    std::function<bool(int32_t vnum)> IsFree;
    std::function<int(int32_t zone)> FirstFreeSlot;
    // Adds records with those numbers, filled from template `templet` (-1:
    // none), as one step of the document.
    std::function<void(const TStepPlace& place, const QString& text,
                       const std::vector<int32_t>& vnums, int templet)>
        AddNew;
    // Adds a record with that number taking the content of `source`, as one step.
    std::function<void(const TStepPlace& place, const QString& text, int32_t vnum, int32_t source)>
        AddCopy;
    std::function<std::vector<std::string>()> TemplateNames;
    const char* ZoneFull; // the messages, UTF-8
    const char* NumberTaken;
    const char* ConfirmDelete;
    // The offsets a zone may hold, from 0: rooms stop before the server's own
    // room (NN99); `Reserved` refuses a number typed beyond them ("%1": the number).
    int Slots = 100;
    const char* Reserved = nullptr;
    // How many offsets below `Slots` are free in a zone.
    int FreeSlots(int32_t zone) const;
};

class TRecordCommands : public QObject {
    Q_OBJECT

public:
    // Wires the tools window's buttons (the main window wires the menu's).
    explicit TRecordCommands(TEditorContext& main);

    void Add();
    void Delete();
    void Copy();

private:
    // Where a step on record `vnum` of `page` is made.
    TStepPlace PlaceOf(int page, int32_t vnum) const;
    void Select(int page, int32_t vnum);
    // After the shown row was deleted: the row now in its place is shown.
    void SelectAfterDelete(int page, int row);

    TEditorContext& main_;
    std::vector<TRecordKind> kinds_; // by page - 1
};
