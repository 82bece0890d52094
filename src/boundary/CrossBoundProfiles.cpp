// Two diagnostics of boundary states. For a free boson the reflection (or crosscap) coefficients
// of a boundary are Fourier coefficients of a profile on the target circle, whose peaks show
// where the D-brane (or the O-plane) sits. For a product of identical factors, the permutation
// of the factors moves the fields and so the boundaries; the boundaries on fixed points are told
// apart by hints and by the annulus.
#include "boundary/CrossBound.h"

#include "boundary/CrossBoundInternal.h"

#include "base/Error.h"
#include "base/Output.h"
#include "modular/Invariants.h"
#include "modular/Modular.h"
#include "tensor/FixedPoints.h"

#include <cmath>
#include <complex>
#include <cstdarg>
#include <cstdio>
#include <numbers>
#include <vector>

using namespace crossbound_internal;

namespace {

// The profile lines go to the terminal only, never to an output file.
void out(const char* fmt, ...) __attribute__((format(printf, 1, 2)));
void out(const char* fmt, ...) {
    va_list ap;
    va_start(ap, fmt);
    std::vfprintf(stdout, fmt, ap);
    va_end(ap);
    std::fflush(stdout);
}

// Rounding noise below the printed precision is shown as 0, without a sign.
double shown(double x) {
    return std::fabs(x) < 5e-8 ? 0.0 : x;
}

void coefficient(int m, int a, double* re, double* im) {
    if (a >= 0)
        getCurrentReflectionCoefficient(m, a, re, im);
    else
        getCurrentCrosscapCoefficient(m, 0, re, im);
}

// The free boson of radius r: c_{(r - l) mod r} collects the coefficient of Ishibashi state l.
void freeBosonProfile(int a, int r) {
    const int K = r / 2, size = 2 * K, G = 4 * r;
    std::vector<std::complex<double>> c(static_cast<std::size_t>(2 * r), 0.0);
    for (int m = 0; m < IshibashiLabelCount; m++) {
        double re, im;
        coefficient(m, a, &re, &im);
        const int l = getIshibashiField(m);
        c[static_cast<std::size_t>(((size - l) % size + size) % size)] +=
            std::complex<double>(re, im);
    }
    std::vector<std::complex<double>> f(static_cast<std::size_t>(G));
    double M = 0.0;
    for (int p = 0; p < G; p++) {
        std::complex<double> v = 0.0;
        for (int k = 0; k < size; k++)
            v += std::polar(1.0, std::numbers::pi * k * p / (2.0 * r)) *
                 c[static_cast<std::size_t>(k)];
        f[static_cast<std::size_t>(p)] = v;
        M += std::abs(v);
    }
    M /= 2 * r;
    out("%15.7f (RMS)\n", M);
    for (int p = 0; p < G; p++)
        out("i=%d (x=%7.2f): (%15.7f,%15.7f)\n", p, p / (2.0 * r),
            shown(f[static_cast<std::size_t>(p)].real()),
            shown(f[static_cast<std::size_t>(p)].imag()));
    out("\nPeaks:\n");
    for (int p = 0; p < G; p++) {
        const double prev = std::abs(f[static_cast<std::size_t>((p + G - 1) % G)]);
        const double cur = std::abs(f[static_cast<std::size_t>(p)]);
        const double next = std::abs(f[static_cast<std::size_t>((p + 1) % G)]);
        if (cur > prev && cur > next && std::sqrt(prev * prev + cur * cur + next * next) > 1.5 * M)
            out("i=%d (x=%7.2f): %15.7f,%15.7f\n", p, p / (2.0 * r),
                shown(f[static_cast<std::size_t>(p)].real()),
                shown(f[static_cast<std::size_t>(p)].imag()));
    }
}

// The c=1 orbifold of parameter r: the field of charge q feeds the cosine mode q of the profile
// on the half circle; the currents feed the modes 0 and r and the two D1-brane entries r+1, r+2.
std::vector<std::complex<double>> orbifoldModes(int a, int r) {
    const int K = r;
    std::vector<std::complex<double>> c(static_cast<std::size_t>(r + 3), 0.0);
    auto at = [&c](int k) -> std::complex<double>& { return c[static_cast<std::size_t>(k)]; };
    for (int m = 0; m < IshibashiLabelCount; m++) {
        double re, im;
        coefficient(m, a, &re, &im);
        const std::complex<double> v(re, im);
        const int l = getIshibashiField(m);
        if (l == 0 || l == 2) {
            at(0) += l == 0 ? v : -v;
            at(K + 1) += v;
        } else if (l == 1 || l == 3) {
            at(K) += v;
            at(K + 2) += l == 1 ? v : -v;
        } else if (l < K + 3) {
            const int q = orbifoldCharge(l);
            if (q < 1 || q >= K)
                Alert("LocalizeDefect", 0, 212404, "Label out of range");
            if (q >= 0 && q <= K + 2)
                at(q) += v;
        }
    }
    return c;
}

void orbifoldProfile(const std::vector<std::complex<double>>& c, int r) {
    const int K = r, G = 4 * r;
    auto at = [&c](int k) { return c[static_cast<std::size_t>(k)]; };
    std::vector<double> f(static_cast<std::size_t>(G));
    double M = 0.0;
    for (int p = 0; p < G; p++) {
        double v = at(0).real();
        for (int k = 1; k < K; k++)
            v += (std::polar(1.0, std::numbers::pi * k * p / (2.0 * r)) * at(k)).real();
        v += (std::polar(1.0, -std::numbers::pi * K * p / (2.0 * r)) * at(K)).real();
        f[static_cast<std::size_t>(p)] = v;
        M += std::fabs(v);
    }
    M /= 2 * r;
    auto value = [&f](int p) { return f[static_cast<std::size_t>(p)]; };
    out("%15.7f (RMS)\n", M);
    for (int p = 0; p <= 2 * r; p++)
        out("i=%d (x=%7.2f): %15.7f\n", p, p / (2.0 * r), shown(value(p)));
    out("\nPeaks:\n");
    for (int p = 0; p <= 2 * r; p++) {
        const double prev = std::fabs(value(p > 0 ? p - 1 : 0));
        const double cur = std::fabs(value(p)), next = std::fabs(value(p + 1));
        if (std::sqrt(prev * prev + cur * cur + next * next) > 3 * M && cur >= prev && cur >= next)
            out("i=%4d (x=%7.2f): %15.7f\n", p, p / (2.0 * r), shown(value(p)));
    }
    out("D1-brane info: %15.7f %15.7f\n", shown(at(K + 1).real()), shown(at(K + 2).real()));
}

} // namespace

void LocalizeDefect(int a) {
    const int t = getCFTtype(), r = getCFTrank();
    std::vector<std::complex<double>> modes;
    if (t == 7)
        modes = orbifoldModes(a, r);
    if (a >= 0)
        out("Location of boundary nr. %d\n", a);
    else
        out("Crosscap location: \n");
    if (t == 7)
        orbifoldProfile(modes, r);
    else
        freeBosonProfile(a, r);
}

// ============================================================ Boundary permutations

namespace {

GuardedArray<int> BoundaryPermutations{"BoundaryPermutations", &CrossBound_alloc};

bool isFixedBoundary(int b) {
    const FPType* T = BoundaryLabels[static_cast<std::size_t>(b)].fptype;
    return T && T->dg && T->dg->Order > 1;
}

// Step one: the image of every boundary through its primary; false after a report.
bool boundaryImages(const int* Permutations, int* BP) {
    const SCData* MD = currentBulk()->MD;
    const int order = MD && MD->dg ? MD->dg->Order : 1;
    for (int a = 0; a < BoundaryLabelCount; a++) {
        const int p = Permutations[getBoundaryField(a)];
        int image = -1;
        for (int g = 0; g < order && image < 0 && p >= 0; g++) {
            const int c = simpleFusion(MD && MD->dg ? MD->map[g] : 0, p);
            for (int b = 0; b < BoundaryLabelCount && image < 0; b++)
                if (getBoundaryField(b) == c)
                    image = b;
        }
        if (image < 0) {
            Alert("ComputeBoundaryPermutation", 0, 100302, "No permutation found for boundary %d\n",
                  a);
            return false;
        }
        BP[a] = isFixedBoundary(image) ? -2 : image;
    }
    return true;
}

bool applyHints(int Nres, const int* resolve1, const int* resolve2, int* BP) {
    for (int k = 0; k < Nres; k++) {
        const int x = resolve1[k], y = resolve2[k];
        if ((BP[x] != -2 && BP[x] != y) || (BP[y] != -2 && BP[y] != x)) {
            Alert("ClosePermutations", 0, 100302, "Incorrect degeneracy resolution");
            return false;
        }
        BP[x] = y;
        BP[y] = x;
    }
    return true;
}

// The unique unresolved boundary with a positive entry in row, or -1.
int uniqueUnresolved(const int* row, const int* BP) {
    int found = -1;
    for (int b = 0; b < BoundaryLabelCount; b++) {
        if (BP[b] >= 0 || row[b] <= 0)
            continue;
        if (found >= 0)
            return -1;
        found = b;
    }
    return found;
}

// One pass of the resolution by annuli: 1 when it added a pair, 0 when not, -1 after a report.
int resolveByAnnuli(const int* Permutations, int* BP, int* row1, int* row2) {
    int added = 0;
    for (int i = 0; i < getTotalPrimaries(); i++) {
        const int pi = Permutations[i];
        if (pi == -2 || pi < i)
            continue;
        out("boundary i=%d\n", i);
        for (int a = 0; a < BoundaryLabelCount; a++) {
            if (BP[a] == -2 || BP[a] < a)
                continue;
            for (int b = 0; b < BoundaryLabelCount; b++) {
                row1[b] = getAnnulus(i, a, b);
                row2[b] = getAnnulus(pi, BP[a], b);
            }
            const int b1 = uniqueUnresolved(row1, BP), b2 = uniqueUnresolved(row2, BP);
            if (b1 < 0 || b2 < 0)
                continue;
            if (row1[b1] != row2[b2]) {
                Alert("ClosePermutations", 1, 212404, "Permutation violation (type 2) for %d x %d",
                      i, a);
                return -1;
            }
            BP[b1] = b2;
            BP[b2] = b1;
            out("Added %d and %d\n", b1, b2);
            added = 1;
        }
    }
    return added;
}

} // namespace

int ComputeBoundaryPermutation(int* Permutation, int a) {
    std::vector<int> BP(static_cast<std::size_t>(BoundaryLabelCount));
    if (!boundaryImages(Permutation, BP.data()))
        return -1;
    return BP[static_cast<std::size_t>(a)];
}

void CloseBoundaryPermutations(int* Permutations, int Nres, int* resolve1, int* resolve2) {
    const int B = BoundaryLabelCount;
    int* BP = BoundaryPermutations.reserve(3 * B);
    int* row1 = BP + B;
    int* row2 = BP + 2 * B;
    if (!boundaryImages(Permutations, BP) || !applyHints(Nres, resolve1, resolve2, BP))
        return;
    for (;;) {
        const int r = resolveByAnnuli(Permutations, BP, row1, row2);
        if (r < 0)
            return;
        if (r == 0)
            break;
    }
    for (int a = 0; a < B; a++)
        if (BP[a] == -2)
            Print("Permutation %d not resolved\n", a);
        else
            Print("%d <==> %d\n", a, BP[a]);
}
