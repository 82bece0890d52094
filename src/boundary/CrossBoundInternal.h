// What the files of the boundary module share: its parameters, the label arrays and stamps, the
// orientifold records and the Klein bottle of exceptional invariants.
#pragma once

#include "boundary/CrossBound.h"
#include "modular/Modular.h"

#include <vector>

struct BulkInvariant;
struct FPType;

namespace crossbound_internal {

// ---- Parameters; null until initializeCrossBound, when the built-in defaults apply ----

extern int* OrientifoldSwitch;
extern int* UseOrbits;
extern int* InitDebug;
extern int* BoundarySearchInfo;
extern int* BoundarySearchCapacity;
extern int* BoundarySearchAllSets;
extern int* RejectPermutations;
extern int* RejectInfo;
extern int* NIMrepMaxRow;
extern int* MoebiusSecurity;
extern int* OrientifoldInfoLevel;
extern int* ZNXVersion;

int orientifoldOn();
int useOrbits();
// Writes a "##init: " line to the terminal while "Init_debug" is on.
void debugLine(const char* fmt, ...) __attribute__((format(printf, 1, 2)));

// The current bulk invariant, read through the facade's pointer at each use.
BulkInvariant* currentBulk();

// ---- Labels ----
// The arrays hold exactly the labels built; the counts are their sizes.

extern std::vector<IshibashiLabel> IshibashiLabels;
extern std::vector<BoundaryLabel> BoundaryLabels;
extern int IshibashiLabelCount;
extern int BoundaryLabelCount;
extern GuardedArray<int> FirstBoundaryForPrimary;
extern FPType* startFP; // the module's own stabiliser types
extern int TotalOrder;  // order of the bulk simple-current group

// ---- Orientifolds ----

extern int OrientifoldCounter;
extern OrientifoldInfo* User;
extern OrientifoldInfo* Trivial;
extern OrientifoldInfo* Loop;
extern OrientifoldInfo* CurrentOrientifold;
extern GuardedArray<OrientifoldInfo*> Orientifolds;
extern int N_Ori;
// The user's record, made on first need.
OrientifoldInfo* userRecord();
// The current record; the user's when none is current yet.
OrientifoldInfo* currentRecord();

// ---- Exceptional invariants ----

extern GuardedArray<int> ExceptionalKlein;
extern int KleinBottleModInvNr;
extern int CrosscapStatus;
extern VectorSpace* KleinBottleStorage;
extern VectorSpace* MoebiusEquations;
extern VectorSpace* KleinBottleEquations;
// The orientifold reset that closes a Klein bottle search: the rows it found stay.
int resetOrientifoldKeepingKleinBottles();

// ---- Orbits of the label sets ----
// Valid while OrbitDataAvailable equals the bulk generation; IshiOrbitsAvailable is 1 only while
// the boundary orbits are being built on top of finished Ishibashi orbits.

extern int OrbitDataAvailable;
extern int IshiOrbitsAvailable;
extern int IshiOrder;
extern int BoundaryOrder;
extern int NIshiOrbit;
extern int NBoundaryOrbit;
extern std::vector<int> IshiCurrentMap;   // the current of each Ishibashi group position
extern std::vector<int> BoundaryCurrents; // the representative current of each class
extern std::vector<int> IshiOrbitMap;     // the representative of each Ishibashi orbit
extern std::vector<int> BoundaryOrbitMap; // the representative of each boundary orbit

// ---- Orientifold data ----
// Correction phases and signs of the bulk group, and the Ishibashi metric with the tension, of
// one record; each once per OrientifoldNr.

void loadCorrectionPhases(SCData* MD, OrientifoldInfo* OI);
void loadIshibashiMetric(OrientifoldInfo* OI);

// ---- Klein bottle currents and the orientifold list ----
// Built once per bulk generation. A simple current K is rep x (square) x (bulk current).

struct KleinEntry {
    int rep = -1;      // -2 not admissible; else the representative of K's class (0: identity)
    int square = 0;    // index into SquareCurrents
    int bulk = 0;      // a bulk current
    int signClass = 0; // row of KleinDependentProjectionSigns
};
extern std::vector<KleinEntry> KleinInfo;
extern std::vector<int> OrderTwoCurrents; // bulk currents of order 2
extern std::vector<int> SquareCurrents;   // distinct L x L, in order of first appearance
extern std::vector<int> CurrentRoots;     // the first L of each square
// Projection signs of every bulk element, one row per class of Klein bottle currents.
extern std::vector<std::vector<int>> KleinDependentProjectionSigns;
extern int KleinInfoInitialized;

// One enumerated choice: K, one sign per cyclic factor, its class (-1 unclassified) and how it
// was reached (4 never, 1 square, 2 shift, 3 permutation, 0 processed).
struct OrientifoldRow {
    int K = 0;
    std::vector<int> signs;
    int cls = -1;
    int status = 4;
};
extern std::vector<OrientifoldRow> AllOri;
extern std::vector<double> Tensions; // |tension| of each row

// sum_i S(i, m) v_i over the N fields, the zero entries of v skipped.
template <class T> void sumOverS(int N, const T* v, int m, double* re, double* im) {
    double sr = 0.0, si = 0.0;
    for (int i = 0; i < N; i++) {
        if (v[i] == 0)
            continue;
        double r, s;
        compS(i, m, &r, &s);
        sr += r * v[i];
        si += s * v[i];
    }
    *re = sr;
    *im = si;
}

} // namespace crossbound_internal
