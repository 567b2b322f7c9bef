#include "editorfixture.h"
#include "roomcontentspage.h"
#include "roomextradescs.h"
#include "roommobform.h"
#include "roomobjform.h"
#include "roompage.h"
#include "textcodec.h"
#include "world.h"

#include <QCheckBox>
#include <QComboBox>
#include <QLineEdit>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QSpinBox>
#include <QTabWidget>
#include <QToolButton>

using namespace guitest;

namespace {

std::string Joined(const TStringList& lines) {
    std::string out;
    for (const auto& line : lines)
        out += line + "\r\n";
    return out;
}

std::string RoomFile(const TWorld& world, int32_t zone) {
    TStringList lines;
    world.Rooms.SaveToStrings(lines, zone);
    return Joined(lines);
}

// Answers the room-object picker with an object number and an if-flag.
void PickObject(int32_t vnum, bool ifFlag = false) {
    WhenModal([=](QWidget* window) {
        auto* form = qobject_cast<TRoomObjForm*>(window);
        QVERIFY(form);
        form->ObjectEdit->setValue(vnum);
        form->IFFlagCheckBox->setChecked(ifFlag);
        Click(form->AddBtn);
    });
}

void PickMob(int32_t vnum) {
    WhenModal([=](QWidget* window) {
        auto* form = qobject_cast<TRoomMobForm*>(window);
        QVERIFY(form);
        form->MobEdit->setValue(vnum);
        Click(form->AddBtn);
    });
}

void SetText(QPlainTextEdit* memo, const QString& text) {
    memo->setFocus();
    memo->selectAll();
    memo->insertPlainText(text);
}

} // namespace

class TRoomPageTest : public TEditorFixture {
    Q_OBJECT

    TRoomPage& Room() { return *form_->findChild<TRoomPage*>(); }
    TRoomContents& Contents() { return *Room().Contents; }

    // The editor on zone 10's rooms, showing `vnum`.
    void StartOnRoom(int32_t vnum, bool confirm = false) {
        StartOn(true, confirm);
        for (int row = 0; row < Zone().ZoneCount(); ++row)
            if (Zone().ZoneAt(row)->ZoneNumber == 10)
                SelectZoneRow(row);
        QCOMPARE(Zone().CurrentZone()->ZoneNumber, 10);
        ClickTab(RoomPageIndex);
        ChooseRecord(RoomPageIndex, vnum);
        QCOMPARE(*Room().ShownRoom(), vnum);
        QVERIFY(!ApplyEnabled());
    }
    void Apply() { Click(form_->ToolsForm->ApplyBtn); }
    TRoom& Record(int32_t vnum) { return *World().Rooms.Find(vnum); }

private slots:
    void cleanup() { Finish(); }

    void flagsTheListDoesNotNameAreKept() {
        StartOnRoom(1000);
        const int32_t vnum = World().Rooms.ZoneRecords(10).back()->VNum;
        CheckFlagsKept(RoomPageIndex, vnum, Record(vnum).Flags, Room().R_TypeCheckListBox);
    }

    void showingAndApplyingEveryRoomChangesNothing() {
        StartOnRoom(1000);
        const std::string rooms = RoomFile(World(), 10);
        TStringList zoneLines;
        Zone().CurrentZone()->SaveToStrings(World(), zoneLines);
        TRecordPage& page = Page(RoomPageIndex);
        for (int row = 0; row < page.Count(); ++row) {
            ChooseComboEntry(page.IDComboBox, row);
            QVERIFY(!ApplyEnabled());
            form_->ApplyPage();
        }
        QCOMPARE(RoomFile(World(), 10), rooms);
        TStringList after;
        Zone().CurrentZone()->SaveToStrings(World(), after);
        QCOMPARE(Joined(after), Joined(zoneLines));
    }

    void theShownRoomFillsTheControls() {
        StartOnRoom(1000);
        TRoomPage& room = Room();
        QCOMPARE(room.R_DescEdit->text(), QStringLiteral("Деревенская площадь"));
        QVERIFY(room.DescMemos[0]->toPlainText().startsWith(QStringLiteral("Посреди")));
        QCOMPARE(room.DescMemos[1]->toPlainText(),
                 QStringLiteral("Днём здесь людно: торгуются бабы, бегают ребятишки."));
        QVERIFY(room.DescMemos[2]->toPlainText().startsWith(QStringLiteral("Ночью")));
        QVERIFY(room.DescMemos[3]->toPlainText().isEmpty());
        QCOMPARE(room.ExitEdits[DirNorth]->value(), 1001);
        QCOMPARE(room.ExitEdits[DirUp]->value(), 0);
        QVERIFY(!room.ExitPanels[DirWest]->isHidden());
        QVERIFY(room.ExitPanels[DirUp]->isHidden());
        QCOMPARE(room.ExtraDescs->R_AddDescListBox->count(), 1);
        QCOMPARE(room.ExtraDescs->R_AddDescEdit->text(), QStringLiteral("колодец сруб"));
        QCOMPARE(Contents().R_MobCheckListBox->count(), 2);
        QCOMPARE(Contents().R_MobCheckListBox->currentRow(), 0);
        // The first mob carries a key and wears a sword and a mail.
        QCOMPARE(Contents().R_MObjCheckListBox->count(), 3);
        // The second mob (a guard) follows the captain.
        Contents().R_MobCheckListBox->setCurrentRow(1);
        QCOMPARE(Contents().R_MFolComboBox->currentData().toInt(), 1001);
        QVERIFY(!ApplyEnabled());
    }

    void theBlankRecordClearsTheControls() {
        StartOn(true, false);
        Zone().Z_NewZoneEdit->setValue(20);
        Click(Zone().Z_NewBtn);
        ClickTab(RoomPageIndex);
        TRoomPage& room = Room();
        QVERIFY(!room.ShownRoom());
        QVERIFY(room.R_DescEdit->text().isEmpty());
        QVERIFY(room.DescMemos[0]->toPlainText().isEmpty());
        QCOMPARE(room.ExtraDescs->R_AddDescListBox->count(), 0);
        QCOMPARE(Contents().R_ObjectCheckListBox->count(), 0);
        for (QSpinBox* exit : room.ExitEdits)
            QCOMPARE(exit->value(), 0);
        // Without a room nothing can be typed or added.
        prompts_->ExpectInformation(QStringLiteral("Сначала создайте комнату"));
        room.R_DescEdit->setFocus();
        TypeText(room.R_DescEdit, QStringLiteral("x"));
        QVERIFY(room.R_DescEdit->text().isEmpty());
        prompts_->ExpectError(QStringLiteral("Сначала выберите комнату"));
        Click(room.R_TriggerBtn1);
        prompts_->ExpectError(QStringLiteral("Сначала выберите комнату"));
        Click(Contents().R_ObjectBtn1);
        prompts_->ExpectError(QStringLiteral("Выберите сначала комнату"));
        Click(room.ExtraDescs->R_AddDescBtn1);
        prompts_->ExpectError(QStringLiteral("Выберите комнату"));
        Click(Contents().SpeedButton1);
        QVERIFY(!ApplyEnabled());
    }

    void aTypedNameLandsInTheRecordAndTheLists() {
        StartOnRoom(1003);
        TRoomPage& room = Room();
        room.R_DescEdit->setFocus();
        room.R_DescEdit->selectAll();
        TypeText(room.R_DescEdit, QStringLiteral("Лавка купца"));
        QVERIFY(ApplyEnabled());
        QCOMPARE(Page(RoomPageIndex).IDComboBox->currentText(),
                 QStringLiteral("1003  Лавка купца"));
        Apply();
        QVERIFY(!ApplyEnabled());
        QCOMPARE(FromCp1251(Record(1003).Name), QStringLiteral("Лавка купца"));
        QVERIFY(FromCp1251(RoomFile(World(), 10)).contains(QStringLiteral("#1003\r\nЛавка купца~\r\n")));
    }

    void descriptionVariantsAndTheirMarks() {
        StartOnRoom(1000);
        TRoomPage& room = Room();
        QVERIFY(room.R_DescCheckBox->isHidden());
        room.R_DescPageControl->setCurrentIndex(2); // night: replacing
        QVERIFY(!room.R_DescCheckBox->isHidden());
        QVERIFY(room.R_DescCheckBox->isChecked());
        room.R_DescPageControl->setCurrentIndex(1); // day: adding
        QVERIFY(!room.R_DescCheckBox->isChecked());
        QVERIFY(!ApplyEnabled()); // switching tabs changes nothing
        Click(room.R_DescCheckBox);
        QVERIFY(ApplyEnabled());
        // Winter day gets a text; the night text is emptied and so dropped.
        SetText(room.DescMemos[3], QStringLiteral("Снег.\nМетель."));
        SetText(room.DescMemos[2], QString());
        Apply();
        const TDescSections stored = SplitDescription(Record(1000).Desc);
        QVERIFY(stored.Replacing[0]);
        QVERIFY(stored.Sections[1].empty());
        QCOMPARE(stored.Sections[2].size(), size_t{1}); // one entry holding both lines
        QVERIFY(FromCp1251(RoomFile(World(), 10))
                    .contains(QStringLiteral("<winterday>Снег.\r\nМетель.<winterday>")));
        const QString square = FromCp1251(RoomFile(World(), 10)).section(QStringLiteral("#1001"), 0, 0);
        QVERIFY(!square.contains(QStringLiteral("<night>")));
    }

    // A line ending with "~" would close the text in the world file: it keeps
    // its "~" followed by a space, and the user is told.
    void aTildeAtALineEndIsKeptSafely() {
        StartOnRoom(1003);
        SetText(Room().DescMemos[0], QStringLiteral("Первая~\nВторая"));
        prompts_->ExpectInformation(
            QStringLiteral("Строк описания, которые заканчиваются знаком \"~\": 1.\r\n"
                           "В файле мира этот знак закрывает описание, поэтому после него "
                           "добавлен пробел."));
        Apply();
        QCOMPARE(FromCp1251(Record(1003).Desc[0]), QStringLiteral("Первая~ "));
        QCOMPARE(Record(1003).Desc.size(), size_t{2});
    }

    void exitFieldsShowAndHideTheirDoors() {
        StartOnRoom(1000);
        TRoomPage& room = Room();
        Click(room.ExitPanels[DirWest]);
        QCOMPARE(room.CurrentDoor(), int(DirWest));
        QCOMPARE(room.R_DoorEdit->text(), QStringLiteral("дверь дубовая"));
        QCOMPARE(room.R_DoorKeyEdit->value(), 1004);
        QCOMPARE(room.R_DoorComboBox->currentData().toInt(), 1);
        QVERIFY(!ApplyEnabled()); // loading the door fields is no edit

        room.ExitEdits[DirWest]->setValue(0);
        QVERIFY(ApplyEnabled());
        QVERIFY(room.ExitPanels[DirWest]->isHidden());
        QCOMPARE(room.CurrentDoor(), -1);
        prompts_->ExpectInformation(QStringLiteral("Выберите сначала выход"));
        room.R_DoorEdit->setFocus();
        TypeText(room.R_DoorEdit, QStringLiteral("x"));
        QVERIFY(room.R_DoorEdit->text().isEmpty());

        room.ExitEdits[DirUp]->setValue(1005);
        QVERIFY(!room.ExitPanels[DirUp]->isHidden());
        QVERIFY(room.ExitPanels[DirUp]->isChecked());
        QCOMPARE(room.CurrentDoor(), int(DirUp));
        Apply();
        QCOMPARE(Record(1000).Exits[DirWest].ToRoom, 0);
        QCOMPARE(Record(1000).Exits[DirUp].ToRoom, 1005);
        const std::string file = RoomFile(World(), 10);
        QVERIFY(file.substr(0, file.find("#1001")).find("D3") == std::string::npos);
    }

    void doorTypeStateAndKey() {
        StartOnRoom(1002);
        TRoomPage& room = Room();
        // Only the keys of all zones are offered.
        QCOMPARE(room.R_DoorKeyComboBox->count(), 2);
        QCOMPARE(room.R_DoorKeyComboBox->itemData(0).toInt(), 1004);
        QCOMPARE(room.R_DoorKeyComboBox->itemData(1).toInt(), 1011);
        Click(room.ExitPanels[DirUp]);
        QCOMPARE(room.R_DoorKeyComboBox->currentData().toInt(), 1011);
        const std::array<int, 5> flags = {0, 1, 2, 4, 8};
        for (int position = 0; position < 5; ++position) {
            room.R_DoorComboBox->setCurrentIndex(position);
            emit room.R_DoorComboBox->activated(position);
            QCOMPARE(int(room.ExitTable()[DirUp].DoorFlags), flags[size_t(position)]);
        }
        room.R_DoorDComboBox->setCurrentIndex(2);
        emit room.R_DoorDComboBox->activated(2);
        room.R_DoorKeyComboBox->setCurrentIndex(0);
        emit room.R_DoorKeyComboBox->activated(0);
        QCOMPARE(room.R_DoorKeyEdit->value(), 1004);
        room.R_DoorDescEdit->setFocus();
        room.R_DoorDescEdit->selectAll();
        TypeText(room.R_DoorDescEdit, QStringLiteral("Наверх."));
        Apply();
        const TExit& up = Record(1002).Exits[DirUp];
        QCOMPARE(int(up.DoorFlags), 8);
        QCOMPARE(int(up.DoorState), 2);
        QCOMPARE(up.Key, 1004);
        QCOMPARE(FromCp1251(up.ExitDesc()), QStringLiteral("Наверх."));
        // Showing the door again selects the entry of the stored value.
        Page(RoomPageIndex).SelectRow(Page(RoomPageIndex).RowOf(1002));
        Click(room.ExitPanels[DirUp]);
        QCOMPARE(room.R_DoorComboBox->currentIndex(), 4);
        QCOMPARE(room.R_DoorDComboBox->currentIndex(), 2);
    }

    void extraDescriptions() {
        StartOnRoom(1002);
        TRoomPage& room = Room();
        QCOMPARE(room.ExtraDescs->R_AddDescListBox->count(), 2);
        room.ExtraDescs->R_AddDescListBox->setCurrentRow(1);
        QCOMPARE(room.ExtraDescs->R_AddDescEdit->text(), QStringLiteral("кот"));
        QVERIFY(!ApplyEnabled());
        room.ExtraDescs->R_AddDescEdit->clear();
        prompts_->ExpectError(QStringLiteral("Введите ключевые слова"));
        Click(room.ExtraDescs->R_AddDescBtn1);
        room.ExtraDescs->R_AddDescEdit->setText(QStringLiteral("лавка"));
        room.ExtraDescs->R_AddDescMemo->clear();
        prompts_->ExpectError(QStringLiteral("Введите описание"));
        Click(room.ExtraDescs->R_AddDescBtn1);
        room.ExtraDescs->R_AddDescMemo->setPlainText(QStringLiteral("Дубовая лавка~"));
        prompts_->ExpectError(QStringLiteral("Строка 1 описания заканчивается знаком \"~\": в "
                                             "файле мира этот знак закрывает описание.\r\n"
                                             "Уберите \"~\" в конце строки."));
        Click(room.ExtraDescs->R_AddDescBtn1);
        QVERIFY(!ApplyEnabled());
        room.ExtraDescs->R_AddDescMemo->setPlainText(QStringLiteral("Дубовая лавка."));
        Click(room.ExtraDescs->R_AddDescBtn1);
        QCOMPARE(room.ExtraDescs->R_AddDescListBox->count(), 3);
        QCOMPARE(room.ExtraDescs->R_AddDescListBox->currentRow(), 2);
        room.ExtraDescs->R_AddDescEdit->setText(QStringLiteral("лавка скамья"));
        Click(room.ExtraDescs->R_AddDescBtn3);
        QCOMPARE(room.ExtraDescs->R_AddDescListBox->item(2)->text(),
                 QStringLiteral("лавка скамья"));
        // Deleting the last entry selects the new last one.
        prompts_->ExpectConfirm(QStringLiteral("Вы действительно хотите удалить это описание"),
                                true);
        Click(room.ExtraDescs->R_AddDescBtn2);
        QCOMPARE(room.ExtraDescs->R_AddDescListBox->currentRow(), 1);
        room.ExtraDescs->R_AddDescListBox->setCurrentRow(0);
        prompts_->ExpectConfirm(QStringLiteral("Вы действительно хотите удалить это описание"),
                                true);
        Click(room.ExtraDescs->R_AddDescBtn2);
        QCOMPARE(room.ExtraDescs->R_AddDescListBox->count(), 1);
        QCOMPARE(room.ExtraDescs->R_AddDescListBox->currentRow(), 0);
        Apply();
        QCOMPARE(Record(1002).ExtraDescs.size(), size_t{1});
        QCOMPARE(FromCp1251(Record(1002).ExtraDescs[0].Keywords), QStringLiteral("кот"));
    }

    void containersAreAlsoRemovedAtReset() {
        StartOnRoom(1003); // a shop with nothing in it
        TRoomContents& c = Contents();
        QCOMPARE(c.R_ODelCheckListBox->count(), 0);
        PickObject(1003); // a chest: a container
        Click(c.R_ObjectBtn1);
        QCOMPARE(c.R_ObjectCheckListBox->count(), 1);
        QCOMPARE(c.R_ODelCheckListBox->count(), 1);
        QCOMPARE(c.R_ODelCheckListBox->item(0)->checkState(), Qt::Unchecked);
        PickObject(1003);
        Click(c.R_ObjectBtn1);
        QCOMPARE(c.R_ODelCheckListBox->count(), 1);
        PickObject(1006, true); // bread: not a container
        Click(c.R_ObjectBtn1);
        QCOMPARE(c.R_ObjectCheckListBox->count(), 3);
        QCOMPARE(c.R_ODelCheckListBox->count(), 1);
        QVERIFY(ApplyEnabled());
        Apply();
        const TRoom& shop = Record(1003);
        QCOMPARE(shop.Objects.size(), size_t{3});
        QVERIFY(shop.Objects[2].IfFlag);
        QCOMPARE(shop.DelObjects, (std::vector<int32_t>{1003}));
    }

    void objectsInsideARoomObject() {
        StartOnRoom(1004); // the chest with coins, a potion and a book
        TRoomContents& c = Contents();
        QCOMPARE(c.R_OObjCheckListBox->count(), 3);
        // Deleting the last entry selects the new last one.
        c.R_OObjCheckListBox->setCurrentRow(2);
        prompts_->ExpectConfirm(QStringLiteral("Вы действительно хотите удалить этот объект?"),
                                true);
        Click(c.R_OObjBtn3);
        QCOMPARE(c.R_OObjCheckListBox->currentRow(), 1);
        PickObject(1007, true);
        Click(c.R_OObjBtn1);
        c.R_OObjCheckListBox->item(0)->setCheckState(Qt::Checked);
        Apply();
        const TLinkObjList& inside = Record(1004).Objects[0].Contents;
        QCOMPARE(inside.size(), size_t{3});
        QVERIFY(inside[0].IfFlag);
        QCOMPARE(inside[2].ObjVNum, 1007);
        QCOMPARE(inside[2].Probability, int8_t{100});
        // With no room object selected the contents buttons refuse.
        c.R_ObjectCheckListBox->setCurrentRow(-1);
        prompts_->ExpectError(QStringLiteral("Выберите объект"));
        Click(c.R_OObjBtn1);
    }

    void mobsFollowOthersButNeverThemselves() {
        StartOnRoom(1000);
        TRoomContents& c = Contents();
        c.R_MobCheckListBox->setCurrentRow(0);  // the captain
        QCOMPARE(c.R_MFolComboBox->count(), 2); // "Сам по себе" and the guard
        QCOMPARE(c.R_MFolComboBox->itemText(0), QStringLiteral("Сам по себе"));
        QCOMPARE(c.R_MFolComboBox->itemData(1).toInt(), 1000);
        QVERIFY(!ApplyEnabled());
        PickMob(1003);
        Click(c.R_MobBtn1);
        QCOMPARE(c.R_MobCheckListBox->currentRow(), 2);
        QCOMPARE(c.R_MFolComboBox->currentIndex(), 0);
        QCOMPARE(c.R_MFolComboBox->count(), 3);
        c.R_MMaxEdit->setValue(4);
        // The guard now follows nobody.
        c.R_MobCheckListBox->setCurrentRow(1);
        c.R_MFolComboBox->setCurrentIndex(0);
        emit c.R_MFolComboBox->activated(0);
        Apply();
        const TRoomMobList& mobs = Record(1000).Mobs;
        QCOMPARE(mobs.size(), size_t{3});
        QCOMPARE(mobs[1].Leader, -1);
        QCOMPARE(mobs[2].MobVNum, 1003);
        QCOMPARE(mobs[2].Leader, -1);
        QCOMPARE(mobs[2].MaxInRoom, int16_t{4});
        // Deleting the last mob selects the new last one.
        c.R_MobCheckListBox->setCurrentRow(2);
        prompts_->ExpectConfirm(QStringLiteral("Вы действительно хотите удалить этого моба?"),
                                true);
        Click(c.R_MobBtn3);
        QCOMPARE(c.R_MobCheckListBox->currentRow(), 1);
    }

    void theRemovalListRefusesDuplicates() {
        StartOnRoom(1003);
        TRoomContents& c = Contents();
        PickObject(1006);
        Click(c.SpeedButton1);
        PickObject(1007);
        Click(c.SpeedButton1);
        QCOMPARE(c.R_ODelCheckListBox->count(), 2);
        PickObject(1006);
        prompts_->ExpectError(QStringLiteral("Такой объект уже есть в списке"));
        Click(c.SpeedButton1);
        QCOMPARE(c.R_ODelCheckListBox->count(), 2);
        // Editing an entry into another entry's number is refused ...
        c.R_ODelCheckListBox->setCurrentRow(1);
        PickObject(1006);
        prompts_->ExpectError(QStringLiteral("Такой объект уже есть в списке"));
        Click(c.SpeedButton2);
        QCOMPARE(c.R_ODelCheckListBox->item(1)->data(Qt::UserRole).toInt(), 1007);
        // ... but keeping its own number only changes its if-flag.
        PickObject(1007, true);
        Click(c.SpeedButton2);
        QCOMPARE(c.R_ODelCheckListBox->item(1)->checkState(), Qt::Checked);
        // The percentage panel comes back for the other uses of the picker.
        QVERIFY(!form_->RoomObjForm->PanelPercent->isHidden());
        Apply();
        QCOMPARE(Record(1003).DelObjects, (std::vector<int32_t>{1006, PackIfFlag(true, 1007)}));
        prompts_->ExpectConfirm(QStringLiteral("Вы действительно хотите удалить этот объект?"),
                                true);
        Click(c.SpeedButton3);
        prompts_->ExpectConfirm(QStringLiteral("Вы действительно хотите удалить этот объект?"),
                                true);
        Click(c.SpeedButton3);
        QCOMPARE(c.R_ODelCheckListBox->currentRow(), -1);
        prompts_->ExpectError(QStringLiteral("Выберите объект"));
        Click(c.SpeedButton3);
    }

    void triggersOfTheRoom() {
        StartOnRoom(1002);
        TRoomPage& room = Room();
        QCOMPARE(room.R_TriggerListBox->count(), 1);
        room.R_TriggerListBox->setCurrentRow(0);
        prompts_->ExpectConfirm(QStringLiteral("Вы действительно хотите удалить этот триггер?"),
                                true);
        Click(room.R_TriggerBtn3);
        QCOMPARE(room.R_TriggerListBox->count(), 0);
        prompts_->ExpectError(QStringLiteral("Выберите триггер"));
        Click(room.R_TriggerBtn2);
        Apply();
        QVERIFY(Record(1002).Triggers.empty());
    }

    void leavingAnEditedRoomAsks() {
        StartOnRoom(1003, /*confirm=*/true);
        TRoomPage& room = Room();
        const std::string flags = Record(1003).Flags.Str();
        QVERIFY(flags.find("a0") == std::string::npos);
        room.R_TypeCheckListBox->item(0)->setCheckState(Qt::Checked);
        QVERIFY(ApplyEnabled());
        prompts_->ExpectConfirm(QStringLiteral("Сохранить изменения?"), true);
        form_->NextRecord();
        QCOMPARE(Record(1003).Flags, flags + "a0");
        QVERIFY(!ApplyEnabled());
    }

    void screenshot() {
        SKIP_UNLESS_SCREENSHOTS();
        StartOnRoom(1000);
        QVERIFY(SaveShot(*form_, QStringLiteral("roompage.png")));
        TRoomPage& room = Room();
        const std::array<const char*, 7> names = {"type",    "extradesc", "doors", "triggers",
                                                  "objects", "mobs",      "other"};
        for (int tab = 0; tab < 7; ++tab) {
            room.R_PageControl->setCurrentIndex(tab);
            if (tab == 2)
                Click(room.ExitPanels[DirWest]);
            QVERIFY(SaveShot(
                room, QStringLiteral("roompage_%1.png").arg(QLatin1String(names[size_t(tab)]))));
        }
    }
};

QTEST_MAIN(TRoomPageTest)
#include "roompage_test.moc"
