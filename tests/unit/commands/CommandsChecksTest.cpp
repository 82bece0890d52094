// The commands on P and the checks of modular data, called as the interpreter calls them: what
// they print on real blocks and what they refuse.
#include "CommandsTestHelpers.h"

#include "base/Memory.h"
#include "commands/CommandsChecks.h"
#include "store/Storemanager.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

using cmdtest::call;
using cmdtest::Captured;
using cmdtest::has;

namespace {

class CheckCommands : public testing::Test {
protected:
    void SetUp() override {
        cmdtest::startSingleAlgebraMode();
        // The work area the printers write into, as start-up makes it.
        static const bool made = initMemory("ModText", 'c', 0, 50000) != nullptr;
        ASSERT_TRUE(made);
    }
    void TearDown() override { cmdtest::withdrawTheory(); }
    void use(int type, int rank, int level) {
        commands::makeBlockCurrent(SM_getData(type, rank, level));
        Captured quiet;
        COM_compute(nullptr, 0);
    }
};

TEST_F(CheckCommands, ModularAndHopfReportsOnAFixedPointTheory) {
    use(1, 1, 4);
    Captured modular;
    EXPECT_EQ(call(COM_check_mod, "modular", {}), 0);
    EXPECT_TRUE(modular.out().starts_with("ST^3 = S^2 and unitarity test OK\nAll trace tests OK\n"
                                          "Maximal deviation: "))
        << modular.out();
    Captured hopf;
    EXPECT_EQ(call(COM_check_hopf, "hopf", {}), 0);
    EXPECT_TRUE(hopf.out().starts_with("All tests OK\nMaximal deviation: ")) << hopf.out();
}

// The mirrored element of a row and column both printed appears once.
TEST_F(CheckCommands, PmatrixPrintsTheUpperTriangle) {
    use(1, 1, 2);
    Captured all;
    EXPECT_EQ(call(COM_pmatrix, "pmatrix", {}), 0);
    int lines = 0;
    for (char c : all.out())
        lines += c == '\n';
    EXPECT_EQ(lines, 6 + 2) << all.out();
    EXPECT_TRUE(has(all.out(), "P(0,2)")) << all.out();
    EXPECT_FALSE(has(all.out(), "P(2,0)")) << all.out();
    Captured row;
    EXPECT_EQ(call(COM_pmatrix, "pmatrix", {2}), -1);
    EXPECT_TRUE(has(row.out(), "P(2,0)")) << row.out();
}

TEST_F(CheckCommands, FixedPointFusionRefusals) {
    use(1, 1, 3);
    {
        Captured noFixedPoints;
        EXPECT_EQ(call(COM_fp_fusion, "fp_fusion", {1, 0, 0, 0}), 1);
        EXPECT_TRUE(has(noFixedPoints.err(), "Current 1 has no fixed points"))
            << noFixedPoints.err();
    }
    use(1, 1, 4);
    Captured notFixed;
    EXPECT_EQ(call(COM_fp_fusion, "fp_fusion", {1, 0, 4, 2}), 1);
    EXPECT_TRUE(has(notFixed.err(), "Current 1 does not fix field 2")) << notFixed.err();
}

// E7 and E8 lack the analytic S and are refused; E6 is not refused: the computation itself says
// what it cannot do.
TEST_F(CheckCommands, GaussSumCheckOfExceptionalAlgebras) {
    for (int rank : {7, 8}) {
        use(5, rank, 1);
        Captured refused;
        EXPECT_EQ(call(COM_brix, "P-Gauss", {0, 0}), 1);
        EXPECT_TRUE(has(refused.err(), "This command is not available for this algebra"));
    }
    use(5, 6, 1);
    Captured runs;
    call(COM_brix, "P-Gauss", {0, 0});
    EXPECT_FALSE(has(runs.err(), "This command is not available")) << runs.err();
    EXPECT_TRUE(has(runs.err(), "Analytic S for exceptional type E not available")) << runs.err();
}

// Resolved fusion and the eta relation need the fixed-point theories of a single block.
TEST_F(CheckCommands, SingleBlockChecksAreRefusedInTensorMode) {
    cmdtest::installTheory();
    setCosetMode(1);
    Captured single;
    EXPECT_EQ(call(COM_check_fusion, "fusion", {0, 0, 0}), 1);
    EXPECT_TRUE(has(single.err(), "This command works only in single algebra mode"));
    Captured eta;
    EXPECT_EQ(call(COM_checkEtaRelation, "eta", {}), 1);
    EXPECT_TRUE(has(eta.err(), "Feature not available for tensor products"));
    setCosetMode(0);
}

// The sign of the Gauss sum: (-1)^((a, b + rho) + c |a|^2 / 2). For su(2) with a = alpha (Dynkin
// label 2, |alpha|^2 = 2) and b = 0 the exponent is 1 + c.
TEST(PmatrixSign, Su2Exponent) {
    const double alpha[] = {2.0}, zero[] = {0.0};
    EXPECT_EQ(getPmatrixSign(1, 1, alpha, zero, 6), -1);
    EXPECT_EQ(getPmatrixSign(1, 1, alpha, zero, 5), 1);
    EXPECT_EQ(getPmatrixSign(1, 1, zero, zero, 5), 1);
}

} // namespace
