// Registration of command families through the one table, the modes and their switches. Six
// families are handed over, each complete, with handlers that record what ran; the command tree
// is global, so they are registered once per process.
#include "CommandsTestHelpers.h"

#include "base/Output.h"
#include "boundary/CrossBound.h"
#include "interpreter/IntCommands.h"
#include "interpreter/Interpreter.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

using namespace cmdtest;

namespace {

std::vector<std::string> ran;

int record(void** params, int parnum) {
    std::string call = "ran";
    for (int i = 0; i < parnum; ++i)
        call += " " + std::to_string(*static_cast<int*>(params[i]));
    ran.push_back(call);
    return -parnum;
}

std::vector<CommandDefinition> definitions(std::vector<const char*> words) {
    // Handed over in another order than the table's, which alone fixes the order.
    std::reverse(words.begin(), words.end());
    std::vector<CommandDefinition> defs;
    for (const char* w : words)
        defs.push_back({w, "", record, "Test command."});
    return defs;
}

// The complete families, in the order in which their commands stand in the table.
const std::vector<const char*> fusingWords = {"Initialize"};
const std::vector<const char*> lieWords = {
    "browse Cartan",      "get fp_fusion",     "get fcft_shift",
    "check classes",      "Weyl reflection",   "Weyl orbit",
    "Weyl Parity Orbits", "Weyl Group",        "Weyl Order",
    "Weyl Multiply",      "Compute Gauss_sum", "Compute Gauss_sum Orbits",
    "browse twists",      "browse etatwists",  "expand"};
const std::vector<const char*> browseWords = {
    "check branching",     "browse susy",           "browse Lorentz",
    "Browse permutations", "browse chiral_algebra", "browse decomposition",
    "browse groundstate",  "browse stabilizer",     "browse Lie",
    "browse CFT"};
const std::vector<const char*> modularWords = {"s",
                                               "pmatrix",
                                               "fusion",
                                               "simple_fusion",
                                               "benchmark fusion",
                                               "pfusion",
                                               "check fusion",
                                               "compute S_sum",
                                               "get schur",
                                               "get g_schur",
                                               "get order",
                                               "get weight",
                                               "get charge",
                                               "get twist",
                                               "get conjugate",
                                               "Compute S_analytic",
                                               "get S_fix",
                                               "get S_ola",
                                               "get permutation",
                                               "compute permutations"};
const std::vector<const char*> searchWords = {"scan instanton",     "set instanton intersection",
                                              "scan tadpoles",      "browse standard_model",
                                              "search non_susy_sm", "search sm_solution",
                                              "search generic_sm",  "search standard_model"};
const std::vector<const char*> orientifoldWords = {"cancellableTachyon",
                                                   "Total Orientifolds",
                                                   "Total All_orientifolds",
                                                   "browse current Orientifold",
                                                   "browse Orientifolds",
                                                   "identify Orientifold",
                                                   "search Moebius",
                                                   "search crosscap",
                                                   "set kleinbottle",
                                                   "select klein",
                                                   "select klein nr",
                                                   "select boundary_set",
                                                   "search Klein_bottle",
                                                   "search Klein_bottle kbc",
                                                   "search Klein_bottle trace",
                                                   "search Klein_bottle all",
                                                   "reset Orientifold",
                                                   "set crosscap_signs",
                                                   "compute boundary permutations",
                                                   "collect orientifolds",
                                                   "select orientifold",
                                                   "check susy_locality"};

std::vector<CommandDefinition> fusingDefs, lieDefs, browseDefs, modularDefs, searchDefs,
    orientifoldDefs;

// A modular command that converts its two field labels.
const CommandDefinition fieldCommand{"s", "(field i)(field j)", record, "S matrix."};

// The general argument types the fusing commands of test builds take.
void registerCountType() {
    getConversion("non_neg_int",
                  makeConversionMethod(CONV_ExpressionToNat0, 'i', "Non-negative integer"));
    getConversion("int", makeConversionMethod(CONV_ExpressionToInt, 'i', "Integer"));
    getConversion("id", makeConversionMethod(nullptr, 'c', "String"));
}

void registerOnce() {
    static bool done = false;
    if (done)
        return;
    done = true;
    if (!getDefaultMode())
        makeDefaultMode();
    registerCountType();
    fusingDefs = definitions(fusingWords);
    lieDefs = definitions(lieWords);
    browseDefs = definitions(browseWords);
    modularDefs = definitions(modularWords);
    for (CommandDefinition& def : modularDefs)
        if (std::string(def.words) == "s")
            def = fieldCommand;
    searchDefs = definitions(searchWords);
    orientifoldDefs = definitions(orientifoldWords);
    addCommandFamily(CommandFamily::Fusing, fusingDefs);
    addCommandFamily(CommandFamily::Lie, lieDefs);
    addCommandFamily(CommandFamily::Browse, browseDefs);
    addCommandFamily(CommandFamily::ModularData, modularDefs);
    addCommandFamily(CommandFamily::Search, searchDefs);
    addCommandFamily(CommandFamily::Orientifold, orientifoldDefs);
    Captured quiet;
    registerApplicationCommands();
    EXPECT_EQ(quiet.err(), "") << "registration of complete families reports nothing";
}

class CommandsTest : public testing::Test {
protected:
    void SetUp() override {
        registerOnce();
        installTheory();
        flushErrors();
        unbufferErrors();
        setBreakParameter(0);
        ran.clear();
        Captured quiet;
        disableCoset();
    }
    void TearDown() override { withdrawTheory(); }
    static int run(const char* line) { return composeCommandLine(line); }
    static CommandType* node(const char* words) { return matchComKey(words); }
};

TEST_F(CommandsTest, RegistrationFollowsTheTableModeByMode) {
    const std::vector<std::string> expected = {
        // Default
        "cancellableTachyon", "Total Orientifolds", "Total All_orientifolds", "scan instanton",
        "set instanton intersection", "scan tadpoles", "check branching", "browse susy",
        "browse Lorentz", "Browse permutations", "browse standard_model", "Initialize",
        // SingleAlgebra
        "browse Cartan", "get fp_fusion", "get fcft_shift", "check classes", "Weyl reflection",
        "Weyl orbit", "Weyl Parity Orbits", "Weyl Group", "Weyl Order", "Weyl Multiply",
        "Compute Gauss_sum", "Compute Gauss_sum Orbits", "browse twists", "browse etatwists",
        // Tensor
        "browse chiral_algebra", "browse decomposition", "browse groundstate",
        // Modular
        "search non_susy_sm", "s", "pmatrix", "fusion", "simple_fusion", "benchmark fusion",
        "pfusion", "check fusion", "compute S_sum", "get schur", "get g_schur", "get order",
        "get weight", "get charge", "get twist", "get conjugate", "browse stabilizer", "browse Lie",
        "browse CFT", "expand", "Compute S_analytic", "get S_fix", "get S_ola", "get permutation",
        "compute permutations",
        // Boundary
        "browse current Orientifold", "browse Orientifolds", "identify Orientifold",
        "search Moebius", "search crosscap", "set kleinbottle", "select klein", "select klein nr",
        "select boundary_set", "search Klein_bottle", "search Klein_bottle kbc",
        "search Klein_bottle trace", "search Klein_bottle all", "reset Orientifold",
        "set crosscap_signs", "compute boundary permutations", "search sm_solution",
        "search generic_sm", "search standard_model", "collect orientifolds", "select orientifold",
        "check susy_locality"};
    std::span<const char* const> got = registeredApplicationCommands();
    EXPECT_EQ(std::vector<std::string>(got.begin(), got.end()), expected);
}

TEST_F(CommandsTest, EachCommandHasTheModeAndHookOfItsRow) {
    struct Row {
        const char* words;
        ModeType* mode;
        PRECOM hook;
    };
    for (const Row& r :
         {Row{"initialize", getDefaultMode(), nullptr},
          Row{"total orientifolds", getDefaultMode(), nullptr},
          Row{"weyl order", SingleAlgebraMode, nullptr},
          Row{"browse decomposition", TensorMode, nullptr}, Row{"s", ModularMode, nullptr},
          Row{"expand", ModularMode, nullptr},
          Row{"browse current orientifold", BoundaryMode, initializeOrientedOpenString},
          Row{"identify orientifold", BoundaryMode, initializeOrientedOpenString},
          Row{"search moebius", BoundaryMode, initializeOpenString},
          Row{"check susy_locality", BoundaryMode, initializeOpenString},
          Row{"search standard_model", BoundaryMode, initializeOpenString}}) {
        CommandType* ct = node(r.words);
        ASSERT_NE(ct, nullptr) << r.words;
        EXPECT_EQ(ct->mode, r.mode) << r.words;
        EXPECT_EQ(ct->pre_exec, r.hook) << r.words;
    }
}

TEST_F(CommandsTest, OnlyHandedOverFamiliesAreRegistered) {
    Captured cap;
    EXPECT_EQ(node("status"), nullptr);
    EXPECT_EQ(node("h"), nullptr);
    EXPECT_EQ(node("algebra"), nullptr);
    EXPECT_EQ(run("status"), NoCommandMatches);
}

TEST_F(CommandsTest, HelpExtendersOfRegisteredCommands) {
    EXPECT_EQ(node("s")->helpexec, HLP_s);
    EXPECT_EQ(node("pmatrix")->helpexec, HLP_pmatrix);
    EXPECT_EQ(node("browse decomposition")->helpexec, HLP_decomp);
    EXPECT_EQ(node("browse groundstate")->helpexec, HLP_decomp);
    EXPECT_EQ(node("browse susy")->helpexec, HLP_susy);
    EXPECT_EQ(node("browse etatwists")->helpexec, HLP_twists);
    EXPECT_EQ(node("fusion")->helpexec, HLP_fusion);
}

TEST_F(CommandsTest, StartUpStateRefusesModularCommands) {
    Captured cap;
    EXPECT_EQ(run("s 1 2"), NotExecutable);
    EXPECT_TRUE(ran.empty());
    EXPECT_TRUE(has(cap.err(), "Invalid command: s\n")) << cap.err();
    EXPECT_TRUE(has(cap.err(), "No modular data; type \"compute spectrum\" first.")) << cap.err();
}

TEST_F(CommandsTest, ModularCommandRunsOnceTheSpectrumIsComputed) {
    useBlock(0, 10, 0); // U(1) at radius 10, where -5 is the conjugate of 5
    {
        Captured cap;
        enableModular();
        EXPECT_EQ(cap.out(), "");
    }
    Captured cap;
    EXPECT_EQ(run("s 1 -3"), 0);
    EXPECT_EQ(ran, std::vector<std::string>{"ran 1 7"});
    EXPECT_EQ(cap.err(), "");
}

TEST_F(CommandsTest, FieldRangeRunsTheHandlerOncePerValue) {
    Captured quiet;
    enableModular();
    EXPECT_EQ(run("s 2:4 0"), 0);
    EXPECT_EQ(ran, (std::vector<std::string>{"ran 2 0", "ran 3 0", "ran 4 0"}));
    ran.clear();
    EXPECT_GT(run("s 3:1"), 0);
    EXPECT_TRUE(ran.empty());
}

// Each component of a repeated factor label is checked in its own factor.
TEST_F(CommandsTest, CurrentComponentsBeyondTheFactorsAreRefused) {
    static bool made = false;
    if (!made) {
        made = true;
        initCommand("zzcurrent", "(fcur current_1)...(fcur current_n)", record, "");
    }
    {
        Captured cap;
        EXPECT_EQ(run("zzcurrent 1 2"), 0);
        EXPECT_EQ(ran, std::vector<std::string>{"ran 1 2"});
        EXPECT_GT(run("zzcurrent 1 3"), 0);
        EXPECT_TRUE(has(cap.err(), "Invalid current: 3")) << cap.err();
    }
    Captured cap;
    EXPECT_GT(run("zzcurrent 1 2 0"), 0);
    EXPECT_TRUE(has(cap.err(), "Too many current components")) << cap.err();
    EXPECT_EQ(ran.size(), 1u);
}

TEST_F(CommandsTest, BoundaryCommandBeforeTheSpectrumIsRefusedTwice) {
    // Unbuffered, so that both held-back messages show in their order.
    noBuf();
    Captured cap;
    EXPECT_EQ(run("select klein nr"), NotExecutable);
    noBufOff();
    const std::string& e = cap.err();
    const std::size_t modular = e.find("No modular data; type \"compute spectrum\" first.");
    const std::size_t invalid = e.find("Invalid command: nr\n");
    const std::size_t boundary = e.find("No open string and bulk invariant data available");
    ASSERT_NE(modular, std::string::npos) << e;
    ASSERT_NE(invalid, std::string::npos) << e;
    ASSERT_NE(boundary, std::string::npos) << e;
    EXPECT_LT(modular, invalid);
    EXPECT_LT(invalid, boundary);
    EXPECT_FALSE(BoundaryMode->enabled);
    EXPECT_TRUE(ran.empty());
}

// Both hooks build the labels first; a theory without charge conjugation has none, and the
// command does not run.
TEST_F(CommandsTest, BoundaryCommandRunsAfterItsHook) {
    blockType = 26;
    {
        Captured cap;
        enableModular();
        EXPECT_EQ(run("identify orientifold"), 1);
        EXPECT_EQ(run("search moebius"), 1);
        EXPECT_TRUE(ran.empty());
        EXPECT_TRUE(has(cap.out(), "No conjugation defined for this algebra;\n"
                                   "Open string functions not available.\n"))
            << cap.out();
    }
    useBlock(1, 1, 4);
    Captured quiet;
    enableModular();
    crossbound::resetOrientifold(); // as the facade's hook does once start-up has installed it
    EXPECT_EQ(run("identify orientifold"), 0);
    EXPECT_EQ(run("search moebius"), 0);
    EXPECT_EQ(ran.size(), 2u);
}

TEST_F(CommandsTest, SingleAlgebraAndTensorModesExcludeEachOther) {
    {
        Captured cap;
        EXPECT_EQ(run("browse decomposition"), NotExecutable);
        EXPECT_TRUE(has(cap.err(), "Invalid command: decomposition\n")) << cap.err();
        EXPECT_TRUE(has(cap.err(), "Command only works in tensor mode")) << cap.err();
        EXPECT_EQ(run("weyl order"), 0);
    }
    enableCoset();
    Captured cap;
    EXPECT_EQ(run("browse decomposition"), 0);
    EXPECT_EQ(run("weyl order"), NotExecutable);
    EXPECT_TRUE(has(cap.err(), "Invalid command: order\n")) << cap.err();
    EXPECT_TRUE(has(cap.err(), "Command only works in single algebra mode")) << cap.err();
    EXPECT_EQ(ran.size(), 2u);
}

TEST_F(CommandsTest, StabilizerIsNeverExecuted) {
    Captured cap;
    enableModular();
    EXPECT_NE(run("browse stabilizer"), 0);
    EXPECT_TRUE(ran.empty());
    EXPECT_TRUE(has(cap.err(), "Keyword \"stabilizer\" disabled")) << cap.err();
}

TEST_F(CommandsTest, DefaultCommandsRunInEveryState) {
    Captured quiet;
    EXPECT_EQ(run("initialize"), 0);
    enableCoset();
    EXPECT_EQ(run("initialize"), 0);
    enableModular();
    EXPECT_EQ(run("initialize"), 0);
    EXPECT_EQ(ran.size(), 3u);
}

TEST_F(CommandsTest, EnableModularFollowsTheBlockType) {
    struct Case {
        int type;
        bool modes;
        bool message;
    };
    for (const Case& c : {Case{1, true, false}, Case{5, true, false}, Case{10, true, false},
                          Case{11, false, true}, Case{12, false, true}, Case{13, true, false},
                          Case{14, false, true}, Case{16, false, true}, Case{26, true, false},
                          Case{27, true, false}, Case{1001, true, false}, Case{1013, false, true},
                          Case{1026, false, true}, Case{1027, true, false}, Case{-1, false, false},
                          Case{-13, false, false}, Case{-27, false, false}}) {
        SCOPED_TRACE("type " + std::to_string(c.type));
        {
            Captured quiet;
            disableCoset();
        }
        Spectrum_Computed = 2;
        blockType = c.type;
        const int counter = QueryCFT();
        Captured cap;
        enableModular();
        EXPECT_EQ(ModularMode->enabled, c.modes);
        EXPECT_EQ(BoundaryMode->enabled, c.modes);
        EXPECT_EQ(Spectrum_Computed, c.modes ? 1 : 2);
        EXPECT_EQ(TotalInvariants(), c.modes ? 1 : 0) << "the diagonal invariant is stored";
        EXPECT_EQ(QueryCFT(), counter + (c.modes ? 1 : 0));
        EXPECT_EQ(cap.out(), c.message ? "No modular data are available for this algebra\n" : "");
    }
}

TEST_F(CommandsTest, TensorProductAlwaysGetsItsModes) {
    setCosetMode(1);
    blockType = 11;
    Captured cap;
    enableModular();
    EXPECT_TRUE(ModularMode->enabled);
    EXPECT_TRUE(BoundaryMode->enabled);
    EXPECT_EQ(cap.out(), "");
}

TEST_F(CommandsTest, EnableModularMarksTheTheoryAndStoresTheBulkInvariant) {
    {
        Captured quiet;
        initializeCommandParameters();
    }
    const int counter = QueryCFT();
    Captured cap;
    enableModular();
    EXPECT_EQ(QueryCFT(), counter + 1) << "the theory is marked changed";
    EXPECT_EQ(cap.out(), "") << "stored silently";
    ASSERT_EQ(TotalInvariants(), 1);
    BulkInvariant* stored = findNamedBulkInvariant("Invariant_0");
    ASSERT_NE(stored, nullptr);
    EXPECT_NE(stored, *getCurrentBulk()) << "a copy is stored";
    EXPECT_EQ(MIPFIdentifier(stored), 0);
    EXPECT_EQ(stored->trivial, 1);
    EXPECT_EQ(stored->Nprimaries, 10);
    EXPECT_EQ(Spectrum_Computed, 1);
}

TEST_F(CommandsTest, DisableModularDiscardsTheTheoryData) {
    Captured cap;
    enableModular();
    int left[] = {1, -1};
    setRequireLeft(left);
    IntegerList vacuum;
    setPrimarySelection(&vacuum);
    disableModular();
    EXPECT_EQ(TotalInvariants(), 0);
    EXPECT_EQ(getLastBulkInvariant(), nullptr);
    displaySelectionCriteria(1);
    EXPECT_EQ(cap.out(), "No selection criteria\n");
    EXPECT_FALSE(ModularMode->enabled);
    EXPECT_FALSE(BoundaryMode->enabled);
    EXPECT_TRUE(SingleAlgebraMode->enabled);
    EXPECT_EQ(Spectrum_Computed, 0);
    EXPECT_EQ(cap.err(), "");
}

TEST_F(CommandsTest, VerboseDisableReportsOnlyWhenInvariantsAreStored) {
    {
        Captured cap;
        switchMode(ModularMode, 1);
        disableModularVerbose();
        EXPECT_FALSE(has(cap.err(), "erased")) << "nothing stored yet";
        EXPECT_FALSE(ModularMode->enabled);
    }
    enableModular();
    Captured cap;
    disableModularVerbose();
    EXPECT_TRUE(has(cap.err(), "All previous modular data and stored MIPFs are erased"))
        << cap.err();
    EXPECT_EQ(TotalInvariants(), 0);
    EXPECT_FALSE(ModularMode->enabled);
    EXPECT_FALSE(BoundaryMode->enabled);
    EXPECT_EQ(Spectrum_Computed, 0);
}

TEST_F(CommandsTest, ChangingGradedDiscardsTheModularData) {
    // As the start-up attaches it.
    addInternalParameter("Graded", "OFF", 't', 0);
    addDefaultAction("Graded", disableModularVerbose);
    enableModular();
    Captured cap;
    setIntPar("Graded", 1);
    EXPECT_TRUE(has(cap.err(), "All previous modular data and stored MIPFs are erased"))
        << cap.err();
    EXPECT_FALSE(ModularMode->enabled);
    EXPECT_FALSE(BoundaryMode->enabled);
}

TEST_F(CommandsTest, CosetSwitches) {
    Captured quiet;
    enableModular();
    enableCoset();
    EXPECT_TRUE(TensorMode->enabled);
    EXPECT_FALSE(SingleAlgebraMode->enabled);
    EXPECT_FALSE(ModularMode->enabled);
    EXPECT_FALSE(BoundaryMode->enabled);
    EXPECT_EQ(TotalInvariants(), 1) << "enableCoset touches no data";
    EXPECT_EQ(Spectrum_Computed, 1);
    disableCoset();
    EXPECT_FALSE(TensorMode->enabled);
    EXPECT_TRUE(SingleAlgebraMode->enabled);
    EXPECT_FALSE(ModularMode->enabled);
    EXPECT_FALSE(BoundaryMode->enabled);
    EXPECT_EQ(TotalInvariants(), 0);
    EXPECT_EQ(Spectrum_Computed, 0);
}

TEST_F(CommandsTest, SwitchesWorkBeforeTheModularDataExist) {
    withdrawTheory();
    Captured cap;
    enableModular();
    EXPECT_TRUE(ModularMode->enabled);
    EXPECT_TRUE(BoundaryMode->enabled);
    EXPECT_EQ(Spectrum_Computed, 1);
    // The one-field diagonal invariant that stands in without a theory was stored.
    disableModularVerbose();
    EXPECT_FALSE(ModularMode->enabled);
    disableCoset();
    EXPECT_TRUE(SingleAlgebraMode->enabled);
    EXPECT_EQ(cap.err(), "All previous modular data and stored MIPFs are erased\n \n");
}

TEST_F(CommandsTest, OpenStringFunctionNeverEnablesTheBoundaryMode) {
    {
        Captured cap;
        InitializeOpenStrings();
        EXPECT_TRUE(has(cap.err(), "No modular data; type \"compute spectrum\" first."))
            << cap.err();
    }
    switchMode(ModularMode, 1);
    Captured cap;
    InitializeOpenStrings();
    EXPECT_TRUE(has(cap.err(), "Unexpected call of function InitializeOpenStrings")) << cap.err();
    EXPECT_FALSE(BoundaryMode->enabled);
}

// The first answer is once per process: the calls run in a child, so this process keeps its -2
// for the next run of the test.
TEST(PreviousType, MinusTwoOnceThenMinusOne) {
    const std::string answers = testsupport::stdoutOfChild([] {
        for (int k = 0; k < 3; k++)
            std::printf("%d ", PreviousType());
        std::fflush(stdout);
    });
    EXPECT_EQ(answers, "-2 -1 -1 ");
}

TEST(Help, PmatrixAddsItsDefinitionToTheLinesOfS) {
    Captured cap;
    HLP_pmatrix();
    EXPECT_EQ(cap.out(), "    Definition: P=T^(1/2) S T^2 S T^(1/2)\n"
                         "    No parameters:           display all\n"
                         "    One parameter  (i):      display row i\n"
                         "    Two parameters (i)(j):   display row S(i,j)\n");
}

TEST(Help, PfusionWritesASlash) {
    Captured cap;
    HLP_pfusion();
    EXPECT_TRUE(has(cap.out(), "(P_kn)^*/ S_0n \n")) << cap.out();
}

} // namespace

namespace {

const CommandDefinition incompleteFusing[] = {
    {"zz stray", "", record, "Not in the table."},
};

// Registration is once per process, so this runs in a fresh one. The row "Initialize" of the
// family has no definition: a family may arrive in parts, so that is not reported.
void registerIncompleteFamily() {
    makeDefaultMode();
    addCommandFamily(CommandFamily::Fusing, incompleteFusing);
    Captured cap;
    registerApplicationCommands();
    const std::string& err = cap.err();
    std::fputs(err.c_str(), stderr);
    const bool quietAboutRows = !has(err, "missing");
    std::exit(registeredApplicationCommands().empty() && !matchComKey("zz") && quietAboutRows ? 0
                                                                                              : 1);
}

TEST(CommandsDeathTest, DefinitionsWithoutRowsAreReportedRowsWithoutDefinitionsSkipped) {
    GTEST_FLAG_SET(death_test_style, "threadsafe");
    EXPECT_EXIT(registerIncompleteFamily(), testing::ExitedWithCode(0),
                "Command \"zz stray\" has no place in the command table");
}

const CommandDefinition theoryLater[] = {
    {"algebra u", "", record, "Free boson."},
};
const CommandDefinition theoryFirst[] = {
    {"algebra a", "", record, "Type A."},
    {"single", "", record, "Single."},
};
const CommandDefinition spectrumPart[] = {
    {"list", "", record, "List."},
};

// Parts of one family, handed over in any order, register in the table's order; a keyword node
// comes only with a command beneath it, and an extender only with its command.
void registerFamiliesInParts() {
    makeDefaultMode();
    registerCountType();
    addCommandFamily(CommandFamily::Theory, theoryLater);
    addCommandFamily(CommandFamily::Theory, theoryFirst);
    addCommandFamily(CommandFamily::Spectrum, spectrumPart);
    Captured cap;
    registerApplicationCommands();
    const std::string& err = cap.err();
    std::fputs(err.c_str(), stderr);
    std::span<const char* const> got = registeredApplicationCommands();
    const std::vector<std::string> expected = {"list", "single", "algebra", "algebra a",
                                               "algebra u"};
    const bool order = std::vector<std::string>(got.begin(), got.end()) == expected;
    const bool keywords =
        !matchComKey("h") && !matchComKey("g") && matchComKey("algebra")->helpexec == HLP_algebra;
    // "unlist" shares the extender of "list" but was not handed over.
    const bool extenders = matchComKey("list")->helpexec == HLP_restore && !matchComKey("unlist");
    std::exit(order && keywords && extenders && err.empty() ? 0 : 1);
}

TEST(CommandsDeathTest, FamiliesArriveInParts) {
    GTEST_FLAG_SET(death_test_style, "threadsafe");
    EXPECT_EXIT(registerFamiliesInParts(), testing::ExitedWithCode(0), "");
}

} // namespace

namespace {

// The built-in commands first, then the application's argument types in their order.
void initializeAndCheckTypes() {
    initializeCommands();
    initializeCommands();
    std::vector<std::string> names;
    for (Conversion* c = getFirstConversion(); c; c = nextConversion(c))
        names.emplace_back(c->name);
    // The list runs newest first.
    const std::vector<std::string> newest = {"Ishibashi", "bound", "dim",    "rank",
                                             "radius",    "level", "N_susy", "simple_root",
                                             "field",     "fprim", "fcur",   "current"};
    const bool typesInOrder =
        names.size() > newest.size() && std::equal(newest.begin(), newest.end(), names.begin());
    const bool builtIns = findConversion("pos_int") && matchComKey("set");
    const bool modes = SingleAlgebraMode && TensorMode && ModularMode && BoundaryMode &&
                       BoundaryMode->function == InitializeOpenStrings;
    std::exit(typesInOrder && builtIns && modes ? 0 : 1);
}

TEST(CommandsDeathTest, InitializeCommandsRegistersTheTypesAfterTheBuiltIns) {
    GTEST_FLAG_SET(death_test_style, "threadsafe");
    EXPECT_EXIT(initializeAndCheckTypes(), testing::ExitedWithCode(0), "");
}

} // namespace
