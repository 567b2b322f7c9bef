#pragma once

// How a room looks on the map: its tile with the exits, filled with its
// sector's colour, the doors on its exits, marks for its triggers, mobs and
// objects, and at the larger zooms its number and the start of its name.

#include "mapgridpage.h"

#include <QColor>
#include <QString>
#include <array>
#include <vector>

#include "room.h"

class QMenu;
class QPainter;
class QRect;

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

    TMapCellImages tiles_;
};
