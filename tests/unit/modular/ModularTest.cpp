// The current theory's name, central charge and spectrum table while a single building block is
// current. Central charges are checked against c = k dim(g) / (k + h).
#include "modular/Modular.h"
#include "base/Error.h"
#include "base/Output.h"
#include "base/Tables.h"
#include "store/Storemanager.h"
#include "tensor/Coset.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <cstring>
#include <string>

namespace {

// The cell of a test column: "<label>:<first Dynkin label>", for the block given as row object.
char* labelCell(char* txt, void* row, int lbl) {
    auto* sd = static_cast<SpectrumData*>(row);
    return txt + std::sprintf(txt, "%d:%d", lbl, SM_getRep(sd, lbl)[0]);
}

void defineSpectrumTable() {
    if (findTable("Spectrum"))
        return;
    initTable("Spectrum");
    addColumn("Spectrum",
              makeColumn("Fieldcell", "Label and first Dynkin label", 20, labelCell, nullptr));
}

class ModularBlockTest : public testing::Test {
protected:
    void SetUp() override {
        savedSwitch = getCosetMode();
        savedBlock = getCurrentSD();
        setCosetMode(0);
    }
    void TearDown() override {
        setCosetMode(savedSwitch);
        setCurrentSD(savedBlock);
    }
    static SpectrumData* use(int type, int rank, int level) {
        setCurrentSD(SM_getData(type, rank, level));
        EXPECT_NE(getCurrentSD(), nullptr);
        return getCurrentSD();
    }
    int savedSwitch = 0;
    SpectrumData* savedBlock = nullptr;
};

TEST_F(ModularBlockTest, NameAndCentralChargeOfTheCurrentBlock) {
    struct Case {
        int type, rank, level;
        double c;
    };
    // A1: 3k/(k+2); A2 level 1: 8/4; E8 level 1: 248/31; G2 level 1: 14/5; a free boson: 1.
    for (const Case& k : {Case{1, 1, 1, 1.0}, Case{1, 1, 2, 1.5}, Case{1, 2, 1, 2.0},
                          Case{5, 8, 1, 8.0}, Case{5, 2, 1, 2.8}, Case{0, 6, 0, 1.0}}) {
        SpectrumData* sd = use(k.type, k.rank, k.level);
        ASSERT_NE(sd, nullptr);
        EXPECT_STREQ(getCFTname(), SM_getAlgebraName(sd));
        EXPECT_NEAR(Central_Charge(), k.c, 1e-12) << getCFTname();
    }
}

// While a tensor product is current its code and central charge answer, not the block's: the
// Ising coset A1_1 x A1_1 / A1_2 has c = 1 + 1 - 3/2.
TEST_F(ModularBlockTest, NameAndCentralChargeOfTheCurrentTensorProduct) {
    use(1, 2, 1);
    setCosetMode(1);
    TensorProduct* TP = getCurrentTensor();
    resetCoset(TP);
    EXPECT_STREQ(getCFTname(), "");
    EXPECT_EQ(Central_Charge(), 0.0);
    addTensorFactor(TP, SM_getData(1, 1, 1), 0);
    addTensorFactor(TP, SM_getData(1, 1, 1), 0);
    addTensorFactor(TP, SM_getData(1, 1, 2), 1);
    EXPECT_STREQ(getCFTname(), "A1_1*A1_1*A1_2");
    EXPECT_DOUBLE_EQ(Central_Charge(), 0.5);
    resetCoset(TP);
}

class SpectrumPrintTest : public ModularBlockTest {
protected:
    void SetUp() override {
        ModularBlockTest::SetUp();
        defineSpectrumTable();
        wasOn = OutputStatus();
        // SU(2) level 3: fields 0 to 3, with first Dynkin labels 0 to 3 in some order.
        use(1, 1, 3);
    }
    void TearDown() override {
        setOutputFile(nullptr);
        if (wasOn)
            TerminalOutputOn();
        else
            TerminalOutputOff();
        ModularBlockTest::TearDown();
    }
    static std::string row(int lbl) {
        return std::to_string(lbl) + ":" + std::to_string(SM_getRep(getCurrentSD(), lbl)[0]);
    }
    static std::string fileText(FILE* f) {
        std::fflush(f);
        std::rewind(f);
        std::string text;
        for (int c; (c = std::fgetc(f)) != EOF;)
            text += static_cast<char>(c);
        return text;
    }
    int wasOn = 0;
};

TEST_F(SpectrumPrintTest, HeaderOnlyOnTheFirstChunk) {
    TerminalOutputOn();
    testing::internal::CaptureStdout();
    printSpectrum(0, 2, 0);
    const std::string first = testing::internal::GetCapturedStdout();
    testing::internal::CaptureStdout();
    printSpectrum(2, 4, 1);
    const std::string second = testing::internal::GetCapturedStdout();
    EXPECT_NE(first.find("Fieldcell"), std::string::npos) << first;
    EXPECT_NE(first.find(row(0)), std::string::npos) << first;
    EXPECT_NE(first.find(row(1)), std::string::npos) << first;
    EXPECT_EQ(first.find(row(2)), std::string::npos) << first;
    EXPECT_EQ(second.find("Fieldcell"), std::string::npos) << second;
    EXPECT_NE(second.find(row(2)), std::string::npos) << second;
    EXPECT_NE(second.find(row(3)), std::string::npos) << second;
}

TEST_F(SpectrumPrintTest, OutputFileGetsTheSameRows) {
    FILE* f = std::tmpfile();
    ASSERT_NE(f, nullptr);
    setOutputFile(f);
    TerminalOutputOn();
    testing::internal::CaptureStdout();
    printSpectrum(1, 3, 1);
    const std::string terminal = testing::internal::GetCapturedStdout();
    EXPECT_EQ(fileText(f), terminal);
    setOutputFile(nullptr); // closes it
}

// With the terminal off there is no print to repeat: the file gets its rows made afresh, not the
// text of whatever table was printed last.
TEST_F(SpectrumPrintTest, OutputFileAloneGetsItsOwnRows) {
    TerminalOutputOn();
    testing::internal::CaptureStdout();
    printSpectrum(0, 1, 0);
    testing::internal::GetCapturedStdout();
    FILE* f = std::tmpfile();
    ASSERT_NE(f, nullptr);
    setOutputFile(f);
    TerminalOutputOff();
    testing::internal::CaptureStdout();
    printSpectrum(2, 4, 1);
    EXPECT_EQ(testing::internal::GetCapturedStdout(), "");
    const std::string text = fileText(f);
    EXPECT_NE(text.find(row(2)), std::string::npos) << text;
    EXPECT_NE(text.find(row(3)), std::string::npos) << text;
    EXPECT_EQ(text.find(row(0)), std::string::npos) << text;
    setOutputFile(nullptr); // closes it
}

TEST_F(SpectrumPrintTest, OnceToAStreamWithoutHeader) {
    FILE* f = std::tmpfile();
    ASSERT_NE(f, nullptr);
    MOD_printSpectrum(0, 2, f);
    const std::string text = fileText(f);
    std::fclose(f);
    EXPECT_EQ(text.find("Fieldcell"), std::string::npos) << text;
    EXPECT_NE(text.find(row(0)), std::string::npos) << text;
    EXPECT_NE(text.find(row(1)), std::string::npos) << text;
}

} // namespace
