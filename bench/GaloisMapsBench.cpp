// The signed maps of every scale of a block: composed from the cached rows of the unit-group
// generators and the primes dividing the modulus, against a folding of every field per scale.
// A2 at level 30: 496 fields, modulus 99.
#include "lie/Galois.h"
#include "store/Storemanager.h"

#include <benchmark/benchmark.h>

#include <vector>

namespace {

SpectrumData* block() {
    static SpectrumData* sd = SM_getData(1, 2, 30);
    return sd;
}

void ComposedFromCachedRows(benchmark::State& state) {
    SpectrumData* sd = block();
    const int M = GaloisModulus(sd->type, sd->rank, sd->level);
    std::vector<int> map(static_cast<std::size_t>(sd->Nprimaries));
    for (auto _ : state)
        for (int s = 1; s < M; s++)
            benchmark::DoNotOptimize(SM_getAnyOrbit(sd, s, map.data()));
    state.counters["fields"] = sd->Nprimaries;
    state.counters["scales"] = M - 1;
}

void FoldedPerScale(benchmark::State& state) {
    SpectrumData* sd = block();
    const int M = GaloisModulus(sd->type, sd->rank, sd->level);
    std::vector<int> map(static_cast<std::size_t>(sd->Nprimaries));
    for (auto _ : state)
        for (int s = 1; s < M; s++)
            benchmark::DoNotOptimize(SM_computeScaleOrbit(sd, s, map.data()));
    state.counters["fields"] = sd->Nprimaries;
    state.counters["scales"] = M - 1;
}

} // namespace

BENCHMARK(ComposedFromCachedRows)->Unit(benchmark::kMillisecond);
BENCHMARK(FoldedPerScale)->Unit(benchmark::kMillisecond);
BENCHMARK_MAIN();
