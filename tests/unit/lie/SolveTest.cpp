#include "lie/Solve.h"

#include "LieTestHelpers.h"
#include "base/Memory.h"

#include <gtest/gtest.h>

#include <climits>
#include <string>
#include <vector>

namespace {

using lietest::occurrences;
using lietest::reportsOf;

struct Box {
    int* min;
    int* max;
};

Box bounds() {
    Box b{};
    getBounds(&b.min, &b.max);
    return b;
}

// Bound takes its form by pointer and normalises it; a copy keeps the caller's literal intact.
int bound(std::vector<int> form) {
    return Bound(static_cast<int>(form.size()), form.data());
}

TEST(Solve, FreshBoxAndItsOverflowingSize) {
    initBound(2);
    EXPECT_EQ(LoopLen(3), 20001 * 20001);
    EXPECT_EQ(bounds().min[1], -10000);
    EXPECT_EQ(bounds().max[1], 10000);
    initBound(3);
    EXPECT_EQ(LoopLen(4), INT_MAX);
    initBound(0);
    EXPECT_EQ(LoopLen(1), 1); // no coefficients: one point
}

TEST(Solve, SingleInequalitiesTightenAndCanEmptyTheBox) {
    initBound(1);
    EXPECT_EQ(bound({1, -3}), 1);
    EXPECT_EQ(bounds().min[0], 3);
    EXPECT_EQ(bound({-1, 2}), 1);
    EXPECT_EQ(bounds().max[0], 2);
    EXPECT_EQ(LoopLen(2), 0);
}

TEST(Solve, BoundTruncatesTowardZero) {
    initBound(1);
    int form[] = {2, -3};
    BoundAnalysis(2, form);
    EXPECT_EQ(bounds().min[0], 1); // 3/2 truncated, one weaker than the ceiling
    initBound(1);
    int upper[] = {-2, 3}; // x <= 3/2
    BoundAnalysis(2, upper);
    EXPECT_EQ(bounds().max[0], 1);
}

TEST(Solve, BoundUsesTheOtherCoefficientsRange) {
    initBound(2);
    bound({-1, 0, 2});             // x0 <= 2
    bound({0, -1, 4});             // x1 <= 4
    bound({1, 1, -5});             // x0 + x1 >= 5
    EXPECT_EQ(bounds().min[0], 1); // x0 >= 5 - 4
    EXPECT_EQ(bounds().min[1], 3); // x1 >= 5 - 2
    EXPECT_EQ(LoopLen(3), 2 * 2);
}

TEST(Solve, InequalitiesAreStoredReducedAndOnce) {
    initBound(2);
    std::vector<int> form = {2, -4, 6};
    EXPECT_EQ(Bound(3, form.data()), 1);
    EXPECT_EQ(form, (std::vector<int>{1, -2, 3}));
    EXPECT_EQ(bound({3, -6, 9}), 0);
    EXPECT_EQ(bound({0, 0, 0}), 0);
    EXPECT_EQ(getBFILL(), 1);
    EXPECT_EQ(bound({-1, 2, -3}), 1); // the opposite inequality is another row
    EXPECT_EQ(getBFILL(), 2);
}

TEST(Solve, NormalizeDividesByTheGcd) {
    std::vector<int> v = {-6, 9, 0, 12};
    EXPECT_EQ(Normalize(4, v.data()), 3);
    EXPECT_EQ(v, (std::vector<int>{-2, 3, 0, 4}));
    std::vector<int> zero = {0, 0};
    EXPECT_EQ(Normalize(2, zero.data()), 0);
}

TEST(Solve, CheckBoundsTestsOnlyTheFirstRows) {
    initBound(2);
    bound({1, 1, -2}); // x0 + x1 >= 2
    bound({1, -1, 0}); // x0 >= x1
    int good[] = {2, 1};
    int belowSum[] = {1, 0};
    int wrongOrder[] = {1, 3};
    EXPECT_EQ(checkBounds(2, good, 2), 0);
    EXPECT_EQ(checkBounds(2, belowSum, 2), 1);
    EXPECT_EQ(checkBounds(2, wrongOrder, 2), 1);
    EXPECT_EQ(checkBounds(2, wrongOrder, 1), 0); // the second row is not looked at
}

// Header of N pivots, then the rows, in the named area.
const int* echelon(const char* name) {
    return findExistingMemory(name).iSpace;
}

TEST(Solve, CollectEqnKeepsAReducedEchelonForm) {
    const char* name = "SolveTestEchelon";
    int fill = 0;
    const int N = 4;
    const int r0[] = {1, 2, 0, 0};
    const int r1[] = {0, 1, 1, 0};
    const int twice[] = {2, 4, 0, 0};
    const int sum[] = {1, 3, 1, 0};
    EXPECT_EQ(CollectEqn(name, N, r0, &fill), 1);
    EXPECT_EQ(CollectEqn(name, N, twice, &fill), 0);
    EXPECT_EQ(CollectEqn(name, N, r1, &fill), 1);
    EXPECT_EQ(CollectEqn(name, N, sum, &fill), 0);
    ASSERT_EQ(fill, 2);
    const int* header = echelon(name);
    EXPECT_EQ(header[0], 1); // pivot: the last nonzero column
    EXPECT_EQ(header[1], 2);
    EXPECT_EQ(header[2], -1);
    EXPECT_EQ(header[3], -1);
    const int* rows = header + N;
    for (int p = 0; p < fill; p++)
        for (int q = 0; q < fill; q++)
            if (p != q) {
                EXPECT_EQ(rows[q * N + header[p]], 0) << "row " << q << " pivot of " << p;
            }
    // Both rows still describe the same solution space: x0 + 2 x1 = 0 and x1 + x2 = 0.
    for (int q = 0; q < fill; q++) {
        const int* r = rows + q * N;
        EXPECT_EQ(r[0] * -2 + r[1] * 1 + r[2] * -1, 0);
    }
}

TEST(Solve, AddBoundsTurnsEquationsIntoTwoInequalities) {
    const char* name = "SolveTestEquations";
    int fill = 0;
    const int e0[] = {1, 0, -3}; // x0 = 3
    const int e1[] = {1, -1, 0}; // x0 = x1
    CollectEqn(name, 3, e0, &fill);
    CollectEqn(name, 3, e1, &fill);
    initBound(2);
    AddBounds(name, 3, fill);
    EXPECT_EQ(getBFILL(), 4);
    ReBound(3);
    EXPECT_EQ(bounds().min[0], 3);
    EXPECT_EQ(bounds().max[0], 3);
    EXPECT_EQ(bounds().min[1], 3);
    EXPECT_EQ(bounds().max[1], 3);
    EXPECT_EQ(LoopLen(3), 1);
}

TEST(Solve, RemoveDependencesFixesTheFreeCoefficients) {
    // Forms in x0..x3: x3 appears in none, x0 + 2 x1 only through its sum.
    const char* name = "SolveTestDependence";
    int fill = 0;
    const int f0[] = {1, 2, 0, 0, 0};
    const int f1[] = {0, 0, 1, 0, 0};
    CollectEqn(name, 5, f0, &fill);
    CollectEqn(name, 5, f1, &fill);
    initBound(4);
    RemoveDependences(name, 5, fill);
    Box b = bounds();
    // x1 and x2 are pivots and stay open.
    EXPECT_EQ(b.min[1], -10000);
    EXPECT_EQ(b.min[2], -10000);
    // x0 = 0 or 1 reaches every value of x0 + 2 x1 once.
    EXPECT_EQ(b.min[0], 0);
    EXPECT_EQ(b.max[0], 1);
    EXPECT_EQ(b.min[3], 0);
    EXPECT_EQ(b.max[3], 0);
}

TEST(Solve, GenerateNewBoundsShrinksTheBoxAndKeepsEverySolution) {
    // x0 + x1 + x2 <= 10 entered before x_i >= 0: alone it bounds nothing, and the single
    // inequalities bound only from below; eliminating pairs brings the upper bounds.
    initBound(3);
    bound({-1, -1, -1, 10});
    bound({1, 0, 0, 0});
    bound({0, 1, 0, 0});
    bound({0, 0, 1, 0});
    EXPECT_GT(LoopLen(4), 999999);
    const int checked = getBFILL();
    generateNewBounds(4);
    EXPECT_LE(LoopLen(4), 999999);
    EXPECT_GT(LoopLen(4), 0);
    Box b = bounds();
    for (int x0 = 0; x0 <= 10; x0++)
        for (int x1 = 0; x0 + x1 <= 10; x1++)
            for (int x2 = 0; x0 + x1 + x2 <= 10; x2++) {
                int p[] = {x0, x1, x2};
                EXPECT_EQ(checkBounds(3, p, checked), 0);
                for (int v = 0; v < 3; v++) {
                    EXPECT_GE(p[v], b.min[v]);
                    EXPECT_LE(p[v], b.max[v]);
                }
            }
    EXPECT_EQ(getBoundsCut(), 0);
}

TEST(Solve, GenerateNewBoundsStopsAtAnEmptyBox) {
    initBound(3);
    bound({1, 1, 0, -1});   // x0 + x1 >= 1
    bound({-1, -1, 0, -1}); // x0 + x1 <= -1
    EXPECT_GT(LoopLen(4), 999999);
    // Eliminating x0 leaves the contradiction -1 >= 0, which empties the box.
    generateNewBounds(4);
    EXPECT_EQ(LoopLen(4), 0);
}

TEST(Solve, ReduceLoopLenEndsWhenNothingCanShrink) {
    // Thirteen unconstrained coefficients in [-3, 3]: at [-1, 1] the box still holds 3^13 =
    // 1,594,323 points and nothing can shrink further.
    initBound(13);
    Box b = bounds();
    for (int v = 0; v < 13; v++) {
        b.min[v] = -3;
        b.max[v] = 3;
    }
    std::string reports;
    testing::internal::CaptureStdout();
    reports = reportsOf([] { reduceLoopLen(14); });
    const std::string out = testing::internal::GetCapturedStdout();
    EXPECT_EQ(LoopLen(14), 1594323);
    for (int v = 0; v < 13; v++) {
        EXPECT_EQ(b.min[v], -1);
        EXPECT_EQ(b.max[v], 1);
    }
    EXPECT_EQ(getBoundsCut(), 1);
    EXPECT_EQ(occurrences(reports, "Search box cut by force to 1594323 points"), 1);
    EXPECT_EQ(occurrences(out, "Loop length: 1594323\n"), 2);
}

TEST(Solve, ReduceLoopLenStopsAtASmallBox) {
    initBound(13);
    Box b = bounds();
    for (int v = 0; v < 13; v++) {
        b.min[v] = -2;
        b.max[v] = 1;
    }
    b.min[0] = b.max[0] = 0; // 4^12 = 16,777,216 points; one step halves each range
    testing::internal::CaptureStdout();
    reduceLoopLen(14);
    const std::string out = testing::internal::GetCapturedStdout();
    EXPECT_EQ(out, "Loop length: 531441\n");
    EXPECT_EQ(getBoundsCut(), 1);
}

TEST(Solve, ReduceLoopLenLeavesASmallBoxAlone) {
    initBound(1);
    bound({1, 5}); // 10,006 points
    const std::string reports = reportsOf([] { reduceLoopLen(2); });
    EXPECT_EQ(reports.find("cut"), std::string::npos);
    EXPECT_EQ(getBoundsCut(), 0);
    EXPECT_EQ(bounds().min[0], -5);
}

} // namespace
