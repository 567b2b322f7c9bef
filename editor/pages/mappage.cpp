#include "mappage.h"
#include "worlddocument.h"

#include "editorcontext.h"
#include "exitlayout.h"
#include "maplayout.h"
#include "pagesupport.h"
#include "prompts.h"
#include "recordpage.h"
#include "roompage.h"
#include "serverrules.h"
#include "textcodec.h"
#include "unparsed.h"
#include "vocabulary.h"
#include "world.h"
#include "zonepage.h"

#include <QAction>
#include <QCheckBox>
#include <QFrame>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QMenu>
#include <QMouseEvent>
#include <QPainter>
#include <QPushButton>
#include <QStyle>
#include <QToolButton>
#include <QVBoxLayout>
#include <algorithm>

namespace {

constexpr int kVisibleCells = 15; // the grid shows 15 x 15 cells at a time
constexpr int kMiniMapSize = 100;

QString EntryText(const TRoom& room) {
    return FromCp1251(TRoomList::EntryOf(room).Text);
}

// The room's file had an exit block in `direction` leading to room 0: it is
// kept as read (under its "D" line) while no exit of ours goes that way.
bool HasExitToRoomZero(const TRoom& room, int direction) {
    return std::any_of(room.KeptExits.begin(), room.KeptExits.end(), [direction](const auto& line) {
        return line.size() >= 2 && line[0] == 'D' && line[1] == '0' + direction;
    });
}

// Each direction's step on the map: columns, rows and levels.
constexpr std::array<std::array<int, 3>, DirCount> kSteps = {
    {{0, -1, 0}, {1, 0, 0}, {0, 1, 0}, {-1, 0, 0}, {0, 0, 1}, {0, 0, -1}}};

} // namespace

// ---- the list of unplaced rooms ----

TMapRoomsListBox::TMapRoomsListBox(QWidget* parent) : QListWidget(parent) {
    setDragEnabled(true);
    setDragDropMode(QAbstractItemView::DragOnly);
    setDefaultDropAction(Qt::CopyAction);
}

void TMapRoomsListBox::startDrag(Qt::DropActions actions) {
    RememberDrag();
    QListWidget::startDrag(actions);
    // A later drag from elsewhere must not place this entry.
    ForgetDrag();
}

// ---- the minimap ----

TMiniMap::TMiniMap(QWidget* parent) : QWidget(parent) {
    setFixedSize(kMiniMapSize, kMiniMapSize);
    setMouseTracking(true);
    setCursor(Qt::PointingHandCursor);
}

void TMiniMap::SetImage(const QImage& image) {
    image_ = image;
    update();
}

void TMiniMap::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    painter.drawImage(0, 0, image_);
}

void TMiniMap::mouseMoveEvent(QMouseEvent* event) {
    const QPoint pos = event->position().toPoint();
    pointer_ = {std::clamp(pos.x(), 0, kMiniMapSize - 1), std::clamp(pos.y(), 0, kMiniMapSize - 1)};
}

void TMiniMap::mousePressEvent(QMouseEvent* event) {
    mouseMoveEvent(event);
    if (event->button() == Qt::LeftButton)
        emit clicked(pointer_);
}

// ---- the map ----

TMapPage::TMapPage(TEditorContext& main, TRoomPage& room, QWidget* parent)
    : QWidget(parent), main_(main), room_(room) {
    setObjectName(QStringLiteral("MapPage"));
    BuildControls();
    Connect();
    LoadSectors();
    Refresh();
}

void TMapPage::BuildControls() {
    MapDrawGrid = new TMapDrawGrid(this);
    MapDrawGrid->setObjectName(QStringLiteral("MapDrawGrid"));
    const int frame = 2 * MapDrawGrid->frameWidth();
    const int bar = MapDrawGrid->style()->pixelMetric(QStyle::PM_ScrollBarExtent);
    const int side = kVisibleCells * TMapDrawGrid::kPitch + frame + bar;
    // The grid takes what room the window gives beyond its usual size.
    MapDrawGrid->setMinimumSize(side, side);
    MapDrawGrid->setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Expanding);
    MapDrawGrid->setToolTip(QStringLiteral("Ctrl + колесо мыши или Ctrl + «+» / «-»: масштаб"));
    MapDrawGrid->DrawCell = [this](QPainter& painter, const QRect& rect, int column, int row) {
        DrawCell(painter, rect, column, row);
    };
    MapDrawGrid->CellToolTip = [this](int column, int row) { return CellToolTip(column, row); };
    MapDrawGrid->Occupied = [this](int column, int row) { return RoomAt(column, row) != nullptr; };
    MapDrawGrid->Selected = [this](int column, int row) {
        const TRoom* room = RoomAt(column, row);
        return room && selected_.contains(room->VNum);
    };
    MapDrawGrid->DrawOver = [this](QPainter& painter, const QRect& cells) {
        DrawExitsOver(painter, cells);
    };
    MapRoomMenu = new QMenu(this);
    MapRoomMenu->setObjectName(QStringLiteral("MapRoomMenu"));
    MapNewRoomMenu = MapRoomMenu->addMenu(QStringLiteral("Новая комната"));
    MapNewRoomMenu->setObjectName(QStringLiteral("MapNewRoomMenu"));
    MapDelExitMenu = MapRoomMenu->addMenu(QStringLiteral("Удалить выход"));
    MapDelExitMenu->setObjectName(QStringLiteral("MapDelExitMenu"));
    QAction* open = MapRoomMenu->addAction(QStringLiteral("Открыть комнату"));
    open->setObjectName(QStringLiteral("MapOpenRoom"));
    connect(open, &QAction::triggered, this,
            [this] { main_.OpenRecord(RoomPageIndex, menuRoom_); });
    QAction* uses = MapRoomMenu->addAction(QStringLiteral("Где используется"));
    uses->setObjectName(QStringLiteral("MapRoomUses"));
    connect(uses, &QAction::triggered, this, [this] { main_.ShowUses(RoomPageIndex, menuRoom_); });

    MapRoomsListBox = new TMapRoomsListBox(this);
    MapRoomsListBox->setObjectName(QStringLiteral("MapRoomsListBox"));
    MapAutoLinkCheckBox = new QCheckBox(QStringLiteral("Автосвязывание"), this);
    MapAutoLinkCheckBox->setObjectName(QStringLiteral("MapAutoLinkCheckBox"));
    MapAutoLinkCheckBox->setChecked(true);
    const auto valueLabel = [this](const char* name) {
        auto* label = new QLabel(this);
        label->setObjectName(QLatin1String(name));
        label->setMinimumWidth(24);
        return label;
    };
    MapXLabel = valueLabel("MapXLabel");
    MapYLabel = valueLabel("MapYLabel");
    MapZLabel = valueLabel("MapZLabel");
    MapZLabel->setText(QString::number(level_));
    DecZBtn = new QPushButton(QStringLiteral("-"), this);
    DecZBtn->setObjectName(QStringLiteral("DecZBtn"));
    IncZBtn = new QPushButton(QStringLiteral("+"), this);
    IncZBtn->setObjectName(QStringLiteral("IncZBtn"));
    for (QPushButton* button : {DecZBtn, IncZBtn})
        button->setFixedWidth(28);
    MapRoomPanel = new QLabel(this);
    MapRoomPanel->setObjectName(QStringLiteral("MapRoomPanel"));
    MapRoomPanel->setFrameShape(QFrame::StyledPanel);
    MapRoomPanel->setMinimumHeight(22);
    MiniMapPanel = new QFrame(this);
    MiniMapPanel->setObjectName(QStringLiteral("MiniMapPanel"));
    MiniMapPanel->setFrameShape(QFrame::Box);
    auto* miniLayout = new QVBoxLayout(MiniMapPanel);
    miniLayout->setContentsMargins(1, 1, 1, 1);
    MiniMapImage = new TMiniMap(MiniMapPanel);
    MiniMapImage->setObjectName(QStringLiteral("MiniMapImage"));
    miniLayout->addWidget(MiniMapImage);
    R_DelFromMapBtn = new QPushButton(QStringLiteral("Убрать комнату с карты"), this);
    R_DelFromMapBtn->setObjectName(QStringLiteral("R_DelFromMapBtn"));
    R_DelFromMapBtn->setToolTip(QStringLiteral("Комната уходит с карты, её выходы остаются"));
    R_UnlinkFromMapBtn = new QPushButton(QStringLiteral("Убрать и разорвать выходы"), this);
    R_UnlinkFromMapBtn->setObjectName(QStringLiteral("R_UnlinkFromMapBtn"));
    R_UnlinkFromMapBtn->setToolTip(
        QStringLiteral("Комната уходит с карты, её выходы и выходы соседей к ней очищаются"));
    MapLayoutBtn = new QPushButton(QStringLiteral("Разложить по выходам"), this);
    MapLayoutBtn->setObjectName(QStringLiteral("MapLayoutBtn"));
    MapLegendBtn = new QToolButton(this);
    MapLegendBtn->setObjectName(QStringLiteral("MapLegendBtn"));
    MapLegendBtn->setText(QStringLiteral("Легенда"));
    MapLegendBtn->setPopupMode(QToolButton::InstantPopup);
    MapLegendBtn->setMenu(new QMenu(MapLegendBtn));

    auto* side_ = new QVBoxLayout;
    side_->addWidget(MiniMapPanel, 0, Qt::AlignLeft);
    auto* cell = new QGridLayout;
    cell->addWidget(new QLabel(QStringLiteral("X:"), this), 0, 0);
    cell->addWidget(MapXLabel, 0, 1);
    cell->addWidget(new QLabel(QStringLiteral("Y:"), this), 1, 0);
    cell->addWidget(MapYLabel, 1, 1);
    cell->addWidget(new QLabel(QStringLiteral("Z:"), this), 2, 0);
    cell->addWidget(MapZLabel, 2, 1);
    cell->addWidget(DecZBtn, 2, 2);
    cell->addWidget(IncZBtn, 2, 3);
    cell->setColumnStretch(4, 1);
    side_->addLayout(cell);
    side_->addWidget(MapAutoLinkCheckBox);
    side_->addWidget(MapLayoutBtn, 0, Qt::AlignLeft);
    side_->addWidget(MapLegendBtn, 0, Qt::AlignLeft);
    side_->addStretch();

    auto* top = new QHBoxLayout;
    top->addWidget(MapDrawGrid, 1);
    top->addLayout(side_);
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(4);
    layout->addLayout(top, 3);
    layout->addWidget(MapRoomPanel);
    layout->addWidget(MapRoomsListBox, 1);
    auto* takeOff = new QHBoxLayout;
    takeOff->addWidget(R_DelFromMapBtn);
    takeOff->addWidget(R_UnlinkFromMapBtn);
    takeOff->addStretch();
    layout->addLayout(takeOff);
}

void TMapPage::Connect() {
    connect(MapDrawGrid, &TMapDrawGrid::cellChosen, this, &TMapPage::CellChosen);
    connect(MapDrawGrid, &TMapDrawGrid::hovered, this, &TMapPage::Hover);
    connect(MapDrawGrid, &TMapDrawGrid::dropped, this, &TMapPage::DropAt);
    connect(MapDrawGrid, &TMapDrawGrid::moveAsked, this, &TMapPage::MoveRoom);
    connect(MapDrawGrid, &TMapDrawGrid::linkAsked, this, &TMapPage::LinkRooms);
    connect(MapDrawGrid, &TMapDrawGrid::cellDoubleClicked, this, &TMapPage::FollowExitOut);
    connect(MapDrawGrid, &TMapDrawGrid::selectAsked, this, &TMapPage::SelectCells);
    connect(MapDrawGrid, &TMapDrawGrid::menuAsked, this, &TMapPage::ShowRoomMenu);
    connect(MapDrawGrid, &TMapDrawGrid::removeKeyReleased, this, [this] { RemoveChosenRoom(); });
    connect(R_DelFromMapBtn, &QPushButton::clicked, this, [this] { RemoveChosenRoom(); });
    connect(R_UnlinkFromMapBtn, &QPushButton::clicked, this, [this] { RemoveChosenRoom(true); });
    connect(MapLayoutBtn, &QPushButton::clicked, this, &TMapPage::LayOutClicked);
    connect(IncZBtn, &QPushButton::clicked, this, [this] {
        if (level_ < kMapLevels)
            SetLevel(level_ + 1);
    });
    connect(DecZBtn, &QPushButton::clicked, this, [this] {
        if (level_ > 1)
            SetLevel(level_ - 1);
    });
    connect(MiniMapImage, &TMiniMap::clicked, this, &TMapPage::MiniMapClick);
    connect(main_.ZonePage, &TZonePage::zoneShown, this, &TMapPage::ShowZone);
    connect(main_.Document, &TWorldDocument::changed, this, [this](const TWorldChange& change) {
        painted_.clear(); // an exit anywhere may lead into this zone
        Follow(change);
    });
    room_.Shown = [this](const TRoom& room) { MoveTo(room); };
    room_.Renamed = [this](int32_t vnum, const QString& entry) { Rename(vnum, entry); };
}

std::optional<int32_t> TMapPage::CurrentZone() const {
    if (const TZone* zone = main_.ZonePage->CurrentZone())
        return zone->ZoneNumber;
    return std::nullopt;
}

// A cell holds a room only while a zone is shown and that room still exists
// and sits there (a deleted room leaves its number in the grid until the zone
// is shown again).
TRoom* TMapPage::RoomAt(int column, int row, int level) const {
    if (!CurrentZone())
        return nullptr;
    const int32_t vnum = main_.World().Map.At(column, row, level);
    if (vnum == -1)
        return nullptr;
    TRoom* room = main_.World().Rooms.Find(vnum);
    if (!room || room->MapLevel != level || room->MapX != column || room->MapY != row)
        return nullptr;
    return room;
}

void TMapPage::ShowZone(int32_t zone) {
    selected_.clear();
    unplaced_ = FillMap(main_.World().Rooms, main_.World().Map, zone);
    Refresh();
}

void TMapPage::Follow(const TWorldChange& change) {
    const auto zone = CurrentZone();
    const TZoneDiff* diff = zone ? change.DiffOf(*zone) : nullptr;
    if (!diff || (diff->Records[RoomListKind].Empty() && !diff->Layout))
        return;
    std::vector<TListEntry> now = FillMap(main_.World().Rooms, main_.World().Map, *zone);
    const auto rank = [this, diff](const TListEntry& entry) {
        const auto was =
            std::find_if(unplaced_.begin(), unplaced_.end(),
                         [&entry](const TListEntry& e) { return e.VNum == entry.VNum; });
        if (was != unplaced_.end())
            return static_cast<long>(was - unplaced_.begin());
        const auto& added = diff->Records[RoomListKind].Added;
        const bool isNew = std::find(added.begin(), added.end(), entry.VNum) != added.end();
        return isNew ? static_cast<long>(unplaced_.size()) : -1L;
    };
    std::stable_sort(now.begin(), now.end(), [&rank](const TListEntry& a, const TListEntry& b) {
        return rank(a) < rank(b);
    });
    unplaced_ = std::move(now);
    // A room deleted or gone to another level is no longer selected.
    std::erase_if(selected_, [this](int32_t vnum) {
        const TRoom* room = main_.World().Rooms.Find(vnum);
        return !room || !IsOnGrid(*room) || room->MapLevel != level_;
    });
    Refresh();
    if (const TRoom* room = ShownRoom(); room && IsOnGrid(*room)) {
        MapXLabel->setText(QString::number(room->MapX));
        MapYLabel->setText(QString::number(room->MapY));
    }
}

void TMapPage::Refresh() {
    painted_.clear();
    MapRoomsListBox->clear();
    for (const TListEntry& entry : unplaced_) {
        auto* item = new QListWidgetItem(FromCp1251(entry.Text), MapRoomsListBox);
        item->setData(Qt::UserRole, entry.VNum);
    }
    RedrawMiniMap();
    MapDrawGrid->Repaint();
}

void TMapPage::SetLevel(int z) {
    z = std::clamp(z, 1, kMapLevels);
    if (!CurrentZone()) {
        level_ = z;
        MapZLabel->setText(QString::number(z));
        return;
    }
    if (z == level_)
        return;
    level_ = z;
    selected_.clear(); // the selection is of the level shown
    painted_.clear();
    MapZLabel->setText(QString::number(z));
    RedrawMiniMap();
    MapDrawGrid->Repaint();
}

void TMapPage::RedrawMiniMap() {
    QImage image(kMiniMapSize, kMiniMapSize, QImage::Format_RGB32);
    image.fill(palette().color(QPalette::Button));
    if (const auto zone = CurrentZone())
        for (const TRoom* room : main_.World().Rooms.ZoneInListOrder(*zone))
            if (room->MapLevel == level_ && room->MapX < kMiniMapSize && room->MapY < kMiniMapSize)
                image.setPixelColor(room->MapX, room->MapY, Qt::black);
    MiniMapImage->SetImage(image);
}

void TMapPage::DrawCell(QPainter& painter, const QRect& rect, int column, int row) const {
    if (!CurrentZone())
        return;
    const TRoom* room = RoomAt(column, row);
    if (!room)
        return;
    cells_.Paint(painter, rect, *room, PaintedLooks(*room), room_.ShownRoom() == room->VNum);
    if (selected_.contains(room->VNum)) {
        painter.fillRect(rect, QColor(40, 110, 230, 70));
        painter.setPen(QPen(QColor(20, 70, 200), 2));
        painter.setBrush(Qt::NoBrush);
        painter.drawRect(rect.adjusted(1, 1, -1, -1));
    }
}

// Only what the tile's gaps cannot tell is drawn over the cells: one way
// exits to a neighbour, exits elsewhere in the zone, into other zones and to
// rooms that are not there. Rooms just outside the cells painted count too:
// their arrows and stubs reach into them.
void TMapPage::DrawExitsOver(QPainter& painter, const QRect& cells) const {
    if (!CurrentZone())
        return;
    const QRect around = cells.adjusted(-1, -1, 1, 1);
    for (int r = around.top(); r <= around.bottom(); ++r)
        for (int c = around.left(); c <= around.right(); ++c) {
            const TRoom* room = RoomAt(c, r);
            if (!room)
                continue;
            const TExitLooks& looks = PaintedLooks(*room);
            for (int d = 0; d < DirCount; ++d) {
                const TExitLook look = looks[static_cast<size_t>(d)];
                if (look == TExitLook::None || look == TExitLook::TwoWay)
                    continue;
                const int32_t to = room->Exits[static_cast<size_t>(d)].ToRoom;
                TExitMark mark{look, d, MapDrawGrid->CellRect(c, r), std::nullopt, false, {}};
                const TRoom* target = main_.World().Rooms.Find(to);
                if (look == TExitLook::Away && target && IsOnGrid(*target) &&
                    target->MapLevel == level_) {
                    const bool back =
                        target->Exits[static_cast<size_t>(ReverseDir(d))].ToRoom == room->VNum;
                    if (back && to < room->VNum)
                        continue; // a pair is one line, drawn from its lower number
                    mark.To = MapDrawGrid->CellRect(target->MapX, target->MapY);
                    mark.Arrowhead = !back;
                } else if (look == TExitLook::OtherZone) {
                    mark.Label = QStringLiteral("%1 (з.%2)").arg(to).arg(ZoneOf(to));
                } else if (look == TExitLook::Broken) {
                    mark.Label = QStringLiteral("%1 !").arg(to);
                } else {
                    mark.Label = QString::number(to);
                }
                exitMarks_.Paint(painter, mark);
            }
        }
}

TExitLook TMapPage::ExitLookOf(const TRoom& room, int direction) const {
    const int32_t to = room.Exits[static_cast<size_t>(direction)].ToRoom;
    if (to == 0)
        return HasExitToRoomZero(room, direction) ? TExitLook::Broken : TExitLook::None;
    const TWorld& world = main_.World();
    const TRoom* target = world.Rooms.Find(to);
    if (ZoneOf(to) != ZoneOf(room.VNum)) {
        // A room of a zone the workspace does not hold may well be on the
        // server; the server makes room NN99 itself.
        const bool known = target || !world.FindZone(ZoneOf(to)) || IsServerRoom(to);
        return known ? TExitLook::OtherZone : TExitLook::Broken;
    }
    if (!target)
        return IsServerRoom(to) ? TExitLook::Away : TExitLook::Broken;
    const auto& step = kSteps[static_cast<size_t>(direction)];
    const bool neighbour =
        IsOnGrid(room) && IsOnGrid(*target) && target->MapX == room.MapX + step[0] &&
        target->MapY == room.MapY + step[1] && target->MapLevel == room.MapLevel + step[2];
    if (!neighbour)
        return TExitLook::Away;
    const bool back = target->Exits[static_cast<size_t>(ReverseDir(direction))].ToRoom == room.VNum;
    return back ? TExitLook::TwoWay : TExitLook::OneWay;
}

const TExitLooks& TMapPage::PaintedLooks(const TRoom& room) const {
    if (painted_.empty())
        painted_.resize(static_cast<size_t>(kMapSize * kMapSize));
    auto& looks = painted_[static_cast<size_t>(room.MapY * kMapSize + room.MapX)];
    if (!looks)
        looks = ExitLooks(room);
    return *looks;
}

TExitLooks TMapPage::ExitLooks(const TRoom& room) const {
    TExitLooks looks{};
    for (int d = 0; d < DirCount; ++d)
        looks[static_cast<size_t>(d)] = ExitLookOf(room, d);
    return looks;
}

void TMapPage::FollowExitOut(int column, int row) {
    const TRoom* room = RoomAt(column, row);
    if (!room)
        return;
    std::vector<int32_t> targets;
    QStringList choices;
    for (int d = 0; d < DirCount; ++d)
        if (ExitLookOf(*room, d) == TExitLook::OtherZone) {
            const int32_t to = room->Exits[static_cast<size_t>(d)].ToRoom;
            targets.push_back(to);
            choices << QStringLiteral("%1: комната %2, зона %3")
                           .arg(FromCp1251(DirectionName(d)))
                           .arg(to)
                           .arg(ZoneOf(to));
        }
    if (targets.empty())
        return;
    size_t chosen = 0;
    if (targets.size() > 1) {
        choices << QStringLiteral("Отмена");
        const int answer = Prompts().Choose(QStringLiteral("Куда перейти?"), choices, 0);
        if (answer < 0 || static_cast<size_t>(answer) >= targets.size())
            return;
        chosen = static_cast<size_t>(answer);
    }
    main_.OpenRecord(RoomPageIndex, targets[chosen]);
}

QString TMapPage::CellToolTip(int column, int row) const {
    const TRoom* room = RoomAt(column, row);
    if (!room)
        return {};
    QString sector = QString::number(room->Sector);
    for (const TSectorName& known : sectors_)
        if (known.Code == room->Sector)
            sector = known.Name;
    QString text = EntryText(*room) + QStringLiteral("\nМестность: ") + sector;
    const auto count = [&text](const char* what, size_t n) {
        if (n > 0)
            text += QStringLiteral("\n") + QString::fromUtf8(what) + QString::number(n);
    };
    for (int d = 0; d < DirCount; ++d) {
        const TExitLook look = ExitLookOf(*room, d);
        if (look == TExitLook::None)
            continue;
        const int32_t to = room->Exits[static_cast<size_t>(d)].ToRoom;
        text += QStringLiteral("\n%1: %2").arg(FromCp1251(DirectionName(d))).arg(to);
        if (look == TExitLook::OneWay)
            text += QStringLiteral(" (в одну сторону)");
        else if (look == TExitLook::Away)
            text += QStringLiteral(" (не соседняя клетка)");
        else if (look == TExitLook::OtherZone)
            text += QStringLiteral(" (зона %1; двойной щелчок — перейти)").arg(ZoneOf(to));
        else if (look == TExitLook::Broken)
            text += QStringLiteral(" (нет такой комнаты)");
    }
    count("Триггеров: ", room->Triggers.size());
    count("Мобов: ", room->Mobs.size());
    count("Объектов: ", room->Objects.size());
    return text;
}

void TMapPage::LoadSectors() {
    LoadListReporting([this] {
        for (const TVocabularyItem& item :
             CodedItems(LoadVocabulary(main_.ProgramFolder, "SectorType"), 0, "SectorType")) {
            // The name alone, without what moving there costs.
            QString name = FromCp1251(item.Text);
            name = name.left(name.indexOf(QLatin1Char('('))).trimmed();
            sectors_.push_back({item.Code, name});
        }
    });
    FillLegend(*MapLegendBtn->menu(), sectors_);
}

void TMapPage::Hover(int column, int row) {
    const TRoom* room = column >= 0 && row >= 0 ? RoomAt(column, row) : nullptr;
    MapRoomPanel->setText(room ? EntryText(*room) : QString());
}

// ---- choosing a cell ----

void TMapPage::CellChosen(int column, int row) {
    // The store confirmation's question is open: the click belongs to no room.
    if (main_.Asking)
        return;
    if (room_.AwaitingExit() >= 0) {
        const TRoom* target = RoomAt(column, row);
        room_.SetAwaitedTarget(target ? target->VNum : 0);
        MoveToShownRoom();
        return;
    }
    if (moving_)
        return;
    MapXLabel->setText(QString::number(column));
    MapYLabel->setText(QString::number(row));
    if (room_.ShowingGuard())
        return;
    const TRoom* room = RoomAt(column, row);
    if (!room)
        return;
    TRecordPage& records = *main_.RecordPage(RoomPageIndex);
    const int entry = records.RowOf(room->VNum);
    if (entry < 0)
        return;
    MapDrawGrid->setEnabled(false);
    records.SelectRow(entry);
    MapDrawGrid->setEnabled(true);
    MapDrawGrid->setFocus();
}

TRoom* TMapPage::ShownRoom() const {
    const auto shown = room_.ShownRoom();
    return shown ? main_.World().Rooms.Find(*shown) : nullptr;
}

void TMapPage::MoveToShownRoom() {
    if (const TRoom* room = ShownRoom(); room && IsOnGrid(*room)) {
        moving_ = true;
        SetLevel(room->MapLevel);
        MapDrawGrid->SetCurrentCell(room->MapX, room->MapY);
        moving_ = false;
    }
    MapDrawGrid->Repaint();
}

// The grid follows the room shown on the page, however it was chosen; its
// cell becomes the chosen one. A room off the grid moves nothing: it is one
// of the unplaced rooms.
void TMapPage::MoveTo(const TRoom& room) {
    if (IsOnGrid(room)) {
        room_.SetShowingGuard(true);
        SetLevel(room.MapLevel);
        MapDrawGrid->SetCurrentCell(room.MapX, room.MapY);
        room_.SetShowingGuard(false);
        MapXLabel->setText(QString::number(room.MapX));
        MapYLabel->setText(QString::number(room.MapY));
    }
    MapDrawGrid->Repaint();
}

void TMapPage::MiniMapClick(const QPoint& pointer) {
    // The clicked cell in the middle of the grid, as far as the grid's edges allow.
    const QSize cells = MapDrawGrid->VisibleCells();
    const auto first = [](int at, int shown) {
        return std::clamp(at - shown / 2, 0, std::max(0, TMapDrawGrid::kCells - shown));
    };
    MapDrawGrid->ScrollTo(first(pointer.x(), cells.width()), first(pointer.y(), cells.height()));
}

// ---- placing and removing rooms ----

TRoom* TRoomEdits::Edit(int32_t vnum) {
    for (TRoom& room : edits_)
        if (room.VNum == vnum)
            return &room;
    const TRoom* stored = rooms_.Find(vnum);
    return stored ? &edits_.emplace_back(*stored) : nullptr;
}

void TMapPage::PlaceAt(TRoom& room, int column, int row) const {
    room.MapX = static_cast<uint8_t>(column);
    room.MapY = static_cast<uint8_t>(row);
    room.MapLevel = static_cast<uint8_t>(level_);
}

void TMapPage::Step(const QString& text, std::optional<int32_t> vnum, TRoomEdits& edits) {
    TStepPlace place = main_.PlaceOn(RoomPageIndex);
    if (vnum)
        place.VNum = vnum;
    main_.Document->SetRooms(place, text, edits.Take());
}

void TMapPage::DropAt(const QPoint& pos) {
    const int dragged = MapRoomsListBox->DraggedRow();
    MapRoomsListBox->ForgetDrag();
    if (dragged < 0 || dragged >= MapRoomsListBox->count() || !CurrentZone())
        return;
    const auto cell = MapDrawGrid->CellAt(pos);
    if (!cell)
        return;
    if (RoomAt(cell->Column, cell->Row)) {
        Prompts().Error(QStringLiteral("Эта клетка уже занята"));
        return;
    }
    const int32_t vnum = MapRoomsListBox->item(dragged)->data(Qt::UserRole).toInt();
    TRoomEdits edits(main_.World().Rooms);
    TRoom* room = edits.Edit(vnum);
    if (!room)
        return;
    PlaceAt(*room, cell->Column, cell->Row);
    if (MapAutoLinkCheckBox->isChecked())
        AutoLink(edits, *room, cell->Column, cell->Row);
    Step(QStringLiteral("перенос комнаты %1").arg(vnum), vnum, edits);
}

void TMapPage::AutoLink(TRoomEdits& edits, TRoom& room, int column, int row) const {
    struct TNeighbour {
        int Column, Row, Level, Direction;
        bool Exists;
    };
    const std::array<TNeighbour, DirCount> neighbours = {{
        {column, row - 1, level_, DirNorth, row > 0},
        {column - 1, row, level_, DirWest, column > 0},
        {column, row + 1, level_, DirSouth, row < kMapSize - 1},
        {column + 1, row, level_, DirEast, column < kMapSize - 1},
        {column, row, level_ - 1, DirDown, level_ > 1},
        {column, row, level_ + 1, DirUp, level_ < kMapLevels},
    }};
    for (const TNeighbour& n : neighbours) {
        if (!n.Exists)
            continue;
        const TRoom* stored =
            main_.World().Rooms.Find(main_.World().Map.At(n.Column, n.Row, n.Level));
        if (!stored || stored->VNum == room.VNum || stored->MapLevel != n.Level ||
            stored->MapX != n.Column || stored->MapY != n.Row)
            continue;
        TRoom* other = edits.Edit(stored->VNum);
        const int back = ReverseDir(n.Direction);
        room.Exits[static_cast<size_t>(n.Direction)] = TExit{};
        room.Exits[static_cast<size_t>(n.Direction)].ToRoom = other->VNum;
        other->Exits[static_cast<size_t>(back)] = TExit{};
        other->Exits[static_cast<size_t>(back)].ToRoom = room.VNum;
    }
}

// The room taken off is the one shown on the page (a click on its cell
// shows it too), so the question can name it and no other room is touched.
void TMapPage::RemoveChosenRoom(bool unlink) {
    const TRoom* shown = ShownRoom();
    if (!shown || !CurrentZone() || !IsOnGrid(*shown))
        return;
    const TListEntry entry = TRoomList::EntryOf(*shown);
    const QString question = unlink ? QStringLiteral("Убрать комнату с карты и разорвать её "
                                                     "выходы и выходы соседей к ней?\n")
                                    : QStringLiteral("Убрать комнату с карты?\n");
    if (!Prompts().Confirm(question + FromCp1251(entry.Text)))
        return;
    TRoomEdits edits(main_.World().Rooms);
    TRoom* room = edits.Edit(entry.VNum);
    room->MapX = 0;
    room->MapY = 0;
    room->MapLevel = 0;
    if (unlink)
        Unlink(edits, *room);
    Step(QStringLiteral("снятие комнаты %1 с карты").arg(entry.VNum), entry.VNum, edits);
}

void TMapPage::LinkRooms(TMapCell from, int direction, TMapCell to, bool oneWay) {
    const TRoom* source = RoomAt(from.Column, from.Row);
    const TRoom* target = RoomAt(to.Column, to.Row);
    if (!source || !target)
        return;
    // An exit that leads elsewhere is the builder's: replaced only when they say so.
    const auto mayReplace = [](const TRoom& room, int d, int32_t wanted) {
        const int32_t now = room.Exits[static_cast<size_t>(d)].ToRoom;
        return now == 0 || now == wanted ||
               Prompts().Confirm(QStringLiteral("Комната %1 уже ведёт %2 в комнату %3. "
                                                "Заменить этот выход?")
                                     .arg(room.VNum)
                                     .arg(FromCp1251(DirectionName(d)))
                                     .arg(now));
    };
    const int back = ReverseDir(direction);
    if (!mayReplace(*source, direction, target->VNum) ||
        (!oneWay && !mayReplace(*target, back, source->VNum)))
        return;
    TRoomEdits edits(main_.World().Rooms);
    const auto lead = [&edits](int32_t vnum, int d, int32_t leadsTo) {
        TExit& exit = edits.Edit(vnum)->Exits[static_cast<size_t>(d)];
        if (exit.ToRoom != leadsTo) // a door already leading there stays as it is
            exit = TExit{};
        exit.ToRoom = leadsTo;
    };
    lead(source->VNum, direction, target->VNum);
    if (!oneWay)
        lead(target->VNum, back, source->VNum);
    Step(QStringLiteral("выход из комнаты %1 в %2").arg(source->VNum).arg(target->VNum),
         source->VNum, edits);
}

void TMapPage::MoveRoom(TMapCell from, TMapCell to) {
    // The selection moves when its room was pressed, or from an empty cell
    // (Ctrl + an arrow after a rubber band); another room moves alone.
    const TRoom* pressed = RoomAt(from.Column, from.Row);
    if (!pressed && selected_.empty())
        return;
    const std::set<int32_t> group =
        !pressed || selected_.contains(pressed->VNum) ? selected_ : std::set{pressed->VNum};
    const int dx = to.Column - from.Column;
    const int dy = to.Row - from.Row;
    // Every cell is checked before anything moves: the group moves whole or not at all.
    for (const int32_t vnum : group) {
        const TRoom* room = main_.World().Rooms.Find(vnum);
        if (!room)
            continue; // the selection follows the document; nothing to move here
        const int column = room->MapX + dx;
        const int row = room->MapY + dy;
        if (column < 0 || row < 0 || column >= kMapSize || row >= kMapSize) {
            Prompts().Error(QStringLiteral("Комнаты не помещаются на карте"));
            return;
        }
        const TRoom* there = RoomAt(column, row);
        if (there && !group.contains(there->VNum)) {
            Prompts().Error(QStringLiteral("Эта клетка уже занята"));
            return;
        }
    }
    TRoomEdits edits(main_.World().Rooms);
    for (const int32_t vnum : group)
        if (TRoom* room = edits.Edit(vnum))
            PlaceAt(*room, room->MapX + dx, room->MapY + dy);
    const int32_t vnum = pressed ? pressed->VNum : *group.begin();
    Step(group.size() == 1 ? QStringLiteral("перемещение комнаты %1").arg(vnum)
                           : QStringLiteral("перемещение комнат (%1)").arg(group.size()),
         vnum, edits);
    MoveToShownRoom();
}

void TMapPage::SelectCells(TMapCell first, TMapCell last, TMapSelect how) {
    if (how == TMapSelect::Replace)
        selected_.clear();
    const QRect cells =
        QRect(QPoint(first.Column, first.Row), QPoint(last.Column, last.Row)).normalized();
    for (int r = cells.top(); r <= cells.bottom(); ++r)
        for (int c = cells.left(); c <= cells.right(); ++c)
            if (const TRoom* room = RoomAt(c, r)) {
                if (how == TMapSelect::Toggle && selected_.contains(room->VNum))
                    selected_.erase(room->VNum);
                else
                    selected_.insert(room->VNum);
            }
    MapDrawGrid->Repaint();
}

std::optional<std::array<int, 3>> TMapPage::FreeCellToward(const TRoom& room, int direction) const {
    if (!IsOnGrid(room))
        return std::nullopt;
    const auto& step = kSteps[static_cast<size_t>(direction)];
    const std::array<int, 3> cell = {room.MapX + step[0], room.MapY + step[1],
                                     room.MapLevel + step[2]};
    if (cell[0] < 0 || cell[1] < 0 || cell[0] >= kMapSize || cell[1] >= kMapSize || cell[2] < 1 ||
        cell[2] > kMapLevels || RoomAt(cell[0], cell[1], cell[2]))
        return std::nullopt;
    return cell;
}

void TMapPage::ShowRoomMenu(TMapCell cell, const QPoint& globalPos) {
    const TRoom* room = RoomAt(cell.Column, cell.Row);
    if (!room)
        return;
    menuRoom_ = room->VNum;
    FillNewRoomMenu(*room);
    FillDeleteExitMenu(*room);
    MapRoomMenu->popup(globalPos);
}

// A new room goes only where no exit leads yet and the cell is free: an entry
// a direction, or with templates a submenu a direction and an entry a template.
void TMapPage::FillNewRoomMenu(const TRoom& room) {
    // The direction submenus of the last time go with their entries.
    qDeleteAll(MapNewRoomMenu->findChildren<QMenu*>(Qt::FindDirectChildrenOnly));
    MapNewRoomMenu->clear();
    const std::vector<std::string> templates = main_.RoomTemplet.Names();
    const int32_t vnum = room.VNum;
    for (int d = 0; d < DirCount; ++d) {
        const QString direction = FromCp1251(DirectionName(d));
        const bool free =
            room.Exits[static_cast<size_t>(d)].ToRoom == 0 && FreeCellToward(room, d).has_value();
        const auto addOn = [this, vnum, d](QAction* add, int templet) {
            connect(add, &QAction::triggered, this,
                    [this, vnum, d, templet] { NewRoomToward(vnum, d, templet); });
        };
        if (templates.empty()) {
            QAction* add = MapNewRoomMenu->addAction(direction);
            add->setObjectName(QStringLiteral("MapNewRoom%1").arg(d));
            add->setEnabled(free);
            addOn(add, -1);
            continue;
        }
        QMenu* toward = MapNewRoomMenu->addMenu(direction);
        toward->setObjectName(QStringLiteral("MapNewRoom%1").arg(d));
        toward->setEnabled(free);
        for (size_t t = 0; t < templates.size(); ++t) {
            QAction* add = toward->addAction(FromCp1251(templates[t]));
            add->setObjectName(QStringLiteral("MapNewRoomTemplet%1").arg(t));
            addOn(add, static_cast<int>(t));
        }
    }
}

void TMapPage::FillDeleteExitMenu(const TRoom& room) {
    MapDelExitMenu->clear();
    const int32_t vnum = room.VNum;
    for (int d = 0; d < DirCount; ++d) {
        const int32_t to = room.Exits[static_cast<size_t>(d)].ToRoom;
        if (to == 0)
            continue;
        QAction* remove = MapDelExitMenu->addAction(
            QStringLiteral("%1: %2").arg(FromCp1251(DirectionName(d))).arg(to));
        remove->setObjectName(QStringLiteral("MapDelExit%1").arg(d));
        connect(remove, &QAction::triggered, this, [this, vnum, d] { DeleteExit(vnum, d); });
    }
    MapDelExitMenu->setEnabled(!MapDelExitMenu->isEmpty());
}

void TMapPage::NewRoomToward(int32_t vnum, int direction, int templet) {
    const TRoom* from = main_.World().Rooms.Find(vnum);
    const auto cell = from ? FreeCellToward(*from, direction) : std::nullopt;
    if (!cell || from->Exits[static_cast<size_t>(direction)].ToRoom != 0)
        return;
    const int32_t zone = ZoneOf(vnum);
    const int slot = FirstFreeSlotBesideUnparsed(main_.World().Rooms, zone);
    if (slot >= kServerRoomOffset) {
        Prompts().Error(QStringLiteral("В зону больше нельзя добавить комнат"));
        return;
    }
    TRoom room(zone * 100 + slot);
    if (templet >= 0 && templet < main_.RoomTemplet.Count())
        main_.RoomTemplet.Apply(templet, room);
    room.MapX = static_cast<uint8_t>((*cell)[0]);
    room.MapY = static_cast<uint8_t>((*cell)[1]);
    room.MapLevel = static_cast<uint8_t>((*cell)[2]);
    room.Exits[static_cast<size_t>(ReverseDir(direction))].ToRoom = vnum;
    TRoomEdits edits(main_.World().Rooms);
    TExit& exit = edits.Edit(vnum)->Exits[static_cast<size_t>(direction)];
    exit = TExit{};
    exit.ToRoom = room.VNum;
    std::vector<TRoom> rooms = edits.Take();
    rooms.push_back(room);
    TStepPlace place = main_.PlaceOn(RoomPageIndex);
    place.VNum = vnum;
    const QString text = QStringLiteral("новая комната %1").arg(room.VNum);
    // Added, then placed and linked: one step, one undo.
    main_.Document->Compose(place, text, {zone}, [&] {
        main_.Document->AddRecords(place, text, std::vector<TRoom>{room});
        main_.Document->SetRooms(place, text, std::move(rooms));
    });
    TRecordPage& records = *main_.RecordPage(RoomPageIndex);
    records.SelectRow(records.RowOf(room.VNum));
}

void TMapPage::DeleteExit(int32_t vnum, int direction) {
    const TRoom* room = main_.World().Rooms.Find(vnum);
    if (!room || room->Exits[static_cast<size_t>(direction)].ToRoom == 0)
        return;
    const int32_t to = room->Exits[static_cast<size_t>(direction)].ToRoom;
    const int back = ReverseDir(direction);
    const TRoom* target = main_.World().Rooms.Find(to);
    const bool pair = target && target->Exits[static_cast<size_t>(back)].ToRoom == vnum;
    const QString what = QStringLiteral("Удалить выход %1 в комнату %2")
                             .arg(FromCp1251(DirectionName(direction)))
                             .arg(to);
    const QString question =
        pair ? what + QStringLiteral(" и выход оттуда обратно?\n") : what + QStringLiteral("?\n");
    if (!Prompts().Confirm(question + EntryText(*room)))
        return;
    TRoomEdits edits(main_.World().Rooms);
    edits.Edit(vnum)->Exits[static_cast<size_t>(direction)] = TExit{};
    if (pair)
        edits.Edit(to)->Exits[static_cast<size_t>(back)] = TExit{};
    Step(QStringLiteral("удаление выхода из комнаты %1").arg(vnum), vnum, edits);
}

// All six exits of a room taken off the map are cleared; a neighbour's exit
// is cleared only when it led back to this room.
void TMapPage::Unlink(TRoomEdits& edits, TRoom& room) const {
    for (int d = 0; d < DirCount; ++d) {
        TExit& exit = room.Exits[static_cast<size_t>(d)];
        if (exit.ToRoom != 0 && exit.ToRoom != room.VNum) {
            const int back = ReverseDir(d);
            const TRoom* stored = main_.World().Rooms.Find(exit.ToRoom);
            if (stored && stored->Exits[static_cast<size_t>(back)].ToRoom == room.VNum)
                edits.Edit(stored->VNum)->Exits[static_cast<size_t>(back)].ToRoom = 0;
        }
        exit.ToRoom = 0;
    }
}

// Each unplaced room goes to the first free cell of the current level, row
// by row from the top left; positions only, no exits are made.
void TMapPage::PlaceUnplacedRooms() {
    if (!CurrentZone())
        return;
    TRoomEdits edits(main_.World().Rooms);
    int cell = 0;
    for (int entry = 0; entry < MapRoomsListBox->count(); ++entry) {
        TRoom* room = edits.Edit(MapRoomsListBox->item(entry)->data(Qt::UserRole).toInt());
        if (!room)
            continue;
        while (cell < kMapSize * kMapSize && RoomAt(cell % kMapSize, cell / kMapSize))
            ++cell;
        if (cell >= kMapSize * kMapSize)
            break;
        PlaceAt(*room, cell % kMapSize, cell / kMapSize);
        ++cell; // taken by this step, though not yet on the grid
    }
    Step(QStringLiteral("расстановка комнат"), std::nullopt, edits);
}

// Nothing placed yet: everything is laid out without a question. Otherwise
// the builder says whether the rooms already placed move too.
void TMapPage::LayOutClicked() {
    const auto zone = CurrentZone();
    if (!zone)
        return;
    const auto rooms = main_.World().Rooms.ZoneInListOrder(*zone);
    const bool anyPlaced =
        std::any_of(rooms.begin(), rooms.end(), [](const TRoom* room) { return IsOnGrid(*room); });
    bool all = false;
    if (unplaced_.empty()) {
        if (!Prompts().Confirm(
                QStringLiteral("Все комнаты зоны уже на карте. Разложить их заново по выходам?")))
            return;
        all = true;
    } else if (anyPlaced) {
        all = Prompts().Confirm(QStringLiteral("Разложить заново и уже расставленные комнаты?\n"
                                               "«Нет» — расставить только не расставленные."));
    }
    LayOutFromExits(all);
}

void TMapPage::LayOutFromExits(bool all) {
    const auto zone = CurrentZone();
    if (!zone)
        return;
    TExitLayoutOptions options;
    options.All = all;
    const TExitLayoutResult result =
        main_.Document->LayOutZone(main_.PlaceOn(RoomPageIndex),
                                   QStringLiteral("раскладка комнат по выходам"), *zone, options);
    MoveToShownRoom();
    MapRoomPanel->setText(QStringLiteral("Разложено комнат: %1; выходов между соседними "
                                         "клетками: %2 из %3")
                              .arg(result.Placed)
                              .arg(result.Joined)
                              .arg(result.TwoWayExits));
    if (result.Unplaced > 0)
        Prompts().Information(
            QStringLiteral("На карте не хватило места: не расставлено комнат: %1.")
                .arg(result.Unplaced));
}

void TMapPage::Rename(int32_t vnum, const QString& entry) {
    for (int row = 0; row < MapRoomsListBox->count(); ++row)
        if (MapRoomsListBox->item(row)->data(Qt::UserRole).toInt() == vnum)
            MapRoomsListBox->item(row)->setText(entry);
    for (TListEntry& unplaced : unplaced_)
        if (unplaced.VNum == vnum)
            unplaced.Text = ToCp1251(entry);
}
