// The search for permutation invariants, on small S matrices given by hand and on theories whose
// permutation invariants are known: the D invariant of A1 at level 10 (l 1 <-> 9, 3 <-> 7) and
// the five non-trivial triality permutations of so(8) at level 1.
#include "InvariantsTestHelpers.h"

#include "modular/Invariants.h"
#include "modular/Modular.h"

#include <gtest/gtest.h>

#include <vector>

using namespace invtest;

namespace {

std::vector<std::vector<int>> offered;
int offeredN = 0;

int record(int* Z, int, int, int, int) {
    offered.emplace_back(Z, Z + offeredN * offeredN);
    return 1;
}

// Three fields, 1 and 2 of equal weight; S(1,1) = S(2,2) and S(1,2) = S(2,1), so the exchange
// keeps every entry within the class. Only the vacuum entries can tell 1 from 2.
int exchangesOffered(double s01, double s02) {
    offered.clear();
    offeredN = 3;
    const std::vector<double> re = {0.5, s01, s02, s01, 0.3, -0.2, s02, -0.2, 0.3};
    const std::vector<double> im(9, 0.0);
    return searchAutomorphismsWith(3, re, im, {0, 1, 1}, record);
}

TEST(AutomorphismSearch, TheVacuumColumnSeparatesFieldsOfDifferentDimension) {
    EXPECT_EQ(exchangesOffered(0.6, 0.6), 1) << "equal vacuum entries: the exchange is offered";
    ASSERT_EQ(offered.size(), 1u);
    EXPECT_EQ(offered[0], (std::vector<int>{1, 0, 0, 0, 0, 1, 0, 1, 0}));
    EXPECT_EQ(exchangesOffered(0.6, 0.4), 0) << "the exchange would change S(0,1)";
}

TEST(AutomorphismSearch, FieldsOfDifferentWeightAreNeverExchanged) {
    offered.clear();
    offeredN = 3;
    const std::vector<double> re = {0.5, 0.6, 0.6, 0.6, 0.3, -0.2, 0.6, -0.2, 0.3};
    EXPECT_EQ(searchAutomorphismsWith(3, re, std::vector<double>(9, 0.0), {0, 1, 2}, record), 0);
}

// Twelve fields of one weight: only the first ten of the class are permuted, the last two stay
// fixed. S(i,j) = 0.01 (g_i + g_j) + 0.001 g_i g_j with g_i = i except g_3 = 2, so the exchange
// of 2 and 3 is the only symmetry among the ten, unless a fixed field tells 2 from 3.
int exchangesInLargeClass(double s3_11) {
    offered.clear();
    offeredN = 13;
    auto g = [](int i) { return i == 3 ? 2.0 : static_cast<double>(i); };
    std::vector<double> re(169);
    for (int i = 0; i < 13; i++)
        for (int j = 0; j < 13; j++)
            re[i * 13 + j] = i == 0 || j == 0 ? (i == j ? 0.5 : 0.6)
                                              : 0.01 * (g(i) + g(j)) + 0.001 * g(i) * g(j);
    re[3 * 13 + 11] = re[11 * 13 + 3] = s3_11;
    std::vector<int> weightClass(13, 1);
    weightClass[0] = 0;
    int found = 0;
    outputOf([&] {
        found = searchAutomorphismsWith(13, re, std::vector<double>(169, 0.0), weightClass, record);
    });
    return found;
}

TEST(AutomorphismSearch, FieldsLeftOutOfALargeClassStillGuardTheCheck) {
    EXPECT_EQ(exchangesInLargeClass(0.01 * (2 + 11) + 0.001 * 2 * 11), 1);
    ASSERT_EQ(offered.size(), 1u);
    EXPECT_EQ(offered[0][2 * 13 + 3], 1);
    EXPECT_EQ(offered[0][3 * 13 + 2], 1);
    EXPECT_EQ(exchangesInLargeClass(0.9), 0) << "S(3,11) differs from S(2,11)";
}

class AutomorphismTheories : public InvariantsTest {};

// Every offered candidate commutes with S, and none is the identity.
void expectInvariantCandidates(int N) {
    for (const auto& Z : offered) {
        std::vector<int> copy = Z;
        EXPECT_EQ(checkInvariant(copy.data(), 0), 1);
        EXPECT_NE(Z, [&] {
            std::vector<int> id(static_cast<std::size_t>(N) * N, 0);
            for (int i = 0; i < N; i++)
                id[static_cast<std::size_t>(i) * N + i] = 1;
            return id;
        }());
    }
}

TEST_F(AutomorphismTheories, KnownPermutationInvariantsAreFound) {
    struct Case {
        int type, rank, level, count;
    };
    for (const Case& c :
         {Case{1, 1, 10, 1}, Case{4, 4, 1, 5}, Case{1, 2, 1, 1}, Case{1, 1, 16, 0}}) {
        useTheory(c.type, c.rank, c.level);
        initSMATRIX();
        const int N = getTotalPrimaries();
        std::vector<double> re(static_cast<std::size_t>(N) * N), im(re.size());
        for (int i = 0; i < N; i++)
            for (int j = 0; j < N; j++)
                compS(i, j, &re[static_cast<std::size_t>(i) * N + j],
                      &im[static_cast<std::size_t>(i) * N + j]);
        // Weights modulo 1 as classes, the vacuum alone: w_i - w_j an integer.
        std::vector<rat> w(static_cast<std::size_t>(N));
        for (int i = 0; i < N; i++)
            w[i] = *ratWeight(i);
        std::vector<int> weightClass(static_cast<std::size_t>(N));
        for (int i = 0; i < N; i++) {
            weightClass[i] = i;
            for (int j = 1; j < i && i > 0; j++)
                if ((static_cast<long>(w[i].num) * w[j].den -
                     static_cast<long>(w[j].num) * w[i].den) %
                        (static_cast<long>(w[i].den) * w[j].den) ==
                    0) {
                    weightClass[i] = weightClass[j];
                    break;
                }
        }
        offered.clear();
        offeredN = N;
        outputOf([&] {
            EXPECT_EQ(searchAutomorphismsWith(N, re, im, weightClass, record), c.count)
                << c.type << " " << c.rank << " " << c.level;
            expectInvariantCandidates(N);
        });
    }
}

} // namespace
