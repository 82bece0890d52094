// The orbifold's matrices on the orbifold blocks of the store: their unknowns, S rebuilt from
// them, and the entry printer. Doublets are found by their pair (1, j).
#include "FusingTestHelpers.h"

#include <cmath>
#include <string>

using namespace fusingtest;

namespace {

class OrbifoldBlock : public FusingTest {
protected:
    SpectrumData* useOrbifold(int N) { return sd = use(SM_getData(7, N, 0)); }
    int D(int j) const {
        const int pair[2] = {1, j};
        const int lbl = SM_getLieLabel(sd, pair);
        EXPECT_GE(lbl, 4) << "j = " << j;
        return lbl;
    }
    SpectrumData* sd = nullptr;
};

// Below the twist fields, N = 2..5: all entries of all matrices (the sum of n^2 over the
// quadruples) less those that vanish, and the braiding signs with a >= b.
TEST_F(OrbifoldBlock, UnknownsBelowTheTwistFields) {
    struct Case {
        int N, unknowns, signs, entries;
    };
    for (const Case& k : {Case{2, 194, 18, 176}, Case{3, 411, 27, 392}, Case{4, 751, 39, 736},
                          Case{5, 1236, 52, 1232}}) {
        useOrbifold(k.N);
        ASSERT_EQ(sd->Nprimaries, k.N + 7);
        int sum = 0;
        for (int a = 0; a < k.N + 3; a++)
            for (int b = 0; b < k.N + 3; b++)
                for (int c = 0; c < k.N + 3; c++)
                    for (int d = 0; d < k.N + 3; d++) {
                        const Matrix F = fusingMatrix(a, b, c, d);
                        sum += F.n * F.n;
                    }
        EXPECT_EQ(sum, k.entries) << k.N;
        Captured cap;
        getPentagonVariables(k.N + 3);
        EXPECT_EQ(PentagonVariables.Nfill, k.unknowns) << k.N;
        int signs = 0;
        for (int r = 0; r < PentagonVariables.Nfill; r++)
            signs += PentagonVariables.Space[r * PentagonVariables.rowsize] == -1;
        EXPECT_EQ(signs, k.signs) << k.N;
    }
}

TEST_F(OrbifoldBlock, SFromFusingMatricesIsTheBlocksS) {
    for (int N = 2; N <= 8; N++) {
        useOrbifold(N);
        for (int i = 0; i < N + 3; i++)
            for (int j = 0; j < N + 3; j++) {
                double R, I, re, im;
                SmatrixFromFusing(i, j, &R, &I);
                compS(i, j, &re, &im);
                EXPECT_NEAR(R, re, 1e-9) << "N=" << N << " S_" << i << "," << j;
                EXPECT_NEAR(I, im, 1e-9) << "N=" << N << " S_" << i << "," << j;
            }
    }
}

// F_pq[a b c d] at N = 3 with p = (1,2), q = (1,1), a the current 1, b = (1,1), c = d = (1,2):
// naive 1, convention 0 gives -1, convention 1 gives +1.
TEST_F(OrbifoldBlock, EntryPrinterKeepsTheGauge) {
    useOrbifold(3);
    GaugeChoice = 0;
    GaugeChoiceParameter = 4;
    Captured cap;
    getFusingMatrixEntry(D(2), D(1), 1, D(1), D(2), D(2));
    const std::string expected = "Variable (" + std::to_string(D(2)) + "," + std::to_string(D(1)) +
                                 ",1," + std::to_string(D(1)) + "," + std::to_string(D(2)) + "," +
                                 std::to_string(D(2)) +
                                 ")\nsignature  (13,1,0,1,1,0,1,1,1,0,0)\nType: Phi1:abc\n"
                                 "         Naive value:       1.0000000\n"
                                 "Gauge choice 0; value      -1.0000000 (sign flip -1)\n"
                                 "Gauge choice 1; value       1.0000000 (sign flip 1)\n";
    EXPECT_EQ(GaugeChoice, 0);
    EXPECT_EQ(GaugeChoiceParameter, 4);
    getFusingMatrixEntry(D(1), D(1), 1, D(1), D(2), D(2));
    EXPECT_EQ(cap.out(), expected + "Non-existing or vanishing entry\n");
    EXPECT_EQ(GaugeChoice, 0);
    EXPECT_EQ(GaugeChoiceParameter, 4);
}

// A twist field has no matrix: the display refuses it after the orbifold's own report.
TEST_F(OrbifoldBlock, TwistFieldsHaveNoMatrix) {
    useOrbifold(4);
    int twist = 0;
    while (SM_getRep(sd, twist)[0] < 2)
        twist++;
    Captured cap;
    int n = 0;
    int* basis = nullptr;
    EXPECT_EQ(getFusingMatrix(twist, twist, 0, 0, &n, &basis), nullptr);
    EXPECT_EQ(n, 1);
    EXPECT_NE(cap.err().find("Fusing matrices for twisted fields are not (yet) available"),
              std::string::npos);
}

} // namespace
