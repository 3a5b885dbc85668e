#include "diagram/stored_diagram.h"

#include <algorithm>
#include <cstdint>
#include <cstdlib>
#include <limits>
#include <map>
#include <memory>
#include <optional>
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
#include "plugin/registros.h"
#include "shapes/text_shape.h"

using formfile::ObjectNode;
using formfile::PropertyEntry;
using formfile::Value;

namespace {

constexpr const char* kRootName = "Diagrama";

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

// Whether `name` is `prefix` then `suffix` (".Name"), letter case ignored.
bool is_path(std::string_view name, std::string_view prefix, std::string_view suffix) {
    return name.size() == prefix.size() + suffix.size() && SameIdent(name.substr(0, prefix.size()), prefix) &&
           SameIdent(name.substr(prefix.size()), suffix);
}

bool has_path(const ObjectNode& node, std::string_view prefix, std::string_view suffix) {
    return std::any_of(node.properties.begin(), node.properties.end(),
                       [&](const PropertyEntry& e) { return is_path(e.name, prefix, suffix); });
}

// The component writer leaves a font's empty name out, which reads back as the font's initial name
// (Arial); the stored diagram writes it as ''. Applied to every object whose fonts were written.
void keep_empty_font_names(ObjectNode& node) {
    constexpr std::string_view kHeight = ".Height";
    const auto font_of = [&](std::string_view name) {
        const bool height = name.size() > kHeight.size() && SameIdent(name.substr(name.size() - kHeight.size()), kHeight);
        return height ? name.substr(0, name.size() - kHeight.size()) : std::string_view();
    };
    const auto nameless = [&](std::string_view font) {
        return !font.empty() && has_path(node, font, ".Charset") && !has_path(node, font, ".Name");
    };
    // Most objects need nothing and are only looked at; the others are rebuilt once rather than
    // shifted per font.
    std::size_t first = 0;
    while (first < node.properties.size() && !nameless(font_of(node.properties[first].name))) ++first;
    if (first == node.properties.size()) return;
    std::vector<std::string> names(node.properties.size());  // the entry to add after each, if any
    for (std::size_t i = first; i < node.properties.size(); ++i)
        if (const std::string_view font = font_of(node.properties[i].name); nameless(font))
            names[i] = std::string(font) + ".Name";
    std::vector<PropertyEntry> properties;
    properties.reserve(node.properties.size() + 3);
    for (std::size_t i = 0; i < node.properties.size(); ++i) {
        properties.push_back(std::move(node.properties[i]));
        if (!names[i].empty()) properties.push_back({std::move(names[i]), Value::string_value("")});
    }
    node.properties = std::move(properties);
}

void put_integer(ObjectNode& node, const char* name, std::int64_t value) {
    if (PropertyEntry* e = entry(node, name)) e->value = Value::integer_value(value);
    else node.properties.push_back({name, Value::integer_value(value)});
}

// What the shapes would change on their way into the stream, and the stream must carry as the diagram
// gives it: bounds (a text box fits them to its text) and a relationship end's perc (the connection
// keeps it as a single-precision fraction, and most values read back one lower).
struct ExactValue {
    std::optional<ShapeBounds> bounds;
    std::optional<bool> autosize;  // text boxes
    std::optional<std::pair<std::int32_t, std::int32_t>> percs;  // relationships
};
using ExactValues = std::unordered_map<std::string, ExactValue>;  // by component name, one lookup each

// A text box with Autosize on measures its text in its font as soon as it stands on the diagram; storing
// measures nothing (a font need not be installed to be stored), so the box is built with it off and the
// stream gets the diagram's setting.
void fill_text_box(TnoxTextShape& shape, const DiagramTextBox& box, ExactValues& exact) {
    shape.SetAutosize(false);
    if (box.font) shape.SetFont(*box.font);
    shape.SetText(box.text);
    ExactValue& value = exact[shape.Name()];
    value.bounds = box.shape;
    value.autosize = box.autosize;
}

tnoxCaption* make_caption(TDiagramDocument& root, const DiagramCaption& caption, NameSource& names, ExactValues& exact) {
    auto* shape = new tnoxCaption(&root);
    shape->SetName(names.next("Legenda"));
    fill_text_box(*shape, caption, exact);
    return shape;
}

// The diagram's entity as stored on the document, under `name`: its own stream, without the caption
// and zoom that the document gives it (the zoom entry stays in place for the document's value).
ObjectNode entity_node(const TEntidade& entity, const std::string& name) {
    ObjectNode node = stream_component(entity);
    node.name = name;
    std::erase_if(node.properties, [](const PropertyEntry& e) { return SameIdent(e.name, "Caption"); });
    keep_empty_font_names(node);
    return node;
}

// Reading a stream pairs the attribute texts with their records and puts the key attributes first, so
// an entity streams again as it was streamed once read only when its keys already stand first, as
// every entity read from a file has them.
bool keys_first(const TEntidade& entity) {
    const StringList& attributes = entity.atributos();
    bool others = false;
    for (int i = 0; i < attributes.Count(); ++i) {
        const auto* record = static_cast<const TAtributo*>(attributes.Objects(i));
        const bool key = record && (record->chave & kChavePrimaria) != 0;
        if (key && others) return false;
        others = others || !key;
    }
    return true;
}

// An entity on the document. When its stream is known to read back as it is (`stored`), the document
// holds a bare entity of the same name and bounds for the relationships to attach to, and the stream
// stands in for it when the document is streamed; otherwise the document holds a copy read from the
// stream, which streams as the copy is.
TEntidade* place_entity(const TEntidade& source, TComponent* root, const std::string& name,
                        std::unordered_map<std::string, ObjectNode>& stored) {
    ObjectNode node = entity_node(source, name);
    if (keys_first(source) && std::any_of(node.properties.begin(), node.properties.end(),
                                          [](const PropertyEntry& e) { return SameIdent(e.name, "Escala"); })) {
        auto* entity = new TEntidade(root);
        entity->SetName(name);
        stored.emplace(name, std::move(node));
        return entity;
    }
    std::erase_if(node.properties, [](const PropertyEntry& e) { return SameIdent(e.name, "Escala"); });
    return static_cast<TEntidade*>(read_component(node, root).release());
}

// The stored entity's stream with what the document gives the bare entity `placed` that stands for it,
// as the bare entity's own stream would carry it: the zoom's value (always stored), and the caption
// right before it.
ObjectNode with_document_values(ObjectNode stored, const TEntidade& placed) {
    const auto zoom = std::find_if(stored.properties.begin(), stored.properties.end(),
                                   [](const PropertyEntry& e) { return SameIdent(e.name, "Escala"); });
    zoom->value = Value::integer_value(placed.Escala());
    if (const tnoxCaption* caption = placed.Caption()) stored.properties.insert(zoom, {"Caption", Value::ident(caption->Name())});
    return stored;
}

std::string relationship_place(const std::string& destination, std::size_t index, const std::string& name) {
    return destination + ": relationship \"" + cp1252_to_utf8(name) + "\" (#" + std::to_string(index + 1) + ")";
}

// What renaming a relationship also asks: its foreign keys name it in `origem`, compared exactly.
std::string foreign_keys_to_rename(const Diagram& diagram, const std::string& name) {
    std::size_t count = 0;
    std::string first;
    for (const DiagramEntity& item : diagram.entities) {
        const StringList& attributes = item.entity->atributos();
        for (int i = 0; i < attributes.Count(); ++i)
            if (static_cast<const TAtributo*>(attributes.Objects(i))->origem == name && count++ == 0)
                first = cp1252_to_utf8(item.entity->entidade().view()) + "." + cp1252_to_utf8(attributes.Get(i));
    }
    if (count == 0) return "";
    return ", and give the new name to the \"origem\" of its foreign keys too (" + first +
           (count > 1 ? " and " + std::to_string(count - 1) + " more" : std::string()) + ")";
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
    // The readers of stored diagrams refuse a property they do not know, so the modern style's
    // settings have no place there: refused rather than lost.
    const auto keep_as_json = [&](const std::string& item, const char* key) {
        throw DiagramError(destination + ": " + item + " has \"" + key +
                           "\", which a stored diagram cannot hold; keep the diagram as JSON, or remove it");
    };
    if (diagram.style != DiagramStyle::faithful) keep_as_json("the diagram", "style");
    if (diagram.theme != DiagramTheme::light) keep_as_json("the diagram", "theme");
    for (std::size_t i = 0; i < diagram.entities.size(); ++i)
        if (diagram.entities[i].colour)
            keep_as_json("entity \"" + cp1252_to_utf8(diagram.entities[i].entity->entidade().view()) + "\" (#" + std::to_string(i + 1) + ")",
                         "colour");
    NameSource names;
    for (std::size_t i = 0; i < diagram.relationships.size(); ++i) {
        const std::string& name = diagram.relationships[i].name;
        if (!IsValidIdent(name) || name.size() > 255)
            throw DiagramError(relationship_place(destination, i, name) +
                               ": a stored diagram names a relationship by its own name as a component name, which "
                               "must be an identifier: an ASCII letter or _, then ASCII letters, digits and _, at "
                               "most 255 in all; rename it" +
                               foreign_keys_to_rename(diagram, name));
        if (!names.take(name))
            throw DiagramError(relationship_place(destination, i, name) +
                               ": another relationship has this name (letter case ignored), and a stored diagram "
                               "names each relationship by its own name; rename one of them" +
                               foreign_keys_to_rename(diagram, name));
    }
    // The document is named Diagrama unless a relationship takes that name; no reference names the
    // document, and the reader does not ask its name.
    auto root = std::make_unique<TDiagramDocument>(nullptr);
    root->SetName(names.take(kRootName) ? std::string(kRootName) : names.next(kRootName));
    root->SetNomeProjeto(diagram.project);
    root->SetNomeServidor(diagram.server);
    root->SetEscala(diagram.escala);

    check_coordinates(diagram, destination);

    ExactValues exact;
    std::unordered_map<std::string, ObjectNode> stored;  // entities taken as streamed, by component name
    std::vector<TEntidade*> entities;
    try {
        for (const DiagramEntity& source : diagram.entities) {
            TEntidade* entity = place_entity(*source.entity, root.get(), names.next("Entidade"), stored);
            entity->SetParent(root.get());
            entity->SetBounds(source.shape.left, source.shape.top, source.shape.width, source.shape.height);
            exact[entity->Name()].bounds = source.shape;
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
        exact[source.name].percs = {source.start_perc, source.end_perc};
    }
    for (const DiagramText& source : diagram.texts) {
        auto* text = new Ttexto(root.get());
        text->SetName(names.next("Texto"));
        fill_text_box(*text, source, exact);  // before it stands on the surface, which would measure it
        text->SetParent(root.get());
    }

    // The bare entities are not streamed: their streams are at hand. The stand-in is asked once per
    // child, in the order the children are streamed, so which ones it gave is noted as it goes rather
    // than looked up again.
    std::vector<bool> given;
    given.reserve(stored.size() * 2 + diagram.relationships.size() + diagram.texts.size());
    ObjectNode node = stream_component(*root, [&stored, &given](const TComponent& child) -> std::optional<ObjectNode> {
        const auto it = stored.find(child.Name());
        given.push_back(it != stored.end());
        if (it == stored.end()) return std::nullopt;
        return with_document_values(std::move(it->second), static_cast<const TEntidade&>(child));
    });
    for (std::size_t i = 0; i < node.children.size(); ++i) {
        ObjectNode& child = node.children[i];
        // A stored entity's stream has its fonts' names already (entity_node).
        if (!given.at(i)) keep_empty_font_names(child);
        const auto it = exact.find(child.name);
        if (it == exact.end()) continue;
        const ExactValue& value = it->second;
        if (value.bounds) {
            put_integer(child, "Left", value.bounds->left);
            put_integer(child, "Top", value.bounds->top);
            put_integer(child, "Width", value.bounds->width);
            put_integer(child, "Height", value.bounds->height);
        }
        // Built with it off, the box stores False in its place; True is the default, left out.
        if (value.autosize && *value.autosize)
            std::erase_if(child.properties, [](const PropertyEntry& e) { return SameIdent(e.name, "Autosize"); });
        if (value.percs) {
            put_integer(child, "StartConn.perc", value.percs->first);
            put_integer(child, "EndConn.perc", value.percs->second);
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
    // The keywords that open an object record: its binary form may carry the flags of the other two.
    for (const std::string_view keyword : {"object", "inherited", "inline"}) {
        const std::size_t end = i + keyword.size();
        const bool ends = end >= content.size() || content[end] == ' ' || content[end] == '\t';
        if (SameIdent(content.substr(i, keyword.size()), keyword) && ends) return DiagramFileKind::StoredText;
    }
    return DiagramFileKind::Json;
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
