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
