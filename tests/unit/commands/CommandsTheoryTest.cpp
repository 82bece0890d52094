// The single-algebra commands on real building blocks of the store. The handlers are called
// directly, as the interpreter calls them: converted integer arguments, and before them the last
// command word as typed. Counts are checked against closed forms: A_r at level k has
// binomial(k+r, r) primaries, the centre of the algebra gives the simple currents.
#include "CommandsTestHelpers.h"

#include "commands/CommandsInternal.h"
#include "interpreter/Interpreter.h"
#include "modular/ModularFileNames.h"
#include "store/Storemanager.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

using cmdtest::call;
using cmdtest::Captured;
using cmdtest::has;

namespace {

int callWithText(COM handler, const char* typed, const char* text) {
    std::string word = typed;
    std::string argument = text;
    std::vector<void*> slots{word.data(), argument.data()};
    return handler(slots.data() + 1, 1);
}

class SingleAlgebraTest : public testing::Test {
protected:
    void SetUp() override {
        cmdtest::startSingleAlgebraMode();
        commands::makeBlockCurrent(SM_getData(1, 0, 0));
    }
    void TearDown() override { setCosetMode(0); }
    // Loads a block and returns what it printed.
    static std::string load(const char* typed, std::vector<int> args, int expectedRc) {
        Captured cap;
        EXPECT_EQ(call(COM_algebra, typed, args), expectedRc) << typed;
        return cap.out() + cap.err();
    }
};

TEST_F(SingleAlgebraTest, AlgebraWordsLoadTheBlockAndComputeItsSpectrum) {
    struct Case {
        const char* typed;
        std::vector<int> args;
        const char* line;
        int primaries;
        int currents;
    };
    const Case cases[] = {
        // binomial(k+r, r) primaries, centre Z_(r+1)
        {"a", {1, 3}, "CFT A1 level 3; 4 primaries (2 simple currents)\n", 4, 2},
        {"A", {3, 2}, "CFT A3 level 2; 10 primaries (4 simple currents)\n", 10, 4},
        // singlet, vector and spinor; centre Z2
        {"b", {2, 1}, "CFT B2 level 1; 3 primaries (2 simple currents)\n", 3, 2},
        // the three fundamentals of C3 all have comark 1
        {"c", {3, 1}, "CFT C3 level 1; 4 primaries (2 simple currents)\n", 4, 2},
        // D5: centre Z4
        {"d", {5, 1}, "CFT D5 level 1; 4 primaries (4 simple currents)\n", 4, 4},
        // E7 at level 2: 0, the 56 (comark 1), twice the 56, and the three nodes of comark 2
        {"e", {7, 2}, "CFT E7 level 2; 6 primaries (2 simple currents)\n", 6, 2},
        // F4 at level 1: 1 and 26; G2 at level 2: 0, 7, twice 7 and the 14
        {"f", {4, 1}, "CFT F4 level 1; 2 primaries\n", 2, 1},
        {"g", {2, 2}, "CFT G2 level 2; 4 primaries\n", 4, 1},
        // The radius is the number of primaries, all of them simple currents.
        {"u", {6}, "CFT U(1) radius 6; 6 primaries (6 simple currents)\n", 6, 6},
        {"U", {2}, "CFT U(1) radius 2; 2 primaries (2 simple currents)\n", 2, 2},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.line);
        const int consumed = static_cast<int>(c.args.size());
        EXPECT_EQ(load(c.typed, c.args, -consumed), c.line);
        EXPECT_EQ(getTotalPrimaries(), c.primaries);
        EXPECT_EQ(getTotalCurrents(), c.currents);
        EXPECT_EQ(getCurrentSD()->Nprimaries, c.primaries);
        EXPECT_EQ(Spectrum_Computed, 1);
        EXPECT_TRUE(ModularMode->enabled && BoundaryMode->enabled);
    }
}

TEST_F(SingleAlgebraTest, TwistedAlgebraGetsItsSpectrumButNoModularData) {
    const std::string out = load("at", {1, 2}, -2);
    EXPECT_TRUE(has(out, "; 2 primaries\nNo modular data are available for this algebra\n")) << out;
    EXPECT_EQ(getCurrentSD()->type, 11);
    EXPECT_EQ(Spectrum_Computed, 0);
    EXPECT_FALSE(ModularMode->enabled);
    EXPECT_FALSE(BoundaryMode->enabled);
    // B-tilde has modular data.
    load("bc", {1, 2}, -2);
    EXPECT_EQ(getCurrentSD()->type, 13);
    EXPECT_EQ(Spectrum_Computed, 1);
}

TEST_F(SingleAlgebraTest, RefusalsKeepThePreviousBlockWithoutItsModularData) {
    load("a", {2, 1}, -2);
    SpectrumData* before = getCurrentSD();
    struct Case {
        const char* typed;
        std::vector<int> args;
        const char* message;
    };
    const Case cases[] = {
        {"c", {1, 1}, "Rank out of range"},  // C needs rank 2
        {"e", {9, 1}, "Rank out of range"},  // E6 to E8
        {"f", {5, 1}, "Rank out of range"},  // F4 only
        {"d", {3, 1}, "Rank out of range"},  // D from rank 4
        {"u", {1}, "Rank out of range"},     // radius 2 at least
        {"a", {21, 1}, "Rank out of range"}, // beyond "Maxrank"
        {"a", {2, 0}, "Level out of range"},
        {"x", {2, 1}, "Invalid type"},
        {"min", {3, 1}, "Invalid number of susy's"},
        {"orb", {0}, "Invalid input"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.message);
        EXPECT_TRUE(has(load(c.typed, c.args, 1), c.message));
        EXPECT_EQ(getCurrentSD(), before);
        EXPECT_EQ(Spectrum_Computed, 0);
        EXPECT_FALSE(ModularMode->enabled);
    }
}

// Every affine type word stops at the largest level ("MaximalLevel"; lowered here so that the
// blocks stay small): its block at the largest level is loaded, one level above is refused.
TEST_F(SingleAlgebraTest, LevelLimitOfEveryTypeWord) {
    const struct {
        const char* typed;
        int rank;
    } cases[] = {{"a", 2},  {"b", 3},  {"c", 2},  {"d", 4},  {"e", 6},
                 {"e", 7},  {"e", 8},  {"f", 4},  {"g", 2},  {"at", 1},
                 {"bt", 2}, {"bc", 2}, {"ct", 3}, {"ft", 4}, {"gt", 2}};
    const int saved = getMaximalLevel();
    setMaximalLevel(2);
    for (const auto& c : cases) {
        SCOPED_TRACE(std::string(c.typed) + " " + std::to_string(c.rank));
        load(c.typed, {c.rank, 2}, -2);
        SpectrumData* atMaximum = getCurrentSD();
        EXPECT_EQ(atMaximum->level, 2);
        EXPECT_TRUE(has(load(c.typed, {c.rank, 3}, 1), "Level 3 above the maximal level 2"));
        EXPECT_EQ(getCurrentSD(), atMaximum);
    }
    setMaximalLevel(saved);
}

TEST_F(SingleAlgebraTest, ShortWordsOfCAndFAreTypesLongerOnesNameTheories) {
    load("a", {1, 3}, -2);
    load("C", {2, 1}, -2);
    EXPECT_EQ(getCurrentSD()->type, 3);
    load("F", {4, 1}, -2);
    EXPECT_EQ(getCurrentSD()->type, 5);
    EXPECT_EQ(getCurrentSD()->rank, 4);
    // "cf" is the cft branch: the stored theory A1 level 3 by its name.
    Captured cap;
    EXPECT_EQ(callWithText(COM_algebra, "cf", SM_getAlgebraName(SM_getData(1, 1, 3))), -1);
    EXPECT_EQ(cap.out(), "CFT A1 level 3; 4 primaries (2 simple currents)\n");
    EXPECT_EQ(getCurrentSD(), SM_getData(1, 1, 3));
}

TEST_F(SingleAlgebraTest, UnknownTheoryNameKeepsTheBlock) {
    load("a", {1, 2}, -2);
    SpectrumData* before = getCurrentSD();
    Captured cap;
    EXPECT_EQ(callWithText(COM_algebra, "cft", "No such theory"), 1);
    EXPECT_TRUE(has(cap.err(), "No such algebra")) << cap.err();
    EXPECT_EQ(getCurrentSD(), before);
    EXPECT_EQ(Spectrum_Computed, 0);
}

TEST_F(SingleAlgebraTest, ComputeSpectrumPrintsOnlyOnce) {
    load("a", {2, 1}, -2);
    Captured cap;
    EXPECT_EQ(COM_compute(nullptr, 0), 0);
    EXPECT_EQ(cap.out(), "");
}

TEST_F(SingleAlgebraTest, SingleShowsTheModeAndComputesAgain) {
    load("e", {8, 1}, -2);
    Captured cap;
    EXPECT_EQ(call(COM_single, "single", {}), 0);
    // E8 level 1 has the vacuum alone.
    EXPECT_EQ(cap.out(),
              "Mode: Single algebra\nAlgebra \"E8 level 1\"\nCFT E8 level 1; 1 primaries\n");
    EXPECT_EQ(Spectrum_Computed, 1);
}

TEST_F(SingleAlgebraTest, StatusAndCounters) {
    load("d", {4, 1}, -2);
    Captured cap;
    call(COM_status, "status", {});
    call(COM_tot_prim, "primaries", {});
    call(COM_tot_cur, "simple_currents", {});
    EXPECT_EQ(cap.out(), "Mode: Single algebra\nAlgebra \"D4 level 1\"\n4\n4\n");
}

TEST_F(SingleAlgebraTest, DynkinFindsTheFieldOfItsLabels) {
    load("a", {2, 3}, -2);
    for (const std::vector<int>& labels : {std::vector<int>{1, 1}, std::vector<int>{3, 0},
                                           std::vector<int>{0, 2}, std::vector<int>{0, 0}}) {
        Captured cap;
        EXPECT_EQ(call(COM_getrep, "dynkin", labels), -2);
        const int field = std::stoi(cap.out());
        const int* rep = SM_getRep(getCurrentSD(), field);
        EXPECT_EQ(std::vector<int>(rep, rep + 2), labels);
        // The extended label makes the level.
        EXPECT_EQ(rep[0] + rep[1] + rep[2], 3);
    }
}

TEST_F(SingleAlgebraTest, DynkinRefusals) {
    load("a", {2, 1}, -2);
    struct Case {
        std::vector<int> labels;
        int rc;
        const char* message;
    };
    const Case cases[] = {
        {{1}, 1, "Not enough Dynkin labels"},
        {{1, 0, 0}, -3, "Too many Dynkin labels"},
        {{-1, 0}, 1, "Negative Dynkin label"},
        {{1, 1}, 1, "Representation not found"}, // the octet is not integrable at level 1
    };
    for (const Case& c : cases) {
        Captured cap;
        EXPECT_EQ(call(COM_getrep, "dynkin", c.labels), c.rc) << c.message;
        EXPECT_TRUE(has(cap.err(), c.message)) << cap.err();
        EXPECT_EQ(cap.out(), "");
    }
}

TEST_F(SingleAlgebraTest, FreeBosonTakesItsChargeAsTheOneLabel) {
    load("u", {6}, -1);
    Captured cap;
    EXPECT_EQ(call(COM_getrep, "dynkin", {5}), -1);
    EXPECT_EQ(cap.out(), "5\n");
}

// Weyl's formula for A2: dim(a, b) = (a+1)(b+1)(a+b+2)/2.
TEST_F(SingleAlgebraTest, DimensionsOfA2FollowWeylsFormula) {
    load("a", {2, 3}, -2);
    for (int field = 0; field < 10; ++field) {
        const int* rep = SM_getRep(getCurrentSD(), field);
        const int a = rep[0];
        const int b = rep[1];
        Captured cap;
        EXPECT_EQ(call(COM_getdim, "dimension", {field}), -1);
        EXPECT_EQ(cap.out(), std::to_string((a + 1) * (b + 1) * (a + b + 2) / 2) + "\n")
            << a << "," << b;
    }
}

TEST_F(SingleAlgebraTest, DimensionsOfExceptionalFields) {
    // E8 level 2: the vacuum, the adjoint 248 and the 3875.
    load("e", {8, 2}, -2);
    std::vector<std::string> dims;
    for (int field = 0; field < 3; ++field) {
        Captured cap;
        call(COM_getdim, "dimension", {field});
        dims.push_back(cap.out());
    }
    std::sort(dims.begin(), dims.end());
    EXPECT_EQ(dims, (std::vector<std::string>{"1\n", "248\n", "3875\n"}));
    load("g", {2, 1}, -2);
    Captured cap;
    call(COM_getdim, "dimension", {1});
    EXPECT_EQ(cap.out(), "7\n");
}

TEST_F(SingleAlgebraTest, DimensionNeedsASingleBlock) {
    load("a", {1, 1}, -2);
    setCosetMode(1);
    Captured cap;
    EXPECT_EQ(call(COM_getdim, "dimension", {0}), 1);
    EXPECT_TRUE(has(cap.err(), "Command only available in single algebra mode")) << cap.err();
}

TEST(ConvertAlgebra, ParsesTheTypeWordAndItsArguments) {
    if (!findInternalParameter("Maxrank"))
        addInternalParameter("Maxrank", "20", 'i', 0);
    setIntPar("Maxrank", 20);
    struct Case {
        const char* typed;
        std::vector<int> args;
        int rc, type, rank, level;
    };
    const Case cases[] = {
        {"a", {2, 3}, -2, 1, 2, 3}, {"Bt", {3, 2}, -2, 12, 3, 2}, {"f", {4, 2}, -2, 5, 4, 2},
        {"G", {2, 1}, -2, 5, 2, 1}, {"u", {8}, -1, 0, 8, 0},      {"c", {1, 1}, 4, 3, 1, 0},
        {"e", {5, 1}, 4, 5, 5, 0},  {"a", {2, 0}, 5, 1, 2, 0},
    };
    for (const Case& c : cases) {
        std::string word = c.typed;
        std::vector<int> args = c.args;
        std::vector<void*> slots{word.data()};
        for (int& a : args)
            slots.push_back(&a);
        int type = -9, rank = -9, level = -9;
        SCOPED_TRACE(c.typed);
        EXPECT_EQ(convertAlgebra(slots.data() + 1, &type, &rank, &level), c.rc);
        EXPECT_EQ(type, c.type);
        EXPECT_EQ(rank, c.rank);
        EXPECT_EQ(level, c.level);
    }
    std::string unknown = "zz";
    int value = 1;
    void* slots[] = {unknown.data(), &value};
    int type = -9, rank = -9, level = -9;
    EXPECT_EQ(convertAlgebra(slots + 1, &type, &rank, &level), 1);
    EXPECT_EQ(type, -9);
}

} // namespace

namespace {

// "algebra minimal 0 k" makes the Virasoro minimal model of c = 1 - 6/((k+2)(k+3)) the first
// time and finds it the second; at k = 2 (the tricritical Ising model) it has 6 fields.
TEST_F(SingleAlgebraTest, MinimalModelsAreMadeOnceAndThenFound) {
    EXPECT_TRUE(has(load("minimal", {0, 2}, -2), "CFT minimal N=0 2; 6 primaries"));
    SpectrumData* made = getCurrentSD();
    EXPECT_EQ(made->type, 6);
    load("a", {1, 2}, -2);
    load("minimal", {0, 2}, -2);
    EXPECT_EQ(getCurrentSD(), made);
}

// make_minimal, which no command reaches, takes N and k and makes the model when it is missing.
TEST_F(SingleAlgebraTest, MakeMinimal) {
    int type = 0, N = 0, level = 0;
    std::vector<int> args{1, 3};
    std::vector<void*> slots{&args[0], &args[1]};
    EXPECT_EQ(make_minimal(slots.data(), &type, &N, &level), -2);
    EXPECT_EQ(type, 6);
    EXPECT_EQ(N, 1);
    EXPECT_EQ(level, 3);
    ASSERT_NE(SM_getData(6, 1, 3), nullptr);
    args[0] = 3;
    EXPECT_EQ(make_minimal(slots.data(), &type, &N, &level), 8);
}

} // namespace

namespace {

// "algebra minimal 2 k": the N=2 model at level k, 2(k+1)(k+2) fields and 4k+8 currents.
TEST_F(SingleAlgebraTest, N2MinimalModel) {
    EXPECT_TRUE(
        has(load("minimal", {2, 2}, -2), "CFT Min 2 2 (aux); 24 primaries (16 simple currents)\n"));
    EXPECT_EQ(getCurrentSD(), SM_getData(27, 2, 2));
}

// A code outside the table of CY products is refused before anything changes: the product, the
// mode and the model name stay.
TEST_F(SingleAlgebraTest, UnknownCYCodeChangesNothing) {
    cmdtest::makeTwoFactors();
    CurrentCY = "before";
    for (COM handler : {COM_build_cy, COM_build_nonsusycy}) {
        Captured cap;
        EXPECT_EQ(call(handler, "cy", {12345}), 1);
        EXPECT_TRUE(has(cap.err() + cap.out(), "invalid CY code 12345"));
        EXPECT_EQ(getCurrentTensor()->NTensor, 2);
        EXPECT_EQ(getCosetMode(), 0);
        EXPECT_EQ(CurrentCY, "before");
    }
}

// "build non_susy_cy": the product of the code without the current and without a spectrum; the
// string reading is told not to look for supersymmetry.
TEST_F(SingleAlgebraTest, NonSupersymmetricCYProduct) {
    for (const char* name : {"Graded", "Super"})
        if (!findInternalParameter(name))
            addInternalParameter(name, "OFF", 't', 0);
    initializeCoset();
    setSusySearch(1);
    commands::Susic = 1; // as after a supersymmetric theory
    Captured cap;
    EXPECT_EQ(call(COM_build_nonsusycy, "non_susy_cy", {33333}), -1);
    TensorProduct* TP = getCurrentTensor();
    ASSERT_EQ(TP->NTensor, 6);
    EXPECT_EQ(getTensorFactor(TP, 0), SM_getData(4, 5, 1));
    for (int k = 1; k < 6; k++)
        EXPECT_EQ(getTensorFactor(TP, k), SM_getData(27, 2, 3));
    EXPECT_EQ(SM_getData(4, 5, 1)->graded, 1);
    EXPECT_TRUE(TP->Currents == nullptr || TP->Currents->Nfill == 0);
    EXPECT_EQ(getCosetMode(), 1);
    EXPECT_EQ(Spectrum_Computed, 0);
    EXPECT_EQ(CurrentCY, "33333");
    EXPECT_EQ(*static_cast<int*>(getIntParPointer("Graded")), 1);
    EXPECT_EQ(*static_cast<int*>(getIntParPointer("Super")), 1);
    EXPECT_EQ(getSusySearch(), 0);
    cap.out(); // the build's output ends here
    {
        Captured susy;
        EXPECT_EQ(call(COM_susic, "supersymmetric", {}), 0);
        EXPECT_EQ(susy.out(), "0\n") << "no supercurrent is known without a spectrum";
    }
    setSusySearch(1);
    setIntPar("Graded", 0);
    setIntPar("Super", 0);
    resetCoset(TP);
}

} // namespace
