// S and T of the extended product with its fixed points resolved. An element of S sums, over the
// untwisted stabilizer two fields share, the product of the factors' S, where a stabilizer element
// acts on a factor the S of that factor's fixed-point theory with its shift, weighted by the
// characters of the fields' fixed-point labels. Denominator factors enter complex conjugated.
#include "tensor/Coset.h"

#include "base/Error.h"
#include "base/Output.h"
#include "numeric/VectorUtility.h"
#include "store/Storemanager.h"
#include "tensor/CosetInternal.h"

#include <cmath>
#include <complex>
#include <numbers>
#include <vector>

using namespace coset_internal;

namespace {

// The common untwisted stabilizer W, reused between calls.
std::vector<int> Sc;

Complex factorS(SpectrumData* sd, int sign, int a, int b) {
    double re = 0.0, im = 0.0;
    SM_getS(sd, a, b, &re, &im);
    return {re, sign * im};
}

} // namespace

namespace coset_internal {

Complex shiftPhase(int sigma) {
    constexpr double h = std::numbers::sqrt2 / 2.0;
    static const Complex phases[8] = {{1, 0},  {h, -h}, {0, -1}, {-h, -h},
                                      {-1, 0}, {-h, h}, {0, 1},  {h, h}};
    return phases[mod(sigma, 8)];
}

Complex characterPhase(const rat& D) {
    if ((4 * D.num) % D.den == 0) {
        static const Complex quarters[4] = {{1, 0}, {0, 1}, {-1, 0}, {0, -1}};
        return quarters[mod(4 * D.num / D.den, 4)];
    }
    const double x = 2.0 * std::numbers::pi * D.num / D.den;
    return {std::cos(x), std::sin(x)};
}

void commonElements(const int* a, int na, const int* b, int nb, std::vector<int>& out) {
    out.clear();
    for (int x = 0; x < na; x++)
        if (Present(b, nb, a[x]) >= 0)
            out.push_back(a[x]);
}

double resolutionNorm(TensorProduct* TP, const FPType* Ta, const FPType* Tb) {
    return static_cast<double>(rowCount(TP->ChiralAlgebra)) /
           (static_cast<double>(Ta->dg->Order) * Ta->mult * Tb->dg->Order * Tb->mult);
}

bool stabilizerTerm(TensorProduct* TP, const int* J, const int* a, const int* b, Complex* X,
                    const TermAlerts& alerts) {
    Complex x = 1.0;
    int sigma = 0;
    for (int k = 0; k < TP->NTensor; k++) {
        SpectrumData* sd = factor(TP, k);
        const int s = signOf(TP, k);
        const int l = J[k] == 0 ? 0 : SM_getFCFTlbl(sd, J[k]);
        if (l == 0) {
            x *= factorS(sd, s, a[k], b[k]);
            continue;
        }
        if (l < 0) {
            Alert(alerts.routine, 0, 212404, "Field not fixed by its stabilizer");
            return false;
        }
        const int* labels = SM_getFCFTlabels(sd) + static_cast<std::size_t>(l - 1) * sd->Nprimaries;
        const int fa = labels[a[k]], fb = labels[b[k]];
        if (fa < 0 || fb < 0) {
            if (alerts.outside == TermAlerts::WithValues)
                Alert(alerts.routine, 1, 212404,
                      "out-of-range fixed point label: %d %d (l=%d,lbl=%d,posi=%d,posj=%d)", fa, fb,
                      k, l, a[k], b[k]);
            else if (alerts.outside == TermAlerts::Plain)
                Alert(alerts.routine, 1, 212404, "out-of-range fixed point label");
            *X = 0.0;
            return true;
        }
        x *= factorS(sd->FixedPointCFT[l - 1], s, fa, fb);
        sigma += s * sd->FCFTshifts[l - 1];
    }
    *X = x * shiftPhase(sigma);
    return true;
}

} // namespace coset_internal

namespace {

using FactorMatrix = void (*)(SpectrumData* sd, int i, int j, double* re, double* im);

// A diagonal matrix of the product: the factors' diagonal elements, conjugated for H.
void diagonalElement(TensorProduct* TP, int lbli, int lblj, FactorMatrix element, double* re,
                     double* im) {
    *re = *im = 0.0;
    if (lbli != lblj)
        return;
    const int* a = TensorField(TP, lbli);
    Complex t = 1.0;
    for (int k = 0; k < TP->NTensor; k++) {
        double r = 0.0, i = 0.0;
        element(factor(TP, k), a[k], a[k], &r, &i);
        t *= Complex(r, signOf(TP, k) * i);
    }
    *re = t.real();
    *im = t.imag();
}

} // namespace

void getCosetS(TensorProduct* TP, int lbli, int lblj, double* RealS, double* ImS) {
    *RealS = *ImS = 0.0;
    FPType* Ta = TP->Stabilizers[lbli];
    FPType* Tb = TP->Stabilizers[lblj];
    commonElements(Ta->unt_stab, Ta->dg->Order, Tb->unt_stab, Tb->dg->Order, Sc);
    if (Sc.empty())
        return;
    const int N = TP->NTensor;
    const int* a = TensorField(TP, lbli);
    const int* b = TensorField(TP, lblj);
    const double norm = resolutionNorm(TP, Ta, Tb);
    Complex sum = 0.0;
    for (std::size_t w = 0; w < Sc.size(); w++) {
        const int J = Sc[w];
        Complex X;
        if (!stabilizerTerm(TP, rowOf(TP->ChiralAlgebra, J), a, b, &X, {"getCosetS"}))
            return;
        rat chiA, chiB, d;
        Character(Ta, J, a[N], &chiA);
        Character(Tb, J, b[N], &chiB);
        subtractRat(&chiA, &chiB, &d);
        const Complex term = norm * X * characterPhase(d);
        if (traceResolution() == 1)
            Print("J=%d:  (%10.6f,%10.6f)\n", static_cast<int>(w), term.real(), term.imag());
        sum += term;
    }
    *RealS = sum.real();
    *ImS = sum.imag();
}

void getCosetT(TensorProduct* TP, int lbli, int lblj, double* RealT, double* ImT) {
    diagonalElement(TP, lbli, lblj, SM_getT, RealT, ImT);
}

void getCosetrootT(TensorProduct* TP, int lbli, int lblj, double* RealT, double* ImT) {
    diagonalElement(TP, lbli, lblj, SM_getrootT, RealT, ImT);
}

double getCosetLogT(TensorProduct* TP, int lbli) {
    const int* a = TensorField(TP, lbli);
    double t = 0.0;
    for (int k = 0; k < TP->NTensor; k++)
        t += signOf(TP, k) * SM_getLogT(factor(TP, k), a[k]);
    return t;
}
