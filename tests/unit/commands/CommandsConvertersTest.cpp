// The application's argument converters against a small theory: ten fields, three simple
// currents and two tensor factors (A1 level 4 and A2 level 2). Conjugates come from free bosons,
// where the charge q has the conjugate N - q; boundary and Ishibashi labels from su(2) level 3.
#include "CommandsTestHelpers.h"

#include "commands/CommandsInternal.h"

#include <gtest/gtest.h>

#include <string>

using namespace cmdtest;

namespace {

struct Expect {
    const char* text;
    int count;
    int rc;
    int value;
    int max;
    const char* message; // part of the error output; "" for none
};

class ConvertersTest : public testing::Test {
protected:
    void SetUp() override {
        flushErrors();
        unbufferErrors();
        installTheory();
    }
    void TearDown() override { withdrawTheory(); }

    static void check(CONV conv, const Expect& e) {
        std::string word = e.text;
        Captured cap;
        ConversionResult r = *conv(word.data(), e.count);
        SCOPED_TRACE(std::string("text \"") + e.text + "\"");
        EXPECT_EQ(r.rc, e.rc);
        if (r.rc <= 0) {
            EXPECT_EQ(r.value, e.value);
            EXPECT_EQ(r.max, e.max);
        }
        if (*e.message) {
            EXPECT_TRUE(has(cap.err(), e.message)) << cap.err();
        } else if (r.rc <= 0) {
            EXPECT_EQ(cap.err(), "");
        }
        EXPECT_EQ(word, e.text) << "the typed text must stay as it was";
    }
    static void checkAll(CONV conv, std::initializer_list<Expect> cases) {
        for (const Expect& e : cases)
            check(conv, e);
    }
};

TEST_F(ConvertersTest, FieldLabelsSingleRangeAndConjugate) {
    useBlock(0, 10, 0); // U(1) at radius 10: ten fields
    checkAll(CONV_getLabel,
             {
                 {"*", 0, -1, 0, 9, ""},
                 {"3", 0, 0, 3, 3, ""},
                 {"9", 0, 0, 9, 9, ""},
                 {"2:5", 0, -1, 2, 5, ""},
                 {"4:4", 0, -1, 4, 4, ""},
                 {"-5", 0, 0, 5, 5, ""},
                 {"-1", 0, 0, 9, 9, ""},
                 {"-3", 0, 0, 7, 7, ""},
                 {"-0", 0, 0, 0, 0, ""},
                 {"10", 1, 2, 0, 0, "Value 10 is not a valid label (parameter 1)"},
                 {"-10", 0, 2, 0, 0, "Value -10 is not a valid label (parameter 0)"},
                 {"3:1", 2, 2, 0, 0, "Minimum (3) > Maximum (1) (parameter 2)"},
                 {"2:10", 0, 2, 0, 0, "Maximum (10) out of range (parameter 0)"},
                 {"-2:3", 0, 2, 0, 0, "Minimum (-2) out of range (parameter 0)"},
                 {"x", 0, 1, 0, 0, "Non-numerical parameter"},
                 {"2:x", 0, 1, 0, 0, "Non-numerical parameter"},
                 {"-2147483648", 0, 2, 0, 0, "Value -2147483648 is not a valid label"},
             });
}

TEST_F(ConvertersTest, NegativeLabelWithoutKnownConjugateIsRefused) {
    // A tensor product without its spectrum knows no conjugate at all.
    setCosetMode(1);
    check(CONV_getLabel, {"-9", 0, 2, 0, 0, "Value -9 is not a valid label (parameter 0)"});
    check(CONV_getLabel, {"-5", 3, 2, 0, 0, "Value -5 is not a valid label (parameter 3)"});
    check(CONV_getLabel, {"5", 0, 0, 5, 5, ""});
}

TEST_F(ConvertersTest, LabelsAreUnlimitedWhileAProductIsEntered) {
    setCosetMode(1);
    setCurrentTotals(unlimitedPrimaries(), nullptr);
    check(CONV_getLabel, {"2147483646", 0, 0, 2147483646, 2147483646, ""});
    check(CONV_getLabel, {"123456", 0, 0, 123456, 123456, ""});
    check(CONV_getLabel, {"2147483647", 0, 2, 0, 0, "Value 2147483647 is not a valid label"});
    // No conjugates exist before the product's spectrum is computed.
    check(CONV_getLabel, {"-4", 0, 2, 0, 0, "Value -4 is not a valid label"});
}

TEST_F(ConvertersTest, SimpleCurrentLabels) {
    useBlock(0, 3, 0); // U(1) at radius 3: a Z3 of currents, 1 and 2 conjugate
    checkAll(CONV_getCurrent,
             {
                 {"*", 0, -1, 0, 2, ""},
                 {"2", 0, 0, 2, 2, ""},
                 {"-1", 0, 0, 2, 2, ""},
                 {"-2", 0, 0, 1, 1, ""},
                 {"1:2", 0, -1, 1, 2, ""},
                 {"3", 0, 2, 0, 0, "Value 3 is not a simple current label (parameter 0)"},
                 {"-3", 1, 2, 0, 0, "Value -3 is not a simple current label (parameter 1)"},
                 {"-1:2", 0, 2, 0, 0, "Minimum (-1) out of range"},
             });
}

// su(2) level 3 with its diagonal invariant: four fields, four labels of each kind.
TEST_F(ConvertersTest, BoundaryAndIshibashiLabelsAreNeverNegative) {
    useBlock(1, 1, 3);
    resetCurrentBulkToDiagonal();
    checkAll(CONV_getBound,
             {
                 {"*", 0, -1, 0, 3, ""},
                 {"3", 0, 0, 3, 3, ""},
                 {"0:3", 0, -1, 0, 3, ""},
                 {"4", 0, 2, 0, 0, "Value 4 is not a boundary label (parameter 0)"},
                 {"-1", 2, 2, 0, 0, "Value -1 is not a boundary label (parameter 2)"},
                 {"1:4", 0, 2, 0, 0, "Maximum (4) out of range"},
             });
    checkAll(CONV_getIshibashi,
             {
                 {"3", 0, 0, 3, 3, ""},
                 {"4", 0, 2, 0, 0, "Value 4 is not a Ishibashi label (parameter 0)"},
                 {"-1", 0, 2, 0, 0, "Value -1 is not a Ishibashi label"},
             });
}

// A block type without charge conjugation has no open-string labels at all.
TEST_F(ConvertersTest, NoOpenStringLabelsWithoutConjugation) {
    blockType = 26;
    resetCurrentBulkToDiagonal();
    check(CONV_getBound, {"0", 0, 2, 0, 0, "Value 0 is not a boundary label"});
    check(CONV_getIshibashi, {"0", 0, 2, 0, 0, "Value 0 is not a Ishibashi label"});
}

TEST_F(ConvertersTest, LabelsInTensorFactors) {
    checkAll(CONV_getfcur, {
                               {"1", 0, 0, 1, 1, ""},
                               {"2", 1, 0, 2, 2, ""},
                               {"2", 0, 3, 0, 0, "Invalid current: 2"},
                               {"-1", 1, 3, 0, 0, "Invalid current: -1"},
                               {"0", 2, 1, 0, 0, "Too many current components"},
                               {"x", 0, 2, 0, 0, "Non-numerical parameter"},
                               {"*", 0, 2, 0, 0, ""},
                           });
    // A1 level 4 has the five spins 0 to 2, A2 level 2 binomial(4, 2) = 6 fields.
    checkAll(CONV_getffield, {
                                 {"4", 0, 0, 4, 4, ""},
                                 {"5", 0, 3, 0, 0, "Invalid field: 5"},
                                 {"5", 1, 0, 5, 5, ""},
                                 {"6", 1, 3, 0, 0, "Invalid field: 6"},
                                 {"0", 2, 1, 0, 0, "Too many components"},
                             });
    // Without factors every component is one too many.
    resetCoset(getCurrentTensor());
    check(CONV_getfcur, {"0", 0, 1, 0, 0, "Too many current components"});
}

TEST_F(ConvertersTest, LevelDimensionAndSupersymmetries) {
    checkAll(CONV_getlevel, {
                                {"1", 0, 0, 1, 1, ""},
                                {"0", 0, 2, 0, 0, "Level should be at least 1"},
                                {"-3", 0, 2, 0, 0, "Level should be at least 1"},
                                {"k", 0, 1, 0, 0, ""},
                            });
    checkAll(CONV_getN_susy, {
                                 {"0", 0, 0, 0, 0, ""},
                                 {"2", 0, 0, 2, 2, ""},
                                 {"3", 0, 2, 0, 0, "Invalid number of supersymmetries"},
                                 {"-1", 0, 2, 0, 0, "Invalid number of supersymmetries"},
                             });
    checkAll(CONV_getdim, {
                              {"2", 0, 0, 2, 2, ""},
                              {"1", 0, 2, 0, 0, "Dimension should be at least 2"},
                              {"11", 0, 0, 11, 11, ""},
                          });
}

TEST_F(ConvertersTest, LargeDimensionWarnsOnlyInSuperstringMode) {
    addInternalParameter("Super", "ON", 't', 0);
    initializeCommandParameters();
    check(CONV_getdim,
          {"11", 0, 0, 11, 11, "Warning: In superstring mode dimension should be at most 10"});
    check(CONV_getdim, {"10", 0, 0, 10, 10, ""});
    setIntPar("Super", 0);
    check(CONV_getdim, {"11", 0, 0, 11, 11, ""});
}

int maxrankActions = 0;
void countMaxrankAction() {
    ++maxrankActions;
}

class MaxrankTest : public ConvertersTest {
protected:
    void SetUp() override {
        ConvertersTest::SetUp();
        addInternalParameter("Maxrank", "20", 'i', 0);
        addDefaultAction("Maxrank", countMaxrankAction);
        initializeCommandPointers();
        setIntPar("Maxrank", 20);
        maxrankActions = 0;
    }
    static int maxrank() { return *static_cast<int*>(getIntParPointer("Maxrank")); }
};

TEST_F(MaxrankTest, RankRaisesMaxrankByFiveAndWarnsAboveTwenty) {
    check(CONV_getrank, {"25", 0, 0, 25, 25, "Large ranks may lead to inaccurate results for S"});
    EXPECT_EQ(maxrank(), 30);
    check(CONV_getrank, {"19", 0, 0, 19, 19, ""});
    EXPECT_EQ(maxrank(), 30);
    check(CONV_getrank, {"29", 0, 0, 29, 29, "Large ranks"});
    EXPECT_EQ(maxrank(), 30);
    check(CONV_getrank, {"30", 0, 0, 30, 30, "Large ranks"});
    EXPECT_EQ(maxrank(), 35);
    EXPECT_EQ(maxrankActions, 0) << "raised without the parameter's change action";
}

TEST_F(MaxrankTest, RankAtTheEdges) {
    check(CONV_getrank, {"19", 0, 0, 19, 19, ""});
    EXPECT_EQ(maxrank(), 20);
    check(CONV_getrank, {"20", 0, 0, 20, 20, ""});
    EXPECT_EQ(maxrank(), 25);
    check(CONV_getrank, {"0", 0, 2, 0, 0, "Rank should be at least 1"});
    check(CONV_getrank, {"r", 0, 1, 0, 0, ""});
    EXPECT_EQ(maxrank(), 25);
    check(CONV_getrank, {"2147483647", 0, 0, 2147483647, 2147483647, "Large ranks"});
    EXPECT_EQ(maxrank(), 2147483647);
}

TEST_F(MaxrankTest, RadiusRaisesMaxrankByTwoAndWarnsWhenOdd) {
    check(CONV_getradius,
          {"25", 0, 0, 25, 25, "Radius should be even (continue at your own risk)"});
    EXPECT_EQ(maxrank(), 27);
    check(CONV_getradius, {"4", 0, 0, 4, 4, ""});
    EXPECT_EQ(maxrank(), 27);
    check(CONV_getradius, {"0", 0, 2, 0, 0, "Radius cannot be 0"});
    check(CONV_getradius, {"-2", 0, 2, 0, 0, "Radius cannot be 0"});
    check(CONV_getradius, {"2147483646", 0, 0, 2147483646, 2147483646, ""});
    EXPECT_EQ(maxrank(), 2147483647);
    EXPECT_EQ(maxrankActions, 0);
}

TEST_F(ConvertersTest, SimpleRootsOfTheCurrentAlgebra) {
    checkAll(CONV_getRoot,
             {
                 {"1", 0, 0, 1, 1, ""},
                 {"3", 0, 0, 3, 3, ""},
                 {"0", 0, 2, 0, 0, "The label 0 does not correspond to a simple root"},
                 {"4", 0, 2, 0, 0, "The label 4 does not correspond to a simple root"},
             });
    for (int type : {0, 6, 7, 11, 13, -1}) {
        blockType = type;
        check(CONV_getRoot, {"1", 0, 2, 0, 0, "No simple roots defined for this algebra"});
    }
    blockType = 5;
    check(CONV_getRoot, {"2", 0, 0, 2, 2, ""});
    setCosetMode(1);
    check(CONV_getRoot, {"1", 0, 2, 0, 0, "No simple roots defined for tensor products"});
    setCosetMode(0);
    setCurrentSD(nullptr);
    check(CONV_getRoot, {"1", 0, 2, 0, 0, "Simple roots of the current algebra are not available"});
}

TEST(ConvertTYPE, FirstTypeWordOfWhichTheWordIsAPrefix) {
    struct Case {
        const char* word;
        int code;
    };
    for (const Case& c :
         {Case{"U", 0}, Case{"u", 0}, Case{"", 0}, Case{"a", 1}, Case{"At", 11}, Case{"b", 2},
          Case{"bt", 12}, Case{"BC", 13}, Case{"c", 3}, Case{"ct", 14}, Case{"d", 4}, Case{"E", 5},
          Case{"f", 6}, Case{"Ft", 15}, Case{"g", 7}, Case{"gt", 16}, Case{"x", -1},
          Case{"Btt", -1}, Case{"du", -1}}) {
        EXPECT_EQ(convertTYPE(c.word), c.code) << c.word;
    }
}

TEST(ConversionReturn, SetsTheSharedCode) {
    ConversionResult* r = ConversionReturn(7);
    EXPECT_EQ(r->rc, 7);
    EXPECT_EQ(ConversionReturn(0), r);
}

} // namespace
