#include "editorfixture.h"
#include "exitlayout.h"
#include "maplayout.h"
#include "mappage.h"
#include "navigator.h"
#include "roompage.h"
#include "serverimport.h"
#include "textcodec.h"
#include "usesform.h"
#include "world.h"

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QContextMenuEvent>
#include <QLabel>
#include <QMenu>
#include <QMimeData>
#include <QMouseEvent>
#include <QPainter>
#include <QPushButton>
#include <QScrollBar>
#include <QSpinBox>
#include <QToolButton>
#include <filesystem>
#include <map>
#include <set>

using namespace guitest;

namespace {

// Real zones the screenshots show.
constexpr std::array<int32_t, 2> kRealZones = {250, 568};

// Zone 11 rearranged around the cell (10, 10) of level 4: a room on each of
// the four sides and one on each of the levels below and above; room 1103
// stays unplaced, with a door to the north that a drop must erase.
void ArrangeZone11(TWorld& world) {
    const auto place = [&world](int32_t vnum, int x, int y, int level) {
        TRoom* room = world.Rooms.Find(vnum);
        if (!room)
            room = &world.Rooms.AddNew(vnum);
        room->MapX = static_cast<uint8_t>(x);
        room->MapY = static_cast<uint8_t>(y);
        room->MapLevel = static_cast<uint8_t>(level);
    };
    place(1100, 10, 9, 4);  // north
    place(1101, 9, 10, 4);  // west
    place(1102, 10, 11, 4); // south
    place(1104, 11, 10, 4); // east
    place(1105, 10, 10, 3); // down
    place(1106, 10, 10, 5); // up
    TExit& north = world.Rooms.Find(1103)->Exits[DirNorth];
    north.SetExitKeywords("дверь");
    north.SetExitDesc("Дверь");
    north.DoorFlags = 1;
    north.Key = 1004;
    north.ToRoom = 1000;
    north.DoorState = 2;
}

} // namespace

class TMapPageTest : public TEditorFixture {
    Q_OBJECT

    TRoom& Record(int32_t vnum) { return *World().Rooms.Find(vnum); }

    void ShowZone(int32_t number) {
        for (int row = 0; row < Zone().ZoneCount(); ++row)
            if (Zone().ZoneAt(row)->ZoneNumber == number)
                SelectZoneRow(row);
        QCOMPARE(Zone().CurrentZone()->ZoneNumber, number);
        if (form_->CurrentPage() != RoomPageIndex)
            ClickTab(RoomPageIndex);
    }
    void StartOnZone11() {
        StartOn(true, /*confirm=*/false);
        ArrangeZone11(World());
        ShowZone(11);
    }
    void GoToLevel(int level) {
        while (Map().Level() < level)
            Click(Map().IncZBtn);
        while (Map().Level() > level)
            Click(Map().DecZBtn);
        QCOMPARE(Map().Level(), level);
    }
    QPoint CellCentre(int column, int row) {
        return Map().MapDrawGrid->CellRect(column, row).center();
    }
    void ClickCell(int column, int row) {
        QTest::mouseClick(Map().MapDrawGrid->viewport(), Qt::LeftButton, {},
                          CellCentre(column, row));
    }
    int UnplacedRow(int32_t vnum) {
        for (int row = 0; row < Map().MapRoomsListBox->count(); ++row)
            if (Map().MapRoomsListBox->item(row)->data(Qt::UserRole).toInt() == vnum)
                return row;
        return -1;
    }
    // Drags the unplaced room's entry onto a cell of the grid.
    void Drop(int32_t vnum, int column, int row) {
        TMapRoomsListBox* list = Map().MapRoomsListBox;
        list->setCurrentRow(UnplacedRow(vnum));
        list->RememberDrag();
        SendDrop(CellCentre(column, row));
    }
    void SendDrop(const QPoint& pos) { guitest::SendDrop(Map().MapDrawGrid->viewport(), pos); }
    // The question before a room is taken off, naming it.
    QString RemoveQuestion(int32_t vnum) {
        return QStringLiteral("Убрать комнату с карты?\n") +
               FromCp1251(TRoomList::EntryOf(*World().Rooms.Find(vnum)).Text);
    }
    QString UnlinkQuestion(int32_t vnum) {
        return QStringLiteral("Убрать комнату с карты и разорвать её выходы и выходы соседей к "
                              "ней?\n") +
               FromCp1251(TRoomList::EntryOf(*World().Rooms.Find(vnum)).Text);
    }
    // A press at `from`, dragged over to `to` and released there.
    void Drag(const QPoint& from, const QPoint& to, Qt::KeyboardModifiers atRelease = {}) {
        QWidget* grid = Map().MapDrawGrid->viewport();
        QTest::mousePress(grid, Qt::LeftButton, {}, from);
        QMouseEvent move(QEvent::MouseMove, to, grid->mapToGlobal(to), Qt::NoButton, Qt::LeftButton,
                         Qt::NoModifier);
        QApplication::sendEvent(grid, &move);
        QTest::mouseRelease(grid, Qt::LeftButton, atRelease, to);
    }
    void DragCell(TMapCell from, TMapCell to) {
        Drag(CellCentre(from.Column, from.Row), CellCentre(to.Column, to.Row));
    }
    // The zone's seven files as saved now.
    std::map<std::string, std::string> SavedZone11() {
        prompts_->ExpectConfirm(QStringLiteral("Сохранить всю зону?"), true);
        Action("N34")->trigger();
        std::map<std::string, std::string> files;
        for (const char* file : {"ZON/11.zon", "WLD/11.wld", "WLD/11.map", "OBJ/11.obj",
                                 "MOB/11.mob", "SHP/11.shp", "TRG/11.trg"})
            files[file] = ReadFile(Workspace(file));
        return files;
    }
    // The room's context menu opened on its cell, the submenus named
    // `path` opened in turn and the entry named last clicked.
    void ChooseFromRoomMenu(int column, int row, const std::vector<const char*>& path) {
        QWidget* grid = Map().MapDrawGrid->viewport();
        const QPoint at = CellCentre(column, row);
        QContextMenuEvent event(QContextMenuEvent::Mouse, at, grid->mapToGlobal(at));
        QApplication::sendEvent(grid, &event);
        QMenu* menu = Map().MapRoomMenu;
        QVERIFY(menu->isVisible());
        for (size_t i = 0; i + 1 < path.size(); ++i) {
            auto* submenu = menu->findChild<QMenu*>(QLatin1String(path[i]));
            QVERIFY(submenu && submenu->isEnabled());
            QTest::mouseClick(menu, Qt::LeftButton, {},
                              menu->actionGeometry(submenu->menuAction()).center());
            QTRY_VERIFY(submenu->isVisible());
            menu = submenu;
        }
        auto* action = menu->findChild<QAction*>(QLatin1String(path.back()));
        QVERIFY(action && action->isEnabled());
        QTest::mouseClick(menu, Qt::LeftButton, {}, menu->actionGeometry(action).center());
        QVERIFY(!Map().MapRoomMenu->isVisible());
    }
    std::set<int32_t> Selected() { return Map().SelectedRooms(); }
    // Every room's exits in zone 11, by number.
    std::map<int32_t, std::array<TExit, DirCount>> ExitsOfZone11() {
        std::map<int32_t, std::array<TExit, DirCount>> exits;
        for (const TRoom* room : World().Rooms.ZoneInListOrder(11))
            exits[room->VNum] = room->Exits;
        return exits;
    }
    bool Unplaced(int32_t vnum) {
        return std::any_of(Map().UnplacedRooms().begin(), Map().UnplacedRooms().end(),
                           [vnum](const TListEntry& e) { return e.VNum == vnum; });
    }

private slots:
    void cleanup() { Finish(); }

    void levelsStartAtThreeAndStopAtTheEnds() {
        StartOn(false);
        QCOMPARE(form_->findChild<QLabel*>(QStringLiteral("MapZLabel"))->text(),
                 QStringLiteral("3"));
        Stop();
        StartOnZone11();
        GoToLevel(1);
        Click(Map().DecZBtn);
        QCOMPARE(Map().Level(), 1);
        GoToLevel(9);
        Click(Map().IncZBtn);
        QCOMPARE(Map().Level(), 9);
        QCOMPARE(Map().MapZLabel->text(), QStringLiteral("9"));
    }

    void aDropLinksAllSixNeighbours() {
        StartOnZone11();
        GoToLevel(4);
        QVERIFY(Unplaced(1103));
        Drop(1103, 10, 10);
        const TRoom& dropped = Record(1103);
        QCOMPARE(int(dropped.MapX), 10);
        QCOMPARE(int(dropped.MapY), 10);
        QCOMPARE(int(dropped.MapLevel), 4);
        QCOMPARE(World().Map.At(10, 10, 4), 1103);
        QVERIFY(!Unplaced(1103));
        QCOMPARE(UnplacedRow(1103), -1);
        const std::array<int32_t, DirCount> targets = {1100, 1104, 1102, 1101, 1106, 1105};
        for (int d = 0; d < DirCount; ++d) {
            const TExit& exit = dropped.Exits[size_t(d)];
            QCOMPARE(exit.ToRoom, targets[size_t(d)]);
            QVERIFY(exit.ExitKeywords().empty() && exit.ExitDesc().empty());
            QCOMPARE(int(exit.DoorFlags), 0);
            QCOMPARE(exit.Key, -1);
            QCOMPARE(int(exit.DoorState), 0);
            QCOMPARE(Record(targets[size_t(d)]).Exits[size_t(ReverseDir(d))].ToRoom, 1103);
        }
        // The minimap shows the room.
        QCOMPARE(Map().MiniMapImage->Image().pixelColor(10, 10), QColor(Qt::black));
    }

    void aTakenCellRefusesTheDrop() {
        StartOnZone11();
        GoToLevel(4);
        prompts_->ExpectError(QStringLiteral("Эта клетка уже занята"));
        Drop(1103, 10, 9);
        QCOMPARE(int(Record(1103).MapLevel), 0);
        QVERIFY(Unplaced(1103));
        // A drop that started nowhere places nothing.
        Map().MapRoomsListBox->setCurrentRow(-1);
        Map().MapRoomsListBox->RememberDrag();
        SendDrop(CellCentre(0, 0));
        QCOMPARE(World().Map.At(0, 0, 4), -1);
    }

    void atTheEdgesOnlyExistingNeighboursAreLinked() {
        StartOnZone11();
        // 1100 goes to the corner of level 1; 1103 is dropped beside it.
        TRoom& corner = Record(1100);
        corner.MapX = 0;
        corner.MapY = 0;
        corner.MapLevel = 1;
        World().Map.Set(10, 9, 4, -1);
        World().Map.Set(0, 0, 1, 1100);
        GoToLevel(1);
        const auto before = Record(1103).Exits;
        Drop(1103, 0, 1);
        QCOMPARE(Record(1103).Exits[DirNorth].ToRoom, 1100);
        QCOMPARE(corner.Exits[DirSouth].ToRoom, 1103);
        // No other neighbour exists there: the other exits are left as they were.
        for (int d : {int(DirEast), int(DirSouth), int(DirWest), int(DirUp), int(DirDown)})
            QCOMPARE(Record(1103).Exits[size_t(d)], before[size_t(d)]);
    }

    // A placed room dragged to a free cell, or moved a cell with Ctrl + an
    // arrow key: its position changes, no exit does, and of the zone's files
    // only the layout file differs; each move one step.
    void movingARoomKeepsItsExits() {
        StartOnZone11();
        GoToLevel(4);
        const auto before = SavedZone11();
        const TRoom exitsBefore = Record(1104);
        DragCell({11, 10}, {13, 12});
        QCOMPARE(*Room().ShownRoom(), 1104);
        QCOMPARE(int(Record(1104).MapX), 13);
        QCOMPARE(int(Record(1104).MapY), 12);
        QCOMPARE(World().Map.At(13, 12, 4), 1104);
        QCOMPARE(World().Map.At(11, 10, 4), -1);
        QCOMPARE(Map().MapXLabel->text(), QStringLiteral("13"));
        QCOMPARE(Map().MapYLabel->text(), QStringLiteral("12"));
        QVERIFY(Record(1104).Exits == exitsBefore.Exits);
        QTest::keyClick(Map().MapDrawGrid, Qt::Key_Left, Qt::ControlModifier);
        QCOMPARE(int(Record(1104).MapX), 12);
        QCOMPARE(Map().MapXLabel->text(), QStringLiteral("12"));
        // Onto a room: refused.
        prompts_->ExpectError(QStringLiteral("Эта клетка уже занята"));
        DragCell({12, 12}, {10, 11});
        QCOMPARE(int(Record(1104).MapX), 12);

        auto after = SavedZone11();
        QVERIFY(after.at("WLD/11.map") != before.at("WLD/11.map"));
        after["WLD/11.map"] = before.at("WLD/11.map");
        QVERIFY(after == before);

        Action("NUndo")->trigger();
        QCOMPARE(int(Record(1104).MapX), 13);
        Action("NUndo")->trigger();
        QCOMPARE(int(Record(1104).MapX), 11);
        QCOMPARE(World().Map.At(11, 10, 4), 1104);
        Action("NRedo")->trigger();
        QCOMPARE(int(Record(1104).MapX), 13);
        QCOMPARE(World().Map.At(13, 12, 4), 1104);
        QVERIFY(Record(1104).Exits == exitsBefore.Exits);
    }

    // A rubber band selects the rooms it covers; dragging one of them takes
    // them all to free cells, Ctrl + an arrow moves them a cell: positions
    // change, no exit does, only the layout file differs; each move one
    // step. A cell taken by a room left behind refuses the whole move.
    void aSelectionMovesTogether() {
        StartOnZone11();
        GoToLevel(4);
        const auto before = SavedZone11();
        const auto exits = ExitsOfZone11();
        DragCell({8, 8}, {10, 11}); // from an empty cell: a band
        QCOMPARE(Selected(), (std::set<int32_t>{1100, 1101, 1102}));
        DragCell({9, 10}, {9, 13});
        QCOMPARE(World().Map.At(10, 12, 4), 1100);
        QCOMPARE(World().Map.At(9, 13, 4), 1101);
        QCOMPARE(World().Map.At(10, 14, 4), 1102);
        QCOMPARE(World().Map.At(10, 9, 4), -1);
        QCOMPARE(int(Record(1104).MapX), 11);
        QCOMPARE(Selected().size(), size_t(3));
        DragCell({8, 12}, {10, 14}); // the band again: its first cell, empty, is the current one
        QTest::keyClick(Map().MapDrawGrid, Qt::Key_Right, Qt::ControlModifier);
        QCOMPARE(World().Map.At(11, 12, 4), 1100);
        QCOMPARE(World().Map.At(10, 13, 4), 1101);
        QCOMPARE(World().Map.At(11, 14, 4), 1102);
        // 1100 would land on 1104, which is not selected: nothing moves.
        prompts_->ExpectError(QStringLiteral("Эта клетка уже занята"));
        DragCell({10, 13}, {10, 11});
        QCOMPARE(World().Map.At(10, 13, 4), 1101);
        QCOMPARE(World().Map.At(11, 10, 4), 1104);
        // 1100 would leave the map.
        prompts_->ExpectError(QStringLiteral("Комнаты не помещаются на карте"));
        DragCell({10, 13}, {10, 0});
        QCOMPARE(World().Map.At(11, 12, 4), 1100);
        QVERIFY(ExitsOfZone11() == exits);

        auto after = SavedZone11();
        QVERIFY(after.at("WLD/11.map") != before.at("WLD/11.map"));
        after["WLD/11.map"] = before.at("WLD/11.map");
        QVERIFY(after == before);

        Action("NUndo")->trigger();
        QCOMPARE(World().Map.At(9, 13, 4), 1101);
        Action("NUndo")->trigger();
        QCOMPARE(World().Map.At(10, 9, 4), 1100);
        QCOMPARE(World().Map.At(9, 10, 4), 1101);
        QCOMPARE(World().Map.At(10, 11, 4), 1102);
        Action("NRedo")->trigger();
        QCOMPARE(World().Map.At(9, 13, 4), 1101);
        QCOMPARE(World().Map.At(10, 14, 4), 1102);
        QVERIFY(ExitsOfZone11() == exits);
    }

    // A click selects its room alone, Shift + click adds one, Ctrl + click
    // turns one in or out, a click on an empty cell lets them all go.
    void clicksWithShiftAndCtrlSelect() {
        StartOnZone11();
        GoToLevel(4);
        ClickCell(10, 9);
        QCOMPARE(Selected(), (std::set<int32_t>{1100}));
        QTest::mouseClick(Map().MapDrawGrid->viewport(), Qt::LeftButton, Qt::ShiftModifier,
                          CellCentre(11, 10));
        QTest::mouseClick(Map().MapDrawGrid->viewport(), Qt::LeftButton, Qt::ControlModifier,
                          CellCentre(9, 10));
        QCOMPARE(Selected(), (std::set<int32_t>{1100, 1101, 1104}));
        QTest::mouseClick(Map().MapDrawGrid->viewport(), Qt::LeftButton, Qt::ControlModifier,
                          CellCentre(10, 9));
        QCOMPARE(Selected(), (std::set<int32_t>{1101, 1104}));
        ClickCell(20, 20);
        QVERIFY(Selected().empty());
    }

    // "Новая комната" of a room's context menu: a room from the chosen
    // template in the free cell beside it, the two linked both ways; one step.
    void theContextMenuMakesALinkedRoom() {
        StartOnZone11();
        GoToLevel(4);
        QCOMPARE(Record(1104).Exits[DirEast].ToRoom, 0);
        QVERIFY(!World().Rooms.Find(1107));
        ChooseFromRoomMenu(11, 10, {"MapNewRoomMenu", "MapNewRoom1", "MapNewRoomTemplet2"});
        const TRoom* made = World().Rooms.Find(1107);
        QVERIFY(made);
        QCOMPARE(World().Map.At(12, 10, 4), 1107);
        QCOMPARE(made->Exits[DirWest].ToRoom, 1104);
        QCOMPARE(Record(1104).Exits[DirEast].ToRoom, 1107);
        QCOMPARE(made->Name, form_->RoomTemplet.Record(2).Name);
        QCOMPARE(*Room().ShownRoom(), 1107);
        Action("NUndo")->trigger();
        QVERIFY(!World().Rooms.Find(1107));
        QCOMPARE(Record(1104).Exits[DirEast].ToRoom, 0);
        QCOMPARE(World().Map.At(12, 10, 4), -1);
        Action("NRedo")->trigger();
        QCOMPARE(World().Map.At(12, 10, 4), 1107);
        QCOMPARE(Record(1104).Exits[DirEast].ToRoom, 1107);
    }

    // "Удалить выход": after its question, the exit and, for a pair, the way
    // back; one step.
    void theContextMenuDeletesAnExitAndItsWayBack() {
        StartOnZone11();
        GoToLevel(4);
        Drop(1103, 10, 10); // linked both ways with its six neighbours
        const QString question =
            QStringLiteral("Удалить выход на север в комнату 1100 и выход оттуда обратно?\n") +
            FromCp1251(TRoomList::EntryOf(Record(1103)).Text);
        prompts_->ExpectConfirm(question, false);
        ChooseFromRoomMenu(10, 10, {"MapDelExitMenu", "MapDelExit0"});
        QCOMPARE(Record(1103).Exits[DirNorth].ToRoom, 1100);
        prompts_->ExpectConfirm(question, true);
        ChooseFromRoomMenu(10, 10, {"MapDelExitMenu", "MapDelExit0"});
        QCOMPARE(Record(1103).Exits[DirNorth].ToRoom, 0);
        QCOMPARE(Record(1100).Exits[DirSouth].ToRoom, 0);
        QCOMPARE(Record(1103).Exits[DirEast].ToRoom, 1104);
        Action("NUndo")->trigger();
        QCOMPARE(Record(1103).Exits[DirNorth].ToRoom, 1100);
        QCOMPARE(Record(1100).Exits[DirSouth].ToRoom, 1103);
        Action("NRedo")->trigger();
        QCOMPARE(Record(1103).Exits[DirNorth].ToRoom, 0);
        QCOMPARE(Record(1100).Exits[DirSouth].ToRoom, 0);
        // "Где используется" lists what leads into the room.
        ChooseFromRoomMenu(10, 10, {"MapRoomUses"});
        TUsesForm& uses = *form_->Navigator->UsesForm;
        QVERIFY(uses.isVisible());
        QVERIFY(uses.U_RecordLabel->text().contains(QStringLiteral("1103")));
        QVERIFY(uses.U_UsesList->topLevelItemCount() > 0);
    }

    // A drag from a room's edge to another room draws an exit in that
    // direction and one back; with Shift, one way only; each one step.
    void exitsAreDrawnFromARoomsEdge() {
        StartOnZone11();
        GoToLevel(4);
        for (const int32_t vnum : {1100, 1101, 1102, 1104})
            Record(vnum).Exits.Clear();
        const QRect west = Map().MapDrawGrid->CellRect(9, 10);
        Drag(QPoint(west.right() - 1, west.center().y()), CellCentre(11, 10));
        QCOMPARE(Record(1101).Exits[DirEast].ToRoom, 1104);
        QCOMPARE(Record(1104).Exits[DirWest].ToRoom, 1101);
        QCOMPARE(int(Record(1101).MapX), 9); // drawing moves nothing
        const QRect north = Map().MapDrawGrid->CellRect(10, 9);
        Drag(QPoint(north.center().x(), north.bottom() - 1), CellCentre(10, 11), Qt::ShiftModifier);
        QCOMPARE(Record(1100).Exits[DirSouth].ToRoom, 1102);
        QCOMPARE(Record(1102).Exits[DirNorth].ToRoom, 0);
        // An exit that leads elsewhere is replaced only when the builder says so.
        prompts_->ExpectConfirm(QStringLiteral("Комната 1100 уже ведёт на юг в комнату 1102. "
                                               "Заменить этот выход?"),
                                false);
        Drag(QPoint(north.center().x(), north.bottom() - 1), CellCentre(11, 10));
        QCOMPARE(Record(1100).Exits[DirSouth].ToRoom, 1102);

        Action("NUndo")->trigger();
        QCOMPARE(Record(1100).Exits[DirSouth].ToRoom, 0);
        Action("NUndo")->trigger();
        QCOMPARE(Record(1101).Exits[DirEast].ToRoom, 0);
        QCOMPARE(Record(1104).Exits[DirWest].ToRoom, 0);
        Action("NRedo")->trigger();
        QCOMPARE(Record(1104).Exits[DirWest].ToRoom, 1101);
    }

    // A double click on a room with an exit into another zone opens that zone
    // on the room the exit leads to.
    void anExitIntoAnotherZoneIsFollowed() {
        StartOnZone11();
        GoToLevel(4);
        TRoom& room = Record(1100);
        room.Exits.Clear();
        room.Exits[DirNorth].ToRoom = 1001;
        QTest::mouseDClick(Map().MapDrawGrid->viewport(), Qt::LeftButton, {}, CellCentre(10, 9));
        QCOMPARE(Zone().CurrentZone()->ZoneNumber, 10);
        QCOMPARE(form_->CurrentPage(), int(RoomPageIndex));
        QCOMPARE(*Room().ShownRoom(), 1001);
    }

    void takingARoomOffClearsItsExitsAndTheWayBack() {
        StartOnZone11();
        GoToLevel(4);
        Drop(1103, 10, 10);
        // The room below no longer leads back; its exit stays.
        Record(1105).Exits[DirUp].ToRoom = 1000;
        ClickCell(10, 10);
        QCOMPARE(*Room().ShownRoom(), 1103);
        QCOMPARE(Map().MapXLabel->text(), QStringLiteral("10"));
        prompts_->ExpectConfirm(UnlinkQuestion(1103), false);
        Click(Map().R_UnlinkFromMapBtn);
        QCOMPARE(int(Record(1103).MapLevel), 4);
        prompts_->ExpectConfirm(UnlinkQuestion(1103), true);
        Click(Map().R_UnlinkFromMapBtn);
        const TRoom& room = Record(1103);
        QCOMPARE(int(room.MapLevel), 0);
        QCOMPARE(int(room.MapX), 0);
        QCOMPARE(World().Map.At(10, 10, 4), -1);
        QCOMPARE(UnplacedRow(1103), 0);
        QVERIFY(Unplaced(1103));
        for (const TExit& exit : room.Exits)
            QCOMPARE(exit.ToRoom, 0);
        QCOMPARE(Record(1100).Exits[DirSouth].ToRoom, 0);
        QCOMPARE(Record(1106).Exits[DirDown].ToRoom, 0);
        QCOMPARE(Record(1105).Exits[DirUp].ToRoom, 1000);
        // The page shows the room's exits as the map left them.
        QCOMPARE(Room().ExitEdits[DirNorth]->value(), 0);
        QCOMPARE(Room().ExitTable()[DirNorth].ToRoom, 0);
    }

    void theShownRoomIsTheOneTakenOff() {
        StartOnZone11();
        // Right after entering the page the shown room can be taken off.
        QCOMPARE(*Room().ShownRoom(), 1100);
        prompts_->ExpectConfirm(RemoveQuestion(1100), true);
        Click(Map().R_DelFromMapBtn);
        QCOMPARE(int(Record(1100).MapLevel), 0);
        QVERIFY(Unplaced(1100));

        // A cell clicked, then another room chosen from the ID list or with
        // Next: the chosen room goes, the clicked one stays.
        GoToLevel(4);
        ClickCell(10, 11);
        QCOMPARE(*Room().ShownRoom(), 1102);
        ChooseRecord(RoomPageIndex, 1104);
        QCOMPARE(Map().MapXLabel->text(), QStringLiteral("11"));
        QCOMPARE(Map().MapYLabel->text(), QStringLiteral("10"));
        prompts_->ExpectConfirm(RemoveQuestion(1104), true);
        QTest::keyClick(Map().MapDrawGrid, Qt::Key_Delete);
        QCOMPARE(int(Record(1104).MapLevel), 0);
        QCOMPARE(int(Record(1102).MapLevel), 4);

        ClickCell(9, 10);
        QCOMPARE(*Room().ShownRoom(), 1101);
        Action("N29")->trigger();
        QCOMPARE(*Room().ShownRoom(), 1102);
        prompts_->ExpectConfirm(RemoveQuestion(1102), true);
        Click(Map().R_DelFromMapBtn);
        QCOMPARE(int(Record(1102).MapLevel), 0);
        QCOMPARE(int(Record(1101).MapLevel), 4);
        QCOMPARE(World().Map.At(9, 10, 4), 1101);
    }

    void aRoomOffTheGridIsShownAsNotPlaced() {
        StartOn(true, /*confirm=*/false);
        ArrangeZone11(World());
        Record(1104).MapLevel = 12; // kept as stored, but no level of the map
        ShowZone(11);
        QVERIFY(Unplaced(1104));
        GoToLevel(4);
        ChooseRecord(RoomPageIndex, 1104);
        QCOMPARE(*Room().ShownRoom(), 1104);
        QCOMPARE(Map().Level(), 4);
        QCOMPARE(Map().MapZLabel->text(), QStringLiteral("4"));
        // Nothing of it is on the map to take off.
        Click(Map().R_DelFromMapBtn);
        QCOMPARE(int(Record(1104).MapLevel), 12);
    }

    void aCancelledRenameLeavesBothLists() {
        StartOnZone11();
        ChooseRecord(RoomPageIndex, 1103);
        const QString entry = Page(RoomPageIndex).IDComboBox->currentText();
        Room().R_DescEdit->setFocus();
        TypeText(Room().R_DescEdit, QStringLiteral("?"));
        QCOMPARE(Page(RoomPageIndex).IDComboBox->currentText(), entry + QLatin1Char('?'));
        QCOMPARE(Map().MapRoomsListBox->item(UnplacedRow(1103))->text(), entry + QLatin1Char('?'));
        prompts_->ExpectConfirm(QStringLiteral("Отменить изменения?"), true);
        Click(form_->ToolsForm->CancelBtn);
        QCOMPARE(Page(RoomPageIndex).IDComboBox->currentText(), entry);
        QCOMPARE(Map().MapRoomsListBox->item(UnplacedRow(1103))->text(), entry);
        for (const TListEntry& unplaced : Map().UnplacedRooms())
            if (unplaced.VNum == 1103)
                QCOMPARE(FromCp1251(unplaced.Text), entry);
    }

    // Without linking on a drop, and on a plain take off (the button or the
    // Delete key), only positions change.
    void withoutAutoLinkingOnlyPositionsChange() {
        StartOnZone11();
        GoToLevel(4);
        Map().MapAutoLinkCheckBox->setChecked(false);
        Drop(1103, 10, 10);
        QCOMPARE(int(Record(1103).MapLevel), 4);
        QCOMPARE(Record(1103).Exits[DirNorth].ToRoom, 1000);
        QCOMPARE(Record(1103).Exits[DirEast].ToRoom, 0);
        QCOMPARE(Record(1100).Exits[DirSouth].ToRoom, 1001);
        Map().MapAutoLinkCheckBox->setChecked(true);
        ClickCell(10, 10);
        prompts_->ExpectConfirm(RemoveQuestion(1103), true);
        QTest::keyClick(Map().MapDrawGrid, Qt::Key_Delete);
        QCOMPARE(int(Record(1103).MapLevel), 0);
        QCOMPARE(Record(1103).Exits[DirNorth].ToRoom, 1000);
    }

    void tilesShowTheExitMask() {
        TRoom room(1);
        QCOMPARE(ExitMask(room), 0);
        for (size_t direction = 0; direction < DirCount; ++direction)
            room.Exits[direction].ToRoom = 5;
        QCOMPARE(ExitMask(room), 63);
        room.Exits[DirEast].ToRoom = 0;
        room.Exits[DirUp].ToRoom = 0;
        QCOMPARE(ExitMask(room), 1 + 2 + 4 + 32);
        const TMapCellImages images;
        const QImage& plain = images.Image(0);
        const QImage& all = images.Image(63);
        QCOMPARE(plain.size(), QSize(16, 16));
        // Gaps open in the edges toward the horizontal exits.
        QVERIFY(plain.pixelColor(8, 0) != all.pixelColor(8, 0));
        QVERIFY(plain.pixelColor(0, 8) != all.pixelColor(0, 8));
        QCOMPARE(images.Image(1).pixelColor(8, 0), all.pixelColor(8, 0));
        QCOMPARE(images.Image(1).pixelColor(0, 8), plain.pixelColor(0, 8));
        // Up and down draw their triangles.
        QVERIFY(images.Image(16).pixelColor(8, 5) != plain.pixelColor(8, 5));
        QVERIFY(images.Image(32).pixelColor(8, 10) != plain.pixelColor(8, 10));
        QCOMPARE(images.Inverted(0).pixelColor(8, 8).red(), 255 - plain.pixelColor(8, 8).red());
    }

    void aCellGivesTheAwaitedExitItsTarget() {
        StartOn(true, /*confirm=*/false);
        ShowZone(11);
        GoToLevel(1);
        ClickCell(5, 9);
        QCOMPARE(*Room().ShownRoom(), 1100);
        QVERIFY(!ApplyEnabled());
        Click(Room().SetExitPanels[DirEast]);
        QCOMPARE(Room().AwaitingExit(), int(DirEast));
        ClickCell(6, 8); // room 1102
        QCOMPARE(*Room().ShownRoom(), 1100);
        QCOMPARE(Room().ExitEdits[DirEast]->value(), 1102);
        QVERIFY(!Room().ExitPanels[DirEast]->isHidden());
        QVERIFY(!Room().SetExitPanels[DirEast]->isChecked());
        QCOMPARE(Room().AwaitingExit(), -1);
        QVERIFY(ApplyEnabled());
        // The grid's current cell went back to the shown room.
        QCOMPARE(Map().MapDrawGrid->Column(), 5);
        QCOMPARE(Map().MapDrawGrid->Row(), 9);
        // An empty cell takes the exit away.
        Click(Room().SetExitPanels[DirNorth]);
        ClickCell(20, 20);
        QCOMPARE(Room().ExitTable()[DirNorth].ToRoom, 0);
        QVERIFY(Room().ExitPanels[DirNorth]->isHidden());
        form_->ApplyPage();
        QCOMPARE(Record(1100).Exits[DirEast].ToRoom, 1102);
        QCOMPARE(Record(1100).Exits[DirNorth].ToRoom, 0);
        // A second click on the same panel stops waiting.
        Click(Room().SetExitPanels[DirWest]);
        Click(Room().SetExitPanels[DirWest]);
        QCOMPARE(Room().AwaitingExit(), -1);
    }

    void choosingACellShowsItsRoom() {
        StartOn(true, /*confirm=*/true);
        ShowZone(11);
        GoToLevel(1);
        ClickCell(5, 8);
        QCOMPARE(*Room().ShownRoom(), 1101);
        QCOMPARE(Page(RoomPageIndex).IDComboBox->currentData().toInt(), 1101);
        // An edited room is stored through the question before the next one shows.
        Room().R_DescEdit->setFocus();
        TypeText(Room().R_DescEdit, QStringLiteral("!"));
        prompts_->ExpectConfirm(QStringLiteral("Сохранить изменения?"), true);
        ClickCell(6, 8);
        QCOMPARE(*Room().ShownRoom(), 1102);
        QVERIFY(FromCp1251(Record(1101).Name).endsWith(QLatin1Char('!')));
        QVERIFY(!ApplyEnabled());
        // The name typed on the page reaches the unplaced room's entry.
        ChooseRecord(RoomPageIndex, 1103);
        Room().R_DescEdit->setFocus();
        TypeText(Room().R_DescEdit, QStringLiteral("?"));
        QVERIFY(Map().MapRoomsListBox->item(UnplacedRow(1103))->text().endsWith(QLatin1Char('?')));
        prompts_->ExpectConfirm(QStringLiteral("Сохранить изменения?"), false);
        ChooseComboEntry(Page(RoomPageIndex).IDComboBox, 0);
    }

    void theMinimapScrollsTheGrid() {
        StartOnZone11();
        TMiniMap* mini = Map().MiniMapImage;
        QTest::mouseMove(mini, QPoint(4, 50));
        QTest::mouseClick(mini, Qt::LeftButton, {}, QPoint(4, 50));
        // The clicked cell comes to the middle of the grid, its edges permitting.
        const QSize cells = Map().MapDrawGrid->VisibleCells();
        QCOMPARE(Map().MapDrawGrid->LeftColumn(), 0);
        QCOMPARE(Map().MapDrawGrid->TopRow(), 50 - cells.height() / 2);
        QTest::mouseClick(mini, Qt::LeftButton, {}, QPoint(95, 95));
        QCOMPARE(Map().MapDrawGrid->LeftColumn(), 100 - cells.width());
        QCOMPARE(Map().MapDrawGrid->TopRow(), 100 - cells.height());
    }

    void placingTheUnplacedRooms() {
        StartOnZone11();
        GoToLevel(6);
        QVERIFY(Unplaced(1103));
        form_->N35->trigger();
        QVERIFY(Map().UnplacedRooms().empty());
        QCOMPARE(Map().MapRoomsListBox->count(), 0);
        QCOMPARE(int(Record(1103).MapLevel), 6);
        QCOMPARE(World().Map.At(Record(1103).MapX, Record(1103).MapY, 6), 1103);
    }

    void layingOutFromExitsPlacesTheRooms() {
        StartOn(true, /*confirm=*/false);
        for (const TRoom* room : World().Rooms.ZoneInListOrder(11))
            Record(room->VNum).MapLevel = 0;
        ShowZone(11);
        QCOMPARE(Map().MapRoomsListBox->count(), 4);
        // Nothing was placed: no question.
        Click(Map().MapLayoutBtn);
        QVERIFY(Map().UnplacedRooms().empty());
        QCOMPARE(Map().MapRoomsListBox->count(), 0);
        for (const TRoom* room : World().Rooms.ZoneInListOrder(11)) {
            QVERIFY(IsOnGrid(*room));
            QCOMPARE(World().Map.At(room->MapX, room->MapY, room->MapLevel), room->VNum);
        }
        const TExitLayoutResult measured = MeasureExitLayout(World().Rooms, 11);
        QVERIFY(measured.TwoWayExits > 0);
        QCOMPARE(measured.Joined, measured.TwoWayExits);
        QCOMPARE(Record(1101).MapY + 1, int(Record(1100).MapY)); // 1101 lies north of 1100
        // The map shows the room on the page, on its level.
        const TRoom& shown = Record(*Room().ShownRoom());
        QCOMPARE(Map().Level(), int(shown.MapLevel));
        QCOMPARE(Map().MiniMapImage->Image().pixelColor(shown.MapX, shown.MapY), QColor(Qt::black));

        // All on the map: laying out again needs a yes.
        Record(1100).MapX = 70;
        prompts_->ExpectConfirm(
            QStringLiteral("Все комнаты зоны уже на карте. Разложить их заново по выходам?"),
            false);
        Click(Map().MapLayoutBtn);
        QCOMPARE(int(Record(1100).MapX), 70);
        // Some placed, some not: "Нет" places only those not placed.
        Record(1103).MapLevel = 0;
        Map().ShowZone(11);
        QCOMPARE(Map().MapRoomsListBox->count(), 1);
        prompts_->ExpectConfirm(QStringLiteral("Разложить заново и уже расставленные комнаты?\n"
                                               "«Нет» — расставить только не расставленные."),
                                false);
        Click(Map().MapLayoutBtn);
        QVERIFY(IsOnGrid(Record(1103)));
        QCOMPARE(int(Record(1100).MapX), 70);
        QCOMPARE(Map().MapRoomsListBox->count(), 0);
    }

    // Two zones of the real server world as the import lays them out.
    void realZonesLaidOutScreenshots() {
        SKIP_UNLESS_SCREENSHOTS();
        const std::filesystem::path server = std::filesystem::path(VELMORA_REALWORLD) / "world";
        if (!std::filesystem::is_directory(server))
            QSKIP("no real server world beside the project (the sample is not here)");
        MakeProgram(false, Settings(false, false, true));
        TImportOptions options;
        options.Zones = {kRealZones.begin(), kRealZones.end()};
        QVERIFY(ImportServerWorld(ListServerWorld(server.string()), Workspace(""), options)
                    .Succeeded());
        Start();
        form_->resize(1400, 900);
        for (const int32_t zone : kRealZones) {
            ShowZone(zone);
            QVERIFY(Map().UnplacedRooms().empty());
            // The usual zoom, the first that shows numbers and the largest, with names.
            for (const int pitch : {TMapDrawGrid::kPitch, 33, 65}) {
                while (Map().MapDrawGrid->Pitch() < pitch)
                    QTest::keyClick(Map().MapDrawGrid, Qt::Key_Plus, Qt::ControlModifier);
                QCOMPARE(Map().MapDrawGrid->Pitch(), pitch);
                QVERIFY(
                    SaveShot(Map(), QStringLiteral("mappage-real-%1-%2.png").arg(zone).arg(pitch)));
            }
            while (Map().MapDrawGrid->Pitch() > TMapDrawGrid::kPitch)
                QTest::keyClick(Map().MapDrawGrid, Qt::Key_Minus, Qt::ControlModifier);
        }
        QMenu& legend = *Map().MapLegendBtn->menu();
        legend.adjustSize();
        QVERIFY(SaveShot(legend, QStringLiteral("mappage-legend.png")));
    }

    // A selection, then exits of every kind: one way to a neighbour, to a
    // room elsewhere on the level and on another level, into another zone,
    // to a missing room and to room 0.
    void selectionAndExitsScreenshots() {
        SKIP_UNLESS_SCREENSHOTS();
        StartOnZone11();
        form_->resize(1200, 900);
        GoToLevel(4);
        Drop(1103, 10, 10);
        Record(1104).Exits[DirWest] = {};
        Record(1104).Exits[DirUp].ToRoom = 1106;
        Record(1101).Exits[DirNorth].ToRoom = 1102;
        Record(1100).Exits[DirNorth].ToRoom = 1001;
        Record(1102).Exits[DirEast].ToRoom = 1150;
        Record(1101).Exits[DirWest] = {};
        Record(1101).KeptExits = {"D3", "~", "~", "0 -1 0"};
        Map().Refresh(); // the exits changed behind the document's back
        while (Map().MapDrawGrid->Pitch() < 49)
            QTest::keyClick(Map().MapDrawGrid, Qt::Key_Plus, Qt::ControlModifier);
        Map().MapDrawGrid->ScrollTo(7, 7);
        DragCell({8, 8}, {10, 10});
        QVERIFY(SaveShot(Map(), QStringLiteral("mappage-selection.png")));
        ClickCell(14, 14);
        for (const int pitch : {TMapDrawGrid::kPitch, 65}) {
            while (Map().MapDrawGrid->Pitch() != pitch)
                QTest::keyClick(Map().MapDrawGrid,
                                Map().MapDrawGrid->Pitch() < pitch ? Qt::Key_Plus : Qt::Key_Minus,
                                Qt::ControlModifier);
            Map().MapDrawGrid->ScrollTo(8, 7);
            QVERIFY(SaveShot(Map(), QStringLiteral("mappage-exits-%1.png").arg(pitch)));
        }
    }

    void screenshot() {
        SKIP_UNLESS_SCREENSHOTS();
        StartOn(true, false);
        ShowZone(11);
        GoToLevel(1);
        QVERIFY(SaveShot(Map(), QStringLiteral("mappage.png")));
        const TMapCellImages images;
        QImage sheet(8 * 20, 8 * 20, QImage::Format_RGB32);
        sheet.fill(Qt::white);
        QPainter painter(&sheet);
        for (int k = 0; k < 64; ++k)
            painter.drawImage((k % 8) * 20 + 2, (k / 8) * 20 + 2, images.Image(k));
        painter.end();
        QVERIFY(
            SaveShot(QPixmap::fromImage(sheet.scaled(640, 640)), QStringLiteral("mapcells.png")));
    }
};

QTEST_MAIN(TMapPageTest)
#include "mappage_test.moc"
