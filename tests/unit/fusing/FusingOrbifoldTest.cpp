// The orbifold's matrices and phases on the field rows of an orbifold block of rank N: the four
// currents 0..3, the doublets 4..N+2 with parameter j = label - 3, four twist fields.
#include "FusingTestHelpers.h"

#include <cmath>
#include <string>

using namespace fusingtest;

namespace {

constexpr double Tight = 1e-12;

class OrbifoldRows : public FusingTest {
protected:
    void make(int N) {
        rows.clear();
        for (int x = 0; x < 4; x++)
            rows.insert(rows.end(), {0, x});
        for (int jx = 1; jx < N; jx++)
            rows.insert(rows.end(), {1, jx});
        for (int t = 0; t < 4; t++)
            rows.insert(rows.end(), {2 + t / 2, t % 2});
        block = SpectrumData{};
        block.type = 7;
        block.rank = N;
        block.level = 0;
        block.Nprimaries = N + 7;
        block.RepSize = 2;
        block.ExtDynkin = rows.data();
        setCosetMode(0);
        setCurrentSD(&block);
    }
    int D(int jx) const { return jx + 3; }
    int twist() const { return block.rank + 3; }

    // The matrix of a multi-coupling quadruple of size n, straight from the orbifold routine.
    Matrix orbifold(int a, int b, int c, int d, int n) {
        Matrix m;
        m.n = n;
        std::vector<int> basis(8 + 2 * n, -7);
        std::vector<double> M(16 + n * n, 99.0);
        m.present = getOrbifoldFusingMatrix(a, b, c, d, &n, basis.data(), M.data()) != nullptr;
        m.q.assign(basis.begin(), basis.begin() + n);
        m.p.assign(basis.begin() + n, basis.begin() + 2 * n);
        m.entries.assign(M.begin(), M.begin() + n * n);
        return m;
    }
    // The single entry of a quadruple whose couplings are p and q.
    double single(int p, int q, int a, int b, int c, int d) {
        int n = 1;
        int basis[10] = {q, p};
        double M[20] = {99.0};
        EXPECT_NE(getOrbifoldFusingMatrix(a, b, c, d, &n, basis, M), nullptr);
        return M[0];
    }

    std::vector<int> rows;
    SpectrumData block{};
};

void expectRows(const Matrix& F, const std::vector<std::vector<double>>& rows) {
    ASSERT_EQ(static_cast<int>(rows.size()), F.n);
    for (int i = 0; i < F.n; i++)
        for (int k = 0; k < F.n; k++)
            EXPECT_NEAR(F.at(i, k), rows[i][k], Tight) << "row " << i << " column " << k;
}

TEST_F(OrbifoldRows, FourEqualDoubletsAtHalfTheRank) {
    make(4);
    const Matrix F = orbifold(D(2), D(2), D(2), D(2), 4);
    ASSERT_TRUE(F.present);
    EXPECT_EQ(F.q, (std::vector<int>{0, 2, 1, 3}));
    EXPECT_EQ(F.p, (std::vector<int>{0, 2, 1, 3}));
    expectRows(F, {{0.5, 0.25, 0.25, 0.25},
                   {1, 0.5, -0.5, -0.5},
                   {1, -0.5, 0.5, -0.5},
                   {1, -0.5, -0.5, 0.5}});
}

TEST_F(OrbifoldRows, FourEqualDoubletsOfParameterOne) {
    make(5);
    const Matrix F = orbifold(D(1), D(1), D(1), D(1), 3);
    ASSERT_TRUE(F.present);
    EXPECT_EQ(F.q, (std::vector<int>{0, 2, D(2)}));
    EXPECT_EQ(F.p, (std::vector<int>{0, 2, D(2)}));
    expectRows(F, {{0.5, 0.05, 0.5}, {5, 0.5, -5}, {1, -0.1, 0}});
}

// F[a a a a] is its own inverse for every doublet.
TEST_F(OrbifoldRows, FourEqualDoubletsSquareToOne) {
    for (int N = 2; N <= 10; N++) {
        make(N);
        for (int jx = 1; jx < N; jx++) {
            const int n = 2 * jx == N ? 4 : 3;
            const Matrix F = orbifold(D(jx), D(jx), D(jx), D(jx), n);
            ASSERT_TRUE(F.present);
            for (int i = 0; i < n; i++)
                for (int k = 0; k < n; k++) {
                    double sum = 0;
                    for (int m = 0; m < n; m++)
                        sum += F.at(i, m) * F.at(m, k);
                    EXPECT_NEAR(sum, i == k ? 1.0 : 0.0, 1e-12) << N << " j=" << jx;
                }
        }
    }
}

// The entries with the current 2 and two more currents or two equal doublets; p and q are what
// the charges give and do not enter.
TEST_F(OrbifoldRows, SingleCouplingsWithTheCurrentTwo) {
    for (int N : {4, 5}) {
        make(N);
        const double n = N;
        const int j = 1, dj = D(j);
        const double jj = 1.0;
        struct Case {
            int p, q, a, b, c, d;
            double value;
        } cases[] = {
            {0, 0, 2, 2, 2, 2, 1},
            {0, 3, 2, 2, 1, 1, n / 2},
            {2, 3, 2, 1, 1, 2, 2 / n},
            {3, 0, 1, 2, 2, 1, 2 / n},
            {3, 2, 1, 1, 2, 2, n / 2},
            {3, 3, 2, 1, 2, 1, 1},
            {3, 3, 1, 2, 1, 2, 1},
            {0, dj, 2, 2, dj, dj, jj / (2 * n)},
            {2, 0, 2, dj, dj, 2, 2 * n},
            {dj, 0, dj, 2, 2, dj, 2 * n},
            {dj, 2, dj, dj, 2, 2, jj / (2 * n)},
            {dj, dj, 2, dj, 2, dj, 1},
            {dj, dj, dj, 2, dj, 2, 1},
        };
        for (const Case& k : cases)
            EXPECT_NEAR(single(k.p, k.q, k.a, k.b, k.c, k.d), k.value, Tight)
                << "N=" << N << " (" << k.a << k.b << k.c << k.d << ")";
        // With j = 2 the squares enter: j^2/(2N) and 2N/j^2.
        EXPECT_NEAR(single(0, D(2), 2, 2, D(2), D(2)), 4 / (2 * n), Tight);
        EXPECT_NEAR(single(2, 0, 2, D(2), D(2), 2), 2 * n / 4, Tight);
    }
}

TEST_F(OrbifoldRows, NaiveGaugeHasNoPhases) {
    make(5);
    GaugeChoice = 1;
    for (int type = 0; type <= 12; type++)
        EXPECT_EQ(FusingSignFlip(type, D(2), D(1), 1, D(1), D(2), D(2), 5), 1) << type;
    for (int a = 4; a < 8; a++)
        for (int b = 4; b < 8; b++)
            for (int c = 4; c < 8; c++)
                EXPECT_EQ(getOrbifoldEpsilon(a, b, c), 1);
    // Four doublets of one coupling: the bare value 1.
    EXPECT_EQ(single(D(2), D(1), D(1), D(1), D(2), D(2)), 1.0);
}

// Our gauge: every braiding sign +1 for even N; for odd N -1 exactly in the wrapped channel.
TEST_F(OrbifoldRows, BraidingSignsOfOurGauge) {
    for (int N : {3, 4, 5, 6}) {
        make(N);
        for (int a = 4; a < N + 3; a++)
            for (int b = 4; b < N + 3; b++) {
                const int ja = a - 3, jb = b - 3;
                const int sum = D(ja + jb <= N ? ja + jb : 2 * N - ja - jb);
                if (ja + jb != N) {
                    EXPECT_EQ(getOrbifoldEpsilon(a, b, sum), N % 2 == 0 || ja + jb < N ? 1 : -1)
                        << N << ": " << ja << "," << jb;
                }
                if (ja != jb) {
                    EXPECT_EQ(getOrbifoldEpsilon(a, b, D(std::abs(ja - jb))), 1);
                }
            }
    }
    make(3);
    EXPECT_EQ(getOrbifoldEpsilon(D(2), D(2), D(2)), -1);
    EXPECT_EQ(getOrbifoldEpsilon(D(1), D(1), D(2)), 1);
}

TEST_F(OrbifoldRows, BraidingSignsOfTheReferenceGauge) {
    GaugeChoice = 0;
    for (int N : {3, 4, 5}) {
        make(N);
        for (int a = 4; a < N + 3; a++)
            for (int b = 4; b < N + 3; b++)
                for (int c = 4; c < N + 3; c++)
                    EXPECT_EQ(getOrbifoldEpsilon(a, b, c), 1 - 2 * ((N + a + b - 6) % 2));
        EXPECT_EQ(getOrbifoldEpsilon(1, D(1), D(N - 1)), 1) << "a current: no phase";
    }
}

// Our gauge puts no phase on an entry whose four vertices all add or subtract charges; the
// wrapped vertex (c, d, p) of the second entry gives the fixed -1 of type 0.
TEST_F(OrbifoldRows, PhasesOfOurGaugeNeedAWrappedVertex) {
    make(5);
    for (int type = 0; type <= 12; type++)
        for (int g = 0; g <= 4; g++) {
            GaugeChoiceParameter = g;
            EXPECT_EQ(FusingSignFlip(type, D(3), D(3), D(1), D(2), D(1), D(2), 5), 1) << type;
        }
    EXPECT_EQ(FusingSignFlip(0, D(2), D(1), 1, D(1), D(2), D(2), 5), -1);
    {
        Captured cap;
        EXPECT_EQ(FusingSignFlip(13, D(2), D(1), 1, D(1), D(2), D(2), 5), 0);
        EXPECT_NE(cap.err().find("Invalid type"), std::string::npos);
    }
    GaugeChoice = 7;
    Captured cap;
    EXPECT_EQ(FusingSignFlip(0, D(2), D(1), 1, D(1), D(2), D(2), 5), 0);
    EXPECT_EQ(getOrbifoldEpsilon(D(1), D(1), D(2)), 0);
    EXPECT_NE(cap.err().find("Invalid gauge"), std::string::npos);
}

// The entry F_pq[a b c d] with p = (1,2), q = (1,1), a the current 1, b = (1,1), c = d = (1,2)
// at N = 3: naive 1; convention 0 gives -1, convention 1 gives +1 (the Phi phase with the
// vertex (c, d, p) wrapped).
TEST_F(OrbifoldRows, PhiPhasesOfOneEntry) {
    make(3);
    const int p = D(2), q = D(1), a = 1, b = D(1), c = D(2), d = D(2);
    const int v[6] = {p, q, a, b, c, d};
    int signature[11];
    computeSignatureForLabels(v, signature);
    EXPECT_EQ(std::vector<int>(signature, signature + 11),
              (std::vector<int>{13, 1, 0, 1, 1, 0, 1, 1, 1, 0, 0}));
    EXPECT_EQ(std::string(getVariableTypeName(signature[0])), "Phi1:abc");
    GaugeChoice = 1;
    EXPECT_EQ(single(p, q, a, b, c, d), 1.0);
    GaugeChoice = 2;
    EXPECT_EQ(single(p, q, a, b, c, d), -1.0);
    GaugeChoiceParameter = 1;
    EXPECT_EQ(single(p, q, a, b, c, d), 1.0);
    GaugeChoiceParameter = 5;
    Captured cap;
    EXPECT_EQ(PhiFusing(p, q, a, b, c, d, 3), 1);
    EXPECT_NE(cap.err().find("Invalid gauge choice"), std::string::npos);
}

// With the one current in second place the signature is that of (q, p, 1, c, d, a).
TEST_F(OrbifoldRows, SignatureRotatesTheCurrentFirst) {
    make(5);
    const int p = D(3), q = D(4), a = D(2), c = D(1), d = D(2);
    const int v[6] = {p, q, a, 1, c, d};
    const int rotated[6] = {q, p, 1, c, d, a};
    int s1[11], s2[11];
    computeSignatureForLabels(v, s1);
    computeSignatureForLabels(rotated, s2);
    EXPECT_EQ(std::vector<int>(s1, s1 + 11), (std::vector<int>{13, 1, 1, 1, 1, 0, 1, 1, 1, 0, 0}));
    EXPECT_EQ(std::vector<int>(s1, s1 + 11), std::vector<int>(s2, s2 + 11));
}

TEST_F(OrbifoldRows, VariableTypesOfCurrentsAndPairs) {
    make(6);
    struct Case {
        int p, q, a, b, c, d, type;
    };
    for (const Case& k : {Case{-1, -1, D(1), D(1), 2, -1, 27},
                          Case{0, 0, 1, 1, 1, 1, 9},
                          Case{0, 0, 1, 1, 2, 2, 9},
                          Case{1, D(3), 1, 1, 1, D(3), 10},
                          Case{0, 0, D(1), 2, D(1), 2, 11},
                          Case{D(1), D(1), 0, D(1), D(1), 0, 11},
                          Case{D(1), D(1), 0, D(1), D(1), D(1), 12},
                          Case{D(2), D(1), 2, D(1), D(1), D(1), 14},
                          Case{D(2), D(1), 3, D(1), D(1), D(1), 29},
                          Case{0, 0, D(1), D(1), D(1), D(1), 18},
                          Case{1, 1, D(3), D(3), D(3), D(3), 1},
                          Case{D(3), D(1), D(1), D(2), D(1), D(2), 2},
                          Case{D(2), D(1), D(1), D(2), D(2), D(1), 20},
                          Case{D(2), D(3), D(1), D(1), D(2), D(2), 21},
                          Case{D(2), D(2), D(1), D(1), D(1), D(2), 25},
                          Case{D(2), D(4), D(2), D(2), D(2), D(1), 24},
                          Case{D(3), D(3), D(1), D(5), D(2), D(4), 7},
                          Case{D(3), D(3), D(1), D(2), D(4), D(5), 26},
                          Case{D(3), D(3), D(1), D(2), D(5), D(4), 8},
                          Case{D(3), D(3), D(1), D(2), D(3), D(4), 30}}) {
        const int v[6] = {k.p, k.q, k.a, k.b, k.c, k.d};
        EXPECT_EQ(getVariableType(v), k.type)
            << k.p << " " << k.q << " " << k.a << " " << k.b << " " << k.c << " " << k.d;
    }
}

// All four doublets distinct, no pair of parameters adding up to N: no matrix of that shape
// exists, and none is handed out, not even the one of the call before.
TEST_F(OrbifoldRows, NoMatrixWhenTheChargesDoNotClose) {
    make(7);
    ASSERT_TRUE(orbifold(D(1), D(1), D(1), D(1), 3).present);
    Captured cap;
    EXPECT_FALSE(orbifold(D(1), D(2), D(3), D(4), 2).present);
    EXPECT_NE(cap.err().find("Unexpected case"), std::string::npos);
}

TEST_F(OrbifoldRows, TwistFieldsHaveNoMatrixAndNoBraidingPhase) {
    make(4);
    {
        Captured cap;
        EXPECT_FALSE(orbifold(twist(), twist(), D(1), D(1), 2).present);
        EXPECT_NE(cap.err().find("Fusing matrices for twisted fields are not (yet) available"),
                  std::string::npos);
    }
    make(5);
    Captured cap;
    EXPECT_EQ(getOrbifoldEpsilon(twist(), twist(), D(1)), 1);
    EXPECT_EQ(cap.err().find("Channel inconsistency"), std::string::npos);
}

TEST_F(OrbifoldRows, ChargeChannels) {
    make(5);
    EXPECT_EQ(channelCheck(D(1), D(2), D(3)), 1);
    EXPECT_EQ(channelCheck(D(3), D(1), D(2)), 1);
    EXPECT_EQ(channelCheck(D(1), D(3), D(2)), 1);
    EXPECT_EQ(channelCheck(D(3), D(4), D(3)), 0) << "3 + 4 wraps to 10 - 7";
    EXPECT_EQ(channelCheck(1, D(2), D(3)), 1) << "5 - 2";
    Captured cap;
    EXPECT_EQ(channelCheck(D(1), D(1), D(4)), 0);
    EXPECT_NE(cap.err().find("Channel inconsistency: a=4, b=4, c=7"), std::string::npos);
}

} // namespace
