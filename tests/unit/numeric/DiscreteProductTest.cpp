#include "numeric/Discrete.h"

#include "DiscreteTestHelpers.h"
#include "TestSupport.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <memory>
#include <numeric>
#include <set>
#include <string>
#include <vector>

namespace {

using namespace discretetest;
using testsupport::stdoutOf;

std::vector<int> ordersOf(const Discrete_Group* dg) {
    return std::vector<int>(dg->Orders, dg->Orders + dg->Mult);
}

// ------------------------------------------------------------------ product rules of tests

// Z_n under addition, n passed through xtra.
int addModulo(int a, int b, void* xtra) {
    return (a + b) % *static_cast<int*>(xtra);
}

// Z_2 x Z_4 numbered a + 2b (a in Z_2, b in Z_4): the smaller factor comes first.
int productZ2Z4(int x, int y, void*) {
    const int a = (x % 2 + y % 2) % 2;
    const int b = (x / 2 + y / 2) % 4;
    return a + 2 * b;
}

// A shared group whose labels are scrambled by a fixed permutation that keeps 0.
struct Scrambled {
    Discrete_Group* dg;
    std::vector<int> to;   // element number -> label
    std::vector<int> from; // label -> element number
};

int scrambledProduct(int a, int b, void* xtra) {
    auto* s = static_cast<Scrambled*>(xtra);
    return s->to[DG_product(s->from[a], s->from[b], s->dg)];
}

Scrambled scramble(Discrete_Group* dg) {
    Scrambled s{dg, std::vector<int>(dg->Order), std::vector<int>(dg->Order)};
    std::iota(s.to.begin(), s.to.end(), 0);
    // A fixed shuffle: reverse the non-zero labels, then swap neighbours.
    std::reverse(s.to.begin() + 1, s.to.end());
    for (int i = 1; i + 1 < dg->Order; i += 2)
        std::swap(s.to[i], s.to[i + 1]);
    for (int e = 0; e < dg->Order; ++e)
        s.from[s.to[e]] = e;
    return s;
}

// The map found by an identification must be a bijective homomorphism onto the labels.
void expectIsomorphism(Discrete_Group* target, const std::vector<int>& map,
                       const std::set<int>& labels, void* xtra, DISC_PROD prod) {
    ASSERT_EQ(target->Order, static_cast<int>(labels.size()));
    std::set<int> image(map.begin(), map.begin() + target->Order);
    EXPECT_EQ(image, labels);
    for (int e = 0; e < target->Order; ++e)
        for (int f = 0; f < target->Order; ++f)
            ASSERT_EQ(map[DG_product(e, f, target)], prod(map[e], map[f], xtra))
                << "e=" << e << " f=" << f;
}

// ------------------------------------------------------------------ groups by a product rule

TEST(DiscreteTest, ClosuresInZ6) {
    int six = 6;
    int empty[8] = {};
    EXPECT_EQ(DG_closeSubgroup(empty, 0, &six, addModulo), 1);
    EXPECT_EQ(empty[0], 0);
    int three[8] = {3};
    ASSERT_EQ(DG_closeSubgroup(three, 1, &six, addModulo), 2);
    EXPECT_EQ(std::vector<int>(three, three + 2), (std::vector<int>{0, 3}));
    int twoThree[8] = {2, 3};
    ASSERT_EQ(DG_closeSubgroup(twoThree, 2, &six, addModulo), 6);
    EXPECT_EQ(std::vector<int>(twoThree, twoThree + 6), (std::vector<int>{0, 1, 2, 3, 4, 5}));
    int repeated[8] = {4, 4, 0, 4};
    ASSERT_EQ(DG_closeSubgroup(repeated, 4, &six, addModulo), 3);
    EXPECT_EQ(std::vector<int>(repeated, repeated + 3), (std::vector<int>{0, 2, 4}));
}

TEST(DiscreteTest, OrdersAndIdentityHelpers) {
    int twelve = 12;
    std::vector<int> orders(12);
    DG_findOrders(orders.data(), 12, &twelve, addModulo);
    for (int e = 0; e < 12; ++e)
        EXPECT_EQ(orders[e], 12 / std::gcd(e, 12)) << e;
    int list[4] = {5, 7};
    EXPECT_EQ(DG_addIdentity(list, 2), 3);
    EXPECT_EQ(std::vector<int>(list, list + 3), (std::vector<int>{0, 5, 7}));
    EXPECT_EQ(DG_addIdentity(list, 3), 3);
    int none[1];
    EXPECT_EQ(DG_addIdentity(none, 0), 1);
    EXPECT_EQ(none[0], 0);
}

TEST(DiscreteTest, CosetRepresentatives) {
    int six = 6;
    int G[] = {0, 1, 2, 3, 4, 5}, H[] = {0, 3}, coset[6];
    ASSERT_EQ(DG_coset_elements(G, H, coset, 6, 2, &six, addModulo), coset);
    EXPECT_EQ(std::vector<int>(coset, coset + 3), (std::vector<int>{0, 1, 2}));

    int evens[] = {0, 2, 4}, outside[] = {0, 3};
    int* result = coset;
    std::string err =
        errorsOf([&] { result = DG_coset_elements(evens, outside, coset, 3, 2, &six, addModulo); });
    EXPECT_EQ(result, nullptr);
    EXPECT_NE(err.find("G-element not found"), std::string::npos);

    int notASubgroup[] = {0, 2}; // {0,2} is no subgroup of Z6: three classes, not 6/2
    err = errorsOf([&] { DG_coset_elements(G, notASubgroup, coset, 6, 2, &six, addModulo); });
    EXPECT_NE(err.find("Count error"), std::string::npos);
}

TEST(DiscreteTest, MarkingAndOrthogonality) {
    int eight = 8;
    int elements[] = {0, 1, 2, 3, 4, 5, 6, 7};
    int flags[8] = {1};
    DG_markSubgroup(elements, flags, 8, 4, &eight, addModulo);
    EXPECT_EQ(std::vector<int>(flags, flags + 8), (std::vector<int>{1, 0, 0, 0, 1, 0, 0, 0}));
    EXPECT_EQ(DG_checkOrthogonality(elements, flags, 2, 8, &eight, addModulo), 0); // 2+2 = 4
    DG_markSubgroup(elements, flags, 8, 2, &eight, addModulo);
    EXPECT_EQ(std::vector<int>(flags, flags + 8), (std::vector<int>{1, 0, 1, 0, 1, 0, 1, 0}));

    int notClosed[] = {0, 2};
    int two[2] = {1, 0};
    std::string err = errorsOf([&] { DG_markSubgroup(notClosed, two, 2, 2, &eight, addModulo); });
    EXPECT_NE(err.find("Subgroup does not close"), std::string::npos);
    EXPECT_EQ(two[1], 1);
}

TEST(DiscreteTest, CyclicGroupOfOrderSixIsIdentified) {
    int six = 6;
    std::vector<int> map(6), orders(6, 0);
    Discrete_Group* target = DG_mapProduct(map.data(), orders.data(), 6, &six, addModulo);
    EXPECT_EQ(ordersOf(target), (std::vector<int>{6}));
    EXPECT_EQ(target, groupOf({6}));
    EXPECT_EQ(orders[map[1]], 6);
    expectIsomorphism(target, map, {0, 1, 2, 3, 4, 5}, &six, addModulo);
}

TEST(DiscreteTest, Z6AndZ2xZ3AreTheSameGroup) {
    int six = 6;
    std::vector<int> map6(6), orders6(6, 0);
    Discrete_Group* fromZ6 = DG_mapProduct(map6.data(), orders6.data(), 6, &six, addModulo);

    Discrete_Group* z2z3 = groupOf({2, 3});
    std::vector<int> map(6), orders(6, 0);
    Discrete_Group* fromZ2Z3 = DG_mapProduct(map.data(), orders.data(), 6, z2z3, DG_product);
    EXPECT_EQ(fromZ2Z3, fromZ6);
    EXPECT_EQ(ordersOf(fromZ2Z3), (std::vector<int>{6}));
    expectIsomorphism(fromZ2Z3, map, {0, 1, 2, 3, 4, 5}, z2z3, DG_product);

    std::vector<int> mapZnx(6), ordersZnx(6, 0);
    EXPECT_EQ(DG_mapProduct_ZNX_VERSION(mapZnx.data(), ordersZnx.data(), 6, z2z3, DG_product),
              fromZ6);
    expectIsomorphism(fromZ6, mapZnx, {0, 1, 2, 3, 4, 5}, z2z3, DG_product);
}

TEST(DiscreteTest, Z2xZ4IsIdentifiedAsFourTimesTwo) {
    std::vector<int> map(8), orders(8, 0);
    Discrete_Group* target = DG_mapProduct(map.data(), orders.data(), 8, nullptr, productZ2Z4);
    EXPECT_EQ(ordersOf(target), (std::vector<int>{4, 2}));
    expectIsomorphism(target, map, {0, 1, 2, 3, 4, 5, 6, 7}, nullptr, productZ2Z4);

    std::vector<int> map2(8), orders2(8, 0);
    Discrete_Group* second =
        DG_mapProduct_ZNX_VERSION(map2.data(), orders2.data(), 8, nullptr, productZ2Z4);
    EXPECT_EQ(ordersOf(second), (std::vector<int>{4, 2}));
    expectIsomorphism(second, map2, {0, 1, 2, 3, 4, 5, 6, 7}, nullptr, productZ2Z4);
}

// The basis search finds the invariant factors of scrambled products: Z6 x Z4 = Z12 x Z2 and
// Z2 x Z4 x Z8, Z3 x Z9, Z4 x Z4.
TEST(DiscreteTest, ScrambledGroupsAreIdentifiedByInvariantFactors) {
    struct Case {
        std::vector<int> orders, expected;
    };
    for (const Case& c : {Case{{6, 4}, {12, 2}}, Case{{2, 4, 8}, {8, 4, 2}}, Case{{3, 9}, {9, 3}},
                          Case{{4, 4}, {4, 4}}}) {
        Scrambled s = scramble(groupOf(c.orders));
        const int n = s.dg->Order;
        std::set<int> labels;
        for (int e = 0; e < n; ++e)
            labels.insert(e);
        std::vector<int> map(n), orders(n, 0);
        Discrete_Group* target = DG_mapProduct(map.data(), orders.data(), n, &s, scrambledProduct);
        EXPECT_EQ(ordersOf(target), c.expected);
        expectIsomorphism(target, map, labels, &s, scrambledProduct);
    }
}

TEST(DiscreteTest, SubgroupOfASharedGroupIsIdentified) {
    Discrete_Group* dg = groupOf({4, 6});
    // The subgroup generated by (2,0) and (0,3): Z2 x Z2, elements 2, 12, 14.
    int elements[] = {0, 2, 12, 14};
    std::vector<int> map(4);
    Discrete_Group* target = DG_mapSubGroup(map.data(), 4, elements, dg);
    EXPECT_EQ(ordersOf(target), (std::vector<int>{2, 2}));
    expectIsomorphism(target, map, {0, 2, 12, 14}, dg, DG_product);

    int single[] = {0};
    std::vector<int> one(1, -5);
    EXPECT_EQ(DG_mapSubGroup(one.data(), 1, single, dg), DG_trivial());
    EXPECT_EQ(one[0], 0);
}

// Labels that are no group: the count error is reported and the map, which has room for the
// labels only, is not written past its end.
TEST(DiscreteTest, CountErrorDoesNotOverrunTheMap) {
    int four = 4;
    int elements[] = {0, 1}; // 1 has order 4, but 2 and 3 are missing
    std::vector<int> orders(4, 0);
    auto map = std::make_unique<int[]>(2);
    Discrete_Group* target = nullptr;
    std::string out;
    std::string err = errorsOf([&] {
        out = stdoutOf([&] {
            target = DG_mapSubProduct(map.get(), orders.data(), 2, elements, &four, addModulo);
        });
    });
    EXPECT_NE(err.find("Count error (4 != 2)"), std::string::npos);
    EXPECT_NE(out.find("Number of generators: 1\n"), std::string::npos);
    EXPECT_EQ(ordersOf(target), (std::vector<int>{4}));
    EXPECT_EQ(map[0], 0);
    EXPECT_EQ(map[1], 1);
}

} // namespace
