// S and T of extended products against modular data known independently: the S matrices of
// su(3)_1, so(8)_1, su(4)_1 and the Ising model, the closed form of su(2)_k for the D-series, and
// for a table of products the relations every modular S and T obey (unitarity, symmetry,
// S^2 = C, (ST)^3 = S^2, non-negative integer fusion, simple currents acting as fusion does).
#include "TensorTestHelpers.h"

#include "tensor/Coset.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <complex>
#include <numbers>
#include <numeric>
#include <string>
#include <vector>

using namespace tensortest;

namespace {

using V = std::vector<int>;
using Complex = std::complex<double>;

constexpr double Pi = std::numbers::pi;
constexpr double Tight = 1e-9;

struct Factor {
    int type, rank, level, gh;
};

struct Theory {
    const char* name;
    std::vector<Factor> factors;
    std::vector<V> currents;
};

Factor A(int rank, int level, int gh = 0) {
    return {1, rank, level, gh};
}

class CosetModular : public TensorTest {
protected:
    void TearDown() override {
        setIntPar("Trace_resolution", 0);
        TensorTest::TearDown();
    }
    void build(const Theory& t) {
        resetCoset(TP);
        for (const Factor& f : t.factors)
            addTensorFactor(TP, block(f.type, f.rank, f.level), f.gh);
        for (const V& c : t.currents)
            ASSERT_EQ(addNewCurrent(TP, c.data()), 0) << t.name;
        ASSERT_EQ(computeTensorSpectrum(TP), 0) << t.name;
    }
    int n() { return *NumberOfTensorPrimaries(TP); }
    Complex S(int i, int j) { return element(getCosetS, TP, i, j); }
    Complex T(int i) { return element(getCosetT, TP, i, i); }
    Matrix matrixS() {
        Matrix m(n(), std::vector<Complex>(n()));
        for (int i = 0; i < n(); i++)
            for (int j = 0; j < n(); j++)
                m[i][j] = S(i, j);
        return m;
    }
    V labels(int r) {
        const int* f = TensorField(TP, r);
        return V(f, f + TP->NTensor);
    }
    // Fields are known up to the order of the resolved fields of one fixed point.
    bool equalUpToResolvedOrder(const Matrix& known) {
        const int N = n();
        if (static_cast<int>(known.size()) != N)
            return false;
        V p(N);
        std::iota(p.begin(), p.end(), 0);
        do {
            bool admissible = true;
            for (int i = 0; i < N && admissible; i++)
                admissible = labels(i) == labels(p[i]);
            if (!admissible)
                continue;
            bool same = true;
            for (int i = 0; i < N && same; i++)
                for (int j = 0; j < N && same; j++)
                    same = std::abs(S(p[i], p[j]) - known[i][j]) < Tight;
            if (same)
                return true;
        } while (std::next_permutation(p.begin(), p.end()));
        return false;
    }
};

// su(2) at level k between Dynkin labels l and m.
double su2S(int k, int l, int m) {
    return std::sqrt(2.0 / (k + 2)) * std::sin(Pi * (l + 1) * (m + 1) / (k + 2));
}

TEST_F(CosetModular, KnownMatricesUpToTheOrderOfResolvedFields) {
    const double r3 = 1.0 / std::sqrt(3.0), r2 = std::sqrt(2.0);
    const Complex w = std::polar(1.0, 2 * Pi / 3), I(0, 1);
    struct Case {
        Theory theory;
        Matrix S;
    } cases[] = {
        {{"su(3)_1", {A(1, 4)}, {{1}}},
         {{r3, r3, r3}, {r3, r3 * w, r3 * w * w}, {r3, r3 * w * w, r3 * w}}},
        {{"so(8)_1", {A(2, 3)}, {{1}}},
         {{.5, .5, .5, .5}, {.5, .5, -.5, -.5}, {.5, -.5, .5, -.5}, {.5, -.5, -.5, .5}}},
        {{"su(4)_1", {A(1, 2), A(1, 2)}, {{1, 1}}},
         {{.5, .5, .5, .5},
          {.5, .5, -.5, -.5},
          {.5, -.5, .5 * I, -.5 * I},
          {.5, -.5, -.5 * I, .5 * I}}},
        {{"Ising", {A(1, 1), A(1, 1), A(1, 2, 1)}, {{1, 1, 1}}},
         {{.5, .5, r2 / 2}, {.5, .5, -r2 / 2}, {r2 / 2, -r2 / 2, 0}}},
    };
    for (const Case& c : cases) {
        build(c.theory);
        EXPECT_TRUE(equalUpToResolvedOrder(c.S)) << c.theory.name;
    }
}

// A1_k extended by J, k = 4m: between fields that are no fixed points S is twice su(2)'s, between
// such a field and a resolved one it is su(2)'s with the fixed point k/2; T is exp 2 pi i (h -
// c/24) with h = l(l+2)/4(k+2) and c = 3k/(k+2).
TEST_F(CosetModular, DSeriesAgainstTheClosedFormOfSu2) {
    for (int k : {8, 12, 16, 28}) {
        build({"D-series", {A(1, k)}, {{1}}});
        SpectrumData* sd = TP->TensorFactors[0];
        auto dynkin = [&](int r) { return SM_getRep(sd, labels(r)[0])[0]; };
        auto resolved = [&](int r) { return TP->Stabilizers[r]->dg->Order == 2; };
        int resolvedFields = 0, selfConjugateResolved = 0;
        for (int a = 0; a < n(); a++) {
            const int l = dynkin(a);
            const double c = 3.0 * k / (k + 2);
            const double h = l * (l + 2) / (4.0 * (k + 2));
            EXPECT_LT(std::abs(T(a) - std::polar(1.0, 2 * Pi * (h - c / 24))), Tight) << k;
            if (resolved(a)) {
                resolvedFields++;
                selfConjugateResolved += getTensorConjugate(TP, a) == a;
            }
            for (int b = 0; b < n(); b++) {
                if (resolved(a) && resolved(b))
                    continue;
                const double weight = resolved(a) || resolved(b) ? 1.0 : 2.0;
                const double expected = weight * su2S(k, dynkin(a), dynkin(b));
                EXPECT_LT(std::abs(S(a, b) - expected), Tight) << k << ": " << a << "," << b;
            }
        }
        EXPECT_EQ(resolvedFields, 2) << k;
        // The resolved fields are real for k = 0 mod 8 and complex conjugate to each other for
        // k = 4 mod 8, as for su(3)_1 at k = 4.
        EXPECT_EQ(selfConjugateResolved, k % 8 == 0 ? 2 : 0) << k;
    }
}

// The relations of modular data, on a table of products with fixed points of every kind: none,
// fixed by an extension current (resolved), fixed by the untwisted Z2 x Z2 of two currents, fixed
// by simple currents of the extended product, and a coset.
TEST_F(CosetModular, ModularRelationsOfExtendedProducts) {
    const Theory theories[] = {
        {"su(3)_1", {A(1, 4)}, {{1}}},
        {"A1_8 / J", {A(1, 8)}, {{1}}},
        {"A1_12 / J", {A(1, 12)}, {{1}}},
        {"A1_16 / J", {A(1, 16)}, {{1}}},
        {"A1_28 / J", {A(1, 28)}, {{1}}},
        {"so(8)_1", {A(2, 3)}, {{1}}},
        {"su(4)_1", {A(1, 2), A(1, 2)}, {{1, 1}}},
        {"(A1_2)^2", {A(1, 2), A(1, 2)}, {}},
        {"A1_2 x A2_1", {A(1, 2), A(2, 1)}, {}},
        {"(A1_4)^2 / (J,J)", {A(1, 4), A(1, 4)}, {{1, 1}}},
        {"(A1_2)^4 / (J,J,J,J)", {A(1, 2), A(1, 2), A(1, 2), A(1, 2)}, {{1, 1, 1, 1}}},
        {"(A1_2)^4 / (J,J,0,0), (0,0,J,J)",
         {A(1, 2), A(1, 2), A(1, 2), A(1, 2)},
         {{1, 1, 0, 0}, {0, 0, 1, 1}}},
        {"Ising", {A(1, 1), A(1, 1), A(1, 2, 1)}, {{1, 1, 1}}},
        {"A1_2 x A1_2 / A1_4", {A(1, 2), A(1, 2), A(1, 4, 1)}, {{1, 1, 1}}},
    };
    for (const Theory& t : theories) {
        build(t);
        const int N = n();
        const Matrix s = matrixS();
        Matrix st = s;
        for (int i = 0; i < N; i++)
            for (int j = 0; j < N; j++)
                st[i][j] *= T(j);
        const Matrix s2 = product(s, s);
        const Matrix st3 = product(product(st, st), st);
        double unitary = 0, symmetric = 0, modular = 0;
        for (int i = 0; i < N; i++)
            for (int j = 0; j < N; j++) {
                Complex u = 0;
                for (int k = 0; k < N; k++)
                    u += s[i][k] * std::conj(s[j][k]);
                unitary = std::max(unitary, std::abs(u - (i == j ? 1.0 : 0.0)));
                symmetric = std::max(symmetric, std::abs(s[i][j] - s[j][i]));
                modular = std::max(modular, std::abs(st3[i][j] - s2[i][j]));
            }
        EXPECT_LT(unitary, Tight) << t.name;
        EXPECT_LT(symmetric, Tight) << t.name;
        EXPECT_LT(modular, Tight) << t.name;
        // S^2 is the conjugation, and that is what the fields' conjugates are.
        for (int i = 0; i < N; i++) {
            const int c = getTensorConjugate(TP, i);
            ASSERT_GE(c, 0) << t.name << " " << i;
            for (int j = 0; j < N; j++)
                EXPECT_LT(std::abs(s2[i][j] - (j == c ? 1.0 : 0.0)), Tight) << t.name;
        }
        // Fusion: non-negative integers, and a simple current takes a field to one field.
        for (int i = 0; i < N; i++)
            for (int j = 0; j < N; j++)
                for (int k = 0; k < N; k++) {
                    Complex f = 0;
                    for (int m = 0; m < N; m++)
                        f += s[i][m] * s[j][m] * std::conj(s[k][m]) / s[0][m];
                    const double r = std::round(f.real());
                    ASSERT_LT(std::abs(f - r), 1e-7) << t.name << " " << i << j << k;
                    ASSERT_GE(r, 0.0) << t.name;
                    if (i < TP->TensorSimpleCurrentOrder) {
                        EXPECT_EQ(r, simpleCurrentAction(i, j, TP) == k ? 1.0 : 0.0)
                            << t.name << ": " << i << " x " << j << " -> " << k;
                    }
                }
    }
}

// The weight-1/2 current of su(4)_1 exchanges the 4 and the 4-bar, which share their labels: only
// the twist against their stabilizer tells which is which.
TEST_F(CosetModular, CurrentActionOnResolvedFieldsOfSu4) {
    build({"su(4)_1", {A(1, 2), A(1, 2)}, {{1, 1}}});
    ASSERT_EQ(labels(2), labels(3));
    EXPECT_EQ(simpleCurrentAction(1, 2, TP), 3);
    EXPECT_EQ(simpleCurrentAction(1, 3, TP), 2);
    EXPECT_EQ(simpleCurrentAction(1, 1, TP), 0);
    EXPECT_EQ(simpleCurrentAction(0, 3, TP), 3);
}

// A resolved field carrying a label outside its untwisted stabilizer has no image under a twisted
// current: -1 after the report, not the untwisted image.
TEST_F(CosetModular, CurrentActionOnALabelOutsideTheStabilizer) {
    build({"su(4)_1", {A(1, 2), A(1, 2)}, {{1, 1}}});
    TensorField(TP, 3)[2] = 7;
    balanceVectorCollection(TP->TensorSpectrum);
    Captured cap;
    EXPECT_EQ(simpleCurrentAction(1, 3, TP), -1);
    EXPECT_TRUE(has(cap.err(), "Label not found")) << cap.err();
}

// T of a coset field: the numerator's T times the conjugate of the denominator's, exp 2 pi i (h -
// c/24) with c = 1/2 for the Ising model; its root squares to it; resolved fields share their T.
TEST_F(CosetModular, TOfCosetAndResolvedFields) {
    build({"Ising", {A(1, 1), A(1, 1), A(1, 2, 1)}, {{1, 1, 1}}});
    for (int a = 0; a < n(); a++) {
        rat h;
        TensorRatWeight(TP, TensorField(TP, a), &h);
        const double phase = static_cast<double>(h.num) / h.den - 0.5 / 24;
        EXPECT_LT(std::abs(T(a) - std::polar(1.0, 2 * Pi * phase)), Tight) << a;
        EXPECT_LT(std::abs(std::polar(1.0, 2 * Pi * getCosetLogT(TP, a)) - T(a)), Tight) << a;
        double re = 0, im = 0;
        getCosetrootT(TP, a, a, &re, &im);
        EXPECT_LT(std::abs(Complex(re, im) * Complex(re, im) - T(a)), Tight) << a;
        getCosetT(TP, a, (a + 1) % n(), &re, &im);
        EXPECT_EQ(Complex(re, im), Complex(0, 0));
    }
    EXPECT_NEAR(getCosetLogT(TP, 0), -1.0 / 48, Tight);
    build({"su(3)_1", {A(1, 4)}, {{1}}});
    EXPECT_EQ(T(1), T(2));
}

// "Trace_resolution" prints each term of the sum over the common stabilizer and changes nothing.
TEST_F(CosetModular, TraceOfTheResolution) {
    build({"su(3)_1", {A(1, 4)}, {{1}}});
    const Complex plain = S(1, 2);
    setIntPar("Trace_resolution", 1);
    Captured cap;
    const Complex traced = S(1, 2);
    EXPECT_EQ(traced, plain);
    const std::string out = cap.out();
    EXPECT_EQ(std::count(out.begin(), out.end(), '\n'), 2) << out;
    EXPECT_EQ(out.rfind("J=0:  (", 0), 0u) << out;
    EXPECT_TRUE(has(out, "\nJ=1:  (")) << out;
    // One term for a field without fixed points.
    Captured single;
    S(0, 1);
    EXPECT_EQ(single.out().rfind("J=0:", 0), 0u);
    EXPECT_FALSE(has(single.out(), "J=1"));
}

// A stabilizer element whose component has no fixed-point theory: the element is 0 after the
// report. A1 at level 3 has none for J; the chiral algebra and type are made by hand.
TEST_F(CosetModular, StabilizerElementWithoutFixedPointTheory) {
    addTensorFactor(TP, block(1, 1, 3), 0);
    TP->InputDataChanged = 0;
    initVectorCollection(TP->ChiralAlgebra, 1, 10);
    for (int J : {0, 1})
        addVectorToCollection(TP->ChiralAlgebra, &J);
    storeSpectrum(TP, {{0, 0}, {1, 0}});
    V U{0, 1};
    FPType* fp = getFP(2, U.data(), U.data(), 2, 2, getFirstFP(TP), TP, chiralProduct);
    TP->Stabilizers.reserve(2);
    TP->Stabilizers[0] = trivialFP(getFirstFP(TP));
    TP->Stabilizers[1] = fp;
    Captured cap;
    EXPECT_EQ(S(1, 1), Complex(0, 0));
    EXPECT_TRUE(has(cap.err(), "Field not fixed by its stabilizer")) << cap.err();
    freeFP(getFirstFP(TP));
}

// Conjugates are made for every row at once and made again after any change of the input, also
// after a restricted computation that kept fewer rows.
TEST_F(CosetModular, ConjugatesFollowTheRows) {
    build({"su(4)_1", {A(1, 2), A(1, 2)}, {{1, 1}}});
    EXPECT_EQ(CT_ConjugatesAvailable(TP), 1);
    const V expected{0, 1, 3, 2};
    for (int i = 0; i < n(); i++)
        EXPECT_EQ(CT_getConjugate(TP, i), expected[i]);
    EXPECT_EQ(TP->ConjugAvailable, 1);
    char text[16];
    CT_getConjString(text, TP, 2);
    EXPECT_EQ(std::string(text), "3");
    // A1_16 / J: the massless pass drops the resolved fields of weight 10/9.
    resetCoset(TP);
    addTensorFactor(TP, block(1, 1, 16), 0);
    const V J{1};
    addNewCurrent(TP, J.data());
    ASSERT_EQ(computeMasslessTensorSpectrum(TP), 0);
    ASSERT_EQ(n(), 4);
    CT_initConjugates(TP);
    ASSERT_EQ(computeTensorSpectrum(TP), 0);
    ASSERT_EQ(n(), 6);
    EXPECT_EQ(TP->ConjugAvailable, 0);
    for (int i = 0; i < n(); i++)
        EXPECT_EQ(CT_getConjugate(TP, i), i);
}

} // namespace
