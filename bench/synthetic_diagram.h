#pragma once

#include <string>

// A synthetic diagram file for speed measurements: `entities` entities of `attributes` attributes each
// (at least 5), with a two-column primary key and two secondary keys per entity.
std::string synthetic_diagram_json(int entities, int attributes);
