// Fusing matrices F_pq[a b c d] and braiding signs of the current building block (free boson,
// the Ising block of the N=0 minimal series, the c=1 orbifold) in a fixed normalisation, the
// gauge phases of the orbifold, and the sign unknowns with their types and signatures that the
// sign solver works on.
#pragma once

#include "numeric/Sorting.h"

#include <array>
#include <functional>
#include <memory>
#include <string>
#include <vector>

// ---- Gauge settings and sign flips ----

// 0 the reference gauge, 1 the naive gauge (no phases), 2 our gauge; initially 2.
extern int GaugeChoice;
// The phase convention 0 to 4 within gauge 2; initially 0.
extern int GaugeChoiceParameter;
// 1: every entry and braiding sign with a row in PentagonVariables is multiplied by
// 1 - 2*flippedvars[row].
extern int UseFlippedVariables;
extern std::vector<int> flippedvars;

// Saves both gauge settings and restores them when it goes out of scope.
class GaugeSettingsGuard {
public:
    GaugeSettingsGuard();
    ~GaugeSettingsGuard();
    GaugeSettingsGuard(const GaugeSettingsGuard&) = delete;
    GaugeSettingsGuard& operator=(const GaugeSettingsGuard&) = delete;

private:
    int choice, parameter;
};

// ---- Fusing matrices ----

// The coupling lists of the quadruple: N p labels (each as often as N_ab^p N_cd^conj(p)), N q
// labels (N_bc^q N_ad^conj(q)), the conjugate of every label; *size the number of p couplings.
// Null in tensor mode. Valid until the next call.
int* countFusingCouplings(int a, int b, int c, int d, int* size);
// F[a b c d]: *size its dimension n, *bas its basis (n q labels, then n p labels); entry (p, q)
// at row = position of p, column = position of q. Null without coupling, for a block without
// fusing matrices and for twist fields of the orbifold. Valid until the next call.
double* getFusingMatrix(int a, int b, int c, int d, int* size, int** bas);
// N_ab^c of the current block as the coupling count takes it: from cached rows of the facade, or
// in closed form for a free boson; 0 for labels outside the block or in tensor mode.
int fusingCoupling(int a, int b, int c);
double* getMinimalFusingMatrix(int a, int b, int c, int d, int* size, int* basis, double* fusing);

// Matrix entries F_pq[a b c d] and braiding signs eps(a,b;c) that replace the current block's
// own, on the basis the block's fusion rules give (multiplicity-free rules only). Only tests
// install one, to check the equations against data known elsewhere; nothing in the program does.
struct FusingProvider {
    std::function<double(int p, int q, int a, int b, int c, int d)> entry;
    std::function<int(int a, int b, int c)> epsilon;
};
// An empty provider restores the block's own data.
void setFusingProvider(FusingProvider provider);

// ---- Braiding signs and single entries ----

// The charge channel of the orbifold vertex (a, b, c): 1 sum or difference, 0 wrapped.
int channelCheck(int a, int b, int c);
int getOrbifoldEpsilon(int a, int b, int c);
// The braiding sign of the current block with its flip.
int getEpsilon(int a, int b, int c);
// idvec = (p, q, a, b, c, d), or (-1, -1, a, b, c, -1) for a braiding sign.
double getFusingVariableValue(const int* idvec);
// Prints one entry in the naive gauge and in our gauge with conventions 0 and 1.
void getFusingMatrixEntry(int p, int q, int a, int b, int c, int d);
int getOurFusingVariableSign(const int* idvec, int gauge);
int getFusingVariableSign(int i);
// S_ij rebuilt from fusing matrices and braiding signs.
void SmatrixFromFusing(int i, int j, double* R, double* I);

int descendantCheck(int p, int q, int a, int b, int c, int d);
int mapOrbifoldPrimaryToRange(int rank, int label);
int findUField(int label);
int OrbifoldFusingLabelCheck(int a);

// ---- The c=1 orbifold ----

// Reads *size (and for size 1 the pair basis[0] = q, basis[1] = p) and writes basis and matrix;
// the buffers hold at least 16 doubles and 8 ints. Null for twist fields and when no matrix can
// be written.
double* getOrbifoldFusingMatrix(int a, int b, int c, int d, int* size, int* basis, double* fusing);
int FusingSignFlip(int type, int p, int q, int a, int b, int c, int d, int rank);
int SignG(int p, int q, int a, int b, int c, int d, int rank);
int SignK1(int p, int q, int a, int b, int c, int d, int rank);
int SignK2(int p, int q, int a, int b, int c, int d, int rank);
int SignABCD(int p, int q, int a, int b, int c, int d, int rank);
int SignABCD2(int p, int q, int a, int b, int c, int d, int rank);
int SignABCD3(int p, int q, int a, int b, int c, int d, int rank);
int PhiFusing(int p, int q, int a, int b, int c, int d, int rank);
int SignJabc(int p, int q, int a, int b, int c, int d, int rank);
int SignABAB(int p, int q, int a, int b, int c, int d, int rank);
int SignType6(int p, int q, int a, int b, int c, int d, int rank);
int SignType6b(int p, int q, int a, int b, int c, int d, int rank);

// ---- Sign unknowns ----

// The unknowns: rows (p, q, a, b, c, d) of non-zero entries, then (-1, -1, a, b, c, -1) of
// braiding signs with a >= b, in order of first insertion.
extern VectorSpace PentagonVariables;
// Rebuilds PentagonVariables for the labels 0 to max-1.
void getPentagonVariables(int max);
int getVariableType(const int* vec);
// The name of a type 0 to 30; "" outside.
const char* getVariableTypeName(int type);
// The types in the order results are printed, ended by -1.
const int* getVariableTypeOrder();
void computeSignatureForLabels(const int* v, int* signature);
int compareSignatures(int i, int j);
int convertSignInfo(int input, int rank, int newSign);
int* LTV(int p, int q, int a, int b, int c, int d);

// ---- Sign-flip files ----

// A sign-flip file holds records of 12 integers: a signature and its code 3h + l, h the sign of
// the ranks 0, 1 mod 4 and l that of the ranks 2, 3 (0 unknown, 1 kept, 2 flipped).

// 1 once an input file was named: every later solver run reads it.
extern int Iterate;
// Names the input file ("begin": none); the next lookup reads it, output numbering restarts.
void setFlippedVarInputFile(const char* txt);
// 1 when the file can serve as input: it does not exist (the name is only the stem of the output
// names) or it opens and holds integers only. Reports what is wrong otherwise.
int checkSignFlipFile(const char* txt);
// The stored sign of the unknown: 1 keep, -1 flip, 0 not known. p = -2 only forgets what was
// read.
int getSignFlipFromFile(int p, int q, int a, int b, int c, int d);
// Writes the next output file from the flip bit of every unknown row; 1.
int AnalyseSignFlips(const int* vars);
// Compares the signs of every unknown in gauge 2 with the given convention against the file;
// the convention stays set. 0 when the file cannot be read.
int CheckFusingSignChoice(const char* file, int gauge);
// The text of one unknown.
std::string PrintFusing(const int* vector, int show_type);
// Per type, which unknowns vars marks as flipped (1), unchanged (0) or undetermined (2 or more).
// Mode 1 first marks the fully determined types, which later calls leave out.
void PrintResultByType(const int* vars, int mode);
int printFlippedEntries(int size, int* vec, void* data);
// The parity equation of a record whose channels equal the previous record's: s1, s2 its two
// digits, *flip the relative flip of the two rank classes (-1 unknown). vec holds the six
// parities and 1; entry 7 gets the right-hand side. The result of the collection, 0 when nothing
// is added.
int addSignFlipEquation(VectorSpace* Pattern, int s1, int s2, int* flip, int* vec);

// ---- Signs fixed by hand ----

// The rows (p, q, a, b, c, d) every solver run fixes to their computed sign.
extern std::vector<std::array<int, 6>> FixedVariables;
void initializeFixVars();
void addFixedVariables(const int* vector);
// x_v = 0, resp. x_v = 1, for the unknown with these labels.
void fixVars(const int* vector);
void fixAndFlipVars(const int* vector);
// The signs of the input file for the unknown of that row.
void fixVarFromSignFlipFile(int row);
void manualGaugeFixing();
// Carries the relative sign of two unknowns of one type over from the other rank class.
void fixRelativeNdependence();

// ---- Pentagon and hexagon equations ----

// One equation: a pentagon F_pr[a i j q] F_conj(q)l[a r k b] = sum_s F_conj(q)s[p j k b]
// F_pl[a i s b] F_conj(s)r[conj(l) i j k], or the real or the imaginary part of a hexagon. The
// term lists grow with the equation.
struct PentagonData {
    // Per term: the three factors of a pentagon, the two (first two places) of a hexagon.
    std::vector<std::array<double, 3>> contribs;
    double RHS1 = 0.0, RHS2 = 0.0;
    // Hexagon: the right-hand phase exponent and its cosine (real part) or sine.
    double weight = 0.0, phasefactor = 0.0;
    std::vector<double> leftweight, leftphasefactor;
    // (a, i, j, k) of a pentagon, (-1, i, j, k) of a hexagon.
    int labels[4] = {0, 0, 0, 0};
    int scontr = 0;
    // conlbls[t][m][f]: label m (p, q, a, b, c, d) of factor f of term t.
    std::vector<std::array<std::array<int, 3>, 6>> conlbls;
    int rhslbls[6][2] = {};
    std::vector<int> contribss;
    int epsrhs1 = 1, epsrhs2 = 1;
    std::vector<int> epslhs;

    void clearTerms();
    // Appends a zero term and returns its index.
    int addTerm();
};

// The largest label + 1 the equations and the solver look at: the untwisted fields (rank + 3)
// of the orbifold, all fields of any other block.
int fusingLabelBound();
// The fields of a x i x j x k, resp. i x j x k, in order of first appearance; valid until the
// next call of the same operation.
int* getOutcomingStates(int a, int i, int j, int k, int* size);
int* getHexagonOutcomingStates(int i, int j, int k, int* size);
// action 1 prints (filtered), 2 checks, 3 hands each record to the sign equations, any other
// only enumerates. 0 after a failed check or a contradicting sign equation, 1 otherwise.
int compute_pentagon(int a, int i, int j, int k, int action);
int compute_hexagon(int i, int j, int k, int action);
// Every record of a family, handed to visit until it answers false; for counting and tests.
void forEachPentagonRecord(int a, int i, int j, int k,
                           const std::function<bool(const PentagonData&)>& visit);
void forEachHexagonRecord(
    int i, int j, int k,
    const std::function<bool(const PentagonData&, const PentagonData&)>& visit);
// With data null: sets the print filter (all four 0 switch it off), answers 0. With a record:
// -1 filter off, 1 match, 0 otherwise.
int pentagon_trigger(const PentagonData* data, int aa, int bb, int cc, int dd);
void print_pentagon(const PentagonData* data);
void print_hexagon(const PentagonData* data);
// Checks every hexagon, pentagon and S element below max (lowered to the label bound); the
// number of failed checks.
int checkPolynomial(int max, int useFlipped);
void PrintInconsistent(int a, int i, int j, int q, int r, int k, int b, int p, int l, double LHS,
                       double RHS, int flag);

// ---- Sign equations modulo 2 ----

// Linear equations modulo 2 over the sign bits, kept fully reduced: every pivot unknown occurs
// in its own equation only. Adding an equation eliminates only the unknowns it touches.
class SignEquationStore {
public:
    explicit SignEquationStore(int nvar);
    // 1 stored, 0 implied by the stored ones, -1 contradicting them.
    int add(std::vector<int> vars, int rhs);
    int variables() const { return static_cast<int>(pivotRow.size()); }
    int equations() const { return static_cast<int>(rows.size()); }
    // The pivot row of an unknown, -1 for a free one.
    int pivotOf(int var) const { return pivotRow[var]; }
    const std::vector<int>& row(int r) const { return rows[r]; }
    int rhs(int r) const { return rhss[r]; }
    // Fills the bits of the pivots from the free bits already in `bits`.
    void solve(std::vector<int>& bits) const;
    // How many added equations contradicted the stored ones.
    int contradictions() const { return rejected; }

private:
    std::vector<std::vector<int>> rows;
    std::vector<int> rhss, pivots, pivotRow;
    // Rows that may contain an unknown; checked before use.
    std::vector<std::vector<int>> occurs;
    int rejected = 0;
};

// The store of the current solver run and the families whose signs were ambiguous.
extern std::unique_ptr<SignEquationStore> PolyNom;
extern VectorSpace FailedEquations;
// A new store for the rows of PentagonVariables and an empty list of ambiguous families.
void resetSignEquations();
// Flip bits of the terms Eq[0..size-1] that make target Eq[size] = sum (1 - 2 flip) Eq: the
// single solution, or the second one of a paired equation (*firstnonzero -3, -4, -5). Null when
// there is none or it is ambiguous (*firstnonzero -2); *firstnonzero is the reference term.
int* FindSignFlips(double* Eq, int size, int* firstnonzero);
// 1 when a sign equation of the record contradicts PolyNom or no sign choice makes the record
// hold, else 0.
int addPentagonEquation(PentagonData* data);
int addHexagonEquation(PentagonData* data);
// Toggles the unknown with labels idvec into the -1-terminated list `vector` of capacity size:
// removed when listed, appended otherwise; -1 when there is no such unknown.
int ChangePentagonEquationEntry(int* vector, int size, const int* idvec);
// Toggles F_ps[a i j k], F_sc q[a k j i] and the braiding signs of AddHexagonSigns.
void ChangePentagonEquationEntries(int* vector, int size, int p, int s, int sc, int q, int a, int i,
                                   int j, int k);
// Toggles eps(i,q; conj a), eps(j,k; q), eps(s,k; conj a) and eps(i,j; s); reports an sc that is
// not the conjugate of s.
void AddHexagonSigns(int* vector, int size, int p, int s, int sc, int q, int a, int i, int j,
                     int k);
// Adds the -1-terminated list Eq with right-hand side lhs; the store's answer.
int addToPolynomialEquations(const int* Eq, int lhs, SignEquationStore* store);
// Entries 2 to 4 of a braiding-sign row: max(i,j), min(i,j), k.
void setHexagonSignIdentifier(int* id, int i, int j, int k);
// Prints the unknowns whose entry of the dense equation eq is 1, then its right-hand side.
void PrintPentagonEquation(const int* eq);
// The sign equations of every pentagon, resp. hexagon, family below max; 0 at the first
// contradiction.
int getPentagonEquations(int max);
int getHexagonEquations(int max);

// ---- Gauge fixing and gauge transformations ----

// Predicates on one row (p, q, a, b, c, d) of PentagonVariables: 1 when it matches.
int fixExternalIncomingIdentity(const int* v);
int fixInternalIdentity(const int* v);
int fixExternalOutgoingIdentity(const int* v);
int fixFaaaa(const int* v);
int fixEpsilonaa0(const int* v);
int fixEpsilon(const int* v);
int fixAllFusing(const int* v);
int fixExternalSimpleCurrent(const int* v);
int fixInternalSimpleCurrent(const int* v);
int fixMultiSimpleCurrent(const int* v);
// Braiding signs of three different fields from 4 on, resp. entries of a matrix with fewer than
// two couplings with all four fields from 4 on and b, c, d different.
int fixReferenceEpsilons(const int* v);
int fixReferenceFusings(const int* v);
int fixReference(const int* v);
// The orbifold's rule: no internal field in V and every vertex in the sum or difference channel.
int fixPrimaryPropagation(const int* v);
// 1 when a standard rule fixes the row; with null prints the rules and answers 0.
int fixFusingGauge(const int* v);
// The sign F_00[a a a a] and eps(a,a;0) must carry for a self-conjugate field a.
int frobeniusSchurIndicator(int a);
// Ties unknowns of equal signature together.
void fixRelativeSignsForSignatures();
// Adds the gauge-fixing equations to PolyNom (and builds FusingGaugeVariables for the labels of
// the unknowns). An identity rule fixes an entry only while a gauge can still choose its sign;
// F_00[a a a a] and eps(a,a;0) are fixed at a's indicator.
void chooseFusingGauge();

// The couplings (a, b, c) with N_ab^c = 1 below the label bound.
extern std::vector<std::array<int, 3>> FusingGaugeVariables;
// The sign bits of the solution with every free unknown 0.
extern std::vector<int> BasicSolution;
void getFusingGaugeVariables(int max);
// The couplings whose gauge bits change the sign of the unknown v, as indices into
// FusingGaugeVariables (one that occurs twice cancels in the store).
std::vector<int> getFusingGaugeEquation(const int* v);
// 1 when the bits loop[t] of the free unknowns vars[t] differ from BasicSolution only by a gauge
// transformation.
int identityGaugeClassCheck(int nvar, const int* loop, const int* vars);

// ---- The sign solver ----

// One row per class of solutions that differ by more than a gauge transformation: the bits of
// the free unknowns; row 0 is the basic solution.
extern std::vector<std::vector<int>> FusingSignClasses;
// Solves the signs of the current block; 0 when the equations contradict each other, 2 when the
// enumeration of free signs stopped at the limit, 1 otherwise.
int findFusingMatrices(int max);
// Computes and prints the solution for the bits loop[t] of the free unknowns vars[t] and with
// toFile 1 writes it; 0 when accepted, 1 when an ambiguous family fails with these flips.
int analyseFusingSignChoice(int nvar, const int* loop, const int* vars, int toFile);
// Registers the class of a choice and of its combinations with earlier classes.
void addFusingSignChoice(int nvar, const int* loop, const int* vars);
// The class whose row differs from loop by a gauge transformation; -1 when there is none.
int findFusingSignClass(int nvar, const int* loop, const int* vars);
// The number of choices the enumeration analyses before it stops (100000); the previous limit.
int setFusingSolutionLimit(int limit);
