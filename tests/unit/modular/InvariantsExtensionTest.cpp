// Invariants from extensions of the chiral algebra of A1 at level k (field 2j is l = j, field
// 2j+1 is l = k - j; l has weight l(l+2)/(4(k+2))). Expected lists, bounds and invariants are
// worked out by hand from that weight, from S(l, m) = sqrt(2/(k+2)) sin(pi (l+1)(m+1)/(k+2)) and
// from the A-D-E classification of the A1 invariants.
#include "InvariantsTestHelpers.h"

#include "modular/Invariants.h"
#include "modular/Modular.h"

#include <gtest/gtest.h>

#include <string>
#include <utility>
#include <vector>

using namespace invtest;

namespace {

class ExtensionTest : public InvariantsTest {};

struct Block {
    int mult;
    std::vector<int> fields;
};

// sum over the blocks of mult |sum of fields|^2.
Matrix fromBlocks(int N, const std::vector<Block>& blocks) {
    Matrix Z(N, std::vector<int>(N, 0));
    for (const Block& b : blocks)
        for (int x : b.fields)
            for (int y : b.fields)
                Z[x][y] += b.mult;
    return Z;
}

std::vector<int> upToEnd(const int* list) {
    std::vector<int> v;
    while (*list >= 0)
        v.push_back(*list++);
    return v;
}

TEST_F(ExtensionTest, IntegerSpinFieldsFollowTheWeightFormula) {
    struct Case {
        int level;
        std::vector<int> fields;
    };
    // l(l+2)/(4(k+2)) integer: k=4: l=4 (1); k=10: l=6 (1); k=16: l=16 (4); k=28: l=28 (7),
    // l=10 (1), l=18 (3); k=3: none besides the vacuum.
    for (const Case& c : {Case{4, {0, 1}}, Case{10, {0, 9}}, Case{16, {0, 1}},
                          Case{28, {0, 1, 20, 21}}, Case{3, {0}}}) {
        useTheory(1, 1, c.level);
        EXPECT_EQ(upToEnd(findIntegerSpin()), c.fields) << "level " << c.level;
    }
}

TEST_F(ExtensionTest, MultiplicityBoundsOfA1) {
    // Level 10, l=6: d = sin(7pi/12)/sin(pi/12) = 2+sqrt3, so at most one copy: bound 2.
    // Level 28: l=28 is a simple current (bound 2); l=10 and l=18 have S(l,l) = S(0,0) and the
    // test at k=2 is 3 S(0,l) + ... < 0, at k=1 positive: bound 2 each, 8 vectors in all.
    struct Case {
        int level;
        std::vector<int> bounds;
        double product;
    };
    for (const Case& c : {Case{10, {2}, 2}, Case{28, {2, 2, 2}, 8}}) {
        useTheory(1, 1, c.level);
        const int* L = findIntegerSpin();
        const int cnt = static_cast<int>(c.bounds.size());
        std::vector<int> max(c.bounds.size(), -1);
        EXPECT_EQ(getMaximumCurrentMultiplicities(cnt, L + 1, max.data()), c.product);
        EXPECT_EQ(max, c.bounds) << "level " << c.level;
    }
    useTheory(1, 1, 3);
    int untouched = -7;
    EXPECT_EQ(getMaximumCurrentMultiplicities(0, findIntegerSpin() + 1, &untouched), 1);
    EXPECT_EQ(untouched, -7);
}

TEST_F(ExtensionTest, PositivityTellsAlgebrasApart) {
    useTheory(1, 1, 28);
    const int* L = findIntegerSpin();
    struct Case {
        std::vector<int> mult;
        int verdict;
    };
    // E8 (l 0+10+18+28) and D (l 0+28) are extensions; l 0+10 has a negative projection on
    // l = 3: S(10,3)/S(0,3) = sin(264 deg)/sin(24 deg) = -2.45.
    for (const Case& c : {Case{{1, 1, 1, 1}, 0}, Case{{1, 1, 0, 0}, 0}, Case{{1, 0, 1, 0}, 1},
                          Case{{1, 0, 0, 0}, 0}}) {
        int verdict = -1;
        const auto [out, err] = outputOf([&] { verdict = checkAlgebra(L, c.mult.data()); });
        EXPECT_EQ(verdict, c.verdict);
        // Only an algebra beyond the vacuum goes on to the construction.
        const bool built = out.find("Modular invariance OK") != std::string::npos ||
                           out.find("-----") != std::string::npos;
        const bool beyondVacuum = c.mult != std::vector<int>{1, 0, 0, 0};
        EXPECT_EQ(built, c.verdict == 0 && beyondVacuum) << out << err;
    }
}

TEST_F(ExtensionTest, FusionOfTheAlgebraGivesTheExceptionalInvariants) {
    struct Case {
        int level;
        std::vector<int> fields;
        std::vector<Block> blocks;
    };
    // E6: |l0+l6|^2 + |l3+l7|^2 + |l4+l10|^2; E8: |l0+l10+l18+l28|^2 + |l6+l12+l16+l22|^2;
    // D of level 16: sum over even l < 8 of |l + (16-l)|^2 + 2|l8|^2.
    for (const Case& c :
         {Case{10, {0, 9}, {{1, {0, 9}}, {1, {1, 8}}, {1, {6, 7}}}},
          Case{28, {0, 1, 20, 21}, {{1, {0, 1, 20, 21}}, {1, {12, 13, 24, 25}}}},
          Case{16, {0, 1}, {{1, {0, 1}}, {1, {4, 5}}, {1, {8, 9}}, {1, {12, 13}}, {2, {16}}}}}) {
        useTheory(1, 1, c.level);
        int rc = -1;
        const auto [out, err] = outputOf(
            [&] { rc = CheckHomomorphism(static_cast<int>(c.fields.size()), c.fields.data()); });
        EXPECT_EQ(rc, 0);
        const int N = getTotalPrimaries();
        EXPECT_EQ(dense(getDummyBulk()), fromBlocks(N, c.blocks)) << out << err;
        EXPECT_EQ(out.find("Dividing by gcd 2") != std::string::npos, c.level == 16) << out;
    }
}

TEST_F(ExtensionTest, VacuumAloneGivesTheDiagonalInvariant) {
    useTheory(1, 1, 4);
    const int vacuum = 0;
    const auto [out, err] = outputOf([&] { CheckHomomorphism(1, &vacuum); });
    EXPECT_EQ(dense(getDummyBulk()), identity(5));
    for (int f = 0; f < 5; f++)
        EXPECT_NE(out.find("(" + std::to_string(f) + ") *** \n"), std::string::npos) << out;
}

TEST_F(ExtensionTest, StuckOrEmptyConstructionsOfferNothing) {
    useTheory(1, 1, 10);
    parameter("Autostore") = 1;
    const int before = TotalInvariants();
    // The simple current l=10 alone: the fixed point l=5 is a block of its own, and then the
    // exchange l <-> 10-l has no diagonal 1 and no common factor.
    const int current = 1;
    int rc = 0;
    auto [out, err] = outputOf([&] { rc = CheckHomomorphism(1, &current); });
    EXPECT_EQ(rc, -2);
    EXPECT_NE(out.find("(10) *** \n"), std::string::npos) << out;
    EXPECT_NE(out.find("Continuation impossible"), std::string::npos) << out;
    // Nothing to extend by: the zero matrix commutes with S but is no invariant.
    std::tie(out, err) = outputOf([&] { rc = CheckHomomorphism(0, &current); });
    EXPECT_EQ(rc, 0);
    EXPECT_NE(out.find("Construction completed; no invariant found"), std::string::npos) << out;
    EXPECT_EQ(TotalInvariants(), before);
}

TEST_F(ExtensionTest, RemoveVectorStopsAtTheFirstNegativeEntry) {
    useTheory(1, 1, 1);
    int H[4] = {1, 0, 0, 1};
    const int v[2] = {1, 1};
    int rc = -1;
    const auto [out, err] = outputOf([&] { rc = RemoveVector(H, v, 1); });
    EXPECT_EQ(rc, 0);
    EXPECT_EQ(out, "Inconsistency encountered (labels 0 and 1)\n");
    int K[4] = {3, 2, 2, 3};
    EXPECT_EQ(RemoveVector(K, v, 2), 1);
    EXPECT_EQ(std::vector<int>(K, K + 4), (std::vector<int>{1, 0, 0, 1}));
}

TEST_F(ExtensionTest, BlockDisplayMarksUnequalWeightsAndWraps) {
    useTheory(1, 1, 28);
    // l 1 (field 2) and l 27 (field 3) differ by 27*29/120 - 3/120 = 6.5: marked.
    std::vector<int> orbit(29, 0);
    orbit[2] = 1;
    orbit[3] = 2;
    int rc = -1;
    auto [out, err] = outputOf([&] { rc = printExceptionalOrbit(orbit.data(), 1); });
    EXPECT_EQ(rc, 1);
    EXPECT_EQ(out, "(2+2*3)\n");
    // All 29 fields with multiplicity 3: the line breaks once 61 columns are reached.
    std::fill(orbit.begin(), orbit.end(), 1);
    std::tie(out, err) = outputOf([&] { rc = printExceptionalOrbit(orbit.data(), 3); });
    EXPECT_EQ(out.substr(0, 5), "3 * (");
    const std::size_t wrap = out.find("\n    ");
    ASSERT_NE(wrap, std::string::npos) << out;
    // "3 * (" and "0" take 6 columns, "+1" .. "+9" 18 more, each later field 3: 63 after "+22".
    EXPECT_EQ(wrap, 63u) << out;
    EXPECT_EQ(out.substr(wrap - 3, 3), "+22");
}

} // namespace
