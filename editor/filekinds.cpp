#include "filekinds.h"

#include "modeltext.h"

#include <QFileInfo>

namespace {

struct TFileKind {
    const char* Filter;
    const char* Folder;
    const char* Extension;
    std::string TZone::*Name;
};

const std::array<TFileKind, kFileKindCount> kKinds = {{
    {"Zone files|*.zon|All files|*.*", "ZON", ".zon", &TZone::ZoneFileName},
    {"Room files|*.wld|All files|*.*", "WLD", ".wld", &TZone::RoomFileName},
    {"Object files|*.obj|All files|*.*", "OBJ", ".obj", &TZone::ObjFileName},
    {"Mob files|*.mob|All files|*.*", "MOB", ".mob", &TZone::MobFileName},
    {"Shop files|*.shp|All files|*.*", "SHP", ".shp", &TZone::ShopFileName},
    {"Trigger files|*.trg|All files|*.*", "TRG", ".trg", &TZone::TrigFileName},
}};

const TFileKind& Kind(int kind) {
    return kKinds.at(static_cast<size_t>(kind));
}

} // namespace

const char* FileFilter(int kind) {
    return Kind(kind).Filter;
}

const char* KindFolder(int kind) {
    return Kind(kind).Folder;
}

const char* KindExtension(int kind) {
    return Kind(kind).Extension;
}

std::string& ZoneFileOf(TZone& zone, int kind) {
    return zone.*Kind(kind).Name;
}

const std::string& ZoneFileOf(const TZone& zone, int kind) {
    return zone.*Kind(kind).Name;
}

TFileDialogSetup FileDialogSetup(const TZone* zone, int kind) {
    TFileDialogSetup setup;
    setup.Filters = ParseFileFilter(QLatin1String(FileFilter(kind)));
    if (zone) {
        const QFileInfo file(PathText(ZoneFileOf(*zone, kind)));
        setup.Folder = file.path();
        setup.FileName = file.fileName();
    }
    return setup;
}
