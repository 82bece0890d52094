// The two label sets of the current bulk invariant. Ishibashi labels are the diagonal states:
// each field paired with itself, once per degenerate state. Boundary labels of a simple-current
// invariant are pairs [f, psi]: f the smallest field of a bulk-group orbit, psi an element of the
// untwisted stabiliser of f; the diagonal and exceptional invariants number them like the
// Ishibashi labels.
#include "boundary/CrossBound.h"

#include "boundary/CrossBoundInternal.h"

#include "base/Error.h"
#include "modular/Invariants.h"
#include "modular/Modular.h"
#include "tensor/FixedPoints.h"

#include <algorithm>
#include <cstdio>

namespace crossbound_internal {

std::vector<IshibashiLabel> IshibashiLabels;
std::vector<BoundaryLabel> BoundaryLabels;
int IshibashiLabelCount = 0;
int BoundaryLabelCount = 0;
GuardedArray<int> FirstBoundaryForPrimary{"FirstBoundaryForPrimary", &CrossBound_alloc};
FPType* startFP = nullptr;
int TotalOrder = 1;

} // namespace crossbound_internal

using namespace crossbound_internal;

namespace {

GuardedArray<int> stabilizerBuffer{"Stabilizer currents", &CrossBound_alloc};

// The rows of the invariant that belong to fields of the theory.
int rowsToRead(const BulkInvariant* bi) {
    const int N = getTotalPrimaries();
    return N < bi->Nprimaries ? N : bi->Nprimaries;
}

// Occurrences of i among its own partners, each worth the row's multiplicity.
int diagonalCount(const BulkInvariant* bi, int i) {
    int n = 0;
    for (int k = 0; k < bi->orbitlength[i]; k++)
        if (bi->orbits[i][k] == i)
            n += bi->multiplicity[i];
    return n;
}

void addIshibashi(int label, int current, int multiplicity) {
    IshibashiLabel m;
    m.label = label;
    m.current = current;
    m.multiplicity = multiplicity;
    IshibashiLabels.push_back(m);
}

void addBoundary(int label, int fp, int isfixed, int breaking, FPType* type) {
    BoundaryLabel b;
    b.label = label;
    b.fp = fp;
    b.isfixed = isfixed;
    b.symmetry_breaking = breaking;
    b.fptype = type;
    BoundaryLabels.push_back(b);
    BoundaryLabelCount = static_cast<int>(BoundaryLabels.size());
}

// Each diagonal copy of a simple-current invariant carries the current the invariant lists for
// it behind the row's partners.
void addSimpleCurrentRow(const BulkInvariant* bi, int i) {
    const int n = bi->orbitlength[i];
    const int mult = bi->multiplicity[i];
    for (int k = 0; k < n; k++)
        if (bi->orbits[i][k] == i)
            for (int t = 0; t < mult; t++)
                addIshibashi(i, bi->orbits[i][n + t], mult);
}

void addExceptionalRow(const BulkInvariant* bi, int i) {
    const int n = diagonalCount(bi, i);
    for (int t = 0; t < n; t++)
        addIshibashi(i, t, n);
}

// Writes X(J, K) into A; false after a report when a current is not in the bulk group.
bool alternatorEntry(int J, int K, rat* A, const char* routine) {
    SCData* MD = currentBulk()->MD;
    const int eJ = MD->inverse_map[J];
    const int eK = MD->inverse_map[K];
    if (eJ < 0 || eK < 0) {
        Alert(routine, 0, 212404, "Stabilizer current %d not found in group", eJ < 0 ? J : K);
        setzero(A);
        return false;
    }
    *A = *computeXIJ(eJ, eK, MD);
    simplifyRat(A);
    return true;
}

// +1, -1, or 2 for a phase; a current outside the group counts as +1.
int alternatorSign(int J, int K, const char* routine) {
    rat X;
    if (!alternatorEntry(J, K, &X, routine))
        return 1;
    if (X.den == 1)
        return 1;
    return X.den == 2 ? -1 : 2;
}

// J belongs to the untwisted stabiliser when F(J, K) X(J, K) = 1 for every K of the stabiliser.
bool untwisted(int field, int J, const int* stab, int size) {
    for (int k = 1; k < size; k++) {
        const int K = stab[k];
        const int t = MOD_getCurrentTwist(field, J, K);
        if (t % 2 != 0)
            Alert("makeAlternatingStabilizer", 1, 212404, "Unexpected imaginary twist");
        const int sign = alternatorSign(J, K, "makeAlternatingStabilizer");
        if (sign == 2) {
            if (currentBulk()->symmetric == 1)
                Alert("makeAlternatingStabilizer", 2, 212404, "Alternator is a phase, not a sign");
            return false;
        }
        if (sign * (1 - t) < 0)
            return false;
    }
    return true;
}

void standardBoundaryLabels() {
    for (int i = 0; i < IshibashiLabelCount; i++)
        addBoundary(i, 0, 0, 0, trivialFP(&startFP));
}

// One orbit of the bulk group: its labels and the first boundary label of each of its fields.
void addOrbit(const SCData* MD, int f, int stabsize, int* stab) {
    const int b = BoundaryLabelCount;
    FirstBoundaryForPrimary[f] = b;
    for (int k = 0; k < TotalOrder; k++) {
        const int Jf = simpleFusion(MD->map[k], f);
        if (Jf >= 0 && Jf < FirstBoundaryForPrimary.X_oldsize)
            FirstBoundaryForPrimary[Jf] = b;
    }
    const int sb = checkBoundarySymmetry(f);
    if (stabsize == 1) {
        addBoundary(f, 0, 0, sb, trivialFP(&startFP));
        return;
    }
    const int u = makeAlternatingStabilizer(f, stabsize, stab);
    FPType* type = getFP(CenterOrder(), stab + TotalOrder, stab, u, stabsize, &startFP, nullptr,
                         simpleProduct);
    if (!type)
        return;
    if (u != type->dg->Order)
        std::printf("\n\n!!!!!!!!!!!!!!!! asize=%d; order=%d\n\n", u, type->dg->Order);
    for (int k = 0; k < u; k++)
        addBoundary(f, type->identifier[k], 1, sb, type);
}

} // namespace

// ============================================================ Ishibashi labels

void getIshibashiLabels() {
    IshibashiLabels.clear();
    IshibashiLabels.reserve(static_cast<std::size_t>(std::max(IshibashiLabelCount, 0)) + 10);
    const BulkInvariant* bi = currentBulk();
    if (getTotalPrimaries() <= 0) {
        if (IshibashiLabelCount != 0)
            Alert("getIshibashiLabels", 0, 212404, "Ishibashi label count error");
        IshibashiLabelCount = 0;
        return;
    }
    const int rows = rowsToRead(bi);
    for (int i = 0; i < rows; i++) {
        if (bi->trivial)
            addIshibashi(i, 0, 1);
        else if (bi->simpleCurrentInvariant)
            addSimpleCurrentRow(bi, i);
        else
            addExceptionalRow(bi, i);
    }
    // Later loops run over the labels that exist, whatever the invariant claimed.
    const int made = static_cast<int>(IshibashiLabels.size());
    if (made != IshibashiLabelCount)
        Alert("getIshibashiLabels", 1, 212404, "Ishibashi label count error");
    IshibashiLabelCount = made;
}

// ============================================================ Boundary labels

void getBoundaryLabels() {
    BoundaryLabels.clear();
    BoundaryLabels.reserve(static_cast<std::size_t>(IshibashiLabelCount) + 10);
    BoundaryLabelCount = 0;
    const int N = getTotalPrimaries() > 0 ? getTotalPrimaries() : 0;
    FirstBoundaryForPrimary.reserve(N);
    freeFP(&startFP);
    BulkInvariant* bi = currentBulk();
    // Without group data a simple-current record is taken as the diagonal invariant.
    if (bi->trivial || !bi->simpleCurrentInvariant || !bi->MD || !bi->MD->dg) {
        standardBoundaryLabels();
        for (int i = 0; i < N; i++)
            FirstBoundaryForPrimary[i] = i;
        return;
    }
    for (int i = 0; i < N; i++)
        FirstBoundaryForPrimary[i] = -1;
    for (int f = 0; f < N; f++) {
        // Reported only; the array grows with the labels.
        if (BoundaryLabelCount > IshibashiLabelCount)
            Alert("getBoundaryLabels", 0, 212404, "Too many boundaries");
        if (FirstBoundaryForPrimary[f] != -1)
            continue;
        int stabsize = 0;
        int* stab = nullptr;
        if (!makeOrbit(f, &stabsize, &stab))
            continue;
        addOrbit(bi->MD, f, stabsize, stab);
    }
}

void setStandardBoundaryLabels() {
    BoundaryLabels.clear();
    BoundaryLabelCount = 0;
    standardBoundaryLabels();
}

int makeOrbit(int field, int* NF, int** fpc) {
    const SCData* MD = currentBulk()->MD;
    int* list = stabilizerBuffer.reserve(2 * TotalOrder);
    int n = 0;
    for (int k = 0; k < TotalOrder; k++) {
        const int J = MD->map[k];
        const int Jf = simpleFusion(J, field);
        if (Jf < field)
            return 0;
        if (Jf == field)
            list[n++] = J;
    }
    *NF = n;
    *fpc = list;
    return 1;
}

int makeAlternatingStabilizer(int field, int stabsize, int* fpc) {
    int* unt = fpc + TotalOrder;
    unt[0] = 0;
    int count = 1;
    for (int j = 1; j < stabsize; j++)
        if (untwisted(field, fpc[j], fpc, stabsize))
            unt[count++] = fpc[j];
    return count;
}

int getAlternator(int f1, int f2) {
    return alternatorSign(f1, f2, "getAlternator");
}

void computeXMatrixEntry(int f1, int f2, rat* A) {
    alternatorEntry(f1, f2, A, "computeXMatrixEntry");
}

int checkBoundarySymmetry(int label) {
    const SCData* MD = currentBulk()->MD;
    for (int k = 1; k < MD->KernelSize; k++)
        if (simpleCurrentCharge(MD->LeftKernel[k], label)->den != 1)
            return 1;
    return 0;
}

// ============================================================ Accessors

int getIshibashiField(int i) {
    return IshibashiLabels[static_cast<std::size_t>(i)].label;
}

int getBoundaryField(int a) {
    return BoundaryLabels[static_cast<std::size_t>(a)].label;
}

int getBoundaryFixed(int a) {
    return BoundaryLabels[static_cast<std::size_t>(a)].isfixed;
}

int isIshibashiLabel(int m) {
    return getIshibashiLabel(m) >= 0 ? 1 : 0;
}

int IshibashiMultiplicity(int m) {
    const int i = getIshibashiLabel(m);
    return i < 0 ? 0 : IshibashiLabels[static_cast<std::size_t>(i)].multiplicity;
}

int getIshibashiLabel(int m) {
    for (int i = 0; i < IshibashiLabelCount; i++)
        if (IshibashiLabels[static_cast<std::size_t>(i)].label == m)
            return i;
    return -1;
}

int SimpleCurrentBoundary(int a) {
    return currentBulk()->simpleCurrentInvariant && getBoundaryField(a) < getTotalCurrents() ? 1
                                                                                             : 0;
}

int isRefCoefAvailable() {
    const BulkInvariant* bi = currentBulk();
    if (bi->simpleCurrentInvariant)
        return 1;
    return bi->EDT && bi->EDT->BoundariesLoaded == 1 ? 1 : 0;
}

int getFirstBoundaryForPrimary(int primary) {
    return FirstBoundaryForPrimary[primary];
}
