// The cosine tables, the determinants over them and the orthogonal coordinate maps.
#include "lie/Smatrix.h"
#include "lie/Tarvik.h"

#include <gtest/gtest.h>

#include <cmath>
#include <complex>
#include <cstring>
#include <numbers>
#include <vector>

namespace {

constexpr double Pi = std::numbers::pi;

std::uint32_t cosinesAllocated() {
    for (MemStats* m = getFirstMS(); m; m = m->next)
        if (std::strcmp(m->stat->txt, "S-matrix Cosines") == 0)
            return m->stat->TotalAlloc;
    return 0;
}

TEST(SmatrixKernel, CosineTableIsCachedPerModulus) {
    const double* t = getCos(37);
    const std::uint32_t before = cosinesAllocated();
    EXPECT_EQ(getCos(37), t);
    EXPECT_EQ(cosinesAllocated(), before);
    for (int j = 0; j < 37; j++) {
        EXPECT_NEAR(t[j], std::cos(2 * Pi * j / 37), 1e-15);
        EXPECT_NEAR(t[37 + j], -std::sin(2 * Pi * j / 37), 1e-15);
    }
    EXPECT_NE(getCos(38), t);
    EXPECT_EQ(getCos(37), t);
}

TEST(SmatrixKernel, TableIndexIsTheResidueOfTheProduct) {
    const double values[7] = {10, 11, 12, 13, 14, 15, 16};
    const int x = -3, one = 1;
    EXPECT_EQ(TarvikDet(&x, &one, 1, 7, values), 14.0); // -3 = 4 mod 7
    const int big = 123456;
    EXPECT_EQ(TarvikDet(&big, &big, 1, 7, values), values[(123456LL * 123456) % 7]);
    const double single[1] = {2.5};
    const int y = -11;
    EXPECT_EQ(TarvikDet(&x, &y, 1, 1, single), 2.5);
}

// Against determinants written out by hand.
TEST(SmatrixKernel, DeterminantsOfSmallTables) {
    const int m = 12;
    const double* c = getCos(m);
    const int x[2] = {1, 2}, y[2] = {3, -1};
    auto cosOf = [&](int p) { return std::cos(2 * Pi * p / m); };
    EXPECT_NEAR(TarvikDet(x, y, 2, m, c), cosOf(3) * cosOf(-2) - cosOf(-1) * cosOf(6), 1e-12);
    auto e = [&](int p) { return std::polar(1.0, -2 * Pi * p / m); };
    const std::complex<double> want = e(3) * e(-2) - e(-1) * e(6);
    double R = 0, I = 0;
    ComplexTarvikDet(x, y, 2, m, c, &R, &I);
    EXPECT_NEAR(R, want.real(), 1e-12);
    EXPECT_NEAR(I, want.imag(), 1e-12);
    const int x3[3] = {1, 2, 5}, y3[3] = {2, 3, 7};
    double sinTable[3][3];
    for (int i = 0; i < 3; i++)
        for (int j = 0; j < 3; j++)
            sinTable[i][j] = -std::sin(2 * Pi * x3[i] * y3[j] / m);
    const double(&s)[3][3] = sinTable;
    const double det3 = s[0][0] * (s[1][1] * s[2][2] - s[1][2] * s[2][1]) -
                        s[0][1] * (s[1][0] * s[2][2] - s[1][2] * s[2][0]) +
                        s[0][2] * (s[1][0] * s[2][1] - s[1][1] * s[2][0]);
    EXPECT_NEAR(TarvikDet(x3, y3, 3, m, c + m), det3, 1e-12);
}

TEST(SmatrixKernel, CoordinatesOfRho) {
    const int zero[8] = {};
    int x[9];
    orthA(x, zero, 2);
    EXPECT_EQ(std::vector<int>(x, x + 3), (std::vector<int>{3, 0, -3}));
    orthD(x, zero, 4);
    EXPECT_EQ(std::vector<int>(x, x + 4), (std::vector<int>{6, 4, 2, 0}));
    orthB(x, zero, 3);
    EXPECT_EQ(std::vector<int>(x, x + 3), (std::vector<int>{5, 3, 1}));
    orthC(x, zero, 3);
    EXPECT_EQ(std::vector<int>(x, x + 3), (std::vector<int>{3, 2, 1}));
    const int b[3] = {1, 2, 3};
    OrthoB(3, b, x);
    EXPECT_EQ(std::vector<int>(x, x + 3), (std::vector<int>{4, 3, 1}));
}

// Each map is an isometry up to a fixed factor: (lambda + rho, mu + rho) of the Cartan data
// equals the weighted dot product of the coordinates over that factor.
struct MapCase {
    int type, rank;
    void (*map)(int* x, const int* rep, int rank);
    std::vector<double> weights; // per coordinate
    double divisor;
};

void mapF(int* x, const int* rep, int) {
    orthF(x, rep);
}
void mapE6(int* x, const int* rep, int) {
    orthE6(x, rep);
}
void mapE7(int* x, const int* rep, int) {
    orthE7(x, rep);
}
void mapE8(int* x, const int* rep, int) {
    orthE8(x, rep);
}

TEST(SmatrixKernel, CoordinatesGiveTheInnerProduct) {
    const MapCase cases[] = {
        {1, 3, orthA, {1, 1, 1, 1}, 16},
        {2, 4, orthB, {1, 1, 1, 1}, 4},
        {3, 3, orthC, {1, 1, 1}, 2},
        {4, 5, orthD, {1, 1, 1, 1, 1}, 4},
        {5, 4, mapF, {1, 1, 1, 1}, 4},
        {5, 6, mapE6, {1.0 / 3, 1.0 / 3, 1.0 / 3, 1.0 / 3, 1.0 / 3, 1}, 12},
        {5, 7, mapE7, {1, 1, 1, 1, 1, 1, 2}, 4},
        {5, 8, mapE8, {1, 1, 1, 1, 1, 1, 1, 1}, 4},
    };
    const int l[8] = {2, 0, 1, 3, 0, 1, 2, 1}, m[8] = {0, 1, 1, 0, 2, 0, 1, 3};
    for (const MapCase& c : cases) {
        int x[9], y[9];
        c.map(x, l, c.rank);
        c.map(y, m, c.rank);
        double dot = 0;
        for (std::size_t i = 0; i < c.weights.size(); i++)
            dot += c.weights[i] * x[i] * y[i];
        EXPECT_NEAR(dot / c.divisor, DynkinPlusRhoDotProd(c.type, c.rank, l, m), 1e-9)
            << "type " << c.type << " rank " << c.rank;
    }
}

} // namespace
