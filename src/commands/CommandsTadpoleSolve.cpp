// The commands that solve the tadpole conditions, each ending with one line on the result.
#include "base/Error.h"
#include "base/Output.h"
#include "boundary/CrossBound.h"
#include "commands/Commands.h"
#include "commands/CommandsInternal.h"
#include "commands/CommandsTadpole.h"
#include "modular/Modular.h"
#include "numeric/MathUtility.h"
#include "string/SearchSetup.h"
#include "string/Tadpole.h"
#include "string/TadpoleBounds.h"
#include "string/TadpoleSolver.h"

using commands::intArgument;

namespace {

int optionalArgument(void** params, int parnum, int fallback) {
    return parnum > 0 ? intArgument(params, 0) : fallback;
}

int COM_solve_tad(void**, int parnum) {
    initSMATRIX();
    manageDiophantineCode(SolveTadpoleConditions(-1, -1, -1));
    return -parnum;
}

int COM_solve_tad_scb(void**, int parnum) {
    resetTadpoleKernel();
    initSMATRIX();
    manageDiophantineCode(SolveSimpleCurrentTadpoleConditions());
    return -parnum;
}

int COM_solve_kernel(void** params, int parnum) {
    manageDiophantineCode(
        SolveTadpoleConditionsUsingKernel(optionalArgument(params, parnum, 10000)));
    return -parnum;
}

int COM_solve_loops(void** params, int parnum) {
    manageDiophantineCode(SolveTadpoleConditionsUsingLoops(optionalArgument(params, parnum, 60)));
    return -parnum;
}

// Without a brane number: one, two, ... branes while the number of boundary choices stays below
// "Tadpole maxconf" million.
void solveWithGrowingBraneNumber() {
    const int L = getNumberOfLoopVariables();
    const double limit = *commands::MaxConf * 1000000.0;
    for (int k = 1; k <= L && k < 100000 && binomialD(TotalBoundaries(), k) < limit; k++) {
        Print("Trying %d brane configuration\n", k);
        if (findTadpoleSolutionsWithNbranes(k) == -2) {
            Print("Solution explosion; aborted\n");
            break;
        }
    }
}

int COM_solve_tad_simple(void** params, int parnum) {
    if (parnum > 0 && intArgument(params, 0) < 1) {
        Alert("COM_solve_tad_simple", 0, 100302, "Number of branes %d out of range",
              intArgument(params, 0));
        return -1;
    }
    if (getTadpoleEquations() < 0)
        return -parnum;
    initStandardModelSearch();
    setAnalysisFunction(simpleSolutionStatistics);
    initSimpleSolutionStatisticsPerCase(20);
    if (parnum > 0)
        findTadpoleSolutionsWithNbranes(intArgument(params, 0));
    else
        solveWithGrowingBraneNumber();
    // Later searches record nothing unless they ask for it.
    resetAnalysisFunction();
    printSimpleSolutionStatisticsPerCase();
    return -parnum;
}

const CommandDefinition solveCommands[] = {
    {"solve tadpole", "", COM_solve_tad, "Attempt to solve tadpole conditions."},
    {"solve tadpole SCB", "", COM_solve_tad_scb,
     "Attempt to solve tadpole conditions using only simple current boundaries."},
    {"solve tadpole kernel", "(pos_int max_loop)", COM_solve_kernel,
     "Attempt to solve tadpole conditions by determining kernel\nGive up after \"max_loop\" "
     "candidates per CP label (default 10000)."},
    {"solve tadpole loops", "(pos_int interrupt)", COM_solve_loops,
     "Attempt to solve tadpole conditions using diophantine loops\nPause after \"interrupt\" "
     "seconds (default 60)."},
    {"solve tadpole simple", "(int Nbrane)", COM_solve_tad_simple,
     "Attempt to solve tadpole conditions with \"Nbrane\" branes.\nWithout argument: attempt to "
     "solve the tadpole conditions with\n\"N\" branes, where \"N\" is such that the the total "
     "number\nof combinations does not exceed a certain maximum.\nThe maximum can be set by the "
     "command \"set tadpole maxconf\"."},
};

} // namespace

void installTadpoleSolveCommands() {
    addCommandFamily(CommandFamily::Tadpole, solveCommands);
}
