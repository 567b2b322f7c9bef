#pragma once

// The main window: six pages, one per record kind, the main menu, the status
// bar and the companion windows around them. It holds what the pages share:
// the change flag, the store confirmation, page switching and navigation.

#include "errorreporter.h"
#include "maplayout.h"
#include "mob.h"
#include "obj.h"
#include "room.h"
#include "shop.h"
#include "templates.h"
#include "trigger.h"
#include "vocabulary.h"

#include <QMainWindow>
#include <array>
#include <functional>
#include <string>
#include <vector>

class QAction;
class QMenu;
class QStatusBar;
class QTabWidget;
class TAboutForm;
class TAddDescForm;
class TConfigForm;
class TDescForm;
class TDestForm;
class TEffectForm;
class TFileCommands;
class TImportCommand;
class TRecordCommands;
class THelpForm;
class TListForm;
class TRecordListModel;
class TNumberForm;
class TNavigator;
class TRecordPage;
class TReportForm;
class TRoomMobForm;
class TRoomObjForm;
class TToolsForm;
class TTriggerForm;
class TZonePage;
class TRecovery;
class TWorld;
class TWorldDocument;
struct TStepPlace;
class QUndoView;

// The pages by index, the order every page-dependent command switches on.
enum TPage {
    ZonePageIndex,
    RoomPageIndex,
    ObjPageIndex,
    MobPageIndex,
    ShopPageIndex,
    TrigPageIndex
};
inline constexpr int kPageCount = 6;

// The five list windows by kind tag.
enum TListKind { RoomListKind, ObjListKind, MobListKind, ShopListKind, TrigListKind };

class TMainForm : public QMainWindow {
    Q_OBJECT

public:
    // Creates the main window and its companion windows, loads the templates
    // and vocabulary lists of the program folder and empties the map grid.
    explicit TMainForm(QWidget* parent = nullptr);
    ~TMainForm() override;

    // The companion windows, created with the main window, in this order.
    TAboutForm* AboutForm;
    TAddDescForm* AddDescForm;
    TEffectForm* EffectForm;
    TToolsForm* ToolsForm = nullptr;
    TNumberForm* NumberForm;
    TDescForm* DescForm;
    std::array<TListForm*, 5> ListForms; // by TListKind
    // The records of each kind as the list windows and pickers show them.
    std::array<TRecordListModel*, 5> ListModels; // by TListKind
    TTriggerForm* TriggerForm;
    TRoomObjForm* RoomObjForm;
    TRoomMobForm* RoomMobForm;
    TDestForm* DestForm;
    TConfigForm* ConfigForm;
    // "Помощь" -> "Помощь", made when first asked for.
    THelpForm* HelpForm = nullptr;
    // The report window of the start-up and of an import, made when first needed.
    TReportForm* ReportForm = nullptr;
    // The problems window ("Окна"), the search ("Редактор" -> "Найти...") and
    // "Где используется" of the record pages and the search results.
    TNavigator* Navigator = nullptr;

    QTabWidget* PageControl1;
    TZonePage* ZonePage;
    std::array<TRecordPage*, 5> RecordPages; // rooms, objects, mobs, shops, triggers
    TRecordPage* RecordPage(int page) const { return RecordPages[static_cast<size_t>(page - 1)]; }
    QStatusBar* StatusBar1;

    // Main menu entries, named as the menu is drawn up.
    QAction *N2, *N3, *N4, *N5, *N6, *N34, *N33, *N8;
    QAction* NImport;       // "Импорт с сервера..."
    QAction *NUndo, *NRedo; // "Отменить", "Повторить"
    QAction *N17, *N18, *N19, *N27, *N28, *N29, *N30;
    std::array<QAction*, kPageCount> Nr; // Nr0 .. Nr5
    QAction *NConfirm, *N35;
    std::array<QAction*, 5> ListEntries; // N13, N14, N15, N22, N23 by TListKind
    QAction *N24, *N25, *NHistory, *N10, *About1;

    // The program folder with a trailing "/".
    const std::string ProgramFolder;

    // Templates and blank records (a page with an empty ID list shows its blank).
    TObjTemplet ObjTemplet;
    TMobTemplet MobTemplet;
    TShopTemplet ShopTemplet;
    TTrigTemplet TrigTemplet;
    TRoomTemplet RoomTemplet;
    TObj BlankObj{0};
    TMob BlankMob{0};
    TShop BlankShop{0};
    TTrigger BlankTrigger{0};
    TRoom BlankRoom{0};

    // The item kinds of the list "Type": the shop readers name the kinds
    // a shop buys by them.
    std::vector<TVocabularyItem> ItemKinds;
    TKindNameLookup KindName() const;

    // The world being edited: every change goes through it, onto the undo stack.
    TWorldDocument* Document;
    TWorld& World() const;
    // The unsaved zones' copies in the recovery folder.
    TRecovery* Recovery;
    // The undo history window ("Окна" -> "История изменений").
    QWidget* HistoryForm;
    QUndoView* HistoryView;

    // Where a step on `page` is made: the current zone, the page and the
    // record it shows.
    TStepPlace PlaceOn(int page) const;
    // What an undo entry names for a step on a record: "изменение комнаты 1203".
    static QString StepText(const QString& action, int page, int32_t vnum);
    // The page's edits not yet applied are stored (after the store
    // confirmation) or dropped, before an undo, redo or exit; false when
    // the store was refused.
    bool SettleEdits();
    void Undo();
    void Redo();
    // "Отменить" and "Повторить" name the steps they would take back or again.
    void ShowUndoEntries();
    // After an undo or redo: the zone, the page and the record of the step
    // are shown again, and every list follows what was put back.
    void ShowPlace(const TStepPlace& place);
    // The unsaved marks of the zone list and the window title.
    void ShowUnsavedMarks();

    TFileCommands* FileCommands;
    TImportCommand* ImportCommand;
    TRecordCommands* RecordCommands;


    // While set (the file commands that fill the pages), the store
    // confirmation neither asks nor stores.
    bool FileCommandRunning = false;
    // Set while the store confirmation's question is open.
    bool Asking = false;

    // The change flag, shown by the tools window's "Присвоить".
    void SetChanged(bool changed);
    bool IsChanged() const { return changed_; }
    // Whether the shown record's edits are to be stored now; asks "Сохранить
    // изменения?" when the confirmation switch is on.
    bool ConfirmStore();
    void EnableRecordCommands(bool enabled);

    // The change hooks of the pages.
    void ZoneChange();
    void RoomChange();
    void ObjChange();
    void MobChange();
    void ShopChange();
    void TriggerChange();

    int CurrentPage() const;
    // Leaves the current page and enters `page`, as the "Редактирование"
    // entries do; false when leaving was refused.
    bool GoToPage(int page);

    // Navigation on the current page.
    void FirstRecord();
    void PreviousRecord();
    void NextRecord();
    void LastRecord();

    // The problems window checks again: after every store of a page (apply,
    // leaving a record, page or zone), a record command and a zone shown.
    void RecheckProblems();

    // The tools window's apply and cancel.
    void ApplyPage();
    void CancelPage();

    // The list windows and pickers show the record lists anew (after a
    // whole workspace or file was read).
    void RefillListWindows();

    // The first activation: hints, settings, tools window, workspace scan.
    // What could not be loaded, from the creation on, is shown in one report
    // window afterwards. Later calls do nothing.
    void FormActivate();
    // Shows the report window (not modal: the builder may keep it open while
    // mending the files it names).
    void ShowLoadReport(const QStringList& summary, const TLoadReport& report);
    // Forgets every zone and record in memory and reads the workspace again
    // (after an import), its failures and notes going into `report`.
    void RescanWorkspace(TLoadReport& report);

protected:
    void showEvent(QShowEvent* event) override;
    void closeEvent(QCloseEvent* event) override;
    // The tools window follows when the window grows or moves under it.
    void moveEvent(QMoveEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;

private:
    // Beside the main window (see PlaceBeside), remembering where.
    void PlaceTools();
    // Where the editor put it and the builder left it, the tools window stays
    // beside the main window; wherever it is, never over its title bar.
    void KeepToolsBeside();
    void CreateCompanions();
    void CreatePages();
    void CreateMenus();
    void CreateHistoryWindow();
    void ConnectDocument();
    // With unsaved zones, exit asks whether to save them; false when the
    // builder stays.
    bool SettleUnsavedZones();
    // The problems, search and where-used windows with their menu entries.
    void LoadTemplates();
    void LoadVocabularies();
    void ConnectToolsWindow();
    void StartUp();
    void LoadHintFile();
    void ApplySettings();
    // False when the settings could not be written and the user stays.
    bool WriteSettingsFile();

    // The first steps of opening a record: its zone chosen, its page entered.
    bool LeavePage(int page);
    void EnterPage(int page);
    void PageChanged(int page);
    void ToggleStatusBar();
    void ToggleListWindow(int kind);
    void ToggleToolsWindow();
    void CheckPageEntry(int page);

    bool changed_ = false;
    bool firstActivation_ = true;
    TLoadReport startupReport_;
    int shownPage_ = ZonePageIndex; // the page entered last
    bool switchingPage_ = false;
    QPoint toolsPlacedAt_; // where PlaceTools last put the tools window
};
