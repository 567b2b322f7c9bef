#pragma once

// What every fuzz target shares: a reporter that discards the messages (so
// that composing them is exercised too), and the zones a read touched, whose
// files are then written back. Each input reads into a world of its own.

#include "linecount.h"
#include "world.h"
#include "worldfile.h"

#include <cstddef>
#include <cstdint>
#include <set>
#include <string>

class TDiscardingReporter : public TErrorReporter {
public:
    void ReportError(const std::string& message) override { Bytes += message.size(); }
    size_t Bytes = 0;
};

// Shows every failure (to the discarding reporter).
inline void StartCleanWorld() {
    static TDiscardingReporter reporter;
    SetErrorReporter(&reporter);
    ShowFileErrors = true;
}

// A failed read must name a line of the file or the one after its last.
inline void CheckFailureLine(bool loaded, const std::string& bytes) {
    if (!loaded && (LineNumber < 1 || LineNumber > LineCount(bytes) + 1))
        __builtin_trap();
}

inline std::string InputBytes(const uint8_t* data, size_t size) {
    return std::string(reinterpret_cast<const char*>(data), size);
}

// The zones of the records in a list; a few at most, so that one input stays cheap.
template <class List> std::set<int32_t> TouchedZones(const List& list) {
    std::set<int32_t> zones;
    for (const auto& record : list) {
        zones.insert(ZoneOf(record->VNum));
        if (zones.size() >= 4)
            break;
    }
    return zones;
}
