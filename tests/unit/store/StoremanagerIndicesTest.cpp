#include "store/Storemanager.h"

#include "StoreTestHelpers.h"
#include "base/Defaults.h"

#include "TestSupport.h"

#include <gtest/gtest.h>

#include <optional>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

namespace {

namespace fs = std::filesystem;
using storetest::block;
using storetest::fieldWithLabels;
using storetest::reportsOf;

TEST(StoreDimensions, DimensionsOfTheGroundStates) {
    struct Case {
        int type, rank, level;
        std::vector<int> dims; // in label order of fields with these finite labels
        std::vector<std::vector<int>> labels;
    } cases[] = {
        {1, 2, 1, {1, 3, 3}, {{0, 0}, {1, 0}, {0, 1}}},
        {1, 1, 4, {1, 2, 3, 4, 5}, {{0}, {1}, {2}, {3}, {4}}},
        {4, 4, 1, {1, 8, 8, 8}, {{0, 0, 0, 0}, {1, 0, 0, 0}, {0, 0, 1, 0}, {0, 0, 0, 1}}},
        {5, 8, 2, {1, 248, 3875}, {}},
    };
    for (const Case& c : cases) {
        SpectrumData* sd = block(c.type, c.rank, c.level);
        ASSERT_EQ(SM_initDimensions(sd), 1);
        ASSERT_NE(sd->Dimensions, nullptr);
        if (c.labels.empty()) {
            std::multiset<int> found(sd->Dimensions, sd->Dimensions + sd->Nprimaries);
            EXPECT_EQ(found, std::multiset<int>(c.dims.begin(), c.dims.end()));
            continue;
        }
        for (std::size_t k = 0; k < c.dims.size(); k++) {
            int lbl = fieldWithLabels(sd, c.labels[k]);
            ASSERT_GE(lbl, 0);
            EXPECT_EQ(sd->Dimensions[lbl], c.dims[k]);
        }
    }
    EXPECT_EQ(SM_initDimensions(block(0, 4, 0)), 1);
}

TEST(StoreDimensions, NotAvailableAboveTypeFive) {
    SpectrumData* fixture = allocateSpectrumData("Dimension fixture");
    fixture->type = 9;
    EXPECT_EQ(SM_initDimensions(fixture), 0);
    EXPECT_EQ(fixture->Dimensions, nullptr);
}

TEST(StoreCharacters, NamesOfCharacters) {
    SpectrumData* a2 = block(1, 2, 2);
    EXPECT_STREQ(SM_getCharacterName(a2, fieldWithLabels(a2, {0, 0})), "char0");
    EXPECT_STREQ(SM_getCharacterName(a2, fieldWithLabels(a2, {1, 0})), "char1");
    EXPECT_STREQ(SM_getCharacterName(a2, fieldWithLabels(a2, {0, 1})), "char2");
    // Two names can be held at once.
    const char* a = SM_getCharacterName(a2, fieldWithLabels(a2, {1, 1}));
    const char* b = SM_getCharacterName(a2, fieldWithLabels(a2, {2, 0}));
    EXPECT_STREQ(a, "char_1_1");
    EXPECT_STREQ(b, "char_2_0");
    SpectrumData* e8 = block(5, 8, 2);
    EXPECT_STREQ(SM_getCharacterName(e8, 0), "char_0_0_0_0_0_0_0_0");
}

std::string contents(const fs::path& p) {
    std::ifstream in(p);
    std::stringstream s;
    s << in.rdbuf();
    return s.str();
}

std::string indexText(SpectrumData* sd, int lbl, int k) {
    lint* x = sd->Indices[lbl * (sd->rank + 1) + k];
    return x ? lint_string(x) : "none";
}

// HOME is a fresh folder for each test; the library directory is created below it.
class IndexFiles : public testing::Test {
protected:
    void SetUp() override {
        homeDir.emplace("store_indices");
        home = homeDir->path();
        library = home / "Library" / "Tarvik";
    }
    // Loads the indices and returns what was printed on standard output.
    std::string load(SpectrumData* sd, int* count) {
        testing::internal::CaptureStdout();
        *count = SM_loadIndices(sd);
        return testing::internal::GetCapturedStdout();
    }
    // The block without the indices an earlier test may have loaded into it.
    static SpectrumData* unindexed(int type, int rank, int level) {
        SpectrumData* sd = block(type, rank, level);
        SM_resetIndices(sd);
        return sd;
    }
    std::optional<testsupport::TempHome> homeDir;
    fs::path home, library;
};

// For A2 the index of order n of the second fundamental weight is 3 - 2^(n-1).
TEST_F(IndexFiles, A2FileIsWrittenAndReadBack) {
    SpectrumData* sd = unindexed(1, 2, 1);
    int count = 0;
    std::string out = load(sd, &count);
    EXPECT_EQ(count, 3);
    fs::path file = library / "A2_indices";
    EXPECT_EQ(out, "Read 3 indices from file " + file.string() + "\n");
    EXPECT_EQ(contents(file), "0 0 \n1\n0\n0\n1 0 \n3\n1\n1\n0 1 \n3\n1\n-1\n");
    int w2 = fieldWithLabels(sd, {0, 1});
    EXPECT_EQ(indexText(sd, w2, 0), "3");
    EXPECT_EQ(indexText(sd, w2, 1), "1");
    EXPECT_EQ(indexText(sd, w2, 2), "-1");
    // A second load answers from the block without reading.
    fs::remove(file);
    out = load(sd, &count);
    EXPECT_EQ(count, 3);
    EXPECT_EQ(out, "");
    EXPECT_FALSE(fs::exists(file));
}

TEST_F(IndexFiles, AnExistingFileIsReadForEveryLevel) {
    fs::create_directories(library);
    std::ofstream(library / "A3_indices") << "0 0 0 \n1\n0\n0\n0\n"
                                          << "1 0 0 \n4\n1\n7\n1\n"
                                          << "0 1 0 \n6 2 0 -2\n"
                                          << "1 1 0 \n20\n5\n5\n5\n";
    SpectrumData* sd = unindexed(1, 3, 1); // (1,1,0) is not integrable at level 1
    int count = 0;
    load(sd, &count);
    EXPECT_EQ(count, 3);
    EXPECT_EQ(indexText(sd, fieldWithLabels(sd, {1, 0, 0}), 2), "7");
    EXPECT_EQ(indexText(sd, fieldWithLabels(sd, {0, 1, 0}), 3), "-2");
    EXPECT_EQ(indexText(sd, fieldWithLabels(sd, {0, 0, 1}), 1), "none");
    SpectrumData* level2 = unindexed(1, 3, 2);
    load(level2, &count);
    EXPECT_EQ(count, 4);
    EXPECT_EQ(indexText(level2, fieldWithLabels(level2, {1, 1, 0}), 1), "5");
}

// Indices are read once per block; after a reset the next load reads the file again and finds
// what was appended meanwhile.
TEST_F(IndexFiles, ResetReadsTheFileAgain) {
    SpectrumData* sd = unindexed(1, 2, 5);
    int count = 0;
    load(sd, &count);
    EXPECT_EQ(count, 3);
    std::ofstream(library / "A2_indices", std::ios::app) << "1 1 \n8\n6\n0\n";
    load(sd, &count);
    EXPECT_EQ(count, 3);
    SM_resetIndices(sd);
    EXPECT_EQ(sd->Indices, nullptr);
    load(sd, &count);
    EXPECT_EQ(count, 4);
    EXPECT_EQ(indexText(sd, fieldWithLabels(sd, {1, 1}), 1), "6");
    SM_resetIndices(sd);
}

// D4 at level 1: the vector and both spinors have order-2 index 2 (triality); the adjoint
// weight of the file is not integrable and is skipped.
TEST_F(IndexFiles, D4IndicesShowTriality) {
    SpectrumData* sd = unindexed(4, 4, 1);
    int count = 0;
    load(sd, &count);
    EXPECT_EQ(count, 4);
    for (std::vector<int> l : {std::vector<int>{1, 0, 0, 0}, {0, 0, 1, 0}, {0, 0, 0, 1}}) {
        int lbl = fieldWithLabels(sd, l);
        EXPECT_EQ(indexText(sd, lbl, 0), "8");
        EXPECT_EQ(indexText(sd, lbl, 1), "2");
    }
    EXPECT_EQ(indexText(sd, fieldWithLabels(sd, {1, 0, 0, 0}), 4), "0");
    EXPECT_EQ(indexText(sd, fieldWithLabels(sd, {0, 0, 1, 0}), 4), "1");
    EXPECT_EQ(indexText(sd, fieldWithLabels(sd, {0, 0, 0, 1}), 4), "-1");
    // The adjoint record: dimension 28, order-2 index 2 (8 - 2) = 12 = 2 h.
    std::string text = contents(library / "D4_indices");
    EXPECT_NE(text.find("0 1 0 0 \n28\n12\n"), std::string::npos) << text;
}

// B3: the spinor 8 of SO(7) has the order-2 index of the vector, 2. B9 has no Bernoulli number
// for order 18 in the table, so the spinor index of that order is 0.
TEST_F(IndexFiles, SpinorIndicesOfB) {
    SpectrumData* b3 = unindexed(2, 3, 1);
    int count = 0;
    load(b3, &count);
    EXPECT_EQ(count, 3);
    int spinor = fieldWithLabels(b3, {0, 0, 1});
    EXPECT_EQ(indexText(b3, spinor, 0), "8");
    EXPECT_EQ(indexText(b3, spinor, 1), "2");
    EXPECT_EQ(indexText(b3, fieldWithLabels(b3, {1, 0, 0}), 1), "2");
    SpectrumData* b9 = unindexed(2, 9, 1);
    load(b9, &count);
    EXPECT_EQ(count, 3);
    std::vector<int> s(9, 0);
    s[8] = 1;
    EXPECT_EQ(indexText(b9, fieldWithLabels(b9, s), 9), "0");
    EXPECT_NE(indexText(b9, fieldWithLabels(b9, s), 8), "0");
}

TEST_F(IndexFiles, FailuresAnswerMinusOne) {
    int count = 0;
    std::string err = reportsOf([&] { load(unindexed(5, 6, 1), &count); });
    EXPECT_EQ(count, -1);
    EXPECT_NE(err.find("Cannot open index file " + (library / "E6_indices").string()),
              std::string::npos);
    err = reportsOf([&] { load(unindexed(0, 3, 0), &count); });
    EXPECT_EQ(count, -1);
    EXPECT_NE(err.find("Indices not defined for type 0"), std::string::npos);
    fs::create_directories(library);
    std::ofstream(library / "A4_indices") << "1 0 0 0 \n6\n1\n1\n1\n1\n";
    err = reportsOf([&] { load(unindexed(1, 4, 1), &count); });
    EXPECT_EQ(count, -1);
    EXPECT_NE(err.find("Wrong dimension in file: 6"), std::string::npos);
    std::ofstream(library / "A5_indices") << "1 0 0";
    err = reportsOf([&] { load(unindexed(1, 5, 1), &count); });
    EXPECT_EQ(count, -1);
    EXPECT_NE(err.find("Premature end-of-file"), std::string::npos);
}

TEST_F(IndexFiles, TooLongLibraryDirectoryGivesNoName) {
    std::string longHome = "/tmp/" + std::string(980, 'x');
    setenv("HOME", longHome.c_str(), 1);
    SpectrumData* sd = unindexed(1, 6, 1);
    char* name = reinterpret_cast<char*>(1);
    std::string err = reportsOf([&] { name = SM_setIndexFileName(sd); });
    EXPECT_EQ(name, nullptr);
    EXPECT_NE(err.find("Pathname of file for Indices is too long"), std::string::npos);
    int count = 0;
    reportsOf([&] { load(sd, &count); });
    EXPECT_EQ(count, -1);
}

TEST_F(IndexFiles, LibraryDirectoryFollowsThePreference) {
    const DefaultType* before = findDefaultPointer("TarvikPath");
    std::string old = before && before->value ? before->value : "Library/Tarvik";
    setDefault("TarvikPath", "Other/Lib");
    SpectrumData* c2 = unindexed(3, 2, 1);
    EXPECT_EQ(std::string(SM_setIndexFileName(c2)), (home / "Other/Lib/C2_indices").string());
    int count = 0;
    load(c2, &count);
    setDefault("TarvikPath", old.c_str());
    EXPECT_EQ(count, 3);
    EXPECT_TRUE(fs::exists(home / "Other/Lib/C2_indices"));
}

TEST(StoreIndices, SpinorIndexLines) {
    struct Case {
        int type, rank, order, factor;
        const char* line;
    } cases[] = {
        {4, 4, 2, 2, "2\n"},  // 2 * 3 * 8 / 6 / 4
        {4, 4, 4, 2, "-1\n"}, // 2 * 15 * 8 * (-1/30) / 8
        {2, 1, 2, 2, "1/2\n"}, {2, 3, 2, 2, "2\n"}, {2, 9, 18, 1, "0\n"},
    };
    for (const Case& c : cases) {
        char buffer[64] = {};
        FILE* f = fmemopen(buffer, sizeof buffer, "w");
        SM_printSpinorIndex(f, c.type, c.rank, c.order, c.factor);
        std::fclose(f);
        EXPECT_STREQ(buffer, c.line) << c.type << "," << c.rank << " order " << c.order;
    }
}

TEST(StoreIndices, AddIndexStoresCopies) {
    SpectrumData* sd = block(1, 2, 4);
    LintPtr a(int_to_newlint(11)), b(int_to_newlint(-5));
    lint* values[2] = {a.get(), b.get()};
    int lbl = fieldWithLabels(sd, {1, 1});
    SM_addIndex(sd, lbl, values);
    lint_assign(a.get(), 0);
    EXPECT_EQ(indexText(sd, lbl, 0), "8");
    EXPECT_EQ(indexText(sd, lbl, 1), "11");
    EXPECT_EQ(indexText(sd, lbl, 2), "-5");
}

} // namespace
