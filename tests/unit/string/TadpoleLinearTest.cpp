// The collector of small linear systems: exact solutions of determined systems, redundant and
// contradicting rows, enumeration inside a box, and integer rows.
#include "TestSupport.h"

#include "string/TadpoleLinear.h"

#include <gtest/gtest.h>

#include <cmath>
#include <string>
#include <vector>

namespace {

int add(int mode, std::vector<double> row, int** sol = nullptr) {
    int* dummy = nullptr;
    return CollectDoubleEquations(static_cast<int>(row.size()) - 1, row.data(), sol ? sol : &dummy,
                                  mode, nullptr, nullptr, nullptr);
}

void start(int n) {
    ASSERT_EQ(CollectDoubleEquations(n, nullptr, nullptr, 0, nullptr, nullptr, nullptr), 0);
}

int stored() {
    return CollectDoubleEquations(0, nullptr, nullptr, 6, nullptr, nullptr, nullptr);
}

// x + y - 3 = 0 and x - y - 1 = 0 give x = 2, y = 1 once the second row makes the system
// determined; rows in the other order give the same.
TEST(SmallSystems, DeterminedSystemIsSolvedInIntegers) {
    for (bool swapped : {false, true}) {
        std::vector<std::vector<double>> rows{{1, 1, -3}, {1, -1, -1}};
        if (swapped)
            std::swap(rows[0], rows[1]);
        start(2);
        int* sol = nullptr;
        EXPECT_EQ(add(1, rows[0], &sol), 1);
        EXPECT_EQ(add(1, rows[1], &sol), 0);
        ASSERT_NE(sol, nullptr);
        EXPECT_EQ(sol[0], 2);
        EXPECT_EQ(sol[1], 1);
    }
}

TEST(SmallSystems, RowsThatAddNothingAreNotStored) {
    struct Case {
        std::vector<double> second;
        int result;
    };
    // After x + 2y - 4 = 0: a multiple of it is redundant, the same left side with another
    // constant contradicts it, a new direction is added. Mode 5 never solves.
    for (const Case& c : {Case{{2, 4, -8}, 2}, Case{{1, 2, -5}, -1}, Case{{0, 1, -1}, 1}}) {
        start(2);
        ASSERT_EQ(add(5, {1, 2, -4}), 1);
        EXPECT_EQ(add(5, c.second), c.result);
        EXPECT_EQ(stored(), c.result == 1 ? 2 : 1);
    }
}

TEST(SmallSystems, NonIntegralDeterminedValueFails) {
    start(1);
    EXPECT_EQ(add(1, {2, -1}), -2) << "x = 1/2";
    start(2);
    EXPECT_EQ(add(1, {1, 1, -3}), 1);
    EXPECT_EQ(add(1, {1, -1, 0}), -2) << "x = y = 3/2";
}

// The collector keeps its rows fully reduced: after adding three rows of a system with solution
// (1, 2, 3) in any order, each unknown is read from one row.
TEST(SmallSystems, ThreeUnknownsInEveryOrder) {
    const std::vector<std::vector<double>> rows{{1, 1, 1, -6}, {1, -1, 2, -5}, {2, 1, -1, -1}};
    const std::vector<std::vector<int>> orders{{0, 1, 2}, {2, 1, 0}, {1, 2, 0}};
    for (const auto& order : orders) {
        start(3);
        int* sol = nullptr;
        EXPECT_EQ(add(1, rows[static_cast<std::size_t>(order[0])]), 1);
        EXPECT_EQ(add(1, rows[static_cast<std::size_t>(order[1])]), 1);
        ASSERT_EQ(add(1, rows[static_cast<std::size_t>(order[2])], &sol), 0);
        EXPECT_EQ(std::vector<int>(sol, sol + 3), (std::vector<int>{1, 2, 3}));
        std::vector<double> real(4, 0.0);
        EXPECT_EQ(CollectDoubleEquations(3, real.data(), &sol, 4, nullptr, nullptr, nullptr), 0);
        EXPECT_NEAR(real[0], 1.0, 1e-12);
        EXPECT_NEAR(real[1], 2.0, 1e-12);
        EXPECT_NEAR(real[2], 3.0, 1e-12);
    }
}

// x + y = 5 in the box x in [0, 10), y in [1, 3): the pivot x is computed from y and must lie
// strictly above its lower bound but not below its upper one.
TEST(SmallSystems, EnumerationComputesPivotUnknowns) {
    struct Case {
        std::vector<int> min, max;
        int result;
        std::vector<int> first;
    };
    for (const Case& c : {// y = 1 gives x = 4.
                          Case{{0, 1}, {10, 3}, 0, {4, 1}},
                          // x = 4 equals its lower bound: rejected; y = 2 gives x = 3 < 4 too.
                          Case{{4, 1}, {10, 3}, -3, {}},
                          // No upper bound on x: x = 4 above max 2 is accepted.
                          Case{{0, 1}, {2, 3}, 0, {4, 1}},
                          // An empty box.
                          Case{{0, 3}, {10, 3}, -3, {}}}) {
        start(2);
        ASSERT_EQ(add(1, {1, 1, -5}), 1);
        std::vector<int> min = c.min, max = c.max;
        int* sol = nullptr;
        EXPECT_EQ(CollectDoubleEquations(2, nullptr, &sol, 2, min.data(), max.data(), nullptr),
                  c.result);
        if (c.result == 0) {
            EXPECT_EQ(std::vector<int>(sol, sol + 2), c.first);
        }
    }
}

std::vector<std::vector<int>> seen;
int acceptEven(int Nset, int* set, int* loop) {
    EXPECT_EQ(Nset, 2);
    EXPECT_EQ(set[1], 7);
    seen.emplace_back(loop, loop + 2);
    return loop[1] % 2 == 0 ? 1 : 0;
}

// With a callback every point of the walk is handed over; the callback decides what counts.
// x = 2y for y in [1, 5): x = 2, 4, 6, 8; only even y are accepted.
TEST(SmallSystems, EnumerationHandsEveryPointToTheCallback) {
    start(2);
    ASSERT_EQ(add(1, {1, -2, 0}), 1);
    int set[] = {3, 7};
    SimpleSolData SSD{2, set, 99, acceptEven};
    std::vector<int> min{0, 1}, max{100, 5};
    int* sol = nullptr;
    seen.clear();
    EXPECT_EQ(CollectDoubleEquations(2, nullptr, &sol, 2, min.data(), max.data(), &SSD), 0);
    EXPECT_EQ(SSD.Nsol, 2);
    EXPECT_EQ(seen, (std::vector<std::vector<int>>{{2, 1}, {4, 2}, {6, 3}, {8, 4}}));
    std::vector<int> odd{0, 1}, oddMax{100, 2};
    EXPECT_EQ(CollectDoubleEquations(2, nullptr, &sol, 2, odd.data(), oddMax.data(), &SSD), -3)
        << "only rejected points";
    EXPECT_EQ(SSD.Nsol, 0);
}

TEST(SmallSystems, PointsAreCheckedAgainstStoredRows) {
    start(2);
    ASSERT_EQ(add(1, {1, 1, -5}), 1);
    std::vector<int> good{2, 3}, bad{2, 2};
    EXPECT_EQ(CollectDoubleEquations(2, nullptr, nullptr, 8, good.data(), nullptr, nullptr), 0);
    EXPECT_EQ(CollectDoubleEquations(2, nullptr, nullptr, 8, bad.data(), nullptr, nullptr), -3);
}

// 1/3, 1/2: the pivot 1/3 makes the row 1, 1.5, the multiplier becomes 2. A negative smallest
// entry keeps its sign. An irrational entry has no denominator up to 1024.
TEST(SmallSystems, IntegerRows) {
    struct Case {
        std::vector<double> row;
        int result;
        std::vector<int> integers;
    };
    for (const Case& c : {Case{{1.0 / 3, 0.5}, 1, {2, 3}}, Case{{-0.5, 1.5, 0.0}, 1, {1, -3, 0}},
                          Case{{1.0, std::sqrt(2.0)}, 0, {}}}) {
        std::vector<double> row = c.row;
        std::vector<int> out(row.size(), 0);
        testsupport::Captured cap;
        EXPECT_EQ(
            convertEqnsToIntegers(row.data(), out.data(), static_cast<int>(row.size()) - 1, 1),
            c.result);
        if (c.result == 1) {
            EXPECT_EQ(out, c.integers);
        } else {
            EXPECT_NE(cap.out().find("Integer conversion impossible for"), std::string::npos);
        }
    }
}

// The integer rows of an underdetermined collection; a determined one gives its real solution.
TEST(SmallSystems, IntegerRowsOfTheCollection) {
    start(3);
    ASSERT_EQ(add(1, {0.5, 0.25, 0, -1}), 1);
    int* rows = nullptr;
    EXPECT_EQ(CollectDoubleEquations(3, nullptr, &rows, 4, nullptr, nullptr, nullptr), 11);
    EXPECT_EQ(std::vector<int>(rows, rows + 4), (std::vector<int>{2, 1, 0, -4}));
    EXPECT_EQ(CollectDoubleEquations(3, nullptr, &rows, 7, nullptr, nullptr, nullptr), 1);
    EXPECT_EQ(std::vector<int>(rows, rows + 4), (std::vector<int>{2, 1, 0, -4}));
}

// Hypercharge-like rows: v[0..3] the coefficients of four quantities, v[4] the constant; the
// flagged ones are unknown, the others enter with their known value coefs[k] / Norm.
TEST(SmallSystems, UnknownCoefficients) {
    start(2);
    int unknown[] = {1, 0, 1, 0};
    int coefs[] = {0, 3, 0, -6};
    // a + (3/6)*2 + b + (-6/6)*1 - 4 = 0, i.e. a + b = 4.
    double v1[] = {1, 2, 1, 1, -4};
    EXPECT_EQ(solveForUnknownCoefs(unknown, v1, coefs, 6, 2), 1);
    // a - b + 0 + 0 - 2 = 0 with the known ones at zero weight.
    double v2[] = {1, 0, -1, 0, -2};
    EXPECT_EQ(solveForUnknownCoefs(unknown, v2, coefs, 6, 2), 1);
    std::vector<double> real(3, 0.0);
    int* sol = nullptr;
    ASSERT_EQ(CollectDoubleEquations(2, real.data(), &sol, 4, nullptr, nullptr, nullptr), 0);
    EXPECT_NEAR(real[0], 3.0, 1e-12);
    EXPECT_NEAR(real[1], 1.0, 1e-12);
    // a + b = 5 contradicts the stored point, 2a + 2b = 8 repeats it.
    double v3[] = {1, 0, 1, 0, -5};
    EXPECT_EQ(solveForUnknownCoefs(unknown, v3, coefs, 6, 2), 0);
    double v4[] = {2, 0, 2, 0, -8};
    EXPECT_EQ(solveForUnknownCoefs(unknown, v4, coefs, 6, 2), 1);
}

} // namespace
