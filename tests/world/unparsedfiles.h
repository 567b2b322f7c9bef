#pragma once

// Record files with records the reader cannot parse, one per record kind,
// written by our own writers: what the world tests and the editor's tests of
// such records share.

#include "world.h"
#include "worldview.h"

#include <algorithm>
#include <cctype>
#include <cstdint>
#include <ostream>
#include <string>
#include <vector>

namespace unparsedfiles {

// One record kind: its page (the TRecordType's value), its file and how the
// process-wide list makes, writes and reads a zone's records.
struct TKind {
    const char* Name;
    TRecordType Type;
    const char* Folder; // the workspace's kind folder
    const char* Extension;
    // Adds a record with a mark of its own (in its name, or its keeper's
    // number), to tell which of two records with one number a list holds.
    void (*Add)(int32_t vnum, int mark);
    std::string (*Mark)(int32_t vnum);
    TStringList (*Compose)(int32_t zone);
    bool (*Load)(const std::string& path);
    bool (*Save)(const std::string& path, int32_t zone);
};

inline void PrintTo(const TKind& kind, std::ostream* out) {
    *out << kind.Name;
}

template <class List> TStringList ComposeOf(const List& list, int32_t zone) {
    TStringList lines;
    list.SaveToStrings(lines, zone);
    return lines;
}

inline std::string Named(int mark) {
    return "record" + std::to_string(mark);
}

inline const std::vector<TKind>& Kinds() {
    static const std::vector<TKind> kinds = {
        {"Rooms", TRecordType::Room, "WLD", ".wld",
         [](int32_t vnum, int mark) { World.Rooms.AddNew(vnum).Name = Named(mark); },
         [](int32_t vnum) { return World.Rooms.Find(vnum)->Name; },
         [](int32_t zone) { return ComposeOf(World.Rooms, zone); },
         [](const std::string& path) { return World.Rooms.LoadFromFile(path); },
         [](const std::string& path, int32_t zone) { return World.Rooms.SaveToFile(path, zone); }},
        {"Objects", TRecordType::Obj, "OBJ", ".obj",
         [](int32_t vnum, int mark) { World.Objs.AddNew(vnum).Imen = Named(mark); },
         [](int32_t vnum) { return World.Objs.Find(vnum)->Imen; },
         [](int32_t zone) { return ComposeOf(World.Objs, zone); },
         [](const std::string& path) { return World.Objs.LoadFromFile(path); },
         [](const std::string& path, int32_t zone) { return World.Objs.SaveToFile(path, zone); }},
        {"Mobs", TRecordType::Mob, "MOB", ".mob",
         [](int32_t vnum, int mark) { World.Mobs.AddNew(vnum).Imen = Named(mark); },
         [](int32_t vnum) { return World.Mobs.Find(vnum)->Imen; },
         [](int32_t zone) { return ComposeOf(World.Mobs, zone); },
         [](const std::string& path) { return World.Mobs.LoadFromFile(path); },
         [](const std::string& path, int32_t zone) { return World.Mobs.SaveToFile(path, zone); }},
        {"Shops", TRecordType::Shop, "SHP", ".shp",
         [](int32_t vnum, int mark) { World.Shops.AddNew(vnum).Seller = mark; },
         [](int32_t vnum) { return std::to_string(World.Shops.Find(vnum)->Seller); },
         [](int32_t zone) { return ComposeOf(World.Shops, zone); },
         [](const std::string& path) { return World.Shops.LoadFromFile(path); },
         [](const std::string& path, int32_t zone) { return World.Shops.SaveToFile(path, zone); }},
        {"Triggers", TRecordType::Trigger, "TRG", ".trg",
         [](int32_t vnum, int mark) { World.Triggers.AddNew(vnum).Name = Named(mark); },
         [](int32_t vnum) { return World.Triggers.Find(vnum)->Name; },
         [](int32_t zone) { return ComposeOf(World.Triggers, zone); },
         [](const std::string& path) { return World.Triggers.LoadFromFile(path); },
         [](const std::string& path, int32_t zone) { return World.Triggers.SaveToFile(path, zone); }},
    };
    return kinds;
}

// The mark a record added with `mark` shows.
inline std::string MarkOf(const TKind& kind, int mark) {
    return kind.Type == TRecordType::Shop ? std::to_string(mark) : Named(mark);
}

// A file of zone 12 as our writer wrote records 1200, 1201 and 1202, then
// broken: a numeric line of 1201 (in the middle) spoilt, and after 1202
// another 1200 (the number of a record read, with another mark) spoilt the
// same way, the last record of the file.
struct TBrokenFile {
    TStringList Lines;
    size_t MiddleStart = 0, MiddleBad = 0; // 1201's header and its spoilt line
    size_t EndStart = 0, EndBad = 0;       // the copy's
    size_t TailStart = 0;                  // the end of the file ("$" lines)
};

inline bool IsHeader(const std::string& line) {
    return !line.empty() && line[0] == '#';
}
// The first line after a header at `start` that begins with a number:
// each of its words made "x", which no numeric field takes.
inline size_t Spoil(TStringList& lines, size_t start) {
    for (size_t i = start + 1; i < lines.size() && !IsHeader(lines[i]); ++i)
        if (!lines[i].empty() &&
            (std::isdigit(static_cast<unsigned char>(lines[i][0])) || lines[i][0] == '-')) {
            std::string spoilt;
            for (size_t c = 0; c < lines[i].size(); ++c)
                if (lines[i][c] == ' ')
                    spoilt += ' ';
                else if (c == 0 || lines[i][c - 1] == ' ')
                    spoilt += 'x';
            lines[i] = spoilt;
            return i;
        }
    return 0;
}

// Where the lines of the record numbered `vnum` begin, and where the first
// line after them beginning with `end` ("#" the next record, "$" the end).
// (Shops write "#1200 E~".)
inline size_t HeaderOf(const TStringList& lines, int32_t vnum) {
    const std::string number = "#" + std::to_string(vnum);
    return static_cast<size_t>(
        std::find_if(lines.begin(), lines.end(),
                     [&](const std::string& line) {
                         return line.starts_with(number) &&
                                (line.size() == number.size() ||
                                 !std::isdigit(static_cast<unsigned char>(line[number.size()])));
                     }) -
        lines.begin());
}
inline size_t NextStarting(const TStringList& lines, size_t after, char end) {
    size_t i = after + 1;
    while (i < lines.size() && (lines[i].empty() || lines[i][0] != end))
        ++i;
    return i;
}

inline TBrokenFile BreakFile(const TKind& kind) {
    World.Clear();
    kind.Add(1200, 9999);
    const TStringList other = kind.Compose(12);
    const size_t otherStart = HeaderOf(other, 1200);
    const TStringList copy(other.begin() + static_cast<long>(otherStart),
                           other.begin() + static_cast<long>(NextStarting(other, otherStart, '$')));
    World.Clear();
    for (const int32_t vnum : {1200, 1201, 1202})
        kind.Add(vnum, vnum);
    TBrokenFile file;
    TStringList& lines = file.Lines;
    lines = kind.Compose(12);
    World.Clear();
    file.MiddleStart = HeaderOf(lines, 1201);
    file.MiddleBad = Spoil(lines, file.MiddleStart);
    file.EndStart = NextStarting(lines, HeaderOf(lines, 1202), '$');
    lines.insert(lines.begin() + static_cast<long>(file.EndStart), copy.begin(), copy.end());
    file.EndBad = Spoil(lines, file.EndStart);
    file.TailStart = file.EndStart + copy.size();
    return file;
}

} // namespace unparsedfiles
