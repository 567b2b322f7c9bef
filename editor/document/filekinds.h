#pragma once

// The six kinds of world files as the file commands and the zone page's
// file name buttons see them, by page index: zone, rooms, objects, mobs,
// shops, triggers (the world's kinds in TRecordType order).

#include "prompts.h"
#include "recordkinds.h"
#include "zone.h"

#include <QString>
#include <string>

inline constexpr int kFileKindCount = static_cast<int>(kWorldKinds.size());

// The file dialog filter of a kind, "Zone files|*.zon|All files|*.*".
const char* FileFilter(int kind);
// The workspace folder and extension of a kind: "ZON" and ".zon".
const char* KindFolder(int kind);
const char* KindExtension(int kind);

// The zone's file name of a kind.
std::string& ZoneFileOf(TZone& zone, int kind);
const std::string& ZoneFileOf(const TZone& zone, int kind);

// What a file dialog for a kind starts with: the folder and name of the
// current zone's file of that kind (none without a zone) and the kind's filter.
struct TFileDialogSetup {
    QString Folder;
    QString FileName;
    QList<TFileFilter> Filters;
};
TFileDialogSetup FileDialogSetup(const TZone* zone, int kind);
