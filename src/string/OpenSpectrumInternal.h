// What the open-spectrum sources share: the index cast and the collecting of representations.
#pragma once

#include "numeric/Sorting.h"

#include <cstddef>

struct ChanPatonData;

namespace openspectrum {

inline std::size_t at(int i) {
    return static_cast<std::size_t>(i);
}

// Empties Reps and collects the matter of class k of the configuration into it.
void collectRepresentations(VectorSpace* Reps, ChanPatonData* CPD, int k);

} // namespace openspectrum
