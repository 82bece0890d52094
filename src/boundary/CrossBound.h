// Boundaries, crosscaps and orientifolds of the current bulk invariant: the Ishibashi and
// boundary labels with the lazy set-up that keeps them current, the orientifold records with the
// current orientifold and its change counter, the Klein bottle of exceptional invariants, and
// the displays of the label sets.
//
// The set-up is stamped with the facade's counters: the labels follow the bulk-invariant
// generation (QueryBulkInvariant), the unoriented data the orientifold counter. Every command of
// the Boundary mode runs initializeOrientedOpenString or initializeOpenString first.
#pragma once

#include "base/Allocation.h"
#include "numeric/Discrete.h"
#include "numeric/MathUtility.h"
#include "numeric/Sorting.h"
#include "numeric/VectorUtility.h"

struct FPType;
struct SCData;

// Every block of the module is charged here.
extern AllocCount CrossBound_alloc;

// ---- Label sets ----
// Labels are plain indices into the two arrays; Ishibashi label 0 is the vacuum.

struct IshibashiLabel {
    int label = 0;        // the primary m whose left and right copies pair
    int current = 0;      // which degenerate state of m: the invariant's current, or a copy number
    int multiplicity = 1; // Ishibashi labels on m
    // Orbit under the Ishibashi current group; not filled by the label build.
    int* orbit = nullptr;
    int orbitsize = 0;
    int orbit_start = -1;
    int orbit_member = 0;
    int orbit_index = 0;
    Discrete_Group* dg = nullptr;
};

struct BoundaryLabel {
    int label = 0; // orbit representative (simple-current invariant), else the running number
    int fp = 0;    // the stabiliser character psi, an element of the untwisted stabiliser
    int isfixed = 0;
    int symmetry_breaking = 0; // a non-integral charge under a left-kernel current
    // Orbit under the boundary current group; not filled by the label build.
    int* orbit = nullptr;
    int orbitsize = 0;
    int orbit_start = -1;
    int orbit_member = 0;
    int orbit_index = 0;
    FPType* fptype = nullptr; // the trivial type for labels without a stabiliser
};

// ---- Start-up and set-up ----

// Binds the parameters, creates the stores and the user's orientifold record and installs the
// facade's boundary hooks; once.
void initializeCrossBound();
// 0 when labels exist for the current bulk invariant, 1 (command stopped) when they cannot.
int initializeOrientedOpenString();
// The oriented set-up plus the current orientifold's data; 1 also for a non-symmetric invariant.
int initializeOpenString();
// Labels of a simple-current invariant, once per bulk generation; always 1.
int initSimpleCurrentBCFT();
// Labels of an exceptional invariant; always 1.
int initExceptionalBCFT();
// Discards what the exceptional searches found and advances the orientifold counter.
void resetBoundaries();

// ---- Label builders ----

void getIshibashiLabels();
void getBoundaryLabels();
// Boundary label i = Ishibashi label i, without stabilisers; for the exceptional searches.
void setStandardBoundaryLabels();
// 1 when field is the smallest of its orbit under the bulk group; then *NF is its stabiliser
// order and *fpc the stabiliser currents, in a work buffer the next call reuses.
int makeOrbit(int field, int* NF, int** fpc);
// The untwisted part of the stabiliser fpc[0 .. stabsize-1] of field, written at fpc + the bulk
// group order; returns its order.
int makeAlternatingStabilizer(int field, int stabsize, int* fpc);
// exp(2 pi i X(f1, f2)) for two bulk-group currents: +1 or -1, or 2 for a phase.
int getAlternator(int f1, int f2);
void computeXMatrixEntry(int f1, int f2, rat* A);
// 1 when a left-kernel current other than the identity has a non-integral charge on label.
int checkBoundarySymmetry(int label);

// ---- Counts and accessors ----
// The counts run the oriented set-up first and are 0 when it fails. The accessors do neither
// and trust their index.

int TotalBoundaries();
int TotalIshibashi();
int getIshibashiField(int i);
int getBoundaryField(int a);
int getBoundaryFixed(int a);
int isIshibashiLabel(int m);
int IshibashiMultiplicity(int m);
int getIshibashiLabel(int m);
int SimpleCurrentBoundary(int a);
// Reflection coefficients exist: a simple-current invariant, or an exceptional one whose boundary
// table is loaded.
int isRefCoefAvailable();
// The first boundary label of the orbit of a primary.
int getFirstBoundaryForPrimary(int primary);

// ---- Displays ----

void showBoundaryLabels(int min, int max);
void showIshibashiLabels(int min, int max);
// One boundary label with the spectrum rows of its orbit.
void showBoundaryLabelDetails(int a);
// '*' for a label that breaks the bulk symmetry, else a blank.
char SymBsymB(int a);

// ---- Orientifold records ----
// A growable block keeps the five fields of GuardedArray (data, block, requested, old and held
// size). A derived item is valid while its stamp equals OrientifoldNr.

struct OrientifoldInfo {
    int KBC = 0; // Klein bottle current; 0 for none
    // The sign block: one crosscap sign per cyclic factor of the bulk group, then the correction
    // signs, phases and phase denominators of the group elements.
    GuardedArray<int> CrosscapSigns{"Crosscap signs", &CrossBound_alloc};
    // Crosscap coefficients: real parts, then imaginary parts.
    GuardedArray<double> Crosscap{"Crosscap coefficients", &CrossBound_alloc};
    double Tension = 0.0;
    int CrosscapFlip = 1;
    int ModInvNr = -1;      // bulk generation the record was sized for
    int OrientifoldNr = -1; // generation of the choice
    int* CorrectionPhases = nullptr;
    int* PhaseDenoms = nullptr;
    int* CorrectionSigns = nullptr;
    int* GroupTypes = nullptr;
    int ConjugatesAvailable = -2;
    int CrosscapsAvailable = -2;
    int IshibashiMetricAvailable = -2;
    int CorrectionPhasesAvailable = -2;
    int SequenceNumber = -1; // position in the sorted list; -1 outside it
    // The label block: boundary conjugates, then the Ishibashi metric, then the group types.
    GuardedArray<int> Conjugates{"Boundary conjugates", &CrossBound_alloc};
    // Byte caches of the diagonal sectors, cut into five sections.
    GuardedArray<signed char> Diagonals{"Diagonal sectors", &CrossBound_alloc};
    signed char* Chirality = nullptr; // null: the caches are not set up for the invariant
    signed char* Annuli = nullptr;
    signed char* Moebii = nullptr;
    signed char* Adjoints = nullptr;
    signed char* Anomalous = nullptr;
    IntegerList* ModInvGroupCharges = &chargeList;
    int* IshibashiMetric = nullptr;
    VectorSpace* GlobalAnomalies = &anomalyRows;
    int GlobalAnomaliesAvailable = -2;

    OrientifoldInfo() = default;
    OrientifoldInfo(const OrientifoldInfo&) = delete;
    OrientifoldInfo& operator=(const OrientifoldInfo&) = delete;

private:
    IntegerList chargeList;
    VectorSpace anomalyRows = declareVectorSpace("Global anomaly equations", 100);
};

OrientifoldInfo* getCurrentOrientifold();
// Makes the user's record current; the counter always moves.
OrientifoldInfo* setUserDefinedOrientifold();
// Makes list entry i current; none, and nothing changes, for an index outside the list.
OrientifoldInfo* setStoredOrientifold(int i);
// The counter moves only when the current record changes.
void setSelectedOrientifold(OrientifoldInfo* OI);
OrientifoldInfo* setLoopOrientifold();
OrientifoldInfo* allocateOrientifoldInfo_stage1();
// Creates *OI when null, then sizes and resets it unless it was sized for the current bulk
// invariant.
void allocateOrientifoldInfo_stage2(OrientifoldInfo** OI);
void resetOrientifoldCrosscapParameters(OrientifoldInfo* OI, int size);
void resetOrientifoldStorageInfo(OrientifoldInfo* OI);
void OrientifoldChanged();
// Room for size list entries; entries are kept, new ones are none.
void allocateOrientifolds(int size);
// List entry i; none for an index outside the list.
OrientifoldInfo* getOrientifoldByNumber(int i);
OrientifoldInfo** getOrientifolds(int* N);

// What the facade's QueryOrientifold, resetOrientifold and resetBulk forward to once
// initializeCrossBound has installed them; everyone else calls the facade's.
namespace crossbound {
int QueryOrientifold();
// The user's record becomes current (simple-current invariants) or the exceptional Klein bottle
// its standard value; 0 when the exceptional one is left alone with "Orientifold" off.
int resetOrientifold();
void resetBulk();
} // namespace crossbound

// ---- Exceptional invariants ----

// The standard Klein bottle into KL, one entry per primary: K_i = Z(i, i^c). Left as it is when
// the theory has no charge conjugation.
void resetExceptionalKleinBottle(int* KL);
