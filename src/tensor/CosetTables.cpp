// The cells of the tables "TensorSpectrum" and "Decomposition": the spectrum of the extended
// product is not computed yet, so these tables have no rows to show and the cells stay empty.
#include "tensor/Coset.h"

#include <cstdio>

namespace {

char* writeNothing(char* txt) {
    *txt = '\0';
    return txt;
}

} // namespace

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
