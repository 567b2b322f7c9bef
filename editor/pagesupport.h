#pragma once

// What the record pages' own editors need from the main window at creation:
// one attach function per page, which builds the page's controls into its
// TRecordPage's Body and registers the show and store hooks, and the
// reporting wrapper for the vocabulary lists they load.

#include <functional>

class TMainForm;

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
