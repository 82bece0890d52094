// The random renumbering of the loop variables: the maps stay inverse to each other, a unitary
// pair keeps one variable, group types travel with their boundaries, and the system built under
// it has the solutions of the plain numbering.
#include "string/TadpoleTestHelpers.h"

#include "string/Intersections.h"
#include "string/SearchSetup.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

// Type of the variable of each boundary label; -2 without a variable.
std::vector<int> typesByLabel(const std::vector<int>& CPToLoop, const std::vector<int>& types) {
    std::vector<int> t;
    for (int v : CPToLoop)
        t.push_back(v < 0 ? -2 : types[static_cast<std::size_t>(v)]);
    return t;
}

TEST(RandomNumbering, PermutesTheVariablesConsistently) {
    // Labels 1 and 2 form a unitary pair, label 3 has no variable.
    const std::vector<int> byLabel{1, 0, 0, -2, -1, 1};
    bool moved = false;
    for (int round = 0; round < 20; round++) {
        std::vector<int> CPToLoop{0, 1, 1, -1, 2, 3}, LoopToCP{0, 1, 4, 5}, types{1, 0, -1, 1};
        testsupport::Captured cap;
        randomizeVariables(CPToLoop, LoopToCP.data(), types.data(), 4);
        EXPECT_EQ(cap.out(), "");
        for (int i = 0; i < 4; i++)
            EXPECT_EQ(CPToLoop[static_cast<std::size_t>(LoopToCP[i])], i);
        EXPECT_EQ(CPToLoop[1], CPToLoop[2]);
        EXPECT_EQ(CPToLoop[3], -1);
        EXPECT_EQ(typesByLabel(CPToLoop, types), byLabel);
        moved = moved || LoopToCP != std::vector<int>{0, 1, 4, 5};
    }
    EXPECT_TRUE(moved) << "twenty identity permutations";
}

TEST(RandomNumbering, ReportsMapsThatAreNotInverse) {
    // Label 0 claims variable 1, whose boundary is label 2: both variables fail the check.
    std::vector<int> CPToLoop{1, -1, 0}, LoopToCP{0, 2}, types{1, 1};
    testsupport::Captured cap;
    randomizeVariables(CPToLoop, LoopToCP.data(), types.data(), 2);
    EXPECT_EQ(cap.out(), "ERROR!!!!ERROR!!!!");
}

// su(2) level 4 with the Klein bottle current, bosonic reading (D = 24, multiplicity 4096): the
// variables are the pairs of Dynkin labels 0/4 and 1/3 and the orthogonal label 2, and the
// system asks N(0/4) + N(2) = 2048 and N(1/3) = 2048.
class LoopVariables : public tadpoletest::TadpoleTest {
protected:
    void SetUp() override {
        BoundaryTest::SetUp();
        startWithKlein(1, 1, 4, 1);
    }
    void TearDown() override {
        setUseRandom(0);
        TadpoleTest::TearDown();
    }
};

TEST_F(LoopVariables, RandomNumberingKeepsTheSolutions) {
    const int old = setUseRandom(1);
    EXPECT_EQ(old, 0) << "off unless asked for";
    int code = -9;
    {
        testsupport::Captured cap;
        BoundarySelectionChanged();
        code = getTadpoleEquations();
    }
    ASSERT_EQ(code, 0);
    ASSERT_EQ(getNumberOfLoopVariables(), 3);
    const int* CPToLoop = getCPToLoop();
    const int* LoopToCP = getLoopToCP();
    for (int i = 0; i < 3; i++)
        EXPECT_EQ(CPToLoop[LoopToCP[i]], i);
    const int d0 = fieldOf({0}), d1 = fieldOf({1}), d2 = fieldOf({2}), d3 = fieldOf({3}),
              d4 = fieldOf({4});
    EXPECT_EQ(CPToLoop[d0], CPToLoop[d4]);
    EXPECT_EQ(CPToLoop[d1], CPToLoop[d3]);
    EXPECT_EQ(getSolutionGroupTypes()[CPToLoop[d2]], 1);
    struct Case {
        int pair04, pair13, orthogonal, holds;
    };
    for (const Case& c : {Case{0, 2048, 2048, 1}, Case{2048, 2048, 0, 1}, Case{1000, 2048, 1048, 1},
                          Case{0, 2047, 2048, 0}, Case{2048, 0, 2048, 0}}) {
        std::vector<int> x(4, 0);
        x[static_cast<std::size_t>(CPToLoop[d0])] = c.pair04;
        x[static_cast<std::size_t>(CPToLoop[d1])] = c.pair13;
        x[static_cast<std::size_t>(CPToLoop[d2])] = c.orthogonal;
        testsupport::Captured cap;
        EXPECT_EQ(checkTadpoleSolution(x.data()), c.holds)
            << c.pair04 << " " << c.pair13 << " " << c.orthogonal;
    }
}

} // namespace

namespace {

// Below full acceptance of observable-hidden matter every numbering of the loops rebuilds the
// boundary classes over all boundaries: one new slot is opened per numbering.
TEST_F(LoopVariables, BuildRebuildsTheBoundaryClasses) {
    const int before = getLastClass();
    int code = -9;
    {
        testsupport::Captured cap;
        BoundarySelectionChanged();
        code = getTadpoleEquations();
        getTadpoleEquations();
    }
    EXPECT_EQ(code, 0);
    EXPECT_EQ(getLastClass(), before + 1) << "a cached system runs nothing";
    const SearchData* SD = getSearchData();
    EXPECT_EQ(SD->bndcnt, 5);
    for (int b = 0; b < 5; b++)
        EXPECT_EQ(SD->BoundaryMap[b], b);
}

} // namespace
