// Finding one's way in the workspace: the problems window, the search and
// "Где используется", and opening the record any of them names on its page.

#include "mainform.h"
#include "problemsform.h"
#include "prompts.h"
#include "recordpage.h"
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

void TMainForm::CreateFindWindows() {
    const TWorldSource source{&World(), [this]() -> std::optional<int32_t> {
                                  if (const TZone* zone = ZonePage->CurrentZone())
                                      return zone->ZoneNumber;
                                  return std::nullopt;
                              }};
    ProblemsForm = new TProblemsForm(this);
    SearchForm = new TSearchForm(this);
    UsesForm = new TUsesForm(this);
    ProblemsForm->SetSource(source);
    SearchForm->SetSource(source);
    UsesForm->SetSource(source);
    const auto open = [this](int page, int vnum) { OpenRecord(page, vnum); };
    connect(ProblemsForm, &TProblemsForm::openRecord, this, open);
    connect(SearchForm, &TSearchForm::openRecord, this, open);
    connect(UsesForm, &TUsesForm::openRecord, this, open);
    connect(ProblemsForm, &TProblemsForm::openUnparsed, this,
            [this](int page, int zone, int index) { OpenUnparsed(page, zone, index); });
    connect(SearchForm, &TSearchForm::showUses, this,
            [this](int page, int vnum) { ShowUses(page, vnum); });

    QMenu* edit = menuBar()->findChild<QMenu*>(QStringLiteral("N9"));
    edit->addSeparator();
    NFind = MenuAction(edit, "NFind", QStringLiteral("&Найти..."), QKeySequence::Find);
    connect(NFind, &QAction::triggered, SearchForm, &TSearchForm::Start);

    QMenu* windows = menuBar()->findChild<QMenu*>(QStringLiteral("N11"));
    NProblems = MenuAction(windows, "NProblems", QStringLiteral("&Проблемы"));
    NProblems->setCheckable(true);
    connect(NProblems, &QAction::triggered, this,
            [this](bool checked) { ProblemsForm->setVisible(checked); });
    connect(ProblemsForm, &TProblemsForm::closed, NProblems,
            [this] { NProblems->setChecked(false); });

    for (int page = RoomPageIndex; page < kPageCount; ++page) {
        TRecordPage* records = RecordPage(page);
        connect(records->UsesBtn, &QPushButton::clicked, this, [this, page, records] {
            if (records->Current)
                ShowUses(page, *records->Current);
        });
    }
}

bool TMainForm::OpenRecord(int page, int32_t vnum) {
    const int32_t number = ZoneOfRecord(static_cast<TRecordType>(page), vnum);
    if (!OpenZonePage(number, page))
        return false;
    if (page != ZonePageIndex) {
        TRecordPage* records = RecordPage(page);
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
    raise();
    activateWindow();
    return true;
}

bool TMainForm::OpenUnparsed(int page, int32_t zone, int index) {
    if (!OpenZonePage(zone, page))
        return false;
    TRecordPage* records = RecordPage(page);
    const int at = records->RowOfUnparsed(index);
    if (at < 0) {
        Prompts().Error(QStringLiteral("Этой записи больше нет в зоне %1").arg(zone));
        return false;
    }
    if (records->CurrentUnparsed != index)
        records->SelectRow(at);
    if (records->CurrentUnparsed != index)
        return false;
    raise();
    activateWindow();
    return true;
}

bool TMainForm::OpenZonePage(int32_t number, int page) {
    const int row = ZonePage->RowOfNumber(number);
    if (row < 0) {
        Prompts().Error(QStringLiteral("Зоны %1 нет в рабочей области").arg(number));
        return false;
    }
    // Another zone is chosen on the zone page, as the builder would: leaving
    // the page stores its edits, then the zone's click stores the zone's.
    if (ZonePage->CurrentZoneIndex() != row) {
        if (!GoToPage(ZonePageIndex))
            return false;
        ZonePage->SelectRow(row);
        if (ZonePage->CurrentZoneIndex() != row)
            return false;
    }
    return GoToPage(page);
}

void TMainForm::ShowUses(int page, int32_t vnum) {
    UsesForm->ShowUses(page, vnum);
}

void TMainForm::RecheckProblems() {
    if (ProblemsForm)
        ProblemsForm->Recheck();
}
