#include <benchmark/benchmark.h>

#include "tools/levels/FloorLayout.h"
#include "tools/levels/Generator.h"
#include "tools/levels/Solver.h"

namespace {

// One level of the shipped set's kind, made for place n of 500 (candidates,
// solver check and floor included).
void BM_GenerateLevel(benchmark::State& state) {
    GeneratorOptions options;
    const int n = static_cast<int>(state.range(0));
    for (auto _ : state) benchmark::DoNotOptimize(GenerateLevel(options, n));
}
BENCHMARK(BM_GenerateLevel)->Arg(1)->Arg(100)->Arg(250)->Arg(400)->Arg(500)->Unit(benchmark::kMillisecond);

// The solver alone, on a level of place n.
void BM_SolveLevel(benchmark::State& state) {
    GeneratorOptions options;
    const LevelRecord level = GenerateLevel(options, static_cast<int>(state.range(0))).level;
    for (auto _ : state) benchmark::DoNotOptimize(SolveLevel(level));
}
BENCHMARK(BM_SolveLevel)->Arg(100)->Arg(250)->Arg(500)->Unit(benchmark::kMillisecond);

void BM_LayFloor(benchmark::State& state) {
    GeneratorOptions options;
    const LevelRecord level = GenerateLevel(options, static_cast<int>(state.range(0))).level;
    Rng rng(1);
    for (auto _ : state) benchmark::DoNotOptimize(LayFloor(level.PieceLayer, rng));
}
BENCHMARK(BM_LayFloor)->Arg(1)->Arg(500)->Unit(benchmark::kMicrosecond);

}  // namespace

BENCHMARK_MAIN();
