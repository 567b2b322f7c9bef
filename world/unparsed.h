#pragma once

// The records of the world files that could not be read and are kept as
// their text (TUnparsedRecord): how the checks, the pages and the tools find
// and name them. A record not read is never one of the list's records, so a
// number it shares with a record read is no way to find it: it is found by
// its kind, its zone and its place among its file's records not read.

#include "worldview.h"

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

// The records not read of the file of one kind of a zone, in file order.
const std::vector<TUnparsedRecord>& UnparsedRecords(const TWorldView& world, TRecordType kind,
                                                    int32_t zone);
template <class List>
const std::vector<TUnparsedRecord>& UnparsedRecordsOf(const List& list, int32_t zone) {
    static const std::vector<TUnparsedRecord> none;
    const TFileFrame* frame = list.FrameOf(zone);
    return frame ? frame->Unparsed : none;
}
// The number its header gives, none for a header without one.
std::optional<int32_t> UnparsedNumber(const TUnparsedRecord& record);

// Whether a number is free for a new record: no record read has it and no
// record not read of its zone's file either (the file would hold it twice).
template <class List> bool IsFreeBesideUnparsed(const List& list, int32_t vnum) {
    if (!list.IsFreeVNum(vnum))
        return false;
    for (const TUnparsedRecord& record : UnparsedRecordsOf(list, ZoneOf(vnum)))
        if (UnparsedNumber(record) == vnum)
            return false;
    return true;
}
// The lowest offset i in 0..99 whose number zone*100+i is free so; 100 when none is.
template <class List> int FirstFreeSlotBesideUnparsed(const List& list, int32_t zone) {
    int slot = list.FirstFreeSlot(zone);
    while (slot < 100 && !IsFreeBesideUnparsed(list, zone * 100 + slot))
        ++slot;
    return slot;
}

// The zones whose file of that kind holds records not read, ascending.
std::vector<int32_t> ZonesWithUnparsed(const TWorldView& world, TRecordType kind);

// Its header's number, or the header quoted when it has none ("#1x0").
std::string UnparsedName(const TUnparsedRecord& record);
// "(не прочитана)", the mark it is named with (Windows-1251).
std::string UnparsedMark();
// What the ID lists show for it: "1205  (не прочитана)" (Windows-1251).
std::string UnparsedEntryText(const TUnparsedRecord& record);
// Why it was not read: "ошибка в строке 45: «300 0 0 0»", the line quoted
// as the messages quote lines; "ошибка в строке 15: после последней строки
// записи" when the reading failed further on (the file ended, or a text ran
// into the next record) (Windows-1251).
std::string UnparsedReason(const TUnparsedRecord& record);
// Its text as one string, the lines joined with "\n" (Windows-1251).
std::string UnparsedRecordText(const TUnparsedRecord& record);
