#include "search/SearchSM.h"

#include "base/Output.h"
#include "base/Parameters.h"
#include "boundary/CrossBound.h"
#include "string/Intersections.h"
#include "string/SearchPreselection.h"
#include "string/SearchSetup.h"
#include "string/StringTheory.h"

namespace {

int intParameter(const char* name) {
    const int* p = static_cast<const int*>(getIntParPointer(name));
    return p ? *p : 0;
}

void printTensions(const SearchData* SD) {
    Print("Orientifolds considered: \n");
    const int p = getOrientifoldPreselection();
    if (p >= 0) {
        Print("Nr. %d; Tension %15.7f\n", p, SD->OI[p]->Tension);
        return;
    }
    for (int o = 0; o < SD->Ori_eff; o++)
        Print("Nr. %d; Tension %15.7f\n", o, SD->OI[o]->Tension);
}

} // namespace

// The global anomalies and the pair tree of the searches are not built yet; until they are, the
// texts, the usable boundaries and the rank-two tensor tables are prepared.
int initSearchMemory() {
    if (!superstringReading())
        return Type_IIB_Error(1);
    SearchData* SD = initStandardModelSearch();
    if (!SD)
        return 1;
    if (intParameter("Orientifold info_level") != 0)
        printTensions(SD);
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
    return 0;
}
