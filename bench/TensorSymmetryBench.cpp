// The symmetries of (A1_4)^8 without currents: the 8! = 40320 permutations of the factors, each
// a symmetry, acting on the 2^8 = 256 simple currents. Measured: finding them with the images of
// the first 1000 (one look-up per symmetry and generator), and asking for every image of every
// current once, which fills the cache of 40320 x 256 ints within "Maxperm" and "Maxcurrent".
// The spectrum (390625 fields) is computed once, outside the timing.
#include "base/Error.h"
#include "base/Output.h"
#include "numeric/Sorting.h"
#include "store/Storemanager.h"
#include "tensor/Coset.h"

#include <benchmark/benchmark.h>

#include <sys/resource.h>

namespace {

constexpr int Copies = 8;

TensorProduct* product() {
    static TensorProduct* TP = nullptr;
    if (TP)
        return TP;
    setBackground(1);
    TerminalOutputOff();
    TP = getCurrentTensor();
    resetCoset(TP);
    SpectrumData* sd = SM_getData(1, 1, 4);
    for (int k = 0; k < Copies; k++)
        addTensorFactor(TP, sd, 0);
    computeTensorSpectrum(TP);
    return TP;
}

double maxResidentMegabytes() {
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    return static_cast<double>(usage.ru_maxrss) / 1024.0;
}

void report(benchmark::State& state, TensorProduct* TP) {
    const VectorSpace* cache = TP->CurrentPermutations;
    const int permsize = cache->rowsize - 2;
    state.counters["symmetries"] = CT_TotalOuterAutomorphisms(TP);
    state.counters["currents"] = TP->TensorSimpleCurrentOrder;
    state.counters["cached_symmetries"] = permsize;
    state.counters["cached_currents"] = cache->Nfill;
    state.counters["cache_MB"] = 4.0 * permsize * cache->Nfill / (1024.0 * 1024.0);
    state.counters["max_resident_MB"] = maxResidentMegabytes();
    if (CT_TotalOuterAutomorphisms(TP) != 40320 || TP->TensorSimpleCurrentOrder != 256)
        state.SkipWithError("wrong number of symmetries or currents");
    if (permsize > 100000 || cache->Nfill > 1000)
        state.SkipWithError("cache beyond \"Maxperm\" or \"Maxcurrent\"");
}

void Symmetrize(benchmark::State& state) {
    TensorProduct* TP = product();
    for (auto _ : state) {
        TP->PermutationsAvailable = 0;
        CT_SymmetrizeTensorProduct(TP);
        benchmark::DoNotOptimize(TP->CurrPerms->Nfill);
    }
    report(state, TP);
}

void EveryImage(benchmark::State& state) {
    TensorProduct* TP = product();
    CT_SymmetrizeTensorProduct(TP);
    const int n = CT_TotalOuterAutomorphisms(TP);
    long long sum = 0;
    for (auto _ : state) {
        CT_getCurrentPermutation(TP, -1, 0);
        for (int s = 0; s < n; s++)
            for (int c = 0; c < TP->TensorSimpleCurrentOrder; c++)
                sum += CT_getCurrentPermutation(TP, s, c);
    }
    benchmark::DoNotOptimize(sum);
    state.counters["images"] = static_cast<double>(n) * TP->TensorSimpleCurrentOrder;
    report(state, TP);
}

} // namespace

BENCHMARK(Symmetrize)->Unit(benchmark::kMillisecond);
BENCHMARK(EveryImage)->Unit(benchmark::kMillisecond);

BENCHMARK_MAIN();
