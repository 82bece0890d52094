// What the source files of the tensor products share among themselves.
#pragma once

#include "tensor/Coset.h"

#include "base/Allocation.h"
#include "store/Storemanager.h"

namespace coset_internal {

// The module's allocation counter; the product records and the work arrays are charged to it.
AllocCount* cosetAlloc();

// Live values of the parameters; their defaults until initializeCoset has bound them.
int graded();
int superMode();
int heteroticFactors();

inline int* rowOf(VectorSpace* s, int r) {
    return s->Space + static_cast<long long>(s->rowsize) * r;
}
inline int rowCount(const VectorSpace* s) {
    return s ? s->Nfill : 0;
}
inline SpectrumData* factor(TensorProduct* TP, int k) {
    return TP->TensorFactors[k];
}
inline int signOf(TensorProduct* TP, int k) {
    return 1 - 2 * TP->GH[k];
}

// The row of the collection equal to v in its identifying entries, or -1.
inline int findRow(VectorSpace* s, const int* v) {
    return findVectorInCollection(s, const_cast<int*>(v));
}

} // namespace coset_internal
