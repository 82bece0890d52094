#include "FusingTestHelpers.h"

#include <array>
#include <cmath>
#include <map>
#include <string>

using namespace fusingtest;

namespace {

class Gauge : public FusingTest {
protected:
    // The solution with the given free bits, applied as flips.
    static void useChoice(const std::vector<int>& vars, const std::vector<int>& bits) {
        flippedvars.assign(PentagonVariables.Nfill, 0);
        for (std::size_t t = 0; t < vars.size(); t++)
            flippedvars[vars[t]] = bits[t];
        PolyNom->solve(flippedvars);
        UseFlippedVariables = 1;
    }
    static int row(std::array<int, 6> labels) {
        return findVectorInCollection(&PentagonVariables, labels.data());
    }
};

int countLines(const std::string& s, const std::string& prefix) {
    int n = 0;
    std::size_t pos = 0;
    while ((pos = s.find(prefix, pos)) != std::string::npos) {
        n++;
        pos += prefix.size();
    }
    return n;
}

// Five rules for other blocks, six for the orbifold; signatures tie only the orbifold's
// unknowns.
TEST_F(Gauge, RuleListDependsOnBlock) {
    struct Case {
        int N; // -1 Ising, 0 boson of 4 fields, else orbifold
        int rules;
        int ties;
    };
    for (const Case& c : {Case{-1, 5, 0}, Case{0, 5, 0}, Case{3, 6, 1}}) {
        SCOPED_TRACE(c.N);
        if (c.N < 0)
            useIsing();
        else if (c.N == 0)
            useBoson(4);
        else
            use(SM_getData(7, c.N, 0));
        Captured cap;
        getPentagonVariables(fusingLabelBound());
        resetSignEquations();
        chooseFusingGauge();
        EXPECT_EQ(countLines(cap.out(), "Fixing fusings") + countLines(cap.out(), "Fixing Fusing") +
                      countLines(cap.out(), "Fixing epsilon_aa^0"),
                  c.rules);
        EXPECT_EQ(countLines(cap.out(), "Fixing relative signs"), c.ties);
        EXPECT_EQ(countLines(cap.out(), "internal primary propagation"), c.rules - 5);
    }
}

// Ising: the gauge fixing and the equations leave nothing free, and every sign keeps its computed
// value; an unknown with a vacuum label is fixed, and asking for its flip contradicts.
TEST_F(Gauge, IsingIsFullyDetermined) {
    useIsing();
    Captured cap;
    ASSERT_TRUE(fixAndCollect(3));
    EXPECT_TRUE(freeUnknowns().empty());
    storeBasicSolution();
    for (int b : BasicSolution)
        EXPECT_EQ(b, 0);
    const int vacuumEntry = row({0, 0, 2, 2, 2, 2});
    ASSERT_GE(vacuumEntry, 0);
    EXPECT_EQ(PolyNom->add({vacuumEntry}, 1), -1);
    EXPECT_EQ(FailedEquations.Nfill, 0);
}

// The basic solution is its own gauge class; a flip of a braiding sign eps_aa^c never is, since
// its two couplings cancel.
TEST_F(Gauge, EpsilonFlipIsNoGauge) {
    useIsing();
    Captured cap;
    ASSERT_TRUE(fixAndCollect(3));
    storeBasicSolution();
    EXPECT_EQ(identityGaugeClassCheck(0, nullptr, nullptr), 1);
    const int eps = row({-1, -1, 2, 2, 1, -1});
    ASSERT_GE(eps, 0);
    const int zero = 0, one = 1;
    EXPECT_EQ(identityGaugeClassCheck(1, &zero, &eps), 1);
    EXPECT_EQ(identityGaugeClassCheck(1, &one, &eps), 0);
}

// The self-conjugate field N/2 of a free boson of N fields has the Frobenius-Schur indicator
// (-1)^(N/2). With 6 and 10 fields the identity rules alone would contradict the equations: the
// product F_{a+h,0}[a h h -a] F_{a,0}[a+h h h -a-h] (h = N/2) is gauge invariant and -1 there.
// Gauge-fixed, every block is consistent and the basic solution makes every equation hold, with
// F_00[h h h h] and eps(h,h;0) at -1 where the indicator is -1.
TEST_F(Gauge, BosonIndicatorAndSolution) {
    for (int N : {4, 6, 8, 10}) {
        useBoson(N);
        EXPECT_EQ(frobeniusSchurIndicator(N / 2), N % 4 == 2 ? -1 : 1) << N;
        EXPECT_EQ(frobeniusSchurIndicator(1), 1) << N;
    }
    for (int N : {4, 6, 10}) {
        SCOPED_TRACE(N);
        useBoson(N);
        bool consistent = false;
        int failures = -1;
        {
            Captured quiet;
            consistent = fixAndCollect(N);
            useChoice({}, {});
            failures = checkPolynomial(N, 1);
        }
        ASSERT_TRUE(consistent);
        EXPECT_EQ(FailedEquations.Nfill, 0);
        EXPECT_EQ(failures, 0);
        UseFlippedVariables = 1;
        const int h = N / 2;
        const int vacuumEntry = row({0, 0, h, h, h, h});
        ASSERT_GE(vacuumEntry, 0);
        EXPECT_EQ(getFusingVariableValue(PentagonVariables.Space +
                                         vacuumEntry * PentagonVariables.rowsize),
                  N % 4 == 2 ? -1.0 : 1.0);
        // R^{hh}_0 = eps(h,h;0) exp(-2 pi i h_h) is the indicator over the twist of h.
        EXPECT_EQ(getEpsilon(h, h, 0), N % 4 == 2 ? -1 : 1);
        UseFlippedVariables = 0;
    }
}

// The solver on free bosons of 6 and 10 fields: it succeeds with one gauge class (every free
// choice is a gauge transformation), and its basic solution makes every equation hold. Its
// gauge-invariant braidings R^{aa}_{2a} = eps(a,a;2a) exp(i pi (h_2a - 2 h_a)) are those of the
// boson, exp(i pi a^2 / N).
TEST_F(Gauge, BosonSolveHasOneClass) {
    for (int N : {6, 10}) {
        SCOPED_TRACE(N);
        useBoson(N);
        int result = 0, failures = -1;
        {
            Captured quiet;
            result = findFusingMatrices(N + 1);
            flippedvars = BasicSolution;
            failures = checkPolynomial(N, 1);
        }
        EXPECT_EQ(result, 1);
        EXPECT_EQ(PentagonVariables.Nfill, N * N * N + N * (N + 1) / 2);
        EXPECT_EQ(static_cast<int>(FusingGaugeVariables.size()), N * N);
        EXPECT_EQ(FusingSignClasses.size(), 1u);
        EXPECT_EQ(failures, 0);
        UseFlippedVariables = 1;
        SpectrumData* sd = getCurrentSD();
        for (int a = 0; a < N; a++) {
            const int c = 2 * a % N;
            const double phase =
                SM_realWeight(sd, c) - 2 * SM_realWeight(sd, a) - static_cast<double>(a * a) / N;
            EXPECT_NEAR(getEpsilon(a, a, c) * std::cos(3.14159265358979323846 * phase), 1.0, 1e-9)
                << a;
        }
        UseFlippedVariables = 0;
    }
}

// Orbifold: the free unknowns left after gauge fixing; every unit choice keeps the equations
// holding and is a gauge transformation of the basic solution.
TEST_F(Gauge, OrbifoldChoicesAreGauge) {
    const int freeCount[] = {0, 1, 1, 2};
    for (int N = 2; N <= 5; N++) {
        SCOPED_TRACE(N);
        use(SM_getData(7, N, 0));
        Captured cap;
        ASSERT_TRUE(fixAndCollect(fusingLabelBound())) << cap.err();
        const std::vector<int> vars = freeUnknowns();
        EXPECT_EQ(static_cast<int>(vars.size()), freeCount[N - 2]);
        EXPECT_EQ(static_cast<int>(FusingGaugeVariables.size()), 2 * N * N + 6 * N + 8);
        storeBasicSolution();
        // Unknowns of equal signature end with equal bits.
        std::map<std::array<int, 11>, int> bitOf;
        for (int v = 0; v < PentagonVariables.Nfill; v++) {
            std::array<int, 11> sig{};
            computeSignatureForLabels(PentagonVariables.Space + v * PentagonVariables.rowsize,
                                      sig.data());
            auto [it, fresh] = bitOf.emplace(sig, BasicSolution[v]);
            if (!fresh) {
                EXPECT_EQ(it->second, BasicSolution[v]) << v;
            }
        }
        for (const std::vector<int>& bits : singleChoices(vars.size())) {
            EXPECT_EQ(identityClassOf(vars, bits), 1);
            useChoice(vars, bits);
            EXPECT_EQ(checkPolynomial(99, 1), 0);
            UseFlippedVariables = 0;
        }
    }
}

} // namespace
