#pragma once

// The owning list shared by the five record kinds. Records keep the order in
// which they were read or created; lookups by number go through an index of
// the first record with each number, so reading N records costs about N.

#include "compactstring.h"
#include "recordslot.h"
#include "sparsetext.h"
#include "strutils.h"
#include "worldfile.h"

#include <algorithm>
#include <array>
#include <charconv>
#include <cstdint>
#include <functional>
#include <iterator>
#include <map>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <unordered_map>
#include <unordered_set>
#include <utility>
#include <vector>

// One line of a list window or of the map's list of unplaced rooms: the text
// shown and the record number the entry carries.
struct TListEntry {
    std::string Text;
    int32_t VNum = 0;
    bool operator==(const TListEntry&) const = default;
};

// The same line as a record list model keeps it: the number and the name,
// the text made only when shown ("number  name", a shop's number alone).
// The name is the record's own (a copy of a name read from a file shares
// the file's text): a text made for each of a large world's records took a
// tenth of the editor's start.
struct TListName {
    int32_t VNum = 0;
    bool Named = false;
    TCompactString Name;
    bool operator==(const TListName&) const = default;
    // The line: the number, two spaces and the name; the bare number unnamed.
    std::string Text() const {
        std::string text = std::to_string(VNum);
        if (Named)
            text.append("  ").append(Name);
        return text;
    }
    TListEntry Entry() const { return {Text(), VNum}; }
};

uint64_t HashOfLines(const TStringList& lines);

// What a record keeps of the text it was read from, so that a record nobody
// changed is written back exactly as it was read, whatever its form.
//
// A record read into a fresh record keeps only where its lines stand in its
// file's text: whether it changed is learnt when it is written, by reading
// it again from there and composing both in our writer's form, so reading
// composes nothing. A record read over another one (the same number met
// again) keeps its lines and the hash of our writer's lines for it right
// after reading, as does a record whose reading needs more than its text.
struct TSourceText {
    TTextRange Range; // the record's own lines in its file, the trailer not included

    // Earlier records with the same number in the same file, each as its text
    // would have been written: the record holds the last one's fields, and
    // these are written before it, whatever is edited, so nothing of the file
    // is lost and a later read finds the same record again.
    const std::vector<TStringList>& EarlierCopies() const { return kept_->EarlierCopies; }
    void SetEarlierCopies(std::vector<TStringList> copies);

    // Appends the lines to write for a record whose lines in our writer's
    // form are `ours`: the earlier copies, then the lines it was read from
    // while `ours` is unchanged. A record kept as a range is written by
    // AppendRecordLines, which can read it again.
    void AppendTo(TStringList& out, TStringList&& ours) const;
    void AppendEarlierCopies(TStringList& out) const {
        for (const TStringList& copy : EarlierCopies())
            out.insert(out.end(), copy.begin(), copy.end());
    }
    // Keeps `read` unless it is `ours` already (or always, when asked).
    void Remember(TStringList&& read, const TStringList& ours, bool always = false);
    // Keeps the lines of `read` as those read; our form of them is given
    // later (Rebase). A zone file keeps its text this way.
    void KeepRange(TTextRange read) {
        Range = std::move(read);
        kept_.Edit().Lines.clear();
    }
    // The same for lines that cannot be kept as a range.
    void KeepLines(TStringList read) {
        Range = {};
        kept_.Edit().Lines = std::move(read);
    }
    // `ours` is now what stands for the text as read (what other files read
    // later changed in our form of it, not the builder).
    void Rebase(const TStringList& ours) { kept_.Edit().OurForm = HashOfLines(ours); }
    // Forgets the form the record was read in; the earlier copies stay.
    void Forget();

private:
    // What few records have: most are kept as a range, or in our own form.
    struct TKept {
        // The record's lines as read, each carrying its end where it is not
        // its file's main one; empty: our own form (or kept as the range).
        TStringList Lines;
        uint64_t OurForm = 0; // hash of our writer's lines for them right after reading
        std::vector<TStringList> EarlierCopies;
    };
    TSparse<TKept> kept_;
};

// A record the reader could not parse, kept as its text from its header to
// the next record's: written back byte for byte where it stood, after the
// record read before it (before the first record when none was).
struct TUnparsedRecord {
    std::optional<int32_t> After;
    TStringList Lines;
    // Where it stood in the file as read: the line of its header and the line
    // where reading it failed (the builder is shown why it was not read).
    int FirstLine = 0;
    int FailedLine = 0;
};

// The lines of a record file before its first record and after its last
// (our writer's comment line, the "$" lines), as they were read, and the
// records between that could not be read.
struct TFileFrame {
    TStringList Head, Tail;
    std::vector<TUnparsedRecord> Unparsed;
    // False once the zone is written in our form throughout: our own head and
    // tail then, the unparsed records still in their places.
    bool OwnHeadAndTail = true;
    // The line end most of the file's lines use: the kept lines carry theirs
    // only where it differs, and every line written anew takes this one.
    std::string_view LineEnd = kCrLf;
};

// The zone a record number belongs to (integer division, as the files count).
inline int32_t ZoneOf(int32_t vnum) {
    return vnum / 100;
}

// Our writer's lines of a record: `write(record, lines)` gives its own
// lines, the lines kept after it follow.
template <class Record, class Write> TStringList OurLines(const Record& record, Write write) {
    TStringList lines;
    write(record, lines);
    lines.insert(lines.end(), record.Trailer.begin(), record.Trailer.end());
    return lines;
}

// The zone number in a record header line "#1234"; throws TLoadFailure when
// anything but a decimal number follows the "#".
inline int32_t HeaderNumber(std::string_view line) {
    return ToInt32(line.substr(1));
}

// Reads the body of a record after its header line `line` (the next line
// is left in `line`): how a record kept as a range is read again.
template <class T> using TReadBody = void (*)(TWorldReader& reader, T& record, std::string& line);

// The lines a record kept as a range was read from, its trailer after them.
template <class Record> TStringList LinesAsRead(const Record& record) {
    TStringList lines = TWorldReader::LinesOf(record.Source.Range);
    lines.insert(lines.end(), record.Trailer.begin(), record.Trailer.end());
    return lines;
}

// The record whose header begins at `at.Begin`, read again as the file's
// reader read it into a fresh record: its range then covers its own lines.
// Throws as that reader did when the text no longer reads.
template <class Record>
std::unique_ptr<Record> ReadRecordAgain(const TTextRange& at, TReadBody<Record> readBody) {
    TWorldReader reader = TWorldReader::Resume(at);
    std::string line = reader.ReadLine();
    // The number as read: a record given another number has changed.
    auto record = std::make_unique<Record>(HeaderNumber(line));
    readBody(reader, *record, line);
    record->Source.Range = reader.RangeBetween(at.Begin, reader.LineStart());
    return record;
}

// Our writer's lines of a record kept as a range as it was read: its text
// read again into a fresh record (the trailer is the record's, which nothing
// edits). None when that text no longer reads.
template <class Record, class Write>
std::optional<TStringList> OurLinesAsRead(const Record& record, TReadBody<Record> readBody,
                                          Write write) {
    try {
        const std::unique_ptr<Record> asRead = ReadRecordAgain(record.Source.Range, readBody);
        asRead->Trailer = record.Trailer;
        return OurLines(*asRead, write);
    } catch (const TLoadFailure&) {
    } catch (const TEndOfFileStop&) {
    }
    return std::nullopt;
}

// Appends the lines to write for `record`: its earlier copies, then the
// lines it was read from while our writer's form of it is what it was
// right after reading, else our writer's lines.
template <class Record, class Write>
void AppendRecordLines(TStringList& out, const Record& record, TReadBody<Record> readBody,
                       Write write) {
    TStringList ours = OurLines(record, write);
    const TSourceText& source = record.Source;
    if (!source.Range || !readBody) {
        source.AppendTo(out, std::move(ours));
        return;
    }
    source.AppendEarlierCopies(out);
    if (OurLinesAsRead(record, readBody, write) == ours) {
        const TStringList read = LinesAsRead(record);
        out.insert(out.end(), read.begin(), read.end());
    } else {
        out.insert(out.end(), std::make_move_iterator(ours.begin()),
                   std::make_move_iterator(ours.end()));
    }
}

// A set of record numbers kept as runs of neighbours: the numbers of a
// file's records mostly come one after another, so a file of a million
// records takes one run where a hash set took 40 bytes a number.
class TNumberSet {
public:
    // Adds the number; false when it was there.
    bool Insert(int32_t number) {
        auto next = runs_.upper_bound(number);
        const bool joinsNext = next != runs_.end() && int64_t{number} + 1 == next->first;
        if (next != runs_.begin()) {
            const auto before = std::prev(next);
            if (number <= before->second)
                return false;
            if (int64_t{before->second} + 1 == number) {
                before->second = joinsNext ? next->second : number;
                if (joinsNext)
                    runs_.erase(next);
                return true;
            }
        }
        int32_t last = number;
        if (joinsNext) {
            last = next->second;
            next = runs_.erase(next);
        }
        runs_.emplace_hint(next, number, last);
        return true;
    }
    bool Contains(int32_t number) const {
        const auto next = runs_.upper_bound(number);
        return next != runs_.begin() && number <= std::prev(next)->second;
    }
    // Whether `test` holds for any of the numbers.
    template <class Test> bool Any(Test test) const {
        for (const auto& [first, last] : runs_)
            for (int64_t number = first; number <= last; ++number)
                if (test(static_cast<int32_t>(number)))
                    return true;
        return false;
    }

private:
    std::map<int32_t, int32_t> runs_; // first number of each run, its last
};

// Which records a read may keep as their text until first used, by number.
using TLeaveUnread = std::function<bool(int32_t vnum)>;

template <class T> class TRecordList {
public:
    TRecordList() = default;
    TRecordList(const TRecordList&) = delete;
    TRecordList& operator=(const TRecordList&) = delete;

    int Count() const { return static_cast<int>(items_.size()); }
    T& operator[](int index) { return Made(static_cast<size_t>(index)); }
    const T& operator[](int index) const { return Made(static_cast<size_t>(index)); }
    // The number of the record at `index`, without making a record kept as
    // its text.
    int32_t VNumAt(int index) const {
        const TRecordSlot<T>& slot = items_[static_cast<size_t>(index)];
        if (const T* record = slot.Record())
            return record->VNum;
        const TFileText& file = *texts_[slot.File()];
        size_t pos = slot.Offset();
        return HeaderNumber(LineAt(file.Bytes, pos, file.TextEnd));
    }
    // Whether the record at `index` is still kept as the text it was read
    // from: nothing has changed it, or looked at it, since.
    bool IsUnread(int index) const { return items_[static_cast<size_t>(index)].IsUnread(); }

    // Index of the first record with that number, or -1.
    int IndexOfVNum(int32_t vnum) const {
        if (lookups_)
            lookups_->Insert(vnum);
        return FirstIndexOf(vnum);
    }
    bool IsFreeVNum(int32_t vnum) const { return IndexOfVNum(vnum) < 0; }
    // The first record with that number, or nullptr.
    T* Find(int32_t vnum) {
        const int index = IndexOfVNum(vnum);
        return index < 0 ? nullptr : &Made(static_cast<size_t>(index));
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
        items_.emplace_back(std::make_unique<T>(vnum));
        IndexLast();
        return *items_.back().Record();
    }

    void Delete(int index) {
        items_.erase(items_.begin() + index);
        Reindex();
    }
    // Reading: the record numbered `vnum` failed to read. It goes back to
    // `before` (the same number read earlier in the file), or goes.
    void TakeBackFailedRead(int32_t vnum, std::optional<T> before) {
        const int index = IndexOfVNum(vnum);
        if (index < 0)
            return;
        if (before)
            Made(static_cast<size_t>(index)) = std::move(*before);
        else
            Delete(index);
    }
    void Clear() {
        items_.clear();
        texts_.clear();
        byZone_.clear();
        oddFirst_.clear();
        frames_.clear();
    }
    // Call after changing the VNum of a record in the list.
    void Reindex() {
        byZone_.clear();
        oddFirst_.clear();
        for (int i = 0; i < Count(); ++i)
            Index(i);
    }

    // The records of one zone in ascending number order (the first record of
    // each number), as the record files are written.
    std::vector<const T*> ZoneRecords(int32_t zone) const {
        std::vector<const T*> out;
        for (const int index : ZoneRecordIndices(zone))
            out.push_back(&Made(static_cast<size_t>(index)));
        return out;
    }
    // Where those records stand in the list.
    std::vector<int> ZoneRecordIndices(int32_t zone) const {
        std::vector<int> out;
        for (int i = 0; i < 100; ++i)
            if (InRange(zone, i))
                if (const int index = IndexOfVNum(zone * 100 + i); index >= 0)
                    out.push_back(index);
        return out;
    }

    // Every record of one zone in list order (the zone and layout files walk
    // the rooms this way), without visiting the other zones' records.
    std::vector<const T*> ZoneInListOrder(int32_t zone) const {
        std::vector<const T*> out;
        for (const int index : ZoneIndicesInListOrder(zone))
            out.push_back(&Made(static_cast<size_t>(index)));
        return out;
    }
    // Where those records stand in the list (ascending).
    std::vector<int> ZoneIndicesInListOrder(int32_t zone) const {
        std::vector<int> out;
        const auto found = byZone_.find(zone);
        if (found != byZone_.end())
            for (const auto& [first, count] : found->second.Runs)
                for (int index = first; index < first + count; ++index)
                    out.push_back(index);
        return out;
    }

    // Number, a space and the record's name when it exists; the bare number otherwise.
    std::string CaptionOf(int32_t vnum) const {
        const T* record = Find(vnum);
        std::string caption = std::to_string(vnum);
        if (record)
            caption.append(" ").append(record->CaptionName());
        return caption;
    }

    // What the list window of this kind shows: one entry per record in list
    // order, number, two spaces and the name (shops show only the number).
    std::vector<TListEntry> ListEntries() const { return EntriesOf(ListNames(std::nullopt)); }
    // The same entries for the records of one zone, in list order (the ID
    // lists of the pages).
    std::vector<TListEntry> ZoneListEntries(int32_t zone) const {
        return EntriesOf(ListNames(zone));
    }
    // The same lines as names, of every record (no zone) or of one zone's.
    std::vector<TListName> ListNames(std::optional<int32_t> zone) const {
        std::vector<TListName> out;
        if (zone) {
            for (const int index : ZoneIndicesInListOrder(*zone))
                out.push_back(NameAt(static_cast<size_t>(index)));
        } else {
            out.reserve(items_.size());
            for (size_t index = 0; index < items_.size(); ++index)
                out.push_back(NameAt(index));
        }
        return out;
    }
    static TListName NameOf(const T& record) {
        if constexpr (requires { record.CaptionName(); })
            return {record.VNum, true, record.CaptionName()};
        else
            return {record.VNum, false, {}};
    }
    // The name of the record at `index`; one kept as its text is read for
    // it and stays so (a list window of a million rooms keeps their names,
    // not a record for each).
    TListName NameAt(size_t index) const {
        const TRecordSlot<T>& slot = items_[index];
        if (const T* record = slot.Record())
            return NameOf(*record);
        return NameOf(*ReadUnread(slot));
    }
    static TListEntry EntryOf(const T& record) { return NameOf(record).Entry(); }

    // Reading a file aside (into a list of its own, on another thread): every
    // number looked up from now on is noted in `lookups`, null: none. A read
    // meets the records of the lists before it only through such lookups.
    void NoteLookupsIn(TNumberSet* lookups) { lookups_ = lookups; }
    // Whether a record with any of these numbers is here.
    bool HoldsAnyOf(const TNumberSet& numbers) const {
        return !items_.empty() &&
               numbers.Any([this](int32_t vnum) { return FirstIndexOf(vnum) >= 0; });
    }
    // Moves the records and frames of `aside`, which read one file, to the end
    // of this list. When this list holds none of the numbers that read looked
    // up, the list is then what reading the file into it would have made it:
    // the file's reader found nothing here and only appended.
    void TakeOver(TRecordList& aside) {
        if (!readBody_)
            readBody_ = aside.readBody_;
        if (items_.empty() && texts_.empty()) {
            // The first file of its kind: its list becomes this one (a file
            // of a million records is not copied over).
            items_.swap(aside.items_);
            texts_.swap(aside.texts_);
            byZone_.swap(aside.byZone_);
            oddFirst_.swap(aside.oddFirst_);
        } else {
            // The files of the records kept as their text follow this list's;
            // past the last number a slot can hold, the records are made.
            const auto firstFile = static_cast<uint32_t>(texts_.size());
            if (texts_.size() + aside.texts_.size() <= TRecordSlot<T>::kFileMask)
                texts_.insert(texts_.end(), aside.texts_.begin(), aside.texts_.end());
            else
                for (size_t index = 0; index < aside.items_.size(); ++index)
                    aside.Made(index);
            // No reserve: reserving exactly what one more file needs would
            // move the whole list again for every file taken over.
            for (auto& item : aside.items_) {
                if (item.IsUnread())
                    item = TRecordSlot<T>::Unread(firstFile + item.File(), item.Offset());
                items_.push_back(std::move(item));
                IndexLast();
            }
        }
        for (auto& [zone, frame] : aside.frames_)
            RememberFrame(zone, std::move(frame));
        aside.Clear();
    }

    // Reading: the zone the file being read belongs to by its name, so that
    // a file without records keeps its frame too.
    std::optional<int32_t> ReadingZone;
    // Reading: the frame of the file that held a zone's records, kept so that
    // an untouched file is written back as it was read.
    void RememberFrame(int32_t zone, TFileFrame frame) { frames_[zone] = std::move(frame); }
    // Writing: the zone's records in ascending number order, each through
    // `write(record, lines)` (our writer's form), between the file's own
    // frame or ours (`ourHead`, `ourTail`) for a file we did not read; the
    // records the reader could not parse in their places.
    template <class Write>
    void ComposeZoneFile(TStringList& lines, int32_t zone, const TStringList& ourHead,
                         const TStringList& ourTail, Write write,
                         TReadBody<T> readBody = nullptr) const {
        const auto found = frames_.find(zone);
        const TFileFrame* kept = found == frames_.end() ? nullptr : &found->second;
        const bool own = kept && kept->OwnHeadAndTail;
        const std::vector<TUnparsedRecord> none;
        const std::vector<TUnparsedRecord>& unparsed = kept ? kept->Unparsed : none;
        std::unordered_set<int32_t> written;
        const auto unparsedAfter = [&](std::optional<int32_t> after) {
            for (const TUnparsedRecord& record : unparsed)
                if (record.After == after)
                    lines.insert(lines.end(), record.Lines.begin(), record.Lines.end());
        };
        lines = own ? kept->Head : ourHead;
        unparsedAfter(std::nullopt);
        for (const int index : ZoneRecordIndices(zone)) {
            const TRecordSlot<T>& slot = items_[static_cast<size_t>(index)];
            if (const T* record = slot.Record()) {
                AppendRecordLines(lines, *record, readBody, write);
            } else {
                // Untouched since it was read: its lines as read.
                const TStringList read = LinesAsRead(*ReadUnread(slot));
                lines.insert(lines.end(), read.begin(), read.end());
            }
            const int32_t vnum = VNumAt(index);
            written.insert(vnum);
            unparsedAfter(vnum);
        }
        // The record an unparsed one followed is gone: it still goes out.
        for (const TUnparsedRecord& record : unparsed)
            if (record.After && !written.contains(*record.After))
                lines.insert(lines.end(), record.Lines.begin(), record.Lines.end());
        const TStringList& tail = own ? kept->Tail : ourTail;
        lines.insert(lines.end(), tail.begin(), tail.end());
    }
    // Every record and frame of a zone forgets the form it was read in, so the
    // next write is in our writer's form throughout, with our line end (kept
    // lines and records that could not be read stay).
    void ForgetSources(int32_t zone) {
        if (const auto kept = frames_.find(zone); kept != frames_.end()) {
            if (kept->second.Unparsed.empty()) {
                frames_.erase(kept);
            } else {
                kept->second.OwnHeadAndTail = false;
                kept->second.LineEnd = kCrLf;
            }
        }
        for (const int index : ZoneIndicesInListOrder(zone))
            Made(static_cast<size_t>(index)).Source.Forget();
    }

    // Every frame kept, by zone (the checks look for records not read).
    const std::unordered_map<int32_t, TFileFrame>& Frames() const { return frames_; }
    // The frame kept for a zone's file, null when none was read.
    const TFileFrame* FrameOf(int32_t zone) const {
        const auto found = frames_.find(zone);
        return found == frames_.end() ? nullptr : &found->second;
    }
    // The line end the zone's file is written with: its main one as read,
    // ours for a file the editor made.
    std::string_view LineEndOf(int32_t zone) const {
        const TFileFrame* frame = FrameOf(zone);
        return frame ? frame->LineEnd : kCrLf;
    }
    void SetFrame(int32_t zone, const std::optional<TFileFrame>& frame) {
        if (frame)
            frames_[zone] = *frame;
        else
            frames_.erase(zone);
    }
    // The records numbered in a zone replaced by copies of `records`, which
    // keep their order after the other zones' records (an undo puts a zone
    // back this way).
    void ReplaceZone(int32_t zone, const std::vector<T>& records) {
        std::vector<TRecordSlot<T>> kept;
        kept.reserve(items_.size());
        for (int index = 0; index < Count(); ++index)
            if (ZoneOf(VNumAt(index)) != zone)
                kept.push_back(std::move(items_[static_cast<size_t>(index)]));
        items_.swap(kept);
        for (const T& record : records)
            items_.emplace_back(std::make_unique<T>(record));
        Reindex();
    }
    // For each number that a file holds more than once, how many records
    // beyond the one the editor shows (kept as their text, see TSourceText).
    std::map<int32_t, int> Duplicates() const {
        std::map<int32_t, int> repeated;
        for (const auto& item : items_)
            if (const T* record = item.Record(); record && !record->Source.EarlierCopies().empty())
                repeated[record->VNum] = static_cast<int>(record->Source.EarlierCopies().size());
        return repeated;
    }

    // The records in list order, each as a pointer (made from its text when
    // kept as one).
    template <class Record> class TIterator {
    public:
        using iterator_category = std::forward_iterator_tag;
        using value_type = Record*;
        using difference_type = std::ptrdiff_t;
        using pointer = void;
        using reference = Record*;
        TIterator() = default;
        TIterator(const TRecordList* list, size_t index) : list_(list), index_(index) {}
        Record* operator*() const { return &list_->Made(index_); }
        TIterator& operator++() {
            ++index_;
            return *this;
        }
        TIterator operator++(int) { return TIterator(list_, index_++); }
        bool operator==(const TIterator&) const = default;

    private:
        const TRecordList* list_ = nullptr;
        size_t index_ = 0;
    };
    TIterator<T> begin() { return {this, 0}; }
    TIterator<T> end() { return {this, items_.size()}; }
    TIterator<const T> begin() const { return {this, 0}; }
    TIterator<const T> end() const { return {this, items_.size()}; }

    // Each record made so far, in list order: one still kept as its text is
    // as it was read (nothing the editor or a zone file put there).
    template <class Visit> void ForEachMade(Visit visit) {
        for (const TRecordSlot<T>& slot : items_)
            if (T* record = slot.Record())
                visit(*record);
    }
    template <class Visit> void ForEachMade(Visit visit) const {
        for (const TRecordSlot<T>& slot : items_)
            if (const T* record = slot.Record())
                visit(*record);
    }

    // Reading: the record just appended, read from `range` and left as it
    // was read, is kept as that text until something first needs it.
    void LeaveLastUnread(const TTextRange& range) {
        if (texts_.empty() || texts_.back().get() != range.File.get()) {
            if (texts_.size() >= TRecordSlot<T>::kFileMask)
                return;
            texts_.push_back(range.File);
        }
        items_.back() =
            TRecordSlot<T>::Unread(static_cast<uint32_t>(texts_.size() - 1), range.Begin);
    }

protected:
    // Finds the record with that number or appends a new one (readers reuse records).
    T& FindOrAdd(int32_t vnum) {
        T* record = Find(vnum);
        return record ? *record : AddNew(vnum);
    }
    // Reads a file of records headed "#number": `readBody(reader, record, line)`
    // reads what follows the header and leaves the next line in `line`.
    // `leaveUnread`, when given, tells which records may be kept as their
    // text until first used (see TRecordSlot).
    template <class Write>
    void ReadNumberedFile(TWorldReader& reader, TReadBody<T> readBody, Write write,
                          const TLeaveUnread& leaveUnread = {});

private:
    // Where a zone's records stand in the list: each of them in list order,
    // and the first with each of its hundred numbers (a table: a hash entry
    // for every record took more than the record's own numbers).
    struct TZoneIndex {
        TZoneIndex() { First.fill(-1); }
        // Its records in list order, as runs of neighbours (first, count): a
        // zone read from one file is one run.
        std::vector<std::pair<int, int>> Runs;
        std::array<int, 100> First;
    };
    // A number's place among its zone's hundred; -1 for a negative number,
    // which the division puts outside them.
    static int SlotOf(int32_t vnum) {
        const int32_t slot = vnum - ZoneOf(vnum) * 100;
        return slot >= 0 && slot < 100 ? static_cast<int>(slot) : -1;
    }
    int FirstIndexOf(int32_t vnum) const {
        const int slot = SlotOf(vnum);
        if (slot < 0) {
            const auto found = oddFirst_.find(vnum);
            return found == oddFirst_.end() ? -1 : found->second;
        }
        const auto found = byZone_.find(ZoneOf(vnum));
        return found == byZone_.end() ? -1 : found->second.First[static_cast<size_t>(slot)];
    }
    // Indexes the record at `index`, the last one indexed so far.
    void Index(int index) {
        const int32_t vnum = VNumAt(index);
        TZoneIndex& zone = byZone_[ZoneOf(vnum)];
        if (!zone.Runs.empty() && zone.Runs.back().first + zone.Runs.back().second == index)
            ++zone.Runs.back().second;
        else
            zone.Runs.emplace_back(index, 1);
        const int slot = SlotOf(vnum);
        if (slot < 0)
            oddFirst_.emplace(vnum, index);
        else if (zone.First[static_cast<size_t>(slot)] < 0)
            zone.First[static_cast<size_t>(slot)] = index;
    }
    // Indexes the record just appended.
    void IndexLast() { Index(Count() - 1); }
    static std::vector<TListEntry> EntriesOf(const std::vector<TListName>& names) {
        std::vector<TListEntry> out;
        out.reserve(names.size());
        for (const TListName& name : names)
            out.push_back(name.Entry());
        return out;
    }
    static bool InRange(int64_t zone, int offset) {
        const int64_t vnum = zone * 100 + offset;
        return vnum >= INT32_MIN && vnum <= INT32_MAX;
    }

    // The record at `index`, made from its text when kept as one.
    T& Made(size_t index) const {
        const TRecordSlot<T>& slot = items_[index];
        if (T* record = slot.Record())
            return *record;
        return *slot.Settle(ReadUnread(slot));
    }
    // A record kept as its text, read again as it was read the first time.
    std::unique_ptr<T> ReadUnread(const TRecordSlot<T>& slot) const {
        return ReadRecordAgain({texts_[slot.File()], slot.Offset(), 0}, readBody_);
    }

    std::vector<TRecordSlot<T>> items_;
    std::vector<TFileTextRef> texts_; // the files of the records kept as their text
    TReadBody<T> readBody_ = nullptr; // how they are read
    std::unordered_map<int32_t, TZoneIndex> byZone_;
    std::unordered_map<int32_t, int> oddFirst_; // the first of each negative number
    std::unordered_map<int32_t, TFileFrame> frames_;
    TNumberSet* lookups_ = nullptr;
};

// Reads the records of one file the shared way: `readRecord(reader, line)`
// is called at each header line (in `line`), reads the record's own lines and
// returns it with the line after them in `line`; the lines up to the next
// header then belong to that record (its `Trailer`), and what follows the
// last record from its first "$" line on belongs to the file. `write` gives
// our writer's lines of a record, to tell which were read in another form.
// Takes the lines from the first one beginning with "$" off the end of
// `lines` and returns them: the end of a file after its last record.
inline TStringList SplitOffFromDollar(TStringList& lines) {
    auto dollar = lines.begin();
    while (dollar != lines.end() && !StartsWith(*dollar, '$'))
        ++dollar;
    TStringList tail(dollar, lines.end());
    lines.erase(dollar, lines.end());
    return tail;
}

// The number of a header line "#1234" (shops: "#1234~"), none when it has
// no number; the record's own reader decides what a bad header is.
inline std::optional<int32_t> PeekHeaderNumber(std::string_view line) {
    if (line.size() < 2)
        return std::nullopt;
    int32_t number = 0;
    if (std::from_chars(line.data() + 1, line.data() + line.size(), number).ec != std::errc())
        return std::nullopt;
    return number;
}

// The texts of `record` and of the copies before it, each as it would be
// written now.
template <class Record, class Write>
std::vector<TStringList> CopiesUpTo(const Record& record, Write write) {
    std::vector<TStringList> copies = record.Source.EarlierCopies();
    if (record.Source.Range) {
        // Read from this file a moment ago: nothing has changed it since.
        copies.push_back(LinesAsRead(record));
        return copies;
    }
    TSourceText alone = record.Source;
    alone.SetEarlierCopies({});
    alone.AppendTo(copies.emplace_back(), OurLines(record, write));
    return copies;
}

template <class Record, class List, class ReadRecord, class Write>
void ReadRecordFile(TWorldReader& reader, List& list, ReadRecord readRecord, Write write,
                    TReadBody<Record> readBody = nullptr, const TLeaveUnread& leaveUnread = {}) {
    std::string line;
    TFileFrame frame;
    frame.LineEnd = reader.MainLineEnd();
    bool atHeader = reader.SkipToLineStarting('#', line);
    frame.Head = reader.LinesBetween(0, atHeader ? reader.LineStart() : reader.TextEnd());
    TNumberSet seen;
    std::optional<int32_t> lastRead; // the record read before, where an unparsed one follows
    // A header on the last line begins no record.
    while (atHeader && !reader.Eof()) {
        const size_t start = reader.LineStart();
        const int startLine = reader.Line();
        const std::optional<int32_t> number = PeekHeaderNumber(line);
        // A number met before in this file: the record read then will be
        // written as it stands now, before the one read next.
        std::vector<TStringList> earlier;
        std::optional<Record> before;
        if (number && seen.Contains(*number))
            if (const Record* found = list.Find(*number)) {
                earlier = CopiesUpTo(*found, write);
                before = *found;
            }
        Record* parsed = nullptr;
        const int countBefore = list.Count();
        try {
            parsed = &readRecord(reader, line);
        } catch (const TLoadFailure&) {
            // One record the reader does not know must not cost the rest of
            // the file: its text is kept whole and the reading goes on.
            const int failedLine = reader.Line();
            if (number)
                list.TakeBackFailedRead(*number, std::move(before));
            reader.ReturnTo(start, startLine);
            const bool more = reader.SkipToLineStarting('#', line);
            TStringList text =
                reader.LinesBetween(start, more ? reader.LineStart() : reader.TextEnd());
            reader.NoteUnparsed(failedLine);
            if (!more)
                frame.Tail = SplitOffFromDollar(text);
            frame.Unparsed.push_back({lastRead, std::move(text), startLine, failedLine});
            atHeader = more;
            continue;
        }
        Record& record = *parsed;
        lastRead = record.VNum;
        record.Source.SetEarlierCopies(seen.Insert(record.VNum) ? std::vector<TStringList>{}
                                                                : std::move(earlier));
        const size_t bodyEnd = reader.LineStart();
        const bool more = StartsWith(line, '#') || reader.SkipToLineStarting('#', line);
        const size_t end = more ? reader.LineStart() : reader.TextEnd();
        if (more) {
            record.Trailer = reader.KeptBetween(bodyEnd, end);
        } else {
            TStringList trailer = reader.LinesBetween(bodyEnd, end);
            frame.Tail = SplitOffFromDollar(trailer);
            list.RememberFrame(ZoneOf(record.VNum), std::move(frame));
            record.Trailer = std::move(trailer);
        }
        TTextRange range;
        if (readBody && list.Count() > countBefore)
            range = reader.RangeBetween(start, bodyEnd);
        if (range && leaveUnread && record.Trailer.empty() &&
            record.Source.EarlierCopies().empty() && leaveUnread(record.VNum)) {
            // Nothing else needs it now: it is read again when first used.
            list.LeaveLastUnread(range);
        } else if (range) {
            // A fresh record: its text can be read again whenever it is
            // written, so nothing is composed now.
            record.Source.Range = std::move(range);
        } else {
            const TStringList ours = OurLines(record, write);
            // In our own files the lines are our writer's: nothing to keep,
            // and nothing copied to find that out.
            if (reader.LinesBetweenAre(start, bodyEnd, ours, ours.size() - record.Trailer.size())) {
                record.Source.Forget();
            } else {
                TStringList read = reader.LinesBetween(start, bodyEnd);
                read.insert(read.end(), record.Trailer.begin(), record.Trailer.end());
                record.Source.Remember(std::move(read), ours);
            }
        }
        atHeader = more;
        if (!more)
            return;
    }
    // The file ended in a record that could not be read, or held no record.
    std::optional<int32_t> zone = list.ReadingZone;
    if (!zone && lastRead)
        zone = ZoneOf(*lastRead);
    if (!zone && !frame.Unparsed.empty())
        if (const auto number = PeekHeaderNumber(frame.Unparsed.front().Lines.front()))
            zone = ZoneOf(*number);
    if (!frame.Unparsed.empty() && zone) {
        list.RememberFrame(*zone, std::move(frame));
    } else if (list.ReadingZone) {
        frame.Tail = SplitOffFromDollar(frame.Head);
        list.RememberFrame(*list.ReadingZone, std::move(frame));
    }
}

template <class T>
template <class Write>
void TRecordList<T>::ReadNumberedFile(TWorldReader& reader, TReadBody<T> readBody, Write write,
                                      const TLeaveUnread& leaveUnread) {
    readBody_ = readBody;
    ReadRecordFile<T>(
        reader, *this,
        [&](TWorldReader& in, std::string& line) -> T& {
            T& record = FindOrAdd(HeaderNumber(line));
            readBody(in, record, line);
            return record;
        },
        write, readBody, leaveUnread);
}

// Writes the records of `zone` in `list` to `path`; a failed write reports
// `failureUtf8` and returns false.
template <class List>
bool SaveZoneRecords(const List& list, const std::string& path, int32_t zone,
                     std::string_view failureUtf8) {
    TStringList lines;
    list.SaveToStrings(lines, zone);
    return SaveRecordFile(path, lines, failureUtf8, list.LineEndOf(zone));
}

// LoadWorldFile for a record file of `list`, which learns the file's zone.
template <class List, class Parse>
bool ReadRecordFileNamed(List& list, std::string_view kindWordUtf8, const std::string& path,
                         Parse parse) {
    list.ReadingZone = ZoneOfFileName(path);
    const bool loaded = LoadWorldFile(kindWordUtf8, path, parse);
    list.ReadingZone.reset();
    return loaded;
}
