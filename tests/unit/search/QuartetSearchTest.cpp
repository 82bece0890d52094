// The quartet search's type list and its statistics file on a fixture context: four orientifolds
// with the sequence numbers 3, 0, 2 and 5, and the current invariant "Invariant_12".
#include "TestSupport.h"

#include "base/Parameters.h"
#include "boundary/CrossBound.h"
#include "modular/Invariants.h"
#include "modular/ModularFileNames.h"
#include "search/ZNX_Quartets.h"
#include "search/ZNX_SearchInternal.h"
#include "search/ZNX_SearchSM.h"
#include "search/ZNX_SearchStat.h"
#include "string/SearchPreselection.h"
#include "string/SearchSetup.h"

#include <gtest/gtest.h>

#include <array>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

namespace {

using Counters = std::array<int, 8>;

std::string fileText(const std::string& name) {
    std::ifstream in(name);
    std::stringstream s;
    s << in.rdbuf();
    return s.str();
}

std::string outputFile(const char* suffix) {
    return getCurrentOutputFileName(suffix);
}

void registerSwitch(const char* name, const char* value) {
    if (!findInternalParameter(name))
        addInternalParameter(name, value, 'i', 0);
}

class QuartetStatistics : public testing::Test {
protected:
    void SetUp() override {
        registerSwitch("SM_search new_search", "0");
        registerSwitch("SM_search pati-salam", "0");
        registerSwitch("SM_search No_frac", "0");
        registerSwitch("SM_search Nfamily", "3");
        registerSwitch("SM_search check_moebius", "1");
        registerSwitch("Tadpole remove_identical", "1");
        registerSwitch("Tadpole info_level", "0");
        registerSwitch("Orientifold info_level", "0");
        initializeZNX_SearchSM();
        setIntPar("SM_search pati-salam", 0);
        current = getCurrentBulk();
        saved = *current;
        bulk.name = "Invariant_12";
        bulk.MD->MIPF_id = 12;
        *current = &bulk;
        const int sequence[] = {3, 0, 2, 5};
        for (int o = 0; o < 4; o++) {
            orientifolds[o].SequenceNumber = sequence[o];
            list[o] = &orientifolds[o];
        }
        context.OI = list.data();
        context.Ori = context.Ori_eff = 4;
        quartet::state().SD = &context;
        quartet::state().OrientifoldStatistics.assign(4 * 160, 0);
        quartet::state().Quartets.clear();
        quartet::state().SolutionCountPerMIPF = 0;
        quartet::state().AbortCount = 0;
        determineQuietly(nullptr);
    }
    void TearDown() override {
        *current = saved;
        quartet::state().SD = nullptr;
        quartet::state().OrientifoldStatistics.clear();
        setOrientifoldPreselection(-1);
        setBoundary_a_Preselection(-1);
    }
    void determineQuietly(int* types) {
        testsupport::outputOf([&] { determineTypeList(types); });
    }
    void count(int o, int type, const Counters& c) {
        for (int k = 0; k < 8; k++)
            for (int n = 0; n < c[k]; n++)
                IncStat(o, type, k, 0);
    }

    // A blank and a quote in the directory reach the shell that moves old files.
    testsupport::TempOutputDir out{"Q/S", "tarvik out'q"};
    BulkInvariant bulk;
    BulkInvariant** current = nullptr;
    BulkInvariant* saved = nullptr;
    std::array<OrientifoldInfo, 4> orientifolds;
    std::array<OrientifoldInfo*, 4> list{};
    SearchData context;
};

TEST_F(QuartetStatistics, TypeLines) {
    struct Entry {
        int ori;
        Counters c;
    };
    struct Case {
        int type;
        std::vector<Entry> entries;
        const char* line;
    };
    const Case cases[] = {
        {7, {{0, {5, 2, 1, 1, 0, 1, 3, 0}}}, "    Type 7:   3:7(5)<2+,1->(1,0,1,0)[3]\n"},
        {1, {{1, {4, 3, 1, 0, 0, 0, 0, 0}}}, "    Type 1:   0:1(4)<3+,1->\n"},
        {0, {{2, {6, 0, 0, 0, 0, 0, 0, 6}}}, "    Type 0:   2:0(6)<0+,0->(0,0,0,6)\n"},
        // Quartets on two orientifolds: two entries, in list order.
        {3,
         {{3, {2, 0, 2, 0, 0, 0, 0, 0}}, {1, {1, 1, 0, 0, 0, 0, 1, 0}}},
         "    Type 3:   0:3(1)<1+,0->[1]  5:3(2)<0+,2->\n"},
    };
    for (const Case& c : cases) {
        std::filesystem::remove(outputFile(".stat"));
        for (const Entry& e : c.entries)
            count(e.ori, c.type, e.c);
        writeStat(c.type);
        EXPECT_EQ(fileText(outputFile(".stat")), c.line) << c.type;
    }
    EXPECT_FALSE(std::filesystem::exists(outputFile(".err")));
}

TEST_F(QuartetStatistics, CountErrorGoesToErrFileAndTheEntryStays) {
    count(0, 7, {4, 2, 1, 1, 0, 1, 3, 0});
    writeStat(7);
    EXPECT_EQ(fileText(outputFile(".err")), "Invariant   12; Count error: ori=3 type=7 (5 != 4)\n");
    EXPECT_EQ(fileText(outputFile(".stat")), "    Type 7:   3:7(4)<2+,1->(1,0,1,0)[3]\n");
}

TEST_F(QuartetStatistics, NoLineWithoutQuartetsOrWithoutNumberedInvariant) {
    writeStat(4);
    EXPECT_FALSE(std::filesystem::exists(outputFile(".stat")));
    count(0, 4, {1, 1, 0, 0, 0, 0, 1, 0});
    bulk.name = "Mine";
    writeStat(4);
    EXPECT_FALSE(std::filesystem::exists(outputFile(".stat")));
}

// With a list of its own the first orientifold is listed even without quartets, once the
// quartet list is empty.
TEST_F(QuartetStatistics, ChosenTypesListTheFirstOrientifold) {
    int types[] = {5, -1};
    determineQuietly(types);
    count(2, 5, {1, 1, 0, 0, 0, 0, 1, 0});
    writeStat(5);
    EXPECT_EQ(fileText(outputFile(".stat")), "    Type 5:   3:5(0)<0+,0->  2:5(1)<1+,0->[1]\n");
}

TEST_F(QuartetStatistics, Closings) {
    struct Case {
        int mode;
        int solutions;
        bool preselected;
        const char* start;
        bool timeLine;
    };
    const Case cases[] = {
        {3, 0, false, "\nToo few usable boundaries\n< Finished; Total time ", true},
        {4, 0, false, "< Finished; Total time ", true},
        {4, 2, false, "< Finished; Total time ", true},
        {5, 1, false, "\nNumber of solutions added: 1 (aborted 2) on ", false},
        {5, 1, true, "\nNumber of solutions added: 1 (partial search) on ", false},
    };
    setStatFileStamp(7.4581, "d", "t");
    for (const Case& c : cases) {
        std::filesystem::remove(outputFile(".stat"));
        quartet::state().SolutionCountPerMIPF = c.solutions;
        quartet::state().AbortCount = 2;
        setOrientifoldPreselection(c.preselected ? 1 : -1);
        closeStatFile(c.mode);
        const std::string text = fileText(outputFile(".stat"));
        EXPECT_EQ(text.rfind(c.start, 0), 0u) << c.mode << "\n" << text;
        EXPECT_EQ(text.find("-----------------------------------------------\nTime: ") !=
                      std::string::npos,
                  c.timeLine)
            << c.mode;
        if (c.mode == 4) {
            EXPECT_EQ(text.find(c.solutions ? "(Version 7.4581); 2 solutions\n"
                                            : "(Version 7.4581)\n") != std::string::npos,
                      true)
                << text;
        }
    }
}

TEST_F(QuartetStatistics, InvariantNumberOfShortNamesIsEmpty) {
    EXPECT_STREQ(quartet::invariantSuffix(&bulk), "12");
    bulk.name = "UNDEFINED";
    EXPECT_STREQ(quartet::invariantSuffix(&bulk), "");
    EXPECT_STREQ(quartet::invariantSuffix(nullptr), "");
}

TEST_F(QuartetStatistics, TypeLists) {
    struct Case {
        std::vector<int> types; // empty: the standard list
        int patiSalam;
        const char* printed;
        int basicOnly;
    };
    const Case cases[] = {
        {{}, 0, "Types considered: 7 6 1 3 5 0 2 4 \n", 0},
        {{}, 1, "Types considered: 7 6 1 3 5 0 2 4 17 16 11 13 15 10 12 14 \n", 0},
        {{3, 5}, 0, "Types considered: 3 5 \n", 0},
        {{7, 6, 1, 0}, 0, "Types considered: 7 6 1 0 \n", 1},
        {{17}, 0, "Types considered: 17 \n", 1},
        {{12}, 0, "Types considered: 12 \n", 0},
    };
    for (const Case& c : cases) {
        setIntPar("SM_search pati-salam", c.patiSalam);
        std::vector<int> list = c.types;
        list.push_back(-1);
        testsupport::Captured cap;
        determineTypeList(c.types.empty() ? nullptr : list.data());
        EXPECT_EQ(cap.out(), c.printed);
        EXPECT_EQ(getBasicTypesOnly(), c.basicOnly) << c.printed;
    }
}

TEST_F(QuartetStatistics, NewSearchMovesOldFilesAside) {
    const char* rotated[] = {".msol", ".glob", ".err", ".att", ".tpi", ".hsol", ".stat"};
    for (const char* suffix : rotated)
        std::ofstream(outputFile(suffix)) << suffix;
    std::ofstream(outputFile(".trace")) << "trace";
    // An unset CPUFREQ is written as unknown.
    const char* cpu = std::getenv("CPUFREQ");
    const std::string savedCpu = cpu ? cpu : "";
    unsetenv("CPUFREQ");
    testsupport::outputOf([] { initStatFile(); });
    if (cpu)
        setenv("CPUFREQ", savedCpu.c_str(), 1);
    for (const char* suffix : rotated)
        EXPECT_EQ(fileText(outputFile(suffix) + std::string("_0")), suffix);
    EXPECT_EQ(fileText(outputFile(".trace")), "trace");
    const std::string header = fileText(outputFile(".stat"));
    EXPECT_EQ(header.rfind("Tensor product: ", 0), 0u) << header;
    EXPECT_NE(header.find("\nCPU: unknown\n"), std::string::npos) << header;
    // No string data: the heterotic summary is absent and its three entries read -1.
    const std::string bulkLine = ">   12     0     0     0   4  -1  -1  -1 > ";
    EXPECT_EQ(header.substr(header.size() - bulkLine.size()), bulkLine) << header;

    testsupport::outputOf([] { initStatFile(); });
    EXPECT_EQ(fileText(outputFile(".stat_1")), header);
    EXPECT_EQ(fileText(outputFile(".stat_0")), ".stat");
    EXPECT_FALSE(std::filesystem::exists(outputFile(".msol")));
}

// Read bosonically the search is refused before it touches a file, its pre-selections freed.
TEST_F(QuartetStatistics, RefusedWhileNotFermionic) {
    registerSwitch("Super", "0");
    setIntPar("Super", 0);
    setIntPar("SM_search new_search", 1);
    setOrientifoldPreselection(0);
    setBoundary_a_Preselection(2);
    testsupport::Captured cap;
    EXPECT_EQ(SearchSM(nullptr), 2);
    EXPECT_NE((cap.out() + cap.err()).find("Not a fermionic string"), std::string::npos);
    EXPECT_TRUE(std::filesystem::is_empty(out.path()));
    EXPECT_EQ(getOrientifoldPreselection(), -1);
    EXPECT_EQ(getBoundary_a_Preselection(), -1);
    setIntPar("SM_search new_search", 0);
}

// A type without quartets says so; the stand-in of the construction builds none.
TEST_F(QuartetStatistics, TypeWithoutQuartetsWritesNoLine) {
    setIntPar("SM_search new_search", 1);
    testsupport::Captured cap;
    analyseStandardModelType(9);
    EXPECT_EQ(cap.out(), "No quartets of type 9\n");
    EXPECT_EQ(getPreferredType(), 9);
    EXPECT_FALSE(std::filesystem::exists(outputFile(".stat")));
    setIntPar("SM_search new_search", 0);
}

} // namespace

// Until the hidden-sector stages exist, every quartet still waiting is closed as aborted, so the
// type's counters stay consistent (counter 0 = the closed ones) and no error file is written.
TEST_F(QuartetStatistics, StandInStagesCloseWaitingQuartetsAsAborted) {
    auto row = [](int ori, int type, int status) {
        quartet::QuartetRow q{};
        q[4] = ori;
        q[5] = type;
        q[quartet::StatusField] = status;
        return q;
    };
    auto& Q = quartet::state().Quartets;
    Q = {row(1, 3, 0), row(1, 3, 2), row(1, 3, 5)};
    count(1, 3, {3, 0, 0, 0, 0, 1, 0, 0});
    std::string text;
    {
        testsupport::Captured cap;
        quartet::analyseQuartets(0, 0);
        quartet::analyseQuartets(1, 0);
        text = cap.out();
    }
    EXPECT_EQ(text, "Hidden-sector stages not built yet\n");
    for (const auto& q : Q)
        EXPECT_EQ(q[quartet::StatusField], 5);
    EXPECT_EQ(getStat(1, 3, 5), 3);
    EXPECT_EQ(getAbortCount(), 2);
    writeStat(3);
    EXPECT_EQ(fileText(outputFile(".stat")), "    Type 3:   0:3(3)<0+,0->(0,0,3,0)\n");
    EXPECT_FALSE(std::filesystem::exists(outputFile(".err")));
}

// The pair tree: a key met again appends to its list; the in-order walk visits the keys by
// decreasing c, and by decreasing orientifold for equal c.
TEST_F(QuartetStatistics, PairTreeKeysWalkedByDecreasingStackThenOrientifold) {
    for (OrientifoldInfo& OI : orientifolds) {
        OI.ConjugatesAvailable = OI.OrientifoldNr;
        OI.Conjugates.reserve(10);
        for (int x = 0; x < 10; x++)
            OI.Conjugates[x] = x ^ 1; // no boundary is its own image
    }
    quartet::freeIntersectionPairs();
    const int adds[][3] = {{4, 1, 7}, {8, 0, 2}, {4, 3, 5}, {2, 2, 9}, {4, 1, 6}, {8, 2, 1}};
    for (const auto& a : adds)
        quartet::AddPairToList(a[0], a[1], a[2]);
    std::vector<std::vector<int>> walk;
    auto visit = [&](auto&& self, const quartet::IntersectionPair* p) -> void {
        if (!p)
            return;
        self(self, p->left.get());
        std::vector<int> v{p->c, p->ori, p->size, p->GroupType};
        v.insert(v.end(), p->a.begin(), p->a.end());
        walk.push_back(v);
        self(self, p->right.get());
    };
    visit(visit, quartet::getPairTree());
    const std::vector<std::vector<int>> expected{
        {8, 2, 1, 0, 1}, {8, 0, 1, 0, 2}, {4, 3, 1, 0, 5}, {4, 1, 2, 0, 7, 6}, {2, 2, 1, 0, 9}};
    EXPECT_EQ(walk, expected);
    quartet::freeIntersectionPairs();
    EXPECT_EQ(quartet::getPairTree(), nullptr);
}
