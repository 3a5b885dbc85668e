#include "platform/formfile/value.h"

#include <cstring>
#include <limits>

namespace formfile {

std::string_view value_type_name(ValueType type) {
    static constexpr std::string_view names[] = {
        "Null",   "List",       "Int8",  "Int16",    "Int32", "Extended", "String",
        "Ident",  "False",      "True",  "Binary",   "Set",   "LString",  "Nil",
        "Collection", "Single", "Currency", "Date", "WString", "Int64",  "UTF8String"};
    const auto index = static_cast<std::size_t>(type);
    return index < std::size(names) ? names[index] : std::string_view("unknown");
}

bool same_ident(std::string_view a, std::string_view b) {
    if (a.size() != b.size()) return false;
    for (std::size_t i = 0; i < a.size(); ++i) {
        char x = a[i], y = b[i];
        if (x >= 'A' && x <= 'Z') x = static_cast<char>(x - 'A' + 'a');
        if (y >= 'A' && y <= 'Z') y = static_cast<char>(y - 'A' + 'a');
        if (x != y) return false;
    }
    return true;
}

Value::Value() = default;
Value::Value(ValueType t) : type(t) {}
Value::Value(const Value&) = default;
Value::Value(Value&&) noexcept = default;
Value& Value::operator=(const Value&) = default;
Value& Value::operator=(Value&&) noexcept = default;
Value::~Value() = default;

Value Value::integer_value(std::int64_t v) {
    Value value;
    value.integer = v;
    if (v >= std::numeric_limits<std::int8_t>::min() && v <= std::numeric_limits<std::int8_t>::max())
        value.type = ValueType::Int8;
    else if (v >= std::numeric_limits<std::int16_t>::min() && v <= std::numeric_limits<std::int16_t>::max())
        value.type = ValueType::Int16;
    else if (v >= std::numeric_limits<std::int32_t>::min() && v <= std::numeric_limits<std::int32_t>::max())
        value.type = ValueType::Int32;
    else
        value.type = ValueType::Int64;
    return value;
}

Value Value::string_value(std::string_view v) {
    Value value(v.size() <= 255 ? ValueType::String : ValueType::LString);
    value.bytes = v;
    return value;
}

Value Value::ident(std::string_view name) {
    // The target's writer turns these four identifiers into single type bytes, ignoring letter case.
    const auto same = [&](std::string_view word) { return same_ident(name, word); };
    if (same("False")) return Value(ValueType::False);
    if (same("True")) return Value(ValueType::True);
    if (same("nil")) return Value(ValueType::Nil);
    if (same("Null")) return Value(ValueType::Null);
    Value value(ValueType::Ident);
    value.bytes = name;
    return value;
}

Value Value::set_value(std::vector<std::string> members) {
    Value value(ValueType::Set);
    value.set = std::move(members);
    return value;
}

Value Value::list_value(std::vector<Value> values) {
    Value value(ValueType::List);
    value.list = std::move(values);
    return value;
}

Value Value::strings(const std::vector<std::string>& lines) {
    Value value(ValueType::List);
    for (const std::string& line : lines) value.list.push_back(string_value(line));
    return value;
}

Value Value::binary(std::string_view data) {
    Value value(ValueType::Binary);
    value.bytes = data;
    return value;
}

Value Value::extended_value(long double v) {
    static_assert(std::numeric_limits<long double>::digits == 64, "needs the 80-bit extended format");
    Value value(ValueType::Extended);
    std::memcpy(value.extended.data(), &v, value.extended.size());
    return value;
}

Value Value::single_value(float v) {
    Value value(ValueType::Single);
    value.single = v;
    return value;
}

Value Value::currency_value(std::int64_t scaled) {
    Value value(ValueType::Currency);
    value.integer = scaled;
    return value;
}

Value Value::date_value(double v) {
    Value value(ValueType::Date);
    value.date = v;
    return value;
}

Value Value::wide_value(std::u16string_view v) {
    Value value(ValueType::WString);
    value.wide = v;
    return value;
}

Value Value::utf8_value(std::string_view v) {
    Value value(ValueType::UTF8String);
    value.bytes = v;
    return value;
}

Value Value::collection(std::vector<CollectionItem> items) {
    Value value(ValueType::Collection);
    value.items = std::move(items);
    return value;
}

bool Value::is_integer() const {
    return type == ValueType::Int8 || type == ValueType::Int16 || type == ValueType::Int32 || type == ValueType::Int64;
}

bool Value::is_string() const {
    return type == ValueType::String || type == ValueType::LString || type == ValueType::WString ||
           type == ValueType::UTF8String;
}

bool Value::is_ident() const {
    return type == ValueType::Ident || type == ValueType::False || type == ValueType::True || type == ValueType::Nil ||
           type == ValueType::Null;
}

std::string Value::ident_name() const {
    switch (type) {
        case ValueType::False: return "False";
        case ValueType::True: return "True";
        case ValueType::Nil: return "nil";
        case ValueType::Null: return "Null";
        default: return bytes;
    }
}

bool operator==(const Value& a, const Value& b) {
    if (a.type != b.type) return false;
    switch (a.type) {
        case ValueType::Int8:
        case ValueType::Int16:
        case ValueType::Int32:
        case ValueType::Int64:
        case ValueType::Currency: return a.integer == b.integer;
        case ValueType::String:
        case ValueType::LString:
        case ValueType::Ident:
        case ValueType::Binary:
        case ValueType::UTF8String: return a.bytes == b.bytes;
        case ValueType::WString: return a.wide == b.wide;
        case ValueType::Extended: return a.extended == b.extended;
        // Bit patterns, so that a NaN read from a file compares equal to itself after a round trip.
        case ValueType::Single: return std::memcmp(&a.single, &b.single, sizeof a.single) == 0;
        case ValueType::Date: return std::memcmp(&a.date, &b.date, sizeof a.date) == 0;
        case ValueType::Set: return a.set == b.set;
        case ValueType::List: return a.list == b.list;
        case ValueType::Collection: return a.items == b.items;
        case ValueType::Null:
        case ValueType::False:
        case ValueType::True:
        case ValueType::Nil: return true;
    }
    return false;
}

const PropertyEntry* ObjectNode::find(std::string_view property) const {
    for (const PropertyEntry& entry : properties)
        if (entry.name == property) return &entry;
    return nullptr;
}

const ObjectNode* ObjectNode::child(std::string_view child_name) const {
    for (const ObjectNode& node : children)
        if (node.name == child_name) return &node;
    return nullptr;
}

}  // namespace formfile
