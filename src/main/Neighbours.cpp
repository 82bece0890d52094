#include "main/Neighbours.h"

#include "lie/Tarvik.h"
#include "runtime/IntCommands.h"

#include <cstdio>
#include <cstring>

namespace {

char* writeNothing(char* txt) {
    *txt = '\0';
    return txt;
}

} // namespace

// ============================================================ Tensor products

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
char* BR_getNotationString(char* txt, void*, int) {
    return writeNothing(txt);
}
char* BR_getInterpretationString(char* txt, void*, int) {
    return writeNothing(txt);
}
char* BR_getDOFString(char* txt, void*, int) {
    return writeNothing(txt);
}

// ============================================================ Modular data and invariants

void initializeInvariants() {}

char* getBulkInvariantString(char* txt, void*, int) {
    return writeNothing(txt);
}

void permutationRejectionChanged() {}

// ============================================================ Boundaries and orientifolds

void initializeCrossBound() {}
void resetBoundaries() {}

// ============================================================ String spectra and tadpoles

void initializeIntersections() {}
void initializeStringTheory() {}
void initializeTadpole() {}
void initializeOpenSpectrum() {}
void initializeHeterotic() {}
void tadpoleSearchParametersChanged() {}
void BoundarySelectionCriteriaChanged() {}

// ============================================================ Standard-model searches

void initializeSearchSM() {}
void initializeZNX_SearchSM() {}
