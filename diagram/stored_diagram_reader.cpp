// Reading stored diagrams: the stream read into components as the component reader reads any stream,
// the document's objects turned into the diagram's items, the entities taken over as they were read,
// and the whole checked as every diagram is (diagram/diagram_checks.h).

#include <cstdint>
#include <limits>
#include <memory>
#include <optional>
#include <unordered_map>
#include <unordered_set>
#include <vector>

#include "diagram/diagram_checks.h"
#include "diagram/json_objects.h"
#include "diagram/stored_diagram.h"
#include "diagram/stored_limits.h"
#include "diagram/stored_stream_rules.h"
#include "model/diagram_document.h"
#include "model/relacionamento.h"
#include "model/texto.h"
#include "platform/components/component_reader.h"
#include "platform/formfile/binary.h"
#include "platform/formfile/form_file_error.h"
#include "platform/formfile/printable.h"
#include "platform/formfile/text.h"
#include "platform/identifier.h"
#include "platform/utf8_cp1252.h"
#include "plugin/entidade.h"
#include "shapes/text_shape.h"

using formfile::ObjectNode;
using formfile::PropertyEntry;

namespace {

const PropertyEntry* entry(const ObjectNode& node, std::string_view name) {
    for (const PropertyEntry& e : node.properties)
        if (SameIdent(e.name, name)) return &e;
    return nullptr;
}

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

// The same, within low..high as the JSON form allows it, and worded as the JSON form words it.
std::int32_t bounded_entry(const ObjectNode& node, const char* name, const std::string& source, std::int32_t low,
                           std::int32_t high) {
    if (const PropertyEntry* e = entry(node, name); e && e->value.is_integer())
        if (const std::int64_t v = e->value.integer(); v < low || v > high)
            refuse(source, node.name + "." + name, diagram_json::range_problem(v, low, high));
    return int32_entry(node, name, source);
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
    // boxes are read with Autosize off (see hooks) and their setting taken from here.
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

    // A text box on the document gets Autosize off as soon as it is made, before it stands on the
    // document or gets its font, and keeps it off whatever the stream says.
    ComponentReadHooks hooks() {
        ComponentReadHooks hooks;
        hooks.created = [this](TComponent& component, const ObjectNode& node) {
            text_box_ = nullptr;
            const bool on_document = &node >= node_.children.data() && &node < node_.children.data() + node_.children.size();
            if (!on_document || !is_text_box(node)) return;
            text_box_ = dynamic_cast<TnoxTextShape*>(&component);
            if (text_box_) text_box_->SetAutosize(false);
        };
        // A component's own properties are read right after it is made, before the next one is.
        hooks.property = [this](TComponent& component, const PropertyEntry& e) {
            return &component != text_box_ || !SameIdent(e.name, "Autosize");
        };
        return hooks;
    }

    Diagram read(TDiagramDocument& root) {
        Diagram diagram;
        diagram.project = root.nome_projeto();
        diagram.server = root.nome_servidor();
        const std::int64_t escala = root.Escala();
        if (escala < kMinEscala || escala > kMaxEscala)
            refuse(source_, root.Name() + ".Escala", diagram_json::range_problem(escala, kMinEscala, kMaxEscala));
        diagram.escala = static_cast<std::int32_t>(escala);

        std::unordered_set<const TComponent*> captions_used;
        std::unordered_map<const TComponent*, std::size_t> entity_index;
        std::vector<TEntidade*> entities;
        std::vector<TRelacionamento*> relationships;
        std::vector<Ttexto*> texts;
        for (const ObjectNode& child : node_.children) {
            TComponent* component = root.FindComponent(child.name);
            if (!component) refuse(source_, "a " + child.class_name, "every object of a stored diagram has a name");
            if (const PropertyEntry* zoom = entry(child, "Escala"); zoom && zoom->value.integer() != 100)
                refuse(source_, child.name + ".Escala",
                       "shapes are stored at 100 % (the diagram's zoom is " + root.Name() + ".Escala)");
            if (auto* entity = dynamic_cast<TEntidade*>(component)) {
                entity_index[entity] = diagram.entities.size();
                DiagramEntity item;
                item.shape = bounds_of(child, source_);
                item.caption = caption_of(*entity, captions_used);
                diagram.entities.push_back(std::move(item));
                entities.push_back(entity);
            } else if (auto* line = dynamic_cast<TRelacionamento*>(component)) {
                relationships.push_back(line);
            } else if (auto* text = dynamic_cast<Ttexto*>(component)) {
                diagram.texts.push_back(text_box(*text));
                texts.push_back(text);
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
        take_over(root, entities, relationships, texts, diagram);
        return diagram;
    }

private:
    // The entities leave the document for the diagram. What stands around them goes first, last made
    // first, so that each component leaves the end of its owner's lists. A relationship lets go of its
    // ends before it goes: going, it would take the foreign keys it brought out of the end entity.
    static void take_over(TDiagramDocument& root, const std::vector<TEntidade*>& entities,
                          const std::vector<TRelacionamento*>& relationships, const std::vector<Ttexto*>& texts,
                          Diagram& diagram) {
        for (auto line = relationships.rbegin(); line != relationships.rend(); ++line) {
            (*line)->GetConnection(1)->SetShape(nullptr);
            (*line)->GetConnection(2)->SetShape(nullptr);
            delete *line;
        }
        for (auto text = texts.rbegin(); text != texts.rend(); ++text) delete *text;
        for (std::size_t i = entities.size(); i-- > 0;) {
            TEntidade* entity = entities[i];
            entity->SetCaption(nullptr);  // read into the diagram's item already
            entity->SetParent(nullptr);
            root.RemoveComponent(entity);
            diagram.entities[i].entity.reset(entity);
        }
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
    TnoxTextShape* text_box_ = nullptr;                         // the text box last made, while it is read
};

}  // namespace

Diagram parse_stored_diagram(std::string_view content, const std::string& source) {
    check_stored_size(content, source);
    ObjectNode node;
    try {
        node = diagram_file_kind(content) == DiagramFileKind::StoredBinary ? formfile::read_form_file(content)
                                                                           : formfile::read_text(content, formfile::UnmarkedUtf8::Refused);
    } catch (const formfile::FormFileError& e) {
        throw DiagramError(source + ": " + e.what());
    }
    check_stored_objects(node, content.size(), source);
    if (!SameIdent(node.class_name, "TDiagramDocument"))
        throw DiagramError(source + ": not a stored diagram: its root object is a " + formfile::printable(node.class_name) +
                           ", not a TDiagramDocument");
    Diagram diagram;
    try {
        check_stored_stream(node, source);
        StoredReader reader(node, source);
        const std::unique_ptr<TComponent> root = read_component(node, nullptr, reader.hooks());
        diagram = reader.read(static_cast<TDiagramDocument&>(*root));
    } catch (const DiagramError&) {
        throw;
    } catch (const EComponentError& e) {
        throw DiagramError(source + ": " + cp1252_to_utf8(e.what()));
    } catch (const std::runtime_error& e) {
        throw DiagramError(source + ": " + e.what());
    }
    check_diagram(diagram, source);
    return diagram;
}
