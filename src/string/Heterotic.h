// Heterotic spectra with distinct extensions on the two world-sheet sides, for the current tensor
// product: the massless candidates and pattern roots ("compute heterotic"), the filter of
// simple-current combinations and its group, the analysis of every simple-current invariant of
// that group (right algebra, gauge algebra, counted spectrum), the evaluation of the counted
// spectrum (charge quanta, anomalies, exotics) and the result files ".heterotic", ".origin",
// ".algebra" and ".AlgebraList".
//
// The first "Heterotic factors" (NF) factors carry the gauge group; the first "Particle factors"
// (SM) name particle representations. The evaluation reads the first four factors as colour,
// weak, and two abelian factors (charges modulo 30 and 20).
#pragma once

#include "numeric/MathUtility.h"

struct TensorProduct;
struct SpectrumData;
struct SCData;
struct IntegerList;
struct VectorSpace;

// Binds "Heterotic factors", "Particle factors", "old_algorithm" and "Graded".
void initializeHeterotic();

// ---- Set-up and massless candidates ----

// "compute heterotic": candidates, pattern roots, chiral algebra, fusion tables, empty filter,
// reloaded result files. 1 after a refusal (parameters beyond the factors, a factor without
// ground-state dimensions), else 0.
int ComputeHeterotic(TensorProduct* TP);
// The candidates of total weight exactly 0 or 1 local to the extension currents; the count.
int CollectMassless(TensorProduct* TP);
// Orders labels by ascending weight of sd; among equal weights the later label first.
void OrderWeights(int size, int* labels, SpectrumData* sd);
// 1 when N h(current) is an integer, N the order of the combination.
int CT_effectiveCenterCheck(TensorProduct* TP, int* current);
// Every massless candidate's first NF labels into the pattern roots.
void computePatternRoots(TensorProduct* TP);

void addNewFilterCurrent(TensorProduct* TP, int* candidate);
void resetFilterCurrents(TensorProduct* TP);
int getNumberOfFilterCurrents();
void addNewSelectedRep(int* candidate);
void resetSelectedReps();
// 0 entered; 1 refused (too many names, name too long: the representation stays, unnamed).
int addNewRepresentationName(TensorProduct* TP, const char* name, int* candidate);
void resetRepNames();
void addPatternAlgebra(int* candidate);
void resetPatterns();
int getNumberOfPatternRoots();
// 1 when the set-up refuses the current product: "Heterotic factors" or "Particle factors" above
// the number of factors, or a factor of the first ones without ground-state dimensions (after
// the report); routine names the command.
int refuseHeteroticSetup(TensorProduct* TP, const char* routine, int needNF);

// ---- Filter group ----

// "compute filter": 0 done, 1 refused or stopped.
int ComputeFilter(TensorProduct* TP, int warning);
int FilterProduct(int i, int j, void* X);
void CurrentCurrentChargeForFilter(int i, int j, rat* Q, void* X);
void CurrentWeightForFilter(int i, rat* Q, void* X);
int TensorOrbitLength(TensorProduct* TP, int* vector);
int LeftAlgebraProduct(int i, int j, void* X);

// ---- Group-invariant analysis ----

// The analysis of one invariant; 0, or -5 when the evaluation stopped the generation.
int GSC_analyseInvariant(SCData* MD);
int GSC_checkDeltaArgument(SCData* MD, int* a, int* current);
int GSC_checkDeltaArgumentMirror(SCData* MD, int* a, int* current);
int GSC_getRightFields(SCData* MD, int* a, int* b);
void CompleteCodes(SCData* MD, int* Actions, VectorSpace* Moves, int code, int* vector,
                   int grpsize);
void GSC_analyseRightRepresentation(SCData* MD, int* a, int* shift);
IntegerList* CollectChiralAlgebraElementsWithDistinctCharges(SCData* MD);
void computeRightAlgebra_slow(SCData* MD);
int FastTensorSimpleAction_Massless(TensorProduct* TP, int* current, int* PrimaryCombination,
                                    int* out);
void FastTensorSimpleAction(TensorProduct* TP, int* current, int* PrimaryCombination, int* out);
int MassCheck(TensorProduct* TP, int* PrimaryCombination);
// Diagnostics: the charge vector and code of a combination; the counted spectrum under a title.
void printCharges(SCData* MD, int* a);
void printRepCount(const char* text);

// ---- Evaluation and result files ----

int GSC_computeAnomalies(int output);
int findExotics(TensorProduct* TP, int* TotExotics);
void GSC_printSpectrum(SCData* MD, int Quantum, int Exotics, int TotExotics, int GUT, int TotDim);
int* optimizedPattern(TensorProduct* TP, int* pattern);
int computeChargeQuanta(int* quanta);
