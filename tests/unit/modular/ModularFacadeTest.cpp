#include "modular/Modular.h"

#include "ModularTestHelpers.h"
#include "base/Terminal.h"

#include <gtest/gtest.h>

#include <cmath>
#include <complex>
#include <set>
#include <string>

namespace {

using modulartest::dynkin1;
using modulartest::S;
using modulartest::TheoryCase;
using modulartest::useBlock;

TEST(ModularCounters, NewTheoryAdvancesTheoryAndBulkCounters) {
    useBlock(1, 1, 2);
    const int cft = QueryCFT(), bulk = QueryBulkInvariant(), orientifold = QueryOrientifold();
    CFTChanged();
    EXPECT_EQ(QueryCFT(), cft + 1);
    EXPECT_GE(QueryBulkInvariant(), bulk + 1);
    EXPECT_GT(QueryOrientifold(), orientifold);
}

TEST(ModularCounters, ReplacedBulkInvariantLeavesTheTheoryCounter) {
    useBlock(1, 1, 2);
    const int cft = QueryCFT(), bulk = QueryBulkInvariant();
    bulkInvariantChanged();
    bulkInvariantChanged();
    EXPECT_EQ(QueryCFT(), cft);
    EXPECT_EQ(QueryBulkInvariant(), bulk + 2);
    const int tensor = QueryTensor();
    TensorChanged();
    EXPECT_EQ(QueryTensor(), tensor + 1);
}

TEST(ModularCaches, StampsFollowTheTheoryAndCachesAreRebuilt) {
    useBlock(1, 1, 4);
    EXPECT_NE(ModularOrbitsAvailable(), QueryCFT());
    initSMATRIX();
    EXPECT_EQ(ModularOrbitsAvailable(), QueryCFT());
    // su(2)_4: S_00 = sqrt(2/6) sin(pi/6).
    EXPECT_NEAR(S(0, 0).real(), std::sqrt(2.0 / 6.0) * 0.5, 1e-12);

    // A theory of another size: every cache answers for the new theory.
    useBlock(1, 2, 1);
    EXPECT_NE(ModularOrbitsAvailable(), QueryCFT());
    EXPECT_EQ(CenterOrder(), 3);
    initSMATRIX();
    EXPECT_EQ(ModularOrbitsAvailable(), QueryCFT());
    EXPECT_EQ(getNOrbit(), 1);
    const double third = 1.0 / std::sqrt(3.0);
    EXPECT_NEAR(std::abs(S(1, 2)), third, 1e-12);
    EXPECT_NEAR(S(0, 0).real(), third, 1e-12);
    EXPECT_EQ(fusion(1, 1, 2, 0) + fusion(1, 1, 1, 0), 1);
}

class EveryTheory : public testing::TestWithParam<TheoryCase> {};

// S from the caches (orbit S times phases, then the packed full S) is the store's S.
TEST_P(EveryTheory, CachedSIsTheBlocksSAndSymmetric) {
    const TheoryCase& c = GetParam();
    SpectrumData* sd = useBlock(c.type, c.rank, c.level);
    const int N = sd->Nprimaries;
    initOrbitData();
    for (int i = 0; i < N; i++)
        for (int j = 0; j < N; j++) {
            double re, im;
            SM_getS(sd, i, j, &re, &im);
            const std::complex<double> fromOrbits = S(i, j);
            EXPECT_NEAR(fromOrbits.real(), re, 1e-10) << i << "," << j;
            EXPECT_NEAR(fromOrbits.imag(), im, 1e-10) << i << "," << j;
        }
    initSMATRIX();
    for (int i = 0; i < N; i++)
        for (int j = 0; j < N; j++) {
            double re, im;
            SM_getS(sd, i, j, &re, &im);
            EXPECT_NEAR(S(i, j).real(), re, 1e-10);
            EXPECT_NEAR(S(i, j).imag(), im, 1e-10);
        }
}

// Unitarity and S^2 = C, with C the block's conjugation and the one read from S.
TEST_P(EveryTheory, SIsUnitaryAndSquaresToConjugation) {
    const TheoryCase& c = GetParam();
    SpectrumData* sd = useBlock(c.type, c.rank, c.level);
    const int N = sd->Nprimaries;
    for (int i = 0; i < N; i++) {
        for (int j = 0; j < N; j++) {
            double re, im;
            EXPECT_EQ(Unitarity_check(nullptr, i, j, &re, &im), 1) << i << "," << j;
            std::complex<double> s2 = 0;
            for (int k = 0; k < N; k++)
                s2 += S(i, k) * S(k, j);
            EXPECT_NEAR(std::abs(s2 - (j == getConjugate(i) ? 1.0 : 0.0)), 0.0, 1e-9);
        }
        EXPECT_EQ(getGenericConjugate(i), getConjugate(i));
    }
}

// The orbit table's charges agree with the weights: Q_J(a) = h_J + h_a - h_Ja mod 1.
TEST_P(EveryTheory, ChargesFromTheTableAgreeWithWeights) {
    const TheoryCase& c = GetParam();
    SpectrumData* sd = useBlock(c.type, c.rank, c.level);
    initOrbitData();
    ASSERT_EQ(ModularOrbitsAvailable(), QueryCFT());
    for (int J = 0; J < CenterOrder(); J++)
        for (int a = 0; a < sd->Nprimaries; a++) {
            const rat hJ = *ratWeight(J), ha = *ratWeight(a), hJa = *ratWeight(simpleFusion(J, a));
            const double expected =
                hJ.num / double(hJ.den) + ha.num / double(ha.den) - hJa.num / double(hJa.den);
            const rat q = *simpleCurrentCharge(J, a);
            EXPECT_GE(q.num, 0);
            EXPECT_LT(q.num, q.den);
            EXPECT_NEAR(std::remainder(q.num / double(q.den) - expected, 1.0), 0.0, 1e-12);
        }
    EXPECT_EQ(getOrbitInfo(0)->charge, getChargePointer(0));
    for (int J = 0; J < CenterOrder(); J++)
        EXPECT_EQ(getOrbitInfo(0)->charge[J], 0);
}

const TheoryCase theories[] = {{1, 1, 4}, {1, 2, 2}, {1, 2, 3}, {4, 4, 1}, {4, 5, 1},
                               {5, 6, 1}, {2, 3, 1}, {5, 8, 2}, {4, 4, 2}, {1, 3, 2}};

INSTANTIATE_TEST_SUITE_P(Modular, EveryTheory, testing::ValuesIn(theories),
                         modulartest::theoryName);

TEST(ModularCurrents, Su2ChargesAreHalfTheDynkinLabel) {
    SpectrumData* sd = useBlock(1, 1, 5);
    initOrbitData();
    for (int a = 0; a < sd->Nprimaries; a++) {
        const rat q = *simpleCurrentCharge(1, a);
        EXPECT_EQ(q.num * 2, (dynkin1(sd, a) % 2) * q.den) << a;
    }
    EXPECT_EQ(simpleFusion(0, 3), 3);
    EXPECT_EQ(simpleProduct(0, 1, nullptr), 1);
    EXPECT_EQ(simpleProduct(1, 0, nullptr), 1);
    EXPECT_EQ(simpleProduct(1, 1, nullptr), 0);
}

// D4 level 1: Z2 x Z2 acting freely on the four fields.
TEST(ModularCurrents, OrdersOfTheCurrentsOfD4LevelOne) {
    useBlock(4, 4, 1);
    ASSERT_EQ(CenterOrder(), 4);
    for (int x = 0; x < 4; x++) {
        EXPECT_EQ(simpleCurrentOrder(0, x), 1);
        for (int J = 1; J < 4; J++)
            EXPECT_EQ(simpleCurrentOrder(J, x), 2) << J << "," << x;
    }
}

// E7 level 2: six fields; the Z2 current exchanges the ends of the Dynkin diagram, fixing the two
// fields of mark-2 and mark-1-pair type (omega_2 and omega_7) and swapping the others in pairs.
TEST(ModularCurrents, OrdersOfTheCurrentOfE7LevelTwo) {
    SpectrumData* sd = useBlock(5, 7, 2);
    ASSERT_EQ(sd->Nprimaries, 6);
    ASSERT_EQ(CenterOrder(), 2);
    std::multiset<int> orders;
    for (int x = 0; x < 6; x++) {
        orders.insert(simpleCurrentOrder(1, x));
        EXPECT_EQ(simpleCurrentOrder(1, x) == 1, simpleFusion(1, x) == x);
    }
    EXPECT_EQ(orders.count(1), 2u);
    EXPECT_EQ(orders.count(2), 4u);
    EXPECT_EQ(simpleCurrentOrder(1, 0), 2);
}

TEST(ModularPrinting, MatrixElementsPrintWithoutNegativeZero) {
    char txt[200];
    printModMatElt(txt, -1e-9, 1e-9);
    EXPECT_STREQ(txt, "=      0.00000000 \n");
    printModMatElt(txt, 0.5, -0.5);
    EXPECT_STREQ(txt, "=      0.50000000 +     -0.50000000 i    (phase:  -0.12500)\n");
}

TEST(ModularPrinting, DisplaySPadsTheLabels) {
    useBlock(1, 1, 2); // three fields: labels of one digit
    char txt[200];
    displayS(txt, 0, 0);
    EXPECT_STREQ(txt, "S(0,0) =      0.50000000 \n");
}

TEST(ModularPrinting, CheckCKeepsTheLargestDeviation) {
    resetAccuracy();
    char txt[400] = "";
    EXPECT_EQ(checkC(txt, "x", 1.0, 0.0, 1.0, 1e-12), txt);
    char* end = checkC(txt, "x", 1.0, 0.0, 1.5, 0.0);
    EXPECT_GT(end, txt);
    EXPECT_NE(std::string(txt).find("Deviation"), std::string::npos);
    EXPECT_NEAR(getAccuracy(), 0.5, 1e-12);
}

TEST(ModularPrinting, PrintEntryPadsToTwentyThree) {
    char txt[40];
    char* end = PrintEntry(txt, 2, 13);
    EXPECT_EQ(end - txt, 23);
    EXPECT_STREQ(txt, "From Z(2,13):          ");
}

TEST(ModularCaches, StoppedFusionGivesTheStopCode) {
    useBlock(1, 1, 3);
    stopSignal = 1;
    const int rc = fusion(1, 1, 0, 0);
    const int generic = GenericVerlinde(1, 1, 0, 4, compS, compS, compS, compS);
    stopSignal = 0;
    EXPECT_EQ(rc, -9999);
    EXPECT_EQ(generic, 2147483647);
}

} // namespace
