// The commands of the orientifold list: building and printing it, selecting an entry, naming the
// class of the current choice, and the two counts of the Default mode.
#include "commands/CommandsUnoriented.h"

#include "base/Error.h"
#include "base/Output.h"
#include "boundary/CrossBound.h"
#include "commands/Commands.h"
#include "commands/CommandsInternal.h"
#include "interpreter/Interpreter.h"
#include "modular/Invariants.h"
#include "modular/Modular.h"

using commands::intArgument;

namespace {

// The counts run in the Default mode without the Boundary mode's hook: the unoriented set-up
// first, and no orientifolds without modular data (the Boundary mode is off), for an invariant
// that has no list (not a symmetric simple-current invariant), or when the set-up fails.
int countAfterSetUp(int (*count)()) {
    if (!BoundaryMode || !BoundaryMode->enabled || !MOD_isValidCFT())
        return 0;
    const BulkInvariant* bi = *getCurrentBulk();
    if (!bi->simpleCurrentInvariant || bi->symmetric != 1 || initializeOpenString() != 0)
        return 0;
    return count();
}

} // namespace

int COM_browse_orientifolds(void**, int parnum) {
    if (refuseNonSymmetricInvariant())
        return 1;
    loadOrientifolds();
    printOrientifoldList();
    return -parnum;
}

int COM_compute_orientifolds(void**, int parnum) {
    collectOrientifolds();
    return -parnum;
}

int COM_select_orientifold(void** commands, int parnum) {
    const int n = loadOrientifolds();
    const int i = intArgument(commands, 0);
    if (i < 0 || i >= n) {
        Alert("COM_compute_orientifolds", 0, 100302, "Orientifold nr. out of range");
        return 1;
    }
    setStoredOrientifold(i);
    return -parnum;
}

int COM_identify_orientifold(void**, int parnum) {
    if (refuseNonSymmetricInvariant())
        return 1;
    OrientifoldInfo* current = getCurrentOrientifold();
    loadOrientifolds();
    const int c = matchToNewOrientifoldList(current);
    if (c < 0)
        Print("Orientifold not found\n");
    else
        Print("Equivalence class %d\n", c);
    return -parnum;
}

int COM_tot_ori_eff(void**, int) {
    Print("%d\n", countAfterSetUp(TotalOrientifoldsWithTension));
    return 0;
}

int COM_tot_ori(void**, int) {
    Print("%d\n", countAfterSetUp(TotalOrientifolds));
    return 0;
}

namespace {

const CommandDefinition listCommands[] = {
    {"browse Orientifolds", "", COM_browse_orientifolds, "List all orientifolds."},
    {"identify Orientifold", "", COM_identify_orientifold,
     "Find equivalence class of the current orientifold."},
    {"collect orientifolds", "", COM_compute_orientifolds,
     "load all distinct simple-current orientifolds.\n"},
    {"select orientifold", "[non_neg_int i]", COM_select_orientifold,
     "Select one of the allowed orientifolds"},
    {"Total Orientifolds", "", COM_tot_ori_eff,
     "Total number of orientifolds with non-zero tension"},
    {"Total All_orientifolds", "", COM_tot_ori,
     "Total number of orientifolds including zero tension"},
};

} // namespace

void installOrientifoldListCommands() {
    addCommandFamily(CommandFamily::Orientifold, listCommands);
}
