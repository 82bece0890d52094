// The boundary search from annulus vectors: the space orthogonal to the S rows off the Ishibashi
// primaries, the range squeeze of its enumeration, the Moebius test of a sign choice, the
// compatibility of candidates with their combinations, the growth of boundary sets, and the
// refusals of "try boundary". Candidates are Cardy boundaries R_a = S_a. of diagonal invariants
// treated as exceptional, whose annuli are the fusion rules; S of su(2)_k in closed form is
// sqrt(2/(k+2)) sin(pi (a+1)(b+1)/(k+2)) on Dynkin labels a, b.
#include "CrossBoundTestHelpers.h"

#include "boundary/CrossBoundSearch.h"

#include <gtest/gtest.h>

#include <cmath>
#include <numbers>
#include <string>
#include <vector>

using namespace boundarytest;

namespace {

using Vector = std::vector<double>;

class BoundarySearch : public BoundaryTest {
protected:
    void TearDown() override {
        clear();
        parameter("Boundary_search info_level") = 0;
        BoundaryTest::TearDown();
        own.clear();
    }
    // The diagonal invariant of the block as an exceptional one, with its open-string data.
    void exceptional(int type, int rank, int level) {
        theory(type, rank, level);
        invtest::outputOf([] { makeBulkExceptional(); });
        clear();
        invtest::outputOf([] { EXPECT_EQ(initializeOpenString(), 0); });
        N = getTotalPrimaries();
    }
    void e6() {
        theory(1, 1, 10);
        own.emplace_back(invtest::fromMatrix(su2E6Matrix()).release());
        makeCurrent(own.back().get());
        clear();
        invtest::outputOf([] { EXPECT_EQ(initializeOpenString(), 0); });
        N = getTotalPrimaries();
    }
    static void clear() {
        invtest::outputOf([] { resetBoundaries(); });
        freeCompleteBoundarySet(&completeBS);
        Capacity_exceeded = 0;
    }
    // Row a of S: the Cardy boundary a, followed by room for its conjugate.
    Vector cardy(int a) const {
        Vector v(static_cast<std::size_t>(4 * N), 0.0);
        for (int m = 0; m < N; m++)
            compS(a, m, &v[static_cast<std::size_t>(m)], &v[static_cast<std::size_t>(N + m)]);
        for (int m = 0; m < N; m++) {
            v[static_cast<std::size_t>(2 * N + m)] = v[static_cast<std::size_t>(m)];
            v[static_cast<std::size_t>(3 * N + m)] = -v[static_cast<std::size_t>(N + m)];
        }
        return v;
    }
    static double su2S(int k, int a, int b) {
        return std::sqrt(2.0 / (k + 2)) * std::sin(std::numbers::pi * (a + 1) * (b + 1) / (k + 2));
    }
    static int listLength() {
        int n = 0;
        for (const BoundarySet* s = firstBS.get(); s; s = s->next.get())
            n++;
        return n;
    }
    int N = 0;
    std::vector<std::unique_ptr<BulkInvariant>> own;
};

// ---- The orthogonal space ----

TEST_F(BoundarySearch, EveryPrimaryAnIshibashiLabelLeavesAllColumnsFree) {
    exceptional(1, 1, 2);
    ASSERT_EQ(N, 3);
    EXPECT_EQ(initiateIshibashiOrthogonalSpace(nullptr), 0);
    for (int j = 0; j < N; j++)
        EXPECT_EQ(SBI.tagged[j], -1);
    double* F;
    int *ishimap, *tagmap, nishi, ntags;
    loadBasisFactors(N, SBI.tagged, SBI.ImageVectors, &F, &ishimap, &tagmap, &nishi, &ntags, 0);
    ASSERT_EQ(nishi, 3);
    ASSERT_EQ(ntags, 3);
    // The factor of free column t for label m is S_0m S_tm.
    for (int k = 0; k < nishi; k++)
        for (int c = 0; c < ntags; c++) {
            const int m = dynkinOf(ishimap[k]), t = dynkinOf(tagmap[c]);
            EXPECT_NEAR(F[k * ntags + c], su2S(2, 0, m) * su2S(2, t, m), 1e-12) << k << "," << c;
            EXPECT_EQ(F[(nishi + k) * ntags + c], 0.0);
        }
}

TEST_F(BoundarySearch, E6ConstraintsDetermineFiveEntriesAndKeepTheVacuumFree) {
    e6();
    const int count = initiateIshibashiOrthogonalSpace(nullptr);
    EXPECT_EQ(count, 5);
    EXPECT_EQ(SBI.tagged[0], -1);
    {
        testsupport::Captured cap;
        EXPECT_EQ(checkIshibashiOrthogonalSpace(count), 1);
        EXPECT_EQ(cap.err(), "");
    }
    // The diagonal annuli of E6 boundaries lie in the space.
    const std::vector<std::vector<int>> annuli = {{1, 1, 0, 0, 0, 0, 0, 0, 1, 1, 0},
                                                  {1, 1, 0, 0, 2, 2, 0, 0, 3, 3, 0},
                                                  {0, 1, 0, 0, 1, 1, 0, 0, 2, 1, 0}};
    for (const std::vector<int>& A : annuli)
        for (int v = 0; v < count; v++) {
            double sum = 0.0;
            for (int j = 0; j < N; j++)
                sum += SBI.ImageVectors[v * N + j] * A[static_cast<std::size_t>(j)];
            EXPECT_NEAR(sum, 0.0, 1e-9);
        }
    // Weights choose the pivots, but never column 0 or a column of weight 0.
    std::vector<int> weights(static_cast<std::size_t>(N), 5);
    weights[0] = 1000;
    weights[10] = 0;
    EXPECT_EQ(initiateIshibashiOrthogonalSpace(weights.data()), 5);
    EXPECT_EQ(SBI.tagged[0], -1);
    EXPECT_EQ(SBI.tagged[10], -1);
}

// ---- The squeeze ----

struct SqueezeCase {
    int A0, A1; // the outer levels (Dynkin 0 and 2)
    int lo, hi; // the range of the level of Dynkin 1
};

// su(2)_2, diagonal pass: products S_0m sum_j A_j S_jm within [0, 1]. With A = (2, 3) the first
// label bounds the level by -0.707, which gives the maximum 0, not -1; the factor of the last
// label at that column is zero and does not count.
const std::vector<SqueezeCase> squeezeCases = {
    {0, 0, 0, 0}, {0, 2, 0, 1}, {1, 1, 0, 1}, {2, 0, 0, 1}, {2, 3, 1, 0}, {3, 3, 0, -1},
};

TEST_F(BoundarySearch, SqueezeKeepsCoefficientProductsInRange) {
    exceptional(1, 1, 2);
    ASSERT_EQ(fieldOf({2}), 1);
    ASSERT_EQ(fieldOf({1}), 2);
    initiateIshibashiOrthogonalSpace(nullptr);
    testCandidateBoundary(N, nullptr, &SBI);
    NimSqueeze(N, 0, nullptr, nullptr, nullptr, nullptr, nullptr, &SBI);
    int Min[3] = {0, 0, 0}, Max[3] = {3, 3, 3};
    for (const SqueezeCase& c : squeezeCases) {
        int Loop[3] = {c.A0, c.A1, 0};
        int lo = 99, hi = 99;
        NimSqueeze(N, 2, Loop, Min, Max, &lo, &hi, &SBI);
        EXPECT_EQ(lo, c.lo) << c.A0 << "," << c.A1;
        EXPECT_EQ(hi, c.hi) << c.A0 << "," << c.A1;
    }
}

TEST_F(BoundarySearch, SqueezeLeavesADeterminedLevelItsRange) {
    e6();
    initiateIshibashiOrthogonalSpace(nullptr);
    testCandidateBoundary(N, nullptr, &SBI);
    NimSqueeze(N, -1, nullptr, nullptr, nullptr, nullptr, nullptr, &SBI);
    int u = 0;
    while (u < N && SBI.tagged[u] == -1)
        u++;
    ASSERT_LT(u, N);
    std::vector<int> Min(static_cast<std::size_t>(N), 0), Max(static_cast<std::size_t>(N), 9),
        Loop(static_cast<std::size_t>(N), 1);
    Min[static_cast<std::size_t>(u)] = 2;
    Max[static_cast<std::size_t>(u)] = 5;
    int lo = 0, hi = 0;
    NimSqueeze(N, u, Loop.data(), Min.data(), Max.data(), &lo, &hi, &SBI);
    EXPECT_EQ(lo, 2);
    EXPECT_EQ(hi, 5);
}

// ---- Candidates ----

TEST_F(BoundarySearch, MoebiusOfTheOtherParityRejectsASignChoice) {
    exceptional(1, 2, 1);
    ASSERT_EQ(crossbound_internal::CrosscapStatus, 1);
    const Vector R = cardy(0);
    std::copy(R.begin(), R.begin() + 2 * N, SBI.Bound);
    // The sign choice of the boundary "try boundary 1,0,0" finds: (1, -1, -1) / sqrt 3.
    int sign[3] = {0, 1, 1};
    SBI.Annulus.X[0] = 1;
    SBI.Annulus.X[1] = SBI.Annulus.X[2] = 0;
    ASSERT_EQ(testCandidateMoebius(N, sign, &SBI), 1);
    const int M = std::abs(SBI.Moebius[0]);
    EXPECT_EQ(M, 1);
    EXPECT_EQ(BoundCandCount, 1);
    SBI.Annulus.X[0] = M + 1;
    EXPECT_EQ(testCandidateMoebius(N, sign, &SBI), 0);
    SBI.Annulus.X[0] = M + 2;
    EXPECT_EQ(testCandidateMoebius(N, sign, &SBI), 1);
    EXPECT_EQ(BoundCandCount, 1); // known already
}

TEST_F(BoundarySearch, AComplexCandidateWhoseConjugateIsStoredIsNotAdded) {
    exceptional(1, 2, 1);
    parameter("Orientifold") = 0;
    const Vector R1 = cardy(1), R2 = cardy(2);
    Vector unsignedR1(static_cast<std::size_t>(2 * N));
    copyToUnsigned(N, unsignedR1.data(), R1.data());
    EXPECT_EQ(addBoundaryCandidate(N, unsignedR1.data()), 0);
    EXPECT_EQ(addBoundaryCandidate(N, unsignedR1.data()), -1);
    Vector unsignedR2(static_cast<std::size_t>(2 * N));
    copyToUnsigned(N, unsignedR2.data(), R2.data());
    EXPECT_EQ(checkConjugatePresence(N, unsignedR2.data()), 1);
    EXPECT_EQ(addBoundaryCandidate(N, unsignedR2.data()), -1);
    EXPECT_EQ(BoundCandCount, 1);
}

TEST_F(BoundarySearch, AbsoluteMaximaAreTheQuantumDimensions) {
    exceptional(1, 1, 10);
    const int* mx = getAbsMax();
    for (int f = 0; f < N; f++) {
        const int j = dynkinOf(f);
        EXPECT_EQ(mx[f], static_cast<int>(su2S(10, 0, j) / su2S(10, 0, 0) + 1e-6)) << f;
    }
    EXPECT_EQ(mx[fieldOf({5})], 3); // sin(pi/2) / sin(pi/12) = 3.86
}

TEST_F(BoundarySearch, SingleVectorTestsAcceptCardyBoundaries) {
    exceptional(1, 1, 2);
    parameter("Orientifold") = 0;
    Vector R0 = cardy(0), R1 = cardy(1), vacuum(static_cast<std::size_t>(2 * N), 0.0);
    vacuum[0] = 1.0; // norm 1, but A_i = S_i0 / S_00 is not an integer for the field of Dynkin 1
    EXPECT_EQ(CheckNewBoundary(N, R0.data()), 1);
    EXPECT_EQ(CheckNewBoundary(N, vacuum.data()), 0);
    std::unique_ptr<BoundarySet> set;
    ASSERT_EQ(allocBoundarySet(N, 3, &set, 0), 0);
    set->Bound[0] = R0.data();
    set->Count = 1;
    EXPECT_EQ(CheckAdditionalBoundary(set.get(), R1.data()), 1);
    EXPECT_EQ(CheckAdditionalBoundary(set.get(), R0.data()), 0); // not orthogonal to itself
}

TEST_F(BoundarySearch, VectorsOffTheIshibashiSpaceGiveNoCandidate) {
    e6();
    for (const char* limits :
         {"0,0,0,0,0,0,0,0,0,0,0", "1,0,0,0,0,0,0,0,0,0,0", "0:1,0,0,0,0,0,0,0,0,0,0"}) {
        std::string text = limits;
        int added = -1;
        invtest::outputOf([&] { added = tryBoundary(text.data()); });
        EXPECT_EQ(added, 0) << limits;
    }
    EXPECT_EQ(BoundCandCount, 0);
}

TEST_F(BoundarySearch, PacingAsksAtTheIntervalAndCountsPastTwoToThe31) {
    const int loop[2] = {3, 4};
    LoopPacing p;
    last_CPU = -1000.0;
    {
        testsupport::Captured cap;
        for (int k = 0; k < 9; k++)
            EXPECT_TRUE(p.step("test", "Loop index: (total nr.: %lld; time %7.2f)\n", 2, loop));
        EXPECT_EQ(cap.out() + cap.err(), "");
    }
    {
        testsupport::Captured cap;
        EXPECT_TRUE(p.step("test", "Loop index: (total nr.: %lld; time %7.2f)\n", 2, loop));
        EXPECT_NE(cap.out().find("Loop index: (total nr.: 10;"), std::string::npos);
        EXPECT_NE(cap.out().find("(3,4)"), std::string::npos);
        EXPECT_NE((cap.out() + cap.err()).find("Continue?"), std::string::npos);
    }
    EXPECT_GE(last_CPU, 0.0);
    p.count = 2147483647LL;
    testsupport::Captured cap;
    p.step("test", "%lld %f", 2, loop);
    EXPECT_EQ(p.count, 2147483648LL);
    EXPECT_EQ(cap.err().find("Count overflow"), std::string::npos);
}

// ---- Combinations ----

TEST_F(BoundarySearch, PairwiseCompatibleCandidatesLeaveOnlyTheFullCombination) {
    exceptional(1, 1, 2);
    parameter("Orientifold") = 0;
    for (int a = 0; a < 3; a++)
        ASSERT_EQ(addBoundaryCandidate(N, cardy(a).data()), a);
    computeBoundaryOverlaps(N, 3);
    ASSERT_EQ(overlapSetCount(), 7); // 2^3 - 1
    int unmarked = 0;
    for (int r = 0; r < overlapSetCount(); r++)
        if (!overlapIsSubset(r)) {
            unmarked++;
            EXPECT_EQ(overlapLength(r), 3);
        }
    EXPECT_EQ(unmarked, 1);
}

TEST_F(BoundarySearch, AnIncompatibleCandidateFormsItsOwnCombination) {
    exceptional(1, 1, 2);
    parameter("Orientifold") = 0;
    Vector vacuum(static_cast<std::size_t>(2 * N), 0.0);
    vacuum[0] = 1.0; // overlaps every Cardy boundary at the vacuum, whatever the signs
    addBoundaryCandidate(N, cardy(0).data());
    addBoundaryCandidate(N, vacuum.data());
    computeBoundaryOverlaps(N, 2);
    EXPECT_EQ(candidatesCompatible(0, 1), 0);
    ASSERT_EQ(overlapSetCount(), 2);
    for (int r = 0; r < 2; r++) {
        EXPECT_EQ(overlapLength(r), 1);
        EXPECT_EQ(overlapIsSubset(r), 0);
        EXPECT_EQ(overlapSet(r)[0], r);
    }
}

// Eight pairwise compatible Cardy boundaries of su(2)_7 have 255 groups; the table keeps 199
// rows, each within the eight labels, and the assembly would go on.
TEST_F(BoundarySearch, AFullCombinationTableExtendsRowsInPlace) {
    exceptional(1, 1, 7);
    parameter("Orientifold") = 0;
    for (int a = 0; a < N; a++)
        ASSERT_EQ(addBoundaryCandidate(N, cardy(a).data()), a);
    testsupport::Captured cap;
    computeBoundaryOverlaps(N, N);
    EXPECT_NE(cap.err().find("Maximal number of boundary combinations reached"), std::string::npos);
    EXPECT_EQ(Capacity_exceeded, 1);
    EXPECT_EQ(overlapSetCount(), 199);
    for (int r = 0; r < overlapSetCount(); r++)
        EXPECT_LE(overlapLength(r), 8);
}

// ---- Growth of boundary sets ----

TEST_F(BoundarySearch, GrownSetIsFollowedByItsCopyWhichIsNotOffered) {
    exceptional(1, 1, 2);
    parameter("Orientifold") = 0;
    Sequence = 0;
    ASSERT_EQ(allocBoundarySet(N, 3, &firstBS, 1), 0);
    Vector R0 = cardy(0), negative = cardy(0);
    for (double& x : negative)
        x = -x;
    // An empty set takes no vector with a negative first component, and the offer ends there.
    EXPECT_EQ(addBoundarySolution(0, 0, negative.data(), &firstBS), 0);
    EXPECT_EQ(firstBS->Count, 0);
    EXPECT_EQ(listLength(), 1);
    EXPECT_EQ(addBoundarySolution(0, 0, R0.data(), &firstBS), 1);
    EXPECT_EQ(firstBS->Count, 1);
    EXPECT_EQ(firstBS->Bound[0], R0.data());
    ASSERT_EQ(listLength(), 2);
    const BoundarySet* copy = firstBS->next.get();
    EXPECT_EQ(copy->Count, 0);
    EXPECT_EQ(copy->isSubSet, 1);
    EXPECT_EQ(copy->sequence, 1);
    // The vector fixed the signs of its non-zero components in the grown set only.
    for (int p = 0; p < N; p++) {
        EXPECT_EQ(firstBS->signset[static_cast<std::size_t>(p)], 1);
        EXPECT_EQ(copy->signset[static_cast<std::size_t>(p)], 0);
    }
}

TEST_F(BoundarySearch, ASetNeverTakesMoreThanItsCapacity) {
    exceptional(1, 2, 1);
    parameter("Orientifold") = 0;
    Vector R0 = cardy(0), R1 = cardy(1);
    for (int capacity : {3, 4}) {
        std::unique_ptr<BoundarySet> set;
        ASSERT_EQ(allocBoundarySet(N, capacity, &set, 0), 0);
        set->Bound[0] = set->Bound[1] = R0.data();
        set->Count = 2;
        std::fill(set->signset.begin(), set->signset.end(), 1);
        // The complex R1 needs two places, for itself and its conjugate.
        EXPECT_EQ(addBoundarySolution(1, 1, R1.data(), &set), capacity == 4 ? 1 : 0);
        EXPECT_EQ(set->Count, capacity == 4 ? 4 : 2);
    }
}

TEST_F(BoundarySearch, ANewBulkGenerationStartsTheCandidatesAfresh) {
    e6();
    // The limits are cut into their entries, so each try gets its own copy.
    auto tryOn = [](std::string limits) {
        int added = 0;
        invtest::outputOf([&] { added = tryBoundary(limits.data()); });
        return added;
    };
    EXPECT_EQ(tryOn("1,1,0,0,0,0,0,0,1,1,0"), 1);
    EXPECT_EQ(tryOn("1,1,0,0,2,2,0,0,3,3,0"), 1);
    EXPECT_EQ(BoundCandCount, 2);
    invtest::outputOf([] { bulkInvariantChanged(); });
    EXPECT_EQ(tryOn("1,1,0,0,0,0,0,0,1,1,0"), 1);
    EXPECT_EQ(BoundCandCount, 1);
}

// Candidates of E6 (eleven primaries) cannot be read as vectors of su(3)_1 (three).
TEST_F(BoundarySearch, CandidatesOfAnotherTheoryAreNotAssembled) {
    e6();
    std::string limits = "1,1,0,0,0,0,0,0,1,1,0";
    invtest::outputOf([&] { tryBoundary(limits.data()); });
    ASSERT_EQ(BoundCandCount, 1);
    theory(1, 2, 1);
    invtest::outputOf([] { makeBulkExceptional(); });
    invtest::outputOf([] { EXPECT_EQ(initializeOpenString(), 0); });
    const auto [out, err] = invtest::outputOf([] { assembleBoundarySet(0); });
    EXPECT_EQ(out, "There are no boundary candidates; assembly is impossible\n");
    EXPECT_EQ(completeBS, nullptr);
}

// ---- "try boundary" ----

TEST_F(BoundarySearch, LimitEntriesAreReadOneByOne) {
    char text[] = "1,2,0:2,-3";
    int lo, hi;
    bool failed = false;
    const std::vector<std::pair<int, int>> expected = {{1, 1}, {2, 2}, {0, 2}, {-3, -3}};
    char* rest = text;
    for (const auto& [a, b] : expected) {
        ASSERT_NE(rest, nullptr);
        rest = getNextLimits(rest, &lo, &hi, &failed);
        EXPECT_FALSE(failed);
        EXPECT_EQ(lo, a);
        EXPECT_EQ(hi, b);
    }
    EXPECT_EQ(rest, nullptr);
}

TEST_F(BoundarySearch, MalformedLimitsAreRefusedBeforeAnySearch) {
    e6();
    const std::vector<std::pair<std::string, std::string>> cases = {
        {"1,1", "Too few entries"},
        {"1,1,0,0,0,0,0,0,1,1,0,0", "Too many entries"},
        {"1,0:x,0,0,0,0,0,0,0,0,0", "String x cannot be converted to a number"},
    };
    for (const auto& [limits, message] : cases) {
        std::string text = limits;
        testsupport::Captured cap;
        EXPECT_EQ(tryBoundary(text.data()), -1) << limits;
        EXPECT_NE(cap.err().find(message), std::string::npos) << limits << ": " << cap.err();
        EXPECT_EQ(BoundCandCount, 0);
    }
    std::string fine = "1,1,0,0,0,0,0,0,1,1,0";
    int added = -1;
    invtest::outputOf([&] { added = tryBoundary(fine.data()); });
    EXPECT_EQ(added, 1);
    BoundCandUse = 3;
    testsupport::Captured cap;
    EXPECT_EQ(tryBoundary(fine.data()), 0);
    EXPECT_NE(cap.err().find("not available for NIMrep searches"), std::string::npos);
}

} // namespace

// ---- Completion of incomplete sets ----

namespace {

// A set with room for room members holding members, every sign fixed.
std::unique_ptr<BoundarySet> setOf(int N, int room, const std::vector<double*>& members) {
    std::unique_ptr<BoundarySet> set;
    EXPECT_EQ(allocBoundarySet(N, room, &set, 0), 0);
    std::copy(members.begin(), members.end(), set->Bound.begin());
    set->Count = static_cast<int>(members.size());
    std::fill(set->signset.begin(), set->signset.end(), 1);
    return set;
}

} // namespace

TEST_F(BoundarySearch, CompletionEquationsDropRepeatsAndPinNegatedAnnuli) {
    exceptional(1, 1, 2);
    CompletionSystem& s = CompSystem;
    s.start(1);
    // Each row: real and imaginary coefficient, Moebius flag; then the system it leaves.
    struct Case {
        double re, im;
        int moebius;
        int count, minimum0, maximum0;
    };
    const Case cases[] = {
        {0.0, 0.0, 0, 0, 0, 0},   // zero: dropped
        {2.0, 0.0, 1, 1, -2, 2},  // a Moebius row ranges over -|E|..|E|
        {-2.0, 0.0, 1, 1, -2, 2}, // the negated Moebius row: dropped
        {2.0, 0.0, 0, 1, -2, 2},  // equal to a row of the system: dropped
        {-2.0, 0.0, 0, 1, 0, 2},  // negated annulus: the Moebius row takes its sign and bound 0
        {2.0, 0.0, 0, 1, 0, 0},   // negated of what is now an annulus row: pinned to 0
    };
    for (const Case& c : cases) {
        s.row(s.CompEqCount)[0] = c.re;
        s.row(s.CompEqCount)[1] = c.im;
        ProcessCompEq(1, c.moebius);
        EXPECT_EQ(s.CompEqCount, c.count) << c.re;
        EXPECT_EQ(s.CompMinima[0], c.minimum0) << c.re;
        EXPECT_EQ(s.CompMaxima[0], c.maximum0) << c.re;
    }
    EXPECT_DOUBLE_EQ(s.row(0)[0], -2.0);
    // Two annulus rows negated of each other: the value is 0.
    s.start(1);
    for (double re : {0.0, 1.5}) {
        s.row(s.CompEqCount)[0] = 1.5 - re;
        s.row(s.CompEqCount)[1] = 0.5;
        ProcessCompEq(1, 0);
    }
    s.row(s.CompEqCount)[0] = -1.5;
    s.row(s.CompEqCount)[1] = -0.5;
    ProcessCompEq(1, 0);
    EXPECT_EQ(s.CompEqCount, 2);
    EXPECT_EQ(s.CompMinima[0], 0);
    EXPECT_EQ(s.CompMaxima[0], 0);
    EXPECT_EQ(s.CompMaxima[1], 0); // |0.5 i| rounds down
}

TEST_F(BoundarySearch, CompletionFindsTheMissingCardyBoundary) {
    exceptional(1, 1, 2);
    parameter("Orientifold") = 0;
    Vector R0 = cardy(0), R1 = cardy(1), R2 = cardy(2);
    auto set = setOf(N, 3, {R0.data(), R1.data()});
    attempt_completion(3, set.get());
    ASSERT_EQ(BoundCandCount, 1);
    Vector expected(static_cast<std::size_t>(2 * N));
    copyToUnsigned(N, expected.data(), R2.data());
    for (int k = 0; k < 2 * N; k++)
        EXPECT_NEAR(boundaryCandidate(0)[k], expected[static_cast<std::size_t>(k)], 1e-9) << k;
    // The same completion again finds only the known candidate.
    attempt_completion(3, set.get());
    EXPECT_EQ(BoundCandCount, 1);
}

TEST_F(BoundarySearch, CompleteSetsSubsetsAndUnfixedSignsAreNotCompleted) {
    exceptional(1, 1, 2);
    parameter("Orientifold") = 0;
    Vector R0 = cardy(0), R1 = cardy(1), R2 = cardy(2);
    auto set = setOf(N, 3, {R0.data(), R1.data(), R2.data()});
    attempt_completion(3, set.get()); // m = 0
    set->Count = 2;
    set->isSubSet = 1;
    attempt_completion(3, set.get());
    set->isSubSet = 0;
    set->signset[0] = 0;
    attempt_completion(3, set.get());
    EXPECT_EQ(BoundCandCount, 0);
    EXPECT_EQ(set->Bound[2], R2.data());
}

TEST_F(BoundarySearch, AMissingIshibashiDirectionMakesCompletionImpossible) {
    exceptional(1, 1, 2);
    parameter("Orientifold") = 0;
    CompletionImpossible = 0;
    Vector R0 = cardy(0), R1 = cardy(1);
    // Room for four members in a theory of three Ishibashi labels.
    auto set = setOf(N, 4, {R0.data(), R1.data()});
    testsupport::Captured cap;
    attempt_completion(4, set.get());
    EXPECT_NE(cap.err().find("Cannot find orthogonal vector"), std::string::npos);
    EXPECT_EQ(CompletionImpossible, 1);
    EXPECT_EQ(BoundCandCount, 0);
}

// ---- Comparison of complete sets ----

TEST(BoundaryComparison, GradingSplitsAClassByItsValues) {
    std::vector<int> labels{0, 0, 1};
    const std::vector<int> values{5, 6, 6};
    AddGrading(3, labels.data(), values.data());
    EXPECT_EQ(labels, (std::vector<int>{0, 2, 2}));
    // Equal values keep a class together.
    std::vector<int> same{0, 0, 0};
    const std::vector<int> flat{4, 4, 4};
    AddGrading(3, same.data(), flat.data());
    EXPECT_EQ(same, (std::vector<int>{0, 0, 0}));
}

TEST(BoundaryComparison, AnExchangeOfTwoBoundariesIsFound) {
    // Three self-conjugate boundaries with equal diagonal annuli; A_1 joins boundary 2 to
    // boundary 0 in the first table and to boundary 1 in the second.
    AnnulusTable one, two;
    one.N = two.N = 2;
    one.L = two.L = 3;
    one.BC = two.BC = {0, 1, 2};
    const std::vector<int> identity{1, 0, 0, 0, 1, 0, 0, 0, 1};
    auto table = [&](int joined) {
        std::vector<int> A = identity;
        A.resize(18, 0);
        A[9 + joined * 3 + 2] = A[9 + 2 * 3 + joined] = 1;
        return A;
    };
    one.A = table(0);
    two.A = table(1);
    EXPECT_EQ(attemptBoundaryReorder(one, two), (std::vector<int>{1, 0, 2}));
    // A second table whose diagonal tells the boundaries apart admits no exchange.
    two.A[9] = 1;
    EXPECT_TRUE(attemptBoundaryReorder(one, two).empty());
}

TEST(BoundaryComparison, APrimaryNegatedThroughoutHasPhaseOneHalf) {
    // One boundary of two primaries, the second set negated at primary 1 and turned by a
    // quarter at primary 0.
    CompleteBoundarySet one, two;
    one.Nfield = two.Nfield = 2;
    one.Nbound = two.Nbound = 1;
    two.Number = 1;
    one.Bound = {0.6, 0.8, 0.0, 0.0};
    two.Bound = {0.0, -0.8, 0.6, 0.0};
    testsupport::Captured cap;
    compareBoundaryPhases(one, two, nullptr);
    EXPECT_NE(cap.out().find("    0                    0.2500000"), std::string::npos);
    EXPECT_NE(cap.out().find("    1                    0.5000000"), std::string::npos);
    EXPECT_EQ(cap.err().find("Inconsistent"), std::string::npos);
}

TEST(BoundaryComparison, RelativePhasesAreCountedInQuarterTurns) {
    int state = -1;
    EXPECT_EQ(getRelativePhase(&state, 0.0, 2.0, 1.0, 0.0), 0); // i: one quarter turn
    EXPECT_EQ(state, 1);
    EXPECT_EQ(getRelativePhase(&state, 0.0, -3.0, 0.0, 3.0), 1);  // -1: two
    EXPECT_EQ(getRelativePhase(&state, 1.0, 0.0, 0.0, -1.0), 0);  // 1 / -i = i: one
    EXPECT_EQ(getRelativePhase(&state, -1.0, 0.0, 0.0, -1.0), 1); // -1 / -i = -i: three
    EXPECT_EQ(getRelativePhase(&state, 1.0, 1.0, 0.0, 0.0), 0);   // zero reference
    int off = -2;
    EXPECT_EQ(getRelativePhase(&off, 0.0, 1.0, 1.0, 0.0), 0);
    EXPECT_EQ(off, -2);
    testsupport::Captured cap;
    EXPECT_EQ(getRelativePhase(&state, 1.0, 1.0, 1.0, 0.0), 2); // an eighth turn
    EXPECT_NE(cap.err().find("Unexpected relative phase"), std::string::npos);
}
