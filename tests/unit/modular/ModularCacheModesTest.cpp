#include "modular/Modular.h"

#include "ModularTestHelpers.h"
#include "base/Error.h"
#include "base/Parameters.h"

#include <gtest/gtest.h>

#include <cmath>
#include <complex>
#include <cstdlib>
#include <numbers>
#include <string>
#include <vector>

namespace {

using modulartest::reportsOf;
using modulartest::S;
using modulartest::useBlock;

// The module's parameters, registered here as start-up would, and put back after each test.
class CacheModes : public testing::Test {
protected:
    void SetUp() override { modulartest::registerModularParameters(); }
    void TearDown() override {
        setIntPar("Use_orbits", 2);
        setIntPar("S_matrix maxsize", 400);
        setIntPar("High_precision", 0);
    }

    struct Snapshot {
        std::vector<std::complex<double>> s;
        std::vector<int> n;
    };

    // Every S element and fusion coefficient of su(3) level 2 under the current settings.
    Snapshot snapshot() {
        SpectrumData* sd = useBlock(1, 2, 2);
        const int N = sd->Nprimaries;
        Snapshot shot;
        for (int i = 0; i < N; i++)
            for (int j = 0; j < N; j++) {
                shot.s.push_back(S(i, j));
                for (int k = 0; k < N; k++)
                    shot.n.push_back(fusion(i, j, k, 0));
            }
        return shot;
    }

    void expectSame(const Snapshot& a, const Snapshot& b) {
        ASSERT_EQ(a.s.size(), b.s.size());
        for (std::size_t e = 0; e < a.s.size(); e++)
            EXPECT_NEAR(std::abs(a.s[e] - b.s[e]), 0.0, 1e-12) << e;
        EXPECT_EQ(a.n, b.n);
    }
};

// Direct computation, orbit table only, orbit S, and the full S give the same theory.
TEST_F(CacheModes, EveryLevelOfOrbitUseGivesTheSameData) {
    setIntPar("Use_orbits", 0);
    const Snapshot direct = snapshot();
    EXPECT_NE(ModularOrbitsAvailable(), QueryCFT());
    setIntPar("Use_orbits", 1);
    const Snapshot table = snapshot();
    EXPECT_EQ(ModularOrbitsAvailable(), QueryCFT());
    setIntPar("Use_orbits", 2);
    const Snapshot orbitS = snapshot();
    expectSame(direct, table);
    expectSame(direct, orbitS);
}

// Above "S_matrix maxsize" only the first row is kept; with valid orbit data that is silent.
TEST_F(CacheModes, TooManyPrimariesKeepOnlyTheFirstRow) {
    const Snapshot full = snapshot();
    setIntPar("S_matrix maxsize", 3);
    Snapshot firstRow;
    const std::string reports = reportsOf([&] { firstRow = snapshot(); });
    EXPECT_EQ(reports, "");
    expectSame(full, firstRow);
    const double* row = initSMATRIX();
    SpectrumData* sd = getCurrentSD();
    for (int i = 0; i < sd->Nprimaries; i++)
        EXPECT_DOUBLE_EQ(row[i], S(i, 0).real());

    // Without orbit data the user is told once that the full S is not kept.
    setIntPar("Use_orbits", 0);
    useBlock(1, 2, 2);
    resetError(); // shown once per run: another test may have seen it
    const std::string told = reportsOf([] { initSMATRIX(); });
    EXPECT_NE(told.find("Too many primaries"), std::string::npos);
}

// The free boson of radius N: S_ab = exp(-2 pi i ab/N)/sqrt N, a x b = a + b mod N, and the
// charge of b under the current a is -ab/N mod 1. Odd radii are where the weights b^2/2N, fixed
// only modulo 1/2, cannot give the charges; every route must still agree with the closed form,
// with the full S kept or only its first row.
TEST_F(CacheModes, FreeBosonOfEveryRadiusInEveryMode) {
    for (int N = 2; N <= 7; N++)
        for (int orbits = 0; orbits <= 2; orbits++)
            for (int maxsize : {400, 1}) {
                setIntPar("Use_orbits", orbits);
                setIntPar("S_matrix maxsize", maxsize);
                useBlock(0, N, 0);
                // Without orbit data the first row alone is kept after a notice.
                reportsOf([] { initSMATRIX(); });
                const std::string where = "radius " + std::to_string(N) + ", Use_orbits " +
                                          std::to_string(orbits) + ", S_matrix maxsize " +
                                          std::to_string(maxsize);
                for (int a = 0; a < N; a++)
                    for (int b = 0; b < N; b++) {
                        const std::complex<double> expected =
                            std::polar(1.0 / std::sqrt(N), -2.0 * std::numbers::pi * a * b / N);
                        EXPECT_NEAR(std::abs(S(a, b) - expected), 0.0, 1e-12)
                            << where << ": S(" << a << "," << b << ")";
                        const rat q = *simpleCurrentCharge(a, b);
                        EXPECT_EQ(q.num * N, ((N - a * b % N) % N) * q.den)
                            << where << ": Q_" << a << "(" << b << ")";
                        // The single coefficients, and the row of the whole product a x b.
                        for (int c = 0; c < N; c++)
                            EXPECT_EQ(fusion(a, b, c, 0), c == (a + b) % N ? 1 : 0)
                                << where << ": N(" << a << "," << b << "," << c << ")";
                        getRijk(-1, a, b, 0);
                        for (int c = 0; c < N; c++)
                            EXPECT_NEAR(getRijk(c, a, b, 0), c == (a + b) % N ? 1.0 : 0.0, 1e-9)
                                << where << ": row (" << a << ") x (" << b << "), " << c;
                    }
            }
}

// The orbit S is kept for the theory it was made for: after a larger theory filled more of it,
// a smaller and then the larger again read only their own values. Closed form of su(2) at level
// k: S(a, b) = sqrt(2/(k+2)) sin(pi (a+1)(b+1)/(k+2)) for Dynkin labels a and b.
TEST_F(CacheModes, OrbitSOfSuccessiveTheoriesFollowsTheClosedForm) {
    setIntPar("S_matrix maxsize", 1);
    for (int k : {14, 10, 14, 15}) {
        SpectrumData* sd = useBlock(1, 1, k);
        reportsOf([] { initSMATRIX(); });
        ASSERT_EQ(ModularOrbitsAvailable(), QueryCFT()) << "level " << k;
        const int N = sd->Nprimaries;
        for (int i = 0; i < N; i++)
            for (int j = 0; j < N; j++) {
                const int a = modulartest::dynkin1(sd, i), b = modulartest::dynkin1(sd, j);
                const double expected = std::sqrt(2.0 / (k + 2)) *
                                        std::sin(std::numbers::pi * (a + 1) * (b + 1) / (k + 2));
                EXPECT_NEAR(std::abs(S(i, j) - expected), 0.0, 1e-12)
                    << "level " << k << ": S(" << i << "," << j << ")";
            }
    }
}

} // namespace

namespace {

// su(2) level 2: 1 x 1 = 0 + 2 has dimensions 2 x 2 = 1 + 3; 2 x 2 = 0 alone leaves 9 - 1.
// The free boson at radius 50000 has a current group of order 50000, whose product table would
// need 2.5e9 entries: more than an int counts. The request is refused as any oversized one is,
// before the table's size or indices overflow.
TEST_F(CacheModes, CachesBeyondTheIntRangeAreRefused) {
    EXPECT_EXIT(
        {
            useBlock(0, 50000, 0);
            initSMATRIX();
            std::exit(0);
        },
        testing::ExitedWithCode(1), "Attempt to allocate .* refused");
}

TEST_F(CacheModes, FusionSumcheckReportsTheDimensionDeficit) {
    SpectrumData* sd = useBlock(1, 1, 2);
    int doublet = -1, triplet = -1;
    for (int f = 0; f < 3; f++) {
        if (modulartest::dynkin1(sd, f) == 1)
            doublet = f;
        if (modulartest::dynkin1(sd, f) == 2)
            triplet = f;
    }
    setIntPar("Fusion sumcheck", 1);
    char txt[400];
    compF(txt, doublet, doublet, 0);
    const std::string full(txt);
    compF(txt, triplet, triplet, 0);
    const std::string truncated(txt);
    setIntPar("Fusion sumcheck", 0);
    EXPECT_NE(full.find("\n\nDimension sum rule deficit: 0\n\n"), std::string::npos) << full;
    EXPECT_NE(truncated.find("Dimension sum rule deficit: 8\n\n"), std::string::npos) << truncated;
    compF(txt, doublet, doublet, 0);
    EXPECT_EQ(std::string(txt).find("Dimension"), std::string::npos);
}

// A real part that is zero prints as a plain zero in both precisions, without a minus sign and,
// with 30 decimals, without a digit in the last places.
TEST_F(CacheModes, ZeroRealPartPrintsAsZeroInHighPrecision) {
    char txt[200];
    setIntPar("High_precision", 1);
    printModMatElt(txt, -1e-9, -0.5);
    const std::string zero = std::string(8, ' ') + "0." + std::string(30, '0');
    const std::string half = std::string(7, ' ') + "-0.5" + std::string(29, '0');
    EXPECT_EQ(std::string(txt), "= " + zero + " + " + half + " i    (phase:  -0.25000)\n");
    setIntPar("High_precision", 0);
    printModMatElt(txt, -1e-9, 0.0);
    EXPECT_STREQ(txt, "=      0.00000000 \n");
}

} // namespace
