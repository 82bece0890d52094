// What every test of this layer starts from and leaves behind: the modules of this layer and of
// the base layer, as a process has them before its start-up.
#pragma once

#include "interpreter/Evaluator.h"
#include "interpreter/IntCommands.h"
#include "interpreter/Interpreter.h"

#include "TestSupport.h"

#include <gtest/gtest.h>

namespace interptest {

// This layer first: it holds pointers into the base modules until it is reset.
inline void resetInterpreterLayer() {
    resetInterpreterState();
    resetGeneralCommands();
    setEvaluatorHooks(EvaluatorHooks{});
    testsupport::resetBaseState();
}

// Fixtures of this layer derive from this one and build what they need in their own SetUp,
// after calling this SetUp.
class FreshInterpreterTest : public testing::Test {
protected:
    void SetUp() override { resetInterpreterLayer(); }
    void TearDown() override { resetInterpreterLayer(); }
};

} // namespace interptest
