#include "numeric/Discrete.h"

#include "DiscreteTestHelpers.h"
#include "TestSupport.h"

#include <gtest/gtest.h>

#include <cmath>
#include <map>
#include <string>
#include <vector>

namespace {

using namespace discretetest;
using testsupport::stdoutOf;

// Order by repeated addition, independent of the stored table.
int orderByPowers(Discrete_Group* dg, int x) {
    int order = 1;
    for (int y = x; y != 0; y = DG_product(y, x, dg))
        ++order;
    return order;
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
    dg->CharStored = 0; // the store keeps the record, refusal included, for the whole run
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

} // namespace
