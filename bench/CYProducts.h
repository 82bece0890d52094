// The products of the CY table as "build cy" makes them, for the benchmarks.
#pragma once

#include "base/Output.h"
#include "base/Parameters.h"
#include "modular/Modular.h"
#include "store/Storemanager.h"
#include "tensor/Coset.h"

#include <vector>

namespace {

// The grading of the product is read from the parameter "Graded", which the program's start-up
// registers; here it is made on first use.
void gradedProducts() {
    if (findInternalParameter("Graded"))
        return;
    addInternalParameter("Graded", "ON", 't', 0);
    initializeCoset();
}

// The product a code of the CY table names, as "build cy" makes it.
TensorProduct* cyProduct(int code) {
    int levels[9];
    const int n = interpretMinimalTensor(code, levels);
    setBackground(1);
    gradedProducts();
    SpectrumData* d5 = SM_getData(4, 5, 1);
    SM_grade(d5, 2);
    TensorProduct* TP = getCurrentTensor();
    resetCoset(TP);
    addTensorFactor(TP, d5, 0);
    for (int i = 0; i < n; i++)
        addTensorFactor(TP, SM_getData(27, 2, levels[i]), 0);
    const std::vector<int> ones(static_cast<std::size_t>(n) + 1, 1);
    addNewCurrent(TP, ones.data());
    return TP;
}

void makeCurrent(TensorProduct* TP) {
    setCosetMode(1);
    setCurrentTotals(NumberOfTensorPrimaries(TP), NumberOfTensorSimpleCurrents(TP));
    CFTChanged();
}

} // namespace
