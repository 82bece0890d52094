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

// ============================================================ Building-block store

namespace {

SpectrumData* blockOf(void* row) {
    return static_cast<SpectrumData*>(row);
}

} // namespace

void printAlgebraHeader(SpectrumData* sd, FILE* ofp) {
    std::fprintf(ofp, "Spectrum of %s\n", sd->AlgebraName);
}

char* SM_getLabelString(char* txt, void*, int lbl) {
    return txt + std::sprintf(txt, "%d", lbl);
}

char* SM_getDynkinString(char* txt, void*, int) {
    return writeNothing(txt);
}
char* SM_getCosetLabelString(char* txt, void*, int) {
    return writeNothing(txt);
}
char* SM_getWeightString(char* txt, void*, int) {
    return writeNothing(txt);
}
char* SM_getRatWeightString(char* txt, void*, int) {
    return writeNothing(txt);
}
char* SM_getDimString(char* txt, void*, int) {
    return writeNothing(txt);
}
char* SM_getConjString(char* txt, void*, int) {
    return writeNothing(txt);
}
char* SM_getInfoString(char* txt, void*, int) {
    return writeNothing(txt);
}
char* SM_getChargesString(char* txt, void*, int) {
    return writeNothing(txt);
}
char* SM_getNSRString(char* txt, void*, int) {
    return writeNothing(txt);
}
char* SM_getMultipletString(char* txt, void*, int) {
    return writeNothing(txt);
}
char* SM_getOrbitStartString(char* txt, void*, int) {
    return writeNothing(txt);
}
char* SM_getOrbitPositionString(char* txt, void*, int) {
    return writeNothing(txt);
}
char* SM_getOrbitLabelString(char* txt, void*, int) {
    return writeNothing(txt);
}
char* SM_getStabilizerString(char* txt, void*, int) {
    return writeNothing(txt);
}
char* SM_getQdimString(char* txt, void*, int) {
    return writeNothing(txt);
}
char* SM_getCasimirString(char* txt, void*, int) {
    return writeNothing(txt);
}
char* SM_getLogTString(char* txt, void*, int) {
    return writeNothing(txt);
}

// The stand-in block carries none of the optional data.
int SM_initCosetLabels(void*) {
    return 0;
}
int SM_initContents(void*) {
    return 0;
}
int SM_initNSR(void*) {
    return 0;
}
int SM_initQdim(void*) {
    return 0;
}
int SM_initCasimir(void*) {
    return 0;
}

char* SM_getAlgebraNameString(char* txt, void* row, int) {
    return txt + std::sprintf(txt, "%s ", blockOf(row)->AlgebraName);
}

char* SM_getAlgebraSizeString(char* txt, void* row, int) {
    std::uint32_t bytes = blockOf(row)->TotalAlloc.TotalAlloc;
    return txt + std::sprintf(txt, "%u ", bytes == 0xFFFFFFFFu ? 0u : bytes);
}

char* SM_getAlgebraPrimString(char* txt, void* row, int) {
    return txt + std::sprintf(txt, "%d", blockOf(row)->Nprimaries);
}

char* SM_getAlgebraS_AvailabilityString(char* txt, void*, int) {
    return writeNothing(txt);
}

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

void initializeModular() {}
void initializeInvariants() {}

char* getBulkInvariantString(char* txt, void*, int) {
    return writeNothing(txt);
}

void bulkInvariantChanged() {}
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

