// What the tadpole solver asks of the spectrum of a brane configuration: tachyons between its
// stacks, supercurrent locality, chirality, the spectrum itself and the parametrised report.
#pragma once

struct ChanPatonData;
struct KernelData;

// 1 when a pair of stacks (a stack with itself included) has an open-string tachyon.
int checkCPDforTachyons(ChanPatonData* CPD);
// Charges of the bulk supercurrents with respect to every stack.
void BulkSusyLocalityCheck(ChanPatonData* CPD);
// 1 when some stack or pair of stacks carries chiral matter.
int checkSolutionChirality(ChanPatonData* CPD);
// Mode 0 closed and open sector, 1 open sector, 2 closed sector, 3 detailed gauge and open.
int GenericSpectrumAnalysis(ChanPatonData* CPD, int mode);
// The whole solution set: the basic solution plus kernel combinations, as gauge-group factors.
void printParametrizedSolution(KernelData* KD, int Size, int* Solution);
