#include "numeric/Discrete.h"

#include "numeric/Sorting.h"

#include "DiscreteTestHelpers.h"
#include "TestSupport.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <numeric>
#include <set>
#include <string>
#include <vector>

namespace {

using namespace discretetest;
using testsupport::stdoutOf;

// ------------------------------------------------------------------ subgroups

std::vector<std::vector<int>> generatorLists(Subgroup* sg) {
    std::vector<std::vector<int>> lists;
    for (; sg; sg = sg->next)
        lists.emplace_back(sg->gen, sg->gen + sg->size);
    return lists;
}

std::vector<int> closureOf(Discrete_Group* dg, const std::vector<int>& gens) {
    std::vector<int> elements(dg->Order + gens.size() + 1);
    std::copy(gens.begin(), gens.end(), elements.begin());
    const int n = DG_closeSubgroup(elements.data(), static_cast<int>(gens.size()), dg, DG_product);
    elements.resize(n);
    return elements;
}

TEST(DiscreteTest, SmallestGeneratorsOfCyclicSubgroups) {
    int fill = -1;
    int* gens = DG_makeGenerators(groupOf({4}), &fill);
    EXPECT_EQ(std::vector<int>(gens, gens + fill), (std::vector<int>{1, 2}));
    gens = DG_makeGenerators(groupOf({2, 2}), &fill);
    EXPECT_EQ(std::vector<int>(gens, gens + fill), (std::vector<int>{1, 2, 3}));
    DG_makeGenerators(DG_trivial(), &fill);
    EXPECT_EQ(fill, 0);
}

TEST(DiscreteTest, AllSubgroupsOfSmallGroups) {
    EXPECT_EQ(generatorLists(DG_buildSubgroups(groupOf({2, 2}))),
              (std::vector<std::vector<int>>{{}, {1}, {2}, {3}, {1, 2}}));
    EXPECT_EQ(generatorLists(DG_buildSubgroups(groupOf({4}))),
              (std::vector<std::vector<int>>{{}, {1}, {2}}));
}

// Subgroup counts known from the lattice of subgroups; every subgroup is listed once, with its
// canonical generators.
TEST(DiscreteTest, SubgroupCountsAndCanonicalGenerators) {
    struct Case {
        std::vector<int> orders;
        int count;
    };
    for (const Case& c : {Case{{2, 2}, 5}, Case{{4}, 3}, Case{{2, 2, 2}, 16}, Case{{4, 4}, 15},
                          Case{{4, 2}, 8}, Case{{6}, 4}, Case{{2, 2, 2, 2}, 67}, Case{{3, 3}, 6}}) {
        Discrete_Group* dg = groupOf(c.orders);
        auto lists = generatorLists(DG_buildSubgroups(dg));
        EXPECT_EQ(static_cast<int>(lists.size()), c.count);
        std::set<std::vector<int>> distinct;
        for (const auto& gens : lists) {
            std::vector<int> done = {0};
            for (int g : gens) {
                std::vector<int> K = closureOf(dg, done);
                int smallestOutside = -1;
                for (int x : closureOf(dg, gens))
                    if (!std::binary_search(K.begin(), K.end(), x)) {
                        smallestOutside = x;
                        break;
                    }
                EXPECT_EQ(g, smallestOutside);
                done.push_back(g);
            }
            distinct.insert(closureOf(dg, gens));
        }
        EXPECT_EQ(static_cast<int>(distinct.size()), c.count);
    }
}

// ------------------------------------------------------------------ subgroups up to symmetry

std::vector<std::vector<int>> symmetryTable;

int tableSymmetry(int n, int elt) {
    return symmetryTable[n][elt];
}

// The permutations of the factors of Z2^k acting on element numbers, the identity first.
std::vector<std::vector<int>> factorPermutations(int k) {
    std::vector<int> pi(k);
    std::iota(pi.begin(), pi.end(), 0);
    std::vector<std::vector<int>> rows;
    do {
        std::vector<int> row(1 << k);
        for (int e = 0; e < (1 << k); ++e) {
            int image = 0;
            for (int j = 0; j < k; ++j)
                if (e >> j & 1)
                    image |= 1 << pi[j];
            row[e] = image;
        }
        rows.push_back(row);
    } while (std::next_permutation(pi.begin(), pi.end()));
    return rows;
}

// The swap of the two factors of Z_n x Z_n, after the identity.
std::vector<std::vector<int>> swapSymmetry(int n) {
    std::vector<int> id(n * n), swap(n * n);
    for (int e = 0; e < n * n; ++e) {
        id[e] = e;
        swap[e] = e / n + n * (e % n);
    }
    return {id, swap};
}

struct Listed {
    std::vector<int> gens, elements, stabilizer;
};

std::vector<Listed> listed(Subgroup* sg) {
    std::vector<Listed> out;
    for (; sg; sg = sg->next)
        out.push_back({std::vector<int>(sg->gen, sg->gen + sg->size),
                       std::vector<int>(sg->elements, sg->elements + sg->order),
                       std::vector<int>(sg->Stabilizer, sg->Stabilizer + sg->permsize)});
    return out;
}

TEST(DiscreteTest, SelectedEnumerationOfZ2xZ2UnderTheSwap) {
    Discrete_Group* dg = groupOf({2, 2});
    symmetryTable = {{0, 1, 2, 3}, {0, 2, 1, 3}};
    auto list = listed(DG_buildInequivalentSubgroupsSelected(dg, nullptr, 2, tableSymmetry));
    ASSERT_EQ(list.size(), 4u);
    EXPECT_EQ(list[0].elements, (std::vector<int>{0}));
    EXPECT_EQ(list[0].stabilizer, (std::vector<int>{0, 1}));
    EXPECT_EQ(list[1].gens, (std::vector<int>{1}));
    EXPECT_EQ(list[1].elements, (std::vector<int>{0, 1}));
    EXPECT_EQ(list[1].stabilizer, (std::vector<int>{0}));
    EXPECT_EQ(list[2].gens, (std::vector<int>{3}));
    EXPECT_EQ(list[2].stabilizer, (std::vector<int>{0, 1}));
    EXPECT_EQ(list[3].gens, (std::vector<int>{1, 2}));
    EXPECT_EQ(list[3].elements, (std::vector<int>{0, 1, 2, 3}));
    EXPECT_EQ(list[3].stabilizer, (std::vector<int>{0, 1}));
}

TEST(DiscreteTest, SelectionExcludesSubgroupsWithUnselectedElements) {
    Discrete_Group* dg = groupOf({2, 2});
    symmetryTable = {{0, 1, 2, 3}};
    int selected[] = {1, 1, 1, 0};
    auto list = listed(DG_buildInequivalentSubgroupsSelected(dg, selected, 1, tableSymmetry));
    std::vector<std::vector<int>> gens;
    for (const Listed& l : list) {
        gens.push_back(l.gens);
        EXPECT_EQ(std::count(l.elements.begin(), l.elements.end(), 3), 0);
    }
    EXPECT_EQ(gens, (std::vector<std::vector<int>>{{}, {1}, {2}}));
}

TEST(DiscreteTest, OrbitData) {
    Discrete_Group* dg = groupOf({4});
    DG_getOrbit(dg, nullptr, -1);
    const int* lengths = DG_getOrbit(dg, nullptr, -2);
    const int* start = DG_getOrbit(dg, nullptr, -3);
    const int* accepted = DG_getOrbit(dg, nullptr, -4);
    EXPECT_EQ(std::vector<int>(lengths, lengths + 4), (std::vector<int>{1, 4, 2, 4}));
    EXPECT_EQ(std::vector<int>(start, start + 4), (std::vector<int>{1, 1, 1, 0}));
    EXPECT_EQ(std::vector<int>(accepted, accepted + 4), (std::vector<int>{1, 1, 1, 1}));
    const int* orbit3 = DG_getOrbit(dg, nullptr, 3);
    EXPECT_EQ(std::vector<int>(orbit3, orbit3 + 4), (std::vector<int>{3, 2, 1, 0}));
    const int* orbit0 = DG_getOrbit(dg, nullptr, 0);
    EXPECT_EQ(orbit0[0], 0);
}

// With only the identity, one subgroup per class is every subgroup.
TEST(DiscreteTest, SelectedEnumerationWithoutSymmetryListsAllSubgroups) {
    for (auto orders : {std::vector<int>{2, 2, 2}, std::vector<int>{4, 4}, std::vector<int>{4, 2},
                        std::vector<int>{2, 4}, std::vector<int>{6}, std::vector<int>{3, 3}}) {
        Discrete_Group* dg = groupOf(orders);
        const int all = static_cast<int>(generatorLists(DG_buildSubgroups(dg)).size());
        symmetryTable = {std::vector<int>(dg->Order)};
        std::iota(symmetryTable[0].begin(), symmetryTable[0].end(), 0);
        auto list = listed(DG_buildInequivalentSubgroupsSelected(dg, nullptr, 1, tableSymmetry));
        EXPECT_EQ(static_cast<int>(list.size()), all);
        std::set<std::vector<int>> distinct;
        for (const Listed& l : list) {
            EXPECT_EQ(l.elements, closureOf(dg, l.gens));
            distinct.insert(l.elements);
        }
        EXPECT_EQ(static_cast<int>(distinct.size()), all);
    }
}

// Orbit-stabiliser: over the listed class representatives, |symmetries| / |stabiliser| adds up
// to the number of all subgroups; each representative is the smallest of its class.
void expectOneRepresentativePerClass(Discrete_Group* dg, const std::vector<Listed>& list, int nSym,
                                     int classes) {
    const int all = static_cast<int>(generatorLists(DG_buildSubgroups(dg)).size());
    EXPECT_EQ(static_cast<int>(list.size()), classes);
    int total = 0;
    for (const Listed& l : list) {
        ASSERT_FALSE(l.stabilizer.empty());
        EXPECT_EQ(nSym % static_cast<int>(l.stabilizer.size()), 0);
        total += nSym / static_cast<int>(l.stabilizer.size());
        for (const auto& row : symmetryTable) {
            std::vector<int> image;
            for (int x : l.elements)
                image.push_back(row[x]);
            std::sort(image.begin(), image.end());
            EXPECT_GE(image, l.elements);
        }
    }
    EXPECT_EQ(total, all);
}

// Subspaces of F2^3 up to permutations of the coordinates: 1 + 3 + 3 + 1 classes.
TEST(DiscreteTest, Z2CubedUpToFactorPermutations) {
    Discrete_Group* dg = groupOf({2, 2, 2});
    symmetryTable = factorPermutations(3);
    auto selected = listed(DG_buildInequivalentSubgroupsSelected(dg, nullptr, 6, tableSymmetry));
    expectOneRepresentativePerClass(dg, selected, 6, 8);

    VectorSpace rows = declareVectorSpace("symmetry rows", 10);
    initVectorCollection(&rows, 8, 6);
    for (auto& row : symmetryTable)
        addVectorToCollection(&rows, row.data());
    auto byRows = listed(DG_buildInequivalentSubgroups(dg, &rows));
    expectOneRepresentativePerClass(dg, byRows, 6, 8);
    for (std::size_t i = 0; i < byRows.size() && i < selected.size(); ++i)
        EXPECT_EQ(byRows[i].elements, selected[i].elements);
}

// Z4 x Z4 under the swap: of its 15 subgroups 7 are symmetric (orders 1, 2, 4, 4, 4, 8, 16), the
// other 8 are exchanged in pairs, so 11 classes.
TEST(DiscreteTest, Z4xZ4UpToTheSwap) {
    Discrete_Group* dg = groupOf({4, 4});
    symmetryTable = swapSymmetry(4);
    auto selected = listed(DG_buildInequivalentSubgroupsSelected(dg, nullptr, 2, tableSymmetry));
    expectOneRepresentativePerClass(dg, selected, 2, 11);

    VectorSpace rows = declareVectorSpace("swap rows", 10);
    initVectorCollection(&rows, 16, 2);
    for (auto& row : symmetryTable)
        addVectorToCollection(&rows, row.data());
    expectOneRepresentativePerClass(dg, listed(DG_buildInequivalentSubgroups(dg, &rows)), 2, 11);
}

TEST(DiscreteTest, TryAddingInequivalent) {
    Discrete_Group* dg = groupOf({2, 2});
    VectorSpace rows = declareVectorSpace("Z2xZ2 swap", 10);
    initVectorCollection(&rows, 4, 2);
    int id[] = {0, 1, 2, 3}, swap[] = {0, 2, 1, 3};
    addVectorToCollection(&rows, id);
    addVectorToCollection(&rows, swap);
    Subgroup* root = DG_allocSubGroup(nullptr, 0, 0, 0);
    int stab[2], permsize = -1;
    EXPECT_EQ(DG_tryAddingInequivalent(root, 1, dg, &rows, stab, &permsize), 1);
    EXPECT_EQ(permsize, 1);
    EXPECT_EQ(stab[0], 0);
    EXPECT_EQ(DG_tryAddingInequivalent(root, 2, dg, &rows, stab, &permsize), 2);
    EXPECT_EQ(DG_tryAddingInequivalent(root, 3, dg, &rows, stab, &permsize), 1);
    EXPECT_EQ(permsize, 2);
    EXPECT_EQ(stab[1], 1);
    Subgroup* one = DG_allocSubGroup(nullptr, 1, 0, 0);
    one->gen[0] = 1;
    EXPECT_EQ(DG_tryAdding(one, 2, dg), 1);
    EXPECT_EQ(DG_tryAdding(one, 3, dg), 0); // {0,1,3} closes to the whole group, which has 2
    EXPECT_EQ(DG_tryAdding(one, 1, dg), 0);
    DG_freeSubgroup(root);
    DG_freeSubgroup(one);
}

TEST(DiscreteTest, SubgroupRecordsReuseAndGuardTheirArray) {
    Subgroup* sg = DG_allocSubGroup(nullptr, 2, 1, 4);
    EXPECT_EQ(sg->Stabilizer, sg->gen + 2);
    EXPECT_EQ(sg->elements, sg->gen + 3);
    EXPECT_EQ(sg->gen_size, 17);
    EXPECT_EQ(DG_allocSubGroup(sg, 1, 0, 30), sg);
    EXPECT_EQ(sg->Stabilizer, nullptr);
    EXPECT_EQ(sg->gen_size, 41);
    EXPECT_EQ(sg->order, 30);
    for (int i = 0; i < 31; ++i)
        sg->gen[i] = i;
    std::string out = stdoutOf([&] { DG_printSubGroup(sg); });
    EXPECT_EQ(out, "New subgroup:   (0)\n");
    sg->gen[31] = 5; // one past the requested length
    std::string err = errorsOf([&] { DG_freeSubgroup(sg); });
    EXPECT_NE(err.find("!!!!!! overflow in allocation of sg->gen"), std::string::npos);
}

TEST(DiscreteTest, RebuildingReplacesThePreviousList) {
    Discrete_Group* dg = groupOf({2, 2, 2});
    DG_buildSubgroups(dg);
    EXPECT_EQ(generatorLists(DG_buildSubgroups(groupOf({4}))).size(), 3u);
    symmetryTable = factorPermutations(3);
    DG_buildInequivalentSubgroupsSelected(dg, nullptr, 6, tableSymmetry);
    EXPECT_EQ(generatorLists(DG_buildSubgroups(dg)).size(), 16u);
    EXPECT_EQ(listed(DG_buildInequivalentSubgroupsSelected(DG_trivial(), nullptr, 0, tableSymmetry))
                  .size(),
              1u);
}

} // namespace
