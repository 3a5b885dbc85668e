#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

// The value model of the component stream: every value type a form file may hold, kept exactly as
// read so that a file made elsewhere survives a round trip byte for byte.

namespace formfile {

// The type byte in front of every value of the stream.
enum class ValueType : std::uint8_t {
    Null = 0,
    List = 1,
    Int8 = 2,
    Int16 = 3,
    Int32 = 4,
    Extended = 5,  // 80-bit floating point
    String = 6,    // one length byte
    Ident = 7,
    False = 8,
    True = 9,
    Binary = 10,
    Set = 11,
    LString = 12,  // 32-bit length
    Nil = 13,
    Collection = 14,
    Single = 15,
    Currency = 16,  // 64-bit integer scaled by 10000
    Date = 17,      // 64-bit floating point
    WString = 18,   // 32-bit count of UTF-16 units
    Int64 = 19,
    UTF8String = 20,
};

// Highest type byte the readers accept. Beyond it the platforms that write this format disagree on
// the meaning of the bytes, so a reader refuses rather than guess.
inline constexpr std::uint8_t kLastValueType = static_cast<std::uint8_t>(ValueType::UTF8String);

std::string_view value_type_name(ValueType type);

// Identifiers (names of classes, components, properties, keywords) compare without regard to the
// letter case of ASCII letters, as the target does.
bool same_ident(std::string_view a, std::string_view b);

struct Value;

// One item of a collection: an optional order index (a value written before the item's properties),
// then the item's property entries.
struct CollectionItem;

struct PropertyEntry;

struct Value {
    // Out of line: the members hold collection items, which are complete only after Value.
    Value();
    explicit Value(ValueType t);
    Value(const Value&);
    Value(Value&&) noexcept;
    Value& operator=(const Value&);
    Value& operator=(Value&&) noexcept;
    ~Value();

    ValueType type = ValueType::Null;
    std::int64_t integer = 0;       // Int8, Int16, Int32, Int64, Currency (raw scaled value)
    std::string bytes;              // String, LString, Ident, Binary, UTF8String (raw bytes)
    std::u16string wide;            // WString
    std::array<std::uint8_t, 10> extended{};  // Extended: the 10 bytes as stored
    float single = 0;               // Single
    double date = 0;                // Date
    std::vector<std::string> set;   // Set: member names in stored order
    std::vector<Value> list;        // List
    std::vector<CollectionItem> items;  // Collection

    // Constructors for the values a writer produces.
    static Value integer_value(std::int64_t v);  // smallest of Int8/Int16/Int32, Int64 beyond
    static Value string_value(std::string_view v);  // String up to 255 bytes, LString above
    static Value ident(std::string_view name);      // False/True/nil/Null become their single bytes
    static Value boolean(bool v) { return Value{v ? ValueType::True : ValueType::False}; }
    static Value nil() { return Value{ValueType::Nil}; }
    static Value set_value(std::vector<std::string> members);
    static Value list_value(std::vector<Value> values);
    static Value strings(const std::vector<std::string>& lines);  // a list of String/LString values
    static Value binary(std::string_view data);
    static Value extended_value(long double v);  // requires an 80-bit long double
    static Value single_value(float v);
    static Value currency_value(std::int64_t scaled);
    static Value date_value(double v);
    static Value wide_value(std::u16string_view v);
    static Value utf8_value(std::string_view v);
    static Value collection(std::vector<CollectionItem> items);

    bool is_integer() const;
    bool is_string() const;  // String, LString, WString, UTF8String
    // An Ident, or the single-byte identifiers False, True, nil and Null, by name.
    bool is_ident() const;
    std::string ident_name() const;

    friend bool operator==(const Value&, const Value&);
};

struct PropertyEntry {
    std::string name;  // a sub-object's property carries its path, e.g. "Font.Height"
    Value value;
    friend bool operator==(const PropertyEntry&, const PropertyEntry&) = default;
};

struct CollectionItem {
    bool has_order = false;
    Value order;  // an integer value when has_order
    std::vector<PropertyEntry> properties;
    friend bool operator==(const CollectionItem&, const CollectionItem&) = default;
};

// Flags of the prefix byte ($Fn) that may precede an object record.
enum ObjectFlag : std::uint8_t {
    kInherited = 1,
    kChildPos = 2,
    kInline = 4,
};

// One object record of the stream: class and object name, properties, contained objects.
struct ObjectNode {
    std::uint8_t flags = 0;  // ObjectFlag bits; 0 means no prefix byte
    Value child_pos;         // an integer value, meaningful when flags has kChildPos
    std::string class_name;
    std::string name;
    std::vector<PropertyEntry> properties;
    std::vector<ObjectNode> children;

    const PropertyEntry* find(std::string_view property) const;
    const ObjectNode* child(std::string_view child_name) const;
    friend bool operator==(const ObjectNode&, const ObjectNode&) = default;
};

}  // namespace formfile
