#include "store/Storemanager.h"

#include "StoreTestHelpers.h"
#include "lie/Tarvik.h"
#include "store/StoremanagerInternal.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <set>
#include <string>
#include <vector>

namespace {

using storetest::block;
using storetest::dynkin;
using storetest::fieldWithLabels;
using storetest::reportsOf;

struct Triple {
    int type, rank, level;
};

const Triple tableBlocks[] = {{1, 1, 1},  {1, 1, 2},  {1, 1, 3},  {1, 1, 4}, {1, 2, 1},
                              {4, 4, 1},  {4, 5, 1},  {5, 8, 2},  {0, 4, 0}, {4, 4, 2},
                              {27, 2, 1}, {27, 2, 2}, {27, 2, 3}, {27, 2, 4}};

// h as a fraction reduced modulo 1, compared exactly.
rat weightOf(SpectrumData* sd, int i) {
    rat h;
    SM_getRatWeight(sd, i, &h);
    return h;
}

bool equalModOne(rat a, rat b) {
    rat d;
    subtractRat(&a, &b, &d);
    return intcheck(&d) == 0;
}

class CurrentAction : public testing::TestWithParam<Triple> {};

// The action J*i is a group action (the identity acts trivially, (J1 J2) i = J1 (J2 i)), its
// orbits have |G| / |stabilizer| members, their number is the block's orbit count, and the
// charges satisfy the monodromy identity Q_J(i) = h_J + h_i - h_(J i) modulo 1.
TEST_P(CurrentAction, IsAGroupActionWithTheMonodromyCharges) {
    const Triple& t = GetParam();
    SpectrumData* sd = block(t.type, t.rank, t.level);
    ASSERT_NE(sd, nullptr);
    int G = SM_getCenter(sd);
    std::set<std::vector<int>> orbits;
    for (int i = 0; i < sd->Nprimaries; i++) {
        EXPECT_EQ(SM_SimpleAction(sd, 0, i), i);
        std::vector<int> orbit;
        for (int J = 0; J < G; J++) {
            int f = SM_SimpleAction(sd, J, i);
            ASSERT_GE(f, 0);
            orbit.push_back(f);
            for (int K = 0; K < G; K++)
                EXPECT_EQ(SM_SimpleAction(sd, K, f),
                          SM_SimpleAction(sd, SM_SimpleCurrentFusion(sd, K, J), i));
            rat Q, expected;
            SM_getRatCharge(sd, J, i, &Q);
            rat hJ = weightOf(sd, J), hi = weightOf(sd, i), hf = weightOf(sd, f);
            addRat(&hJ, &hi, &expected);
            subtractRat(&expected, &hf, &expected);
            EXPECT_TRUE(equalModOne(Q, expected)) << "J=" << J << " i=" << i;
        }
        int* stab = nullptr;
        int len = SM_MakeStabilizer(sd, i, &stab);
        std::sort(orbit.begin(), orbit.end());
        orbit.erase(std::unique(orbit.begin(), orbit.end()), orbit.end());
        EXPECT_EQ(static_cast<int>(orbit.size()) * len, G) << "field " << i;
        for (int s = 0; s < len; s++)
            EXPECT_EQ(SM_SimpleAction(sd, stab[s], i), i);
        orbits.insert(orbit);
    }
    EXPECT_EQ(static_cast<int>(orbits.size()), sd->Norbits);
}

std::string tripleName(const testing::TestParamInfo<Triple>& info) {
    const Triple& t = info.param;
    return "Type" + std::to_string(t.type) + "Rank" + std::to_string(t.rank) + "Level" +
           std::to_string(t.level);
}

INSTANTIATE_TEST_SUITE_P(Store, CurrentAction, testing::ValuesIn(tableBlocks), tripleName);

TEST(StoreCurrents, A1CurrentReflectsTheLabel) {
    for (int k = 1; k <= 4; k++) {
        SpectrumData* sd = block(1, 1, k);
        for (int i = 0; i < sd->Nprimaries; i++) {
            int f = SM_SimpleAction(sd, 1, i);
            EXPECT_EQ(dynkin(sd, f)[0], k - dynkin(sd, i)[0]) << "level " << k;
        }
    }
}

// D4 at level 2, extended labels (a1, a2, a3, a4, a0): the vector current exchanges a0 with a1
// and a3 with a4; the adjoint weight (0,1,0,0) is fixed by every current.
TEST(StoreCurrents, D4LevelTwoVectorCurrentAndFullStabilizer) {
    SpectrumData* sd = block(4, 4, 2);
    ASSERT_EQ(SM_getCenter(sd), 4);
    for (int i = 0; i < sd->Nprimaries; i++) {
        const int* a = SM_getRep(sd, i);
        const int* b = SM_getRep(sd, SM_SimpleAction(sd, 2, i));
        EXPECT_EQ(b[0], a[4]);
        EXPECT_EQ(b[4], a[0]);
        EXPECT_EQ(b[1], a[1]);
        EXPECT_EQ(b[2], a[3]);
        EXPECT_EQ(b[3], a[2]);
    }
    int adjoint = fieldWithLabels(sd, {0, 1, 0, 0});
    ASSERT_GE(adjoint, 0);
    int* stab = nullptr;
    ASSERT_EQ(SM_MakeStabilizer(sd, adjoint, &stab), 4);
    EXPECT_EQ(std::set<int>(stab, stab + 4), (std::set<int>{0, 1, 2, 3}));
    EXPECT_EQ(SM_ReduceModuloStabilizer(sd, adjoint, 3), 0);
    // (1,0,0,0) at level 2 has a0 = 1 and is fixed by the vector current only.
    int vector = fieldWithLabels(sd, {1, 0, 0, 0});
    ASSERT_GE(vector, 0);
    EXPECT_EQ(SM_MakeStabilizer(sd, vector, &stab), 2);
    EXPECT_EQ(std::set<int>(stab, stab + 2), (std::set<int>{0, 2}));
    EXPECT_EQ(SM_SimpleAction(sd, 1, vector), SM_SimpleAction(sd, 3, vector));
    EXPECT_EQ(SM_ReduceModuloStabilizer(sd, vector, 3), 1);
}

TEST(StoreCurrents, TrivialGroupAnswersTheFieldItself) {
    SpectrumData* sd = block(5, 8, 2);
    int* stab = nullptr;
    for (int i = 0; i < 3; i++) {
        EXPECT_EQ(SM_SimpleAction(sd, 0, i), i);
        EXPECT_EQ(SM_MakeStabilizer(sd, i, &stab), 1);
        EXPECT_EQ(stab[0], 0);
        EXPECT_EQ(SM_ReduceModuloStabilizer(sd, i, 0), 0);
    }
    EXPECT_EQ(SM_SimpleCurrentFusion(sd, 0, 0), 0);
    EXPECT_EQ(SM_SimpleCurrentPower(sd, 0, 5), 0);
}

TEST(StoreCurrents, ProductsAndPowers) {
    SpectrumData* d5 = block(4, 5, 1); // Z4 generated by current 1
    EXPECT_EQ(SM_SimpleCurrentFusion(d5, 1, 1), 2);
    EXPECT_EQ(SM_SimpleCurrentFusion(d5, 3, 2), 1);
    EXPECT_EQ(SM_SimpleCurrentPower(d5, 1, 3), 3);
    EXPECT_EQ(SM_SimpleCurrentPower(d5, 1, 4), 0);
    EXPECT_EQ(SM_SimpleCurrentPower(d5, 3, 0), 0);
    SpectrumData* d4 = block(4, 4, 1); // Z2 x Z2
    EXPECT_EQ(SM_SimpleCurrentFusion(d4, 1, 2), 3);
    EXPECT_EQ(SM_SimpleCurrentFusion(d4, 3, 3), 0);
    EXPECT_EQ(SM_SimpleCurrentPower(d4, 3, 3), 3);
    int J = 0;
    std::string err = reportsOf([&] { J = SM_SimpleCurrentFusion(d4, 1, 4); });
    EXPECT_EQ(J, -1);
    EXPECT_NE(err.find("Current not found"), std::string::npos);
}

TEST(StoreCurrents, OutOfRangeLabelsAreReported) {
    SpectrumData* sd = block(1, 1, 2);
    int f = 0;
    std::string err = reportsOf([&] { f = SM_SimpleAction(sd, 1, 3); });
    EXPECT_EQ(f, -1);
    EXPECT_NE(err.find("Primary out of range (3 > 3) Alg(1,1,2)"), std::string::npos);
    err = reportsOf([&] { f = SM_SimpleAction(sd, 2, 0); });
    EXPECT_EQ(f, -1);
    EXPECT_NE(err.find("Current out of range"), std::string::npos);
}

TEST(StoreCurrents, FixedPointTest) {
    struct Case {
        Triple t;
        int current, expected;
    } cases[] = {
        {{1, 1, 1}, 1, 0}, {{1, 1, 2}, 1, 1}, {{1, 1, 4}, 1, 1}, {{0, 4, 0}, 2, 0},
        {{0, 4, 0}, 0, 1}, {{2, 0, 1}, 1, 1}, {{4, 5, 2}, 2, 1}, {{4, 5, 2}, 1, 0},
        {{4, 4, 1}, 1, 0}, {{5, 8, 2}, 0, 1}, {{1, 2, 3}, 1, 1}, {{1, 2, 2}, 2, 0},
    };
    for (const Case& c : cases) {
        SpectrumData* sd = block(c.t.type, c.t.rank, c.t.level);
        EXPECT_EQ(SM_fixedPointCurrent(sd, c.current), c.expected)
            << c.t.type << "," << c.t.rank << "," << c.t.level << " J=" << c.current;
        // Cross-check against the fields themselves.
        bool fixes = false;
        for (int i = 0; i < sd->Nprimaries; i++)
            fixes |= SM_SimpleAction(sd, c.current, i) == i;
        EXPECT_EQ(fixes ? 1 : 0, c.expected);
    }
}

std::set<std::vector<int>> automorphismRows(SpectrumData* sd) {
    SM_getCurrentOuterAutomorphisms(sd);
    VectorSpace* v = sd->CurrentOuterAutomorphisms;
    std::set<std::vector<int>> rows;
    for (int r = 0; r < v->Nfill; r++) {
        const int* row = v->Space + r * v->rowsize;
        rows.insert(std::vector<int>(row, row + SM_getCenter(sd)));
    }
    EXPECT_EQ(static_cast<int>(rows.size()), v->Nfill);
    return rows;
}

TEST(StoreCurrents, D4TrialityPermutesTheThreeEightDimensionalFields) {
    SpectrumData* sd = block(4, 4, 1);
    std::set<std::vector<int>> rows = automorphismRows(sd);
    std::set<std::vector<int>> all;
    std::vector<int> p{1, 2, 3};
    do
        all.insert({0, p[0], p[1], p[2]});
    while (std::next_permutation(p.begin(), p.end()));
    EXPECT_EQ(rows, all);
    ASSERT_EQ(SM_initDimensions(sd), 1);
    for (const auto& row : rows)
        for (int J = 1; J < 4; J++)
            EXPECT_EQ(sd->Dimensions[row[J]], 8);
    EXPECT_EQ(sd->Dimensions[0], 1);
}

TEST(StoreCurrents, OuterAutomorphismsOfOtherBlocks) {
    using Rows = std::set<std::vector<int>>;
    // D at even rank other than 4: the exchange of the two spinor currents.
    EXPECT_EQ(automorphismRows(block(4, 6, 1)), (Rows{{0, 1, 2, 3}, {0, 3, 2, 1}}));
    // Complex blocks: conjugation.
    EXPECT_EQ(automorphismRows(block(4, 5, 1)), (Rows{{0, 1, 2, 3}, {0, 3, 2, 1}}));
    EXPECT_EQ(automorphismRows(block(1, 2, 1)), (Rows{{0, 1, 2}, {0, 2, 1}}));
    EXPECT_EQ(automorphismRows(block(0, 4, 0)), (Rows{{0, 1, 2, 3}, {0, 3, 2, 1}}));
    // Real blocks, and a complex one whose conjugation fixes every current.
    EXPECT_EQ(automorphismRows(block(1, 1, 3)), (Rows{{0, 1}}));
    EXPECT_EQ(automorphismRows(block(0, 2, 0)), (Rows{{0, 1}}));
    EXPECT_EQ(automorphismRows(block(5, 8, 2)), (Rows{{0}}));
}

TEST(StoreConjugation, ConjugatesByBlockKind) {
    SpectrumData* u4 = block(0, 4, 0);
    int expectedU[4] = {0, 3, 2, 1};
    for (int i = 0; i < 4; i++)
        EXPECT_EQ(SM_getConjugate(u4, i), expectedU[i]);
    SpectrumData* a1 = block(1, 1, 4);
    for (int i = 0; i < a1->Nprimaries; i++)
        EXPECT_EQ(SM_getConjugate(a1, i), i);
    // A2: (a1, a2) -> (a2, a1).
    SpectrumData* a2 = block(1, 2, 3);
    for (int i = 0; i < a2->Nprimaries; i++) {
        std::vector<int> l = dynkin(a2, i);
        EXPECT_EQ(SM_getConjugate(a2, i), fieldWithLabels(a2, {l[1], l[0]}));
    }
    EXPECT_EQ(SM_getConjugate(a2, -1), -1);
}

TEST(StoreConjugation, BlockWithoutConjugationAnswersNone) {
    SpectrumData* conj = block(-99, 2, 1);
    EXPECT_EQ(SM_ConjugatesAvailable(conj), 0);
    int c = 0;
    std::string err = reportsOf([&] { c = SM_getConjugate(conj, 1); });
    EXPECT_EQ(c, -1);
    EXPECT_NE(err.find("Conjugates not defined for this algebra"), std::string::npos);
    EXPECT_EQ(SM_initConjugates(conj), 0);
}

TEST(StoreConjugation, OrbifoldRuleAndUnsupportedKinds) {
    SpectrumData* orb = allocateSpectrumData("Orbifold conjugation fixture");
    orb->type = 7;
    orb->rank = 5;
    int five[][2] = {{1, 3}, {3, 1}, {8, 9}, {9, 8}, {10, 11}, {11, 10}, {0, 0}, {2, 2}, {12, 12}};
    for (auto& p : five)
        EXPECT_EQ(SM_computeConjugate(orb, p[0]), p[1]) << p[0];
    orb->rank = 7;
    int seven[][2] = {{10, 13}, {13, 10}, {11, 12}, {12, 11}, {1, 3}, {14, 14}};
    for (auto& p : seven)
        EXPECT_EQ(SM_computeConjugate(orb, p[0]), p[1]) << p[0];
    orb->rank = 6;
    for (int i = 0; i < 14; i++)
        EXPECT_EQ(SM_computeConjugate(orb, i), i);
    orb->type = 26;
    int c = 0;
    std::string err = reportsOf([&] { c = SM_computeConjugate(orb, 0); });
    EXPECT_EQ(c, -1);
    EXPECT_NE(err.find("Conjugation for this algebra not defined or not built in"),
              std::string::npos);
    orb->type = 13;
    EXPECT_EQ(SM_computeConjugate(orb, 4), 4);
}

// D8 at level 1: the spinor currents 1 and 3 have weight 1, the vector current 2 weight 1/2;
// the automorphism exchanging the spinors permutes the integer-spin currents {0, 1, 3}.
TEST(StoreCurrents, IntegerSpinPermutations) {
    SpectrumData* sd = block(4, 8, 1);
    IntegerList L;
    initList(&L, 4);
    for (int J = 0; J < 4; J++)
        if (sd->Weight_num[J] % sd->Weight_denom == 0)
            addToList(&L, J);
    ASSERT_EQ(L.cnt, 3);
    EXPECT_EQ(std::vector<int>(L.list.X, L.list.X + 3), (std::vector<int>{0, 1, 3}));
    VectorSpace* perms = SM_getIntegerSpinPermutations(sd, &L);
    ASSERT_NE(perms, nullptr);
    ASSERT_EQ(perms->Nfill, 2);
    std::vector<int> first(perms->Space, perms->Space + 3);
    std::vector<int> second(perms->Space + perms->rowsize, perms->Space + perms->rowsize + 3);
    EXPECT_EQ(first, (std::vector<int>{0, 1, 2}));
    EXPECT_EQ(second, (std::vector<int>{0, 2, 1}));
}

TEST(StoreCurrentsDeathTest, IntegerSpinCurrentsNotClosedEndTheProgram) {
    SpectrumData* sd = block(4, 8, 1);
    IntegerList L;
    initList(&L, 2);
    addToList(&L, 0);
    addToList(&L, 1);
    EXPECT_EXIT(SM_getIntegerSpinPermutations(sd, &L), testing::ExitedWithCode(1),
                "Integer spin currents not closed under permutations");
}

TEST(StoreCurrents, FusionTableHoldsTheCurrentAction) {
    SpectrumData* sd = block(1, 1, 3);
    makeFusionTable(sd);
    int* table = sd->fusion_table;
    makeFusionTable(sd); // a rebuild keeps the table
    EXPECT_EQ(sd->fusion_table, table);
    for (int i = 0; i < sd->Nprimaries; i++) {
        EXPECT_EQ(getResultFromFusionTable(sd, 0, i), i);
        int f = getResultFromFusionTable(sd, 1, i);
        EXPECT_EQ(dynkin(sd, f)[0], 3 - dynkin(sd, i)[0]);
    }
}

TEST(StoreCurrentsDeathTest, WrongIdentityRowIsFatal) {
    SpectrumData* sd = block(1, 1, 3);
    makeFusionTable(sd);
    EXPECT_EXIT(
        {
            sd->fusion_table[1] = 2;
            getResultFromFusionTable(sd, 0, 1);
        },
        testing::ExitedWithCode(1), "");
}

TEST(StoreCurrents, OrbitPointersListTheGenerators) {
    SpectrumData* sd = block(1, 1, 4);
    SM_makeOrbitPointers(sd);
    ASSERT_NE(sd->OrbitPointers, nullptr);
    for (int o = 0; o < sd->Norbits; o++) {
        int g = sd->OrbitPointers[o];
        EXPECT_EQ(sd->OrbitGenerator[g], g);
        EXPECT_EQ(sd->OrbitLabel[g], o);
    }
}

} // namespace
