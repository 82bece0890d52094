// Solutions of the tadpole conditions of su(3) level 1 (bosonic, D = 24, multiplicity 4096): the
// identity row reads N_0/2 + N_pair = 2048 with Sp(N_0) on boundary 0 and U(N_pair) on the
// conjugate pair 1/2. And the statistics of few-brane solutions, on records made by hand.
#include "string/TadpoleTestHelpers.h"

#include "numeric/Sorting.h"
#include "string/TadpoleSolver.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

bool has(const std::string& text, const std::string& part) {
    return text.find(part) != std::string::npos;
}

using tadpoletest::TadpoleTest;

class Solutions : public TadpoleTest {
protected:
    void SetUp() override {
        BoundaryTest::SetUp();
        if (!findInternalParameter("Tadpole show_solution"))
            addInternalParameter("Tadpole show_solution", "0", 'i', 0);
        startWithEquations(1, 2, 1, 2);
        analyse_solution(nullptr);
    }
    void TearDown() override {
        setCPthreshold(-1);
        resetAnalysisFunction();
        setIntPar("Tadpole show_solution", 0);
        TadpoleTest::TearDown();
    }
};

int stopEverything(ChanPatonData*) {
    return -5;
}
int rejectEverything(ChanPatonData*) {
    return 0;
}

TEST_F(Solutions, ShownByGroupAndMultiplicity) {
    setIntPar("Tadpole show_solution", 1);
    std::vector<int> sol{1000, 1048, 1};
    testsupport::Captured cap;
    EXPECT_EQ(analyse_solution(sol.data()), 1);
    EXPECT_TRUE(has(cap.out(), " 0: S(2000) 1: U(1048)\n")) << cap.out();
    EXPECT_EQ(getAnalysedSolutionCount(), 1);
}

// A raised threshold rejects configurations with that few stacks; the callback decides the rest
// and its result goes back unchanged.
TEST_F(Solutions, ThresholdAndCallbackDecide) {
    struct Case {
        int threshold;
        TADSOL_ANALYSIS fcn;
        int result;
        const char* said;
    };
    const Case cases[] = {{1, nullptr, 0, "rejected (already known)"},
                          {0, nullptr, 1, ""},
                          {-1, rejectEverything, 0, "rejected by analysis function"},
                          {-1, stopEverything, -5, ""}};
    for (const Case& c : cases) {
        setCPthreshold(c.threshold);
        if (c.fcn)
            setAnalysisFunction(c.fcn);
        else
            resetAnalysisFunction();
        std::vector<int> sol{2048, 0, 1};
        testsupport::Captured cap;
        EXPECT_EQ(analyse_solution(sol.data()), c.result) << c.threshold;
        EXPECT_TRUE(has(cap.out(), c.said)) << cap.out();
    }
}

TEST_F(Solutions, GivenMultiplicities) {
    struct Case {
        std::vector<int> cp;
        int result;
        const char* said;
    };
    const Case cases[] = {
        {{4096, 0, 0}, 1, ""},
        {{0, 2048, 0}, 1, ""},
        {{0, 0, 2048}, 1, ""},
        // With every stack fixed a wrong sum leaves an inconsistent system.
        {{2000, 1024, 0}, -1, ""},
        {{4086, 5, 7}, 0, "Unequal CP multiplicities for conjugate labels 1 and 2"},
    };
    for (const Case& c : cases) {
        testsupport::Captured cap;
        initActiveBoundaries(-2);
        std::vector<int> cp = c.cp;
        for (int a = 0; a < 3; a++)
            if (cp[a] != 0)
                setFixVar(a, cp[a]);
        EXPECT_EQ(CheckCPlabels(cp.data()), c.result) << cp[0] << " " << cp[1] << " " << cp[2];
        EXPECT_TRUE(has(cap.out() + cap.err(), c.said)) << cap.out() << cap.err();
    }
}

// A stale threshold must not make a check of given multiplicities reject its configuration.
TEST_F(Solutions, CheckIgnoresAStaleThreshold) {
    setCPthreshold(4);
    testsupport::Captured cap;
    initActiveBoundaries(-2);
    setFixVar(0, 4096);
    std::vector<int> cp{4096, 0, 0};
    EXPECT_EQ(CheckCPlabels(cp.data()), 1);
    EXPECT_FALSE(has(cap.out(), "already known")) << cap.out();
    EXPECT_EQ(getAnalysedSolutionCount(), 1);
    EXPECT_EQ(getCPthreshold(), -1);
}

// ---- Drivers ----

int calls = 0;
int stopAtFirst(ChanPatonData*) {
    calls++;
    return -5;
}

class Drivers : public Solutions {
protected:
    void SetUp() override {
        Solutions::SetUp();
        calls = 0;
        setIntPar("Tadpole completeness", 1);
        tadpoleSearchParametersChanged();
        testsupport::Captured cap;
        ASSERT_EQ(getTadpoleEquations(), 0);
        ASSERT_EQ(SingleSolution, 0);
    }
    void TearDown() override {
        setTadpoleMaxtime(60);
        setIntPar("Tadpole completeness", 0);
        tadpoleSearchParametersChanged();
        Solutions::TearDown();
    }
};

TEST_F(Drivers, NoTimeNoSearch) {
    setTadpoleMaxtime(0);
    setAnalysisFunction(stopAtFirst);
    testsupport::Captured cap;
    EXPECT_EQ(SolveTadpoleConditions(-1, -1, -1), -2);
    EXPECT_EQ(calls, 0);
}

// All 2049 solutions N_0/2 + N_pair = 2048 are found by the loops, unless the callback stops them.
TEST_F(Drivers, CallbackStopsTheLoops) {
    testsupport::Captured cap;
    EXPECT_EQ(SolveTadpoleConditionsUsingLoops(60), -3 - 2049);
    setAnalysisFunction(stopAtFirst);
    SolveTadpoleConditionsUsingLoops(60);
    EXPECT_EQ(calls, 1);
}

// A threshold left by an earlier few-brane search would reject every solution of this system
// (at most two stacks); the drivers start without it and leave none behind.
TEST_F(Drivers, NoThresholdSurvivesADriver) {
    testsupport::Captured cap;
    setCPthreshold(4);
    EXPECT_EQ(SolveTadpoleConditionsUsingLoops(60), -3 - 2049);
    EXPECT_EQ(getCPthreshold(), -1);
    setCPthreshold(4);
    EXPECT_EQ(SolveTadpoleConditions(-1, -1, -1), -3 - 2049);
    EXPECT_EQ(getCPthreshold(), -1);
}

// ---- Statistics ----

// Sp(2r): rank r, dimension r(2r+1); U(N): rank N, dimension N^2; O(N): rank [N/2], dimension
// N(N-1)/2.
TEST(SimpleStatistics, DimensionAndRankOfGroupCodes) {
    struct Case {
        int code, dim, rank;
    };
    const Case cases[] = {{10004, 10, 2}, {14096, 2048 * 4097, 2048},
                          {20003, 9, 3},  {30005, 10, 2},
                          {30001, 0, 0},  {30002, 1, 1},
                          {0, 0, 0},      {20000, 0, 0}};
    for (const Case& c : cases) {
        int dim = -1, rank = -1;
        getDimensionAndRank(c.code, &dim, &rank);
        EXPECT_EQ(dim, c.dim) << c.code;
        EXPECT_EQ(rank, c.rank) << c.code;
    }
}

TEST(SimpleStatistics, SignatureRoomIsChecked) {
    testsupport::Captured cap;
    EXPECT_EQ(initSimpleSolutionStatistics(3), 0);
    EXPECT_EQ(initSimpleSolutionStatistics(1001), 0);
    EXPECT_TRUE(has(cap.out() + cap.err(), "out of range")) << cap.out() << cap.err();
    EXPECT_EQ(initSimpleSolutionStatistics(1000), 1);
    EXPECT_EQ(initSimpleSolutionStatistics(4), 1);
}

ChanPatonData configuration(std::vector<int> types, std::vector<int> dims) {
    ChanPatonData CPD;
    CPD.Nactive = static_cast<int>(types.size());
    CPD.Types = std::move(types);
    CPD.dims = std::move(dims);
    return CPD;
}

// Sp(4) x U(3) twice and O(1) once. Sp(4) x U(3) has dimension 10 + 9 = 19 and rank 2 + 3 = 5; the
// O(1) stack has dimension and rank 0 and marks rank 0.
TEST(SimpleStatistics, SignaturesAreCountedAndSummed) {
    ASSERT_EQ(initSimpleSolutionStatistics(4), 1);
    ASSERT_EQ(initSimpleSolutionStatisticsPerCase(20), 1);
    ChanPatonData two = configuration({0, -1}, {3, 4});
    ChanPatonData one = configuration({1}, {1});
    EXPECT_EQ(simpleSolutionStatistics(&two), 1);
    EXPECT_EQ(simpleSolutionStatistics(&two), 1);
    EXPECT_EQ(simpleSolutionStatistics(&one), 1);
    std::string out;
    {
        testsupport::Captured cap;
        printSimpleSolutionStatistics();
        out = cap.out();
    }
    EXPECT_TRUE(has(out, "Total number of solutions: 3\n")) << out;
    EXPECT_TRUE(has(out, "Orthogonal groups:\nO(1):  1\nUnitary groups:\nU(3):  2\n"
                         "Symplectic groups:\nSp(4):  2\n"))
        << out;
    // The padding: two zeros in each two-stack row, three in the one-stack row.
    EXPECT_TRUE(has(out, "Trivial factors:\n7\n")) << out;
    EXPECT_TRUE(has(out, "Total Dimension:\n    0:      1      0 \n   19:      0      2 \n"))
        << out;
    EXPECT_TRUE(has(out, "Total Rank:\n    0:      1      0 \n    5:      0      2 \n")) << out;
    EXPECT_TRUE(has(out, "Number of models containing rank:\n    0:      1      0 \n"
                         "    2:      0      2 \n    3:      0      2 \n"))
        << out;
    EXPECT_TRUE(has(out, "Number of solutions divided according to number of branes:\n"
                         "    3:      1      2 \n"))
        << out;
    {
        testsupport::Captured cap;
        printSimpleSolutionStatisticsPerCase();
        EXPECT_TRUE(has(cap.out(), "Total number of solutions: 3\n"));
    }
    ASSERT_EQ(initSimpleSolutionStatisticsPerCase(20), 1);
    testsupport::Captured cap;
    printSimpleSolutionStatisticsPerCase();
    EXPECT_EQ(cap.out(), "No solutions\n");
}

} // namespace
