// The three checks of "check full_open" (Klein bottle against torus, Moebius strip against
// annulus, and the sign rule of the Klein bottle along the fusion rules) for an orientifold that
// was just chosen, so that its metric and crosscap store are rebuilt inside the timing: both
// orientifolds (K = 0 and K = J) of su(2) level 200 (201 boundaries; about 1.4 million triples in
// the Klein bottle rule) and su(3) level 20 with K = 0.
#include "base/Parameters.h"
#include "boundary/CrossBound.h"
#include "modular/Invariants.h"
#include "modular/Modular.h"
#include "store/Storemanager.h"

#include "BoundaryBench.h"

#include <benchmark/benchmark.h>

#include <climits>

namespace {

using namespace boundarybench;

void FullOpenCheck(benchmark::State& state, int type, int rank, int level, int kleinCurrent) {
    startModule();
    makeCurrent(type, rank, level);
    selectInvariant(0);
    bulkInvariantChanged();
    TotalBoundaries();
    int violations = 0;
    for (auto _ : state) {
        setKlein(kleinCurrent == 0 ? 1 : 0);
        setKlein(kleinCurrent);
        initializeOpenString();
        violations =
            checkClosed(INT_MAX) + checkOpen(INT_MAX) + checkKleinBottleConstraint(INT_MAX);
        benchmark::DoNotOptimize(violations);
    }
    state.counters["boundaries"] = TotalBoundaries();
    state.counters["violations"] = violations;
}

} // namespace

BENCHMARK_CAPTURE(FullOpenCheck, A1_level200_K0, 1, 1, 200, 0)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(FullOpenCheck, A1_level200_KJ, 1, 1, 200, 1)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(FullOpenCheck, A2_level20_K0, 1, 2, 20, 0)->Unit(benchmark::kMillisecond);

BENCHMARK_MAIN();
