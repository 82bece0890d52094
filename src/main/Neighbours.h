// Stand-ins for the subsystems that start-up brings up but that are not built yet: the
// building-block store, tensor products, modular data, boundaries, string spectra, the
// standard-model searches and the application commands. Each section offers exactly what
// start-up and the output tables call; the subsystem, once built, replaces its section.
#pragma once

#include "runtime/Allocation.h"
#include "store/Storemanager.h"

#include <cstdio>

// ---- Tensor products, simple currents and space-time interpretation ----

struct TensorProduct;

void initializeCoset();
// With TP null it describes the current tensor product.
void printCosetHeader(TensorProduct* TP, FILE* ofp);

// Cells and availability tests of "TensorSpectrum", "Decomposition" and "Lorentz".
char* CT_getLabelString(char* txt, void* row, int lbl);
char* CT_getCombinationString(char* txt, void* row, int lbl);
char* CT_getWeightString(char* txt, void* row, int lbl);
char* CT_getRatWeightString(char* txt, void* row, int lbl);
char* CT_getDimString(char* txt, void* row, int lbl);
char* CT_getInfoString(char* txt, void* row, int lbl);
char* CT_getFPLabelString(char* txt, void* row, int lbl);
char* CT_getFPMultString(char* txt, void* row, int lbl);
char* CT_getConjString(char* txt, void* row, int lbl);
char* CT_getDecompositionString(char* txt, void* row, int lbl);
int CT_initDimensions(void* row);
int CT_initContents(void* row);
int CT_ConjugatesAvailable(void* row);
char* CT_getDecompVectorString(char* txt, void* row, int lbl);
char* CT_getDecompWeightString(char* txt, void* row, int lbl);
char* CT_getDecompDimString(char* txt, void* row, int lbl);
int CT_initDecompDimensions(void* row);
char* BR_getNotationString(char* txt, void* row, int lbl);
char* BR_getInterpretationString(char* txt, void* row, int lbl);
char* BR_getDOFString(char* txt, void* row, int lbl);

// ---- Modular data, fusion and modular invariants ----

void initializeModular();
void initializeInvariants();
char* getBulkInvariantString(char* txt, void* row, int lbl);
void bulkInvariantChanged();
void permutationRejectionChanged();

// ---- Boundaries, crosscaps and orientifolds ----

void initializeCrossBound();
void resetBoundaries();

// ---- String spectra and tadpole conditions ----

void initializeIntersections();
void initializeStringTheory();
void initializeTadpole();
void initializeOpenSpectrum();
void initializeHeterotic();
void tadpoleSearchParametersChanged();
void BoundarySelectionCriteriaChanged();

// ---- Standard-model searches ----

void initializeSearchSM();
void initializeZNX_SearchSM();
