// The fix center of a product with its products and cosets, the twists of simple currents on
// fields of a product, the full fixed-point data of a field, characters shifted by twists, and
// the total shift of a combination. Products of A1 at levels 1, 2 and 4: A1_1 has no fixed points,
// A1_2 and A1_4 have one (the doublet s of A1_2, the triplet of A1_4), whose twist
// F(s, J, J) is i^2 at level 2 and 1 at level 4 (exp 2 pi i h_J with h_J = k/4).
#include "TensorTestHelpers.h"

#include "numeric/Discrete.h"
#include "tensor/Coset.h"
#include "tensor/FixedPoints.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

using namespace tensortest;

namespace {

using V = std::vector<int>;

// A1 labels: 0 the vacuum and 1 the current J at every level; at level 2 the doublet s is 2.
constexpr int J = 1;
constexpr int s = 2;

class FixCenter : public TensorTest {
protected:
    void TearDown() override {
        freeFullFP();
        TensorTest::TearDown();
    }
    void product(const V& levels, const std::vector<V>& currents, const V& gh = {}) {
        resetCoset(TP);
        for (std::size_t k = 0; k < levels.size(); k++)
            addTensorFactor(TP, block(1, 1, levels[k]), gh.empty() ? 0 : gh[k]);
        for (const V& c : currents)
            ASSERT_EQ(addNewCurrent(TP, c.data()), 0);
        ASSERT_EQ(computeTensorSpectrum(TP), 0);
    }
    // The field of a combination (fixed-point label 0).
    int field(V labels) {
        labels.push_back(0);
        return findOrbit(TP, labels.data(), nullptr);
    }
    int fixCenterRows() { return TP->FixCenter->Nfill; }
    V fixCenterRow(int r) { return row(TP->FixCenter, r, TP->NTensor); }
};

TEST_F(FixCenter, CombinationsOfCurrentsWithFixedPointTheories) {
    product({2, 2}, {{J, J}});
    computeFixCenter(TP);
    ASSERT_EQ(fixCenterRows(), 4);
    const std::vector<V> rows{{0, 0}, {0, J}, {J, 0}, {J, J}};
    for (int r = 0; r < 4; r++) {
        EXPECT_EQ(fixCenterRow(r), rows[r]);
        EXPECT_EQ(TP->FixCenterOrders[r], r == 0 ? 1 : 2);
    }
    EXPECT_EQ(FixCenterProduct(1, 2, TP), 3);
    EXPECT_EQ(FixCenterProduct(3, 3, TP), 0);
    // The chiral algebra is {0, (J,J)}.
    EXPECT_EQ(FixCenterChiralAlgebraProduct(TP, 1, 1), 2);
    EXPECT_EQ(getOffset(TP, 1, 2), 1);
    EXPECT_EQ(getOffset(TP, 1, 1), 0);
    int reps[2];
    getAllReps(TP, 1, V{0, 1}.data(), reps, 2);
    EXPECT_EQ(V(reps, reps + 2), (V{1, 2}));
    EXPECT_EQ(getOverlap(TP, 3, 3, nullptr, nullptr, 0, 0), 3);
    EXPECT_EQ(getOverlap(TP, 1, 2, V{0}.data(), V{0}.data(), 1, 1), -1);
    EXPECT_EQ(getOverlap(TP, 1, 2, V{0, 1}.data(), V{0}.data(), 2, 1), 2);
    {
        Captured cap;
        EXPECT_EQ(getOffset(TP, 1, 3), -1);
        EXPECT_TRUE(has(cap.err(), "Offset not found"));
    }
    {
        Captured cap;
        EXPECT_EQ(findFixCenterElement(TP, V{s, 0}.data()), -1);
        EXPECT_TRUE(has(cap.err(), "Fix Center element not found"));
    }
    // Factors without fixed points leave the identity alone.
    product({1, 1, 1, 1}, {{J, J, J, J}});
    computeFixCenter(TP);
    ASSERT_EQ(fixCenterRows(), 1);
    EXPECT_EQ(fixCenterRow(0), (V{0, 0, 0, 0}));
    EXPECT_EQ(TP->FixCenterOrders[0], 1);
}

// The twist of two currents on a field sums the factors' twists of representatives that fix the
// field; a current whose orbit holds none gives the neutral 0 after the report, not a sum over
// labels some earlier call left behind.
TEST_F(FixCenter, TwistsOfCurrentsOnAField) {
    product({2, 2}, {});
    const int ss = field({s, s}), s0 = field({s, 0}), J0 = field({J, 0}), JJ = field({J, J});
    const int zeroJ = field({0, J});
    ASSERT_LT(J0, TP->TensorSimpleCurrentOrder);
    EXPECT_EQ(CT_getCurrentTwist(TP, ss, J0, J0), 2);
    EXPECT_EQ(CT_getCurrentTwist(TP, ss, JJ, JJ), 0);
    EXPECT_EQ(CT_getCurrentTwist(TP, 0, 0, 0), 0);
    EXPECT_EQ(CT_getCurrentTwist_ZNX_VERSION(TP, ss, J0, J0), 2);
    // The second half of the work array now holds (J,0); on (s,0) it would give i^2.
    EXPECT_EQ(CT_getCurrentTwist(TP, ss, JJ, J0), 2);
    {
        Captured cap;
        EXPECT_EQ(CT_getCurrentTwist(TP, s0, J0, zeroJ), 0);
        EXPECT_TRUE(has(cap.err(), "No untwisted stabilizer representative found")) << cap.err();
    }
    {
        Captured cap;
        EXPECT_EQ(CT_getCurrentTwist_ZNX_VERSION(TP, s0, J0, zeroJ), 0);
        EXPECT_TRUE(has(cap.err(), "No orbit representative fixes field")) << cap.err();
    }
    EXPECT_EQ(cosetTwist(TP, V{s, s}.data(), V{J, 0}.data(), V{J, J}.data()), 2);
    EXPECT_EQ(TensorFixedPointField(TP, V{J, J}.data(), V{s, s}.data()), 1);
    EXPECT_EQ(TensorFixedPointField(TP, V{J, J}.data(), V{s, 0}.data()), 0);
    EXPECT_EQ(TensorFixedPointCheck(TP, J0), 1);
    // In su(4)_1 the current of weight 1/2 fixes no field: it exchanges the 4 and the 4-bar.
    product({2, 2}, {{J, J}});
    EXPECT_EQ(TensorFixedPointCheck(TP, 1), 0);
    EXPECT_EQ(findStabilizerElement(TP, 2, 1), 1);
    EXPECT_EQ(findStabilizerElement(TP, 0, 1), -1);
}

// In su(4)_1 the twist of (J,J) on the 4 is i^2 + i^2: untwisted, so (0,J) has no representative
// untwisted against the stabilizer.
TEST_F(FixCenter, UntwistedStabilizerRepresentatives) {
    product({2, 2}, {{J, J}});
    V fld(2);
    EXPECT_EQ(getUntwistedStabilizerRepresentative(TP, fld.data(), 2, 0), 1);
    EXPECT_EQ(fld, (V{0, 0}));
    Captured cap;
    EXPECT_EQ(getUntwistedStabilizerRepresentative(TP, fld.data(), 2, 1), 0);
    EXPECT_TRUE(has(cap.err(), "No untwisted stabilizer representative found"));
}

TEST_F(FixCenter, FullDataOfAFieldFixedOnlyByTheIdentity) {
    product({2, 2}, {{J, J}});
    computeFixCenter(TP);
    V elements{0}, ext{0};
    FullFPType* r = getFullFP(TP, TensorField(TP, 0), elements.data(), ext.data(), 1, 1,
                              TP->Stabilizers[0], TP->SimpleCurrents, nullptr);
    ASSERT_NE(r, nullptr);
    EXPECT_EQ(r->dg->Order, 1);
    EXPECT_EQ(r->fcenter->Order, 1);
    EXPECT_EQ(r->representatives[0], 0);
    EXPECT_EQ(r->PhiDen, 1);
    EXPECT_EQ(r->PhiNum[0], 0);
    rat D{5, 7};
    Cocycle(r, 0, 0, &D);
    EXPECT_EQ(D.num, 0);
    EXPECT_EQ(D.den, 1);
}

// (A1_4)^2 extended by (J,J): the triplet pair (2,2) is fixed by (J,J), untwisted, and by the
// simple current (J,0) of the extended product; all four fix-center elements fix it.
TEST_F(FixCenter, FullDataOfAFieldFixedByAnExtensionCurrent) {
    product({4, 4}, {{J, J}});
    computeFixCenter(TP);
    const int triplet = spin(TP->TensorFactors[0], 2);
    const int f = field({triplet, triplet});
    ASSERT_EQ(TP->Stabilizers[f]->dg->Order, 2);
    V ext{0};
    for (int c = 1; c < TP->TensorSimpleCurrentOrder; c++)
        if (simpleCurrentAction(c, f, TP) == f)
            ext.push_back(c);
    ASSERT_EQ(ext.size(), 2u);
    V elements{0, 1, 2, 3};
    FullFPType* r = getFullFP(TP, TensorField(TP, f), elements.data(), ext.data(), 4, 2,
                              TP->Stabilizers[f], TP->SimpleCurrents, nullptr);
    ASSERT_NE(r, nullptr);
    EXPECT_EQ(r->dg->Order, 2);
    EXPECT_EQ(r->fcenter->Order, 4);
    EXPECT_EQ(r->representatives[0], 0);
    // The current's representative lies in its chiral-algebra orbit {(J,0), (0,J)}.
    const int e = r->ext_currents[0] == 0 ? 1 : 0;
    const V rep = fixCenterRow(r->representatives[e]);
    EXPECT_TRUE(rep == (V{J, 0}) || rep == (V{0, J})) << rep[0] << "," << rep[1];
    EXPECT_EQ(r->PhiDen, 4);
    // Phi is bilinear: it vanishes on the identity of either group.
    const int U = TP->Stabilizers[f]->dg->Order;
    for (int x = 0; x < U; x++)
        EXPECT_EQ(r->PhiNum[(1 - e) * U + x], 0);
    for (int c = 0; c < 2; c++)
        EXPECT_EQ(r->PhiNum[c * U], 0);
    EXPECT_EQ(findFullFP(TP, TensorField(TP, f), elements.data(), TP->Stabilizers[f], 4), r);
    EXPECT_EQ(getFullFP(TP, TensorField(TP, f), elements.data(), ext.data(), 4, 2,
                        TP->Stabilizers[f], TP->SimpleCurrents, nullptr),
              r);
    {
        Captured cap;
        EXPECT_EQ(findFullFP(TP, TensorField(TP, f), elements.data(), TP->Stabilizers[0], 4),
                  nullptr);
        EXPECT_TRUE(has(cap.err(), "Same elements, different stabilizer"));
    }
    {
        Captured cap;
        rat D;
        Cocycle(r, 1, 5, &D);
        EXPECT_EQ(D.num, 0);
        EXPECT_TRUE(has(cap.err(), "Unidentified fix point label"));
    }
    {
        Captured cap;
        printFullFP(TP, r);
        EXPECT_TRUE(has(cap.out(), "Structure of extended currents:\n")) << cap.out();
        EXPECT_TRUE(has(cap.out(), "Structure of all fixed point currents:\n"));
        EXPECT_TRUE(has(cap.out(), "All currents:   (")) << cap.out();
        EXPECT_TRUE(has(cap.out(), "Twists of generators  (0,0)\n")) << cap.out();
    }
    freeFullFP();
    EXPECT_EQ(findFullFP(TP, TensorField(TP, f), elements.data(), TP->Stabilizers[f], 4), nullptr);
}

// Z_4: the character of e times i^j at element j is the character of e + 1.
TEST_F(FixCenter, CharacterTimesTwist) {
    int orders4[] = {4};
    Discrete_Group* z4 = DG_find(orders4, 1);
    const V zero(4, 0), step{0, 1, 2, 3};
    for (int e = 0; e < 4; e++) {
        EXPECT_EQ(CharacterTimesTwist(z4, e, zero.data()), e);
        EXPECT_EQ(CharacterTimesTwist(z4, e, step.data()), (e + 1) % 4);
    }
    int orders22[] = {2, 2};
    Discrete_Group* z22 = DG_find(orders22, 2);
    for (int e = 0; e < 4; e++)
        EXPECT_EQ(CharacterTimesTwist(z22, e, zero.data()), e);
    // Z_2 x Z_2 has no character with a quarter phase.
    Captured cap;
    EXPECT_EQ(CharacterTimesTwist(z22, 0, V{0, 1, 0, 0}.data()), -1);
    EXPECT_TRUE(has(cap.err(), "Character not found"));
}

// Shifts count with the coset sign; a combination without fixed points has none.
TEST_F(FixCenter, TotalShiftOfACombination) {
    product({4, 4}, {}, {0, 1});
    const int m = SM_getFCFTshift(TP->TensorFactors[0], J);
    ASSERT_NE(m, 0);
    V labels(2, -9);
    EXPECT_EQ(TensorFixedPointLabels(TP, V{J, 0}.data(), labels.data()), 0);
    EXPECT_EQ(labels, (V{1, 0}));
    EXPECT_EQ(getTotalFCFTshift(TP, V{0, 0}.data()), 0);
    EXPECT_EQ(getTotalFCFTshift(TP, V{J, 0}.data()), m);
    EXPECT_EQ(getTotalFCFTshift(TP, V{0, J}.data()), -m);
    EXPECT_EQ(getTotalFCFTshift(TP, V{J, J}.data()), 0);
    product({1}, {});
    EXPECT_EQ(TensorFixedPointLabels(TP, V{J}.data(), nullptr), -1);
    Captured cap;
    EXPECT_EQ(getTotalFCFTshift(TP, V{J}.data()), 0);
    EXPECT_TRUE(has(cap.err(), "Unexpected freely acting current"));
}

} // namespace
