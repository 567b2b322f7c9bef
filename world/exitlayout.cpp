#include "exitlayout.h"

#include <algorithm>
#include <array>
#include <cstdlib>
#include <functional>
#include <optional>
#include <queue>
#include <unordered_map>
#include <vector>

TExitLayoutResult& TExitLayoutResult::operator+=(const TExitLayoutResult& other) {
    Rooms += other.Rooms;
    Kept += other.Kept;
    Placed += other.Placed;
    Unplaced += other.Unplaced;
    TwoWayExits += other.TwoWayExits;
    Joined += other.Joined;
    return *this;
}

namespace {

struct TCell {
    int X = 0, Y = 0, Z = 0;
    bool operator==(const TCell&) const = default;
};

// One step in each direction, in the order of the exits: north, east, south,
// west, up, down.
constexpr std::array<TCell, DirCount> kSteps = {
    {{0, -1, 0}, {1, 0, 0}, {0, 1, 0}, {-1, 0, 0}, {0, 0, 1}, {0, 0, -1}}};

TCell Toward(TCell cell, int direction) {
    const TCell& step = kSteps[static_cast<size_t>(direction)];
    return {cell.X + step.X, cell.Y + step.Y, cell.Z + step.Z};
}
// The cell from which a step in `direction` reaches `cell`.
TCell From(TCell cell, int direction) {
    const TCell& step = kSteps[static_cast<size_t>(direction)];
    return {cell.X - step.X, cell.Y - step.Y, cell.Z - step.Z};
}

bool OnGrid(const TRoom& room, const TExitLayoutOptions& grid) {
    return room.MapLevel >= 1 && room.MapLevel <= grid.Levels && room.MapX < grid.Size &&
           room.MapY < grid.Size;
}

struct TEdge {
    int Direction; // toward the other room
    int To;        // the other room's index
};

// The rooms of a zone (indices in ascending number order) and the two-way
// exits between them, each pair listed at both of its rooms.
struct TZoneGraph {
    std::vector<const TRoom*> Rooms;
    std::vector<std::vector<TEdge>> Edges;
    int TwoWay = 0;
};

TZoneGraph BuildGraph(const TRoomList& rooms, int32_t zone) {
    TZoneGraph graph;
    graph.Rooms = rooms.ZoneRecords(zone);
    const int count = static_cast<int>(graph.Rooms.size());
    std::unordered_map<int32_t, int> index;
    for (int i = 0; i < count; ++i)
        index.emplace(graph.Rooms[static_cast<size_t>(i)]->VNum, i);
    graph.Edges.resize(graph.Rooms.size());
    for (int a = 0; a < count; ++a) {
        const TRoom& room = *graph.Rooms[static_cast<size_t>(a)];
        for (int d = 0; d < DirCount; ++d) {
            const auto found = index.find(room.Exits[static_cast<size_t>(d)].ToRoom);
            // Each pair once, from its first room; a room's exit to itself places nothing.
            if (found == index.end() || found->second <= a)
                continue;
            const int b = found->second;
            if (graph.Rooms[static_cast<size_t>(b)]
                    ->Exits[static_cast<size_t>(ReverseDir(d))]
                    .ToRoom != room.VNum)
                continue;
            graph.Edges[static_cast<size_t>(a)].push_back({d, b});
            graph.Edges[static_cast<size_t>(b)].push_back({ReverseDir(d), a});
            ++graph.TwoWay;
        }
    }
    return graph;
}

// The parts of the zone that two-way exits join, each in ascending room order.
std::vector<std::vector<int>> Parts(const TZoneGraph& graph) {
    std::vector<std::vector<int>> parts;
    std::vector<char> seen(graph.Rooms.size(), 0);
    for (size_t first = 0; first < graph.Rooms.size(); ++first) {
        if (seen[first])
            continue;
        std::vector<int> part{static_cast<int>(first)};
        seen[first] = 1;
        for (size_t next = 0; next < part.size(); ++next)
            for (const TEdge& edge : graph.Edges[static_cast<size_t>(part[next])])
                if (!seen[static_cast<size_t>(edge.To)]) {
                    seen[static_cast<size_t>(edge.To)] = 1;
                    part.push_back(edge.To);
                }
        std::sort(part.begin(), part.end());
        parts.push_back(std::move(part));
    }
    return parts;
}

// Where a part of the zone is laid out: the map itself (a part around rooms
// already placed), or a frame of its own that is moved onto the map later
// and so may span no more than the map does.
class TCanvas {
public:
    TCanvas(const TExitLayoutOptions& grid, std::vector<int>& map) : grid_(grid), map_(&map) {}
    explicit TCanvas(const TExitLayoutOptions& grid) : grid_(grid) {}

    bool Allowed(TCell cell) const {
        if (map_)
            return cell.X >= 0 && cell.X < grid_.Size && cell.Y >= 0 && cell.Y < grid_.Size &&
                   cell.Z >= 1 && cell.Z <= grid_.Levels;
        if (frame_.empty())
            return true;
        return Span(low_.X, high_.X, cell.X) <= grid_.Size &&
               Span(low_.Y, high_.Y, cell.Y) <= grid_.Size &&
               Span(low_.Z, high_.Z, cell.Z) <= grid_.Levels;
    }
    // The room in a cell, -1 for none.
    int At(TCell cell) const {
        if (map_)
            return Allowed(cell) ? (*map_)[Index(cell)] : -1;
        const auto found = frame_.find(Key(cell));
        return found == frame_.end() ? -1 : found->second;
    }
    bool Free(TCell cell) const { return Allowed(cell) && At(cell) < 0; }
    // Whether any cell of level z may take a room.
    bool LevelAllowed(int z) const {
        if (map_)
            return z >= 1 && z <= grid_.Levels;
        return frame_.empty() || Span(low_.Z, high_.Z, z) <= grid_.Levels;
    }
    void Put(TCell cell, int room) {
        if (map_) {
            (*map_)[Index(cell)] = room;
            return;
        }
        if (frame_.empty()) {
            low_ = high_ = cell;
        } else {
            low_ = {std::min(low_.X, cell.X), std::min(low_.Y, cell.Y), std::min(low_.Z, cell.Z)};
            high_ = {std::max(high_.X, cell.X), std::max(high_.Y, cell.Y),
                     std::max(high_.Z, cell.Z)};
        }
        frame_[Key(cell)] = room;
    }
    // The frame keeps its bounds: a part never grows past the map's size.
    void Take(TCell cell) {
        if (map_)
            (*map_)[Index(cell)] = -1;
        else
            frame_.erase(Key(cell));
    }
    const TExitLayoutOptions& Grid() const { return grid_; }

private:
    static int Span(int low, int high, int value) {
        return std::max(high, value) - std::min(low, value) + 1;
    }
    size_t Index(TCell cell) const {
        return static_cast<size_t>(((cell.Z - 1) * grid_.Size + cell.Y) * grid_.Size + cell.X);
    }
    static int64_t Key(TCell cell) {
        constexpr int64_t kHalf = 1 << 20;
        return ((cell.Z + kHalf) << 42) | ((cell.Y + kHalf) << 21) | (cell.X + kHalf);
    }

    TExitLayoutOptions grid_;
    std::vector<int>* map_ = nullptr;
    std::unordered_map<int64_t, int> frame_;
    TCell low_, high_;
};

// The free cell nearest to `base`: on its own level first, then on the
// other levels nearest first. The first ring around `base` that has a free
// cell and `further` rings beyond it are searched; the cell with the highest
// score wins, then the one in the nearer ring, then the one nearer by steps.
std::optional<TCell> NearestFree(const TCanvas& canvas, TCell base,
                                 const std::function<int(TCell)>& score, int further = 0) {
    const TExitLayoutOptions& grid = canvas.Grid();
    for (int level = 0; level < 2 * grid.Levels; ++level) {
        const int dz = level % 2 == 0 ? level / 2 : -(level + 1) / 2;
        const int z = base.Z + dz;
        if (!canvas.LevelAllowed(z))
            continue;
        std::optional<TCell> best;
        int bestScore = 0, bestRing = 0, bestSteps = 0;
        const auto consider = [&](int dx, int dy, int ring) {
            const TCell cell{base.X + dx, base.Y + dy, z};
            if (!canvas.Free(cell))
                return;
            const int value = score(cell);
            const int steps = std::abs(dx) + std::abs(dy);
            if (!best || value > bestScore ||
                (value == bestScore && ring == bestRing && steps < bestSteps)) {
                best = cell;
                bestScore = value;
                bestRing = ring;
                bestSteps = steps;
            }
        };
        for (int ring = 0; ring <= 2 * grid.Size && (!best || ring <= bestRing + further); ++ring)
            for (int dy = -ring; dy <= ring; ++dy) {
                // The ring's top and bottom rows whole, its sides a cell each.
                const int stride = std::abs(dy) == ring ? 1 : std::max(2 * ring, 1);
                for (int dx = -ring; dx <= ring; dx += stride)
                    consider(dx, dy, ring);
            }
        if (best)
            return best;
    }
    return std::nullopt;
}

// Where each room of the zone is while a layout runs.
struct TSpot {
    TCell Cell;
    bool Placed = false;
    bool Fixed = false; // placed before and kept
    bool Lost = false;  // found no free cell
};

// One part of the zone laid out on a canvas: grown from the rooms placed in
// it (always the room whose placed neighbours agree on the most straight
// exits into a free cell; a room with none waits until no other can go
// straight, then takes the nearest free cell), then improved by moving or
// swapping single rooms while that straightens more exits.
class TPartLayout {
public:
    TPartLayout(const TZoneGraph& graph, const std::vector<int>& part, std::vector<TSpot>& spots,
                TCanvas& canvas)
        : graph_(graph), part_(part), spots_(spots), canvas_(canvas),
          order_(graph.Rooms.size(), -1), inPart_(graph.Rooms.size(), 0) {
        for (const int room : part)
            inPart_[static_cast<size_t>(room)] = 1;
    }

    void Place(int room, TCell cell) {
        TSpot& spot = Spot(room);
        spot.Cell = cell;
        spot.Placed = true;
        canvas_.Put(cell, room);
    }

    void Grow() {
        for (const int room : part_)
            if (Spot(room).Placed)
                OfferNeighbours(room);
        for (;;) {
            while (!queue_.empty()) {
                const TEntry top = queue_.top();
                queue_.pop();
                if (Done(top.Room))
                    continue;
                const TChoice choice = Best(top.Room);
                if (choice.Support != top.Support) {
                    queue_.push({choice.Support, top.Order, top.Room});
                    continue;
                }
                PlaceNear(top.Room, choice);
            }
            // What no placed neighbour reaches (behind a room that found no
            // cell) starts again near the part.
            const auto rest =
                std::find_if(part_.begin(), part_.end(), [this](int room) { return !Done(room); });
            if (rest == part_.end())
                return;
            PlaceNear(*rest, {});
        }
    }

    void Improve() {
        constexpr int kPasses = 8;
        for (int pass = 0; pass < kPasses; ++pass) {
            bool moved = false;
            for (const int room : part_)
                if (Spot(room).Placed && !Spot(room).Fixed)
                    moved = Straighten(room) || moved;
            if (!moved)
                return;
        }
    }

    // The two-way exits of the part whose rooms sit in neighbour cells.
    int Joined() const {
        int joined = 0;
        for (const int room : part_)
            for (const TEdge& edge : Edges(room))
                if (edge.To > room && Spot(room).Placed && Spot(edge.To).Placed &&
                    Spot(edge.To).Cell == Toward(Spot(room).Cell, edge.Direction))
                    ++joined;
        return joined;
    }

private:
    struct TEntry {
        int Support, Order, Room;
        // The most straight exits first, then the room met first.
        bool operator<(const TEntry& other) const {
            return Support != other.Support ? Support < other.Support : Order > other.Order;
        }
    };
    struct TChoice {
        int Support = 0;
        TCell Cell;
    };

    TSpot& Spot(int room) { return spots_[static_cast<size_t>(room)]; }
    const TSpot& Spot(int room) const { return spots_[static_cast<size_t>(room)]; }
    const std::vector<TEdge>& Edges(int room) const {
        return graph_.Edges[static_cast<size_t>(room)];
    }
    bool Done(int room) const { return Spot(room).Placed || Spot(room).Lost; }

    void OfferNeighbours(int room) {
        for (const TEdge& edge : Edges(room)) {
            if (Done(edge.To))
                continue;
            int& order = order_[static_cast<size_t>(edge.To)];
            if (order < 0)
                order = next_++;
            queue_.push({Best(edge.To).Support, order, edge.To});
        }
    }

    // The free cell in which most of the room's placed neighbours would be
    // joined by a straight exit, and how many.
    TChoice Best(int room) const {
        TChoice best;
        for (const TEdge& edge : Edges(room)) {
            if (!Spot(edge.To).Placed)
                continue;
            const TCell cell = From(Spot(edge.To).Cell, edge.Direction);
            if (!canvas_.Free(cell))
                continue;
            const int support = Straight(room, cell);
            if (support > best.Support)
                best = {support, cell};
        }
        return best;
    }

    // The room's placed neighbours that a straight exit joins to it in `cell`.
    int Straight(int room, TCell cell) const {
        int count = 0;
        for (const TEdge& edge : Edges(room))
            if (Spot(edge.To).Placed && Spot(edge.To).Cell == Toward(cell, edge.Direction))
                ++count;
        return count;
    }

    // The straight exits between two placed rooms.
    int Between(int room, int other) const {
        int count = 0;
        for (const TEdge& edge : Edges(room))
            if (edge.To == other && Spot(other).Cell == Toward(Spot(room).Cell, edge.Direction))
                ++count;
        return count;
    }

    // How much of what lies beyond the room could still go straight from
    // `cell`: its unplaced neighbours, and theirs one step further.
    int Ahead(int room, TCell cell) const {
        int count = 0;
        for (const TEdge& edge : Edges(room)) {
            if (Spot(edge.To).Placed)
                continue;
            const TCell next = Toward(cell, edge.Direction);
            if (!canvas_.Free(next))
                continue;
            ++count;
            for (const TEdge& beyond : Edges(edge.To))
                if (beyond.To != room && !Spot(beyond.To).Placed) {
                    const TCell after = Toward(next, beyond.Direction);
                    count += !(after == cell) && canvas_.Free(after);
                }
        }
        return count;
    }

    // Into the chosen cell, or, when no straight exit is free, the nearest
    // free cell to where its first placed neighbour wants it (to the part's
    // first room when none is placed).
    void PlaceNear(int room, const TChoice& choice) {
        if (choice.Support > 0) {
            Place(room, choice.Cell);
            OfferNeighbours(room);
            return;
        }
        std::optional<TCell> base;
        for (const TEdge& edge : Edges(room))
            if (Spot(edge.To).Placed) {
                base = From(Spot(edge.To).Cell, edge.Direction);
                break;
            }
        if (!base)
            for (const int other : part_)
                if (Spot(other).Placed) {
                    base = Spot(other).Cell;
                    break;
                }
        if (!base)
            base = TCell{0, 0, 1};
        const auto cell = NearestFree(
            canvas_, *base, [this, room](TCell c) { return Ahead(room, c); }, 3);
        if (!cell) {
            Spot(room).Lost = true;
            return;
        }
        Place(room, *cell);
        OfferNeighbours(room);
    }

    // Moves the room to a free cell, or swaps it with the room of the cell,
    // where a neighbour wants it, when that joins more exits.
    bool Straighten(int room) {
        const TCell now = Spot(room).Cell;
        const int straight = Straight(room, now);
        for (const TEdge& edge : Edges(room)) {
            if (!Spot(edge.To).Placed)
                continue;
            const TCell wanted = From(Spot(edge.To).Cell, edge.Direction);
            if (wanted == now)
                continue;
            if (canvas_.Free(wanted)) {
                if (Straight(room, wanted) > straight) {
                    canvas_.Take(now);
                    Place(room, wanted);
                    return true;
                }
                continue;
            }
            const int other = canvas_.At(wanted);
            if (other < 0 || other == room || !inPart_[static_cast<size_t>(other)] ||
                Spot(other).Fixed)
                continue;
            // Exits between the two count in both sums: once is enough.
            const int before = straight + Straight(other, wanted) - Between(room, other);
            std::swap(Spot(room).Cell, Spot(other).Cell);
            if (Straight(room, wanted) + Straight(other, now) - Between(room, other) > before) {
                canvas_.Put(wanted, room);
                canvas_.Put(now, other);
                return true;
            }
            std::swap(Spot(room).Cell, Spot(other).Cell);
        }
        return false;
    }

    const TZoneGraph& graph_;
    const std::vector<int>& part_;
    std::vector<TSpot>& spots_;
    TCanvas& canvas_;
    std::vector<int> order_; // when a room was first offered, -1 before
    std::vector<char> inPart_;
    std::priority_queue<TEntry> queue_;
    int next_ = 0;
};

int PartExits(const TZoneGraph& graph, const std::vector<int>& part) {
    int count = 0;
    for (const int room : part)
        for (const TEdge& edge : graph.Edges[static_cast<size_t>(room)])
            if (edge.To > room)
                ++count;
    return count;
}

// A part that holds no placed room, laid out in a frame of its own from a
// few first rooms (the one with the most exits, the first, some spread over
// the part); the layout that joins the most exits is kept.
void LayOutAlone(const TZoneGraph& graph, const std::vector<int>& part, std::vector<TSpot>& spots,
                 const TExitLayoutOptions& grid) {
    std::vector<int> seeds;
    const auto most = std::max_element(part.begin(), part.end(), [&graph](int a, int b) {
        return graph.Edges[static_cast<size_t>(a)].size() <
               graph.Edges[static_cast<size_t>(b)].size();
    });
    seeds.push_back(*most);
    constexpr size_t kTries = 6;
    for (size_t i = 0; seeds.size() < std::min(kTries, part.size()) && i < kTries; ++i) {
        const int seed = part[i * part.size() / kTries];
        if (std::find(seeds.begin(), seeds.end(), seed) == seeds.end())
            seeds.push_back(seed);
    }
    const int exits = PartExits(graph, part);
    int bestJoined = -1;
    std::vector<TSpot> best;
    for (const int seed : seeds) {
        for (const int room : part)
            spots[static_cast<size_t>(room)] = {};
        TCanvas frame(grid);
        TPartLayout layout(graph, part, spots, frame);
        layout.Place(seed, {0, 0, 0});
        layout.Grow();
        layout.Improve();
        const int joined = layout.Joined();
        if (joined > bestJoined) {
            bestJoined = joined;
            best.clear();
            for (const int room : part)
                best.push_back(spots[static_cast<size_t>(room)]);
            if (joined == exits)
                break;
        }
    }
    for (size_t i = 0; i < part.size(); ++i)
        spots[static_cast<size_t>(part[i])] = best[i];
}

// The map's columns and rows seen from above (any level), to find free
// areas for the parts laid out apart.
class TMapArea {
public:
    TMapArea(const TExitLayoutOptions& grid, const std::vector<int>& map)
        : grid_(grid), taken_(static_cast<size_t>(grid.Size * grid.Size), 0) {
        for (size_t i = 0; i < map.size(); ++i)
            if (map[i] >= 0)
                ++taken_[i % taken_.size()];
    }

    // Moves a part from its frame onto the map: into a free area with a free
    // border around it where there is one, else into any free area, else room
    // by room into the nearest free cells (those that find none are lost).
    void MoveOnto(const std::vector<int>& part, std::vector<TSpot>& spots, TCanvas& map) {
        TCell low = spots[static_cast<size_t>(part[0])].Cell, high = low;
        std::unordered_map<int, int> perLevel;
        for (const int room : part) {
            const TSpot& spot = spots[static_cast<size_t>(room)];
            if (!spot.Placed)
                continue;
            low = {std::min(low.X, spot.Cell.X), std::min(low.Y, spot.Cell.Y),
                   std::min(low.Z, spot.Cell.Z)};
            high = {std::max(high.X, spot.Cell.X), std::max(high.Y, spot.Cell.Y),
                    std::max(high.Z, spot.Cell.Z)};
            ++perLevel[spot.Cell.Z];
        }
        // The level most rooms share goes to level 3 (where the map opens),
        // as far as the part's levels allow.
        int main = low.Z;
        for (const auto& [level, count] : perLevel)
            if (count > perLevel[main] || (count == perLevel[main] && level < main))
                main = level;
        const int dz = std::clamp(3 - main, 1 - low.Z, grid_.Levels - high.Z);
        const int width = high.X - low.X + 1, height = high.Y - low.Y + 1;
        std::optional<TCell> corner = FreeArea(width, height, 1);
        if (!corner)
            corner = FreeArea(width, height, 0);
        for (const int room : part) {
            TSpot& spot = spots[static_cast<size_t>(room)];
            if (!spot.Placed)
                continue;
            TCell cell{spot.Cell.X - low.X, spot.Cell.Y - low.Y, spot.Cell.Z + dz};
            if (corner) {
                cell.X += corner->X;
                cell.Y += corner->Y;
            } else if (!map.Free(cell)) {
                const auto near = NearestFree(map, cell, [](TCell) { return 0; });
                if (!near) {
                    spot.Placed = false;
                    spot.Lost = true;
                    continue;
                }
                cell = *near;
            }
            spot.Cell = cell;
            map.Put(cell, room);
            ++taken_[static_cast<size_t>(cell.Y * grid_.Size + cell.X)];
        }
    }

private:
    // The first corner, row by row, of a free width x height area with
    // `border` free cells around it (within the map).
    std::optional<TCell> FreeArea(int width, int height, int border) {
        const int size = grid_.Size;
        std::vector<int> sums(static_cast<size_t>((size + 1) * (size + 1)), 0);
        const auto sum = [&sums, size](int x, int y) -> int& {
            return sums[static_cast<size_t>(y * (size + 1) + x)];
        };
        for (int y = 0; y < size; ++y)
            for (int x = 0; x < size; ++x)
                sum(x + 1, y + 1) = sum(x, y + 1) + sum(x + 1, y) - sum(x, y) +
                                    (taken_[static_cast<size_t>(y * size + x)] > 0);
        for (int y = 0; y + height <= size; ++y)
            for (int x = 0; x + width <= size; ++x) {
                const int x0 = std::max(x - border, 0), y0 = std::max(y - border, 0);
                const int x1 = std::min(x + width + border, size);
                const int y1 = std::min(y + height + border, size);
                if (sum(x1, y1) - sum(x0, y1) - sum(x1, y0) + sum(x0, y0) == 0)
                    return TCell{x, y, 0};
            }
        return std::nullopt;
    }

    TExitLayoutOptions grid_;
    std::vector<int> taken_; // rooms per column and row, all levels
};

int JoinedExits(const TZoneGraph& graph, const std::vector<std::optional<TCell>>& cells) {
    int joined = 0;
    for (size_t a = 0; a < graph.Rooms.size(); ++a)
        for (const TEdge& edge : graph.Edges[a]) {
            const auto& to = cells[static_cast<size_t>(edge.To)];
            if (edge.To > static_cast<int>(a) && cells[a] && to &&
                *to == Toward(*cells[a], edge.Direction))
                ++joined;
        }
    return joined;
}

} // namespace

TExitLayoutResult MeasureExitLayout(const TRoomList& rooms, int32_t zone,
                                    const TExitLayoutOptions& options) {
    const TZoneGraph graph = BuildGraph(rooms, zone);
    TExitLayoutResult result;
    result.Rooms = static_cast<int>(graph.Rooms.size());
    result.TwoWayExits = graph.TwoWay;
    std::vector<std::optional<TCell>> cells(graph.Rooms.size());
    for (size_t i = 0; i < graph.Rooms.size(); ++i) {
        const TRoom& room = *graph.Rooms[i];
        if (OnGrid(room, options)) {
            cells[i] = TCell{room.MapX, room.MapY, room.MapLevel};
            ++result.Placed;
        } else {
            ++result.Unplaced;
        }
    }
    result.Joined = JoinedExits(graph, cells);
    return result;
}

TExitLayoutResult LayOutFromExits(TRoomList& rooms, int32_t zone,
                                  const TExitLayoutOptions& options) {
    const TZoneGraph graph = BuildGraph(rooms, zone);
    const size_t count = graph.Rooms.size();
    TExitLayoutResult result;
    result.Rooms = static_cast<int>(count);
    result.TwoWayExits = graph.TwoWay;

    std::vector<TSpot> spots(count);
    std::vector<int> cells(static_cast<size_t>(options.Size * options.Size * options.Levels), -1);
    TCanvas map(options, cells);
    if (!options.All)
        for (size_t i = 0; i < count; ++i) {
            const TRoom& room = *graph.Rooms[i];
            if (!OnGrid(room, options))
                continue;
            const TCell cell{room.MapX, room.MapY, room.MapLevel};
            spots[i] = {cell, true, true, false};
            if (map.At(cell) < 0)
                map.Put(cell, static_cast<int>(i));
            ++result.Kept;
        }

    // Parts around placed rooms grow on the map itself; the others, largest
    // first, are laid out apart and then moved into free areas.
    std::vector<std::vector<int>> apart;
    for (std::vector<int>& part : Parts(graph)) {
        const auto fixed = [&spots](int room) { return spots[static_cast<size_t>(room)].Fixed; };
        if (std::none_of(part.begin(), part.end(), fixed)) {
            apart.push_back(std::move(part));
        } else if (!std::all_of(part.begin(), part.end(), fixed)) {
            TPartLayout layout(graph, part, spots, map);
            layout.Grow();
            layout.Improve();
        }
    }
    std::stable_sort(apart.begin(), apart.end(),
                     [](const auto& a, const auto& b) { return a.size() > b.size(); });
    TMapArea area(options, cells);
    for (const std::vector<int>& part : apart) {
        LayOutAlone(graph, part, spots, options);
        area.MoveOnto(part, spots, map);
    }

    std::vector<std::optional<TCell>> placed(count);
    for (size_t i = 0; i < count; ++i) {
        const TSpot& spot = spots[i];
        if (spot.Placed)
            placed[i] = spot.Cell;
        if (spot.Fixed)
            continue;
        TRoom& room = *rooms.Find(graph.Rooms[i]->VNum);
        if (spot.Placed) {
            room.MapX = static_cast<uint8_t>(spot.Cell.X);
            room.MapY = static_cast<uint8_t>(spot.Cell.Y);
            room.MapLevel = static_cast<uint8_t>(spot.Cell.Z);
            ++result.Placed;
        } else {
            ++result.Unplaced;
            // Asked to lay out everything, a room without a cell is taken off the map.
            if (options.All)
                room.MapX = room.MapY = room.MapLevel = 0;
        }
    }
    result.Joined = JoinedExits(graph, placed);
    return result;
}
