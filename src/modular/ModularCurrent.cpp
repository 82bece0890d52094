// Which theory is current: the one record of the switch between the building block and the
// tensor product, the current block and the counts of its fields and simple currents. Every
// question about the current theory starts here.
#include "modular/Modular.h"
#include "modular/ModularInternal.h"

#include "store/Storemanager.h"

namespace {

// 0 while the building block currentSD is the current theory, 1 while the tensor product is.
int KMCosetSwitch = 0;
SpectrumData* currentSD = nullptr;
// The counts the totals read: the current block's own fields, or what a tensor product set.
int* TotalPrimaries = nullptr;
int* TotalCurrents = nullptr;

} // namespace

int getCosetMode() {
    return KMCosetSwitch;
}

void setCosetMode(int mode) {
    if (mode != KMCosetSwitch)
        modular_internal::theoryReplaced();
    KMCosetSwitch = mode;
}

SpectrumData* getCurrentSD() {
    return currentSD;
}

SpectrumData* currentBlock() {
    return KMCosetSwitch == 0 ? currentSD : nullptr;
}

void setCurrentSD(SpectrumData* sd) {
    if (sd != currentSD)
        modular_internal::theoryReplaced();
    currentSD = sd;
    if (KMCosetSwitch == 1 || !sd)
        return;
    TotalPrimaries = &sd->Nprimaries;
    TotalCurrents = sd->SimpleCurrents ? &sd->SimpleCurrents->Order : nullptr;
}

void setCurrentTotals(int* primaries, int* currents) {
    TotalPrimaries = primaries;
    TotalCurrents = currents;
}

int getTotalPrimaries() {
    return TotalPrimaries ? *TotalPrimaries : 0;
}

int getTotalCurrents() {
    return TotalCurrents ? *TotalCurrents : 0;
}

void initializeAlgebra() {
    currentSD = SM_getData(1, 0, 0);
    TotalPrimaries = currentSD ? &currentSD->Nprimaries : nullptr;
}

void setAlgebraView(int, int, int) {}

void setCurrentSliders(int) {}
