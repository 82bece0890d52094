// The command language through whole command lines: expressions as arguments, macros,
// variables, procedures and commands called as functions. Every test starts from the built-in
// commands alone; the names it defines begin with "zq".
#include "interpreter/IntCommands.h"
#include "interpreter/Interpreter.h"

#include "base/Error.h"
#include "base/Output.h"
#include "interpreter/Evaluator.h"

#include "InterpreterTestHelpers.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <string>
#include <unistd.h>
#include <utility>
#include <vector>

namespace {

class LanguageTest : public interptest::CommandLineTest {
protected:
    std::string runAll(const std::vector<const char*>& lines) {
        std::string out;
        for (const char* line : lines)
            out += run(line);
        return out;
    }
};

const char* global(const char* name) {
    return findGlobalReplacement(name);
}

TEST_F(LanguageTest, EvaluatePrintsExactValues) {
    const std::vector<std::pair<const char*, const char*>> cases = {
        {"evaluate 2+3*4", "14\n"},         {"evaluate 10-2-3", "5\n"},
        {"evaluate 10-2+3", "11\n"},        {"evaluate 2*8/2", "8\n"},
        {"evaluate (1+2)*3", "9\n"},        {"evaluate 7/2", "7/2\n"},
        {"evaluate 1/3+1/6", "1/2\n"},      {"evaluate 9999+1", "10000\n"},
        {"evaluate 3*-2", "-6\n"},          {"evaluate 0.1+0.2", "3/10\n"},
        {"evaluate abc=~abc", "TRUE\n"},    {"evaluate 2>3", "FALSE\n"},
        {"evaluate {\"a b\"|c}", "a bc\n"},
    };
    for (const auto& [line, expected] : cases) {
        EXPECT_EQ(run(line), expected) << line;
        EXPECT_LE(rc, 0) << line;
    }
}

TEST_F(LanguageTest, RepeatedSquaringReachesTwoToTheHundred) {
    // 2^100 = 2^64 * 2^32 * 2^4
    const std::string out = runAll({"x=2", "x=x*x", "x=x*x", "y=x", "x=x*x", "x=x*x", "x=x*x",
                                    "z=x", "x=x*x", "evaluate x", "evaluate x*z*y"});
    EXPECT_EQ(out, "18446744073709551616\n1267650600228229401496703205376\n");
}

TEST_F(LanguageTest, CommandFileRunsItsLinesInOrder) {
    char name[] = "/tmp/zq_language_XXXXXX";
    const int fd = mkstemp(name);
    ASSERT_GE(fd, 0);
    const std::string text = "a=1/3\nb=a+1/6\nevaluate b*4\n# comment\nevaluate {a|b}\n";
    ASSERT_EQ(write(fd, text.data(), text.size()), static_cast<ssize_t>(text.size()));
    close(fd);
    testing::internal::CaptureStdout();
    EXPECT_EQ(executeCommandFile(name, 1), 0);
    EXPECT_EQ(testing::internal::GetCapturedStdout(), "2\n1/31/2\n");
    std::remove(name);
}

TEST_F(LanguageTest, LastHoldsTheLastValue) {
    EXPECT_EQ(run("evaluate 1/3+1/6"), "1/2\n");
    EXPECT_STREQ(global("$last"), "1/2");
    EXPECT_EQ(run("evaluate $last*4"), "2\n");
    EXPECT_EQ(run("execute 6*7"), "");
    EXPECT_STREQ(global("$last"), "42");
    EXPECT_EQ(run("evaluate {\"\"}"), "");
    EXPECT_STREQ(global("$last"), "");
}

TEST_F(LanguageTest, FloatPrintsTheDoubleRightAligned) {
    EXPECT_EQ(run("float 1/3+1/6"), std::string(13, ' ') + "0.500000000000000\n");
    EXPECT_STREQ(global("$last"), "1/2");
    EXPECT_EQ(run("float -7/4"), std::string(12, ' ') + "-1.750000000000000\n");
}

TEST_F(LanguageTest, FloatOfAnErrorFails) {
    EXPECT_EQ(run("float 1/0"), "INFINITE\n");
    EXPECT_GT(rc, 0);
    EXPECT_EQ(run("float abc"), "Not a number\n");
    EXPECT_GT(rc, 0);
}

TEST_F(LanguageTest, ErrorValueStopsTheLine) {
    EXPECT_EQ(run("evaluate 1/0;evaluate 5"), "INFINITE\n");
    EXPECT_GT(rc, 0);
}

TEST_F(LanguageTest, AssignmentMakesALevelZeroVariable) {
    EXPECT_EQ(run("x=5;evaluate x+1"), "6\n");
    EXPECT_STREQ(findReplacement("x", *getLocalVariableList(0)), "5");
    // A refused assignment stops the line.
    EXPECT_EQ(run("1x=3;evaluate 5"), "");
    EXPECT_EQ(findReplacement("1x", *getLocalVariableList(0)), nullptr);
}

TEST_F(LanguageTest, IntegerArgumentsAreExpressions) {
    addParameter("zq_count", "3", "non_neg_int", "test count", 0);
    EXPECT_EQ(run("x=4;set zq_count 2*x+1;show zq_count"), "9\n");
    EXPECT_EQ(run("set zq_count 7/2;show zq_count"), "");
    EXPECT_GT(rc, 0);
    EXPECT_EQ(run("show zq_count"), "9\n");
    // Big integers that fit an int are read; larger ones are refused.
    EXPECT_EQ(run("set zq_count 100000*20000;show zq_count"), "2000000000\n");
    EXPECT_EQ(run("set zq_count 100000*30000"), "");
    EXPECT_GT(rc, 0);
}

TEST_F(LanguageTest, VariableArgumentIsSubstitutedWhole) {
    EXPECT_EQ(run("zqv=2;extract zqv {a1b22c333}"), "22\n");
    EXPECT_EQ(run("extract 3 {-1.5 and 7}"), "---\n");
    EXPECT_EQ(run("extract 2 {-1.5 and 7}"), "7\n");
}

TEST_F(LanguageTest, GlobalVariables) {
    EXPECT_EQ(run("global zqg=2+3"), "");
    EXPECT_STREQ(global("zqg"), "5");
    EXPECT_EQ(run("evaluate zqg*2"), "10\n");
    run("global zqg");
    EXPECT_EQ(rc, 1);
    run("global zqh=1/0");
    EXPECT_GT(rc, 0);
    EXPECT_EQ(global("zqh"), nullptr);
}

TEST_F(LanguageTest, FreeVariableRemovesGlobalAndLocal) {
    run("global zqg=1;zqg=2;zql=3");
    EXPECT_EQ(run("free variable zqg"), "");
    EXPECT_EQ(global("zqg"), nullptr);
    EXPECT_EQ(findReplacement("zqg", *getLocalVariableList(0)), nullptr);
    run("global zqo=1");
    testing::internal::CaptureStderr();
    run("free variable zqo");
    EXPECT_EQ(testing::internal::GetCapturedStderr(), "");
    EXPECT_STREQ(findReplacement("zql", *getLocalVariableList(0)), "3");
}

TEST_F(LanguageTest, MacrosAreSubstitutedOutsideBraces) {
    run("define zqm 4");
    EXPECT_EQ(run("evaluate 1zqm+1"), "15\n");
    EXPECT_EQ(run("print {zqm}"), "zqm\n");
    run("define zqcmd {evaluate 6*7}");
    EXPECT_EQ(run("zqcmd"), "42\n");
}

TEST_F(LanguageTest, ChainedMacrosNeedASecondPass) {
    run("define zqa zqb");
    run("define zqb 5");
    EXPECT_EQ(run("evaluate zqa+1"), "6\n");
    run("undefine {zqb}");
    EXPECT_EQ(run("evaluate zqa"), "zqb\n");
}

TEST_F(LanguageTest, MacroThatHoldsItsOwnNameIsRefused) {
    run("define zqa xzqa");
    EXPECT_EQ(rc, 1);
    EXPECT_EQ(findAlias("zqa", *getMacroList(), 1), nullptr);
}

TEST_F(LanguageTest, MacroCycleIsRefused) {
    run("define zqa zqb");
    run("define zqb {zqa+1}");
    EXPECT_EQ(rc, 1);
    EXPECT_EQ(findAlias("zqb", *getMacroList(), 1), nullptr);
}

TEST_F(LanguageTest, RunawayMacroSubstitutionStops) {
    // Neither text holds the other's name, but "zqb" gives "zqa", which forms "zqaz" with the
    // letter after it, which gives "zqbz" again.
    run("define zqaz zqbz");
    run("define zqb zqa");
    ASSERT_NE(findAlias("zqb", *getMacroList(), 1), nullptr);
    testing::internal::CaptureStderr();
    EXPECT_EQ(run("evaluate 1;evaluate zqbz;evaluate 3"), "1\n");
    EXPECT_NE(testing::internal::GetCapturedStderr().find("Definition yields infinite recursion"),
              std::string::npos);
    run("undefine {zqb}");
    EXPECT_EQ(run("evaluate 3"), "3\n");
}

TEST_F(LanguageTest, FreeMacrosOfAnUnknownNameOnlyReports) {
    run("define zqm 4;procedure zqkeep {evaluate 1};global zqg=1");
    testing::internal::CaptureStderr();
    EXPECT_EQ(run("free macros a"), "");
    EXPECT_NE(testing::internal::GetCapturedStderr().find("a not defined"), std::string::npos);
    EXPECT_NE(findAlias("zqm", *getMacroList(), 1), nullptr);
    EXPECT_STREQ(global("zqg"), "1");
    EXPECT_EQ(run("zqkeep"), "1\n");
    // The other lists behave alike.
    for (const char* line : {"free procedures a", "free global a", "free local a"}) {
        run(line);
        EXPECT_NE(findAlias("zqm", *getMacroList(), 1), nullptr) << line;
        EXPECT_STREQ(global("zqg"), "1") << line;
    }
    run("free macros {zqm}");
    EXPECT_EQ(findAlias("zqm", *getMacroList(), 1), nullptr);
}

TEST_F(LanguageTest, ProcedureWithParameters) {
    run("procedure zqadd(a,b) {evaluate a+b}");
    EXPECT_EQ(run("zqadd 3 4"), "7\n");
    EXPECT_EQ(run("zqadd 1/2 1/3"), "5/6\n");
    CommandType* ct = matchComKey("zqadd");
    ASSERT_NE(ct, nullptr);
    EXPECT_STREQ(ct->parms, "[a][b]");
    EXPECT_STREQ(findReplacement("zqadd", *getProcedureList()), "evaluate %0+%1");
}

TEST_F(LanguageTest, OptionalParameterAndFunctionValue) {
    run("procedure zqf(x|y) {return x*y}");
    CommandType* ct = matchComKey("zqf");
    ASSERT_NE(ct, nullptr);
    EXPECT_STREQ(ct->parms, "[x](y)");
    EXPECT_STREQ(findReplacement("zqf", *getProcedureList()), "return %0*%1");
    EXPECT_EQ(run("evaluate zqf(3,4)+1"), "13\n");
    // At the prompt "return" prints nothing.
    EXPECT_EQ(run("zqf 3 4"), "");
}

TEST_F(LanguageTest, ProcedureLocalsVanishOnReturn) {
    run("procedure zqloc(v) {zqt=v*2;evaluate zqt}");
    EXPECT_EQ(run("zqloc 5"), "10\n");
    EXPECT_EQ(run("evaluate zqt"), "zqt\n");
    EXPECT_EQ(findReplacement("zqt", *getLocalVariableList(0)), nullptr);
}

TEST_F(LanguageTest, ExactProcedureNameWinsOverLongerOne) {
    run("procedure zqab {evaluate 1}");
    run("procedure zqabc {evaluate 2}");
    EXPECT_EQ(run("zqab"), "1\n");
    EXPECT_EQ(run("zqabc"), "2\n");
}

TEST_F(LanguageTest, ProcedureNameInUseIsRefused) {
    run("procedure zqp {evaluate 1}");
    EXPECT_LE(rc, 0);
    run("procedure zqp {evaluate 2}");
    EXPECT_EQ(rc, 1);
    EXPECT_EQ(run("zqp"), "1\n");
    run("procedure evaluate {evaluate 2}");
    EXPECT_EQ(rc, 1);
    run("free procedures zqp");
    EXPECT_EQ(matchComKey("zqp"), nullptr);
    run("procedure zqp {evaluate 3}");
    EXPECT_EQ(run("zqp"), "3\n");
}

TEST_F(LanguageTest, FunctionValueIsTheCapturedOutput) {
    run("procedure zqtwo {evaluate 1;evaluate 2}");
    EXPECT_EQ(run("evaluate zqtwo()"), "1\n2\n");
    EXPECT_EQ(run("execute zqtwo()"), "");
    EXPECT_STREQ(global("$last"), "1\n2");
}

TEST_F(LanguageTest, NestedFunctionCallKeepsOuterCapture) {
    run("procedure zqinner {evaluate 5}");
    run("procedure zqouter {evaluate 1;return zqinner()*2}");
    EXPECT_EQ(run("evaluate zqouter()"), "1\n10\n");
}

TEST_F(LanguageTest, FailingFunctionGivesReturnCode) {
    run("procedure zqbad {evaluate 1/0}");
    EXPECT_EQ(run("evaluate zqbad()"), "RETURN CODE 1\n");
    EXPECT_GT(rc, 0);
    run("procedure zqnone {evaluate 1}");
    testing::internal::CaptureStderr();
    EXPECT_EQ(run("evaluate zqnone(7)"), "RETURN CODE 9998\n");
    EXPECT_NE(testing::internal::GetCapturedStderr().find("Too many arguments for function zqnone"),
              std::string::npos);
}

TEST_F(LanguageTest, BuiltInCommandAsFunction) {
    EXPECT_EQ(run("evaluate extract(2,\"a1b22\")+1"), "23\n");
    EXPECT_EQ(run("evaluate evaluate(3)*2"), "6\n");
}

TEST_F(LanguageTest, PrintIsNotCaptured) {
    run("procedure zqpr {print 7;return 8}");
    EXPECT_EQ(run("evaluate zqpr()+1"), "7\n9\n");
}

TEST_F(LanguageTest, StatusDefinitionsListsEverything) {
    run("define zqm {evaluate 1};procedure zqp(a) {print a};global zqg=2;zql=3");
    const std::string out = run("status definitions");
    EXPECT_NE(out.find("Macro \"zqm\"; Replacement: \"evaluate 1\"\n"), std::string::npos);
    EXPECT_NE(out.find("Procedure \"zqp\"; Value: \"print %0\"\n"), std::string::npos);
    EXPECT_NE(out.find("Global variable \"zqg\"; Value: \"2\"\n"), std::string::npos);
    EXPECT_NE(out.find("Local var.(level 0) \"zql\"; Value: \"3\"\n"), std::string::npos);
}

TEST_F(LanguageTest, MathModeEvaluatesLines) {
    setIntPar("math", 1);
    const std::string out = run("1+2*3");
    setIntPar("math", 0);
    EXPECT_EQ(out, "7\n");
}

TEST_F(LanguageTest, ConditionsThroughTheVariables) {
    run("zqc=3");
    EXPECT_EQ(checkConditionalExpression("zqc==3"), 0);
    EXPECT_EQ(checkConditionalExpression("zqc>3"), 1);
    EXPECT_EQ(checkConditionalExpression("zqc"), -1);
}

TEST(ReplaceDummies, ValuesBeyondTheArgumentsStay) {
    char a[] = "3";
    char b[] = "x";
    char* values[] = {a, b, nullptr};
    EXPECT_STREQ(replaceDummiesbyValues("f %0 %1 %2 %10", values), "f 3 x %2 %10");
    EXPECT_STREQ(replaceDummiesbyValues("%0%1", values), "3x");
}

} // namespace
