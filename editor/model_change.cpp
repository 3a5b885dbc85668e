// The parts of a model edit, each exchanged between the diagram and the step that keeps it.

#include "editor/model_change.h"

#include <stdexcept>
#include <utility>

namespace {

template <typename Item>
void exchange(std::vector<Item>& items, ModelChange::Slot<Item>& slot) {
    if (slot.held) {
        if (slot.index > items.size()) throw std::logic_error("an undo step puts an item back beyond the end");
        items.insert(items.begin() + static_cast<std::ptrdiff_t>(slot.index), std::move(*slot.held));
        slot.held.reset();
    } else {
        slot.held.emplace(std::move(items.at(slot.index)));
        items.erase(items.begin() + static_cast<std::ptrdiff_t>(slot.index));
    }
}

void exchange(Diagram& diagram, ModelChange::Part& part) {
    if (auto* table = std::get_if<ModelChange::Table>(&part)) {
        std::swap(diagram.entities.at(table->entity).entity, table->other);
    } else if (auto* caption = std::get_if<ModelChange::Caption>(&part)) {
        std::optional<DiagramCaption>& held = caption->of_relationship ? diagram.relationships.at(caption->index).caption
                                                                       : diagram.entities.at(caption->index).caption;
        std::swap(held, caption->other);
    } else if (auto* entity = std::get_if<ModelChange::Slot<DiagramEntity>>(&part)) {
        // The relationships name their entities by index: those past the slot move with it.
        const bool entering = entity->held.has_value();
        if (!entering)
            for (const DiagramRelationship& r : diagram.relationships)
                if (r.from == entity->index || r.to == entity->index)
                    throw std::logic_error("an entity leaves the diagram while a relationship still joins it");
        for (DiagramRelationship& r : diagram.relationships)
            for (std::size_t* end : {&r.from, &r.to})
                if (*end >= entity->index + (entering ? 0 : 1)) *end = entering ? *end + 1 : *end - 1;
        exchange(diagram.entities, *entity);
    } else if (auto* relationship = std::get_if<ModelChange::Slot<DiagramRelationship>>(&part)) {
        exchange(diagram.relationships, *relationship);
    } else {
        exchange(diagram.texts, std::get<ModelChange::Slot<DiagramText>>(part));
    }
}

}  // namespace

void ModelChange::apply(Diagram& diagram, Part part) {
    exchange(diagram, part);
    parts_.push_back(std::move(part));
}

void ModelChange::undo(Diagram& diagram) {
    for (auto part = parts_.rbegin(); part != parts_.rend(); ++part) exchange(diagram, *part);
}

void ModelChange::redo(Diagram& diagram) {
    for (Part& part : parts_) exchange(diagram, part);
}
