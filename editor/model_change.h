#pragma once

#include <cstddef>
#include <memory>
#include <optional>
#include <variant>
#include <vector>

#include "diagram/diagram.h"

// One model edit as the items it changed, so that undoing and redoing it costs what it touched rather
// than a copy of the whole diagram. Every part holds the side of its item that the diagram does not:
// applying a part exchanges the two, so the same step undoes it (parts last first) and redoes it
// (first last), and nothing is rebuilt from text.
class ModelChange {
public:
    // Entity `entity`'s table (attributes, keys, names, fonts), the other version.
    struct Table {
        std::size_t entity;
        std::unique_ptr<TEntidade> other;
    };
    // The caption of entity or relationship `index`.
    struct Caption {
        bool of_relationship;
        std::size_t index;
        std::optional<DiagramCaption> other;
    };
    // An item at `index` that the part takes out of the diagram (`held` empty) or puts back there. An
    // entity leaving lowers the indices of the relationships after it; it must have none left itself.
    template <typename Item>
    struct Slot {
        std::size_t index;
        std::optional<Item> held;
    };
    using Part = std::variant<Table, Caption, Slot<DiagramEntity>, Slot<DiagramRelationship>, Slot<DiagramText>>;

    // Applies `part` to the diagram and keeps it.
    void apply(Diagram& diagram, Part part);
    // Keeps a part the caller has applied itself (the other version is the one before).
    void applied(Part part) { parts_.push_back(std::move(part)); }

    void undo(Diagram& diagram);
    void redo(Diagram& diagram);
    bool empty() const { return parts_.empty(); }

private:
    std::vector<Part> parts_;
};
