// Reflection coefficients and the oriented annulus, against what holds without our code. su(2)
// at level k has S_ab = sqrt(2/(k+2)) sin(pi (a+1)(b+1)/(k+2)) in Dynkin labels; its diagonal
// invariant has R = S and the oriented annulus of field i is the fusion matrix of i:
// N_ab^c = 1 exactly when |a-b| <= c <= min(a+b, 2k-a-b) and a+b+c is even. Its D-type invariant
// at level 4 has the boundaries 0, the orbit {1,3}, and the fixed point 2 resolved twice; the
// annulus of Dynkin label 1 is then the adjacency matrix of the D4 diagram, with the Perron-
// Frobenius vector (sqrt2 S_00, sqrt2 S_01, S_02/sqrt2, S_02/sqrt2) as R of the vacuum.
#include "CrossBoundTestHelpers.h"

#include "modular/ProductTestHelpers.h"

#include "base/Terminal.h"
#include "modular/Modular.h"

#include <gtest/gtest.h>

#include <climits>
#include <cmath>
#include <numbers>
#include <vector>

using namespace boundarytest;

namespace {

double su2S(int k, int a, int b) {
    return std::sqrt(2.0 / (k + 2)) * std::sin(std::numbers::pi * (a + 1) * (b + 1) / (k + 2));
}

int su2Fusion(int k, int a, int b, int c) {
    return std::abs(a - b) <= c && c <= std::min(a + b, 2 * k - a - b) && (a + b + c) % 2 == 0;
}

struct Values {
    std::vector<double> R;
    std::vector<int> O;
};

class Annulus : public BoundaryTest {
protected:
    void TearDown() override {
        stopSignal = 0;
        parameter("Use_orbits") = 2;
        BoundaryTest::TearDown();
    }
    static double re(int m, int a) {
        double r, i;
        getCurrentReflectionCoefficient(m, a, &r, &i);
        return r;
    }
    static void complexR(int m, int a, double* r, double* i) {
        getCurrentReflectionCoefficient(m, a, r, i);
    }
    // The Ishibashi labels whose coefficients in direct differ from those in stored by a sign,
    // as "check reflection" announces them; a failure for any other difference.
    static std::string signFlips(const std::vector<double>& stored,
                                 const std::vector<double>& direct) {
        const int B = TotalBoundaries();
        std::string text;
        for (int m = 0; m < TotalIshibashi(); m++) {
            double sign = 0;
            for (int a = 0; a < B; a++) {
                const std::size_t k = 2 * static_cast<std::size_t>(m * B + a);
                const double sr = stored[k], si = stored[k + 1], dr = direct[k], di = direct[k + 1];
                if (sign == 0 && std::fabs(dr) + std::fabs(di) >= 1e-7)
                    sign = sr * dr + si * di > 0 ? 1 : -1;
                EXPECT_NEAR(sr, sign * dr, 1e-12) << "R(" << m << "," << a << ")";
                EXPECT_NEAR(si, sign * di, 1e-12) << "R(" << m << "," << a << ")";
            }
            if (sign < 0)
                text += "Sign flip for m=" + std::to_string(m) + "\n";
        }
        return text;
    }
    // Invariant n under "Use_orbits" 2, 1 and 0: the same annulus, the same coefficients up to
    // the announced signs, the NIM-representation property, and no reports.
    void checkEveryPath(int n) {
        Values stored;
        std::string flips;
        for (int u : {2, 1, 0}) {
            parameter("Use_orbits") = u;
            ASSERT_NE(simpleCurrentInvariant(n), nullptr) << n;
            testsupport::Captured cap;
            const Values v = everything();
            if (u == 2) {
                stored = v;
                checkReflectionCoefficients();
                const int B = TotalBoundaries(), N = getTotalPrimaries();
                for (int i = 0; i < N; i++)
                    for (int j = 0; j < N; j++)
                        for (int a = 0; a < B; a++)
                            for (int b = 0; b < B; b++)
                                EXPECT_EQ(checkNIMfusion(i, j, a, b), 1);
                for (int o : v.O)
                    EXPECT_GE(o, 0);
                flips = cap.out();
            } else {
                EXPECT_EQ(cap.out(), "");
                EXPECT_EQ(signFlips(stored.R, v.R), flips)
                    << "invariant " << n << ", Use_orbits " << u;
            }
            EXPECT_EQ(cap.err(), "") << "invariant " << n << ", Use_orbits " << u;
            EXPECT_EQ(v.O, stored.O) << "invariant " << n << ", Use_orbits " << u;
        }
    }
    // Every R and every oriented annulus of the current invariant.
    static Values everything() {
        Values v;
        const int I = TotalIshibashi(), B = TotalBoundaries(), N = getTotalPrimaries();
        for (int m = 0; m < I; m++)
            for (int a = 0; a < B; a++) {
                double r, i;
                complexR(m, a, &r, &i);
                v.R.push_back(r);
                v.R.push_back(i);
            }
        for (int i = 0; i < N; i++)
            for (int a = 0; a < B; a++)
                for (int b = 0; b < B; b++)
                    v.O.push_back(getOrientedAnnulus(i, a, b));
        return v;
    }
};

// ---- Diagonal invariants ----

TEST_F(Annulus, DiagonalSu2IsFusion) {
    for (int k = 1; k <= 4; k++) {
        theory(1, 1, k);
        ASSERT_EQ(TotalBoundaries(), k + 1);
        for (int a = 0; a <= k; a++)
            for (int m = 0; m <= k; m++)
                EXPECT_NEAR(re(fieldOf({m}), fieldOf({a})), su2S(k, m, a), 1e-12);
        for (int i = 0; i <= k; i++)
            for (int a = 0; a <= k; a++)
                for (int c = 0; c <= k; c++)
                    EXPECT_EQ(getOrientedAnnulus(fieldOf({i}), fieldOf({a}), fieldOf({c})),
                              su2Fusion(k, i, a, c))
                        << "k=" << k << " " << i << " x " << a << " -> " << c;
    }
}

// su(3) level 1: the fields are the Z3 charges; O(i) is fusion with the conjugate of i.
TEST_F(Annulus, DiagonalSu3Level1IsFusionWithTheConjugate) {
    theory(1, 2, 1);
    ASSERT_EQ(TotalBoundaries(), 3);
    for (int i = 0; i < 3; i++)
        for (int a = 0; a < 3; a++)
            for (int b = 0; b < 3; b++)
                EXPECT_EQ(getOrientedAnnulus(i, a, b), simpleFusion(getConjugate(i), a) == b);
}

// ---- The D-type invariant of su(2) level 4 ----

TEST_F(Annulus, DTypeGivesTheD4Diagram) {
    theory(1, 1, 4);
    ASSERT_NE(simpleCurrentInvariant(1), nullptr);
    ASSERT_EQ(TotalBoundaries(), 4);
    const std::vector<std::vector<int>> D4 = {
        {0, 1, 0, 0}, {1, 0, 1, 1}, {0, 1, 0, 0}, {0, 1, 0, 0}};
    const int one = fieldOf({1}), current = fieldOf({4});
    for (int a = 0; a < 4; a++)
        for (int b = 0; b < 4; b++) {
            EXPECT_EQ(getOrientedAnnulus(one, a, b), D4[a][b]) << a << "," << b;
            EXPECT_EQ(getOrientedAnnulus(current, a, b), a == b ? 1 : 0) << a << "," << b;
        }
    const double r2 = std::sqrt(2.0);
    const std::vector<double> vacuum = {r2 * su2S(4, 0, 0), r2 * su2S(4, 0, 1), su2S(4, 0, 2) / r2,
                                        su2S(4, 0, 2) / r2};
    for (int a = 0; a < 4; a++)
        EXPECT_NEAR(re(0, a), vacuum[a], 1e-12) << a;
    EXPECT_NEAR(vacuum[0], 0.40824829, 1e-8);
    EXPECT_NEAR(vacuum[1], 0.70710678, 1e-8);
    // Ishibashi label 3 = (Dynkin 2, the current) lives on the fixed boundaries only.
    ASSERT_EQ(ishibashi(3).current, current);
    double r, i, r2r, r2i;
    for (int a : {0, 1}) {
        complexR(3, a, &r, &i);
        EXPECT_EQ(r, 0.0);
        EXPECT_EQ(i, 0.0);
    }
    complexR(3, 2, &r, &i);
    complexR(3, 3, &r2r, &r2i);
    EXPECT_NEAR(std::hypot(r, i), 1 / r2, 1e-12);
    EXPECT_NEAR(r + r2r, 0.0, 1e-12);
    EXPECT_NEAR(i + r2i, 0.0, 1e-12);
}

// ---- Every path gives the same values ----

struct InvariantCase {
    int type, rank, level;
    int invariants; // the simple-current invariants n = 0 .. invariants-1
};

class AllPaths : public Annulus, public testing::WithParamInterface<InvariantCase> {};

// "Use_orbits" 2 reads R from the orbit store and sums over orbits, 1 sums over orbits with R
// from the formula, 0 uses neither. The store may carry the Ishibashi state of an orbit member
// with the opposite sign (a choice of normalisation the annulus does not see); "check
// reflection" announces exactly those labels. The NIM-representation property holds throughout.
TEST_P(AllPaths, SameValuesAndNoReports) {
    const InvariantCase& c = GetParam();
    theory(c.type, c.rank, c.level);
    parameter("Reject permutations") = 0;
    for (int n = 0; n < c.invariants; n++)
        checkEveryPath(n);
}

// su(2) and su(3) at level 1 and su(2) at level 4 with both invariants, all six invariants of
// so(8) at level 1 (permutations of its three currents of weight 1/2), and the Z4 invariants of
// su(4) at level 2, whose extension by J^2 has fixed points.
INSTANTIATE_TEST_SUITE_P(Blocks, AllPaths,
                         testing::Values(InvariantCase{1, 1, 4, 2}, InvariantCase{1, 2, 1, 1},
                                         InvariantCase{4, 4, 1, 6}, InvariantCase{1, 3, 2, 3}));

// ---- A tensor product ----

// su(2) level 4 x su(2) level 1 with the D-type invariant on the first factor (the extension by
// (J, 0)): the fixed point (2, x) of the first factor is resolved for both fields x of the
// second, and the current (0, J) of the second factor maps the resolved labels of (2, 0) onto
// those of (2, 1).
TEST_F(Annulus, ProductWithTheDTypeInvariantOnOneFactor) {
    // The tensor layer made ready; the modular layer keeps its parameters as the other tests
    // of this program have them.
    tensortest::registerParameters();
    initializeCoset();
    TensorProduct* TP = getCurrentTensor();
    resetCoset(TP);
    addTensorFactor(TP, SM_getData(1, 1, 4), 0);
    addTensorFactor(TP, SM_getData(1, 1, 1), 0);
    ASSERT_EQ(computeTensorSpectrum(TP), 0);
    producttest::makeCurrent(TP);
    parameter("Reject permutations") = 0;
    int fixed = 0, extended = 0;
    for (int n = 0; n < 10 && simpleCurrentInvariant(n); n++) {
        checkEveryPath(n);
        parameter("Use_orbits") = 2;
        ASSERT_NE(simpleCurrentInvariant(n), nullptr);
        ASSERT_GT(TotalBoundaries(), 0);
        fixed += expectFixedFusionAgrees();
        if (TotalIshibashi() == 8) {
            extended++;
            EXPECT_EQ(getBoundaryOrder(), 2) << "(0, J) moves the boundaries";
        }
    }
    EXPECT_EQ(extended, 1);
    EXPECT_GT(fixed, 0);
    parameter("Reject permutations") = 1;
    producttest::withdrawProduct(TP);
}

// ---- Failures ----

// While the user's stop flag is set every sum answers 2147483647; nothing takes it for data.
TEST_F(Annulus, StoppedSumsAreNotData) {
    theory(1, 3, 2);
    std::vector<int> generator = {2, 0, 0, 0, 0};
    for (int c = 1; c < getTotalCurrents(); c++)
        if (ratWeight(c)->num == 1 && ratWeight(c)->den == 1)
            generator[0] = c;
    invtest::outputOf([&] { selectBulkInvariantInSubgroup(generator.data(), 1); });
    ASSERT_EQ(TotalBoundaries(), 8);
    int fixed = 0;
    while (!getBoundaryFixed(fixed))
        fixed++;
    stopSignal = 1;
    testsupport::Captured cap;
    EXPECT_EQ(getOrientedAnnulus(1, 0, 0), INT_MAX);
    EXPECT_EQ(checkNIMfusion(1, 1, 0, 0), -1);
    EXPECT_EQ(FixedBoundaryCurrentFusion(1, fixed), -1);
    EXPECT_EQ(cap.err(), "");
    EXPECT_EQ(cap.out().find("Orbit"), std::string::npos);
}

// An exceptional invariant whose boundaries were not found has no coefficients: 0 after the
// report, not what the caller's variables held.
TEST_F(Annulus, ExceptionalWithoutTableGivesZero) {
    theory(1, 2, 1);
    invtest::outputOf([] { setConjugationInvariant(); });
    ASSERT_EQ(TotalIshibashi(), 1);
    EXPECT_EQ(isRefCoefAvailable(), 0);
    double r = 7, i = 7;
    const std::string err =
        modulartest::reportsOf([&] { getCurrentReflectionCoefficient(0, 0, &r, &i); });
    EXPECT_NE(err.find("Boundaries for this MIPF not available"), std::string::npos) << err;
    EXPECT_EQ(r, 0.0);
    EXPECT_EQ(i, 0.0);
}

} // namespace
