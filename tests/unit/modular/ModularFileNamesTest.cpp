// Output file names of the current theory, by the rule of their steps: the prefix rules, the
// theory part of a block and of a tensor product, the extension or supersymmetry part, the width
// of the invariant number, the boundary-range tag, the directories made and the "/tmp" fallback.
#include "modular/ModularFileNames.h"

#include "InvariantsTestHelpers.h"
#include "ModularTestHelpers.h"
#include "TestSupport.h"
#include "base/Defaults.h"
#include "base/Error.h"
#include "base/Output.h"
#include "base/Parameters.h"
#include "modular/Invariants.h"
#include "modular/Modular.h"
#include "store/Storemanager.h"
#include "tensor/Coset.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>
#include <system_error>
#include <unistd.h>

namespace {

namespace fs = std::filesystem;
using testsupport::contains;

void setText(const char* parameter, const std::string& value) {
    changeDefault(findInternalParameter(parameter)->DF, value.c_str());
}

class FileNames : public testing::Test {
protected:
    void SetUp() override {
        modulartest::registerModularParameters();
        invtest::registerParameters();
        flushErrors();
        unbufferErrors();
        resetInvariantStore();
        resetCurrentBulkToDiagonal();
        modulartest::useBlock(1, 1, 10);
    }
    void TearDown() override {
        setBoundaryLimitString(-1, 0);
        setSusySearch(1);
        (*getCurrentBulk())->MD->MIPF_id = 0;
        resetInvariantStore();
        TensorProduct* TP = getCurrentTensor();
        resetCoset(TP);
        setCosetMode(0);
        setCurrentTotals(nullptr, nullptr);
        initializeAlgebra();
        CFTChanged();
    }
    // The name relative to the output directory.
    std::string name(const char* postfix) {
        const std::string full = getCurrentOutputFileName(postfix);
        EXPECT_EQ(full.rfind(out.path() + "/", 0), 0u) << full;
        return full.substr(out.path().size() + 1);
    }
    std::string extensionName(const char* postfix) {
        const std::string full = getCurrentOutputFileNameForExtension(postfix);
        EXPECT_EQ(full.rfind(out.path() + "/", 0), 0u) << full;
        return full.substr(out.path().size() + 1);
    }
    static void setInvariant(int identifier) { (*getCurrentBulk())->MD->MIPF_id = identifier; }
    // The count of automatic names stands for the number of stored invariants.
    static void storedInvariants(int count) {
        resetInvariantStore();
        for (int k = 0; k < count; k++)
            assignName();
        ASSERT_EQ(TotalInvariants(), count);
    }
    static void useProduct(int extension) {
        TensorProduct* TP = getCurrentTensor();
        resetCoset(TP);
        addTensorFactor(TP, SM_getData(1, 1, 2), 0);
        addTensorFactor(TP, SM_getData(1, 1, 2), 0);
        assignExtensionNumber(TP, extension);
        setCosetMode(1);
    }
    testsupport::TempOutputDir out;
};

// ---- The rule, row by row ----

struct NameCase {
    const char* label;
    const char* prefix;
    int susy;
    int invariant;
    int stored;
    const char* tag; // "" or "a:b"
    const char* postfix;
    const char* expected; // relative to the output directory
};

const NameCase blockCases[] = {
    {"DefaultPrefix", "N", 1, 0, 1, "", ".finish", "N_AlgebraA1_level_10/Susy_MIPF__000.finish"},
    {"EmptyPrefix", "", 1, 0, 1, "", ".stat", "AlgebraA1_level_10/Susy_MIPF__000.stat"},
    {"OneCharacterPrefix", "X", 1, 0, 1, "", ".stat", "X_AlgebraA1_level_10/Susy_MIPF__000.stat"},
    {"LongerPrefix", "runs", 1, 0, 1, "", ".stat", "runs/AlgebraA1_level_10/Susy_MIPF__000.stat"},
    {"PrefixWithSlash", "runs/x", 1, 0, 1, "", ".stat", "runs/x_000.stat"},
    {"PrefixAB", "a/b", 1, 7, 1, "", ".hsol", "a/b_007.hsol"},
    {"NonSusy", "N", 0, 7, 1, "", ".stat", "N_AlgebraA1_level_10/NonSusy_MIPF__007.stat"},
    {"ThreeDigits", "N", 1, 42, 12, "", ".stat", "N_AlgebraA1_level_10/Susy_MIPF__042.stat"},
    {"BeyondThreeDigits", "N", 1, 1234, 12, "", "", "N_AlgebraA1_level_10/Susy_MIPF__1234"},
    {"FiveWith12Stored", "N", 1, 5, 12, "", ".stat", "N_AlgebraA1_level_10/Susy_MIPF__005.stat"},
    {"FiveWith999Stored", "N", 1, 5, 999, "", ".stat", "N_AlgebraA1_level_10/Susy_MIPF__005.stat"},
    {"FiveWith1000Stored", "N", 1, 5, 1000, "", ".stat",
     "N_AlgebraA1_level_10/Susy_MIPF__0005.stat"},
    {"FiveWith1200Stored", "N", 1, 5, 1200, "", ".stat",
     "N_AlgebraA1_level_10/Susy_MIPF__0005.stat"},
    {"ThousandWith1200Stored", "N", 1, 1000, 1200, "", ".stat",
     "N_AlgebraA1_level_10/Susy_MIPF__1000.stat"},
    {"BoundaryTag", "N", 1, 3, 1, "3:17", ".models",
     "N_AlgebraA1_level_10/Susy_MIPF__003[3:17].models"},
    {"TagAfterSlashPrefix", "runs/x", 1, 3, 1, "0:12", ".stat", "runs/x_003[0:12].stat"},
};

class BlockNames : public FileNames, public testing::WithParamInterface<NameCase> {};

TEST_P(BlockNames, FollowTheSteps) {
    const NameCase& c = GetParam();
    setText("OutputFilePrefix", c.prefix);
    setSusySearch(c.susy);
    storedInvariants(c.stored);
    setInvariant(c.invariant);
    const std::string tag = c.tag;
    if (tag.empty())
        setBoundaryLimitString(-1, 0);
    else
        setBoundaryLimitString(std::atoi(tag.c_str()), std::atoi(tag.c_str() + tag.find(':') + 1));
    const std::string got = name(c.postfix);
    EXPECT_EQ(got, c.expected);
    // The directory of the file is there to write into.
    const fs::path file = out.path() + "/" + got;
    EXPECT_TRUE(fs::is_directory(file.parent_path())) << file;
}

INSTANTIATE_TEST_SUITE_P(Rule, BlockNames, testing::ValuesIn(blockCases),
                         [](const testing::TestParamInfo<NameCase>& info) {
                             return std::string(info.param.label);
                         });

// ---- Tensor products ----

TEST_F(FileNames, ProductWithExtensionNumber) {
    useProduct(3);
    EXPECT_EQ(name(".finish"), "N_TensorA1_2*A1_2/Ext3_000.finish");
    setText("OutputFilePrefix", "runs");
    setInvariant(7);
    EXPECT_EQ(name(".stat"), "runs/TensorA1_2*A1_2/Ext3_007.stat");
}

// Extension 0 is a number like any other; the supersymmetry flag is not read then.
TEST_F(FileNames, ExtensionZeroReplacesTheSupersymmetryPart) {
    useProduct(0);
    setSusySearch(0);
    EXPECT_EQ(name(".stat"), "N_TensorA1_2*A1_2/Ext0_000.stat");
}

TEST_F(FileNames, ProductWithoutExtension) {
    useProduct(-1);
    EXPECT_EQ(name(".stat"), "N_TensorA1_2*A1_2/Susy_MIPF__000.stat");
    setSusySearch(0);
    EXPECT_EQ(name(".stat"), "N_TensorA1_2*A1_2/NonSusy_MIPF__000.stat");
}

// A block has no extension number, whatever the product holds.
TEST_F(FileNames, BlockIgnoresTheProductsExtension) {
    useProduct(3);
    setCosetMode(0);
    EXPECT_EQ(name(".stat"), "N_AlgebraA1_level_10/Susy_MIPF__000.stat");
}

// ---- The extension variant ----

TEST_F(FileNames, ExtensionVariantHasNoInvariantNumber) {
    useProduct(3);
    setInvariant(7);
    EXPECT_EQ(extensionName(".cases"), "N_TensorA1_2*A1_2/Ext3.cases");
    setBoundaryLimitString(3, 17);
    EXPECT_EQ(extensionName(".cases"), "N_TensorA1_2*A1_2/Ext3[3:17].cases");
    setText("OutputFilePrefix", "runs/x");
    EXPECT_EQ(extensionName(".cases"), "runs/x[3:17].cases");
    setBoundaryLimitString(-1, 0);
    setText("OutputFilePrefix", "X");
    setSusySearch(0);
    useProduct(-1);
    EXPECT_EQ(extensionName(".cases"), "X_TensorA1_2*A1_2/NonSusy_MIPF_.cases");
}

// Each function has buffers of its own: a name of one survives a call of the other.
TEST_F(FileNames, EachFunctionKeepsItsOwnBuffer) {
    const char* plain = getCurrentOutputFileName(".a");
    const std::string kept = plain;
    getCurrentOutputFileNameForExtension(".b");
    EXPECT_EQ(std::string(plain), kept);
}

// ---- Parameters read afresh ----

TEST_F(FileNames, FollowsOutputDirAtOnce) {
    testsupport::TempDir other{"names2"};
    setText("OutputDir", other.path() + "/deeper/");
    EXPECT_EQ(std::string(getCurrentOutputFileName(".x")),
              other.path() + "/deeper/N_AlgebraA1_level_10/Susy_MIPF__000.x");
    EXPECT_TRUE(fs::is_directory(other.path() + "/deeper/N_AlgebraA1_level_10"));
}

// "OutputFilePostfix" is registered and saved beside the prefix, but no name reads it.
TEST_F(FileNames, PostfixParameterIsNotRead) {
    if (!findInternalParameter("OutputFilePostfix"))
        addInternalParameter("OutputFilePostfix", "", 's', 1);
    setText("OutputFilePostfix", ".zz");
    EXPECT_EQ(name(".stat"), "N_AlgebraA1_level_10/Susy_MIPF__000.stat");
    EXPECT_EQ(extensionName(".cases"), "N_AlgebraA1_level_10/Susy_MIPF_.cases");
    setText("OutputFilePostfix", "");
}

// ---- The boundary-range tag ----

TEST_F(FileNames, BoundaryLimitString) {
    setBoundaryLimitString(3, 17);
    EXPECT_STREQ(getBoundaryLimitString(), "[3:17]");
    setBoundaryLimitString(0, 12);
    EXPECT_STREQ(getBoundaryLimitString(), "[0:12]");
    setBoundaryLimitString(-1, 12);
    EXPECT_STREQ(getBoundaryLimitString(), "");
}

TEST_F(FileNames, SusySearchStartsOn) {
    EXPECT_EQ(getSusySearch(), 1);
}

// ---- The fallback ----

// No directory can be made below a plain file: one alert, then "/tmp/" and the base name.
TEST_F(FileNames, UncreatableDirectoryFallsBackToTmp) {
    const std::string blocker = out.path() + "/file";
    std::ofstream(blocker) << "x";
    setText("OutputDir", blocker + "/below");
    const int before = getError("getCurrentOutputFileName", 0)->count;
    const int createBefore = getError("createDir", 0)->count;
    std::string got, ext;
    testsupport::Captured cap;
    got = getCurrentOutputFileName(".finish");
    EXPECT_EQ(getError("getCurrentOutputFileName", 0)->count, before + 1);
    ext = getCurrentOutputFileNameForExtension(".cases");
    EXPECT_EQ(getError("getCurrentOutputFileName", 0)->count, before + 2);
    EXPECT_EQ(getError("createDir", 0)->count, createBefore);
    const std::string reports = cap.err() + cap.out();
    EXPECT_EQ(got, "/tmp/Susy_MIPF__000.finish");
    EXPECT_EQ(ext, "/tmp/Susy_MIPF_.cases");
    const std::string directory = blocker + "/below/N_AlgebraA1_level_10/";
    const std::string alert = "Cannot write file " + directory + "Susy_MIPF__000.finish to " +
                              "directory " + directory + "; writing to /tmp instead";
    EXPECT_TRUE(contains(reports, alert)) << reports;
    EXPECT_FALSE(fs::exists(blocker + "/below"));
}

// In a background run the alert's severity would end the run before the fallback: there it is
// reported on the error output and the run goes on.
void fallBackInBackground(const std::string& blocked) {
    // The error output of a background run is standard output; the death test reads stderr.
    dup2(STDERR_FILENO, STDOUT_FILENO);
    setBackground(1);
    const std::string got = getCurrentOutputFileName(".stat");
    std::fflush(stdout);
    const bool fellBack =
        got == "/tmp/Susy_MIPF__000.stat" && !fs::exists(blocked + "/N_AlgebraA1_level_10");
    // The child runs the test from its start and leaves through exit, past the fixture's
    // clean-up: it removes the output folder it made itself.
    std::error_code ec;
    fs::remove_all(fs::path(blocked).parent_path(), ec);
    std::exit(fellBack ? 0 : 1);
}

TEST_F(FileNames, BackgroundRunReportsAndFallsBack) {
    GTEST_FLAG_SET(death_test_style, "threadsafe");
    const std::string blocker = out.path() + "/file";
    std::ofstream(blocker) << "x";
    setText("OutputDir", blocker);
    EXPECT_EXIT(fallBackInBackground(blocker), testing::ExitedWithCode(0),
                "Cannot write file .*/file/N_AlgebraA1_level_10/Susy_MIPF__000.stat to directory "
                ".*; writing to /tmp instead");
}

} // namespace
