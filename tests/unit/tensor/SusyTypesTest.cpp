// Space-time symmetry types: the side types a user types, their checks against the dimension,
// their names, the readings of string data, and the pairs "browse susy" lists.
#include "TensorTestHelpers.h"

#include "tensor/Branching.h"

#include <gtest/gtest.h>

#include <string>
#include <tuple>
#include <vector>

using namespace tensortest;

namespace {

ChiralSusyType parsed(const char* text, int dim, int* result, std::string* err) {
    ChiralSusyType CST{-1, -1, -1, -1};
    Captured cap;
    *result = getChiralSusyType(text, dim, &CST);
    *err = cap.err();
    return CST;
}

TEST(SusyTypes, ParsingAndDimensionChecks) {
    const struct {
        const char* text;
        int dim, result, type, rank, chir;
        const char* message; // "" when nothing is reported
    } cases[] = {
        {"16", 10, 0, 5, 8, 1, ""},
        {"16-", 10, 0, 5, 8, -1, ""},
        {"16+", 4, 0, 5, 8, 0, "Chirality is irrelevant and will be ignored"},
        {"16", 9, 0, 5, 8, 0, ""},
        {"8", 6, 0, 5, 7, 1, ""},
        {"8", 8, -1, 5, 7, 0, ""},
        {"4", 4, 0, 5, 6, 0, ""},
        {"2", 3, 0, 5, 4, 0, ""},
        {"0", 26, 0, 0, 0, 0, ""},
        {"F4", 4, 0, 4, 5, 0, ""},
        {"F4-", 4, 0, 4, 5, -1, ""},
        {"F3", 3, 0, 2, 4, 0, ""},
        {"F10+", 10, 0, 4, 8, 1, ""},
        {"F4+", 2, 0, 4, 5, 1, ""},
        {"F3-", 2, 0, 2, 4, -1, ""},
        {"F20", 4, 0, 4, 13, 0, ""},
        {"F30", 4, -1, 4, 18, 0, "Covariant lattice rank too large (type=4,rank=18,dim=4)"},
        {"F2", 4, -1, 4, 4, 0, "Dimension too large for covariant lattice rank (dim=4,rank=4)"},
        {"16", 11, -1, 5, 8, 0, "Dimension too large for covariant lattice rank (dim=11,rank=8)"},
        {"7", 4, -1, -1, -1, 0, "Invalid susy type: 7"},
        {"Fx", 4, -1, -1, -1, 0, "String x cannot be converted to a number"},
        {"F1234567", 4, -1, -1, -1, 0, "Invalid susy type: F1234567"},
    };
    for (const auto& c : cases) {
        int result = 0;
        std::string err;
        const ChiralSusyType CST = parsed(c.text, c.dim, &result, &err);
        EXPECT_EQ(result, c.result) << c.text << " at " << c.dim;
        EXPECT_EQ(std::make_tuple(CST.Type, CST.Rank, CST.Chir, CST.Chir_res),
                  std::make_tuple(c.type, c.rank, c.chir, 1))
            << c.text << " at " << c.dim;
        if (*c.message)
            EXPECT_TRUE(has(err, c.message)) << c.text << ": " << err;
        else
            EXPECT_EQ(err, "") << c.text;
    }
}

// A chirality the caller leaves unspecified (999) is dropped without a word where it means
// nothing, and kept where it does; such a side is never symmetrizable.
TEST(SusyTypes, UnspecifiedChirality) {
    ChiralSusyType E8{5, 8, 999, 1};
    Captured cap;
    EXPECT_EQ(checkChiralSusyType(&E8, 9), 0);
    EXPECT_EQ(E8.Chir, 0);
    E8.Chir = 999;
    EXPECT_EQ(checkChiralSusyType(&E8, 10), 0);
    EXPECT_EQ(E8.Chir, 999);
    EXPECT_EQ(cap.err(), "");
    ChiralSusyType other = E8;
    SusyType ST{&E8, &other, nullptr, nullptr, 10, 1, 0, 1};
    EXPECT_EQ(checkSusyType(&ST), 0);
    EXPECT_EQ(ST.symmetrizable, 0);
    EXPECT_EQ(ST.supersymmetric, 1);
}

TEST(SusyTypes, Multiplets) {
    const ChiralSusyType D5{4, 5, 1, 1}, B4{2, 4, 0, 1}, E7{5, 7, 1, 1}, E6{5, 6, 0, 1},
        F4{5, 4, 0, 1}, E8{5, 8, 1, 1}, bosonic{0, 0, 0, 1};
    const struct {
        const ChiralSusyType* side;
        const char* text;
        int index;
    } cases[] = {{&E8, "V", -1}, {&bosonic, "V", -1}, {&bosonic, "0", 2}, {&D5, "0", 2},
                 {&D5, "S", 1},  {&D5, "S+", 1},      {&D5, "S-", 3},     {&B4, "0", 1},
                 {&B4, "S", 2},  {&E7, "M", 1},       {&F4, "M", 1},      {&E6, "M", 1},
                 {&E6, "M+", 1}, {&E6, "M-", 2}};
    for (const auto& c : cases)
        EXPECT_EQ(getMultiplet(c.text, c.side), c.index) << c.text;
    Captured cap;
    EXPECT_EQ(getMultiplet("M", &E8), 999);
    EXPECT_EQ(getMultiplet("S-", &B4), 999);
    EXPECT_TRUE(has(cap.err(), "Invalid multiplet: M (Type 5,8)")) << cap.err();
    EXPECT_TRUE(has(cap.err(), "Invalid multiplet: S- (Type 2,4)")) << cap.err();
}

TEST(SusyTypes, Names) {
    const struct {
        ChiralSusyType side;
        const char* name;
        int charges;
    } cases[] = {{{5, 8, 1, 1}, "16 supersymmetries (E8); chirality +", 16},
                 {{5, 7, -1, 1}, "8 supersymmetries (E7); chirality -", 8},
                 {{5, 6, 0, 1}, "4 supersymmetries (E6)", 4},
                 {{5, 4, 0, 1}, "2 supersymmetries (F4)", 2},
                 {{4, 5, 1, 1}, "Fermionic Non-susy (embedding dimension 4); chirality +", 0},
                 {{2, 4, 0, 1}, "Fermionic Non-susy (embedding dimension 3)", 0},
                 {{0, 0, 0, 1}, "Bosonic", 0}};
    for (const auto& c : cases) {
        EXPECT_STREQ(susyname(&c.side), c.name);
        EXPECT_EQ(SusyCount(&c.side), c.charges) << c.name;
    }
}

TEST(SusyTypes, RepresentationNames) {
    const struct {
        ChiralSusyType side;
        int dim, rep;
        const char* name;
    } cases[] = {
        {{5, 8, 1, 1}, 10, -1, "V"}, {{5, 7, 1, 1}, 6, 1, "M"},  {{5, 6, 0, 1}, 4, 1, "M+"},
        {{5, 6, 0, 1}, 4, 2, "M-"},  {{5, 6, 0, 0}, 4, 2, "M?"}, {{5, 6, 0, 1}, 3, 1, "M"},
        {{4, 5, 1, 1}, 4, 2, "0"},   {{4, 5, 1, 1}, 4, 3, "S-"}, {{4, 5, 1, 0}, 2, 1, "S?"},
        {{2, 4, 1, 1}, 3, 1, "0"},   {{2, 4, 1, 1}, 3, 2, "S"},  {{0, 0, 0, 1}, 10, 2, "0"}};
    for (const auto& c : cases) {
        char name[8] = "";
        EXPECT_STREQ(susyrepname(&c.side, c.dim, c.rep, name), c.name) << c.name;
    }
    const ChiralSusyType E8{5, 8, 1, 1};
    char name[8] = "keep";
    Captured cap;
    EXPECT_STREQ(susyrepname(&E8, 10, 0, name), "keep");
    EXPECT_TRUE(has(cap.err(), "Unexpected representation dim=10, type=(5,8), rep=0 (chir=1)"))
        << cap.err();
}

TEST(SusyTypes, ChiralRepresentations) {
    const ChiralSusyType E6{5, 6, 0, 1}, D5{4, 5, 0, 1}, E8{5, 8, 0, 1};
    EXPECT_EQ(SusyRepsAreChiral(&E6, 4), 1);
    EXPECT_EQ(SusyRepsAreChiral(&E6, 3), 0);
    EXPECT_EQ(SusyRepsAreChiral(&D5, 4), 1);
    EXPECT_EQ(SusyRepsAreChiral(&D5, 2), 0);
    EXPECT_EQ(SusyRepsAreChiral(&E8, 10), 0);
    EXPECT_EQ(isChirallySupersymmetric(&E6), 1);
    EXPECT_EQ(isChirallySupersymmetric(&D5), 0);
}

// ---- Readings of string data ----

// Type IIB-like data in ten dimensions: an E8 lattice over D8, extended on the left by the
// identity and on the right by the inverse identity of E8.
class ReadingTest : public testing::Test {
protected:
    void SetUp() override {
        H = Heterotic{};
        H.CovLatEmbedding = makeBranchingTable(5, 8, 4, 8, 1);
        H.SpaceTimeDim = 10;
        left = {makeBranchingTable(5, 8, 5, 8, 1), nullptr, 0, 248};
        right = {makeBranchingTable(5, 8, 5, 8, -1), nullptr, 0, 248};
        H.Left = &left;
        H.Right = &right;
        L = R = ChiralSusyType{-5, -5, -5, -5};
        ST = SusyType{&L, &R, nullptr, nullptr, 0, -1, -1, -1};
    }
    std::tuple<int, int, int, int> side(const ChiralSusyType& s) {
        return {s.Type, s.Rank, s.Chir, s.Chir_res};
    }
    Heterotic H{};
    Extension left{}, right{};
    ChiralSusyType L{}, R{};
    SusyType ST{};
};

TEST_F(ReadingTest, BothSides) {
    ASSERT_EQ(getSpaceTimeSymmetry(&H, &ST, 'B'), 0);
    EXPECT_EQ(ST.dim, 10);
    EXPECT_EQ(side(L), std::make_tuple(5, 8, 1, 1));
    EXPECT_EQ(side(R), std::make_tuple(5, 8, -1, 1));
    EXPECT_EQ(ST.symmetrizable, 0);
    EXPECT_EQ(ST.supersymmetric, 1);
    EXPECT_EQ(ST.orientable, 1);
    EXPECT_EQ(ST.HeteroticSpaceTime, nullptr);
    ASSERT_EQ(getSpaceTimeSymmetry(&H, &ST, 'X'), 0);
    EXPECT_EQ(ST.orientable, 0);
}

TEST_F(ReadingTest, Heterotic) {
    ASSERT_EQ(getSpaceTimeSymmetry(&H, &ST, 'L'), 0);
    EXPECT_EQ(side(L), std::make_tuple(5, 8, 1, 1));
    EXPECT_EQ(side(R), std::make_tuple(0, 0, 0, 1));
    EXPECT_EQ(ST.HeteroticSpaceTime, &L);
    EXPECT_EQ(ST.HeteroticGaugeGroup, &right);
    EXPECT_EQ(ST.supersymmetric, 1);
    ASSERT_EQ(getSpaceTimeSymmetry(&H, &ST, 'R'), 0);
    EXPECT_EQ(side(L), std::make_tuple(0, 0, 0, 1));
    EXPECT_EQ(side(R), std::make_tuple(5, 8, -1, 1));
    EXPECT_EQ(ST.HeteroticSpaceTime, &R);
    EXPECT_EQ(ST.HeteroticGaugeGroup, &left);
    // A left extension without a table reads as a bosonic side.
    left.Branch = nullptr;
    ASSERT_EQ(getSpaceTimeSymmetry(&H, &ST, 'L'), 0);
    EXPECT_EQ(side(L), std::make_tuple(0, 0, 0, 1));
    EXPECT_EQ(ST.supersymmetric, 0);
}

TEST_F(ReadingTest, Lattice) {
    H.CovLatEmbedding = makeBranchingTable(5, 8, 4, 8, -1);
    ASSERT_EQ(getSpaceTimeSymmetry(&H, &ST, 'I'), 0);
    EXPECT_EQ(side(L), std::make_tuple(5, 8, 1, 1));
    EXPECT_EQ(side(R), side(L));
    EXPECT_EQ(ST.symmetrizable, 1);
    ASSERT_EQ(getSpaceTimeSymmetry(&H, &ST, 'O'), 0);
    EXPECT_EQ(side(R), std::make_tuple(0, 0, 0, 1));
    H.CovLatEmbedding = nullptr;
    ASSERT_EQ(getSpaceTimeSymmetry(&H, &ST, 'I'), 0);
    EXPECT_EQ(side(L), std::make_tuple(0, 0, 0, 1));
}

TEST_F(ReadingTest, OtherReadingsOnlySetTheDimension) {
    L = {5, 7, 1, 1};
    R = {0, 0, 0, 1};
    H.SpaceTimeDim = 6;
    ASSERT_EQ(getSpaceTimeSymmetry(&H, &ST, 'Q'), 0);
    EXPECT_EQ(ST.dim, 6);
    EXPECT_EQ(side(L), std::make_tuple(5, 7, 1, 1));
    EXPECT_EQ(ST.orientable, -1);
}

TEST_F(ReadingTest, TooManyDimensions) {
    H.SpaceTimeDim = 11;
    Captured cap;
    EXPECT_EQ(getSpaceTimeSymmetry(&H, &ST, 'B'), -1);
    EXPECT_TRUE(has(cap.err(), "Dimension too large for covariant lattice rank (dim=11,rank=8)"))
        << cap.err();
}

// ---- The listing of "browse susy" ----

struct Shown {
    int dim;
    ChiralSusyType L, R;
    int rep1, rep2, depth;
};

std::vector<Shown> shown;

void record(int dim, ChiralSusyType* L, ChiralSusyType* R, int rep1, int rep2, int sym, int depth) {
    EXPECT_EQ(sym, 0);
    shown.push_back({dim, *L, *R, rep1, rep2, depth});
}

class ListingTest : public testing::Test {
protected:
    void SetUp() override {
        shown.clear();
        setDisplaySusy(record);
    }
    void TearDown() override {
        setDisplaySusy(nullptr);
        shown.clear();
    }
    // Side types as "E8+", "E7", "0", ... and representation pairs, one text per pair.
    static std::string sideText(const ChiralSusyType& s) {
        std::string t = s.Type == 0   ? "0"
                        : s.Type == 5 ? "E" + std::to_string(s.Rank)
                        : s.Type == 4 ? "D" + std::to_string(s.Rank)
                                      : "B" + std::to_string(s.Rank);
        return t + (s.Chir == 1 ? "+" : s.Chir == -1 ? "-" : "");
    }
    static std::vector<std::string> texts() {
        std::vector<std::string> out;
        for (const Shown& s : shown)
            out.push_back(sideText(s.L) + "x" + sideText(s.R) + " " + std::to_string(s.rep1) + "," +
                          std::to_string(s.rep2));
        return out;
    }
};

TEST_F(ListingTest, TenDimensions) {
    displaySusy2(10, 2);
    EXPECT_EQ(texts(), (std::vector<std::string>{"E8+xE8+ -1,-1", "E8+xE8- -1,-1", "E8+x0 -1,-1",
                                                 "E8+x0 -1,2"}));
    for (const Shown& s : shown)
        EXPECT_EQ(s.depth, 2);
}

TEST_F(ListingTest, SixDimensions) {
    displaySusy2(6, 2);
    EXPECT_EQ(texts(), (std::vector<std::string>{"E8xE8 -1,-1", "E8xE7+ -1,-1", "E8xE7- -1,-1",
                                                 "E8x0 -1,-1", "E8x0 -1,2", "E7+xE7+ -1,-1",
                                                 "E7+xE7+ 1,1", "E7+xE7- -1,-1", "E7+xE7- 1,1",
                                                 "E7+x0 -1,-1", "E7+x0 -1,2", "E7+x0 1,2"}));
}

// E6 at four dimensions has two matter classes, each pair once; below four one only.
TEST_F(ListingTest, E6) {
    ChiralSusyType E6{5, 6, 0, 1};
    displaySusy3(4, &E6, 3);
    EXPECT_EQ(texts(),
              (std::vector<std::string>{"E6xE6 -1,-1", "E6xE6 1,1", "E6xE6 2,1", "E6xE6 2,2",
                                        "E6x0 -1,-1", "E6x0 -1,2", "E6x0 1,2", "E6x0 2,2"}));
    shown.clear();
    displaySusy3(3, &E6, 3);
    EXPECT_EQ(texts(),
              (std::vector<std::string>{"E6xE6 -1,-1", "E6xE6 1,1", "E6xE4 -1,-1", "E6xE4 1,1",
                                        "E6x0 -1,-1", "E6x0 -1,2", "E6x0 1,2"}));
}

TEST_F(ListingTest, BosonicAndFermionicSides) {
    ChiralSusyType bosonic{0, 0, 0, 1}, E7{5, 7, 1, 1};
    displaySusy4(6, &bosonic, &E7, 4);
    EXPECT_EQ(texts(), (std::vector<std::string>{"0xE7+ -1,-1", "0xE7+ 2,-1", "0xE7+ 2,1"}));
    shown.clear();
    ChiralSusyType E8{5, 8, 0, 1};
    displaySusy3(2, &E8, 3);
    std::vector<std::string> right;
    for (const Shown& s : shown)
        if (s.rep1 == -1 && s.rep2 == -1)
            right.push_back(sideText(s.R));
    EXPECT_EQ(right, (std::vector<std::string>{"E8", "E7", "E6", "E4", "D5+", "B4+", "0"}));
}

// Every pair that "browse susy" lists is a supersymmetric multiplet: its bosonic and fermionic
// degrees of freedom agree, in every dimension from 10 down to 2.
TEST_F(ListingTest, EveryListedPairIsBalanced) {
    displaySusy1();
    std::vector<int> dims;
    for (const Shown& s : shown) {
        if (dims.empty() || dims.back() != s.dim)
            dims.push_back(s.dim);
        ChiralSusyType L = s.L, R = s.R;
        SusyType ST{&L, &R, nullptr, nullptr, s.dim, 0, 0, 1};
        const int* count = nullptr;
        {
            Captured quiet;
            count = getSusyRepresentation(s.rep1, s.rep2, 0, &ST);
        }
        ASSERT_NE(count, nullptr) << sideText(L) << "x" << sideText(R) << " at " << s.dim;
        long long bosons = 0, fermions = 0;
        for (int k = 0; k < s.dim + 10; k++) {
            const bool fermion = k == 1 || k == 3 || k == 7 || k == 8;
            (fermion ? fermions : bosons) +=
                static_cast<long long>(count[k]) * lightconeDim(s.dim, k);
        }
        const std::string pair = sideText(L) + "x" + sideText(R) + " (" + std::to_string(s.rep1) +
                                 "," + std::to_string(s.rep2) + ") at " + std::to_string(s.dim);
        // Gravity has no propagating states in two dimensions.
        if (s.dim > 2) {
            EXPECT_GT(bosons, 0) << pair;
        }
        EXPECT_EQ(bosons, fermions) << pair;
    }
    EXPECT_EQ(dims, (std::vector<int>{10, 9, 8, 7, 6, 5, 4, 3, 2}));
}

TEST_F(ListingTest, NothingIsPrintedWithoutAPrinter) {
    setDisplaySusy(nullptr);
    Captured cap;
    displaySusy2(10, 2);
    EXPECT_EQ(cap.out(), "");
    EXPECT_TRUE(shown.empty());
}

} // namespace
