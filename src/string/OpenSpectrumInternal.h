// What the open-spectrum sources share: row access of the representation collections.
#pragma once

#include "numeric/Sorting.h"

#include <cstddef>

struct ChanPatonData;

namespace openspectrum {

inline std::size_t at(int i) {
    return static_cast<std::size_t>(i);
}
inline int* rowOf(VectorSpace* s, int r) {
    return s->Space + static_cast<long long>(s->rowsize) * r;
}
inline int rowCount(const VectorSpace* s) {
    return s->Space ? s->Nfill : 0;
}
// The multiplicity of row r of a counted collection.
inline int countOf(VectorSpace* s, int r) {
    return rowOf(s, r)[s->rowsize - 3];
}

// Empties Reps and collects the matter of class k of the configuration into it.
void collectRepresentations(VectorSpace* Reps, ChanPatonData* CPD, int k);

} // namespace openspectrum
