// Until the spectrum of a configuration can be computed, every configuration counts as free of
// tachyons, local with respect to the supercurrents and non-chiral, and the reports say that they
// cannot be made yet.
#include "string/TadpoleSpectrumHooks.h"

#include "base/Output.h"

int checkCPDforTachyons(ChanPatonData*) {
    return 0;
}

void BulkSusyLocalityCheck(ChanPatonData*) {}

int checkSolutionChirality(ChanPatonData*) {
    return 0;
}

int GenericSpectrumAnalysis(ChanPatonData*, int) {
    Print("Spectrum of brane configurations not available yet\n");
    return 0;
}

void printParametrizedSolution(KernelData*, int, int*) {
    Print("Parametrized solution report not available yet\n");
}
