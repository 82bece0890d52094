// Higher indices found from fusion, on su(3), whose indices of order 2 and 3 have closed forms:
// for the weight (p,q), dim = (p+1)(q+1)(p+q+2)/2, I2 = dim (p^2+q^2+pq+3p+3q)/12 and
// I3 = (p-q)(p+2q+3)(2p+q+3)(p+1)(q+1)(p+q+2)/120, normalised to 1 on the triplet (1,0).
#include "modular/Modular.h"

#include "ModularTestHelpers.h"
#include "TestSupport.h"
#include "base/StringUtility.h"
#include "tensor/Coset.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

namespace {

using modulartest::fieldOf;
using modulartest::reportsOf;
using modulartest::useBlock;
using testsupport::contains;

struct Su3Indices {
    long long dim, I2, I3;
};

Su3Indices su3(int p, int q) {
    const long long dim = (p + 1LL) * (q + 1) * (p + q + 2) / 2;
    return {dim, dim * (p * p + q * q + p * q + 3 * p + 3 * q) / 12,
            (p - q) * (p + 2LL * q + 3) * (2 * p + q + 3) * (p + 1) * (q + 1) * (p + q + 2) / 120};
}

std::string readFile(const std::string& name) {
    std::ifstream in(name);
    std::stringstream text;
    text << in.rdbuf();
    return text.str();
}

std::string record(int p, int q, const Su3Indices& x) {
    return std::to_string(p) + " " + std::to_string(q) + " \n" + std::to_string(x.dim) + "\n" +
           std::to_string(x.I2) + "\n" + std::to_string(x.I3) + "\n";
}

class IndicesFromFusion : public testing::Test {
protected:
    void SetUp() override {
        modulartest::registerModularParameters();
        library = home.path() + "/Library/Tarvik";
        std::filesystem::create_directories(library);
    }
    void TearDown() override {
        for (SpectrumData* sd : used)
            SM_resetIndices(sd);
        setCosetMode(0);
    }
    // su(3) at the level, current, with the index file holding the fields the test keeps (with
    // their closed-form indices, or the changed ones).
    SpectrumData* su3AtLevel(int level, bool (*keep)(int p, int q),
                             Su3Indices (*indices)(int p, int q) = su3) {
        SpectrumData* sd = useBlock(1, 2, level);
        SM_resetIndices(sd);
        used.push_back(sd);
        std::string text;
        for (int p = 0; p <= level; p++)
            for (int q = 0; p + q <= level; q++)
                if (keep(p, q))
                    text += record(p, q, indices(p, q));
        std::ofstream(indexFile()) << text;
        std::remove(characterFile().c_str());
        return sd;
    }
    std::string indexFile() const { return library + "/A2_indices"; }
    std::string characterFile() const { return library + "/A2_characters"; }
    static void expectIndices(SpectrumData* sd, int p, int q) {
        const int f = fieldOf(sd, {p, q});
        const Su3Indices x = su3(p, q);
        const lint* const* row = sd->Indices + f * 3;
        ASSERT_NE(row[1], nullptr) << p << "," << q;
        EXPECT_EQ(std::string(lint_string(row[1])), std::to_string(x.I2)) << p << "," << q;
        EXPECT_EQ(std::string(lint_string(row[2])), std::to_string(x.I3)) << p << "," << q;
    }

    testsupport::TempHome home{"indices"};
    std::string library;
    std::vector<SpectrumData*> used;
};

// The file the store writes holds the trivial and fundamental weights; fusion finds the other
// seven fields of level 3 and appends them.
TEST_F(IndicesFromFusion, Su3LevelThreeFromTheFundamentals) {
    SpectrumData* sd = useBlock(1, 2, 3);
    SM_resetIndices(sd);
    used.push_back(sd);
    std::remove(indexFile().c_str());
    std::remove(characterFile().c_str());
    const std::string out = testsupport::outputOf([] {
        TerminalOutputOn();
        computeIndices();
        TerminalOutputOff();
    });
    EXPECT_TRUE(contains(out, "Characters are expressed in terms of 3 previously determined "
                              "ones\n"))
        << out;
    EXPECT_TRUE(contains(out, "All indices determined\n")) << out;
    for (int p = 0; p <= 3; p++)
        for (int q = 0; p + q <= 3; q++)
            expectIndices(sd, p, q);
    const std::string file = readFile(indexFile());
    for (auto [p, q] : {std::pair{1, 1}, {2, 0}, {0, 2}, {3, 0}, {0, 3}, {2, 1}, {1, 2}})
        EXPECT_TRUE(contains(file, record(p, q, su3(p, q)))) << p << "," << q << "\n" << file;
    const std::string characters = readFile(characterFile());
    int records = 0;
    for (std::size_t at = 0;
         (at = characters.find(";\n#call fixfac{}\n.store\n", at)) != std::string::npos; at++)
        records++;
    EXPECT_EQ(records, 7) << characters;
    EXPECT_TRUE(contains(characters, "G char_1_1 = char2 * char1\n -1 * char0 ;\n")) << characters;

    // A second theory of the same algebra reads them all: nothing is left to fusion.
    SM_resetIndices(sd);
    CFTChanged();
    const std::string again = testsupport::outputOf([] {
        TerminalOutputOn();
        computeIndices();
        TerminalOutputOff();
    });
    EXPECT_FALSE(contains(again, "Determining")) << again;
    EXPECT_TRUE(contains(again, "All indices determined\n")) << again;
}

// 15 x 15bar = 1 + 2 (8) + 10 + 10bar + 2 (27) + 35 + 35bar + 64 at level 6: the adjoint, the one
// field unknown, occurs twice, and the sums left over are twice its indices.
TEST_F(IndicesFromFusion, UnknownFieldOfMultiplicityTwo) {
    SpectrumData* sd = su3AtLevel(6, [](int p, int q) { return !(p == 1 && q == 1); });
    ASSERT_EQ(SM_loadIndices(sd), 27);
    std::string reports;
    reports = reportsOf([&] {
        EXPECT_EQ(indicesFromFusion(fieldOf(sd, {2, 1}), fieldOf(sd, {1, 2})), 1);
    });
    EXPECT_EQ(reports, "");
    expectIndices(sd, 1, 1);
    EXPECT_TRUE(readFile(indexFile()).ends_with(record(1, 1, su3(1, 1))));
    // The character file states the same division: char_1_1 is half the rest of the product.
    const std::string characters = readFile(characterFile());
    EXPECT_TRUE(characters.starts_with("G char_1_1 = (char_2_1 * char_1_2\n")) << characters;
    EXPECT_TRUE(characters.ends_with(" -2 * char_2_2 )/2;\n#call fixfac{}\n.store\n"))
        << characters;
}

// The same product with the index of order 2 of the 64 (3,3) off by one: what is left for the
// adjoint is odd, no multiple of its multiplicity two, so the adjoint stays undetermined and
// nothing is written.
TEST_F(IndicesFromFusion, RestNotDivisibleByTheMultiplicityLeavesTheFieldOpen) {
    SpectrumData* sd = su3AtLevel(
        6, [](int p, int q) { return !(p == 1 && q == 1); },
        [](int p, int q) {
            Su3Indices x = su3(p, q);
            if (p == 3 && q == 3)
                x.I2 += 1;
            return x;
        });
    ASSERT_EQ(SM_loadIndices(sd), 27);
    const std::string before = readFile(indexFile());
    EXPECT_EQ(indicesFromFusion(fieldOf(sd, {2, 1}), fieldOf(sd, {1, 2})), 0);
    EXPECT_EQ(sd->Indices[fieldOf(sd, {1, 1}) * 3 + 1], nullptr);
    EXPECT_EQ(readFile(indexFile()), before);
    EXPECT_EQ(readFile(characterFile()), "");
}

// (2,0) x (1,0) = (3,0) + (1,1): with both unknown the pair stays open and is tried again once
// (1,1) is known.
TEST_F(IndicesFromFusion, TwoUnknownFieldsLeaveThePairOpen) {
    SpectrumData* sd =
        su3AtLevel(3, [](int p, int q) { return !(p == 1 && q == 1) && !(p == 3 && q == 0); });
    SM_loadIndices(sd);
    const int six = fieldOf(sd, {2, 0}), three = fieldOf(sd, {1, 0});
    EXPECT_EQ(indicesFromFusion(six, three), 0);
    EXPECT_EQ(indicesFromFusion(three, fieldOf(sd, {0, 1})), 1);
    expectIndices(sd, 1, 1);
    EXPECT_EQ(indicesFromFusion(six, three), 1);
    expectIndices(sd, 3, 0);
    // Now analysed completely.
    EXPECT_EQ(indicesFromFusion(six, three), 0);
}

// A decomposition whose fields are all known writes nothing when consistent and reports each
// index whose sum rule fails.
TEST_F(IndicesFromFusion, KnownDecompositionsAreChecked) {
    SpectrumData* sd = su3AtLevel(3, [](int, int) { return true; });
    SM_loadIndices(sd);
    const std::string before = readFile(indexFile());
    const int three = fieldOf(sd, {1, 0}), bar = fieldOf(sd, {0, 1});
    EXPECT_EQ(reportsOf([&] { EXPECT_EQ(indicesFromFusion(three, three), 0); }), "");
    EXPECT_EQ(readFile(indexFile()), before);

    sd = su3AtLevel(
        3, [](int, int) { return true; },
        [](int p, int q) {
            Su3Indices x = su3(p, q);
            if (p == 1 && q == 1)
                x.I2 += 1;
            return x;
        });
    SM_loadIndices(sd);
    CFTChanged();
    const std::string reports = reportsOf([&] { EXPECT_EQ(indicesFromFusion(three, bar), 0); });
    EXPECT_TRUE(contains(reports, "Non-zero index sum rule; index 0, fusion (" +
                                      std::to_string(three) + ")x(" + std::to_string(bar) + ")"))
        << reports;
    EXPECT_FALSE(contains(reports, "index 1,")) << reports;
}

TEST_F(IndicesFromFusion, SingleFieldIsPrintedWithItsCasimirDegrees) {
    SpectrumData* sd = su3AtLevel(3, [](int, int) { return true; });
    char txt[200];
    const int f = fieldOf(sd, {2, 1});
    *computeIndicesSingle(f, txt) = '\0';
    EXPECT_EQ(std::string(txt),
              "Field " + std::to_string(f) + "\nDimension = 15\nIndex[2] = 20\nIndex[3] = 14\n");
}

TEST_F(IndicesFromFusion, MeaninglessForTensorProducts) {
    SpectrumData* sd = su3AtLevel(3, [](int, int) { return true; });
    SM_loadIndices(sd);
    setCosetMode(1);
    const std::string reports = reportsOf([] { EXPECT_EQ(indicesFromFusion(1, 2), 0); });
    setCosetMode(0);
    EXPECT_TRUE(contains(reports, "Index computation meaningless in coset mode")) << reports;
}

} // namespace
