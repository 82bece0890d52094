// Z2 permutation orbifolds of A x A. The checks are those any modular tensor category passes:
// S unitary and symmetric, (ST)^3 = S^2 with the doubled central charge, non-negative integral
// Verlinde coefficients; the field count N(N-1)/2 + 4N, and the weights 2h_i, h_i + h_j,
// h_i/2 + c/16 (+1/2) with the antisymmetric vacuum at weight 1.
#include "store/Storemanager.h"

#include "StoreTestHelpers.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <numbers>
#include <string>
#include <vector>

namespace {

using storetest::block;
using storetest::cplx;
using storetest::Matrix;

SpectrumData* orbifoldOf(SpectrumData* A) {
    testing::internal::CaptureStdout();
    SpectrumData* B = SM_getPermutationOrbifold(A, 2, nullptr);
    testing::internal::GetCapturedStdout();
    return B;
}

Matrix sMatrix(SpectrumData* sd) {
    const auto N = static_cast<std::size_t>(sd->Nprimaries);
    Matrix S(N, std::vector<cplx>(N));
    for (int i = 0; i < sd->Nprimaries; i++)
        for (int j = 0; j < sd->Nprimaries; j++) {
            double re = 0.0, im = 0.0;
            SM_getS(sd, i, j, &re, &im);
            S[i][j] = {re, im};
        }
    return S;
}

Matrix tMatrix(SpectrumData* sd) {
    const auto N = static_cast<std::size_t>(sd->Nprimaries);
    Matrix T(N, std::vector<cplx>(N));
    for (int i = 0; i < sd->Nprimaries; i++)
        T[i][i] = std::polar(1.0, 2.0 * std::numbers::pi * SM_getLogT(sd, i));
    return T;
}

void expectUnitary(const Matrix& S, const std::string& what) {
    storetest::expectNear(storetest::multiply(S, storetest::adjoint(S)),
                          storetest::identity(S.size()), what + ": S S^+ = 1");
}

double weight(SpectrumData* sd, int lbl) {
    return SM_realWeight(sd, lbl);
}

int fieldOf(SpectrumData* B, int x, int y, int kind) {
    const int t[3] = {x, y, kind};
    return SM_getLabelNoMessage(B, t);
}

struct Case {
    int type, rank, level, fields;
};

class PermutationOrbifold : public testing::TestWithParam<Case> {};

TEST_P(PermutationOrbifold, IsAModularTensorCategoryOfTheDoubledCharge) {
    const Case c = GetParam();
    SpectrumData* A = block(c.type, c.rank, c.level);
    SpectrumData* B = orbifoldOf(A);
    ASSERT_NE(B, nullptr);
    ASSERT_EQ(B->Nprimaries, c.fields);
    EXPECT_EQ(B->type, A->type + 1000);
    EXPECT_EQ(B->basis, A);
    EXPECT_EQ(SM_getCenter(B), 4) << "the vacuum and its antisymmetric partner, times Z2";
    EXPECT_NEAR(B->CentralCharge, 2 * A->CentralCharge, 1e-12);
    const Matrix S = sMatrix(B);
    const Matrix T = tMatrix(B);
    expectUnitary(S, "orbifold");
    for (std::size_t i = 0; i < S.size(); i++)
        for (std::size_t j = 0; j < i; j++)
            EXPECT_LT(std::abs(S[i][j] - S[j][i]), 1e-10) << "symmetric at " << i << "," << j;
    const Matrix ST = storetest::multiply(S, T);
    storetest::expectNear(storetest::multiply(storetest::multiply(ST, ST), ST),
                          storetest::multiply(S, S), "(ST)^3 = S^2");
    const std::size_t N = S.size();
    for (std::size_t i = 0; i < N; i++)
        for (std::size_t j = i; j < N; j++)
            for (std::size_t k = j; k < N; k++) {
                cplx n = 0.0;
                for (std::size_t m = 0; m < N; m++)
                    n += S[i][m] * S[j][m] * std::conj(S[k][m]) / S[0][m];
                EXPECT_LT(std::abs(n - std::round(n.real())), 1e-8) << i << "x" << j << "->" << k;
                EXPECT_GT(n.real(), -1e-8);
            }
}

TEST_P(PermutationOrbifold, WeightsComeFromTheBaseFields) {
    const Case c = GetParam();
    SpectrumData* A = block(c.type, c.rank, c.level);
    SpectrumData* B = orbifoldOf(A);
    ASSERT_NE(B, nullptr);
    const double c16 = A->CentralCharge / 16;
    for (int i = 0; i < A->Nprimaries; i++) {
        const double h = weight(A, i);
        EXPECT_NEAR(weight(B, fieldOf(B, i, 0, 0)), 2 * h, 1e-12);
        EXPECT_NEAR(weight(B, fieldOf(B, i, 1, 0)), i == 0 ? 1.0 : 2 * h, 1e-12);
        EXPECT_NEAR(weight(B, fieldOf(B, i, 0, 2)), h / 2 + c16, 1e-12);
        EXPECT_NEAR(weight(B, fieldOf(B, i, 1, 2)), h / 2 + c16 + 0.5, 1e-12);
        for (int j = i + 1; j < A->Nprimaries; j++)
            EXPECT_NEAR(weight(B, fieldOf(B, i, j, 1)), h + weight(A, j), 1e-12);
    }
    EXPECT_EQ(B->Weight_num[0], 0);
}

TEST_P(PermutationOrbifold, TheFixedPointsOfTheExchangeCurrentHaveUnitaryS) {
    const Case c = GetParam();
    SpectrumData* B = orbifoldOf(block(c.type, c.rank, c.level));
    ASSERT_NE(B, nullptr);
    const int J = fieldOf(B, 0, 1, 0);
    ASSERT_GE(J, 0);
    SpectrumData* F = SM_getFCFT(B, J);
    ASSERT_NE(F, nullptr);
    EXPECT_EQ(F->S_available, 1);
    EXPECT_EQ(F->FCFT_type, 1);
    const int n = SM_getNumberofPrimaries(B->basis);
    EXPECT_EQ(F->Nprimaries, n * (n - 1) / 2);
    // Its fixed points are exactly the off-diagonal fields.
    for (int f = 0; f < F->Nprimaries; f++)
        EXPECT_EQ(SM_getRep(F, f)[2], 1);
    expectUnitary(sMatrix(F), "fixed points of (0,1,0)");
}

INSTANTIATE_TEST_SUITE_P(Blocks, PermutationOrbifold,
                         testing::Values(Case{1, 1, 1, 9}, Case{1, 1, 2, 15}, Case{1, 1, 3, 22},
                                         Case{1, 1, 4, 30}, Case{2, 0, 1, 15}),
                         [](const testing::TestParamInfo<Case>& info) {
                             return "T" + std::to_string(info.param.type) + "R" +
                                    std::to_string(info.param.rank) + "L" +
                                    std::to_string(info.param.level);
                         });

TEST(PermutationOrbifoldStore, ASecondRequestReturnsTheFirstRecord) {
    SpectrumData* A = block(1, 1, 2);
    SpectrumData* B = orbifoldOf(A);
    EXPECT_EQ(SM_getPermutationOrbifold(A, 2, nullptr), B);
    SpectrumData* other = orbifoldOf(block(1, 1, 3));
    EXPECT_NE(other, B);
    EXPECT_EQ(SM_getData(1, 1, 2), A) << "the base key still finds the base";
}

// Built only here, so that the build and its name are this test's own.
TEST(PermutationOrbifoldStore, TheBuildPrintsItsCounts) {
    SpectrumData* A = block(1, 3, 1);
    storetest::forgetOrbifoldsOf(A);
    testing::internal::CaptureStdout();
    SpectrumData* B = SM_getPermutationOrbifold(A, 2, "su4 squared");
    const std::string out = testing::internal::GetCapturedStdout();
    ASSERT_NE(B, nullptr);
    EXPECT_EQ(std::string(B->AlgebraName), "su4 squared");
    EXPECT_EQ(out, "Primaries: 22\nTotal number of simple currents: 8\n");
    EXPECT_EQ(SM_getCenter(B), 8) << "Z2 x Z4";
}

// Dimensions of the horizontal representations: symmetric and antisymmetric squares, products,
// and the adjoint for the antisymmetric vacuum.
TEST(PermutationOrbifoldStore, DimensionsOfTheGroundStates) {
    SpectrumData* A = block(1, 1, 2);
    SpectrumData* B = orbifoldOf(A);
    ASSERT_NE(B, nullptr);
    // su(2)_2: the field 1 is spin 1 (dimension 3), the field 2 spin 1/2 (dimension 2).
    const int J = 1, s = 2;
    ASSERT_EQ(SM_getRep(A, J)[0], 2);
    ASSERT_EQ(SM_getRep(A, s)[0], 1);
    EXPECT_EQ(B->Dimensions[fieldOf(B, 0, 0, 0)], 1);
    EXPECT_EQ(B->Dimensions[fieldOf(B, 0, 1, 0)], 3) << "the adjoint";
    EXPECT_EQ(B->Dimensions[fieldOf(B, J, 0, 0)], 6);
    EXPECT_EQ(B->Dimensions[fieldOf(B, J, 1, 0)], 3);
    EXPECT_EQ(B->Dimensions[fieldOf(B, s, 0, 0)], 3);
    EXPECT_EQ(B->Dimensions[fieldOf(B, s, 1, 0)], 1);
    EXPECT_EQ(B->Dimensions[fieldOf(B, J, s, 1)], 6);
    EXPECT_EQ(B->Dimensions[fieldOf(B, s, 1, 2)], 1);
}

// A base field of dimension one other than the vacuum has an empty antisymmetric square.
TEST(PermutationOrbifoldStore, AnEmptyAntisymmetricSquareIsUndetermined) {
    SpectrumData* A = block(0, 4, 0);
    SpectrumData* B = orbifoldOf(A);
    ASSERT_NE(B, nullptr);
    ASSERT_NE(A->Dimensions, nullptr);
    ASSERT_EQ(A->Dimensions[1], 1);
    EXPECT_EQ(B->Dimensions[fieldOf(B, 1, 1, 0)], 999999);
    EXPECT_EQ(B->Dimensions[fieldOf(B, 1, 0, 0)], 1);
}

// su(2)_2: the currents (1,0,0) and (1,1,0) have resolution matrices from closed tables.
TEST(PermutationOrbifoldFixedPoints, Su2LevelTwoTablesAreUnitary) {
    SpectrumData* B = orbifoldOf(block(1, 1, 2));
    ASSERT_NE(B, nullptr);
    SpectrumData* F0 = SM_getFCFT(B, fieldOf(B, 1, 0, 0));
    SpectrumData* F1 = SM_getFCFT(B, fieldOf(B, 1, 1, 0));
    ASSERT_NE(F0, nullptr);
    ASSERT_NE(F1, nullptr);
    ASSERT_EQ(F0->Nprimaries, 7);
    const Matrix S0 = sMatrix(F0);
    for (const auto& row : S0)
        for (cplx x : row)
            EXPECT_LT(std::abs(x.real()), 1e-12) << "purely imaginary";
    expectUnitary(S0, "A0");
    Matrix minusOne = storetest::identity(7);
    for (std::size_t i = 0; i < 7; i++)
        minusOne[i][i] = -1.0;
    storetest::expectNear(storetest::multiply(S0, S0), minusOne, "(S^J)^2 = -1");
    expectUnitary(sMatrix(F1), "A1");
}

TEST(PermutationOrbifoldFixedPoints, OnlyTheExchangeCurrentHasSBeyondTheTables) {
    SpectrumData* B = orbifoldOf(block(1, 1, 3));
    ASSERT_NE(B, nullptr);
    const int exchange = fieldOf(B, 0, 1, 0);
    ASSERT_GT(B->FCFTnumber, 1);
    for (int f = 0; f < B->FCFTnumber; f++) {
        const int J = B->FixedPointCurrents[f];
        EXPECT_EQ(B->FixedPointCFT[f]->S_available, J == exchange ? 1 : 0) << "current " << J;
    }
}

// B algebras at level 1 (the Ising model is B0) and D algebras at level 1: every fixed-point
// theory that has S has a unitary one, from the closed tables or from the off-diagonal formula.
struct TableCase {
    int type, rank, fixedPointCurrents, withS;
};

class PermutationTables : public testing::TestWithParam<TableCase> {};

TEST_P(PermutationTables, ResolutionMatricesAreUnitary) {
    const TableCase c = GetParam();
    SpectrumData* B = orbifoldOf(block(c.type, c.rank, 1));
    ASSERT_NE(B, nullptr);
    ASSERT_EQ(B->FCFTnumber, c.fixedPointCurrents);
    int withS = 0;
    for (int f = 0; f < B->FCFTnumber; f++) {
        SpectrumData* F = B->FixedPointCFT[f];
        const int* J = F->FCFTcurrent;
        if (!F->S_available)
            continue;
        withS++;
        expectUnitary(sMatrix(F),
                      "current (" + std::to_string(J[0]) + "," + std::to_string(J[1]) + ")");
    }
    EXPECT_EQ(withS, c.withS);
}

INSTANTIATE_TEST_SUITE_P(LevelOne, PermutationTables,
                         testing::Values(TableCase{2, 0, 3, 3}, TableCase{2, 2, 3, 3},
                                         TableCase{2, 3, 3, 3}, TableCase{4, 4, 7, 3},
                                         TableCase{4, 5, 3, 3}, TableCase{4, 6, 7, 3},
                                         TableCase{4, 7, 3, 3}),
                         [](const testing::TestParamInfo<TableCase>& info) {
                             return "T" + std::to_string(info.param.type) + "R" +
                                    std::to_string(info.param.rank);
                         });

} // namespace

namespace {

std::vector<double> weightsModOne(SpectrumData* sd) {
    std::vector<double> w;
    for (int i = 0; i < sd->Nprimaries; i++) {
        const double h = SM_realWeight(sd, i);
        w.push_back(h - std::floor(h + 1e-9));
    }
    std::sort(w.begin(), w.end());
    return w;
}

// Ising x Ising is the Dirac fermion; its Z2 permutation orbifold is the c=1 orbifold at N = 8,
// with the weights x^2/32, 2 (twice), 1, 1/16 and 9/16 (twice each) there, modulo 1.
TEST(PermutationOrbifoldStore, IsingSquaredOrbifoldHasTheWeightsOfTheCircleOrbifold) {
    SpectrumData* B = orbifoldOf(block(2, 0, 1));
    SpectrumData* circle = block(7, 8, 0);
    ASSERT_NE(B, nullptr);
    ASSERT_NE(circle, nullptr);
    const std::vector<double> a = weightsModOne(B), b = weightsModOne(circle);
    ASSERT_EQ(a.size(), b.size());
    for (std::size_t i = 0; i < a.size(); i++)
        EXPECT_NEAR(a[i], b[i], 1e-12) << i;
}

} // namespace

namespace {

// su(3)_1 has complex fields: S^2 is the charge conjugation of the orbifold, and the conjugates
// found from S rows are that permutation; the triplet's squares go to the antitriplet's.
TEST(PermutationOrbifoldStore, ConjugatesAreTheSquareOfS) {
    SpectrumData* A = block(1, 2, 1);
    SpectrumData* B = orbifoldOf(A);
    ASSERT_NE(B, nullptr);
    const Matrix S = sMatrix(B);
    const Matrix S2 = storetest::multiply(S, S);
    for (int i = 0; i < B->Nprimaries; i++) {
        const int c = SM_getConjugate(B, i);
        ASSERT_GE(c, 0) << i;
        for (int j = 0; j < B->Nprimaries; j++)
            EXPECT_LT(std::abs(S2[i][j] - (j == c ? 1.0 : 0.0)), 1e-9) << i << "," << j;
    }
    const int t = SM_getConjugate(A, 1);
    ASSERT_NE(t, 1);
    for (int s = 0; s < 2; s++) {
        EXPECT_EQ(SM_getConjugate(B, fieldOf(B, 1, s, 0)), fieldOf(B, t, s, 0));
        EXPECT_EQ(SM_getConjugate(B, fieldOf(B, 1, s, 2)), fieldOf(B, t, s, 2));
    }
}

} // namespace
