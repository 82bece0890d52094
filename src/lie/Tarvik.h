// Affine Lie algebras named by the algebra triple (type, rank, level): validation, names and
// constants, Cartan data and inner products, representation invariants, and the integrable
// spectrum of a level with its simple-current orbits.
#pragma once

#include "base/Allocation.h"
#include "numeric/LargeInteger.h"
#include "numeric/MathUtility.h"

// ---- Types, validation, names and constants ----

void typecheck(int type, int rank, int level, int req, const char* routine);
void InputError(int type, int rank, int level, const char* routine);
void SNotAvailable(int type, int rank, int level, const char* routine);
char* algebraname(int type, int rank, int level);
char* algebraTypeString(int type, int rank);
void currentLabel(int type, int current, char* lbl);
int LieType(int type);
int Complexity(int type, int rank);
int Center(int type, int rank);
int CenterMultiplicity(int type, int rank);
void getCenterOrders(int type, int rank, int total, int* orders);
int dualCoxeter(int type, int rank);
int AdjointDimension(int type, int rank);
int* indexOrders(int type, int rank);
int SmallRootDenominator(int type, int rank);
int WeightLatticeOrder(int type, int rank);
void initializeTarvik();
// The rank limits of a type code; types 0 to 4 and 12 to 14 go up to the parameter "Maxrank".
int maxRank(int algebraType);
int minRank(int algebraType);
// Type 5 at rank 4 is 6 (F4), at rank 2 7 (G2); standardType maps 6 and 7 back to 5.
int algebraType(int type, int rank);
int standardType(int algebraType);
// The largest level of an affine algebra: the preference "MaximalLevel", which start-up hands
// over; 50 until then.
void setMaximalLevel(int level);
int getMaximalLevel();
// 1 when the level of an affine algebra (types 1 to 5 and 11 to 16, negative codes counted as
// their type) is at most the largest level; every other type passes. Otherwise reports it and
// gives 0.
int levelCheck(int type, int level);

// ---- Cartan data, roots and inner products ----
// Weights are Dynkin labels of the finite nodes 0..r-1; an extended weight carries the affine
// label last, at position r. Inner products are in the normalisation with long roots of length
// squared 2.

void Cartan(int type, int rank);
void computeGM(int rank);
void Theta(int type, int rank);
void InverseCartan(int type, int rank);
int InverseCartanMultiply(int type, int rank, const int* v, int* out);
int* CartanMultiply(int type, int rank, const int* v, int* out);
char* printInverseCartan(int type, int rank, char* txt);
void printCartanMatrix(int type, int rank);
double RhoDotProd(int type, int rank);
double DynkinPlusRhoDotProd(int type, int rank, const int* l, const int* m);
double DoubleDynkinPlusRhoDotProd(int type, int rank, const double* l, const double* m);
double IntDotProd(int type, int rank, const int* l, const int* m);
double DynkinDotProd(int type, int rank, const int* l, const int* m);
double DoubleDotProd(int type, int rank, const double* l, const double* m);
int DualDotProd(int type, int rank, const int* a, const int* b);
int norm(const int* v, int rank);
void PositiveRoots(int type, int rank);
int rootTest(const int* v, int type, int rank);
void BtildeToC(int* out, const int* in, int rank);

// Read access to the data built last. CM is (r+1) x (r+1) column by column, GM and ICM r x r;
// ICM is MetricNorm times the inverse of GM. Each positive root is a row of r ints (six times
// the root in the basis of simple coroots).
const int* getCM();
const int* getRootnorm();
const int* getTheta();
const int* getGM();
const int* getICM();
int getMetricNorm();
const int* getRootSystem();
int getNpos();

// ---- Representation invariants ----
// IntegerDim and RCasimir return module buffers that the next call overwrites (RatWt also
// overwrites the one of RCasimir). Dimension gives a PosInt handle for values of 1e9 or more.

fint* IntegerDim(const int* rep, int type, int rank);
int Dimension(const int* rep, int type, int rank);
rat* RCasimir(const int* rep, int type, int rank);
void RatWt(const int* rep, int type, int rank, int level, rat* RW);

double Dim(const int* rep, int type, int rank);
double Casimir(const int* rep, int type, int rank);
int DynkinNorm(const int* rep, int type, int rank);
int Weight_denom(int type, int rank, int level, int g);
double QDim(const int* rep, int type, int rank, int level);

// ---- Integrable spectrum and simple-current orbits ----
// Extended weights carry the affine label last. The orbit block of spectrum_ holds, for N
// fields and CM cyclic factors of the centre, (2 CM + 4) N ints: orbit numbers, generators,
// positions, CM stabiliser words and CM charges per field, and the conformal-weight numerators
// over weight_denom. The blocks are charged to Space and belong to the caller, except for the
// trivial algebra and the Ising model, whose blocks are constant module data.

void spectrum_(int type, int rank, int level, int* Nprimaries, int* Norbits, int* AdjDimension,
               int* RepSize, int* DualCoxeter, int* CenterOrder, int* CenterMult, int* weight_denom,
               int* Complex, double* CentralCharge, int** ExtDynkin, int** CenterOrders,
               int** OrbitBase, AllocCount* Space);
int findRep(const int* rep, int size, int Nprim, int type, int rank, int level);
// The number of fields spectrum_ gives the triple, counted without enumerating them; a double,
// since it can exceed every integer type. Only for triples spectrum_ accepts.
double countPrimaries(int type, int rank, int level);
// 1 when each table spectrum_ makes for the triple fits under the allocation ceiling; otherwise
// reports the size and gives 0. Allocates nothing.
int spectrumFits(int type, int rank, int level);
void conjg_(int type, int rank, const int* rep1, int* rep2);
void charges_(int type, int rank, const int* rep, int* char1, int* char2);
int simplea_(int rank, const int* in, int* out, int shift);
int simpleb_(int rank, const int* in, int* out, int shift);
int simplec_(int rank, const int* in, int* out, int shift);
int simpled_(int rank, const int* in, int* out, int shift);
int simplee_(int rank, const int* in, int* out, int shift);

// The orbit tables of orbgen_ and start_ are column-major with this leading dimension, the
// longest orbit of the type: entry (member m, label j) at m + j * ld, the two charges of
// member m at m and m + ld, and ld positions.
int orbitLeadingDimension(int type, int rank);
int orbgen_(int type, int rank, const int* rep, int* orbs, int* lbl, int* len, int* len1, int* len2,
            int* len3);
void start_(int type, int rank, int level, const int* rep, int* orbs, int* lbl, int* chars,
            int* len, int* len1, int* len2, int* len3);
void kmrep_(int type, int rank, int level, int* nfill, int* ofill, int Nprimaries, int replbl,
            int* OrbitBase);

// ---- Weyl group ----
// Orders are exact in 64 bits; an order beyond that is reported and given as LLONG_MAX, so that
// every size limit refuses it. The tables returned are module data, valid until the next call
// of the same function.

struct VectorSpace;

long long WeylGroupOrder(int type, int rank);
int* WeylReflection(int type, int rank, const int* v, int* out, int root);
int* WeylReflectionInRootBasis(int type, int rank, const int* v, int* out, int root);
int WeylReflectionInRootBasis2(int type, int rank, const int* v, int* out, int root);
long long recognizeSubdiagram(const int* select, int fill, int rank);
long long WeylBoundaryMultiplicity(const int* extdyn, int type, int rank);
// Rows (w(rho) in Dynkin labels, parent, generator); row 0 the identity. Null above 3,000,000
// elements; WeylMultiply then gives -1 and WeylReflections null.
VectorSpace* initWeylGroup(int type, int rank);
int WeylMultiply(int type, int rank, int a, int b);
VectorSpace* WeylReflections(int type, int rank, const int* v);
int* WeylParityOrbit(int type, int rank, const int* v, int* fill, int Order);
int* DynkinWeylParityOrbit(int type, int rank, const int* v, int* fill);
int* SignClasses(int type, int rank, int* fill, int current);
int* DynkinSignClasses(int type, int rank, int* fill);
int* conjugacyClassVector(int type, int rank, int current);
int computePosRootProducts(int type, int rank, const int* v, int size, int order);

// ---- Fixed points and orbit Lie algebras ----
// A current is the power of the generating current, for D the number 0..3 (2 the vector
// current). The list of FixedCurrents is a block "Fixed currents" of n ints charged to Space;
// the caller frees it. FCFT normalises only a successful result.

int ConvertToBasic(int current, int type, int rank);
int FixedPointCheck(int type, int rank, int level, int current);
int FixedCurrents(int type, int rank, int level, int** Fcurrents, AllocCount* Space);
int FCFT2(int type, int rank, int level, int current, int* FCFTtype, int* FCFTrank, int* FCFTlevel,
          int* FCFTshift);
int FCFT(int type, int rank, int level, int current, int* FCFTtype, int* FCFTrank, int* FCFTlevel,
         int* FCFTshift);
int fold(const int* Edynk, int* Edynk2, int type, int rank, int level, int current);
