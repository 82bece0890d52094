#include "numeric/Loops.h"

#include "TestSupport.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <string>
#include <vector>

namespace {

using testsupport::outputOf;

using Point = std::vector<int>;

Point P(const int* loop, int size) {
    return Point(loop, loop + size);
}

// ---------------------------------------------------------------- box steps

TEST(LoopsIncrement, LastIndexFastestThenBackAtMin) {
    const int Min[2] = {0, 0}, Max[2] = {2, 3};
    int Loop[2];
    ASSERT_EQ(incrementInit(2, Min, Max, Loop), 0);
    std::vector<Point> seen{P(Loop, 2)};
    while (increment(2, Min, Max, Loop) == 0)
        seen.push_back(P(Loop, 2));
    EXPECT_EQ(seen, (std::vector<Point>{{0, 0}, {0, 1}, {0, 2}, {1, 0}, {1, 1}, {1, 2}}));
    EXPECT_EQ(P(Loop, 2), (Point{0, 0}));
}

TEST(LoopsIncrement, CountsEveryPointOfABox) {
    const int Min[3] = {-1, 2, 0}, Max[3] = {2, 4, 5};
    int Loop[3];
    int n = 0;
    for (int r = incrementInit(3, Min, Max, Loop); r == 0; r = increment(3, Min, Max, Loop))
        ++n;
    EXPECT_EQ(n, 3 * 2 * 5);
}

TEST(LoopsIncrement, InitStopsAtAnEmptyLevel) {
    const int Min[4] = {0, 3, 0, 0}, Max[4] = {2, 3, 2, 2};
    int Loop[4] = {9, 9, 9, 9};
    EXPECT_EQ(incrementInit(4, Min, Max, Loop), 1);
    EXPECT_EQ(P(Loop, 4), (Point{0, 3, 9, 9}));
    // No levels: exactly one point, and nothing after it.
    EXPECT_EQ(incrementInit(0, Min, Max, Loop), 0);
    EXPECT_EQ(increment(0, Min, Max, Loop), 1);
}

TEST(LoopsIncrement, CutSkipsTheRestOfTheBranch) {
    const int Min[3] = {0, 0, 0}, Max[3] = {3, 3, 3};
    int Loop[3] = {0, 2, 0};
    EXPECT_EQ(incrementCut(3, Min, Max, Loop, 1), 0);
    EXPECT_EQ(P(Loop, 3), (Point{1, 0, 0}));
    int atMin[3] = {0, 0, 0};
    EXPECT_EQ(incrementCut(3, Min, Max, atMin, 1), 1);
    int outer[3] = {2, 0, 0}; // the level above its minimum is level 0
    EXPECT_EQ(incrementCut(3, Min, Max, outer, 1), 1);
    int carry[3] = {0, 2, 1}; // level 2 above its minimum: level 1 advances, and carries
    EXPECT_EQ(incrementCut(3, Min, Max, carry, 1), 0);
    EXPECT_EQ(P(carry, 3), (Point{1, 0, 0}));
    int plain[3] = {0, 2, 2};
    EXPECT_EQ(incrementCut(3, Min, Max, plain, 0), 0);
    EXPECT_EQ(P(plain, 3), (Point{1, 0, 0}));
}

// Points (a, b) with a + b <= 2 in a 4 x 4 box: cutting where the sum is exceeded must give
// exactly the points a plain scan accepts.
TEST(LoopsIncrement, CutAgreesWithMonotoneRejection) {
    const int Min[2] = {0, 0}, Max[2] = {4, 4};
    int Loop[2];
    std::vector<Point> kept;
    int r = incrementInit(2, Min, Max, Loop);
    while (r == 0) {
        bool reject = Loop[0] + Loop[1] > 2;
        if (!reject)
            kept.push_back(P(Loop, 2));
        r = incrementCut(2, Min, Max, Loop, reject);
    }
    EXPECT_EQ(kept, (std::vector<Point>{{0, 0}, {0, 1}, {0, 2}, {1, 0}, {1, 1}, {2, 0}}));
}

// ---------------------------------------------------------------- weighted steps

TEST(LoopsBounded, IntegerWeights) {
    const int Max[2] = {3, 3}, Coeff[2] = {1, 2};
    int Loop[2], left = -1;
    ASSERT_EQ(incrementBoundedInit(2, Max, Loop, Coeff, 3, &left), 0);
    EXPECT_EQ(left, 3);
    std::vector<Point> seen{P(Loop, 2)};
    std::vector<int> leftOvers{left};
    while (incrementBounded(2, Max, Loop, Coeff, 3, &left) == 0) {
        seen.push_back(P(Loop, 2));
        leftOvers.push_back(left);
    }
    EXPECT_EQ(seen, (std::vector<Point>{{0, 0}, {0, 1}, {1, 0}, {1, 1}, {2, 0}}));
    EXPECT_EQ(leftOvers, (std::vector<int>{3, 1, 2, 0, 1}));
}

TEST(LoopsBounded, ZeroWeightLeavesOnlyTheBox) {
    const int Max[2] = {2, 3}, Coeff[2] = {0, 1};
    int Loop[2], left;
    ASSERT_EQ(incrementBoundedInit(2, Max, Loop, Coeff, 1, &left), 0);
    std::vector<Point> seen{P(Loop, 2)};
    while (incrementBounded(2, Max, Loop, Coeff, 1, &left) == 0)
        seen.push_back(P(Loop, 2));
    EXPECT_EQ(seen, (std::vector<Point>{{0, 0}, {0, 1}, {1, 0}, {1, 1}}));
}

// Weighted points of a simplex: sum of c_i x_i <= L, counted against a direct scan.
TEST(LoopsBounded, AgreesWithDirectCount) {
    const int Max[3] = {6, 6, 6}, Coeff[3] = {1, 2, 3};
    const int Limit = 7;
    int expected = 0;
    for (int a = 0; a < 6; ++a)
        for (int b = 0; b < 6; ++b)
            for (int c = 0; c < 6; ++c)
                expected += a + 2 * b + 3 * c <= Limit;
    int Loop[3], left, n = 0;
    for (int r = incrementBoundedInit(3, Max, Loop, Coeff, Limit, &left); r == 0;
         r = incrementBounded(3, Max, Loop, Coeff, Limit, &left)) {
        ++n;
        EXPECT_EQ(left, Limit - (Loop[0] + 2 * Loop[1] + 3 * Loop[2]));
        EXPECT_GE(left, 0);
    }
    EXPECT_EQ(n, expected);
}

TEST(LoopsBounded, InitRefusesEmptyLevelsAndNegativeWeights) {
    const int Max[3] = {2, 0, 2}, Coeff[3] = {1, 1, 1};
    int Loop[3] = {7, 7, 7}, left = -5;
    std::string out =
        outputOf([&] { EXPECT_EQ(incrementBoundedInit(3, Max, Loop, Coeff, 4, &left), 1); });
    EXPECT_EQ(out, "");
    EXPECT_EQ(P(Loop, 3), (Point{0, 0, 7}));
    const int Max2[2] = {2, 2}, Negative[2] = {1, -1};
    out = outputOf([&] { EXPECT_EQ(incrementBoundedInit(2, Max2, Loop, Negative, 4, &left), 1); });
    EXPECT_NE(out.find("Negative coefficient"), std::string::npos) << out;
    EXPECT_EQ(incrementBoundedInit(0, Max2, Loop, Coeff, 4, &left), 0);
    EXPECT_EQ(left, 4);
}

TEST(LoopsBounded, DoubleWeightsWithInclusiveBounds) {
    const int Min[2] = {0, 0}, Max[2] = {2, 2};
    const double Coeff[2] = {1.0, 1.5};
    int Loop[2];
    double left = 0;
    ASSERT_EQ(incrementBoundedInit_Double(2, Max, Loop, Coeff, 2.0, &left), 0);
    EXPECT_EQ(left, 2.0);
    std::vector<Point> seen{P(Loop, 2)};
    while (incrementBounded_Double(2, Min, Max, Loop, Coeff, 2.0, &left) == 0) {
        seen.push_back(P(Loop, 2));
        EXPECT_DOUBLE_EQ(left, 2.0 - Loop[0] - 1.5 * Loop[1]);
    }
    // x + 1.5 y <= 2 with 0 <= x, y <= 2.
    EXPECT_EQ(seen, (std::vector<Point>{{0, 0}, {0, 1}, {1, 0}, {2, 0}}));
}

TEST(LoopsBounded, DoubleInitRefusals) {
    const int Max[2] = {0, -1};
    const double Coeff[2] = {1.0, 1.0};
    int Loop[2] = {5, 5};
    double left = -1;
    // Max 0 is one value under the inclusive convention; -1 is empty.
    EXPECT_EQ(incrementBoundedInit_Double(2, Max, Loop, Coeff, 1.0, &left), 1);
    EXPECT_EQ(P(Loop, 2), (Point{0, 0}));
    const int Max2[1] = {3};
    const double Negative[1] = {-0.5};
    std::string out = outputOf(
        [&] { EXPECT_EQ(incrementBoundedInit_Double(1, Max2, Loop, Negative, 1.0, &left), 1); });
    EXPECT_NE(out.find("Negative coefficient"), std::string::npos) << out;
}

// ---------------------------------------------------------------- squeezed and binomial steps

// Level i may not exceed the value of level i - 1 (a weakly decreasing vector).
int decreasing(int Size, int level, int* Loop, int* Max, int*, void* Data) {
    ++*static_cast<int*>(Data);
    for (int i = level == Size ? 1 : level + 1; i < Size; ++i)
        Max[i] = Loop[i - 1] + 1;
    return 0;
}

TEST(LoopsSqueezed, CallbackShapesTheInnerLevels) {
    int Loop[2], Min[2] = {0, 0}, Max[2] = {3, 3};
    int calls = 0;
    ASSERT_EQ(incrementSqueezed(2, 1, Loop, Max, Min, &calls, decreasing), 0);
    std::vector<Point> seen{P(Loop, 2)};
    while (incrementSqueezed(2, 0, Loop, Max, Min, &calls, decreasing) == 0)
        seen.push_back(P(Loop, 2));
    EXPECT_EQ(seen, (std::vector<Point>{{0, 0}, {1, 0}, {1, 1}, {2, 0}, {2, 1}, {2, 2}}));
    EXPECT_EQ(calls, 6); // once per point, not at exhaustion
    EXPECT_EQ(incrementSqueezed(0, 1, Loop, Max, Min, &calls, decreasing), 1);
}

TEST(LoopsBinomial, SubsetsOfFourChooseTwo) {
    int set[2] = {0, 1};
    std::vector<Point> seen{P(set, 2)};
    while (incrementBinomial(4, 2, set, nullptr, nullptr) == 1)
        seen.push_back(P(set, 2));
    EXPECT_EQ(seen, (std::vector<Point>{{0, 1}, {0, 2}, {0, 3}, {1, 2}, {1, 3}, {2, 3}}));
    EXPECT_EQ(incrementBinomial(4, 0, set, nullptr, nullptr), 0);
}

std::vector<Point> subsetsByMasks(int n, int k) {
    std::vector<Point> all;
    for (int mask = 0; mask < (1 << n); ++mask) {
        Point s;
        for (int b = 0; b < n; ++b)
            if (mask >> b & 1)
                s.push_back(b);
        if (static_cast<int>(s.size()) == k)
            all.push_back(s);
    }
    std::sort(all.begin(), all.end());
    return all;
}

TEST(LoopsBinomial, EnumeratesAllSubsetsInLexicographicOrder) {
    const int choose[][3] = {{5, 1, 5}, {5, 5, 1}, {7, 3, 35}, {8, 4, 70}, {10, 2, 45}};
    for (const auto& c : choose) {
        int n = c[0], k = c[1];
        Point set(k);
        for (int i = 0; i < k; ++i)
            set[i] = i;
        std::vector<Point> seen{set};
        while (incrementBinomial(n, k, set.data(), nullptr, nullptr) == 1)
            seen.push_back(set);
        EXPECT_EQ(static_cast<int>(seen.size()), c[2]) << n << " " << k;
        EXPECT_EQ(seen, subsetsByMasks(n, k)) << n << " " << k;
    }
}

// ---------------------------------------------------------------- drivers

struct Calls {
    std::vector<Point> points;
    int stopAt = -1; // call number (1-based) that returns `code`
    int code = 0;
    int result = 1;
};

int record(int Size, int* Loop, void* Data) {
    auto* c = static_cast<Calls*>(Data);
    c->points.push_back(P(Loop, Size));
    return static_cast<int>(c->points.size()) == c->stopAt ? c->code : c->result;
}

TEST(LoopsNested, VisitsTheInclusiveBoxInOrder) {
    int Min[2] = {0, 0}, Max[2] = {1, 2}, Loop[2];
    Calls c;
    EXPECT_EQ(NestedLoops(2, Min, Max, Loop, &c, nullptr, record), 6);
    EXPECT_EQ(c.points, (std::vector<Point>{{0, 0}, {0, 1}, {0, 2}, {1, 0}, {1, 1}, {1, 2}}));
}

TEST(LoopsNested, CallbackCodes) {
    int Min[2] = {0, 0}, Max[2] = {1, 2}, Loop[2];
    struct Case {
        int code, expected;
    };
    // Third point: -1 counts it and ends, -2 ends without it, below -2 is passed on.
    const Case cases[] = {{-1, 3}, {-2, 2}, {-3, -3}, {-5, -5}};
    for (const Case& k : cases) {
        Calls c;
        c.stopAt = 3;
        c.code = k.code;
        EXPECT_EQ(NestedLoops(2, Min, Max, Loop, &c, nullptr, record), k.expected) << k.code;
        EXPECT_EQ(c.points.size(), 3u);
    }
    Calls zero;
    zero.result = 0;
    EXPECT_EQ(NestedLoops(2, Min, Max, Loop, &zero, nullptr, record), 0);
    EXPECT_EQ(zero.points.size(), 6u);
    Calls two;
    two.result = 2;
    EXPECT_EQ(NestedLoops(2, Min, Max, Loop, &two, nullptr, record), 12);
}

TEST(LoopsNested, EmptyInnerRangeStillEvaluatesMin) {
    int Min[2] = {0, 3}, Max[2] = {2, 1}, Loop[2];
    Calls c;
    EXPECT_EQ(NestedLoops(2, Min, Max, Loop, &c, nullptr, record), 1);
    EXPECT_EQ(c.points, (std::vector<Point>{{0, 3}}));
    EXPECT_EQ(NestedLoops(0, Min, Max, Loop, &c, nullptr, record), 0);
    EXPECT_EQ(c.points.size(), 1u);
}

// Level i runs from 0 to the value of level i - 1: a triangle of 1 + 2 + 3 + 4 points.
void triangle(int, int level, int* Loop, int* Min, int* Max, int* lo, int* hi, void*) {
    *lo = Min[level];
    *hi = level == 0 ? Max[0] : Loop[level - 1];
}

TEST(LoopsNested, SqueezeGivesRangesFromOuterLevels) {
    int Min[2] = {0, 0}, Max[2] = {3, 3}, Loop[2];
    Calls c;
    EXPECT_EQ(NestedLoops(2, Min, Max, Loop, &c, triangle, record), 10);
    for (const Point& p : c.points)
        EXPECT_LE(p[1], p[0]);
    EXPECT_EQ(c.points.front(), (Point{0, 0}));
    EXPECT_EQ(c.points.back(), (Point{3, 3}));
    // Three levels: weakly decreasing triples with entries up to 3, C(3 + 3, 3) = 20 of them.
    int Min3[3] = {0, 0, 0}, Max3[3] = {3, 3, 3}, Loop3[3];
    Calls d;
    EXPECT_EQ(NestedLoops(3, Min3, Max3, Loop3, &d, triangle, record), 20);
}

// Odd values of level 0 leave level 1 empty; the driver must carry past them.
void oddEmpty(int, int level, int* Loop, int* Min, int* Max, int* lo, int* hi, void*) {
    *lo = Min[level];
    *hi = level == 1 && Loop[0] % 2 == 1 ? Min[level] - 1 : Max[level];
}

TEST(LoopsNested, SqueezeMaySkipEmptyBranches) {
    int Min[2] = {0, 0}, Max[2] = {4, 1}, Loop[2];
    Calls c;
    EXPECT_EQ(NestedLoops(2, Min, Max, Loop, &c, oddEmpty, record), 6);
    EXPECT_EQ(c.points, (std::vector<Point>{{0, 0}, {0, 1}, {2, 0}, {2, 1}, {4, 0}, {4, 1}}));
}

TEST(LoopsRandomized, SamplesInsideTheBox) {
    int Min[2] = {-2, 5}, Max[2] = {2, 5}, Loop[2];
    Calls none;
    EXPECT_EQ(RandomizedLoops(2, Min, Max, Loop, &none, 0, record), 0);
    EXPECT_TRUE(none.points.empty());
    EXPECT_EQ(RandomizedLoops(0, Min, Max, Loop, &none, 10, record), 0);
    EXPECT_TRUE(none.points.empty());
    Calls zero;
    zero.result = 0;
    EXPECT_EQ(RandomizedLoops(2, Min, Max, Loop, &zero, 50, record), 0);
    ASSERT_EQ(zero.points.size(), 50u);
    for (const Point& p : zero.points) {
        EXPECT_GE(p[0], -2);
        EXPECT_LE(p[0], 2);
        EXPECT_EQ(p[1], 5);
    }
    Calls ones;
    EXPECT_EQ(RandomizedLoops(2, Min, Max, Loop, &ones, 30, record), 30);
    const int codes[][2] = {{-1, 4}, {-2, 3}, {-5, -5}};
    for (const auto& k : codes) {
        Calls c;
        c.stopAt = 4;
        c.code = k[0];
        EXPECT_EQ(RandomizedLoops(2, Min, Max, Loop, &c, 30, record), k[1]);
        EXPECT_EQ(c.points.size(), 4u);
    }
}

TEST(LoopsLength, ProductOfInclusiveRanges) {
    const int Min[2] = {0, 1}, Max[2] = {4, 1};
    EXPECT_EQ(getLoopLength(2, Min, Max), 5.0);
    EXPECT_EQ(getLoopLength(0, Min, Max), 1.0);
    const int EMin[2] = {0, 3}, EMax[2] = {4, 2};
    EXPECT_EQ(getLoopLength(2, EMin, EMax), 0.0);
    const int BMin[3] = {0, 0, 0}, BMax[3] = {1999, 1999, 1999};
    EXPECT_EQ(getLoopLength(3, BMin, BMax), 8e9); // beyond the int range
}

} // namespace
