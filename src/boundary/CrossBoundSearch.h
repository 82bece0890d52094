// The boundary search of an exceptional invariant: the space of annulus vectors orthogonal to the
// S rows off the Ishibashi primaries with the range squeeze of its enumeration, the candidate
// boundaries that follow from diagonal annulus vectors, the combinations of compatible candidates
// and the growth of boundary sets from their sign variants, and the drivers "try boundary" and
// "assemble".
//
// Complex vectors hold N real parts, then N imaginary parts.
#pragma once

#include "boundary/CrossBoundSets.h"

// ---- Ishibashi-orthogonal annulus space ----

// The reduced basis of the constraint rows into SBI's ImageVectors and tagged; max (or null)
// holds one loop maximum per primary and steers the pivots. The number of basis vectors.
int initiateIshibashiOrthogonalSpace(int* max);
// 1 when every basis vector is orthogonal to the S rows of the Ishibashi primaries, 0 after the
// report of the first that is not.
int checkIshibashiOrthogonalSpace(int VectorCount);
// Mode 0 computes the Ishibashi primaries, the free columns and the factors of every free column
// in the coefficient products (nishi rows real, then nishi rows imaginary, ntags columns each);
// any other mode hands out the last results.
void loadBasisFactors(int Size, int* tagged, double* ImageVectors, double** Factors, int** ishimap,
                      int** tagmap, int* nishi, int* ntags, int mode);
// The range of Loop[index] from the outer levels, so that every coefficient product keeps its
// real part in [lowmin, 1] and its imaginary part in [ilowmin, ilowmax]. With Loop null it
// initialises: index is lowmin (0 diagonal, -1 off-diagonal), Data the record SBI.
void NimSqueeze(int Size, int index, int* Loop, int* Min, int* Max, int* TrueMin, int* TrueMax,
                void* Data);

// Processor-time marks of the enumerations, set by the drivers when their loops start.
extern double start_CPU;
extern double last_CPU;

// The pacing of one enumeration: the clock is read every interval-th point, the interval adapting
// to about ten seconds of work, and "Continue?" is asked at most every 55 seconds. The count is
// 64 bits wide so that it cannot wrap.
struct LoopPacing {
    long long count = 0;
    long long interval = 10;
    int overflow = 0;
    void reset() { *this = LoopPacing{}; }
    // Counts one point; false when the user declined to continue.
    bool step(const char* routine, const char* label, int N, const int* loop);
};

// ---- Boundary candidates ----

// The candidates: candidate k at 2N k in the store.
extern int BoundCandCount;
double* boundaryCandidate(int k);
// 1 when some imaginary part is not zero.
int isComplexBoundary(int N, const double* v);
// The number of primaries the stored candidates have; 0 for an empty store.
int boundaryCandidateWidth();

// For every primary i the largest diagonal annulus value, Re S(0, i) / Re S(0, 0); valid until
// the next call.
int* getAbsMax();
// The evaluation callbacks of the two enumerations; data is SBI. Called with a null loop vector
// they initialise and return 0.
int testCandidateBoundary(int N, int* loop, void* data);
int testCandidateBoundaryInRange(int N, int* loop, void* data);
// Norm and, with "Orientifold" on, the Moebius sign loop of the candidate in info->Bound with
// annulus A; the number of sign choices accepted.
int analyseCandidateBoundary(int N, SingleBoundaryInfo* info, const int* A, void* data);
int testCandidateMoebius(int N, int* sign, void* info);
// The new candidate's number, or -1 when it or its conjugate is stored already.
int addBoundaryCandidate(int N, const double* vector);
int checkConjugatePresence(int N, const double* vector);
// Each component made positive, except those whose sign the crosscaps fix.
void copyToUnsigned(int N, double* target, const double* source);
void PrintNewBoundaryCandidate(int N, const double* vector, const SingleBoundaryInfo* info);
// 1 when v can be a boundary by itself, or be added to the set.
int CheckNewBoundary(int N, const double* v);
int CheckAdditionalBoundary(const BoundarySet* set, const double* v);

// ---- Combinations and growth of boundary sets ----

extern int SignedBoundaryCount;

// The compatibilities of the K candidates and the table of their combinations.
void computeBoundaryOverlaps(int N, int K);
void getBoundSignLoopInfo(int N, int* minima, int* maxima, const double* B1, const double* B2,
                          const double* C);
int checkOrthogonality(int N, int* sign, void* data);
void getOverlappingSets();
// The table: row r has overlapLength(r) candidate numbers, increasing.
int overlapSetCount();
const int* overlapSet(int r);
int overlapLength(int r);
int overlapIsSubset(int r);
int candidatesCompatible(int i, int j);
// Every sign variant of candidate a offered to the list of sets.
void addSignedBoundaries(int a);
int addToBoundarySet(int N, int* sign, void* data);
// Offers v to the set held by link and to every later set; 1 when a set took it.
int addBoundarySolution(int a, int complex, double* v, std::unique_ptr<BoundarySet>* link);

// ---- Completion of incomplete sets ----

// The linear equations in the basis coefficients x of a missing boundary: rows of m real, then m
// imaginary coefficients, with the range of their integer value; room for 10 c m rows.
struct CompletionSystem {
    std::vector<double> CompEq;
    std::vector<int> CompMinima;
    std::vector<int> CompMaxima;
    std::vector<int> CompUsed;
    int CompEqCount = 0;
    int m = 0;
    int limit = 0;
    void start(int size);
    double* row(int k);
};
extern CompletionSystem CompSystem;

// What the completion loop evaluates: the inverted system (m rows of 4m doubles), the pivot
// column of each chosen equation, the columns used, the set completed.
struct ComplEqnInfo {
    double* Eqns;
    int Size;
    int* sweep;
    int* Swept;
    BoundarySet* BS;
};

// Every set of the list with at least minSize members, last to first.
void attemptCompletion(int minSize, int L, BoundarySet* list);
void attempt_completion(int L, BoundarySet* set);
// Takes the equation written at row CompEqCount into the system, or drops it.
void ProcessCompEq(int m, int isMoebius);
// 1 when the integer points of m chosen equations gave a new candidate.
int SolveCompEq(int m, BoundarySet* set);
int checkComplEqns(int m, int* y, void* data);
// The unchosen equation of smallest range, or -1.
int getNextCompEq(int m);
int CheckCompEqSolution(int m, const double* x);

// ---- Comparison of complete sets ----

// The annuli A_i(a, b) of a loaded set, N x L x L, with the conjugate of every boundary.
struct AnnulusTable {
    std::vector<int> A;
    std::vector<int> BC;
    int N = 0;
    int L = 0;
    int at(int i, int a, int b) const;
};

// Loads set quietly and fills its table.
void storeAnnulus(const CompleteBoundarySet& set, AnnulusTable* table);
// Refines the class labels: a position whose value differs from an earlier one of its class
// starts a new class, joined by every later position with its value.
void AddGrading(int size, int* labels, const int* values);
// The first permutation of two's boundaries within classes of equal annulus data that makes the
// tables agree; empty when there is none.
std::vector<int> attemptBoundaryReorder(const AnnulusTable& one, const AnnulusTable& two);
void compareBoundaryPhases(const CompleteBoundarySet& one, const CompleteBoundarySet& two,
                           const int* permutation);
// 1 when the sets are similar and their annuli agree, possibly after a permutation.
int CompareBoundarySets(const CompleteBoundarySet& one, const CompleteBoundarySet& two);
// Every stored set with every set after it in the list.
void CompareAllBoundarySets();
// The quarter turns q (0 to 3) from (R2, I2) to (R1, I1): a negative state takes q and gives 0,
// otherwise 1 when q differs from the state; 0 for the state -2 or a zero (R2, I2), 2 after the
// report of a phase that is no quarter turn.
int getRelativePhase(int* phase, double R1, double I1, double R2, double I2);

// ---- Drivers ----

// What the candidate store holds: 0 nothing, 1 collected with "Orientifold" on, 2 off, 3 NIM
// representation candidates; the bulk generation and orientifold counter it belongs to.
extern int BoundCandUse;
extern int BoundCandMIPF;
extern int BoundCandOrientifold;
// 1 when a completion found no orthogonal basis; cleared by "search boundaries".
extern int CompletionImpossible;

// "search boundaries": every diagonal annulus vector with free entries up to maxloop (and their
// absolute maxima), then the assembly and the verdict.
void attemptBoundaries(int maxloop);

// The number of new candidates from the limits ("1,2,0:2,3"), or -1 after a reported error.
int tryBoundary(char* limits);
// One entry of the limits: the text after its comma, or null when it was the last; *failed is
// set when a number cannot be read.
char* getNextLimits(char* text, int* minimum, int* maximum, bool* failed);
void assembleBoundarySet(int distinct);
