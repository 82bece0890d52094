// The anomaly checks on the Gepner model 133313 (1400 boundaries, one orientifold of tension
// 0.0632241), set up as "build brane_configuration" does. The empty configuration is anomalous:
// its anomaly 4 (M(b) - M(b^c)) is non-zero for 522 probes, and 546 with O(4) on y, as an
// independent model of the extended S, T and P matrices gives; every tadpole solution with one or
// two stacks is free of anomalies. The model has no global conditions.
#include "main/AnomalySpan.h"
#include "main/GepnerModelHelpers.h"

#include "boundary/CrossBound.h"
#include "numeric/Equations.h"
#include "numeric/Sorting.h"
#include "string/Anomalies.h"
#include "string/AnomaliesInternal.h"
#include "string/Intersections.h"
#include "string/StringTheory.h"
#include "string/Tadpole.h"
#include "string/TadpoleSolver.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <map>
#include <string>
#include <vector>

namespace {

using gepnertest::CapturedOut;
using gepnertest::expect;
using gepnertest::orthogonalOfTension;

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

// {y:4}: A(b) = 4 (M(b) - M(b^c)) + 4 chi(y, b^c) is non-zero for 546 probes, with the values
// +-4, +-8 and +-12 (the independent model's count).
void orthogonalStackIsAnomalous(OrientifoldInfo* OI) {
    int vars[] = {orthogonalOfTension(OI, 0.408977)}, mults[] = {4};
    ChanPatonData* CPD = generateChanPatonData(1, OI, vars, mults);
    std::map<std::int64_t, int> values;
    for (int b = 0; b < CPD->Nbnd; b++)
        if (const std::int64_t A = anomalies::localAnomaly(CPD, b); A != 0)
            values[A]++;
    int anomalous = 0;
    std::string seen;
    for (const auto& [A, count] : values) {
        anomalous += count;
        seen += " " + std::to_string(A);
    }
    expect(anomalous == 546, "{y:4}: anomalous probes: " + std::to_string(anomalous));
    expect(seen == " -12 -8 -4 4 8 12", "{y:4}: anomalies" + seen);
    CapturedOut cap;
    expect(CheckLocalAnomalies(CPD) == 0 && CPD->Nactive == 2, "{y:4} passes");
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

// The anomaly rows against the tadpole rows, every boundary a variable: the independent tadpole
// rows are rational, so the ranks are exact. Adding all 1400 anomaly rows keeps the rank 58; with
// the opposite constant they leave the span. Turning every tadpole constant as the identity's
// is the same: the identity's row, whose coefficients are tensions, takes no part in the anomaly,
// so turning its constant alone changes nothing. Those turned rows are not rational, and the
// equation solver's own elimination judges them.
void anomaliesInTadpoleSpan(OrientifoldInfo* OI) {
    {
        CapturedOut cap;
        expect(anomalyspan::tadpoleSystemOfAllBoundaries() == 0, "no tadpole equations");
    }
    EquationData& ED = *getTadpoleEquationPointer();
    const int Ncol = ED.Ncol;
    const anomalyspan::Ranks R = anomalyspan::measure(OI);
    const std::vector<std::vector<std::int64_t>>& A = R.anomalyRows;
    expect(R.integral, "independent tadpole rows not rational");
    expect(R.tadpole == 58, "tadpole rank " + std::to_string(R.tadpole));
    expect(A.size() == 1400, "probes " + std::to_string(A.size()));
    expect(R.withAnomalies == 58, "with the anomaly rows " + std::to_string(R.withAnomalies));
    expect(R.oppositeConstants == 59,
           "with opposite constants " + std::to_string(R.oppositeConstants));
    expect(!R.overflow, "integer overflow in the elimination");

    expect(getActiveEquations()[0] == 0, "the identity has no rows");
    // The built rows, the constants of the identity's two rows or of all others turned, with the
    // anomaly rows, reduced by the equation solver: -1 when they are inconsistent (rank 59).
    auto reduced = [&](bool turnIdentity, int* rank) {
        EquationData F;
        F.Ncol = Ncol;
        F.OrigEq = ED.OrigEq + static_cast<int>(A.size());
        F.Size = 2 * F.OrigEq;
        double* rows = F.Equations.reserve(F.Size * Ncol);
        std::copy_n(ED.Equations.X, static_cast<std::ptrdiff_t>(ED.OrigEq) * Ncol, rows);
        for (int r = 0; r < ED.OrigEq; r++)
            if ((r < 2) == turnIdentity)
                rows[static_cast<std::ptrdiff_t>(r + 1) * Ncol - 1] *= -1;
        for (std::size_t b = 0; b < A.size(); b++)
            std::copy(A[b].begin(), A[b].end(),
                      rows + (ED.OrigEq + static_cast<std::ptrdiff_t>(b)) * Ncol);
        const int code = getIndependentEquations(&F, nullptr);
        *rank = F.IndEq;
        return code;
    };
    int rank = 0;
    const int identity = reduced(true, &rank);
    expect(identity != -1 && rank == 58,
           "identity turned: " + std::to_string(identity) + ", rank " + std::to_string(rank));
    expect(reduced(false, &rank) == -1, "all other constants turned: consistent");
}

[[noreturn]] void checkModel() {
    OrientifoldInfo* OI = gepnertest::buildGepner133313();
    if (!OI) {
        std::fputs("model not built\n", stderr);
        std::exit(1);
    }
    InitMoebiusSum();
    emptyConfigurationIsAnomalous(OI);
    orthogonalStackIsAnomalous(OI);
    globalConditionsAreLoadedOnce(OI);
    fewStackSolutionsAreFreeOfAnomalies();
    anomaliesInTadpoleSpan(OI);
    gepnertest::report();
}

TEST(Gepner133313, AnomalyChecks) {
    EXPECT_EXIT(checkModel(), testing::ExitedWithCode(0), "");
}

} // namespace
