#pragma once

#include <string>

#include "diagram/diagram.h"

// The JSON form of a diagram file (docs/diagram-format.md), for the loader (load_diagram.cpp), which
// tells it apart from the stored forms.

// Reads and checks the diagram text in `padded` (the text, then simdjson's padding), which it releases
// as soon as it is parsed. A UTF-8 byte-order mark at its start is skipped. Throws DiagramError naming
// `source` and the item at fault.
Diagram parse_json_diagram(std::string padded, const std::string& source);
