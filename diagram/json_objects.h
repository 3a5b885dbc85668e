#pragma once

// The JSON objects of a diagram file as the loader reads them: each object's keys checked against the
// keys its kind allows, each value checked and converted (texts to Windows-1252), and every problem
// reported as a DiagramError that names the file, the item and the key.

#include <array>
#include <cstdint>
#include <initializer_list>
#include <optional>
#include <span>
#include <string>
#include <string_view>

#include <simdjson.h>

#include "diagram/diagram.h"

namespace diagram_json {

using simdjson::dom::element;
using simdjson::dom::element_type;

// A name as a message shows it: control characters escaped, so that the message stays on one line.
std::string printable(std::string_view name);

// Where an item stands in the file, for messages: the chain file, entity "Pedido" (#3), attribute "VALOR"
// (#2). Built as the reader descends; the text is composed only when a message needs it.
struct Place {
    const Place* parent = nullptr;
    std::string_view kind;   // "entity", "attribute", ...; empty for the file itself
    std::size_t number = 0;  // 1-based position in its array
    std::string_view name;   // as written in the file (UTF-8); empty until known
    const std::string* file = nullptr;

    std::string describe() const;
};

// Throws the DiagramError "<place>: "<key>" <problem>" (the key left out when empty).
[[noreturn]] void fail(const Place& place, std::string_view key, const std::string& problem);

// The problem of a number outside low..high, as every reader of diagrams words it: "must lie between
// LOW and HIGH (got VALUE)", or "must not be negative (got VALUE)" when LOW is 0 and VALUE below it.
std::string range_problem(std::int64_t value, std::int64_t low, std::int64_t high);

// "an array", "a whole number", ...: a JSON value's kind in messages.
const char* type_name(element_type type);

enum class Lines { single, several };

// Windows-1252 text of a JSON string. Control characters would break the one-line texts of the
// listings (a line end inside a name starts a new line of SQL), so only free texts may hold line ends.
std::string to_plugin_text(std::string_view utf8, const Place& place, std::string_view key, Lines lines);

// The keys that objects of one kind may hold, each found by name with one hash and one comparison.
// Meant to be built once per kind (a function-local static).
class KeySet {
public:
    static constexpr std::size_t kMaxKeys = 32;

    // Throws std::logic_error for more than kMaxKeys keys or a key listed twice.
    KeySet(std::initializer_list<std::string_view> keys) : KeySet(std::span<const std::string_view>(keys)) {}
    explicit KeySet(std::span<const std::string_view> keys);

    // Position of `key` in the set, or -1 when the kind has no such key.
    int find(std::string_view key) const {
        for (std::size_t s = slot(key);; s = (s + 1) % kSlots) {
            const int index = table_[s];
            if (index < 0 || same(keys_[static_cast<std::size_t>(index)], key)) return index;
        }
    }
    std::size_t size() const { return size_; }
    std::string_view operator[](std::size_t index) const { return keys_[index]; }

private:
    static constexpr std::size_t kSlots = 2 * kMaxKeys;  // never full, so a probe always ends
    // Keys are short: a plain loop beats a call to the library's comparison here.
    static bool same(std::string_view a, std::string_view b) {
        if (a.size() != b.size()) return false;
        for (std::size_t i = 0; i < a.size(); ++i)
            if (a[i] != b[i]) return false;
        return true;
    }
    static std::size_t slot(std::string_view key) {
        if (key.empty()) return 0;
        const auto first = static_cast<unsigned char>(key.front());
        const auto last = static_cast<unsigned char>(key.back());
        return (key.size() * 31 + first * 7 + last) % kSlots;
    }

    std::array<std::string_view, kMaxKeys> keys_{};
    std::size_t size_ = 0;
    std::array<std::int8_t, kSlots> table_;
};

// The members of one JSON object, checked against the keys of its kind (a misspelt key is an error,
// not silently ignored, and so is a key given twice) and looked up by name. Each member is filed under
// its key's position in the set, so an object can never hold more members than its kind has keys.
class ObjectReader {
public:
    ObjectReader(element value, const Place& place, std::string_view what, const KeySet& keys);

    // The member `name_key` names the item in messages (place.name), also in those about its other keys.
    ObjectReader(element value, Place& place, std::string_view what, const KeySet& keys, std::string_view name_key);

    // An object held by the member `owner_key` of another: messages name its keys as owner_key.key.
    ObjectReader(element value, const Place& place, const KeySet& keys, std::string_view owner_key);

    bool has(std::string_view key) const { return member(key) != nullptr; }
    element get(std::string_view key) const { return *member(key); }
    const Place& place() const { return place_; }

    [[noreturn]] void fail(std::string_view key, const std::string& problem) const;

    // The raw UTF-8 of a text member, for naming the item in messages before it is converted.
    std::string_view raw_text(std::string_view key) const;

    std::string text(std::string_view key, Lines lines = Lines::single) const;
    std::string required_text(std::string_view key, Lines lines = Lines::single) const;
    std::string convert(std::string_view key, element value, Lines lines) const;

    std::int32_t integer(std::string_view key, std::int32_t fallback, std::int64_t low, std::int64_t high) const;
    std::int64_t whole_number(std::string_view key, element value, std::int64_t low, std::int64_t high) const;
    bool flag(std::string_view key) const;

    // A value given by name or by its index: `names[i]` stands for index `first + i`.
    std::int32_t choice(std::string_view key, std::int32_t fallback, const KeySet& names, std::int32_t first) const;

    // A member that must be an array; an absent one reads as empty.
    std::optional<simdjson::dom::array> array(std::string_view key) const;

private:
    // Files the members by key; answers the first problem found (an unknown or repeated key), if any.
    std::string scan(element value, std::string_view what);
    const element* member(std::string_view key) const {
        const int index = keys_.find(key);
        return index >= 0 && (present_ >> index & 1u) ? &members_[static_cast<std::size_t>(index)] : nullptr;
    }
    // "a whole number" in messages, with the value when it is too large for any range asked for.
    [[noreturn]] void fail_not_whole(std::string_view key, element value, std::int64_t low, std::int64_t high,
                                     std::string_view expected) const;

    const Place& place_;
    const KeySet& keys_;
    std::string_view owner_key_;
    std::array<element, KeySet::kMaxKeys> members_;
    std::uint32_t present_ = 0;  // bit i: members_[i] holds the member of key i
};

}  // namespace diagram_json
