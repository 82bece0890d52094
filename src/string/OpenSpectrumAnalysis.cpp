// The spectrum report of a brane configuration, or of the closed string alone.
#include "string/OpenSpectrumAnalysis.h"

#include "base/Error.h"
#include "base/Output.h"
#include "store/StringData.h"
#include "string/StringTheory.h"
#include "string/Tadpole.h"
#include "tensor/Branching.h"

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
    Print("\n%s", Rule);
    Print("        SPECTRUM ANALYSIS  \n");
    Print("%s", Rule);
    if (mode == 0 || mode == 2)
        closedReport(H, 'I');
    Print("%s\n", Rule);
    return 0;
}
