// "search Klein_bottle all" on the E8 invariant of su(2) at level 28: 128 candidate Klein
// bottles, each with its crosscap squares, the trace formula and the Klein bottle constraint.
#include "BoundaryBench.h"
#include "Silenced.h"

#include "base/Error.h"
#include "boundary/CrossBoundInternal.h"
#include "numeric/Sorting.h"

#include <benchmark/benchmark.h>

#include <memory>

namespace {

void KleinSearchAllE8(benchmark::State& state) {
    boundarybench::startModule();
    TerminalOutputOff();
    boundarybench::makeCurrent(1, 1, 28);
    const auto E8 = boundarybench::makeExceptionalCurrent(3);
    Silenced quiet;
    for (auto _ : state)
        searchKlein(1, 1);
    state.counters["fields"] = getTotalPrimaries();
    state.counters["rows"] = rowCount(crossbound_internal::KleinBottleStorage);
    resetCurrentBulkToDiagonal();
}

} // namespace

BENCHMARK(KleinSearchAllE8)->Unit(benchmark::kMillisecond);
BENCHMARK_MAIN();
