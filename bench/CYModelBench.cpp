// Products of N=2 minimal models with c = 9, graded by D5 at level 1 and extended by the
// current with 1 in every factor, as "build cy" makes them. For the levels (3,3,3,3,3) (4000
// fields, 125 simple currents) the spectrum, S between every pair of orbits and 10,000 fusion
// coefficients should take under 5 s together. The levels (1,5,41,1804) (code 15411804), the first
// row of the CY table, are measured without a target: the block of level 1804 alone has 6.5 million
// fields.
#include "CYProducts.h"
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
