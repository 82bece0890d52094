// 1,000 calls of "browse brane-spectrum", each preparing the search state with initSearchMemory,
// on the Gepner model (1,2,3,4,18) as "build cy 123418" makes it with Invariant_3 of "collect
// simple_current_invariants": under 2 s on one core. The context is built once outside the
// timing, by a first call.
#include "GepnerStart.h"
#include "interpreter/Interpreter.h"
#include "string/SearchSetup.h"

#include <benchmark/benchmark.h>

namespace {

constexpr const char* Browse = "browse brane-spectrum 0:1";

void buildModel() {
    if (startGepner("123418"))
        for (const char* line : {"collect simple_current_invariants", "select invariant 3", Browse})
            executeCommandLine(line);
}

void ThousandBrowseCallsCy123418(benchmark::State& state) {
    buildModel();
    for (auto _ : state)
        for (int i = 0; i < 1000; i++)
            executeCommandLine(Browse);
    const SearchData* SD = getSearchData();
    state.counters["boundaries"] = SD->Bnd;
    state.counters["usable"] = SD->bndcnt;
}

} // namespace

BENCHMARK(ThousandBrowseCallsCy123418)->Unit(benchmark::kMillisecond);

BENCHMARK_MAIN();
