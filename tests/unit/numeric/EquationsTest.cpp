#include "numeric/Equations.h"

#include "base/Error.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <random>
#include <string>
#include <vector>

namespace {

// A system with its eight bound vectors, as the callers set it up.
struct System {
    EquationData ED;
    int Ncol;

    System(int ncol, const std::vector<std::vector<double>>& rows, int spare = 20) : Ncol(ncol) {
        ED.Ncol = ncol;
        ED.OrigEq = static_cast<int>(rows.size());
        ED.Size = 2 * ED.OrigEq + spare;
        ED.Equations.reserve(ED.Size * ncol);
        for (std::size_t r = 0; r < rows.size(); r++)
            std::copy(rows[r].begin(), rows[r].end(), ED.Equations.X + r * ncol);
        int* b = ED.Bounds.reserve(8 * ncol);
        std::fill(b, b + 8 * ncol, 0);
        int** vectors[8] = {&ED.min,      &ED.max,      &ED.ker_min,       &ED.ker_max,
                            &ED.loop_min, &ED.loop_max, &ED.forbidden_min, &ED.forbidden_max};
        for (int i = 0; i < 8; i++)
            *vectors[i] = b + i * ncol;
    }

    // Every variable in [lo, hi], the constant column [1, 1].
    void box(int lo, int hi) {
        for (int k = 0; k < Ncol; k++) {
            ED.min[k] = k == Ncol - 1 ? 1 : lo;
            ED.max[k] = k == Ncol - 1 ? 1 : hi;
        }
    }
    double* row(int r) { return ED.Equations.X + r * Ncol; }
};

// Print writes to the terminal only while terminal output is on.
void startPrintCapture() {
    TerminalOutputOn();
    testing::internal::CaptureStdout();
}
std::string printed() {
    std::string text = testing::internal::GetCapturedStdout();
    TerminalOutputOff();
    return text;
}

int acceptAll(int*) {
    return 1;
}
int rejectAll(int*) {
    return 0;
}

std::vector<int> vec(const int* v, int n) {
    return std::vector<int>(v, v + n);
}

// The homogeneous part of every caller row vanishes on v.
void expectKernelVector(System& s, const int* v) {
    for (int r = 0; r < s.ED.OrigEq; r++) {
        double sum = 0.0;
        for (int k = 0; k < s.Ncol - 1; k++)
            sum += s.row(r)[k] * v[k];
        EXPECT_NEAR(sum, 0.0, 1e-9) << "row " << r;
    }
    EXPECT_EQ(v[s.Ncol - 1], 0);
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

TEST(EquationsTest, ReductionKeepsIndependentRowsAndDecompositions) {
    System s(3, {{2, 4, -6}, {1, 2, -3}});
    EXPECT_EQ(getIndependentEquations(&s.ED, nullptr), 1);
    EXPECT_EQ(s.ED.IndEq, 1);
    EXPECT_EQ(s.ED.AllEq, 3);
    EXPECT_EQ(std::vector<double>(s.row(2), s.row(2) + 3), (std::vector<double>{1, 2, -3}));
    EXPECT_DOUBLE_EQ(s.ED.Decompositions.X[0], 2.0);
    EXPECT_DOUBLE_EQ(s.ED.Decompositions.X[1], 1.0);
    EXPECT_DOUBLE_EQ(s.ED.Decompositions.X[2], 1.0); // the independent row itself
    EXPECT_EQ(std::vector<double>(s.row(0), s.row(0) + 3), (std::vector<double>{2, 4, -6}));
}

TEST(EquationsTest, ReductionOfThreeRowsWithOneDependent) {
    // x + y + z = 6, x - y = 2, and their sum 2x + z = 8.
    System s(4, {{1, 1, 1, -6}, {1, -1, 0, -2}, {2, 0, 1, -8}});
    EXPECT_EQ(getIndependentEquations(&s.ED, nullptr), 1);
    EXPECT_EQ(s.ED.IndEq, 2);
    // Each caller row is the combination its decomposition gives.
    for (int a = 0; a < 3; a++) {
        std::vector<double> out(4);
        buildEquationFromDecomp(s.ED.Decompositions.X + a * 2, out.data(), s.row(3), 4, 2);
        for (int k = 0; k < 4; k++)
            EXPECT_NEAR(out[k], s.row(a)[k], 1e-9);
    }
}

TEST(EquationsTest, InconsistentRowsAreReported) {
    System s(3, {{1, 1, -1}, {2, 2, -3}});
    EXPECT_EQ(getIndependentEquations(&s.ED, nullptr), -1);
    int c1, c2, c3, c4;
    double d;
    QueryFailureReason(&c1, &c2, &c3, &c4, &d);
    EXPECT_EQ(c1, 1);
}

TEST(EquationsTest, NonIntegralRowIsFlagged) {
    // x - (1/1000)·y = 0 has no integral multiple with a factor up to 144.
    System s(3, {{1, -0.001, 0}});
    EXPECT_EQ(getIndependentEquations(&s.ED, nullptr), 0);
    System t(3, {{3, 1, 0}}); // normalised to (1, 1/3, 0): integral times 3
    EXPECT_EQ(getIndependentEquations(&t.ED, nullptr), 1);
    EXPECT_NEAR(t.row(1)[1], 1.0 / 3.0, 1e-12);
}

TEST(EquationsTest, SingleEquationBounds) {
    double e[3] = {1, 1, -5};
    int Min[3] = {0, 0, 1}, Max[3] = {1000000, 1000000, 1};
    EXPECT_EQ(getVariableBounds(e, 3, Min, Max), -3); // 36 points
    EXPECT_EQ(vec(Max, 3), (std::vector<int>{5, 5, 1}));

    double f[2] = {2, -3};
    int fmin[2] = {0, 1}, fmax[2] = {10, 1};
    EXPECT_EQ(getVariableBounds(f, 2, fmin, fmax), -1);
    EXPECT_EQ(fmin[0], 2);
    EXPECT_EQ(fmax[0], 1);
    int c1, c2, c3, c4;
    double d;
    QueryFailureReason(&c1, &c2, &c3, &c4, &d);
    EXPECT_EQ(c1, 2);
    EXPECT_EQ(c2, 0);

    int one[1] = {0};
    EXPECT_EQ(getVariableBounds(f, 1, one, one), -4); // no variable at all
}

TEST(EquationsTest, NegativeLowerEndKeepsValidValues) {
    // x0 + x1 = 0 with x1 in [2, 3]: x0 lies in [-3, -2].
    double e[3] = {1, 1, 0};
    int Min[3] = {-10, 2, 1}, Max[3] = {10, 3, 1};
    getVariableBounds(e, 3, Min, Max);
    EXPECT_EQ(Min[0], -3);
    EXPECT_EQ(Max[0], -2);
}

TEST(EquationsTest, MinimumAndMaximumRules) {
    struct Case {
        double value;
        int start;
        int changed;
        int result;
    };
    for (Case c : {Case{150000.0, 0, 1, 100000}, Case{-150000.0, -7, 0, -7}, Case{2.0005, 0, 1, 2},
                   Case{1.5, 0, 1, 2}, Case{1.5, 5, 0, 5}}) {
        int m = c.start;
        EXPECT_EQ(getNewMinimum(c.value, &m), c.changed) << c.value;
        EXPECT_EQ(m, c.result) << c.value;
    }
    for (Case c : {Case{150000.0, 9, 0, 9}, Case{-150000.0, 0, 1, -99999}, Case{2.9995, 10, 1, 3},
                   Case{1.5, 10, 1, 1}, Case{1.5, 0, 0, 0}}) {
        int m = c.start;
        EXPECT_EQ(getNewMaximum(c.value, &m), c.changed) << c.value;
        EXPECT_EQ(m, c.result) << c.value;
    }
}

TEST(EquationsTest, ImproveBoundsShrinksToTheIntegerHull) {
    // x0 + x1 + x2 = 6 and x0 - x1 = 2, with two free variables keeping the box large.
    // Solutions: x1 = t in {0, 1, 2}, x0 = t + 2, x2 = 4 - 2t.
    System s(6, {{1, 1, 1, 0, 0, -6}, {1, -1, 0, 0, 0, -2}}, 200);
    s.box(0, 100000);
    ASSERT_EQ(getIndependentEquations(&s.ED, nullptr), 1);
    s.ED.LastAdded = 0;
    int* Min = s.ED.min;
    int* Max = s.ED.max;
    startPrintCapture();
    int r = ImproveBounds(&s.ED, Min, Max, 1000000, 20, 0);
    std::string out = printed();
    EXPECT_EQ(r, 1);
    EXPECT_EQ(vec(Min, 5), (std::vector<int>{2, 0, 0, 0, 0}));
    EXPECT_EQ(vec(Max, 5), (std::vector<int>{4, 2, 4, 100000, 100000}));
    EXPECT_EQ(out.find("Boundary improvement iteration 1 "), std::string::npos);
}

TEST(EquationsTest, ImproveBoundsStatuses) {
    System infeasible(3, {{1, 1, -7}});
    infeasible.box(0, 3);
    ASSERT_EQ(getIndependentEquations(&infeasible.ED, nullptr), 1);
    EXPECT_EQ(ImproveBounds(&infeasible.ED, infeasible.ED.min, infeasible.ED.max, 1000, 5, 0), -1);
    int c1, c2, c3, c4;
    double d;
    QueryFailureReason(&c1, &c2, &c3, &c4, &d);
    EXPECT_EQ(c1, 3);

    System point(2, {{1, -2}});
    point.box(0, 100000);
    ASSERT_EQ(getIndependentEquations(&point.ED, nullptr), 1);
    EXPECT_EQ(ImproveBounds(&point.ED, point.ED.min, point.ED.max, 1000, 5, 0), -4);

    System budget(6, {{1, 1, 1, 0, 0, -6}, {1, -1, 0, 0, 0, -2}}, 50);
    budget.box(0, 100000);
    ASSERT_EQ(getIndependentEquations(&budget.ED, nullptr), 1);
    EXPECT_EQ(ImproveBounds(&budget.ED, budget.ED.min, budget.ED.max, 0, 5, 0), -2);
}

TEST(EquationsTest, DeterminedVariablesAndLoopLength) {
    // x0 + x1 + x2 = 3 in [0, 3]: one variable follows from the two others.
    System s(4, {{1, 1, 1, -3}});
    s.box(0, 3);
    ASSERT_EQ(getIndependentEquations(&s.ED, nullptr), 1);
    EXPECT_DOUBLE_EQ(LoopLength(3, s.ED.min, s.ED.max), 64.0);
    EXPECT_DOUBLE_EQ(OptimizedLoopLength(3, s.ED.min, s.ED.max, &s.ED), 16.0);
    EXPECT_EQ(s.ED.max[0], 3); // the caller's bounds stay
    std::vector<double> eq(s.row(1), s.row(1) + 4);
    int vars[1];
    int Min[4] = {0, 0, 0, 1}, Max[4] = {2, 5, 5, 1};
    OptimizeEquationUse(eq.data(), 4, 1, Min, Max, nullptr, vars, 0);
    EXPECT_EQ(vars[0], 1); // widest range, first on ties
    EXPECT_EQ(Max[1], 0);
    int empty[2] = {3, 1}, top[2] = {2, 1};
    EXPECT_DOUBLE_EQ(LoopLength(2, empty, top), -1.0);
}

TEST(EquationsTest, CheckEquationsReportsFailingRow) {
    double rows[6] = {1, 1, -2, 1, -1, 0};
    int good[3] = {1, 1, 1}, bad[3] = {2, 0, 1};
    EXPECT_EQ(CheckEquations(rows, good, 2, 3, 0), 1);
    EXPECT_EQ(CheckEquations(rows, bad, 2, 3, 0), 0);
    int c1, c2, c3, c4;
    double d;
    QueryFailureReason(&c1, &c2, &c3, &c4, &d);
    EXPECT_EQ(c1, 6);
    EXPECT_EQ(c2, 1);
}

TEST(EquationsTest, SmallHelpers) {
    double rows[6] = {1, 2, 3, 4, 5, 6};
    double out[3];
    CombineRows(rows, out, 2.0, 3, 0, 1);
    EXPECT_EQ(std::vector<double>(out, out + 3), (std::vector<double>{9, 12, 15}));
    // 2x + y = 5, x - y = 1: x = 2, y = 1.
    double sys[6] = {2, 1, 5, 1, -1, 1};
    double sol[2];
    EXPECT_EQ(DoubleLinearSolve(sys, sol, 2), 1);
    EXPECT_NEAR(sol[0], 2.0, 1e-12);
    EXPECT_NEAR(sol[1], 1.0, 1e-12);
    double eq[3] = {2, 4, -6};
    int loop[3] = {0, 1, 1};
    EXPECT_EQ(solveIntegerFromEquation(3, eq, 0, loop), 1);
    EXPECT_EQ(loop[0], 1);
    int loop2[3] = {0, 2, 1};
    EXPECT_EQ(solvePositiveIntegerFromEquation(3, eq, 0, loop2), 0); // x = -1
    EXPECT_EQ(loop2[0], -1);
    double half[3] = {2, 0, -3};
    EXPECT_EQ(solveIntegerFromEquation(3, half, 0, loop), 0);
    double pos[3] = {1, 0, -5}, neg[3] = {1, -2, 5};
    EXPECT_EQ(checkPositive(pos, 3), 1);
    EXPECT_EQ(checkPositive(neg, 3), 0);
    double basis[6] = {1, 0, 7, 0, 1, 9};
    int piv[2] = {0, 1};
    double dep[3] = {2, 3, 0};
    EXPECT_EQ(checkEquationDependence(basis, dep, 3, 2, piv), 1);
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
