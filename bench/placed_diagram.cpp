#include "bench/placed_diagram.h"

#include <string>

#include "bench/synthetic_diagram.h"

Diagram placed_diagram(int entities, int columns) {
    Diagram diagram = parse_diagram(synthetic_diagram_json(entities, 5), "synthetic");
    for (int i = 0; i < entities; ++i) {
        diagram.entities[static_cast<std::size_t>(i)].shape.left = 20 + kPlacedSpacing * (i % columns);
        diagram.entities[static_cast<std::size_t>(i)].shape.top = 20 + kPlacedSpacing * (i / columns);
    }
    for (int i = 0; i < entities; ++i) {
        DiagramRelationship r;
        r.name = "R" + std::to_string(i);
        r.from = static_cast<std::size_t>(i);
        r.to = static_cast<std::size_t>((i + (i % 2 == 0 ? 1 : columns)) % entities);
        r.relacao = static_cast<trelacao>(i % 4);
        diagram.relationships.push_back(std::move(r));
    }
    return diagram;
}
