// The fixture of the tadpole tests: the tadpole parameters, a block with its diagonal invariant
// and every boundary active.
#pragma once

#include "boundary/CrossBoundTestHelpers.h"

#include "base/Parameters.h"
#include "string/StringTheory.h"
#include "string/Tadpole.h"

#include <gtest/gtest.h>

namespace tadpoletest {

class TadpoleTest : public boundarytest::BoundaryTest {
protected:
    void start(int type, int rank, int level) {
        for (const char* name :
             {"Super", "Dimension", "Tadpole remove_identical", "Tadpole info_level",
              "Tadpole completeness", "Tadpole allow_OH_matter"})
            if (!findInternalParameter(name))
                addInternalParameter(name, "0", 'i', 0);
        theory(type, rank, level);
        ASSERT_EQ(initializeOpenString(), 0);
        testsupport::Captured cap;
        initActiveBoundaries(-3);
    }
    // The block and its built equations with nvar loop variables.
    void startWithEquations(int type, int rank, int level, int nvar) {
        start(type, rank, level);
        if (HasFatalFailure())
            return;
        testsupport::Captured cap;
        ASSERT_EQ(getTadpoleEquations(), 0);
        ASSERT_EQ(getNumberOfLoopVariables(), nvar);
    }
    void TearDown() override {
        initActiveBoundaries(-1);
        BoundaryTest::TearDown();
    }
};

} // namespace tadpoletest
