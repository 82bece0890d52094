// "check branching", "browse Lorentz" and "browse susy", and the multiplet printer they share
// with the string code: its heading comes once per pair of side types.
#include "CommandsTestHelpers.h"

#include "base/Tables.h"
#include "commands/CommandsSpaceTime.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

using cmdtest::Captured;
using cmdtest::has;

namespace {

int count(const std::string& text, const std::string& part) {
    int n = 0;
    for (std::size_t at = text.find(part); at != std::string::npos; at = text.find(part, at + 1))
        n++;
    return n;
}

// "browse susy" with its arguments as the interpreter hands them over: D and sym as ints, the
// others as texts.
int browseSusy(std::vector<std::string> args) {
    std::string word = "susy";
    std::vector<void*> slots{word.data()};
    int D = args.empty() ? 0 : std::stoi(args[0]);
    int sym = args.size() < 6 ? 0 : std::stoi(args[5]);
    for (std::size_t k = 0; k < args.size(); k++)
        slots.push_back(k == 0   ? static_cast<void*>(&D)
                        : k == 5 ? static_cast<void*>(&sym)
                                 : static_cast<void*>(args[k].data()));
    return COM_check_susy(slots.data() + 1, static_cast<int>(args.size()));
}

class SpaceTimeTest : public testing::Test {
protected:
    void SetUp() override {
        flushErrors();
        unbufferErrors();
        if (!findTable("Lorentz"))
            initializeTables();
        // The printer alone: registering commands is the registration tests' business.
        setDisplaySusy(displaySusy);
        displaySusy(0, nullptr, nullptr, 0, 0, 0, -1);
    }
    void TearDown() override { setDisplaySusy(nullptr); }
};

TEST_F(SpaceTimeTest, HeadingOncePerPair) {
    ChiralSusyType E8{5, 8, 1, 1}, minus{5, 8, -1, 1}, bosonic{0, 0, 0, 1};
    Captured cap;
    displaySusy(10, &E8, &bosonic, -1, -1, 0, 3);
    displaySusy(10, &E8, &bosonic, -1, 2, 0, 3);
    displaySusy(10, &E8, &minus, -1, -1, 0, 3);
    const std::string out = cap.out();
    EXPECT_EQ(count(out, "Susy type: Left : 16 supersymmetries (E8); chirality +\n"), 2) << out;
    EXPECT_EQ(count(out, "           Right: Bosonic\n"), 1) << out;
    EXPECT_EQ(count(out, "\nRepresentation: (V,0)\n"), 1) << out;
    EXPECT_TRUE(has(out, "\n------------------------------------------\n"
                         "Susy type: Left : 16 supersymmetries (E8); chirality +\n"
                         "           Right: 16 supersymmetries (E8); chirality -\n"
                         "           Space-Time dimension: 10\n"
                         "\nThe following representations may occur\n"
                         "\nRepresentation: (V,V)\n"
                         "     Bosons   (128 d.o.f.):   [G2] + [B2] + [D0] + [A1] + [A3]\n"))
        << out;
}

// Asked for one pair with both types given, no heading; with the multiplets named too, not even
// the representation line. printSusyMultiplets always starts with a heading.
TEST_F(SpaceTimeTest, DepthDecidesWhatIsShown) {
    ChiralSusyType E7{5, 7, 1, 1}, bosonic{0, 0, 0, 1};
    std::string four, six, all;
    {
        Captured cap;
        displaySusy(6, &E7, &bosonic, 1, 2, 0, 4);
        four = cap.out();
    }
    {
        Captured cap;
        displaySusy(6, &E7, &bosonic, 1, 2, 0, 6);
        six = cap.out();
    }
    EXPECT_EQ(four, "\nRepresentation: (M,0)\n" + six);
    EXPECT_EQ(six, "     Bosons   (2 d.o.f.):   2[S0]\n"
                   "     Fermions (2 d.o.f.):   [F-]\n"
                   "    (1/2 Hyper multiplet)\n");
    SusyType ST{&E7, &bosonic, nullptr, nullptr, 6, 0, 0, 1};
    {
        Captured cap;
        displaySusy(6, &E7, &bosonic, -1, -1, 0, 3);
        printSusyMultiplets(&ST);
        all = cap.out();
    }
    // The pair was just printed, so the first call has no heading; the multiplets have one.
    EXPECT_EQ(all.rfind("\nRepresentation: (V,V)\n", 0), 0u) << all;
    EXPECT_EQ(count(all, "Susy type:"), 1) << all;
    EXPECT_EQ(count(all, "Representation:"), 4) << "(V,V) once more, (V,0), (M,0)";
}

TEST_F(SpaceTimeTest, BrowseSusyResults) {
    const struct {
        std::vector<std::string> args;
        int result;
        int headings;
    } cases[] = {{{"10"}, -1, 3},
                 {{"10", "16"}, -2, 3},
                 {{"10", "16", "16-"}, -3, 0},
                 {{"6", "8", "0", "M"}, -4, 0},
                 {{"6", "8", "0", "M", "0"}, -5, 0},
                 {{"10", "16", "16", "V", "V", "1"}, -6, 0}};
    for (const auto& c : cases) {
        Captured cap;
        EXPECT_EQ(browseSusy(c.args), c.result) << c.args.size();
        EXPECT_EQ(count(cap.out(), "Susy type:"), c.headings) << cap.out();
        EXPECT_TRUE(has(cap.out(), "Bosons")) << cap.out();
    }
    // The symmetric part of IIB alone.
    Captured cap;
    browseSusy({"10", "16", "16", "V", "V", "1"});
    EXPECT_EQ(cap.out(), "     Bosons   (64 d.o.f.):   [G2] + [D0] + [A2]\n"
                         "     Fermions (64 d.o.f.):   [F-] + [FV+]\n");
}

TEST_F(SpaceTimeTest, BrowseSusyRefusals) {
    const std::vector<std::string> refused[] = {
        {"4", "7"}, {"10", "16", "3"}, {"10", "16", "16", "M"}, {"6", "8", "0", "M", "S"}};
    for (const auto& args : refused) {
        Captured cap;
        EXPECT_EQ(browseSusy(args), 1) << args.back();
        EXPECT_FALSE(has(cap.out(), "Bosons")) << cap.out();
        EXPECT_TRUE(has(cap.err(), "Invalid")) << cap.err();
    }
}

TEST_F(SpaceTimeTest, LorentzTable) {
    std::string ten, big, err;
    {
        Captured cap;
        cmdtest::call(COM_browse_Lorentz, "Lorentz", {10});
        ten = cap.out();
    }
    {
        Captured cap;
        cmdtest::call(COM_browse_Lorentz, "Lorentz", {27});
        big = cap.out();
        err = cap.err();
    }
    EXPECT_EQ(count(ten, "\n"), 16) << "the header and fifteen rows:\n" << ten;
    EXPECT_TRUE(has(ten, "Notation")) << ten;
    EXPECT_TRUE(has(ten, "A3        3-form RR-field                56")) << ten;
    EXPECT_EQ(big, "");
    EXPECT_TRUE(has(err, "Maximal dimension: 26")) << err;
}

TEST_F(SpaceTimeTest, CheckBranching) {
    Captured cap;
    EXPECT_EQ(cmdtest::call(COM_check_branch, "branching", {5, 6, 4, 5}), -4);
    EXPECT_EQ(cap.out(), "[78] --> [45] + [1] + [16] + [16]\n[1] --> [1]\n"
                         "[27] --> [1] + [16] + [10]\n[27] --> [1] + [10] + [16]\n");
}

} // namespace
