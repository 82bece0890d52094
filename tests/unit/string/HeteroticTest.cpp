// The heterotic module on the standard-model product A2_1 x A1_1 x U(1)_30 x U(1)_20: the
// massless candidates and pattern roots, the evaluation of counted spectra (charge quanta,
// anomalies, exotics, net family count), the stop at chiral exotics of quantum 6, and the
// result files with their reload.
#include "modular/InvariantsTestHelpers.h"
#include "modular/ModularTestHelpers.h"
#include "modular/ProductTestHelpers.h"

#include "TestSupport.h"

#include "base/Defaults.h"
#include "base/Error.h"
#include "base/Parameters.h"
#include "modular/Invariants.h"
#include "modular/ModularFileNames.h"
#include "store/Storemanager.h"
#include "string/Heterotic.h"
#include "string/HeteroticInternal.h"
#include "tensor/Coset.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

namespace {

using namespace heterotic_internal;
using testsupport::Captured;

const auto& has = testsupport::contains;

int count(const std::string& text, const std::string& part) {
    int n = 0;
    for (std::size_t at = text.find(part); at != std::string::npos; at = text.find(part, at + 1))
        n++;
    return n;
}

std::string fileText(const std::string& name) {
    std::ifstream in(name);
    std::stringstream s;
    s << in.rdbuf();
    return s.str();
}

// One multiplet: colour (0 singlet, 1 triplet, 2 anti-triplet), weak (1 doublet), and the two
// abelian labels, negative values standing for their residues modulo 30 and 20.
struct Multiplet {
    const char* name;
    int colour, weak, y, z;
    std::vector<int> labels() const { return {colour, weak, (y + 30) % 30, (z + 20) % 20}; }
};

// The sixteen states of one family of SO(10) in su(3) + su(2) + u(1)_30 + u(1)_20.
const std::vector<Multiplet> family16 = {
    {"Q", 1, 1, -1, 1}, {"U", 2, 0, -2, -3}, {"D", 2, 0, 4, 1},
    {"E", 0, 0, -6, 1}, {"N", 0, 0, 0, 5},   {"L", 0, 1, 3, -3},
};

class HeteroticTest : public testing::Test {
protected:
    void SetUp() override {
        resetError(); // the warnings checked here are shown once per run
        modulartest::registerModularParameters();
        invtest::registerParameters();
        tensortest::registerParameters();
        for (const char* name : {"Particle factors", "old_algorithm"})
            if (!findInternalParameter(name))
                addInternalParameter(name, "1", 'i', 0);
        initializeHeterotic();
        TP = producttest::startProductTest();
        resetCoset(TP);
        for (auto [type, rank, level] : {std::array{1, 2, 1}, {1, 1, 1}, {0, 30, 0}, {0, 20, 0}})
            addTensorFactor(TP, SM_getData(type, rank, level), 0);
        ASSERT_EQ(computeTensorSpectrum(TP), 0);
        producttest::makeCurrent(TP);
        resetInvariantStore();
        resetCurrentBulkToDiagonal();
        setIntPar("Heterotic factors", 4);
        setIntPar("Particle factors", 4);
        setIntPar("old_algorithm", 0);
        resetRepNames();
        resetSelectedReps();
    }
    void TearDown() override {
        setIntPar("Graded", 0);
        setIntPar("Heterotic factors", 1);
        setIntPar("Particle factors", 1);
        resetRepNames();
        producttest::withdrawProduct(TP);
    }

    // flipped: with the colour labels conjugated.
    void nameFamily(bool flipped = false) {
        for (const Multiplet& m : family16) {
            std::vector<int> v = m.labels();
            if (flipped)
                v[0] = (3 - v[0]) % 3;
            ASSERT_EQ(addNewRepresentationName(TP, m.name, v.data()), 0) << m.name;
        }
    }
    void setUp() {
        Captured quiet;
        ASSERT_EQ(ComputeHeterotic(TP), 0);
    }
    // RepCount holds one row per multiplet, left labels 0, with the given count.
    void countMultiplets(const std::vector<Multiplet>& list, int n = 1) {
        initCountedVectorCollection(&RepCount, 8, 100);
        for (const Multiplet& m : list) {
            std::vector<int> row(4, 0);
            for (int l : m.labels())
                row.push_back(l);
            enterCounted(&RepCount, row.data(), n);
        }
    }
    // Evaluates RepCount as one invariant of the (here trivial) filter would.
    int evaluateUncaptured() {
        static FilterContext context;
        context = FilterContext{TP, &HeteroticFilter, 0};
        SCData MD;
        MD.DataPointer = &context;
        unificationFlag = 0;
        return evaluateSpectrum(&MD, 0, 45);
    }
    int evaluate(std::string& text) {
        Captured cap;
        const int r = evaluateUncaptured();
        text = cap.out() + cap.err();
        return r;
    }
    std::string outputFile(const char* postfix) { return getCurrentOutputFileName(postfix); }

    testsupport::TempOutputDir out;
    TensorProduct* TP = nullptr;
};

// Candidates are the combinations of exact total weight 0 or 1; pattern roots those of weight
// at most 1 in the first four factors. Both counts follow from the weights h = 1/3, 1/4, m^2/60
// and m^2/40 by hand.
TEST_F(HeteroticTest, CandidatesAndPatternRootsOfTheStandardModelProduct) {
    Captured cap;
    ASSERT_EQ(ComputeHeterotic(TP), 0);
    EXPECT_TRUE(has(cap.out(), "Pass N; total number 25\n")) << cap.out();
    EXPECT_EQ(rowCount(TP->MasslessFields), 25);
    EXPECT_EQ(std::vector<int>(rowOf(TP->MasslessFields, 0), rowOf(TP->MasslessFields, 0) + 4),
              std::vector<int>(4, 0))
        << "the vacuum comes first";
    EXPECT_EQ(getNumberOfPatternRoots(), 618);
    for (int r = 0; r < rowCount(TP->MasslessFields); r++) {
        rat h;
        TensorRatWeight(TP, rowOf(TP->MasslessFields, r), &h);
        EXPECT_TRUE(h.num == 0 || (h.num == 1 && h.den == 1)) << r;
    }
}

// With "Graded" on and no graded factor both passes find the same candidates, entered once.
TEST_F(HeteroticTest, GradedPassesEnterCandidatesOnce) {
    setIntPar("Graded", 1);
    Captured cap;
    ASSERT_EQ(ComputeHeterotic(TP), 0);
    EXPECT_TRUE(has(cap.out(), "Pass N; total number 25\nPass R; total number 25\n")) << cap.out();
    EXPECT_EQ(rowCount(TP->MasslessFields), 25);
}

// D5 level 1 graded by its vector: NS labels {0, v}, R labels the spinors (weight 5/8). Beside
// U(1)_12 (weights m^2/24) pass N finds only the vacuum (m^2 = 12 or 24 has no solution), pass R
// the four combinations of a spinor with m = +-3 (5/8 + 9/24 = 1).
TEST_F(HeteroticTest, GradedFactorContributesOneGradePerPass) {
    SpectrumData* d5 = SM_getData(4, 5, 1);
    ASSERT_NE(d5, nullptr);
    int vector = -1;
    for (int l = 0; l < d5->Nprimaries; l++)
        if (2 * d5->Weight_num[l] == d5->Weight_denom)
            vector = l;
    ASSERT_EQ(SM_grade(d5, vector), -1);
    resetCoset(TP);
    addTensorFactor(TP, d5, 0);
    addTensorFactor(TP, SM_getData(0, 12, 0), 0);
    setIntPar("Heterotic factors", 2);
    setIntPar("Particle factors", 2);
    setIntPar("Graded", 1);
    Captured cap;
    ASSERT_EQ(ComputeHeterotic(TP), 0);
    EXPECT_TRUE(has(cap.out(), "Pass N; total number 1\nPass R; total number 4\n")) << cap.out();
    EXPECT_EQ(rowCount(TP->MasslessFields), 5);
}

// The sign of either abelian charge is a convention: a pattern and its images under the
// conjugation of factor 2, of factor 3 or of both have one canonical form.
TEST_F(HeteroticTest, CanonicalPatternIsTheSameForConjugateAbelianCharges) {
    setUp();
    const int n = getNumberOfPatternRoots();
    auto rootOf = [](std::vector<int> labels) {
        labels.push_back(0);
        return findRow(&PatternRoots, labels.data());
    };
    auto canonical = [&](std::vector<std::pair<std::vector<int>, int>> entries) {
        std::vector<int> p(static_cast<std::size_t>(n), 0);
        for (auto& [labels, m] : entries)
            p[static_cast<std::size_t>(rootOf(labels))] = m;
        int* c = optimizedPattern(TP, p.data());
        return std::vector<int>(c, c + n);
    };
    // A triplet of charges (1, 4) with its conjugate, and a singlet of charges (5, 3).
    const std::vector<int> a{1, 0, 1, 4}, abar{2, 0, 29, 16}, s{0, 0, 5, 3};
    const std::vector<int> expected = canonical({{a, 3}, {abar, 3}, {s, 1}});
    EXPECT_EQ(canonical({{{1, 0, 29, 4}, 3}, {{2, 0, 1, 16}, 3}, {{0, 0, 25, 3}, 1}}), expected);
    EXPECT_EQ(canonical({{{1, 0, 1, 16}, 3}, {{2, 0, 29, 4}, 3}, {{0, 0, 5, 17}, 1}}), expected);
    EXPECT_EQ(canonical({{{1, 0, 29, 16}, 3}, {{2, 0, 1, 4}, 3}, {{0, 0, 25, 17}, 1}}), expected);
    EXPECT_NE(canonical({{a, 3}, {s, 1}}), expected);
}

// A selection or names made for other parameters are dropped by the set-up, with a warning.
TEST_F(HeteroticTest, EntriesOfAnotherLengthAreDroppedBySetUp) {
    setIntPar("Heterotic factors", 2);
    std::vector<int> rep{1, 1};
    addNewSelectedRep(rep.data());
    setIntPar("Heterotic factors", 4);
    Captured cap;
    ASSERT_EQ(ComputeHeterotic(TP), 0);
    EXPECT_TRUE(has(cap.out() + cap.err(), "Selected representations of 2 components dropped"));
    EXPECT_EQ(rowCount(&SelectedReps), 0);
}

TEST_F(HeteroticTest, FamilyOfSO10IsAnomalyFreeWithQuantaTwoAndSix) {
    setUp();
    countMultiplets(family16);
    std::array<int, 2> quanta{};
    EXPECT_EQ(computeChargeQuanta(quanta.data()), 1) << "coloured states";
    EXPECT_EQ(quanta, (std::array<int, 2>{2, 6}));
    Captured cap;
    EXPECT_EQ(GSC_computeAnomalies(1), 1);
    EXPECT_EQ(cap.out(), "Anomalies: 0 0 0\nMixed Anomalies: 0 0 0 0 0 0\nTraces: 0 0\n");
}

// Each lepton doublet row weighs twice, each coloured doublet six times: dropping the lepton
// doublet (y, z) = (3, -3) leaves y^3 = -54, z^3 = 54, weak mixed -3 and 3, y^2 z = 54,
// y z^2 = -54 and traces -6 and 6.
TEST_F(HeteroticTest, MissingLeptonDoubletLeavesTheAnomalies) {
    setUp();
    std::vector<Multiplet> partial(family16.begin(), family16.end() - 1);
    countMultiplets(partial);
    Captured cap;
    EXPECT_EQ(GSC_computeAnomalies(1), 0);
    EXPECT_EQ(cap.out(), "Anomalies: 0 -54 54\nMixed Anomalies: 0 0 -3 3 54 -54\nTraces: -6 6\n");
}

// The family is correctly quantized (quantum 6) with the colour labels conjugated; named in that
// convention, the first pass finds chiral exotics at quantum 2 and only records them, the second
// reports the family.
TEST_F(HeteroticTest, NamedFamilyIsReportedInTheConventionOfQuantumSix) {
    nameFamily(true);
    EXPECT_EQ(rowCount(&RepNames), 12) << "every multiplet of the family is chiral";
    setUp();
    countMultiplets(family16);
    std::string text;
    EXPECT_EQ(evaluate(text), 0);
    EXPECT_FALSE(has(text, "Anomalies!")) << text;
    EXPECT_FALSE(has(text, "--- Spectrum --------------------\n")) << text;
    EXPECT_TRUE(has(text, "--- Spectrum (color flipped) ----\nNET FAMILY COUNT: 1\n")) << text;
    EXPECT_TRUE(has(text, "Charge quantum 6\n")) << text;
    ASSERT_EQ(rowCount(&Spectra), 2);
    const int R = setup.R;
    const int* exotics = rowOf(&Spectra, 0);
    EXPECT_EQ(exotics[R + 2], 2);
    EXPECT_EQ(exotics[R + 6], -1);
    const int* family = rowOf(&Spectra, 1);
    std::vector<int> expected(static_cast<std::size_t>(R) + 7, 0);
    expected[0] = 1;
    for (int i = 0; i < R; i += 2)
        expected[static_cast<std::size_t>(i) + 1] = 1; // each named multiplet once, no conjugate
    expected[static_cast<std::size_t>(R) + 2] = 6;
    expected[static_cast<std::size_t>(R) + 4] = 45;
    expected[static_cast<std::size_t>(R) + 6] = 1;
    EXPECT_EQ(std::vector<int>(family, family + R + 7), expected);
}

// Three anti-families: the count is printed with its sign and stored without it.
TEST_F(HeteroticTest, NetFamilyCountIsStoredWithoutSign) {
    nameFamily();
    setUp();
    countMultiplets(family16, 1);
    std::vector<int> qbar = {2, 1, 1, 19};
    std::vector<int> row(4, 0);
    row.insert(row.end(), qbar.begin(), qbar.end());
    enterCounted(&RepCount, row.data(), 4);
    Captured cap;
    GSC_printSpectrum(nullptr, 2, 0, 0, 0, 45);
    EXPECT_TRUE(has(cap.out(), "NET FAMILY COUNT: -3\n")) << cap.out();
    EXPECT_EQ(rowOf(&Spectra, 0)[0], 3);
}

TEST_F(HeteroticTest, UnnamedChiralStatesAtQuantumSixWriteTheCountsAndStop) {
    setUp();
    countMultiplets(family16);
    std::string text;
    EXPECT_EQ(evaluate(text), -5);
    EXPECT_TRUE(has(text, "Exotics in correctly quantized theory!\n")) << text;
    EXPECT_TRUE(has(text, "\"compute filter\" stopped")) << text;
    // Pass 0 (quantum 2) and pass 1 (quantum 6) each leave an exotics record.
    const std::string file = fileText(outputFile(".heterotic"));
    EXPECT_EQ(file, "    0     0     2     0     0     0    -1          1 \n"
                    "    0     0     6     0     0     0    -1          1 \n");
}

// In a background run the same spectrum ends the program with code 1, the counts written first.
TEST_F(HeteroticTest, UnnamedChiralStatesAtQuantumSixEndABackgroundRun) {
    // Forked where it stands, the child writes below this test's output directory.
    GTEST_FLAG_SET(death_test_style, "fast");
    setUp();
    countMultiplets(family16);
    EXPECT_EXIT(
        {
            setBackground(1);
            evaluateUncaptured();
        },
        testing::ExitedWithCode(1), "");
    EXPECT_EQ(count(fileText(outputFile(".heterotic")), "\n"), 2);
}

TEST_F(HeteroticTest, ExoticsAreCountedAgainstTheirConjugates) {
    nameFamily();
    setUp();
    // An unnamed vector-like pair and one more unpaired state: chiral 1, total 3.
    std::vector<Multiplet> list = family16;
    list.push_back({"", 0, 0, 1, 0});
    list.push_back({"", 0, 0, -1, 0});
    list.push_back({"", 0, 0, 2, 2});
    countMultiplets(list);
    int total = 0;
    EXPECT_EQ(findExotics(TP, &total), 1);
    EXPECT_EQ(total, 3);
    countMultiplets(family16);
    EXPECT_EQ(findExotics(TP, &total), -1) << "no unnamed representation";
    EXPECT_EQ(total, 0);
}

// ".heterotic" values are separated, so five-digit values survive, and ".AlgebraList" is read
// by whitespace, so multiplicities of 100 and more come back; lines of the wrong length are
// skipped with a warning.
TEST_F(HeteroticTest, ResultFilesAreReadBackWhateverTheWidthOfTheirValues) {
    setUp();
    const int roots = getNumberOfPatternRoots();
    {
        std::ofstream f(outputFile(".heterotic"));
        f << "    0 12345     2     0    45     1     0          7 \n";
        f << "    1     2     3 \n";
    }
    {
        std::ofstream f(outputFile(".AlgebraList"));
        f << "    0 ";
        for (int k = 0; k < roots; k++)
            f << (k == 1 ? "128 " : " 0 ");
        f << "\n    1  5 \n";
    }
    Captured cap;
    ASSERT_EQ(ComputeHeterotic(TP), 0);
    const std::string text = cap.out() + cap.err();
    ASSERT_EQ(rowCount(&Spectra), 1) << text;
    EXPECT_EQ(rowOf(&Spectra, 0)[1], 12345);
    EXPECT_EQ(countOf(&Spectra, 0), 7);
    ASSERT_EQ(rowCount(&PatternAlgebra), 1) << text;
    EXPECT_EQ(rowOf(&PatternAlgebra, 0)[1], 128);
    EXPECT_EQ(count(text, "skipped"), 2) << text;
}

class HeteroticFilterTest : public HeteroticTest {
protected:
    std::vector<int> J{1, 1, 1, 4}; // weight 1, order 30
    int filter(std::string& text) {
        Captured cap;
        const int r = ComputeFilter(TP, 0);
        text = cap.out() + cap.err();
        return r;
    }
};

TEST_F(HeteroticFilterTest, GeneratorsAreKeptOnceAndEmptiedBySetUp) {
    setUp();
    addNewFilterCurrent(TP, J.data());
    addNewFilterCurrent(TP, J.data());
    EXPECT_EQ(getNumberOfFilterCurrents(), 1);
    setUp();
    EXPECT_EQ(getNumberOfFilterCurrents(), 0);
}

// With "old_algorithm" on the group is built (the powers of J: order 30) and nothing analysed.
TEST_F(HeteroticFilterTest, OldAlgorithmBuildsTheGroupAndWritesNothing) {
    setUp();
    setIntPar("old_algorithm", 1);
    addNewFilterCurrent(TP, J.data());
    std::string text;
    EXPECT_EQ(filter(text), 0);
    setIntPar("old_algorithm", 0);
    EXPECT_EQ(rowCount(&HeteroticFilter), 30);
    EXPECT_FALSE(has(text, "New algebra")) << text;
    EXPECT_FALSE(std::filesystem::exists(outputFile(".heterotic")));
    EXPECT_FALSE(std::filesystem::exists(outputFile(".algebra")));
}

// The doublet alone has weight 1/4 and order 2: outside the effective center.
TEST_F(HeteroticFilterTest, ProductOutsideTheEffectiveCenterIsReported) {
    setUp();
    std::vector<int> doublet{0, 1, 0, 0};
    EXPECT_EQ(CT_effectiveCenterCheck(TP, doublet.data()), 0);
    EXPECT_EQ(CT_effectiveCenterCheck(TP, J.data()), 1);
    addNewFilterCurrent(TP, doublet.data());
    std::string text;
    EXPECT_EQ(filter(text), 1);
    EXPECT_TRUE(has(text, "Generator  (0,1,0,0)")) << text;
    EXPECT_TRUE(has(text, "Filter element  (0,0,0,0)")) << text;
    EXPECT_TRUE(has(text, "outside the effective center")) << text;
}

TEST_F(HeteroticFilterTest, ChangesSinceTheSetUpAreRefused) {
    std::string text;
    setUp();
    std::vector<int> q{1, 1, 29, 1};
    addNewRepresentationName(TP, "Q", q.data());
    EXPECT_EQ(filter(text), 1);
    EXPECT_TRUE(has(text, "the representation names changed")) << text;
    setUp();
    setIntPar("Particle factors", 3);
    EXPECT_EQ(filter(text), 1);
    EXPECT_TRUE(has(text, "\"Particle factors\" changed")) << text;
    setIntPar("Particle factors", 4);
    EXPECT_EQ(filter(text), 0) << text;
}

TEST_F(HeteroticTest, SetUpRefusesParametersBeyondTheFactorsAndFactorsWithoutDimensions) {
    setIntPar("Heterotic factors", 5);
    Captured cap;
    EXPECT_EQ(ComputeHeterotic(TP), 1);
    setIntPar("Heterotic factors", 4);
    setIntPar("Particle factors", 5);
    EXPECT_EQ(ComputeHeterotic(TP), 1);
    setIntPar("Particle factors", 4);
    SpectrumData* plain = tensortest::madeUpBlock("no dimensions", {0}, 1);
    plain->type = 9;
    addTensorFactor(TP, plain, 0);
    EXPECT_EQ(ComputeHeterotic(TP), 1);
    const std::string text = cap.out() + cap.err();
    EXPECT_TRUE(has(text, "\"Heterotic factors\" (5) exceeds the number of factors (4)")) << text;
    EXPECT_TRUE(has(text, "\"Particle factors\" (5) exceeds the number of factors (4)")) << text;
    EXPECT_TRUE(has(text, "Factor 4 has no ground-state dimensions")) << text;
}

// Names: a conjugate pair gets a starred twin, a self-conjugate one none, and the hundred-and-
// first is refused before it is entered.
TEST_F(HeteroticTest, RepresentationNamesAndTheirLimits) {
    std::vector<int> q{1, 1, 29, 1}, singlet{0, 0, 0, 0}, doublet{0, 1, 0, 0};
    EXPECT_EQ(addNewRepresentationName(TP, "Q", q.data()), 0);
    EXPECT_EQ(addNewRepresentationName(TP, "H", doublet.data()), 0);
    ASSERT_EQ(rowCount(&RepNames), 3);
    EXPECT_EQ(Names[1], "Q*");
    EXPECT_EQ(Names[2], "H");
    Captured cap;
    EXPECT_EQ(addNewRepresentationName(TP, "TOOLONGX", singlet.data()), 1);
    EXPECT_EQ(rowCount(&RepNames), 4) << "entered without a name";
    for (int y = 1; rowCount(&RepNames) < 100; y++) {
        std::vector<int> v{0, 0, y % 30, y / 30};
        addNewRepresentationName(TP, "x", v.data());
    }
    std::vector<int> last{1, 0, 0, 0};
    EXPECT_EQ(addNewRepresentationName(TP, "y", last.data()), 1);
    EXPECT_EQ(rowCount(&RepNames), 100);
    EXPECT_TRUE(has(cap.out() + cap.err(), "Too many representation names"));
    EXPECT_TRUE(has(cap.out() + cap.err(), "Name too long"));
}

} // namespace
