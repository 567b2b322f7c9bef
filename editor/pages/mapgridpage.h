#pragma once

// The room map's owner-drawn grid: 100 x 100 cells of 16 x 16 pixels with
// 1-pixel lines between them, scrolled a cell at a time, and the 64 tile
// images its cells show, one per exit mask.

#include <QAbstractScrollArea>
#include <QImage>
#include <QString>
#include <array>
#include <functional>
#include <optional>

class TRoom;

// The tiles, drawn at start: image k shows the exits of mask k (1 north,
// 2 south, 4 west, 8 east, 16 up, 32 down) as gaps in the edges of a raised
// grey tile and as triangles for up and down.
class TMapCellImages {
public:
    static constexpr int kCount = 64;
    static constexpr int kSize = 16;

    TMapCellImages();
    const QImage& Image(int mask) const;
    // The same tile with every pixel's colour inverted (the room shown on the page).
    const QImage& Inverted(int mask) const;

private:
    std::array<QImage, kCount> images_;
    std::array<QImage, kCount> inverted_;
};

// The exit mask of a room: an exit counts when it leads somewhere.
int ExitMask(const TRoom& room);

struct TMapCell {
    int Column = 0;
    int Row = 0;
    bool operator==(const TMapCell&) const = default;
};

// What a click or a rubber band does to the rooms selected: replaces them,
// adds to them (Shift) or turns each room it covers in or out (Ctrl).
enum class TMapSelect { Replace, Add, Toggle };

class TMapDrawGrid : public QAbstractScrollArea {
    Q_OBJECT

public:
    static constexpr int kCells = 100;
    static constexpr int kPitch = 17; // a cell and its grid line, at the usual zoom
    // The zooms, as the pitch of a cell and its grid line.
    static constexpr std::array<int, 7> kPitches = {9, 13, 17, 25, 33, 49, 65};

    explicit TMapDrawGrid(QWidget* parent = nullptr);

    // Paints one cell's image into its 16 x 16 rectangle (white already).
    std::function<void(QPainter& painter, const QRect& rect, int column, int row)> DrawCell;
    // The tooltip of a cell; none when empty.
    std::function<QString(int column, int row)> CellToolTip;
    // Whether a room stands in a cell: a press there moves it or draws an
    // exit from it, a press elsewhere starts a rubber band.
    std::function<bool(int column, int row)> Occupied;
    // Whether the room of a cell is selected: it is drawn so, and dragging it
    // takes the whole selection along.
    std::function<bool(int column, int row)> Selected;
    // Paints what crosses cells (exit lines, stubs, arrows) over the cells
    // painted, `cells` being the columns and rows painted.
    std::function<void(QPainter& painter, const QRect& cells)> DrawOver;

    int Column() const { return column_; }
    int Row() const { return row_; }
    // Moves the current cell without choosing it and keeps it in view.
    void SetCurrentCell(int column, int row);
    int LeftColumn() const;
    int TopRow() const;
    // The first visible column and row, within the scroll range.
    void ScrollTo(int column, int row);
    // The cell under a viewport position; none outside the 100 x 100 cells.
    std::optional<TMapCell> CellAt(const QPoint& pos) const;
    // The viewport rectangle of a cell's image.
    QRect CellRect(int column, int row) const;
    void Repaint() { viewport()->update(); }
    // The pitch of a cell and its line now (Ctrl + wheel, Ctrl + "+" / "-").
    int Pitch() const { return pitch_; }
    // One step of zoom in (+1) or out (-1), keeping the current cell in view.
    void Zoom(int steps);
    // How many whole cells the viewport shows across and down.
    QSize VisibleCells() const;

signals:
    // A cell was chosen with the mouse or the arrow keys.
    void cellChosen(int column, int row);
    // Backspace or Delete was released over the grid.
    void removeKeyReleased();
    // The cell under the mouse; -1, -1 when none.
    void hovered(int column, int row);
    void dropped(const QPoint& pos);
    // What stands in cell `from` is to move to cell `to`: a press on one cell
    // dragged to another, or Ctrl + an arrow key on the current cell.
    void moveAsked(TMapCell from, TMapCell to);
    void cellDoubleClicked(int column, int row);
    // A press near the `direction` edge of cell `from` (north, east, south,
    // west) dragged to cell `to`: an exit is to lead there; with Shift held
    // at the release, one way only.
    void linkAsked(TMapCell from, int direction, TMapCell to, bool oneWay);
    // The rooms of the cells from `first` to `last` (a click: one cell; a
    // rubber band: its rectangle) are to be selected as `how` says.
    void selectAsked(TMapCell first, TMapCell last, TMapSelect how);
    // The context menu of the room in `cell`, at a global position.
    void menuAsked(TMapCell cell, const QPoint& globalPos);

protected:
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void scrollContentsBy(int dx, int dy) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;
    void contextMenuEvent(QContextMenuEvent* event) override;
    void leaveEvent(QEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void keyReleaseEvent(QKeyEvent* event) override;
    void dragEnterEvent(QDragEnterEvent* event) override;
    void dragMoveEvent(QDragMoveEvent* event) override;
    void dropEvent(QDropEvent* event) override;
    void wheelEvent(QWheelEvent* event) override;
    bool viewportEvent(QEvent* event) override;

private:
    void UpdateScrollRanges();
    void Choose(int column, int row);
    bool IsOccupied(const TMapCell& cell) const {
        return Occupied && Occupied(cell.Column, cell.Row);
    }
    bool IsSelected(const TMapCell& cell) const {
        return Selected && Selected(cell.Column, cell.Row);
    }
    // The frames of a drag under way: the rubber band, the cells a move
    // would take, the exit being drawn.
    void PaintDrag(QPainter& painter, const QRect& cells);
    // The columns and rows whose cells meet a viewport rectangle.
    QRect CellsIn(const QRect& area) const;

    int column_ = 0;
    int row_ = 0;
    // The edge of `cell` a viewport position is near (north, east, south,
    // west), none in the cell's middle.
    std::optional<int> EdgeAt(const TMapCell& cell, const QPoint& pos) const;

    // The cell the left button went down on, and the cell it is dragged over
    // once it has left that one.
    std::optional<TMapCell> pressed_, dragTarget_;
    // The edge the press was near: the drag draws an exit rather than moves.
    std::optional<int> pressedEdge_;
    // The press was on an empty cell: the drag is a rubber band.
    bool banding_ = false;
    Qt::KeyboardModifiers pressModifiers_;
    int pitch_ = kPitch;
};
