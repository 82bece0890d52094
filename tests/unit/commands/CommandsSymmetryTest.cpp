// The symmetry commands on su(4)_1 from A1_2 x A1_2 extended by (J,J) (0 the vacuum, 1 the 6, 2
// and 3 the 4 and 4-bar resolved from the doublets) and on single blocks. Their arguments are
// what the interpreter hands over: ints for the factors and the field, texts for the entries.
#include "CommandsTestHelpers.h"

#include "commands/CommandsSymmetry.h"
#include "numeric/Sorting.h"
#include "tensor/Coset.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

using namespace cmdtest;

namespace {

class SymmetryCommandsTest : public testing::Test {
protected:
    void SetUp() override {
        flushErrors();
        unbufferErrors();
        initializeCoset();
        TP = startWithEmptyProduct();
    }
    void TearDown() override {
        Captured quiet;
        resetCoset(TP);
        setCosetMode(0);
        setCurrentTotals(nullptr, nullptr);
    }
    void useSu4() {
        addTensorFactor(TP, SM_getData(1, 1, 2), 0);
        addTensorFactor(TP, SM_getData(1, 1, 2), 0);
        int J[] = {1, 1};
        ASSERT_EQ(addNewCurrent(TP, J), 0);
        Captured quiet;
        ASSERT_EQ(computeTensorSpectrum(TP), 0);
        setCosetMode(1);
        setCurrentTotals(NumberOfTensorPrimaries(TP), NumberOfTensorSimpleCurrents(TP));
    }
    // "get permutation a b i"; what it printed and reported into out.
    static int permutate(int a, int b, int i, std::string* out) {
        Captured cap;
        const int rc = call(COM_permutate, "permutation", {a, b, i});
        *out = cap.out() + cap.err();
        return rc;
    }
    // "compute permutations a b entries..."
    static int permutations(int a, int b, std::vector<std::string> entries, std::string* out) {
        std::string word = "permutations";
        std::vector<void*> slots{word.data(), &a, &b};
        for (std::string& e : entries)
            slots.push_back(e.data());
        Captured cap;
        const int rc = COM_permutations(slots.data() + 1, static_cast<int>(slots.size()) - 1);
        *out = cap.out() + cap.err();
        return rc;
    }
    TensorProduct* TP = nullptr;
};

TEST_F(SymmetryCommandsTest, ExchangeOfTheTwoFactors) {
    useSu4();
    std::string out;
    EXPECT_EQ(permutate(0, 1, 1, &out), -3);
    EXPECT_EQ(out, "1 <==> 1\n");
    EXPECT_EQ(permutate(1, 0, 2, &out), -3);
    EXPECT_EQ(out, "Field 2 is resolved into 2 irreducible components\n");
    EXPECT_EQ(permutations(0, 1, {"2:3"}, &out), -3);
    EXPECT_TRUE(has(out, "0 <==> 0\n1 <==> 1\n2 <==> 3\n3 <==> 2\n")) << out;
}

TEST_F(SymmetryCommandsTest, Refusals) {
    useSu4();
    struct Case {
        int a, b;
        std::vector<std::string> entries;
        int rc;
        const char* message;
    } cases[] = {
        {0, 2, {}, 1, "Tensor factor 2 does not exist"},
        {-1, 1, {}, 1, "Tensor factor -1 does not exist"},
        {0, 1, {"2-3"}, -1, "Invalid assignment: 2-3"},
        {0, 1, {"2:x"}, -1, "Invalid assignment: 2:x"},
        {0, 1, {":"}, -1, "Invalid assignment: :"},
        {0, 1, {"1:"}, -1, "Invalid assignment: 1:"},
        {0, 1, {"0:1"}, 1, "Incorrect degeneracy resolution"},
        {0, 1, {"2:3", "3:3"}, 1, "Incorrect degeneracy resolution"},
        {0, 1, {"2:9"}, 1, "Field 9 does not exist"},
    };
    std::string out;
    for (const Case& c : cases) {
        EXPECT_EQ(permutations(c.a, c.b, c.entries, &out), c.rc) << c.message;
        EXPECT_TRUE(has(out, c.message)) << out;
        EXPECT_FALSE(has(out, "<==>")) << "no table: " << out;
    }
    EXPECT_EQ(permutate(2, 0, 1, &out), 1);
    EXPECT_TRUE(has(out, "Tensor factor 2 does not exist")) << out;
}

TEST_F(SymmetryCommandsTest, ProductsWithDifferentFactors) {
    addTensorFactor(TP, SM_getData(1, 1, 2), 0);
    addTensorFactor(TP, SM_getData(1, 1, 4), 0);
    {
        Captured quiet;
        computeTensorSpectrum(TP);
    }
    setCosetMode(1);
    setCurrentTotals(NumberOfTensorPrimaries(TP), NumberOfTensorSimpleCurrents(TP));
    std::string out;
    EXPECT_EQ(permutate(0, 1, 1, &out), 1);
    EXPECT_TRUE(has(out, "This is not a permutation")) << out;
    setCosetMode(0);
    EXPECT_EQ(permutate(0, 0, 1, &out), 1);
    EXPECT_TRUE(has(out, "Command only works in tensor mode")) << out;
}

TEST_F(SymmetryCommandsTest, BrowseOnAProduct) {
    useSu4();
    Captured cap;
    EXPECT_EQ(COM_symmetrize(nullptr, 0), 0);
    EXPECT_TRUE(has(cap.out(), "The following tensor product outer automophisms are known\n"
                               "P(  0):   (0,1)\nP(  1):   (0,1)\n"))
        << cap.out();
}

// su(3) at level 1: the identity and conjugation, which the store makes. A theory created from a
// product keeps the rows it was given, here a symmetry exchanging two of its four currents.
TEST_F(SymmetryCommandsTest, BrowseOnBlocks) {
    useBlock(1, 2, 1);
    {
        Captured cap;
        COM_symmetrize(nullptr, 0);
        EXPECT_EQ(cap.out(), "The following algebra outer automophisms are known\n"
                             "P(  0):   (0,1,2)\nP(  1):   (0,2,1)\n");
    }
    SpectrumData* created = allocateSpectrumData("created from a product");
    created->type = 9;
    int orders[] = {4};
    created->SimpleCurrents = DG_find(orders, 1);
    VectorSpace* table = created->CurrentOuterAutomorphisms;
    initVectorCollection(table, 4, 2);
    int identity[] = {0, 1, 2, 3}, exchange[] = {0, 3, 2, 1};
    addVectorToCollection(table, identity);
    addVectorToCollection(table, exchange);
    setCurrentSD(created);
    Captured cap;
    COM_symmetrize(nullptr, 0);
    EXPECT_EQ(cap.out(), "The following algebra outer automophisms are known\n"
                         "P(  0):   (0,1,2,3)\nP(  1):   (0,3,2,1)\n");
    EXPECT_EQ(table->Nfill, 2);
}

} // namespace
