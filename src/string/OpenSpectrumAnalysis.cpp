// The spectrum report of a brane configuration, or of the closed string alone.
#include "string/OpenSpectrumAnalysis.h"

#include "base/Error.h"
#include "base/Output.h"
#include "numeric/Sorting.h"
#include "store/StringData.h"
#include "string/OpenSpectrum.h"
#include "string/StringTheory.h"
#include "string/Tadpole.h"
#include "tensor/Branching.h"

#include <cstdio>

namespace {

const char* const Rule =
    "==========================================================================\n";

// The closed sector under the given reading of the closed string.
void closedReport(Heterotic* H, char side) {
    Print("Space-time dimension: %d\n", H->SpaceTimeDim);
    Print("\n>>>>>>>>> Closed sector\n\n");
    SusySides s;
    getSpaceTimeSymmetry(H, &s.ST, side);
    ClosedSectorAnalysis(&s.ST, H->SpaceTimeDim, nullptr);
}

// The fermions (class 1) and bosons (class 2) of the last open-sector report.
VectorSpace Fermions = declareVectorSpace("Fermions", 100);
VectorSpace Bosons = declareVectorSpace("Bosons", 100);

void openReport(Heterotic* H, ChanPatonData* CPD) {
    SusySides open;
    getSpaceTimeSymmetry(H, &open.ST, 'O');
    int nc = RepCnt(open.left.Type, open.left.Rank);
    Print("\n>>>>>>>>> Open sector\n\n");
    const int cy = CY_Check('I');
    if (cy == 1 && nc == 3)
        nc = 2; // only the 27, its conjugate being the antiparticle
    std::fflush(nullptr);
    std::printf("CY_Check: %d; Nrep: %d\n", cy, nc);
    std::fflush(stdout);
    for (int k = 1; k < nc; k++) {
        VectorSpace* rows = CollectOpenSectorRepresentations(CPD, k, &open.ST);
        PrintOpenSpectrum(rows, &open.ST, CPD, k);
        if (k == 1)
            copyVectorCollection(&Fermions, rows);
        else if (k == 2)
            copyVectorCollection(&Bosons, rows);
    }
    if (nc > 2)
        analyseNonSusySpectrum(&Fermions, &Bosons, CPD);
}

} // namespace

void initializeOpenSpectrum() {}

int GenericBosonicSpectrumAnalysis(ChanPatonData*, int) {
    Print("Bosonic open string spectrum analysis not yet built in\n");
    return 0;
}

int GenericSpectrumAnalysis(ChanPatonData* CPD, int mode) {
    if (!CPD && mode != 2) {
        Alert("GenericSpectrumAnalysis", 0, 100302, "Invalid mode");
        return 0;
    }
    if (!superstringReading()) {
        if (CPD)
            return GenericBosonicSpectrumAnalysis(CPD, mode);
        return 1; // no string data to read a closed sector from
    }
    Heterotic* H = getStringSpectrum(0);
    if (!H)
        return 1;
    if (!CPD) {
        closedReport(H, 'X');
        return 0;
    }
    if (H->SpaceTimeDim == 6)
        return SixDimensionalAnalysis(CPD);
    Print("\n%s", Rule);
    Print("        SPECTRUM ANALYSIS  \n");
    Print("%s", Rule);
    if (mode == 0 || mode == 2)
        closedReport(H, 'I');
    if (mode == 0 || mode == 1)
        openReport(H, CPD);
    if (mode == 3) {
        SusySides open;
        getSpaceTimeSymmetry(H, &open.ST, 'O');
        Print("\n>>>>>>>>> Open sector\n\n");
        DetailedGaugeSectorAnalysis(CPD, &open.ST);
        DetailedOpenSectorAnalysis(CPD, &open.ST);
    }
    Print("%s\n", Rule);
    return 0;
}
