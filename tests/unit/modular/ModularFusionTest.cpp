#include "modular/Modular.h"

#include "ModularTestHelpers.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstdlib>
#include <string>
#include <vector>

namespace {

using modulartest::dynkin1;
using modulartest::reportsOf;
using modulartest::TheoryCase;
using modulartest::useBlock;

// su(2)_k: N_ab^c = 1 exactly when |a-b| <= c <= min(a+b, 2k-a-b) and a+b+c is even.
int su2Fusion(int a, int b, int c, int k) {
    return std::abs(a - b) <= c && c <= std::min(a + b, 2 * k - a - b) && (a + b + c) % 2 == 0;
}

class Su2Level : public testing::TestWithParam<int> {};

TEST_P(Su2Level, FusionIsTheSu2Rule) {
    const int k = GetParam();
    SpectrumData* sd = useBlock(1, 1, k);
    const int N = sd->Nprimaries;
    ASSERT_EQ(N, k + 1);
    const std::string reports = reportsOf([&] {
        for (int i = 0; i < N; i++)
            for (int j = 0; j < N; j++)
                for (int l = 0; l < N; l++)
                    EXPECT_EQ(fusion(i, j, l, 0),
                              su2Fusion(dynkin1(sd, i), dynkin1(sd, j), dynkin1(sd, l), k))
                        << i << " " << j << " " << l;
    });
    EXPECT_EQ(reports, "");
}

INSTANTIATE_TEST_SUITE_P(Modular, Su2Level, testing::Values(1, 2, 3, 4, 7));

TEST(ModularFusion, Su2LevelFourFieldsFollowTheOrbits) {
    SpectrumData* sd = useBlock(1, 1, 4);
    const int expected[] = {0, 4, 1, 3, 2};
    for (int f = 0; f < 5; f++)
        EXPECT_EQ(dynkin1(sd, f), expected[f]);
}

// The vacuum fuses as the identity; with another field as vacuum the sum runs over all fields
// and still gives the su(2) rule for the vacuum 0.
TEST(ModularFusion, OtherVacuumSumsOverAllFields) {
    SpectrumData* sd = useBlock(1, 1, 3);
    for (int j = 0; j < 4; j++)
        for (int l = 0; l < 4; l++)
            EXPECT_EQ(fusion(0, j, l, 0), j == l ? 1 : 0);
    // N_ij^k with the current as "vacuum": sum_m S_im S_jm S*_km / S_1m = N_{i j}^{J k}.
    for (int i = 0; i < 4; i++)
        for (int j = 0; j < 4; j++)
            for (int l = 0; l < 4; l++)
                EXPECT_EQ(fusion(i, j, l, 1),
                          su2Fusion(dynkin1(sd, i), dynkin1(sd, j), 3 - dynkin1(sd, l), 3));
}

// su(3)_1: Z3 fusion by triality a1 + 2 a2 mod 3.
TEST(ModularFusion, Su3LevelOneIsZ3) {
    SpectrumData* sd = useBlock(1, 2, 1);
    auto triality = [&](int f) {
        const int* rep = SM_getRep(sd, f);
        return (rep[0] + 2 * rep[1]) % 3;
    };
    for (int a = 0; a < 3; a++)
        for (int b = 0; b < 3; b++)
            for (int c = 0; c < 3; c++)
                EXPECT_EQ(fusion(a, b, c, 0), (triality(a) + triality(b)) % 3 == triality(c));
}

// E8 level 2: the fields 1, 248 and 3875 with weights 0, 15/16 and 3/2 fuse as the Ising model.
TEST(ModularFusion, E8LevelTwoIsIsing) {
    SpectrumData* sd = useBlock(5, 8, 2);
    ASSERT_EQ(sd->Nprimaries, 3);
    int sigma = -1, eps = -1;
    for (int f = 0; f < 3; f++) {
        const rat h = *ratWeight(f);
        if (h.num == 15 && h.den == 16)
            sigma = f;
        if (h.num == 3 && h.den == 2)
            eps = f;
    }
    ASSERT_GE(sigma, 0);
    ASSERT_GE(eps, 0);
    EXPECT_EQ(fusion(sigma, sigma, 0, 0), 1);
    EXPECT_EQ(fusion(sigma, sigma, eps, 0), 1);
    EXPECT_EQ(fusion(sigma, sigma, sigma, 0), 0);
    EXPECT_EQ(fusion(sigma, eps, sigma, 0), 1);
    EXPECT_EQ(fusion(sigma, eps, eps, 0), 0);
    EXPECT_EQ(fusion(eps, eps, 0, 0), 1);
    EXPECT_EQ(fusion(eps, eps, eps, 0), 0);
}

class FusionRing : public testing::TestWithParam<TheoryCase> {};

// Coefficients are non-negative integers, symmetric, N_{0j}^k = delta, N_ij^0 = delta(j, i*),
// and the ring is associative; getRijk gives every coefficient of a pair.
TEST_P(FusionRing, IntegerSymmetricAndAssociative) {
    const TheoryCase& c = GetParam();
    SpectrumData* sd = useBlock(c.type, c.rank, c.level);
    const int N = sd->Nprimaries;
    std::vector<int> Nc(N * N * N);
    const std::string reports = reportsOf([&] {
        for (int i = 0; i < N; i++)
            for (int j = 0; j < N; j++) {
                getRijk(-1, i, j, 0);
                for (int k = 0; k < N; k++) {
                    const int n = fusion(i, j, k, 0);
                    Nc[(i * N + j) * N + k] = n;
                    EXPECT_GE(n, 0);
                    EXPECT_NEAR(getRijk(k, i, j, 0), n, 1e-7);
                }
            }
    });
    EXPECT_EQ(reports, "");
    auto n = [&](int i, int j, int k) { return Nc[(i * N + j) * N + k]; };
    for (int i = 0; i < N; i++)
        for (int j = 0; j < N; j++) {
            EXPECT_EQ(n(0, i, j), i == j);
            EXPECT_EQ(n(i, j, 0), j == getConjugate(i));
            for (int k = 0; k < N; k++) {
                EXPECT_EQ(n(i, j, k), n(j, i, k));
                for (int d = 0; d < N; d++) {
                    int left = 0, right = 0;
                    for (int m = 0; m < N; m++) {
                        left += n(i, j, m) * n(m, k, d);
                        right += n(j, k, m) * n(i, m, d);
                    }
                    EXPECT_EQ(left, right);
                }
            }
        }
}

INSTANTIATE_TEST_SUITE_P(Modular, FusionRing,
                         testing::Values(TheoryCase{1, 2, 3}, TheoryCase{2, 2, 2},
                                         TheoryCase{4, 5, 1}, TheoryCase{1, 3, 2},
                                         TheoryCase{4, 4, 2}, TheoryCase{5, 2, 3}),
                         modulartest::theoryName);

// With the orbit table a triple that breaks the charge rule is 0 without a sum.
TEST(ModularFusion, SelectionRuleOfTheCharges) {
    SpectrumData* sd = useBlock(1, 1, 6);
    initSMATRIX();
    ASSERT_EQ(ModularOrbitsAvailable(), QueryCFT());
    for (int i = 0; i < sd->Nprimaries; i++)
        for (int j = 0; j < sd->Nprimaries; j++)
            for (int k = 0; k < sd->Nprimaries; k++)
                if ((dynkin1(sd, i) + dynkin1(sd, j) + dynkin1(sd, k)) % 2 == 1) {
                    EXPECT_EQ(fusion(i, j, k, 0), 0);
                }
}

// GenericVerlinde with S, S, conj S over all fields is the fusion coefficient.
TEST(ModularFusion, GenericVerlindeWithSIsFusion) {
    SpectrumData* sd = useBlock(1, 2, 2);
    const int N = sd->Nprimaries;
    for (int i = 0; i < N; i++)
        for (int j = 0; j < N; j++)
            for (int k = 0; k < N; k++)
                EXPECT_EQ(GenericVerlinde(i, j, -k, N, compS, compS, compS, compS),
                          fusion(i, j, k, 0));
}

// A matrix whose generic sum is not an integer: reported, the rounded value returned.
void halfMatrix(int, int, double* re, double* im) {
    *re = 1.2;
    *im = 0.0;
}

TEST(ModularFusion, GenericVerlindeReportsNonIntegers) {
    useBlock(1, 1, 1);
    int value = 0;
    const std::string reports = reportsOf([&] {
        value = GenericVerlinde(0, 0, 0, 2, halfMatrix, halfMatrix, halfMatrix, halfMatrix);
    });
    EXPECT_EQ(value, 3); // 2 x 1.2^2 = 2.88
    EXPECT_NE(reports.find("Generic fusion rule failure"), std::string::npos);
}

TEST(ModularFusion, FusionProductText) {
    SpectrumData* sd = useBlock(1, 1, 2);
    int one = -1, two = -1;
    for (int f = 0; f < 3; f++) {
        if (dynkin1(sd, f) == 1)
            one = f;
        if (dynkin1(sd, f) == 2)
            two = f;
    }
    char txt[400];
    compF(txt, 0, one, 0);
    EXPECT_EQ(std::string(txt),
              "(0) x (" + std::to_string(one) + ") =  (" + std::to_string(one) + ") \n\n");
    compF(txt, one, one, 0);
    EXPECT_EQ(std::string(txt), "(" + std::to_string(one) + ") x (" + std::to_string(one) +
                                    ") =  (0)  + (" + std::to_string(two) + ") \n\n");
}

TEST(ModularFusion, LongProductsWrap) {
    SpectrumData* sd = useBlock(1, 1, 20);
    int ten = 0;
    while (dynkin1(sd, ten) != 10)
        ten++;
    char txt[2000];
    compF(txt, ten, ten, 0); // 10 x 10 = 0 + 2 + ... + 20: eleven terms
    const std::string text(txt);
    const std::size_t wrap = text.find("\n              ");
    ASSERT_NE(wrap, std::string::npos);
    EXPECT_GT(wrap, 60u);
    EXPECT_LT(wrap, 70u);
    EXPECT_EQ(text.substr(text.size() - 2), "\n\n");
}

} // namespace

namespace {

// su(2) level 1 with its one cached orbit element S_00 = v replaced: every element is +-v and
// N_00^0 = 2 v^2, so the rounding rule can be driven to each of its three outcomes.
TEST(ModularFusion, RoundingRuleOfTheCoefficients) {
    SpectrumData* sd = useBlock(1, 1, 1);
    double re, im;
    SM_getS(sd, 0, 0, &re, &im);
    ASSERT_NE(sd->SBase, nullptr);
    ASSERT_EQ(sd->Norbits, 1);
    struct Case {
        double value; // 2 v^2
        int expected;
        const char* report;
    };
    const Case cases[] = {{1.00000005, 1, ""},
                          {1.003, 1, "Fusion rule inaccuracy"},
                          {1.4, -9998, "Fusion rule failure"}};
    for (const Case& c : cases) {
        sd->SBase[0] = std::sqrt(c.value / 2.0);
        CFTChanged();
        int n = 0;
        const std::string reports = reportsOf([&] { n = fusion(0, 0, 0, 0); });
        EXPECT_EQ(n, c.expected) << c.value;
        if (*c.report)
            EXPECT_NE(reports.find(c.report), std::string::npos) << reports;
        else
            EXPECT_EQ(reports, "");
    }
    SM_allocSBase(sd);
    CFTChanged();
    EXPECT_EQ(fusion(0, 0, 0, 0), 1);
}

} // namespace
