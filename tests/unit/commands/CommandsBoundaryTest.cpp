// The commands of the open-string labels, called as the interpreter calls them, on su(2) at level
// 20 (21 fields, so 21 labels of each kind for the diagonal invariant) and on su(3) at level 1
// with its conjugation invariant, which is not a simple-current invariant (one Ishibashi label,
// the vacuum).
#include "CommandsTestHelpers.h"

#include "base/Terminal.h"
#include "boundary/CrossBound.h"
#include "commands/CommandsBoundary.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>

using cmdtest::call;
using cmdtest::Captured;
using cmdtest::has;

namespace {

class BoundaryCommands : public testing::Test {
protected:
    void SetUp() override {
        flushErrors();
        unbufferErrors();
        cmdtest::installTheory();
        cmdtest::useBlock(1, 1, 20);
        Captured quiet;
        resetCurrentBulkToDiagonal();
    }
    void TearDown() override {
        {
            Captured quiet;
            resetCurrentBulkToDiagonal();
        }
        cmdtest::withdrawTheory();
        own.reset();
    }
    std::unique_ptr<BulkInvariant> own;
};

TEST_F(BoundaryCommands, CountsAndDisplays) {
    Captured cap;
    EXPECT_EQ(call(COM_tot_ishi, "ishibashi", {}), 0);
    EXPECT_EQ(call(COM_tot_bnd, "boundaries", {}), 0);
    EXPECT_EQ(call(COM_check_complete, "completeness", {}), 0);
    EXPECT_EQ(call(COM_browse_bound, "boundary", {20}), -1);
    EXPECT_EQ(call(COM_browse_bulk, "Ishibashi", {7}), -1);
    EXPECT_EQ(cap.out(),
              "21\n21\nNr. 20      20  \nIshibashi labels: (In total 21)\nNr. 7       7\n");
    EXPECT_EQ(cap.err(), "");
}

// A simple-current record of the trivial group with only the vacuum on its diagonal: one
// Ishibashi label against 21 boundaries.
TEST_F(BoundaryCommands, IncompleteInvariantIsReported) {
    own.reset(allocNewBulkInvariant(nullptr));
    BulkInvariant* bi = own.get();
    for (int i = 1; i < 21; i++) {
        bi->orbitlength[i] = bi->multiplicity[i] = 0;
        bi->orbits[i] = nullptr;
    }
    bi->orbits[0][1] = 0; // the current of the vacuum's diagonal state
    bi->trivial = 0;
    bi->IshibashiLabelCount = 1;
    {
        Captured quiet;
        setCurrentBulkInvariant(bi);
    }
    Captured cap;
    EXPECT_EQ(call(COM_check_complete, "completeness", {}), 0);
    EXPECT_TRUE(has(cap.err(), "Completeness violation")) << cap.err();
}

TEST_F(BoundaryCommands, ExceptionalInvariantHasNoBoundariesToShow) {
    cmdtest::useBlock(1, 2, 1);
    {
        Captured quiet;
        setConjugationInvariant();
    }
    ASSERT_EQ((*getCurrentBulk())->simpleCurrentInvariant, 0);
    for (COM handler : {COM_check_complete, COM_browse_bound}) {
        Captured cap;
        EXPECT_EQ(call(handler, "word", {}), 1);
        EXPECT_TRUE(has(cap.err(), "Boundaries not available")) << cap.err();
    }
    {
        Captured cap;
        EXPECT_EQ(call(COM_browse_bound_det, "boundary", {0}), 1);
        EXPECT_TRUE(has(cap.err(), "Boundaries not available")) << cap.err();
    }
    // The orbit displays refuse an exceptional invariant before asking for boundaries; the
    // coefficient commands refuse without reflection coefficients.
    for (COM handler : {COM_browse_boundary_orbit, COM_browse_Ishibashi_orbit}) {
        Captured cap;
        EXPECT_EQ(call(handler, "orbit", {0}), 1);
        EXPECT_TRUE(has(cap.err(), "Orbits not available for exceptional invariants")) << cap.err();
        EXPECT_FALSE(has(cap.err(), "Boundaries not available")) << cap.err();
    }
    for (COM handler : {COM_reflection, COM_NIMrep, COM_check_open_oriented}) {
        Captured cap;
        EXPECT_EQ(call(handler, "word", {}), 1);
        EXPECT_TRUE(has(cap.err(), "Reflection coefficients not available")) << cap.err();
    }
    {
        Captured cap;
        EXPECT_EQ(call(COM_bfus, "bfusion", {0, 0}), 1);
        EXPECT_TRUE(has(cap.err(), "Reflection coefficients not available")) << cap.err();
        EXPECT_EQ(cap.out(), "");
    }
    Captured cap;
    EXPECT_EQ(call(COM_browse_bulk, "Ishibashi", {}), 0);
    EXPECT_EQ(call(COM_reset_open, "diagonal_invariant", {}), 0);
    EXPECT_EQ((*getCurrentBulk())->trivial, 1) << "back to the diagonal invariant";
    EXPECT_EQ(call(COM_tot_ishi, "ishibashi", {}), 0);
    EXPECT_EQ(cap.out(), "Ishibashi labels: (In total 1)\nNr. 0       0\n3\n");
}

} // namespace

namespace {

// While the user's stop flag is set every annulus sum answers 2147483647; the commands built on
// them print nothing of it, not a matrix of that value.
TEST_F(BoundaryCommands, StoppedSumsPrintNothing) {
    {
        Captured quiet;
        ASSERT_EQ(TotalBoundaries(), 21);
    }
    stopSignal = 1;
    Captured cap;
    EXPECT_EQ(call(COM_NIMrep, "NIMrep", {}), 0);
    EXPECT_EQ(call(COM_NIMrep, "NIMrep", {2}), -1);
    EXPECT_EQ(call(COM_NIMrep, "NIMrep", {2, 3}), -2);
    EXPECT_EQ(call(COM_NIMrep, "NIMrep", {2, 3, 1}), -3);
    EXPECT_EQ(call(COM_bfus, "bfusion", {2, 3}), -2);
    EXPECT_EQ(call(COM_check_open_oriented, "oriented_annulus", {}), 0);
    EXPECT_EQ(call(COM_check_nimfus, "NIMrep", {1, 1, 0, 0}), -4);
    stopSignal = 0;
    EXPECT_EQ(cap.out(), "");
    EXPECT_EQ(cap.err(), "");
}

} // namespace
