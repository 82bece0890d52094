// The commands of the open-string labels. The labels exist once the command's hook has run; the
// boundary displays also need reflection coefficients, which an exceptional invariant has only
// once its boundaries were found.
#include "commands/CommandsBoundary.h"

#include "base/Error.h"
#include "base/Output.h"
#include "boundary/CrossBound.h"
#include "commands/Commands.h"
#include "commands/CommandsInternal.h"
#include "modular/Modular.h"

using commands::intArgument;

namespace {

// The guard of the commands that show boundaries; true after the refusal.
bool refuseWithoutBoundaries() {
    if (isRefCoefAvailable())
        return false;
    Alert("COM_browse_bound", 0, 100302, "Boundaries not available");
    return true;
}

// Every label without an argument, else the one given.
int showOneOrAll(void (*show)(int, int), int total, void** commands, int parnum) {
    if (parnum == 0) {
        show(0, total - 1);
    } else {
        const int a = intArgument(commands, 0);
        show(a, a);
    }
    return -parnum;
}

} // namespace

int COM_tot_ishi(void**, int) {
    Print("%d\n", TotalIshibashi());
    return 0;
}

int COM_tot_bnd(void**, int) {
    Print("%d\n", TotalBoundaries());
    return 0;
}

int COM_reset_bound(void**, int parnum) {
    resetBoundaries();
    return -parnum;
}

int COM_reset_open(void**, int parnum) {
    resetBulk();
    return -parnum;
}

int COM_reset_crosscap(void**, int parnum) {
    resetOrientifold();
    return -parnum;
}

int COM_check_complete(void**, int parnum) {
    if (refuseWithoutBoundaries())
        return 1;
    if (TotalIshibashi() != TotalBoundaries())
        Alert("COM_check_complete", 0, 212404, "Completeness violation");
    return -parnum;
}

int COM_browse_bulk(void** commands, int parnum) {
    return showOneOrAll(showIshibashiLabels, TotalIshibashi(), commands, parnum);
}

int COM_browse_bound(void** commands, int parnum) {
    if (refuseWithoutBoundaries())
        return 1;
    return showOneOrAll(showBoundaryLabels, TotalBoundaries(), commands, parnum);
}

int COM_browse_bound_det(void** commands, int parnum) {
    if (refuseWithoutBoundaries())
        return 1;
    showBoundaryLabelDetails(intArgument(commands, 0));
    return -parnum;
}

namespace {

const CommandDefinition boundaryCommands[] = {
    {"browse boundary", "(bound a)", COM_browse_bound,
     "Show boundary labels.\nWithout arguments: All boundaries are shown.\nWith argument \"a\": "
     "Boundary \"a\" is shown."},
    {"browse reps boundary", "[bound a]", COM_browse_bound_det,
     "Show boundary details about boundary labels.\n"},
    {"browse Ishibashi", "(Ishibashi a)", COM_browse_bulk,
     "Show Ishibashi labels.\nWithout arguments: All Ishibashi labels are shown.\nWith argument "
     "\"a\": Ishibashi label \"a\" is shown."},
    {"check completeness", "", COM_check_complete,
     "Check that number of Ishibashi labels equals\nnumber of boundaries."},
    {"total boundaries", "", COM_tot_bnd, "Return total number of boundary labels"},
    {"total ishibashi", "", COM_tot_ishi, "Return total number of Ishibashi labels"},
    {"reset boundary_search", "", COM_reset_bound,
     "Reset exceptional boundary coefficients to start new search."},
    {"reset bulk", "", COM_reset_open, "Reset bulk invariant and Klein bottle."},
    {"select diagonal_invariant", "", COM_reset_open,
     "Set bulk partition function to the diagonal invariant."},
};

const CommandDefinition orientifoldCommands[] = {
    {"reset Orientifold", "", COM_reset_crosscap, "Resets all crosscap_signs."},
};

} // namespace

void installBoundaryCommands() {
    addCommandFamily(CommandFamily::Boundary, boundaryCommands);
    addCommandFamily(CommandFamily::Orientifold, orientifoldCommands);
}
