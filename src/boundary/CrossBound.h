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

#include <cstdio>

struct FPType;
struct SCData;
struct SingleBoundaryInfo;
struct ExceptBoundData;

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

// ---- Orbits of the label sets ----
// A simple-current invariant (the diagonal one included) has two current groups: the Ishibashi
// group (currents with charge 0 under the bulk group) permutes the Ishibashi labels, the boundary
// group (the centre modulo the bulk currents with charge 0 on every Ishibashi label) the boundary
// labels. Groups are read by position; position 0 is the current 0. The accessors trust that the
// orbit data are valid.

// Groups and orbits of the current bulk invariant, once per bulk generation, while "Use_orbits"
// is above 0; then the reflection store as well from "Use_orbits" 2 on.
void loadAllOrbits();
// 1 when orbits are on and valid for the current theory and bulk invariant.
int CrossBoundOrbitsAvailable();
void getIshiCurrentGroup();
void getBoundaryCurrentGroup();
void loadIshiOrbitInfo();
void loadBoundaryOrbitInfo();
// Mode 0 drops every orbit array and takes the group order as their length; mode 1 hands out the
// next array.
int* allocateIshiOrbitData(int mode);
int* allocateBoundaryOrbitData(int mode);
// The Ishibashi label of (group position J) x (primary of a) with a's current; -1 for none.
int IshiCurrentFusion(int J, int a);
// J a and J^-1 a for the class J, from the orbit tables.
int FastBoundaryCurrentFusion(int J, int a);
int FastBoundaryCurrentInverseFusion(int J, int a);
// J a for a current label J, without the orbit tables.
int BoundaryCurrentFusion(int J, int a);
// J a for a fixed boundary label a: the target label whose reflection coefficients follow a's by
// the charge phase of J; the annulus method when that test does not decide. -1 on failure.
int FixedBoundaryCurrentFusion3(int J, int a);
// The first fixed label b (any label, failing that) from J a's orbit on with oriented annulus
// A(J^c, a, b) = 1; -1 for none.
int FixedBoundaryCurrentFusion(int J, int a);
// Products of group positions, as the product callback of an abstract group.
int FastIshiCurrentProduct(int J, int K, void* data);
int FastBoundaryCurrentProduct(int J, int K, void* data);
int getNumberOfIshiOrbits();
int getNumberOfBoundaryOrbits();
int getBoundaryOrder();
int getIshiOrder();
int getBoundaryOrbitStart(int a);
int getBoundaryOrbitSize(int a);
int getIshibashiOrbitSize(int m);
int getIshibashiOrbitSize_orb(int i);
int getIshibashiFieldForOrbit(int i);
int getIshibashiOrbitRepresentative(int i);
// J a for every class J: a's own orbit array for a representative, else filled into vector.
int* getBoundaryOrbit(int a, int* vector);
// The image of a label under group position k.
int getIshibashiOrbitImage(int m, int k);
int getBoundaryOrbitImage(int a, int k);
int getIshiCurrent(int k);
int getBoundaryCurrent(int k);
// The class of a current label; -1 outside the centre.
int getBoundaryCurrentClass(int J);
int getFixesAllCount();
int getFixesAll(int k);

// ---- Reflection coefficients ----
// R(m, a) for Ishibashi label m and boundary label a, as (real, imaginary).

// The simple-current formula for one pair of records: S(i, f) for the diagonal invariant, else
// sqrt(G / (U S)) S^J(i, f) exp(-2 pi i chi_psi(J)) exp(-i pi s_J / 4), and 0 when J is not in
// the untwisted stabiliser of f.
void getSCReflectionCoefficient(const IshibashiLabel* Ishi, const BoundaryLabel* Bnd, int trivial,
                                const SCData* MD, double* R, double* I);
// The dispatcher: the exceptional table (0 after a report when it is missing), the orbit store
// when valid, else the formula.
void getCurrentReflectionCoefficient(int m, int a, double* R, double* I);
void getCurrentReflectionCoefficientStarred(int m, int a, double* R, double* I);
// R of the representative of Ishibashi orbit o; the starred one times the orbit size.
void getCurrentReflectionCoefficient_orb(int o, int a, double* R, double* I);
void getCurrentReflectionCoefficientStarred_orb(int o, int a, double* R, double* I);
// R(m, a) with the arguments swapped, for sums over boundaries.
void getCurrentReflectionCoefficientTranspose(int a, int m, double* R, double* I);
// The orbit store: one value per orbit pair, computed on first use.
void initRefCoefStorage();
// The largest number of orbit pairs whose store one block can hold under the allocation ceiling.
long long maxStoredRefCoefPairs();
int refCoefStoreFits(long long pairs);
// The Ishibashi label on the same primary with the conjugate current; built once per bulk
// generation.
void loadIshibashiMetricFlip();
int getIshibashiMetricFlip(int m);
void getRefCoefFromStorage(int m, int a, double* R, double* I);
// Mode 0: the plain coefficient; mode 1 the flipped one; any other mode is reported.
void getReflectionCoefficientFromStorage(int m, int a, int mode, double* R, double* I);
// Compares the stored coefficients with the formula; reports differences, prints sign flips.
void checkReflectionCoefficients();

// ---- Oriented annulus ----

// S of the primary of Ishibashi label m (of the representative of orbit o) with field x.
void compSAux(int m, int x, double* re, double* im);
void compSAux_orb(int o, int x, double* re, double* im);
// The number of open states i between boundaries a and b; a negative i takes the conjugate
// field. 2147483647 while the user's stop flag is set.
int getOrientedAnnulus(int i, int a, int b);
// The same as an orbit sum, without the charge rule.
int FastOrientedAnnulus(int i, int a, int b);
// sum_c O(i^c, a, c) O(j^c, c, b) = sum_k N_ij^k O(k^c, a, b): 1 when it holds, 0 after a
// report, -1 when the user stopped the sums.
int checkNIMfusion(int i, int j, int a, int b);

// ---- Displays ----

void showBoundaryLabels(int min, int max);
void showIshibashiLabels(int min, int max);
// One boundary label with the spectrum rows of its orbit.
void showBoundaryLabelDetails(int a);
// '*' for a label that breaks the bulk symmetry, else a blank.
char SymBsymB(int a);
// One label with its place in its orbit and the orbit; refused without orbit data.
void showBoundaryOrbit(int a);
void showIshibashiOrbit(int m);

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
    VectorSpace* GlobalAnomalies = &anomalyRows.space;
    int GlobalAnomaliesAvailable = -2;

    OrientifoldInfo() = default;
    OrientifoldInfo(const OrientifoldInfo&) = delete;
    OrientifoldInfo& operator=(const OrientifoldInfo&) = delete;

private:
    IntegerList chargeList;
    OwnedVectorSpace anomalyRows{"Global anomaly equations", 100};
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
// The indices of the charge vectors K J, J in the bulk group, that the orbit rules allow.
void loadModInvGroupCharges(OrientifoldInfo* OI);
IntegerList* getTrivialModInvGroupCharges();
// Room for size list entries; entries are kept, new ones are none.
void allocateOrientifolds(int size);
// List entry i; none for an index outside the list.
OrientifoldInfo* getOrientifoldByNumber(int i);
OrientifoldInfo** getOrientifolds(int* N);

// ---- Orientifold choice, metric and crosscaps ----

// The Klein bottle current of the current record (of OI): 1 when set, 0 when refused.
int setKlein(int value);
int setQUELTKleinBottleCurrent(OrientifoldInfo* OI, int value);
// The warnings on K for the bulk group; always 1.
int verifyKleinBottleCurrent(OrientifoldInfo* OI);
// One sign per cyclic factor; 0 when refused.
int setCrosscapSigns(int parnum, int* crosssigns);
int setQUELTCrosscapSigns(int parnum, int* crosssigns, OrientifoldInfo* OI);
// One sign per group element from one per factor, and back (a static buffer).
void getFullCrosscapSigns(int* bas_signs, SCData* MD, int* crosscap);
int* getCrosscapSigns(int* crosscap);
int* checkCrosscapSigns(int* crosscap, const char* origin);
// Repeats closure passes until every phase is set; 0 after a report when a pass sets nothing.
int closeCorrectionPhases(SCData* MD, OrientifoldInfo* OI);
// (-1)^(h + p/q), h = h(J K) - h(K), or h(J) for K = 0.
int computeProjectionSign(OrientifoldInfo* OI, int J, int p, int q);
void loadPhases(int Ncur);
// The metric exponent of Ishibashi label m of the current record and its period.
void getIshibashiMetric(int m, int* n, int* d);
const char* IshibashiMetricPhaseString(OrientifoldInfo* OI, int J);
void getQUELTCrosscapCoefficient(const IshibashiLabel* Ishi, int trivial, SCData* MD,
                                 OrientifoldInfo* OI, double* R, double* I);
void loadCrosscapCoefficients(OrientifoldInfo* OI);
// U(m) of the current orientifold; 0 after a report when an exceptional invariant has none.
void getCurrentCrosscapCoefficient(int m, int column, double* R, double* I);
// U(m) g_m.
void getCurrentCrosscapCoefficientFlipped(int m, int column, double* R, double* I);
int isCrosscapAvailable();
// R(m~, a) g_m, m~ the label with the conjugate current; the orbit form times the orbit size.
void getCurrentReflectionCoefficientFlipped(int m, int a, double* R, double* I);
void getCurrentReflectionCoefficientFlipped_orb(int o, int a, double* R, double* I);
void getFlippedReflectionCoefficientFromStorage(int m, int a, double* R, double* I);
void showOrientationInfo(OrientifoldInfo* OI);
// The same facts without the tension, for result files.
void printOrientationInfo(OrientifoldInfo* OI, FILE* ofp);
// The charge Q_K(label) of a field under the Klein bottle current, reduced.
void getKleinBottlePhase(int label, OrientifoldInfo* OI, int* num, int* den);
void showSigns();

// ---- Unoriented amplitudes and their checks ----
// Each returns the nearest integer; a negative field label takes the conjugate field. While the
// user's stop flag is set every sum is 2147483647.

int getAnnulus(int i, int a, int b);
int getMoebius(int i, int a);
int getKleinBottle(int i);
// P of field x with the primary of Ishibashi label m.
void compPAux(int m, int x, double* re, double* im);
// The checks count violations, reporting each, and end at maxerr of them; -1 when stopped.
int checkClosed(int maxerr);
int checkOpen(int maxerr);
int checkKleinBottleConstraint(int maxerr);
int checkKlein(int Size, const int* KBs, int maxerr);
void checkAnnulusOrbits(int i, int a, int b);
// 1 when the relation holds, 0 after a report, -1 when stopped.
int checkUNIMMoebius(int i, int j, int a);
int checkUNIMKlein(int i, int j);
int checkCPSumRule();

// ---- Boundary conjugates and Chan-Paton groups ----
// Group types: 0 unitary, +1 orthogonal, -1 symplectic, 2 self-conjugate on a zero tension.

// Conjugates and group types of OI, once per choice; one progress step per label when progress
// is 1. Falls back to the older search when a label finds no partner.
void loadOrientifoldConjugates(OrientifoldInfo* OI, int progress);
// The search from label 0 on; the tables count as valid only when every label has a partner.
void loadOrientifoldConjugates_OLD(OrientifoldInfo* OI, int progress);
// The tables of every list entry, or of those of non-zero tension.
void loadAllOrientifoldConjugates(int exclude_zero_tension);
// The conjugate of boundary i on the current orientifold; -1 after a report for none.
int BoundaryConjugate(int i);
// The largest stack of boundary a that the tension of list entry i admits; 0 after a report
// for an index outside the list or the labels.
int MaximalCPGroup(int a, int i);
void printMaximalCPGroup(int a, OrientifoldInfo* OI);
// R(m, a^c) with the arguments swapped; 0 after the report of a missing conjugate.
void getCurrentReflectionCoefficientTransposeConjugated(int a, int m, double* R, double* I);
// The classifying-algebra coefficient of Ishibashi labels i, j, k: the sum over boundaries a of
// R(i, a) R(j, a) R(k, a^c) / R(0, a).
int getClassifyingCoefficient(int i, int j, int k);
// The same Verlinde sum over primaries with S, on the primaries of the three Ishibashi labels.
int getFusionForClassifyingCoefficient(int i, int j, int k);

// ---- Defect profiles and boundary permutations ----

// The profile of boundary a, or of the crosscap for a = -1, printed to the terminal, for a free
// boson or a c=1 orbifold as the current theory.
void LocalizeDefect(int a);
// The image of boundary a under the field permutation: -2 for a fixed-point boundary, -1 after a
// report.
int ComputeBoundaryPermutation(int* Permutation, int a);
// The boundary permutation induced by the field permutation, with hints resolve1[k] <->
// resolve2[k].
void CloseBoundaryPermutations(int* Permutations, int Nres, int* resolve1, int* resolve2);

// ---- The orientifold list ----
// Choices (K, crosscap signs) of a symmetric simple-current invariant up to shifts by bulk
// currents, reductions by squares and symmetries of the simple-current data; one record per
// class, by descending tension, then ascending K, then signs with +1 first. Building the list
// leaves the current orientifold as it was.

// The admissible Klein bottle currents with their classes; 0 when the fusion of the currents
// contradicts itself.
int initKleinInfo();
// The maps on (K, one sign per bulk element); Vec_out receives K' and the basic signs, and is left
// as it was when an image leaves the bulk group.
void directOrientifoldShift(int KBC_in, int* crosscap_in, int* Vec_out, int shiftcur);
void directOrientifoldRootReduction(int KBC_in, int* crosscap_in, int* Vec_out, int rootcur);
void directOrientifoldPermutation(int KBC_in, int* crosscap_in, int* Vec_out, int p);
// The same maps on (K, basic signs).
void computeOrientifoldShift(int* Vec_in, int* Vec_out, int shiftcur);
void computeOrientifoldRootReduction(int* Vec_in, int* Vec_out, int rootcur);
void computeOrientifoldPermutation(int* Vec_in, int* Vec_out, int p);
// The list for the current bulk invariant, once per bulk generation; its length.
int loadOrientifolds();
void generateAllOrientifolds();
// The older traversal, for the backward-compatibility switch.
void generateAllOrientifolds_ZNX_VERSION();
double getOrientifoldTension(int* vec);
int compareOrientifolds(OrientifoldInfo* A, OrientifoldInfo* B);
void printOrientifoldList();
// The list position of the class of a choice; -1 after a report when there is none.
int findOrientifoldClass(int mult, int KBC, int* signs);
int matchToNewOrientifoldList(OrientifoldInfo* Old);
int TotalOrientifolds();
int TotalOrientifoldsWithTension();
OrientifoldInfo** getPositiveTensionOrientifolds(int* Total, int* PosTensCount);
// Loads the list and makes the user's record current again.
void collectOrientifolds();

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
// Makes the current bulk invariant an exceptional one, so that its boundaries and crosscaps come
// from the searches. A stored record is first copied into the working record, which becomes
// current: the store keeps its simple-current form.
void makeBulkExceptional();
// The tables of the current exceptional invariant; 0 in both parts after a report when they are
// not loaded.
void getExceptionalReflectionCoefficient(const IshibashiLabel* Ishibashi, const BoundaryLabel* Bnd,
                                         double* R, double* I);
void getExceptionalCrosscap(int Bulk, double* R, double* I);
// Installs a Klein bottle (N entries), or row nr of the last search, as the exceptional Klein
// bottle; the orientifold counter moves.
void setKleinBottle(const int* newBottle);
void storedKleinBottle(int nr);
// The Klein bottles K_i = K^std_i - 2 n_i (K_0 fixed) whose crosscap squares vanish off the
// Ishibashi primaries; KBC = 1 also requires the Klein bottle constraint, trace = 1 integer trace
// values. The rows found are kept for "select klein nr".
void searchKlein(int KBC, int trace);
int testCandidateKlein(int Size, int* loop, void* data);
// With klein null: fills the values Y(i, 0, 0), i < Size, and returns 0. Otherwise 1 when every
// trace value T(a) = sum_{i < Size} S(a, i) Y(i, 0, 0) K_i / Re S(0, i) is an integer, written to
// AnnulusTrace when that is not null.
int testCandidateKlein2(int Size, const int* klein, int* AnnulusTrace);
// 1 when the trace values over the first Np primaries are TraceValues[a], a < Np.
int checkTraceValues(int Np, const int* Kln, const int* TraceValues);
// Gamma_m = sqrt(Re S(0, m) sum_i S(i, m) K_i) into sbi; 0 when a square is non-zero off the
// Ishibashi primaries. output = 1 reports and prints at "Boundary_search info_level".
int ComputeExceptionalCrosscap(SingleBoundaryInfo* sbi, const int* klein, int output);
// 1 acceptable, 0 a non-zero crosscap square off the Ishibashi primaries, -1 one on them that is
// negative or not real.
int checkKleinIshibashiMap(const int* Solution);
// A loaded boundary set whose Klein bottle is no longer the exceptional one is dropped.
void ExamineBulkData(ExceptBoundData* EDT);
