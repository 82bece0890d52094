#include "numeric/Equations.h"

#include "EquationsTestHelpers.h"
#include "base/Allocation.h"
#include "numeric/EquationsInternal.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <random>
#include <vector>

namespace {

using namespace equationstest;

TEST(EquationsTest, KernelPatternSearches) {
    // 2·x0 + x1 + x2 - 10 = 0 with ranges [0, 5], [0, 10], [0, 10].
    System s(4, {{2, 1, 1, -10}});
    ASSERT_EQ(getIndependentEquations(&s.ED, nullptr), 1);
    int Min[4] = {0, 0, 0, 1}, Max[4] = {5, 10, 10, 1};
    KernelData KD;
    initKernelData(&KD, &s.ED);
    EXPECT_EQ(KD.MaxKernelSize, 2);
    EXPECT_EQ(KernelDoublets(&KD, &s.ED, Min, Max, 0), 1);
    EXPECT_EQ(vec(KD.Kernel.X, 4), (std::vector<int>{0, -1, 1, 0}));
    EXPECT_EQ(KD.KernelLabels[0], 1);

    KernelData KT;
    initKernelData(&KT, &s.ED);
    EXPECT_EQ(KernelTriplets(&KT, &s.ED, Min, Max, 0), 1);
    EXPECT_EQ(vec(KT.Kernel.X, 4), (std::vector<int>{-1, 1, 1, 0}));
    EXPECT_EQ(KT.KernelLabels[0], 0);
    expectKernelVector(s, KT.Kernel.X);

    int fmin[4] = {0, 0, 0, 1}, fmax[4] = {5, 10, 10, 1};
    FixBoundsUsingKernel(&KT, fmin, fmax);
    EXPECT_EQ(vec(fmax, 4), (std::vector<int>{0, 10, 10, 1}));
}

// The kernel block of a c = 9 product with 55,692 loop variables and 537 independent equations
// would hold 55,155 vectors of 55,693 ints three times over, 36 GB, and its size no longer fits an
// int: it holds what fits under the allocation ceiling, the most that does. A small system keeps
// room for its whole kernel.
TEST(EquationsTest, KernelBlockStaysUnderTheAllocationCeiling) {
    using equations_internal::kernelBlockInts;
    using equations_internal::kernelVectorsFitting;
    const long long ints = static_cast<long long>(AllocRefuseLimit / sizeof(int)) - 16;
    const int Ncol = 55693;
    const int fit = kernelVectorsFitting(55155, Ncol, ints);
    EXPECT_GT(fit, 1000);
    EXPECT_LT(fit, 55155);
    EXPECT_LE(kernelBlockInts(fit, Ncol), ints);
    EXPECT_GT(kernelBlockInts(fit + 1, Ncol), ints);
    EXPECT_EQ(kernelVectorsFitting(2, 4, ints), 2);
    EXPECT_EQ(kernelVectorsFitting(500, 1000, 40000), 1);
}

// The pattern searches as a plain walk: for each primary, every combination of positive
// entries in the order nextPositive offers them, tested on every independent row; the first
// that passes becomes the vector, as the searches record it.
int plainPatterns(KernelData* KD, System& s, int* Min, int* Max, int depth) {
    const int Ncol = s.Ncol, Nvar = Ncol - 1;
    double* E = s.row(s.ED.OrigEq);
    int found = 0;
    for (int p = nextPrimaryTag(KD, Min, Max, 0, -1, Nvar); p >= 0;
         p = nextPrimaryTag(KD, Min, Max, 0, p, Nvar)) {
        int chosen[2] = {-1, -1};
        bool hit = false;
        int pass0 = 0;
        for (int s1 = nextPositive(KD, 0, -1, p, nullptr, 0, Nvar, &pass0); s1 >= 0 && !hit;
             s1 = nextPositive(KD, 0, s1, p, nullptr, 0, Nvar, &pass0)) {
            chosen[0] = s1;
            if (depth == 1) {
                hit = checkDoublet(E, s.ED.IndEq, Ncol, p, s1);
                continue;
            }
            int pass1 = 0;
            for (int s2 = nextPositive(KD, s1, s1, p, nullptr, 0, Nvar, &pass1); s2 >= 0 && !hit;
                 s2 = nextPositive(KD, s1, s2, p, nullptr, 0, Nvar, &pass1)) {
                chosen[1] = s2;
                hit = checkTriplet(E, s.ED.IndEq, Ncol, p, s1, s2);
            }
        }
        if (!hit)
            continue;
        int* r = KD->Kernel.X + static_cast<long long>(KD->KernelSize) * Ncol;
        std::fill(r, r + Ncol, 0);
        r[p] = -1;
        for (int i = 0; i < depth; i++) {
            r[chosen[i]] = 1;
            KD->PosUsed[chosen[i]] = 1;
        }
        KD->KernelLabels[KD->KernelSize++] = p;
        KD->SingleTag++;
        KD->PrimUsed[p] = 1;
        found++;
    }
    return found;
}

// Columns drawn from few values, in one or two rows, so that many share their first-row
// coefficient and many patterns compete; triplets alone (as the searches run them) keep equal
// columns, so that the order in which the positive entries are offered decides.
TEST(EquationsTest, PatternSearchesAgreeWithPlainWalk) {
    std::mt19937 gen(53);
    for (int trial = 0; trial < 200; trial++) {
        const int Ncol = 15 + trial % 20;
        std::vector<std::vector<double>> rows(1 + trial % 2, std::vector<double>(Ncol));
        for (auto& r : rows) {
            for (int k = 0; k < Ncol - 1; k++)
                r[k] = static_cast<int>(gen() % 4) + (trial % 3 == 0 ? 0.5 : 0.0);
            r[Ncol - 1] = -7;
        }
        System s(Ncol, rows);
        if (getIndependentEquations(&s.ED, nullptr) < 0)
            continue;
        std::vector<int> Min(Ncol, 0), Max(Ncol);
        for (int k = 0; k < Ncol - 1; k++)
            Max[k] = 1 + static_cast<int>(gen() % 3);
        Min[Ncol - 1] = Max[Ncol - 1] = 1;
        KernelData fast, plain;
        initKernelData(&fast, &s.ED);
        initKernelData(&plain, &s.ED);
        if (trial % 4 < 2) {
            EXPECT_EQ(KernelDoublets(&fast, &s.ED, Min.data(), Max.data(), 0),
                      plainPatterns(&plain, s, Min.data(), Max.data(), 1));
        }
        EXPECT_EQ(KernelTriplets(&fast, &s.ED, Min.data(), Max.data(), 0),
                  plainPatterns(&plain, s, Min.data(), Max.data(), 2));
        ASSERT_EQ(fast.KernelSize, plain.KernelSize) << "trial " << trial;
        EXPECT_EQ(vec(fast.Kernel.X, fast.KernelSize * Ncol),
                  vec(plain.Kernel.X, plain.KernelSize * Ncol))
            << "trial " << trial;
    }
}

TEST(EquationsTest, DoubleTagPatternAndLoops) {
    // x0 + 3·x1 + 2·x2 + 2·x3 = 10: raising x2 and x3 by one and lowering x0 and x1 by one
    // keeps the sum (1 + 3 = 2 + 2).
    System s(5, {{1, 3, 2, 2, -10}});
    ASSERT_EQ(getIndependentEquations(&s.ED, nullptr), 1);
    int Min[5] = {0, 0, 0, 0, 1}, Max[5] = {4, 4, 4, 4, 1};
    KernelData KD;
    initKernelData(&KD, &s.ED);
    EXPECT_EQ(KernelDoubleQuadruplets(&KD, &s.ED, Min, Max, 0), 1);
    ASSERT_EQ(KD.DoubleTag, 1);
    const int* v = KD.Kernel.X;
    EXPECT_EQ(std::count(v, v + 4, -1), 2);
    expectKernelVector(s, v);
    EXPECT_EQ(KD.tagCount, 2);
    int fmin[5] = {0, 0, 0, 0, 1}, fmax[5] = {4, 4, 4, 4, 1};
    FixBoundsUsingKernel(&KD, fmin, fmax); // double tags are not pinned
    EXPECT_EQ(vec(fmax, 5), (std::vector<int>{4, 4, 4, 4, 1}));

    // The loop search finds a double-tag vector with a larger entry: in 2·x0 + 2·x1 + x2 = 10,
    // lowering x0 and x1 by one is made up by raising x2 by four.
    System t(4, {{2, 2, 1, -10}});
    ASSERT_EQ(getIndependentEquations(&t.ED, nullptr), 1);
    int tmin[4] = {0, 0, 0, 1}, tmax[4] = {9, 9, 9, 1};
    KernelData KT;
    initKernelData(&KT, &t.ED);
    InitializeEquationSolver();
    EXPECT_EQ(DoubleTagKernelLoops(&KT, &t.ED, 100000, 0, tmin, tmax), 1);
    ASSERT_GE(KT.DoubleTag, 1);
    expectKernelVector(t, KT.Kernel.X);
    EXPECT_EQ(vec(KT.Kernel.X, 4), (std::vector<int>{-1, -1, 4, 0}));
}

TEST(EquationsTest, SingleTagLoopSearchFindsLargerEntries) {
    // 2·x0 - 3·x1 + x2 = 0: with x0 = -1, x2 = 2 + 3·x1, so (-1, 0, 2) is the first found.
    System s(4, {{2, -3, 1, 0}});
    ASSERT_EQ(getIndependentEquations(&s.ED, nullptr), 1);
    int Min[4] = {0, 0, 0, 1}, Max[4] = {5, 5, 5, 1};
    KernelData KD;
    initKernelData(&KD, &s.ED);
    InitializeEquationSolver();
    EXPECT_GE(SolveHomogeneous(&KD, &s.ED, Min, Max, 0, 100000), 1);
    EXPECT_EQ(vec(KD.Kernel.X, 4), (std::vector<int>{-1, 0, 2, 0}));
    for (int r = 0; r < KD.KernelSize; r++)
        expectKernelVector(s, KD.Kernel.X + r * 4);
}

TEST(EquationsTest, HomogeneousBudgetAndIndependence) {
    System s(3, {{1, -1, 0}});
    ASSERT_EQ(getIndependentEquations(&s.ED, nullptr), 1);
    KernelData KD;
    initKernelData(&KD, &s.ED);
    HomogeneousLoopData HLD{&s.ED, &KD, 0, 0};
    hom_eval(0, nullptr, nullptr);
    int point[3] = {-1, 1, 0};
    EXPECT_EQ(hom_eval(3, point, &HLD), -3);

    int rows[6] = {0, 2, 4, 0, -3, 0};
    int piv[2];
    EXPECT_EQ(checkIntegerIndependence(rows, 3, 0, piv), 1);
    EXPECT_EQ(vec(rows, 3), (std::vector<int>{0, 1, 2}));
    EXPECT_EQ(piv[0], 1);
    int other[3] = {0, -3, 0};
    EXPECT_EQ(checkIntegerIndependence(other, 3, 0, piv), 1);
    EXPECT_EQ(vec(other, 3), (std::vector<int>{0, 1, 0}));
    EXPECT_EQ(piv[0], 1);
    int dep[6] = {1, 2, 0, 2, 4, 0};
    piv[0] = 0;
    EXPECT_EQ(checkIntegerIndependence(dep, 3, 1, piv), 0);
    int coarse[6] = {2, 0, 0, 1, 1, 0}; // 2 does not divide out: not reducible over the integers
    EXPECT_EQ(checkIntegerIndependence(coarse, 3, 1, piv), 2);
    int pair[6] = {1, 2, 0, 3, 6, 0};
    int pv[2] = {0, -1};
    EXPECT_EQ(checkIndependence(pair, 3, 1, pv), 0);
    int indep[6] = {1, 2, 0, 0, 5, 1};
    EXPECT_EQ(checkIndependence(indep, 3, 1, pv), 1);
    EXPECT_EQ(pv[1], 1);

    startPrintCapture();
    int zero[3] = {0, 0, 0};
    printKernelVector(3, zero, "label");
    EXPECT_EQ(printed(), "label  trivial\n");
}

// The reduced row stays in the span of the rows it came from, also when the cross products
// leave the int range: (1, 0, N) reduced by (1, -2, 0) is (0, 2, N), not (0, 1, N).
TEST(EquationsTest, IndependenceReductionKeepsTheDirection) {
    const int N = 1073741825; // 2^30 + 1
    int rows[6] = {1, -2, 0, 1, 0, N};
    int piv[2] = {0, -1};
    EXPECT_EQ(checkIndependence(rows, 3, 1, piv), 1);
    EXPECT_EQ(vec(rows + 3, 3), (std::vector<int>{0, 2, N}));
    EXPECT_EQ(piv[1], 1);
}

// Each kernel row is labelled "Nr. %2d: " and, like every labelled vector, a blank follows the
// label before the entries.
TEST(EquationsTest, PrintKernelLabelsEachRow) {
    System s(4, {{1, 1, 1, -2}});
    ASSERT_EQ(getIndependentEquations(&s.ED, nullptr), 1);
    KernelData KD;
    initKernelData(&KD, &s.ED);
    ASSERT_EQ(KernelDoublets(&KD, &s.ED, s.ED.min, s.ED.max, 0), 2);
    startPrintCapture();
    printKernel(&KD, 4, 0, 3);
    EXPECT_EQ(printed(), "Nr.  0:   0:-1 1:1\nNr.  1:   1:-1 2:1\nNr.  2:   trivial\n");
}

} // namespace
