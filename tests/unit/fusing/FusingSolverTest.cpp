#include "FusingTestHelpers.h"

#include <array>
#include <cmath>
#include <complex>
#include <string>

using namespace fusingtest;

namespace {

class Solver : public FusingTest {
protected:
    void TearDown() override {
        setFusingSolutionLimit(100000);
        FusingTest::TearDown();
    }
    // Runs the solver quietly; its printout stays in `out`.
    int solve() {
        Captured cap;
        const int result = findFusingMatrices(1);
        out = cap.out();
        return result;
    }
    static int row(std::array<int, 6> labels) {
        return findVectorInCollection(&PentagonVariables, labels.data());
    }
    static int count(const std::string& s, const std::string& what) {
        int n = 0;
        for (std::size_t pos = s.find(what); pos != std::string::npos; pos = s.find(what, pos + 1))
            n++;
        return n;
    }
    // Every hexagon and pentagon below the bound and S hold with the flips of the last analysis.
    static int failuresWithFlips() {
        Captured quiet;
        return checkPolynomial(99, 1);
    }

    std::string out;
};

// Ising: everything is determined and no sign flips; the braiding signs then give the standard
// R^{ss}_0 = e^{-i pi/8}, R^{ee}_0 = -1 and R^{se}_s = -i through R = eps e^{i pi (h_c-h_a-h_b)}.
TEST_F(Solver, IsingIsDeterminedWithoutFlips) {
    SpectrumData* sd = useIsing();
    ASSERT_EQ(solve(), 1) << out;
    EXPECT_EQ(PentagonVariables.Nfill, 43);
    EXPECT_EQ(static_cast<int>(FusingGaugeVariables.size()), 10);
    EXPECT_EQ(PolyNom->equations(), 43);
    EXPECT_EQ(count(out, "Fusing matrices fully determined"), 1);
    EXPECT_EQ(count(out, "Solution Accepted; Number of parameter flips: 0"), 1);
    for (int f : BasicSolution)
        EXPECT_EQ(f, 0);
    EXPECT_EQ(failuresWithFlips(), 0);
    const double pi = std::acos(-1.0);
    struct Case {
        int a, b, c;
        std::complex<double> R;
    };
    for (const Case& k : {Case{2, 2, 0, std::polar(1.0, -pi / 8)}, Case{1, 1, 0, {-1.0, 0.0}},
                          Case{2, 1, 2, {0.0, -1.0}}}) {
        const double w = SM_realWeight(sd, k.c) - SM_realWeight(sd, k.a) - SM_realWeight(sd, k.b);
        const std::complex<double> R = std::polar(1.0 * getEpsilon(k.a, k.b, k.c), pi * w);
        EXPECT_LT(std::abs(R - k.R), 1e-9) << k.a << k.b << k.c;
    }
}

// The orbifold of rank N in our gauge: the unknowns, the couplings 2N^2+6N+8, the free signs;
// the basic solution flips nothing, every unit choice is a gauge
// transformation (one class), and all 2^n choices are enumerated, the last one (every free sign
// flipped) keeping every equation.
TEST_F(Solver, OrbifoldChoicesFormOneClass) {
    struct Case {
        int N, unknowns, free;
    };
    for (const Case& c : {Case{2, 194, 0}, Case{3, 411, 1}, Case{4, 751, 1}, Case{5, 1236, 2}}) {
        SCOPED_TRACE(c.N);
        use(SM_getData(7, c.N, 0));
        ASSERT_EQ(solve(), 1) << out;
        EXPECT_EQ(PentagonVariables.Nfill, c.unknowns);
        EXPECT_EQ(static_cast<int>(FusingGaugeVariables.size()), 2 * c.N * c.N + 6 * c.N + 8);
        EXPECT_EQ(static_cast<int>(freeUnknowns().size()), c.free);
        int flips = 0;
        for (int f : BasicSolution)
            flips += f;
        EXPECT_EQ(flips, 0);
        EXPECT_EQ(FusingSignClasses.size(), 1u);
        EXPECT_EQ(count(out, "New class"), 0);
        EXPECT_EQ(count(out, "Loop  ("), c.free == 0 ? 0 : 1 << c.free);
        EXPECT_EQ(count(out, "Solution Rejected"), 0);
        EXPECT_EQ(failuresWithFlips(), 0);
    }
}

// A free boson of 4 fields: eps_33^2 stays free; flipping it flips eps_11^2 as well, i.e. turns
// the twist of field 1 from e^{2 pi i/8} into e^{2 pi i 5/8}: a second braiding, not a gauge
// transformation. Both choices make every equation hold.
TEST_F(Solver, BosonOfFourFieldsHasTwoBraidings) {
    useBoson(4);
    ASSERT_EQ(solve(), 1) << out;
    EXPECT_EQ(PentagonVariables.Nfill, 74);
    EXPECT_EQ(static_cast<int>(FusingGaugeVariables.size()), 16);
    const std::vector<int> vars = freeUnknowns();
    ASSERT_EQ(vars, std::vector<int>{row({-1, -1, 3, 3, 2, -1})});
    EXPECT_EQ(FusingSignClasses.size(), 2u);
    for (int bit : {0, 1}) {
        {
            Captured quiet;
            EXPECT_EQ(analyseFusingSignChoice(1, &bit, vars.data(), 0), 0);
        }
        EXPECT_EQ(flippedvars[row({-1, -1, 1, 1, 2, -1})], flippedvars[vars[0]]) << bit;
        EXPECT_EQ(failuresWithFlips(), 0) << bit;
    }
}

// The enumeration stops at its limit with the next choice printed, and says so.
TEST_F(Solver, LimitStopsTheEnumeration) {
    useBoson(4);
    setFusingSolutionLimit(1);
    EXPECT_EQ(solve(), 2);
    const std::string tail = out.substr(out.find("Final analysis"));
    EXPECT_EQ(count(tail, "Solution Accepted"), 1) << tail;
    EXPECT_NE(tail.find("Loop  (1)\nToo many solutions\n"), std::string::npos) << tail;
    setFusingSolutionLimit(2);
    EXPECT_EQ(solve(), 1);
    EXPECT_EQ(count(out, "Too many solutions"), 0);
}

// Blocks whose weights admit no braiding with signs alone: three fields give equations no sign
// choice satisfies, five fields sign equations that contradict each other. Neither is a solution.
TEST_F(Solver, NoBraidingMeansNoSolution) {
    for (int N : {3, 5}) {
        useBoson(N);
        std::string err;
        {
            Captured cap;
            EXPECT_EQ(findFusingMatrices(1), 0) << N;
            err = cap.err();
        }
        EXPECT_TRUE(err.find("Unsolvable equation") != std::string::npos ||
                    err.find("No solution") != std::string::npos)
            << err;
    }
}

// A choice under which an ambiguous family fails is rejected and gets no class. With the gauge
// fixing alone every sign of the boson keeps its computed value +1, and the hexagons of (1, 2, 3)
// fail; flipping eps_11^2, no gauge transformation, does not mend them.
TEST_F(Solver, RejectedChoiceGetsNoClass) {
    useBoson(4);
    Captured quiet;
    getPentagonVariables(4);
    getFusingGaugeVariables(4);
    resetSignEquations();
    chooseFusingGauge();
    int key[4] = {-1, 1, 2, 3};
    addVectorToCollection(&FailedEquations, key);
    const std::vector<int> vars = freeUnknowns();
    const int n = static_cast<int>(vars.size());
    std::vector<int> choice(n, 0);
    EXPECT_EQ(analyseFusingSignChoice(n, choice.data(), vars.data(), 0), 1);
    FusingSignClasses.assign(1, choice);
    const auto t = std::find(vars.begin(), vars.end(), row({-1, -1, 1, 1, 2, -1})) - vars.begin();
    ASSERT_LT(t, n);
    choice[t] = 1;
    addFusingSignChoice(n, choice.data(), vars.data());
    EXPECT_EQ(FusingSignClasses.size(), 1u);
    EXPECT_NE(quiet.out().find("Solution Rejected; Number of parameter flips: 1\n"),
              std::string::npos);
}

// Every recorded family is checked, wherever it stands in the record: the hexagons of the
// identity hold, those of (1, 2, 3) fail under the bare gauge fixing of the boson.
TEST_F(Solver, EveryRecordedFamilyIsChecked) {
    using Key = std::array<int, 4>;
    const Key holds = {-1, 0, 0, 0}, fails = {-1, 1, 2, 3};
    struct Case {
        std::vector<Key> keys;
        int rejected;
    };
    const Case cases[] = {{{holds}, 0}, {{holds, fails}, 1}, {{fails, holds}, 1}};
    for (const Case& c : cases) {
        useBoson(4);
        int rejected = -1;
        {
            Captured quiet;
            getPentagonVariables(4);
            getFusingGaugeVariables(4);
            resetSignEquations();
            chooseFusingGauge();
            for (Key key : c.keys)
                addVectorToCollection(&FailedEquations, key.data());
            const std::vector<int> vars = freeUnknowns();
            const int n = static_cast<int>(vars.size());
            std::vector<int> choice(n, 0);
            rejected = analyseFusingSignChoice(n, choice.data(), vars.data(), 0);
        }
        EXPECT_EQ(rejected, c.rejected) << c.keys.size() << " families, first " << c.keys[0][1];
    }
}

// The text of an unknown: labels only outside the orbifold; for the orbifold also the type and
// the channels of the four vertices. F_53[5 5 4 4] of rank 3 (doublets 4, 5 of parameters 1, 2):
// a = b and c = d with 2 + 1 = N, q = 3 odd, p = 5 not 0 or 2, parameter 2 even: "k (a even)";
// vertices (a,b,p), (c,d,p), (a,d,q), (b,c,q).
TEST_F(Solver, TextOfAnUnknown) {
    useIsing();
    const int entry[6] = {0, 1, 2, 2, 2, 2}, sign[6] = {-1, -1, 2, 2, 1, -1};
    EXPECT_EQ(PrintFusing(entry, 1), "    F_0_1[2,2,2,2]");
    EXPECT_EQ(PrintFusing(sign, 1), "    eps_2_2^1");
    use(SM_getData(7, 3, 0));
    const int orbifold[6] = {5, 3, 5, 5, 4, 4};
    // phi2 x phi2 reaches phi4 only wrapped to phi2 (channel 0); phi1 x phi1 = phi2 by the sum,
    // phi2 x phi1 = phi3, the field at N that splits into 2 and 3, by the sum.
    const std::string channels = " (Fusing cond. 0 1 1 1)";
    EXPECT_EQ(PrintFusing(orbifold, 1), "    F_5_3[5,5,4,4] (type k (a even))" + channels);
    EXPECT_EQ(PrintFusing(orbifold, 0), "    F_5_3[5,5,4,4]" + channels);
    EXPECT_EQ(PrintFusing(sign, 0), "    eps_2_2^1");
}

// The run names its gauge.
TEST_F(Solver, GaugeIsAnnounced) {
    useIsing();
    const char* names[3] = {"reference", "naive", "our"};
    for (int g = 0; g < 3; g++) {
        GaugeChoice = g;
        solve();
        EXPECT_EQ(out.rfind(std::string("Basic solution in ") + names[g] + " gauge\n", 0), 0u)
            << out;
    }
}

} // namespace
