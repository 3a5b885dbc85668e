#include "diagram/scene_layout.h"

#include <algorithm>
#include <cmath>
#include <map>

#include "diagram/scene.h"
#include "model/relacionamento.h"
#include "model/texto.h"
#include "shapes/connection.h"
#include "shapes/text_shape.h"

namespace {

constexpr int kCaptionGap = 5;  // a caption stands this far below its entity

// Relationships that meet one side of a box get distinct places along it, evenly spread, in the order
// in which their other ends lie along that side; at one `perc` their lines and marks would coincide.
void spread_ends(DiagramScene& scene) {
    struct End {
        TnoxConnection* connection;
        long long far;  // twice the centre of the box at the other end, along the side
    };
    std::map<std::pair<const TnoxCustomShape*, int>, std::vector<End>> sides;
    for (std::size_t i = 0; i < scene.relationship_count(); ++i) {
        TRelacionamento& line = scene.relationship(i);
        TnoxConnection* start = line.GetConnection(1);
        TnoxConnection* end = line.GetConnection(2);
        if (!start->Shape() || !end->Shape() || start->Shape() == end->Shape()) continue;
        for (auto [near, other] : {std::pair{start, end}, std::pair{end, start}}) {
            const TnoxCustomShape& far = *other->Shape();
            const bool along_x = near->Side == csTop || near->Side == csBottom;
            const long long centre = along_x ? 2LL * far.Left() + far.Width() : 2LL * far.Top() + far.Height();
            sides[{near->Shape(), static_cast<int>(near->Side)}].push_back({near, centre});
        }
    }
    bool changed = false;
    for (auto& [side, ends] : sides) {
        if (ends.size() < 2) continue;
        std::stable_sort(ends.begin(), ends.end(), [](const End& a, const End& b) { return a.far < b.far; });
        const double n = static_cast<double>(ends.size());
        for (std::size_t k = 0; k < ends.size(); ++k)
            ends[k].connection->SetPerc(static_cast<int>(std::lround(100.0 * static_cast<double>(k + 1) / (n + 1))));
        changed = true;
    }
    if (changed) scene.arrange({}, {});
}

}  // namespace

bool needs_layout(const Diagram& diagram) {
    return std::all_of(diagram.entities.begin(), diagram.entities.end(),
                       [](const DiagramEntity& e) { return e.shape.left == 0 && e.shape.top == 0; });
}

void lay_out_scene(DiagramScene& scene, const Diagram& diagram, const LayoutOptions& options) {
    const auto at_100 = [&](int value) { return static_cast<std::int32_t>(static_cast<long long>(value) * 100 / scene.escala()); };
    std::vector<LayoutBox> boxes;
    std::vector<int> entity_indent;  // the entity's left within its box, when its caption is wider
    boxes.reserve(scene.entity_count() + scene.text_count());
    for (std::size_t i = 0; i < scene.entity_count(); ++i) {
        const TEntidade& e = scene.entity(i);
        LayoutBox box{at_100(e.Width()), at_100(e.Height())};
        int indent = 0;
        if (const tnoxCaption* caption = scene.entity_caption(i);
            caption && diagram.entities[i].caption->shape.left == 0 && diagram.entities[i].caption->shape.top == 0) {
            const int width = at_100(caption->Width());
            indent = std::max(0, (width - box.width) / 2);
            box.width = std::max(box.width, width);
            box.height += kCaptionGap + at_100(caption->Height());
        }
        boxes.push_back(box);
        entity_indent.push_back(indent);
    }
    std::vector<std::size_t> placed_texts;  // indexes of the free texts laid out
    for (std::size_t i = 0; i < scene.text_count(); ++i) {
        if (diagram.texts[i].shape.left != 0 || diagram.texts[i].shape.top != 0) continue;
        const Ttexto& t = scene.text(i);
        boxes.push_back({at_100(t.Width()), at_100(t.Height())});
        placed_texts.push_back(i);
    }
    std::vector<LayoutEdge> edges;
    edges.reserve(diagram.relationships.size());
    for (const DiagramRelationship& r : diagram.relationships)
        if (r.from != r.to) edges.push_back({r.from, r.to});

    const std::vector<LayoutPosition> positions = auto_layout(boxes, edges, options);
    std::vector<std::optional<TPoint>> entities(scene.entity_count()), texts(scene.text_count());
    for (std::size_t i = 0; i < scene.entity_count(); ++i)
        entities[i] = TPoint{positions[i].left + entity_indent[i], positions[i].top};
    for (std::size_t k = 0; k < placed_texts.size(); ++k) {
        const LayoutPosition& p = positions[scene.entity_count() + k];
        texts[placed_texts[k]] = TPoint{p.left, p.top};
    }
    scene.arrange(entities, texts);
    spread_ends(scene);
}
