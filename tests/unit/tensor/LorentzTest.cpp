// Lorentz representations of massless states: light-cone degrees of freedom against the
// representation theory of the little group SO(D-2), products of the covariant-lattice classes
// (which must give every state of the tensor product once), and the type II and six-dimensional
// multiplets.
#include "TensorTestHelpers.h"

#include "tensor/Branching.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

using namespace tensortest;

namespace {

using V = std::vector<int>;

long long choose(int n, int k) {
    if (k < 0 || k > n)
        return 0;
    long long b = 1;
    for (int i = 0; i < k; i++)
        b = b * (n - i) / (i + 1);
    return b;
}

// The smallest spinor of the little group SO(n), n = D - 2: 2^((n-1)/2) for odd n, the Weyl
// spinor 2^(n/2-1) for even n.
int spinorDOF(int D) {
    const int n = D - 2;
    return n % 2 == 1 ? 1 << ((n - 1) / 2) : 1 << (n / 2 - 1);
}

double halved(int D, int index) {
    return lightconeDim(D, index) / 2.0;
}

TEST(Lorentz, DegreesOfFreedomOfTheLittleGroup) {
    for (int D = 3; D <= 26; D++) {
        const int n = D - 2;
        EXPECT_EQ(halved(D, 0), 1) << D;
        EXPECT_EQ(halved(D, 2), n) << D;
        EXPECT_EQ(halved(D, 4), n * (n + 1) / 2 - 1) << D << ": symmetric traceless";
        EXPECT_EQ(halved(D, 5), choose(n, 2)) << D;
        EXPECT_EQ(halved(D, 6), 1) << D;
        for (int k = 0; k + 11 < D + 10; k++)
            EXPECT_EQ(halved(D, 11 + k), choose(n, k)) << D << " form " << k;
        EXPECT_EQ(halved(D, 1), spinorDOF(D)) << D;
        // A gamma-traceless vector-spinor.
        EXPECT_EQ(halved(D, 7), (n - 1) * halved(D, 1)) << D;
        if (D % 2 == 0)
            EXPECT_EQ(halved(D, 9), choose(n, n / 2) / 2.0) << D << ": self-dual half";
        else
            EXPECT_EQ(lightconeDim(D, 9), 0) << D;
    }
}

TEST(Lorentz, TableCells) {
    const struct {
        int dim, index;
        const char* notation;
        const char* meaning;
        const char* dof;
    } cases[] = {
        {10, 1, "F+", "Chiral spinor", "8"},
        {10, 9, "A+", "Self-dual tensor (rank 4)", "35"},
        {10, 10, "A-", "Anti-selfdual tensor (rank 4)", "35"},
        {10, 14, "A3", "3-form RR-field", "56"},
        {9, 1, "F", "Spinor", "8"},
        {9, 3, "--", "- NOT USED -", "-"},
        {9, 8, "--", "- NOT USED -", "-"},
        {9, 10, "--", "- NOT USED -", "-"},
        {9, 7, "FV", "Gravitino", "48"},
        {4, 5, "B2", "B-tensor (axion)", "1"},
        {4, 11, "A0", "Scalar RR-field", "1"},
        {6, 12, "A1", "Vector RR-field", "4"},
        {2, 1, "F+", "Chiral spinor", "1/2"},
        {26, 17, "A6", "6-form RR-field", "134596"},
    };
    for (auto c : cases) {
        char text[80];
        BR_getNotationString(text, &c.dim, c.index);
        EXPECT_STREQ(text, c.notation) << c.dim << " " << c.index;
        char* end = BR_getInterpretationString(text, &c.dim, c.index);
        EXPECT_STREQ(text, c.meaning) << c.dim << " " << c.index;
        EXPECT_EQ(end, text + std::string(c.meaning).size());
        BR_getDOFString(text, &c.dim, c.index);
        EXPECT_STREQ(text, c.dof) << c.dim << " " << c.index;
    }
}

// The slots of the class products: scalar, spinor, vector, conjugate spinor at even D; scalar,
// vector, spinor at odd D.
double slotDOF(int D, int slot) {
    if (D % 2 == 0)
        return slot == 0 ? 1 : slot == 2 ? D - 2 : halved(D, 1);
    return slot == 0 ? 1 : slot == 1 ? D - 2 : slot == 2 ? halved(D, 1) : 0;
}

double total(int D, const int* count) {
    double sum = 0;
    for (int k = 0; k < D + 10; k++)
        sum += count[k] * halved(D, k);
    return sum;
}

// The symmetric and antisymmetric parts of a product of two slots hold a(a+1)/2 and a(a-1)/2
// states, a product of two different slots a b: every form table by D mod 8 passes this.
TEST(Lorentz, ClassProductsHoldEveryState) {
    for (int D = 3; D <= 26; D++) {
        const int slots = D % 2 == 0 ? 4 : 3;
        for (int i = 0; i < slots; i++)
            for (int j = i; j < slots; j++) {
                const double a = slotDOF(D, i), b = slotDOF(D, j);
                const std::string where =
                    std::to_string(D) + " (" + std::to_string(i) + "," + std::to_string(j) + ")";
                if (i != j) {
                    EXPECT_EQ(total(D, CovLatTensor(D, i, j, 0)), a * b) << where;
                    EXPECT_EQ(total(D, CovLatTensor(D, j, i, 0)), a * b) << where;
                    continue;
                }
                EXPECT_EQ(total(D, CovLatTensor(D, i, i, 1)), a * (a + 1) / 2) << where;
                EXPECT_EQ(total(D, CovLatTensor(D, i, i, -1)), a * (a - 1) / 2) << where;
                EXPECT_EQ(total(D, CovLatTensor(D, i, i, 0)), a * a) << where;
            }
    }
}

// The symmetric and the antisymmetric product of a class-count vector with itself together give
// its whole product, for bosonic and fermionic slots and several copies of each.
TEST(Lorentz, SymmetrisationSplitsTheProduct) {
    const std::vector<V> vectors = {{0, 1, 1, 0}, {2, 0, 0, 1}, {1, 3, 2, 1}, {0, 2, 0, 0}};
    for (int D : {4, 6, 9, 10}) {
        for (const V& c : vectors) {
            const int* full = multiplySpaceTimeReps(D, 0, c.data(), c.data());
            const V whole(full, full + D + 10);
            const int* s = multiplySpaceTimeReps(D, 1, c.data(), c.data());
            V sum(s, s + D + 10);
            const int* a = multiplySpaceTimeReps(D, -1, c.data(), c.data());
            for (int k = 0; k < D + 10; k++)
                sum[static_cast<std::size_t>(k)] += a[k];
            EXPECT_EQ(sum, whole) << D;
        }
    }
    // Two copies of a chiral spinor in ten dimensions: Sym^2 of fermions is antisymmetric in the
    // spinor indices, so three 2-forms, one self-dual form and one scalar.
    const V c = {0, 2, 0, 0};
    const int* s = multiplySpaceTimeReps(10, 1, c.data(), c.data());
    EXPECT_EQ(V(s, s + 20), (V{0, 0, 0, 0, 0, 0, 0, 0, 0, 1, 0, 1, 0, 3, 0, 0, 0, 0, 0, 0}));
}

SusyType typeOf(ChiralSusyType* L, ChiralSusyType* R, int dim) {
    return SusyType{L, R, nullptr, nullptr, dim, 0, 0, 1};
}

TEST(Lorentz, TypeIIAAndIIB) {
    ChiralSusyType plus{5, 8, 1, 1}, minus{5, 8, -1, 1}, plus2 = plus;
    SusyType IIA = typeOf(&plus, &minus, 10);
    EXPECT_EQ(susyRepresentationText(-1, -1, 0, &IIA),
              "     Bosons   (128 d.o.f.):   [G2] + [B2] + [D0] + [A1] + [A3]\n"
              "     Fermions (128 d.o.f.):   [F+] + [F-] + [FV+] + [FV-]\n");
    SusyType IIB = typeOf(&plus, &plus2, 10);
    EXPECT_EQ(susyRepresentationText(-1, -1, 0, &IIB),
              "  Symmetric part: \n"
              "     Bosons   (64 d.o.f.):   [G2] + [D0] + [A2]\n"
              "     Fermions (64 d.o.f.):   [F-] + [FV+]\n"
              "  Anti-symmetric part: \n"
              "     Bosons   (64 d.o.f.):   [B2] + [A+] + [A0]\n"
              "     Fermions (64 d.o.f.):   [F-] + [FV+]\n");
    EXPECT_EQ(IIB.symmetrizable, 1);
    EXPECT_EQ(susyRepresentationText(-1, -1, -1, &IIB),
              "     Bosons   (64 d.o.f.):   [B2] + [A+] + [A0]\n"
              "     Fermions (64 d.o.f.):   [F-] + [FV+]\n");
    // Asked as a whole, the IIB product is reported reducible and holds both parts.
    Captured cap;
    const int* count = getSusyRepresentation(-1, -1, 0, &IIB);
    ASSERT_NE(count, nullptr);
    EXPECT_TRUE(has(cap.err(), "Reducible susy representation")) << cap.err();
    const V expected = {0, 0, 0, 2, 1, 1, 1, 2, 0, 1, 0, 1, 0, 1, 0, 0, 0, 0, 0, 0};
    EXPECT_EQ(V(count, count + 20), expected);
}

TEST(Lorentz, SixDimensionalMultiplets) {
    ChiralSusyType E7{5, 7, 1, 1}, bosonic{0, 0, 0, 1};
    SusyType ST = typeOf(&E7, &bosonic, 6);
    EXPECT_EQ(susyRepresentationText(1, 2, 0, &ST), "     Bosons   (2 d.o.f.):   2[S0]\n"
                                                    "     Fermions (2 d.o.f.):   [F-]\n"
                                                    "    (1/2 Hyper multiplet)\n");
    EXPECT_EQ(susyRepresentationText(-1, 2, 0, &ST), "     Bosons   (4 d.o.f.):   [V1]\n"
                                                     "     Fermions (4 d.o.f.):   2[F+]\n"
                                                     "    (Vector multiplet)\n");
    const struct {
        V count;
        const char* name;
    } named[] = {{{0, 0, 0, 2, 1, 0, 1, 2, 0, 1, 0, 3, 0, 0, 0, 0}, "Gravity"},
                 {{1, 0, 0, 2, 0, 0, 0, 0, 0, 0, 1, 0, 0, 0, 0, 0}, "Tensor"},
                 {{3, 0, 0, 2, 0, 0, 0, 0, 0, 0, 0, 1, 0, 0, 0, 0}, "Hyper"}};
    for (const auto& n : named) {
        char text[400];
        printSpaceTimeRep(text, 16, 6, n.count.data(), 1);
        EXPECT_TRUE(has(text, std::string("    (") + n.name + " multiplet)\n")) << text;
    }
}

TEST(Lorentz, LongListsWrap) {
    ChiralSusyType E8{5, 8, 0, 1}, E8b = E8;
    SusyType ST = typeOf(&E8, &E8b, 4);
    EXPECT_EQ(susyRepresentationText(-1, -1, 1, &ST),
              "     Bosons   (64 d.o.f.):   21[S0] + 6[V1] + [G2] + [D0] + 6[A+]\n"
              "                          + 6[A-] + 16[A0]\n"
              "     Fermions (64 d.o.f.):   28[F+] + 28[F-] + 4[FV+] + 4[FV-]\n");
}

TEST(Lorentz, NoStatesAndViolations) {
    const V none(16, 0);
    char text[400];
    char* end = printSpaceTimeRep(text, 16, 6, none.data(), 1);
    EXPECT_STREQ(text, "    No states\n");
    EXPECT_EQ(end, text + 14);
    // Bosons alone: a supersymmetric type reports it, another does not.
    const V scalars = {2, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0};
    {
        Captured cap;
        printSpaceTimeRep(text, 16, 6, scalars.data(), 0);
        EXPECT_EQ(cap.err(), "");
        EXPECT_EQ(cap.out(), "");
    }
    EXPECT_STREQ(text, "     Bosons   (2 d.o.f.):   2[S0]\n");
    Captured cap;
    printSpaceTimeRep(text, 16, 6, scalars.data(), 1);
    EXPECT_TRUE(has(cap.err(), "Supersymmetry violation")) << cap.err();
    EXPECT_TRUE(has(cap.out(), "Rep: ")) << cap.out();
    EXPECT_STREQ(text, "     Bosons   (2 d.o.f.):   2[S0]\n");
}

// A non-supersymmetric pair has unequal boson and fermion numbers without a word.
TEST(Lorentz, NonSupersymmetricTypesAreNotChecked) {
    ChiralSusyType D5{4, 5, 1, 1}, bosonic{0, 0, 0, 1};
    SusyType ST = typeOf(&D5, &bosonic, 4);
    std::string scalar, fermions, err;
    {
        Captured cap;
        scalar = susyRepresentationText(2, 2, 0, &ST);
        fermions = susyRepresentationText(1, -1, 0, &ST);
        err = cap.err();
    }
    EXPECT_EQ(scalar, "     Bosons   (1 d.o.f.):   [S0]\n");
    EXPECT_EQ(fermions, "     Fermions (2 d.o.f.):   [F-] + [FV+]\n");
    EXPECT_EQ(ST.supersymmetric, 0);
    EXPECT_EQ(err, "");
}

TEST(Lorentz, InvalidTypesGiveNothing) {
    ChiralSusyType E7{5, 7, 0, 1}, bosonic{0, 0, 0, 1};
    SusyType ST = typeOf(&E7, &bosonic, 8);
    Captured cap;
    EXPECT_EQ(getSusyRepresentation(-1, -1, 0, &ST), nullptr);
    char text[16] = "untouched";
    EXPECT_EQ(getSusyRepresentationString(text, -1, -1, 0, &ST), text);
    EXPECT_STREQ(text, "");
    ChiralSusyType b1 = bosonic, b2 = bosonic;
    SusyType big = typeOf(&b1, &b2, 27);
    EXPECT_EQ(getSusyRepresentation(-1, -1, 0, &big), nullptr);
    EXPECT_TRUE(has(cap.err(), "Maximal dimension: 26")) << cap.err();
}

// A bosonic side has, besides the vector multiplet, only the vector of SO(D+6): no spinors at
// odd dimension either.
TEST(Lorentz, BosonicSideHasNoSpinors) {
    ChiralSusyType bosonic{0, 0, 0, 1};
    for (int D : {9, 10}) {
        for (int rep : {0, 2}) {
            const int* c = SusySpinDecomposition(&bosonic, D, rep);
            ASSERT_NE(c, nullptr);
            EXPECT_EQ(V(c, c + 4), (V{1, 0, 0, 0})) << D;
        }
        const int* v = SusySpinDecomposition(&bosonic, D, -1);
        EXPECT_EQ(V(v, v + 4), D % 2 == 0 ? (V{0, 0, 1, 0}) : (V{0, 1, 0, 0})) << D;
    }
}

} // namespace
