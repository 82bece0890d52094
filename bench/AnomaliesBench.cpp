// The anomaly checks on the Gepner model (3,3,3,3,3) as "build cy 33333" makes it (4000
// boundaries, one orientifold), set up as "build brane_configuration" does. Targets on one core:
// the cubic anomalies of a configuration of four unitary stacks (4000 probes, 8 cached lookups
// each) under 1 ms; the global conditions of the orientifold (4000 probe rows, 16 million lookups,
// reduction modulo 2) under 10 s. Before measuring, the verdicts are checked: the empty
// configuration is anomalous for 900 probes, O(4) on a boundary of the O-plane's tension passes
// both checks, and every A(b) lies in the span of the tadpole rows (rank 102 stays 102 with all
// 4000 anomaly rows and grows by one with their constants negated). Too slow under the
// sanitizers for the unit tests, the span check runs here.
#include "GepnerStart.h"
#include "Silenced.h"
#include "main/AnomalySpan.h"

#include "base/Parameters.h"
#include "boundary/CrossBound.h"
#include "commands/CommandsInternal.h"
#include "commands/CommandsInvariants.h"
#include "numeric/Sorting.h"
#include "search/SearchSM.h"
#include "string/Anomalies.h"
#include "string/AnomaliesInternal.h"
#include "string/Intersections.h"
#include "string/Tadpole.h"

#include <benchmark/benchmark.h>

#include <cmath>
#include <cstdint>
#include <cstdio>
#include <string>
#include <vector>

namespace {

double tension(int a) {
    double re = 0, im = 0;
    getCurrentReflectionCoefficient(0, a, &re, &im);
    return re;
}

// Empty when the anomaly rows lie in the span of the tadpole rows as they must, else what
// differs. The ranks go to standard error.
std::string anomaliesOutsideTadpoleSpan(OrientifoldInfo* OI) {
    int code = 0;
    {
        Silenced quiet;
        code = anomalyspan::tadpoleSystemOfAllBoundaries();
    }
    const anomalyspan::Ranks R = anomalyspan::measure(OI);
    const std::string ranks = "tadpole rank " + std::to_string(R.tadpole) + ", with the " +
                              std::to_string(R.anomalyRows.size()) + " anomaly rows " +
                              std::to_string(R.withAnomalies) + ", constants negated " +
                              std::to_string(R.oppositeConstants);
    std::fprintf(stderr, "Anomaly span: %s\n", ranks.c_str());
    if (code != 0)
        return "no tadpole equations";
    if (!R.integral)
        return "tadpole rows not integral";
    if (R.overflow)
        return "integer overflow in the elimination";
    if (R.tadpole != 102 || R.withAnomalies != 102 || R.oppositeConstants != 103 ||
        R.anomalyRows.size() != 4000)
        return "anomalies outside the tadpole span: " + ranks;
    return "";
}

// The orientifold with its search context and Moebius sums; null when something failed or a
// verdict is wrong (the reason in *why).
OrientifoldInfo* prepare(std::string* why) {
    static OrientifoldInfo* OI = nullptr;
    static std::string failure;
    static bool done = false;
    if (done) {
        *why = failure;
        return OI;
    }
    done = true;
    startGepner("33333");
    setIntPar("interactive", 0);
    setIntPar("Selection symmetric", 1);
    setIntPar("Reject permutations", 1);
    COM_load_sim(nullptr, 0);
    if (buildInvariant("0", 1) != 0 || initializeOpenString() != 0 || initSearchMemory() != 0 ||
        TotalBoundaries() != 4000) {
        failure = "model not built";
        *why = failure;
        return nullptr;
    }
    OrientifoldInfo* O = setStoredOrientifold(0);
    InitMoebiusSum();
    loadOrientifoldConjugates(O, 1);
    ChanPatonData* empty = generateChanPatonData(0, O, nullptr, nullptr);
    int anomalous = 0;
    for (int b = 0; b < empty->Nbnd; b++)
        anomalous += anomalies::localAnomaly(empty, b) != 0 ? 1 : 0;
    int x = -1;
    for (int a = 0; a < TotalBoundaries() && x < 0; a++)
        if (O->GroupTypes[a] == 1 && std::fabs(tension(a) - O->Tension) < 1e-6)
            x = a;
    int vars[] = {x}, four[] = {4};
    ChanPatonData* O4 = x < 0 ? nullptr : generateChanPatonData(1, O, vars, four);
    if (anomalous != 900)
        failure = "empty configuration: " + std::to_string(anomalous) + " anomalous probes";
    else if (!O4 || CheckGlobalAnomalies(O4) != 1 || CheckLocalAnomalies(O4) != 1)
        failure = "O(4) on the O-plane's tension is anomalous";
    else
        failure = anomaliesOutsideTadpoleSpan(O);
    if (failure.empty())
        OI = O;
    *why = failure;
    return OI;
}

OrientifoldInfo* preparedOrSkipped(benchmark::State& state) {
    std::string why;
    OrientifoldInfo* OI = prepare(&why);
    if (!OI)
        state.SkipWithError(why.c_str());
    return OI;
}

// The first four unitary boundaries (below their images), N = 1 .. 4.
ChanPatonData* fourUnitaryStacks(OrientifoldInfo* OI) {
    std::vector<int> vars, mults;
    for (int a = 0; a < TotalBoundaries() && vars.size() < 4; a++)
        if (OI->GroupTypes[a] == 0 && a < OI->Conjugates.X[a]) {
            vars.push_back(a);
            mults.push_back(static_cast<int>(vars.size()));
        }
    return generateChanPatonData(4, OI, vars.data(), mults.data());
}

// Every probe of a configuration that passes: what CheckLocalAnomalies computes for it.
void LocalAnomaliesFourStacks(benchmark::State& state) {
    OrientifoldInfo* OI = preparedOrSkipped(state);
    if (!OI)
        return;
    ChanPatonData* CPD = fourUnitaryStacks(OI);
    std::int64_t sum = 0;
    for (auto _ : state) {
        for (int b = 0; b < CPD->Nbnd; b++)
            sum += anomalies::localAnomaly(CPD, b);
        benchmark::DoNotOptimize(sum);
    }
}

void GlobalConditionsOfOrientifold(benchmark::State& state) {
    OrientifoldInfo* OI = preparedOrSkipped(state);
    if (!OI)
        return;
    for (auto _ : state) {
        OI->GlobalAnomaliesAvailable = -2;
        loadGlobalAnomaliesForOrientifold(OI);
        benchmark::DoNotOptimize(rowCount(OI->GlobalAnomalies));
    }
    state.counters["rows"] = rowCount(OI->GlobalAnomalies);
}

} // namespace

BENCHMARK(LocalAnomaliesFourStacks)->Unit(benchmark::kMicrosecond);
BENCHMARK(GlobalConditionsOfOrientifold)->Iterations(2)->Unit(benchmark::kSecond);
BENCHMARK_MAIN();
