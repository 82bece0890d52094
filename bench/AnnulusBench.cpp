// Every oriented annulus coefficient O(i, a, b) of a diagonal invariant, from a new bulk
// generation on (labels, orbits and reflection coefficients are built inside the timing), with
// the orbit sums and the reflection store ("Use_orbits" 2) and with plain sums over Ishibashi
// labels ("Use_orbits" 0), side by side: su(2) level 200 (201 fields, 8.1 million coefficients)
// and su(3) level 20 (231 fields, 12.3 million). The D-type invariant of su(2) level 200 (the
// extension by the current, of weight 50) reads its reflection coefficients from the orbit store;
// those of the fixed point with the current are imaginary, real part exactly 0.
#include "base/Parameters.h"
#include "boundary/CrossBound.h"
#include "modular/Invariants.h"
#include "modular/Modular.h"
#include "store/Storemanager.h"

#include "BoundaryBench.h"

#include <benchmark/benchmark.h>

namespace {

using namespace boundarybench;

void EveryOrientedAnnulus(benchmark::State& state, int type, int rank, int level, int orbits,
                          int current) {
    startModule();
    makeCurrent(type, rank, level);
    *useOrbits = orbits;
    const int N = getTotalPrimaries();
    for (auto _ : state) {
        selectInvariant(current);
        bulkInvariantChanged();
        const int B = TotalBoundaries();
        long total = 0;
        for (int i = 0; i < N; i++)
            for (int a = 0; a < B; a++)
                for (int b = 0; b < B; b++)
                    total += getOrientedAnnulus(i, a, b);
        benchmark::DoNotOptimize(total);
    }
    *useOrbits = 2;
    state.counters["fields"] = N;
    state.counters["coefficients"] = benchmark::Counter(
        static_cast<double>(N) * N * N, benchmark::Counter::kIsIterationInvariantRate);
}

} // namespace

BENCHMARK_CAPTURE(EveryOrientedAnnulus, A1_level200_orbits, 1, 1, 200, 2, 0)
    ->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(EveryOrientedAnnulus, A1_level200_direct, 1, 1, 200, 0, 0)
    ->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(EveryOrientedAnnulus, A2_level20_orbits, 1, 2, 20, 2, 0)
    ->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(EveryOrientedAnnulus, A2_level20_direct, 1, 2, 20, 0, 0)
    ->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(EveryOrientedAnnulus, A1_level200_Dtype_orbits, 1, 1, 200, 2, 1)
    ->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(EveryOrientedAnnulus, A1_level200_Dtype_direct, 1, 1, 200, 0, 1)
    ->Unit(benchmark::kMillisecond);

BENCHMARK_MAIN();
