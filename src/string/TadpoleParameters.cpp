#include "base/Output.h"
#include "base/Parameters.h"
#include "base/Terminal.h"
#include "string/Tadpole.h"
#include "string/TadpoleInternal.h"

int SingleSolution = 1;
int SimplestOnly = 0;
int FullSol = 0;

namespace {

int CriteriaPrinted = 0;
int BoundarySelectionCounter = 0;

// Terminal lines go through Print, file lines straight into the file.
template <typename... A> void criteriaLine(FILE* ofp, const char* fmt, A... args) {
    if (ofp == stdout)
        Print(fmt, args...);
    else
        std::fprintf(ofp, fmt, args...);
}

void setSolverFlags() {
    static constexpr int flags[4][3] = {{1, 1, 0}, {0, 1, 0}, {1, 0, 0}, {0, 0, 1}};
    const int c = tadpole::parameter("Tadpole completeness");
    if (c < 0 || c > 3)
        return;
    SingleSolution = flags[c][0];
    SimplestOnly = flags[c][1];
    FullSol = flags[c][2];
}

} // namespace

namespace tadpole {

int parameter(const char* name) {
    return findInternalParameter(name) ? *static_cast<int*>(getIntParPointer(name)) : 0;
}

void debugLine(const char* text) {
    if (parameter("Init_debug") == 1)
        ProgressPrint("##init: %s", text);
}

} // namespace tadpole

void initializeTadpole() {
    CriteriaPrinted = 0;
}

void printTadpoleCriteria(FILE* ofp) {
    setSolverFlags();
    const bool terminal = ofp == stdout;
    if (SimplestOnly)
        criteriaLine(ofp, "Simplest solutions only.\n");
    if (tadpole::parameter("Tadpole remove_identical"))
        criteriaLine(ofp, "Identical boundaries are skipped.\n");
    else
        criteriaLine(ofp, terminal ? "No removal of identical boundaries.\n"
                                   : "No removal ofidentical boundaries.\n");
    criteriaLine(ofp, SingleSolution ? "Loops stopped after first solution.\n"
                                     : "Loop search continued after first solution.\n");
    criteriaLine(ofp, FullSol ? "Print full, parametrized solution.\n"
                              : "Do not print parametrized solution.\n");
    static constexpr const char* switches[][2] = {
        {"Tadpole unitary_groups_only", "Only unitary CP groups are allowed.\n"},
        {"Tadpole orthogonal_groups_only", "Only orthogonal CP groups are allowed.\n"},
        {"Tadpole symplectic_groups_only", "Only symplectic CP groups are allowed.\n"},
        {"Tadpole require_confinement", "OH confinement required\n"},
        {"Tadpole real_groups_only", "Only real CP groups are allowed.\n"}};
    for (const auto& s : switches)
        if (tadpole::parameter(s[0]))
            criteriaLine(ofp, s[1]);
    criteriaLine(ofp, "In SM-Hidden sector search: \n");
    switch (tadpole::parameter("Tadpole allow_OH_matter")) {
    case 0:
        criteriaLine(ofp, "   No Observable-Hidden matter allowed.\n");
        break;
    case 1:
        criteriaLine(ofp, "   No chiral Observable-Hidden matter allowed.\n");
        break;
    case 2:
        criteriaLine(ofp, "   No chiral Observable-Hidden matter allowed\nfor complex observable "
                          "branes.\n");
        break;
    default:
        criteriaLine(ofp, "   Unrestricted tadpole solution search (allowing chiral OH-matter)\n");
    }
}

void printTadpoleCriteriaOnce() {
    if (CriteriaPrinted)
        return;
    printTadpoleCriteria(stdout);
    CriteriaPrinted = 1;
}

int criteriaPrinted() {
    return CriteriaPrinted;
}

void tadpoleSearchParametersChanged() {
    tadpole::debugLine("tadpole search parameters changed\n");
    CriteriaPrinted = 0;
}

void BoundarySelectionCriteriaChanged() {
    tadpole::debugLine("Boundary selection criteria changed\n");
    tadpole::resetSelection();
    BoundarySelectionCounter++;
    CriteriaPrinted = 0;
}

void BoundarySelectionChanged() {
    tadpole::debugLine("Boundary selection changed\n");
    BoundarySelectionCounter++;
}

void tadpole::selectionChanged() {
    BoundarySelectionCounter++;
}

int getBoundarySelectionCounter() {
    return BoundarySelectionCounter;
}
