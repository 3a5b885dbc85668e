#include "diagram/stored_diagram.h"

#include <cstdint>
#include <cstdlib>
#include <limits>
#include <map>
#include <memory>
#include <unordered_map>
#include <unordered_set>

#include "platform/utf8_cp1252.h"
#include "diagram/json_writer.h"
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
const PropertyEntry* entry(const ObjectNode& node, std::string_view name) {
    return entry(const_cast<ObjectNode&>(node), name);
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

// ---------------------------------------------------------------------------------------------
// Reading

[[noreturn]] void refuse(const std::string& source, const std::string& where, const std::string& problem) {
    throw DiagramError(source + ": " + where + ": " + problem);
}

std::int32_t int32_entry(const ObjectNode& node, const char* name, const std::string& source) {
    const PropertyEntry* e = entry(node, name);
    if (!e) return 0;
    const std::int64_t v = e->value.integer();
    if (!e->value.is_integer() || v < std::numeric_limits<std::int32_t>::min() || v > std::numeric_limits<std::int32_t>::max())
        refuse(source, node.name + "." + name, "must be a 32-bit whole number");
    return static_cast<std::int32_t>(v);
}

// The same, within low..high as the JSON form allows it.
std::int32_t bounded_entry(const ObjectNode& node, const char* name, const std::string& source, std::int32_t low,
                           std::int32_t high) {
    const std::int32_t v = int32_entry(node, name, source);
    if (v < low || v > high)
        refuse(source, node.name + "." + name,
               "must lie within " + std::to_string(low) + ".." + std::to_string(high) + " (got " + std::to_string(v) + ")");
    return v;
}

ShapeBounds bounds_of(const ObjectNode& node, const std::string& source) {
    return {bounded_entry(node, "Left", source, -kMaxCoordinate, kMaxCoordinate),
            bounded_entry(node, "Top", source, -kMaxCoordinate, kMaxCoordinate),
            bounded_entry(node, "Width", source, 0, kMaxCoordinate), bounded_entry(node, "Height", source, 0, kMaxCoordinate)};
}

bool is_text_box(const ObjectNode& node) {
    return SameIdent(node.class_name, "Ttexto") || SameIdent(node.class_name, "tnoxCaption");
}

class StoredReader {
public:
    // `root_node` as stored. No stored text is measured (its font need not be installed), so the text
    // boxes are read with Autosize off (see fill_text_box) from a copy, and their setting taken from here.
    StoredReader(const ObjectNode& root_node, const std::string& source) : node_(root_node), source_(source) {
        for (const ObjectNode& child : node_.children) {
            nodes_[IdentKey(child.name)] = &child;
            if (!is_text_box(child)) continue;
            const PropertyEntry* e = entry(child, "Autosize");
            if (e && e->value.type() != formfile::ValueType::True && e->value.type() != formfile::ValueType::False)
                refuse(source_, child.name + ".Autosize", "must be True or False");
            autosize_[IdentKey(child.name)] = !e || e->value.type() == formfile::ValueType::True;
        }
    }

    ObjectNode without_measuring() const {
        ObjectNode copy = node_;
        for (ObjectNode& child : copy.children)
            if (is_text_box(child)) {
                std::erase_if(child.properties, [](const PropertyEntry& e) { return SameIdent(e.name, "Autosize"); });
                // First, before the font: a font that is not installed must never be measured.
                child.properties.insert(child.properties.begin(), {"Autosize", Value::boolean(false)});
            }
        return copy;
    }

    Diagram read(const TDiagramDocument& root) {
        Diagram diagram;
        diagram.project = root.nome_projeto();
        diagram.server = root.nome_servidor();
        const std::int64_t escala = root.Escala();
        if (escala < kMinEscala || escala > kMaxEscala)
            refuse(source_, root.Name() + ".Escala",
                   "must lie within " + std::to_string(kMinEscala) + ".." + std::to_string(kMaxEscala) + " (got " +
                       std::to_string(escala) + ")");
        diagram.escala = static_cast<std::int32_t>(escala);

        std::unordered_set<const TComponent*> captions_used;
        std::unordered_map<const TComponent*, std::size_t> entity_index;
        std::vector<const TRelacionamento*> relationships;
        for (const ObjectNode& child : node_.children) {
            const TComponent* component = root.FindComponent(child.name);
            if (!component) refuse(source_, "a " + child.class_name, "every object of a stored diagram has a name");
            if (const PropertyEntry* zoom = entry(child, "Escala"); zoom && zoom->value.integer() != 100)
                refuse(source_, child.name + ".Escala",
                       "shapes are stored at 100 % (the diagram's zoom is " + root.Name() + ".Escala)");
            if (const auto* entity = dynamic_cast<const TEntidade*>(component)) {
                entity_index[entity] = diagram.entities.size();
                DiagramEntity item;
                item.entity = copy_out(*entity);
                item.shape = bounds_of(child, source_);
                item.caption = caption_of(*entity, captions_used);
                diagram.entities.push_back(std::move(item));
            } else if (const auto* line = dynamic_cast<const TRelacionamento*>(component)) {
                relationships.push_back(line);
            } else if (const auto* text = dynamic_cast<const Ttexto*>(component)) {
                diagram.texts.push_back(text_box(*text));
            } else if (!dynamic_cast<const tnoxCaption*>(component)) {
                refuse(source_, child.name,
                       "a stored diagram holds entities, relationships, captions and free texts, not a " + child.class_name);
            }
        }
        for (const TRelacionamento* line : relationships) {
            DiagramRelationship item;
            item.name = line->Name();
            item.from = end_entity(*line, 1, "StartConn", entity_index);
            item.to = end_entity(*line, 2, "EndConn", entity_index);
            item.relacao = line->Relacao();
            item.chave = line->Chave();
            const ObjectNode& node = *nodes_.at(IdentKey(line->Name()));
            // Checked in the stream: the shape's setters would clamp or ignore what lies outside.
            if (entry(node, "meioperc")) bounded_entry(node, "meioperc", source_, 0, 100);
            if (entry(node, "LineWidth")) bounded_entry(node, "LineWidth", source_, 1, kMaxLineWidth);
            item.meioperc = line->meioperc();
            item.start_perc = bounded_entry(node, "StartConn.perc", source_, 0, 100);
            item.end_perc = bounded_entry(node, "EndConn.perc", source_, 0, 100);
            item.line_colour = line->LineColour;
            item.line_width = line->LineWidth();
            for (int i = 0; i < line->descricao().Count(); ++i) item.descricao.emplace_back(line->descricao().Text(i).view());
            item.caption = caption_of(*line, captions_used);
            diagram.relationships.push_back(std::move(item));
        }
        for (const ObjectNode& child : node_.children) {
            const TComponent* component = root.FindComponent(child.name);
            if (dynamic_cast<const tnoxCaption*>(component) && !captions_used.contains(component))
                refuse(source_, child.name, "a caption that no entity or relationship shows");
        }
        return diagram;
    }

private:
    // The entity as a component of its own: the diagram owns its entities, the document goes.
    std::unique_ptr<TEntidade> copy_out(const TEntidade& entity) const {
        ObjectNode node = stream_component(entity);
        std::erase_if(node.properties, [](const PropertyEntry& e) { return SameIdent(e.name, "Caption"); });
        keep_empty_font_names(node);
        return std::unique_ptr<TEntidade>(static_cast<TEntidade*>(read_component(node).release()));
    }

    DiagramTextBox text_box(const TnoxTextShape& shape) const {
        DiagramTextBox box;
        box.text = shape.Text();
        box.shape = bounds_of(*nodes_.at(IdentKey(shape.Name())), source_);
        box.font = std::make_unique<TFont>();
        box.font->Assign(shape.Font());
        box.autosize = autosize_.at(IdentKey(shape.Name()));
        return box;
    }

    std::optional<DiagramCaption> caption_of(const TnoxCustomShape& owner, std::unordered_set<const TComponent*>& used) const {
        const tnoxCaption* caption = owner.Caption();
        if (!caption) return std::nullopt;
        if (!nodes_.contains(IdentKey(caption->Name())))
            refuse(source_, owner.Name() + ".Caption", "names a caption that is not on the diagram");
        if (!used.insert(caption).second) refuse(source_, owner.Name() + ".Caption", "a caption shown by two shapes");
        return text_box(*caption);
    }

    std::size_t end_entity(const TRelacionamento& line, int which, const char* property,
                           const std::unordered_map<const TComponent*, std::size_t>& entities) const {
        const TnoxConnection* end = line.GetConnection(which);
        const auto it = end ? entities.find(end->Shape()) : entities.end();
        if (it == entities.end())
            refuse(source_, line.Name() + "." + property + ".Shape", "must name an entity of the diagram");
        return it->second;
    }

    const ObjectNode& node_;
    const std::string& source_;
    std::unordered_map<std::string, const ObjectNode*> nodes_;  // the root's children by IdentKey of their names
    std::unordered_map<std::string, bool> autosize_;            // text boxes, likewise
};

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

Diagram parse_stored_diagram(std::string_view content, const std::string& source) {
    ObjectNode node;
    try {
        node = diagram_file_kind(content) == DiagramFileKind::StoredBinary ? formfile::read_form_file(content)
                                                                           : formfile::read_text(content);
    } catch (const formfile::FormFileError& e) {
        throw DiagramError(source + ": " + e.what());
    }
    if (!SameIdent(node.class_name, "TDiagramDocument"))
        throw DiagramError(source + ": not a stored diagram: its root object is a " + node.class_name +
                           ", not a TDiagramDocument");
    Diagram stored;
    try {
        StoredReader reader(node, source);
        const std::unique_ptr<TComponent> root = read_component(reader.without_measuring());
        stored = reader.read(static_cast<const TDiagramDocument&>(*root));
    } catch (const DiagramError&) {
        throw;
    } catch (const EComponentError& e) {
        throw DiagramError(source + ": " + cp1252_to_utf8(e.what()));
    } catch (const std::runtime_error& e) {
        throw DiagramError(source + ": " + e.what());
    }
    // Every check of a diagram file applies: the diagram goes through its JSON form.
    return parse_diagram(diagram_to_json(stored, source), source);
}
