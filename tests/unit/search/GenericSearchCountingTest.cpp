// Quark and lepton counting, the admissible hypercharge lists, the merging of identical stacks,
// the check of a particle table, the masses of U(1) combinations and the tachyon callback of the
// generic search.
#include "GenericSearchFixture.h"
#include "TestSupport.h"

#include "numeric/Sorting.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

namespace {

std::vector<int> chargeList(int factor, int mult, std::vector<int> counts, int* Norm) {
    SM = SMinfo{};
    SM.mults[factor] = mult;
    counts.resize(16, 0);
    IntegerList* list = getChargeList(factor, counts.data(), nullptr, Norm);
    return {list->list.X, list->list.X + list->cnt};
}

TEST(GenericCounting, ChargeLists) {
    int Norm = 0;
    EXPECT_EQ(chargeList(0, 3, {}, &Norm), (std::vector<int>{0}));
    EXPECT_EQ(Norm, 36);
    std::vector<int> c = chargeList(2, 1, {0, 0, 1}, &Norm);
    EXPECT_EQ(c, (std::vector<int>{-12, -24, -6, -18, 0, 6, 12}));
    EXPECT_EQ(Norm, 12);
    std::vector<int> counts(16, 0);
    counts[6] = 1;
    counts[10] = -1;
    EXPECT_EQ(chargeList(1, 2, counts, &Norm), (std::vector<int>{-10, 2, 14}));
    EXPECT_EQ(Norm, 24);
}

class SpectrumTable : public testing::Test {
protected:
    void SetUp() override { initCountedVectorCollection(&table, 19, 100); }
    void add(int s3, int s2, int y, int count) {
        int* w = rowOf(&table, table.Nfill);
        std::fill(w, w + 19, 0);
        w[0] = s3;
        w[1] = s2;
        w[2] = y;
        addToCountedCollection(&table, count);
    }
    void addStandardModel() {
        for (const auto& r :
             {std::vector<int>{1, 1, 1}, {-1, 0, -4}, {-1, 0, 2}, {0, 1, -3}, {0, 0, 6}, {0, 0, 0}})
            add(r[0], r[1], r[2], 3);
    }
    int check(std::string* messages) {
        int r = 0;
        *messages = testsupport::outputOf([&] { r = checkSpectrum(&table); });
        return r;
    }
    VectorSpace table = declareVectorSpace("spectrum", 100);
};

TEST_F(SpectrumTable, EmptyTableLacksQuarkDoublets) {
    std::string out;
    EXPECT_EQ(check(&out), 0);
    EXPECT_TRUE(testsupport::contains(out, "Wrong number of quark doublets")) << out;
}

TEST_F(SpectrumTable, ThreeFamiliesPass) {
    addStandardModel();
    std::string out;
    EXPECT_EQ(check(&out), 1);
}

TEST_F(SpectrumTable, MirrorQuarkDoubletCountsAgainst) {
    addStandardModel();
    add(-1, 1, -1, 1);
    std::string out;
    EXPECT_EQ(check(&out), 0);
    EXPECT_TRUE(testsupport::contains(out, "Wrong number of quark doublets")) << out;
}

TEST_F(SpectrumTable, ForeignRepresentationIsReported) {
    addStandardModel();
    add(1, 1, 4, 1);
    std::string out;
    EXPECT_EQ(check(&out), 0);
    EXPECT_TRUE(testsupport::contains(out, "Invalid representation")) << out;
}

TEST(GenericCounting, IdenticalStacksAreMerged) {
    ChainFixture fixture;
    setGenericSearchContext(&fixture);
    int vars[4] = {0, 2, 0, 2};
    int mults[4] = {3, 2, 1, 4};
    EXPECT_EQ(mapVarsToSMData(1, vars, mults), 2);
    EXPECT_EQ(std::vector<int>(vars, vars + 4), (std::vector<int>{0, 2, -1, -1}));
    EXPECT_EQ(std::vector<int>(mults, mults + 4), (std::vector<int>{4, 6, 0, 0}));
    EXPECT_EQ(SM.Nbnd, 4);
    EXPECT_EQ(SM.ori, 1);
    int three[4] = {4, 2, 6, -1};
    int m3[4] = {3, 2, 1, 0};
    EXPECT_EQ(mapVarsToSMData(0, three, m3), 3);
    EXPECT_EQ(SM.Nbnd, 3);
    EXPECT_EQ(SM.boundaries[1], 5);
    setGenericSearchContext(nullptr);
}

// The chain a, b, c, d = 0, 2, 4, 6 of the fixture with N = (3, 2, 1, 1) and its hypercharge.
void loadFixtureChain(ChainFixture* fixture) {
    setGenericSearchContext(fixture);
    SM = SMinfo{};
    SM.Nbnd = 4;
    for (int k = 0; k < 8; k++)
        SM.boundaries[k] = k;
    const int mults[4] = {3, 2, 1, 1};
    std::copy(mults, mults + 4, SM.mults);
    const int Y[4] = {1, 0, -3, 3};
    std::copy(Y, Y + 4, SM.coefs);
}

// The fixture's hypercharge couples with Q = 3 q_a + 2 q_b + 2 q_c + q_d at one label of phase
// 1/2, so its mass is Q^2.
TEST(GenericMasses, MassOfACombination) {
    ChainFixture fixture;
    loadFixtureChain(&fixture);
    EXPECT_NEAR(computeGenericAbelianMasses(), 0.0, 1e-12);
    SM.coefs[2] = -2;
    EXPECT_NEAR(computeGenericAbelianMasses(), 4.0, 1e-12);
    setGenericSearchContext(nullptr);
}

// The extra massless U(1)s of the fixture's chain: x_a = 0 and 3 x_a + 2 x_b + 2 x_c + x_d = 0
// leave two directions, (0,1,-1,0) and (0,1,0,-2).
TEST(GenericMasses, ExtraMasslessVectors) {
    ChainFixture fixture;
    loadFixtureChain(&fixture);
    int Sol[8];
    EXPECT_EQ(countMasslessAbelianVectors(Sol), 2);
    EXPECT_EQ(std::vector<int>(Sol, Sol + 8), (std::vector<int>{0, 1, -1, 0, 0, 1, 0, -2}));
    // Three stacks: x_a = 0 and 3 x_a + 2 x_b + 2 x_c = 0 leave (0,1,-1).
    SM.Nbnd = 3;
    SM.boundaries[6] = SM.boundaries[7] = -1;
    EXPECT_EQ(countMasslessAbelianVectors(Sol), 1);
    EXPECT_EQ(std::vector<int>(Sol, Sol + 8), (std::vector<int>{0, 1, -1, 0, 0, 0, 0, 0}));
    setGenericSearchContext(nullptr);
}

TEST(GenericDriver, TachyonCallbackModes) {
    EXPECT_EQ(findTachyonFreeSM(-1), 0);
    EXPECT_EQ(findTachyonFreeSM(0), 0);
    std::string out = testsupport::outputOf([] { EXPECT_EQ(findTachyonFreeSM(5), 0); });
    EXPECT_TRUE(testsupport::contains(out, "Invalid mode")) << out;
}

} // namespace
