// Symmetries of tensor products. Without currents every pair of a permutation of identical
// factors and a choice of outer automorphisms is a symmetry, so their number is the product of
// the factorials of the classes of identical factors and of the automorphism counts (su(2): 1,
// su(3): 2 with conjugation, so(8): 6 with triality), with one conjugation left out when a complex
// factor has just that one. With currents only the symmetries that keep the chiral algebra
// remain. A symmetry acts on the simple currents by moving the labels of their fields.
#include "TensorTestHelpers.h"

#include "numeric/Sorting.h"
#include "tensor/Coset.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

using namespace tensortest;

namespace {

using V = std::vector<int>;

class PermutationsTest : public TensorTest {
protected:
    void TearDown() override {
        setIntPar("Maxperm", 100000);
        setIntPar("Maxcurrent", 1000);
        setIgnoreOuterAutomorphisms(0);
        TensorTest::TearDown();
    }
    // Factors as (type, rank, level, 1 for a denominator); currents as label rows.
    void make(const std::vector<V>& factors, const std::vector<V>& currents = {}) {
        resetCoset(TP);
        for (const V& f : factors)
            addTensorFactor(TP, block(f[0], f[1], f[2]), f.size() > 3 ? f[3] : 0);
        for (V c : currents)
            ASSERT_EQ(addNewCurrent(TP, c.data()), 0);
        Captured quiet;
        ASSERT_EQ(computeTensorSpectrum(TP), 0);
    }
    int symmetries() {
        Captured quiet;
        return CT_TotalOuterAutomorphisms(TP);
    }
    // The field whose row holds these labels (any fixed-point label); -1 when none.
    int fieldWithLabels(const int* labels) {
        for (int f = 0; f < TP->TensorSpectrum->Nfill; f++)
            if (std::equal(labels, labels + TP->NTensor, TensorField(TP, f)))
                return f;
        return -1;
    }
};

TEST_F(PermutationsTest, CountsWithoutCurrents) {
    struct Case {
        std::vector<V> factors;
        int permutations, outer;
    } cases[] = {
        {{{1, 1, 4}, {1, 2, 1}}, 1, 1},                       // no identical factors; su(3) alone
        {{{1, 1, 4}, {1, 1, 4}, {1, 1, 4}}, 6, 1},            // 3!
        {{{1, 1, 4}, {1, 1, 4, 1}}, 1, 1},                    // numerator and denominator
        {{{1, 2, 1}, {1, 2, 1}}, 2, 2},                       // conjugation once, not twice
        {{{4, 4, 1}, {4, 4, 1}}, 2, 36},                      // triality in both factors
        {{{1, 1, 2}, {1, 2, 1}, {1, 1, 2}, {1, 2, 1}}, 4, 2}, // two classes of two
    };
    for (const Case& c : cases) {
        make(c.factors);
        const int total = symmetries();
        EXPECT_EQ(TP->TensorPermutations->Nfill, c.permutations) << getTensorCode(TP);
        EXPECT_EQ(TP->TensorOuterAutomorphisms->Nfill, c.outer) << getTensorCode(TP);
        EXPECT_EQ(total, c.permutations * c.outer) << getTensorCode(TP);
        EXPECT_EQ(CT_getTotalOuterAutomorphismCount(TP), total);
    }
}

TEST_F(PermutationsTest, PermutationsKeepTheirClassesAndStartWithTheIdentity) {
    make({{1, 1, 2}, {1, 2, 1}, {1, 1, 2}, {1, 1, 2}});
    symmetries();
    VectorSpace* P = TP->TensorPermutations;
    ASSERT_EQ(P->Nfill, 6);
    EXPECT_EQ(row(P, 0, 4), (V{0, 1, 2, 3}));
    std::vector<V> rows;
    for (int r = 0; r < P->Nfill; r++) {
        V p = row(P, r, 4);
        EXPECT_EQ(p[1], 1) << "su(3) stays";
        rows.push_back(p);
    }
    std::sort(rows.begin(), rows.end());
    EXPECT_EQ(std::unique(rows.begin(), rows.end()), rows.end());
}

// (A1_4)^n extended by (J,J,0,...): the permutations that keep the pair {0,1}, 2 (n-2)!. For
// n = 5 there are 120 permutations, past the quick test.
TEST_F(PermutationsTest, OnlyThoseKeepingTheChiralAlgebra) {
    make({{1, 1, 4}, {1, 1, 4}, {1, 1, 4}}, {{1, 1, 0}});
    EXPECT_EQ(symmetries(), 2);
    make({{1, 1, 4}, {1, 1, 4}, {1, 1, 4}, {1, 1, 4}, {1, 1, 4}}, {{1, 1, 0, 0, 0}});
    EXPECT_EQ(symmetries(), 12);
    // su(3)_1^3 extended by (J,J,J): conjugating some factors but not all breaks it, and the
    // first factor is never conjugated: the six permutations remain.
    make({{1, 2, 1}, {1, 2, 1}, {1, 2, 1}}, {{1, 1, 1}});
    EXPECT_EQ(symmetries(), 6);
    EXPECT_EQ(TP->TensorOuterAutomorphisms->Nfill, 4);
}

TEST_F(PermutationsTest, IgnoringOuterAutomorphisms) {
    setIgnoreOuterAutomorphisms(1);
    make({{4, 4, 1}, {4, 4, 1}});
    EXPECT_EQ(symmetries(), 2);
    EXPECT_EQ(TP->TensorOuterAutomorphisms->Nfill, 1);
}

// The image of a current composed from the images of the generators is the field of its moved
// labels.
TEST_F(PermutationsTest, CurrentImagesMoveTheLabels) {
    for (const std::vector<V>& factors :
         {std::vector<V>{{1, 1, 4}, {1, 1, 4}, {1, 1, 4}}, std::vector<V>{{1, 2, 1}, {1, 2, 1}},
          std::vector<V>{{4, 4, 1}, {1, 1, 2}, {4, 4, 1}}}) {
        make(factors);
        const int n = symmetries();
        const int N = TP->NTensor;
        const VectorSpace* table = CT_getCurrentOuterAutomorphisms(TP);
        ASSERT_EQ(table->Nfill, n);
        for (int s = 0; s < n; s++) {
            const int* pair = TP->TensorOuterPerm->Space + s * TP->TensorOuterPerm->rowsize;
            V choice = row(TP->TensorOuterAutomorphisms, pair[0], N);
            V perm = row(TP->TensorPermutations, pair[1], N);
            for (int c = 0; c < TP->TensorSimpleCurrentOrder; c++) {
                const int* labels = TensorField(TP, c);
                V moved(N);
                for (int k = 0; k < N; k++) {
                    const int from = perm[k];
                    const VectorSpace* autos = getTensorFactor(TP, from)->CurrentOuterAutomorphisms;
                    moved[k] = autos->Space[choice[from] * autos->rowsize + labels[from]];
                }
                const int expected = fieldWithLabels(moved.data());
                EXPECT_EQ(CT_getCurrentPermutation(TP, s, c), expected) << s << "," << c;
                EXPECT_EQ(table->Space[s * table->rowsize + c], expected);
            }
        }
    }
}

// With nothing cached, and with room for only some currents, every image is still right.
TEST_F(PermutationsTest, LimitsOfTheCache) {
    make({{1, 1, 4}, {1, 1, 4}, {1, 1, 4}});
    const int n = symmetries();
    std::vector<V> images(n, V(8));
    for (int s = 0; s < n; s++)
        for (int c = 0; c < 8; c++)
            images[s][c] = CT_getCurrentPermutation(TP, s, c);
    for (int maxperm : {0, 2}) {
        setIntPar("Maxperm", maxperm);
        setIntPar("Maxcurrent", maxperm);
        Captured cap;
        CT_getCurrentPermutation(TP, -1, 0);
        EXPECT_TRUE(has(cap.err() + cap.out(),
                        "Only " + std::to_string(maxperm) + " permutations are stored"));
        EXPECT_TRUE(has(cap.err() + cap.out(),
                        "Permutations stored for only " + std::to_string(maxperm) + " (out of 8)"));
        EXPECT_EQ(TP->CurrentPermutations->Nfill, maxperm);
        for (int round = 0; round < 2; round++)
            for (int s = 0; s < n; s++)
                for (int c = 0; c < 8; c++)
                    EXPECT_EQ(CT_getCurrentPermutation(TP, s, c), images[s][c]);
    }
    EXPECT_EQ(CT_getCurrentPermutation(TP, n, 1), -1) << "no such symmetry";
    EXPECT_EQ(CT_getCurrentPermutation(TP, 0, 8), -1) << "no such current";
}

// The extension numbering counts every pair, outer * Nperm + perm; its cache is separate and
// preparing it leaves the symmetry numbers' images right.
TEST_F(PermutationsTest, ExtensionNumbering) {
    make({{1, 2, 1}, {1, 2, 1}});
    const int n = symmetries();
    V before;
    for (int s = 0; s < n; s++)
        for (int c = 0; c < 9; c++)
            before.push_back(CT_getCurrentPermutation(TP, s, c));
    {
        Captured cap;
        EXPECT_EQ(CT_getIntegerSpinPermutations(TP, nullptr), nullptr);
        EXPECT_TRUE(has(cap.out(), "Permutations: 2; Outer automorphisms: 2\n")) << cap.out();
    }
    ASSERT_EQ(CT_getTotalOuterAutomorphismCount(TP), 4);
    CT_getCurrentPermutationForExtension(TP, -1, 9);
    // Pair 3: conjugation of the second factor, then the exchange. The current (1,0) goes to
    // (0,1) and (0,1) to (2,0).
    const V c10{1, 0}, c01{0, 1}, c20{2, 0};
    EXPECT_EQ(CT_getCurrentPermutationForExtension(TP, 3, fieldWithLabels(c10.data())),
              fieldWithLabels(c01.data()));
    EXPECT_EQ(CT_getCurrentPermutationForExtension(TP, 3, fieldWithLabels(c01.data())),
              fieldWithLabels(c20.data()));
    V after;
    for (int s = 0; s < n; s++)
        for (int c = 0; c < 9; c++)
            after.push_back(CT_getCurrentPermutation(TP, s, c));
    EXPECT_EQ(after, before);
}

// Every reset of the product or its currents, and every new spectrum, drops the symmetries.
TEST_F(PermutationsTest, ResetsForgetTheSymmetries) {
    make({{1, 1, 4}, {1, 1, 4}});
    EXPECT_EQ(symmetries(), 2);
    V J{1, 1};
    addNewCurrent(TP, J.data());
    EXPECT_EQ(TP->PermutationsAvailable, 0);
    EXPECT_EQ(CT_getCurrentPermutation(TP, 0, 0), -1) << "not for a spectrum not computed";
    EXPECT_EQ(CT_getCurrentOuterAutomorphisms(TP)->Nfill, 0) << "stale rows are not shown";
    {
        Captured quiet;
        computeTensorSpectrum(TP);
    }
    EXPECT_EQ(symmetries(), 2);
    resetCurrents(TP);
    EXPECT_EQ(TP->PermutationsAvailable, 0);
}

// su(4)_1 from A1_2 x A1_2 extended by (J,J): 0 the vacuum, 1 the 6, 2 and 3 the 4 and 4-bar
// resolved from (s,s). The exchange fixes the 6 and cannot tell the 4 from the 4-bar by labels.
TEST_F(PermutationsTest, ExchangeOfTwoFactorsOnFields) {
    make({{1, 1, 2}, {1, 1, 2}}, {{1, 1}});
    ASSERT_EQ(TP->TensorSpectrum->Nfill, 4);
    EXPECT_EQ(ComputePermutation(TP, 0, 1, 1), 1);
    EXPECT_EQ(ComputePermutation(TP, 1, 0, 0), 0);
    Captured cap;
    EXPECT_EQ(ComputePermutation(TP, 0, 1, 2), -2);
    EXPECT_EQ(cap.out(), "Field 2 is resolved into 2 irreducible components\n");
}

TEST_F(PermutationsTest, ExchangesThatAreRefused) {
    make({{1, 1, 2}, {1, 1, 4}});
    struct Case {
        int a, b;
        const char* message;
    } cases[] = {{0, 1, "This is not a permutation"},
                 {0, 2, "Tensor factor 2 does not exist"},
                 {-1, 0, "Tensor factor -1 does not exist"}};
    for (const Case& c : cases) {
        Captured cap;
        EXPECT_EQ(ComputePermutation(TP, c.a, c.b, 1), -1);
        EXPECT_EQ(CloseTensorPermutations(TP, c.a, c.b, 0, nullptr, nullptr), nullptr);
        EXPECT_TRUE(has(cap.err() + cap.out(), c.message)) << cap.err() << cap.out();
    }
    for (int field : {-2, 15}) {
        Captured cap;
        EXPECT_EQ(ComputePermutation(TP, 0, 0, field), -1);
        EXPECT_TRUE(
            has(cap.err() + cap.out(), "Field " + std::to_string(field) + " does not exist"));
    }
    EXPECT_EQ(CloseTensorPermutations(nullptr, 0, 0, 0, nullptr, nullptr), nullptr)
        << "no earlier run left";
}

} // namespace
