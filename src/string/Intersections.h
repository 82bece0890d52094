// Chiral intersections of boundaries: the oriented count I(a,b) of left-handed massless open
// states between branes a and b and the chirality I(a,b) - I(b,a); the boundary classes whose
// members follow from one leader, with a byte cache per class; the diagonal sectors (annulus,
// Moebius sum and adjoints of a brane with its orientifold image); and the brane scan.
//
// The closed-field sums are prepared once per bulk invariant. Every lookup first makes sure they
// (and the classes) belong to the current invariant; when they cannot be prepared it answers 0
// after "Intersections not initialized".
#pragma once

struct ChanPatonData;
struct OrientifoldInfo;

// Returns I(a,b) and sets *chir = I(a,b) - I(b,a).
using INTERSECT = int (*)(int a, int b, int* chir);

// Binds "Super" and "SM_search check_moebius".
void initializeIntersections();

// ---- Preparation and the numbers ----

// 0 ready for the current bulk invariant, 1 not possible ("Super" off, no field contents, a
// supersymmetric search on a theory that is not a Calabi-Yau reading), 4 preparation failed or
// stopped.
int InitIntersection();
// The bulk generation the sums hold for; -3 before any preparation.
int getIntersectionsInitiated();
int ComputeIntersectionWithoutOrbits(int a, int b, int* chir);
int ComputeFastIntersection(int a, int b, int* chir);
// The orbit numbers with the products of the first boundary remembered; a = -1 forgets it.
int ComputeFastIntersection_cached(int a, int b, int* chir);
// The routine in force (orbit or plain).
int ComputeIntersectionEntry(int a, int b, int* chir);
// The handler of "Intersect".
int PrintIntersectionEntry(int a, int b);
// Number of charge classes of the orbit method; 0 under the plain method.
int getChargeClassCount();

// ---- Boundary classes ----
// A class is a leader with its images under the boundary currents and the orientifold
// conjugations; a cache slot keeps, per usable boundary u, the chirality (byte u) and the sum
// I + I^T (byte U + u) of the leader with u; 127 is "unknown".

int getBoundaryClasses();
void initBoundaryClassStorage();
int initBoundaryClasses();
int FullIntersectionForClassMember(int a, int b, int* chir);
int ComputeIntersectionForClassMember(int a, int b);
int ComputeOverlapForClassMember(int a, int b);
int ComputeIntersectionUsingTranspose(int b, int a, int* chir);

void incrementBoundaryClassIntersectionPointer();
void resetLastBoundaryClassIntersection();
void keepBoundaryIntersectionData(int cls);
void dumpBoundaryIntersectionData(int cls);
void storeIntersectionData(int slot, int usb, int N1, long long chir);
void freeBoundaryClassIntersectionPointers();
// *x = a inside the byte range, else 127.
void storeCharacterEntry(signed char* x, long long a);

int getLastClass();
int getBoundaryClassSize();
// Three ints per boundary label: leader, current index, orientifold index or -1.
const int* getFullBoundaryOrbits();
int getBoundaryClass(int a);
int getLeadingClassBoundary(int cls);
int getBoundaryClassReality(int cls);
// Bytes of slot s (2U of them); null for a slot without array.
const signed char* getBoundaryClassSlot(int s);

// ---- Brane configurations ----

// Gamma = chir(a, b^c), Delta = chir(a, b) on list entry ori (0 for self-conjugate partners).
void BraneIntersection(int ori, int a, int b, int* Gamma, int* Delta);
// 1 when some stack, or pair of stacks, of the configuration carries chiral matter.
int checkSolutionChirality(ChanPatonData* CPD);
int GenericSMHiddenIntersection(int a, int ac, int mode, int Nfix, const int* boundaries);
int getChiralSMHiddenIntersection(int i, int a, int ac, int mode);
int ComputeChirality(int a);

// ---- Diagonal sectors and Moebius sums ----

// 0 prepared, 4 stopped by the user.
int InitMoebiusSum();
// M(a) on list entry ori; the caller's current orientifold is current again afterwards.
int ComputeMoebiusSum(int ori, int a);
void storeDiagonalInformation(int ori, int a);
int getDiagonalChirality(int ori, int a);
int getDiagonalAnnulus(int ori, int a);
int getMoebiusSum(int ori, int a);
int getAdjoints(int ori, int a);
void getDiagonalInfo(int ori, int a, int* A, int* M, int* Adj);
// Mode 0 (re)makes the rank-two tables; 1 the status (-1 chiral, 0 not); 2 the numbers of a
// non-chiral sector (-3 for a chiral one, -4 without the Moebius check).
int CheckChirality(int a, int i, int mode, int* Ann, int* Moeb, int* Adj);
// The handler of "branescan": 0, or 1 when it cannot prepare or a file cannot be written.
int BraneScan();
