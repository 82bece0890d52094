// The three checks of "check full_open" (Klein bottle against torus, Moebius strip against
// annulus, and the sign rule of the Klein bottle along the fusion rules) for an orientifold that
// was just chosen, so that its metric and crosscap store are rebuilt inside the timing: both
// orientifolds (K = 0 and K = J) of su(2) level 200 (201 boundaries; about 1.4 million triples in
// the Klein bottle rule) and su(3) level 20 with K = 0.
#include "base/Parameters.h"
#include "boundary/CrossBound.h"
#include "modular/Invariants.h"
#include "modular/Modular.h"
#include "store/Storemanager.h"

#include <benchmark/benchmark.h>

#include <climits>

namespace {

int* useOrbits = nullptr;

void startModule() {
    if (useOrbits)
        return;
    struct P {
        const char* name;
        const char* value;
        char type;
    };
    for (const P& p :
         {P{"Orientifold", "ON", 't'}, P{"Use_orbits", "2", 'i'}, P{"Init_debug", "OFF", 't'},
          P{"Boundary_search info_level", "0", 'i'}, P{"Boundary_search capacity", "1", 'i'},
          P{"Boundary_search use_all_sets", "OFF", 't'}, P{"Reject permutations", "ON", 't'},
          P{"Reject info", "OFF", 't'}, P{"NIMrep Max_row", "100000", 'i'},
          P{"Moebius security_level", "0", 'i'}, P{"Orientifold info_level", "0", 'i'},
          P{"ZNX_VERSION", "OFF", 't'}})
        addInternalParameter(p.name, p.value, p.type, 0);
    initializeInvariants();
    initializeCrossBound();
    useOrbits = static_cast<int*>(getIntParPointer("Use_orbits"));
}

void makeCurrent(int type, int rank, int level) {
    SpectrumData* sd = SM_getData(type, rank, level);
    setCosetMode(0);
    setCurrentSD(sd);
    CFTChanged();
    initSMATRIX();
}

// The invariant of the extension by current J; the diagonal one for J = 0.
void selectInvariant(int J) {
    if (J == 0) {
        resetCurrentBulkToDiagonal();
        return;
    }
    int generator[5] = {J, 0, 0, 0, 0};
    selectBulkInvariantInSubgroup(generator, 1);
}

void FullOpenCheck(benchmark::State& state, int type, int rank, int level, int kleinCurrent) {
    startModule();
    makeCurrent(type, rank, level);
    selectInvariant(0);
    bulkInvariantChanged();
    TotalBoundaries();
    int violations = 0;
    for (auto _ : state) {
        setKlein(kleinCurrent == 0 ? 1 : 0);
        setKlein(kleinCurrent);
        initializeOpenString();
        violations =
            checkClosed(INT_MAX) + checkOpen(INT_MAX) + checkKleinBottleConstraint(INT_MAX);
        benchmark::DoNotOptimize(violations);
    }
    state.counters["boundaries"] = TotalBoundaries();
    state.counters["violations"] = violations;
}

} // namespace

BENCHMARK_CAPTURE(FullOpenCheck, A1_level200_K0, 1, 1, 200, 0)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(FullOpenCheck, A1_level200_KJ, 1, 1, 200, 1)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(FullOpenCheck, A2_level20_K0, 1, 2, 20, 0)->Unit(benchmark::kMillisecond);

BENCHMARK_MAIN();
