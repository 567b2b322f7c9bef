#pragma once

#include "recordlist.h"

#include <cstdint>
#include <string>

class TTrigger {
public:
    explicit TTrigger(int32_t vnum) : VNum(vnum) {}

    void Assign(const TTrigger& source);
    const std::string& CaptionName() const { return Name; }

    int32_t VNum;
    std::string Name;
    uint8_t Model = 0; // 0 mob, 1 object, 2 room trigger
    std::string Flags;
    int32_t NumParam = 0;
    std::string StrParam;
    // An entry may hold several lines joined by CR LF (the page stores the
    // edited script as one entry).
    TStringList Text;
};

class TTriggerList : public TRecordList<TTrigger> {
public:
    void LoadFromFile(const std::string& fileName);
    void SaveToStrings(TStringList& lines, int32_t zone) const;
    void SaveToFile(const std::string& fileName, int32_t zone) const;
    void ReadTriggers(TWorldReader& reader);
};
