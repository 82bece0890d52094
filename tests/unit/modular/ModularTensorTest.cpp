// The facade while an extended tensor product is the current theory: S on every road through the
// caches, the simple-current group numbered as the fields, the orbit table against the product's
// own action and charges, conjugates, fixed-point currents, twists and shifts. The products:
// su(4)_1 from (A1_2)^2 (its current exchanges two resolved fields), (A1_2)^4 extended by two
// currents (four resolved fields), the coset A1_2 x A1_2 / A1_4, and plain products.
#include "modular/Modular.h"

#include "ModularTestHelpers.h"
#include "ProductTestHelpers.h"
#include "base/Parameters.h"
#include "tensor/Coset.h"
#include "tensor/TensorTestHelpers.h"

#include <gtest/gtest.h>

#include <complex>
#include <string>
#include <tuple>
#include <utility>
#include <vector>

namespace {

using modulartest::S;
using tensortest::Captured;
using V = std::vector<int>;

struct Product {
    const char* name;
    std::vector<V> factors; // rank, level, 1 for a denominator
    std::vector<V> currents;
};

const Product su4{"su(4)_1", {{1, 2, 0}, {1, 2, 0}}, {{1, 1}}};
const Product twoCurrents{"(A1_2)^4 / (J,J,0,0), (0,0,J,J)",
                          {{1, 2, 0}, {1, 2, 0}, {1, 2, 0}, {1, 2, 0}},
                          {{1, 1, 0, 0}, {0, 0, 1, 1}}};
const Product coset{"A1_2 x A1_2 / A1_4", {{1, 2, 0}, {1, 2, 0}, {1, 4, 1}}, {{1, 1, 1}}};
const Product plain{"A1_2 x A2_1", {{1, 2, 0}, {2, 1, 0}}, {}};
const Product cosetWithoutCurrents{"A1_4 / A1_4", {{1, 4, 0}, {1, 4, 1}}, {}};
const Product ising{"Ising, A1_1 x A1_1 / A1_2", {{1, 1, 0}, {1, 1, 0}, {1, 2, 1}}, {{1, 1, 1}}};
const Product su3{"su(3)_1 from A1_4", {{1, 4, 0}}, {{1}}};
const Product so8{"so(8)_1 from A2_3", {{2, 3, 0}}, {{1}}};
const Product su2k8{"A1_8 / J", {{1, 8, 0}}, {{1}}};
const Product su2k12{"A1_12 / J", {{1, 12, 0}}, {{1}}};
const Product su2k16{"A1_16 / J", {{1, 16, 0}}, {{1}}};
const Product su2k28{"A1_28 / J", {{1, 28, 0}}, {{1}}};

class TensorTheory : public testing::Test {
protected:
    void SetUp() override { TP = producttest::startProductTest(); }
    void TearDown() override {
        setIntPar("Use_orbits", 2);
        setIntPar("S_matrix maxsize", 400);
        setIntPar("ZNX_VERSION", 0);
        setIntPar("Super", 0);
        producttest::withdrawProduct(TP);
    }
    // The product computed and made the current theory, as "compute spectrum" does.
    void use(const Product& p) {
        resetCoset(TP);
        for (const V& f : p.factors)
            addTensorFactor(TP, SM_getData(1, f[0], f[1]), f[2]);
        for (const V& c : p.currents)
            ASSERT_EQ(addNewCurrent(TP, c.data()), 0) << p.name;
        ASSERT_EQ(computeTensorSpectrum(TP), 0) << p.name;
        producttest::makeCurrent(TP);
    }
    int N() { return getTotalPrimaries(); }
    std::vector<std::complex<double>> everyS() {
        std::vector<std::complex<double>> s;
        for (int i = 0; i < N(); i++)
            for (int j = 0; j < N(); j++)
                s.push_back(S(i, j));
        return s;
    }
    TensorProduct* TP = nullptr;
};

// Direct, on orbits, packed and first-row forms all give the product's own elements.
TEST_F(TensorTheory, EveryRoadToSGivesTheProductsElements) {
    for (const Product* p : {&su4, &twoCurrents, &coset}) {
        use(*p);
        std::vector<std::complex<double>> direct;
        for (int i = 0; i < N(); i++)
            for (int j = 0; j < N(); j++) {
                double re = 0, im = 0;
                getCosetS(TP, i, j, &re, &im);
                direct.emplace_back(re, im);
            }
        for (int orbits : {0, 1, 2})
            for (int maxsize : {400, 1}) {
                setIntPar("Use_orbits", orbits);
                setIntPar("S_matrix maxsize", maxsize);
                CFTChanged();
                Captured quiet;
                initSMATRIX();
                const auto s = everyS();
                for (std::size_t e = 0; e < s.size(); e++)
                    ASSERT_LT(std::abs(s[e] - direct[e]), 1e-12)
                        << p->name << " orbits " << orbits << " maxsize " << maxsize;
            }
        EXPECT_EQ(ModularOrbitsAvailable(), QueryCFT()) << p->name;
    }
}

// Group element i is field i; the orbit table's products, actions and charges are the product's.
// The group: the products of factor currents local with respect to the extension, modulo the
// extension. Every current of A1_2, A1_4 and A2_3 is local to J (charge 2h(J) - h(J^2) = 0 mod 1),
// J of A1_1 is not; the exceptional currents of resolved fixed points (the 4 and 4-bar of su(4)_1,
// the triplets of su(3)_1, the vectors and spinors of so(8)_1) do not belong to it.
TEST_F(TensorTheory, SimpleCurrentsOfTheOrbitTableAreTheProducts) {
    const std::pair<const Product*, int> theories[] = {
        {&su4, 2}, {&twoCurrents, 4}, {&coset, 4},  {&plain, 6},  {&ising, 2}, {&su3, 1},
        {&so8, 1}, {&su2k8, 1},       {&su2k12, 1}, {&su2k16, 1}, {&su2k28, 1}};
    for (auto [p, order] : theories) {
        use(*p);
        const int G = CenterOrder();
        EXPECT_EQ(G, order) << p->name;
        int* map = nullptr;
        Discrete_Group* dg = getCenter(&map);
        ASSERT_EQ(dg->Order, G) << p->name;
        int* fresh = nullptr;
        EXPECT_EQ(getSimpleCurrentGroup(&fresh)->Order, G);
        for (int e = 0; e < G; e++) {
            EXPECT_EQ(map[e], e) << p->name;
            EXPECT_EQ(fresh[e], e) << p->name;
        }
        std::vector<rat> weighed;
        for (int J = 0; J < G; J++)
            for (int x = 0; x < N(); x++)
                weighed.push_back(*simpleCurrentCharge(J, x));
        initOrbitData();
        ASSERT_EQ(ModularOrbitsAvailable(), QueryCFT()) << p->name;
        std::size_t q = 0;
        for (int a = 0; a < G; a++)
            for (int b = 0; b < G; b++) {
                EXPECT_EQ(simpleProduct(a, b, nullptr), simpleCurrentProduct(a, b, TP));
                EXPECT_EQ(simpleProduct(a, b, nullptr), DG_product(a, b, dg));
            }
        for (int J = 0; J < G; J++)
            for (int x = 0; x < N(); x++, q++) {
                EXPECT_EQ(simpleFusion(J, x), simpleCurrentAction(J, x, TP)) << p->name;
                const rat* table = simpleCurrentCharge(J, x);
                EXPECT_EQ(table->num * weighed[q].den, weighed[q].num * table->den)
                    << p->name << " Q_" << J << "(" << x << ")";
            }
    }
}

// su(4)_1 through the facade: fusion is Z_4, the 4 and the 4-bar are conjugate, and the conjugates
// agree with those S^2 gives.
TEST_F(TensorTheory, FusionAndConjugatesOfSu4) {
    use(su4);
    EXPECT_EQ(ConjugatesAvailable(), 1);
    const V conjugate{0, 1, 3, 2};
    for (int a = 0; a < N(); a++) {
        EXPECT_EQ(getConjugate(a), conjugate[a]);
        EXPECT_EQ(getGenericConjugate(a), conjugate[a]);
    }
    // 4 x 4 = 6, 4 x 4-bar = 1, 6 x 4 = 4-bar.
    for (auto [i, j, k] : {std::tuple{2, 2, 1}, std::tuple{2, 3, 0}, std::tuple{1, 2, 3}}) {
        for (int m = 0; m < N(); m++)
            EXPECT_EQ(fusion(i, j, m, 0), m == k ? 1 : 0) << i << " x " << j << " -> " << m;
    }
    EXPECT_EQ(simpleFusion(1, 2), 3);
}

// A current of weight neither integer nor half-integer fixes nothing, whatever the fields.
TEST_F(TensorTheory, FixedPointCurrents) {
    use(plain);
    // Current fields of A1_2 x A2_1: (J,0) of weight 1/2 fixes (s, x); the A2 current, of weight
    // 1/3, fixes nothing.
    int J0 = -1, zeroJ = -1;
    for (int c = 0; c < CenterOrder(); c++) {
        const int* f = TensorField(TP, c);
        if (f[0] == 1 && f[1] == 0)
            J0 = c;
        if (f[0] == 0 && f[1] == 1)
            zeroJ = c;
    }
    ASSERT_GE(J0, 0);
    ASSERT_GE(zeroJ, 0);
    EXPECT_EQ(MOD_fixedPointCurrent(0), 1);
    EXPECT_EQ(MOD_fixedPointCurrent(J0), 1);
    EXPECT_EQ(MOD_fixedPointCurrent(zeroJ), 0);
    use(su4);
    EXPECT_EQ(MOD_fixedPointCurrent(1), 0);
}

// Shifts with the coset sign; the twist of either variant; S^J and O^J of a product.
TEST_F(TensorTheory, ShiftsTwistsAndResolutionMatrices) {
    use(cosetWithoutCurrents);
    int J0 = -1, zeroJ = -1;
    for (int c = 0; c < CenterOrder(); c++) {
        const int* f = TensorField(TP, c);
        J0 = f[0] == 1 && f[1] == 0 ? c : J0;
        zeroJ = f[0] == 0 && f[1] == 1 ? c : zeroJ;
    }
    ASSERT_GE(J0, 0);
    ASSERT_GE(zeroJ, 0);
    const int m = SM_getFCFTshift(SM_getData(1, 1, 4), 1);
    EXPECT_EQ(MOD_getFCFTshift(J0), m);
    EXPECT_EQ(MOD_getFCFTshift(zeroJ), -m);
    // (A1_2)^2: the twist of (J,0) with itself on the doublets is i^2, in both variants.
    use({"(A1_2)^2", {{1, 2, 0}, {1, 2, 0}}, {}});
    int ss = -1, J = -1;
    for (int r = 0; r < N(); r++) {
        const int* f = TensorField(TP, r);
        ss = f[0] == 2 && f[1] == 2 ? r : ss;
        J = f[0] == 1 && f[1] == 0 ? r : J;
    }
    for (int znx : {0, 1}) {
        setIntPar("ZNX_VERSION", znx);
        EXPECT_EQ(MOD_getCurrentTwist(ss, J, J), 2) << znx;
    }
    // S^J of the product through the facade: S^J(s,s) of the first A1_2 times S of the second,
    // which vanishes at (s,s) and is 1/2 at (0,0); O^J takes the block's orbit Lie algebra
    // element in the same way.
    int s0 = -1;
    for (int r = 0; r < N(); r++) {
        const int* f = TensorField(TP, r);
        s0 = f[0] == 2 && f[1] == 0 ? r : s0;
    }
    SpectrumData* a12 = SM_getData(1, 1, 2);
    double br = 0, bi = 0, re = 1, im = 1;
    MOD_getFCFT_Smatrix(J, ss, ss, &re, &im);
    EXPECT_NEAR(std::abs(std::complex<double>(re, im)), 0.0, 1e-12);
    SM_getFCFT_Smatrix(a12, 1, 2, 2, &br, &bi);
    MOD_getFCFT_Smatrix(J, s0, s0, &re, &im);
    EXPECT_NEAR(std::abs(std::complex<double>(re, im) - 0.5 * std::complex<double>(br, bi)), 0.0,
                1e-12);
    SM_getOLA_Smatrix(a12, 1, 2, 2, &br, &bi);
    MOD_getOLA_Smatrix(J, s0, s0, &re, &im);
    EXPECT_NEAR(std::abs(std::complex<double>(re, im) - 0.5 * std::complex<double>(br, bi)), 0.0,
                1e-12);
}

// Under "Super" a field is a supercurrent when its orbit holds an element of weight 1 with an odd
// first label: the vacuum of su(4)_1, through (J,J). A single block never is one.
TEST_F(TensorTheory, SupercurrentsUnderSuper) {
    use(su4);
    EXPECT_EQ(isSuperCurrent(0), 0);
    setIntPar("Super", 1);
    EXPECT_EQ(isSuperCurrent(0), 1);
    EXPECT_EQ(isSuperCurrent(1), 0);
    TP->Susy = 1;
    EXPECT_EQ(SusySpectrum(), 1);
    setCosetMode(0);
    EXPECT_EQ(isSuperCurrent(0), 0);
    EXPECT_EQ(SusySpectrum(), 0);
}

// A field the simple-current action cannot place (its label lies outside its untwisted
// stabilizer, and no field carries the label it would move the other one to) leaves the theory
// without orbit table: nothing indexes with the -1 the action answers.
TEST_F(TensorTheory, UnplacedFieldLeavesNoOrbitTable) {
    use(su4);
    TensorField(TP, 3)[2] = 7;
    balanceVectorCollection(TP->TensorSpectrum);
    CFTChanged();
    {
        Captured cap;
        EXPECT_EQ(simpleFusion(1, 3), -1);
        EXPECT_NE(cap.err().find("Label not found"), std::string::npos) << cap.err();
    }
    EXPECT_EQ(simpleFusion(1, 2), -1);
    Captured quiet;
    initOrbitData();
    EXPECT_NE(ModularOrbitsAvailable(), QueryCFT());
    EXPECT_EQ(simpleFusion(1, 0), 1);
    double re = 0, im = 0;
    compS(0, 3, &re, &im);
    EXPECT_NEAR(re, 0.5, 1e-12);
}

} // namespace

namespace {

// In tensor mode the block last loaded is one of the factors, not the theory: the type and rank
// of the current theory are those of no single block.
TEST_F(TensorTheory, TypeAndRankAnswerOnlyForASingleBlock) {
    use(su4);
    setCurrentSD(SM_getData(7, 4, 0));
    EXPECT_EQ(getCFTtype(), -1);
    EXPECT_EQ(getCFTrank(), -1);
    modulartest::useBlock(7, 4, 0);
    EXPECT_EQ(getCFTtype(), 7);
    EXPECT_EQ(getCFTrank(), 4);
}

} // namespace
