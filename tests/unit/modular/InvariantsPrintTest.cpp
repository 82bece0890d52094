// Names, printed formulas, statistics, the column "Bulk invariant" and the browse report. The
// expected texts are laid out by hand from the printing rules: a term's width is 7 for the first
// one, else 6 (7 plus the digits of a multiplicity above 1), plus digits + 1 per label of the
// left list and, when it differs, of the right list; a line breaks before a term that would
// reach 61 once it holds more than 10.
#include "InvariantsTestHelpers.h"

#include "modular/Invariants.h"
#include "modular/Modular.h"

#include <gtest/gtest.h>

#include <cstring>
#include <string>

using namespace invtest;

namespace {

std::string printed(BulkInvariant* bi, int MaxNum) {
    return outputOf([&] { printBulkInvariant(bi, MaxNum); }).first;
}

TEST(InvariantNames, DigitsNameTheAutomaticNames) {
    struct Case {
        const char* input;
        const char* name;
    };
    for (const Case& c :
         {Case{"007", "Invariant_7"}, Case{"7", "Invariant_7"}, Case{"0", "Invariant_0"},
          Case{"000", "Invariant_0"}, Case{"12", "Invariant_12"}, Case{"x7", "x7"},
          Case{"Invariant_3", "Invariant_3"}})
        EXPECT_STREQ(convertBulkInvariantName(c.input), c.name) << c.input;
}

TEST(RepString, RunsOfEqualLabelsAreCounted) {
    struct Case {
        std::vector<int> list;
        const char* text;
    };
    for (const Case& c : {Case{{0, 3, 3, 7}, "(0+2*3+7)"}, Case{{5}, "(5)"},
                          Case{{1, 1, 1}, "(3*1)"}, Case{{}, ")"}}) {
        char text[64];
        char* end = buildRepString(text, c.list.data(), static_cast<int>(c.list.size()));
        EXPECT_STREQ(text, c.text);
        EXPECT_EQ(end, text + std::strlen(c.text));
    }
}

TEST(ChiralAlgebras, EqualAlgebrasShareOneLine) {
    const int a[] = {0, 1}, b[] = {0, 2};
    EXPECT_EQ(outputOf([&] { printChiralAlgebras(a, 2, a, 2); }).first, "Chiral algebra:  (0+1)\n");
    EXPECT_EQ(outputOf([&] { printChiralAlgebras(a, 2, b, 2); }).first,
              "Left chiral algebra:  (0+1)\nRight chiral algebra: (0+2)\n");
}

// ---- su(2) at level 9: ten fields ----

class FormulaTest : public InvariantsTest {
protected:
    void SetUp() override { useTheory(1, 1, 9); }
};

TEST_F(FormulaTest, TheLineBreaksBeforeATermThatWouldReachSixtyOne) {
    // Widths 9, 8, 8, ...: after (6) the line holds 56, and (7) would make it 64.
    EXPECT_EQ(printed(current(), 0), "\n   (0)^2 + (1)^2 + (2)^2 + (3)^2 + (4)^2 + (5)^2 + (6)^2\n"
                                     " + (7)^2 + (8)^2 + (9)^2\n");
}

TEST_F(FormulaTest, MaxNumLimitsTheLeftFields) {
    const std::string all = printed(current(), 0);
    EXPECT_EQ(printed(current(), 11), all) << "beyond the fields: all of them";
    EXPECT_EQ(printed(current(), 10), all);
    EXPECT_EQ(printed(current(), 5), "\n   (0)^2 + (1)^2 + (2)^2 + (3)^2 + (4)^2\n"
                                     "   + .... (Skipping remaining terms) \n");
}

TEST_F(FormulaTest, MaxDisplayStopsAtTheFirstFieldBeyondIt) {
    parameter("Invariant max_display") = 5;
    parameter("Invariant statistics") = 1;
    EXPECT_EQ(printed(current(), 0), "\n   (0)^2 + (1)^2 + (2)^2 + (3)^2 + (4)^2 + (5)^2 + .....\n"
                                     "(Skipping remaining terms)\n");
}

TEST_F(FormulaTest, EqualListsShareATermAndMultiplesRepeatTheirField) {
    // Rows 2 and 3 pair with (4+5), row 3 twice: one term with the left list (2+2*3).
    std::unique_ptr<BulkInvariant> z = fromRows(
        {{1, {0}}, {1, {1}}, {1, {4, 5}}, {2, {4, 5}}, {1, {4, 5}}, {1, {4, 5}}, {}, {}, {}, {}});
    EXPECT_EQ(printed(z.get(), 0), "\n   (0)^2 + (1)^2 + (2+2*3+4+5)*(4+5)\n");
    std::unique_ptr<BulkInvariant> blocks =
        fromRows({{1, {0, 9}}, {}, {}, {}, {}, {}, {}, {}, {}, {1, {0, 9}}});
    EXPECT_EQ(printed(blocks.get(), 0), "\n   (0+9)^2\n");
}

// su(2) at level 29: thirty fields. A line holding no more than 10 characters takes any term.
class LongTermTest : public InvariantsTest {
protected:
    void SetUp() override { useTheory(1, 1, 29); }
};

TEST_F(LongTermTest, AShortLineTakesALongTerm) {
    std::vector<Row> rows(30);
    rows[0] = {1, {0}};
    rows[1] = {1, {}};
    for (int j = 2; j < 30; j++)
        rows[1].partners.push_back(j);
    rows[2] = {1, {2}};
    std::unique_ptr<BulkInvariant> z = fromRows(rows);
    std::string sum = "(2";
    for (int j = 3; j < 30; j++)
        sum += "+" + std::to_string(j);
    sum += ")";
    // The second term is 84 wide after a line of 8; the third follows a line of 92.
    EXPECT_EQ(printed(z.get(), 0), "\n   (0)^2 + (1)*" + sum + "\n + (2)^2\n");
}

// ---- so(8) at level 1: four fields ----

class SimpleCurrentBrowseTest : public InvariantsTest {
protected:
    void SetUp() override { useTheory(4, 4, 1); }
};

TEST_F(SimpleCurrentBrowseTest, BrowseReportOfASimpleCurrentInvariant) {
    copyBulkInvariant(getLocalBulk(), z2Invariant().get());
    EXPECT_EQ(outputOf([] { browseBulk(nullptr, 10, 1); }).first,
              "MIPF identifier: 5\n"
              "Subgroup label: 2\n"
              "This MIPF identifier depends on the following selection criteria:\n"
              "Symmetric: YES\n"
              "Bulk invariant is a simple current invariant\n"
              "Simple currents:   (0,1)\n"
              "Group structure: \n"
              "Multiplicity: 1\n"
              "Order: 2\n"
              "Factors:     (2)\n"
              "elt.   0, mapped to   0, decomp -->   (0)\n"
              "elt.   1, mapped to   1, decomp -->   (1)\n"
              "Orders:   (2)\n"
              "Monodromy: \n"
              "           (1)\n"
              "Matrix X: \n"
              "           (0)\n"
              "Chiral algebra:  (0+1)\n"
              "Autoselect number 3 in subgroup\n"
              "Symmetric invariant\n"
              "Invariant:\n"
              "\n   (0+1)^2\n"
              "\n"
              "Number of primaries: 4\n"
              "Total nr. of Ishibashi labels: 2\n"
              "NOTE: in applications to boundary CFT, all invariants\n"
              "      are implicitly charge conjugated\n");
}

// ---- su(3) at level 1: fields 0, 1, 2 of weights 0, 1/3, 1/3; 1 and 2 conjugate ----

class ConjugationPrintTest : public InvariantsTest {
protected:
    void SetUp() override { useTheory(1, 2, 1); }
};

TEST_F(ConjugationPrintTest, TheConjugationInvariantPrintsItsPairs) {
    setConjugationInvariant();
    EXPECT_EQ(printed(current(), 0), "\n   (0)^2 + (1)*(2) + (2)*(1)\n");
}

// D = 3; the weights 0, 1/3, 1/3 give the rows w = 0 and w = 1. The vacuum is diagonal and
// self-conjugate; 1 and 2 are paired with their conjugates (C) or with themselves (D).
TEST_F(ConjugationPrintTest, StatisticsCountDiagonalConjugateAndSelfConjugatePairs) {
    parameter("Invariant statistics") = 1;
    const std::string table = "\nStatistics: (weights multiplied by 3)\n"
                              "Wt (mod 1)   D    C    S \n";
    EXPECT_EQ(printed(current(), 0), "\n   (0)^2 + (1)^2 + (2)^2\n" + table +
                                         "    0        1    0    1\n"
                                         "    1        2    0    0\n");
    setConjugationInvariant();
    EXPECT_EQ(printed(current(), 0), "\n   (0)^2 + (1)*(2) + (2)*(1)\n" + table +
                                         "    0        1    0    1\n"
                                         "    1        0    2    0\n");
    const int* counts = RatCount(3);
    EXPECT_EQ(counts[0], 2);
    EXPECT_EQ(counts[1], 1);
}

TEST_F(ConjugationPrintTest, CellsOfTheBulkInvariantColumn) {
    auto cell = [](int lbl) {
        char text[100];
        getBulkInvariantString(text, nullptr, lbl);
        return std::string(text);
    };
    EXPECT_EQ(cell(1), "(1)");
    setConjugationInvariant();
    EXPECT_EQ(cell(0), "(0)");
    EXPECT_EQ(cell(1), "(2)");
    EXPECT_EQ(cell(2), "(1)");
    std::unique_ptr<BulkInvariant> z = fromRows({{2, {0, 1}}, {1, {}}, {1, {2}}});
    copyBulkInvariant(getLocalBulk(), z.get());
    EXPECT_EQ(cell(0), "2*(0+1)");
    EXPECT_EQ(cell(1), " - ");
}

TEST_F(ConjugationPrintTest, BrowseReportOfTheConjugationInvariant) {
    setConjugationInvariant();
    EXPECT_EQ(outputOf([] { browseBulk(nullptr, 200000, 1); }).first,
              "Bulk invariant is the conjugation invariant (diagonal in BCFT)\n"
              "Symmetric invariant\n"
              "Invariant:\n"
              "\n   (0)^2 + (1)*(2) + (2)*(1)\n"
              "\n"
              "Number of primaries: 3\n"
              "Total nr. of Ishibashi labels: 1\n"
              "NOTE: in applications to boundary CFT, all invariants\n"
              "      are implicitly charge conjugated\n");
}

TEST_F(ConjugationPrintTest, BrowseReportOfTheStoredDiagonalInvariant) {
    EXPECT_EQ(outputOf([] { EXPECT_EQ(browseBulk("0", 0, 1), 0); }).first,
              "MIPF identifier: 0\n"
              "This MIPF identifier depends on the following selection criteria:\n"
              "Reject permutations: YES\n"
              "Bulk invariant is trivial (Cardy case in BCFT)\n"
              "Symmetric invariant\n"
              "Number of primaries: 3\n"
              "Total nr. of Ishibashi labels: 3\n"
              "NOTE: in applications to boundary CFT, all invariants\n"
              "      are implicitly charge conjugated\n");
}

TEST_F(ConjugationPrintTest, BrowsingWhatIsNotStoredFindsNothing) {
    int rc = 0;
    auto [out, err] = outputOf([&] { rc = browseBulk("nothing", 0, 1); });
    EXPECT_EQ(rc, 1);
    EXPECT_NE(err.find("Invariant nothing not found"), std::string::npos) << err;
    // su(3) at level 1 has two simple-current invariants, numbered 0 and 1: building number 7
    // by a scan accepts none.
    std::tie(out, err) = outputOf([&] { rc = browseBulk("007", 0, 1); });
    EXPECT_EQ(rc, 1);
    EXPECT_EQ(out, "Constructing invariant 7\n"
                   "Total number of MIPFs generated: 0\n"
                   "No invariant found that meets criteria\n");
    std::tie(out, err) = outputOf([] { printBulkInvariant(nullptr, 0); });
    EXPECT_EQ(out, "Invariant non-existant\n");
}

TEST_F(ConjugationPrintTest, ExceptionalInvariantsShowTheirChiralAlgebras) {
    parameter("Invariant info_level") = 2;
    std::unique_ptr<BulkInvariant> z = fromRows({{1, {0, 1}}, {1, {0, 1}}, {1, {2}}});
    copyBulkInvariant(getLocalBulk(), z.get());
    auto [out, err] = outputOf([] { browseBulk(nullptr, 0, 1); });
    EXPECT_NE(out.find("Bulk invariant is an exceptional invariant\nChiral algebra:  (0+1)\n"),
              std::string::npos)
        << out;
    // The vacuum pairs with 1, but 1 not with the vacuum.
    std::unique_ptr<BulkInvariant> odd = fromRows({{1, {0, 1}}, {1, {1}}, {1, {2}}});
    copyBulkInvariant(getLocalBulk(), odd.get());
    std::tie(out, err) = outputOf([] { browseBulk(nullptr, 0, 1); });
    EXPECT_NE(err.find("right chiral algebra larger than left one"), std::string::npos) << err;
    EXPECT_NE(out.find("Left chiral algebra:  (0)\nRight chiral algebra: (0+1)\n"),
              std::string::npos)
        << out;
}

TEST_F(ConjugationPrintTest, TheDiagonalGroupHasNoMonodromy) {
    EXPECT_EQ(outputOf([] { printMonodromy(current()->MD); }).first,
              "Trivial (diagonal) invariant\n");
}

TEST_F(ConjugationPrintTest, ListingNamesTheStoredInvariantsInOrder) {
    store("mine", permutation({0, 2, 1}));
    EXPECT_EQ(outputOf([] { listBulkInvariants(); }).first, "Invariant_0\nmine\n");
}

} // namespace
