// Boundary sets of an exceptional invariant: the working record of one candidate boundary, the
// sets under construction, the store of complete sets in canonical order, and the loading of a
// stored set into the invariant's boundary tables.
//
// A boundary is a complex vector of reflection coefficients, one per primary, held as 2N doubles:
// the N real parts, then the N imaginary parts.
#pragma once

#include "boundary/CrossBound.h"

#include <memory>
#include <vector>

struct ExceptBoundData;

// The candidate boundary under test and what the Klein bottle search and the crosscap
// computation leave for it. The views point into the two blocks.
struct SingleBoundaryInfo {
    GuardedArray<double> Data{"SBI->Data", &CrossBound_alloc};    // 5N + 10 doubles
    GuardedArray<int> Annulus{"SBI->Annulus", &CrossBound_alloc}; // 4N + 10 ints
    int* Klein = nullptr;           // the Klein bottle the crosscaps were computed for
    int* Moebius = nullptr;         // Moebius coefficients of the candidate
    int* StandardKlein = nullptr;   // reference Klein bottle of the Klein bottle search
    double* Szero = nullptr;        // Re S(0, m)
    double* Bound = nullptr;        // the candidate's reflection coefficients
    double* Gamma = nullptr;        // crosscap coefficients, real then imaginary
    double* ImageVectors = nullptr; // the constraint basis, one row of N per vector
    int* tagged = nullptr;          // per primary its basis vector, or -1 for a free entry
    int KBC_required = 0;
    int Trace_required = 0;
};

extern SingleBoundaryInfo SBI;

struct BoundarySet {
    std::unique_ptr<BoundarySet> next;
    std::vector<double*> Bound; // Nbound member references; the members live elsewhere
    std::vector<int> signset;   // Nfield flags: the sign of component p is fixed
    std::vector<int> Labels;    // the candidate each member came from
    int Count = 0;
    int sequence = -1;
    int Nfield = 0;
    int Nbound = 0;
    int isSubSet = 0;
};

struct CompleteBoundarySet {
    std::unique_ptr<CompleteBoundarySet> next; // the next older set
    std::vector<double> Bound;                 // Nbound rows of 2 Nfield doubles
    int Number = 0;
    int Nfield = 0;
    int Nbound = 0;
};

// The sets under construction and the stored complete sets (newest first).
extern std::unique_ptr<BoundarySet> firstBS;
extern std::unique_ptr<CompleteBoundarySet> completeBS;
extern int Sequence;          // number of the next numbered set
extern int Capacity_exceeded; // 1 once a numbered set was refused
extern int SolutionCount;     // sets counted by the last report

// Sizes the record for the current theory, zeroes its Klein bottle and fills Szero.
void allocSingleBoundaryInfo(SingleBoundaryInfo* sbi);
// An empty set; seq = 1 numbers it, subject to the capacity of 200 c + 1 numbered sets. 1 when
// the capacity refused it (nothing made), else 0.
int allocBoundarySet(int Np, int Nb, std::unique_ptr<BoundarySet>* set, int seq);
// A numbered copy of set without its last member, linked right after it; 1 when refused.
int duplicateBoundarySet(BoundarySet* set);
void freeBoundarySet(std::unique_ptr<BoundarySet>* head);
void allocCompleteBoundarySet(int Np, int Nb, std::unique_ptr<CompleteBoundarySet>* set);
void freeCompleteBoundarySet(std::unique_ptr<CompleteBoundarySet>* head);
// Stores a complete set in canonical order; 0 when an equal set is stored already.
int storeBoundarySet(const BoundarySet* set);
// The sets of Count equal to the Ishibashi count, one or the whole list (last to first); each one
// stored adds 1 to *count.
void storeCompleteBoundary(const BoundarySet* set, ExceptBoundData* EDT, int* count);
void storeCompleteBoundaries(const BoundarySet* list, ExceptBoundData* EDT, int* count);
// 0 when every member of set equals some row of stored, else 1.
int compareCompleteBoundarySets(const BoundarySet* set, const CompleteBoundarySet* stored);
// 1 when R1 comes first in the canonical order, -1 when R2 does, 0 for equal vectors.
int compareBoundaryVectors(int n, const double* R1, const double* R2);
// order[0 .. Count-1]: the members in canonical order; order[Count .. 2 Count-1] are marks.
void orderBoundaries(const BoundarySet* set, int* order);
// Loads stored set number into the current invariant's tables; 0 when there is none.
int selectBoundary(int number, int quiet);

// The reports, at "Boundary_search info_level".
void printBoundarySet(const BoundarySet* set);
void printBoundarySets(int minSize, const BoundarySet* list);
int BoundarySetStatus(int size);
void printPresentBoundarySet(const BoundarySet* set);
void printPresentBoundarySets(const BoundarySet* list);

// The list helpers.
int getLargestSetSize(int start, int* count, const BoundarySet* list);
BoundarySet* getLargestSet(int size, BoundarySet* list, BoundarySet* fallback);
int CompletionPossible(const BoundarySet* set);
int checkCompletionPossible(const BoundarySet* list);
void shiftPointers(BoundarySet* list, double* newBase, const double* oldBase);

// sum over m < n of conj(X(i, m)) Y_m Z_m / S_m for complex vectors Y and Z.
void VectorVerlinde(int i, int n, double* R, double* I, void (*X)(int, int, double*, double*),
                    const double* Y, const double* Z, const double* S);
