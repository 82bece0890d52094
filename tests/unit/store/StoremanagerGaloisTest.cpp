#include "store/Storemanager.h"

#include "StoreTestHelpers.h"
#include "lie/Galois.h"
#include "numeric/MathUtility.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <complex>
#include <cstdlib>
#include <string>
#include <vector>

namespace {

using storetest::block;
using storetest::cplx;
using storetest::reportsOf;

using Map = std::vector<int>;

int modulusOf(SpectrumData* sd) {
    return GaloisModulus(sd->type, sd->rank, sd->level);
}

std::vector<int> unitsOf(int M) {
    std::vector<int> units;
    for (int s = 1; s < M; s++)
        if (GCD(s, M) == 1)
            units.push_back(s);
    return units;
}

Map galoisMap(SpectrumData* sd, int s) {
    Map m(static_cast<std::size_t>(sd->Nprimaries));
    SM_getGaloisOrbit(sd, s, m.data());
    return m;
}

Map anyMap(SpectrumData* sd, int s, int* trivial = nullptr) {
    Map m(static_cast<std::size_t>(sd->Nprimaries));
    const int rc = SM_getAnyOrbit(sd, s, m.data());
    if (trivial)
        *trivial = rc;
    return m;
}

Map identityMap(int N) {
    Map m(static_cast<std::size_t>(N));
    for (int l = 0; l < N; l++)
        m[static_cast<std::size_t>(l)] = l + 1;
    return m;
}

// su(2) at level k: the field with Lie label l.
int su2Field(SpectrumData* sd, int l) {
    for (int f = 0; f < sd->Nprimaries; f++)
        if (SM_getRep(sd, f)[0] == l)
            return f;
    return -1;
}

// The map of scale s on su(2) at level k from the closed rule: s(l+1) modulo 2(k+2), reflected
// into 1..k+1 with a sign for each reflection; a multiple of k+2 lies on a wall. Signs are
// taken relative to the vacuum's whenever the vacuum has an image.
Map su2ScaleMap(SpectrumData* sd, int s) {
    const int k = sd->level, K = k + 2, N = sd->Nprimaries;
    Map m(static_cast<std::size_t>(N));
    int vacuumSign = 1;
    for (int pass = 0; pass < 2; pass++)
        for (int l = 0; l <= k; l++) {
            const int x = s * (l + 1) % (2 * K);
            int entry = 0;
            if (x % K != 0) {
                const int image = x < K ? x - 1 : 2 * K - x - 1;
                entry = (x < K ? 1 : -1) * (su2Field(sd, image) + 1);
            }
            if (l == 0 && entry != 0)
                vacuumSign = entry > 0 ? 1 : -1;
            m[static_cast<std::size_t>(su2Field(sd, l))] = pass == 0 ? entry : entry * vacuumSign;
        }
    return m;
}

TEST(GaloisOfBlocks, ScaleOneIsTheIdentity) {
    const storetest::Triple algebras[] = {{1, 1, 4}, {1, 2, 3}, {2, 2, 2}, {5, 2, 2}, {4, 4, 1}};
    for (const auto& a : algebras) {
        SpectrumData* sd = block(a.type, a.rank, a.level);
        ASSERT_NE(sd, nullptr);
        EXPECT_EQ(galoisMap(sd, 1), identityMap(sd->Nprimaries)) << SM_getAlgebraName(sd);
        int trivial = 0;
        EXPECT_EQ(anyMap(sd, 1, &trivial), identityMap(sd->Nprimaries));
        EXPECT_EQ(trivial, 1);
    }
}

TEST(GaloisOfBlocks, Su2UnitsFollowTheReflectionRule) {
    const struct {
        int k;
        std::vector<int> scales;
    } cases[] = {{1, {5}}, {4, {5, 7, 11}}, {10, {5, 7, 11, 13, 23}}, {16, {5, 7, 13, 29, 35}}};
    for (const auto& c : cases) {
        SpectrumData* sd = block(1, 1, c.k);
        ASSERT_NE(sd, nullptr);
        for (int s : c.scales) {
            SCOPED_TRACE("level " + std::to_string(c.k) + ", scale " + std::to_string(s));
            EXPECT_EQ(galoisMap(sd, s), su2ScaleMap(sd, s));
        }
    }
}

TEST(GaloisOfBlocks, Su2ScalesGiveZeroOnTheWalls) {
    SpectrumData* sd = block(1, 1, 4);
    ASSERT_NE(sd, nullptr);
    // 2(l+1) is a multiple of 6 for l = 2 alone; 6(l+1) for every l.
    const Map two = anyMap(sd, 2);
    for (int l = 0; l <= 4; l++)
        EXPECT_EQ(two[static_cast<std::size_t>(su2Field(sd, l))] == 0, l == 2) << l;
    EXPECT_EQ(two, su2ScaleMap(sd, 2));
    EXPECT_EQ(anyMap(sd, 6), Map(5, 0));
    for (int k : {4, 6, 10}) {
        SpectrumData* b = block(1, 1, k);
        ASSERT_NE(b, nullptr);
        for (int s = 2; s < 2 * (k + 2); s++) {
            if (GCD(s, 2 * (k + 2)) == 1)
                continue;
            EXPECT_EQ(anyMap(b, s), su2ScaleMap(b, s)) << "level " << k << ", scale " << s;
        }
    }
}

// The composition of the cached rows against a folding of every field for the scale itself.
TEST(GaloisOfBlocks, CachedRowsComposeToTheFoldedMaps) {
    const storetest::Triple algebras[] = {{1, 2, 3}, {2, 2, 2}, {3, 3, 1}, {5, 2, 2}, {1, 3, 2}};
    for (const auto& a : algebras) {
        SpectrumData* sd = block(a.type, a.rank, a.level);
        ASSERT_NE(sd, nullptr);
        SCOPED_TRACE(SM_getAlgebraName(sd));
        const int M = modulusOf(sd);
        Map folded(static_cast<std::size_t>(sd->Nprimaries));
        for (int s : unitsOf(M)) {
            SM_computeGaloisOrbit(sd, s, folded.data());
            EXPECT_EQ(galoisMap(sd, s), folded) << "unit " << s;
        }
        for (int s = 2; s < M; s++) {
            if (GCD(s, M) == 1)
                continue;
            SM_computeScaleOrbit(sd, s, folded.data());
            // The overall sign of a map whose vacuum has no image is a convention.
            const Map composed = anyMap(sd, s);
            Map negated = composed;
            for (int& e : negated)
                e = -e;
            EXPECT_TRUE(composed == folded || negated == folded) << "scale " << s;
        }
    }
}

TEST(GaloisOfBlocks, RowsAreCachedOnce) {
    SpectrumData* sd = block(1, 2, 4);
    ASSERT_NE(sd, nullptr);
    SM_initGalois(sd);
    SM_initScales(sd);
    const int* generators = sd->GaloisGenerators;
    const int* scales = sd->ScaleGenerators;
    ASSERT_NE(generators, nullptr);
    ASSERT_NE(scales, nullptr);
    // M = 3 * 7 = 21: units Z_2 x Z_6 need two generators; primes 3 and 7 one row each.
    EXPECT_EQ(sd->NumberOfGaloisGenerators, 2);
    galoisMap(sd, 20);
    anyMap(sd, 14);
    EXPECT_EQ(sd->GaloisGenerators, generators);
    EXPECT_EQ(sd->ScaleGenerators, scales);
}

// A Galois permutation pi with signs e relates S to itself: e(a) S(pi a, b) = e(b) S(a, pi b).
TEST(GaloisOfBlocks, UnitsAreSymmetriesOfS) {
    const storetest::Triple algebras[] = {{1, 1, 6}, {1, 2, 2}, {2, 2, 1}, {5, 2, 1}};
    for (const auto& a : algebras) {
        SpectrumData* sd = block(a.type, a.rank, a.level);
        ASSERT_NE(sd, nullptr);
        SCOPED_TRACE(SM_getAlgebraName(sd));
        const int N = sd->Nprimaries;
        auto S = [&](int i, int j) {
            double re = 0, im = 0;
            SM_getS(sd, i, j, &re, &im);
            return cplx(re, im);
        };
        for (int s : unitsOf(modulusOf(sd))) {
            const Map m = galoisMap(sd, s);
            for (int i = 0; i < N; i++)
                for (int j = 0; j < N; j++) {
                    const int ei = m[static_cast<std::size_t>(i)];
                    const int ej = m[static_cast<std::size_t>(j)];
                    const cplx left = (ei > 0 ? 1.0 : -1.0) * S(std::abs(ei) - 1, j);
                    const cplx right = (ej > 0 ? 1.0 : -1.0) * S(i, std::abs(ej) - 1);
                    EXPECT_LT(std::abs(left - right), 1e-9)
                        << "scale " << s << " (" << i << "," << j << ")";
                }
        }
    }
}

int count(const std::string& text, const std::string& what) {
    int n = 0;
    for (std::size_t at = text.find(what); at != std::string::npos; at = text.find(what, at + 1))
        n++;
    return n;
}

TEST(GaloisOfBlocks, FullPrintRemovesRepeatedMaps) {
    SpectrumData* sd = block(1, 1, 4);
    ASSERT_NE(sd, nullptr);
    std::vector<char> text(20000);
    // Units 1, 5, 7, 11 modulo 12; -1 acts as the identity up to the overall sign.
    SM_printFullGalois(text.data(), sd, 0, 0, 0, text.size());
    EXPECT_EQ(count(text.data(), "Galois dilation"), 4);
    SM_printFullGalois(text.data(), sd, 0, 0, 1, text.size());
    EXPECT_EQ(count(text.data(), "Galois dilation"), 2);
    EXPECT_EQ(count(text.data(), "Galois dilation 1\n"), 1);
    EXPECT_EQ(count(text.data(), "Galois dilation 5\n"), 1);
}

TEST(GaloisOfBlocks, PrintsStopWhenTheTextIsFull) {
    SpectrumData* sd = block(1, 1, 4);
    ASSERT_NE(sd, nullptr);
    std::vector<char> text(20000);
    // Room for one map of five fields (5 * 40 + 200 characters) but not for two.
    const std::string reports =
        reportsOf([&] { SM_printFullGalois(text.data(), sd, 0, 0, 0, 420); });
    EXPECT_EQ(count(text.data(), "Galois dilation"), 1);
    EXPECT_NE(reports.find("remaining orbits not printed"), std::string::npos);
    // Non-units 2, 3, 4, 6, 8, 9, 10 modulo 12: one map needs 5 * 120 + 600 characters.
    SM_printAllScaleOrbits(text.data(), sd, text.size());
    EXPECT_EQ(count(text.data(), "Non-galois Dilatation"), 7);
    EXPECT_NE(std::string(text.data()).find("\nNon-galois Dilatation 2\n(0,2,3,-3)\n"),
              std::string::npos);
}

using Invariant = std::vector<int>;

// An su(2) invariant in field order from blocks of Lie labels: each block {l, l', ...} adds
// m |chi_l + chi_l' + ...|^2; a pair (l, -l') adds chi_l conj(chi_l') alone.
Invariant su2Invariant(SpectrumData* sd, const std::vector<std::vector<int>>& blocks, int m = 1) {
    const int N = sd->Nprimaries;
    Invariant Z(static_cast<std::size_t>(N) * N, 0);
    for (const auto& b : blocks) {
        if (b.size() == 2 && b[1] < 0) {
            Z[static_cast<std::size_t>(su2Field(sd, b[0]) * N + su2Field(sd, -b[1]))] += m;
            continue;
        }
        for (int l : b)
            for (int r : b)
                Z[static_cast<std::size_t>(su2Field(sd, l) * N + su2Field(sd, r))] += m;
    }
    return Z;
}

Invariant plus(Invariant a, const Invariant& b) {
    for (std::size_t i = 0; i < a.size(); i++)
        a[i] += b[i];
    return a;
}

// The search over the Galois and scale maps finds the A-D-E invariants of the level, and only
// those: level 4 A5 and D4, level 10 A11, D7 (l <-> 10 - l for odd l) and E6.
TEST(GaloisOfBlocks, Su2SearchFindsTheADEInvariants) {
    SpectrumData* k4 = block(1, 1, 4);
    SpectrumData* k10 = block(1, 1, 10);
    ASSERT_NE(k4, nullptr);
    ASSERT_NE(k10, nullptr);
    std::vector<std::vector<int>> diagonal4, diagonal10, d7;
    for (int l = 0; l <= 4; l++)
        diagonal4.push_back({l});
    for (int l = 0; l <= 10; l++) {
        diagonal10.push_back({l});
        d7.push_back(l % 2 ? std::vector<int>{l, -(10 - l)} : std::vector<int>{l});
    }
    const struct {
        SpectrumData* sd;
        std::vector<Invariant> expected;
    } cases[] = {
        {k4,
         {su2Invariant(k4, diagonal4),
          plus(su2Invariant(k4, {{0, 4}}), su2Invariant(k4, {{2}}, 2))}},
        {k10,
         {su2Invariant(k10, diagonal10), su2Invariant(k10, d7),
          su2Invariant(k10, {{0, 6}, {3, 7}, {4, 10}})}},
    };
    AcceptCandidateInvariant previous = setAcceptCandidateInvariant(nullptr);
    for (const auto& c : cases) {
        SCOPED_TRACE(SM_getAlgebraName(c.sd));
        clearRecordedCandidates();
        testing::internal::CaptureStdout();
        reportsOf([&] { SM_galoisInvariants(c.sd); });
        testing::internal::GetCapturedStdout();
        std::vector<Invariant> found;
        for (int n = 0; n < recordedCandidateCount(); n++) {
            int N = 0;
            const int* Z = recordedCandidate(n, &N);
            ASSERT_EQ(N, c.sd->Nprimaries);
            found.emplace_back(Z, Z + static_cast<std::size_t>(N) * N);
        }
        std::vector<Invariant> expected = c.expected;
        std::sort(found.begin(), found.end());
        std::sort(expected.begin(), expected.end());
        EXPECT_EQ(found, expected);
    }
    clearRecordedCandidates();
    setAcceptCandidateInvariant(previous);
}

TEST(GaloisOfBlocks, OtherBlocksAreRefused) {
    SpectrumData* sd = SM_getData(0, 6, 0);
    ASSERT_NE(sd, nullptr);
    std::vector<char> text(100, 'x');
    std::string reports = reportsOf([&] { SM_galoisInvariants(sd); });
    EXPECT_NE(reports.find("Galois invariants not defined for this algebra"), std::string::npos);
    reports = reportsOf(
        [&] { EXPECT_EQ(SM_printAllScaleOrbits(text.data(), sd, text.size()), text.data()); });
    EXPECT_NE(reports.find("Scale orbits not defined for this algebra"), std::string::npos);
    EXPECT_EQ(text[0], '\0');
    text[0] = 'x';
    reports = reportsOf(
        [&] { EXPECT_EQ(SM_printFullGalois(text.data(), sd, 0, 0, 0, text.size()), text.data()); });
    EXPECT_NE(reports.find("Galois orbits not defined for this algebra"), std::string::npos);
    EXPECT_EQ(text[0], '\0');
}

} // namespace
