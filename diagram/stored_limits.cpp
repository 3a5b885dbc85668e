#include "diagram/stored_limits.h"

#include <cstdint>

#include "diagram/diagram.h"

using formfile::ObjectNode;
using formfile::Value;
using formfile::ValueType;

namespace {

// Memory that reading takes per unit of the stream, as measured on the largest of each kind
// (bench/stored_diagram_bench.cpp reports the peak per input byte) with room to spare: an object
// becomes a component (an entity, the largest, takes about 2.3 KB), a collection item a record and
// its item, a list entry a line of a string list.
constexpr std::uint64_t kObjectBytes = 3072;
constexpr std::uint64_t kItemBytes = 320;
constexpr std::uint64_t kEntryBytes = 64;

// The components may take this much per input byte; the stream's own tree takes the rest of the 20.
constexpr std::uint64_t kComponentBytesPerInputByte = 12;
// Whatever its size, a stored diagram may take this much: small hand-written diagrams name their
// objects in few bytes.
constexpr std::uint64_t kComponentBytesAllowance = std::uint64_t{16} << 20;

struct Cost {
    std::uint64_t objects = 0, items = 0, entries = 0;
    std::uint64_t bytes() const { return objects * kObjectBytes + items * kItemBytes + entries * kEntryBytes; }
};

void add_value(const Value& value, Cost& cost) {
    switch (value.type()) {
        case ValueType::List:
            cost.entries += value.list().size();
            for (const Value& element : value.list()) add_value(element, cost);
            return;
        case ValueType::Set: cost.entries += value.set().size(); return;
        case ValueType::Collection:
            cost.items += value.items().size();
            for (const formfile::CollectionItem& item : value.items())
                for (const formfile::PropertyEntry& e : item.properties) add_value(e.value, cost);
            return;
        default: return;
    }
}

void add_object(const ObjectNode& node, Cost& cost) {
    ++cost.objects;
    for (const formfile::PropertyEntry& e : node.properties) add_value(e.value, cost);
    for (const ObjectNode& child : node.children) add_object(child, cost);
}

std::string mib(std::uint64_t bytes) { return std::to_string((bytes + (1u << 20) - 1) >> 20) + " MiB"; }

}  // namespace

void check_stored_size(std::string_view content, const std::string& source) {
    if (content.size() > kMaxStoredDiagramBytes)
        throw DiagramError(source + ": is a stored diagram of " + std::to_string(content.size()) + " bytes, more than the " +
                           mib(kMaxStoredDiagramBytes) + " a stored diagram may have");
}

void check_stored_objects(const ObjectNode& root, std::size_t input_bytes, const std::string& source) {
    Cost cost;
    add_object(root, cost);
    const std::uint64_t allowed = kComponentBytesAllowance + kComponentBytesPerInputByte * input_bytes;
    if (cost.bytes() <= allowed) return;
    throw DiagramError(source + ": a stored diagram of " + std::to_string(input_bytes) + " bytes that holds " +
                       std::to_string(cost.objects) + " objects, " + std::to_string(cost.items) + " collection items and " +
                       std::to_string(cost.entries) + " list entries: reading them would take about " + mib(cost.bytes()) +
                       ", more than the " + mib(allowed) +
                       " its size allows (20 bytes of memory per byte of the file in all); a diagram written by "
                       "store holds far fewer per byte");
}
