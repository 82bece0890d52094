// Orbit tables of blocks known only through a current action or through their S matrix. The S
// route is checked on affine blocks whose fields are handed over in a scrambled order with S
// computed from the labels: su(3)_1 has the simple currents Z3 (all three fields, weights 0,
// 1/3, 1/3), F4_1 only the vacuum.
#include "store/Storemanager.h"

#include "StoreTestHelpers.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

using storetest::block;

// A block with the labels and weights of the given fields of src, in that order, whose S is
// computed directly from the labels; kept off the store's list.
SpectrumData* scrambledCopy(SpectrumData* src, const std::vector<int>& order, const char* name) {
    SpectrumData* sd = allocateSpectrumData(name);
    SM_discardCFT(sd);
    sd->type = src->type;
    sd->rank = src->rank;
    sd->level = src->level;
    sd->RepSize = src->RepSize;
    sd->Nprimaries = static_cast<int>(order.size());
    sd->Weight_denom = src->Weight_denom;
    sd->CentralCharge = src->CentralCharge;
    sd->bootcomp = 1;
    const int R = sd->RepSize;
    // Charged to the block, which lives as long as the process, as every block does.
    sd->ExtDynkin =
        static_cast<int*>(allocate(order.size() * R * sizeof(int), &sd->TotalAlloc, "Labels"));
    sd->Weight_num =
        static_cast<int*>(allocate(order.size() * sizeof(int), &sd->TotalAlloc, "Weights"));
    for (std::size_t n = 0; n < order.size(); n++) {
        const int* rep = SM_getRep(src, order[n]);
        std::copy(rep, rep + R, sd->ExtDynkin + n * R);
        sd->Weight_num[n] = src->Weight_num[order[n]];
    }
    return sd;
}

std::string stdoutOf(SpectrumData* sd, int* rc) {
    testing::internal::CaptureStdout();
    *rc = SM_genericReorder(sd);
    return testing::internal::GetCapturedStdout();
}

TEST(GenericReorder, Su3LevelOneFromItsSMatrix) {
    SpectrumData* su3 = block(1, 2, 1);
    // The two triplets first, the vacuum last but for field 0, which must stay the vacuum.
    SpectrumData* sd = scrambledCopy(su3, {0, 2, 1}, "su3 by S");
    int rc = 0;
    EXPECT_EQ(stdoutOf(sd, &rc), "Total number of simple currents: 3\n");
    ASSERT_EQ(rc, 0);
    ASSERT_EQ(sd->SimpleCurrents->Order, 3);
    EXPECT_EQ(sd->Norbits, 1);
    for (int f = 0; f < 3; f++) {
        EXPECT_EQ(sd->OrbitLabel[f], 0);
        EXPECT_EQ(sd->OrbitPosition[f], f) << "a current is its own group element";
        // Charge of f with respect to the generator: h_f + h_1 - h_(1 f) in thirds.
        EXPECT_EQ(sd->Charges[f], f);
        for (int J = 0; J < 3; J++)
            EXPECT_EQ(SM_SimpleAction(sd, J, f), SM_GenericSimpleAction(J, f, sd));
    }
    EXPECT_EQ(SM_SimpleAction(sd, 1, 1), 2) << "Z3: 1 + 1 = 2";
    EXPECT_EQ(3 * sd->Weight_num[1], sd->Weight_denom) << "weight 1/3 follows its field";
    EXPECT_EQ(3 * sd->Weight_num[2], sd->Weight_denom);
}

// su(2)_2 with the spinor before the current: the current moves to label 1, and the spinor,
// fixed by it, gets it in its stabilizer and the charge 1/2.
TEST(GenericReorder, CurrentsComeFirstAndFixedPointsKeepTheirStabilizer) {
    SpectrumData* su2 = block(1, 1, 2);
    int J = -1, s = -1;
    for (int f = 0; f < 3; f++)
        (SM_getRep(su2, f)[0] == 2 ? J : s) = f == 0 ? -1 : f;
    ASSERT_GE(J, 1);
    ASSERT_GE(s, 1);
    SpectrumData* sd = scrambledCopy(su2, {0, s, J}, "su2 by S");
    int rc = 0;
    EXPECT_EQ(stdoutOf(sd, &rc), "Total number of simple currents: 2\n");
    ASSERT_EQ(rc, 0);
    EXPECT_EQ(SM_getRep(sd, 1)[0], 2) << "the current J = (2) comes first";
    EXPECT_EQ(SM_getRep(sd, 2)[0], 1);
    EXPECT_EQ(16 * sd->Weight_num[2], 3 * sd->Weight_denom) << "the spinor keeps 3/16";
    EXPECT_EQ(sd->Norbits, 2);
    EXPECT_EQ(sd->Stabilizer[2], 1);
    EXPECT_EQ(sd->Charges[2], 1);
    EXPECT_EQ(sd->Charges[1], 0);
    EXPECT_EQ(SM_SimpleAction(sd, 1, 2), 2);
}

TEST(GenericReorder, OneCurrentLeavesEveryFieldItsOwnOrbit) {
    SpectrumData* f4 = block(5, 4, 1);
    ASSERT_EQ(f4->Nprimaries, 2);
    SpectrumData* sd = scrambledCopy(f4, {0, 1}, "f4 by S");
    int rc = 0;
    EXPECT_EQ(stdoutOf(sd, &rc), "Total number of simple currents: 1\n");
    ASSERT_EQ(rc, 0);
    EXPECT_EQ(sd->SimpleCurrents->Order, 1);
    EXPECT_EQ(sd->Norbits, 2);
    for (int f = 0; f < 2; f++) {
        EXPECT_EQ(sd->OrbitLabel[f], f);
        EXPECT_EQ(sd->OrbitPosition[f], 0);
    }
}

// Old labels: currents 0 and 1 (Z2), fields 2 and 4 exchanged by the current, 3 fixed.
int z2Action(int current, int field, void*) {
    static const int image[] = {1, 0, 4, 3, 2};
    return current == 0 ? field : image[field];
}

int brokenAction(int current, int field, void*) {
    return current == 1 && field >= 2 ? -1 : z2Action(current, field, nullptr);
}

int brokenProduct(int current, int field, void*) {
    return current == 1 && field == 1 ? -1 : z2Action(current, field, nullptr);
}

SpectrumData* fiveFields(const char* name) {
    SpectrumData* sd = allocateSpectrumData(name);
    SM_discardCFT(sd);
    sd->Nprimaries = 5;
    sd->RepSize = 1;
    return sd;
}

TEST(GetMap, OrbitsAreContiguousWithTheFixedFieldStabilized) {
    SpectrumData* sd = fiveFields("five fields");
    std::vector<int> map(10);
    ASSERT_EQ(SM_getMap(map.data(), 2, sd, z2Action, nullptr, 1, 0), 0);
    EXPECT_EQ(map, (std::vector<int>{0, 1, 2, 4, 3, 0, 1, 2, 4, 3}));
    EXPECT_EQ(sd->Norbits, 3);
    EXPECT_EQ(std::vector<int>(sd->OrbitLabel, sd->OrbitLabel + 5),
              (std::vector<int>{0, 0, 1, 1, 2}));
    EXPECT_EQ(std::vector<int>(sd->OrbitPosition, sd->OrbitPosition + 5),
              (std::vector<int>{0, 1, 0, 1, 0}));
    EXPECT_EQ(std::vector<int>(sd->Stabilizer, sd->Stabilizer + 5),
              (std::vector<int>{0, 0, 0, 0, 1}))
        << "only the fixed field has the current in its stabilizer";
    EXPECT_NE(sd->Dimensions, nullptr);
    EXPECT_EQ(sd->info, nullptr);
    // The block's own action agrees with the one given, in the new numbering.
    for (int n = 0; n < 5; n++)
        EXPECT_EQ(SM_SimpleAction(sd, 1, n), map[5 + z2Action(1, map[n], nullptr)]) << n;
}

// An action that gives no field ends the construction with a report instead of using -1 as an
// index.
TEST(GetMap, ActionWithoutImageIsRefused) {
    struct Case {
        SIMFUS action;
        const char* report;
    } cases[] = {
        {brokenAction, "Current 1 gives no field on 2; orbits not built"},
        {brokenProduct, "Simple currents do not form a group; orbits not built"},
    };
    for (const Case& c : cases) {
        SpectrumData* sd = fiveFields("broken action");
        std::vector<int> map(10);
        const std::string err = storetest::reportsOf(
            [&] { EXPECT_EQ(SM_getMap(map.data(), 2, sd, c.action, nullptr, 0, 0), -1); });
        EXPECT_NE(err.find(c.report), std::string::npos) << err;
    }
}

TEST(DiscardCFT, TakesTheBlockOffTheList) {
    SpectrumData* sd = allocateSpectrumData("discarded block");
    ASSERT_EQ(SM_findCFT("discarded block"), sd);
    SM_discardCFT(sd);
    EXPECT_EQ(SM_findCFT("discarded block"), nullptr);
}

// A block made from a product that has lost its link and its orbit cache reports that S is not
// available instead of reaching for the product.
TEST(CreatedBlockS, WithoutCacheOrLinkIsNotAvailable) {
    SpectrumData* sd = fiveFields("created without cache");
    sd->type = 9;
    sd->SimpleCurrents = DG_trivial();
    const std::string err = storetest::reportsOf([&] {
        double re = 1.0, im = 1.0;
        SM_getS(sd, 0, 1, &re, &im);
        EXPECT_EQ(re, 0.0);
        EXPECT_EQ(im, 0.0);
    });
    EXPECT_NE(err.find("Matrix S for algebra created without cache is not available"),
              std::string::npos)
        << err;
}

} // namespace
