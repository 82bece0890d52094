// The building-block store: one record per building block (WZW model, free boson, and the
// blocks derived from them), created on the first request for its key and kept for the life of
// the process, so that every record pointer handed out stays valid. Each record carries its
// fields with labels, weights, simple-current orbits and charges, and fills the rest (conjugates,
// dimensions, higher indices, grading, current-action table) on first use.
#pragma once

#include "base/Allocation.h"
#include "numeric/Discrete.h"
#include "numeric/LargeInteger.h"
#include "numeric/MathUtility.h"
#include "numeric/Sorting.h"
#include "numeric/VectorUtility.h"
#include "store/StringData.h"

#include <cstddef>
#include <cstdio>

struct TensorProduct;

// Type codes beyond those of the affine algebras: 6 minimal model made from a tensor product,
// 7 c=1 Z2 orbifold, 9 theory made from a tensor product, 10 fixed-point theory, 26 minimal
// fixed-point theory, 27 N=2 minimal model, t + (p-1)*1000 permutation orbifold of order p of a
// block of type t, t - 100 the complex-conjugate theory of type t. Arrays "per field" have
// Nprimaries entries in label order.
struct SpectrumData {
    SpectrumData* next;             // the store list runs newest first
    SpectrumData** FixedPointCFT;   // per fixed-point current; filled lazily
    SpectrumData** CosetFactors;    // factors of a theory made from a tensor product
    SpectrumData* basis;            // the block this one is derived from
    Discrete_Group* SimpleCurrents; // element labels are the labels of the first fields
    int* FCFTcurrent;               // label vector of the current a fixed-point theory resolves
    int type;
    int rank;
    int level;
    int permutation_order; // 1 for ordinary blocks
    int bootcomp;          // 1: every S element is computed directly
    int S_available;
    int FCFT_type; // 0 from a tensor product, 1 from a permutation orbifold
    int RepSize;   // entries of a field's label vector
    int Nprimaries;
    int Norbits;
    int AdjDimension;
    int DualCoxeter; // -1 not set
    int Complexity;  // 1 when S has imaginary parts
    int S_Symmetry;
    int graded;
    int gradecurr; // -1 ungraded
    int validCFT;
    int StoreS;
    char* grade;     // 'N' or 'R' per field
    int* multiplets; // grade current applied to each field
    int* info;       // 4 covariant-lattice multiplicities per field
    int CosetFactorCount;
    int Ncurrent;
    int* CosetCurrents;
    int* GH;
    int exactWeights; // 0: weights known only modulo 1
    int Weight_denom;
    int* Weight_num;          // h = Weight_num[i] / Weight_denom
    double CentralCharge;     // -1.0 not set
    double* SBase;            // S on orbits; entries -2.0 not computed, in rows SBaseRows marks
    unsigned char* SBaseRows; // per row of SBase: 1 once its entries hold a value or -2.0
    int* CFTtoCoset;
    int* OrbitLabel;
    int* OrbitGenerator;
    int* OrbitPosition; // the current carrying the generator to the field
    int* OrbitPointers; // generator of each orbit; filled lazily
    int* Charges;       // Mult per field: charge k of field i is Charges[i*Mult+k] / Orders[k]
    int* Stabilizer;    // Mult per field, in echelon form; empty entries 0
    int FCFTnumber;
    int* FixedPointCurrents;
    int* FCFTshifts;
    int* FCFTlabels; // Nprimaries per fixed-point current; -1 when not fixed
    int* ExtDynkin;  // RepSize per field
    int* Dimensions; // negative: big-integer handle; 999999 not determined
    int* Conjugates; // -1: conjugate not found
    int* GravitinoAction;
    int* NSCurrents;
    int NSCurrentCount; // entries NSCurrents holds
    lint** Indices;     // rank+1 per field: dimension, then the higher indices
    char* AlgebraName;
    int* GaloisGenerators;
    int* ScaleGenerators;
    VectorSpace* CurrentOuterAutomorphisms; // rows: permutations of the currents
    int NumberOfGaloisGenerators;
    int* fusion_table; // Order rows of Nprimaries: J*i
    Heterotic* string_spectrum;
    struct TensorProduct* TensorProduct;
    AllocCount TotalAlloc; // "Algebra " and the name; every array of the record is charged here
    int SBaseRefused;      // 1 once the user refused the orbit cache: every S element is direct
    int MinimalN2;         // 1 for an N=2 minimal model made as a coset: its own fixed-point rule
};

// ---- Records and the store ----

SpectrumData* allocateSpectrumData(const char* name);
// Null for an invalid key and a type-6 block that was never made.
SpectrumData* SM_getData(int type, int rank, int level);
SpectrumData* SM_findCFT(const char* name);
SpectrumData* SM_getFirstAlgebra();
void SM_setFirstAlgebra(SpectrumData* sd);
SpectrumData* SM_nextAlgebra(SpectrumData* sd);
std::size_t SM_getTotalAlloc();
void initializeStoremanager();

char* SM_getAlgebraName(SpectrumData* sd);
int SM_getNumberofPrimaries(SpectrumData* sd);
int SM_getCenter(SpectrumData* sd);
int SM_getRepSize(SpectrumData* sd);
double SM_getCentralCharge(SpectrumData* sd);
int SM_getFCFTnumber(SpectrumData* sd);
void SM_getParameters(SpectrumData* sd, int* addim, int* cox, int* Nprimaries, int* Norbits,
                      double* cench);
int* SM_getRep(SpectrumData* sd, int lbl);
int* SM_getContent(SpectrumData* sd, int lbl);
double SM_realWeight(SpectrumData* sd, int lbl);
void SM_getRatWeight(SpectrumData* sd, int lbl, rat* w);
double SM_getLogT(SpectrumData* sd, int lbl);
int SM_fieldCheck(SpectrumData* sd, int c);
int SM_currentCheck(SpectrumData* sd, int c);
int SM_initOrbitData(SpectrumData* sd);
void SM_getOrbifoldFCFT(SpectrumData* sd, int i, int* type, int* rank, int* level, int* shift);

int SM_getLabelNoMessage(SpectrumData* sd, const int* labels);
int SM_getLabelInOrbit(SpectrumData* sd, const int* labels, int start);
int SM_getLieLabel(SpectrumData* sd, const int* labels);
int SM_getLabel(SpectrumData* sd, const int* labels);
int SM_basicCheck(SpectrumData* sd, int lbl);

// Monodromy charge of field lbl with respect to current J, not taken modulo 1.
void SM_getRatCharge(SpectrumData* sd, int J, int lbl, rat* Q);
int SM_getCurrentOrder(SpectrumData* sd, int J);
int SM_isTrivial(SpectrumData* sd, int lbl);
int SM_isFusingmatrixAvailable(SpectrumData* sd);

void SM_allocFCFT(SpectrumData* sd);
void SM_allocHeterotic(SpectrumData* sd, const Heterotic* H);
void SM_allocFieldInfo(SpectrumData* sd, int Dims, int Contents);
// Takes a block whose construction failed off the store's list, so that no lookup finds it.
void SM_discardCFT(SpectrumData* sd);

// ---- Orbit structure from a current action ----

// The label of current x field in the caller's own numbering; -1 when there is none.
using SIMFUS = int (*)(int current, int field, void* xtra);
// For a block with Nprimaries and RepSize set whose old fields 0..Ncur-1 are its simple currents:
// sets the current group, lays out the field tables ("Field Info") and fills the orbit tables.
// map (2 Nprimaries ints): map[n] the old label of new field n, map[Nprimaries + o] the new label
// of old field o. 0, or -1 after a report when the action gives no field; the tables are then
// incomplete and the block must not be used.
int SM_getMap(int* map, int Ncur, SpectrumData* sd, SIMFUS simple_action, void* xtra, int Dims,
              int Contents);
// cur x prim from the S matrix of the block X (Verlinde formula); -1 after a report.
int SM_GenericSimpleAction(int cur, int prim, void* X);
// For a block whose labels, weights, dimensions and S (computed directly from the labels) are
// set: finds the simple currents, renumbers the fields and builds orbits and charges. 0, or -1
// after a report when S gives no fusion product.
int SM_genericReorder(SpectrumData* sd);

// ---- Simple currents, orbits and grading ----
// Results in module storage (the stabilizer list, the restricted permutations) stay valid until
// the next call of the same operation.

int SM_SimpleAction(SpectrumData* sd, int current, int primary);
int SM_SimpleCurrentFusion(SpectrumData* sd, int cur1, int cur2);
int SM_SimpleCurrentPower(SpectrumData* sd, int cur1, int power);
int SM_MakeStabilizer(SpectrumData* sd, int primary, int** stab);
int SM_fixedPointCurrent(SpectrumData* sd, int current);
void SM_getCurrentOuterAutomorphisms(SpectrumData* sd);
VectorSpace* SM_getIntegerSpinPermutations(SpectrumData* sd, IntegerList* Currents);
void makeFusionTable(SpectrumData* sd);
int getResultFromFusionTable(SpectrumData* sd, int i, int j);
// Handler convention: -1 on success (and when graded already), 1 after an error.
int SM_grade(SpectrumData* sd, int current);
// space holds 2 Nprimaries ints: NS fields from 0, R fields from Nprimaries.
int SM_makeGradeMap(SpectrumData* sd, int* space, int* Nc, int* Rc, int* Nm, int* Rm, int* gcount);
int SM_makeNSCurrents(SpectrumData* sd, int grd);
int SM_makeNSCurrents_ZNX_VERSION(SpectrumData* sd, int grd);
void SM_makeOrbitPointers(SpectrumData* sd);

// ---- N=2 minimal models (type 27) ----
// Fields are label triples (l, m, s) in standard form; M = 2k+4. For odd k the currents are
// Z_{2M} generated by J = (0, 1, 1), label i being J^i; for even k they are Z_M x Z_2, label
// i < M being J^i and M + j being J^j S.

// Brings (l, m, s) at level k to standard form: -(l+1) < m <= l+1 and s in -1..2, using the
// identification (l, m, s) = (k-l, m+k+2, s+2).
void SM_minimalStandardForm(int k, int* l, int* m, int* s);
// Weight numerator over 8k+16 and ground-state degeneracy of the triple t in standard form.
void SM_minimalWeight(int k, const int* t, int* num, int* dim);
// Fills a freshly allocated record with the model at level N.
void SM_minimal_spectrum(SpectrumData* sd, int N);
// The triple and charges of current rep1 times field rep2.
void SM_minimal_simple_fusion(int* rep, const int* rep1, const int* rep2, int* ch, const int* ch1,
                              const int* ch2, int level);
// J*p by the orbit arithmetic; -1 when it declines (the fixed points at even level).
int SM_MinimalSimpleAction(SpectrumData* sd, int current, int primary);
int SM_MinimalSimpleCurrentFusion(SpectrumData* sd, int cur1, int cur2);
int SM_MinimalSimpleCurrentPower(SpectrumData* sd, int cur1, int power);
int SM_minimalFixedPointCurrent(SpectrumData* sd, int current);
// The conjugate of a field of an N=2 block (type 27, or type 6 of rank 2); -1 after a report.
int SM_MinimalConjugate(SpectrumData* sd, int lbl);
// The type-26 block of the size fixed points of an even-level model.
SpectrumData* SM_create_minimal_FCFT(SpectrumData* sdi, int size);
int SM_WeightCompare(SpectrumData* sd, int i, int j);

// ---- c=1 orbifolds (type 7) ----
// Fields are pairs (kind, x): kind 0 the four simple currents (x = 0..3), kind 1 the fields of
// weight x^2/4N (x = 1..N-1), kinds 2 and 3 the twist fields of weight 1/16 and 9/16 (x = 1, 2).
// The action, the charge and the weight rule work on the build order of the block being built.

// Fills a freshly allocated record with the orbifold of parameter N.
void SM_orbifold_spectrum(SpectrumData* sd, int N);
// The S entry between two label pairs.
void ComputeOrbifoldS(int N, const int* rep1, const int* rep2, double* RealS, double* ImS);
// cur x prim in build labels, found from S; the first candidate after "Simple fusion error".
int SM_orbifoldSimpleAction(int cur, int prim, void* X);
// In units of 1/4 at odd N, 1/2 at even N.
int SM_OrbifoldCharge(int cur, int prim);
int SM_OrbifoldConjugate(SpectrumData* sd, int field);
// Numerator over 16N; -1 for a kind-0 pair that is no field.
int SM_OrbifoldWeight(const int* rep);
void SM_initOrbifoldFCFTdata(SpectrumData* sd);
// The label of field lbl in the fixed-point theory sd2 of current curr; -1 when not fixed.
int SM_getOrbifoldFCFTlabel(SpectrumData* sd, SpectrumData* sd2, int curr, int lbl);

// ---- Exceptional modular matrices ----

// Entry (i, j), 0 or 1: mode 0 the diagonal; 1, 2, 3 the exceptional invariants of A1 at levels
// 10, 16, 28; 4, 5, 6 their counterparts on the N=2 minimal models of these levels.
int ExceptionalModularMatrix(int i, int j, int mode);
// The label l of field lbl of the N=2 model at the level, with m in *Q and s in *S.
int getAffineRep(int lbl, int level, int* Q, int* S);

// ---- Galois symmetry (affine blocks, types 1 to 5) ----
// Signed maps: entry l is +(m+1) or -(m+1) when field l goes to field m with that sign, 0 when
// it has no image. M is the Galois modulus of the block; the maps of the generators of the
// units modulo M and of the primes dividing M are cached in the record, the rest composed.

// Sets NumberOfGaloisGenerators and fills GaloisGenerators once.
void SM_initGalois(SpectrumData* sd);
// Fills ScaleGenerators once: one row per prime p < M dividing M, increasing.
void SM_initScales(SpectrumData* sd);
// The map of a unit s by folding; 1 when it is not the identity.
int SM_computeGaloisOrbit(SpectrumData* sd, int scale, int* map);
// The map of a scale by folding, an image on a wall or missing giving 0; 1 when some field has
// an image.
int SM_computeScaleOrbit(SpectrumData* sd, int scale, int* map);
// The map of the product of the generators raised to powers, from the cached rows.
void SM_composeGaloisOrbit(SpectrumData* sd, const int* powers, int* Orbit);
// The map of a unit 1 <= scale < M.
void SM_getGaloisOrbit(SpectrumData* sd, int scale, int* Orbit);
// The map of any scale 1 <= scale < M; 1 when it is trivial up to signs and missing images.
int SM_getAnyOrbit(SpectrumData* sd, int scale, int* Orbit);
// Collects the distinct maps of all scales and searches the invariants they combine to.
void SM_galoisInvariants(SpectrumData* sd);
// Append the maps of the non-unit scales 2 .. M-2, or of all units, to txt and return the end;
// they stop (with a message) before a map that might not fit in room characters from txt.
char* SM_printAllScaleOrbits(char* txt, SpectrumData* sd, std::size_t room);
char* SM_printFullGalois(char* txt, SpectrumData* sd, int Tpref, int SignPref, int RemoveIdentical,
                         std::size_t room);
// The basic representative of a current of an affine block; the current itself otherwise.
int SM_ConvertToBasic(SpectrumData* sd, int current);

// ---- Fixed-point resolution data ----
// A current is looked up after reduction: affine blocks (type below 6) key their data on the
// basic representative, every other block on the current itself. FCFT indices are 1-based
// positions in FixedPointCurrents; 0 is the identity, -1 a current without fixed points. Every
// lookup builds the data on first use.

// Builds the fixed-point theories, shifts and label rows once; nothing without fixed currents.
// A current whose theory could not be made keeps no theory and an all -1 row.
void SM_initFCFTData(SpectrumData* sd);
int* SM_getFixedPointCurrents(SpectrumData* sd);
int* SM_getFCFTlabels(SpectrumData* sd);
int SM_getFCFTlbl(SpectrumData* sd, int current);
// The block itself for the identity, null for a current without fixed points.
SpectrumData* SM_getFCFT(SpectrumData* sd, int current);
// 0 for the identity; 2147483647 after a report for a current without fixed points.
int SM_getFCFTshift(SpectrumData* sd, int current);
int SM_checkFP(SpectrumData* sd, int current, int field);
// The field itself for current 0, -1 when not fixed, -2 when a non-zero affine current reduces
// to the identity.
int SM_getFPlabel(SpectrumData* sd, int current, int field);
// The first field whose label in fixed-point theory currentLbl is FCFTfield; -1 after a report.
int SM_getFixedPoint(SpectrumData* sd, int currentLbl, int FCFTfield);
// The field of fixed-point theory FCFTlbl that the current induces; -1 after a report.
int SM_getInducedCurrent(SpectrumData* sd, int current, int FCFTlbl);
// A type-10 block of the size fields of cft whose entry in FCFTlabels (NP entries) is not -1,
// in cft's order, each its own orbit.
SpectrumData* SM_createFCFT(int NP, const char* FCFTname, SpectrumData* cft, const int* FCFTlabels,
                            int size, int FCFTtype);

// ---- Fixed-point resolution matrices, twists and eta phases ----
// Matrix elements come back as (real, imaginary); 1, or 0 with a zero element when the pair has
// no element. Twists are integers modulo 4 (the phase i^t), -1 for undefined.

// S of the current's fixed-point theory between the labels of fields lbl1 and lbl2 there.
int SM_getOLA_Smatrix(SpectrumData* sd, int current, int lbl1, int lbl2, double* RealS,
                      double* ImS);
// S^J = the fixed-point theory's S times exp(-i pi shift / 4).
int SM_getFCFT_Smatrix(SpectrumData* sd, int current, int lbl1, int lbl2, double* RealS,
                       double* ImS);
// Twist of current K with respect to the fixed-point current of FCFT index Lbl_J, from the
// weights of an affine block; a multiple of 1/4 for consistent data.
double SM_getTwist(SpectrumData* sd, int curr_K, int Lbl_J);
int SM_getCurrentTwist(SpectrumData* sd, int a, int curr_K, int curr_J);
// The twist from S^J, for blocks above type 5.
int SM_getGenericTwist(SpectrumData* sd, int a, int curr_K, int curr_J);
// Module results that the next call overwrites (one for the closed rule, one for the numeric).
rat* SM_getEta(SpectrumData* sd, int a, int curr_J);
rat* SM_getGenericEta(SpectrumData* sd, int a, int FCFTlbl);

// ---- Permutation orbifolds ----

// The Z2 permutation orbifold of sdin (p must be 2), found in the store or built under the name
// (null: the base's name and "_perm"); its fixed-point theories are built with it. Null after a
// report when it cannot be built.
SpectrumData* SM_getPermutationOrbifold(SpectrumData* sdin, int p, const char* name);
// S of a permutation orbifold, or of one of its fixed-point theories (type 10, FCFT_type 1).
void SM_getPermutation_S(SpectrumData* sd, int lbli, int lblj, double* RealS, double* ImS);

// ---- Conjugation ----

int SM_ConjugatesAvailable(SpectrumData* sd);
// -1 when the block has no conjugation or the conjugate was not found.
int SM_getConjugate(SpectrumData* sd, int lbl);
int SM_computeConjugate(SpectrumData* sd, int lbl);
// Also the availability test of the column "Conjugate" (row: the block).
int SM_initConjugates(void* row);

// ---- Dimensions, higher indices and index files ----
// Index files live in the library directory HOME/<TarvikPath>, one per simple Lie algebra.

// Also the availability test of the column "Dimensions" (row: the block).
int SM_initDimensions(void* row);
void SM_loadDimensions(SpectrumData* sd);
int SM_loadIndices(SpectrumData* sd);
int SM_writeIndexFile(SpectrumData* sd, const char* fn);
void SM_printSpinorIndex(FILE* ofp, int type, int rank, int order, int factor);
void SM_addIndex(SpectrumData* sd, int lbl, lint** Indices);
// Forgets the dimensions and indices held, so that the next load reads the index file again.
void SM_resetIndices(SpectrumData* sd);
// Both return static buffers; SM_setIndexFileName gives null when the path is too long.
char* SM_setIndexFileName(SpectrumData* sd);
char* SM_getCharacterName(SpectrumData* sd, int lbl);

// ---- S, T and P ----
// Complex values come back as (real, imaginary) through the last two arguments.

void SM_getS(SpectrumData* sd, int i, int j, double* re, double* im);
// S between two spectrum rows of a tensor product. The tensor products install it: a theory made
// from a product computes its S on orbits through it while its TensorProduct link is set.
using CosetSHook = void (*)(TensorProduct* TP, int lbli, int lblj, double* re, double* im);
void SM_setCosetS(CosetSHook hook);
// The cached element of orbits a and b, computed between generators gi and gj on first use;
// -1 (no value) when the user refused to make the cache.
int SM_getSBase(SpectrumData* sd, int a, int b, int gi, int gj, double* re, double* im);
// Makes the cache when missing and marks every entry not computed; -1 when refused.
int SM_allocSBase(SpectrumData* sd);
// Stores an element of S on orbits a and b into the cache SM_allocSBase made.
void SM_putSBase(SpectrumData* sd, int a, int b, double re, double im);
void SM_computeSDirect(SpectrumData* sd, int i, int j, double* re, double* im);
// Label values 0, 1, 2: the vacuum, the spin field and the energy field.
void SM_computeIsingS(int i, int j, double* re, double* im);
void SM_getT(SpectrumData* sd, int i, int j, double* re, double* im);
void SM_getrootT(SpectrumData* sd, int i, int j, double* re, double* im);
// P = T^1/2 S T^2 S T^1/2.
void SM_getP(SpectrumData* sd, int i, int j, double* re, double* im);
// 1 when the orbit is shorter than the simple-current group.
int SM_isFixed(SpectrumData* sd, int orbit);
int SM_zeroResult(double* re, double* im);

// ---- Conjugation through S, modular traces, Gauss sum ----

// -1 when no conjugate is found.
int SM_getGenericConjugate(SpectrumData* sd, int lbl);
int SM_getFCFTConjugate(SpectrumData* sd, int lbl);
// The traces are 0 for a null block.
void SM_computeTraceS(SpectrumData* sd, double* re, double* im);
void SM_computeTraceST(SpectrumData* sd, double* re, double* im);
// Sum over i, k of S_ik^2 T_k^power.
void SM_computeTraceS2TN(SpectrumData* sd, double* re, double* im, int power);
// Sum over i, k of S_ik^2 T_i T_k, the trace of (ST)^2.
void SM_computeTraceSTQ(SpectrumData* sd, double* re, double* im);
// S_ij of a fixed-point theory times exp(-i pi shift / 4).
void SM_getFixedPointResolutionMatrix(SpectrumData* fcft, int i, int j, double* R, double* I,
                                      int shift);
// A real Gauss sum over the Weyl images of the primaries of an affine block, for a weight of
// rank Dynkin labels.
double GaussianSum(SpectrumData* sd, const int* weight);

// ---- Texts of a block: the tables "Spectrum" and "Algebras", names ----
// Cells (COL_CONT) write the text for one row object and label and return its end; null drops
// the row. The availability tests (COL_INIT) answer 1 when the column exists for the block.

// The command set's switch that restricts the cells to massless fields; unbound it reads off.
void SM_bindMasslessOnly(const int* flag);
// 1 while that switch is on; the tensor products' cells read it too.
int SM_masslessOnly();

char* SM_getLabelString(char* txt, void* row, int lbl);
char* SM_getDynkinString(char* txt, void* row, int lbl);
char* SM_getCosetLabelString(char* txt, void* row, int lbl);
char* SM_getWeightString(char* txt, void* row, int lbl);
char* SM_getRatWeightString(char* txt, void* row, int lbl);
char* SM_getDimString(char* txt, void* row, int lbl);
char* SM_getConjString(char* txt, void* row, int lbl);
char* SM_getInfoString(char* txt, void* row, int lbl);
char* SM_getChargesString(char* txt, void* row, int lbl);
char* SM_getNSRString(char* txt, void* row, int lbl);
char* SM_getMultipletString(char* txt, void* row, int lbl);
char* SM_getOrbitStartString(char* txt, void* row, int lbl);
char* SM_getOrbitPositionString(char* txt, void* row, int lbl);
char* SM_getOrbitLabelString(char* txt, void* row, int lbl);
char* SM_getStabilizerString(char* txt, void* row, int lbl);
char* SM_getQdimString(char* txt, void* row, int lbl);
char* SM_getCasimirString(char* txt, void* row, int lbl);
char* SM_getLogTString(char* txt, void* row, int lbl);
int SM_initCosetLabels(void* row);
int SM_initContents(void* row);
int SM_initNSR(void* row);
int SM_initQdim(void* row);
int SM_initCasimir(void* row);
char* SM_getAlgebraNameString(char* txt, void* row, int lbl);
char* SM_getAlgebraSizeString(char* txt, void* row, int lbl);
char* SM_getAlgebraPrimString(char* txt, void* row, int lbl);
char* SM_getAlgebraS_AvailabilityString(char* txt, void* row, int lbl);
char* SM_getAlgebraSizeHeader(char* txt, void* row, int lbl);

// The table "Algebras" of every block to standard output; a message when the store is empty.
void SM_printAlgebras();
// The same table as text, valid until the next table is made.
char* SM_displayAlgebras();

// The returned texts live in buffers that the next call of the same function overwrites.
char* SM_charType(int type, int rank);
char* SM_algCommand(SpectrumData* sd);
char* SM_getHorizontalAlgebraName(SpectrumData* sd);
// outdir + prefix + name + postfix with every blank replaced by "_".
char* SM_getCurrentAlgebraFileName(SpectrumData* sd, const char* outdir, const char* prefix,
                                   const char* postfix);
void printAlgebraHeader(SpectrumData* sd, FILE* ofp);
char* SM_basicCharacterName(int type, int rank, const int* rep);

// The content of the 4 class multiplicities in count by the names of the covariant-lattice
// algebra (type, rank); with txt null it only prepares the names. Returns the end of the text.
char* printCovLatRep(char* txt, int type, int rank, int chir_res, const int* count);
char* printHeteroticRepresentation(char* txt, const Branching* B, const int* count);
// The cell of a field's contents under "massless_only": null for a field other than row 0 that
// holds no massless class of the extended algebra B, else the written text.
char* SM_masslessContentsCell(char* txt, const Branching* B, const int* info, int lbl);
// h - c/24 from the inner products of the field's labels.
double SM_getModularAnomaly(SpectrumData* sd, int lbl);
int SM_getDynkinWidth(SpectrumData* sd);
// Prints the differences of two blocks to standard output; returns 0.
int SM_compareAlgebras(SpectrumData* sd1, SpectrumData* sd2);
