#include "store/Storemanager.h"

#include "StoreTestHelpers.h"
#include "base/Error.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>
#include <cstring>
#include <set>
#include <string>
#include <vector>

namespace {

using storetest::block;
using storetest::dynkin;
using storetest::reportsOf;

struct BlockCase {
    int type, rank, level;
    int primaries; // integrable highest weights, or fields of the free boson
    int currents;  // order of the centre's action at the level
    int orbits;
    double c; // k dim G / (k + g), 1 for the free boson
};

// Worked out by hand: A1 at level k has k+1 fields in floor(k/2)+1 orbits of the Z2 current,
// A2, D4 and D5 at level 1 have only simple currents (Z3, Z2xZ2, Z4), E8 at level 2 has the
// fields 1, 248 and 3875 and no currents, and U(1) at radius 4 has four fields forming one Z4
// orbit.
const BlockCase blockTable[] = {
    {1, 1, 1, 2, 2, 1, 1.0}, {1, 1, 2, 3, 2, 2, 1.5},  {1, 1, 3, 4, 2, 2, 1.8},
    {1, 1, 4, 5, 2, 3, 2.0}, {1, 2, 1, 3, 3, 1, 2.0},  {4, 4, 1, 4, 4, 1, 4.0},
    {4, 5, 1, 4, 4, 1, 5.0}, {5, 8, 2, 3, 1, 3, 15.5}, {0, 4, 0, 4, 4, 1, 1.0},
};

class BlockTable : public testing::TestWithParam<BlockCase> {};

TEST_P(BlockTable, FieldsCurrentsAndOrbitsAreThoseOfTheAlgebra) {
    const BlockCase& bc = GetParam();
    SpectrumData* sd = block(bc.type, bc.rank, bc.level);
    ASSERT_NE(sd, nullptr);
    EXPECT_EQ(SM_getNumberofPrimaries(sd), bc.primaries);
    EXPECT_EQ(SM_getCenter(sd), bc.currents);
    EXPECT_EQ(sd->Norbits, bc.orbits);
    EXPECT_NEAR(SM_getCentralCharge(sd), bc.c, 1e-12);
    std::set<int> orbitLabels(sd->OrbitLabel, sd->OrbitLabel + sd->Nprimaries);
    EXPECT_EQ(static_cast<int>(orbitLabels.size()), bc.orbits);
    // The simple currents come first: the orbit of the vacuum.
    for (int J = 0; J < bc.currents; J++)
        EXPECT_EQ(sd->OrbitGenerator[J], 0);
    EXPECT_EQ(sd->type, bc.type);
    EXPECT_EQ(sd->validCFT, 1);
}

std::string caseName(const testing::TestParamInfo<BlockCase>& info) {
    const BlockCase& c = info.param;
    return "Type" + std::to_string(c.type) + "Rank" + std::to_string(c.rank) + "Level" +
           std::to_string(c.level);
}

INSTANTIATE_TEST_SUITE_P(Store, BlockTable, testing::ValuesIn(blockTable), caseName);

TEST(StoreRecords, ASecondRequestReturnsTheSameRecord) {
    SpectrumData* a = block(1, 1, 3);
    EXPECT_EQ(SM_getData(1, 1, 3), a); // from the cache of the last request
    block(1, 2, 1);
    EXPECT_EQ(SM_getData(1, 1, 3), a); // from the list
    EXPECT_NE(SM_getData(1, 1, 2), a);
}

TEST(StoreRecords, KeysWithoutRankOrLevelGiveTheTrivialAlgebra) {
    SpectrumData* trivial = block(1, 0, 0);
    ASSERT_NE(trivial, nullptr);
    EXPECT_EQ(trivial->Nprimaries, 1);
    EXPECT_EQ(SM_getCenter(trivial), 1);
    EXPECT_EQ(SM_getData(5, 2, 0), trivial);
    EXPECT_EQ(SM_getData(4, 0, 3), trivial);
    EXPECT_EQ(SM_getData(2, 3, 0), trivial);
    EXPECT_EQ(SM_getData(-99, 0, 0), trivial);
}

TEST(StoreRecords, C1IsBuiltAsA1ButKeepsItsType) {
    SpectrumData* c1 = block(3, 1, 3);
    SpectrumData* a1 = block(1, 1, 3);
    ASSERT_TRUE(c1 && a1);
    EXPECT_NE(c1, a1);
    EXPECT_EQ(c1->type, 3);
    ASSERT_EQ(c1->Nprimaries, a1->Nprimaries);
    for (int i = 0; i < c1->Nprimaries; i++) {
        EXPECT_EQ(dynkin(c1, i), dynkin(a1, i));
        EXPECT_EQ(c1->Weight_num[i] * a1->Weight_denom, a1->Weight_num[i] * c1->Weight_denom);
    }
}

TEST(StoreRecords, IsingModelHasVacuumEnergyAndSpinFields) {
    SpectrumData* ising = block(2, 0, 1);
    ASSERT_NE(ising, nullptr);
    ASSERT_EQ(ising->Nprimaries, 3);
    std::multiset<double> weights;
    for (int i = 0; i < 3; i++)
        weights.insert(SM_realWeight(ising, i));
    EXPECT_EQ(weights, (std::multiset<double>{0.0, 1.0 / 16, 0.5}));
    EXPECT_DOUBLE_EQ(SM_getCentralCharge(ising), 0.5);
    EXPECT_EQ(SM_getCenter(ising), 2);
}

TEST(StoreRecords, InvalidTypesAreRefusedAtTheirPosition) {
    struct Case {
        int type, position;
    } cases[] = {{8, 1}, {10, 1}, {20, 0}, {26, 0}, {-150, 0}};
    for (const Case& c : cases) {
        int before = getError("SM_getData", c.position)->count;
        SpectrumData* sd = nullptr;
        std::string err = reportsOf([&] { sd = SM_getData(c.type, 2, 1); });
        EXPECT_EQ(sd, nullptr) << c.type;
        EXPECT_NE(err.find("Invalid algebra type"), std::string::npos) << c.type;
        EXPECT_EQ(getError("SM_getData", c.position)->count, before + 1) << c.type;
    }
}

TEST(StoreRecords, TypeSixIsNeverMadeHere) {
    SpectrumData* sd = block(1, 1, 1);
    std::string err = reportsOf([&] { sd = SM_getData(6, 0, 3); });
    EXPECT_EQ(sd, nullptr);
    EXPECT_EQ(err, "");
}

TEST(StoreRecords, TwistedAlgebrasAreBlocksAndB2tIsNotAValidTheory) {
    SpectrumData* b2 = block(12, 2, 1);
    SpectrumData* b2t = block(13, 1, 1);
    ASSERT_TRUE(b2 && b2t);
    EXPECT_EQ(b2->validCFT, 1);
    EXPECT_EQ(b2t->validCFT, 0);
    EXPECT_GT(b2t->Nprimaries, 0);
    EXPECT_EQ(SM_ConjugatesAvailable(b2), 0);
    EXPECT_EQ(SM_ConjugatesAvailable(b2t), 1);
    for (int i = 0; i < b2t->Nprimaries; i++)
        EXPECT_EQ(SM_getConjugate(b2t, i), i);
}

TEST(StoreRecords, FreeBosonNeedsAPositiveRadius) {
    SpectrumData* sd = nullptr;
    reportsOf([&] { sd = SM_getData(0, 0, 0); });
    EXPECT_EQ(sd, nullptr);
}

// 65536 x 65536 is 2^32, which an int product wraps to 0: such a key must not pass for the
// trivial algebra. Keys past the bounds are refused before the spectrum's int arithmetic
// (squared ranks and momenta, shifted levels) could overflow.
TEST(StoreRecords, KeysTooLargeForTheSpectrumAreRefused) {
    const struct {
        int type, rank, level;
    } refused[] = {{1, 65536, 65536}, {1, 2, 2147483647}, {1, 2147483647, 1},
                   {1, 1, 33554432},  {12, 10001, 1},     {0, 92681, 0}};
    for (const auto& c : refused) {
        SpectrumData* sd = nullptr;
        const std::string text = reportsOf([&] { sd = SM_getData(c.type, c.rank, c.level); });
        EXPECT_EQ(sd, nullptr) << c.type << "," << c.rank << "," << c.level;
        EXPECT_NE(text.find("Invalid input"), std::string::npos) << text;
    }
    // The free boson at the largest radius still has one field per unit of radius.
    SpectrumData* boson = block(0, 92680, 0);
    ASSERT_NE(boson, nullptr);
    EXPECT_EQ(boson->Nprimaries, 92680);
}

std::vector<std::uint32_t> counterTotals() {
    std::vector<std::uint32_t> totals;
    for (MemStats* ms = getFirstMS(); ms; ms = ms->next)
        totals.push_back(ms->stat->TotalAlloc);
    return totals;
}

// A20 at level 10 has binomial(30, 10) = 30045015 fields of 21 labels: one table of 2.5e9
// bytes, past the allocator's ceiling. Refused with one message before anything is allocated.
TEST(StoreRecords, BlocksPastTheAllocationCeilingAreRefusedUnbuilt) {
    SpectrumData* newest = SM_getFirstAlgebra();
    const std::size_t held = SM_getTotalAlloc();
    SpectrumData* sd = nullptr;
    const std::string text = reportsOf([&] { sd = SM_getData(1, 20, 10); });
    EXPECT_EQ(sd, nullptr);
    EXPECT_EQ(text.find("primaries"), text.rfind("primaries")) << text;
    EXPECT_NE(text.find("A20 level 10 has 30045015 primaries"), std::string::npos) << text;
    EXPECT_EQ(SM_getFirstAlgebra(), newest);
    EXPECT_EQ(SM_getTotalAlloc(), held);
    // C15 at level 12: binomial(27, 12) = 17383860 fields, whose tables would each fit, but
    // whose enumeration area would take twice its 278e6 ints.
    const std::string c15 = reportsOf([&] { sd = SM_getData(3, 15, 12); });
    EXPECT_EQ(sd, nullptr);
    EXPECT_NE(c15.find("C15 level 12 has 17383860 primaries"), std::string::npos) << c15;
    EXPECT_EQ(SM_getFirstAlgebra(), newest);
    EXPECT_EQ(SM_getTotalAlloc(), held);
    // Once the message has its own records, a refusal leaves every counter as it was.
    const std::vector<std::uint32_t> before = counterTotals();
    reportsOf([&] { sd = SM_getData(1, 20, 10); });
    EXPECT_EQ(sd, nullptr);
    EXPECT_EQ(counterTotals(), before);
}

TEST(StoreRecords, ConjugateTheoryNegatesWeightsAndDropsTheCurrents) {
    SpectrumData* a2 = block(1, 2, 1);
    SpectrumData* conj = block(-99, 2, 1);
    ASSERT_TRUE(a2 && conj);
    EXPECT_NE(conj, a2);
    EXPECT_EQ(conj->type, -99);
    EXPECT_DOUBLE_EQ(SM_getCentralCharge(conj), -2.0);
    EXPECT_EQ(SM_getCenter(conj), 1);
    EXPECT_EQ(conj->Norbits, conj->Nprimaries);
    EXPECT_EQ(conj->FCFTnumber, 0);
    for (int i = 0; i < conj->Nprimaries; i++)
        EXPECT_DOUBLE_EQ(SM_realWeight(conj, i), -SM_realWeight(a2, i));
    EXPECT_NE(std::string(SM_getAlgebraName(conj)).find("(Compl.)"), std::string::npos);
    // With a trivial group every field is its own orbit.
    SM_makeOrbitPointers(conj);
    for (int i = 0; i < conj->Nprimaries; i++)
        EXPECT_EQ(conj->OrbitPointers[i], i);
}

TEST(StoreRecords, ConjugateIsingLeavesTheIsingWeightsAlone) {
    SpectrumData* conj = block(-98, 0, 1);
    SpectrumData* ising = block(2, 0, 1);
    ASSERT_TRUE(conj && ising);
    std::multiset<double> weights;
    for (int i = 0; i < 3; i++) {
        weights.insert(SM_realWeight(ising, i));
        EXPECT_DOUBLE_EQ(SM_realWeight(conj, i), -SM_realWeight(ising, i));
    }
    EXPECT_EQ(weights, (std::multiset<double>{0.0, 1.0 / 16, 0.5}));
}

TEST(StoreRecords, FindCFTComparesWholeNames) {
    const char* first = "Theory made from a tensor product number one";
    const char* second = "Theory made from a tensor product number two";
    SpectrumData* a = allocateSpectrumData(first);
    SpectrumData* b = allocateSpectrumData(second);
    EXPECT_EQ(SM_findCFT(first), a);
    EXPECT_EQ(SM_findCFT(second), b);
    EXPECT_EQ(SM_findCFT("Theory made from a tensor product number"), nullptr);
    SpectrumData* a1 = block(1, 1, 1);
    EXPECT_EQ(SM_findCFT(SM_getAlgebraName(a1)), a1);
    EXPECT_EQ(SM_findCFT("A1 level"), nullptr);
}

TEST(StoreRecords, EveryBlockChargesItsOwnCounter) {
    SpectrumData* sd = block(1, 2, 2);
    EXPECT_STREQ(sd->TotalAlloc.txt, "Algebra A2 level 2");
    EXPECT_GT(sd->TotalAlloc.TotalAlloc, sizeof(SpectrumData));
    std::size_t sum = 0;
    for (SpectrumData* r = SM_getFirstAlgebra(); r; r = SM_nextAlgebra(r))
        sum += r->TotalAlloc.TotalAlloc;
    EXPECT_EQ(SM_getTotalAlloc(), sum);
    // The counter is registered with the memory report.
    bool registered = false;
    for (MemStats* ms = getFirstMS(); ms; ms = ms->next)
        registered |= ms->stat == &sd->TotalAlloc;
    EXPECT_TRUE(registered);
}

TEST(StoreRecords, NewRecordsTakeTheDocumentedDefaults) {
    SpectrumData* sd = allocateSpectrumData("Fresh record");
    EXPECT_EQ(sd->type, -1);
    EXPECT_EQ(sd->permutation_order, 1);
    EXPECT_EQ(sd->DualCoxeter, -1);
    EXPECT_EQ(sd->gradecurr, -1);
    EXPECT_EQ(sd->StoreS, 1);
    EXPECT_EQ(sd->CentralCharge, -1.0);
    EXPECT_EQ(SM_getFirstAlgebra(), sd);
    EXPECT_STREQ(sd->CurrentOuterAutomorphisms->name, "Current Outer Automorphism");
}

TEST(StoreLabels, LookupsByLabelVector) {
    SpectrumData* sd = block(1, 1, 3);
    for (int i = 0; i < sd->Nprimaries; i++) {
        EXPECT_EQ(SM_getLabel(sd, SM_getRep(sd, i)), i);
        EXPECT_EQ(SM_getLabelNoMessage(sd, SM_getRep(sd, i)), i);
        EXPECT_EQ(SM_getLieLabel(sd, SM_getRep(sd, i)), i);
    }
    int absent[2] = {5, 5};
    int lbl = 0;
    std::string err = reportsOf([&] { lbl = SM_getLabel(sd, absent); });
    EXPECT_EQ(lbl, -1);
    EXPECT_NE(err.find("Representation not found"), std::string::npos);
    EXPECT_EQ(SM_getLabelNoMessage(sd, absent), -1);
    // The Lie label ignores the affine entry.
    int finite[2] = {2, 99};
    int two = SM_getLieLabel(sd, finite);
    ASSERT_GE(two, 0);
    EXPECT_EQ(dynkin(sd, two), std::vector<int>{2});
    EXPECT_EQ(SM_getLabelInOrbit(sd, SM_getRep(sd, 0), 1), -1);
    EXPECT_EQ(SM_getLabelInOrbit(sd, SM_getRep(sd, 0), sd->Nprimaries), -1);
}

TEST(StoreLabels, BasicFieldsAreTheVacuumAndTheFundamentalWeights) {
    SpectrumData* sd = block(1, 2, 2);
    for (int i = 0; i < sd->Nprimaries; i++) {
        std::vector<int> l = dynkin(sd, i);
        EXPECT_EQ(SM_basicCheck(sd, i), l[0] + l[1] <= 1 ? 1 : 0);
    }
    EXPECT_EQ(SM_basicCheck(block(0, 4, 0), 3), 1);
}

TEST(StoreWeights, E8AtLevelTwoHasWeightsZeroFifteenSixteenthsAndThreeHalves) {
    SpectrumData* sd = block(5, 8, 2);
    std::set<std::pair<int, int>> weights;
    for (int i = 0; i < sd->Nprimaries; i++) {
        rat w;
        SM_getRatWeight(sd, i, &w);
        weights.insert({w.num, w.den});
        EXPECT_NEAR(SM_getLogT(sd, i), SM_realWeight(sd, i) - 15.5 / 24, 1e-12);
    }
    EXPECT_EQ(weights, (std::set<std::pair<int, int>>{{0, 1}, {15, 16}, {3, 2}}));
    int addim, cox, N, Norbits;
    double c;
    SM_getParameters(sd, &addim, &cox, &N, &Norbits, &c);
    EXPECT_EQ(addim, 248);
    EXPECT_EQ(cox, 30);
    EXPECT_EQ(N, 3);
    EXPECT_EQ(Norbits, 3);
}

TEST(StoreCharges, OrdersOfCurrents) {
    SpectrumData* d5 = block(4, 5, 1); // Z4
    EXPECT_EQ(SM_getCurrentOrder(d5, 0), 1);
    EXPECT_EQ(SM_getCurrentOrder(d5, 1), 4);
    EXPECT_EQ(SM_getCurrentOrder(d5, 2), 2);
    EXPECT_EQ(SM_getCurrentOrder(d5, 3), 4);
    SpectrumData* d4 = block(4, 4, 1); // Z2 x Z2
    for (int J = 1; J < 4; J++)
        EXPECT_EQ(SM_getCurrentOrder(d4, J), 2);
    SpectrumData* u6 = block(0, 6, 0);
    int expected[6] = {1, 6, 3, 2, 3, 6};
    for (int J = 0; J < 6; J++)
        EXPECT_EQ(SM_getCurrentOrder(u6, J), expected[J]);
    EXPECT_EQ(SM_getCurrentOrder(block(5, 8, 2), 0), 1);
}

TEST(StoreCharges, FreeBosonChargesAreMinusJTimesIOverN) {
    SpectrumData* sd = block(0, 4, 0);
    for (int J = 0; J < 4; J++)
        for (int i = 0; i < 4; i++) {
            rat Q;
            SM_getRatCharge(sd, J, i, &Q);
            RatToFrac(&Q);
            rat expected{((4 - J * i % 4) % 4), 4};
            simplifyRat(&expected);
            EXPECT_EQ(Q.num * expected.den, expected.num * Q.den) << J << "," << i;
        }
    rat Q;
    SM_getRatCharge(block(5, 8, 2), 0, 1, &Q);
    EXPECT_EQ(Q.num, 0);
}

TEST(StoreFields, FixtureArraysFollowTheDocumentedLayout) {
    SpectrumData* sd = allocateSpectrumData("Layout fixture");
    int orders[1] = {3};
    sd->SimpleCurrents = DG_find(orders, 1);
    sd->Nprimaries = 5;
    sd->RepSize = 2;
    std::uint32_t before = sd->TotalAlloc.TotalAlloc;
    SM_allocFieldInfo(sd, 1, 1);
    // 5 x (2 labels + weight + dimension + 3 orbit entries + 2 x 1 group entries + conjugate
    // + 4 contents) ints.
    EXPECT_EQ(sd->TotalAlloc.TotalAlloc - before, 5u * 14u * sizeof(int));
    EXPECT_EQ(sd->Weight_num, sd->ExtDynkin + 10);
    EXPECT_EQ(sd->Dimensions, sd->Weight_num + 5);
    EXPECT_EQ(sd->OrbitLabel, sd->Dimensions + 5);
    EXPECT_EQ(sd->Stabilizer, sd->OrbitPosition + 5);
    EXPECT_EQ(sd->Charges, sd->Stabilizer + 5);
    EXPECT_EQ(sd->Conjugates, sd->Charges + 5);
    EXPECT_EQ(sd->info, sd->Conjugates + 5);
    sd->FCFTnumber = 2;
    SM_allocFCFT(sd);
    EXPECT_EQ(sd->FCFTlabels, sd->FCFTshifts + 2);
    EXPECT_EQ(sd->FixedPointCFT[1], nullptr);
}

TEST(StoreFields, TrivialContentWithoutStringData) {
    SpectrumData* sd = allocateSpectrumData("Content fixture");
    sd->Nprimaries = 2;
    sd->RepSize = 1;
    sd->SimpleCurrents = DG_trivial();
    EXPECT_EQ(SM_isTrivial(sd, 0), 1); // no contents at all
    SM_allocFieldInfo(sd, 0, 1);
    Branching embedding{};
    embedding.N_G = 3;
    Heterotic H{};
    H.CovLatEmbedding = &embedding;
    H.CovLatDim = 4;
    H.massless[1][2] = 7;
    SM_allocHeterotic(sd, &H);
    EXPECT_EQ(sd->string_spectrum->CovLatDim, 4);
    EXPECT_EQ(sd->string_spectrum->massless[1][2], 7);
    EXPECT_EQ(sd->string_spectrum->Symmetric, 1);
    sd->info[4 + 2] = 1; // field 1 holds a class-2 representation
    EXPECT_EQ(SM_isTrivial(sd, 0), 1);
    EXPECT_EQ(SM_isTrivial(sd, 1), 0);
}

} // namespace
