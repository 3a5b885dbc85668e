#pragma once

#include <string>
#include <string_view>

#include "diagram/diagram.h"

// Stored diagrams: a diagram as a component stream, the form the diagram's editor keeps it in, binary
// ("TPF0") or as text. The root is a TDiagramDocument holding the project and server names and the
// zoom; its children are the entities (records included), their captions, the relationships and the
// free texts, all at 100 %. See docs/stored-diagrams.md.

enum class DiagramFileKind { Json, StoredBinary, StoredText };

// Told apart by content: a binary stream starts with "TPF0" (or a form file's resource header), a text
// with the keyword "object" (blanks and a UTF-8 byte-order mark before it allowed); anything else is
// taken for JSON.
DiagramFileKind diagram_file_kind(std::string_view content);

// The stored form of `diagram`. Shapes are named Entidade1, Legenda1, Texto1 ... in diagram order;
// a relationship is named by its own name, which must therefore be an identifier, unique among the
// relationships (letter case ignored). What a stored diagram cannot hold throws DiagramError naming
// `destination` and the item; the text form uses CR LF unless `lf`.
// The root's name, which no relationship may take either.
inline constexpr std::string_view kStoredDiagramRootName = "Diagrama";
std::string stored_diagram_bytes(const Diagram& diagram, const std::string& destination);
std::string stored_diagram_text(const Diagram& diagram, const std::string& destination, bool lf = false);

// Reads a stored diagram, binary or text, and checks it as a diagram file is checked: the result equals
// what the same diagram read from its JSON form gives. Anything unreadable (a damaged stream, an unknown
// class or property, a record count that differs from its list, a shape the diagram format has no
// place for) throws DiagramError naming `source`, the object and the property.
Diagram parse_stored_diagram(std::string_view content, const std::string& source);
