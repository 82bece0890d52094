// The extensions of the current theory by integer-spin simple currents, the groups of currents
// they rest on, and the look-ups in the orbit data. The simple current of A1 at level k has weight
// k/4, so on (A1_4)^n every subgroup of Z2^n has integer spin: the subgroups are the binary
// linear codes of length n, and up to permutations of the factors the inequivalent codes.
#include "modular/ModularExtensions.h"

#include "ModularTestHelpers.h"
#include "ProductTestHelpers.h"
#include "base/Parameters.h"
#include "modular/Modular.h"
#include "numeric/Sorting.h"
#include "tensor/Coset.h"
#include "tensor/TensorTestHelpers.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <set>
#include <vector>

namespace {

using modulartest::useBlock;
using tensortest::Captured;
using V = std::vector<int>;

class Extensions : public testing::Test {
protected:
    void SetUp() override { TP = producttest::startProductTest(); }
    void TearDown() override {
        setIntPar("Super", 0);
        setRequireExtension(nullptr);
        producttest::withdrawProduct(TP);
        TensorChanged();
    }
    // Factors A1 at the given levels with the currents, as a new product. The symmetries of a
    // product need its full spectrum; the simple currents alone are enough for their groups.
    void useProduct(const V& levels, const std::vector<V>& currents = {}, bool full = true) {
        resetCoset(TP);
        for (int k : levels)
            addTensorFactor(TP, SM_getData(1, 1, k), 0);
        for (const V& c : currents)
            ASSERT_EQ(addNewCurrent(TP, c.data()), 0);
        ASSERT_EQ(full ? computeTensorSpectrum(TP) : computeSimpleCurrentTensorSpectrum(TP), 0);
        TensorChanged();
        producttest::makeCurrent(TP);
    }
    int collect() {
        Captured c;
        CollectExtensions();
        return TotalExtensions();
    }
    static V generators(int n) {
        const VectorSpace* list = getExtensions();
        const int* row = list->Space + static_cast<std::size_t>(n) * list->rowsize;
        V g;
        for (int k = 0; row[k] != -1; k++)
            g.push_back(row[k]);
        return g;
    }
    // The current whose only non-trivial factor label is in factor k.
    int singleFactorCurrent(int k) {
        for (int c = 1; c < CenterOrder(); c++) {
            const int* v = TensorField(TP, c);
            int nonzero = 0;
            for (int f = 0; f < TP->NTensor; f++)
                nonzero += v[f] != 0;
            if (nonzero == 1 && v[k] != 0)
                return c;
        }
        return -1;
    }
    TensorProduct* TP = nullptr;
};

int factorial(int n) {
    return n <= 1 ? 1 : n * factorial(n - 1);
}

// The inequivalent binary linear codes of length n under the n! permutations of the factors.
TEST_F(Extensions, BinaryCodesOfA1Level4Products) {
    struct Case {
        int n, classes;
    };
    for (const Case& c : {Case{2, 4}, Case{3, 8}, Case{4, 16}, Case{6, 68}}) {
        useProduct(V(static_cast<std::size_t>(c.n), 4));
        ASSERT_EQ(CenterOrder(), 1 << c.n);
        EXPECT_EQ(TotalExtensions(), -1);
        const int total = collect();
        EXPECT_EQ(MOD_TotalOuterAutomorphisms(), factorial(c.n));
        EXPECT_EQ(total, c.classes) << c.n;
        EXPECT_TRUE(generators(0).empty()) << "the trivial extension comes first";
        for (int e = 0; e < total; e++)
            EXPECT_LE(static_cast<int>(generators(e).size()), c.n);
    }
}

// Without symmetries every subgroup of Z2^n is listed: the Gaussian binomials summed. The levels
// 4, 8, 12, ... give currents of weight 1, 2, 3, ... and factors that no permutation exchanges.
TEST_F(Extensions, AllSubgroupsWithoutSymmetries) {
    struct Case {
        int n, subgroups;
    };
    for (const Case& c : {Case{2, 5}, Case{3, 16}, Case{4, 67}, Case{6, 2825}}) {
        V levels;
        for (int k = 1; k <= c.n; k++)
            levels.push_back(4 * k);
        useProduct(levels, {}, false);
        ASSERT_EQ(CenterOrder(), 1 << c.n);
        EXPECT_EQ(collect(), c.subgroups) << c.n;
    }
}

TEST_F(Extensions, TheListIsStaleAfterTheProductChanges) {
    useProduct({2, 2});
    EXPECT_EQ(TotalExtensions(), -1);
    EXPECT_EQ(collect(), 2);
    EXPECT_EQ(generators(1), V{3});
    CFTChanged(); // selecting an extension computes the theory anew; the list stays
    EXPECT_EQ(TotalExtensions(), 2);
    TensorChanged();
    EXPECT_EQ(TotalExtensions(), -1);
}

TEST_F(Extensions, RequiredCurrentsAndTheirReset) {
    useProduct({2, 2});
    int required[] = {3, -1};
    setRequireExtension(required);
    EXPECT_EQ(collect(), 1);
    EXPECT_EQ(generators(0), V{3});
    CFTChanged();
    TensorChanged();
    EXPECT_EQ(collect(), 2) << "a new theory forgets the requirement";
    setRequireExtension(required);
    resetS();
    TensorChanged();
    EXPECT_EQ(collect(), 2) << "so does a reset of S";
}

TEST_F(Extensions, AnExtendedProductIsRefused) {
    useProduct({2, 2}, {{1, 1}});
    Captured c;
    CollectExtensions();
    EXPECT_NE(c.err().find("Collect extensions only works for unexteded algebras"),
              std::string::npos);
    EXPECT_EQ(TotalExtensions(), -1);
}

TEST_F(Extensions, SelectingAddsTheCurrentsOfTheExtension) {
    useProduct({2, 2});
    ASSERT_EQ(collect(), 2);
    {
        Captured c;
        EXPECT_EQ(SelectExtension(2), 0);
        EXPECT_NE(c.err().find("Extension number 2 does not exist"), std::string::npos);
    }
    EXPECT_EQ(getExtensionNumber(TP), -1);
    EXPECT_EQ(SelectExtension(1), 1);
    ASSERT_EQ(TP->Currents->Nfill, 1);
    EXPECT_EQ(V(TP->Currents->Space, TP->Currents->Space + 2),
              V(TensorField(TP, 3), TensorField(TP, 3) + 2));
    EXPECT_EQ(MOD_getExtensionNumber(), 1);
}

// so(8) at level 2: v, s and c have weight 1; triality leaves three classes of the five
// subgroups of Z2 x Z2. su(3) at level 3: J has weight 1, so Z3 and the trivial group.
TEST_F(Extensions, BlocksReduceByTheirOuterAutomorphisms) {
    useBlock(4, 4, 2);
    EXPECT_EQ(collect(), 3);
    useBlock(1, 2, 3);
    EXPECT_EQ(TotalExtensions(), -1) << "a new block makes the list stale";
    EXPECT_EQ(collect(), 2);
}

// Nine Z2 factors need nine generators; the greedy basis starts with 0 since the closure holds it.
TEST_F(Extensions, NineIndependentCurrentsGiveABasisOfNine) {
    useProduct(V(9, 4), {}, false);
    V currents;
    for (int k = 0; k < 9; k++)
        currents.push_back(singleFactorCurrent(k));
    V closed = currents;
    const int* basis = MOD_closeAlgebra(closed);
    ASSERT_NE(basis, nullptr);
    EXPECT_EQ(closed.size(), 512u);
    ASSERT_EQ(basisSize(), 10);
    EXPECT_EQ(basis[0], 0);
    EXPECT_EQ(basis[10], -1);
    V nine(basis + 1, basis + 10);
    EXPECT_EQ(std::set<int>(nine.begin(), nine.end()).size(), 9u);
    MOD_closeAlgebra(nine);
    EXPECT_EQ(nine.size(), 512u) << "the basis generates the whole group";
}

TEST_F(Extensions, GreedyBasisOfZ2xZ2) {
    useProduct({4, 4});
    const V group{0, 1, 2, 3};
    const int* basis = MOD_findBasis(group);
    ASSERT_NE(basis, nullptr);
    EXPECT_EQ(V(basis, basis + 4), (V{0, 1, 2, -1}));
    V closure{3};
    V expected{3, 0};
    MOD_closeAlgebra(closure);
    EXPECT_EQ(closure, expected);
    std::vector<int> B;
    EXPECT_EQ(MOD_completeAlgebra(V{0, 1}, 2, B), 1);
    EXPECT_EQ(B, (V{0, 1, 2, 3}));
    EXPECT_EQ(MOD_completeAlgebra(V{0, 1}, 1, B), 0) << "nothing new";
}

// Lists that are no group: a negative entry, and the single current 1, which generates 0 too.
TEST_F(Extensions, BasisOfWhatIsNoGroupIsRefused) {
    useProduct({4, 4});
    struct Case {
        V list;
        const char* report;
    };
    for (const Case& c :
         {Case{{0, -1}, "Negative basis element"}, Case{{1}, "Algebra element not found"}}) {
        Captured cap;
        EXPECT_EQ(MOD_findBasis(c.list), nullptr);
        EXPECT_NE(cap.err().find(c.report), std::string::npos) << c.report;
        EXPECT_EQ(basisSize(), 0);
    }
}

// A current of weight 1/2 inside the closure stops the completion.
TEST_F(Extensions, CompletionStopsAtHalfIntegerSpin) {
    useProduct({2, 2});
    std::vector<int> B;
    EXPECT_EQ(MOD_completeAlgebra(V{0}, 1, B), 0);
    EXPECT_EQ(MOD_completeAlgebra(V{0}, 3, B), 1);
}

TEST_F(Extensions, ListingRefusesWhatIsNoIntegerSpinCurrent) {
    useProduct({2, 2});
    for (int bad : {-1, 4, 1}) {
        const V list{0, bad};
        Captured c;
        EXPECT_EQ(MOD_listPermutations(&list), 1) << bad;
        EXPECT_NE(c.err().find("is not a simple current of integer spin"), std::string::npos);
    }
    const V good{0, 3};
    Captured c;
    EXPECT_EQ(MOD_listPermutations(&good), 0);
    EXPECT_NE(c.out().find("basis  (0,3,-1,0,0,0,0,0,0,0)"), std::string::npos);
}

// A factor added after the spectrum leaves rows of the old factors: their currents are no
// currents of the product until it is computed again.
TEST_F(Extensions, CurrentsOfTheOldFactorsAreRefused) {
    useProduct({4, 4}, {}, false);
    EXPECT_EQ(integerSpinCurrent(3), 1);
    addTensorFactor(TP, SM_getData(1, 1, 2), 0);
    EXPECT_EQ(integerSpinCurrent(3), 0);
    V list{3};
    Captured c;
    EXPECT_EQ(MOD_closeAlgebra(list), nullptr);
    EXPECT_NE(c.err().find("Current 3 is not a simple current"), std::string::npos);
}

// su(4) at level 1: four currents forming Z4, with charges Q_{J^b}(J^a) = ab/4.
TEST_F(Extensions, OrbitLookUpsOfSu4Level1) {
    useBlock(1, 3, 1);
    {
        Captured c;
        EXPECT_EQ(FastSimpleFusion(1, 1), -1);
        EXPECT_NE(c.err().find("Orbit data not available (FastSimpleFusion)"), std::string::npos);
    }
    initOrbitData();
    for (int a = 0; a < 4; a++) {
        const int* q = getChargeVector(a);
        ASSERT_NE(q, nullptr);
        for (int b = 0; b < 4; b++) {
            EXPECT_EQ(FastSimpleFusion(a, b), (a + b) % 4);
            EXPECT_EQ(q[b], a * b % 4) << a << "," << b;
        }
    }
    EXPECT_EQ(FastSimpleFusion(2, 2), 0);
    double re, im;
    ChargeCorrectionFactor(1, 1, 1, 1, &re, &im); // k = 1 + 1
    EXPECT_NEAR(re, -1.0, 1e-12);
    EXPECT_NEAR(im, 0.0, 1e-12);
    ChargeCorrectionFactor(1, 1, 0, 1, &re, &im); // k = 0 + 1
    EXPECT_NEAR(re, 0.0, 1e-12);
    EXPECT_NEAR(im, 1.0, 1e-12);
    Captured c;
    EXPECT_EQ(getChargeVector(4), nullptr);
    EXPECT_NE(c.err().find("Label out of range: 4"), std::string::npos);
    EXPECT_EQ(computeOrbit(1), (V{0, 1, 2, 3}));
    EXPECT_EQ(findOrbitGenerator(3), 1);
    EXPECT_EQ(findOrbitGenerator(2), 2);
    EXPECT_EQ(findOrbitGenerator(0), 0);
}

} // namespace
