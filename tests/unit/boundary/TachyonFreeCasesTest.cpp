// The record of tachyon-free cases: a line per case appended to the extension's ".cases" file,
// the mode handed on to the model printer, and nothing at the start and end calls.
#include "boundary/TachyonFreeCases.h"

#include "CrossBoundTestHelpers.h"

#include "TestSupport.h"

#include "base/Defaults.h"
#include "base/Error.h"
#include "base/Parameters.h"
#include "modular/Invariants.h"
#include "modular/Modular.h"
#include "modular/ModularFileNames.h"
#include "tensor/Coset.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

namespace {

std::vector<int> printed;
void recordMode(int mode) {
    printed.push_back(mode);
}

class TachyonFreeCases : public boundarytest::BoundaryTest {
protected:
    void SetUp() override {
        BoundaryTest::SetUp();
        theory(1, 1, 10);
        printed.clear();
        setTachyonFreeModelPrinter(recordMode);
    }
    void TearDown() override {
        setTachyonFreeModelPrinter(nullptr);
        (*getCurrentBulk())->MD->MIPF_id = 0;
        assignExtensionNumber(getCurrentTensor(), -1);
        BoundaryTest::TearDown();
    }
    std::string casesText() {
        std::ifstream in(getCurrentOutputFileNameForExtension(".cases"));
        std::stringstream s;
        s << in.rdbuf();
        return s.str();
    }
    testsupport::TempOutputDir out;
};

TEST_F(TachyonFreeCases, StartAndEndWriteNothing) {
    EXPECT_EQ(registerTachyonFreeCase(-1), 0);
    EXPECT_EQ(registerTachyonFreeCase(2), 0);
    EXPECT_FALSE(std::filesystem::exists(getCurrentOutputFileNameForExtension(".cases")));
    EXPECT_TRUE(printed.empty());
}

TEST_F(TachyonFreeCases, EachCaseAppendsItsLine) {
    assignExtensionNumber(getCurrentTensor(), 5);
    (*getCurrentBulk())->MD->MIPF_id = 3;
    EXPECT_EQ(registerTachyonFreeCase(0), 1);
    (*getCurrentBulk())->MD->MIPF_id = 4;
    EXPECT_EQ(registerTachyonFreeCase(0), 1);
    EXPECT_EQ(casesText(), "Extension 5, MIPF 3 (oriented)\nExtension 5, MIPF 4 (oriented)\n");
    EXPECT_EQ(registerTachyonFreeCase(1), 1);
    EXPECT_NE(casesText().find("MIPF 4 (oriented)\nExtension 5,MIPF 4, orientifold "),
              std::string::npos);
    EXPECT_EQ(printed, (std::vector<int>{0, 0, 1}));
}

} // namespace
