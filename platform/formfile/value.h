#pragma once

#include <array>
#include <bit>
#include <cstdint>
#include <cstring>
#include <memory>
#include <new>
#include <string>
#include <string_view>
#include <utility>
#include <variant>
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

// Identifiers (class, component, property names and keywords) compare as the platform compares them
// (platform/identifier.h): ASCII letters without regard to case.
bool same_ident(std::string_view a, std::string_view b);

struct Value;
struct CollectionItem;
struct PropertyEntry;

// The alternatives of a value's payload, one per type byte. Each fits in eight bytes, so that a value
// is 16 bytes: a file holding long lists of one-byte values must not need hundreds of bytes of memory
// per input byte.
namespace payload {

// Null, False, True, Nil: the type byte is the whole value.
template <ValueType T>
struct Marker {
    static constexpr ValueType kType = T;
    friend bool operator==(Marker, Marker) = default;
};

// A number as stored. Compared by bit pattern, so that a NaN read from a file equals itself.
template <ValueType T, class Rep>
struct Number {
    static constexpr ValueType kType = T;
    Rep value{};
    friend bool operator==(const Number& a, const Number& b) {
        return std::memcmp(&a.value, &b.value, sizeof(Rep)) == 0;
    }
};

// An immutable run of code units. A run of up to seven bytes (most names, numbers and short texts
// of a stream) stands in the eight bytes themselves: the first byte holds the length, shifted, with
// bit 0 set, and the bytes follow. A longer run lives in one heap block (length in front), whose
// pointer, aligned, has bit 0 clear; all-zero bytes are the empty run.
template <ValueType T, class Char>
class Text {
    static_assert(std::endian::native == std::endian::little, "the first byte must be the pointer's lowest");
    // Wide runs always take a block: their units could not be read in place from an odd address.
    static constexpr std::size_t kInline = sizeof(Char) == 1 ? sizeof(void*) - 1 : 0;

public:
    static constexpr ValueType kType = T;
    Text() = default;
    explicit Text(std::basic_string_view<Char> s) {
        if (s.empty()) return;
        if (s.size() <= kInline) {
            rep_[0] = static_cast<unsigned char>(s.size() << 1 | 1u);
            std::memcpy(rep_ + 1, s.data(), s.size());
            return;
        }
        void* block = ::operator new(sizeof(std::size_t) + s.size() * sizeof(Char));
        const std::size_t size = s.size();
        std::memcpy(block, &size, sizeof size);
        std::memcpy(static_cast<char*>(block) + sizeof size, s.data(), s.size() * sizeof(Char));
        std::memcpy(rep_, &block, sizeof block);
    }
    Text(const Text& other) {
        if (other.in_place()) std::memcpy(rep_, other.rep_, sizeof rep_);
        else if (other.block()) *this = Text(other.view());
    }
    Text(Text&& other) noexcept {
        std::memcpy(rep_, other.rep_, sizeof rep_);
        std::memset(other.rep_, 0, sizeof rep_);
    }
    Text& operator=(Text other) noexcept {
        std::swap(rep_, other.rep_);
        return *this;
    }
    ~Text() {
        if (!in_place()) ::operator delete(block());
    }
    std::basic_string_view<Char> view() const {
        if (in_place()) return {reinterpret_cast<const Char*>(rep_ + 1), static_cast<std::size_t>(rep_[0] >> 1)};
        const void* b = block();
        if (!b) return {};
        std::size_t size;
        std::memcpy(&size, b, sizeof size);
        return {reinterpret_cast<const Char*>(static_cast<const char*>(b) + sizeof size), size};
    }
    friend bool operator==(const Text& a, const Text& b) { return a.view() == b.view(); }

private:
    bool in_place() const { return (rep_[0] & 1u) != 0; }
    void* block() const {
        void* b;
        std::memcpy(&b, rep_, sizeof b);
        return b;
    }

    alignas(void*) unsigned char rep_[sizeof(void*)] = {};
};

// A container behind one pointer; a null pointer stands for an empty one.
template <ValueType T, class Payload>
class Boxed {
public:
    static constexpr ValueType kType = T;
    Boxed() = default;
    explicit Boxed(Payload p) {
        if (!(p == Payload{})) box_ = std::make_unique<Payload>(std::move(p));
    }
    Boxed(const Boxed& other) : box_(other.box_ ? std::make_unique<Payload>(*other.box_) : nullptr) {}
    Boxed(Boxed&&) noexcept = default;
    Boxed& operator=(Boxed other) noexcept {
        box_.swap(other.box_);
        return *this;
    }
    ~Boxed() = default;
    const Payload& get() const {
        static const Payload empty{};
        return box_ ? *box_ : empty;
    }
    friend bool operator==(const Boxed& a, const Boxed& b) { return a.get() == b.get(); }

private:
    std::unique_ptr<Payload> box_;
};

using ExtendedBytes = std::array<std::uint8_t, 10>;

// In type-byte order: the index of the alternative is the type byte.
using Variant = std::variant<
    Marker<ValueType::Null>,                                      // 0
    Boxed<ValueType::List, std::vector<Value>>,                   // 1
    Number<ValueType::Int8, std::int8_t>,                         // 2
    Number<ValueType::Int16, std::int16_t>,                       // 3
    Number<ValueType::Int32, std::int32_t>,                       // 4
    Boxed<ValueType::Extended, ExtendedBytes>,                    // 5
    Text<ValueType::String, char>,                                // 6
    Text<ValueType::Ident, char>,                                 // 7
    Marker<ValueType::False>,                                     // 8
    Marker<ValueType::True>,                                      // 9
    Text<ValueType::Binary, char>,                                // 10
    Boxed<ValueType::Set, std::vector<std::string>>,              // 11
    Text<ValueType::LString, char>,                               // 12
    Marker<ValueType::Nil>,                                       // 13
    Boxed<ValueType::Collection, std::vector<CollectionItem>>,    // 14
    Number<ValueType::Single, float>,                             // 15
    Number<ValueType::Currency, std::int64_t>,                    // 16
    Number<ValueType::Date, double>,                              // 17
    Text<ValueType::WString, char16_t>,                           // 18
    Number<ValueType::Int64, std::int64_t>,                       // 19
    Text<ValueType::UTF8String, char>>;                           // 20

}  // namespace payload

// One value of the stream. Built through the static constructors; read through type() and the typed
// accessors, which give an empty or zero result for a value of another type (as an absent property
// reads), or by visiting payload().
struct Value {
    Value() = default;  // Null
    explicit Value(ValueType marker);  // Null, False, True or Nil
    Value(const Value&);
    Value(Value&&) noexcept;
    Value& operator=(const Value&);
    Value& operator=(Value&&) noexcept;
    ~Value();

    ValueType type() const { return static_cast<ValueType>(payload_.index()); }
    const payload::Variant& payload() const { return payload_; }

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

    // Constructors that keep the stored form exactly, for readers.
    // An integer of the given width (Int8, Int16, Int32 or Int64); FormFileError when it does not fit.
    static Value integer_of(ValueType width, std::int64_t v);
    // String, LString, Ident (taken as it is), Binary or UTF8String with these bytes.
    static Value bytes_of(ValueType type, std::string_view bytes);
    static Value extended_of(const payload::ExtendedBytes& stored);

    bool is_integer() const;  // Int8, Int16, Int32, Int64
    bool is_string() const;   // String, LString, WString, UTF8String
    // An Ident, or the single-byte identifiers False, True, nil and Null, by name.
    bool is_ident() const;
    std::string ident_name() const;

    std::int64_t integer() const;          // Int8..Int64; Currency: the stored (scaled) integer
    std::string_view bytes() const;        // String, LString, Ident, Binary, UTF8String
    std::u16string_view wide() const;      // WString
    payload::ExtendedBytes extended() const;  // Extended: the 10 bytes as stored
    float single() const;
    double date() const;
    const std::vector<std::string>& set() const;  // member names in stored order
    const std::vector<Value>& list() const;
    const std::vector<CollectionItem>& items() const;

    friend bool operator==(const Value&, const Value&);

private:
    explicit Value(payload::Variant p);
    payload::Variant payload_;
};

// A property's name as the stream gives it. A sub-object's property carries its path
// ("FonteExtrangeiras.Charset"), longer than the 15 bytes a std::string keeps in place, and a stream
// repeats such names for every object: up to 31 bytes stand in the name itself, in the 32 bytes a
// std::string takes, so reading or writing them allocates nothing. Longer names live in a heap block.
class PropertyName {
public:
    static constexpr std::size_t kInline = 31;

    PropertyName() noexcept { set_inline_size(0); }
    PropertyName(std::string_view s) { assign(s.data(), s.size()); }  // NOLINT: as a std::string converts
    PropertyName(const std::string& s) : PropertyName(std::string_view(s)) {}  // NOLINT
    PropertyName(const char* s) : PropertyName(std::string_view(s)) {}         // NOLINT
    // `object`, a dot, `property`: the path of a sub-object's property, made in place.
    static PropertyName path(std::string_view object, std::string_view property);
    PropertyName(const PropertyName& other) { assign(other.data(), other.size()); }
    PropertyName(PropertyName&& other) noexcept {
        std::memcpy(rep_, other.rep_, sizeof rep_);
        other.set_inline_size(0);
    }
    PropertyName& operator=(const PropertyName& other) {
        if (this != &other) *this = PropertyName(other);
        return *this;
    }
    PropertyName& operator=(PropertyName&& other) noexcept {
        if (this != &other) {
            release();
            std::memcpy(rep_, other.rep_, sizeof rep_);
            other.set_inline_size(0);
        }
        return *this;
    }
    ~PropertyName() { release(); }

    const char* data() const noexcept { return on_heap() ? heap_data() : rep_; }
    std::size_t size() const noexcept { return on_heap() ? heap_size() : kInline - static_cast<unsigned char>(rep_[kInline]); }
    bool empty() const noexcept { return size() == 0; }
    std::string_view view() const noexcept { return {data(), size()}; }
    operator std::string_view() const noexcept { return view(); }  // NOLINT: read wherever a name is read
    std::string str() const { return std::string(view()); }
    std::size_t find(char c, std::size_t from = 0) const noexcept { return view().find(c, from); }
    std::string_view substr(std::size_t from, std::size_t count = std::string_view::npos) const {
        return view().substr(from, count);
    }

    friend bool operator==(const PropertyName& a, std::string_view b) noexcept { return a.view() == b; }

private:
    static constexpr unsigned char kHeap = 0xFF;
    bool on_heap() const noexcept { return static_cast<unsigned char>(rep_[kInline]) == kHeap; }
    void set_inline_size(std::size_t n) noexcept { rep_[kInline] = static_cast<char>(kInline - n); }
    char* heap_data() const noexcept {
        char* p;
        std::memcpy(&p, rep_, sizeof p);
        return p;
    }
    std::size_t heap_size() const noexcept {
        std::size_t n;
        std::memcpy(&n, rep_ + sizeof(char*), sizeof n);
        return n;
    }
    // Room for `n` bytes, inline or in a new block, with the size set; the caller fills them.
    char* reserve(std::size_t n);
    void assign(const char* s, std::size_t n) {
        if (n) std::memcpy(reserve(n), s, n);
        else set_inline_size(0);
    }
    void release() noexcept {
        if (on_heap()) ::operator delete(heap_data());
    }

    char rep_[kInline + 1];
};

static_assert(sizeof(PropertyName) == sizeof(std::string), "no larger than the std::string it replaces");

struct PropertyEntry {
    PropertyName name;  // a sub-object's property carries its path, e.g. "Font.Height"
    Value value;
    friend bool operator==(const PropertyEntry&, const PropertyEntry&) = default;
};

// One item of a collection: an optional order index (a value written before the item's properties),
// then the item's property entries.
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
