#include "main/Neighbours.h"

// ============================================================ String spectra and tadpoles

void initializeIntersections() {}

// ============================================================ Standard-model searches

void initializeSearchSM() {}
void initializeZNX_SearchSM() {}
