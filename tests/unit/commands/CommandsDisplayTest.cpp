// The display, column, browse, Weyl-group and Gauss-sum commands on real building blocks. The
// handlers are called as the interpreter calls them: the last command word as typed, then the
// converted arguments (ints, or texts for column names).
#include "CommandsTestHelpers.h"

#include "base/Tables.h"
#include "commands/CommandsDisplay.h"
#include "commands/CommandsInternal.h"
#include "store/Storemanager.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cctype>
#include <string>
#include <vector>

using cmdtest::Captured;
using cmdtest::has;

namespace {

int call(COM handler, const char* typed, std::vector<int> args = {}) {
    std::string word = typed;
    std::vector<void*> slots{word.data()};
    for (int& a : args)
        slots.push_back(&a);
    return handler(slots.data() + 1, static_cast<int>(args.size()));
}

using cmdtest::callWithTexts;

// "display entry" with a column name and a field label.
int callWithTextsAndField(const char* column, int field) {
    std::string word = "entry";
    std::string name = column;
    std::vector<void*> slots{word.data(), name.data(), &field};
    return COM_display_entry(slots.data() + 1, 2);
}

// Lines that begin with the given text, or with a row label when the text is empty.
int countLines(const std::string& text, const std::string& start) {
    int n = 0;
    for (std::size_t at = 0; at < text.size();) {
        std::size_t end = text.find('\n', at);
        if (end == std::string::npos)
            end = text.size();
        const std::string line = text.substr(at, end - at);
        const std::size_t first = line.find_first_not_of(' ');
        if (start.empty() ? first != std::string::npos && std::isdigit(line[first])
                          : line.compare(0, start.size(), start) == 0)
            ++n;
        at = end + 1;
    }
    return n;
}

// The row labels printed, in order.
std::vector<int> rowLabels(const std::string& text) {
    std::vector<int> labels;
    for (std::size_t at = 0; at < text.size();) {
        std::size_t end = text.find('\n', at);
        if (end == std::string::npos)
            end = text.size();
        const std::string line = text.substr(at, end - at);
        const std::size_t first = line.find_first_not_of(' ');
        if (first != std::string::npos && std::isdigit(line[first]))
            labels.push_back(std::stoi(line.substr(first)));
        at = end + 1;
    }
    return labels;
}

std::vector<int> range(int from, int to) {
    std::vector<int> r;
    for (int i = from; i < to; i++)
        r.push_back(i);
    return r;
}

class DisplayTest : public testing::Test {
protected:
    void SetUp() override {
        flushErrors();
        unbufferErrors();
        if (!findTable("Spectrum"))
            initializeTables();
        if (!ModularMode)
            ModularMode = makeMode("No modular data; type \"compute spectrum\" first.");
        if (!BoundaryMode)
            BoundaryMode = makeMode("No open string and bulk invariant data available");
        setCosetMode(0);
        SM_bindMasslessOnly(&massless_only);
        Captured quiet;
        disableCoset();
    }
    void TearDown() override {
        setCosetMode(0);
        commands::DoublePrecision = nullptr;
        SM_bindMasslessOnly(nullptr);
    }
    // Makes the block current with its spectrum computed, quietly.
    static SpectrumData* current(int type, int rank, int level) {
        SpectrumData* sd = SM_getData(type, rank, level);
        EXPECT_NE(sd, nullptr);
        Captured quiet;
        disableModular();
        commands::makeBlockCurrent(sd);
        COM_compute(nullptr, 0);
        return sd;
    }
};

// U(1) at radius N has N fields; the rows of a display are those asked for, each once, with the
// header once.
TEST_F(DisplayTest, DisplayPrintsTheRowsAskedFor) {
    current(0, 250, 0);
    {
        Captured cap;
        EXPECT_EQ(call(COM_display, "display"), 0);
        EXPECT_EQ(countLines(cap.out(), " "), 251) << "the header and every field, once";
        EXPECT_EQ(countLines(cap.out(), ""), 250);
        EXPECT_EQ(rowLabels(cap.out()), range(0, 250));
    }
    {
        Captured cap;
        EXPECT_EQ(call(COM_display, "display", {5, 199}), -2);
        EXPECT_EQ(rowLabels(cap.out()), range(5, 200));
    }
    {
        Captured cap;
        EXPECT_EQ(call(COM_display, "display", {17}), -1);
        EXPECT_EQ(rowLabels(cap.out()), range(17, 18));
    }
    {
        Captured cap; // the simple currents are all 250 fields
        EXPECT_EQ(call(COM_display, "simple"), 0);
        EXPECT_EQ(rowLabels(cap.out()), range(0, 250));
    }
}

TEST_F(DisplayTest, DisplayMasslessShowsWeightOneFieldsAndRestoresTheColumn) {
    current(1, 1, 4); // h = l(l+2)/24: only l = 4 has weight 1
    ASSERT_EQ(setPrintPref("Spectrum", "Rational weights", 0), -1);
    {
        Captured cap;
        EXPECT_EQ(call(COM_display, "massless"), 0);
        EXPECT_TRUE(has(cap.out(), "(4,0)")) << cap.out();
        EXPECT_TRUE(has(cap.out(), "(0,4)"));
        EXPECT_FALSE(has(cap.out(), "(2,2)"));
        EXPECT_TRUE(has(cap.out(), "Wts."));
    }
    EXPECT_EQ(getPrintPref("Spectrum", "Rational weights"), 0);
    EXPECT_EQ(massless_only, 0);
    setPrintPref("Spectrum", "Rational weights", 1);
}

TEST_F(DisplayTest, DisplayEntryAndItsRefusals) {
    current(1, 2, 1);
    {
        Captured cap;
        EXPECT_EQ(callWithTextsAndField("Conj", 1), -2);
        EXPECT_EQ(cap.out(), "2\n\n");
    }
    current(0, 4, 0); // no Casimir eigenvalues for a free boson
    {
        Captured cap;
        EXPECT_EQ(callWithTextsAndField("Cas", 1), 1);
        EXPECT_TRUE(has(cap.err(), "Data not available")) << cap.err();
    }
    {
        Captured cap;
        EXPECT_EQ(callWithTextsAndField("Nonsense", 1), 1);
        EXPECT_TRUE(has(cap.err(), "Column Nonsense not found")) << cap.err();
    }
}

TEST_F(DisplayTest, ListAndUnlistChangeBothTables) {
    {
        Captured cap;
        EXPECT_EQ(callWithTexts(COM_suppress, "unlist", {"Conj", "Nothing"}), -2);
        EXPECT_EQ(cap.out(), "Column Nothing not found\n");
    }
    EXPECT_EQ(getPrintPref("Spectrum", "Conjugate"), 0);
    EXPECT_EQ(getPrintPref("TensorSpectrum", "Conjugate"), 0);
    EXPECT_EQ(callWithTexts(COM_restore, "list", {"Conj"}), -1);
    EXPECT_EQ(getPrintPref("Spectrum", "Conjugate"), 1);
    EXPECT_EQ(getPrintPref("TensorSpectrum", "Conjugate"), 1);
    EXPECT_EQ(callWithTexts(COM_suppress, "unlist", {"Conj"}), -1);
}

TEST_F(DisplayTest, BrowseCommands) {
    SpectrumData* sd = current(1, 2, 1);
    {
        Captured cap;
        int high = 1;
        commands::DoublePrecision = &high;
        call(COM_cc, "central_charge");
        high = 0;
        call(COM_cc, "central_charge");
        EXPECT_EQ(cap.out(), "Central charge      2.00000000\n"
                             "Central charge              2.000000000000000\n");
    }
    {
        Captured cap;
        const int g = sd->DualCoxeter;
        sd->DualCoxeter = -1;
        call(COM_browse_spin1, "Lie");
        sd->DualCoxeter = g;
        EXPECT_EQ(cap.out(), "Horizontal Lie Algebra:    A_2\n"
                             "Number of spin 1 currents: 8\n"
                             "Complex:                  YES\n");
    }
    {
        Captured cap;
        call(COM_browse_cft, "CFT");
        EXPECT_EQ(cap.out(), "Name:                             A2 level 1\n"
                             "Central Charge:                   2.0000000      \n"
                             "Number of primaries:              3\n"
                             "Number of simple current orbits:  1\n");
    }
    {
        testing::internal::CaptureStdout();
        call(COM_browse_alg, "algebras");
        const std::string out = testing::internal::GetCapturedStdout();
        EXPECT_TRUE(has(out, "Name")) << out;
        EXPECT_TRUE(has(out, "A2 level 1 ")) << out;
        EXPECT_TRUE(has(out, "YES")) << out;
    }
}

TEST_F(DisplayTest, WeylAndGaussCommandsRefuseOtherBlocks) {
    current(0, 4, 0);
    const struct {
        COM handler;
        std::vector<int> args;
        const char* message;
    } cases[] = {
        {COM_weylOrder, {}, "No simple roots defined for this algebra"},
        {COM_weylmult, {0, 1}, "No Weyl group defined for this algebra"},
        {COM_weylGroup, {}, "No simple roots defined for this algebra"},
        {COM_weylorbit, {0}, "No simple roots defined for this algebra"},
        {COM_Gauss, {}, "Not defined for this algebra"},
        {COM_Cartan, {}, "Not a WZW model"},
    };
    for (const auto& c : cases) {
        Captured cap;
        EXPECT_EQ(call(c.handler, "x", c.args), 1);
        EXPECT_TRUE(has(cap.err(), c.message)) << cap.err();
    }
    setCosetMode(1);
    Captured cap;
    EXPECT_EQ(call(COM_weylOrder, "Order"), 1);
    EXPECT_EQ(call(COM_Gauss, "Gauss_sum"), 1);
    EXPECT_TRUE(has(cap.err(), "No simple roots defined for tensor products")) << cap.err();
    EXPECT_TRUE(has(cap.err(), "Not defined for tensor products")) << cap.err();
}

TEST_F(DisplayTest, WeylGroupOfA2) {
    current(1, 2, 1);
    Captured cap;
    call(COM_weylOrder, "Order");
    call(COM_weylGroup, "Group");
    call(COM_weylorbit, "orbit", {2}); // the weight (1,0): three distinct images
    // Reduced words of the five non-trivial elements of S3: lengths 1, 1, 2, 2, 3.
    EXPECT_EQ(cap.out(), "6\n1     1.\n2     2.\n3     2.1.\n4     1.2.\n5     1.2.1.\n"
                         "   (1,0)\n   (-1,1)\n   (0,-1)\n");
}

TEST_F(DisplayTest, GaussSumOrbitsWithoutAndWithClassZeroAgree) {
    current(1, 2, 3);
    std::string without, withZero;
    {
        Captured cap;
        call(COM_weylsignorbit, "Orbits");
        without = cap.out();
    }
    {
        Captured cap;
        call(COM_weylsignorbit, "Orbits", {0});
        withZero = cap.out();
    }
    EXPECT_EQ(without, withZero);
    EXPECT_TRUE(has(without, "In total 2 classes")) << without;
    // A1 level 2 at x = 0: the quadratic Gauss sum of modulus 4, normalised, is 2.
    current(1, 1, 2);
    Captured cap;
    call(COM_Gauss, "Gauss_sum", {0});
    EXPECT_EQ(cap.out(), "      2.0000000\n");
}

TEST_F(DisplayTest, NewColumnEvaluatesItsExpressionPerRow) {
    current(1, 1, 2);
    ASSERT_EQ(callWithTexts(COM_newcol, "column", {"twice", "2*#"}), -2);
    Captured cap;
    EXPECT_EQ(callWithTextsAndField("twice", 2), -2);
    EXPECT_EQ(cap.out(), "4\n\n");
}

} // namespace
