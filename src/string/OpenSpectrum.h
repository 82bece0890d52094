// Open strings of a brane configuration: the massless matter of its stacks read as
// representations of the Chan-Paton group, the open-string tachyons of single branes, of pairs
// and of whole configurations, and the charges of the bulk supercurrents on branes.
#pragma once

#include <cstdint>

struct ChanPatonData;
struct IntegerList;
struct OrientifoldInfo;
struct SusyType;
struct VectorSpace;

// ---- Collecting representations ----
// A representation row holds Nactive codes (0 singlet, +-1 fundamental, 2 symmetric, 3
// antisymmetric, 4 adjoint), then the chirality, then the multiplicity (the collection's count);
// rows are told apart by their codes.

// Adds the tensors of one diagonal sector: A states with Moebius coefficient M give (A + M)/2
// symmetric and (A - M)/2 antisymmetric tensors, an adjoint sector A adjoints.
void CollectRep1(VectorSpace* Reps, int factor, int Nfact, int A, int M, int Nf, int sign,
                 int adjoint);
// Adds one bifundamental between two stacks with their signs.
void CollectRep2(VectorSpace* Reps, int Nfact, int lbl1, int lbl2, int A, int Nf, int sign1,
                 int sign2);
// The matter of space-time class i; valid until the next call.
VectorSpace* CollectOpenSectorRepresentations(ChanPatonData* CPD, int i, SusyType* ST);
VectorSpace* getOpenStringRepresentations(ChanPatonData* CPD, int i);
// Starts an empty collection for rows of Nactive codes.
void initRepresentationCollection(VectorSpace* Reps, int Nactive);

// ---- Complexity and hypermultiplets ----

int ComplexRepresentation(int size, const int* vector, const int* Types);
int checkHypermultiplet(VectorSpace* Reps, const int* Types, int* even);
int AnalyseComplexity(VectorSpace* Reps, const int* Types, int* even);

// ---- Ordering and printing ----

// Row numbers by decreasing weight; valid until the next call.
int* orderReps(VectorSpace* Reps, int Nfix);
std::int64_t getRepresentationWeight(int size, int Nfix, const int* vec);
int compareReps(int size, int Nfix, const int* vec1, const int* vec2);
void printRepVeca(int Nfac, const int* vector, const int* Types, int hyper, int even, int nblank);
void printRepVec(int Nfac, const int* vector, int mult, int hyper, int even);
char charType(int type);
void PrintGroups(ChanPatonData* CPD);
void PrintOpenSpectrum(VectorSpace* Representations, SusyType* ST, ChanPatonData* CPD, int i);
// The gauge group and the open spectrum of the configuration, class by class.
void GeneralOpenSectorAnalysis(ChanPatonData* CPD);
int fixVarCheck(const int* vector);

// What the searches collect about each spectrum, installed by them; nothing until then.
using SPECTRUM_STATISTICS = void (*)(VectorSpace* Reps, ChanPatonData* CPD);
void setSpectrumStatistics(SPECTRUM_STATISTICS fcn);

// ---- Open-string tachyons ----

// 1 when some stack pair of the configuration carries tachyons.
int OpenSectorTachyonAnalysis(ChanPatonData* CPD, SusyType* ST);
// 1 tachyonic, 0 not, -1 only states that vanish for a brane of multiplicity one. The caller's
// orientifold stays current.
int DiagonalTachyonCheck(OrientifoldInfo* OI, int a);
int DiagonalTachyonCheckForCharacter(OrientifoldInfo* OI, int l, int a);
// Cached per pair of labels; a = -1 resets the cache for OI and returns 0. A call under another
// bulk invariant, orientifold or string reading than the last reset resets it first.
int TachyonicIntersection(OrientifoldInfo* OI, int a, int b);
int checkCPDforTachyons(ChanPatonData* CPD);
// The lists are reused by the next call.
void getTachyonFreeBoundaryLabels(OrientifoldInfo* OI, IntegerList** Allow, IntegerList** Avoid);

// ---- Supercurrent locality ----

void BulkSusyLocalityCheck(ChanPatonData* CPD);
int BulkSusyLocalityCheckForLabel(int a);
