// "search Klein_bottle all" on the E8 invariant of su(2) at level 28: 128 candidate Klein
// bottles, each with its crosscap squares, the trace formula and the Klein bottle constraint.
#include "BoundaryBench.h"
#include "Silenced.h"

#include "base/Error.h"
#include "boundary/CrossBoundInternal.h"
#include "numeric/Sorting.h"

#include <benchmark/benchmark.h>

#include <memory>
#include <vector>

namespace {

void KleinSearchAllE8(benchmark::State& state) {
    boundarybench::startModule();
    TerminalOutputOff();
    boundarybench::makeCurrent(1, 1, 28);
    const int N = getTotalPrimaries();
    std::vector<int> Z(static_cast<std::size_t>(N) * N);
    for (int i = 0; i < N; i++)
        for (int j = 0; j < N; j++)
            Z[static_cast<std::size_t>(j) * N + i] = ExceptionalModularMatrix(i, j, 3);
    std::unique_ptr<BulkInvariant> E8(allocNewBulkInvariant(nullptr));
    Silenced quiet;
    makeExceptionalBulkInvariant(Z.data(), E8.get(), 0, 0);
    setCurrentBulkInvariant(E8.get());
    for (auto _ : state)
        searchKlein(1, 1);
    state.counters["fields"] = N;
    state.counters["rows"] = rowCount(crossbound_internal::KleinBottleStorage);
    resetCurrentBulkToDiagonal();
}

} // namespace

BENCHMARK(KleinSearchAllE8)->Unit(benchmark::kMillisecond);
BENCHMARK_MAIN();
