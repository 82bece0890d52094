#include "search/ZNX_SearchSM.h"

#include "base/Error.h"
#include "base/Output.h"
#include "base/Parameters.h"
#include "base/SystemUtility.h"
#include "base/Terminal.h"
#include "boundary/CrossBound.h"
#include "modular/Invariants.h"
#include "search/ZNX_SearchInternal.h"
#include "search/ZNX_SearchStat.h"
#include "string/Intersections.h"
#include "string/SearchPreselection.h"
#include "string/SearchSetup.h"
#include "string/StringTheory.h"
#include "string/Tadpole.h"
#include "string/TadpoleSolver.h"

#include <algorithm>
#include <initializer_list>
#include <string>

namespace quartet {

namespace {

Parameters Params;
SearchState State;

constexpr std::array<int, TypeSlots> StdTypeList{7,  6,  1,  3,  5,  0,  2,  4, 17,
                                                 16, 11, 13, 15, 10, 12, 14, -1};
// The Pati-Salam types follow the eight basic ones.
constexpr int BasicTypeCount = 8;
constexpr int QuartetRoom = 10000;

} // namespace

const Parameters& parameters() {
    return Params;
}
int value(const int* p, int fallback) {
    return p ? *p : fallback;
}
SearchState& state() {
    return State;
}

const char* invariantSuffix(const BulkInvariant* bi) {
    if (!bi || bi->name.size() < 10)
        return "";
    return bi->name.c_str() + 10;
}

} // namespace quartet

using namespace quartet;

namespace {

int* intPointer(const char* name) {
    return static_cast<int*>(getIntParPointer(name));
}

bool newSearch() {
    return value(Params.NewSearch, 0) == 1;
}

void clearPreselections() {
    setOrientifoldPreselection(-1);
    setBoundary_a_Preselection(-1);
    setBoundary_b_Preselection(-1);
    setBoundary_c_Preselection(-1);
    setBoundary_d_Preselection(-1);
}

// A pre-selection the context cannot hold would be read outside its tables.
bool preselectionOutside(const SearchData* SD) {
    const int o = getOrientifoldPreselection();
    if (o != -1 && (o < 0 || o >= SD->Ori)) {
        Alert("SearchSM", 0, 100302, "Orientifold %d out of range", o);
        return true;
    }
    for (int b : {getBoundary_a_Preselection(), getBoundary_b_Preselection(),
                  getBoundary_c_Preselection(), getBoundary_d_Preselection()}) {
        if (b != -1 && (b < 0 || b >= SD->Bnd)) {
            Alert("SearchSM", 1, 100302, "Label %d out of range", b);
            return true;
        }
    }
    return false;
}

void resetSearchCounters() {
    State.READ_OLD = 0;
    State.ACCEPTED = 0;
    State.GlobalAnomalyCount = 0;
}

// Quartet table with its starting room, statistics zeroed for every orientifold of the context.
void sizeTables(const SearchData* SD) {
    State.Quartets.clear();
    State.RHSs.clear();
    State.Quartets.reserve(QuartetRoom);
    State.RHSs.reserve(QuartetRoom + 10);
    State.OrientifoldStatistics.assign(static_cast<std::size_t>(SD->Ori) * StatPerOrientifold, 0);
}

void prepareTadpoleEquations() {
    State.Quartets.clear();
    State.RHSs.clear();
    getTwoFormLabels();
    State.EquationCount = findTadpoleEquations();
    State.ActiveEquations = getActiveEquations();
    State.Nvar = getNumberOfLoopVariables();
}

// Everything after the context, up to the closing of the statistics file; 0.
int runSearch(SearchData* SD, int* SelType) {
    resetSearchCounters();
    printOrientifoldsConsidered(SD);
    if (getBoundary_a_Preselection() != -1)
        PrintBoundarySelection();
    State.SolutionCountPerMIPF = 0;
    State.AbortCount = 0;
    determineTypeList(SelType);
    if (newSearch())
        initStatFile();
    if (CY_Check('B') == 0)
        Print("Non-chiral bulk extension\n");
    if (CY_Check('I') == 0) {
        closeStatFile(1);
        clearPreselections();
        return 0;
    }
    if (SD->bndcnt <= 4) {
        closeStatFile(3);
        Print("Too few usable boundaries (%d)\n", SD->bndcnt);
        clearPreselections();
        return 0;
    }
    Print("Number of usable boundaries: %d (out of %d)\n", SD->bndcnt, SD->Bnd);
    if (newSearch())
        writeMIPFDataToStatFile();
    prepareTadpoleEquations();
    sizeTables(SD);
    int unused = 0;
    CheckChirality(0, 0, 0, &unused, &unused, &unused);
    setAnalysisFunction(PrintSolutionInfo);
    FindBaryonAndLeptonBranes();
    resetAnalysisFunction();
    resetTraceFunction();
    closeStatFile(newSearch() ? 4 : 5);
    return 0;
}

} // namespace

void initializeZNX_SearchSM() {
    Params.Nfamily = intPointer("SM_search Nfamily");
    Params.NewSearch = intPointer("SM_search new_search");
    Params.NoFrac = intPointer("SM_search No_frac");
    Params.PatiSalam = intPointer("SM_search pati-salam");
    Params.CheckMoebius = intPointer("SM_search check_moebius");
    Params.RemoveIdentical = intPointer("Tadpole remove_identical");
    Params.TadpoleInfo = intPointer("Tadpole info_level");
    Params.OrientifoldInfo = intPointer("Orientifold info_level");
    Params.CurrentBulk = getCurrentBulk();
    State.TypeList = StdTypeList;
}

int SearchSM(int* SelType) {
    if (!superstringReading())
        return Type_IIB_Error(1);
    ProgressPrint("Standard Model Search Started\n");
    SearchData* SD = initStandardModelSearch();
    if (!SD)
        return 1;
    State.SD = SD;
    if (preselectionOutside(SD)) {
        clearPreselections();
        return 1;
    }
    return runSearch(SD, SelType);
}

int determineTypeList(int* SelType) {
    std::size_t n = 0;
    if (SelType)
        for (; n + 1 < State.TypeList.size() && SelType[n] != -1; n++)
            State.TypeList[n] = SelType[n];
    else
        for (; StdTypeList[n] != -1; n++)
            State.TypeList[n] = StdTypeList[n];
    State.TypeList[n] = -1;
    if (value(Params.PatiSalam, 0) == 0 && n > BasicTypeCount)
        State.TypeList[BasicTypeCount] = -1;
    std::string line = "Types considered: ";
    State.BasicTypesOnly = 1;
    for (int t : State.TypeList) {
        if (t == -1)
            break;
        line += std::to_string(t) + " ";
        const int base = t % 10;
        if (base >= 2 && base <= 5)
            State.BasicTypesOnly = 0;
    }
    Print("%s\n", line.c_str());
    return 0;
}

void analyseStandardModelType(int type) {
    State.PrefType = type;
    State.Quartets.clear();
    State.RHSs.clear();
    State.SolutionCountPerType = 0;
    analyseIntersectionPairs();
    if (State.Quartets.empty()) {
        Print("No quartets of type %d\n", State.PrefType);
    } else {
        const std::string hyphens(57, '-');
        Print("%s\n", hyphens.c_str());
        Print("Starting analysis of %d quartets of type %d\n",
              static_cast<int>(State.Quartets.size()), State.PrefType);
        Print("%s\n", hyphens.c_str());
        const int code = newSearch() ? 0 : registerPreviousSolutions(type);
        analyseQuartets(0, code);
        if (value(Params.NoFrac, 0) == 0) {
            analyseQuartets(1, code);
            analyseQuartets(2, code);
        }
    }
    for (const QuartetRow& q : State.Quartets)
        if (waitingForStage(q))
            Alert("analyseStandardModelType", 0, 212404, "Quartet not analysed\n");
    if (newSearch())
        writeStat(type);
}

const int* getTypeList() {
    return State.TypeList.data();
}
const int* getStdTypeList() {
    return StdTypeList.data();
}
int getBasicTypesOnly() {
    return State.BasicTypesOnly;
}
int getPreferredType() {
    return State.PrefType;
}

void IncStat(int n_ori, int n_type, int n_level, int) {
    const std::size_t at =
        static_cast<std::size_t>(n_ori) * StatPerOrientifold + n_type * StatCounters + n_level;
    if (n_ori >= 0 && n_type >= 0 && n_type < StatTypes && n_level >= 0 && n_level < StatCounters &&
        at < State.OrientifoldStatistics.size())
        State.OrientifoldStatistics[at]++;
}

int getStat(int o, int t, int k) {
    const std::size_t at = static_cast<std::size_t>(o) * StatPerOrientifold + t * StatCounters + k;
    if (o < 0 || t < 0 || t >= StatTypes || k < 0 || k >= StatCounters ||
        at >= State.OrientifoldStatistics.size())
        return 0;
    return State.OrientifoldStatistics[at];
}

void countSolution() {
    State.SolutionCountPerMIPF++;
    State.SolutionCountPerType++;
}
void countAbortedQuartet() {
    State.AbortCount++;
}
void countGlobalAnomaly() {
    State.GlobalAnomalyCount++;
}
int getSolutionCountPerMIPF() {
    return State.SolutionCountPerMIPF;
}
int getSolutionCountPerType() {
    return State.SolutionCountPerType;
}
int getAbortCount() {
    return State.AbortCount;
}
int getGlobalAnomalyCount() {
    return State.GlobalAnomalyCount;
}
void resetGlobalAnomalyCount() {
    State.GlobalAnomalyCount = 0;
}

void printSearchCriteria(FILE* ofp) {
    std::fprintf(ofp, value(Params.RemoveIdentical, 1) == 1 ? "Equivalent boundaries removed\n"
                                                            : "Equivalent boundaries kept\n");
    if (value(Params.CheckMoebius, 1) == 1)
        std::fprintf(ofp, "Moebius chirality check\n");
    if (value(Params.NoFrac, 0) == 1)
        std::fprintf(ofp, "No massless fractional charges allowed\n");
    std::fprintf(ofp, "Number of families searched for: %d\n", value(Params.Nfamily, 3));
}

void printOrientifoldsConsidered(const SearchData* SD) {
    Print("Orientifolds considered: \n");
    const int p = getOrientifoldPreselection();
    if (p >= 0 && p < SD->Ori) {
        Print("Nr. %d; Tension %15.7f\n", p, SD->OI[p]->Tension);
        return;
    }
    for (int o = 0; o < SD->Ori_eff; o++)
        Print("Nr. %d; Tension %15.7f\n", o, SD->OI[o]->Tension);
}
