// The brane chain, its hypercharge and the candidate records of the generic search on the
// hand-made context of GenericSearchFixture.h, whose expected values are worked out by hand:
// with a = 0, b = 2, c = 4, d = 6 the anomaly conditions give N_c = N_d = 1, the hypercharge
// Y = (Q_a - 3 Q_c + 3 Q_d)/6, three quark doublets (2 from (a,b), 1 from (a,b')), three up and
// three down anti-quarks, three lepton doublets and three charged singlets.
#include "GenericSearchFixture.h"
#include "TestSupport.h"

#include "numeric/Sorting.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

namespace {

struct SearchResult {
    std::vector<std::string> lines;
    std::vector<std::vector<int>> records;
    int successLevel = 0;
};

SearchResult runFixture(double fourGamma0, int Nfamily = 3) {
    testsupport::TempDir dir;
    const std::string file = dir.path() + "/fixture.pre_models";
    FILE* pre = std::fopen(file.c_str(), "w");
    ChainFixture fixture(fourGamma0);
    setGenericSearchContext(&fixture);
    GenericSearchSettings& s = genericSearchSettings();
    s = GenericSearchSettings{};
    s.Nfamily = Nfamily;
    startGenericSearchRun(pre);
    SM = SMinfo{};
    searchOrientifold(0, fixture.usableCount());
    std::fclose(pre);
    SearchResult r;
    r.successLevel = genericSearchRun().SuccessLevel;
    genericSearchRun().preModels = nullptr;
    setGenericSearchContext(nullptr);
    std::ifstream in(file);
    for (std::string line; std::getline(in, line);)
        r.lines.push_back(line);
    VectorSpace* records = getGenericSMProfiles();
    for (int k = 0; k < rowCount(records); k++)
        r.records.emplace_back(rowOf(records, k), rowOf(records, k) + 86);
    return r;
}

std::vector<int> slice(const std::vector<int>& v, int from, int count) {
    return {v.begin() + from, v.begin() + from + count};
}

TEST(GenericChain, FixtureGivesOneCandidate) {
    const SearchResult r = runFixture(1.4);
    ASSERT_EQ(r.lines.size(), 1u);
    EXPECT_EQ(r.lines[0], "1 122224 36 0 0 2 4 6 3 2 1 1 1 0");
    ASSERT_EQ(r.records.size(), 1u);
    const std::vector<int>& w = r.records[0];
    EXPECT_EQ(slice(w, 0, 4), (std::vector<int>{0, 0, 0, 0}));
    EXPECT_EQ(slice(w, 4, 4), (std::vector<int>{3, 2, 1, 1}));
    EXPECT_EQ(slice(w, 16, 6), (std::vector<int>{2, -3, 0, 0, -3, 3}));
    EXPECT_EQ(slice(w, 22, 6), (std::vector<int>{1, -3, 0, 0, 0, -3}));
    EXPECT_EQ(slice(w, 28, 4), (std::vector<int>{1, 0, -3, 3}));
    EXPECT_EQ(w[32], 6);
    // Generators of c and d: one block each, eigenvalue 0.
    EXPECT_EQ(slice(w, 33, 4), (std::vector<int>{0, 0, 1, 0}));
    EXPECT_EQ(slice(w, 37, 4), (std::vector<int>{0, 0, 1, 0}));
    EXPECT_EQ(w[47], 2);
    EXPECT_EQ(slice(w, 48, 8), (std::vector<int>{0, 1, -1, 0, 0, 1, 0, -2}));
    EXPECT_EQ(slice(w, 60, 8), (std::vector<int>{0, 1, 2, 3, 4, 5, 6, 7}));
    EXPECT_EQ(slice(w, 74, 2), (std::vector<int>{3, 0}));
    EXPECT_EQ(slice(w, 76, 2), (std::vector<int>{3, 0}));
    EXPECT_EQ(slice(w, 78, 4), (std::vector<int>{3, 3, 0, 0}));
    EXPECT_EQ(slice(w, 82, 3), (std::vector<int>{3, 3, 0}));
}

TEST(GenericChain, LargerTensionAdmitsMoreChains) {
    const SearchResult r = runFixture(4.0);
    std::vector<std::vector<int>> seen;
    for (const std::string& line : r.lines) {
        std::istringstream is(line);
        std::vector<int> v;
        for (int x; is >> x;)
            v.push_back(x);
        ASSERT_EQ(v.size(), 14u);
        seen.push_back({v[4], v[5], v[6], v[7], v[11]});
    }
    // Depth first: for a = 0 the d scan meets d = 0 before d = 6.
    const std::vector<std::vector<int>> expected{
        {0, 2, 4, 0, 3}, {0, 2, 4, 6, 1}, {6, 2, 4, 0, 9}, {6, 2, 4, 6, 3}};
    EXPECT_EQ(seen, expected);
    EXPECT_EQ(r.records.size(), 4u);
}

TEST(GenericChain, SmallTensionStopsAtTheColourStack) {
    const SearchResult r = runFixture(0.4);
    EXPECT_TRUE(r.lines.empty());
    EXPECT_EQ(r.successLevel, 0);
}

TEST(GenericChain, FamilyNumberMustMatch) {
    // Gamma_ab + Delta_ab = 3 for the only weak stack; two families admit no chain.
    EXPECT_TRUE(runFixture(1.4, 2).lines.empty());
    EXPECT_EQ(runFixture(1.4, 0).lines.size(), 1u);
    EXPECT_TRUE(runFixture(1.4, 4).lines.empty());
}

// The traceless generator of a stack x from Gamma(a,x) alone, with Norm 6 and q_a = 1: the
// quark charge 2/3 - (q_a + q_x)/Norm fixes eigenvalue and block sizes.
TEST(GenericChain, TracelessGeneratorFromOneIntersection) {
    struct Case {
        int N, qx, ok;
        std::vector<int> eig, mult;
    };
    const Case cases[] = {
        {1, -3, 1, {0, 0}, {1, 0}}, {2, 0, 1, {3, -3}, {1, 1}}, {1, 1, 0, {}, {}}};
    for (const Case& c : cases) {
        SM = SMinfo{};
        SM.Nbnd = 4;
        SM.Norm = 6;
        SM.coefs[0] = 1;
        SM.coefs[2] = c.qx;
        SM.mults[2] = c.N;
        SM.Gamma[1] = -3;
        int determined = 0, eig[2], mult[2];
        EXPECT_EQ(getTracelessGenerator(2, 1, 3, &determined, eig, mult), c.ok) << c.qx;
        if (c.ok) {
            EXPECT_EQ(std::vector<int>(eig, eig + 2), c.eig);
            EXPECT_EQ(std::vector<int>(mult, mult + 2), c.mult);
        }
    }
}

} // namespace
