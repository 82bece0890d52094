// The progress report of tadpole attempts: off until started, a marker line and a quick line end
// in a blank, a line written after more than 0.01 CPU seconds carries the time.
#include "base/SystemUtility.h"
#include "string/Tadpole.h"

#include <gtest/gtest.h>

#include <regex>
#include <string>

namespace {

// The buffer keeps the room it grew to, so each test starts from a process's first buffer.
class TadpoleProgress : public testing::Test {
protected:
    void SetUp() override { resetTadpoleProgressState(); }
    void TearDown() override { resetTadpoleProgressState(); }
};

TEST_F(TadpoleProgress, LinesAndTimes) {
    resetTadpoleProgressInfo();
    bufferTadpoleProgressInfo("ignored %d", 1);
    initTadpoleProgressInfo();
    EXPECT_EQ(checkTadpoleProgressInfo("ignored"), 0);
    bufferTadpoleProgressInfo("..... attempt %d", 7);
    bufferTadpoleProgressInfo("quick");
    const double start = CPUTime();
    volatile double x = 0;
    while (CPUTime() - start < 0.03)
        x = x + 1;
    bufferTadpoleProgressInfo("slow");
    const std::string text = getTadpoleProgressInfo();
    EXPECT_EQ(text.rfind("..... attempt 7 \nquick \nslow (", 0), 0u) << text;
    EXPECT_TRUE(std::regex_search(text, std::regex(R"(slow \( *0\.\d\d sec\.\)\n$)"))) << text;
    resetTadpoleProgressInfo();
    bufferTadpoleProgressInfo("after");
    EXPECT_EQ(checkTadpoleProgressInfo("after"), 0);
    EXPECT_EQ(checkTadpoleProgressInfo("quick"), 1) << "the text stays";
}

TEST_F(TadpoleProgress, GrowsWhenLittleRoomIsLeft) {
    initTadpoleProgressInfo();
    const std::string line(1000, 'x');
    testing::internal::CaptureStdout();
    for (int i = 0; i < 25; i++)
        bufferTadpoleProgressInfo("%s", line.c_str());
    const std::string out = testing::internal::GetCapturedStdout();
    EXPECT_NE(out.find("Allocating TPI"), std::string::npos);
    const std::string text = getTadpoleProgressInfo();
    int kept = 0;
    for (std::size_t at = 0; (at = text.find(line, at)) != std::string::npos; at += line.size())
        kept++;
    EXPECT_EQ(kept, 25) << "nothing lost while growing";
    resetTadpoleProgressInfo();
}

} // namespace
