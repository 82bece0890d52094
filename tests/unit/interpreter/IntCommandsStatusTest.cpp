#include "interpreter/IntCommandsStatus.h"

#include "base/Allocation.h"
#include "base/Error.h"
#include "base/Output.h"
#include "base/Tables.h"

#include "InterpreterTestHelpers.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <sstream>
#include <string>
#include <vector>

namespace {

char* statusName(char* txt, void* row, int) {
    return txt + std::sprintf(txt, "%s", static_cast<const char*>(row));
}
char* statusValue(char* txt, void*, int lbl) {
    return txt + std::sprintf(txt, "%d", lbl);
}

void defineTables() {
    initTable("StatusProbe");
    addColumn("StatusProbe", makeColumn("Name|Nm", "Probe name", 10, statusName, nullptr));
    addColumn("StatusProbe", makeColumn("Value|Val", "Probe value", 10, statusValue, nullptr));
    TableInfo();
    TableTable();
}

// Counters of the test's own, registered once: the list of counters lives for the process.
int extraCalls = 0;
void extraDisplay() {
    ++extraCalls;
    Print("probe B extra\n");
}
AllocCount probeA{0, 0, "Probe A", nullptr};
AllocCount probeB{0, 0, "Probe B", extraDisplay};

void registerProbes() {
    static bool done = false;
    if (done)
        return;
    AddMemStat(&probeA);
    AddMemStat(&probeB);
    done = true;
}

std::vector<std::string> linesOf(const std::string& text) {
    std::vector<std::string> lines;
    std::istringstream in(text);
    for (std::string line; std::getline(in, line);)
        lines.push_back(line);
    return lines;
}

std::vector<std::string> wordsOf(const std::string& line) {
    std::vector<std::string> words;
    std::istringstream in(line);
    for (std::string w; in >> w;)
        words.push_back(w);
    return words;
}

class Status : public interptest::FreshInterpreterTest {
protected:
    void SetUp() override {
        FreshInterpreterTest::SetUp();
        bindErrorSwitches(&errorTrace, &log, &errorLog, &interactive);
        TerminalOutputOn();
        defineTables();
        registerProbes();
        probeA.TotalAlloc = 1234;
        probeB.TotalAlloc = 0;
        extraCalls = 0;
    }
    void TearDown() override {
        probeA.TotalAlloc = probeB.TotalAlloc = 0;
        FreshInterpreterTest::TearDown();
    }
    std::string run(int (*handler)(void**, int), std::vector<void*> words, int* rc) {
        words.push_back(nullptr);
        testing::internal::CaptureStdout();
        *rc = handler(words.data(), static_cast<int>(words.size()) - 1);
        return testing::internal::GetCapturedStdout();
    }
    std::string probeTable() {
        char row[] = "p";
        testing::internal::CaptureStdout();
        printTable("StatusProbe", 0, 2, 1, 0, row, stdout);
        return testing::internal::GetCapturedStdout();
    }
    int errorTrace = 0, log = 0, errorLog = 0, interactive = 0;
};

char* word(const char* text) {
    return const_cast<char*>(text);
}

// ---------------------------------------------------------------- tables

TEST_F(Status, TableListShowsEveryTable) {
    int rc = 0;
    std::string out = run(COM_table_list, {}, &rc);
    EXPECT_EQ(rc, 0);
    std::vector<std::string> lines = linesOf(out);
    int tables = 0;
    while (findTableN(tables))
        ++tables;
    ASSERT_EQ(static_cast<int>(lines.size()), tables + 1);
    EXPECT_EQ(wordsOf(lines[0]), (std::vector<std::string>{"Name", "Maxcols", "Header"}));
    bool seen = false;
    for (const std::string& line : lines)
        if (wordsOf(line) == std::vector<std::string>{"StatusProbe", "2", "Yes"})
            seen = true;
    EXPECT_TRUE(seen) << out;
}

TEST_F(Status, TableInfoOfAnAbbreviatedName) {
    int rc = 0;
    std::string out = run(COM_table_info, {word("statusp")}, &rc);
    EXPECT_EQ(rc, -1);
    EXPECT_EQ(out, "Header  Abbrev.  Description  Enabled  Sp.  Pos. \n"
                   "Name    Nm       Probe name   Yes      1    L    \n"
                   "Value   Val      Probe value  Yes      1    L    \n");
}

TEST_F(Status, TableInfoOfAnUnknownNameReportsTwice) {
    int rc = 0;
    testing::internal::CaptureStderr();
    std::string out = run(COM_table_info, {word("NoTableLikeThis")}, &rc);
    std::string err = testing::internal::GetCapturedStderr();
    EXPECT_EQ(rc, 1);
    EXPECT_EQ(out, "");
    EXPECT_EQ(err, "Table NoTableLikeThis not found \nTable NoTableLikeThis not found \n");
}

TEST_F(Status, SuppressAndRestoreLeaveTheTableAsBefore) {
    std::string before = probeTable();
    int rc = 0;
    run(COM_table_suppress, {word("StatusProbe"), word("val")}, &rc);
    EXPECT_EQ(rc, -2);
    EXPECT_EQ(probeTable(), "Nm \np  \np  \n"); // "Name" is too wide for cells of one
    run(COM_table_restore, {word("StatusProbe"), word("val")}, &rc);
    EXPECT_EQ(rc, -2);
    EXPECT_EQ(probeTable(), before);
}

TEST_F(Status, AdjustmentSpacingAndHeader) {
    int rc = 0;
    int space = 3;
    run(COM_table_right, {word("StatusProbe"), word("Name")}, &rc);
    EXPECT_EQ(rc, -2);
    run(COM_table_space, {word("StatusProbe"), word("Value"), &space}, &rc);
    EXPECT_EQ(rc, -3);
    run(COM_table_noheader, {word("StatusProbe")}, &rc);
    EXPECT_EQ(rc, -1);
    // Right-adjusted "Name" ends in its one blank; "Value" begins with its three.
    EXPECT_EQ(probeTable(), " p    0 \n p    1 \n");
    run(COM_table_left, {word("StatusProbe"), word("Name")}, &rc);
    run(COM_table_header, {word("StatusProbe")}, &rc);
    EXPECT_EQ(rc, -1);
    EXPECT_EQ(probeTable(), "Nm    Val \np     0   \np     1   \n");
}

TEST_F(Status, SettersReportUnknownNames) {
    int rc = 0;
    int space = 2;
    testing::internal::CaptureStderr();
    run(COM_table_header, {word("NoTableLikeThis")}, &rc);
    EXPECT_EQ(rc, 1);
    run(COM_table_suppress, {word("StatusProbe"), word("Nothing")}, &rc);
    EXPECT_EQ(rc, 1);
    run(COM_table_space, {word("NoTableLikeThis"), word("Name"), &space}, &rc);
    EXPECT_EQ(rc, 1);
    std::string err = testing::internal::GetCapturedStderr();
    EXPECT_NE(err.find("Column Nothing not found"), std::string::npos);
}

// ---------------------------------------------------------------- memory

unsigned long totalOf(const std::string& line) {
    unsigned long n = 0;
    EXPECT_EQ(std::sscanf(line.c_str(), "Total allocation: %lu Bytes", &n), 1) << line;
    return n;
}

TEST_F(Status, TotalFollowsTheCounters) {
    int rc = 0;
    std::string first = run(COM_showMemory, {}, &rc);
    EXPECT_EQ(rc, 0);
    ASSERT_EQ(linesOf(first).size(), 1u);
    probeA.TotalAlloc += 1000;
    probeB.TotalAlloc = 24;
    std::string second = run(COM_showMemory, {}, &rc);
    EXPECT_EQ(totalOf(second) - totalOf(first), 1024u);
    EXPECT_EQ(totalOf(second), getMemoryStatistics());
    EXPECT_EQ(extraCalls, 0);
}

TEST_F(Status, DetailListsCountersInUseAndAddsUp) {
    int rc = 0;
    std::string out = run(COM_showMemoryDetail, {}, &rc);
    EXPECT_EQ(rc, 0);
    EXPECT_NE(out.find("Probe A allocation 1234 Bytes\n"), std::string::npos);
    EXPECT_EQ(out.find("Probe B allocation"), std::string::npos);
    EXPECT_EQ(extraCalls, 0);
    std::vector<std::string> lines = linesOf(out);
    unsigned long sum = 0;
    for (std::size_t i = 0; i + 1 < lines.size(); ++i) {
        std::size_t at = lines[i].rfind(" allocation ");
        ASSERT_NE(at, std::string::npos) << lines[i];
        sum += std::stoul(lines[i].substr(at + 12));
    }
    EXPECT_EQ(totalOf(lines.back()), sum);
}

TEST_F(Status, MoreDetailRunsCallbacksOfEmptyCountersToo) {
    int rc = 0;
    std::string out = run(COM_showMemoryMore, {}, &rc);
    EXPECT_EQ(rc, 0);
    EXPECT_EQ(extraCalls, 1);
    EXPECT_NE(out.find("probe B extra\n"), std::string::npos);
    EXPECT_EQ(out.find("Probe B allocation"), std::string::npos);
    EXPECT_NE(out.find("Probe A allocation 1234 Bytes\n"), std::string::npos);
    EXPECT_EQ(out.rfind("Total allocation: ", out.size()), out.rfind('\n', out.size() - 2) + 1);

    probeB.TotalAlloc = 8;
    out = run(COM_showMemoryMore, {}, &rc);
    EXPECT_NE(out.find("Probe B allocation 8 Bytes\nprobe B extra\n"), std::string::npos);
}

TEST_F(Status, MemoryStatisticsLevels) {
    struct Case {
        int level;
        bool lines;
        bool callbacks;
    } cases[] = {
        {-1, false, false}, {0, false, false}, {1, true, false}, {2, true, true}, {3, true, false}};
    for (const Case& c : cases) {
        extraCalls = 0;
        testing::internal::CaptureStdout();
        MemoryStatistics(c.level);
        std::string out = testing::internal::GetCapturedStdout();
        EXPECT_EQ(out.find("Probe A allocation 1234 Bytes\n") != std::string::npos, c.lines)
            << c.level;
        EXPECT_EQ(extraCalls, c.callbacks ? 1 : 0) << c.level;
        if (!c.lines) {
            EXPECT_EQ(linesOf(out).size(), 1u) << c.level;
        }
    }
}

} // namespace
