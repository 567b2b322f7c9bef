#pragma once

// How a room looks on the map: its tile with the exits, filled with its
// sector's colour, the doors on its exits, marks for its triggers, mobs and
// objects, and at the larger zooms its number and the start of its name.

#include "mapgridpage.h"

#include <QColor>
#include <QRect>
#include <QStaticText>
#include <QString>
#include <array>
#include <optional>
#include <string>
#include <unordered_map>
#include <vector>

#include "room.h"

class QMenu;
class QPainter;

// The colour a sector fills its rooms with (the server's sector codes);
// a sector the table does not know is grey.
QColor SectorColour(int sector);

// How an exit shows: to a neighbour cell that leads back, to one that does
// not (one way), to a room of the zone elsewhere on the map, into another
// zone, or to a room the workspace should hold and does not.
enum class TExitLook { None, TwoWay, OneWay, Away, OtherZone, Broken };
using TExitLooks = std::array<TExitLook, DirCount>;
// The colour of an exit's gap (and of the up and down triangles).
QColor ExitColour(TExitLook look);

// One line of the legend: a sector's code and its name.
struct TSectorName {
    int Code = 0;
    QString Name;
};
// Fills `menu` with one entry per sector: its colour and name.
void FillLegend(QMenu& menu, const std::vector<TSectorName>& sectors);

// What the map draws over its cells for an exit the tile's gap cannot
// tell: an arrow across the edge for one way to the neighbour, a line to the
// target's cell for a room of the zone elsewhere on the level, a stub with a
// label for a target elsewhere (another level, not placed, another zone,
// missing).
struct TExitMark {
    TExitLook Look = TExitLook::None;
    int Direction = 0;
    QRect From;              // the room's cell
    std::optional<QRect> To; // the target's cell: a line is drawn
    bool Arrowhead = false;  // the line leads one way
    QString Label;           // the stub's text
};

class TExitMarks {
public:
    // From this pitch on the stubs carry their labels.
    static constexpr int kLabelPitch = 25;
    void Paint(QPainter& painter, const TExitMark& mark) const;

private:
    void PaintArrow(QPainter& painter, const TExitMark& mark) const;
    void PaintLine(QPainter& painter, const TExitMark& mark) const;
    void PaintStub(QPainter& painter, const TExitMark& mark) const;
};

class TRoomCellPainter {
public:
    // From this pitch on a cell shows the room's number, from the next its name.
    static constexpr int kNumberPitch = 25;
    static constexpr int kNamePitch = 49;

    // Paints `room` into its cell `rect` (white already); `shown`: the room
    // the page shows, drawn inverted.
    void Paint(QPainter& painter, const QRect& rect, const TRoom& room, const TExitLooks& exits,
               bool shown) const;

private:
    void PaintFrame(QPainter& painter, const QRect& rect, const TExitLooks& exits,
                    bool shown) const;
    // The gaps of exits other than two-way ones, in their colours.
    void PaintExitGaps(QPainter& painter, const QRect& rect, const TExitLooks& exits) const;
    void PaintDoors(QPainter& painter, const QRect& rect, const TRoom& room, bool shown) const;
    void PaintMarks(QPainter& painter, const QRect& rect, const TRoom& room) const;
    void PaintText(QPainter& painter, const QRect& rect, const TRoom& room, bool shown) const;

    // A cell's number and name laid out once: painting them again draws
    // the prepared glyphs (a large level at the largest zoom stays smooth).
    struct TTextLayout {
        std::string Name;
        QSize Cell;
        QFont Font;
        std::vector<std::pair<QPoint, QStaticText>> Lines; // from the cell's top left
    };
    const TTextLayout& LayoutOf(const QRect& rect, const TRoom& room, const QFont& base) const;

    TMapCellImages tiles_;
    mutable std::unordered_map<int32_t, TTextLayout> layouts_;
};
