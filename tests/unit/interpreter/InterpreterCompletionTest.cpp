// Completion of command words from a command tree of the test's own words (all beginning with
// "cpl"); the line editor's buffer is set by each test.
#include "interpreter/Interpreter.h"

#include "base/Error.h"

#include "InterpreterTestHelpers.h"

#include <gtest/gtest.h>

#include <readline/readline.h>

#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

namespace {

using Words = std::vector<std::string>;

int nothing(void**, int) {
    return 0;
}

// Longer than any other word, so that it is the longest registered word.
const std::string LongWord = "cpl" + std::string(70, 'w');

void registerWords() {
    makeDefaultMode();
    for (const char* w : {"cplalpha", "cplalps", "cplbeta", "cplgroup first", "cplgroup fifth",
                          "cplgroup second", "cplleaf"})
        initCommand(w, "", nothing, "");
    initCommand(LongWord.c_str(), "", nothing, "");
}

class InterpreterCompletion : public interptest::FreshInterpreterTest {
protected:
    void SetUp() override {
        FreshInterpreterTest::SetUp();
        registerWords();
        saved_ = rl_line_buffer;
        rl_attempted_completion_over = 0;
    }
    void TearDown() override {
        rl_line_buffer = saved_;
        FreshInterpreterTest::TearDown();
    }

    // Completes text at the end of line; an empty list stands for null.
    Words complete(const std::string& line, const std::string& text) {
        buffer_.assign(line.begin(), line.end());
        buffer_.push_back('\0');
        rl_line_buffer = buffer_.data();
        testing::internal::CaptureStderr();
        char** list = commandCompletion(text.c_str(), static_cast<int>(line.size() - text.size()),
                                        static_cast<int>(line.size()));
        errors = testing::internal::GetCapturedStderr();
        Words words;
        if (!list)
            return words;
        for (char** p = list; *p; ++p) {
            words.emplace_back(*p);
            std::free(*p);
        }
        std::free(list);
        return words;
    }
    std::string errors;

private:
    char* saved_ = nullptr;
    std::vector<char> buffer_;
};

TEST_F(InterpreterCompletion, CompletesOverTheWordsOfTheLevel) {
    struct Case {
        const char* line;
        const char* text;
        Words expected;
    } cases[] = {
        {"cplal", "cplal", {"cplalp", "cplalpha", "cplalps"}},
        {"cplb", "cplb", {"cplbeta"}},
        {"CPLB", "CPLB", {"cplbeta"}},
        {"cplz", "cplz", {}},
        {"cplgroup ", "", {"", "fifth", "first", "second"}},
        {"cplgroup fi", "fi", {"fi", "fifth", "first"}},
        {"cplgroup s", "s", {"second"}},
        {"cplgroup first ", "", {}},
        {"cplleaf x", "x", {}},
    };
    for (const Case& c : cases)
        EXPECT_EQ(complete(c.line, c.text), c.expected) << c.line;
    EXPECT_EQ(rl_attempted_completion_over, 1);
}

TEST_F(InterpreterCompletion, AWordThatIsNotACommandGivesNothingAndIsReported) {
    EXPECT_EQ(complete("cplnone ", ""), Words{});
    EXPECT_NE(errors.find("No exact match found for command cplnone"), std::string::npos) << errors;
    EXPECT_EQ(complete("cplgroup none s", "s"), Words{});
    EXPECT_NE(errors.find("No exact match found for keyword none"), std::string::npos) << errors;
    // Complete words are looked up exactly, as they are stored: in lower case.
    EXPECT_EQ(complete("CPLGROUP fi", "fi"), Words{});
}

TEST_F(InterpreterCompletion, MessagesOfTheLookupCanBeSuppressed) {
    suppressError();
    EXPECT_EQ(complete("cplnone ", ""), Words{});
    unsuppressError();
    EXPECT_EQ(errors, "");
}

TEST_F(InterpreterCompletion, TheEmptyLineOffersEveryTopLevelWordInOrder) {
    const Words words = complete("", "");
    ASSERT_GE(words.size(), 7u);
    const Words candidates(words.begin() + 1, words.end());
    EXPECT_TRUE(std::is_sorted(candidates.begin(), candidates.end())) << candidates.size();
    for (const char* w : {"cplalpha", "cplalps", "cplbeta", "cplgroup", "cplleaf"})
        EXPECT_NE(std::find(candidates.begin(), candidates.end(), w), candidates.end()) << w;
    // The first entry is the longest beginning that all of them share.
    const std::string& common = words.front();
    for (const std::string& w : candidates)
        EXPECT_EQ(w.compare(0, common.size(), common), 0) << w;
    const bool allGoOn = std::all_of(candidates.begin(), candidates.end(), [&](const auto& w) {
        return w.size() > common.size() && w[common.size()] == candidates[0][common.size()];
    });
    EXPECT_FALSE(allGoOn);
}

TEST_F(InterpreterCompletion, ATextLongerThanEveryWordIsNotCutToMatchOne) {
    EXPECT_EQ(complete(LongWord, LongWord), Words{LongWord});
    EXPECT_EQ(complete(LongWord + "x", LongWord + "x"), Words{});
}

TEST_F(InterpreterCompletion, CollectAppendsMatchingWordsAfterTheFirstEntry) {
    auto** list = static_cast<char**>(std::malloc(2 * sizeof(char*)));
    list[0] = strdup("CPLA");
    list[1] = nullptr;
    int count = 0;
    collectCompletions(getRootCommand(), &list, &count);
    ASSERT_EQ(count, 2);
    EXPECT_STREQ(list[0], "CPLA");
    EXPECT_STREQ(list[1], "cplalpha");
    EXPECT_STREQ(list[2], "cplalps");
    EXPECT_EQ(list[3], nullptr);
    for (int i = 0; i <= count; ++i)
        std::free(list[i]);
    std::free(list);
}

TEST_F(InterpreterCompletion, FindAllMatchesCountsTheWordsAnAbbreviationStandsFor) {
    struct Case {
        const char* com;
        int count;
        const char* last;
    } cases[] = {{"cplal", 2, "cplalps"}, {"CPLB", 1, "cplbeta"}, {"cplx", 0, nullptr}};
    for (const Case& c : cases) {
        CommandType* last = nullptr;
        int count = -1;
        findAllMatches(getRootCommand(), &last, c.com, &count);
        EXPECT_EQ(count, c.count) << c.com;
        if (c.last)
            EXPECT_STREQ(last ? last->command : "", c.last) << c.com;
        else
            EXPECT_EQ(last, nullptr) << c.com;
    }
}

} // namespace
