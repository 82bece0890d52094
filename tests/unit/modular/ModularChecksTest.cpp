// The consistency checks of modular data (unitarity, (ST)^3 = S^2, the trace identities with their
// fixed-point counterparts), Frobenius-Schur indicators against group theory, and the fusion
// sums over fixed-point resolution matrices with the stabilizers of a simple-current invariant.
#include "modular/Modular.h"
#include "modular/ModularInternal.h"

#include "InvariantsTestHelpers.h"
#include "ModularTestHelpers.h"
#include "TestSupport.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

namespace {

using modulartest::dynkin1;
using modulartest::fieldOf;
using modulartest::reportsOf;
using modulartest::TheoryCase;
using modulartest::useBlock;
using testsupport::contains;

class ModularChecks : public testing::Test {
protected:
    void SetUp() override {
        modulartest::registerModularParameters();
        invtest::registerParameters();
    }
    void TearDown() override {
        resetCurrentBulkToDiagonal();
        modulartest::registerModularParameters();
    }
    std::string report(char* (*check)(char*)) {
        std::vector<char> txt(10000);
        *check(txt.data()) = '\0';
        return txt.data();
    }
};

// ---- The checks on a table of theories; A1 level 4 and A3 level 2 have fixed points ----

class ChecksOn : public ModularChecks, public testing::WithParamInterface<TheoryCase> {};

TEST_P(ChecksOn, UnitarityModularAndTraceIdentitiesHold) {
    const TheoryCase c = GetParam();
    useBlock(c.type, c.rank, c.level);
    std::vector<char> txt(10000);
    *STcheck(txt.data(), 10000) = '\0';
    const std::string st = txt.data();
    EXPECT_TRUE(st.starts_with("ST^3 = S^2 and unitarity test OK\nAll trace tests OK\n")) << st;
    EXPECT_LT(getAccuracy(), 1e-10);
    const std::string hopf = report(Hopfcheck);
    EXPECT_TRUE(hopf.starts_with("All tests OK\nMaximal deviation: ")) << hopf;
}

INSTANTIATE_TEST_SUITE_P(Modular, ChecksOn,
                         testing::Values(TheoryCase{1, 1, 1}, TheoryCase{1, 1, 2},
                                         TheoryCase{1, 1, 3}, TheoryCase{1, 1, 4},
                                         TheoryCase{1, 1, 5}, TheoryCase{1, 1, 6},
                                         TheoryCase{1, 2, 1}, TheoryCase{4, 5, 1},
                                         TheoryCase{4, 6, 1}, TheoryCase{1, 3, 2}),
                         modulartest::theoryName);

// The whole-S unitarity decided on orbit starts agrees with the element-wise test, on the packed
// S and on the S that the orbit table rebuilds with phases.
TEST_P(ChecksOn, UnitarityOnOrbitsHolds) {
    const TheoryCase c = GetParam();
    for (int maxsize : {400, 0}) {
        setIntPar("S_matrix maxsize", maxsize);
        useBlock(c.type, c.rank, c.level);
        EXPECT_EQ(unitarityOnOrbits(), 1) << maxsize;
    }
}

// One wrong element of S, in an orbit start's row or in another field's, fails the check, and
// the element-wise test then finds it.
TEST_F(ModularChecks, OneWrongElementFailsUnitarity) {
    struct Wrong {
        int type, rank, level, i, j;
    };
    for (const Wrong w :
         {Wrong{1, 1, 4, 2, 3}, Wrong{1, 1, 4, 0, 2}, Wrong{1, 2, 3, 4, 7}, Wrong{1, 2, 3, 0, 0}}) {
        SpectrumData* sd = useBlock(w.type, w.rank, w.level);
        const int N = sd->Nprimaries;
        ASSERT_EQ(unitarityOnOrbits(), 1);
        CFTChanged();
        // The packed S of a small theory, upper triangle: element (i, j) for i <= j.
        double* packed = initSMATRIX();
        packed[w.i * (2 * N - 1 - w.i) / 2 + w.j] += 1e-3;
        EXPECT_EQ(unitarityOnOrbits(), 0) << w.i << "," << w.j;
        bool found = false;
        for (int j = 0; j < N; j++) {
            double re, im;
            found = found || Unitarity_check(nullptr, w.i, j, &re, &im) == 0;
        }
        EXPECT_TRUE(found) << w.i << "," << w.j;
        CFTChanged();
        EXPECT_EQ(unitarityOnOrbits(), 1);
    }
}

// STcheck of a theory with many fields sums each pair over the charge classes of the orbit
// starts; on small theories, with the switch lowered, it must judge every pair as the sums over
// all fields do: the same verdict and failure lines, and deviations at the rounding level. One
// wrong element (the packed S, upper triangle) fails both ways (where the wrong S no longer
// follows its orbit starts, by the direct sums).
TEST_F(ModularChecks, ModularTestOnOrbitsAgreesWithTheDirectSums) {
    struct Case {
        int type, rank, level, i, j;
    };
    auto check = [](int fields) {
        modular_internal::setOrbitCheckFields(fields);
        std::vector<char> txt(10000);
        std::string st;
        reportsOf([&] {
            *STcheck(txt.data(), 10000) = '\0';
            st = txt.data();
        });
        modular_internal::setOrbitCheckFields(1000);
        return std::make_pair(st.substr(0, st.find("Maximal deviation")), getAccuracy());
    };
    // E8 at level 2 has no simple current besides the vacuum: its wrong S still follows the
    // (trivial) orbit structure, so the sums over classes see the wrong element themselves.
    for (const Case c : {Case{1, 1, 4, 2, 3}, Case{1, 2, 3, 4, 7}, Case{1, 3, 2, 1, 5},
                         Case{4, 6, 1, 0, 3}, Case{5, 8, 2, 1, 2}}) {
        SpectrumData* sd = useBlock(c.type, c.rank, c.level);
        initSMATRIX();
        ASSERT_EQ(ModularOrbitsAvailable(), QueryCFT());
        const auto [direct, directDeviation] = check(1000000);
        const auto [orbits, orbitDeviation] = check(0);
        EXPECT_EQ(orbits, direct);
        EXPECT_EQ(orbits, "ST^3 = S^2 and unitarity test OK\nAll trace tests OK\n");
        EXPECT_LT(orbitDeviation, 1e-12);
        EXPECT_LT(directDeviation, 1e-12);
        const int N = sd->Nprimaries;
        CFTChanged();
        double* packed = initSMATRIX();
        packed[c.i * (2 * N - 1 - c.i) / 2 + c.j] += 1e-3;
        const auto [wrongDirect, wrongDirectDeviation] = check(1000000);
        const auto [wrongOrbits, wrongOrbitDeviation] = check(0);
        EXPECT_TRUE(contains(wrongDirect, "failure for (")) << wrongDirect;
        EXPECT_EQ(wrongOrbits, wrongDirect);
        EXPECT_NEAR(wrongOrbitDeviation, wrongDirectDeviation, 1e-12);
        CFTChanged();
    }
}

// The fixed-point identities are evaluated: a shift off by a quarter turn breaks exactly them.
TEST_F(ModularChecks, FixedPointIdentitiesDependOnTheShift) {
    SpectrumData* sd = useBlock(1, 3, 2);
    SM_initFCFTData(sd);
    ASSERT_GE(sd->FCFTnumber, 1);
    const int J = sd->FixedPointCurrents[0];
    sd->FCFTshifts[0] += 2;
    const std::string hopf = report(Hopfcheck);
    sd->FCFTshifts[0] -= 2;
    const std::string current = ", current " + std::to_string(J) + "\n";
    // Tr S^J vanishes (S of su(2)_1 has trace 0) whatever the phase; Tr S^J T^J does not.
    EXPECT_TRUE(contains(hopf, "for Tr(S^JT^J)" + current)) << hopf;
    EXPECT_TRUE(contains(hopf, "for Tr(S^JT^1)" + current)) << hopf;
    EXPECT_FALSE(contains(hopf, "for Tr(S)\n")) << hopf;
    EXPECT_FALSE(contains(hopf, "All tests OK")) << hopf;
}

// Only the deviations of its own three checks count: a larger one met before is forgotten.
TEST_F(ModularChecks, HopfStartsFromNoDeviation) {
    useBlock(1, 1, 3);
    char txt[400];
    resetAccuracy();
    checkC(txt, "earlier", 1.0, 0.0, 0.0, 0.0);
    EXPECT_EQ(getAccuracy(), 1.0);
    EXPECT_TRUE(contains(report(Hopfcheck), "All tests OK\n"));
}

TEST_F(ModularChecks, TheoryWithoutFieldsPassesTheModularTest) {
    SpectrumData empty{};
    empty.S_Symmetry = 1;
    setCosetMode(0);
    setCurrentSD(&empty);
    CFTChanged();
    std::vector<char> txt(10000);
    *STcheck(txt.data(), 10000) = '\0';
    EXPECT_TRUE(std::string(txt.data()).starts_with("ST^3 = S^2 and unitarity test OK\n"));
    initializeAlgebra();
    CFTChanged();
}

// ---- Frobenius-Schur indicators ----

int indicator(int f) {
    int nu = 0;
    const std::string reports = reportsOf([&] { nu = getSchurIndex(f); });
    EXPECT_EQ(reports, "") << f;
    return nu;
}

// The indicator from P, from P-fusion (Y_p00) and from the generalized indicator Z(p,0) agree.
void expectIndicatorEverywhere(int f, int nu) {
    EXPECT_EQ(indicator(f), nu) << f;
    EXPECT_EQ(Pfusion(f, 0, 0), nu) << f;
    const std::string printed = testsupport::stdoutOf([&] {
        TerminalOutputOn();
        computeGeneralizedSchurIndex(f, 0);
        TerminalOutputOff();
    });
    EXPECT_EQ(printed, "Z(" + std::to_string(f) + ",0) = " + std::to_string(nu) + "\n");
}

// su(2) spin l/2 is real for even l, pseudo-real for odd l.
TEST_F(ModularChecks, Su2IndicatorIsTheParityOfTheLabel) {
    for (int k = 1; k <= 6; k++) {
        SpectrumData* sd = useBlock(1, 1, k);
        for (int f = 0; f <= k; f++)
            expectIndicatorEverywhere(f, dynkin1(sd, f) % 2 == 0 ? 1 : -1);
    }
}

// su(3)_1: 3 and 3bar are complex. so(2n)_1: the vector is real; the spinors are complex for odd
// n, pseudo-real for n = 2 mod 4 and real for n = 0 mod 4. E7_1: the 56 is pseudo-real.
TEST_F(ModularChecks, IndicatorsFromGroupTheory) {
    useBlock(1, 2, 1);
    for (int f = 0; f < 3; f++)
        expectIndicatorEverywhere(f, f == 0 ? 1 : 0);
    for (int n : {4, 5, 6, 7, 8}) {
        SpectrumData* sd = useBlock(4, n, 1);
        const int vector = fieldOf(sd, {1});
        const int spinor = n % 2 == 1 ? 0 : n % 4 == 2 ? -1 : 1;
        for (int f = 0; f < 4; f++)
            expectIndicatorEverywhere(f, f == 0 || f == vector ? 1 : spinor);
    }
    useBlock(5, 7, 1);
    expectIndicatorEverywhere(0, 1);
    expectIndicatorEverywhere(1, -1);
}

// ---- Fixed-point fusion and stabilizers ----

// A simple-current invariant of the group generated by the current J (of order 2).
std::unique_ptr<BulkInvariant> orderTwoInvariant(int J) {
    std::unique_ptr<BulkInvariant> bi(allocNewBulkInvariant(nullptr));
    bi->simpleCurrentInvariant = 1;
    bi->trivial = 0;
    int orders[] = {2};
    bi->MD->dg = DG_find(orders, 1);
    bi->MD->map.reserve(2);
    bi->MD->map[0] = 0;
    bi->MD->map[1] = J;
    setCurrentBulkInvariant(bi.get());
    return bi;
}

TEST_F(ModularChecks, DiagonalInvariantHasNoStabilizers) {
    useBlock(1, 1, 4);
    int* list = nullptr;
    const std::string reports = reportsOf([&] { EXPECT_EQ(getStabilizer(4, &list), nullptr); });
    EXPECT_TRUE(contains(reports, "No simple current invariant defined"));
}

// su(2)_4 with the D invariant: the fixed point (label 2, field 4) resolves into the 3 and 3bar
// of su(3)_1, whose fusion is integral; the other fields have the trivial stabilizer.
TEST_F(ModularChecks, ResolvedFusionOfTheDInvariantIsIntegral) {
    useBlock(1, 1, 4);
    auto bi = orderTwoInvariant(1);
    int* list = nullptr;
    Discrete_Group* g = getStabilizer(4, &list);
    ASSERT_NE(g, nullptr);
    EXPECT_EQ(g->Order, 2);
    EXPECT_EQ(list[0], 0);
    EXPECT_EQ(list[1], 1);
    g = getStabilizer(2, &list);
    ASSERT_NE(g, nullptr);
    EXPECT_EQ(g->Order, 1);
    EXPECT_EQ(list[0], 0);
    const std::string printed = testsupport::outputOf([] {
        for (int a = 0; a < 5; a++)
            for (int b = 0; b < 5; b++)
                for (int c = 0; c < 5; c++)
                    CheckFusion(a, b, c);
    });
    EXPECT_EQ(printed, "");
    resetCurrentBulkToDiagonal();
}

// su(4)_2 extended by J^2: the invariant's group {0, 2} is numbered 0, 1 while its currents are
// 0, 2. Current labels beyond the group's order are looked up by element, never as elements.
TEST_F(ModularChecks, StabilizerOfASubgroupWithLargerLabels) {
    useBlock(1, 3, 2);
    auto bi = orderTwoInvariant(2);
    std::vector<int> fixed;
    for (int a = 0; a < getTotalPrimaries(); a++)
        if (simpleFusion(2, a) == a)
            fixed.push_back(a);
    ASSERT_EQ(fixed.size(), 2u);
    const std::string printed = testsupport::outputOf([&] {
        for (int a : fixed) {
            int* list = nullptr;
            Discrete_Group* g = getStabilizer(a, &list);
            ASSERT_NE(g, nullptr);
            EXPECT_EQ(g->Order, 2);
            EXPECT_EQ(list[1], 2);
        }
        for (int a : fixed)
            for (int b : fixed)
                for (int c = 0; c < getTotalPrimaries(); c++)
                    CheckFusion(a, b, c);
    });
    EXPECT_EQ(printed, "");
    resetCurrentBulkToDiagonal();
}

// Without resolution the sums are ordinary fusion: sum S_am S_bm S_cm / S_0m = N_ab^{c*} and
// sum S_lm S_am S*_bm / S_0m = N_la^b.
TEST_F(ModularChecks, UnresolvedSumsAreFusionCoefficients) {
    useBlock(1, 2, 2);
    const int N = getTotalPrimaries();
    for (int a = 0; a < N; a++)
        for (int b = 0; b < N; b++)
            for (int c = 0; c < N; c++) {
                double re, im;
                computeFixedPointFusion(a, b, c, 0, 0, 0, &re, &im);
                EXPECT_NEAR(re, fusion(a, b, getConjugate(c), 0), 1e-10);
                EXPECT_NEAR(im, 0.0, 1e-10);
                computeNimRepFusion(a, b, c, 0, &re, &im);
                EXPECT_NEAR(re, fusion(a, b, c, 0), 1e-10);
            }
}

// su(4)_2: J^2 fixes two fields, resolved by su(2)_1. The fixed-point fusion is integral.
TEST_F(ModularChecks, FixedPointFusionIsIntegral) {
    SpectrumData* sd = useBlock(1, 3, 2);
    const int p = SM_getFCFTlbl(sd, 2);
    ASSERT_GT(p, 0);
    const int fixedFields = sd->FixedPointCFT[p - 1]->Nprimaries;
    ASSERT_EQ(fixedFields, 2);
    const std::string reports = reportsOf([&] {
        for (int i = 0; i < sd->Nprimaries; i++)
            for (int g = 0; g < fixedFields; g++)
                for (int h = 0; h < fixedFields; h++)
                    getFpFusion(p, i, g, h);
    });
    EXPECT_EQ(reports, "");
    // With the vacuum the sum is (O^2)_gh, the conjugation of su(2)_1: the identity.
    for (int g = 0; g < fixedFields; g++)
        for (int h = 0; h < fixedFields; h++)
            EXPECT_EQ(getFpFusion(p, 0, g, h), g == h ? 1 : 0);
}

} // namespace
