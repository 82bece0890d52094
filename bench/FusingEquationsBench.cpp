// Sign equations of the c=1 orbifold.
//
// - OrbifoldSignEquations: the unknowns and every pentagon and hexagon sign equation on the
//   untwisted fields of the orbifold of rank N, as the solver builds them. N = 8 (3,809
//   unknowns) should take well under 2 s; N = 16 (23,077 unknowns) is the size to watch for
//   time and memory of the reduced store.
#include "fusing/Fusing.h"
#include "modular/Modular.h"
#include "store/Storemanager.h"

#include <benchmark/benchmark.h>

#include <sys/resource.h>

namespace {

void OrbifoldSignEquations(benchmark::State& state) {
    const int N = static_cast<int>(state.range(0));
    setCosetMode(0);
    setCurrentSD(SM_getData(7, N, 0));
    CFTChanged();
    const int max = fusingLabelBound();
    bool consistent = true;
    for (auto _ : state) {
        getPentagonVariables(max);
        resetSignEquations();
        consistent = getPentagonEquations(max) == 1 && getHexagonEquations(max) == 1;
    }
    if (!consistent)
        state.SkipWithError("contradicting sign equations");
    state.counters["unknowns"] = PentagonVariables.Nfill;
    state.counters["equations"] = PolyNom->equations();
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    state.counters["peak_MB"] = static_cast<double>(usage.ru_maxrss) / 1024.0;
}

} // namespace

BENCHMARK(OrbifoldSignEquations)->Arg(8)->Arg(16)->Unit(benchmark::kMillisecond)->Iterations(1);

BENCHMARK_MAIN();
