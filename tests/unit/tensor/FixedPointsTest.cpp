// Stabilizer types over the chiral algebra of (A1_4)^4 extended by (1,1,0,0), (0,1,1,0) and
// (0,0,1,1): the eight combinations with an even number of currents, Z2^3 under fusion.
#include "TensorTestHelpers.h"

#include "base/Allocation.h"
#include "tensor/Coset.h"
#include "tensor/FixedPoints.h"

#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

using namespace tensortest;

namespace {

using V = std::vector<int>;

class StabilizerTest : public TensorTest {
protected:
    void SetUp() override {
        TensorTest::SetUp();
        SpectrumData* k4 = block(1, 1, 4);
        addFactors(TP, {k4, k4, k4, k4});
        for (const V& J : {V{1, 1, 0, 0}, V{0, 1, 1, 0}, V{0, 0, 1, 1}})
            ASSERT_EQ(addNewCurrent(TP, J.data()), 0);
        computeChiralAlgebra(TP);
        ASSERT_EQ(TP->ChiralAlgebra->Nfill, 8);
        a = element({1, 1, 0, 0});
        b = element({0, 0, 1, 1});
        ab = element({1, 1, 1, 1});
    }
    void TearDown() override {
        freeFP(&head);
        TensorTest::TearDown();
    }
    int element(const V& J) { return findChiralAlgebraElement(TP, J.data()); }
    FPType* type(V U, V S) {
        return getFP(8, U.data(), S.data(), static_cast<int>(U.size()), static_cast<int>(S.size()),
                     &head, TP, chiralProduct);
    }
    std::string rowText(int m) {
        const int* r = TP->ChiralAlgebra->Space + TP->ChiralAlgebra->rowsize * m;
        return "(" + std::to_string(r[0]) + "," + std::to_string(r[1]) + "," +
               std::to_string(r[2]) + "," + std::to_string(r[3]) + ")";
    }
    std::string elementLines(const V& S) {
        std::string text;
        for (std::size_t i = 0; i < S.size(); i++)
            text += " -- Elt[" + std::to_string(i) + "]=" + std::to_string(S[i]) + "   " +
                    rowText(S[i]) + "\n";
        return text;
    }
    FPType* head = nullptr;
    int a = -1, b = -1, ab = -1;
};

TEST_F(StabilizerTest, TrivialType) {
    FPType* t = trivialFP(&head);
    EXPECT_EQ(t->dg->Order, 1);
    EXPECT_EQ(t->stab_order, 1);
    EXPECT_EQ(t->mult, 1);
    EXPECT_EQ(trivialFP(&head), t);
    EXPECT_EQ(type({0}, {0}), t) << "the lists of the trivial type are (0) and (0)";
    rat D{5, 7};
    Captured cap;
    Character(t, a, b, &D);
    EXPECT_EQ(D.num, 0);
    EXPECT_EQ(D.den, 1);
    printFP(TP, t);
    EXPECT_EQ(cap.out(), "Stabilizer is trivial\n");
    EXPECT_EQ(cap.err(), "");
}

// |S| = 4 with trivial U: every element of S acts with a twist, and the fixed point is
// resolved into isqrt(4/1) = 2 copies.
TEST_F(StabilizerTest, FullyTwisted) {
    const V S{0, a, b, ab};
    FPType* t = type({0}, S);
    EXPECT_EQ(t->mult, 2);
    EXPECT_EQ(t->stab_order, 4);
    EXPECT_EQ(t->dg->Order, 1);
    Captured cap;
    printFP(TP, t);
    EXPECT_EQ(cap.out(), "Stabilizer:      (0," + std::to_string(a) + "," + std::to_string(b) +
                             "," + std::to_string(ab) + ")\n" + elementLines(S) +
                             "fully twisted; untwisted stabilizer is trivial\n"
                             "Multiplicity: 2\n");
}

TEST_F(StabilizerTest, FullyUntwisted) {
    const V S{0, a};
    FPType* t = type(S, S);
    EXPECT_EQ(t->mult, 1);
    EXPECT_EQ(t->dg->Order, 2);
    rat D;
    Character(t, a, a, &D);
    EXPECT_EQ(D.num * 2, D.den) << "the sign character of Z2";
    Character(t, 0, a, &D);
    EXPECT_EQ(D.num, 0);
    Captured cap;
    printFP(TP, t);
    EXPECT_EQ(cap.out(), "Stabilizer (fully untwisted):      (0," + std::to_string(a) + ")\n" +
                             elementLines(S) +
                             "Orders:      (2)\nBasis decomposition:\n   (0)\n   (1)\n");
}

// U of order 2 in S of order 8: isqrt(8/2) = 2.
TEST_F(StabilizerTest, PartlyTwisted) {
    const V S{0, 1, 2, 3, 4, 5, 6, 7};
    FPType* t = type({0, a}, S);
    EXPECT_EQ(t->mult, 2);
    Captured cap;
    printFP(TP, t);
    EXPECT_EQ(cap.out(), "Stabilizer:      (0,1,2,3,4,5,6,7)\n" + elementLines(S) +
                             "Untwisted stabilizer:      (0," + std::to_string(a) +
                             ")\n"
                             "Multiplicity: 2\nOrders:      (2)\nBasis decomposition:\n   (0)\n"
                             "   (1)\n");
}

// The characters of Z2 x Z2 form a symmetric, non-degenerate pairing with values 0 and 1/2.
TEST_F(StabilizerTest, CharacterPairing) {
    const V U{0, a, b, ab};
    FPType* t = type(U, U);
    for (int x : U) {
        bool seesSomething = false;
        for (int y : U) {
            rat Dxy, Dyx;
            Character(t, x, y, &Dxy);
            Character(t, y, x, &Dyx);
            EXPECT_EQ(Dxy.num * Dyx.den, Dyx.num * Dxy.den) << x << " " << y;
            EXPECT_TRUE(Dxy.num == 0 || 2 * Dxy.num == Dxy.den) << x << " " << y;
            seesSomething |= Dxy.num != 0;
        }
        EXPECT_EQ(seesSomething, x != 0) << x;
    }
    rat D{3, 4};
    Captured cap;
    Character(t, element({1, 0, 1, 0}), a, &D);
    EXPECT_EQ(D.num, 0);
    EXPECT_TRUE(has(cap.err(), "Non-stabilizer element as character argument")) << cap.err();
}

TEST_F(StabilizerTest, TypesAreInternedByOrderedLists) {
    FPType* t = type({0, a, b, ab}, {0, a, b, ab});
    EXPECT_EQ(type({0, a, b, ab}, {0, a, b, ab}), t);
    FPType* other = type({0, b, a, ab}, {0, a, b, ab});
    EXPECT_NE(other, t);
    EXPECT_EQ(head, other) << "new types go to the head";
    EXPECT_EQ(V(other->identifier, other->identifier + 4), (V{0, b, a, ab}));
}

TEST_F(StabilizerTest, FreeingEmptiesTheList) {
    type({0}, {0, a});
    type({0, a}, {0, a});
    freeFP(&head);
    EXPECT_EQ(head, nullptr);
    const AllocCount* counter = nullptr;
    for (MemStats* ms = getFirstMS(); ms; ms = ms->next)
        if (std::strcmp(ms->stat->txt, "Stabilizer types") == 0)
            counter = ms->stat;
    ASSERT_NE(counter, nullptr);
    EXPECT_EQ(counter->TotalAlloc, 1u);
}

TEST_F(StabilizerTest, StabilizerOfASpectrumRow) {
    TP->Stabilizers.reserve(1);
    TP->Stabilizers[0] = type({0}, {0, a, b, ab});
    EXPECT_EQ(StabilizerOrder(TP, 0), 4);
    Captured cap;
    printStabilizer(TP, 0);
    EXPECT_TRUE(has(cap.out(), "Multiplicity: 2\n")) << cap.out();
}

} // namespace
