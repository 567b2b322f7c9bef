#pragma once

// The consistency checks of a workspace: what in a zone is broken or odd,
// each problem a record of its own, so that the editor can list them and
// open the record, and a server's build can refuse a broken world.

#include "worldview.h"

#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <unordered_set>
#include <vector>

// An error breaks what the server loads (a missing room, a key that is no
// key); a warning is legal but most likely not meant (a one-way exit).
enum class TSeverity { Error, Warning };

enum class TProblemKind {
    UnknownPlacedMob,   // a reset places a mob that does not exist
    RoomLimitOverWorld, // a mob's room limit above its world limit
    UnpairedExit,       // the room an exit leads to does not lead back
    ExitToMissingRoom,  // an exit into a loaded zone's room that does not exist
    ExitToRoomZero,     // an exit block leading to room 0
    BadKey,             // a door key that does not exist or is no key
    UnknownResetRecord, // any other reset naming a mob or object that does not exist
    NotAContainer,      // an object put into an object that is no container
    BadTrigger,         // an attached trigger that does not exist or is of another class
    BadShop,            // a shop's keeper, goods or rooms that do not exist
    KeeperNotInShop,    // a shop's keeper placed in none of its rooms
    BadRoute,           // a mob route through a room that does not exist
    DuplicateNumber,    // two records of one kind with one number in a file
    DeadRoom,           // a room with no exit and no way in
    LimitBelowResets,   // a world limit below the number of resets that load it
    // The server's own rules (serverrules.h): content that stops it at boot
    // or that it reports there.
    ServerRoom,    // a room at offset 99, the server's own room of each zone
    TooManyRooms,  // a zone's room file with more rooms than the server reads
    OverfullDrink, // a drink container or fountain holding more than it takes
    UnknownSpell,  // a potion, scroll, wand or staff casting a spell no list names
    UnparsedRecord, // a record the reader could not parse, kept as its text
    // Inside a trigger's script (scriptcheck.h), each at a line of it.
    ScriptBlock,     // if/end, while/switch/foreach/done, case/break that do not pair
    ScriptCommand,   // a command the language lacks or another attach kind's
    ScriptWait,      // "wait" without a time it can wait
    ScriptReference, // attach/detach/load/calcuid of a record the workspace lacks
    ScriptVariable,  // a variable read but never set
};
inline constexpr int kProblemKindCount = 25;

struct TProblem {
    TProblemKind Kind;
    TSeverity Severity;
    int32_t Zone;       // the zone of the record
    TRecordType Record; // the record the problem is in
    int32_t VNum;
    std::string Message; // Windows-1251
    // A record not read (UnparsedRecord): its place among the records not
    // read of its file (UnparsedRecords), since its number may be a record's
    // read; -1 for every other problem.
    int Unparsed = -1;
    // A problem inside a trigger's script: its 0-based line there (as the
    // trigger page numbers them from 1); -1 for every other problem.
    int Line = -1;
    bool operator==(const TProblem&) const = default;
};

// A short name of each kind for tool output: "unpaired-exit", ...
const char* ProblemKindTag(TProblemKind kind);
// "ошибка", "предупреждение" (Windows-1251).
std::string SeverityName(TSeverity severity);

class TScriptLanguage;

// The codes the vocabulary lists name where a record must use one of them:
// the spells of "Spells". Without the list, spell numbers are not checked.
// The script language of "ScriptCommands": without it, trigger scripts are
// checked only for their blocks and waits.
struct TNamedCodes {
    std::optional<std::unordered_set<int32_t>> Spells;
    std::shared_ptr<const TScriptLanguage> Script;
};

// The record a problem is in: its number ("1205"); for a record not read,
// its header's number or the header itself ("#1x0"); for a script's line,
// the number and the line from 1 ("1205, строка 7") (Windows-1251).
std::string ProblemRecordName(const TWorldView& world, const TProblem& problem);
// The same as the problems window shows it: "Комната 1201 (Зал)", "Комната
// 1205 (не прочитана)", "Триггер 1205 (Встреча), строка 7" (Windows-1251).
std::string ProblemCaption(const TWorldView& world, const TProblem& problem);

// The problems of the records of one zone (with references from and counts
// over the whole workspace), or of every zone; ordered by zone, record kind,
// number and then as found.
std::vector<TProblem> CheckWorld(const TWorldView& world, std::optional<int32_t> zone = {},
                                 const TNamedCodes& named = {});
