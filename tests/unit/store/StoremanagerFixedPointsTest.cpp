// Fixed-point resolution data of blocks. The fixed points are found here from the simple-current
// action alone, and the expected orbit Lie algebras and shifts are those of the closed table
// (A_{n-1} current c: A_{c-1} at level kc/n, shift k'(n^2-c^2)/c; B_r: B-tilde_{r-1}, shift
// (2r+1)k; D_r vector current: C_{r-2} at k/2, shift 3k; E6: G2 at k/3, shift 16k/3; E7: F4 at
// k/2, shift 9k/2), so the folding of weights is checked against the current action.
#include "store/Storemanager.h"

#include "StoreTestHelpers.h"
#include "lie/Tarvik.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <climits>
#include <set>
#include <string>
#include <vector>

namespace {

using storetest::block;
using storetest::detachedCopy;
using storetest::fixedFields;
using storetest::reportsOf;

bool contains(const std::string& text, const std::string& part) {
    return text.find(part) != std::string::npos;
}

struct FixedPointCase {
    int type, rank, level;
    std::vector<int> currents; // the fixed-point currents
    int ftype, frank, flevel;  // the theory of the first of them
    int shift;
};

std::string caseName(const testing::TestParamInfo<FixedPointCase>& info) {
    const FixedPointCase& c = info.param;
    return "T" + std::to_string(c.type) + "R" + std::to_string(c.rank) + "L" +
           std::to_string(c.level);
}

class FixedPointData : public testing::TestWithParam<FixedPointCase> {};

TEST_P(FixedPointData, CurrentsTheoryShiftAndLabelBijection) {
    const FixedPointCase& c = GetParam();
    SpectrumData* sd = block(c.type, c.rank, c.level);
    ASSERT_NE(sd, nullptr);
    ASSERT_EQ(SM_getFCFTnumber(sd), static_cast<int>(c.currents.size()));
    const int* currents = SM_getFixedPointCurrents(sd);
    EXPECT_EQ(std::vector<int>(currents, currents + sd->FCFTnumber), c.currents);

    const int J = c.currents[0];
    EXPECT_EQ(SM_getFCFTlbl(sd, J), 1);
    EXPECT_EQ(SM_getFCFT(sd, J), SM_getData(c.ftype, c.frank, c.flevel));
    EXPECT_EQ(SM_getFCFTshift(sd, J), c.shift);

    // Each label row maps the fixed points one to one onto the fields of the theory.
    for (int n = 1; n <= sd->FCFTnumber; n++) {
        const int K = currents[n - 1];
        SpectrumData* F = SM_getFCFT(sd, K);
        ASSERT_NE(F, nullptr);
        const std::vector<int> fixed = fixedFields(sd, K);
        std::set<int> labels;
        for (int i = 0; i < sd->Nprimaries; i++) {
            const bool isFixed = std::count(fixed.begin(), fixed.end(), i) > 0;
            const int l = SM_getFPlabel(sd, K, i);
            EXPECT_EQ(SM_checkFP(sd, K, i), isFixed ? 1 : 0) << "field " << i;
            if (!isFixed) {
                EXPECT_EQ(l, -1) << "field " << i;
                continue;
            }
            ASSERT_GE(l, 0) << "field " << i;
            ASSERT_LT(l, F->Nprimaries);
            labels.insert(l);
            EXPECT_EQ(SM_getFixedPoint(sd, n, l), i);
        }
        EXPECT_EQ(static_cast<int>(labels.size()), static_cast<int>(fixed.size()));
        EXPECT_EQ(static_cast<int>(fixed.size()), F->Nprimaries) << "current " << K;
    }
}

INSTANTIATE_TEST_SUITE_P(Table, FixedPointData,
                         testing::Values(FixedPointCase{1, 1, 2, {1}, 1, 0, 0, 3},
                                         FixedPointCase{1, 1, 4, {1}, 1, 0, 0, 6},
                                         FixedPointCase{1, 1, 6, {1}, 1, 0, 0, 9},
                                         FixedPointCase{1, 3, 2, {2}, 1, 1, 1, 6},
                                         FixedPointCase{2, 3, 1, {1}, 13, 2, 1, 7},
                                         FixedPointCase{4, 5, 2, {2}, 3, 3, 1, 6},
                                         FixedPointCase{5, 6, 3, {1}, 5, 2, 1, 16},
                                         FixedPointCase{5, 7, 2, {1}, 5, 4, 1, 9}),
                         caseName);

// E6 at level 3: the currents 1 and 2 generate the same group, so both have the data of 1; 3 is
// the identity again.
TEST(FixedPointLookups, CurrentsWithOneBasicRepresentativeAnswerAlike) {
    SpectrumData* sd = block(5, 6, 3);
    ASSERT_NE(sd, nullptr);
    EXPECT_EQ(SM_getFCFTlbl(sd, 2), SM_getFCFTlbl(sd, 1));
    EXPECT_EQ(SM_getFCFT(sd, 2), SM_getFCFT(sd, 1));
    EXPECT_EQ(SM_getFCFTshift(sd, 2), SM_getFCFTshift(sd, 1));
    for (int i = 0; i < sd->Nprimaries; i++) {
        EXPECT_EQ(SM_getFPlabel(sd, 2, i), SM_getFPlabel(sd, 1, i)) << i;
        EXPECT_EQ(SM_checkFP(sd, 2, i), SM_checkFP(sd, 1, i)) << i;
    }
    for (int identity : {0, 3}) {
        EXPECT_EQ(SM_getFCFTlbl(sd, identity), 0);
        EXPECT_EQ(SM_getFCFT(sd, identity), sd);
        EXPECT_EQ(SM_getFCFTshift(sd, identity), 0);
        for (int i = 0; i < sd->Nprimaries; i++)
            EXPECT_EQ(SM_checkFP(sd, identity, i), 1);
    }
    for (int i = 0; i < sd->Nprimaries; i++)
        EXPECT_EQ(SM_getFPlabel(sd, 0, i), i);
    std::string err = reportsOf([&] { EXPECT_EQ(SM_getFPlabel(sd, 3, 0), -2); });
    EXPECT_TRUE(contains(err, "Unexpected label zero FCFT")) << err;
}

// A1 at level 1 and E8 at level 1 fix nothing.
TEST(FixedPointLookups, BlockWithoutFixedPointsAnswersNone) {
    for (SpectrumData* sd : {block(1, 1, 1), block(5, 8, 1)}) {
        ASSERT_NE(sd, nullptr);
        EXPECT_EQ(SM_getFCFTnumber(sd), 0);
        EXPECT_EQ(SM_getFCFTlbl(sd, 1), -1);
        EXPECT_EQ(SM_getFCFT(sd, 1), nullptr);
        EXPECT_EQ(SM_getFCFT(sd, 0), sd);
        EXPECT_EQ(SM_checkFP(sd, 1, 0), 0);
        EXPECT_EQ(SM_getFPlabel(sd, 1, 0), -1);
        int shift = 0;
        std::string err = reportsOf([&] { shift = SM_getFCFTshift(sd, 1); });
        EXPECT_EQ(shift, INT_MAX);
        EXPECT_TRUE(contains(err, "Current has no fixed points")) << err;
        EXPECT_EQ(SM_getFCFTshift(sd, 0), 0);
    }
}

// A3 at level 2: current 2 fixes Lambda_0 + Lambda_2 and Lambda_1 + Lambda_3, which fold to the
// two fields of A1 at level 1; current 1 (and 3) exchanges them, so it induces the simple current
// of A1 level 1, while current 2 induces the identity.
TEST(FixedPointLookups, FixedPointsAndInducedCurrents) {
    SpectrumData* sd = block(1, 3, 2);
    ASSERT_NE(sd, nullptr);
    std::string err = reportsOf([&] {
        EXPECT_EQ(SM_getFixedPoint(sd, 2, 0), -1);
        EXPECT_EQ(SM_getFixedPoint(sd, 1, 2), -1);
    });
    EXPECT_TRUE(contains(err, "FCFT label out of range")) << err;
    EXPECT_TRUE(contains(err, "Fixed point not found")) << err;
    EXPECT_EQ(SM_getFixedPoint(sd, 0, 7), 7);

    const std::vector<int> fixed = fixedFields(sd, 2);
    ASSERT_EQ(fixed.size(), 2u);
    EXPECT_EQ(SM_SimpleAction(sd, 1, fixed[0]), fixed[1]);
    EXPECT_EQ(SM_getInducedCurrent(sd, 1, 1), 1);
    EXPECT_EQ(SM_getInducedCurrent(sd, 3, 1), 1);
    EXPECT_EQ(SM_getInducedCurrent(sd, 2, 1), 0);
    EXPECT_EQ(SM_getInducedCurrent(sd, 0, 1), 0);
    EXPECT_EQ(SM_getInducedCurrent(sd, 3, 0), 3);
}

// A3 at level 2 told that its currents with fixed points are 3 and then 2: the orbit Lie
// algebra of 3 (which is not a basic current) does not exist, so the data stop there and the
// vector current 2, though it fixes two fields, is left without theory and label row.
TEST(FixedPointLookups, CurrentsLeftAfterUnmatchedFixedPointsAreNotFixed) {
    SpectrumData* a3 = block(1, 3, 2);
    ASSERT_NE(a3, nullptr);
    static int currents[] = {3, 2};
    SpectrumData* sd = detachedCopy(a3, "Unmatched fixed points fixture");
    sd->FCFTnumber = 2;
    sd->FixedPointCurrents = currents;

    std::string err = reportsOf([&] { SM_initFCFTData(sd); });
    EXPECT_TRUE(contains(err, "Unmatched fixed points")) << err;
    ASSERT_NE(sd->FixedPointCFT, nullptr);
    EXPECT_EQ(sd->FixedPointCFT[1], nullptr);

    const int f = fixedFields(a3, 2)[0];
    EXPECT_EQ(SM_getFCFTlbl(sd, 2), -1);
    EXPECT_EQ(SM_getFCFT(sd, 2), nullptr);
    EXPECT_EQ(SM_checkFP(sd, 2, f), 0);
    EXPECT_EQ(SM_getFPlabel(sd, 2, f), -1);
    double re = 1.0, im = 1.0;
    EXPECT_EQ(SM_getFCFT_Smatrix(sd, 2, f, f, &re, &im), 0);
    EXPECT_EQ(re, 0.0);
    EXPECT_EQ(im, 0.0);
    EXPECT_EQ(SM_getCurrentTwist(sd, f, 1, 2), 0);
    EXPECT_EQ(SM_getEta(sd, f, 2)->num, 0);

    // Asked by index, the row of the current is empty: no fixed point carries label 0.
    int induced = 0;
    double twist = 1.0;
    err = reportsOf([&] {
        induced = SM_getInducedCurrent(sd, 1, 2);
        twist = SM_getTwist(sd, 1, 2);
    });
    EXPECT_EQ(induced, -1);
    EXPECT_EQ(twist, 0.0);
    EXPECT_TRUE(contains(err, "Fixed point not found")) << err;
    int shift = 0;
    err = reportsOf([&] { shift = SM_getFCFTshift(sd, 2); });
    EXPECT_EQ(shift, INT_MAX);
    EXPECT_TRUE(contains(err, "Current has no fixed points")) << err;
}

// The fixed-point theory of A3 level 2 made as a block of its own from the label row of the
// vector current, and one from a row written by hand.
TEST(CreateFCFT, BlockOfTheFixedFieldsInTheParentsOrder) {
    SpectrumData* a3 = block(1, 3, 2);
    ASSERT_NE(a3, nullptr);
    const int N = a3->Nprimaries;
    std::vector<int> row(N, -1);
    const std::vector<int> chosen = {1, 4, 8};
    for (int i : chosen)
        row[i] = 0;
    SpectrumData* sd = SM_createFCFT(N, "Created FCFT fixture", a3, row.data(), 3, 0);
    ASSERT_NE(sd, nullptr);
    EXPECT_EQ(SM_findCFT("Created FCFT fixture"), sd);
    EXPECT_EQ(sd->type, 10);
    EXPECT_EQ(sd->Nprimaries, 3);
    EXPECT_EQ(sd->Norbits, 3);
    EXPECT_EQ(SM_getCenter(sd), 1);
    EXPECT_EQ(sd->CentralCharge, a3->CentralCharge);
    EXPECT_EQ(sd->Weight_denom, a3->Weight_denom);
    EXPECT_EQ(sd->exactWeights, 0);
    EXPECT_EQ(sd->S_Symmetry, 0);
    EXPECT_EQ(sd->FCFT_type, 0);
    for (int k = 0; k < 3; k++) {
        EXPECT_EQ(sd->OrbitLabel[k], k);
        EXPECT_EQ(sd->OrbitGenerator[k], k);
        EXPECT_EQ(sd->OrbitPosition[k], 0);
        const int* labels = SM_getRep(sd, k);
        const int* parent = SM_getRep(a3, chosen[k]);
        EXPECT_EQ(std::vector<int>(labels, labels + sd->RepSize),
                  std::vector<int>(parent, parent + a3->RepSize));
        EXPECT_EQ(sd->Weight_num[k], a3->Weight_num[chosen[k]]);
    }

    // The theory made from a product has no S until that product is there: every request
    // says so, and none is taken from a cache.
    for (int pass = 0; pass < 2; pass++) {
        double re = 1.0, im = 1.0;
        std::string err = reportsOf([&] { SM_getS(sd, 0, 1, &re, &im); });
        EXPECT_TRUE(contains(err, "Matrix S for algebra Created FCFT fixture is not available"))
            << pass << ": " << err;
        EXPECT_EQ(re, 0.0);
        EXPECT_EQ(im, 0.0);
    }
    EXPECT_EQ(sd->SBase, nullptr);
}

} // namespace
