#pragma once

#include <cstdint>
#include <string>
#include <utility>
#include <variant>
#include <vector>

#include "platform/graphics.h"

// A published property's value as a component holds it: typed by the property's kind, with nothing of
// how a stream encodes it (widths, identifiers for colours). The writer and the reader translate.

// An enumeration value or a method name (events): an identifier, not a text.
struct Identifier {
    std::string name;
    friend bool operator==(const Identifier&, const Identifier&) = default;
};
// A set, by the names of its members in declaration order.
struct IdentifierSet {
    std::vector<std::string> members;
    friend bool operator==(const IdentifierSet&, const IdentifierSet&) = default;
};
// A string list (TStrings), as lines.
struct Lines {
    std::vector<std::string> lines;
    friend bool operator==(const Lines&, const Lines&) = default;
};

// Binary data that a class stores itself (a picture, a blob), as bytes.
struct Bytes {
    std::string data;
    friend bool operator==(const Bytes&, const Bytes&) = default;
};

// std::monostate stands for "no value" (a property without a default). Integers and colours are
// whole numbers (a colour's value, TColor); booleans, texts, identifiers, sets, string lists and
// binary data have their own alternatives.
using PropertyValue =
    std::variant<std::monostate, bool, std::int64_t, std::string, Identifier, IdentifierSet, Lines, Bytes>;

// Typed reads of a value; a value of another alternative reads as empty, zero or false.
inline std::int64_t integer_of(const PropertyValue& v) {
    const auto* i = std::get_if<std::int64_t>(&v);
    return i ? *i : 0;
}
inline bool boolean_of(const PropertyValue& v) {
    const auto* b = std::get_if<bool>(&v);
    return b && *b;
}
inline const std::string& text_of(const PropertyValue& v) {
    static const std::string empty;
    if (const auto* s = std::get_if<std::string>(&v)) return *s;
    if (const auto* i = std::get_if<Identifier>(&v)) return i->name;
    return empty;
}
inline const std::vector<std::string>& members_of(const PropertyValue& v) {
    static const std::vector<std::string> empty;
    const auto* s = std::get_if<IdentifierSet>(&v);
    return s ? s->members : empty;
}
