#include "numeric/MathUtility.h"

#include "TestSupport.h"

#include <gtest/gtest.h>

#include <climits>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <limits>
#include <string>
#include <vector>

namespace {

using testsupport::contains;
using testsupport::outputOf;

constexpr double Pi = 3.14159265358979323846;

rat R(int num, int den) {
    return rat{num, den};
}

void expectRat(const rat& r, int num, int den) {
    EXPECT_EQ(r.num, num);
    EXPECT_EQ(r.den, den);
}

// ---------------------------------------------------------------- integers

TEST(MathUtilityGcd, EdgeValues) {
    EXPECT_EQ(GCD(0, 0), 0);
    EXPECT_EQ(GCD(0, -6), 6);
    EXPECT_EQ(GCD(-12, 18), 6);
    EXPECT_EQ(SCM(0, 5), 1);
    EXPECT_EQ(SCM(-4, 6), 12);
}

TEST(MathUtilityGcd, AgreesWithDivisorSearchAndLcmIdentity) {
    for (int a = -30; a <= 30; ++a)
        for (int b = -30; b <= 30; ++b) {
            if (a == 0 || b == 0)
                continue;
            int largest = 1;
            for (int d = 1; d <= std::abs(a); ++d)
                if (a % d == 0 && b % d == 0)
                    largest = d;
            ASSERT_EQ(GCD(a, b), largest) << a << " " << b;
            // gcd * lcm = |a b|, and the lcm is a common multiple.
            int l = SCM(a, b);
            ASSERT_EQ(largest * l, std::abs(a * b)) << a << " " << b;
            ASSERT_EQ(l % a, 0);
            ASSERT_EQ(l % b, 0);
        }
}

TEST(MathUtilityMod, NonNegativeRemainder) {
    EXPECT_EQ(mod(-7, 3), 2);
    EXPECT_EQ(mod(-6, 3), 0);
    EXPECT_EQ(mod(5, 1), 0);
    EXPECT_EQ(mod(4, 7), 4);
    for (int i = -50; i <= 50; ++i)
        for (int j = 1; j <= 9; ++j) {
            int r = mod(i, j);
            ASSERT_GE(r, 0);
            ASSERT_LT(r, j);
            ASSERT_EQ((i - r) % j, 0);
        }
}

TEST(MathUtilityIntegers, SmallHelpers) {
    EXPECT_EQ(HalfEntier(-3), -1);
    EXPECT_EQ(HalfEntier(7), 3);
    EXPECT_EQ(MaxVal(-2, 5), 5);
    EXPECT_EQ(MinVal(-2, 5), -2);
    EXPECT_EQ(sign_(-9), -1);
    EXPECT_EQ(sign_(0), 0);
    EXPECT_EQ(sign_(4), 1);
    EXPECT_EQ(SignPow(0), 1);
    EXPECT_EQ(SignPow(3), -1);
    EXPECT_EQ(SignPow(-3), -1);
    EXPECT_EQ(SignPow(-4), 1);
}

TEST(MathUtilityIntegers, IntdivideReportsZeroAndNonDivisors) {
    EXPECT_EQ(intdivide(-12, 4), -3);
    int r = 1;
    std::string out = outputOf([&] { r = intdivide(12, 0); });
    EXPECT_EQ(r, 0);
    EXPECT_TRUE(contains(out, "Zero denominator in division")) << out;
    out = outputOf([&] { r = intdivide(12, 5); });
    EXPECT_EQ(r, 0);
    EXPECT_TRUE(contains(out, "5 does not divide 12")) << out;
}

TEST(MathUtilityIntegers, DivTwoTruncatesAndReportsOdd) {
    EXPECT_EQ(divTwo(6, 1), 3);
    int r = 0;
    std::string out = outputOf([&] { r = divTwo(-3, 2); });
    EXPECT_EQ(r, -1);
    EXPECT_TRUE(contains(out, "Not divisible by 2: -3 (variable nr 2")) << out;
}

TEST(MathUtilityIntegers, Powers) {
    EXPECT_EQ(intpow(3, 4), 81);
    EXPECT_EQ(intpow(-2, 3), -8);
    EXPECT_EQ(intpow(5, 0), 1);
    EXPECT_EQ(twopow(0), 1);
    EXPECT_EQ(twopow(10), 1024);
    int r = 0;
    std::string out = outputOf([&] { r = twopow(31); });
    EXPECT_EQ(r, INT_MIN);
    EXPECT_EQ(out, "");
    out = outputOf([&] { r = twopow(32); });
    EXPECT_EQ(r, 0);
    EXPECT_TRUE(contains(out, "Overflow in exponentiation")) << out;
    out = outputOf([&] { r = twopow(-1); });
    EXPECT_EQ(r, 1);
    EXPECT_TRUE(contains(out, "Negative power")) << out;
    out = outputOf([&] { r = intpow(2, -1); });
    EXPECT_EQ(r, 1);
    EXPECT_TRUE(contains(out, "Negative power")) << out;
}

TEST(MathUtilityIntegers, FactorialUpToTwelve) {
    EXPECT_EQ(factorial(0), 1);
    EXPECT_EQ(factorial(-3), 1);
    int expected = 1;
    for (int n = 1; n <= 12; ++n) {
        expected *= n;
        EXPECT_EQ(factorial(n), expected) << n;
    }
    EXPECT_EQ(factorial(12), 479001600);
    int r = 0;
    std::string out = outputOf([&] { r = factorial(13); });
    EXPECT_EQ(r, 2147483647);
    EXPECT_TRUE(contains(out, "Integer overflow")) << out;
}

TEST(MathUtilityIntegers, BinomialsFollowPascalsTriangle) {
    std::vector<std::vector<double>> pascal(25);
    for (int n = 0; n < 25; ++n) {
        pascal[n].assign(n + 1, 1.0);
        for (int k = 1; k < n; ++k)
            pascal[n][k] = pascal[n - 1][k - 1] + pascal[n - 1][k];
    }
    for (int n = 0; n < 25; ++n)
        for (int k = 0; k <= n; ++k) {
            ASSERT_EQ(binomial(n, k), static_cast<int>(pascal[n][k])) << n << " " << k;
            ASSERT_NEAR(binomialD(n, k), pascal[n][k], 1e-6 * pascal[n][k]);
        }
    EXPECT_EQ(binomial(5, 2), 10);
    EXPECT_EQ(binomial(5, 7), 1);
    EXPECT_EQ(binomial(5, -1), 1);
    EXPECT_EQ(binomialD(4, 0), 1.0);
}

TEST(MathUtilityIntegers, IntegerSquareRoot) {
    for (int r = 0; r < 200; ++r)
        ASSERT_EQ(isqrt(r * r), r);
    int r = 0;
    std::string out = outputOf([&] { r = isqrt(15); });
    EXPECT_EQ(r, 3);
    EXPECT_TRUE(contains(out, "Square root of 15 is not integer")) << out;
    out = outputOf([&] { r = isqrt(-1); });
    EXPECT_EQ(r, -1);
    EXPECT_TRUE(contains(out, "Negative square root argument")) << out;
}

TEST(MathUtilityPrimes, TableMatchesSieve) {
    const int limit = 20000;
    std::vector<bool> composite(limit + 1, false);
    std::vector<int> sieve;
    for (int n = 2; n <= limit; ++n) {
        if (composite[n])
            continue;
        sieve.push_back(n);
        for (int m = 2 * n; m <= limit; m += n)
            composite[m] = true;
    }
    // Past the first 100 entries the table has grown at least once.
    for (int i = 0; i < static_cast<int>(sieve.size()); ++i)
        ASSERT_EQ(prime(i), sieve[i]) << i;
    EXPECT_EQ(prime(0), 2);
    EXPECT_EQ(prime(4), 11);
    EXPECT_EQ(prime(5), 13);
    EXPECT_EQ(prime(99), 541);
    EXPECT_EQ(prime(999), 7919);
    EXPECT_EQ(prime(-1), 1);
}

TEST(MathUtilityPrimes, PrimePowersAndSmallestFactor) {
    struct Case {
        int n, singlePower, smallestFactor;
    };
    const Case cases[] = {{1, 1, 0},     {2, 1, 0},   {3, 1, 0},   {4, 1, 2},   {6, 0, 2},
                          {8, 1, 2},     {9, 1, 3},   {12, 0, 2},  {15, 0, 3},  {49, 1, 7},
                          {91, 0, 7},    {97, 1, 0},  {100, 0, 2}, {243, 1, 3}, {7919, 1, 0},
                          {7921, 1, 89}, {7917, 0, 3}};
    for (const Case& c : cases) {
        EXPECT_EQ(SinglePrimePower(c.n), c.singlePower) << c.n;
        EXPECT_EQ(primetest(c.n), c.smallestFactor) << c.n;
    }
    EXPECT_EQ(primetest(-9), 0);
    EXPECT_EQ(primetest(0), 0);
}

// ---------------------------------------------------------------- rationals

TEST(MathUtilityRat, NormalFormAndConstruction) {
    rat r = R(6, -4);
    simplifyRat(&r);
    expectRat(r, -3, 2);
    r = R(0, -5);
    simplifyRat(&r);
    expectRat(r, 0, 1);
    r = R(0, 0);
    simplifyRat(&r);
    expectRat(r, 0, 0);
    r = R(-10, -15);
    simplifyRat(&r);
    expectRat(r, 2, 3);
    torat2(3, -6, &r);
    expectRat(r, 1, -2);
    torat2(0, 7, &r);
    expectRat(r, 0, 1);
    torat(-4, &r);
    expectRat(r, -4, 1);
    setzero(&r);
    expectRat(r, 0, 1);
    rat c;
    copyRat(&c, &r);
    expectRat(c, 0, 1);
}

TEST(MathUtilityRat, ArithmeticReducesAndAllowsAliasing) {
    rat a = R(1, 6), b = R(1, 3), c;
    addRat(&a, &b, &c);
    expectRat(c, 1, 2);
    a = R(1, 2);
    subtractRat(&a, &a, &c);
    expectRat(c, 0, 1);
    a = R(1, 3);
    b = R(1, 2);
    subtractRat(&a, &b, &c);
    expectRat(c, -1, 6);
    a = R(2, 3);
    b = R(9, 4);
    multiplyRat(&a, &b, &c);
    expectRat(c, 3, 2);
    // The result may be an input.
    a = R(1, 4);
    addRat(&a, &a, &a);
    expectRat(a, 1, 2);
    multiplyRat(&a, &a, &a);
    expectRat(a, 1, 4);
    // The denominator keeps the sign the arithmetic gives it.
    a = R(1, -2);
    b = R(1, 3);
    addRat(&a, &b, &c);
    expectRat(c, 1, -6);
}

TEST(MathUtilityRat, ReducedResultSurvivesLargeIntermediateProduct) {
    // 65536 * 65536 does not fit in 32 bits, the reduced sum does.
    rat a = R(1, 65536), c;
    addRat(&a, &a, &c);
    expectRat(c, 1, 32768);
}

TEST(MathUtilityRat, FractionalPart) {
    struct Case {
        int num, den, fnum, fden;
    };
    const Case cases[] = {{-1, 3, 2, 3}, {7, 3, 1, 3}, {5, 1, 0, 1},
                          {-7, 3, 2, 3}, {0, 1, 0, 1}, {-6, 1, 0, 1}};
    for (const Case& c : cases) {
        rat r = R(c.num, c.den);
        rat* back = RatToFrac(&r);
        EXPECT_EQ(back, &r);
        expectRat(r, c.fnum, c.fden);
    }
}

TEST(MathUtilityRat, IntegerAndHalfIntegerChecks) {
    rat r = R(4, 2);
    EXPECT_EQ(intcheck(&r), 0);
    r = R(1, 2);
    EXPECT_EQ(intcheck(&r), 1);
    r = R(3, 2);
    EXPECT_EQ(halfintcheck(&r), 1);
    r = R(-5, 2);
    EXPECT_EQ(halfintcheck(&r), 1);
    r = R(1, 3);
    EXPECT_EQ(halfintcheck(&r), 2);
    r = R(-5, 1);
    EXPECT_EQ(halfintcheck(&r), 0);
    r = R(1, 4);
    EXPECT_EQ(halfintcheck(&r), 2);
}

TEST(MathUtilityRat, OptimalRoot) {
    rat d = R(1, 2), e;
    optimalRoot(&d, &e, 3);
    expectRat(e, 1, 2); // (1/2 + 1)/3
    d = R(1, 3);
    optimalRoot(&d, &e, 3);
    expectRat(e, 1, 9);
    d = R(0, 1);
    optimalRoot(&d, &e, 5);
    expectRat(e, 0, 1);
    // (1/4 + k)/6: k = 1 gives 5/24, k = 2 gives 9/24 = 3/8 (g = 3), k = 5 gives 21/24 = 7/8
    // (g = 3 as well, later): the first largest g wins.
    d = R(1, 4);
    optimalRoot(&d, &e, 6);
    expectRat(e, 3, 8);
}

TEST(MathUtilityRat, DoubleToRatFreeDenominator) {
    // 3x must come within 1e-7 of an integer: 1/3 + 3e-8 passes, 1/3 + 4e-8 does not.
    rat* r = doubleToRat(1.0 / 3 + 3e-8);
    expectRat(*r, 1, 3);
    std::string out = outputOf([&] { r = doubleToRat(1.0 / 3 + 4e-8); });
    expectRat(*r, 0, 1);
    EXPECT_TRUE(contains(out, "could not be converted to rational")) << out;
    expectRat(*doubleToRat(-0.75), -3, 4);
    expectRat(*doubleToRat(2.0), 2, 1);
    expectRat(*doubleToRat(-7.0 / 144), -7, 144);
    EXPECT_EQ(doubleToRat(0.5), r); // one static result
    out = outputOf([&] { r = doubleToRat(5e-8); });
    expectRat(*r, 0, 1);
    EXPECT_EQ(out, "");
    out = outputOf([&] { r = doubleToRat(1.0 / 145); });
    expectRat(*r, 0, 1);
    EXPECT_TRUE(contains(out, "could not be converted to rational")) << out;
}

TEST(MathUtilityRat, DoubleToRatWithExpectedDenominator) {
    rat* r = nullptr;
    std::string out = outputOf([&] { r = DoubleToRat(-0.25, 8); });
    expectRat(*r, -1, 4);
    EXPECT_EQ(out, "");
    out = outputOf([&] { r = DoubleToRat(1.0 / 6, 2); });
    expectRat(*r, 1, 6);
    EXPECT_TRUE(contains(out, "Rat conversion problem; re-trying")) << out;
    out = outputOf([&] { r = DoubleToRat(std::sqrt(2.0), 4); });
    expectRat(*r, 0, 1);
    EXPECT_TRUE(contains(out, "Failed to convert")) << out;
}

// ---------------------------------------------------------------- tolerances and rounding

TEST(MathUtilityTolerance, BoundIsInclusive) {
    EXPECT_EQ(ZeroCheck(1e-7), 1);
    EXPECT_EQ(ZeroCheck(-1e-7), 1);
    EXPECT_EQ(ZeroCheck(1.1e-7), 0);
    EXPECT_EQ(ZeroCheck(-5e-8), 1);
    EXPECT_EQ(IntCheck(1e-7), 1);
    EXPECT_EQ(IntCheck(-1e-7), 1);
    EXPECT_EQ(IntCheck(1.1e-7), 0);
    EXPECT_EQ(IntCheck(-4.00000005), 1);
    EXPECT_EQ(IntCheck(0.5), 0);
    EXPECT_EQ(CZeroCheck(5e-8, -5e-8), 1);
    EXPECT_EQ(CZeroCheck(6e-8, 6e-8), 0);
    EXPECT_EQ(ZeroModOneCheck(-3.00000005), 1);
    EXPECT_EQ(ZeroModOneCheck(2.4), 0);
    EXPECT_EQ(ZeroModOneCheck(2.99999995), 1);
}

TEST(MathUtilityTolerance, HalvesRoundAwayFromZero) {
    EXPECT_EQ(DoubleToInt(2.5), 3);
    EXPECT_EQ(DoubleToInt(-2.5), -3);
    int r = 0;
    std::string out = outputOf([&] { r = DoubleToInt(2.0000001); });
    EXPECT_EQ(r, 2);
    EXPECT_EQ(out, "");
    out = outputOf([&] { r = DoubleToInt(2.01); });
    EXPECT_EQ(r, 2);
    EXPECT_TRUE(contains(out, "Integer conversion problem for")) << out;
    out = outputOf([&] { r = IntegerPart(2.5); });
    EXPECT_EQ(r, 3);
    EXPECT_TRUE(contains(out, "Integer part ambiguous for")) << out;
    out = outputOf([&] { r = IntegerPart(-2.4); });
    EXPECT_EQ(r, -2);
    EXPECT_EQ(out, "");
}

TEST(MathUtilityTolerance, ConversionsToIntegers) {
    int r = 99;
    EXPECT_EQ(DoubleToInteger(2.6, &r), 0);
    EXPECT_EQ(r, 3);
    EXPECT_EQ(DoubleToInteger(-6.99999999, &r), 1);
    EXPECT_EQ(r, -7);
    r = 99;
    EXPECT_EQ(ComplexToInteger(3.0, 1e-3, &r), 0);
    EXPECT_EQ(r, 99);
    EXPECT_EQ(ComplexToInteger(3.00000001, -1e-8, &r), 1);
    EXPECT_EQ(r, 3);
    EXPECT_EQ(ComplexToInt(-4.0, 5e-8), -4);
}

TEST(MathUtilityTolerance, ComplexToIntReportsEveryFailure) {
    const double inf = std::numeric_limits<double>::infinity();
    const double nan = std::numeric_limits<double>::quiet_NaN();
    const double bad[][2] = {{4.0, 0.1}, {4.3, 0.0}, {inf, 0.0}, {1.0, nan}};
    for (const auto& z : bad) {
        int r = 0;
        std::string out = outputOf([&] { r = ComplexToInt(z[0], z[1]); });
        EXPECT_EQ(r, 2147483647);
        EXPECT_TRUE(contains(out, "Integer conversion problem for (")) << out;
    }
}

TEST(MathUtilityTolerance, FractionalPartOfDoubles) {
    EXPECT_DOUBLE_EQ(DoubleToFrac(2.75), 0.75);
    EXPECT_DOUBLE_EQ(DoubleToFrac(-0.25), 0.75);
    EXPECT_DOUBLE_EQ(DoubleToFrac(3.0), 0.0);
    EXPECT_NEAR(DoubleToFrac(-1.0), 0.0, 1e-12);
    EXPECT_NEAR(DoubleToFrac(-2.00000001), 0.0, 1e-7);
    EXPECT_NEAR(DoubleToFrac(-1.75), 0.25, 1e-12);
}

TEST(MathUtilityTolerance, ComplexPositivity) {
    EXPECT_EQ(CposCheck(1e-8, -1), 0);
    EXPECT_EQ(CposCheck(0, 0), 1);
    EXPECT_EQ(CposCheck(-1e-8, 1e-8), 1);
    EXPECT_EQ(CposCheck(2, -5), 1);
    EXPECT_EQ(CposCheck(-2, 5), 0);
    EXPECT_EQ(CposCheck(0, 3), 1);
}

TEST(MathUtilityTolerance, DoubleComparePrintsDeviation) {
    int r = 1;
    std::string out = outputOf([&] { r = doubleCompare(1.0, 1.05, 0.1); });
    EXPECT_EQ(r, 0);
    EXPECT_EQ(out, "");
    out = outputOf([&] { r = doubleCompare(1.0, 1.5, 0.1); });
    EXPECT_EQ(r, 1);
    // Three fields of 30 characters after "Deviation:", one blank before each.
    const std::string pad(14, ' ');
    EXPECT_EQ(out, "Deviation:" + pad + "1.000000000000000" + pad + "1.500000000000000" + pad +
                       "0.500000000000000\n");
}

TEST(MathUtilityTolerance, CommonIntegerScaling) {
    double dv[] = {0.5, 0.25};
    int iv[2] = {7, 7};
    EXPECT_EQ(convertVectorToIntegers(2, dv, iv, 3), 0);
    EXPECT_EQ(iv[0], 7);
    EXPECT_EQ(iv[1], 7);
    EXPECT_EQ(convertVectorToIntegers(2, dv, iv, 10), 1);
    EXPECT_EQ(iv[0], 2);
    EXPECT_EQ(iv[1], 1);
    double thirdsAndHalves[] = {1.0 / 3, -0.5, 2.0};
    int out[3];
    EXPECT_EQ(convertVectorToIntegers(3, thirdsAndHalves, out, 5), 1);
    EXPECT_EQ(out[0], 2);
    EXPECT_EQ(out[1], -3);
    EXPECT_EQ(out[2], 12);
    EXPECT_EQ(convertVectorToIntegers(0, dv, iv, 10), 1);
    EXPECT_EQ(convertVectorToIntegers(2, dv, iv, 0), 0);
}

TEST(MathUtilityTolerance, Finiteness) {
    EXPECT_TRUE(isfinite(1.0));
    EXPECT_FALSE(isfinite(std::numeric_limits<double>::infinity()));
    EXPECT_FALSE(isfinite(std::numeric_limits<double>::quiet_NaN()));
    EXPECT_EQ(absD(-2.5), 2.5);
}

// ---------------------------------------------------------------- complex numbers

TEST(MathUtilityComplex, ArithmeticAndExponentials) {
    double re, im;
    complexProduct(1, 2, 3, 4, &re, &im);
    EXPECT_DOUBLE_EQ(re, -5);
    EXPECT_DOUBLE_EQ(im, 10);
    complexRatio(-5, 10, 3, 4, &re, &im);
    EXPECT_DOUBLE_EQ(re, 1);
    EXPECT_DOUBLE_EQ(im, 2);
    // Outputs may be the inputs' own variables.
    re = 0;
    im = 1;
    complexProduct(re, im, re, im, &re, &im);
    EXPECT_DOUBLE_EQ(re, -1);
    EXPECT_DOUBLE_EQ(im, 0);
    EXPECT_DOUBLE_EQ(absC(3, 4), 5);
    EXPECT_DOUBLE_EQ(compareC(1, 1, 4, 5), 5);
    complexExp(0, Pi, &re, &im);
    EXPECT_NEAR(re, -1, 1e-12);
    EXPECT_NEAR(im, 0, 1e-12);
    complexExp(1, 0, &re, &im);
    EXPECT_NEAR(re, std::exp(1.0), 1e-12);
    complexImExp(Pi / 2, 0, &re, &im);
    EXPECT_NEAR(re, 0, 1e-12);
    EXPECT_NEAR(im, 1, 1e-12);
    complexImExp(0, 1, &re, &im);
    EXPECT_NEAR(re, std::exp(-1.0), 1e-12);
    EXPECT_NEAR(im, 0, 1e-12);
}

TEST(MathUtilityComplex, PhaseLiesInZeroToTwoPi) {
    struct Case {
        double R, I, phase;
    };
    const Case cases[] = {{1, 1, Pi / 4},      {-1, -1, 5 * Pi / 4}, {0, 0, Pi / 2},
                          {-1, 0, Pi},         {0, -1, 3 * Pi / 2},  {1, 0, 0},
                          {-1, 1, 3 * Pi / 4}, {1, -1, 7 * Pi / 4},  {0, 2, Pi / 2}};
    for (const Case& c : cases)
        EXPECT_NEAR(getPhase(c.R, c.I), c.phase, 1e-12) << c.R << " " << c.I;
}

TEST(MathUtilityComplex, PhaseTestWarnsOffTheUnitCircle) {
    double phi = 0;
    std::string out = outputOf([&] { phi = getPhaseTEST(0, -1); });
    EXPECT_NEAR(phi, 3 * Pi / 2, 1e-12);
    EXPECT_EQ(out, "");
    out = outputOf([&] { phi = getPhaseTEST(2, 0); });
    EXPECT_NEAR(phi, 0, 1e-12);
    EXPECT_EQ(out, "**** ( 2.0000, 0.0000) != ( 1.0000, 0.0000)\n");
}

TEST(MathUtilityComplex, SquareRootBranch) {
    struct Case {
        double R, I, sr, si;
    };
    const Case cases[] = {{-4, 0, 0, 2}, {0, -2, 1, -1}, {4, 0, 2, 0},
                          {3, 4, 2, 1},  {3, -4, 2, -1}, {0, 0, 0, 0}};
    for (const Case& c : cases) {
        double re, im;
        complexSquareRoot(c.R, c.I, &re, &im);
        EXPECT_NEAR(re, c.sr, 1e-12) << c.R << " " << c.I;
        EXPECT_NEAR(im, c.si, 1e-12) << c.R << " " << c.I;
    }
    // The square of the root gives the number back.
    for (double R = -3; R <= 3; R += 0.75)
        for (double I = -3; I <= 3; I += 0.75) {
            double re, im, sq, si;
            complexSquareRoot(R, I, &re, &im);
            complexProduct(re, im, re, im, &sq, &si);
            EXPECT_NEAR(sq, R, 1e-9);
            EXPECT_NEAR(si, I, 1e-9);
            EXPECT_TRUE(re > 0 || (re == 0 && im >= 0));
        }
}

// ---------------------------------------------------------------- random numbers

TEST(MathUtilityRandom, Ranges) {
    for (int i = 0; i < 1000; ++i) {
        double d = dRandom();
        ASSERT_GE(d, 0.0);
        ASSERT_LE(d, 1.0);
        int n = randomNumber(5);
        ASSERT_GE(n, 0);
        ASSERT_LE(n, 5);
        ASSERT_EQ(randomNumber(0), 0);
    }
}

} // namespace
