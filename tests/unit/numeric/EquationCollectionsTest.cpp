#include "numeric/EquationCollections.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <random>
#include <string>
#include <vector>

namespace {

int* rowAt(VectorSpace& s, int r) {
    return s.Space + s.rowsize * r;
}

std::vector<int> row(VectorSpace& s, int r, int n) {
    return std::vector<int>(rowAt(s, r), rowAt(s, r) + n);
}

TEST(EquationCollectionsTest, IntegerStoredDependentInconsistent) {
    VectorSpace s = declareVectorSpace("int eqns", 10);
    initEquationCollection(&s, 2, 4);
    int e1[3] = {1, -1, 0};
    EXPECT_EQ(CollectIntegerEquations(&s, e1), 1);
    EXPECT_EQ(s.Nfill, 1);
    EXPECT_EQ(rowAt(s, 0)[3], 1); // pivot: the smallest coefficient, -1
    int e2[3] = {2, -2, 0};
    EXPECT_EQ(CollectIntegerEquations(&s, e2), 0);
    int e3[3] = {1, -1, 3};
    EXPECT_EQ(CollectIntegerEquations(&s, e3), -1);
    EXPECT_EQ(s.Nfill, 1);
}

TEST(EquationCollectionsTest, IntegerTrivialRowsAndCommonFactor) {
    VectorSpace s = declareVectorSpace("int trivial", 10);
    initEquationCollection(&s, 2, 4);
    int c[3] = {0, 0, 5};
    EXPECT_EQ(CollectIntegerEquations(&s, c), -1);
    EXPECT_EQ(rowAt(s, 0)[2], 1);
    int z[3] = {0, 0, 0};
    EXPECT_EQ(CollectIntegerEquations(&s, z), 0);
    int e[3] = {2, 4, 6};
    EXPECT_EQ(CollectIntegerEquations(&s, e), 1);
    EXPECT_EQ(row(s, 0, 3), (std::vector<int>{1, 2, 3}));
}

TEST(EquationCollectionsTest, IntegerSolveSmallSystems) {
    VectorSpace s = declareVectorSpace("int solve", 10);
    initEquationCollection(&s, 2, 4);
    int e1[3] = {1, 0, -1};
    ASSERT_EQ(CollectIntegerEquations(&s, e1), 1);
    int sol[2] = {0, 0};
    EXPECT_EQ(SolveIntegerEquations(&s, sol), -1); // one equation, two variables
    int e2[3] = {0, 1, -2};
    ASSERT_EQ(CollectIntegerEquations(&s, e2), 1);
    EXPECT_EQ(SolveIntegerEquations(&s, sol), 1);
    EXPECT_EQ(sol[0], 1);
    EXPECT_EQ(sol[1], 2);

    // 2x + y = 4, x - y = -1 (as 2x + y - 4 = 0, x - y + 1 = 0): x = 1, y = 2.
    initEquationCollection(&s, 2, 4);
    int f1[3] = {2, 1, -4};
    int f2[3] = {1, -1, 1};
    ASSERT_EQ(CollectIntegerEquations(&s, f1), 1);
    ASSERT_EQ(CollectIntegerEquations(&s, f2), 1);
    int D = SolveIntegerEquations(&s, sol);
    ASSERT_GT(D, 0);
    EXPECT_EQ(sol[0], D * 1);
    EXPECT_EQ(sol[1], D * 2);

    // 3x = 2 has the rational solution 2/3: D is a multiple of 3 with D·x integral.
    initEquationCollection(&s, 1, 4);
    int g[2] = {3, -2};
    ASSERT_EQ(CollectIntegerEquations(&s, g), 1);
    D = SolveIntegerEquations(&s, sol);
    EXPECT_EQ(sol[0] * 3, 2 * D);

    initEquationCollection(&s, 0, 4);
    EXPECT_EQ(SolveIntegerEquations(&s, sol), 1); // no variables
}

// Equations built around a known integer point: rank decides the answers, the point must be
// reproduced by the solution, and a shifted constant must be inconsistent.
TEST(EquationCollectionsTest, IntegerRandomSystemsAroundAKnownPoint) {
    std::mt19937 gen(11);
    auto small = [&](int r) { return static_cast<int>(gen() % (2 * r + 1)) - r; };
    for (int trial = 0; trial < 40; trial++) {
        const int n = 2 + trial % 3;
        std::vector<int> x(n);
        for (int& v : x)
            v = small(4);
        VectorSpace s = declareVectorSpace("int random", 10);
        initEquationCollection(&s, n, n + 2);
        std::vector<std::vector<int>> stored;
        while (s.Nfill < n) {
            std::vector<int> e(n + 1);
            int dot = 0;
            for (int i = 0; i < n; i++) {
                e[i] = small(3);
                dot += e[i] * x[i];
            }
            e[n] = -dot;
            int r = CollectIntegerEquations(&s, e.data());
            ASSERT_GE(r, 0);
            if (r == 0)
                continue;
            stored.push_back(e);
            // A sum of two stored equations is dependent.
            if (stored.size() >= 2) {
                std::vector<int> sum(n + 1);
                for (int i = 0; i <= n; i++)
                    sum[i] = stored[0][i] + 2 * stored.back()[i];
                EXPECT_EQ(CollectIntegerEquations(&s, sum.data()), 0);
                sum[n] += 1; // the same left-hand side with another constant
                EXPECT_EQ(CollectIntegerEquations(&s, sum.data()), -1);
            }
        }
        std::vector<int> sol(n);
        int D = SolveIntegerEquations(&s, sol.data());
        ASSERT_GT(D, 0);
        for (int i = 0; i < n; i++)
            EXPECT_EQ(sol[i], D * x[i]) << "trial " << trial;
        // Echelon form: each pivot column vanishes in every other row.
        for (int k = 0; k < s.Nfill; k++)
            for (int j = 0; j < s.Nfill; j++) {
                if (j != k) {
                    EXPECT_EQ(rowAt(s, j)[rowAt(s, k)[n + 1]], 0);
                }
            }
    }
}

TEST(EquationCollectionsTest, OverflowWarningGivesStatusTwo) {
    int a[3] = {2, 1000001, 0};
    int b[3] = {3, 0, 0};
    EXPECT_EQ(subtractVectorsToNullify(3, a, b, 0), 2); // 3 000 003 appears, then divided out
    EXPECT_EQ(std::vector<int>(a, a + 3), (std::vector<int>{0, 1, 0}));
    // The row 0 = c after the warning reads -2.
    int c[2] = {1000, 1};
    int d[2] = {999, 2000};
    EXPECT_EQ(subtractVectorsToNullify(2, c, d, 0), -2);
}

TEST(EquationCollectionsTest, NormalizeVector) {
    int a[3] = {4, -6, 8};
    EXPECT_EQ(NormalizeVector(3, a), 1);
    EXPECT_EQ(std::vector<int>(a, a + 3), (std::vector<int>{2, -3, 4}));
    int z[3] = {0, 0, 0};
    EXPECT_EQ(NormalizeVector(3, z), 0);
    int c[3] = {0, 0, -7};
    EXPECT_EQ(NormalizeVector(3, c), -1);
    EXPECT_EQ(c[2], 1);
}

TEST(EquationCollectionsTest, InversionCollection) {
    // Two pivotable entries, one carried entry.
    VectorSpace s = declareVectorSpace("inversion", 10);
    initInversionCollection(&s, 2, 1, 4);
    int e1[3] = {1, 1, 5};
    EXPECT_EQ(CollectInversionEquations(&s, e1), 1);
    int e2[3] = {2, 2, 10};
    EXPECT_EQ(CollectInversionEquations(&s, e2), 0);
    int e3[3] = {0, 0, 4}; // only the very last entry non-zero
    EXPECT_EQ(CollectInversionEquations(&s, e3), -1);
    int e4[3] = {1, -1, 1};
    EXPECT_EQ(CollectInversionEquations(&s, e4), 1);
    EXPECT_EQ(s.Nfill, 2);
    int e5[3] = {3, 1, 11}; // = 2·e1 + e4: dependent
    EXPECT_EQ(CollectInversionEquations(&s, e5), 0);
    int e6[3] = {3, 1, 12}; // its left-hand side with another carried entry
    EXPECT_EQ(CollectInversionEquations(&s, e6), -1);
}

TEST(EquationCollectionsTest, CyclicHandExamples) {
    VectorSpace s = declareVectorSpace("mod 5", 10);
    initEquationCollection(&s, 2, 4);
    int e1[3] = {2, 0, 1};
    EXPECT_EQ(CollectCyclicEquations(&s, e1, 5), 1);
    EXPECT_EQ(row(s, 0, 3), (std::vector<int>{1, 0, 3}));
    int e2[3] = {4, 0, 2};
    EXPECT_EQ(CollectCyclicEquations(&s, e2, 5), 0);
    int e3[3] = {4, 0, 3};
    EXPECT_EQ(CollectCyclicEquations(&s, e3, 5), -1);
    int e4[3] = {-3, 5, 10}; // reduced in the caller's array: (2, 0, 0)
    EXPECT_EQ(CollectCyclicEquations(&s, e4, 5), -1);
    EXPECT_EQ(std::vector<int>(e4, e4 + 3), (std::vector<int>{2, 0, 0}));
    int zero[3] = {5, 10, 0};
    EXPECT_EQ(CollectCyclicEquations(&s, zero, 5), 0);
}

TEST(EquationCollectionsTest, CyclicInverses) {
    EXPECT_EQ(cyclicInverse(3, 7), 5);
    EXPECT_EQ(cyclicInverse(5, 1), 1);
    testing::internal::CaptureStderr();
    EXPECT_EQ(cyclicInverse(2, 4), 0);
    EXPECT_NE(testing::internal::GetCapturedStderr().find("No inverse of 2 modulo 4"),
              std::string::npos);
    for (int a = 1; a < 11; a++)
        EXPECT_EQ(a * cyclicInverse(a, 11) % 11, 1);
}

TEST(EquationCollectionsTest, CyclicModuloFourStoresUnnormalisableRow) {
    // The inverses are tabled once per modulus, and the missing ones reported as the table is
    // made: a row normalised modulo 5 first makes the collection table modulo 4 anew.
    int unit[1] = {1};
    NormalizeOnPosition(1, unit, 0, 5);
    VectorSpace s = declareVectorSpace("mod 4", 10);
    initEquationCollection(&s, 2, 4);
    int e[3] = {2, 1, 0};
    testing::internal::CaptureStdout();
    testing::internal::CaptureStderr();
    EXPECT_EQ(CollectCyclicEquations(&s, e, 4), 1);
    std::string out = testing::internal::GetCapturedStdout();
    std::string err = testing::internal::GetCapturedStderr();
    EXPECT_NE(out.find("!!!"), std::string::npos);
    EXPECT_NE(err.find("Cannot normalize equation (i=0,value 2, mod 4)"), std::string::npos);
    EXPECT_NE(err.find("No inverse of 2 modulo 4"), std::string::npos);
    EXPECT_EQ(s.Nfill, 1);
    EXPECT_EQ(row(s, 0, 4), (std::vector<int>{2, 1, 0, 0}));
}

// Brute force over all points modulo a small prime: an equation is dependent when every
// solution of the stored ones satisfies it, inconsistent when none does.
TEST(EquationCollectionsTest, CyclicAgreesWithBruteForce) {
    const int N = 5, n = 3;
    std::mt19937 gen(5);
    for (int trial = 0; trial < 30; trial++) {
        VectorSpace s = declareVectorSpace("mod 5 random", 10);
        initEquationCollection(&s, n, 6);
        std::vector<std::vector<int>> eqs;
        for (int step = 0; step < 6; step++) {
            std::vector<int> e(n + 1);
            for (int& v : e)
                v = static_cast<int>(gen() % N);
            if (step % 3 == 2)
                e[0] = e[1] = e[2] = 0; // a pure constant now and then
            int satisfied = 0, solutions = 0;
            for (int p = 0; p < N * N * N; p++) {
                int x[3] = {p % N, (p / N) % N, p / (N * N)};
                bool old = true;
                for (auto& f : eqs)
                    old = old && (f[0] * x[0] + f[1] * x[1] + f[2] * x[2] + f[3]) % N == 0;
                if (!old)
                    continue;
                solutions++;
                satisfied += (e[0] * x[0] + e[1] * x[1] + e[2] * x[2] + e[3]) % N == 0;
            }
            int expected = satisfied == solutions ? 0 : (satisfied == 0 ? -1 : 1);
            std::vector<int> copy = e;
            EXPECT_EQ(CollectCyclicEquations(&s, copy.data(), N), expected) << trial;
            if (expected == 1)
                eqs.push_back(e);
        }
        // Every point that solves the collected equations passes the stored test, and only those.
        for (int p = 0; p < N * N * N; p++) {
            int x[3] = {p % N, (p / N) % N, p / (N * N)};
            bool ok = true;
            for (auto& f : eqs)
                ok = ok && (f[0] * x[0] + f[1] * x[1] + f[2] * x[2] + f[3]) % N == 0;
            EXPECT_EQ(testSolutionToCyclicEquations(&s, x, N), ok ? 1 : 0);
        }
    }
}

std::vector<int> list(BinaryEquations* BE, int k) {
    std::vector<int> out;
    for (int j = 0; BE->eqns[k][j] >= 0; j++)
        out.push_back(BE->eqns[k][j]);
    return out;
}

TEST(EquationCollectionsTest, BinaryHandExamples) {
    BinaryEquations* BE = initBinaryEquationCollection_OLD(3);
    int a[] = {0, 1, -1}, b[] = {1, 2, -1}, c[] = {0, 2, -1};
    EXPECT_EQ(addBinaryEquationToCollection_OLD(a, 1, BE), 1);
    EXPECT_EQ(addBinaryEquationToCollection_OLD(b, 0, BE), 1);
    EXPECT_EQ(addBinaryEquationToCollection_OLD(c, 1, BE), 0);
    EXPECT_EQ(BE->neq, 2);

    BinaryEquations* BF = initBinaryEquationCollection_OLD(3);
    EXPECT_EQ(addBinaryEquationToCollection_OLD(a, 1, BF), 1);
    EXPECT_EQ(addBinaryEquationToCollection_OLD(b, 0, BF), 1);
    EXPECT_EQ(addBinaryEquationToCollection_OLD(c, 0, BF), -1);

    int empty[] = {-1};
    EXPECT_EQ(addBinaryEquationToCollection_OLD(empty, 0, BF), 0);
    EXPECT_EQ(addBinaryEquationToCollection_OLD(empty, 1, BF), -1);
}

TEST(EquationCollectionsTest, BinaryToggle) {
    int v[6] = {3, 5, -1, 0, 0, 0};
    EXPECT_EQ(addEntryToBinaryVector_OLD(v, 6, 5, 0), 0);
    EXPECT_EQ(std::vector<int>(v, v + 2), (std::vector<int>{3, -1}));
    int w[6] = {3, 5, -1, 0, 0, 0};
    EXPECT_EQ(addEntryToBinaryVector_OLD(w, 6, 7, 0), 0);
    EXPECT_EQ(std::vector<int>(w, w + 4), (std::vector<int>{3, 5, 7, -1}));
    // Capacity 5 holds at most three entries and the terminator: the call says so.
    EXPECT_EQ(addEntryToBinaryVector_OLD(w, 5, 9, 1), 1);
    EXPECT_EQ(std::vector<int>(w, w + 5), (std::vector<int>{3, 5, 7, 9, -1}));
    EXPECT_EQ(addEntryToBinaryVector_OLD(w, 5, 1, 1), 1); // refused: no room left
    EXPECT_EQ(std::vector<int>(w, w + 5), (std::vector<int>{3, 5, 7, 9, -1}));
}

TEST(EquationCollectionsTest, BinaryAgreesWithBruteForce) {
    const int n = 6;
    std::mt19937 gen(9);
    for (int trial = 0; trial < 40; trial++) {
        BinaryEquations* BE = initBinaryEquationCollection_OLD(n);
        std::vector<std::pair<int, int>> eqs; // variable mask, right-hand side
        for (int step = 0; step < 8; step++) {
            int mask = static_cast<int>(gen() % 64);
            int rhs = static_cast<int>(gen() % 2);
            std::vector<int> vars;
            for (int v = 0; v < n; v++)
                if (mask >> v & 1)
                    vars.push_back(v);
            std::shuffle(vars.begin(), vars.end(), gen);
            vars.push_back(-1);
            int solutions = 0, satisfied = 0;
            for (int x = 0; x < 64; x++) {
                bool old = true;
                for (auto [m, r] : eqs)
                    old = old && __builtin_popcount(m & x) % 2 == r;
                if (!old)
                    continue;
                solutions++;
                satisfied += __builtin_popcount(mask & x) % 2 == rhs;
            }
            int expected = satisfied == solutions ? 0 : (satisfied == 0 ? -1 : 1);
            EXPECT_EQ(addBinaryEquationToCollection_OLD(vars.data(), rhs, BE), expected);
            if (expected == 1)
                eqs.push_back({mask, rhs});
        }
        ASSERT_EQ(BE->neq, static_cast<int>(eqs.size()));
        // Reduced form: each pivot occurs in its own equation only.
        for (int k = 0; k < BE->neq; k++)
            for (int j = 0; j < BE->neq; j++) {
                std::vector<int> l = list(BE, j);
                bool has = std::find(l.begin(), l.end(), BE->sweepcol[k]) != l.end();
                EXPECT_EQ(has, j == k);
            }
    }
}

TEST(EquationCollectionsTest, BinaryListsGrowPastTheirStartCapacity) {
    const int n = 3001;
    BinaryEquations* BE = initBinaryEquationCollection_OLD(n);
    std::vector<int> a, b;
    for (int v = 1; v <= 1500; v++)
        a.push_back(v);
    for (int v = 1501; v <= 3000; v++)
        b.push_back(v);
    b.push_back(1); // shares the pivot 1 with a
    a.push_back(-1);
    b.push_back(-1);
    ASSERT_EQ(addBinaryEquationToCollection_OLD(a.data(), 1, BE), 1);
    testing::internal::CaptureStdout();
    EXPECT_EQ(addBinaryEquationToCollection_OLD(b.data(), 0, BE), 1);
    std::string out = testing::internal::GetCapturedStdout();
    EXPECT_NE(out.find("Reallocating lbl 1; new size 4000"), std::string::npos);
    // b + a holds the 2999 variables 2 .. 3000 once each.
    std::vector<int> l = list(BE, 1);
    std::sort(l.begin(), l.end());
    ASSERT_EQ(l.size(), 2999u);
    EXPECT_EQ(l.front(), 2);
    EXPECT_EQ(l.back(), 3000);
    EXPECT_EQ(BE->rhs[1], 1);
}

TEST(EquationCollectionsTest, BinaryPrinting) {
    testing::internal::CaptureStdout();
    int e[] = {4, 2, -1};
    int empty[] = {-1};
    printBinaryEquation_OLD(e, 1, "eq");
    printBinaryEquation_OLD(empty, 1, "f");
    printBinaryEquation_OLD(empty, 0, "z");
    EXPECT_EQ(testing::internal::GetCapturedStdout(), "eq (4,2)=1\nf: false eqn\nz: zero eqn\n");
    int same[] = {2, 4, -1};
    compareBinaryEquation_OLD(e, 1, same, 1); // returns: same set, same right-hand side
    EXPECT_EXIT(compareBinaryEquation_OLD(e, 1, same, 0), testing::ExitedWithCode(0), "");
}

} // namespace
