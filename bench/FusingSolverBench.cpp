// The sign solver on the c=1 orbifold, as "algebra orbifold N; fusing solve 0" runs it.
//
// - OrbifoldSolve: unknowns, gauge fixing, every pentagon and hexagon sign equation, the unit
//   choices with their gauge classes and the enumeration of the free signs. N = 6, 7, 8 have
//   1,892, 2,741 and 3,809 unknowns, two of them free, one class, and their computed signs
//   keep every equation (checked outside the timing); N = 8 should take under
//   2 s; N = 16 (23,077 unknowns) is measured against 1 min and 1 GB.
#include "base/Error.h"
#include "fusing/Fusing.h"
#include "modular/Modular.h"
#include "store/Storemanager.h"

#include <benchmark/benchmark.h>

#include <cstdlib>
#include <filesystem>
#include <string>
#include <sys/resource.h>

namespace {

void OrbifoldSolve(benchmark::State& state) {
    const int N = static_cast<int>(state.range(0));
    setCosetMode(0);
    setCurrentSD(SM_getData(7, N, 0));
    CFTChanged();
    // Each solution is written to a sign-flip file: keep them out of the working directory.
    char dir[] = "/tmp/tarvik_bench_XXXXXX";
    if (!mkdtemp(dir)) {
        state.SkipWithError("no directory for the sign-flip files");
        return;
    }
    setFlippedVarInputFile((std::string(dir) + "/signs").c_str());
    int result = 0;
    TerminalOutputOff();
    for (auto _ : state)
        result = findFusingMatrices(1);
    TerminalOutputOn();
    std::filesystem::remove_all(dir);
    if (result != 1)
        state.SkipWithError("no solution");
    else if (FusingSignClasses.size() != 1)
        state.SkipWithError("a free sign is no gauge transformation");
    else if (checkPolynomial(99, 0) != 0)
        state.SkipWithError("the computed signs break an equation");
    TerminalOutputOn();
    state.counters["unknowns"] = PentagonVariables.Nfill;
    state.counters["equations"] = PolyNom->equations();
    state.counters["free"] = static_cast<double>(FusingSignClasses[0].size());
    state.counters["classes"] = static_cast<double>(FusingSignClasses.size());
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    state.counters["peak_MB"] = static_cast<double>(usage.ru_maxrss) / 1024.0;
}

} // namespace

BENCHMARK(OrbifoldSolve)
    ->Arg(6)
    ->Arg(7)
    ->Arg(8)
    ->Arg(16)
    ->Unit(benchmark::kMillisecond)
    ->Iterations(1);

BENCHMARK_MAIN();
