// Exceptional invariants: the lazy set-up of their open-string data, the crosscap coefficients
// that follow from a Klein bottle by a square root, the choice of the exceptional Klein bottle and
// the search for Klein bottles consistent with the Ishibashi states, and the look-ups in the
// invariant's boundary and crosscap tables.
#include "boundary/CrossBound.h"

#include "boundary/CrossBoundInternal.h"
#include "boundary/CrossBoundSets.h"

#include "base/Error.h"
#include "base/Output.h"
#include "modular/Invariants.h"
#include "modular/Modular.h"
#include "numeric/Loops.h"

#include <algorithm>
#include <cstdio>

using namespace crossbound_internal;

namespace {

GuardedArray<int> FS{"FS", &CrossBound_alloc};                  // Y(i, 0, 0)
GuardedArray<int> kleinWork{"klein", &CrossBound_alloc};        // the candidate
GuardedArray<int> loopWork{"min", &CrossBound_alloc};           // minima, maxima, loop vector
GuardedArray<int> traceWork{"AnnulusTrace", &CrossBound_alloc}; // trace values

// The generations the crosscap status was last computed under: the oriented and the full set-up
// both run the exceptional one, and the second finds the work done.
int statusBulk = -1;
int statusOrientifold = -1;

int infoLevel() {
    return BoundarySearchInfo ? *BoundarySearchInfo : 0;
}

void printKlein(int N, const int* klein) {
    if (infoLevel() > 0)
        PrintVec(N, klein, "\nKlein Bottle:");
}

// X_m = Re S(0, m) sum_i S(i, m) K_i.
void crosscapSquare(int N, const int* klein, int m, double* re, double* im) {
    double sr, si;
    sumOverS(N, klein, m, &sr, &si);
    double s0r, s0i;
    compS(0, m, &s0r, &s0i);
    *re = s0r * sr;
    *im = s0r * si;
}

// T(a) over the first Np primaries with the given values of Y(i, 0, 0).
void traceValue(int Np, const int* klein, const int* Y, int a, double* re, double* im) {
    double tr = 0.0, ti = 0.0;
    for (int i = 0; i < Np; i++) {
        if (klein[i] == 0 || Y[i] == 0)
            continue;
        double r, s, s0r, s0i;
        compS(a, i, &r, &s);
        compS(0, i, &s0r, &s0i);
        const double f = static_cast<double>(Y[i]) * klein[i] / s0r;
        tr += r * f;
        ti += s * f;
    }
    *re = tr;
    *im = ti;
}

// K_i K_j N_ij^k K_k >= 0 for i <= j <= k with all three non-zero.
bool kleinConstraintHolds(int N, const int* K) {
    for (int i = 0; i < N; i++) {
        if (K[i] == 0)
            continue;
        for (int j = i; j < N; j++) {
            if (K[j] == 0)
                continue;
            for (int k = j; k < N; k++)
                if (K[k] != 0 && K[i] * K[j] * K[k] * fusion(i, j, k, 0) < 0)
                    return false;
        }
    }
    return true;
}

// The Klein bottle exists, at least at its standard value, for the theory's N primaries.
int* exceptionalKlein() {
    const int N = getTotalPrimaries();
    if (ExceptionalKlein.reserved() && ExceptionalKlein.X_oldsize >= N)
        return ExceptionalKlein.X;
    const int held = ExceptionalKlein.reserved() ? ExceptionalKlein.X_oldsize : 0;
    int* K = ExceptionalKlein.reserve(N + 10);
    std::fill(K + held, K + N + 10, 0);
    resetExceptionalKleinBottle(K);
    return K;
}

} // namespace

// ============================================================ Set-up

void ExamineBulkData(ExceptBoundData* EDT) {
    if (!orientifoldOn())
        EDT->CrosscapsLoaded = -1;
    if (EDT->BoundariesLoaded != 1)
        EDT->CrosscapsLoaded = 0;
    if (EDT->BoundariesLoaded != 1 || (EDT->CrosscapsLoaded != 1 && EDT->CrosscapsLoaded != -2))
        return;
    const int N = EDT->Nprimaries;
    const bool same = ExceptionalKlein.reserved() && EDT->Klein.reserved() &&
                      ExceptionalKlein.X_oldsize >= N &&
                      std::equal(EDT->Klein.X, EDT->Klein.X + N, ExceptionalKlein.X);
    if (same)
        return;
    Alert("ExamineBulkData", 0, 100201,
          "Klein bottle has changed; dumping crosscaps and boundaries");
    EDT->BoundariesLoaded = EDT->CrosscapsLoaded = 0;
}

int initExceptionalBCFT() {
    BulkInvariant* bi = currentBulk();
    IshibashiLabelCount = LabelCount(bi);
    getIshibashiLabels();
    getBoundaryLabels();
    ExamineBulkData(bi->EDT);
    const bool fresh =
        statusBulk == QueryBulkInvariant() && statusOrientifold == crossbound::QueryOrientifold();
    if (!fresh || bi->EDT->CrosscapsLoaded != 0)
        CrosscapStatus = bi->EDT->CrosscapsLoaded;
    if (orientifoldOn() && CrosscapStatus == -1)
        CrosscapStatus = 0;
    if (CrosscapStatus == 0) {
        allocExceptBound(bi->EDT, getTotalPrimaries(), IshibashiLabelCount);
        allocSingleBoundaryInfo(&SBI);
        if (orientifoldOn()) {
            if (KleinBottleModInvNr != QueryBulkInvariant()) {
                Alert("initExceptionalBCFT", 0, 212404,
                      "Klein bottle not adapted to modular invariant; resetting");
                crossbound::resetOrientifold();
            }
            CrosscapStatus = ComputeExceptionalCrosscap(&SBI, exceptionalKlein(), 1) ? 1 : -2;
        } else {
            CrosscapStatus = -1;
        }
        statusBulk = QueryBulkInvariant();
        statusOrientifold = crossbound::QueryOrientifold();
    }
    debugLine("Exceptional BCFT initiated\n");
    return 1;
}

void makeBulkExceptional() {
    BulkInvariant* local = getLocalBulk();
    if (*getCurrentBulk() != local) {
        copyBulkInvariant(local, *getCurrentBulk());
        setCurrentBulkInvariant(local);
    }
    if (local->simpleCurrentInvariant)
        local->EDT->BoundariesLoaded = local->EDT->CrosscapsLoaded = 0;
    makeExceptional(local);
    bulkInvariantChanged();
}

// ============================================================ Table look-ups

void getExceptionalReflectionCoefficient(const IshibashiLabel* Ishibashi, const BoundaryLabel* Bnd,
                                         double* R, double* I) {
    const ExceptBoundData* EDT = currentBulk()->EDT;
    if (EDT->BoundariesLoaded != 1 || !EDT->Bound) {
        Alert("getExceptionalReflectionCoefficient", 0, 100302,
              "Boundaries for this MIPF not available");
        *R = *I = 0.0;
        return;
    }
    const int N = EDT->Nprimaries;
    const double* row = EDT->Bound + static_cast<std::size_t>(Bnd->label) * 2 * N;
    *R = row[Ishibashi->label];
    *I = row[N + Ishibashi->label];
}

void getExceptionalCrosscap(int Bulk, double* R, double* I) {
    const ExceptBoundData* EDT = currentBulk()->EDT;
    if (EDT->CrosscapsLoaded != 1 || !EDT->Gamma) {
        Alert("getExceptionalCrosscap", 0, 100302, "Crosscaps not available");
        *R = *I = 0.0;
        return;
    }
    const int m = IshibashiLabels[static_cast<std::size_t>(Bulk)].label;
    *R = EDT->Gamma[m];
    *I = EDT->Gamma[EDT->Nprimaries + m];
}

// ============================================================ Crosscaps from a Klein bottle

int ComputeExceptionalCrosscap(SingleBoundaryInfo* sbi, const int* klein, int output) {
    const int N = getTotalPrimaries();
    std::copy(klein, klein + N, sbi->Klein);
    if (output == 1)
        printKlein(N, klein);
    for (int m = 0; m < N; m++) {
        double re, im;
        crosscapSquare(N, klein, m, &re, &im);
        if (CZeroCheck(re, im)) {
            sbi->Gamma[m] = sbi->Gamma[N + m] = 0.0;
            continue;
        }
        if (!isIshibashiLabel(m)) {
            if (output == 1 && orientifoldOn()) {
                Alert("ComputeExceptionalCrosscap", 0, 100302, "Non-zero gamma: label %d", m);
                printKlein(N, klein);
            }
            return 0;
        }
        complexSquareRoot(re, im, &sbi->Gamma[m], &sbi->Gamma[N + m]);
    }
    if (output == 0 || infoLevel() < 2)
        return 1;
    Print("\nCoefficients U(m) = Gamma(m)*sqrt(S_{0m}) \n");
    PrintComplexVec(N, sbi->Gamma, sbi->Gamma + N, "U:");
    testCandidateKlein2(N, nullptr, nullptr);
    int* trace = traceWork.reserve(N + 10);
    if (testCandidateKlein2(N, klein, trace))
        PrintVec(N, trace, "Annulus trace: ");
    else
        Alert("ComputeExceptionalCrosscap", 1, 100201, "Annulus trace condition not satisfied");
    return 1;
}

int testCandidateKlein2(int Size, const int* klein, int* AnnulusTrace) {
    if (!klein) {
        int* Y = FS.reserve(Size + 10);
        for (int i = 0; i < Size; i++)
            Y[i] = Pfusion(i, 0, 0);
        return 0;
    }
    const int N = getTotalPrimaries();
    for (int a = 0; a < N; a++) {
        double re, im;
        traceValue(Size, klein, FS.X, a, &re, &im);
        int value;
        if (!ComplexToInteger(re, im, &value))
            return 0;
        if (AnnulusTrace)
            AnnulusTrace[a] = value;
    }
    return 1;
}

int checkTraceValues(int Np, const int* Kln, const int* TraceValues) {
    std::vector<int> Y(static_cast<std::size_t>(Np));
    for (int i = 0; i < Np; i++)
        Y[static_cast<std::size_t>(i)] = Pfusion(i, 0, 0);
    for (int a = 0; a < Np; a++) {
        double re, im;
        traceValue(Np, Kln, Y.data(), a, &re, &im);
        if (!ZeroCheck(im) || !ZeroCheck(re - TraceValues[a]))
            return 0;
    }
    return 1;
}

int checkKleinIshibashiMap(const int* Solution) {
    const int N = getTotalPrimaries();
    for (int m = 0; m < N; m++) {
        double re = 0.0, im = 0.0;
        for (int i = 0; i < N; i++) {
            double r, s;
            compS(m, i, &r, &s);
            re += r * Solution[i];
            im += s * Solution[i];
        }
        if (isIshibashiLabel(m)) {
            if ((!ZeroCheck(re) && re < 0) || !ZeroCheck(im)) {
                std::printf("!!! Imaginary crosscap coefficient [root of (%8.3f,%8.3f)]\n", re, im);
                return -1;
            }
        } else if (!CZeroCheck(re, im)) {
            Alert("checkKleinIshibashiMap", 0, 212404,
                  "Candidate Klein bottle coefficients lead to inconsistent crosscap "
                  "coefficients");
            return 0;
        }
    }
    return 1;
}

// ============================================================ Choice of the Klein bottle

void setKleinBottle(const int* newBottle) {
    const int N = getTotalPrimaries();
    std::copy(newBottle, newBottle + N, exceptionalKlein());
    OrientifoldCounter++;
}

void storedKleinBottle(int nr) {
    const int rows = rowCount(KleinBottleStorage);
    if (rows == 0) {
        Alert("storedKleinBottle", 1, 100301, "No Klein bottles in storage");
        return;
    }
    if (nr < 0 || nr >= rows) {
        Alert("storedKleinBottle", 2, 100301, "Klein bottle number out of range");
        return;
    }
    setKleinBottle(rowOf(KleinBottleStorage, nr));
}

// ============================================================ The search

int testCandidateKlein(int Size, int* loop, void* data) {
    SingleBoundaryInfo* sbi = static_cast<SingleBoundaryInfo*>(data);
    int* K = kleinWork.X;
    for (int i = 0; i < Size; i++)
        K[i] = sbi->StandardKlein[i] - 2 * loop[i];
    if (!ComputeExceptionalCrosscap(sbi, K, 0))
        return 0;
    const bool trace = testCandidateKlein2(Size, K, nullptr) == 1;
    if (sbi->Trace_required == 1 && !trace)
        return 0;
    const bool constraint = kleinConstraintHolds(Size, K);
    if (sbi->KBC_required == 1 && !constraint)
        return 0;
    static constexpr const char* tags[2][2] = {{"%3d: (X,Y)  ", "%3d: (X)    "},
                                               {"%3d: (Y)    ", "%3d:        "}};
    char text[32];
    std::snprintf(text, sizeof text, tags[constraint][trace], rowCount(KleinBottleStorage));
    PrintVec(Size, K, text);
    addVectorToCollection(KleinBottleStorage, K);
    return 1;
}

void searchKlein(int KBC, int trace) {
    const int savedStatus = CrosscapStatus;
    if (currentBulk()->simpleCurrentInvariant) {
        Alert("searchKlein", 0, 100301,
              "Arbitary Klein bottle choices are only allowed for exceptional MIPF's\nUse the "
              "command \"make bulk exceptional\" before searching");
        return;
    }
    const int N = getTotalPrimaries();
    initVectorCollection(KleinBottleStorage, N, 100);
    int* loops = loopWork.reserve(3 * N + 10);
    int *Min = loops, *Max = loops + N, *Loop = loops + 2 * N;
    std::fill(loops, loops + 2 * N, 0);
    kleinWork.reserve(N + 10);
    if (initializeOpenString() == 1)
        return;
    if (!SBI.Data.reserved() || SBI.Data.X_oldsize < 5 * N + 10)
        allocSingleBoundaryInfo(&SBI);
    resetExceptionalKleinBottle(SBI.StandardKlein);
    testCandidateKlein2(N, nullptr, nullptr);
    Print("\nConsistent Klein bottles \n");
    if (KBC == 0)
        Print("[(X) indicates Klein bottle constraint violations]\n");
    if (trace == 0)
        Print("[(Y) indicates trace formula violations]\n");
    for (int i = 1; i < N; i++)
        Max[i] = SBI.StandardKlein[i];
    SBI.KBC_required = KBC;
    SBI.Trace_required = trace;
    NestedLoops(N, Min, Max, Loop, &SBI, nullptr, testCandidateKlein);
    CrosscapStatus = savedStatus;
    resetOrientifoldKeepingKleinBottles();
}
