// Chan-Paton records and conversions on su(3) level 1 with its diagonal invariant: boundary 0
// carries Sp(N), boundaries 1 and 2 form a unitary pair, so the loop variables are N_0/2 and the
// pair.
#include "string/TadpoleTestHelpers.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

using tadpoletest::TadpoleTest;

namespace {

class ChanPaton : public TadpoleTest {
protected:
    void SetUp() override {
        BoundaryTest::SetUp();
        startWithEquations(1, 2, 1, 2);
    }
};

TEST_F(ChanPaton, UnitaryPairSharesItsFactorInBothBuilders) {
    const std::vector<int> sol{3, 5, 1};
    const ChanPatonData* CPD = computeChanPatonData(sol.data());
    EXPECT_EQ(CPD->Nactive, 2);
    EXPECT_EQ(CPD->CPmults, (std::vector<int>{6, 5, 5}));
    EXPECT_EQ(CPD->CPlabelsToGroupFactors, (std::vector<int>{0, 1, 1}));
    EXPECT_EQ(CPD->Active.size(), 3u) << "one spare stack";
    const int vars[] = {1}, mults[] = {4};
    CPD = generateChanPatonData(1, getCurrentOrientifold(), vars, mults);
    EXPECT_EQ(CPD->CPmults, (std::vector<int>{0, 4, 4}));
    EXPECT_EQ(CPD->CPlabelsToGroupFactors, (std::vector<int>{-1, 0, 0}));
    EXPECT_EQ(CPD->Active.size(), 1u);
}

TEST_F(ChanPaton, InvalidMultiplicitiesAreRefused) {
    struct Case {
        std::vector<int> cp;
        const char* message;
    };
    for (const Case& c : {Case{{3, 0, 0}, "Invalid Sp(odd) group"},
                          Case{{0, 1, 2}, "different Chan-Paton multiplicities"}}) {
        testsupport::Captured cap;
        EXPECT_EQ(CPlabelsToLoops(c.cp.data(), getCPToLoop(), 3), nullptr) << c.message;
        const std::string said = cap.out() + cap.err();
        EXPECT_NE(said.find(c.message), std::string::npos) << said;
    }
    const std::vector<int> good{4, 7, 7};
    const int* loop = CPlabelsToLoops(good.data(), getCPToLoop(), 3);
    ASSERT_NE(loop, nullptr);
    EXPECT_EQ(loop[0], 2);
    EXPECT_EQ(loop[1], 7);
    EXPECT_EQ(loop[2], 1);
}

TEST_F(ChanPaton, FixedValueMustMatch) {
    testsupport::Captured cap;
    ASSERT_EQ(setFixVar(1, 100), 1);
    EXPECT_EQ(FixedVariables(2), 100) << "the conjugate is fixed with it";
    EXPECT_EQ(setFixVar(1, 50), 1);
    EXPECT_EQ(FixedVariables(1), 100) << "the first value stays";
    EXPECT_EQ(getFixedVariables(), 1);
    const std::vector<int> other{2, 99, 99};
    EXPECT_EQ(CPlabelsToLoops(other.data(), getCPToLoop(), 3), nullptr);
}

// Only the identity is massless here (D = 24, the other fields have weight 1/3). The annulus of the
// identity pairs a boundary with its conjugate: the symplectic boundary meets itself, a member of
// the unitary pair does not, and the identity is not counted against the conjugate.
TEST_F(ChanPaton, SelfIntersectionAndTheSignOfTheTension) {
    EXPECT_EQ(getTadpoleFlip(), 1);
    EXPECT_EQ(SelfIntersection(0), 1);
    EXPECT_EQ(SelfIntersection(1), 0);
    EXPECT_EQ(SelfIntersection(2), 0);
}

TEST_F(ChanPaton, CriteriaChangeDropsTheFixedBoundaries) {
    testsupport::Captured cap;
    ASSERT_EQ(setFixVar(0, 4), 1);
    BoundarySelectionCriteriaChanged();
    EXPECT_EQ(FixedVariables(0), -1);
    EXPECT_EQ(getFixedVariables(), 0);
    EXPECT_EQ(ActiveBoundaries(0), 1);
}

} // namespace

// su(3) at level 9 (c = 6) has 55 boundaries in 30 conjugate pairs or self-conjugate ones, more
// stacks than may be fixed: the 25th is refused and leaves the 24 fixed ones, and its own label,
// as they were.
class ManyBoundaries : public TadpoleTest {
protected:
    void SetUp() override {
        BoundaryTest::SetUp();
        start(1, 2, 9);
    }
};

TEST_F(ManyBoundaries, TwentyFifthFixedStackIsRefused) {
    std::vector<int> stacks, accepted;
    int refused = -2;
    std::string said;
    {
        testsupport::Captured cap;
        // A label whose conjugate is fixed already is the same stack.
        for (int a = 0; a < 55 && stacks.size() < 24; a++)
            if (FixedVariables(a) == -1) {
                stacks.push_back(a);
                accepted.push_back(setFixVar(a, 2 * a + 2));
            }
        for (int a = 0; a < 55 && refused == -2; a++)
            if (FixedVariables(a) == -1) {
                stacks.push_back(a);
                refused = setFixVar(a, 8);
            }
        said = cap.out() + cap.err();
    }
    ASSERT_EQ(stacks.size(), 25u);
    EXPECT_EQ(accepted, std::vector<int>(24, 1));
    EXPECT_EQ(refused, 0);
    EXPECT_NE(said.find("Too many fixed variables (max=24)"), std::string::npos) << said;
    EXPECT_EQ(FixedVariables(stacks[24]), -1);
    EXPECT_EQ(getFixedVariables(), 24);
    for (int k = 0; k < 24; k++)
        EXPECT_EQ(FixedVariables(stacks[k]), 2 * stacks[k] + 2) << stacks[k];
}
