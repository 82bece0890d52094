// The refusals of the commands of exceptional invariants, called as the interpreter calls them:
// on the D-type invariant of su(2) at level 4 (a simple-current invariant) and on the E6
// invariant |x0+x6|^2 + |x3+x7|^2 + |x4+x10|^2 of su(2) at level 10 (Dynkin labels), whose
// standard Klein bottle K_i = Z(i, i) is 1 on the Dynkin labels 0, 3, 4, 6, 7, 10 and 0 elsewhere.
#include "CommandsTestHelpers.h"

#include "boundary/CrossBoundTestHelpers.h"

#include "boundary/CrossBoundSets.h"
#include "commands/CommandsExceptional.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

using cmdtest::call;
using cmdtest::callWithTexts;
using cmdtest::has;
using testsupport::Captured;

namespace {

namespace cbi = crossbound_internal;

std::string said(Captured& cap) {
    return cap.out() + cap.err();
}

class ExceptionalCommands : public boundarytest::BoundaryTest {
protected:
    void SetUp() override {
        BoundaryTest::SetUp();
        freeCompleteBoundarySet(&completeBS);
    }
    void TearDown() override {
        BoundaryTest::TearDown();
        own.clear();
    }
    void dType() {
        theory(1, 1, 4);
        ASSERT_NE(simpleCurrentInvariant(1), nullptr);
    }
    void e6() {
        theory(1, 1, 10);
        own.emplace_back(invtest::fromMatrix(su2E6Matrix()).release());
        makeCurrent(own.back().get());
        ASSERT_EQ(TotalIshibashi(), 6);
    }
    static std::vector<int> installedKlein() {
        return {cbi::ExceptionalKlein.X, cbi::ExceptionalKlein.X + getTotalPrimaries()};
    }
    std::vector<std::unique_ptr<BulkInvariant>> own;
};

TEST_F(ExceptionalCommands, KleinBottleChoicesAreRefusedForSimpleCurrentInvariants) {
    dType();
    {
        Captured cap;
        EXPECT_EQ(callWithTexts(COM_select_klein, "klein", {}), 1);
        EXPECT_TRUE(has(said(cap), "Klein bottle choices are only allowed for exceptional MIPF's"));
    }
    {
        Captured cap;
        EXPECT_EQ(call(COM_select_klein_nr, "nr", {0}), 1);
        EXPECT_TRUE(has(said(cap), "Klein bottle choices are only allowed for exceptional MIPF's"));
    }
    Captured cap;
    EXPECT_EQ(call(COM_search_Klein, "Klein_bottle", {}), 0);
    EXPECT_TRUE(has(said(cap), "Arbitary Klein bottle choices are only allowed for exceptional "
                               "MIPF's\nUse the command \"make bulk exceptional\""));
    EXPECT_FALSE(has(said(cap), "Consistent Klein bottles"));
}

TEST_F(ExceptionalCommands, StoredKleinBottleNumbersAreChecked) {
    e6();
    {
        Captured cap;
        EXPECT_EQ(call(COM_select_klein_nr, "nr", {0}), -1);
        EXPECT_TRUE(has(said(cap), "No Klein bottles in storage")) << said(cap);
    }
    {
        Captured cap;
        call(COM_search_Klein, "Klein_bottle", {});
        ASSERT_TRUE(has(cap.out(), "  3: (X,Y)")) << cap.out();
        ASSERT_FALSE(has(cap.out(), "  4: "));
    }
    const std::vector<int> before = installedKlein();
    {
        Captured cap;
        EXPECT_EQ(call(COM_select_klein_nr, "nr", {4}), -1);
        EXPECT_TRUE(has(said(cap), "Klein bottle number out of range")) << said(cap);
        EXPECT_EQ(installedKlein(), before);
    }
    // Row 1 differs from the standard row 0 by -1 at the fields of Dynkin labels 3 and 7.
    Captured cap;
    EXPECT_EQ(call(COM_select_klein_nr, "nr", {1}), -1);
    EXPECT_EQ(said(cap), "");
    std::vector<int> row1 = before;
    row1[static_cast<std::size_t>(fieldOf({3}))] = -1;
    row1[static_cast<std::size_t>(fieldOf({7}))] = -1;
    EXPECT_EQ(installedKlein(), row1);
}

struct KleinEntryCase {
    std::vector<std::string> entries;
    int result;
    std::vector<std::string> messages; // each must be said; none said when empty
    int field, value;                  // installed at field; -1: nothing installed
};

// Field 1 is Dynkin label 10 (standard 1), field 2 Dynkin label 1 (standard 0); su(2) level 10
// has 11 fields.
const std::vector<KleinEntryCase> kleinEntryCases = {
    {{"1:3"}, -1, {"Klein bottle 1 out of range (3 > 1)"}, 1, 3},
    {{"1:-1"}, -1, {}, 1, -1},
    {{"2:1"},
     -1,
     {"Klein bottle 2 out of range (1 > 0)", "Klein bottle 2 has different parity than diagonal"},
     2,
     1},
    {{"6:x"}, -1, {"Invalid assignment: 6:x"}, -1, 0},
    {{"11:1"}, -1, {"Invalid assignment: 11:1"}, -1, 0},
    {{"1:3", "-1:1"}, -1, {"Invalid assignment: -1:1"}, -1, 0},
};

TEST_F(ExceptionalCommands, KleinEntriesAreCheckedAgainstTheStandardBottle) {
    e6();
    std::vector<int> standard(static_cast<std::size_t>(getTotalPrimaries()));
    resetExceptionalKleinBottle(standard.data());
    ASSERT_EQ(standard[1], 1);
    ASSERT_EQ(standard[2], 0);
    for (const KleinEntryCase& c : kleinEntryCases) {
        setKleinBottle(standard.data());
        const int counter = cbi::OrientifoldCounter;
        Captured cap;
        EXPECT_EQ(callWithTexts(COM_select_klein, "klein", c.entries), c.result) << c.entries[0];
        for (const std::string& m : c.messages)
            EXPECT_TRUE(has(said(cap), m)) << c.entries[0] << ": " << said(cap);
        if (c.messages.empty()) {
            EXPECT_EQ(said(cap), "") << c.entries[0];
        }
        std::vector<int> expected = standard;
        if (c.field >= 0)
            expected[static_cast<std::size_t>(c.field)] = c.value;
        EXPECT_EQ(installedKlein(), expected) << c.entries[0];
        EXPECT_EQ(cbi::OrientifoldCounter == counter, c.field < 0) << c.entries[0];
    }
}

TEST_F(ExceptionalCommands, ABoundarySetNeverStoredIsOutOfRange) {
    e6();
    Captured cap;
    EXPECT_EQ(call(COM_select_bound, "boundary_set", {0}), -1);
    EXPECT_TRUE(has(said(cap), "Number out of range")) << said(cap);
    EXPECT_EQ(own.back()->EDT->BoundariesLoaded, 0);
}

TEST_F(ExceptionalCommands, TableLookUpsWithNothingLoadedWriteZero) {
    e6();
    double re = 7.0, im = 7.0;
    {
        Captured cap;
        getExceptionalReflectionCoefficient(&ishibashi(0), &boundary(0), &re, &im);
        EXPECT_TRUE(has(said(cap), "Boundaries for this MIPF not available"));
    }
    EXPECT_EQ(re, 0.0);
    EXPECT_EQ(im, 0.0);
    re = im = 7.0;
    {
        Captured cap;
        getExceptionalCrosscap(0, &re, &im);
        EXPECT_TRUE(has(said(cap), "Crosscaps not available"));
    }
    EXPECT_EQ(re, 0.0);
    EXPECT_EQ(im, 0.0);
}

} // namespace
