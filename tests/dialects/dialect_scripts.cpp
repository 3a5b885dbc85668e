#include "tests/dialects/dialect_scripts.h"

#include "diagram/model_keys.h"
#include "dialects/schema_plan.h"
#include "dialects/script_writer.h"
#include "tests/support/random_schema.h"

namespace dialect_tests {

std::vector<std::string> test_diagram_names() {
    std::vector<std::string> names = {"cliente.json", "vendas.json"};
    for (int seed = 1; seed <= kRandomDiagrams; ++seed) names.push_back("random " + std::to_string(seed));
    return names;
}

Diagram test_diagram(std::size_t index) {
    if (index < 2) return load_diagram(std::string(KZR40_SOURCE_DIR "/examples/") + (index == 0 ? "cliente.json" : "vendas.json"));
    return test_support::RandomSchema(static_cast<unsigned>(index - 1)).make();
}

std::string dialect_script(const Diagram& diagram, Dialect dialect, bool drop) {
    const SchemaPlan plan = plan_schema(diagram, model_keys(diagram), dialect, "test.json");
    return write_script(diagram, plan, drop);
}

}  // namespace dialect_tests
