#include "base/Tables.h"

#include "base/Defaults.h"
#include "base/Error.h"
#include "base/Output.h"

#include "TestSupport.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <cstdio>
#include <cstring>
#include <string>

namespace {

// Rows of the fruit table: a chain of row objects.
struct Fruit {
    const char* name;
    int count;
    Fruit* next;
};
Fruit fig{"fig", 7, nullptr};
Fruit kiwi{"kiwi", 12, &fig};
Fruit apple{"apple", 3, &kiwi};

int secretCalls = 0;
int cellCalls = 0;

// Label 1 is left out; its row object comes again with label 2.
char* fruitName(char* txt, void* row, int lbl) {
    ++cellCalls;
    if (lbl == 1)
        return nullptr;
    return txt + std::sprintf(txt, "%s", static_cast<Fruit*>(row)->name);
}
char* fruitCount(char* txt, void* row, int) {
    ++cellCalls;
    return txt + std::sprintf(txt, "%d", static_cast<Fruit*>(row)->count);
}
char* fruitSecret(char* txt, void*, int) {
    ++secretCalls;
    return txt + std::sprintf(txt, "s");
}
void* nextFruit(void* row) {
    return static_cast<Fruit*>(row)->next;
}

// A cell of a length set by the test.
int cellLength = 0;
char* sizedCell(char* txt, void*, int) {
    std::memset(txt, 'x', static_cast<std::size_t>(cellLength));
    txt[cellLength] = '\0';
    return txt + cellLength;
}
char* rowObjectText(char* txt, void* row, int) {
    return txt + std::sprintf(txt, "%s", static_cast<const char*>(row));
}

void defineTables() {
    if (findTable("TestFruit"))
        return;
    initTable("TestFruit");
    addColumn("TestFruit", makeColumn("Name|Nm", "Fruit name", 10, fruitName, nullptr));
    addColumn("TestFruit", makeColumn("Count|Cnt|#", "Number of fruits", 5, fruitCount, nullptr));
    addColumn("TestFruit", makeColumn("Secret", "Never shown", 5, fruitSecret, nullptr));
    addIncrem("TestFruit", nextFruit);
    initTable("TestSpace");
    addColumn("TestSpace", makeColumn("Blank space|Space|Sp.", "Spacing", 20, sizedCell, nullptr));
    initTable("TestLong");
    addColumn("TestLong", makeColumn("Long", "Long cells", 10, sizedCell, nullptr));
    addColumn("TestLong", makeColumn("End", "End mark", 3, rowObjectText, nullptr));
    initTable("TestDynamic");
    ColumnData* dyn = makeColumn("Dyn", "from the description", 30, rowObjectText, nullptr);
    dyn->dynamical = 1;
    addColumn("TestDynamic", dyn);
    if (!findTable("TableInfo"))
        TableInfo();
    if (!findTable("Table_of_tables"))
        TableTable();
}

void resetFruitTable() {
    TableData* td = findTable("TestFruit");
    for (int i = 0; td->cols[i]; ++i) {
        td->cols[i]->printPref = 1;
        td->cols[i]->adjust = 'L';
        td->cols[i]->space = 1;
    }
    td->cols[2]->printPref = 0; // "Secret" is hidden unless a test shows it
    td->headerReq = 1;
}

std::string printed(const char* name, int min, int max, int hdr, int seq, void* extra) {
    FILE* f = std::tmpfile();
    printTable(name, min, max, hdr, seq, extra, f);
    std::rewind(f);
    std::string text;
    for (int c; (c = std::fgetc(f)) != EOF;)
        text += static_cast<char>(c);
    std::fclose(f);
    return text;
}

std::string fruitTable() {
    return printed("TestFruit", 0, 10, 1, 0, &apple);
}

class Tables : public testing::Test {
protected:
    void SetUp() override {
        bindErrorSwitches(&errorTrace, &log, &errorLog, &interactive);
        setSeverity_Error("110000");
        ERROR_FILE = stderr;
        defineTables();
        resetFruitTable();
        secretCalls = cellCalls = 0;
    }
    void TearDown() override {
        resetFruitTable();
        bindErrorSwitches(nullptr, nullptr, nullptr, nullptr);
    }
    int errorTrace = 0, log = 0, errorLog = 0, interactive = 0;
};

TEST_F(Tables, TwoColumnsWithADroppedRowAndAHiddenColumn) {
    EXPECT_EQ(fruitTable(), "Name   #  \n"
                            "apple  3  \n"
                            "kiwi   12 \n"
                            "fig    7  \n");
    EXPECT_EQ(secretCalls, 0);
}

TEST_F(Tables, RightAdjustedColumnWithWiderSpacing) {
    EXPECT_EQ(setAdjust("TestFruit", "Count", 'R'), -1);
    EXPECT_EQ(setSpace("TestFruit", "Name", 2), -1);
    // A right-adjusted column ends in its space; the left column after it begins with its own.
    EXPECT_EQ(setPrintPref("TestFruit", "Secret", 1), -1);
    EXPECT_EQ(fruitTable(), "Name    #  Secret \n"
                            "apple   3  s      \n"
                            "kiwi   12  s      \n"
                            "fig     7  s      \n");
}

TEST_F(Tables, HeaderCanBeSwitchedOff) {
    EXPECT_EQ(getHeader("TestFruit"), 1);
    EXPECT_EQ(setHeader("TestFr", 0), 0);
    EXPECT_EQ(getHeader("TestFruit"), 0);
    EXPECT_EQ(fruitTable(), "apple  3  \nkiwi   12 \nfig    7  \n");
    // The caller can leave the header out too.
    setHeader("TestFruit", 1);
    EXPECT_EQ(printed("TestFruit", 0, 10, 0, 0, &apple), "apple  3  \nkiwi   12 \nfig    7  \n");
}

TEST_F(Tables, RowRangeEndsBeforeTheChainDoes) {
    // Label 1 is dropped, so "kiwi" never comes and "Count" is two wide.
    EXPECT_EQ(printed("TestFruit", 0, 2, 1, 0, &apple), "Name   # \napple  3 \n");
}

TEST_F(Tables, SetPrintPrefsSelectsByPrefix) {
    EXPECT_EQ(setPrintPrefs("TestFruit", "", 0), 3);
    EXPECT_EQ(fruitTable(), "\n\n\n\n");
    EXPECT_EQ(setPrintPrefs("TestFruit", "co", 1), 1);
    EXPECT_EQ(getPrintPref("TestFruit", "Count"), 1);
    EXPECT_EQ(getPrintPref("TestFruit", "Name"), 0);
    EXPECT_EQ(setPrintPrefs("TestFruit", "", 1), 3);
    EXPECT_EQ(getPrintPref("TestFruit", "Secret"), 1);
}

TEST_F(Tables, HeaderAlternativesFollowTheWidth) {
    struct Case {
        int cell;
        const char* expected;
    } cases[] = {
        {12, "Blank space  \nxxxxxxxxxxxx \n"}, // width 13
        {11, "Space       \nxxxxxxxxxxx \n"},   // width 12: the header must be below 11
        {6, "Space  \nxxxxxx \n"},              // width 7
        {5, "Sp.   \nxxxxx \n"},                // width 6
        {2, "Sp. \nxx  \n"},                    // width 3, raised to 4
        {0, "Sp. \n    \n"},                    // an empty cell
    };
    for (const Case& c : cases) {
        cellLength = c.cell;
        EXPECT_EQ(printed("TestSpace", 0, 1, 1, 0, nullptr), c.expected) << c.cell;
    }
}

TEST_F(Tables, LookupsByAbbreviation) {
    EXPECT_EQ(getTable("TestFruit"), findTable("TestFruit"));
    EXPECT_EQ(getTable("testfr"), findTable("TestFruit"));
    EXPECT_EQ(findColumn(findTable("TestFruit"), "sec"), findTable("TestFruit")->cols[2]);
    testing::internal::CaptureStderr();
    EXPECT_EQ(getTable("TestNoSuch"), nullptr);
    EXPECT_EQ(getTable("Test"), nullptr);
    EXPECT_EQ(setSpace("TestFruit", "Nothing", 3), 1);
    EXPECT_EQ(setAdjust("TestNoSuch", "Name", 'R'), 1);
    EXPECT_EQ(getPrintPref("TestFruit", "Nothing"), 1);
    EXPECT_EQ(getHeader("TestNoSuch"), -1);
    EXPECT_EQ(setHeader("TestNoSuch", 1), 1);
    std::string err = testing::internal::GetCapturedStderr();
    EXPECT_NE(err.find("Table TestNoSuch not found"), std::string::npos);
    EXPECT_NE(err.find("Table name Test ambiguous"), std::string::npos);
    EXPECT_NE(err.find("Column Nothing not found"), std::string::npos);
}

TEST_F(Tables, ColumnNamesAndAlternatives) {
    ColumnData* cd = makeColumn("Blank space|Space|Sp.", "d", 8, sizedCell, nullptr);
    EXPECT_STREQ(cd->name, "Blank space");
    ASSERT_NE(cd->alt_hdrs[0], nullptr);
    EXPECT_STREQ(cd->alt_hdrs[0], "Space");
    EXPECT_STREQ(cd->alt_hdrs[1], "Sp.");
    EXPECT_EQ(cd->alt_hdrs[2], nullptr);
    EXPECT_EQ(cd->printPref, 1);
    EXPECT_EQ(cd->space, 1);
    EXPECT_EQ(cd->adjust, 'L');
    EXPECT_EQ(cd->dynamical, 0);
}

TEST_F(Tables, ManyColumnsGrowTheColumnArray) {
    if (!findTable("TestWide")) {
        initTable("TestWide");
        for (int i = 0; i < 45; ++i)
            addColumn("TestWide",
                      makeColumn(("C" + std::to_string(i)).c_str(), "", 1, sizedCell, nullptr));
    }
    TableData* td = findTable("TestWide");
    EXPECT_EQ(td->maxcols, 50);
    EXPECT_STREQ(td->cols[44]->name, "C44");
    EXPECT_EQ(td->cols[45], nullptr);
}

TEST_F(Tables, ReprintWithSeq2AsksNoCell) {
    std::string first = fruitTable();
    int calls = cellCalls;
    EXPECT_EQ(printed("TestFruit", 0, 10, 1, 2, &apple), first);
    EXPECT_EQ(cellCalls, calls);
}

TEST_F(Tables, StringFormMatchesThePrintedForm) {
    std::string file = fruitTable();
    const char* text = sprintTable("TestFruit", 0, 10, 1, 0, &apple);
    ASSERT_NE(text, nullptr);
    EXPECT_EQ(std::string(text), file);
}

TEST_F(Tables, CellsOfAThousandCharactersAndMore) {
    for (int len : {999, 1000, 1500, 20000}) {
        cellLength = len;
        int hdr = 1;
        char end[] = "e";
        testing::internal::CaptureStderr();
        std::string text = makeTable("TestLong", 0, 1, &hdr, 0, end);
        testing::internal::GetCapturedStderr();
        char head[16];
        std::snprintf(head, sizeof head, len < 1000 ? "\t%03d" : "\t+%d;", len);
        EXPECT_EQ(text, head + std::string(static_cast<std::size_t>(len), 'x') + "\t001e\n");
        std::string expected = "Long" + std::string(static_cast<std::size_t>(len) - 3, ' ') +
                               " End \n" + std::string(static_cast<std::size_t>(len), 'x') +
                               "  e   \n";
        EXPECT_EQ(printed("TestLong", 0, 1, 1, 2, nullptr), expected) << len;
    }
}

TEST_F(Tables, ManyLongRowsGrowTheText) {
    cellLength = 300; // far beyond the column's allocated width
    char end[] = "e";
    testing::internal::CaptureStderr();
    const char* text = sprintTable("TestLong", 0, 50, 0, 0, end);
    testing::internal::GetCapturedStderr();
    std::string row = std::string(300, 'x') + "  e   \n";
    std::string expected;
    for (int i = 0; i < 50; ++i)
        expected += row;
    ASSERT_NE(text, nullptr);
    EXPECT_EQ(std::string(text), expected);
}

TEST_F(Tables, DynamicalColumnGetsItsDescription) {
    EXPECT_EQ(printed("TestDynamic", 0, 2, 1, 0, nullptr),
              "Dyn                  \nfrom the description \nfrom the description \n");
}

TEST_F(Tables, DamagedIntermediateTextIsReportedAndSkipped) {
    int hdr = 1;
    char* text = makeTable("TestFruit", 0, 10, &hdr, 0, &apple);
    char* firstNewline = std::strchr(text, '\n');
    ASSERT_NE(firstNewline, nullptr);
    firstNewline[-1] = '~'; // "apple\t0013" becomes "apple\t001~": the cell "~" stays, then ...
    *firstNewline = '!';
    testing::internal::CaptureStderr();
    std::string out = printed("TestFruit", 0, 10, 0, 2, nullptr);
    std::string err = testing::internal::GetCapturedStderr();
    EXPECT_NE(err.find("Unexpected character \"!\" in table output"), std::string::npos) << err;
    EXPECT_EQ(out, "apple  ~  \nfig    7  \n");
}

TEST_F(Tables, MissingTablePrintsNothing) {
    testing::internal::CaptureStderr();
    EXPECT_EQ(printed("TestNoSuch", 0, 10, 1, 0, nullptr), "");
    int hdr = 1;
    EXPECT_EQ(makeTable("TestNoSuch", 0, 1, &hdr, 0, nullptr), nullptr);
    std::string err = testing::internal::GetCapturedStderr();
    EXPECT_NE(err.find("Table TestNoSuch not found"), std::string::npos);
}

TEST_F(Tables, ReinitialisingReturnsTheExistingTable) {
    testing::internal::CaptureStderr();
    EXPECT_EQ(initTable("TestFruit"), findTable("TestFruit"));
    std::string err = testing::internal::GetCapturedStderr();
    EXPECT_NE(err.find("Attempt to re-initialize table TestFruit"), std::string::npos);
}

// ---------------------------------------------------------------- preferences

TEST_F(Tables, PreferencesAreSavedAndReadBack) {
    setPrintPref("TestFruit", "Secret", 1);
    setPrintPref("TestFruit", "Name", 0);
    setAdjust("TestFruit", "Count", 'R');
    setSpace("TestFruit", "Count", 3);
    setSpace("TestFruit", "Secret", 12);
    setHeader("TestFruit", 0);
    TableDefaults();
    EXPECT_STREQ(getDefaultValue("Table:TestFruit:PrintPrefs"), "011");
    EXPECT_STREQ(getDefaultValue("Table:TestFruit:Header"), "0");
    EXPECT_STREQ(getDefaultValue("Table:TestFruit:Adjustments"), "LRL");
    EXPECT_STREQ(getDefaultValue("Table:TestFruit:Spacings"), "139");

    resetFruitTable();
    getTableDefaults(); // the tables registered their reader when they were made
    TableData* td = findTable("TestFruit");
    EXPECT_EQ(td->headerReq, 0);
    EXPECT_EQ(td->cols[0]->printPref, 0);
    EXPECT_EQ(td->cols[2]->printPref, 1);
    EXPECT_EQ(td->cols[1]->adjust, 'R');
    EXPECT_EQ(td->cols[1]->space, 3);
    EXPECT_EQ(td->cols[2]->space, 9);
    // With "Name" hidden no cell drops a row.
    EXPECT_EQ(fruitTable(), "  3            s \n"
                            " 12            s \n"
                            "  7            s \n");
    resetFruitTable();
    TableDefaults(); // leave the database as the fixture leaves the table
}

TEST_F(Tables, SavedTextsWithUnknownTablesOrTooManyColumns) {
    // Settings of columns that no longer exist (a column added in the run that saved them) are
    // skipped with a notice, never a question: the defaults file is read before "-b" takes
    // effect.
    resetError();
    testing::internal::CaptureStderr();
    getTableDefault("Table:TestFruit:Spacings", "2345");
    EXPECT_EQ(testing::internal::GetCapturedStderr(),
              "Too many colums in Defaults file \n(This message will not be repeated.)\n");
    testing::internal::CaptureStderr();
    getTableDefault("Table:TestFr:Adjustments", "R");
    getTableDefault("Table:TestFruit:PrintPrefs", "");
    getTableDefault("Table:TestNoSuch:Header", "0");
    std::string err = testing::internal::GetCapturedStderr();
    TableData* td = findTable("TestFruit");
    EXPECT_EQ(td->cols[0]->space, 2);
    EXPECT_EQ(td->cols[1]->space, 3);
    EXPECT_EQ(td->cols[2]->space, 4);
    EXPECT_EQ(td->cols[0]->adjust, 'R');
    EXPECT_EQ(td->cols[2]->printPref, 0);
    EXPECT_NE(err.find("(routine getTableDefault, position 2)"), std::string::npos) << err;
    EXPECT_NE(err.find("Table TestNoSuch not found"), std::string::npos) << err;
}

TEST_F(Tables, ResetRemovesEveryTableAndGivesItsMemoryBack) {
    const std::string before = fruitTable();
    resetTableState();
    EXPECT_EQ(findTableN(0), nullptr);
    // What is left belongs to no table: a column made alone is its maker's.
    const std::uint32_t empty = testsupport::allocatedTo("Tables");
    // Defined anew without a word about an existing table, and shown as before.
    testing::internal::CaptureStderr();
    defineTables();
    EXPECT_EQ(testing::internal::GetCapturedStderr(), "");
    resetFruitTable();
    EXPECT_EQ(fruitTable(), before);
    ASSERT_GT(testsupport::allocatedTo("Tables"), empty);

    resetTableState();
    EXPECT_EQ(testsupport::allocatedTo("Tables"), empty);
    defineTables();
}

// ---------------------------------------------------------------- tables about tables

TEST_F(Tables, TableInfoDescribesTheColumns) {
    std::string out = printed("TableInfo", 0, 3, 1, 0, findTable("TestFruit"));
    EXPECT_EQ(out, "Header  Abbrev.  Description       Enabled  Sp.  Pos. \n"
                   "Name    Nm       Fruit name        Yes      1    L    \n"
                   "Count   Cnt,#    Number of fruits  Yes      1    L    \n"
                   "Secret           Never shown       No       1    L    \n");
}

TEST_F(Tables, TablesAreNumberedNewestFirst) {
    EXPECT_EQ(nextTable(findTableN(0)), findTableN(1));
    EXPECT_EQ(findTableN(-1), nullptr);
    int n = 0;
    while (findTableN(n))
        ++n;
    EXPECT_EQ(findTableN(n), nullptr);
    EXPECT_GE(n, 6);
}

} // namespace
