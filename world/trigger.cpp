#include "trigger.h"

#include "recordkinds.h"
#include "strutils.h"

namespace {

// The flag word of a trigger line. The older form has one letter per flag
// ("bf"); it is recognised by a single character or a second character that is
// not a plane digit, and gets plane 0 after every letter ("b0f0").
std::string TriggerFlags(const std::string& word) {
    std::string flags = FlagWord(word);
    if (flags.size() == 1 || (flags.size() > 1 && static_cast<unsigned char>(flags[1]) > '9'))
        flags = PlaneZeroFlags(flags);
    return flags;
}

void ReadTrigger(TWorldReader& reader, TTrigger& trigger) {
    trigger.Name = reader.ReadLineWithoutLast();
    const std::string line = reader.ReadLine();
    trigger.Model = ToInt16(Word(1, line));
    trigger.Flags = TriggerFlags(Word(2, line));
    trigger.NumParam = ToInt32(Word(3, line));
    trigger.StrParam = reader.ReadLineWithoutLast();
    trigger.Text.clear();
    ReadTildeText(reader, trigger.Text);
}

// Appends the lines of one script entry: the page keeps the whole script as a
// single entry with line breaks inside, and each of those becomes a line.
void WriteScriptEntry(TStringList& lines, const std::string& entry) {
    for (const std::string& line : SplitScriptEntry(entry))
        lines.push_back(OpenTextLine(line));
}

} // namespace

std::vector<std::string> SplitScriptEntry(std::string_view entry) {
    std::vector<std::string> lines;
    size_t start = 0;
    for (;;) {
        const size_t stop = entry.find_first_of("\r\n", start);
        if (stop == std::string_view::npos) {
            lines.emplace_back(entry.substr(start));
            return lines;
        }
        lines.emplace_back(entry.substr(start, stop - start));
        start = stop + 1;
        if (entry[stop] == '\r' && start < entry.size() && entry[start] == '\n')
            ++start;
    }
}

void TTrigger::Assign(const TTrigger& source) {
    if (this == &source)
        return;
    const int32_t vnum = VNum;
    *this = source;
    VNum = vnum;
    Source.Forget(); // a copy was never read from a file
}

bool TTriggerList::LoadFromFile(const std::string& fileName) {
    return ReadRecordFileNamed(*this, WorldKind(TRecordType::Trigger).LoadWord, fileName,
                               [&](TWorldReader& reader) { ReadTriggers(reader); });
}

void TTriggerList::ReadTriggers(TWorldReader& reader) {
    ReadNumberedFile(reader, ReadTriggerBody, WriteTrigger);
}

void TTriggerList::ReadTriggerBody(TWorldReader& reader, TTrigger& trigger, std::string& line) {
    ReadTrigger(reader, trigger);
    line = reader.ReadLine();
}

void TTriggerList::WriteTrigger(const TTrigger& trigger, TStringList& lines) {
    lines.push_back(Format("#%d", trigger.VNum));
    lines.push_back(trigger.Name + "~");
    lines.push_back(
        Format("%d %s %d", trigger.Model, FlagText(trigger.Flags).c_str(), trigger.NumParam));
    lines.push_back(trigger.StrParam + "~");
    for (const auto& entry : trigger.Text)
        WriteScriptEntry(lines, entry);
    lines.emplace_back("~");
}

void TTriggerList::SaveToStrings(TStringList& lines, int32_t zone) const {
    ComposeZoneFile(lines, zone, {"* Velmora trigger file v1.0"}, {"$", "$"}, WriteTrigger,
                    ReadTriggerBody);
}

bool TTriggerList::SaveToFile(const std::string& fileName, int32_t zone) const {
    return SaveZoneRecords(*this, fileName, zone, WorldKind(TRecordType::Trigger).SaveFailure);
}
