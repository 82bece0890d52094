#include "search/SearchSM.h"

#include "base/Output.h"
#include "search/ZNX_Quartets.h"
#include "search/ZNX_SearchInternal.h"
#include "search/ZNX_SearchSM.h"
#include "string/Anomalies.h"
#include "string/Intersections.h"
#include "string/SearchPreselection.h"
#include "string/SearchSetup.h"
#include "string/StringTheory.h"

int initSearchMemory() {
    if (!superstringReading())
        return Type_IIB_Error(1);
    SearchData* SD = initStandardModelSearch();
    if (!SD)
        return 1;
    if (quartet::value(quartet::parameters().OrientifoldInfo, 0) != 0)
        printOrientifoldsConsidered(SD);
    resetGlobalAnomalyCount();
    if (CY_Check('B') == 0)
        Print("Non-chiral bulk extension\n");
    if (CY_Check('I') == 0)
        return 0;
    if (SD->bndcnt <= 4) {
        Print("Too few usable boundaries (%d)\n", SD->bndcnt);
        return 0;
    }
    Print("Number of usable boundaries: %d (out of %d)\n", SD->bndcnt, SD->Bnd);
    getTwoFormLabels();
    int unused = 0;
    CheckChirality(0, 0, 0, &unused, &unused, &unused);
    quartet::freeIntersectionPairs();
    loadGlobalAnomalies(2);
    return 0;
}
