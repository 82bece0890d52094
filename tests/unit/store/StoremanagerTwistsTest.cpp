// Fixed-point resolution matrices, twists and eta phases. S^J is checked against the relations
// that any consistent resolution satisfies on the fixed points of J: unitarity,
// (S^J)^2 = exp(2 pi i eta) C and (S^J T^J)^3 = (S^J)^2, with T^J the block's own T there. The
// numeric rules for twists and eta, which read phases off S^J, are checked against the closed
// rules of the affine blocks on a record that carries the same data but is not affine.
#include "store/Storemanager.h"

#include "StoreTestHelpers.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <complex>
#include <numbers>
#include <string>
#include <utility>
#include <vector>

namespace {

using storetest::block;
using storetest::detachedCopy;
using storetest::fixedFields;
using storetest::reportsOf;

using cplx = std::complex<double>;
using Matrix = std::vector<std::vector<cplx>>;
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

bool contains(const std::string& text, const std::string& part) {
    return text.find(part) != std::string::npos;
}

cplx resolution(SpectrumData* sd, int J, int a, int b) {
    double re = 0.0, im = 0.0;
    EXPECT_EQ(SM_getFCFT_Smatrix(sd, J, a, b, &re, &im), 1) << J << ": " << a << "," << b;
    return {re, im};
}

double etaValue(const rat* eta) {
    return static_cast<double>(eta->num) / eta->den;
}

class ResolutionRelations : public testing::TestWithParam<Triple> {};

TEST_P(ResolutionRelations, UnitaryConjugationAndModular) {
    SpectrumData* sd = block(GetParam().type, GetParam().rank, GetParam().level);
    ASSERT_NE(sd, nullptr);
    ASSERT_GT(SM_getFCFTnumber(sd), 0);
    for (int n = 0; n < sd->FCFTnumber; n++) {
        const int J = SM_getFixedPointCurrents(sd)[n];
        const std::vector<int> f = fixedFields(sd, J);
        const std::size_t m = f.size();
        ASSERT_GT(m, 0u);
        const rat eta0 = *SM_getEta(sd, f[0], J);
        const cplx phase = std::exp(2.0 * Pi * I * etaValue(&eta0));
        Matrix S(m, std::vector<cplx>(m)), C = S, T = S;
        for (std::size_t a = 0; a < m; a++) {
            const rat* eta = SM_getEta(sd, f[a], J);
            EXPECT_EQ(eta->num, eta0.num);
            EXPECT_EQ(eta->den, eta0.den);
            double tr = 0.0, ti = 0.0;
            SM_getT(sd, f[a], f[a], &tr, &ti);
            T[a][a] = {tr, ti};
            for (std::size_t b = 0; b < m; b++) {
                S[a][b] = resolution(sd, J, f[a], f[b]);
                if (SM_getConjugate(sd, f[a]) == f[b])
                    C[a][b] = phase;
            }
        }
        const std::string current = "current " + std::to_string(J);
        expectNear(multiply(S, adjoint(S)), identity(m), "unitarity, " + current);
        const Matrix S2 = multiply(S, S);
        expectNear(S2, C, "(S^J)^2, " + current);
        const Matrix ST = multiply(S, T);
        expectNear(multiply(ST, multiply(ST, ST)), S2, "(S^J T^J)^3, " + current);
    }
}

INSTANTIATE_TEST_SUITE_P(Blocks, ResolutionRelations,
                         testing::Values(Triple{1, 1, 2}, Triple{1, 1, 4}, Triple{1, 1, 6},
                                         Triple{1, 3, 2}, Triple{2, 3, 1}, Triple{4, 4, 2},
                                         Triple{4, 5, 2}, Triple{5, 6, 3}, Triple{5, 7, 2}),
                         tripleName);

// su(2) at even level k: one fixed point, the orbit Lie algebra is trivial and the shift 3k/2,
// so S^J = exp(-3 pi i k/8), eta = -3k/8 mod 1 and the twist of J on it is 4 h_J = k mod 4.
TEST(ResolutionValues, Su2AtEvenLevels) {
    const struct {
        int k;
        int etaNum, etaDen;
    } table[] = {{2, 1, 4}, {4, 1, 2}, {6, 3, 4}, {8, 0, 1}};
    for (const auto& c : table) {
        SpectrumData* sd = block(1, 1, c.k);
        ASSERT_NE(sd, nullptr);
        const std::vector<int> f = fixedFields(sd, 1);
        ASSERT_EQ(f.size(), 1u);
        const cplx s = resolution(sd, 1, f[0], f[0]);
        EXPECT_LT(std::abs(s - std::exp(-3.0 * Pi * I * (c.k / 8.0))), 1e-12) << c.k;
        double re = 0.0, im = 0.0;
        EXPECT_EQ(SM_getOLA_Smatrix(sd, 1, f[0], f[0], &re, &im), 1);
        EXPECT_EQ(cplx(re, im), cplx(1.0, 0.0));
        const rat* eta = SM_getEta(sd, f[0], 1);
        EXPECT_EQ(eta->num, c.etaNum) << c.k;
        EXPECT_EQ(eta->den, c.etaDen) << c.k;
        EXPECT_EQ(SM_getCurrentTwist(sd, f[0], 1, 1), c.k % 4) << c.k;
    }
    // At level 4 S^J = i exactly, with no rounding noise left in the real part.
    SpectrumData* sd = block(1, 1, 4);
    const int f = fixedFields(sd, 1)[0];
    double re = 1.0, im = 0.0;
    SM_getFCFT_Smatrix(sd, 1, f, f, &re, &im);
    EXPECT_EQ(re, 0.0);
    EXPECT_EQ(im, 1.0);
}

// E7 at level 2: the current of weight 3/2 fixes the fields of weights 57/80 and 21/16.
TEST(ResolutionValues, E7FixedPointWeights) {
    SpectrumData* sd = block(5, 7, 2);
    ASSERT_NE(sd, nullptr);
    std::vector<std::pair<int, int>> weights;
    for (int a : fixedFields(sd, 1)) {
        rat h;
        SM_getRatWeight(sd, a, &h);
        weights.emplace_back(h.num, h.den);
    }
    std::sort(weights.begin(), weights.end(),
              [](auto x, auto y) { return x.first * y.second < y.first * x.second; });
    EXPECT_EQ(weights, (std::vector<std::pair<int, int>>{{57, 80}, {21, 16}}));
}

TEST(ResolutionValues, IdentityAndFieldsThatAreNotFixed) {
    SpectrumData* sd = block(1, 1, 4);
    ASSERT_NE(sd, nullptr);
    for (int i = 0; i < sd->Nprimaries; i++)
        for (int j = 0; j < sd->Nprimaries; j++) {
            double sr = 0.0, si = 0.0, re = 7.0, im = 7.0;
            SM_getS(sd, i, j, &sr, &si);
            EXPECT_EQ(SM_getFCFT_Smatrix(sd, 0, i, j, &re, &im), 1);
            EXPECT_LT(std::abs(cplx(re, im) - cplx(sr, si)), 1e-12);
        }
    const int f = fixedFields(sd, 1)[0];
    for (auto element : {SM_getFCFT_Smatrix, SM_getOLA_Smatrix}) {
        double re = 7.0, im = 7.0;
        EXPECT_EQ(element(sd, 1, 0, f, &re, &im), 0);
        EXPECT_EQ(cplx(re, im), cplx(0.0, 0.0));
    }
    const rat* eta = SM_getEta(sd, f, 0);
    EXPECT_EQ(eta->num, 0);
    EXPECT_EQ(SM_getCurrentTwist(sd, f, 1, 0), 0);
    EXPECT_EQ(SM_getTwist(sd, 0, 1), 0.0);
    // No fixed points at level 1: nothing to resolve.
    SpectrumData* none = block(1, 1, 1);
    double re = 7.0, im = 7.0;
    EXPECT_EQ(SM_getFCFT_Smatrix(none, 1, 0, 0, &re, &im), 0);
    EXPECT_EQ(cplx(re, im), cplx(0.0, 0.0));
    EXPECT_EQ(SM_getCurrentTwist(none, 0, 1, 1), 0);
    EXPECT_EQ(SM_getEta(none, 0, 1)->num, 0);
}

// D4 at level 2: three currents with fixed points; the affine twist of a current K with respect
// to J does not depend on the fixed point, and is symmetric in K and J.
TEST(Twists, AffineTwistIsTheSameOnEveryFixedPoint) {
    SpectrumData* sd = block(4, 4, 2);
    ASSERT_NE(sd, nullptr);
    for (int J = 1; J < 4; J++) {
        const std::vector<int> f = fixedFields(sd, J);
        ASSERT_GE(f.size(), 2u);
        for (int K = 0; K < 4; K++) {
            const int first = SM_getCurrentTwist(sd, f[0], K, J);
            EXPECT_GE(first, 0);
            for (int a : f)
                EXPECT_EQ(SM_getCurrentTwist(sd, a, K, J), first) << a << " " << K << " " << J;
            if (SM_checkFP(sd, K, f.back())) {
                EXPECT_EQ(SM_getCurrentTwist(sd, f.back(), J, K), first) << K << " " << J;
            }
        }
    }
}

// The data of an affine block on a record of a type above 5 (a theory made from a tensor
// product): its twists and eta come from the numeric rules, which must reproduce the closed
// ones.
SpectrumData* numericTwin(SpectrumData* src, const char* name) {
    SM_initFCFTData(src);
    SM_initConjugates(src);
    SpectrumData* sd = detachedCopy(src, name);
    sd->type = 9;
    sd->Conjugates = src->Conjugates;
    sd->FCFTnumber = src->FCFTnumber;
    sd->FixedPointCurrents = src->FixedPointCurrents;
    sd->FixedPointCFT = src->FixedPointCFT;
    sd->FCFTshifts = src->FCFTshifts;
    sd->FCFTlabels = src->FCFTlabels;
    return sd;
}

class NumericRules : public testing::TestWithParam<Triple> {};

TEST_P(NumericRules, AgreeWithTheClosedRules) {
    SpectrumData* affine = block(GetParam().type, GetParam().rank, GetParam().level);
    ASSERT_NE(affine, nullptr);
    SpectrumData* sd = numericTwin(affine, "Numeric twin fixture");
    const int order = SM_getCenter(affine);
    for (int J = 1; J < order; J++) {
        if (SM_getFCFTlbl(affine, J) <= 0)
            continue;
        for (int a : fixedFields(affine, J)) {
            const rat closed = *SM_getEta(affine, a, J);
            const rat numeric = *SM_getEta(sd, a, J);
            EXPECT_EQ(numeric.num, closed.num) << "eta " << a << " " << J;
            EXPECT_EQ(numeric.den, closed.den) << "eta " << a << " " << J;
            for (int K = 0; K < order; K++)
                EXPECT_EQ(SM_getCurrentTwist(sd, a, K, J), SM_getCurrentTwist(affine, a, K, J))
                    << "twist " << a << " " << K << " " << J;
        }
    }
}

INSTANTIATE_TEST_SUITE_P(Blocks, NumericRules,
                         testing::Values(Triple{1, 1, 2}, Triple{1, 1, 6}, Triple{1, 3, 2},
                                         Triple{4, 4, 2}, Triple{5, 7, 2}),
                         tripleName);

TEST(NumericRules, ReportsForWhatIsNotFixed) {
    SpectrumData* a3 = block(1, 3, 2);
    ASSERT_NE(a3, nullptr);
    SpectrumData* sd = numericTwin(a3, "Numeric reports fixture");
    const int f = fixedFields(a3, 2)[0];
    EXPECT_EQ(SM_getGenericTwist(sd, f, 0, 2), 0);
    int twist = 0;
    std::string err = reportsOf([&] { twist = SM_getGenericTwist(sd, 0, 1, 2); });
    EXPECT_EQ(twist, -1);
    EXPECT_TRUE(contains(err, "Unexpected non-fixed-point field (current 1, field 0)")) << err;
    err = reportsOf([&] { twist = SM_getGenericTwist(sd, f, 1, 1); });
    EXPECT_EQ(twist, -1);
    EXPECT_TRUE(contains(err, "Current 1 has no fixed points")) << err;
    rat eta{5, 7};
    err = reportsOf([&] { eta = *SM_getEta(sd, 0, 2); });
    EXPECT_EQ(eta.num, 0);
    EXPECT_EQ(eta.den, 1);
    EXPECT_TRUE(contains(err, "Field 0 not fixed by current")) << err;
}

} // namespace
