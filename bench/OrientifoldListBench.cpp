// "collect orientifolds" followed by the boundary conjugates of every listed orientifold, on a
// fresh bulk generation each time. su(2) level 1 to the eighth power (256 fields, 40320
// permutations of the factors, 9 orientifolds) should take under 1 s; the c = 9 product of N=2
// minimal models at levels (3,3,3,3,3) as "build cy 33333" makes it, with its diagonal invariant,
// under 30 s. Neither may give up identifying.
#include "CYProducts.h"

#include "BoundaryBench.h"

#include <benchmark/benchmark.h>

namespace {

using namespace boundarybench;

void currentProduct(TensorProduct* TP) {
    computeTensorSpectrum(TP);
    makeCurrent(TP);
    initSMATRIX();
}

void collectAndConjugate(benchmark::State& state) {
    int listed = 0;
    for (auto _ : state) {
        bulkInvariantChanged();
        initializeOpenString();
        collectOrientifolds();
        listed = TotalOrientifolds();
        loadAllOrientifoldConjugates(0);
    }
    state.counters["orientifolds"] = listed;
    state.counters["boundaries"] = TotalBoundaries();
}

void Su2LevelOneToTheEighth(benchmark::State& state) {
    startModule();
    gradedProducts();
    TensorProduct* TP = getCurrentTensor();
    resetCoset(TP);
    for (int f = 0; f < 8; f++)
        addTensorFactor(TP, SM_getData(1, 1, 1), 0);
    currentProduct(TP);
    collectAndConjugate(state);
    if (TotalOrientifolds() != 9)
        state.SkipWithError("expected 9 orientifolds");
}

void BuildCy33333(benchmark::State& state) {
    startModule();
    currentProduct(cyProduct(33333));
    collectAndConjugate(state);
}

} // namespace

BENCHMARK(Su2LevelOneToTheEighth)->Unit(benchmark::kMillisecond);
BENCHMARK(BuildCy33333)->Iterations(1)->Unit(benchmark::kSecond);

BENCHMARK_MAIN();
