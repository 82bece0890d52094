// Stand-ins for the hidden-sector stages and the solution files, which are not built yet: each
// type's quartets are closed as aborted, so the statistics stay consistent.
#include "base/Output.h"
#include "search/ZNX_SearchInternal.h"
#include "search/ZNX_SearchSM.h"

namespace quartet {

void analyseQuartets(int stage, int) {
    if (stage != 0)
        return;
    Print("Hidden-sector stages not built yet\n");
    for (QuartetRow& q : state().Quartets) {
        if (!waitingForStage(q))
            continue;
        q[StatusField] = 5;
        IncStat(q[4], q[5], 5, 0);
        countAbortedQuartet();
    }
}

int registerPreviousSolutions(int) {
    return 0;
}

// Accepts as the solver's default analysis does.
int PrintSolutionInfo(ChanPatonData*) {
    return 1;
}

} // namespace quartet
