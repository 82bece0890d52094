// su(2) at level k served through the fusing provider: the matrices come from quantum 6j symbols
// of the closed Racah formula, the braiding signs are (-1)^((a+b-c)/2), both computed here
// independently of the program. The pentagon and hexagon equations, the gauge fixing and the sign
// solution are checked against them.
#include "FusingTestHelpers.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <map>
#include <vector>

using namespace fusingtest;

namespace {

constexpr double Pi = 3.14159265358979323846;

// Quantum 6j symbols of su(2) at level k; every label is twice the spin (the Dynkin label).
class QuantumSixj {
public:
    explicit QuantumSixj(int k) : k(k) {}

    // [n] = sin(pi n / (k+2)) / sin(pi / (k+2)).
    double qint(int n) const { return std::sin(Pi * n / (k + 2)) / std::sin(Pi / (k + 2)); }
    double qfact(int n) const {
        double f = 1.0;
        for (int m = 2; m <= n; m++)
            f *= qint(m);
        return f;
    }
    bool admissible(int a, int b, int c) const {
        return (a + b + c) % 2 == 0 && c <= a + b && a <= b + c && b <= a + c && a + b + c <= 2 * k;
    }
    double delta(int a, int b, int c) const {
        return std::sqrt(qfact((a + b - c) / 2) * qfact((a - b + c) / 2) * qfact((b + c - a) / 2) /
                         qfact((a + b + c) / 2 + 1));
    }
    // {j1 j2 j3; j4 j5 j6} with the triads (j1 j2 j3), (j1 j5 j6), (j4 j2 j6), (j4 j5 j3).
    double sixj(int j1, int j2, int j3, int j4, int j5, int j6) const {
        if (!admissible(j1, j2, j3) || !admissible(j1, j5, j6) || !admissible(j4, j2, j6) ||
            !admissible(j4, j5, j3))
            return 0.0;
        const int alpha[4] = {(j1 + j2 + j3) / 2, (j1 + j5 + j6) / 2, (j4 + j2 + j6) / 2,
                              (j4 + j5 + j3) / 2};
        const int beta[3] = {(j1 + j2 + j4 + j5) / 2, (j2 + j3 + j5 + j6) / 2,
                             (j3 + j1 + j6 + j4) / 2};
        double sum = 0.0;
        for (int z = *std::max_element(alpha, alpha + 4); z <= *std::min_element(beta, beta + 3);
             z++) {
            double denominator = 1.0;
            for (int x : alpha)
                denominator *= qfact(z - x);
            for (int y : beta)
                denominator *= qfact(y - z);
            sum += (z % 2 ? -1.0 : 1.0) * qfact(z + 1) / denominator;
        }
        return delta(j1, j2, j3) * delta(j1, j5, j6) * delta(j4, j2, j6) * delta(j4, j5, j3) * sum;
    }
    // F^{abc}_d[e, f]: (a b) -> e, (e c) -> d against (b c) -> f, (a f) -> d.
    double F(int a, int b, int c, int d, int e, int f) const {
        const double sign = ((a + b + c + d) / 2) % 2 ? -1.0 : 1.0;
        return sign * std::sqrt(qint(e + 1) * qint(f + 1)) * sixj(a, b, e, c, d, f);
    }
    int epsilon(int a, int b, int c) const { return ((a + b - c) / 2) % 2 ? -1 : 1; }

private:
    int k;
};

// One entry or braiding sign the provider serves with the wrong sign; labels are the block's.
struct Flip {
    std::array<int, 6> row{-2, -2, -2, -2, -2, -2};
};

class Su2 : public FusingTest {
protected:
    void TearDown() override {
        setFusingProvider({});
        FusingTest::TearDown();
    }
    // Makes su(2) at level k current and serves its data, with one sign wrong when asked.
    void useSu2(int k, Flip flip = {}) {
        SpectrumData* sd = use(SM_getData(1, 1, k));
        ASSERT_EQ(sd->Nprimaries, k + 1);
        dynkin.assign(k + 1, 0);
        for (int x = 0; x <= k; x++)
            dynkin[x] = SM_getRep(sd, x)[0];
        const QuantumSixj q(k);
        const std::vector<int> lambda = dynkin;
        FusingProvider provider;
        // F_pq[a b c d] = F^{abc}_{conj d}[p, q]; every su(2) field is its own conjugate.
        provider.entry = [q, lambda, flip](int p, int qq, int a, int b, int c, int d) {
            const double value =
                q.F(lambda[a], lambda[b], lambda[c], lambda[d], lambda[p], lambda[qq]);
            return flip.row == std::array<int, 6>{p, qq, a, b, c, d} ? -value : value;
        };
        provider.epsilon = [q, lambda, flip](int a, int b, int c) {
            const int value = q.epsilon(lambda[a], lambda[b], lambda[c]);
            const std::array<int, 6> row{-1, -1, std::max(a, b), std::min(a, b), c, -1};
            return flip.row == row ? -value : value;
        };
        setFusingProvider(provider);
    }
    // The field of Dynkin label lambda.
    int field(int lambda) const {
        for (std::size_t x = 0; x < dynkin.size(); x++)
            if (dynkin[x] == lambda)
                return static_cast<int>(x);
        ADD_FAILURE() << "no field " << lambda;
        return 0;
    }
    // Gauge fixing and every equation's signs, then the basic solution; false on a contradiction.
    static bool solveSigns() {
        if (!fixAndCollect(fusingLabelBound()))
            return false;
        storeBasicSolution();
        return true;
    }
    static const int* rowOf(int v) {
        return PentagonVariables.Space + v * PentagonVariables.rowsize;
    }
    // True when some gauge transformation changes exactly the unknowns whose bits are 1.
    static bool isGauge(const std::vector<int>& bits) {
        SignEquationStore gauge(static_cast<int>(FusingGaugeVariables.size()));
        for (int v = 0; v < PentagonVariables.Nfill; v++)
            if (gauge.add(getFusingGaugeEquation(rowOf(v)), bits[v]) < 0)
                return false;
        return true;
    }
    // The failed checks of every pentagon, hexagon and S element, with the flips when asked.
    static int failedChecks(int useFlipped) {
        Captured quiet;
        return checkPolynomial(fusingLabelBound(), useFlipped);
    }

    std::vector<int> dynkin;
};

// The 6j symbols themselves: every F^{abc}_d with spins up to 1 is orthogonal, and at level 2
// F^{111}_1 = (-1 1; 1 1)/sqrt2 (worked out by hand from the formula; F_00 = -1/d for the spin
// 1/2 field, whose indicator is -1 and quantum dimension sqrt2).
TEST_F(Su2, SixjSymbolsAreOrthogonal) {
    for (int k = 1; k <= 5; k++) {
        const QuantumSixj q(k);
        // F^{abc}_d is orthogonal for every admissible (a, b, c, d) of spins up to 1.
        for (int a = 0; a <= std::min(k, 2); a++)
            for (int b = 0; b <= std::min(k, 2); b++)
                for (int c = 0; c <= std::min(k, 2); c++)
                    for (int d = 0; d <= k; d++)
                        for (int e1 = 0; e1 <= k; e1++)
                            for (int e2 = 0; e2 <= k; e2++) {
                                if (!q.admissible(a, b, e1) || !q.admissible(e1, c, d) ||
                                    !q.admissible(a, b, e2) || !q.admissible(e2, c, d))
                                    continue;
                                double dot = 0.0;
                                for (int f = 0; f <= k; f++)
                                    dot += q.F(a, b, c, d, e1, f) * q.F(a, b, c, d, e2, f);
                                EXPECT_NEAR(dot, e1 == e2 ? 1.0 : 0.0, 1e-12)
                                    << k << ": " << a << b << c << d << " " << e1 << e2;
                            }
    }
    const QuantumSixj q(2);
    const double h = 1.0 / std::sqrt(2.0);
    EXPECT_NEAR(q.F(1, 1, 1, 1, 0, 0), -h, 1e-12);
    EXPECT_NEAR(q.F(1, 1, 1, 1, 0, 2), h, 1e-12);
    EXPECT_NEAR(q.F(1, 1, 1, 1, 2, 0), h, 1e-12);
    EXPECT_NEAR(q.F(1, 1, 1, 1, 2, 2), h, 1e-12);
}

// The provider's data satisfy every pentagon and hexagon equation as the program writes them,
// and S rebuilt from them is the block's S.
TEST_F(Su2, EveryEquationHolds) {
    for (int k = 1; k <= 5; k++) {
        SCOPED_TRACE(k);
        useSu2(k);
        EXPECT_EQ(failedChecks(0), 0);
    }
}

// One sign served wrong breaks an equation: the checks are not blind to signs.
TEST_F(Su2, WrongSignIsSeen) {
    useSu2(2);
    const int s = field(1), v = field(2);
    useSu2(2, Flip{{v, v, s, s, s, s}});
    EXPECT_GT(failedChecks(0), 0);
}

// Level 2: the gauge fixing and the equations leave no freedom and ask for no flip. F_00 of the
// spin-1/2 field is -1/sqrt2, its indicator being -1, where the Ising block has +1/sqrt2.
TEST_F(Su2, LevelTwoIsFullyDetermined) {
    useSu2(2);
    bool consistent = false;
    {
        Captured quiet;
        consistent = solveSigns();
    }
    ASSERT_TRUE(consistent);
    EXPECT_TRUE(freeUnknowns().empty());
    for (int b : BasicSolution)
        EXPECT_EQ(b, 0);
    EXPECT_EQ(FailedEquations.Nfill, 0);
    const int s = field(1);
    const int vacuumEntry[6] = {0, 0, s, s, s, s};
    EXPECT_NEAR(getFusingVariableValue(vacuumEntry), -1.0 / std::sqrt(2.0), 1e-12);
    EXPECT_EQ(frobeniusSchurIndicator(s), -1);
    setFusingProvider({});
    useIsing();
    const int isingEntry[6] = {0, 0, 2, 2, 2, 2};
    EXPECT_NEAR(getFusingVariableValue(isingEntry), 1.0 / std::sqrt(2.0), 1e-12);
}

// One entry or braiding sign served with the wrong sign, none of them fixed by a rule: the sign
// solution undoes it up to a gauge transformation (exactly at level 2, which has no gauge left),
// and every free choice left is a gauge transformation that keeps the equations holding.
TEST_F(Su2, SolutionUndoesAFlipUpToGauge) {
    struct Case {
        int k;
        std::array<int, 6> dynkinRow; // -1 marks a braiding sign's p, q, d
    };
    const std::vector<Case> cases = {
        {2, {2, 2, 1, 1, 1, 1}},    {2, {1, 1, 1, 2, 1, 2}}, {2, {-1, -1, 2, 1, 1, -1}},
        {2, {-1, -1, 1, 1, 2, -1}}, {3, {2, 2, 1, 1, 1, 1}}, {3, {1, 1, 2, 1, 2, 1}},
        {3, {-1, -1, 2, 1, 3, -1}}, {4, {2, 2, 1, 1, 1, 1}}, {4, {-1, -1, 2, 2, 4, -1}},
        {4, {3, 1, 1, 2, 3, 2}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message()
                     << "k=" << c.k << " row " << c.dynkinRow[0] << "," << c.dynkinRow[1] << ","
                     << c.dynkinRow[2] << "," << c.dynkinRow[3] << "," << c.dynkinRow[4] << ","
                     << c.dynkinRow[5]);
        useSu2(c.k);
        Flip flip;
        for (int m = 0; m < 6; m++)
            flip.row[m] = c.dynkinRow[m] < 0 ? -1 : field(c.dynkinRow[m]);
        if (flip.row[0] == -1 && flip.row[2] < flip.row[3])
            std::swap(flip.row[2], flip.row[3]);
        useSu2(c.k, flip);
        bool consistent = false;
        {
            Captured quiet;
            consistent = solveSigns();
        }
        ASSERT_TRUE(consistent);
        const int flipped = findVectorInCollection(&PentagonVariables, flip.row.data());
        ASSERT_GE(flipped, 0);
        EXPECT_EQ(fixFusingGauge(rowOf(flipped)), 0);
        std::vector<int> difference = BasicSolution;
        difference[flipped] ^= 1;
        if (c.k == 2) {
            EXPECT_EQ(difference, std::vector<int>(difference.size(), 0));
        }
        EXPECT_TRUE(isGauge(difference));
        const std::vector<int> vars = freeUnknowns();
        if (c.k == 2) {
            EXPECT_TRUE(vars.empty());
        }
        for (const std::vector<int>& bits : singleChoices(vars.size()))
            EXPECT_EQ(identityClassOf(vars, bits), 1);
        flippedvars = BasicSolution;
        EXPECT_EQ(failedChecks(1), 0);
    }
}

// The solver on su(2) at levels 2 to 4, with the data right and with one entry served wrong: it
// succeeds with a single gauge class, and its basic solution makes every equation hold.
TEST_F(Su2, SolveHasOneClass) {
    for (int k = 2; k <= 4; k++)
        for (bool wrong : {false, true}) {
            SCOPED_TRACE(testing::Message() << "k=" << k << (wrong ? " one entry wrong" : ""));
            useSu2(k);
            const int s = field(1), v = field(2);
            if (wrong)
                useSu2(k, Flip{{v, v, s, s, s, s}});
            int result = 0;
            {
                Captured quiet;
                result = findFusingMatrices(k + 2);
            }
            EXPECT_EQ(result, 1);
            EXPECT_EQ(FusingSignClasses.size(), 1u);
            flippedvars = BasicSolution;
            EXPECT_EQ(failedChecks(1), 0);
        }
}

} // namespace
