#include "scriptcheck.h"

#include "serverrules.h"
#include "worldfile.h"

#include <algorithm>
#include <cctype>
#include <map>

namespace {

constexpr std::string_view kBlanks = " \t\r\n";

std::string_view Trimmed(std::string_view text) {
    const size_t first = text.find_first_not_of(kBlanks);
    if (first == std::string_view::npos)
        return {};
    return text.substr(first, text.find_last_not_of(kBlanks) - first + 1);
}

// Latin letters in lower case; the server compares its words so, and the
// Windows-1251 letters of other words are left as they are.
std::string Lower(std::string_view text) {
    std::string lower(text);
    for (char& c : lower)
        if (c >= 'A' && c <= 'Z')
            c = static_cast<char>(c - 'A' + 'a');
    return lower;
}

bool StartsWithText(std::string_view text, std::string_view head) {
    return text.substr(0, head.size()) == head;
}

// A script line cut into its first word and what follows it, both trimmed.
struct TScriptLine {
    std::string_view Command; // as typed
    std::string Lower;        // the command in lower case
    std::string_view Rest;
    bool Comment = false; // a "*" line
    bool Empty() const { return Command.empty(); }
};

TScriptLine CutLine(std::string_view line) {
    TScriptLine cut;
    const std::string_view text = Trimmed(line);
    if (text.empty())
        return cut;
    if (text[0] == '*') {
        cut.Comment = true;
        return cut;
    }
    const size_t end = std::min(text.find_first_of(kBlanks), text.size());
    cut.Command = text.substr(0, end);
    cut.Lower = Lower(cut.Command);
    cut.Rest = Trimmed(text.substr(end));
    return cut;
}

// The first word of `text` and the text after it.
std::string_view FirstWord(std::string_view text, std::string_view* rest = nullptr) {
    text = Trimmed(text);
    const size_t end = std::min(text.find_first_of(kBlanks), text.size());
    if (rest)
        *rest = Trimmed(text.substr(end));
    return text.substr(0, end);
}

// The block words, recognised as the server's script driver does: by the
// head of the line's first word where it compares only a head ("endif" ends
// an "if", "else anything" is an else).
enum class TBlock {
    None,
    If,
    ElseIf,
    Else,
    End,
    While,
    Switch,
    Foreach,
    Done,
    Case,
    Default,
    Break
};

TBlock BlockOf(std::string_view lower) {
    if (lower == "if")
        return TBlock::If;
    if (lower == "elseif")
        return TBlock::ElseIf;
    if (StartsWithText(lower, "else"))
        return TBlock::Else;
    if (StartsWithText(lower, "end"))
        return TBlock::End;
    if (lower == "while")
        return TBlock::While;
    if (lower == "switch")
        return TBlock::Switch;
    if (lower == "foreach")
        return TBlock::Foreach;
    if (StartsWithText(lower, "done"))
        return TBlock::Done;
    if (StartsWithText(lower, "case"))
        return TBlock::Case;
    if (StartsWithText(lower, "default"))
        return TBlock::Default;
    if (StartsWithText(lower, "break"))
        return TBlock::Break;
    return TBlock::None;
}

TBlockRole RoleOf(TBlock block) {
    switch (block) {
    case TBlock::If:
    case TBlock::While:
    case TBlock::Switch:
    case TBlock::Foreach:
        return TBlockRole::Open;
    case TBlock::End:
    case TBlock::Done:
        return TBlockRole::Close;
    case TBlock::None:
        return TBlockRole::None;
    default:
        return TBlockRole::Middle;
    }
}

std::string Quoted(std::string_view word) {
    return Msg("«") + std::string(word) + Msg("»");
}

// The message of a block word that pairs with nothing.
std::string UnpairedMessage(TBlock block, std::string_view word) {
    switch (block) {
    case TBlock::If:
        return Quoted(word) + Msg(" не закрыт: нет его «end»");
    case TBlock::While:
    case TBlock::Switch:
    case TBlock::Foreach:
        return Quoted(word) + Msg(" не закрыт: нет его «done»");
    case TBlock::End:
        return Quoted(word) + Msg(" без «if»: закрывать нечего");
    case TBlock::Done:
        return Quoted(word) + Msg(" без «while», «switch» или «foreach»: закрывать нечего");
    case TBlock::ElseIf:
    case TBlock::Else:
        return Quoted(word) + Msg(" вне блока «if»");
    case TBlock::Case:
    case TBlock::Default:
        return Quoted(word) + Msg(" вне «switch»");
    default:
        return Quoted(word) + Msg(" вне «switch», «while» и «foreach»");
    }
}

const char* const kKindNames[3] = {"моба", "предмета", "комнаты"};

std::string KindsText(const bool kinds[3]) {
    std::string text;
    for (int kind = 0; kind < 3; ++kind)
        if (kinds[kind])
            text += (text.empty() ? "" : Msg(" и ")) + Msg(kKindNames[kind]);
    return text;
}

// Reads the %references% of a line: each one's variable name (lower case),
// through the fields and the arguments that may hold references themselves
// ("%self.hitp(%self.maxhitp%)%"). "%%" is a percent sign.
class TReferenceReader {
public:
    explicit TReferenceReader(std::string_view text) : text_(text) {}

    std::vector<std::string> Names() {
        while (at_ < text_.size())
            if (text_[at_] == '%')
                Reference();
            else
                ++at_;
        return std::move(names_);
    }

private:
    static bool NameChar(char c) { return std::isalnum(static_cast<unsigned char>(c)) || c == '_'; }

    void Reference() {
        ++at_; // the opening percent sign
        if (at_ < text_.size() && text_[at_] == '%') {
            ++at_;
            return;
        }
        const size_t start = at_;
        while (at_ < text_.size() && NameChar(text_[at_]))
            ++at_;
        if (at_ == start || std::isdigit(static_cast<unsigned char>(text_[start])))
            return;
        names_.push_back(Lower(text_.substr(start, at_ - start)));
        // Its fields and their arguments, up to the closing percent sign.
        while (at_ < text_.size()) {
            const char c = text_[at_];
            if (c == '%') {
                ++at_;
                return;
            }
            if (c == '(')
                Arguments();
            else if (c == ' ' || c == '\t')
                return; // no closing sign: the server takes it as text
            else
                ++at_;
        }
    }

    void Arguments() {
        ++at_;
        while (at_ < text_.size() && text_[at_] != ')')
            if (text_[at_] == '%')
                Reference();
            else
                ++at_;
        if (at_ < text_.size())
            ++at_;
    }

    std::string_view text_;
    size_t at_ = 0;
    std::vector<std::string> names_;
};

// The commands that set the variable named by their first argument.
bool SetsVariable(std::string_view lower) {
    return lower == "set" || lower == "eval" || lower == "calcuid" || lower == "makeuid" ||
           lower == "foreach" || lower == "extract" || lower == "global" || lower == "worlds";
}

// The commands that load a mob or an object: "mload obj 1201".
bool LoadsRecord(std::string_view lower) {
    return lower == "mload" || lower == "oload" || lower == "wload" || lower == "%load%";
}

// The checks of one script, line by line.
class TScriptChecker {
public:
    TScriptChecker(const std::vector<std::string>& lines, TAttachKind kind,
                   const TScriptContext& context)
        : lines_(lines), kind_(kind), context_(context) {}

    std::vector<TScriptProblem> Run() {
        CheckBlocks();
        for (size_t i = 0; i < lines_.size(); ++i) {
            const TScriptLine line = CutLine(lines_[i]);
            if (line.Empty())
                continue;
            const int number = static_cast<int>(i);
            CheckCommand(number, line);
            if (line.Lower == "wait")
                CheckWait(number, line.Rest);
            if (context_.World)
                CheckReferences(number, line);
            GatherVariables(number, line);
        }
        CheckVariables();
        std::stable_sort(
            out_.begin(), out_.end(),
            [](const TScriptProblem& a, const TScriptProblem& b) { return a.Line < b.Line; });
        return std::move(out_);
    }

private:
    void Add(int line, TSeverity severity, TProblemKind kind, std::string message) {
        out_.push_back({line, severity, std::move(message), kind});
    }

    void CheckBlocks() {
        for (const TBlockWord& word : ScriptBlocks(lines_))
            if (word.Partner < 0)
                Add(word.Line, TSeverity::Error, TProblemKind::ScriptBlock,
                    UnpairedMessage(BlockOf(Lower(word.Word)), word.Word));
    }

    // Whether a room's or an object's trigger may use `lower`: the server
    // takes the first of its commands that the word begins, so a command cut
    // short works as well.
    bool Runs(const std::string& lower) const {
        return context_.Language->Knows(lower, kind_) ||
               context_.Language->BeginsCommand(lower, kind_);
    }

    void CheckCommand(int number, const TScriptLine& line) {
        if (!context_.Language || line.Comment || BlockOf(line.Lower) != TBlock::None)
            return;
        // What a variable holds is known only when the script runs.
        if (line.Command.find('%') != std::string_view::npos)
            return;
        const TScriptLanguage& language = *context_.Language;
        // A mob's script also types the game's commands, in any language.
        if (kind_ == TAttachKind::Mob
                ? language.Knows(line.Lower, kind_) || !language.KnowsAnywhere(line.Lower)
                : Runs(line.Lower))
            return;
        bool kinds[3] = {false, false, false};
        for (const TAttachKind other : {TAttachKind::Mob, TAttachKind::Obj, TAttachKind::Room})
            kinds[static_cast<int>(other)] = language.Knows(line.Lower, other);
        const std::string own = Msg(kKindNames[static_cast<int>(kind_)]);
        Add(number, TSeverity::Error, TProblemKind::ScriptCommand,
            language.KnowsAnywhere(line.Lower)
                ? Quoted(line.Command) + Msg(" — команда триггеров ") + KindsText(kinds) +
                      Msg(", в триггере ") + own + Msg(" её нет")
                : Msg("Неизвестная команда ") + Quoted(line.Command));
    }

    // A number of beats, with a unit or not ("5", "2s", "1 t"), a time of
    // day ("until 12:00") or a variable that holds one.
    void CheckWait(int number, std::string_view time) {
        if (time.empty()) {
            Add(number, TSeverity::Error, TProblemKind::ScriptWait, Msg("«wait» без времени"));
            return;
        }
        const bool until = StartsWithText(Lower(time), "until") && time.size() > 5;
        if (std::isdigit(static_cast<unsigned char>(time[0])) || until ||
            time.find('%') != std::string_view::npos)
            return;
        Add(number, TSeverity::Error, TProblemKind::ScriptWait,
            Msg("«wait»: ") + Quoted(time) +
                Msg(" — не время (число, «5s», «until 12:00» или переменная)"));
    }

    // A record of the number that a zone of the workspace would hold but
    // does not; the zones it lacks may hold it on the server.
    bool Missing(TRecordType kind, std::string_view word) const {
        if (!IsDecimal(word) || word.size() > 9)
            return false;
        const int32_t vnum = ToInt32(word);
        if (kind == TRecordType::Room && IsServerRoom(vnum))
            return false;
        return !RecordExists(*context_.World, kind, vnum) &&
               FindZone(*context_.World, ZoneOf(vnum)) != nullptr;
    }

    void ReportMissing(int number, const TScriptLine& line, TRecordType kind,
                       std::string_view word) {
        if (Missing(kind, word))
            Add(number, TSeverity::Error, TProblemKind::ScriptReference,
                Quoted(line.Command) + Msg(": нет ") + RecordTypeGenitive(kind) + " " +
                    std::string(word));
    }

    static std::string RecordTypeGenitive(TRecordType kind) {
        switch (kind) {
        case TRecordType::Trigger:
            return Msg("триггера");
        case TRecordType::Mob:
            return Msg("моба");
        case TRecordType::Obj:
            return Msg("объекта");
        default:
            return Msg("комнаты");
        }
    }

    static std::optional<TRecordType> KindWord(std::string_view word) {
        const std::string lower = Lower(word);
        if (lower == "mob")
            return TRecordType::Mob;
        if (lower == "obj")
            return TRecordType::Obj;
        if (lower == "room")
            return TRecordType::Room;
        return std::nullopt;
    }

    void CheckReferences(int number, const TScriptLine& line) {
        std::string_view rest;
        const std::string_view first = FirstWord(line.Rest, &rest);
        if (line.Lower == "attach" || line.Lower == "detach") {
            ReportMissing(number, line, TRecordType::Trigger, first);
        } else if (LoadsRecord(line.Lower)) {
            const auto kind = KindWord(first);
            if (kind && *kind != TRecordType::Room)
                ReportMissing(number, line, *kind, FirstWord(rest));
        } else if (line.Lower == "calcuid") {
            std::string_view kindWord;
            const std::string_view vnum = FirstWord(rest, &kindWord);
            if (const auto kind = KindWord(FirstWord(kindWord)))
                ReportMissing(number, line, *kind, vnum);
        }
    }

    void GatherVariables(int number, const TScriptLine& line) {
        if (line.Comment)
            return;
        if (SetsVariable(line.Lower)) {
            const std::string_view name = FirstWord(line.Rest);
            // A name made while the script runs: what it sets is unknown.
            if (name.find('%') != std::string_view::npos)
                dynamicNames_ = true;
            else
                set_.insert(Lower(name));
        }
        const std::string_view text = Trimmed(lines_[static_cast<size_t>(number)]);
        for (std::string& name : TReferenceReader(text).Names())
            used_.emplace(std::move(name), number); // the first use stays
    }

    void CheckVariables() {
        if (!context_.Language || dynamicNames_)
            return;
        for (const auto& [name, line] : used_) {
            if (set_.contains(name) || context_.Language->KnowsVariable(name, kind_) ||
                (context_.Shared && context_.Shared->contains(name)))
                continue;
            Add(line, TSeverity::Warning, TProblemKind::ScriptVariable,
                Msg("Переменная %") + name +
                    Msg("% в триггере не задаётся, и сервер такой не даёт"));
        }
    }

    const std::vector<std::string>& lines_;
    const TAttachKind kind_;
    const TScriptContext& context_;
    std::unordered_set<std::string> set_;
    std::map<std::string, int> used_; // name, first line
    bool dynamicNames_ = false;
    std::vector<TScriptProblem> out_;
};

} // namespace

const TScriptLanguage::TCommand* TScriptLanguage::Find(const std::vector<TCommand>& list,
                                                       std::string_view name) {
    const std::string lower = Lower(name);
    const auto at = std::lower_bound(
        list.begin(), list.end(), lower,
        [](const TCommand& command, const std::string& key) { return command.Name < key; });
    return at != list.end() && at->Name == lower ? &*at : nullptr;
}

std::vector<std::string> TScriptLanguage::Names(const std::vector<TCommand>& list,
                                                TAttachKind kind) {
    std::vector<std::string> names;
    for (const TCommand& command : list)
        if (command.Kinds[static_cast<int>(kind)])
            names.push_back(command.Name);
    return names;
}

std::optional<TScriptLanguage> TScriptLanguage::Load(const std::string& fileName,
                                                     std::string* error) {
    const auto fail = [&](const std::string& why) -> std::optional<TScriptLanguage> {
        if (error)
            *error = why;
        return std::nullopt;
    };
    std::string bytes;
    if (!ReadFileBytes(fileName, bytes))
        return fail(Msg("Не могу открыть файл ") + Msg(fileName));
    TScriptLanguage language;
    int number = 0;
    for (const std::string& line : SplitScriptEntry(bytes)) {
        ++number;
        if (Trimmed(line).empty() || line[0] == '*')
            continue;
        const std::string name = WordTab(1, line);
        const std::string kinds = WordTab(2, line);
        TCommand command{Lower(name)};
        bool valid = !name.empty() && !kinds.empty();
        for (const char kind : kinds) {
            valid = valid && kind >= '0' && kind <= '2';
            if (valid)
                command.Kinds[kind - '0'] = true;
        }
        if (!valid)
            return fail(Msg(fileName) + Msg(", строка ") + std::to_string(number) +
                        Msg(": нужны команда и её классы триггеров (0, 1, 2)"));
        const bool variable = name.size() > 2 && name.front() == '%' && name.back() == '%';
        if (variable)
            command.Name = command.Name.substr(1, command.Name.size() - 2);
        (variable ? language.variables_ : language.commands_).push_back(std::move(command));
    }
    for (auto* list : {&language.commands_, &language.variables_})
        std::sort(list->begin(), list->end(),
                  [](const TCommand& a, const TCommand& b) { return a.Name < b.Name; });
    return language;
}

bool TScriptLanguage::Knows(std::string_view command, TAttachKind kind) const {
    const TCommand* found = Find(commands_, command);
    return found && found->Kinds[static_cast<int>(kind)];
}

bool TScriptLanguage::KnowsAnywhere(std::string_view command) const {
    return Find(commands_, command) != nullptr;
}

bool TScriptLanguage::BeginsCommand(std::string_view head, TAttachKind kind) const {
    const std::string lower = Lower(head);
    for (auto at = std::lower_bound(
             commands_.begin(), commands_.end(), lower,
             [](const TCommand&command, const std::string&key) { return command.Name < key; });
         at != commands_.end() && StartsWithText(at->Name, lower); ++at)
        if (at->Kinds[static_cast<int>(kind)])
            return true;
    return false;
}

std::vector<std::string> TScriptLanguage::Commands(TAttachKind kind) const {
    return Names(commands_, kind);
}

bool TScriptLanguage::KnowsVariable(std::string_view name, TAttachKind kind) const {
    const TCommand* found = Find(variables_, name);
    return found && found->Kinds[static_cast<int>(kind)];
}

std::vector<std::string> TScriptLanguage::Variables(TAttachKind kind) const {
    return Names(variables_, kind);
}

std::vector<std::string> ScriptLines(const TStringList& text) {
    std::vector<std::string> lines;
    for (const std::string& entry : text)
        for (std::string& line : SplitScriptEntry(entry))
            lines.push_back(std::move(line));
    return lines;
}

std::vector<TBlockWord> ScriptBlocks(const std::vector<std::string>& lines) {
    std::vector<TBlockWord> words;
    // The open blocks: the server pairs if/end apart from the loops and the
    // switches with their done, so each has its own stack.
    std::vector<int> ifs;
    std::vector<std::pair<int, TBlock>> loops;
    const auto pair = [&words](int opener, int closer) {
        words[static_cast<size_t>(closer)].Partner = opener;
        words[static_cast<size_t>(opener)].Partner = closer;
    };
    for (size_t i = 0; i < lines.size(); ++i) {
        const TScriptLine line = CutLine(lines[i]);
        const TBlock block = line.Comment ? TBlock::None : BlockOf(line.Lower);
        if (block == TBlock::None)
            continue;
        const int index = static_cast<int>(words.size());
        words.push_back({static_cast<int>(i), RoleOf(block), std::string(line.Command), -1});
        TBlockWord& word = words.back();
        switch (block) {
        case TBlock::If:
            ifs.push_back(index);
            break;
        case TBlock::ElseIf:
        case TBlock::Else:
            if (!ifs.empty())
                word.Partner = ifs.back();
            break;
        case TBlock::End:
            if (!ifs.empty()) {
                pair(ifs.back(), index);
                ifs.pop_back();
            }
            break;
        case TBlock::While:
        case TBlock::Switch:
        case TBlock::Foreach:
            loops.emplace_back(index, block);
            break;
        case TBlock::Done:
            if (!loops.empty()) {
                pair(loops.back().first, index);
                loops.pop_back();
            }
            break;
        case TBlock::Case:
        case TBlock::Default:
            if (!loops.empty() && loops.back().second == TBlock::Switch)
                word.Partner = loops.back().first;
            break;
        default: // break leaves the innermost loop or switch
            if (!loops.empty())
                word.Partner = loops.back().first;
            break;
        }
    }
    return words;
}

std::unordered_set<std::string> ScriptSharedVariables(const TWorldView& world) {
    std::unordered_set<std::string> shared;
    for (const auto& trigger : world.Triggers)
        for (const std::string& entry : trigger->Text)
            for (const std::string& text : SplitScriptEntry(entry)) {
                const TScriptLine line = CutLine(text);
                if (line.Lower == "global" || line.Lower == "worlds") {
                    std::string_view rest = line.Rest;
                    while (!rest.empty())
                        shared.insert(Lower(FirstWord(rest, &rest)));
                } else if (line.Lower == "remote") {
                    shared.insert(Lower(FirstWord(line.Rest)));
                }
            }
    return shared;
}

std::vector<TScriptProblem> CheckScript(const std::vector<std::string>& lines, TAttachKind kind,
                                        std::string_view /*flags*/, const TScriptContext& context) {
    return TScriptChecker(lines, kind, context).Run();
}
