#include "base/Error.h"

#include "base/Output.h"
#include "base/Parameters.h"

#include "TestSupport.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <regex>
#include <sstream>
#include <string>
#include <unistd.h>

namespace {

using testing::ExitedWithCode;

// Each test starts from the modules as the program starts them, binds switches of its own, and
// leaves the modules as it found them.
class ErrorTest : public testing::Test {
protected:
    int errorTrace = 0;
    int log = 0;
    int errorLog = 0;
    int interactive = 0;

    void SetUp() override {
        testsupport::resetBaseState();
        bindErrorSwitches(&errorTrace, &log, &errorLog, &interactive);
    }
    void TearDown() override { testsupport::resetBaseState(); }
    static std::string bufferedText() {
        testing::internal::CaptureStderr();
        dumpErrorBuffer();
        std::string out = testing::internal::GetCapturedStderr();
        return out.empty() ? out : out.substr(0, out.size() - 1);
    }
};

// In background mode the error output is standard output; death tests read standard error.
void backgroundToStderr() {
    dup2(STDERR_FILENO, STDOUT_FILENO);
    setBackground(1);
}

std::string readFile(const std::filesystem::path& p) {
    std::ifstream in(p);
    std::stringstream s;
    s << in.rdbuf();
    return s.str();
}

// A HOME of its own, removed with its Logs folder afterwards.
class TemporaryHome {
public:
    std::filesystem::path logs() const { return std::filesystem::path(home_.path()) / "Logs"; }

private:
    testsupport::TempHome home_{"tarvik_error"};
};

const std::string Rule(60, '-');
const std::regex CtimeLine(R"([A-Z][a-z]{2} [A-Z][a-z]{2} [ 0-9]\d \d\d:\d\d:\d\d \d{4}\n)");

TEST_F(ErrorTest, MaskHidesSeveritiesZeroAndOneUntilCleared) {
    struct Case {
        int code;
        int withDefaultMask;
        int withOpenMask;
    };
    const Case cases[] = {{0, -3, 1}, {100001, -3, 1}, {100101, -3, 1}, {100201, 1, 1}};
    EXPECT_STREQ(getSeverity_Error(), "110000");
    for (const Case& c : cases) {
        EXPECT_EQ(Alert("MaskSite", c.code, c.code, "masked?"), c.withDefaultMask) << c.code;
        setSeverity_Error("000000");
        EXPECT_EQ(Alert("MaskSite", c.code, c.code, "masked?"), c.withOpenMask) << c.code;
        setSeverity_Error("110000");
    }
}

TEST_F(ErrorTest, RateThreeShowsEveryThirdOccurrence) {
    getError("RateSite", 0)->RepRate = 3;
    const int expected[] = {-3, -3, 1, -3, -3, 1, -3, -3, 1};
    for (int i = 0; i < 9; ++i)
        EXPECT_EQ(Alert("RateSite", 0, 100201, "again"), expected[i]) << "occurrence " << i + 1;
    EXPECT_EQ(getError("RateSite", 0)->count, 9);
}

TEST_F(ErrorTest, IgnoredSiteStaysSilentUntilEnabledOrReset) {
    disableError("SilentSite", 1);
    EXPECT_EQ(Alert("SilentSite", 1, 112301, "quiet"), -3);
    enableError("SilentSite", 1);
    EXPECT_EQ(Alert("SilentSite", 1, 112301, "quiet"), 1);
    disableError("SilentSite", 1);
    resetError();
    EXPECT_EQ(Alert("SilentSite", 1, 112301, "quiet"), 1);
}

TEST_F(ErrorTest, TitleEighteenShownOnceUntilReset) {
    const std::string shown = "Look out 7 \n(This message will not be repeated.)\n";
    testing::internal::CaptureStderr();
    EXPECT_EQ(Alert("OnceSite", 0, 100218, "Look out %d", 7), 1);
    EXPECT_EQ(testing::internal::GetCapturedStderr(), shown);

    testing::internal::CaptureStderr();
    EXPECT_EQ(Alert("OnceSite", 0, 100218, "Look out %d", 7), -3);
    EXPECT_EQ(testing::internal::GetCapturedStderr(), "");

    resetError();
    testing::internal::CaptureStderr();
    EXPECT_EQ(Alert("OnceSite", 0, 100218, "Look out %d", 7), 1);
    EXPECT_EQ(testing::internal::GetCapturedStderr(), shown);
}

// Held-back text shows what the message became after the origin line was or was not cut.
TEST_F(ErrorTest, OriginLineCutForSeverityUpToThreeWithoutTrace) {
    struct Case {
        int code;
        int trace;
        const char* text;
    };
    const Case cases[] = {
        {100301, 0, "Bad 1 "},
        {100301, 1, "Bad 1 \n(routine OriginSite, position 100301)\n"},
        {212404, 0, "Bad 1 \n(routine OriginSite, position 212404)\n"},
        {220502, 0, "Bad 1 \n(routine OriginSite, position 220502)\n"},
    };
    for (const Case& c : cases) {
        errorTrace = c.trace;
        flushErrors();
        bufferErrors();
        EXPECT_EQ(Alert("OriginSite", c.code, c.code, "Bad %d", 1), 1);
        unbufferErrors();
        EXPECT_EQ(bufferedText(), c.text) << c.code << " trace " << c.trace;
    }
}

TEST_F(ErrorTest, SeriousErrorTurnsInteractiveBackOn) {
    for (int code : {212404, 220502}) {
        interactive = 0;
        bufferErrors();
        testing::internal::CaptureStderr();
        Alert("SeriousSite", code, code, "serious");
        const std::string notice = testing::internal::GetCapturedStderr();
        EXPECT_EQ(interactive, 1) << code;
        if (code == 220502) {
            EXPECT_EQ(notice, "Fatal error in routine SeriousSite (position 220502)\n");
        }
    }
}

TEST_F(ErrorTest, BufferingHoldsSeverityThreeAndDropsMinorOnes) {
    bufferErrors();
    EXPECT_EQ(Alert("BufSite", 0, 100301, "first %s", "word"), 1);
    EXPECT_EQ(Alert("BufSite", 1, 100201, "minor"), 1);
    EXPECT_EQ(Alert("BufSite", 2, 100302, "second"), 1);
    unbufferErrors();
    EXPECT_EQ(bufferedText(), "first word \nsecond ");

    // Two lines ask one question and keep the text for "Explain".
    printErrorBuffer();
    EXPECT_EQ(bufferedText(), "first word \nsecond ");

    // One line is shown as it is and the buffer is emptied.
    flushErrors();
    bufferErrors();
    Alert("BufSite", 0, 100301, "only %s", "one");
    printErrorBuffer();
    EXPECT_EQ(bufferedText(), "");
}

TEST_F(ErrorTest, BufferingAgainKeepsLongHeldText) {
    const std::string longText(300, 'x');
    bufferErrors();
    Alert("LongBufSite", 0, 100301, "%s", longText.c_str());
    unbufferErrors();
    testing::internal::CaptureStderr();
    bufferErrors();
    Alert("LongBufSite", 1, 100301, "tail");
    unbufferErrors();
    EXPECT_EQ(testing::internal::GetCapturedStderr(), "") << "no guard damage expected";
    EXPECT_EQ(bufferedText(), longText + " \ntail ");
}

TEST_F(ErrorTest, TextBufferOverflowIsReportedAndTextKeptWhole) {
    const std::string longWord(15000, 'w');
    struct Case {
        const char* fmt;
        bool overflow;
        std::size_t length;
    };
    // The estimate allows 10,000 characters plus 30 per number, 500 per double and the length of
    // each string argument.
    const Case cases[] = {{"%20000d", true, 20001}, {"%d %f %s", false, 1 + 1 + 8 + 1 + 15000 + 1}};
    for (const Case& c : cases) {
        flushErrors();
        bufferErrors();
        testing::internal::CaptureStderr();
        EXPECT_EQ(Alert("OverflowSite", 0, 100301, c.fmt, 7, 0.5, longWord.c_str()), 1);
        const std::string err = testing::internal::GetCapturedStderr();
        unbufferErrors();
        EXPECT_EQ(err == "!!!!!! ERROR TEXT BUFFER OVERFLOW !!!!!\n", c.overflow) << c.fmt;
        EXPECT_EQ(bufferedText().size(), c.length) << c.fmt;
    }
}

TEST_F(ErrorTest, ResetForgetsSitesAndGivesTheirMemoryBack) {
    const std::uint32_t before = testsupport::allocatedTo("Errors");
    disableError("ResetSite", 0);
    Alert("ResetSite", 1, 100201, "counted");
    setSeverity_Error("000000");
    bufferErrors();
    Alert("ResetSite", 2, 100301, "%s", std::string(500, 'h').c_str());
    noBuf();
    suppressError();
    TerminalOutputOn();
    ASSERT_GT(testsupport::allocatedTo("Errors"), before);

    resetErrorState();
    EXPECT_EQ(testsupport::allocatedTo("Errors"), before);
    EXPECT_STREQ(getSeverity_Error(), "110000");
    EXPECT_EQ(getErrorSuppression(), 0);
    EXPECT_EQ(OutputStatus(), 0);
    EXPECT_EQ(bufferedText(), "");
    // The site comes back new: counted from zero and shown.
    testing::internal::CaptureStderr();
    EXPECT_EQ(Alert("ResetSite", 0, 100201, "shown"), 1);
    EXPECT_EQ(testing::internal::GetCapturedStderr(), "shown \n");
    EXPECT_EQ(getError("ResetSite", 0)->count, 1);
    EXPECT_EQ(getError("ResetSite", 1)->count, 0);
}

TEST_F(ErrorTest, UnpackErrorCodeReadsTheSixDigits) {
    struct Case {
        int code;
        int parts[5];
    };
    const Case cases[] = {{212404, {1, 1, 2, 4, 4}},
                          {100218, {0, 0, 0, 2, 18}},
                          {653209, {5, 5, 3, 2, 9}},
                          {140314, {0, 4, 0, 3, 14}}};
    for (const Case& c : cases) {
        int parts[5] = {};
        unpackErrorCode(c.code, parts);
        for (int i = 0; i < 5; ++i)
            EXPECT_EQ(parts[i], c.parts[i]) << c.code << " digit " << i;
    }
}

TEST_F(ErrorTest, TerminalOutputSwitch) {
    const int before = OutputStatus();
    TerminalOutputOn();
    EXPECT_EQ(OutputStatus(), 1);
    TerminalOutputOff();
    EXPECT_EQ(OutputStatus(), 0);
    if (before)
        TerminalOutputOn();
}

// --- background runs ---------------------------------------------------------------------------

TEST_F(ErrorTest, BackgroundSeverityTwoPrintedWhateverMaskSuppressionAndBuffering) {
    EXPECT_EXIT(
        {
            backgroundToStderr();
            setSeverity_Error("111111");
            suppressError();
            bufferErrors();
            const int r = Alert("BgWarnSite", 0, 100201, "Careful %s", "now");
            std::exit(r == 1 ? 0 : 2);
        },
        ExitedWithCode(0), "^Careful now \n$");
}

TEST_F(ErrorTest, BackgroundSeriousErrorsEndTheRun) {
    struct Case {
        int code;
        const char* output;
    };
    const Case cases[] = {
        {100302, "^Broken \n\\(routine BgSite, position 1\\)\n\nSyntax error; terminating "
                 "execution\n"},
        {212404, "Broken \n\\(routine BgSite, position 1\\)\n\nFatal error; terminating "
                 "execution\n"},
        {120505, "^Fatal error in routine BgSite \\(position 1\\)\nBroken \n\\(routine BgSite, "
                 "position 1\\)\n\nFatal error; terminating execution\n"},
    };
    for (const Case& c : cases) {
        EXPECT_EXIT(
            {
                backgroundToStderr();
                Alert("BgSite", 1, c.code, "Broken");
                std::exit(0);
            },
            ExitedWithCode(1), c.output)
            << c.code;
    }
}

TEST_F(ErrorTest, BackgroundEndShowsHeldBackMessagesAsInterpretationError) {
    EXPECT_EXIT(
        {
            backgroundToStderr();
            bufferErrors();
            Alert("BgBufSite", 0, 100301, "first");
            Alert("BgBufSite", 1, 100301, "second");
            printErrorBuffer();
            std::exit(0);
        },
        ExitedWithCode(1),
        "^Interpretation error \n\\(routine printErrorBuffer, position 0\\)\n\nSyntax error; "
        "terminating execution\nfirst \n\\(routine BgBufSite, position 0\\)\n\nsecond ");
}

TEST_F(ErrorTest, BackgroundSeriousErrorNeverTurnsInteractiveOn) {
    EXPECT_EXIT(
        {
            backgroundToStderr();
            int on = 0;
            bindErrorSwitches(nullptr, nullptr, nullptr, &on);
            bufferErrors();
            Alert("BgInteractiveSite", 0, 212404, "held back");
            Alert("BgInteractiveSite", 1, 220502, "held back");
            std::exit(on == 0 ? 0 : 3);
        },
        ExitedWithCode(0), "");
}

TEST_F(ErrorTest, ShowPreviousErrorsListsDisabledSites) {
    EXPECT_EXIT(
        {
            backgroundToStderr();
            Alert("ListSite", 4, 100201, "x");
            Alert("ListSite", 4, 100201, "x");
            disableError("ListSite", 4);
            showPreviousErrors();
            std::exit(0);
        },
        ExitedWithCode(0),
        "Error in routine: ListSite, position: 4; occurred 2 times; \\*\\*\\* disabled \\*\\*\\* "
        "\n");
}

// --- repetition rate from standard input ---------------------------------------------------------

TEST_F(ErrorTest, SetRepRateAsksUntilAnInteger) {
    EXPECT_EXIT(
        {
            testsupport::StdinText input("abc\n1 2\n  4  \n9\n");
            ErrorType* site = getError("AskSite", 0);
            setRepRate(site);
            std::exit(site->RepRate == 4 ? 0 : 2);
        },
        ExitedWithCode(0), "^(Enter repetition rate: ){3}$");
}

TEST_F(ErrorTest, SetRepRateKeepsRateWhenInputEnds) {
    EXPECT_EXIT(
        {
            testsupport::StdinText input("x\n");
            ErrorType* site = getError("EndSite", 0);
            site->RepRate = 5;
            setRepRate(site);
            std::exit(site->RepRate == 5 ? 0 : 2);
        },
        ExitedWithCode(0), "^(Enter repetition rate: ){2}$");
}

// --- answers to questions ----------------------------------------------------------------------

// The program's switches with "interactive" on, bound as at start-up.
int* startInteractive() {
    for (const char* name : {"error_trace", "log", "error_log", "math"})
        addInternalParameter(name, "OFF", 't', 0);
    addInternalParameter("interactive", "ON", 't', 0);
    initializeError();
    return static_cast<int*>(getIntParPointer("interactive"));
}

TEST_F(ErrorTest, AnswerIgnoreSilencesTheSite) {
    EXPECT_EXIT(
        {
            testsupport::StdinText input("ig\n");
            startInteractive();
            const int first = Alert("IgnoreSite", 0, 112301, "noisy");
            const int second = Alert("IgnoreSite", 0, 112301, "noisy");
            std::exit(first == 0 && second == -3 ? 0 : 2);
        },
        ExitedWithCode(0), "noisy \a\n\\(OK/Ignore/Scroll/Quit/Stop/Auto/Help\\):");
}

TEST_F(ErrorTest, AnswerQuitEndsTheProgramWithZero) {
    for (int code : {112301, 332209}) {
        EXPECT_EXIT(
            {
                testsupport::StdinText input("quit\n");
                startInteractive();
                Alert("QuitSite", 0, code, "really?");
                std::exit(2);
            },
            ExitedWithCode(0), "really\\?")
            << code;
    }
}

TEST_F(ErrorTest, AnswerSetRepetitionRateReadsTheRate) {
    EXPECT_EXIT(
        {
            testsupport::StdinText input("set\n3\n");
            startInteractive();
            const int r = Alert("AskRateSite", 0, 653209, "again?");
            std::exit(r == -1 && getError("AskRateSite", 0)->RepRate == 3 ? 0 : 2);
        },
        ExitedWithCode(0), "Enter repetition rate: $");
}

TEST_F(ErrorTest, AnswerExplainShowsTheHeldBackText) {
    EXPECT_EXIT(
        {
            testsupport::StdinText input("e\n");
            startInteractive();
            bufferErrors();
            Alert("ExplainSite", 0, 100301, "first");
            Alert("ExplainSite", 1, 100302, "second");
            printErrorBuffer();
            // Emptied: a third message alone is shown without a question that has no answer.
            bufferErrors();
            Alert("ExplainSite", 2, 100301, "third");
            printErrorBuffer();
            std::exit(0);
        },
        ExitedWithCode(0),
        "Interpretation error \a\n\\(OK/Explain/Auto/Help\\):first \nsecond  \nthird  \n$");
}

TEST_F(ErrorTest, SeriousErrorAsksAgainAfterAuto) {
    EXPECT_EXIT(
        {
            testsupport::StdinText input("auto\nc\n");
            int* interactiveSwitch = startInteractive();
            const int first = Alert("AutoSite", 0, 112301, "first");
            const int off = *interactiveSwitch;
            const int second = Alert("AutoSite", 1, 212404, "second");
            std::exit(first == 1 && off == 0 && second == 1 && *interactiveSwitch == 1 ? 0 : 2);
        },
        ExitedWithCode(0), "second \n\\(routine AutoSite, position 1\\)\n\a\n\\(Continue/");
}

// --- diagnostics file and command log ----------------------------------------------------------

TEST_F(ErrorTest, DiagnosticsFileHasHeaderAndFullMessages) {
    TemporaryHome home;
    ErrorFileName("Tarvik");
    errorLog = 1;
    EXPECT_EQ(Alert("DiagSite", 0, 100001, "masked %d", 5), -3);
    testing::internal::CaptureStderr();
    Alert("DiagOnce", 0, 100218, "once");
    Alert("DiagOnce", 0, 100218, "once");
    testing::internal::GetCapturedStderr();
    Alert("DiagZero", 0, 0, "plain");
    errorLog = 0;
    Alert("DiagOff", 0, 100201, "not written");

    const std::string text = readFile(home.logs() / "Tarvik.diagnostics");
    const std::string head = "Tarvik diagnostics \ncreated ";
    ASSERT_EQ(text.substr(0, head.size()), head);
    std::smatch date;
    const std::string rest = text.substr(head.size());
    ASSERT_TRUE(std::regex_search(rest, date, CtimeLine, std::regex_constants::match_continuous));
    EXPECT_EQ(rest.substr(date.length()), "\n" + Rule + "\n" +
                                              "masked 5 \n(routine DiagSite, position 0)\n"
                                              "once \n(routine DiagOnce, position 0)\n"
                                              "plain");
}

TEST_F(ErrorTest, CommandLogHasCommentHeaderThenLines) {
    TemporaryHome home;
    ErrorFileName("Tarvik");
    LogFileName("Tarvik");
    writeLog("%s\n", "before");
    log = 1;
    writeLog("%s\n", "set x 1");
    writeLog("%s\n", "quit");

    const std::string text = readFile(home.logs() / "Tarvik.log");
    const std::string head = "%Tarvik command file \n%created ";
    ASSERT_EQ(text.substr(0, head.size()), head);
    std::smatch date;
    const std::string rest = text.substr(head.size());
    ASSERT_TRUE(std::regex_search(rest, date, CtimeLine, std::regex_constants::match_continuous));
    EXPECT_EQ(rest.substr(date.length()), "%" + Rule + "\nset x 1\nquit\n");
}

} // namespace
