// "collect extensions" on (A1_4)^6: 64 simple currents, all of integer spin, so the subgroups of
// Z2^6 (2825) are enumerated modulo the 720 permutations of the factors, and 68 classes remain.
// The symmetries act on the simple currents; the product's spectrum is made once. Every iteration
// finds the product changed and collects, closes and prints anew (with the terminal output off).
#include "base/Error.h"
#include "base/Output.h"
#include "modular/Modular.h"
#include "modular/ModularExtensions.h"
#include "store/Storemanager.h"
#include "tensor/Coset.h"

#include <benchmark/benchmark.h>

namespace {

constexpr int Copies = 6;
constexpr int Level = 4;

void useProduct() {
    setBackground(1);
    TensorProduct* TP = getCurrentTensor();
    resetCoset(TP);
    SpectrumData* sd = SM_getData(1, 1, Level);
    for (int k = 0; k < Copies; k++)
        addTensorFactor(TP, sd, 0);
    computeTensorSpectrum(TP);
    setCosetMode(1);
    setCurrentTotals(NumberOfTensorPrimaries(TP), NumberOfTensorSimpleCurrents(TP));
    CFTChanged();
}

void CollectExtensionsOfA1Level4ToTheSixth(benchmark::State& state) {
    useProduct();
    TerminalOutputOff();
    for (auto _ : state) {
        TensorChanged();
        CollectExtensions();
        benchmark::DoNotOptimize(TotalExtensions());
    }
    TerminalOutputOn();
    state.counters["currents"] = CenterOrder();
    state.counters["symmetries"] = MOD_TotalOuterAutomorphisms();
    state.counters["extensions"] = TotalExtensions();
}

} // namespace

BENCHMARK(CollectExtensionsOfA1Level4ToTheSixth)->Unit(benchmark::kMillisecond);

BENCHMARK_MAIN();
