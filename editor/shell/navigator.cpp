#include "navigator.h"

#include "mainform.h"
#include "problemsform.h"
#include "prompts.h"
#include "recordpage.h"
#include "scripteditor.h"
#include "searchform.h"
#include "usesform.h"
#include "zonepage.h"

#include <QMenu>
#include <QMenuBar>
#include <QPushButton>

namespace {

QAction* MenuAction(QMenu* menu, const char* name, const QString& caption,
                    const QKeySequence& shortcut = {}) {
    QAction* action = menu->addAction(caption);
    action->setObjectName(QLatin1String(name));
    action->setShortcut(shortcut);
    return action;
}

} // namespace

TNavigator::TNavigator(TMainForm& main) : QObject(&main), main_(main) {
    const TWorldSource source{&main_.World(), [this]() -> std::optional<int32_t> {
                                  if (const TZone* zone = main_.ZonePage->CurrentZone())
                                      return zone->ZoneNumber;
                                  return std::nullopt;
                              }};
    ProblemsForm = new TProblemsForm(&main);
    SearchForm = new TSearchForm(&main);
    UsesForm = new TUsesForm(&main);
    ProblemsForm->SetSource(source);
    SearchForm->SetSource(source);
    UsesForm->SetSource(source);
    const auto open = [this](int page, int vnum) { OpenRecord(page, vnum); };
    connect(ProblemsForm, &TProblemsForm::openRecord, this, open);
    connect(SearchForm, &TSearchForm::openRecord, this, open);
    connect(UsesForm, &TUsesForm::openRecord, this, open);
    connect(ProblemsForm, &TProblemsForm::openUnparsed, this,
            [this](int page, int zone, int index) { OpenUnparsed(page, zone, index); });
    connect(ProblemsForm, &TProblemsForm::openScriptLine, this, [this](int vnum, int line) {
        if (!OpenRecord(TrigPageIndex, vnum))
            return;
        if (auto* script = main_.findChild<TScriptEditor*>(QStringLiteral("T_TextMemo")))
            script->GoToLine(line);
    });
    connect(SearchForm, &TSearchForm::showUses, this,
            [this](int page, int vnum) { ShowUses(page, vnum); });

    QMenu* edit = main.menuBar()->findChild<QMenu*>(QStringLiteral("N9"));
    edit->addSeparator();
    NFind = MenuAction(edit, "NFind", QStringLiteral("&Найти..."), QKeySequence::Find);
    connect(NFind, &QAction::triggered, SearchForm, &TSearchForm::Start);

    QMenu* windows = main.menuBar()->findChild<QMenu*>(QStringLiteral("N11"));
    NProblems = MenuAction(windows, "NProblems", QStringLiteral("&Проблемы"));
    NProblems->setCheckable(true);
    connect(NProblems, &QAction::triggered, this,
            [this](bool checked) { ProblemsForm->setVisible(checked); });
    connect(ProblemsForm, &TProblemsForm::closed, NProblems,
            [this] { NProblems->setChecked(false); });

    for (int page = RoomPageIndex; page < kPageCount; ++page) {
        TRecordPage* records = main.RecordPage(page);
        connect(records->UsesBtn, &QPushButton::clicked, this, [this, page, records] {
            if (records->Current)
                ShowUses(page, *records->Current);
        });
    }
}

bool TNavigator::OpenRecord(int page, int32_t vnum) {
    const int32_t number = ZoneOfRecord(static_cast<TRecordType>(page), vnum);
    if (!OpenZonePage(number, page))
        return false;
    if (page != ZonePageIndex) {
        TRecordPage* records = main_.RecordPage(page);
        const int at = records->RowOf(vnum);
        if (at < 0) {
            Prompts().Error(QStringLiteral("Записи %1 нет в зоне %2").arg(vnum).arg(number));
            return false;
        }
        if (records->Current != vnum)
            records->SelectRow(at);
        if (records->Current != vnum)
            return false; // the shown record's edits could not be stored
    }
    ShowFound();
    return true;
}

bool TNavigator::OpenUnparsed(int page, int32_t zone, int index) {
    if (!OpenZonePage(zone, page))
        return false;
    TRecordPage* records = main_.RecordPage(page);
    const int at = records->RowOfUnparsed(index);
    if (at < 0) {
        Prompts().Error(QStringLiteral("Этой записи больше нет в зоне %1").arg(zone));
        return false;
    }
    if (records->CurrentUnparsed != index)
        records->SelectRow(at);
    if (records->CurrentUnparsed != index)
        return false;
    ShowFound();
    return true;
}

bool TNavigator::OpenZonePage(int32_t number, int page) {
    const int row = main_.ZonePage->RowOfNumber(number);
    if (row < 0) {
        Prompts().Error(QStringLiteral("Зоны %1 нет в рабочей области").arg(number));
        return false;
    }
    // Another zone is chosen on the zone page, as the builder would: leaving
    // the page stores its edits, then the zone's click stores the zone's.
    if (main_.ZonePage->CurrentZoneIndex() != row) {
        if (!main_.GoToPage(ZonePageIndex))
            return false;
        main_.ZonePage->SelectRow(row);
        if (main_.ZonePage->CurrentZoneIndex() != row)
            return false;
    }
    return main_.GoToPage(page);
}

void TNavigator::ShowUses(int page, int32_t vnum) {
    UsesForm->ShowUses(page, vnum);
}

void TNavigator::RecheckProblems() {
    ProblemsForm->Recheck();
}

void TNavigator::ShowFound() {
    main_.raise();
    main_.activateWindow();
}
