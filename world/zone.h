#pragma once

#include "recordlist.h"
#include "roomcontents.h"
#include "worldfile.h"

#include <cstdint>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

class TWorld;

// A zone: its name and reset settings, and the file names of its six files.
// Its reset commands are not kept as such: reading turns them into the rooms'
// contents and the two zone-level lists, and writing generates them again.
class TZone {
public:
    explicit TZone(int32_t number = 0) : ZoneNumber(number) {}

    // Reads a zone file into the zone and into the rooms and prototypes it
    // refers to. The zone's room file must have been read first. False after
    // a failure, which `context` says (unless quiet) and keeps the line of.
    bool LoadFromFile(TWorld& world, const std::string& fileName, TReadContext& context);
    // The same, showing a failure.
    bool LoadFromFile(TWorld& world, const std::string& fileName);
    // LoadFromFile without messages, then the file name and the five derived
    // ones. After a failure `failedLine`, when given, receives the line it
    // failed at (-1: the file could not be opened).
    // Our form to compare the file with is left to TakeAsUnchanged, once the
    // whole workspace is read.
    bool OpenZoneFile(TWorld& world, const std::string& fileName, int* failedLine = nullptr);
    // Sets the five other file names from the workspace folder of `ZoneFileName`.
    void DeriveFileNames();
    void SaveToStrings(const TWorld& world, TStringList& lines) const;
    // Writes already composed lines (the zone page's text box) over the file;
    // reports "Не могу сохранить зону" on failure.
    bool SaveLinesToZoneFile(const std::string& fileName, const TStringList& lines) const;
    // Composes the text and writes it (the headless tools; the editor goes
    // through its text box).
    bool SaveToFile(const TWorld& world, const std::string& fileName) const;
    // Number, name, reset settings and both lists back to empty; file names stay.
    void Clear();

    // The zone reader over text already open; our form of it is composed by
    // TakeAsUnchanged.
    void ReadZone(TWorld& world, TWorldReader& reader);

    // Our writer's form of the file, whatever it was read from (what
    // "Привести зону к формату редактора" writes).
    void ComposeOurForm(const TWorld& world, TStringList& lines) const;
    // After the whole workspace is read: what the zone composes to now is
    // what it was read as (other zone files may have set shared prototypes'
    // limits since this one was read).
    void TakeAsUnchanged(const TWorld& world);
    // Reads a zone file; our form to compare it with is left to TakeAsUnchanged.
    bool ReadZoneFile(TWorld& world, const std::string& fileName, TReadContext& context);
    // Forgets the forms the file was read in, so that the next save writes our
    // form (the lines we do not model stay).
    void ForgetSource();

    int32_t ZoneNumber = 0;
    std::string ZoneName;
    int32_t RepopTime = 0;
    int32_t RepopType = 0;
    TRoomObjList CreatedObjects;
    std::vector<int32_t> DeletedMobs; // if-flag in bit 31, mob number below
    std::string ZoneFileName, RoomFileName, ObjFileName, MobFileName, ShopFileName, TrigFileName;

    // Kept as read (with the line ends they carry), written back in place: the
    // lines after the name (the parameter line "#a b c" and author lines "^...~"),
    // the top room as read and what its line holds after the reset mode, the
    // commands we do not model that came before any room's, and for each command
    // we model but read in another form or line end, its line under our form of it.
    TStringList HeaderLines;
    int32_t TopRoom = -1; // -1: the zone's last number (zone * 100 + 99)
    std::string TopLineTail;
    TStringList KeptCommands;
    std::unordered_multimap<std::string, std::string> CommandsAsRead;
    TSourceText Source;
    // The line end most of the file's lines use; the lines kept as read carry
    // theirs where it differs (see TWorldReader).
    std::string_view LineEnd = kCrLf;
};

// The zone number of a zone file's header line ("#12" gives 12): its leading
// decimal number after "#" and any spaces; no digits give 0.
int32_t ZoneHeaderNumber(std::string_view headerLine);
