#include "FusingTestHelpers.h"

#include <cmath>
#include <complex>
#include <string>

using namespace fusingtest;

namespace {

constexpr double Tight = 1e-12;

class IsingFusing : public FusingTest {
protected:
    void SetUp() override {
        FusingTest::SetUp();
        useIsing();
    }
};

TEST_F(IsingFusing, EnergyAndSpinFieldsHaveTheirWeights) {
    SpectrumData* sd = getCurrentSD();
    EXPECT_NEAR(SM_realWeight(sd, 1), 0.5, Tight);
    EXPECT_NEAR(SM_realWeight(sd, 2), 1.0 / 16, Tight);
}

// F[s s s s] = diag(1,2) H diag(1,1/2) with H the unitary Ising matrix: H^2 = 1, det H = -1.
TEST_F(IsingFusing, SpinMatrixIsTheHadamardMatrixRescaled) {
    const Matrix F = fusingMatrix(2, 2, 2, 2);
    ASSERT_TRUE(F.present);
    ASSERT_EQ(F.n, 2);
    EXPECT_EQ(F.q, (std::vector<int>{0, 1}));
    EXPECT_EQ(F.p, (std::vector<int>{0, 1}));
    const double r = 1 / std::sqrt(2.0);
    EXPECT_NEAR(F.at(0, 0), r, Tight);
    EXPECT_NEAR(F.at(0, 1), r / 2, Tight);
    EXPECT_NEAR(F.at(1, 0), 2 * r, Tight);
    EXPECT_NEAR(F.at(1, 1), -r, Tight);
    const double left[2] = {1, 0.5}, right[2] = {1, 2};
    double H[2][2];
    for (int i = 0; i < 2; i++)
        for (int j = 0; j < 2; j++)
            H[i][j] = left[i] * F.at(i, j) * right[j];
    for (int i = 0; i < 2; i++)
        for (int j = 0; j < 2; j++)
            EXPECT_NEAR(H[i][0] * H[0][j] + H[i][1] * H[1][j], i == j ? 1.0 : 0.0, Tight);
    EXPECT_NEAR(H[0][0] * H[1][1] - H[0][1] * H[1][0], -1.0, Tight);
}

TEST_F(IsingFusing, SingleCouplingsAndVanishingQuadruples) {
    struct Case {
        int a, b, c, d;
        double value;
    };
    // F[e s s e] = 2, F[s s e e] = 1/2, F^{e s e}_s = -1; others of size 1 are 1.
    for (const Case& k : {Case{1, 2, 2, 1, 2.0}, Case{2, 1, 1, 2, 2.0}, Case{2, 2, 1, 1, 0.5},
                          Case{1, 1, 2, 2, 0.5}, Case{1, 2, 1, 2, -1.0}, Case{2, 1, 2, 1, -1.0},
                          Case{1, 1, 1, 1, 1.0}, Case{0, 2, 2, 0, 1.0}, Case{0, 0, 0, 0, 1.0}}) {
        const Matrix F = fusingMatrix(k.a, k.b, k.c, k.d);
        ASSERT_TRUE(F.present) << k.a << k.b << k.c << k.d;
        ASSERT_EQ(F.n, 1);
        EXPECT_DOUBLE_EQ(F.at(0, 0), k.value) << k.a << k.b << k.c << k.d;
    }
    for (auto [a, b, c, d] : {std::array<int, 4>{1, 1, 1, 2}, {0, 1, 2, 0}, {2, 2, 2, 1}}) {
        const Matrix F = fusingMatrix(a, b, c, d);
        EXPECT_FALSE(F.present);
        EXPECT_EQ(F.n, 0);
    }
}

TEST_F(IsingFusing, BraidingSignsArePlusOne) {
    for (int a = 0; a < 3; a++)
        for (int b = 0; b < 3; b++)
            for (int c = 0; c < 3; c++)
                EXPECT_EQ(getEpsilon(a, b, c), 1);
}

TEST_F(IsingFusing, SFromFusingMatricesIsTheIsingS) {
    const double r = std::sqrt(2.0);
    const double S[3][3] = {{0.5, 0.5, r / 2}, {0.5, 0.5, -r / 2}, {r / 2, -r / 2, 0}};
    for (int i = 0; i < 3; i++)
        for (int j = 0; j < 3; j++) {
            double R, I;
            SmatrixFromFusing(i, j, &R, &I);
            EXPECT_NEAR(R, S[i][j], 1e-10) << i << "," << j;
            EXPECT_NEAR(I, 0.0, 1e-10) << i << "," << j;
        }
}

TEST_F(IsingFusing, TensorModeAndOtherBlocksAreRefused) {
    setCosetMode(1);
    int n = 5;
    int* basis = nullptr;
    {
        Captured cap;
        EXPECT_EQ(getFusingMatrix(2, 2, 2, 2, &n, &basis), nullptr);
        EXPECT_NE(cap.err().find("Routine countFusingCouplings only works in single algebra mode"),
                  std::string::npos);
    }
    EXPECT_EQ(n, 0);
    use(SM_getData(1, 1, 2));
    Captured cap;
    EXPECT_EQ(getFusingMatrix(1, 1, 1, 1, &n, &basis), nullptr);
    EXPECT_NE(cap.err().find("Invalid algebra"), std::string::npos);
}

class BosonFusing : public FusingTest {};

// All fields are simple currents: one coupling p = a+b, q = b+c (mod N) and entry 1.
TEST_F(BosonFusing, EveryEntryIsOneWithChargeSums) {
    for (int N : {3, 4, 6}) {
        useBoson(N);
        ASSERT_EQ(getCurrentSD()->Nprimaries, N);
        for (int a = 0; a < N; a++) {
            EXPECT_EQ(getConjugate(a), (N - a) % N);
            for (int b = 0; b < N; b++)
                EXPECT_EQ(fusion(a, b, (a + b) % N, 0), 1) << "the labels are the charges";
        }
        for (int a = 0; a < N; a++)
            for (int b = 0; b < N; b++)
                for (int c = 0; c < N; c++)
                    for (int d = 0; d < N; d++) {
                        const Matrix F = fusingMatrix(a, b, c, d);
                        if ((a + b + c + d) % N != 0) {
                            EXPECT_FALSE(F.present);
                            continue;
                        }
                        ASSERT_TRUE(F.present);
                        ASSERT_EQ(F.n, 1);
                        EXPECT_EQ(F.p[0], (a + b) % N);
                        EXPECT_EQ(F.q[0], (b + c) % N);
                        EXPECT_EQ(F.at(0, 0), 1.0);
                    }
    }
}

TEST_F(BosonFusing, SFromFusingMatricesIsTheFourierMatrix) {
    for (int N : {4, 6, 8}) {
        useBoson(N);
        for (int a = 0; a < N; a++)
            for (int b = 0; b < N; b++) {
                double R, I;
                SmatrixFromFusing(a, b, &R, &I);
                const std::complex<double> S =
                    std::polar(1 / std::sqrt(N), -2 * M_PI * a * b / static_cast<double>(N));
                EXPECT_NEAR(R, S.real(), 1e-10) << N << ": " << a << "," << b;
                EXPECT_NEAR(I, S.imag(), 1e-10) << N << ": " << a << "," << b;
            }
    }
}

// The count takes rows of the facade, not a cube of the block's fusion rules.
TEST_F(BosonFusing, LargeBlockAnswersOneQuadruple) {
    useBoson(5000);
    const Matrix F = fusingMatrix(1, 2, 3, 4994);
    ASSERT_TRUE(F.present);
    EXPECT_EQ(F.p, std::vector<int>{3});
    EXPECT_EQ(F.q, std::vector<int>{5});
}

} // namespace
