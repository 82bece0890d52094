#include "numeric/Equations.h"

#include "EquationsTestHelpers.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <random>
#include <string>
#include <vector>

namespace {

using namespace equationstest;

int acceptAll(int*) {
    return 1;
}
int rejectAll(int*) {
    return 0;
}

// The search as the callers run it: reduce, reset, search over the caller's box.
int search(System& s, KernelData* KD, ANALYSE f, int parametrized = 0) {
    EXPECT_GE(getIndependentEquations(&s.ED, nullptr), 0);
    if (KD)
        initKernelData(KD, &s.ED);
    std::vector<int> lo = vec(s.ED.min, s.Ncol), hi = vec(s.ED.max, s.Ncol);
    InitializeEquationSolver();
    return DiophLoops(KD, &s.ED, lo.data(), hi.data(), 0, 1000, nullptr, f, parametrized, 0);
}

// Counting searches against solutions counted by hand.
TEST(EquationsTest, SearchCountsHandCountedSolutions) {
    System a(4, {{1, 1, 1, -3}});
    a.box(0, 3);
    EXPECT_EQ(search(a, nullptr, acceptAll), -3 - 10);

    System b(3, {{2, 3, -12}});
    b.box(0, 6);
    EXPECT_EQ(search(b, nullptr, acceptAll), -3 - 3); // (6,0), (3,2), (0,4)

    System c(3, {{2, 0, -3}});
    c.box(0, 5);
    KernelData KD;
    EXPECT_EQ(search(c, &KD, acceptAll), -1); // 2x = 3 has no integer solution
    int c1, c2, c3, c4;
    double d;
    QueryFailureReason(&c1, &c2, &c3, &c4, &d);
    EXPECT_EQ(c1, 5);

    // 2·x0 + 4·x1 = 3: x0 follows from x1, whose four values leave the x0 fractional; the
    // failure reason counts the four points of the searched box.
    System e(3, {{2, 4, -3}});
    e.box(0, 3);
    EXPECT_EQ(search(e, nullptr, acceptAll), -1);
    QueryFailureReason(&c1, &c2, &c3, &c4, &d);
    EXPECT_EQ(c1, 5);
    EXPECT_DOUBLE_EQ(d, 4.0);
}

// Brute force: a·x = c with positive a and the box [0, c], so no solution leaves the box.
TEST(EquationsTest, SearchAgreesWithBruteForce) {
    std::mt19937 gen(17);
    for (int trial = 0; trial < 25; trial++) {
        const int n = 2 + trial % 3;
        std::vector<double> e(n + 1);
        for (int k = 0; k < n; k++)
            e[k] = 1 + static_cast<int>(gen() % 4);
        const int c = 3 + static_cast<int>(gen() % 8);
        e[n] = -c;
        System s(n + 1, {e});
        s.box(0, c);
        int expected = 0;
        std::vector<int> x(n, 0);
        for (;;) {
            int sum = 0;
            for (int k = 0; k < n; k++)
                sum += static_cast<int>(e[k]) * x[k];
            expected += sum == c;
            int k = n - 1;
            while (k >= 0 && x[k] == c)
                x[k--] = 0;
            if (k < 0)
                break;
            x[k]++;
        }
        int r = search(s, nullptr, acceptAll);
        EXPECT_EQ(r, expected == 0 ? -1 : -3 - expected) << "trial " << trial;
    }
}

// Only candidates inside the caller's box [0, 4] count (computed variables may leave it).
int insideBoxOfFour(int* x) {
    for (int k = 0; k < 4; k++)
        if (x[k] < 0 || x[k] > 4)
            return 0;
    return 1;
}

// Two random equations in four variables with mixed signs: the propagation must lose no
// solution of the box, and the search over the propagated box must find each one once.
TEST(EquationsTest, PropagationAndSearchAgreeWithBruteForce) {
    std::mt19937 gen(29);
    int checked = 0;
    for (int trial = 0; trial < 40; trial++) {
        std::vector<std::vector<double>> rows(2, std::vector<double>(5));
        for (auto& r : rows) {
            for (int k = 0; k < 4; k++)
                r[k] = static_cast<int>(gen() % 6) - 2;
            r[4] = -static_cast<int>(gen() % 9);
        }
        int expected = 0;
        for (int p = 0; p < 625; p++) {
            const int x[4] = {p / 125, p / 25 % 5, p / 5 % 5, p % 5};
            bool ok = true;
            for (auto& r : rows)
                ok = ok && r[0] * x[0] + r[1] * x[1] + r[2] * x[2] + r[3] * x[3] + r[4] == 0;
            expected += ok;
        }
        System s(5, rows, 200);
        s.box(0, 4);
        if (getIndependentEquations(&s.ED, nullptr) < 0) {
            EXPECT_EQ(expected, 0) << "trial " << trial;
            continue;
        }
        s.ED.LastAdded = 0;
        std::vector<int> lo = vec(s.ED.min, 5), hi = vec(s.ED.max, 5);
        const int status = ImproveBounds(&s.ED, lo.data(), hi.data(), 1000000, 5, 0);
        if (status == -1) {
            EXPECT_EQ(expected, 0) << "trial " << trial;
            continue;
        }
        InitializeEquationSolver();
        const int r = DiophLoops(nullptr, &s.ED, lo.data(), hi.data(), 0, 1000, nullptr,
                                 insideBoxOfFour, 0, 0);
        EXPECT_EQ(r, expected == 0 ? -1 : -3 - expected) << "trial " << trial;
        checked += expected > 0;
    }
    EXPECT_GT(checked, 5); // enough trials with solutions to mean something
}

std::vector<std::vector<int>> accepted;
int recordAll(int* x) {
    accepted.emplace_back(x, x + 7);
    return 1;
}

// 2·x0 + C0·y = b0 and 3·x1 + C1·y = b1 over y = (x2, ..., x5) in [0, 19], mixed by a real
// matrix so that no coefficient is a whole number. Solved by hand: x0 and x1 follow from y and
// must be non-negative integers. 160,000 loop points, enough that the running sums of the
// search are formed afresh several times on the way.
TEST(EquationsTest, RealMixedSystemAgreesWithExactCount) {
    std::mt19937 gen(41);
    for (int trial = 0; trial < 3; trial++) {
        int C[2][4], b[2];
        for (auto& row : C)
            for (int& c : row)
                c = static_cast<int>(gen() % 5) - 2;
        b[0] = 20 + static_cast<int>(gen() % 20);
        b[1] = 20 + static_cast<int>(gen() % 20);
        const double A[2][7] = {
            {2, 0, 1.0 * C[0][0], 1.0 * C[0][1], 1.0 * C[0][2], 1.0 * C[0][3], -1.0 * b[0]},
            {0, 3, 1.0 * C[1][0], 1.0 * C[1][1], 1.0 * C[1][2], 1.0 * C[1][3], -1.0 * b[1]}};
        const double M[2][2] = {{std::sqrt(2.0), 1.0 / 3.0}, {std::acos(-1.0) / 7.0, -0.61}};
        std::vector<std::vector<double>> rows(2, std::vector<double>(7));
        for (int r = 0; r < 2; r++)
            for (int k = 0; k < 7; k++)
                rows[r][k] = M[r][0] * A[0][k] + M[r][1] * A[1][k];
        std::vector<std::vector<int>> expected;
        for (int p = 0; p < 160000; p++) {
            const int y[4] = {p / 8000, p / 400 % 20, p / 20 % 20, p % 20};
            int t0 = b[0], t1 = b[1];
            for (int j = 0; j < 4; j++) {
                t0 -= C[0][j] * y[j];
                t1 -= C[1][j] * y[j];
            }
            if (t0 >= 0 && t1 >= 0 && t0 % 2 == 0 && t1 % 3 == 0)
                expected.push_back({t0 / 2, t1 / 3, y[0], y[1], y[2], y[3], 1});
        }
        System s(7, rows);
        s.box(0, 19);
        s.ED.max[0] = s.ED.max[1] = 1000; // the determined pair, solved for the widest ranges
        accepted.clear();
        const int r = search(s, nullptr, recordAll);
        EXPECT_EQ(r, expected.empty() ? -1 : -3 - static_cast<int>(expected.size()));
        std::sort(accepted.begin(), accepted.end());
        std::sort(expected.begin(), expected.end());
        EXPECT_EQ(accepted, expected) << "trial " << trial;
    }
}

// x0 = 3 - x1 - c·x2 with c = 1/3 + d: at x2 = 3 the value of x0 misses a whole number by
// 3·d, here at and within a few roundings of the integer tolerance. The search must decide
// every point as the plain recomputation of the stored row does, term by term in column order.
TEST(EquationsTest, ValuesAtTheToleranceAreDecidedAsByPlainRecomputation) {
    for (double eps : {-1e-15, -2e-16, 0.0, 1e-16, 2e-16, 1e-15, 1e-9, -1e-9}) {
        const double c = 1.0 / 3.0 + (1e-7 + eps) / 3.0;
        System s(4, {{1, 1, c, -3}});
        s.box(0, 3);
        s.ED.max[0] = 10; // x0 is the determined variable
        accepted.clear();
        const int r = search(s, nullptr, recordAll);
        const double* E = s.row(s.ED.OrigEq); // the row as reduced and normalised
        ASSERT_EQ(E[0], 1.0);
        std::vector<std::vector<int>> expected;
        for (int x1 = 0; x1 <= 3; x1++)
            for (int x2 = 0; x2 <= 3; x2++) {
                double sum = 0.0;
                const int x[4] = {0, x1, x2, 1};
                for (int k = 1; k < 4; k++)
                    sum += x[k] * E[k];
                const double value = -sum / E[0];
                const double whole = std::round(value);
                if (std::fabs(value - whole) <= 1e-7 && whole >= 0)
                    expected.push_back({static_cast<int>(whole), x1, x2, 1, 0, 0, 0});
            }
        for (auto& a : accepted)
            std::fill(a.begin() + 4, a.end(), 0);
        EXPECT_EQ(r, -3 - static_cast<int>(expected.size())) << eps;
        EXPECT_EQ(accepted, expected) << eps;
    }
}

int stopCalls = 0;
int stopAtThird(int*) {
    return ++stopCalls == 3 ? -5 : 1;
}

TEST(EquationsTest, CallbackStopAndSingleSearch) {
    System a(4, {{1, 1, 1, -3}});
    a.box(0, 3);
    stopCalls = 0;
    EXPECT_EQ(search(a, nullptr, stopAtThird), 0); // plain mode: -5 stops the search
    EXPECT_EQ(stopCalls, 3);

    System b(4, {{1, 1, 1, -3}});
    b.box(0, 3);
    ASSERT_EQ(getIndependentEquations(&b.ED, nullptr), 1);
    InitializeEquationSolver();
    std::vector<int> blo = vec(b.ED.min, 4), bhi = vec(b.ED.max, 4);
    EXPECT_EQ(DiophLoopsSingle(nullptr, &b.ED, blo.data(), bhi.data(), 1000000, nullptr, acceptAll),
              -4);

    // More than 10000 candidates without an accepted one: aborted by the candidate limit.
    System c(4, {{1, 1, 1, -1000}});
    c.box(0, 200);
    c.ED.max[0] = 1000; // the computed variable stays within its bounds
    ASSERT_EQ(getIndependentEquations(&c.ED, nullptr), 1);
    InitializeEquationSolver();
    std::vector<int> lo = vec(c.ED.min, 4), hi = vec(c.ED.max, 4);
    startPrintCapture();
    EXPECT_EQ(DiophLoopsSingle(nullptr, &c.ED, lo.data(), hi.data(), 0, nullptr, rejectAll), -2);
    EXPECT_NE(printed().find("ABORTED (during loop search) \n"), std::string::npos);
}

TEST(EquationsTest, ForbiddenRangeSkipsCandidates) {
    System s(4, {{1, 1, 1, -3}});
    s.box(0, 3);
    s.ED.forbidden_range = 1;
    for (int j = 0; j < 3; j++) {
        s.ED.forbidden_min[j] = 1;
        s.ED.forbidden_max[j] = 0; // empty
    }
    s.ED.forbidden_min[0] = s.ED.forbidden_max[0] = 0; // x0 = 0 is forbidden
    EXPECT_EQ(search(s, nullptr, acceptAll), -3 - 6);  // 10 minus the 4 with x0 = 0
}

int dumps = 0;
void countDump() {
    dumps++;
}
int seen = 0;
int countAndReject(int*) {
    seen++;
    return 0;
}

// x0 = x1 + x2 with every variable in [0, 3] and no propagation: x0 is determined and reaches
// 6 for the six points with x1 + x2 > 3. The plain search reports those (the dump hook runs
// once for each) and still hands them on; the single search does not report them.
TEST(EquationsTest, ComputedVariablesOutsideTheBoxAreReportedNotRejected) {
    System s(4, {{1, -1, -1, 0}});
    s.box(0, 3);
    setEquationDumpFunction(countDump);
    dumps = 0;
    EXPECT_EQ(search(s, nullptr, acceptAll), -3 - 16);
    EXPECT_EQ(dumps, 6);

    System t(4, {{1, -1, -1, 0}});
    t.box(0, 3);
    ASSERT_EQ(getIndependentEquations(&t.ED, nullptr), 1);
    InitializeEquationSolver();
    std::vector<int> lo = vec(t.ED.min, 4), hi = vec(t.ED.max, 4);
    dumps = seen = 0;
    EXPECT_EQ(
        DiophLoopsSingle(nullptr, &t.ED, lo.data(), hi.data(), 1000000, nullptr, countAndReject),
        -1);
    EXPECT_EQ(seen, 16);
    EXPECT_EQ(dumps, 0);
    setEquationDumpFunction(nullptr);
}

TEST(EquationsTest, ParametrisedSearchFindsNewDirection) {
    // x0 + x1 = 1 in [0, 1]: (1, 0) and (0, 1) differ by the primitive vector (-1, 1).
    System s(3, {{1, 1, -1}});
    s.box(0, 1);
    KernelData KD;
    startPrintCapture();
    int r = search(s, &KD, acceptAll, 1);
    std::string out = printed();
    EXPECT_EQ(r, -4);
    EXPECT_EQ(KD.secCount, 1);
    EXPECT_NE(out.find("Unique solution (with 1 parameters) "), std::string::npos) << out;
    EXPECT_EQ(isRelevant(&KD, KD.SingleTag + KD.DoubleTag), 1);
    expectKernelVector(s, KD.WorkSpace);
    EXPECT_EQ(getSolutionPointer()->Nfill, 1);
}

int stopAll(int*) {
    return -5;
}

// The answer -5 stops a plain search but accepts in a parametrised one.
TEST(EquationsTest, ParametrisedSearchTakesAnyNonZeroAnswerAsAcceptance) {
    System s(3, {{1, 1, -1}});
    s.box(0, 1);
    EXPECT_EQ(search(s, nullptr, stopAll), 0);
    KernelData KD;
    startPrintCapture();
    EXPECT_EQ(search(s, &KD, stopAll, 1), -4);
    printed();
    EXPECT_EQ(KD.secCount, 1);
}

TEST(EquationsTest, ParametrisedUniqueSolution) {
    System s(2, {{2, -4}});
    s.box(0, 5);
    KernelData KD;
    startPrintCapture();
    int r = search(s, &KD, acceptAll, 1);
    std::string out = printed();
    EXPECT_EQ(r, -4);
    EXPECT_NE(out.find("Unique solution:   0:2\n"), std::string::npos) << out;
    EXPECT_NE(out.find("\nUnique, undeformable solution\n"), std::string::npos);
    EXPECT_EQ(KD.Inhomogeneous[0], 2);
}

TEST(EquationsTest, PinnedTagsAndKernelSpanAllSolutions) {
    // x0 + x1 + x2 = 2 in [0, 2]: the doublets (-1, 1, 0) and (0, -1, 1) pin x0 and x1; the
    // search finds (0, 0, 2), and every one of the six solutions differs from it by an integer
    // combination of the two vectors.
    System s(4, {{1, 1, 1, -2}});
    s.box(0, 2);
    ASSERT_EQ(getIndependentEquations(&s.ED, nullptr), 1);
    KernelData KD;
    initKernelData(&KD, &s.ED);
    ASSERT_EQ(KernelDoublets(&KD, &s.ED, s.ED.min, s.ED.max, 0), 2);
    EXPECT_EQ(vec(KD.Kernel.X, 8), (std::vector<int>{-1, 1, 0, 0, 0, -1, 1, 0}));
    std::vector<int> lo = vec(s.ED.min, 4), hi = vec(s.ED.max, 4);
    FixBoundsUsingKernel(&KD, lo.data(), hi.data());
    InitializeEquationSolver();
    startPrintCapture();
    int r = DiophLoops(&KD, &s.ED, lo.data(), hi.data(), 2, 1000, nullptr, acceptAll, 1, 0);
    std::string out = printed();
    EXPECT_EQ(r, -4);
    EXPECT_NE(out.find("Unique solution (with 1 parameters)   2:2\n"), std::string::npos) << out;
    VectorSpace* sol = getSolutionPointer();
    ASSERT_EQ(sol->Nfill, 1);
    const int* p = sol->Space;
    EXPECT_EQ(vec(p, 4), (std::vector<int>{0, 0, 2, 1}));
    for (auto x : std::vector<std::vector<int>>{
             {2, 0, 0}, {0, 2, 0}, {0, 0, 2}, {1, 1, 0}, {1, 0, 1}, {0, 1, 1}}) {
        const int a = -(x[0] - p[0]), b = x[2] - p[2]; // d = a·(-1, 1, 0) + b·(0, -1, 1)
        EXPECT_EQ(x[1] - p[1], a - b);
    }
    EXPECT_EQ(isRelevant(&KD, 1), 1); // (0, -1, 1) deforms (0, 0, 2)
    EXPECT_EQ(isRelevant(&KD, 0), 0);
}

} // namespace
