#pragma once

// The editor's side of the kinds of the world's table: a page per kind, in
// the table's order, and what the window shows of each (the tab, the menu
// entries, the list window, the words of undo entries). Everything in the
// editor that goes by page or list kind reads this table.

#include "recordkinds.h"

#include <array>
#include <cstddef>

class TEditorContext;

// The pages by index: the kinds of the world's table, in its order.
enum TPage {
    ZonePageIndex = static_cast<int>(TRecordType::Zone),
    RoomPageIndex = static_cast<int>(TRecordType::Room),
    ObjPageIndex = static_cast<int>(TRecordType::Obj),
    MobPageIndex = static_cast<int>(TRecordType::Mob),
    ShopPageIndex = static_cast<int>(TRecordType::Shop),
    TrigPageIndex = static_cast<int>(TRecordType::Trigger)
};
inline constexpr int kPageCount = static_cast<int>(kWorldKinds.size());

// The five list windows (and record pages, and list models) by kind: the
// kinds with records, in the table's order.
enum TListKind {
    RoomListKind = RoomPageIndex - 1,
    ObjListKind = ObjPageIndex - 1,
    MobListKind = MobPageIndex - 1,
    ShopListKind = ShopPageIndex - 1,
    TrigListKind = TrigPageIndex - 1
};

struct TPageKind {
    TRecordType Type;
    const char* Tab;         // the tab's caption: "Комнаты"
    const char* Sheet;       // a record page's object name: "RoomTabSheet"
    const char* IdList;      // its ID list's: "R_IDComboBox"
    const char* PageEntry;   // "Редактирование" -> "&Комнат"
    const char* ListName;    // "Окна" -> "Список" -> its entry's object name: "N13"
    const char* ListEntry;   // and caption: "&Комнат"
    const char* Genitive;    // an undo entry's "изменение комнаты 1203"
    // Builds a record page's own editor into it (null for the zone page).
    void (*Attach)(TEditorContext& context);
};

extern const std::array<TPageKind, kPageCount> kPageKinds;

inline const TPageKind& PageKind(int page) {
    return kPageKinds[static_cast<size_t>(page)];
}
