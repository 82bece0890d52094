// The intersection module where it must not answer from tables it could not prepare, and the
// byte rule of its caches. The numbers themselves are checked on a Gepner model by the command
// files (row sums and chirality counts of an independent model of the extended S matrix).
#include "boundary/CrossBoundTestHelpers.h"

#include "base/Parameters.h"
#include "modular/Modular.h"
#include "string/Intersections.h"
#include "string/SearchPreselection.h"

#include <gtest/gtest.h>

#include <climits>
#include <string>

namespace {

TEST(IntersectionBytes, OutOfRangeValuesAreStoredUnknown) {
    struct Case {
        long long value;
        int stored;
    };
    // 127 marks "unknown": a value that does not fit, or a sum that was not integral
    // (2147483647), is computed afresh at every lookup.
    const Case cases[] = {
        {0, 0},      {-128, -128}, {126, 126},  {127, 127},     {128, 127},
        {-129, 127}, {200, 127},   {-200, 127}, {INT_MAX, 127}, {2LL * INT_MAX + 1, 127}};
    for (const Case& c : cases) {
        signed char x = 5;
        storeCharacterEntry(&x, c.value);
        EXPECT_EQ(x, c.stored) << c.value;
    }
}

// A block without the superstring reading: nothing can be prepared.
class UnpreparedIntersections : public boundarytest::BoundaryTest {
protected:
    void SetUp() override {
        BoundaryTest::SetUp();
        if (!findInternalParameter("Super"))
            addInternalParameter("Super", "0", 'i', 0);
        super = static_cast<int*>(getIntParPointer("Super"));
        saved = *super;
        *super = 0;
        theory(1, 1, 2);
        ASSERT_EQ(initializeOpenString(), 0);
    }
    void TearDown() override {
        *super = saved;
        BoundaryTest::TearDown();
    }
    int* super = nullptr;
    int saved = 0;
};

TEST_F(UnpreparedIntersections, PreparationRefusedWithoutTheStringReading) {
    const int stamp = getIntersectionsInitiated();
    EXPECT_EQ(InitIntersection(), 1);
    EXPECT_EQ(getIntersectionsInitiated(), stamp);
    EXPECT_NE(getIntersectionsInitiated(), QueryBulkInvariant());
}

// Lookups, diagonal data and the scan answer 0 instead of reading sums and classes of another
// invariant (or none) through an unset routine.
TEST_F(UnpreparedIntersections, LookupsAnswerZeroAfterTheMessage) {
    testsupport::Captured cap;
    int chir = 7;
    EXPECT_EQ(ComputeIntersectionEntry(0, 1, &chir), 0);
    EXPECT_EQ(chir, 0);
    chir = 7;
    EXPECT_EQ(FullIntersectionForClassMember(0, 1, &chir), 0);
    EXPECT_EQ(chir, 0);
    EXPECT_EQ(ComputeIntersectionForClassMember(1, 2), 0);
    EXPECT_EQ(ComputeOverlapForClassMember(1, 2), 0);
    int A = 7, M = 7, Adj = 7;
    getDiagonalInfo(0, 1, &A, &M, &Adj);
    EXPECT_EQ(A + M + Adj, 0);
    EXPECT_EQ(getDiagonalChirality(0, 1), 0);
    EXPECT_NE(cap.err().find("Intersections not initialized"), std::string::npos);
}

TEST_F(UnpreparedIntersections, BraneScanRefusesWithTheReason) {
    testsupport::Captured cap;
    EXPECT_EQ(BraneScan(), 1);
    EXPECT_NE(cap.err().find("Not a fermionic string"), std::string::npos);
    EXPECT_EQ(cap.out().find("N_ori="), std::string::npos);
}

// The refusal reports the reason but keeps what the user pre-selected.
TEST_F(UnpreparedIntersections, RefusalKeepsThePreselection) {
    setOrientifoldPreselection(0);
    setBoundary_a_Preselection(1);
    {
        testsupport::Captured cap;
        EXPECT_EQ(PrintIntersectionEntry(0, 1), 1);
    }
    EXPECT_EQ(getOrientifoldPreselection(), 0);
    EXPECT_EQ(getBoundary_a_Preselection(), 1);
    setOrientifoldPreselection(-1);
    setBoundary_a_Preselection(-1);
}

// With a boundary pre-selected but no orientifold there is no image to compare: the boundaries
// alone decide (a free position still admits every class).
TEST_F(UnpreparedIntersections, PreselectionCheckWithoutOrientifold) {
    setOrientifoldPreselection(-1);
    setBoundary_a_Preselection(1);
    setBoundary_b_Preselection(1);
    setBoundary_c_Preselection(1);
    setBoundary_d_Preselection(1);
    const int cls = getBoundaryClass(1);
    EXPECT_EQ(BoundaryClassPreselectionCheck(cls), 1);
    EXPECT_EQ(BoundaryClassPreselectionCheck(cls + 1000), 0);
    setBoundary_d_Preselection(-1);
    EXPECT_EQ(BoundaryClassPreselectionCheck(cls + 1000), 1);
    setBoundary_a_Preselection(-1);
    setBoundary_b_Preselection(-1);
    setBoundary_c_Preselection(-1);
}

} // namespace
