// Tensor products and cosets extended by simple currents: not built yet. Until they are, the
// current tensor product has no factors and no fields, and its table cells stay empty.
#include "tensor/Coset.h"

#include <cstdio>

namespace {

char* writeNothing(char* txt) {
    *txt = '\0';
    return txt;
}

} // namespace

void initializeCoset() {}

void printCosetHeader(TensorProduct*, FILE* ofp) {
    // The current tensor product of the stand-in has no factors.
    std::fprintf(ofp, "Spectrum of the tensor product of \n");
}

char* CT_getLabelString(char* txt, void*, int lbl) {
    return txt + std::sprintf(txt, "%d", lbl);
}

char* CT_getCombinationString(char* txt, void*, int) {
    return writeNothing(txt);
}
char* CT_getWeightString(char* txt, void*, int) {
    return writeNothing(txt);
}
char* CT_getRatWeightString(char* txt, void*, int) {
    return writeNothing(txt);
}
char* CT_getDimString(char* txt, void*, int) {
    return writeNothing(txt);
}
char* CT_getInfoString(char* txt, void*, int) {
    return writeNothing(txt);
}
char* CT_getFPLabelString(char* txt, void*, int) {
    return writeNothing(txt);
}
char* CT_getFPMultString(char* txt, void*, int) {
    return writeNothing(txt);
}
char* CT_getConjString(char* txt, void*, int) {
    return writeNothing(txt);
}
char* CT_getDecompositionString(char* txt, void*, int) {
    return writeNothing(txt);
}
int CT_initDimensions(void*) {
    return 0;
}
int CT_initContents(void*) {
    return 0;
}
int CT_ConjugatesAvailable(void*) {
    return 0;
}
char* CT_getDecompVectorString(char* txt, void*, int) {
    return writeNothing(txt);
}
char* CT_getDecompWeightString(char* txt, void*, int) {
    return writeNothing(txt);
}
char* CT_getDecompDimString(char* txt, void*, int) {
    return writeNothing(txt);
}
int CT_initDecompDimensions(void*) {
    return 0;
}
