#include "store/Storemanager.h"

#include "StoreTestHelpers.h"
#include "base/Error.h"
#include "base/Parameters.h"

#include "TestSupport.h"

#include <gtest/gtest.h>

#include <cmath>
#include <complex>
#include <cstdlib>
#include <numbers>
#include <string>
#include <vector>

namespace {

using storetest::block;
using storetest::dynkin;
using storetest::fieldWithLabels;
using storetest::reportsOf;

using storetest::adjoint;
using storetest::cplx;
using storetest::expectNear;
using storetest::identity;
using storetest::Matrix;
using storetest::multiply;
using storetest::Triple;
using storetest::tripleName;

constexpr double Pi = std::numbers::pi;
const cplx I{0.0, 1.0};

using Element = void (*)(SpectrumData*, int, int, double*, double*);

cplx element(Element f, SpectrumData* sd, int i, int j) {
    double re = 0.0, im = 0.0;
    f(sd, i, j, &re, &im);
    return {re, im};
}

Matrix matrix(Element f, SpectrumData* sd) {
    const int N = sd->Nprimaries;
    Matrix m(N, std::vector<cplx>(N));
    for (int i = 0; i < N; i++)
        for (int j = 0; j < N; j++)
            m[i][j] = element(f, sd, i, j);
    return m;
}

// Charge conjugation from the conjugate Dynkin labels, which do not involve S.
Matrix conjugation(SpectrumData* sd) {
    const int N = sd->Nprimaries;
    Matrix c(N, std::vector<cplx>(N));
    for (int i = 0; i < N; i++)
        c[i][SM_getConjugate(sd, i)] = 1.0;
    return c;
}

// Runs f with every S element of the block computed directly, then restores the block.
template <class F> void direct(SpectrumData* sd, F f) {
    const int saved = sd->StoreS;
    sd->StoreS = 0;
    f();
    sd->StoreS = saved;
}

// ---- S of su(2) against its closed form ----

TEST(StoreModular, SOfSu2IsTheSineFormulaOnBothRoads) {
    for (int k = 1; k <= 5; k++) {
        SpectrumData* sd = block(1, 1, k);
        ASSERT_NE(sd, nullptr);
        for (int i = 0; i < sd->Nprimaries; i++)
            for (int j = 0; j < sd->Nprimaries; j++) {
                const int a = SM_getRep(sd, i)[0], b = SM_getRep(sd, j)[0];
                const double expected =
                    std::sqrt(2.0 / (k + 2)) * std::sin(Pi * (a + 1) * (b + 1) / (k + 2));
                const cplx cached = element(SM_getS, sd, i, j);
                EXPECT_NEAR(cached.real(), expected, 1e-12) << k << ": " << a << "," << b;
                EXPECT_EQ(cached.imag(), 0.0);
                direct(sd,
                       [&] { EXPECT_NEAR(element(SM_getS, sd, i, j).real(), expected, 1e-12); });
            }
    }
}

// The cache marks a row not computed when one of its elements is first asked, and making the
// cache again marks only the rows that were reached. su(2) level 40 (21 orbits): a few rows
// reached, an entry of one spoiled, the cache made again, then every element in an order that
// reaches the rows from the last down must be the sine formula.
TEST(StoreModular, OrbitCacheRowsReachedInAnyOrderKeepTheSineFormula) {
    const int k = 40;
    SpectrumData* sd = block(1, 1, k);
    ASSERT_NE(sd, nullptr);
    ASSERT_EQ(SM_allocSBase(sd), 0);
    const int N = sd->Nprimaries;
    auto sine = [&](int i, int j) {
        const int a = SM_getRep(sd, i)[0], b = SM_getRep(sd, j)[0];
        return std::sqrt(2.0 / (k + 2)) * std::sin(Pi * (a + 1) * (b + 1) / (k + 2));
    };
    EXPECT_NEAR(element(SM_getS, sd, 7, 3).real(), sine(7, 3), 1e-12);
    EXPECT_NEAR(element(SM_getS, sd, 2, 30).real(), sine(2, 30), 1e-12);
    // The (orbit 0, orbit 0) entry is the first of the triangle.
    ASSERT_EQ(sd->OrbitLabel[0], 0);
    EXPECT_NEAR(element(SM_getS, sd, 0, 0).real(), sine(0, 0), 1e-12);
    sd->SBase[0] = 0.25;
    EXPECT_EQ(element(SM_getS, sd, 0, 0).real(), 0.25);
    ASSERT_EQ(SM_allocSBase(sd), 0);
    EXPECT_EQ(sd->SBase[0], -2.0);
    for (int i = N - 1; i >= 0; i--)
        for (int j = 0; j < N; j++) {
            const cplx s = element(SM_getS, sd, i, j);
            EXPECT_NEAR(s.real(), sine(i, j), 1e-12) << i << "," << j;
            EXPECT_EQ(s.imag(), 0.0);
        }
}

// G2 at level 1 has no simple currents: the Fibonacci S, 1/sqrt(2+phi) (1, phi; phi, -1).
TEST(StoreModular, BlockWithoutCurrentsCachesByFieldLabel) {
    SpectrumData* sd = block(5, 2, 1);
    ASSERT_NE(sd, nullptr);
    ASSERT_EQ(sd->Nprimaries, 2);
    ASSERT_EQ(SM_getCenter(sd), 1);
    const double phi = (1.0 + std::sqrt(5.0)) / 2.0, n = 1.0 / std::sqrt(2.0 + phi);
    const double expected[2][2] = {{n, n * phi}, {n * phi, -n}};
    for (int i = 0; i < 2; i++)
        for (int j = 0; j < 2; j++)
            EXPECT_NEAR(element(SM_getS, sd, i, j).real(), expected[i][j], 1e-12);
    // Symmetric layout: (1,0) and (0,1) share the triangle entry 1*2/2 + 0.
    ASSERT_NE(sd->SBase, nullptr);
    EXPECT_NEAR(sd->SBase[1], n * phi, 1e-12);
    sd->SBase[1] = 0.25;
    EXPECT_EQ(element(SM_getS, sd, 0, 1).real(), 0.25);
    EXPECT_EQ(element(SM_getS, sd, 1, 0).real(), 0.25);
    // Making the cache again marks every entry not computed.
    EXPECT_EQ(SM_allocSBase(sd), 0);
    EXPECT_EQ(sd->SBase[1], -2.0);
    EXPECT_NEAR(element(SM_getS, sd, 0, 1).real(), n * phi, 1e-12);
}

// A2 at level 1: the vacuum row is 1/sqrt 3, real, but the determinant sums leave imaginary
// parts of order 1e-16 in it.
TEST(StoreModular, DirectAndCachedElementsAreZeroedAlike) {
    SpectrumData* sd = block(1, 2, 1);
    ASSERT_NE(sd, nullptr);
    const int N = sd->Nprimaries;
    Matrix viaCache = matrix(SM_getS, sd), viaDirect;
    direct(sd, [&] { viaDirect = matrix(SM_getS, sd); });
    for (int j = 0; j < N; j++) {
        EXPECT_EQ(viaCache[0][j].imag(), 0.0);
        EXPECT_EQ(viaDirect[0][j].imag(), 0.0);
    }
    for (int i = 0; i < N; i++)
        for (int j = 0; j < N; j++) {
            EXPECT_LT(std::abs(viaCache[i][j] - viaDirect[i][j]), 1e-12);
            EXPECT_EQ(viaCache[i][j].real() == 0.0, viaDirect[i][j].real() == 0.0);
            EXPECT_EQ(viaCache[i][j].imag() == 0.0, viaDirect[i][j].imag() == 0.0);
        }
}

TEST(StoreModular, IsingElements) {
    const double r = 1.0 / std::sqrt(2.0);
    const struct {
        int u, v;
        double s;
    } table[] = {{0, 0, 0.5}, {0, 1, r},  {1, 0, r},   {1, 1, 0.0},
                 {1, 2, -r},  {2, 1, -r}, {2, 2, 0.5}, {0, 2, 0.5}};
    for (const auto& c : table) {
        double re = 9.0, im = 9.0;
        SM_computeIsingS(c.u, c.v, &re, &im);
        EXPECT_DOUBLE_EQ(re, c.s) << c.u << "," << c.v;
        EXPECT_EQ(im, 0.0);
    }
    SpectrumData* ising = block(2, 0, 1);
    ASSERT_NE(ising, nullptr);
    double tr = 0.0, ti = 0.0;
    SM_computeTraceS(ising, &tr, &ti);
    EXPECT_NEAR(tr, 1.0, 1e-12); // 1/2 + 0 + 1/2
    EXPECT_NEAR(ti, 0.0, 1e-12);
}

TEST(StoreModular, ConjugateTheoryHasTheComplexConjugateS) {
    SpectrumData* a2 = block(1, 2, 1);
    SpectrumData* conj = block(-99, 2, 1);
    ASSERT_NE(a2, nullptr);
    ASSERT_NE(conj, nullptr);
    bool complexSeen = false;
    for (int i = 0; i < 3; i++)
        for (int j = 0; j < 3; j++) {
            const int ci = fieldWithLabels(a2, dynkin(conj, i));
            const int cj = fieldWithLabels(a2, dynkin(conj, j));
            const cplx s = element(SM_getS, a2, ci, cj);
            complexSeen = complexSeen || std::abs(s.imag()) > 0.1;
            EXPECT_LT(std::abs(element(SM_getS, conj, i, j) - std::conj(s)), 1e-12);
        }
    EXPECT_TRUE(complexSeen);
}

TEST(StoreModular, SOfAnUnavailableBlockIsZeroAndReported) {
    SpectrumData* sd = block(1, 1, 6);
    ASSERT_NE(sd, nullptr);
    sd->S_available = 0;
    cplx s{1.0, 1.0};
    const std::string err = reportsOf([&] { s = element(SM_getS, sd, 0, 0); });
    sd->S_available = 1;
    EXPECT_EQ(s, cplx(0.0, 0.0));
    EXPECT_NE(err.find("Matrix S for algebra A1 level 6 is not available"), std::string::npos)
        << err;
}

TEST(StoreModular, TIsDiagonalWithTheModularAnomaly) {
    SpectrumData* sd = block(1, 1, 3); // c = 9/5
    ASSERT_NE(sd, nullptr);
    EXPECT_EQ(element(SM_getT, sd, 0, 1), cplx(0.0, 0.0));
    EXPECT_EQ(element(SM_getrootT, sd, 1, 0), cplx(0.0, 0.0));
    EXPECT_LT(std::abs(element(SM_getT, sd, 0, 0) - std::exp(-2.0 * Pi * I * (1.8 / 24))), 1e-12);
    for (int i = 0; i < sd->Nprimaries; i++) {
        const int a = SM_getRep(sd, i)[0];
        const double h = a * (a + 2) / 20.0; // l(l+2) / 4(k+2)
        const cplx t = std::exp(2.0 * Pi * I * (h - 1.8 / 24));
        EXPECT_LT(std::abs(element(SM_getT, sd, i, i) - t), 1e-12);
        const cplx root = element(SM_getrootT, sd, i, i);
        EXPECT_LT(std::abs(root * root - t), 1e-12);
    }
}

// ---- Modular identities on a set of blocks ----

class ModularIdentities : public testing::TestWithParam<Triple> {};

TEST_P(ModularIdentities, SAndTAndPSatisfyTheModularRelations) {
    SpectrumData* sd = block(GetParam().type, GetParam().rank, GetParam().level);
    ASSERT_NE(sd, nullptr);
    const Matrix S = matrix(SM_getS, sd), T = matrix(SM_getT, sd), P = matrix(SM_getP, sd);
    const Matrix C = conjugation(sd);
    const Matrix ST = multiply(S, T);
    const std::size_t N = S.size();
    expectNear(multiply(S, adjoint(S)), identity(N), "S S+ = 1");
    expectNear(multiply(S, S), C, "S^2 = C");
    expectNear(multiply(ST, multiply(ST, ST)), C, "(ST)^3 = S^2");
    for (std::size_t i = 0; i < N; i++)
        for (std::size_t j = 0; j < N; j++) {
            EXPECT_LT(std::abs(S[i][j] - S[j][i]), 1e-12);
            EXPECT_LT(std::abs(P[i][j] - P[j][i]), 1e-9) << "P symmetric";
        }
    expectNear(multiply(P, adjoint(P)), identity(N), "P P+ = 1");
    expectNear(multiply(P, P), C, "P^2 = C");
}

INSTANTIATE_TEST_SUITE_P(Store, ModularIdentities,
                         testing::Values(Triple{1, 1, 1}, Triple{1, 1, 2}, Triple{1, 1, 3},
                                         Triple{1, 2, 1}, Triple{1, 2, 2}, Triple{1, 2, 3},
                                         Triple{1, 3, 2}, Triple{2, 2, 1}, Triple{3, 2, 1},
                                         Triple{4, 4, 1}, Triple{4, 5, 1}, Triple{4, 4, 2},
                                         Triple{5, 6, 1}, Triple{5, 2, 1}, Triple{0, 6, 0},
                                         Triple{0, 8, 0}, Triple{27, 2, 1}, Triple{27, 2, 2},
                                         Triple{27, 2, 3}, Triple{27, 2, 4}),
                         tripleName);

// Every element rebuilt from the orbit cache equals the one computed directly.
TEST_P(ModularIdentities, OrbitCacheRebuildsEveryElement) {
    SpectrumData* sd = block(GetParam().type, GetParam().rank, GetParam().level);
    ASSERT_NE(sd, nullptr);
    const Matrix cached = matrix(SM_getS, sd);
    Matrix plain;
    direct(sd, [&] { plain = matrix(SM_getS, sd); });
    expectNear(cached, plain, "cache against direct");
}

// ---- Fixed orbits ----

TEST(StoreModular, FixedOrbitsAreTheShortOnes) {
    SpectrumData* a1 = block(1, 1, 2); // orbits {(0),(2)} and the fixed {(1)}
    ASSERT_NE(a1, nullptr);
    ASSERT_EQ(a1->Norbits, 2);
    EXPECT_EQ(SM_isFixed(a1, 0), 0);
    EXPECT_EQ(SM_isFixed(a1, 1), 1);
    SpectrumData* odd = block(1, 1, 3); // no fixed points at odd level
    ASSERT_NE(odd, nullptr);
    for (int o = 0; o < odd->Norbits; o++)
        EXPECT_EQ(SM_isFixed(odd, o), 0);
    SpectrumData* a2 = block(1, 2, 3); // (1,1) is the one fixed point of Z3
    ASSERT_NE(a2, nullptr);
    const int fixedField = fieldWithLabels(a2, {1, 1});
    for (int o = 0; o < a2->Norbits; o++) {
        SM_makeOrbitPointers(a2);
        EXPECT_EQ(SM_isFixed(a2, o), a2->OrbitLabel[fixedField] == o ? 1 : 0) << o;
    }
}

// ---- Conjugation through S ----

TEST(StoreModular, ConjugationThroughSAgreesWithTheDynkinRule) {
    SpectrumData* a2 = block(1, 2, 1);
    SpectrumData* d5 = block(4, 5, 1);
    SpectrumData* d4 = block(4, 4, 1);
    ASSERT_TRUE(a2 && d5 && d4);
    // A2 level 1: the two non-trivial currents (1,0) and (0,1) are exchanged.
    const int f10 = fieldWithLabels(a2, {1, 0}), f01 = fieldWithLabels(a2, {0, 1});
    EXPECT_EQ(SM_getGenericConjugate(a2, f10), f01);
    EXPECT_EQ(SM_getGenericConjugate(a2, f01), f10);
    EXPECT_EQ(SM_getFCFTConjugate(a2, f10), f01);
    EXPECT_EQ(SM_getGenericConjugate(a2, 0), 0);
    // D5 level 1: the spinors are exchanged, the vector is real.
    const int s = fieldWithLabels(d5, {0, 0, 0, 1, 0}), c = fieldWithLabels(d5, {0, 0, 0, 0, 1});
    const int v = fieldWithLabels(d5, {1, 0, 0, 0, 0});
    EXPECT_EQ(SM_getGenericConjugate(d5, s), c);
    EXPECT_EQ(SM_getGenericConjugate(d5, c), s);
    EXPECT_EQ(SM_getGenericConjugate(d5, v), v);
    EXPECT_EQ(SM_getFCFTConjugate(d5, s), c);
    // D4: S is real, every field is its own conjugate.
    for (int i = 0; i < d4->Nprimaries; i++) {
        EXPECT_EQ(SM_getGenericConjugate(d4, i), i);
        EXPECT_EQ(SM_getFCFTConjugate(d4, i), i);
    }
    for (SpectrumData* sd : {a2, d5, d4})
        for (int i = 0; i < sd->Nprimaries; i++)
            EXPECT_EQ(SM_getGenericConjugate(sd, i), SM_getConjugate(sd, i));
}

// ---- Traces ----

TEST(StoreModular, TracesOfA1LevelOne) {
    // S = (1, 1; 1, -1)/sqrt 2, T = diag(e^(-i pi/12), e^(5 i pi/12)).
    SpectrumData* sd = block(1, 1, 1);
    ASSERT_NE(sd, nullptr);
    double re = 1.0, im = 1.0;
    SM_computeTraceS(sd, &re, &im);
    EXPECT_NEAR(re, 0.0, 1e-12);
    EXPECT_NEAR(im, 0.0, 1e-12);
    SM_computeTraceST(sd, &re, &im);
    const cplx st = (std::exp(-I * Pi / 12.0) - std::exp(5.0 * I * Pi / 12.0)) / std::sqrt(2.0);
    EXPECT_NEAR(re, st.real(), 1e-12);
    EXPECT_NEAR(im, st.imag(), 1e-12);
    // Tr (ST)^2 = (T0 + T1)^2 / 2 = (sqrt 2 e^(i pi/6))^2 / 2 = e^(i pi/3).
    SM_computeTraceSTQ(sd, &re, &im);
    EXPECT_NEAR(re, 0.5, 1e-12);
    EXPECT_NEAR(im, std::sqrt(3.0) / 2.0, 1e-12);
}

TEST(StoreModular, TraceOfS2TNCountsTheSelfConjugateFields) {
    // Sum_i S_ik^2 = C_kk, so the trace is the sum of T_k^n over self-conjugate k: for A2 at
    // level 1 only the vacuum, T_0^n = e^(-i pi n / 6) with c = 2.
    SpectrumData* sd = block(1, 2, 1);
    ASSERT_NE(sd, nullptr);
    for (int n = 0; n <= 3; n++) {
        double re = 0.0, im = 0.0;
        SM_computeTraceS2TN(sd, &re, &im, n);
        EXPECT_NEAR(re, std::cos(Pi * n / 6.0), 1e-12) << n;
        EXPECT_NEAR(im, -std::sin(Pi * n / 6.0), 1e-12) << n;
    }
}

TEST(StoreModular, TracesOfNoBlockAreZero) {
    double re = 5.0, im = 5.0;
    SM_computeTraceS(nullptr, &re, &im);
    EXPECT_EQ(cplx(re, im), cplx(0.0, 0.0));
    re = im = 5.0;
    SM_computeTraceST(nullptr, &re, &im);
    EXPECT_EQ(cplx(re, im), cplx(0.0, 0.0));
    re = im = 5.0;
    SM_computeTraceS2TN(nullptr, &re, &im, 2);
    EXPECT_EQ(cplx(re, im), cplx(0.0, 0.0));
    re = im = 5.0;
    SM_computeTraceSTQ(nullptr, &re, &im);
    EXPECT_EQ(cplx(re, im), cplx(0.0, 0.0));
}

TEST(StoreModular, FixedPointResolutionElementCarriesTheShiftPhase) {
    SpectrumData* sd = block(1, 1, 2);
    ASSERT_NE(sd, nullptr);
    double re = 0.0, im = 0.0;
    SM_getFixedPointResolutionMatrix(sd, 0, 0, &re, &im, 2); // S_00 = 1/2, times -i
    EXPECT_NEAR(re, 0.0, 1e-12);
    EXPECT_NEAR(im, -0.5, 1e-12);
}

// ---- Gauss sum ----

// For A1 at level k the sum runs over w modulo 2k of exp(pi i (2w - x)^2 / 4k) / sqrt k,
// times e^(-i pi/4): the quadratic Gauss sum of modulus 2k gives 2 for even k and 0 for odd k
// at x = 0; at x = 1 and k = 2 the four terms cancel.
TEST(StoreModular, GaussSumsOfA1) {
    const struct {
        int level;
        int x;
        double sum;
    } table[] = {{1, 0, 0.0}, {2, 0, 2.0}, {2, 1, 0.0}, {2, 2, 2.0}, {4, 0, 2.0}, {3, 0, 0.0}};
    for (const auto& c : table) {
        SpectrumData* sd = block(1, 1, c.level);
        ASSERT_NE(sd, nullptr);
        double sum = 9.0;
        const std::string err = reportsOf([&] { sum = GaussianSum(sd, &c.x); });
        EXPECT_NEAR(sum, c.sum, 1e-9) << c.level << "," << c.x;
        EXPECT_EQ(err, "");
    }
}

// ---- The cache question ----

// Pretends a block of 20000 orbits, whose symmetric cache needs 2e8 doubles, and refuses.
void refuseTheCache() {
    for (const char* name : {"error_trace", "log", "error_log", "math"})
        addInternalParameter(name, "OFF", 't', 0);
    addInternalParameter("interactive", "ON", 't', 0);
    initializeError();
    testsupport::StdinText input("set\n3\n");
    SpectrumData* sd = SM_getData(1, 1, 7);
    const int orbits = sd->Norbits;
    sd->Norbits = 20000;
    double re = 0.0, im = 0.0;
    SM_getS(sd, 1, 2, &re, &im);
    sd->Norbits = orbits;
    const int a = SM_getRep(sd, 1)[0], b = SM_getRep(sd, 2)[0];
    const double expected = std::sqrt(2.0 / 9.0) * std::sin(Pi * (a + 1) * (b + 1) / 9.0);
    bool ok = std::fabs(re - expected) < 1e-12 && sd->StoreS == 0 && !sd->SBase;
    // Later elements are direct without asking again.
    SM_getS(sd, 2, 3, &re, &im);
    ok = ok && !sd->SBase;
    std::fprintf(stderr, "\nresult %s\n", ok ? "direct" : "wrong");
    std::exit(0);
}

TEST(StoreModularDeathTest, RefusingTheLargeCacheMakesTheBlockDirect) {
    GTEST_FLAG_SET(death_test_style, "threadsafe");
    EXPECT_EXIT(refuseTheCache(), testing::ExitedWithCode(0),
                "Trying to allocate 1600 MB for orbit S-matrix[^\n]*\n"
                "(.|\n)*result direct\n$");
}

} // namespace
