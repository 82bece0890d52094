// Charge conjugation of the fields of the extended product. A field that is no resolved fixed
// point is conjugated label by label; the resolved fields of a fixed point share their labels, so
// their conjugates are read off the rows of S: the conjugate's row is the complex conjugate one.
#include "tensor/Coset.h"

#include "base/Error.h"
#include "store/Storemanager.h"
#include "tensor/CosetInternal.h"

#include <cmath>
#include <cstdio>

using namespace coset_internal;

namespace {

// The product whose factors' conjugations were made since the last spectrum computation.
const TensorProduct* prepared = nullptr;
GuardedArray<int> conjug("conjug", cosetAlloc());
GuardedArray<double> Srow("Srow", cosetAlloc());

void prepareFactors(TensorProduct* TP) {
    for (int k = 0; k < TP->NTensor; k++)
        SM_initConjugates(factor(TP, k));
    prepared = TP;
}

// -1 when some factor has no conjugation.
int conjugateLabels(TensorProduct* TP, int lbl) {
    const int N = TP->NTensor;
    const int* row = TensorField(TP, lbl);
    int* c = conjug.reserve(N + 1);
    for (int k = 0; k < N; k++) {
        const SpectrumData* sd = factor(TP, k);
        if (!sd->Conjugates || sd->Conjugates[row[k]] < 0)
            return -1;
        c[k] = sd->Conjugates[row[k]];
    }
    c[N] = row[N];
    return findOrbit(TP, c, nullptr);
}

bool rowMatches(TensorProduct* TP, int i, int n, const double* x, const double* y) {
    for (int j = 0; j < n; j++) {
        double re = 0.0, im = 0.0;
        getCosetS(TP, i, j, &re, &im);
        if (std::fabs(re - x[j]) > Tolerance || std::fabs(im - y[j]) > Tolerance)
            return false;
    }
    return true;
}

int conjugateFromS(TensorProduct* TP, int lbl) {
    const int n = rowCount(TP->TensorSpectrum);
    double* x = Srow.reserve(2 * n);
    double* y = x + n;
    bool real = true;
    for (int j = 0; j < n; j++) {
        double re = 0.0, im = 0.0;
        getCosetS(TP, lbl, j, &re, &im);
        x[j] = re;
        y[j] = -im;
        real = real && std::fabs(im) <= Tolerance;
    }
    if (real)
        return lbl;
    for (int i = 0; i < n; i++)
        if (rowMatches(TP, i, n, x, y))
            return i;
    Alert("getGenericTensorConjugate", 0, 212404, "No conjugate found");
    return -1;
}

TensorProduct* productOf(void* row) {
    return row ? static_cast<TensorProduct*>(row) : getCurrentTensor();
}

} // namespace

int getTensorConjugate(TensorProduct* TP, int lbl) {
    if (lbl == -1) {
        prepared = nullptr;
        return -1;
    }
    if (prepared != TP)
        prepareFactors(TP);
    if (TP->Stabilizers[lbl]->dg->Order < 2)
        return conjugateLabels(TP, lbl);
    return conjugateFromS(TP, lbl);
}

void CT_initConjugates(TensorProduct* TP) {
    const int n = rowCount(TP->TensorSpectrum);
    TP->Conjugates.reserve(n + 10);
    for (int i = 0; i < n; i++)
        TP->Conjugates[i] = getTensorConjugate(TP, i);
    TP->ConjugAvailable = 1;
}

int CT_getConjugate(TensorProduct* TP, int i) {
    if (!TP->ConjugAvailable)
        CT_initConjugates(TP);
    return TP->Conjugates[i];
}

char* CT_getConjString(char* txt, void* row, int lbl) {
    return txt + std::sprintf(txt, "%d", CT_getConjugate(productOf(row), lbl));
}

int CT_ConjugatesAvailable(void* row) {
    TensorProduct* TP = productOf(row);
    for (int k = 0; k < TP->NTensor; k++)
        if (!SM_ConjugatesAvailable(factor(TP, k)))
            return 0;
    return 1;
}
