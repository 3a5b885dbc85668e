#include "diagram/scene_layout.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <climits>
#include <cstdint>
#include <map>
#include <optional>
#include <string>
#include <string_view>
#include <unordered_map>

#include "diagram/layout_measure.h"
#include "diagram/scene.h"
#include "model/relacionamento.h"
#include "model/texto.h"
#include "shapes/connection.h"
#include "shapes/text_shape.h"

namespace {

constexpr int kCaptionGap = 5;  // a caption stands this far below its entity
// Up to how many entities a layout is measured and corrected again (straightening rounds, boxes moved
// off lines): the measure grows with the square of the diagram.
constexpr std::size_t kMostStraightened = 500;
constexpr int kLoopRoom = 6;    // kept clear beyond a loop's outer corner
constexpr int kLoneLoopEnd = 80;  // perc of a loop's end that has its side to itself
constexpr int kCornerGap = 7;   // as the shapes keep them: an end stays this far from its box's corners
constexpr int kMarkClear = 8;   // an end keeps this far from an entity's caption, its mark included

// Rectangles filed by the square cells of a grid they touch, so that asking which of them a small
// rectangle meets costs a look at a few cells, not at every rectangle of a large diagram.
class RectGrid {
public:
    void add(const TRect& r) {
        const std::size_t index = rects_.size();
        rects_.push_back(r);
        // A rectangle of many cells (a box thousands of rows tall) is looked at every time instead.
        large_flag_.push_back(cell_count(r) > kMostCells);
        if (large_flag_.back()) large_.push_back(index);
        else for_cells(r, [&](long long key) { cells_[key].push_back(index); });
    }
    // How many of the rectangles, but those numbered `skip_a` and `skip_b`, share a pixel with `r`.
    // Counted without a list: a rectangle filed in several cells counts only in the cell that holds the
    // top-left corner of its common part with `r`.
    int count_meeting(const TRect& r, std::size_t skip_a = SIZE_MAX, std::size_t skip_b = SIZE_MAX) const {
        int count = 0;
        const auto meets = [&](std::size_t i) { return i != skip_a && i != skip_b && !IsRectEmpty(IntersectRect(r, rects_[i])); };
        for (const std::size_t i : large_) count += meets(i);
        if (cell_count(r) > kMostCells) {
            for (std::size_t i = 0; i < rects_.size(); ++i) count += !is_large(i) && meets(i);
            return count;
        }
        for_cells(r, [&](long long key) {
            const auto found = cells_.find(key);
            if (found == cells_.end()) return;
            for (const std::size_t i : found->second)
                if (meets(i) && key == cell(std::max(r.Top, rects_[i].Top)) * 1'000'003 + cell(std::max(r.Left, rects_[i].Left))) ++count;
        });
        return count;
    }
    // Which of them, by the order they were added in.
    std::vector<std::size_t> meeting(const TRect& r, std::size_t skip_a = SIZE_MAX, std::size_t skip_b = SIZE_MAX) const {
        std::vector<std::size_t> met;
        const auto meets = [&](std::size_t i) { return i != skip_a && i != skip_b && !IsRectEmpty(IntersectRect(r, rects_[i])); };
        for (const std::size_t i : large_)
            if (meets(i)) met.push_back(i);
        if (cell_count(r) > kMostCells) {
            for (std::size_t i = 0; i < rects_.size(); ++i)
                if (meets(i) && std::find(met.begin(), met.end(), i) == met.end()) met.push_back(i);
            return met;
        }
        for_cells(r, [&](long long key) {
            const auto found = cells_.find(key);
            if (found == cells_.end()) return;
            for (const std::size_t i : found->second)
                if (meets(i) && std::find(met.begin(), met.end(), i) == met.end())
                    met.push_back(i);
        });
        return met;
    }

private:
    static constexpr int kCell = 128;
    static constexpr long long kMostCells = 256;
    static long long cell(int v) { return static_cast<long long>(std::floor(v / static_cast<double>(kCell))); }
    static long long cell_count(const TRect& r) {
        if (IsRectEmpty(r)) return 0;
        return (cell(r.Right - 1) - cell(r.Left) + 1) * (cell(r.Bottom - 1) - cell(r.Top) + 1);
    }
    template <typename F>
    static void for_cells(const TRect& r, F&& f) {
        if (IsRectEmpty(r)) return;
        for (long long y = cell(r.Top); y <= cell(r.Bottom - 1); ++y)
            for (long long x = cell(r.Left); x <= cell(r.Right - 1); ++x) f(y * 1'000'003 + x);
    }
    std::vector<TRect> rects_;
    std::vector<std::size_t> large_;
    bool is_large(std::size_t i) const { return large_flag_[i]; }
    std::unordered_map<long long, std::vector<std::size_t>> cells_;
    std::vector<bool> large_flag_;
};

// A connection's perc reads back the integer part of a single-precision fraction, mostly one lower
// than written; routes follow what it reads. Gives it back the reading `perc` it had.
void restore_perc(TnoxConnection& end, int perc) {
    end.SetPerc(perc);
    if (end.perc() != perc) end.SetPerc(perc + 1);
}

// What a relationship's route should not run through: the insides of the boxes it does not join
// (their frames excluded) and the entities' captions.
class Obstacles {
public:
    explicit Obstacles(const DiagramScene& scene) {
        for (std::size_t i = 0; i < scene.entity_count(); ++i) {
            const TRect b = scene.entity(i).BoundsRect();
            boxes_.add({b.Left + 1, b.Top + 1, b.Right - 1, b.Bottom - 1});
            box_of_[&scene.entity(i)] = i;
            if (const tnoxCaption* c = scene.entity_caption(i); c && c->Visible()) captions_.add(c->BoundsRect());
        }
    }
    std::size_t box_of(const TControl* entity) const { return box_of_.at(entity); }
    // How many of them the segment from (x0, y0) to (x1, y1) meets, the boxes `from` and `to` left out.
    int meeting(int x0, int y0, int x1, int y1, std::size_t from, std::size_t to) const {
        const TRect pixels{x0, y0, x1 + 1, y1 + 1};
        return boxes_.count_meeting(pixels, from, to) + captions_.count_meeting(pixels);
    }

private:
    RectGrid boxes_, captions_;
    std::map<const TControl*, std::size_t> box_of_;
};

// Relationships that meet one side of a box get distinct places along it, evenly spread, in the order
// in which their other ends lie along that side; at one `perc` their lines and marks would coincide.
// Along a bottom side the stretch under the entity's caption is left out where the rest has room, so
// that no line runs through the caption; a loop's entry goes right of it.
void spread_ends(DiagramScene& scene) {
    struct End {
        TnoxConnection* connection;
        long long far;  // twice the centre of the box at the other end, along the side
    };
    std::map<const TnoxCustomShape*, TRect> caption_of;
    for (std::size_t i = 0; i < scene.entity_count(); ++i)
        if (const tnoxCaption* c = scene.entity_caption(i); c && c->Visible()) caption_of[&scene.entity(i)] = c->BoundsRect();
    std::map<std::pair<const TnoxCustomShape*, int>, std::vector<End>> sides;
    for (std::size_t i = 0; i < scene.relationship_count(); ++i) {
        TRelacionamento& line = scene.relationship(i);
        TnoxConnection* start = line.GetConnection(1);
        TnoxConnection* end = line.GetConnection(2);
        if (!start->Shape() || !end->Shape()) continue;
        if (start->Shape() == end->Shape()) {
            // A loop leaves by the right side and comes back by the bottom one: its ends go last along
            // them, nearest the corner it goes round, so no other line crosses it.
            sides[{start->Shape(), static_cast<int>(start->Side)}].push_back({start, LLONG_MAX});
            sides[{end->Shape(), static_cast<int>(end->Side)}].push_back({end, LLONG_MAX});
            continue;
        }
        for (auto [near, other] : {std::pair{start, end}, std::pair{end, start}}) {
            const TnoxCustomShape& far = *other->Shape();
            const bool along_x = near->Side == csTop || near->Side == csBottom;
            const long long centre = along_x ? 2LL * far.Left() + far.Width() : 2LL * far.Top() + far.Height();
            sides[{near->Shape(), static_cast<int>(near->Side)}].push_back({near, centre});
        }
    }
    bool changed = false;
    for (auto& [side, ends] : sides) {
        const TnoxCustomShape& shape = *side.first;
        const bool along_x = side.second == csTop || side.second == csBottom;
        const long long length = along_x ? shape.Width() : shape.Height();
        if (length <= 0) continue;
        // The stretch of a bottom side, in offsets from its left, that the caption right below covers.
        long long blocked_from = 0, blocked_to = 0;
        if (const auto found = caption_of.find(&shape); found != caption_of.end() && side.second == csBottom) {
            const TRect& c = found->second;
            if (c.Top >= shape.Top() + shape.Height() && c.Top <= shape.Top() + shape.Height() + 2 * kCaptionGap) {
                blocked_from = std::max<long long>(kCornerGap, static_cast<long long>(c.Left) - shape.Left() - kMarkClear);
                blocked_to = std::min<long long>(length - kCornerGap, static_cast<long long>(c.Right) - shape.Left() + kMarkClear);
            }
        }
        const bool blocked = blocked_to > blocked_from;
        const long long free_length = blocked ? (length - 2 * kCornerGap) - (blocked_to - blocked_from) : 0;
        const auto perc_at = [&](long long offset, bool up) {
            const long long p = up ? (offset * 100 + length - 1) / length : offset * 100 / length;
            return static_cast<int>(std::clamp<long long>(p, 0, 100));
        };
        if (ends.size() < 2 && !blocked) {
            // A loop alone on its side keeps near the corner it goes round, off a caption centred below.
            if (ends.front().far == LLONG_MAX) ends.front().connection->SetPerc(kLoneLoopEnd), changed = true;
            continue;
        }
        std::stable_sort(ends.begin(), ends.end(), [](const End& a, const End& b) { return a.far < b.far; });
        const double n = static_cast<double>(ends.size());
        for (std::size_t k = 0; k < ends.size(); ++k) {
            const bool loop = ends[k].far == LLONG_MAX;
            int perc = ends.size() < 2 ? kLoneLoopEnd : static_cast<int>(std::lround(100.0 * static_cast<double>(k + 1) / (n + 1)));
            if (blocked && free_length > 0 && (ends.size() > 1 || !loop)) {
                // Evenly along what the caption leaves free, left of it first.
                const long long along = static_cast<long long>(std::lround(static_cast<double>(free_length) * static_cast<double>(k + 1) / (n + 1)));
                const long long left_part = blocked_from - kCornerGap;
                perc = along <= left_part ? perc_at(kCornerGap + along, false) : perc_at(blocked_to + along - left_part, true);
            }
            // A loop's entry, last along the side, comes in right of the caption where the side has room.
            if (loop && blocked && blocked_to <= length - kCornerGap) perc = std::max(perc, perc_at(blocked_to, true));
            ends[k].connection->SetPerc(perc);
        }
        changed = true;
    }
    if (changed) scene.arrange({}, {});
}

// sfdp lays a chain of boxes out as one long row (or column). Folded into rows that run back and
// forth, each box stays beside its neighbours in the line and the picture comes near to square.
void fold_long_layout(std::vector<LayoutPosition>& positions, const std::vector<LayoutBox>& boxes, const LayoutOptions& options) {
    if (positions.size() < 3) return;
    long long width = 0, height = 0;
    for (std::size_t i = 0; i < positions.size(); ++i) {
        width = std::max<long long>(width, positions[i].left + boxes[i].width - options.margin);
        height = std::max<long long>(height, positions[i].top + boxes[i].height - options.margin);
    }
    const bool wide = width > 2 * height;
    if (!wide && height <= 2 * width) return;
    // Along: the long side's coordinate; across: the other.
    const auto along = [&](std::size_t i) { return wide ? positions[i].left + boxes[i].width / 2 : positions[i].top + boxes[i].height / 2; };
    const auto size_along = [&](std::size_t i) { return wide ? boxes[i].width : boxes[i].height; };
    const auto size_across = [&](std::size_t i) { return wide ? boxes[i].height : boxes[i].width; };
    std::vector<std::size_t> order(positions.size());
    for (std::size_t i = 0; i < order.size(); ++i) order[i] = i;
    std::stable_sort(order.begin(), order.end(), [&](std::size_t a, std::size_t b) { return along(a) < along(b); });
    // As many rows as bring the folded picture nearest to square.
    double mean_along = 0;
    int thickest = 0;
    for (std::size_t i = 0; i < order.size(); ++i) {
        mean_along += size_along(i);
        thickest = std::max(thickest, size_across(i));
    }
    mean_along /= static_cast<double>(order.size());
    std::size_t rows = 1;
    double best = -1;
    for (std::size_t r = 1; r <= order.size(); ++r) {
        const double per = std::ceil(static_cast<double>(order.size()) / static_cast<double>(r));
        const double length = per * mean_along + (per - 1) * options.spacing;
        const double breadth = static_cast<double>(r) * thickest + static_cast<double>(r - 1) * options.spacing;
        const double off_square = std::abs(std::log(length / breadth));
        if (best < 0 || off_square < best) best = off_square, rows = r;
    }
    const std::size_t per_row = (order.size() + rows - 1) / rows;
    long long across = options.margin;
    for (std::size_t first = 0; first < order.size(); first += per_row) {
        const std::size_t last = std::min(order.size(), first + per_row);
        std::vector<std::size_t> row(order.begin() + static_cast<std::ptrdiff_t>(first), order.begin() + static_cast<std::ptrdiff_t>(last));
        if ((first / per_row) % 2 == 1) std::reverse(row.begin(), row.end());
        long long at = options.margin;
        int thickness = 0;
        for (const std::size_t i : row) {
            (wide ? positions[i].left : positions[i].top) = static_cast<std::int32_t>(at);
            (wide ? positions[i].top : positions[i].left) = static_cast<std::int32_t>(across);
            at += size_along(i) + options.spacing;
            thickness = std::max(thickness, size_across(i));
        }
        across += thickness + options.spacing;
    }
}

// Where a relationship's middle segment runs (its `meioperc`): where its route passes through no box it
// does not join, no entity's caption and lies on no segment of the relationships before it, nearest the middle; where no
// candidate is clear, the one with the fewest such faults.
void choose_middles(DiagramScene& scene) {
    struct Piece {
        int x0, y0, x1, y1;
    };
    const Obstacles obstacles(scene);
    std::map<int, std::vector<Piece>> rows, columns;  // the segments kept so far, by their row or column
    const auto pieces_of = [](const TRelacionamento& line) {
        std::vector<Piece> pieces;
        for (const TRect& r : line_segments(line)) pieces.push_back({r.Left, r.Top, r.Right - 1, r.Bottom - 1});
        return pieces;
    };
    for (std::size_t i = 0; i < scene.relationship_count(); ++i) {
        TRelacionamento& line = scene.relationship(i);
        const auto* start = line.GetConnection(1)->Shape();
        const auto* end = line.GetConnection(2)->Shape();
        if (!start || !end || start == end) continue;
        const std::size_t from = obstacles.box_of(start), to = obstacles.box_of(end);
        const auto faults = [&] {
            int count = 0;
            for (const Piece& p : pieces_of(line)) {
                count += obstacles.meeting(p.x0, p.y0, p.x1, p.y1, from, to);
                const bool row = p.y0 == p.y1;
                const auto& lines = row ? rows : columns;
                if (const auto found = lines.find(row ? p.y0 : p.x0); found != lines.end())
                    for (const Piece& q : found->second)
                        count += row ? std::min(p.x1, q.x1) > std::max(p.x0, q.x0) : std::min(p.y1, q.y1) > std::max(p.y0, q.y0);
            }
            return count;
        };
        int best = line.meioperc(), best_faults = faults();
        for (const int candidate : {50, 40, 60, 30, 70, 20, 80, 10, 90}) {
            if (best_faults == 0) break;
            line.Setmeioperc(candidate);
            line.ComputeRoute();
            if (const int f = faults(); f < best_faults) best = candidate, best_faults = f;
        }
        line.Setmeioperc(best);
        line.ComputeRoute();
        for (const Piece& p : pieces_of(line)) (p.y0 == p.y1 ? rows[p.y0] : columns[p.x0]).push_back(p);
    }
    scene.arrange({}, {});
}

// What is left after the middles were chosen: a relationship whose route still runs through a box it
// does not join or an entity's caption, on a stretch of another relationship's line or to another's end point is routed
// again with other places of its ends along their sides (its `perc`s) and of its middle, the clear
// combination nearest to the route it had; the sides stay those the boxes' places give. `only`: these
// relationships alone, when not empty.
void clear_routes(DiagramScene& scene, const std::vector<std::size_t>& only = {}) {
    struct Piece {
        std::size_t owner;
        int x0, y0, x1, y1;
    };
    const Obstacles obstacles(scene);
    const auto joined = [&](const TRelacionamento& line) {
        const auto* start = line.GetConnection(1)->Shape();
        const auto* end = line.GetConnection(2)->Shape();
        return start && end && start != end;
    };
    const auto pieces_of = [](std::size_t owner, const TRelacionamento& line) {
        std::vector<Piece> pieces;
        for (const TRect& r : line_segments(line)) pieces.push_back({owner, r.Left, r.Top, r.Right - 1, r.Bottom - 1});
        return pieces;
    };
    const auto ends_of = [](const TRelacionamento& line) {
        const auto& route = line.Route();
        return std::array<std::pair<int, int>, 2>{std::pair{line.Left() + route.front().X, line.Top() + route.front().Y},
                                                  std::pair{line.Left() + route.back().X, line.Top() + route.back().Y}};
    };
    std::map<int, std::vector<Piece>> rows, columns;
    std::map<std::pair<int, int>, int> ends;
    const auto file = [&](std::size_t i, int sign) {
        TRelacionamento& line = scene.relationship(i);
        for (const Piece& p : pieces_of(i, line)) {
            auto& list = p.y0 == p.y1 ? rows[p.y0] : columns[p.x0];
            if (sign > 0) list.push_back(p);
            else std::erase_if(list, [&](const Piece& q) { return q.owner == i; });
        }
        for (const auto& point : ends_of(line)) ends[point] += sign;
    };
    for (std::size_t i = 0; i < scene.relationship_count(); ++i)
        if (joined(scene.relationship(i))) file(i, +1);

    // Counting stops once it passes `enough`: a try with more faults than the best so far is not kept.
    const auto faults = [&](std::size_t i, std::size_t from, std::size_t to, int enough = INT_MAX) {
        const TRelacionamento& line = scene.relationship(i);
        int count = 0;
        for (const Piece& p : pieces_of(i, line)) {
            if (count > enough) return count;
            count += obstacles.meeting(p.x0, p.y0, p.x1, p.y1, from, to);
            const bool row = p.y0 == p.y1;
            const auto& lines = row ? rows : columns;
            if (const auto found = lines.find(row ? p.y0 : p.x0); found != lines.end())
                for (const Piece& q : found->second)
                    count += q.owner != i && (row ? std::min(p.x1, q.x1) > std::max(p.x0, q.x0) : std::min(p.y1, q.y1) > std::max(p.y0, q.y0));
        }
        for (const auto& point : ends_of(line))
            if (const auto found = ends.find(point); found != ends.end()) count += found->second > 0;
        return count;
    };
    for (std::size_t i = 0; i < scene.relationship_count(); ++i) {
        TRelacionamento& line = scene.relationship(i);
        if (!joined(line) || (!only.empty() && std::find(only.begin(), only.end(), i) == only.end())) continue;
        const std::size_t from = obstacles.box_of(line.GetConnection(1)->Shape()), to = obstacles.box_of(line.GetConnection(2)->Shape());
        file(i, -1);
        int best_faults = faults(i, from, to);
        if (best_faults > 0) {
            TnoxConnection& start = *line.GetConnection(1);
            TnoxConnection& end = *line.GetConnection(2);
            const int start_was = start.perc(), end_was = end.perc(), middle_was = line.meioperc();
            int best_start = start_was, best_end = end_was, best_middle = middle_was, best_distance = 0;
            // Coarse steps first; finer ones only for what they leave unclear.
            for (const auto [end_step, middle_step] : {std::pair{10, 5}, std::pair{5, 2}}) {
                if (best_faults == 0) break;
                for (int middle = middle_step; middle < 100 && best_faults > 0; middle += middle_step)
                    for (int s = end_step; s < 100; s += end_step)
                        for (int e = end_step; e < 100; e += end_step) {
                            // Nearer the route it had first: the ends moved least, then the middle.
                            const int distance = std::abs(s - start_was) + std::abs(e - end_was) + std::abs(middle - middle_was) / 5;
                            if (best_faults == 0 && distance >= best_distance) continue;
                            start.SetPerc(s);
                            end.SetPerc(e);
                            line.Setmeioperc(middle);
                            line.Reroute();
                            const int f = faults(i, from, to, best_faults);
                            if (f < best_faults || (f == best_faults && distance < best_distance))
                                best_faults = f, best_start = start.perc(), best_end = end.perc(), best_middle = middle, best_distance = distance;
                        }
            }
            restore_perc(start, best_start);
            restore_perc(end, best_end);
            line.Setmeioperc(best_middle);
            line.Reroute();
        }
        file(i, +1);
    }
    scene.arrange({}, {});
}

// A line that no place of its ends and middle clears runs through a box that stands across the whole
// side of one of its ends, just below, above or beside it (dot's ranks put a child of the same parent
// there). That box is moved across the line just far enough to leave the line a free column (or row)
// near one end of that side, where it meets nothing else; the move is kept only where the diagram then
// has fewer lines through boxes and no more lines, ends or entity captions on one another.
void move_boxes_off_lines(DiagramScene& scene) {
    constexpr int kClear = 12;    // between the freed line and the moved box
    constexpr int kRoom = 10;     // kept between the moved box (with its caption) and any other shape
    // Each try measures the whole diagram again (and the measure compares every line with every box):
    // larger diagrams are left as the engine placed them, as for the straightening rounds.
    if (scene.entity_count() > kMostStraightened) return;
    LayoutMeasure now = measure_layout(scene);
    if (now.lines_through_boxes == 0) return;
    const auto footprint = [&](std::size_t i) {
        TRect r = scene.entity(i).BoundsRect();
        if (const tnoxCaption* c = scene.entity_caption(i); c && c->Visible()) {
            const TRect b = c->BoundsRect();
            r = {std::min(r.Left, b.Left), std::min(r.Top, b.Top), std::max(r.Right, b.Right), std::max(r.Bottom, b.Bottom)};
        }
        return r;
    };
    std::map<const TControl*, std::size_t> entity_of;
    for (std::size_t i = 0; i < scene.entity_count(); ++i) entity_of[&scene.entity(i)] = i;
    std::vector<std::vector<std::size_t>> lines_of(scene.entity_count());
    std::vector<bool> looped(scene.entity_count());
    for (std::size_t r = 0; r < scene.relationship_count(); ++r) {
        const TRelacionamento& line = scene.relationship(r);
        if (!line.GetConnection(1)->Shape() || !line.GetConnection(2)->Shape()) continue;
        if (line.IsLoop()) looped[entity_of.at(line.GetConnection(1)->Shape())] = true;
        for (const int end : {1, 2}) lines_of[entity_of.at(line.GetConnection(end)->Shape())].push_back(r);
    }
    const auto not_worse = [](const LayoutMeasure& a, const LayoutMeasure& b) {
        return a.lines_through_boxes < b.lines_through_boxes && a.coincident_segments <= b.coincident_segments &&
               a.shared_ends <= b.shared_ends && a.entity_captions_on_lines <= b.entity_captions_on_lines;
    };
    // Box `b` moved by (dx, dy) where it and its caption keep their room from every other shape, the
    // lines at it and line `r` routed again; kept where the diagram reads better, else undone.
    const auto try_move = [&](std::size_t r, std::size_t b, int dx, int dy) {
        const TRect box = scene.entity(b).BoundsRect();
        const TRect place = OffsetRect(footprint(b), dx, dy);
        const TRect room{place.Left - kRoom, place.Top - kRoom, place.Right + kRoom, place.Bottom + kRoom};
        if (room.Left < 0 || room.Top < 0) return false;
        bool free = true;
        for (std::size_t i = 0; i < scene.entity_count() && free; ++i) free = i == b || IsRectEmpty(IntersectRect(room, footprint(i)));
        for (std::size_t i = 0; i < scene.text_count() && free; ++i) free = IsRectEmpty(IntersectRect(room, scene.text(i).BoundsRect()));
        if (!free) return false;
        std::vector<std::size_t> redo = lines_of[b];
        redo.push_back(r);
        std::vector<std::array<int, 3>> was;
        for (const std::size_t k : redo) {
            const TRelacionamento& l = scene.relationship(k);
            was.push_back({l.GetConnection(1)->perc(), l.GetConnection(2)->perc(), l.meioperc()});
        }
        std::vector<std::optional<TPoint>> at(scene.entity_count());
        at[b] = TPoint{box.Left + dx, box.Top + dy};
        scene.arrange(at, {});
        clear_routes(scene, redo);
        const LayoutMeasure after = measure_layout(scene);
        if (not_worse(after, now)) {
            now = after;
            return true;
        }
        at[b] = TPoint{box.Left, box.Top};
        for (std::size_t k = 0; k < redo.size(); ++k) {
            TRelacionamento& l = scene.relationship(redo[k]);
            restore_perc(*l.GetConnection(1), was[k][0]);
            restore_perc(*l.GetConnection(2), was[k][1]);
            l.Setmeioperc(was[k][2]);
        }
        scene.arrange(at, {});
        return false;
    };
    for (std::size_t r = 0; r < scene.relationship_count() && now.lines_through_boxes > 0; ++r) {
        TRelacionamento& line = scene.relationship(r);
        if (!line.GetConnection(1)->Shape() || !line.GetConnection(2)->Shape() || line.IsLoop()) continue;
        const std::size_t from = entity_of.at(line.GetConnection(1)->Shape()), to = entity_of.at(line.GetConnection(2)->Shape());
        const std::vector<TRect> pieces = line_segments(line);
        if (pieces.size() != 3) continue;
        RectGrid inside;  // rebuilt per line: boxes move
        for (std::size_t i = 0; i < scene.entity_count(); ++i) {
            const TRect b = scene.entity(i).BoundsRect();
            inside.add({b.Left + 1, b.Top + 1, b.Right - 1, b.Bottom - 1});
        }
        bool moved = false;
        for (const std::size_t piece : {0u, 2u}) {
            if (moved) break;
            const TnoxConnection& end = *line.GetConnection(piece == 0 ? 1 : 2);
            const TRect side_box = end.Shape()->BoundsRect();
            const bool across_x = end.Side == csTop || end.Side == csBottom;  // the piece is a column: the box moves along x
            const int base = across_x ? side_box.Left : side_box.Top;
            const int length = across_x ? RectWidth(side_box) : RectHeight(side_box);
            const int near = std::max(kCornerGap, length / 10);
            for (const std::size_t b : inside.meeting(pieces[piece], from, to)) {
                if (moved || looped[b]) break;
                const TRect box = scene.entity(b).BoundsRect();
                const int low = across_x ? box.Left : box.Top, high = across_x ? box.Right : box.Bottom;
                // Past the side's first tenth, or short of its last.
                std::array<int, 2> shifts{base + near + kClear - low, base + length - 1 - near - kClear - (high - 1)};
                if (std::abs(shifts[1]) < std::abs(shifts[0])) std::swap(shifts[0], shifts[1]);
                for (const int shift : shifts) {
                    if (shift == 0 || std::abs(shift) > length) continue;
                    if (try_move(r, b, across_x ? shift : 0, across_x ? 0 : shift)) {
                        moved = true;
                        break;
                    }
                }
            }
        }
        // Else a box in the way of any piece, the middle one included (a long line across ranks passes
        // boxes far from its ends), is moved across that piece just far enough to clear it, to the
        // nearer side first.
        for (std::size_t piece = 0; piece < pieces.size() && !moved; ++piece) {
            const TRect& p = pieces[piece];
            const bool column = RectWidth(p) == 1;  // the box moves along x
            for (const std::size_t b : inside.meeting(p, from, to)) {
                if (moved) break;
                if (looped[b]) continue;
                const TRect box = scene.entity(b).BoundsRect();
                std::array<int, 2> shifts = column ? std::array<int, 2>{p.Left - kClear - box.Right, p.Right + kClear - box.Left}
                                                   : std::array<int, 2>{p.Top - kClear - box.Bottom, p.Bottom + kClear - box.Top};
                if (std::abs(shifts[1]) < std::abs(shifts[0])) std::swap(shifts[0], shifts[1]);
                for (const int shift : shifts)
                    if (try_move(r, b, column ? shift : 0, column ? 0 : shift)) {
                        moved = true;
                        break;
                    }
            }
        }
    }
}

// A relationship's caption the file does not place goes beside its own line: above or below a row's
// segment, left or right of a column's, nearest the middle of the line first, at the first place
// that meets no box, caption, free text or line (its own included). Where every place beside the
// line meets a line, the one that meets the fewest and nothing else; where every place meets a box
// or caption, the caption keeps the place its line gave it.
void place_captions_beside_lines(DiagramScene& scene, const Diagram& diagram) {
    constexpr int kGap = 3;  // between a caption and the line it labels
    RectGrid taken, lines;
    for (std::size_t i = 0; i < scene.entity_count(); ++i) {
        taken.add(scene.entity(i).BoundsRect());
        if (const tnoxCaption* c = scene.entity_caption(i)) taken.add(c->BoundsRect());
    }
    for (std::size_t i = 0; i < scene.text_count(); ++i) taken.add(scene.text(i).BoundsRect());
    for (std::size_t i = 0; i < scene.relationship_count(); ++i)
        if (scene.relationship(i).GetConnection(1)->Shape() && scene.relationship(i).GetConnection(2)->Shape())
            for (const TRect& r : line_segments(scene.relationship(i))) lines.add(r);
    for (std::size_t i = 0; i < scene.relationship_count(); ++i) {
        const tnoxCaption* caption = scene.relationship_caption(i);
        if (!caption) continue;
        const DiagramCaption& source = *diagram.relationships[i].caption;
        const TRect now = caption->BoundsRect();
        const TRelacionamento& line = scene.relationship(i);
        if (source.shape.left != 0 || source.shape.top != 0 || !line.GetConnection(1)->Shape() || !line.GetConnection(2)->Shape()) {
            taken.add(now);
            continue;
        }
        const int w = caption->Width(), h = caption->Height();
        std::vector<TPoint> route(line.Route().begin(), line.Route().end());
        if (line.IsLoop()) route.assign(line.LoopRoute().begin(), line.LoopRoute().end());
        // A loop's outer segments first, away from its box; a line's middle one first.
        const std::vector<int> parts = line.IsLoop() ? std::vector<int>{1, 2, 0, 3} : std::vector<int>{1, 0, 2};
        std::optional<TRect> best;
        int best_lines = INT_MAX;
        for (const int part : parts) {
            const TPoint a{line.Left() + route[part].X, line.Top() + route[part].Y};
            const TPoint b{line.Left() + route[part + 1].X, line.Top() + route[part + 1].Y};
            if (a == b) continue;
            for (const int eighths : {4, 2, 6, 1, 7, 3, 5}) {
                const int x = a.X + (b.X - a.X) * eighths / 8, y = a.Y + (b.Y - a.Y) * eighths / 8;
                const std::array<TRect, 2> beside =
                    a.Y == b.Y ? std::array<TRect, 2>{TRect{x - w / 2, y - kGap - h, x - w / 2 + w, y - kGap},
                                                      TRect{x - w / 2, y + kGap + 1, x - w / 2 + w, y + kGap + 1 + h}}
                               : std::array<TRect, 2>{TRect{x + kGap + 1, y - h / 2, x + kGap + 1 + w, y - h / 2 + h},
                                                      TRect{x - kGap - w, y - h / 2, x - kGap, y - h / 2 + h}};
                for (const TRect& r : beside) {
                    if (r.Left < 0 || r.Top < 0 || taken.count_meeting(r) > 0) continue;
                    if (const int crossed = lines.count_meeting(r); crossed < best_lines) best = r, best_lines = crossed;
                }
                if (best_lines == 0) break;
            }
            if (best_lines == 0) break;
        }
        if (!best) {
            taken.add(now);
            continue;
        }
        scene.place_relationship_caption(i, {best->Left, best->Top});
        taken.add(caption->BoundsRect());
    }
}

// Fewer lines through boxes, and nothing else that makes a diagram hard to read more often.
bool reads_better(const LayoutMeasure& a, const LayoutMeasure& b) {
    return a.lines_through_boxes < b.lines_through_boxes && a.caption_box_overlaps <= b.caption_box_overlaps &&
           a.caption_overlaps <= b.caption_overlaps && a.captions_on_lines <= b.captions_on_lines &&
           a.entity_captions_on_lines <= b.entity_captions_on_lines && a.coincident_segments <= b.coincident_segments &&
           a.shared_ends <= b.shared_ends;
}

// How often dot is asked again, with more relationships kept straight each time.
constexpr int kStraighteningRounds = 3;

}  // namespace

bool needs_layout(const Diagram& diagram) {
    return std::all_of(diagram.entities.begin(), diagram.entities.end(),
                       [](const DiagramEntity& e) { return e.shape.left == 0 && e.shape.top == 0; });
}

void lay_out_scene(DiagramScene& scene, const Diagram& diagram, const LayoutOptions& options) {
    const auto at_100 = [&](int value) { return static_cast<std::int32_t>(static_cast<long long>(value) * 100 / scene.escala()); };
    std::vector<LayoutBox> boxes;
    std::vector<int> entity_indent;  // the entity's left within its box, when its caption is wider
    std::map<std::string, std::int32_t> groups;  // the first level of `Menu`, numbered in order of appearance
    boxes.reserve(scene.entity_count() + scene.text_count());
    std::vector<std::optional<int>> moved_caption(scene.entity_count());  // a caption's left from its entity's, off a loop
    std::vector<std::size_t> loops;
    for (std::size_t k = 0; k < scene.relationship_count(); ++k)
        if (scene.relationship(k).IsLoop()) loops.push_back(k);
    for (std::size_t i = 0; i < scene.entity_count(); ++i) {
        const TEntidade& e = scene.entity(i);
        LayoutBox box{at_100(e.Width()), at_100(e.Height())};
        int indent = 0;
        const bool looped = std::any_of(loops.begin(), loops.end(), [&](std::size_t k) { return scene.relationship(k).GetConnection(1)->Shape() == &e; });
        if (const tnoxCaption* caption = scene.entity_caption(i);
            caption && diagram.entities[i].caption->shape.left == 0 && diagram.entities[i].caption->shape.top == 0) {
            const int width = at_100(caption->Width());
            // Centred below the box, unless a loop's entry near the right corner would cross it: then
            // as far left as lets the entry and its mark pass right of it.
            const int clear = box.width - kCornerGap - kMarkClear - width;
            if (looped && clear < (box.width - width) / 2) {
                moved_caption[i] = clear;
                indent = std::max(0, -clear);
                box.width = std::max(indent + box.width, indent + clear + width);
            } else {
                indent = std::max(0, (width - box.width) / 2);
                box.width = std::max(box.width, width);
            }
            box.height += kCaptionGap + at_100(caption->Height());
        }
        // Room for the entity's loops beside its right side and below its bottom one (the caption's
        // place included), so that no other box or line is placed where they run.
        for (const std::size_t k : loops) {
            const TRelacionamento& line = scene.relationship(k);
            if (line.GetConnection(1)->Shape() != &e) continue;
            const TPoint corner{line.Left() + line.LoopRoute()[2].X, line.Top() + line.LoopRoute()[2].Y};
            const int right = at_100(corner.X - e.Left()) + 1 + kLoopRoom, bottom = at_100(corner.Y - e.Top()) + 1 + kLoopRoom;
            box.width = std::max(box.width, indent + right);
            box.height = std::max(box.height, bottom);
        }
        const std::string_view menu = diagram.entities[i].entity->Menu().view();
        if (const std::string_view group = menu.substr(0, menu.find(';')); !group.empty())
            box.group = static_cast<std::int32_t>(groups.try_emplace(std::string(group), static_cast<std::int32_t>(groups.size())).first->second);
        boxes.push_back(box);
        entity_indent.push_back(indent);
    }
    std::vector<std::size_t> placed_texts;  // indexes of the free texts laid out
    for (std::size_t i = 0; i < scene.text_count(); ++i)
        if (diagram.texts[i].shape.left == 0 && diagram.texts[i].shape.top == 0) placed_texts.push_back(i);
    // Free texts are laid out by Graphviz only without entities; else they stand beside the diagram.
    const bool texts_by_graphviz = scene.entity_count() == 0;
    if (texts_by_graphviz)
        for (const std::size_t i : placed_texts) boxes.push_back({at_100(scene.text(i).Width()), at_100(scene.text(i).Height())});
    std::vector<LayoutEdge> edges;
    std::vector<std::size_t> edge_of(scene.relationship_count(), SIZE_MAX);  // a relationship's edge; none for a loop
    edges.reserve(diagram.relationships.size());
    for (std::size_t k = 0; k < diagram.relationships.size(); ++k)
        if (const DiagramRelationship& r = diagram.relationships[k]; r.from != r.to) edge_of[k] = edges.size(), edges.push_back({r.from, r.to});
    // Each try starts from the ends and middles the file gave.
    std::vector<std::array<int, 3>> given;
    for (std::size_t k = 0; k < scene.relationship_count(); ++k) {
        const TRelacionamento& line = scene.relationship(k);
        given.push_back({line.GetConnection(1)->perc(), line.GetConnection(2)->perc(), line.meioperc()});
    }

    // Where Graphviz puts the boxes for `graph`.
    const auto positions_for = [&](const std::vector<LayoutEdge>& graph) {
        std::vector<LayoutPosition> positions = auto_layout(boxes, graph, options);
        if (layout_engine_for(boxes, options) == LayoutEngine::sfdp) fold_long_layout(positions, boxes, options);
        return positions;
    };
    // The scene laid out at those positions, the ends, middles and captions chosen anew from the file's.
    const auto place = [&](const std::vector<LayoutPosition>& positions) {
        for (std::size_t k = 0; k < scene.relationship_count(); ++k) {
            TRelacionamento& line = scene.relationship(k);
            restore_perc(*line.GetConnection(1), given[k][0]);
            restore_perc(*line.GetConnection(2), given[k][1]);
            line.Setmeioperc(given[k][2]);
            if (const auto& c = diagram.relationships[k].caption; c && c->shape.left == 0 && c->shape.top == 0)
                scene.place_relationship_caption(k, {0, 0});
        }
        std::vector<std::optional<TPoint>> entities(scene.entity_count()), texts(scene.text_count());
        for (std::size_t i = 0; i < scene.entity_count(); ++i)
            entities[i] = TPoint{positions[i].left + entity_indent[i], positions[i].top};
        if (texts_by_graphviz) {
            for (std::size_t k = 0; k < placed_texts.size(); ++k) {
                const LayoutPosition& p = positions[k];
                texts[placed_texts[k]] = TPoint{p.left, p.top};
            }
        } else {
            // Beside the entities, along the shorter side of their bounding box so that the picture grows
            // towards square: a column to the right of a tall diagram, a row below a wide one.
            long long right = 0, bottom = 0;
            for (std::size_t i = 0; i < scene.entity_count(); ++i) {
                right = std::max<long long>(right, positions[i].left + boxes[i].width);
                bottom = std::max<long long>(bottom, positions[i].top + boxes[i].height);
            }
            const bool below = right - options.margin > bottom - options.margin;
            long long x = below ? options.margin : right + options.spacing;
            long long y = below ? bottom + options.spacing : options.margin;
            for (const std::size_t i : placed_texts) {
                texts[i] = TPoint{static_cast<int>(x), static_cast<int>(y)};
                if (below) x += at_100(scene.text(i).Width()) + options.spacing;
                else y += at_100(scene.text(i).Height()) + options.spacing / 2;
            }
        }
        scene.arrange(entities, texts);
        for (std::size_t i = 0; i < scene.entity_count(); ++i)
            if (moved_caption[i]) {
                const TEntidade& e = scene.entity(i);
                scene.place_entity_caption(i, {e.Left() + *moved_caption[i], e.Top() + e.Height() + kCaptionGap});
            }
        spread_ends(scene);
        choose_middles(scene);
        clear_routes(scene);
        move_boxes_off_lines(scene);
        place_captions_beside_lines(scene, diagram);
    };
    std::vector<LayoutPosition> best_positions = positions_for(edges);
    place(best_positions);
    // Lines that still run through a box they do not join: dot is asked to keep those relationships
    // straight (and those of the tries before), and a layout is kept only where it reads better. Each
    // try is a whole layout again, so larger diagrams get none.
    if (layout_engine_for(boxes, options) != LayoutEngine::dot || scene.entity_count() > kMostStraightened) return;
    LayoutMeasure best = measure_layout(scene), last = best;
    std::vector<LayoutEdge> tried = edges;
    bool last_is_best = true;
    for (int round = 0; round < kStraighteningRounds && best.lines_through_boxes > 0; ++round) {
        for (const std::size_t k : last.blocked_lines)
            if (edge_of[k] != SIZE_MAX) tried[edge_of[k]].straight = true;
        std::vector<LayoutPosition> positions = positions_for(tried);
        place(positions);
        last = measure_layout(scene);
        last_is_best = reads_better(last, best);
        if (last_is_best) best = last, best_positions = std::move(positions);
    }
    // The best try's boxes again; Graphviz is not asked a second time.
    if (!last_is_best) place(best_positions);
}
