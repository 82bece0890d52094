// Invariants given as matrices on A1 at levels 4 and 10 (field 2j is l = j, field 2j+1 is
// l = k - j): the two text notations, the S-commutator check against the A-D-E invariants worked
// out by hand, and the records made from a matrix.
#include "InvariantsTestHelpers.h"

#include "modular/Invariants.h"
#include "modular/Modular.h"

#include <gtest/gtest.h>

#include <map>
#include <string>
#include <utility>

using namespace invtest;

namespace {

class ExceptionalTest : public InvariantsTest {};

using Entries = std::map<std::pair<int, int>, int>;

// The non-zero entries of the N x N matrix Z.
Entries entries(const int* Z, int N) {
    Entries e;
    for (int a = 0; a < N; a++)
        for (int b = 0; b < N; b++)
            if (Z[a * N + b])
                e[{a, b}] = Z[a * N + b];
    return e;
}

Entries diagonalExcept(int N, const Entries& changes) {
    Entries e;
    for (int a = 0; a < N; a++)
        e[{a, a}] = 1;
    for (const auto& [k, v] : changes) {
        if (v)
            e[k] = v;
        else
            e.erase(k);
    }
    return e;
}

TEST_F(ExceptionalTest, TextNotationsGiveTheirMatrices) {
    useTheory(1, 1, 4);
    struct Case {
        const char* text;
        Entries expected;
    };
    for (const Case& c : {
             Case{"(0+3)^2+2*(1)(2)",
                  {{{0, 0}, 1}, {{0, 3}, 1}, {{3, 0}, 1}, {{3, 3}, 1}, {{1, 2}, 2}}},
             Case{"(0+0)^2", {{{0, 0}, 4}}},
             Case{"(0+1)^2+2*(4)^2+",
                  {{{0, 0}, 1}, {{0, 1}, 1}, {{1, 0}, 1}, {{1, 1}, 1}, {{4, 4}, 2}}},
             Case{"3*(2*1)*(0+4)", {{{1, 0}, 6}, {{1, 4}, 6}}},
             Case{"<1,2><3,4>", diagonalExcept(5, {{{1, 1}, 0},
                                                   {{2, 2}, 0},
                                                   {{3, 3}, 0},
                                                   {{4, 4}, 0},
                                                   {{1, 2}, 1},
                                                   {{2, 1}, 1},
                                                   {{3, 4}, 1},
                                                   {{4, 3}, 1}})},
             Case{"<1,2,3>", diagonalExcept(5, {{{1, 1}, 0},
                                                {{2, 2}, 0},
                                                {{3, 3}, 0},
                                                {{1, 2}, 1},
                                                {{2, 3}, 1},
                                                {{3, 1}, 1}})},
         }) {
        const int* Z = buildMatrix(c.text);
        ASSERT_NE(Z, nullptr) << c.text;
        EXPECT_EQ(entries(Z, 5), c.expected) << c.text;
    }
}

TEST_F(ExceptionalTest, MalformedTextsGiveNoMatrix) {
    useTheory(1, 1, 4);
    struct Case {
        const char* text;
        const char* message;
    };
    for (const Case& c :
         {Case{"<3>", "Non-numerical label"}, Case{"<1,5>", "out of range"},
          Case{"<1,2>x", "Syntax error"}, Case{"<1,2;", "Syntax error"},
          Case{"(0)", "Missing anti-holomorphic factor"},
          Case{"(0)^3", "Missing anti-holomorphic factor"},
          Case{"(0)(1)x(2)^2", "Syntax error: unexpected x"}, Case{"(0+a)^2", "Invalid character"},
          Case{"(7)^2", "Label 7 out of range"}, Case{"2(0)^2", "Syntax error"}}) {
        const int* Z = reinterpret_cast<const int*>(1);
        const auto [out, err] = outputOf([&] { Z = buildMatrix(c.text); });
        EXPECT_EQ(Z, nullptr) << c.text;
        EXPECT_NE((out + err).find(c.message), std::string::npos) << c.text << ": " << out << err;
    }
}

TEST_F(ExceptionalTest, CheckSeparatesInvariantsFromOtherMatrices) {
    struct Case {
        int level;
        const char* text;
        int invariant;
    };
    // D4: |l0+l4|^2 + 2|l2|^2; E6 on level 10: |l0+l6|^2 + |l3+l7|^2 + |l4+l10|^2; the
    // permutation l 1 <-> 9, 3 <-> 7 of level 10.
    for (const Case& c : {Case{4, "(0+1)^2+2*(4)^2", 1}, Case{4, "(0+2)^2", 0},
                          Case{4, "(0+1)^2+(4)^2", 0}, Case{10, "(0+9)^2+(6+7)^2+(1+8)^2", 1},
                          Case{10, "<2,3><6,7>", 1}, Case{10, "<2,3>", 0}}) {
        useTheory(1, 1, c.level);
        initSMATRIX();
        const int* Z = buildMatrix(c.text);
        ASSERT_NE(Z, nullptr);
        int verdict = -1;
        outputOf([&] { verdict = checkInvariant(Z, 10); });
        EXPECT_EQ(verdict, c.invariant) << "level " << c.level << ": " << c.text;
    }
}

TEST_F(ExceptionalTest, BuiltInInvariantsHaveTheirSizes) {
    struct Case {
        int type, rank, level, mode, entries;
    };
    // E6, E7, E8 and their counterparts on the N=2 blocks of the same levels.
    for (const Case& c :
         {Case{1, 1, 10, 1, 12}, Case{1, 1, 16, 2, 17}, Case{1, 1, 28, 3, 32},
          Case{1, 1, 10, 0, 11}, Case{27, 2, 10, 4, 288}, Case{27, 2, 16, 5, 612}}) {
        useTheory(c.type, c.rank, c.level);
        parameter("Autostore") = 1;
        const int before = TotalInvariants();
        outputOf([&] { buildExceptionalInvariant(c.mode); });
        BulkInvariant* stored = getLastBulkInvariant();
        int total = 0;
        for (const auto& row : dense(stored))
            for (int z : row)
                total += z;
        if (c.mode == 0) {
            EXPECT_EQ(TotalInvariants(), before) << "the diagonal invariant is stored already";
        } else {
            EXPECT_EQ(TotalInvariants(), before + 1) << c.level;
            EXPECT_EQ(total, c.entries) << c.level;
            EXPECT_EQ(stored->symmetric, 1);
        }
    }
}

TEST_F(ExceptionalTest, RecordsHoldAVacuumColumnLargerThanTheFieldCount) {
    useTheory(1, 1, 4);
    // Column 0 sums to 6 on 5 fields; rows carry their gcd as multiplicity.
    const int* Z = buildMatrix("3*(0+1)^2+2*(2)(3+4)");
    ASSERT_NE(Z, nullptr);
    std::unique_ptr<BulkInvariant> bi(allocNewBulkInvariant(nullptr));
    makeExceptionalBulkInvariant(Z, bi.get(), 0, 0);
    EXPECT_EQ(std::vector<int>(bi->left_extension, bi->left_extension + bi->left_extension_size),
              (std::vector<int>{0, 0, 0, 1, 1, 1}));
    EXPECT_EQ(bi->multiplicity[0], 3);
    EXPECT_EQ(bi->multiplicity[2], 2);
    EXPECT_EQ(bi->IshibashiLabelCount, 6);
    EXPECT_EQ(bi->symmetric, 0);
    Matrix expected(5, std::vector<int>(5, 0));
    for (const auto& [k, v] : entries(Z, 5))
        expected[k.first][k.second] = v;
    EXPECT_EQ(dense(bi.get()), expected);
    std::unique_ptr<BulkInvariant> copy(allocNewBulkInvariant(nullptr));
    copyBulkInvariant(copy.get(), bi.get());
    EXPECT_EQ(dense(copy.get()), expected);
    EXPECT_EQ(
        std::vector<int>(copy->left_extension, copy->left_extension + copy->left_extension_size),
        (std::vector<int>{0, 0, 0, 1, 1, 1}));
}

} // namespace
