// Anomaly checks on tables small enough to follow by hand: four boundaries, 0 symplectic, 1 and 2
// a unitary pair, 3 orthogonal, with oriented intersections I(a,c) given row by row; and a record
// built from given stacks on su(3) level 1, which must take the marker stack.
#include "string/TadpoleTestHelpers.h"

#include "TestSupport.h"

#include "boundary/CrossBound.h"
#include "modular/Modular.h"
#include "numeric/Sorting.h"
#include "string/Anomalies.h"
#include "string/AnomaliesInternal.h"
#include "string/Tadpole.h"

#include <gtest/gtest.h>

#include <array>
#include <string>
#include <vector>

namespace {

constexpr int NotIntegral = 2147483647;

std::vector<std::vector<int>> I; // I[a][c]
std::vector<long long> Moebius;  // M(b)
int lookups = 0;

int tableIntersection(int a, int c, int* chir) {
    lookups++;
    *chir = I[a][c] == NotIntegral ? NotIntegral : I[a][c] - I[c][a];
    return I[a][c];
}
int tableMoebius(int, int b) {
    return static_cast<int>(Moebius[static_cast<std::size_t>(b)]);
}
int tableBoundaries() {
    return static_cast<int>(I.size());
}

class AnomalyTables : public testing::Test {
protected:
    void SetUp() override {
        I = {{0, 1, 0, 1}, {0, 0, 1, 2}, {1, 0, 0, 0}, {1, 0, 2, 0}};
        Moebius = {0, 0, 1, 0};
        lookups = 0;
        OI.Conjugates.reserve(4);
        const int conj[] = {0, 2, 1, 3};
        std::copy_n(conj, 4, OI.Conjugates.X);
        OI.GroupTypes = types.data();
        OI.OrientifoldNr = 7;
        OI.ConjugatesAvailable = 7;
        OI.ModInvNr = QueryBulkInvariant();
        anomalies::setSources(tableIntersection, tableMoebius, tableBoundaries);
    }
    void TearDown() override { anomalies::resetAnomalyState(); }

    // Stacks given as (label, N); the label's image is filled in as the solver would.
    ChanPatonData* configuration(std::vector<std::array<int, 2>> stacks) {
        CPD.OI = &OI;
        CPD.Nbnd = 4;
        CPD.Nactive = static_cast<int>(stacks.size());
        CPD.CPmults.assign(4, 0);
        CPD.CPlabelsToGroupFactors.assign(4, -1);
        CPD.Active.clear();
        CPD.dims.clear();
        CPD.Types.clear();
        for (std::size_t k = 0; k < stacks.size(); k++) {
            const int a = stacks[k][0], N = stacks[k][1];
            CPD.Active.push_back(a);
            CPD.dims.push_back(N);
            CPD.Types.push_back(types[static_cast<std::size_t>(a)]);
            CPD.CPmults[static_cast<std::size_t>(a)] = N;
            CPD.CPmults[static_cast<std::size_t>(OI.Conjugates.X[a])] = N;
        }
        return &CPD;
    }

    std::array<int, 4> types{-1, 0, 0, 1};
    OrientifoldInfo OI;
    ChanPatonData CPD;
};

// chi(a,b) = I(a,b) - I(b,a). Probe 1 (image 2): chi(.,2) = (-1, 1, 0, 2); the symplectic entry
// doubled and the pair merged give (-2, 1, 0, 2), divided by the gcd and signed (2, -1, 0, -2),
// so 1 only at the pair. Probes 0 and 3 give nothing, probe 2 repeats probe 1.
TEST_F(AnomalyTables, LocalRowsModuloTwo) {
    const std::array<std::array<int, 4>, 4> expected = {
        {{0, 0, 0, 0}, {0, 1, 0, 0}, {0, 1, 0, 0}, {0, 0, 0, 0}}};
    for (int b = 0; b < 4; b++) {
        std::array<int, 4> v{9, 9, 9, 9};
        getLocalAnomalyMod2(&OI, b, v.data());
        EXPECT_EQ(v, expected[static_cast<std::size_t>(b)]) << "probe " << b;
    }
}

// A row whose entries are all even is divided by their gcd before it is read modulo 2.
TEST_F(AnomalyTables, LocalRowIsDividedByItsCommonFactor) {
    I = {{0, 2, 0, 0}, {0, 0, 0, 0}, {0, 0, 0, 0}, {0, 0, 0, 0}};
    types = {1, 1, 1, 1};
    const int conj[] = {0, 1, 2, 3};
    std::copy_n(conj, 4, OI.Conjugates.X);
    std::array<int, 4> v{};
    getLocalAnomalyMod2(&OI, 0, v.data()); // chi(., 0) = (0, -2, 0, 0)
    EXPECT_EQ(v, (std::array<int, 4>{0, 1, 0, 0}));
    getLocalAnomalyMod2(&OI, 1, v.data()); // chi(., 1) = (2, 0, 0, 0)
    EXPECT_EQ(v, (std::array<int, 4>{1, 0, 0, 0}));
}

// The symplectic probe 0 gives I(0,.) = (0,1,0,1) mod 2, its own entry dropped: independent of the
// local row (0,1,0,0), it leaves one global condition, on label 3.
TEST_F(AnomalyTables, OneGlobalConditionOnTheOrthogonalBrane) {
    loadGlobalAnomaliesForOrientifold(&OI);
    EXPECT_EQ(OI.GlobalAnomaliesAvailable, 7);
    ASSERT_EQ(rowCount(OI.GlobalAnomalies), 1);
    const int* row = rowOf(OI.GlobalAnomalies, 0);
    EXPECT_EQ((std::array<int, 5>{row[0], row[1], row[2], row[3], row[4]}),
              (std::array<int, 5>{0, 0, 0, 1, 0}));

    struct Case {
        std::vector<std::array<int, 2>> stacks;
        int passes;
    };
    const Case cases[] = {
        {{{3, 1}}, 0},         {{{1, 1}, {3, 3}}, 0}, {{{3, 2}}, 1},         {{{1, 1}}, 1},
        {{{0, 2}, {3, 4}}, 1}, {{{2, 3}, {3, 5}}, 0}, {{{2, 3}, {3, 6}}, 1}, {{}, 1}};
    for (const Case& c : cases) {
        EXPECT_EQ(CheckGlobalAnomalies(configuration(c.stacks)), c.passes);
        // Two branes more or less on any stack never change the verdict.
        for (std::size_t k = 0; k < c.stacks.size(); k++)
            for (int d : {-2, 2}) {
                auto shifted = c.stacks;
                shifted[k][1] += d;
                EXPECT_EQ(CheckGlobalAnomalies(configuration(shifted)), c.passes);
            }
    }
}

// I(0,3) = I(3,0) = 2: the symplectic row (0,1,0,0) is the local one, so no condition remains;
// without symplectic boundaries there is no probe at all.
TEST_F(AnomalyTables, NoGlobalConditions) {
    I[0][3] = I[3][0] = 2;
    loadGlobalAnomaliesForOrientifold(&OI);
    EXPECT_EQ(rowCount(OI.GlobalAnomalies), 0);
    EXPECT_EQ(CheckGlobalAnomalies(configuration({{3, 1}})), 1);

    I[0][3] = I[3][0] = 1;
    types[0] = 1;
    OI.OrientifoldNr = OI.ConjugatesAvailable = 8;
    loadGlobalAnomaliesForOrientifold(&OI);
    EXPECT_EQ(rowCount(OI.GlobalAnomalies), 0);
    EXPECT_EQ(CheckGlobalAnomalies(configuration({{3, 1}, {1, 3}})), 1);
}

// Rows stay while the orientifold's choice stays; a new choice computes them again.
TEST_F(AnomalyTables, RowsAreComputedOncePerChoice) {
    loadGlobalAnomaliesForOrientifold(&OI);
    const int first = lookups;
    EXPECT_GT(first, 0);
    loadGlobalAnomaliesForOrientifold(&OI);
    CheckGlobalAnomalies(configuration({{3, 1}}));
    EXPECT_EQ(lookups, first);
    OI.OrientifoldNr = OI.ConjugatesAvailable = 9;
    loadGlobalAnomaliesForOrientifold(&OI);
    EXPECT_EQ(lookups, 2 * first);
    EXPECT_EQ(rowCount(OI.GlobalAnomalies), 1);
}

// A(b) = 4 (M(b) - M(b^c)) + sum_k N_k (chi(a_k, b^c) + chi(a_k^c, b^c)). With M(2) - M(1) = 1 the
// probes 1 and 2 see -4 and 4 without stacks; four unitary branes on 1 add N (chi(1,2) + chi(2,2))
// = 4 to A(1) and cancel both; six orthogonal branes on 3 add 6 chi(3,2) = 12, two symplectic
// branes on 0 add 2 chi(0,2) = -2.
TEST_F(AnomalyTables, CubicAnomalies) {
    struct Case {
        std::vector<std::array<int, 2>> stacks;
        long long A1; // A(1)
        const char* message;
    };
    const Case cases[] = {
        {{}, -4, "Local anomaly not cancelled: b=1, anomaly=-4\n"},
        {{{1, 4}}, 0, ""},
        {{{2, 4}}, 0, ""},
        {{{1, 4}, {3, 6}}, 12, "Local anomaly not cancelled: b=1, anomaly=12\n"},
        {{{1, 4}, {0, 2}}, -2, "Local anomaly not cancelled: b=1, anomaly=-2\n"},
    };
    for (const Case& c : cases) {
        ChanPatonData* cpd = configuration(c.stacks);
        EXPECT_EQ(anomalies::localAnomaly(cpd, 1), c.A1);
        EXPECT_EQ(anomalies::localAnomaly(cpd, 0), 0) << "a self-conjugate probe";
        testsupport::Captured cap;
        EXPECT_EQ(CheckLocalAnomalies(cpd), c.A1 == 0 ? 1 : 0);
        EXPECT_EQ(cap.out(), c.message);
    }
}

// The failing probe is appended as a stack of 5 at the lower label of the pair.
TEST_F(AnomalyTables, MarkerStackOnTheFailingProbe) {
    ChanPatonData* cpd = configuration({{3, 6}});
    testsupport::Captured cap;
    ASSERT_EQ(CheckLocalAnomalies(cpd), 0);
    EXPECT_EQ(cpd->Nactive, 2);
    EXPECT_EQ(cpd->Active, (std::vector<int>{3, 1}));
    EXPECT_EQ(cpd->dims, (std::vector<int>{6, 5}));
    EXPECT_EQ(cpd->Types, (std::vector<int>{1, 0}));
    EXPECT_EQ(cpd->CPmults, (std::vector<int>{0, 5, 5, 6}));
    EXPECT_EQ(cpd->CPlabelsToGroupFactors, (std::vector<int>{-1, 1, 1, -1}));
}

// The anomaly is taken in 64 bits: 4 (M(1) - M(2)) = 2^32 would read 0 in 32 bits. A Moebius sum
// or chirality that was not integral fails the probe with the marker value.
TEST_F(AnomalyTables, LargeAndNotIntegralAnomaliesFail) {
    Moebius = {0, 1LL << 29, -(1LL << 29), 0};
    {
        testsupport::Captured cap;
        EXPECT_EQ(CheckLocalAnomalies(configuration({})), 0);
        EXPECT_EQ(cap.out(), "Local anomaly not cancelled: b=1, anomaly=4294967296\n");
    }
    Moebius = {0, 0, 1, NotIntegral};
    {
        testsupport::Captured cap;
        EXPECT_EQ(CheckLocalAnomalies(configuration({{1, 4}})), 0);
        EXPECT_EQ(cap.out(), "Local anomaly not cancelled: b=3, anomaly=2147483647\n");
    }
    Moebius = {0, 0, 1, 0};
    I[1][0] = NotIntegral;
    testsupport::Captured cap;
    EXPECT_EQ(CheckLocalAnomalies(configuration({{1, 4}})), 0);
    EXPECT_EQ(cap.out(), "Local anomaly not cancelled: b=0, anomaly=2147483647\n");
}

TEST_F(AnomalyTables, CorrectionsMergeUnitaryPairs) {
    std::array<int, 4> v{3, 5, 8, 9};
    CorrectLocalAnomaly(&OI, v.data());
    EXPECT_EQ(v, (std::array<int, 4>{3, 13, 0, 9}));
    v = {3, 5, 8, 9};
    CorrectGlobalAnomaly(&OI, v.data());
    EXPECT_EQ(v, (std::array<int, 4>{0, 1, 0, 9}));
}

// A record built from given stacks has no spare entry; the marker stack grows it. Boundary 0 of
// su(3) level 1 is symplectic, 1 and 2 a unitary pair.
class MarkerOnGivenStacks : public tadpoletest::TadpoleTest {
protected:
    void SetUp() override {
        BoundaryTest::SetUp();
        startWithEquations(1, 2, 1, 2);
        I = {{0, 0, 0}, {0, 0, 0}, {0, 0, 0}};
        Moebius = {0, 1, 0};
        anomalies::setSources(tableIntersection, tableMoebius, tableBoundaries);
    }
    void TearDown() override {
        anomalies::resetAnomalyState();
        TadpoleTest::TearDown();
    }
};

TEST_F(MarkerOnGivenStacks, RecordGrowsByOneStack) {
    const int vars[] = {0}, mults[] = {4};
    ChanPatonData* cpd = generateChanPatonData(1, getCurrentOrientifold(), vars, mults);
    ASSERT_EQ(cpd->Active.size(), 1u);
    testsupport::Captured cap;
    EXPECT_EQ(CheckLocalAnomalies(cpd), 0);
    EXPECT_EQ(cap.out(), "Local anomaly not cancelled: b=1, anomaly=4\n");
    EXPECT_EQ(cpd->Nactive, 2);
    ASSERT_GE(cpd->Active.size(), 2u);
    EXPECT_EQ(cpd->Active[1], 1);
    EXPECT_EQ(cpd->dims[1], 5);
    EXPECT_EQ(cpd->Types[1], 0);
    EXPECT_EQ(cpd->CPmults, (std::vector<int>{4, 5, 5}));
}

} // namespace
