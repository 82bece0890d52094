// Tests whose current theory is a tensor product: the layers below made ready, and the product
// withdrawn afterwards so that the next test starts from a block.
#pragma once

#include "ModularTestHelpers.h"
#include "base/Error.h"
#include "modular/Modular.h"
#include "tensor/Coset.h"
#include "tensor/TensorTestHelpers.h"

namespace producttest {

inline TensorProduct* startProductTest() {
    modulartest::registerParameters();
    tensortest::registerParameters();
    initializeCoset();
    initializeModular();
    flushErrors();
    unbufferErrors();
    return getCurrentTensor();
}

// The computed product becomes the current theory, as "compute spectrum" makes it.
inline void makeCurrent(TensorProduct* TP) {
    setCosetMode(1);
    setCurrentTotals(NumberOfTensorPrimaries(TP), NumberOfTensorSimpleCurrents(TP));
    CFTChanged();
}

inline void withdrawProduct(TensorProduct* TP) {
    setCosetMode(0);
    setCurrentTotals(nullptr, nullptr);
    initializeAlgebra();
    resetCoset(TP);
    CFTChanged();
}

} // namespace producttest
