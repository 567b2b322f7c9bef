#pragma once

// "Добавить", "Удалить" and "Копировать": records of the current page's kind
// created (at a chosen number or several at the free ones, optionally from a
// template), copied and deleted inside the current zone.

#include "recordlist.h"

#include <QObject>
#include <cstdint>
#include <functional>
#include <string>
#include <vector>

class TMainForm;

// What the commands need of one record kind.
struct TRecordKind {
    std::function<bool(int32_t vnum)> IsFree;
    std::function<int(int32_t zone)> FirstFreeSlot;
    // Appends a record with that number, filled from template `templet` (-1: none).
    std::function<void(int32_t vnum, int templet)> AddNew;
    // Appends a record with that number taking the content of `source`.
    std::function<void(int32_t vnum, int32_t source)> AddCopy;
    std::function<void(int32_t vnum)> Delete;
    // Takes a record not read out of the zone's file, by its place among them.
    std::function<void(int32_t zone, int index)> DeleteUnparsed;
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
    // Wires the "Редактор" entries and the tools window's buttons.
    explicit TRecordCommands(TMainForm& main);

    void Add();
    void Delete();
    void Copy();

private:
    void AddOne(int page, int32_t vnum, int templet);
    // `edit` as one step of the document named `text`, on record `vnum` of `page`.
    void Step(int page, int32_t vnum, const QString& text, const std::function<void()>& edit);
    void Select(int page, int32_t vnum);
    // After the shown row was deleted: the row now in its place is shown.
    void SelectAfterDelete(int page, int row);

    TMainForm& main_;
    std::vector<TRecordKind> kinds_; // by page - 1
};
