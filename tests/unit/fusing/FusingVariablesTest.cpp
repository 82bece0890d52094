#include "FusingTestHelpers.h"

#include <algorithm>
#include <cmath>
#include <string>

using namespace fusingtest;

namespace {

struct Counts {
    int entries = 0, signs = 0;
};

Counts countUnknowns() {
    Counts n;
    for (int r = 0; r < PentagonVariables.Nfill; r++)
        (PentagonVariables.Space[r * PentagonVariables.rowsize] == -1 ? n.signs : n.entries)++;
    return n;
}

// Sum of n^2 over the quadruples below max: every entry of every matrix.
int entriesOfAllMatrices(int max) {
    int total = 0;
    for (int a = 0; a < max; a++)
        for (int b = 0; b < max; b++)
            for (int c = 0; c < max; c++)
                for (int d = 0; d < max; d++) {
                    const Matrix F = fusingMatrix(a, b, c, d);
                    total += F.n * F.n;
                }
    return total;
}

class Unknowns : public FusingTest {};

// Ising: 36 non-zero entries and the 7 couplings a >= b of the braiding signs.
TEST_F(Unknowns, IsingHasFortyThree) {
    useIsing();
    Captured cap;
    getPentagonVariables(3);
    EXPECT_EQ(cap.out(), "MAX = 3\n");
    const Counts n = countUnknowns();
    EXPECT_EQ(n.entries, 36);
    EXPECT_EQ(n.signs, 7);
    EXPECT_EQ(entriesOfAllMatrices(3), 36) << "no Ising entry vanishes";
    int vacuum[6] = {-1, -1, 0, 0, 0, -1};
    EXPECT_EQ(findVectorInCollection(&PentagonVariables, vacuum), 36);
}

// A free boson of N fields: N^3 quadruples with a coupling, N(N+1)/2 braiding signs.
TEST_F(Unknowns, BosonHasCubeAndTriangle) {
    for (int N : {2, 3, 5}) {
        useBoson(N);
        Captured cap;
        getPentagonVariables(N);
        const Counts n = countUnknowns();
        EXPECT_EQ(n.entries, N * N * N) << N;
        EXPECT_EQ(n.signs, N * (N + 1) / 2) << N;
    }
}

// Outside the orbifold the fields carry no channels or parameters: the signatures are the type
// and zeros, whatever a field's row holds (one int for a free boson).
TEST_F(Unknowns, SignaturesOutsideTheOrbifoldAreTypeAndZeros) {
    useBoson(8);
    Captured cap;
    getPentagonVariables(8);
    ASSERT_EQ(PentagonVariables.Nfill, 512 + 36);
    for (int r = 0; r < PentagonVariables.Nfill; r++) {
        const int* row = PentagonVariables.Space + r * PentagonVariables.rowsize;
        int signature[11];
        computeSignatureForLabels(row, signature);
        EXPECT_EQ(signature[0], row[0] == -1 ? 27 : 28);
        for (int k = 1; k < 11; k++)
            EXPECT_EQ(signature[k], 0) << r << " at " << k;
    }
    EXPECT_EQ(std::string(getVariableTypeName(28)), "fusing");
    EXPECT_EQ(std::string(getVariableTypeName(27)), "epsilon");
    EXPECT_EQ(std::string(getVariableTypeName(0)), "\"other\"");
}

// The entry printer on every label of a free boson of 8 fields; the gauge settings come back on
// both of its paths.
TEST_F(Unknowns, EntryPrinterOverAllBosonLabels) {
    useBoson(8);
    GaugeChoice = 1;
    GaugeChoiceParameter = 3;
    int printed = 0, vanishing = 0;
    Captured cap;
    for (int p = 0; p < 8; p++)
        for (int q = 0; q < 8; q++)
            for (int a = 0; a < 8; a++)
                for (int b = 0; b < 8; b++)
                    for (int c = 0; c < 8; c++)
                        for (int d = 0; d < 8; d++) {
                            // Other labels only print the vanishing line; the entries are
                            // the ones whose signatures read the fields' rows.
                            if ((a + b + c + d) % 8 != 0 || p != (a + b) % 8 || q != (b + c) % 8)
                                continue;
                            getFusingMatrixEntry(p, q, a, b, c, d);
                            printed++;
                        }
    getFusingMatrixEntry(1, 1, 1, 1, 1, 1);
    vanishing++;
    const std::string& out = cap.out();
    EXPECT_EQ(printed, 512);
    std::size_t count = 0;
    for (std::size_t at = out.find("Type: fusing\n"); at != std::string::npos;
         at = out.find("Type: fusing\n", at + 1))
        count++;
    EXPECT_EQ(count, 512u);
    EXPECT_NE(out.find("Variable (3,5,1,2,3,2)\nsignature  (28,0,0,0,0,0,0,0,0,0,0)\nType: "
                       "fusing\n         Naive value:       1.0000000\nGauge choice 0; value "
                       "      1.0000000 (sign flip 1)\n"),
              std::string::npos);
    EXPECT_NE(out.find("Non-existing or vanishing entry\n"), std::string::npos);
    EXPECT_EQ(GaugeChoice, 1);
    EXPECT_EQ(GaugeChoiceParameter, 3);
}

// A flip changes the sign of the entry or braiding sign of its row and nothing else; labels
// without a row stay as they are.
TEST_F(Unknowns, FlipsActOnTheirRowsOnly) {
    useIsing();
    {
        Captured quiet;
        getPentagonVariables(3);
    }
    int entry[6] = {1, 1, 2, 2, 2, 2};
    int sign[6] = {-1, -1, 2, 1, 2, -1};
    const int entryRow = findVectorInCollection(&PentagonVariables, entry);
    const int signRow = findVectorInCollection(&PentagonVariables, sign);
    ASSERT_GE(entryRow, 0);
    ASSERT_GE(signRow, 0);
    flippedvars.assign(PentagonVariables.Nfill, 0);
    flippedvars[entryRow] = 1;
    flippedvars[signRow] = 1;
    UseFlippedVariables = 1;
    const Matrix F = fusingMatrix(2, 2, 2, 2);
    EXPECT_NEAR(F.at(1, 1), 1 / std::sqrt(2.0), 1e-12);
    EXPECT_NEAR(F.at(1, 0), std::sqrt(2.0), 1e-12);
    EXPECT_EQ(getEpsilon(1, 2, 2), -1) << "stored once for the unordered pair";
    EXPECT_EQ(getEpsilon(2, 1, 2), -1);
    EXPECT_EQ(getEpsilon(2, 2, 1), 1);
    EXPECT_EQ(getEpsilon(2, 2, 2), 1) << "no coupling, no row";
    EXPECT_EQ(getFusingVariableValue(sign), -1.0);
    EXPECT_EQ(getFusingVariableSign(entryRow), 1);
    UseFlippedVariables = 0;
    EXPECT_EQ(getFusingVariableSign(entryRow), -1);
}

TEST(SignInfo, DigitsOfBothRankClasses) {
    struct Case {
        int input, rank, sign, result;
    };
    // h belongs to N mod 4 in {0, 1}, l to {2, 3}; 1 keep, 2 flip.
    for (const Case& k : {Case{0, 5, 1, 6}, Case{6, 6, 0, 7}, Case{0, 4, 0, 3}, Case{0, 7, 1, 2},
                          Case{7, 5, 1, 7}, Case{7, 3, 0, 7}}) {
        EXPECT_EQ(convertSignInfo(k.input, k.rank, k.sign), k.result)
            << k.input << " " << k.rank << " " << k.sign;
    }
    Captured cap;
    EXPECT_EQ(convertSignInfo(6, 5, 0), 6);
    EXPECT_NE(cap.err().find("Attempt to change already fixed sign"), std::string::npos);
}

TEST(VariableTypes, OrderLeavesOutTypeTen) {
    std::vector<int> order;
    for (const int* t = getVariableTypeOrder(); *t != -1; t++)
        order.push_back(*t);
    EXPECT_EQ(order.size(), 30u);
    for (int t = 0; t <= 30; t++)
        EXPECT_EQ(std::count(order.begin(), order.end(), t), t == 10 ? 0 : 1) << t;
}

} // namespace
