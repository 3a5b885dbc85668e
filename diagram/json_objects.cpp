#include "diagram/json_objects.h"

#include <cstdio>
#include <stdexcept>

#include "platform/utf8_cp1252.h"

namespace diagram_json {

std::string printable(std::string_view name) {
    std::string text;
    for (char c : name) {
        const auto byte = static_cast<unsigned char>(c);
        if (byte >= 0x20 && byte != 0x7F) {
            text += c;
        } else {
            char escape[8];
            std::snprintf(escape, sizeof escape, "\\u%04X", byte);
            text += c == '\n' ? "\\n" : c == '\t' ? "\\t" : escape;
        }
    }
    return text;
}

std::string Place::describe() const {
    if (!parent) return *file;
    std::string text = parent->describe();
    text += parent->parent ? ", " : ": ";
    text += kind;
    if (!name.empty()) {
        text += " \"";
        text += printable(name);
        text += "\" (#";
    } else {
        text += " #";
    }
    text += std::to_string(number);
    if (!name.empty()) text += ')';
    return text;
}

void fail(const Place& place, std::string_view key, const std::string& problem) {
    std::string message = place.describe();
    message += ": ";
    if (!key.empty()) {
        message += '"';
        message += key;
        message += "\" ";
    }
    message += problem;
    throw DiagramError(message);
}

const char* type_name(element_type type) {
    switch (type) {
        case element_type::ARRAY: return "an array";
        case element_type::OBJECT: return "an object";
        case element_type::INT64:
        case element_type::UINT64: return "a whole number";
        case element_type::DOUBLE: return "a number with a fraction";
        case element_type::STRING: return "a text";
        case element_type::BOOL: return "true or false";
        case element_type::NULL_VALUE: return "null";
    }
    return "a value";
}

std::string to_plugin_text(std::string_view utf8, const Place& place, std::string_view key, Lines lines) {
    std::string text;
    try {
        text = utf8_to_cp1252(utf8);
    } catch (const UnmappableCharacter& c) {
        fail(place, key, "holds the character " + describe_character(c) + ", which has no Windows-1252 byte");
    } catch (const std::runtime_error& e) {
        fail(place, key, e.what());
    }
    for (char c : text) {
        const auto byte = static_cast<unsigned char>(c);
        const bool line_break = c == '\n' || c == '\r' || c == '\t';
        if ((byte < 0x20 || byte == 0x7F) && !(lines == Lines::several && line_break)) {
            char code[8];
            std::snprintf(code, sizeof code, "U+%04X", byte);
            fail(place, key, std::string("holds the control character ") + code + ", which a name cannot hold");
        }
    }
    return text;
}

KeySet::KeySet(std::span<const std::string_view> keys) {
    if (keys.size() > kMaxKeys) throw std::logic_error("a kind of diagram object has more keys than a KeySet holds");
    table_.fill(-1);
    for (std::string_view key : keys) {
        if (find(key) >= 0) throw std::logic_error("the key \"" + std::string(key) + "\" is listed twice");
        std::size_t s = slot(key);
        while (table_[s] >= 0) s = (s + 1) % kSlots;
        table_[s] = static_cast<std::int8_t>(size_);
        keys_[size_++] = key;
    }
}

ObjectReader::ObjectReader(element value, const Place& place, std::string_view what, const KeySet& keys)
    : place_(place), keys_(keys) {
    const std::string problem = scan(value, what);
    if (!problem.empty()) diagram_json::fail(place, "", problem);
}

ObjectReader::ObjectReader(element value, Place& place, std::string_view what, const KeySet& keys,
                           std::string_view name_key)
    : place_(place), keys_(keys) {
    const std::string problem = scan(value, what);
    place.name = raw_text(name_key);
    if (!problem.empty()) diagram_json::fail(place, "", problem);
}

ObjectReader::ObjectReader(element value, const Place& place, const KeySet& keys, std::string_view owner_key)
    : place_(place), keys_(keys), owner_key_(owner_key) {
    const std::string problem = scan(value, "\"" + std::string(owner_key) + "\"");
    if (!problem.empty()) diagram_json::fail(place, "", problem);
}

std::string ObjectReader::scan(element value, std::string_view what) {
    if (value.type() != element_type::OBJECT)
        diagram_json::fail(place_, owner_key_.empty() ? "" : owner_key_,
                           owner_key_.empty() ? std::string(what) + " must be an object, not " + type_name(value.type())
                                              : std::string("must be an object, not ") + type_name(value.type()));
    std::string problem;
    const simdjson::dom::object object = value.get_object().value_unsafe();
    for (auto [key, value_of_key] : object) {
        const int index = keys_.find(key);
        if (index < 0) {
            if (problem.empty()) problem = std::string(what) + " has an unknown key \"" + printable(key) + "\"";
            continue;
        }
        const std::uint32_t bit = 1u << index;
        if (present_ & bit) {
            if (problem.empty()) problem = std::string(what) + " has the key \"" + std::string(key) + "\" twice";
            continue;
        }
        present_ |= bit;
        members_[static_cast<std::size_t>(index)] = value_of_key;
    }
    return problem;
}

void ObjectReader::fail(std::string_view key, const std::string& problem) const {
    if (owner_key_.empty() || key.empty()) diagram_json::fail(place_, key, problem);
    diagram_json::fail(place_, std::string(owner_key_) + "." + std::string(key), problem);
}

std::string_view ObjectReader::raw_text(std::string_view key) const {
    const element* value = member(key);
    if (!value || value->type() != element_type::STRING) return {};
    return value->get_string().value_unsafe();
}

std::string ObjectReader::text(std::string_view key, Lines lines) const {
    const element* value = member(key);
    return value ? convert(key, *value, lines) : std::string();
}

std::string ObjectReader::required_text(std::string_view key, Lines lines) const {
    if (!has(key)) fail(key, "is missing");
    return text(key, lines);
}

std::string ObjectReader::convert(std::string_view key, element value, Lines lines) const {
    if (value.type() != element_type::STRING) fail(key, std::string("must be a text, not ") + type_name(value.type()));
    return to_plugin_text(value.get_string().value_unsafe(), place_, key, lines);
}

std::string range_problem(std::int64_t value, std::int64_t low, std::int64_t high) {
    if (low == 0 && value < 0) return "must not be negative (got " + std::to_string(value) + ")";
    return "must lie between " + std::to_string(low) + " and " + std::to_string(high) + " (got " + std::to_string(value) + ")";
}

std::int32_t ObjectReader::integer(std::string_view key, std::int32_t fallback, std::int64_t low, std::int64_t high) const {
    const element* value = member(key);
    return value ? static_cast<std::int32_t>(whole_number(key, *value, low, high)) : fallback;
}

void ObjectReader::fail_not_whole(std::string_view key, element value, std::int64_t low, std::int64_t high,
                                  std::string_view expected) const {
    // A number from 2^63 up is whole, only too large for every range the format has.
    if (value.type() == element_type::UINT64)
        fail(key, "must be " + std::string(expected) + " from " + std::to_string(low) + " to " + std::to_string(high) + " (got " +
                      std::to_string(value.get_uint64().value_unsafe()) + ")");
    fail(key, "must be " + std::string(expected) + ", not " + type_name(value.type()));
}

std::int64_t ObjectReader::whole_number(std::string_view key, element value, std::int64_t low, std::int64_t high) const {
    if (value.type() != element_type::INT64) {
        if (value.type() == element_type::UINT64)
            fail(key, "must lie between " + std::to_string(low) + " and " + std::to_string(high) + " (got " +
                          std::to_string(value.get_uint64().value_unsafe()) + ")");
        fail(key, std::string("must be a whole number, not ") + type_name(value.type()));
    }
    const std::int64_t number = value.get_int64().value_unsafe();
    if (number < low || number > high) fail(key, range_problem(number, low, high));
    return number;
}

bool ObjectReader::flag(std::string_view key) const {
    const element* value = member(key);
    if (!value) return false;
    if (value->type() != element_type::BOOL) fail(key, std::string("must be true or false, not ") + type_name(value->type()));
    return value->get_bool().value_unsafe();
}

std::int32_t ObjectReader::choice(std::string_view key, std::int32_t fallback, const KeySet& names,
                                  std::int32_t first) const {
    const element* found = member(key);
    if (!found) return fallback;
    const element value = *found;
    const std::int64_t last = first + static_cast<std::int64_t>(names.size()) - 1;
    if (value.type() == element_type::STRING) {
        const std::string_view name = value.get_string().value_unsafe();
        if (const int index = names.find(name); index >= 0) return first + index;
        std::string known;
        for (std::size_t i = 0; i < names.size(); ++i) known += (known.empty() ? "" : ", ") + std::string(names[i]);
        fail(key, "names no known value: \"" + printable(name) + "\" (use one of " + known + ", or an index " +
                      std::to_string(first) + ".." + std::to_string(last) + ")");
    }
    if (value.type() != element_type::INT64) fail_not_whole(key, value, first, last, "a name or an index");
    const std::int64_t index = value.get_int64().value_unsafe();
    if (index < first || index > last)
        fail(key, "must be a name or an index from " + std::to_string(first) + " to " + std::to_string(last) +
                      " (got " + std::to_string(index) + ")");
    return static_cast<std::int32_t>(index);
}

std::optional<simdjson::dom::array> ObjectReader::array(std::string_view key) const {
    const element* value = member(key);
    if (!value) return std::nullopt;
    if (value->type() != element_type::ARRAY) fail(key, std::string("must be an array, not ") + type_name(value->type()));
    return value->get_array().value_unsafe();
}

}  // namespace diagram_json
