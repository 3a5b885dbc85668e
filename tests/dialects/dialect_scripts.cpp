#include "tests/dialects/dialect_scripts.h"

#include "diagram/model_keys.h"
#include "dialects/schema_plan.h"
#include "dialects/script_writer.h"
#include "tests/support/entity_builder.h"
#include "tests/support/random_schema.h"

namespace dialect_tests {

namespace {

// Sizes at and beyond what each dialect's types take, which the type mapping brings within them.
Diagram extreme_sizes() {
    using test_support::Attribute;
    Diagram d;
    d.project = "extremes";
    std::vector<Attribute> attributes = {
        {"id", 14, 0, 0, true},         {"bcd_unsized", 8, 0, 0},        {"bcd_wide", 8, 2000, 3000},
        {"bcd_scale", 8, 5, 9},         {"text_unsized", 1, 0, 0},       {"text_huge", 1, 20'000'000, 0},
        {"text_mysql_over", 1, 16384, 0}, {"bytes_unsized", 12, 0, 0},
        {"bytes_wide", 12, 300, 0},     {"varbytes_huge", 13, 70'000, 0}, {"memo", 16, 5'000'000, 0},
        {"unknown", 0, 7, 0},           {"float_sized", 6, 30, 20},      {"word", 4, 0, 0},
    };
    for (Attribute& a : attributes) a.nulo = !a.chave;
    d.entities.push_back(DiagramEntity{test_support::make_entity("Extremes", "extremes", attributes), {}, std::nullopt, std::nullopt});
    // The longest VARCHAR of MySQL fills a row alone.
    d.entities.push_back(DiagramEntity{test_support::make_entity("Widest", "widest", {{"text", 1, 16383, 0, false, true}}), {}, std::nullopt, std::nullopt});
    return d;
}

}  // namespace

std::vector<std::string> test_diagram_names() {
    std::vector<std::string> names = {"cliente.json", "vendas.json", "extreme sizes"};
    for (int seed = 1; seed <= kRandomDiagrams; ++seed) names.push_back("random " + std::to_string(seed));
    return names;
}

Diagram test_diagram(std::size_t index) {
    if (index < 2) return load_diagram(std::string(KZR40_SOURCE_DIR "/examples/") + (index == 0 ? "cliente.json" : "vendas.json"));
    if (index == 2) return extreme_sizes();
    return test_support::RandomSchema(static_cast<unsigned>(index - 2)).make();
}

std::string dialect_script(const Diagram& diagram, Dialect dialect, bool drop) {
    const SchemaPlan plan = plan_schema(diagram, model_keys(diagram), dialect, "test.json");
    return write_script(diagram, plan, drop);
}

}  // namespace dialect_tests
