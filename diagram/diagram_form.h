#pragma once

#include <string>
#include <string_view>

#include "diagram/diagram.h"
#include "diagram/stored_diagram.h"

// The form a diagram file has, so that what writes the diagram back (the editor's Save, `kzr40 layout`)
// can keep it: JSON, or a stored diagram, binary or as text with its line ends.
struct DiagramForm {
    DiagramFileKind kind = DiagramFileKind::Json;
    bool lf = false;  // a stored text whose lines end in LF alone
};

DiagramForm diagram_form_of(std::string_view content);

// The form of a diagram written back to `destination`: the one it was read in, unless the
// destination's name ends in ".json" (any letter case), which asks for JSON.
DiagramForm form_written_back(const DiagramForm& read, const std::string& destination);

// The diagram's bytes in `form`. What the form cannot hold throws DiagramError naming `destination`.
std::string diagram_bytes(const Diagram& diagram, const DiagramForm& form, const std::string& destination);
