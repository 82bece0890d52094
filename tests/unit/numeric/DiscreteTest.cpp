#include "numeric/Discrete.h"

#include "numeric/Sorting.h"

#include "TestSupport.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <functional>
#include <map>
#include <memory>
#include <numeric>
#include <set>
#include <string>
#include <vector>

namespace {

using testsupport::stdoutOf;

Discrete_Group* groupOf(std::vector<int> orders) {
    return DG_find(orders.data(), static_cast<int>(orders.size()));
}

std::vector<int> ordersOf(const Discrete_Group* dg) {
    return std::vector<int>(dg->Orders, dg->Orders + dg->Mult);
}

template <class F> std::string errorsOf(F f) {
    testing::internal::CaptureStderr();
    f();
    return testing::internal::GetCapturedStderr();
}

// Order by repeated addition, independent of the stored table.
int orderByPowers(Discrete_Group* dg, int x) {
    int order = 1;
    for (int y = x; y != 0; y = DG_product(y, x, dg))
        ++order;
    return order;
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

// ------------------------------------------------------------------ finite abelian groups

// Orders that no other test asks for, so that the record is fresh whatever ran before.
TEST(DiscreteTest, GroupsAreSharedPerListOfOrders) {
    Discrete_Group* a = groupOf({5, 7});
    EXPECT_EQ(groupOf({5, 7}), a);
    Discrete_Group* b = groupOf({7, 5});
    Discrete_Group* c = groupOf({35});
    EXPECT_NE(b, a);
    EXPECT_NE(c, a);
    EXPECT_NE(c, b);
    EXPECT_EQ(a->Order, 35);
    EXPECT_EQ(a->Mult, 2);
    EXPECT_EQ(a->CharStored, 0);
}

TEST(DiscreteTest, MixedRadixNumberingOfZ2xZ3) {
    Discrete_Group* dg = groupOf({2, 3});
    struct Case {
        int element, d0, d1, order;
    };
    for (Case c : {Case{0, 0, 0, 1}, Case{1, 1, 0, 2}, Case{2, 0, 1, 3}, Case{3, 1, 1, 6},
                   Case{4, 0, 2, 3}, Case{5, 1, 2, 6}}) {
        EXPECT_EQ(DG_decomp(dg, c.element, 0), c.d0) << c.element;
        EXPECT_EQ(DG_decomp(dg, c.element, 1), c.d1) << c.element;
        int comps[] = {c.d0, c.d1};
        EXPECT_EQ(DG_findElement(dg, comps), c.element);
        EXPECT_EQ(dg->AllOrders[c.element], c.order) << c.element;
    }
    EXPECT_EQ(DG_basis(dg, 0), 1);
    EXPECT_EQ(DG_basis(dg, 1), 2);
    EXPECT_EQ(DG_product(5, 5, dg), 2); // (1,2) + (1,2) = (0,1)
    EXPECT_EQ(DG_inverse(dg, 5), 3);    // -(1,2) = (1,1)
    EXPECT_EQ(DG_inverse(dg, 0), 0);
}

TEST(DiscreteTest, ElementOrdersAgreeWithPowers) {
    for (auto orders : {std::vector<int>{4, 6}, std::vector<int>{2, 2, 3}, std::vector<int>{9},
                        std::vector<int>{8, 4, 2}}) {
        Discrete_Group* dg = groupOf(orders);
        for (int e = 0; e < dg->Order; ++e)
            EXPECT_EQ(dg->AllOrders[e], orderByPowers(dg, e)) << "element " << e;
    }
    // Z4 x Z2: one element of order 1, three of order 2, four of order 4.
    Discrete_Group* dg = groupOf({4, 2});
    std::map<int, int> census;
    for (int e = 0; e < dg->Order; ++e)
        census[dg->AllOrders[e]]++;
    EXPECT_EQ(census, (std::map<int, int>{{1, 1}, {2, 3}, {4, 4}}));
}

TEST(DiscreteTest, ProductsInversesAndChargeCodesAgree) {
    Discrete_Group* dg = groupOf({4, 3, 2});
    for (int a = 0; a < dg->Order; ++a) {
        EXPECT_EQ(DG_product(a, DG_inverse(dg, a), dg), 0) << a;
        for (int b = 0; b < dg->Order; ++b) {
            ASSERT_EQ(DG_directProduct(a, b, dg), DG_product(a, b, dg));
            ASSERT_EQ(DG_ChargeCodeProduct(dg, a, b), DG_product(a, b, dg));
            ASSERT_EQ(DG_product(a, b, dg), DG_product(b, a, dg));
        }
    }
    for (int x = 0; x < 4; ++x)
        for (int y = 0; y < 3; ++y)
            for (int z = 0; z < 2; ++z) {
                int v[] = {x, y, z};
                const int code = DG_computeChargeCode(dg, v);
                EXPECT_EQ(code, x + 4 * y + 12 * z);
                const int* back = DG_DecodeChargeCode(dg, code);
                EXPECT_EQ(std::vector<int>(back, back + 3), std::vector<int>(v, v + 3));
            }
    // Negative codes decode to non-negative charges: -1 is the last element.
    const int* last = DG_DecodeChargeCode(dg, -1);
    EXPECT_EQ(std::vector<int>(last, last + 3), (std::vector<int>{3, 2, 1}));
}

TEST(DiscreteTest, CharactersOfZ2xZ3) {
    Discrete_Group* dg = groupOf({2, 3});
    rat D;
    DG_character(dg, 1, 1, &D);
    EXPECT_EQ(dg->CharStored, 1);
    EXPECT_EQ(dg->Characters[1 * 6 + 1], 3);
    EXPECT_EQ(D.num, 1);
    EXPECT_EQ(D.den, 2);
    for (int j = 0; j < 6; ++j) {
        DG_character(dg, 0, j, &D);
        EXPECT_EQ(D.num, 0);
        EXPECT_EQ(D.den, 1);
    }
    DG_computeCharacter(dg, 1, 1, &D);
    EXPECT_EQ(D.num, 3);
    EXPECT_EQ(D.den, 6);
}

TEST(DiscreteTest, CharactersAreOrthogonalHomomorphisms) {
    for (auto orders : {std::vector<int>{2, 4}, std::vector<int>{3, 3}, std::vector<int>{6},
                        std::vector<int>{2, 2, 2}}) {
        Discrete_Group* dg = groupOf(orders);
        DG_computeCharacters(dg);
        ASSERT_EQ(dg->CharStored, 1);
        const int n = dg->Order;
        auto c = [&](int i, int j) { return dg->Characters[i * n + j]; };
        for (int i = 0; i < n; ++i)
            for (int k = 0; k < n; ++k) {
                double re = 0, im = 0;
                for (int j = 0; j < n; ++j) {
                    const double phase = 2 * M_PI * (c(i, j) - c(k, j)) / n;
                    re += std::cos(phase);
                    im += std::sin(phase);
                }
                EXPECT_NEAR(re, i == k ? n : 0, 1e-9) << i << "," << k;
                EXPECT_NEAR(im, 0, 1e-9);
            }
        for (int i = 0; i < n; ++i)
            for (int a = 0; a < n; ++a)
                for (int b = 0; b < n; ++b)
                    ASSERT_EQ(c(i, DG_product(a, b, dg)), (c(i, a) + c(i, b)) % n);
    }
}

TEST(DiscreteTest, FindCharacterByItsPhases) {
    Discrete_Group* dg = groupOf({4, 2});
    const int n = dg->Order;
    for (int i : {0, 3, 6}) {
        std::vector<int> nums(n), dens(n);
        for (int j = 0; j < n; ++j) {
            rat D;
            DG_character(dg, i, j, &D);
            nums[j] = D.num;
            dens[j] = D.den;
        }
        EXPECT_EQ(DG_findCharacter(dg, nums.data(), dens.data()), i);
    }
    std::vector<int> nums(n, 1), dens(n, 3); // phase 1/3 everywhere: no character of Z4 x Z2
    int found = 0;
    std::string err = errorsOf([&] { found = DG_findCharacter(dg, nums.data(), dens.data()); });
    EXPECT_EQ(found, -1);
    EXPECT_NE(err.find("Character does not exist"), std::string::npos);
}

TEST(DiscreteTest, TrivialGroupIsSharedAndHasOneCharacter) {
    Discrete_Group* t = DG_find(nullptr, 0);
    EXPECT_EQ(t, DG_trivial());
    EXPECT_EQ(DG_find(nullptr, 0), t);
    EXPECT_EQ(t->Order, 1);
    EXPECT_EQ(t->Mult, 0);
    EXPECT_EQ(t->AllOrders[0], 1);
    EXPECT_EQ(t->Decomp, nullptr);
    rat D;
    DG_character(t, 0, 0, &D);
    EXPECT_EQ(D.num, 1);
    EXPECT_EQ(D.den, 1);
    EXPECT_EQ(DG_product(0, 0, t), 0);
    int one[] = {1}, zero[] = {0}, d1[] = {1}, d5[] = {5}, half[] = {1}, two[] = {2};
    EXPECT_EQ(DG_findCharacter(t, one, d1), 0);
    EXPECT_EQ(DG_findCharacter(t, zero, d5), 0);
    int found = 0;
    std::string err = errorsOf([&] { found = DG_findCharacter(t, half, two); });
    EXPECT_EQ(found, -1);
    EXPECT_NE(err.find("Trivial group character does not exist"), std::string::npos);
}

TEST(DiscreteTest, GroupAboveTheLimitComputesCharactersOnRequest) {
    Discrete_Group* dg = groupOf({45001});
    rat D;
    std::string err = errorsOf([&] { DG_character(dg, 1, 2, &D); });
    EXPECT_NE(err.find("group of order 45001; this is to large"), std::string::npos);
    EXPECT_EQ(dg->CharStored, -2);
    EXPECT_EQ(dg->Characters, nullptr);
    EXPECT_EQ(D.num, 2);
    EXPECT_EQ(D.den, 45001);
    // 45001 = 11 * 4091: the value 11/45001 is left unreduced.
    DG_character(dg, 11, 1, &D);
    EXPECT_EQ(D.num, 11);
    EXPECT_EQ(D.den, 45001);
    std::vector<int> nums(dg->Order, 0), dens(dg->Order, 1);
    int found = 0;
    err = errorsOf([&] { found = DG_findCharacter(dg, nums.data(), dens.data()); });
    EXPECT_EQ(found, -1);
    EXPECT_NE(err.find("Characters not available"), std::string::npos);
}

// A table of 23000^2 ints (2.1 GB) passes the allocation ceiling, which would end the program:
// it is refused like a table above the limit, and characters are computed on request.
TEST(DiscreteTest, TableBeyondTheAllocationCeilingIsRefused) {
    Discrete_Group* dg = groupOf({23000});
    std::string err = errorsOf([&] { DG_computeCharacters(dg); });
    EXPECT_NE(err.find("group of order 23000; this is to large"), std::string::npos);
    EXPECT_EQ(dg->CharStored, -2);
    rat D;
    DG_character(dg, 2, 5, &D);
    EXPECT_EQ(D.num, 10);
    EXPECT_EQ(D.den, 23000);
    // The products of components must not overflow: (22999 * 22999) mod 23000 = 1.
    DG_character(dg, 22999, 22999, &D);
    EXPECT_EQ(D.num, 1);

    err = errorsOf([] {
        Discrete_Group* rec = DG_allocSpace(23000, 1, 1);
        EXPECT_EQ(rec->Characters, nullptr);
    });
    EXPECT_NE(err.find("this is to large"), std::string::npos);
}

TEST(DiscreteTest, AllocSpaceWithTableBelowTheCeiling) {
    Discrete_Group* dg = DG_allocSpace(12, 2, 1);
    ASSERT_NE(dg->Characters, nullptr);
    EXPECT_EQ(dg->CharStored, 0);
    EXPECT_EQ(dg->Decomp, dg->AllOrders + 12);
    dg->Orders[0] = 4;
    dg->Orders[1] = 3;
    for (int e = 0; e < 12; ++e) {
        dg->Decomp[2 * e] = e % 4;
        dg->Decomp[2 * e + 1] = e / 4;
        EXPECT_EQ(dg->AllOrders[e], 0);
    }
    DG_findOrdersFast(dg);
    EXPECT_EQ(dg->AllOrders[1], 4);
    EXPECT_EQ(dg->AllOrders[4], 3);
    EXPECT_EQ(dg->AllOrders[5], 12);
    rat D;
    DG_character(dg, 1, 1, &D); // 1 * 1 * 12/4 = 3 of 12
    EXPECT_EQ(D.num, 1);
    EXPECT_EQ(D.den, 4);
}

TEST(DiscreteTest, OrderedBasisPicksOneElementPerFactor) {
    Discrete_Group* dg = groupOf({4, 3});
    // (2,0)=2, (3,0)=3, (1,1)=5, (0,2)=8, (0,1)=4
    int elements[] = {5, 3, 8, 2, 4};
    int generators[2];
    EXPECT_EQ(DG_findOrderedBasis(elements, generators, dg, 5), 2);
    EXPECT_EQ(generators[0], 2); // smallest component in factor 0 with factor 1 zero
    EXPECT_EQ(generators[1], 5); // component 1 in factor 1, first of 5 and 4
    int none[] = {5, 7};
    EXPECT_EQ(DG_findMinimumInFactor(none, dg, 2, 0), 0);
}

TEST(DiscreteTest, PrintListsFactorsAndComponents) {
    Discrete_Group* dg = groupOf({2, 3});
    std::string out = stdoutOf([&] { DG_print(dg); });
    EXPECT_EQ(out.rfind("Multiplicity: 2\nOrder: 6\nFactors:     (2,3)\ndecomp -->   (0,0)\n", 0),
              0u);
    EXPECT_NE(out.find("decomp -->   (1,2)\n"), std::string::npos);
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
