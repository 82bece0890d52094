#include "base/Terminal.h"

#include "base/Error.h"
#include "base/Output.h"
#include "base/Parameters.h"
#include "base/SystemUtility.h"

#include "TestSupport.h"

#include <gtest/gtest.h>

#include <csignal>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <optional>
#include <string>
#include <unistd.h>

namespace {

long fakeMicroseconds = 0;
std::clock_t fakeClock() {
    return fakeMicroseconds;
}
void setSeconds(double s) {
    fakeMicroseconds = static_cast<long>(s * 1000000.0);
}

int countOf(const std::string& text, const std::string& part) {
    int n = 0;
    for (std::size_t at = text.find(part); at != std::string::npos; at = text.find(part, at + 1))
        ++n;
    return n;
}

// Interactive terminal with output on and a processor clock the test moves by hand.
class Terminal : public testing::Test {
protected:
    void SetUp() override {
        testsupport::resetBaseState();
        addInternalParameter("interactive", "OFF", 't', 0);
        addInternalParameter("math", "OFF", 't', 0);
        interactive = static_cast<int*>(getIntParPointer("interactive"));
        initializeTerminal();
        *interactive = 1;
        TerminalOutputOn();
        setProcessorClock(fakeClock);
        setSeconds(0);
    }
    void TearDown() override {
        setProcessorClock(nullptr);
        input.reset();
        testsupport::resetBaseState();
    }
    void feedStdin(const std::string& text) {
        input.reset();
        input.emplace(text);
    }
    int ask(const char* b1, const char* b2, const char* b3) {
        return NXRunAlertPanel("Question", "Message text", b1, b2, b3);
    }
    // Runs n steps and returns the number of the first step that asked to stop, or 0.
    int steps(int n) {
        for (int i = 1; i <= n; ++i)
            if (incrementProgressInfo())
                return i;
        return 0;
    }
    int* interactive = nullptr;
    std::optional<testsupport::StdinText> input;
};

// ---------------------------------------------------------------- questions

TEST_F(Terminal, QuestionListsItsAlternatives) {
    feedStdin("c\n");
    testing::internal::CaptureStderr();
    EXPECT_EQ(ask("Continue", "Ignore", "Quit"), 1);
    EXPECT_EQ(testing::internal::GetCapturedStderr(),
              "Message text\a\n(Continue/Ignore/Scroll/Quit/Stop/Auto/Help):");
}

TEST_F(Terminal, AnswersAreCaseInsensitivePrefixes) {
    struct Case {
        const char* b1;
        const char* b2;
        const char* b3;
        const char* answer;
        int result;
    } cases[] = {
        {"Continue", "Ignore", "Quit", "q", -1},
        {"Continue", "Ignore", "Quit", "IGN", 0},
        {"Continue", "Ignore", "Quit", "CoNt", 1},
        {"No", "Yes", "Quit", "y", 0},
        {"No", "Yes", "Quit", "n", 1},
        {"Yes", "No", "Set repetition rate", "se", -1},
        {"OK", "Explain", nullptr, "e", 0},
    };
    for (const Case& c : cases) {
        feedStdin(std::string(c.answer) + "\n");
        testing::internal::CaptureStderr();
        EXPECT_EQ(ask(c.b1, c.b2, c.b3), c.result) << c.answer;
        testing::internal::GetCapturedStderr();
    }
}

TEST_F(Terminal, EmptyAnswerIsAmbiguous) {
    feedStdin("\nquit\n");
    testing::internal::CaptureStdout();
    testing::internal::CaptureStderr();
    EXPECT_EQ(ask("Continue", "Ignore", "Quit"), -1);
    testing::internal::GetCapturedStderr();
    EXPECT_EQ(testing::internal::GetCapturedStdout(), "Answer ambiguous; please try again\n");
}

TEST_F(Terminal, HelpListsEveryAlternative) {
    feedStdin("help\nyes\n");
    testing::internal::CaptureStderr();
    EXPECT_EQ(ask("Yes", "No", "Quit"), 1);
    std::string err = testing::internal::GetCapturedStderr();
    EXPECT_NE(err.find("Enter one of the alternatives\n"
                       "    Yes:            Yes\n"
                       "    No:             No\n"
                       "    Quit:           Exit program\n"
                       "    Stop:           Interrupt execution and return to command line\n"
                       "    Auto:           Auto-select first answer to all questions\n"
                       "    Help:           Show this list\n"
                       "\n"),
              std::string::npos);
}

TEST_F(Terminal, TenFailedAnswersStillAllowTheEleventh) {
    std::string text;
    for (int i = 0; i < 10; ++i)
        text += "zz\n";
    feedStdin(text + "no\n");
    testing::internal::CaptureStderr();
    EXPECT_EQ(ask("Yes", "No", "Quit"), 0);
    std::string err = testing::internal::GetCapturedStderr();
    EXPECT_EQ(countOf(err, "Invalid input\nPlease enter one of the following alternatives\n"), 10);
}

using TerminalDeathTest = Terminal;

TEST_F(TerminalDeathTest, ElevenFailedAnswersEndTheProgram) {
    std::string invalid, helps;
    for (int i = 0; i < 11; ++i)
        invalid += "xx\n";
    for (int i = 0; i < 10; ++i)
        helps += "h\n";
    struct Case {
        const char* name;
        std::string input;
    } cases[] = {{"invalid", invalid}, {"help", helps + "zz\n"}, {"end of input", ""}};
    for (const Case& c : cases) {
        EXPECT_EXIT(
            {
                feedStdin(c.input);
                dup2(2, 1);
                ask("Continue", "Ignore", "Quit");
            },
            testing::ExitedWithCode(8), "Too many invalid answers; execution terminated\n")
            << c.name;
    }
}

TEST_F(Terminal, AutoTurnsInteractiveOffAndTakesTheDefault) {
    feedStdin("AUTO\n");
    testing::internal::CaptureStderr();
    EXPECT_EQ(ask("Yes", "No", "Quit"), 1);
    testing::internal::GetCapturedStderr();
    EXPECT_EQ(*interactive, 0);

    testing::internal::CaptureStderr();
    EXPECT_EQ(ask("Yes", "No", "Quit"), 1);
    EXPECT_EQ(testing::internal::GetCapturedStderr(),
              "Message text\nNon-interactive mode; Assuming default answer: Yes\n");
}

TEST_F(Terminal, OkAloneIsNeverAsked) {
    feedStdin("");
    testing::internal::CaptureStderr();
    EXPECT_EQ(ask("OK", nullptr, nullptr), 1);
    EXPECT_EQ(ask("OK", nullptr, "Quit"), 1);
    EXPECT_EQ(testing::internal::GetCapturedStderr(), "Message text\nMessage text\n");
}

TEST_F(TerminalDeathTest, ScrollSilencesLaterQuestions) {
    EXPECT_EXIT(
        {
            // A question asked after "Scroll" would read "ignore" and give 0.
            feedStdin("s\nsc\nignore\n");
            testing::internal::CaptureStdout();
            bool ok = ask("Continue", "Ignore", "Quit") == -4;
            ok = ok &&
                 testing::internal::GetCapturedStdout() == "Answer ambiguous; please try again\n";
            ok = ok && ask("Continue", "Ignore", "Quit") == 1;
            std::exit(ok ? 0 : 3);
        },
        testing::ExitedWithCode(0), "");
}

TEST_F(TerminalDeathTest, BackgroundModeShowsOnlyTheNotice) {
    EXPECT_EXIT(
        {
            setBackground(1);
            *interactive = 0;
            testing::internal::CaptureStdout();
            bool ok = ask("Continue", "Quit", nullptr) == 1;
            ok = ok && testing::internal::GetCapturedStdout() ==
                           "Non-interactive mode; Assuming default answer: Continue\n";
            std::exit(ok ? 0 : 3);
        },
        testing::ExitedWithCode(0), "");
}

TEST_F(TerminalDeathTest, StopEndsTheDisplayAndEntersTheTerminalLoop) {
    EXPECT_EXIT(
        {
            feedStdin("stop\n");
            dup2(2, 1);
            startProgressInfo("Loop", 5000, 1);
            ask("Continue", "Ignore", "Quit");
        },
        testing::ExitedWithCode(0), "Process mismatch: Unknown <---> Loop\nLoop completed");
}

TEST_F(Terminal, HelpLinesOfUnknownAnswers) {
    EXPECT_STREQ(errorHelpText("Cancel"),
                 "Cancel:              -- No further information available -- ");
    EXPECT_STREQ(errorHelpText("Set repetition rate"),
                 "Set rep. rate:  Set rate N at which message repeats\n"
                 "                    (To reset N to 1 use \"reset errors\")");
    EXPECT_STREQ(errorHelpText("ok"), "ok:              -- No further information available -- ");
}

// ---------------------------------------------------------------- progress display

TEST_F(Terminal, ResetDropsTheDisplaysAndTheBindings) {
    resetTerminalState();
    const std::uint32_t before = testsupport::allocatedTo("WorkSpace");
    initializeTerminal();
    testing::internal::CaptureStdout();
    startProgressInfo("Outer", 1e6, 1);
    startProgressInfo("Inner", 1e6, 1);
    steps(10);
    stopSignal = 1;
    testing::internal::GetCapturedStdout();
    ASSERT_GT(testsupport::allocatedTo("WorkSpace"), before);

    resetTerminalState();
    EXPECT_EQ(testsupport::allocatedTo("WorkSpace"), before);
    EXPECT_EQ(getProgressInfo(), 0);
    EXPECT_EQ(isRunningModal, 0);
    EXPECT_EQ(stopSignal, 0);
    // Unbound, the terminal asks nothing although "interactive" is on.
    testing::internal::CaptureStderr();
    EXPECT_EQ(ask("Yes", "No", "Quit"), 1);
    EXPECT_EQ(testing::internal::GetCapturedStderr(),
              "Message text\nNon-interactive mode; Assuming default answer: Yes\n");
}

TEST_F(Terminal, TwoThousandStepsShowNothing) {
    testing::internal::CaptureStdout();
    startProgressInfo("Short", 2000, 1);
    EXPECT_EQ(steps(2000), 0);
    EXPECT_EQ(getProgressInfo(), 0);
    stopProgressInfo("Short");
    EXPECT_EQ(testing::internal::GetCapturedStdout(), "");
    EXPECT_EQ(isRunningModal, 0);
}

TEST_F(Terminal, LongerLoopShowsStartPercentagesAndCompletion) {
    testing::internal::CaptureStdout();
    startProgressInfo("Long", 2001, 1);
    EXPECT_EQ(isRunningModal, 1);
    EXPECT_EQ(steps(2001), 0);
    int reached = getProgressInfo();
    stopProgressInfo("Long");
    std::string out = testing::internal::GetCapturedStdout();
    EXPECT_EQ(out.rfind("Long started\r", 0), 0u);
    EXPECT_GE(reached, 90);
    EXPECT_LE(reached, 100);
    EXPECT_EQ(countOf(out, "; Progress: "), reached);
    EXPECT_NE(out.find("\rLong; Progress: 1%; Estimated remaining time:    0.00 sec\r"),
              std::string::npos);
    std::string last = "Long completed; Total time    0.00 sec.\n";
    EXPECT_EQ(out.substr(out.size() - last.size()), last);
    EXPECT_EQ(isRunningModal, 0);
}

TEST_F(Terminal, RemainingTimeScalesWithThePercentageLeft) {
    testing::internal::CaptureStdout();
    startProgressInfo("Est", 10000, 0);
    steps(100); // the time checks at 10 and 100 see no time passing
    setSeconds(1.0);
    for (int i = 0; i < 200 && getProgressInfo() == 0; ++i)
        incrementProgressInfo();
    EXPECT_EQ(getProgressInfo(), 1);
    stopProgressInfo("Est");
    std::string out = testing::internal::GetCapturedStdout();
    EXPECT_NE(out.find("Est; Progress: 1%; Estimated remaining time:   99.00 sec"),
              std::string::npos);
    EXPECT_EQ(out.find("Expected total time"), std::string::npos);
}

TEST_F(Terminal, LongLoopAsksToContinueAndNoStopsIt) {
    testing::internal::CaptureStdout();
    startProgressInfo("Outer", 5000, 0);
    startProgressInfo("Q", 1e6, 1);
    EXPECT_EQ(steps(10), 0);
    setSeconds(2.0);
    feedStdin("no\n");
    testing::internal::CaptureStderr();
    EXPECT_EQ(steps(1000), 90); // the time check at step 100
    std::string err = testing::internal::GetCapturedStderr();
    EXPECT_NE(err.find("Process: Q; Expected total time 20000.00 sec. Continue?"),
              std::string::npos);
    EXPECT_EQ(stopSignal, 1);
    EXPECT_EQ(isRunningModal, 1); // the outer display is current again
    stopProgressInfo("Q");
    std::string out = testing::internal::GetCapturedStdout();
    EXPECT_NE(out.find("Q completed; Total time    2.00 sec.\n"), std::string::npos);
    EXPECT_NE(out.find("Process mismatch: Q <---> Outer\nOuter completed"), std::string::npos);
    EXPECT_EQ(isRunningModal, 0);
}

TEST_F(Terminal, AnswerYesGoesOnWithoutAskingAgain) {
    testing::internal::CaptureStdout();
    startProgressInfo("Y", 1e6, 1);
    steps(10);
    setSeconds(2.0);
    feedStdin("yes\n");
    testing::internal::CaptureStderr();
    EXPECT_EQ(steps(200000), 0);
    std::string err = testing::internal::GetCapturedStderr();
    EXPECT_EQ(countOf(err, "Continue?"), 1);
    EXPECT_EQ(stopSignal, 0);
    stopProgressInfo("Y");
    testing::internal::GetCapturedStdout();
}

TEST_F(Terminal, NoQuestionOnceAPercentageWasShown) {
    testing::internal::CaptureStdout();
    startProgressInfo("Late", 1e6, 1);
    EXPECT_EQ(steps(10001), 0); // past the first percent with no time passing
    EXPECT_EQ(getProgressInfo(), 1);
    setSeconds(2.0);
    feedStdin("no\n");
    testing::internal::CaptureStderr();
    EXPECT_EQ(steps(100000), 0);
    EXPECT_EQ(testing::internal::GetCapturedStderr().find("Continue?"), std::string::npos);
    stopProgressInfo("Late");
    testing::internal::GetCapturedStdout();
}

TEST_F(Terminal, DisplayThatMayNotAskPrintsTheEstimate) {
    testing::internal::CaptureStdout();
    startProgressInfo("NI", 1e6, 0);
    steps(10);
    setSeconds(2.0);
    EXPECT_EQ(steps(100), 0);
    stopProgressInfo("NI");
    EXPECT_NE(testing::internal::GetCapturedStdout().find(
                  "Process: NI; Expected total time 20000.00 sec\n"),
              std::string::npos);
}

TEST_F(Terminal, NestedTimeIsLeftOutOfTheEstimateButNotTheTotal) {
    testing::internal::CaptureStdout();
    startProgressInfo("Outer", 1e6, 0);
    startProgressInfo("Inner", 5000, 0);
    setSeconds(5.0);
    stopProgressInfo("Inner");
    EXPECT_EQ(steps(100), 0); // checks at 10 and 100 see 0 s of the outer loop's own
    setSeconds(6.0);
    stopProgressInfo("Outer");
    std::string out = testing::internal::GetCapturedStdout();
    EXPECT_NE(out.find("Inner completed; Total time    5.00 sec.\n"), std::string::npos);
    EXPECT_NE(out.find("Outer completed; Total time    6.00 sec.\n"), std::string::npos);
    EXPECT_EQ(out.find("Expected total time"), std::string::npos);
    EXPECT_EQ(out.find("mismatch"), std::string::npos);
}

TEST_F(Terminal, DisplayInsideAQuietOneNestsAboveIt) {
    testing::internal::CaptureStdout();
    startProgressInfo("Quiet", 100, 0);
    startProgressInfo("Loud", 5000, 0);
    stopProgressInfo("Loud");
    EXPECT_EQ(isRunningModal, 1);
    stopProgressInfo("Quiet");
    EXPECT_EQ(isRunningModal, 0);
    std::string out = testing::internal::GetCapturedStdout();
    EXPECT_NE(out.find("Loud completed"), std::string::npos);
    EXPECT_EQ(out.find("Quiet"), std::string::npos);
}

TEST_F(Terminal, MismatchedStopIsReportedAndStillStops) {
    testing::internal::CaptureStdout();
    startProgressInfo("A", 5000, 0);
    stopProgressInfo("B");
    stopProgressInfo("B"); // nothing is running any more
    std::string out = testing::internal::GetCapturedStdout();
    EXPECT_NE(out.find("Process mismatch: B <---> A\nA completed; Total time"), std::string::npos);
    EXPECT_EQ(countOf(out, "completed"), 1);
}

TEST_F(Terminal, NothingIsShownWhileTerminalOutputIsOff) {
    TerminalOutputOff();
    testing::internal::CaptureStdout();
    startProgressInfo("Off", 5000, 0);
    steps(5000);
    stopProgressInfo("Off");
    EXPECT_EQ(ProgressPrint("status %d\n", 1), 0);
    EXPECT_EQ(testing::internal::GetCapturedStdout(), "");
    EXPECT_EQ(isRunningModal, 0);
}

// A command run as a function captures its output as a value; the display stays on the terminal.
TEST_F(Terminal, ProgressLinesStayOutOfACapturedValue) {
    returnBufferOn();
    testing::internal::CaptureStdout();
    startProgressInfo("Captured", 5000, 0);
    steps(5000);
    stopProgressInfo("Captured");
    std::string out = testing::internal::GetCapturedStdout();
    std::string captured(getReturnBuffer(), getReturnPointer());
    returnBufferOff();
    EXPECT_EQ(captured, "");
    EXPECT_EQ(out.rfind("Captured started\r", 0), 0u);
    // One percent of 5000 steps is a line every 51 steps: 98 lines.
    EXPECT_EQ(countOf(out, "Captured; Progress: "), 98);
    EXPECT_NE(out.find("Captured completed; Total time"), std::string::npos);
}

TEST_F(Terminal, WipingWritesBlanksOverTheStandingLine) {
    testing::internal::CaptureStdout();
    setLineLen(5);
    stopModal();
    clearProgressLine();
    startModal();
    clearProgressLine();
    clearProgressLine();
    stopModal();
    EXPECT_EQ(testing::internal::GetCapturedStdout(), "      \r");
}

// ---------------------------------------------------------------- Ctrl-C

// SIGINT goes to stopOnInterrupt's handler while the scope lasts; the handler before comes back.
class InterruptHandler {
public:
    InterruptHandler() {
        sigaction(SIGINT, nullptr, &saved_);
        stopOnInterrupt();
    }
    ~InterruptHandler() { sigaction(SIGINT, &saved_, nullptr); }
    InterruptHandler(const InterruptHandler&) = delete;
    InterruptHandler& operator=(const InterruptHandler&) = delete;

private:
    struct sigaction saved_ {};
};

TEST_F(Terminal, CtrlCStopsTheRunningLoopAndEveryEnclosingOneAndTheProcessGoesOn) {
    InterruptHandler handler;
    testing::internal::CaptureStdout();
    startProgressInfo("Outer", 5000, 1);
    startProgressInfo("Inner", 1e6, 1);
    EXPECT_EQ(steps(100), 0);
    std::raise(SIGINT);
    EXPECT_EQ(stopSignal, 1);
    EXPECT_EQ(interruptRequested(), 1);
    // The inner display stops at its next step, the outer one at its own next step.
    EXPECT_EQ(steps(10), 1);
    EXPECT_EQ(isRunningModal, 1);
    EXPECT_EQ(steps(10), 1);
    EXPECT_EQ(isRunningModal, 0);
    // Stopping after the stop, as loops do on their way out, changes nothing.
    stopProgressInfo("Outer");
    const std::string out = testing::internal::GetCapturedStdout();
    EXPECT_NE(out.find("Inner completed; Total time"), std::string::npos) << out;
    EXPECT_NE(out.find("Outer completed; Total time"), std::string::npos) << out;
    EXPECT_EQ(out.find("Process mismatch"), std::string::npos) << out;

    // A loop that starts while the stop is still asked for ends at its first step.
    startProgressInfo("Later", 100, 0);
    EXPECT_EQ(steps(5), 1);
    stopSignal = 0;
    clearInterrupt();
    EXPECT_EQ(interruptRequested(), 0);
    startProgressInfo("Again", 100, 0);
    EXPECT_EQ(steps(100), 0);
    stopProgressInfo("Again");
}

TEST_F(Terminal, ALoopDisplayShowsOnTheTerminalAndEndsOnceAtAStop) {
    testing::internal::CaptureStdout();
    startProgressInfo("Outer", 5000, 0);
    {
        LoopProgress progress("Loop", 5000);
        EXPECT_FALSE(progress.step());
        stopSignal = 1;
        EXPECT_TRUE(progress.step());
        EXPECT_TRUE(progress.step()); // the outer display is left alone
        EXPECT_EQ(isRunningModal, 1);
    }
    stopSignal = 0;
    {
        LoopProgress progress("Whole", 3000);
        for (int i = 0; i < 3000; ++i)
            EXPECT_FALSE(progress.step());
    }
    stopProgressInfo("Outer");
    const std::string out = testing::internal::GetCapturedStdout();
    EXPECT_EQ(countOf(out, "Loop completed"), 1) << out;
    EXPECT_EQ(countOf(out, "Whole completed"), 1) << out;
    EXPECT_EQ(countOf(out, "Outer completed"), 1) << out;
    EXPECT_EQ(out.find("Process mismatch"), std::string::npos) << out;
    EXPECT_EQ(isRunningModal, 0);
}

TEST_F(Terminal, ALoopDisplayOfABackgroundRunShowsNothingAndChangesNothing) {
    setBackground(1);
    testing::internal::CaptureStdout();
    {
        LoopProgress progress("Quiet", 5000);
        for (int i = 0; i < 5000; ++i)
            EXPECT_FALSE(progress.step());
        EXPECT_EQ(isRunningModal, 0);
    }
    EXPECT_EQ(testing::internal::GetCapturedStdout(), "");
    setBackground(0);
}

TEST_F(Terminal, CtrlCStaysIgnoredInAProcessStartedToIgnoreIt) {
    struct sigaction saved {};
    struct sigaction ignore {};
    ignore.sa_handler = SIG_IGN;
    sigaction(SIGINT, &ignore, &saved);
    stopOnInterrupt();
    std::raise(SIGINT);
    struct sigaction now {};
    sigaction(SIGINT, nullptr, &now);
    sigaction(SIGINT, &saved, nullptr);
    EXPECT_EQ(now.sa_handler, SIG_IGN);
    EXPECT_EQ(stopSignal, 0);
    EXPECT_EQ(interruptRequested(), 0);
}

} // namespace
