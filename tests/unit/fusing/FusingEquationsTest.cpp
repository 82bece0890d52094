#include "FusingTestHelpers.h"

#include <cmath>
#include <string>

using namespace fusingtest;

namespace {

class Equations : public FusingTest {
protected:
    void TearDown() override {
        pentagon_trigger(nullptr, 0, 0, 0, 0);
        FusingTest::TearDown();
    }
    struct Tally {
        int equations = 0, failedFamilies = 0;
    };
    static Tally pentagons(int max) {
        Tally t;
        for (int a = 0; a < max; a++)
            for (int i = 0; i < max; i++)
                for (int j = 0; j < max; j++)
                    for (int k = 0; k < max; k++) {
                        forEachPentagonRecord(a, i, j, k, [&](const PentagonData&) {
                            t.equations++;
                            return true;
                        });
                        t.failedFamilies += 1 - compute_pentagon(a, i, j, k, 2);
                    }
        return t;
    }
    static Tally hexagons(int max) {
        Tally t;
        for (int i = 0; i < max; i++)
            for (int j = 0; j < max; j++)
                for (int k = 0; k < max; k++) {
                    forEachHexagonRecord(i, j, k, [&](const PentagonData&, const PentagonData&) {
                        t.equations++;
                        return true;
                    });
                    t.failedFamilies += 1 - compute_hexagon(i, j, k, 2);
                }
        return t;
    }
};

// Ising with all signs +1 and the phases e^{i pi (h_c - h_a - h_b)}: R^{22}_0 = e^{-i pi/8},
// R^{11}_0 = -1, R^{21}_2 = -i. Every one of its 132 pentagon and 36 hexagon equations holds.
TEST_F(Equations, IsingEquationsAllHold) {
    useIsing();
    Captured cap;
    const Tally p = pentagons(3), h = hexagons(3);
    EXPECT_EQ(p.equations, 132);
    EXPECT_EQ(p.failedFamilies, 0);
    EXPECT_EQ(h.equations, 36);
    EXPECT_EQ(h.failedFamilies, 0);
    EXPECT_EQ(cap.out(), "");
}

// The vacuum family has the single equation 1 * 1 = 1 * 1 * 1.
TEST_F(Equations, VacuumFamilyHasOneTrivialEquation) {
    useIsing();
    int n = 0;
    forEachPentagonRecord(0, 0, 0, 0, [&](const PentagonData& d) {
        n++;
        EXPECT_EQ(d.scontr, 1);
        EXPECT_DOUBLE_EQ(d.RHS1 * d.RHS2, 1.0);
        EXPECT_DOUBLE_EQ(d.contribs[0][0] * d.contribs[0][1] * d.contribs[0][2], 1.0);
        return true;
    });
    EXPECT_EQ(n, 1);
}

// A wrong sign of F_01[2 2 2 2] breaks a pentagon by a sign only: the check reports it and stops,
// without the alert for a wrong magnitude.
TEST_F(Equations, FlippedIsingEntryFailsTheCheck) {
    useIsing();
    getPentagonVariables(3);
    int key[6] = {0, 1, 2, 2, 2, 2};
    const int row = findVectorInCollection(&PentagonVariables, key);
    ASSERT_GE(row, 0);
    flippedvars.assign(PentagonVariables.Nfill, 0);
    flippedvars[row] = 1;
    UseFlippedVariables = 1;
    Captured cap;
    EXPECT_EQ(compute_pentagon(2, 2, 2, 2, 2), 0);
    EXPECT_NE(cap.out().find("Inconsistency:"), std::string::npos);
    EXPECT_EQ(cap.err().find("Not just a sign error"), std::string::npos);
}

// The orbifold's equations on its untwisted fields and S from its matrices, N = 2..8.
TEST_F(Equations, OrbifoldSelfTestPasses) {
    for (int N = 2; N <= 8; N++) {
        SCOPED_TRACE(N);
        use(SM_getData(7, N, 0));
        Captured cap;
        EXPECT_EQ(checkPolynomial(99, 0), 0);
        EXPECT_EQ(cap.out(), "Checking Hexagon\nChecking Pentagon\nChecking S\n");
    }
}

// U(1) of 4 fields: the hexagon needs F[i j l k], so l runs over the conjugates of i x j x k;
// all 64 equations are met. With every sign +1 the family (1, 1, 1) asks
// R^{12}_3 = (R^{11}_2)^2, i.e. e^{-i pi/2} = e^{i pi/2}, and fails.
TEST_F(Equations, BosonHexagonsUseConjugateOutcomes) {
    useBoson(4);
    Captured cap;
    EXPECT_EQ(hexagons(4).equations, 64);
    EXPECT_EQ(compute_hexagon(1, 1, 1, 2), 0);
    EXPECT_NE(cap.out().find("Failure: (p,r,i,j,k,l)"), std::string::npos);
}

// The display filter picks the equations with a factor F[a b c d]; 0 0 0 0 shows them all.
TEST_F(Equations, FilterSelectsByFactor) {
    useIsing();
    auto shown = [] {
        Captured cap;
        compute_pentagon(2, 2, 2, 2, 1);
        const std::string& out = cap.out();
        int n = 0;
        for (std::size_t at = out.find("RHS factors"); at != std::string::npos;
             at = out.find("RHS factors", at + 1))
            n++;
        return n;
    };
    int all = 0;
    forEachPentagonRecord(2, 2, 2, 2, [&](const PentagonData&) {
        all++;
        return true;
    });
    struct Case {
        int f[4];
        bool some, every;
    };
    const Case cases[] = {
        {{0, 0, 0, 0}, true, true}, {{2, 2, 1, 1}, true, false}, {{1, 2, 1, 2}, false, false}};
    for (const Case& c : cases) {
        pentagon_trigger(nullptr, c.f[0], c.f[1], c.f[2], c.f[3]);
        const int n = shown();
        EXPECT_EQ(n > 0, c.some);
        EXPECT_EQ(n == all, c.every);
    }
}

} // namespace
