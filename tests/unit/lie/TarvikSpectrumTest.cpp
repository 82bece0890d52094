#include "lie/Tarvik.h"

#include "LieTestHelpers.h"
#include "base/Parameters.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <map>
#include <set>
#include <string>
#include <vector>

namespace {

using lietest::occurrences;
using lietest::reportsOf;

long long binom(int n, int k) {
    long long b = 1;
    for (int i = 1; i <= k; i++)
        b = b * (n - k + i) / i;
    return b;
}

AllocCount SpectrumCounter = ALLOC_COUNTER("spectrum test");

// One call of spectrum_ with its results; frees the blocks it owns.
struct Spectrum {
    int type, rank, level;
    int N = 0, Norbits = 0, adj = 0, repSize = 0, g = 0, center = 0, mult = 0, denom = 0;
    int complex = 0;
    double c = 0;
    int* dynkin = nullptr;
    int* centerOrders = nullptr;
    int* base = nullptr;
    bool owned = true;

    Spectrum(int t, int r, int k) : type(t), rank(r), level(k) {
        spectrum_(t, r, k, &N, &Norbits, &adj, &repSize, &g, &center, &mult, &denom, &complex, &c,
                  &dynkin, &centerOrders, &base, &SpectrumCounter);
        owned = !((r == 0 || k == 0) && t != 0) && !(t == 0 && r == 0);
    }
    Spectrum(const Spectrum&) = delete;
    Spectrum& operator=(const Spectrum&) = delete;
    ~Spectrum() {
        if (!owned)
            return;
        freespace(base, sizeof(int) * (2 * mult + 4) * N, &SpectrumCounter, "Orbit data");
        freespace(dynkin, sizeof(int) * N * repSize, &SpectrumCounter, "Dynkin labels");
        if (centerOrders)
            freespace(centerOrders, sizeof(int) * (mult == 2 ? 2 : 1), &SpectrumCounter,
                      "Center orders");
    }

    const int* row(int L) const { return dynkin + L * repSize; }
    int orbit(int L) const { return base[L]; }
    int generator(int L) const { return base[N + L]; }
    int position(int L) const { return base[2 * N + L]; }
    int stabiliser(int L, int w = 0) const { return base[3 * N + mult * L + w]; }
    int charge(int L, int w = 0) const { return base[(3 + mult) * N + mult * L + w]; }
    int weightNum(int L) const { return base[(3 + 2 * mult) * N + L]; }
    // h(L) == p/q
    bool weightIs(int L, long long p, long long q) const {
        return static_cast<long long>(weightNum(L)) * q == p * denom;
    }
    int find(const std::vector<int>& w) const {
        for (int L = 0; L < N; L++)
            if (std::equal(w.begin(), w.end(), row(L)))
                return L;
        return -1;
    }
};

class TarvikSpectrum : public testing::Test {
protected:
    void SetUp() override {
        if (!findInternalParameter("Maxrank"))
            addInternalParameter("Maxrank", "20", 'i', 0);
        initializeTarvik();
        setIntPar("Maxrank", 20);
    }
    static int maxrank() { return *static_cast<int*>(getIntParPointer("Maxrank")); }
};

TEST_F(TarvikSpectrum, NumbersOfIntegrableWeights) {
    struct {
        int type, rank, level;
        long long count;
    } const cases[] = {
        {1, 1, 1, 2},           {1, 1, 4, 5},
        {1, 2, 3, binom(5, 2)}, {1, 3, 2, binom(5, 3)},
        {1, 4, 3, binom(7, 4)}, {3, 3, 2, binom(5, 3)},
        {3, 2, 4, binom(6, 2)}, {2, 3, 1, 3},
        {2, 1, 2, 5}, // B1 at level k is A1 at level 2k
        {4, 4, 1, 4},           {4, 5, 1, 4},
        {4, 6, 1, 4},           {5, 2, 1, 2},
        {5, 2, 3, 6},           {5, 4, 1, 2},
        {5, 4, 2, 5},           {5, 6, 1, 3},
        {5, 7, 1, 2},           {5, 8, 1, 1},
        {5, 8, 2, 3},           {5, 8, 4, 10},
        {13, 3, 1, 1},          {13, 3, 2, 4},
        {13, 1, 2, 2},
    };
    for (const auto& c : cases) {
        Spectrum s(c.type, c.rank, c.level);
        EXPECT_EQ(s.N, c.count) << algebraname(c.type, c.rank, c.level);
        EXPECT_EQ(countPrimaries(c.type, c.rank, c.level), c.count)
            << algebraname(c.type, c.rank, c.level);
    }
}

// The count made without enumerating agrees with the weights listed one by one, for every
// family, twisted ones included.
TEST_F(TarvikSpectrum, CountedFieldsAreTheIntegrableWeights) {
    auto algebras = lietest::untwistedAlgebras();
    for (const auto& a : lietest::twistedAlgebras())
        algebras.push_back(a);
    for (const auto& a : algebras)
        for (int level = 1; level <= 4; level++)
            EXPECT_EQ(countPrimaries(a.type, a.rank, level),
                      static_cast<double>(lietest::integrableWeights(a.type, a.rank, level).size()))
                << a.name << " level " << level;
    EXPECT_EQ(countPrimaries(0, 7, 0), 7);
    EXPECT_EQ(countPrimaries(2, 0, 1), 3); // the Ising model
    EXPECT_EQ(countPrimaries(1, 0, 0), 1);
}

// A20 at level 10 has binomial(30, 10) = 30045015 fields of 21 labels: 2.5e9 bytes in one
// table, past the allocator's ceiling of 2.1e9. At level 9 the 10015005 fields take 0.84e9.
TEST_F(TarvikSpectrum, SpectraPastTheAllocationCeilingDoNotFit) {
    EXPECT_EQ(countPrimaries(1, 20, 10), binom(30, 10));
    int fits = 1;
    const std::string told = reportsOf([&] { fits = spectrumFits(1, 20, 10); });
    EXPECT_EQ(fits, 0);
    EXPECT_EQ(occurrences(told, "A20 level 10 has 30045015 primaries, too many for the allocation "
                                "limit of 2100 Mb per table"),
              1)
        << told;
    const std::string quiet = reportsOf([&] { fits = spectrumFits(1, 20, 9); });
    EXPECT_EQ(fits, 1);
    EXPECT_EQ(quiet, "");
    // Far beyond every integer range the count still answers: A10000 at level 50 has
    // binomial(10050, 50), about 3.7e135, fields.
    const double lnBinomial = std::lgamma(10051.0) - std::lgamma(51.0) - std::lgamma(10001.0);
    EXPECT_NEAR(std::log(countPrimaries(1, 10000, 50)), lnBinomial, 1e-9);
    const std::string huge = reportsOf([&] { fits = spectrumFits(1, 10000, 50); });
    EXPECT_EQ(fits, 0);
    EXPECT_EQ(occurrences(huge, "A10000 level 50 has 3.73"), 1) << huge;
}

// The enumeration area asks for rank + 1 labels per field and, as a new named work area, takes
// twice that. A15 and C15 at level 12 have binomial(27, 12) = 17383860 fields: each table holds
// 1.1e9 bytes, but the area takes 2.2e9. A12 at level 15 has as many fields with 13 labels, at
// most 2.0e9 bytes. A24 at level 8, binomial(32, 8) = 10518300 fields of 25 labels, passes the
// ceiling by the doubling alone (2 x 262960000 ints, 2.1037e9 bytes).
TEST_F(TarvikSpectrum, TheEnumerationAreaCountsWithTheRoomItTakes) {
    struct Case {
        int type, rank, level;
        long long fields;
        int fits;
    };
    const Case cases[] = {{1, 15, 12, binom(27, 12), 0},
                          {3, 15, 12, binom(27, 12), 0},
                          {1, 12, 15, binom(27, 12), 1},
                          {1, 24, 8, binom(32, 8), 0}};
    for (const Case& c : cases) {
        const std::string name = algebraname(c.type, c.rank, c.level);
        SCOPED_TRACE(name);
        EXPECT_EQ(countPrimaries(c.type, c.rank, c.level), static_cast<double>(c.fields));
        int fits = -1;
        const std::string told = reportsOf([&] { fits = spectrumFits(c.type, c.rank, c.level); });
        EXPECT_EQ(fits, c.fits);
        const std::string refusal = name + " has " + std::to_string(c.fields) +
                                    " primaries, too many for the allocation limit of 2100 Mb";
        EXPECT_EQ(occurrences(told, refusal), c.fits ? 0 : 1) << told;
        if (c.fits) {
            EXPECT_EQ(told, "");
        }
    }
}

TEST_F(TarvikSpectrum, CentralChargesAndConstants) {
    for (const lietest::Algebra& a : lietest::untwistedAlgebras())
        for (int k = 1; k <= 2; k++) {
            SCOPED_TRACE(algebraname(a.type, a.rank, k));
            Spectrum s(a.type, a.rank, k);
            int dim = AdjointDimension(a.type, a.rank), g = dualCoxeter(a.type, a.rank);
            EXPECT_NEAR(s.c, double(k) * dim / (k + g), 1e-12);
            EXPECT_EQ(s.adj, dim);
            EXPECT_EQ(s.g, g);
            EXPECT_EQ(s.center, Center(a.type, a.rank));
            EXPECT_EQ(s.mult, CenterMultiplicity(a.type, a.rank));
            EXPECT_EQ(s.repSize, a.rank + 1);
            InverseCartan(a.type, a.rank);
            EXPECT_EQ(s.denom, 2 * getMetricNorm() * (k + g));
            // Field 0 is the vacuum.
            EXPECT_EQ(s.weightNum(0), 0);
            EXPECT_EQ(s.row(0)[a.rank], k);
        }
}

// su(2) at level k: h = l(l+2) / (4(k+2)) for Dynkin label l.
TEST_F(TarvikSpectrum, Su2) {
    for (int k = 1; k <= 7; k++) {
        Spectrum s(1, 1, k);
        ASSERT_EQ(s.N, k + 1);
        EXPECT_EQ(s.row(0)[0], 0);
        EXPECT_EQ(s.row(0)[1], k);
        EXPECT_EQ(s.row(1)[0], k); // the simple current, second in the vacuum's orbit
        EXPECT_EQ(s.position(1), 1);
        EXPECT_EQ(s.Norbits, k / 2 + 1);
        for (int L = 0; L < s.N; L++) {
            int l = s.row(L)[0];
            EXPECT_EQ(s.row(L)[1], k - l);
            EXPECT_TRUE(s.weightIs(L, l * (l + 2), 4 * (k + 2))) << "k=" << k << " l=" << l;
            bool fixed = 2 * l == k;
            EXPECT_EQ(s.stabiliser(L), fixed ? 1 : 0);
            EXPECT_EQ(s.charge(L), l % 2);
        }
    }
}

// B1(2t) at level k: labels (l, a) with l + 2a = k; its finite root is short (length squared
// 1), so h = (l, l + 2 rho) / (2 (k + 3)) = l (l + 2) / (8 (k + 3)).
TEST_F(TarvikSpectrum, Btilde1WeightsComeFromAShortRoot) {
    for (int k = 1; k <= 5; k++) {
        Spectrum s(13, 1, k);
        ASSERT_EQ(s.N, k / 2 + 1);
        EXPECT_EQ(s.g, 3);
        for (int L = 0; L < s.N; L++) {
            const int l = s.row(L)[0];
            EXPECT_EQ(l + 2 * s.row(L)[1], k);
            EXPECT_TRUE(s.weightIs(L, l * (l + 2), 8 * (k + 3))) << "k=" << k << " l=" << l;
            rat h{0, 1};
            RatWt(s.row(L), 13, 1, k, &h);
            EXPECT_EQ(1LL * h.num * 8 * (k + 3), 1LL * l * (l + 2) * h.den) << "k=" << k;
        }
    }
}

TEST_F(TarvikSpectrum, E8Level2) {
    Spectrum s(5, 8, 2);
    ASSERT_EQ(s.N, 3);
    EXPECT_EQ(s.center, 1);
    EXPECT_EQ(s.mult, 0);
    EXPECT_EQ(s.centerOrders, nullptr);
    std::multiset<double> h;
    for (int L = 0; L < 3; L++)
        h.insert(double(s.weightNum(L)) / s.denom);
    EXPECT_EQ(h, (std::multiset<double>{0.0, 15.0 / 16, 1.5}));
    EXPECT_EQ(s.Norbits, 3);
}

// D_r at level 1: vacuum, vector 1/2 and two spinors r/8.
TEST_F(TarvikSpectrum, DLevel1) {
    for (int r = 4; r <= 7; r++) {
        Spectrum s(4, r, 1);
        ASSERT_EQ(s.N, 4);
        EXPECT_EQ(s.Norbits, 1);
        std::multiset<double> h;
        for (int L = 0; L < 4; L++)
            h.insert(double(s.weightNum(L)) / s.denom);
        EXPECT_EQ(h, (std::multiset<double>{0.0, 0.5, r / 8.0, r / 8.0})) << "D" << r;
        if (r % 2 == 0) {
            ASSERT_NE(s.centerOrders, nullptr);
            EXPECT_EQ(s.centerOrders[0], 2);
            EXPECT_EQ(s.centerOrders[1], 2);
        } else {
            EXPECT_EQ(s.centerOrders[0], 4);
        }
    }
}

TEST_F(TarvikSpectrum, A2Level1) {
    Spectrum s(1, 2, 1);
    ASSERT_EQ(s.N, 3);
    EXPECT_EQ(s.Norbits, 1);
    for (int L = 0; L < 3; L++) {
        EXPECT_EQ(s.orbit(L), 0);
        EXPECT_EQ(s.generator(L), 0);
        EXPECT_EQ(s.position(L), L);
        EXPECT_TRUE(s.weightIs(L, L == 0 ? 0 : 1, L == 0 ? 1 : 3));
    }
}

TEST_F(TarvikSpectrum, FixedPointsOfD4Level2) {
    Spectrum s(4, 4, 2);
    int all = s.find({0, 1, 0, 0, 0});
    ASSERT_GE(all, 0);
    EXPECT_EQ(s.stabiliser(all, 0), 1);
    EXPECT_EQ(s.stabiliser(all, 1), 2);
    EXPECT_EQ(s.generator(all), all);
    int vectorOnly = s.find({1, 0, 0, 0, 1});
    ASSERT_GE(vectorOnly, 0);
    EXPECT_EQ(s.stabiliser(vectorOnly, 0), 2);
    EXPECT_EQ(s.stabiliser(vectorOnly, 1), 0);
    int g = s.generator(vectorOnly);
    int members = 0;
    for (int L = 0; L < s.N; L++)
        members += s.generator(L) == g;
    EXPECT_EQ(members, 2);
    EXPECT_EQ(s.stabiliser(0, 0), 0);
    EXPECT_EQ(s.stabiliser(0, 1), 0);
}

// Orbits are runs of consecutive fields opened by their generator; members of an orbit have
// equal quantum dimensions, and the orbit length times the stabiliser order is the centre order.
TEST_F(TarvikSpectrum, OrbitStructure) {
    struct {
        int type, rank, level;
    } const cases[] = {{1, 1, 4}, {1, 2, 3}, {1, 3, 4}, {1, 5, 2}, {2, 3, 2}, {2, 4, 3},
                       {3, 2, 2}, {3, 3, 3}, {4, 5, 2}, {4, 7, 1}, {5, 6, 3}, {5, 7, 2}};
    for (const auto& c : cases) {
        SCOPED_TRACE(algebraname(c.type, c.rank, c.level));
        Spectrum s(c.type, c.rank, c.level);
        int orbitStart = 0, count = 0;
        std::set<int> positions;
        for (int L = 0; L <= s.N; L++) {
            bool newOrbit = L == s.N || (L > 0 && s.orbit(L) != s.orbit(L - 1));
            if (newOrbit) {
                int len = L - orbitStart;
                EXPECT_EQ(int(positions.size()), len);
                int stab = s.stabiliser(orbitStart);
                int stabOrder = stab == 0 ? 1 : s.center / stab;
                EXPECT_EQ(len * stabOrder, s.center);
                count++;
                orbitStart = L;
                positions.clear();
            }
            if (L == s.N)
                break;
            EXPECT_EQ(s.orbit(L), count);
            EXPECT_EQ(s.generator(L), orbitStart);
            positions.insert(s.position(L));
            double q0 = QDim(s.row(orbitStart), c.type, c.rank, c.level);
            EXPECT_NEAR(QDim(s.row(L), c.type, c.rank, c.level), q0, 1e-9);
        }
        EXPECT_EQ(count, s.Norbits);
    }
}

int applyCurrent(int type, int rank, const int* in, int* out) {
    switch (type) {
    case 1:
        return simplea_(rank, in, out, 1);
    case 2:
        return simpleb_(rank, in, out, 1);
    case 3:
        return simplec_(rank, in, out, 1);
    case 4:
        return simpled_(rank, in, out, 1);
    default:
        return simplee_(rank, in, out, 1);
    }
}

// Monodromy charge: h(J) + h(l) - h(J l) = eps * Q(l) / N modulo 1, with one sign eps for the
// whole spectrum.
TEST_F(TarvikSpectrum, ChargesAreMonodromies) {
    struct {
        int type, rank, level;
    } const cases[] = {{1, 1, 3}, {1, 2, 2}, {1, 4, 2}, {2, 3, 2}, {3, 3, 2},
                       {4, 3, 2}, {4, 5, 2}, {5, 6, 2}, {5, 7, 2}};
    for (const auto& c : cases) {
        SCOPED_TRACE(algebraname(c.type, c.rank, c.level));
        Spectrum s(c.type, c.rank, c.level);
        std::vector<int> image(c.rank + 1);
        applyCurrent(c.type, c.rank, s.row(0), image.data());
        int J = findRep(image.data(), c.rank + 1, s.N, c.type, c.rank, c.level);
        ASSERT_GE(J, 0);
        int agree[2] = {0, 0};
        for (int L = 0; L < s.N; L++) {
            applyCurrent(c.type, c.rank, s.row(L), image.data());
            int JL = findRep(image.data(), c.rank + 1, s.N, c.type, c.rank, c.level);
            ASSERT_GE(JL, 0);
            // Everything times denom * center, modulo denom * center.
            long long mod = 1LL * s.denom * s.center;
            long long q = 1LL * (s.weightNum(J) + s.weightNum(L) - s.weightNum(JL)) * s.center;
            for (int e = 0; e < 2; e++) {
                long long rhs = (e == 0 ? 1 : -1) * 1LL * s.charge(L) * s.denom;
                agree[e] += ((q - rhs) % mod + mod) % mod == 0;
            }
        }
        EXPECT_TRUE(agree[0] == s.N || agree[1] == s.N) << agree[0] << " " << agree[1];
    }
}

TEST_F(TarvikSpectrum, FindRepNamesEveryField) {
    Spectrum s(1, 3, 3);
    for (int L = 0; L < s.N; L++) {
        EXPECT_EQ(findRep(s.row(L), 4, s.N, 1, 3, 3), L);
        EXPECT_EQ(findRep(s.row(L), 3, s.N, 1, 3, 3), L); // the finite labels suffice
    }
    int missing[] = {4, 0, 0, 0};
    EXPECT_EQ(findRep(missing, 4, s.N, 1, 3, 3), -1);
    EXPECT_EQ(findRep(s.row(1), 4, s.N, 1, 3, 2), -1);
    Spectrum e8(5, 8, 2); // centre order 1: enumeration order
    for (int L = 0; L < e8.N; L++)
        EXPECT_EQ(findRep(e8.row(L), 9, e8.N, 5, 8, 2), L);
    EXPECT_EQ(findRep(s.row(0), 4, s.N, 1, 3, 3), -1); // another spectrum was computed since
}

TEST_F(TarvikSpectrum, FreeBosonRadius4) {
    Spectrum s(0, 4, 0);
    ASSERT_EQ(s.N, 4);
    EXPECT_EQ(s.denom, 8);
    EXPECT_EQ(s.Norbits, 1);
    EXPECT_DOUBLE_EQ(s.c, 1.0);
    EXPECT_EQ(s.repSize, 1);
    const int weights[] = {0, 1, 4, 1}, charges[] = {0, 3, 2, 1};
    for (int L = 0; L < 4; L++) {
        EXPECT_EQ(s.dynkin[L], L);
        EXPECT_EQ(s.weightNum(L), weights[L]);
        EXPECT_EQ(s.charge(L), charges[L]);
        EXPECT_EQ(s.position(L), L);
        EXPECT_EQ(s.generator(L), 0);
    }
    int q = 1;
    EXPECT_EQ(findRep(&q, 1, 4, 0, 4, 0), -1);
}

TEST_F(TarvikSpectrum, TrivialAndIsing) {
    Spectrum t(1, 0, 0);
    EXPECT_EQ(t.N, 1);
    EXPECT_EQ(t.g, 1);
    EXPECT_EQ(t.denom, 1);
    EXPECT_EQ(t.dynkin[0], 0);
    Spectrum ising(2, 0, 1);
    ASSERT_EQ(ising.N, 3);
    EXPECT_EQ(ising.g, -1);
    EXPECT_EQ(ising.denom, 16);
    EXPECT_DOUBLE_EQ(ising.c, 0.5);
    EXPECT_EQ(ising.centerOrders[0], 2);
    // 0, 1/2 and 1/16 over 16.
    EXPECT_TRUE(ising.weightIs(0, 0, 1));
    EXPECT_TRUE(ising.weightIs(1, 1, 2));
    EXPECT_TRUE(ising.weightIs(2, 1, 16));
    EXPECT_EQ(ising.stabiliser(2), 1);
}

TEST_F(TarvikSpectrum, TriplesWithoutSpectrumAreReported) {
    std::string out = reportsOf([] { Spectrum s(2, 0, 2); });
    EXPECT_EQ(occurrences(out, "Routine: spectrum_"), 1);
}

// The orbit tables once had the live "Maxrank" as leading dimension: A_r with r equal to it
// has orbits of r + 1 members.
TEST_F(TarvikSpectrum, OrbitsLongerThanMaxrank) {
    for (int r = 3; r <= 6; r++) {
        setIntPar("Maxrank", r);
        Spectrum s(1, r, 1);
        ASSERT_EQ(s.N, r + 1);
        EXPECT_EQ(s.Norbits, 1);
        std::set<std::vector<int>> rows;
        for (int L = 0; L <= r; L++) {
            EXPECT_EQ(s.position(L), L);
            EXPECT_EQ(s.generator(L), 0);
            EXPECT_EQ(std::count(s.row(L), s.row(L) + r + 1, 1), 1);
            rows.insert(std::vector<int>(s.row(L), s.row(L) + r + 1));
            // h(omega_j) = j (r + 1 - j) / (2 (r + 1)) at level 1
            int j = (L == 0) ? 0 : int(std::find(s.row(L), s.row(L) + r, 1) - s.row(L)) + 1;
            EXPECT_TRUE(s.weightIs(L, j * (r + 1 - j), 2 * (r + 1)));
        }
        EXPECT_EQ(int(rows.size()), r + 1);
        EXPECT_EQ(maxrank(), r);
    }
}

TEST_F(TarvikSpectrum, MaxrankIsRaisedToTheRank) {
    setIntPar("Maxrank", 3);
    Spectrum s(1, 6, 1);
    EXPECT_EQ(s.N, 7);
    EXPECT_EQ(maxrank(), 8);
}

TEST_F(TarvikSpectrum, ConjugationPreservesTheSpectrum) {
    struct {
        int type, rank, level;
    } const cases[] = {{1, 3, 2}, {4, 5, 2}, {5, 6, 2}, {2, 3, 2}};
    for (const auto& c : cases) {
        SCOPED_TRACE(algebraname(c.type, c.rank, c.level));
        Spectrum s(c.type, c.rank, c.level);
        std::vector<int> bar(c.rank + 1), back(c.rank + 1);
        int selfConjugate = 0;
        for (int L = 0; L < s.N; L++) {
            conjg_(c.type, c.rank, s.row(L), bar.data());
            int B = s.find(bar);
            ASSERT_GE(B, 0);
            EXPECT_EQ(s.weightNum(B), s.weightNum(L));
            conjg_(c.type, c.rank, bar.data(), back.data());
            EXPECT_TRUE(std::equal(back.begin(), back.end(), s.row(L)));
            selfConjugate += B == L;
        }
        EXPECT_EQ(selfConjugate < s.N, Complexity(c.type, c.rank) == 1);
    }
}

TEST_F(TarvikSpectrum, SimpleCurrentsHaveTheOrderOfTheCentre) {
    struct {
        int type, rank, order;
    } const cases[] = {{1, 4, 5}, {2, 4, 2}, {3, 4, 2}, {4, 5, 4}, {4, 6, 2}, {5, 6, 3}, {5, 7, 2}};
    for (const auto& c : cases) {
        std::vector<int> w(c.rank + 1), out(c.rank + 1);
        for (int i = 0; i <= c.rank; i++)
            w[i] = i * i + 1;
        std::vector<int> cur = w;
        for (int m = 1; m <= c.order; m++) {
            applyCurrent(c.type, c.rank, cur.data(), out.data());
            cur = out;
            EXPECT_EQ(cur == w, m == c.order) << algebraname(c.type, c.rank, 1) << " m=" << m;
        }
    }
    int in[3] = {1, 2, 3}, out[3];
    std::string msg = reportsOf([&] { EXPECT_EQ(simpled_(2, in, out, 1), 1); });
    EXPECT_EQ(occurrences(msg, "Rank 2 not allowed for type D"), 1);
}

} // namespace
