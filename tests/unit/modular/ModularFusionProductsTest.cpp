// Whole fusion products: computed once per simple-current orbit of the first factor, with the
// symmetries N_ab^c = N_ba^c = N_{a c*}^{b*}, from the table of S columns. They must agree with
// the coefficients summed one by one, and with the Verlinde formula over an S that does not come
// from our caches at all.
#include "modular/Modular.h"

#include "ModularTestHelpers.h"
#include "modular/ModularInternal.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <cmath>
#include <cstdlib>
#include <numbers>
#include <random>
#include <string>
#include <vector>

namespace {

using modulartest::reportsOf;
using modulartest::TheoryCase;
using modulartest::useBlock;

// The text of i x j in the layout of the "fusion" listing, from given coefficients.
std::string productText(int i, int j, const std::vector<int>& n) {
    std::string text = "(" + std::to_string(i) + ") x (" + std::to_string(j) + ") = ";
    std::size_t lineStart = 0;
    bool first = true;
    for (std::size_t k = 0; k < n.size(); k++) {
        if (n[k] == 0)
            continue;
        const std::string field = "(" + std::to_string(k) + ") ";
        if (n[k] == 1)
            text += first ? " " + field : " + " + field;
        else
            text += (first ? " " : " + ") + std::to_string(n[k]) + " x " + field;
        first = false;
        if (text.size() - lineStart > 60) {
            lineStart = text.size();
            text += "\n" + std::string(14, ' ');
        }
    }
    if (text.size() - lineStart > 15)
        text += "\n";
    return text + "\n";
}

// N_ij^k for every k, each summed on its own over the prepared pair.
std::vector<int> unreducedCoefficients(int i, int j, int N) {
    std::vector<int> n(N);
    getRijk(-1, i, j, 0);
    for (int k = 0; k < N; k++)
        n[k] = static_cast<int>(std::lround(getRijk(k, i, j, 0)));
    return n;
}

class ReducedListing : public testing::TestWithParam<TheoryCase> {};

// The listing of "fusion" (every pair i <= j in order) is the same text whether each product
// comes from the rows shared by a simple-current orbit or from its own sums; so are the
// coefficients of fusionProduct, in both orders of the factors.
TEST_P(ReducedListing, EqualsTheUnreducedOne) {
    const TheoryCase& c = GetParam();
    SpectrumData* sd = useBlock(c.type, c.rank, c.level);
    const int N = sd->Nprimaries;
    std::vector<char> txt(static_cast<std::size_t>(N) * 40 + 100);
    std::vector<int> n(N);
    const std::string reports = reportsOf([&] {
        for (int i = 0; i < N; i++)
            for (int j = i; j < N; j++) {
                compF(txt.data(), i, j, 0);
                const std::vector<int> expected = unreducedCoefficients(i, j, N);
                ASSERT_EQ(std::string(txt.data()), productText(i, j, expected));
                ASSERT_EQ(fusionProduct(j, i, 0, n.data()), 0);
                ASSERT_EQ(n, expected) << j << " x " << i;
            }
    });
    EXPECT_EQ(reports, "");
}

INSTANTIATE_TEST_SUITE_P(Modular, ReducedListing,
                         testing::Values(TheoryCase{1, 2, 10}, TheoryCase{1, 3, 5},
                                         TheoryCase{4, 5, 3}, TheoryCase{5, 6, 2},
                                         TheoryCase{4, 4, 2}),
                         modulartest::theoryName);

// With the current J as "vacuum" the sums run over all fields and give N_ij^{Jk}; for su(2) at
// level 3, J maps the label c to 3 - c. The products of the listing keep to that rule.
TEST(FusionProducts, ProductsWithAnotherVacuum) {
    SpectrumData* sd = useBlock(1, 1, 3);
    auto label = [&](int f) { return modulartest::dynkin1(sd, f); };
    std::vector<char> txt(400);
    for (int i = 0; i < 4; i++)
        for (int j = i; j < 4; j++) {
            std::vector<int> n(4);
            for (int k = 0; k < 4; k++) {
                const int a = label(i), b = label(j), c = 3 - label(k);
                n[k] =
                    std::abs(a - b) <= c && c <= std::min(a + b, 6 - a - b) && (a + b + c) % 2 == 0;
            }
            compF(txt.data(), i, j, 1);
            EXPECT_EQ(std::string(txt.data()), productText(i, j, n));
        }
}

// su(3) at level k from the Weyl-group sum for the affine S matrix, with labels in the basis of
// fundamental weights, (x, y) = x^T F y, F = [[2, 1], [1, 2]] / 3, and the six Weyl reflections of
// the shifted weights. An overall phase or a complex conjugation of S leaves the Verlinde formula
// unchanged, so the normalisation of S_00 is the only convention that matters.
class Su3ModularS {
public:
    Su3ModularS(int level, const std::vector<std::array<int, 2>>& labels)
        : N_(static_cast<int>(labels.size())) {
        re_.resize(static_cast<std::size_t>(N_) * N_);
        im_.resize(re_.size());
        for (int a = 0; a < N_; a++)
            for (int b = 0; b < N_; b++)
                element(level, labels[a], labels[b], &re_[a * N_ + b], &im_[a * N_ + b]);
        if (re_[0] < 0)
            for (std::size_t e = 0; e < re_.size(); e++)
                re_[e] = -re_[e], im_[e] = -im_[e];
    }
    // sum_m S_im S_jm conj S_km / S_0m over every field m, for every k.
    std::vector<double> verlinde(int i, int j) const {
        std::vector<double> pr(N_), pi(N_), n(N_);
        for (int m = 0; m < N_; m++) {
            const double ar = re_[i * N_ + m], ai = im_[i * N_ + m];
            const double br = re_[j * N_ + m], bi = im_[j * N_ + m];
            const double vr = re_[m], vi = im_[m], d = vr * vr + vi * vi;
            const double qr = ar * br - ai * bi, qi = ar * bi + ai * br;
            pr[m] = (qr * vr + qi * vi) / d;
            pi[m] = (qi * vr - qr * vi) / d;
        }
        for (int k = 0; k < N_; k++)
            for (int m = 0; m < N_; m++)
                n[k] += pr[m] * re_[k * N_ + m] + pi[m] * im_[k * N_ + m];
        return n;
    }

private:
    static void element(int k, std::array<int, 2> a, std::array<int, 2> b, double* re, double* im) {
        const int l0 = a[0] + 1, l1 = a[1] + 1, m0 = b[0] + 1, m1 = b[1] + 1;
        // The Weyl group on labels: the identity, s1, s2, s1 s2, s2 s1, s1 s2 s1, with signs.
        const int images[6][2] = {{l0, l1},       {-l0, l0 + l1}, {l0 + l1, -l1},
                                  {-l0 - l1, l0}, {l1, -l0 - l1}, {-l1, -l0}};
        const int sign[6] = {1, -1, -1, 1, 1, -1};
        double sr = 0, si = 0;
        for (int w = 0; w < 6; w++) {
            const int x0 = images[w][0], x1 = images[w][1];
            const double product = (2.0 * x0 * m0 + x0 * m1 + x1 * m0 + 2.0 * x1 * m1) / 3.0;
            const double angle = -2 * std::numbers::pi * product / (k + 3);
            sr += sign[w] * std::cos(angle);
            si += sign[w] * std::sin(angle);
        }
        // Times -i / (sqrt(3) (k + 3)).
        const double scale = 1.0 / (std::sqrt(3.0) * (k + 3));
        *re = si * scale;
        *im = -sr * scale;
    }

    int N_;
    std::vector<double> re_, im_;
};

// su(3) level 30 has 496 fields, more than "S_matrix maxsize" keeps as a full S: every sum reads
// the column table built from the orbit S. On sampled pairs, among them runs of consecutive
// second factors (which share rows and mirror entries), the fixed point (10,10) and fields off
// their orbit starts, every coefficient N_ij^k over all k is checked against the Verlinde
// formula over the closed-form S, through each way the module sums it.
TEST(FusionProducts, Su3LevelThirtyAgreesWithTheClosedFormS) {
    SpectrumData* sd = useBlock(1, 2, 30);
    const int N = sd->Nprimaries;
    ASSERT_EQ(N, 31 * 32 / 2);
    std::vector<std::array<int, 2>> labels(N);
    int fixedPoint = -1;
    for (int f = 0; f < N; f++) {
        labels[f] = {SM_getRep(sd, f)[0], SM_getRep(sd, f)[1]};
        if (labels[f][0] == 10 && labels[f][1] == 10)
            fixedPoint = f;
    }
    ASSERT_GE(fixedPoint, 0);
    const Su3ModularS closedForm(30, labels);

    std::vector<std::pair<int, int>> pairs;
    std::mt19937 random(30);
    std::uniform_int_distribution<int> field(0, N - 1);
    for (int e = 0; e < 8; e++)
        pairs.emplace_back(field(random), field(random));
    for (int first : {1, 77, fixedPoint})
        for (int j = first; j < std::min(first + 8, N); j++)
            pairs.emplace_back(first, j);
    pairs.emplace_back(fixedPoint, fixedPoint);

    std::vector<int> n(N);
    std::vector<char> txt(static_cast<std::size_t>(N) * 40 + 100);
    const std::string reports = reportsOf([&] {
        for (auto [i, j] : pairs) {
            ASSERT_EQ(fusionProduct(i, j, 0, n.data()), 0);
            compF(txt.data(), i, j, 0);
            const std::vector<double> verlinde = closedForm.verlinde(i, j);
            std::vector<int> direct(N);
            for (int k = 0; k < N; k++) {
                direct[k] = static_cast<int>(std::lround(verlinde[k]));
                ASSERT_NEAR(verlinde[k], direct[k], 1e-8) << i << " " << j << " " << k;
                ASSERT_EQ(n[k], direct[k]) << i << " x " << j << " -> " << k;
                ASSERT_EQ(fusion(i, j, k, 0), direct[k]) << i << " x " << j << " -> " << k;
            }
            EXPECT_EQ(std::string(txt.data()), productText(i, j, direct));
            getRijk(-1, j, i, 0);
            for (int k = 0; k < N; k++)
                ASSERT_NEAR(getRijk(k, j, i, 0), direct[k], 1e-7) << j << " x " << i << " " << k;
        }
    });
    EXPECT_EQ(reports, "");
}

// The symmetric copies rest on the conjugates that the table reads off S: they must be the
// charge conjugates of the algebra.
TEST(FusionProducts, ConjugatesReadOffSAreTheChargeConjugates) {
    for (const TheoryCase& c : {TheoryCase{1, 2, 10}, TheoryCase{1, 3, 5}, TheoryCase{4, 5, 3},
                                TheoryCase{4, 4, 2}, TheoryCase{5, 6, 2}, TheoryCase{5, 2, 4}}) {
        SpectrumData* sd = useBlock(c.type, c.rank, c.level);
        initSMATRIX();
        for (bool onOrbits : {true, false}) {
            const modular_internal::FusionColumns* t =
                modular_internal::fusionColumns(onOrbits, true);
            ASSERT_NE(t, nullptr);
            for (int k = 0; k < sd->Nprimaries; k++)
                EXPECT_EQ(t->conjugate(k), getConjugate(k))
                    << c.type << "," << c.rank << "," << c.level << " field " << k;
        }
    }
}

} // namespace
