#include "dialects/table_order.h"

#include <functional>
#include <queue>

#include "dialects/grouped_indices.h"

TableOrder order_tables(std::size_t table_count, std::span<const TableReference> references) {
    // Kahn's algorithm, taking the lowest-numbered ready table each time; when none is ready the rest
    // hold a cycle, and its lowest-numbered table goes next, its unmet references left for later.
    // Each table's references to it as a parent (those of other tables), in reference order.
    const GroupedIndices children(table_count, references.size(), [references](std::size_t r) {
        return references[r].parent == references[r].child ? GroupedIndices::kNoGroup : references[r].parent;
    });
    std::vector<std::size_t> waiting(table_count, 0);  // parents not yet created
    for (const TableReference& r : references)
        if (r.parent != r.child) ++waiting[r.child];
    std::priority_queue<std::size_t, std::vector<std::size_t>, std::greater<>> ready;
    for (std::size_t t = 0; t < table_count; ++t)
        if (waiting[t] == 0) ready.push(t);
    std::vector<bool> created(table_count, false);
    std::vector<std::size_t> position(table_count, 0);
    TableOrder order;
    order.tables.reserve(table_count);
    std::size_t next_unplaced = 0;  // every table before it is created
    const auto create = [&](std::size_t t) {
        created[t] = true;
        position[t] = order.tables.size();
        order.tables.push_back(t);
        for (std::size_t r : children[t]) {
            const std::size_t child = references[r].child;
            if (--waiting[child] == 0 && !created[child]) ready.push(child);
        }
    };
    while (order.tables.size() < table_count) {
        if (ready.empty()) {
            while (created[next_unplaced]) ++next_unplaced;
            create(next_unplaced);
            continue;
        }
        const std::size_t t = ready.top();
        ready.pop();
        if (!created[t]) create(t);
    }
    order.after_tables.reserve(references.size());
    for (const TableReference& r : references)
        order.after_tables.push_back(r.parent != r.child && position[r.parent] > position[r.child]);
    return order;
}
