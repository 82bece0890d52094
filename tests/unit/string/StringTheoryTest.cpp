// The space-time dimension rule of the superstring reading and the string data it judges: the
// covariant lattice D5_1 (dimension 4) followed by affine factors whose central charges add up to
// 26 - D, 18 - D (an implicit E8) or something else.
#include "string/StringFixtures.h"

#include "TestSupport.h"

#include "base/Parameters.h"
#include "store/Storemanager.h"
#include "string/StringTheory.h"
#include "tensor/Branching.h"
#include "tensor/Coset.h"

#include <gtest/gtest.h>

#include <array>
#include <string>
#include <vector>

namespace {

using stringtest::Factor;
using testsupport::Captured;

class StringTheoryTest : public stringtest::StringProductTest {};

constexpr Factor D5{4, 5, 1}, E8{5, 8, 1}, A1{1, 1, 1}, A3{1, 3, 1}, A1_2{1, 1, 2};

TEST_F(StringTheoryTest, DimensionRuleAcceptsTheLatticeDimensionAndAnImplicitE8) {
    struct Case {
        std::vector<Factor> factors;
        int requested, result, spaceTime, implicitE8;
        const char* message;
    };
    // c = 14 is 18 - 4; c = 22 is 26 - 4; c = 24 is 26 - 2, which needs "Dimension" 2; a request
    // above the lattice's 4 falls back to 4; c = 6 leaves 20 dimensions; c = 6.5 none.
    const std::vector<Case> cases = {
        {{D5, E8, A1}, 0, 0, 4, 1, "Implicit E_8 factor assumed"},
        {{D5, E8, E8, A1}, 0, 0, 4, 0, ""},
        {{D5, E8, E8, A3}, 2, 0, 2, 0, ""},
        {{D5, E8, A1}, 6, 0, 4, 1, ""},
        {{D5, A1}, 0, 1, 4, -1, "Cov. Lat. dim. = 4; Conformal inv. dim. = 20"},
        {{D5, A1_2}, 0, 1, -1, -1, "Non-integer space-time dimension"},
    };
    for (const Case& c : cases) {
        build(c.factors);
        setIntPar("Dimension", c.requested);
        Heterotic H{};
        H.CovLatDim = 4;
        H.SpaceTimeDim = -1;
        H.ImplicitE8 = -1;
        Captured cap;
        EXPECT_EQ(getSuperstringSpaceTimeDimension(&H, 0), c.result) << c.message;
        EXPECT_EQ(H.SpaceTimeDim, c.spaceTime) << c.message;
        EXPECT_EQ(H.ImplicitE8, c.implicitE8) << c.message;
        EXPECT_NE((cap.out() + cap.err()).find(c.message), std::string::npos) << c.message;
    }
}

TEST_F(StringTheoryTest, CentralChargeAboveTwentySixIsRefusedSilently) {
    build({D5, E8, E8, E8});
    Heterotic H{};
    H.CovLatDim = 4;
    H.SpaceTimeDim = 7;
    Captured cap;
    EXPECT_EQ(getSuperstringSpaceTimeDimension(&H, 0), 1);
    EXPECT_EQ(H.SpaceTimeDim, 7);
    EXPECT_EQ(cap.out() + cap.err(), "");
}

// D5_1 x D5_1 x A1_1^4 with (v,v,0,0,0,0): the lattice is extended to D10, whose vector, the
// orbit {(v,0),(0,v)}, appears with weight one as (v,0,J,J,0,0) and its five other placements of
// two doublets: 6 fields of 4 x [20], each adding 16 to the vector-vector massless count. The
// only massless singlets are the 16 states with a doublet in every A1: 16 x 16.
TEST_F(StringTheoryTest, ContentsAndMasslessCountsOfAVectorExtension) {
    build({D5, D5, A1, A1, A1, A1}, {2, 2, 0, 0, 0, 0});
    Heterotic* H = getTensorStringData(TP);
    ASSERT_NE(H, nullptr);
    EXPECT_EQ(H->error, 0);
    EXPECT_EQ(H->SpaceTimeDim, 4);
    EXPECT_EQ(H->ImplicitE8, 1);
    ASSERT_NE(H->CovLatEmbedding, nullptr);
    EXPECT_EQ(H->CovLatEmbedding->type_G, 4);
    EXPECT_EQ(H->CovLatEmbedding->rank_G, 10);
    EXPECT_EQ(H->massless[2][2], 6 * 16);
    EXPECT_EQ(H->massless[0][0], 16 * 16);
    EXPECT_EQ(H->massless[1][1], 0);
    const int vacuum[4] = {1, 0, 0, 0};
    const int* info = getCosetRepInfo(TP, 0);
    ASSERT_NE(info, nullptr);
    EXPECT_EQ(std::vector<int>(info, info + 4), std::vector<int>(vacuum, vacuum + 4));
    EXPECT_EQ(CT_isTrivial(TP, 0), 1);
    int vectors = 0;
    for (int f = 0; f < CT_spectrumRows(TP); f++)
        if (getCosetRepInfo(TP, f)[2] != 0) {
            vectors++;
            EXPECT_EQ(CT_isTrivial(TP, f), 0);
        }
    // The vector times each of the 16 doublet patterns of the four A1 factors.
    EXPECT_EQ(vectors, 16);
}

// D5_1 times five N=2 minimal models at k = 3 (c = 5 + 5 x 9/5 = 14, D = 4 with an implicit E8),
// extended by the world-sheet supercurrent: its powers J^(4m+1) and J^(4m+3), weight one, carry the
// 16 and 16* of D5 and extend the lattice to E6 (78 = 45 + 1 + 16 + 16: one count of each
// spinor, no vector). The vacuum is the singlet of E6.
TEST_F(StringTheoryTest, TheSpinorCurrentsOfTheQuinticExtendD5ToE6) {
    SM_grade(SM_getData(4, 5, 1), 2);
    setIntPar("Graded", 1);
    build({D5, {27, 2, 3}, {27, 2, 3}, {27, 2, 3}, {27, 2, 3}, {27, 2, 3}}, {1, 1, 1, 1, 1, 1});
    Heterotic* H = getTensorStringData(TP);
    setIntPar("Graded", 0);
    ASSERT_NE(H, nullptr);
    EXPECT_EQ(H->SpaceTimeDim, 4);
    EXPECT_EQ(H->ImplicitE8, 1);
    ASSERT_NE(TP->BranchingTable, nullptr);
    EXPECT_EQ(TP->BranchingTable->type_G, 5);
    EXPECT_EQ(TP->BranchingTable->rank_G, 6);
    EXPECT_EQ(std::vector<int>(TP->BranchingTable->Adjoint, TP->BranchingTable->Adjoint + 4),
              (std::vector<int>{1, 1, 0, 1}));
    const int* vacuum = getCosetRepInfo(TP, 0);
    ASSERT_NE(vacuum, nullptr);
    EXPECT_EQ(std::vector<int>(vacuum, vacuum + 3), (std::vector<int>{1, 0, 0}));
}

TEST_F(StringTheoryTest, NoContentsWithoutSuperOrWithAnInconsistentDimension) {
    build({D5, E8, A1});
    setIntPar("Super", 0);
    EXPECT_EQ(InfoComputable(TP, 0), 0);
    EXPECT_EQ(getCosetRepInfo(TP, 0), nullptr);
    // Dimensions computed with "Super" off carry no contents.
    EXPECT_EQ(CT_initDimensions(TP), 1);
    EXPECT_EQ(TP->InfoAvailable, 0);
    setIntPar("Super", 1);
    EXPECT_EQ(CT_initContents(TP), 1);
    build({D5, A1});
    EXPECT_EQ(getTensorStringData(TP), nullptr);
    EXPECT_EQ(TP->StringData.error, 1);
}

TEST_F(StringTheoryTest, FirstFactorMustBeACovariantLattice) {
    const std::vector<std::pair<Factor, const char*>> cases = {
        {{4, 5, 2}, "Covariant lattice level should be 1"},
        {{1, 5, 1}, "Invalid covariant lattice type"},
        {{4, 3, 1}, "Covariant lattice rank is too small"},
    };
    for (const auto& [first, message] : cases) {
        build({first, E8});
        Captured cap;
        EXPECT_EQ(InfoComputable(TP, 0), 0) << message;
        EXPECT_NE((cap.out() + cap.err()).find(message), std::string::npos) << message;
    }
}

} // namespace
