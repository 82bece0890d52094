// The fusing-matrix commands called as the interpreter calls them: their guards and the matrix
// display of a quadruple without couplings.
#include "CommandsTestHelpers.h"

#include "fusing/Fusing.h"

#include <gtest/gtest.h>

#include <string>

using cmdtest::call;
using cmdtest::Captured;
using cmdtest::has;

namespace {

class FusingCommands : public testing::Test {
protected:
    void SetUp() override { cmdtest::startSingleAlgebraMode(); }
    void TearDown() override { cmdtest::withdrawTheory(); }
    // The solver writes its sign-flip files in the working directory.
    testsupport::TempWorkingDir workDir;
};

TEST_F(FusingCommands, GuardsOfTheMatrixAndTheBraidingSign) {
    cmdtest::useBlock(1, 1, 2);
    {
        Captured cap;
        EXPECT_EQ(call(COM_fusing_matrix, "matrix", {0, 0, 0, 0}), 1);
        EXPECT_TRUE(has(cap.err(), "Fusing matrices not available for this algebra")) << cap.err();
    }
    {
        Captured cap;
        EXPECT_EQ(call(COM_braidingsign, "epsilon", {0, 0, 0}), 1);
        EXPECT_TRUE(has(cap.err(), "Brading signs not available for this algebra")) << cap.err();
    }
    cmdtest::useBlock(0, 4, 0);
    setCosetMode(1);
    for (COM handler : {COM_fusing_matrix, COM_braidingsign}) {
        Captured cap;
        EXPECT_EQ(call(handler, "x", {0, 0, 0, 0}), 1);
        EXPECT_TRUE(has(cap.err(), "This command only works in single algebra mode")) << cap.err();
        EXPECT_EQ(cap.out(), "");
    }
    setCosetMode(0);
}

TEST_F(FusingCommands, QuadrupleWithoutCouplingsAndForbiddenBraiding) {
    cmdtest::useBlock(0, 4, 0);
    Captured cap;
    EXPECT_EQ(call(COM_fusing_matrix, "matrix", {1, 1, 1, 0}), -4);
    EXPECT_EQ(call(COM_braidingsign, "epsilon", {1, 1, 3}), -3);
    EXPECT_EQ(call(COM_fusing_matrix, "matrix", {1, 1, 1, 1}), -4);
    EXPECT_EQ(cap.out(), "Fusing 1 1 1 0\nThis fusing matrix vanishes (no channels)\n"
                         "No channels\n"
                         "Fusing 1 1 1 1\nChannels (cols=q):   (2)\nChannels (rows=p):   (2)\n"
                         "  1.000 \n");
}

// A twist field of the orbifold has couplings but no matrix: both reports, and the command fails.
TEST_F(FusingCommands, TwistFieldMatrixIsRefused) {
    SpectrumData* sd = cmdtest::useBlock(7, 4, 0);
    int twist = 0;
    while (SM_getRep(sd, twist)[0] < 2)
        twist++;
    Captured cap;
    EXPECT_EQ(call(COM_fusing_matrix, "matrix", {twist, twist, 0, 0}), 1);
    EXPECT_TRUE(has(cap.err(), "Fusing matrices for twisted fields are not (yet) available"))
        << cap.err();
    EXPECT_TRUE(has(cap.err(), "This fusing matrix is not available")) << cap.err();
    EXPECT_EQ(cap.out(),
              "Fusing " + std::to_string(twist) + " " + std::to_string(twist) + " 0 0\n");
}

// The solver stops the command line when the signs have no solution and when the enumeration
// of free signs reaches its limit; a complete run consumes its argument. A boson of three fields
// has weights 0, 1/6, 2/3, which no braiding with signs alone matches.
TEST_F(FusingCommands, SolverResults) {
    struct Case {
        int fields, limit, result;
        bool noSolution;
    };
    for (const Case& c : {Case{3, 100000, 1, true}, Case{4, 1, 1, false}, Case{4, 2, -1, false}}) {
        SCOPED_TRACE(c.fields * 10 + c.limit);
        cmdtest::useBlock(0, c.fields, 0);
        setFusingSolutionLimit(c.limit);
        Captured cap;
        EXPECT_EQ(call(COM_find_fusing, "solve", {0}), c.result);
        EXPECT_EQ(has(cap.out(), "NO SOLUTION\n"), c.noSolution);
        EXPECT_EQ(has(cap.out(), "Too many solutions\n"), c.limit == 1);
    }
    setFusingSolutionLimit(100000);
}

} // namespace
