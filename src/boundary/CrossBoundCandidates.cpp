// Candidate boundaries from diagonal annulus vectors: the moduli of the reflection coefficients
// follow from the annulus, their phases from a principal square root and, with orientifolds, the
// signs of the components the crosscaps see from the Moebius strip.
#include "boundary/CrossBoundSearch.h"

#include "boundary/CrossBoundInternal.h"

#include "base/Error.h"
#include "base/Output.h"
#include "modular/Modular.h"
#include "numeric/Loops.h"

#include <algorithm>
#include <cstdio>
#include <cstdlib>

using namespace crossbound_internal;

int BoundCandCount = 0;

namespace {

GuardedArray<double> candidates{"BoundaryCandidates", &CrossBound_alloc};
GuardedArray<double> dloop{"Dloop", &CrossBound_alloc};
GuardedArray<int> annulusWork{"loop", &CrossBound_alloc};
GuardedArray<int> signLoop{"min", &CrossBound_alloc};
GuardedArray<double> signedWork{"SolR", &CrossBound_alloc};
GuardedArray<double> conjWork{"conj", &CrossBound_alloc};
GuardedArray<int> absMax{"mxs", &CrossBound_alloc};

// The state of the enumeration of "search boundaries" between its points.
struct SearchEnumeration {
    LoopPacing pacing;
    double* F = nullptr;
    int* ishimap = nullptr;
    int* tagmap = nullptr;
    int nishi = 0;
    int ntags = 0;
} searchState;

LoopPacing rangePacing;

// The number of primaries of the theory the stored candidates were made for.
int candidateWidth = 0;

int infoLevel() {
    return BoundarySearchInfo ? *BoundarySearchInfo : 0;
}

bool allZero(int N, const int* v) {
    return std::all_of(v, v + N, [](int x) { return x == 0; });
}

// Component m of Bound: the principal root of a product, exactly 0 for a numerical zero.
void setRoot(double* Bound, int N, int m, double re, double im) {
    if (CZeroCheck(re, im))
        Bound[m] = Bound[N + m] = 0.0;
    else
        complexSquareRoot(re, im, &Bound[m], &Bound[N + m]);
}

void ensureCandidateRoom(int N) {
    const long long needed = (2LL * BoundCandCount + 10) * N;
    if (!candidates.X || needed > candidates.X_oldsize)
        candidates.reserve((2 * BoundCandCount + 40) * N + 10);
}

} // namespace

int isComplexBoundary(int N, const double* v) {
    for (int m = 0; m < N; m++)
        if (!ZeroCheck(v[N + m]))
            return 1;
    return 0;
}

double* boundaryCandidate(int k) {
    return candidates.X + 2 * static_cast<std::size_t>(getTotalPrimaries()) * k;
}

int boundaryCandidateWidth() {
    return BoundCandCount > 0 ? candidateWidth : 0;
}

int* getAbsMax() {
    const int N = getTotalPrimaries();
    int* mxs = absMax.reserve(N + 10);
    for (int i = 0; i < N; i++)
        mxs[i] = static_cast<int>(SBI.Szero[i] / SBI.Szero[0] + 1e-6);
    return mxs;
}

// ============================================================ The two enumerations

int testCandidateBoundary(int N, int* loop, void* data) {
    SearchEnumeration& s = searchState;
    auto* info = static_cast<SingleBoundaryInfo*>(data);
    if (!loop) {
        annulusWork.reserve(N + 10);
        dloop.reserve(N + 10);
        std::fill(info->Bound, info->Bound + 2 * N, 0.0);
        s.pacing.reset();
        loadBasisFactors(N, info->tagged, info->ImageVectors, &s.F, &s.ishimap, &s.tagmap, &s.nishi,
                         &s.ntags, 0);
        return 0;
    }
    if (s.pacing.count == 0 && allZero(N, loop))
        return 0;
    int* A = annulusWork.X;
    for (int j = 0; j < N; j++) {
        const int v = info->tagged[j];
        if (v == -1) {
            A[j] = loop[j];
            continue;
        }
        const double* V = info->ImageVectors + static_cast<std::size_t>(v) * N;
        double sum = 0.0;
        for (int k = 0; k < N; k++)
            sum += loop[k] * V[k];
        if (!DoubleToInteger(-sum, &A[j]) || A[j] < 0)
            return 0;
    }
    if (!s.pacing.step("testCandidateBoundary", "Loop index: (total nr.: %lld; time %7.2f)\n", N,
                       loop))
        return -2;
    for (int k = 0; k < s.nishi; k++) {
        double re = 0.0, im = 0.0;
        for (int c = 0; c < s.ntags; c++) {
            const int a = A[s.tagmap[c]];
            re += s.F[k * s.ntags + c] * a;
            im += s.F[(s.nishi + k) * s.ntags + c] * a;
        }
        setRoot(info->Bound, N, s.ishimap[k], re, im);
    }
    return analyseCandidateBoundary(N, info, A, data);
}

int testCandidateBoundaryInRange(int N, int* loop, void* data) {
    auto* info = static_cast<SingleBoundaryInfo*>(data);
    if (!loop) {
        dloop.reserve(N + 10);
        rangePacing.reset();
        return 0;
    }
    if (rangePacing.count == 0 && allZero(N, loop))
        return 0;
    if (!rangePacing.step("testCandidateBoundaryInRange",
                          "Loop index: (total nr.: %lld; time %7.2f)\n", N, loop))
        return -2;
    for (int j = 0; j < N; j++) {
        double re, im;
        sumOverS(N, loop, j, &re, &im);
        re *= info->Szero[j];
        im *= info->Szero[j];
        if (!CZeroCheck(re, im) && !isIshibashiLabel(j))
            return 0;
        setRoot(info->Bound, N, j, re, im);
    }
    return analyseCandidateBoundary(N, info, loop, data);
}

// ============================================================ Norm and signs

int analyseCandidateBoundary(int N, SingleBoundaryInfo* info, const int* A, void* data) {
    if (!ZeroCheck(ComplexNorm(N, info->Bound, info->Bound + N) - 1.0))
        return 0;
    std::copy(A, A + N, info->Annulus.X);
    if (!orientifoldOn()) {
        if (addBoundaryCandidate(N, info->Bound) != -1)
            PrintNewBoundaryCandidate(N, info->Bound, info);
        return 1;
    }
    int* loops = signLoop.reserve(3 * N + 10);
    int *Min = loops, *Max = loops + N, *Loop = loops + 2 * N;
    std::fill(loops, loops + 2 * N, 0);
    bool first = true;
    for (int m = 0; m < N; m++) {
        if (CZeroCheck(info->Bound[m], info->Bound[N + m]) ||
            CZeroCheck(info->Gamma[m], info->Gamma[N + m]))
            continue;
        Max[m] = first ? 0 : 1;
        first = false;
    }
    const int count = NestedLoops(N, Min, Max, Loop, data, nullptr, testCandidateMoebius);
    if (count == 0 && infoLevel() > 7) {
        Print("Candidate boundary found; rejected by Moebius consistency.\n");
        PrintVec(N, A, "Annulus: ");
    }
    return count;
}

int testCandidateMoebius(int N, int* sign, void* data) {
    auto* info = static_cast<SingleBoundaryInfo*>(data);
    initPMATRIX();
    double* v = signedWork.reserve(2 * N + 10);
    for (int k = 0; k < 2 * N; k++)
        v[k] = (1 - 2 * sign[k % N]) * info->Bound[k];
    for (int i = 0; i < N; i++) {
        double re, im;
        VectorVerlinde(i, N, &re, &im, compP, v, info->Gamma, info->Szero);
        if (!IntCheck(re) || !ZeroCheck(im))
            return 0;
        const int M = DoubleToInt(re);
        info->Moebius[i] = M;
        const int A = info->Annulus.X[i];
        if (std::abs(M) > A || (A - M) % 2 != 0)
            return 0;
    }
    if (addBoundaryCandidate(N, v) != -1)
        PrintNewBoundaryCandidate(N, v, info);
    return 1;
}

// ============================================================ The store

int addBoundaryCandidate(int N, const double* vector) {
    ensureCandidateRoom(N);
    for (int k = 0; k < BoundCandCount; k++)
        if (compareDoubleVec(2 * N, vector, boundaryCandidate(k)))
            return -1;
    if (isComplexBoundary(N, vector) && checkConjugatePresence(N, vector))
        return -1;
    std::copy(vector, vector + 2 * N, boundaryCandidate(BoundCandCount));
    candidateWidth = N;
    return BoundCandCount++;
}

int checkConjugatePresence(int N, const double* vector) {
    double* conj = conjWork.reserve(4 * N + 10);
    for (int m = 0; m < N; m++) {
        conj[m] = vector[m];
        conj[N + m] = -vector[N + m];
    }
    copyToUnsigned(N, conj + 2 * N, conj);
    for (int k = 0; k < BoundCandCount; k++)
        if (compareDoubleVec(2 * N, conj + 2 * N, boundaryCandidate(k)))
            return 1;
    return 0;
}

void copyToUnsigned(int N, double* target, const double* source) {
    for (int m = 0; m < N; m++) {
        const double re = source[m], im = source[N + m];
        const bool physical = orientifoldOn() && !CZeroCheck(SBI.Gamma[m], SBI.Gamma[N + m]);
        const double sign = physical || CposCheck(re, im) ? 1.0 : -1.0;
        target[m] = sign * re;
        target[N + m] = sign * im;
    }
}

void PrintNewBoundaryCandidate(int N, const double* vector, const SingleBoundaryInfo* info) {
    if (infoLevel() <= 2)
        return;
    char text[64];
    std::snprintf(text, sizeof text, "Following boundary added as candidate nr. %d",
                  BoundCandCount - 1);
    PrintComplexVec(N, vector, vector + N, text);
    PrintVec(N, info->Annulus.X, "Annulus: ");
    if (!orientifoldOn())
        return;
    PrintVec(N, info->Moebius, "Moebius: ");
    if (isComplexBoundary(N, vector))
        Print("Omitting conjugate Annulus and Moebius\n");
}

// ============================================================ Tests of a single vector

int CheckNewBoundary(int N, const double* v) {
    if (!ZeroCheck(ComplexNorm(N, v, v + N) - 1.0))
        return 0;
    initPMATRIX();
    for (int i = 0; i < N; i++) {
        double re, im;
        int A, M;
        VectorVerlinde(i, N, &re, &im, compS, v, v, SBI.Szero);
        if (!ComplexToInteger(re, im, &A) || A < 0)
            return 0;
        if (!orientifoldOn())
            continue;
        VectorVerlinde(i, N, &re, &im, compP, v, SBI.Gamma, SBI.Szero);
        if (!ComplexToInteger(re, im, &M) || std::abs(M) > A || (A - M) % 2 != 0)
            return 0;
    }
    return 1;
}

int CheckAdditionalBoundary(const BoundarySet* set, const double* v) {
    const int N = set->Nfield;
    initPMATRIX();
    for (int i = 0; i < N; i++) {
        double re, im;
        int value;
        for (int b = 0; b < set->Count; b++) {
            VectorVerlinde(i, N, &re, &im, compS, set->Bound[static_cast<std::size_t>(b)], v,
                           SBI.Szero);
            if (!ComplexToInteger(re, im, &value) || value < 0)
                return 0;
        }
        if (!orientifoldOn())
            continue;
        VectorVerlinde(i, N, &re, &im, compP, v, SBI.Gamma, SBI.Szero);
        if (!ComplexToInteger(re, im, &value))
            return 0;
    }
    for (int b = 0; b < set->Count; b++) {
        const double* member = set->Bound[static_cast<std::size_t>(b)];
        if (!ComplexOrthogonalityCheck(N, member, member + N, v, v + N))
            return 0;
    }
    return ZeroCheck(ComplexNorm(N, v, v + N) - 1.0) ? 1 : 0;
}
