#include "lie/Tarvik.h"

#include "LieTestHelpers.h"
#include "base/Allocation.h"
#include "base/Parameters.h"

#include <gtest/gtest.h>

#include <cmath>
#include <functional>
#include <set>
#include <string>
#include <vector>

namespace {

using lietest::integrableWeights;

using lietest::occurrences;
using lietest::reportsOf;

AllocCount TestAlloc = ALLOC_COUNTER("fixed point tests");

std::vector<int> applyCurrent(int type, int rank, const std::vector<int>& w, int current) {
    std::vector<int> out(w.size());
    switch (type) {
    case 1:
        simplea_(rank, w.data(), out.data(), current);
        break;
    case 2:
        simpleb_(rank, w.data(), out.data(), current);
        break;
    case 3:
        simplec_(rank, w.data(), out.data(), current);
        break;
    case 4:
        simpled_(rank, w.data(), out.data(), current);
        break;
    default:
        simplee_(rank, w.data(), out.data(), current);
        break;
    }
    return out;
}

struct OrbitCase {
    const char* name;
    int type, rank, level, current;
    int fixed; // fields fixed by the current, counted by hand
    int oType, oRank, oLevel, oShift;
};

// The fields fixed by a current fold one to one onto the integrable weights of its orbit Lie
// algebra.
TEST(TarvikFixedPoints, FixedFieldsFoldOntoTheOrbitLieAlgebra) {
    const OrbitCase cases[] = {
        {"A3 level 2", 1, 3, 2, 2, 2, 1, 1, 1, 6},
        {"E6 level 3", 5, 6, 3, 1, 2, 5, 2, 1, 16},
        {"E7 level 2", 5, 7, 2, 1, 2, 5, 4, 1, 9},
        {"D5 level 2", 4, 5, 2, 2, 4, 3, 3, 1, 6},
        {"B3 level 1", 2, 3, 1, 1, 1, 13, 2, 1, 7},
        {"C2 level 2", 3, 2, 2, 1, 2, 13, 1, 2, 10},
        {"C3 level 2", 3, 3, 2, 1, 2, 1, 1, 1, 9},
        {"D4 level 2, spinor", 4, 4, 2, 1, 3, 2, 2, 1, 6},
        {"D4 level 2, other spinor", 4, 4, 2, 3, 3, 2, 2, 1, 6},
        {"D5 level 4, spinor", 4, 5, 4, 1, 2, 1, 1, 1, 21},
        {"A5 level 3, order 3", 1, 5, 3, 2, 2, 1, 1, 1, 16},
        {"A5 level 2, order 2", 1, 5, 2, 3, 3, 1, 2, 1, 9},
    };
    for (const OrbitCase& c : cases) {
        SCOPED_TRACE(c.name);
        int t = -9, r = -9, k = -9, shift = -9;
        ASSERT_EQ(FCFT(c.type, c.rank, c.level, c.current, &t, &r, &k, &shift), 0);
        EXPECT_EQ(t, c.oType);
        EXPECT_EQ(r, c.oRank);
        EXPECT_EQ(k, c.oLevel);
        EXPECT_EQ(shift, c.oShift);
        EXPECT_EQ(FixedPointCheck(c.type, c.rank, c.level, c.current), 1);

        std::set<std::vector<int>> folded;
        int fixed = 0;
        for (const auto& w : integrableWeights(c.type, c.rank, c.level)) {
            std::vector<int> image(c.oRank + 1, -7);
            int f = fold(w.data(), image.data(), c.type, c.rank, c.level, c.current);
            bool isFixed = applyCurrent(c.type, c.rank, w, c.current) == w;
            EXPECT_EQ(f, isFixed ? 0 : -1);
            if (isFixed) {
                fixed++;
                folded.insert(image);
            }
        }
        EXPECT_EQ(fixed, c.fixed);
        auto target = integrableWeights(t, r, k);
        EXPECT_EQ(folded, std::set<std::vector<int>>(target.begin(), target.end()));
    }
}

// Conformal weights of the fields of a spectrum, by extended weight.
std::vector<std::pair<std::vector<int>, double>> spectrumWeights(int type, int rank, int level) {
    int N, norbits, adj, size, g, center, mult, denom, complex;
    double c;
    int *dynkin = nullptr, *orders = nullptr, *base = nullptr;
    spectrum_(type, rank, level, &N, &norbits, &adj, &size, &g, &center, &mult, &denom, &complex,
              &c, &dynkin, &orders, &base, &TestAlloc);
    std::vector<std::pair<std::vector<int>, double>> out;
    for (int L = 0; L < N; L++)
        out.emplace_back(std::vector<int>(dynkin + L * size, dynkin + (L + 1) * size),
                         double(base[(3 + 2 * mult) * N + L]) / denom);
    freespace(base, sizeof(int) * (2 * mult + 4) * N, &TestAlloc, "Orbit data");
    freespace(dynkin, sizeof(int) * N * size, &TestAlloc, "Dynkin labels");
    if (orders)
        freespace(orders, sizeof(int) * (mult == 2 ? 2 : 1), &TestAlloc, "Center orders");
    return out;
}

// Fixed-point resolution takes T on the fixed points from the orbit Lie algebra: the weight of
// a fixed point and that of its folded weight differ by one constant modulo 1.
TEST(TarvikFixedPoints, FoldedWeightsKeepTheDifferencesOfConformalWeights) {
    if (!findInternalParameter("Maxrank"))
        addInternalParameter("Maxrank", "20", 'i', 0);
    initializeTarvik();
    const int cases[][4] = {
        // type, rank, level, current
        {2, 2, 2, 1}, {2, 2, 3, 1}, {3, 2, 2, 1}, {3, 2, 3, 1}, {2, 3, 2, 1}, {3, 3, 4, 1},
        {3, 4, 2, 1}, {1, 3, 4, 2}, {4, 4, 4, 1}, {4, 5, 4, 1}, {4, 6, 2, 2}, {5, 7, 4, 1},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(algebraname(c[0], c[1], c[2]));
        int t = 0, r = 0, k = 0, shift = 0;
        ASSERT_EQ(FCFT(c[0], c[1], c[2], c[3], &t, &r, &k, &shift), 0);
        const auto folded = spectrumWeights(t, r, k);
        std::vector<double> differences;
        for (const auto& [w, h] : spectrumWeights(c[0], c[1], c[2])) {
            std::vector<int> image(r + 1);
            if (fold(w.data(), image.data(), c[0], c[1], c[2], c[3]) != 0)
                continue;
            for (const auto& [v, hv] : folded)
                if (v == image)
                    differences.push_back(h - hv);
        }
        ASSERT_GE(differences.size(), 2u);
        for (double d : differences) {
            const double x = d - differences[0];
            EXPECT_NEAR(x, std::round(x), 1e-9);
        }
    }
}

TEST(TarvikFixedPoints, A1AtLevelTwoFoldsToTheTrivialAlgebra) {
    EXPECT_EQ(FixedPointCheck(1, 1, 1, 1), 0);
    EXPECT_EQ(FixedPointCheck(1, 1, 2, 1), 1);
    const int w[] = {1, 1};
    int out[1] = {-7};
    EXPECT_EQ(fold(w, out, 1, 1, 2, 1), 0);
    EXPECT_EQ(out[0], 0);
    const int v[] = {2, 0};
    EXPECT_EQ(fold(v, out, 1, 1, 2, 1), -1);
    int t = 0, r = 0, k = 0, shift = 0;
    EXPECT_EQ(FCFT(1, 1, 2, 1, &t, &r, &k, &shift), 0);
    EXPECT_EQ(t, 1);
    EXPECT_EQ(r, 0);
    EXPECT_EQ(k, 0);
}

TEST(TarvikFixedPoints, BasicRepresentatives) {
    const int cases[][4] = {
        // current, type, rank, basic
        {0, 1, 3, 0},  {1, 1, 3, 1}, {3, 1, 3, 1}, {2, 1, 3, 2}, {6, 1, 3, 2}, {4, 1, 3, 0},
        {-1, 1, 3, 1}, {4, 1, 5, 2}, {3, 2, 4, 1}, {2, 3, 4, 0}, {3, 4, 5, 1}, {3, 4, 4, 3},
        {6, 4, 5, 2},  {2, 5, 6, 1}, {3, 5, 6, 0}, {3, 5, 7, 1}, {1, 5, 8, 0}, {1, 0, 4, 0},
    };
    for (const auto& c : cases)
        EXPECT_EQ(ConvertToBasic(c[0], c[1], c[2]), c[3])
            << "current " << c[0] << " of " << c[1] << "," << c[2];
}

struct CurrentsCase {
    int type, rank, level;
    std::vector<int> currents;
};

TEST(TarvikFixedPoints, FixedCurrentsAtALevel) {
    const CurrentsCase cases[] = {
        {1, 3, 2, {2}}, {1, 3, 4, {1, 2}}, {1, 5, 2, {3}},       {1, 5, 6, {1, 2, 3}},
        {4, 5, 2, {2}}, {4, 5, 4, {1, 2}}, {4, 4, 2, {1, 2, 3}}, {4, 4, 1, {}},
        {5, 7, 3, {}},  {5, 7, 2, {1}},    {5, 6, 3, {1}},       {5, 6, 2, {}},
        {3, 3, 1, {}},  {3, 2, 1, {1}},    {2, 3, 1, {1}},       {5, 8, 2, {}},
        {1, 0, 0, {}},  {13, 2, 1, {}},
    };
    for (const CurrentsCase& c : cases) {
        int* list = reinterpret_cast<int*>(1);
        int n = FixedCurrents(c.type, c.rank, c.level, &list, &TestAlloc);
        ASSERT_EQ(n, static_cast<int>(c.currents.size())) << c.type << "," << c.rank;
        if (n == 0) {
            EXPECT_EQ(list, nullptr);
            continue;
        }
        EXPECT_EQ(std::vector<int>(list, list + n), c.currents);
        freespace(list, n * sizeof(int), &TestAlloc, "Fixed currents");
    }
}

struct FailureCase {
    int type, rank, level, current;
    const char* report; // expected text, or null for a silent failure
};

TEST(TarvikFixedPoints, OrbitLieAlgebraFailures) {
    const FailureCase cases[] = {
        {3, 3, 1, 1, "Current without fixed points"},
        {4, 5, 2, 1, "Current without fixed points"},
        {4, 4, 1, 2, "Current without fixed points"},
        {5, 6, 2, 1, "Current without fixed points"},
        {5, 7, 3, 1, "Current without fixed points"},
        {5, 8, 2, 1, "Unexpected control flow"},
        {0, 4, 1, 1, "Incorrect type"},
        {13, 2, 1, 1, "Incorrect type"},
        {4, 4, 2, 5, nullptr},
    };
    for (const FailureCase& c : cases) {
        int t = 0, r = 0, k = 0, s = 0, result = 0;
        std::string out =
            reportsOf([&] { result = FCFT(c.type, c.rank, c.level, c.current, &t, &r, &k, &s); });
        EXPECT_EQ(result, -1) << c.type << "," << c.rank << "," << c.level;
        const int expected = c.report ? 1 : 0;
        EXPECT_EQ(c.report ? occurrences(out, c.report) : static_cast<int>(out.size()), expected)
            << out;
    }
}

TEST(TarvikFixedPoints, IdentityCurrentKeepsTheAlgebra) {
    int t = 0, r = 0, k = 0, s = -1;
    EXPECT_EQ(FCFT(4, 6, 3, 0, &t, &r, &k, &s), 0);
    EXPECT_EQ((std::vector<int>{t, r, k, s}), (std::vector<int>{4, 6, 3, 0}));
    const int w[] = {1, 0, 2, 0, 0, 0, 0};
    int out[7] = {};
    EXPECT_EQ(fold(w, out, 4, 6, 3, 0), 0);
    EXPECT_EQ(std::vector<int>(out, out + 7), std::vector<int>(w, w + 7));
}

TEST(TarvikFixedPoints, LevelsWithoutFixedPoints) {
    const int c3[] = {0, 1, 0, 0};
    int out[8] = {};
    EXPECT_EQ(fold(c3, out, 3, 3, 1, 1), -3);
    const int d5[] = {0, 0, 0, 0, 1, 1};
    EXPECT_EQ(fold(d5, out, 4, 5, 2, 1), -3);
    EXPECT_EQ(fold(d5, out, 4, 5, 1, 2), -3);
    const int u1[] = {0};
    EXPECT_EQ(fold(u1, out, 0, 4, 1, 0), -3);
    EXPECT_EQ(FixedPointCheck(4, 5, 2, 1), 0);
    EXPECT_EQ(FixedPointCheck(4, 5, 2, 2), 1);
    EXPECT_EQ(FixedPointCheck(4, 5, 3, 2), 0);
}

TEST(TarvikFixedPoints, InvalidInputIsReported) {
    int result = -1;
    std::string out = reportsOf([&] { result = FixedPointCheck(13, 2, 1, 1); });
    EXPECT_EQ(result, 0);
    EXPECT_EQ(occurrences(out, "Invalid type in routine FixedPointCheck"), 1);
    // 3 divides no multiple of 4, but the check goes on with 4 / 3 = 1.
    out = reportsOf([&] { result = FixedPointCheck(1, 3, 2, 3); });
    EXPECT_EQ(result, 1);
    EXPECT_EQ(occurrences(out, "Invalid current in routine FixedPointCheck"), 1);
    const int w[] = {0, 0, 0, 0, 2};
    int folded[5] = {};
    out = reportsOf([&] { result = fold(w, folded, 4, 4, 2, 5); });
    EXPECT_EQ(result, 0);
    EXPECT_EQ(occurrences(out, "Unexpected control flow"), 1);
}

} // namespace
