#include "main/ControlUtility.h"

#include "base/Allocation.h"
#include "base/Error.h"
#include "base/Memory.h"
#include "base/Output.h"
#include "base/Parameters.h"
#include "base/StringUtility.h"
#include "base/SystemUtility.h"
#include "base/Tables.h"
#include "boundary/CrossBound.h"
#include "commands/Commands.h"
#include "interpreter/IntCommands.h"
#include "interpreter/Interpreter.h"
#include "lie/Tarvik.h"
#include "modular/Invariants.h"
#include "modular/Modular.h"
#include "search/ZNX_SearchSM.h"
#include "search/ZNX_SearchStat.h"
#include "search/SearchSMGeneric.h"
#include "store/Storemanager.h"
#include "string/Heterotic.h"
#include "string/Intersections.h"
#include "string/OpenSpectrumAnalysis.h"
#include "string/StringTheory.h"
#include "string/Tadpole.h"
#include "tensor/Coset.h"

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <initializer_list>
#include <string>
#include <unistd.h>
#include <vector>

const BS_defaults TarvikDefaults[] = {{"TarvikPath", "Library/Tarvik"}, {"Keep S in Memory", "Yes"},
                                      {"Write S to Disk", "No"},        {"SeverityMask", "110000"},
                                      {"MaximalLevel", "50"},           {nullptr, nullptr}};
char tarvik_pathname[1024] = "";
int MAXLEVEL = 50;

namespace {

constexpr double TarvikVersion = 7.4581;

const char* homeDirectory() {
    const char* home = std::getenv("HOME");
    return home ? home : "";
}

} // namespace

// ============================================================ Start-up

double getTarvikVersionNumber() {
    return TarvikVersion;
}

namespace {

void initializeModules() {
    initializeTarvik();
    initializeIntersections();
    initializeTadpole();
    initializeSearchSM();
    initializeZNX_SearchSM();
    setStatFileStamp(TarvikVersion, __DATE__, __TIME__);
    initializeCrossBound();
    initializeCoset();
    initializeHeterotic();
    initializeModular();
    initializeInvariants();
    initializeStoremanager();
}

} // namespace

void initializeAll() {
    static bool done = false;
    if (done)
        return;
    done = true;
    initializeMemory();
    initializeCommands();
    registerDefaults("Tarvik6", TarvikDefaults, convertPreferences);
    addInternalParameter("log", "OFF", 't', 1);
    addInternalParameter("error_log", "OFF", 't', 1);
    ErrorFileName("Tarvik");
    LogFileName("Tarvik");
    initializeTables();
    initializeDefaults();
    initializeCommandPointers();
    initializeModules();
    initializeAlgebra();
    initializeStringTheory();
    initializeOpenSpectrum();
    initializeCommandParameters();
    // maxRank looks "Maxrank" up on first use; getOutputDir reads "OutputDir" at each call,
    // since a text value moves when it grows.
    setProgName("Tarvik");
}

// ------------------------------------------------------------ named work areas

void initializeMemory() {
    static bool done = false;
    if (done)
        return;
    done = true;
    struct Area {
        const char* name;
        char type;
        int increment;
    };
    static constexpr Area areas[] = {
        {"ModText", 'c', 50000},        {"RootSystem", 'i', 100},       {"GaloisGroup", 'i', 300},
        {"GaloisDependence", 'i', 900}, {"GaloisSolutions", 'i', 1000}, {"GaloisOrbits", 'i', 5000},
        {"GaloisEqn", 'i', 60},         {"GaloisEquations", 'i', 900},  {"CollectEqn", 'i', 30},
        {"Bounds", 'i', 30000},         {"ModularInvariant", 'i', 2000}};
    for (const Area& area : areas)
        initMemory(area.name, area.type, 0, area.increment);
}

void initializePrintPrefs() {
    // Bound for completeness; nothing reads these.
    static std::vector<int*> printPrefs;
    printPrefs.clear();
    if (TableData* td = findTable("Spectrum"))
        for (ColumnData** col = td->cols; *col; ++col)
            printPrefs.push_back(&(*col)->printPref);
}

// ------------------------------------------------------------ application parameters

namespace {

enum class Kind { Command, Internal };

struct ParameterDefinition {
    const char* name;
    const char* datatype; // null for a text parameter
    const char* value;
    int saved;
    POSTCOM afterCommands;
    DFACT changeAction;
    const char* description;
    Kind kind = Kind::Command;
};

constexpr const char* OutputDirName = "OutputDir";
constexpr const char* MaxrankName = "Maxrank";

// clang-format off
const ParameterDefinition ApplicationParameters[] = {
    {"Tadpole info_level", "non_neg_int", "0", 1, nullptr, nullptr,
     "amount of information printed while\n solving tadpole conditions."},
    {"old_algorithm", "switch", "OFF", 0, nullptr, nullptr, "choice between algorithms"},
    {"Heterotic factors", "non_neg_int", "1", 0, nullptr, nullptr,
     "Number of heterotic group factors considered."},
    {"Particle factors", "non_neg_int", "1", 0, nullptr, nullptr,
     "Number of particle group factors considered."},
    {"MIPF random", "non_neg_int", "0", 0, nullptr, nullptr,
     "number of random samples in MIPF construction.\nTo switch off set to 0"},
    {"Moebius security_level", "non_neg_int", "0", 1, nullptr, nullptr,
     "Level of reliability required for\n solving moebius polynomial equations."},
    {MaxrankName, "non_neg_int", "20", 1, nullptr, nullptr, "maximal rank."},
    {"Maxperm", "non_neg_int", "100000", 1, nullptr, nullptr,
     "maximal size of the group of permutations and outer automorphisms\nof a tensor product."},
    {"Maxcurrent", "non_neg_int", "1000", 1, nullptr, nullptr,
     "maximal number of currents for which automorphisms are stored"},
    {"Max_primaries", "non_neg_int", "2000000000", 1, nullptr, nullptr,
     "maximal number of primaries."},
    {"High_precision", "switch", "OFF", 1, nullptr, nullptr,
     "high or low precision in modular data display."},
    {"Dimension", "dim", "0", 0, nullptr, nullptr, "space time dimension for superstring mode."},
    {"Graded", "switch", "OFF", 0, nullptr, disableModularVerbose,
     "graded/ungraded tensor product evaluation."},
    {"Super", "switch", "OFF", 0, nullptr, nullptr, "superstring interpretation of spectra."},
    {"Trace_resolution", "switch", "OFF", 0, nullptr, nullptr,
     "display of FCFT contributions to resolved S.\nIf this switch is ON, the contributions to "
     "S_{ab} are shown\nfor each current J that fixes a and b."},
    {"S_matrix maxsize", "non_neg_int", "400", 1, nullptr, nullptr,
     "maximal size for S_matrix storage."},
    {"S_matrix maxdisk", "non_neg_int", "2000", 1, nullptr, nullptr,
     "disk space (in MB) that the S and P row files of a theory\nmay take before the user is asked."},
    {"Use_orbits", "non_neg_int", "2", 1, nullptr, disableModularVerbose,
     "level of orbit usage for fusion and annulus computations"},
    {"Store_S", "switch", "ON", 1, nullptr, nullptr,
     "storage of orbit-orbit S-matrix elements for single algebras"},
    {"NIMrep Max_row", "non_neg_int", "100000", 1, nullptr, nullptr,
     "maximal number of NIMrep row candidates"},
    {"Invariant max_display", "non_neg_int", "100", 1, nullptr, nullptr,
     "Maximal number of orbits shown during selection of\nsimple current invariants."},
    {"Tadpole unitary_groups_only", "switch", "OFF", 0, BoundarySelectionCriteriaChanged, nullptr,
     "Allow only unitary CP groups"},
    {"Tadpole orthogonal_groups_only", "switch", "OFF", 0, BoundarySelectionCriteriaChanged,
     nullptr, "Allow only orthogonal CP groups"},
    {"Tadpole symplectic_groups_only", "switch", "OFF", 0, BoundarySelectionCriteriaChanged,
     nullptr, "Allow only symplectic CP groups"},
    {"Tadpole real_groups_only", "switch", "OFF", 0, BoundarySelectionCriteriaChanged, nullptr,
     "Allow only real CP groups"},
    {"Tadpole require_confinement", "switch", "OFF", 0, BoundarySelectionCriteriaChanged, nullptr,
     "Allow only OH-matter confining hidden sector CP groups"},
    {"Tadpole allow_OH_matter", "non_neg_int", "3", 0, BoundarySelectionCriteriaChanged, nullptr,
     "type of Observable-Hidden matter allowed\nValues:\n 0: none\n 1: non-chiral\n 2: "
     "non-chiral w.r.t. observable sector;\n3: all are allowed\nThe \"observable\" sector is "
     "defined as the set of\nboundaries one with fixed CP multiplicities"},
    {"Tadpole remove_identical", "switch", "ON", 0, BoundarySelectionCriteriaChanged, nullptr,
     "remove variables with identical tadpole coefficients"},
    {"Tadpole allow_tachyons", "switch", "OFF", 0, BoundarySelectionCriteriaChanged, nullptr,
     "allow tachyonic tadpole solutions."},
    {"Fusion sumcheck", "switch", "OFF", 0, nullptr, nullptr,
     "dimension sum rule check in fusion."},
    {"Tadpole show_spectrum", "switch", "OFF", 0, nullptr, nullptr,
     "automatic spectrum computation for tadpole solutions."},
    {"Tadpole detailed_spectrum", "switch", "OFF", 0, nullptr, nullptr,
     "automatic detailed spectrum computation for tadpole solutions."},
    {"String_spectra info_level", "non_neg_int", "0", 0, nullptr, nullptr,
     "amount of detailed information in string spectra."},
    {"Tadpole check_solution", "switch", "OFF", 0, nullptr, nullptr,
     "automatic equation check for tadpole solutions."},
    {"Tadpole show_solution", "switch", "OFF", 0, nullptr, nullptr,
     "automatic display of CP multiplicities for each solution."},
    {"Tadpole completeness", "non_neg_int", "2", 0, tadpoleSearchParametersChanged, nullptr,
     "completeness of tadpole solutions\n0: Only simple, < 4 brane solutions, stop after first "
     "one\n1: All simple, < 4 brane solutions\n2: Stop after first solution\n3: Try finding "
     "full, parametrized solution\n"},
    {"Tadpole max_iter", "non_neg_int", "0", 0, tadpoleSearchParametersChanged, nullptr,
     "Maximal number of boundary improvement iterations"},
    {"Tadpole maxconf", "non_neg_int", "1000", 1, nullptr, nullptr,
     "maximal number of brane configurations (in millions)"},
    {"SM_search check_moebius", "switch", "ON", 0, nullptr, nullptr,
     "check Moebius chirality for (anti)-symmetric tensors"},
    {"SM_search new_search", "switch", "OFF", 0, nullptr, nullptr,
     "updating of existing msol/stat files"},
    {"SM_search pati-salam", "switch", "OFF", 0, nullptr, nullptr,
     "Include Pati-Salam models in search"},
    {"SM_search info_level", "int", "0", 0, nullptr, nullptr,
     "Display progress towards successfull SM realization"},
    {"SM_search maxconf", "non_neg_int", "1000000000", 0, nullptr, nullptr,
     "maximal number of SM configs searched for."},
    {"Invariant info_level", "non_neg_int", "0", 0, nullptr, nullptr,
     "amount of information shown during simple current\n invariant computation."},
    {"Orientifold info_level", "non_neg_int", "0", 0, nullptr, nullptr,
     "amount of information shown during orientifold\n computation."},
    {"Create show_info", "switch", "OFF", 0, nullptr, nullptr,
     "display of information during CFT creation."},
    {"Selection automorphism", nullptr, "OFF", 0, nullptr, nullptr, nullptr, Kind::Internal},
    {"Selection symmetric", "switch", "OFF", 0, nullptr, nullptr,
     "restriction to symmetric invariants\n during modular invariant selection"},
    {"Selection extension", "switch", "OFF", 0, nullptr, nullptr,
     "restriction to extension invariants\n during modular invariant selection"},
    {"Orientifold", "switch", "ON", 0, bulkInvariantChanged, resetBoundaries,
     "requirement of Crosscap/Moebius/Klein consistency\n during boundary search."},
    {"Boundary_search capacity", "pos_int", "1", 0, nullptr, nullptr,
     "storage space scaling factor used in boundary search."},
    {"Boundary_search use_all_sets", "switch", "OFF", 0, nullptr, nullptr,
     "usage of all boundary sets versus maximal size ones only."},
    {"Boundary_search info_level", "non_neg_int", "0", 0, nullptr, nullptr,
     "amount of information printed while searching for\n boundaries and crosscaps."},
    {"Invariant statistics", "switch", "OFF", 0, nullptr, nullptr,
     "display of statistics of bulk invariants."},
    {"Autostore", "switch", "OFF", 1, nullptr, nullptr, "Automatic storage of modular invariants."},
    {"Reject permutations", "switch", "ON", 0, permutationRejectionChanged, nullptr,
     "automatic suppression of invariants related by\n permutations and outer automorphisms"},
    {"Reject info", "switch", "OFF", 0, nullptr, nullptr,
     "display of permutation rejection criteria"},
    {"loop start", "non_neg_int", "0", 0, nullptr, nullptr,
     "starting point of MIPF loops when using \"loop_command\""},
    {"loop end", "non_neg_int", "2000000000", 0, nullptr, nullptr,
     "end point (included) of MIPF loops when using \"loop_command\""},
    {"Init_debug", "switch", "OFF", 0, nullptr, nullptr, "display initialization information"},
    {"OutputFilePrefix", nullptr, "N", 1, nullptr, nullptr, "prefix for output file name"},
    {"OutputFilePostfix", nullptr, "", 1, nullptr, nullptr, "postfix for output file name"},
    {OutputDirName, nullptr, "HOME", 1, nullptr, nullptr, "Directory for output files"},
    {"ModelDir", nullptr, ".", 1, nullptr, nullptr,
     "Directory in which the file \"Models.list\" can be found"},
    {"SM_search Nfamily", "non_neg_int", "3", 0, nullptr, nullptr,
     "Number of families searched for in standard model searchesIf the value is set to zero, "
     "1,2 or 3 families are searched for"},
    {"SM_search No_frac", "switch", "OFF", 0, nullptr, nullptr,
     "Require absence of fractionally charged massless states"},
    {"ZNX_VERSION", "switch", "OFF", 0, nullptr, nullptr,
     "Backward compatibility mode to regenerate\norientifold spectra with correct labelling"},
};
// clang-format on

void declareParameter(const ParameterDefinition& p) {
    if (p.kind == Kind::Internal) {
        addInternalParameter(p.name, p.value, 't', p.saved);
        return;
    }
    setCurrentPostCommand(p.afterCommands);
    addParameter(p.name, p.value, p.datatype, p.description, p.saved);
    setCurrentPostCommand(nullptr);
    if (p.changeAction)
        addDefaultAction(p.name, p.changeAction);
}

void attachHelpExtenders() {
    addHelp("set maxrank", HLP_maxrank);
    addHelp("set dimension", HLP_space_dim);
    addHelp("set graded", HLP_graded);
    addHelp("set super", HLP_super);
    addHelp("set use_orbits", HLP_use_orbits);
}

// The saved preferences of the defaults file, as the rest of the run reads them.
void applySavedPreferences() {
    std::snprintf(tarvik_pathname, sizeof tarvik_pathname, "%s/%s", homeDirectory(),
                  getDefault("TarvikPath"));
    setSeverity_Error(getDefault("SeverityMask"));
    MAXLEVEL = strnum(getDefault("MaximalLevel"));
    setMaximalLevel(MAXLEVEL);
    getTableDefaults();
    getIntParDefaults();
}

} // namespace

void initializeDefaults() {
    setCurrentMode(getDefaultMode());
    for (const ParameterDefinition& p : ApplicationParameters)
        declareParameter(p);
    attachHelpExtenders();
    applySavedPreferences();
}

void convertPreferences() {
    const std::size_t home = std::strlen(homeDirectory());
    const char* relative = tarvik_pathname;
    if (std::strncmp(tarvik_pathname, homeDirectory(), home) == 0) {
        relative += home;
        if (*relative == '/')
            ++relative;
    }
    setDefault("TarvikPath", relative);
    setDefault("SeverityMask", getSeverity_Error());
    setDefault("MaximalLevel", numstr(MAXLEVEL));
}

// ------------------------------------------------------------ fields and blocks

int checkFieldLimits(int lbl) {
    const int last = getTotalPrimaries() > 0 ? getTotalPrimaries() - 1 : 0;
    if (lbl > last)
        lbl = last;
    return lbl < 0 ? 0 : lbl;
}

std::size_t TarvikAllocation(int level) {
    const std::size_t total = SM_getTotalAlloc();
    if (level > 0)
        Alert("TarvikAllocation", 0, 100208, "Total algebra allocation %zu Bytes", total);
    return total;
}

void writeSpectrum(FILE* ofp, char* txt, SpectrumData* sd, int cosetSwitch) {
    if (cosetSwitch != 0)
        printCosetHeader(nullptr, ofp);
    else
        printAlgebraHeader(sd, ofp);
    std::fprintf(ofp, "\n%s", txt);
}
