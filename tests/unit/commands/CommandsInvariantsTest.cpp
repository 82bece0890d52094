// The commands of the invariant store and of the selection criteria, on su(3) at level 1 (three
// fields, 1 and 2 conjugate) and so(8) at level 1 (four fields, where the cyclic permutations of
// 1, 2 and 3 are invariants). The handlers are called as the interpreter calls them: the typed
// last word, then the converted arguments.
#include "CommandsTestHelpers.h"

#include "commands/CommandsInternal.h"
#include "commands/CommandsInvariants.h"
#include "modular/Invariants.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

using cmdtest::Captured;
using cmdtest::has;

namespace {

int call(COM handler, std::vector<int> args = {}) {
    std::string word = "word";
    std::vector<void*> slots{word.data()};
    for (int& a : args)
        slots.push_back(&a);
    return handler(slots.data() + 1, static_cast<int>(args.size()));
}

int callWithTexts(COM handler, std::vector<std::string> texts) {
    std::string word = "word";
    std::vector<void*> slots{word.data()};
    for (std::string& t : texts)
        slots.push_back(t.data());
    return handler(slots.data() + 1, static_cast<int>(texts.size()));
}

class InvariantCommands : public testing::Test {
protected:
    void SetUp() override {
        cmdtest::startSingleAlgebraMode();
        for (const char* name : {"MIPF random", "loop start"})
            addInternalParameter(name, "0", 'i', 0);
        addInternalParameter("loop end", "2000000000", 'i', 0);
        initializeInvariants();
        compute(1, 2, 1);
    }
    void TearDown() override {
        {
            // A status line left standing would run into what the next test captures.
            Captured quiet;
            Print("%s", "");
        }
        setIntPar("MIPF random", 0);
        resetSelectionCriteria();
        resetAlgebraRequirements();
        resetInvariantStore();
        setCosetMode(0);
    }
    static void compute(int type, int rank, int level) {
        Captured quiet;
        disableModular();
        commands::makeBlockCurrent(SM_getData(type, rank, level));
        COM_compute(nullptr, 0);
    }
    static std::string criteria() {
        Captured cap;
        EXPECT_EQ(call(COM_show_sel_crit), 0);
        return cap.out();
    }
};

TEST_F(InvariantCommands, CurrentCriteriaAreSetAndCleared) {
    EXPECT_EQ(call(COM_sel_left, {1, 2}), -2);
    EXPECT_EQ(criteria(), "Required left currents (all):  1 2\n");
    EXPECT_EQ(call(COM_sel_right_any, {2}), -1);
    EXPECT_EQ(call(COM_forbid_right, {0}), -1);
    EXPECT_EQ(criteria(), "Required left currents (all):  1 2\n"
                          "Required right currents (any):  2\n"
                          "Forbidden right currents:  0\n");
    EXPECT_EQ(call(COM_sel_left), 0);
    EXPECT_EQ(call(COM_sel_right_any), 0);
    EXPECT_EQ(call(COM_forbid_right), 0);
    EXPECT_EQ(criteria(), "No selection criteria\n");
}

// Each command keeps its own list: using one does not change what another has set.
TEST_F(InvariantCommands, EachCriterionCommandOwnsItsList) {
    call(COM_sel_left, {1});
    call(COM_forbid_left, {2, 0});
    call(COM_sel_left, {2, 1, 0});
    EXPECT_EQ(criteria(), "Required left currents (all):  2 1 0\nForbidden left currents:  2 0\n");
}

TEST_F(InvariantCommands, AutomorphismPairsAndTheirRefusal) {
    EXPECT_EQ(callWithTexts(COM_sel_auto, {"1:2", "2:1"}), -2);
    EXPECT_EQ(criteria(), "Selection restricted to automorphism invariants\n"
                          "Required pairings:  1:2 2:1\n");
    EXPECT_EQ(callWithTexts(COM_sel_auto, {"of"}), -1);
    EXPECT_EQ(criteria(), "No selection criteria\n");
    EXPECT_EQ(callWithTexts(COM_sel_auto, {}), 0);
    EXPECT_EQ(criteria(), "Selection restricted to automorphism invariants\n")
        << "no pairs: any automorphism";
    for (const char* bad : {"1:x", "12", "a:2"}) {
        Captured cap;
        EXPECT_EQ(callWithTexts(COM_sel_auto, {"1:2", bad}), 1);
        EXPECT_TRUE(has(cap.err(), std::string("Invalid argument: ") + bad)) << cap.err();
    }
}

TEST_F(InvariantCommands, AutoselectIsRefusedWhileScansAreRandom) {
    EXPECT_EQ(call(COM_set_autosel, {5}), -1);
    EXPECT_EQ(criteria(), "Auto selection: nr. 5\n");
    EXPECT_EQ(call(COM_set_sel_int), 0);
    EXPECT_EQ(criteria(), "No selection criteria\n");
    setIntPar("MIPF random", 1000);
    Captured cap;
    EXPECT_EQ(call(COM_set_autosel, {5}), -1);
    EXPECT_TRUE(has(cap.err(), "Autoselect is inconsistent with randomization")) << cap.err();
    EXPECT_EQ(criteria(), "No selection criteria\n");
}

TEST_F(InvariantCommands, ClearingTheLoopCommandBoundsTheLoops) {
    int* loopEnd = static_cast<int*>(getIntParPointer("loop end"));
    EXPECT_EQ(callWithTexts(COM_set_loop_com, {"browse MIPF"}), -1);
    EXPECT_EQ(*loopEnd, 2000000000);
    EXPECT_EQ(callWithTexts(COM_set_loop_com, {"OFF"}), -1);
    EXPECT_EQ(*loopEnd, 2000000);
    EXPECT_EQ(call(COM_reset_invariants), 0);
    EXPECT_EQ(*loopEnd, 2000000000);
}

TEST_F(InvariantCommands, StoreRefusesANameInUse) {
    {
        Captured cap;
        EXPECT_EQ(call(COM_tot_inv), 0);
        EXPECT_EQ(cap.out(), "1\n") << "the diagonal invariant";
    }
    Captured cap;
    call(COM_set_conjug);
    EXPECT_EQ(callWithTexts(COM_store_bulk, {"C"}), -1);
    EXPECT_EQ(call(COM_store_bulk), 0) << "already present: not a failure";
    EXPECT_EQ(callWithTexts(COM_store_bulk, {"C"}), 1);
    EXPECT_TRUE(has(cap.err(), "Name \"C\n already in use")) << cap.err();
    EXPECT_TRUE(has(cap.out(), "Modular invariant stored as \"C\"\n")) << cap.out();
    EXPECT_EQ(TotalInvariants(), 1) << "a given name takes no automatic number";
}

TEST_F(InvariantCommands, ProductsOfNamedInvariants) {
    Captured cap;
    call(COM_set_conjug);
    call(COM_store_bulk);
    EXPECT_EQ(callWithTexts(COM_mult_bulk, {"1", "1"}), -2);
    EXPECT_EQ(callWithTexts(COM_mult_bulk, {"1", "C", "P"}), 1);
    EXPECT_TRUE(has(cap.err(), "Invariant C not found")) << cap.err();
    EXPECT_TRUE(has(cap.out(), "\n   (0)^2 + (1)^2 + (2)^2\n")) << "displayed: " << cap.out();
    EXPECT_EQ(TotalInvariants(), 2);
    EXPECT_EQ(callWithTexts(COM_browse_bulkinvariant, {"nothing"}), 1);
}

TEST_F(InvariantCommands, ClosingAnEmptyStorePrintsNothing) {
    call(COM_reset_invariants);
    Captured cap;
    EXPECT_EQ(call(COM_close_mult), 0);
    EXPECT_EQ(cap.out(), "");
}

// The 3-cycle s and the diagonal invariant close to {1, s, s^2}. s^2 is found at 1 x 1; the count
// read afterwards carries the loops on to 1 x 2 and the row of 2, while the row of 0 had ended.
TEST_F(InvariantCommands, ClosureMultipliesWhatItFindsOnTheWay) {
    compute(4, 4, 1);
    std::unique_ptr<BulkInvariant> s(allocNewBulkInvariant(nullptr));
    const int partner[] = {0, 2, 3, 1};
    for (int i = 0; i < 4; i++)
        s->orbits[i][0] = partner[i];
    s->trivial = s->simpleCurrentInvariant = s->symmetric = 0;
    storeBulkInvariant(nullptr, s.get(), 1, 0);
    Captured cap;
    EXPECT_EQ(call(COM_close_mult_display), 0);
    const std::string& out = cap.out();
    int products = 0;
    for (std::size_t at = out.find("Computing"); at != std::string::npos;
         at = out.find("Computing", at + 1))
        products++;
    EXPECT_EQ(products, 8) << out;
    EXPECT_TRUE(has(out, "Computing 1 x 2 \n")) << out;
    EXPECT_TRUE(has(out, "Computing 2 x 2 \n")) << out;
    EXPECT_FALSE(has(out, "Computing 0 x 2")) << out;
    EXPECT_TRUE(has(out, "Modular invariant stored as \"Invariant_2\"\n")) << out;
    ASSERT_EQ(TotalInvariants(), 3);
    BulkInvariant* square = findNamedBulkInvariant("Invariant_2");
    EXPECT_EQ(square->orbits[1][0], 3) << "s^2 maps 1 to 3";
    EXPECT_EQ(square->orbits[2][0], 1);
    EXPECT_EQ(square->orbits[3][0], 2);
}

TEST_F(InvariantCommands, ConjugatingTheDiagonalInvariantOfASelfConjugateTheoryFindsIt) {
    compute(1, 1, 4);
    Captured cap;
    EXPECT_EQ(call(COM_conj_bulk), 0);
    EXPECT_EQ(*getCurrentBulk(), findNamedBulkInvariant("Invariant_0"));
    EXPECT_EQ(TotalInvariants(), 1);
}

} // namespace

// ---- The simple-current search ----

class SearchCommands : public InvariantCommands {
protected:
    void SetUp() override {
        InvariantCommands::SetUp();
        addInternalParameter("Reject permutations", "ON", 't', 0);
        addInternalParameter("Invariant info_level", "0", 'i', 0);
        initializeInvariants();
        setSubgroupStart(-1, -1);
    }
    void TearDown() override {
        setIntPar("Reject permutations", 1);
        setIntPar("Invariant info_level", 0);
        call(COM_set_sel_int);
        InvariantCommands::TearDown();
    }
};

// The closure of the one current of su(16) at level 2 is all sixteen currents, more than the
// typed count and ten; J has weight 15/16 and order 16, so the subgroup is in the effective
// center and has one invariant.
// A list too short for the closure would lose its guard, which the next regrowth of the list
// reports. J^2 has weight 7/4 and order 8: its subgroup has one invariant too.
TEST_F(SearchCommands, AGeneratorListHoldsItsWholeClosure) {
    compute(1, 15, 2);
    Captured cap;
    EXPECT_EQ(call(COM_comp_inv, {1}), -1);
    EXPECT_EQ(call(COM_comp_inv, {2, 4, 6, 8, 10, 12, 14, 2, 4, 6, 8, 10, 12, 14}), -14);
    const std::string out = cap.out();
    const std::size_t first = out.find("\nTotal number: 1\n");
    ASSERT_NE(first, std::string::npos) << out;
    EXPECT_NE(out.find("\nTotal number: 1\n", first + 1), std::string::npos) << out;
    EXPECT_FALSE(has(out, "overflow") || has(cap.err(), "overflow")) << out << cap.err();
}

TEST_F(SearchCommands, MoreGeneratorsThanCurrentsAreRefused) {
    compute(1, 1, 4);
    for (COM handler : {COM_comp_inv, COM_set_bulk}) {
        Captured cap;
        EXPECT_EQ(call(handler, {1, 1, 1}), 1);
        EXPECT_TRUE(has(cap.err(), "More generators than total order")) << cap.err();
    }
}

// su(2) level 4: the D invariant (0+1)^2 + 2*(4)^2 becomes current.
TEST_F(SearchCommands, AutomaticChoiceOfTheInvariantOfASubgroup) {
    compute(1, 1, 4);
    call(COM_set_autosel, {1});
    Captured cap;
    EXPECT_EQ(call(COM_set_bulk, {1}), -1);
    BulkInvariant* D = (*getCurrentBulk());
    EXPECT_EQ(D->trivial, 0);
    EXPECT_EQ(D->multiplicity[4], 2);
    EXPECT_EQ(D->orbitlength[0], 2);
}

// su(2) level 3: the current has weight 3/4 and order 2, outside the effective center.
TEST_F(SearchCommands, ACurrentOutsideTheEffectiveCenterIsRemoved) {
    compute(1, 1, 3);
    call(COM_set_autosel, {1});
    Captured cap;
    EXPECT_EQ(call(COM_set_bulk, {1}), -1);
    EXPECT_TRUE(has(cap.err(), "Current 1 not in effective center; Removed")) << cap.err();
    EXPECT_TRUE(has(cap.err(), "No currents specified; assuming trivial subgroup")) << cap.err();
    EXPECT_TRUE(has(cap.out(), "Diagonal invariant selected\n")) << cap.out();
    EXPECT_EQ((*getCurrentBulk())->trivial, 1);
}

// so(8) level 1 without reduction: six invariants numbered 0 to 5. The numbers are visited in
// increasing order whatever order they are typed in; at info level 2 each visited one shows
// its X matrix.
TEST_F(SearchCommands, ChosenNumbersAreSortedBeforeTheScan) {
    compute(4, 4, 1);
    setIntPar("Reject permutations", 0);
    setIntPar("Invariant info_level", 2);
    Captured cap;
    EXPECT_EQ(call(COM_scan_MIPFloop, {5, 1, 3}), -3);
    const std::string& out = cap.out();
    int visited = 0;
    for (std::size_t at = out.find("Matrix X:"); at != std::string::npos;
         at = out.find("Matrix X:", at + 1))
        visited++;
    EXPECT_EQ(visited, 3) << out;
    EXPECT_TRUE(has(out, "Invariant found\n")) << out;
    EXPECT_EQ((*getCurrentBulk())->trivial, 1) << "the current invariant comes back";
}

TEST_F(SearchCommands, ScanningChosenNumbersNeedsNumbers) {
    compute(1, 1, 4);
    Captured cap;
    EXPECT_EQ(call(COM_scan_MIPFloop), 1);
    EXPECT_TRUE(has(cap.err(), "No arguments given")) << cap.err();
}
