// "search standard_model" with its quartet construction for all eight types on the Gepner model
// (6,6,6,6) as "build cy 6666" makes it, with Invariant_18 of "collect simple_current_invariants"
// (about 1,100 boundaries, 5 orientifolds): under 10 s on one core. The context, the tadpole
// equations and the files are made by a first search outside the timing; a resumed search (no
// "SM_search new_search") then appends only its closing. The second measure selects the invariant
// afresh first, so the leader intersections of every class are computed again.
#include "GepnerStart.h"
#include "interpreter/Interpreter.h"
#include "string/SearchSetup.h"

#include <benchmark/benchmark.h>

namespace {

void buildModel() {
    if (startGepner("6666"))
        for (const char* line :
             {"collect simple_current_invariants", "select invariant 18", "search standard_model"})
            executeCommandLine(line);
}

void SearchFrameCy6666(benchmark::State& state) {
    buildModel();
    for (auto _ : state)
        executeCommandLine("search standard_model");
    const SearchData* SD = getSearchData();
    state.counters["boundaries"] = SD->Bnd;
    state.counters["usable"] = SD->bndcnt;
    state.counters["orientifolds"] = SD->Ori_eff;
}

void FreshSearchCy6666(benchmark::State& state) {
    buildModel();
    for (auto _ : state) {
        executeCommandLine("select invariant 18");
        executeCommandLine("search standard_model");
    }
}

} // namespace

BENCHMARK(SearchFrameCy6666)->Unit(benchmark::kMillisecond);
BENCHMARK(FreshSearchCy6666)->Iterations(2)->Unit(benchmark::kSecond);

BENCHMARK_MAIN();
