// Bound analysis of a tadpole system of a few hundred variables, followed by the triplet kernel
// of the searches: the product (3,3,3,3,3) as "build cy 33333" makes it, its simple-current
// invariant number 2 (800 boundaries) and orientifold 0, identical boundaries removed (312
// variables, 26 independent rows). Target: under 10 s together. The theory is built through the
// commands, as a user builds it; each run starts from the freshly built rows.
#include "base/Error.h"
#include "base/Output.h"
#include "interpreter/Interpreter.h"
#include "main/ControlUtility.h"
#include "numeric/Equations.h"
#include "string/Tadpole.h"
#include "string/TadpoleBounds.h"

#include <benchmark/benchmark.h>

#include <cstdlib>
#include <filesystem>
#include <string>

namespace {

bool built = false;

void buildSystem(benchmark::State& state) {
    if (built)
        return;
    const std::string home =
        (std::filesystem::temp_directory_path() / "tarvik_bench_home").string();
    std::filesystem::create_directories(home);
    setenv("HOME", home.c_str(), 1);
    initializeAll();
    setBackground(1);
    TerminalOutputOff();
    for (const char* line : {"build cy 33333", "collect simple_current_invariants",
                             "select invariant 2", "collect orientifolds"})
        executeCommandLine(line);
    if (getTadpoleEquations() < 0)
        state.SkipWithError("no tadpole equations");
    built = true;
}

void BoundsAndTripletKernelCy33333(benchmark::State& state) {
    buildSystem(state);
    int bounds = 0, kernel = 0;
    for (auto _ : state) {
        resetTadpoleKernel();
        bounds = ImproveTadpoleBounds(300, 1);
        kernel = computeTadpoleKernel();
    }
    const EquationData& ED = *getTadpoleEquationPointer();
    state.counters["variables"] = ED.Ncol - 1;
    state.counters["independent_rows"] = ED.IndEq;
    state.counters["bound_code"] = bounds;
    state.counters["kernel_code"] = kernel;
    state.counters["kernel_vectors"] = getTadpoleKernel()->SingleTag;
}

} // namespace

BENCHMARK(BoundsAndTripletKernelCy33333)->Iterations(1)->Unit(benchmark::kSecond);

BENCHMARK_MAIN();
