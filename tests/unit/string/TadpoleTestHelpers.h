// The fixture of the tadpole tests: the tadpole parameters, a block with its diagonal invariant
// and every boundary active.
#pragma once

#include "boundary/CrossBoundTestHelpers.h"

#include "base/Parameters.h"
#include "string/StringTheory.h"
#include "string/Tadpole.h"

#include <gtest/gtest.h>

#include <array>
#include <vector>

namespace tadpoletest {

// The parameters that steer the tadpole code. Other tests of the program leave their own values,
// so each tadpole test starts them at 0 (bosonic reading, no merging of columns, no
// observable-hidden matter accepted) and gets back what it found.
inline constexpr std::array<const char*, 6> steeringParameters = {"Super",
                                                                  "Dimension",
                                                                  "Tadpole remove_identical",
                                                                  "Tadpole info_level",
                                                                  "Tadpole completeness",
                                                                  "Tadpole allow_OH_matter"};

class TadpoleTest : public boundarytest::BoundaryTest {
protected:
    void start(int type, int rank, int level) {
        for (const char* name : steeringParameters) {
            if (!findInternalParameter(name))
                addInternalParameter(name, "0", 'i', 0);
            int& p = *static_cast<int*>(getIntParPointer(name));
            if (saved.size() < steeringParameters.size())
                saved.push_back(p);
            p = 0;
        }
        theory(type, rank, level);
        ASSERT_EQ(initializeOpenString(), 0);
        testsupport::Captured cap;
        initActiveBoundaries(-3);
    }
    // The block with the Klein bottle current K, its boundaries active anew for that orientifold.
    void startWithKlein(int type, int rank, int level, int K) {
        start(type, rank, level);
        if (HasFatalFailure())
            return;
        testsupport::Captured cap;
        ASSERT_EQ(setKlein(K), 1);
        ASSERT_EQ(initializeOpenString(), 0);
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
        for (std::size_t i = 0; i < saved.size(); i++)
            *static_cast<int*>(getIntParPointer(steeringParameters[i])) = saved[i];
        BoundaryTest::TearDown();
    }

private:
    std::vector<int> saved;
};

} // namespace tadpoletest
