// Listings and help texts of the command tree. Each test lists a keyword level of its own, and
// searches use texts that only its own words contain.
#include "interpreter/Interpreter.h"

#include "base/Error.h"
#include "base/Output.h"

#include "InterpreterTestHelpers.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <string>
#include <vector>

namespace {

int nothing(void**, int parnum) {
    return -parnum;
}

class InterpreterHelpTest : public interptest::FreshInterpreterTest {
protected:
    void SetUp() override {
        FreshInterpreterTest::SetUp();
        makeDefaultMode();
        getConversion("id", makeConversionMethod(nullptr, 'c', "String"));
        getConversion("zh_int", makeConversionMethod(nullptr, 'i', "Listing test integer"));
        TerminalOutputOn();
        testing::internal::CaptureStdout();
        capturing_ = true;
    }
    void TearDown() override {
        out();
        FreshInterpreterTest::TearDown();
    }
    std::string out() {
        if (!capturing_)
            return {};
        capturing_ = false;
        return testing::internal::GetCapturedStdout();
    }

private:
    bool capturing_ = false;
};

std::string keyword(int i) {
    char name[16];
    std::snprintf(name, sizeof name, "k%02d", i);
    return name;
}

// 45 words, the longest of 12 letters: columns of width 16, five of them, nine rows of 80.
TEST_F(InterpreterHelpTest, ColumnLayoutOfAKnownLevel) {
    std::vector<std::string> words;
    for (int i = 0; i < 44; ++i)
        words.push_back(keyword(i));
    words.push_back("k44abcdefghi");
    for (const std::string& w : words)
        initCommand(("zhcols " + w).c_str(), "", nothing, "");
    makeInternal("zhcols k05");
    printComCol(matchComKey("zhcols")->keywords);
    const std::string text = out();

    ASSERT_EQ(text.size(), 9u * 80u);
    for (int row = 0; row < 9; ++row) {
        const std::string line = text.substr(static_cast<std::size_t>(row) * 80, 80);
        EXPECT_EQ(line.back(), '\n');
        for (int col = 0; col < 5; ++col) {
            const int index = col * 9 + row;
            std::string shown = words[static_cast<std::size_t>(index)];
            shown[0] = 'K';
            const std::string cell = line.substr(static_cast<std::size_t>(col) * 16, shown.size());
            const std::string expected = index == 5 ? std::string(shown.size(), ' ') : shown;
            EXPECT_EQ(cell, expected) << "row " << row << " column " << col;
        }
    }
}

TEST_F(InterpreterHelpTest, AllCommandsIndentsByLevel) {
    initCommand("zhtree beta", "", nothing, "");
    initCommand("zhtree alpha inner", "", nothing, "");
    makeInternal("zhtree beta");
    printAllCommands(matchComKey("zhtree")->keywords, 1);
    EXPECT_EQ(out(), "    Alpha\n        Inner\n    Beta\n");
}

TEST_F(InterpreterHelpTest, DetailsShowDescriptionsWithoutFormulaMarks) {
    initCommand("zhdetail full", "", nothing, "Gives $x_1 @alpha$ at once.");
    initCommand("zhdetail quiet", "", nothing, "");
    printCommandDetails(matchComKey("zhdetail")->keywords, 1);
    EXPECT_EQ(out(), "  Full\n"
                     "             Gives x_1 alpha at once.\n"
                     "  Quiet\n");
}

TEST_F(InterpreterHelpTest, TexListingKeepsFormulasAndEscapesTheRest) {
    initCommand("zhtex show", "[zh_int n_max]", nothing,
                "Shows $x_1 @alpha$ and a_b with \"quotes\".");
    initCommand("zhtex bare", "", nothing, "");
    char path[1024] = "Zhtex ";
    printCommandTex(matchComKey("zhtex")->keywords, 1, path, path + 6);
    EXPECT_EQ(out(), "\\nextline\\leftline{\\ttquad\\tt > Zhtex Bare  }\n"
                     "\\nextline\\leftline{\\ttquad\\tt > Zhtex Show  [zh\\_int n\\_max]}\n"
                     "    Shows $x_1 \\alpha$ and a\\_b with ``quotes\".\n");
    char tex[64];
    CopyToTex(tex, "a^2 $b^2$ @c \"d\"");
    EXPECT_STREQ(tex, "a\\^2 $b^2$ \\c ``d\"");
}

TEST_F(InterpreterHelpTest, FindPrintsTheFullPathOfMatchingKeywords) {
    initCommand("zhfind outer zhuniquekeyword", "", nothing, "");
    initCommand("zhfind other", "", nothing, "");
    findCommandString(getRootCommand(), "UNIQUEKEYW", 0);
    EXPECT_EQ(out(), "Zhfind Outer Zhuniquekeyword \n");
}

TEST_F(InterpreterHelpTest, AproposSearchesHelpTextsToo) {
    initCommand("zhapropos item", "", nothing, "Finds the zhhelpmarker text.");
    aproposCommandString(getRootCommand(), "zhhelpmarker", 0);
    EXPECT_EQ(out(), "Zhapropos Item \n"
                     "   Description:  Finds the zhhelpmarker text.\n");
}

TEST_F(InterpreterHelpTest, HandlersListWithTheirResults) {
    char word[] = "zhnothingmatches";
    void* params[] = {word, nullptr};
    EXPECT_EQ(COM_find(params, 1), -1);
    EXPECT_EQ(COM_apropos(params, 1), -1);
    EXPECT_EQ(out(), "");
}

TEST_F(InterpreterHelpTest, DataTypeCells) {
    getConversion("zh_wide_type_name", makeConversionMethod(nullptr, 'c', "Wide"));
    char txt[128];
    Conversion* c = findConversion("zh_int");
    char* end = getDataTypeString(txt, c, 0, 0);
    EXPECT_STREQ(txt, "zh_int");
    EXPECT_EQ(end, txt + 6);
    getTypeDescriptionString(txt, c, 0, 0);
    EXPECT_STREQ(txt, "Listing test integer");
    EXPECT_GE(getDataTypeWidth(), 19);
    EXPECT_GE(getTypeDescriptionWidth(), 22);
}

} // namespace
