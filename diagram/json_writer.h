#pragma once

#include <string>

#include "diagram/diagram.h"

// Writing a diagram back to the file format of docs/diagram-format.md, so that reading the file gives
// an equal diagram. Texts are converted from Windows-1252 to UTF-8; keys come in the documented order,
// indented by two blanks, values equal to their defaults left out, so the same diagram always gives the
// same bytes.

// The file's text. A value the format cannot hold (a text with a byte that Windows-1252 leaves undefined
// or with a line break where the format allows none, a bit or index the format has no name for) throws
// DiagramError naming `destination`, the item and the key; nothing is written then.
std::string diagram_to_json(const Diagram& diagram, const std::string& destination);

// Writes the diagram to `destination` by the host's output rules: "-" is standard output, a file is
// replaced as a whole or not at all. Throws DiagramError as above, std::runtime_error when the file
// cannot be written.
void save_diagram(const Diagram& diagram, const std::string& destination);
