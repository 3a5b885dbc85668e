#pragma once

#include <cstddef>
#include <span>
#include <vector>

// The order to create tables in so that each foreign key refers to a table that exists, and the keys
// that no order can satisfy.

// A foreign key as the order sees it: the table that holds it refers to `parent`.
struct TableReference {
    std::size_t parent = 0;
    std::size_t child = 0;
};

struct TableOrder {
    std::vector<std::size_t> tables;  // every table once, parents before their children where they can be
    // Per reference, in the order given: whether its parent is created after its child (a cycle such
    // as A -> B -> A), so that the key can only be added once both tables exist. A table that refers
    // to itself is created with its key.
    std::vector<bool> after_tables;
};

// Tables keep their own order (0, 1, 2...) wherever the references leave a choice; within a cycle
// the first table of it in that order comes first.
TableOrder order_tables(std::size_t table_count, std::span<const TableReference> references);
