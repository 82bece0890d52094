#include "numeric/MathUtility.h"

#include "base/Error.h"

#include <climits>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <ctime>
#include <utility>

namespace {

constexpr double Pi = 3.14159265358979323846;

// Products are formed in 64 bits and narrowed afterwards: a reduced result that fits in an int
// comes out right, and anything larger wraps instead of being undefined.
int narrow(std::int64_t v) {
    return static_cast<int>(static_cast<std::uint32_t>(v));
}

std::int64_t gcd64(std::int64_t n, std::int64_t m) {
    std::uint64_t a = n < 0 ? 0 - static_cast<std::uint64_t>(n) : static_cast<std::uint64_t>(n);
    std::uint64_t b = m < 0 ? 0 - static_cast<std::uint64_t>(m) : static_cast<std::uint64_t>(m);
    if (a == 0 || b == 0)
        return static_cast<std::int64_t>(a + b);
    if (a < b)
        std::swap(a, b);
    for (std::uint64_t r = a % b; r > 0; r = a % b) {
        a = b;
        b = r;
    }
    return static_cast<std::int64_t>(b);
}

// num/den divided by their gcd; the sign of den is kept.
void reduceInto(std::int64_t num, std::int64_t den, rat* C) {
    std::int64_t g = gcd64(num, den);
    if (g != 0) {
        num /= g;
        den /= g;
    }
    C->num = narrow(num);
    C->den = narrow(den);
}

// The nearest integer, halves away from zero, as a double (no range limit).
double nearestDouble(double a) {
    return a > 0 ? std::trunc(a + 0.5) : -std::trunc(0.5 - a);
}

// Truncation to int, saturating instead of leaving the conversion undefined.
int truncToInt(double a) {
    if (std::isnan(a))
        return 0;
    if (a >= 2147483647.0)
        return INT_MAX;
    if (a <= -2147483648.0)
        return INT_MIN;
    return static_cast<int>(a);
}

int nearestInt(double a) {
    return truncToInt(nearestDouble(a));
}

bool nearInteger(double a) {
    return std::fabs(a - nearestDouble(a)) <= Tolerance;
}

void reportIntConversion(double a) {
    Alert("DoubleToInt", 0, 110302, "Integer conversion problem for %25.15f\n", a);
}

struct PrimeTable {
    int* p = nullptr;
    int count = 0;
    int capacity = 0;
    int candidate = 13;
};
PrimeTable primes;

void createPrimeTable() {
    primes.capacity = 100;
    primes.p = static_cast<int*>(std::malloc(primes.capacity * sizeof(int)));
    if (!primes.p)
        std::exit(1);
    const int first[] = {2, 3, 5, 7, 11};
    for (int v : first)
        primes.p[primes.count++] = v;
}

int nextPrime() {
    int c = primes.candidate;
    for (int k = 0; k < primes.count;) {
        int p = primes.p[k];
        if (c / p < 2)
            break;
        if (c % p == 0) {
            c += 2;
            k = 0;
        } else {
            ++k;
        }
    }
    return c;
}

void appendPrime(int c) {
    if (primes.count == primes.capacity) {
        int grown = primes.capacity + 1000;
        void* block = std::realloc(primes.p, grown * sizeof(int));
        if (!block)
            std::exit(1);
        primes.p = static_cast<int*>(block);
        primes.capacity = grown;
    }
    primes.p[primes.count++] = c;
    primes.candidate = c + 2;
}

bool randomSeeded = false;

void seedOnce() {
    if (!randomSeeded) {
        std::srand(static_cast<unsigned>(std::time(nullptr)));
        randomSeeded = true;
    }
}

rat doubleToRatResult;
rat DoubleToRatResult;

} // namespace

// ---------------------------------------------------------------- rationals

void copyRat(rat* A, const rat* B) {
    *A = *B;
}

void torat(int A, rat* C) {
    C->num = A;
    C->den = 1;
}

void setzero(rat* A) {
    A->num = 0;
    A->den = 1;
}

void torat2(int A, int B, rat* C) {
    reduceInto(A, B, C);
}

void simplifyRat(rat* X) {
    std::int64_t num = X->num;
    std::int64_t den = X->den;
    std::int64_t g = gcd64(num, den);
    if (g == 0)
        return;
    num /= g;
    den /= g;
    if (den < 0) {
        num = -num;
        den = -den;
    }
    X->num = narrow(num);
    X->den = narrow(den);
}

void addRat(const rat* A, const rat* B, rat* C) {
    std::int64_t num = std::int64_t{A->num} * B->den + std::int64_t{B->num} * A->den;
    reduceInto(num, std::int64_t{A->den} * B->den, C);
}

void subtractRat(const rat* A, const rat* B, rat* C) {
    std::int64_t num = std::int64_t{B->den} * A->num - std::int64_t{B->num} * A->den;
    reduceInto(num, std::int64_t{A->den} * B->den, C);
}

void multiplyRat(const rat* A, const rat* B, rat* C) {
    reduceInto(std::int64_t{A->num} * B->num, std::int64_t{A->den} * B->den, C);
}

rat* RatToFrac(rat* a) {
    if (a->den == 1)
        a->num = 0;
    else if (a->num >= 0)
        a->num = a->num % a->den;
    else
        a->num = a->den - (-a->num) % a->den;
    return a;
}

int intcheck(const rat* A) {
    return GCD(A->num, A->den) == A->den ? 0 : 1;
}

int halfintcheck(const rat* A) {
    int g = GCD(A->num, A->den);
    if (g == A->den)
        return 0;
    return 2 * g == A->den ? 1 : 2;
}

void optimalRoot(const rat* D, rat* E, int N) {
    int p = D->num;
    int q = D->den;
    if (p == 0) {
        setzero(E);
        return;
    }
    int bestK = 0;
    int bestG = 1;
    for (int k = 1; k < N; ++k) {
        int g = GCD(p + k * q, N);
        if (g > bestG) {
            bestG = g;
            bestK = k;
        }
    }
    E->num = (p + bestK * q) / bestG;
    E->den = (N * q) / bestG;
}

rat* doubleToRat(double x) {
    rat* R = &doubleToRatResult;
    int sign = x < 0 ? -1 : 1;
    double y = std::fabs(x);
    setzero(R);
    if (y < Tolerance)
        return R;
    for (int q = 1; q <= 144; ++q) {
        double qy = q * y;
        int p = truncToInt(qy + 0.5);
        if (std::fabs(qy - p) < Tolerance) {
            R->num = sign * p;
            R->den = q;
            return R;
        }
    }
    Alert("doubleToRat", 0, 100302, "Number %30.20f could not be converted to rational", x);
    return R;
}

rat* DoubleToRat(double a, int guess) {
    rat* R = &DoubleToRatResult;
    double d = guess * a;
    if (nearInteger(d)) {
        R->num = nearestInt(d);
        R->den = guess;
        simplifyRat(R);
        return R;
    }
    Alert("DoubleToRat", 0, 100201, "Rat conversion problem; re-trying");
    for (int m = 1; m < 144; ++m) {
        double md = m * d;
        if (nearInteger(md)) {
            R->num = nearestInt(md);
            R->den = m * guess;
            simplifyRat(R);
            return R;
        }
    }
    Alert("DoubleToRat", 0, 110302, "Failed to convert %15.7f to rational; returning 0", a);
    setzero(R);
    return R;
}

// ---------------------------------------------------------------- integers

int GCD(int N, int M) {
    return narrow(gcd64(N, M));
}

int SCM(int N, int M) {
    std::int64_t g = gcd64(N, M);
    if (g == 0)
        return 1;
    std::int64_t q = std::int64_t{N} * M / g;
    if (q == 0)
        return 1;
    return narrow(q < 0 ? -q : q);
}

int mod(int i, int j) {
    if (j == 1)
        return 0;
    int r = i % j;
    return r < 0 ? r + j : r;
}

int intdivide(int i, int j) {
    if (j == 0) {
        Alert("intdivide", 0, 100302, "Zero denominator in division");
        return 0;
    }
    if (i % j != 0) {
        Alert("intdivide", 0, 100302, "%d does not divide %d", j, i);
        return 0;
    }
    return i / j;
}

int HalfEntier(int n) {
    return n / 2;
}

int divTwo(int a, int var) {
    if (a % 2 != 0)
        Alert("divTwo", 0, 212404, "Not divisible by 2: %d (variable nr %d\n", a, var);
    return a / 2;
}

int MaxVal(int n1, int n2) {
    return n1 > n2 ? n1 : n2;
}

int MinVal(int n1, int n2) {
    return n1 < n2 ? n1 : n2;
}

int sign_(int a) {
    return (a > 0) - (a < 0);
}

int SignPow(int n) {
    return n % 2 == 0 ? 1 : -1;
}

int intpow(int k, int n) {
    if (n < 0) {
        Alert("intpow", 0, 112312, "Negative power");
        return 1;
    }
    std::uint32_t result = 1;
    for (int i = 0; i < n; ++i)
        result *= static_cast<std::uint32_t>(k);
    return static_cast<int>(result);
}

int twopow(int n) {
    if (n < 0) {
        Alert("twopow", 0, 112312, "Negative power");
        return 1;
    }
    if (n > 31) {
        Alert("twopow", 1, 112312, "Overflow in exponentiation");
        return 0;
    }
    return static_cast<int>(std::uint32_t{1} << n);
}

int factorial(int n) {
    int result = 1;
    for (int i = 2; i <= n; ++i) {
        if (static_cast<double>(result) * i > 2147483647.0) {
            Alert("factorial", 0, 112413, "Integer overflow");
            return 2147483647;
        }
        result *= i;
    }
    return result;
}

double binomialD(int n, int k) {
    int m = MinVal(k, n - k);
    double value = 1.0;
    for (int i = 1; i <= m; ++i)
        value = value * (n - m + i) / i;
    return value;
}

int binomial(int n, int k) {
    double value = binomialD(n, k);
    if (!nearInteger(value))
        reportIntConversion(value);
    return nearestInt(value);
}

int isqrt(int i) {
    if (i < 0) {
        Alert("isqrt", 0, 100302, "Negative square root argument");
        return -1;
    }
    int root = truncToInt(std::sqrt(i + 1e-5));
    if (std::int64_t{root} * root != i)
        Alert("isqrt", 1, 100302, "Square root of %d is not integer", i);
    return root;
}

int prime(int i) {
    if (i < 0)
        return 1;
    if (!primes.p)
        createPrimeTable();
    while (i >= primes.count)
        appendPrime(nextPrime());
    return primes.p[i];
}

// Values below 1 have no prime factorisation to test; they give 0.
int SinglePrimePower(int i) {
    if (i < 1)
        return 0;
    for (int k = 0;; ++k) {
        int p = prime(k);
        if (std::int64_t{p} * p > i)
            return 1; // i is 1 or a prime
        if (i % p == 0) {
            while (i % p == 0)
                i /= p;
            return i == 1 ? 1 : 0;
        }
    }
}

int primetest(int number) {
    if (number < 4)
        return 0;
    // A composite number has a prime factor not above its square root.
    for (int k = 0;; ++k) {
        int p = prime(k);
        if (std::int64_t{p} * p > number)
            return 0;
        if (number % p == 0)
            return p;
    }
}

// ---------------------------------------------------------------- doubles to integers

int ZeroCheck(double a) {
    return std::fabs(a) <= Tolerance ? 1 : 0;
}

int CZeroCheck(double R, double I) {
    return std::fabs(R) + std::fabs(I) <= Tolerance ? 1 : 0;
}

int IntCheck(double a) {
    return nearInteger(a) ? 1 : 0;
}

int ZeroModOneCheck(double a) {
    double b = std::fabs(a);
    return std::fabs(b - std::trunc(b + 0.5)) <= Tolerance ? 1 : 0;
}

int DoubleToInteger(double a, int* result) {
    *result = nearestInt(a);
    return nearInteger(a) ? 1 : 0;
}

int ComplexToInteger(double R, double I, int* result) {
    if (std::fabs(I) > Tolerance)
        return 0;
    return DoubleToInteger(R, result);
}

int DoubleToInt(double a) {
    if (!nearInteger(a))
        reportIntConversion(a);
    return nearestInt(a);
}

int ComplexToInt(double R, double I) {
    int position = -1;
    if (!std::isfinite(R) || !std::isfinite(I))
        position = 2;
    else if (std::fabs(I) > Tolerance)
        position = 0;
    else if (!nearInteger(R))
        position = 1;
    if (position < 0)
        return nearestInt(R);
    Alert("ComplexToInt", position, 110302, "Integer conversion problem for (%25.15f,%25.15f)\n", R,
          I);
    return 2147483647;
}

int IntegerPart(double a) {
    if (nearInteger(a + 0.5))
        Alert("IntegerPart", 0, 100201, "Integer part ambiguous for %30.15f", a);
    return nearestInt(a);
}

double DoubleToFrac(double a) {
    if (a >= 0)
        return a - std::trunc(a);
    double t = std::trunc(-a);
    double f = t + a;
    if (std::fabs(f) <= Tolerance)
        f = (t - 1) + a;
    return 1 + f;
}

int CposCheck(double R, double I) {
    if (std::fabs(R) > Tolerance)
        return R > 0 ? 1 : 0;
    if (std::fabs(I) > Tolerance)
        return I > 0 ? 1 : 0;
    return 1;
}

int doubleCompare(double A, double B, double allowed_diff) {
    double deviation = std::fabs(A - B);
    if (deviation <= allowed_diff)
        return 0;
    std::printf("Deviation: %30.15f %30.15f %30.15f\n", A, B, deviation);
    return 1;
}

namespace {
// The smallest factor 1 .. maxfac that makes v integral, or 0.
int integralFactor(double v, int maxfac) {
    for (int f = 1; f <= maxfac; ++f)
        if (nearInteger(f * v))
            return f;
    return 0;
}
} // namespace

int convertVectorToIntegers(int size, const double* DV, int* IV, int maxfac) {
    if (size < 1)
        return 1;
    if (maxfac < 1)
        return 0;
    int L = 1;
    for (int i = 0; i < size; ++i) {
        int f = integralFactor(DV[i], maxfac);
        if (f == 0)
            return 0;
        L = SCM(L, f);
    }
    for (int i = 0; i < size; ++i)
        IV[i] = nearestInt(L * DV[i]);
    return 1;
}

double absD(double X) {
    return std::fabs(X);
}

// ---------------------------------------------------------------- complex numbers

void complexProduct(double R1, double I1, double R2, double I2, double* R3, double* I3) {
    double re = R1 * R2 - I1 * I2;
    double im = R1 * I2 + I1 * R2;
    *R3 = re;
    *I3 = im;
}

void complexRatio(double R1, double I1, double R2, double I2, double* R3, double* I3) {
    double d = R2 * R2 + I2 * I2;
    double re = (R1 * R2 + I1 * I2) / d;
    double im = (I1 * R2 - R1 * I2) / d;
    *R3 = re;
    *I3 = im;
}

double absC(double R, double I) {
    return std::sqrt(R * R + I * I);
}

double compareC(double R1, double I1, double R2, double I2) {
    return absC(R1 - R2, I1 - I2);
}

void complexExp(double R1, double I1, double* R3, double* I3) {
    double e = std::exp(R1);
    *R3 = e * std::cos(I1);
    *I3 = e * std::sin(I1);
}

void complexImExp(double R1, double I1, double* R3, double* I3) {
    double e = std::exp(-I1);
    *R3 = e * std::cos(R1);
    *I3 = e * std::sin(R1);
}

double getPhase(double R, double I) {
    double offset = 0;
    if (I < 0) {
        R = -R;
        I = -I;
        offset = Pi;
    }
    if (std::fabs(R) < Tolerance)
        return offset + Pi / 2;
    if (R > 0)
        return std::atan(I / R) + offset;
    return std::atan(I / R) + Pi + offset;
}

double getPhaseTEST(double R, double I) {
    double phi = getPhase(R, I);
    double c = std::cos(phi);
    double s = std::sin(phi);
    if (std::fabs(c - R) > Tolerance || std::fabs(s - I) > Tolerance)
        std::printf("**** (%7.4f,%7.4f) != (%7.4f,%7.4f)\n", R, I, c, s);
    return phi;
}

void complexSquareRoot(double R, double I, double* Rout, double* Iout) {
    if (std::fabs(R) <= Tolerance)
        R = 0;
    double re;
    double im;
    if (std::fabs(I) <= Tolerance && R > 0) {
        re = std::sqrt(R);
        im = 0;
    } else {
        double s = std::sqrt(std::sqrt(std::fabs(R * R + I * I)));
        double half = getPhase(R, I) / 2;
        re = s * std::cos(half);
        im = s * std::sin(half);
    }
    if (std::fabs(re) <= Tolerance)
        re = 0;
    if (std::fabs(im) <= Tolerance)
        im = 0;
    if (re < 0) {
        re = -re;
        im = -im;
    } else if (re == 0 && im < 0) {
        im = -im;
    }
    *Rout = re;
    *Iout = im;
}

// ---------------------------------------------------------------- random numbers

double dRandom() {
    seedOnce();
    return std::rand() / 2147483647.0;
}

int randomNumber(int Max) {
    seedOnce();
    return truncToInt(Max * (std::rand() / 2147483647.0));
}
