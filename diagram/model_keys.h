#pragma once

#include <cstddef>
#include <vector>

#include "diagram/diagram.h"

// The keys of a diagram's model as the system itself keeps them (docs/diagram-format.md, "Keys"): an
// entity's primary key is its attributes with the key bit, in list order (keys come first); a
// relationship's foreign key pairs the start entity's key attributes, in key order, with the end
// entity's attributes whose `origem` is the relationship's name (compared exactly, letter case
// counting, as the model does when it removes them), in list order. A relationship is told apart by
// its name alone, so self-references and several relationships between the same two entities each
// find their own attributes. Derived once, for everything that turns relationships into something
// else: checks, SQL dialects, the editor and importers.

// One pair of a foreign key: indices into TEntidade::atributos() of the start and the end entity.
struct ForeignKeyColumn {
    int parent_attribute;
    int child_attribute;
};

struct ModelForeignKey {
    std::size_t relationship = 0;  // index into Diagram::relationships
    std::size_t parent = 0;        // the start entity, whose key is referenced (index into Diagram::entities)
    std::size_t child = 0;         // the end entity, which holds the foreign-key attributes
    std::vector<ForeignKeyColumn> columns;  // in the parent's key order; only the matched pairs
    std::vector<int> unmatched_parent;      // the parent's key attributes past the last pair
    std::vector<int> surplus_child;         // the child's `origem` attributes past the last pair

    // Every key attribute of the parent has its partner and no `origem` attribute is left over: the
    // foreign key a database can be told about.
    bool complete() const { return !columns.empty() && unmatched_parent.empty() && surplus_child.empty(); }
};

// An attribute whose `origem` names no relationship that ends at its entity.
struct StrayOrigin {
    std::size_t entity = 0;  // index into Diagram::entities
    int attribute = 0;       // index into TEntidade::atributos()
};

struct ModelKeys {
    std::vector<std::vector<int>> primary_keys;  // per entity, its key attributes in key order
    std::vector<ModelForeignKey> foreign_keys;   // one per relationship, in diagram order
    std::vector<StrayOrigin> stray_origins;      // in entity order, then attribute order
};

// The keys of a loaded diagram (one whose relationships' ends name its entities, as load_diagram
// ensures). Linear in the number of attributes and relationships.
ModelKeys model_keys(const Diagram& diagram);
