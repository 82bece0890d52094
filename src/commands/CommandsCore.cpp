#include "commands/CommandsInternal.h"

#include "base/Error.h"
#include "base/Output.h"
#include "base/Parameters.h"

#include <climits>

ModeType* SingleAlgebraMode = nullptr;
ModeType* TensorMode = nullptr;
ModeType* ModularMode = nullptr;
ModeType* BoundaryMode = nullptr;

int Spectrum_Computed = 0;
int massless_only = 0;
std::string CurrentCY = "UNDEFINED";

namespace commands {

int* maxrank = nullptr;
int* DoublePrecision = nullptr;
int* super = nullptr;
int* AutoStore = nullptr;
int* RemoveId = nullptr;
int* TerminalInput = nullptr;
int* ZNX = nullptr;
int* MaxConf = nullptr;
int* NF = nullptr;
int* SM = nullptr;
BulkInvariant** CurrentBulkPointer = nullptr;
int Susic = 0;

} // namespace commands

using namespace commands;

namespace {

int LastType = -2;
int MaxPrimaries = INT_MAX;

int* lookUp(const char* name) {
    return static_cast<int*>(getIntParPointer(name));
}

// The block types with modular data: the untwisted ones, B-tilde and their permutation
// orbifolds. A negative code is a conjugate theory, which has none.
bool hasModularData(int type) {
    if (type < 0)
        return false;
    if (type % 1000 <= 10)
        return true;
    return type == 13 || type == 26 || type % 1000 == 27;
}

void resetTheoryData() {
    resetAlgebraRequirements();
    resetInvariantStore();
    resetSelectionCriteria();
}

// The current invariant of a newly computed theory is its diagonal one: it is stored silently
// as the first automatic name.
void storeCurrentBulkInvariant() {
    if (!CurrentBulkPointer)
        CurrentBulkPointer = getCurrentBulk();
    storeBulkInvariant(nullptr, *CurrentBulkPointer, 1, 0);
}

} // namespace

// ============================================================ The current theory

namespace commands {

int cosetSwitch() {
    return getCosetMode();
}

int totalPrimaries() {
    return getTotalPrimaries();
}

int totalCurrents() {
    return getTotalCurrents();
}

void setMode(ModeType* mode, int on) {
    if (mode)
        switchMode(mode, on);
}

} // namespace commands

int* unlimitedPrimaries() {
    return &MaxPrimaries;
}

// ============================================================ Mode switches

void enableModular() {
    if (cosetSwitch() == 0 && getCurrentSD()) {
        const int type = getCurrentSD()->type;
        if (!hasModularData(type)) {
            if (type > 10)
                Print("No modular data are available for this algebra\n");
            return;
        }
    }
    setMode(ModularMode, 1);
    Spectrum_Computed = 1;
    CFTChanged();
    storeCurrentBulkInvariant();
    setMode(BoundaryMode, 1);
}

void disableModular() {
    resetTheoryData();
    setMode(ModularMode, 0);
    setMode(BoundaryMode, 0);
    Spectrum_Computed = 0;
}

void disableModularVerbose() {
    if (TotalInvariants() > 0)
        Alert("disableModularVerbose", 0, 100201,
              "All previous modular data and stored MIPFs are erased\n");
    disableModular();
}

void enableCoset() {
    setMode(TensorMode, 1);
    setMode(SingleAlgebraMode, 0);
    setMode(ModularMode, 0);
    setMode(BoundaryMode, 0);
}

void disableCoset() {
    resetTheoryData();
    Spectrum_Computed = 0;
    setMode(TensorMode, 0);
    setMode(SingleAlgebraMode, 1);
    setMode(ModularMode, 0);
    setMode(BoundaryMode, 0);
}

void InitializeOpenStrings() {
    if (ModularMode && ModularMode->enabled)
        Alert("InitializeOpenStrings", 0, 212404,
              "Unexpected call of function InitializeOpenStrings");
    else
        Alert("InitializeOpenStrings", 1, 100302, "%s",
              ModularMode ? ModularMode->message : "No modular data");
}

// ============================================================ Other operations

int PreviousType() {
    const int previous = LastType;
    LastType = -1;
    return previous;
}

void setLimits(int value, int* min, int* max) {
    *min = value;
    *max = value;
}

// ============================================================ Parameter pointers

void initializeCommandPointers() {
    maxrank = lookUp("Maxrank");
}

void initializeCommandParameters() {
    DoublePrecision = lookUp("High_precision");
    super = lookUp("Super");
    AutoStore = lookUp("Autostore");
    RemoveId = lookUp("Tadpole remove_identical");
    TerminalInput = lookUp("interactive");
    ZNX = lookUp("ZNX_VERSION");
    MaxConf = lookUp("Tadpole maxconf");
    NF = lookUp("Heterotic factors");
    SM = lookUp("Particle factors");
    CurrentBulkPointer = getCurrentBulk();
}
