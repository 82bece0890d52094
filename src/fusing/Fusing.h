// Fusing matrices F_pq[a b c d] and braiding signs of the current building block (free boson,
// the Ising block of the N=0 minimal series, the c=1 orbifold) in a fixed normalisation, the
// gauge phases of the orbifold, and the sign unknowns with their types and signatures that the
// sign solver works on.
#pragma once

#include "numeric/Sorting.h"

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
