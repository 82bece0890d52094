// P = T^1/2 S T^2 S T^1/2 of the current theory, against the closed form of su(2)_k and against
// the identities every P satisfies: symmetric, unitary, P^2 = C. Every route (packed, orbit rows,
// direct) must give the same matrix.
#include "modular/Modular.h"

#include "ModularTestHelpers.h"
#include "base/Error.h"
#include "base/Parameters.h"

#include <gtest/gtest.h>

#include <cmath>
#include <complex>
#include <numbers>
#include <string>
#include <vector>

namespace {

using modulartest::dynkin1;
using modulartest::P;
using modulartest::reportsOf;
using modulartest::useBlock;
using Complex = std::complex<double>;

class PMatrix : public testing::Test {
protected:
    void SetUp() override { modulartest::registerModularParameters(); }
    void TearDown() override { modulartest::registerModularParameters(); }
};

// su(2)_k in Dynkin labels: 2/sqrt(k+2) sin(pi (a+1)(b+1) / (2(k+2))) when a+b+k is even.
double su2P(int a, int b, int k) {
    if ((a + b + k) % 2 != 0)
        return 0.0;
    return 2.0 / std::sqrt(k + 2.0) *
           std::sin(std::numbers::pi * (a + 1) * (b + 1) / (2.0 * (k + 2)));
}

// Every element, row by row.
std::vector<Complex> allP(int N) {
    std::vector<Complex> elements;
    for (int i = 0; i < N; i++)
        for (int j = 0; j < N; j++)
            elements.push_back(P(i, j));
    return elements;
}

// Symmetric, unitary, and P^2 = C.
void expectPIdentities(SpectrumData* sd, const std::string& what) {
    const int N = sd->Nprimaries;
    for (int i = 0; i < N; i++)
        for (int j = 0; j < N; j++) {
            EXPECT_NEAR(std::abs(P(i, j) - P(j, i)), 0.0, 1e-12) << what << " " << i << "," << j;
            Complex unit = 0.0, square = 0.0;
            for (int k = 0; k < N; k++) {
                unit += P(i, k) * std::conj(P(j, k));
                square += P(i, k) * P(k, j);
            }
            EXPECT_NEAR(std::abs(unit - (i == j ? 1.0 : 0.0)), 0.0, 1e-10)
                << what << " unitarity " << i << "," << j;
            EXPECT_NEAR(std::abs(square - (getConjugate(i) == j ? 1.0 : 0.0)), 0.0, 1e-10)
                << what << " P^2 = C " << i << "," << j;
        }
}

class Su2P : public PMatrix, public testing::WithParamInterface<int> {};

TEST_P(Su2P, ClosedFormAndIdentities) {
    const int k = GetParam();
    SpectrumData* sd = useBlock(1, 1, k);
    for (int i = 0; i <= k; i++)
        for (int j = 0; j <= k; j++) {
            const Complex p = P(i, j);
            EXPECT_NEAR(p.real(), su2P(dynkin1(sd, i), dynkin1(sd, j), k), 1e-12) << i << "," << j;
            EXPECT_NEAR(p.imag(), 0.0, 1e-12) << i << "," << j;
        }
    expectPIdentities(sd, "A1 level " + std::to_string(k));
}

INSTANTIATE_TEST_SUITE_P(Modular, Su2P, testing::Range(1, 11));

// Direct sums over all fields, orbit rows, the packed P, and both with only the first row of S:
// one matrix. su(3) level 3 has complex fields, conjugate pairs and a fixed point; so(8) level 2
// has three order-two currents.
TEST_F(PMatrix, EveryRouteGivesTheSameMatrix) {
    for (auto [type, rank, level] : {std::tuple{1, 2, 3}, std::tuple{4, 4, 2}}) {
        setIntPar("Use_orbits", 0);
        setIntPar("S_matrix maxsize", 400);
        SpectrumData* sd = useBlock(type, rank, level);
        const int N = sd->Nprimaries;
        const std::vector<Complex> direct = allP(N);
        for (int orbits : {1, 2})
            for (int maxsize : {400, 1})
                for (bool packed : {false, true}) {
                    setIntPar("Use_orbits", orbits);
                    setIntPar("S_matrix maxsize", maxsize);
                    useBlock(type, rank, level);
                    reportsOf([] { initSMATRIX(); });
                    if (packed) {
                        EXPECT_EQ(initPMATRIX() != nullptr, maxsize >= N);
                    }
                    for (int i = 0; i < N; i++)
                        for (int j = 0; j < N; j++)
                            EXPECT_NEAR(std::abs(P(i, j) - direct[i * N + j]), 0.0, 1e-12)
                                << sd->AlgebraName << " orbits " << orbits << " maxsize " << maxsize
                                << " packed " << packed << ": " << i << "," << j;
                }
        expectPIdentities(sd, sd->AlgebraName);
    }
}

// (i,j), (j,i) and (c(i),c(j)) are one stored entry of the packed P.
TEST_F(PMatrix, ConjugatePairsShareOneEntry) {
    SpectrumData* sd = useBlock(1, 2, 3);
    const int N = sd->Nprimaries;
    const double* packed = initPMATRIX();
    ASSERT_NE(packed, nullptr);
    auto computed = [&] {
        int n = 0;
        for (int e = 0; e < N * (N + 1) / 2; e++)
            n += packed[e] > -1.5;
        return n;
    };
    const int i = modulartest::fieldOf(sd, {1, 0}), j = modulartest::fieldOf(sd, {2, 1});
    const int ci = getConjugate(i), cj = getConjugate(j);
    ASSERT_NE(ci, i);
    const Complex first = P(i, j);
    EXPECT_EQ(computed(), 1);
    for (Complex other : {P(j, i), P(ci, cj), P(cj, ci)})
        EXPECT_EQ(other, first);
    EXPECT_EQ(computed(), 1);
    int a, b;
    convertPLabels(cj, ci, &a, &b);
    EXPECT_EQ(std::min({i, j, ci, cj}), a);
}

// An order-two current J of the effective center makes P_ij vanish when Q_J(i) != Q_J(j); with
// orbit data that zero is exact, and the direct sum agrees with it.
TEST_F(PMatrix, OrderTwoCurrentsSeparateExactly) {
    for (auto [type, rank, level] :
         {std::tuple{1, 1, 6}, std::tuple{4, 4, 2}, std::tuple{1, 3, 2}}) {
        setIntPar("Use_orbits", 0);
        SpectrumData* sd = useBlock(type, rank, level);
        const int N = sd->Nprimaries;
        const std::vector<Complex> direct = allP(N);
        setIntPar("Use_orbits", 2);
        useBlock(type, rank, level);
        int separated = 0;
        for (int J = 1; J < CenterOrder(); J++) {
            const rat h = *ratWeight(J);
            if (simpleCurrentOrder(J, 0) != 2 || (2 * h.num) % h.den != 0)
                continue;
            for (int i = 0; i < N; i++)
                for (int j = 0; j < N; j++) {
                    const rat qi = *simpleCurrentCharge(J, i);
                    const rat qj = *simpleCurrentCharge(J, j);
                    if (qi.num * qj.den == qj.num * qi.den)
                        continue;
                    separated++;
                    const Complex p = P(i, j);
                    EXPECT_EQ(p.real(), 0.0) << sd->AlgebraName << " " << i << "," << j;
                    EXPECT_EQ(p.imag(), 0.0) << sd->AlgebraName << " " << i << "," << j;
                    EXPECT_NEAR(std::abs(direct[i * N + j]), 0.0, 1e-12);
                }
        }
        EXPECT_GT(separated, 0) << sd->AlgebraName;
    }
}

TEST_F(PMatrix, DisplayPadsLikeS) {
    useBlock(1, 1, 4);
    char txt[200];
    displayP(txt, 4, 4);
    EXPECT_STREQ(txt, "P(4,4) =      0.57735027 \n");
    useBlock(1, 1, 10);
    displayP(txt, 2, 3);
    // Labels of two digits are padded for: 2 * 2 + 5 characters before "=".
    EXPECT_EQ(std::string(txt).substr(0, 10), "P(2,3)   =");
}

// A pair whose first label is not the least of its class misses the orbit row; it is reported and
// computed directly.
TEST_F(PMatrix, AnAddressOutsideTheRowIsComputedDirectly) {
    useBlock(1, 1, 4);
    initSMATRIX();
    const Complex expected = P(0, 4);
    double re = 0.0, im = 0.0;
    const std::string reports = reportsOf([&] { compPfromOrbits(4, 0, &re, &im); });
    EXPECT_NE(reports.find("Invalid P-matrix address"), std::string::npos);
    EXPECT_NEAR(std::abs(Complex(re, im) - expected), 0.0, 1e-12);
}

// ---- P-fusion ----

// Y_ijk = sum_m S_mi P_mj P*_mk / S_m0 is an integer; Y_p00 is the indicator (-1)^l of su(2).
TEST_F(PMatrix, PFusionOfSu2IsIntegral) {
    for (int k = 2; k <= 4; k++) {
        SpectrumData* sd = useBlock(1, 1, k);
        const std::string reports = reportsOf([&] {
            for (int i = 0; i <= k; i++) {
                EXPECT_EQ(Pfusion(i, 0, 0), dynkin1(sd, i) % 2 == 0 ? 1 : -1);
                for (int j = 0; j <= k; j++)
                    for (int l = 0; l <= k; l++)
                        Pfusion(i, j, l);
            }
        });
        EXPECT_EQ(reports, "") << "level " << k;
    }
}

// su(2)_2: P(sigma, m) vanishes except at m = sigma, where S(sigma, sigma) = 0.
TEST_F(PMatrix, PFusionProductWithoutTermsIsMarked) {
    SpectrumData* sd = useBlock(1, 1, 2);
    const int sigma = modulartest::fieldOf(sd, {1});
    char txt[400];
    compFp(txt, sigma, sigma, 0);
    EXPECT_EQ(std::string(txt),
              "(" + std::to_string(sigma) + ") x (" + std::to_string(sigma) + ") =   -- \n\n");
    compFp(txt, 0, sigma, 0);
    EXPECT_EQ(std::string(txt),
              "(0) x (" + std::to_string(sigma) + ") =  (" + std::to_string(sigma) + ") \n\n");
}

} // namespace
