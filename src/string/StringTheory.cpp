#include "string/StringTheory.h"

#include "base/Error.h"
#include "base/Parameters.h"
#include "modular/Modular.h"
#include "numeric/MathUtility.h"
#include "store/StringData.h"
#include "tensor/Coset.h"

namespace {

// Looked up at each use: start-up registers the parameter after this module.
int requestedDimension() {
    return findInternalParameter("Dimension") ? *static_cast<int*>(getIntParPointer("Dimension"))
                                              : 0;
}

} // namespace

void initializeStringTheory() {
    setSuperstringDimensionRule(getSuperstringSpaceTimeDimension);
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
