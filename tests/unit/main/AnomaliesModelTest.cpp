// The anomaly checks on the Gepner model 133313 (1400 boundaries, one orientifold of tension
// 0.0632241), set up as "build brane_configuration" does. The empty configuration is anomalous:
// its anomaly 4 (M(b) - M(b^c)) is non-zero for 522 probes, as an independent model of the
// extended S, T and P matrices gives; every tadpole solution with one or two stacks is free of
// anomalies. The model has no global conditions.
#include "main/GepnerModelHelpers.h"

#include "boundary/CrossBound.h"
#include "numeric/Sorting.h"
#include "string/Anomalies.h"
#include "string/AnomaliesInternal.h"
#include "string/Intersections.h"
#include "string/StringTheory.h"
#include "string/Tadpole.h"
#include "string/TadpoleSolver.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>

namespace {

using gepnertest::CapturedOut;
using gepnertest::expect;

int lookups = 0;
int countedIntersection(int a, int b, int* chir) {
    lookups++;
    return FullIntersectionForClassMember(a, b, chir);
}

int handedOn = 0, failedLocal = 0, failedGlobal = 0;
int anomalyHarness(ChanPatonData* CPD) {
    handedOn++;
    failedGlobal += CheckGlobalAnomalies(CPD) ? 0 : 1;
    failedLocal += CheckLocalAnomalies(CPD) ? 0 : 1;
    return 1;
}

void emptyConfigurationIsAnomalous(OrientifoldInfo* OI) {
    ChanPatonData* CPD = generateChanPatonData(0, OI, nullptr, nullptr);
    const int* conj = OI->Conjugates.X;
    int anomalous = 0, first = -1;
    for (int b = 0; b < CPD->Nbnd; b++) {
        const std::int64_t A = anomalies::localAnomaly(CPD, b);
        expect(A == 4 * (getMoebiusSum(0, b) - getMoebiusSum(0, conj[b])),
               "A(" + std::to_string(b) + ") is not 4 (M(b) - M(b^c))");
        expect(conj[b] != b || A == 0, "self-conjugate probe " + std::to_string(b));
        if (A != 0) {
            anomalous++;
            first = first < 0 ? b : first;
        }
    }
    expect(anomalous == 522, "anomalous probes: " + std::to_string(anomalous));
    if (first < 0)
        return;
    const std::int64_t A = anomalies::localAnomaly(CPD, first);
    CapturedOut cap;
    const int verdict = CheckLocalAnomalies(CPD);
    const std::string said = cap.out();
    expect(verdict == 0, "the empty configuration passes");
    expect(said == "Local anomaly not cancelled: b=" + std::to_string(first) +
                       ", anomaly=" + std::to_string(A) + "\n",
           "message: " + said);
    expect(CPD->Nactive == 1 && CPD->dims[0] == 5 && CPD->Active[0] == std::min(first, conj[first]),
           "marker stack");
}

// Computed once, kept while valid, skipped after mode 2 when still valid.
void globalConditionsAreLoadedOnce(OrientifoldInfo* OI) {
    anomalies::setSources(countedIntersection, nullptr, nullptr);
    OI->GlobalAnomaliesAvailable = -2;
    lookups = 0;
    loadGlobalAnomalies(2);
    loadGlobalAnomalies(1);
    const int once = lookups;
    expect(once > 0, "nothing computed");
    expect(rowCount(OI->GlobalAnomalies) == 0,
           "global rows: " + std::to_string(rowCount(OI->GlobalAnomalies)));
    expect(OI->GlobalAnomaliesAvailable == OI->OrientifoldNr, "rows not stamped");
    loadGlobalAnomalies(1);
    loadGlobalAnomalies(2);
    loadGlobalAnomalies(1);
    loadGlobalAnomalies(0);
    expect(lookups == once, "valid conditions computed again");
    OI->GlobalAnomaliesAvailable = -2;
    loadGlobalAnomalies(1);
    expect(lookups == once, "mode 1 after loading computed again");
    anomalies::resetAnomalyState();
}

void fewStackSolutionsAreFreeOfAnomalies() {
    setAnalysisFunction(anomalyHarness);
    CapturedOut cap;
    findTadpoleSolutionsWithNbranes(1);
    const int single = handedOn;
    findTadpoleSolutionsWithNbranes(2);
    expect(single > 0, "no one-stack solution");
    expect(handedOn > single, "no two-stack solution");
    expect(failedLocal == 0, "local anomalies in " + std::to_string(failedLocal) + " solutions");
    expect(failedGlobal == 0, "global anomalies in " + std::to_string(failedGlobal) + " solutions");
    resetAnalysisFunction();
}

[[noreturn]] void checkModel() {
    OrientifoldInfo* OI = gepnertest::buildGepner133313();
    if (!OI) {
        std::fputs("model not built\n", stderr);
        std::exit(1);
    }
    InitMoebiusSum();
    emptyConfigurationIsAnomalous(OI);
    globalConditionsAreLoadedOnce(OI);
    fewStackSolutionsAreFreeOfAnomalies();
    gepnertest::report();
}

TEST(Gepner133313, AnomalyChecks) {
    EXPECT_EXIT(checkModel(), testing::ExitedWithCode(0), "");
}

} // namespace
