#pragma once

// Saving a zone: its seven files written from the world, each through the
// safe save, the way the editor, worldtool's resave and its generator all do.

#include "worldfile.h"

#include <functional>
#include <string>
#include <vector>

class TWorld;
class TZone;

// A file of the zone that was not written, and why.
struct TFileNotWritten {
    std::string Path;
    TWriteResult Result;
};

struct TZoneSaveResult {
    std::vector<TFileNotWritten> NotWritten;
    bool Ok() const { return NotWritten.empty(); }
};

// Where a zone's file is written: its own path unless mapped elsewhere.
using TZonePathMap = std::function<std::string(const std::string& path)>;

// Writes the zone's files in the save order: objects, mobs, shops, triggers,
// rooms, the layout, the zone file last (a save cut short leaves the zone
// file, which places the rest, as it was). A failed file does not stop the
// others; each failure is also reported as the writers do ("Не могу сохранить
// комнаты в файл ...").
TZoneSaveResult SaveZoneFiles(const TWorld& world, const TZone& zone, const TZonePathMap& where = {});

// One file of the zone written to `path`, by kind in the order of the editor's
// pages: 0 the zone file, 1 the rooms (with their layout file beside `path`),
// 2 objects, 3 mobs, 4 shops, 5 triggers.
TZoneSaveResult SaveZoneKindFile(const TWorld& world, const TZone& zone, int kind,
                                 const std::string& path);
