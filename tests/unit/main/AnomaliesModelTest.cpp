// The anomaly checks on the Gepner model 133313 (1400 boundaries, one orientifold of tension
// 0.0632241), set up as "build brane_configuration" does. The empty configuration is anomalous:
// its anomaly 4 (M(b) - M(b^c)) is non-zero for 522 probes, and 546 with O(4) on y, as an
// independent model of the extended S, T and P matrices gives; every tadpole solution with one or
// two stacks is free of anomalies. The model has no global conditions.
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
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <map>
#include <numeric>
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

// Integer rows in echelon form, each divided by the gcd of its entries; exact unless an entry
// overflows, which is noted.
class IntegerEchelon {
public:
    explicit IntegerEchelon(int ncol) : ncol(ncol) {}
    // True when the row is independent of those held.
    bool add(std::vector<std::int64_t> r) {
        for (std::size_t i = 0; i < rows.size(); i++) {
            const std::int64_t c = r[at(pivots[i])];
            if (c == 0)
                continue;
            const std::int64_t p = rows[i][at(pivots[i])], g = std::gcd(p, c);
            std::int64_t h = 0;
            for (int j = 0; j < ncol; j++) {
                std::int64_t a = 0, b = 0;
                overflow |= __builtin_mul_overflow(r[at(j)], p / g, &a) ||
                            __builtin_mul_overflow(rows[i][at(j)], c / g, &b) ||
                            __builtin_sub_overflow(a, b, &r[at(j)]);
                h = std::gcd(h, r[at(j)]);
            }
            if (h > 1)
                for (std::int64_t& x : r)
                    x /= h;
        }
        const auto lead = std::find_if(r.begin(), r.end(), [](std::int64_t x) { return x != 0; });
        if (lead == r.end())
            return false;
        const int col = static_cast<int>(lead - r.begin());
        const auto pos = std::lower_bound(pivots.begin(), pivots.end(), col) - pivots.begin();
        rows.insert(rows.begin() + pos, std::move(r));
        pivots.insert(pivots.begin() + pos, col);
        return true;
    }
    int rank() const { return static_cast<int>(rows.size()); }
    bool overflow = false;

private:
    static std::size_t at(int i) { return static_cast<std::size_t>(i); }
    int ncol;
    std::vector<std::vector<std::int64_t>> rows;
    std::vector<int> pivots;
};

int chirality(int a, int b) {
    int chi = 0;
    FullIntersectionForClassMember(a, b, &chi);
    return chi;
}

// A(b) as a row in the loop variables of the tadpole system, its constant last.
std::vector<std::int64_t> anomalyRow(OrientifoldInfo* OI, int b, int nvar) {
    const int* conj = OI->Conjugates.X;
    const int* boundary = getLoopToCP();
    const int* types = getSolutionGroupTypes();
    const int bc = conj[b];
    std::vector<std::int64_t> v(static_cast<std::size_t>(nvar + 1));
    for (int i = 0; i < nvar; i++) {
        const int a = boundary[i];
        v[static_cast<std::size_t>(i)] = types[i] == 0 ? chirality(a, bc) + chirality(conj[a], bc)
                                         : types[i] == -1 ? 2 * chirality(a, bc)
                                                          : chirality(a, bc);
    }
    v[static_cast<std::size_t>(nvar)] = 4 * (getMoebiusSum(0, b) - getMoebiusSum(0, bc));
    return v;
}

// The anomaly rows against the tadpole rows, every boundary a variable: the independent tadpole
// rows are integral, so the ranks are exact. Adding all 1400 anomaly rows keeps the rank 58; with
// the opposite constant they leave the span. Turning every tadpole constant as the identity's
// is the same: the identity's row, whose coefficients are tensions, takes no part in the anomaly,
// so turning its constant alone changes nothing. Those turned rows are not rational, and the
// equation solver's own elimination judges them.
void anomaliesInTadpoleSpan(OrientifoldInfo* OI) {
    setIntPar("Tadpole remove_identical", 0);
    initActiveBoundaries(-1);
    {
        CapturedOut cap;
        expect(computeTadpoleEquations() == 0, "no tadpole equations");
    }
    EquationData& ED = *getTadpoleEquationPointer();
    const int Ncol = ED.Ncol, nvar = Ncol - 1;
    IntegerEchelon T(Ncol);
    bool integral = true;
    for (int r = 0; r < ED.IndEq; r++) {
        const double* row = ED.Equations.X + static_cast<std::ptrdiff_t>(ED.OrigEq + r) * Ncol;
        std::vector<std::int64_t> v(static_cast<std::size_t>(Ncol));
        for (int j = 0; j < Ncol; j++) {
            v[static_cast<std::size_t>(j)] = std::llround(row[j]);
            integral &=
                std::fabs(row[j] - static_cast<double>(v[static_cast<std::size_t>(j)])) < 1e-7;
        }
        T.add(v);
    }
    expect(integral, "independent tadpole rows not integral");
    expect(T.rank() == 58, "tadpole rank " + std::to_string(T.rank()));
    IntegerEchelon withA = T, opposite = T;
    std::vector<std::vector<std::int64_t>> A;
    for (int b = 0; b < TotalBoundaries(); b++) {
        A.push_back(anomalyRow(OI, b, nvar));
        withA.add(A.back());
        std::vector<std::int64_t> o = A.back();
        o.back() = -o.back();
        opposite.add(o);
    }
    expect(A.size() == 1400, "probes " + std::to_string(A.size()));
    expect(withA.rank() == 58, "with the anomaly rows " + std::to_string(withA.rank()));
    expect(opposite.rank() == 59, "with opposite constants " + std::to_string(opposite.rank()));
    expect(!withA.overflow && !opposite.overflow, "integer overflow in the elimination");

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
