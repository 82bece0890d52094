// State the intersection files share: the prepared sums and the readiness checks.
#pragma once

#include "string/Intersections.h"

#include <complex>
#include <vector>

namespace intersections {

// Marks an unknown byte, and a number that does not fit into one.
inline constexpr int Unknown = 127;
// What ComplexToInt answers for a sum that is not an integer.
inline constexpr int NotIntegral = 2147483647;

// The routine in force; null before the first preparation.
extern INTERSECT intersect_fcn;

// The sums of the current bulk invariant, prepared now if need be; false (after "Intersections
// not initialized" from routine) when they cannot be.
bool sumsReady(const char* routine);
// The sums, the search context and the classes of the current bulk invariant, rebuilt if need
// be; false after the message when they cannot be.
bool classesReady(const char* routine);
// The reason of the last failed preparation as a code of the search reporter (0 no contents,
// 1 not a fermionic string, 2 not a Calabi-Yau reading, 3 stopped or failed).
int failureReason();
// The bulk generation the classes were built for.
int classesBuiltFor();
int parameter(const char* name);

struct MasslessField {
    int field;
    int weight; // left-handed states of the field
};
// The massless fields of the current reading that carry left-handed states.
std::vector<MasslessField> weightedMasslessFields();
// Per Ishibashi label i on field f: sum over the massless m of w_m conj(matrix(m, f)), over
// Re S(0, f); 4 when the user stopped it.
int weightsPerIshibashi(const char* title, void (*matrix)(int, int, double*, double*),
                        std::vector<std::complex<double>>& weights);
// The chirality flag of a's diagonal sector on the record OI.
int diagonalChirality(OrientifoldInfo* OI, int a);

} // namespace intersections
