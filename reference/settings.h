#pragma once

// The editor's settings as stored in VelmoraEd.ini: three sections, ten keys and the optional sizes.

#include "profile.h"

#include <optional>
#include <string>

struct TSettings {
    // Export code page: 0 KOI-8, 1 Windows-1251; -1 when the file gives none
    // (the dialog then selects no entry).
    int Coding = -1;
    // Export line end: 0 LF, 1 CR LF; -1 when the file gives none.
    int Crlf = -1;
    std::string Path = "LIB/world/";
    bool Status = false;
    bool Confirm = false;
    bool Tools = false;
    bool Position = false;
    // Minutes between the recovery copies of unsaved zones (1..60).
    int RecoveryMinutes = 2;
    // The window position; empty when the file gives no number (the window
    // stays where it is).
    std::optional<int> MainX;
    std::optional<int> MainY;
    // The window size; none while it is the size of the first start.
    std::optional<int> MainW;
    std::optional<int> MainH;
    // The size of the record pickers; none until the builder closed one.
    std::optional<int> PickerW;
    std::optional<int> PickerH;

    bool operator==(const TSettings&) const = default;
};

// Reads the ten keys. A missing file, or an integer key that is empty or not
// a number, gives the dialog's initial value for that key.
TSettings ReadSettings(const TProfileFile& file);
// Writes the ten keys in place, in the order the exit writes them.
void WriteSettings(TProfileFile& file, const TSettings& settings);
