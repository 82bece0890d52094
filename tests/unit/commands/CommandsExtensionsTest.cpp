// "find basis" on the simple currents of a block: A1 at level 4 has the current 1 of weight 1 and
// A1 at level 1 the current 1 of weight 1/4. Labels outside the currents, negative ones and
// currents of non-integer weight are refused before the closure reads its tables.
#include "CommandsTestHelpers.h"

#include "commands/CommandsExtensions.h"

#include <gtest/gtest.h>

#include <string>

using namespace cmdtest;

namespace {

class FindBasisTest : public testing::Test {
protected:
    void SetUp() override { startWithEmptyProduct(); }
    void TearDown() override { withdrawTheory(); }
};

TEST_F(FindBasisTest, RefusesWhatIsNoIntegerSpinCurrent) {
    struct Case {
        int level, current;
    };
    for (const Case& c : {Case{4, -1}, Case{4, 2}, Case{4, 1000}, Case{1, 1}}) {
        useBlock(1, 1, c.level);
        Captured cap;
        EXPECT_EQ(call(COM_findBasis, "basis", {c.current}), 1) << c.level << "," << c.current;
        EXPECT_TRUE(has(cap.err(), "is not a simple current of integer spin"));
        EXPECT_FALSE(has(cap.out(), "Basis"));
    }
}

TEST_F(FindBasisTest, ClosesTheCurrentsAndPrintsTheirBasis) {
    useBlock(1, 1, 4);
    Captured cap;
    EXPECT_EQ(call(COM_findBasis, "basis", {1}), -1);
    EXPECT_TRUE(has(cap.out(), "Basis  (0,1,-1,0,0,0,0,0,0,0)"));
    EXPECT_TRUE(has(cap.out(), "Generators  (1,0)"));
}

} // namespace
