// S-matrix elements through the dispatcher: closed forms, the level-1 tables and the properties
// every modular S-matrix has (symmetric, unitary, S^2 = charge conjugation, (ST)^3 = S^2, the
// first row giving the quantum dimensions).
#include "lie/Smatrix.h"
#include "lie/S_analytic.h"
#include "lie/Tarvik.h"

#include "LieTestHelpers.h"
#include "base/Parameters.h"

#include <gtest/gtest.h>

#include <cmath>
#include <complex>
#include <numbers>
#include <string>
#include <vector>

namespace {

using lietest::occurrences;
using lietest::reportsOf;
using cd = std::complex<double>;

constexpr double Pi = std::numbers::pi;
constexpr double Eps = 1e-9;

AllocCount SmatrixTestCounter = ALLOC_COUNTER("S-matrix test");

cd element(int type, int rank, int level, const int* a, const int* b) {
    double re = 0, im = 0;
    SDirect(type, rank, level, a, b, &re, &im);
    return {re, im};
}

// The fields of an algebra at a level (from spectrum_) with its whole S-matrix.
struct Model {
    int type, rank, level;
    int N = 0, repSize = 0, g = 0, denom = 0;
    double c = 0;
    std::vector<std::vector<int>> fields;
    std::vector<long long> weightNum;
    std::vector<cd> S;

    Model(int t, int r, int k) : type(t), rank(r), level(k) {
        int norbits, adj, center, mult, complex;
        int *dynkin = nullptr, *orders = nullptr, *base = nullptr;
        spectrum_(t, r, k, &N, &norbits, &adj, &repSize, &g, &center, &mult, &denom, &complex, &c,
                  &dynkin, &orders, &base, &SmatrixTestCounter);
        for (int L = 0; L < N; L++) {
            fields.emplace_back(dynkin + L * repSize, dynkin + (L + 1) * repSize);
            weightNum.push_back(base[(3 + 2 * mult) * N + L]);
        }
        freespace(base, sizeof(int) * (2 * mult + 4) * N, &SmatrixTestCounter, "Orbit data");
        freespace(dynkin, sizeof(int) * N * repSize, &SmatrixTestCounter, "Dynkin labels");
        if (orders)
            freespace(orders, sizeof(int) * (mult == 2 ? 2 : 1), &SmatrixTestCounter,
                      "Center orders");
        S.resize(static_cast<std::size_t>(N) * N);
        for (int i = 0; i < N; i++)
            for (int j = 0; j < N; j++)
                S[i * N + j] = element(t, r, k, fields[i].data(), fields[j].data());
    }
    cd s(int i, int j) const { return S[i * N + j]; }
    int find(const std::vector<int>& w) const {
        for (int L = 0; L < N; L++)
            if (fields[L] == w)
                return L;
        return -1;
    }
    int conjugate(int i) const {
        std::vector<int> w(repSize);
        conjg_(type, rank, fields[i].data(), w.data());
        return find(w);
    }
    double weight(int i) const { return static_cast<double>(weightNum[i]) / denom; }
    std::string name() const {
        return "type " + std::to_string(type) + " rank " + std::to_string(rank) + " level " +
               std::to_string(level);
    }
};

void expectNear(cd got, cd want, const std::string& where) {
    EXPECT_NEAR(got.real(), want.real(), Eps) << where;
    EXPECT_NEAR(got.imag(), want.imag(), Eps) << where;
}

std::string at(const Model& m, int i, int j) {
    return m.name() + " (" + std::to_string(i) + "," + std::to_string(j) + ")";
}

void expectSymmetricUnitary(const Model& m) {
    for (int i = 0; i < m.N; i++)
        for (int j = 0; j < m.N; j++) {
            expectNear(m.s(i, j), m.s(j, i), "symmetry " + at(m, i, j));
            cd u = 0;
            for (int k = 0; k < m.N; k++)
                u += m.s(i, k) * std::conj(m.s(j, k));
            expectNear(u, i == j ? 1.0 : 0.0, "unitarity " + at(m, i, j));
        }
}

void expectSquareIsConjugation(const Model& m) {
    for (int i = 0; i < m.N; i++) {
        const int ci = m.conjugate(i);
        ASSERT_GE(ci, 0) << m.name();
        for (int j = 0; j < m.N; j++) {
            cd s2 = 0;
            for (int k = 0; k < m.N; k++)
                s2 += m.s(i, k) * m.s(k, j);
            expectNear(s2, j == ci ? 1.0 : 0.0, "S^2 " + at(m, i, j));
        }
    }
}

// S_0i / S_00 is the quantum dimension, and S_00 = (sum of d_i^2)^(-1/2).
void expectQuantumDimensions(const Model& m) {
    double sum = 0;
    for (int i = 0; i < m.N; i++) {
        const double d = QDim(m.fields[i].data(), m.type, m.rank, m.level);
        sum += d * d;
        expectNear(m.s(0, i) / m.s(0, 0), d, "quantum dimension " + at(m, 0, i));
    }
    expectNear(m.s(0, 0), 1 / std::sqrt(sum), "S_00 " + m.name());
}

// (ST)^3 = S^2 with T = exp(2 pi i (h - c/24)).
void expectModularRelation(const Model& m) {
    const int N = m.N;
    std::vector<cd> ST(N * N), P(N * N), Q(N * N);
    for (int i = 0; i < N; i++)
        for (int j = 0; j < N; j++)
            ST[i * N + j] = m.s(i, j) * std::polar(1.0, 2 * Pi * (m.weight(j) - m.c / 24));
    auto multiply = [N](const std::vector<cd>& A, const std::vector<cd>& B) {
        std::vector<cd> C(N * N);
        for (int i = 0; i < N; i++)
            for (int k = 0; k < N; k++)
                for (int j = 0; j < N; j++)
                    C[i * N + j] += A[i * N + k] * B[k * N + j];
        return C;
    };
    P = multiply(multiply(ST, ST), ST);
    for (int i = 0; i < N; i++)
        for (int j = 0; j < N; j++)
            expectNear(P[i * N + j], j == m.conjugate(i) ? 1.0 : 0.0, "(ST)^3 " + at(m, i, j));
}

class Smatrix : public testing::Test {
protected:
    void SetUp() override {
        if (!findInternalParameter("Maxrank"))
            addInternalParameter("Maxrank", "20", 'i', 0);
        initializeTarvik();
        setIntPar("Maxrank", 20);
    }
};

// ---- Whole matrices ----

struct Triple {
    int type, rank, level;
};

TEST_F(Smatrix, WholeMatricesAtLowLevels) {
    const Triple cases[] = {
        {1, 1, 1}, {1, 1, 2}, {1, 1, 3}, {1, 2, 1}, {1, 2, 2}, {1, 2, 3}, {1, 3, 1}, {1, 3, 2},
        {1, 4, 1}, {2, 2, 1}, {2, 2, 2}, {2, 3, 1}, {2, 3, 2}, {2, 3, 3}, {2, 4, 2}, {3, 2, 1},
        {3, 2, 2}, {3, 3, 1}, {3, 3, 2}, {3, 2, 3}, {4, 4, 1}, {4, 5, 1}, {4, 6, 1}, {4, 7, 1},
        {4, 4, 2}, {4, 5, 2}, {4, 3, 2}, {5, 2, 1}, {5, 2, 2}, {5, 2, 3}, {5, 4, 1}, {5, 4, 2},
        {5, 6, 1}, {5, 6, 2}, {5, 7, 1}, {5, 7, 2}, {5, 8, 1}, {5, 8, 2}, {5, 8, 3},
    };
    for (const Triple& t : cases) {
        Model m(t.type, t.rank, t.level);
        SCOPED_TRACE(m.name());
        expectSymmetricUnitary(m);
        expectSquareIsConjugation(m);
        expectQuantumDimensions(m);
        expectModularRelation(m);
    }
}

TEST_F(Smatrix, WholeMatricesAtLargerLevels) {
    const Triple cases[] = {{1, 1, 10}, {1, 2, 6}, {1, 3, 4}, {2, 3, 4}, {3, 3, 4}, {4, 4, 4},
                            {4, 5, 3},  {5, 2, 6}, {5, 4, 3}, {5, 6, 3}, {5, 7, 3}, {5, 8, 4}};
    for (const Triple& t : cases) {
        Model m(t.type, t.rank, t.level);
        SCOPED_TRACE(m.name());
        expectSymmetricUnitary(m);
        expectSquareIsConjugation(m);
        expectQuantumDimensions(m);
    }
}

// ---- Closed forms ----

TEST_F(Smatrix, Su2IsTheSineFormula) {
    for (int k = 1; k <= 6; k++)
        for (int a = 0; a <= k; a++)
            for (int b = 0; b <= k; b++) {
                const int ra[2] = {a, k - a}, rb[2] = {b, k - b};
                const cd s = element(1, 1, k, ra, rb);
                EXPECT_NEAR(s.real(),
                            std::sqrt(2.0 / (k + 2)) * std::sin(Pi * (a + 1) * (b + 1) / (k + 2)),
                            Eps);
                EXPECT_EQ(s.imag(), 0.0);
            }
}

TEST_F(Smatrix, Su3Level1IsTheZ3CharacterTable) {
    const int vac[3] = {0, 0, 1}, w1[3] = {1, 0, 0}, w2[3] = {0, 1, 0};
    const cd one = 1 / std::sqrt(3.0), up = std::polar(one.real(), 2 * Pi / 3),
             down = std::conj(up);
    const int* f[3] = {vac, w1, w2};
    const cd want[3][3] = {{one, one, one}, {one, up, down}, {one, down, up}};
    for (int i = 0; i < 3; i++)
        for (int j = 0; j < 3; j++)
            expectNear(element(1, 2, 1, f[i], f[j]), want[i][j], "su(3)_1");
}

// The two fields of G2 and F4 at level 1 have quantum dimensions 1 and the golden ratio.
TEST_F(Smatrix, G2AndF4Level1AreTheFibonacciMatrix) {
    const double a = 2 / std::sqrt(5.0) * std::sin(Pi / 5),
                 b = 2 / std::sqrt(5.0) * std::sin(2 * Pi / 5);
    const double want[2][2] = {{a, b}, {b, -a}};
    for (int rank : {2, 4}) {
        Model m(5, rank, 1);
        ASSERT_EQ(m.N, 2);
        for (int i = 0; i < 2; i++)
            for (int j = 0; j < 2; j++)
                expectNear(m.s(i, j), want[i][j], at(m, i, j));
    }
}

TEST_F(Smatrix, E6Level1) {
    std::vector<int> vac = {0, 0, 0, 0, 0, 0, 1}, f4 = {0, 0, 0, 0, 1, 0, 0},
                     f0 = {1, 0, 0, 0, 0, 0, 0};
    const double r = 1 / std::sqrt(3.0);
    const cd d = std::polar(r, -2 * Pi / 3), o = std::polar(r, 2 * Pi / 3);
    const std::vector<int>* f[3] = {&vac, &f4, &f0};
    const cd want[3][3] = {{r, r, r}, {r, d, o}, {r, o, d}};
    for (int i = 0; i < 3; i++)
        for (int j = 0; j < 3; j++)
            expectNear(element(5, 6, 1, f[i]->data(), f[j]->data()), want[i][j], "E6_1");
}

TEST_F(Smatrix, E7Level1) {
    const int vac[8] = {0, 0, 0, 0, 0, 0, 0, 1}, f5[8] = {0, 0, 0, 0, 0, 1, 0, 0};
    const double r = 1 / std::sqrt(2.0);
    expectNear(element(5, 7, 1, vac, vac), r, "E7_1");
    expectNear(element(5, 7, 1, vac, f5), r, "E7_1");
    expectNear(element(5, 7, 1, f5, vac), r, "E7_1");
    expectNear(element(5, 7, 1, f5, f5), -r, "E7_1");
}

// E8 at level 2 is the Ising matrix on the vacuum, the field of weight 3/2 and that of 15/16.
TEST_F(Smatrix, E8Level1And2) {
    const int vac[9] = {0, 0, 0, 0, 0, 0, 0, 0, 1};
    expectNear(element(5, 8, 1, vac, vac), 1.0, "E8_1");
    Model m(5, 8, 2);
    ASSERT_EQ(m.N, 3);
    int sigma = -1, psi = -1;
    for (int i = 1; i < 3; i++)
        (std::abs(m.weight(i) - 15.0 / 16) < Eps ? sigma : psi) = i;
    ASSERT_GE(sigma, 0);
    ASSERT_GE(psi, 0);
    ASSERT_NEAR(m.weight(psi), 1.5, Eps);
    const double h = 0.5, r = 1 / std::sqrt(2.0);
    expectNear(m.s(0, 0), h, "E8_2");
    expectNear(m.s(0, psi), h, "E8_2");
    expectNear(m.s(psi, psi), h, "E8_2");
    expectNear(m.s(0, sigma), r, "E8_2");
    expectNear(m.s(psi, sigma), -r, "E8_2");
    expectNear(m.s(sigma, sigma), 0.0, "E8_2");
}

// ---- Level 1 of B, C and D ----

TEST_F(Smatrix, BLevel1) {
    const int id[4] = {0, 0, 0, 1}, vec[4] = {1, 0, 0, 0}, sp[4] = {0, 0, 1, 0};
    const double r = 1 / std::sqrt(2.0);
    expectNear(element(2, 3, 1, vec, sp), -r, "B3_1");
    expectNear(element(2, 3, 1, sp, vec), -r, "B3_1");
    expectNear(element(2, 3, 1, sp, sp), 0.0, "B3_1");
    expectNear(element(2, 3, 1, id, sp), r, "B3_1");
    expectNear(element(2, 3, 1, vec, vec), 0.5, "B3_1");
}

TEST_F(Smatrix, C2Level1IsA1Level2) {
    const int c[3][3] = {{0, 0, 1}, {1, 0, 0}, {0, 1, 0}}; // j = 0, 1, 2
    for (int i = 0; i < 3; i++)
        for (int j = 0; j < 3; j++)
            expectNear(element(3, 2, 1, c[i], c[j]),
                       std::sqrt(0.5) * std::sin(Pi * (i + 1) * (j + 1) / 4), "C2_1");
}

TEST_F(Smatrix, DLevel1Spinors) {
    const int s1[6] = {0, 0, 0, 1, 0, 0}, s3[6] = {0, 0, 0, 0, 1, 0};
    expectNear(element(4, 5, 1, s1, s1), cd(0, -0.5), "D5_1");
    expectNear(element(4, 5, 1, s1, s3), cd(0, 0.5), "D5_1");
    const int t1[5] = {0, 0, 1, 0, 0};
    expectNear(element(4, 4, 1, t1, t1), 0.5, "D4_1");
}

// The general determinant formulas hold at level 1 too, where the tables take over.
TEST_F(Smatrix, DeterminantFormulasAgreeWithLevel1Tables) {
    for (const Triple& t : {Triple{2, 3, 1}, Triple{2, 4, 1}, Triple{3, 3, 1}, Triple{4, 4, 1},
                            Triple{4, 5, 1}, Triple{4, 6, 1}, Triple{4, 7, 1}}) {
        Model m(t.type, t.rank, 1);
        for (int i = 0; i < m.N; i++)
            for (int j = 0; j < m.N; j++) {
                double re = 0, im = 0;
                if (t.type == 2)
                    TarvikB(m.fields[i].data(), m.fields[j].data(), &re, &im, t.rank, 1);
                else if (t.type == 3)
                    TarvikC(m.fields[i].data(), m.fields[j].data(), &re, &im, t.rank, 1);
                else
                    TarvikD(m.fields[i].data(), m.fields[j].data(), &re, &im, t.rank, 1);
                expectNear(m.s(i, j), cd(re, im), at(m, i, j));
            }
    }
}

// B1 is enumerated as A1 at twice the level, and its S-matrix is that of A1 at 2k, also at
// level 1, where the fields are no vector and spinor of B.
TEST_F(Smatrix, B1IsA1AtTwiceTheLevel) {
    for (int k = 1; k <= 3; k++)
        for (int a = 0; a <= 2 * k; a++)
            for (int b = 0; b <= 2 * k; b++) {
                const int ra[2] = {a, 2 * k - a}, rb[2] = {b, 2 * k - b};
                expectNear(element(2, 1, k, ra, rb), element(1, 1, 2 * k, ra, rb), "B1");
            }
}

// ---- B(2t), free boson and minimal models ----

// B1(2t) at level k: fields labelled by the affine label a = 0 .. k/2, and
// S = 2/sqrt(k+3) sin(2 pi (a+1)(b+1)/(k+3)).
TEST_F(Smatrix, Btilde1ClosedForm) {
    for (int k = 1; k <= 6; k++) {
        Model m(13, 1, k);
        ASSERT_EQ(m.N, k / 2 + 1);
        for (int i = 0; i < m.N; i++)
            for (int j = 0; j < m.N; j++) {
                const int a = m.fields[i][1], b = m.fields[j][1];
                expectNear(m.s(i, j),
                           2 / std::sqrt(k + 3.0) * std::sin(2 * Pi * (a + 1) * (b + 1) / (k + 3)),
                           at(m, i, j));
            }
    }
}

// With the central charge of B(2t) its own conformal weights give T; rank 1 included, whose
// finite root is short like the short roots of every other rank.
TEST_F(Smatrix, BtildeWholeMatrices) {
    for (const Triple& t : {Triple{13, 1, 1}, Triple{13, 1, 2}, Triple{13, 1, 5}, Triple{13, 2, 1},
                            Triple{13, 2, 3}, Triple{13, 3, 2}, Triple{13, 4, 2}}) {
        Model m(t.type, t.rank, t.level);
        SCOPED_TRACE(m.name());
        expectSymmetricUnitary(m);
        expectSquareIsConjugation(m);
        expectModularRelation(m);
    }
}

TEST_F(Smatrix, FreeBoson) {
    for (int N : {1, 2, 5, 6})
        for (int a = 0; a < N; a++)
            for (int b = 0; b < N; b++)
                expectNear(element(0, N, 0, &a, &b),
                           std::polar(1 / std::sqrt(N), -2 * Pi * a * b / N), "U(1)");
    const int a = 2, b = 3;
    expectNear(element(0, 6, 1, &a, &b), 1 / std::sqrt(6.0), "radius 6");
}

TEST_F(Smatrix, TrivialTriples) {
    const int a[3] = {4, 5, 6}, b[3] = {7, 8, 9};
    for (const Triple& t : {Triple{1, 0, 0}, Triple{1, 3, 0}, Triple{5, 8, 0}, Triple{4, 0, 2}})
        expectNear(element(t.type, t.rank, t.level, a, b), 1.0, "trivial");
}

TEST_F(Smatrix, FixedPointMinimalModel) {
    const int p0[3] = {0, 0, 0}, p1[3] = {0, 0, 1}, p3[3] = {0, 0, 3};
    expectNear(element(26, 1, 2, p0, p0), cd(0, -1 / std::sqrt(8.0)), "N = 8");
    expectNear(element(26, 1, 1, p1, p1), 1 / std::sqrt(6.0), "N = 6");
    expectNear(element(26, 1, 1, p1, p3), std::polar(1 / std::sqrt(6.0), 2 * Pi * 2 / 6), "j = 2");
}

TEST_F(Smatrix, AuxiliaryMinimalModel) {
    const int zero[3] = {0, 0, 0};
    expectNear(element(27, 1, 1, zero, zero), 1 / std::sqrt(12.0), "level 1");
    const int k = 3;
    const int f[3][3] = {{0, 0, 0}, {1, 2, 1}, {3, 5, 2}};
    for (const auto& u : f)
        for (const auto& v : f) {
            const double a1 =
                std::sqrt(2.0 / (k + 2)) * std::sin(Pi * (u[0] + 1) * (v[0] + 1) / (k + 2));
            const cd want = a1 / std::sqrt(2.0 * (k + 2)) *
                            std::polar(1.0, 2 * Pi * u[1] * v[1] / (2.0 * (k + 2))) *
                            std::polar(1.0, -Pi / 2 * u[2] * v[2]);
            expectNear(element(27, 1, k, u, v), want, "type 27");
        }
}

// ---- Caches and faults ----

TEST_F(Smatrix, CachesDoNotDependOnCallOrder) {
    const int b1[4] = {1, 0, 0, 1}, b2[4] = {0, 0, 2, 0};
    const int a1[5] = {1, 0, 0, 0, 0}, a2[5] = {0, 0, 1, 0, 0};
    const int s1[2] = {1, 0}, s2[2] = {0, 1};
    const cd first = element(2, 3, 2, b1, b2);
    const cd a = element(1, 4, 1, a1, a2);
    const cd second = element(2, 3, 2, b1, b2);
    EXPECT_EQ(first, second);
    element(1, 1, 1, s1, s2); // a smaller work request in between
    const std::string out = reportsOf([&] { EXPECT_EQ(element(2, 3, 2, b1, b2), first); });
    EXPECT_EQ(out, "");
    EXPECT_EQ(element(1, 4, 1, a1, a2), a);
}

TEST_F(Smatrix, TriplesWithoutFormulaAreReportedAndGiveZero) {
    struct Case {
        Triple t;
        const char* message;
    } const cases[] = {
        {{5, 3, 1}, "Invalid input\nType=5, Rank=3, Level=1\nRoutine: SDirect"},
        {{5, 5, 2}, "Invalid input\nType=5, Rank=5, Level=2\nRoutine: SDirect"},
        {{4, 2, 2}, "Invalid input\nType=4, Rank=2, Level=2\nRoutine: SDirect"},
        {{1, 2, -3}, "Invalid input\nType=1, Rank=2, Level=-3\nRoutine: SDirect"},
        {{0, 0, 1}, "Invalid input\nType=0, Rank=0, Level=1\nRoutine: SDirect"},
        {{99, 2, 1}, "Invalid input\nType=99, Rank=2, Level=1\nRoutine: SDirect"},
        {{11, 1, 2}, "S matrix not built in\nType=11, Rank=1, Level=2\nRoutine: SDirect"},
        {{12, 3, 1}, "S matrix not built in\nType=12, Rank=3, Level=1\nRoutine: SDirect"},
        {{14, 3, 1}, "S matrix not built in\nType=14, Rank=3, Level=1\nRoutine: SDirect"},
        {{15, 4, 1}, "S matrix not built in\nType=15, Rank=4, Level=1\nRoutine: SDirect"},
        {{16, 2, 1}, "S matrix not built in\nType=16, Rank=2, Level=1\nRoutine: SDirect"},
    };
    const int rep[10] = {0, 0, 0, 0, 0, 0, 0, 0, 0, 1};
    for (const Case& c : cases) {
        double re = 7.5, im = -3.25;
        const std::string out =
            reportsOf([&] { SDirect(c.t.type, c.t.rank, c.t.level, rep, rep, &re, &im); });
        EXPECT_NE(out.find(c.message), std::string::npos) << out;
        EXPECT_EQ(re, 0.0) << c.message;
        EXPECT_EQ(im, 0.0) << c.message;
    }
}

TEST_F(Smatrix, SupportedTriplesReportNothing) {
    const std::string out = reportsOf([] {
        Model m(5, 6, 1);
        Model n(4, 5, 2);
        Model o(13, 2, 2);
    });
    EXPECT_EQ(occurrences(out, "SDirect"), 0) << out;
}

} // namespace
