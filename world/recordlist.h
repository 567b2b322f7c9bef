#pragma once

// The owning list shared by the five record kinds. Records keep the order in
// which they were read or created; lookups by number go through an index of
// the first record with each number, so reading N records costs about N.

#include "worldfile.h"

#include <cstdint>
#include <memory>
#include <string>
#include <unordered_map>
#include <vector>

// One line of a list window or of the map's list of unplaced rooms: the text
// shown and the record number the entry carries.
struct TListEntry {
    std::string Text;
    int32_t VNum = 0;
    bool operator==(const TListEntry&) const = default;
};

// The zone a record number belongs to (integer division, as the files count).
inline int32_t ZoneOf(int32_t vnum) {
    return vnum / 100;
}

template <class T> class TRecordList {
public:
    TRecordList() = default;
    TRecordList(const TRecordList&) = delete;
    TRecordList& operator=(const TRecordList&) = delete;

    int Count() const { return static_cast<int>(items_.size()); }
    T& operator[](int index) { return *items_[static_cast<size_t>(index)]; }
    const T& operator[](int index) const { return *items_[static_cast<size_t>(index)]; }

    // Index of the first record with that number, or -1.
    int IndexOfVNum(int32_t vnum) const {
        const auto found = first_.find(vnum);
        return found == first_.end() ? -1 : found->second;
    }
    bool IsFreeVNum(int32_t vnum) const { return IndexOfVNum(vnum) < 0; }
    // The first record with that number, or nullptr.
    T* Find(int32_t vnum) {
        const int index = IndexOfVNum(vnum);
        return index < 0 ? nullptr : items_[static_cast<size_t>(index)].get();
    }
    const T* Find(int32_t vnum) const { return const_cast<TRecordList*>(this)->Find(vnum); }

    // The lowest offset i in 0..99 for which zone*100+i is free; 100 when all are taken.
    int FirstFreeSlot(int32_t zone) const {
        for (int i = 0; i < 100; ++i)
            if (InRange(zone, i) && IsFreeVNum(zone * 100 + i))
                return i;
        return 100;
    }

    // Creates a record with that number (its defaults) and appends it.
    T& AddNew(int32_t vnum) {
        items_.push_back(std::make_unique<T>(vnum));
        first_.emplace(vnum, Count() - 1);
        byZone_[ZoneOf(vnum)].push_back(Count() - 1);
        return *items_.back();
    }

    void Delete(int index) {
        items_.erase(items_.begin() + index);
        Reindex();
    }
    void Clear() {
        items_.clear();
        first_.clear();
        byZone_.clear();
    }
    // Call after changing the VNum of a record in the list.
    void Reindex() {
        first_.clear();
        byZone_.clear();
        for (int i = 0; i < Count(); ++i) {
            const int32_t vnum = items_[static_cast<size_t>(i)]->VNum;
            first_.emplace(vnum, i);
            byZone_[ZoneOf(vnum)].push_back(i);
        }
    }

    // The records of one zone in ascending number order (the first record of
    // each number), as the record files are written.
    std::vector<const T*> ZoneRecords(int32_t zone) const {
        std::vector<const T*> out;
        for (int i = 0; i < 100; ++i)
            if (InRange(zone, i))
                if (const T* record = Find(zone * 100 + i))
                    out.push_back(record);
        return out;
    }

    // Every record of one zone in list order (the zone and layout files walk
    // the rooms this way), without visiting the other zones' records.
    std::vector<const T*> ZoneInListOrder(int32_t zone) const {
        std::vector<const T*> out;
        const auto found = byZone_.find(zone);
        if (found != byZone_.end())
            for (const int index : found->second)
                out.push_back(items_[static_cast<size_t>(index)].get());
        return out;
    }

    // Number, a space and the record's name when it exists; the bare number otherwise.
    std::string CaptionOf(int32_t vnum) const {
        const T* record = Find(vnum);
        return record ? std::to_string(vnum) + " " + record->CaptionName() : std::to_string(vnum);
    }

    // What the list window of this kind shows: one entry per record in list
    // order, number, two spaces and the name (shops show only the number).
    std::vector<TListEntry> ListEntries() const {
        std::vector<TListEntry> out;
        out.reserve(items_.size());
        for (const auto& item : items_)
            out.push_back(EntryOf(*item));
        return out;
    }
    // The same entries for the records of one zone, in list order (the ID
    // lists of the pages).
    std::vector<TListEntry> ZoneListEntries(int32_t zone) const {
        std::vector<TListEntry> out;
        for (const T* record : ZoneInListOrder(zone))
            out.push_back(EntryOf(*record));
        return out;
    }
    static TListEntry EntryOf(const T& record) {
        if constexpr (requires { record.CaptionName(); })
            return {std::to_string(record.VNum) + "  " + record.CaptionName(), record.VNum};
        else
            return {std::to_string(record.VNum), record.VNum};
    }

    auto begin() { return items_.begin(); }
    auto end() { return items_.end(); }
    auto begin() const { return items_.begin(); }
    auto end() const { return items_.end(); }

protected:
    // Finds the record with that number or appends a new one (readers reuse records).
    T& FindOrAdd(int32_t vnum) {
        T* record = Find(vnum);
        return record ? *record : AddNew(vnum);
    }

private:
    static bool InRange(int64_t zone, int offset) {
        const int64_t vnum = zone * 100 + offset;
        return vnum >= INT32_MIN && vnum <= INT32_MAX;
    }

    std::vector<std::unique_ptr<T>> items_;
    std::unordered_map<int32_t, int> first_;
    std::unordered_map<int32_t, std::vector<int>> byZone_; // list indices, ascending
};

// The zone number in a record header line "#1234"; throws TLoadFailure when
// anything but a decimal number follows the "#".
inline int32_t HeaderNumber(std::string_view line) {
    return ToInt32(line.substr(1));
}
