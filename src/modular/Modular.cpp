#include "modular/Modular.h"

#include "main/ControlUtility.h"
#include "runtime/Error.h"
#include "runtime/Output.h"
#include "runtime/Tables.h"
#include "store/Storemanager.h"

namespace {

char noName[] = "";

// The building block when it is the current theory, else null.
SpectrumData* currentBlock() {
    return KMCosetSwitch == 0 ? currentSD : nullptr;
}

} // namespace

char* getCFTname() {
    SpectrumData* sd = currentBlock();
    return sd ? SM_getAlgebraName(sd) : noName;
}

double Central_Charge() {
    SpectrumData* sd = currentBlock();
    return sd ? SM_getCentralCharge(sd) : 0.0;
}

void printSpectrum(int min, int max, int first) {
    SpectrumData* sd = currentBlock();
    if (!sd)
        return;
    const bool toTerminal = OutputStatus() != 0;
    if (toTerminal)
        printTable("Spectrum", min, max, 1 - first, first, sd, stdout);
    // The repeat print reuses the text just made; without a terminal print there is none, so
    // the file then gets the rows made afresh.
    if (FILE* out = getOutputFile())
        printTable("Spectrum", min, max, 1 - first, toTerminal ? 2 : first, sd, out);
}

void MOD_printSpectrum(int min, int max, FILE* ofp) {
    if (SpectrumData* sd = currentBlock())
        printTable("Spectrum", min, max, 0, 0, sd, ofp);
}
