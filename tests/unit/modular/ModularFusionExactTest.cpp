// Fusion of large theories must come out as exact integers. The reference is computed here
// without S at all: the weights of one factor with their multiplicities (recursion over the
// weight diagram), shifted by the other factor's highest weight and reflected into the
// fundamental alcove of the affine Weyl group at level k + h, each with its sign.
#include "modular/Modular.h"

#include "ModularTestHelpers.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <map>
#include <set>
#include <string>
#include <utility>
#include <vector>

namespace {

using modulartest::fieldOf;
using modulartest::reportsOf;
using modulartest::useBlock;

using Weight = std::array<int, 2>; // Dynkin labels

// A rank-2 simple Lie algebra: row i of the Cartan matrix holds the Dynkin labels of the simple
// root alpha_i, and form3[i][j] is 3 (omega_i, omega_j) with long roots of length^2 2, so that
// every scalar product of weights is an integer when tripled.
struct Rank2 {
    int cartan[2][2];
    int form3[2][2];
    Weight theta; // highest root

    int dot3(const Weight& a, const Weight& b) const {
        int s = 0;
        for (int i = 0; i < 2; i++)
            for (int j = 0; j < 2; j++)
                s += a[i] * form3[i][j] * b[j];
        return s;
    }
    // (lambda, theta^vee); theta is long, so theta^vee = theta.
    int level(const Weight& w) const { return dot3(w, theta) / 3; }
    Weight reflect(const Weight& w, int i) const {
        return {w[0] - w[i] * cartan[i][0], w[1] - w[i] * cartan[i][1]};
    }
    // Coordinates of w in simple roots, times det(cartan).
    std::array<int, 2> rootCoordinates(const Weight& w) const {
        const int(&a)[2][2] = cartan;
        return {w[0] * a[1][1] - w[1] * a[1][0], w[1] * a[0][0] - w[0] * a[0][1]};
    }
    int det() const { return cartan[0][0] * cartan[1][1] - cartan[0][1] * cartan[1][0]; }
    // Positive roots in simple-root coordinates, from the Weyl orbits of the simple roots.
    std::vector<std::array<int, 2>> positiveRoots() const {
        std::set<Weight> roots;
        std::vector<Weight> todo = {{cartan[0][0], cartan[0][1]}, {cartan[1][0], cartan[1][1]}};
        while (!todo.empty()) {
            const Weight r = todo.back();
            todo.pop_back();
            if (!roots.insert(r).second)
                continue;
            todo.push_back(reflect(r, 0));
            todo.push_back(reflect(r, 1));
        }
        std::vector<std::array<int, 2>> positive;
        for (const Weight& r : roots) {
            const std::array<int, 2> c = rootCoordinates(r);
            if (c[0] + c[1] > 0)
                positive.push_back({c[0] / det(), c[1] / det()});
        }
        return positive;
    }
};

// su(3), and G2 with node 0 long (alpha_1 has labels (-1, 2)), as the store numbers them.
const Rank2 A2{{{2, -1}, {-1, 2}}, {{2, 1}, {1, 2}}, {1, 1}};
const Rank2 G2{{{2, -3}, {-1, 2}}, {{6, 3}, {3, 2}}, {1, 0}};

// The weights of the irreducible representation of highest weight lambda with their
// multiplicities: mult(mu) ((lambda+rho)^2 - (mu+rho)^2) = 2 sum_{alpha>0} sum_{j>=1}
// mult(mu + j alpha) (mu + j alpha, alpha), run through mu = lambda - n0 alpha_0 - n1 alpha_1 in
// order of n0 + n1.
std::map<Weight, long long> weightSystem(const Rank2& g, const Weight& lambda) {
    const auto roots = g.positiveRoots();
    const std::array<int, 2> c = g.rootCoordinates(lambda);
    // The lowest weight -lambda* lies lambda + lambda* below lambda, whose root coordinates are
    // at most twice the sum of those of lambda.
    const int B0 = 2 * (c[0] + c[1]) / g.det() + 1, B1 = B0;
    std::vector<long long> mult(static_cast<std::size_t>(B0 + 1) * (B1 + 1), 0);
    auto at = [&](int n0, int n1) -> long long& { return mult[n0 * (B1 + 1) + n1]; };
    auto weightOf = [&](int n0, int n1) {
        return Weight{lambda[0] - n0 * g.cartan[0][0] - n1 * g.cartan[1][0],
                      lambda[1] - n0 * g.cartan[0][1] - n1 * g.cartan[1][1]};
    };
    const Weight rho{1, 1};
    auto plusRho = [&](const Weight& w) { return Weight{w[0] + rho[0], w[1] + rho[1]}; };
    const int top = g.dot3(plusRho(lambda), plusRho(lambda));
    std::map<Weight, long long> weights;
    for (int depth = 0; depth <= B0 + B1; depth++)
        for (int n0 = 0; n0 <= std::min(depth, B0); n0++) {
            const int n1 = depth - n0;
            if (n1 > B1)
                continue;
            const Weight mu = weightOf(n0, n1);
            if (depth == 0) {
                at(0, 0) = 1;
            } else {
                const int gap = top - g.dot3(plusRho(mu), plusRho(mu));
                if (gap <= 0)
                    continue;
                long long sum = 0;
                for (const auto& a : roots) {
                    const Weight alpha{a[0] * g.cartan[0][0] + a[1] * g.cartan[1][0],
                                       a[0] * g.cartan[0][1] + a[1] * g.cartan[1][1]};
                    for (int j = 1; n0 - j * a[0] >= 0 && n1 - j * a[1] >= 0; j++) {
                        const long long m = at(n0 - j * a[0], n1 - j * a[1]);
                        if (m != 0)
                            sum += m * g.dot3(weightOf(n0 - j * a[0], n1 - j * a[1]), alpha);
                    }
                }
                EXPECT_EQ(2 * sum % gap, 0) << "fractional multiplicity";
                at(n0, n1) = 2 * sum / gap;
            }
            if (at(n0, n1) != 0)
                weights[mu] = at(n0, n1);
        }
    return weights;
}

// The level-k fusion product lambda x mu: every weight nu of lambda, mu + nu + rho reflected into
// the alcove 0 < x_i, (x, theta) < k + h; weights on a wall drop out.
std::map<Weight, long long> affineProduct(const Rank2& g, int k, const Weight& lambda,
                                          const Weight& mu) {
    const int h = 1 + g.level({1, 1}); // dual Coxeter number
    const int K = k + h;
    std::map<Weight, long long> product;
    for (const auto& [nu, m] : weightSystem(g, lambda)) {
        Weight x{nu[0] + mu[0] + 1, nu[1] + mu[1] + 1};
        int sign = 1;
        bool wall = false;
        for (;;) {
            if (x[0] < 0 || x[1] < 0) {
                x = g.reflect(x, x[0] < 0 ? 0 : 1);
            } else if (g.level(x) > K) {
                const int shift = g.level(x) - K;
                x = {x[0] - shift * g.theta[0], x[1] - shift * g.theta[1]};
            } else {
                wall = x[0] == 0 || x[1] == 0 || g.level(x) == K;
                break;
            }
            sign = -sign;
        }
        if (!wall)
            product[{x[0] - 1, x[1] - 1}] += sign * m;
    }
    return product;
}

struct ExactCase {
    const char* name;
    const Rank2* algebra;
    int type, level;
    std::vector<std::pair<Weight, Weight>> pairs; // none: every pair of fields
    long long largest; // the largest coefficient of the sample is above this
};

class LargeFusion : public testing::TestWithParam<ExactCase> {};

// The weight-diagram recursion itself, on dimensions known by hand: 8 and 27 of su(3), 7, 14 and
// 27 of G2.
TEST(ModularFusionExact, WeightSystemsHaveTheirDimensions) {
    auto dimension = [](const Rank2& g, Weight w) {
        long long d = 0;
        for (const auto& [nu, m] : weightSystem(g, w))
            d += m;
        return d;
    };
    EXPECT_EQ(dimension(A2, {1, 1}), 8);
    EXPECT_EQ(dimension(A2, {2, 2}), 27);
    EXPECT_EQ(dimension(G2, {0, 1}), 7);
    EXPECT_EQ(dimension(G2, {1, 0}), 14);
    EXPECT_EQ(dimension(G2, {0, 2}), 27);
}

TEST_P(LargeFusion, ProductsAreTheAffineWeylRule) {
    const ExactCase& c = GetParam();
    SpectrumData* sd = useBlock(c.type, 2, c.level);
    ASSERT_NE(sd, nullptr);
    const int N = sd->Nprimaries;
    std::vector<int> n(N);
    char* text = nullptr;
    std::vector<char> buffer(static_cast<std::size_t>(N) * 40 + 100);
    text = buffer.data();
    long long largest = 0;
    std::vector<std::pair<Weight, Weight>> pairs = c.pairs;
    if (pairs.empty())
        for (int a = 0; a < N; a++)
            for (int b = 0; b < N; b++) {
                const int *ra = SM_getRep(sd, a), *rb = SM_getRep(sd, b);
                pairs.push_back({{ra[0], ra[1]}, {rb[0], rb[1]}});
            }
    for (const auto& [lambda, mu] : pairs) {
        const int i = fieldOf(sd, {lambda[0], lambda[1]}), j = fieldOf(sd, {mu[0], mu[1]});
        ASSERT_GE(i, 0);
        ASSERT_GE(j, 0);
        std::vector<long long> expected(N, 0);
        for (const auto& [nu, m] : affineProduct(*c.algebra, c.level, lambda, mu)) {
            const int f = fieldOf(sd, {nu[0], nu[1]});
            ASSERT_GE(f, 0) << nu[0] << "," << nu[1];
            expected[f] = m;
            largest = std::max(largest, m);
        }
        const std::string reports = reportsOf([&] {
            EXPECT_EQ(fusionProduct(i, j, 0, n.data()), 0);
            compF(text, i, j, 0);
        });
        EXPECT_EQ(reports, "") << i << " x " << j;
        for (int f = 0; f < N; f++)
            ASSERT_EQ(n[f], expected[f]) << i << " x " << j << " -> " << f;
    }
    EXPECT_GT(largest, c.largest);
}

INSTANTIATE_TEST_SUITE_P(
    Modular, LargeFusion,
    testing::Values(ExactCase{"A2Level4", &A2, 1, 4, {}, 0},
                    ExactCase{"G2Level5", &G2, 5, 5, {}, 0},
                    // G2 reaches coefficients in the thousands, which double sums miss by more
                    // than 1e-7; su(3) coefficients stay below the smallest Dynkin label + 2.
                    ExactCase{"G2Level60",
                              &G2,
                              5,
                              60,
                              {{{10, 20}, {10, 20}}, {{12, 16}, {9, 18}}, {{5, 30}, {14, 10}}},
                              1000},
                    ExactCase{"A2Level60",
                              &A2,
                              1,
                              60,
                              {{{20, 20}, {20, 20}}, {{15, 25}, {22, 18}}, {{30, 10}, {12, 30}}},
                              10}),
    [](const testing::TestParamInfo<ExactCase>& info) { return std::string(info.param.name); });

} // namespace
