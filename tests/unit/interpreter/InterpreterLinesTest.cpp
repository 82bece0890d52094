// Command lines, blocks and command files, run through commands of the test's own (all beginning
// with "zl").
#include "interpreter/Interpreter.h"

#include "base/Error.h"
#include "base/Output.h"
#include "base/Parameters.h"
#include "base/Terminal.h"

#include "TestSupport.h"

#include "InterpreterTestHelpers.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <csignal>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <string>
#include <unistd.h>
#include <vector>

namespace {

std::vector<std::string> calls;

// "zlw" records its words as one call: "w(a|b|c)".
int recordWords(void** params, int parnum) {
    std::string s = "w(";
    for (int i = 0; i < parnum; ++i)
        s += (i ? "|" : "") + std::string(static_cast<const char*>(params[i]));
    calls.push_back(s + ")");
    return -parnum;
}

int failSeven(void**, int) {
    calls.push_back("fail");
    return 7;
}

int recordInteractive(void**, int parnum) {
    calls.push_back("interactive=" +
                    std::to_string(*static_cast<int*>(getIntParPointer("interactive"))));
    return -parnum;
}

int showPosition(void**, int parnum) {
    printErrorInfo();
    return -parnum;
}

int evaluateSeen(void** params, int parnum) {
    calls.push_back("evaluate " + std::string(static_cast<const char*>(params[0])));
    return -parnum;
}

std::string nestedFile;
int runNestedFile(void**, int parnum) {
    executeCommandFile(nestedFile.c_str(), 0);
    return -parnum;
}

// "zlrecurse" runs itself again, without end.
int runItself(void**, int) {
    return executeCommandLine("zlrecurse");
}

void setUpInterpreter() {
    makeDefaultMode();
    getConversion("id", makeConversionMethod(nullptr, 'c', "String"));
    for (const char* name : {"interactive", "echo", "math"})
        addInternalParameter(name, "OFF", 't', 0);
    initCommand("zlw", "(word)...(word)", recordWords, "");
    initCommand("zlfail", "", failSeven, "");
    initCommand("zlinteractive", "", recordInteractive, "");
    initCommand("zlposition", "", showPosition, "");
    initCommand("zlnested", "", runNestedFile, "");
    initCommand("zlrecurse", "", runItself, "");
}

class InterpreterLinesTest : public interptest::FreshInterpreterTest {
protected:
    std::filesystem::path dir;
    void SetUp() override {
        FreshInterpreterTest::SetUp();
        setUpInterpreter();
        calls.clear();
        dir = std::filesystem::temp_directory_path() /
              ("interp_lines_" + std::to_string(getpid()) + "_" +
               testing::UnitTest::GetInstance()->current_test_info()->name());
        std::filesystem::create_directories(dir);
    }
    void TearDown() override {
        std::filesystem::remove_all(dir);
        FreshInterpreterTest::TearDown();
    }
    std::string writeFile(const char* name, const std::string& text) {
        const std::filesystem::path p = dir / name;
        std::ofstream(p, std::ios::binary) << text;
        return p.string();
    }
    static std::string buffered() {
        testing::internal::CaptureStderr();
        dumpErrorBuffer();
        return testing::internal::GetCapturedStderr();
    }
};

using Calls = std::vector<std::string>;

TEST_F(InterpreterLinesTest, BlocksRunInTurnAndBracedTextIsOneArgument) {
    composeCommandLine("zlw a; zlw b c");
    EXPECT_EQ(calls, (Calls{"w(a)", "w(b|c)"}));
    calls.clear();
    // A handler's line runs the same way.
    executeCommandLine("zlw {x; y  z} {p {q r}}");
    EXPECT_EQ(calls, (Calls{"w(x; y  z|p {q r})"}));
}

TEST_F(InterpreterLinesTest, BackslashJoinsPhysicalLines) {
    EXPECT_EQ(composeCommandLine("zlw ab\\"), -1);
    EXPECT_EQ(composeCommandLine("   cd"), 0);
    EXPECT_EQ(composeCommandLine("zlw ab \\"), -1);
    composeCommandLine("cd");
    EXPECT_EQ(calls, (Calls{"w(abcd)", "w(ab|cd)"}));
}

TEST_F(InterpreterLinesTest, OpenBraceContinuesTheLine) {
    // After "{" the next line follows a blank; after any other character a ";" and a blank.
    EXPECT_EQ(composeCommandLine("zlw {"), -1);
    EXPECT_EQ(composeCommandLine("x"), -1);
    EXPECT_EQ(composeCommandLine("y}"), 0);
    EXPECT_EQ(calls, (Calls{"w( x; y)"}));
}

TEST_F(InterpreterLinesTest, ExtraClosingBraceDiscardsTheLine) {
    testing::internal::CaptureStderr();
    EXPECT_EQ(composeCommandLine("zlw a}; zlw b"), 0);
    const std::string err = testing::internal::GetCapturedStderr();
    EXPECT_NE(err.find("Too many closing brackets (\"}\")"), std::string::npos) << err;
    EXPECT_TRUE(calls.empty());
    // The record was emptied: the next line starts afresh.
    composeCommandLine("zlw c");
    EXPECT_EQ(calls, (Calls{"w(c)"}));
}

TEST_F(InterpreterLinesTest, PercentStartsAComment) {
    composeCommandLine("zlw a % zlw b");
    EXPECT_EQ(calls, (Calls{"w(a)"}));
    calls.clear();
    // Inside braces too: the brace stays open and the line continues.
    EXPECT_EQ(composeCommandLine("zlw {p % q}"), -1);
    composeCommandLine("r}");
    EXPECT_EQ(calls, (Calls{"w(p; r)"}));
}

TEST_F(InterpreterLinesTest, ErrorStopsTheLineAndTheRemainderIsHeldBack) {
    EXPECT_EQ(composeCommandLine("zlfail; zlw b; zlw c"), 7);
    EXPECT_EQ(calls, (Calls{"fail"}));
    EXPECT_NE(buffered().find("Remainder (zlw b; zlw c) ignored"), std::string::npos);
    EXPECT_EQ(getErrorCount(), 1);
    // A new terminal line starts counting again.
    composeCommandLine("zlw d");
    EXPECT_EQ(calls, (Calls{"fail", "w(d)"}));
}

TEST_F(InterpreterLinesTest, UnknownCommandIsReportedAndTheNextBlockRuns) {
    testing::internal::CaptureStderr();
    EXPECT_EQ(composeCommandLine("zlnosuchcommand; zlw b"), 0);
    const std::string err = testing::internal::GetCapturedStderr();
    EXPECT_NE(err.find("Command zlnosuchcommand not known"), std::string::npos) << err;
    EXPECT_EQ(calls, (Calls{"w(b)"}));
}

TEST_F(InterpreterLinesTest, EmptyBlockStopsTheLine) {
    composeCommandLine("zlw a;; zlw b");
    EXPECT_EQ(calls, (Calls{"w(a)"}));
}

TEST_F(InterpreterLinesTest, LineFeedInALineRunsNothing) {
    testing::internal::CaptureStderr();
    composeCommandLine("zlw x");
    EXPECT_EQ(executeCommandLine("zlw a\nzlw b"), 9995);
    const std::string err = testing::internal::GetCapturedStderr();
    EXPECT_NE(err.find("Line feed not allowed in command line"), std::string::npos);
    EXPECT_EQ(calls, (Calls{"w(x)"}));
}

TEST_F(InterpreterLinesTest, ManyWordsGrowTheWordList) {
    std::string line = "zlw";
    std::string expected = "w(";
    for (int i = 0; i < 40; ++i) {
        line += " " + std::to_string(i);
        expected += (i ? "|" : "") + std::to_string(i);
    }
    composeCommandLine(line.c_str());
    EXPECT_EQ(calls, (Calls{expected + ")"}));
}

TEST_F(InterpreterLinesTest, RecordsAreReused) {
    composeCommandLine("zlw a");
    executeCommandLine("zlw a; zlw b");
    const long used = showCommandLinesUsed(0);
    for (int i = 0; i < 20; ++i)
        executeCommandLine("zlw a; zlw b");
    EXPECT_EQ(showCommandLinesUsed(0), used);
}

TEST_F(InterpreterLinesTest, EchoPrintsTheLine) {
    setIntPar("echo", 1);
    TerminalOutputOn();
    testing::internal::CaptureStdout();
    composeCommandLine("zlw   e  ");
    const std::string out = testing::internal::GetCapturedStdout();
    EXPECT_EQ(out, "zlw   e\n");
    EXPECT_EQ(calls, (Calls{"w(e)"}));
}

TEST_F(InterpreterLinesTest, MathModeRunsTheLineAsAnExpression) {
    // The words of the math line go to "evaluate" in braces; the trace shows the line built.
    initCommand("evaluate", "[expression]", evaluateSeen, "");
    setIntPar("math", 1);
    EXPECT_EQ(composeCommandLine("(1 +"), -1);
    setDebugLevel(1);
    testing::internal::CaptureStdout();
    composeCommandLine("2)*3");
    const std::string out = testing::internal::GetCapturedStdout();
    setDebugLevel(0);
    EXPECT_NE(out.find(".... Command Block: evaluate {(1 + 2)*3}\n"), std::string::npos) << out;
    EXPECT_EQ(calls, (Calls{"evaluate (1 + 2)*3"}));
}

TEST_F(InterpreterLinesTest, CommandFileWithCarriageReturnsAndHashLines) {
    const std::string file = writeFile("run.cmd", "# a comment line\r"
                                                  "zlw one\r\n"
                                                  "\r\n"
                                                  "zlinteractive\r"
                                                  "zlw {two\r"
                                                  "three}\r");
    setIntPar("interactive", 1);
    EXPECT_EQ(executeCommandFile(file.c_str(), 0), 0);
    EXPECT_EQ(calls, (Calls{"w(one)", "interactive=0", "w(two; three)"}));
    EXPECT_EQ(*static_cast<int*>(getIntParPointer("interactive")), 1);
}

TEST_F(InterpreterLinesTest, HashAfterBlanksRunsAsAnUnknownCommand) {
    const std::string file = writeFile("hash.cmd", "  # not a comment\nzlw after\n");
    testing::internal::CaptureStderr();
    executeCommandFile(file.c_str(), 0);
    const std::string err = testing::internal::GetCapturedStderr();
    EXPECT_NE(err.find("Command # not known"), std::string::npos) << err;
    EXPECT_EQ(calls, (Calls{"w(after)"}));
}

// The remainder of a stopped file line is held back for that line only: it must not come out
// with the messages of a later line, as it does not at the terminal.
TEST_F(InterpreterLinesTest, RemainderOfAFileLineIsNotShownWithTheNextLine) {
    const std::string file = writeFile("rest.cmd", "zlfail; zlw skipped\nzlnosuchcommand\n");
    testing::internal::CaptureStderr();
    executeCommandFile(file.c_str(), 0);
    const std::string err = testing::internal::GetCapturedStderr();
    // Held alone, the message of the second line is shown as it is.
    EXPECT_NE(err.find("Command zlnosuchcommand not known"), std::string::npos) << err;
    EXPECT_EQ(err.find("Remainder (zlw skipped) ignored"), std::string::npos) << err;
    EXPECT_EQ(calls, (Calls{"fail"}));
}

TEST_F(InterpreterLinesTest, MissingFileRunsNothing) {
    testing::internal::CaptureStderr();
    EXPECT_EQ(executeCommandFile((dir / "absent.cmd").c_str(), 0), 1);
    testing::internal::GetCapturedStderr();
    EXPECT_TRUE(calls.empty());
}

TEST_F(InterpreterLinesTest, PositionInTheCommandFile) {
    const std::string file = writeFile("pos.cmd", "# line 0\nzlw a\nzlposition\n");
    testing::internal::CaptureStderr();
    executeCommandFile(file.c_str(), 0);
    const std::string err = testing::internal::GetCapturedStderr();
    EXPECT_EQ(err, "Error occurred on line 2, file " + file + "\nLine: zlposition\n");
}

TEST_F(InterpreterLinesTest, NoPositionOutsideACommandFile) {
    testing::internal::CaptureStderr();
    composeCommandLine("zlposition");
    EXPECT_EQ(testing::internal::GetCapturedStderr(), "");
}

// A file loaded from a file reuses the file buffer; the outer file must go on unharmed.
TEST_F(InterpreterLinesTest, NestedCommandFileLeavesTheOuterFileIntact) {
    nestedFile = writeFile("inner.cmd", "zlw inner\n");
    const std::string outer = writeFile("outer.cmd", "zlw first\nzlnested\nzlw last\nzlposition\n");
    testing::internal::CaptureStderr();
    executeCommandFile(outer.c_str(), 0);
    const std::string err = testing::internal::GetCapturedStderr();
    EXPECT_EQ(calls, (Calls{"w(first)", "w(inner)", "w(last)"}));
    EXPECT_EQ(err, "Error occurred on line 3, file " + outer + "\nLine: zlposition\n");
}

TEST_F(InterpreterLinesTest, ReadCommandFileRunsAnOpenStream) {
    const std::string file = writeFile("stream.cmd", "zlw s1\n#skip\nzlw s2");
    FILE* f = std::fopen(file.c_str(), "r");
    ASSERT_NE(f, nullptr);
    readCommandFile(f, 0);
    std::fclose(f);
    EXPECT_EQ(calls, (Calls{"w(s1)", "w(s2)"}));
}

std::size_t occurrences(const std::string& text, const std::string& part) {
    std::size_t n = 0;
    for (std::size_t pos = text.find(part); pos != std::string::npos;
         pos = text.find(part, pos + 1))
        ++n;
    return n;
}

// A recursion without end is stopped before the stack runs out, as an error of the innermost
// line that stops every line around it at once.
TEST_F(InterpreterLinesTest, RunawayRecursionStopsEveryEnclosingLine) {
    testing::internal::CaptureStderr();
    EXPECT_GT(composeCommandLine("zlrecurse; zlw after"), 0);
    const std::string err = testing::internal::GetCapturedStderr();
    EXPECT_EQ(occurrences(err, "Command lines nested too deeply"), 1u) << err.substr(0, 500);
    EXPECT_TRUE(calls.empty());
    composeCommandLine("zlw next");
    EXPECT_EQ(calls, (Calls{"w(next)"}));
}

// A command file that loads itself: each file goes on with its next line after the innermost one
// was refused.
TEST_F(InterpreterLinesTest, CommandFileLoadingItselfIsStopped) {
    nestedFile = writeFile("self.cmd", "zlnested\nzlw back\n");
    testing::internal::CaptureStderr();
    executeCommandFile(nestedFile.c_str(), 0);
    const std::string err = testing::internal::GetCapturedStderr();
    EXPECT_NE(err.find("Command lines nested too deeply"), std::string::npos);
    ASSERT_GT(calls.size(), 10u);
    EXPECT_EQ(std::count(calls.begin(), calls.end(), "w(back)"),
              static_cast<std::ptrdiff_t>(calls.size()));
}

// What a command printed is written out when the command ends: a crash afterwards, even one that
// nothing can catch, does not take it along. Text printed by a command still running is held.
TEST_F(InterpreterLinesTest, OutputIsWrittenWhenACommandEnds) {
    initCommand(
        "zlprint", "",
        [](void**, int) {
            Print("printed by zlprint");
            return 0;
        },
        "");
    initCommand(
        "zlprintcrash", "",
        [](void**, int) {
            Print(" and by zlprintcrash");
            std::raise(SIGKILL);
            return 0;
        },
        "");
    const std::string out = testsupport::stdoutOfChild([] {
        TerminalOutputOn();
        flushOutput();
        composeCommandLine("zlprint");
        composeCommandLine("zlprintcrash");
    });
    EXPECT_EQ(out, "printed by zlprint");
}

// A background run that ends on an error names the file position of the failing line.
TEST_F(InterpreterLinesTest, BackgroundErrorReportsTheFilePosition) {
    // As the interpreter's start-up installs it.
    setErrorPositionReport(printErrorInfo);
    initCommand(
        "zlsevere", "",
        [](void**, int) {
            Alert("zlsevere", 0, 100301, "Severe problem");
            return 0;
        },
        "");
    const std::string file = writeFile("bg.cmd", "zlw a\nzlsevere\nzlw never\n");
    EXPECT_EXIT(
        {
            dup2(STDERR_FILENO, STDOUT_FILENO);
            setBackground(1);
            executeCommandFile(file.c_str(), 0);
            std::exit(0);
        },
        testing::ExitedWithCode(1),
        "Severe problem.*Syntax error; terminating execution\n.*Error occurred on line 1, "
        "file .*bg.cmd\nLine: zlsevere");
}

} // namespace
