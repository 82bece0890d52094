// Branching tables of the covariant lattice, checked against group theory: the classes are the
// level-1 representations (whose dimensions the Weyl formula gives), every table must add up in
// dimensions, and the E8 > D4, E7 > D6, E6 > D5 and E8 > E6 decompositions are the textbook ones.
#include "TensorTestHelpers.h"

#include "lie/Tarvik.h"
#include "store/Storemanager.h"
#include "tensor/Branching.h"
#include "tensor/Coset.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <string>
#include <vector>

using namespace tensortest;

namespace {

using V = std::vector<int>;

struct Pair {
    int gt, gr, ht, hr, chir;
};

std::string name(const Pair& p) {
    return "(" + std::to_string(p.gt) + "," + std::to_string(p.gr) + ") > (" +
           std::to_string(p.ht) + "," + std::to_string(p.hr) + ") chir " + std::to_string(p.chir);
}

Branching* table(const Pair& p) {
    return makeBranchingTable(p.gt, p.gr, p.ht, p.hr, p.chir);
}

V adjointRow(const Branching* B) {
    return V(B->Adjoint, B->Adjoint + B->N_H);
}

V row(const Branching* B, int i) {
    return V(B->table[i], B->table[i] + B->N_H);
}

int listLength() {
    int n = 0;
    for (TableNode* node = getFirstBranchingTable(); node; node = node->next)
        n++;
    return n;
}

// The classes are the integrable representations at level 1: as many, with the same dimensions
// (the Weyl formula applied to the level-1 weights of the store's block).
TEST_F(TensorTest, ClassesAreTheLevelOneRepresentations) {
    const std::vector<std::array<int, 2>> algebras = {
        {2, 4}, {2, 5}, {2, 8}, {4, 4}, {4, 5}, {4, 7}, {4, 8}, {5, 4}, {5, 6}, {5, 7}, {5, 8}};
    for (const auto& [type, rank] : algebras) {
        SpectrumData* sd = block(type, rank, 1);
        ASSERT_NE(sd, nullptr);
        ASSERT_EQ(sd->Nprimaries, RepCnt(type, rank)) << type << "," << rank;
        V weyl, ours;
        for (int i = 0; i < sd->Nprimaries; i++) {
            weyl.push_back(Dimension(SM_getRep(sd, i), type, rank));
            ours.push_back(repDim(type, rank, i));
        }
        std::sort(weyl.begin(), weyl.end());
        std::sort(ours.begin(), ours.end());
        EXPECT_EQ(ours, weyl) << type << "," << rank;
        EXPECT_EQ(repDim(type, rank, -1), AdjointDimension(type, rank));
    }
}

TEST(BranchingClasses, OtherAlgebrasHaveNone) {
    EXPECT_EQ(RepCnt(1, 3), 0);
    EXPECT_EQ(RepCnt(5, 2), 0);
    Captured cap;
    EXPECT_EQ(repDim(1, 3, 1), 0);
    EXPECT_EQ(repDim(1, 3, 0), 1);
    EXPECT_TRUE(has(cap.err(), "Unexpected type/rank")) << cap.err();
}

TEST(BranchingClasses, CovariantLatticeDimensionsAndChirality) {
    const struct {
        int type, rank, dim, chiral;
    } cases[] = {{2, 4, 3, 0}, {2, 7, 9, 0}, {4, 4, 2, 1}, {4, 8, 10, 1},
                 {5, 4, 3, 0}, {5, 6, 4, 1}, {5, 7, 6, 0}, {5, 8, 10, 0}};
    for (const auto& c : cases) {
        EXPECT_EQ(getCovLatDim(c.type, c.rank), c.dim) << c.type << "," << c.rank;
        EXPECT_EQ(isChiral(c.type, c.rank), c.chiral) << c.type << "," << c.rank;
    }
    Captured cap;
    EXPECT_EQ(getCovLatDim(1, 5), 0);
    EXPECT_TRUE(has(cap.err(), "Not a covariant lattice")) << cap.err();
}

TEST(BranchingClasses, TotalDimensionsPerClass) {
    const int info[4] = {2, 1, 3, 0};
    const int* total = getTotalRepDim(4, 5, info);
    EXPECT_EQ(V(total, total + 4), (V{2, 16, 30, 0}));
}

// Every table the string analysis can ask for adds up: each class of G, and the adjoint of G
// beyond that of H, have the dimension of their H content.
TEST(BranchingTables, DimensionsAddUp) {
    std::vector<Pair> pairs;
    for (int chir : {1, -1, 0}) {
        for (int h : {7, 6, 4})
            pairs.push_back({5, 8, 5, h, chir});
        pairs.push_back({5, 7, 5, 6, chir});
        pairs.push_back({5, 7, 5, 4, chir});
        pairs.push_back({5, 6, 5, 4, chir});
        for (const auto& [g, h] : std::vector<std::array<int, 2>>{
                 {8, 8}, {8, 4}, {8, 6}, {7, 6}, {7, 5}, {7, 4}, {6, 5}, {6, 4}, {4, 4}})
            pairs.push_back({5, g, 4, h, chir});
        for (const auto& [g, h] : std::vector<std::array<int, 2>>{
                 {8, 7}, {8, 5}, {8, 4}, {7, 5}, {7, 4}, {6, 4}, {4, 4}, {4, 3}})
            pairs.push_back({5, g, 2, h, chir});
        for (int n = 4; n <= 12; n++) {
            pairs.push_back({4, n, 4, 4, chir});
            pairs.push_back({2, n, 4, 4, chir});
            pairs.push_back({4, n, 4, n, chir});
            pairs.push_back({2, n, 2, n, chir});
            for (int m = 2; m < n; m++) {
                pairs.push_back({4, n, 4, m, chir});
                pairs.push_back({4, n, 2, m, chir});
                pairs.push_back({2, n, 2, m, chir});
                pairs.push_back({2, n, 4, m, chir});
            }
        }
    }
    for (const Pair& p : pairs) {
        const Branching* B = table(p);
        ASSERT_NE(B, nullptr) << name(p);
        ASSERT_EQ(B->N_G, RepCnt(p.gt, p.gr));
        ASSERT_EQ(B->N_H, RepCnt(p.ht, p.hr));
        EXPECT_EQ(B->table[0][0], 1) << name(p);
        long long adjoint = 0;
        for (int j = 0; j < B->N_H; j++)
            adjoint += static_cast<long long>(B->Adjoint[j]) * repDim(p.ht, p.hr, j);
        EXPECT_EQ(adjoint, AdjointDimension(p.gt, p.gr) - AdjointDimension(p.ht, p.hr)) << name(p);
        for (int i = 0; i < B->N_G; i++) {
            long long sum = 0;
            for (int j = 0; j < B->N_H; j++)
                sum += static_cast<long long>(B->table[i][j]) * repDim(p.ht, p.hr, j);
            EXPECT_EQ(sum, repDim(p.gt, p.gr, i)) << name(p) << " class " << i;
        }
    }
}

TEST(BranchingTables, TextbookDecompositions) {
    // 248 = (28,1) + (1,28) + (8v,8v) + (8s,8s) + (8c,8c) under D4 x D4.
    const Branching* E8D4 = makeBranchingTable(5, 8, 4, 4, 1);
    EXPECT_EQ(adjointRow(E8D4), (V{28, 8, 8, 8}));
    // 248 = (78,1) + (1,8) + (27,3) + (27*,3*) under E6 x A2.
    EXPECT_EQ(adjointRow(makeBranchingTable(5, 8, 5, 6, 1)), (V{8, 3, 3}));
    // 56 = (12,2) + (32',1) and 133 = (66,1) + (1,3) + (32,2) under D6 x A1.
    const Branching* E7D6 = makeBranchingTable(5, 7, 4, 6, 1);
    EXPECT_EQ(row(E7D6, 1), (V{0, 0, 2, 1}));
    EXPECT_EQ(adjointRow(E7D6), (V{3, 2, 0, 0}));
    // 27 = 1 + 16 + 10 under D5; its conjugate has the other spinor.
    const Branching* E6D5 = makeBranchingTable(5, 6, 4, 5, 1);
    EXPECT_EQ(row(E6D5, 1), (V{1, 1, 1, 0}));
    EXPECT_EQ(row(E6D5, 2), (V{1, 0, 1, 1}));
    // 56 = 1 + 1 + 27 + 27* under E6; 26 = 1 + 9 + 16 under B4.
    EXPECT_EQ(row(makeBranchingTable(5, 7, 5, 6, 1), 1), (V{2, 1, 1}));
    EXPECT_EQ(row(makeBranchingTable(5, 4, 2, 4, 1), 1), (V{1, 1, 1}));
    // 248 = 105 + 15 + 128 under B7 = SO(15).
    EXPECT_EQ(adjointRow(makeBranchingTable(5, 8, 2, 7, 1)), (V{0, 1, 1}));
}

// The chirality says which D4 class plays the vector, and which spinor of D8 or D6 the
// exceptional algebra holds.
TEST(BranchingTables, ChiralEmbeddings) {
    const struct {
        int chir;
        V adjoint;
    } d8d4[] = {{0, {28, 0, 8, 0}}, {1, {28, 8, 0, 0}}, {-1, {28, 0, 0, 8}}};
    for (const auto& c : d8d4)
        EXPECT_EQ(adjointRow(makeBranchingTable(4, 8, 4, 4, c.chir)), c.adjoint) << c.chir;
    EXPECT_EQ(adjointRow(makeBranchingTable(5, 8, 4, 8, 1)), (V{0, 1, 0, 0}));
    EXPECT_EQ(adjointRow(makeBranchingTable(5, 8, 4, 8, -1)), (V{0, 0, 0, 1}));
    EXPECT_EQ(row(makeBranchingTable(5, 7, 4, 6, -1), 1), (V{0, 1, 2, 0}));
    // The inverse identity of D5 exchanges its spinors, whatever was built before it.
    makeBranchingTable(4, 5, 4, 5, 1);
    const Branching* flip = makeBranchingTable(4, 5, 4, 5, -1);
    EXPECT_EQ(row(flip, 1), (V{0, 0, 0, 1}));
    EXPECT_EQ(row(flip, 2), (V{0, 0, 1, 0}));
    EXPECT_EQ(flip->chirality, -1);
}

TEST(BranchingTables, ChiralityResolution) {
    EXPECT_EQ(makeBranchingTable(4, 5, 4, 5, 1)->chirality_resolved, 1);
    EXPECT_EQ(makeBranchingTable(4, 6, 4, 4, 0)->chirality_resolved, 0);
    EXPECT_EQ(makeBranchingTable(5, 6, 4, 5, 1)->chirality_resolved, 1);
    EXPECT_EQ(makeBranchingTable(5, 6, 4, 4, 1)->chirality_resolved, 0);
    EXPECT_EQ(makeBranchingTable(5, 8, 4, 4, 1)->chirality_resolved, 1);
}

// One record per table: a repeated request, also of a product or of a table whose chirality
// means nothing, finds the record it got before; another chirality of a chiral embedding is
// another record, and 0 or 999 for E8 > D8 read as +1.
TEST(BranchingTables, RepeatedRequestsShareTheRecord) {
    const Pair requests[] = {{5, 6, 4, 5, 1},  {5, 6, 4, 5, 0}, {5, 8, 4, 4, 1},   {5, 8, 4, 4, -1},
                             {4, 5, 4, 5, -1}, {5, 7, 5, 4, 1}, {2, 6, 4, 4, 999}, {4, 9, 2, 6, 1}};
    for (const Pair& p : requests) {
        Branching* first = table(p);
        const int before = listLength();
        EXPECT_EQ(table(p), first) << name(p);
        EXPECT_EQ(listLength(), before) << name(p);
    }
    Branching* plus = makeBranchingTable(5, 8, 4, 8, 1);
    EXPECT_NE(makeBranchingTable(5, 8, 4, 8, -1), plus);
    EXPECT_EQ(makeBranchingTable(5, 8, 4, 8, 0), plus);
    EXPECT_EQ(makeBranchingTable(5, 8, 4, 8, 999), plus);
    EXPECT_EQ(makeBranchingTable(2, 6, 4, 4, 999), makeBranchingTable(2, 6, 4, 4, 0));
    EXPECT_NE(makeBranchingTable(2, 6, 4, 4, 1), makeBranchingTable(2, 6, 4, 4, 0));
}

TEST(BranchingTables, RefusedPairsAreNotKept) {
    const Pair refused[] = {{1, 3, 4, 4, 1}, {4, 4, 4, 6, 1}, {2, 5, 2, 5 + 1, 0},
                            {4, 6, 2, 6, 1}, {5, 6, 5, 7, 1}, {5, 4, 5, 6, 1},
                            {5, 8, 5, 2, 1}, {4, 40, 4, 4, 0}};
    for (const Pair& p : refused) {
        const int before = listLength();
        Captured cap;
        EXPECT_EQ(table(p), nullptr) << name(p);
        EXPECT_TRUE(has(cap.err(), "Branching not built in")) << name(p) << cap.err();
        EXPECT_EQ(listLength(), before) << name(p);
    }
    Captured cap;
    EXPECT_EQ(makeBranchingTable(1, 3, 4, 4, 1), nullptr);
    EXPECT_TRUE(has(cap.err(), "Branching not built in (Type 1, Rank 3 --> Type 4, Rank 4)"))
        << cap.err();
}

// E7 does not hold B6: the request is refused instead of answered with E7 > D6.
TEST(BranchingTables, E7HoldsNoB6) {
    Captured cap;
    EXPECT_EQ(makeBranchingTable(5, 7, 2, 6, 1), nullptr);
    EXPECT_TRUE(has(cap.err(), "Branching not built in")) << cap.err();
}

TEST(BranchingTables, ProductsOfTables) {
    Branching* E8D8 = makeBranchingTable(5, 8, 4, 8, 1);
    Branching* D8D4 = makeBranchingTable(4, 8, 4, 4, 1);
    EXPECT_EQ(MultiplyTables(E8D8, D8D4), makeBranchingTable(5, 8, 4, 4, 1));
    {
        Captured cap;
        EXPECT_EQ(MultiplyTables(D8D4, E8D8), nullptr);
        EXPECT_TRUE(has(cap.err(), "Invalid consecutive branching")) << cap.err();
    }
    // Formed all the same; D14 > D4 is asked for nowhere else, so this product is the table.
    Captured cap;
    const Branching* D14D4 =
        MultiplyTables(makeBranchingTable(4, 14, 4, 12, 0), makeBranchingTable(4, 12, 4, 4, 1));
    EXPECT_TRUE(has(cap.err(), "Unexpected chiral embedding as outcome of multiplication"))
        << cap.err();
    ASSERT_NE(D14D4, nullptr);
    EXPECT_EQ(row(D14D4, 2), (V{20, 1, 0, 0})) << "28 = 20 x 1 + 8";
}

TEST(BranchingTables, TrivialExtension) {
    Extension E{};
    trivialExtension(&E, 5, 6, 3);
    ASSERT_NE(E.Branch, nullptr);
    EXPECT_EQ(E.Branch, makeBranchingTable(5, 6, 5, 6, 1));
    EXPECT_EQ(BranchingIsTrivial(E.Branch), 1);
    EXPECT_EQ(E.size, 1);
    EXPECT_EQ(E.currents[0], 0);
    EXPECT_EQ(E.addim, 3);
    EXPECT_EQ(BranchingIsTrivial(makeBranchingTable(5, 6, 4, 5, 1)), 0);
}

// ---- Inverse branching ----

V inverse(const Branching* B, V H, int* result) {
    V G(4, -7);
    *result = InverseBranch(B, H.data(), G.data());
    return V(G.begin(), G.begin() + B->N_G);
}

// The H content of a G content, by the table.
V branch(const Branching* B, const V& G) {
    V H(static_cast<std::size_t>(B->N_H), 0);
    for (int i = 0; i < B->N_G; i++)
        for (int j = 0; j < B->N_H; j++)
            H[static_cast<std::size_t>(j)] += G[static_cast<std::size_t>(i)] * B->table[i][j];
    return H;
}

TEST(InverseBranching, RecoversUniqueContents) {
    int result = -1;
    EXPECT_EQ(inverse(makeBranchingTable(4, 6, 4, 6, 1), {3, 1, 4, 1}, &result), (V{3, 1, 4, 1}));
    EXPECT_EQ(result, 1);
    const struct {
        Pair p;
        V G;
    } cases[] = {{{5, 6, 4, 5, 1}, {3, 2, 1}},
                 {{5, 7, 5, 6, 1}, {5, 2}},
                 {{2, 6, 4, 4, 0}, {1, 2, 3}},
                 {{5, 4, 2, 4, 1}, {4, 3}}};
    for (const auto& c : cases) {
        const Branching* B = table(c.p);
        EXPECT_EQ(inverse(B, branch(B, c.G), &result), c.G) << name(c.p);
        EXPECT_EQ(result, 1) << name(c.p);
    }
}

// D5 > D4 cannot tell the two spinors of D5 apart: the content is not unique, and since the
// table says so, nothing is reported. A table that claims to resolve them reports it.
TEST(InverseBranching, AmbiguousContents) {
    const Branching* D5D4 = makeBranchingTable(4, 5, 4, 4, 0);
    const V H = branch(D5D4, {1, 1, 0, 1});
    int result = -1;
    V G;
    {
        Captured cap;
        G = inverse(D5D4, H, &result);
        EXPECT_EQ(cap.err(), "");
    }
    EXPECT_EQ(result, 0);
    EXPECT_EQ(branch(D5D4, G), H);
    EXPECT_EQ(G[0], 1);
    EXPECT_EQ(G[2], 0);
    Branching claims = *D5D4;
    claims.chirality_resolved = 1;
    Captured cap;
    inverse(&claims, H, &result);
    EXPECT_EQ(result, 0);
    EXPECT_TRUE(has(cap.err(), "Representation content is not uniquely determined")) << cap.err();
}

// ---- Extensions ----

struct ExtensionCase {
    int type, rank;
    V count;
    int extType, extRank, chirality;
};

// Group theory: SO(8) + 8s = SO(9); SO(8) + 8v + 8v = SO(10); 248 = 28 + 3 x 64 + 28 singlets of
// the internal D4; SO(10) + 16 + 16* = E6; SO(16) + 128 = E8; SO(12) + 2 x 32 = E7 (with an
// internal A1); SO(9) + 16 = F4; F4 + 26 = E6, + 3 x 26 = E7 (x A1), + 7 x 26 = E8 (x G2);
// E6 + 27 + 27* = E7 (x U1), + 3 x (27 + 27*) = E8 (x A2); E7 + 2 x 56 = E8 (x A1).
const ExtensionCase extensions[] = {
    {4, 4, {0, 8, 0, 0}, 2, 4, 1},
    {4, 4, {0, 0, 0, 8}, 2, 4, -1},
    {4, 4, {0, 0, 16, 0}, 4, 5, 0},
    {4, 4, {28, 64, 64, 64}, 5, 8, 0},
    {4, 4, {0, 32, 32, 32}, 5, 7, 0},
    {4, 4, {0, 16, 16, 16}, 5, 6, 0},
    {4, 4, {0, 8, 8, 8}, 5, 4, 0},
    {4, 5, {1, 16, 0, 16}, 5, 6, 0},
    {4, 8, {0, 128, 0, 0}, 5, 8, 1},
    {4, 8, {0, 0, 0, 128}, 5, 8, -1},
    {4, 6, {3, 64, 0, 0}, 5, 7, 1},
    {2, 4, {0, 0, 16}, 5, 4, 0},
    {4, 5, {0, 0, 10, 0}, 2, 5, 0},
    {4, 5, {0, 0, 20, 0}, 4, 6, 0},
    {2, 4, {0, 9, 0}, 4, 5, 0},
    {4, 6, {5, 0, 0, 0}, 4, 6, 1},
    {5, 4, {0, 26}, 5, 6, 0},
    {5, 4, {3, 78}, 5, 7, 0},
    {5, 4, {14, 182}, 5, 8, 0},
    {5, 6, {1, 27, 27}, 5, 7, 0},
    {5, 6, {8, 81, 81}, 5, 8, 0},
    {5, 7, {3, 112}, 5, 8, 0},
    {5, 8, {5}, 5, 8, 0},
};

TEST(Extensions, IdentifiedAlgebras) {
    for (const ExtensionCase& c : extensions) {
        V count = c.count;
        count.resize(4, 0);
        int t = -1, r = -1, chir = -5;
        ASSERT_EQ(Determine_Extension(c.type, c.rank, count.data(), &t, &r, &chir), 0)
            << c.type << "," << c.rank;
        EXPECT_EQ(t, c.extType) << c.type << "," << c.rank;
        EXPECT_EQ(r, c.extRank) << c.type << "," << c.rank;
        EXPECT_EQ(chir, c.chirality) << c.type << "," << c.rank;
    }
}

// The currents found are those that the table of the extension over G holds in its adjoint.
TEST(Extensions, AgreeWithTheTables) {
    for (const ExtensionCase& c : extensions) {
        const Branching* B = makeBranchingTable(c.extType, c.extRank, c.type, c.rank, c.chirality);
        ASSERT_NE(B, nullptr);
        for (int k = 1; k < B->N_H; k++)
            EXPECT_EQ(c.count[static_cast<std::size_t>(k)],
                      repDim(c.type, c.rank, k) * B->Adjoint[k])
                << c.type << "," << c.rank << " class " << k;
    }
}

TEST(Extensions, Failures) {
    const struct {
        int type, rank;
        V count;
        const char* message;
    } cases[] = {{4, 5, {0, 8, 0, 0}, "Unidentified SO(N) extension"},
                 {4, 5, {0, 0, 5, 0}, "Incorrect nr. of vectors"},
                 {1, 3, {0, 0, 0, 0}, "Type 1 is not an orthogonal group"},
                 {5, 5, {0, 0, 0, 0}, "Unknown extension"}};
    for (const auto& c : cases) {
        int t = 11, r = 12, chir = 13;
        Captured cap;
        EXPECT_EQ(Determine_Extension(c.type, c.rank, c.count.data(), &t, &r, &chir), 1);
        EXPECT_TRUE(has(cap.err(), c.message)) << cap.err();
        EXPECT_EQ(t, 11);
    }
}

// ---- String data of a product ----

class StringDataTest : public TensorTest {
protected:
    void SetUp() override {
        TensorTest::SetUp();
        TP->StringData = Heterotic{};
        TP->BranchingTable = nullptr;
    }
    void TearDown() override {
        TP->StringData = Heterotic{};
        TP->BranchingTable = nullptr;
        TensorTest::TearDown();
    }
};

// A D5 lattice with the spinor currents J and J^-1 of a Gepner model: E6 in four dimensions.
TEST_F(StringDataTest, ExtensionToE6) {
    TP->StringData.CovLatEmbedding = makeBranchingTable(4, 5, 4, 5, 1);
    int count[4] = {10, 16, 0, 16};
    Analyse_Extension(TP, nullptr, count);
    const Heterotic& H = TP->StringData;
    EXPECT_EQ(H.error, 0);
    EXPECT_EQ(TP->BranchingTable, makeBranchingTable(5, 6, 4, 5, 0));
    EXPECT_EQ(H.CovLatEmbedding, TP->BranchingTable);
    EXPECT_EQ(H.addim, 45 + 42 - 78);
    EXPECT_EQ(H.Left, nullptr);
    // The states of a 27 and of a 27* in their D5 classes.
    for (int m : {1, 2}) {
        int rep[4] = {2, m == 1 ? 32 : 0, 20, m == 2 ? 32 : 0};
        int G[4] = {};
        EXPECT_EQ(Analyse_Representation(TP, rep, G, 2, 0), 1);
        EXPECT_EQ(V(G, G + 3), m == 1 ? (V{0, 1, 0}) : (V{0, 0, 1}));
    }
    EXPECT_EQ(H.massless[1][1], 1);
    EXPECT_EQ(H.massless[2][2], 1);
    EXPECT_EQ(H.massless[1][2], 0);
}

TEST_F(StringDataTest, CountErrors) {
    TP->StringData.CovLatEmbedding = makeBranchingTable(4, 4, 4, 4, 1);
    // 8 + 8 states of the two spinors give D5 by their number, but D5 holds 16 of one of them.
    int count[4] = {0, 8, 0, 8};
    Captured cap;
    Analyse_Extension(TP, nullptr, count);
    EXPECT_TRUE(has(cap.err(), "Count error")) << cap.err();
    EXPECT_EQ(TP->StringData.error, 1);
}

TEST_F(StringDataTest, UnidentifiedExtension) {
    TP->StringData.CovLatEmbedding = makeBranchingTable(4, 6, 4, 6, 1);
    int count[4] = {0, 8, 0, 0};
    Captured cap;
    Analyse_Extension(TP, nullptr, count);
    EXPECT_EQ(TP->StringData.error, 1);
}

// A created theory with an E6 lattice: its field 1 holds two copies of the 27.
TEST_F(StringDataTest, CountsOfACreatedFactor) {
    SpectrumData* sd = madeUpBlock("E6 string block", {0, 1}, 2, {1, 54});
    Heterotic H{};
    H.CovLatEmbedding = makeBranchingTable(5, 6, 4, 5, 0);
    SM_allocHeterotic(sd, &H);
    int info[8] = {1, 0, 0, 0, 0, 2, 0, 0};
    sd->info = info;
    int count[4] = {5, 0, 0, 0};
    updateRepCount(sd, count, 1, 108);
    sd->info = nullptr;
    EXPECT_EQ(V(count, count + 4), (V{5, 2 * 27 * 2, 0, 0}));
}

// ---- "check branching" ----

TEST(CheckBranching, PrintsTablesThatAddUp) {
    const struct {
        Pair p;
        std::string lines;
    } cases[] = {
        {{5, 8, 4, 4, 1}, "[248] --> [28] + 28 x [1] + 8 x [8] + 8 x [8] + 8 x [8]\n[1] --> [1]\n"},
        {{5, 6, 4, 5, 1},
         "[78] --> [45] + [1] + [16] + [16]\n[1] --> [1]\n"
         "[27] --> [1] + [16] + [10]\n[27] --> [1] + [10] + [16]\n"},
        {{5, 7, 4, 6, 1},
         "[133] --> [66] + 3 x [1] + 2 x [32]\n[1] --> [1]\n"
         "[56] --> 2 x [12] + [32]\n"},
        {{5, 8, 5, 8, 1}, "[248] --> [248] + None\n[1] --> [1]\n"},
    };
    for (const auto& c : cases) {
        Captured cap;
        checkBranchingTable(c.p.gt, c.p.gr, c.p.ht, c.p.hr);
        EXPECT_EQ(cap.out(), c.lines) << name(c.p);
    }
    Captured cap;
    checkBranchingTable(1, 2, 1, 1);
    EXPECT_EQ(cap.out(), "");
    EXPECT_TRUE(has(cap.err(), "Branching not built in")) << cap.err();
}

} // namespace
