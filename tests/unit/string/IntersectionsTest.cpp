// The intersection module where it must not answer from tables it could not prepare, and the
// byte rule of its caches. The numbers themselves are checked on a Gepner model by the command
// files (row sums and chirality counts of an independent model of the extended S matrix).
#include "boundary/CrossBoundTestHelpers.h"
#include "string/StringFixtures.h"

#include "base/Parameters.h"
#include "modular/Invariants.h"
#include "modular/Modular.h"
#include "modular/ModularFileNames.h"
#include "string/Intersections.h"
#include "string/SearchPreselection.h"
#include "string/SearchSetup.h"
#include "tensor/Coset.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <climits>
#include <fstream>
#include <string>
#include <vector>

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

namespace {

// Type 0B from D8 at level 1 read as a (non-supersymmetric) string: four self-conjugate branes.
// Every class is real, so no pair is chiral.
class TypeZeroIntersections : public stringtest::StringProductTest {
protected:
    void SetUp() override {
        StringProductTest::SetUp();
        boundarytest::startModule();
        build({{4, 8, 1}});
        if (HasFatalFailure())
            return;
        savedSusy = getSusySearch();
        setSusySearch(0);
        ASSERT_EQ(initializeOpenString(), 0);
        testsupport::Captured cap;
        ASSERT_NE(initStandardModelSearch(), nullptr);
        ASSERT_EQ(InitIntersection(), 0);
    }
    void TearDown() override {
        setSusySearch(savedSusy);
        StringProductTest::TearDown();
    }
    int savedSusy = 1;
};

TEST_F(TypeZeroIntersections, NoPairIsChiralAndTheClassLookupsAgree) {
    testsupport::Captured cap;
    const int B = TotalBoundaries();
    ASSERT_EQ(B, 4);
    int nonZero = 0;
    for (int a = 0; a < B; a++)
        for (int b = 0; b < B; b++) {
            int chir = 7, chirClass = 7;
            const int I = ComputeIntersectionEntry(a, b, &chir);
            nonZero += I != 0;
            EXPECT_EQ(chir, 0) << a << "," << b;
            EXPECT_EQ(FullIntersectionForClassMember(a, b, &chirClass), I) << a << "," << b;
            EXPECT_EQ(chirClass, 0);
            int t = 7;
            EXPECT_EQ(ComputeIntersectionUsingTranspose(b, a, &t), I) << "I(b,a) = I(a,b)";
        }
    EXPECT_GT(nonZero, 0) << "the pairs do carry left-handed states";
}

// The numbers follow the current bulk invariant: after a new generation the lookups prepare the
// sums and the classes again instead of answering from the old ones.
TEST_F(TypeZeroIntersections, LookupsFollowAChangeOfBulkInvariant) {
    testsupport::Captured cap;
    int chir = 0;
    const int before = FullIntersectionForClassMember(0, 2, &chir);
    bulkInvariantChanged();
    ASSERT_EQ(initializeOpenString(), 0);
    EXPECT_NE(getIntersectionsInitiated(), QueryBulkInvariant());
    EXPECT_EQ(FullIntersectionForClassMember(0, 2, &chir), before);
    EXPECT_EQ(getIntersectionsInitiated(), QueryBulkInvariant());
    EXPECT_EQ(cap.err().find("Intersections not initialized"), std::string::npos);
}

// A lookup of a class never seen binds the open slot and opens the next.
TEST_F(TypeZeroIntersections, FirstLookupOfAClassBindsTheOpenSlot) {
    testsupport::Captured cap;
    initBoundaryClassStorage();
    incrementBoundaryClassIntersectionPointer();
    EXPECT_EQ(getLastClass(), 0);
    int chir = 0;
    FullIntersectionForClassMember(1, 0, &chir);
    EXPECT_EQ(getLastClass(), 1);
    FullIntersectionForClassMember(1, 3, &chir);
    EXPECT_EQ(getLastClass(), 1) << "the class is bound already";
    // Opening slots beyond the room of the set-up grows the table.
    for (int k = 0; k < getBoundaryClassSize() + 20; k++)
        incrementBoundaryClassIntersectionPointer();
    storeIntersectionData(getLastClass(), 0, 3, -1);
    const signed char* slot = getBoundaryClassSlot(getLastClass());
    ASSERT_NE(slot, nullptr);
    EXPECT_EQ(slot[0], -1);
    EXPECT_EQ(slot[getSearchData()->bndcnt], 7) << "2 N1 - chir";
}

// A partner outside the usable map is computed at every lookup (after a message shown once) and
// gives the numbers of the direct routine; nothing of it is stored.
TEST_F(TypeZeroIntersections, UnusablePartnerIsComputedEachTime) {
    testsupport::Captured cap;
    SearchData* SD = getSearchData();
    const int B = TotalBoundaries();
    std::vector<int> saved(SD->BoundaryMap.X, SD->BoundaryMap.X + B);
    for (int b = 0; b < B; b++)
        SD->BoundaryMap[b] = -1;
    for (int a = 0; a < B; a++)
        for (int b = 0; b < B; b++) {
            int chir = 7, direct = 7;
            const int I = ComputeIntersectionEntry(a, b, &direct);
            EXPECT_EQ(FullIntersectionForClassMember(a, b, &chir), I) << a << "," << b;
            EXPECT_EQ(chir, direct);
            EXPECT_EQ(ComputeOverlapForClassMember(a, b), I);
        }
    std::copy(saved.begin(), saved.end(), SD->BoundaryMap.X);
    EXPECT_NE(cap.err().find("not in storage; recomputed each time"), std::string::npos);
}

// Type 0B has no states between a brane and its image: the rank-two numbers are 0 without a
// Moebius sum (with or without the Moebius check), and mode 1 then reads the stored status.
TEST_F(TypeZeroIntersections, RankTwoTensorsWithoutStatesTowardsTheImage) {
    testsupport::Captured cap;
    const SearchData* SD = getSearchData();
    ASSERT_GE(SD->Ori_eff, 1);
    if (!findInternalParameter("SM_search check_moebius"))
        addInternalParameter("SM_search check_moebius", "1", 'i', 0);
    int& check = *static_cast<int*>(getIntParPointer("SM_search check_moebius"));
    const int saved = check;
    for (int moebiusCheck : {1, 0}) {
        check = moebiusCheck;
        int Ann = -9, Moeb = -9, Adj = -9;
        EXPECT_EQ(CheckChirality(0, 0, 0, &Ann, &Moeb, &Adj), 0);
        for (int a = 0; a < TotalBoundaries(); a++) {
            int chir = 0, unused = 0;
            ASSERT_EQ(ComputeIntersectionEntry(a, SD->OI[0]->Conjugates[a], &chir), 0);
            EXPECT_EQ(CheckChirality(a, 0, 2, &Ann, &Moeb, &Adj), 0) << a;
            EXPECT_EQ(Ann, 0);
            EXPECT_EQ(Moeb, 0);
            EXPECT_EQ(Adj, ComputeIntersectionEntry(a, a, &unused));
            EXPECT_EQ(CheckChirality(a, 0, 1, &Ann, &Moeb, &Adj), 0);
        }
    }
    check = saved;
}

// The Moebius sums and the scan work on list entries but leave the caller's orientifold current;
// the scan makes its folder below the output directory.
TEST_F(TypeZeroIntersections, MoebiusSumAndScanKeepTheCurrentOrientifold) {
    testsupport::TempOutputDir out;
    testsupport::Captured cap;
    int total = 0, positive = 0;
    getPositiveTensionOrientifolds(&total, &positive);
    ASSERT_GE(total, 3);
    OrientifoldInfo* chosen = setStoredOrientifold(2);
    ASSERT_NE(chosen, nullptr);
    ComputeMoebiusSum(0, 0);
    EXPECT_EQ(getCurrentOrientifold(), chosen);
    EXPECT_EQ(BraneScan(), 0);
    EXPECT_EQ(getCurrentOrientifold(), chosen);
    const std::string dir = out.path() + "/E" + std::to_string(fileIdentifier());
    std::ifstream file(dir + "/MIPF_" + std::to_string(MIPFIdentifier(*getCurrentBulk())) +
                       "_0.branes");
    EXPECT_TRUE(file.good()) << dir;
}

} // namespace
