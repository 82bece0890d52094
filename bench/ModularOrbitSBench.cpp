// The current theory's cache of S on simple-current orbits as a new theory meets it: the orbit
// table made and one element asked. A1 at level 9997 (4,999 orbits, the largest kept in memory)
// and 4997 (2,499 orbits), so that the growth with the number of orbits can be read off.
#include "modular/Modular.h"
#include "store/Storemanager.h"

#include <benchmark/benchmark.h>

namespace {

void OrbitTableAndOneElement(benchmark::State& state, int level) {
    SpectrumData* sd = SM_getData(1, 1, level);
    setCosetMode(0);
    setCurrentSD(sd);
    for (auto _ : state) {
        CFTChanged();
        initOrbitData();
        double re, im;
        compS(0, 1, &re, &im);
        benchmark::DoNotOptimize(re);
    }
    state.counters["orbits"] = getNOrbit();
}

} // namespace

BENCHMARK_CAPTURE(OrbitTableAndOneElement, A1_level4997, 4997)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(OrbitTableAndOneElement, A1_level9997, 9997)->Unit(benchmark::kMillisecond);

BENCHMARK_MAIN();
