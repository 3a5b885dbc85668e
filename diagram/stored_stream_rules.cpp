// What the stream of a stored diagram may say (diagram/stored_stream_rules.h): checked on the objects
// as the stream gives them, before the component reader builds anything, since the shapes recurse,
// rename, clamp or drop as they are given their properties.

#include "diagram/stored_stream_rules.h"

#include <cstdint>
#include <limits>
#include <optional>
#include <span>
#include <unordered_map>
#include <vector>

#include "diagram/diagram.h"
#include "diagram/json_objects.h"
#include "platform/components/class_info.h"
#include "platform/ascii_case.h"
#include "platform/caseless_hash.h"
#include "platform/formfile/printable.h"
#include "platform/identifier.h"
#include "shapes/caption_tag.h"

using formfile::ObjectNode;
using formfile::PropertyEntry;
using formfile::Value;
using formfile::ValueType;

namespace {

constexpr std::int64_t kInt32Min = std::numeric_limits<std::int32_t>::min();
constexpr std::int64_t kInt32Max = std::numeric_limits<std::int32_t>::max();
constexpr std::int64_t kUInt32Max = std::numeric_limits<std::uint32_t>::max();

[[noreturn]] void refuse(const std::string& source, const std::string& where, const std::string& problem) {
    throw DiagramError(source + ": " + where + ": " + problem);
}

// Names and values of outside input as a message shows them: control bytes never reach the terminal.
std::string shown(std::string_view name) { return formfile::printable(name); }

std::string shown(const Value& v) {
    if (v.is_integer()) return std::to_string(v.integer());
    switch (v.type()) {
        case ValueType::Ident:
        case ValueType::False:
        case ValueType::True:
        case ValueType::Nil: return shown(v.ident_name());
        case ValueType::String:
        case ValueType::LString:
        case ValueType::UTF8String: return "'" + shown(v.bytes()) + "'";
        default: return std::string(formfile::value_type_name(v.type()));
    }
}

std::string name_of(const ObjectNode& node) { return shown(node.name.empty() ? node.class_name : node.name); }

bool is_class(const ObjectNode& node, std::string_view name) { return SameIdent(node.class_name, name); }

const PropertyEntry* entry(const ObjectNode& node, std::string_view name) {
    for (const PropertyEntry& e : node.properties)
        if (SameIdent(e.name, name)) return &e;
    return nullptr;
}

bool ends_with(std::string_view name, std::string_view tail) {
    return name.size() > tail.size() && SameIdent(name.substr(name.size() - tail.size()), tail);
}

// A property a diagram does not hold, accepted only at the value the component starts with (which
// is what the stored form writes): anything else would be read and then lost.
bool at_start_value(std::string_view property, const Value& v) {
    const auto integer_zero = [&] { return v.is_integer() && v.integer() == 0; };
    const auto ident = [&](std::string_view name) { return v.type() == ValueType::Ident && SameIdent(v.bytes(), name); };
    if (SameIdent(property, "Hint"))
        return (v.type() == ValueType::String || v.type() == ValueType::LString || v.type() == ValueType::UTF8String) &&
               v.bytes().empty();
    if (SameIdent(property, "Cursor")) return ident("crDefault") || integer_zero();
    if (SameIdent(property, "Align")) return ident("alNone");
    if (SameIdent(property, "ParentColor")) return v.type() == ValueType::False;
    if (SameIdent(property, "Color")) return ident("clWhite") || (v.is_integer() && v.integer() == 0xFFFFFF);
    return integer_zero();  // Tag, HelpContext, the document's bounds
}

class StreamRules {
public:
    StreamRules(const ObjectNode& root, const std::string& source) : root_(root), source_(source) {
        objects_.reserve(root.children.size());
        for (std::size_t i = 0; i < root.children.size(); ++i) objects_.try_emplace(IdentKey(root.children[i].name), i);
    }

    void check() const {
        check_names_once(root_);
        check_caption_rings();
        check_not_held(root_, true);
        for (const ObjectNode& child : root_.children) {
            check_caption_owner(child);
            if (is_class(child, "TRelacionamento")) check_relationship(child);
            if (is_class(child, "TEntidade")) check_entity(child);
            check_not_held(child, false);
            check_fonts(child);
        }
    }

private:
    // The object of the stream a reference names, resolved as the component reader's fix-up resolves
    // it (the document's own name first); none for the document or a name the stream does not hold.
    std::optional<std::size_t> target(const Value& reference) const {
        if (reference.type() != ValueType::Ident || SameIdent(reference.bytes(), root_.name)) return std::nullopt;
        const auto it = objects_.find(IdentKey(reference.bytes()));
        return it == objects_.end() ? std::nullopt : std::optional(it->second);
    }

    // A Name property would rename the object halfway through its properties: the reader's later
    // lookups by the header's name would find another object, or none. A property given twice would be
    // set twice, the checks here seeing one value and the shapes keeping the other, so it is refused
    // as the JSON form refuses a key given twice.
    void check_names_once(const ObjectNode& node) const {
        if (entry(node, "Name"))
            refuse(source_, name_of(node) + ".Name",
                   "an object is named by its header (object " + name_of(node) + ": " + shown(node.class_name) +
                       "), not by a Name property, which would rename it halfway through the stream");
        check_given_once(node.properties, [&] { return name_of(node); });
        for (const PropertyEntry& e : node.properties)
            if (e.value.type() == ValueType::Collection)
                for (std::size_t i = 0; i < e.value.items().size(); ++i)
                    check_given_once(e.value.items()[i].properties, [&] {
                        return name_of(node) + "." + shown(e.name) + "[" + std::to_string(i) + "]";
                    });
        for (const ObjectNode& child : node.children) check_names_once(child);
    }

    // `where` names the list in the message, made only when there is something to say. The names go
    // into a table of their hashes, in stream order, so that the check allocates nothing per name and
    // refuses the first name given again; the short lists of collection items are compared pair by
    // pair, which costs less than hashing them.
    template <class Where>
    void check_given_once(const std::vector<PropertyEntry>& properties, const Where& where) const {
        if (properties.size() < 2) return;
        const auto given_again = [&](std::size_t i) {
            refuse(source_, where() + "." + shown(properties[i].name), "is given twice: an object gives each property once");
        };
        if (properties.size() <= 8) {
            for (std::size_t i = 1; i < properties.size(); ++i)
                for (std::size_t j = 0; j < i; ++j)
                    if (SameIdent(properties[j].name, properties[i].name)) given_again(i);
            return;
        }
        std::size_t size = 16;
        while (size < properties.size() * 2) size *= 2;
        std::vector<std::pair<std::uint64_t, std::size_t>>& slots = slots_;  // hash and index + 1; 0: free
        slots.assign(size, {0, 0});
        for (std::size_t i = 0; i < properties.size(); ++i) {
            const std::uint64_t hash = AsciiCaselessHash(properties[i].name);
            for (std::size_t at = hash & (size - 1);; at = (at + 1) & (size - 1)) {
                auto& [slot_hash, slot_index] = slots[at];
                if (slot_index == 0) {
                    slots[at] = {hash, i + 1};
                    break;
                }
                if (slot_hash == hash && SameIdent(properties[slot_index - 1].name, properties[i].name)) given_again(i);
            }
        }
    }

    // Captions that caption each other in a ring would pass each other their parent without end. Each
    // object captions at most one other, so every ring is found by one walk along the references.
    void check_caption_rings() const {
        const std::size_t n = root_.children.size();
        std::vector<std::optional<std::size_t>> next(n);
        for (std::size_t i = 0; i < n; ++i)
            if (const PropertyEntry* e = entry(root_.children[i], "Caption")) next[i] = target(e->value);
        enum : std::uint8_t { unseen, on_walk, done };
        std::vector<std::uint8_t> state(n, unseen);
        std::vector<std::size_t> walk;
        for (std::size_t start = 0; start < n; ++start) {
            walk.clear();
            std::optional<std::size_t> at = start;
            while (at && state[*at] == unseen) {
                state[*at] = on_walk;
                walk.push_back(*at);
                at = next[*at];
            }
            if (at && state[*at] == on_walk) {
                std::vector<std::string> ring;
                for (std::size_t i = 0; i < walk.size(); ++i)
                    if (!ring.empty() || walk[i] == *at) ring.push_back(name_of(root_.children[walk[i]]));
                refuse_ring(ring);
            }
            for (std::size_t i : walk) state[i] = done;
        }
    }

    [[noreturn]] void refuse_ring(const std::vector<std::string>& ring) const {
        std::string problem;
        if (ring.size() == 1) {
            problem = ring[0] + " captions itself";
        } else if (ring.size() == 2) {
            problem = ring[0] + " and " + ring[1] + " caption each other";
        } else {
            problem = "captions form a ring: ";
            for (std::size_t i = 0; i < ring.size(); ++i)
                problem += (i == 0 ? "" : i + 1 == ring.size() ? " and " : ", ") + ring[i] + " captions " +
                           ring[(i + 1) % ring.size()];
        }
        refuse(source_, ring[0] + ".Caption", problem + " (only an entity or a relationship has a caption)");
    }

    // Only an entity or a relationship shows a caption; the reader would take none from another shape.
    void check_caption_owner(const ObjectNode& node) const {
        const PropertyEntry* e = entry(node, "Caption");
        if (!e || e->value.type() == ValueType::Nil || is_class(node, "TEntidade") || is_class(node, "TRelacionamento") ||
            !find_class(node.class_name))
            return;
        const char* what = is_class(node, "tnoxCaption") ? "a caption has no caption of its own"
                           : is_class(node, "Ttexto")    ? "a free text has no caption"
                                                         : "this object has no caption";
        refuse(source_, name_of(node) + ".Caption",
               std::string(what) + ": only an entity or a relationship shows one (got " + shown(e->value) + ")");
    }

    void check_relationship(const ObjectNode& node) const {
        for (const char* end : {"StartConn.Shape", "EndConn.Shape"}) {
            const PropertyEntry* e = entry(node, end);
            if (!e || e->value.type() != ValueType::Ident) continue;  // none, or of a type the reader refuses
            const std::optional<std::size_t> found = target(e->value);
            if (found && is_class(root_.children[*found], "TEntidade")) continue;
            refuse(source_, name_of(node) + "." + end,
                   "must name an entity of the diagram (" + shown(e->value) + " is " +
                       (found ? "a " + shown(root_.children[*found].class_name)
                              : SameIdent(e->value.bytes(), root_.name) ? std::string("the document")
                                                                        : std::string("no object of the stream")) +
                       ")");
        }
        // The line's box spans its two entities and is computed from them: written, not read back, but
        // a 32-bit whole number as every bound is.
        for (const char* bound : {"Left", "Top", "Width", "Height"})
            if (const PropertyEntry* e = entry(node, bound); e && e->value.is_integer())
                if (const std::int64_t v = e->value.integer(); v < kInt32Min || v > kInt32Max)
                    refuse(source_, name_of(node) + "." + bound, diagram_json::range_problem(v, kInt32Min, kInt32Max));
        if (const PropertyEntry* e = entry(node, "LineColour")) check_colour(node, *e);
    }

    void check_entity(const ObjectNode& node) const {
        // The entity keeps its layout when given another value.
        if (const PropertyEntry* e = entry(node, "Tipoform"); e && e->value.is_integer())
            if (const std::int64_t v = e->value.integer(); v < 0 || v > 2)
                refuse(source_, name_of(node) + ".Tipoform", diagram_json::range_problem(v, 0, 2));
    }

    // Tags, cursors, hints and events of the shapes, and the document's own bounds and looks, are not
    // part of a diagram. A caption's tag is 999, which the shape it captions gives it.
    void check_not_held(const ObjectNode& node, bool document) const {
        const ComponentClass* type = find_class(node.class_name);
        if (!type) return;  // the reader names the unknown class
        for (const PropertyEntry& e : node.properties) {
            if (e.name.find('.') != std::string::npos) continue;  // fonts and the relationship's ends
            const PropertyInfo* info = type->find_property(e.name);
            if (!info) continue;  // the reader names the unknown property
            const auto where = [&] { return name_of(node) + "." + shown(e.name); };
            if (info->kind == PropertyKind::Event) {
                if (e.value.type() != ValueType::Nil)
                    refuse(source_, where(), "a diagram binds no events: its document has no method " + shown(e.value) +
                                               " to call; leave it out");
                continue;
            }
            static constexpr const char* kShapes[] = {"Tag", "Cursor", "Hint"};
            static constexpr const char* kDocument[] = {"Tag",   "Cursor",      "Hint", "HelpContext", "Align", "Color",
                                                        "ParentColor", "Left", "Top",  "Width",       "Height"};
            bool held = true;
            for (const char* name : document ? std::span<const char* const>(kDocument) : std::span<const char* const>(kShapes))
                held = held && !SameIdent(e.name, name);
            if (held || at_start_value(e.name, e.value)) continue;
            if (SameIdent(e.name, "Tag") && is_class(node, "tnoxCaption")) {
                if (e.value.is_integer() && e.value.integer() == kCaptionTag) continue;
                refuse(source_, where(),
                       "a caption's tag is " + std::to_string(kCaptionTag) +
                           ", which the shape it captions gives it; another value would be lost (got " + shown(e.value) + ")");
            }
            refuse(source_, where(),
                   std::string("is not part of a diagram and would be lost: leave it out") + " (got " + shown(e.value) + ")");
        }
    }

    // What the fonts' setters would cut to their width: a character set is one byte, a colour 32 bits
    // (system colours from 0x80000000 on, or the same as negative numbers).
    void check_fonts(const ObjectNode& node) const {
        for (const PropertyEntry& e : node.properties) {
            if (!e.value.is_integer()) continue;
            if (ends_with(e.name, ".Charset") && (e.value.integer() < 0 || e.value.integer() > 255))
                refuse(source_, name_of(node) + "." + shown(e.name), diagram_json::range_problem(e.value.integer(), 0, 255));
            if (ends_with(e.name, ".Color")) check_colour(node, e);
        }
    }

    void check_colour(const ObjectNode& node, const PropertyEntry& e) const {
        if (e.value.is_integer() && (e.value.integer() < kInt32Min || e.value.integer() > kUInt32Max))
            refuse(source_, name_of(node) + "." + shown(e.name),
                   diagram_json::range_problem(e.value.integer(), kInt32Min, kUInt32Max));
    }

    const ObjectNode& root_;
    const std::string& source_;
    std::unordered_map<std::string, std::size_t> objects_;  // the document's objects by IdentKey of their names
    mutable std::vector<std::pair<std::uint64_t, std::size_t>> slots_;  // check_given_once's, kept for its capacity
};

}  // namespace

void check_stored_stream(const ObjectNode& root, const std::string& source) { StreamRules(root, source).check(); }
