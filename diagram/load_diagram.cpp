// Reading a diagram in any of its forms, JSON or stored, told apart by content (diagram_file_kind).

#include <cerrno>
#include <cstring>

#include <simdjson.h>

#include "diagram/diagram.h"
#include "diagram/diagram_form.h"
#include "diagram/json_reader.h"
#include "diagram/stored_diagram.h"
#include "platform/files/whole_file.h"

namespace {

std::string too_large() {
    return "is larger than " + std::to_string(kMaxDiagramBytes >> 20) + " MiB, the most a diagram file may hold";
}

}  // namespace

Diagram parse_diagram(std::string_view content, const std::string& source) {
    if (content.size() > kMaxDiagramBytes) throw DiagramError(source + ": " + too_large());
    if (diagram_file_kind(content) != DiagramFileKind::Json) return parse_stored_diagram(content, source);
    std::string text;
    text.reserve(content.size() + simdjson::SIMDJSON_PADDING);
    text.append(content).append(simdjson::SIMDJSON_PADDING, '\0');
    return parse_json_diagram(std::move(text), source);
}

Diagram load_diagram(const std::filesystem::path& path, DiagramForm* form) {
    const std::string name = input_name(path.string());
    std::string text;
    try {
        // Read with simdjson's padding in place, so that a large diagram is held once.
        text = read_whole_input(path.string(), kMaxDiagramBytes, simdjson::SIMDJSON_PADDING);
    } catch (const WholeFileError& e) {
        if (e.reason() == WholeFileError::Reason::TooLarge) throw DiagramError(name + ": " + too_large());
        const char* what = e.reason() == WholeFileError::Reason::CannotOpen ? ": cannot open: " : ": cannot read: ";
        throw DiagramError(name + what + std::strerror(e.error()));
    }
    const std::string_view content(text.data(), text.size() - simdjson::SIMDJSON_PADDING);
    if (form) *form = diagram_form_of(content);
    if (diagram_file_kind(content) != DiagramFileKind::Json) return parse_stored_diagram(content, name);
    return parse_json_diagram(std::move(text), name);
}
