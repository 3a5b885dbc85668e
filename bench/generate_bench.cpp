// `kzr40 generate` of the synthetic diagram of 10,000 entities, for the Delphi 5 target and for
// the Lazarus target, through the built program as a user runs it (the Lazarus target should take
// at most 1.5 times the Delphi 5 target's time).

#include <sys/wait.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <string>

#include <benchmark/benchmark.h>

#include "bench/synthetic_diagram.h"

namespace {

namespace fs = std::filesystem;

const fs::path& diagram_file() {
    static const fs::path file = [] {
        const fs::path path = fs::temp_directory_path() / ("kzr40-generate-bench-" + std::to_string(getpid()) + ".json");
        std::ofstream(path, std::ios::binary) << synthetic_diagram_json(10'000, 20);
        return path;
    }();
    return file;
}

void generate(benchmark::State& state, const char* target) {
    const fs::path out = fs::temp_directory_path() / ("kzr40-generate-bench-" + std::to_string(getpid()));
    const std::string command = std::string(KZR40_HOST_PATH) + " generate " + diagram_file().string() + " --dir " +
                                out.string() + " --target " + target + " >/dev/null 2>&1";
    for (auto _ : state) {
        state.PauseTiming();
        fs::remove_all(out);
        state.ResumeTiming();
        if (std::system(command.c_str()) != 0) state.SkipWithError("kzr40 generate failed");
    }
    fs::remove_all(out);
}

void GenerateDelphi5(benchmark::State& state) { generate(state, "delphi5"); }
void GenerateLazarus(benchmark::State& state) { generate(state, "lazarus"); }

}  // namespace

BENCHMARK(GenerateDelphi5)->Unit(benchmark::kSecond)->Iterations(3);
BENCHMARK(GenerateLazarus)->Unit(benchmark::kSecond)->Iterations(3);

int main(int argc, char** argv) {
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    std::error_code ignored;
    fs::remove(diagram_file(), ignored);
}
