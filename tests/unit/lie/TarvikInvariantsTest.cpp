#include "lie/Tarvik.h"

#include "LieTestHelpers.h"

#include <gtest/gtest.h>

#include <cmath>
#include <string>
#include <vector>

namespace {

using lietest::Algebra;

std::vector<int> unitWeight(int rank, int node) {
    std::vector<int> w(rank + 1, 0);
    w[node] = 1;
    return w;
}

// The highest root: its Dynkin label at node j is -a(j, affine node).
std::vector<int> adjointWeight(int type, int rank) {
    Cartan(type, rank);
    std::vector<int> w(rank + 1, 0);
    for (int j = 0; j < rank; j++)
        w[j] = -getCM()[j + rank * (rank + 1)];
    return w;
}

TEST(TarvikInvariants, A1Fundamental) {
    int w[] = {1, 0};
    EXPECT_DOUBLE_EQ(Dim(w, 1, 1), 2.0);
    EXPECT_EQ(Dimension(w, 1, 1), 2);
    EXPECT_EQ(std::string(fint_string(IntegerDim(w, 1, 1))), "2");
    rat* c = RCasimir(w, 1, 1);
    EXPECT_EQ(c->num, 3);
    EXPECT_EQ(c->den, 4);
    EXPECT_DOUBLE_EQ(Casimir(w, 1, 1), 0.75);
    rat h{0, 0};
    RatWt(w, 1, 1, 1, &h);
    EXPECT_EQ(h.num, 1);
    EXPECT_EQ(h.den, 4);
    EXPECT_NEAR(QDim(w, 1, 1, 1), 1.0, 1e-12);
}

TEST(TarvikInvariants, A2Adjoint) {
    int w[] = {1, 1, 0};
    EXPECT_EQ(Dimension(w, 1, 2), 8);
    EXPECT_DOUBLE_EQ(Casimir(w, 1, 2), 3.0);
    rat* c = RCasimir(w, 1, 2);
    EXPECT_EQ(c->num, 3);
    EXPECT_EQ(c->den, 1);
}

// The adjoint representation has the dimension of the algebra and Casimir eigenvalue g.
TEST(TarvikInvariants, AdjointDimensionAndCasimir) {
    for (const Algebra& alg : lietest::untwistedAlgebras()) {
        SCOPED_TRACE(alg.name);
        std::vector<int> w = adjointWeight(alg.type, alg.rank);
        int g = dualCoxeter(alg.type, alg.rank);
        EXPECT_EQ(Dimension(w.data(), alg.type, alg.rank), AdjointDimension(alg.type, alg.rank));
        EXPECT_NEAR(Casimir(w.data(), alg.type, alg.rank), g, 1e-12);
        rat* c = RCasimir(w.data(), alg.type, alg.rank);
        EXPECT_EQ(c->num, g);
        EXPECT_EQ(c->den, 1);
        rat h{0, 0};
        RatWt(w.data(), alg.type, alg.rank, 3, &h);
        EXPECT_EQ(h.num * (3 + g), g * h.den);
    }
}

// Weyl dimensions of all fundamental weights of E8 (node 4 is the trivalent one).
TEST(TarvikInvariants, E8FundamentalDimensions) {
    const char* dims[] = {"248",        "30380",   "2450240", "146325270",
                          "6899079264", "6696000", "3875",    "147250"};
    for (int node = 0; node < 8; node++) {
        std::vector<int> w = unitWeight(8, node);
        EXPECT_EQ(std::string(fint_string(IntegerDim(w.data(), 5, 8))), dims[node]);
        EXPECT_NEAR(Dim(w.data(), 5, 8), std::stod(dims[node]), 1e-3);
    }
}

TEST(TarvikInvariants, LargeDimensionsTravelAsHandles) {
    std::vector<int> w = unitWeight(8, 4);
    int h = Dimension(w.data(), 5, 8);
    ASSERT_LT(h, 0);
    EXPECT_EQ(std::string(lint_string(retrieveLint(h))), "6899079264");
    std::vector<int> small = unitWeight(8, 3);
    EXPECT_EQ(Dimension(small.data(), 5, 8), 146325270);
    // su(3) with labels (a, b): (a+1)(b+1)(a+b+2)/2, here just above 1e9.
    int big[] = {1000, 1000, 0};
    int hb = Dimension(big, 1, 2);
    ASSERT_LT(hb, 0);
    EXPECT_NE(hb, h);
    EXPECT_EQ(std::string(lint_string(retrieveLint(hb))), "1003003001");
    int below[] = {999, 998, 0}; // 1000 * 999 * 1999 / 2
    EXPECT_EQ(Dimension(below, 1, 2), 998500500);
}

// Dimensions of vector and spinor representations of the classical algebras.
TEST(TarvikInvariants, ClassicalDimensions) {
    struct {
        int type, rank, node, dim;
    } const cases[] = {
        {1, 4, 0, 5},   {1, 4, 1, 10}, {1, 5, 2, 20}, {2, 3, 0, 7},   {2, 3, 2, 8},  {2, 5, 4, 32},
        {3, 3, 0, 6},   {3, 3, 2, 14}, {3, 3, 1, 14}, {4, 5, 0, 10},  {4, 5, 3, 16}, {4, 5, 4, 16},
        {4, 8, 7, 128}, {5, 2, 1, 7},  {5, 2, 0, 14}, {5, 4, 3, 26},  {5, 4, 0, 52}, {5, 6, 0, 27},
        {5, 6, 4, 27},  {5, 6, 5, 78}, {5, 7, 5, 56}, {5, 7, 0, 133},
    };
    for (const auto& c : cases) {
        std::vector<int> w = unitWeight(c.rank, c.node);
        EXPECT_EQ(Dimension(w.data(), c.type, c.rank), c.dim)
            << algebraname(c.type, c.rank, 1) << " node " << c.node;
    }
}

// su(2) at level k: h = l(l+2)/(4(k+2)), quantum dimension sin(pi(l+1)/(k+2))/sin(pi/(k+2)).
TEST(TarvikInvariants, Su2ConformalWeightsAndQuantumDimensions) {
    for (int k = 1; k <= 6; k++)
        for (int l = 0; l <= k; l++) {
            int w[] = {l, k - l};
            rat h{0, 0};
            RatWt(w, 1, 1, k, &h);
            EXPECT_EQ(static_cast<long long>(h.num) * 4 * (k + 2),
                      static_cast<long long>(l) * (l + 2) * h.den);
            double q = std::sin(M_PI * (l + 1) / (k + 2)) / std::sin(M_PI / (k + 2));
            EXPECT_NEAR(QDim(w, 1, 1, k), q, 1e-12);
        }
}

TEST(TarvikInvariants, E8Level2) {
    std::vector<int> adj = unitWeight(8, 0), w3875 = unitWeight(8, 6);
    rat h{0, 0};
    RatWt(adj.data(), 5, 8, 2, &h);
    EXPECT_EQ(h.num, 15);
    EXPECT_EQ(h.den, 16);
    RatWt(w3875.data(), 5, 8, 2, &h);
    EXPECT_EQ(h.num, 3);
    EXPECT_EQ(h.den, 2);
    EXPECT_NEAR(QDim(adj.data(), 5, 8, 2), std::sqrt(2.0), 1e-9);
    EXPECT_NEAR(QDim(w3875.data(), 5, 8, 2), 1.0, 1e-9);
}

TEST(TarvikInvariants, FreeBoson) {
    int three[] = {3}, two[] = {2}, four[] = {4};
    EXPECT_EQ(std::string(fint_string(IntegerDim(three, 0, 6))), "2");
    EXPECT_EQ(std::string(fint_string(IntegerDim(two, 0, 6))), "1");
    EXPECT_EQ(Dimension(three, 0, 6), 2);
    EXPECT_DOUBLE_EQ(Dim(two, 0, 6), 1.0);
    rat h{0, 0};
    RatWt(four, 0, 6, 0, &h);
    EXPECT_EQ(h.num, 1);
    EXPECT_EQ(h.den, 3);
    EXPECT_EQ(Weight_denom(0, 6, 0, 0), 12);
    EXPECT_DOUBLE_EQ(QDim(four, 0, 6, 1), 1.0);
    EXPECT_EQ(RCasimir(four, 0, 6)->num, 0);
    EXPECT_EQ(DynkinNorm(four, 0, 6), 0);
}

TEST(TarvikInvariants, ConjugateAndTwistedTypes) {
    int w[] = {1, 0, 0};
    EXPECT_EQ(IntegerDim(w, -99, 2), nullptr);
    EXPECT_DOUBLE_EQ(Dim(w, -99, 2), 0.0);
    EXPECT_EQ(Dimension(w, -99, 2), 0);
    EXPECT_DOUBLE_EQ(QDim(w, 13, 2, 1), 0.0);
    // B3(2t) has the horizontal algebra B3: the vector has dimension 7.
    EXPECT_EQ(Dimension(w, 13, 3), 7);
}

TEST(TarvikInvariants, NormAndWeightDenominator) {
    int w[] = {1, 0};
    InverseCartan(2, 2);
    int mn = getMetricNorm();
    EXPECT_EQ(DynkinNorm(w, 2, 2), mn); // (omega_1, omega_1) = 1 for B2
    EXPECT_EQ(Weight_denom(2, 2, 4, 3), 2 * mn * 7);
}

} // namespace
