// The string reading of the current theory: the orientifold multiplicity 2^(D/2), the massless
// and tachyonic fields in the bosonic and the superstring reading, and the closed-string tachyon
// check with its callback.
#include "modular/ProductTestHelpers.h"
#include "string/StringFixtures.h"

#include "TestSupport.h"

#include "base/Error.h"
#include "base/Output.h"
#include "base/Parameters.h"
#include "modular/Invariants.h"
#include "modular/ModularFileNames.h"
#include "numeric/VectorUtility.h"
#include "store/Storemanager.h"
#include "string/StringTheory.h"
#include "tensor/Coset.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <cmath>
#include <filesystem>
#include <string>
#include <vector>

namespace {

using stringtest::Factor;
using testsupport::Captured;

std::vector<int> labels(const IntegerList* L) {
    return std::vector<int>(L->list.X, L->list.X + L->cnt);
}

std::vector<int> codes;
int recordCode(int code) {
    codes.push_back(code);
    return 0;
}

class ProductReadingTest : public stringtest::StringProductTest {
protected:
    void SetUp() override {
        StringProductTest::SetUp();
        codes.clear();
    }
    void TearDown() override {
        setTachyonFunction(nullptr);
        StringProductTest::TearDown();
    }
    // The field whose factor labels are these.
    int field(const std::vector<int>& combination) {
        for (int f = 0; f < getTotalPrimaries(); f++) {
            const int* row = TensorField(TP, f);
            if (std::equal(combination.begin(), combination.end(), row))
                return f;
        }
        ADD_FAILURE() << "no such field";
        return -1;
    }
};

constexpr Factor D5{4, 5, 1}, D6{4, 6, 1}, D8{4, 8, 1}, E8{5, 8, 1}, A1{1, 1, 1};

// D = 4, 6 and 10 from lattices of dimension 4 (D5), 6 (D6) and 10 (D8, with an implicit E8 as
// c = 8 = 18 - 10); bosonic c = 24 leaves 2 dimensions.
TEST_F(ProductReadingTest, OrientifoldMultiplicityIsTwoToTheHalfDimension) {
    struct Case {
        std::vector<Factor> factors;
        int super;
        double multiplicity;
    };
    const std::vector<Case> cases = {{{D5, E8, E8, A1}, 1, 4.0},
                                     {{D6, E8, D6}, 1, 8.0},
                                     {{D8}, 1, 32.0},
                                     {{E8, E8, E8}, 0, 2.0}};
    for (const Case& c : cases) {
        build(c.factors);
        setIntPar("Super", c.super);
        Captured cap;
        EXPECT_DOUBLE_EQ(OrientifoldMultiplicity(), c.multiplicity);
        EXPECT_EQ(CheckSpaceTime(), static_cast<int>(std::log2(c.multiplicity) * 2));
    }
}

// D5 x E8 x E8 x A1 (c = 22, D = 4): the vector (v,0,0,0) (weight 1/2, class 2 of D5) is a
// tachyon in both readings; the doublet (0,0,0,1) (weight 1/4) carries only class 0 and the
// vacuum is no tachyon of a superstring. Switching "Super" off rebuilds the list in the bosonic
// reading, where both are tachyons.
TEST_F(ProductReadingTest, TachyonListFollowsTheReading) {
    build({D5, E8, E8, A1});
    const int vector = field({2, 0, 0, 0});
    const int doublet = field({0, 0, 0, 1});
    const std::vector<int> super = labels(getTachyonLabels());
    EXPECT_NE(std::find(super.begin(), super.end(), vector), super.end());
    EXPECT_EQ(std::find(super.begin(), super.end(), doublet), super.end());
    EXPECT_EQ(std::find(super.begin(), super.end(), 0), super.end());
    EXPECT_EQ(labels(getMasslessLabels()), std::vector<int>{0});
    setIntPar("Super", 0);
    const std::vector<int> bosonic = labels(getTachyonLabels());
    EXPECT_EQ(bosonic.front(), 0);
    EXPECT_NE(std::find(bosonic.begin(), bosonic.end(), doublet), bosonic.end());
    EXPECT_NE(std::find(bosonic.begin(), bosonic.end(), vector), bosonic.end());
}

// D8 alone (type 0): the vector (weight 1/2) is a tachyon of dimension 1 paired with itself, so
// the Klein bottle may cancel it. The oriented check says so, calls nothing and leaves the
// state undecided.
TEST_F(ProductReadingTest, OrientedCheckLeavesCancellableTachyonsUndecided) {
    build({D8});
    setTachyonFunction(recordCode);
    Captured cap;
    EXPECT_EQ(checkTachyon(0, 1), 1);
    EXPECT_EQ(cap.out(), "Tachyons in oriented string; possibly cancellable by Klein bottle\n");
    EXPECT_TRUE(codes.empty());
    EXPECT_EQ((*getCurrentBulk())->hasTachyons, -1);
    EXPECT_EQ(cancellableTachyon(), 1);
}

class BlockReadingTest : public stringtest::StringBlockTest {
protected:
    void SetUp() override {
        StringBlockTest::SetUp();
        codes.clear();
    }
    void TearDown() override {
        setTachyonFunction(nullptr);
        StringBlockTest::TearDown();
    }
};

// su(2) at level 4: fields 0 .. 4 of weights 0, 1, 1/8, 5/8, 1/3. Bosonic: massless are the
// vacuum and the current, tachyonic the vacuum and the three fields below weight 1.
TEST_F(BlockReadingTest, BosonicListsOfSu2Level4) {
    theory(1, 1, 4);
    EXPECT_EQ(labels(getMasslessLabels()), (std::vector<int>{0, 1}));
    EXPECT_EQ(labels(getTachyonLabels()), (std::vector<int>{0, 2, 3, 4}));
    EXPECT_EQ(labels(getBosonicMasslessLabels()), (std::vector<int>{0, 1}));
}

// A block without string data: "Super" goes off with the reason, and the lists are those of the
// bosonic reading, whatever was asked.
TEST_F(BlockReadingTest, SuperWithoutStringDataFallsBackToTheBosonicReading) {
    theory(1, 1, 4);
    setIntPar("Super", 1);
    Captured cap;
    EXPECT_EQ(labels(getTachyonLabels()), (std::vector<int>{0, 2, 3, 4}));
    EXPECT_NE(cap.out().find("Superstring data not available;\nSwitching off superstring mode.\n"),
              std::string::npos);
    EXPECT_EQ(superstringReading(), 0);
    EXPECT_EQ(CheckSpaceTime(), 24); // 26 - c, c = 3 k / (k + 2) = 2
}

// su(3) at level 1: the two fields of weight 1/3 are conjugate, and the diagonal invariant pairs
// each with itself, which no orientifold can cancel.
TEST_F(BlockReadingTest, NonConjugatePairIsFatal) {
    theory(1, 2, 1);
    setTachyonFunction(recordCode);
    Captured cap;
    EXPECT_EQ(checkTachyon(1, 1), 1);
    EXPECT_NE(cap.out().find("Fatal tachyon (for all orientifolds)\n"), std::string::npos);
    EXPECT_EQ((*getCurrentBulk())->hasTachyons, 1);
    EXPECT_TRUE(codes.empty());
    EXPECT_EQ(cancellableTachyon(), 0);
}

// The record of "record tachyon-free": reset to "nothing recorded"; an orientifold of zero
// tension that cancels the tachyons marks the record without entering its number.
TEST_F(BlockReadingTest, ZeroTensionOrientifoldMarksTheRecordOnly) {
    theory(1, 1, 4);
    Captured cap;
    EXPECT_EQ(recordTachyonFreeCase(-1), 0);
    EXPECT_EQ(getTachyonRecord()[0], -1);
    ASSERT_NE(getCurrentOrientifold(), nullptr);
    getCurrentOrientifold()->Tension = 0.0;
    EXPECT_EQ(recordTachyonFreeCase(1), 1);
    EXPECT_EQ(getTachyonRecord()[0], 1);
    EXPECT_EQ(getTachyonRecord()[1], -1);
    EXPECT_EQ(recordTachyonFreeCase(2), 0);
}

// The model printer leaves the user's output file and the terminal output as it found them,
// also when the ".notach" file cannot be opened.
TEST_F(BlockReadingTest, ModelPrinterRestoresTheOutputState) {
    theory(1, 1, 4);
    FILE* user = std::tmpfile();
    setOutputFile(user);
    TerminalOutputOn();
    {
        Captured cap;
        PrintTachyonFreeModelData(0, nullptr);
    }
    EXPECT_EQ(getOutputFile(), user);
    EXPECT_EQ(OutputStatus(), 1);
    setOutputFile(nullptr); // closes it
    EXPECT_TRUE(std::filesystem::exists(getCurrentOutputFileName(".notach")));
}

} // namespace
