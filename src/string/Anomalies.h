// Gauge anomalies of brane configurations: the cubic anomaly of every probe brane, an integer
// condition, and the global conditions modulo 2 from symplectic probes that the cubic ones do not
// already imply. The global rows depend only on the orientifold and are kept in its record.
//
// Intersections and Moebius sums come from the boundary-class cache, so the search context must
// be built for the current bulk invariant first.
#pragma once

struct ChanPatonData;
struct OrientifoldInfo;

// 1 when every cubic anomaly vanishes. At the first probe b that fails, the anomaly is printed
// and a marker stack of 5 branes on b (and its image) is appended to the configuration; 0.
int CheckLocalAnomalies(ChanPatonData* CPD);
// 1 when the configuration meets every global condition of its orientifold; silent.
int CheckGlobalAnomalies(ChanPatonData* CPD);
// Mode 2 forgets that the conditions are loaded; mode 1 loads them unless they are; mode 0 loads
// them for every orientifold of non-zero tension. A record whose rows are valid is skipped.
void loadGlobalAnomalies(int mode);
void loadGlobalAnomaliesForOrientifold(OrientifoldInfo* OX);

// The cubic-anomaly row of probe b modulo 2, one entry per boundary label.
void getLocalAnomalyMod2(OrientifoldInfo* OI, int b, int* vector);
// A row in the variables of a configuration modulo 2: symplectic entries dropped, a unitary pair
// merged at its lower label.
void CorrectGlobalAnomaly(OrientifoldInfo* OI, int* vector);
// The merge of unitary pairs alone, over the integers.
void CorrectLocalAnomaly(OrientifoldInfo* OI, int* vector);
