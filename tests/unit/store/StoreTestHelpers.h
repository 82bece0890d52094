// Shared helpers of the tests of the building-block store.
#pragma once

#include "store/Storemanager.h"

#include <gtest/gtest.h>

#include <complex>
#include <cstddef>
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

// Complex matrices for the relations of S, T, P and of the resolution matrices.
using cplx = std::complex<double>;
using Matrix = std::vector<std::vector<cplx>>;

inline Matrix multiply(const Matrix& a, const Matrix& b) {
    const std::size_t N = a.size();
    Matrix c(N, std::vector<cplx>(N));
    for (std::size_t i = 0; i < N; i++)
        for (std::size_t j = 0; j < N; j++)
            for (std::size_t k = 0; k < N; k++)
                c[i][j] += a[i][k] * b[k][j];
    return c;
}

inline void expectNear(const Matrix& a, const Matrix& b, const std::string& what) {
    for (std::size_t i = 0; i < a.size(); i++)
        for (std::size_t j = 0; j < a.size(); j++)
            EXPECT_LT(std::abs(a[i][j] - b[i][j]), 1e-9) << what << " at (" << i << "," << j << ")";
}

inline Matrix adjoint(const Matrix& a) {
    Matrix b = a;
    for (std::size_t i = 0; i < a.size(); i++)
        for (std::size_t j = 0; j < a.size(); j++)
            b[i][j] = std::conj(a[j][i]);
    return b;
}

inline Matrix identity(std::size_t N) {
    Matrix m(N, std::vector<cplx>(N));
    for (std::size_t i = 0; i < N; i++)
        m[i][i] = 1.0;
    return m;
}

// A block named by its algebra triple, for parameterised tests.
struct Triple {
    int type, rank, level;
};

inline std::string tripleName(const testing::TestParamInfo<Triple>& info) {
    return "T" + std::to_string(info.param.type) + "R" + std::to_string(info.param.rank) + "L" +
           std::to_string(info.param.level);
}

// The fields that J fixes, by the current action.
inline std::vector<int> fixedFields(SpectrumData* sd, int J) {
    std::vector<int> fields;
    for (int i = 0; i < sd->Nprimaries; i++)
        if (SM_SimpleAction(sd, J, i) == i)
            fields.push_back(i);
    return fields;
}

// Takes a record off the store's list, so that no lookup finds it and a request builds anew; the
// store otherwise keeps every block it made for the whole run.
inline void takeOffTheList(SpectrumData* record) {
    SpectrumData* previous = nullptr;
    for (SpectrumData* sd = SM_getFirstAlgebra(); sd; previous = sd, sd = sd->next)
        if (sd == record) {
            if (previous)
                previous->next = sd->next;
            else
                SM_setFirstAlgebra(sd->next);
            sd->next = nullptr;
            return;
        }
}

// A record that shares the fields, orbits and weights of a real block, for fixtures that change
// the rest. It is taken off the store's list at once, so that no lookup by key finds it instead
// of that block.
inline SpectrumData* detachedCopy(SpectrumData* src, const char* name) {
    SpectrumData* sd = allocateSpectrumData(name);
    EXPECT_EQ(SM_getFirstAlgebra(), sd);
    takeOffTheList(sd);
    sd->type = src->type;
    sd->rank = src->rank;
    sd->level = src->level;
    sd->RepSize = src->RepSize;
    sd->Nprimaries = src->Nprimaries;
    sd->Norbits = src->Norbits;
    sd->SimpleCurrents = src->SimpleCurrents;
    sd->OrbitLabel = src->OrbitLabel;
    sd->OrbitGenerator = src->OrbitGenerator;
    sd->OrbitPosition = src->OrbitPosition;
    sd->Stabilizer = src->Stabilizer;
    sd->Charges = src->Charges;
    sd->ExtDynkin = src->ExtDynkin;
    sd->Weight_num = src->Weight_num;
    sd->Weight_denom = src->Weight_denom;
    sd->CentralCharge = src->CentralCharge;
    return sd;
}

// Takes the permutation orbifolds of A off the store's list.
inline void forgetOrbifoldsOf(SpectrumData* A) {
    std::vector<SpectrumData*> orbifolds;
    for (SpectrumData* sd = SM_getFirstAlgebra(); sd; sd = sd->next)
        if (sd->basis == A && sd->permutation_order > 1 && sd->type != 10)
            orbifolds.push_back(sd);
    for (SpectrumData* sd : orbifolds)
        takeOffTheList(sd);
}

} // namespace storetest
