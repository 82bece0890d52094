// The product record: factors with their signs, invalidation, weights, charges, central charge
// and dimensions. Weights of A1 at level k are h_j = j(j+1)/(k+2); the coset
// A1_1 x A1_1 / A1_2 is the Ising model (c = 1/2, weights 0, 1/16, 1/2).
#include "TensorTestHelpers.h"

#include "numeric/LargeInteger.h"
#include "tensor/Coset.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

using namespace tensortest;

namespace {

std::string text(const rat& r) {
    return std::to_string(r.num) + "/" + std::to_string(r.den);
}

TEST_F(TensorTest, EmptyProduct) {
    EXPECT_EQ(TP->NTensor, 0);
    EXPECT_EQ(cosetCentralCharge(TP), 0.0);
    rat h, Q;
    TensorRatWeight(TP, nullptr, &h);
    TensorRatCharge(TP, nullptr, nullptr, &Q);
    EXPECT_EQ(text(h), "0/1");
    EXPECT_EQ(text(Q), "0/1");
    EXPECT_EQ(TotalTensorDimension(TP, nullptr), 1);
    EXPECT_STREQ(lint_string(tensorDimension(TP, nullptr)), "1");
    EXPECT_EQ(CT_S_Symmetry(TP), 1);
    EXPECT_EQ(DimComputable(TP), 1);
    EXPECT_EQ(getExtensionNumber(TP), -1);
}

// Ising as A1_1 x A1_1 / A1_2: weights reduced modulo 1 once the product counts as a coset.
TEST_F(TensorTest, IsingCosetWeightsAndCentralCharge) {
    SpectrumData* k1 = block(1, 1, 1);
    SpectrumData* k2 = block(1, 1, 2);
    addFactors(TP, {k1, k1});
    addTensorFactor(TP, k2, 1);
    EXPECT_EQ(getGH(TP, 0), 0);
    EXPECT_EQ(getGH(TP, 2), 1);
    EXPECT_DOUBLE_EQ(cosetCentralCharge(TP), 0.5);
    TP->genuineCoset = 1;
    struct Case {
        std::vector<int> v;
        const char* exact;
        double unreduced;
    } cases[] = {
        {{0, 0, 0}, "0/1", 0.0},
        {{spin(k1, 1), 0, spin(k2, 1)}, "1/16", 0.25 - 0.1875},
        {{0, 0, spin(k2, 2)}, "1/2", -0.5},
        {{spin(k1, 1), spin(k1, 1), 0}, "1/2", 0.5},
    };
    for (const Case& c : cases) {
        rat h;
        TensorRatWeight(TP, c.v.data(), &h);
        EXPECT_EQ(text(h), c.exact);
        EXPECT_DOUBLE_EQ(tensorWeight(TP, c.v.data()), c.unreduced);
        EXPECT_DOUBLE_EQ(cosetWeight(TP, c.v.data()), static_cast<double>(h.num) / h.den);
    }
    // Before a spectrum pass has marked it a coset, the weight is the plain signed sum.
    TP->genuineCoset = 0;
    rat h;
    const std::vector<int> epsilon{0, 0, spin(k2, 2)};
    TensorRatWeight(TP, epsilon.data(), &h);
    EXPECT_EQ(text(h), "-1/2");
    EXPECT_DOUBLE_EQ(cosetWeight(TP, epsilon.data()), -0.5);
}

// The A1_1 current has charge 1/2 on the doublet; charges add with the factor signs and are not
// reduced modulo 1.
TEST_F(TensorTest, ChargesCountDenominatorFactorsNegatively) {
    SpectrumData* k1 = block(1, 1, 1);
    const int J = 1, d = spin(k1, 1);
    addFactors(TP, {k1, k1});
    const std::vector<int> current{J, J};
    rat Q;
    const std::vector<int> both{d, d}, one{d, 0};
    TensorRatCharge(TP, current.data(), both.data(), &Q);
    EXPECT_EQ(text(Q), "1/1");
    TensorRatCharge(TP, current.data(), one.data(), &Q);
    EXPECT_EQ(text(Q), "1/2");
    resetCoset(TP);
    addTensorFactor(TP, k1, 0);
    addTensorFactor(TP, k1, 1);
    TensorRatCharge(TP, current.data(), both.data(), &Q);
    EXPECT_EQ(text(Q), "0/1");
    TensorRatCharge(TP, current.data(), one.data(), &Q);
    EXPECT_EQ(text(Q), "1/2");
}

TEST_F(TensorTest, MissingFactorIsReported) {
    addTensorFactor(TP, block(1, 1, 1), 1);
    for (int k : {1, 7}) {
        Captured cap;
        EXPECT_EQ(getTensorFactor(TP, k), nullptr);
        EXPECT_EQ(getGH(TP, k), 0);
        EXPECT_TRUE(has(cap.err(), "Tensor factor " + std::to_string(k) + " does not exist"))
            << cap.err();
    }
    EXPECT_EQ(getTensorFactor(TP, 0), block(1, 1, 1));
}

// Every change of the factors drops what was derived from them, the current list included.
TEST_F(TensorTest, ChangingFactorsInvalidatesDerivedData) {
    auto markComputed = [this] {
        TP->InputDataChanged = 0;
        TP->DimAvailable = TP->InfoAvailable = TP->ConjugAvailable = 1;
        TP->PermutationsAvailable = TP->FCFTinitialized = 1;
    };
    auto expectInvalidated = [this](const char* step) {
        EXPECT_EQ(TP->InputDataChanged, 1) << step;
        EXPECT_EQ(TP->DimAvailable + TP->InfoAvailable + TP->ConjugAvailable +
                      TP->PermutationsAvailable + TP->FCFTinitialized,
                  0)
            << step;
    };
    SpectrumData* k2 = block(1, 1, 2);
    addFactors(TP, {k2, k2});
    const std::vector<int> J{1, 1};
    ASSERT_EQ(addNewCurrent(TP, J.data()), 0);
    EXPECT_EQ(checkForExtension(TP), 1);
    markComputed();
    addTensorFactor(TP, k2, 0);
    expectInvalidated("add");
    EXPECT_EQ(TP->Currents->Nfill, 0);
    EXPECT_EQ(checkForExtension(TP), 0);
    const std::vector<int> J3{1, 1, 0};
    ASSERT_EQ(addNewCurrent(TP, J3.data()), 0);
    EXPECT_EQ(checkForExtension(TP), 1);
    // A spectrum whose rows carry the removed factor's label must not stay valid.
    markComputed();
    removeTensorFactor(TP);
    expectInvalidated("remove");
    EXPECT_EQ(TP->NTensor, 2);
    EXPECT_EQ(TP->Currents->Nfill, 0);
    markComputed();
    assignExtensionNumber(TP, 4);
    resetCoset(TP);
    expectInvalidated("reset");
    EXPECT_EQ(TP->NTensor, 0);
    EXPECT_EQ(getExtensionNumber(TP), -1);
    EXPECT_NE(TP->Currents->Space, nullptr);
    removeTensorFactor(TP);
    EXPECT_EQ(TP->NTensor, 0);
}

TEST_F(TensorTest, LevelsOfTheCurrentProduct) {
    addFactors(TP, {block(1, 1, 3), block(4, 4, 1), block(1, 2, 5)});
    int n = 0;
    const int* levels = getCurrentLevels(&n);
    EXPECT_EQ(std::vector<int>(levels, levels + n), (std::vector<int>{3, 1, 5}));
}

// Dimensions by the Weyl formula: the A2 triplet and the A1 doublet give 3 x 2.
TEST_F(TensorTest, GroundStateDimensionOfRealFactors) {
    SpectrumData* a2 = block(1, 2, 1);
    SpectrumData* a1 = block(1, 1, 1);
    addFactors(TP, {a2, a1});
    EXPECT_EQ(DimComputable(TP), 1);
    const std::vector<int> v{1, 1};
    EXPECT_EQ(TotalTensorDimension(TP, v.data()), 6);
    EXPECT_STREQ(lint_string(tensorDimension(TP, v.data())), "6");
    TP->genuineCoset = 1;
    EXPECT_EQ(DimComputable(TP), 0);
}

TEST_F(TensorTest, DimensionsBeyondAnInteger) {
    lint* trillion = lint_alloc(5);
    string_to_lint(trillion, "1000000000000");
    const int stored = storePositiveLint(trillion);
    ASSERT_LT(stored, 0);
    struct Case {
        std::vector<int> dims;
        const char* exact;
        int total; // -1: too large for an int
    } cases[] = {
        {{1000, 1000, 1000}, "1000000000", 1000000000},
        {{1000, 1000, 1000, 3}, "3000000000", -1},
        {{3, 1000, 1000, 1000}, "3000000000", -1},
        {{50000, 50000}, "2500000000", -1},
        {{46341, 46341}, "2147488281", -1},
        {{46340, 46340}, "2147395600", 2147395600},
        {{7, stored, 2}, "14000000000000", -1},
        {{0, 50000, 50000}, "0", 0},
    };
    int n = 0;
    for (const Case& c : cases) {
        SCOPED_TRACE(c.exact);
        resetCoset(TP);
        for (int d : c.dims)
            addTensorFactor(TP, madeUpBlock("dims " + std::to_string(n++), {0, 0}, 1, {1, d}), 0);
        const std::vector<int> v(c.dims.size(), 1);
        EXPECT_STREQ(lint_string(tensorDimension(TP, v.data())), c.exact);
        Captured cap;
        EXPECT_EQ(TotalTensorDimension(TP, v.data()), c.total);
        EXPECT_EQ(has(cap.err(), "too large"), c.total < 0) << cap.err();
    }
}

TEST_F(TensorTest, DimensionsNeedEveryFactor) {
    addFactors(TP, {block(1, 1, 1), madeUpBlock("no dimensions", {0, 1}, 2)});
    EXPECT_EQ(DimComputable(TP), 0);
}

// (A1_2)^2 extended by J x J is su(4) at level 1: 3 + 3 currents and the nine states of the
// spin-1 x spin-1 ground state make dim su(4) = 15. Four A1_1 extended by (1,1,1,1) give so(8):
// 4 x 3 + 2^4 = 28.
TEST_F(TensorTest, SpinOneCountOfKnownExtensions) {
    SpectrumData* k2 = block(1, 1, 2);
    addFactors(TP, {k2, k2});
    const std::vector<int> JJ{1, 1};
    ASSERT_EQ(addNewCurrent(TP, JJ.data()), 0);
    computeChiralAlgebra(TP);
    EXPECT_EQ(SpinOneCount(TP), 15);
    resetCoset(TP);
    SpectrumData* k1 = block(1, 1, 1);
    addFactors(TP, {k1, k1, k1, k1});
    const std::vector<int> four{1, 1, 1, 1};
    ASSERT_EQ(addNewCurrent(TP, four.data()), 0);
    computeChiralAlgebra(TP);
    EXPECT_EQ(SpinOneCount(TP), 28);
    TP->genuineCoset = 1;
    Captured cap;
    EXPECT_EQ(SpinOneCount(TP), 0);
    EXPECT_TRUE(has(cap.err(), "Spin one multiplicity not available for coset CFT's")) << cap.err();
}

// Twelve factors: the buffer holds one entry for each factor after the first.
TEST_F(TensorTest, ChargeVectorHasAnEntryPerFactor) {
    const int N = 12;
    std::vector<int> spectrumRow;
    for (int k = 0; k < N; k++) {
        SpectrumData* sd = allocateSpectrumData(("charge fixture " + std::to_string(k)).c_str());
        sd->Nprimaries = 2;
        sd->RepSize = 3;
        SM_allocFieldInfo(sd, 0, 0);
        // Field 1 has the labels (l, q, s) = (k, 10 + k, 0).
        sd->ExtDynkin[3] = k;
        sd->ExtDynkin[4] = 10 + k;
        addTensorFactor(TP, sd, 0);
        spectrumRow.push_back(k % 2);
    }
    spectrumRow.push_back(0);
    storeSpectrum(TP, {spectrumRow});
    const int* q = CT_getChargeVector(0);
    std::vector<int> expected;
    for (int k = 1; k < N; k++)
        expected.push_back(k % 2 ? 10 + k : 0);
    EXPECT_EQ(std::vector<int>(q, q + N - 1), expected);
}

TEST_F(TensorTest, MasslessCountsOfTheCovariantLattice) {
    Branching B{};
    B.N_G = 2;
    TP->StringData.CovLatEmbedding = &B;
    const int cnt[] = {2, 3};
    count_massless(TP, cnt);
    count_massless(TP, cnt);
    EXPECT_EQ(TP->StringData.massless[0][0], 8);
    EXPECT_EQ(TP->StringData.massless[0][1], 12);
    EXPECT_EQ(TP->StringData.massless[1][1], 18);
    EXPECT_EQ(TP->StringData.massless[2][2], 0);
    TP->StringData = Heterotic{};
}

} // namespace
