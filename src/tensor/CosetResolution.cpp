// Fixed-point resolution matrices S^J of the extended product. On the fields fixed by a simple
// current J, S^J sums over the untwisted stabilizer two fields share, like S, but each term is
// taken at a fix-center element common to both fields' representatives of J: the factors see the
// S of their fixed-point theories, and the offsets from the representatives to that element and
// the cocycles of the full fixed-point records fix the phases.
#include "tensor/Coset.h"

#include "base/Error.h"
#include "numeric/MathUtility.h"
#include "numeric/VectorUtility.h"
#include "tensor/CosetInternal.h"
#include "tensor/FixedPoints.h"

#include <algorithm>
#include <complex>
#include <numbers>
#include <vector>

using namespace coset_internal;

namespace {

// Products whose records are built; a fix center of any product releases them all.
std::vector<TensorProduct*> productsWithRecords;

// The common untwisted stabilizer W, reused between calls.
std::vector<int> common;

void findFixedPointCurrents(TensorProduct* TP) {
    std::vector<int> currents;
    for (int c = 1; c < TP->TensorSimpleCurrentOrder; c++)
        if (TensorFixedPointLabels(TP, TensorField(TP, c), nullptr) >= 0 &&
            TensorFixedPointCheck(TP, c))
            currents.push_back(c);
    TP->FCFTnumber = static_cast<int>(currents.size());
    int* out = TP->FixedPointCurrents.reserve(std::max(1, TP->FCFTnumber));
    std::copy(currents.begin(), currents.end(), out);
}

void buildFullStabilizers(TensorProduct* TP) {
    const int rows = rowCount(TP->TensorSpectrum);
    FullFPType** full = TP->FullStabilizers.reserve(std::max(1, rows));
    for (int f = 0; f < rows; f++) {
        const int* field = TensorField(TP, f);
        std::vector<int> elements = fixingElements(TP, field);
        std::vector<int> extension{0};
        for (int n = 0; n < TP->FCFTnumber; n++)
            if (simpleCurrentAction(TP->FixedPointCurrents[n], f, TP) == f)
                extension.push_back(TP->FixedPointCurrents[n]);
        full[f] = getFullFP(TP, field, elements.data(), extension.data(),
                            static_cast<int>(elements.size()), static_cast<int>(extension.size()),
                            TP->Stabilizers[f], TP->SimpleCurrents, nullptr);
    }
}

// The phase of S^J that a field brings: its character at the offset element times K, and its
// cocycle; D receives the sum.
void fieldPhase(TensorProduct* TP, FPType* T, FullFPType* ff, int position, int offset, int K,
                int label, rat* D) {
    rat chi, phi;
    Character(T, chiralAlgebraProduct(TP, offset, K), label, &chi);
    Cocycle(ff, position, label, &phi);
    addRat(&chi, &phi, D);
}

} // namespace

std::vector<int> coset_internal::fixingElements(TensorProduct* TP, const int* field) {
    std::vector<int> elements;
    for (int e = 0; e < rowCount(TP->FixCenter); e++)
        if (TensorFixedPointField(TP, rowOf(TP->FixCenter, e), field))
            elements.push_back(e);
    return elements;
}

void coset_internal::forgetResolutionData() {
    for (TensorProduct* TP : productsWithRecords)
        TP->FCFTinitialized = 0;
    productsWithRecords.clear();
}

void initializeCosetFCFTData(TensorProduct* TP) {
    if (TP->FCFTinitialized == 1)
        return;
    computeFixCenter(TP);
    findFixedPointCurrents(TP);
    buildFullStabilizers(TP);
    TP->FCFTinitialized = 1;
    productsWithRecords.push_back(TP);
}

bool cosetResolvedElement(TensorProduct* TP, int lbli, int lblj, FullFPType* ffa, FullFPType* ffb,
                          int pa, int pb, const ResolutionAlerts& alerts, double* RealS,
                          double* ImS) {
    *RealS = *ImS = 0.0;
    if (!ffa || !ffb || pa < 0 || pb < 0)
        return true;
    FPType* Ta = TP->Stabilizers[lbli];
    FPType* Tb = TP->Stabilizers[lblj];
    const int Ua = Ta->dg->Order, Ub = Tb->dg->Order;
    commonElements(Ta->identifier, Ua, Tb->identifier, Ub, common);
    const int Ra = ffa->representatives[pa], Rb = ffb->representatives[pb];
    const int O = getOverlap(TP, Ra, Rb, Ta->identifier, Tb->identifier, Ua, Ub);
    if (O < 0 || common.empty())
        return true;
    const int ca = getOffset(TP, Ra, O), cb = getOffset(TP, Rb, O);
    if (ca < 0 || cb < 0)
        return true;
    const int N = TP->NTensor;
    const int* a = TensorField(TP, lbli);
    const int* b = TensorField(TP, lblj);
    const TermAlerts termAlerts{alerts.routine,
                                alerts.detailed ? TermAlerts::WithValues : TermAlerts::Plain};
    std::vector<int> V(static_cast<std::size_t>(N) + 1);
    Complex sum = 0.0;
    for (int K : common) {
        tensorSimpleAction(TP, rowOf(TP->ChiralAlgebra, K), rowOf(TP->FixCenter, O), V.data());
        Complex X;
        if (!stabilizerTerm(TP, V.data(), a, b, &X, termAlerts))
            return false;
        rat phaseA, phaseB, d;
        fieldPhase(TP, Ta, ffa, pa, ca, K, a[N], &phaseA);
        fieldPhase(TP, Tb, ffb, pb, cb, K, b[N], &phaseB);
        subtractRat(&phaseA, &phaseB, &d);
        sum += X * characterPhase(d);
    }
    const double norm = resolutionNorm(TP, Ta, Tb);
    *RealS = norm * sum.real();
    *ImS = norm * sum.imag();
    return true;
}

void getCosetFCFT_S_matrix_elt(TensorProduct* TP, int current, int lbli, int lblj, double* RealS,
                               double* ImS) {
    FullFPType* ffa = TP->FullStabilizers[lbli];
    FullFPType* ffb = TP->FullStabilizers[lblj];
    const int pa = ffa ? Present(ffa->ext_currents, ffa->N_ext, current) : -1;
    const int pb = ffb ? Present(ffb->ext_currents, ffb->N_ext, current) : -1;
    cosetResolvedElement(TP, lbli, lblj, ffa, ffb, pa, pb, {"getCosetFCFT_S_matrix_elt", true},
                         RealS, ImS);
}

void CT_getFCFT_Smatrix(TensorProduct* TP, int current, int lbl1, int lbl2, double* RealS,
                        double* ImS) {
    initializeCosetFCFTData(TP);
    getCosetFCFT_S_matrix_elt(TP, current, lbl1, lbl2, RealS, ImS);
}

void CT_getOLA_Smatrix(TensorProduct* TP, int current, int lbl1, int lbl2, double* RealS,
                       double* ImS) {
    CT_getFCFT_Smatrix(TP, current, lbl1, lbl2, RealS, ImS);
    const Complex z =
        Complex(*RealS, *ImS) * shiftPhase(-getTotalFCFTshift(TP, TensorField(TP, current)));
    *RealS = z.real();
    *ImS = z.imag();
}

int CT_getGenericTwist(TensorProduct* TP, int a, int curr_K, int curr_J) {
    initializeCosetFCFTData(TP);
    // An image the action could not place has been reported; it is no row to read S^J at.
    const int Ka = simpleCurrentAction(curr_K, a, TP);
    if (Ka < 0)
        return -1;
    if (simpleCurrentAction(curr_J, a, TP) != a) {
        Alert("CT_getGenericTwist", 1, 212404, "Current does not fix field");
        return -1;
    }
    double re = 0.0, im = 0.0;
    int b = 0;
    const int rows = rowCount(TP->TensorSpectrum);
    for (; b < rows; b++) {
        if (simpleCurrentAction(curr_J, b, TP) != b)
            continue;
        getCosetFCFT_S_matrix_elt(TP, curr_J, a, b, &re, &im);
        if (!CZeroCheck(re, im))
            break;
    }
    if (b == rows) {
        Alert("CT_getGenericTwist", 2, 212404, "Entire row of S^J vanishes");
        return -1;
    }
    double kr = 0.0, ki = 0.0;
    getCosetFCFT_S_matrix_elt(TP, curr_J, Ka, b, &kr, &ki);
    const double phi = std::arg(Complex(kr, ki) / Complex(re, im)) / (2.0 * std::numbers::pi);
    rat Q;
    TensorRatCharge(TP, TensorField(TP, curr_K), TensorField(TP, b), &Q);
    return mod(DoubleToInt((phi - static_cast<double>(Q.num) / Q.den) * 4.0), 4);
}
