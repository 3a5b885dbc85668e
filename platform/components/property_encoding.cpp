#include "platform/components/property_encoding.h"

#include <string>
#include <variant>

#include "platform/components/component.h"
#include "platform/components/graphics_idents.h"

using formfile::Value;
using formfile::ValueType;

formfile::Value encode_property(const PropertyInfo& info, const PropertyValue& value) {
    switch (info.kind) {
        case PropertyKind::Color: return color_value(static_cast<TColor>(integer_of(value)));
        case PropertyKind::Strings: {
            const auto* lines = std::get_if<Lines>(&value);
            return Value::strings(lines ? lines->lines : std::vector<std::string>{});
        }
        default: break;
    }
    struct Encoder {
        Value operator()(std::monostate) const { return Value{}; }
        Value operator()(bool b) const { return Value::boolean(b); }
        Value operator()(std::int64_t i) const { return Value::integer_value(i); }
        Value operator()(const std::string& s) const { return Value::string_value(s); }
        Value operator()(const Identifier& i) const { return Value::ident(i.name); }
        Value operator()(const IdentifierSet& s) const { return Value::set_value(s.members); }
        Value operator()(const Lines& l) const { return Value::strings(l.lines); }
        Value operator()(const Bytes& b) const { return Value::binary(b.data); }
    };
    return std::visit(Encoder{}, value);
}

PropertyValue decode_property(const PropertyInfo& info, const formfile::Value& value) {
    const ValueType type = value.type();
    const bool one_byte_text = type == ValueType::String || type == ValueType::LString || type == ValueType::UTF8String;
    switch (info.kind) {
        case PropertyKind::Integer:
            if (value.is_integer()) return value.integer();
            break;
        case PropertyKind::Color:
            if (value.is_integer() || type == ValueType::Ident) return std::int64_t{color_from_value(value)};
            break;
        case PropertyKind::Boolean:
            if (type == ValueType::False || type == ValueType::True) return type == ValueType::True;
            break;
        case PropertyKind::Enumeration:
        case PropertyKind::Event:
            if (type == ValueType::Ident) return Identifier{value.ident_name()};
            break;
        case PropertyKind::Set:
            if (type == ValueType::Set) return IdentifierSet{value.set()};
            break;
        case PropertyKind::String:
            if (one_byte_text) return std::string(value.bytes());
            break;
        case PropertyKind::Strings: {
            if (type != ValueType::List) break;
            Lines lines;
            for (const Value& line : value.list()) {
                const ValueType t = line.type();
                if (t != ValueType::String && t != ValueType::LString && t != ValueType::UTF8String)
                    throw EComponentError("Valor inv\xE1lido para a propriedade " + info.name + " (lista com " +
                                          std::string(formfile::value_type_name(t)) + ")");
                lines.lines.emplace_back(line.bytes());
            }
            return lines;
        }
        case PropertyKind::Binary:
            if (type == ValueType::Binary) return Bytes{std::string(value.bytes())};
            break;
        case PropertyKind::Component:
        case PropertyKind::Font:
        case PropertyKind::Collection:
        case PropertyKind::Object: break;
    }
    throw EComponentError("Valor inv\xE1lido para a propriedade " + info.name + " (" +
                          std::string(formfile::value_type_name(type)) + ")");
}
