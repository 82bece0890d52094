// The selection criteria: their tests in their order, the display, the command lines that set
// them again and the tag line, on su(3) at level 1 (fields 0, 1, 2, all simple currents).
#include "InvariantsTestHelpers.h"

#include "modular/Invariants.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <string>

using namespace invtest;

namespace {

class CriteriaTest : public InvariantsTest {
protected:
    void SetUp() override {
        useTheory(1, 2, 1);
        parameter("Invariant info_level") = 2; // rejections say why
    }
    static std::string display(int request) {
        return outputOf([request] { displaySelectionCriteria(request); }).first;
    }
};

// What a file written by f holds.
template <class F> std::string fileText(F f) {
    std::FILE* file = std::tmpfile();
    f(file);
    std::rewind(file);
    std::string text;
    for (int c; (c = std::fgetc(file)) != EOF;)
        text += static_cast<char>(c);
    std::fclose(file);
    return text;
}

// The left algebra {0, 1}, the right one {0, 2}.
const int leftAlgebra[] = {0, 1};
const int rightAlgebra[] = {0, 2};

std::pair<int, std::string> algebraVerdict() {
    int verdict = -1;
    const std::string out = outputOf([&] {
                                verdict =
                                    checkAlgebraSelectionCriteria(2, leftAlgebra, 2, rightAlgebra);
                            }).first;
    return {verdict, out};
}

TEST_F(CriteriaTest, AlgebraTestsInTheirOrder) {
    int all[] = {0, 2, 1, -1}, any[] = {2, 1, -1}, none[] = {2, -1}, empty[] = {-1};
    struct Case {
        void (*setter)(int*);
        int* list;
        int verdict;
        const char* message;
    };
    for (const Case& c :
         {Case{setRequireLeft, all, 0, "Rejected; does not contain current 2\n"},
          Case{setRequireLeftAny, any, 1, ""},
          Case{setRequireLeftAny, none, 0,
               "Rejected; does not contain any required left current\n"},
          Case{setRequireLeftAny, empty, 0,
               "Rejected; does not contain any required left current\n"},
          Case{setRequireRight, none, 1, ""},
          Case{setRequireRightAny, empty, 0,
               "Rejected; does not contain any required right current\n"},
          Case{setForbidLeft, none, 1, ""},
          Case{setForbidLeft, any, 0, "Rejected; Left algebra contains forbidden current 1\n"},
          Case{setForbidRight, any, 0, "Rejected; Right algebra contains forbidden current 2\n"}}) {
        resetAlgebraRequirements();
        c.setter(c.list);
        const auto [verdict, out] = algebraVerdict();
        EXPECT_EQ(verdict, c.verdict) << c.message;
        EXPECT_EQ(out, c.message);
    }
}

TEST_F(CriteriaTest, RequiredCurrentsComeBeforeForbiddenOnes) {
    int required[] = {1, -1}, forbidden[] = {0, -1};
    setRequireRight(required);
    setForbidLeft(forbidden);
    EXPECT_EQ(algebraVerdict().second, "Rejected; does not contain current 1\n");
    parameter("Invariant info_level") = 1;
    EXPECT_EQ(algebraVerdict(), (std::pair<int, std::string>{0, ""})) << "said from level 2 on";
}

TEST_F(CriteriaTest, SettersKeepTheCallersList) {
    int currents[] = {1, -1};
    setRequireLeft(currents);
    EXPECT_EQ(algebraVerdict().first, 1);
    currents[0] = 2;
    EXPECT_EQ(algebraVerdict().first, 0) << "the list is read where the caller keeps it";
}

TEST_F(CriteriaTest, FinishedInvariantsAreTestedInOrder) {
    std::unique_ptr<BulkInvariant> conjugation = fromMatrix(permutation({0, 2, 1}));
    std::unique_ptr<BulkInvariant> extension = fromMatrix({{1, 1, 1}, {1, 1, 1}, {1, 1, 1}});
    std::unique_ptr<BulkInvariant> oneWay = fromMatrix({{1, 0, 0}, {0, 1, 1}, {0, 0, 0}});
    auto verdict = [](const BulkInvariant* bi) {
        int v = -1;
        const std::string out = outputOf([&] { v = checkSelectionCriteria(bi); }).first;
        return std::pair<int, std::string>{v, out};
    };
    parameter("Selection symmetric") = 1;
    EXPECT_EQ(verdict(oneWay.get()).second, "Rejected: not symmetric\n");
    EXPECT_EQ(verdict(conjugation.get()).first, 1);
    parameter("Selection extension") = 1;
    EXPECT_EQ(verdict(conjugation.get()).second, "Rejected: pure automorphism\n");
    EXPECT_EQ(verdict(extension.get()).first, 1);
    parameter("Selection extension") = 0;
    int pairs[] = {1, 2, 2, 2, -1};
    setRequireAuto(pairs);
    EXPECT_EQ(parameter("Selection automorphism"), 1);
    EXPECT_EQ(verdict(extension.get()).second, "Rejected: not an automorphism\n");
    EXPECT_EQ(verdict(conjugation.get()).second, "Rejected: does not map 2 to 2\n");
    EXPECT_EQ(outputOf([&] {
                  EXPECT_EQ(checkAutomorphismSelectionCriteria(conjugation.get()), 0);
              }).first,
              "Rejected: does not map 2 to 2\n");
    pairs[2] = -1;
    EXPECT_EQ(verdict(conjugation.get()).first, 1);
    int right[] = {1, -1};
    setRequireRight(right);
    EXPECT_EQ(verdict(conjugation.get()).second, "Rejected; does not contain current 1\n");
    setRequireAuto(nullptr);
    EXPECT_EQ(parameter("Selection automorphism"), 0);
    EXPECT_EQ(checkAutomorphismSelectionCriteria(extension.get()), 1);
}

TEST_F(CriteriaTest, DisplayShowsWhatIsInForce) {
    EXPECT_EQ(display(0), "");
    EXPECT_EQ(display(1), "No selection criteria\n");
    int left[] = {1, 2, -1}, right[] = {2, -1}, pairs[] = {1, 2, 2, 1, -1};
    setRequireLeft(left);
    EXPECT_EQ(display(1), "Required left currents (all):  1 2\n");
    parameter("Selection symmetric") = 1;
    parameter("Selection extension") = 1;
    setRequireAuto(pairs);
    setRequireRightAny(right);
    setForbidLeft(right);
    setForbidRight(left);
    setSelection(3);
    EXPECT_EQ(display(0), "Selection restricted to symmetric invariants\n"
                          "Selection restricted to non-trivial chiral algebra extensions\n"
                          "Selection restricted to automorphism invariants\n"
                          "Required pairings:  1:2 2:1\n"
                          "Required left currents (all):  1 2\n"
                          "Required right currents (any):  2\n"
                          "Forbidden left currents:  2\n"
                          "Forbidden right currents:  1 2\n"
                          "Auto selection: nr. 3\n");
    resetSelectionCriteria();
    EXPECT_EQ(display(1), "No selection criteria\n");
}

TEST_F(CriteriaTest, WrittenLinesSetTheCriteriaAgain) {
    EXPECT_EQ(fileText(writeInvariantSelectionCriteria),
              "set reject permutations\nset autostore off\n");
    int left[] = {1, 2, -1}, right[] = {0, -1};
    parameter("Selection symmetric") = 1;
    parameter("Selection extension") = 1;
    parameter("Reject permutations") = 0;
    parameter("Autostore") = 1;
    setRequireLeftAny(left);
    setRequireRight(right);
    setForbidLeft(right);
    setForbidRight(left);
    EXPECT_EQ(fileText(writeInvariantSelectionCriteria), "set selection symmetric\n"
                                                         "set selection extension\n"
                                                         "set autostore on\n"
                                                         "set present left 1 2\n"
                                                         "set require right 0\n"
                                                         "set forbid left  0\n"
                                                         "set forbid right  1 2\n");
    parameter("Autostore") = 2;
    resetAlgebraRequirements();
    EXPECT_EQ(fileText(writeInvariantSelectionCriteria),
              "set selection symmetric\nset selection extension\n")
        << "no autostore line for a value other than 0 and 1";
}

// Any number of random samples counts as randomised.
TEST_F(CriteriaTest, RandomScansTagTheCriteriaAndRefuseAnAutomaticChoice) {
    EXPECT_EQ(fileText(printInvariantSelectionCriteria), "(Permutations suppressed)\n");
    parameter("MIPF random") = 1000;
    parameter("Selection automorphism") = 1;
    EXPECT_EQ(fileText(printInvariantSelectionCriteria),
              "Automorphism (Randomized) (Permutations suppressed)\n");
    auto [out, err] = outputOf([] { setSelection(5); });
    EXPECT_NE(err.find("Autoselect is inconsistent with randomization"), std::string::npos) << err;
    parameter("Selection automorphism") = 0;
    EXPECT_EQ(display(1), "No selection criteria\n") << "0 was stored";
    parameter("MIPF random") = 0;
    setSelection(5);
    EXPECT_EQ(display(1), "Auto selection: nr. 5\n");
}

TEST_F(CriteriaTest, SubgroupStartWarnsUnderAutostore) {
    EXPECT_EQ(outputOf([] { setSubgroupStart(1, 2); }).second, "");
    parameter("Autostore") = 1;
    EXPECT_NE(outputOf([] {
                  setSubgroupStart(1, 2);
              }).second.find("Non-zero loop start is inconsistent with autostore"),
              std::string::npos);
}

TEST_F(CriteriaTest, TheDiagonalInvariantIsWarnedAbout) {
    EXPECT_EQ(outputOf([] { generateDiagonalSelectionWarning(); }).first, "");
    int forbidden[] = {0, -1};
    setForbidRight(forbidden);
    parameter("Selection extension") = 1;
    EXPECT_EQ(outputOf([] { generateDiagonalSelectionWarning(); }).first,
              "WARNING: the diagonal invariant does not satisfy the chosen selection criteria\n"
              "WARNING: the diagonal invariant may not satisfy the chosen selection criteria\n");
    EXPECT_EQ(outputOf([] { resetBulk(); }).first,
              "WARNING: the diagonal invariant does not satisfy the chosen selection criteria\n"
              "WARNING: the diagonal invariant may not satisfy the chosen selection criteria\n")
        << "returning to the diagonal invariant warns";
}

} // namespace
