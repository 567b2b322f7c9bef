#pragma once

// A synthetic workspace for tests and benchmarks: zones of realistic size
// whose records use every part of every format, the same for the same seed.

#include <cstdint>
#include <string>

struct TGenerateOptions {
    int Zones = 1;
    uint64_t Seed = 1;
    int32_t FirstZone = 1; // the zones are FirstZone, FirstZone+1, ...
};

struct TGenerateResult {
    int Files = 0;
    uintmax_t Bytes = 0;
};

// Builds each zone's records in the world lists, writes its seven files below
// `dir` (whose six folders must exist) with the world writers and empties the
// lists again.
TGenerateResult GenerateWorkspace(const std::string& dir, const TGenerateOptions& options);
