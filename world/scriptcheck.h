#pragma once

// The trigger script language as the checks and the script editor see it:
// the commands a trigger of each attach kind may use (a table kept as data
// beside the vocabulary lists), the block words and how they pair, and the
// checks of one script. Standard library only; texts are Windows-1251.

#include "checks.h"

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <unordered_set>
#include <vector>

// Where a trigger is attached: its Model field.
enum class TAttachKind { Mob = 0, Obj = 1, Room = 2 };

// The language's commands by attach kind, read from the list file
// "ScriptCommands" of the program folder's lists.
class TScriptLanguage {
public:
    // Reads the table; nothing (and `error` says why) when the file cannot
    // be read or a line is not understood.
    static std::optional<TScriptLanguage> Load(const std::string& fileName, std::string* error);

    // Whether a trigger of `kind` may use `command` (the script line's first
    // word, as typed).
    bool Knows(std::string_view command, TAttachKind kind) const;
    // Whether `command` is a command of some attach kind at all.
    bool KnowsAnywhere(std::string_view command) const;
    // Whether some command of `kind` begins with `head` ("wech" of "wecho"):
    // the server runs a room's or an object's command cut short so.
    bool BeginsCommand(std::string_view head, TAttachKind kind) const;
    // The commands of `kind`, sorted, for completion and highlighting.
    std::vector<std::string> Commands(TAttachKind kind) const;

    // Whether the server gives a trigger of `kind` the variable `name`
    // (without its percent signs: "actor"); the table names them "%actor%".
    bool KnowsVariable(std::string_view name, TAttachKind kind) const;
    // The variables the server gives a trigger of `kind`, sorted, without
    // their percent signs.
    std::vector<std::string> Variables(TAttachKind kind) const;

private:
    struct TCommand {
        std::string Name; // lower case; a variable without its percent signs
        bool Kinds[3] = {false, false, false};
    };
    static const TCommand* Find(const std::vector<TCommand>& list, std::string_view name);
    static std::vector<std::string> Names(const std::vector<TCommand>& list, TAttachKind kind);
    std::vector<TCommand> commands_;  // sorted by name
    std::vector<TCommand> variables_; // sorted by name
};

// A block word's role: openers, their middles and their closers.
enum class TBlockRole { None, Open, Middle, Close };

// One word of a script line that takes part in a block: if/elseif/else/end,
// while/switch/foreach/done, case/default/break.
struct TBlockWord {
    int Line = 0; // 0-based line within the script
    TBlockRole Role = TBlockRole::None;
    std::string Word;
    int Partner = -1; // index in the result of the word it pairs with (the
                      // opener for middles and closers, the closer for openers)
};
// The block words of a script in order, paired where they pair. They are
// read as the server's script driver reads them: by the head of the line's
// first word where it compares only a head ("endif" is an end, "else x" an
// else, "break." a break), in any case; "*" lines are comments. An if pairs
// with its end apart from the loops (a while may close inside an if), which
// pair among themselves; a case or default belongs to the innermost loop
// when that is a switch, a break to the innermost loop of any kind.
std::vector<TBlockWord> ScriptBlocks(const std::vector<std::string>& lines);

// The lines of a trigger's script as the page shows them: its entries, each
// split at its line breaks (CR LF, LF or a lone CR).
std::vector<std::string> ScriptLines(const TStringList& text);

// A problem inside a script.
struct TScriptProblem {
    int Line = 0; // 0-based line within the script
    TSeverity Severity = TSeverity::Error;
    std::string Message; // Windows-1251
    // The workspace check's kind of it: one of the Script* kinds.
    TProblemKind Kind = TProblemKind::ScriptBlock;
    bool operator==(const TScriptProblem&) const = default;
};

// What a script may refer to beyond itself: the records of the workspace
// (for attach/detach/load of numbers it lacks). Without it, numbers are not
// checked; without a language, commands are not.
struct TScriptContext {
    const TWorldView* World = nullptr;
    const TScriptLanguage* Language = nullptr;
    // The variables some trigger of the workspace makes global or sends to
    // another record (ScriptSharedVariables): a script may read them without
    // setting them. Without it, such reads are warned about.
    const std::unordered_set<std::string>* Shared = nullptr;
};

// The names of the variables the workspace's scripts make global ("global",
// "worlds") or put into another record ("remote"), lower case.
std::unordered_set<std::string> ScriptSharedVariables(const TWorldView& world);

// The problems of one script of a trigger of `kind` and trigger types
// `flags` (the Flags field), in line order. Leans to silence: only what is
// surely wrong is an error. A mob's script may also use every game command
// the mob could type, so only another kind's script commands are errors
// there. Servers of this family differ in which trigger type gives which
// variable, so a variable the server gives any trigger of `kind` is taken
// as given.
std::vector<TScriptProblem> CheckScript(const std::vector<std::string>& lines, TAttachKind kind,
                                        std::string_view flags, const TScriptContext& context = {});
