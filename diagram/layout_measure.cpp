#include "diagram/layout_measure.h"

#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <map>
#include <vector>

#include "diagram/scene.h"
#include "model/relacionamento.h"
#include "model/texto.h"
#include "shapes/text_shape.h"
#include "shapes/connection.h"

namespace {

bool overlap(const TRect& a, const TRect& b) { return !IsRectEmpty(IntersectRect(a, b)); }

constexpr std::size_t kNoLine = SIZE_MAX;

// One straight piece of a route, in surface pixels: from (x0, y0) to (x1, y1), x0 <= x1, y0 <= y1.
struct Segment {
    std::size_t owner;
    int x0, y0, x1, y1;
    bool horizontal() const { return y0 == y1; }
};

}  // namespace

std::vector<TRect> line_segments(const TRelacionamento& line) {
    const auto segments_of = [&](const auto& route) {
        std::vector<TRect> pixels;
        for (std::size_t k = 0; k + 1 < route.size(); ++k) {
            const TPoint a{line.Left() + route[k].X, line.Top() + route[k].Y}, b{line.Left() + route[k + 1].X, line.Top() + route[k + 1].Y};
            if (a != b) pixels.push_back({std::min(a.X, b.X), std::min(a.Y, b.Y), std::max(a.X, b.X) + 1, std::max(a.Y, b.Y) + 1});
        }
        return pixels;
    };
    return line.IsLoop() ? segments_of(line.LoopRoute()) : segments_of(line.Route());
}

LayoutMeasure measure_layout(const DiagramScene& scene) {
    LayoutMeasure m;
    std::vector<TRect> boxes;
    for (std::size_t i = 0; i < scene.entity_count(); ++i) boxes.push_back(scene.entity(i).BoundsRect());

    std::vector<TRect> captions;
    std::vector<std::size_t> caption_line;  // the relationship a caption labels; kNoLine for an entity's
    for (std::size_t i = 0; i < scene.entity_count(); ++i)
        if (const tnoxCaption* c = scene.entity_caption(i); c && c->Visible()) captions.push_back(c->BoundsRect()), caption_line.push_back(kNoLine);
    for (std::size_t i = 0; i < scene.relationship_count(); ++i)
        if (const tnoxCaption* c = scene.relationship_caption(i); c && c->Visible()) captions.push_back(c->BoundsRect()), caption_line.push_back(i);
    for (std::size_t i = 0; i < captions.size(); ++i) {
        for (const TRect& box : boxes) m.caption_box_overlaps += overlap(captions[i], box);
        for (std::size_t j = i + 1; j < captions.size(); ++j) m.caption_overlaps += overlap(captions[i], captions[j]);
    }

    // The routes, and which boxes each joins.
    std::map<const TControl*, std::size_t> box_of;
    for (std::size_t i = 0; i < scene.entity_count(); ++i) box_of[&scene.entity(i)] = i;
    std::vector<Segment> segments;
    std::map<std::pair<int, int>, std::size_t> ends;
    for (std::size_t r = 0; r < scene.relationship_count(); ++r) {
        const TRelacionamento& line = scene.relationship(r);
        const auto* start = line.GetConnection(1)->Shape();
        const auto* end = line.GetConnection(2)->Shape();
        if (!start || !end) continue;
        const auto on_caption = [&](const TRect& pixels) {
            for (std::size_t c = 0; c < captions.size(); ++c)
                if (caption_line[c] != r && overlap(pixels, captions[c])) ++(caption_line[c] == kNoLine ? m.entity_captions_on_lines : m.captions_on_lines);
        };
        const std::vector<TRect> pieces = line_segments(line);
        if (start == end) {
            // A loop: only its own segments are looked at, for the captions they cross.
            for (const TRect& pixels : pieces) on_caption(pixels);
            continue;
        }
        const auto& route = line.Route();
        ++ends[{line.Left() + route.front().X, line.Top() + route.front().Y}];
        ++ends[{line.Left() + route.back().X, line.Top() + route.back().Y}];
        const std::size_t from = box_of.at(start), to = box_of.at(end);
        const std::size_t through_before = m.lines_through_boxes;
        for (const TRect& pixels : pieces) {
            segments.push_back({r, pixels.Left, pixels.Top, pixels.Right - 1, pixels.Bottom - 1});
            on_caption(pixels);
            // Inside a box: through its inside, the frame excluded.
            for (std::size_t e = 0; e < boxes.size(); ++e) {
                if (e == from || e == to) continue;
                const TRect& b = boxes[e];
                m.lines_through_boxes += overlap(pixels, {b.Left + 1, b.Top + 1, b.Right - 1, b.Bottom - 1});
            }
        }
        if (m.lines_through_boxes > through_before) m.blocked_lines.push_back(r);
    }
    for (const auto& [point, count] : ends) m.shared_ends += count > 1 ? count - 1 : 0;

    // Lines on one row or column sharing a stretch; crossings of a row's line with a column's.
    std::map<int, std::vector<const Segment*>> rows, columns;
    std::vector<const Segment*> horizontal, vertical;
    for (const Segment& s : segments) {
        if (s.horizontal()) rows[s.y0].push_back(&s), horizontal.push_back(&s);
        else columns[s.x0].push_back(&s), vertical.push_back(&s);
    }
    const auto shared = [&](const std::map<int, std::vector<const Segment*>>& lines, bool along_x) {
        for (const auto& [at, list] : lines)
            for (std::size_t i = 0; i < list.size(); ++i)
                for (std::size_t j = i + 1; j < list.size(); ++j) {
                    if (list[i]->owner == list[j]->owner) continue;
                    const int lo = along_x ? std::max(list[i]->x0, list[j]->x0) : std::max(list[i]->y0, list[j]->y0);
                    const int hi = along_x ? std::min(list[i]->x1, list[j]->x1) : std::min(list[i]->y1, list[j]->y1);
                    m.coincident_segments += hi > lo;
                }
    };
    shared(rows, true);
    shared(columns, false);
    for (const Segment* h : horizontal)
        for (const Segment* v : vertical)
            m.crossings += h->owner != v->owner && v->x0 > h->x0 && v->x0 < h->x1 && h->y0 > v->y0 && h->y0 < v->y1;

    const TRect all = scene.bounds();
    if (RectHeight(all) > 0) m.aspect_ratio = static_cast<double>(RectWidth(all)) / RectHeight(all);
    if (!boxes.empty()) {
        // The entities with their captions.
        std::vector<TRect> parts = boxes;
        for (std::size_t i = 0; i < scene.entity_count(); ++i)
            if (const tnoxCaption* c = scene.entity_caption(i); c && c->Visible()) parts.push_back(c->BoundsRect());
        TRect diagram = parts.front();
        for (const TRect& b : parts)
            diagram = {std::min(diagram.Left, b.Left), std::min(diagram.Top, b.Top), std::max(diagram.Right, b.Right),
                       std::max(diagram.Bottom, b.Bottom)};
        for (std::size_t i = 0; i < scene.text_count(); ++i) {
            const TRect t = scene.text(i).BoundsRect();
            const int dx = std::max({0, diagram.Left - t.Right, t.Left - diagram.Right});
            const int dy = std::max({0, diagram.Top - t.Bottom, t.Top - diagram.Bottom});
            m.free_text_distance = std::max(m.free_text_distance, std::max(dx, dy));
        }
    }
    return m;
}

std::string describe_layout_measure(const LayoutMeasure& m) {
    char aspect[32];
    std::snprintf(aspect, sizeof aspect, "%.2f", m.aspect_ratio);
    return "caption/box overlaps: " + std::to_string(m.caption_box_overlaps) + "\n" +
           "caption/caption overlaps: " + std::to_string(m.caption_overlaps) + "\n" +
           "relationship captions on other lines: " + std::to_string(m.captions_on_lines) + "\n" +
           "entity captions on lines: " + std::to_string(m.entity_captions_on_lines) + "\n" +
           "lines through boxes they do not join: " + std::to_string(m.lines_through_boxes) + "\n" +
           "coincident line segments: " + std::to_string(m.coincident_segments) + "\n" +
           "relationship ends at one point: " + std::to_string(m.shared_ends) + "\n" +
           "line crossings: " + std::to_string(m.crossings) + "\n" +
           "aspect ratio (width/height): " + aspect + "\n" +
           "free text distance: " + std::to_string(m.free_text_distance) + " pixels\n";
}
