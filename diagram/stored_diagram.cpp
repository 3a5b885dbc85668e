#include "diagram/stored_diagram.h"

#include <cstdint>
#include <cstdlib>
#include <limits>
#include <map>
#include <memory>
#include <unordered_map>
#include <unordered_set>

#include "platform/utf8_cp1252.h"
#include "model/diagram_document.h"
#include "model/relacionamento.h"
#include "model/texto.h"
#include "platform/components/component_reader.h"
#include "platform/components/streaming.h"
#include "platform/formfile/binary.h"
#include "platform/formfile/form_file_error.h"
#include "platform/formfile/text.h"
#include "platform/identifier.h"
#include "plugin/entidade.h"
#include "shapes/text_shape.h"

using formfile::ObjectNode;
using formfile::PropertyEntry;
using formfile::Value;

namespace {

constexpr const char* kRootName = kStoredDiagramRootName.data();  // a literal: ends with NUL

// ---------------------------------------------------------------------------------------------
// Writing

// Generated component names: a prefix and the first free number, skipping names already taken (the
// relationships' own), letter case ignored as the component model compares names.
class NameSource {
public:
    bool take(const std::string& name) { return taken_.insert(IdentKey(name)).second; }
    std::string next(const char* prefix) {
        int& counter = counters_[prefix];
        for (;;) {
            std::string name = prefix + std::to_string(++counter);
            if (take(name)) return name;
        }
    }

private:
    std::unordered_set<std::string> taken_;
    std::map<std::string, int> counters_;
};

PropertyEntry* entry(ObjectNode& node, std::string_view name) {
    for (PropertyEntry& e : node.properties)
        if (SameIdent(e.name, name)) return &e;
    return nullptr;
}

// The component writer leaves a font's empty name out, which reads back as the font's initial name
// (Arial); the stored diagram writes it as ''. Applied to every object whose fonts were written.
void keep_empty_font_names(ObjectNode& node) {
    for (std::size_t i = 0; i < node.properties.size(); ++i) {
        const std::string& name = node.properties[i].name;
        if (name.size() < 7 || !SameIdent(std::string_view(name).substr(name.size() - 7), ".Height")) continue;
        const std::string font = name.substr(0, name.size() - 7);
        if (!entry(node, font + ".Charset") || entry(node, font + ".Name")) continue;
        node.properties.insert(node.properties.begin() + static_cast<std::ptrdiff_t>(i) + 1,
                               {font + ".Name", Value::string_value("")});
    }
}

void put_integer(ObjectNode& node, const char* name, std::int64_t value) {
    if (PropertyEntry* e = entry(node, name)) e->value = Value::integer_value(value);
    else node.properties.push_back({name, Value::integer_value(value)});
}

// What the shapes would change on their way into the stream, and the stream must carry as the diagram
// gives it: bounds (a text box fits them to its text) and a relationship end's perc (the connection
// keeps it as a single-precision fraction, and most values read back one lower).
struct ExactValues {
    std::unordered_map<std::string, ShapeBounds> bounds;  // by component name
    std::unordered_map<std::string, bool> autosize;       // text boxes
    std::unordered_map<std::string, std::pair<std::int32_t, std::int32_t>> percs;
};

// A text box with Autosize on measures its text in its font as soon as it stands on the diagram; storing
// measures nothing (a font need not be installed to be stored), so the box is built with it off and the
// stream gets the diagram's setting.
void fill_text_box(TnoxTextShape& shape, const DiagramTextBox& box, ExactValues& exact) {
    shape.SetAutosize(false);
    if (box.font) shape.SetFont(*box.font);
    shape.SetText(box.text);
    exact.bounds[shape.Name()] = box.shape;
    exact.autosize[shape.Name()] = box.autosize;
}

tnoxCaption* make_caption(TDiagramDocument& root, const DiagramCaption& caption, NameSource& names, ExactValues& exact) {
    auto* shape = new tnoxCaption(&root);
    shape->SetName(names.next("Legenda"));
    fill_text_box(*shape, caption, exact);
    return shape;
}

// A copy of the diagram's entity owned by `root`: its own stream read back, which also proves that
// the entity's stored form holds all of it.
TEntidade* copy_entity(const TEntidade& entity, TComponent* root, const std::string& name) {
    ObjectNode node = stream_component(entity);
    node.name = name;
    // Shapes are stored at 100 %; a caption is the diagram's, made beside the copy.
    std::erase_if(node.properties,
                  [](const PropertyEntry& e) { return SameIdent(e.name, "Caption") || SameIdent(e.name, "Escala"); });
    keep_empty_font_names(node);
    return static_cast<TEntidade*>(read_component(node, root).release());
}

std::string relationship_place(const std::string& destination, std::size_t index, const std::string& name) {
    return destination + ": relationship \"" + cp1252_to_utf8(name) + "\" (#" + std::to_string(index + 1) + ")";
}

// Every place and size within the ranges the readers take, so the shapes never compute beyond 32 bits.
void check_coordinates(const Diagram& diagram, const std::string& destination) {
    const auto check = [](const ShapeBounds& bounds, const std::string& place, const char* shape_key) {
        if (const auto bad = coordinate_out_of_range(bounds))
            throw DiagramError(place + ": \"" + shape_key + "." + bad->key + "\" " + bad->problem());
    };
    for (std::size_t i = 0; i < diagram.entities.size(); ++i) {
        const DiagramEntity& item = diagram.entities[i];
        const std::string place = destination + ": entity \"" + cp1252_to_utf8(item.entity->entidade().view()) + "\" (#" +
                                  std::to_string(i + 1) + ")";
        check(item.shape, place, "shape");
        if (item.caption) check(item.caption->shape, place, "caption.shape");
    }
    for (std::size_t i = 0; i < diagram.relationships.size(); ++i)
        if (const DiagramRelationship& item = diagram.relationships[i]; item.caption)
            check(item.caption->shape, relationship_place(destination, i, item.name), "caption.shape");
    for (std::size_t i = 0; i < diagram.texts.size(); ++i)
        check(diagram.texts[i].shape, destination + ": text #" + std::to_string(i + 1), "shape");
}

ObjectNode stored_node(const Diagram& diagram, const std::string& destination) {
    auto root = std::make_unique<TDiagramDocument>(nullptr);
    root->SetName(kRootName);
    root->SetNomeProjeto(diagram.project);
    root->SetNomeServidor(diagram.server);
    root->SetEscala(diagram.escala);

    NameSource names;
    names.take(kRootName);
    for (std::size_t i = 0; i < diagram.relationships.size(); ++i) {
        const std::string& name = diagram.relationships[i].name;
        if (!IsValidIdent(name) || name.size() > 255)
            throw DiagramError(relationship_place(destination, i, name) +
                               ": a stored diagram names a relationship by an identifier (a letter or _, then "
                               "letters, digits and _), which this name is not");
        if (!names.take(name))
            throw DiagramError(relationship_place(destination, i, name) +
                               ": another relationship or the diagram has this name (letter case ignored)");
    }

    check_coordinates(diagram, destination);

    ExactValues exact;
    std::vector<TEntidade*> entities;
    try {
        for (const DiagramEntity& source : diagram.entities) {
            TEntidade* entity = copy_entity(*source.entity, root.get(), names.next("Entidade"));
            entity->SetParent(root.get());
            entity->SetBounds(source.shape.left, source.shape.top, source.shape.width, source.shape.height);
            exact.bounds[entity->Name()] = source.shape;
            if (source.caption) entity->SetCaption(make_caption(*root, *source.caption, names, exact));
            entities.push_back(entity);
        }
    } catch (const EComponentError& e) {
        throw DiagramError(destination + ": entity #" + std::to_string(entities.size() + 1) + ": " +
                           cp1252_to_utf8(e.what()));
    }
    for (const DiagramRelationship& source : diagram.relationships) {
        auto* line = new TRelacionamento(root.get());
        line->SetParent(root.get());
        line->SetName(source.name);
        line->SetRelacao(source.relacao);
        line->SetChave(source.chave);
        line->Setmeioperc(source.meioperc);
        line->LineColour = source.line_colour;
        line->SetLineWidth(source.line_width);
        auto lines = std::make_unique<StringList>();
        for (const std::string& text : source.descricao) lines->AddObject(HostString(text), nullptr);
        line->SetDescricao(std::move(lines));
        TnoxConnection start, end;
        start.SetShape(entities.at(source.from));
        start.SetPerc(source.start_perc);
        end.SetShape(entities.at(source.to));
        end.SetPerc(source.end_perc);
        line->Connect(&start, &end);
        if (source.caption) line->SetCaption(make_caption(*root, *source.caption, names, exact));
        exact.percs[source.name] = {source.start_perc, source.end_perc};
    }
    for (const DiagramText& source : diagram.texts) {
        auto* text = new Ttexto(root.get());
        text->SetName(names.next("Texto"));
        fill_text_box(*text, source, exact);  // before it stands on the surface, which would measure it
        text->SetParent(root.get());
    }

    ObjectNode node = stream_component(*root);
    for (ObjectNode& child : node.children) {
        keep_empty_font_names(child);
        if (const auto it = exact.bounds.find(child.name); it != exact.bounds.end()) {
            put_integer(child, "Left", it->second.left);
            put_integer(child, "Top", it->second.top);
            put_integer(child, "Width", it->second.width);
            put_integer(child, "Height", it->second.height);
        }
        if (const auto it = exact.autosize.find(child.name); it != exact.autosize.end()) {
            // Built with it off, the box stores False in its place; True is the default, left out.
            if (it->second)
                std::erase_if(child.properties, [](const PropertyEntry& e) { return SameIdent(e.name, "Autosize"); });
        }
        if (const auto it = exact.percs.find(child.name); it != exact.percs.end()) {
            put_integer(child, "StartConn.perc", it->second.first);
            put_integer(child, "EndConn.perc", it->second.second);
        }
    }
    return node;
}

}  // namespace

DiagramFileKind diagram_file_kind(std::string_view content) {
    if (formfile::looks_binary(content)) return DiagramFileKind::StoredBinary;
    if (content.starts_with("\xEF\xBB\xBF")) content.remove_prefix(3);
    std::size_t i = 0;
    while (i < content.size() && (content[i] == ' ' || content[i] == '\t' || content[i] == '\r' || content[i] == '\n')) ++i;
    const std::string_view word = content.substr(i, 6);
    const bool ends = i + 6 >= content.size() || content[i + 6] == ' ' || content[i + 6] == '\t';
    return SameIdent(word, "object") && ends ? DiagramFileKind::StoredText : DiagramFileKind::Json;
}

std::string stored_diagram_bytes(const Diagram& diagram, const std::string& destination) {
    try {
        return formfile::write_stream(stored_node(diagram, destination));
    } catch (const formfile::FormFileError& e) {
        throw DiagramError(destination + ": " + e.what());
    }
}

std::string stored_diagram_text(const Diagram& diagram, const std::string& destination, bool lf) {
    try {
        return formfile::write_text(stored_node(diagram, destination), !lf);
    } catch (const formfile::FormFileError& e) {
        throw DiagramError(destination + ": " + e.what());
    }
}
