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

// One record kind: its page (the TRecordType's value), its file and how a
// world's list of the kind makes, writes and reads a zone's records.
struct TKind {
    const char* Name;
    TRecordType Type;
    const char* Folder; // the workspace's kind folder
    const char* Extension;
    // Adds a record with a mark of its own (in its name, or its keeper's
    // number), to tell which of two records with one number a list holds.
    void (*Add)(TWorld& world, int32_t vnum, int mark);
    std::string (*Mark)(const TWorld& world, int32_t vnum);
    TStringList (*Compose)(const TWorld& world, int32_t zone);
    bool (*Load)(TWorld& world, const std::string& path);
    bool (*Save)(const TWorld& world, const std::string& path, int32_t zone);
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
         [](TWorld& world, int32_t vnum, int mark) { world.Rooms.AddNew(vnum).Name = Named(mark); },
         [](const TWorld& world, int32_t vnum) { return world.Rooms.Find(vnum)->Name.Str(); },
         [](const TWorld& world, int32_t zone) { return ComposeOf(world.Rooms, zone); },
         [](TWorld& world, const std::string& path) { return world.Rooms.LoadFromFile(path); },
         [](const TWorld& world, const std::string& path, int32_t zone) {
             return world.Rooms.SaveToFile(path, zone);
         }},
        {"Objects", TRecordType::Obj, "OBJ", ".obj",
         [](TWorld& world, int32_t vnum, int mark) { world.Objs.AddNew(vnum).Imen = Named(mark); },
         [](const TWorld& world, int32_t vnum) { return world.Objs.Find(vnum)->Imen.Str(); },
         [](const TWorld& world, int32_t zone) { return ComposeOf(world.Objs, zone); },
         [](TWorld& world, const std::string& path) { return world.Objs.LoadFromFile(path); },
         [](const TWorld& world, const std::string& path, int32_t zone) {
             return world.Objs.SaveToFile(path, zone);
         }},
        {"Mobs", TRecordType::Mob, "MOB", ".mob",
         [](TWorld& world, int32_t vnum, int mark) { world.Mobs.AddNew(vnum).Imen = Named(mark); },
         [](const TWorld& world, int32_t vnum) { return world.Mobs.Find(vnum)->Imen.Str(); },
         [](const TWorld& world, int32_t zone) { return ComposeOf(world.Mobs, zone); },
         [](TWorld& world, const std::string& path) { return world.Mobs.LoadFromFile(path); },
         [](const TWorld& world, const std::string& path, int32_t zone) {
             return world.Mobs.SaveToFile(path, zone);
         }},
        {"Shops", TRecordType::Shop, "SHP", ".shp",
         [](TWorld& world, int32_t vnum, int mark) { world.Shops.AddNew(vnum).Seller = mark; },
         [](const TWorld& world, int32_t vnum) {
             return std::to_string(world.Shops.Find(vnum)->Seller);
         },
         [](const TWorld& world, int32_t zone) { return ComposeOf(world.Shops, zone); },
         [](TWorld& world, const std::string& path) { return world.Shops.LoadFromFile(path); },
         [](const TWorld& world, const std::string& path, int32_t zone) {
             return world.Shops.SaveToFile(path, zone);
         }},
        {"Triggers", TRecordType::Trigger, "TRG", ".trg",
         [](TWorld& world, int32_t vnum, int mark) {
             world.Triggers.AddNew(vnum).Name = Named(mark);
         },
         [](const TWorld& world, int32_t vnum) { return world.Triggers.Find(vnum)->Name.Str(); },
         [](const TWorld& world, int32_t zone) { return ComposeOf(world.Triggers, zone); },
         [](TWorld& world, const std::string& path) { return world.Triggers.LoadFromFile(path); },
         [](const TWorld& world, const std::string& path, int32_t zone) {
             return world.Triggers.SaveToFile(path, zone);
         }},
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

// The records are made in a world of the function's own, so that whatever
// world the test reads the file into starts without them.
inline TBrokenFile BreakFile(const TKind& kind) {
    TWorld world;
    kind.Add(world, 1200, 9999);
    const TStringList other = kind.Compose(world, 12);
    const size_t otherStart = HeaderOf(other, 1200);
    const TStringList copy(other.begin() + static_cast<long>(otherStart),
                           other.begin() + static_cast<long>(NextStarting(other, otherStart, '$')));
    world.Clear();
    for (const int32_t vnum : {1200, 1201, 1202})
        kind.Add(world, vnum, vnum);
    TBrokenFile file;
    TStringList& lines = file.Lines;
    lines = kind.Compose(world, 12);
    file.MiddleStart = HeaderOf(lines, 1201);
    file.MiddleBad = Spoil(lines, file.MiddleStart);
    file.EndStart = NextStarting(lines, HeaderOf(lines, 1202), '$');
    lines.insert(lines.begin() + static_cast<long>(file.EndStart), copy.begin(), copy.end());
    file.EndBad = Spoil(lines, file.EndStart);
    file.TailStart = file.EndStart + copy.size();
    return file;
}

} // namespace unparsedfiles
