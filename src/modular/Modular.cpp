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

namespace {

// The spectrum table of the current theory and its row object; false when there is none.
bool currentTable(const char** table, void** row) {
    if (getCosetMode() == 1) {
        *table = "TensorSpectrum";
        *row = getCurrentTensor();
        return true;
    }
    *table = "Spectrum";
    *row = currentBlock();
    return *row != nullptr;
}

} // namespace

void printSpectrum(int min, int max, int first) {
    const char* table = nullptr;
    void* row = nullptr;
    if (!currentTable(&table, &row))
        return;
    const bool toTerminal = OutputStatus() != 0;
    if (toTerminal)
        printTable(table, min, max, 1 - first, first, row, stdout);
    // The repeat print reuses the text just made; without a terminal print there is none, so
    // the file then gets the rows made afresh.
    if (FILE* out = getOutputFile())
        printTable(table, min, max, 1 - first, toTerminal ? 2 : first, row, out);
}

void MOD_printSpectrum(int min, int max, FILE* ofp) {
    const char* table = nullptr;
    void* row = nullptr;
    if (currentTable(&table, &row))
        printTable(table, min, max, 0, 0, row, ofp);
}
