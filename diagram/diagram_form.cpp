#include "diagram/diagram_form.h"

#include "diagram/json_writer.h"
#include "platform/ascii_case.h"

DiagramForm diagram_form_of(std::string_view content) {
    const DiagramFileKind kind = diagram_file_kind(content);
    return {kind, kind == DiagramFileKind::StoredText && content.find("\r\n") == std::string_view::npos};
}

DiagramForm form_written_back(const DiagramForm& read, const std::string& destination) {
    const std::string_view extension = ".json";
    const bool json = destination.size() > extension.size() &&
                      AsciiLowerCase(destination.substr(destination.size() - extension.size())) == extension;
    return json ? DiagramForm{} : read;
}

std::string diagram_bytes(const Diagram& diagram, const DiagramForm& form, const std::string& destination) {
    switch (form.kind) {
        case DiagramFileKind::StoredBinary: return stored_diagram_bytes(diagram, destination);
        case DiagramFileKind::StoredText: return stored_diagram_text(diagram, destination, form.lf);
        case DiagramFileKind::Json: break;
    }
    return diagram_to_json(diagram, destination);
}
