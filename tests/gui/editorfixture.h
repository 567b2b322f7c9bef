#pragma once

// The editor started on a copy of the program folder, with scripted prompts:
// what the main window tests and the file command tests share.

#include "errorreporter.h"
#include "fakeprompts.h"
#include "guisupport.h"
#include "mainform.h"
#include "mappage.h"
#include "recordpage.h"
#include "roompage.h"
#include "toolsform.h"
#include "vocabulary.h"
#include "vocabularyfill.h"
#include "zonepage.h"

#include <QAction>
#include <QComboBox>
#include <QLineEdit>
#include <QListWidget>
#include <QTabBar>
#include <QTabWidget>
#include <QTemporaryDir>
#include <QToolButton>
#include <functional>
#include <memory>

// No Q_OBJECT of its own: the test classes deriving from it carry their slots.
class TEditorFixture : public QObject {
protected:
    std::unique_ptr<QTemporaryDir> dir_;
    std::string program_;
    std::unique_ptr<TFakePrompts> prompts_;
    std::unique_ptr<TMainForm> form_;
    // World file failures arrive as error boxes, as in the running editor.
    TPromptErrorReporter reporter_;

    // Settings with every switch as given; the rest as shipped.
    static std::string Settings(bool status, bool confirm, bool tools) {
        const auto b = [](bool on) { return std::string(on ? "True" : "False"); };
        return "[SaveMUD]\r\nCoding=0\r\nCRLF=0\r\nPath=LIB/world/\r\n[Editor]\r\nStatus=" +
               b(status) + "\r\nConfirm=" + b(confirm) + "\r\nTools=" + b(tools) +
               "\r\nPosition=False\r\n[Position]\r\nMainX=0\r\nMainY=0\r\n";
    }

    // A program folder with the shipped data; the sample workspace when asked.
    void MakeProgram(bool withWorkspace, const std::string& settings) {
        prompts_.reset(); // the real prompts must never come back in between
        dir_ = std::make_unique<QTemporaryDir>();
        program_ = guitest::CopyProgramFolder(dir_->path(), withWorkspace);
        guitest::WriteFile(program_ + "VelmoraEd.ini", settings);
        prompts_ = std::make_unique<TFakePrompts>(program_);
        SetErrorReporter(&reporter_);
    }
    // The editor started on that folder, as far as its first activation.
    void Start() {
        Stop(); // a second editor on the same program folder would refuse to start
        form_ = std::make_unique<TMainForm>();
        form_->show();
        QVERIFY(QTest::qWaitForWindowExposed(form_.get()));
    }
    void StartOn(bool withWorkspace, bool confirm = true, bool tools = true, bool status = false) {
        MakeProgram(withWorkspace, Settings(status, confirm, tools));
        Start();
    }
    // The editor goes away without its exit question.
    void Stop() {
        if (form_) {
            form_->FileCommandRunning = false;
            form_->hide();
        }
        form_.reset();
    }
    void Finish() {
        Stop();
        const bool scriptDone = !prompts_ || prompts_->ScriptDone();
        SetErrorReporter(nullptr);
        prompts_.reset();
        dir_.reset();
        QVERIFY2(scriptDone, "prompts left in the script");
    }

    std::string Workspace(const std::string& file) const { return program_ + "Zones/" + file; }
    TZonePage& Zone() { return *form_->ZonePage; }
    TWorld& World() { return form_->World(); }
    TMapPage& Map() { return *form_->findChild<TMapPage*>(QStringLiteral("MapPage")); }
    TRoomPage& Room() { return *form_->findChild<TRoomPage*>(); }
    TRecordPage& Page(int page) { return *form_->RecordPage(page); }
    QAction* Action(const char* name) { return form_->findChild<QAction*>(QLatin1String(name)); }
    void ClickTab(int page) {
        QTabBar* bar = form_->PageControl1->tabBar();
        QTest::mouseClick(bar, Qt::LeftButton, {}, bar->tabRect(page).center());
    }
    void SelectZoneRow(int row) {
        QListWidget* list = Zone().Z_ListBox;
        QTest::mouseClick(list->viewport(), Qt::LeftButton, {},
                          list->visualItemRect(list->item(row)).center());
    }
    void TypeZoneName(const QString& text) {
        Zone().Z_NameEdit->setFocus();
        Zone().Z_NameEdit->selectAll();
        guitest::TypeText(Zone().Z_NameEdit, text);
    }
    // Chooses the record with that number from the page's ID list.
    void ChooseRecord(int page, int32_t vnum) {
        const int row = Page(page).RowOf(vnum);
        QVERIFY2(row >= 0, qPrintable(QStringLiteral("no record %1 in the ID list").arg(vnum)));
        guitest::ChooseComboEntry(Page(page).IDComboBox, row);
    }
    bool ApplyEnabled() { return form_->ToolsForm->ApplyBtn->isEnabled(); }

    // A record's flags with a pair no item of `list` names, and two named ones
    // in an order of their own: shown and applied they stay byte for byte; a
    // check set or cleared by the user changes only its own pair.
    template <class Flags>
    void CheckFlagsKept(int page, int32_t vnum, Flags& flags, QListWidget* list) {
        QVERIFY(list->count() >= 3);
        const auto pair = [list](int row) {
            return FlagCodeText(list->item(row)->data(kCodeRole).toInt());
        };
        flags = pair(1) + pair(0) + "z5";
        const std::string stored{std::string_view(flags)};
        ChooseRecord(page, vnum);
        form_->ApplyPage();
        QCOMPARE(std::string(std::string_view(flags)), stored);
        list->setFocus();
        list->setCurrentRow(2);
        QTest::keyClick(list, Qt::Key_Space);
        list->setCurrentRow(1);
        QTest::keyClick(list, Qt::Key_Space);
        QVERIFY(ApplyEnabled());
        guitest::Click(form_->ToolsForm->ApplyBtn);
        QCOMPARE(std::string(flags), pair(0) + "z5" + pair(2));
    }

    // Shows and applies every record of `page` in the sample zones 10 and 11:
    // no showing may count as an edit, and each zone's file text (`composed`)
    // must come out as it was.
    void ApplyEverySampleRecord(int page, const std::function<std::string(int32_t)>& composed) {
        for (const int32_t zone : {10, 11}) {
            if (zone == 11) {
                ClickTab(ZonePageIndex);
                SelectZoneRow(1);
                ClickTab(page);
            }
            const std::string before = composed(zone);
            TRecordPage& records = Page(page);
            QVERIFY(records.Count() > 0);
            for (int row = 0; row < records.Count(); ++row) {
                guitest::ChooseComboEntry(records.IDComboBox, row);
                QVERIFY2(!ApplyEnabled(), "showing a record must not count as an edit");
                form_->ApplyPage();
            }
            QCOMPARE(composed(zone), before);
        }
    }
};
