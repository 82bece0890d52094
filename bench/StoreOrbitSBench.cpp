// The store's cache of S on simple-current orbits of an affine block, as a new theory meets it:
// the cache made and one element asked, first in the process (the cache allocated) and then again
// (the cache marked not computed anew). A1 levels 9999 (5,000 orbits) and 19999 (10,000), so that
// the growth with the number of orbits can be read off.
#include "store/Storemanager.h"

#include <benchmark/benchmark.h>

namespace {

void CacheAndOneElement(benchmark::State& state, int level) {
    SpectrumData* sd = SM_getData(1, 1, level);
    for (auto _ : state) {
        SM_allocSBase(sd);
        double re, im;
        SM_getS(sd, 0, 1, &re, &im);
        benchmark::DoNotOptimize(re);
    }
    state.counters["orbits"] = sd->Norbits;
}

} // namespace

// The first pass allocates; registered first, so it runs before the repeated ones.
BENCHMARK_CAPTURE(CacheAndOneElement, A1_level9999_first, 9999)
    ->Unit(benchmark::kMillisecond)
    ->Iterations(1);
BENCHMARK_CAPTURE(CacheAndOneElement, A1_level19999_first, 19999)
    ->Unit(benchmark::kMillisecond)
    ->Iterations(1);
BENCHMARK_CAPTURE(CacheAndOneElement, A1_level9999_again, 9999)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(CacheAndOneElement, A1_level19999_again, 19999)->Unit(benchmark::kMillisecond);

BENCHMARK_MAIN();
