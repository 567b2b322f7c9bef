#include "attachedtriggers.h"
#include "codepage.h"
#include "configform.h"
#include "editorfixture.h"
#include "listform.h"
#include "mainform.h"
#include "prompts.h"
#include "recordpage.h"
#include "roommobform.h"
#include "roomobjform.h"
#include "textcodec.h"
#include "toolsform.h"
#include "triggerform.h"
#include "vocabularyfill.h"
#include "world.h"
#include "zonepage.h"

#include <QAction>
#include <QCheckBox>
#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMenu>
#include <QMenuBar>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QSpinBox>
#include <QStatusBar>
#include <QTabBar>
#include <QTabWidget>
#include <QTemporaryDir>
#include <QToolButton>
#include <memory>

using namespace guitest;

namespace {

// Three rooms of zone 20 and one of zone 30 with exits that do not pair up,
// and a zone 20 that places a mob over its world limit and an unknown mob.
void WriteCheckZone(const std::string& program) {
    const std::string zones = program + "Zones/";
    const auto room = [](int vnum, int zone, const std::string& exits) {
        return "#" + std::to_string(vnum) + "\r\nRoom " + std::to_string(vnum) + "~\r\n~\r\n" +
               std::to_string(zone) + " 0 0\r\n" + exits + "S\r\n";
    };
    const auto exit = [](int dir, int to) {
        return "D" + std::to_string(dir) + "\r\n~\r\n~\r\n0 -1 " + std::to_string(to) + "\r\n";
    };
    WriteFile(zones + "WLD/20.wld", room(2000, 20, exit(0, 3000) + exit(1, 2001)) +
                                        room(2001, 20, exit(3, 2002)) + room(2002, 20, "") +
                                        "$\r\n");
    WriteFile(zones + "WLD/30.wld", room(3000, 30, "") + "$\r\n");
    WriteFile(zones + "WLD/20.map", "");
    WriteFile(zones + "WLD/30.map", "");
    WriteFile(zones + "ZON/20.zon", "#20\r\nCheck zone~\r\n2099 30 2\r\n"
                                    "M 0 1000 4 2000 5\r\n"
                                    "M 0 2099 1 2001 1\r\n"
                                    "M 0 1003 0 2001 3\r\n"
                                    "S\r\n$\r\n");
}

QString ItemTexts(const QListWidget* list) {
    QStringList texts;
    for (int i = 0; i < list->count(); ++i)
        texts << list->item(i)->text();
    return texts.join(QLatin1Char('|'));
}

} // namespace

class TMainFormTest : public TEditorFixture {
    Q_OBJECT

private slots:
    void cleanup() { Finish(); }

    void startsOnTheSampleWorkspace() {
        StartOn(true);
        QCOMPARE(form_->windowTitle(), QStringLiteral("Velmora Editor"));
        QCOMPARE(ItemTexts(Zone().Z_ListBox),
                 QStringLiteral("10  Деревня Ольховка|11  Ольховый лес"));
        QCOMPARE(Zone().CurrentZoneIndex(), 0);
        QCOMPARE(Zone().Z_ZoneEdit->value(), 10);
        QCOMPARE(Zone().Z_NameEdit->text(), QStringLiteral("Деревня Ольховка"));
        QCOMPARE(Zone().Z_RepopTimeEdit->value(), 30);
        QCOMPARE(ReadCode(Zone().Z_RepopComboBox), 2);
        QVERIFY(Zone().Z_SourceMemo->toPlainText().contains(
            QStringLiteral("\n#10\nДеревня Ольховка~\n1099 30 2\n")));
        QCOMPARE(Zone().Z_ZoneFilenameEdit->text(),
                 QString::fromStdString(program_ + "Zones/ZON/10.zon"));

        // The statistics count the zone's records of each list.
        const std::array<int, 6> counts = {
            static_cast<int>(World().Rooms.ZoneInListOrder(10).size()),
            static_cast<int>(Map().UnplacedRooms().size()),
            static_cast<int>(World().Objs.ZoneInListOrder(10).size()),
            static_cast<int>(World().Mobs.ZoneInListOrder(10).size()),
            static_cast<int>(World().Shops.ZoneInListOrder(10).size()),
            static_cast<int>(World().Triggers.ZoneInListOrder(10).size())};
        QVERIFY(counts[0] > 0 && counts[2] > 0 && counts[3] > 0);
        for (size_t i = 0; i < 6; ++i)
            QCOMPARE(Zone().Z_StatLabel[i]->text(), QString::number(counts[i]));
        QCOMPARE(Page(RoomPageIndex).Count(), counts[0]);
        QCOMPARE(Page(RoomPageIndex).IDComboBox->itemText(0),
                 QStringLiteral("1000  Деревенская площадь"));

        // The list windows hold every record of the workspace; the pickers their entries.
        QCOMPARE(form_->ListForms[ObjListKind]->ListBox1->model()->rowCount(), World().Objs.Count());
        QCOMPARE(form_->ListForms[RoomListKind]->windowTitle(), QStringLiteral("Список комнат"));
        QCOMPARE(form_->RoomObjForm->ObjectListBox->model()->rowCount(), World().Objs.Count());

        // Start-up state: on the zone page, record commands on for the zone,
        // nothing changed, the tools window shown as the settings say.
        QCOMPARE(form_->CurrentPage(), int(ZonePageIndex));
        QVERIFY(Action("Nr0")->isChecked());
        QVERIFY(Action("N29")->isEnabled());
        QVERIFY(!ApplyEnabled());
        QVERIFY(form_->ToolsForm->isVisible());
        QVERIFY(Action("N25")->isChecked());
        QVERIFY(Action("NConfirm")->isChecked());
        QVERIFY(!form_->StatusBar1->isVisible());
        QVERIFY(!Action("N35")->isVisible());

        // Hints from Help/Hints, as tooltip and status bar text.
        QCOMPARE(Zone().Z_NameEdit->toolTip(),
                 QStringLiteral("Название зоны, как его увидят игроки"));
        QCOMPARE(Zone().Z_NameEdit->statusTip(), Zone().Z_NameEdit->toolTip());
        QVERIFY(!form_->RecordPage(MobPageIndex)->IDComboBox->toolTip().isEmpty());
    }

    void zoneChecksReportEachKindOfProblem() {
        MakeProgram(true, Settings(false, true, false));
        WriteCheckZone(program_);
        Start();
        QCOMPARE(Zone().ZoneCount(), 3);
        SelectZoneRow(2);
        QCOMPARE(Zone().Z_ZoneEdit->value(), 20);
        QCOMPARE(ItemTexts(Zone().Z_ErrorListBox),
                 QStringLiteral("Room #2000, Mob #1000: MaxQty > MaxInWorld|"
                                "Room #2000, Выход на север: непарный выход|"
                                "Room #2000, Выход на восток: непарный выход|"
                                "Room #2001, unknown mob #2099|"
                                "Room #2001, Выход на запад: непарный выход"));
        QCOMPARE(Zone().Z_StatLabel[0]->text(), QStringLiteral("3"));
        // The sample zone itself is consistent.
        SelectZoneRow(0);
        QCOMPARE(Zone().Z_ErrorListBox->count(), 0);
    }

    void newZoneIsRefusedOrPlacedInOrder() {
        StartOn(true);
        Zone().Z_NewZoneEdit->setValue(10);
        prompts_->ExpectError(QStringLiteral("Зона с таким номером уже есть"));
        Click(Zone().Z_NewBtn);
        for (const int bad : {0, -3}) {
            Zone().Z_NewZoneEdit->setValue(bad);
            prompts_->ExpectError(QStringLiteral("Некорректный номер зоны"));
            Click(Zone().Z_NewBtn);
        }
        QCOMPARE(Zone().ZoneCount(), 2);

        // The edits of the zone shown are stored before the new one is made.
        TypeZoneName(QStringLiteral("Ольховка"));
        Zone().Z_NewZoneEdit->setValue(1);
        prompts_->ExpectConfirm(QStringLiteral("Сохранить изменения?"), true);
        Click(Zone().Z_NewBtn);
        QCOMPARE(ItemTexts(Zone().Z_ListBox),
                 QStringLiteral("1*  |10*  Ольховка|11  Ольховый лес"));
        QCOMPARE(Zone().CurrentZoneIndex(), 0);
        QCOMPARE(Zone().Z_ZoneEdit->value(), 1);
        QCOMPARE(Zone().Z_RoomFilenameEdit->text(),
                 QString::fromStdString(program_ + "Zones/WLD/1.wld"));
        QCOMPARE(Zone().Z_StatLabel[0]->text(), QStringLiteral("0"));
        QCOMPARE(Zone().ZoneAt(1)->ZoneName, Utf8ToCp1251("Ольховка"));
        QVERIFY(!QFile::exists(QString::fromStdString(program_ + "Zones/ZON/1.zon")));
    }

    void emptyWorkspaceRefusesEverything() {
        StartOn(false);
        QCOMPARE(Zone().ZoneCount(), 0);
        QVERIFY(!Zone().CurrentZone());
        QVERIFY(!Action("N29")->isEnabled());
        for (QPushButton* button : {Zone().Z_ObjBtn1, Zone().Z_ObjBtn3, Zone().Z_ObjBtn2,
                                    Zone().Z_DelMobBtn1, Zone().Z_DelMobBtn2}) {
            prompts_->ExpectError(QStringLiteral("Выберите сначала зону или создайте новую"));
            Click(button);
        }
        prompts_->ExpectError(QStringLiteral("Выберите сначала зону или создайте новую"));
        TypeText(Zone().Z_NameEdit, QStringLiteral("x"));

        // No page can be entered, from the tabs or from the menu.
        prompts_->ExpectError(QStringLiteral("Выберите сначала зону"));
        ClickTab(RoomPageIndex);
        QCOMPARE(form_->CurrentPage(), int(ZonePageIndex));
        prompts_->ExpectError(QStringLiteral("Выберите сначала зону"));
        Action("Nr3")->trigger();
        QCOMPARE(form_->CurrentPage(), int(ZonePageIndex));
        QVERIFY(Action("Nr0")->isChecked());
        QVERIFY(!Action("Nr3")->isChecked());

        // A new zone then opens the pages.
        Zone().Z_NewZoneEdit->setValue(12);
        Click(Zone().Z_NewBtn);
        QCOMPARE(Zone().ZoneCount(), 1);
        ClickTab(ShopPageIndex);
        QCOMPARE(form_->CurrentPage(), int(ShopPageIndex));
        QCOMPARE(Page(ShopPageIndex).Count(), 0);
        QVERIFY(!Action("N18")->isEnabled());
        QVERIFY(!Action("N29")->isEnabled());
        QVERIFY(Action("N17")->isEnabled());
    }

    void pagesSwitchFromTabsAndMenu() {
        StartOn(true);
        ClickTab(RoomPageIndex);
        QCOMPARE(form_->CurrentPage(), int(RoomPageIndex));
        QVERIFY(Action("Nr1")->isChecked());
        QVERIFY(Action("N35")->isVisible());
        QVERIFY(Action("N18")->isEnabled());
        // The trigger picker, opened from the room page, offers the room triggers only.
        int offered = 0;
        WhenModal([this, &offered](QWidget* window) {
            auto* picker = qobject_cast<TTriggerForm*>(window);
            QVERIFY(picker);
            const QAbstractItemModel* triggers = picker->TriggerListBox->model();
            for (offered = 0; offered < triggers->rowCount(); ++offered) {
                const int vnum = triggers->index(offered, 0).data(Qt::UserRole).toInt();
                QCOMPARE(int(World().Triggers.Find(vnum)->Model), 2);
            }
            picker->reject();
        });
        Click(Room().R_TriggerBtn1);
        QVERIFY(offered > 0);
        Action("Nr3")->trigger();
        QCOMPARE(form_->CurrentPage(), int(MobPageIndex));
        QVERIFY(Action("Nr3")->isChecked());
        QVERIFY(!Action("Nr1")->isChecked());
        QVERIFY(!Action("N35")->isVisible());
        Action("Nr0")->trigger();
        QCOMPARE(form_->CurrentPage(), int(ZonePageIndex));
        QCOMPARE(Zone().Z_ZoneEdit->value(), 10);
    }

    void leavingAnEditedZoneStoresOrDiscards() {
        StartOn(true, /*confirm=*/true);
        TypeZoneName(QStringLiteral("Новое имя"));
        QVERIFY(ApplyEnabled());
        QCOMPARE(Zone().Z_ListBox->item(0)->text(), QStringLiteral("10  Новое имя"));

        // No discards the edit and shows the next zone.
        prompts_->ExpectConfirm(QStringLiteral("Сохранить изменения?"), false);
        SelectZoneRow(1);
        QCOMPARE(Zone().Z_ZoneEdit->value(), 11);
        QVERIFY(!ApplyEnabled());
        QCOMPARE(Zone().ZoneAt(0)->ZoneName, Utf8ToCp1251("Деревня Ольховка"));
        QCOMPARE(Zone().Z_ListBox->item(0)->text(), QStringLiteral("10  Деревня Ольховка"));

        // Yes stores it.
        TypeZoneName(QStringLiteral("Лес"));
        prompts_->ExpectConfirm(QStringLiteral("Сохранить изменения?"), true);
        SelectZoneRow(0);
        QCOMPARE(Zone().ZoneAt(1)->ZoneName, Utf8ToCp1251("Лес"));

        // With the confirmation off, leaving stores without a question, also
        // on a page switch.
        Action("NConfirm")->trigger();
        QVERIFY(!Action("NConfirm")->isChecked());
        Zone().Z_RepopTimeEdit->setValue(45);
        QVERIFY(ApplyEnabled());
        ClickTab(ObjPageIndex);
        QCOMPARE(Zone().ZoneAt(0)->RepopTime, 45);
        QVERIFY(!ApplyEnabled());
    }

    void aClickOnTheCurrentZoneStoresAndShowsIt() {
        StartOn(true, /*confirm=*/true);
        TypeZoneName(QStringLiteral("Слобода"));
        QVERIFY(ApplyEnabled());
        prompts_->ExpectConfirm(QStringLiteral("Сохранить изменения?"), true);
        SelectZoneRow(0);
        QCOMPARE(Zone().CurrentZone()->ZoneName, Utf8ToCp1251("Слобода"));
        QVERIFY(!ApplyEnabled());
        QVERIFY(Zone().Z_SourceMemo->toPlainText().contains(QStringLiteral("Слобода")));
        // Answered No, the typed name goes and the zone is shown as it was.
        TypeZoneName(QStringLiteral("Черновик"));
        prompts_->ExpectConfirm(QStringLiteral("Сохранить изменения?"), false);
        SelectZoneRow(0);
        QCOMPARE(Zone().Z_NameEdit->text(), QStringLiteral("Слобода"));
        QCOMPARE(Zone().Z_ListBox->item(0)->text(), QStringLiteral("10*  Слобода"));
        QVERIFY(!ApplyEnabled());
    }

    void toolsWindowAppliesAndCancels() {
        StartOn(true);
        TypeZoneName(QStringLiteral("Черновик"));
        prompts_->ExpectConfirm(QStringLiteral("Отменить изменения?"), false);
        Click(form_->ToolsForm->CancelBtn);
        QVERIFY(ApplyEnabled());
        QCOMPARE(Zone().Z_NameEdit->text(), QStringLiteral("Черновик"));

        QCOMPARE(Zone().Z_ListBox->item(0)->text(), QStringLiteral("10  Черновик"));
        prompts_->ExpectConfirm(QStringLiteral("Отменить изменения?"), true);
        Click(form_->ToolsForm->CancelBtn);
        QVERIFY(!ApplyEnabled());
        QCOMPARE(Zone().Z_NameEdit->text(), QStringLiteral("Деревня Ольховка"));
        QCOMPARE(Zone().Z_ListBox->item(0)->text(), QStringLiteral("10  Деревня Ольховка"));

        TypeZoneName(QStringLiteral("Готово"));
        Click(form_->ToolsForm->ApplyBtn);
        QVERIFY(!ApplyEnabled());
        QCOMPARE(Zone().CurrentZone()->ZoneName, Utf8ToCp1251("Готово"));
        QVERIFY(Zone().Z_SourceMemo->toPlainText().contains(QStringLiteral("Деревня")));

        // A character Windows-1251 cannot hold is replaced, and the user told.
        TypeZoneName(QStringLiteral("Зона ☃"));
        prompts_->ExpectInformation(
            QStringLiteral("Символы, которых нет в кодировке Windows-1251, заменены знаком «?» "
                           "(1 шт.):\nЗона ☃"));
        Click(form_->ToolsForm->ApplyBtn);
        QCOMPARE(Zone().CurrentZone()->ZoneName, Utf8ToCp1251("Зона ?"));
    }

    void navigationStopsAtBothEnds() {
        StartOn(true);
        // The zone list.
        Action("N30")->trigger();
        QCOMPARE(Zone().Z_ZoneEdit->value(), 11);
        Action("N29")->trigger();
        QCOMPARE(Zone().Z_ZoneEdit->value(), 11);
        Click(form_->ToolsForm->PrevBtn);
        QCOMPARE(Zone().Z_ZoneEdit->value(), 10);
        Action("N28")->trigger();
        QCOMPARE(Zone().Z_ZoneEdit->value(), 10);

        // A record page.
        ClickTab(RoomPageIndex);
        TRecordPage& rooms = Page(RoomPageIndex);
        const int last = rooms.Count() - 1;
        QCOMPARE(rooms.IDComboBox->currentIndex(), 0);
        Action("N28")->trigger();
        QCOMPARE(rooms.IDComboBox->currentIndex(), 0);
        Click(form_->ToolsForm->NextBtn);
        QCOMPARE(rooms.IDComboBox->currentIndex(), 1);
        QCOMPARE(*rooms.Current, rooms.IDComboBox->itemData(1).toInt());
        Action("N30")->trigger();
        QCOMPARE(rooms.IDComboBox->currentIndex(), last);
        Action("N29")->trigger();
        QCOMPARE(rooms.IDComboBox->currentIndex(), last);
        Action("N27")->trigger();
        QCOMPARE(rooms.IDComboBox->currentIndex(), 0);
        QCOMPARE(*rooms.Current, rooms.IDComboBox->itemData(0).toInt());
    }

    void recordPageAsksBeforeLeavingAnEditedRecord() {
        StartOn(true);
        ClickTab(MobPageIndex);
        TRecordPage& mobs = Page(MobPageIndex);
        std::vector<int32_t> stored;
        mobs.StoreRecord = [&stored](int32_t vnum, const TStepPlace&, const QString&) {
            stored.push_back(vnum);
        };
        const int32_t first = *mobs.Current;
        mobs.Change();
        QVERIFY(ApplyEnabled());
        prompts_->ExpectConfirm(QStringLiteral("Сохранить изменения?"), false);
        Action("N29")->trigger();
        QVERIFY(stored.empty());
        QVERIFY(!ApplyEnabled());
        mobs.Change();
        prompts_->ExpectConfirm(QStringLiteral("Сохранить изменения?"), true);
        Action("N28")->trigger();
        QCOMPARE(stored, std::vector<int32_t>{mobs.IDComboBox->itemData(1).toInt()});
        QCOMPARE(*mobs.Current, first);
        // While a file command runs nothing is asked and nothing stored.
        mobs.Change();
        form_->FileCommandRunning = true;
        Action("N29")->trigger();
        QCOMPARE(stored.size(), size_t(1));
    }

    void settingsAreReadAppliedAndWrittenInPlace() {
        MakeProgram(true, "; the builder's own note\r\n" + Settings(true, false, false) +
                              "[Extra]\r\nKeep=1\r\n");
        Start();
        QVERIFY(form_->StatusBar1->isVisible());
        QVERIFY(Action("N24")->isChecked());
        QVERIFY(!Action("NConfirm")->isChecked());
        QVERIFY(!form_->ToolsForm->isVisible());
        QVERIFY(!Action("N25")->isChecked());
        const int withBar = form_->height();

        // The menu toggles the running state.
        Action("N25")->trigger();
        QVERIFY(form_->ToolsForm->isVisible());
        Action("N24")->trigger();
        QVERIFY(!form_->StatusBar1->isVisible());
        QVERIFY(form_->height() < withBar);

        // "Из редактора" copies the running state into the dialog.
        form_->ConfigForm->show();
        Click(form_->ConfigForm->GetBtn);
        const TSettings shown = form_->ConfigForm->settings();
        QVERIFY(!shown.Status && !shown.Confirm && shown.Tools);
        Click(form_->ConfigForm->OkBtn);

        // A picker the builder made larger is remembered.
        TRecordPicker& picker = *form_->RoomMobForm;
        picker.show();
        QVERIFY(QTest::qWaitForWindowExposed(&picker));
        picker.resize(picker.size() + QSize(60, 120));
        const QSize larger = picker.size();
        Click(picker.CancelBtn);

        // Exit: answered No the editor stays, Yes writes the settings.
        prompts_->ExpectConfirm(QStringLiteral("Вы хотите выйти?"), false);
        QVERIFY(!form_->close());
        QVERIFY(form_->isVisible());
        QCOMPARE(Zone().ZoneCount(), 2);
        prompts_->ExpectConfirm(QStringLiteral("Вы хотите выйти?"), true);
        QVERIFY(form_->close());
        const std::string ini = ReadFile(program_ + "VelmoraEd.ini");
        QVERIFY(ini.rfind("; the builder's own note\r\n[SaveMUD]\r\n", 0) == 0);
        QVERIFY(ini.find("Status=False\r\nConfirm=False\r\nTools=True\r\n") != std::string::npos);
        QVERIFY(ini.find("[Extra]\r\nKeep=1\r\n") != std::string::npos);
        QVERIFY(ini.find("MainX=" + std::to_string(form_->x()) + "\r\n") != std::string::npos);
        QVERIFY(ini.find("PickerW=" + std::to_string(larger.width()) + "\r\nPickerH=" +
                         std::to_string(larger.height()) + "\r\n") != std::string::npos);
    }

    void everyMenuEntryHasItsOwnAccessKey() {
        StartOn(true);
        const QList<QMenu*> menus = form_->menuBar()->findChildren<QMenu*>();
        QVERIFY(menus.size() >= 5);
        for (const QMenu* menu : menus) {
            QSet<QChar> keys;
            for (const QAction* action : menu->actions()) {
                if (action->isSeparator() || !action->isVisible())
                    continue;
                const QString text = action->text();
                const qsizetype amp = text.indexOf(QLatin1Char('&'));
                QVERIFY2(amp >= 0 && amp + 1 < text.size(), qPrintable(text));
                const QChar key = text.at(amp + 1).toLower();
                QVERIFY2(!keys.contains(key),
                         qPrintable(menu->title() + QStringLiteral(": ") + text));
                keys.insert(key);
            }
        }
    }

    void aFailedSettingsWriteStopsTheExitUntilTheUserLeavesAnyway() {
        StartOn(true);
        // A folder where the settings file was cannot be replaced, even by root.
        const std::string ini = program_ + "VelmoraEd.ini";
        std::filesystem::remove(ini);
        std::filesystem::create_directory(ini);
        const QString failed = QStringLiteral("Не могу сохранить настройки в файл ") +
                               QString::fromStdString(ini) +
                               QStringLiteral("\nВыйти без сохранения настроек?");
        prompts_->ExpectConfirm(QStringLiteral("Вы хотите выйти?"), true);
        prompts_->ExpectConfirm(failed, false);
        QVERIFY(!form_->close());
        QVERIFY(form_->isVisible());
        prompts_->ExpectConfirm(QStringLiteral("Вы хотите выйти?"), true);
        prompts_->ExpectConfirm(failed, true);
        QVERIFY(form_->close());
    }

    void windowMenuShowsAndHidesTheListsAndTools() {
        StartOn(true, /*confirm=*/true, /*tools=*/false);
        for (int kind = 0; kind < 5; ++kind) {
            QAction* entry = form_->ListEntries[static_cast<size_t>(kind)];
            TListForm* list = form_->ListForms[static_cast<size_t>(kind)];
            QVERIFY(!list->isVisible());
            entry->trigger();
            QVERIFY(entry->isChecked());
            QVERIFY(list->isVisible());
            // Its own close box clears the entry's check mark.
            list->close();
            QVERIFY(!entry->isChecked());
        }
        Action("N25")->trigger();
        QVERIFY(form_->ToolsForm->isVisible());
        form_->ToolsForm->close();
        QVERIFY(!Action("N25")->isChecked());
    }

    void positionSettingPlacesTheWindow() {
        MakeProgram(true, "[Editor]\r\nPosition=True\r\n[Position]\r\nMainX=40\r\nMainY=60\r\n");
        Start();
        QCOMPARE(form_->pos(), QPoint(40, 60));
        // The missing keys take the dialog's first values.
        QCOMPARE(form_->ConfigForm->settings().Path, std::string("LIB/world/"));
    }

    void createdObjectsAndDeletedMobsGoThroughThePickers() {
        StartOn(true);
        const int before = Zone().Z_ObjCheckListBox->count();
        WhenModal([](QWidget* window) {
            auto* picker = qobject_cast<TRoomObjForm*>(window);
            QVERIFY(picker);
            QVERIFY(!picker->ParamGroupBox->isVisible());
            QVERIFY(picker->PanelPercent->isVisible());
            QCOMPARE(picker->PercentEdit->value(), 100);
            picker->ObjectEdit->setValue(1002);
            picker->PercentEdit->setValue(40);
            picker->IFFlagCheckBox->setChecked(true);
            Click(picker->AddBtn);
        });
        Click(Zone().Z_ObjBtn1);
        QCOMPARE(Zone().Z_ObjCheckListBox->count(), before + 1);
        QListWidgetItem* added = Zone().Z_ObjCheckListBox->item(before);
        QCOMPARE(added->text(), FromCp1251(World().Objs.CaptionOf(1002)));
        QCOMPARE(added->checkState(), Qt::Checked);
        QVERIFY(ApplyEnabled());

        WhenModal([](QWidget* window) {
            auto* picker = qobject_cast<TRoomMobForm*>(window);
            QVERIFY(picker);
            picker->MobEdit->setValue(1003);
            Click(picker->AddBtn);
        });
        Click(Zone().Z_DelMobBtn1);
        Click(form_->ToolsForm->ApplyBtn);
        const TZone& zone = *Zone().CurrentZone();
        QCOMPARE(zone.CreatedObjects.back().ObjVNum, 1002);
        QCOMPARE(int(zone.CreatedObjects.back().Probability), 40);
        QVERIFY(zone.CreatedObjects.back().IfFlag);
        QCOMPARE(zone.DeletedMobs.back(), 1003);

        // Deleting asks, and selects the entry now in the same place.
        Zone().Z_ObjCheckListBox->setCurrentRow(before);
        prompts_->ExpectConfirm(QStringLiteral("Вы действительно хотите удалить этот объект?"),
                                true);
        Click(Zone().Z_ObjBtn2);
        QCOMPARE(Zone().Z_ObjCheckListBox->count(), before);
        QCOMPARE(Zone().Z_ObjCheckListBox->currentRow(), before - 1);
        Zone().Z_DelMobCheckListBox->setCurrentRow(-1);
        prompts_->ExpectError(QStringLiteral("Выберите моба"));
        Click(Zone().Z_DelMobBtn2);
    }

    void fileNameButtonsOpenTheKindsDialog() {
        StartOn(true);
        prompts_->ExpectOpenFile(QStringLiteral("/elsewhere/10.mob"));
        Click(Zone().Z_FilenameBtn[3]);
        const TPromptCall& call = prompts_->Calls().back();
        QCOMPARE(call.Folder, QString::fromStdString(program_ + "Zones/MOB"));
        QCOMPARE(call.FileName, QStringLiteral("10.mob"));
        QCOMPARE(call.Filters.first().Pattern, QStringLiteral("*.mob"));
        QCOMPARE(Zone().Z_MobFilenameEdit->text(), QStringLiteral("/elsewhere/10.mob"));
        QCOMPARE(Zone().CurrentZone()->MobFileName, program_ + "Zones/MOB/10.mob");
        Click(form_->ToolsForm->ApplyBtn);
        QCOMPARE(Zone().CurrentZone()->MobFileName, std::string("/elsewhere/10.mob"));
    }

    // The attached triggers take their captions from the list they are given,
    // whichever it is, and mark the editor changed only when the list changes.
    void attachedTriggerListOperations() {
        StartOn(true);
        const int32_t trigger = World().Triggers.ListEntries().front().VNum;
        TTriggerList own;
        own.AddNew(trigger).Name = ToCp1251(QStringLiteral("Привратник"));
        bool shown = false;
        TAttachedTriggers triggers(own, *form_->TriggerForm, Prompts(),
                                   {"List", "Add", "Edit", "Delete", QString(),
                                    [&shown] { return shown; },
                                    QStringLiteral("Сначала выберите")});
        int changes = 0;
        connect(&triggers, &TAttachedTriggers::changed, [&changes] { ++changes; });

        prompts_->ExpectError(QStringLiteral("Сначала выберите"));
        Click(triggers.AddBtn);
        shown = true;
        prompts_->ExpectError(QStringLiteral("Выберите триггер"));
        Click(triggers.EditBtn);
        prompts_->ExpectError(QStringLiteral("Выберите триггер"));
        Click(triggers.DelBtn);

        for (int i = 0; i < 2; ++i) {
            WhenModal([trigger](QWidget* window) {
                auto* picker = qobject_cast<TTriggerForm*>(window);
                QVERIFY(picker);
                picker->TriggerEdit->setValue(trigger);
                Click(picker->AddBtn);
            });
            Click(triggers.AddBtn);
        }
        QCOMPARE(triggers.List->count(), 2);
        QCOMPARE(triggers.List->item(0)->text(), QStringLiteral("%1 Привратник").arg(trigger));
        QCOMPARE(triggers.Numbers(), (std::vector<int32_t>{trigger, trigger}));
        QCOMPARE(changes, 2);

        triggers.List->setCurrentRow(1);
        prompts_->ExpectConfirm(QStringLiteral("Вы действительно хотите удалить этот триггер?"),
                                false);
        Click(triggers.DelBtn);
        QCOMPARE(triggers.List->count(), 2);
        QCOMPARE(changes, 2);
        prompts_->ExpectConfirm(QStringLiteral("Вы действительно хотите удалить этот триггер?"),
                                true);
        Click(triggers.DelBtn);
        QCOMPARE(triggers.List->currentRow(), 0);
        prompts_->ExpectConfirm(QStringLiteral("Вы действительно хотите удалить этот триггер?"),
                                true);
        Click(triggers.DelBtn);
        QVERIFY(triggers.Numbers().empty());
        QVERIFY(!triggers.List->currentItem());
        QCOMPARE(changes, 4);

        triggers.Show({trigger, 77777});
        QCOMPARE(triggers.List->item(1)->text(), QStringLiteral("77777"));
        QCOMPARE(triggers.Numbers(), (std::vector<int32_t>{trigger, 77777}));
    }

    void screenshots() {
        SKIP_UNLESS_SCREENSHOTS();
        StartOn(true);
        for (int tab = 0; tab < 4; ++tab) {
            Zone().Z_PageControl->setCurrentIndex(tab);
            QVERIFY(SaveShot(*form_, QStringLiteral("zonepage_%1.png").arg(tab)));
        }
        QVERIFY(SaveShot(*form_->ToolsForm, QStringLiteral("tools.png")));
    }
};

QTEST_MAIN(TMainFormTest)
#include "mainform_test.moc"
