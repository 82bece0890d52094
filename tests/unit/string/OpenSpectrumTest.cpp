// The closed-sector store and counts, and the table of a parametrised tadpole solution on su(3)
// level 1 with its diagonal invariant: boundary 0 carries Sp(N) (loop variable 0, N/2), the
// conjugate boundaries 1 and 2 form one unitary pair (loop variable 1).
#include "string/TadpoleTestHelpers.h"

#include "base/Parameters.h"
#include "numeric/Equations.h"
#include "string/OpenSpectrumAnalysis.h"
#include "string/OpenSpectrumAnalysisInternal.h"
#include "string/StringTheory.h"
#include "string/Tadpole.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

TEST(ClosedSectorStore, AddsEqualVectorsAndSkipsEmptyOnes) {
    ClosedSectorStore store(3);
    const int a[] = {1, 0, 2}, b[] = {0, 1, 0}, zero[] = {0, 0, 0};
    store.add(a, 2);
    store.add(b, 1);
    store.add(a, 3);
    store.add(b, 0);       // no multiplicity
    store.add(zero, 5);    // no state
    store.add(nullptr, 1); // a product that does not exist
    ASSERT_EQ(store.size(), 2);
    EXPECT_EQ(store.count(0), 5);
    EXPECT_EQ(store.count(1), 1);
    EXPECT_EQ(std::vector<int>(store.vector(1), store.vector(1) + 3), (std::vector<int>{0, 1, 0}));
    EXPECT_EQ(store.packed(), (std::vector<int>{1, 0, 2, 0, 1, 0, 5, 1}));
}

// A closed string with many distinct representations must not end the program.
TEST(ClosedSectorStore, GrowsPastFifteenDistinctVectors) {
    ClosedSectorStore store(2);
    for (int k = 1; k <= 40; k++) {
        const int v[] = {k, -k};
        store.add(v, k);
    }
    ASSERT_EQ(store.size(), 40);
    EXPECT_EQ(store.count(39), 40);
    EXPECT_EQ(store.vector(39)[1], -40);
}

// In four dimensions the first four entries (scalar, spinor, vector, conjugate spinor) name the
// multiplet; the six counts are the stored multiplicities of the six patterns.
TEST(OrderRepCount, ReadsTheSixMultipletPatterns) {
    const int width = 14;
    const std::vector<std::vector<int>> heads = {
        {1, 1, 0, 1}, {0, 1, 0, 1}, {0, 0, 0, 1}, {2, 0, 0, 0}, {1, 0, 0, 1}};
    const std::vector<int> counts = {7, 3, 5, 9, 11};
    std::vector<int> packed;
    for (const auto& h : heads) {
        packed.insert(packed.end(), h.begin(), h.end());
        packed.insert(packed.end(), width - 4, 0);
    }
    packed.insert(packed.end(), counts.begin(), counts.end());
    int repcnt[6] = {-1, -1, -1, -1, -1, -1};
    ASSERT_EQ(OrderRepCount(repcnt, packed.data(), 4, 5), repcnt);
    EXPECT_EQ(std::vector<int>(repcnt, repcnt + 6), (std::vector<int>{3, 0, 11, 7, 0, 5}));
}

class Su3Tadpoles : public tadpoletest::TadpoleTest {
protected:
    void SetUp() override {
        BoundaryTest::SetUp();
        startWithEquations(1, 2, 1, 2);
        if (HasFatalFailure())
            return;
        ASSERT_EQ(convertLoopLabelToCPLabel(0), 0);
        ASSERT_EQ(getSolutionGroupTypes()[0], -1);
        ASSERT_EQ(getSolutionGroupTypes()[1], 0);
        simplest = SimplestOnly;
        SimplestOnly = 0; // the full solution set is asked for
    }
    void TearDown() override {
        SimplestOnly = simplest;
        TadpoleTest::TearDown();
    }
    // Kernel vectors (untagged, so all relevant) over the three columns.
    void kernel(const std::vector<std::vector<int>>& rows) {
        KD.MaxKernelSize = 4;
        KD.Kernel.reserve(3 * (KD.MaxKernelSize + 1));
        KD.KernelSize = static_cast<int>(rows.size());
        for (std::size_t r = 0; r < rows.size(); r++)
            for (std::size_t c = 0; c < 3; c++)
                KD.Kernel.X[r * 3 + c] = rows[r][c];
        active.assign(3, 0);
        KD.Active = active.data();
    }
    KernelData KD;
    std::vector<int> active;
    int simplest = 0;
};

TEST_F(Su3Tadpoles, BoundaryColumnCentresTheLabels) {
    EXPECT_EQ(std::string(getBoundaryInfoString(0)), " -->        (0)        --> ");
    EXPECT_EQ(std::string(getBoundaryInfoString(1)), " -->       (1,2)       --> ");
}

// Sp(2 N_0) and U(2 + N_1): ranks N_0 and 2 + N_1.
TEST_F(Su3Tadpoles, ParametersFollowTheGroupTypes) {
    kernel({{1, 0, 0}, {0, 1, 0}});
    int sol[] = {0, 2, 1};
    testsupport::Captured cap;
    printParametrizedSolution(&KD, 3, sol);
    const std::string out = cap.out();
    EXPECT_NE(out.find("\nSolution (Notation: Variable nr. --> Boundary (pair) --> CP group "
                       "factor)\n 0  -->        (0)        --> Sp(2N_0)\n 1  -->       (1,2)  "
                       "     --> U(2+N_1)\n"),
              std::string::npos)
        << out;
    EXPECT_NE(out.find("Number of factors:    2 (out of 2) \nNumber of parameters: 2 (out of 4) "
                       "\nRank (for even parameter values):\n2+N_0+N_1\n"),
              std::string::npos)
        << out;
    EXPECT_EQ(active, (std::vector<int>{1, 1, 0}));
}

// A symplectic entry counts double after the basic multiplicity; a variable whose basic value
// touches and that is zero still gets its line from the parameter.
TEST_F(Su3Tadpoles, EntriesAfterTheBasicMultiplicity) {
    kernel({{1, 0, 0}, {0, 3, 0}});
    int sol[] = {3, 0, 1};
    testsupport::Captured cap;
    printParametrizedSolution(&KD, 3, sol);
    const std::string out = cap.out();
    EXPECT_NE(out.find("--> Sp(6+2N_0)\n"), std::string::npos) << out;
    EXPECT_NE(out.find("--> U(3N_1)\n"), std::string::npos) << out;
    EXPECT_NE(out.find("Rank (for even parameter values):\n3+N_0+3N_1\n"), std::string::npos)
        << out;
}

// Sp(4) on boundary 0 and U(3) on the pair: 10 + 9 gauge bosons.
TEST_F(Su3Tadpoles, GaugeBosonsOfAConfiguration) {
    const int vars[] = {0, 1}, mults[] = {4, 3};
    ChanPatonData* CPD = generateChanPatonData(2, getCurrentOrientifold(), vars, mults);
    std::vector<char> types;
    testsupport::Captured cap;
    EXPECT_EQ(gaugeBosonCount(CPD, 0, &types), 19);
    EXPECT_EQ(cap.out(), "Factor 0 contributes gauge group Sp(4)\n"
                         "Factor 1 contributes to gauge group U(3) (first label)\n"
                         "Factor 2 contributes to gauge group U(3) (second label)\n");
    EXPECT_EQ(types, (std::vector<char>{'S', 'U'}));
}

// A fixed stack is listed first, by letter, with its fixed multiplicity; the loop variables follow.
TEST_F(Su3Tadpoles, FixedStacksComeFirst) {
    {
        testsupport::Captured quiet;
        ASSERT_EQ(setFixVar(1, 3), 1);
        ASSERT_EQ(getTadpoleEquations(), 0);
    }
    ASSERT_EQ(getNumberOfLoopVariables(), 1);
    KD.MaxKernelSize = 2;
    KD.Kernel.reserve(2 * 3);
    KD.KernelSize = 0;
    active.assign(2, 0);
    KD.Active = active.data();
    int sol[] = {2, 1};
    testsupport::Captured cap;
    printParametrizedSolution(&KD, 2, sol);
    EXPECT_NE(cap.out().find(" a  -->       (1,2)       --> U(3) [fixed]\n"
                             " 0  -->        (0)        --> Sp(4)\n"),
              std::string::npos)
        << cap.out();
    EXPECT_NE(cap.out().find("Rank (for even parameter values):\n2\n"), std::string::npos);
}

TEST_F(Su3Tadpoles, AllZeroSolutionPrintsNothing) {
    kernel({{1, 0, 0}});
    int sol[] = {0, 0, 1};
    testsupport::Captured cap;
    printParametrizedSolution(&KD, 3, sol);
    EXPECT_EQ(cap.out(), "");
}

} // namespace

namespace {

// Lines of the detailed listing for two stacks, the sector on stack 1, field 7, class weight w.
TEST(DetailedListing, TensorsOfADiagonalSector) {
    struct Case {
        int A, M, w, sign, adjoint;
        const char* lines;
    };
    const Case cases[] = {
        // (A + M)/2 = 2 symmetric, (A - M)/2 = 1 antisymmetric tensors.
        {3, 1, 2, 0, 0,
         "From character lbl    7:  4 x   (0 ,S )\nFrom character lbl    7:  2 x   (0 ,A )\n"},
        {4, 0, 1, 5, 0,
         "From character lbl    7:  2 x   (0 ,S*)\nFrom character lbl    7:  2 x   (0 ,A*)\n"},
        {1, -1, 1, -3, 0, "From character lbl    7:        (0 ,A )\n"},
        {2, 0, 3, 0, 1, "From character lbl    7:  6 x   (0 ,Ad)\n"},
        {0, 0, 1, 0, 0, ""},
    };
    for (const Case& c : cases) {
        std::string txt;
        PrintRep1string(txt, 1, 2, c.A, c.M, c.w, 7, c.sign, c.adjoint);
        EXPECT_EQ(txt, c.lines) << c.A << " " << c.M;
    }
}

// An odd A - M cannot be split evenly; the halving still ends.
TEST(DetailedListing, OddSectorEnds) {
    std::string txt;
    PrintRep1string(txt, 0, 1, 5, 0, 1, 3, 0, 0);
    EXPECT_EQ(txt, "From character lbl    3:  2 x   (S )\nFrom character lbl    3:  2 x   (A )\n");
}

// An annulus smaller than |M| is no tensor sector: it is reported with its own numbers, not
// folded as if |M| = A.
TEST(DetailedListing, SizeViolationKeepsItsAnnulus) {
    testsupport::Captured cap;
    std::string txt;
    PrintRep1string(txt, 1, 2, 2, 3, 1, 7, 0, 0);
    EXPECT_NE(cap.err().find("Unknown representation: Annulus=2,Moebius=3,adjoint=0"),
              std::string::npos);
    EXPECT_EQ(txt, "From character lbl    7:        (0 ,)\n");
}

// The listing names the field and label of a parity violation; the six-dimensional report does
// not.
TEST(DetailedListing, AmplitudeCheckTexts) {
    struct Case {
        int A, M;
        bool where;
        const char* text;
    };
    const Case cases[] = {
        {3, 0, true, "Annulus/Moebius parity violation (i=4,a=2)"},
        {3, 0, false, "Annulus/Moebius parity violation"},
        {1, 3, false, "Annulus/Moebius size violation"},
    };
    for (const Case& c : cases) {
        testsupport::Captured cap;
        amplitudeChecks("test", 4, 2, c.A, c.M, c.where);
        const std::string all = cap.out() + cap.err();
        EXPECT_NE(all.find(c.text), std::string::npos) << all;
        if (!c.where) {
            EXPECT_EQ(all.find("(i="), std::string::npos) << all;
        }
    }
    testsupport::Captured quiet;
    amplitudeChecks("test", 4, 2, 3, 1, true);
    EXPECT_EQ(quiet.out() + quiet.err(), "");
}

TEST(DetailedListing, BifundamentalMarksConjugates) {
    std::string txt;
    PrintRep2string(txt, 3, 0, 2, 2, 3, 11, 1, -1);
    EXPECT_EQ(txt, "From character lbl   11:  6 x   (V*,0 ,V )\n");
    testsupport::Captured cap;
    PrintRep2(3, 0, 2, 1, 1, 11, 1, -1);
    EXPECT_EQ(cap.out(), "From character lbl   11:        (V ,0 ,V*)\n");
}

} // namespace
