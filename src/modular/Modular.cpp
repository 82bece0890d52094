#include "modular/Modular.h"

#include "modular/ModularInternal.h"

#include "base/Error.h"
#include "base/Output.h"
#include "base/Tables.h"
#include "store/Storemanager.h"
#include "tensor/Coset.h"

namespace {

char noName[] = "";

} // namespace

char* getCFTname() {
    if (getCosetMode() == 1)
        return getTensorCode(getCurrentTensor());
    SpectrumData* sd = currentBlock();
    return sd ? SM_getAlgebraName(sd) : noName;
}

double Central_Charge() {
    if (getCosetMode() == 1)
        return cosetCentralCharge(getCurrentTensor());
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
