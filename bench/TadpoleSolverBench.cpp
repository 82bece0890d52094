// The tadpole solver on the Gepner model (3,3,3,3,3) as "build cy 33333" makes it, read as a
// superstring, with its default orientifold: 2016 loop variables and 102 independent rows. The
// few-brane stages run on the first 300 (three branes, 4.5 million subsets) and the first 200
// variables (four branes, 64.7 million subsets) of an active-boundary selection; targets on one
// core: bound analysis with the triplet kernel under 10 s, the three-brane stage under 10 s, the
// four-brane stage under 2 minutes, "solve tadpole" to its verdict under a minute.
#include "GepnerStart.h"

#include "base/Error.h"
#include "base/Output.h"
#include "boundary/CrossBound.h"
#include "interpreter/Interpreter.h"
#include "main/ControlUtility.h"
#include "string/Tadpole.h"
#include "string/TadpoleBounds.h"
#include "string/TadpoleSolver.h"

#include <benchmark/benchmark.h>

namespace {

void startQuintic() {
    if (startGepner("33333"))
        executeCommandLine("set Tadpole remove_identical off");
}

// Boundaries are switched on in label order until the system has nvar loop variables (a unitary
// pair is one variable); nvar 0 means every boundary.
void selectVariables(int nvar) {
    if (nvar == 0) {
        initActiveBoundaries(-3);
    } else {
        initActiveBoundaries(-2);
        int count = 0;
        for (int a = 0; a < TotalBoundaries() && count < nvar; a++)
            if (!ActiveBoundaries(a)) {
                setActBound(a, 1); // with its conjugate: one variable
                count++;
            }
    }
    getTadpoleEquations();
}

void BoundsWithTripletKernel(benchmark::State& state) {
    startQuintic();
    selectVariables(0);
    for (auto _ : state) {
        resetTadpoleKernel();
        ImproveTadpoleBounds(300, 0);
        computeTadpoleKernel();
    }
    state.counters["variables"] = getNumberOfLoopVariables();
}

void FewBraneStage(benchmark::State& state) {
    startQuintic();
    selectVariables(static_cast<int>(state.range(1)));
    const int branes = static_cast<int>(state.range(0));
    for (auto _ : state)
        findTadpoleSolutionsWithNbranes(branes);
    state.counters["variables"] = getNumberOfLoopVariables();
}

void SolveToVerdict(benchmark::State& state) {
    startQuintic();
    selectVariables(0);
    executeCommandLine("set Tadpole completeness 2");
    for (auto _ : state) {
        resetTadpoleKernel();
        executeCommandLine("solve tadpole");
    }
    state.counters["variables"] = getNumberOfLoopVariables();
}

} // namespace

BENCHMARK(BoundsWithTripletKernel)->Unit(benchmark::kSecond)->Iterations(1);
BENCHMARK(FewBraneStage)->Args({3, 300})->Args({4, 200})->Unit(benchmark::kSecond)->Iterations(1);
BENCHMARK(SolveToVerdict)->Unit(benchmark::kSecond)->Iterations(1);

BENCHMARK_MAIN();
