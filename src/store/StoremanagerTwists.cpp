// Fixed-point resolution matrices S^J, twists and eta phases of a block. Affine blocks know
// twists and eta in closed form from their shifts and the weights of the fixed-point theory;
// the other kinds have only S^J to go by and read the phases off it.
#include "store/Storemanager.h"

#include "base/Error.h"
#include "store/StoremanagerInternal.h"

#include <cmath>
#include <numbers>

using store_internal::fcftLabelRow;
using store_internal::fixedCurrentPosition;
using store_internal::reduceCurrent;

namespace {

constexpr int Inconsistent = 212404;
constexpr double Pi = std::numbers::pi;
// Parts below this are rounding noise of the shift phase.
constexpr double SmallPart = 1e-10;

rat ClosedEta{0, 1};
rat NumericEta{0, 1};

bool validField(const SpectrumData* sd, int field) {
    return field >= 0 && field < sd->Nprimaries;
}

// The entry of a field in a label row, -1 for a field that is not one of the block's.
int labelOf(const SpectrumData* sd, int position, int field) {
    return validField(sd, field) ? fcftLabelRow(sd, position)[field] : -1;
}

double weightOf(const SpectrumData* sd, int field) {
    return static_cast<double>(sd->Weight_num[field]) / sd->Weight_denom;
}

// (re, im) times exp(-i pi shift / 4), cleaned of the noise of the phase so that a vanishing
// part prints as a plain zero.
void applyShift(int shift, double* re, double* im) {
    const double x = -Pi * shift / 4.0;
    const double c = std::cos(x), s = std::sin(x);
    const double r = *re * c - *im * s;
    const double i = *im * c + *re * s;
    *re = std::fabs(r) < SmallPart ? 0.0 : r;
    *im = std::fabs(i) < SmallPart ? 0.0 : i;
}

// S^J between label la of the fixed-point theory F and its field m.
void resolutionElement(SpectrumData* F, int shift, int la, int m, double* re, double* im) {
    SM_getS(F, la, m, re, im);
    applyShift(shift, re, im);
}

// The first field m of F with S^J(la, m) not zero, or -1.
int firstNonZero(SpectrumData* F, int shift, int la, double* re, double* im) {
    for (int m = 0; m < F->Nprimaries; m++) {
        resolutionElement(F, shift, la, m, re, im);
        if (!CZeroCheck(*re, *im))
            return m;
    }
    return -1;
}

int modFour(double quarters) {
    return mod(DoubleToInt(quarters), 4);
}

void setEta(rat* eta, int num, int den) {
    torat2(num, den, eta);
    simplifyRat(eta);
}

// The numeric rules: the position of J among the fixed-point currents, or -1 after a report.
int numericPosition(SpectrumData* sd, int J) {
    const int reduced = reduceCurrent(sd, J);
    const int n = sd->FCFTnumber > 0 && reduced != 0 ? fixedCurrentPosition(sd, reduced) : -1;
    if (n < 0) {
        Alert("SM_getGenericTwist", 1, Inconsistent, "Current %d has no fixed points", J);
        return -1;
    }
    if (!sd->FixedPointCFT[n]) {
        Alert("SM_getGenericTwist", 1, Inconsistent,
              "Unexpected non-fixed-point current %d, or fcft not initialized", J);
        return -1;
    }
    return n;
}

} // namespace

// ---------------------------------------------------------------------------------------------
// Matrices

int SM_getOLA_Smatrix(SpectrumData* sd, int current, int lbl1, int lbl2, double* RealS,
                      double* ImS) {
    SM_zeroResult(RealS, ImS);
    if (sd->FCFTnumber <= 0 && current != 0)
        return 0;
    if (!validField(sd, lbl1) || !validField(sd, lbl2))
        return 0;
    const int n = SM_getFCFTlbl(sd, current);
    if (n < 0)
        return 0;
    if (n == 0) {
        SM_getS(sd, lbl1, lbl2, RealS, ImS);
        return 1;
    }
    const int a = labelOf(sd, n - 1, lbl1);
    const int b = labelOf(sd, n - 1, lbl2);
    if (a < 0 || b < 0)
        return 0;
    SM_getS(sd->FixedPointCFT[n - 1], a, b, RealS, ImS);
    return 1;
}

int SM_getFCFT_Smatrix(SpectrumData* sd, int current, int lbl1, int lbl2, double* RealS,
                       double* ImS) {
    if (!SM_getOLA_Smatrix(sd, current, lbl1, lbl2, RealS, ImS))
        return 0;
    const int n = SM_getFCFTlbl(sd, current);
    applyShift(n > 0 ? sd->FCFTshifts[n - 1] : 0, RealS, ImS);
    return 1;
}

// ---------------------------------------------------------------------------------------------
// Twists

double SM_getTwist(SpectrumData* sd, int curr_K, int Lbl_J) {
    if (curr_K == 0 || Lbl_J == 0)
        return 0.0;
    const int f0 = SM_getFixedPoint(sd, Lbl_J, 0);
    if (f0 < 0)
        return 0.0;
    const int x = SM_SimpleAction(sd, curr_K, f0);
    const int l = labelOf(sd, Lbl_J - 1, x);
    if (l < 0) {
        Alert("SM_getTwist", 0, Inconsistent, "Field %d not fixed by current", x);
        return 0.0;
    }
    const SpectrumData* F = sd->FixedPointCFT[Lbl_J - 1];
    return weightOf(F, 0) + weightOf(sd, curr_K) - weightOf(F, l);
}

int SM_getCurrentTwist(SpectrumData* sd, int a, int curr_K, int curr_J) {
    SM_initFCFTData(sd);
    if (sd->FCFTnumber <= 0 && curr_J != 0)
        return 0;
    const int j = SM_getFCFTlbl(sd, curr_J);
    if (j <= 0)
        return 0;
    if (sd->type > 5)
        return SM_getGenericTwist(sd, a, curr_K, curr_J);
    return modFour(4.0 * SM_getTwist(sd, curr_K, j));
}

int SM_getGenericTwist(SpectrumData* sd, int a, int curr_K, int curr_J) {
    const int n = numericPosition(sd, curr_J);
    if (n < 0)
        return -1;
    SpectrumData* F = sd->FixedPointCFT[n];
    const int shift = sd->FCFTshifts[n];
    const int x = SM_SimpleAction(sd, curr_K, a);
    const int la = labelOf(sd, n, a);
    const int lx = labelOf(sd, n, x);
    if (la < 0 || lx < 0) {
        Alert("SM_getGenericTwist", 0, Inconsistent,
              "Unexpected non-fixed-point field (current %d, field %d)", n + 1, a);
        return -1;
    }
    double ar = 0.0, ai = 0.0, xr = 0.0, xi = 0.0;
    const int m = firstNonZero(F, shift, la, &ar, &ai);
    if (m < 0) {
        Alert("SM_getGenericTwist", 1, Inconsistent, "Entire row of S^J vanishes");
        return -1;
    }
    const int b = SM_getFixedPoint(sd, n + 1, m);
    if (b < 0)
        return -1;
    resolutionElement(F, shift, lx, m, &xr, &xi);
    double qr = 0.0, qi = 0.0;
    complexRatio(xr, xi, ar, ai, &qr, &qi);
    const double phase = getPhase(qr, qi) / (2.0 * Pi);
    rat Q;
    SM_getRatCharge(sd, curr_K, b, &Q);
    return modFour(4.0 * (phase - static_cast<double>(Q.num) / Q.den));
}

// ---------------------------------------------------------------------------------------------
// Eta phases

rat* SM_getEta(SpectrumData* sd, int a, int curr_J) {
    setEta(&ClosedEta, 0, 1);
    SM_initFCFTData(sd);
    if (sd->FCFTnumber <= 0 && curr_J != 0)
        return &ClosedEta;
    const int n = SM_getFCFTlbl(sd, curr_J);
    if (n <= 0)
        return &ClosedEta;
    if (sd->type == 6 || sd->type == 9 || sd->type == 10)
        return SM_getGenericEta(sd, a, n);
    // exp(2 pi i eta) = exp(-i pi shift / 2), the square of the shift phase.
    setEta(&ClosedEta, mod(-sd->FCFTshifts[n - 1], 4), 4);
    return &ClosedEta;
}

rat* SM_getGenericEta(SpectrumData* sd, int a, int FCFTlbl) {
    setEta(&NumericEta, 0, 1);
    SM_initFCFTData(sd);
    if (FCFTlbl < 1 || FCFTlbl > sd->FCFTnumber || !sd->FixedPointCFT[FCFTlbl - 1])
        return &NumericEta;
    const int n = FCFTlbl - 1;
    SpectrumData* F = sd->FixedPointCFT[n];
    const int shift = sd->FCFTshifts[n];
    const int la = labelOf(sd, n, a);
    if (la < 0) {
        Alert("SM_getGenericEta", 0, Inconsistent, "Field %d not fixed by current", a);
        return &NumericEta;
    }
    const int c = SM_getConjugate(sd, a);
    const int lc = labelOf(sd, n, c);
    if (lc < 0) {
        Alert("SM_getGenericEta", 1, Inconsistent, "Field %d not fixed by current", c);
        return &NumericEta;
    }
    double ar = 0.0, ai = 0.0, cr = 0.0, ci = 0.0;
    const int m = firstNonZero(F, shift, la, &ar, &ai);
    if (m < 0) {
        Alert("SM_getGenericEta", 2, Inconsistent, "Row %d of FCFT S matrix vanishes", la);
        return &NumericEta;
    }
    resolutionElement(F, shift, lc, m, &cr, &ci);
    double rr = 0.0, ri = 0.0;
    complexRatio(ar, ai, cr, -ci, &rr, &ri);
    copyRat(&NumericEta, doubleToRat(getPhase(rr, ri) * 0.5 / Pi));
    RatToFrac(&NumericEta);
    return &NumericEta;
}
