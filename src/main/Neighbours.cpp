#include "main/Neighbours.h"

// ============================================================ String spectra and tadpoles

void initializeIntersections() {}
void initializeTadpole() {}
void initializeOpenSpectrum() {}
void tadpoleSearchParametersChanged() {}
void BoundarySelectionCriteriaChanged() {}

// ============================================================ Standard-model searches

void initializeSearchSM() {}
void initializeZNX_SearchSM() {}
