// The spectrum of an extended tensor product, computed afresh in every iteration: n copies of
// A1 at level k extended by the diagonal current. (A1_4)^6 has 3908 fields (32 simple currents),
// (A1_2)^12 has 132862 (2048 simple currents); the time per field should not grow with the size.
#include "base/Output.h"
#include "store/Storemanager.h"
#include "tensor/Coset.h"

#include <benchmark/benchmark.h>

#include <vector>

namespace {

TensorProduct* diagonalProduct(int copies, int level) {
    TensorProduct* TP = getCurrentTensor();
    resetCoset(TP);
    SpectrumData* sd = SM_getData(1, 1, level);
    for (int k = 0; k < copies; k++)
        addTensorFactor(TP, sd, 0);
    // Label 1 is the simple current of A1 at any level.
    const std::vector<int> diagonal(static_cast<std::size_t>(copies), 1);
    addNewCurrent(TP, diagonal.data());
    return TP;
}

void DiagonalExtension(benchmark::State& state, int copies, int level, int expectedFields) {
    // No progress lines between the benchmark's own.
    setBackground(1);
    TensorProduct* TP = diagonalProduct(copies, level);
    for (auto _ : state) {
        setInputDataChanged(TP);
        benchmark::DoNotOptimize(computeTensorSpectrum(TP));
    }
    const int fields = *NumberOfTensorPrimaries(TP);
    if (fields != expectedFields)
        state.SkipWithError("wrong number of fields");
    state.counters["fields"] = fields;
    state.counters["simple_currents"] = *NumberOfTensorSimpleCurrents(TP);
    state.counters["time_per_field"] = benchmark::Counter(
        fields, benchmark::Counter::kIsIterationInvariantRate | benchmark::Counter::kInvert);
}

} // namespace

BENCHMARK_CAPTURE(DiagonalExtension, A1_4_to_the_6, 6, 4, 3908)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(DiagonalExtension, A1_2_to_the_12, 12, 2, 132862)->Unit(benchmark::kMillisecond);

BENCHMARK_MAIN();
