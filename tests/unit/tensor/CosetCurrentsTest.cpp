// Acceptance of simple-current combinations: integer weight (within 1e-7) and integer charge
// with every current already present. The A1 current at level k has weight k/4 and charge 1/2
// on the doublet at level 1.
#include "TensorTestHelpers.h"

#include "tensor/Coset.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

using namespace tensortest;

namespace {

// Two A1_1 currents: h = 1/4 + 1/4.
TEST_F(TensorTest, HalfIntegerWeightIsRefused) {
    SpectrumData* k1 = block(1, 1, 1);
    addFactors(TP, {k1, k1});
    const std::vector<int> J{1, 1};
    Captured cap;
    EXPECT_EQ(addNewCurrent(TP, J.data()), 1);
    EXPECT_TRUE(has(cap.out(), "Weight       0.5000000\n")) << cap.out();
    EXPECT_TRUE(has(cap.out(), "current  (1,1)\n")) << cap.out();
    EXPECT_TRUE(has(cap.err(), "Non-integer conformal weight")) << cap.err();
    EXPECT_EQ(TP->Currents->Nfill, 0);
}

// Eight A1_1 factors: four currents make weight 1; a second current sharing one factor with the
// first has mutual charge 1/2, one sharing two has charge 1.
TEST_F(TensorTest, LocalityWithEarlierCurrents) {
    SpectrumData* k1 = block(1, 1, 1);
    addFactors(TP, std::vector<SpectrumData*>(8, k1));
    struct Step {
        std::vector<int> J;
        int result;
        const char* message;
    } steps[] = {
        {{1, 1, 1, 1, 0, 0, 0, 0}, 0, ""},
        {{1, 0, 0, 0, 1, 1, 1, 0}, 1, "Non-integer charge w.r.t. previous current"},
        {{1, 1, 0, 0, 1, 1, 0, 0}, 0, ""},
        {{0, 0, 0, 0, 1, 1, 1, 1}, 0, ""},
        {{1, 1, 1, 0, 0, 0, 0, 1}, 1, "Non-integer charge w.r.t. previous current"},
        {{1, 1, 0, 0, 0, 0, 0, 0}, 1, "Non-integer conformal weight"},
    };
    for (const Step& s : steps) {
        Captured cap;
        EXPECT_EQ(addNewCurrent(TP, s.J.data()), s.result);
        if (*s.message)
            EXPECT_TRUE(has(cap.err(), s.message)) << cap.err();
        else
            EXPECT_EQ(cap.err(), "");
    }
    ASSERT_EQ(TP->Currents->Nfill, 3);
    EXPECT_EQ(row(TP->Currents, 1, 8), (std::vector<int>{1, 1, 0, 0, 1, 1, 0, 0}));
    EXPECT_EQ(getCurrentsEntry(TP, 2, 7), 1);
}

// In A1_1 x A1_1 / A1_2 the current (J, J, J) has weight 1/4 + 1/4 - 1/2 = 0: the field
// identification of the Ising coset. Without the denominator it would have weight 1/2.
TEST_F(TensorTest, CosetIdentificationCurrent) {
    SpectrumData* k1 = block(1, 1, 1);
    addFactors(TP, {k1, k1});
    addTensorFactor(TP, block(1, 1, 2), 1);
    const int J[] = {1, 1, 1}, numeratorOnly[] = {1, 1, 0};
    EXPECT_EQ(addNewCurrent(TP, J), 0);
    Captured cap;
    EXPECT_EQ(addNewCurrent(TP, numeratorOnly), 1);
    EXPECT_TRUE(has(cap.out(), "Weight       0.5000000\n")) << cap.out();
}

TEST_F(TensorTest, CurrentEnteredTwiceIsStoredOnce) {
    SpectrumData* k2 = block(1, 1, 2);
    addFactors(TP, {k2, k2});
    const std::vector<int> J{1, 1};
    ASSERT_EQ(addNewCurrent(TP, J.data()), 0);
    EXPECT_EQ(TP->InputDataChanged, 1);
    TP->InputDataChanged = 0;
    TP->DimAvailable = 1;
    Captured cap;
    EXPECT_EQ(addNewCurrent(TP, J.data()), 1);
    EXPECT_EQ(cap.err(), "");
    EXPECT_EQ(TP->Currents->Nfill, 1);
    EXPECT_EQ(TP->InputDataChanged, 0);
    EXPECT_EQ(TP->DimAvailable, 1);
}

// Weights 0.99999995 and 0.99999985 of a made-up block: only the first lies within 1e-7 of 1.
// In a coset a weight is taken modulo 1, which keeps a half-integer weight half-integer.
TEST_F(TensorTest, WeightToleranceAndCosets) {
    SpectrumData* sd = madeUpBlock("near one", {0, 19999999, 19999997, 50000000}, 20000000);
    addTensorFactor(TP, sd, 0);
    const int nearOne[] = {1}, tooFar[] = {2};
    Captured quiet;
    EXPECT_EQ(checkCurrent(TP, nearOne), 0);
    EXPECT_EQ(checkCurrent(TP, tooFar), 1);
    TP->genuineCoset = 1;
    const int twoAndAHalf[] = {3};
    EXPECT_EQ(checkCurrent(TP, twoAndAHalf), 1);
}

TEST_F(TensorTest, UpdateRemoveAndResetCurrents) {
    SpectrumData* k1 = block(1, 1, 1);
    addFactors(TP, std::vector<SpectrumData*>(4, k1));
    const std::vector<int> a{1, 1, 1, 1}, b{1, 1, 0, 0};
    ASSERT_EQ(addNewCurrent(TP, a.data()), 0);
    // b has weight 1/2 and is refused; the list stays as it was.
    {
        Captured quiet;
        EXPECT_EQ(updateCurrent(TP, 0, b.data()), 1);
    }
    ASSERT_EQ(TP->Currents->Nfill, 1);
    TP->InputDataChanged = 0;
    const std::vector<int> d{0, 0, 0, 0};
    EXPECT_EQ(updateCurrent(TP, 0, d.data()), 0);
    EXPECT_EQ(TP->InputDataChanged, 1);
    EXPECT_EQ(row(TP->Currents, 0, 4), d);
    ASSERT_EQ(addNewCurrent(TP, a.data()), 0);
    EXPECT_EQ(TP->Currents->Nfill, 2);
    TP->InputDataChanged = 0;
    EXPECT_EQ(removeCurrent(TP, 1), 0);
    EXPECT_EQ(TP->InputDataChanged, 1);
    EXPECT_EQ(removeCurrent(TP, 0), -1);
    ASSERT_EQ(addNewCurrent(TP, a.data()), 0);
    TP->InputDataChanged = 0;
    resetCurrents(TP);
    EXPECT_EQ(TP->Currents->Nfill, 0);
    EXPECT_EQ(TP->InputDataChanged, 1);
}

} // namespace
