#pragma once

// The main window: six pages, one per record kind, the main menu, the status
// bar and the companion windows around them. It holds what the pages share:
// the change flag, the store confirmation, page switching and navigation.

#include "editorcontext.h"
#include "errorreporter.h"

#include <QMainWindow>
#include <array>
#include <functional>
#include <string>
#include <vector>

class QAction;
class QMenu;
class QStatusBar;
class QTabWidget;
class QUndoView;
class TAboutForm;
class TFileCommands;
class THelpForm;
class TImportCommand;
class TListForm;
class TNavigator;
class TRecordCommands;
class TRecordListModel;
class TReportForm;

class TMainForm : public QMainWindow, public TEditorContext {
    Q_OBJECT

public:
    // Creates the main window and its companion windows, loads the templates
    // and vocabulary lists of the program folder and empties the map grid.
    explicit TMainForm(QWidget* parent = nullptr);
    ~TMainForm() override;

    // The companion windows, created with the main window, in this order.
    TAboutForm* AboutForm;
    std::array<TListForm*, 5> ListForms; // by TListKind
    // The records of each kind as the list windows and pickers show them.
    std::array<TRecordListModel*, 5> ListModels; // by TListKind
    // "Помощь" -> "Помощь", made when first asked for.
    THelpForm* HelpForm = nullptr;
    // The report window of the start-up and of an import, made when first needed.
    TReportForm* ReportForm = nullptr;
    // The problems window ("Окна"), the search ("Редактор" -> "Найти...") and
    // "Где используется" of the record pages and the search results.
    TNavigator* Navigator = nullptr;

    QTabWidget* PageControl1;
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

    // The undo history window ("Окна" -> "История изменений").
    QWidget* HistoryForm;
    QUndoView* HistoryView;

    // The page's edits not yet applied are stored (after the store
    // confirmation) or dropped, before an undo, redo or exit; false when
    // the store was refused.
    bool SettleEdits();
    void Undo();
    void Redo();
    // "Отменить" and "Повторить" name the steps they would take back or again.
    void ShowUndoEntries();

    TFileCommands* FileCommands;
    TImportCommand* ImportCommand;
    TRecordCommands* RecordCommands;

    // What the pages and commands use of the window (see TEditorContext).
    QWidget* Window() override { return this; }
    void SetChanged(bool changed) override;
    bool IsChanged() const override { return changed_; }
    bool ConfirmStore() override;
    void EnableRecordCommands(bool enabled) override;
    int CurrentPage() const override;
    bool GoToPage(int page) override;
    TStepPlace PlaceOn(int page) const override;
    void ShowPlace(const TStepPlace& place) override;
    bool OpenRecord(int page, int32_t vnum) override;
    void ShowUses(int page, int32_t vnum) override;
    void ShowUnsavedMarks() override;
    void RecheckProblems() override;
    void RefillListWindows() override;
    void ShowLoadReport(const QStringList& summary, const TLoadReport& report) override;
    void RescanWorkspace(TLoadReport& report) override;

    // Navigation on the current page.
    void FirstRecord();
    void PreviousRecord();
    void NextRecord();
    void LastRecord();

    // The tools window's apply and cancel.
    void ApplyPage();
    void CancelPage();

    // The first activation: hints, settings, tools window, workspace scan.
    // What could not be loaded, from the creation on, is shown in one report
    // window afterwards. Later calls do nothing.
    void FormActivate();

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
    // The file, import and record menu entries run their commands.
    void ConnectCommands();
    void ConnectDocument();
    // With unsaved zones, exit asks whether to save them; false when the
    // builder stays.
    bool SettleUnsavedZones();
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
