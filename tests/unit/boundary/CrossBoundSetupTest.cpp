// The lazy set-up chain: each step runs again only when its stamp is stale (the labels with the
// bulk invariant, the unoriented step with the orientifold counter), and the theories and
// invariants for which it stops or only warns.
#include "CrossBoundTestHelpers.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

using namespace boundarytest;
namespace cbi = crossbound_internal;

namespace {

using Lines = std::vector<std::string>;

class Setup : public BoundaryTest {
protected:
    // The "##init: " lines that f prints with "Init_debug" on. The current orientifold's record
    // is made once per process, by whichever test needs it first: its line says nothing of the
    // stamps and is left out. So are the lines of the modular caches, which print them only once
    // a test of this process has started the modular layer.
    template <class F> static Lines traced(F f) {
        parameter("Init_debug") = 1;
        testsupport::Captured cap;
        f();
        parameter("Init_debug") = 0;
        Lines lines = initLines(cap.out());
        for (const char* other :
             {"Allocated orientifold @", "First row of S initialized", "Orbit P matrix initialized",
              "Orbit S matrix initialized", "P matrix pre-initialized", "S matrix initialized",
              "Simple current orbits available"})
            std::erase(lines, std::string(other));
        return lines;
    }
};

TEST_F(Setup, EachStepRunsOnlyWhenItsStampIsStale) {
    theory(1, 1, 4);
    EXPECT_EQ(traced([] { EXPECT_EQ(TotalIshibashi(), 5); }),
              (Lines{"Stage 2 allocation for Orientifold @", "Orientifold @ reset",
                     "Loading ModInvGroupCharges for orientifold @",
                     "Finished loading ModInvGroupCharges for orientifold @", "Orbits loaded",
                     "Simple current BCFT initiated", "Oriented open string data initialized"}));
    EXPECT_EQ(traced([] {
                  EXPECT_EQ(TotalBoundaries(), 5);
                  EXPECT_EQ(initializeOrientedOpenString(), 0);
              }),
              Lines{})
        << "a second command builds nothing";
    EXPECT_EQ(traced([] { EXPECT_EQ(initializeOpenString(), 0); }),
              (Lines{"Loading Ishibashi metric for Orientifold @",
                     "Loading ModInvGroupCharges for orientifold @",
                     "Finished loading ModInvGroupCharges for orientifold @",
                     "Open string data initialized"}));
    EXPECT_EQ(traced([] { EXPECT_EQ(initializeOpenString(), 0); }), Lines{});

    // The boundary search reset moves only the orientifold counter.
    const int before = QueryOrientifold();
    resetBoundaries();
    EXPECT_EQ(QueryOrientifold(), before + 1);
    EXPECT_EQ(cbi::CrosscapStatus, 0);
    EXPECT_EQ(traced([] { EXPECT_EQ(initializeOpenString(), 0); }),
              Lines{"Open string data initialized"});

    // A new invariant rebuilds the labels.
    ASSERT_NE(simpleCurrentInvariant(1), nullptr);
    const Lines lines = traced([] { EXPECT_EQ(TotalIshibashi(), 4); });
    EXPECT_EQ(std::count(lines.begin(), lines.end(), "Simple current BCFT initiated"), 1);
    EXPECT_EQ(lines.back(), "Oriented open string data initialized");
}

// The 3-cycle invariants of so(8) level 1 are not symmetric: labels (one of each kind), but no
// unoriented data.
TEST_F(Setup, NonSymmetricInvariantHasLabelsButNoUnorientedData) {
    theory(4, 4, 1);
    parameter("Reject permutations") = 0;
    BulkInvariant* bi = nullptr;
    for (int n = 1; n < 10 && (!bi || bi->symmetric != 0); n++)
        bi = simpleCurrentInvariant(n);
    ASSERT_NE(bi, nullptr);
    ASSERT_EQ(bi->symmetric, 0);
    EXPECT_EQ(TotalIshibashi(), 1);
    EXPECT_EQ(TotalBoundaries(), 1);
    int rc = 0;
    const std::string err = modulartest::reportsOf([&] { rc = initializeOpenString(); });
    EXPECT_EQ(rc, 1);
    EXPECT_NE(err.find("Non-symmetric invariant; no unoriented string functions available"),
              std::string::npos)
        << err;
    EXPECT_EQ(initializeOrientedOpenString(), 0);
}

// Without charge conjugation nothing is built, and the next call tries again.
TEST_F(Setup, WithoutConjugationThereAreNoLabels) {
    SpectrumData* block = theory(1, 1, 4);
    SpectrumData none{};
    none.type = 26; // a block type without conjugation
    setCurrentSD(&none);
    invtest::outputOf([] { bulkInvariantChanged(); });
    {
        testsupport::Captured cap;
        EXPECT_EQ(initializeOrientedOpenString(), 1);
        EXPECT_EQ(TotalBoundaries(), 0);
        EXPECT_EQ(TotalIshibashi(), 0);
        EXPECT_EQ(initializeOpenString(), 1);
        const std::string text =
            "No conjugation defined for this algebra;\nOpen string functions not available.\n";
        std::string expected;
        for (int k = 0; k < 4; k++)
            expected += text;
        EXPECT_EQ(cap.out(), expected);
    }
    setCurrentSD(block);
}

// B2 twisted-modified at level 1 is not a valid CFT: reported, and the labels come all the same.
TEST_F(Setup, InvalidTheoryIsReportedAndItsLabelsBuilt) {
    theory(13, 2, 1);
    ASSERT_EQ(MOD_isValidCFT(), 0);
    int total = 0;
    const std::string err = modulartest::reportsOf([&] { total = TotalIshibashi(); });
    EXPECT_NE(err.find("This is not a CFT; be prepared for nonsense"), std::string::npos) << err;
    EXPECT_EQ(total, getTotalPrimaries());
}

// A current record sized for an earlier invariant is brought to the present one.
TEST_F(Setup, StaleOrientifoldIsBroughtToTheBulkInvariant) {
    theory(1, 1, 4);
    OrientifoldInfo* stale = nullptr;
    allocateOrientifoldInfo_stage2(&stale);
    ASSERT_NE(simpleCurrentInvariant(1), nullptr);
    setSelectedOrientifold(stale);
    int rc = 1;
    const std::string err = modulartest::reportsOf([&] { rc = initializeOpenString(); });
    EXPECT_EQ(rc, 0);
    EXPECT_NE(err.find("Orientifold does not match bulk invariant; resetting"), std::string::npos)
        << err;
    EXPECT_EQ(stale->ModInvNr, QueryBulkInvariant());
    EXPECT_EQ(getCurrentOrientifold(), stale);
}

// An exceptional invariant made while "Orientifold" was off has no Klein bottle; once it is on,
// the next unoriented set-up installs the standard one.
TEST_F(Setup, ExceptionalKleinBottleFollowsTheOrientifoldSwitch) {
    theory(1, 2, 1);
    parameter("Orientifold") = 0;
    invtest::outputOf([] { setConjugationInvariant(); });
    EXPECT_NE(cbi::KleinBottleModInvNr, QueryBulkInvariant());
    EXPECT_EQ(initializeOpenString(), 0);
    EXPECT_EQ(cbi::CrosscapStatus, -1) << "crosscaps not needed";

    parameter("Orientifold") = 1;
    resetBoundaries();
    int rc = 1;
    const std::string err = modulartest::reportsOf([&] { rc = initializeOpenString(); });
    EXPECT_EQ(rc, 0);
    EXPECT_NE(err.find("Klein bottle not adapted to modular invariant; resetting"),
              std::string::npos)
        << err;
    EXPECT_EQ(cbi::KleinBottleModInvNr, QueryBulkInvariant());
    const int* K = cbi::ExceptionalKlein.X;
    EXPECT_EQ(std::vector<int>(K, K + 3), (std::vector<int>{1, 1, 1}));
    // sum_i S(i, m) vanishes off the vacuum: the crosscaps of K = (1,1,1) exist.
    EXPECT_EQ(cbi::CrosscapStatus, 1);
}

} // namespace
