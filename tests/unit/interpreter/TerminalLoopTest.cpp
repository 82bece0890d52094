// The terminal loop never returns, so every test runs it in a child process with its standard
// input read from a file and its standard output sent to the error output, which the death test
// matches. The commands are the test's own (all beginning with "tl").
#include "base/Terminal.h"

#include "base/Error.h"
#include "base/Output.h"
#include "base/Parameters.h"
#include "interpreter/Interpreter.h"
#include "interpreter/TerminalLoop.h"

#include "InterpreterTestHelpers.h"

#include <gtest/gtest.h>

#include <readline/history.h>

#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <string>
#include <unistd.h>

namespace {

int tlSay(void** params, int) {
    Print("%s\n", static_cast<const char*>(params[0]));
    return -1;
}

// A message whose question offers "Stop".
int tlAsk(void**, int) {
    Alert("tlAsk", 0, 120301, "Asked");
    return 0;
}

// A message whose question offers "Scroll".
int tlWarn(void**, int) {
    Alert("tlWarn", 0, 110301, "Warned");
    return 0;
}

int tlExit(void**, int) {
    std::exit(5);
}

int tlSignal(void**, int) {
    Print("signal %d\n", stopSignal);
    return 0;
}

int tlHistory(void**, int) {
    std::string s = "history:";
    for (int i = 0; i < history_length; ++i)
        s += std::string(" <") + history_get(history_base + i)->line + ">";
    Print("%s\n", s.c_str());
    return 0;
}

void registerCommands() {
    makeDefaultMode();
    getConversion("id", makeConversionMethod(nullptr, 'c', "String"));
    initCommand("tlsay", "[text]", tlSay, "");
    initCommand("tlask", "", tlAsk, "");
    initCommand("tlwarn", "", tlWarn, "");
    initCommand("tlexit", "", tlExit, "");
    initCommand("tlsignal", "", tlSignal, "");
    initCommand("tlhistory", "", tlHistory, "");
}

class TerminalLoopDeathTest : public interptest::FreshInterpreterTest {
protected:
    void SetUp() override {
        FreshInterpreterTest::SetUp();
        registerCommands();
        addInternalParameter("interactive", "OFF", 't', 0);
        addInternalParameter("math", "OFF", 't', 0);
        initializeTerminal();
        // As the interpreter installs it at start-up.
        setNestedTerminalLoop(readFromTerminal);
    }
    // In the child: the input, an interactive terminal with output on, and the output joined to
    // the error output.
    static void prepareChild(const std::string& input, int interactive = 1) {
        char name[] = "/tmp/terminal_loopXXXXXX";
        close(mkstemp(name));
        std::ofstream(name) << input;
        if (!std::freopen(name, "r", stdin))
            std::exit(7);
        std::remove(name);
        setIntPar("interactive", interactive);
        TerminalOutputOn();
        dup2(2, 1);
    }
};

constexpr const char* CpuLine = "CPU time used +[0-9]+\\.[0-9][0-9] seconds\n";

TEST_F(TerminalLoopDeathTest, EndOfInputQuitsWithTheProcessorTime) {
    EXPECT_EXIT(
        {
            prepareChild("tlsay one\n");
            readFromTerminal();
        },
        testing::ExitedWithCode(0), std::string("^> tlsay one\none\n> \n") + CpuLine + "$");
}

TEST_F(TerminalLoopDeathTest, ALineBeginningWithAtEndsTheProgram) {
    EXPECT_EXIT(
        {
            prepareChild("tlsay one\n@whatever\ntlsay two\n");
            readFromTerminal();
        },
        testing::ExitedWithCode(1),
        "^> tlsay one\none\n> @whatever\n"
        "Maximal number of commands exceeded \\(readline\\); quitting\n$");
}

TEST_F(TerminalLoopDeathTest, InteractiveOffEndsTheProgram) {
    EXPECT_EXIT(
        {
            prepareChild("tlsay one\n", 0);
            readFromTerminal();
        },
        testing::ExitedWithCode(1), "^Interactive mode is OFF\n$");
}

TEST_F(TerminalLoopDeathTest, AContinuedLineGetsTheContinuationPrompt) {
    EXPECT_EXIT(
        {
            prepareChild("tlsay {a\nb}\ntlsay x\\\ny\ntlexit\n");
            readFromTerminal();
        },
        testing::ExitedWithCode(5),
        "^> tlsay \\{a\n\\.\\.\\. b\\}\na; b\n> tlsay x\\\\\n\\.\\.\\. y\nxy\n> tlexit\n$");
}

TEST_F(TerminalLoopDeathTest, MathModeChangesThePrompt) {
    EXPECT_EXIT(
        {
            prepareChild("1+1\n");
            setIntPar("math", 1);
            readFromTerminal();
        },
        testing::ExitedWithCode(0), "^==> 1\\+1\n(.|\n)*==> \nCPU time used");
}

TEST_F(TerminalLoopDeathTest, ALineLeftOpenAtTheLineBeginKeepsThePrefixOnContinuation) {
    EXPECT_EXIT(
        {
            prepareChild("tlexit {\n}\n");
            setAtLineBegin();
            readFromTerminal();
        },
        testing::ExitedWithCode(5), "^\n> tlexit \\{\n\n\\.\\.\\. \\}\n$");
}

TEST_F(TerminalLoopDeathTest, NonEmptyLinesClearTheStopSignalAndGoIntoTheHistory) {
    EXPECT_EXIT(
        {
            prepareChild("tlsignal\n\n   \ntlsay x\ntlhistory\ntlexit\n");
            stopSignal = 1;
            readFromTerminal();
        },
        testing::ExitedWithCode(5),
        "signal 0\n(.|\n)*history: <tlsignal> <   > <tlsay x> <tlhistory>\n");
}

TEST_F(TerminalLoopDeathTest, StopAtAQuestionRunsANestedLoopAndDropsTheRestOfTheLine) {
    EXPECT_EXIT(
        {
            prepareChild("tlask; tlexit\nstop\ntlsay after\n");
            readFromTerminal();
        },
        testing::ExitedWithCode(0),
        std::string("^> tlask; tlexit\nAsked \a\n\\(OK/Quit/Stop/Auto/Help\\):> tlsay after\n"
                    "after\n> \n") +
            CpuLine + "$");
}

TEST_F(TerminalLoopDeathTest, AFullPromptEndsTheScrollingOfMessages) {
    EXPECT_EXIT(
        {
            // The second message of the first line is not asked; the one of the next line is.
            prepareChild("tlwarn; tlwarn\nscroll\ntlwarn\nok\ntlexit\n");
            readFromTerminal();
        },
        testing::ExitedWithCode(5),
        "^> tlwarn; tlwarn\nWarned \a\n\\(OK/Ignore/Scroll/Auto/Help\\):"
        "Warned \nNon-interactive mode; Assuming default answer: OK\n"
        "> tlwarn\nWarned \a\n\\(OK/Ignore/Scroll/Auto/Help\\):> tlexit\n$");
}

} // namespace
