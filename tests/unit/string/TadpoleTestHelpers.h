// The tadpole parameters, a block with its diagonal invariant and every boundary active.
#pragma once

#include "boundary/CrossBoundTestHelpers.h"

#include "base/Parameters.h"
#include "string/Tadpole.h"

#include <gtest/gtest.h>

class TadpoleTest : public boundarytest::BoundaryTest {
protected:
    void start(int type, int rank, int level) {
        for (const char* name :
             {"Super", "Dimension", "Tadpole remove_identical", "Tadpole info_level",
              "Tadpole completeness", "Tadpole allow_OH_matter", "Tadpole show_solution"})
            if (!findInternalParameter(name))
                addInternalParameter(name, "0", 'i', 0);
        theory(type, rank, level);
        ASSERT_EQ(initializeOpenString(), 0);
        testsupport::Captured cap;
        initActiveBoundaries(-3);
    }
    // su(3) level 1 with its system built: N_0/2 on the symplectic boundary 0 and the unitary pair
    // 1/2 are the two loop variables.
    void startSu3() {
        start(1, 2, 1);
        if (::testing::Test::HasFatalFailure())
            return;
        testsupport::Captured cap;
        ASSERT_EQ(getTadpoleEquations(), 0);
        ASSERT_EQ(getNumberOfLoopVariables(), 2);
    }
    void TearDown() override {
        initActiveBoundaries(-1);
        BoundaryTest::TearDown();
    }
};
