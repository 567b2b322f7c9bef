#pragma once

// What every fuzz target shares: a reporter that discards the messages (so
// that composing them is exercised too) but keeps the lines they name, and the
// zones a read touched, whose files are then written back. Each input reads
// into a world of its own.

#include "linecount.h"
#include "world.h"
#include "worldfile.h"

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <set>
#include <string>
#include <vector>

// Drops the messages (composing them is exercised all the same) but keeps the
// line each failure names; 0 when it names none.
class TDiscardingReporter : public TErrorReporter {
public:
    void ReportError(const std::string& message) override {
        Bytes += message.size();
        static const std::string marker = Msg("(Ошибка в строке ");
        const size_t at = message.rfind(marker);
        FailedLines.push_back(
            at == std::string::npos ? 0 : std::atoi(message.c_str() + at + marker.size()));
    }
    size_t Bytes = 0;
    std::vector<int> FailedLines;
};

inline TDiscardingReporter& Discarding() {
    static TDiscardingReporter reporter;
    return reporter;
}

// Shows every failure (to the discarding reporter).
inline void StartCleanWorld() {
    SetErrorReporter(&Discarding());
    Discarding().FailedLines.clear();
}

// A failed read must say so, each of its messages naming a line of the file
// or the one after its last. A read that keeps the records it cannot parse
// goes on past them and says each with its own line, so the lines come from
// the messages rather than from where the reader stopped.
inline void CheckFailureLine(bool loaded, const std::string& bytes) {
    std::vector<int>& lines = Discarding().FailedLines;
    if (!loaded) {
        if (lines.empty())
            __builtin_trap();
        for (const int line : lines)
            if (line < 1 || line > LineCount(bytes) + 1)
                __builtin_trap();
    }
    lines.clear(); // the next read is checked on its own messages
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
