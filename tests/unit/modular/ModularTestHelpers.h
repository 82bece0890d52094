// Shared helpers of the tests of the current-theory facade.
#pragma once

#include "base/Parameters.h"
#include "modular/Modular.h"
#include "store/Storemanager.h"

#include <gtest/gtest.h>

#include <complex>
#include <initializer_list>
#include <string>

namespace modulartest {

// The module's parameters, registered as start-up would; initializeModular binds them.
inline void registerParameters() {
    if (findInternalParameter("Use_orbits"))
        return;
    addInternalParameter("Use_orbits", "2", 'i', 0);
    addInternalParameter("S_matrix maxsize", "400", 'i', 0);
    addInternalParameter("S_matrix maxdisk", "2000", 'i', 0);
    addInternalParameter("Init_debug", "0", 'i', 0);
    addInternalParameter("Fusion sumcheck", "0", 'i', 0);
    addInternalParameter("High_precision", "0", 'i', 0);
    if (!findInternalParameter("Super"))
        addInternalParameter("Super", "0", 'i', 0);
}

// Makes the store's block of a triple the current theory and marks it changed, as computing its
// spectrum does.
inline SpectrumData* useBlock(int type, int rank, int level) {
    SpectrumData* sd = SM_getData(type, rank, level);
    EXPECT_NE(sd, nullptr) << type << "," << rank << "," << level;
    if (!sd)
        return nullptr;
    setCosetMode(0);
    setCurrentSD(sd);
    CFTChanged();
    return sd;
}

inline std::complex<double> S(int i, int j) {
    double re, im;
    compS(i, j, &re, &im);
    return {re, im};
}

// The first finite Dynkin label of a field.
inline int dynkin1(SpectrumData* sd, int lbl) {
    return SM_getRep(sd, lbl)[0];
}

// An affine algebra (type, rank, level) as the parameter of a test, named after it.
struct TheoryCase {
    int type, rank, level;
};

inline std::string theoryName(const testing::TestParamInfo<TheoryCase>& info) {
    const TheoryCase& c = info.param;
    return "Type" + std::to_string(c.type) + "Rank" + std::to_string(c.rank) + "Level" +
           std::to_string(c.level);
}

// Runs f and returns what it wrote to the error output, where reports go.
template <class F> std::string reportsOf(F f) {
    testing::internal::CaptureStderr();
    f();
    return testing::internal::GetCapturedStderr();
}

// The module's parameters, registered as start-up registers them, at their defaults.
inline void registerModularParameters() {
    registerParameters();
    initializeModular();
    setIntPar("Use_orbits", 2);
    setIntPar("S_matrix maxsize", 400);
    setIntPar("S_matrix maxdisk", 2000);
    setIntPar("High_precision", 0);
}

inline std::complex<double> P(int i, int j) {
    double re, im;
    compP(i, j, &re, &im);
    return {re, im};
}

// The field whose finite Dynkin labels are the given ones; -1 when there is none.
inline int fieldOf(SpectrumData* sd, std::initializer_list<int> labels) {
    for (int f = 0; f < sd->Nprimaries; f++) {
        const int* rep = SM_getRep(sd, f);
        int c = 0;
        bool same = true;
        for (int l : labels)
            same = same && rep[c++] == l;
        if (same)
            return f;
    }
    return -1;
}

} // namespace modulartest
