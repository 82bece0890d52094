// Reflection coefficients R(m, a): the overlap of Ishibashi label m with boundary label a. A
// simple-current invariant has a closed formula in the fixed-point resolution matrices; with
// orbit data the values are kept once per pair of orbits and carried to the other labels by a
// charge phase. An exceptional invariant reads the table its boundary search found.
#include "boundary/CrossBound.h"

#include "boundary/CrossBoundInternal.h"

#include "base/Error.h"
#include "base/Output.h"
#include "modular/Invariants.h"
#include "modular/Modular.h"
#include "modular/ModularExtensions.h"
#include "tensor/FixedPoints.h"

#include <cmath>
#include <complex>
#include <numbers>
#include <vector>

using namespace crossbound_internal;

namespace {

// Real parts of every orbit pair, then as many imaginary parts. A real part of exactly 0 is a
// value like any other, so computed pairs are marked apart.
GuardedArray<double> RefCoefStorage{"RefCoefStorage", &CrossBound_alloc};
GuardedArray<signed char> RefCoefComputed{"RefCoefComputed", &CrossBound_alloc};
GuardedArray<int> IshibashiMetricFlip{"IshibashiMetricFlip", &CrossBound_alloc};
long long storedPairs = 0;
// Per Ishibashi label, the twist that carries its orbit's representative to it (see below).
std::vector<std::complex<double>> IshibashiTwist;
std::vector<char> IshibashiTwistKnown;
int metricFlipStamp = -1, metricFlipCount = -1;

const IshibashiLabel& ishibashi(int m) {
    return IshibashiLabels[static_cast<std::size_t>(m)];
}

const BoundaryLabel& boundaryLabel(int a) {
    return BoundaryLabels[static_cast<std::size_t>(a)];
}

bool storeValid() {
    return currentBulk()->simpleCurrentInvariant && useOrbits() >= 2 &&
           OrbitDataAvailable == QueryBulkInvariant();
}

bool inUntwistedStabilizer(const FPType* T, int J) {
    if (!T || !T->dg)
        return J == 0;
    for (int k = 0; k < T->dg->Order; k++)
        if (T->identifier[k] == J)
            return true;
    return false;
}

void multiplyBy(double r, double i, double* re, double* im) {
    const double pr = *re * r - *im * i;
    const double pi = *re * i + *im * r;
    *re = pr;
    *im = pi;
}

// exp(i pi num / den), exact at the quarter turns so that a real or imaginary coefficient
// stays one.
void phase(long long num, long long den, double* c, double* s) {
    if ((2 * num) % den == 0) {
        static constexpr double cosines[] = {1, 0, -1, 0};
        const long long quarter = (((2 * num) / den) % 4 + 4) % 4;
        *c = cosines[quarter];
        *s = cosines[(quarter + 3) % 4];
        return;
    }
    const double theta = std::numbers::pi * static_cast<double>(num) / static_cast<double>(den);
    *c = std::cos(theta);
    *s = std::sin(theta);
}

void exceptionalCoefficient(int m, int a, double* R, double* I) {
    const ExceptBoundData* EDT = currentBulk()->EDT;
    if (!EDT || EDT->BoundariesLoaded != 1 || !EDT->Bound) {
        Alert("getCurrentReflectionCoefficient", 0, 100302,
              "Boundaries for this MIPF not available");
        *R = *I = 0.0;
        return;
    }
    const int N = EDT->Nprimaries;
    const double* row = EDT->Bound + static_cast<std::size_t>(boundaryLabel(a).label) * 2 * N;
    const int i = ishibashi(m).label;
    *R = row[i];
    *I = row[N + i];
}

void formula(int m, int a, double* R, double* I) {
    const BulkInvariant* bi = currentBulk();
    getSCReflectionCoefficient(&ishibashi(m), &boundaryLabel(a), bi->trivial, bi->MD, R, I);
}

} // namespace

// ============================================================ The formula

void getSCReflectionCoefficient(const IshibashiLabel* Ishi, const BoundaryLabel* Bnd, int trivial,
                                const SCData*, double* R, double* I) {
    const int i = Ishi->label, f = Bnd->label;
    if (trivial == 1) {
        compS(i, f, R, I);
        return;
    }
    *R = *I = 0.0;
    const int J = Ishi->current;
    const FPType* T = Bnd->fptype;
    if (!inUntwistedStabilizer(T, J))
        return;
    MOD_getOLA_Smatrix(J, i, f, R, I);
    const double U = T && T->dg ? T->dg->Order : 1;
    const double S = T ? T->stab_order : 1;
    const double norm = std::sqrt((TotalOrder / U) / S);
    *R *= norm;
    *I *= norm;
    if (J == 0)
        return;
    rat chi;
    Character(const_cast<FPType*>(T), J, Bnd->fp, &chi);
    const long long n = chi.num, d = chi.den, s = MOD_getFCFTshift(J);
    double c, si;
    phase(-8 * n - s * d, 4 * d, &c, &si);
    multiplyBy(c, si, R, I);
}

// ============================================================ The store

long long maxStoredRefCoefPairs() {
    // One block of 2 doubles a pair, with the block's two guards and its slack of ten.
    return (static_cast<long long>(AllocRefuseLimit / sizeof(double)) - 12) / 2;
}

int refCoefStoreFits(long long pairs) {
    return pairs <= maxStoredRefCoefPairs() ? 1 : 0;
}

void initRefCoefStorage() {
    const BulkInvariant* bi = currentBulk();
    if (bi->trivial == 1)
        return;
    storedPairs = static_cast<long long>(NIshiOrbit) * NBoundaryOrbit;
    const int pairs = static_cast<int>(storedPairs);
    double* SR = RefCoefStorage.reserve(2 * pairs);
    signed char* done = RefCoefComputed.reserve(pairs);
    loadIshibashiMetricFlip();
    std::fill(SR, SR + 2 * static_cast<std::size_t>(pairs), 0.0);
    std::fill(done, done + pairs, static_cast<signed char>(0));
    IshibashiTwist.assign(static_cast<std::size_t>(IshibashiLabelCount), 1.0);
    IshibashiTwistKnown.assign(static_cast<std::size_t>(IshibashiLabelCount), 0);
}

void loadIshibashiMetricFlip() {
    if (metricFlipStamp == QueryBulkInvariant() && metricFlipCount == IshibashiLabelCount)
        return;
    metricFlipStamp = QueryBulkInvariant();
    metricFlipCount = IshibashiLabelCount;
    int* flip = IshibashiMetricFlip.reserve(IshibashiLabelCount);
    // A label without partner is its own.
    for (int m = 0; m < IshibashiLabelCount; m++) {
        flip[m] = m;
        const int conj = getConjugate(ishibashi(m).current);
        for (int n = 0; n < IshibashiLabelCount; n++)
            if (ishibashi(n).label == ishibashi(m).label && ishibashi(n).current == conj) {
                flip[m] = n;
                break;
            }
    }
}

int getIshibashiMetricFlip(int m) {
    loadIshibashiMetricFlip();
    return IshibashiMetricFlip[m];
}

namespace {

void chargeFactor(int m, int a, double* pr, double* pi) {
    const IshibashiLabel& l = ishibashi(m);
    const BoundaryLabel& b = boundaryLabel(a);
    ChargeCorrectionFactor(l.label, getIshiCurrent(l.orbit_member),
                           boundaryLabel(b.orbit_start).label, getBoundaryCurrent(b.orbit_member),
                           pr, pi);
}

// S^J(K i, f) = F_i(K,J)^* exp(2 pi i Q_K(f)) S^J(i, f): an Ishibashi label (K i, J) away from its
// orbit's representative (i, J) differs from it by the charge and by the twist F, the same for
// every boundary (a boundary label's character carries the twist of its own orbit). The twist is
// read off the formula at the first boundary representative where the coefficient is not zero.
std::complex<double> ishibashiTwist(int m) {
    const auto k = static_cast<std::size_t>(m);
    if (k >= IshibashiTwistKnown.size()) {
        IshibashiTwist.resize(k + 1, 1.0);
        IshibashiTwistKnown.resize(k + 1, 0);
    }
    if (IshibashiTwistKnown[k])
        return IshibashiTwist[k];
    std::complex<double> t = 1.0;
    for (int a = 0; a < static_cast<int>(BoundaryLabels.size()); a++) {
        if (boundaryLabel(a).orbit_member != 0)
            continue;
        double dr, di;
        formula(m, a, &dr, &di);
        if (std::abs(dr) + std::abs(di) < 1e-7)
            continue;
        double sr, si, pr, pi;
        formula(ishibashi(m).orbit_start, a, &sr, &si);
        chargeFactor(m, a, &pr, &pi);
        t = std::complex<double>(dr, di) /
            (std::complex<double>(sr, si) * std::complex<double>(pr, pi));
        break;
    }
    IshibashiTwist[k] = t;
    IshibashiTwistKnown[k] = 1;
    return t;
}

} // namespace

void getRefCoefFromStorage(int m, int a, double* R, double* I) {
    const IshibashiLabel& l = ishibashi(m);
    const BoundaryLabel& b = boundaryLabel(a);
    const int p = l.orbit_index * NBoundaryOrbit + b.orbit_index;
    double* SR = RefCoefStorage.X;
    double* SI = SR + storedPairs;
    if (!RefCoefComputed[p]) {
        formula(l.orbit_start, b.orbit_start, &SR[p], &SI[p]);
        RefCoefComputed[p] = 1;
    }
    *R = SR[p];
    *I = SI[p];
    if (l.orbit_member == 0 && b.orbit_member == 0)
        return;
    double pr, pi;
    chargeFactor(m, a, &pr, &pi);
    multiplyBy(pr, pi, R, I);
    if (l.orbit_member != 0 && l.current != 0) {
        const std::complex<double> t = ishibashiTwist(m);
        multiplyBy(t.real(), t.imag(), R, I);
    }
}

void getReflectionCoefficientFromStorage(int m, int a, int mode, double* R, double* I) {
    if (mode == 1) {
        getFlippedReflectionCoefficientFromStorage(m, a, R, I);
        return;
    }
    if (mode != 0) {
        Alert("getReflectionCoefficientFromStorage", 0, 212404, "Invalid mode");
        *R = *I = 0.0;
        return;
    }
    if (currentBulk()->trivial == 1)
        compS(ishibashi(m).label, boundaryLabel(a).label, R, I);
    else
        getRefCoefFromStorage(m, a, R, I);
}

// ============================================================ The dispatcher and its variants

void getCurrentReflectionCoefficient(int m, int a, double* R, double* I) {
    if (!currentBulk()->simpleCurrentInvariant)
        exceptionalCoefficient(m, a, R, I);
    else if (storeValid())
        getReflectionCoefficientFromStorage(m, a, 0, R, I);
    else
        formula(m, a, R, I);
}

void getCurrentReflectionCoefficientStarred(int m, int a, double* R, double* I) {
    getCurrentReflectionCoefficient(m, a, R, I);
    *I = -*I;
}

void getCurrentReflectionCoefficient_orb(int o, int a, double* R, double* I) {
    getCurrentReflectionCoefficient(getIshibashiOrbitRepresentative(o), a, R, I);
}

void getCurrentReflectionCoefficientStarred_orb(int o, int a, double* R, double* I) {
    const int rep = getIshibashiOrbitRepresentative(o);
    getCurrentReflectionCoefficientStarred(rep, a, R, I);
    const double size = ishibashi(rep).orbitsize;
    *R *= size;
    *I *= size;
}

void getCurrentReflectionCoefficientTranspose(int a, int m, double* R, double* I) {
    getCurrentReflectionCoefficient(m, a, R, I);
}

// ============================================================ Orbit check

namespace {

// R with the store bypassed: the orbit stamp is set aside for the one call.
void directCoefficient(int m, int a, double* R, double* I) {
    const int saved = OrbitDataAvailable;
    OrbitDataAvailable = -1;
    getCurrentReflectionCoefficient(m, a, R, I);
    OrbitDataAvailable = saved;
}

} // namespace

void checkReflectionCoefficients() {
    if (!currentBulk()->simpleCurrentInvariant || CrossBoundOrbitsAvailable() == 0) {
        Alert("checkReflectionCoefficients", 0, 212404, "No orbit data, nothing to check");
        return;
    }
    for (int m = 0; m < IshibashiLabelCount; m++) {
        int expectedFlip = -1;
        for (int a = 0; a < BoundaryLabelCount; a++) {
            double dr, di, sr, si;
            directCoefficient(m, a, &dr, &di);
            getCurrentReflectionCoefficient(m, a, &sr, &si);
            if (std::fabs(dr) + std::fabs(di) < 1e-7)
                continue;
            double qr, qi;
            complexRatio(sr, si, dr, di, &qr, &qi);
            if (!ZeroCheck(qr * qr + qi * qi - 1))
                Alert("checkReflectionCoefficients", 1, 212404,
                      "Different reflection coefficients R(%d,%d), (%15.7f,%15.7f) != "
                      "(%15.7f,%15.7f)",
                      m, a, dr, di, sr, si);
            const double phase = getPhase(qr, qi);
            int flip;
            if (ZeroCheck(phase) || ZeroCheck(phase - 2 * std::numbers::pi))
                flip = 0;
            else if (ZeroCheck(phase - std::numbers::pi))
                flip = 1;
            else {
                Alert("checkReflectionCoefficients", 2, 212404,
                      "Unexpected relative phase in R(%d,%d): %15.7f", m, a,
                      phase / (2 * std::numbers::pi));
                return;
            }
            if (expectedFlip == -1) {
                expectedFlip = flip;
                if (flip)
                    Print("Sign flip for m=%d\n", m);
            } else if (flip != expectedFlip) {
                Alert("checkReflectionCoefficients", 3, 212404, "Different relative phase for m=%d",
                      m);
            }
        }
    }
}
