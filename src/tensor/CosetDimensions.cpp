// Ground-state dimensions of the fields of the extended product: the factor dimensions of every
// orbit member of the field's own weight, summed, divided by the size of the resolution (the
// multiplicity times the untwisted stabilizer). Read as a superstring, the same walk sorts the
// states by their covariant-lattice class: the vacuum's weight-one currents fix the algebra the
// lattice is extended to, and every field's class counts branch back into that algebra.
#include "tensor/CosetInternal.h"

#include "base/Error.h"
#include "tensor/Branching.h"
#include "tensor/ChiralOrbitTable.h"

#include <climits>
#include <cstdio>

using namespace coset_internal;

namespace {

GuardedArray<int> member("member", cosetAlloc());

struct LintSet {
    LintPtr sum{lint_alloc(4)};
    LintPtr divisor{lint_alloc(2)};
    LintPtr quotient{lint_alloc(4)};
};
LintSet& lints() {
    static LintSet set;
    return set;
}

bool sameWeight(const rat& a, const rat& b) {
    return static_cast<long long>(a.num) * b.den == static_cast<long long>(b.num) * a.den;
}

// The quotient as an int, or a handle of the big-integer store when it does not fit.
int storeQuotient(lint* quotient) {
    const int value = lint_to_int(quotient);
    if (value != LintIntOverflow && value >= 0)
        return value;
    lint* own = lint_alloc(quotient->size + 1);
    lint_copy(own, quotient);
    return storePositiveLint(own);
}

// 1 while the contents of the current walk are computed; set with the vacuum, which comes first.
int analyse = 0;

// The states of member m, dimension dim, added to the class counts of the covariant lattice.
void addClassCount(TensorProduct* TP, const int* m, lint* dim, int* count) {
    SpectrumData* first = factor(TP, 0);
    const int d = lint_to_int(dim);
    if (first->info && first->string_spectrum)
        updateRepCount(first, count, m[0], d);
    else
        count[m[0]] += d;
}

// The extension of the covariant lattice by the weight-one currents of the chiral algebra.
void extendCovariantLattice(TensorProduct* TP) {
    Heterotic& H = TP->StringData;
    int count[4] = {0, 0, 0, 0};
    for (int k = 1; k < TP->NTensor; k++)
        count[0] += factor(TP, k)->AdjDimension;
    for (auto& row : H.massless)
        for (int& entry : row)
            entry = 0;
    const rat one{1, 1};
    for (int J = 0; J < rowCount(TP->ChiralAlgebra); J++) {
        const int* current = rowOf(TP->ChiralAlgebra, J);
        rat h;
        TensorRatWeight(TP, current, &h);
        if (sameWeight(h, one))
            addClassCount(TP, current, tensorDimension(TP, current), count);
    }
    Analyse_Extension(TP, factor(TP, 0), count);
    if (H.error != 1)
        printHeteroticRepresentation(nullptr, H.CovLatEmbedding, nullptr);
}

void startWalk(TensorProduct* TP) {
    analyse = InfoComputable(TP, 1);
    if (analyse == 0)
        return;
    initializeStringData(TP, 1);
    if (TP->StringData.error != 1)
        extendCovariantLattice(TP);
    if (TP->StringData.error == 1 || !TP->BranchingTable)
        analyse = 0;
}

// The class counts of a field, n states per resolved field, branched back into the extended
// algebra; a massless field adds its pairs of classes to the massless counts.
void finishContents(TensorProduct* TP, int* count, int n, const rat& h, int* info) {
    const Branching* T = TP->BranchingTable;
    for (int j = 0; j < T->N_H; j++)
        count[j] = count[j] / repDim(T->type_H, T->rank_H, j) / n;
    InverseBranch(T, count, info);
    if (!sameWeight(h, rat{1, 1}))
        return;
    Heterotic& H = TP->StringData;
    const int classes = H.CovLatEmbedding->N_G;
    for (int i = 0; i < classes; i++)
        for (int j = 0; j < classes; j++)
            H.massless[i][j] += info[i] * info[j];
}

} // namespace

namespace {

int orbitDimension(TensorProduct* TP, int lbl, int* info, ChiralOrbitTable& orbit) {
    const int N = TP->NTensor;
    if (lbl == 0)
        startWalk(TP);
    const bool contents = analyse == 1 && info;
    int count[4] = {0, 0, 0, 0};
    const int* field = TensorField(TP, lbl);
    orbit.setField(field);
    const rat& h = orbit.fieldWeight();
    LintSet& L = lints();
    lint_assign(L.sum.get(), 0);
    int* m = member.reserve(N + 1);
    m[N] = field[N];
    for (int J : orbit.keptElements()) {
        orbit.image(J, m);
        lint* d = tensorDimension(TP, m);
        lint_add(L.sum.get(), d);
        if (contents)
            addClassCount(TP, m, d, count);
    }
    const FPType* fp = TP->Stabilizers[lbl];
    const int n = fp->mult * fp->dg->Order;
    if (contents)
        finishContents(TP, count, n, h, info);
    if (n == 1)
        return storeQuotient(L.sum.get());
    lint_assign(L.divisor.get(), n);
    lint_assign(L.quotient.get(), 0);
    // The division leaves the remainder in the sum.
    if (exact_division(L.sum.get(), L.divisor.get(), L.quotient.get()) != 0 ||
        lint_to_int(L.sum.get()) != 0) {
        Alert("tensorOrbitDimension", 0, 212404, "Dimension of field %d not divisible by %d", lbl,
              n);
        return 0;
    }
    return storeQuotient(L.quotient.get());
}

} // namespace

int tensorOrbitDimension(TensorProduct* TP, int lbl, int* info) {
    ChiralOrbitTable orbit(TP);
    return orbitDimension(TP, lbl, info, orbit);
}

void CT_initDimensionsAndContents(TensorProduct* TP) {
    const int rows = rowCount(TP->TensorSpectrum);
    int* dims = TP->TensorDimensions.reserve(rows);
    int* info = TP->TensorInfo.reserve(4 * rows);
    ChiralOrbitTable orbit(TP);
    for (int i = 0; i < rows; i++)
        dims[i] = orbitDimension(TP, i, info + 4 * i, orbit);
    TP->DimAvailable = 1;
    // Contents exist only when the walk analysed them; a walk with "Super" off leaves none.
    TP->InfoAvailable = analyse == 1 && TP->StringData.error != 1 ? 1 : 0;
}

int CT_initDimensions(void* X) {
    auto* TP = X ? static_cast<TensorProduct*>(X) : getCurrentTensor();
    if (TP->DimAvailable == 1)
        return 1;
    if (TP->genuineCoset || !DimComputable(TP) || CT_spectrumRows(TP) == 0)
        return 0;
    CT_initDimensionsAndContents(TP);
    return 1;
}
