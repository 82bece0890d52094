// Building the Z2 permutation orbifold of a block with its currents, orbits, conjugates and
// fixed-point theories: su(2) at level 60 (61 fields, 2,074 orbifold fields) and E8 at level 3
// should each take under 10 s on one core, base block included. Every orbifold element costs a
// few products of the base S and P, read once; the currents and conjugates are looked for among
// the fields of the right quantum dimension and weight only. A block is built once per process,
// so each case runs once.
#include "store/Storemanager.h"

#include <benchmark/benchmark.h>

#include <cstdio>

namespace {

void BuildPermutationOrbifold(benchmark::State& state) {
    const int type = static_cast<int>(state.range(0));
    const int rank = static_cast<int>(state.range(1));
    const int level = static_cast<int>(state.range(2));
    SpectrumData* B = nullptr;
    for (auto _ : state) {
        SpectrumData* A = SM_getData(type, rank, level);
        benchmark::DoNotOptimize(B = A ? SM_getPermutationOrbifold(A, 2, nullptr) : nullptr);
    }
    if (!B) {
        state.SkipWithError("no orbifold");
        return;
    }
    const int N = B->basis->Nprimaries;
    if (B->Nprimaries != N * (N - 1) / 2 + 4 * N) {
        state.SkipWithError("wrong number of fields");
        return;
    }
    state.counters["fields"] = B->Nprimaries;
    state.counters["simple_currents"] = SM_getCenter(B);
    state.counters["fixed_point_currents"] = B->FCFTnumber;
}

} // namespace

BENCHMARK(BuildPermutationOrbifold)
    ->Args({1, 1, 60})
    ->Args({5, 8, 3})
    ->Iterations(1)
    ->Unit(benchmark::kSecond);

BENCHMARK_MAIN();
