#include "diagram/scene_layout.h"

#include <algorithm>

#include "diagram/scene.h"
#include "model/texto.h"
#include "shapes/text_shape.h"

namespace {

constexpr int kCaptionGap = 5;  // a caption stands this far below its entity

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
}
