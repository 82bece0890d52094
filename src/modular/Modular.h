// The current theory as every later subsystem sees it: generation counters that stamp all caches,
// forwarders of weights, charges, conjugates and simple currents, the orbit table and S caches,
// and fusion coefficients. Questions go to the building block or the tensor product, whichever
// is current; the resolution matrices S^J of a tensor product are not built yet and answer with
// zero elements. The name, central charge and spectrum table of the current theory are here too.
#pragma once

#include "numeric/Discrete.h"
#include "numeric/MathUtility.h"

#include <cstdio>

struct IntegerList;
struct SpectrumData;
struct VectorSpace;

// One complex matrix element (row, column) into (real, imaginary).
using MODMAT = void (*)(int row, int column, double* re, double* im);

// The orbit-table record of one field of the current theory; valid while
// ModularOrbitsAvailable() equals QueryCFT().
struct OrbitInfo {
    int orbit_start; // first field of the orbit; -1 while not placed
    int orbit_index;
    int current; // lowest current label J with J x(start) = x
    int length;  // on the orbit start: distinct fields of the orbit
    int* charge; // G Q_J(x) for every current label J, integers 0 .. G-1
    int* orbit;  // on the orbit start only: entry J is the field J x(start)
};

// ---- The current theory ----
// The facade alone records which theory is current; the command set and the start-up set it
// through these and every other layer asks.

// 0 while the building block getCurrentSD() is the current theory, 1 while the tensor product is.
int getCosetMode();
void setCosetMode(int mode);
SpectrumData* getCurrentSD();
// The building block while it is the current theory, else null.
SpectrumData* currentBlock();
// Makes sd the current building block; unless the tensor product is current, the totals become
// its numbers of fields and simple currents.
void setCurrentSD(SpectrumData* sd);
// The counts the totals read from now on (null reads 0), while a tensor product is current.
void setCurrentTotals(int* primaries, int* currents);
int getTotalPrimaries();
int getTotalCurrents();
// The store's block for (1, 0, 0) becomes the current block.
void initializeAlgebra();
// Notifications when a block became current; they do nothing.
void setAlgebraView(int type, int rank, int level);
void setCurrentSliders(int curr);

// ---- Start-up and counters ----

// Binds the module's parameters; once, after the defaults are registered.
void initializeModular();
int QueryCFT();
int QueryBulkInvariant();
int ModularOrbitsAvailable();
// The theory was (re)computed: every cache of the current theory becomes stale.
void CFTChanged();
// The resets of CFTChanged without advancing the counter or resetting the bulk invariant.
void resetS();
void bulkInvariantChanged();
// The product's factors or currents changed: the caches of the theory before are stale.
void TensorChanged();
int QueryTensor();

// ---- Forwarders ----

int MOD_isValidCFT();
int CenterOrder();
// Type and rank of the current single block; -1 in tensor mode and without a block.
int getCFTtype();
int getCFTrank();
// Static result, overwritten by the next call of ratWeight or MOD_realWeight.
rat* ratWeight(int lbl);
double MOD_realWeight(int lbl);
int getConjugate(int lbl);
int ConjugatesAvailable();
int S_Symmetric();
int simpleCurrentCheck(int c);
int isSuperCurrent(int lbl);
int SusySpectrum();
// 1 when the ground states of the theory have contents (the column "Contents").
int MOD_initContents();
// 1 when J fixes some field; for a product no current of weight other than a multiple of 1/2.
int MOD_fixedPointCurrent(int J);
// Fixed-point resolution of the current theory, a block's or a tensor product's.
// The twist F(field, cur1, cur2) of field under cur1 with respect to cur2, 0..3.
int MOD_getCurrentTwist(int field, int cur1, int cur2);
// S^J(a, b) and the orbit Lie algebra's S between the labels of a and b; zero when not fixed.
void MOD_getFCFT_Smatrix(int J, int a, int b, double* Re, double* Im);
void MOD_getOLA_Smatrix(int J, int a, int b, double* Re, double* Im);
// The shift of J's fixed-point theory; 0 for the identity, and 0 after a report for a current
// without fixed points.
int MOD_getFCFTshift(int J);
// The simple-current group with, in map, the field of each element; a product's is identified
// afresh at each call, its map valid until the next one.
Discrete_Group* getSimpleCurrentGroup(int** map);
// Symmetries of the current theory acting on its simple currents, numbered from 0 (the
// identity): a block's outer automorphisms, or a product's permutations of identical factors
// combined with its factors' outer automorphisms, as far as they keep its chiral algebra.
int MOD_TotalOuterAutomorphisms();
// The image of current curr under symmetry perm; -1 when either does not exist.
int MOD_getCurrentPermutation(int perm, int curr);
// One row per symmetry (a product's first 1000), the image of every current.
VectorSpace* MOD_getCurrentOuterAutomorphisms();
// A block: its symmetries restricted to the listed integer-spin currents, as positions in the
// list. A product: prepares the images of the extension numbering and returns no table.
VectorSpace* MOD_getIntegerSpinPermutations(IntegerList* list);

// ---- Simple currents ----

int simpleFusion(int cur1, int lbl);
// The DISC_PROD callback of the group routines; x is not read.
int simpleProduct(int cur1, int cur2, void* x);
// The monodromy charge in [0, 1), reduced; a static result overwritten by the next call.
rat* simpleCurrentCharge(int current, int lbl);
// Length of the orbit of lbl under the powers of J; 1 for J = 0.
int simpleCurrentOrder(int J, int lbl);
int getOrbitStart(int lbl);
// The effective center: the currents J of order N with N h(J) an integer.
int effectiveCenterCheck(int J);
// One entry per current, 1 in the effective center; recomputed once per theory.
const int* getEffectiveCenter();
// 1 when the first order currents all lie in the effective center.
int SubgroupEffectiveCenterCheck(int order, const int* currents);
// The center elements of order 2 in the effective center, ascending; their count into size. A
// list the next call reuses.
int* computeOrderTwoCenter(int* size);
int* getChargePointer(int i);
int findChargeVector(const int* charge);
// How many distinct charge vectors the current theory has; valid indices lie below.
int getNumberOfChargeVectors();

// ---- Printing ----
// The functions that write into txt return the position after what they wrote.

char* printModMatElt(char* txt, double Re, double Im);
char* displayS(char* txt, int i, int j);
char* displaySforC(char* txt, int i, int j);
// Keeps the largest deviation in Accuracy; writes a report only for a deviation of 1e-10 or more.
char* checkC(char* txt, const char* quantity, double R1, double I1, double R2, double I2);
double getAccuracy();
void resetAccuracy();
void PrintShifted(char* txt);
char* PrintEntry(char* txt, int i, int j);

// ---- Orbit data and S caches ----

void compS(int i, int j, double* Re, double* Im);
double* initSMATRIX();
double* initFirstRow();
void initOrbitData();
Discrete_Group* getCenter(int** map);
// Mode 0 releases every orbit list; mode 1 returns one more list of G ints.
int* allocateModularOrbitData(int mode);
void compSBase(int o1, int o2, double* Re, double* Im);
void S_aux1(int o, int j, double* Re, double* Im);
void S_aux2(int o, int j, double* Re, double* Im);
int getGenericConjugate(int lbl);
void getExceptionalSimpleCurrents(int Ncur);
// Read access to the orbit table for the consumers of orbit data.
OrbitInfo* getOrbitInfo(int lbl);
int getNOrbit();

// ---- P ----
// P = T^1/2 S T^2 S T^1/2 of the current theory, from the packed P (after initPMATRIX), from rows
// kept per simple-current orbit, or computed directly.

void compP(int i, int j, double* Re, double* Im);
// The packed P, all entries not yet computed; null when there are more fields than "S_matrix
// maxsize".
double* initPMATRIX();
void computePmatrix(int i, int j, double* Re, double* Im);
void compPfromOrbits(int i, int j, double* Re, double* Im);
// The lexicographically smallest of (i,j), (j,i), (c(i),c(j)), (c(j),c(i)): P takes one value on
// all four.
void convertPLabels(int i, int j, int* a, int* b);
char* displayP(char* txt, int i, int j);

// ---- Row files of large theories ----
// From rowFileThreshold() simple-current orbits on, orbit S and P rows are kept in the
// directories "S<theory>.sdir" and "S<theory>.pdir" of the output directory, shared with other
// processes; below it they live in memory only.

int rowFileThreshold();
// Lowers (or restores, with values of 0 or less) the orbit count from which rows go to files and
// the number of complex S entries the disk cache keeps in memory; for tests.
void setRowFileLimits(int orbits, int entries);
// o1 = -1 sets the cache up for the current theory.
void compSBaseFromDisk(int o1, int o2, double* Re, double* Im);
void getSBaseRow(double* SBaseData, int MaxRow, int slot, int o, const char* Sdir);
int getReUsableRow(int* LastCalls, int CallSeq, int MaxRow);
// 1 after a complete read of the 2 size values of orbit o's P row.
int getPBaseRow(double* row, int o, int size, const char* Pdir);
// Merges the row with what the file holds and rewrites the file under a write lock.
void writePBaseRow(double* row, int o, int size, const char* Pdir);
void writePOrbits();

// ---- Fusion ----

// Rounded real part of sum_m X(m,i) Y(m,j) Z(m,k) / Re S(m,0); a negative label conjugates its
// matrix element for m >= 1. 2147483647 when stopped.
int GenericVerlinde(int i, int j, int k, int range, MODMAT X, MODMAT Y, MODMAT Z, MODMAT S);
// The rounding of GenericVerlinde for a sum (re, im) evaluated elsewhere, with its reports for
// the labels i, j and k.
int roundGenericSum(int i, int j, int k, double re, double im);
// N_ij^k; -9998 for a failed coefficient, -9999 when stopped.
int fusion(int i, int j, int k, int vacuum);
// N_ij^k for every field k into n, each as fusion(i, j, k, vacuum) gives it, from the products
// that compF reuses; -9998 or -9999 when some coefficient is one of these, else 0.
int fusionProduct(int i, int j, int vacuum, int* n);
// k = -1 prepares the pair (i, j); then each k gives the unrounded coefficient.
double getRijk(int k, int i, int j, int vacuum);
char* compF(char* txt, int i, int j, int vacuum);
// Y_ijk = sum_m S(m,i) P(m,j) conj P(m,k) / S(m,0), rounded.
int Pfusion(int i, int j, int k);
char* compFp(char* txt, int i, int j, int vacuum);
// 1 when sum_k S(i,k) conj S(j,k) - delta_ij vanishes; that value goes to (Real, Im).
int Unitarity_check(char* txt, int lbli, int lblj, double* Real, double* Im);
// Unitarity of the whole S, decided on the orbit starts: 1 when every element of S^dagger S - 1
// passes the test of Unitarity_check, 0 when some element fails or when the check could not be
// made (the elements must then be tested one by one), -1 when the user stopped it.
int unitarityOnOrbits();

// ---- Consistency checks and Frobenius-Schur indicators ----
// The report functions write into an area of 10000 characters and return the end of the report.

char* STcheck(char* txt, int maxlen);
char* Hopfcheck(char* txt);
char* BVSTcheck(char* txt);
char* BVS2TNcheck(char* txt, int maxpower);
char* BVSTQcheck(char* txt);
// Prints the resolved fusion coefficients of a, b, c that are not integers.
void CheckFusion(int a, int b, int c);
int getSchurIndex(int lbl);
void computeGeneralizedSchurIndex(int p, int q);

// ---- Fixed-point and NIM-representation fusion ----

// Fusion in fixed-point theory p (1-based) of the current block; g and h are labels there.
int getFpFusion(int p, int i, int g, int h);
void AuxS(int m, int x, double* Re, double* Im);
void OLA(int m, int g, double* Re, double* Im);
// The currents of the current simple-current invariant that fix a, as a group; list receives
// them, followed by the current of each group element. Null without such an invariant. The list
// is overwritten by the next call.
Discrete_Group* getStabilizer(int a, int** list);
void computeFixedPointFusion(int a, int b, int c, int J, int K, int L, double* Re, double* Im);
void computeNimRepFusion(int l, int a, int b, int J, double* Re, double* Im);

// ---- Indices from fusion ----

// 1 when the pair determined the indices of one more field; (-1, -1) forgets the analysed pairs.
int indicesFromFusion(int i, int j);
void computeIndices();
// Writes the indices of lbl into txt (or prints them when txt is null); returns the end.
char* computeIndicesSingle(int lbl, char* txt);
void writeTensorProduct(int i, int j, int newField, const int* coefficients);

// ---- The boundary layer's part ----
// The facade resets the boundary data when the theory or the bulk invariant changes; the boundary
// layer lies above and installs these at start-up. Without them the counters still move.

struct BoundaryHooks {
    // Back to the diagonal invariant in the local record (resetCurrentBulkToDiagonal, which it
    // calls), then the boundary data of the old one go.
    void (*resetBulk)();
    void (*resetOrientifold)(); // re-initialises the orientifold and advances its counter
    int (*QueryOrientifold)();
};
void setBoundaryHooks(const BoundaryHooks& hooks);
void resetBulk();
void resetOrientifold();
int QueryOrientifold();

// ---- Name, central charge and spectrum table ----

// The name of the current theory; "" when none is current.
char* getCFTname();
// The central charge of the current theory; 0 when none is current.
double Central_Charge();

// Rows min .. max-1 of the current theory's spectrum table, to the terminal when its output is
// on and to the output file when one is open; the header only when first is 0.
void printSpectrum(int min, int max, int first);
// The same rows once to ofp, without header.
void MOD_printSpectrum(int min, int max, FILE* ofp);
