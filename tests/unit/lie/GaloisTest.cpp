#include "lie/Galois.h"

#include "LieTestHelpers.h"
#include "base/Error.h"
#include "base/Output.h"
#include "base/Parameters.h"
#include "base/SystemUtility.h"
#include "base/Terminal.h"
#include "lie/Smatrix.h"
#include "lie/Tarvik.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <complex>
#include <cstdio>
#include <fstream>
#include <numeric>
#include <set>
#include <string>
#include <unistd.h>
#include <vector>

namespace {

using lietest::occurrences;
using lietest::reportsOf;
using Map = std::vector<int>;
using Matrix = std::vector<int>; // row-major

// ---- Closed forms for su(2) at level k: field a has Dynkin label a ----

// The Galois image of label a under the scale l: b + 1 = +-l (a + 1) mod 2(k + 2) folded into
// 1..k+1, with the sign of the folding; 0 on a wall.
int su2Image(int k, int l, int a) {
    const int K = k + 2, M = 2 * K;
    const int v = static_cast<int>((static_cast<long long>(l) * (a + 1)) % M);
    if (v == 0 || v == K)
        return 0;
    return v < K ? v : -(M - v);
}

Map su2Map(int k, int l) {
    Map P;
    for (int a = 0; a <= k; a++)
        P.push_back(su2Image(k, l, a));
    return P;
}

// The map with the vacuum's sign taken out, as the store keeps it.
Map normalised(Map P) {
    if (P[0] < 0)
        for (int& x : P)
            x = -x;
    return P;
}

// h_a = a (a + 2) / (4 (k + 2)).
std::vector<int> su2WeightNumerators(int k) {
    std::vector<int> w;
    for (int a = 0; a <= k; a++)
        w.push_back(a * (a + 2));
    return w;
}

double su2S(int k, int a, int b) {
    const double K = k + 2;
    return std::sqrt(2 / K) * std::sin(M_PI * (a + 1) * (b + 1) / K);
}

Matrix identity(int n) {
    Matrix I(n * n, 0);
    for (int i = 0; i < n; i++)
        I[i * n + i] = 1;
    return I;
}

Matrix matrixOf(const Map& P, int kind) {
    const int n = static_cast<int>(P.size());
    Matrix A(n * n, 0);
    for (int i = 0; i < n; i++)
        if (P[i] != 0) {
            const int j = std::abs(P[i]) - 1, s = P[i] > 0 ? 1 : -1;
            A[i * n + j] += s;
            if (kind == 0)
                A[j * n + i] += s;
        }
    return A;
}

// ---- Integrable weights of an algebra, from its comarks ----

void weightsFrom(int rank, int level, const std::vector<int>& comarks, std::vector<int>& current,
                 std::vector<std::vector<int>>& out) {
    const int i = static_cast<int>(current.size());
    if (i == rank) {
        out.push_back(current);
        return;
    }
    int used = 0;
    for (int j = 0; j < i; j++)
        used += comarks[j] * current[j];
    for (int x = 0; used + comarks[i] * x <= level; x++) {
        current.push_back(x);
        weightsFrom(rank, level, comarks, current, out);
        current.pop_back();
    }
}

std::vector<std::vector<int>> integrableWeights(int type, int rank, int level) {
    Cartan(type, rank);
    const std::vector<int> comarks(getTheta(), getTheta() + rank + 1);
    std::vector<std::vector<int>> out;
    std::vector<int> current;
    weightsFrom(rank, level, comarks, current, out);
    return out;
}

struct Image {
    std::vector<int> labels; // rank + 1, affine last
    int sign;
    bool onWall() const {
        for (int x : labels)
            if (x < 0)
                return true;
        return false;
    }
};

Image galois(int type, int rank, int level, const std::vector<int>& rep, int scale) {
    int *out = nullptr, *Dout = nullptr;
    const int sign = Galois(type, rank, level, rep.data(), &out, &Dout, scale);
    Image im{std::vector<int>(out, out + rank + 1), sign};
    EXPECT_EQ(std::vector<int>(Dout, Dout + rank + 1), im.labels);
    return im;
}

std::vector<int> unitsOf(int M) {
    std::vector<int> u;
    for (int l = 1; l < M; l++)
        if (std::gcd(l, M) == 1)
            u.push_back(l);
    return u;
}

class GaloisFixture : public testing::Test {
protected:
    void SetUp() override {
        if (!findInternalParameter("Maxrank"))
            addInternalParameter("Maxrank", "20", 'i', 0);
        initializeTarvik();
        stopSignal = 0;
    }
};

// ---- Modulus ----

TEST(GaloisModulusTest, TableOfTheTypes) {
    for (int k = 1; k <= 10; k++)
        EXPECT_EQ(GaloisModulus(1, 1, k), 2 * (k + 2)) << "su(2) level " << k;
    EXPECT_EQ(GaloisModulus(5, 8, 1), 31);
    EXPECT_EQ(GaloisModulus(5, 8, 2), 32);
    EXPECT_EQ(GaloisModulus(1, 2, 1), 12);    // (3 + 1) * 3
    EXPECT_EQ(GaloisModulus(2, 3, 1), 4 * 6); // odd rank: 4 (k + 2r - 1)
    EXPECT_EQ(GaloisModulus(2, 4, 1), 2 * 8); // even rank: 2 (k + 2r - 1)
    EXPECT_EQ(GaloisModulus(3, 3, 2), 2 * 6); // 2 (k + r + 1)
    EXPECT_EQ(GaloisModulus(4, 5, 1), 4 * 9); // odd rank: 4 (k + 2r - 2)
    EXPECT_EQ(GaloisModulus(4, 4, 1), 2 * 7); // even rank: 2 (k + 2r - 2)
    EXPECT_EQ(GaloisModulus(5, 2, 1), 15);
    EXPECT_EQ(GaloisModulus(5, 4, 1), 20);
    EXPECT_EQ(GaloisModulus(5, 6, 1), 39);
    EXPECT_EQ(GaloisModulus(5, 7, 1), 38);
    EXPECT_EQ(GaloisModulus(0, 6, 0), 1);
    EXPECT_EQ(GaloisModulus(6, 1, 1), 1);
    EXPECT_EQ(GaloisModulus(5, 3, 1), -1);
    EXPECT_EQ(GaloisModulus(12, 3, 1), -1);
    EXPECT_EQ(GaloisModulus(27, 3, 4), -1);
}

// The modulus is a period of the action: scales l and l + M act alike on every field, which
// is what makes M the modulus of the S-matrix's field.
TEST_F(GaloisFixture, ModulusIsAPeriodOfTheAction) {
    for (const lietest::Algebra& a : lietest::untwistedAlgebras())
        for (int k = 1; k <= 2; k++) {
            SCOPED_TRACE(algebraname(a.type, a.rank, k));
            const int M = GaloisModulus(a.type, a.rank, k);
            ASSERT_GT(M, 1);
            for (const auto& w : integrableWeights(a.type, a.rank, k))
                for (int l = 1; l < M; l += (M > 30 ? 7 : 1)) {
                    const Image x = galois(a.type, a.rank, k, w, l);
                    const Image y = galois(a.type, a.rank, k, w, l + M);
                    EXPECT_EQ(x.labels, y.labels) << "scale " << l;
                    if (!x.onWall()) {
                        EXPECT_EQ(x.sign, y.sign) << "scale " << l;
                    }
                }
        }
}

// ---- Galois images ----

TEST_F(GaloisFixture, Su2LevelTwoExample) {
    const Image im = galois(1, 1, 2, {0}, 5);
    EXPECT_EQ(im.labels, (std::vector<int>{2, 0}));
    EXPECT_EQ(im.sign, -1);
    int v[] = {5};
    WeylShift(1, 1, 2, v);
    EXPECT_EQ(v[0], -3);
}

TEST_F(GaloisFixture, Su2ImagesFollowTheFoldingRule) {
    for (int k = 1; k <= 8; k++) {
        const int M = 2 * (k + 2);
        for (int l = 1; l < 2 * M; l++)
            for (int a = 0; a <= k; a++) {
                SCOPED_TRACE("k " + std::to_string(k) + " l " + std::to_string(l) + " a " +
                             std::to_string(a));
                const Image im = galois(1, 1, k, {a}, l);
                const int expected = su2Image(k, l, a);
                if (expected == 0) {
                    EXPECT_TRUE(im.onWall());
                    continue;
                }
                const int b = std::abs(expected) - 1;
                EXPECT_EQ(im.labels, (std::vector<int>{b, k - b}));
                EXPECT_EQ(im.sign, expected > 0 ? 1 : -1);
            }
    }
}

TEST_F(GaloisFixture, WeylShiftMovesA1IntoOneWidthOfTheLattice) {
    // A cached inverse leaves G as the last Cartan call built it; callers build A1 first.
    Cartan(1, 1);
    for (int k = 1; k <= 4; k++) {
        const int K = k + 2;
        for (int x = -5 * K; x <= 5 * K; x++) {
            int v[] = {x};
            WeylShift(1, 1, k, v);
            EXPECT_EQ(((v[0] - x) % (2 * K) + 2 * K) % (2 * K), 0) << x;
            EXPECT_LE(std::abs(v[0]), K) << x;
        }
    }
}

TEST_F(GaloisFixture, ScaleOneIsTheIdentity) {
    for (const lietest::Algebra& a : lietest::untwistedAlgebras()) {
        SCOPED_TRACE(a.name);
        Cartan(a.type, a.rank);
        const std::vector<int> comarks(getTheta(), getTheta() + a.rank + 1);
        for (const auto& w : integrableWeights(a.type, a.rank, 2)) {
            const Image im = galois(a.type, a.rank, 2, w, 1);
            std::vector<int> extended = w;
            extended.push_back(2 - std::inner_product(w.begin(), w.end(), comarks.begin(), 0));
            EXPECT_EQ(im.labels, extended);
            EXPECT_EQ(im.sign, 1);
        }
    }
}

// sigma_m sigma_l = sigma_(ml) with the product of the signs, and units permute the
// integrable weights.
TEST_F(GaloisFixture, UnitsActAsAGroupOnTheFields) {
    for (const lietest::Algebra& a : lietest::untwistedAlgebras())
        for (int k = 1; k <= 2; k++) {
            SCOPED_TRACE(algebraname(a.type, a.rank, k));
            const int M = GaloisModulus(a.type, a.rank, k);
            const auto weights = integrableWeights(a.type, a.rank, k);
            std::vector<int> units = unitsOf(M);
            if (units.size() > 8)
                units.resize(8);
            for (const auto& w : weights)
                for (int l : units) {
                    const Image x = galois(a.type, a.rank, k, w, l);
                    ASSERT_FALSE(x.onWall()) << "scale " << l;
                    const std::vector<int> finite(x.labels.begin(), x.labels.end() - 1);
                    EXPECT_NE(std::find(weights.begin(), weights.end(), finite), weights.end());
                    for (int m : units) {
                        const Image y = galois(a.type, a.rank, k, finite, m);
                        const Image z = galois(a.type, a.rank, k, w, l * m % M);
                        EXPECT_EQ(y.labels, z.labels) << l << " then " << m;
                        EXPECT_EQ(x.sign * y.sign, z.sign) << l << " then " << m;
                    }
                }
        }
}

// A Galois permutation is a symmetry of S: eps(a) S(pi a, b) = eps(b) S(a, pi b), since both
// sides are the Galois image of the same symmetric entry.
TEST_F(GaloisFixture, PermutationsAreSymmetriesOfS) {
    const int cases[][3] = {{1, 2, 2}, {1, 3, 2}, {2, 3, 1}, {2, 3, 2}, {2, 4, 1},
                            {3, 3, 2}, {4, 4, 2}, {4, 5, 1}, {4, 5, 2}, {5, 2, 3},
                            {5, 4, 2}, {5, 6, 2}, {5, 7, 2}, {5, 8, 2}};
    for (const auto& c : cases) {
        const int type = c[0], rank = c[1], level = c[2];
        SCOPED_TRACE(algebraname(type, rank, level));
        std::vector<std::vector<int>> fields; // extended labels
        for (const auto& w : integrableWeights(type, rank, level))
            fields.push_back(galois(type, rank, level, w, 1).labels);
        const int N = static_cast<int>(fields.size());
        std::vector<std::complex<double>> S(N * N);
        for (int a = 0; a < N; a++)
            for (int b = 0; b < N; b++) {
                double re = 0, im = 0;
                SDirect(type, rank, level, fields[a].data(), fields[b].data(), &re, &im);
                S[a * N + b] = {re, im};
            }
        std::vector<int> units = unitsOf(GaloisModulus(type, rank, level));
        if (units.size() > 8)
            units.resize(8);
        for (int l : units) {
            std::vector<int> pi(N), eps(N);
            for (int a = 0; a < N; a++) {
                const Image x = galois(type, rank, level, fields[a], l);
                pi[a] = static_cast<int>(std::find(fields.begin(), fields.end(), x.labels) -
                                         fields.begin());
                ASSERT_LT(pi[a], N) << "scale " << l;
                eps[a] = x.sign;
            }
            for (int a = 0; a < N; a++)
                for (int b = 0; b < N; b++)
                    EXPECT_LT(std::abs(double(eps[a]) * S[pi[a] * N + b] -
                                       double(eps[b]) * S[a * N + pi[b]]),
                              1e-9)
                        << "scale " << l << " (" << a << "," << b << ")";
        }
    }
}

// ---- Unit group ----

TEST(GaloisOrbitsTest, GeneratorsOfTheUnits) {
    int n = 0;
    int* gens = GaloisOrbits(6, &n);
    ASSERT_EQ(n, 1);
    EXPECT_EQ(gens[0], 5);
    EXPECT_EQ(GaloisOrbits(6, &n), gens); // kept for the same modulus
    for (int M : {8, 12, 24, 31, 60, 120, 35}) {
        SCOPED_TRACE(M);
        gens = GaloisOrbits(M, &n);
        std::set<int> group = {1};
        for (int g = 0; g < n; g++) {
            EXPECT_EQ(std::gcd(gens[g], M), 1);
            EXPECT_GT(gens[g], 1);
            for (bool grew = true; grew;) {
                grew = false;
                for (int e : std::set<int>(group))
                    grew = group.insert(e * gens[g] % M).second || grew;
            }
        }
        const std::vector<int> units = unitsOf(M);
        EXPECT_EQ(group, std::set<int>(units.begin(), units.end()));
    }
    gens = GaloisOrbits(8, &n);
    EXPECT_EQ(std::vector<int>(gens, gens + n), (std::vector<int>{3, 5}));
}

TEST(GaloisOrbitsTest, OrderIsTheLengthUntilAGeneratedPower) {
    std::vector<int> used(10, 0);
    used[1] = 1;
    EXPECT_EQ(GaloisOrder(3, 10, used.data()), 4); // 3, 9, 7, 1
    EXPECT_EQ(GaloisOrder(9, 10, used.data()), 2);
    EXPECT_EQ(GaloisOrder(7, 10, used.data()), -1); // 7^2 = 9 ... 7^3 = 3 < 7 first
}

// ---- Signed maps ----

TEST(SignedMaps, InvertOrbitCases) {
    struct Case {
        Map orbit, inverse;
        int result;
    } const cases[] = {
        {{1, 2, 3}, {1, 2, 3}, 1},     {{-1, -2, -3}, {-1, -2, -3}, 1}, // -1 is its own inverse
        {{2, -1}, {-2, 1}, -1},        // a signed swap: minus itself
        {{2, 3, 1}, {3, 1, 2}, 2},     // a 3-cycle
        {{2, 3, -1}, {3, -1, -2}, -2}, // first entries differ, inverse negated to start +
        {{2, -1, 3}, {2, -1, -3}, -2}, // first entries opposite: negated
        {{1, 3, 2}, {1, 3, 2}, 1},
    };
    for (const Case& c : cases) {
        Map out(c.orbit.size());
        EXPECT_EQ(InvertOrbit(static_cast<int>(c.orbit.size()), c.orbit.data(), out.data()),
                  c.result);
        EXPECT_EQ(out, c.inverse);
    }
}

TEST(SignedMaps, MultiplyFollowsTheGroupLaw) {
    for (int k : {3, 4, 6}) {
        const int M = 2 * (k + 2);
        for (int l : unitsOf(M))
            for (int m : unitsOf(M)) {
                const Map P = su2Map(k, l), Q = su2Map(k, m);
                Map R(k + 1);
                multiplyOrbits(k + 1, P.data(), Q.data(), R.data());
                EXPECT_EQ(R, normalised(su2Map(k, l * m % M))) << k << ": " << l << ", " << m;
            }
    }
    // A map times its inverse is the identity.
    const Map P = {3, -1, 2};
    Map inv(3), R(3);
    InvertOrbit(3, P.data(), inv.data());
    multiplyOrbits(3, P.data(), inv.data(), R.data());
    EXPECT_EQ(R, (Map{1, 2, 3}));
}

TEST(SignedMaps, MultiplyKeepsUndefinedImages) {
    const Map scale = {2, 0, -2};
    const Map swap = {2, 1, 3};
    Map R(3);
    multiplyOrbits(3, scale.data(), swap.data(), R.data());
    EXPECT_EQ(R, (Map{1, 0, -1}));
}

TEST(SignedMaps, StartingPointsMarkTheImages) {
    const Map map = {2, 0, -2, 5, 4};
    std::vector<int> start(5, 7);
    getStartingPoints(5, map.data(), start.data());
    EXPECT_EQ(start, (std::vector<int>{0, 1, 0, 1, 1}));
}

// ---- Printers ----

std::string galoisText(const Map& P, const std::vector<int>& w, int den, int Tpref, int SignPref,
                       int scale, bool* rejected = nullptr) {
    std::vector<char> buf(4096, 'x');
    char* end = printGaloisOrbit(buf.data(), static_cast<int>(P.size()), w.data(), den, Tpref,
                                 SignPref, scale, P.data());
    if (rejected)
        *rejected = end == buf.data();
    EXPECT_EQ(*end, '\0');
    return buf.data();
}

TEST(GaloisPrinters, IdentityOnThreeFields) {
    EXPECT_EQ(galoisText({1, 2, 3}, {0, 3, 8}, 20, 1, 1, 1),
              "\nGalois dilation 1\n(0)*** \n(1)*** \n(2)*** \n");
}

TEST(GaloisPrinters, Su2LevelFourPermutation) {
    const Map P = normalised(su2Map(4, 5)); // (+5, -2, +3, -4, +1)
    ASSERT_EQ(P, (Map{5, -2, 3, -4, 1}));
    bool rejected = true;
    EXPECT_EQ(galoisText(P, su2WeightNumerators(4), 24, 1, 1, 5, &rejected),
              "\nGalois dilation 5\n(0,4)*** \n(1)***  -> - \n(2)*** \n(3)***  -> - \n");
    EXPECT_FALSE(rejected);
}

TEST(GaloisPrinters, RejectionByWeightsAndSigns) {
    // su(2) at level 3, scale 3: (+3, -4, -1, +2), joining fields of different weights.
    const Map P = su2Map(3, 3);
    ASSERT_EQ(P, (Map{3, -4, -1, 2}));
    const std::vector<int> w = su2WeightNumerators(3);
    EXPECT_EQ(galoisText(P, w, 20, 0, 0, 3), "\nGalois dilation 3\n(0,2)  -> - \n(1,-3)  -> - \n");
    bool rejected = false;
    EXPECT_EQ(galoisText(P, w, 20, 1, 0, 3, &rejected), "");
    EXPECT_TRUE(rejected);
    rejected = false;
    EXPECT_EQ(galoisText(P, w, 20, 0, 1, 3, &rejected), "");
    EXPECT_TRUE(rejected);
}

std::string scaleText(const Map& map, int scale) {
    std::vector<char> buf(4096, 'x');
    char* end = printScaleOrbit(buf.data(), static_cast<int>(map.size()), scale, map.data());
    EXPECT_EQ(*end, '\0');
    return buf.data();
}

TEST(GaloisPrinters, ScaleOrbitsChainsThenCycles) {
    struct Case {
        Map map;
        const char* text;
    } const cases[] = {
        // 0 and 3 are no images; 3 has no image of its own; 4 is a cycle of its own.
        {{2, 3, -2, 0, 5}, "(0,1,2,-1)\n(4,4)\n"},
        {{2, 0}, "(0,1,X)\n"},
        // The second chain runs on through the fields of the first.
        {{3, 3, 4, 4}, "(0,2,3,3)\n(1,2,3,3)\n"},
        {{2, 3, 1}, "(0,1,2,0)\n"},
        {{-1}, "(0,-0)\n"},
    };
    for (const Case& c : cases)
        EXPECT_EQ(scaleText(c.map, 2), std::string("\nNon-galois Dilatation 2\n") + c.text);
}

TEST_F(GaloisFixture, ScaleMapOfSu2FromGalois) {
    // su(2) at level 2, scale 2: 0 -> 1, 1 on a wall, 2 -> 1 with sign -.
    Map map;
    for (int a = 0; a <= 2; a++) {
        const Image im = galois(1, 1, 2, {a}, 2);
        map.push_back(im.onWall() ? 0 : im.sign * (im.labels[0] + 1));
    }
    EXPECT_EQ(map, (Map{2, 0, -2}));
    EXPECT_EQ(scaleText(map, 2), "\nNon-galois Dilatation 2\n(0,1,X)\n(2,-1,X)\n");
}

// ---- Matrices of the stored maps ----

TEST(GaloisMatrices, BuildEquationAndPrintMatOfTheThreeKinds) {
    // Three fields: the identity (kind 1), a swap of 0 and 1 (kind 0), and a scale map Q
    // sending 0 and 1 to 0 and 2 to 2 with its marker (kind 2).
    const Map store = {1, 2, 3, 2, 1, 3, 1, 1, 3, 0, 0, 0};
    const int invol[] = {1, 0, 1, 2};
    // Q Q^T + Q^T Q = [[1,1,0],[1,1,0],[0,0,1]] + diag(2,0,1).
    const int expected[4][9] = {{1, 0, 0, 0, 1, 0, 0, 0, 1},
                                {0, 2, 0, 2, 0, 0, 0, 0, 2},
                                {1, 0, 0, 1, 0, 0, 0, 0, 1},
                                {3, 1, 0, 1, 1, 0, 0, 0, 2}};
    int eqn[5];
    for (int i = 0; i < 3; i++)
        for (int j = 0; j < 3; j++) {
            int nonzero = 0;
            for (const auto& m : expected)
                nonzero += m[i * 3 + j] != 0;
            EXPECT_EQ(BuildEquation(store.data(), invol, eqn, i, j, 3, 4), nonzero);
            for (int m = 0; m < 4; m++)
                EXPECT_EQ(eqn[m], expected[m][i * 3 + j]) << m << " at " << i << "," << j;
            EXPECT_EQ(eqn[4], 0);
        }
    testing::internal::CaptureStdout();
    PrintMat(store.data(), invol, 3, 2);
    EXPECT_EQ(testing::internal::GetCapturedStdout(),
              "\nmatrix 0\n\n100\n010\n001\n\nmatrix 1\n\n020\n200\n002\n");
}

// ---- Search ----

struct SearchRun {
    std::vector<Matrix> candidates;
    std::string printed;
    std::string reports;
};

SearchRun runSearch(const std::vector<Map>& maps, const std::vector<int>& kinds,
                    const std::vector<int>& w, int den) {
    const int n = static_cast<int>(w.size());
    Map store;
    for (const Map& m : maps)
        store.insert(store.end(), m.begin(), m.end());
    clearRecordedCandidates();
    SearchRun run;
    returnBufferOn();
    testing::internal::CaptureStdout();
    run.reports = reportsOf([&] {
        ComputeGaloisInvariants(store.data(), kinds.data(), w.data(), den, n,
                                static_cast<int>(maps.size()));
    });
    testing::internal::GetCapturedStdout();
    run.printed.assign(getReturnBuffer(), getReturnPointer());
    returnBufferOff();
    for (int c = 0; c < recordedCandidateCount(); c++) {
        int N = 0;
        const int* Z = recordedCandidate(c, &N);
        EXPECT_EQ(N, n);
        run.candidates.emplace_back(Z, Z + N * N);
    }
    return run;
}

const std::string Rule = "\n---------------------------------------------------------------\n";

TEST_F(GaloisFixture, IdentityAloneGivesTheDiagonalInvariant) {
    const SearchRun run = runSearch({{1, 2, 3}}, {1}, {0, 3, 8}, 20);
    ASSERT_EQ(run.candidates.size(), 1u);
    EXPECT_EQ(run.candidates[0], identity(3));
    EXPECT_EQ(run.printed, Rule + "\nSolution for galois commutant\n [0]\n\n");
    EXPECT_EQ(occurrences(run.reports, "Starting analysis for 1 orbits"), 1);
    EXPECT_EQ(occurrences(run.reports, "Starting loops, total length 1"), 1);
}

// The maps of su(2) at level k as the store hands them over: one per pair of units +-l, with
// the vacuum's sign taken out; a map whose matrix repeats an earlier one is left out.
void su2Maps(int k, std::vector<Map>& maps, std::vector<int>& kinds) {
    const int M = 2 * (k + 2);
    std::vector<Matrix> seen;
    for (int l : unitsOf(M)) {
        if (l > M / 2)
            break;
        const Map P = normalised(su2Map(k, l));
        Map twice(k + 1);
        multiplyOrbits(k + 1, P.data(), P.data(), twice.data());
        const int kind = twice == su2Map(k, 1) ? 1 : 0;
        const Matrix A = matrixOf(P, kind);
        if (std::find(seen.begin(), seen.end(), A) != seen.end())
            continue;
        seen.push_back(A);
        maps.push_back(P);
        kinds.push_back(kind);
    }
}

TEST_F(GaloisFixture, Su2LevelFourFindsTheAAndDInvariants) {
    std::vector<Map> maps;
    std::vector<int> kinds;
    su2Maps(4, maps, kinds);
    ASSERT_EQ(maps, (std::vector<Map>{{1, 2, 3, 4, 5}, {5, -2, 3, -4, 1}}));
    ASSERT_EQ(kinds, (std::vector<int>{1, 1}));
    const SearchRun run = runSearch(maps, kinds, su2WeightNumerators(4), 24);
    // |chi_0 + chi_4|^2 + 2 |chi_2|^2
    const Matrix D = {1, 0, 0, 0, 1, 0, 0, 0, 0, 0, 0, 0, 2, 0, 0, 0, 0, 0, 0, 0, 1, 0, 0, 0, 1};
    ASSERT_EQ(run.candidates.size(), 2u);
    EXPECT_EQ(run.candidates[0], identity(5));
    EXPECT_EQ(run.candidates[1], D);
    EXPECT_EQ(run.printed, Rule + "\nSolution for galois commutant\n [0]\n\n" + Rule +
                               "\nSolution for galois commutant\n [0]+[1]\n\n");
}

TEST_F(GaloisFixture, Su2CandidatesAreModularInvariants) {
    for (int k = 1; k <= 12; k++) {
        SCOPED_TRACE("su(2) level " + std::to_string(k));
        std::vector<Map> maps;
        std::vector<int> kinds;
        su2Maps(k, maps, kinds);
        const int n = k + 1;
        const std::vector<int> w = su2WeightNumerators(k);
        const SearchRun run = runSearch(maps, kinds, w, 4 * (k + 2));
        EXPECT_NE(std::find(run.candidates.begin(), run.candidates.end(), identity(n)),
                  run.candidates.end());
        std::set<Matrix> distinct(run.candidates.begin(), run.candidates.end());
        EXPECT_EQ(distinct.size(), run.candidates.size());
        for (const Matrix& Z : run.candidates) {
            EXPECT_EQ(Z[0], 1);
            for (int i = 0; i < n; i++)
                for (int j = 0; j < n; j++) {
                    EXPECT_GE(Z[i * n + j], 0);
                    if ((w[i] - w[j]) % (4 * (k + 2)) != 0) {
                        EXPECT_EQ(Z[i * n + j], 0) << i << "," << j;
                    }
                    double SZ = 0, ZS = 0;
                    for (int m = 0; m < n; m++) {
                        SZ += su2S(k, i, m) * Z[m * n + j];
                        ZS += Z[i * n + m] * su2S(k, m, j);
                    }
                    EXPECT_NEAR(SZ, ZS, 1e-9) << i << "," << j;
                }
        }
        if (k % 4 == 0) {
            // The D-type invariant: sum over even a of chi_a conj(chi_a + chi_(k-a)).
            Matrix D(n * n, 0);
            for (int a = 0; a <= k; a += 2) {
                D[a * n + a] += 1;
                D[a * n + (k - a)] += 1;
            }
            EXPECT_NE(std::find(run.candidates.begin(), run.candidates.end(), D),
                      run.candidates.end());
        }
    }
}

TEST_F(GaloisFixture, NegativeEntryGivesTextButNoCandidate) {
    // Three fields of equal weight; map 1 sends 0 to 1 (+), 1 to 0 (-) and 2 to itself (-):
    // Z(0,1) = x1 >= 0 and Z(2,2) = 1 - x1 >= 0 allow x1 = 1, whose Z(1,0) = -1.
    const SearchRun run = runSearch({{1, 2, 3}, {2, -1, -3}}, {1, 1}, {0, 0, 0}, 1);
    ASSERT_EQ(run.candidates.size(), 1u);
    EXPECT_EQ(run.candidates[0], identity(3));
    EXPECT_EQ(occurrences(run.printed, "Solution for galois commutant"), 2);
    EXPECT_EQ(occurrences(run.printed, " [0]+[1]\n\n"), 1);
}

TEST_F(GaloisFixture, DifferentWeightsAreNeverCoupled) {
    // A swap of two fields of different weights: Z(0,1) = x1 must vanish.
    const SearchRun run = runSearch({{1, 2}, {2, 1}}, {1, 0}, {0, 1}, 4);
    ASSERT_EQ(run.candidates.size(), 1u);
    EXPECT_EQ(run.candidates[0], identity(2));
}

TEST_F(GaloisFixture, StopRequestEndsTheLoops) {
    std::vector<Map> maps;
    std::vector<int> kinds;
    su2Maps(4, maps, kinds);
    stopSignal = 1;
    const SearchRun run = runSearch(maps, kinds, su2WeightNumerators(4), 24);
    stopSignal = 0;
    EXPECT_EQ(run.candidates.size(), 1u); // the first point, the diagonal one
    EXPECT_EQ(occurrences(run.reports, "Search stopped after 1 of 2 points"), 1);
}

// A processor clock that moves half a second at every reading.
long clockMicroseconds = 0;
std::clock_t steppingClock() {
    clockMicroseconds += 500000;
    return clockMicroseconds;
}

// An interactive terminal whose answers come from a file.
class GaloisInteractive : public GaloisFixture {
protected:
    void SetUp() override {
        GaloisFixture::SetUp();
        if (!findInternalParameter("interactive"))
            addInternalParameter("interactive", "OFF", 't', 0);
        if (!findInternalParameter("math"))
            addInternalParameter("math", "OFF", 't', 0);
        interactive = static_cast<int*>(getIntParPointer("interactive"));
        initializeTerminal();
        *interactive = 1;
        TerminalOutputOn();
        setProcessorClock(steppingClock);
    }
    void TearDown() override {
        *interactive = 0;
        TerminalOutputOff();
        setProcessorClock(nullptr);
        stopSignal = 0;
        resetError(); // the answer "ignore" silenced a report for the rest of the run
        if (!input.empty())
            std::remove(input.c_str());
    }
    void answer(const std::string& text) {
        char pattern[] = "/tmp/galois_answersXXXXXX";
        const int fd = mkstemp(pattern);
        ASSERT_GE(fd, 0);
        close(fd);
        input = pattern;
        std::ofstream(input) << text;
        ASSERT_NE(std::freopen(input.c_str(), "r", stdin), nullptr);
    }
    int* interactive = nullptr;
    std::string input;
};

TEST_F(GaloisInteractive, AnswerNoToTheProgressQuestionStopsTheLoops) {
    // Z(0,1) = -x1 >= 0 and Z(0,2) = -x2 >= 0 leave a box of 10001^2 points, all solutions.
    const std::vector<Map> maps = {{1, 2, 3}, {-2, 0, 0}, {-3, 0, 0}};
    Map store;
    for (const Map& m : maps)
        store.insert(store.end(), m.begin(), m.end());
    const int kinds[] = {1, 1, 1};
    const int w[] = {0, 0, 0};
    // "no" stops the loops; the candidates' unequal multiplicities are then reported once.
    answer("no\nignore\n");
    clearRecordedCandidates();
    testing::internal::CaptureStdout();
    startProgressInfo("Outer", 5000, 0);
    const std::string reports =
        reportsOf([&] { ComputeGaloisInvariants(store.data(), kinds, w, 1, 3, 3); });
    EXPECT_EQ(isRunningModal, 1); // the display around the search is still running
    stopProgressInfo("Outer");
    const std::string out = testing::internal::GetCapturedStdout();
    EXPECT_EQ(occurrences(reports, "Starting loops, total length 100020001"), 1);
    EXPECT_EQ(occurrences(reports, "Diophantine loops; Expected total time"), 1);
    EXPECT_EQ(occurrences(reports, "Search stopped after"), 1);
    EXPECT_GE(recordedCandidateCount(), 1);
    EXPECT_LE(recordedCandidateCount(), 100);
    EXPECT_EQ(occurrences(out, "Process mismatch"), 0);
    EXPECT_EQ(occurrences(out, "Outer completed"), 1);
    EXPECT_EQ(occurrences(out, "Diophantine loops completed"), 1);
}

TEST(GaloisSolutionText, TermsSignsAndLineBreaks) {
    // Maps are irrelevant to the text; one field that every map fixes.
    const int n = 20;
    Map store(n, 1);
    std::vector<int> invol(n, 1);
    std::vector<int> loop(n, 1);
    loop[1] = -1;
    loop[2] = 2;
    loop[3] = -3;
    loop[4] = 0;
    clearRecordedCandidates();
    returnBufferOn();
    makeGaloisInvariant(loop.data(), store.data(), invol.data(), 1, n);
    const std::string text(getReturnBuffer(), getReturnPointer());
    returnBufferOff();
    // The line reaches 61 characters with "[13]+", so the term [14] starts a new line.
    EXPECT_EQ(text, Rule + "\nSolution for galois commutant\n [0]-[1]+2*[2]-3*[3]+[5]+[6]+[7]+"
                           "[8]+[9]+[10]+[11]+[12]+[13]\n      +[14]+[15]+[16]+[17]+[18]+[19]\n\n");
    ASSERT_EQ(recordedCandidateCount(), 1);
    int N = 0;
    EXPECT_EQ(recordedCandidate(0, &N)[0], 1 - 1 + 2 - 3 + 15);
    EXPECT_EQ(N, 1);
}

TEST(GaloisSolutionText, AllZeroCoefficients) {
    const int store[] = {1};
    const int invol[] = {1};
    const int loop[] = {0};
    returnBufferOn();
    makeGaloisInvariant(loop, store, invol, 1, 1);
    const std::string text(getReturnBuffer(), getReturnPointer());
    returnBufferOff();
    EXPECT_EQ(text, Rule + "\nSolution for galois commutant\n\n\n");
}

TEST(GaloisSolutionReports, OrbitStructure) {
    // Z = [[1,2],[2,1]]: row 0 has the entries 1 and 2.
    {
        const int store[] = {1, 2, 2, 1};
        const int invol[] = {1, 0};
        const int loop[] = {1, 1};
        std::string reports;
        returnBufferOn();
        reports = reportsOf([&] { makeGaloisInvariant(loop, store, invol, 2, 2); });
        returnBufferOff();
        EXPECT_EQ(occurrences(reports, "Orbit multiplicities not constant"), 1);
        EXPECT_EQ(occurrences(reports, "Oversized orbit"), 0);
    }
    // Row 0 is (2,0,0,0): list length 2; rows 1..3 all pair with field 3: three members.
    {
        const int store[] = {1, 0, 0, 0, 0, 4, 4, 4};
        const int invol[] = {1, 1};
        const int loop[] = {2, 1};
        std::string reports;
        returnBufferOn();
        reports = reportsOf([&] { makeGaloisInvariant(loop, store, invol, 4, 2); });
        returnBufferOff();
        EXPECT_EQ(occurrences(reports, "Oversized orbit"), 1);
        EXPECT_EQ(occurrences(reports, "Orbit multiplicities not constant"), 0);
    }
}

int installedCalls = 0;
int countingAcceptor(int* modmat, int check, int store, int select, int prnt) {
    EXPECT_EQ(modmat[0], 1);
    EXPECT_EQ(check, 0);
    EXPECT_EQ(store, 1);
    EXPECT_EQ(select, 0);
    EXPECT_EQ(prnt, 1);
    installedCalls++;
    return 1;
}

TEST(GaloisSolutionReports, InstalledAcceptorReceivesTheCandidates) {
    const int store[] = {1};
    const int invol[] = {1};
    const int loop[] = {1};
    installedCalls = 0;
    clearRecordedCandidates();
    const AcceptCandidateInvariant previous = setAcceptCandidateInvariant(countingAcceptor);
    returnBufferOn();
    makeGaloisInvariant(loop, store, invol, 1, 1);
    returnBufferOff();
    setAcceptCandidateInvariant(previous);
    EXPECT_EQ(installedCalls, 1);
    EXPECT_EQ(recordedCandidateCount(), 0);
}

} // namespace
