// The tadpole system of the c = 9 product of N=2 minimal models at levels (3,3,3,3,3) as "build
// cy 33333" makes it, with its diagonal invariant (4000 boundaries), superstring reading: built
// and reduced from the reflection and crosscap stores, which the first build outside the
// measurement fills. Target: under 5 s on one core. A repeated request finds the system cached
// and should cost next to nothing.
#include "CYProducts.h"

#include "BoundaryBench.h"
#include "numeric/Equations.h"
#include "string/StringTheory.h"
#include "string/Tadpole.h"

#include <benchmark/benchmark.h>

namespace {

using namespace boundarybench;

// The parameters start-up registers, at their built-in values.
void stringParameters() {
    if (findInternalParameter("Super"))
        return;
    for (const char* name : {"Super", "Tadpole remove_identical"})
        addInternalParameter(name, "ON", 't', 0);
    for (const char* name : {"Tadpole unitary_groups_only", "Tadpole orthogonal_groups_only",
                             "Tadpole symplectic_groups_only", "Tadpole real_groups_only",
                             "Tadpole require_confinement"})
        addInternalParameter(name, "OFF", 't', 0);
    for (const char* name : {"Dimension", "Tadpole info_level"})
        addInternalParameter(name, "0", 'i', 0);
    addInternalParameter("Tadpole allow_OH_matter", "3", 'i', 0);
    addInternalParameter("Tadpole completeness", "2", 'i', 0);
    initializeStringTheory();
}

// The product current with its diagonal invariant and a first system built; 0 when it failed.
bool prepareCy33333() {
    static int ready = -1;
    if (ready >= 0)
        return ready == 1;
    startModule();
    // Before the product module binds "Super".
    stringParameters();
    gradedProducts();
    setBackground(1);
    TensorProduct* TP = cyProduct(33333);
    computeTensorSpectrum(TP);
    makeCurrent(TP);
    initSMATRIX();
    ready = initializeOpenString() == 0 && TotalBoundaries() == 4000 && getTadpoleEquations() == 0;
    return ready == 1;
}

void BuildAndReduceCy33333(benchmark::State& state) {
    if (!prepareCy33333()) {
        state.SkipWithError("no tadpole system");
        return;
    }
    int code = 0;
    for (auto _ : state) {
        // A new selection generation: the system is stale.
        BoundarySelectionChanged();
        code = getTadpoleEquations();
    }
    if (code != 0)
        state.SkipWithError("build failed");
    const EquationData* ED = getTadpoleEquationPointer();
    state.counters["boundaries"] = TotalBoundaries();
    state.counters["variables"] = getNumberOfLoopVariables();
    state.counters["rows"] = ED->OrigEq;
    state.counters["independent"] = ED->IndEq;
}

void CachedRequestCy33333(benchmark::State& state) {
    if (!prepareCy33333()) {
        state.SkipWithError("no tadpole system");
        return;
    }
    const int builds = getTadpoleEquationCounter();
    for (auto _ : state)
        benchmark::DoNotOptimize(getTadpoleEquations());
    if (getTadpoleEquationCounter() != builds)
        state.SkipWithError("a cached request rebuilt the system");
}

} // namespace

BENCHMARK(BuildAndReduceCy33333)->Unit(benchmark::kSecond);
BENCHMARK(CachedRequestCy33333)->Unit(benchmark::kMicrosecond);

BENCHMARK_MAIN();
