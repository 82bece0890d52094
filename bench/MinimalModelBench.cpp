// Building N=2 minimal-model blocks: 2(k+1)(k+2) fields and 4k+8 currents at level k. Level 1804,
// the largest level of the CY table (6,519,660 fields, 7,224 currents), should take under 10 s
// and 1 GB; the time per field should not grow with the level, since nothing is done per pair
// of fields or of currents. A block is built once per process, so each level runs once.
#include "store/Storemanager.h"

#include <benchmark/benchmark.h>

#include <sys/resource.h>

namespace {

void BuildMinimal(benchmark::State& state) {
    const int k = static_cast<int>(state.range(0));
    SpectrumData* sd = nullptr;
    for (auto _ : state)
        benchmark::DoNotOptimize(sd = SM_getData(27, 2, k));
    if (!sd || sd->Nprimaries != 2 * (k + 1) * (k + 2)) {
        state.SkipWithError("wrong number of fields");
        return;
    }
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    state.counters["fields"] = sd->Nprimaries;
    state.counters["simple_currents"] = SM_getCenter(sd);
    state.counters["peak_MB"] = static_cast<double>(usage.ru_maxrss) / 1024.0;
    state.counters["time_per_field"] =
        benchmark::Counter(sd->Nprimaries, benchmark::Counter::kIsIterationInvariantRate |
                                               benchmark::Counter::kInvert);
}

} // namespace

BENCHMARK(BuildMinimal)->Arg(100)->Arg(400)->Arg(1804)->Iterations(1)->Unit(benchmark::kSecond);

BENCHMARK_MAIN();
