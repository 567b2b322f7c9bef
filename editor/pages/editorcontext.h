#pragma once

// What the pages and the commands may use of the window around them: the
// document, the program folder with its templates and vocabularies, the
// companion dialogs, the pages, the change flag and the place being edited.
// The main window provides it; nothing here knows the menus, the list
// windows or how the window is laid out.

#include "mob.h"
#include "obj.h"
#include "pagekinds.h"
#include "room.h"
#include "shop.h"
#include "templates.h"
#include "trigger.h"
#include "vocabulary.h"

#include <QString>
#include <QStringList>
#include <array>
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

class QWidget;
class TAddDescForm;
class TConfigForm;
class TDescForm;
class TDestForm;
class TEffectForm;
class TNumberForm;
class TRecordPage;
class TRecovery;
class TRoomMobForm;
class TRoomObjForm;
class TScriptLanguage;
class TToolsForm;
class TTriggerForm;
class TWorld;
class TWorldDocument;
class TZonePage;
struct TLoadReport;
struct TStepPlace;

// What an undo entry names for a step on a record: "изменение комнаты 1203".
QString StepText(const QString& action, int page, int32_t vnum);

class TEditorContext {
public:
    explicit TEditorContext(std::string programFolder) : ProgramFolder(std::move(programFolder)) {}
    virtual ~TEditorContext() = default;
    TEditorContext(const TEditorContext&) = delete;
    TEditorContext& operator=(const TEditorContext&) = delete;

    // The world being edited: every change goes through the document, onto
    // the undo stack.
    TWorldDocument* Document = nullptr;
    TWorld& World() const;
    // The unsaved zones' copies in the recovery folder.
    TRecovery* Recovery = nullptr;

    // The program folder with a trailing "/".
    const std::string ProgramFolder;
    // The templates of new records, from the program folder's Bases/.
    TObjTemplet ObjTemplet;
    TMobTemplet MobTemplet;
    TShopTemplet ShopTemplet;
    TTrigTemplet TrigTemplet;
    TRoomTemplet RoomTemplet;
    // The item kinds of the list "Type": the shop readers name the kinds
    // a shop buys by them.
    std::vector<TVocabularyItem> ItemKinds;
    TKindNameLookup KindName() const;
    // The trigger script language of the list "ScriptCommands": scripts are
    // checked and completed by it. Null when the list cannot be read.
    std::shared_ptr<const TScriptLanguage> ScriptLanguage;

    // The companion dialogs the pages open.
    TAddDescForm* AddDescForm = nullptr;
    TEffectForm* EffectForm = nullptr;
    TToolsForm* ToolsForm = nullptr;
    TNumberForm* NumberForm = nullptr;
    TDescForm* DescForm = nullptr;
    TTriggerForm* TriggerForm = nullptr;
    TRoomObjForm* RoomObjForm = nullptr;
    TRoomMobForm* RoomMobForm = nullptr;
    TDestForm* DestForm = nullptr;
    TConfigForm* ConfigForm = nullptr;

    // The pages.
    TZonePage* ZonePage = nullptr;
    std::array<TRecordPage*, 5> RecordPages{}; // rooms, objects, mobs, shops, triggers
    TRecordPage* RecordPage(int page) const { return RecordPages[static_cast<size_t>(page - 1)]; }

    // While set (the file commands that fill the pages), the store
    // confirmation neither asks nor stores.
    bool FileCommandRunning = false;
    // Set while the store confirmation's question is open.
    bool Asking = false;

    // The window the commands' dialogs open over and their owner.
    virtual QWidget* Window() = 0;

    // The change flag: the shown record or zone holds edits not applied.
    virtual void SetChanged(bool changed) = 0;
    virtual bool IsChanged() const = 0;
    // Whether the shown record's edits are to be stored now; asks "Сохранить
    // изменения?" when the confirmation switch is on.
    virtual bool ConfirmStore() = 0;
    // The record commands (delete, copy, navigation) follow whether the page
    // has a record to work on.
    virtual void EnableRecordCommands(bool enabled) = 0;

    virtual int CurrentPage() const = 0;
    // Leaves the current page and enters `page`; false when leaving was refused.
    virtual bool GoToPage(int page) = 0;
    // Where a step on `page` is made: the current zone, the page and the
    // record it shows.
    virtual TStepPlace PlaceOn(int page) const = 0;
    // The zone, the page and the record of a step shown again.
    virtual void ShowPlace(const TStepPlace& place) = 0;
    // Opens record `vnum` of `page` in its zone, as a builder would (the
    // edits shown are stored first); false, after telling why, when it is not there.
    virtual bool OpenRecord(int page, int32_t vnum) = 0;
    // "Где используется" of record `vnum` of `page`.
    virtual void ShowUses(int page, int32_t vnum) = 0;

    // The unsaved marks of the zone list and the window title.
    virtual void ShowUnsavedMarks() = 0;
    // The problems window checks again.
    virtual void RecheckProblems() = 0;
    // The list windows and pickers show the record lists anew (after a
    // whole workspace or file was read).
    virtual void RefillListWindows() = 0;
    // Shows the report window of a workspace read or an import.
    virtual void ShowLoadReport(const QStringList& summary, const TLoadReport& report) = 0;
    // Forgets every zone and record in memory and reads the workspace again
    // (after an import), its failures and notes going into `report`.
    virtual void RescanWorkspace(TLoadReport& report) = 0;
};
