// Current groups and orbits on the two label sets. What holds without our code: the diagonal
// su(2) at level k has the centre Z2 acting on the boundaries a -> k - a (Dynkin labels), so
// floor(k/2) + 1 orbits; with its D-type invariant at level 4 the current has charge 0 on every
// Ishibashi state, so the boundary group is trivial. su(4) at level 2 extended by J^2 has the
// fixed points (1,0,1) and (0,1,0) of J^2, each resolved into two boundaries, and J maps one onto
// the other; which resolved label is the image is decided twice, by the reflection coefficients
// and by the annulus A(J^c, a, b) = 1, and both must agree.
#include "CrossBoundTestHelpers.h"

#include "base/Terminal.h"

#include <gtest/gtest.h>

#include <climits>
#include <numeric>
#include <set>
#include <vector>

using namespace boundarytest;

namespace {

class Orbits : public BoundaryTest {
protected:
    void TearDown() override {
        stopSignal = 0;
        parameter("Use_orbits") = 2;
        BoundaryTest::TearDown();
    }
    // Every orbit once: the sizes of the representatives add up to the label count, and every
    // label lies in the orbit its representative lists.
    static void expectPartition() {
        int ishi = 0, bnd = 0;
        for (int o = 0; o < getNumberOfIshiOrbits(); o++)
            ishi += getIshibashiOrbitSize_orb(o);
        EXPECT_EQ(ishi, TotalIshibashi());
        std::set<int> reps;
        for (int a = 0; a < TotalBoundaries(); a++) {
            const int r = getBoundaryOrbitStart(a);
            std::vector<int> images(static_cast<std::size_t>(getBoundaryOrder()));
            const int* orbit = getBoundaryOrbit(r, images.data());
            EXPECT_NE(std::find(orbit, orbit + getBoundaryOrder(), a), orbit + getBoundaryOrder())
                << a;
            if (reps.insert(r).second)
                bnd += getBoundaryOrbitSize(r);
        }
        EXPECT_EQ(bnd, TotalBoundaries());
        EXPECT_EQ(static_cast<int>(reps.size()), getNumberOfBoundaryOrbits());
    }
};

TEST_F(Orbits, DiagonalSu2HasTheCentreAsBoundaryGroup) {
    for (int k = 1; k <= 6; k++) {
        theory(1, 1, k);
        ASSERT_EQ(TotalBoundaries(), k + 1);
        ASSERT_EQ(CrossBoundOrbitsAvailable(), 1) << k;
        EXPECT_EQ(getBoundaryOrder(), 2);
        EXPECT_EQ(getIshiOrder(), 2);
        EXPECT_EQ(getFixesAllCount(), 1);
        EXPECT_EQ(getNumberOfBoundaryOrbits(), k / 2 + 1) << k;
        EXPECT_EQ(getNumberOfIshiOrbits(), k / 2 + 1) << k;
        expectPartition();
        // The current maps Dynkin label a onto k - a.
        for (int a = 0; a <= k; a++) {
            const int b = fieldOf({a});
            EXPECT_EQ(dynkinOf(getBoundaryField(FastBoundaryCurrentFusion(1, b))), k - a);
            EXPECT_EQ(FastBoundaryCurrentFusion(0, b), b);
            EXPECT_EQ(FastBoundaryCurrentInverseFusion(1, FastBoundaryCurrentFusion(1, b)), b);
            EXPECT_EQ(dynkinOf(getIshibashiField(IshiCurrentFusion(1, b))), k - a);
        }
    }
}

TEST_F(Orbits, DTypeInvariantFixesEveryBoundary) {
    theory(1, 1, 4);
    ASSERT_NE(simpleCurrentInvariant(1), nullptr);
    ASSERT_EQ(TotalBoundaries(), 4);
    ASSERT_EQ(CrossBoundOrbitsAvailable(), 1);
    EXPECT_EQ(getFixesAllCount(), 2) << "the current has charge 0 on 0, 4 and 2";
    EXPECT_EQ(getBoundaryOrder(), 1);
    EXPECT_EQ(getBoundaryCurrentClass(1), 0);
    EXPECT_EQ(getNumberOfBoundaryOrbits(), 4);
    // The Ishibashi group is the centre: it joins the states on 0 and 4 into one orbit.
    EXPECT_EQ(getIshiOrder(), 2);
    EXPECT_EQ(getNumberOfIshiOrbits(), 3);
    expectPartition();
}

// su(4) at level 2 with the invariants of its centre Z4: every boundary class maps labels of
// one primary orbit onto those of the image orbit, a fixed label onto a fixed label.
TEST_F(Orbits, FixedLabelsFollowTheAnnulus) {
    theory(1, 3, 2);
    parameter("Reject permutations") = 0;
    int fixedChecked = 0;
    for (int n = 0; n < 10; n++) {
        if (!simpleCurrentInvariant(n))
            break;
        ASSERT_GT(TotalBoundaries(), 0);
        ASSERT_EQ(CrossBoundOrbitsAvailable(), 1) << n;
        expectPartition();
        fixedChecked += expectFixedFusionAgrees();
        // The classes act as a group: J (J^-1 a) = a.
        for (int r = 0; r < getBoundaryOrder(); r++)
            for (int a = 0; a < TotalBoundaries(); a++)
                EXPECT_EQ(FastBoundaryCurrentFusion(r, FastBoundaryCurrentInverseFusion(r, a)), a);
    }
    EXPECT_GT(fixedChecked, 0);
}

// J^2 has weight 1 at level 2: the extension resolves the fixed points (1,0,1) and (0,1,0) of
// J^2 into two labels each, and J, which exchanges the two, maps the labels of one onto those of
// the other.
TEST_F(Orbits, CurrentMovesResolvedFixedPoints) {
    theory(1, 3, 2);
    int square = -1; // J^2, the current of weight 1
    for (int c = 1; c < getTotalCurrents(); c++)
        if (ratWeight(c)->num == 1 && ratWeight(c)->den == 1)
            square = c;
    ASSERT_GT(square, 0);
    std::vector<int> generator = {square, 0, 0, 0, 0};
    invtest::outputOf([&] { selectBulkInvariantInSubgroup(generator.data(), 1); });
    ASSERT_EQ(TotalBoundaries(), 8);
    ASSERT_EQ(CrossBoundOrbitsAvailable(), 1);
    EXPECT_EQ(getBoundaryOrder(), 2);
    const int p = fieldOf({1, 0, 1}), q = fieldOf({0, 1, 0});
    int moved = 0;
    for (int a = 0; a < 8; a++) {
        if (!getBoundaryFixed(a))
            continue;
        const int b = FastBoundaryCurrentFusion(1, a); // the class of J
        EXPECT_EQ(getBoundaryFixed(b), 1);
        EXPECT_EQ(std::set<int>({getBoundaryField(a), getBoundaryField(b)}),
                  std::set<int>({std::min(p, q), std::max(p, q)}));
        moved++;
    }
    EXPECT_EQ(moved, 4);
}

TEST_F(Orbits, NoOrbitDataWithoutUseOrbits) {
    parameter("Use_orbits") = 0;
    theory(1, 1, 3);
    ASSERT_EQ(TotalBoundaries(), 4);
    EXPECT_EQ(CrossBoundOrbitsAvailable(), 0);
    testsupport::Captured cap;
    showBoundaryOrbit(0);
    checkReflectionCoefficients();
    EXPECT_NE(cap.err().find("Orbit information not available"), std::string::npos);
    EXPECT_NE(cap.err().find("No orbit data, nothing to check"), std::string::npos);
    EXPECT_EQ(cap.out().find("Orbit:"), std::string::npos);
    // The sums go over Ishibashi labels: spin 1/2 x 1/2 = 0 + 1 all the same.
    EXPECT_EQ(getOrientedAnnulus(fieldOf({1}), fieldOf({1}), fieldOf({0})), 1);
    EXPECT_EQ(getOrientedAnnulus(fieldOf({1}), fieldOf({1}), fieldOf({2})), 1);
    EXPECT_EQ(getOrientedAnnulus(fieldOf({1}), fieldOf({1}), fieldOf({1})), 0);
}

// The store of one block of two doubles a pair must stay below the allocation ceiling; the limit
// used to be 143999999 pairs, which the ceiling does not admit.
TEST_F(Orbits, StoreLimitFollowsTheAllocationCeiling) {
    const long long limit = maxStoredRefCoefPairs();
    EXPECT_LE(static_cast<unsigned long long>(limit) * 2 * sizeof(double), AllocRefuseLimit);
    EXPECT_GT(static_cast<unsigned long long>(limit + 1) * 2 * sizeof(double),
              AllocRefuseLimit - 100 * sizeof(double));
    EXPECT_EQ(refCoefStoreFits(limit), 1);
    EXPECT_EQ(refCoefStoreFits(limit + 1), 0);
    EXPECT_EQ(refCoefStoreFits(143999999), 0);
    EXPECT_EQ(refCoefStoreFits(0), 1);
}

// More orbit arrays than labels: the table grows, and the arrays handed out stay apart.
TEST_F(Orbits, OrbitArraysGrowPastTheLabelCount) {
    theory(1, 1, 2);
    ASSERT_EQ(TotalBoundaries(), 3);
    allocateBoundaryOrbitData(0);
    std::vector<int*> arrays;
    for (int k = 0; k < 50; k++) {
        int* x = allocateBoundaryOrbitData(1);
        ASSERT_NE(x, nullptr);
        std::fill(x, x + getBoundaryOrder(), k);
        arrays.push_back(x);
    }
    for (int k = 0; k < 50; k++)
        EXPECT_EQ(arrays[static_cast<std::size_t>(k)][getBoundaryOrder() - 1], k);
    // The labels' own arrays went with the reset; a new build restores them.
    loadBoundaryOrbitInfo();
    EXPECT_EQ(getNumberOfBoundaryOrbits(), 2);
}

} // namespace
