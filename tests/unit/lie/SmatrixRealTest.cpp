#include "lie/SmatrixReal.h"

#include "LieTestHelpers.h"
#include "lie/Smatrix.h"
#include "lie/Tarvik.h"

#include <gtest/gtest.h>

#include <cmath>
#include <functional>
#include <numbers>
#include <string>
#include <vector>

namespace {

using lietest::integrableWeights;

using lietest::occurrences;
using lietest::reportsOf;

constexpr double Eps = 1e-9;

std::vector<double> finiteLabels(const std::vector<int>& w) {
    return std::vector<double>(w.begin(), w.end() - 1);
}

struct Value {
    double re = 0, im = 0;
};

// G2 prints its inputs; the tests keep that off the terminal.
Value doubleS(int type, int rank, int level, const std::vector<double>& a,
              const std::vector<double>& b, double factor) {
    Value v;
    testing::internal::CaptureStdout();
    DoubleSDirect(type, rank, level, a.data(), b.data(), &v.re, &v.im, factor);
    testing::internal::GetCapturedStdout();
    return v;
}

struct Triple {
    int type, rank, level;
};

// Factor 1 at integral labels is the S-matrix element, also at level 1 where SDirect uses its
// fixed tables for B and D and level-rank duality for C.
TEST(SmatrixReal, FactorOneGivesTheSMatrixElement) {
    const Triple cases[] = {
        {1, 1, 3}, {1, 2, 2}, {1, 3, 2}, {1, 2, 1}, {2, 2, 2}, {2, 3, 2}, {2, 3, 1},
        {3, 2, 2}, {3, 3, 2}, {3, 2, 1}, {3, 3, 1}, {4, 4, 2}, {4, 5, 2}, {4, 4, 1},
        {4, 5, 1}, {4, 6, 1}, {4, 7, 1}, {5, 2, 2}, {5, 4, 2}, {5, 2, 1},
    };
    for (const Triple& t : cases) {
        SCOPED_TRACE(testing::Message() << t.type << "," << t.rank << " level " << t.level);
        const auto weights = integrableWeights(t.type, t.rank, t.level);
        ASSERT_GT(weights.size(), 1u);
        for (const auto& u : weights) {
            for (const auto& w : weights) {
                Value s;
                SDirect(t.type, t.rank, t.level, u.data(), w.data(), &s.re, &s.im);
                Value d = doubleS(t.type, t.rank, t.level, finiteLabels(u), finiteLabels(w), 1.0);
                EXPECT_NEAR(d.re, s.re, Eps);
                EXPECT_NEAR(d.im, s.im, Eps);
            }
        }
    }
}

// A1 and C1 at real weights: sqrt(2/(k+2)) sin(pi (a+1)(b+1) f / (k+2)).
TEST(SmatrixReal, RankOneClosedForm) {
    const double cases[][4] = {
        // a, b, factor, level
        {0.5, 1.25, 1.0, 3},
        {0.0, 0.0, 0.3, 1},
        {2.7, -0.4, 1.7, 5},
        {1.0, 2.0, 0.0, 2},
    };
    for (const auto& c : cases) {
        const double k = c[3];
        const double expected = std::sqrt(2 / (k + 2)) * std::sin(std::numbers::pi * (c[0] + 1) *
                                                                  (c[1] + 1) * c[2] / (k + 2));
        for (int type : {1, 3}) {
            Value v = doubleS(type, 1, static_cast<int>(k), {c[0]}, {c[1]}, c[2]);
            EXPECT_NEAR(v.re, expected, Eps) << "type " << type;
            EXPECT_EQ(v.im, 0.0);
        }
    }
}

// Labels a + 1 = f (a' + 1): the factor only rescales lambda + rho.
std::vector<double> scaled(const std::vector<double>& a, double f) {
    std::vector<double> out(a.size());
    for (std::size_t i = 0; i < a.size(); i++)
        out[i] = f * (a[i] + 1) - 1;
    return out;
}

// lambda + rho reflected by s_i: the labels lose (a_i + 1) times column i of the Cartan matrix.
std::vector<double> reflected(int type, int rank, const std::vector<double>& a, int i) {
    Cartan(type, rank);
    const int* cm = getCM();
    std::vector<double> out(a);
    const double m = a[i] + 1;
    for (int j = 0; j < rank; j++)
        out[j] = (a[j] + 1) - m * cm[j + i * (rank + 1)] - 1;
    return out;
}

// The Weyl sum is alternating and bilinear in lambda + rho and mu + rho, at any real weights.
TEST(SmatrixReal, RealWeightsKeepTheWeylSymmetries) {
    const Triple algebras[] = {{1, 3, 2}, {2, 3, 1}, {3, 3, 2}, {4, 4, 2},
                               {4, 5, 3}, {5, 2, 1}, {5, 4, 2}};
    for (const Triple& t : algebras) {
        SCOPED_TRACE(testing::Message() << t.type << "," << t.rank);
        std::vector<double> a(t.rank), b(t.rank);
        for (int i = 0; i < t.rank; i++) {
            a[i] = 0.3 + 0.45 * i;
            b[i] = 1.1 - 0.2 * i;
        }
        const double f = 0.7;
        const Value base = doubleS(t.type, t.rank, t.level, a, b, f);
        EXPECT_GT(std::hypot(base.re, base.im), 1e-4); // not trivially zero

        const Value moved = doubleS(t.type, t.rank, t.level, scaled(a, f), b, 1.0);
        EXPECT_NEAR(moved.re, base.re, Eps);
        EXPECT_NEAR(moved.im, base.im, Eps);

        const Value swapped = doubleS(t.type, t.rank, t.level, b, a, f);
        EXPECT_NEAR(swapped.re, base.re, Eps);
        EXPECT_NEAR(swapped.im, base.im, Eps);

        for (int i = 0; i < t.rank; i++) {
            const Value r = doubleS(t.type, t.rank, t.level, reflected(t.type, t.rank, a, i), b, f);
            EXPECT_NEAR(r.re, -base.re, Eps) << "reflection " << i;
            EXPECT_NEAR(r.im, -base.im, Eps) << "reflection " << i;
        }
    }
}

TEST(SmatrixReal, FactorZeroGivesZero) {
    const Triple algebras[] = {{1, 1, 2}, {1, 3, 2}, {2, 3, 2}, {3, 1, 2}, {3, 3, 1},
                               {4, 4, 2}, {4, 5, 1}, {5, 2, 2}, {5, 4, 1}};
    for (const Triple& t : algebras) {
        std::vector<double> a(t.rank, 0.5), b(t.rank, 1.5);
        const Value v = doubleS(t.type, t.rank, t.level, a, b, 0.0);
        EXPECT_NEAR(v.re, 0.0, Eps) << t.type << "," << t.rank;
        EXPECT_NEAR(v.im, 0.0, Eps) << t.type << "," << t.rank;
    }
}

TEST(SmatrixReal, G2PrintsItsWeights) {
    const double a[] = {0.5, 1.0}, b[] = {-0.25, 2.0};
    double re = 7, im = 7;
    testing::internal::CaptureStdout();
    DoubleSDirect(5, 2, 1, a, b, &re, &im, 1.0);
    std::string out = testing::internal::GetCapturedStdout();
    EXPECT_EQ(out, "IN1  ( 0.5000, 1.0000)\nIN2  (-0.2500, 2.0000)\n");
    EXPECT_EQ(im, 0.0);
    EXPECT_NE(re, 7.0);
}

struct Unsupported {
    int type, rank;
    const char* report;
};

TEST(SmatrixReal, UnsupportedAlgebrasAreReported) {
    const Unsupported cases[] = {
        {5, 6, "Analytic S for exceptional type E not available"},
        {5, 7, "Analytic S for exceptional type E not available"},
        {5, 8, "Analytic S for exceptional type E not available"},
        {0, 4, "Analytic S for this algebra not available"},
        {13, 2, "Analytic S for this algebra not available"},
        {27, 1, "Analytic S for this algebra not available"},
        {2, 0, "Analytic S for this algebra not available"},
        {4, 1, "Analytic S for this algebra not available"},
    };
    for (const Unsupported& c : cases) {
        std::vector<double> a(std::max(c.rank, 1), 0.0);
        double re = 5, im = 6;
        std::string out =
            reportsOf([&] { DoubleSDirect(c.type, c.rank, 1, a.data(), a.data(), &re, &im, 1.0); });
        EXPECT_EQ(occurrences(out, c.report), 1) << c.type << "," << c.rank;
        EXPECT_EQ(re, 5.0);
        EXPECT_EQ(im, 6.0);
    }
}

// Each routine keeps its own constants; switching between algebras does not disturb them.
TEST(SmatrixReal, CachesFollowRankAndLevel) {
    const std::vector<double> a{0.5, 1.5, 0.0}, b{1.0, 0.25, 2.0};
    const Value first = doubleS(2, 3, 2, a, b, 1.3);
    doubleS(1, 4, 1, {0, 0, 0, 0}, {1, 0, 0, 0}, 1.0);
    doubleS(2, 3, 5, a, b, 1.3);
    const Value again = doubleS(2, 3, 2, a, b, 1.3);
    EXPECT_EQ(first.re, again.re);
    EXPECT_EQ(first.im, again.im);
}

} // namespace
