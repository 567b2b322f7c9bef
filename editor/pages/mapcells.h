#pragma once

// How a room looks on the map: its tile with the exits, filled with its
// sector's colour, the doors on its exits, marks for its triggers, mobs and
// objects, and at the larger zooms its number and the start of its name.

#include "mapgridpage.h"

#include <QColor>
#include <QString>
#include <vector>

class QMenu;
class QPainter;
class QRect;
class TRoom;

// The colour a sector fills its rooms with (the server's sector codes);
// a sector the table does not know is grey.
QColor SectorColour(int sector);

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
    void Paint(QPainter& painter, const QRect& rect, const TRoom& room, bool shown) const;

private:
    void PaintFrame(QPainter& painter, const QRect& rect, const TRoom& room, bool shown) const;
    void PaintDoors(QPainter& painter, const QRect& rect, const TRoom& room, bool shown) const;
    void PaintMarks(QPainter& painter, const QRect& rect, const TRoom& room) const;
    void PaintText(QPainter& painter, const QRect& rect, const TRoom& room, bool shown) const;

    TMapCellImages tiles_;
};
