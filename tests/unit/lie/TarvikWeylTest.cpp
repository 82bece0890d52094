#include "lie/Tarvik.h"

#include "LieTestHelpers.h"
#include "base/Error.h"
#include "numeric/Sorting.h"

#include <gtest/gtest.h>

#include <climits>
#include <set>
#include <string>
#include <vector>

namespace {

using lietest::occurrences;
using lietest::reportsOf;

std::vector<int> row(const VectorSpace* s, int i, int size) {
    const int* r = s->Space + static_cast<long long>(s->rowsize) * i;
    return {r, r + size};
}

// Number of simple reflections in the word that leads from the identity to element i.
int wordLength(const VectorSpace* g, int rank, int i) {
    int n = 0;
    for (int e = i; e != 0; e = g->Space[static_cast<long long>(g->rowsize) * e + rank])
        n++;
    return n;
}

// Coefficients of prod_i (1 + q + ... + q^(d_i - 1)): the number of elements of each length.
std::vector<long long> poincarePolynomial(const std::vector<int>& degrees) {
    std::vector<long long> p{1};
    for (int d : degrees) {
        std::vector<long long> next(p.size() + d - 1, 0);
        for (std::size_t i = 0; i < p.size(); i++)
            for (int j = 0; j < d; j++)
                next[i + j] += p[i];
        p = next;
    }
    return p;
}

struct OrderCase {
    int type, rank;
    long long order;
};

TEST(TarvikWeyl, GroupOrdersAreExactIn64Bits) {
    const OrderCase cases[] = {
        {1, 1, 2},
        {1, 3, 24},
        {1, 12, 6227020800LL},          // 13!, past 32 bits
        {1, 19, 2432902008176640000LL}, // 20!
        {2, 2, 8},
        {2, 3, 48},
        {2, 10, 3715891200LL}, // 2^10 10!, negative when wrapped in 32 bits
        {3, 3, 48},
        {3, 4, 384},
        {4, 4, 192},
        {4, 5, 1920},
        {4, 8, 5160960},
        {5, 2, 12},
        {5, 4, 1152},
        {5, 6, 51840},
        {5, 7, 2903040},
        {5, 8, 696729600},
        {5, 5, -1},
        {5, 3, -1},
        {7, 2, -1},
        {13, 2, -1},
    };
    for (const OrderCase& c : cases) {
        long long order = 0;
        std::string out = reportsOf([&] { order = WeylGroupOrder(c.type, c.rank); });
        EXPECT_EQ(order, c.order) << c.type << "," << c.rank;
        EXPECT_EQ(out, "") << c.type << "," << c.rank;
    }
}

TEST(TarvikWeyl, OrderBeyond64BitsIsReportedNotWrapped) {
    long long order = 0;
    std::string out = reportsOf([&] { order = WeylGroupOrder(1, 20); }); // 21! > 2^63
    EXPECT_EQ(order, LLONG_MAX);
    EXPECT_EQ(occurrences(out, "Weyl group order too large"), 1);
    out = reportsOf([&] { order = WeylGroupOrder(2, 20); });
    EXPECT_EQ(order, LLONG_MAX);
    EXPECT_EQ(occurrences(out, "Weyl group order too large"), 1);
}

// s_i(rho) = rho - alpha_i, whose labels are column i of the Cartan matrix; every reflection is
// an involution in all three bases.
TEST(TarvikWeyl, SimpleReflectionsAreInvolutions) {
    for (const auto& alg : lietest::untwistedAlgebras()) {
        const int r = alg.rank;
        SCOPED_TRACE(alg.name);
        std::vector<int> v(r), w(r), back(r), scaled(r), twice(r);
        for (int i = 0; i < r; i++)
            v[i] = 3 * i - 2 + (i % 3);
        for (int root = 0; root < r; root++) {
            std::vector<int> rho(r, 1), image(r);
            WeylReflection(alg.type, r, rho.data(), image.data(), root);
            const int* cm = getCM();
            for (int i = 0; i < r; i++)
                EXPECT_EQ(image[i], 1 - cm[i + root * (r + 1)]);

            WeylReflection(alg.type, r, v.data(), w.data(), root);
            WeylReflection(alg.type, r, w.data(), back.data(), root);
            EXPECT_EQ(back, v);

            WeylReflectionInRootBasis(alg.type, r, v.data(), w.data(), root);
            WeylReflectionInRootBasis(alg.type, r, w.data(), back.data(), root);
            EXPECT_EQ(back, v);
            // The same reflection taken through Dynkin labels, scaled by MetricNorm.
            int norm = WeylReflectionInRootBasis2(alg.type, r, v.data(), scaled.data(), root);
            ASSERT_GT(norm, 0);
            for (int i = 0; i < r; i++)
                EXPECT_EQ(scaled[i], norm * w[i]);
        }
    }
}

TEST(TarvikWeyl, ReflectionMayOverwriteItsInput) {
    std::vector<int> v{2, 5};
    WeylReflection(1, 2, v.data(), v.data(), 0); // (2,5) - 2 (2,-1)
    EXPECT_EQ(v, (std::vector<int>{-2, 7}));
}

struct GroupCase {
    int type, rank;
    std::vector<int> degrees; // of the primitive invariants
};

// The enumerated group has the order of the table, its longest word has the number of positive
// roots as length, and the lengths are distributed as the Poincare polynomial says.
TEST(TarvikWeyl, EnumeratedGroupMatchesOrderAndLengths) {
    const GroupCase cases[] = {
        {1, 1, {2}},
        {1, 2, {2, 3}},
        {1, 4, {2, 3, 4, 5}},
        {2, 3, {2, 4, 6}},
        {3, 3, {2, 4, 6}},
        {4, 4, {2, 4, 6, 4}},
        {4, 5, {2, 4, 6, 8, 5}},
        {5, 2, {2, 6}},
        {5, 4, {2, 6, 8, 12}},
        {5, 6, {2, 5, 6, 8, 9, 12}},
    };
    for (const GroupCase& c : cases) {
        SCOPED_TRACE(testing::Message() << c.type << "," << c.rank);
        VectorSpace* g = initWeylGroup(c.type, c.rank);
        ASSERT_NE(g, nullptr);
        ASSERT_EQ(g->Nfill, WeylGroupOrder(c.type, c.rank));
        EXPECT_EQ(row(g, 0, c.rank + 2), [&] {
            std::vector<int> id(c.rank, 1);
            id.push_back(-1);
            id.push_back(-1);
            return id;
        }());
        std::vector<long long> counts;
        for (int i = 0; i < g->Nfill; i++) {
            std::size_t len = wordLength(g, c.rank, i);
            if (counts.size() <= len)
                counts.resize(len + 1, 0);
            counts[len]++;
        }
        EXPECT_EQ(counts, poincarePolynomial(c.degrees));
        int npos = 0;
        for (int d : c.degrees)
            npos += d - 1;
        PositiveRoots(c.type, c.rank);
        EXPECT_EQ(getNpos(), npos);
        EXPECT_EQ(static_cast<int>(counts.size()) - 1, npos);
    }
}

TEST(TarvikWeyl, GroupIsCachedPerAlgebra) {
    VectorSpace* a = initWeylGroup(2, 3);
    ASSERT_NE(a, nullptr);
    int* space = a->Space;
    EXPECT_EQ(initWeylGroup(2, 3)->Space, space);
    EXPECT_EQ(initWeylGroup(3, 3)->Nfill, 48);
    EXPECT_EQ(initWeylGroup(1, 3)->Nfill, 24);
}

TEST(TarvikWeyl, MultiplicationIsAGroupLaw) {
    const int t = 2, r = 3; // B3, 48 elements
    VectorSpace* g = initWeylGroup(t, r);
    ASSERT_NE(g, nullptr);
    const int n = g->Nfill;
    for (int b = 0; b < n; b++)
        EXPECT_EQ(WeylMultiply(t, r, 0, b), b);
    for (int a = 1; a < n; a++) {
        if (row(g, a, r + 1)[r] == 0) { // a simple reflection
            EXPECT_EQ(WeylMultiply(t, r, a, a), 0);
        }
    }
    for (int a = 0; a < n; a += 5) {
        int inverses = 0;
        for (int b = 0; b < n; b++) {
            int ab = WeylMultiply(t, r, a, b);
            ASSERT_GE(ab, 0);
            inverses += ab == 0;
            // The sign of an element is a homomorphism.
            EXPECT_EQ((wordLength(g, r, ab) + wordLength(g, r, a) + wordLength(g, r, b)) % 2, 0);
            for (int c = 0; c < n; c += 7)
                EXPECT_EQ(WeylMultiply(t, r, ab, c),
                          WeylMultiply(t, r, a, WeylMultiply(t, r, b, c)));
        }
        EXPECT_EQ(inverses, 1);
    }
}

TEST(TarvikWeyl, MultiplyRejectsElementsOutsideTheGroup) {
    int result = 0;
    std::string out = reportsOf([&] { result = WeylMultiply(1, 2, 0, 6); });
    EXPECT_EQ(result, -1);
    EXPECT_NE(out.find("Element not found"), std::string::npos);
}

struct OrbitCase {
    int type, rank;
    std::vector<int> weight;
    std::size_t distinct; // size of the Weyl orbit
};

TEST(TarvikWeyl, ReflectionsListTheOrbitOfAWeight) {
    const OrbitCase cases[] = {
        {1, 3, {1, 0, 0}, 4},           // the vector weights of A3
        {1, 3, {1, 0, 1}, 12},          // the roots of A3
        {5, 6, {1, 0, 0, 0, 0, 0}, 27}, // the 27 of E6 is minuscule
        {4, 4, {0, 1, 0, 0}, 24},       // the roots of D4
        {5, 2, {1, 0}, 6},              // the long roots of G2
        {3, 3, {0, 0, 0}, 1},
    };
    for (const OrbitCase& c : cases) {
        SCOPED_TRACE(testing::Message() << c.type << "," << c.rank);
        VectorSpace* list = WeylReflections(c.type, c.rank, c.weight.data());
        ASSERT_NE(list, nullptr);
        ASSERT_EQ(list->Nfill, WeylGroupOrder(c.type, c.rank));
        EXPECT_EQ(row(list, 0, c.rank), c.weight);
        std::set<std::vector<int>> images;
        for (int i = 0; i < list->Nfill; i++)
            images.insert(row(list, i, c.rank));
        EXPECT_EQ(images.size(), c.distinct);
    }
}

TEST(TarvikWeyl, ReflectionsOfRhoAreTheGroupRows) {
    std::vector<int> rho(4, 1);
    VectorSpace* list = WeylReflections(4, 4, rho.data());
    ASSERT_NE(list, nullptr);
    VectorSpace* g = initWeylGroup(4, 4);
    for (int i = 0; i < g->Nfill; i++)
        EXPECT_EQ(row(list, i, 4), row(g, i, 4));
}

TEST(TarvikWeyl, E8IsRefusedButE7IsWithinTheLimit) {
    resetError(); // the size report is shown once per run
    VectorSpace* g = reinterpret_cast<VectorSpace*>(1);
    std::string out = reportsOf([&] { g = initWeylGroup(5, 8); });
    EXPECT_EQ(g, nullptr);
    EXPECT_NE(out.find("Weyl group size too large (size 696729600, maximum 3000000)"),
              std::string::npos);
    std::vector<int> v(8, 0);
    EXPECT_EQ(WeylReflections(5, 8, v.data()), nullptr);
    EXPECT_EQ(WeylMultiply(5, 8, 0, 0), -1);
    EXPECT_LE(WeylGroupOrder(5, 7), 3000000);
}

// B10 has 3715891200 elements: a wrapped order would have slipped under the limit.
TEST(TarvikWeyl, LargeClassicalGroupsAreRefused) {
    resetError();
    VectorSpace* g = reinterpret_cast<VectorSpace*>(1);
    std::string out = reportsOf([&] { g = initWeylGroup(2, 10); });
    EXPECT_EQ(g, nullptr);
    EXPECT_NE(out.find("size 3715891200"), std::string::npos);
    EXPECT_EQ(initWeylGroup(1, 9), nullptr); // 10! = 3628800
    EXPECT_NE(initWeylGroup(1, 6), nullptr);
}

struct BoundaryCase {
    int type, rank;
    std::vector<int> extdyn; // affine label last
    long long multiplicity;
};

TEST(TarvikWeyl, BoundaryMultiplicityIsTheStabiliserOrder) {
    const BoundaryCase cases[] = {
        {1, 2, {0, 0, 3}, 6},
        {1, 2, {1, 1, 1}, 1},
        {1, 2, {0, 1, 0}, 6}, // nodes 0 and the affine node form A2
        {1, 2, {0, 1, 2}, 2},
        {2, 2, {0, 0, 1}, 8}, // B2
        {3, 3, {0, 0, 0, 2}, 48},
        {3, 2, {0, 1, 0}, 8}, // short node 0 with the affine node: C2
        {5, 2, {0, 0, 1}, 12},
        {5, 2, {0, 1, 0}, 6}, // long node with the affine node: A2
        {5, 4, {0, 0, 0, 0, 1}, 1152},
        {5, 6, {0, 0, 1, 0, 0, 0, 0}, 216}, // three A2 around the trivalent node
        {5, 8, {0, 0, 0, 0, 0, 0, 0, 0, 1}, 696729600},
        {5, 7, {0, 0, 0, 0, 0, 0, 0, 1}, 2903040},
        {4, 5, {0, 0, 0, 0, 0, 1}, 1920},
        {4, 4, {0, 1, 0, 0, 0}, 16}, // four A1 around the middle node
        {1, 12, {0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 1}, 6227020800LL},
    };
    for (const BoundaryCase& c : cases) {
        long long m = 0;
        std::string out =
            reportsOf([&] { m = WeylBoundaryMultiplicity(c.extdyn.data(), c.type, c.rank); });
        EXPECT_EQ(m, c.multiplicity) << c.type << "," << c.rank;
        EXPECT_EQ(out, "");
    }
}

TEST(TarvikWeyl, SubdiagramsAreRecognised) {
    Cartan(2, 2);
    const int b2[] = {0, 1};
    EXPECT_EQ(recognizeSubdiagram(b2, 2, 2), 8);
    EXPECT_EQ(recognizeSubdiagram(b2, 1, 2), 2);
    Cartan(5, 6);
    const int d5[] = {0, 1, 2, 3, 5};
    EXPECT_EQ(recognizeSubdiagram(d5, 5, 6), 1920);
    const int e6[] = {0, 1, 2, 3, 4, 5};
    EXPECT_EQ(recognizeSubdiagram(e6, 6, 6), 51840);
    Cartan(5, 4);
    const int f4[] = {0, 1, 2, 3};
    EXPECT_EQ(recognizeSubdiagram(f4, 4, 4), 1152);
}

// The affine A1 diagram (a doubled link) is no finite diagram.
TEST(TarvikWeyl, UnrecognisedDiagramIsReported) {
    Cartan(1, 1);
    const int nodes[] = {0, 1};
    long long order = 0;
    testing::internal::CaptureStdout();
    std::string err = reportsOf([&] { order = recognizeSubdiagram(nodes, 2, 1); });
    std::string out = testing::internal::GetCapturedStdout();
    EXPECT_EQ(order, -1);
    EXPECT_NE(err.find("Unrecognized Cartan matrix"), std::string::npos);
    EXPECT_NE(out.find("n6=2; n3=0; n2=0; c1=0; c2=2; c3=0; con[0]=-1;"), std::string::npos);
}

std::set<std::vector<int>> orbitSet(const int* rows, int fill, int rank) {
    std::set<std::vector<int>> s;
    for (int i = 0; i < fill; i++)
        s.insert(std::vector<int>(rows + i * rank, rows + (i + 1) * rank));
    return s;
}

TEST(TarvikWeyl, ParityOrbitsOfA2) {
    int fill = 0;
    const std::vector<int> zero{0, 0};
    const int* o = WeylParityOrbit(1, 2, zero.data(), &fill, 1);
    EXPECT_EQ(fill, 1);
    EXPECT_EQ(orbitSet(o, fill, 2), (std::set<std::vector<int>>{{0, 0}}));
    // The nonzero classes of the root lattice modulo 2 are the three positive roots.
    const std::vector<int> v{3, 0};
    const std::set<std::vector<int>> roots{{1, 0}, {0, 1}, {1, 1}};
    o = WeylParityOrbit(1, 2, v.data(), &fill, 1);
    EXPECT_EQ(orbitSet(o, fill, 2), roots);
    o = DynkinWeylParityOrbit(1, 2, v.data(), &fill);
    EXPECT_EQ(orbitSet(o, fill, 2), roots);
}

TEST(TarvikWeyl, ParityOrbitOverflowIsReported) {
    // The six roots of A2 stay distinct modulo 6, more than the 4 rows of room.
    const std::vector<int> v{1, 0};
    int fill = 0;
    const int* o = nullptr;
    std::string out = reportsOf([&] { o = WeylParityOrbit(1, 2, v.data(), &fill, 3); });
    EXPECT_NE(o, nullptr);
    EXPECT_EQ(fill, 5);
    EXPECT_EQ(occurrences(out, "orbit overflow"), 1);
}

TEST(TarvikWeyl, SignClassesAreOrbitMinima) {
    int fill = 0;
    const int* c = SignClasses(1, 2, &fill, 0);
    ASSERT_EQ(fill, 2);
    EXPECT_EQ(orbitSet(c, fill, 2), (std::set<std::vector<int>>{{0, 0}, {0, 1}}));
    c = DynkinSignClasses(1, 2, &fill);
    ASSERT_EQ(fill, 2);
    EXPECT_EQ(orbitSet(c, fill, 2), (std::set<std::vector<int>>{{0, 0}, {0, 1}}));
    // A1 shifted by its current: 2u + 1 modulo 4 is one orbit {1, 3}.
    c = SignClasses(1, 1, &fill, 1);
    ASSERT_EQ(fill, 1);
    EXPECT_EQ(c[0], 1);
}

// Each class of D3 modulo 2 is one orbit: the classes partition all 2^3 vectors.
TEST(TarvikWeyl, SignClassOrbitsPartitionTheVectors) {
    const int r = 3;
    int fill = 0;
    const int* c = SignClasses(4, r, &fill, 0);
    std::vector<std::vector<int>> reps;
    for (int i = 0; i < fill; i++)
        reps.emplace_back(c + i * r, c + (i + 1) * r);
    std::size_t total = 0;
    std::set<std::vector<int>> seen;
    for (const auto& rep : reps) {
        int n = 0;
        const int* o = WeylParityOrbit(4, r, rep.data(), &n, 1);
        auto s = orbitSet(o, n, r);
        EXPECT_EQ(*s.begin(), rep); // the least member represents the class
        total += s.size();
        seen.insert(s.begin(), s.end());
    }
    EXPECT_EQ(total, 8u);
    EXPECT_EQ(seen.size(), 8u);
}

TEST(TarvikWeyl, PositiveRootProductsCountEvenProducts) {
    // A2: the products of the coroot vector (1, 0) with the positive roots are 2, -1, 1; halved,
    // only the first divides and gives 1, which is odd.
    const std::vector<int> v{1, 0};
    // Cached roots leave GM as the last Cartan call built it; callers build A2 first.
    Cartan(1, 2);
    EXPECT_EQ(computePosRootProducts(1, 2, v.data(), 2, 1), 2 * 1 + 2);
    std::string out =
        reportsOf([&] { EXPECT_EQ(computePosRootProducts(1, 2, v.data(), 2, 2), 2 * 0 + 2); });
    EXPECT_EQ(occurrences(out, "Positive root not normalizable by order"), 2);
}

} // namespace
