#include "platform/components/streaming.h"

#include <algorithm>
#include <string>
#include <string_view>

#include "platform/components/dbgrids.h"
#include "platform/components/graphics_idents.h"
#include "platform/components/property_encoding.h"
#include "platform/font.h"
#include "platform/formfile/binary.h"

using formfile::ObjectNode;
using formfile::PropertyEntry;
using formfile::Value;
using formfile::ValueType;

namespace {

// The current value of the property that `info` describes (not looked up by name: a control's Left
// and a non-visual component's design Left share a name).
PropertyValue value_of(const TPersistent& object, const PropertyInfo& info) {
    if (info.get) return info.get(object);
    if (const PropertyValue* stored = object.StoredValue(info.name)) return *stored;
    return info.default_value;
}

// Values equal as the property sees them: sets whatever their order.
bool same_value(const PropertyValue& a, const PropertyValue& b) {
    const auto* x = std::get_if<IdentifierSet>(&a);
    const auto* y = std::get_if<IdentifierSet>(&b);
    if (x && y) {
        if (x->members == y->members) return true;  // most sets are written in declaration order
        if (x->members.size() != y->members.size()) return false;
        std::vector<std::string> p = x->members, q = y->members;
        std::sort(p.begin(), p.end());
        std::sort(q.begin(), q.end());
        return p == q;
    }
    return a == b;
}

bool empty_value(const PropertyValue& v) {
    if (std::holds_alternative<std::monostate>(v)) return true;
    if (const auto* s = std::get_if<std::string>(&v)) return s->empty();
    if (const auto* i = std::get_if<Identifier>(&v)) return i->name.empty();
    if (const auto* l = std::get_if<Lines>(&v)) return l->lines.empty();
    if (const auto* b = std::get_if<Bytes>(&v)) return b->data.empty();
    return false;
}

// "<object>.<property>", made in place: a writer makes one for every font property of every object.
formfile::PropertyName path(std::string_view object, std::string_view property) {
    return formfile::PropertyName::path(object, property);
}

void font_entries(const std::string& prefix, const TFont& font, std::vector<PropertyEntry>& out) {
    out.push_back({path(prefix, "Charset"), charset_value(font.Charset())});
    out.push_back({path(prefix, "Color"), color_value(font.Color())});
    out.push_back({path(prefix, "Height"), Value::integer_value(font.Height())});
    if (!font.Name().empty()) out.push_back({path(prefix, "Name"), Value::string_value(font.Name())});
    static constexpr std::pair<TFontStyle, const char*> styles[] = {
        {TFontStyle::fsBold, "fsBold"}, {TFontStyle::fsItalic, "fsItalic"},
        {TFontStyle::fsUnderline, "fsUnderline"}, {TFontStyle::fsStrikeOut, "fsStrikeOut"}};
    std::vector<std::string> members;
    for (const auto& [style, name] : styles)
        if (font.Style().contains(style)) members.emplace_back(name);
    out.push_back({path(prefix, "Style"), Value::set_value(std::move(members))});
}

// A reference to a component of another root names that root too.
std::string reference_name(const TComponent& target, const TComponent& root) {
    if (&target == &root || target.Owner() == &root || !target.Owner()) return target.Name();
    return target.Owner()->Name() + "." + target.Name();
}

void property_entries(const TPersistent& object, const TComponent& root, std::vector<PropertyEntry>& out) {
    const std::vector<const PropertyInfo*>& order = object.ClassType().stored_order();
    // Room for one entry per property (a font takes five): entries are moved whenever the list grows.
    out.reserve(out.size() + order.size());
    for (const PropertyInfo* info : order) {
        if (info->stored == Stored::Never) continue;
        if (info->stored_if && !info->stored_if(object)) continue;
        switch (info->kind) {
            case PropertyKind::Font:
                if (const TFont* font = info->font ? info->font(object) : nullptr) font_entries(info->name, *font, out);
                continue;
            case PropertyKind::Collection: {
                const TCollection* collection = info->collection ? info->collection(object) : nullptr;
                if (!collection || (info->stored != Stored::Always && collection->Count() == 0)) continue;
                std::vector<formfile::CollectionItem> items;
                items.reserve(static_cast<std::size_t>(collection->Count()));
                for (int i = 0; i < collection->Count(); ++i) {
                    formfile::CollectionItem item;
                    property_entries(*collection->Items(i), root, item.properties);
                    items.push_back(std::move(item));
                }
                out.push_back({info->name, Value::collection(std::move(items))});
                continue;
            }
            case PropertyKind::Component: {
                const TComponent* target = ComponentProperty(object, *info);
                if (target) out.push_back({info->name, Value::ident(reference_name(*target, root))});
                continue;
            }
            case PropertyKind::Object: {
                // The sub-object's own stored properties, under its path.
                const TPersistent* sub = info->object ? info->object(object) : nullptr;
                if (!sub) continue;
                std::vector<PropertyEntry> entries;
                property_entries(*sub, root, entries);
                for (PropertyEntry& e : entries) out.push_back({path(info->name, e.name), std::move(e.value)});
                continue;
            }
            case PropertyKind::Strings: {
                const PropertyValue lines = value_of(object, *info);
                if (!empty_value(lines)) out.push_back({path(info->name, "Strings"), encode_property(*info, lines)});
                continue;
            }
            default: break;
        }
        const PropertyValue v = value_of(object, *info);
        bool store = false;
        switch (info->stored) {
            case Stored::Always: store = !std::holds_alternative<std::monostate>(v); break;
            case Stored::Assigned: store = object.StoredValue(info->name) != nullptr; break;
            case Stored::NotDefault:
                store = std::holds_alternative<std::monostate>(info->default_value) ? !empty_value(v)
                                                                                 : !same_value(v, info->default_value);
                break;
            case Stored::Never: break;
        }
        if (store) out.push_back({info->name, encode_property(*info, v)});
    }
}

ObjectNode node_of(const TComponent& component, const TComponent& root, const StandIn* stand_in = nullptr) {
    ObjectNode node;
    node.class_name = component.ClassName();
    node.name = component.Name();
    property_entries(component, root, node.properties);
    std::vector<TComponent*> children;
    component.GetChildren(children, &root);
    node.children.reserve(children.size());
    for (const TComponent* child : children) {
        std::optional<ObjectNode> given = stand_in ? (*stand_in)(*child) : std::nullopt;
        node.children.push_back(given ? std::move(*given) : node_of(*child, root));
    }
    return node;
}

}  // namespace

ObjectNode stream_component(const TComponent& root) { return node_of(root, root); }

ObjectNode stream_component(const TComponent& root, const StandIn& stand_in) { return node_of(root, root, &stand_in); }

std::string form_file_bytes(const TComponent& root) { return formfile::write_form_file(stream_component(root)); }
