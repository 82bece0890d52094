// The built-in invariants of the c=1 orbifold of parameter N: which are offered for N = 4 to 12,
// and that each one is a modular invariant (it commutes with S and T, has Z(0,0) = 1 and
// non-negative entries). The extension by M^2 is the orbifold of parameter N/M^2 written in the
// fields of the one of parameter N.
#include "InvariantsTestHelpers.h"

#include "lie/Galois.h"
#include "modular/Invariants.h"
#include "modular/Modular.h"
#include "store/Storemanager.h"

#include <gtest/gtest.h>

#include <complex>
#include <numeric>
#include <string>
#include <vector>

using namespace invtest;

namespace {

struct Offer {
    std::vector<int> Z;
    int check;
};
std::vector<Offer> offers;
int offerSize = 0;

int recordOffer(int* Z, int check, int, int, int) {
    offers.push_back({std::vector<int>(Z, Z + offerSize * offerSize), check});
    return 1;
}

class OrbifoldInvariants : public InvariantsTest {
protected:
    // Runs the built-in search on the orbifold of parameter N with the recorder installed.
    void search(int N) {
        useTheory(7, N, 0);
        offers.clear();
        offerSize = N + 7;
        const AcceptCandidateInvariant previous = setAcceptCandidateInvariant(recordOffer);
        outputOf([] { searchInvariants(); });
        setAcceptCandidateInvariant(previous);
    }
};

bool isPermutation(const std::vector<int>& Z, int n) {
    for (int i = 0; i < n; i++) {
        int row = 0, column = 0;
        for (int j = 0; j < n; j++) {
            row += Z[static_cast<std::size_t>(i) * n + j];
            column += Z[static_cast<std::size_t>(j) * n + i];
        }
        if (row != 1 || column != 1)
            return false;
    }
    return true;
}

void expectModularInvariant(const std::vector<int>& Z, int n) {
    EXPECT_EQ(Z[0], 1);
    for (int z : Z)
        EXPECT_GE(z, 0);
    std::vector<std::complex<double>> S(static_cast<std::size_t>(n) * n);
    for (int i = 0; i < n; i++)
        for (int j = 0; j < n; j++)
            S[static_cast<std::size_t>(i) * n + j] = modulartest::S(i, j);
    for (int i = 0; i < n; i++)
        for (int j = 0; j < n; j++) {
            std::complex<double> zs = 0.0, sz = 0.0;
            for (int k = 0; k < n; k++) {
                zs += static_cast<double>(Z[static_cast<std::size_t>(i) * n + k]) *
                      S[static_cast<std::size_t>(k) * n + j];
                sz += S[static_cast<std::size_t>(i) * n + k] *
                      static_cast<double>(Z[static_cast<std::size_t>(k) * n + j]);
            }
            EXPECT_LT(std::abs(zs - sz), 1e-9) << "ZS != SZ at " << i << "," << j;
            if (Z[static_cast<std::size_t>(i) * n + j] != 0) {
                const double dh = MOD_realWeight(i) - MOD_realWeight(j);
                EXPECT_NEAR(dh, std::round(dh), 1e-12) << "ZT != TZ at " << i << "," << j;
            }
        }
}

int entrySum(const std::vector<int>& Z) {
    return std::accumulate(Z.begin(), Z.end(), 0);
}

// Expected offers in order: 'p' a permutation (offered unchecked), a number the entry sum of an
// extension (offered for the check).
TEST_F(OrbifoldInvariants, OfferedInvariantsAreModularInvariants) {
    struct Case {
        int N;
        std::vector<int> expected; // 0: permutation
    } cases[] = {{4, {0}},     {6, {0, 0}}, {8, {0, 18}},     {9, {20}},
                 {10, {0, 0}}, {7, {}},     {12, {0, 0, 22}}, {5, {}}};
    for (const Case& c : cases) {
        SCOPED_TRACE("N = " + std::to_string(c.N));
        search(c.N);
        const int n = c.N + 7;
        ASSERT_EQ(offers.size(), c.expected.size());
        for (std::size_t k = 0; k < offers.size(); k++) {
            const Offer& o = offers[k];
            if (c.expected[k] == 0) {
                EXPECT_TRUE(isPermutation(o.Z, n)) << k;
                EXPECT_NE(o.Z, [&] {
                    std::vector<int> id(static_cast<std::size_t>(n) * n, 0);
                    for (int i = 0; i < n; i++)
                        id[static_cast<std::size_t>(i) * n + i] = 1;
                    return id;
                }()) << k;
                EXPECT_EQ(o.check, 0);
            } else {
                EXPECT_EQ(entrySum(o.Z), c.expected[k]) << k;
                EXPECT_EQ(o.check, 1);
            }
            expectModularInvariant(o.Z, n);
        }
    }
}

// In the even extension the fields of charge (2j+1) N/M and the twist fields N+3, N+4 come twice.
TEST_F(OrbifoldInvariants, EvenExtensionCarriesTheResolvedFieldsTwice) {
    search(8);
    ASSERT_EQ(offers.size(), 2u);
    const std::vector<int>& Z = offers[1].Z;
    const int n = 15, middle = getOrbifoldFieldWithCharge(4);
    EXPECT_EQ(Z[static_cast<std::size_t>(middle) * n + middle], 2);
    EXPECT_EQ(Z[11 * n + 11], 2);
    EXPECT_EQ(Z[12 * n + 12], 2);
    EXPECT_EQ(Z[13 * n + 13], 0);
    EXPECT_EQ(Z[14 * n + 14], 0);
}

TEST_F(OrbifoldInvariants, ChargesOfTheFields) {
    useTheory(7, 6, 0);
    SpectrumData* sd = getCurrentSD();
    EXPECT_EQ(orbifoldCharge(0), 0);
    EXPECT_EQ(orbifoldCharge(2), 0);
    EXPECT_EQ(orbifoldCharge(1), 6);
    EXPECT_EQ(orbifoldCharge(3), 6);
    for (int x = 1; x < 6; x++) {
        const int f = getOrbifoldFieldWithCharge(x);
        EXPECT_EQ(SM_getRep(sd, f)[0], 1);
        EXPECT_EQ(SM_getRep(sd, f)[1], x);
        EXPECT_EQ(orbifoldCharge(f), x);
        // The weight of (1, x) is x^2 / 4N.
        EXPECT_NEAR(MOD_realWeight(f), x * x / 24.0, 1e-12);
    }
    for (int twist = 9; twist <= 12; twist++)
        EXPECT_EQ(orbifoldCharge(twist), 0);
    int field = -1;
    const std::string reports =
        modulartest::reportsOf([&] { field = getOrbifoldFieldWithCharge(6); });
    EXPECT_EQ(field, 0);
    EXPECT_NE(reports.find("Orbifold field not found or ambiguous"), std::string::npos);
}

TEST_F(OrbifoldInvariants, OtherTheoriesGetNothing) {
    useTheory(1, 1, 10);
    offers.clear();
    offerSize = 11;
    const AcceptCandidateInvariant previous = setAcceptCandidateInvariant(recordOffer);
    const auto [out, err] = outputOf([] { searchInvariants(); });
    setAcceptCandidateInvariant(previous);
    EXPECT_TRUE(offers.empty());
    EXPECT_EQ(out, "");
    EXPECT_EQ(err, "");
    EXPECT_EQ(orbifoldCharge(1), 0);
}

} // namespace
