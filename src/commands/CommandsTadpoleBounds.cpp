// The commands of the bounds and kernel of the tadpole system, and the line that reports a
// solver's result.
#include "base/Error.h"
#include "base/Output.h"
#include "commands/Commands.h"
#include "commands/CommandsInternal.h"
#include "commands/CommandsTadpole.h"
#include "string/Tadpole.h"
#include "string/TadpoleBounds.h"

#include <vector>

using commands::intArgument;
using commands::textArgument;

void manageDiophantineCode(int rc) {
    if (rc >= 0)
        Print("Tadpole equations not (yet) solved.\n");
    else if (rc == -1)
        Print("No solution to the tadpole conditions was found.\n");
    else if (rc == -2)
        Print("Search interrupted\n");
    else if (rc == -3)
        Print("Try \"solve tadpole loops\"\n");
    else if (rc == -4)
        Print("Tadpole conditions solved.\n");
    else
        Print("%d tadpole solutions found\n", -3 - rc);
}

namespace {

int COM_solve_bounds(void** params, int parnum) {
    const int interrupt = parnum > 0 ? intArgument(params, 0) : 60;
    const int rc = ImproveTadpoleBounds(interrupt, 1);
    if (rc >= 0 || rc == -3)
        PrintLoopLength();
    manageDiophantineCode(rc);
    return -parnum;
}

int COM_browse_tad_ker(void**, int parnum) {
    printTadpoleKernel();
    return -parnum;
}

int COM_browse_tad_bounds(void**, int parnum) {
    printTadpoleBounds();
    return -parnum;
}

int COM_check_tad_parm(void** params, int parnum) {
    commands::KeepIdenticalBoundaries keep;
    if (getTadcols() < 1) {
        Alert("COM_check_tad_parm", 2, 100302, "Tadpole equations not available or inconsistent");
        return -1;
    }
    const int P = getMaxPar();
    std::vector<int> parms(static_cast<std::size_t>(P) + 10, 0);
    for (int k = 0; k < parnum; k++) {
        int label = 0, value = 0;
        if (!commands::readAssignment(textArgument(params, k), &label, &value)) {
            Alert("COM_check_tad_parm", 0, 100302, "Invalid assignment: %s\n",
                  textArgument(params, k));
            return -1;
        }
        if (label < 0 || label >= P) {
            Alert("COM_check_tad_parm", 1, 100302, "Parameter %d out of range", label);
            return -1;
        }
        parms[static_cast<std::size_t>(label)] = value;
    }
    checkTadpoleParameters(parms.data());
    return -parnum;
}

const CommandDefinition boundCommands[] = {
    {"browse tadpole kernel", "", COM_browse_tad_ker, "Display tadpole kernel vectors."},
    {"browse tadpole bounds", "", COM_browse_tad_bounds,
     "Display tadpole upper and lower boundaries."},
    {"check tadpole parameters", "(entry_1)...(entry_n)", COM_check_tad_parm,
     "Check solution to the tadpole conditions that is obtained\nby setting the parameters to "
     "selected values\nEntry_i is of the form label:value.\nHere \"label\" refers to the "
     "parameter \"N_label\",\nand \"value\" is the integer value assigned to it.\n"},
    {"solve tadpole bounds", "(pos_int interrupt)", COM_solve_bounds,
     "Attempt to solve tadpole conditions by reducing bounds\nPause after \"interrupt\" seconds "
     "(default 60)."},
};

} // namespace

void installTadpoleBoundCommands() {
    addCommandFamily(CommandFamily::Tadpole, boundCommands);
}
