// Ground-state dimensions of the fields of the extended product: the factor dimensions of every
// orbit member of the field's own weight, summed, divided by the size of the resolution (the
// multiplicity times the untwisted stabilizer). The decomposition of the ground states under the
// covariant lattice (the string contents) belongs to the string analysis, which is not built yet:
// `InfoComputable` answers 0, so no contents are written.
#include "tensor/CosetInternal.h"

#include "base/Error.h"

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

} // namespace

int InfoComputable(TensorProduct*, int) {
    return 0;
}

int tensorOrbitDimension(TensorProduct* TP, int lbl, int*) {
    const int N = TP->NTensor;
    const int* field = TensorField(TP, lbl);
    rat h;
    TensorRatWeight(TP, field, &h);
    LintSet& L = lints();
    lint_assign(L.sum.get(), 0);
    int* m = member.reserve(N + 1);
    m[N] = field[N];
    for (int J = 0; J < rowCount(TP->ChiralAlgebra); J++) {
        const int* current = rowOf(TP->ChiralAlgebra, J);
        for (int k = 0; k < N; k++)
            m[k] = simpleAction(factor(TP, k), current[k], field[k]);
        rat hm;
        TensorRatWeight(TP, m, &hm);
        if (sameWeight(h, hm))
            lint_add(L.sum.get(), tensorDimension(TP, m));
    }
    const FPType* fp = TP->Stabilizers[lbl];
    const int n = fp->mult * fp->dg->Order;
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

void CT_initDimensionsAndContents(TensorProduct* TP) {
    const int rows = rowCount(TP->TensorSpectrum);
    int* dims = TP->TensorDimensions.reserve(rows);
    int* info = TP->TensorInfo.reserve(4 * rows);
    for (int i = 0; i < rows; i++)
        dims[i] = tensorOrbitDimension(TP, i, info + 4 * i);
    TP->DimAvailable = 1;
    TP->InfoAvailable = 1;
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
