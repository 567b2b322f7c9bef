#pragma once

// What the record pages' own editors need from the main window at creation:
// one attach function per page, which builds the page's controls into its
// TRecordPage's Body and registers the show and store hooks, and the
// reporting wrapper for the vocabulary lists they load.

#include "worlddocument.h"

#include <QString>
#include <functional>
#include <optional>
#include <type_traits>

class TEditorContext;

// A record page's store hook: the page reads its controls into a copy of the
// record, which the document sets as one step.
template <class Page, class List> auto StoreInto(TWorldDocument& document, Page* page, List& list) {
    return [&document, page, &list](int32_t vnum, const TStepPlace& place, const QString& text) {
        if (const auto* stored = list.Find(vnum)) {
            auto copy = *stored;
            page->ReadFromPage(copy);
            document.SetRecord(place, text, std::move(copy));
        }
    };
}

// A record page's show hook: the record with that number, or a blank one
// (number 0, nowhere in the world) while the ID list is empty. Returns the
// record shown, null for the blank.
template <class Page, class List> auto ShowFrom(Page* page, const List& list) {
    using Record = std::remove_cvref_t<decltype(*list.Find(0))>;
    return [page, &list, blank = Record{0}](std::optional<int32_t> vnum) {
        const Record* record = vnum ? list.Find(*vnum) : nullptr;
        page->ShowOnPage(record ? *record : blank);
        return record;
    };
}

// Runs one vocabulary fill; a list that cannot be read is reported in an
// error box and the control stays unfilled.
void LoadListReporting(const std::function<void()>& fill);

// Each builds its page (called once, while the main window is created,
// before the hints are applied).
void AttachRoomPage(TEditorContext& main); // rooms and the room map
void AttachObjPage(TEditorContext& main);
void AttachMobPage(TEditorContext& main);
void AttachShopPage(TEditorContext& main);
void AttachTrigPage(TEditorContext& main);
