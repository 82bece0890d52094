// Entering a tensor product through its commands: the factors, the currents, the resets and the
// modes and counts they leave behind. The handlers are called as the interpreter calls them.
#include "CommandsTestHelpers.h"

#include "commands/CommandsExtensions.h"
#include "commands/CommandsInternal.h"
#include "modular/ModularExtensions.h"
#include "tensor/Coset.h"

#include <gtest/gtest.h>

#include <climits>
#include <string>
#include <vector>

using namespace cmdtest;

namespace {

class TensorCommandsTest : public testing::Test {
protected:
    void SetUp() override {
        flushErrors();
        unbufferErrors();
        if (!findInternalParameter("Maxrank"))
            addInternalParameter("Maxrank", "20", 'i', 0);
        TP = startWithEmptyProduct();
    }
    void TearDown() override {
        resetCoset(TP);
        setCosetMode(0);
        setCurrentTotals(nullptr, nullptr);
    }
    // Runs a handler and returns what it printed and reported.
    static std::string run(COM handler, const char* typed, std::vector<int> args, int expectedRc) {
        Captured cap;
        EXPECT_EQ(call(handler, typed, std::move(args)), expectedRc) << typed;
        return cap.out() + cap.err();
    }
    TensorProduct* TP = nullptr;
};

TEST_F(TensorCommandsTest, FactorsSwitchToTensorMode) {
    const int before = QueryTensor();
    std::string out = run(COM_g, "a", {1, 2}, -2);
    EXPECT_TRUE(has(out, "Switching to tensor mode")) << out;
    EXPECT_TRUE(has(out, "Mode: tensor\n")) << out;
    EXPECT_EQ(getCosetMode(), 1);
    EXPECT_TRUE(TensorMode->enabled);
    EXPECT_FALSE(SingleAlgebraMode->enabled || ModularMode->enabled || BoundaryMode->enabled);
    EXPECT_EQ(getTotalPrimaries(), INT_MAX) << "labels are not limited while entering";
    out = run(COM_h, "a", {1, 1}, -2);
    EXPECT_FALSE(has(out, "Switching")) << out;
    EXPECT_EQ(QueryTensor(), before + 2);
    ASSERT_EQ(TP->NTensor, 2);
    EXPECT_EQ(getGH(TP, 0), 0);
    EXPECT_EQ(getGH(TP, 1), 1);
    EXPECT_EQ(getTensorFactor(TP, 1), SM_getData(1, 1, 1));
    EXPECT_EQ(run(COM_status, "status", {}, 0), "Mode: tensor\nG A 1 2\nH A 1 1\n");
}

// The refusal is reported even after the one-time note on switching modes has been shown.
TEST_F(TensorCommandsTest, TwistedFactorsAreRefused) {
    run(COM_g, "a", {1, 1}, -2);
    for (const char* word : {"at", "bc"}) {
        setCosetMode(0);
        const std::string out = run(COM_g, word, {1, 2}, 1);
        EXPECT_TRUE(has(out, "Tensor products of twisted algebras are not accepted")) << out;
    }
    EXPECT_EQ(TP->NTensor, 1);
}

// A c=1 orbifold is a factor like any block; its parameter must be positive.
TEST_F(TensorCommandsTest, OrbifoldFactors) {
    run(COM_tensor, "tensor", {}, 0);
    run(COM_g, "orbifold", {3}, -1);
    EXPECT_EQ(TP->NTensor, 1);
    EXPECT_TRUE(has(run(COM_g, "orbifold", {0}, 1), "Invalid input"));
    EXPECT_EQ(TP->NTensor, 1);
}

// "g cft" takes a block of the store by its name.
TEST_F(TensorCommandsTest, FactorByName) {
    run(COM_tensor, "tensor", {}, 0);
    std::string word = "cft";
    std::string name = SM_getAlgebraName(SM_getData(1, 1, 3));
    std::vector<void*> slots{word.data(), name.data()};
    Captured cap;
    EXPECT_EQ(COM_h(slots.data() + 1, 1), -1);
    ASSERT_EQ(TP->NTensor, 1);
    EXPECT_EQ(getTensorFactor(TP, 0), SM_getData(1, 1, 3));
    EXPECT_EQ(getGH(TP, 0), 1);
}

TEST_F(TensorCommandsTest, Currents) {
    run(COM_tensor, "tensor", {}, 0);
    run(COM_g, "a", {1, 2}, -2);
    run(COM_g, "a", {1, 2}, -2);
    EXPECT_TRUE(has(run(COM_current, "current", {1}, 1), "Too few current components"));
    EXPECT_EQ(run(COM_current, "current", {1, 1}, -2), "");
    EXPECT_EQ(getTotalPrimaries(), INT_MAX);
    // (J, 1) has weight 1/2 + 0.
    EXPECT_TRUE(has(run(COM_current, "current", {1, 0}, 1), "Non-integer conformal weight"));
    EXPECT_EQ(run(COM_current, "current", {1, 1}, 1), "") << "a repeated current adds nothing";
    EXPECT_EQ(TP->Currents->Nfill, 1);
    EXPECT_EQ(run(COM_status, "status", {}, 0), "Mode: tensor\nG A 1 2\nG A 1 2\ncurrent 1 1 \n");
}

TEST_F(TensorCommandsTest, Resets) {
    run(COM_g, "a", {1, 2}, -2);
    run(COM_g, "a", {1, 2}, -2);
    run(COM_current, "current", {1, 1}, -2);
    EXPECT_EQ(run(COM_reset_currents, "currents", {}, 0), "Mode: tensor\nG A 1 2\nG A 1 2\n");
    EXPECT_EQ(TP->Currents->Nfill, 0);
    EXPECT_EQ(TP->NTensor, 2);
    // With factors, the counts are the product's (nothing computed yet).
    EXPECT_EQ(getTotalPrimaries(), 0);
    EXPECT_EQ(getTotalCurrents(), 0);
    const int before = QueryTensor();
    EXPECT_EQ(run(COM_reset, "tensor", {}, 0), "Mode: tensor\n");
    EXPECT_EQ(TP->NTensor, 0);
    EXPECT_EQ(QueryTensor(), before + 1);
    EXPECT_TRUE(TensorMode->enabled);
    EXPECT_FALSE(SingleAlgebraMode->enabled);
}

// A1_2 x A1_2 extended by (J,J) is su(4)_1 with four fields; a number outside the list of
// extensions is refused before anything is discarded, so that theory stays with its modular data
// and its extension number.
TEST_F(TensorCommandsTest, WrongExtensionNumberKeepsTheSelectedOne) {
    run(COM_g, "a", {1, 2}, -2);
    run(COM_g, "a", {1, 2}, -2);
    run(COM_collect_extensions, "extensions", {}, 0);
    run(COM_select_extension, "extension", {1}, -1);
    ASSERT_EQ(TP->Currents->Nfill, 1);
    ASSERT_EQ(getTotalPrimaries(), 4);
    for (int nr : {2, -1}) {
        EXPECT_TRUE(has(run(COM_select_extension, "extension", {nr}, -1),
                        "Extension number " + std::to_string(nr) + " does not exist"));
        EXPECT_EQ(TP->Currents->Nfill, 1);
        EXPECT_EQ(getTotalPrimaries(), 4);
        EXPECT_TRUE(ModularMode->enabled);
        EXPECT_EQ(getExtensionNumber(TP), 1);
    }
}

} // namespace
