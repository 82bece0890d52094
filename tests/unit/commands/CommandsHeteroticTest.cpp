// The heterotic commands as the interpreter calls them: their refusals, and "filter random",
// which draws only combinations of the effective center.
#include "CommandsTestHelpers.h"

#include "base/Defaults.h"
#include "base/Terminal.h"

#include "commands/CommandsHeterotic.h"
#include "commands/CommandsInternal.h"
#include "string/Heterotic.h"
#include "string/HeteroticInternal.h"
#include "tensor/Coset.h"

#include <gtest/gtest.h>

#include <set>
#include <string>
#include <vector>

using namespace cmdtest;

namespace {

int* parameterPointer(const char* name, const char* value) {
    if (!findInternalParameter(name))
        addInternalParameter(name, value, 'i', 0);
    return static_cast<int*>(getIntParPointer(name));
}

class HeteroticCommandsTest : public testing::Test {
protected:
    void SetUp() override {
        flushErrors();
        unbufferErrors();
        if (!findInternalParameter("Maxrank"))
            addInternalParameter("Maxrank", "20", 'i', 0);
        commands::NF = parameterPointer("Heterotic factors", "1");
        commands::SM = parameterPointer("Particle factors", "1");
        parameterPointer("old_algorithm", "0");
        parameterPointer("Graded", "0");
        // "compute heterotic" looks for earlier results below the output directory.
        for (const char* name : {"OutputDir", "OutputFilePrefix"})
            if (!findInternalParameter(name))
                addInternalParameter(name, "", 's', 1);
        changeDefault(findInternalParameter("OutputDir")->DF, out.path().c_str());
        changeDefault(findInternalParameter("OutputFilePrefix")->DF, "N");
        initializeHeterotic();
        TP = startWithEmptyProduct();
        // A1 at level 1 twice: the doublet alone has weight 1/4 and order 2, outside the
        // effective center; the two doublets together have weight 1/2.
        addTensorFactor(TP, SM_getData(1, 1, 1), 0);
        addTensorFactor(TP, SM_getData(1, 1, 1), 0);
        resetFilterCurrents(TP);
    }
    void TearDown() override {
        *commands::NF = 1;
        *commands::SM = 1;
        resetFilterCurrents(TP);
        resetCoset(TP);
        setCosetMode(0);
        setCurrentTotals(nullptr, nullptr);
        changeDefault(findInternalParameter("OutputDir")->DF, "HOME");
    }
    static std::string run(COM handler, const char* typed, std::vector<int> args, int rc) {
        Captured cap;
        EXPECT_EQ(call(handler, typed, std::move(args)), rc) << typed;
        return cap.out() + cap.err();
    }
    testsupport::TempDir out;
    TensorProduct* TP = nullptr;
};

TEST_F(HeteroticCommandsTest, FilterRandomDrawsOnlyEffectiveCenterCombinations) {
    run(COM_filter_random, "random", {0}, -1);
    EXPECT_EQ(getNumberOfFilterCurrents(), 0) << "depth 0 adds nothing";
    run(COM_filter_random, "random", {40}, -1);
    using heterotic_internal::HeteroticFilterGenerators;
    std::set<std::vector<int>> drawn;
    for (int g = 0; g < getNumberOfFilterCurrents(); g++) {
        const int* row = rowOf(&HeteroticFilterGenerators, g);
        drawn.insert({row[0], row[1]});
    }
    EXPECT_FALSE(drawn.empty());
    for (const std::vector<int>& J : drawn)
        EXPECT_TRUE(J == std::vector<int>({0, 0}) || J == std::vector<int>({1, 1}))
            << J[0] << "," << J[1];
}

// Any depth is accepted; the rounds run under a progress line and end at the user's stop.
TEST_F(HeteroticCommandsTest, FilterRandomEndsAtTheUsersStop) {
    stopSignal = 1;
    run(COM_filter_random, "random", {1000000}, -1);
    stopSignal = 0;
    EXPECT_EQ(getNumberOfFilterCurrents(), 0);
}

TEST_F(HeteroticCommandsTest, FilterPrintsTheCombinationAndNeedsOnePerFactor) {
    EXPECT_EQ(run(COM_filter, "filter", {1, 1}, -2), "adding  (1,1)\n");
    EXPECT_TRUE(has(run(COM_filter, "filter", {1}, 1), "Too few current components"));
    EXPECT_EQ(getNumberOfFilterCurrents(), 1);
}

TEST_F(HeteroticCommandsTest, RefusalsOfTheSetUpCommands) {
    *commands::NF = 2;
    EXPECT_TRUE(has(run(COM_sel_rep, "rep", {1}, 1),
                    "incorrect number of representation components (required: 2)"));
    EXPECT_EQ(run(COM_sel_rep, "rep", {1, 1}, -2), "");
    EXPECT_EQ(run(COM_sel_rep, "rep", {}, 0), "");
    *commands::NF = 3;
    EXPECT_TRUE(has(run(COM_compute_heterotic, "heterotic", {}, 1),
                    "\"Heterotic factors\" (3) exceeds the number of factors (2)"));
    *commands::NF = 2;
    ASSERT_EQ(call(COM_compute_heterotic, "heterotic", {}), 0);
    // Weight at most 1: the vacuum, one doublet and both doublets (1/2).
    EXPECT_EQ(getNumberOfPatternRoots(), 4);
    EXPECT_TRUE(has(run(COM_pattern_algebra, "algebra", {1, 2, 3}, 1),
                    "Incorrect number of roots (should be 4)"));
    EXPECT_EQ(run(COM_pattern_algebra, "algebra", {1, 0, 0, 4}, -4), "");
    *commands::SM = 2;
    std::string name = "Q";
    {
        int one = 1;
        std::vector<void*> slots{name.data(), name.data(), &one};
        Captured cap;
        EXPECT_EQ(COM_set_repname(slots.data() + 1, 2), 1);
        EXPECT_TRUE(has(cap.out() + cap.err(), "Too few current components")) << cap.err();
    }
    *commands::SM = 3;
    int a = 1, b = 1;
    std::vector<void*> slots{name.data(), name.data(), &a, &b};
    Captured cap;
    EXPECT_EQ(COM_set_repname(slots.data() + 1, 3), 1);
    EXPECT_TRUE(
        has(cap.out() + cap.err(), "\"Particle factors\" (3) exceeds the number of factors"))
        << cap.err();
}

} // namespace
