// The commands of the tadpole conditions: the equations and their check, the Chan-Paton groups,
// and the fixed multiplicities of the observable sector.
#include "commands/CommandsTadpole.h"

#include "base/Error.h"
#include "base/Output.h"
#include "boundary/CrossBound.h"
#include "commands/Commands.h"
#include "commands/CommandsInternal.h"
#include "string/Tadpole.h"
#include "string/TadpoleBounds.h"
#include "string/TadpoleSolver.h"

#include <vector>

using commands::intArgument;
using commands::textArgument;

namespace {

int COM_reset_tad(void**, int parnum) {
    resetTadpoleKernel();
    initActiveBoundaries(-3);
    BoundarySelectionChanged();
    return -parnum;
}

int COM_browse_tad(void** params, int parnum) {
    printTadpoleEquations(parnum > 0 ? intArgument(params, 0) : -1);
    return -parnum;
}

int COM_browse_CP(void**, int parnum) {
    browseCP();
    return -parnum;
}

int COM_check_tad_sol(void** params, int parnum) {
    const int C = getTadcols();
    if (C < 1) {
        Alert("COM_check_tad_sol", 2, 100302, "Tadpole equations not available or inconsistent");
        return -1;
    }
    std::vector<int> loop(static_cast<std::size_t>(C) + 10, 0);
    for (int k = 0; k < parnum; k++) {
        int label = 0, value = 0;
        if (!commands::readAssignment(textArgument(params, k), &label, &value)) {
            Alert("COM_check_tad_sol", 0, 100302, "Invalid assignment: %s",
                  textArgument(params, k));
            return -1;
        }
        if (label < 0 || label > C - 2) {
            Alert("COM_check_tad_sol", 1, 100302, "Label %d out of range", label);
            return -1;
        }
        loop[static_cast<std::size_t>(label)] = value;
    }
    checkTadpoleSolution(loop.data());
    return -parnum;
}

int COM_fix_var(void** params, int parnum) {
    initActiveBoundaries(-3);
    for (int k = 0; k < parnum; k++) {
        int label = 0, value = 0;
        if (!commands::readAssignment(textArgument(params, k), &label, &value)) {
            Alert("COM_fix_var", 0, 100302, "Invalid assignment: %s\n", textArgument(params, k));
            return -1;
        }
        if (label < 0 || label >= TotalBoundaries()) {
            Alert("COM_fix_var", 1, 100302, "Label %d out of range", label);
            return -1;
        }
        if (!setFixVar(label, value)) {
            BoundarySelectionChanged();
            return 1;
        }
    }
    BoundarySelectionChanged();
    return -parnum;
}

bool boundaryInRange(const char* routine, int label) {
    if (label >= 0 && label < TotalBoundaries())
        return true;
    Alert(routine, 1, 100302, "Label %d out of range", label);
    return false;
}

// Fixes every entry "label:value" of params[first..parnum-1] and collects the multiplicities per
// boundary label; false after the refusal of a bad entry.
bool fixGivenLabels(void** params, int first, int parnum, std::vector<int>& ChanPaton) {
    ChanPaton.assign(static_cast<std::size_t>(TotalBoundaries()) + 10, 0);
    initActiveBoundaries(-2);
    for (int k = first; k < parnum; k++) {
        int label = 0, value = 0;
        if (!commands::readAssignment(textArgument(params, k), &label, &value)) {
            Alert("COM_check_tad", 0, 100302, "Invalid assignment: %s\n", textArgument(params, k));
            return false;
        }
        if (!boundaryInRange("COM_check_tad", label) || !setFixVar(label, value))
            return false;
        ChanPaton[static_cast<std::size_t>(label)] = value;
    }
    return true;
}

int reportCheck(int r) {
    if (r >= 0)
        return 0;
    Alert("COM_check_tad", 1, 112301, "Tadpole equations not available or inconsistent\n");
    return -1;
}

std::vector<int> ChanPatonCheck;
std::vector<int> ChanPatonInstanton;

int COM_check_tad(void** params, int parnum) {
    commands::KeepIdenticalBoundaries kept;
    if (!fixGivenLabels(params, 0, parnum, ChanPatonCheck))
        return -1;
    return reportCheck(CheckCPlabels(ChanPatonCheck.data())) < 0 ? -1 : -parnum;
}

int COM_check_tad_instanton(void** params, int parnum) {
    commands::KeepIdenticalBoundaries kept;
    const int instanton = intArgument(params, 0);
    if (!boundaryInRange("COM_check_tad_instanton", instanton))
        return -1;
    if (!fixGivenLabels(params, 1, parnum, ChanPatonInstanton))
        return -1;
    setActBound(instanton, 1);
    const int r = CheckCPlabelsWithProbe(ChanPatonInstanton.data(), instanton);
    return reportCheck(r) < 0 ? -1 : -parnum;
}

int COM_init_simple_stat(void** params, int parnum) {
    return initSimpleSolutionStatistics(intArgument(params, 0)) ? -parnum : 1;
}

int COM_browse_simple_stat(void**, int parnum) {
    printSimpleSolutionStatistics();
    return -parnum;
}

const char* currentModelName() {
    return CurrentCY.c_str();
}

const CommandDefinition tadpoleCommands[] = {
    {"reset tadpole", "", COM_reset_tad, "Reset tadpole conditions."},
    {"browse tadpole equations", "(non_neg_int nr.)", COM_browse_tad,
     "Display tadpole cancellation conditions for massless fields\nWith parameter: display eqn "
     "\"nr.\"."},
    {"browse CP", "", COM_browse_CP, "Show Chan-Paton labels and gauge groups."},
    {"check tadpole solution", "(entry_1)...(entry_n)", COM_check_tad_sol,
     "Check solution to the tadpole conditions.\nSyntax as for \"check CP\", but the labels refer "
     "to \"raw\"\nvariables in the tadpole equations (as shown by the command\n\"browse tadpole "
     "equations\").\n*** These labels are NOT equal to the CP-labels.*** \n"},
    {"check CP", "(entry_1)...(entry_n)", COM_check_tad,
     "Check if CP labels satisfy the tadpole conditions.\nEntry_i is of the form "
     "label:value.\nHere "
     "\"label\" refers to the Chan-Paton label \"n_label\",\nand \"value\" is the integer value "
     "assigned to it.\nThe labelling starts with n_0, and unassigned labels are set to zero.\nFor "
     "example \"check tadpole 0:1 17:2\"\nsets n_0 to 1, n_17 to 2,\nand all others to zero."},
    {"check CP_instanton", "[non_neg_int instanton](entry_1)...(entry_n)", COM_check_tad_instanton,
     "Check if CP labels satisfy the tadpole conditions,\nand show the intersection with boundary "
     "\"instanton\"\nEntry_i is of the form label:value.\nHere \"label\" refers to the Chan-Paton "
     "label \"n_label\",\nand \"value\" is the integer value assigned to it.\nThe labelling starts "
     "with n_0, and unassigned labels are set to zero.\nFor example \"check tadpole 0:1 "
     "17:2\"\nsets "
     "n_0 to 1, n_17 to 2,\nand all others to zero."},
    {"initialize simple_solution_stat", "[int maxbrane]", COM_init_simple_stat,
     "Initialize storage space for simple tadpole solution statistics.\n\"maxbrane\" is the "
     "maximal "
     "number of participating branes."},
    {"browse stat_simplesol", "", COM_browse_simple_stat,
     "Browse simple tadpole solution statistics"},
    {"fix CPmult", "(entry_1)...(entry_n)", COM_fix_var,
     "fix Chan-Paton multiplicity. Entries have the form label:value.\nHere label is any valid "
     "boundary label. When the tadpole\nequations are solved these labels are kept fixed.\nFor "
     "boundary conjugates the fixed values are set automatically.\nAll variable fixings must be "
     "specified in a single command;\nA second command overrides the first, and \"fix CPmult\"\n"
     "without parameters unfixes all CP multiplicities\nThe set of fixed variables is also called "
     "the \"Observable Sector\"."},
};

} // namespace

void installTadpoleCommands() {
    addCommandFamily(CommandFamily::Tadpole, tadpoleCommands);
    setModelNameHook(currentModelName);
    installTadpoleSolveCommands();
}
