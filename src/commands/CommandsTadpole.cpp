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
        setFixVar(label, value);
    }
    BoundarySelectionChanged();
    return -parnum;
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
}
