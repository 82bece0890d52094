// The records and the store of bulk invariants on so(8) at level 1 (D4, four fields, all simple
// currents of weight 0, 1/2, 1/2, 1/2), where triality makes every permutation of the three
// non-trivial fields a modular invariant.
#include "InvariantsTestHelpers.h"

#include "modular/Invariants.h"
#include "modular/Modular.h"

#include <gtest/gtest.h>

#include <cmath>
#include <complex>
#include <string>

using namespace invtest;

namespace {

class StoreTest : public InvariantsTest {
protected:
    void SetUp() override { useTheory(4, 4, 1); }
};

// 1 -> 2 -> 3 -> 1.
const Matrix cycle = permutation({0, 2, 3, 1});

TEST_F(StoreTest, TheCycleCommutesWithSAndT) {
    // The fixture the other tests lean on is a modular invariant: Z S = S Z, and Z pairs fields
    // of equal weight.
    const int N = 4;
    for (int i = 0; i < N; i++)
        for (int j = 0; j < N; j++) {
            std::complex<double> ZS = 0, SZ = 0;
            for (int k = 0; k < N; k++) {
                ZS += static_cast<double>(cycle[i][k]) * modulartest::S(k, j);
                SZ += modulartest::S(i, k) * static_cast<double>(cycle[k][j]);
            }
            EXPECT_NEAR(std::abs(ZS - SZ), 0.0, 1e-10) << i << "," << j;
            if (cycle[i][j] != 0) {
                EXPECT_NEAR(MOD_realWeight(i), MOD_realWeight(j), 1e-12);
            }
        }
}

TEST_F(StoreTest, ComputedTheoryStoresItsDiagonalInvariantAsNumberZero) {
    ASSERT_EQ(TotalInvariants(), 1);
    BulkInvariant* diagonal = findNamedBulkInvariant("Invariant_0");
    ASSERT_NE(diagonal, nullptr);
    EXPECT_EQ(dense(diagonal), identity(4));
    EXPECT_EQ(MIPFIdentifier(diagonal), 0);
    EXPECT_EQ(diagonal->trivial, 1);
    EXPECT_EQ(diagonal->IshibashiLabelCount, 4);
    EXPECT_EQ(diagonal->left_extension_size, 1);
    EXPECT_EQ(diagonal->left_extension[0], 0);
    EXPECT_EQ(diagonal->right_extension, diagonal->orbits[0]);
    EXPECT_EQ(current(), getLocalBulk()) << "the current invariant is not the stored copy";
}

TEST_F(StoreTest, StoringTheSameInvariantAgainFindsTheFirstAndSaysSo) {
    std::unique_ptr<BulkInvariant> z = fromMatrix(cycle);
    BulkInvariant* first = nullptr;
    auto [out, err] = outputOf([&] { first = storeBulkInvariant(nullptr, z.get(), 1, 1); });
    EXPECT_EQ(first, z.get()) << "storing a copy returns the argument";
    EXPECT_EQ(out, "Modular invariant stored as \"Invariant_1\"\n");
    BulkInvariant* stored = findNamedBulkInvariant("Invariant_1");
    ASSERT_NE(stored, nullptr);
    EXPECT_EQ(MIPFIdentifier(stored), 1) << "the copy carries the identifier";
    EXPECT_EQ(stored->MD->Subgroup_id, -1) << "stored outside a search";

    std::unique_ptr<BulkInvariant> again = fromMatrix(cycle);
    BulkInvariant* found = nullptr;
    std::tie(out, err) = outputOf([&] { found = storeBulkInvariant(nullptr, again.get(), 1, 1); });
    EXPECT_EQ(found, stored);
    EXPECT_NE(out.find("This invariant is already present as Invariant_1    "), std::string::npos)
        << out;
    EXPECT_EQ(TotalInvariants(), 2) << "no automatic number is used up";
}

TEST_F(StoreTest, ANameInUseStoresNothing) {
    store("mine", cycle);
    std::unique_ptr<BulkInvariant> other = fromMatrix(permutation({0, 3, 1, 2}));
    BulkInvariant* result = other.get();
    auto [out, err] = outputOf([&] { result = storeBulkInvariant("mine", other.get(), 1, 1); });
    EXPECT_EQ(result, nullptr);
    EXPECT_NE(err.find("Name \"mine\n already in use"), std::string::npos) << err;
    EXPECT_EQ(dense(findNamedBulkInvariant("mine")), cycle);
    EXPECT_EQ(getLastBulkInvariant(), findNamedBulkInvariant("mine"));
    EXPECT_EQ(MIPFIdentifier(findNamedBulkInvariant("mine")), -1) << "a given name has none";
}

// Row 1 of two invariants that agree elsewhere.
TEST_F(StoreTest, PartnerListsCompareAsListsWithRepetitionsInAnyOrder) {
    struct Case {
        Row left, right;
        bool equal;
    };
    for (const Case& c : {
             Case{{1, {1, 1, 2}}, {1, {1, 2, 2}}, false}, // Z(1,1) = 2 against Z(1,1) = 1
             Case{{1, {1, 2, 3}}, {1, {3, 1, 2}}, true}, Case{{1, {1, 1}}, {1, {1, 1}}, true},
             Case{{1, {1}}, {1, {2}}, false}, Case{{1, {2}}, {2, {2}}, false},
             Case{{0, {2}}, {1, {}}, true}, // no entries either way
         }) {
        std::unique_ptr<BulkInvariant> a = fromRows({{1, {0}}, c.left, {1, {2}}, {1, {3}}});
        std::unique_ptr<BulkInvariant> b = fromRows({{1, {0}}, c.right, {1, {2}}, {1, {3}}});
        EXPECT_EQ(compareBulkInvariants(a.get(), b.get()) == 0, c.equal)
            << c.left.partners.size() << " against " << c.right.partners.size();
    }
}

TEST_F(StoreTest, InvariantsDifferingInRepetitionsAreBothStored) {
    std::unique_ptr<BulkInvariant> a = fromRows({{1, {0}}, {1, {1, 1, 2}}, {1, {2}}, {1, {3}}});
    std::unique_ptr<BulkInvariant> b = fromRows({{1, {0}}, {1, {1, 2, 2}}, {1, {2}}, {1, {3}}});
    EXPECT_EQ(storeBulkInvariant(nullptr, a.get(), 1, 0), a.get());
    EXPECT_EQ(storeBulkInvariant(nullptr, b.get(), 1, 0), b.get()) << "not already present";
    EXPECT_EQ(TotalInvariants(), 3);
    EXPECT_EQ(dense(findNamedBulkInvariant("Invariant_2"))[1], (std::vector<int>{0, 1, 2, 0}));
}

TEST_F(StoreTest, StoringWithoutCopyHandsTheRecordOver) {
    BulkInvariant* bi = allocNewBulkInvariant(nullptr);
    copyBulkInvariant(bi, fromMatrix(cycle).get());
    EXPECT_EQ(storeBulkInvariant("owned", bi, 0, 0), bi);
    EXPECT_EQ(findNamedBulkInvariant("owned"), bi);
    EXPECT_EQ(bi->name, "owned");
    EXPECT_EQ(locateBulkInvariant(fromMatrix(cycle).get()), bi);
}

TEST_F(StoreTest, NumberingStartsAtZeroAgainAfterAReset) {
    store("x", cycle);
    resetInvariantStore();
    EXPECT_EQ(TotalInvariants(), 0);
    EXPECT_EQ(findNamedBulkInvariant("x"), nullptr);
    std::unique_ptr<BulkInvariant> z = fromMatrix(cycle);
    storeBulkInvariant(nullptr, z.get(), 1, 0);
    EXPECT_NE(findNamedBulkInvariant("Invariant_0"), nullptr);
    EXPECT_EQ(MIPFIdentifier(findNamedBulkInvariant("Invariant_0")), 0);
}

TEST_F(StoreTest, ClearingTheLoopCommandAndResettingTheStoreSetDifferentLoopEnds) {
    parameter("loop start") = 7;
    setLoopCommand(nullptr);
    EXPECT_EQ(parameter("loop end"), 2000000);
    EXPECT_EQ(parameter("loop start"), 0);
    parameter("loop start") = 7;
    resetInvariantStore();
    EXPECT_EQ(parameter("loop end"), 2000000000);
    EXPECT_EQ(parameter("loop start"), 0);
}

// The record the current invariant is in is a stored one: returning to the diagonal invariant
// must not write the diagonal invariant into it.
TEST_F(StoreTest, AStoredRecordMadeCurrentSurvivesResetBulk) {
    BulkInvariant* stored = store("cycle", cycle);
    setCurrentBulkInvariant(stored);
    const int counter = QueryBulkInvariant();
    resetBulk();
    EXPECT_EQ(dense(stored), cycle);
    EXPECT_EQ(current(), getLocalBulk());
    EXPECT_EQ(dense(current()), identity(4));
    EXPECT_EQ(MIPFIdentifier(current()), 0);
    EXPECT_EQ(QueryBulkInvariant(), counter + 1);
    std::unique_ptr<BulkInvariant> z = fromMatrix(identity(4));
    EXPECT_EQ(locateBulkInvariant(z.get()), findNamedBulkInvariant("Invariant_0"))
        << "the diagonal invariant is stored once";
}

TEST_F(StoreTest, EmptyingTheStoreKeepsTheCurrentInvariant) {
    setCurrentBulkInvariant(store("cycle", cycle));
    const int counter = QueryBulkInvariant();
    resetInvariantStore();
    EXPECT_EQ(current(), getLocalBulk());
    EXPECT_EQ(dense(current()), cycle);
    EXPECT_EQ(QueryBulkInvariant(), counter) << "the current invariant did not change";
}

TEST_F(StoreTest, RemovingTheLastRecordForgetsIt) {
    store("a", cycle);
    store("b", permutation({0, 3, 1, 2}));
    EXPECT_EQ(removeLastBulkInvariant(), 1);
    EXPECT_EQ(findNamedBulkInvariant("b"), nullptr);
    EXPECT_EQ(getLastBulkInvariant(), findNamedBulkInvariant("a"));
    EXPECT_EQ(findNamedBulkInvariant("a")->next, nullptr);
    std::unique_ptr<BulkInvariant> b = fromMatrix(permutation({0, 3, 1, 2}));
    EXPECT_EQ(storeBulkInvariant(nullptr, b.get(), 1, 0), b.get()) << "no longer present";
    EXPECT_EQ(removeLastBulkInvariant(), 1);
    EXPECT_EQ(removeLastBulkInvariant(), 1);
    EXPECT_EQ(removeLastBulkInvariant(), 0) << "the last one";
    EXPECT_EQ(getLastBulkInvariant(), nullptr);
}

TEST_F(StoreTest, ARecordAppendedEmptyIsFoundWithWhatItWasFilledWith) {
    BulkInvariant* added = addNewBulkInvariantToStorage("added");
    ASSERT_NE(added, nullptr);
    copyBulkInvariant(added, fromMatrix(cycle).get());
    std::unique_ptr<BulkInvariant> z = fromMatrix(cycle);
    EXPECT_EQ(locateBulkInvariant(z.get()), added);
    auto [out, err] = outputOf([] { addNewBulkInvariantToStorage(nullptr); });
    EXPECT_NE(err.find("Unexpected NULL name"), std::string::npos) << err;
}

TEST_F(StoreTest, CopyKeepsTheMatrixAndTheExceptionalData) {
    std::unique_ptr<BulkInvariant> z = fromMatrix(cycle);
    allocExceptBound(z->EDT, 4, 2);
    for (int k = 0; k < 2 * (4 + 4 * 2); k++)
        z->EDT->Data[k] = 0.5 * k;
    z->EDT->BoundariesLoaded = 1;
    std::unique_ptr<BulkInvariant> copy(allocNewBulkInvariant("copy"));
    copyBulkInvariant(copy.get(), z.get());
    EXPECT_EQ(dense(copy.get()), cycle);
    EXPECT_EQ(copy->name, "copy");
    EXPECT_EQ(copy->EDT->Nlabels, 2);
    EXPECT_EQ(copy->EDT->Bound[0], 0.5 * 8) << "Bound follows the 2N crosscap entries";
    EXPECT_EQ(copy->EDT->BoundariesLoaded, 1);
    EXPECT_EQ(copy->right_extension, copy->orbits[0]);
}

// The map, kernels and the extra labels after each partner list go with a copy.
TEST_F(StoreTest, CopyOfASimpleCurrentInvariantCarriesItsGroupData) {
    std::unique_ptr<BulkInvariant> z = z2Invariant();
    std::unique_ptr<BulkInvariant> copy(allocNewBulkInvariant(nullptr));
    copyBulkInvariant(copy.get(), z.get());
    EXPECT_EQ(dense(copy.get()), dense(z.get()));
    EXPECT_EQ(copy->orbits[1][2], 0) << "the fixing current after the partners";
    EXPECT_EQ(copy->left_extension_size, 2);
    EXPECT_EQ(copy->MD->map[1], 1);
    EXPECT_EQ(copy->MD->inverse_map[1], 1);
    EXPECT_EQ(copy->MD->RightKernel[1], 1);
    EXPECT_EQ(copy->MD->KernelSize, 2);
    EXPECT_EQ(copy->MD->Generators[0], 1);
    EXPECT_EQ(MIPFIdentifier(copy.get()), 5);
}

TEST_F(StoreTest, ChangingPermutationRejectionEmptiesAStoreThatHoldsAutomaticNames) {
    store("named", cycle);
    auto [out, err] = outputOf([] { permutationRejectionChanged(); });
    EXPECT_EQ(out, "Resetting invariant storage\n");
    EXPECT_EQ(getLastBulkInvariant(), nullptr);
    std::tie(out, err) = outputOf([] { permutationRejectionChanged(); });
    EXPECT_EQ(out, "") << "nothing to reset";
}

TEST_F(StoreTest, SwitchingAutostoreOnKeepsOnlyTheCurrentInvariant) {
    store("a", cycle);
    setCurrentBulkInvariant(store("b", permutation({0, 3, 1, 2})));
    parameter("Autostore") = 0;
    AutostoreChanged();
    EXPECT_NE(findNamedBulkInvariant("a"), nullptr) << "off: nothing happens";
    parameter("Autostore") = 1;
    auto [out, err] = outputOf([] { AutostoreChanged(); });
    EXPECT_EQ(out, "Resetting invariant storage\n");
    EXPECT_EQ(findNamedBulkInvariant("a"), nullptr);
    ASSERT_EQ(TotalInvariants(), 1);
    EXPECT_EQ(dense(findNamedBulkInvariant("Invariant_0")), permutation({0, 3, 1, 2}));
}

TEST_F(StoreTest, MatrixLayoutAndLabelCount) {
    std::unique_ptr<BulkInvariant> z = fromRows({{1, {0, 1}}, {1, {0, 1}}, {2, {2}}, {1, {}}});
    const int* M = BulkInvariantToMatrix(z.get());
    EXPECT_EQ(M[1 * 4 + 0], 1) << "Z(0,1)";
    EXPECT_EQ(M[2 * 4 + 2], 2) << "Z(2,2)";
    EXPECT_EQ(M[3 * 4 + 3], 0);
    EXPECT_EQ(LabelCount(z.get()), 1 + 1 + 2);
}

TEST_F(StoreTest, ResettingANullRecordIsReported) {
    auto [out, err] = outputOf([] { resetBulkInvariant(nullptr); });
    EXPECT_NE(err.find("Attempt to reset NULL invariant pointer"), std::string::npos) << err;
}

} // namespace
