#include "mapcells.h"

#include "room.h"
#include "textcodec.h"

#include <QFont>
#include <QFontMetrics>
#include <QMenu>
#include <QPainter>
#include <QPixmap>
#include <QPolygon>
#include <array>

namespace {

// By sector code: inside, city, field, forest, hills, mountains, shallow
// water, deep water, air, under water, swamp, road, desert, snow. Light
// enough for the tile's edges and black text to stay readable.
const std::array<QColor, 14> kSectorColours = {{
    {200, 196, 188},
    {214, 214, 214},
    {206, 232, 160},
    {142, 196, 120},
    {214, 198, 140},
    {180, 150, 120},
    {170, 214, 240},
    {110, 160, 226},
    {226, 240, 252},
    {90, 120, 200},
    {160, 170, 110},
    {236, 220, 176},
    {244, 228, 140},
    {248, 250, 255},
}};

// Where each of the four side exits leaves the tile (the tile is 16 x 16 at
// the usual zoom; the gap is 6 wide from 5), by direction north, east,
// south, west.
QRectF DoorBar(const QRect& rect, int direction) {
    const double unit = rect.width() / 16.0;
    const double from = 5 * unit, width = 6 * unit, thick = std::max(1.5, 1.5 * unit);
    switch (direction) {
    case DirNorth:
        return {rect.left() + from, rect.top() + 0.0, width, thick};
    case DirSouth:
        return {rect.left() + from, rect.bottom() + 1 - thick, width, thick};
    case DirWest:
        return {rect.left() + 0.0, rect.top() + from, thick, width};
    default: // east
        return {rect.right() + 1 - thick, rect.top() + from, thick, width};
    }
}

const QColor kTriggerMark(150, 40, 170);
const QColor kMobMark(200, 30, 30);
const QColor kObjectMark(20, 130, 40);
const QColor kDoorColour(120, 60, 0);

} // namespace

QColor ExitColour(TExitLook look) {
    switch (look) {
    case TExitLook::OneWay:
        return {250, 210, 40};
    case TExitLook::Away:
        return {40, 110, 230};
    case TExitLook::OtherZone:
        return {240, 130, 20};
    case TExitLook::Broken:
        return {220, 20, 20};
    default:
        return Qt::white;
    }
}

QColor SectorColour(int sector) {
    if (sector < 0 || sector >= static_cast<int>(kSectorColours.size()))
        return {192, 192, 192};
    return kSectorColours[static_cast<size_t>(sector)];
}

void FillLegend(QMenu& menu, const std::vector<TSectorName>& sectors) {
    menu.clear();
    // Entries that do nothing when chosen; enabled, so their colours show.
    const auto entry = [&menu](const QColor& colour, const QString& text) {
        QPixmap swatch(14, 14);
        swatch.fill(colour);
        menu.addAction(QIcon(swatch), text);
    };
    for (const TSectorName& sector : sectors)
        entry(SectorColour(sector.Code), sector.Name);
    menu.addSeparator();
    entry(kTriggerMark, QStringLiteral("Есть триггеры"));
    entry(kMobMark, QStringLiteral("Стоят мобы"));
    entry(kObjectMark, QStringLiteral("Лежат объекты"));
    entry(kDoorColour, QStringLiteral("Дверь на выходе"));
    menu.addSeparator();
    entry(ExitColour(TExitLook::OneWay), QStringLiteral("Выход в одну сторону"));
    entry(ExitColour(TExitLook::Away), QStringLiteral("Выход не в соседнюю клетку"));
    entry(ExitColour(TExitLook::OtherZone),
          QStringLiteral("Выход в другую зону (двойной щелчок — перейти)"));
    entry(ExitColour(TExitLook::Broken), QStringLiteral("Выход в несуществующую комнату"));
}

void TRoomCellPainter::Paint(QPainter& painter, const QRect& rect, const TRoom& room,
                             const TExitLooks& exits, bool shown) const {
    const QColor sector = SectorColour(room.Sector);
    painter.fillRect(rect,
                     shown ? QColor(255 - sector.red(), 255 - sector.green(), 255 - sector.blue())
                           : sector);
    if (rect.width() >= kNumberPitch) {
        PaintFrame(painter, rect, exits, shown);
    } else {
        // The small tiles, scaled to the zoom.
        const int mask = ExitMask(room);
        painter.drawImage(rect, shown ? tiles_.Inverted(mask) : tiles_.Image(mask));
        PaintExitGaps(painter, rect, exits);
    }
    PaintDoors(painter, rect, room, shown);
    if (rect.width() >= 13)
        PaintMarks(painter, rect, room);
    if (rect.width() >= kNumberPitch)
        PaintText(painter, rect, room, shown);
}

void TRoomCellPainter::PaintExitGaps(QPainter& painter, const QRect& rect,
                                     const TExitLooks& exits) const {
    for (const int direction : {DirNorth, DirEast, DirSouth, DirWest}) {
        const TExitLook look = exits[static_cast<size_t>(direction)];
        if (look != TExitLook::None && look != TExitLook::TwoWay)
            painter.fillRect(DoorBar(rect, direction), ExitColour(look));
    }
}

void TRoomCellPainter::PaintFrame(QPainter& painter, const QRect& rect, const TExitLooks& exits,
                                  bool shown) const {
    // Drawn at the cell's own size, so the lines stay one pixel thin: the
    // outline, a gap where a side exit leaves, triangles for up and down at
    // the right edge.
    const QColor line = shown ? Qt::white : QColor(80, 80, 80);
    painter.setPen(line);
    painter.setBrush(Qt::NoBrush);
    painter.drawRect(rect.adjusted(0, 0, -1, -1));
    for (const int direction : {DirNorth, DirEast, DirSouth, DirWest})
        if (exits[static_cast<size_t>(direction)] != TExitLook::None)
            painter.fillRect(DoorBar(rect, direction),
                             ExitColour(exits[static_cast<size_t>(direction)]));
    const int size = std::max(4, rect.width() / 8);
    const int x = rect.right() - size - 2;
    painter.setPen(Qt::NoPen);
    const auto triangleColour = [shown](TExitLook look) -> QColor {
        if (look == TExitLook::TwoWay || look == TExitLook::OneWay)
            return shown ? Qt::white : Qt::black;
        return ExitColour(look);
    };
    if (exits[DirUp] != TExitLook::None) {
        const int y = rect.top() + rect.height() / 2 - size - 1;
        painter.setBrush(triangleColour(exits[DirUp]));
        painter.drawPolygon(
            QPolygon({QPoint(x + size / 2, y), QPoint(x + size, y + size), QPoint(x, y + size)}));
    }
    if (exits[DirDown] != TExitLook::None) {
        const int y = rect.top() + rect.height() / 2 + 1;
        painter.setBrush(triangleColour(exits[DirDown]));
        painter.drawPolygon(
            QPolygon({QPoint(x, y), QPoint(x + size, y), QPoint(x + size / 2, y + size)}));
    }
}

void TRoomCellPainter::PaintDoors(QPainter& painter, const QRect& rect, const TRoom& room,
                                  bool shown) const {
    for (const int direction : {DirNorth, DirEast, DirSouth, DirWest}) {
        const TExit& exit = room.Exits[static_cast<size_t>(direction)];
        if (exit.ToRoom != 0 && exit.DoorFlags != 0)
            painter.fillRect(DoorBar(rect, direction), shown ? QColor(255, 200, 120) : kDoorColour);
    }
}

void TRoomCellPainter::PaintMarks(QPainter& painter, const QRect& rect, const TRoom& room) const {
    // Small squares in three corners: triggers top left, mobs top right,
    // objects bottom left; letters beside them once the cell is large.
    const int size = std::max(2, rect.width() / 7);
    const int inset = std::max(2, rect.width() / 8);
    struct TMark {
        bool Present;
        QPoint At;
        QColor Colour;
    };
    const std::array<TMark, 3> marks = {{
        {!room.Triggers.empty(), {rect.left() + inset, rect.top() + inset}, kTriggerMark},
        {!room.Mobs.empty(), {rect.right() - inset - size + 1, rect.top() + inset}, kMobMark},
        {!room.Objects.empty(),
         {rect.left() + inset, rect.bottom() - inset - size + 1},
         kObjectMark},
    }};
    for (const TMark& mark : marks)
        if (mark.Present)
            painter.fillRect(QRect(mark.At, QSize(size, size)), mark.Colour);
}

void TRoomCellPainter::PaintText(QPainter& painter, const QRect& rect, const TRoom& room,
                                 bool shown) const {
    // Clear of the marks at the left and the triangles at the right.
    const int inset = std::max(2, rect.width() / 10);
    const int side = std::max(4, rect.width() / 8) + 3;
    const QRect inner = rect.adjusted(side, inset, -side, -inset);
    QFont font = painter.font();
    font.setPixelSize(std::max(7, rect.height() / 6));
    painter.setFont(font);
    painter.setPen(shown ? Qt::white : Qt::black);
    const QFontMetrics metrics(font);
    const QString number = QString::number(room.VNum);
    // The number fits the cell, keeping its last digits (the room's place in
    // its zone) when the whole does not.
    painter.drawText(inner, Qt::AlignHCenter | Qt::AlignTop,
                     metrics.elidedText(number, Qt::ElideLeft, inner.width()));
    if (rect.width() < kNamePitch)
        return;
    // Two lines of the name at most: whole words while they fit, the last
    // line cut short where the cell ends.
    const QRect nameBox = inner.adjusted(0, metrics.height(), 0, 0);
    QStringList rows{QString()};
    for (const QString& word : FromCp1251(room.Name).split(QLatin1Char(' '), Qt::SkipEmptyParts)) {
        const QString longer = rows.back().isEmpty() ? word : rows.back() + QLatin1Char(' ') + word;
        if (metrics.horizontalAdvance(longer) <= nameBox.width() || rows.back().isEmpty())
            rows.back() = longer;
        else if (rows.size() < 2)
            rows.append(word);
        else {
            rows.back() = longer; // elided below
            break;
        }
    }
    for (int i = 0; i < rows.size() && (i + 1) * metrics.height() <= nameBox.height(); ++i)
        painter.drawText(nameBox.adjusted(0, i * metrics.height(), 0, 0),
                         Qt::AlignHCenter | Qt::AlignTop,
                         metrics.elidedText(rows[i], Qt::ElideRight, nameBox.width()));
}
