// Bounds and kernel of small tadpole systems, worked out by hand. On su(3) level 1 (D = 24,
// multiplicity 4096) the loop variables are N_0/2 for the symplectic boundary and N for the
// unitary pair, and the one independent row is N_0/2 + N = 2048.
#include "string/TadpoleTestHelpers.h"

#include "numeric/Equations.h"
#include "string/TadpoleBounds.h"
#include "string/TadpoleSolver.h"

#include <gtest/gtest.h>

#include <cstdarg>
#include <cstdio>
#include <string>
#include <vector>

using tadpoletest::TadpoleTest;

namespace {

std::vector<int> range(const int* v, int n) {
    return std::vector<int>(v, v + n);
}

std::vector<std::string> traced;
void collectTrace(const char* fmt, ...) {
    char line[200];
    va_list ap;
    va_start(ap, fmt);
    std::vsnprintf(line, sizeof line, fmt, ap);
    va_end(ap);
    traced.emplace_back(line);
}

class Su3Bounds : public TadpoleTest {
protected:
    void SetUp() override {
        BoundaryTest::SetUp();
        startWithEquations(1, 2, 1, 2);
    }
    static EquationData& ED() { return *getTadpoleEquationPointer(); }
    // The kernel of N_0/2 + N = 0 with one negative tag: the tag's column.
    static int tagOfOnlyVector() {
        const KernelData* KD = getTadpoleKernel();
        const int* v = KD->Kernel.X;
        return v[0] == -1 ? 0 : 1;
    }
};

// The first row alone bounds both variables by 2048; the constant column is pinned to 1.
TEST_F(Su3Bounds, InitialBoundsFromTheIdentityRow) {
    EXPECT_EQ(range(ED().min, 3), (std::vector<int>{0, 0, 1}));
    EXPECT_EQ(range(ED().max, 3), (std::vector<int>{2048, 2048, 1}));
    EXPECT_EQ(range(ED().ker_max, 3), (std::vector<int>{2048, 2048, 1}));
    EXPECT_EQ(ED().forbidden_range, 0);
    EXPECT_EQ(trivialBoundCheck(), 0);
    EXPECT_EQ(getMaxPar(), 1) << "two variables, one independent row";
}

// One kernel direction: trading N_0/2 against N. Its tag is pinned to its minimum in the kernel
// bounds, so that the remaining loop is a single line solved by the row.
TEST_F(Su3Bounds, SingleTagKernelTradesTheTwoVariables) {
    traced.clear();
    setTraceFunction(collectTrace);
    {
        testsupport::Captured cap;
        EXPECT_GE(getSingleTagKernel(1000), 0);
        EXPECT_EQ(getSingleTagKernel(1000), 0) << "done for this system";
    }
    resetTraceFunction();
    EXPECT_EQ(traced, (std::vector<std::string>{"Kernel doublet analysis finished; 1 vectors",
                                                "Kernel triplet analysis finished; 0 vectors",
                                                "Kernel quadruplet analysis finished; 0 vectors",
                                                "Kernel loop analysis finished; 0 vectors"}));
    const KernelData* KD = getTadpoleKernel();
    ASSERT_EQ(KD->SingleTag, 1);
    ASSERT_EQ(KD->KernelSize, 1);
    const int tag = tagOfOnlyVector();
    const int other = 1 - tag;
    EXPECT_EQ(KD->Kernel.X[tag], -1);
    EXPECT_EQ(KD->Kernel.X[other], 1);
    EXPECT_EQ(KD->Kernel.X[2], 0) << "homogeneous";
    EXPECT_EQ(ED().ker_min[tag], 0);
    EXPECT_EQ(ED().ker_max[tag], 0);
    EXPECT_EQ(ED().ker_max[other], 2048);
    testsupport::Captured cap;
    printTadpoleKernel();
    EXPECT_EQ(cap.out().substr(0, 7), "Nr.  0:");
}

// The loop search alone finds the same direction.
TEST_F(Su3Bounds, LoopSearchFindsTheKernelVector) {
    traced.clear();
    setTraceFunction(collectTrace);
    {
        testsupport::Captured cap;
        getSingleTagKernelUsingLoops(1000);
    }
    resetTraceFunction();
    EXPECT_EQ(traced, std::vector<std::string>{"Kernel loop analysis finished; 1 vectors"});
    const int tag = tagOfOnlyVector();
    EXPECT_EQ(getTadpoleKernel()->Kernel.X[1 - tag], 1);
    EXPECT_EQ(getTadpoleEquationPointer()->ker_max[tag], 0) << "the tag pinned";
}

// The particular solution has the tag at 0 and the other variable at 2048; the parameter adds
// to the tag what it takes from the other, so every value solves the row. Without a particular
// solution (as before any search) the point 0 fails.
TEST_F(Su3Bounds, ParametersGiveSolutions) {
    {
        testsupport::Captured cap;
        ASSERT_GE(getSingleTagKernel(1000), 0);
    }
    const int tag = tagOfOnlyVector();
    KernelData* KD = getTadpoleKernel();
    {
        testsupport::Captured cap;
        const int zero[] = {0};
        EXPECT_EQ(checkTadpoleParameters(zero), 0);
        EXPECT_NE(cap.out().find("Equation 0 not satisfied"), std::string::npos) << cap.out();
    }
    KD->Inhomogeneous[tag] = 0;
    KD->Inhomogeneous[1 - tag] = 2048;
    for (int p : {0, 7, 2048, -5}) {
        testsupport::Captured cap;
        const int values[] = {p};
        EXPECT_EQ(checkTadpoleParameters(values), 1) << p;
        EXPECT_EQ(cap.out().find("not satisfied"), std::string::npos) << cap.out();
    }
}

// The fast kernel of the searches looks for triplets only; two variables have none, and the
// remaining 2049 points are left to plain loops. A second call finds the work done.
TEST_F(Su3Bounds, FastKernelLeavesShortLoops) {
    traced.clear();
    setTraceFunction(collectTrace);
    EXPECT_EQ(computeTadpoleKernel(), -3);
    EXPECT_EQ(computeTadpoleKernel(), 0);
    resetTraceFunction();
    EXPECT_EQ(traced, (std::vector<std::string>{"Kernel triplet analysis finished; 0 vectors",
                                                "Kernel analysis finished, short loops",
                                                "Number of Kernel vectors: 0"}));
    EXPECT_EQ(getTadpoleKernel()->SingleTag, 0);
}

// A reset empties the kernel and makes bounds and kernel record start again; the rows stay.
TEST_F(Su3Bounds, ResetStartsBoundsAndKernelAgain) {
    {
        testsupport::Captured cap;
        ASSERT_GE(getSingleTagKernel(1000), 0);
        ED().max[0] = 5;
    }
    const int counter = getTadpoleEquationCounter();
    resetTadpoleKernel();
    EXPECT_EQ(getTadpoleKernel()->KernelSize, 0);
    EXPECT_EQ(getTadpoleKernel()->SingleTag, 0);
    EXPECT_GT(getTadpoleEquationCounter(), counter);
    testsupport::Captured cap;
    printTadpoleBounds();
    EXPECT_EQ(ED().max[0], 2048) << "initial bounds again";
    EXPECT_EQ(ED().ker_max[0], 2048) << "no kernel pins a tag";
    EXPECT_EQ(getNumberOfLoopVariables(), 2);
    EXPECT_GE(getSingleTagKernel(1000), 0) << "computed again after the reset";
    EXPECT_EQ(getTadpoleKernel()->SingleTag, 1);
}

// Fixing stacks changes the constant of N_0/2 + N = 2048. With the pair fixed at 1024 the bounds
// of N_0/2 coincide at the solution 1024; with both fixed no variable is left and the constants
// alone decide; a pair of 2049 leaves N_0/2 = -1, which the first row already refuses.
TEST_F(Su3Bounds, CoincidingBoundsAndInfeasibleRows) {
    struct Case {
        std::vector<std::pair<int, int>> fixed;
        int result;
    };
    for (const Case& c : {Case{{{1, 1024}}, -4}, Case{{{0, 2048}, {1, 1024}}, -4},
                          Case{{{0, 2048}, {1, 1000}}, -1}, Case{{{1, 2049}}, -1}}) {
        testsupport::Captured cap;
        initActiveBoundaries(-3);
        for (const auto& [label, value] : c.fixed)
            ASSERT_EQ(setFixVar(label, value), 1);
        BoundarySelectionChanged();
        const int r = ImproveTadpoleBounds(60, 1);
        EXPECT_EQ(r, c.result) << c.fixed.size() << " fixed, first " << c.fixed[0].second;
        if (c.result == -4) {
            EXPECT_EQ(trivialBoundCheck(), 1);
        }
    }
}

} // namespace

// e8 level 1 (D = 18) has one orthogonal boundary carrying 512 branes. A stack that must confine
// may not take the values 1 and 2; without the demand nothing is forbidden.
class E8Bounds : public TadpoleTest {
protected:
    void SetUp() override {
        BoundaryTest::SetUp();
        startWithEquations(5, 8, 1, 1);
    }
};

TEST_F(E8Bounds, ConfiningOrthogonalStackAvoidsOneAndTwo) {
    testsupport::Captured cap;
    EquationData& ED = *getTadpoleEquationPointer();
    EXPECT_EQ(ED.forbidden_range, 0);
    EXPECT_EQ(ED.min[0], 512);
    EXPECT_EQ(ED.max[0], 512);
    EXPECT_EQ(ImproveTadpoleBounds(0, 0), -4) << "the single point solves the row";
    setRequireConfinement(0);
    BoundarySelectionChanged();
    ASSERT_EQ(getTadpoleEquations(), 0);
    EXPECT_EQ(ED.forbidden_range, 1);
    EXPECT_EQ(ED.forbidden_min[0], 1);
    EXPECT_EQ(ED.forbidden_max[0], 2);
}

// su(2) level 4 with the Klein bottle current: x0 for the pair of Dynkin labels 0/4, x1 for the
// pair 1/3, x2 for the orthogonal Dynkin label 2, and the independent rows x0 + x2 = 2048 and
// x1 = 2048. The bound analysis pins x1 and cuts x0 and x2 to [0, 2048]; the one kernel
// direction trades x0 against x2 and leaves x1 alone, so with its tag pinned a single point is
// left to loop over.
class Su2Level4Bounds : public TadpoleTest {
protected:
    void SetUp() override {
        BoundaryTest::SetUp();
        startWithKlein(1, 1, 4, 1);
        if (HasFatalFailure())
            return;
        testsupport::Captured cap;
        ASSERT_EQ(getTadpoleEquations(), 0);
        ASSERT_EQ(getNumberOfLoopVariables(), 3);
    }
};

TEST_F(Su2Level4Bounds, KernelTradesTheUnitaryPairAgainstTheOrthogonalStack) {
    testsupport::Captured cap;
    EquationData& ED = *getTadpoleEquationPointer();
    EXPECT_EQ(range(ED.max, 3), (std::vector<int>{5595, 3230, 5595})) << "first row alone";
    ImproveTadpoleBounds(60, 1);
    EXPECT_EQ(range(ED.min, 3), (std::vector<int>{0, 2048, 0}));
    EXPECT_EQ(range(ED.max, 3), (std::vector<int>{2048, 2048, 2048}));
    getSingleTagKernel(1000);
    const KernelData* KD = getTadpoleKernel();
    ASSERT_EQ(KD->SingleTag, 1);
    EXPECT_EQ(getMaxPar(), 1);
    const std::vector<int> v = range(KD->Kernel.X, 4);
    EXPECT_TRUE(v == (std::vector<int>{-1, 0, 1, 0}) || v == (std::vector<int>{1, 0, -1, 0}))
        << v[0] << " " << v[1] << " " << v[2];
    const int tag = v[0] == -1 ? 0 : 2;
    EXPECT_EQ(ED.ker_max[tag], 0);
    EXPECT_EQ(OptimizedLoopLength(3, ED.ker_min, ED.ker_max, &ED), 1.0);
}
