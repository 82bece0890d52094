#include "numeric/Equations.h"

#include "EquationsTestHelpers.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

using namespace equationstest;

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

} // namespace
