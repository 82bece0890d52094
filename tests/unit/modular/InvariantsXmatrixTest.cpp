// Monodromy matrices and X matrices. Abstract groups come through the generic group search with
// charges and weights of the test's choice and an analysis callback that records every X; the
// monodromies of real theories follow from h(J) = r (N-1) / (2N) modulo 1 and Q_J(J) = r / N.
#include "InvariantsTestHelpers.h"

#include "modular/Invariants.h"
#include "modular/Modular.h"

#include <gtest/gtest.h>

#include <map>
#include <set>
#include <string>
#include <vector>

using namespace invtest;

namespace {

// A group Z_N1 x ... given by its orders; element e stands for the current e. Every basis current
// has the weight `weight` and the charge `self` with respect to itself, and every two of them
// the charge `mutual`.
struct AbstractGroup {
    std::vector<int> orders;
    rat mutual{0, 1};
    rat weight{0, 1};
    rat self{0, 1};
};

AbstractGroup* group = nullptr;
std::vector<std::vector<int>> seenX;
std::vector<int> seenSymmetric;
std::vector<std::vector<int>> seenR;

void chargeOf(int i, int j, rat* Q, void*) {
    *Q = i == j ? group->self : group->mutual;
}

void weightOf(int, rat* Q, void*) {
    *Q = group->weight;
}

int record(SCData* MD) {
    const int M = MD->dg->Mult;
    seenX.emplace_back(MD->Xmatrix, MD->Xmatrix + M * M);
    seenR.emplace_back(MD->Monodromies.X, MD->Monodromies.X + M * M);
    seenSymmetric.push_back(MD->Symmetric);
    return 1;
}

class XmatrixTest : public InvariantsTest {
protected:
    void SetUp() override {
        useTheory(1, 1, 4);
        seenX.clear();
        seenR.clear();
        seenSymmetric.clear();
    }
    void TearDown() override {
        parameter("MIPF random") = 0;
        InvariantsTest::TearDown();
    }
    int run(AbstractGroup g) {
        group = &g;
        Discrete_Group* dg = DG_find(g.orders.data(), static_cast<int>(g.orders.size()));
        std::vector<int> map(static_cast<std::size_t>(dg->Order));
        for (int e = 0; e < dg->Order; e++)
            map[static_cast<std::size_t>(e)] = e;
        int rc = 0;
        outputOf([&] {
            rc = GSC_computeAllGroupInvariants(dg, map.data(), chargeOf, weightOf, record, nullptr);
        });
        group = nullptr;
        return rc;
    }
};

// X + X^T = R modulo 1 off the diagonal (row i in units of 1/N_i), X_ii = R_ii / 2.
void expectAdmissible(const std::vector<int>& orders, const std::vector<int>& X,
                      const std::vector<int>& R) {
    const int M = static_cast<int>(orders.size());
    for (int i = 0; i < M; i++) {
        EXPECT_EQ(X[i * M + i], R[i * M + i] / 2);
        for (int j = i + 1; j < M; j++) {
            const int Ni = orders[i], Nj = orders[j];
            // X_ij/N_i + X_ji/N_j - R_ij/N_i, times N_i N_j, is a multiple of N_i N_j.
            const long long d = static_cast<long long>(X[i * M + j]) * Nj +
                                static_cast<long long>(X[j * M + i]) * Ni -
                                static_cast<long long>(R[i * M + j]) * Nj;
            EXPECT_EQ(d % (static_cast<long long>(Ni) * Nj), 0) << i << "," << j;
        }
    }
}

// The number of X matrices is the product of gcd(N_i, N_j) over the pairs.
TEST_F(XmatrixTest, EveryAdmissibleXIsVisitedOnce) {
    struct Case {
        std::vector<int> orders;
        int count;
    };
    for (const Case& c : {Case{{2}, 1}, Case{{5}, 1}, Case{{2, 2}, 2}, Case{{2, 3}, 1},
                          Case{{4, 2}, 2}, Case{{4, 4}, 4}, Case{{6, 4}, 2}, Case{{2, 2, 2}, 8},
                          Case{{3, 3, 3}, 27}, Case{{2, 2, 2, 2}, 64}}) {
        seenX.clear();
        seenR.clear();
        EXPECT_EQ(run({c.orders}), c.count);
        ASSERT_EQ(static_cast<int>(seenX.size()), c.count);
        EXPECT_EQ(std::set<std::vector<int>>(seenX.begin(), seenX.end()).size(), seenX.size())
            << "an X was visited twice";
        for (std::size_t k = 0; k < seenX.size(); k++)
            expectAdmissible(c.orders, seenX[k], seenR[k]);
    }
}

TEST_F(XmatrixTest, TwoXForZ2TimesZ2WithoutMonodromy) {
    EXPECT_EQ(run({{2, 2}}), 2);
    const std::vector<std::vector<int>> expected = {{0, 0, 0, 0}, {0, 1, 1, 0}};
    EXPECT_EQ(seenX, expected);
    EXPECT_EQ(seenSymmetric, (std::vector<int>{1, 1}));
}

// Z2 x Z2 as in so(8) at level 1: weights 1/2, mutual charges 1/2, so R_01 = 1 and
// X_01 + X_10 = 1 modulo 2: neither X is symmetric.
TEST_F(XmatrixTest, OddMonodromyGivesNonSymmetricX) {
    EXPECT_EQ(run({{2, 2}, {1, 2}, {1, 2}}), 2);
    ASSERT_FALSE(seenR.empty());
    EXPECT_EQ(seenR[0], (std::vector<int>{2, 1, 1, 2}));
    EXPECT_EQ(seenSymmetric, (std::vector<int>{0, 0}));
    for (const auto& X : seenX)
        EXPECT_EQ((X[1] + X[2]) % 2, 1);
}

// Z7 with h(J) = 3/7 and Q_J(J) = 1/7: r = 1, made even: R = 8, X = 4.
TEST_F(XmatrixTest, ACyclicGroupRunsTheCallbackOnceAsSymmetric) {
    EXPECT_EQ(run({{7}, {0, 1}, {3, 7}, {1, 7}}), 1);
    EXPECT_EQ(seenSymmetric, std::vector<int>{1});
    EXPECT_EQ(seenX, std::vector<std::vector<int>>{{4}});
}

// "MIPF random" equal to the number of points still samples: 2 random points out of 2.
TEST_F(XmatrixTest, RandomScanWhenTheSampleIsNoLargerThanTheLoop) {
    parameter("MIPF random") = 2;
    int orders[] = {2, 2};
    Discrete_Group* dg = DG_find(orders, 2);
    int map[] = {0, 1, 2, 3};
    AbstractGroup g{{2, 2}};
    group = &g;
    int rc = 0;
    auto [out, err] = outputOf(
        [&] { rc = GSC_computeAllGroupInvariants(dg, map, chargeOf, weightOf, record, nullptr); });
    EXPECT_EQ(rc, 2);
    EXPECT_EQ(seenX.size(), 2u);
    EXPECT_NE(out.find("Xmatrix loops too large (2 > 2); using random scan\n"), std::string::npos)
        << out;
    parameter("MIPF random") = 3;
    seenX.clear();
    outputOf(
        [&] { rc = GSC_computeAllGroupInvariants(dg, map, chargeOf, weightOf, record, nullptr); });
    EXPECT_EQ(seenX.size(), 2u) << "3 samples of 2 points: all of them instead";
    group = nullptr;
}

// The generic search runs the caller's analysis only; the next scan analyses as usual.
TEST_F(XmatrixTest, AnOrdinaryScanAfterTheGenericSearchUsesItsOwnAnalysis) {
    run({{2, 2}});
    const std::size_t calls = seenX.size();
    int* map = nullptr;
    Discrete_Group* center = getCenter(&map);
    int total = 0;
    setMIPFSelection(nullptr);
    outputOf([&] { total = ComputeAllSimpleCurrentInvariants(center, map); });
    EXPECT_EQ(total, 2);
    EXPECT_EQ(seenX.size(), calls);
}

TEST_F(XmatrixTest, SymmetryRequirementIsIgnoredByTheGenericSearch) {
    parameter("Selection symmetric") = 1;
    AbstractGroup g{{2, 2}, {1, 2}, {1, 2}};
    group = &g;
    int orders[] = {2, 2};
    int map[] = {0, 1, 2, 3};
    int rc = 0;
    auto [out, err] = outputOf([&] {
        rc = GSC_computeAllGroupInvariants(DG_find(orders, 2), map, chargeOf, weightOf, record,
                                           nullptr);
    });
    EXPECT_EQ(rc, 2) << "both X, though neither is symmetric";
    EXPECT_NE((out + err).find("Symmetry requirement ignored"), std::string::npos) << out << err;
    group = nullptr;
    parameter("Selection symmetric") = 0;
}

// ---- Monodromies of real theories ----

struct Monodromy {
    int type, rank, level;
    std::vector<int> currents; // the basis currents
    std::vector<int> R;
};

// R_ii = r modulo 2N, even, with h(J) = r (N-1) / (2N) and Q_J(J) = r / N modulo 1. A1 level k:
// h = k/4, r = k. su(3) level 1: h = 1/3, r = 1, made even: 4; level 3: h = 1, r = 0. su(4) level
// 2: h(J) = 3/4, r = 2. E6 level 1: h = 2/3, r = 2. D4 level 1: two currents of weight 1/2 with
// mutual charge 1/2.
const Monodromy monodromies[] = {
    {1, 1, 2, {1}, {2}}, {1, 1, 4, {1}, {0}}, {1, 1, 6, {1}, {2}},
    {1, 2, 1, {1}, {4}}, {1, 2, 3, {1}, {0}}, {4, 4, 1, {1, 2}, {2, 1, 1, 2}},
    {1, 3, 2, {1}, {2}}, {5, 6, 1, {1}, {2}},
};

TEST_F(XmatrixTest, MonodromiesOfTheoriesFollowFromTheirWeights) {
    for (const Monodromy& m : monodromies) {
        useTheory(m.type, m.rank, m.level);
        std::vector<int> orders;
        for (int J : m.currents)
            orders.push_back(simpleCurrentOrder(J, 0));
        SCData MD;
        MD.dg = DG_find(orders.data(), static_cast<int>(orders.size()));
        MD.map.reserve(MD.dg->Order);
        for (std::size_t i = 0; i < m.currents.size(); i++)
            MD.map[DG_basis(MD.dg, static_cast<int>(i))] = m.currents[i];
        computeMonodromies(&MD);
        const int M = MD.dg->Mult;
        EXPECT_EQ(std::vector<int>(MD.Monodromies.X, MD.Monodromies.X + M * M), m.R)
            << m.type << "," << m.rank << "," << m.level;
    }
}

TEST(XIJ, TheIdentityPairsToZero) {
    SCData MD;
    int orders[] = {4, 2};
    MD.dg = DG_find(orders, 2);
    MD.Monodromies.reserve(8);
    MD.Xmatrix = MD.Monodromies.X + 4;
    const int X[] = {1, 3, 1, 1};
    std::copy(X, X + 4, MD.Xmatrix);
    for (int J = 0; J < 8; J++) {
        EXPECT_EQ(computeXIJ(0, J, &MD)->num, 0);
        EXPECT_EQ(computeXIJ(J, 0, &MD)->num, 0);
    }
    // Element 1 is (1,0), element 4 is (0,1): X(1,4) = X_01 / 4 = 3/4, X(4,1) = X_10 / 2 = 1/2,
    // X(5,5) = (X_00 + X_01) / 4 + (X_10 + X_11) / 2 = 1 + 1 = 2.
    const rat* x = computeXIJ(1, 4, &MD);
    EXPECT_EQ(x->num * 4, 3 * x->den);
    x = computeXIJ(4, 1, &MD);
    EXPECT_EQ(x->num * 2, x->den);
    x = computeXIJ(5, 5, &MD);
    EXPECT_EQ(x->num, 2 * x->den);
}

} // namespace
