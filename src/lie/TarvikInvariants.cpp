// Invariants of a highest weight: Weyl dimension, quadratic Casimir, conformal weight at a
// level and quantum dimension, computed on the horizontal algebra of the type.
#include "lie/Tarvik.h"

#include "lie/TarvikInternal.h"

#include "numeric/LargeInteger.h"
#include "numeric/MathUtility.h"

#include <cmath>
#include <numeric>

namespace {

constexpr double TwoPi = 6.283185307179586;
constexpr long double ExactLimit = 1e9;

fint* dimensionValue = nullptr;
fint* dimensionFactor = nullptr;
rat casimirValue{0, 1};

// For the positive root in row k: a = sum (lambda_i + 1) row_i and b = sum row_i, that is six
// times (lambda + rho, alpha) and six times (rho, alpha).
void rootProducts(const int* rep, int rank, int k, int* a, int* b) {
    const int* row = getRootSystem() + k * rank;
    *a = 0;
    *b = 0;
    for (int i = 0; i < rank; i++) {
        *a += (rep[i] + 1) * row[i];
        *b += row[i];
    }
}

long double weylProduct(const int* rep, int type, int rank) {
    PositiveRoots(type, rank);
    long double d = 1;
    for (int k = 0; k < getNpos(); k++) {
        int a = 0, b = 0;
        rootProducts(rep, rank, k, &a, &b);
        d *= a;
        d /= b;
    }
    return d;
}

int freeBosonDimension(const int* rep, int radius) {
    return 2 * rep[0] == radius ? 2 : 1;
}

// Numerator of (lambda, lambda + 2 rho) over MetricNorm.
long long casimirNumerator(const int* rep, int rank) {
    const int* icm = getICM();
    long long total = 0;
    for (int i = 0; i < rank; i++)
        for (int j = 0; j < rank; j++)
            total += static_cast<long long>(rep[i] + 2) * icm[i + j * rank] * rep[j];
    return total;
}

} // namespace

// B(2t) of rank 1 keeps its own data: its one finite root is short, as in every B(2t), while
// the rank-1 rule of the untwisted types would make the horizontal B1 an A1 with a long root
// and double every conformal weight.
int tarvik_internal::metricType(int type, int rank) {
    return type == 13 && rank == 1 ? type : LieType(type);
}

fint* IntegerDim(const int* rep, int type, int rank) {
    if (type < 0)
        return nullptr;
    dimensionValue = inttofint(1, dimensionValue);
    if (type == 0)
        return inttofint(freeBosonDimension(rep, rank), dimensionValue);
    PositiveRoots(type, rank);
    for (int k = 0; k < getNpos(); k++) {
        int a = 0, b = 0;
        rootProducts(rep, rank, k, &a, &b);
        dimensionFactor = inttofint(a, dimensionFactor);
        fint_prod(dimensionValue, dimensionFactor, dimensionValue);
        dimensionFactor = inttofint(b, dimensionFactor);
        fint_ratio(dimensionValue, dimensionFactor, dimensionValue);
    }
    return dimensionValue;
}

double Dim(const int* rep, int type, int rank) {
    if (type < 0)
        return 0.0;
    if (type == 0)
        return freeBosonDimension(rep, rank);
    if (rank == 0)
        return 1.0;
    return static_cast<double>(weylProduct(rep, type, rank));
}

int Dimension(const int* rep, int type, int rank) {
    if (type < 0)
        return 0;
    if (type == 0)
        return freeBosonDimension(rep, rank);
    if (rank == 0)
        return 1;
    long double d = weylProduct(rep, type, rank);
    if (d < ExactLimit)
        return static_cast<int>(d + 0.01);
    // Beyond an int: the exact value is kept in the big-integer table, which takes it over.
    lint* exact = lint_alloc(5);
    fint_to_lint(IntegerDim(rep, type, rank), exact);
    int handle = storePositiveLint(exact);
    if (handle >= 0)
        lint_free(exact);
    return handle;
}

rat* RCasimir(const int* rep, int type, int rank) {
    if (type == 0) {
        casimirValue = {0, 1};
        return &casimirValue;
    }
    InverseCartan(tarvik_internal::metricType(type, rank), rank);
    long long num = casimirNumerator(rep, rank);
    long long den = 2LL * getMetricNorm();
    long long g = std::gcd(num < 0 ? -num : num, den);
    casimirValue = {static_cast<int>(num / g), static_cast<int>(den / g)};
    simplifyRat(&casimirValue);
    return &casimirValue;
}

double Casimir(const int* rep, int type, int rank) {
    if (type == 0)
        return 0.0;
    InverseCartan(tarvik_internal::metricType(type, rank), rank);
    long double sum = casimirNumerator(rep, rank);
    return static_cast<double>(sum / getMetricNorm() * 0.5L);
}

int DynkinNorm(const int* rep, int type, int rank) {
    if (type == 0)
        return 0;
    InverseCartan(tarvik_internal::metricType(type, rank), rank);
    const int* icm = getICM();
    int total = 0;
    for (int i = 0; i < rank; i++)
        for (int j = 0; j < rank; j++)
            total += rep[i] * icm[i + j * rank] * rep[j];
    return total;
}

int Weight_denom(int type, int rank, int level, int g) {
    if (type == 0)
        return 2 * rank;
    InverseCartan(tarvik_internal::metricType(type, rank), rank);
    return 2 * getMetricNorm() * (level + g);
}

void RatWt(const int* rep, int type, int rank, int level, rat* RW) {
    if (type == 0) {
        int m = rep[0];
        if (m > rank / 2)
            m = rank - m;
        torat2(m * m, 2 * rank, RW);
        simplifyRat(RW);
        return;
    }
    rat c = *RCasimir(rep, type, rank);
    int g = dualCoxeter(type, rank);
    torat2(c.num, (g + level) * c.den, RW);
    simplifyRat(RW);
}

double QDim(const int* rep, int type, int rank, int level) {
    if (type < 0 || type > 5)
        return 0.0;
    if (type == 0)
        return 1.0;
    int g = dualCoxeter(type, rank);
    double D = 12.0 * (g + level);
    PositiveRoots(type, rank);
    double q = 1.0;
    for (int k = 0; k < getNpos(); k++) {
        int a = 0, b = 0;
        rootProducts(rep, rank, k, &a, &b);
        q = q * std::sin(TwoPi * a / D) / std::sin(TwoPi * b / D);
    }
    return q;
}
