#include "base/Output.h"

#include "base/Error.h"
#include "base/Memory.h"
#include "base/Parameters.h"
#include "base/SystemUtility.h"
#include "base/Terminal.h"

#include "TestSupport.h"

#include <gtest/gtest.h>

#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <sys/stat.h>
#include <unistd.h>

namespace fs = std::filesystem;

namespace {

std::string readFile(const fs::path& p) {
    std::ifstream in(p);
    std::stringstream s;
    s << in.rdbuf();
    return s.str();
}

bool existsAsEntry(const std::string& name) {
    struct stat st;
    return lstat(name.c_str(), &st) == 0;
}

// Terminal output on, no output file, no capture, foreground, as a command runs in a session.
class Output : public testing::Test {
protected:
    void SetUp() override {
        testsupport::resetBaseState();
        addInternalParameter("interactive", "OFF", 't', 0);
        interactive = static_cast<int*>(getIntParPointer("interactive"));
        bindErrorSwitches(&errorTrace, &log, &errorLog, &errorInteractive);
        TerminalOutputOn();
        dir = fs::temp_directory_path() / ("tarvik_output_" + std::to_string(getpid()));
        fs::create_directories(dir);
    }
    void TearDown() override {
        testsupport::resetBaseState();
        fs::remove_all(dir);
    }
    // The text the captured output of the current command holds.
    static std::string captured() { return std::string(getReturnBuffer(), getReturnPointer()); }
    int errorTrace = 0, log = 0, errorLog = 0, errorInteractive = 0;
    int* interactive = nullptr;
    fs::path dir;
};

TEST_F(Output, PrintGoesToTerminalAndOutputFileIndependently) {
    struct Case {
        bool terminal;
        bool file;
    };
    for (Case c : {Case{true, true}, Case{false, true}, Case{true, false}, Case{false, false}}) {
        SCOPED_TRACE(testing::Message() << "terminal " << c.terminal << " file " << c.file);
        fs::path path = dir / "out.txt";
        if (c.file)
            setOutputFile(Fopen(path.c_str(), "w"));
        if (!c.terminal)
            TerminalOutputOff();
        testing::internal::CaptureStdout();
        int n = Print("x=%d\n", 42);
        std::string out = testing::internal::GetCapturedStdout();
        TerminalOutputOn();
        setOutputFile(nullptr);
        EXPECT_EQ(out, c.terminal ? "x=42\n" : "");
        EXPECT_EQ(n, c.terminal || c.file ? 5 : 0);
        if (c.file) {
            EXPECT_EQ(readFile(path), "x=42\n");
        }
        fs::remove(path);
    }
}

TEST_F(Output, InformNeverWritesToTheOutputFile) {
    fs::path path = dir / "out.txt";
    setOutputFile(Fopen(path.c_str(), "w"));
    testing::internal::CaptureStdout();
    Inform("note %s\n", "this");
    Print("result\n");
    std::string out = testing::internal::GetCapturedStdout();
    setOutputFile(nullptr);
    EXPECT_EQ(out, "note this\nresult\n");
    EXPECT_EQ(readFile(path), "result\n");
}

TEST_F(Output, SettingTheSameOutputFileAgainKeepsItOpen) {
    fs::path path = dir / "out.txt";
    FILE* fp = Fopen(path.c_str(), "w");
    setOutputFile(fp);
    setOutputFile(fp);
    TerminalOutputOff();
    Print("still open\n");
    setOutputFile(nullptr);
    EXPECT_EQ(readFile(path), "still open\n");
}

TEST_F(Output, CapturedOutputGoesNowhereElse) {
    fs::path path = dir / "out.txt";
    setOutputFile(Fopen(path.c_str(), "w"));
    testing::internal::CaptureStdout();
    returnBufferOn();
    int n = Print("%d+%d", 1, 2);
    Inform("!");
    std::string text = captured();
    returnBufferOff();
    std::string out = testing::internal::GetCapturedStdout();
    setOutputFile(nullptr);
    EXPECT_EQ(n, 3);
    EXPECT_EQ(text, "1+2!");
    EXPECT_EQ(out, "");
    EXPECT_EQ(readFile(path), "");
}

TEST_F(Output, NestedCaptureReturnsOnlyItsOwnText) {
    testing::internal::CaptureStdout();
    returnBufferOn();
    Print("outer-");
    // A function call inside the captured command notes where its own text begins.
    returnBufferOn();
    EXPECT_EQ(getReturnToBuffer(), 2);
    long start = getReturnPointer() - getReturnBuffer();
    Print("inner");
    std::string inner(getReturnBuffer() + start, getReturnPointer());
    returnBufferOff();
    Print("-after");
    std::string outer = captured();
    returnBufferOff();
    EXPECT_EQ(getReturnToBuffer(), 0);
    Print("shown\n");
    returnBufferOn();
    std::string fresh = captured();
    returnBufferOff();
    EXPECT_EQ(testing::internal::GetCapturedStdout(), "shown\n");
    EXPECT_EQ(inner, "inner");
    EXPECT_EQ(outer, "outer-inner-after");
    EXPECT_EQ(fresh, "");
}

// Growing text must stay inside the buffer's guards whatever size the buffer had before.
TEST_F(Output, LongCaptureKeepsEveryCharacterAndTheGuards) {
    testing::internal::CaptureStderr();
    returnBufferOn();
    std::string expected;
    for (int i = 0; i < 20000; ++i) {
        char c = static_cast<char>('a' + i % 26);
        Print("%c", c);
        expected += c;
    }
    Print("%s", std::string(70000, 'z').c_str());
    expected += std::string(70000, 'z');
    std::string text = captured();
    returnBufferOff();
    returnBufferOn(); // reuse checks the guards
    returnBufferOff();
    std::string err = testing::internal::GetCapturedStderr();
    EXPECT_EQ(text, expected);
    EXPECT_EQ(err.find("allocation of returnbuffer"), std::string::npos) << err;
}

// Short texts are formatted in one pass, long ones in two; text handed over as "%s" is passed
// through untouched, percent signs included.
TEST_F(Output, TextsOfEveryLengthArriveWhole) {
    for (std::size_t length : {std::size_t{0}, std::size_t{1}, std::size_t{510}, std::size_t{511},
                               std::size_t{512}, std::size_t{513}, std::size_t{5000}}) {
        SCOPED_TRACE(length);
        const std::string body(length, 'q');
        testing::internal::CaptureStdout();
        const int formatted = Print("[%s|%d]", body.c_str(), 7);
        const int passed = Print("%s", (body + "%d%s").c_str());
        const std::string out = testing::internal::GetCapturedStdout();
        EXPECT_EQ(out, "[" + body + "|7]" + body + "%d%s");
        EXPECT_EQ(formatted, static_cast<int>(length) + 4);
        EXPECT_EQ(passed, static_cast<int>(length) + 4);
    }
}

TEST_F(Output, DebugLevelFourEchoesCapturedText) {
    setDebugLevel(4);
    testing::internal::CaptureStdout();
    returnBufferOn();
    Print("abc");
    returnBufferOff();
    EXPECT_EQ(testing::internal::GetCapturedStdout(), ".......... Return buffer: abc\n");
}

TEST_F(Output, StatusLinesRepeatInPlaceWithACount) {
    testing::internal::CaptureStdout();
    PrintNoRepeat("Scanning: ", "step");
    PrintNoRepeat("Scanning: ", "step");
    PrintNoRepeat("Scanning: ", "step");
    PrintNoRepeat("Sorting: ", "done");
    std::string out = testing::internal::GetCapturedStdout();
    EXPECT_EQ(out, "\nScanning: step\r"
                   "Scanning: step [1]\r"
                   "Scanning: step [2]\r"
                   "\nSorting: done\r");
    EXPECT_EQ(getAtLineBegin(), 1);
}

TEST_F(Output, AResultAfterAStatusLineStartsOnANewLine) {
    testing::internal::CaptureStdout();
    PrintNoRepeat("Status ", "x");
    Print("result\n");
    std::string out = testing::internal::GetCapturedStdout();
    EXPECT_EQ(getAtLineBegin(), 0);
    std::string status = "\nStatus x\r";
    ASSERT_EQ(out.rfind(status, 0), 0u) << out;
    std::string rest = out.substr(status.size());
    // A new line, the status line blanked out, then the result.
    EXPECT_EQ(rest.front(), '\n');
    EXPECT_EQ(rest.substr(rest.size() - 7), "result\n");
    EXPECT_EQ(rest.find_first_not_of(" \r\n"), rest.size() - 7);
}

TEST_F(Output, StatusLinesStayOutOfCaptureAndOutputFile) {
    fs::path path = dir / "out.txt";
    setOutputFile(Fopen(path.c_str(), "w"));
    testing::internal::CaptureStdout();
    returnBufferOn();
    PrintNoRepeat("Captured? ", "no");
    std::string text = captured();
    returnBufferOff();
    std::string out = testing::internal::GetCapturedStdout();
    setOutputFile(nullptr);
    EXPECT_EQ(text, "");
    EXPECT_EQ(out, "\nCaptured? no\r");
    EXPECT_EQ(readFile(path), "");
}

TEST_F(Output, NotraceFileSilencesStatusLinesInBackgroundOnly) {
    std::string saved = getProgName();
    std::string name = "OutTest" + std::to_string(getpid());
    setProgName(name.c_str());
    std::string control = "/tmp/" + name + "_notrace";
    std::ofstream(control) << "";
    EXPECT_EQ(ProgressInfoRequired(), 0);

    testing::internal::CaptureStdout();
    PrintNoRepeat("Foreground ", "shown");
    setBackground(1);
    PrintNoRepeat("Background ", "hidden");
    std::remove(control.c_str());
    EXPECT_EQ(ProgressInfoRequired(), 1);
    PrintNoRepeat("Background ", "shown");
    std::string out = testing::internal::GetCapturedStdout();
    setProgName(saved.c_str());
    EXPECT_EQ(out, "\nForeground shown\r\nBackground shown\r");
}

TEST_F(Output, BackgroundSendsErrorsToStandardOutputAndEndsInteraction) {
    *interactive = 1;
    setBackground(1);
    EXPECT_EQ(getBackground(), 1);
    EXPECT_EQ(*interactive, 0);
    EXPECT_EQ(ERROR_FILE, stdout);
    setBackground(0);
    EXPECT_EQ(getBackground(), 0);
}

TEST_F(Output, LongProgramNamesAreCutTo24Characters) {
    std::string saved = getProgName();
    testing::internal::CaptureStderr();
    setProgName("abcdefghijklmnopqrstuvwxyz");
    std::string err = testing::internal::GetCapturedStderr();
    EXPECT_STREQ(getProgName(), "abcdefghijklmnopqrstuvwx");
    EXPECT_EQ(err, "Name abcdefghijklmnopqrstuvwxyz too long; truncated to 24 characters\n");
    setProgName("abcdefghijklmnopqrstuvwx");
    EXPECT_STREQ(getProgName(), "abcdefghijklmnopqrstuvwx");
    setProgName(saved.c_str());
}

// ---------------------------------------------------------------- vector printers

TEST_F(Output, IntegerVectors) {
    int v[] = {1, -2, 3};
    testing::internal::CaptureStdout();
    PrintVec(3, v, "w");
    PrintSignedVec(3, v, "s");
    PrintVec(0, v, "none");
    PrintSignedVec(-1, v, "none");
    EXPECT_EQ(testing::internal::GetCapturedStdout(), "w  (1,-2,3)\ns  ( 1,-2, 3)\n");
}

TEST_F(Output, DoubleVectorsStandFourToALine) {
    double v[] = {1, 2, 3, 4, -0.5, 6, 7, 8, 9};
    struct Case {
        int size;
        const char* expected;
    } cases[] = {
        {1, "v ( 1.000000000)\n"},
        {4, "v ( 1.000000000, 2.000000000, 3.000000000, 4.000000000)\n"},
        {5, "v ( 1.000000000, 2.000000000, 3.000000000, 4.000000000,\n"
            "   -0.500000000)\n"},
        {8, "v ( 1.000000000, 2.000000000, 3.000000000, 4.000000000,\n"
            "   -0.500000000, 6.000000000, 7.000000000, 8.000000000)\n"},
        {9, "v ( 1.000000000, 2.000000000, 3.000000000, 4.000000000,\n"
            "   -0.500000000, 6.000000000, 7.000000000, 8.000000000,\n"
            "    9.000000000)\n"},
        {0, ""},
    };
    for (const Case& c : cases) {
        testing::internal::CaptureStdout();
        PrintDoubleVec(c.size, v, "v");
        EXPECT_EQ(testing::internal::GetCapturedStdout(), c.expected) << c.size;
    }
}

// ---------------------------------------------------------------- files

TEST_F(Output, GetFileCleansTheGivenName) {
    std::string path = (dir / "result file.txt").string();
    std::string given = "   '" + path + "'  ";
    char* fn = given.data();
    FILE* fp = getFile("output file", "w", &fn);
    ASSERT_NE(fp, nullptr);
    std::fputs("data", fp);
    Fclose(fp);
    EXPECT_EQ(std::string(fn), path);
    EXPECT_EQ(readFile(path), "data");
}

TEST_F(Output, GetFileInBackgroundOpensAWritablePathSilently) {
    std::string path = (dir / "background.txt").string();
    setBackground(1);
    char* fn = path.data();
    testing::internal::CaptureStdout();
    FILE* fp = getFile("output file", "a", &fn);
    std::string out = testing::internal::GetCapturedStdout();
    setBackground(0);
    ASSERT_NE(fp, nullptr);
    Fclose(fp);
    EXPECT_EQ(out, "");
    EXPECT_EQ(std::string(fn), path);
}

TEST_F(Output, GetFileReadsTheNameWhenNoneIsGiven) {
    std::string path = (dir / "typed.txt").string();
    testsupport::StdinText input(path + "\n");
    char* fn = nullptr;
    testing::internal::CaptureStdout();
    FILE* fp = getFile("table file", "w", &fn);
    std::string out = testing::internal::GetCapturedStdout();
    ASSERT_NE(fp, nullptr);
    Fclose(fp);
    EXPECT_EQ(out, "Enter table file :");
    EXPECT_EQ(std::string(fn), path);
    EXPECT_TRUE(fs::exists(path));
}

// The first /tmp/OUT# name that is free, found without touching any file.
int firstFreeOutNumber() {
    int i = 0;
    while (existsAsEntry("/tmp/OUT#" + std::to_string(i)))
        ++i;
    return i;
}

TEST_F(Output, BackgroundFallsBackToAFreshFileInTmp) {
    std::string path = (dir / "missing" / "x.txt").string();
    int expected = firstFreeOutNumber();
    setBackground(1); // the error output is standard output now
    char* fn = path.data();
    testing::internal::CaptureStdout();
    FILE* fp = getFile("output file", "w", &fn);
    std::string out = testing::internal::GetCapturedStdout();
    setBackground(0);
    ASSERT_NE(fp, nullptr);
    std::string name = "/tmp/OUT#" + std::to_string(expected);
    std::fputs("kept", fp);
    std::fclose(fp); // made by getFile itself, not by the file service
    EXPECT_EQ(std::string(fn), name);
    EXPECT_EQ(readFile(name), "kept");
    EXPECT_EQ(out, "Cannot open " + path + "\nWriting to " + name + "\n");
    std::remove(name.c_str());
}

// A link planted under the next free name must be skipped, never written through, even when
// it points nowhere yet.
TEST_F(Output, FallbackNeverWritesThroughAPlantedLink) {
    int free = firstFreeOutNumber();
    std::string planted = "/tmp/OUT#" + std::to_string(free);
    fs::path target = dir / "victim";
    ASSERT_EQ(symlink(target.c_str(), planted.c_str()), 0);
    std::string path = (dir / "missing" / "x.txt").string();
    setBackground(1);
    char* fn = path.data();
    testing::internal::CaptureStdout();
    FILE* fp = getFile("output file", "a", &fn);
    testing::internal::GetCapturedStdout();
    setBackground(0);
    ASSERT_NE(fp, nullptr);
    std::fputs("x", fp);
    std::fclose(fp);
    std::string used = fn;
    EXPECT_NE(used, planted);
    EXPECT_EQ(used.rfind("/tmp/OUT#", 0), 0u);
    EXPECT_FALSE(fs::exists(target));
    std::remove(used.c_str());
    std::remove(planted.c_str());
}

TEST_F(Output, NoFallbackForReading) {
    std::string path = (dir / "missing.txt").string();
    setBackground(1);
    char* fn = path.data();
    testing::internal::CaptureStdout();
    FILE* fp = getFile("input file", "r", &fn);
    std::string out = testing::internal::GetCapturedStdout();
    setBackground(0);
    EXPECT_EQ(fp, nullptr);
    EXPECT_EQ(out, "Cannot open " + path + "\n");
}

TEST_F(Output, QuitInsteadOfANameGivesNoFile) {
    testsupport::StdinText input("quit\n");
    char* fn = nullptr;
    testing::internal::CaptureStdout();
    EXPECT_EQ(getFile("output file", "w", &fn), nullptr);
    testing::internal::GetCapturedStdout();
}

TEST_F(Output, ResetEndsCaptureClosesTheFileAndComesBackToTheForeground) {
    const std::string path = (dir / "reset.txt").string();
    setOutputFile(Fopen(path.c_str(), "w"));
    returnBufferOn();
    returnBufferOn();
    setBackground(1);
    setDebugLevel(4);
    setProgName("Elsewhere");
    testing::internal::CaptureStdout();
    PrintNoRepeat("status ", "line");
    testing::internal::GetCapturedStdout();

    resetOutputState();
    EXPECT_EQ(getReturnToBuffer(), 0);
    EXPECT_EQ(getReturnPointer(), nullptr);
    EXPECT_EQ(getOutputFile(), nullptr);
    EXPECT_EQ(getBackground(), 0);
    EXPECT_EQ(ERROR_FILE, stderr);
    EXPECT_EQ(getDebugLevel(), 0);
    EXPECT_STREQ(getProgName(), "X");
    EXPECT_EQ(getAtLineBegin(), 0);
    // Printing neither reaches the old file nor is captured.
    TerminalOutputOn();
    testing::internal::CaptureStdout();
    Print("after\n");
    EXPECT_EQ(testing::internal::GetCapturedStdout(), "after\n");
    EXPECT_EQ(readFile(path), "");
}

// ---------------------------------------------------------------- ModText

TEST_F(Output, ModTextIsShownFromWhereTheLastDisplayStopped) {
    if (!findMemory("ModText"))
        initMemory("ModText", 'c', 0, 50000);
    char* text = nullptr;
    char* at = reserveModText(&text, nullptr, 100);
    ASSERT_EQ(at, text);
    at += std::sprintf(at, "part1");
    testing::internal::CaptureStdout();
    displayModIntermediate();
    at = reserveModText(&text, at, 200000); // may move the area; the offset stays
    ASSERT_EQ(at - text, 5);
    std::sprintf(at, "part2");
    displayMod();
    displayMod();
    EXPECT_EQ(testing::internal::GetCapturedStdout(), "part1\npart2\npart1part2\n");
}

// Results are not flushed one by one; whatever standard output still holds when the process ends
// abnormally is written out then. A process killed outright (nothing can catch that) shows that
// the text was really held back.
TEST_F(Output, AbnormalEndsWriteWhatStandardOutputHolds) {
    struct End {
        const char* name;
        void (*end)();
        bool written;
    };
    const End ends[] = {
        {"fault", [] { std::raise(SIGSEGV); }, true},
        {"abort", [] { std::abort(); }, true},
        {"uncaught exception", [] { std::terminate(); }, true},
        {"termination request", [] { std::raise(SIGTERM); }, true},
        {"exit", [] { std::exit(3); }, true},
        {"killed", [] { std::raise(SIGKILL); }, false},
    };
    for (const End& e : ends) {
        const std::string out = testsupport::stdoutOfChild([&] {
            flushOutputOnAbnormalEnd();
            flushOutput();
            Print("held back");
            e.end();
        });
        EXPECT_EQ(out, e.written ? "held back" : "") << e.name;
    }
}

// A value that rounds to zero at the printed precision prints without a sign; one that does not
// keeps it.
TEST(PrintedZero, RoundsToAnUnsignedZeroOnlyBelowHalfTheLastDigit) {
    struct Case {
        double x;
        int decimals;
        const char* printed;
    };
    const Case cases[] = {
        {-0.0, 7, "0.0000000"},      {-1e-12, 7, "0.0000000"},      {-4.9e-8, 7, "0.0000000"},
        {-5.1e-8, 7, "-0.0000001"},  {-4.9e-9, 8, "0.00000000"},    {-1e-8, 8, "-0.00000001"},
        {-4e-4, 3, "0.000"},         {-0.7071068, 7, "-0.7071068"}, {3e-9, 7, "0.0000000"},
        {0.2309699, 7, "0.2309699"},
    };
    char text[32];
    for (const Case& c : cases) {
        std::snprintf(text, sizeof text, "%.*f", c.decimals, unsignedZero(c.x, c.decimals));
        EXPECT_STREQ(text, c.printed) << c.x << " at " << c.decimals;
    }
}

} // namespace
