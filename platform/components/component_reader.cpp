#include "platform/components/component_reader.h"

#include <string>
#include <unordered_map>
#include <vector>

#include "platform/components/dbgrids.h"
#include "platform/components/property_encoding.h"
#include "platform/components/graphics_idents.h"
#include "platform/font.h"
#include "platform/formfile/binary.h"
#include "platform/formfile/text.h"
#include "platform/formfile/printable.h"

using formfile::ObjectNode;
using formfile::PropertyEntry;
using formfile::Value;
using formfile::ValueType;

namespace {

// A property naming another component, set once the whole stream is read (the name may stand
// further down the stream than the reference).
struct Fixup {
    TPersistent* object;  // a component or one of its sub-objects
    const PropertyInfo* property;
    std::string target;
    std::string where;  // "Object.Property", for the error message
};

// Where a property list stands, for messages: an object (its printable name) or an item of a
// collection of the list outside. The text is made only for a message, not for each of the many
// items of a large stream.
struct Place {
    std::string_view text;      // the object's name, or the collection's property name
    const Place* outer = nullptr;  // set for a collection item
    std::size_t index = 0;
    std::string str() const {
        if (!outer) return std::string(text);
        return outer->str() + "." + std::string(text) + "[" + std::to_string(index) + "]";
    }
};

// Raised inside one property; the reader adds where it happened.
struct PropertyError {
    std::string message;
};

[[noreturn]] void refuse(std::string message) { throw PropertyError{std::move(message)}; }

// An error that already says where it happened (a property of a collection item): it passes the
// properties that hold it unchanged, rather than being placed again.
class PlacedError : public EComponentError {
public:
    using EComponentError::EComponentError;
};

TFontStyles font_styles(const Value& value) {
    if (value.type() != ValueType::Set) refuse("um estilo de fonte \xE9 um conjunto");
    static constexpr std::pair<TFontStyle, const char*> names[] = {
        {TFontStyle::fsBold, "fsBold"}, {TFontStyle::fsItalic, "fsItalic"},
        {TFontStyle::fsUnderline, "fsUnderline"}, {TFontStyle::fsStrikeOut, "fsStrikeOut"}};
    TFontStyles styles;
    for (const std::string& member : value.set()) {
        bool known = false;
        for (const auto& [style, name] : names)
            if (SameIdent(member, name)) styles.include(style), known = true;
        if (!known) refuse("estilo de fonte desconhecido " + formfile::printable(member));
    }
    return styles;
}

int font_integer(const Value& value, const char* what) {
    if (!value.is_integer() || value.integer() < INT32_MIN || value.integer() > INT32_MAX)
        refuse(std::string(what) + " de fonte precisa ser um n\xFAmero inteiro");
    return static_cast<int>(value.integer());
}

void read_font_property(TFont& font, std::string_view name, const Value& value) {
    if (SameIdent(name, "Charset")) return font.SetCharset(charset_from_value(value));
    if (SameIdent(name, "Color")) return font.SetColor(color_from_value(value));
    if (SameIdent(name, "Height")) return font.SetHeight(font_integer(value, "Altura"));
    if (SameIdent(name, "Size")) return font.SetSize(font_integer(value, "Tamanho"));
    if (SameIdent(name, "Style")) return font.SetStyle(font_styles(value));
    if (SameIdent(name, "Name")) {
        if (value.type() != ValueType::String && value.type() != ValueType::LString) refuse("o nome da fonte \xE9 um texto");
        return font.SetName(std::string(value.bytes()));
    }
    refuse("a fonte n\xE3o tem a propriedade " + formfile::printable(name));
}

class Reader {
public:
    Reader(TComponent* owner, const ComponentReadHooks& hooks) : owner_(owner), hooks_(hooks) {}

    std::unique_ptr<TComponent> read(const ObjectNode& node) {
        std::unique_ptr<TComponent> root(create_component(node.class_name, owner_));
        root_ = root.get();
        read_object(*root, node, nullptr);
        fix_up();
        for (TComponent* c : created_) c->SetLoading(false);
        for (TComponent* c : created_) c->Loaded();
        return root;
    }

private:
    void read_object(TComponent& component, const ObjectNode& node, TComponent* container) {
        created_.push_back(&component);
        component.SetLoading(true);
        if (hooks_.created) hooks_.created(component, node);
        // Names are stream bytes: escaped wherever a message shows them.
        const std::string where = formfile::printable(node.name.empty() ? node.class_name : node.name);
        try {
            // Checked here rather than by SetName, whose message would show the stream's bytes as they are.
            if (!node.name.empty() && !IsValidIdent(node.name))
                throw EComponentError("'" + where + "' n\xE3o \xE9 um nome de componente v\xE1lido");
            component.SetName(node.name);
            if (container) component.SetParentComponent(container);
        } catch (const EComponentError& e) {
            throw EComponentError("Erro ao ler " + where + ": " + e.what());
        }
        read_properties(component, node.properties, Place{where}, &component);
        for (const ObjectNode& child : node.children) {
            TComponent* created = nullptr;
            try {
                created = create_component(child.class_name, root_);
            } catch (const EComponentError& e) {
                throw EComponentError("Erro ao ler " + where + "." + formfile::printable(child.name) + ": " + e.what());
            }
            read_object(*created, child, &component);
        }
    }

    // `component`: the object itself is a component of the stream (the hooks see its properties).
    void read_properties(TPersistent& object, const std::vector<PropertyEntry>& entries, const Place& where,
                         TComponent* component = nullptr) {
        for (const PropertyEntry& entry : entries) {
            if (component && hooks_.property && !hooks_.property(*component, entry)) continue;
            try {
                read_property(object, entry.name, entry.value, where);
            } catch (const PropertyError& e) {
                throw PlacedError("Erro ao ler " + where.str() + "." + formfile::printable(entry.name) + ": " + e.message);
            } catch (const PlacedError&) {
                throw;
            } catch (const EComponentError& e) {
                throw PlacedError("Erro ao ler " + where.str() + "." + formfile::printable(entry.name) + ": " + e.what());
            }
        }
    }

    void read_property(TPersistent& object, std::string_view path, const Value& value, const Place& where) {
        const ComponentClass& type = object.ClassType();
        const std::size_t dot = path.find('.');
        // Whole paths first: a column publishes "Title.Caption" under that name.
        if (dot == std::string_view::npos || has_dotted_names(type))
            if (const PropertyInfo* info = type.find_property(path)) return apply(object, *info, value, where);
        const PropertyInfo* head = dot == std::string_view::npos ? nullptr : type.find_property(path.substr(0, dot));
        const auto missing = [&] { refuse("Propriedade " + formfile::printable(path) + " n\xE3o existe em " + type.name); };
        if (!head) missing();
        const std::string_view rest = path.substr(dot + 1);
        if (head->kind == PropertyKind::Font && head->font) {
            // The font is the object's own sub-object; reading changes it in place.
            auto* font = const_cast<TFont*>(head->font(object));
            if (!font) missing();
            return read_font_property(*font, rest, value);
        }
        if (head->kind == PropertyKind::Strings && SameIdent(rest, "Strings")) return apply(object, *head, value, where);
        if (head->kind == PropertyKind::Object && head->object) {
            auto* sub = const_cast<TPersistent*>(head->object(object));
            if (!sub) missing();
            return read_property(*sub, rest, value, where);
        }
        missing();
    }

    void apply(TPersistent& object, const PropertyInfo& info, const Value& value, const Place& where) {
        switch (info.kind) {
            case PropertyKind::Component: {
                if (!info.set_component && !dynamic_cast<TComponent*>(&object))
                    refuse("s\xF3 componentes guardam refer\xEAncias");
                if (value.type() == ValueType::Nil) return SetComponentProperty(object, info, nullptr);
                if (value.type() != ValueType::Ident) refuse("uma refer\xEAncia a componente \xE9 um nome");
                fixups_.push_back({&object, &info, std::string(value.bytes()), where.str() + "." + info.name});
                return;
            }
            case PropertyKind::Collection: {
                if (value.type() != ValueType::Collection) refuse("esperava uma cole\xE7\xE3o");
                auto* collection = info.collection ? const_cast<TCollection*>(info.collection(object)) : nullptr;
                if (!collection) refuse("Propriedade " + info.name + " n\xE3o existe em " + object.ClassName());
                collection->Clear();
                for (std::size_t i = 0; i < value.items().size(); ++i)
                    read_properties(*collection->Add(), value.items()[i].properties, Place{info.name, &where, i});
                return;
            }
            case PropertyKind::Object: refuse("um objeto \xE9 lido por suas propriedades (" + info.name + ".<propriedade>)");
            case PropertyKind::Font: refuse("uma fonte \xE9 lida por suas propriedades (" + info.name + ".Name ...)");
            default: {
                // SetProperty without looking the property up again: the decoded value is of the
                // property's kind.
                PropertyValue decoded = decode_property(info, value);
                if (info.set) return info.set(object, decoded);
                return object.StoreValue(info.name, std::move(decoded));
            }
        }
    }

    void fix_up() {
        for (const Fixup& f : fixups_) {
            TComponent* target = SameIdent(f.target, root_->Name()) ? root_ : root_->FindComponent(f.target);
            if (!target) throw EComponentError("Erro ao ler " + f.where + ": n\xE3o h\xE1 componente chamado " + formfile::printable(f.target));
            try {
                SetComponentProperty(*f.object, *f.property, target);
            } catch (const EComponentError& e) {
                throw EComponentError("Erro ao ler " + f.where + ": " + e.what());
            }
        }
    }

    // Whether a property of `type` has a dotted name; most classes have none, and a dotted path of
    // theirs then names a sub-object's property without a first lookup of the whole path.
    bool has_dotted_names(const ComponentClass& type) {
        const auto [it, added] = dotted_.try_emplace(&type, false);
        if (added)
            for (const PropertyInfo* info : type.stored_order())
                it->second = it->second || info->name.find('.') != std::string::npos;
        return it->second;
    }

    TComponent* owner_;
    const ComponentReadHooks& hooks_;
    std::unordered_map<const ComponentClass*, bool> dotted_;
    TComponent* root_ = nullptr;
    std::vector<TComponent*> created_;  // in stream order
    std::vector<Fixup> fixups_;
};

}  // namespace

std::unique_ptr<TComponent> read_component(const ObjectNode& root, TComponent* owner, const ComponentReadHooks& hooks) {
    return Reader(owner, hooks).read(root);
}

std::unique_ptr<TComponent> read_component_file(std::string_view file, TComponent* owner) {
    return read_component(formfile::read_form_file(file), owner);
}

std::unique_ptr<TComponent> read_component_text(std::string_view text, TComponent* owner) {
    return read_component(formfile::read_text(text), owner);
}
