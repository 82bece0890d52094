// Fusion coefficients of the current theory from S by the Verlinde formula, with the
// simple-current selection rule and the sum over orbit starts when the orbit table is valid.
// While the full S is held the sums read the dense copy of S instead of asking for elements.
#include "base/Allocation.h"
#include "base/Error.h"
#include "base/Terminal.h"
#include "modular/Modular.h"
#include "modular/ModularInternal.h"
#include "numeric/LargeInteger.h"
#include "store/Storemanager.h"

#include <climits>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <vector>

using namespace modular_internal;

namespace {

AllocCount FusionAlloc = ALLOC_COUNTER("Fusion");

constexpr int FusionFailed = -9998;
constexpr int FusionStopped = -9999;

// ---- getRijk's prepared pair ----
GuardedArray<double> RealRow("RealRow", &FusionAlloc); // Size real parts, then Size imaginary
int Size = 0;
MODMAT AUX1 = nullptr;
MODMAT AUX2 = nullptr;
int preparedI = 0, preparedJ = 0, preparedVacuum = 0;
bool preparedOnOrbits = false;

// ---- Columns of AUX2 for every field k, [k * Size + m], read by getRijk ----
std::vector<double> columnRe, columnIm;
int ColumnStamp = -1;
bool columnsOnOrbits = false;

bool useOrbitShortCut(int vacuum) {
    return vacuum == 0 && orbitDataValid();
}

void conjugateIf(bool negative, double* im) {
    if (negative)
        *im = -*im;
}

// The unrounded generic sum of GenericVerlinde.
void verlindeSum(int i, int j, int k, int range, MODMAT X, MODMAT Y, MODMAT Z, MODMAT S, double* re,
                 double* im) {
    double sumRe = 0.0, sumIm = 0.0;
    for (int m = 0; m < range; m++) {
        double xr, xi, yr, yi, zr, zi, sr, si;
        X(m, std::abs(i), &xr, &xi);
        Y(m, std::abs(j), &yr, &yi);
        Z(m, std::abs(k), &zr, &zi);
        S(m, 0, &sr, &si);
        if (m > 0) {
            conjugateIf(i < 0, &xi);
            conjugateIf(j < 0, &yi);
            conjugateIf(k < 0, &zi);
        }
        const double pr = xr * yr - xi * yi, pi = xr * yi + xi * yr;
        sumRe += (pr * zr - pi * zi) / sr;
        sumIm += (pr * zi + pi * zr) / sr;
    }
    *re = sumRe;
    *im = sumIm;
}

// False when some basis current J has Q_J(i) + Q_J(j) != Q_J(k).
bool passesSelectionRule(int i, int j, int k) {
    int* map = nullptr;
    Discrete_Group* dg = getCenter(&map);
    const int order = groupOrder();
    const int* qi = getOrbitInfo(i)->charge;
    const int* qj = getOrbitInfo(j)->charge;
    const int* qk = getOrbitInfo(k)->charge;
    for (int f = 0; f < dg->Mult; f++) {
        const int J = map[DG_basis(dg, f)];
        if ((qi[J] + qj[J] - qk[J]) % order != 0)
            return false;
    }
    return true;
}

// S between every orbit start and every field, stored per field over the orbits, and the orbit
// weights length / Re S(start, 0): each orbit sum of fusion reads three contiguous runs.
struct OrbitColumns {
    std::vector<double> re, im, weight;
    int stamp = -1;
};
OrbitColumns orbitColumns;

const OrbitColumns& orbitColumnsOf(const double* Sr, const double* Si) {
    OrbitColumns& c = orbitColumns;
    if (c.stamp == QueryCFT())
        return c;
    const int n = getNOrbit(), N = totalPrimaries();
    c.re.resize(static_cast<std::size_t>(N) * n);
    c.im.resize(c.re.size());
    c.weight.resize(n);
    for (int o = 0; o < n; o++) {
        const int start = orbitMap()[o];
        c.weight[o] = getOrbitInfo(start)->length / Sr[start * N];
        for (int x = 0; x < N; x++) {
            c.re[x * n + o] = Sr[start * N + x];
            c.im[x * n + o] = Si[start * N + x];
        }
    }
    c.stamp = QueryCFT();
    return c;
}

// sum over orbit starts r of length(r) S(r,i) S(r,j) conj S(r,k) / S(r,0).
double orbitFusionValue(int i, int j, int k) {
    const double* Sr = denseSRe();
    const double* Si = denseSIm();
    if (!Sr) {
        double re, im;
        verlindeSum(i, j, -k, getNOrbit(), S_aux1, S_aux1, S_aux2, S_aux1, &re, &im);
        return re;
    }
    const OrbitColumns& c = orbitColumnsOf(Sr, Si);
    const int n = getNOrbit();
    const double *ar = &c.re[i * n], *ai = &c.im[i * n];
    const double *br = &c.re[j * n], *bi = &c.im[j * n];
    const double *cr = &c.re[k * n], *ci = &c.im[k * n];
    const double* w = c.weight.data();
    double sum = 0.0;
    for (int o = 0; o < n; o++) {
        const double pr = ar[o] * br[o] - ai[o] * bi[o], pi = ar[o] * bi[o] + ai[o] * br[o];
        sum += w[o] * (pr * cr[o] + pi * ci[o]);
    }
    return sum;
}

// sum over all fields m of Re(S(i,m) S(j,m) conj S(k,m) / S(vacuum,m)).
double directFusionValue(int i, int j, int k, int vacuum) {
    const int N = totalPrimaries();
    double sum = 0.0;
    for (int m = 0; m < N; m++) {
        double ar, ai, br, bi, cr, ci, vr, vi;
        compS(i, m, &ar, &ai);
        compS(j, m, &br, &bi);
        compS(k, m, &cr, &ci);
        compS(vacuum, m, &vr, &vi);
        const double pr = ar * br - ai * bi, pi = ar * bi + ai * br;
        const double qr = pr * cr + pi * ci, qi = pi * cr - pr * ci;
        if (vacuum == 0) {
            sum += qr / vr;
        } else {
            const double d = vr * vr + vi * vi;
            sum += (qr * vr + qi * vi) / d;
        }
    }
    return sum;
}

int roundFusion(int i, int j, int k, double value) {
    const int n = DoubleToInt(value);
    const double d = std::fabs(value - n);
    if (d <= 1e-7)
        return n;
    if (d <= 0.01) {
        Alert("fusion", 0, 100201, "Fusion rule inaccuracy for fields %d, %d and %d\nvalue %15.7f",
              i, j, k, value);
        return n;
    }
    Alert("fusion", 1, 212302, "Fusion rule failure for fields %d, %d and %d\nvalue %15.7f", i, j,
          k, value);
    return FusionFailed;
}

// The AUX2 values of every field as columns, so that each coefficient of a prepared pair is one
// contiguous dot product.
void prepareColumns(bool onOrbits) {
    if (ColumnStamp == QueryCFT() && columnsOnOrbits == onOrbits &&
        static_cast<int>(columnRe.size()) == totalPrimaries() * Size)
        return;
    const int N = totalPrimaries();
    columnRe.resize(static_cast<std::size_t>(N) * Size);
    columnIm.resize(columnRe.size());
    for (int k = 0; k < N; k++)
        for (int m = 0; m < Size; m++)
            AUX2(m, k, &columnRe[k * Size + m], &columnIm[k * Size + m]);
    ColumnStamp = QueryCFT();
    columnsOnOrbits = onOrbits;
}

} // namespace

int GenericVerlinde(int i, int j, int k, int range, MODMAT X, MODMAT Y, MODMAT Z, MODMAT S) {
    initSMATRIX();
    if (stopSignal == 1)
        return INT_MAX;
    double re, im;
    verlindeSum(i, j, k, range, X, Y, Z, S, &re, &im);
    const int rounded = static_cast<int>(std::lround(re));
    if (std::fabs(re - rounded) > 1e-7)
        Alert("GenericVerlinde", 0, 212302,
              "Generic fusion rule failure for fields %d, %d and %d\nvalue %15.7f (converted to "
              "%d)",
              i, j, k, re, rounded);
    if (std::fabs(im) >= 1e-7)
        Alert("GenericVerlinde", 1, 212302,
              "Non-zero imaginary part in generic fusion coefficient\nfor fields %d, %d and %d; "
              "value %15.7f",
              i, j, k, im);
    return rounded;
}

int fusion(int i, int j, int k, int vacuum) {
    initSMATRIX();
    if (stopSignal == 1)
        return FusionStopped;
    // The orbit sum takes the same rounding rule as the direct one, so that neither a failed nor
    // a stopped sum is ever handed on as a coefficient.
    if (useOrbitShortCut(vacuum)) {
        if (!passesSelectionRule(i, j, k))
            return 0;
        return roundFusion(i, j, k, orbitFusionValue(i, j, k));
    }
    return roundFusion(i, j, k, directFusionValue(i, j, k, vacuum));
}

double getRijk(int k, int i, int j, int vacuum) {
    if (k == -1) {
        preparedOnOrbits = useOrbitShortCut(vacuum);
        AUX1 = preparedOnOrbits ? S_aux1 : compS;
        AUX2 = preparedOnOrbits ? S_aux2 : compS;
        Size = preparedOnOrbits ? getNOrbit() : totalPrimaries();
        preparedI = i, preparedJ = j, preparedVacuum = vacuum;
        double* row = RealRow.reserve(2 * Size);
        double* imRow = row + Size;
        for (int m = 0; m < Size; m++) {
            double ar, ai, br, bi, cr, ci;
            AUX1(m, i, &ar, &ai);
            AUX1(m, j, &br, &bi);
            AUX1(m, vacuum, &cr, &ci);
            const double pr = ar * br - ai * bi, pi = ar * bi + ai * br;
            if (ci == 0.0) {
                row[m] = pr / cr;
                imRow[m] = pi / cr;
            } else {
                const double d = cr * cr + ci * ci;
                row[m] = (pr * cr + pi * ci) / d;
                imRow[m] = (pi * cr - pr * ci) / d;
            }
        }
        if (denseSRe())
            prepareColumns(preparedOnOrbits);
        return 0.0;
    }
    if (preparedOnOrbits && !passesSelectionRule(preparedI, preparedJ, k))
        return 0.0;
    const double* row = RealRow.X;
    const double* imRow = row + Size;
    double sum = 0.0;
    if (denseSRe() && ColumnStamp == QueryCFT() && columnsOnOrbits == preparedOnOrbits) {
        const double* cr = &columnRe[static_cast<std::size_t>(k) * Size];
        const double* ci = &columnIm[static_cast<std::size_t>(k) * Size];
        for (int m = 0; m < Size; m++)
            sum += row[m] * cr[m] + imRow[m] * ci[m];
        return sum;
    }
    for (int m = 0; m < Size; m++) {
        double cr, ci;
        AUX2(m, k, &cr, &ci);
        sum += row[m] * cr + imRow[m] * ci;
    }
    return sum;
}

namespace {

// One term of a fusion product; first tells whether it opens the sum.
char* writeTerm(char* txt, int n, int k, bool first) {
    const int a = std::abs(n);
    if (a == 1) {
        if (first)
            return txt + std::sprintf(txt, n > 0 ? " (%d) " : " - (%d) ", k);
        return txt + std::sprintf(txt, n > 0 ? " + (%d) " : " - (%d) ", k);
    }
    if (first)
        return txt + std::sprintf(txt, " %d x (%d) ", n, k);
    return txt + std::sprintf(txt, n > 0 ? " + %d x (%d) " : " - %d x (%d) ", a, k);
}

} // namespace

namespace {

// dim(i) dim(j) - sum_k N_ij^k dim(k) of the Lie algebra dimensions, while "Fusion sumcheck" is
// on and the current theory is an affine block.
class DimensionSum {
public:
    DimensionSum(int i, int j) {
        SpectrumData* sd = currentBlock();
        if (fusionSumcheck() != 1 || !sd || sd->type < 1 || sd->type > 5)
            return;
        SM_loadDimensions(sd);
        sd_ = sd;
        sum_.reset(lint_alloc(5));
        lint_copy(sum_.get(), dim(i));
        lint_multiply(sum_.get(), dim(j));
    }
    void subtract(int n, int k) {
        if (!sd_)
            return;
        LintPtr term(lint_alloc(5));
        lint_copy(term.get(), dim(k));
        lint_intprod(term.get(), n);
        lint_subtract(sum_.get(), term.get());
    }
    char* report(char* txt) {
        if (!sd_)
            return txt;
        regform(sum_.get());
        return txt +
               std::sprintf(txt, "Dimension sum rule deficit: %s\n\n", lint_string(sum_.get()));
    }

private:
    const lint* dim(int lbl) const { return sd_->Indices[lbl * (sd_->rank + 1)]; }
    SpectrumData* sd_ = nullptr;
    LintPtr sum_;
};

} // namespace

char* compF(char* txt, int i, int j, int vacuum) {
    DimensionSum dimensionSum(i, j);
    initSMATRIX();
    if (stopSignal == 1)
        return txt;
    char* lineStart = txt;
    txt += std::sprintf(txt, "(%d) x (%d) = ", i, j);
    getRijk(-1, i, j, vacuum);
    bool first = true;
    const int N = totalPrimaries();
    for (int k = 0; k < N; k++) {
        const double value = getRijk(k, i, j, vacuum);
        const int n = DoubleToInt(value);
        if (std::fabs(value - n) > 1e-7)
            Alert("compF", 0, 212302,
                  "Fusion rule failure for fields %d, %d and %d\nvalue %15.7f (converted to %d)", i,
                  j, k, value, n);
        if (n < 0)
            Alert("compF", 1, 212302, "Negative fusion coefficient\nN(%d,%d,%d)=%22.15f\n", i, j, k,
                  value);
        if (n == 0)
            continue;
        dimensionSum.subtract(std::abs(n), k);
        txt = writeTerm(txt, n, k, first);
        first = false;
        if (txt - lineStart > 60) {
            lineStart = txt;
            txt += std::sprintf(txt, "\n%14s", "");
        }
    }
    if (txt - lineStart > 15)
        txt += std::sprintf(txt, "\n");
    txt += std::sprintf(txt, "\n");
    return dimensionSum.report(txt);
}

int Unitarity_check(char*, int lbli, int lblj, double* Real, double* Im) {
    initSMATRIX();
    if (stopSignal == 1)
        return 1;
    const int N = totalPrimaries();
    double re = lbli == lblj ? -1.0 : 0.0, im = 0.0;
    for (int k = 0; k < N; k++) {
        double ar, ai, br, bi;
        compS(lbli, k, &ar, &ai);
        compS(lblj, k, &br, &bi);
        re += ar * br + ai * bi;
        im += ai * br - ar * bi;
    }
    *Real = re;
    *Im = im;
    return re * re + im * im < 1e-10 ? 1 : 0;
}
