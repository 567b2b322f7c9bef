#include "filekinds.h"

#include "modeltext.h"

#include <QFileInfo>

namespace {

const TWorldKind& Kind(int kind) {
    return WorldKind(RecordTypeAt(static_cast<size_t>(kind)));
}

} // namespace

const char* FileFilter(int kind) {
    return Kind(kind).FileFilter;
}

const char* KindFolder(int kind) {
    return Kind(kind).Folder;
}

const char* KindExtension(int kind) {
    return Kind(kind).Extension;
}

std::string& ZoneFileOf(TZone& zone, int kind) {
    return ZoneFileOf(zone, RecordTypeAt(static_cast<size_t>(kind)));
}

const std::string& ZoneFileOf(const TZone& zone, int kind) {
    return ZoneFileOf(zone, RecordTypeAt(static_cast<size_t>(kind)));
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
