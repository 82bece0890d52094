// Registration of the built-in commands and the parameter commands, through typed lines. The
// parameters of these tests have names of their own (beginning with "zp").
#include "interpreter/IntCommands.h"

#include "base/Defaults.h"
#include "base/Error.h"
#include "base/Output.h"
#include "interpreter/Evaluator.h"

#include "InterpreterTestHelpers.h"
#include "TestSupport.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <sstream>
#include <string>
#include <unistd.h>
#include <vector>

namespace {

class ParameterCommandTest : public interptest::CommandLineTest {};

CommandType* command(const char* words) {
    return matchComKey(words);
}

std::vector<std::string> seen;

int recordWord(void** params, int parnum) {
    seen.emplace_back(static_cast<const char*>(params[0]));
    return -parnum;
}

TEST_F(ParameterCommandTest, SwitchSetAndShow) {
    addParameter("zp_switch", "OFF", "switch", "test switching", 0);
    EXPECT_EQ(run("show zp_switch"), "OFF\n");
    EXPECT_EQ(run("set zp_switch;show zp_switch"), "ON\n");
    EXPECT_EQ(run("set zp_switch off;show zp_switch"), "OFF\n");
    EXPECT_EQ(run("set zp_switch On;show zp_switch"), "ON\n");
    testing::internal::CaptureStderr();
    EXPECT_EQ(run("set zp_switch yes;show zp_switch"), "");
    EXPECT_NE(testing::internal::GetCapturedStderr().find("Parameter (yes) must be ON or OFF"),
              std::string::npos);
    EXPECT_EQ(run("show zp_switch"), "ON\n");
    findInternalParameter("zp_switch")->value = 2;
    EXPECT_EQ(run("show zp_switch"), "Undefined\n");
}

// A switch whose "set" word already stands as a keyword group, as when "set orientifold
// info_level" is declared before the switch "set orientifold".
TEST_F(ParameterCommandTest, SwitchAfterItsKeywordGroup) {
    addParameter("Zporient info_level", "0", "int", "orient info level", 0);
    addParameter("Zporient", "ON", "switch", "orient test", 0);
    EXPECT_EQ(run("set zporient off;show zporient"), "OFF\n");
    EXPECT_EQ(run("set zporient;show zporient"), "ON\n");
    EXPECT_EQ(run("set zporient info_level 3;show zporient info_level"), "3\n");
    EXPECT_EQ(run("show zporient"), "ON\n");
}

TEST_F(ParameterCommandTest, IntegerParameterCommands) {
    addParameter("Zpmaxrank", "8", "non_neg_int", "maximal rank", 0);
    CommandType* set = command("set zpmaxrank");
    ASSERT_NE(set, nullptr);
    EXPECT_STREQ(set->parms, "[non_neg_int value]");
    EXPECT_STREQ(set->help, "    Set maximal rank");
    CommandType* show = command("show zpmaxrank");
    ASSERT_NE(show, nullptr);
    EXPECT_STREQ(show->help, "    Show maximal rank");
    EXPECT_EQ(run("show zpmaxrank"), "8\n");
    EXPECT_EQ(run("set zpmaxrank 0;show zpmaxrank"), "0\n");
    testing::internal::CaptureStderr();
    run("set zpmaxrank -1");
    EXPECT_NE(testing::internal::GetCapturedStderr().find("Parameter (-1) must be positive"),
              std::string::npos);
    EXPECT_GT(rc, 0);
    EXPECT_EQ(run("show zpmaxrank"), "0\n");
}

TEST_F(ParameterCommandTest, ConversionLimits) {
    struct Case {
        const char* type;
        const char* word;
        int rc;
        int value;
    };
    const std::vector<Case> cases = {
        {"pos_int", "1", 0, 1},      {"pos_int", "0", 1, 0},  {"non_neg_int", "0", 0, 0},
        {"non_neg_int", "-1", 1, 0}, {"sign", "-1", 0, -1},   {"sign", "2-1", 0, 1},
        {"sign", "0", 1, 0},         {"int", "-7*3", 0, -21}, {"switch", "OFF", 0, 0},
        {"switch", "on", 0, 1},      {"switch", "onn", 1, 0},
    };
    for (const Case& c : cases) {
        Conversion* type = findConversion(c.type);
        ASSERT_NE(type, nullptr) << c.type;
        std::string word = c.word;
        ConversionResult* r = type->conv->conversion(word.data(), 0);
        EXPECT_EQ(r->rc, c.rc) << c.type << " " << c.word;
        if (c.rc == 0) {
            EXPECT_EQ(r->value, c.value) << c.type << " " << c.word;
        }
    }
    Conversion* id = findConversion("id");
    ASSERT_NE(id, nullptr);
    EXPECT_EQ(id->conv->conversion, nullptr);
    EXPECT_EQ(id->conv->type, 'c');
}

TEST_F(ParameterCommandTest, StringParameter) {
    addParameter("ZpOutputDir", "/tmp/zp_a", nullptr, "output directory", 1);
    CommandType* set = command("set zpoutputdir");
    ASSERT_NE(set, nullptr);
    EXPECT_STREQ(set->parms, "[string]");
    EXPECT_STREQ(set->help, "    Set output directory");
    EXPECT_EQ(run("show zpoutputdir"), "/tmp/zp_a\n");
    EXPECT_EQ(run("set zpoutputdir /tmp/zp_b;show zpoutputdir"), "/tmp/zp_b\n");
    EXPECT_STREQ(getDefault("ZpOutputDir"), "/tmp/zp_b");
}

TEST_F(ParameterCommandTest, SavePreferencesWritesTheDefaultsFile) {
    const testsupport::TempHome tempHome("zp_home");
    const std::string& home = tempHome.path();
    setDefaultFile("Tarvik6");
    addParameter("ZpSaved", "7", "int", "saved number", 1);
    addParameter("ZpSavedSwitch", "OFF", "switch", "saved switch", 1);
    run("set zpsaved 3*4;set zpsavedswitch on;save preferences");
    EXPECT_EQ(rc, 0);
    const std::string file = home + "/.Defaults/Tarvik6";
    EXPECT_EQ(run("show default_file"), file + "\n");
    std::ifstream in(file);
    std::stringstream text;
    text << in.rdbuf();
    EXPECT_NE(text.str().find("\"ZpSaved\" \"12\"\n"), std::string::npos);
    EXPECT_NE(text.str().find("\"ZpSavedSwitch\" \"ON\"\n"), std::string::npos);
}

TEST_F(ParameterCommandTest, InterpreterSwitchesAreDeclared) {
    for (const char* name : {"echo", "math", "error_trace", "log", "error_log", "interactive"}) {
        InternalParameter* ip = findInternalParameter(name);
        ASSERT_NE(ip, nullptr) << name;
        EXPECT_EQ(ip->type, 't') << name;
        ASSERT_NE(command((std::string("set ") + name).c_str()), nullptr) << name;
    }
    CommandType* echo = command("set echo");
    EXPECT_STREQ(echo->parms, "(switch ON/OFF)");
    EXPECT_STREQ(echo->help, "    Switch command echoing");
    EXPECT_STREQ(command("show echo")->help, "    Show setting of command echoing");
}

TEST_F(ParameterCommandTest, SecondInitializationRegistersNothing) {
    int before = 0;
    int maxlen = 0;
    countCommands(getRootCommand(), &before, &maxlen);
    initializeGeneralCommands();
    int after = 0;
    countCommands(getRootCommand(), &after, &maxlen);
    EXPECT_EQ(before, after);
}

TEST_F(ParameterCommandTest, BuiltInCommandsAndTheirSettings) {
    for (const char* words : {"verify",
                              "repeat",
                              "help",
                              "commands tex",
                              "apropos",
                              "set debug level",
                              "set enable_sub",
                              "continue",
                              "free all",
                              "file off",
                              "terminal on",
                              "system",
                              "status memory more_detail",
                              "status definitions",
                              "save preferences",
                              "global",
                              "while",
                              "break",
                              "procedure",
                              "return",
                              "extract",
                              "undefine",
                              "table set_space",
                              "time",
                              "browse datatypes",
                              "background"}) {
        CommandType* ct = command(words);
        ASSERT_NE(ct, nullptr) << words;
        EXPECT_NE(ct->exec, nullptr) << words;
        EXPECT_EQ(ct->mode, getDefaultMode()) << words;
    }
    EXPECT_EQ(command("set")->exec, nullptr);
    EXPECT_EQ(command("set debug")->internal, 1);
    EXPECT_EQ(command("file")->exec, command("file on")->exec);
    EXPECT_EQ(command("terminal")->exec, command("terminal on")->exec);
    for (const char* words : {"evaluate", "float", "print", "execute", "return", "help", "free",
                              "free macros", "free variable"})
        EXPECT_EQ(command(words)->allowSubstitution, 0) << words;
    EXPECT_EQ(command("extract")->allowSubstitution, 1);
    EXPECT_EQ(command("define")->helpexec, HLP_undefine);
    EXPECT_EQ(command("set disable_sub")->helpexec, HLP_enable_sub);
    EXPECT_STREQ(command("terminal")->parms, "");
    EXPECT_STREQ(command("repeat")->parms, "[pos_int count][commandline]");
}

TEST_F(ParameterCommandTest, SubstitutionCanBeSwitched) {
    initCommand("zpsub", "[word]", recordWord, "");
    seen.clear();
    run("zpv=hello;zpsub zpv");
    run("set disable_sub zpsub;zpsub zpv");
    run("set enable_sub ZPSUB;zpsub zpv");
    EXPECT_EQ(seen, (std::vector<std::string>{"hello", "zpv", "hello"}));
    testing::internal::CaptureStderr();
    run("set enable_sub zpnosuch");
    EXPECT_NE(testing::internal::GetCapturedStderr().find("Command zpnosuch not found"),
              std::string::npos);
    EXPECT_EQ(rc, 1);
}

TEST_F(ParameterCommandTest, TablesOfTypesAndParameters) {
    const std::string types = run("browse datatypes");
    EXPECT_NE(types.find("pos_int"), std::string::npos);
    EXPECT_NE(types.find("Positive integer"), std::string::npos);
    EXPECT_NE(types.find("Sign (+1 or -1)"), std::string::npos);
    addParameter("zp_listed", "5", "int", "listed", 1);
    const std::string params = run("status parameters");
    EXPECT_EQ(params.rfind("Parameters labelled with \"(*)\" are in default data base\n", 0), 0u);
    const std::size_t row = params.find("zp_listed");
    ASSERT_NE(row, std::string::npos);
    const std::string line = params.substr(row, params.find('\n', row) - row);
    EXPECT_NE(line.find('5'), std::string::npos);
    EXPECT_NE(line.find("(*)"), std::string::npos);
    const std::string prefs = run("status preferences");
    EXPECT_NE(prefs.find("zp_listed"), std::string::npos);
}

} // namespace
