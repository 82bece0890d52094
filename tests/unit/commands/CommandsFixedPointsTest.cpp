// The commands that make fixed-point theories current and show shifts, on A3 at level 2: its
// vector-like current 2 (of order 2 in Z4) fixes two fields, resolved by A1 at level 1 with
// shift 6; currents 1 and 3 fix nothing; the label 4, the order, stands for the identity. The
// handlers are called as the interpreter calls them, the typed last word before the arguments.
#include "CommandsTestHelpers.h"

#include "commands/CommandsFixedPoints.h"
#include "commands/CommandsInternal.h"
#include "store/Storemanager.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

using cmdtest::Captured;
using cmdtest::has;

namespace {

// Integer arguments, or a name followed by integers.
int call(COM handler, const char* typed, std::vector<int> args, const char* name = nullptr) {
    std::string word = typed;
    std::string text = name ? name : "";
    std::vector<void*> slots{word.data()};
    if (name)
        slots.push_back(text.data());
    for (int& a : args)
        slots.push_back(&a);
    return handler(slots.data() + 1, static_cast<int>(slots.size()) - 1);
}

class FixedPointCommands : public testing::Test {
protected:
    void SetUp() override {
        cmdtest::startSingleAlgebraMode();
        a3 = SM_getData(1, 3, 2);
        ASSERT_NE(a3, nullptr);
        commands::makeBlockCurrent(a3);
        COM_compute(nullptr, 0);
    }
    void TearDown() override { setCosetMode(0); }
    SpectrumData* a3 = nullptr;
};

TEST_F(FixedPointCommands, GetFcftMakesTheFixedPointTheoryCurrent) {
    Captured cap;
    EXPECT_EQ(call(COM_fcft2, "fcft", {2}), -1);
    EXPECT_EQ(cap.out(), "CFT A1 level 1; 2 primaries (2 simple currents)\n"
                         "Mode: Single algebra\nAlgebra \"A1 level 1\"\n");
    EXPECT_EQ(getCurrentSD(), SM_getData(1, 1, 1));
    EXPECT_EQ(Spectrum_Computed, 1);
}

// The order of the group is the identity: the block stays, its spectrum already computed.
TEST_F(FixedPointCommands, GetFcftOfTheIdentityKeepsTheBlock) {
    Captured cap;
    EXPECT_EQ(call(COM_fcft2, "fcft", {4}), -1);
    EXPECT_EQ(cap.out(), "");
    EXPECT_EQ(getCurrentSD(), a3);
}

TEST_F(FixedPointCommands, GetFcftRefusals) {
    struct Case {
        int current;
        const char* message;
    };
    for (const Case& c : {Case{5, "Current out of range"}, Case{1000, "Current out of range"},
                          Case{-1, "Current out of range"}, Case{1, "Current has no fixed point"},
                          Case{3, "Current has no fixed point"}}) {
        Captured cap;
        EXPECT_EQ(call(COM_fcft2, "fcft", {c.current}), 1) << c.current;
        EXPECT_TRUE(has(cap.err(), c.message)) << c.current << ": " << cap.err();
        EXPECT_EQ(getCurrentSD(), a3);
    }
}

TEST_F(FixedPointCommands, AlgebraFcftByNameAndItsRefusals) {
    {
        Captured cap;
        EXPECT_EQ(call(COM_algebra, "fcft", {2}, "A3 level 2"), -2);
        EXPECT_TRUE(has(cap.out(), "CFT A1 level 1; 2 primaries")) << cap.out();
        EXPECT_EQ(getCurrentSD(), SM_getData(1, 1, 1));
    }
    {
        Captured cap;
        EXPECT_EQ(call(COM_algebra, "fcft", {4}, "A3 level 2"), -2);
        EXPECT_EQ(cap.out(), "CFT A3 level 2; 10 primaries (4 simple currents)\n");
        EXPECT_EQ(getCurrentSD(), a3);
    }
    struct Case {
        const char* name;
        int current;
        const char* message;
    };
    for (const Case& c : {Case{"No such theory", 2, "No such algebra"},
                          Case{"A3 level 2", 5, "Current out of range"},
                          Case{"A3 level 2", 3, "Current has no fixed point"}}) {
        Captured cap;
        EXPECT_EQ(call(COM_algebra, "fcft", {c.current}, c.name), 1) << c.message;
        EXPECT_TRUE(has(cap.err(), c.message)) << cap.err();
        EXPECT_EQ(Spectrum_Computed, 0);
    }
}

// A theory stored under "<name>_<f-1>" is the f-th fixed-point theory of that name.
TEST_F(FixedPointCommands, StoredTheoryOfTheFixedPointNameIsTaken) {
    std::vector<int> row(a3->Nprimaries, -1);
    row[8] = 0;
    row[9] = 1;
    SpectrumData* stored = SM_createFCFT(a3->Nprimaries, "A3 level 2_0", a3, row.data(), 2, 0);
    {
        Captured cap;
        EXPECT_EQ(call(COM_fcft2, "fcft", {2}), -1);
        EXPECT_TRUE(has(cap.out(), "Algebra \"A3 level 2_0\"")) << cap.out();
    }
    EXPECT_EQ(getCurrentSD(), stored);
    // Renamed, so that no other test finds it.
    stored->AlgebraName[0] = '#';
}

TEST_F(FixedPointCommands, ShiftParameter) {
    Captured cap;
    EXPECT_EQ(call(COM_get_fcftshift, "fcft_shift", {2}), -1);
    EXPECT_EQ(call(COM_get_fcftshift, "fcft_shift", {1}), 1);
    // The identity shows nothing and takes its argument, so that nothing is left over to be
    // read as a command.
    EXPECT_EQ(call(COM_get_fcftshift, "fcft_shift", {0}), -1);
    EXPECT_EQ(cap.out(), "Shift parameter: 6\nCurrent has no fixed points\n");
}

// The tensor product has none of these data (yet): each command says so in its own words.
TEST_F(FixedPointCommands, TensorModeRefusals) {
    setCosetMode(1);
    struct Case {
        COM handler;
        int rc;
        const char* message;
    };
    for (const Case& c : {Case{COM_browse_twist, 1, "Twist not available for tensor products"},
                          Case{COM_etatwist, 0, "Not yet built in for tensor mode"},
                          Case{COM_check_twists, 0, "Not yet built in for tensor mode"},
                          Case{COM_check_twist_prod, 0, "Not yet built in for tensor mode"},
                          Case{COM_browse_eta, 1, "Feature not available for tensor products"},
                          Case{COM_check_class, 1, "Command not defined for this algebra"}}) {
        Captured cap;
        EXPECT_EQ(call(c.handler, "x", {}), c.rc) << c.message;
        EXPECT_TRUE(has(cap.err(), c.message)) << cap.err();
        EXPECT_EQ(cap.out(), "");
    }
    setCosetMode(0);
}

TEST(EtaText, PhasesAndPadding) {
    struct Case {
        int num, den, width;
        const char* text;
    };
    const Case cases[] = {
        {0, 1, 4, " 1  "},      {1, 2, 4, "-1  "},  {1, 4, 4, " i  "},    {3, 4, 7, "-i     "},
        {2, 4, 4, "-1  "},      {1, 3, 4, "3^1 "},  {5, 8, 7, "8^5    "}, {1, 3, 3, "***"},
        {5, 12, 5, "12^5 "},    {5, 12, 4, "*** "}, {11, 12, 5, "***  "}, {11, 12, 6, "12^11 "},
        {1, 100, 7, "***    "}, {0, 1, 1, " 1"},
    };
    for (const Case& c : cases) {
        char text[32];
        const rat eta{c.num, c.den};
        const char* end = etaStr(text, &eta, c.width);
        EXPECT_EQ(std::string(text), c.text) << c.num << "/" << c.den << " width " << c.width;
        EXPECT_EQ(end, text + std::string(c.text).size());
    }
}

} // namespace
