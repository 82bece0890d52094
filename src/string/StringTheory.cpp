#include "string/StringTheory.h"

#include "base/Error.h"
#include "base/Output.h"
#include "base/Parameters.h"
#include "modular/Modular.h"
#include "numeric/MathUtility.h"
#include "store/Storemanager.h"
#include "store/StringData.h"
#include "string/StringTheoryInternal.h"
#include "tensor/Coset.h"

#include <cmath>

namespace {

// Looked up at each use: start-up registers the parameters after this module.
int intParameter(const char* name) {
    return findInternalParameter(name) ? *static_cast<int*>(getIntParPointer(name)) : 0;
}

int requestedDimension() {
    return intParameter("Dimension");
}

Heterotic* switchOffSuper(const char* text) {
    Print("%s", text);
    setIntPar("Super", 0);
    return nullptr;
}

} // namespace

int superstringReading() {
    return intParameter("Super");
}

void initializeStringTheory() {
    setSuperstringDimensionRule(getSuperstringSpaceTimeDimension);
    initializeTachyonCheck();
}

int getSuperstringSpaceTimeDimension(Heterotic* H, int silent) {
    getTensorFactor(getCurrentTensor(), 0);
    const double c = Central_Charge();
    int d = 0;
    if (!DoubleToInteger(26.0 - c, &d)) {
        if (!silent)
            Alert("getConformalSpaceTimeDimension", 1, 100302,
                  "Non-integer space-time dimension: %30.15f", 26.0 - c);
        return 1;
    }
    if (d < 0)
        return 1;
    int D = requestedDimension();
    if (D == 0 || D > H->CovLatDim)
        D = H->CovLatDim;
    H->SpaceTimeDim = D;
    if (d == D) {
        H->ImplicitE8 = 0;
        return 0;
    }
    if (d - D == 8) {
        if (!silent)
            Alert("getSuperstringSpaceTimeDimension", 1, 100218, "Implicit E_8 factor assumed");
        H->ImplicitE8 = 1;
        return 0;
    }
    if (!silent)
        Alert("getSuperstringSpaceTimeDimension", 2, 100302,
              "Conformal anomaly does not cancel\nCov. Lat. dim. = %d; Conformal inv. dim. = %d", D,
              d);
    return 1;
}

int getConformalSpaceTimeDimension(int silent) {
    const double c = Central_Charge();
    int d = 0;
    if (DoubleToInteger(26.0 - c, &d))
        return d;
    if (!silent)
        Alert("getConformalSpaceTimeDimension", 1, 100302,
              "Non-integer space-time dimension: %30.15f", 26.0 - c);
    return -1;
}

Heterotic* getStringData() {
    Heterotic* H = nullptr;
    if (getCosetMode()) {
        TensorProduct* TP = getCurrentTensor();
        H = getTensorStringData(TP);
        // The rule again, aloud: "Dimension" may have changed, and its notices belong here.
        if (H && H->error != 1 && getSuperstringSpaceTimeDimension(H, 0) == 0)
            return H;
        if (H)
            H->error = 1;
        if (InfoComputable(TP, 0)) {
            initializeStringData(TP, 0);
            H = &TP->StringData;
        }
    } else if (SpectrumData* sd = currentBlock()) {
        H = sd->string_spectrum;
    }
    if (!H)
        return switchOffSuper("Superstring data not available;\nSwitching off superstring mode.\n");
    if (H->error == 1)
        return switchOffSuper("Incorrect superstring data;\nSwitching off superstring mode.\n");
    return H;
}

int CheckSpaceTime() {
    if (superstringReading()) {
        const Heterotic* H = getStringData();
        return H ? H->SpaceTimeDim : -1;
    }
    return getConformalSpaceTimeDimension(0);
}

double OrientifoldMultiplicity() {
    if (superstringReading())
        if (const Heterotic* H = getStringData())
            return std::pow(2.0, H->SpaceTimeDim * 0.5);
    const double c = Central_Charge();
    int d = 0;
    if (DoubleToInteger(26.0 - c, &d) && d >= 0)
        return std::pow(2.0, d * 0.5);
    if (!DoubleToInteger(26.0 - c, &d))
        Alert("getConformalSpaceTimeDimension", 1, 100302,
              "Non-integer space-time dimension: %30.15f", 26.0 - c);
    return std::pow(2.0, (26.0 - c) * 0.5);
}

int* getRepInfo(int lbl) {
    if (getCosetMode())
        return getCosetRepInfo(getCurrentTensor(), lbl);
    SpectrumData* sd = currentBlock();
    return sd ? SM_getContent(sd, lbl) : nullptr;
}

int isTrivial(int lbl) {
    if (getCosetMode())
        return CT_isTrivial(getCurrentTensor(), lbl);
    SpectrumData* sd = currentBlock();
    return sd ? SM_isTrivial(sd, lbl) : 1;
}
