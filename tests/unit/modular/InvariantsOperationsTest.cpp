// Transpose, conjugation and products of bulk invariants, checked against the same operations on
// the dense matrices: on so(8) at level 1, where the permutations of the three non-trivial
// fields are invariants, and on su(3) at level 1, whose charge conjugation swaps 1 and 2.
#include "InvariantsTestHelpers.h"

#include "modular/Invariants.h"
#include "modular/Modular.h"

#include <gtest/gtest.h>

#include <cmath>
#include <string>

using namespace invtest;

namespace {

class OperationsTest : public InvariantsTest {
protected:
    void SetUp() override { useTheory(4, 4, 1); }
};

const Matrix cycle = permutation({0, 2, 3, 1});   // 1 -> 2 -> 3 -> 1
const Matrix inverse = permutation({0, 3, 1, 2}); // 1 -> 3 -> 2 -> 1

TEST(RemoveRedundancy, FoldsEqualCountsIntoAFactor) {
    struct Case {
        std::vector<int> list, folded;
        int factor;
    };
    for (Case c : {Case{{3, 3, 5, 5}, {3, 5}, 2}, Case{{1, 1, 2}, {1, 1, 2}, 1},
                   Case{{5, 3, 5, 3, 5, 3}, {3, 5}, 3}, Case{{4, 4, 4}, {4}, 3},
                   Case{{2, 0, 1}, {0, 1, 2}, 1}, Case{{}, {}, 0}}) {
        int f = -1;
        std::vector<int> list = c.list;
        const int n = removeRedundancy(list.data(), static_cast<int>(list.size()), &f);
        list.resize(static_cast<std::size_t>(n));
        EXPECT_EQ(list, c.folded);
        EXPECT_EQ(f, c.factor);
    }
}

TEST_F(OperationsTest, TheTransposeOfACycleIsTheInverseCycleAndTheirProductTheDiagonal) {
    store("cycle", cycle);
    transposeNamedBulkInvariant("cycle", "inverse");
    BulkInvariant* t = findNamedBulkInvariant("inverse");
    ASSERT_NE(t, nullptr);
    EXPECT_EQ(dense(t), inverse);
    EXPECT_EQ(t->left_extension_size, 1);
    EXPECT_EQ(t->symmetric, 0);
    EXPECT_EQ(current(), getLocalBulk()) << "a named transpose leaves the current invariant";

    const int stored = TotalInvariants();
    int rc = -1;
    auto [out, err] =
        outputOf([&] { rc = multiplyBulkInvariants("cycle", "inverse", nullptr, 0); });
    EXPECT_EQ(rc, 0) << "found as the diagonal invariant";
    EXPECT_NE(out.find("already present as Invariant_0"), std::string::npos) << out;
    EXPECT_EQ(TotalInvariants(), stored);
    EXPECT_EQ(getLastBulkInvariant(), t);
}

TEST_F(OperationsTest, ProductsFollowTheMatrixProduct) {
    store("cycle", cycle);
    EXPECT_EQ(multiplyBulkInvariants("cycle", "cycle", "square", 0), 0);
    ASSERT_NE(findNamedBulkInvariant("square"), nullptr);
    EXPECT_EQ(dense(findNamedBulkInvariant("square")), product(cycle, cycle));
    EXPECT_EQ(dense(findNamedBulkInvariant("square")), inverse);
    EXPECT_EQ(multiplyBulkInvariants("0", "cycle", nullptr, 0), 0) << "1 Z = Z, already stored";
    EXPECT_EQ(multiplyBulkInvariants("cycle", "missing", nullptr, 0), 1);
}

// (0+1)^2 + (2+3)^2 squared is twice itself: the overall divisor brings the vacuum entry back
// to 1 and the product is the factor itself.
// Without symmetry reduction invariant 1 is the transposition of 2 and 3 and invariant 4 a
// 3-cycle; neither is stored, so both are built by number, the second after the first.
TEST_F(OperationsTest, OperandsBuiltByNumberAreBothKept) {
    parameter("Reject permutations") = 0;
    int rc = -1;
    outputOf([&] { rc = multiplyBulkInvariants("1", "4", "product", 0); });
    parameter("Reject permutations") = 1;
    EXPECT_EQ(rc, 0);
    BulkInvariant* p = findNamedBulkInvariant("product");
    ASSERT_NE(p, nullptr);
    EXPECT_EQ(dense(p), product(permutation({0, 1, 3, 2}), permutation({0, 3, 1, 2})));
}

TEST_F(OperationsTest, TheOverallDivisorNormalisesTheProduct) {
    const Matrix blocks = {{1, 1, 0, 0}, {1, 1, 0, 0}, {0, 0, 1, 1}, {0, 0, 1, 1}};
    BulkInvariant* b = store("blocks", blocks);
    EXPECT_EQ(multiplyBulkInvariants("blocks", "blocks", nullptr, 0), 0);
    EXPECT_EQ(getLastBulkInvariant(), b) << "the product is the factor, already stored";
}

TEST_F(OperationsTest, AProductWithVacuumEntryTwoIsNotNormalizable) {
    const Matrix A = {{1, 1, 0, 0}, {1, 1, 0, 0}, {0, 0, 1, 0}, {0, 0, 0, 1}};
    store("A", A);
    const int stored = TotalInvariants();
    int rc = 0;
    auto [out, err] = outputOf([&] { rc = multiplyBulkInvariants("A", "A", nullptr, 1); });
    EXPECT_EQ(rc, 1);
    // A^2 has Z(0,0) = 2 next to Z(2,2) = 1: nothing to divide by. The first term shows its
    // multiplicity like every other.
    EXPECT_EQ(out, "Invariant not normalizable\n\n   2*(0+1)^2 + (2)^2 + (3)^2\n");
    EXPECT_EQ(TotalInvariants(), stored);
    EXPECT_EQ(getLastBulkInvariant(), findNamedBulkInvariant("A"));
}

// Rows 1 to 3 of A hold three partners each, so A^2 holds ten labels: more than the bound by the
// vacuum rows (1 x 1 x 4) would give room for.
TEST_F(OperationsTest, AProductLongerThanTheVacuumBoundIsStoredWhole) {
    const Matrix A = {{1, 0, 0, 0}, {0, 1, 1, 1}, {0, 1, 1, 1}, {0, 1, 1, 1}};
    store("A", A);
    int rc = -1;
    auto [out, err] = outputOf([&] { rc = multiplyBulkInvariants("A", "A", "square", 0); });
    EXPECT_EQ(rc, 0);
    ASSERT_NE(findNamedBulkInvariant("square"), nullptr);
    EXPECT_EQ(dense(findNamedBulkInvariant("square")), product(A, A));
    EXPECT_EQ(findNamedBulkInvariant("square")->symmetric, 1);
}

// Column 1 collects three fields where the first room, 2 x 1 x 1, holds two.
TEST_F(OperationsTest, ALongColumnIsReportedAndTheTransposeIsWhole) {
    std::unique_ptr<BulkInvariant> z = fromRows({{1, {0}}, {1, {1}}, {1, {1}}, {1, {1}}});
    BulkInvariant* t = nullptr;
    auto [out, err] = outputOf([&] { t = reflectBulkInvariant(z.get()); });
    EXPECT_NE(err.find("Orbit length overflow. Reallocating"), std::string::npos) << err;
    EXPECT_EQ(dense(t), transposed(dense(z.get())));
    EXPECT_EQ(t->orbitlength[1], 3);
    EXPECT_EQ(t->orbits[2], nullptr);
}

TEST_F(OperationsTest, TransposingTheWorkRecordItselfGivesBackTheOriginal) {
    std::unique_ptr<BulkInvariant> z = fromMatrix(cycle);
    BulkInvariant* t = reflectBulkInvariant(z.get());
    EXPECT_EQ(dense(t), inverse);
    EXPECT_EQ(reflectBulkInvariant(t), t);
    EXPECT_EQ(dense(t), cycle);
    EXPECT_EQ(reflectBulkInvariant(z.get()), t) << "one work record";
}

TEST_F(OperationsTest, SymmetricInvariantsAreTheirOwnTranspose) {
    std::unique_ptr<BulkInvariant> z = fromMatrix(permutation({0, 2, 1, 3}));
    EXPECT_EQ(reflectBulkInvariant(z.get()), z.get());
}

TEST_F(OperationsTest, TransposingTheCurrentInvariantMakesTheResultCurrent) {
    store("cycle", cycle);
    copyBulkInvariant(getLocalBulk(), fromMatrix(cycle).get());
    const int counter = QueryBulkInvariant();
    auto [out, err] = outputOf([] { transposeNamedBulkInvariant(nullptr, nullptr); });
    EXPECT_EQ(out, "Modular invariant stored as \"Invariant_1\"\n");
    EXPECT_EQ(dense(current()), inverse);
    EXPECT_EQ(QueryBulkInvariant(), counter + 1);
    // Later transposes reuse their work record; the current invariant stays what it is.
    store("odd", dense(fromRows({{1, {0}}, {1, {1}}, {1, {1}}, {1, {1}}}).get()));
    outputOf([] { transposeNamedBulkInvariant("odd", nullptr); });
    outputOf([] { multiplyBulkInvariants("cycle", "Invariant_1", nullptr, 0); });
    EXPECT_EQ(dense(current()), inverse);
    outputOf([] { transposeNamedBulkInvariant(nullptr, nullptr); });
    EXPECT_EQ(current(), findNamedBulkInvariant("cycle")) << "already stored: that one";
}

TEST_F(OperationsTest, ConjugationOfAnInvariantOfSelfConjugateFieldsChangesNothing) {
    store("cycle", cycle);
    conjugateNamedBulkInvariant("cycle", "conjugated");
    EXPECT_EQ(findNamedBulkInvariant("conjugated"), nullptr) << "C = 1 for so(8)";
    outputOf([] { conjugateNamedBulkInvariant(nullptr, nullptr); });
    EXPECT_EQ(current(), findNamedBulkInvariant("Invariant_0"));
}

// ---- su(3) at level 1: fields 0, 1, 2 with 1 and 2 conjugate ----

class ConjugationTest : public InvariantsTest {
protected:
    void SetUp() override { useTheory(1, 2, 1); }
};

// C(i,j) = sum_k S(i,k) S(k,j), from the S matrix alone.
Matrix chargeConjugation() {
    Matrix C(3, std::vector<int>(3, 0));
    for (int i = 0; i < 3; i++)
        for (int j = 0; j < 3; j++) {
            std::complex<double> c = 0;
            for (int k = 0; k < 3; k++)
                c += modulartest::S(i, k) * modulartest::S(k, j);
            C[i][j] = static_cast<int>(std::lround(c.real()));
        }
    return C;
}

TEST_F(ConjugationTest, TheConjugationInvariantIsSSquared) {
    const int counter = QueryBulkInvariant();
    setConjugationInvariant();
    EXPECT_EQ(QueryBulkInvariant(), counter + 1);
    EXPECT_EQ(current(), getLocalBulk());
    EXPECT_EQ(dense(current()), chargeConjugation());
    EXPECT_EQ(dense(current()), permutation({0, 2, 1}));
    EXPECT_EQ(current()->IshibashiLabelCount, 1) << "only the vacuum is self-conjugate";
    EXPECT_EQ(current()->conjugation, 1);
    EXPECT_EQ(current()->symmetric, 1);
    EXPECT_EQ(TotalInvariants(), 1) << "not stored while Autostore is off";
}

TEST_F(ConjugationTest, AutostoreStoresTheConjugationInvariant) {
    parameter("Autostore") = 1;
    auto [out, err] = outputOf([] { setConjugationInvariant(); });
    EXPECT_EQ(out, "Modular invariant stored as \"Invariant_1\"\n");
    EXPECT_EQ(dense(findNamedBulkInvariant("Invariant_1")), chargeConjugation());
}

TEST_F(ConjugationTest, ConjugatingTwiceReturnsAndSwapsDiagonalAndConjugation) {
    std::unique_ptr<BulkInvariant> z = fromMatrix(identity(3));
    conjugateBulkInvariant(z.get());
    EXPECT_EQ(dense(z.get()), chargeConjugation());
    EXPECT_EQ(z->conjugation, 1);
    EXPECT_EQ(z->trivial, 0);
    conjugateBulkInvariant(z.get());
    EXPECT_EQ(dense(z.get()), identity(3));
    EXPECT_EQ(z->trivial, 1);
    EXPECT_EQ(z->simpleCurrentInvariant, 1);
    EXPECT_EQ(z->conjugation, 0);
}

TEST_F(ConjugationTest, ConjugatingTheCurrentInvariantStoresAndSelectsTheResult) {
    outputOf([] { conjugateNamedBulkInvariant(nullptr, nullptr); });
    BulkInvariant* c = findNamedBulkInvariant("Invariant_1");
    ASSERT_NE(c, nullptr);
    EXPECT_EQ(current(), c);
    EXPECT_EQ(dense(c), chargeConjugation());
    // C C = 1 and 1 C = C, both already stored.
    EXPECT_EQ(multiplyBulkInvariants("1", "1", nullptr, 0), 0);
    EXPECT_EQ(multiplyBulkInvariants("0", "1", nullptr, 0), 0);
    EXPECT_EQ(TotalInvariants(), 2);
    EXPECT_EQ(dense(c), chargeConjugation());
}

} // namespace
