// Representation rows of the open-string matter: the split of diagonal sectors into symmetric
// and antisymmetric tensors, adjoints, bifundamentals with their chirality, the hypermultiplet
// test and the ordering of rows.
#include "TestSupport.h"

#include "numeric/Sorting.h"
#include "string/OpenSpectrum.h"

#include <gtest/gtest.h>

#include <map>
#include <string>
#include <vector>

namespace {

// A row as a test reads it: codes, chirality and multiplicity.
struct Row {
    std::vector<int> codes;
    int chirality;
    int mult;
    bool operator==(const Row&) const = default;
};

// One collection for every test, emptied by each set-up.
VectorSpace reps = declareVectorSpace("test rows", 10);

class Collect : public ::testing::Test {
protected:
    static constexpr int Nact = 3;

    void SetUp() override { initRepresentationCollection(&reps, Nact); }

    std::vector<Row> rows() {
        std::vector<Row> out;
        for (int r = 0; r < reps.Nfill; r++) {
            const int* v = reps.Space + static_cast<long long>(reps.rowsize) * r;
            out.push_back({std::vector<int>(v, v + Nact), v[Nact], v[Nact + 1]});
        }
        return out;
    }
    // The row with these codes; a failure when there is none.
    Row find(const std::vector<int>& codes) {
        for (const Row& r : rows())
            if (r.codes == codes)
                return r;
        ADD_FAILURE() << "no such row";
        return {};
    }
};

// (A + M)/2 symmetric and (A - M)/2 antisymmetric tensors, each with multiplicity w per state.
TEST_F(Collect, DiagonalSectorSplitsIntoTensors) {
    struct Case {
        int A, M;
        int sym, anti; // expected multiplicities, in units of w
    };
    const int w = 3;
    for (const Case& c : {Case{3, 1, 2, 1}, Case{4, 0, 2, 2}, Case{2, 2, 2, 0}, Case{2, -2, 0, 2},
                          Case{1, 1, 1, 0}, Case{5, -3, 1, 4}}) {
        SetUp();
        CollectRep1(&reps, 1, Nact, c.A, c.M, w, 0, 0);
        std::map<int, int> byCode;
        for (const Row& r : rows()) {
            EXPECT_EQ(r.codes[0], 0);
            EXPECT_EQ(r.codes[2], 0);
            EXPECT_EQ(r.chirality, 0);
            byCode[r.codes[1]] += r.mult;
        }
        std::map<int, int> expected;
        if (c.sym > 0)
            expected[2] = c.sym * w;
        if (c.anti > 0)
            expected[3] = c.anti * w;
        EXPECT_EQ(byCode, expected) << "A=" << c.A << " M=" << c.M;
    }
}

// The chirality follows the stack sign; a stack and its image cancel in the net chirality.
TEST_F(Collect, ChiralityFollowsTheStackSign) {
    CollectRep1(&reps, 0, Nact, 3, 1, 1, 4, 0);
    CollectRep1(&reps, 0, Nact, 1, 1, 1, -4, 0);
    EXPECT_EQ(find({2, 0, 0}), (Row{{2, 0, 0}, 2 - 1, 3}));
    EXPECT_EQ(find({3, 0, 0}), (Row{{3, 0, 0}, 1, 1}));
}

TEST_F(Collect, AdjointSectorGivesOneAdjointRowWithoutChirality) {
    CollectRep1(&reps, 2, Nact, 2, 0, 5, 0, 1);
    ASSERT_EQ(rows().size(), 1u);
    EXPECT_EQ(rows()[0], (Row{{0, 0, 4}, 0, 10}));
}

// An odd A - M cannot be halved exactly; collecting ends all the same, with the halves that
// integer division gives.
TEST_F(Collect, OddParitySectorEnds) {
    CollectRep1(&reps, 0, Nact, 2, 1, 1, 0, 0);
    EXPECT_EQ(rows(), (std::vector<Row>{{{2, 0, 0}, 0, 1}}));
    SetUp();
    CollectRep1(&reps, 0, Nact, 7, 0, 1, 0, 0);
    EXPECT_EQ(find({2, 0, 0}).mult, 3);
    EXPECT_EQ(find({3, 0, 0}).mult, 3);
}

TEST_F(Collect, UnknownSectorIsReportedAndKeptAsSinglet) {
    testsupport::Captured cap;
    CollectRep1(&reps, 0, Nact, 1, 0, 2, 0, 0);
    EXPECT_NE((cap.out() + cap.err()).find("Unknown representation: Annulus=1,Moebius=0"),
              std::string::npos);
    EXPECT_EQ(rows(), (std::vector<Row>{{{0, 0, 0}, 0, 2}}));
}

// Stacks 2 and 0 with signs -3 and 5: stored on the lower stack first, conjugated on the later
// one since the signs differ, chirality from the lower stack's sign.
TEST_F(Collect, BifundamentalOrdersItsStacks) {
    CollectRep2(&reps, Nact, 2, 0, 3, 2, -3, 5);
    CollectRep2(&reps, Nact, 1, 2, 1, 1, 0, -2);
    CollectRep2(&reps, Nact, 0, 1, 1, 1, -1, -1);
    EXPECT_EQ(find({1, 0, -1}), (Row{{1, 0, -1}, 6, 6}));
    EXPECT_EQ(find({0, 1, 1}), (Row{{0, 1, 1}, -1, 1})) << "a zero sign takes the other's";
    EXPECT_EQ(find({1, 1, 0}), (Row{{1, 1, 0}, -1, 1}));
}

TEST_F(Collect, HypermultipletTest) {
    const int unitary[Nact] = {0, 0, 0};
    struct Case {
        int mult, chirality;
        int result, even;
        const char* message;
    };
    for (const Case& c : {Case{2, 1, 0, 1, "Non-integer multiplicity for hyper multiplet"},
                          Case{3, 0, 0, 0, "Odd multiplicity for hyper multiplet"},
                          Case{4, 0, 1, 1, nullptr}, Case{2, 0, 1, 0, nullptr}}) {
        SetUp();
        CollectRep2(&reps, Nact, 0, 1, c.mult, 1, 0, 0);
        int* v = reps.Space;
        v[Nact] = c.chirality;
        int even = 1;
        testsupport::Captured cap;
        EXPECT_EQ(checkHypermultiplet(&reps, unitary, &even), c.result) << c.mult;
        EXPECT_EQ(even, c.even) << c.mult;
        if (c.message) {
            EXPECT_NE((cap.out() + cap.err()).find(c.message), std::string::npos);
        }
    }
}

TEST_F(Collect, ComplexityDependsOnTheGroupTypes) {
    const int row[Nact] = {1, -1, 0};
    const int unitary[Nact] = {0, 0, 0}, real[Nact] = {1, -1, 0};
    EXPECT_EQ(ComplexRepresentation(Nact, row, unitary), 1);
    EXPECT_EQ(ComplexRepresentation(Nact, row, real), 0);
    const int adjoint[Nact] = {4, 0, 0};
    EXPECT_EQ(ComplexRepresentation(Nact, adjoint, unitary), 0);
}

// Rows on the fixed stacks first, larger chiralities first; chiralities above 21 on a fixed
// stack give weights beyond 32 bits, which must still order correctly.
TEST_F(Collect, OrderingPutsFixedStacksAndLargeChiralitiesFirst) {
    const int Nfix = 1;
    struct Entry {
        std::vector<int> codes;
        int chirality;
    };
    const std::vector<Entry> entries{
        {{0, 1, 1}, 40}, {{1, 1, 0}, 20}, {{1, 0, 1}, 30}, {{1, 0, -1}, 25}, {{0, 0, 4}, 0}};
    for (const Entry& e : entries) {
        int* v = reps.Space + static_cast<long long>(reps.rowsize) * reps.Nfill;
        std::copy(e.codes.begin(), e.codes.end(), v);
        v[Nact] = e.chirality;
        addToCountedCollection(&reps, 1);
    }
    const int* order = orderReps(&reps, Nfix);
    std::vector<int> chiralities;
    for (int r = 0; r < reps.Nfill; r++)
        chiralities.push_back(reps.Space[static_cast<long long>(reps.rowsize) * order[r] + Nact]);
    EXPECT_EQ(chiralities, (std::vector<int>{30, 25, 20, 40, 0}));
    EXPECT_GT(getRepresentationWeight(Nact + 1, Nfix, std::vector<int>{1, 0, 1, 30}.data()),
              std::int64_t{1} << 31);
}

} // namespace

namespace {

std::string printed(const std::vector<int>& row, const std::vector<int>& types, int hyper,
                    int even) {
    testsupport::Captured cap;
    printRepVeca(static_cast<int>(types.size()), row.data(), types.data(), hyper, even, 2);
    return cap.out();
}

// A line counts states: plainly with its chirality, or as hypermultiplets, where a complex row
// and its conjugate make one (a quarter of the half-hypermultiplets when they pair up).
TEST(RepresentationLine, HypermultipletCounts) {
    const std::vector<int> unitary{0, 0, 1}, real{1, -1, 1};
    const std::vector<int> row{1, -1, 0, /*chirality*/ 2, /*multiplicity*/ 8};
    EXPECT_EQ(printed(row, unitary, 0, 0), "   8 x ( V ,V*,0 ) chirality 2\n");
    EXPECT_EQ(printed(row, unitary, 1, 1), "   2 x ( V ,V*,0 )  + c.c.\n");
    EXPECT_EQ(printed(row, unitary, 1, 0), "   4 x ( V ,V*,0 )  + c.c.\n");
    EXPECT_EQ(printed(row, real, 1, 1), "   4 x ( V ,V*,0 )\n");
    EXPECT_EQ(printed(row, real, 1, 0), "   8 x ( V ,V*,0 )\n");
    const std::vector<int> tensors{2, 3, 4, 0, 12};
    EXPECT_EQ(printed(tensors, unitary, 0, 0), "  12 x ( S ,A ,Ad) chirality 0\n");
}

} // namespace
