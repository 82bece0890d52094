// Orientifold records and the current orientifold: the two stages of a record, the rules by which
// the orientifold counter moves, the list entries and the resets of the orientifold and of the
// bulk invariant. su(2) level 4 with its D-type invariant has the bulk group Z2 (Order 2, one
// cyclic factor) and four Ishibashi labels.
#include "CrossBoundTestHelpers.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

using namespace boundarytest;
namespace cbi = crossbound_internal;

namespace {

class Orientifolds : public BoundaryTest {
protected:
    void TearDown() override {
        cbi::N_Ori = 0;
        for (int i = 0; cbi::Orientifolds.reserved() && i < cbi::Orientifolds.X_oldsize; i++)
            cbi::Orientifolds[i] = nullptr;
        BoundaryTest::TearDown();
    }
    // su(2) level 4 with its D-type invariant current.
    void dType() {
        theory(1, 1, 4);
        ASSERT_NE(simpleCurrentInvariant(1), nullptr);
        ASSERT_EQ((*getCurrentBulk())->MD->dg->Order, 2);
    }
};

void expectStamps(const OrientifoldInfo* OI, int value) {
    EXPECT_EQ(OI->ConjugatesAvailable, value);
    EXPECT_EQ(OI->CrosscapsAvailable, value);
    EXPECT_EQ(OI->IshibashiMetricAvailable, value);
    EXPECT_EQ(OI->CorrectionPhasesAvailable, value);
    EXPECT_EQ(OI->GlobalAnomaliesAvailable, value);
}

TEST_F(Orientifolds, NewRecordIsEmptyAndStageTwoSizesItOnce) {
    dType();
    OrientifoldInfo* OI = allocateOrientifoldInfo_stage1();
    expectStamps(OI, -2);
    EXPECT_EQ(OI->ModInvNr, -1);
    EXPECT_EQ(OI->OrientifoldNr, -1);
    EXPECT_FALSE(OI->CrosscapSigns.reserved());

    int before = QueryOrientifold();
    allocateOrientifoldInfo_stage2(&OI);
    EXPECT_EQ(QueryOrientifold(), before + 1);
    EXPECT_EQ(OI->OrientifoldNr, 0);
    EXPECT_EQ(OI->KBC, 0);
    EXPECT_EQ(OI->CrosscapFlip, 1);
    EXPECT_EQ(OI->SequenceNumber, -1);
    EXPECT_EQ(OI->ModInvNr, QueryBulkInvariant());
    expectStamps(OI, -2);
    // Sign block: one crosscap sign, then two correction signs, phases and denominators.
    int* s = OI->CrosscapSigns.X;
    EXPECT_EQ(OI->CorrectionSigns, s + 1);
    EXPECT_EQ(OI->CorrectionPhases, s + 3);
    EXPECT_EQ(OI->PhaseDenoms, s + 5);
    EXPECT_EQ(std::vector<int>(s, s + 3), (std::vector<int>{1, 1, 1}));
    // Label block of three times the four labels; crosscaps two doubles each.
    EXPECT_EQ(OI->IshibashiMetric, OI->Conjugates.X + 4);
    EXPECT_EQ(OI->GroupTypes, OI->Conjugates.X + 8);
    EXPECT_EQ(OI->Conjugates.X_oldsize, 12);
    EXPECT_EQ(OI->Crosscap.X_oldsize, 8);

    // Again for the same invariant: nothing changes.
    OI->KBC = 1;
    s[0] = -1;
    before = QueryOrientifold();
    allocateOrientifoldInfo_stage2(&OI);
    EXPECT_EQ(QueryOrientifold(), before);
    EXPECT_EQ(OI->KBC, 1);
    EXPECT_EQ(OI->CrosscapSigns[0], -1);

    // A new bulk invariant with the same group resets the choice.
    ASSERT_NE(simpleCurrentInvariant(1), nullptr);
    before = QueryOrientifold();
    allocateOrientifoldInfo_stage2(&OI);
    EXPECT_EQ(QueryOrientifold(), before + 1);
    EXPECT_EQ(OI->KBC, 0);
    EXPECT_EQ(OI->CrosscapSigns[0], 1);
    EXPECT_EQ(OI->OrientifoldNr, 1);

    OrientifoldInfo* none = nullptr;
    allocateOrientifoldInfo_stage2(&none);
    ASSERT_NE(none, nullptr) << "a missing record is made";
    EXPECT_EQ(none->ModInvNr, QueryBulkInvariant());
}

TEST_F(Orientifolds, SelectionsMoveTheCounterOnlyOnChange) {
    dType();
    OrientifoldInfo* other = allocateOrientifoldInfo_stage1();
    const int before = QueryOrientifold();
    setSelectedOrientifold(other);
    EXPECT_EQ(getCurrentOrientifold(), other);
    EXPECT_EQ(QueryOrientifold(), before + 1);
    setSelectedOrientifold(other);
    EXPECT_EQ(QueryOrientifold(), before + 1) << "reselecting the current record";
    OrientifoldInfo* user = setUserDefinedOrientifold();
    EXPECT_EQ(getCurrentOrientifold(), user);
    EXPECT_EQ(QueryOrientifold(), before + 2);
    setUserDefinedOrientifold();
    EXPECT_EQ(QueryOrientifold(), before + 3) << "the user's record counts every time";
    OrientifoldChanged();
    EXPECT_EQ(QueryOrientifold(), before + 4);
}

// List entries are checked against the list: outside it there is none and nothing changes.
TEST_F(Orientifolds, StoredEntriesOutsideTheListAreRefused) {
    dType();
    OrientifoldInfo* current = getCurrentOrientifold();
    int before = QueryOrientifold();
    for (int i : {-1, 0, 1, 10}) {
        EXPECT_EQ(setStoredOrientifold(i), nullptr) << i;
        EXPECT_EQ(getOrientifoldByNumber(i), nullptr) << i;
    }
    EXPECT_EQ(QueryOrientifold(), before);
    EXPECT_EQ(getCurrentOrientifold(), current);

    OrientifoldInfo* entry = allocateOrientifoldInfo_stage1();
    allocateOrientifolds(1);
    cbi::Orientifolds[0] = entry;
    cbi::N_Ori = 1;
    EXPECT_EQ(setStoredOrientifold(0), entry);
    EXPECT_EQ(QueryOrientifold(), before + 1);
    EXPECT_EQ(setStoredOrientifold(0), entry);
    EXPECT_EQ(QueryOrientifold(), before + 1) << "the entry is current already";
    EXPECT_EQ(setStoredOrientifold(1), nullptr);
    EXPECT_EQ(getCurrentOrientifold(), entry);
    int N = 0;
    OrientifoldInfo** list = getOrientifolds(&N);
    EXPECT_EQ(N, 1);
    EXPECT_EQ(list[0], entry);
}

TEST_F(Orientifolds, TheListTableGrowsAndKeepsItsEntries) {
    allocateOrientifolds(12);
    OrientifoldInfo* entry = allocateOrientifoldInfo_stage1();
    cbi::Orientifolds[3] = entry;
    allocateOrientifolds(40);
    EXPECT_EQ(cbi::Orientifolds[3], entry);
    for (int i = 12; i < 40; i++)
        EXPECT_EQ(cbi::Orientifolds[i], nullptr) << i;
    OrientifoldInfo** table = cbi::Orientifolds.X;
    allocateOrientifolds(5);
    EXPECT_EQ(cbi::Orientifolds.X, table) << "a smaller request moves nothing";
    EXPECT_EQ(cbi::Orientifolds[3], entry);
}

TEST_F(Orientifolds, LoopRecordIsResetAndMadeCurrent) {
    dType();
    int before = QueryOrientifold();
    OrientifoldInfo* loop = setLoopOrientifold();
    EXPECT_EQ(getCurrentOrientifold(), loop);
    EXPECT_EQ(QueryOrientifold(), before + 3) << "sized, reset and made current";
    loop->KBC = 1;
    loop->CrosscapSigns[0] = -1;
    loop->CorrectionSigns[1] = -1;
    setUserDefinedOrientifold();
    before = QueryOrientifold();
    EXPECT_EQ(setLoopOrientifold(), loop);
    EXPECT_EQ(QueryOrientifold(), before + 2);
    EXPECT_EQ(loop->KBC, 0);
    EXPECT_EQ(loop->CrosscapSigns[0], 1);
    EXPECT_EQ(loop->CorrectionSigns[1], 1);
}

TEST_F(Orientifolds, ResetOfTheChoiceAndOfTheStamps) {
    dType();
    OrientifoldInfo* OI = nullptr;
    allocateOrientifoldInfo_stage2(&OI);
    OI->KBC = 1;
    for (int k = 0; k < 7; k++)
        OI->CrosscapSigns[k] = -1;
    const int nr = OI->OrientifoldNr;
    const int before = QueryOrientifold();
    resetOrientifoldCrosscapParameters(OI, 2);
    EXPECT_EQ(OI->KBC, 0);
    EXPECT_EQ(std::vector<int>(OI->CrosscapSigns.X, OI->CrosscapSigns.X + 3),
              (std::vector<int>{1, 1, -1}));
    EXPECT_EQ(OI->OrientifoldNr, nr + 1);
    EXPECT_EQ(QueryOrientifold(), before + 1);

    OI->ConjugatesAvailable = OI->CrosscapsAvailable = OI->IshibashiMetricAvailable =
        OI->CorrectionPhasesAvailable = OI->GlobalAnomaliesAvailable = OI->OrientifoldNr;
    resetOrientifoldStorageInfo(OI);
    expectStamps(OI, -2);
}

// "reset Orientifold" on an unchanged invariant makes the user's record current but keeps its
// Klein bottle current and signs; a new invariant resets them.
TEST_F(Orientifolds, ResetKeepsTheUsersChoiceWhileTheBulkInvariantStays) {
    dType();
    OrientifoldInfo* user = getCurrentOrientifold();
    ASSERT_NE(user, nullptr);
    user->KBC = 1;
    user->CrosscapSigns[0] = -1;
    setSelectedOrientifold(allocateOrientifoldInfo_stage1());
    const int before = QueryOrientifold();
    EXPECT_EQ(crossbound::resetOrientifold(), 1);
    EXPECT_EQ(getCurrentOrientifold(), user);
    EXPECT_EQ(QueryOrientifold(), before + 1);
    EXPECT_EQ(user->KBC, 1);
    EXPECT_EQ(user->CrosscapSigns[0], -1);

    resetOrientifold(); // the facade's, as the command calls it
    EXPECT_EQ(QueryOrientifold(), before + 2);
    ASSERT_NE(simpleCurrentInvariant(1), nullptr);
    EXPECT_EQ(getCurrentOrientifold(), user);
    EXPECT_EQ(user->KBC, 0);
    EXPECT_EQ(user->CrosscapSigns[0], 1);
}

// The conjugation invariant of su(3) level 1 is exceptional; its standard Klein bottle is 1 on
// all three fields. With "Orientifold" off the reset leaves the Klein bottle alone.
TEST_F(Orientifolds, ExceptionalResetSetsTheStandardKleinBottle) {
    theory(1, 2, 1);
    invtest::outputOf([] { setConjugationInvariant(); });
    int* K = cbi::ExceptionalKlein.X;
    EXPECT_EQ(std::vector<int>(K, K + 3), (std::vector<int>{1, 1, 1}));
    EXPECT_EQ(cbi::KleinBottleModInvNr, QueryBulkInvariant());

    for (int i = 0; i < 3; i++)
        K[i] = 7;
    int* row = resetVectorCollection(cbi::KleinBottleStorage);
    row[0] = 1;
    addVectorToSpace(cbi::KleinBottleStorage);
    parameter("Orientifold") = 0;
    int before = QueryOrientifold();
    EXPECT_EQ(crossbound::resetOrientifold(), 0);
    EXPECT_EQ(QueryOrientifold(), before + 1);
    EXPECT_EQ(std::vector<int>(K, K + 3), (std::vector<int>{7, 7, 7}));
    EXPECT_EQ(cbi::KleinBottleStorage->Nfill, 0) << "found Klein bottles go with every reset";

    parameter("Orientifold") = 1;
    before = QueryOrientifold();
    EXPECT_EQ(crossbound::resetOrientifold(), 1);
    EXPECT_EQ(QueryOrientifold(), before + 1);
    K = cbi::ExceptionalKlein.X;
    EXPECT_EQ(std::vector<int>(K, K + 3), (std::vector<int>{1, 1, 1}));
}

// The bulk reset returns to the diagonal invariant in the local record: a stored invariant that
// was current stays what it is.
TEST_F(Orientifolds, ResetBulkReturnsToTheLocalDiagonalRecord) {
    dType();
    storeBulkInvariant("D", *getCurrentBulk(), 1, 0);
    BulkInvariant* stored = findNamedBulkInvariant("D");
    ASSERT_NE(stored, nullptr);
    makeCurrent(stored);
    const int generation = QueryBulkInvariant();
    parameter("Init_debug") = 1;
    testsupport::Captured cap;
    resetBulk(); // the facade's
    parameter("Init_debug") = 0;
    EXPECT_EQ(*getCurrentBulk(), getLocalBulk());
    EXPECT_EQ((*getCurrentBulk())->trivial, 1);
    EXPECT_EQ(invtest::dense(stored)[fieldOf({2})][fieldOf({2})], 2) << "the stored D invariant";
    EXPECT_EQ(QueryBulkInvariant(), generation + 1);
    EXPECT_EQ(getCurrentOrientifold(), cbi::User);
    const std::vector<std::string> lines = initLines(cap.out());
    ASSERT_FALSE(lines.empty());
    EXPECT_EQ(lines.front(), "Bulk invariant reset");
}

} // namespace
