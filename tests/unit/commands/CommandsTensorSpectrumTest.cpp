// The spectrum commands on tensor products: computing it in full, massless or for the simple
// currents, the table "TensorSpectrum", "identify", the decomposition of a field, the summaries
// of the theory, and the Modular-mode commands on fixed points and conjugates of products. The
// products: A1_4 extended by J (su(3)_1), (A1_2)^2 by (J, J) (su(4)_1), su(3)_3 by J and
// (A1_1)^4 by (J, J, J, J) (both so(8)_1), and A1_1 x A1_1 / A1_2 (the Ising model).
#include "CommandsTestHelpers.h"

#include "base/Tables.h"
#include "commands/CommandsDisplay.h"
#include "commands/CommandsFixedPoints.h"
#include "commands/CommandsInternal.h"
#include "commands/CommandsModular.h"
#include "tensor/Coset.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

using namespace cmdtest;

namespace {

int superFlag = 0;

class TensorSpectrumCommandsTest : public testing::Test {
protected:
    void SetUp() override {
        flushErrors();
        unbufferErrors();
        for (const char* name : {"Max_primaries", "Graded", "Super", "ZNX_VERSION"})
            if (!findInternalParameter(name))
                addInternalParameter(name, name[0] == 'M' ? "2000000000" : "0", 'i', 0);
        if (!findInternalParameter("Maxrank"))
            addInternalParameter("Maxrank", "20", 'i', 0);
        setIntPar("Maxrank", 20);
        initializeCoset();
        if (!findTable("Spectrum"))
            initializeTables();
        SM_bindMasslessOnly(&massless_only);
        TP = startWithEmptyProduct();
        Captured quiet;
        call(COM_tensor, "tensor", {});
    }
    void TearDown() override {
        setIntPar("Max_primaries", 2000000000);
        commands::super = nullptr;
        superFlag = 0;
        commands::Susic = 0;
        SM_bindMasslessOnly(nullptr);
        Captured quiet;
        resetCoset(TP);
        setCosetMode(0);
        disableCoset();
        setCurrentTotals(nullptr, nullptr);
    }
    // Runs a handler and returns what it printed and reported.
    static std::string run(COM handler, const char* typed, std::vector<int> args, int expectedRc) {
        Captured cap;
        EXPECT_EQ(call(handler, typed, std::move(args)), expectedRc) << typed;
        return cap.out() + cap.err();
    }
    // Factors of type A (rank, level), numerator unless denominator is set, and one current.
    void product(const std::vector<std::pair<int, int>>& factors, std::vector<int> current,
                 int denominatorFrom = 99) {
        int k = 0;
        for (auto [rank, level] : factors)
            run(k++ < denominatorFrom ? COM_g : COM_h, "a", {rank, level}, -2);
        const int n = static_cast<int>(current.size());
        run(COM_current, "current", std::move(current), -n);
    }
    void su3FromA1() { product({{1, 4}}, {1}); }
    void su4() { product({{1, 2}, {1, 2}}, {1, 1}); }
    TensorProduct* TP = nullptr;
};

std::string browse(COM handler, const char* typed, std::vector<std::string> texts, int field,
                   int expectedRc) {
    std::string word = typed;
    std::vector<void*> slots{word.data(), &field};
    for (std::string& t : texts)
        slots.push_back(t.data());
    Captured cap;
    EXPECT_EQ(handler(slots.data() + 1, static_cast<int>(slots.size()) - 1), expectedRc);
    return cap.out() + cap.err();
}

// Lines of the text that begin with start.
int countLinesStarting(const std::string& text, const std::string& start) {
    int n = 0;
    for (std::size_t at = 0; at < text.size();) {
        std::size_t end = text.find('\n', at);
        if (end == std::string::npos)
            end = text.size();
        if (text.compare(at, start.size(), start) == 0)
            n++;
        at = end + 1;
    }
    return n;
}

std::string entry(const char* column, int field, int expectedRc) {
    std::string word = "entry";
    std::string name = column;
    std::vector<void*> slots{word.data(), name.data(), &field};
    Captured cap;
    EXPECT_EQ(COM_display_entry(slots.data() + 1, 2), expectedRc);
    return cap.out() + cap.err();
}

TEST_F(TensorSpectrumCommandsTest, ComputeSpectrumOpensTheModularMode) {
    su4();
    EXPECT_EQ(run(COM_compute, "spectrum", {}, 0),
              "CFT A1_2*A1_2; 4 primaries (2 simple currents)\n");
    EXPECT_TRUE(ModularMode->enabled);
    EXPECT_EQ(Spectrum_Computed, 1);
    EXPECT_EQ(run(COM_compute, "spectrum", {}, 0), "") << "computed already";
    // The facade answers for the product.
    EXPECT_EQ(getTotalPrimaries(), 4);
    EXPECT_EQ(CenterOrder(), 2);
    EXPECT_STREQ(getCFTname(), "A1_2*A1_2");
    const rat* h = ratWeight(2);
    EXPECT_EQ(h->num * 8, h->den * 3) << "the spinor of su(4) has weight 3/8";
    EXPECT_DOUBLE_EQ(MOD_realWeight(1), 0.5);
    EXPECT_EQ(simpleCurrentCheck(1), 1);
    EXPECT_EQ(simpleCurrentCheck(2), 0);
    EXPECT_EQ(MOD_isValidCFT(), 1);
    EXPECT_EQ(isSuperCurrent(0), 0) << "\"Super\" is off";
    const std::string out = run(COM_display, "display", {}, 0);
    EXPECT_TRUE(has(out, "{0,0}")) << out;
    EXPECT_TRUE(has(out, "3/8")) << out;
    EXPECT_EQ(entry("FP label", 0, -2), "-\n\n");
    EXPECT_EQ(entry("FP label", 3, -2), "1\n\n");
    EXPECT_EQ(entry("Combination", 1, -2), "{0,1}\n\n");
    EXPECT_TRUE(has(entry("FP label", 4, 1), "Field 4 does not exist (4 fields)"));
    // The 1, 6, 4 and 4-bar of su(4): the spinor doublets (2 x 2 = 4 states) resolve into two
    // fields of 4 ground states each.
    const char* dims[] = {"1\n\n", "6\n\n", "4\n\n", "4\n\n"};
    for (int f = 0; f < 4; f++)
        EXPECT_EQ(entry("Dimensions", f, -2), dims[f]) << f;
}

// (J, J) has weight 1 and the odd first label 1: a supercurrent when "Super" is on.
TEST_F(TensorSpectrumCommandsTest, SupersymmetryUnderSuper) {
    su4();
    commands::super = &superFlag;
    superFlag = 1;
    run(COM_compute, "spectrum", {}, 0);
    EXPECT_EQ(run(COM_susic, "supersymmetric", {}, 0), "1\n");
    EXPECT_EQ(TP->Susy, 1);
    superFlag = 0;
    disableModular();
    run(COM_compute, "spectrum", {}, 0);
    EXPECT_EQ(run(COM_susic, "supersymmetric", {}, 0), "0\n");
    EXPECT_EQ(TP->Susy, 0);
}

TEST_F(TensorSpectrumCommandsTest, AbortedComputationLeavesTheModesOff) {
    su3FromA1();
    setIntPar("Max_primaries", 2);
    EXPECT_EQ(run(COM_compute, "spectrum", {}, 0),
              "Too many primaries (maximum set at 2)\n"
              "Spectrum computation aborted; Modular properties not available\n");
    EXPECT_FALSE(ModularMode->enabled);
    EXPECT_EQ(Spectrum_Computed, 0);
    setIntPar("Max_primaries", 3);
    EXPECT_EQ(run(COM_compute, "spectrum", {}, 0), "CFT A1_4; 3 primaries\n");
    EXPECT_TRUE(ModularMode->enabled);
}

TEST_F(TensorSpectrumCommandsTest, RestrictedComputations) {
    product({{1, 16}}, {1});
    EXPECT_EQ(run(COM_compute_massless, "massless_spectrum", {}, 0), "CFT A1_16; 4 primaries\n");
    EXPECT_EQ(Spectrum_Computed, 2);
    EXPECT_FALSE(ModularMode->enabled);
    EXPECT_EQ(run(COM_compute_simple, "simple_current_spectrum", {}, 0),
              "Number of primaries: 1\n");
    EXPECT_EQ(Spectrum_Computed, 3);
    disableModular();
    EXPECT_EQ(run(COM_compute, "spectrum", {}, 0), "CFT A1_16; 6 primaries\n");
    run(COM_reset, "tensor", {}, 0);
    su4();
    EXPECT_EQ(run(COM_compute_simple, "simple_current_spectrum", {}, 0),
              "Number of primaries: 2 (Simple currents: 2)\n");
}

TEST_F(TensorSpectrumCommandsTest, MasslessComputationRefusesCosetsAndSingleAlgebras) {
    product({{1, 1}, {1, 1}, {1, 2}}, {1, 1, 1}, 2);
    EXPECT_TRUE(has(run(COM_compute_massless, "massless_spectrum", {}, 0),
                    "This command is not available for coset CFT's"));
    EXPECT_EQ(TP->genuineCoset, 1);
    setCosetMode(0);
    disableCoset();
    const std::string out = run(COM_compute_massless, "massless_spectrum", {}, 0);
    EXPECT_TRUE(has(out, "equivalent to a full spectrum computation")) << out;
    EXPECT_TRUE(has(out, "CFT ")) << out;
    EXPECT_EQ(Spectrum_Computed, 1);
}

// A1_4: label 4 is the spin-1 field (2), fixed by J and resolved into two; label 2 is the
// doublet, of charge 1/2; label 1 is J itself.
TEST_F(TensorSpectrumCommandsTest, Identify) {
    su3FromA1();
    EXPECT_TRUE(has(run(COM_identify, "identify", {4}, 1), "No spectrum computed"))
        << "the orbit cannot be found without the spectrum";
    run(COM_compute, "spectrum", {}, 0);
    EXPECT_TRUE(has(run(COM_identify, "identify", {}, 1), "Too few current components"));
    EXPECT_EQ(run(COM_identify, "identify", {4}, -1),
              "This combination belongs to field 1\n"
              "(This field is resolved into 2 irreducible components)\n");
    EXPECT_EQ(run(COM_identify, "identify", {2}, -1), "This combination is projected out\n");
    EXPECT_EQ(run(COM_identify, "identify", {1}, -1), "This combination belongs to field 0\n");
    // Inside an expression only the number.
    for (auto [label, value] : {std::pair{4, "1\n"}, std::pair{2, "-1\n"}}) {
        returnBufferOn();
        std::vector<int> args{label};
        call(COM_identify, "identify", args);
        const std::string text(getReturnBuffer(), getReturnPointer());
        returnBufferOff();
        EXPECT_EQ(text, value);
    }
}

TEST_F(TensorSpectrumCommandsTest, DecompositionOfAField) {
    su3FromA1();
    EXPECT_TRUE(has(browse(COM_browse_decomp, "decomposition", {}, 0, 1), "No spectrum computed"));
    run(COM_compute, "spectrum", {}, 0);
    EXPECT_TRUE(has(browse(COM_browse_decomp, "decomposition", {}, 7, 1),
                    "Field 7 does not exist (3 fields)"));
    // The vacuum's orbit: (0) of weight 0 and dimension 1, J = (4) of weight 1 and dimension 5.
    std::string out = browse(COM_browse_decomp, "decomposition", {}, 0, -1);
    EXPECT_EQ(countLinesStarting(out, "(0) "), 1) << out;
    EXPECT_EQ(countLinesStarting(out, "(1) "), 1) << out;
    EXPECT_TRUE(has(out, "5")) << out;
    out = browse(COM_browse_decomp, "groundstate", {}, 0, -1);
    EXPECT_EQ(countLinesStarting(out, "(0) "), 1) << out;
    EXPECT_EQ(countLinesStarting(out, "(1) "), 0) << out;
    // A column of "Spectrum" per factor: the ground-state labels of the fixed point.
    out = browse(COM_browse_decomp, "decomposition", {"Ground state"}, 1, -2);
    EXPECT_TRUE(has(out, "((2,2))")) << out;
    EXPECT_TRUE(has(browse(COM_browse_decomp, "decomposition", {"Tensor label"}, 0, 1),
                    "Data for factor 0 not available"));
}

TEST_F(TensorSpectrumCommandsTest, GroundStatesOfACosetAreNotBuiltIn) {
    product({{1, 1}, {1, 1}, {1, 2}}, {1, 1, 1}, 2);
    run(COM_compute, "spectrum", {}, 0);
    EXPECT_TRUE(has(browse(COM_browse_decomp, "groundstate", {}, 1, -1),
                    "Ground state construction for cosets is not built in"));
    const std::string out = run(COM_display, "display", {}, 0);
    EXPECT_TRUE(has(out, "0.5000000  (mod 1)")) << out;
    EXPECT_TRUE(has(out, "0.0625000  (mod 1)")) << out;
    EXPECT_TRUE(
        has(run(COM_browse_spin1, "Lie", {}, 0), "Information not available for coset CFT's"));
    const std::string cft = run(COM_browse_cft, "CFT", {}, 0);
    EXPECT_TRUE(has(cft, "Coset CFT: \ntensor\nG A 1 1\nG A 1 1\nH A 1 2\ncurrent 1 1 1 \n"))
        << cft;
    EXPECT_TRUE(has(cft, "Central Charge:                   0.5000000")) << cft;
    EXPECT_TRUE(has(cft, "Number of primaries:              3\n")) << cft;
}

// The spin-one currents of conformal embeddings: the dimension of the algebra embedded in.
TEST_F(TensorSpectrumCommandsTest, SpinOneCurrentsOfConformalEmbeddings) {
    struct Case {
        std::vector<std::pair<int, int>> factors;
        std::vector<int> current;
        const char* count;
    } cases[] = {
        {{{1, 4}}, {1}, "8"},
        {{{2, 3}}, {1}, "28"},
        {{{1, 1}, {1, 1}, {1, 1}, {1, 1}}, {1, 1, 1, 1}, "28"},
        {{{1, 2}, {1, 2}}, {1, 1}, "15"},
    };
    for (const Case& c : cases) {
        run(COM_reset, "tensor", {}, 0);
        product(c.factors, c.current);
        run(COM_compute, "spectrum", {}, 0);
        EXPECT_EQ(run(COM_browse_spin1, "Lie", {}, 0),
                  std::string("Number of spin 1 currents: ") + c.count + "\n");
    }
}

// The resolution matrices of a product: su(4)_1 has no current with fixed points but the
// identity, whose S^J is S (1/2 between the vacuum and the 4); a current with fixed points that
// does not fix a field is told so.
TEST_F(TensorSpectrumCommandsTest, ResolutionMatricesOfProducts) {
    su4();
    run(COM_compute, "spectrum", {}, 0);
    for (COM handler : {COM_S_fix, COM_S_ola})
        EXPECT_TRUE(has(run(handler, "cmd", {1, 2, 2}, 1), "current 1 has no fixed points"));
    EXPECT_EQ(run(COM_S_fix, "cmd", {0, 0, 2}, -3),
              "S^0_0_2 = (      0.5000000,      0.0000000)\n");
    EXPECT_EQ(run(COM_S_ola, "cmd", {0, 0, 2}, -3),
              "O^0_0_2 = (      0.5000000,      0.0000000)\n");
    // The check belongs to created and fixed-point theories; a product is refused.
    EXPECT_TRUE(has(run(COM_check_fpconj, "cmd", {}, 0), "Check not avaiable; only for cft's"));
}

// su(4)_1: twists on the 4, the simple currents with the 4 and 4-bar found from S as further
// currents, and the Dynkin labels of the factors.
TEST_F(TensorSpectrumCommandsTest, FixedPointAndLieCommandsOnSu4) {
    su4();
    run(COM_compute, "spectrum", {}, 0);
    EXPECT_EQ(run(COM_get_twist, "twist", {2, 0, 0}, -3), "Twist 1\n");
    EXPECT_EQ(run(COM_get_twist, "twist", {2, 1, 1}, 1), "Current 1 does not fix field 2\n");
    EXPECT_EQ(run(COM_browse_simple, "simple_currents", {}, 0),
              "Total simple current order: 2\n"
              "Basis decomposition of currents: \n"
              "Group:                          Z_2  \n"
              "Nr.    0:   Weight:    0/1       0 \n"
              "Nr.    1:   Weight:    1/2       1 \n"
              "Exceptional simple current: 2\n"
              "Exceptional simple current: 3\n");
    // A1_2 labels: the doublet (1,1) twice for the 4; the 6 is (vacuum, J).
    EXPECT_EQ(run(COM_expand, "expand", {2}, -1), "  (1,1)\n  (1,1)\n");
    EXPECT_EQ(run(COM_expand, "expand", {1}, -1), "  (0,2)\n  (2,0)\n");
    run(COM_reset, "tensor", {}, 0);
    su3FromA1();
    run(COM_compute, "spectrum", {}, 0);
    EXPECT_EQ(run(COM_browse_simple, "simple_currents", {}, 0),
              "No simple currents (except possibly from fixed points)\n"
              "Exceptional simple current: 1\n"
              "Exceptional simple current: 2\n");
}

// A field the current action cannot place is reported as a problem of the action, and no fusion
// coefficient is asked for the -1 it answers.
TEST_F(TensorSpectrumCommandsTest, CheckOrbitsOnAFieldWithoutImage) {
    su4();
    run(COM_compute, "spectrum", {}, 0);
    EXPECT_EQ(run(COM_check_orb, "orbits", {}, 0), "");
    TensorField(TP, 3)[2] = 7;
    balanceVectorCollection(TP->TensorSpectrum);
    CFTChanged();
    const std::string out = run(COM_check_orb, "orbits", {}, 0);
    EXPECT_TRUE(has(out, "Fusion problem: (1) x (2) != (-1)\n")) << out;
    EXPECT_TRUE(has(out, "Fusion problem: (1) x (3) != (-1)\n")) << out;
    EXPECT_TRUE(has(out, "Label not found")) << out;
}

// While a product is current the last block entered stays the current block; its conjugates
// and its kind have nothing to do with the product's, whose conjugates S^2 confirms.
TEST_F(TensorSpectrumCommandsTest, CheckConjugatesComparesTheProductsOwn) {
    su4();
    run(COM_compute, "spectrum", {}, 0);
    commands::makeBlockCurrent(SM_getData(1, 1, 1));
    EXPECT_EQ(run(COM_check_conj, "conjugates", {}, 0), "");
    SpectrumData created{};
    created.type = 9;
    commands::makeBlockCurrent(&created);
    EXPECT_EQ(run(COM_check_conj, "conjugates", {}, 0), "");
    EXPECT_EQ(getTotalPrimaries(), 4);
}

} // namespace

namespace {

// su(4)_1 from (A1_2)^2 by (J, J): the vacuum has the trivial stabilizer; the spinors come from
// (j=1, j=1), fixed by (J, J) with no twist, so their stabilizer {0, (J, J)} is fully untwisted.
TEST_F(TensorSpectrumCommandsTest, BrowseStabilizerPrintsTheStabilizerTable) {
    su4();
    run(COM_compute, "spectrum", {}, 0);
    EXPECT_EQ(run(COM_browse_stab, "stabilizer", {0}, -1), "Stabilizer is trivial\n");
    const std::string spinor = run(COM_browse_stab, "stabilizer", {2}, -1);
    EXPECT_TRUE(has(spinor, "Stabilizer (fully untwisted):")) << spinor;
    EXPECT_TRUE(has(run(COM_browse_stab, "stabilizer", {4}, 1), "Field 4 does not exist"));
}

} // namespace
