#pragma once

#include <cstddef>
#include <string>
#include <vector>

#include "diagram/diagram.h"

// The rules a diagram meets whichever form it was read from (JSON, or a stored diagram, whose stream
// can say more than the diagram format holds). Messages name the items and keys as the JSON form names
// them, so that a diagram is refused alike in every form.

// Throws DiagramError naming `source`, the item and the key for the first problem, in two rounds over
// the diagram in file order: first every value (each text one that Windows-1252 defines, without line
// breaks where a name stands; each number, index and bit within what the format holds), then the
// names (each record named, no two columns of an entity and no two tables of the diagram that the
// generated code would name alike).
// A reader that refuses an entity's unnamed records and clashing column names as it reads the entity
// (in its own round, before the values) says so, and the names round checks only the tables.
enum class EntityNames { unchecked, checked_on_read };
void check_diagram(const Diagram& diagram, const std::string& source, EntityNames entity_names = EntityNames::unchecked);
// The same rules for the entities and relationships given (indices in ascending order) only, with the
// same messages: for an edit of a diagram that met them all, which changed nothing else and no table's
// name, so that checking it costs what it touched.
void check_diagram_items(const Diagram& diagram, const std::string& source, const std::vector<std::size_t>& entities,
                         const std::vector<std::size_t>& relationships);

// The name a database or a file system sees for a column or a table, for telling apart two names that
// would collide there: sanitised, letter case ignored.
std::string generated_name_identity(std::string name);
