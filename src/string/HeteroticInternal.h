// What the files of the heterotic module share: its collections, the parameters, the stamp of
// the last "compute heterotic", and the row-entry and product helpers.
#pragma once

#include "numeric/Sorting.h"
#include "string/Heterotic.h"

#include <string>
#include <vector>

struct TensorProduct;
struct SCData;

namespace heterotic_internal {

inline constexpr int MaxNames = 100;
inline constexpr int MaxNameLength = 7;

// The collections of the module (rows as described where they are made).
extern VectorSpace HeteroticFilterGenerators;
extern VectorSpace HeteroticFilter;
extern VectorSpace SelectedReps;
extern VectorSpace RepNames;
extern VectorSpace PatternRoots;
extern VectorSpace PatternAlgebra;
extern VectorSpace Spectra;
extern VectorSpace RepCount;
// The name of representation i of RepNames.
extern std::vector<std::string> Names;

// Parameter values; the built-in defaults while the parameters are not registered.
int heteroticFactors();
int particleFactors();
int oldAlgorithm();
int gradedOn();

// What "compute heterotic" sized its collections for. "compute filter" runs only while the
// product, the two parameters and the names are those of that time.
struct SetupStamp {
    bool done = false;
    int NF = 0;
    int SM = 0;
    int R = 0; // named representations
    int namesGeneration = 0;
    std::vector<SpectrumData*> factors;
};
extern SetupStamp setup;
// Advanced by every change of the representation names.
extern int namesGeneration;
// Empty when the set-up still holds, else what changed.
std::string setupChange(TensorProduct* TP);

// The context every analysis callback reaches through the invariant's data.
struct FilterContext {
    TensorProduct* TP = nullptr;
    VectorSpace* filter = nullptr;
    int candidate = 0; // the massless candidate being analysed
};

// ---- Rows ----

// Enters v (id_size ints, the rest of the row copied too) once; true when it was new.
bool enterOnce(VectorSpace* s, const int* v);
// Adds count to v's row, entering it when new; the row number. isNew reports a new row.
int enterCounted(VectorSpace* s, const int* v, int count, bool* isNew = nullptr);
// The row number of v, -1 when absent or the collection is empty.
int findRow(VectorSpace* s, const int* v);
// Appends v (rowsize - 2 ints) without looking it up; the row number.
int appendRow(VectorSpace* s, const int* v);

// ---- Labels and products ----

// intcheck answers the opposite question (0 for an integer).
inline bool isInteger(const rat& q) {
    return intcheck(&q) == 0;
}

// out = J . a factor by factor from the fusion tables (J holds current labels).
void combine(TensorProduct* TP, const int* J, const int* a, int* out);
// The weight bound test: false as soon as one label weighs above 1 or the sum passes 1.001.
bool passesWeightBound(TensorProduct* TP, const int* v);
// Each of the first n labels replaced by its conjugate in its factor.
void conjugateLabels(TensorProduct* TP, int n, const int* in, int* out);
// The named representation whose SM labels are labels, -1 when none.
int namedRepresentation(const int* labels);
// The combination's order: lcm over the factors of its component's order.
int combinationOrder(TensorProduct* TP, const int* v);

// ---- Analysis and evaluation ----

// Set while the right algebra holds a light element with labels in factors 0 and 1.
extern int unificationFlag;
// The canonical pattern entered into the pattern collection, with the records of a new
// algebra; the algebra's number.
int recordGaugeAlgebra(TensorProduct* TP, const int* pattern, int D);
// Evaluates RepCount; 0, or -5 when chiral exotics at quantum 6 stopped the computation.
int evaluateSpectrum(SCData* MD, int algebra, int D);
// ".heterotic" rewritten whole from Spectra, with the summary line.
void writeHeteroticFile();
// Forgets the candidates' charge codes: called when a filter group is about to be analysed.
void resetCandidateChargeCodes();
// Reloads ".heterotic" and ".AlgebraList" of the current output name.
void readResultFiles();

} // namespace heterotic_internal
