// The fixed-point resolution matrices S^J of extended products. Without extension, S^J of a
// product is S^J of the factor the current acts in times S of the others, which the blocks know
// on their own. With an extension the matrices are checked against what every S^J obeys:
// unitarity and symmetry on the fixed points of J, (S^J)^2 = eta C, (S^J T^J)^3 = (S^J)^2 with
// T^J the restriction of T, and S^0 = S. The product fields: A1 labels are 2j, 0 the vacuum and
// 1 the current J at every level (A1_4: 2 the triplet, fixed by J; A1_2: 2 the doublet).
#include "TensorTestHelpers.h"

#include "tensor/Coset.h"
#include "tensor/FixedPoints.h"

#include <gtest/gtest.h>

#include <cmath>
#include <complex>
#include <numbers>
#include <string>
#include <vector>

using namespace tensortest;

namespace {

using V = std::vector<int>;
using Complex = std::complex<double>;

constexpr double Tight = 1e-9;

struct Theory {
    const char* name;
    V levels;
    std::vector<V> currents;
    V gh = {}; // 1 for a denominator factor
};

class Resolution : public TensorTest {
protected:
    void TearDown() override {
        freeFullFP();
        TensorTest::TearDown();
    }
    void build(TensorProduct* P, const Theory& t) {
        resetCoset(P);
        for (std::size_t k = 0; k < t.levels.size(); k++)
            addTensorFactor(P, block(1, 1, t.levels[k]), k < t.gh.size() ? t.gh[k] : 0);
        for (const V& c : t.currents)
            ASSERT_EQ(addNewCurrent(P, c.data()), 0) << t.name;
        ASSERT_EQ(computeTensorSpectrum(P), 0) << t.name;
    }
    int n() { return *NumberOfTensorPrimaries(TP); }
    // The field of a combination (its first resolved field).
    int field(V labels) {
        labels.push_back(0);
        return findOrbit(TP, labels.data(), nullptr);
    }
    V fixedPoints(int J) {
        V f;
        for (int a = 0; a < n(); a++)
            if (simpleCurrentAction(J, a, TP) == a)
                f.push_back(a);
        return f;
    }
    Complex SJ(int J, int a, int b) { return element(CT_getFCFT_Smatrix, TP, J, a, b); }
    Complex OJ(int J, int a, int b) { return element(CT_getOLA_Smatrix, TP, J, a, b); }
    Complex S(int a, int b) { return element(getCosetS, TP, a, b); }
    Complex T(int a) { return element(getCosetT, TP, a, a); }
    Matrix matrixSJ(int J, const V& f) {
        Matrix m(f.size(), std::vector<Complex>(f.size()));
        for (std::size_t i = 0; i < f.size(); i++)
            for (std::size_t j = 0; j < f.size(); j++)
                m[i][j] = SJ(J, f[i], f[j]);
        return m;
    }
};

bool near(const Complex& a, const Complex& b) {
    return std::abs(a - b) < Tight;
}

// A1_4 x A1_1 without extension: J = (J,0) fixes (2,x) for both fields x of A1_1, and S^J there
// is the 1x1 S^J of A1_4 times S of A1_1; O^J likewise with the orbit Lie algebra matrix of A1_4.
// A field J does not fix gives 0.
TEST_F(Resolution, UnextendedProductIsTheFactorsResolutionTimesS) {
    build(TP, {"A1_4 x A1_1", {4, 1}, {}});
    SpectrumData* a14 = block(1, 1, 4);
    SpectrumData* a11 = block(1, 1, 1);
    const int J = field({1, 0});
    const int triplet = spin(a14, 2);
    const V fixed = fixedPoints(J);
    ASSERT_EQ(fixed.size(), 2u);
    const Complex sJ = element(SM_getFCFT_Smatrix, a14, 1, triplet, triplet);
    const Complex oJ = element(SM_getOLA_Smatrix, a14, 1, triplet, triplet);
    EXPECT_NEAR(std::abs(sJ), 1.0, Tight);
    for (int a : fixed)
        for (int b : fixed) {
            const int* fa = TensorField(TP, a);
            const int* fb = TensorField(TP, b);
            ASSERT_EQ(fa[0], triplet);
            ASSERT_EQ(fb[0], triplet);
            EXPECT_TRUE(near(SJ(J, a, b), sJ * element(SM_getS, a11, fa[1], fb[1])))
                << a << "," << b;
            EXPECT_TRUE(near(OJ(J, a, b), oJ * element(SM_getS, a11, fa[1], fb[1])))
                << a << "," << b;
        }
    double re = 1.0, im = 1.0;
    getCosetFCFT_S_matrix_elt(TP, J, fixed[0], field({0, 0}), &re, &im);
    EXPECT_EQ(Complex(re, im), Complex(0.0, 0.0));
    getCosetFCFT_S_matrix_elt(TP, J, field({1, 1}), fixed[1], &re, &im);
    EXPECT_EQ(Complex(re, im), Complex(0.0, 0.0));
}

// What every S^J obeys, for every current of the extended product that has fixed points: S^J is
// unitary and symmetric on the fixed points, its square is a phase times conjugation, and with T^J
// the restriction of T, (S^J T^J)^3 = (S^J)^2. O^J is S^J times exp(i pi sigma_J / 4), and S^0 is
// S itself. The extended cases have fixed points of the extension resolved into several fields;
// the cosets, whose denominator enters complex conjugated, obey the same.
TEST_F(Resolution, RelationsOfEveryResolutionMatrix) {
    const Theory cases[] = {
        {"A1_4 x A1_1", {4, 1}, {}},
        {"(A1_2)^2", {2, 2}, {}},
        {"(A1_4)^2 / (J,J)", {4, 4}, {{1, 1}}},
        {"(A1_4)^3 / (J,J,0), (0,J,J)", {4, 4, 4}, {{1, 1, 0}, {0, 1, 1}}},
        {"A1_4 x A1_2 x A1_2 / (J,J,J)", {4, 2, 2}, {{1, 1, 1}}},
        {"A1_2 x A1_2 / A1_4", {2, 2, 4}, {{1, 1, 1}}, {0, 0, 1}},
        {"A1_4 / A1_4", {4, 4}, {}, {0, 1}},
    };
    for (const Theory& t : cases) {
        build(TP, t);
        initializeCosetFCFTData(TP);
        ASSERT_GT(TP->FCFTnumber, 0) << t.name;
        for (int a = 0; a < n(); a++)
            for (int b = 0; b < n(); b++)
                ASSERT_TRUE(near(SJ(0, a, b), S(a, b))) << t.name << ": " << a << "," << b;
        bool resolved = !t.currents.empty();
        for (int q = 0; q < TP->FCFTnumber; q++) {
            const int J = TP->FixedPointCurrents[q];
            const V f = fixedPoints(J);
            const std::size_t m = f.size();
            ASSERT_GT(m, 0u) << t.name;
            const Matrix M = matrixSJ(J, f);
            Matrix adjoint(m, std::vector<Complex>(m)), MT = M;
            for (std::size_t i = 0; i < m; i++)
                for (std::size_t j = 0; j < m; j++) {
                    adjoint[i][j] = std::conj(M[j][i]);
                    MT[i][j] = M[i][j] * T(f[j]);
                }
            const Matrix unit = product(M, adjoint), square = product(M, M);
            const Matrix cube = product(product(MT, MT), MT);
            const Complex sigma =
                std::polar(1.0, std::numbers::pi * getTotalFCFTshift(TP, TensorField(TP, J)) / 4);
            for (std::size_t i = 0; i < m; i++) {
                const int conjugate = CT_getConjugate(TP, f[i]);
                for (std::size_t j = 0; j < m; j++) {
                    const std::string where = std::string(t.name) + ": J=" + std::to_string(J) +
                                              " " + std::to_string(f[i]) + "," +
                                              std::to_string(f[j]);
                    EXPECT_TRUE(near(unit[i][j], i == j ? 1.0 : 0.0)) << where;
                    EXPECT_TRUE(near(M[i][j], M[j][i])) << where;
                    EXPECT_NEAR(std::abs(square[i][j]), f[j] == conjugate ? 1.0 : 0.0, Tight)
                        << where;
                    EXPECT_TRUE(near(cube[i][j], square[i][j])) << where;
                    EXPECT_TRUE(near(OJ(J, f[i], f[j]), M[i][j] * sigma)) << where;
                }
                resolved = resolved && TensorField(TP, f[i])[TP->NTensor] == 0;
            }
        }
        // Some fixed point of an extension is a resolved field beyond the first.
        EXPECT_FALSE(resolved) << t.name;
    }
}

// su(4)_1 from (A1_2)^2 / (J,J): the fixed point of the extension is resolved into the 4 and the
// 4-bar, which the current of weight 1/2 exchanges; no current fixes a field, and every field's
// extension group holds only the identity.
TEST_F(Resolution, ProductWithoutFixedPointCurrents) {
    build(TP, {"su(4)_1", {2, 2}, {{1, 1}}});
    initializeCosetFCFTData(TP);
    EXPECT_EQ(TP->FCFTnumber, 0);
    for (int a = 0; a < n(); a++) {
        ASSERT_NE(TP->FullStabilizers[a], nullptr);
        EXPECT_EQ(TP->FullStabilizers[a]->N_ext, 1);
        EXPECT_EQ(TP->FullStabilizers[a]->ext_currents[0], 0);
    }
}

// A fix center releases the full fixed-point records of every product, whichever product it is
// computed for (another product, or this one when a theory is made from it); the products that
// held records build them again rather than read released ones.
TEST_F(Resolution, RecordsOutliveNoFixCenter) {
    build(TP, {"(A1_4)^2 / (J,J)", {4, 4}, {{1, 1}}});
    const int J = field({1, 0});
    const V f = fixedPoints(J);
    const Matrix before = matrixSJ(J, f);
    static TensorProduct* other = initializeTensorProduct(nullptr);
    resetCoset(other);
    addTensorFactor(other, block(1, 1, 2), 0);
    addTensorFactor(other, block(1, 1, 2), 0);
    computeFixCenter(other);
    EXPECT_EQ(TP->FCFTinitialized, 0);
    for (std::size_t i = 0; i < f.size(); i++)
        for (std::size_t j = 0; j < f.size(); j++)
            EXPECT_TRUE(near(SJ(J, f[i], f[j]), before[i][j])) << f[i] << "," << f[j];
    computeFixCenter(TP);
    EXPECT_EQ(TP->FCFTinitialized, 0);
    EXPECT_EQ(matrixSJ(J, f), before);
    resetCoset(other);
}

// On the doublet field a = (s,0) of (A1_2)^2, worked out by hand from S^J with J = (J,0):
// K = J leaves a alone, the ratio of S^J elements is 1 and the charge of a is
// h_J + h_s - h_Js = 1/2, so F = -4/2 = 2 modulo 4; K = (0,J) takes a to (s,J), the ratio at
// b = a is S(J,0)/S(0,0) = 1 in A1_2 and the charge 0, so F = 0; K = (J,J) gives 2 again. The
// vacuum is not fixed by J; when no record could be built, the row of S^J vanishes.
TEST_F(Resolution, GenericTwistReadOffTheResolutionMatrix) {
    build(TP, {"(A1_2)^2", {2, 2}, {}});
    const int a = field({2, 0});
    const int J = field({1, 0});
    const struct {
        V K;
        int twist;
    } cases[] = {{{0, 0}, 0}, {{1, 0}, 2}, {{0, 1}, 0}, {{1, 1}, 2}};
    for (const auto& c : cases) {
        const int K = field(c.K);
        EXPECT_EQ(CT_getGenericTwist(TP, a, K, J), c.twist) << c.K[0] << c.K[1];
    }
    // The twist from the representatives agrees where K fixes a as well.
    EXPECT_EQ(CT_getCurrentTwist(TP, a, J, J), 2);
    {
        Captured cap;
        EXPECT_EQ(CT_getGenericTwist(TP, field({0, 0}), J, J), -1);
        EXPECT_TRUE(has(cap.err(), "Current does not fix field")) << cap.err();
    }
    for (int r = 0; r < n(); r++)
        TP->FullStabilizers[r] = nullptr;
    Captured cap;
    EXPECT_EQ(CT_getGenericTwist(TP, a, J, J), -1);
    EXPECT_TRUE(has(cap.err(), "Entire row of S^J vanishes")) << cap.err();
}

} // namespace
