// Bulk modular invariants of the current theory: the records that carry them, the store of named
// invariants with the current one, their names, printed forms and browse report, the criteria
// under which invariants are selected, and transpose, conjugation and products.
#pragma once

#include "base/Allocation.h"
#include "numeric/Discrete.h"
#include "numeric/MathUtility.h"
#include "numeric/VectorUtility.h"

#include <cstdio>
#include <memory>
#include <string>
#include <vector>

// Every array of the records below is charged here.
extern AllocCount Invariants_alloc;

struct SCData;

// The monodromy charge of group current i with respect to j, and the weight of current i, in
// the generic group search; X is the search's data.
using SC_CHARGE = void (*)(int i, int j, rat* Q, void* X);
using SC_WEIGHT = void (*)(int i, rat* Q, void* X);
// Run for each candidate of a simple-current search: 1 accepted, 0 rejected, -5 stop, -3 failed.
using SC_ANALYSE = int (*)(SCData* MD);

// The simple-current data an invariant was built from; the trivial group for the diagonal one.
struct SCData {
    Discrete_Group* dg = nullptr;
    Subgroup* sg = nullptr; // owned when sg_was_allocated is 1
    // The monodromy matrix (M x M, row i in units of 1/N_i) followed by the X matrix.
    GuardedArray<int> Monodromies{"MD->Monodromies", &Invariants_alloc};
    // The current of each group element, then AllOrders, then inverse_map.
    GuardedArray<int> map{"MD->map", &Invariants_alloc};
    GuardedArray<int> Kernels{"MD->Kernels", &Invariants_alloc}; // left kernel, then right
    GuardedArray<int> factor{"MD->factor", &Invariants_alloc};   // steps, then row, then col
    GuardedArray<int> Stabilizer{"MD->Stabilizer", &Invariants_alloc};
    GuardedArray<int> Generators{"MD->Generators", &Invariants_alloc};
    GuardedArray<int> ChargeMap{"MD->ChargeMap", &Invariants_alloc};
    PERM PermutationFunction = nullptr;
    SC_CHARGE CurrentCurrentCharge = nullptr;
    SC_WEIGHT CurrentWeight = nullptr;
    void* DataPointer = nullptr;
    int ChargeMapAvailable = 0;
    int MIPF_id = -1;
    int Subgroup_id = -1;
    int sg_was_allocated = 0;
    int Ngen = 0;
    int AutoSelect = -1;
    // The selection criteria in force when the invariant was generated.
    int SymmetryRequired = 0;
    int Automorphism = 0;
    int Extension = 0;
    int RejectPermutations = 0;
    int AutoStore = 0;
    int AlgebraRestrictions = 0;
    // Views into the arrays above.
    int* AllOrders = nullptr;
    int* inverse_map = nullptr; // group element of each simple current, -1 when absent
    int* Xmatrix = nullptr;
    int* row = nullptr;
    int* col = nullptr;
    int* LeftKernel = nullptr;
    int* RightKernel = nullptr;
    int KernelSize = 1;
    int Symmetric = 1;
    int loopsize = 0;
    int stabsize = 0;
    int SelectionCount = 0;
    int truncated = 0;

    SCData() = default;
    SCData(const SCData&) = delete;
    SCData& operator=(const SCData&) = delete;
    ~SCData();
};

// Reflection and crosscap coefficients of an exceptional invariant, filled by the boundary code.
struct ExceptBoundData {
    GuardedArray<double> Data{"EDT->Data", &Invariants_alloc};
    GuardedArray<int> Klein{"EDT->Klein", &Invariants_alloc};
    double* Gamma = nullptr; // 2N doubles
    double* Bound = nullptr; // 2N doubles per boundary label
    int Nprimaries = 0;
    int Nlabels = 0;
    int BoundariesLoaded = 0;
    int CrosscapsLoaded = 0;
};

// A modular invariant Z(i,j) in sparse form: Z(i,j) = multiplicity[i] times the number of times
// j occurs among the orbitlength[i] partners orbits[i]. For a non-diagonal simple-current
// invariant each partner list is followed by multiplicity[i] currents that fix field i.
struct BulkInvariant {
    SCData* MD = nullptr; // the record's own data unless a search lends it its own
    ExceptBoundData* EDT = nullptr;
    std::string name = "UNDEFINED";
    BulkInvariant* next = nullptr; // the next stored record
    int Nprimaries = 0;
    int orbitspace = 0; // capacity of the partner area in ints
    int trivial = 0;
    int simpleCurrentInvariant = 0;
    int conjugation = 0;
    int symmetric = 0; // 1 yes, 0 no, -1 not known
    int IshibashiLabelCount = 0;
    // orbitlength[N], multiplicity[N], left_extension[N], then the partner area.
    GuardedArray<int> Data{"bi->Data", &Invariants_alloc};
    GuardedArray<int*> orbits{"bi->orbits", &Invariants_alloc}; // null for a row without partners
    int* orbitlength = nullptr;
    int* multiplicity = nullptr;
    int* left_extension = nullptr;  // fields whose partners hold the vacuum
    int* right_extension = nullptr; // always orbits[0]
    int left_extension_size = 0;
    // Findings of the string-spectrum code; -1 until it has made them.
    int hasTachyons = -1;
    int susy_L = -1;
    int susy_R = -1;

    std::unique_ptr<SCData> ownMD = std::make_unique<SCData>();
    std::unique_ptr<ExceptBoundData> ownEDT = std::make_unique<ExceptBoundData>();

    BulkInvariant() {
        MD = ownMD.get();
        EDT = ownEDT.get();
    }
};

// ---- Records ----

// A new unnamed ("UNDEFINED" for null) diagonal invariant of the current theory, not stored.
BulkInvariant* allocNewBulkInvariant(const char* name);
void freeBulkInvariant(BulkInvariant* bi);
// bi itself, or a new unnamed record for null.
BulkInvariant* allocBulkInvariant(BulkInvariant* bi);
// Makes bi the diagonal invariant of the current theory (one field without a theory).
void resetBulkInvariant(BulkInvariant* bi);
// The diagonal invariant with identifier and subgroup label 0.
void setDiagonalInvariant(BulkInvariant* bi);
// Room for Np rows and orbitspace partners, all cleared.
void allocBulkInvariantData(BulkInvariant* bi, int Np, int orbitspace);
// A row without partners or of multiplicity 0 gets both 0.
void adjustBulkInvariant(BulkInvariant* bi);
// 0 when the matrices are equal, else -1; applies the normal form to both.
int compareBulkInvariants(BulkInvariant* bi, BulkInvariant* bj);
// bj becomes a copy of bi (destination first); names and identifiers of a diagonal bj stay.
void copyBulkInvariant(BulkInvariant* bj, const BulkInvariant* bi);
// The number of Ishibashi labels: sum of multiplicity[i] over the occurrences of i in row i.
int LabelCount(const BulkInvariant* bi);
// Z as an N x N matrix with entry [j N + i] = Z(i,j), in a buffer the next call reuses.
int* BulkInvariantToMatrix(const BulkInvariant* bi);
void makeExceptional(BulkInvariant* bi);
void allocExceptBound(ExceptBoundData* EDT, int Np, int Nlabels);
int MIPFIdentifier(const BulkInvariant* bi);
int getMIPF_ID();

// ---- The store and the current invariant ----

// Binds the parameters and makes the working records; the local one becomes current.
void initializeInvariants();
// Stores bi (a copy when copy is 1) under name or the next automatic name. Returns bi when it
// was stored, the first equal stored record when there is one (nothing stored), null when the
// name is in use. A record stored without copying belongs to the store.
BulkInvariant* storeBulkInvariant(const char* name, BulkInvariant* bi, int copy, int notify);
void resetInvariantStore();
// Change action of "Reject permutations".
void permutationRejectionChanged();
void AutostoreChanged();
// The address of the current-invariant pointer; keep it and read through it at each use.
BulkInvariant** getCurrentBulk();
// The number of automatic names handed out.
int TotalInvariants();
BulkInvariant* getLastBulkInvariant();
BulkInvariant* locateBulkInvariant(BulkInvariant* bi);
BulkInvariant* findNamedBulkInvariant(const char* name);
// Appends a new diagonal record under name; the caller fills it before the next store look-up.
BulkInvariant* addNewBulkInvariantToStorage(const char* name);
int setCurrentBulkInvariant(BulkInvariant* bi);
int removeLastBulkInvariant();
void freeAllBulkInvariants();
void printBulkInvariantPointers();
// The working record of a current invariant that is not a stored one.
BulkInvariant* getLocalBulk();
// The working record of a candidate that is printed or stored but not selected.
BulkInvariant* getDummyBulk();
// The local record becomes the diagonal invariant and current. A stored invariant is never
// reset in its place: it would then be stored twice as the diagonal one.
void resetCurrentBulkToDiagonal();

// ---- Names, printing and browsing ----

// Digit-led input names the automatic name with that number ("007" is "Invariant_7"); other
// input is returned unchanged. The result lives in a buffer the next call reuses.
const char* convertBulkInvariantName(const char* name);
// The next automatic name; advances the count of automatic names.
char* assignName();
void modifyBulkName(const char* name, BulkInvariant* bi);
BulkInvariant* getBulkInvariantForUserInput(const char* name);
BulkInvariant* getBulkInvariantByNumber(int n);
void listBulkInvariants();
// The formula of bi up to left field MaxNum (0: all).
void printBulkInvariant(BulkInvariant* bi, int MaxNum);
int PrintModInvTerm(const int* LeftRep, const int* RightRep, int LSize, int RSize,
                    int FixedPointMult, int* count);
// "(a+2*b+c)" for the list a b b c; returns the end of the text.
char* buildRepString(char* txt, const int* Orbit, int Size);
// The cell of the column "Bulk invariant"; the row object is not read.
char* getBulkInvariantString(char* txt, void* row, int lbl);
void printChiralAlgebras(const int* Orb1, int Size1, const int* Orb2, int Size2);
void printMonodromy(const SCData* MD);
// LeftRep null with FixedPointMult 0 prepares the table, FixedPointMult -1 prints it, anything
// else adds a term.
void InvariantStatistics(const int* LeftRep, const int* RightRep, int LSize, int RSize,
                         int FixedPointMult);
// 1 + the number of distinct non-zero (comnum h) mod comnum, then those values in order of
// first occurrence; a buffer the next call reuses.
int* RatCount(int comnum);
// 1 when the named invariant does not exist, else 0; null names the current one.
int browseBulk(const char* name, int MaxNum, int info);

// ---- Selection criteria ----
// The lists of currents and pairs (ended by -1) are kept by pointer, not copied: the caller
// keeps them alive while the criterion is in force.

void setRequireLeft(int* currents);
void setRequireRight(int* currents);
void setRequireLeftAny(int* currents);
void setRequireRightAny(int* currents);
void setForbidLeft(int* currents);
void setForbidRight(int* currents);
void setRequireAuto(int* pairs);
void setPrimarySelection(IntegerList* list);
void setMIPFSelection(const int* selection);
void setSelection(int value);
void setSubgroupStart(int sgstart, int tmstart);
void setLoopCommand(char* command);
void resetAlgebraRequirements();
void resetSelectionCriteria();
int resetSubgroupAutoSelection(int rc);
int resetSubgroupLabel(int rc);
int invariantSelectionInformation(const char* text, int rc);
// 1 accepts, 0 rejects.
int checkSelectionCriteria(const BulkInvariant* bi);
int checkAlgebraSelectionCriteria(int LeftSize, const int* LeftAlgebra, int RightSize,
                                  const int* RightAlgebra);
int checkAutomorphismSelectionCriteria(const BulkInvariant* bi);
void displaySelectionCriteria(int request);
void writeInvariantSelectionCriteria(FILE* file);
void printInvariantSelectionCriteria(FILE* file);
void generateDiagonalSelectionWarning();

// ---- Monodromies and X matrices of a simple-current group ----
// MD->dg is Z_N1 x ... x Z_NM and map[e] the current of element e. R (row i in units of 1/N_i)
// holds the monodromy charges of the basis currents; X satisfies X + X^T = R mod 1 off the
// diagonal and X_ii = R_ii / 2.

void computeMonodromies(SCData* MD);
// The same with the record's charge and weight callbacks.
void GSC_computeMonodromies(SCData* MD);
// Runs the analysis callback once for every admissible X (every symmetric one); the loop result.
int generateInvariants(SCData* MD);
int generateSymmetricInvariants(SCData* MD);
// The per-point callbacks of the X loops; Data is the record.
int computeXmatrix(int size, int* loop, void* MD);
int computeSymmetricXmatrix(int size, int* loop, void* MD);
// sum_ab I_a X_ab J_b / N_a for group elements I and J, reduced; the next call overwrites it.
rat* computeXIJ(int I, int J, SCData* MD);

// ---- The bulk invariant of an X matrix ----

// 1 when field a may be paired with J_b a: Q_i(a) + sum_j X_ij b_j / N_i is an integer for all i.
int checkDeltaArgument(SCData* MD, int a, int b);
// The same with X transposed.
int checkDeltaArgumentMirror(SCData* MD, int a, int b);
// The same for a charge vector given as integers in units of 1/N_i.
int checkDeltaArgumentForCharges(SCData* MD, const int* Charges, int b);
void allocateKernel(SCData* MD);
// The left and right chiral algebras: the currents paired with the vacuum.
void getXKernels(SCData* MD);
// The distinct partners of a, ascending, in a buffer the next call reuses; the currents among
// the pairing elements that fix a follow at position order.
int* getRightFields(SCData* MD, int a, int* orblen, int* fixcnt);
// The first partner of a in element order; -1 after a report.
int getRightField(SCData* MD, int a);
// The distinct J a over the left kernel into Rep, ascending; the order of a's stabilizer in the
// kernel, negative when a is not the smallest of them; 0 when a weight differs by a non-integer.
int getLeftOrbit(SCData* MD, int* Rep, int a);
int getRightOrbit(SCData* MD, int* Rep, int a);
void makeSimpleCurrentBulkInvariant(BulkInvariant* bi);
// Rebuilds for all fields an invariant that was built for a primary selection.
void RecomputeBulkInvariant(BulkInvariant* bi);
void makeChargeMap(SCData* MD);
int checkInvolution(SCData* MD);

// ---- Symmetry reduction ----

// The PERM callback: the center element whose current is the image of elt's under symmetry perm;
// elt -1 prepares the tables.
int computeGroupPermutation(int perm, int elt);
// MD gets an owned subgroup record holding the symmetries that map its group onto itself.
void addSubgroupStabilizerToModularData(SCData* MD);
// X in the basis moved by symmetry stab_elt; null after a report. A buffer the next call reuses.
int* getPermutedXmatrix(int mult, SCData* MD, int stab_elt);
// 1 when no symmetry of the subgroup turns X into a smaller matrix; the symmetries that leave X
// unchanged become the invariant's stabilizer.
int checkPermutationAcceptance(SCData* MD);
// The invariant's stabilizer, for the boundary code.
void addPermutationInfo(SCData* MD);
// Appends x to a -1-ended set that does not hold it; the set needs room.
void addToPermSet(int* set, int x);

// ---- The simple-current invariant search ----

// All subgroups of the center dg (map: element to current); the accepted candidates, 1 when one
// stopped the search, -3 when the loop command failed.
int ComputeAllSimpleCurrentInvariants(Discrete_Group* dg, int* map);
Subgroup* buildSubGroups(Discrete_Group* dg, int* map);
// The subgroup generated by Ngen currents; currents receives all its elements and needs room for
// them. MD null uses the module's record. 0 for a subgroup outside the effective center.
int ComputeAllSubgroupInvariants(int* currents, int Ngen, SCData* MD);
int GSC_computeAllGroupInvariants(Discrete_Group* dg, int* map, SC_CHARGE fcn, SC_WEIGHT fcn2,
                                  SC_ANALYSE fcn3, void* X);
// The default analysis of a candidate.
int computeInvariant(SCData* MD);
void buildSelectedSimpleCurrentInvariants();
// 1 when the last scan of the center went through every subgroup (not stopped or cut short).
int simpleCurrentScanCompleted();
// Scan (no selection, 0), collect (no selection, 1) or visit chosen numbers (sorted list, 2).
void buildMultipleSimpleCurrentInvariants(int* selection, int autostore_override);
// 1 when an invariant of the subgroup was chosen and made current.
int selectBulkInvariantInSubgroup(int* currents, int Ngen);

// ---- Operations ----

// The transpose of bi: bi itself when symmetric, else a work record the next call reuses.
BulkInvariant* reflectBulkInvariant(BulkInvariant* bi);
void transposeNamedBulkInvariant(const char* name1, const char* name2);
// Z becomes Z C in place.
void conjugateBulkInvariant(BulkInvariant* bi);
void conjugateNamedBulkInvariant(const char* name1, const char* name2);
// 0 when the product was stored or an equal one was; 1 for a missing operand, a product that is
// not normalizable or a name in use.
int multiplyBulkInvariants(const char* name1, const char* name2, const char* name3, int display);
// Each label a occurring c_a times occurs c_a/f times, f the gcd of the c_a (0 for an empty list),
// sorted ascending; returns the new length.
int removeRedundancy(int* orbit, int size, int* factor);
void setConjugationInvariant();
// In a size x size 0/1 matrix, row i pairs i with j instead of i.
void autoSwap(int* modmat, int size, int i, int j);

// ---- Invariants given as matrices ----
// A candidate Z is N x N row-major ints over the fields of the current theory, Z(a, b) at a N + b.

// Text input: a stored name or number (1 when absent or rejected by the criteria), else the
// matrix or cycle notation, checked and accepted (0, errors reported).
int buildInvariant(const char* invstring, int select);
// The work area filled from "m*(a+k*b)(c)+(d)^2+..." or from cycles "<a,b,c><d,e>"; null on a
// reported error.
int* buildMatrix(const char* inputstring);
int* buildAutomorphism(int* Z, const char* inputstring);
// Z(a, b) += mult k k' for the items (k, a) of left and (k', b) of right; 0 on a reported error.
int addEntries(int* Z, const char* left, const char* right, int mult);
// 1 when Z commutes with S; more than maxerr failing entries stop the check.
int checkInvariant(const int* Z, int maxerr);
// 1 accepted, 0 not modular invariant. store 1 stores when "Autostore" is on.
int acceptCandidateInvariant(int* Z, int check, int store, int select, int prnt);
void makeExceptionalBulkInvariant(const int* Z, BulkInvariant* bi, int store, int prnt);
// Built-in invariant mode of the current block: 0 diagonal, 1-3 A1 at levels 10, 16, 28, 4-6 the
// N=2 blocks of these levels; -1 nothing.
void buildExceptionalInvariant(int mode);
// The product of the built-in invariants modes[k] of the factors of the current tensor product;
// unchecked from 150 fields on.
void buildExceptionalTensorInvariant(const int* modes);

// ---- Built-in invariants of the c=1 orbifold ----
// The current theory must be a single c=1 orbifold block of parameter N (N+7 fields).

// 0 for the fields 0 and 2 and the twist fields, N for 1 and 3, x for the field (1, x).
int orbifoldCharge(int lbl);
// The first of the fields 4 .. N+2 of charge ch; 0 after a report when there is none.
int getOrbifoldFieldWithCharge(int ch);
// Adds the square of the sum of the fields of orbit (ended by -1) to the matrix.
void addOrbitToModularMatrix(int* modmat, const int* orbit);
// The image of field i under the automorphism of the splitting N = p q.
int getOrbifoldExceptionalAutomorphism(int i, int p, int q);
// The matrix becomes the extension invariant of M (zero unless M^2 divides N, M >= 2).
void getOrbifoldExceptionalExtension(int* modmat, int M);
// Offers every built-in invariant to the installed acceptance step; nothing unless a single
// c=1 orbifold block is current.
void searchInvariants();

// ---- Permutation invariants ----

// Offers to acceptCandidateInvariant every permutation of the fields other than the identity
// that fixes the vacuum, keeps weights modulo 1 and leaves S unchanged.
void searchAutomorphisms();
// The search on given data: S (row-major real and imaginary parts) and a class number per field
// for its weight modulo 1; each candidate goes to offer(Z, 0, 1, 0, 1). Returns their count.
int searchAutomorphismsWith(int N, const std::vector<double>& S_re, const std::vector<double>& S_im,
                            const std::vector<int>& weightClass,
                            int (*offer)(int*, int, int, int, int));

// ---- Invariants of chiral algebras extended by integer-spin fields ----

// The fields of integer weight, the vacuum first, ended by -1; a buffer the next call reuses.
int* findIntegerSpin();
// For the cnt fields of list (integer spin, not the vacuum): an exclusive bound per field on its
// multiplicity in a consistent extension, into max; returns their product (1 for cnt < 1).
double getMaximumCurrentMultiplicities(int cnt, const int* list, int* max);
// 1 when sum_t mult[t] S(current t, m) is negative or not real for some field m, else 0; an
// algebra beyond the vacuum then goes on to CheckHomomorphism. currents ends with -1.
int checkAlgebra(const int* currents, const int* mult);
// Builds, from the fusion rules of the sum of the size fields, the blocks of the invariant they
// extend to and offers it; 0 after a completed or abandoned construction, -2 when stuck.
int CheckHomomorphism(int size, const int* fields);
// Prints the block (orbit[i] copies of field i); 0 when its weights agree modulo 1, else 1.
int printExceptionalOrbit(const int* orbit, int mult);
// Hom -= mult v v^T on the N x N matrix; 0 at the first negative entry, after a report.
int RemoveVector(int* Hom, const int* vector, int mult);
