// synthetic_diagram [ENTITIES [ATTRIBUTES [relationships]]]: prints the synthetic diagram file of the
// benchmarks; with "relationships", one relationship per entity.

#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "bench/synthetic_diagram.h"

int main(int argc, char** argv) {
    if (argc > 1 && (argv[1][0] == '-')) {
        std::puts("usage: synthetic_diagram [ENTITIES [ATTRIBUTES [relationships]]]  (default 10000 20; at least 5 "
                  "attributes; \"relationships\": one per entity)");
        return argv[1][1] == 'h' || argv[1][2] == 'h' ? 0 : 2;
    }
    const int entities = argc > 1 ? std::atoi(argv[1]) : 10000;
    const int attributes = argc > 2 ? std::atoi(argv[2]) : 20;
    const bool relationships = argc > 3 && std::strcmp(argv[3], "relationships") == 0;
    if (entities < 1 || attributes < 5 || (argc > 3 && !relationships)) {
        std::fputs("synthetic_diagram: need at least 1 entity and 5 attributes, and only \"relationships\" after them\n", stderr);
        return 2;
    }
    const std::string json = synthetic_diagram_json(entities, attributes, relationships);
    return std::fwrite(json.data(), 1, json.size(), stdout) == json.size() ? 0 : 1;
}
