#include "store/Storemanager.h"

#include "StoreTestHelpers.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

using storetest::block;
using storetest::reportsOf;

TEST(StoreGrading, RefusedGradeCurrents) {
    struct Case {
        int type, rank, level, current;
        const char* message;
    } cases[] = {
        // Z4 generator of U(1) at radius 4.
        {0, 4, 0, 1, "Grade current should have order 2"},
        {5, 8, 2, 0, "Grade current should have order 2"},
        // The A1 current has weight k/4.
        {1, 1, 1, 1, "Grade current should have (half)-integer spin"},
        // At even level the A1 current fixes the field k/2.
        {1, 1, 2, 1, "Current 1 has fixed points and cannot be used as grade current"},
    };
    for (const Case& c : cases) {
        SpectrumData* sd = block(c.type, c.rank, c.level);
        int result = 0;
        std::string err = reportsOf([&] { result = SM_grade(sd, c.current); });
        EXPECT_EQ(result, 1);
        EXPECT_NE(err.find(c.message), std::string::npos) << err;
        EXPECT_EQ(sd->graded, 0);
        EXPECT_EQ(sd->grade, nullptr);
        EXPECT_EQ(sd->gradecurr, -1);
    }
}

// D5 at level 1 graded by the vector current (weight 1/2): the vacuum and the vector are NS,
// the two spinors R.
TEST(StoreGrading, D5ByTheVectorCurrent) {
    SpectrumData* sd = block(4, 5, 1);
    ASSERT_EQ(SM_grade(sd, 2), -1);
    EXPECT_EQ(sd->graded, 1);
    EXPECT_EQ(sd->gradecurr, 2);
    EXPECT_EQ(std::string(sd->grade, 4), "NRNR");
    EXPECT_EQ(std::vector<int>(sd->multiplets, sd->multiplets + 4), (std::vector<int>{2, 3, 0, 1}));
    char* grade = sd->grade;
    EXPECT_EQ(SM_grade(sd, 1), -1); // graded already: nothing changes
    EXPECT_EQ(sd->grade, grade);
    EXPECT_EQ(sd->gradecurr, 2);
    EXPECT_EQ(SM_makeNSCurrents(sd, 1), 2);
    EXPECT_EQ(std::vector<int>(sd->NSCurrents, sd->NSCurrents + 2), (std::vector<int>{0, 2}));
    EXPECT_EQ(SM_makeNSCurrents(sd, 0), 4);
    EXPECT_EQ(std::vector<int>(sd->NSCurrents, sd->NSCurrents + 4), (std::vector<int>{0, 1, 2, 3}));
    EXPECT_EQ(SM_makeNSCurrents_ZNX_VERSION(sd, 0), 0);
    EXPECT_EQ(std::vector<int>(sd->NSCurrents, sd->NSCurrents + 2), (std::vector<int>{0, 2}));
}

TEST(StoreGrading, UngradedGradeMapListsEveryFieldTwice) {
    SpectrumData* sd = block(1, 1, 3);
    int N = sd->Nprimaries;
    std::vector<int> space(2 * N, -7);
    int Nc = 0, Rc = 0, Nm = 0, Rm = 0, gcount = 5;
    SM_makeGradeMap(sd, space.data(), &Nc, &Rc, &Nm, &Rm, &gcount);
    for (int i = 0; i < N; i++) {
        EXPECT_EQ(space[i], i);
        EXPECT_EQ(space[N + i], i);
    }
    EXPECT_EQ(Nc, 2);
    EXPECT_EQ(Rc, 2);
    EXPECT_EQ(Nm, N);
    EXPECT_EQ(Rm, N);
    EXPECT_EQ(gcount, 5);
    EXPECT_EQ(SM_makeNSCurrents(sd, 1), 2);
}

// A3 at level 3 graded by J^2 (weight 3/2, no fixed points): the sector is the parity of the
// congruence class a1 + 2 a2 + 3 a3 modulo 4, whose four classes hold 5 of the 20 fields each;
// the currents J^0, J^2 are NS, J^1, J^3 R.
TEST(StoreGrading, GradeMapsOfA3LevelThree) {
    SpectrumData* sd = block(1, 3, 3);
    ASSERT_EQ(sd->Nprimaries, 20);
    ASSERT_EQ(SM_grade(sd, 2), -1);
    for (int i = 0; i < 20; i++) {
        const int* a = SM_getRep(sd, i);
        EXPECT_EQ(sd->grade[i], (a[0] + 2 * a[1] + 3 * a[2]) % 2 == 0 ? 'N' : 'R') << i;
    }
    std::vector<int> space(40, -1);
    int Nc, Rc, Nm, Rm, gcount = 0;
    SM_makeGradeMap(sd, space.data(), &Nc, &Rc, &Nm, &Rm, &gcount);
    EXPECT_EQ(gcount, 1);
    EXPECT_EQ(Nm, 10);
    EXPECT_EQ(Rm, 10);
    EXPECT_EQ(Nc, 2);
    EXPECT_EQ(Rc, 2);
    EXPECT_EQ(std::vector<int>(space.begin(), space.begin() + 2), (std::vector<int>{0, 2}));
    EXPECT_EQ(std::vector<int>(space.begin() + 20, space.begin() + 22), (std::vector<int>{1, 3}));
    // Later maps keep the member of each multiplet with the smaller label.
    SM_makeGradeMap(sd, space.data(), &Nc, &Rc, &Nm, &Rm, &gcount);
    EXPECT_EQ(gcount, 2);
    EXPECT_EQ(Nm, 5);
    EXPECT_EQ(Rm, 5);
    EXPECT_EQ(Nc, 1);
    EXPECT_EQ(Rc, 1);
    for (int k = 0; k < Nm; k++)
        EXPECT_LT(space[k], sd->multiplets[space[k]]);
    for (int k = 0; k < Rm; k++)
        EXPECT_LT(space[20 + k], sd->multiplets[space[20 + k]]);
}

// A block with a Z2 current of integer weight that has integer charge with every current:
// both currents are NS, twice the count that half the group would give.
SpectrumData* twoNSCurrentsFixture() {
    static SpectrumData* sd = nullptr;
    if (sd)
        return sd;
    sd = allocateSpectrumData("NS current fixture");
    int orders[1] = {2};
    sd->SimpleCurrents = DG_find(orders, 1);
    sd->Nprimaries = 4;
    sd->Norbits = 2;
    sd->RepSize = 1;
    SM_allocFieldInfo(sd, 0, 0);
    int generators[4] = {0, 0, 2, 2}, positions[4] = {0, 1, 0, 1}, charges[4] = {0, 0, 1, 1};
    sd->Weight_denom = 2;
    int weights[4] = {0, 2, 1, 1};
    for (int i = 0; i < 4; i++) {
        sd->ExtDynkin[i] = i;
        sd->OrbitGenerator[i] = generators[i];
        sd->OrbitPosition[i] = positions[i];
        sd->OrbitLabel[i] = i / 2;
        sd->Charges[i] = charges[i];
        sd->Weight_num[i] = weights[i];
    }
    return sd;
}

TEST(StoreGrading, NSCurrentTableHoldsEveryNSCurrent) {
    SpectrumData* sd = twoNSCurrentsFixture();
    if (!sd->graded) {
        ASSERT_EQ(SM_grade(sd, 1), -1);
    }
    EXPECT_EQ(std::string(sd->grade, 4), "NNRR");
    int n = 0;
    std::string err = reportsOf([&] { n = SM_makeNSCurrents(sd, 1); });
    EXPECT_NE(err.find("NS current count error (2 != 1)"), std::string::npos);
    EXPECT_EQ(n, 1);
    ASSERT_EQ(sd->NSCurrentCount, 2);
    EXPECT_EQ(sd->NSCurrents[0], 0);
    EXPECT_EQ(sd->NSCurrents[1], 1);
}

} // namespace
