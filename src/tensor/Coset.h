// Tensor products and cosets of building blocks extended by simple currents: the product record
// and its factors, the simple-current combinations and the chiral algebra they generate, the
// spectrum with its resolved fixed points, S, T and conjugation of the extended product, the fix
// center and twists that the resolution rests on, and the names under which a product appears in
// files and printed output.
//
// A label combination has one field label per factor, in factor order; a spectrum row has one
// more entry, the fixed-point label. Factor k counts with the sign s_k = 1 - 2 GH[k]: +1 in the
// numerator (G), -1 in the denominator (H) of a coset.
#pragma once

#include "base/Allocation.h"
#include "base/Tables.h"
#include "numeric/Discrete.h"
#include "numeric/LargeInteger.h"
#include "numeric/MathUtility.h"
#include "numeric/Sorting.h"
#include "store/StringData.h"
#include "tensor/FixedPoints.h"

#include <cstdint>
#include <cstdio>

struct SpectrumData;
struct FullFPType;
struct IntegerList;

// Never freed: resetting empties the collections and arrays and keeps them.
struct TensorProduct {
    explicit TensorProduct(AllocCount* counter);

    GuardedArray<SpectrumData*> TensorFactors; // NTensor blocks
    GuardedArray<FPType*> Stabilizers;         // per spectrum row
    GuardedArray<int> TensorDimensions;        // per spectrum row
    GuardedArray<int> TensorInfo;              // four per spectrum row
    GuardedArray<FullFPType*> FullStabilizers; // per spectrum row
    GuardedArray<int> Conjugates;              // per spectrum row
    Discrete_Group* SimpleCurrents = nullptr;
    VectorSpace* TensorOuterAutomorphisms = nullptr;
    VectorSpace* TensorPermutations = nullptr;
    VectorSpace* TensorOuterPerm = nullptr;
    VectorSpace* CurrPerms = nullptr;
    VectorSpace* CurrentPermutations = nullptr;
    VectorSpace* TensorSpectrum = nullptr; // NTensor labels and the fixed-point label per row
    VectorSpace* ChiralAlgebra = nullptr;  // row 0 the identity, rows 1..Ngenerator the currents
    VectorSpace* FixCenter = nullptr;
    VectorSpace* Currents = nullptr; // the user's combinations, in the order of entry
    VectorSpace* MasslessFields = nullptr;
    GuardedArray<int> FixCenterOrders;
    GuardedArray<int> GH; // 0 numerator, 1 denominator, per factor
    GuardedArray<int> FixedPointCurrents;
    int NTensor = 0;
    int genuineCoset = 0; // an H factor, or a factor whose weights are known only modulo 1
    int DimAvailable = 0;
    int InfoAvailable = 0;
    int ConjugAvailable = 0;
    int PermutationsAvailable = 0;
    int TensorSimpleCurrentOrder = 0; // the first rows of TensorSpectrum are the simple currents
    int Ngenerator = 0;
    int NGradChirCurr = 0; // chiral-algebra rows before the grade flips
    int TensorCenterMult = 0;
    int InputDataChanged = 1;
    // The simple-current rows of the present input are computed, though perhaps not the rest.
    int SimpleCurrentRowsAvailable = 0;
    int FCFTinitialized = 0;
    int FCFTnumber = 0;
    int ExtensionNumber = -1;
    int Susy = 0;
    Heterotic StringData{};
    Branching* BranchingTable = nullptr;
    FPType* FirstFP = nullptr; // the stabilizer types of this product's rows
};

// ---- Start-up, the current product and its factors ----

// Binds the parameters the tensor products read and creates the current product; once.
void initializeCoset();
// The product that is current while the facade's coset switch is 1; made on first use.
TensorProduct* getCurrentTensor();
// TP itself when not null, else a new empty product.
TensorProduct* initializeTensorProduct(TensorProduct* TP);

// Each change of the factors or currents empties what was derived from them.
int addTensorFactor(TensorProduct* TP, SpectrumData* sd, int gh);
void removeTensorFactor(TensorProduct* TP);
void resetCoset(TensorProduct* TP);
void setInputDataChanged(TensorProduct* TP);
// Null (GH: 0) after a report when factor k does not exist.
SpectrumData* getTensorFactor(TensorProduct* TP, int k);
int getGH(TensorProduct* TP, int k);
// The factors' levels in a buffer valid until the next call; n receives their number.
int* getCurrentLevels(int* n);

// ---- Rows and counts (no range checks) ----

int* TensorField(TensorProduct* TP, int lbl);
int* NumberOfTensorPrimaries(TensorProduct* TP);
int* NumberOfTensorSimpleCurrents(TensorProduct* TP);
int CT_currentCheck(TensorProduct* TP, int c);
// genuineCoset from the factors: an H factor, or a factor whose weights are known modulo 1.
void setGenuineCoset(TensorProduct* TP);
int StabilizerOrder(TensorProduct* TP, int lbl);
int getCurrentsEntry(TensorProduct* TP, int i, int k);
// 1 when the stored currents were entered for the present factors.
int checkForExtension(TensorProduct* TP);
void assignExtensionNumber(TensorProduct* TP, int n);
int getExtensionNumber(TensorProduct* TP);
int CT_S_Symmetry(TensorProduct* TP);
// 1 when every factor has ground-state dimensions and the product is not a genuine coset.
int DimComputable(TensorProduct* TP);
// 1 when some factor is a kind without a plain Lie-algebra reading (type 6 and above but 13).
int modTest(TensorProduct* TP);

// ---- Weights, charges, central charge, dimensions ----

// Exact, summed with the factor signs; reduced to [0, 1) for a genuine coset.
void TensorRatWeight(TensorProduct* TP, const int* v, rat* h);
// The charge of v with respect to the combination J; not reduced modulo 1.
void TensorRatCharge(TensorProduct* TP, const int* J, const int* v, rat* Q);
double tensorWeight(TensorProduct* TP, const int* v);
double cosetWeight(TensorProduct* TP, const int* v);
double cosetCentralCharge(TensorProduct* TP);
// The product of the factors' ground-state dimensions; -1 after a report when it does not fit
// an int.
int TotalTensorDimension(TensorProduct* TP, const int* v);
// The same exactly; owned by the module, valid until the next call.
lint* tensorDimension(TensorProduct* TP, const int* v);
int SpinOneCount(TensorProduct* TP);
// For the current product, the middle ground-state label of field lbl in every factor after the
// first; a buffer of NTensor-1 entries, valid until the next call.
int* CT_getChargeVector(int lbl);
// Adds cnt[i] cnt[j] to the massless counts of the covariant-lattice classes.
void count_massless(TensorProduct* TP, const int* cnt);

// ---- Simple-current combinations ----

// 0 when J may extend the product, 1 after a report when not.
int checkCurrent(TensorProduct* TP, const int* J);
// 0 when added; 1 when refused or already present (then nothing changes).
int addNewCurrent(TensorProduct* TP, const int* J);
int updateCurrent(TensorProduct* TP, int i, const int* J);
// The row current afterwards: i, or the last row when i is now past the end.
int removeCurrent(TensorProduct* TP, int i);
void resetCurrents(TensorProduct* TP);

// ---- The chiral algebra and its group operations ----
// Results in module buffers stay valid until the next call of the same function.

void computeChiralAlgebra(TensorProduct* TP);
// The chiral-algebra row of the product of rows i and j; -1 after a report when it is not there.
int chiralAlgebraProduct(TensorProduct* TP, int i, int j);
// The same as a group-product callback; xtra is the tensor product.
int chiralProduct(int i, int j, void* xtra);
int findChiralAlgebraElement(TensorProduct* TP, const int* J);
void tensorSimpleAction(TensorProduct* TP, const int* J, const int* v, int* out);
// J v with the fixed-point label of v.
void getOrbitMember(TensorProduct* TP, const int* J, const int* v, int* out);
// Chiral-algebra row J applied to spectrum row L; J = -1 forgets the last pair, result null.
int* getStoredOrbitMember(TensorProduct* TP, int J, int L);
int* tensorPower(TensorProduct* TP, const int* J, int n);
int getSimpleCurrentOrder(TensorProduct* TP, int c);
void getSimpleCurrentOrders(TensorProduct* TP, int* orders);
// Group-product callback on simple-current rows; xtra is the tensor product.
int simpleCurrentProduct(int c1, int c2, void* xtra);
// Simple current c times field f as a group-action callback (xtra the tensor product): on a
// resolved fixed point the twists of c against its untwisted stabilizer may change the
// fixed-point label. -1 after a report when the image is not a field.
int simpleCurrentAction(int c, int f, void* xtra);
int findSimpleCurrents(TensorProduct* TP);
void computeTensorCenterMult(TensorProduct* TP);

// ---- Orbit representatives and look-up ----

// -1, 0, 1: the lowest weight first unless the weights lie within 0.1; labels decide then, and
// always for a genuine coset.
int compareOrbitGenerators(TensorProduct* TP, const int* a, const int* b);
// In graded mode: rewrites v in place so that an even number of graded factors is flipped
// towards its lower member; returns how many labels changed. 0 and nothing done otherwise.
int GradedMinimalForm(TensorProduct* TP, int* v);
int* GradedMinimalFormForLabel(TensorProduct* TP, int lbl);
// The orbit generator of v (in graded mode v is first brought to its graded minimal form).
int* getRepresentative(TensorProduct* TP, int* v);
// The spectrum row of the orbit of v (NTensor+1 entries); with shift, the chiral-algebra row
// carrying v to it. -1 after a report when the orbit is not stored.
int findOrbit(TensorProduct* TP, const int* v, int* shift);
// Sets the fixed-point label of v to 0; -1 when v is projected out by the chiral algebra.
int IdentifyOrbit(TensorProduct* TP, int* v);
int isTensorSuperCurrent(int lbl, TensorProduct* TP);
// One flag per factor in a module buffer.
int* findFreeFactors(TensorProduct* TP, const Extension* ext);
void browseChiral(TensorProduct* TP);
// Replaces v_k by its grade partner for every k < n with mask[k] 1.
void gradeFlip(TensorProduct* TP, int n, int* v, const int* mask);

// ---- The spectrum of the extended product ----
// The rows of TensorSpectrum are the fields: the simple currents first, numbered as elements of
// their group, then the other fields by products of factor orbits. A pass returns 0 when done
// and -1 when it stopped: more rows than "Max_primaries", no simple currents for the full pass,
// or the user declined to go on. Nothing is done while the input is unchanged.

int computeTensorSpectrum(TensorProduct* TP);
// Only the fields of weight at most 1 beyond the simple currents; a full computation afterwards
// starts again.
int computeMasslessTensorSpectrum(TensorProduct* TP);
// The simple currents only; a full computation afterwards starts again.
int computeSimpleCurrentTensorSpectrum(TensorProduct* TP);
// The older passes, which number the fields differently; always 0.
int computeTensorSpectrum_ZNX_VERSION(TensorProduct* TP);
int computeStandardTensorSpectrum(TensorProduct* TP, int mode);
int computeStandardTensorSpectrum_ZNX_VERSION(TensorProduct* TP, int mode);
// Mode 0 all fields, mode 1 those of weight at most 1.
int computeFullTensorSpectrum(TensorProduct* TP, int mode);
int computeFullTensorSpectrum_ZNX_VERSION(TensorProduct* TP, int mode);
// The number of rows to store for v (0: v is no orbit generator of integer charges), with the
// multiplicity and the stabilizer type; in graded mode v becomes its graded minimal form. -2 as
// the first label prepares the work arrays and forgets the remembered combination.
int filter(TensorProduct* TP, int* v, int* mult, FPType** fp);
// |U| of the generator v of the full pass; v is searched for stabilizing elements only when isfp
// (some factor label lies on a fixed-point orbit). -2 as the first label prepares.
int computeStabilizer(TensorProduct* TP, int* v, int* mult, FPType** fp, int isfp);
int computeStabilizer_ZNX_VERSION(TensorProduct* TP, int* v, int* mult, FPType** fp, int isfp);
// CenterLabels holds S (n entries); U is written from position |chiral algebra| on and returned,
// n becomes |U|.
int* getUntwistedStabilizer(TensorProduct* TP, int* n, int* CenterLabels, const int* v);
// Renumbers the simple-current rows as elements of their group and sets SimpleCurrents.
void reorderSimpleCurrents(TensorProduct* TP);
void reorderSimpleCurrents_ZNX_VERSION(TensorProduct* TP);
// The rows of TensorSpectrum when they were made for the present factors, else 0.
int CT_spectrumRows(TensorProduct* TP);

// ---- Shifted orbits and the graded simple-current pass ----

// o null prepares the shifts for the chiral algebra of this computation. Otherwise the
// combination of integer charges in the product of the factor orbits o (one orbit number per
// factor), or null when there is none; valid until the next call.
int* computeShiftedOrbit(TensorProduct* TP, const int* o);
int* computeShiftedOrbit_ZNX_VERSION(TensorProduct* TP, const int* o);
// Makes result (a combination of basic currents) have the charge gcd(charge, charge of basis)
// with respect to gen of order `order`; charges in units of 1/order, 0 written as order.
int OptimizeCharge(TensorProduct* TP, const int* gen, const int* basis, int* result, int charge,
                   int order);
// Cancels the charge with respect to gen of every row of BasicCurrents by powers of curr.
void ReduceLeadingCharges(TensorProduct* TP, const int* gen, const int* curr,
                          VectorSpace* BasicCurrents, int charge, int order);
// The distinct products of the simple-current rows with the shifted combination of o, in the
// order of the rows; owned by the module. Null after a report when there are no simple currents.
VectorSpace* getFullSimpleCurrentOrbit(TensorProduct* TP, const int* o);
// i modulo N in 1 .. N.
int modshift(int i, int N);
int computeGradedTensorSpectrum(TensorProduct* TP, int mode);
int computeGradedTensorSpectrum_ZNX_VERSION(TensorProduct* TP, int mode);

// ---- S and T of the extended product ----
// The spectrum, chiral algebra and stabilizer types must be those of the present input.

void getCosetS(TensorProduct* TP, int lbli, int lblj, double* RealS, double* ImS);
// 0 off the diagonal.
void getCosetT(TensorProduct* TP, int lbli, int lblj, double* RealT, double* ImT);
void getCosetrootT(TensorProduct* TP, int lbli, int lblj, double* RealT, double* ImT);
// The diagonal T element as exp(2 pi i value).
double getCosetLogT(TensorProduct* TP, int lbli);

// ---- Fixed-point resolution matrices S^J of the extended product ----
// S^J lives on the fields fixed by a simple current J. Its elements rest on the full fixed-point
// records of the fields, built once per change of the product; every fix center, of whichever
// product, releases all records, and the products that held them build theirs again.

// FixedPointCurrents, FCFTnumber and one full record per spectrum row, unless still valid.
void initializeCosetFCFTData(TensorProduct* TP);
// S^J of spectrum rows lbli and lblj for the simple current J = spectrum row `current`; the
// records must exist. 0 when J does not fix both fields.
void getCosetFCFT_S_matrix_elt(TensorProduct* TP, int current, int lbli, int lblj, double* RealS,
                               double* ImS);
// Who reports the failures of cosetResolvedElement: the routine name, and whether the alert of a
// fixed-point label outside a factor's fixed-point theory carries the labels.
struct ResolutionAlerts {
    const char* routine;
    bool detailed;
};
// The S^J element of spectrum rows lbli and lblj read from their full records ffa and ffb, with
// pa and pb the positions of J among their ext_currents (-1 or a null record: J does not fix
// that field, and the element is 0). The records may hold the current labels of a theory made
// from the product. Answers false, with the element 0, after the report that a component of a
// common stabilizer element has no fixed-point theory.
bool cosetResolvedElement(TensorProduct* TP, int lbli, int lblj, FullFPType* ffa, FullFPType* ffb,
                          int pa, int pb, const ResolutionAlerts& alerts, double* RealS,
                          double* ImS);
// Builds the records when needed, then S^J(lbl1, lbl2).
void CT_getFCFT_Smatrix(TensorProduct* TP, int current, int lbl1, int lbl2, double* RealS,
                        double* ImS);
// S^J exp(i pi sigma_J / 4), sigma_J the total shift of J: the S matrix in the convention of
// the fixed-point theories.
void CT_getOLA_Smatrix(TensorProduct* TP, int current, int lbl1, int lbl2, double* RealS,
                       double* ImS);
// F(a, K, J) read off S^J; -1 after a report.
int CT_getGenericTwist(TensorProduct* TP, int a, int curr_K, int curr_J);

// ---- Conjugation ----

// The conjugate of field lbl, -1 when none is found; lbl = -1 forgets the preparation, as every
// spectrum computation must.
int getTensorConjugate(TensorProduct* TP, int lbl);
void CT_initConjugates(TensorProduct* TP);
// Made for every field on first use; no range check.
int CT_getConjugate(TensorProduct* TP, int i);

// ---- Fix center, twists and representatives ----
// The fix center holds every combination of factor currents that have fixed-point theories;
// twists are integers modulo 4 (the phase i^t).

// Also releases every full fixed-point record.
void computeFixCenter(TensorProduct* TP);
// Group-product callback on fix-center rows; X is the tensor product. -1 after a report.
int FixCenterProduct(int i, int j, void* X);
int FixCenterChiralAlgebraProduct(TensorProduct* TP, int i, int j);
int findFixCenterElement(TensorProduct* TP, const int* candidate);
// The first chiral-algebra element c with R_a c = R_ab; -1 after a report.
int getOffset(TensorProduct* TP, int R_a, int R_ab);
// A common element of the cosets Ra Sa and Rb Sb, or -1.
int getOverlap(TensorProduct* TP, int Ra, int Rb, const int* Sa, const int* Sb, int size_a,
               int size_b);
int* getAllReps(TensorProduct* TP, int R, const int* S, int* reps, int size);
// The fix-center element in the orbit of current that lies in ffp's F untwisted against its
// stabilizer; 0 after a report.
int getFixRepresentative(TensorProduct* TP, int current, FullFPType* ffp);
// Writes into fld the member of current's orbit that fixes field factor by factor and is
// untwisted against its stabilizer; 1, or 0 after a report.
int getUntwistedStabilizerRepresentative(TensorProduct* TP, int* fld, int field, int current);
// F(field, cur1, cur2) of two simple currents; 0 after a report when a representative is missing.
int CT_getCurrentTwist(TensorProduct* TP, int field, int cur1, int cur2);
int CT_getCurrentTwist_ZNX_VERSION(TensorProduct* TP, int field, int cur1, int cur2);
int cosetTwist(TensorProduct* TP, const int* field, const int* combi, const int* combj);
int FCenterStabilizerTwist(FullFPType* ffp, int e, int s);
int checkStabilizerTwist(int e, FullFPType* ffp);
void getFullFPtwists(TensorProduct* TP, const int* field, int* twists, FullFPType* ffp);
// The position of elt in the untwisted stabilizer of field, or -1.
int findStabilizerElement(TensorProduct* TP, int field, int elt);
void Cocycle(FullFPType* ffi, int ci, int fixi, rat* D);
// The element whose character is that of elt shifted by the quarter phases twist (one per
// element of dg); -1 after a report.
int CharacterTimesTwist(Discrete_Group* dg, int elt, const int* twist);
// The first chiral-algebra element c such that every component of c times the combination has a
// fixed-point theory, with their indices in labels (when given); -1 when none.
int TensorFixedPointLabels(TensorProduct* TP, const int* CurrentCombination, int* labels);
// In eighths of a turn; 0 after a report for a combination without fixed points.
int getTotalFCFTshift(TensorProduct* TP, const int* CurrentCombination);
int TensorFixedPointField(TensorProduct* TP, const int* current, const int* field);
int TensorFixedPointCheck(TensorProduct* TP, int cur);

// ---- Symmetries: permutations of identical factors and outer automorphisms ----
// A symmetry is a pair (one outer automorphism per factor, one permutation of identical factors)
// acting by the automorphism first. Symmetry numbers of the extended product are the rows of
// TensorOuterPerm (the pairs that map the chiral algebra into itself); the extension numbering
// counts every pair, outer times the number of permutations plus perm. Both need the spectrum of
// the present input.

// Finds the symmetries and the images of the simple currents; nothing while they are known.
void CT_SymmetrizeTensorProduct(TensorProduct* TP);
int CT_TotalOuterAutomorphisms(TensorProduct* TP);
// One row per symmetry (at most 1000): the image of every simple current.
VectorSpace* CT_getCurrentOuterAutomorphisms(TensorProduct* TP);
// perm = -1 prepares the cache (result 0); otherwise the image of simple current `current` under
// symmetry perm, -1 when either does not exist.
int CT_getCurrentPermutation(TensorProduct* TP, int perm, int current);
// Loads the automorphism combinations and the permutations and prepares the cache of the
// extension numbering for Currents->cnt currents; returns no table.
VectorSpace* CT_getIntegerSpinPermutations(TensorProduct* TP, IntegerList* Currents);
// perm = -1 prepares the extension numbering with room for `current` currents (result 0).
int CT_getCurrentPermutationForExtension(TensorProduct* TP, int perm, int current);
int CT_getTotalOuterAutomorphismCount(TensorProduct* TP);
// The image of field i when factors a and b are exchanged; -1 after a report when that is no
// symmetry, -2 when the image is resolved into several fields.
int ComputePermutation(TensorProduct* TP, int a, int b, int i);
// The image of every field (-2 where left open), completed by fusion and printed; the pairs
// resolve1[k], resolve2[k] prescribe images of resolved fields. Null after a report. A null TP
// returns the array of the last run (null when none), valid until the next run.
int* CloseTensorPermutations(TensorProduct* TP, int a, int b, int Nres, const int* resolve1,
                             const int* resolve2);
void setIgnoreOuterAutomorphisms(int A);
// Fusion of the current theory, which the modular layer computes: N_ij^k for every field k into
// n, non-zero when a coefficient failed. Without it the images are not completed by fusion.
using TensorFusionProduct = int (*)(int i, int j, int* n);
void setTensorFusionProduct(TensorFusionProduct fusion);

// ---- Ground-state dimensions ----

// 1 when the string contents of the fields can be computed: "Super" on and a first factor that
// is a covariant lattice, or a single factor made from a product with valid string data. The
// reasons for a refusal are reported unless silent.
int InfoComputable(TensorProduct* TP, int silent);
// The string layer's space-time dimension rule: 0 when the record is consistent (it sets
// SpaceTimeDim and ImplicitE8), 1 when not. Without it no string data are consistent.
using SuperstringDimensionRule = int (*)(Heterotic* H, int silent);
void setSuperstringDimensionRule(SuperstringDimensionRule rule);
// The covariant-lattice dimension and embedding of the first factor, and the verdict of the
// dimension rule in error.
void initializeStringData(TensorProduct* TP, int silent);
// The four class multiplicities of field lbl under the extended covariant-lattice algebra,
// computing them first when needed; null when they cannot be computed.
int* getCosetRepInfo(TensorProduct* TP, int lbl);
// 1 when the extended algebra has one class, or field lbl lies in its singlet class only.
int CT_isTrivial(TensorProduct* TP, int lbl);
// The product's string data when the contents can be computed, else null.
Heterotic* getTensorStringData(TensorProduct* TP);
// The ground-state dimension of field lbl: a value, or a negative handle of the big-integer
// store. info (four ints) receives the string contents when they are computed.
int tensorOrbitDimension(TensorProduct* TP, int lbl, int* info);
// TensorDimensions (and TensorInfo) of every field; sets DimAvailable and InfoAvailable.
void CT_initDimensionsAndContents(TensorProduct* TP);

// ---- New theories from tensor products ----

// The product extended by its chiral algebra as a new block of the store (type 9) named CFTname;
// null after a report (ZNX_VERSION on, no factors, the name taken, a failed construction, which
// leaves no block behind).
SpectrumData* createCFT(TensorProduct* TP, const char* CFTname);
// The fixed-point currents, fixed-point theories and their S matrices of a block made from TP.
void initFCFT(TensorProduct* TP, SpectrumData* cft);
// The S matrices of cft's fixed-point theories from the resolution matrices of TP.
void getFixedPointMatrices(TensorProduct* TP, SpectrumData* cft);
// S^(J_n) of fields i_cft and j_cft of cft for every fixed-point current J_n of cft, into
// RealS[n] and ImS[n], read from the fields' full records ffi and ffj (extension currents as
// labels of cft); 0 where J_n does not fix both.
void getCosetFCFT_S(TensorProduct* TP, int i_cft, int j_cft, double* RealS, double* ImS,
                    FullFPType* ffi, FullFPType* ffj, SpectrumData* cft);

// ---- Minimal models from tensor products ----

// Build the N=0, N=1, N=2 minimal model at level k as a block of type 6, rank N, level k.
void createMinimal0(int level);
void createMinimal1(int level);
void createMinimal2(int level);
// Bring a coset label triple into its standard range.
void MapMinimal0(int level, int* L1, int* L2, int* L3);
void MapMinimal1(int level, int* L1, int* L2, int* L3);
void MapMinimal2(int level, int* L, int* Q, int* S);
// The levels of a code of the table of N=2 minimal-model products with c = 9 (up to nine) and
// their number; code -1 prints the table; -1 after a report for a code not in it.
int interpretMinimalTensor(int code, int* factors);

// ---- Names and replayable descriptions ----

// Text valid until the next call.
char* getTensorCode(TensorProduct* TP);
char* getCurrentTensorFileName(const char* outdir, const char* prefix, const char* postfix);
// The levels of the factors after the first, written one after another; 0 with fewer than two
// factors, -1 after a report when it needs more than 18 digits.
std::int64_t fileIdentifier();
// The number written by the decimal texts of the entries one after another; -1 after a report
// when that is not a number of at most 18 digits.
std::int64_t convertFactorList(int n, const int* list);
// The lines that rebuild the product as commands.
void printTensorData(TensorProduct* TP);
void writeCosetCommands(TensorProduct* TP, FILE* file);
void writeCurrents(FILE* file);
// With TP null it describes the current tensor product.
void printCosetHeader(TensorProduct* TP, FILE* ofp);
void writeCosetToLog(TensorProduct* TP);

// ---- Cells and availability tests of "TensorSpectrum" and "Decomposition" ----

char* CT_getLabelString(char* txt, void* row, int lbl);
char* CT_getCombinationString(char* txt, void* row, int lbl);
char* CT_getWeightString(char* txt, void* row, int lbl);
char* CT_getRatWeightString(char* txt, void* row, int lbl);
char* CT_getDimString(char* txt, void* row, int lbl);
char* CT_getInfoString(char* txt, void* row, int lbl);
char* CT_getFPLabelString(char* txt, void* row, int lbl);
char* CT_getFPMultString(char* txt, void* row, int lbl);
char* CT_getConjString(char* txt, void* row, int lbl);
char* CT_getDecompositionString(char* txt, void* row, int lbl);
// Computes the dimensions of every field when the factors have theirs; 0 when they are not
// available (a genuine coset, a factor without dimensions, no spectrum).
int CT_initDimensions(void* row);
int CT_initContents(void* row);
int CT_ConjugatesAvailable(void* row);
char* CT_getDecompVectorString(char* txt, void* row, int lbl);
char* CT_getDecompWeightString(char* txt, void* row, int lbl);
char* CT_getDecompDimString(char* txt, void* row, int lbl);
int CT_initDecompDimensions(void* row);
// The table "Decomposition" of field lbl: one row per coset representative of its stabilizer,
// the members shown by one label text per factor; only the ground states with groundstate 1.
void browseDecomp(TensorProduct* TP, int lbl, int groundstate, const COL_CONT* functions);
// For the current product with n fields: modmat[j*n + i] is the product over the factors k of
// the built-in exceptional matrix modes[k] between the factor labels of fields i and j.
void getExceptionalTensorModularMatrix(int* modmat, const int* modes);
