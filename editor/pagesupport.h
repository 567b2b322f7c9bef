#pragma once

// What the record pages' own editors need from the main window at creation:
// one attach function per page, which builds the page's controls into its
// TRecordPage's Body and registers the show and store hooks, and the
// reporting wrapper for the vocabulary lists they load.

#include "worlddocument.h"

#include <QString>
#include <functional>

class TMainForm;

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

// Runs one vocabulary fill; a list that cannot be read is reported in an
// error box and the control stays unfilled.
void LoadListReporting(const std::function<void()>& fill);

// Each builds its page (called once, while the main window is created,
// before the hints are applied).
void AttachRoomPage(TMainForm& main); // rooms and the room map
void AttachObjPage(TMainForm& main);
void AttachMobPage(TMainForm& main);
void AttachShopPage(TMainForm& main);
void AttachTrigPage(TMainForm& main);
