// What the files of the quartet search share: its parameters, the search-wide state of one run
// and the steps that the construction and the stages supply.
#pragma once

#include <array>
#include <vector>

struct BulkInvariant;
struct ChanPatonData;
struct SearchData;

namespace quartet {

// Parameter pointers bound at start-up; null until then, read as the registered defaults.
struct Parameters {
    int* Nfamily = nullptr;
    int* NewSearch = nullptr;
    int* NoFrac = nullptr;
    int* PatiSalam = nullptr;
    int* CheckMoebius = nullptr;
    int* RemoveIdentical = nullptr;
    int* TadpoleInfo = nullptr;
    int* OrientifoldInfo = nullptr;
    BulkInvariant** CurrentBulk = nullptr;
};
const Parameters& parameters();
int value(const int* p, int fallback);

inline constexpr int TypeSlots = 17;
inline constexpr int StatTypes = 20;
inline constexpr int StatCounters = 8;
inline constexpr int StatPerOrientifold = StatTypes * StatCounters;
inline constexpr int QuartetFields = 18;

using QuartetRow = std::array<int, QuartetFields>;

// The one run's state; the driver owns it.
struct SearchState {
    SearchData* SD = nullptr;
    std::array<int, TypeSlots> TypeList{};
    int BasicTypesOnly = 1;
    int PrefType = -1;
    int SolutionCountPerMIPF = 0;
    int SolutionCountPerType = 0;
    int AbortCount = 0;
    int GlobalAnomalyCount = 0;
    int READ_OLD = 0;
    int ACCEPTED = 0;
    int EquationCount = 0;
    const int* ActiveEquations = nullptr;
    int Nvar = 0;
    // One row per quartet of the type in hand, with its tadpole value beside it.
    std::vector<QuartetRow> Quartets;
    std::vector<double> RHSs;
    // StatPerOrientifold counters per orientifold of the context.
    std::vector<int> OrientifoldStatistics;
};
SearchState& state();

// The status field of a quartet row, and the statuses that still wait for a stage.
inline constexpr int StatusField = 16;
inline bool waitingForStage(const QuartetRow& q) {
    return q[StatusField] >= 0 && q[StatusField] <= 2;
}

// The invariant number of a name "Invariant_N": the text after its first ten characters, empty
// for a shorter or missing name.
const char* invariantSuffix(const BulkInvariant* bi);

// ---- Steps of the construction and the stages ----
// Builds the pair tree, then analyses each type of the list; 0.
int FindBaryonAndLeptonBranes();
// Builds the quartets of the preferred type into the quartet table.
void analyseIntersectionPairs();
// Runs one stage over the quartets of the table.
void analyseQuartets(int stage, int code);
// Registers the solutions of earlier runs of this type; the resume code of the stages.
int registerPreviousSolutions(int type);
// The tadpole solver's analysis callback while the search runs.
int PrintSolutionInfo(ChanPatonData* CPD);

} // namespace quartet
