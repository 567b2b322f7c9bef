#pragma once

// The room map beside the room page: the grid of the open zone on nine
// levels, the rooms not placed yet (dragged from their list onto a cell),
// automatic linking of a placed room with its neighbours, a minimap that
// scrolls the grid, and the choice of a room or of an exit's target by a
// click on its cell.

#include "mapcells.h"
#include "mapgridpage.h"
#include "recordlist.h"
#include "room.h"

#include <QListWidget>
#include <QWidget>
#include <cstdint>
#include <deque>
#include <functional>
#include <optional>
#include <set>
#include <vector>

class QCheckBox;
class QFrame;
class QLabel;
class QMenu;
class QPushButton;
class QToolButton;
class TEditorContext;
struct TWorldChange;
class TRoomPage;

// The unplaced rooms; a drag remembers the entry it started from.
class TMapRoomsListBox : public QListWidget {
    Q_OBJECT

public:
    explicit TMapRoomsListBox(QWidget* parent = nullptr);
    // The entry a drag starts from: the selected one, -1 when none is.
    void RememberDrag() { draggedRow_ = currentRow(); }
    int DraggedRow() const { return draggedRow_; }
    void ForgetDrag() { draggedRow_ = -1; }

protected:
    void startDrag(Qt::DropActions actions) override;

private:
    int draggedRow_ = -1;
};

// The whole level at one pixel per cell; a click scrolls the grid there.
class TMiniMap : public QWidget {
    Q_OBJECT

public:
    explicit TMiniMap(QWidget* parent = nullptr);
    void SetImage(const QImage& image);
    const QImage& Image() const { return image_; }

signals:
    void clicked(const QPoint& pointer);

protected:
    void paintEvent(QPaintEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;

private:
    QImage image_;
    QPoint pointer_;
};

// Copies of the rooms one map step changes, each taken once from the world
// and edited; the document then sets them all as one step.
class TRoomEdits {
public:
    explicit TRoomEdits(const TRoomList& rooms) : rooms_(rooms) {}
    // The copy of room `vnum` (taken on first use); null for no such room.
    TRoom* Edit(int32_t vnum);
    std::vector<TRoom> Take() { return {edits_.begin(), edits_.end()}; }

private:
    const TRoomList& rooms_;
    std::deque<TRoom> edits_; // a deque: copies stay where they are as more come
};

class TMapPage : public QWidget {
    Q_OBJECT

public:
    TMapPage(TEditorContext& main, TRoomPage& room, QWidget* parent);

    TMapDrawGrid* MapDrawGrid;
    TMapRoomsListBox* MapRoomsListBox;
    QCheckBox* MapAutoLinkCheckBox;
    QLabel* MapXLabel;
    QLabel* MapYLabel;
    QLabel* MapZLabel;
    QPushButton* DecZBtn;
    QPushButton* IncZBtn;
    QLabel* MapRoomPanel;
    QFrame* MiniMapPanel;
    TMiniMap* MiniMapImage;
    QPushButton* R_DelFromMapBtn;
    QPushButton* R_UnlinkFromMapBtn; // "Убрать и разорвать выходы"
    QPushButton* MapLayoutBtn;       // "Разложить по выходам"
    QToolButton* MapLegendBtn;       // "Легенда": the sectors' colours and the marks
    // The context menu of a room: "Новая комната" (MapNewRoomMenu, a
    // submenu a direction, MapNewRoom0..5, an entry a template), "Удалить
    // выход" (MapDelExitMenu, an entry an exit), "Открыть комнату" and "Где
    // используется".
    QMenu* MapRoomMenu;
    QMenu* MapNewRoomMenu;
    QMenu* MapDelExitMenu;

    int Level() const { return level_; }
    // Shows level z (1..9): the label always, the minimap and grid with a zone.
    void SetLevel(int z);
    // The grid and the unplaced rooms of a zone shown (-1: none).
    void ShowZone(int32_t zone);
    // After a step, an undo or a redo that touched the rooms of the zone
    // shown: the grid, the unplaced rooms, the minimap and the cell labels
    // follow. Rooms taken off the map head the list of unplaced rooms, new
    // rooms come last, the rest keep their order.
    void Follow(const TWorldChange& change);
    // The rooms of the zone shown that have no place on the map, as listed.
    const std::vector<TListEntry>& UnplacedRooms() const { return unplaced_; }
    // The list of unplaced rooms refilled, and a redraw.
    void Refresh();
    void RedrawMiniMap();

    // A drop of the remembered entry at a viewport position of the grid.
    void DropAt(const QPoint& pos);
    // Takes the shown room off the map (after asking): its position only,
    // or with `unlink` its exits and the ways back to it too.
    void RemoveChosenRoom(bool unlink = false);
    // The room of cell `from` moves to the free cell `to` of the level shown,
    // and with it, when it is selected, every room selected, each by the same
    // offset (from an empty cell, the selection alone); their exits stay as
    // they are. Refused (nothing moves) when a cell is taken by a room that
    // stays or lies beyond the map's edge.
    void MoveRoom(TMapCell from, TMapCell to);
    // The rooms selected on the level shown.
    const std::set<int32_t>& SelectedRooms() const { return selected_; }
    // The rooms of the cells from `first` to `last` selected as `how` says.
    void SelectCells(TMapCell first, TMapCell last, TMapSelect how);
    // A new room, from template `templet` (-1: none), in the cell beside
    // room `vnum` in `direction`, the two linked both ways: one step.
    void NewRoomToward(int32_t vnum, int direction, int templet);
    // Deletes the exit of room `vnum` in `direction` after asking, and the
    // way back with it when the target leads back: one step.
    void DeleteExit(int32_t vnum, int direction);
    // The room of cell `from` gets an exit in `direction` to the room of cell
    // `to`, and that room one back unless `oneWay`; an exit there to another
    // room is replaced only after asking.
    void LinkRooms(TMapCell from, int direction, TMapCell to, bool oneWay);
    // Places the unplaced rooms on free cells of the current level.
    void PlaceUnplacedRooms();
    // Lays out the open zone's rooms from their exits: the unplaced ones
    // around those placed, or all of them again; then the map is redrawn.
    // One step that changes only the rooms' positions.
    void LayOutFromExits(bool all);

private:
    void BuildControls();
    void Connect();
    std::optional<int32_t> CurrentZone() const;
    // The room of a cell of the current level (or of `level`), when it exists.
    TRoom* RoomAt(int column, int row) const { return RoomAt(column, row, level_); }
    TRoom* RoomAt(int column, int row, int level) const;
    // The cell beside a placed room in `direction` (a level up or down for
    // those), when it is on the map and free.
    std::optional<std::array<int, 3>> FreeCellToward(const TRoom& room, int direction) const;
    void ShowRoomMenu(TMapCell cell, const QPoint& globalPos);
    void FillNewRoomMenu(const TRoom& room);
    void FillDeleteExitMenu(const TRoom& room);
    // Exit lines, arrows and stubs over the painted cells.
    void DrawExitsOver(QPainter& painter, const QRect& cells) const;
    void DrawCell(QPainter& painter, const QRect& rect, int column, int row) const;
    // The room's number, name, sector, exits and what the zone places in it.
    QString CellToolTip(int column, int row) const;
    TExitLook ExitLookOf(const TRoom& room, int direction) const;
    TExitLooks ExitLooks(const TRoom& room) const;
    // The looks of a room of the level shown, as last worked out for its cell.
    const TExitLooks& PaintedLooks(const TRoom& room) const;
    // A double click on a room with an exit into another zone opens that
    // zone on the room the exit leads to (asking which, for several).
    void FollowExitOut(int column, int row);
    void LoadSectors();
    void Hover(int column, int row);
    void CellChosen(int column, int row);
    // The room shown on the page, when it exists.
    TRoom* ShownRoom() const;
    void MoveToShownRoom();
    void MoveTo(const TRoom& room);
    void MiniMapClick(const QPoint& pointer);
    // The edited rooms set as one step of the document on the room page (on
    // room `vnum`, else the room shown).
    void Step(const QString& text, std::optional<int32_t> vnum, TRoomEdits& edits);
    // The room's position: a cell of the level shown.
    void PlaceAt(TRoom& room, int column, int row) const;
    // Two-way exits between the room and its placed neighbours.
    void AutoLink(TRoomEdits& edits, TRoom& room, int column, int row) const;
    void Unlink(TRoomEdits& edits, TRoom& room) const;
    void Rename(int32_t vnum, const QString& entry);
    // "Разложить по выходам": asks whether the placed rooms go too.
    void LayOutClicked();

    TEditorContext& main_;
    TRoomPage& room_;
    // The rooms of the zone shown that have no place on the map, in the
    // order the list shows them.
    std::vector<TListEntry> unplaced_;
    TRoomCellPainter cells_;
    // The sectors' names, for the legend and the tooltips.
    std::vector<TSectorName> sectors_;
    TExitMarks exitMarks_;
    // The looks of the exits of each cell of the level shown, worked out when
    // first painted (each asks for other rooms) and forgotten on every change
    // of the document, of the zone or of the level.
    mutable std::vector<std::optional<TExitLooks>> painted_;
    // The room whose context menu was opened last.
    int32_t menuRoom_ = 0;
    // The rooms selected, by number; they stay selected while they move.
    std::set<int32_t> selected_;
    int level_ = 3;
    bool moving_ = false; // the grid's current cell is being moved back
};
