#include "base/Memory.h"

#include "base/Allocation.h"

#include <gtest/gtest.h>

#include <cfloat>
#include <climits>
#include <cstdio>
#include <cstring>
#include <functional>
#include <map>
#include <string>

namespace {

testing::AssertionResult contains(const std::string& text, const std::string& part) {
    if (text.find(part) != std::string::npos)
        return testing::AssertionSuccess();
    return testing::AssertionFailure() << "\"" << part << "\" not in \"" << text << "\"";
}

// Areas live for the whole run, so every run of a test uses names of its own: area("x") is
// "Mem" with the run's seven-digit number and ".x", as long as "MemoryTest.x", since some sizes
// checked below follow the length of the name.
class Memory : public testing::Test {
protected:
    void SetUp() override { run_ = ++runs_; }
    const char* area(const std::string& name) {
        char prefix[16];
        std::snprintf(prefix, sizeof prefix, "Mem%07d.", run_);
        return names_.emplace(name, prefix + name).first->second.c_str();
    }

private:
    static inline int runs_ = 0;
    int run_ = 0;
    std::map<std::string, std::string> names_;
};

MemoryType* freshArea(const char* name, char type, int increment) {
    MemoryType* sd = initMemory(name, type, 0, increment);
    EXPECT_EQ(sd->Size, 0);
    return sd;
}

const AllocCount* storageCounter() {
    for (MemStats* m = getFirstMS(); m; m = m->next)
        if (std::strcmp(m->stat->txt, "Storage") == 0)
            return m->stat;
    return nullptr;
}

std::uint32_t storageTotal() {
    const AllocCount* c = storageCounter();
    return c ? c->TotalAlloc : 0;
}

std::string stderrOf(const std::function<void()>& action) {
    testing::internal::CaptureStderr();
    action();
    return testing::internal::GetCapturedStderr();
}

std::string stdoutOf(const std::function<void()>& action) {
    testing::internal::CaptureStdout();
    action();
    return testing::internal::GetCapturedStdout();
}

FILE* fileWith(const std::string& content) {
    FILE* fp = std::tmpfile();
    std::fwrite(content.data(), 1, content.size(), fp);
    std::rewind(fp);
    return fp;
}

TEST_F(Memory, IntAreaTakesOneWholeIncrementAndEndsInSentinel) {
    freshArea(area("int1000"), 'i', 1000);
    Space s = allocMemory(area("int1000"), 100);
    ASSERT_NE(s.iSpace, nullptr);
    EXPECT_EQ(MemorySize(area("int1000")), 1000);
    EXPECT_EQ(s.iSpace[1000], 2147483647);
    for (int i = 0; i < 1000; ++i)
        s.iSpace[i] = i;
    EXPECT_EQ(findExistingMemory(area("int1000")).iSpace, s.iSpace);
}

TEST_F(Memory, SentinelOfEachType) {
    Space c = allocMemory(freshArea(area("sc"), 'c', 4)->Name, 1);
    Space d = allocMemory(freshArea(area("sd"), 'd', 4)->Name, 1);
    Space p = allocMemory(freshArea(area("sp"), 'p', 4)->Name, 1);
    EXPECT_EQ(c.cSpace[4], 127);
    EXPECT_EQ(d.dSpace[4], 1.7976931348623157e308);
    EXPECT_EQ(p.pSpace[4], nullptr);
}

// need = n + n/10 + 1; growth adds the smallest multiple of the increment beyond need - Size.
TEST_F(Memory, GrowthRule) {
    struct Case {
        const char* name;
        int increment;
        int request;
        int expected;
    } cases[] = {
        {area("g1"), 100, 250, 300}, // need 276
        {area("g2"), 7, 20, 28},     // need 23: 4 steps of 7
        {area("g3"), 10, 0, 10},     // need 1
        {area("g4"), 5, 9, 15},      // need 10: the step must pass it
    };
    for (const Case& c : cases) {
        MemoryType* sd = freshArea(c.name, 'i', c.increment);
        Space s = allocMemoryDirect(sd, c.request);
        EXPECT_EQ(sd->Size, c.expected) << c.name;
        EXPECT_EQ(s.iSpace[c.expected], INT_MAX) << c.name;
    }
}

TEST_F(Memory, RequestOf1000GrowsOnlyWhenSizeIsNotAboveNeed) {
    // Each area is brought to exactly one increment (need of 0 entries is 1).
    MemoryType* big = freshArea(area("s1102"), 'i', 1102);
    MemoryType* small = freshArea(area("s1101"), 'i', 1101);
    allocMemoryDirect(big, 0);
    Space s = allocMemoryDirect(small, 0);
    ASSERT_EQ(big->Size, 1102);
    ASSERT_EQ(small->Size, 1101);
    for (int i = 0; i < 1101; ++i)
        s.iSpace[i] = 3 * i;

    int* before = big->AllocatedSpace.iSpace;
    EXPECT_EQ(allocMemoryDirect(big, 1000).iSpace, before);
    EXPECT_EQ(big->Size, 1102);

    s = allocMemoryDirect(small, 1000);
    EXPECT_EQ(small->Size, 2202);
    EXPECT_EQ(s.iSpace[2202], INT_MAX);
    for (int i = 0; i < 1101; ++i)
        ASSERT_EQ(s.iSpace[i], 3 * i) << i;
}

TEST_F(Memory, IncrementBelowOneIsReportedAndGrowsByOne) {
    for (const auto& [name, increment] :
         {std::pair{area("inc0"), 0}, std::pair{area("incneg"), -5}}) {
        std::string err;
        err = stderrOf([&] { initMemory(name, 'i', 0, increment); });
        EXPECT_TRUE(
            contains(err, std::string("Meaningless increment specified for memory ") + name));
        Space s = allocMemory(name, 10); // need 12
        EXPECT_EQ(MemorySize(name), 13);
        EXPECT_EQ(s.iSpace[13], INT_MAX);
    }
}

TEST_F(Memory, ReinitialisingKeepsTheExistingArea) {
    MemoryType* sd = initMemory(area("again"), 'i', 100, 1000);
    std::string err;
    MemoryType* again = nullptr;
    err = stderrOf([&] { again = initMemory(area("again"), 'c', 5, 7); });
    EXPECT_TRUE(contains(err, std::string("Attempt to re-initialize memory ") + area("again")));
    EXPECT_EQ(again, sd);
    EXPECT_EQ(sd->Type, 'i');
    EXPECT_EQ(sd->Size, 1000);
    EXPECT_EQ(sd->Increment, 1000);
}

TEST_F(Memory, NegativeRequestIsReportedAndTakenAsZero) {
    freshArea(area("neg"), 'i', 5);
    std::string err;
    Space s;
    err = stderrOf([&] { s = allocMemory(area("neg"), -3); });
    EXPECT_TRUE(contains(err, "Request for array of negative size -3"));
    EXPECT_EQ(MemorySize(area("neg")), 5);
    EXPECT_EQ(s.iSpace[5], INT_MAX);
}

TEST_F(Memory, UnknownNamesAreReported) {
    const char* name = "MemoryTest.nowhere";
    struct Case {
        std::function<void()> call;
        const char* second; // the caller's own message, if any
    } cases[] = {
        {[&] { EXPECT_EQ(allocMemory(name, 10).iSpace, nullptr); },
         "Memory MemoryTest.nowhere not allocated"},
        {[&] { EXPECT_EQ(findExistingMemory(name).cSpace, nullptr); }, nullptr},
        {[&] { EXPECT_EQ(getExistingMemory(name), nullptr); }, nullptr},
        {[&] { EXPECT_EQ(MemorySize(name), 0); }, nullptr},
        {[&] { releaseMemory(name); }, "Memory MemoryTest.nowhere not allocated"},
        {[&] { verifyMemory(name, 1); }, "Memory MemoryTest.nowhere not allocated"},
    };
    for (const Case& c : cases) {
        const std::string err = stderrOf(c.call);
        EXPECT_TRUE(contains(err, "Memory MemoryTest.nowhere not initialized"));
        if (c.second) {
            EXPECT_TRUE(contains(err, c.second));
        }
    }
    std::string quiet = stderrOf([&] { EXPECT_EQ(findMemory(name), nullptr); });
    EXPECT_EQ(quiet, "");
    EXPECT_EQ(findMemory(name), nullptr); // asking did not make it
}

TEST_F(Memory, WriteAtSizeIsReportedByCheckMemory) {
    Space s = allocMemory(freshArea(area("over"), 'i', 1000)->Name, 100);
    for (int i = 0; i < 1000; ++i)
        s.iSpace[i] = i;
    std::string quiet = stderrOf([] { checkMemory("before"); });
    EXPECT_FALSE(contains(quiet, area("over")));

    s.iSpace[1000] = 5;
    std::string err, out;
    out = stdoutOf([&] { err = stderrOf([] { checkMemory("probe"); }); });
    s.iSpace[1000] = INT_MAX; // later checks in this process see an intact area
    EXPECT_TRUE(contains(err, std::string("Array ") + area("over") +
                                  " exceeds boundary;\nPresent size 1000; location "
                                  "probe"));
    EXPECT_TRUE(contains(out, "5\n999\n998\n997\n996\n995\n994\n993\n992\n991\n"));
    EXPECT_FALSE(contains(out, "990\n"));
}

TEST_F(Memory, DumpOfASmallAreaStaysInsideIt) {
    MemoryType* sd = freshArea(area("tiny"), 'c', 1);
    Space s = allocMemoryDirect(sd, 0); // need 1: two entries
    ASSERT_EQ(sd->Size, 2);
    s.cSpace[0] = 'x';
    s.cSpace[1] = 'y';
    s.cSpace[2] = 'A';
    std::string err, out;
    out = stdoutOf([&] { err = stderrOf([] { checkMemory("tiny"); }); });
    s.cSpace[2] = 127;
    EXPECT_TRUE(contains(err, std::string("Array ") + area("tiny") + " exceeds boundary"));
    EXPECT_TRUE(contains(out, "65\n121\n120\n"));
}

TEST_F(Memory, VerifyMemoryReportsAnAreaTooSmall) {
    initMemory(area("verify"), 'i', 100, 1000);
    EXPECT_TRUE(contains(stderrOf([&] { verifyMemory(area("verify"), 2000); }),
                         std::string("Memory ") + area("verify") + " too small"));
    EXPECT_FALSE(contains(stderrOf([&] { verifyMemory(area("verify"), 1000); }), "too small"));
}

// Messages may allocate on the general counter too, so the data blocks are followed through
// the allocation trace, which shows each block's label.
TEST_F(Memory, RecordsAndNamesAreChargedToStorageDataBlocksByAreaName) {
    const char* name = area("counted"); // 18 characters
    const std::uint32_t storage = storageTotal();
    std::string trace;
    MemoryType* sd = nullptr;
    setAllocTrace(1);
    trace = stderrOf([&] {
        sd = initMemory(name, 'd', 0, 9);
        allocMemoryDirect(sd, 0); // 9 entries and the sentinel
        allocMemoryDirect(sd, 9); // need 10: 18 entries
        releaseMemory(name);
    });
    setAllocTrace(0);
    EXPECT_EQ(storageTotal() - storage, sizeof(MemoryType) + 19);
    EXPECT_TRUE(contains(trace, "Allocated " + std::to_string(sizeof(MemoryType)) +
                                    " bytes for Memory pointer\n"));
    EXPECT_TRUE(contains(trace, "Allocated 19 bytes for Memory name\n"));
    EXPECT_TRUE(contains(trace, "Allocated 80 bytes for " + std::string(name) + "\n"));
    EXPECT_TRUE(
        contains(trace, "Re-allocated 152 bytes for " + std::string(name) + " (was 80 bytes))\n"));
    EXPECT_TRUE(contains(trace, "freed 152 bytes for " + std::string(name) + "\n"));

    EXPECT_EQ(sd->Size, 0);
    EXPECT_EQ(sd->AllocatedSpace.dSpace, nullptr);
    Space s = allocMemory(name, 1); // taken anew after a release
    EXPECT_EQ(sd->Size, 9);
    EXPECT_EQ(s.dSpace[9], DBL_MAX);

    const AllocCount* counter = storageCounter();
    ASSERT_NE(counter, nullptr);
    EXPECT_EQ(counter->extra, &showMemoryUse);
}

TEST_F(Memory, TotalCountsDataNameAndRecord) {
    const char* name = area("total"); // 16 characters
    const std::size_t before = getMemoryAlloc();
    MemoryType* sd = initMemory(name, 'i', 0, 4);
    allocMemoryDirect(sd, 0); // 4 entries and the sentinel
    const std::size_t record = sizeof(MemoryType) + 17;
    EXPECT_EQ(getMemoryAlloc() - before, record + 5 * sizeof(int) + 16 + 25);
}

TEST_F(Memory, ShowMemoryUseListsAllocatedAreasOnly) {
    initMemory(area("shown"), 'i', 100, 1000);
    initMemory(area("empty"), 'c', 0, 10);
    const std::string out = stdoutOf(showMemoryUse);
    EXPECT_TRUE(
        contains(out, "Name: " + std::string(area("shown")) + "; Type: i; Allocation: 1000\n"));
    EXPECT_FALSE(contains(out, area("empty")));
}

TEST_F(Memory, CharAndIntSpaceChooseTheIncrementAndKeepIt) {
    char* c = getCharSpace(area("cs"), 100); // increment 256, need 111
    ASSERT_NE(c, nullptr);
    MemoryType* cs = findMemory(area("cs"));
    EXPECT_EQ(cs->Type, 'c');
    EXPECT_EQ(cs->Increment, 256);
    EXPECT_EQ(cs->Size, 256);
    getCharSpace(area("cs"), 1000); // need 1101: 1 + 4 steps of 256
    EXPECT_EQ(cs->Size, 1280);
    EXPECT_EQ(cs->Increment, 256);

    int* i = getIntSpace(area("is"), 1000); // increment 2000, need 1101
    ASSERT_NE(i, nullptr);
    MemoryType* is = getIntBuffer(area("is"), 1000);
    EXPECT_EQ(is->Increment, 2000);
    EXPECT_EQ(is->Size, 2000);
    EXPECT_EQ(is->AllocatedSpace.iSpace, i);
    getIntSpace(area("is"), 3000); // need 3301
    EXPECT_EQ(is->Size, 4000);
    EXPECT_EQ(is->AllocatedSpace.iSpace[4000], INT_MAX);
    EXPECT_EQ(getCharBuffer(area("cs"), 10), cs);
}

// Bytes of an int area of that many entries, with its sentinel.
double intBytes(int entries) {
    return (entries + 1.0) * sizeof(int);
}

// A new area takes twice its request; an old one that must pass the need of a tenth above the
// request can take its increment on top of nearly that need: 546 asks for more than 600 entries
// (need 601), and the area of 600 with increment 600 grows to 1200, 2.2 times the request.
TEST_F(Memory, WorkAreaBoundCoversNewAndGrownAreas) {
    getIntSpace(area("bound"), 300);
    MemoryType* sd = findMemory(area("bound"));
    EXPECT_EQ(sd->Size, 600);
    EXPECT_LE(intBytes(sd->Size), workAreaBytesAtMost('i', 300));
    getIntSpace(area("bound"), 546);
    EXPECT_EQ(sd->Size, 1200);
    EXPECT_LE(intBytes(sd->Size), workAreaBytesAtMost('i', 546));
    EXPECT_GT(intBytes(sd->Size), intBytes(2 * 546));
    // Small areas grow by 256 entries, whatever they ask for.
    getCharSpace(area("boundSmall"), 3);
    EXPECT_EQ(findMemory(area("boundSmall"))->Size, 256);
    EXPECT_GE(workAreaBytesAtMost('c', 3), 257.0);
    EXPECT_EQ(workAreaBytesAtMost('d', 1e6), (2 * 1100001.0 + 1) * sizeof(double));
}

TEST_F(Memory, TypedAccessToAnAreaOfAnotherTypeIsRefused) {
    initMemory(area("chars"), 'c', 10, 10);
    int* wrong = nullptr;
    std::string err = stderrOf([&] { wrong = getIntSpace(area("chars"), 100); });
    EXPECT_EQ(wrong, nullptr);
    EXPECT_TRUE(contains(err, std::string("Memory ") + area("chars") + " is of type c, not i"));
    EXPECT_EQ(MemorySize(area("chars")), 20); // untouched
}

TEST_F(Memory, CatOnNewAreaGivesTheTextAlone) {
    EXPECT_STREQ(catStringToBuffer(area("cat1"), "hello"), "hello");
    // 256 entries with increment 256: need 282, so two increments.
    EXPECT_EQ(MemorySize(area("cat1")), 512);
    EXPECT_STREQ(catStringToBuffer(area("cat1"), ", world"), "hello, world");
    EXPECT_STREQ(copyStringToBuffer(area("cat1"), "new"), "new");
    EXPECT_EQ(catStringToBuffer(area("cat1"), nullptr), nullptr);
    EXPECT_EQ(copyStringToBuffer(area("cat1"), nullptr), nullptr);
    EXPECT_STREQ(copyStringToBuffer(area("cat2"), ""), "");
}

TEST_F(Memory, RepeatedAppendsKeepTheTextWholeAcrossGrowth) {
    std::string expected;
    char* text = nullptr;
    for (int i = 0; i < 300; ++i) {
        const std::string chunk = std::to_string(i) + ";";
        expected += chunk;
        text = catStringToBuffer(area("grow"), chunk.c_str());
    }
    EXPECT_EQ(std::string(text), expected);
    EXPECT_GT(MemorySize(area("grow")), static_cast<int>(expected.size()) + 9);
}

TEST_F(Memory, SmallTextAreaIsFirstGrownTo283) {
    initMemory(area("small"), 'c', 10, 10); // need 12: Size 20
    ASSERT_EQ(MemorySize(area("small")), 20);
    EXPECT_STREQ(copyStringToBuffer(area("small"), "abc"), "abc");
    EXPECT_EQ(MemorySize(area("small")), 290); // need 282: 27 steps of 10 added
}

TEST_F(Memory, AppendingTheBufferToItselfSurvivesGrowth) {
    copyStringToBuffer(area("self"), "abc");
    std::string expected = "abc";
    for (int i = 0; i < 9; ++i) {
        char* text = findExistingMemory(area("self")).cSpace;
        expected += expected;
        EXPECT_STREQ(catStringToBuffer(area("self"), text), expected.c_str());
    }
    EXPECT_EQ(expected.size(), 1536u);
}

TEST_F(Memory, ReadLineMarksTheEndOfInputAfterTheTerminator) {
    FILE* fp = fileWith("first\nsecond");
    char* line = readLineToBuffer(area("read"), fp);
    EXPECT_STREQ(line, "first");
    EXPECT_NE(line[6], '\n');
    line = readLineToBuffer(area("read"), fp);
    EXPECT_STREQ(line, "second");
    EXPECT_EQ(line[7], '\n');
    line = readLineToBuffer(area("read"), fp);
    EXPECT_STREQ(line, "");
    EXPECT_EQ(line[1], '\n');
    std::fclose(fp);
}

TEST_F(Memory, NormalLineClearsAnOldEndMark) {
    FILE* last = fileWith("ab");
    char* line = readLineToBuffer(area("stale"), last);
    ASSERT_EQ(line[3], '\n');
    std::fclose(last);
    FILE* more = fileWith("xy\nz\n");
    line = readLineToBuffer(area("stale"), more);
    EXPECT_STREQ(line, "xy");
    EXPECT_NE(line[3], '\n');
    std::fclose(more);
}

TEST_F(Memory, LongLineIsReadWhole) {
    const std::string longLine(5000, 'q');
    FILE* fp = fileWith(longLine + "\nnext\n");
    EXPECT_EQ(std::string(readLineToBuffer(area("long"), fp)), longLine);
    EXPECT_STREQ(readLineToBuffer(area("long"), fp), "next");
    std::fclose(fp);
}

TEST_F(Memory, ReadLineToEndAppendsAndStopsAtByte255) {
    copyStringToBuffer(area("end"), "pre:");
    FILE* fp = fileWith("one\nab\xff"
                        "cd\n");
    EXPECT_STREQ(readLineToEndBuffer(area("end"), fp), "pre:one");
    char* line = readLineToEndBuffer(area("end"), fp);
    EXPECT_STREQ(line, "pre:oneab");
    EXPECT_EQ(line[10], '\n');
    std::fclose(fp);

    // readLineToBuffer takes byte 255 as text.
    fp = fileWith("ab\xff"
                  "cd\n");
    EXPECT_STREQ(readLineToBuffer(area("end255"), fp), "ab\xff"
                                                       "cd");
    std::fclose(fp);
}

} // namespace
