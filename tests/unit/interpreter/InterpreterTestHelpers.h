// What every test of this layer starts from and leaves behind: the modules of this layer and of
// the base layer, as a process has them before its start-up.
#pragma once

#include "interpreter/Evaluator.h"
#include "interpreter/IntCommands.h"
#include "interpreter/Interpreter.h"

#include "TestSupport.h"

#include <gtest/gtest.h>

#include <string>

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

// The general commands ready and terminal output on, for tests that type command lines.
class CommandLineTest : public FreshInterpreterTest {
protected:
    void SetUp() override {
        FreshInterpreterTest::SetUp();
        initializeGeneralCommands();
        TerminalOutputOn();
    }
    // What one typed line prints on standard output; its code goes to rc.
    std::string run(const char* line) {
        testing::internal::CaptureStdout();
        rc = composeCommandLine(line);
        return testing::internal::GetCapturedStdout();
    }
    int rc = 0;
};

} // namespace interptest
