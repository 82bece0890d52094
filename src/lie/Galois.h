// Galois symmetry of the S-matrix of an affine algebra, and the search for the combinations of
// Galois matrices that can be modular invariants.
//
// A signed map of N fields is an int array of N entries: +(j+1) or -(j+1) when field i goes to
// field j with that sign, 0 when field i has no image. Galois permutations (scales prime to the
// modulus) and scale maps (any other scale) both take this form.
#pragma once

// ---- Galois symmetry ----

// The modulus M of the cyclotomic field of the S-matrix; 1 for types 0 and 6, -1 when unknown.
int GaloisModulus(int type, int rank, int level);
// Image of the weight rep (r Dynkin labels) under the scale: *outrep and *Doutrep point to the
// r + 1 extended labels of the image (module data that the next call overwrites). A label -1
// marks an image on a wall of the alcove. Returns the sign of the Weyl element.
int Galois(int type, int rank, int level, const int* rep, int** outrep, int** Doutrep, int scale);
// Subtracts from srep (r labels) the nearest multiple of (k + g) times a coroot-lattice vector.
void WeylShift(int type, int rank, int level, int* srep);
// Generators of the unit group of Z/modul (module data, kept for the next call with the same
// modulus); their number in *gen.
int* GaloisOrbits(int modul, int* gen);
int GaloisOrder(int i, int modul, const int* used);
// The power of generator j of GaloisOrbits(modul) in the unit s (0 < s < modul, prime to it).
int GaloisExponent(int modul, int s, int j);
// Orbit2 = inverse of Orbit1: 1 / -1 when Orbit1 is its own inverse up to an overall sign,
// 2 / -2 otherwise (negative when Orbit2 was negated).
int InvertOrbit(int N, const int* Orbit1, int* Orbit2);
// Orbit3 = Orbit2 after Orbit1, signed so that the vacuum's entry is positive.
void multiplyOrbits(int Nprim, const int* Orbit1, const int* Orbit2, int* Orbit3);
// Writes the cycles at txt and returns the end of the text; txt itself, emptied, when the
// permutation is rejected (Tpref: weights must agree on cycles; SignPref: no negative signs).
char* printGaloisOrbit(char* txt, int Nprim, const int* w_num, int w_den, int Tpref, int SignPref,
                       int scale, const int* Orbit);
char* printScaleOrbit(char* txt, int Nprim, int scale, const int* map);
void PrintMat(const int* Store, const int* invol, int Nprim, int OrbitCount);
void getStartingPoints(int Nprim, const int* map, int* start);

// ---- Galois-invariant search ----
// Store holds OrbitCount signed maps of Nprim fields one after another; invol gives the kind
// of matrix each stands for: 0 P + P^T, 1 P, 2 Q Q^T + Q^T Q for the map Q stored just before.

int BuildEquation(const int* Store, const int* invol, int* Eqn, int i, int j, int Nprim,
                  int OrbitCount);
void ComputeGaloisInvariants(const int* Store, const int* invol, const int* w_num, int w_den,
                             int Nprim, int OrbitCount);
void makeGaloisInvariant(const int* loop, const int* Store, const int* invol, int Nprim,
                         int OrbitCount);

// Where the search hands its candidates: the invariant store installs its acceptance step
// (modmat: row-major Nprim x Nprim). Until then a stand-in records the candidates.
using AcceptCandidateInvariant = int (*)(int* modmat, int check, int store, int select, int prnt);
// Installs fn (null: the recording stand-in); returns the previous one.
AcceptCandidateInvariant setAcceptCandidateInvariant(AcceptCandidateInvariant fn);
// Hands a candidate to the installed acceptance step.
int offerCandidateInvariant(int* modmat, int check, int store, int select, int prnt);
// The candidates the stand-in recorded, each as Nprim x Nprim ints, and their reset.
int recordedCandidateCount();
const int* recordedCandidate(int n, int* Nprim);
void clearRecordedCandidates();
