#pragma once

#include "recordlist.h"

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

class TTrigger {
public:
    explicit TTrigger(int32_t vnum) : VNum(vnum) {}

    void Assign(const TTrigger& source);
    const TCompactString& CaptionName() const { return Name; }

    int32_t VNum;
    TCompactString Name;
    int16_t Model = 0; // 0 mob, 1 object, 2 room trigger (other files also -1)
    TCompactString Flags;
    int32_t NumParam = 0;
    TCompactString StrParam;
    // An entry may hold several lines joined by CR LF (the page stores the
    // edited script as one entry).
    TTextLines Text;

    TSparseLines Trailer; // lines after the record, kept as read
    TSourceText Source;  // the text the record was read from
};

// The lines of one script entry, split at its line breaks (CR LF, LF or a
// lone CR); an entry without any is one line.
std::vector<std::string> SplitScriptEntry(std::string_view entry);

class TTriggerList : public TRecordList<TTrigger> {
public:
    bool LoadFromFile(const std::string& fileName);
    void SaveToStrings(TStringList& lines, int32_t zone) const;
    bool SaveToFile(const std::string& fileName, int32_t zone) const;
    void ReadTriggers(TWorldReader& reader);
    // Our writer's lines of one trigger (without its trailer).
    static void WriteTrigger(const TTrigger& trigger, TStringList& lines);
    // Reads what follows a trigger's header line; the next line is left in `line`.
    static void ReadTriggerBody(TWorldReader& reader, TTrigger& trigger, std::string& line);
};
