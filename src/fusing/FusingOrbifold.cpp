// Fusing matrices of the c=1 orbifold in closed form, with the gauge phases that make them
// satisfy the pentagon and hexagon equations in each sign convention.
#include "fusing/Fusing.h"
#include "fusing/FusingInternal.h"

#include "base/Error.h"

#include <initializer_list>
#include <vector>

using namespace fusing;

namespace {

int j(int x) {
    return paramOf(x);
}

// The parameter of a phase convention; out of range it is reported under the phase's name.
bool conventionOf(const char* routine, int* g) {
    *g = GaugeChoiceParameter;
    if (*g >= 0 && *g <= 4)
        return true;
    Alert(routine, 0, 212404, "Invalid gauge choice");
    return false;
}

int unexpected(const char* routine) {
    Alert(routine, 0, 212404, "Unexpected case");
    return 1;
}

// A phase table of five conventions for the four cases of a vertex pair: N even; N odd with
// A = 0; N odd with A != 0 and B = 0; N odd with both non-zero (unexpected).
int byCase(const char* routine, int N, int A, int B, const int (&even)[5], const int (&oddA)[5],
           const int (&oddB)[5]) {
    int g;
    if (!conventionOf(routine, &g))
        return 1;
    if (N % 2 == 0)
        return even[g];
    if (A == 0)
        return oddA[g];
    if (B == 0)
        return oddB[g];
    return unexpected(routine);
}

} // namespace

// ---- Gauge phases ----

int SignG(int p, int q, int, int, int, int, int N) {
    int g;
    if (!conventionOf("SignG", &g))
        return 1;
    const int S = j(p) + j(q);
    return g == 2 || g == 4 ? e(S) : e(N / 2 + S);
}

int SignABCD3(int p, int q, int a, int b, int c, int d, int) {
    const int pattern = channelCheck(a, b, p) * 8 + channelCheck(c, d, p) * 4 +
                        channelCheck(a, d, q) * 2 + channelCheck(b, c, q);
    switch (pattern) {
    case 0b0011:
        return e(j(q));
    case 0b1100:
        return e(j(p));
    case 0b0101:
        return e(j(c));
    case 0b1010:
        return e(j(a));
    case 0b1001:
        return e(j(b));
    case 0b0110:
        return e(j(d));
    default:
        return 1;
    }
}

int SignABCD(int p, int q, int a, int b, int c, int d, int N) {
    const int A = channelCheck(b, c, q), B = channelCheck(a, d, q);
    const int P = j(p), Q = j(q), h = N / 2, h1 = (N - 1) / 2;
    return byCase("SignABCD", N, A, B, {e(h + Q), e(h + Q), e(Q), -e(Q), -e(h + Q)},
                  {-e(h1 + Q), e(h1 + Q), e(P + Q), e(Q), -e(h1 + Q)},
                  {e(h1 + Q), -e(h1 + Q), e(Q), e(P + Q), e(h1 + Q)});
}

namespace {

// SignK1 and SignK2 differ only in the second label of the factor of convention 0 for odd N.
int signK(const char* routine, int p, int q, int a, int b, int c, int d, int N, int other) {
    int g;
    if (!conventionOf(routine, &g))
        return 1;
    if (N % 2 == 0) {
        const int even[5] = {e(N / 2), e(N / 2), 1, -1, -e(N / 2)};
        return even[g];
    }
    const bool AB = channelCheck(b, c, q) && channelCheck(c, d, p);
    const int h1 = (N - 1) / 2;
    switch (g) {
    case 0:
        return 2 * j(a) < N ? e((N + 1) / 2) : e((N + 1) / 2) * e(j(a) + j(other));
    case 1:
        return AB ? -e(h1) : e(h1);
    case 2:
        return AB ? 1 : -1;
    case 3:
        return channelCheck(a, b, p) && channelCheck(a, d, q) ? 1 : -1;
    default:
        return AB ? e(h1) : -e(h1);
    }
}

} // namespace

int SignK1(int p, int q, int a, int b, int c, int d, int N) {
    return signK("SignK1", p, q, a, b, c, d, N, b);
}

int SignK2(int p, int q, int a, int b, int c, int d, int N) {
    return signK("SignK2", p, q, a, b, c, d, N, c);
}

int PhiFusing(int p, int q, int a, int b, int c, int d, int N) {
    const int A = channelCheck(b, c, q), B = channelCheck(c, d, p);
    const int f0 = e((a - 1) / 2), S = j(p) + j(q), h = N / 2, h1 = (N - 1) / 2;
    return byCase("PhiFusing", N, A, B,
                  {f0 * e(h + S), f0 * e(h + S), f0 * e(S), -f0 * e(S), -f0 * e(h + S)},
                  {-e((N + a) / 2 + S), -f0 * e(h1 + S), f0 * e(S), -f0 * e(S), f0 * e(h1 + S)},
                  {e((N + a) / 2 + S), f0 * e(h1 + S), -f0 * e(S), f0 * e(S), -f0 * e(h1 + S)});
}

int SignABCD2(int p, int q, int, int, int, int, int N) {
    int g;
    if (!conventionOf("SignABCD2", &g))
        return 1;
    return e((j(p) - N + j(q)) / 2);
}

int SignJabc(int, int, int, int, int, int, int) {
    return -1;
}

int SignABAB(int, int, int a, int b, int, int, int) {
    return e(j(a) + j(b));
}

int SignType6(int, int, int, int, int, int d, int) {
    return e(j(d));
}

int SignType6b(int, int, int a, int, int, int, int) {
    return e(j(a));
}

int FusingSignFlip(int type, int p, int q, int a, int b, int c, int d, int N) {
    switch (GaugeChoice) {
    case 1:
        return 1;
    case 0:
        return getOrbifoldEpsilon(c, d, p);
    case 2:
        break;
    default:
        Alert("FusingSignFlip", 0, 212404, "Invalid gauge");
        return 0;
    }
    if (channelCheck(a, b, p) && channelCheck(c, d, p) && channelCheck(a, d, q) &&
        channelCheck(b, c, q))
        return 1;
    switch (type) {
    case 0:
        return -1;
    case 1:
        return SignABCD(p, q, a, b, c, d, N);
    case 2:
    case 3:
        return SignABCD3(p, q, a, b, c, d, N);
    case 4:
        return SignABCD(q, p, a, d, c, b, N);
    case 5:
        return PhiFusing(p, q, a, b, c, d, N);
    case 6:
        return e(j(a) + j(b));
    case 7:
        return e(j(d));
    case 8:
        return e(j(a));
    case 9:
        return SignK1(p, q, a, b, c, d, N);
    case 10:
        return SignK2(p, q, a, b, c, d, N);
    case 11:
    case 12:
        return SignG(p, q, a, b, c, d, N);
    default:
        Alert("FusingSignFlip", 0, 212404, "Invalid type");
        return 0;
    }
}

// ---- Matrices of size 2 and more ----

namespace {

// Writes a matrix of k couplings into the caller's buffers, whose rows are n long.
struct Writer {
    int n;
    int* basis;
    double* fusing;

    void put(std::initializer_list<int> q, std::initializer_list<int> p,
             std::initializer_list<std::initializer_list<double>> rows) const {
        int k = 0;
        for (int x : q)
            basis[k++] = x;
        k = 0;
        for (int x : p)
            basis[n + k++] = x;
        int i = 0;
        for (const auto& row : rows) {
            int col = 0;
            for (double v : row)
                fusing[i * n + col++] = v;
            i++;
        }
    }
};

void unexpectedMatrix() {
    Alert("getOrbifoldFusingMatrix", 0, 212404, "Unexpected case");
}

// Returns false where no matrix can be written.
bool multiCoupling(int a, int b, int c, int d, int N, const Writer& w) {
    auto D = doubletOf;
    auto r = reduced;
    auto flip = [N](int type, int p, int q, int x1, int x2, int x3, int x4) {
        return static_cast<double>(FusingSignFlip(type, p, q, x1, x2, x3, x4, N));
    };
    const int ja = j(a), jb = j(b), jc = j(c), jd = j(d);
    if (a == b && b == c && c == d) {
        const double x = static_cast<double>(ja) * ja / N;
        if (2 * ja != N) {
            w.put({0, 2, D(2 * ja)}, {0, 2, D(2 * ja)},
                  {{0.5, x / 4, 0.5}, {1 / x, 0.5, -1 / x}, {1, -x / 2, 0}});
            return true;
        }
        const double t = 2 * ((N / 2) % 2) - 1;
        w.put({0, 2, 1, 3}, {0, 2, 1, 3},
              {{0.5, x / 4, 0.25, 0.25},
               {1 / x, 0.5, -1 / (2 * x), -1 / (2 * x)},
               {1, -x / 2, -t / 2, t / 2},
               {1, -x / 2, t / 2, -t / 2}});
        return true;
    }
    if (a == c && b == d) {
        if (r(ja + jb) != N) {
            const double s = flip(6, D(ja - jb), D(ja + jb), a, b, c, b);
            w.put({D(ja + jb), D(ja - jb)}, {D(ja + jb), D(ja - jb)}, {{0, s}, {s, 0}});
            return true;
        }
        const double t = e(ja);
        w.put({1, 3, D(N - 2 * ja)}, {1, 3, D(N - 2 * ja)},
              {{t / 2, -t / 2, 1}, {-t / 2, t / 2, 1}, {0.5, 0.5, 0}});
        return true;
    }
    if (a == d && b == c) {
        const double v = static_cast<double>(ja) * jb / (2 * N);
        if (r(ja + jb) != N) {
            w.put({0, 2}, {D(ja + jb), D(ja - jb)}, {{1, -v}, {1, v}});
            return true;
        }
        const double s1 = flip(9, 1, D(2 * ja), d, c, c, d);
        const double s3 = flip(9, 3, D(2 * ja), d, c, c, d);
        w.put({0, 2, D(2 * ja)}, {1, 3, D(2 * ja - N)}, {{1, -v, s1}, {1, -v, -s3}, {1, v, 0}});
        return true;
    }
    if (a == b) {
        if (c != d) {
            if (2 * jb != N)
                unexpectedMatrix();
            const double s1 = flip(11, 1, D(jb + jc), b, a, c, d);
            const double s3 = flip(11, 3, D(jb + jc), b, a, c, d);
            w.put({D(jb + jc), D(jb - jc)}, {1, 3}, {{-s1, 1}, {s3, 1}});
            return true;
        }
        const double v = static_cast<double>(ja) * jc / (2 * N);
        if (r(ja + jc) != N) {
            w.put({D(ja + jc), D(ja - jc)}, {0, 2}, {{0.5, 0.5}, {-1 / (2 * v), 1 / (2 * v)}});
            return true;
        }
        const double s1 = flip(10, D(2 * ja), 1, a, b, c, c);
        const double s3 = flip(10, D(2 * ja), 3, a, b, c, c);
        w.put({1, 3, D(2 * ja - N)}, {0, 2, D(2 * ja)},
              {{0.25, 0.25, 0.5}, {-1 / (4 * v), -1 / (4 * v), 1 / (2 * v)}, {s1 / 2, -s3 / 2, 0}});
        return true;
    }
    if (a == d) {
        if (2 * jd != N)
            unexpectedMatrix();
        const double s1 = flip(12, D(jd + jc), 1, d, b, c, a);
        const double s3 = flip(12, D(jd + jc), 3, d, b, c, a);
        w.put({1, 3}, {D(jd + jc), D(jd - jc)}, {{-s1 / 2, s3 / 2}, {0.5, 0.5}});
        return true;
    }
    if (b == c) {
        if (2 * jc != N)
            unexpectedMatrix();
        const double s1 = flip(12, D(jc + jd), 1, a, c, b, d);
        const double s3 = flip(12, D(jc + jd), 3, a, c, b, d);
        w.put({1, 3}, {D(jd + jc), D(jc - jd)}, {{-s1 / 2, s3 / 2}, {0.5, 0.5}});
        return true;
    }
    if (c == d) {
        if (2 * jd != N)
            unexpectedMatrix();
        const double s1 = flip(11, 1, D(jd + jb), a, b, c, c);
        const double s3 = flip(11, 3, D(jd + jb), a, b, c, c);
        w.put({D(jd + jb), D(jd - jb)}, {1, 3}, {{-s1, 1}, {s3, 1}});
        return true;
    }
    if (a == c) {
        if (2 * ja != N)
            unexpectedMatrix();
        const double s = flip(7, D(ja + jd), D(ja + jd), c, b, a, d);
        w.put({D(jd + ja), D(ja - jd)}, {D(jd + ja), D(ja - jd)}, {{s, 0}, {0, 1}});
        return true;
    }
    if (b == d) {
        if (2 * jd != N)
            unexpectedMatrix();
        const double s = flip(8, D(ja + jd), D(ja + jd), a, d, c, b);
        w.put({D(ja + jd), D(jd - ja)}, {D(ja + jd), D(jd - ja)}, {{s, 0}, {0, 1}});
        return true;
    }
    if (r(ja + jb) == N) {
        if (r(jd + jc) != N)
            unexpectedMatrix();
        const double s1 = flip(1, 1, D(ja + jd), a, b, c, d);
        const double s3 = flip(1, 3, D(ja + jd), a, b, c, d);
        w.put({D(jd + ja), D(ja - jd)}, {1, 3}, {{s1, 1}, {-s3, 1}});
        return true;
    }
    if (r(jd + ja) == N) {
        if (r(jc + jb) != N)
            unexpectedMatrix();
        const double s1 = flip(4, D(ja + jb), 1, a, b, c, d);
        const double s3 = flip(4, D(ja + jb), 3, a, b, c, d);
        w.put({1, 3}, {D(ja + jb), D(ja - jb)}, {{s1 / 2, -s3 / 2}, {0.5, 0.5}});
        return true;
    }
    // Without r(j(c)+j(a)) = N there is no matrix of this shape; writing nothing would hand out
    // whatever the buffers held from the call before.
    if (r(jc + ja) != N) {
        unexpectedMatrix();
        return false;
    }
    if (r(jd + jb) != N)
        unexpectedMatrix();
    const double s1 = flip(2, D(ja + jb), D(N - ja + jb), a, b, c, d);
    const double s2 = flip(2, D(ja - jb), D(N - ja - jb), a, b, c, d);
    w.put({D(N - ja + jb), D(N - ja - jb)}, {D(ja + jb), D(ja - jb)}, {{s1, 0}, {0, s2}});
    return true;
}

// ---- Matrices of size 1 ----

bool allDoublets(std::initializer_list<int> xs) {
    for (int x : xs)
        if (!isDoublet(x))
            return false;
    return true;
}

bool divides2N(int N, int x) {
    return x % (2 * N) == 0;
}

// Rules 14 to 17: the current 2 with three doublets. When 2N divides one of the first two
// charge sums the entry is eps*num/den, when it divides one of the second two it is
// num2/(num2 - other); else the charges admit no coupling and there is no value (0).
struct CurrentTwoRule {
    bool when;
    int first1, first2, num, den;
    int second1, second2, num2, other;
};

double currentTwoValue(const CurrentTwoRule& rule, int N, int eps) {
    if (divides2N(N, rule.first1) || divides2N(N, rule.first2))
        return eps * static_cast<double>(rule.num) / rule.den;
    if (divides2N(N, rule.second1) || divides2N(N, rule.second2))
        return static_cast<double>(rule.num2) / (rule.num2 - rule.other);
    return 0.0;
}

// Rules 1 to 17: the entries with the current 2.
bool currentTwoRules(int a, int b, int c, int d, int N, int eps, double* F) {
    const int ja = j(a), jb = j(b), jc = j(c), jd = j(d);
    const double n = N;
    struct Rule {
        bool when;
        double value;
    };
    const Rule rules[] = {
        {a == 2 && b == 2 && c == 2 && d == 2, 1},
        {a == 2 && b == 2 && inV(c) && inV(d), n / 2},
        {a == 2 && d == 2 && inV(b) && inV(c), 2 / n},
        {b == 2 && c == 2 && inV(a) && inV(d), 2 / n},
        {c == 2 && d == 2 && inV(a) && inV(b), n / 2},
        {a == 2 && c == 2 && inV(b) && inV(d), 1},
        {b == 2 && d == 2 && inV(a) && inV(c), 1},
        {a == 2 && b == 2 && allDoublets({c, d}) && jc == jd, jc * jc / (2 * n)},
        {a == 2 && d == 2 && allDoublets({b, c}) && jb == jc, 2 * n / (jc * jc)},
        {b == 2 && c == 2 && allDoublets({a, d}) && ja == jd, 2 * n / (ja * ja)},
        {c == 2 && d == 2 && allDoublets({a, b}) && ja == jb, ja * ja / (2 * n)},
        {a == 2 && c == 2 && allDoublets({b, d}) && jb == jd, 1},
        {b == 2 && d == 2 && allDoublets({a, c}) && ja == jc, 1},
    };
    for (const Rule& rule : rules)
        if (rule.when) {
            *F = rule.value;
            return true;
        }
    const CurrentTwoRule withDoublets[] = {
        {a == 2 && allDoublets({b, c, d}), jb - jc - jd, jb + jc + jd, jd, jb, jb - jc + jd,
         jb + jc - jd, jd, jc},
        {c == 2 && allDoublets({a, b, d}), jb + ja - jd, ja + jb + jd, jb, jd, ja - jb + jd,
         jb - ja + jd, jb, ja},
        {b == 2 && allDoublets({a, c, d}), ja - jc - jd, ja + jc + jd, jc, ja, ja - jc + jd,
         ja + jc - jd, jc, jd},
        {d == 2 && allDoublets({a, b, c}), ja + jb + jc, ja + jb - jc, ja, jc, ja - jb - jc,
         jb - ja - jc, ja, jb},
    };
    for (const CurrentTwoRule& rule : withDoublets)
        if (rule.when) {
            *F = currentTwoValue(rule, N, eps);
            return true;
        }
    return false;
}

// Rules 18 to 21: the current 2, a current of charge N and two doublets.
bool currentTwoAndV(int a, int b, int c, int d, int N, double* F) {
    const double ja = j(a), jb = j(b), jc = j(c), jd = j(d), n = N;
    struct Rule {
        bool when;
        double value;
    };
    const Rule rules[] = {
        {a == 2 && inV(d) && allDoublets({b, c}), n / jb},
        {a == 2 && inV(b) && allDoublets({c, d}), jd / n},
        {a == 2 && inV(c) && allDoublets({b, d}), jd / (jd - n)},
        {b == 2 && inV(d) && allDoublets({a, c}), (ja - n) / ja},
        {b == 2 && inV(a) && allDoublets({c, d}), jc / n},
        {b == 2 && inV(c) && allDoublets({a, d}), n / ja},
        {c == 2 && inV(d) && allDoublets({a, b}), (n - ja) / n},
        {c == 2 && inV(b) && allDoublets({a, d}), n / (n - ja)},
        {c == 2 && inV(a) && allDoublets({b, d}), jb / (jb - n)},
        {d == 2 && inV(b) && allDoublets({a, c}), ja / (ja - n)},
        {d == 2 && inV(a) && allDoublets({b, c}), n / jc},
        {d == 2 && inV(c) && allDoublets({a, b}), ja / n},
    };
    for (const Rule& rule : rules)
        if (rule.when) {
            *F = rule.value;
            return true;
        }
    return false;
}

// Rules 22 to 27: two doublets and two currents of charge N.
bool twoCurrentsV(int a, int b, int c, int d, int N, double* F) {
    const bool even = N % 2 == 0;
    const double ja = j(a);
    if (allDoublets({a, c}) && inV(b) && inV(d)) {
        *F = (b == d ? 1 : -1) * e(N) * e(j(a));
        return true;
    }
    if (allDoublets({b, d}) && inV(a) && inV(c)) {
        *F = (a == c ? 1 : -1) * e(N) * e(j(b));
        return true;
    }
    if (allDoublets({a, b}) && inV(c) && inV(d)) {
        *F = (c == d) == even ? 0.5 : 1 / ja;
        return true;
    }
    if (allDoublets({a, d}) && inV(b) && inV(c)) {
        *F = (c == b) == even ? 2 : ja;
        return true;
    }
    return false;
}

// Rules 29 to 33: a is a current of charge N.
double firstInV(int a, int b, int c, int d, int p, int q, int N) {
    const bool even = N % 2 == 0;
    const double jc = j(c), n = N;
    if (inV(b) && allDoublets({c, d}))
        return (a != b) == even ? 1 / jc : 0.5;
    if (inV(d) && isDoublet(b)) {
        if (a == d)
            return even ? 2 : jc;
        if (isDoublet(c))
            return even ? jc : 2;
    }
    if (inV(b) && inV(c) && inV(d)) {
        if (a == c && ((a == b && b == d) || (b == d && a != b)))
            return 1;
        if (b == c && a == d && a != b)
            return even ? 2 / n : n / 2;
        if (c == d && a == b && a != c)
            return even ? n / 2 : 2 / n;
        return 0.0;
    }
    if (allDoublets({b, c, d}))
        return FusingSignFlip(5, p, q, a, b, c, d, N);
    return 1;
}

// Rules 34 to 37: one current of charge N among b, c, d, the other three doublets.
double laterInV(int a, int b, int c, int d, int p, int q, int N) {
    if (inV(b) && allDoublets({a, c, d}))
        return FusingSignFlip(5, q, p, b, c, d, a, N);
    if (inV(c) && allDoublets({a, b, d}))
        return FusingSignFlip(5, p, q, c, d, a, b, N);
    if (inV(d) && allDoublets({a, b, c}))
        return FusingSignFlip(5, q, p, d, a, b, c, N);
    return 1;
}

double singleCoupling(int a, int b, int c, int d, int p, int q, int N) {
    double F = 1;
    const int eps = FusingSignFlip(0, p, q, a, b, c, d, N);
    if (!currentTwoRules(a, b, c, d, N, eps, &F) && !currentTwoAndV(a, b, c, d, N, &F) &&
        !twoCurrentsV(a, b, c, d, N, &F))
        F = inV(a) ? firstInV(a, b, c, d, p, q, N) : laterInV(a, b, c, d, p, q, N);
    if (allDoublets({a, b, c, d}))
        F *= FusingSignFlip(3, p, q, a, b, c, d, N);
    return F;
}

} // namespace

double* getOrbifoldFusingMatrix(int a, int b, int c, int d, int* size, int* basis, double* fusing) {
    for (int x : {a, b, c, d})
        if (kindOf(x) >= 2) {
            Alert("OrbifoldFusingLabelCheck", 0, 112311,
                  "Fusing matrices for twisted fields are not (yet) available");
            return nullptr;
        }
    const int N = orbifoldRank();
    if (*size == 1) {
        fusing[0] = singleCoupling(a, b, c, d, basis[1], basis[0], N);
        return fusing;
    }
    const Writer w{*size, basis, fusing};
    return multiCoupling(a, b, c, d, N, w) ? fusing : nullptr;
}
