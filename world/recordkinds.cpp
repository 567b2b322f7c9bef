#include "recordkinds.h"

#include "zone.h"

namespace {

// The table is read by position: each kind sits at its own place.
constexpr bool InTypeOrder() {
    for (size_t i = 0; i < kWorldKinds.size(); ++i)
        if (static_cast<size_t>(kWorldKinds[i].Type) != i)
            return false;
    return true;
}
static_assert(InTypeOrder(), "kWorldKinds must follow TRecordType");

// The zone's file name of each kind, in table order.
constexpr std::array<std::string TZone::*, kWorldKinds.size()> kZoneFiles = {
    &TZone::ZoneFileName, &TZone::RoomFileName, &TZone::ObjFileName,
    &TZone::MobFileName,  &TZone::ShopFileName, &TZone::TrigFileName};

} // namespace

std::string& ZoneFileOf(TZone& zone, TRecordType type) {
    return zone.*kZoneFiles.at(static_cast<size_t>(type));
}

const std::string& ZoneFileOf(const TZone& zone, TRecordType type) {
    return zone.*kZoneFiles.at(static_cast<size_t>(type));
}
