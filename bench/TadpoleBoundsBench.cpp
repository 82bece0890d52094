// Bound analysis of a tadpole system of a few hundred variables, followed by the triplet kernel
// of the searches: the product (3,3,3,3,3) as "build cy 33333" makes it, its simple-current
// invariant number 2 (800 boundaries) and orientifold 0, identical boundaries removed (312
// variables, 26 independent rows). Target: under 10 s together. The theory is built through the
// commands, as a user builds it; each run starts from the freshly built rows.
// The small-system collector on the same rows: every subset of three of the first 300 variables
// (4.5 million) as its own system, each row restricted to the subset added until the first
// contradiction or a determined system. Target: under 10 s.
#include "base/Error.h"
#include "base/Output.h"
#include "interpreter/Interpreter.h"
#include "main/ControlUtility.h"
#include "numeric/Equations.h"
#include "string/Tadpole.h"
#include "string/TadpoleBounds.h"
#include "string/TadpoleLinear.h"

#include <benchmark/benchmark.h>

#include <algorithm>
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

// The rows of the subset {a, b, c} until one contradicts; 1 when none does.
int consistentTriple(const EquationData& ED, int a, int b, int c) {
    const int Ncol = ED.Ncol;
    double row[4];
    int* sol = nullptr;
    CollectDoubleEquations(3, nullptr, nullptr, 0, nullptr, nullptr, nullptr);
    for (int r = 0; r < ED.IndEq; r++) {
        const double* e = ED.Equations.X + static_cast<long long>(ED.OrigEq + r) * Ncol;
        row[0] = e[a];
        row[1] = e[b];
        row[2] = e[c];
        row[3] = e[Ncol - 1];
        const int s = CollectDoubleEquations(3, row, &sol, 1, nullptr, nullptr, nullptr);
        if (s < 0)
            return 0;
        if (s == 0)
            return 1;
    }
    return 1;
}

void ThreeVariableSubsetsCy33333(benchmark::State& state) {
    buildSystem(state);
    const EquationData& ED = *getTadpoleEquationPointer();
    const int n = std::min(300, ED.Ncol - 1);
    long subsets = 0, consistent = 0;
    for (auto _ : state) {
        subsets = consistent = 0;
        for (int a = 0; a < n; a++)
            for (int b = a + 1; b < n; b++)
                for (int c = b + 1; c < n; c++) {
                    subsets++;
                    consistent += consistentTriple(ED, a, b, c);
                }
    }
    state.counters["subsets"] = static_cast<double>(subsets);
    state.counters["consistent"] = static_cast<double>(consistent);
}

} // namespace

BENCHMARK(ThreeVariableSubsetsCy33333)->Iterations(1)->Unit(benchmark::kSecond);
BENCHMARK(BoundsAndTripletKernelCy33333)->Iterations(1)->Unit(benchmark::kSecond);

BENCHMARK_MAIN();
