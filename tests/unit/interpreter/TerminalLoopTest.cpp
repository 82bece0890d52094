// The terminal loop never returns, so every test runs it in a child process with its standard
// input read from a file and its standard output sent to the error output, which the death test
// matches. The commands are the test's own (all beginning with "tl").
#include "base/Terminal.h"

#include "base/Error.h"
#include "base/Output.h"
#include "base/Parameters.h"
#include "interpreter/IntCommandsControl.h"
#include "interpreter/Interpreter.h"
#include "interpreter/TerminalLoop.h"

#include "InterpreterTestHelpers.h"

#include <gtest/gtest.h>

#include <readline/history.h>

#include <chrono>
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <poll.h>
#include <pty.h>
#include <string>
#include <sys/wait.h>
#include <unistd.h>
#include <utility>

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

// Ctrl-C as the terminal would send it, in the middle of a command.
int tlInterrupt(void**, int) {
    std::raise(SIGINT);
    return 0;
}

// A long loop with a progress display, which says how it ended; it gives up after 20 seconds.
int tlSpin(void**, int) {
    Print("spinning\n");
    flushOutput();
    startProgressInfo("Spin", 1e12, 0);
    const auto end = std::chrono::steady_clock::now() + std::chrono::seconds(20);
    while (std::chrono::steady_clock::now() < end)
        if (incrementProgressInfo()) {
            Print("spin stopped\n");
            return 0;
        }
    stopProgressInfo("Spin");
    Print("spin ran out\n");
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
    initCommand("tlinterrupt", "", tlInterrupt, "");
    initCommand("tlspin", "", tlSpin, "");
    initCommand("tlgroup alpha", "", tlSignal, "");
    initCommand("tlgroup beta", "", tlSignal, "");
    initCommand("help", "(command)(key_1)...(key_n)", COM_help, "");
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

TEST_F(TerminalLoopDeathTest, HelpOfAGroupWithPipedInputListsTheKeywordsAndTheNextLineRuns) {
    EXPECT_EXIT(
        {
            prepareChild("help tlgroup\ntlsay after\ntlexit\n");
            readFromTerminal();
        },
        testing::ExitedWithCode(5),
        "^> help tlgroup\nCommand syntax: Tlgroup \n.*\nKeywords:\n.*Alpha.*Beta.*\n"
        "> tlsay after\nafter\n> tlexit\n$");
}

TEST_F(TerminalLoopDeathTest, CtrlCInACommandDropsTheRestOfTheLineAndTheNextLineRuns) {
    EXPECT_EXIT(
        {
            prepareChild("tlinterrupt; tlsay same; tlsay line\ntlsignal; tlsay next\ntlexit\n");
            stopOnInterrupt();
            readFromTerminal();
        },
        testing::ExitedWithCode(5),
        "^> tlinterrupt; tlsay same; tlsay line\n> tlsignal; tlsay next\nsignal 0\nnext\n"
        "> tlexit\n$");
}

TEST_F(TerminalLoopDeathTest, CtrlCInACommandFileLeavesOutTheRestOfTheFile) {
    char name[] = "/tmp/terminal_loop_fileXXXXXX";
    close(mkstemp(name));
    std::ofstream(name) << "tlsay first\ntlinterrupt\ntlsay second\n";
    EXPECT_EXIT(
        {
            prepareChild(std::string("load ") + name + "\ntlsay next\ntlexit\n");
            initCommand("load", "[text]", COM_load, "");
            stopOnInterrupt();
            readFromTerminal();
        },
        testing::ExitedWithCode(5), "^> load .*\nfirst\n> tlsay next\nnext\n> tlexit\n$");
    std::remove(name);
}

// The loop at a real terminal: the test types into a pseudo-terminal and reads what the loop
// writes there.
class TerminalAtAPty : public TerminalLoopDeathTest {
protected:
    void TearDown() override {
        if (child > 0) {
            kill(child, SIGKILL);
            waitpid(child, nullptr, 0);
        }
        if (master >= 0)
            close(master);
        TerminalLoopDeathTest::TearDown();
    }
    // Starts the loop in a child on the terminal's other side.
    void start() {
        std::fflush(nullptr);
        child = forkpty(&master, nullptr, nullptr, nullptr);
        if (child != 0)
            return;
        setenv("TERM", "dumb", 1);
        setIntPar("interactive", 1);
        TerminalOutputOn();
        stopOnInterrupt();
        readFromTerminal();
        _exit(9);
    }
    void type(const std::string& keys) {
        ASSERT_EQ(write(master, keys.data(), keys.size()), static_cast<ssize_t>(keys.size()));
    }
    // Reads until `text` has come after what was read before; false after ten seconds.
    bool waitFor(const std::string& text) {
        const auto end = std::chrono::steady_clock::now() + std::chrono::seconds(10);
        for (;;) {
            const std::size_t at = seen.find(text, consumed);
            if (at != std::string::npos) {
                consumed = at + text.size();
                return true;
            }
            const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(
                end - std::chrono::steady_clock::now());
            if (left.count() <= 0)
                return false;
            pollfd p{master, POLLIN, 0};
            if (poll(&p, 1, static_cast<int>(left.count())) <= 0)
                continue;
            char buffer[512];
            const ssize_t n = read(master, buffer, sizeof buffer);
            if (n <= 0)
                return false;
            seen.append(buffer, static_cast<std::size_t>(n));
        }
    }
    int exitCode() {
        int status = 0;
        waitpid(child, &status, 0);
        child = -1;
        return WIFEXITED(status) ? WEXITSTATUS(status) : -WTERMSIG(status);
    }
    pid_t child = -1;
    int master = -1;
    std::string seen;
    std::size_t consumed = 0;
};

TEST_F(TerminalAtAPty, CtrlCStopsTheComputationAndAtThePromptGivesAFreshPrompt) {
    start();
    ASSERT_TRUE(waitFor("> ")) << seen;
    // What the test types, and what the loop writes next.
    const std::pair<const char*, const char*> steps[] = {
        {"tlspin\n", "spinning"},
        {"\x03", "spin stopped"},
        {"", "> "},
        // A line being typed is dropped, a continued one too; a second Ctrl-C only prompts again.
        {"tlsay dropped", "dropped"},
        {"\x03", "> "},
        {"tlsay {\n", "... "},
        {"\x03", "> "},
        {"\x03", "> "},
        {"tlsignal\n", "signal 0"},
        {"tlsay alive\n", "\nalive\r\n"},
    };
    for (const auto& [keys, answer] : steps) {
        type(keys);
        ASSERT_TRUE(waitFor(answer)) << "after " << keys << ":\n" << seen;
    }
    type("tlexit\n");
    EXPECT_EQ(exitCode(), 5) << seen;
    EXPECT_EQ(seen.find("\ndropped"), std::string::npos) << seen;
    EXPECT_EQ(seen.find("spin ran out"), std::string::npos) << seen;
}

} // namespace
