#include "store/Storemanager.h"

#include "StoreTestHelpers.h"
#include "store/StoremanagerInternal.h"

#include <gtest/gtest.h>

#include <array>
#include <complex>
#include <set>
#include <string>
#include <vector>

namespace {

using storetest::block;
using storetest::cplx;
using storetest::reportsOf;

using Triple3 = std::array<int, 3>;

Triple3 triple(SpectrumData* sd, int f) {
    const int* t = SM_getRep(sd, f);
    return {t[0], t[1], t[2]};
}

int fieldOf(SpectrumData* sd, Triple3 t) {
    return SM_getLieLabel(sd, t.data());
}

// The standard triples counted from their definition: 0 <= l <= k, -(l+1) < m <= l+1,
// s in -1..2, l+m+s even.
std::set<Triple3> standardTriples(int k) {
    std::set<Triple3> all;
    for (int l = 0; l <= k; l++)
        for (int m = -l; m <= l + 1; m++)
            for (int s = -1; s <= 2; s++)
                if ((l + m + s) % 2 == 0)
                    all.insert({l, m, s});
    return all;
}

// Fields, currents, orbits and fixed points of the models at the first levels, from the
// structure of the coset su(2)_k x u(1)_4 / u(1)_{2k+4}: 2(k+1)(k+2) fields, 4k+8 currents,
// orbits of full length except the one of l = k/2, which the current of order 2 fixes.
TEST(MinimalBlocks, FieldsCurrentsOrbitsAndFixedPoints) {
    struct Case {
        int k, fields, currents, orbits, fixedPoints, fixedCurrent;
    } cases[] = {{1, 12, 12, 1, 0, -1},
                 {2, 24, 16, 2, 8, 12},
                 {3, 40, 20, 2, 0, -1},
                 {4, 60, 24, 3, 12, 6},
                 {6, 112, 32, 4, 16, 24}};
    for (const Case& c : cases) {
        SCOPED_TRACE("level " + std::to_string(c.k));
        SpectrumData* sd = block(27, 2, c.k);
        ASSERT_NE(sd, nullptr);
        EXPECT_STREQ(SM_getAlgebraName(sd), ("Min 2 " + std::to_string(c.k) + " (aux)").c_str());
        EXPECT_EQ(sd->Nprimaries, c.fields);
        EXPECT_EQ(SM_getCenter(sd), c.currents);
        EXPECT_EQ(sd->Norbits, c.orbits);
        EXPECT_EQ(sd->AdjDimension, 1);
        EXPECT_DOUBLE_EQ(sd->CentralCharge, 3.0 * c.k / (c.k + 2));
        std::set<Triple3> seen;
        for (int f = 0; f < sd->Nprimaries; f++)
            seen.insert(triple(sd, f));
        EXPECT_EQ(seen, standardTriples(c.k));
        int fixedBy = -1;
        for (int J = 1; J < SM_getCenter(sd); J++) {
            const std::size_t n = storetest::fixedFields(sd, J).size();
            EXPECT_EQ(SM_fixedPointCurrent(sd, J), n > 0 ? 1 : 0) << J;
            if (n > 0) {
                EXPECT_EQ(fixedBy, -1) << "a second current with fixed points";
                fixedBy = J;
                EXPECT_EQ(static_cast<int>(n), c.fixedPoints);
            }
        }
        EXPECT_EQ(fixedBy, c.fixedCurrent);
        EXPECT_EQ(sd->FCFTnumber, c.fixedPoints > 0 ? 1 : 0);
        if (c.fixedPoints > 0) {
            SpectrumData* F = SM_getFCFT(sd, c.fixedCurrent);
            ASSERT_NE(F, nullptr);
            EXPECT_EQ(F->type, 26);
            EXPECT_EQ(F->Nprimaries, c.fixedPoints);
            EXPECT_EQ(SM_getFCFTshift(sd, c.fixedCurrent), 3 * c.k / 2);
        }
        const int super = fieldOf(sd, {0, 0, 2});
        ASSERT_GE(super, 0);
        rat h;
        SM_getRatWeight(sd, super, &h);
        EXPECT_EQ(h.num, 3);
        EXPECT_EQ(h.den, 2);
        EXPECT_EQ(sd->Dimensions[super], 2);
    }
    EXPECT_DOUBLE_EQ(block(27, 2, 1)->CentralCharge, 1.0);
}

// Unitarity of the N=2 representations: Ramond weights are at least c/24, reached by the k+1
// Ramond ground states; the NS weights are positive except for the vacuum.
TEST(MinimalBlocks, WeightsRespectTheUnitarityBounds) {
    for (int k : {1, 2, 3, 5, 8}) {
        SpectrumData* sd = block(27, 2, k);
        ASSERT_NE(sd, nullptr);
        const double c24 = sd->CentralCharge / 24.0;
        int groundStates = 0;
        for (int f = 0; f < sd->Nprimaries; f++) {
            const double h = SM_realWeight(sd, f);
            if (triple(sd, f)[2] % 2 != 0) {
                EXPECT_GT(h, c24 - 1e-12) << "level " << k << " field " << f;
                groundStates += std::abs(h - c24) < 1e-12 ? 1 : 0;
            } else {
                EXPECT_GT(h, f == 0 ? -1e-12 : 1e-12) << "level " << k << " field " << f;
            }
        }
        EXPECT_EQ(groundStates, k + 1) << "level " << k;
    }
}

// The closed rules agree with the arithmetic of the group tables: products and powers with
// the group law, the action of every current but 1 off the fixed points with the group action,
// and the stored gravitino action everywhere.
TEST(MinimalBlocks, ClosedRulesEqualTheGroupRule) {
    for (int k : {1, 2, 3, 4, 6}) {
        SCOPED_TRACE("level " + std::to_string(k));
        SpectrumData* sd = block(27, 2, k);
        ASSERT_NE(sd, nullptr);
        const int G = SM_getCenter(sd);
        for (int a = 0; a < G; a++) {
            int power = 0;
            for (int n = 0; n < 5; n++) {
                EXPECT_EQ(SM_SimpleCurrentPower(sd, a, n), power);
                power = DG_product(power, a, sd->SimpleCurrents);
            }
            for (int b = 0; b < G; b++)
                EXPECT_EQ(SM_SimpleCurrentFusion(sd, a, b), DG_product(a, b, sd->SimpleCurrents));
        }
        for (int f = 0; f < sd->Nprimaries; f++) {
            EXPECT_EQ(SM_SimpleAction(sd, 1, f), store_internal::groupAction(sd, 1, f));
            const bool fixed = 2 * triple(sd, f)[0] == k;
            for (int J = 2; J < G; J++) {
                const int closed = SM_MinimalSimpleAction(sd, J, f);
                if (fixed)
                    EXPECT_EQ(closed, -1);
                else
                    EXPECT_EQ(closed, store_internal::groupAction(sd, J, f)) << J << " " << f;
            }
        }
    }
}

int storeSize() {
    int n = 0;
    for (SpectrumData* sd = SM_getFirstAlgebra(); sd; sd = SM_nextAlgebra(sd))
        n++;
    return n;
}

// The conjugate model is a record of its own, found again by its key (also past the cache of
// the last request) and never handed out for the plain model. Conjugation keeps the fusion
// rules, so the currents act as on the plain model, and T and c change sign, so every weight and
// every monodromy charge Q_J(f) = h_J + h_f - h_Jf (mod 1) does.
TEST(MinimalBlocks, ConjugateModelIsOneRecordFoundByItsKey) {
    for (int k : {2, 3}) {
        SCOPED_TRACE("level " + std::to_string(k));
        SpectrumData* other = block(1, 1, 1);
        SpectrumData* plain = block(27, 2, k);
        SpectrumData* conj = block(-73, 2, k);
        ASSERT_TRUE(plain && conj);
        EXPECT_NE(conj, plain);
        EXPECT_EQ(conj->type, -73);
        const int records = storeSize();
        EXPECT_EQ(SM_getData(-73, 2, k), conj);
        EXPECT_EQ(SM_getData(1, 1, 1), other);
        EXPECT_EQ(SM_getData(-73, 2, k), conj);
        EXPECT_EQ(SM_getData(27, 2, k), plain);
        EXPECT_EQ(storeSize(), records);
        EXPECT_NE(std::string(SM_getAlgebraName(conj)).find("(Compl.)"), std::string::npos);
        EXPECT_DOUBLE_EQ(SM_getCentralCharge(conj), -3.0 * k / (k + 2));
        ASSERT_EQ(conj->Nprimaries, plain->Nprimaries);
        for (int f = 0; f < conj->Nprimaries; f++) {
            EXPECT_DOUBLE_EQ(SM_realWeight(conj, f), -SM_realWeight(plain, f)) << f;
            EXPECT_EQ(SM_SimpleAction(conj, 1, f), SM_SimpleAction(plain, 1, f)) << f;
            rat q, qc;
            SM_getRatCharge(plain, 1, f, &q);
            SM_getRatCharge(conj, 1, f, &qc);
            // q + qc is an integer: q*qc.den + qc.num*q.den divisible by q.den*qc.den.
            const long long sum =
                static_cast<long long>(q.num) * qc.den + static_cast<long long>(qc.num) * q.den;
            EXPECT_EQ(sum % (static_cast<long long>(q.den) * qc.den), 0) << f;
        }
    }
}

// J = (0, 1, 1) adds (1, 1) to (m, s) up to the identification.
TEST(MinimalBlocks, GravitinoShiftsMAndS) {
    const int k = 3;
    SpectrumData* sd = block(27, 2, k);
    ASSERT_NE(sd, nullptr);
    for (int f = 0; f < sd->Nprimaries; f++) {
        Triple3 t = triple(sd, f);
        t[1] += 1;
        t[2] += 1;
        SM_minimalStandardForm(k, &t[0], &t[1], &t[2]);
        EXPECT_EQ(triple(sd, SM_SimpleAction(sd, 1, f)), t);
    }
}

// Conjugation negates (m, s); the table made orbit by orbit is what the search finds field by
// field, and conjugation is an involution.
TEST(MinimalBlocks, ConjugatesNegateMAndS) {
    for (int k : {1, 2, 4, 5}) {
        SpectrumData* sd = block(27, 2, k);
        ASSERT_NE(sd, nullptr);
        for (int f = 0; f < sd->Nprimaries; f++) {
            const int c = SM_getConjugate(sd, f);
            ASSERT_GE(c, 0);
            EXPECT_EQ(c, SM_MinimalConjugate(sd, f)) << "level " << k << " field " << f;
            EXPECT_EQ(SM_getConjugate(sd, c), f);
            Triple3 t = triple(sd, f);
            int l = t[0], m = -t[1], s = -t[2];
            SM_minimalStandardForm(k, &l, &m, &s);
            EXPECT_EQ(triple(sd, c), (Triple3{l, m, s}));
        }
    }
}

TEST(MinimalBlocks, ConjugateOfOtherKindsIsRefused) {
    SpectrumData* a1 = block(1, 1, 2);
    int c = 0;
    const std::string err = reportsOf([&] { c = SM_MinimalConjugate(a1, 1); });
    EXPECT_EQ(c, -1);
    EXPECT_NE(err.find("Invalid input data"), std::string::npos);
}

// The block is graded by (0, 0, 2): the NS fields are those of even s.
TEST(MinimalBlocks, GradedByTheSupercurrent) {
    for (int k : {1, 2, 4}) {
        SpectrumData* sd = block(27, 2, k);
        ASSERT_NE(sd, nullptr);
        EXPECT_EQ(sd->graded, 1);
        EXPECT_EQ(triple(sd, sd->gradecurr), (Triple3{0, 0, 2}));
        for (int f = 0; f < sd->Nprimaries; f++)
            EXPECT_EQ(sd->grade[f], triple(sd, f)[2] % 2 == 0 ? 'N' : 'R') << k << " " << f;
    }
}

// The fixed-point theory of an even level has a unitary S matrix, and its S^J relates the
// fixed points as the resolution requires: S^J squared is the conjugation up to the phase of
// the current.
TEST(MinimalBlocks, FixedPointTheoryHasAUnitaryS) {
    for (int k : {2, 4, 6}) {
        SpectrumData* sd = block(27, 2, k);
        ASSERT_NE(sd, nullptr);
        SpectrumData* F = SM_getFCFT(sd, sd->FixedPointCurrents[0]);
        ASSERT_NE(F, nullptr);
        const int n = F->Nprimaries;
        for (int i = 0; i < n; i++)
            for (int j = 0; j < n; j++) {
                cplx sum = 0.0;
                for (int m = 0; m < n; m++) {
                    double ar = 0, ai = 0, br = 0, bi = 0;
                    SM_getS(F, i, m, &ar, &ai);
                    SM_getS(F, j, m, &br, &bi);
                    sum += cplx(ar, ai) * std::conj(cplx(br, bi));
                }
                EXPECT_LT(std::abs(sum - (i == j ? 1.0 : 0.0)), 1e-9) << k << ": " << i << j;
            }
    }
}

TEST(MinimalBlocks, CharacterTableOnlyUpToLevel499) {
    SpectrumData* small = block(27, 2, 9);
    ASSERT_NE(small, nullptr);
    rat D;
    DG_character(small->SimpleCurrents, 1, 1, &D);
    EXPECT_EQ(small->SimpleCurrents->CharStored, 1);
    SpectrumData* large = block(27, 2, 500);
    ASSERT_NE(large, nullptr);
    DG_character(large->SimpleCurrents, 1, 1, &D);
    EXPECT_EQ(large->SimpleCurrents->CharStored, -2);
    EXPECT_EQ(D.num * 1004, D.den); // 1/(2k+4) for the generator of the cyclic factor
}

TEST(MinimalBlocks, OnlyRankTwoIsAModel) {
    SpectrumData* sd = nullptr;
    reportsOf([&] { sd = SM_getData(27, 3, 1); });
    EXPECT_EQ(sd, nullptr);
    EXPECT_EQ(SM_getData(27, 2, 5), SM_getData(27, 2, 5));
}

// ---- Exceptional invariants ----

int ones(int mode, int N) {
    int count = 0;
    for (int i = 0; i < N; i++)
        for (int j = 0; j < N; j++)
            count += ExceptionalModularMatrix(i, j, mode);
    return count;
}

// A 0/1 matrix commutes with T when it only couples fields of equal weight modulo 1, and with S
// when sum_a M_ia S_aj = sum_b S_ib M_bj.
void expectInvariant(SpectrumData* sd, int mode) {
    const int N = sd->Nprimaries;
    std::vector<std::vector<int>> partners(N), column(N);
    for (int i = 0; i < N; i++)
        for (int j = 0; j < N; j++)
            if (ExceptionalModularMatrix(i, j, mode)) {
                partners[i].push_back(j);
                column[j].push_back(i);
                EXPECT_EQ(mod(sd->Weight_num[i] - sd->Weight_num[j], sd->Weight_denom), 0)
                    << "mode " << mode << " " << i << "," << j;
            }
    auto S = [sd](int a, int b) {
        double re = 0, im = 0;
        SM_getS(sd, a, b, &re, &im);
        return cplx(re, im);
    };
    for (int i = 0; i < N; i++)
        for (int j = 0; j < N; j++) {
            cplx left = 0.0, right = 0.0;
            for (int a : partners[i])
                left += S(a, j);
            for (int b : column[j])
                right += S(i, b);
            ASSERT_LT(std::abs(left - right), 1e-9) << "mode " << mode << " " << i << "," << j;
        }
}

TEST(ExceptionalMatrices, CountsOfTheE6E7E8Invariants) {
    EXPECT_EQ(ones(1, 11), 12);
    EXPECT_EQ(ones(2, 17), 17);
    EXPECT_EQ(ones(3, 29), 32);
    EXPECT_EQ(ones(4, block(27, 2, 10)->Nprimaries), 288);
    EXPECT_EQ(ones(5, block(27, 2, 16)->Nprimaries), 612);
    EXPECT_EQ(ones(6, block(27, 2, 28)->Nprimaries), 1920);
}

TEST(ExceptionalMatrices, DiagonalAndUnknownModes) {
    for (int i = 0; i < 6; i++)
        for (int j = 0; j < 6; j++) {
            EXPECT_EQ(ExceptionalModularMatrix(i, j, 0), i == j ? 1 : 0);
            EXPECT_EQ(ExceptionalModularMatrix(i, j, 7), 0);
        }
}

// The A1 modes read the store's labels: l of field 2j is j, of field 2j+1 is k-j.
TEST(ExceptionalMatrices, A1ModesCoupleTheLabelsOfTheInvariants) {
    SpectrumData* sd = block(1, 1, 10);
    ASSERT_NE(sd, nullptr);
    const std::set<std::set<int>> e6{{0, 6}, {4, 10}, {3, 7}};
    for (int i = 0; i <= 10; i++)
        for (int j = 0; j <= 10; j++) {
            const int li = SM_getRep(sd, i)[0], lj = SM_getRep(sd, j)[0];
            bool together = false;
            for (const auto& block : e6)
                together = together || (block.count(li) && block.count(lj));
            EXPECT_EQ(ExceptionalModularMatrix(i, j, 1), together ? 1 : 0) << li << " " << lj;
        }
}

TEST(ExceptionalMatrices, EveryModeCommutesWithSAndT) {
    const int levels[3] = {10, 16, 28};
    for (int mode = 1; mode <= 6; mode++) {
        const int k = levels[(mode - 1) % 3];
        expectInvariant(block(mode <= 3 ? 1 : 27, mode <= 3 ? 1 : 2, k), mode);
    }
}

// Level 10: l = 0 couples to l = 6 with the same (m, s) but not to l = 4; (6, 7, 1) couples to
// the field (0, 7, 1), whose standard form (10, -5, -1) is reached through the identification.
TEST(ExceptionalMatrices, N2LevelTenCouplings) {
    SpectrumData* sd = block(27, 2, 10);
    ASSERT_NE(sd, nullptr);
    const int vacuum = fieldOf(sd, {0, 0, 0});
    EXPECT_EQ(ExceptionalModularMatrix(vacuum, fieldOf(sd, {6, 0, 0}), 4), 1);
    EXPECT_EQ(ExceptionalModularMatrix(vacuum, fieldOf(sd, {4, 0, 0}), 4), 0);
    const int a = fieldOf(sd, {6, 7, 1});
    ASSERT_GE(a, 0);
    EXPECT_EQ(ExceptionalModularMatrix(a, fieldOf(sd, {10, -5, -1}), 4), 1);
    EXPECT_EQ(ExceptionalModularMatrix(fieldOf(sd, {10, -5, -1}), a, 4), 1);
    EXPECT_EQ(ExceptionalModularMatrix(a, fieldOf(sd, {10, -5, 1}), 4), 0);
    int Q = 0, S = 0;
    EXPECT_EQ(getAffineRep(fieldOf(sd, {3, -2, 1}), 10, &Q, &S), 3);
    EXPECT_EQ(Q, -2);
    EXPECT_EQ(S, 1);
    EXPECT_EQ(getAffineRep(sd->Nprimaries, 10, &Q, &S), -1);
}

} // namespace
