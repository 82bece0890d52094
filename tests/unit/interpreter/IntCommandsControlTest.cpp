// The control-flow, help and run-control commands, run through whole command lines. Each test
// registers the handlers under words of its own (all beginning with "cf") beside small commands
// that record what ran and keep variables for the conditions.
#include "interpreter/IntCommandsControl.h"

#include "base/Error.h"
#include "base/Output.h"
#include "base/Parameters.h"
#include "base/Terminal.h"
#include "interpreter/Evaluator.h"
#include "interpreter/Interpreter.h"

#include "InterpreterTestHelpers.h"
#include "TestSupport.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <map>
#include <pty.h>
#include <regex>
#include <sstream>
#include <string>
#include <unistd.h>
#include <vector>

namespace {

using Calls = std::vector<std::string>;

Calls calls;
std::map<std::string, std::string> variables;

const char* text(void** params, int i) {
    return static_cast<const char*>(params[i]);
}

int cfRec(void** params, int) {
    calls.emplace_back(text(params, 0));
    return -1;
}

int cfSay(void** params, int) {
    Print("%s\n", text(params, 0));
    return -1;
}

int cfFail(void**, int) {
    calls.emplace_back("fail");
    return 5;
}

int cfSet(void** params, int) {
    variables[text(params, 0)] = text(params, 1);
    return -2;
}

// Counts the variable up and records its new value.
int cfInc(void** params, int) {
    std::string& value = variables[text(params, 0)];
    value = std::to_string(std::atoi(value.c_str()) + 1);
    calls.push_back(std::string(text(params, 0)) + "=" + value);
    return -1;
}

const char* findVariable(const char* name) {
    auto it = variables.find(name);
    return it == variables.end() ? nullptr : it->second.c_str();
}

ConversionResult countResult;
ConversionResult* convertCount(void* word, int) {
    countResult.rc = convertToInteger(static_cast<const char*>(word), &countResult.value);
    countResult.max = countResult.value;
    return &countResult;
}

HLP helpExtender = [] { Print("    extended help"); };

void registerCommands() {
    makeDefaultMode();
    getConversion("id", makeConversionMethod(nullptr, 'c', "String"));
    getConversion("cf_count", makeConversionMethod(convertCount, 'i', "Test count"));

    initCommand("cfrec", "[name]", cfRec, "");
    initCommand("cfsay", "[text]", cfSay, "Print $x$ the @text@.");
    initCommand("cffail", "", cfFail, "");
    initCommand("cfset", "[name][value]", cfSet, "");
    initCommand("cfinc", "[name]", cfInc, "");
    initCommand("cfbreak", "(cf_count count)", COM_break, "");

    initCommand("cfif", "[condition][true_commandline](false_commandline)", COM_if, "");
    initCommand("cfwhile", "[condition][commandline]", COM_while, "");
    initCommand("cffor", "[command1][condition][command2][commandline]", COM_for, "");
    initCommand("cfrepeat", "[cf_count count][commandline]", COM_repeat, "");
    initCommand("cfcontinue", "", COM_continue, "");
    initCommand("cfverify", "[commandline]", COM_verify, "");
    initCommand("cfload", "[filename]", COM_load, "");
    initCommand("cffile", "(fn)", COM_file, "");
    initCommand("cffile on", "(fn)", COM_file, "");
    initCommand("cffile append", "(fn)", COM_file_append, "");
    initCommand("cffile off", "", COM_file_off, "");
    initCommand("cfterminal off", "", COM_terminal_off, "");
    initCommand("cfterminal on", "", COM_terminal_on, "");
    initCommand("cftime", "", COM_CPU, "");
    initCommand("cfquit", "", COM_quit, "");
    initCommand("cfprompt", "", COM_prompt, "");
    initCommand("cfsystem", "[cmd...]", COM_system, "");
    initCommand("cfstatus", "", COM_show_Errors, "");
    initCommand("cfreset", "", COM_reseterrors, "");
    CommandType* help = initCommand("cfhelp", "(command)(key_1)...(key_n)", COM_help, "");
    applyToComKey(help, disableSubstitution);

    initCommand("cfgroup alpha", "[n]", cfRec, "");
    initCommand("cfgroup beta", "", cfFail, "");
    addHelp("cfsay", helpExtender);
    ModeType* off = makeMode("Mode is off");
    switchMode(off, 0);
    setCurrentMode(off);
    initCommand("cfdisabled", "", cfFail, "");
    setCurrentMode(getDefaultMode());
}

class ControlCommands : public interptest::FreshInterpreterTest {
protected:
    void SetUp() override {
        FreshInterpreterTest::SetUp();
        registerCommands();
        addInternalParameter("interactive", "OFF", 't', 0);
        calls.clear();
        variables.clear();
        EvaluatorHooks hooks;
        hooks.findGlobalReplacement = findVariable;
        setEvaluatorHooks(hooks);
    }
    // Runs a line as the terminal hands it over; the error output is kept in `errors`.
    int run(const char* line) {
        testing::internal::CaptureStderr();
        const int rc = composeCommandLine(line);
        errors = testing::internal::GetCapturedStderr();
        return rc;
    }
    // Runs a line with terminal output on and returns what it printed.
    std::string printed(const char* line) {
        TerminalOutputOn();
        testing::internal::CaptureStdout();
        run(line);
        std::string out = testing::internal::GetCapturedStdout();
        TerminalOutputOff();
        return out;
    }
    static bool has(const std::string& text, const char* part) {
        return text.find(part) != std::string::npos;
    }
    std::string errors;
};

using ControlCommandsDeathTest = ControlCommands;

std::string fileText(const std::string& path) {
    std::ifstream in(path);
    std::stringstream s;
    s << in.rdbuf();
    return s.str();
}

// A folder of the test's own, removed with what it holds.
struct TempDir {
    testsupport::TempDir dir{"cfcontrol"};
    const std::string& path = dir.path();
};

// ---------------------------------------------------------------- if

TEST_F(ControlCommands, IfRunsTheLineOfItsCondition) {
    struct Case {
        const char* line;
        Calls ran;
    } cases[] = {
        {"cfif {1<2} {cfrec yes} {cfrec no}", {"yes"}},
        {"cfif {2<1} {cfrec yes} {cfrec no}", {"no"}},
        {"cfif {2<1} {cfrec yes}; cfrec after", {"after"}},
        {"cfif {1==1} {cfrec a; cfrec b}; cfrec after", {"a", "b", "after"}},
    };
    for (const Case& c : cases) {
        calls.clear();
        EXPECT_EQ(run(c.line), 0) << c.line;
        EXPECT_EQ(calls, c.ran) << c.line;
    }
}

TEST_F(ControlCommands, IfWithAConditionThatIsNoBooleanReportsItAndRunsTheFalseLine) {
    EXPECT_EQ(run("cfif {5} {cfrec yes} {cfrec no}"), 0);
    EXPECT_EQ(calls, (Calls{"no"}));
    EXPECT_TRUE(has(errors, "Invalid conditional expression: 5")) << errors;
}

TEST_F(ControlCommands, AnErrorInsideIfStopsTheEnclosingLine) {
    EXPECT_EQ(run("cfif {1==1} {cffail}; cfrec after"), 5);
    EXPECT_EQ(calls, (Calls{"fail"}));
}

TEST_F(ControlCommands, ConditionsSeeVariables) {
    variables["cfv"] = "7";
    run("cfif {cfv==7} {cfrec seven} {cfrec other}");
    EXPECT_EQ(calls, (Calls{"seven"}));
}

// ---------------------------------------------------------------- loops

TEST_F(ControlCommands, WhileRunsUntilItsConditionFails) {
    variables["cfn"] = "0";
    EXPECT_EQ(run("cfwhile {cfn<3} {cfinc cfn}; cfrec after"), 0);
    EXPECT_EQ(calls, (Calls{"cfn=1", "cfn=2", "cfn=3", "after"}));
}

TEST_F(ControlCommands, WhileWithAFalseConditionRunsNothingAndSucceeds) {
    EXPECT_EQ(run("cfwhile {1==2} {cfrec body}; cfrec after"), 0);
    EXPECT_EQ(calls, (Calls{"after"}));
}

TEST_F(ControlCommands, AnErrorEndsTheLoopAndTheLine) {
    EXPECT_EQ(run("cfwhile {1==1} {cfrec body; cffail}; cfrec after"), 5);
    EXPECT_EQ(calls, (Calls{"body", "fail"}));
}

TEST_F(ControlCommands, BreakEndsAnEndlessWhile) {
    EXPECT_EQ(run("cfwhile {1==1} {cfrec body; cfbreak}"), 0);
    EXPECT_EQ(calls, (Calls{"body"}));
}

TEST_F(ControlCommands, BreakTwoInTheInnerOfTwoEndlessLoopsEndsBoth) {
    EXPECT_EQ(run("cfwhile {1==1} {cfrec outer; cfwhile {1==1} {cfrec inner; cfbreak 2}; "
                  "cfrec notreached}; cfrec after"),
              0);
    EXPECT_EQ(calls, (Calls{"outer", "inner", "after"}));
    EXPECT_EQ(getBreakParameter(), 0);
}

TEST_F(ControlCommands, BreakOneInTheInnerLoopLetsTheOuterLoopGoOn) {
    variables["cfo"] = "0";
    EXPECT_EQ(run("cfwhile {cfo<3} {cfinc cfo; cfwhile {1==1} {cfrec inner; cfbreak 1}; "
                  "cfrec back}; cfrec after"),
              0);
    EXPECT_EQ(calls, (Calls{"cfo=1", "inner", "back", "cfo=2", "inner", "back", "cfo=3", "inner",
                            "back", "after"}));
}

TEST_F(ControlCommands, ABreakLeftPendingWhenTheConditionFailsReachesTheEnclosingLoop) {
    variables["cfn"] = "0";
    // The inner loop ends by its condition right after the break, which then ends the outer loop.
    EXPECT_EQ(run("cfwhile {1==1} {cfwhile {cfn<1} {cfinc cfn; cfbreak 2}; cfrec outer}"), 0);
    EXPECT_EQ(calls, (Calls{"cfn=1"}));
}

TEST_F(ControlCommands, ForRunsItsCommandsAroundTheLine) {
    EXPECT_EQ(run("cffor {cfset cfi 0} {cfi<3} {cfinc cfi} {cfrec body}; cfrec after"), 0);
    EXPECT_EQ(calls, (Calls{"body", "cfi=1", "body", "cfi=2", "body", "cfi=3", "after"}));
}

TEST_F(ControlCommands, ForWhoseFirstCommandFailsRunsNothingElse) {
    EXPECT_EQ(run("cffor {cffail} {1==1} {cfrec step} {cfrec body}; cfrec after"), 5);
    EXPECT_EQ(calls, (Calls{"fail"}));
}

TEST_F(ControlCommands, ForEndsOnABreakInItsLine) {
    EXPECT_EQ(run("cffor {cfset cfi 0} {1==1} {cfinc cfi} {cfrec body; cfbreak}"), 0);
    // The break is pending after the line: the step is skipped, which ends the loop.
    EXPECT_EQ(calls, (Calls{"body"}));
}

TEST_F(ControlCommands, RepeatRunsTheLineCountTimes) {
    variables["cfn"] = "0";
    EXPECT_EQ(run("cfrepeat 3 {cfinc cfn}; cfrec after"), 0);
    EXPECT_EQ(calls, (Calls{"cfn=1", "cfn=2", "cfn=3", "after"}));
    calls.clear();
    EXPECT_EQ(run("cfrepeat 0 {cfrec body}; cfrepeat -2 {cfrec body}; cfrec after"), 0);
    EXPECT_EQ(calls, (Calls{"after"}));
}

TEST_F(ControlCommands, RepeatEndsOnABreakOrAnError) {
    // A break without a count goes on up to the terminal level, past the rest of the line.
    EXPECT_EQ(run("cfrepeat 5 {cfrec body; cfbreak}; cfrec after"), BlockSkippedByBreak);
    EXPECT_EQ(calls, (Calls{"body"}));
    calls.clear();
    EXPECT_EQ(run("cfrepeat 5 {cfrec body; cfbreak 1}; cfrec after"), 0);
    EXPECT_EQ(calls, (Calls{"body", "after"}));
    calls.clear();
    EXPECT_EQ(run("cfrepeat 5 {cfrec body; cffail}; cfrec after"), 5);
    EXPECT_EQ(calls, (Calls{"body", "fail"}));
}

TEST_F(ControlCommands, ContinueDoesNothing) {
    EXPECT_EQ(run("cfcontinue; cfrec after"), 0);
    EXPECT_EQ(calls, (Calls{"after"}));
}

// ---------------------------------------------------------------- verify

TEST_F(ControlCommands, VerifyHidesOutputButNotErrors) {
    TerminalOutputOn();
    testing::internal::CaptureStdout();
    testing::internal::CaptureStderr();
    const int rc = composeCommandLine("cfverify {cfsay hidden; cfif {7} {cfsay x}}; cfsay shown");
    const std::string err = testing::internal::GetCapturedStderr();
    const std::string out = testing::internal::GetCapturedStdout();
    EXPECT_EQ(rc, 0);
    EXPECT_EQ(out, "shown\n");
    EXPECT_TRUE(has(err, "Invalid conditional expression: 7")) << err;
    EXPECT_EQ(OutputStatus(), 1);
}

TEST_F(ControlCommands, VerifyOfAFailingLineSucceeds) {
    // The nested line's error still counts for the line around it, whose rest is not run.
    EXPECT_EQ(run("cfverify {cfrec inside; cffail}; cfrec after"), 0);
    EXPECT_EQ(calls, (Calls{"inside", "fail"}));
}

TEST_F(ControlCommands, VerifyLeavesTerminalOutputOffWhenItWasOff) {
    run("cfverify {cfsay hidden}");
    EXPECT_EQ(OutputStatus(), 0);
}

// ---------------------------------------------------------------- load and file

TEST_F(ControlCommands, LoadRunsTheFileAndKeepsTheInteractiveSwitch) {
    TempDir dir;
    const std::string file = dir.path + "/lines.cmd";
    std::ofstream(file) << "cfrec one\n# a comment\ncfif {1==1} {cfrec two}\n";
    for (int interactive : {0, 1}) {
        calls.clear();
        setIntPar("interactive", interactive);
        EXPECT_EQ(run(("cfload " + file + "; cfrec after").c_str()), 0);
        EXPECT_EQ(calls, (Calls{"one", "two", "after"}));
        EXPECT_EQ(findInternalParameter("interactive")->value, interactive);
    }
}

TEST_F(ControlCommands, FileSendsOutputToTheFileUntilFileOff) {
    TempDir dir;
    const char* oldHome = std::getenv("HOME");
    const std::string savedHome = oldHome ? oldHome : "";
    setenv("HOME", dir.path.c_str(), 1);

    run("cffile ~/out.txt; cfsay first; cffile off; cfsay not_in_file");
    EXPECT_EQ(getOutputFile(), nullptr);
    EXPECT_EQ(fileText(dir.path + "/out.txt"), "first\n");

    run("cffile append ~/out.txt; cfsay second");
    run("cfsay third; cffile off");
    EXPECT_EQ(fileText(dir.path + "/out.txt"), "first\nsecond\nthird\n");

    run("cffile on ~/out.txt; cfsay anew; cffile ~/other.txt; cfsay other; cffile off");
    EXPECT_EQ(fileText(dir.path + "/out.txt"), "anew\n");
    EXPECT_EQ(fileText(dir.path + "/other.txt"), "other\n");

    if (oldHome)
        setenv("HOME", savedHome.c_str(), 1);
    else
        unsetenv("HOME");
}

TEST_F(ControlCommands, FileWithoutANameInARunThatIsNotInteractiveClosesTheOldFile) {
    TempDir dir;
    const std::string out = dir.path + "/out.txt";
    run(("cffile " + out + "; cfsay kept").c_str());
    EXPECT_NE(getOutputFile(), nullptr);
    EXPECT_EQ(run("cffile; cfsay lost"), 1);
    EXPECT_TRUE(has(errors, "No file specified")) << errors;
    EXPECT_EQ(getOutputFile(), nullptr);
    EXPECT_EQ(fileText(out), "kept\n");
}

// ---------------------------------------------------------------- terminal, time, system

TEST_F(ControlCommands, TerminalOffSilencesPrintUntilTerminalOn) {
    EXPECT_EQ(printed("cfsay a; cfterminal off; cfsay b; cfterminal on; cfsay c"), "a\nc\n");
}

TEST_F(ControlCommands, TimePrintsTheProcessorTime) {
    const std::string out = printed("cftime; cfrec after");
    // The time stands right-aligned in ten places.
    EXPECT_TRUE(std::regex_match(out, std::regex("CPU time used +[0-9]+\\.[0-9]{2} seconds\n")))
        << out;
    EXPECT_EQ(out.size(),
              std::string("CPU time used ").size() + 10 + std::string(" seconds\n").size());
    EXPECT_EQ(calls, (Calls{"after"}));
}

TEST_F(ControlCommands, SystemGivesItsWordsToTheShell) {
    TempDir dir;
    const std::string out = dir.path + "/sys.txt";
    EXPECT_EQ(run(("cfsystem echo one two > " + out + "; cfrec after").c_str()), 0);
    EXPECT_EQ(fileText(out), "one two\n");
    EXPECT_EQ(calls, (Calls{"after"}));
}

// ---------------------------------------------------------------- help

TEST_F(ControlCommands, HelpWithoutWordsPrintsTheGeneralTextAndEndsTheLine) {
    EXPECT_EQ(printed("cfhelp; cfrec after"),
              "\nGeneral command structure:\n"
              "Command (Keywords) (Parameters)\n"
              "Commands and Keywords are case insensitive and may be abbreviated\n\n"
              "For a list of commands type 'Commands'\n"
              "For help for a command type 'Help Command'\n\n"
              "Help syntax:\n"
              "Optional keywords or parameters are in round brackets\n"
              "Mandatory keywords or parameters are in square brackets\n\n");
    EXPECT_TRUE(calls.empty());
}

TEST_F(ControlCommands, HelpOfACommand) {
    struct Case {
        const char* line;
        const char* out;
    } cases[] = {
        {"cfhelp cfsay", "Command syntax: Cfsay [text]\n"
                         "    [Automatic parameter substitution enabled]\n"
                         "    Print x the text.\n"
                         "\n    extended help\n"},
        {"cfhelp CFGR al", "Command syntax: Cfgroup Alpha [n]\n"
                           "    [Automatic parameter substitution enabled]\n"},
        {"cfhelp cfgroup beta", "Command syntax: Cfgroup Beta \n"},
        {"cfhelp cfdisabled", "Command syntax: Cfdisabled \n    [Currently not enabled]\n"},
        {"cfhelp cfnothing", ""},
    };
    for (const Case& c : cases)
        EXPECT_EQ(printed(c.line), c.out) << c.line;
}

TEST_F(ControlCommands, HelpOfAGroupListsItsKeywordsWithoutAskingInARunThatIsNotInteractive) {
    const std::string out = printed("cfhelp cfgroup; cfrec after");
    EXPECT_EQ(out.rfind("Command syntax: Cfgroup \n"
                        "    [Not executable without further keywords]\n"
                        "Keywords:\n",
                        0),
              0u)
        << out;
    EXPECT_TRUE(has(out, "Alpha")) << out;
    EXPECT_TRUE(has(out, "Beta")) << out;
    EXPECT_FALSE(has(out, "Enter Keyword")) << out;
    EXPECT_TRUE(calls.empty());
}

TEST_F(ControlCommandsDeathTest, InteractiveHelpOfAGroupShowsTheHelpOfTheTypedKeyword) {
    EXPECT_EXIT(
        {
            initCommand("help", "(command)(key_1)...(key_n)", COM_help, "");
            // The question is asked at a terminal only: the answer waits in one.
            int typing = -1;
            int terminal = -1;
            if (openpty(&typing, &terminal, nullptr, nullptr, nullptr) != 0 ||
                write(typing, "alp\n", 4) != 4)
                std::exit(7);
            dup2(terminal, STDIN_FILENO);
            setIntPar("interactive", 1);
            TerminalOutputOn();
            dup2(2, 1);
            composeCommandLine("cfhelp cfgroup");
            std::fflush(stdout);
            std::exit(0);
        },
        testing::ExitedWithCode(0),
        "Keywords:\n.*Alpha.*\nEnter Keyword > Command syntax: Cfgroup Alpha \\[n\\]\n");
}

// ---------------------------------------------------------------- errors

TEST_F(ControlCommands, StatusErrorsListsTheSitesAndResetShowsDisabledOnesAgain) {
    ErrorType* site = getError("cfsite", 3);
    site->RepRate = 0;
    run("cfstatus");
    EXPECT_TRUE(has(errors, "Error in routine: cfsite, position: 3; occurred 0 times; *** "
                            "disabled ***"))
        << errors;
    EXPECT_EQ(run("cfreset; cfrec after"), 0);
    EXPECT_EQ(site->RepRate, 1);
    EXPECT_EQ(calls, (Calls{"after"}));
}

// ---------------------------------------------------------------- prompt and quit

TEST_F(ControlCommandsDeathTest, QuitPrintsTheProcessorTimeAndEndsWithCodeZero) {
    EXPECT_EXIT(
        {
            TerminalOutputOn();
            dup2(2, 1);
            composeCommandLine("cfquit; cfrec never");
            std::exit(3);
        },
        testing::ExitedWithCode(0), "^CPU time used +[0-9]+\\.[0-9][0-9] seconds\n$");
}

TEST_F(ControlCommandsDeathTest, PromptInBackgroundEndsTheProgram) {
    EXPECT_EXIT(
        {
            setBackground(1);
            dup2(2, 1);
            composeCommandLine("cfprompt; cfrec never");
            std::exit(3);
        },
        testing::ExitedWithCode(0), "^Prompt not acceptable in background job\n$");
}

TEST_F(ControlCommandsDeathTest, PromptHandsTheRunToTheTerminalWithInputOn) {
    EXPECT_EXIT(
        {
            char input[] = "/tmp/cfpromptinXXXXXX";
            close(mkstemp(input));
            std::ofstream(input) << "cfsay from_terminal\n";
            std::freopen(input, "r", stdin);
            std::remove(input);
            setIntPar("interactive", 0);
            dup2(2, 1);
            composeCommandLine("cfprompt; cfsay never");
            std::exit(3);
        },
        testing::ExitedWithCode(0), "\nfrom_terminal\n(.|\n)*CPU time used");
}

} // namespace
