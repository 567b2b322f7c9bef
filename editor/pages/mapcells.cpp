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
#include <cmath>

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
    entry(ExitColour(TExitLook::OneWay), QStringLiteral("Выход в одну сторону (стрелка)"));
    entry(ExitColour(TExitLook::Away),
          QStringLiteral("Выход не в соседнюю клетку (линия или метка с номером)"));
    entry(
        ExitColour(TExitLook::OtherZone),
        QStringLiteral("Выход в другую зону (метка с комнатой и зоной; двойной щелчок — перейти)"));
    entry(ExitColour(TExitLook::Broken),
          QStringLiteral("Выход в комнату 0 или в несуществующую комнату"));
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
        if (look == TExitLook::TwoWay)
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

const TRoomCellPainter::TTextLayout&
TRoomCellPainter::LayoutOf(const QRect& rect, const TRoom& room, const QFont& base) const {
    // Rooms painted long ago (other zones, deleted rooms) do not pile up.
    constexpr size_t kKeptLayouts = 4096;
    if (layouts_.size() >= kKeptLayouts && !layouts_.contains(room.VNum))
        layouts_.clear();
    TTextLayout& layout = layouts_[room.VNum];
    if (layout.Cell == rect.size() && layout.Name == room.Name && !layout.Lines.empty())
        return layout;
    layout.Name = room.Name;
    layout.Cell = rect.size();
    layout.Lines.clear();
    // Clear of the marks at the left and the triangles at the right.
    const QRect cell(QPoint(0, 0), rect.size());
    const int inset = std::max(2, rect.width() / 10);
    const int side = std::max(4, rect.width() / 8) + 3;
    const QRect inner = cell.adjusted(side, inset, -side, -inset);
    layout.Font = base;
    layout.Font.setPixelSize(std::max(7, rect.height() / 6));
    const QFontMetrics metrics(layout.Font);
    const auto line = [&](const QString& text, int top) {
        QStaticText prepared(text);
        prepared.setTextFormat(Qt::PlainText);
        prepared.prepare(QTransform(), layout.Font);
        const int left = inner.left() + (inner.width() - metrics.horizontalAdvance(text)) / 2;
        layout.Lines.emplace_back(QPoint(left, top), std::move(prepared));
    };
    // The number fits the cell, keeping its last digits (the room's place in
    // its zone) when the whole does not.
    line(metrics.elidedText(QString::number(room.VNum), Qt::ElideLeft, inner.width()), inner.top());
    if (rect.width() < kNamePitch)
        return layout;
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
        line(metrics.elidedText(rows[i], Qt::ElideRight, nameBox.width()),
             nameBox.top() + i * metrics.height());
    return layout;
}

void TRoomCellPainter::PaintText(QPainter& painter, const QRect& rect, const TRoom& room,
                                 bool shown) const {
    const TTextLayout& layout = LayoutOf(rect, room, painter.font());
    painter.setFont(layout.Font);
    painter.setPen(shown ? Qt::white : Qt::black);
    for (const auto& [at, text] : layout.Lines)
        painter.drawStaticText(rect.topLeft() + at, text);
}

// ---- the marks over the cells ----

namespace {

// The middle of a cell's edge toward `direction` (up and down: the right
// edge's upper and lower corners, where the tile's triangles are), and the
// way out of the cell from there.
std::pair<QPointF, QPointF> EdgeOut(const QRect& cell, int direction) {
    const double x = cell.left(), y = cell.top(), w = cell.width(), h = cell.height();
    switch (direction) {
    case DirNorth:
        return {{x + w / 2, y - 0.5}, {0, -1}};
    case DirSouth:
        return {{x + w / 2, y + h + 0.5}, {0, 1}};
    case DirWest:
        return {{x - 0.5, y + h / 2}, {-1, 0}};
    case DirEast:
        return {{x + w + 0.5, y + h / 2}, {1, 0}};
    case DirUp:
        return {{x + w - 1, y}, {0.7, -0.7}};
    default: // down
        return {{x + w - 1, y + h}, {0.7, 0.7}};
    }
}

void FillTriangle(QPainter& painter, const QPointF& tip, const QPointF& way, double size,
                  const QColor& colour) {
    const QPointF across(-way.y(), way.x());
    const QPointF base = tip - way * size;
    const QPolygonF triangle({tip, base + across * (size * 0.6), base - across * (size * 0.6)});
    painter.setPen(QPen(QColor(60, 60, 60), 1));
    painter.setBrush(colour);
    painter.drawPolygon(triangle);
}

} // namespace

void TExitMarks::Paint(QPainter& painter, const TExitMark& mark) const {
    painter.save();
    painter.setRenderHint(QPainter::Antialiasing);
    if (mark.Look == TExitLook::OneWay)
        PaintArrow(painter, mark);
    else if (mark.To)
        PaintLine(painter, mark);
    else
        PaintStub(painter, mark);
    painter.restore();
}

void TExitMarks::PaintArrow(QPainter& painter, const TExitMark& mark) const {
    if (mark.Direction == DirUp || mark.Direction == DirDown)
        return; // the tile's triangle has the one way colour
    // Across the grid line, pointing into the neighbour that does not lead back.
    const auto [edge, way] = EdgeOut(mark.From, mark.Direction);
    const double size = std::max(3.0, mark.From.width() / 6.0);
    FillTriangle(painter, edge + way * (size * 0.6), way, size, ExitColour(TExitLook::OneWay));
}

void TExitMarks::PaintLine(QPainter& painter, const TExitMark& mark) const {
    const QPointF from = EdgeOut(mark.From, mark.Direction).first;
    // The line ends at the target cell's border, leaving its text readable.
    const QRectF target(*mark.To);
    const QPointF centre = target.center();
    const QPointF away = from - centre;
    const double scale =
        std::min(std::abs(away.x()) > 0 ? target.width() / 2 / std::abs(away.x()) : 1e9,
                 std::abs(away.y()) > 0 ? target.height() / 2 / std::abs(away.y()) : 1e9);
    const QPointF to = scale < 1 ? centre + away * scale : centre;
    painter.setPen(
        QPen(ExitColour(TExitLook::Away), std::max(1.0, mark.From.width() / 24.0), Qt::DashLine));
    painter.drawLine(from, to);
    const double length = std::hypot(to.x() - from.x(), to.y() - from.y());
    if (mark.Arrowhead && length > 1)
        FillTriangle(painter, to, (to - from) / length, std::max(4.0, mark.From.width() / 6.0),
                     ExitColour(TExitLook::Away));
}

void TExitMarks::PaintStub(QPainter& painter, const TExitMark& mark) const {
    const auto [edge, way] = EdgeOut(mark.From, mark.Direction);
    const QColor colour = ExitColour(mark.Look);
    const double reach = std::max(3.0, mark.From.width() / 5.0);
    painter.setPen(QPen(colour, std::max(2.0, mark.From.width() / 16.0)));
    painter.drawLine(edge - way * 2.0, edge + way * reach);
    if (mark.From.width() < kLabelPitch || mark.Label.isEmpty())
        return;
    // The label hangs at the stub's end, half over the neighbour's cell.
    QFont font = painter.font();
    font.setPixelSize(std::max(8, mark.From.height() / 7));
    painter.setFont(font);
    const QFontMetrics metrics(font);
    const QSizeF size(metrics.horizontalAdvance(mark.Label) + 4, metrics.height());
    const QPointF end = edge + way * reach;
    QRectF box(QPointF(end.x() - size.width() / 2, end.y() - size.height() / 2), size);
    painter.setPen(QPen(colour, 1));
    painter.setBrush(QColor(255, 255, 255, 230));
    painter.drawRoundedRect(box, 2, 2);
    painter.setPen(mark.Look == TExitLook::Broken ? colour.darker(130) : QColor(Qt::black));
    painter.drawText(box, Qt::AlignCenter, mark.Label);
}
