// Matching of command blocks and their execution, through whole command lines. Every test
// registers words of its own (all beginning with "zx").
#include "interpreter/Interpreter.h"

#include "base/Error.h"
#include "base/Output.h"

#include "InterpreterTestHelpers.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

namespace {

std::vector<std::string> calls;

// Handlers record their name and arguments; integer positions are read as ints.
std::string describe(void** params, int parnum, int ints) {
    std::string s;
    for (int i = 0; i < parnum; ++i) {
        s += i ? "," : "(";
        if (i < ints)
            s += std::to_string(*static_cast<int*>(params[i]));
        else
            s += static_cast<const char*>(params[i]);
    }
    return s + (parnum ? ")" : "()");
}

template <int Ints> int recordAll(void** params, int parnum) {
    calls.push_back("all" + describe(params, parnum, Ints));
    return -parnum;
}

template <int Ints> int recordNone(void** params, int parnum) {
    calls.push_back("none" + describe(params, parnum, Ints));
    return 0;
}

int recordNamed(const char* name, int parnum) {
    calls.push_back(name);
    return -parnum;
}
int handlerA(void**, int parnum) {
    return recordNamed("a", parnum);
}
int handlerB(void**, int parnum) {
    return recordNamed("b", parnum);
}

ConversionResult convResult;

ConversionResult* convertInt(void* word, int) {
    convResult.rc = convertToInteger(static_cast<const char*>(word), &convResult.value);
    convResult.max = convResult.value;
    return &convResult;
}

// "a-b" is the range from a to b.
ConversionResult* convertRange(void* word, int) {
    const char* text = static_cast<const char*>(word);
    int first = 0;
    int last = 0;
    char extra = 0;
    if (std::sscanf(text, "%d-%d%c", &first, &last, &extra) == 2) {
        convResult = {-1, first, last};
        return &convResult;
    }
    return convertInt(word, 0);
}

ConversionResult* convertLength(void* word, int) {
    const int n = static_cast<int>(std::strlen(static_cast<const char*>(word)));
    convResult = {0, n, n};
    return &convResult;
}

std::vector<int> indices;
ConversionResult* convertIndex(void* word, int index) {
    indices.push_back(index);
    return convertInt(word, index);
}

void registerTypes() {
    makeDefaultMode();
    getConversion("id", makeConversionMethod(nullptr, 'c', "String"));
    getConversion("zx_int", makeConversionMethod(convertInt, 'i', "Test integer"));
    getConversion("zx_range", makeConversionMethod(convertRange, 'i', "Test range"));
    getConversion("zx_length", makeConversionMethod(convertLength, 'i', "Test length"));
    getConversion("zx_index", makeConversionMethod(convertIndex, 'i', "Test index"));
}

class InterpreterExecTest : public interptest::FreshInterpreterTest {
protected:
    void SetUp() override {
        FreshInterpreterTest::SetUp();
        registerTypes();
        calls.clear();
        indices.clear();
        testing::internal::CaptureStderr();
    }
    void TearDown() override {
        err();
        FreshInterpreterTest::TearDown();
    }
    // What the error output received since the test began (or since the last call).
    std::string err() {
        if (!capturing_)
            return {};
        std::string s = testing::internal::GetCapturedStderr();
        capturing_ = false;
        return s;
    }
    static bool has(const std::string& text, const char* part) {
        return text.find(part) != std::string::npos;
    }

private:
    bool capturing_ = true;
};

using Calls = std::vector<std::string>;

// A line as the terminal hands it over, which starts the line's error count afresh.
int run(const char* line) {
    return composeCommandLine(line);
}

TEST_F(InterpreterExecTest, ExactWordWinsAndAbbreviationsMustBeUnique) {
    initCommand("zxshort", "", handlerA, "");
    initCommand("zxshortlong", "", handlerB, "");
    EXPECT_EQ(run("zxshort"), 0);
    EXPECT_EQ(run("zxshortl"), 0);
    EXPECT_EQ(run("ZXSHORT"), 0);
    EXPECT_EQ(run("ZxShortLo"), 0);
    EXPECT_EQ(calls, (Calls{"a", "b", "a", "b"}));
    EXPECT_EQ(run("zxsho"), NoCommandMatches);
    EXPECT_EQ(calls.size(), 4u);
    EXPECT_TRUE(has(err(), "Command zxsho ambiguous"));
}

TEST_F(InterpreterExecTest, CommandAndKeywordEachAbbreviated) {
    initCommand("zxcompute spectrum", "", handlerA, "");
    initCommand("zxcompute sizes", "", handlerB, "");
    EXPECT_EQ(run("zxcomp spe"), 0);
    EXPECT_EQ(run("zxcomp Si"), 0);
    EXPECT_EQ(calls, (Calls{"a", "b"}));
    EXPECT_EQ(run("zxcomp s"), NoCommandMatches);
    EXPECT_TRUE(has(err(), "Keyword s ambiguous"));
}

TEST_F(InterpreterExecTest, AfterAWordTakingArgumentsOnlyExactKeywordsAreKeywords) {
    initCommand("zxkey", "[word](word)", recordAll<0>, "");
    initCommand("zxkey sub", "", handlerA, "");
    run("zxkey sub");
    run("zxkey su");
    run("zxkey Sub x");
    EXPECT_EQ(calls, (Calls{"a", "all(su)", "all(Sub,x)"}));
    EXPECT_EQ(err(), "");
}

TEST_F(InterpreterExecTest, TooFewParametersIsReportedAndTheNextBlockRuns) {
    initCommand("zxfew", "[zx_int a][zx_int b]", recordAll<2>, "");
    initCommand("zxfewone", "[zx_int a]", recordAll<1>, "");
    EXPECT_EQ(run("zxfew 1; zxfewone 5"), 0);
    EXPECT_EQ(calls, (Calls{"all(5)"}));
    std::string e = err();
    EXPECT_TRUE(has(e, "Command \"zxfew\" requires at least 2 parameters")) << e;
    testing::internal::CaptureStderr();
    EXPECT_EQ(run("zxfewone"), NoCommandMatches);
    e = testing::internal::GetCapturedStderr();
    EXPECT_TRUE(has(e, "Command \"zxfewone\" requires at least one parameter")) << e;
}

TEST_F(InterpreterExecTest, ArgumentsAreConvertedAndBadOnesStopTheCommand) {
    initCommand("zxconv", "[zx_int a][word]", recordAll<1>, "");
    EXPECT_EQ(run("zxconv 2000000000 text"), 0);
    EXPECT_EQ(calls, (Calls{"all(2000000000,text)"}));
    EXPECT_EQ(run("zxconv abc text; zxconv 1 more"), 1);
    EXPECT_EQ(calls.size(), 1u);
    EXPECT_TRUE(has(err(), "Non-numerical parameter: abc"));
}

TEST_F(InterpreterExecTest, RepeatedParametersGetTheirRepetitionNumber) {
    initCommand("zxrepeat", "[zx_index a](zx_index b)...(zx_index c)", recordAll<4>, "");
    run("zxrepeat 7 8 9 10");
    EXPECT_EQ(calls, (Calls{"all(7,8,9,10)"}));
    EXPECT_EQ(indices, (std::vector<int>{0, 1, 1, 2}));
}

ModeType* enablingMode = nullptr;
void enableTheMode() {
    switchMode(enablingMode, 1);
}
void leaveTheModeOff() {}

TEST_F(InterpreterExecTest, DisabledModeRefusesUnlessItsFunctionEnablesIt) {
    ModeType* plain = makeMode("Run zxsetup first");
    enablingMode = makeMode("never shown");
    ModeType* stubborn = makeMode("Still off");
    addModeFunction(enablingMode, enableTheMode);
    addModeFunction(stubborn, leaveTheModeOff);
    setCurrentMode(plain);
    initCommand("zxmodeplain", "", handlerA, "");
    setCurrentMode(enablingMode);
    initCommand("zxmodeauto", "", handlerB, "");
    setCurrentMode(stubborn);
    initCommand("zxmodestubborn", "", handlerA, "");
    setCurrentMode(getDefaultMode());
    switchMode(plain, 0);
    switchMode(enablingMode, 0);
    switchMode(stubborn, 0);

    EXPECT_EQ(run("zxmodeplain"), NotExecutable);
    EXPECT_EQ(run("zxmodeauto"), 0);
    EXPECT_EQ(run("zxmodestubborn"), NotExecutable);
    EXPECT_EQ(calls, (Calls{"b"}));
    EXPECT_EQ(enablingMode->enabled, 1);
    const std::string e = err();
    EXPECT_TRUE(has(e, "Invalid command: zxmodeplain\n")) << e;
    EXPECT_TRUE(has(e, "Run zxsetup first")) << e;
    EXPECT_TRUE(has(e, "Invalid command: zxmodestubborn\n")) << e;
    EXPECT_TRUE(has(e, "Still off")) << e;
}

TEST_F(InterpreterExecTest, DisabledWordIsRefused) {
    initCommand("zxdisabled", "", handlerA, "");
    disableCommand("zxdisabled");
    EXPECT_EQ(run("zxdisabled"), NoCommandMatches);
    EXPECT_TRUE(calls.empty());
    EXPECT_TRUE(has(err(), "Command \"zxdisabled\" disabled"));
}

TEST_F(InterpreterExecTest, RangeRunsTheHandlerOncePerValue) {
    initCommand("zxrange", "[zx_range a](zx_range b)", recordAll<2>, "");
    initCommand("zxrangelazy", "[zx_range a]", recordNone<1>, "");
    run("zxrange 1-3");
    EXPECT_EQ(calls, (Calls{"all(1)", "all(2)", "all(3)"}));
    calls.clear();
    run("zxrange 1-2 5-6");
    EXPECT_EQ(calls, (Calls{"all(1,5)", "all(1,6)", "all(2,5)", "all(2,6)"}));
    calls.clear();
    run("zxrange 3-1");
    EXPECT_EQ(calls, (Calls{"all(3)"}));
    calls.clear();
    // A handler that leaves its argument unused ends the run after the first value.
    run("zxrangelazy 1-3");
    EXPECT_EQ(calls, (Calls{"none(1)"}));
}

TEST_F(InterpreterExecTest, StringPositionsKeepTheirWordsInARangeRun) {
    initCommand("zxrangemixed", "[zx_range a][word]", recordAll<1>, "");
    run("zxrangemixed 4-5 label");
    EXPECT_EQ(calls, (Calls{"all(4,label)", "all(5,label)"}));
}

TEST_F(InterpreterExecTest, LeftOverWordsRunWithTheLeadingWords) {
    initCommand("zxleft first", "", handlerA, "");
    initCommand("zxleft second", "", handlerB, "");
    initCommand("zxleftother", "[zx_int a]", recordAll<1>, "");
    EXPECT_EQ(run("zxleft first second"), 0);
    EXPECT_EQ(calls, (Calls{"a", "b"}));
    calls.clear();
    // Words that no shared prefix accepts run as a command of their own.
    EXPECT_EQ(run("zxleft second zxleftother 4"), 0);
    EXPECT_EQ(calls, (Calls{"b", "all(4)"}));
}

TEST_F(InterpreterExecTest, ArgumentsAHandlerLeavesUnusedRunAsWords) {
    initCommand("zxunused", "(zx_length a)", recordNone<1>, "");
    initCommand("zxunusedafter", "", handlerA, "");
    // The unused argument was converted; it must come back as the word that was typed.
    EXPECT_EQ(run("zxunused zxunusedafter"), 0);
    EXPECT_EQ(calls, (Calls{"none(13)", "a"}));
}

TEST_F(InterpreterExecTest, HooksRunAroundTheHandler) {
    static std::vector<std::string> order;
    order.clear();
    setCurrentPreCommand([] {
        order.push_back("pre");
        return 0;
    });
    setCurrentPostCommand([] { order.push_back("post"); });
    initCommand(
        "zxhooked", "",
        [](void**, int) {
            order.push_back("exec");
            return 3;
        },
        "");
    setCurrentPreCommand([] {
        order.push_back("stop");
        return 5;
    });
    initCommand(
        "zxhookstop", "",
        [](void**, int) {
            order.push_back("never");
            return 0;
        },
        "");
    setCurrentPreCommand(nullptr);
    setCurrentPostCommand(nullptr);

    EXPECT_EQ(run("zxhooked"), 3);
    EXPECT_EQ(order, (Calls{"pre", "exec", "post"}));
    order.clear();
    EXPECT_EQ(run("zxhookstop"), 5);
    EXPECT_EQ(order, (Calls{"stop"}));
}

TEST_F(InterpreterExecTest, FunctionInfoStandsBeforeTheFirstParameter) {
    static int info = 42;
    static void* seen = nullptr;
    initCommand(
        "zxinfo word", "[zx_int a]",
        [](void** params, int parnum) {
            seen = params[-1];
            return -parnum;
        },
        "");
    addFunctionInfo("zxinfo word", &info);
    run("zxinfo word 1");
    EXPECT_EQ(seen, &info);
}

TEST_F(InterpreterExecTest, BreakSkipsTheRestOfTheLine) {
    initCommand("zxbreak", "(zx_int count)", COM_break, "");
    initCommand("zxbreakrec", "", handlerA, "");
    EXPECT_EQ(run("zxbreak; zxbreakrec"), BlockSkippedByBreak);
    EXPECT_TRUE(calls.empty());
    EXPECT_EQ(getBreakParameter(), 2147483647);
    // A counted break is lowered by one loop level.
    setBreakParameter(0);
    run("zxbreak 2");
    EXPECT_EQ(getBreakParameter(), 2);
    EXPECT_EQ(lowerBreakParameter(BlockSkippedByBreak, 3), -3);
    EXPECT_EQ(getBreakParameter(), 1);
    EXPECT_EQ(lowerBreakParameter(4, 3), 4);
    setBreakParameter(0);
    run("zxbreakrec");
    EXPECT_EQ(calls, (Calls{"a"}));
}

TEST_F(InterpreterExecTest, FindComKeyNamesTheMatchedWords) {
    initCommand("zxsyntax deep", "[zx_int a]", handlerA, "");
    char words[2][16] = {"zxsyn", "de"};
    void* commands[] = {words[0], words[1], nullptr};
    char syntax[128];
    int keycnt = 0;
    CommandType* ct = findComKey(commands, syntax, &keycnt);
    EXPECT_EQ(ct, matchComKey("zxsyntax deep"));
    EXPECT_EQ(keycnt, 2);
    EXPECT_STREQ(syntax, "Command syntax: Zxsyntax Deep ");
}

// Commands are registered in lower case; a name written with capitals, as the command table
// writes "create CFT", finds the same node.
TEST_F(InterpreterExecTest, MatchComKeyIgnoresCapitals) {
    CommandType* ct = initCommand("zxmake CFT", "", handlerA, "");
    ASSERT_NE(ct, nullptr);
    EXPECT_EQ(matchComKey("zxmake CFT"), ct);
    EXPECT_EQ(matchComKey("ZXmake cft"), ct);
}

TEST_F(InterpreterExecTest, ShiftCommandMovesTheTailDown) {
    char w[4][4] = {"a", "b", "c", "d"};
    void* commands[] = {w[0], w[1], w[2], w[3], nullptr};
    shiftCommand(commands, 1, 3);
    EXPECT_EQ(commands[0], w[0]);
    EXPECT_EQ(commands[1], w[3]);
    EXPECT_EQ(commands[2], nullptr);
}

} // namespace
