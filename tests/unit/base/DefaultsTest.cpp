#include "base/Defaults.h"

#include "TestSupport.h"

#include <gtest/gtest.h>

#include <optional>

#include <algorithm>
#include <cstdlib>
#include <fstream>
#include <string>
#include <sys/stat.h>
#include <vector>

namespace {

const BS_defaults BuiltIn[] = {{"TarvikPath", "Library/Tarvik"}, {"Keep S in Memory", "Yes"},
                               {"Write S to Disk", "No"},        {"SeverityMask", "110000"},
                               {"MaximalLevel", "50"},           {nullptr, nullptr}};

class Defaults : public testing::Test {
protected:
    void SetUp() override {
        testsupport::resetBaseState();
        homeDir.emplace("defaults");
        home = homeDir->path();
    }
    void TearDown() override { testsupport::resetBaseState(); }
    std::string file() const { return home + "/.Defaults/Tarvik6"; }
    void writeDefaultsFile(const std::string& text) {
        mkdir((home + "/.Defaults").c_str(), 0755);
        std::ofstream(file()) << text;
    }
    std::string readDefaultsFile() {
        std::ifstream in(file());
        return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
    }
    void registerQuietly(DEF_SET convert = nullptr) {
        testing::internal::CaptureStderr();
        registerDefaults("Tarvik6", BuiltIn, convert);
        registerMessages = testing::internal::GetCapturedStderr();
    }
    std::string value(const char* name) {
        DefaultType* df = findDefaultPointer(name);
        return df && df->value ? df->value : "<absent>";
    }
    std::optional<testsupport::TempHome> homeDir;
    std::string home;
    std::string registerMessages;
};

TEST_F(Defaults, MissingFileIsReportedAndBuiltInsStay) {
    registerQuietly();
    EXPECT_NE(registerMessages.find("Could not open file"), std::string::npos);
    struct stat st;
    EXPECT_EQ(stat((home + "/.Defaults").c_str(), &st), 0);
    EXPECT_EQ(std::string(getDefaultFile()), file());
    EXPECT_EQ(value("Keep S in Memory"), "Yes");
    EXPECT_EQ(value("MaximalLevel"), "50");
    EXPECT_EQ(value("TarvikPath"), "Library/Tarvik");
}

TEST_F(Defaults, FileLinesReplaceBuiltInsQuotedOrNot) {
    writeDefaultsFile("\"Keep S in Memory\" \"No\"\n"
                      "   MaximalLevel   60\n"
                      "\"Fresh key\" plain\n");
    registerQuietly();
    EXPECT_EQ(value("Keep S in Memory"), "No");
    EXPECT_EQ(value("MaximalLevel"), "60");
    EXPECT_EQ(value("Fresh key"), "plain");
    EXPECT_EQ(value("Write S to Disk"), "No");
}

TEST_F(Defaults, EmptyLineEndsTheReading) {
    writeDefaultsFile("\"SeverityMask\" \"000000\"\n"
                      "\n"
                      "\"AfterEmptyLine\" \"x\"\n");
    registerQuietly();
    EXPECT_EQ(value("SeverityMask"), "000000");
    EXPECT_EQ(value("AfterEmptyLine"), "<absent>");
}

TEST_F(Defaults, MalformedLinesEndTheReading) {
    struct Case {
        const char* line;
    } cases[] = {{"LonelyWord\n"}, {"\"Unclosed name value\n"}, {"   \n"}};
    int n = 0;
    for (const Case& c : cases) {
        std::string after = "AfterMalformed" + std::to_string(n++);
        writeDefaultsFile(std::string("\"MaximalLevel\" \"70\"\n") + c.line + "\"" + after +
                          "\" \"y\"\n");
        registerQuietly();
        EXPECT_EQ(value("MaximalLevel"), "70") << c.line;
        EXPECT_EQ(value(after.c_str()), "<absent>") << c.line;
    }
}

TEST_F(Defaults, OverlongLineIsCutAndItsRestDropped) {
    std::string head = "\"LongValue\" \""; // 13 characters
    writeDefaultsFile(head + std::string(300, 'v') + "\"\n\"AfterLong\" \"z\"\n");
    registerQuietly();
    EXPECT_EQ(value("LongValue"), std::string(255 - head.size(), 'v'));
    EXPECT_EQ(value("AfterLong"), "z");
}

TEST_F(Defaults, SaveWritesEveryEntryQuotedAndReadsBack) {
    registerQuietly();
    setDefault("Keep S in Memory", "No");
    setDefault("Name with blanks", "value with blanks");
    savePreferences();
    std::string text = readDefaultsFile();
    EXPECT_NE(text.find("\"Keep S in Memory\" \"No\"\n"), std::string::npos);
    EXPECT_NE(text.find("\"Name with blanks\" \"value with blanks\"\n"), std::string::npos);
    EXPECT_NE(text.find("\"MaximalLevel\" \"50\"\n"), std::string::npos);

    setDefault("Name with blanks", "changed");
    registerQuietly();
    EXPECT_EQ(value("Keep S in Memory"), "No");
    EXPECT_EQ(value("Name with blanks"), "value with blanks");
    EXPECT_EQ(readDefaultsFile(), text) << "nothing is written while reading";
}

int conversions = 0;
void convertSettings() {
    ++conversions;
    setDefault("Converted setting", "7");
}
int tableStores = 0;
void storeTables() {
    ++tableStores;
}

TEST_F(Defaults, SaveRunsTheConversionsFirst) {
    registerQuietly(convertSettings);
    setTablePreferenceHandlers(storeTables, nullptr);
    conversions = tableStores = 0;
    savePreferences();
    EXPECT_EQ(conversions, 1);
    EXPECT_EQ(tableStores, 1);
    EXPECT_NE(readDefaultsFile().find("\"Converted setting\" \"7\"\n"), std::string::npos);
    writeDefaults();
    EXPECT_EQ(conversions, 1);
}

std::vector<std::string> tableKeys;
void readTable(const char* name, const char* value) {
    tableKeys.push_back(std::string(name) + "=" + value);
}

TEST_F(Defaults, TablePreferencesGoToTheTables) {
    setDefault("Table:Spectrum:Header", "1");
    setDefault("NotTable:x", "2");
    tableKeys.clear();
    setTablePreferenceHandlers(nullptr, readTable);
    getTableDefaults();
    EXPECT_NE(std::find(tableKeys.begin(), tableKeys.end(), "Table:Spectrum:Header=1"),
              tableKeys.end());
    for (const std::string& key : tableKeys)
        EXPECT_EQ(key.rfind("Table:", 0), 0u) << key;
}

TEST_F(Defaults, TextsGrowAndLookupsMakeEmptyEntries) {
    DefaultType* df = setDefault("Growing", "a");
    changeDefault(df, "a much longer text than before");
    EXPECT_STREQ(df->value, "a much longer text than before");
    changeDefault(df, "short");
    EXPECT_STREQ(getDefaultValue("Growing"), "short");
    EXPECT_EQ(setDefault("Growing", "again"), df);

    EXPECT_EQ(findDefaultPointer("Never set anywhere"), nullptr);
    EXPECT_EQ(getDefaultValue("Never set anywhere"), nullptr);
    EXPECT_NE(findDefaultPointer("Never set anywhere"), nullptr);
    EXPECT_STREQ(getDefault("Never set anywhere"), "");
}

TEST_F(Defaults, ResetForgetsEveryEntryTheFileAndTheHandlers) {
    registerQuietly(convertSettings);
    setTablePreferenceHandlers(storeTables, readTable);
    changeDefault(setDefault("Growing", "a"), "a much longer text than before");
    ASSERT_GT(testsupport::allocatedTo("Defaults"), 0u);

    resetDefaultState();
    EXPECT_EQ(testsupport::allocatedTo("Defaults"), 0u);
    EXPECT_EQ(getFirstDefault(), nullptr);
    EXPECT_STREQ(getDefaultFile(), "");
    tableKeys.clear();
    setDefault("Table:Spectrum:Header", "1");
    getTableDefaults();
    EXPECT_TRUE(tableKeys.empty());
    // Registering again reads the built-ins anew; saving runs no conversion and no table store.
    registerQuietly();
    EXPECT_EQ(value("SeverityMask"), "110000");
    conversions = tableStores = 0;
    savePreferences();
    EXPECT_EQ(conversions, 0);
    EXPECT_EQ(tableStores, 0);
}

TEST_F(Defaults, CellTextsAndSwitchReader) {
    DefaultType* df = setDefault("Cell name", "cell value");
    char buffer[64];
    char* end = getDefaultNameString(buffer, df, 0);
    EXPECT_EQ(std::string(buffer, end), "Cell name ");
    end = getDefaultValueString(buffer, df, 0);
    EXPECT_EQ(std::string(buffer, end), "cell value");
    int on = 1;
    EXPECT_EQ(getValue(&on), 1);
    EXPECT_EQ(getValue(nullptr), 0);
}

} // namespace
