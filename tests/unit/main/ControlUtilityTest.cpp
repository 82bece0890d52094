#include "main/ControlUtility.h"

#include "main/MainTestHelpers.h"

#include "boundary/CrossBound.h"
#include "commands/Commands.h"
#include "commands/CommandsInvariants.h"
#include "lie/Tarvik.h"
#include "modular/Invariants.h"
#include "modular/Modular.h"
#include "store/Storemanager.h"
#include "string/Tadpole.h"

#include "base/Defaults.h"
#include "base/Error.h"
#include "base/Memory.h"
#include "base/Output.h"
#include "base/Parameters.h"
#include "base/SystemUtility.h"
#include "base/Tables.h"
#include "interpreter/Interpreter.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <unistd.h>
#include <vector>

namespace fs = std::filesystem;

namespace {

using maintest::freshDirectory;
using maintest::readFile;
using maintest::startUp;

std::string homeDir() {
    return std::getenv("HOME");
}

class ControlUtility : public ::testing::Test {
protected:
    void SetUp() override { startUp(); }
};

// ------------------------------------------------------------ start-up

TEST_F(ControlUtility, StartUpMakesTheTrivialBlockCurrent) {
    EXPECT_EQ(getCurrentSD(), SM_getData(1, 0, 0));
    ASSERT_NE(getCurrentSD(), nullptr);
    EXPECT_EQ(getTotalPrimaries(), 1); // the vacuum alone
    EXPECT_EQ(getCosetMode(), 0);
    EXPECT_STREQ(getProgName(), "Tarvik");
}

// The facade's orientifold questions reach the boundary layer once start-up is done.
TEST_F(ControlUtility, StartUpHandsTheOrientifoldToTheBoundaryLayer) {
    EXPECT_EQ(QueryOrientifold(), crossbound::QueryOrientifold());
    const int before = QueryOrientifold();
    resetOrientifold();
    EXPECT_GT(crossbound::QueryOrientifold(), before);
    ASSERT_NE(getCurrentOrientifold(), nullptr) << "the user's record";
    EXPECT_EQ(getCurrentOrientifold()->ModInvNr, QueryBulkInvariant());
}

TEST_F(ControlUtility, StartUpCreatesTheDefaultsAndLogDirectories) {
    EXPECT_TRUE(fs::is_directory(homeDir() + "/.Defaults"));
    EXPECT_TRUE(fs::is_directory(homeDir() + "/Logs"));
    EXPECT_STREQ(getDefaultFile(), (homeDir() + "/.Defaults/Tarvik6").c_str());
}

TEST_F(ControlUtility, SecondSetUpChangesNothing) {
    int tables = 0;
    while (findTableN(tables))
        ++tables;
    InternalParameter* maxrank = findInternalParameter("Maxrank");
    setIntPar("Maxrank", 17);
    initializeAll();
    int after = 0;
    while (findTableN(after))
        ++after;
    EXPECT_EQ(after, tables);
    EXPECT_EQ(findInternalParameter("Maxrank"), maxrank);
    EXPECT_EQ(maxrank->value, 17);
    setIntPar("Maxrank", 20);
}

TEST_F(ControlUtility, CosetModeIsStoredUnchanged) {
    setCosetMode(1);
    EXPECT_EQ(getCosetMode(), 1);
    setCosetMode(0);
    EXPECT_EQ(getCosetMode(), 0);
}

TEST_F(ControlUtility, BuiltInDefaultsAndWhatTheyGiveAfterStartUp) {
    EXPECT_STREQ(getDefault("TarvikPath"), "Library/Tarvik");
    EXPECT_STREQ(getDefault("Keep S in Memory"), "Yes");
    EXPECT_STREQ(getDefault("Write S to Disk"), "No");
    EXPECT_STREQ(getDefault("SeverityMask"), "110000");
    EXPECT_STREQ(getDefault("MaximalLevel"), "50");
    EXPECT_EQ(std::string(tarvik_pathname), homeDir() + "/Library/Tarvik");
    EXPECT_EQ(MAXLEVEL, 50);
    EXPECT_STREQ(getSeverity_Error(), "110000");
}

TEST_F(ControlUtility, NamedWorkAreasExistEmptyWithTheirIncrements) {
    struct Area {
        const char* name;
        char type;
        int increment;
    };
    const Area areas[] = {
        {"ModText", 'c', 50000},        {"RootSystem", 'i', 100},       {"GaloisGroup", 'i', 300},
        {"GaloisDependence", 'i', 900}, {"GaloisSolutions", 'i', 1000}, {"GaloisOrbits", 'i', 5000},
        {"GaloisEqn", 'i', 60},         {"GaloisEquations", 'i', 900},  {"CollectEqn", 'i', 30},
        {"Bounds", 'i', 30000},         {"ModularInvariant", 'i', 2000}};
    for (const Area& a : areas) {
        MemoryType* m = findMemory(a.name);
        ASSERT_NE(m, nullptr) << a.name;
        EXPECT_EQ(m->Type, a.type) << a.name;
        EXPECT_EQ(m->Increment, a.increment) << a.name;
    }
}

// ------------------------------------------------------------ parameters

struct ExpectedParameter {
    const char* name;
    char type; // 't' switch, 'i' integer, 's' text
    const char* value;
    int saved;
};

// The application's parameters as the user sees them after a start without a defaults file.
const ExpectedParameter applicationParameters[] = {
    {"Tadpole info_level", 'i', "0", 1},
    {"old_algorithm", 't', "OFF", 0},
    {"Heterotic factors", 'i', "1", 0},
    {"Particle factors", 'i', "1", 0},
    {"MIPF random", 'i', "0", 0},
    {"Moebius security_level", 'i', "0", 1},
    {"Maxrank", 'i', "20", 1},
    {"Maxperm", 'i', "100000", 1},
    {"Maxcurrent", 'i', "1000", 1},
    {"Max_primaries", 'i', "2000000000", 1},
    {"High_precision", 't', "OFF", 1},
    {"Dimension", 'i', "0", 0},
    {"Graded", 't', "OFF", 0},
    {"Super", 't', "OFF", 0},
    {"Trace_resolution", 't', "OFF", 0},
    {"S_matrix maxsize", 'i', "400", 1},
    {"S_matrix maxdisk", 'i', "2000", 1},
    {"Use_orbits", 'i', "2", 1},
    {"Store_S", 't', "ON", 1},
    {"NIMrep Max_row", 'i', "100000", 1},
    {"Invariant max_display", 'i', "100", 1},
    {"Tadpole unitary_groups_only", 't', "OFF", 0},
    {"Tadpole orthogonal_groups_only", 't', "OFF", 0},
    {"Tadpole symplectic_groups_only", 't', "OFF", 0},
    {"Tadpole real_groups_only", 't', "OFF", 0},
    {"Tadpole require_confinement", 't', "OFF", 0},
    {"Tadpole allow_OH_matter", 'i', "3", 0},
    {"Tadpole remove_identical", 't', "ON", 0},
    {"Tadpole allow_tachyons", 't', "OFF", 0},
    {"Fusion sumcheck", 't', "OFF", 0},
    {"Tadpole show_spectrum", 't', "OFF", 0},
    {"Tadpole detailed_spectrum", 't', "OFF", 0},
    {"String_spectra info_level", 'i', "0", 0},
    {"Tadpole check_solution", 't', "OFF", 0},
    {"Tadpole show_solution", 't', "OFF", 0},
    {"Tadpole completeness", 'i', "2", 0},
    {"Tadpole max_iter", 'i', "0", 0},
    {"Tadpole maxconf", 'i', "1000", 1},
    {"SM_search check_moebius", 't', "ON", 0},
    {"SM_search new_search", 't', "OFF", 0},
    {"SM_search pati-salam", 't', "OFF", 0},
    {"SM_search info_level", 'i', "0", 0},
    {"SM_search maxconf", 'i', "1000000000", 0},
    {"Invariant info_level", 'i', "0", 0},
    {"Orientifold info_level", 'i', "0", 0},
    {"Create show_info", 't', "OFF", 0},
    {"Selection automorphism", 't', "OFF", 0},
    {"Selection symmetric", 't', "OFF", 0},
    {"Selection extension", 't', "OFF", 0},
    {"Orientifold", 't', "ON", 0},
    {"Boundary_search capacity", 'i', "1", 0},
    {"Boundary_search use_all_sets", 't', "OFF", 0},
    {"Boundary_search info_level", 'i', "0", 0},
    {"Invariant statistics", 't', "OFF", 0},
    {"Autostore", 't', "OFF", 1},
    {"Reject permutations", 't', "ON", 0},
    {"Reject info", 't', "OFF", 0},
    {"loop start", 'i', "0", 0},
    {"loop end", 'i', "2000000000", 0},
    {"Init_debug", 't', "OFF", 0},
    {"OutputFilePrefix", 's', "N", 1},
    {"OutputFilePostfix", 's', "", 1},
    {"OutputDir", 's', "HOME", 1},
    {"ModelDir", 's', ".", 1},
    {"SM_search Nfamily", 'i', "3", 0},
    {"SM_search No_frac", 't', "OFF", 0},
    {"ZNX_VERSION", 't', "OFF", 0},
};

std::string valueText(const InternalParameter* ip) {
    if (ip->type == 's')
        return ip->DF && ip->DF->value ? ip->DF->value : "<none>";
    if (ip->type == 't')
        return ip->value == 1 ? "ON" : ip->value == 0 ? "OFF" : "Undefined";
    return std::to_string(ip->value);
}

TEST_F(ControlUtility, AllApplicationParametersHaveTheirDefaults) {
    EXPECT_EQ(std::size(applicationParameters), 67u);
    for (const ExpectedParameter& p : applicationParameters) {
        InternalParameter* ip = findInternalParameter(p.name);
        ASSERT_NE(ip, nullptr) << p.name;
        EXPECT_EQ(ip->type, p.type) << p.name;
        EXPECT_EQ(valueText(ip), p.value) << p.name;
        EXPECT_EQ(ip->default_exists, p.saved) << p.name;
        EXPECT_EQ(ip->DF != nullptr, p.saved == 1) << p.name;
    }
}

TEST_F(ControlUtility, LogSwitchesAreKeptInTheDefaultsFile) {
    for (const char* name : {"log", "error_log"}) {
        InternalParameter* ip = findInternalParameter(name);
        ASSERT_NE(ip, nullptr) << name;
        EXPECT_EQ(ip->type, 't');
        EXPECT_EQ(ip->value, 0);
        EXPECT_EQ(ip->default_exists, 1);
    }
}

TEST_F(ControlUtility, ChangeActionsGoWhereTheyBelong) {
    for (const ExpectedParameter& p : applicationParameters) {
        DFACT expected = nullptr;
        if (!std::strcmp(p.name, "Graded") || !std::strcmp(p.name, "Use_orbits"))
            expected = disableModularVerbose;
        else if (!std::strcmp(p.name, "Orientifold"))
            expected = resetBoundaries;
        EXPECT_EQ(findInternalParameter(p.name)->default_action, expected) << p.name;
    }
}

CommandType* command(const char* words) {
    return matchComKey(words);
}

TEST_F(ControlUtility, ParameterCommandsCarryTheirHooksAndHelp) {
    struct Hooked {
        const char* words;
        POSTCOM hook;
    };
    const Hooked hooked[] = {
        {"set tadpole completeness", tadpoleSearchParametersChanged},
        {"show tadpole max_iter", tadpoleSearchParametersChanged},
        {"set tadpole allow_tachyons", BoundarySelectionCriteriaChanged},
        {"set tadpole allow_oh_matter", BoundarySelectionCriteriaChanged},
        {"set orientifold", bulkInvariantChanged},
        {"set reject permutations", permutationRejectionChanged},
        {"set maxrank", nullptr},
        {"show init_debug", nullptr},
    };
    for (const Hooked& h : hooked) {
        CommandType* ct = command(h.words);
        ASSERT_NE(ct, nullptr) << h.words;
        EXPECT_EQ(ct->post_exec, h.hook) << h.words;
    }
    EXPECT_EQ(command("set maxrank")->helpexec, HLP_maxrank);
    EXPECT_EQ(command("set dimension")->helpexec, HLP_space_dim);
    EXPECT_EQ(command("set graded")->helpexec, HLP_graded);
    EXPECT_EQ(command("set super")->helpexec, HLP_super);
    EXPECT_EQ(command("set use_orbits")->helpexec, HLP_use_orbits);
}

// The word at one level of the command tree, or null.
CommandType* keywordAt(CommandType* level, const char* word) {
    while (level) {
        int c = std::strcmp(word, level->command);
        if (c == 0)
            return level;
        level = c > 0 ? level->left : level->right;
    }
    return nullptr;
}

// The internal switch "Selection automorphism" gets no parameter command: "set selection
// automorphism" is the command set's, which takes required pairings.
TEST_F(ControlUtility, SelectionAutomorphismIsTheCommandSetsCommand) {
    CommandType* selection = keywordAt(command("set")->keywords, "selection");
    ASSERT_NE(selection, nullptr); // "set selection symmetric" and "set selection extension"
    EXPECT_NE(keywordAt(selection->keywords, "symmetric"), nullptr);
    CommandType* automorphism = keywordAt(selection->keywords, "automorphism");
    ASSERT_NE(automorphism, nullptr);
    EXPECT_EQ(automorphism->exec, COM_sel_auto);
}

// ------------------------------------------------------------ tables

struct ExpectedColumn {
    const char* header;
    int printPref;
    char adjust;
};

void expectColumns(const char* table, const std::vector<ExpectedColumn>& expected) {
    TableData* td = findTable(table);
    ASSERT_NE(td, nullptr) << table;
    std::size_t i = 0;
    for (; td->cols[i]; ++i) {
        ASSERT_LT(i, expected.size()) << table;
        EXPECT_STREQ(td->cols[i]->name, expected[i].header) << table;
        EXPECT_EQ(td->cols[i]->printPref, expected[i].printPref) << expected[i].header;
        EXPECT_EQ(td->cols[i]->adjust, expected[i].adjust) << expected[i].header;
    }
    EXPECT_EQ(i, expected.size()) << table;
}

TEST_F(ControlUtility, SpectrumTablesHaveTheirColumnsInOrder) {
    expectColumns("Spectrum", {{"Label", 1, 'R'},
                               {"Ground state", 1, 'L'},
                               {"Tensor label", 0, 'R'},
                               {"Weights", 1, 'L'},
                               {"Rational weights", 1, 'L'},
                               {"Dimensions", 0, 'R'},
                               {"Conjugate", 0, 'R'},
                               {"Bulk invariant", 0, 'R'},
                               {"Contents", 0, 'L'},
                               {"Charges", 0, 'L'},
                               {"Grade sector", 0, 'L'},
                               {"Grade multiplet", 0, 'R'},
                               {"Orbit base", 0, 'L'},
                               {"Orbit position", 0, 'L'},
                               {"Orbit label", 0, 'L'},
                               {"Stabilizer", 0, 'L'},
                               {"Q_dims", 0, 'R'},
                               {"Casimirs", 0, 'L'},
                               {"Modular anomaly", 0, 'L'}});
    expectColumns("TensorSpectrum", {{"Label", 1, 'R'},
                                     {"Combination", 1, 'L'},
                                     {"Weights", 1, 'L'},
                                     {"Rational weights", 1, 'L'},
                                     {"Dimensions", 0, 'R'},
                                     {"Contents", 0, 'L'},
                                     {"FP label", 1, 'L'},
                                     {"FP mult", 1, 'L'},
                                     {"Conjugate", 0, 'R'},
                                     {"Bulk invariant", 0, 'R'},
                                     {"Decomposition", 1, 'L'}});
    expectColumns("Decomposition",
                  {{"Labels", 1, 'L'}, {"Weights", 1, 'L'}, {"Dimensions", 1, 'R'}});
    expectColumns("Lorentz",
                  {{"Notation", 1, 'L'}, {"Interpretation", 1, 'L'}, {"D.O.F.", 1, 'L'}});
    EXPECT_NE(findTable("Table_of_tables"), nullptr);
    EXPECT_NE(findTable("TableInfo"), nullptr);
}

TEST_F(ControlUtility, ShorterHeadersAreKept) {
    ColumnData* col = findColumn(findTable("Spectrum"), "Ground state");
    ASSERT_NE(col, nullptr);
    ASSERT_NE(col->alt_hdrs[0], nullptr);
    EXPECT_STREQ(col->alt_hdrs[0], "Grnd. St.");
    EXPECT_STREQ(col->alt_hdrs[1], "Grnd.");
    EXPECT_EQ(col->alt_hdrs[2], nullptr);
}

TEST_F(ControlUtility, AlgebrasTableListsTheTrivialBlock) {
    const std::string text = sprintTable("Algebras", 0, 1, 0, 0, getCurrentSD());
    EXPECT_NE(text.find(getCurrentSD()->AlgebraName), std::string::npos) << text;
    EXPECT_NE(text.find(" 1"), std::string::npos) << text; // one primary
}

TEST_F(ControlUtility, SpectrumOfTheStartBlockShowsItsOneField) {
    // The block (1,0,0) has the vacuum alone: rows of labels past it are dropped.
    const std::string text = sprintTable("Spectrum", 0, 3, 0, 0, getCurrentSD());
    EXPECT_EQ(std::count(text.begin(), text.end(), '\n'), 1) << text;
    EXPECT_EQ(text.find('2'), std::string::npos) << text;
}

TEST_F(ControlUtility, FieldLabelsAreClampedToTheCurrentBlock) {
    SpectrumData* saved = getCurrentSD();
    int primaries = 10;
    setCurrentTotals(&primaries, nullptr);
    EXPECT_EQ(checkFieldLimits(-3), 0);
    EXPECT_EQ(checkFieldLimits(0), 0);
    EXPECT_EQ(checkFieldLimits(4), 4);
    EXPECT_EQ(checkFieldLimits(9), 9);
    EXPECT_EQ(checkFieldLimits(10), 9);
    EXPECT_EQ(checkFieldLimits(1000), 9);
    setCurrentSD(saved);
    EXPECT_EQ(checkFieldLimits(5), 0); // the trivial block has the vacuum alone
}

TEST_F(ControlUtility, SpectrumHeaderFollowsTheCosetSwitch) {
    char text[] = "rows";
    FILE* out = std::tmpfile();
    ASSERT_NE(out, nullptr);
    writeSpectrum(out, text, getCurrentSD(), 0);
    writeSpectrum(out, text, getCurrentSD(), 1);
    std::rewind(out);
    char buffer[512] = {};
    std::size_t n = std::fread(buffer, 1, sizeof buffer - 1, out);
    std::fclose(out);
    EXPECT_EQ(std::string(buffer, n), "Spectrum of " + std::string(getCurrentSD()->AlgebraName) +
                                          "\n\nrows" +
                                          "Spectrum of the tensor product of \n\nrows");
}

TEST_F(ControlUtility, AlgebraAllocationIsTheStoreTotal) {
    EXPECT_EQ(TarvikAllocation(0), SM_getTotalAlloc());
}

// ------------------------------------------------------------ pause points

// ------------------------------------------------------------ saved preferences

// A home directory shared by the parent and the children that it starts again from scratch.
std::string restartHome() {
    if (!std::getenv("TARVIK_RESTART_HOME"))
        setenv("TARVIK_RESTART_HOME", freshDirectory().c_str(), 1);
    return std::getenv("TARVIK_RESTART_HOME");
}

void firstRunSavesPreferences(const std::string& home) {
    setenv("HOME", home.c_str(), 1);
    initializeAll();
    setIntPar("Maxrank", 12);
    setIntPar("Autostore", 1);
    setIntPar("Tadpole info_level", 4);
    setIntPar("Super", 1); // not kept
    changeDefault(findInternalParameter("OutputDir")->DF, "/data/out");
    MAXLEVEL = 60;
    setSeverity_Error("111000");
    savePreferences();
    std::exit(0);
}

// Exit code 0 when every saved value came back, else the number of the first that did not.
void secondRunReadsThem(const std::string& home) {
    setenv("HOME", home.c_str(), 1);
    initializeAll();
    const bool ok[] = {
        findInternalParameter("Maxrank")->value == 12,
        maxRank(1) == 12,
        findInternalParameter("Autostore")->value == 1,
        findInternalParameter("Tadpole info_level")->value == 4,
        findInternalParameter("Super")->value == 0,
        std::strcmp(getOutputDir(), "/data/out/") == 0,
        MAXLEVEL == 60,
        std::strcmp(getSeverity_Error(), "111000") == 0,
        std::string(tarvik_pathname) == home + "/Library/Tarvik",
    };
    for (std::size_t i = 0; i < std::size(ok); ++i)
        if (!ok[i])
            std::exit(static_cast<int>(i) + 1);
    std::exit(0);
}

TEST(ControlUtilityRestart, SavedPreferencesComeBackAfterARestart) {
    GTEST_FLAG_SET(death_test_style, "threadsafe");
    const std::string home = restartHome();
    EXPECT_EXIT(firstRunSavesPreferences(home), testing::ExitedWithCode(0), "");
    const std::string saved = readFile(home + "/.Defaults/Tarvik6");
    EXPECT_NE(saved.find("\"Maxrank\" \"12\""), std::string::npos) << saved;
    EXPECT_NE(saved.find("\"MaximalLevel\" \"60\""), std::string::npos) << saved;
    EXPECT_NE(saved.find("\"TarvikPath\" \"Library/Tarvik\""), std::string::npos) << saved;
    EXPECT_EQ(saved.find("Super"), std::string::npos) << saved;
    EXPECT_EXIT(secondRunReadsThem(home), testing::ExitedWithCode(0), "");
    fs::remove_all(home);
}

} // namespace
