#pragma once

#include <string>

// A synthetic diagram file for speed measurements: `entities` entities of `attributes` attributes each
// (at least 5), with a two-column primary key and two secondary keys per entity. With `relationships`,
// also one relationship per entity: each entity's key goes to the next one (the last one's to the
// first, closing a cycle) as two more attributes, F1 and F2, whose `origem` names it.
std::string synthetic_diagram_json(int entities, int attributes, bool relationships = false);
