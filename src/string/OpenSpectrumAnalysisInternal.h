// What the files of the spectrum reports share among themselves.
#pragma once

struct ChanPatonData;

// The stacks' group types ("Type:") and multiplicities ("Dimension") above a listing.
void printStackGroups(const ChanPatonData* CPD);
// Reports an odd A - M and an annulus smaller than |M| of field i on label a.
void amplitudeChecks(const char* routine, int i, int a, int A, int M);
