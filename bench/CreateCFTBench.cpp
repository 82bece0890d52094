// Creating a theory from (A1_40)^3 extended by (J, J, 0) and (0, J, J): about 4,400 fields, with
// the S matrix on orbits and the resolution matrices of its fixed points made while the product
// is at hand. Each iteration creates a block under a new name (blocks stay in the store), so the
// spectrum, the orbit S and the fixed-point theories are all made afresh.
#include "base/Output.h"
#include "base/Parameters.h"
#include "store/Storemanager.h"
#include "tensor/Coset.h"

#include <benchmark/benchmark.h>

#include <string>
#include <vector>

namespace {

constexpr int Level = 40;

void enterProduct(TensorProduct* TP) {
    resetCoset(TP);
    SpectrumData* sd = SM_getData(1, 1, Level);
    for (int k = 0; k < 3; k++)
        addTensorFactor(TP, sd, 0);
    const std::vector<int> a{1, 1, 0}, b{0, 1, 1};
    addNewCurrent(TP, a.data());
    addNewCurrent(TP, b.data());
}

void CreateFromThreeSu2AtLevel40(benchmark::State& state) {
    setBackground(1);
    initializeCoset();
    TensorProduct* TP = getCurrentTensor();
    int count = 0;
    SpectrumData* sd = nullptr;
    for (auto _ : state) {
        state.PauseTiming();
        enterProduct(TP);
        const std::string name = "big " + std::to_string(++count);
        state.ResumeTiming();
        sd = createCFT(TP, name.c_str());
        benchmark::DoNotOptimize(sd);
    }
    if (!sd) {
        state.SkipWithError("no theory created");
        return;
    }
    state.counters["fields"] = sd->Nprimaries;
    state.counters["orbits"] = sd->Norbits;
    state.counters["fixed point theories"] = sd->FCFTnumber;
}

} // namespace

BENCHMARK(CreateFromThreeSu2AtLevel40)->Unit(benchmark::kSecond)->Iterations(2);

BENCHMARK_MAIN();
