#include "lie/Tarvik.h"

#include "base/Error.h"
#include "base/Output.h"
#include "base/Parameters.h"

#include "LieTestHelpers.h"

#include <gtest/gtest.h>

#include <cstdlib>

#include <numeric>
#include <string>
#include <vector>

namespace {

using lietest::occurrences;
using lietest::reportsOf;

struct CheckCase {
    int type, rank, level, req;
    int invalid;      // expected "Invalid input" reports
    int notAvailable; // expected "S matrix not built in" reports
};

TEST(TarvikTypes, TypecheckReportsEachViolatedRule) {
    // clang-format off
    const CheckCase cases[] = {
        {1, 0, 0, 0, 0, 0}, // the trivial algebra
        {1, 3, 2, 1, 0, 0},
        {0, 4, 0, 1, 0, 0}, // U(1) needs no level
        {5, 2, 1, 1, 0, 0},
        {5, 8, 1, 1, 0, 0},
        {27, 1, 1, 1, 0, 0},
        {5, 3, 1, 0, 1, 0}, // rank 3 names no exceptional algebra
        {5, 5, 1, 0, 1, 0},
        {5, 9, 1, 0, 1, 0},
        {5, 1, 1, 0, 1, 0},
        {1, 3, 0, 0, 1, 0},
        {2, 1, 1, 0, 1, 0},
        {4, 2, 1, 0, 1, 0},
        {8, 2, 1, 0, 1, 0},
        {6, 4, 1, 0, 1, 0},
        {7, 2, 1, 0, 1, 0}, // the command set's codes of F and G
        {20, 2, 1, 0, 1, 0},
        {-99, 3, 2, 0, 1, 0},
        {11, 2, 1, 0, 1, 0},
        {14, 2, 1, 0, 1, 0},
        {15, 3, 1, 0, 1, 0},
        {16, 4, 1, 0, 1, 0},
        {13, 0, 1, 0, 2, 0},
        {13, 0, 1, 1, 2, 0},
        {2, 0, 0, 0, 3, 0},  // rank, level and the rank of B at once
        {13, 2, 1, 1, 0, 0}, // B(2t) has an S-matrix
        {12, 2, 1, 1, 0, 1},
        {11, 1, 1, 1, 0, 1},
        {14, 3, 1, 1, 0, 1},
        {15, 4, 1, 1, 0, 1},
        {16, 2, 1, 1, 0, 1},
        {12, 2, 1, 0, 0, 0},
    };
    // clang-format on
    for (const CheckCase& c : cases) {
        std::string out = reportsOf([&] { typecheck(c.type, c.rank, c.level, c.req, "caller"); });
        SCOPED_TRACE(testing::Message() << "(" << c.type << "," << c.rank << "," << c.level
                                        << ") req " << c.req << ": " << out);
        EXPECT_EQ(occurrences(out, "Invalid input"), c.invalid);
        EXPECT_EQ(occurrences(out, "S matrix not built in"), c.notAvailable);
    }
}

// Codes 6 and 7 are the command set's words for F4 and G2 only; here 7 names the c=1 orbifold
// and F4 and G2 are type 5.
TEST(TarvikTypes, ExceptionalAlgebrasKeepType5) {
    EXPECT_STREQ(algebraname(7, 2, 1), "Orbifold c=1 N=2");
    EXPECT_EQ(dualCoxeter(5, 4), 9);
    EXPECT_EQ(dualCoxeter(5, 2), 4);
    int g = 0;
    std::string out = reportsOf([&] { g = dualCoxeter(7, 2); });
    EXPECT_EQ(g, -1);
    EXPECT_GE(occurrences(out, "Invalid input"), 1);
}

TEST(TarvikTypes, InputErrorQuotesTheTripleAndRoutine) {
    std::string out = reportsOf([] { typecheck(4, 2, 3, 0, "myRoutine"); });
    EXPECT_NE(out.find("Invalid input\nType=4, Rank=2, Level=3\nRoutine: myRoutine"),
              std::string::npos);
    out = reportsOf([] { SNotAvailable(12, 3, 1, "SDirect"); });
    EXPECT_NE(out.find("S matrix not built in\nType=12, Rank=3, Level=1\nRoutine: SDirect"),
              std::string::npos);
}

TEST(TarvikTypes, AlgebraNames) {
    struct {
        int type, rank, level;
        const char* name;
    } const cases[] = {
        {1, 3, 2, "A3 level 2"},      {-99, 3, 2, "A3 level 2 (Compl.)"},
        {2, 4, 1, "B4 level 1"},      {3, 2, 5, "C2 level 5"},
        {4, 6, 2, "D6 level 2"},      {5, 2, 3, "G2 level 3"},
        {5, 4, 1, "F4 level 1"},      {5, 8, 1, "E8 level 1"},
        {0, 6, 0, "U(1) radius 6"},   {7, 4, 0, "Orbifold c=1 N=4"},
        {11, 1, 5, "A(2)"},           {12, 3, 2, "B3(2) level 2"},
        {13, 3, 2, "B3(2t) level 2"}, {14, 3, 1, "C3(2) level 1"},
        {15, 4, 1, "F4(2) level 1"},  {16, 2, 1, "G2(3) level 1"},
        {27, 3, 5, "Min 3 5 (aux)"},  {-87, 2, 1, "B2(2t) level 1 (Compl.)"},
    };
    for (const auto& c : cases)
        EXPECT_STREQ(algebraname(c.type, c.rank, c.level), c.name);
}

TEST(TarvikTypes, NameOfTypeWithoutEntryIsReportedAndKeepsBuffer) {
    algebraname(1, 2, 3);
    const char* name = nullptr;
    std::string out = reportsOf([&] { name = algebraname(9, 2, 3); });
    EXPECT_STREQ(name, "A2 level 3");
    EXPECT_EQ(occurrences(out, "Routine: algebraName"), 1);
}

TEST(TarvikTypes, TypeStrings) {
    struct {
        int type, rank;
        const char* text;
    } const cases[] = {
        {0, 3, "U"},          {1, 2, "A"},     {-99, 1, "A(C)"}, {4, 5, "D"},     {5, 2, "G"},
        {5, 4, "F"},          {5, 7, "E"},     {7, 3, "O"},      {11, 1, "A(2)"}, {12, 3, "B(2)"},
        {-87, 2, "B(2t)(C)"}, {14, 3, "C(2)"}, {15, 4, "F(2)"},  {16, 2, "G(3)"}, {27, 2, "M"},
    };
    for (const auto& c : cases)
        EXPECT_STREQ(algebraTypeString(c.type, c.rank), c.text);
}

TEST(TarvikTypes, CurrentLabels) {
    char lbl[16];
    const char* d[] = {"0", "s", "v", "c"};
    for (int j = 0; j < 4; j++) {
        currentLabel(4, j, lbl);
        EXPECT_STREQ(lbl, d[j]);
    }
    currentLabel(1, 3, lbl);
    EXPECT_STREQ(lbl, "3");
    currentLabel(5, 12, lbl);
    EXPECT_STREQ(lbl, "12");
}

TEST(TarvikTypes, HorizontalTypes) {
    const int types[] = {0, 1, 2, 3, 4, 5, 11, 12, 13, 14, 15, 16};
    const int horizontal[] = {0, 1, 2, 3, 4, 5, 1, 2, 2, 3, 5, 5};
    for (int i = 0; i < 12; i++)
        EXPECT_EQ(LieType(types[i]), horizontal[i]);
    int h = 0;
    std::string out = reportsOf([&] { h = LieType(9); });
    EXPECT_EQ(h, -1);
    EXPECT_GE(occurrences(out, "Routine: LieType"), 1);
}

struct Constants {
    int type, rank;
    int coxeter, dimension, center, multiplicity, complex;
};

// Dual Coxeter numbers, dimensions and centres of the simple Lie algebras.
TEST(TarvikTypes, ConstantsOfTheUntwistedAlgebras) {
    const Constants cases[] = {
        {1, 1, 2, 3, 2, 1, 0},    {1, 4, 5, 24, 5, 1, 1},   {2, 2, 3, 10, 2, 1, 0},
        {2, 7, 13, 105, 2, 1, 0}, {3, 3, 4, 21, 2, 1, 0},   {4, 4, 6, 28, 4, 2, 0},
        {4, 5, 8, 45, 4, 1, 1},   {4, 8, 14, 120, 4, 2, 0}, {5, 2, 4, 14, 1, 0, 0},
        {5, 4, 9, 52, 1, 0, 0},   {5, 6, 12, 78, 3, 1, 1},  {5, 7, 18, 133, 2, 1, 0},
        {5, 8, 30, 248, 1, 0, 0}, {0, 5, 0, 1, 5, 1, 1},    {0, 2, 0, 3, 2, 1, 1},
    };
    for (const Constants& c : cases) {
        SCOPED_TRACE(algebraname(c.type, c.rank, 1));
        EXPECT_EQ(dualCoxeter(c.type, c.rank), c.coxeter);
        EXPECT_EQ(AdjointDimension(c.type, c.rank), c.dimension);
        EXPECT_EQ(Center(c.type, c.rank), c.center);
        EXPECT_EQ(CenterMultiplicity(c.type, c.rank), c.multiplicity);
        EXPECT_EQ(Complexity(c.type, c.rank), c.complex);
    }
    EXPECT_EQ(dualCoxeter(2, 1), 2); // B1 is A1
}

// A twisted algebra has the dimension of the algebra it folds.
TEST(TarvikTypes, TwistedDimensionsAreThoseOfTheFoldedAlgebra) {
    EXPECT_EQ(AdjointDimension(11, 1), AdjointDimension(1, 2));
    for (int r = 2; r <= 6; r++) {
        EXPECT_EQ(AdjointDimension(12, r), AdjointDimension(4, r + 1));
        EXPECT_EQ(AdjointDimension(13, r), AdjointDimension(1, 2 * r));
        EXPECT_EQ(AdjointDimension(14, r + 1), AdjointDimension(1, 2 * r + 1));
    }
    EXPECT_EQ(AdjointDimension(15, 4), AdjointDimension(5, 6));
    EXPECT_EQ(AdjointDimension(16, 2), AdjointDimension(4, 4));
    for (int t = 11; t <= 16; t++)
        EXPECT_EQ(Center(t, 3), 1);
}

TEST(TarvikTypes, TypesWithoutEntryGiveNeutralValues) {
    int g = 0, dim = 0;
    std::string out = reportsOf([&] {
        g = dualCoxeter(8, 2);
        dim = AdjointDimension(-5, 2);
    });
    EXPECT_EQ(g, -1);
    EXPECT_EQ(dim, 0);
    EXPECT_GE(occurrences(out, "Routine: dualCoxeter"), 1);
    EXPECT_GE(occurrences(out, "Routine: AdjointDimension"), 1);
    EXPECT_EQ(dualCoxeter(5, 3), -1);
    EXPECT_EQ(AdjointDimension(5, 5), 0);
    EXPECT_EQ(Center(5, 3), 1);
    EXPECT_EQ(CenterMultiplicity(5, 3), 0);
}

// Every affine type, twisted ones and conjugate codes included, stops at the largest level (50
// unless start-up hands over another "MaximalLevel"); the free boson and the types without a
// level of an affine algebra have no such limit.
TEST(TarvikTypes, LevelLimitOfEveryAffineType) {
    const int saved = getMaximalLevel();
    for (const int maximal : {50, 7}) {
        setMaximalLevel(maximal);
        for (const int type : {1, 2, 3, 4, 5, 11, 12, 13, 14, 15, 16, -95, -88}) {
            int atMaximum = 0, above = 1;
            const std::string quiet = reportsOf([&] { atMaximum = levelCheck(type, maximal); });
            const std::string told = reportsOf([&] { above = levelCheck(type, maximal + 1); });
            EXPECT_EQ(atMaximum, 1) << type;
            EXPECT_EQ(quiet, "") << type;
            EXPECT_EQ(above, 0) << type;
            EXPECT_EQ(occurrences(told, "Level " + std::to_string(maximal + 1) +
                                            " above the maximal level " + std::to_string(maximal)),
                      1)
                << told;
        }
        for (const int type : {0, 6, 7, 27})
            EXPECT_EQ(levelCheck(type, 1804), 1) << type;
    }
    setMaximalLevel(saved);
}

TEST(TarvikTypes, CenterOrders) {
    int orders[2] = {0, 0};
    getCenterOrders(4, 6, 4, orders);
    EXPECT_EQ(orders[0], 2);
    EXPECT_EQ(orders[1], 2);
    orders[1] = -7;
    getCenterOrders(4, 5, 4, orders);
    EXPECT_EQ(orders[0], 4);
    EXPECT_EQ(orders[1], -7);
    getCenterOrders(1, 3, 4, orders);
    EXPECT_EQ(orders[0], 4);
}

// The degrees d_i of the Casimir invariants: the product is the order of the Weyl group and
// the sum of d_i - 1 the number of positive roots.
TEST(TarvikTypes, CasimirDegrees) {
    struct {
        int type, rank;
        long long weylOrder;
        int positiveRoots;
    } const cases[] = {
        {1, 1, 2, 1},      {1, 4, 120, 10},     {2, 3, 48, 9},          {3, 4, 384, 16},
        {4, 4, 192, 12},   {4, 5, 1920, 20},    {5, 2, 12, 6},          {5, 4, 1152, 24},
        {5, 6, 51840, 36}, {5, 7, 2903040, 63}, {5, 8, 696729600, 120},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(algebraname(c.type, c.rank, 1));
        const int* d = indexOrders(c.type, c.rank);
        long long product = 1;
        int exponents = 0;
        for (int i = 0; i < c.rank; i++) {
            product *= d[i];
            exponents += d[i] - 1;
        }
        EXPECT_EQ(product, c.weylOrder);
        EXPECT_EQ(exponents, c.positiveRoots);
    }
    const int* e7 = indexOrders(5, 7);
    EXPECT_EQ(std::vector<int>(e7, e7 + 7), (std::vector<int>{2, 6, 8, 10, 12, 14, 18}));
    const int* d4 = indexOrders(4, 4);
    EXPECT_EQ(std::vector<int>(d4, d4 + 4), (std::vector<int>{2, 4, 6, 4}));
}

TEST(TarvikTypes, CasimirDegreesOfInvalidAlgebrasAreReported) {
    std::string out = reportsOf([] { indexOrders(5, 5); });
    EXPECT_EQ(occurrences(out, "Invalid rank for exceptional algebra:  5"), 1);
    out = reportsOf([] { indexOrders(12, 3); });
    EXPECT_EQ(occurrences(out, "Invalid algebra: type 12; rank 3"), 1);
}

TEST(TarvikTypes, RootLengthRatios) {
    EXPECT_EQ(SmallRootDenominator(1, 3), 1);
    EXPECT_EQ(SmallRootDenominator(2, 3), 2);
    EXPECT_EQ(SmallRootDenominator(3, 3), 2);
    EXPECT_EQ(SmallRootDenominator(4, 5), 1);
    EXPECT_EQ(SmallRootDenominator(5, 2), 3);
    EXPECT_EQ(SmallRootDenominator(5, 4), 2);
    EXPECT_EQ(SmallRootDenominator(5, 8), 1);
    EXPECT_EQ(SmallRootDenominator(0, 3), -1);
    EXPECT_EQ(SmallRootDenominator(13, 3), -1);
}

} // namespace

namespace {

// "Maxrank" registered as start-up registers it.
class RankLimits : public testing::Test {
protected:
    void SetUp() override {
        if (!findInternalParameter("Maxrank"))
            addInternalParameter("Maxrank", "20", 'i', 0);
        setIntPar("Maxrank", 20);
    }
};

TEST_F(RankLimits, RankLimitsOfEveryTypeCode) {
    struct Limits {
        int type, min, max; // max -1: the parameter "Maxrank"
    };
    // E6..E8, F4, G2 and the twisted algebras have fixed ranks; the classical ones run from
    // their smallest rank not equal to a smaller algebra up to the parameter.
    const Limits limits[] = {{0, 2, -1},  {1, 1, -1},  {2, 2, -1}, {3, 2, -1}, {4, 4, -1},
                             {5, 6, 8},   {6, 4, 4},   {7, 2, 2},  {11, 1, 1}, {12, 2, -1},
                             {13, 1, -1}, {14, 3, -1}, {15, 4, 4}, {16, 2, 2}, {26, 2, 2}};
    setIntPar("Maxrank", 13);
    for (const Limits& l : limits) {
        EXPECT_EQ(minRank(l.type), l.min) << l.type;
        EXPECT_EQ(maxRank(l.type), l.max < 0 ? 13 : l.max) << l.type;
    }
    setIntPar("Maxrank", 20);
    EXPECT_EQ(maxRank(1), 20);
}

TEST_F(RankLimits, InvalidTypeCodesGiveRankOne) {
    // The report is a serious error, which would ask the user; here it is switched off.
    disableError("maxRank", 0);
    disableError("minRank", 0);
    for (int type : {-1, 8, 9, 10, 17, 25, 27}) {
        EXPECT_EQ(maxRank(type), 1) << type;
        EXPECT_EQ(minRank(type), 1) << type;
    }
    enableError("maxRank", 0);
    enableError("minRank", 0);
    setIntPar("interactive", 0);
}

void rankOfInvalidTypeInBackground(int (*limit)(int)) {
    setBackground(1);
    ERROR_FILE = stderr;
    limit(17);
    std::exit(0);
}

TEST_F(RankLimits, InvalidTypeCodeEndsABackgroundRun) {
    EXPECT_EXIT(rankOfInvalidTypeInBackground(maxRank), testing::ExitedWithCode(1),
                "Invalid type 17(.|\\n)*Fatal error; terminating execution");
    EXPECT_EXIT(rankOfInvalidTypeInBackground(minRank), testing::ExitedWithCode(1),
                "Invalid type 17(.|\\n)*routine minRank");
}

TEST_F(RankLimits, ExceptionalTypesSplitAndJoin) {
    EXPECT_EQ(algebraType(5, 4), 6); // F4
    EXPECT_EQ(algebraType(5, 2), 7); // G2
    for (int rank : {6, 7, 8})
        EXPECT_EQ(algebraType(5, rank), 5);
    for (int type : {0, 1, 2, 3, 4, 11, 16})
        EXPECT_EQ(algebraType(type, 4), type);
    EXPECT_EQ(algebraType(4, 2), 4);
    for (int rank : {2, 4, 6, 7, 8})
        EXPECT_EQ(standardType(algebraType(5, rank)), 5);
    for (int type : {0, 1, 2, 3, 4, 11, 12, 13, 14, 15, 16})
        EXPECT_EQ(standardType(type), type);
}

} // namespace
