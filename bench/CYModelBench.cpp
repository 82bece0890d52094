// Products of N=2 minimal models with c = 9, graded by D5 at level 1 and extended by the
// current with 1 in every factor, as "build cy" makes them. For the levels (3,3,3,3,3) (4000
// fields, 125 simple currents) the spectrum, S between every pair of orbits and 10,000 fusion
// coefficients should take under 5 s together. The levels (1,5,41,1804) (code 15411804), the first
// row of the CY table, are measured without a target: the block of level 1804 alone has 6.5 million
// fields.
#include "OrbitS.h"
#include "base/Output.h"
#include "base/Parameters.h"
#include "modular/Modular.h"
#include "store/Storemanager.h"
#include "tensor/Coset.h"

#include <benchmark/benchmark.h>

#include <random>
#include <vector>

namespace {

// The grading of the product is read from the parameter "Graded", which the program's start-up
// registers; here it is made on first use.
void gradedProducts() {
    if (findInternalParameter("Graded"))
        return;
    addInternalParameter("Graded", "ON", 't', 0);
    initializeCoset();
}

// The product a code of the CY table names, as "build cy" makes it.
TensorProduct* cyProduct(int code) {
    int levels[9];
    const int n = interpretMinimalTensor(code, levels);
    setBackground(1);
    gradedProducts();
    SpectrumData* d5 = SM_getData(4, 5, 1);
    SM_grade(d5, 2);
    TensorProduct* TP = getCurrentTensor();
    resetCoset(TP);
    addTensorFactor(TP, d5, 0);
    for (int i = 0; i < n; i++)
        addTensorFactor(TP, SM_getData(27, 2, levels[i]), 0);
    const std::vector<int> ones(static_cast<std::size_t>(n) + 1, 1);
    addNewCurrent(TP, ones.data());
    return TP;
}

void makeCurrent(TensorProduct* TP) {
    setCosetMode(1);
    setCurrentTotals(NumberOfTensorPrimaries(TP), NumberOfTensorSimpleCurrents(TP));
    CFTChanged();
}

void SpectrumOrbitSAndFusion(benchmark::State& state) {
    TensorProduct* TP = cyProduct(33333);
    std::mt19937 random(12345);
    long total = 0;
    for (auto _ : state) {
        setInputDataChanged(TP);
        computeTensorSpectrum(TP);
        makeCurrent(TP);
        benchmark::DoNotOptimize(everyOrbitS());
        std::uniform_int_distribution<int> field(0, *NumberOfTensorPrimaries(TP) - 1);
        for (int c = 0; c < 10000; c++)
            total += fusion(field(random), field(random), field(random), 0);
    }
    benchmark::DoNotOptimize(total);
    const int fields = *NumberOfTensorPrimaries(TP);
    if (fields != 4000 || *NumberOfTensorSimpleCurrents(TP) != 125)
        state.SkipWithError("wrong spectrum");
    state.counters["fields"] = fields;
    state.counters["orbits"] = getNOrbit();
}

void FirstRowSpectrum(benchmark::State& state) {
    TensorProduct* TP = cyProduct(15411804);
    for (auto _ : state) {
        setInputDataChanged(TP);
        computeTensorSpectrum(TP);
    }
    state.counters["fields"] = *NumberOfTensorPrimaries(TP);
    state.counters["simple_currents"] = *NumberOfTensorSimpleCurrents(TP);
}

} // namespace

BENCHMARK(SpectrumOrbitSAndFusion)->Unit(benchmark::kSecond);
BENCHMARK(FirstRowSpectrum)->Iterations(1)->Unit(benchmark::kSecond);

BENCHMARK_MAIN();
