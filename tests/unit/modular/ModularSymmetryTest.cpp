// Symmetries of a tensor product through the facade: their number and their action on the simple
// currents, the simple-current invariants counted once per class of them, and the exchange of two
// identical factors on all fields, completed by fusion.
//
// (A1_4)^n: every subgroup of the center Z2^n lies in the effective center (the currents have
// weight 1 or 2), and the X matrices of a subgroup of rank r are its 2^(r(r-1)/2) discrete
// torsions. n = 2: 5 subgroups, 1 + 3 + 2 = 6 invariants; under the exchange of the factors the
// two subgroups {(J,0)} and {(0,J)} form one class: 5. n = 3: 16 subgroups, 1 + 7 + 7*2 + 8 = 30
// invariants; under S3 the classes of subgroups are those of binary codes of length 3 (8), with
// the torsions of each class counted up to the symmetries that fix it: 14.
#include "InvariantsTestHelpers.h"
#include "ModularTestHelpers.h"
#include "ProductTestHelpers.h"

#include "base/Parameters.h"
#include "modular/Invariants.h"
#include "modular/Modular.h"
#include "tensor/Coset.h"
#include "tensor/TensorTestHelpers.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

namespace {

using invtest::outputOf;
using invtest::parameter;
using V = std::vector<int>;

class ProductSymmetries : public invtest::InvariantsTest {
protected:
    void SetUp() override {
        invtest::registerParameters();
        TP = producttest::startProductTest();
    }
    void TearDown() override {
        parameter("Reject permutations") = 1;
        producttest::withdrawProduct(TP);
        InvariantsTest::TearDown();
    }
    // A1 factors (rank 1) at these levels with the currents, computed and made current with an
    // empty invariant store, as "compute spectrum" leaves them.
    void use(const V& levels, const std::vector<V>& currents = {}) {
        resetSelectionCriteria();
        resetAlgebraRequirements();
        setLoopCommand(nullptr);
        setSubgroupStart(-1, -1);
        resetInvariantStore();
        resetCoset(TP);
        for (int k : levels)
            addTensorFactor(TP, SM_getData(1, 1, k), 0);
        for (V c : currents)
            ASSERT_EQ(addNewCurrent(TP, c.data()), 0);
        outputOf([&] { ASSERT_EQ(computeTensorSpectrum(TP), 0); });
        producttest::makeCurrent(TP);
        storeBulkInvariant(nullptr, *getCurrentBulk(), 1, 0);
    }
    static int scan() {
        int* map = nullptr;
        int total = 0;
        outputOf([&] {
            Discrete_Group* center = getCenter(&map);
            setMIPFSelection(nullptr);
            total = ComputeAllSimpleCurrentInvariants(center, map);
        });
        return total;
    }
    // The field whose labels are these; -1 when none.
    int field(const V& labels) {
        for (int f = 0; f < getTotalPrimaries(); f++)
            if (std::equal(labels.begin(), labels.end(), TensorField(TP, f)))
                return f;
        return -1;
    }
    TensorProduct* TP = nullptr;
};

// su(4)_1 from A1_2 x A1_2: the identity and the exchange, which fixes both simple currents.
TEST_F(ProductSymmetries, TheFacadeAnswersForTheProduct) {
    use({2, 2}, {{1, 1}});
    int n = 0;
    outputOf([&] { n = MOD_TotalOuterAutomorphisms(); });
    ASSERT_EQ(n, 2);
    EXPECT_EQ(MOD_getCurrentOuterAutomorphisms()->Nfill, 2);
    EXPECT_EQ(MOD_getCurrentPermutation(1, 1), 1);
    EXPECT_EQ(MOD_getCurrentPermutation(2, 1), -1);
    // (A1_4)^3: S3 permutes the currents (J,0,0), (0,J,0), (0,0,J) like the factors.
    use({4, 4, 4});
    outputOf([&] { n = MOD_TotalOuterAutomorphisms(); });
    ASSERT_EQ(n, 6);
    V single{field({1, 0, 0}), field({0, 1, 0}), field({0, 0, 1})};
    std::sort(single.begin(), single.end());
    for (int s = 0; s < 6; s++) {
        V images;
        for (int c : single)
            images.push_back(MOD_getCurrentPermutation(s, c));
        std::sort(images.begin(), images.end());
        EXPECT_EQ(images, single) << "a permutation of the three, symmetry " << s;
        EXPECT_EQ(MOD_getCurrentPermutation(s, field({1, 1, 1})), field({1, 1, 1}));
    }
}

TEST_F(ProductSymmetries, SimpleCurrentInvariantsOncePerClass) {
    struct Case {
        V levels;
        int reduced, all;
    } cases[] = {{{4, 4}, 5, 6}, {{4, 4, 4}, 14, 30}};
    for (const Case& c : cases) {
        use(c.levels);
        EXPECT_EQ(scan(), c.reduced) << c.levels.size();
        parameter("Reject permutations") = 0;
        EXPECT_EQ(scan(), c.all) << c.levels.size();
        parameter("Reject permutations") = 1;
    }
}

// su(4)_1: the exchange fixes the vacuum and the 6 and swaps the 4 and the 4-bar (it is an
// improper rotation of so(6)), which the labels cannot tell apart: a hint resolves them.
TEST_F(ProductSymmetries, ExchangeOnAllFields) {
    use({2, 2}, {{1, 1}});
    std::string out;
    const int* images = nullptr;
    out = outputOf([&] { images = CloseTensorPermutations(TP, 0, 1, 0, nullptr, nullptr); }).first;
    ASSERT_NE(images, nullptr);
    EXPECT_EQ(V(images, images + 4), (V{0, 1, -2, -2}));
    EXPECT_TRUE(tensortest::has(out, "0 <==> 0\n1 <==> 1\nPermutation 2 not resolved\n"
                                     "Permutation 3 not resolved\n"))
        << out;
    const int from[] = {2}, to[] = {3};
    out = outputOf([&] { images = CloseTensorPermutations(TP, 1, 0, 1, from, to); }).first;
    ASSERT_NE(images, nullptr);
    EXPECT_EQ(V(images, images + 4), (V{0, 1, 3, 2}));
    EXPECT_TRUE(tensortest::has(out, "0 <==> 0\n1 <==> 1\n2 <==> 3\n3 <==> 2\n")) << out;
    EXPECT_EQ(CloseTensorPermutations(nullptr, 0, 0, 0, nullptr, nullptr), images)
        << "the last run's images";
    // The vacuum goes to itself, not to the 6.
    const int wrong1[] = {0}, wrong2[] = {1};
    const auto [printed, reports] =
        outputOf([&] { images = CloseTensorPermutations(TP, 0, 1, 1, wrong1, wrong2); });
    EXPECT_EQ(images, nullptr);
    EXPECT_TRUE(tensortest::has(reports + printed, "Incorrect degeneracy resolution"));
    EXPECT_FALSE(tensortest::has(printed, "<==>")) << "no table";
}

// su(4)_1 x su(2)_2 (fields 4 x 3): the hint for the 4 and the 4-bar with the su(2) vacuum
// fixes, by fusion with the su(2) doublet and then the triplet, the pairs with these too.
TEST_F(ProductSymmetries, FusionCompletesTheResolvedFields) {
    use({2, 2, 2}, {{1, 1, 0}});
    ASSERT_EQ(getTotalPrimaries(), 12);
    V resolved[3]; // per su(2) label, the two resolved fields
    for (int f = 0; f < 12; f++)
        if (StabilizerOrder(TP, f) == 2)
            resolved[TensorField(TP, f)[2]].push_back(f);
    for (const V& pair : resolved)
        ASSERT_EQ(pair.size(), 2u);
    const int from[] = {resolved[0][0]}, to[] = {resolved[0][1]};
    const int* images = nullptr;
    const std::string out =
        outputOf([&] { images = CloseTensorPermutations(TP, 0, 1, 1, from, to); }).first;
    ASSERT_NE(images, nullptr);
    for (const V& pair : resolved) {
        EXPECT_EQ(images[pair[0]], pair[1]) << out;
        EXPECT_EQ(images[pair[1]], pair[0]);
    }
    for (int f = 0; f < 12; f++)
        EXPECT_EQ(images[images[f]], f) << "an involution";
    EXPECT_TRUE(tensortest::has(out, "Added ")) << out;
    EXPECT_FALSE(tensortest::has(out, "not resolved")) << out;
}

} // namespace
