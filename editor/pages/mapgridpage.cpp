#include "mapgridpage.h"

#include <QWheelEvent>
#include <algorithm>
#include <array>

#include "room.h"

#include <QContextMenuEvent>
#include <QDragEnterEvent>
#include <QDropEvent>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPaintEvent>
#include <QPainter>
#include <QPolygon>
#include <QScrollBar>
#include <QToolTip>

namespace {

constexpr int kMaskNorth = 1;
constexpr int kMaskSouth = 2;
constexpr int kMaskWest = 4;
constexpr int kMaskEast = 8;
constexpr int kMaskUp = 16;
constexpr int kMaskDown = 32;

const QColor kLight(255, 255, 255);
const QColor kShadow(80, 80, 80);
const QColor kGap(255, 255, 255);
const QColor kGridLine(210, 210, 210);

// A raised tile inside a dark outline: light upper and left inner edges,
// dark lower and right ones; an exit cuts a white gap through the middle of
// its edge, up and down are triangles on its face.
QImage DrawTile(int mask) {
    constexpr int s = TMapCellImages::kSize;
    // The face is left clear: the map fills it with the room's sector colour.
    QImage image(s, s, QImage::Format_ARGB32);
    image.fill(Qt::transparent);
    QPainter painter(&image);
    painter.setPen(kShadow);
    painter.drawRect(0, 0, s - 1, s - 1);
    painter.setPen(kLight);
    painter.drawLine(1, 1, s - 2, 1);
    painter.drawLine(1, 1, 1, s - 2);
    painter.setPen(kShadow);
    painter.drawLine(1, s - 2, s - 2, s - 2);
    painter.drawLine(s - 2, 1, s - 2, s - 2);
    constexpr int from = 5;
    constexpr int width = 6;
    if (mask & kMaskNorth)
        painter.fillRect(from, 0, width, 2, kGap);
    if (mask & kMaskSouth)
        painter.fillRect(from, s - 2, width, 2, kGap);
    if (mask & kMaskWest)
        painter.fillRect(0, from, 2, width, kGap);
    if (mask & kMaskEast)
        painter.fillRect(s - 2, from, 2, width, kGap);
    painter.setPen(Qt::NoPen);
    painter.setBrush(Qt::black);
    if (mask & kMaskUp)
        painter.drawPolygon(QPolygon({QPoint(8, 3), QPoint(11, 7), QPoint(5, 7)}));
    if (mask & kMaskDown)
        painter.drawPolygon(QPolygon({QPoint(5, 9), QPoint(11, 9), QPoint(8, 13)}));
    return image;
}

} // namespace

TMapCellImages::TMapCellImages() {
    for (int k = 0; k < kCount; ++k) {
        images_[static_cast<size_t>(k)] = DrawTile(k);
        QImage inverted = images_[static_cast<size_t>(k)];
        inverted.invertPixels(QImage::InvertRgb); // the clear face stays clear
        inverted_[static_cast<size_t>(k)] = inverted;
    }
}

const QImage& TMapCellImages::Image(int mask) const {
    return images_[static_cast<size_t>(mask & (kCount - 1))];
}

const QImage& TMapCellImages::Inverted(int mask) const {
    return inverted_[static_cast<size_t>(mask & (kCount - 1))];
}

int ExitMask(const TRoom& room) {
    // Bits by direction: north, east, south, west, up, down.
    constexpr std::array<int, DirCount> bits = {kMaskNorth, kMaskEast, kMaskSouth,
                                                kMaskWest,  kMaskUp,   kMaskDown};
    int mask = 0;
    for (int d = 0; d < DirCount; ++d)
        if (room.Exits[static_cast<size_t>(d)].ToRoom != 0)
            mask |= bits[static_cast<size_t>(d)];
    return mask;
}

// ---- the grid ----

TMapDrawGrid::TMapDrawGrid(QWidget* parent) : QAbstractScrollArea(parent) {
    setAcceptDrops(true);
    viewport()->setAcceptDrops(true);
    viewport()->setMouseTracking(true);
    setFocusPolicy(Qt::StrongFocus);
    setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    horizontalScrollBar()->setSingleStep(1);
    verticalScrollBar()->setSingleStep(1);
}

int TMapDrawGrid::LeftColumn() const {
    return horizontalScrollBar()->value();
}

int TMapDrawGrid::TopRow() const {
    return verticalScrollBar()->value();
}

void TMapDrawGrid::ScrollTo(int column, int row) {
    horizontalScrollBar()->setValue(column);
    verticalScrollBar()->setValue(row);
    Repaint();
}

void TMapDrawGrid::UpdateScrollRanges() {
    const int columns = viewport()->width() / pitch_;
    const int rows = viewport()->height() / pitch_;
    horizontalScrollBar()->setRange(0, std::max(0, kCells - columns));
    verticalScrollBar()->setRange(0, std::max(0, kCells - rows));
    horizontalScrollBar()->setPageStep(std::max(1, columns));
    verticalScrollBar()->setPageStep(std::max(1, rows));
}

void TMapDrawGrid::SetCurrentCell(int column, int row) {
    column_ = std::clamp(column, 0, kCells - 1);
    row_ = std::clamp(row, 0, kCells - 1);
    const int columns = std::max(1, viewport()->width() / pitch_);
    const int rows = std::max(1, viewport()->height() / pitch_);
    if (column_ < LeftColumn() || column_ >= LeftColumn() + columns)
        horizontalScrollBar()->setValue(column_ - columns / 2);
    if (row_ < TopRow() || row_ >= TopRow() + rows)
        verticalScrollBar()->setValue(row_ - rows / 2);
    Repaint();
}

std::optional<TMapCell> TMapDrawGrid::CellAt(const QPoint& pos) const {
    if (pos.x() < 0 || pos.y() < 0)
        return std::nullopt;
    const int column = pos.x() / pitch_ + LeftColumn();
    const int row = pos.y() / pitch_ + TopRow();
    if (column >= kCells || row >= kCells)
        return std::nullopt;
    return TMapCell{column, row};
}

QRect TMapDrawGrid::CellRect(int column, int row) const {
    return {(column - LeftColumn()) * pitch_, (row - TopRow()) * pitch_, pitch_ - 1, pitch_ - 1};
}

QRect TMapDrawGrid::CellsIn(const QRect& area) const {
    const int left = std::max(0, area.left() / pitch_ + LeftColumn());
    const int top = std::max(0, area.top() / pitch_ + TopRow());
    const int right = std::min(kCells - 1, area.right() / pitch_ + LeftColumn());
    const int bottom = std::min(kCells - 1, area.bottom() / pitch_ + TopRow());
    return QRect(QPoint(left, top), QPoint(right, bottom));
}

// Only the cells of the exposed area are painted: a menu, a tooltip or a
// window closed over the map uncovers a part of it, not the whole view.
void TMapDrawGrid::paintEvent(QPaintEvent* event) {
    QPainter painter(viewport());
    painter.fillRect(event->rect(), kGridLine);
    const QRect cells = CellsIn(event->rect());
    for (int r = cells.top(); r <= cells.bottom(); ++r)
        for (int c = cells.left(); c <= cells.right(); ++c) {
            const QRect rect = CellRect(c, r);
            painter.fillRect(rect, Qt::white);
            if (DrawCell)
                DrawCell(painter, rect, c, r);
        }
    if (DrawOver)
        DrawOver(painter, cells);
    // The current cell, so the keyboard and the last click can be followed.
    const QRect current = CellRect(column_, row_);
    QPen pen(hasFocus() ? Qt::blue : Qt::darkGray);
    pen.setStyle(Qt::DotLine);
    painter.setPen(pen);
    painter.setBrush(Qt::NoBrush);
    painter.drawRect(current.adjusted(-1, -1, 0, 0));
    PaintDrag(painter, cells);
}

void TMapDrawGrid::PaintDrag(QPainter& painter, const QRect& cells) {
    if (!pressed_ || !dragTarget_)
        return;
    painter.setBrush(Qt::NoBrush);
    const QRect target = CellRect(dragTarget_->Column, dragTarget_->Row);
    if (banding_) {
        QPen band(Qt::blue, 1, Qt::DashLine);
        painter.setPen(band);
        painter.drawRect(
            CellRect(pressed_->Column, pressed_->Row).united(target).adjusted(-1, -1, 0, 0));
        return;
    }
    painter.setPen(QPen(Qt::blue, 2));
    if (pressedEdge_) { // the exit being drawn
        painter.drawRect(target.adjusted(-1, -1, 0, 0));
        painter.drawLine(CellRect(pressed_->Column, pressed_->Row).center(), target.center());
        return;
    }
    if (!IsSelected(*pressed_)) {
        painter.drawRect(target.adjusted(-1, -1, 0, 0));
        return;
    }
    // The whole selection goes along: each cell it would take is framed.
    const int dx = dragTarget_->Column - pressed_->Column;
    const int dy = dragTarget_->Row - pressed_->Row;
    for (int r = cells.top(); r <= cells.bottom(); ++r)
        for (int c = cells.left(); c <= cells.right(); ++c)
            if (IsSelected({c - dx, r - dy}))
                painter.drawRect(CellRect(c, r).adjusted(-1, -1, 0, 0));
}

QSize TMapDrawGrid::VisibleCells() const {
    return {std::min(kCells, viewport()->width() / pitch_),
            std::min(kCells, viewport()->height() / pitch_)};
}

void TMapDrawGrid::Zoom(int steps) {
    const auto at = std::find(kPitches.begin(), kPitches.end(), pitch_);
    const int index = std::clamp(static_cast<int>(at - kPitches.begin()) + steps, 0,
                                 static_cast<int>(kPitches.size()) - 1);
    if (kPitches[static_cast<size_t>(index)] == pitch_)
        return;
    pitch_ = kPitches[static_cast<size_t>(index)];
    UpdateScrollRanges();
    // The current cell stays in the middle of the view.
    const QSize cells = VisibleCells();
    ScrollTo(column_ - cells.width() / 2, row_ - cells.height() / 2);
}

void TMapDrawGrid::wheelEvent(QWheelEvent* event) {
    if (event->modifiers() & Qt::ControlModifier) {
        const int delta = event->angleDelta().y();
        if (delta != 0)
            Zoom(delta > 0 ? 1 : -1);
        event->accept();
        return;
    }
    QAbstractScrollArea::wheelEvent(event);
}

void TMapDrawGrid::resizeEvent(QResizeEvent* event) {
    QAbstractScrollArea::resizeEvent(event);
    UpdateScrollRanges();
}

void TMapDrawGrid::scrollContentsBy(int, int) {
    Repaint();
}

void TMapDrawGrid::Choose(int column, int row) {
    column_ = column;
    row_ = row;
    Repaint();
    emit cellChosen(column, row);
}

void TMapDrawGrid::mousePressEvent(QMouseEvent* event) {
    setFocus();
    if (event->button() != Qt::LeftButton)
        return;
    pressed_ = CellAt(event->position().toPoint());
    dragTarget_.reset();
    pressModifiers_ = event->modifiers();
    banding_ = pressed_ && !IsOccupied(*pressed_);
    pressedEdge_ =
        pressed_ && !banding_ ? EdgeAt(*pressed_, event->position().toPoint()) : std::nullopt;
    if (!pressed_)
        return;
    Choose(pressed_->Column, pressed_->Row);
    // A room pressed without a modifier is the selection now, unless it is
    // one of the rooms selected: a drag then takes them all.
    if (!banding_ && !(pressModifiers_ & (Qt::ShiftModifier | Qt::ControlModifier)) &&
        !IsSelected(*pressed_))
        emit selectAsked(*pressed_, *pressed_, TMapSelect::Replace);
}

void TMapDrawGrid::mouseMoveEvent(QMouseEvent* event) {
    const auto cell = CellAt(event->position().toPoint());
    if (cell)
        emit hovered(cell->Column, cell->Row);
    else
        emit hovered(-1, -1);
    if (banding_ && !cell)
        return; // beyond the grid the band keeps its last cell
    if (pressed_ && (event->buttons() & Qt::LeftButton) && (dragTarget_ || cell != pressed_) &&
        cell != dragTarget_) {
        dragTarget_ = cell;
        Repaint();
    }
}

void TMapDrawGrid::mouseReleaseEvent(QMouseEvent* event) {
    if (event->button() != Qt::LeftButton)
        return;
    const auto from = pressed_;
    const auto edge = pressedEdge_;
    const bool band = banding_;
    const auto to = dragTarget_ ? CellAt(event->position().toPoint()) : std::nullopt;
    const auto last = dragTarget_;
    const bool dragged = dragTarget_.has_value();
    pressed_.reset();
    dragTarget_.reset();
    pressedEdge_.reset();
    banding_ = false;
    Repaint();
    if (!from)
        return;
    const Qt::KeyboardModifiers held = event->modifiers() | pressModifiers_;
    const TMapSelect how = held & Qt::ControlModifier ? TMapSelect::Toggle
                           : held & Qt::ShiftModifier ? TMapSelect::Add
                                                      : TMapSelect::Replace;
    if (band) {
        // A band covers the rooms of its cells; a plain click on an empty
        // cell lets the selection go.
        if (dragged || how == TMapSelect::Replace)
            emit selectAsked(*from, last.value_or(*from),
                             how == TMapSelect::Toggle ? TMapSelect::Add : how);
        return;
    }
    if (!dragged) {
        emit selectAsked(*from, *from, how);
        return;
    }
    if (!to || to == from)
        return;
    if (edge)
        emit linkAsked(*from, *edge, *to, event->modifiers() & Qt::ShiftModifier);
    else
        emit moveAsked(*from, *to);
}

std::optional<int> TMapDrawGrid::EdgeAt(const TMapCell& cell, const QPoint& pos) const {
    const QRect rect = CellRect(cell.Column, cell.Row);
    // A quarter of the cell along each side.
    const int band = rect.width() / 4;
    const std::array<std::pair<int, int>, 4> distances = {{
        {pos.y() - rect.top(), DirNorth},
        {rect.right() - pos.x(), DirEast},
        {rect.bottom() - pos.y(), DirSouth},
        {pos.x() - rect.left(), DirWest},
    }};
    const auto nearest = std::min_element(distances.begin(), distances.end());
    if (nearest->first >= band)
        return std::nullopt;
    return nearest->second;
}

void TMapDrawGrid::mouseDoubleClickEvent(QMouseEvent* event) {
    if (event->button() != Qt::LeftButton)
        return;
    if (const auto cell = CellAt(event->position().toPoint()))
        emit cellDoubleClicked(cell->Column, cell->Row);
}

void TMapDrawGrid::contextMenuEvent(QContextMenuEvent* event) {
    const auto cell = CellAt(event->pos());
    if (!cell || !IsOccupied(*cell))
        return;
    Choose(cell->Column, cell->Row);
    if (!IsSelected(*cell))
        emit selectAsked(*cell, *cell, TMapSelect::Replace);
    emit menuAsked(*cell, event->globalPos());
}

bool TMapDrawGrid::viewportEvent(QEvent* event) {
    if (event->type() != QEvent::ToolTip || !CellToolTip)
        return QAbstractScrollArea::viewportEvent(event);
    const auto* help = static_cast<QHelpEvent*>(event);
    const auto cell = CellAt(help->pos());
    const QString text = cell ? CellToolTip(cell->Column, cell->Row) : QString();
    if (text.isEmpty()) // the grid's own hint, on the zoom
        return QAbstractScrollArea::viewportEvent(event);
    QToolTip::showText(help->globalPos(), text, viewport(), CellRect(cell->Column, cell->Row));
    return true;
}

void TMapDrawGrid::leaveEvent(QEvent* event) {
    QAbstractScrollArea::leaveEvent(event);
    emit hovered(-1, -1);
}

void TMapDrawGrid::keyPressEvent(QKeyEvent* event) {
    int column = column_;
    int row = row_;
    if (event->modifiers() & Qt::ControlModifier) {
        if (event->key() == Qt::Key_Plus || event->key() == Qt::Key_Equal) {
            Zoom(1);
            return;
        }
        if (event->key() == Qt::Key_Minus) {
            Zoom(-1);
            return;
        }
    }
    switch (event->key()) {
    case Qt::Key_Left:
        --column;
        break;
    case Qt::Key_Right:
        ++column;
        break;
    case Qt::Key_Up:
        --row;
        break;
    case Qt::Key_Down:
        ++row;
        break;
    default:
        QAbstractScrollArea::keyPressEvent(event);
        return;
    }
    if (column < 0 || row < 0 || column >= kCells || row >= kCells)
        return;
    if (event->modifiers() & Qt::ControlModifier) {
        emit moveAsked({column_, row_}, {column, row});
        return;
    }
    SetCurrentCell(column, row);
    emit cellChosen(column, row);
}

void TMapDrawGrid::keyReleaseEvent(QKeyEvent* event) {
    if (event->key() == Qt::Key_Backspace || event->key() == Qt::Key_Delete)
        emit removeKeyReleased();
    else
        QAbstractScrollArea::keyReleaseEvent(event);
}

// The grid accepts whatever is dragged over it; the map decides on the drop.
void TMapDrawGrid::dragEnterEvent(QDragEnterEvent* event) {
    event->acceptProposedAction();
}

void TMapDrawGrid::dragMoveEvent(QDragMoveEvent* event) {
    event->acceptProposedAction();
}

void TMapDrawGrid::dropEvent(QDropEvent* event) {
    event->acceptProposedAction();
    emit dropped(event->position().toPoint());
}
