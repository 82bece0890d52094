// S of an extended tensor product through the facade of the current theory: (A1_4)^6 extended by
// the diagonal current, 3908 fields. Every iteration starts a new theory, so the orbit table and
// the S between orbit starts are made afresh from the factors' S; the factors keep their own
// caches. The elements themselves are then each an orbit look-up and a phase.
//
// - WholeSUnitarity: "check unitarity" of the whole S from a new theory, on orbit starts within
//   charge classes (the table of S columns included).
// - ElementwiseUnitarityRows: the element-wise test of the first 20 rows against every row, the
//   way the whole S was checked before: N / 20 times this is the whole check.
#include "OrbitS.h"
#include "base/Output.h"
#include "modular/Modular.h"
#include "store/Storemanager.h"
#include "tensor/Coset.h"

#include <benchmark/benchmark.h>

#include <vector>

namespace {

constexpr int Copies = 6;
constexpr int Level = 4;
constexpr int ExpectedFields = 3908;

TensorProduct* currentDiagonalProduct() {
    setBackground(1);
    TensorProduct* TP = getCurrentTensor();
    resetCoset(TP);
    SpectrumData* sd = SM_getData(1, 1, Level);
    for (int k = 0; k < Copies; k++)
        addTensorFactor(TP, sd, 0);
    const std::vector<int> diagonal(Copies, 1);
    addNewCurrent(TP, diagonal.data());
    computeTensorSpectrum(TP);
    setCosetMode(1);
    setCurrentTotals(NumberOfTensorPrimaries(TP), NumberOfTensorSimpleCurrents(TP));
    return TP;
}

void reportSize(benchmark::State& state, TensorProduct* TP) {
    const int fields = *NumberOfTensorPrimaries(TP);
    if (fields != ExpectedFields)
        state.SkipWithError("wrong number of fields");
    state.counters["fields"] = fields;
    state.counters["orbits"] = getNOrbit();
}

// The orbit table and S between every pair of orbit starts.
void OrbitTableAndOrbitS(benchmark::State& state) {
    TensorProduct* TP = currentDiagonalProduct();
    for (auto _ : state) {
        CFTChanged();
        benchmark::DoNotOptimize(everyOrbitS());
    }
    reportSize(state, TP);
}

// Every element of S from a new theory: the orbit caches fill as the elements ask for them.
void EveryElementThroughCompS(benchmark::State& state) {
    TensorProduct* TP = currentDiagonalProduct();
    const int N = *NumberOfTensorPrimaries(TP);
    for (auto _ : state) {
        CFTChanged();
        initOrbitData();
        double sum = 0.0;
        for (int i = 0; i < N; i++)
            for (int j = 0; j < N; j++) {
                double re, im;
                compS(i, j, &re, &im);
                sum += re * re + im * im;
            }
        benchmark::DoNotOptimize(sum);
    }
    reportSize(state, TP);
    state.counters["elements"] = benchmark::Counter(static_cast<double>(N) * N,
                                                    benchmark::Counter::kIsIterationInvariantRate);
}

void WholeSUnitarity(benchmark::State& state) {
    TensorProduct* TP = currentDiagonalProduct();
    for (auto _ : state) {
        CFTChanged();
        if (unitarityOnOrbits() != 1)
            state.SkipWithError("S not unitary");
    }
    reportSize(state, TP);
}

void ElementwiseUnitarityRows(benchmark::State& state) {
    constexpr int Rows = 20;
    TensorProduct* TP = currentDiagonalProduct();
    const int N = *NumberOfTensorPrimaries(TP);
    initSMATRIX();
    for (auto _ : state) {
        int passed = 0;
        for (int i = 0; i < Rows; i++)
            for (int j = 0; j < N; j++) {
                double re, im;
                passed += Unitarity_check(nullptr, i, j, &re, &im);
            }
        if (passed != Rows * N)
            state.SkipWithError("S not unitary");
    }
    reportSize(state, TP);
}

} // namespace

BENCHMARK(WholeSUnitarity)->Unit(benchmark::kMillisecond);
BENCHMARK(ElementwiseUnitarityRows)->Unit(benchmark::kMillisecond);
BENCHMARK(OrbitTableAndOrbitS)->Unit(benchmark::kMillisecond);
BENCHMARK(EveryElementThroughCompS)->Unit(benchmark::kMillisecond);

BENCHMARK_MAIN();
