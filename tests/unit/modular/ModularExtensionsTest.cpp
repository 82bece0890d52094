// The effective center and the symmetries of the current theory's currents. For su(N) at level
// k the current J^r has order N / gcd(r, N) and weight k r (N - r) / (2N), so J^r lies in the
// effective center when that order times that weight is an integer.
#include "ModularTestHelpers.h"

#include "modular/Modular.h"
#include "numeric/Sorting.h"

#include <gtest/gtest.h>

#include <numeric>
#include <vector>

using modulartest::useBlock;

namespace {

bool suNEffective(int N, int k, int r) {
    const long long order = N / std::gcd(r, N);
    return order * k * r * (N - r) % (2LL * N) == 0;
}

TEST(EffectiveCenter, SuNCurrentsByTheirOrderAndWeight) {
    for (int N = 2; N <= 6; N++)
        for (int k = 1; k <= 4; k++) {
            useBlock(1, N - 1, k);
            ASSERT_EQ(CenterOrder(), N);
            const int* table = getEffectiveCenter();
            std::vector<int> members;
            for (int r = 0; r < N; r++) {
                EXPECT_EQ(table[r], suNEffective(N, k, r) ? 1 : 0) << N << "," << k << "," << r;
                EXPECT_EQ(effectiveCenterCheck(r), table[r]);
                if (table[r])
                    members.push_back(r);
            }
            EXPECT_EQ(
                SubgroupEffectiveCenterCheck(static_cast<int>(members.size()), members.data()), 1);
        }
}

// so(8) level 1: three currents of weight 1/2 and order 2, all in; E7 level 1: weight 3/4 and
// order 2, out.
TEST(EffectiveCenter, OtherBlocks) {
    useBlock(4, 4, 1);
    const int all[] = {0, 1, 2, 3};
    EXPECT_EQ(SubgroupEffectiveCenterCheck(4, all), 1);
    useBlock(5, 7, 1);
    EXPECT_EQ(effectiveCenterCheck(0), 1);
    EXPECT_EQ(effectiveCenterCheck(1), 0);
    EXPECT_EQ(SubgroupEffectiveCenterCheck(2, all), 0);
    EXPECT_EQ(SubgroupEffectiveCenterCheck(0, all), 1) << "no currents to check";
}

// so(8) level 1: three currents of order 2 and weight 1/2. su(4): J^2 has order 2 and weight
// k/2, inside at every level. E7 level 1: order 2 but weight 3/4.
TEST(EffectiveCenter, ItsElementsOfOrderTwo) {
    struct Case {
        int type, rank, level;
        std::vector<int> elements;
    };
    for (const Case& c : {Case{4, 4, 1, {1, 2, 3}}, Case{1, 3, 1, {2}}, Case{1, 3, 2, {2}},
                          Case{5, 7, 1, {}}, Case{1, 2, 1, {}}}) {
        useBlock(c.type, c.rank, c.level);
        int size = -1;
        const int* list = computeOrderTwoCenter(&size);
        EXPECT_EQ(std::vector<int>(list, list + size), c.elements) << c.type << "," << c.rank;
    }
}

// su(2) is real: the identity alone. su(3): the identity and charge conjugation, which exchanges
// the two non-trivial currents. so(8): the six permutations of its three non-trivial currents.
TEST(CurrentSymmetries, OfBuildingBlocks) {
    useBlock(1, 1, 3);
    EXPECT_EQ(MOD_TotalOuterAutomorphisms(), 1);
    EXPECT_EQ(MOD_getCurrentPermutation(0, 1), 1);
    useBlock(1, 2, 1);
    ASSERT_EQ(MOD_TotalOuterAutomorphisms(), 2);
    EXPECT_EQ(MOD_getCurrentPermutation(1, 0), 0);
    EXPECT_EQ(MOD_getCurrentPermutation(1, 1), 2);
    EXPECT_EQ(MOD_getCurrentPermutation(1, 2), 1);
    useBlock(4, 4, 1);
    ASSERT_EQ(MOD_TotalOuterAutomorphisms(), 6);
    EXPECT_EQ(MOD_getCurrentOuterAutomorphisms()->Nfill, 6);
    std::vector<std::vector<int>> images;
    for (int s = 0; s < 6; s++) {
        std::vector<int> row;
        for (int c = 0; c < 4; c++)
            row.push_back(MOD_getCurrentPermutation(s, c));
        EXPECT_EQ(row[0], 0);
        images.push_back(row);
    }
    std::sort(images.begin(), images.end());
    EXPECT_EQ(std::unique(images.begin(), images.end()), images.end()) << "six different ones";
    EXPECT_EQ(MOD_getCurrentPermutation(6, 1), -1) << "no such symmetry";
}

} // namespace
