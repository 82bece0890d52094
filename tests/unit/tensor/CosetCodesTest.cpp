// The names of a product: its code, the identifier made of its levels, and the lines that
// rebuild it.
#include "TensorTestHelpers.h"

#include "tensor/Coset.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <cstdio>
#include <string>
#include <vector>

using namespace tensortest;

namespace {

SpectrumData* madeUpKind(int type, int rank, int level) {
    SpectrumData* sd = allocateSpectrumData(
        ("kind " + std::to_string(type) + " " + std::to_string(rank) + " " + std::to_string(level))
            .c_str());
    sd->type = type;
    sd->rank = rank;
    sd->level = level;
    // An empty record must not stand in for a real block of that kind in later lookups.
    SM_discardCFT(sd);
    return sd;
}

std::string fileText(void (*write)(TensorProduct*, FILE*), TensorProduct* TP) {
    FILE* f = std::tmpfile();
    write(TP, f);
    std::rewind(f);
    std::string text;
    for (int c; (c = std::fgetc(f)) != EOF;)
        text += static_cast<char>(c);
    std::fclose(f);
    return text;
}

TEST_F(TensorTest, CodeOfTheFactors) {
    addTensorFactor(TP, block(1, 1, 3), 0);
    EXPECT_STREQ(getTensorCode(TP), "A1_3");
    addTensorFactor(TP, block(4, 4, 1), 1);
    EXPECT_STREQ(getTensorCode(TP), "A1_3*D4_1");
    EXPECT_STREQ(getCurrentTensorFileName("/out/", "N", ".x"), "/out/NA1_3*D4_1.x");
}

// In superstring mode the first factors (the space-time part) are left out and minimal models
// appear by their levels alone.
TEST_F(TensorTest, SuperstringCode) {
    setIntPar("Super", 1);
    addFactors(TP, {block(4, 5, 1), block(0, 4, 0), madeUpKind(27, 2, 3), madeUpKind(27, 2, 3)});
    EXPECT_STREQ(getTensorCode(TP), "D33");
    resetCoset(TP);
    addFactors(TP, {block(4, 5, 1), madeUpKind(6, 0, 1), madeUpKind(9, 2, 1), block(1, 1, 2),
                    madeUpKind(6, 2, 4)});
    EXPECT_STREQ(getTensorCode(TP), "ICFT*A1_2*4");
    setIntPar("Heterotic factors", 5);
    EXPECT_STREQ(getTensorCode(TP), "");
    setIntPar("Heterotic factors", 2);
    EXPECT_STREQ(getTensorCode(TP), "CFT*A1_2*4");
}

TEST_F(TensorTest, FileIdentifierFromTheLevels) {
    struct Case {
        std::vector<int> levels;
        std::int64_t id;
    } cases[] = {
        {{}, 0},
        {{5}, 0},
        {{1, 3, 3, 3}, 333},
        {{1, 1, 16, 16}, 11616},
        {{2, 250, 7}, 2507},
        // Beyond 32 bits, exactly.
        {{1, 100, 100, 100, 100, 100, 100}, 100100100100100100LL},
    };
    for (const Case& c : cases) {
        resetCoset(TP);
        for (int k : c.levels)
            addTensorFactor(TP, block(1, 1, k), 0);
        EXPECT_EQ(fileIdentifier(), c.id);
    }
    addTensorFactor(TP, block(1, 1, 1), 0);
    Captured cap;
    EXPECT_EQ(fileIdentifier(), -1);
    EXPECT_TRUE(has(cap.err(), "more than 18 digits")) << cap.err();
}

TEST_F(TensorTest, FactorListAsOneNumber) {
    struct Case {
        std::vector<int> list;
        std::int64_t value;
    } cases[] = {
        {{}, 0},
        {{4, 4, 10, 10}, 441010},
        {{123456789, 123456789}, 123456789123456789LL},
        {{1234567890, 123456789}, -1},
        {{1, -3}, -1},
    };
    for (const Case& c : cases) {
        Captured cap;
        EXPECT_EQ(convertFactorList(static_cast<int>(c.list.size()), c.list.data()), c.value);
        EXPECT_EQ(cap.err().empty(), c.value >= 0) << cap.err();
    }
}

TEST_F(TensorTest, ReplayableDescription) {
    SpectrumData* k2 = block(1, 1, 2);
    addTensorFactor(TP, k2, 0);
    addTensorFactor(TP, k2, 0);
    addTensorFactor(TP, block(0, 4, 0), 1);
    const std::vector<int> J{1, 1, 0};
    ASSERT_EQ(addNewCurrent(TP, J.data()), 0);
    const std::string expected = "tensor\nG A 1 2\nG A 1 2\nH U 4\ncurrent 1 1 0 \n";
    Captured cap;
    printTensorData(TP);
    EXPECT_EQ(cap.out(), expected);
    EXPECT_EQ(fileText(writeCosetCommands, TP), expected);
    EXPECT_EQ(fileText([](TensorProduct*, FILE* f) { writeCurrents(f); }, TP), "current 1 1 0 \n");
}

TEST_F(TensorTest, SpectrumHeader) {
    SpectrumData* k2 = block(1, 1, 2);
    SpectrumData* d4 = block(4, 4, 1);
    addFactors(TP, {k2, d4});
    const std::string factors = "Spectrum of the tensor product of \n"
                                "         A1 level 2   \n"
                                "         D4 level 1   \n";
    EXPECT_EQ(fileText(printCosetHeader, nullptr), factors);
    // The D4 current 2 is the vector, of weight 1/2 like the A1_2 current.
    ASSERT_DOUBLE_EQ(SM_realWeight(d4, 2), 0.5);
    const std::vector<int> J{1, 2};
    ASSERT_EQ(addNewCurrent(TP, J.data()), 0);
    EXPECT_EQ(fileText(printCosetHeader, TP), factors + "\nWith simple currents \n      (1,v)\n");
}

} // namespace
