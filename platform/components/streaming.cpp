#include "platform/components/streaming.h"

#include <algorithm>

#include "platform/components/dbgrids.h"
#include "platform/components/graphics_idents.h"
#include "platform/font.h"
#include "platform/formfile/binary.h"

using formfile::ObjectNode;
using formfile::PropertyEntry;
using formfile::Value;
using formfile::ValueType;

namespace {

// The current value of the property that `info` describes (not looked up by name: a control's Left
// and a non-visual component's design Left share a name).
Value value_of(const TPersistent& object, const PropertyInfo& info) {
    if (info.get) return info.get(object);
    if (const Value* stored = object.StoredValue(info.name)) return *stored;
    return info.default_value;
}

// Values equal as the property sees them: integers whatever their width, sets whatever their order.
bool same_value(const Value& a, const Value& b) {
    if (a.is_integer() && b.is_integer()) return a.integer() == b.integer();
    if (a.type() == ValueType::Set && b.type() == ValueType::Set) {
        std::vector<std::string> x = a.set(), y = b.set();
        std::sort(x.begin(), x.end());
        std::sort(y.begin(), y.end());
        return x == y;
    }
    if (a.is_string() && b.is_string()) return a.bytes() == b.bytes() && a.wide() == b.wide();
    return a == b;
}

bool empty_value(const Value& v) {
    switch (v.type()) {
        case ValueType::Null:
        case ValueType::Nil: return true;
        case ValueType::String:
        case ValueType::LString:
        case ValueType::Ident:
        case ValueType::UTF8String: return v.bytes().empty();
        case ValueType::WString: return v.wide().empty();
        case ValueType::List: return v.list().empty();
        default: return false;
    }
}

// As the target's writer: the smallest integer width, one-byte strings up to 255 bytes.
Value canonical(const Value& v) {
    if (v.is_integer()) return Value::integer_value(v.integer());
    if (v.type() == ValueType::String || v.type() == ValueType::LString) return Value::string_value(v.bytes());
    if (v.type() == ValueType::List) {
        std::vector<Value> elements;
        elements.reserve(v.list().size());
        for (const Value& element : v.list()) elements.push_back(canonical(element));
        return Value::list_value(std::move(elements));
    }
    return v;
}

void font_entries(const std::string& prefix, const TFont& font, std::vector<PropertyEntry>& out) {
    out.push_back({prefix + ".Charset", charset_value(font.Charset())});
    out.push_back({prefix + ".Color", color_value(font.Color())});
    out.push_back({prefix + ".Height", Value::integer_value(font.Height())});
    if (!font.Name().empty()) out.push_back({prefix + ".Name", Value::string_value(font.Name())});
    static constexpr std::pair<TFontStyle, const char*> styles[] = {
        {TFontStyle::fsBold, "fsBold"}, {TFontStyle::fsItalic, "fsItalic"},
        {TFontStyle::fsUnderline, "fsUnderline"}, {TFontStyle::fsStrikeOut, "fsStrikeOut"}};
    std::vector<std::string> members;
    for (const auto& [style, name] : styles)
        if (font.Style().contains(style)) members.emplace_back(name);
    out.push_back({prefix + ".Style", Value::set_value(std::move(members))});
}

// A reference to a component of another root names that root too.
std::string reference_name(const TComponent& target, const TComponent& root) {
    if (&target == &root || target.Owner() == &root || !target.Owner()) return target.Name();
    return target.Owner()->Name() + "." + target.Name();
}

void property_entries(const TPersistent& object, const TComponent& root, std::vector<PropertyEntry>& out) {
    for (const PropertyInfo* info : object.ClassType().stored_order()) {
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
                for (int i = 0; i < collection->Count(); ++i) {
                    formfile::CollectionItem item;
                    property_entries(*collection->Items(i), root, item.properties);
                    items.push_back(std::move(item));
                }
                out.push_back({info->name, Value::collection(std::move(items))});
                continue;
            }
            case PropertyKind::Component: {
                const auto* self = dynamic_cast<const TComponent*>(&object);
                const TComponent* target = self ? self->Reference(info->name) : nullptr;
                if (target) out.push_back({info->name, Value::ident(reference_name(*target, root))});
                continue;
            }
            case PropertyKind::Strings: {
                const Value lines = value_of(object, *info);
                if (!empty_value(lines)) out.push_back({info->name + ".Strings", canonical(lines)});
                continue;
            }
            default: break;
        }
        Value v = value_of(object, *info);
        bool store = false;
        switch (info->stored) {
            case Stored::Always: store = v.type() != ValueType::Null; break;
            case Stored::Assigned: store = object.StoredValue(info->name) != nullptr; break;
            case Stored::NotDefault:
                store = info->default_value.type() == ValueType::Null ? !empty_value(v) : !same_value(v, info->default_value);
                break;
            case Stored::Never: break;
        }
        if (!store) continue;
        if (info->kind == PropertyKind::Color && v.is_integer()) v = color_value(static_cast<TColor>(v.integer()));
        out.push_back({info->name, canonical(v)});
    }
}

ObjectNode node_of(const TComponent& component, const TComponent& root) {
    ObjectNode node;
    node.class_name = component.ClassName();
    node.name = component.Name();
    property_entries(component, root, node.properties);
    std::vector<TComponent*> children;
    component.GetChildren(children, &root);
    for (const TComponent* child : children) node.children.push_back(node_of(*child, root));
    return node;
}

}  // namespace

ObjectNode stream_component(const TComponent& root) { return node_of(root, root); }

std::string form_file_bytes(const TComponent& root) { return formfile::write_form_file(stream_component(root)); }
