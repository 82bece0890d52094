// Shared helpers of the tests of the building-block store.
#pragma once

#include "store/Storemanager.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace storetest {

// Runs f and returns what it wrote to the error output, where reports go.
template <class F> std::string reportsOf(F f) {
    testing::internal::CaptureStderr();
    f();
    return testing::internal::GetCapturedStderr();
}

// The store's block of a triple, which the test needs to exist.
inline SpectrumData* block(int type, int rank, int level) {
    SpectrumData* sd = SM_getData(type, rank, level);
    EXPECT_NE(sd, nullptr) << type << "," << rank << "," << level;
    return sd;
}

// The finite Dynkin labels (the extended label a0 left out) of a field.
inline std::vector<int> dynkin(SpectrumData* sd, int lbl) {
    const int* rep = SM_getRep(sd, lbl);
    return std::vector<int>(rep, rep + sd->RepSize - 1);
}

// The field with the given finite Dynkin labels, or -1.
inline int fieldWithLabels(SpectrumData* sd, const std::vector<int>& labels) {
    for (int i = 0; i < sd->Nprimaries; i++)
        if (dynkin(sd, i) == labels)
            return i;
    return -1;
}

} // namespace storetest
