// S, T and P of a block, the conjugation rules that need S, the modular traces and the Gauss
// sum. S elements of affine blocks cost a determinant sum each, while all elements between two
// simple-current orbits follow from the element between the orbit generators and a monodromy
// phase; so each block caches S on orbits and rebuilds every other element from it.
#include "store/Storemanager.h"

#include "base/Error.h"
#include "lie/Smatrix.h"
#include "lie/Tarvik.h"
#include "numeric/Sorting.h"
#include "store/StoremanagerInternal.h"

#include <algorithm>
#include <cmath>
#include <cstddef>
#include <numbers>

using store_internal::allocateFor;
using store_internal::decomp;
using store_internal::groupOrder;
using store_internal::mult;

namespace {

AllocCount ModularWork = ALLOC_COUNTER("Storemanager modular");
// One S row: real parts, then imaginary parts.
GuardedArray<double> conjugateRow("Srow", &ModularWork);
GuardedArray<double> fcftRow("Srow", &ModularWork);
GuardedArray<int> gaussWork("work", &ModularWork);

constexpr double TwoPi = 2.0 * std::numbers::pi;
// Parts below this are rounding noise of the phases and determinants.
constexpr double SmallPart = 1e-10;
// Above this many doubles the user is asked before the orbit cache is made.
constexpr std::size_t SBaseQuestionSize = 100000000;
constexpr double NotComputed = -2.0;

// S of the tensor product a theory is being made from; installed by the tensor products.
CosetSHook cosetS = nullptr;

void zeroSmallParts(double* re, double* im) {
    if (std::fabs(*re) < SmallPart)
        *re = 0.0;
    if (std::fabs(*im) < SmallPart)
        *im = 0.0;
}

void multiplyPhase(double x, double* re, double* im) {
    const double c = std::cos(TwoPi * x), s = std::sin(TwoPi * x);
    const double r = *re * c - *im * s;
    *im = *re * s + *im * c;
    *re = r;
}

// ---- The orbit cache ----

// Entries of one part (real or imaginary) of the cache.
std::size_t cacheEntries(const SpectrumData* sd) {
    const auto n = static_cast<std::size_t>(std::max(sd->Norbits, 0));
    return sd->S_Symmetry == 1 ? n * (n + 1) / 2 : n * n;
}

// The symmetric cache keeps the lower triangle, row by row.
std::size_t cacheRow(const SpectrumData* sd, int a, int b) {
    return static_cast<std::size_t>(sd->S_Symmetry == 1 ? std::max(a, b) : a);
}

std::size_t rowStart(const SpectrumData* sd, std::size_t row) {
    return sd->S_Symmetry == 1 ? row * (row + 1) / 2 : row * static_cast<std::size_t>(sd->Norbits);
}

std::size_t rowLength(const SpectrumData* sd, std::size_t row) {
    return sd->S_Symmetry == 1 ? row + 1 : static_cast<std::size_t>(sd->Norbits);
}

std::size_t cacheIndex(const SpectrumData* sd, int a, int b) {
    return rowStart(sd, cacheRow(sd, a, b)) +
           static_cast<std::size_t>(sd->S_Symmetry == 1 ? std::min(a, b) : b);
}

void markRowNotComputed(SpectrumData* sd, std::size_t row) {
    const std::size_t start = rowStart(sd, row), length = rowLength(sd, row);
    std::fill_n(sd->SBase + start, length, NotComputed);
    if (sd->Complexity == 1)
        std::fill_n(sd->SBase + cacheEntries(sd) + start, length, NotComputed);
    sd->SBaseRows[row] = 1;
}

// The entry of (a, b), its row marked first if no element of it was asked yet.
std::size_t readyEntry(SpectrumData* sd, int a, int b) {
    const std::size_t row = cacheRow(sd, a, b);
    if (!sd->SBaseRows[row])
        markRowNotComputed(sd, row);
    return cacheIndex(sd, a, b);
}

// False when the user refused a cache above the question size. A row is marked not computed
// when one of its elements is first asked, and again here only if it was, so that making the
// cache costs its number of rows rather than its square: a theory of many orbits asks few of
// them.
bool makeOrbitCache(SpectrumData* sd) {
    const std::size_t doubles = cacheEntries(sd) * (1 + (sd->Complexity == 1 ? 1 : 0));
    const auto rows = static_cast<std::size_t>(std::max(sd->Norbits, 0));
    if (!sd->SBase) {
        if (doubles > SBaseQuestionSize &&
            Alert("SM_allocSBase", 0, 123209, "Trying to allocate %d MB for orbit S-matrix",
                  static_cast<int>(doubles * sizeof(double) / 1000000)) == -1)
            return false;
        sd->SBase = allocateFor<double>(sd, doubles, "S matrix on orbits");
        sd->SBaseRows = allocateFor<unsigned char>(sd, rows, "S matrix on orbits");
        std::fill_n(sd->SBaseRows, rows, static_cast<unsigned char>(0));
        return true;
    }
    for (std::size_t row = 0; row < rows; row++)
        if (sd->SBaseRows[row])
            markRowNotComputed(sd, row);
    return true;
}

// ---- Direct elements by kind ----

void notBuiltIn(SpectrumData* sd, double* re, double* im) {
    Alert("SM_computeSDirect", 0, 112311, "Matrix S for algebra %s is not available",
          sd->AlgebraName);
    SM_zeroResult(re, im);
}

// The charge numerator of field f with respect to the k-th basic current.
int chargeOf(const SpectrumData* sd, int f, int k) {
    return sd->Charges[static_cast<std::size_t>(f) * mult(sd) + k];
}

// The monodromy phase (in turns) that carries S between the generators to S between the fields.
double monodromyPhase(const SpectrumData* sd, int i, int j) {
    const int Ji = sd->OrbitPosition[i], Jj = sd->OrbitPosition[j];
    const int* di = decomp(sd, Ji);
    const int* dj = decomp(sd, Jj);
    double x = 0.0;
    for (int k = 0; k < mult(sd); k++) {
        const int bracket =
            (chargeOf(sd, i, k) - chargeOf(sd, Ji, k)) * dj[k] + di[k] * chargeOf(sd, j, k);
        x += static_cast<double>(bracket) / sd->SimpleCurrents->Orders[k];
    }
    return x;
}

// S of these kinds comes from the construction they were made by. A theory made from a tensor
// product has its S on orbits from its making, and reaches the product only while it is made.
// Asking without the product reports that each time instead of caching a zero that later
// requests would take for the element. Permutation orbifolds and their fixed-point theories
// compute S from their base.
bool withoutSource(const SpectrumData* sd) {
    if (sd->permutation_order >= 2 || (sd->type == 10 && sd->FCFT_type == 1))
        return false;
    const int t = sd->type < 0 ? sd->type + 100 : sd->type;
    if (t == 9 || t == 10)
        return !sd->SBase && !sd->TensorProduct;
    return false;
}

// From the linked product; false when the link is gone.
bool fromProduct(SpectrumData* sd, int i, int j, double* re, double* im) {
    if (!sd->TensorProduct || !cosetS || !sd->CFTtoCoset)
        return false;
    cosetS(sd->TensorProduct, sd->CFTtoCoset[i], sd->CFTtoCoset[j], re, im);
    return true;
}

bool alwaysCached(const SpectrumData* sd) {
    return sd->type == 6 || sd->type == 9 || sd->type == 10;
}

// Fields of the same weight as lbl are the candidates of the conjugation searches.
bool sameWeight(const SpectrumData* sd, int lbl, int m) {
    if (sd->exactWeights == 1)
        return sd->Weight_num[lbl] == sd->Weight_num[m];
    return mod(sd->Weight_num[lbl] - sd->Weight_num[m], sd->Weight_denom) == 0;
}

// Stores S row lbl, conjugated or not, and returns it: real parts, then imaginary parts.
double* storeRow(GuardedArray<double>& row, SpectrumData* sd, int lbl, bool conjugate) {
    const int N = sd->Nprimaries;
    double* r = row.reserve(2 * N + 10);
    for (int k = 0; k < N; k++) {
        SM_getS(sd, lbl, k, &r[k], &r[N + k]);
        if (conjugate)
            r[N + k] = -r[N + k];
    }
    return r;
}

bool rowMatches(SpectrumData* sd, int m, const double* r) {
    const int N = sd->Nprimaries;
    for (int k = 0; k < N; k++) {
        double re = 0.0, im = 0.0;
        SM_getS(sd, m, k, &re, &im);
        if (std::fabs(re - r[k]) > Tolerance || std::fabs(im - r[N + k]) > Tolerance)
            return false;
    }
    return true;
}

// exp(2 pi i power (h_f - c/24)).
void powerOfT(SpectrumData* sd, int f, double power, double* re, double* im) {
    const double x = TwoPi * power * SM_getLogT(sd, f);
    *re = std::cos(x);
    *im = std::sin(x);
}

void complexMultiply(double ar, double ai, double br, double bi, double* re, double* im) {
    *re = ar * br - ai * bi;
    *im = ar * bi + ai * br;
}

// The sum over fields i and k of S_ik^2 times the weight factor the caller gives.
template <class Factor> void sumOfSquares(SpectrumData* sd, double* re, double* im, Factor factor) {
    *re = *im = 0.0;
    const int N = sd->Nprimaries;
    for (int i = 0; i < N; i++)
        for (int k = 0; k < N; k++) {
            double sr = 0.0, si = 0.0, qr = 0.0, qi = 0.0, fr = 0.0, fi = 0.0, tr = 0.0, ti = 0.0;
            SM_getS(sd, i, k, &sr, &si);
            complexMultiply(sr, si, sr, si, &qr, &qi);
            factor(i, k, &fr, &fi);
            complexMultiply(qr, qi, fr, fi, &tr, &ti);
            *re += tr;
            *im += ti;
        }
}

} // namespace

// ---------------------------------------------------------------------------------------------
// S, T and P

int SM_zeroResult(double* re, double* im) {
    *re = 0.0;
    *im = 0.0;
    return 0;
}

void SM_computeIsingS(int i, int j, double* re, double* im) {
    const double root = 1.0 / std::sqrt(2.0);
    *im = 0.0;
    if (i % 2 == 0 && j % 2 == 0)
        *re = 0.5;
    else if (i * j == 0)
        *re = root;
    else if (i * j == 2)
        *re = -root;
    else
        *re = 0.0;
}

void SM_computeSDirect(SpectrumData* sd, int i, int j, double* re, double* im) {
    SM_zeroResult(re, im);
    if (sd->permutation_order >= 2 || (sd->type == 10 && sd->FCFT_type == 1)) {
        SM_getPermutation_S(sd, i, j, re, im);
        return;
    }
    const bool conjugate = sd->type < 0;
    const int t = conjugate ? sd->type + 100 : sd->type;
    const int* ri = SM_getRep(sd, i);
    const int* rj = SM_getRep(sd, j);
    if (t == 2 && sd->rank == 0 && sd->level == 1) {
        SM_computeIsingS(ri[0], rj[0], re, im);
        return;
    }
    if ((t == 9 || (t == 10 && sd->FCFT_type == 0)) && fromProduct(sd, i, j, re, im))
        return;
    if (t == 7) {
        ComputeOrbifoldS(sd->rank, ri, rj, re, im);
    } else if (t == 9 || t == 10) {
        notBuiltIn(sd, re, im);
        return;
    } else {
        SDirect(t, sd->rank, sd->level, ri, rj, re, im);
    }
    if (conjugate)
        *im = -*im;
}

void SM_setCosetS(CosetSHook hook) {
    cosetS = hook;
}

int SM_allocSBase(SpectrumData* sd) {
    return makeOrbitCache(sd) ? 0 : -1;
}

int SM_getSBase(SpectrumData* sd, int a, int b, int gi, int gj, double* re, double* im) {
    if (!sd->SBase && !makeOrbitCache(sd)) {
        sd->StoreS = 0;
        sd->SBaseRefused = 1;
        return -1;
    }
    const std::size_t at = readyEntry(sd, a, b);
    const std::size_t imaginary = at + cacheEntries(sd);
    if (sd->SBase[at] == NotComputed) {
        SM_computeSDirect(sd, gi, gj, re, im);
        sd->SBase[at] = *re;
        if (sd->Complexity == 1)
            sd->SBase[imaginary] = *im;
        else
            *im = 0.0;
        return 0;
    }
    *re = sd->SBase[at];
    *im = sd->Complexity == 1 ? sd->SBase[imaginary] : 0.0;
    return 0;
}

void SM_putSBase(SpectrumData* sd, int a, int b, double re, double im) {
    const std::size_t at = readyEntry(sd, a, b);
    sd->SBase[at] = re;
    if (sd->Complexity == 1)
        sd->SBase[at + cacheEntries(sd)] = im;
}

void SM_getS(SpectrumData* sd, int i, int j, double* re, double* im) {
    SM_zeroResult(re, im);
    if (sd->S_available == 0) {
        Alert("SM_getS", 0, 112311, "Matrix S for algebra %s is not available", sd->AlgebraName);
        return;
    }
    if (withoutSource(sd)) {
        notBuiltIn(sd, re, im);
        return;
    }
    const bool orbits = mult(sd) != 0;
    const bool cached = !sd->SBaseRefused && (alwaysCached(sd) || sd->StoreS != 0);
    if (sd->bootcomp == 1 || !cached) {
        SM_computeSDirect(sd, i, j, re, im);
    } else {
        const int a = orbits ? sd->OrbitLabel[i] : i;
        const int b = orbits ? sd->OrbitLabel[j] : j;
        const int gi = orbits ? sd->OrbitGenerator[i] : i;
        const int gj = orbits ? sd->OrbitGenerator[j] : j;
        if (SM_getSBase(sd, a, b, gi, gj, re, im) != 0)
            SM_computeSDirect(sd, i, j, re, im);
        else if (orbits)
            multiplyPhase(monodromyPhase(sd, i, j), re, im);
    }
    // The same element must not depend on the road it took: direct elements are cleaned of
    // rounding noise exactly as rebuilt ones are.
    if (orbits)
        zeroSmallParts(re, im);
}

void SM_getT(SpectrumData* sd, int i, int j, double* re, double* im) {
    if (i != j) {
        SM_zeroResult(re, im);
        return;
    }
    powerOfT(sd, i, 1.0, re, im);
}

void SM_getrootT(SpectrumData* sd, int i, int j, double* re, double* im) {
    if (i != j) {
        SM_zeroResult(re, im);
        return;
    }
    powerOfT(sd, i, 0.5, re, im);
}

void SM_getP(SpectrumData* sd, int i, int j, double* re, double* im) {
    double sumr = 0.0, sumi = 0.0;
    for (int k = 0; k < sd->Nprimaries; k++) {
        double ar = 0.0, ai = 0.0, br = 0.0, bi = 0.0, tr = 0.0, ti = 0.0, pr = 0.0, pi = 0.0;
        SM_getS(sd, i, k, &ar, &ai);
        SM_getS(sd, k, j, &br, &bi);
        powerOfT(sd, k, 1.0, &tr, &ti);
        // T^2 as the square of the T factor.
        complexMultiply(tr, ti, tr, ti, &tr, &ti);
        complexMultiply(ar, ai, tr, ti, &pr, &pi);
        complexMultiply(pr, pi, br, bi, &pr, &pi);
        sumr += pr;
        sumi += pi;
    }
    double ri = 0.0, ii = 0.0, rj = 0.0, ij = 0.0;
    powerOfT(sd, i, 0.5, &ri, &ii);
    powerOfT(sd, j, 0.5, &rj, &ij);
    complexMultiply(ri, ii, sumr, sumi, re, im);
    complexMultiply(*re, *im, rj, ij, re, im);
}

int SM_isFixed(SpectrumData* sd, int orbit) {
    if (sd->type == 27)
        return 2 * orbit == sd->level ? 1 : 0;
    SM_makeOrbitPointers(sd);
    if (orbit < 0 || orbit >= sd->Norbits)
        return 0;
    const int g = sd->OrbitPointers[orbit];
    if (sd->type == 6 && sd->rank == 2)
        return 2 * SM_getRep(sd, g)[0] == sd->level ? 1 : 0;
    const int h = sd->OrbitGenerator[g];
    const int last = h + groupOrder(sd) - 1;
    if (!SM_fieldCheck(sd, last))
        return 1;
    return sd->OrbitGenerator[last] != h ? 1 : 0;
}

// ---------------------------------------------------------------------------------------------
// Conjugation through S

int SM_getGenericConjugate(SpectrumData* sd, int lbl) {
    const int N = sd->Nprimaries;
    const double* r = storeRow(conjugateRow, sd, lbl, true);
    bool real = true;
    for (int k = 0; k < N && real; k++)
        real = std::fabs(r[N + k]) < Tolerance;
    if (real)
        return lbl;
    for (int m = 0; m < N; m++)
        if (sameWeight(sd, lbl, m) && rowMatches(sd, m, r))
            return m;
    Alert("SM_getGenericConjugate", 0, 212404, "No conjugate found");
    return -1;
}

int SM_getFCFTConjugate(SpectrumData* sd, int lbl) {
    const int N = sd->Nprimaries;
    const double* r = storeRow(fcftRow, sd, lbl, false);
    for (int m = 0; m < N; m++) {
        if (!sameWeight(sd, lbl, m))
            continue;
        double zr = 0.0, zi = 0.0;
        for (int k = 0; k < N; k++) {
            double sr = 0.0, si = 0.0;
            SM_getS(sd, k, m, &sr, &si);
            zr += r[k] * sr - r[N + k] * si;
            zi += r[k] * si + r[N + k] * sr;
        }
        if (std::fabs(zr) + std::fabs(zi) < Tolerance)
            continue;
        const double turns = std::atan2(zi, zr) / TwoPi;
        if (std::fabs(turns - std::round(turns)) > Tolerance)
            Alert("SM_getFCFTConjugate", 0, 100208, "Non-integer conjugation phase: %7.4f", turns);
        return m;
    }
    Alert("SM_getFCFTConjugate", 1, 212404, "No conjugate found");
    return -1;
}

// ---------------------------------------------------------------------------------------------
// Modular traces

void SM_computeTraceS(SpectrumData* sd, double* re, double* im) {
    SM_zeroResult(re, im);
    if (!sd)
        return;
    for (int i = 0; i < sd->Nprimaries; i++) {
        double sr = 0.0, si = 0.0;
        SM_getS(sd, i, i, &sr, &si);
        *re += sr;
        *im += si;
    }
}

void SM_computeTraceST(SpectrumData* sd, double* re, double* im) {
    SM_zeroResult(re, im);
    if (!sd)
        return;
    for (int i = 0; i < sd->Nprimaries; i++) {
        double sr = 0.0, si = 0.0, tr = 0.0, ti = 0.0, pr = 0.0, pi = 0.0;
        SM_getS(sd, i, i, &sr, &si);
        powerOfT(sd, i, 1.0, &tr, &ti);
        complexMultiply(sr, si, tr, ti, &pr, &pi);
        *re += pr;
        *im += pi;
    }
}

void SM_computeTraceS2TN(SpectrumData* sd, double* re, double* im, int power) {
    SM_zeroResult(re, im);
    if (!sd)
        return;
    sumOfSquares(sd, re, im, [sd, power](int, int k, double* fr, double* fi) {
        powerOfT(sd, k, power, fr, fi);
    });
}

void SM_computeTraceSTQ(SpectrumData* sd, double* re, double* im) {
    SM_zeroResult(re, im);
    if (!sd)
        return;
    sumOfSquares(sd, re, im, [sd](int i, int k, double* fr, double* fi) {
        double ar = 0.0, ai = 0.0, br = 0.0, bi = 0.0;
        powerOfT(sd, i, 1.0, &ar, &ai);
        powerOfT(sd, k, 1.0, &br, &bi);
        complexMultiply(ar, ai, br, bi, fr, fi);
    });
}

void SM_getFixedPointResolutionMatrix(SpectrumData* fcft, int i, int j, double* R, double* I,
                                      int shift) {
    double sr = 0.0, si = 0.0;
    SM_getS(fcft, i, j, &sr, &si);
    const double x = -std::numbers::pi * shift / 4.0;
    complexMultiply(sr, si, std::cos(x), std::sin(x), R, I);
}

// ---------------------------------------------------------------------------------------------
// Gauss sum

double GaussianSum(SpectrumData* sd, const int* weight) {
    const int t = sd->type, r = sd->rank, k = sd->level;
    const double norm = std::sqrt(WeightLatticeOrder(t, r) * std::pow(k / 2.0, r));
    int* v = gaussWork.reserve(sd->RepSize + 10);
    double sumr = 0.0, sumi = 0.0;
    for (int l = 0; l < sd->Nprimaries; l++) {
        const int* labels = SM_getRep(sd, l);
        const auto m = static_cast<double>(WeylBoundaryMultiplicity(labels, t, r));
        const VectorSpace* images = WeylReflections(t, r, labels);
        if (!images)
            return 0.0;
        for (int w = 0; w < images->Nfill; w++) {
            const int* image = rowOf(images, w);
            for (int c = 0; c < r; c++)
                v[c] = 2 * image[c] - weight[c];
            const double x = TwoPi * IntDotProd(t, r, v, v) / (4.0 * k);
            sumr += std::cos(x) / m / norm;
            sumi += std::sin(x) / m / norm;
        }
    }
    multiplyPhase(-r / 8.0, &sumr, &sumi);
    if (std::fabs(sumi) > Tolerance)
        Alert("GaussianSum", 0, 212404, "Phase error");
    return sumr;
}
