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
    // The commands of `kind`, sorted, for completion and highlighting.
    std::vector<std::string> Commands(TAttachKind kind) const;

private:
    struct TCommand {
        std::string Name;
        bool Kinds[3] = {false, false, false};
    };
    std::vector<TCommand> commands_;
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
// The block words of a script in order, paired where they pair.
std::vector<TBlockWord> ScriptBlocks(const std::vector<std::string>& lines);

// A problem inside a script.
struct TScriptProblem {
    int Line = 0; // 0-based line within the script
    TSeverity Severity = TSeverity::Error;
    std::string Message; // Windows-1251
    bool operator==(const TScriptProblem&) const = default;
};

// What a script may refer to beyond itself: the records of the workspace
// (for attach/detach/load of numbers it lacks). Without it, numbers are not
// checked; without a language, commands are not.
struct TScriptContext {
    const TWorldView* World = nullptr;
    const TScriptLanguage* Language = nullptr;
};

// The problems of one script of a trigger of `kind` and trigger types
// `flags` (the Flags field), in line order. Leans to silence: only what is
// surely wrong is an error.
std::vector<TScriptProblem> CheckScript(const std::vector<std::string>& lines, TAttachKind kind,
                                        std::string_view flags, const TScriptContext& context = {});
