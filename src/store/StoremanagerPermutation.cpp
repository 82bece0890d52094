// The Z2 permutation orbifold of a block A: the symmetric and antisymmetric diagonal fields,
// the off-diagonal pairs and the twisted fields of A x A. Its S matrix is a closed expression in
// the S and P matrices of A, which are read once into dense tables, so that every element of
// the orbifold costs a few multiplications; the simple currents, orbits and conjugates then
// follow from that S. The fixed-point theories of its currents are built with it.
#include "store/Storemanager.h"

#include "base/Error.h"
#include "lie/Tarvik.h"
#include "store/StoremanagerInternal.h"

#include <algorithm>
#include <cmath>
#include <complex>
#include <cstdio>
#include <cstdlib>
#include <numbers>
#include <numeric>
#include <vector>

using store_internal::allocateFor;
using store_internal::groupOrder;

namespace {

using cplx = std::complex<double>;

constexpr int Diagonal = 0;
constexpr int OffDiagonal = 1;
constexpr int Twisted = 2;
constexpr int Undetermined = 999999;
constexpr double Pi = std::numbers::pi;

// ---- S and P of the base block ----

// Dense S and P of a base block, read once: N*N complex entries each. Charged to the first
// orbifold built on the base, which lives as long as the process; the tables form a list from a
// plain pointer, as the records do.
struct BaseMatrices {
    const SpectrumData* base = nullptr;
    BaseMatrices* next = nullptr;
    int N = 0;
    cplx* S = nullptr;
    cplx* P = nullptr;
    cplx s(int a, int c) const { return S[static_cast<std::size_t>(a) * N + c]; }
    cplx p(int a, int c) const { return P[static_cast<std::size_t>(a) * N + c]; }
};

BaseMatrices* firstBase = nullptr;

cplx elementS(SpectrumData* A, int i, int j) {
    double re = 0.0, im = 0.0;
    SM_getS(A, i, j, &re, &im);
    return {re, im};
}

// P = T^1/2 S T^2 S T^1/2 from the dense S: N^3 multiplications instead of N per element.
void fillP(SpectrumData* A, BaseMatrices& m) {
    const int N = m.N;
    std::vector<cplx> t(static_cast<std::size_t>(N)), root(static_cast<std::size_t>(N));
    for (int k = 0; k < N; k++) {
        const double x = 2.0 * Pi * SM_getLogT(A, k);
        t[k] = std::polar(1.0, 2.0 * x);
        root[k] = std::polar(1.0, 0.5 * x);
    }
    for (int i = 0; i < N; i++)
        for (int j = i; j < N; j++) {
            cplx sum = 0.0;
            for (int k = 0; k < N; k++)
                sum += m.s(i, k) * t[k] * m.s(k, j);
            const cplx v = root[i] * sum * root[j];
            m.P[static_cast<std::size_t>(i) * N + j] = v;
            m.P[static_cast<std::size_t>(j) * N + i] = v;
        }
}

const BaseMatrices& baseMatrices(SpectrumData* A, SpectrumData* owner) {
    for (BaseMatrices* m = firstBase; m; m = m->next)
        if (m->base == A)
            return *m;
    auto* m = allocateFor<BaseMatrices>(owner, 1, "Base S and P");
    *m = BaseMatrices{};
    m->base = A;
    m->N = A->Nprimaries;
    const auto NN = static_cast<std::size_t>(m->N) * m->N;
    m->S = allocateFor<cplx>(owner, 2 * NN, "Base S and P");
    m->P = m->S + NN;
    // S of a block is symmetric; each element is read once, through the base's own cache.
    for (int i = 0; i < m->N; i++)
        for (int j = i; j < m->N; j++) {
            const cplx v = elementS(A, i, j);
            m->S[static_cast<std::size_t>(i) * m->N + j] = v;
            m->S[static_cast<std::size_t>(j) * m->N + i] = v;
        }
    fillP(A, *m);
    m->next = firstBase;
    firstBase = m;
    return *m;
}

// ---- Orbifold formulas ----

struct Triple {
    int x, y, kind;
};

Triple tripleOf(SpectrumData* sd, int lbl) {
    const int* r = SM_getRep(sd, lbl);
    return {r[0], r[1], r[2]};
}

double sign(int power) {
    return power % 2 == 0 ? 1.0 : -1.0;
}

// The element between two fields, the one of lower kind first. In a fixed-point theory the
// off-diagonal pairs combine antisymmetrically.
cplx orbifoldElement(const BaseMatrices& m, Triple u, Triple v, bool fixedPoint) {
    if (u.kind > v.kind)
        std::swap(u, v);
    if (u.kind == Diagonal && v.kind == Diagonal)
        return m.s(u.x, v.x) * m.s(u.x, v.x) / 2.0;
    if (u.kind == Diagonal && v.kind == OffDiagonal)
        return m.s(u.x, v.x) * m.s(u.x, v.y);
    if (u.kind == Diagonal)
        return sign(u.y) * m.s(u.x, v.x) / 2.0;
    if (u.kind == OffDiagonal && v.kind == OffDiagonal) {
        const cplx direct = m.s(u.x, v.x) * m.s(u.y, v.y);
        const cplx crossed = m.s(u.x, v.y) * m.s(u.y, v.x);
        return fixedPoint ? direct - crossed : direct + crossed;
    }
    if (u.kind == OffDiagonal)
        return 0.0;
    return sign(u.y + v.y) * m.p(u.x, v.x) / 2.0;
}

// ---- Fixed-point resolution tables ----

cplx e(double x) {
    return std::polar(1.0, x);
}

constexpr cplx I{0.0, 1.0};

// Field names of the tables: D0, D1 the diagonal fields over A's field 2; O an off-diagonal
// field, Oab the one over (a, b); Tas the twisted field (a, s).
enum Name { D0, D1, O, O01, O02, O13, T00, T01, T10, T11, T20, T21, Other };

Name nameOf(Triple t, bool pairsNamed) {
    if (t.kind == Diagonal && t.x == 2)
        return t.y == 0 ? D0 : D1;
    if (t.kind == OffDiagonal) {
        if (!pairsNamed)
            return O;
        if (t.x == 0 && t.y == 1)
            return O01;
        if (t.x == 0 && t.y == 2)
            return O02;
        if (t.x == 1 && t.y == 3)
            return O13;
        return Other;
    }
    if (t.kind == Twisted && t.y >= 0 && t.y <= 1) {
        if (t.x == 0)
            return t.y == 0 ? T00 : T01;
        if (t.x == 1)
            return t.y == 0 ? T10 : T11;
        if (t.x == 2)
            return t.y == 0 ? T20 : T21;
    }
    return Other;
}

bool is(Name a, Name b, Name x, Name y) {
    return (a == x && b == y) || (a == y && b == x);
}

void printNotFound(Triple u, Triple v) {
    const int a[3] = {u.x, u.y, u.kind};
    const int b[3] = {v.x, v.y, v.kind};
    printVec(3, a, "NOT FOUND");
    printVec(3, b, "NOT FOUND");
}

// A B algebra of rank r at level 1, current (1, 0).
cplx tableB(const BaseMatrices& m, int r, Triple u, Triple v) {
    const Name a = nameOf(u, false), b = nameOf(v, false);
    const double n = 2 * r + 1;
    // (r - 1) / 2 rounds down: truncated at r = 0, the Ising model's matrix is not unitary.
    const double sigma = sign(r / 2), tau = sign(r == 0 ? -1 : (r - 1) / 2),
                 tauP = sign((r + 1) / 2);
    const double rho = sign(r + 1);
    const cplx S20 = m.s(2, 0), S21 = m.s(2, 1), P00 = m.p(0, 0), P01 = m.p(0, 1), P11 = m.p(1, 1);
    if (is(a, b, D0, D0) || is(a, b, D1, D1))
        return e(-Pi * n / 2) / 2.0;
    if (is(a, b, D0, D1))
        return e(-3 * Pi * n / 2) / 2.0;
    if (is(a, b, D0, O) || is(a, b, D1, O) || is(a, b, O, O))
        return 0.0;
    if (is(a, b, D0, T00))
        return (e(-sigma * Pi / 4) - S20) / 2.0;
    if (is(a, b, D0, T01))
        return (e(sigma * Pi / 4) - S20) / 2.0;
    if (is(a, b, D0, T10))
        return (tau * e(sigma * Pi * n / 4) - S21) / 2.0;
    if (is(a, b, D0, T11))
        return (tau * e(-sigma * Pi * n / 4) - S21) / 2.0;
    if (is(a, b, D1, T00))
        return (S20 - e(sigma * Pi / 4)) / 2.0;
    if (is(a, b, D1, T01))
        return (S20 - e(-sigma * Pi / 4)) / 2.0;
    if (is(a, b, D1, T10))
        return (tauP * e(-sigma * Pi * n / 4) + S21) / 2.0;
    if (is(a, b, D1, T11))
        return (tauP * e(sigma * Pi * n / 4) + S21) / 2.0;
    if (is(a, b, O, T00))
        return e(-Pi * n / 2) / 2.0;
    if (is(a, b, O, T01))
        return e(Pi * n / 2) / 2.0;
    if (is(a, b, O, T10))
        return I / 2.0;
    if (is(a, b, O, T11))
        return -I / 2.0;
    if (is(a, b, T00, T00) || is(a, b, T01, T01))
        return (e(-Pi * n / 8) - P00) / 2.0;
    if (is(a, b, T00, T01))
        return (P00 - e(Pi * n / 8)) / 2.0;
    if (is(a, b, T00, T10))
        return sign(r + 1) * (I * e(-Pi * n / 8) - P01) / 2.0;
    if (is(a, b, T00, T11) || is(a, b, T01, T10))
        return (I * rho * e(rho * Pi * n / 8) + P01) / 2.0;
    if (is(a, b, T01, T11))
        return (I * rho * e(-rho * Pi * n / 8) - P01) / 2.0;
    if (is(a, b, T10, T10) || is(a, b, T11, T11))
        return (-e(-Pi * n / 8) - P11) / 2.0;
    if (is(a, b, T10, T11))
        return (e(Pi * n / 8) + P11) / 2.0;
    printNotFound(u, v);
    return 0.0;
}

// A D algebra of rank r at level 1, current (2, 0).
cplx tableD(const BaseMatrices& m, int r, Triple u, Triple v) {
    const Name a = nameOf(u, true), b = nameOf(v, true);
    const cplx w = e(Pi * r / 4), wc = std::conj(w);
    const double eps = r % 4 <= 1 ? 1.0 : -1.0;
    if (is(a, b, O02, O02))
        return 0.5 - (m.s(0, 0) * m.s(2, 2)).real() - (m.s(0, 2) * m.s(0, 2)).real();
    if (is(a, b, O02, O13))
        return -0.5 - (m.s(0, 1) * m.s(2, 3)).real() - (m.s(0, 3) * m.s(2, 1)).real();
    if (is(a, b, O13, O13))
        return (r % 2 == 1 ? -0.5 : 0.5) - m.s(1, 1) * m.s(3, 3) - m.s(1, 3) * m.s(1, 3);
    if (is(a, b, O02, T00) || is(a, b, O02, T20))
        return I / 2.0;
    if (is(a, b, O02, T01) || is(a, b, O02, T21))
        return -I / 2.0;
    if (is(a, b, O13, T00) || is(a, b, O13, T21))
        return -I * eps / 2.0;
    if (is(a, b, O13, T01) || is(a, b, O13, T20))
        return I * eps / 2.0;
    if (is(a, b, T00, T00) || is(a, b, T01, T01))
        return (wc - m.p(0, 0)) / 2.0;
    if (is(a, b, T00, T01))
        return (m.p(0, 0) - w) / 2.0;
    if (is(a, b, T00, T20) || is(a, b, T01, T21))
        return (I * wc - m.p(0, 2)) / 2.0;
    if (is(a, b, T00, T21))
        return (m.p(0, 2) + I * w) / 2.0;
    if (is(a, b, T01, T20))
        return (m.p(2, 0) + I * w) / 2.0;
    if (is(a, b, T20, T20))
        return (-wc - m.p(2, 2)) / 2.0;
    if (is(a, b, T20, T21) || is(a, b, T21, T21))
        return (m.p(2, 2) + w) / 2.0;
    printNotFound(u, v);
    return 0.0;
}

void notExpected(bool rowKnown) {
    Alert("SM_getPermutation_S", 0, 212404,
          rowKnown ? "Matrix element not expected" : "Matrix element (row) not expected");
}

// A1 at level 2, current (1, 0): purely imaginary; the imaginary parts.
cplx tableA0(Triple u, Triple v) {
    const Name a = nameOf(u, true), b = nameOf(v, true);
    const double c8 = std::cos(Pi / 8) / 2, s8 = std::sin(Pi / 8) / 2;
    const double q = 1.0 / (2.0 * std::sqrt(2.0));
    auto im = [](double x) { return cplx(0.0, x); };
    if (is(a, b, D0, D0) || is(a, b, D0, D1) || is(a, b, D1, D1))
        return im(0.5);
    if (is(a, b, D0, O01) || is(a, b, D1, O01) || is(a, b, O01, O01))
        return 0.0;
    if (is(a, b, D0, T00) || is(a, b, D0, T11) || is(a, b, D1, T01) || is(a, b, D1, T10))
        return im(q);
    if (is(a, b, D0, T01) || is(a, b, D0, T10) || is(a, b, D1, T00) || is(a, b, D1, T11))
        return im(-q);
    if (is(a, b, O01, T00) || is(a, b, O01, T10))
        return im(0.5);
    if (is(a, b, O01, T01) || is(a, b, O01, T11))
        return im(-0.5);
    if (is(a, b, T00, T00) || is(a, b, T00, T01) || is(a, b, T01, T01))
        return im(-c8);
    if (is(a, b, T10, T10) || is(a, b, T10, T11) || is(a, b, T11, T11))
        return im(c8);
    if (is(a, b, T00, T10) || is(a, b, T00, T11) || is(a, b, T01, T10) || is(a, b, T01, T11))
        return im(s8);
    const Name known[] = {D0, D1, O01, T00, T01, T10, T11};
    notExpected(std::find(std::begin(known), std::end(known), a) != std::end(known));
    return 0.0;
}

// A1 at level 2, current (1, 1): real.
cplx tableA1(Triple u, Triple v) {
    const Name a = nameOf(u, true), b = nameOf(v, true);
    if (is(a, b, T20, T20) || is(a, b, T20, T21) || is(a, b, T21, T21))
        return -0.5;
    if (is(a, b, O01, T20))
        return -1.0 / std::sqrt(2.0);
    if (is(a, b, O01, T21))
        return 1.0 / std::sqrt(2.0);
    if (is(a, b, O01, O01))
        return 0.0;
    notExpected(a == O01 || a == T20 || a == T21);
    return 0.0;
}

// ---- Which fixed-point theories have S ----

bool isB1(const SpectrumData* A) {
    return A->type == 2 && A->level == 1;
}
bool isD1(const SpectrumData* A) {
    return A->type == 4 && A->level == 1;
}
bool isA1level2(const SpectrumData* A) {
    return A->type == 1 && A->rank == 1 && A->level == 2;
}

bool fixedPointSAvailable(const SpectrumData* A, const int* J) {
    if (J[0] == 0 && J[1] == 1)
        return true;
    if (J[0] == 1 && (isA1level2(A) || isB1(A)))
        return true;
    return J[0] == 2 && isD1(A);
}

Triple readAsOffDiagonalB(Triple t) {
    return t.kind == Twisted ? Triple{t.y, t.x, OffDiagonal} : t;
}

Triple readAsOffDiagonalD(Triple t) {
    if (t.kind != Twisted)
        return t;
    if (t.y == 0)
        return {0, t.x, OffDiagonal};
    if (t.x == 1 && t.y == 1)
        return {1, 2, OffDiagonal};
    if (t.x == 3 && t.y == 1)
        return {2, 3, OffDiagonal};
    return t;
}

cplx fixedPointElement(SpectrumData* fcft, Triple u, Triple v) {
    SpectrumData* B = fcft->basis;
    SpectrumData* A = B->basis;
    const BaseMatrices& m = baseMatrices(A, B);
    const int J0 = fcft->FCFTcurrent[0], J1 = fcft->FCFTcurrent[1];
    if (J0 == 0 && J1 == 1)
        return orbifoldElement(m, u, v, true);
    if (J0 == 1 && J1 == 1 && isB1(A))
        return orbifoldElement(m, readAsOffDiagonalB(u), readAsOffDiagonalB(v), true);
    if (J0 == 2 && J1 == 1 && isD1(A))
        return orbifoldElement(m, readAsOffDiagonalD(u), readAsOffDiagonalD(v), true);
    if (J0 == 1 && J1 == 0 && isB1(A))
        return tableB(m, A->rank, u, v);
    if (J0 == 2 && J1 == 0 && isD1(A))
        return tableD(m, A->rank, u, v);
    if (J0 == 1 && J1 == 0 && isA1level2(A))
        return tableA0(u, v);
    if (J0 == 1 && J1 == 1 && isA1level2(A))
        return tableA1(u, v);
    printVec(2, fcft->FCFTcurrent, "FCFT current");
    std::printf("Type: %d, level: %d\n", B->type, B->level);
    Alert("SM_getPermutation_S", 0, 112311, "Invalid fixed point matrix request");
    return 0.0;
}

// ---- Building the orbifold ----

SpectrumData* findOrbifold(SpectrumData* A, int p) {
    for (SpectrumData* sd = SM_getFirstAlgebra(); sd; sd = SM_nextAlgebra(sd))
        if (sd->basis == A && sd->permutation_order == p && sd->type != 10)
            return sd;
    return nullptr;
}

// c as a fraction a/b, exactly for the rational central charges of the blocks.
void centralChargeFraction(double c, long long* a, long long* b) {
    for (long long d = 1; d <= 1000000; d++) {
        const double n = std::round(c * static_cast<double>(d));
        if (std::fabs(c * static_cast<double>(d) - n) < 1e-7) {
            *a = static_cast<long long>(n);
            *b = d;
            return;
        }
    }
    *a = 0;
    *b = 1;
    Alert("SM_getPermutationOrbifold", 0, 100302,
          "Number %30.20f could not be converted to rational", c);
}

// A dimension of the base as a big integer; d may be a handle.
LintPtr bigDimension(int d) {
    if (d >= 0)
        return LintPtr(int_to_newlint(d));
    LintPtr x(lint_alloc(5));
    if (const lint* stored = retrieveLint(d))
        lint_copy(x.get(), stored);
    return x;
}

// d1 (d2 + add) / div (div 1 or 2, the division exact) as a dimension entry.
int dimensionProduct(int d1, int d2, int add, int div) {
    if (d1 >= 0 && d2 >= 0) {
        const long long v = static_cast<long long>(d1) * (d2 + add) / div;
        if (v < 1000000000)
            return static_cast<int>(v);
    }
    LintPtr x = bigDimension(d1);
    LintPtr y = bigDimension(d2);
    lint_intadd(y.get(), add);
    lint_multiply(x.get(), y.get());
    if (div != 1) {
        LintPtr divisor(int_to_newlint(div));
        LintPtr quotient(lint_alloc(x->size + 2));
        exact_division(x.get(), divisor.get(), quotient.get());
        x = std::move(quotient);
    }
    // The store keeps the number from here on.
    return storePositiveLint(x.release());
}

struct Layout {
    long long K = 0;     // 24 b p
    long long denom = 0; // B's weight denominator before the reduction
    long long a = 0, b = 1;
};

void ensureBaseDimensions(SpectrumData* A) {
    if (!A->Dimensions && A->type < 6)
        SM_initDimensions(A);
}

int baseDimension(const SpectrumData* A, int i) {
    return A->Dimensions ? A->Dimensions[i] : 0;
}

void setField(SpectrumData* B, int n, Triple t, long long weight, int dimension) {
    int* r = SM_getRep(B, n);
    r[0] = t.x;
    r[1] = t.y;
    r[2] = t.kind;
    B->Weight_num[n] = static_cast<int>(weight);
    B->Dimensions[n] = dimension;
}

void fillFields(SpectrumData* B, SpectrumData* A, const Layout& L, int p) {
    const int N = A->Nprimaries;
    const long long Wd = L.denom, WdA = A->Weight_denom;
    auto W = [A](int i) { return static_cast<long long>(A->Weight_num[i]); };
    int n = 0;
    for (int i = 0; i < N; i++) {
        const int d = baseDimension(A, i);
        setField(B, n++, {i, 0, Diagonal}, 2 * L.K * W(i), dimensionProduct(d, d, 1, 2));
        if (i == 0)
            setField(B, n++, {0, 1, Diagonal}, Wd, A->AdjDimension);
        else
            setField(B, n++, {i, 1, Diagonal}, 2 * L.K * W(i), dimensionProduct(d, d, -1, 2));
    }
    for (int j = 1; j < N; j++)
        for (int i = 0; i < j; i++)
            setField(B, n++, {i, j, OffDiagonal}, L.K * (W(i) + W(j)),
                     dimensionProduct(baseDimension(A, i), baseDimension(A, j), 0, 1));
    const long long shift = ((Wd * L.a * (p * p - 1)) / p) / 24 / L.b;
    for (int i = 0; i < N; i++) {
        const long long w = (Wd * W(i) / 2) / WdA + shift;
        setField(B, n++, {i, 0, Twisted}, w, 1);
        setField(B, n++, {i, 1, Twisted}, w + Wd / 2, 1);
    }
}

// Weights over the smallest denominator; undetermined dimensions marked.
void reduceFields(SpectrumData* B) {
    int g = B->Weight_denom;
    for (int i = 1; i < B->Nprimaries; i++)
        g = std::gcd(g, B->Weight_num[i]);
    g = std::abs(g);
    if (g > 1) {
        B->Weight_denom /= g;
        for (int i = 0; i < B->Nprimaries; i++)
            B->Weight_num[i] /= g;
    }
    for (int i = 0; i < B->Nprimaries; i++)
        if (B->Dimensions[i] == 0)
            B->Dimensions[i] = Undetermined;
}

// Every weight numerator must fit in an int before the reduction.
bool layoutFits(const SpectrumData* A, const Layout& L) {
    long long largest = 0;
    for (int i = 0; i < A->Nprimaries; i++)
        largest = std::max(largest, std::llabs(static_cast<long long>(A->Weight_num[i])));
    const long long bound = 2147483647LL;
    if (L.denom >= bound / 4 || largest >= bound / (2 * L.K))
        return false;
    return 2 * L.K * largest + 2 * L.denom + 3 * std::llabs(L.a) * A->Weight_denom < bound;
}

void buildFixedPointTheories(SpectrumData* B, SpectrumData* A) {
    const int order = groupOrder(B);
    B->FixedPointCurrents = allocateFor<int>(B, std::max(order, 1), "Fixed point currents");
    B->FCFTnumber = 0;
    for (int J = 1; J < order; J++)
        if (SM_fixedPointCurrent(B, J) == 1)
            B->FixedPointCurrents[B->FCFTnumber++] = J;
    if (B->FCFTnumber == 0)
        return;
    SM_allocFCFT(B);
    const int N = B->Nprimaries;
    for (int f = 0; f < B->FCFTnumber; f++) {
        const int J = B->FixedPointCurrents[f];
        int* row = store_internal::fcftLabelRow(B, f);
        int count = 0;
        for (int l = 0; l < N; l++)
            row[l] = SM_SimpleAction(B, J, l) == l ? count++ : -1;
        B->FCFTshifts[f] = 0;
        char name[300];
        std::snprintf(name, sizeof name, "%.280s_%d", B->AlgebraName, f);
        SpectrumData* F = SM_createFCFT(N, name, B, row, count, 1);
        F->basis = B;
        F->bootcomp = 1;
        F->FCFTcurrent = SM_getRep(B, J);
        F->S_available = fixedPointSAvailable(A, F->FCFTcurrent) ? 1 : 0;
        B->FixedPointCFT[f] = F;
    }
}

SpectrumData* buildOrbifold(SpectrumData* A, int p, const char* name) {
    Layout L;
    centralChargeFraction(A->CentralCharge, &L.a, &L.b);
    L.K = 24 * L.b * p;
    L.denom = L.K * A->Weight_denom;
    if (!layoutFits(A, L)) {
        Alert("SM_getPermutationOrbifold", 1, 112311, "Weights of this permutation too large");
        return nullptr;
    }
    char own[300];
    std::snprintf(own, sizeof own, "%.280s_perm", A->AlgebraName);
    SpectrumData* B = allocateSpectrumData(name ? name : own);
    const int N = A->Nprimaries;
    B->basis = A;
    B->type = A->type + (p - 1) * 1000;
    B->rank = A->rank;
    B->level = A->level;
    B->permutation_order = p;
    B->RepSize = 3;
    B->Nprimaries = N * (N - 1) / 2 + 4 * N;
    store_internal::rememberRecord(B);
    std::printf("Primaries: %d\n", B->Nprimaries);
    const auto M = static_cast<std::size_t>(B->Nprimaries);
    B->ExtDynkin = allocateFor<int>(B, 3 * M, "Permutation CFT labels");
    B->Weight_num = allocateFor<int>(B, M, "Weight numerators");
    B->CentralCharge = p * A->CentralCharge;
    ensureBaseDimensions(A);
    B->Dimensions = allocateFor<int>(B, M, "Dimensions");
    B->Weight_denom = static_cast<int>(L.denom);
    fillFields(B, A, L, p);
    reduceFields(B);
    B->SimpleCurrents = DG_trivial();
    B->bootcomp = 1;
    baseMatrices(A, B);
    if (SM_genericReorder(B) != 0) {
        SM_discardCFT(B);
        return nullptr;
    }
    if (!B->Conjugates && SM_ConjugatesAvailable(B))
        SM_initConjugates(B);
    B->bootcomp = 0;
    buildFixedPointTheories(B, A);
    SM_getCurrentOuterAutomorphisms(B);
    store_internal::rememberRecord(B);
    return B;
}

} // namespace

SpectrumData* SM_getPermutationOrbifold(SpectrumData* sdin, int p, const char* name) {
    if (p != 2) {
        Alert("SM_getPermutationOrbifold", 2, 112311, "Only permutations of order 2 are built");
        return nullptr;
    }
    if (SpectrumData* found = findOrbifold(sdin, p)) {
        store_internal::rememberRecord(found);
        return found;
    }
    return buildOrbifold(sdin, p, name);
}

void SM_getPermutation_S(SpectrumData* sd, int lbli, int lblj, double* RealS, double* ImS) {
    const Triple u = tripleOf(sd, std::min(lbli, lblj));
    const Triple v = tripleOf(sd, std::max(lbli, lblj));
    cplx x = 0.0;
    if (sd->type == 10 && sd->FCFT_type == 1)
        x = fixedPointElement(sd, u, v);
    else
        x = orbifoldElement(baseMatrices(sd->basis, sd), u, v, false);
    *RealS = x.real();
    *ImS = x.imag();
}
