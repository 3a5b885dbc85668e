// Throughput of form streaming on a large synthetic maintenance form: building the object tree from
// live components, and the binary and text writers and readers. The memory benchmarks report the
// readers' peak heap use per input byte (target: under 20), counted by bench/heap_counter.cpp.

#include <benchmark/benchmark.h>

#include <algorithm>
#include <memory>

#include "appgen/resultform_design.h"
#include "bench/heap_counter.h"
#include "platform/components/dbgrids.h"
#include "platform/components/library.h"
#include "platform/components/stdctrls.h"
#include "platform/components/streaming.h"
#include "platform/formfile/binary.h"
#include "platform/formfile/text.h"

using formfile::Value;

namespace {

// A scratch form with `rows` label/editor pairs and a grid of `rows` columns.
std::unique_ptr<TCustomForm> synthetic_form(int rows) {
    std::unique_ptr<TCustomForm> form(create_result_form(nullptr));
    auto* box = dynamic_cast<TWinControl*>(form->FindComponent("ScrollBox1"));
    TComponent* source = form->FindComponent("DataSource1");
    const char* editors[] = {"TDBEdit", "TDBMemo", "TDBCheckBox", "TDBComboBox", "TDBText"};
    for (int i = 0; i < rows; ++i) {
        auto* label = create<TLabel>("TLabel", form.get());
        label->SetParent(box);
        label->SetName("Label" + std::to_string(i));
        label->SetCaption("Descri\xE7\xE3o do campo " + std::to_string(i));
        label->SetBounds(10, 10 + 30 * i, 130, 16);
        auto* editor = create<TControl>(editors[i % 5], form.get());
        editor->SetParent(box);
        editor->SetName("Editor" + std::to_string(i));
        editor->SetBounds(150, 10 + 30 * i, 341, 24);
        editor->SetProperty("DataField", std::string("CAMPO_" + std::to_string(i)));
        editor->SetReference("DataSource", source);
    }
    auto* grid = create<TDBGrid>("TDBGrid", form.get());
    grid->SetParent(box);
    grid->SetName("Grid1");
    for (int i = 0; i < rows; ++i) {
        TColumn& column = grid->AddColumn();
        column.SetProperty("FieldName", std::string("CAMPO_" + std::to_string(i)));
        column.SetProperty("Title.Caption", std::string("T\xEDtulo " + std::to_string(i)));
    }
    return form;
}

constexpr int kRows = 2000;

void BM_StreamLiveForm(benchmark::State& state) {
    const auto form = synthetic_form(kRows);
    std::size_t bytes = 0;
    for (auto _ : state) {
        const std::string file = form_file_bytes(*form);
        bytes += file.size();
        benchmark::DoNotOptimize(file.data());
    }
    state.SetBytesProcessed(static_cast<std::int64_t>(bytes));
    state.SetItemsProcessed(state.iterations() * (2 * kRows + 6));
}
BENCHMARK(BM_StreamLiveForm)->Unit(benchmark::kMillisecond);

void BM_ReadBinary(benchmark::State& state) {
    const std::string file = form_file_bytes(*synthetic_form(kRows));
    for (auto _ : state) benchmark::DoNotOptimize(formfile::read_form_file(file));
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * file.size()));
}
BENCHMARK(BM_ReadBinary)->Unit(benchmark::kMillisecond);

void BM_WriteText(benchmark::State& state) {
    const formfile::ObjectNode root = stream_component(*synthetic_form(kRows));
    std::size_t bytes = 0;
    for (auto _ : state) {
        const std::string text = formfile::write_text(root);
        bytes += text.size();
        benchmark::DoNotOptimize(text.data());
    }
    state.SetBytesProcessed(static_cast<std::int64_t>(bytes));
}
BENCHMARK(BM_WriteText)->Unit(benchmark::kMillisecond);

void BM_ReadText(benchmark::State& state) {
    const std::string text = formfile::write_text(stream_component(*synthetic_form(kRows)));
    for (auto _ : state) benchmark::DoNotOptimize(formfile::read_text(text));
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * text.size()));
}
BENCHMARK(BM_ReadText)->Unit(benchmark::kMillisecond);

// A form holding one list of `count` booleans: one byte per element in the binary stream, the case
// where the size of a value in memory counts most.
formfile::ObjectNode boolean_list(std::size_t count) {
    formfile::ObjectNode root;
    root.class_name = "TF";
    root.name = "F";
    root.properties.push_back({"P", Value::list_value(std::vector<Value>(count, Value::boolean(true)))});
    return root;
}

void BM_MemoryBinaryBooleanList(benchmark::State& state) {
    const std::string file = formfile::write_form_file(boolean_list(4'000'000));
    peak_per_input_byte(state, file, [](const std::string& f) { return formfile::read_form_file(f); });
}
BENCHMARK(BM_MemoryBinaryBooleanList)->Unit(benchmark::kMillisecond);

void BM_MemoryTextBooleanList(benchmark::State& state) {
    const std::string text = formfile::write_text(boolean_list(1'000'000));
    peak_per_input_byte(state, text, [](const std::string& t) { return formfile::read_text(t); });
}
BENCHMARK(BM_MemoryTextBooleanList)->Unit(benchmark::kMillisecond);

void BM_MemoryBinaryForm(benchmark::State& state) {
    const std::string file = form_file_bytes(*synthetic_form(kRows));
    peak_per_input_byte(state, file, [](const std::string& f) { return formfile::read_form_file(f); });
}
BENCHMARK(BM_MemoryBinaryForm)->Unit(benchmark::kMillisecond);

void BM_MemoryTextForm(benchmark::State& state) {
    const std::string text = formfile::write_text(stream_component(*synthetic_form(kRows)));
    peak_per_input_byte(state, text, [](const std::string& t) { return formfile::read_text(t); });
}
BENCHMARK(BM_MemoryTextForm)->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
