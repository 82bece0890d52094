// State and helpers shared by the source files of the module Equations; not for other modules.
#pragma once

#include "numeric/Equations.h"

namespace equations_internal {

// The failure reason that QueryFailureReason hands out.
extern int REASON_CODE;
extern int REASON_INFO;
extern int REASON_INFO1;
extern int REASON_INFO2;
extern double REASON_INFOD;
// The caller's dump, run before an internal inconsistency is reported.
extern EQNDUMP dumpHook;

// Tolerance at the edges of a bound, where a rounded value still counts as inside.
constexpr double EdgeTolerance = 0.001;

double* row(EquationData* ED, int r);
double* independentRow(EquationData* ED, int b);
int satisfiesIndependent(EquationData* ED, int* point);
void printBox(int Nvar, int* Min, int* Max);
void printNonZeroEntries(int Size, const int* vector);

// The ints a kernel block of `vectors` vector rows over Ncol columns takes: the vector rows, as
// many work rows and one more set for the analyses, the per-variable arrays and a margin.
long long kernelBlockInts(long long vectors, int Ncol);
// How many of `wanted` kernel vectors a block may hold within `ints` ints (at least 1).
int kernelVectorsFitting(int wanted, int Ncol, long long ints);

// Makes sure a guarded array holds at least n elements without moving its end guard inward.
template <class T> T* holdAtLeast(GuardedArray<T>& a, int n) {
    if (!a.reserved() || a.X_oldsize < n)
        return a.reserve(n);
    return a.X;
}

} // namespace equations_internal
