#include "mainform.h"

#include "aboutform.h"
#include "addescform.h"
#include "configform.h"
#include "descform.h"
#include "destform.h"
#include "dialogparts.h"
#include "effectform.h"
#include "errorreporter.h"
#include "filecommands.h"
#include "helpform.h"
#include "hinting.h"
#include "importcommand.h"
#include "leftovers.h"
#include "listform.h"
#include "mappage.h"
#include "navigator.h"
#include "numberform.h"
#include "pagesupport.h"
#include "problemsform.h"
#include "profile.h"
#include "prompts.h"
#include "recordcommands.h"
#include "recordlistmodel.h"
#include "recordpage.h"
#include "recovery.h"
#include "reportform.h"
#include "roommobform.h"
#include "roomobjform.h"
#include "scriptcheck.h"
#include "settings.h"
#include "textcodec.h"
#include "toolsform.h"
#include "triggerform.h"
#include "unparsed.h"
#include "vocabulary.h"
#include "vocabularyfill.h"
#include "world.h"
#include "worlddocument.h"
#include "zonepage.h"

#include <QActionGroup>
#include <QCloseEvent>
#include <QComboBox>
#include <QGuiApplication>
#include <QListWidget>
#include <QMenuBar>
#include <QScreen>
#include <QStatusBar>
#include <QTabWidget>
#include <QTimer>
#include <QToolButton>
#include <QUndoStack>
#include <QUndoView>
#include <QVBoxLayout>

namespace {

// What a record page's ID list shows of a zone, from the world's list.
template <class List>
std::function<TRecordPage::TZoneRecords(int32_t)> ZoneRecordsOf(const List& list) {
    return [&list](int32_t zone) {
        return TRecordPage::TZoneRecords{list.ZoneListEntries(zone), UnparsedRecordsOf(list, zone)};
    };
}

// The main window's size at first start, also its smallest: room for the
// widest page. It can be made larger and maximised.
constexpr QSize kWindowSize(980, 640);

QAction* NewAction(QWidget* owner, QMenu* menu, const char* name, const QString& caption,
                   const QKeySequence& shortcut = {}) {
    auto* action = new QAction(caption, owner);
    action->setObjectName(QLatin1String(name));
    if (!shortcut.isEmpty())
        action->setShortcut(shortcut);
    menu->addAction(action);
    return action;
}

QAction* NewCheckAction(QWidget* owner, QMenu* menu, const char* name, const QString& caption,
                        const QKeySequence& shortcut = {}) {
    QAction* action = NewAction(owner, menu, name, caption, shortcut);
    action->setCheckable(true);
    return action;
}

template <class List> TRecordListModel::TSource EntriesOf(const List& list) {
    return [&list](std::optional<int32_t> zone) { return list.ListNames(zone); };
}

std::string SettingsPath(const std::string& programFolder) {
    return programFolder + "VelmoraEd.ini";
}

} // namespace

void LoadListReporting(const std::function<void()>& fill) {
    try {
        fill();
    } catch (const TVocabularyError& error) {
        ReportLoadFailure(FromCp1251(error.Message));
    }
}

TMainForm::TMainForm(QWidget* parent)
    : QMainWindow(parent), TEditorContext(Prompts().ProgramFolder()) {
    // The lists and templates that cannot be loaded wait for the start-up
    // report, shown once after the scan: a missing Bases/ is one window, not
    // a box per control.
    const TLoadReportScope gathering(startupReport_);
    KeepSavesWithin(ProgramFolder + "Zones/");
    setObjectName(QStringLiteral("MainForm"));
    setWindowTitle(QStringLiteral("Velmora Editor"));
    setWindowFlags(Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                   Qt::WindowSystemMenuHint | Qt::WindowMinimizeButtonHint |
                   Qt::WindowMaximizeButtonHint | Qt::WindowCloseButtonHint);

    // The status bar shows the hint of the control under the mouse (Qt routes
    // every status tip to it) and is hidden until the menu shows it.
    StatusBar1 = new QStatusBar(this);
    StatusBar1->setObjectName(QStringLiteral("StatusBar1"));
    setStatusBar(StatusBar1);
    StatusBar1->hide();

    Document = new TWorldDocument(this);
    CreateCompanions();
    CreatePages();
    CreateMenus();
    CreateHistoryWindow();
    Navigator = new TNavigator(*this);
    for (const TPageKind& kind : kPageKinds)
        if (kind.Attach)
            kind.Attach(*this);
    connect(N35, &QAction::triggered, PageControl1->findChild<TMapPage*>(),
            &TMapPage::PlaceUnplacedRooms);
    FileCommands = new TFileCommands(*this);
    ImportCommand = new TImportCommand(*this);
    LoadVocabularies();
    LoadTemplates();
    RecordCommands = new TRecordCommands(*this);
    ConnectCommands();
    Recovery = new TRecovery(*this);
    Recovery->Lock();
    ConnectToolsWindow();
    ConnectDocument();
    WatchFlagLists(this, StatusBar1);
    // Until the hint file is read, a few controls carry hints of their own.
    ApplyHints(this, BuiltInHints());

    setMinimumSize(kWindowSize);
    resize(kWindowSize);
}

TMainForm::~TMainForm() {
    // The undo stack goes after this window: its last signals find no one.
    Document->UndoStack()->disconnect(this);
    Document->disconnect();
    KeepSavesWithin({});
}

void TMainForm::CreateCompanions() {
    AboutForm = new TAboutForm(this);
    AddDescForm = new TAddDescForm(this);
    EffectForm = new TEffectForm(this);
    ToolsForm = new TToolsForm(this);
    // Shown or raised, it leaves the focus where the builder works.
    ToolsForm->setAttribute(Qt::WA_ShowWithoutActivating);
    NumberForm = new TNumberForm(this);
    DescForm = new TDescForm(this);
    for (size_t kind = 0; kind < ListForms.size(); ++kind) {
        const TRecordListModel::TSource source = WithRecordList(
            World(), kRecordListTypes[kind], [](const auto& list) { return EntriesOf(list); });
        ListModels[kind] = new TRecordListModel(source, this);
        ListForms[kind] = new TListForm(this);
        ListForms[kind]->SetModel(ListModels[kind]);
    }
    TriggerForm = new TTriggerForm(this);
    RoomObjForm = new TRoomObjForm(ProgramFolder, this);
    RoomMobForm = new TRoomMobForm(this);
    RoomObjForm->SetEntries(ListModels[ObjListKind]);
    RoomMobForm->SetEntries(ListModels[MobListKind]);
    DestForm = new TDestForm(World().Rooms, this);
    ConfigForm = new TConfigForm(this);
    ConfigForm->setEditorStateSource([this] {
        return TEditorStates{N24->isChecked(), NConfirm->isChecked(), N25->isChecked()};
    });
}

void TMainForm::CreatePages() {
    PageControl1 = new QTabWidget(this);
    PageControl1->setObjectName(QStringLiteral("PageControl1"));
    ZonePage = new TZonePage(*this);
    PageControl1->addTab(ZonePage, QString::fromUtf8(PageKind(ZonePageIndex).Tab));
    for (int index = RoomPageIndex; index < kPageCount; ++index) {
        const TPageKind& kind = PageKind(index);
        auto* page =
            new TRecordPage(*this, index, QLatin1String(kind.Sheet), QLatin1String(kind.IdList));
        RecordPages[static_cast<size_t>(index - 1)] = page;
        PageControl1->addTab(page, QString::fromUtf8(kind.Tab));
        connect(Document, &TWorldDocument::changed, page, &TRecordPage::Follow);
        page->ZoneRecords = WithRecordList(World(), kind.Type,
                                           [](const auto& list) { return ZoneRecordsOf(list); });
    }
    setCentralWidget(PageControl1);
    connect(PageControl1, &QTabWidget::currentChanged, this, &TMainForm::PageChanged);
}

void TMainForm::CreateMenus() {
    QMenuBar* bar = menuBar();
    bar->setObjectName(QStringLiteral("MainMenu1"));

    QMenu* files = bar->addMenu(QStringLiteral("&Файлы"));
    files->setObjectName(QStringLiteral("N1"));
    N2 = NewAction(this, files, "N2", QStringLiteral("&Новый"), QKeySequence::New);
    N3 = NewAction(this, files, "N3", QStringLiteral("&Открыть..."), QKeySequence::Open);
    N4 = NewAction(this, files, "N4", QStringLiteral("&Восстановить"));
    // Ctrl+S saves the document, as in every desktop editor: here the zone.
    N5 = NewAction(this, files, "N5", QStringLiteral("&Сохранить..."),
                   QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_S));
    files->addSeparator();
    N6 = NewAction(this, files, "N6", QStringLiteral("&Загрузить зону"));
    N34 = NewAction(this, files, "N34", QStringLiteral("Сохранить зон&у"), QKeySequence::Save);
    files->addSeparator();
    NImport = NewAction(this, files, "NImport", QStringLiteral("&Импорт с сервера..."));
    files->addSeparator();
    N33 = NewAction(this, files, "N33", QStringLiteral("Н&астройки..."));
    files->addSeparator();
    N8 = NewAction(this, files, "N8", QStringLiteral("В&ыход"), QKeySequence::Quit);

    QMenu* edit = bar->addMenu(QStringLiteral("&Редактор"));
    edit->setObjectName(QStringLiteral("N9"));
    NUndo = NewAction(this, edit, "NUndo", QStringLiteral("О&тменить"), QKeySequence::Undo);
    NRedo = NewAction(this, edit, "NRedo", QStringLiteral("По&вторить"));
    NRedo->setShortcuts(
        {QKeySequence(Qt::CTRL | Qt::Key_Y), QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_Z)});
    NUndo->setEnabled(false);
    NRedo->setEnabled(false);
    edit->addSeparator();
    N17 = NewAction(this, edit, "N17", QStringLiteral("&Добавить"));
    N18 = NewAction(this, edit, "N18", QStringLiteral("&Удалить"));
    N19 = NewAction(this, edit, "N19", QStringLiteral("&Копировать"));
    edit->addSeparator();
    N27 = NewAction(this, edit, "N27", QStringLiteral("&Первый"),
                    QKeySequence(Qt::ALT | Qt::Key_Home));
    N28 = NewAction(this, edit, "N28", QStringLiteral("П&редыдущий"), QKeySequence::Back);
    N29 = NewAction(this, edit, "N29", QStringLiteral("С&ледующий"), QKeySequence::Forward);
    N30 = NewAction(this, edit, "N30", QStringLiteral("П&оследний"),
                    QKeySequence(Qt::ALT | Qt::Key_End));
    edit->addSeparator();
    QMenu* pages = edit->addMenu(QStringLiteral("Р&едактирование"));
    pages->setObjectName(QStringLiteral("N21"));
    auto* group = new QActionGroup(this);
    for (int page = 0; page < kPageCount; ++page) {
        const QByteArray name = "Nr" + QByteArray::number(page);
        QAction* action = NewCheckAction(
            this, pages, name.constData(), QString::fromUtf8(PageKind(page).PageEntry),
            QKeySequence(Qt::CTRL | static_cast<Qt::Key>(Qt::Key_1 + page)));
        group->addAction(action);
        Nr[static_cast<size_t>(page)] = action;
        connect(action, &QAction::triggered, this, [this, page] {
            if (!GoToPage(page))
                CheckPageEntry(CurrentPage());
        });
    }
    Nr[0]->setChecked(true);
    NConfirm = NewCheckAction(this, edit, "NConfirm", QStringLiteral("Подтверждение &изменений"));
    N35 = NewAction(this, edit, "N35", QStringLiteral("Расставить ко&мнаты"));
    N35->setVisible(false);

    QMenu* windows = bar->addMenu(QStringLiteral("&Окна"));
    windows->setObjectName(QStringLiteral("N11"));
    QMenu* lists = windows->addMenu(QStringLiteral("&Список"));
    lists->setObjectName(QStringLiteral("N12"));
    for (int kind = 0; kind < 5; ++kind) {
        const TPageKind& page = PageKind(kind + 1);
        QAction* action =
            NewCheckAction(this, lists, page.ListName, QString::fromUtf8(page.ListEntry));
        ListEntries[static_cast<size_t>(kind)] = action;
        connect(action, &QAction::triggered, this, [this, kind] { ToggleListWindow(kind); });
        connect(ListForms[static_cast<size_t>(kind)], &TListForm::closed, action,
                [action] { action->setChecked(false); });
    }
    N24 = NewCheckAction(this, windows, "N24", QStringLiteral("С&татус"));
    N25 = NewCheckAction(this, windows, "N25", QStringLiteral("&Инструменты"));
    NHistory = NewCheckAction(this, windows, "NHistory", QStringLiteral("Исто&рия изменений"));

    QMenu* help = bar->addMenu(QStringLiteral("&Помощь"));
    help->setObjectName(QStringLiteral("N16"));
    N10 = NewAction(this, help, "N10", QStringLiteral("&Помощь"), QKeySequence::HelpContents);
    About1 = NewAction(this, help, "About1", QStringLiteral("&О программе"));

    connect(N8, &QAction::triggered, this, &QWidget::close);
    connect(N33, &QAction::triggered, ConfigForm, &QDialog::exec);
    connect(N27, &QAction::triggered, this, &TMainForm::FirstRecord);
    connect(N28, &QAction::triggered, this, &TMainForm::PreviousRecord);
    connect(N29, &QAction::triggered, this, &TMainForm::NextRecord);
    connect(N30, &QAction::triggered, this, &TMainForm::LastRecord);
    connect(N24, &QAction::triggered, this, &TMainForm::ToggleStatusBar);
    connect(N25, &QAction::triggered, this, &TMainForm::ToggleToolsWindow);
    connect(About1, &QAction::triggered, AboutForm, &QDialog::exec);
    connect(N10, &QAction::triggered, this, [this] {
        if (!HelpForm)
            HelpForm = new THelpForm(this);
        HelpForm->show();
        HelpForm->raise();
    });
}

void TMainForm::ConnectCommands() {
    connect(N2, &QAction::triggered, this, [this] {
        if (CurrentPage() == ZonePageIndex)
            ZonePage->NewZone();
        else
            RecordCommands->Add();
    });
    connect(N3, &QAction::triggered, FileCommands, &TFileCommands::Open);
    connect(N4, &QAction::triggered, FileCommands, &TFileCommands::Restore);
    connect(N5, &QAction::triggered, FileCommands, &TFileCommands::Save);
    connect(N6, &QAction::triggered, FileCommands, &TFileCommands::LoadZone);
    connect(N34, &QAction::triggered, FileCommands, &TFileCommands::SaveZone);
    connect(NImport, &QAction::triggered, ImportCommand, &TImportCommand::Run);
    connect(N17, &QAction::triggered, RecordCommands, &TRecordCommands::Add);
    connect(N18, &QAction::triggered, RecordCommands, &TRecordCommands::Delete);
    connect(N19, &QAction::triggered, RecordCommands, &TRecordCommands::Copy);
}

void TMainForm::CreateHistoryWindow() {
    HistoryForm = new QWidget(this, Qt::Tool);
    HistoryForm->setObjectName(QStringLiteral("HistoryForm"));
    HistoryForm->setWindowTitle(QStringLiteral("История изменений"));
    HistoryView = new QUndoView(Document->UndoStack(), HistoryForm);
    HistoryView->setObjectName(QStringLiteral("HistoryView"));
    HistoryView->setEmptyLabel(QStringLiteral("<начало>"));
    auto* layout = new QVBoxLayout(HistoryForm);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(HistoryView);
    HistoryForm->resize(320, 400);
    connect(NHistory, &QAction::triggered, HistoryForm, &QWidget::setVisible);
}

void TMainForm::ConnectDocument() {
    QUndoStack* stack = Document->UndoStack();
    connect(stack, &QUndoStack::indexChanged, this, &TMainForm::ShowUndoEntries);
    connect(NUndo, &QAction::triggered, this, &TMainForm::Undo);
    connect(NRedo, &QAction::triggered, this, &TMainForm::Redo);
    connect(Document, &TWorldDocument::restored, this, &TMainForm::ShowPlace);
    // The list windows and pickers follow every step row by row.
    connect(Document, &TWorldDocument::changed, this, [this](const TWorldChange& change) {
        for (const TZoneDiff& diff : change.Diffs)
            for (size_t kind = 0; kind < ListModels.size(); ++kind)
                if (!diff.Records[kind].Empty())
                    ListModels[kind]->ReloadZone(diff.Number);
    });
    connect(Document, &TWorldDocument::unsavedChanged, this, &TMainForm::ShowUnsavedMarks);
    // Every step, undo and redo (file reads too) checks the world again.
    connect(Document, &TWorldDocument::changed, this, &TMainForm::RecheckProblems);
}

void TMainForm::ShowUndoEntries() {
    const QUndoStack* stack = Document->UndoStack();
    // Edits not applied yet can be undone too: they become a step first.
    NUndo->setEnabled(stack->canUndo() || IsChanged());
    NUndo->setText(stack->canUndo() && !IsChanged()
                       ? QStringLiteral("Отменить: ") + stack->undoText()
                       : QStringLiteral("О&тменить"));
    NRedo->setEnabled(stack->canRedo());
    NRedo->setText(stack->canRedo() ? QStringLiteral("Повторить: ") + stack->redoText()
                                    : QStringLiteral("По&вторить"));
}

TStepPlace TMainForm::PlaceOn(int page) const {
    TStepPlace place;
    place.Zone = ZonePage->CurrentZone();
    place.Page = page;
    if (page != ZonePageIndex)
        place.VNum = RecordPage(page)->Current;
    return place;
}

bool TMainForm::SettleEdits() {
    if (!IsChanged() || !ZonePage->CurrentZone())
        return true;
    const int page = CurrentPage();
    if (ConfirmStore()) {
        const bool stored =
            page == ZonePageIndex ? ZonePage->StoreCurrent() : RecordPage(page)->StoreCurrent();
        if (!stored)
            return false;
    } else if (page == ZonePageIndex) {
        ZonePage->ShowCurrent();
    } else {
        RecordPage(page)->ShowCurrent();
    }
    SetChanged(false);
    return true;
}

void TMainForm::Undo() {
    // Edits not applied become a step of their own first, so that the undo
    // takes them back and a redo brings them again.
    if (SettleEdits())
        Document->UndoStack()->undo();
}

void TMainForm::Redo() {
    if (SettleEdits())
        Document->UndoStack()->redo();
}

void TMainForm::ShowPlace(const TStepPlace& place) {
    // The pages follow what was put back; nothing is stored or asked meanwhile.
    const bool running = FileCommandRunning;
    FileCommandRunning = true;
    if (place.Zone) {
        const int row = ZonePage->RowOf(place.Zone);
        if (row >= 0 && place.Zone != ZonePage->CurrentZone())
            ZonePage->SelectRow(row);
        else
            ZonePage->ShowCurrent();
    }
    if (place.Page != CurrentPage())
        GoToPage(place.Page);
    if (place.Page != ZonePageIndex) {
        TRecordPage* records = RecordPage(place.Page);
        const int row = place.VNum ? records->RowOf(*place.VNum) : -1;
        if (row >= 0)
            records->SelectRow(row);
        else
            records->ShowCurrent();
        EnableRecordCommands(records->Count() > 0);
    }
    FileCommandRunning = running;
    SetChanged(false);
}

bool TMainForm::OpenRecord(int page, int32_t vnum) {
    return Navigator->OpenRecord(page, vnum);
}

void TMainForm::ShowUses(int page, int32_t vnum) {
    Navigator->ShowUses(page, vnum);
}

void TMainForm::ShowUnsavedMarks() {
    ZonePage->ShowUnsavedMarks([this](const TZone* zone) { return Document->IsUnsaved(zone); });
    const TZone* zone = ZonePage->CurrentZone();
    setWindowTitle(zone && Document->IsUnsaved(zone)
                       ? QStringLiteral("Velmora Editor — зона %1 *").arg(zone->ZoneNumber)
                       : QStringLiteral("Velmora Editor"));
}

void TMainForm::LoadTemplates() {
    const std::string bases = ProgramFolder + "Bases/";
    ::LoadTemplates(ObjTemplet, bases + "Template_Obj");
    ::LoadTemplates(MobTemplet, bases + "Template_Mob");
    ::LoadTemplates(ShopTemplet, bases + "Template_Shop", KindName());
    ::LoadTemplates(TrigTemplet, bases + "Template_Trigger");
    ::LoadTemplates(RoomTemplet, bases + "Template_Room");
}

void TMainForm::LoadVocabularies() {
    LoadListReporting(
        [this] { ItemKinds = CodedItems(LoadVocabulary(ProgramFolder, "Type"), 0, "Type"); });
    LoadListReporting(
        [this] { FillCodeCombo(ProgramFolder, "ZON_Repop", ZonePage->Z_RepopComboBox, 0, 0); });
    LoadListReporting([this] { EffectForm->LoadLists(ProgramFolder); });
    // The problems window names the spells of objects that the list does not,
    // and the script commands that the language does not have.
    TNamedCodes named;
    LoadListReporting([&named, this] {
        named.Spells = SpellCodes(LoadVocabulary(ProgramFolder, "Spells"), "Spells");
    });
    LoadListReporting([&named, this] {
        std::string error;
        std::optional<TScriptLanguage> language =
            TScriptLanguage::Load(ProgramFolder + "Bases/ScriptCommands", &error);
        if (!language)
            throw TVocabularyError{error};
        ScriptLanguage = std::make_shared<const TScriptLanguage>(std::move(*language));
        named.Script = ScriptLanguage;
    });
    Navigator->ProblemsForm->SetNamedCodes(std::move(named));
}

void TMainForm::ConnectToolsWindow() {
    connect(ToolsForm, &TToolsForm::prevClicked, this, &TMainForm::PreviousRecord);
    connect(ToolsForm, &TToolsForm::nextClicked, this, &TMainForm::NextRecord);
    connect(ToolsForm, &TToolsForm::applyClicked, this, &TMainForm::ApplyPage);
    connect(ToolsForm, &TToolsForm::cancelClicked, this, &TMainForm::CancelPage);
    connect(ToolsForm, &TToolsForm::closed, N25, [this] { N25->setChecked(false); });
}

// ---- start and end ----

void TMainForm::showEvent(QShowEvent* event) {
    QMainWindow::showEvent(event);
    FormActivate();
}

void TMainForm::FormActivate() {
    if (!firstActivation_)
        return;
    firstActivation_ = false;
    {
        const TLoadReportScope gathering(startupReport_);
        StartUp();
    }
    if (!startupReport_.IsEmpty())
        ShowLoadReport({}, startupReport_);
}

void TMainForm::ShowLoadReport(const QStringList& summary, const TLoadReport& report) {
    if (!ReportForm)
        ReportForm = new TReportForm(this);
    ReportForm->SetReport(summary, report.Failures, report.Notes);
    ReportForm->show();
    ReportForm->raise();
}

void TMainForm::RescanWorkspace(TLoadReport& report) {
    EnableRecordCommands(false);
    {
        const TLoadReportScope gathering(report);
        ZonePage->ScanWorkspace();
    }
    FileCommands->StampWorkspace();
    if (ZonePage->CurrentZone())
        EnableRecordCommands(true);
    SetChanged(false);
}

void TMainForm::StartUp() {
    LoadHintFile();
    ApplySettings();

    const TSettings settings = ConfigForm->settings();
    // Shown once the main window is up, so that the window system stacks it
    // above its owner; beside it, not over its title bar.
    QTimer::singleShot(0, this, [this, shown = settings.Tools, minutes = settings.RecoveryMinutes] {
        // Asked once the main window is up: the question's own event loop
        // would otherwise show the tools window before its owner, under it.
        Recovery->Start(minutes);
        PlaceTools();
        ToolsForm->setVisible(shown);
        if (shown) {
            ToolsForm->raise();
            activateWindow(); // the builder types into the main window
        }
    });
    N25->setChecked(settings.Tools);
    NConfirm->setChecked(settings.Confirm);
    if (settings.Status)
        N24->trigger(); // inverts the check mark and shows the bar

    EnableRecordCommands(false);
    SetChanged(false);
    const std::array<const char*, 5> captions = {"Список комнат", "Список объектов", "Список мобов",
                                                 "Список магазинов", "Список триггеров"};
    for (int kind = 0; kind < 5; ++kind) {
        TListForm* form = ListForms[static_cast<size_t>(kind)];
        form->setWindowTitle(QString::fromUtf8(captions[static_cast<size_t>(kind)]));
        form->SetKindTag(kind);
    }
    // What a killed save or import of an earlier run left; the start-up
    // report names each.
    for (const std::string& path :
         RemoveLeftovers(ProgramFolder + "Zones/", std::filesystem::file_time_type::clock::now()))
        ReportFileNote(Msg("Удалён остаток прерванной записи: ") + Msg(path));
    ZonePage->ScanWorkspace();
    FileCommands->StampWorkspace();
    if (ZonePage->CurrentZone())
        EnableRecordCommands(true);
}

void TMainForm::LoadHintFile() {
    const std::string path = ProgramFolder + "Help/Hints";
    if (const auto hints = ::LoadHints(path))
        ApplyHints(this, *hints);
    else
        // The editor works without its hints; the builder should know why they are missing.
        ReportLoadFailure(QStringLiteral("Не могу загрузить подсказки из файла ") +
                          QString::fromStdString(path));
}

void TMainForm::ApplySettings() {
    const TProfileFile file(SettingsPath(ProgramFolder));
    const TSettings settings = ReadSettings(file);
    ConfigForm->loadSettings(settings);
    if (settings.Position && settings.MainW && settings.MainH)
        resize(std::max(*settings.MainW, kWindowSize.width()),
               std::max(*settings.MainH, kWindowSize.height()));
    TRecordPicker::SetRememberedSize(settings.PickerW && settings.PickerH
                                         ? QSize(*settings.PickerW, *settings.PickerH)
                                         : QSize());
    if (settings.Position && settings.MainX && settings.MainY) {
        move(*settings.MainX, *settings.MainY);
    } else if (const QScreen* screen = QGuiApplication::primaryScreen()) {
        QRect frame = frameGeometry();
        frame.moveCenter(screen->availableGeometry().center());
        move(frame.topLeft());
    }
}

bool TMainForm::WriteSettingsFile() {
    TProfileFile file(SettingsPath(ProgramFolder));
    TSettings settings = ConfigForm->settings();
    settings.MainX = x();
    settings.MainY = y();
    // The size of the window as the builder left it (not maximised).
    const QSize size = normalGeometry().isValid() ? normalGeometry().size() : this->size();
    if (size != kWindowSize) {
        settings.MainW = size.width();
        settings.MainH = size.height();
    }
    if (const QSize picker = TRecordPicker::RememberedSize(); picker.isValid()) {
        settings.PickerW = picker.width();
        settings.PickerH = picker.height();
    }
    WriteSettings(file, settings);
    if (file.Save())
        return true;
    // The exit stops here, but a folder that cannot be written must not keep
    // the user in the editor: the question lets them leave anyway.
    return Prompts().Confirm(QStringLiteral("Не могу сохранить настройки в файл ") +
                             QString::fromStdString(file.Path()) +
                             QStringLiteral("\nВыйти без сохранения настроек?"));
}

bool TMainForm::SettleUnsavedZones() {
    const std::vector<TZone*> unsaved = Document->UnsavedZones();
    if (unsaved.empty())
        return true;
    QStringList names;
    for (const TZone* zone : unsaved)
        names << QString::number(zone->ZoneNumber) + QStringLiteral("  ") +
                     FromCp1251(zone->ZoneName);
    const int answer = Prompts().Choose(
        QStringLiteral("Не сохранены зоны:\n") + names.join(QLatin1Char('\n')) +
            QStringLiteral("\nСохранить их перед выходом?"),
        {QStringLiteral("Сохранить все"), QStringLiteral("Не сохранять"), QStringLiteral("Отмена")},
        0);
    if (answer == 2)
        return false;
    // A failure was told; the builder stays with the zones.
    return answer != 0 || FileCommands->SaveWholeZones(unsaved);
}

void TMainForm::moveEvent(QMoveEvent* event) {
    QMainWindow::moveEvent(event);
    KeepToolsBeside();
}

void TMainForm::resizeEvent(QResizeEvent* event) {
    QMainWindow::resizeEvent(event);
    KeepToolsBeside();
}

void TMainForm::PlaceTools() {
    PlaceBeside(ToolsForm, this);
    toolsPlacedAt_ = ToolsForm->pos();
}

void TMainForm::KeepToolsBeside() {
    if (!ToolsForm || !ToolsForm->isVisible())
        return;
    // The window system may set a window a title bar's height from where it
    // was asked to go; a builder who moved it took it farther.
    constexpr int kWindowSystemShift = 40;
    const bool leftWherePut =
        (ToolsForm->pos() - toolsPlacedAt_).manhattanLength() <= kWindowSystemShift;
    // Left where it was put, it follows its owner (out of the corner a
    // maximized window pushed it to, when that window is restored).
    if (leftWherePut || CoversTitleBar(ToolsForm, this))
        PlaceTools();
}

void TMainForm::closeEvent(QCloseEvent* event) {
    if (!SettleEdits() || !SettleUnsavedZones() ||
        !Prompts().Confirm(QStringLiteral("Вы хотите выйти?")) || !WriteSettingsFile()) {
        event->ignore();
        return;
    }
    // A normal exit leaves nothing to recover.
    Recovery->Clear();
    for (TListForm* form : ListForms)
        form->hide();
    ToolsForm->hide();
    HistoryForm->hide();
    event->accept();
}

// ---- the change flag and the store step ----

void TMainForm::SetChanged(bool changed) {
    changed_ = changed;
    ToolsForm->SetApplyEnabled(changed);
    ShowUndoEntries();
}

bool TMainForm::ConfirmStore() {
    Asking = true;
    bool store = false;
    if (!FileCommandRunning) {
        store = IsChanged();
        if (store && NConfirm->isChecked())
            store = Prompts().Confirm(QStringLiteral("Сохранить изменения?"));
    }
    Asking = false;
    return store;
}

void TMainForm::EnableRecordCommands(bool enabled) {
    for (QAction* action : {N5, N18, N19, N27, N28, N29, N30})
        action->setEnabled(enabled);
    ToolsForm->SetRecordButtonsEnabled(enabled);
    // A record not read is only shown: there is nothing to copy from it.
    const int page = CurrentPage();
    if (page > ZonePageIndex && RecordPage(page)->CurrentUnparsed) {
        N19->setEnabled(false);
        ToolsForm->CopyBtn->setEnabled(false);
    }
}

// ---- pages ----

int TMainForm::CurrentPage() const {
    return PageControl1->currentIndex();
}

bool TMainForm::LeavePage(int page) {
    if (!ZonePage->CurrentZone()) {
        Prompts().Error(QStringLiteral("Выберите сначала зону"));
        return false;
    }
    if (ConfirmStore()) {
        const bool stored =
            page == ZonePageIndex ? ZonePage->StoreCurrent() : RecordPage(page)->StoreCurrent();
        if (!stored)
            return false;
    }
    return true;
}

void TMainForm::CheckPageEntry(int page) {
    Nr[static_cast<size_t>(page)]->setChecked(true);
}

void TMainForm::RefillListWindows() {
    for (TRecordListModel* model : ListModels)
        model->Reload();
}

void TMainForm::EnterPage(int page) {
    for (QAction* action : Nr)
        action->setChecked(false);
    N35->setVisible(page == RoomPageIndex);
    CheckPageEntry(page);
    if (page == ZonePageIndex) {
        const bool hasZones = ZonePage->ZoneCount() > 0;
        if (hasZones)
            ZonePage->ShowCurrent();
        EnableRecordCommands(hasZones);
    } else {
        TRecordPage* records = RecordPage(page);
        if (records->Entered)
            records->Entered();
        const bool hasRecords = records->Count() > 0;
        if (!hasRecords)
            records->Current.reset();
        records->ShowCurrent();
        EnableRecordCommands(hasRecords);
    }
    SetChanged(false);
    shownPage_ = page;
}

void TMainForm::PageChanged(int page) {
    if (switchingPage_)
        return;
    if (!LeavePage(shownPage_)) {
        switchingPage_ = true;
        PageControl1->setCurrentIndex(shownPage_);
        switchingPage_ = false;
        return;
    }
    EnterPage(page);
}

bool TMainForm::GoToPage(int page) {
    if (page == CurrentPage())
        return true;
    if (!LeavePage(CurrentPage()))
        return false;
    switchingPage_ = true;
    PageControl1->setCurrentIndex(page);
    switchingPage_ = false;
    EnterPage(page);
    return true;
}

// ---- navigation ----

void TMainForm::FirstRecord() {
    if (CurrentPage() == ZonePageIndex) {
        if (ZonePage->ZoneCount() > 0)
            ZonePage->SelectRow(0);
    } else {
        RecordPage(CurrentPage())->First();
    }
}

void TMainForm::PreviousRecord() {
    if (CurrentPage() == ZonePageIndex) {
        const int row = ZonePage->Z_ListBox->currentRow();
        if (row > 0)
            ZonePage->SelectRow(row - 1);
    } else {
        RecordPage(CurrentPage())->Previous();
    }
}

void TMainForm::NextRecord() {
    if (CurrentPage() == ZonePageIndex) {
        const int row = ZonePage->Z_ListBox->currentRow();
        if (row < ZonePage->ZoneCount() - 1)
            ZonePage->SelectRow(row + 1);
    } else {
        RecordPage(CurrentPage())->Next();
    }
}

void TMainForm::LastRecord() {
    if (CurrentPage() == ZonePageIndex) {
        if (ZonePage->ZoneCount() > 0)
            ZonePage->SelectRow(ZonePage->ZoneCount() - 1);
    } else {
        RecordPage(CurrentPage())->Last();
    }
}

// ---- the tools window's apply and cancel ----

void TMainForm::ApplyPage() {
    const bool stored = CurrentPage() == ZonePageIndex ? ZonePage->StoreCurrent()
                                                       : RecordPage(CurrentPage())->StoreCurrent();
    if (!stored)
        return; // the page said why; its edits stay to be mended
    SetChanged(false);
}

void TMainForm::CancelPage() {
    if (!Prompts().Confirm(QStringLiteral("Отменить изменения?")))
        return;
    if (CurrentPage() == ZonePageIndex)
        ZonePage->ShowCurrent();
    else
        RecordPage(CurrentPage())->ShowCurrent();
    SetChanged(false);
}

// ---- windows ----

// The menu entry has inverted its check mark already.
void TMainForm::ToggleStatusBar() {
    const bool shown = N24->isChecked();
    if (shown == StatusBar1->isVisible())
        return;
    StatusBar1->setVisible(shown);
    // The pages keep their room: the window grows by the bar, or gives it back.
    if (!isMaximized() && !isFullScreen()) {
        const int bar = StatusBar1->sizeHint().height();
        setMinimumHeight(kWindowSize.height() + (shown ? bar : 0));
        resize(width(), height() + (shown ? bar : -bar));
    }
}

void TMainForm::ToggleListWindow(int kind) {
    ListForms[static_cast<size_t>(kind)]->setVisible(
        ListEntries[static_cast<size_t>(kind)]->isChecked());
}

void TMainForm::ToggleToolsWindow() {
    ToolsForm->setVisible(N25->isChecked());
}

void TMainForm::RecheckProblems() {
    if (Navigator) // not yet while the pages are built
        Navigator->RecheckProblems();
}
