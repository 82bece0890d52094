// The command tree, its registration and the argument types. Each test starts from an empty tree.
#include "interpreter/Interpreter.h"

#include "base/Error.h"
#include "base/Output.h"
#include "interpreter/Evaluator.h"

#include "InterpreterTestHelpers.h"
#include "TestSupport.h"

#include <gtest/gtest.h>

#include <climits>
#include <cstring>
#include <string>
#include <vector>

namespace {

ConversionResult convResult;

ConversionResult* convertTestInt(void* word, int) {
    convResult.rc = convertToInteger(static_cast<const char*>(word), &convResult.value);
    convResult.max = convResult.value;
    return &convResult;
}

ConversionMethod* registerTestTypes() {
    makeDefaultMode();
    getConversion("id", makeConversionMethod(nullptr, 'c', "String"));
    return getConversion("reg_int", makeConversionMethod(convertTestInt, 'i', "Test integer"));
}

std::vector<std::string> calls;

int recordFirst(void** params, int parnum) {
    calls.push_back(parnum > 0 ? std::to_string(*static_cast<int*>(params[0])) : "-");
    return -parnum;
}

int recordOther(void**, int parnum) {
    calls.push_back("other");
    return -parnum;
}

int preCount = 0;
int postCount = 0;
int countingPre() {
    ++preCount;
    return 0;
}
void countingPost() {
    ++postCount;
}

class InterpreterTest : public interptest::FreshInterpreterTest {
protected:
    ConversionMethod* intType = nullptr;
    void SetUp() override {
        FreshInterpreterTest::SetUp();
        intType = registerTestTypes();
        calls.clear();
    }
};

TEST_F(InterpreterTest, ParameterTextGivesCountsEntriesAndSubstitution) {
    ConversionMethod* id = findConversion("id")->conv;
    struct Case {
        const char* word;
        const char* parms;
        int parMin;
        int parMax;
        std::vector<ConversionMethod*> entries;
        int substitution;
    };
    const std::vector<Case> cases = {
        {"ptxa", "[reg_int count][commandline]", 2, 2, {intType, id}, 0},
        {"ptxb", "[commandline]", 1, 1, {id}, 1},
        {"ptxc", "(fn)", 0, 1, {id}, 1},
        {"ptxd", "(command)(key_1)...(key_n)", 0, INT_MAX, {id, id}, 1},
        {"ptxe", "[cmd...]", 1, INT_MAX, {}, 1},
        {"ptxf", "", 0, 0, {}, 1},
        {"ptxg", "[reg_int a](reg_int b)", 1, 2, {intType, intType}, 0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.parms);
        CommandType* ct = initCommand(c.word, c.parms, recordFirst, "");
        ASSERT_NE(ct, nullptr);
        EXPECT_EQ(ct->parMin, c.parMin);
        EXPECT_EQ(ct->parMax, c.parMax);
        ASSERT_EQ(ct->ConversionCount, static_cast<int>(c.entries.size()));
        if (c.entries.empty()) {
            EXPECT_EQ(ct->conversions, nullptr);
        }
        for (std::size_t i = 0; i < c.entries.size(); ++i)
            EXPECT_EQ(ct->conversions[i], c.entries[i]);
        EXPECT_EQ(ct->allowSubstitution, c.substitution);
        EXPECT_STREQ(ct->parms, c.parms);
    }
}

TEST_F(InterpreterTest, UnknownTypeIsReportedAndLeavesAnEmptyEntry) {
    testing::internal::CaptureStderr();
    CommandType* ct = initCommand("ptxunknown", "[no_such_type x][reg_int y]", recordFirst, "");
    const std::string err = testing::internal::GetCapturedStderr();
    EXPECT_NE(err.find("Unknown data type: no_such_type"), std::string::npos) << err;
    ASSERT_EQ(ct->ConversionCount, 2);
    EXPECT_EQ(ct->conversions[0], nullptr);
    EXPECT_EQ(ct->conversions[1], intType);
}

TEST_F(InterpreterTest, WordsAreStoredInLowerCaseAndGroupWordsAreCreated) {
    CommandType* leaf = initCommand("RegLower SubWord", "", recordFirst, "Help.");
    ASSERT_NE(leaf, nullptr);
    EXPECT_STREQ(leaf->command, "subword");
    CommandType* group = matchComKey("reglower");
    ASSERT_NE(group, nullptr);
    EXPECT_EQ(group->exec, nullptr);
    EXPECT_EQ(group->keywords, leaf);
    EXPECT_EQ(matchComKey("reglower subword"), leaf);
    EXPECT_GE(getMaxCommandSize(), static_cast<int>(std::strlen("subword")));
}

TEST_F(InterpreterTest, SecondRegistrationIsRefusedAndTheFirstHandlerStays) {
    CommandType* first = initCommand("regtwice", "", recordFirst, "");
    testing::internal::CaptureStderr();
    CommandType* second = initCommand("regtwice", "", recordOther, "");
    const std::string err = testing::internal::GetCapturedStderr();
    EXPECT_EQ(first, second);
    EXPECT_EQ(first->exec, recordFirst);
    EXPECT_NE(err.find("Attempt to re-initialize command regtwice"), std::string::npos) << err;
}

TEST_F(InterpreterTest, RegisteringMoreThanSevenWordsDropsTheRest) {
    testing::internal::CaptureStderr();
    initCommand("regw1 w2 w3 w4 w5 w6 w7 w8", "", recordFirst, "");
    const std::string err = testing::internal::GetCapturedStderr();
    EXPECT_NE(err.find("Command number overflow"), std::string::npos);
    CommandType* seventh = matchComKey("regw1 w2 w3 w4 w5 w6 w7");
    ASSERT_NE(seventh, nullptr);
    EXPECT_EQ(seventh->exec, recordFirst);
    EXPECT_EQ(seventh->keywords, nullptr);
}

// A word made first as a keyword group takes on everything of the command it becomes.
TEST_F(InterpreterTest, HandlerAttachedToAGroupWordTakesParametersModeAndHooks) {
    initCommand("regorient info_level", "[reg_int level]", recordOther, "");
    ModeType* mode = makeMode("Orientifold mode off");
    setCurrentMode(mode);
    setCurrentPreCommand(countingPre);
    setCurrentPostCommand(countingPost);
    CommandType* ct = initCommand("regorient", "(reg_int value)", recordFirst, "Switch it.");
    setCurrentMode(getDefaultMode());
    setCurrentPreCommand(nullptr);
    setCurrentPostCommand(nullptr);

    EXPECT_EQ(ct->exec, recordFirst);
    EXPECT_EQ(ct->parMin, 0);
    EXPECT_EQ(ct->parMax, 1);
    ASSERT_EQ(ct->ConversionCount, 1);
    EXPECT_EQ(ct->conversions[0], intType);
    EXPECT_EQ(ct->allowSubstitution, 0);
    EXPECT_EQ(ct->mode, mode);
    EXPECT_EQ(ct->pre_exec, countingPre);
    EXPECT_EQ(ct->post_exec, countingPost);
    EXPECT_STREQ(ct->help, "    Switch it.");

    preCount = postCount = 0;
    EXPECT_EQ(composeCommandLine("regorient 0"), 0);
    EXPECT_EQ(calls, std::vector<std::string>{"0"});
    EXPECT_EQ(preCount, 1);
    EXPECT_EQ(postCount, 1);
}

TEST_F(InterpreterTest, HelpIsLaidOutWithIndentationFourAndLineLengthSeventy) {
    std::string words;
    for (int i = 0; i < 20; ++i)
        words += i ? " aaaa" : "aaaa";
    CommandType* ct = initCommand("reghelp", "", recordFirst, words.c_str());
    // Fifteen words make 74 characters, the first break after more than 70.
    std::string first;
    std::string second;
    for (int i = 0; i < 15; ++i)
        first += i ? " aaaa" : "aaaa";
    for (int i = 0; i < 5; ++i)
        second += i ? " aaaa" : "aaaa";
    EXPECT_EQ(std::string(ct->help), "    " + first + "\n    " + second);

    CommandType* two = initCommand("reghelptwo", "(macro)", recordFirst,
                                   "Remove \"macro\";\n    without parameters: remove all.");
    EXPECT_STREQ(two->help, "    Remove \"macro\";\n    without parameters: remove all.");
    EXPECT_STREQ(initCommand("reghelpnone", "", recordFirst, "")->help, "");
}

TEST_F(InterpreterTest, ChangeOperationsFindTheirCommand) {
    CommandType* ct = initCommand("regchange sub", "", recordFirst, "");
    disableCommand("regchange sub");
    EXPECT_EQ(ct->enabled, 0);
    enableCommand("regchange sub");
    EXPECT_EQ(ct->enabled, 1);
    makeInternal("regchange sub");
    EXPECT_EQ(ct->internal, 1);
    int info = 0;
    addFunctionInfo("regchange sub", &info);
    EXPECT_EQ(ct->FunctionInfo, &info);

    testing::internal::CaptureStderr();
    makeInternal("regchange nosuch");
    disableCommand("regchange nosuch");
    const std::string err = testing::internal::GetCapturedStderr();
    EXPECT_NE(err.find("Command not found; not made internal"), std::string::npos) << err;
    EXPECT_NE(err.find("No exact match found for keyword nosuch"), std::string::npos) << err;
}

TEST_F(InterpreterTest, ApplyToComKeyVisitsTheNodeAndItsKeywordsInOrder) {
    initCommand("regapply b", "", recordFirst, "");
    initCommand("regapply a", "", recordFirst, "");
    initCommand("regapply c", "", recordFirst, "");
    static std::vector<std::string> seen;
    seen.clear();
    applyToComKey(matchComKey("regapply"), [](CommandType* ct) { seen.push_back(ct->command); });
    EXPECT_EQ(seen, (std::vector<std::string>{"regapply", "a", "b", "c"}));
    applyToComKey(matchComKey("regapply"), disableSubstitution);
    EXPECT_EQ(matchComKey("regapply b")->allowSubstitution, 0);
}

TEST_F(InterpreterTest, RemovedCommandCannotRun) {
    initCommand("regremoved", "", recordFirst, "");
    removeCommand("regremoved");
    CommandType* ct = matchComKey("$egremoved");
    ASSERT_NE(ct, nullptr);
    EXPECT_EQ(ct->internal, 2);
    testing::internal::CaptureStderr();
    EXPECT_EQ(composeCommandLine("$egremoved"), NotExecutable);
    testing::internal::GetCapturedStderr();
    EXPECT_TRUE(calls.empty());
}

// The removed word sorts elsewhere now; the words around it must still be found exactly.
TEST_F(InterpreterTest, RemovalKeepsOtherWordsReachableAndTheWordFree) {
    initCommand("regrm_m", "", recordFirst, "");
    initCommand("regrm_a", "", recordFirst, "");
    initCommand("regrm_z", "", recordFirst, "");
    initCommand("regrm_y", "", recordFirst, "");
    initCommand("regrm_b", "", recordFirst, "");
    removeCommand("regrm_m");
    for (const char* w : {"regrm_a", "regrm_b", "regrm_y", "regrm_z", "$egrm_m"})
        EXPECT_NE(matchComKey(w), nullptr) << w;
    CommandType* again = initCommand("regrm_m", "", recordOther, "");
    ASSERT_NE(again, nullptr);
    EXPECT_EQ(again->internal, 0);
    EXPECT_EQ(composeCommandLine("regrm_m"), 0);
    EXPECT_EQ(calls, std::vector<std::string>{"other"});
}

TEST_F(InterpreterTest, NamedTypesAreKeptOnceNewestFirst) {
    ConversionMethod* a = getConversion("reg_type_a", makeConversionMethod(nullptr, 'c', "A"));
    // The method passed for a name already known is not used (it stays with its maker).
    static ConversionMethod* unused = makeConversionMethod(nullptr, 'c', "Other");
    EXPECT_EQ(getConversion("reg_type_a", unused), a);
    getConversion("reg_type_b", makeConversionMethod(nullptr, 'c', "B"));
    EXPECT_STREQ(getFirstConversion()->name, "reg_type_b");
    EXPECT_STREQ(nextConversion(getFirstConversion())->name, "reg_type_a");
    EXPECT_EQ(findConversion("reg_type_none"), nullptr);
}

TEST_F(InterpreterTest, ConvertToIntegerAcceptsTheWholeIntRange) {
    struct Case {
        const char* text;
        int rc;
        int value;
    };
    const Case cases[] = {
        {"2000000000", 0, 2000000000},
        {"2147483647", 0, INT_MAX},
        {"-2147483648", 0, INT_MIN},
        {" 42 ", 0, 42},
        {"-7", 0, -7},
        {"2147483648", 2, 0},
        {"-2147483649", 2, 0},
        {"abc", 1, 0},
        {"12x", 1, 0},
    };
    testing::internal::CaptureStderr();
    for (const Case& c : cases) {
        int value = 0;
        EXPECT_EQ(convertToInteger(c.text, &value), c.rc) << c.text;
        if (c.rc == 0) {
            EXPECT_EQ(value, c.value) << c.text;
        }
    }
    const std::string err = testing::internal::GetCapturedStderr();
    EXPECT_NE(err.find("Integer too large"), std::string::npos);
    EXPECT_NE(err.find("Non-numerical parameter: abc"), std::string::npos);
}

TEST_F(InterpreterTest, ConvertToDoubleAndToString) {
    double d = 0;
    EXPECT_EQ(convertToDouble("-12", &d), 0);
    EXPECT_EQ(d, -12.0);
    testing::internal::CaptureStderr();
    EXPECT_EQ(convertToDouble("zz", &d), 1);
    testing::internal::GetCapturedStderr();
    char txt[16];
    std::memset(txt, 'x', sizeof txt);
    char* end = convertToString("abcdefgh", txt, 5);
    EXPECT_STREQ(txt, "abcde");
    EXPECT_EQ(end, txt + 5);
}

// Every test of this program starts from this reset, so what it leaves must be a fresh start.
TEST_F(InterpreterTest, ResetGivesBackEverythingAndForgetsEveryName) {
    resetInterpreterState();
    const std::uint32_t before = testsupport::allocatedTo("Interpreter");
    registerTestTypes();
    makeMode("Another mode");
    initCommand("regreset first", "[reg_int n]", recordFirst, "Some help.");
    initCommand("regreset second", "", recordOther, "");
    composeCommandLine("regreset first 3; regreset second");
    composeCommandLine("regreset {");
    executeCommandLine("regreset second");
    setAlias("regmacro", "1", getMacroList());
    setAlias("regglobal", "2", getGlobalVariableList());
    setAlias("reglocal", "3", getLocalVariableList(0));
    testing::internal::CaptureStdout();
    printComCol(getRootCommand());
    testing::internal::GetCapturedStdout();
    ASSERT_GT(testsupport::allocatedTo("Interpreter"), before);
    EXPECT_EQ(calls, (std::vector<std::string>{"3", "other", "other"}));

    resetInterpreterState();
    EXPECT_EQ(testsupport::allocatedTo("Interpreter"), before);
    EXPECT_EQ(getRootCommand(), nullptr);
    EXPECT_EQ(getMaxCommandSize(), 0);
    EXPECT_EQ(getDefaultMode(), nullptr);
    EXPECT_EQ(getFirstConversion(), nullptr);
    EXPECT_EQ(*getMacroList(), nullptr);
    EXPECT_EQ(*getGlobalVariableList(), nullptr);
    EXPECT_EQ(*getLocalVariableList(0), nullptr);
    EXPECT_EQ(showCommandLinesUsed(0), 0);
    // The half-typed line is gone with its record: a new line starts afresh.
    calls.clear();
    registerTestTypes();
    initCommand("regreset", "[reg_int n]", recordFirst, "");
    EXPECT_EQ(composeCommandLine("regreset 4"), 0);
    EXPECT_EQ(calls, std::vector<std::string>{"4"});
}

// The cell of a user column evaluates its expression as the interpreter does.
class UserColumn : public interptest::FreshInterpreterTest {
protected:
    void SetUp() override {
        FreshInterpreterTest::SetUp();
        initEvaluator();
    }
};

TEST_F(UserColumn, UserColumnEvaluatesItsExpressionPerLabel) {
    char cell[256];
    char expression[] = "2*#";
    for (int lbl : {0, 3, 17}) {
        char* end = getExtraColumn(cell, expression, lbl);
        EXPECT_EQ(std::string(cell), std::to_string(2 * lbl));
        EXPECT_EQ(end, cell + std::strlen(cell));
    }
    char square[] = "#*#+1";
    getExtraColumn(cell, square, 12);
    EXPECT_STREQ(cell, "145");
}

TEST_F(UserColumn, UserColumnIsAtMostEightyCharacters) {
    char cell[256];
    // Five factors 10^20 and the label 1: 10^100, of 101 digits.
    char expression[] = "100000000000000000000*100000000000000000000*100000000000000000000*"
                        "100000000000000000000*100000000000000000000*#";
    char* end = getExtraColumn(cell, expression, 1);
    EXPECT_EQ(end - cell, 80);
    EXPECT_EQ(std::string(cell), "1" + std::string(79, '0'));
}

} // namespace
