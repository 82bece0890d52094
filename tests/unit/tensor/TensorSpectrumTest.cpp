// The spectrum of the extended tensor product against spectra known from conformal embeddings
// and cosets: A1 at level k = 4m extended by its current (the D-series of su(2)), su(3)_3 ->
// so(8)_1, (A1_2)^2 -> su(4)_1, (A1_1)^4 -> so(8)_1, and the Ising model as A1_1 x A1_1 / A1_2.
// Then the order of the rows, the numbering of the simple currents as group elements, the limit
// "Max_primaries", the massless and simple-current passes and the graded pass.
#include "TensorTestHelpers.h"

#include "numeric/Discrete.h"
#include "tensor/Coset.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <numeric>
#include <string>
#include <utility>
#include <vector>

using namespace tensortest;

namespace {

using V = std::vector<int>;
using Weight = std::pair<int, int>; // numerator, denominator, reduced

Weight reduced(long long p, long long q) {
    const long long g = std::gcd(p, q);
    return {static_cast<int>(p / g), static_cast<int>(q / g)};
}

std::vector<Weight> sortedWeights(TensorProduct* TP) {
    std::vector<Weight> w;
    for (int r = 0; r < *NumberOfTensorPrimaries(TP); r++) {
        rat h;
        TensorRatWeight(TP, TensorField(TP, r), &h);
        w.push_back(reduced(h.num, h.den));
    }
    std::sort(w.begin(), w.end(), [](const Weight& a, const Weight& b) {
        return static_cast<long long>(a.first) * b.second <
               static_cast<long long>(b.first) * a.second;
    });
    return w;
}

std::vector<Weight> weights(std::vector<Weight> w) {
    for (Weight& x : w)
        x = reduced(x.first, x.second);
    return w;
}

// The D-series of su(2) at level k = 4m: the even labels below k/2 once, k/2 resolved into two,
// h = l(l+2) / 4(k+2).
std::vector<Weight> dSeries(int k) {
    std::vector<Weight> w;
    for (int l = 0; l < k / 2; l += 2)
        w.push_back(reduced(l * (l + 2), 4 * (k + 2)));
    const int l = k / 2;
    w.push_back(reduced(l * (l + 2), 4 * (k + 2)));
    w.push_back(reduced(l * (l + 2), 4 * (k + 2)));
    return w;
}

class SpectrumTest : public TensorTest {
protected:
    void TearDown() override {
        setIntPar("Max_primaries", 2000000000);
        TensorTest::TearDown();
    }
    void add(const V& current) { ASSERT_EQ(addNewCurrent(TP, current.data()), 0); }
    V field(int r) {
        const int* f = TensorField(TP, r);
        return V(f, f + TP->NTensor + 1);
    }
    int rows() { return *NumberOfTensorPrimaries(TP); }
    // Field i is element i of the simple-current group.
    void expectGroupNumbering() {
        const int n = TP->TensorSimpleCurrentOrder;
        ASSERT_NE(TP->SimpleCurrents, nullptr);
        ASSERT_EQ(TP->SimpleCurrents->Order, n);
        for (int i = 0; i < n; i++)
            for (int j = 0; j < n; j++)
                ASSERT_EQ(simpleCurrentProduct(i, j, TP), DG_product(i, j, TP->SimpleCurrents))
                    << i << " x " << j;
    }
};

TEST_F(SpectrumTest, DSeriesOfSu2) {
    for (int k : {4, 8, 12, 16, 28}) {
        resetCoset(TP);
        addTensorFactor(TP, block(1, 1, k), 0);
        add({1});
        ASSERT_EQ(computeTensorSpectrum(TP), 0) << k;
        EXPECT_EQ(rows(), k / 4 + 2) << k;
        EXPECT_EQ(TP->TensorSimpleCurrentOrder, 1) << k;
        EXPECT_EQ(sortedWeights(TP), dSeries(k)) << k;
        EXPECT_EQ(TP->InputDataChanged, 0);
    }
    // The values the closed form gives at k = 16.
    EXPECT_EQ(dSeries(16), weights({{0, 1}, {1, 9}, {1, 3}, {2, 3}, {10, 9}, {10, 9}}));
}

struct Embedding {
    const char* name;
    std::vector<std::pair<int, int>> factors; // rank, level of type A
    V current;
    std::vector<Weight> weights;
    int simpleCurrents;
};

TEST_F(SpectrumTest, ConformalEmbeddings) {
    const Embedding cases[] = {
        {"su(3)_3 -> so(8)_1", {{2, 3}}, {1}, {{0, 1}, {1, 2}, {1, 2}, {1, 2}}, 1},
        {"(A1_2)^2 -> su(4)_1", {{1, 2}, {1, 2}}, {1, 1}, {{0, 1}, {3, 8}, {3, 8}, {1, 2}}, 2},
        {"(A1_1)^4 -> so(8)_1",
         {{1, 1}, {1, 1}, {1, 1}, {1, 1}},
         {1, 1, 1, 1},
         {{0, 1}, {1, 2}, {1, 2}, {1, 2}},
         4},
    };
    for (const Embedding& c : cases) {
        resetCoset(TP);
        for (auto [rank, level] : c.factors)
            addTensorFactor(TP, block(1, rank, level), 0);
        add(c.current);
        ASSERT_EQ(computeTensorSpectrum(TP), 0) << c.name;
        EXPECT_EQ(sortedWeights(TP), weights(c.weights)) << c.name;
        EXPECT_EQ(TP->TensorSimpleCurrentOrder, c.simpleCurrents) << c.name;
        EXPECT_EQ(TP->genuineCoset, 0);
        expectGroupNumbering();
    }
}

// A1_1 x A1_1 / A1_2 with (J, J, J), of weight 1/4 + 1/4 - 1/2 = 0: the Ising model, its weights
// known modulo 1.
TEST_F(SpectrumTest, IsingAsACoset) {
    SpectrumData* k1 = block(1, 1, 1);
    addFactors(TP, {k1, k1});
    addTensorFactor(TP, block(1, 1, 2), 1);
    add({1, 1, 1});
    ASSERT_EQ(computeTensorSpectrum(TP), 0);
    EXPECT_EQ(TP->genuineCoset, 1);
    EXPECT_EQ(sortedWeights(TP), weights({{0, 1}, {1, 16}, {1, 2}}));
    EXPECT_DOUBLE_EQ(cosetCentralCharge(TP), 0.5);
    EXPECT_EQ(TP->TensorSimpleCurrentOrder, 2);
    // The massless pass keeps every field of a coset: its weights lie below 1.
    setInputDataChanged(TP);
    ASSERT_EQ(computeMasslessTensorSpectrum(TP), 0);
    EXPECT_EQ(rows(), 3);
}

// n copies of A1 at level k with the diagonal current. For k = 2 and n = 12 the count follows by
// hand: 2^12 current combinations, paired by J, give 2048 simple currents; a product of orbits
// with m doublets (m even, 2 <= m < 12) holds 2^(12-m) combinations of integer charge, paired by
// J; the twelve doublets are one fixed point resolved into two. 2048 + sum_m C(12,m) 2^(11-m) + 2.
TEST_F(SpectrumTest, DiagonalExtensions) {
    struct Case {
        int level, copies, fields, currents;
    } cases[] = {{4, 6, 3908, 32}, {2, 12, 132862, 2048}};
    for (const Case& c : cases) {
        resetCoset(TP);
        for (int k = 0; k < c.copies; k++)
            addTensorFactor(TP, block(1, 1, c.level), 0);
        add(V(static_cast<std::size_t>(c.copies), 1));
        ASSERT_EQ(computeTensorSpectrum(TP), 0);
        EXPECT_EQ(rows(), c.fields);
        EXPECT_EQ(TP->TensorSimpleCurrentOrder, c.currents);
    }
    long long byHand = 2048 + 2;
    long long binomial = 1;
    for (int m = 1; m < 12; m++) {
        binomial = binomial * (12 - m + 1) / m;
        if (m % 2 == 0)
            byHand += binomial << (11 - m);
    }
    EXPECT_EQ(byHand, 132862);
}

// Without factors there is the vacuum alone; the empty combination may be entered as a current
// (it is the identity) without overrunning the collection made before any factor.
TEST_F(SpectrumTest, ProductWithoutFactors) {
    add({});
    ASSERT_EQ(computeTensorSpectrum(TP), 0);
    EXPECT_EQ(rows(), 1);
    EXPECT_EQ(TP->TensorSimpleCurrentOrder, 1);
    EXPECT_EQ(TP->ChiralAlgebra->Nfill, 1);
    EXPECT_EQ(cosetCentralCharge(TP), 0.0);
}

// A further factor leaves the rows and the chiral algebra of the old factors: they are not read
// as the new product's.
TEST_F(SpectrumTest, RowsOfOtherFactorsAreNotTheProducts) {
    addTensorFactor(TP, block(1, 1, 4), 0);
    add({1});
    ASSERT_EQ(computeTensorSpectrum(TP), 0);
    EXPECT_EQ(CT_spectrumRows(TP), 3);
    addTensorFactor(TP, block(1, 1, 1), 0);
    EXPECT_EQ(CT_spectrumRows(TP), 0);
    Captured cap;
    browseChiral(TP);
    EXPECT_EQ(cap.out(), "Chiral algebra size: 0\nGraded Chiral algebra size: 0\n");
}

// su(3)_1 from A1_4: the fixed point (2) gives two consecutive rows differing only in their
// fixed-point labels, the elements of the untwisted stabilizer {0, J}.
TEST_F(SpectrumTest, ResolvedFixedPointRows) {
    SpectrumData* k4 = block(1, 1, 4);
    addTensorFactor(TP, k4, 0);
    add({1});
    ASSERT_EQ(computeTensorSpectrum(TP), 0);
    const int two = spin(k4, 2);
    ASSERT_EQ(rows(), 3);
    EXPECT_EQ(field(0), (V{0, 0}));
    EXPECT_EQ(field(1), (V{two, 0}));
    EXPECT_EQ(field(2), (V{two, 1}));
    EXPECT_EQ(TP->Stabilizers[1], TP->Stabilizers[2]);
    EXPECT_EQ(TP->Stabilizers[1]->dg->Order, 2);
    EXPECT_EQ(TP->Stabilizers[1]->mult, 1);
    EXPECT_EQ(StabilizerOrder(TP, 1), 2);
    EXPECT_EQ(StabilizerOrder(TP, 0), 1);
    // Searches find every row once the passes are done.
    for (int r = 0; r < 3; r++)
        EXPECT_EQ(findOrbit(TP, TensorField(TP, r), nullptr), r);
}

// Without currents every combination of simple currents is a field; the others follow product of
// orbits by product of orbits, within one in the order of the simple currents that make them.
// A1_1 has the single orbit {0, J}, A1_2 the orbits {0, J} and {s}.
TEST_F(SpectrumTest, RowOrderWithoutCurrents) {
    SpectrumData* k2 = block(1, 1, 2);
    addFactors(TP, {block(1, 1, 1), k2});
    ASSERT_EQ(computeTensorSpectrum(TP), 0);
    const int s = spin(k2, 1);
    ASSERT_EQ(rows(), 6);
    EXPECT_EQ(TP->TensorSimpleCurrentOrder, 4);
    EXPECT_EQ(field(0), (V{0, 0, 0}));
    EXPECT_EQ(field(4), (V{0, s, 0}));
    EXPECT_EQ(field(5), (V{1, s, 0}));
    expectGroupNumbering();
}

TEST_F(SpectrumTest, MasslessPassAndTheFullOneAfterIt) {
    addTensorFactor(TP, block(1, 1, 16), 0);
    add({1});
    ASSERT_EQ(computeMasslessTensorSpectrum(TP), 0);
    EXPECT_EQ(sortedWeights(TP), weights({{0, 1}, {1, 9}, {1, 3}, {2, 3}}));
    // The massless rows are not the spectrum: the full computation starts again.
    ASSERT_EQ(computeTensorSpectrum(TP), 0);
    EXPECT_EQ(rows(), 6);
}

TEST_F(SpectrumTest, SimpleCurrentPassAlone) {
    SpectrumData* k1 = block(1, 1, 1);
    addFactors(TP, {k1, k1, k1, k1});
    ASSERT_EQ(computeSimpleCurrentTensorSpectrum(TP), 0);
    EXPECT_EQ(rows(), 16);
    EXPECT_EQ(TP->TensorSimpleCurrentOrder, 16);
    EXPECT_EQ(TP->InputDataChanged, 1);
    expectGroupNumbering();
}

// At most "Max_primaries" rows in every pass; exactly that many is enough. su(3)_1 from A1_4
// has one simple current and three fields; (A1_1)^4 -> so(8)_1 has four simple currents.
TEST_F(SpectrumTest, MaxPrimaries) {
    struct Case {
        std::vector<std::pair<int, int>> factors;
        V current;
        int limit;
        int result;
        int stored;
    } cases[] = {
        {{{1, 4}}, {1}, 2, -1, 2},
        {{{1, 4}}, {1}, 3, 0, 3},
        {{{1, 1}, {1, 1}, {1, 1}, {1, 1}}, {1, 1, 1, 1}, 3, -1, 3},
        {{{1, 1}, {1, 1}, {1, 1}, {1, 1}}, {1, 1, 1, 1}, 4, 0, 4},
    };
    for (const Case& c : cases) {
        resetCoset(TP);
        for (auto [rank, level] : c.factors)
            addTensorFactor(TP, block(1, rank, level), 0);
        add(c.current);
        setIntPar("Max_primaries", c.limit);
        Captured cap;
        EXPECT_EQ(computeTensorSpectrum(TP), c.result) << c.limit;
        EXPECT_EQ(rows(), c.stored) << c.limit;
        EXPECT_EQ(
            has(cap.out(), "Too many primaries (maximum set at " + std::to_string(c.limit) + ")\n"),
            c.result == -1)
            << cap.out();
        EXPECT_EQ(TP->InputDataChanged, c.result == -1 ? 1 : 0);
    }
}

TEST_F(SpectrumTest, MoreThan5000SimpleCurrentsAreAnnounced) {
    struct Case {
        std::vector<std::pair<int, int>> factors; // rank, count of type A at level 1
        int currents;
        bool announced;
    } cases[] = {
        {{{4, 4}, {1, 3}}, 5000, false}, // 5^4 x 2^3
        {{{1, 13}}, 8192, true},
    };
    for (const Case& c : cases) {
        resetCoset(TP);
        for (auto [rank, count] : c.factors)
            for (int i = 0; i < count; i++)
                addTensorFactor(TP, block(1, rank, 1), 0);
        Captured cap;
        ASSERT_EQ(computeSimpleCurrentTensorSpectrum(TP), 0);
        EXPECT_EQ(TP->TensorSimpleCurrentOrder, c.currents);
        EXPECT_EQ(has(cap.out(), "Reordering " + std::to_string(c.currents) + " simple currents\n"),
                  c.announced)
            << cap.out();
    }
}

// The full pass needs the simple currents; without them it reports and stops instead of ending
// the program.
TEST_F(SpectrumTest, FullPassWithoutSimpleCurrents) {
    addTensorFactor(TP, block(1, 1, 2), 0);
    computeChiralAlgebra(TP);
    initVectorCollection(TP->TensorSpectrum, 2, 10);
    TP->TensorSimpleCurrentOrder = 0;
    const V o{1};
    Captured cap;
    EXPECT_EQ(getFullSimpleCurrentOrbit(TP, o.data()), nullptr);
    EXPECT_EQ(computeFullTensorSpectrum(TP, 0), -1);
    EXPECT_TRUE(has(cap.err(), "Simple currents not available")) << cap.err();
    EXPECT_EQ(TP->InputDataChanged, 1);
}

// The products of factor orbits: (A1_2)^2 with (J, J) has integer charges only where both labels
// are doublets or both are not.
TEST_F(SpectrumTest, ShiftedOrbitsOfProductsOfOrbits) {
    SpectrumData* k2 = block(1, 1, 2);
    const int s = spin(k2, 1);
    addFactors(TP, {k2, k2});
    add({1, 1});
    ASSERT_EQ(computeSimpleCurrentTensorSpectrum(TP), 0);
    computeShiftedOrbit(TP, nullptr);
    const V mixed{0, 1}, doublets{1, 1}, vacua{0, 0};
    EXPECT_EQ(computeShiftedOrbit(TP, mixed.data()), nullptr);
    EXPECT_EQ(computeShiftedOrbit(TP, mixed.data()), nullptr) << "remembered";
    const int* shifted = computeShiftedOrbit(TP, doublets.data());
    ASSERT_NE(shifted, nullptr);
    EXPECT_EQ(V(shifted, shifted + 2), (V{s, s}));
    VectorSpace* set = getFullSimpleCurrentOrbit(TP, vacua.data());
    ASSERT_NE(set, nullptr);
    EXPECT_EQ(set->Nfill, 2) << "(0,0) and (0,J): (J,0) and (J,J) are the same fields";
    EXPECT_EQ(modshift(0, 4), 4);
    EXPECT_EQ(modshift(-1, 4), 3);
    EXPECT_EQ(modshift(6, 4), 2);
}

// The older passes number differently but find the same fields.
TEST_F(SpectrumTest, OlderPassesFindTheSameFields) {
    SpectrumData* k2 = block(1, 1, 2);
    addFactors(TP, {k2, k2});
    add({1, 1});
    Captured cap;
    EXPECT_EQ(computeTensorSpectrum_ZNX_VERSION(TP), 0);
    EXPECT_TRUE(has(cap.out(), "Reordering 2 simple currents (ZNX version)\n")) << cap.out();
    EXPECT_EQ(TP->TensorSimpleCurrentOrder, 2);
    expectGroupNumbering();
}

// D5 at level 1 graded by its vector: the NS currents are 0 and v, the R currents s and c, all
// of the same multiplet structure. The second graded factor lists one field per multiplet.
class GradedSpectrumTest : public SpectrumTest {
protected:
    void SetUp() override {
        SpectrumTest::SetUp();
        d5 = block(4, 5, 1);
        if (!d5->graded) {
            ASSERT_EQ(SM_grade(d5, 2), -1);
        }
        addFactors(TP, {d5, d5});
        setIntPar("Graded", 1);
    }
    SpectrumData* d5 = nullptr;
};

TEST_F(GradedSpectrumTest, NeveuSchwarzBeforeRamondThenNumbered) {
    // With room for two rows the pass stops in the R currents: the NS rows came first.
    setIntPar("Max_primaries", 2);
    Captured cap;
    EXPECT_EQ(computeGradedTensorSpectrum(TP, 0), -1);
    ASSERT_EQ(rows(), 2);
    EXPECT_EQ(field(0), (V{0, 0, 0}));
    EXPECT_EQ(field(1), (V{2, 0, 0}));
    // The simple-current computation has no limit in graded mode; all four are numbered.
    ASSERT_EQ(computeSimpleCurrentTensorSpectrum(TP), 0);
    ASSERT_EQ(rows(), 4);
    std::vector<V> found;
    for (int r = 0; r < 4; r++)
        found.push_back(field(r));
    std::sort(found.begin(), found.end());
    EXPECT_EQ(found, (std::vector<V>{{0, 0, 0}, {1, 1, 0}, {2, 0, 0}, {3, 1, 0}}));
    expectGroupNumbering();
}

} // namespace
