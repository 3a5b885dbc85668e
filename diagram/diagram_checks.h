#pragma once

#include <string>

#include "diagram/diagram.h"

// The rules a diagram meets whichever form it was read from (JSON, or a stored diagram, whose stream
// can say more than the diagram format holds). Messages name the items and keys as the JSON form names
// them, so that a diagram is refused alike in every form.

// Throws DiagramError naming `source`, the item and the key for the first problem, in two rounds over
// the diagram in file order: first every value (each text one that Windows-1252 defines, without line
// breaks where a name stands; each number, index and bit within what the format holds), then the
// names (each record named, no two columns of an entity and no two tables of the diagram that the
// generated code would name alike).
void check_diagram(const Diagram& diagram, const std::string& source);

// The name a database or a file system sees for a column or a table, for telling apart two names that
// would collide there: sanitised, letter case ignored.
std::string generated_name_identity(std::string name);
