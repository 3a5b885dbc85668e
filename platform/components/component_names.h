#pragma once

#include <cstdint>
#include <string_view>
#include <vector>

class TComponent;

// The named components of an owner, found by name with letter case ignored. The table keeps the
// components themselves (their own Name() is the key) in one open-addressed array: a diagram owns tens
// of thousands of shapes, each named and renamed once, and a node and a folded copy of the name per
// entry cost an allocation and a cache miss each. A component must leave the table before its name
// changes and join it again after.
class ComponentNames {
public:
    TComponent* find(std::string_view name) const;
    // Adds `component` under its current name, replacing one of the same name.
    void insert(TComponent* component);
    // Removes `component`, found under its current name; nothing when it is not there.
    void erase(const TComponent* component);

private:
    struct Slot {
        std::uint64_t hash = 0;
        TComponent* component = nullptr;  // null: free
    };
    static std::uint64_t hash_of(std::string_view name);
    // The slot holding `name` or the free slot where it would go.
    std::size_t locate(std::string_view name, std::uint64_t hash) const;
    void grow();

    std::vector<Slot> slots_;  // size a power of two, at most half used
    std::size_t count_ = 0;
};
