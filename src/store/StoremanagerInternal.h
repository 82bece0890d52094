// Helpers shared by the source files of the building-block store.
#pragma once

#include "store/Storemanager.h"

#include <cstddef>
#include <string>

namespace store_internal {

// Makes the record the one the next lookup of its key finds first.
void rememberRecord(SpectrumData* sd);
// Cyclic factors of the block's simple-current group (0 without a group).
int mult(const SpectrumData* sd);
int groupOrder(const SpectrumData* sd);
// The components of current J.
const int* decomp(const SpectrumData* sd, int J);

// Blocks charged to the record's own counter.
template <class T> T* allocateFor(SpectrumData* sd, std::size_t count, const char* name) {
    return static_cast<T*>(allocate(count * sizeof(T), &sd->TotalAlloc, name));
}
template <class T>
void releaseFor(SpectrumData* sd, T* block, std::size_t count, const char* name) {
    freespace(block, count * sizeof(T), &sd->TotalAlloc, name);
}

// The current that fixed-point data are keyed on: the basic representative for affine blocks
// (type below 6), the current itself otherwise.
int reduceCurrent(const SpectrumData* sd, int current);
// The 0-based position of a reduced current in FixedPointCurrents, or -1; builds the data.
int fixedCurrentPosition(SpectrumData* sd, int reduced);
// Row of labels in the fixed-point theory at a position.
int* fcftLabelRow(const SpectrumData* sd, int position);

// J*i by the group tables: the field position plus the current, reduced modulo the field's
// stabilizer and looked up in its orbit; -1 after the report when no field matches.
int groupAction(SpectrumData* sd, int current, int primary);

// HOME, "/" and the preference "TarvikPath" ("Library/Tarvik" when it is not set).
std::string libraryDirectory();

// The longest library directory that still leaves room for a file name.
inline constexpr std::size_t MaxLibraryDirectory = 974;

} // namespace store_internal

// The smallest current in the coset of pos modulo the field's stabilizer.
int SM_ReduceModuloStabilizer(SpectrumData* sd, int primary, int pos);
// The file name of cached S elements: library directory, "/S", type, ".", rank, ".", level.
char* SM_setFileName(SpectrumData* sd);
