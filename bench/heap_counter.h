#pragma once

#include <algorithm>
#include <atomic>
#include <cstddef>
#include <string>

#include <benchmark/benchmark.h>

// The heap in use and its peak, counted by the operator new and delete of heap_counter.cpp: a
// benchmark program that links it measures what its readers allocate.
namespace heap {
extern std::atomic<std::size_t> in_use;
extern std::atomic<std::size_t> peak;
}  // namespace heap

// Runs `read` over `input` and reports its peak heap use beyond what was in use before, per input
// byte, as the counter peak_bytes_per_input_byte. `read` may throw (a refused input).
template <class Read>
void peak_per_input_byte(benchmark::State& state, const std::string& input, Read&& read) {
    double worst = 0;
    for (auto _ : state) {
        const std::size_t before = heap::in_use;
        heap::peak = before;
        try {
            benchmark::DoNotOptimize(read(input));
        } catch (...) {
        }
        worst = std::max(worst, static_cast<double>(heap::peak - before) / static_cast<double>(input.size()));
    }
    state.counters["peak_bytes_per_input_byte"] = worst;
    state.counters["input_MB"] = static_cast<double>(input.size()) / 1e6;
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * input.size()));
}
