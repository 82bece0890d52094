#include "numeric/Permutations.h"

#include "base/Error.h"
#include "numeric/Sorting.h"

#include "TestSupport.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <numeric>
#include <set>
#include <string>
#include <vector>

namespace {

using testsupport::stdoutOf;

using Rows = std::vector<std::vector<int>>;

Rows rowsOf(const VectorSpace* P) {
    Rows rows;
    const int n = P->id_size;
    for (int r = 0; r < P->Nfill; ++r) {
        const int* row = P->Space + static_cast<std::size_t>(P->rowsize) * r;
        rows.emplace_back(row, row + n);
    }
    return rows;
}

bool isPermutation(const std::vector<int>& p) {
    std::vector<int> sorted = p;
    std::sort(sorted.begin(), sorted.end());
    for (int i = 0; i < static_cast<int>(sorted.size()); ++i)
        if (sorted[i] != i)
            return false;
    return true;
}

template <class F> std::string errorsOf(F f) {
    testing::internal::CaptureStderr();
    f();
    return testing::internal::GetCapturedStderr();
}

// A HOME of its own for the manual permutations file "~/MP", restored afterwards.
class ManualFileHome {
public:
    ManualFileHome() { setManualPermutations("~/MP"); }
    void write(const std::string& text) const { std::ofstream(home_.path() + "/MP") << text; }

private:
    testsupport::TempHome home_{"tarvik_perm"};
};

TEST(PermutationsTest, ProductsAndInverses) {
    int A[] = {1, 2, 0}, B[] = {1, 0, 2}, C[3];
    multiplyPermutations(3, A, B, C);
    EXPECT_EQ(std::vector<int>(C, C + 3), (std::vector<int>{2, 1, 0}));
    multiplyPermutations(3, A, B, A); // the result may overwrite an argument
    EXPECT_EQ(std::vector<int>(A, A + 3), (std::vector<int>{2, 1, 0}));

    char a[] = {1, 2, 0}, b[] = {1, 0, 2}, c[3];
    multiplyCharPermutations(3, a, b, c);
    EXPECT_EQ(std::vector<char>(c, c + 3), (std::vector<char>{2, 1, 0}));

    int P[] = {2, 0, 1}, Q[3];
    inversePermutation(3, P, Q);
    EXPECT_EQ(std::vector<int>(Q, Q + 3), (std::vector<int>{1, 2, 0}));
    int R[5] = {3, 0, 4, 1, 2}, S[5], T[5];
    inversePermutation(5, R, S);
    multiplyPermutations(5, R, S, T);
    EXPECT_EQ(std::vector<int>(T, T + 5), (std::vector<int>{0, 1, 2, 3, 4}));
}

TEST(PermutationsTest, InverseOfANonPermutationReportsTheMissingValue) {
    int A[] = {0, 0, 1}, B[3];
    std::string err = errorsOf([&] { inversePermutation(3, A, B); });
    EXPECT_EQ(std::vector<int>(B, B + 3), (std::vector<int>{0, 2, -1}));
    EXPECT_NE(err.find("Non-invertible permutation"), std::string::npos);
    int outside[] = {7, 1}, C[2];
    errorsOf([&] { inversePermutation(2, outside, C); });
    EXPECT_EQ(std::vector<int>(C, C + 2), (std::vector<int>{-1, 1}));
}

TEST(PermutationsTest, SmallChecks) {
    struct Case {
        std::vector<int> p;
        int involution, fixed;
    };
    for (Case c : {Case{{}, 1, 0}, Case{{0, 1, 2}, 1, 3}, Case{{1, 0, 2}, 1, 1},
                   Case{{1, 2, 0}, 0, 0}, Case{{3, 2, 1, 0}, 1, 0}}) {
        EXPECT_EQ(InvolutionCheck(static_cast<int>(c.p.size()), c.p.data()), c.involution);
        EXPECT_EQ(countFixedEntries(static_cast<int>(c.p.size()), c.p.data()), c.fixed);
    }
    int id0[] = {1, 1, 2, 1}, id1[] = {0, 0, 0, 5}, id2[4];
    multiplyIds(4, id0, id1, id2);
    EXPECT_EQ(std::vector<int>(id2, id2 + 4), (std::vector<int>{0, 0, 2, 3}));

    int A[] = {10, 11, 12, 13, 14}, B[5];
    cyclicPermutation(5, 3, A, B, 1);
    EXPECT_EQ(std::vector<int>(B, B + 5), (std::vector<int>{11, 12, 10, 13, 14}));
    cyclicPermutation(5, 3, A, B, -1);
    EXPECT_EQ(std::vector<int>(B, B + 5), (std::vector<int>{12, 10, 11, 13, 14}));
}

TEST(PermutationsTest, CyclicDecomposition) {
    struct Case {
        std::vector<int> p;
        const char* text;
    };
    for (Case c : {Case{{1, 0, 2}, " (0,1)(2)"}, Case{{0, 1}, " (0)(1)"},
                   Case{{2, 0, 1, 4, 3}, " (0,2,1)(3,4)"},
                   Case{{1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 0}, " (0,1,2,3,4,5,6,7,8,9,10,11)"},
                   Case{{}, " "}})
        EXPECT_STREQ(cyclicDecomposition(static_cast<int>(c.p.size()), c.p.data()), c.text);
    int broken[] = {0, 0, 5};
    EXPECT_STREQ(cyclicDecomposition(3, broken), " (0)(1)(2)");
}

TEST(PermutationsTest, AllPermutationsOfThreeInGenerationOrder) {
    EXPECT_EQ(rowsOf(generateAllPermutations(3)),
              (Rows{{0, 1, 2}, {1, 0, 2}, {1, 2, 0}, {2, 0, 1}, {0, 2, 1}, {2, 1, 0}}));
    VectorSpace* none = generateAllPermutations(0);
    EXPECT_EQ(none->Nfill, 1);
    EXPECT_EQ(rowsOf(generateAllPermutations(1)), (Rows{{0}}));
}

TEST(PermutationsTest, AllPermutationsOfFiveAreDistinct) {
    Rows rows = rowsOf(generateAllPermutations(5));
    EXPECT_EQ(rows.size(), 120u);
    EXPECT_EQ(std::set<std::vector<int>>(rows.begin(), rows.end()).size(), 120u);
    for (const auto& r : rows)
        EXPECT_TRUE(isPermutation(r));
    EXPECT_EQ(rows[0], (std::vector<int>{0, 1, 2, 3, 4}));
}

TEST(PermutationsTest, TenObjectsWithoutManualFileFixTheLastPosition) {
    ManualFileHome home;
    VectorSpace* P = nullptr;
    std::string err = errorsOf([&] { P = generateAllPermutations(10); });
    EXPECT_NE(err.find("Could not open file \"~/MP\""), std::string::npos);
    ASSERT_EQ(P->Nfill, 362880);
    for (int r = 0; r < P->Nfill; ++r)
        ASSERT_EQ(P->Space[static_cast<std::size_t>(P->rowsize) * r + 9], 9);
}

TEST(PermutationsTest, TenObjectsFromTheManualFile) {
    ManualFileHome home;
    home.write("1 2 3 4 5 6 7 8 9 0\n");
    VectorSpace* P = nullptr;
    const int terminal = OutputStatus();
    TerminalOutputOn();
    std::string out = stdoutOf([&] { errorsOf([&] { P = generateAllPermutations(10); }); });
    if (!terminal)
        TerminalOutputOff();
    EXPECT_NE(out.find("Reading manual permutations from file ~/MP\n"), std::string::npos);
    Rows rows = rowsOf(P);
    ASSERT_EQ(rows.size(), 10u);
    // The powers of the 10-cycle: i -> i + s.
    std::set<std::vector<int>> expected;
    for (int s = 0; s < 10; ++s) {
        std::vector<int> p(10);
        for (int i = 0; i < 10; ++i)
            p[i] = (i + s) % 10;
        expected.insert(p);
    }
    EXPECT_EQ(std::set<std::vector<int>>(rows.begin(), rows.end()), expected);
}

// Lines that are no permutation of 0 .. 9 would make the closure index outside its rows: each
// is reported and skipped, and the good line still counts.
TEST(PermutationsTest, BadManualFileLinesAreRejected) {
    ManualFileHome home;
    home.write("0 1 2 3 4 5 6 7 8 99\n"
               "\n"
               "0 0 1 2 3 4 5 6 7 8\n"
               "1 0 2 3 4 5 6 7 8 9\n"
               "0 1 2 x 4 5 6 7 8 9\n"
               "0 1 2\n"
               "0 1 2 3 4 5 6 7 8 9 10\n"
               "-1 1 2 3 4 5 6 7 8 0\n");
    VectorSpace* P = nullptr;
    std::string err;
    stdoutOf([&] { err = errorsOf([&] { P = generateAllPermutations(10); }); });
    for (int bad : {1, 2, 4, 5, 6, 7})
        EXPECT_NE(err.find("Permutation " + std::to_string(bad) +
                           " of the manual permutations file ~/MP is not a permutation of 0 .. 9"),
                  std::string::npos)
            << bad << "\n"
            << err;
    EXPECT_EQ(err.find("Permutation 3 of"), std::string::npos);
    EXPECT_EQ(rowsOf(P), (Rows{{0, 1, 2, 3, 4, 5, 6, 7, 8, 9}, {1, 0, 2, 3, 4, 5, 6, 7, 8, 9}}));
}

TEST(PermutationsTest, ReadPermutationLine) {
    FILE* f = std::tmpfile();
    std::fputs("  3 1 2  \n\n\t\n2 1\n4 5 6", f);
    std::rewind(f);
    int v[3];
    EXPECT_EQ(readPermutationLine(f, v, 3), 0);
    EXPECT_EQ(std::vector<int>(v, v + 3), (std::vector<int>{3, 1, 2}));
    EXPECT_EQ(readPermutationLine(f, v, 3), 1);
    EXPECT_EQ(readPermutationLine(f, v, 3), 0); // the last line needs no newline
    EXPECT_EQ(std::vector<int>(v, v + 3), (std::vector<int>{4, 5, 6}));
    EXPECT_EQ(readPermutationLine(f, v, 3), -1);
    std::fclose(f);
}

TEST(PermutationsTest, ClosureGeneratesTheSymmetricGroup) {
    VectorSpace P = declareVectorSpace("closure test", 10);
    initVectorCollection(&P, 4, 4);
    int id[] = {0, 1, 2, 3}, cycle[] = {1, 2, 3, 0}, swap[] = {1, 0, 2, 3};
    addVectorToCollection(&P, id);
    addVectorToCollection(&P, cycle);
    ClosePermutations(&P);
    EXPECT_EQ(P.Nfill, 4); // the cyclic group of order 4
    addVectorToCollection(&P, swap);
    ClosePermutations(&P);
    EXPECT_EQ(P.Nfill, 24);
}

TEST(PermutationsTest, LabelPreservingRearrangements) {
    int vector[] = {5, 6, 7}, identical[] = {0, 0, 1};
    EXPECT_EQ(rowsOf(generatePermutations(3, -1, vector, identical, 100)),
              (Rows{{5, 6, 7}, {6, 5, 7}}));
    EXPECT_EQ(rowsOf(generatePermutations(3, 0, vector, identical, 100)), (Rows{{5, 6, 7}}));
    EXPECT_EQ(generatePermutations(3, -1, vector, identical, 1), nullptr);

    int four[] = {1, 2, 3, 4}, same[] = {0, 0, 0, 0};
    Rows rows = rowsOf(generatePermutations(4, -1, four, same, 1000));
    EXPECT_EQ(rows.size(), 24u);
    int repeated[] = {1, 1, 2, 2};
    EXPECT_EQ(generatePermutations(4, -1, repeated, same, 1000)->Nfill, 6); // 4! / (2! 2!)
}

TEST(PermutationsTest, PermutationsInsideLabelClasses) {
    int id[] = {0, 1, 0, 1};
    EXPECT_EQ(rowsOf(generateSubPermutations(4, id)),
              (Rows{{0, 1, 2, 3}, {2, 1, 0, 3}, {0, 3, 2, 1}, {2, 3, 0, 1}}));
    int classes[] = {4, 9, 4, 4, 9, 1};
    Rows rows = rowsOf(generateSubPermutations(6, classes));
    EXPECT_EQ(rows.size(), 12u); // 3! * 2!
    for (const auto& p : rows) {
        EXPECT_TRUE(isPermutation(p));
        for (int i = 0; i < 6; ++i)
            EXPECT_EQ(classes[p[i]], classes[i]);
    }
}

TEST(PermutationsTest, ClassPermutations) {
    int distinct[] = {0, 1, 2};
    EXPECT_EQ(getSubPermutations(3, distinct), nullptr);
    EXPECT_EQ(getSubPermutations(0, distinct), nullptr);
    int labels[] = {7, 7, 7, 3};
    VectorSpace** classes = nullptr;
    std::string out = stdoutOf([&] { classes = getSubPermutations(4, labels); });
    ASSERT_NE(classes, nullptr);
    ASSERT_NE(classes[0], nullptr);
    EXPECT_EQ(classes[1], nullptr);
    EXPECT_STREQ(classes[0]->name, "SubPerm_0");
    EXPECT_EQ(rowsOf(classes[0]),
              (Rows{{0, 1, 2}, {1, 0, 2}, {1, 2, 0}, {2, 0, 1}, {0, 2, 1}, {2, 1, 0}}));
    EXPECT_NE(out.find("allocated: 10\n"), std::string::npos);
    EXPECT_NE(out.find("Finishing getSubPermutations\n"), std::string::npos);

    int two[] = {1, 2, 1, 2, 2};
    stdoutOf([&] { classes = getSubPermutations(5, two); });
    EXPECT_EQ(rowsOf(classes[0]), (Rows{{0, 2}, {2, 0}}));
    EXPECT_EQ(classes[1]->Nfill, 6);
    EXPECT_EQ(rowsOf(classes[1])[0], (std::vector<int>{1, 3, 4}));
    EXPECT_EQ(classes[2], nullptr);
}

TEST(PermutationsTest, ApplyingSubAndCyclicPermutations) {
    VectorSpace P = declareVectorSpace("apply test", 10);
    initVectorCollection(&P, 4, 4);
    int start[] = {0, 1, 2, 3};
    addVectorToCollection(&P, start);
    VectorSpace SP = declareVectorSpace("class test", 10);
    initVectorCollection(&SP, 2, 4);
    int base[] = {1, 3}, swapped[] = {3, 1};
    addVectorToCollection(&SP, base);
    addVectorToCollection(&SP, swapped);
    applySubPermutations(&P, &SP, 4, 2);
    EXPECT_EQ(rowsOf(&P), (Rows{{0, 1, 2, 3}, {0, 3, 2, 1}}));

    applyCyclicPermutations(&P, 3);
    Rows rows = rowsOf(&P);
    EXPECT_EQ(rows.size(), 6u);
    EXPECT_EQ(rows[2], (std::vector<int>{1, 2, 0, 3}));
    EXPECT_EQ(rows[3], (std::vector<int>{2, 0, 1, 3}));
}

} // namespace
