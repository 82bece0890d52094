// The solver with sign-flip files: which files a run keeps, how a file of one rank fixes signs of
// another, and signs fixed by hand.
#include "SignFileTestHelpers.h"

#include <filesystem>

using namespace fusingtest;

namespace {

class SolverFiles : public SignFileTest {
protected:
    // One solver run with the labels below the block's bound; what it printed.
    static std::string solve(int& result) {
        return printed([&] { result = findFusingMatrices(1); });
    }
    std::string path(const std::string& name) const { return dir.path() + "/" + name; }
    bool exists(const std::string& name) const { return std::filesystem::exists(path(name)); }
    static int freeUnknowns() { return PentagonVariables.Nfill - PolyNom->equations(); }
};

// Rank 2 is fully determined: one file. Rank 3 has one free sign: two files. Rank 5 has two:
// of its four choices the two that flip the second free sign give records of type "Phi1:abc"
// whose parity equations contradict each other, and their files are removed.
TEST_F(SolverFiles, FilesKeptPerRank) {
    struct Case {
        int N;
        std::vector<bool> kept;
    };
    for (const Case& c : {Case{2, {true, false}}, Case{3, {true, true, false}},
                          Case{5, {true, true, false, false, false}}}) {
        SCOPED_TRACE(c.N);
        useOrbifold(c.N);
        const std::string stem = "r" + std::to_string(c.N);
        setFlippedVarInputFile(path(stem).c_str());
        int result = 0;
        const std::string out = solve(result);
        EXPECT_EQ(result, 1);
        for (std::size_t k = 0; k < c.kept.size(); k++)
            EXPECT_EQ(exists(stem + std::to_string(k)), c.kept[k]) << k;
        EXPECT_EQ(countOf(out, "EQUATIONS INCONSISTENT"), c.N == 5 ? 2 : 0);
        if (c.N == 5) {
            EXPECT_NE(out.find("Results for type Phi1:abc\n"), std::string::npos);
        }
    }
    // Nothing but the kept files is left in the directory.
    int entries = 0;
    for (const auto& e : std::filesystem::directory_iterator(dir.path()))
        entries += e.is_regular_file();
    EXPECT_EQ(entries, 5);
}

// The signs found at rank 3 fix, at rank 7 (same class l), one of the two signs the equations
// leave free, without contradiction.
TEST_F(SolverFiles, SignsOfOneRankFixAnother) {
    useOrbifold(3);
    setFlippedVarInputFile(path("three").c_str());
    int result = 0;
    solve(result);
    ASSERT_TRUE(exists("three0"));
    useOrbifold(7);
    setFlippedVarInputFile("begin");
    solve(result);
    EXPECT_EQ(freeUnknowns(), 2);
    setFlippedVarInputFile(path("three0").c_str());
    const std::string out = solve(result);
    EXPECT_EQ(result, 1);
    EXPECT_EQ(countOf(out, "Finished reading\n"), 1);
    EXPECT_EQ(out.find("No solution"), std::string::npos);
    EXPECT_EQ(freeUnknowns(), 1);
    EXPECT_TRUE(exists("three00"));
}

// Fixing the free sign of rank 3 by hand leaves nothing free in the next run; "Initialize"
// brings it back.
TEST_F(SolverFiles, HandFixedInputVariable) {
    useOrbifold(3);
    setFlippedVarInputFile(path("hand").c_str());
    int result = 0;
    solve(result);
    ASSERT_EQ(freeUnknowns(), 1);
    int free = 0;
    while (PolyNom->pivotOf(free) >= 0)
        free++;
    const std::array<int, 6> labels = {rowAt(free)[0], rowAt(free)[1], rowAt(free)[2],
                                       rowAt(free)[3], rowAt(free)[4], rowAt(free)[5]};
    addFixedVariables(labels.data());
    const std::string out = solve(result);
    EXPECT_NE(out.find("Fusing matrices fully determined\n"), std::string::npos);
    EXPECT_NE(out.find("Manually fixed  ("), std::string::npos);
    EXPECT_EQ(freeUnknowns(), 0);
    initializeFixVars();
    EXPECT_EQ(solve(result).find("Manually fixed"), std::string::npos);
    EXPECT_EQ(freeUnknowns(), 1);
}

} // namespace
