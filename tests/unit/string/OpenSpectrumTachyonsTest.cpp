// Open-string tachyons of branes in the bosonic reading of su(2) at level 4 and su(3) at level 1,
// and in type 0 from D8 at level 1 in the superstring reading.
//
// su(2) level 4: fields 0 .. 4 are the spins 0, 2, 1/2, 3/2, 1 (weights 0, 1, 1/8, 5/8, 1/3);
// boundary a is the Cardy boundary of field a, so A(i, a, b) is the fusion coefficient. The
// tachyons are the fields 2, 3, 4. Without Klein bottle current the Moebius coefficient of the
// spin-1 field on the spin-1 boundary is -1 (with the current +1), while A(4, 4, 4) = N(1, 1, 1)
// = 1: the only tachyon of that brane is antisymmetric, absent from SO(1).
#include "string/StringFixtures.h"

#include "TestSupport.h"

#include "boundary/CrossBoundInternal.h"
#include "string/OpenSpectrum.h"
#include "string/StringTheory.h"
#include "string/Tadpole.h"

#include <gtest/gtest.h>

#include <vector>

namespace {

std::vector<int> labels(const IntegerList* L) {
    return std::vector<int>(L->list.X, L->list.X + L->cnt);
}

class BraneTachyons : public stringtest::StringBlockTest {
protected:
    void TearDown() override {
        crossbound_internal::N_Ori = 0;
        StringBlockTest::TearDown();
    }
    void start(int type, int rank, int level, int K) {
        theory(type, rank, level);
        ASSERT_EQ(initializeOpenString(), 0);
        int r = 0;
        invtest::outputOf([&] { r = setKlein(K); });
        ASSERT_EQ(r, 1);
    }
    // One stack on label a with multiplicity N.
    static ChanPatonData* stack(int a, int N) {
        const int vars[] = {a}, mults[] = {N};
        return generateChanPatonData(1, getCurrentOrientifold(), vars, mults);
    }
};

TEST_F(BraneTachyons, AntisymmetricOnlyTachyonVanishesAtMultiplicityOne) {
    start(1, 1, 4, 0);
    OrientifoldInfo* OI = getCurrentOrientifold();
    ASSERT_EQ(getAnnulus(4, 4, 4), 1);
    ASSERT_EQ(getMoebius(4, 4), -1);
    EXPECT_EQ(DiagonalTachyonCheck(OI, 4), -1);
    EXPECT_EQ(checkCPDforTachyons(stack(4, 1)), 0);
    EXPECT_EQ(checkCPDforTachyons(stack(4, 2)), 1);
    // The spin-1/2 and spin-3/2 branes carry the spin-1 tachyon symmetrically; the identity
    // brane meets no tachyon, nor does the spin-2 brane (N(1, 2, 2) = 0 at level 4).
    const std::vector<int> expected{0, 0, 1, 1, -1};
    for (int a = 0; a < 5; a++)
        EXPECT_EQ(DiagonalTachyonCheck(OI, a), expected[static_cast<std::size_t>(a)]) << a;
    IntegerList *allow = nullptr, *avoid = nullptr;
    getTachyonFreeBoundaryLabels(OI, &allow, &avoid);
    EXPECT_EQ(labels(allow), std::vector<int>{}) << "self-conjugate labels are never allowed";
    EXPECT_EQ(labels(avoid), (std::vector<int>{2, 3}));
}

// A stack of N branes keeps (N A + M) N of the diagonal tachyons: none of the antisymmetric one
// for N = 1, two for N = 2; the spin-1/2 brane keeps its symmetric one at N = 1.
TEST_F(BraneTachyons, ConfigurationKeepsTheProjectedStates) {
    start(1, 1, 4, 0);
    SusySides bosonic;
    EXPECT_EQ(OpenSectorTachyonAnalysis(stack(4, 1), &bosonic.ST), 0);
    EXPECT_EQ(OpenSectorTachyonAnalysis(stack(4, 2), &bosonic.ST), 1);
    ASSERT_EQ(getMoebius(4, 2), 1);
    EXPECT_EQ(OpenSectorTachyonAnalysis(stack(2, 1), &bosonic.ST), 1);
    EXPECT_EQ(OpenSectorTachyonAnalysis(stack(0, 3), &bosonic.ST), 0);
}

// Pairs: the identity brane meets brane b through field b, a tachyon unless b is the spin-2
// current, which is massless. The table is symmetric.
TEST_F(BraneTachyons, PairCacheIsSymmetric) {
    start(1, 1, 4, 0);
    OrientifoldInfo* OI = getCurrentOrientifold();
    EXPECT_EQ(TachyonicIntersection(OI, -1, 0), 0);
    const std::vector<int> withIdentity{0, 0, 1, 1, 1};
    for (int b = 1; b < 5; b++) {
        EXPECT_EQ(TachyonicIntersection(OI, 0, b), withIdentity[static_cast<std::size_t>(b)]);
        EXPECT_EQ(TachyonicIntersection(OI, b, 0), withIdentity[static_cast<std::size_t>(b)]);
    }
    // Spin 2 with spin 1/2 gives spin 3/2 only: the tachyon of field 3.
    EXPECT_EQ(TachyonicIntersection(OI, 1, 2), 1);
    EXPECT_EQ(TachyonicIntersection(OI, 4, 4), -1);
}

// The cache belongs to the orientifold: with the Klein bottle current the spin-1 brane's
// tachyon is symmetric, and no explicit reset is needed to see it.
TEST_F(BraneTachyons, PairCacheFollowsTheOrientifold) {
    start(1, 1, 4, 0);
    EXPECT_EQ(TachyonicIntersection(getCurrentOrientifold(), 4, 4), -1);
    int r = 0;
    invtest::outputOf([&] { r = setKlein(1); });
    ASSERT_EQ(r, 1);
    ASSERT_EQ(getMoebius(4, 4), 1);
    EXPECT_EQ(TachyonicIntersection(getCurrentOrientifold(), 4, 4), 1);
}

// The check of another orientifold leaves the caller's current.
TEST_F(BraneTachyons, DiagonalCheckRestoresTheCurrentOrientifold) {
    start(1, 1, 4, 0);
    OrientifoldInfo* user = getCurrentOrientifold();
    invtest::outputOf([] { collectOrientifolds(); });
    OrientifoldInfo* withCurrent = getOrientifoldByNumber(0);
    ASSERT_NE(withCurrent, nullptr);
    ASSERT_EQ(withCurrent->KBC, 1);
    ASSERT_EQ(getCurrentOrientifold(), user);
    EXPECT_EQ(DiagonalTachyonCheck(withCurrent, 4), 1);
    EXPECT_EQ(getCurrentOrientifold(), user);
    EXPECT_EQ(DiagonalTachyonCheck(user, 4), -1);
}

// su(3) level 1: boundaries 1 and 2 are conjugate (a unitary pair). The pairs (0, 1) and
// (0, 2) share one entry; both meet the tachyonic triplets.
TEST_F(BraneTachyons, PairAndConjugatePairShareTheirEntry) {
    start(1, 2, 1, 0);
    OrientifoldInfo* OI = getCurrentOrientifold();
    EXPECT_EQ(TachyonicIntersection(OI, -1, 0), 0);
    ASSERT_EQ(OI->Conjugates[1], 2);
    EXPECT_EQ(TachyonicIntersection(OI, 0, 1), 1);
    EXPECT_EQ(TachyonicIntersection(OI, 2, 0), 1);
    EXPECT_EQ(TachyonicIntersection(OI, 1, 2), DiagonalTachyonCheck(OI, 1));
}

// Type 0 from D8 at level 1 without Klein bottle current: four self-conjugate branes, one per
// field (vacuum o, spinor s, vector v, spinor c). The tachyon is the vector: no brane meets it
// alone, the pairs (o, v) and (s, c) do.
class TypeZeroBranes : public stringtest::StringProductTest {
protected:
    void SetUp() override {
        StringProductTest::SetUp();
        boundarytest::startModule();
        build({{4, 8, 1}});
        if (HasFatalFailure())
            return;
        ASSERT_EQ(initializeOpenString(), 0);
        ASSERT_EQ(TotalBoundaries(), 4);
    }
};

TEST_F(TypeZeroBranes, OnlyPairsAcrossTheVectorAreTachyonic) {
    testsupport::Captured cap;
    OrientifoldInfo* OI = getCurrentOrientifold();
    for (int a = 0; a < 4; a++)
        EXPECT_EQ(DiagonalTachyonCheck(OI, a), 0) << a;
    IntegerList *allow = nullptr, *avoid = nullptr;
    getTachyonFreeBoundaryLabels(OI, &allow, &avoid);
    EXPECT_EQ(allow->cnt, 0);
    EXPECT_EQ(avoid->cnt, 0);
    TachyonicIntersection(OI, -1, 0);
    const int v = 2;
    for (int a = 0; a < 4; a++)
        for (int b = 0; b < 4; b++) {
            const bool acrossVector = getAnnulus(v, a, b) != 0;
            EXPECT_EQ(TachyonicIntersection(OI, a, b), acrossVector ? 1 : 0) << a << "," << b;
        }
    EXPECT_EQ(TachyonicIntersection(OI, 0, 2), 1);
    EXPECT_EQ(TachyonicIntersection(OI, 1, 3), 1);
    EXPECT_EQ(TachyonicIntersection(OI, 0, 1), 0);
    const int vars[] = {0, 1, 2, 3}, sixteen[] = {16, 16, 16, 16};
    EXPECT_EQ(checkCPDforTachyons(generateChanPatonData(4, OI, vars, sixteen)), 1);
    const int fermionic[] = {0, 1};
    EXPECT_EQ(checkCPDforTachyons(generateChanPatonData(2, OI, fermionic, sixteen)), 0);
}

} // namespace
