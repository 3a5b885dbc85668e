// Memory of reading stored diagrams: the peak heap use per input byte of parse_stored_diagram (target:
// about 20 at most), on the synthetic diagram of 10,000 entities in both forms and on the streams that
// cost the most per byte: objects and collection items that carry nothing, as many as the reader
// accepts for their size (a stream with more is refused before any component is made).

#include <benchmark/benchmark.h>

#include <string>

#include "bench/heap_counter.h"
#include "bench/synthetic_diagram.h"
#include "diagram/stored_diagram.h"
#include "platform/formfile/binary.h"
#include "platform/formfile/text.h"

namespace {

// `count` entities of no content but a hint of `padding` bytes, as text.
std::string bare_entities(int count, int padding) {
    std::string text = "object Diagrama: TDiagramDocument\n";
    const std::string hint = "    Hint = '" + std::string(static_cast<std::size_t>(padding), 'h') + "'\n";
    for (int i = 0; i < count; ++i) text += "  object E" + std::to_string(i) + ": TEntidade\n" + hint + "  end\n";
    return text + "end\n";
}

// One entity with `count` attribute records of no content but a title of `padding` bytes, as text.
std::string bare_records(int count, int padding) {
    std::string text = "object Diagrama: TDiagramDocument\n  object E1: TEntidade\n    AttributeRecords = <";
    const std::string item = "\n      item\n        titulo = '" + std::string(static_cast<std::size_t>(padding), 't') + "'\n      end";
    for (int i = 0; i < count; ++i) text += item;
    return text + ">\n  end\nend\n";
}

std::string binary_of(const std::string& text) { return formfile::write_form_file(formfile::read_text(text)); }

const Diagram& synthetic() {
    static const Diagram diagram = parse_diagram(synthetic_diagram_json(10000, 20), "synthetic");
    return diagram;
}

void read(benchmark::State& state, const std::string& input) {
    peak_per_input_byte(state, input, [](const std::string& in) { return parse_stored_diagram(in, "bench").entities.size(); });
}

void BM_MemorySyntheticBinary(benchmark::State& state) { read(state, stored_diagram_bytes(synthetic(), "bench")); }
void BM_MemorySyntheticText(benchmark::State& state) { read(state, stored_diagram_text(synthetic(), "bench")); }
// Paddings close to the least that the limits accept for so many objects (a text item needs none).
void BM_MemoryBareEntitiesText(benchmark::State& state) { read(state, bare_entities(200000, 230)); }
void BM_MemoryBareEntitiesBinary(benchmark::State& state) { read(state, binary_of(bare_entities(200000, 240))); }
void BM_MemoryBareRecordsText(benchmark::State& state) { read(state, bare_records(1000000, 10)); }
void BM_MemoryBareRecordsBinary(benchmark::State& state) { read(state, binary_of(bare_records(1000000, 20))); }

BENCHMARK(BM_MemorySyntheticBinary)->Unit(benchmark::kMillisecond)->Iterations(1);
BENCHMARK(BM_MemorySyntheticText)->Unit(benchmark::kMillisecond)->Iterations(1);
BENCHMARK(BM_MemoryBareEntitiesText)->Unit(benchmark::kMillisecond)->Iterations(1);
BENCHMARK(BM_MemoryBareEntitiesBinary)->Unit(benchmark::kMillisecond)->Iterations(1);
BENCHMARK(BM_MemoryBareRecordsText)->Unit(benchmark::kMillisecond)->Iterations(1);
BENCHMARK(BM_MemoryBareRecordsBinary)->Unit(benchmark::kMillisecond)->Iterations(1);

}  // namespace

BENCHMARK_MAIN();
