// The store of complete boundary sets of exceptional invariants: the canonical order of boundary
// vectors, storing without duplicates, the numbering, the capacity of numbered sets and the
// loading of a stored set. The loaded set is checked against the E6 diagram: with psi_a^m the
// orthonormal eigenvectors of its adjacency matrix G (eigenvalue 2 cos(pi m / 12), m an exponent
// 1, 4, 5, 7, 8, 11) and R_{m,a} = psi_a^m on the Ishibashi primary of Dynkin label m - 1 of
// su(2) at level 10, the annulus of the fundamental field is
// sum_m S_1m/S_0m psi_a^m psi_b^m = G_ab, and that of the vacuum is delta_ab.
#include "CrossBoundTestHelpers.h"

#include "base/Error.h"
#include "boundary/CrossBoundSets.h"

#include <gtest/gtest.h>

#include <array>
#include <cmath>
#include <numbers>
#include <string>
#include <vector>

using namespace boundarytest;

namespace {

using Vector = std::vector<double>; // N real parts, then N imaginary parts

class BoundarySets : public BoundaryTest {
protected:
    void SetUp() override {
        BoundaryTest::SetUp();
        theory(1, 1, 10);
        clearStore();
    }
    void TearDown() override {
        clearStore();
        parameter("Boundary_search capacity") = 1;
        parameter("Boundary_search info_level") = 0;
        BoundaryTest::TearDown();
        own.clear();
    }
    static void clearStore() {
        freeBoundarySet(&firstBS);
        freeCompleteBoundarySet(&completeBS);
        Sequence = 0;
        Capacity_exceeded = 0;
    }
    // An unnumbered set whose members are the vectors given, which must outlive it.
    static std::unique_ptr<BoundarySet> setOf(std::vector<Vector>& members) {
        const int N = static_cast<int>(members.front().size() / 2);
        std::unique_ptr<BoundarySet> set;
        EXPECT_EQ(allocBoundarySet(N, static_cast<int>(members.size()), &set, 0), 0);
        for (Vector& v : members)
            set->Bound[static_cast<std::size_t>(set->Count++)] = v.data();
        return set;
    }
    // The outcome of storing, with what was printed.
    static std::pair<int, std::string> store(std::vector<Vector> members) {
        std::unique_ptr<BoundarySet> set = setOf(members);
        testsupport::Captured cap;
        const int stored = storeBoundarySet(set.get());
        return {stored, cap.out() + cap.err()};
    }
    BulkInvariant* keep(BulkInvariant* bi) {
        own.emplace_back(bi);
        return bi;
    }
    std::vector<std::unique_ptr<BulkInvariant>> own;
};

// ---- Canonical order ----

struct OrderCase {
    const char* name;
    Vector R1, R2;
    int expected; // 1: R1 first, -1: R2 first
};

// Vectors of three components.
const std::vector<OrderCase> orderCases = {
    {"fewer zero components first, despite larger moduli",
     {0.9, 0.9, 0, 0, 0, 0},
     {0.1, 0, 0, 0, 0, 0},
     1},
    {"an imaginary component is not zero", {0.1, 0, 0, 0, 0.1, 0}, {0.5, 0, 0, 0, 0, 0}, 1},
    {"smaller modulus at the first difference", {0.3, 0.9, 0, 0, 0, 0}, {0.4, 0.1, 0, 0, 0, 0}, 1},
    {"moduli are not signs", {-0.5, 0.2, 0, 0, 0, 0}, {0.4, 0.2, 0, 0, 0, 0}, -1},
    {"moduli compared without tolerance",
     {0.5 + 1e-12, 0.2, 0, 0, 0, 0},
     {0.5, 0.2, 0, 0, 0, 0},
     -1},
    {"real before complex of equal moduli", {0, 0.8, 0, 0.6, 0, 0}, {0.6, 0.8, 0, 0, 0, 0}, -1},
    {"positive difference first", {0.6, 0.8, 0, 0, 0, 0}, {0.6, -0.8, 0, 0, 0, 0}, 1},
    {"the first component that differs decides",
     {-0.6, 0.8, 0, 0, 0, 0},
     {0.6, -0.8, 0, 0, 0, 0},
     -1},
    {"imaginary difference with zero real part",
     {0.6, 0, 0, 0, 0.8, 0},
     {0.6, 0, 0, 0, -0.8, 0},
     1},
};

TEST_F(BoundarySets, CanonicalOrderOfTwoVectors) {
    for (const OrderCase& c : orderCases) {
        testsupport::Captured cap;
        EXPECT_EQ(compareBoundaryVectors(3, c.R1.data(), c.R2.data()), c.expected) << c.name;
        EXPECT_EQ(compareBoundaryVectors(3, c.R2.data(), c.R1.data()), -c.expected) << c.name;
        EXPECT_EQ(cap.err(), "") << c.name;
    }
}

TEST_F(BoundarySets, IdenticalVectorsAreReported) {
    const Vector R = {0.6, 0.8, 0, 0, 0.1, 0};
    testsupport::Captured cap;
    EXPECT_EQ(compareBoundaryVectors(3, R.data(), R.data()), 0);
    EXPECT_NE(cap.err().find("Unexpected identical boundary vectors in set"), std::string::npos);
}

// ---- Storing ----

const Vector one = {0.1, 0, 0, 0, 0, 0};        // one non-zero component: last
const Vector twoLarge = {0.9, 0.9, 0, 0, 0, 0}; // two, larger moduli
const Vector twoSmall = {0.3, 0.9, 0, 0, 0, 0}; // two, smaller first modulus: first

TEST_F(BoundarySets, StoredRowsAreInCanonicalOrder) {
    const auto [stored, said] = store({one, twoLarge, twoSmall});
    EXPECT_EQ(stored, 1);
    EXPECT_EQ(said, "Complete boundary set nr. 0 stored\n");
    ASSERT_TRUE(completeBS);
    EXPECT_EQ(completeBS->Number, 0);
    std::vector<Vector> rows;
    for (int r = 0; r < 3; r++)
        rows.emplace_back(completeBS->Bound.begin() + 6 * r, completeBS->Bound.begin() + 6 * r + 6);
    EXPECT_EQ(rows, (std::vector<Vector>{twoSmall, twoLarge, one}));
}

TEST_F(BoundarySets, ASetStoredAgainOrPermutedIsStoredOnceSilently) {
    ASSERT_EQ(store({one, twoLarge, twoSmall}).first, 1);
    for (const std::vector<Vector>& again :
         {std::vector<Vector>{one, twoLarge, twoSmall}, {twoSmall, one, twoLarge}}) {
        const auto [stored, said] = store(again);
        EXPECT_EQ(stored, 0);
        EXPECT_EQ(said, "");
    }
    EXPECT_FALSE(completeBS->next);
}

TEST_F(BoundarySets, SetsAreNumberedFromZeroWithTheNewestAtTheHead) {
    EXPECT_EQ(store({one, twoLarge}).second, "Complete boundary set nr. 0 stored\n");
    // Within the tolerance of equal sets a member still differs when it is 1e-6 away.
    Vector near = one;
    near[0] += 1e-6;
    EXPECT_EQ(store({near, twoLarge}).second, "Complete boundary set nr. 1 stored\n");
    ASSERT_TRUE(completeBS && completeBS->next);
    EXPECT_EQ(completeBS->Number, 1);
    EXPECT_EQ(completeBS->next->Number, 0);
    EXPECT_FALSE(completeBS->next->next);
}

// Capacity 1: numbers 0 to 200 are made, the 202nd set and every later one is refused while the
// counter goes on.
TEST_F(BoundarySets, CapacityRefusesThe202ndNumberedSet) {
    parameter("Boundary_search capacity") = 1;
    for (int k = 0; k <= 200; k++) {
        std::unique_ptr<BoundarySet> set;
        ASSERT_EQ(allocBoundarySet(11, 6, &set, 1), 0) << k;
        EXPECT_EQ(set->sequence, k);
    }
    EXPECT_EQ(Capacity_exceeded, 0);
    ErrorType* site = getError("allocBoundarySet", 0);
    for (int k = 201; k <= 203; k++) {
        std::unique_ptr<BoundarySet> set;
        testsupport::Captured cap;
        const int before = site->count;
        site->RepRate = 1; // shown again
        EXPECT_EQ(allocBoundarySet(11, 6, &set, 1), 1) << k;
        EXPECT_FALSE(set);
        EXPECT_EQ(site->count, before + 1);
        EXPECT_NE(cap.err().find("Maximal number of boundary sets reached"), std::string::npos);
        EXPECT_EQ(Sequence, k + 1);
    }
    EXPECT_EQ(Capacity_exceeded, 1);
    // An unnumbered set is not counted.
    std::unique_ptr<BoundarySet> set;
    EXPECT_EQ(allocBoundarySet(11, 6, &set, 0), 0);
    EXPECT_EQ(set->sequence, -1);
}

// ---- The E6 set ----

constexpr int nodes = 6;
using Square = std::array<std::array<double, nodes>, nodes>;

// The E6 diagram: the chain 0-1-2-3-4 with node 5 on node 2.
Square e6Adjacency() {
    Square G{};
    for (auto [a, b] : {std::pair{0, 1}, {1, 2}, {2, 3}, {3, 4}, {2, 5}})
        G[a][b] = G[b][a] = 1;
    return G;
}

// Eigenvalues and orthonormal eigenvectors (columns of V) of a symmetric matrix by Jacobi
// rotations.
void jacobiEigen(Square A, std::array<double, nodes>& values, Square& V) {
    V = Square{};
    for (int i = 0; i < nodes; i++)
        V[i][i] = 1;
    for (int sweep = 0; sweep < 50; sweep++)
        for (int p = 0; p < nodes; p++)
            for (int q = p + 1; q < nodes; q++) {
                if (std::abs(A[p][q]) < 1e-15)
                    continue;
                const double theta = (A[q][q] - A[p][p]) / (2 * A[p][q]);
                const double t =
                    (theta >= 0 ? 1 : -1) / (std::abs(theta) + std::sqrt(theta * theta + 1));
                const double c = 1 / std::sqrt(t * t + 1), s = t * c;
                for (int k = 0; k < nodes; k++) {
                    const double akp = A[k][p], akq = A[k][q];
                    A[k][p] = c * akp - s * akq;
                    A[k][q] = s * akp + c * akq;
                }
                for (int k = 0; k < nodes; k++) {
                    const double apk = A[p][k], aqk = A[q][k];
                    A[p][k] = c * apk - s * aqk;
                    A[q][k] = s * apk + c * aqk;
                }
                for (int k = 0; k < nodes; k++) {
                    const double vkp = V[k][p], vkq = V[k][q];
                    V[k][p] = c * vkp - s * vkq;
                    V[k][q] = s * vkp + c * vkq;
                }
            }
    for (int i = 0; i < nodes; i++)
        values[static_cast<std::size_t>(i)] = A[i][i];
}

// Boundary a of the E6 set: R_{m,a} = psi_a^m on the field of Dynkin label m - 1.
std::vector<Vector> e6Boundaries(int N, int (*fieldOfDynkin)(int)) {
    std::array<double, nodes> values;
    Square V;
    jacobiEigen(e6Adjacency(), values, V);
    std::vector<Vector> R(nodes, Vector(static_cast<std::size_t>(2 * N), 0.0));
    for (int e = 0; e < nodes; e++) {
        int exponent = -1;
        for (int m : {1, 4, 5, 7, 8, 11})
            if (std::abs(values[static_cast<std::size_t>(e)] -
                         2 * std::cos(std::numbers::pi * m / 12)) < 1e-9)
                exponent = m;
        EXPECT_NE(exponent, -1) << "eigenvalue " << values[static_cast<std::size_t>(e)];
        if (exponent < 0)
            continue;
        const int field = fieldOfDynkin(exponent - 1);
        for (int a = 0; a < nodes; a++)
            R[static_cast<std::size_t>(a)][static_cast<std::size_t>(field)] = V[a][e];
    }
    return R;
}

// The E6 invariant made current and its set stored, node 5 first so that the store has
// something to order; the boundaries by node.
class E6Set : public BoundarySets {
protected:
    void SetUp() override {
        BoundarySets::SetUp();
        E6 = keep(invtest::fromMatrix(su2E6Matrix()).release());
        makeCurrent(E6);
        ASSERT_EQ(TotalIshibashi(), 6);
        N = getTotalPrimaries();
        R = e6Boundaries(N, [](int d) { return fieldOf({d}); });
        std::vector<Vector> members{R[5], R[0], R[1], R[2], R[3], R[4]};
        std::unique_ptr<BoundarySet> set = setOf(members);
        testsupport::Captured cap;
        ASSERT_EQ(storeBoundarySet(set.get()), 1);
    }
    BulkInvariant* E6 = nullptr;
    int N = 0;
    std::vector<Vector> R;
};

TEST_F(E6Set, LoadedSetHasTheE6DiagramAsFundamentalAnnulus) {
    {
        testsupport::Captured cap;
        EXPECT_EQ(selectBoundary(1, 0), 0);
        EXPECT_EQ(selectBoundary(0, 0), 1);
        EXPECT_EQ(cap.out(), "Boundary set 0 loaded\n");
        EXPECT_EQ(cap.err(), "");
    }
    EXPECT_EQ(E6->EDT->BoundariesLoaded, 1);
    // Row a of the store is the diagram's node node[a].
    std::array<int, nodes> node{};
    for (int a = 0; a < nodes; a++) {
        node[static_cast<std::size_t>(a)] = -1;
        const double* row = completeBS->Bound.data() + static_cast<std::size_t>(a * 2 * N);
        for (int b = 0; b < nodes; b++)
            if (compareDoubleVec(2 * N, row, R[static_cast<std::size_t>(b)].data()))
                node[static_cast<std::size_t>(a)] = b;
        ASSERT_NE(node[static_cast<std::size_t>(a)], -1) << "row " << a;
    }
    const Square G = e6Adjacency();
    const int fundamental = fieldOf({1});
    for (int a = 0; a < nodes; a++)
        for (int b = 0; b < nodes; b++) {
            EXPECT_EQ(getOrientedAnnulus(fundamental, a, b),
                      G[node[static_cast<std::size_t>(a)]][node[static_cast<std::size_t>(b)]])
                << a << "," << b;
            EXPECT_EQ(getOrientedAnnulus(0, a, b), a == b ? 1 : 0) << a << "," << b;
        }
}

TEST_F(E6Set, QuietLoadingIsSilentAndAMissingNumberChangesNothing) {
    parameter("Boundary_search info_level") = 2;
    testsupport::Captured cap;
    EXPECT_EQ(selectBoundary(3, 1), 0);
    EXPECT_EQ(E6->EDT->BoundariesLoaded, 0);
    EXPECT_EQ(selectBoundary(0, 1), 1);
    EXPECT_EQ(E6->EDT->BoundariesLoaded, 1);
    EXPECT_EQ(cap.out(), "");
    EXPECT_EQ(cap.err(), "");
}

} // namespace
