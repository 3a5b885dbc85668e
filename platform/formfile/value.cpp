#include "platform/formfile/value.h"

#include <cstdint>
#include <cstring>
#include <limits>
#include <type_traits>
#include <utility>

#include "platform/formfile/form_file_error.h"
#include "platform/identifier.h"

namespace formfile {

std::string_view value_type_name(ValueType type) {
    static constexpr std::string_view names[] = {
        "Null",   "List",       "Int8",  "Int16",    "Int32", "Extended", "String",
        "Ident",  "False",      "True",  "Binary",   "Set",   "LString",  "Nil",
        "Collection", "Single", "Currency", "Date", "WString", "Int64",  "UTF8String"};
    const auto index = static_cast<std::size_t>(type);
    return index < std::size(names) ? names[index] : std::string_view("unknown");
}

bool same_ident(std::string_view a, std::string_view b) { return SameIdent(a, b); }

char* PropertyName::reserve(std::size_t n) {
    if (n <= kInline) {
        set_inline_size(n);
        return rep_;
    }
    char* block = static_cast<char*>(::operator new(n));
    std::memcpy(rep_, &block, sizeof block);
    std::memcpy(rep_ + sizeof block, &n, sizeof n);
    rep_[kInline] = static_cast<char>(kHeap);
    return block;
}

PropertyName PropertyName::path(std::string_view object, std::string_view property) {
    PropertyName name;
    char* out = name.reserve(object.size() + 1 + property.size());
    std::memcpy(out, object.data(), object.size());
    out[object.size()] = '.';
    std::memcpy(out + object.size() + 1, property.data(), property.size());
    return name;
}

static_assert(sizeof(Value) <= 16, "a value is a type index and eight bytes of payload");
static_assert(std::variant_size_v<payload::Variant> == kLastValueType + 1u);

namespace {

using namespace payload;

template <ValueType T>
using Alternative = std::variant_alternative_t<static_cast<std::size_t>(T), Variant>;

// Every alternative sits at its own type byte, so that type() is the variant's index.
template <std::size_t... I>
constexpr bool in_type_byte_order(std::index_sequence<I...>) {
    return (... && (static_cast<std::size_t>(std::variant_alternative_t<I, Variant>::kType) == I));
}
static_assert(in_type_byte_order(std::make_index_sequence<std::variant_size_v<Variant>>{}));

template <ValueType T, class V>
const V* get_if(const Variant& p) {
    return std::get_if<static_cast<std::size_t>(T)>(&p);
}

}  // namespace

Value::Value(payload::Variant p) : payload_(std::move(p)) {}
Value::Value(ValueType marker) {
    switch (marker) {
        case ValueType::Null: break;
        case ValueType::False: payload_.emplace<Marker<ValueType::False>>(); break;
        case ValueType::True: payload_.emplace<Marker<ValueType::True>>(); break;
        case ValueType::Nil: payload_.emplace<Marker<ValueType::Nil>>(); break;
        default:
            throw FormFileError("a " + std::string(value_type_name(marker)) + " value needs its payload");
    }
}
Value::Value(const Value&) = default;
Value::Value(Value&&) noexcept = default;
Value& Value::operator=(const Value&) = default;
Value& Value::operator=(Value&&) noexcept = default;
Value::~Value() = default;

Value Value::integer_of(ValueType width, std::int64_t v) {
    const auto fits = [v](auto type_min, auto type_max) { return v >= type_min && v <= type_max; };
    switch (width) {
        case ValueType::Int8:
            if (!fits(INT8_MIN, INT8_MAX)) break;
            return Value(Variant(Number<ValueType::Int8, std::int8_t>{static_cast<std::int8_t>(v)}));
        case ValueType::Int16:
            if (!fits(INT16_MIN, INT16_MAX)) break;
            return Value(Variant(Number<ValueType::Int16, std::int16_t>{static_cast<std::int16_t>(v)}));
        case ValueType::Int32:
            if (!fits(INT32_MIN, INT32_MAX)) break;
            return Value(Variant(Number<ValueType::Int32, std::int32_t>{static_cast<std::int32_t>(v)}));
        case ValueType::Int64: return Value(Variant(Number<ValueType::Int64, std::int64_t>{v}));
        default: throw FormFileError(std::string(value_type_name(width)) + " is not an integer type");
    }
    throw FormFileError(std::to_string(v) + " does not fit " + std::string(value_type_name(width)));
}

Value Value::integer_value(std::int64_t v) {
    if (v >= INT8_MIN && v <= INT8_MAX) return integer_of(ValueType::Int8, v);
    if (v >= INT16_MIN && v <= INT16_MAX) return integer_of(ValueType::Int16, v);
    if (v >= INT32_MIN && v <= INT32_MAX) return integer_of(ValueType::Int32, v);
    return integer_of(ValueType::Int64, v);
}

Value Value::bytes_of(ValueType type, std::string_view bytes) {
    switch (type) {
        case ValueType::String: return Value(Variant(Alternative<ValueType::String>(bytes)));
        case ValueType::LString: return Value(Variant(Alternative<ValueType::LString>(bytes)));
        case ValueType::Ident: return Value(Variant(Alternative<ValueType::Ident>(bytes)));
        case ValueType::Binary: return Value(Variant(Alternative<ValueType::Binary>(bytes)));
        case ValueType::UTF8String: return Value(Variant(Alternative<ValueType::UTF8String>(bytes)));
        default: throw FormFileError(std::string(value_type_name(type)) + " does not hold bytes");
    }
}

Value Value::string_value(std::string_view v) {
    return bytes_of(v.size() <= 255 ? ValueType::String : ValueType::LString, v);
}

Value Value::ident(std::string_view name) {
    // The target's writer turns these four identifiers into single type bytes, ignoring letter case.
    const auto same = [&](std::string_view word) { return same_ident(name, word); };
    if (same("False")) return Value(ValueType::False);
    if (same("True")) return Value(ValueType::True);
    if (same("nil")) return Value(ValueType::Nil);
    if (same("Null")) return Value(ValueType::Null);
    return bytes_of(ValueType::Ident, name);
}

Value Value::set_value(std::vector<std::string> members) {
    return Value(Variant(Alternative<ValueType::Set>(std::move(members))));
}

Value Value::list_value(std::vector<Value> values) {
    return Value(Variant(Alternative<ValueType::List>(std::move(values))));
}

Value Value::strings(const std::vector<std::string>& lines) {
    std::vector<Value> values;
    values.reserve(lines.size());
    for (const std::string& line : lines) values.push_back(string_value(line));
    return list_value(std::move(values));
}

Value Value::binary(std::string_view data) { return bytes_of(ValueType::Binary, data); }

Value Value::extended_value(long double v) {
    static_assert(std::numeric_limits<long double>::digits == 64, "needs the 80-bit extended format");
    ExtendedBytes stored{};
    std::memcpy(stored.data(), &v, stored.size());
    return extended_of(stored);
}

Value Value::extended_of(const ExtendedBytes& stored) {
    return Value(Variant(Alternative<ValueType::Extended>(stored)));
}

Value Value::single_value(float v) { return Value(Variant(Alternative<ValueType::Single>{v})); }
Value Value::currency_value(std::int64_t scaled) { return Value(Variant(Alternative<ValueType::Currency>{scaled})); }
Value Value::date_value(double v) { return Value(Variant(Alternative<ValueType::Date>{v})); }
Value Value::wide_value(std::u16string_view v) { return Value(Variant(Alternative<ValueType::WString>(v))); }
Value Value::utf8_value(std::string_view v) { return bytes_of(ValueType::UTF8String, v); }

Value Value::collection(std::vector<CollectionItem> items) {
    return Value(Variant(Alternative<ValueType::Collection>(std::move(items))));
}

bool Value::is_integer() const {
    const ValueType t = type();
    return t == ValueType::Int8 || t == ValueType::Int16 || t == ValueType::Int32 || t == ValueType::Int64;
}

bool Value::is_string() const {
    const ValueType t = type();
    return t == ValueType::String || t == ValueType::LString || t == ValueType::WString || t == ValueType::UTF8String;
}

bool Value::is_ident() const {
    const ValueType t = type();
    return t == ValueType::Ident || t == ValueType::False || t == ValueType::True || t == ValueType::Nil ||
           t == ValueType::Null;
}

std::string Value::ident_name() const {
    switch (type()) {
        case ValueType::False: return "False";
        case ValueType::True: return "True";
        case ValueType::Nil: return "nil";
        case ValueType::Null: return "Null";
        default: return std::string(bytes());
    }
}

std::int64_t Value::integer() const {
    return std::visit(
        [](const auto& p) -> std::int64_t {
            using P = std::decay_t<decltype(p)>;
            if constexpr (std::is_same_v<P, Alternative<ValueType::Int8>> || std::is_same_v<P, Alternative<ValueType::Int16>> ||
                          std::is_same_v<P, Alternative<ValueType::Int32>> || std::is_same_v<P, Alternative<ValueType::Int64>> ||
                          std::is_same_v<P, Alternative<ValueType::Currency>>)
                return p.value;
            else
                return 0;
        },
        payload_);
}

std::string_view Value::bytes() const {
    switch (type()) {
        case ValueType::String: return std::get<Alternative<ValueType::String>>(payload_).view();
        case ValueType::LString: return std::get<Alternative<ValueType::LString>>(payload_).view();
        case ValueType::Ident: return std::get<Alternative<ValueType::Ident>>(payload_).view();
        case ValueType::Binary: return std::get<Alternative<ValueType::Binary>>(payload_).view();
        case ValueType::UTF8String: return std::get<Alternative<ValueType::UTF8String>>(payload_).view();
        default: return {};
    }
}

std::u16string_view Value::wide() const {
    const auto* p = get_if<ValueType::WString, Alternative<ValueType::WString>>(payload_);
    return p ? p->view() : std::u16string_view{};
}

ExtendedBytes Value::extended() const {
    const auto* p = get_if<ValueType::Extended, Alternative<ValueType::Extended>>(payload_);
    return p ? p->get() : ExtendedBytes{};
}

float Value::single() const {
    const auto* p = get_if<ValueType::Single, Alternative<ValueType::Single>>(payload_);
    return p ? p->value : 0.0f;
}

double Value::date() const {
    const auto* p = get_if<ValueType::Date, Alternative<ValueType::Date>>(payload_);
    return p ? p->value : 0.0;
}

const std::vector<std::string>& Value::set() const {
    static const std::vector<std::string> none;
    const auto* p = get_if<ValueType::Set, Alternative<ValueType::Set>>(payload_);
    return p ? p->get() : none;
}

const std::vector<Value>& Value::list() const {
    static const std::vector<Value> none;
    const auto* p = get_if<ValueType::List, Alternative<ValueType::List>>(payload_);
    return p ? p->get() : none;
}

const std::vector<CollectionItem>& Value::items() const {
    static const std::vector<CollectionItem> none;
    const auto* p = get_if<ValueType::Collection, Alternative<ValueType::Collection>>(payload_);
    return p ? p->get() : none;
}

bool operator==(const Value& a, const Value& b) { return a.payload_ == b.payload_; }

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
