// Stabilizer types: what every field with the same stabilizer S and untwisted stabilizer U
// shares. Types are interned in a list whose head the caller owns, so the tensor product and the
// boundary code can each keep their own. The full fixed-point data add, per field, what the
// resolution matrices need: the extension currents and fix-center elements that fix it, their
// twists against the stabilizer, representatives and the phase on pairs of currents and labels.
#pragma once

#include "numeric/Discrete.h"
#include "numeric/MathUtility.h"

struct TensorProduct;

// Elements are named by their numbers in the group the caller built them from (for the tensor
// product: chiral-algebra row numbers).
struct FPType {
    FPType* next;
    Discrete_Group* dg; // U as an abstract group; |U| is dg->Order
    int* identifier;    // U in the order given, the identity first; the fixed-point labels
    int* stabilizer;    // S in the order given, the identity first
    int* unt_stab;      // per element number of dg, the element it stands for
    int stab_order;     // |S|
    int mult;           // isqrt(|S| / |U|)
};

// The interned type for (U, S), both compared entry by entry in the given order; a new type goes
// to the head of the list.
FPType* getFP(int GroupSize, int* un_stab, int* stab, int un_stab_size, int stab_size,
              FPType** startFP, void* xtra, DISC_PROD group_product);
// The type with |S| = |U| = 1.
FPType* trivialFP(FPType** startFP);
// Releases every type of the list; afterwards the list is empty.
void freeFP(FPType** startFP);
// The character pairing of two elements of U as a phase modulo 1; 0 when |U| is 1.
void Character(FPType* sd, int elti, int eltj, rat* D);

// The head of the product's own list: a product that computes its spectrum releases its own
// types only, so another product's rows keep theirs.
FPType** getFirstFP(TensorProduct* TP);

// Through Print; the rows of the stabilizer elements come from the chiral algebra of TP.
void printFP(TensorProduct* TP, FPType* sd);
// printFP of the type of spectrum row lbl.
void printStabilizer(TensorProduct* TP, int lbl);

// The records live in one list for the whole module, released with every fix center.
struct FullFPType {
    FullFPType* next;
    Discrete_Group* dg;      // E: the extension currents that fix the field
    Discrete_Group* fcenter; // F: the fix-center elements that fix it
    FPType* fp;
    int* all_currents;    // per element number of F, its fix-center element
    int* ext_currents;    // per element number of E, its current label
    int* representatives; // per element number of E, a fix-center element
    int* twists;          // Mult(F) rows of stab_order twists, 0..3
    int* PhiNum;          // Phi(e, x) = PhiNum[e |U| + x] / PhiDen
    int PhiDen;
    int N_all;
    int N_ext;
};

// The record of the field with labels `field` (NTensor entries), fixed by the N_elt fix-center
// elements and the Ncur currents extcur (labels of the group Sc; curmap, when given, maps them to
// spectrum rows of TP). Found in the list or built; null after a report when the representatives
// do not close. A record whose phases failed is returned unlisted.
FullFPType* getFullFP(TensorProduct* TP, const int* field, int* elements, int* extcur, int N_elt,
                      int Ncur, FPType* fp, Discrete_Group* Sc, const int* curmap);
// The listed record for these elements and stabilizer type whose twists match the field; null.
FullFPType* findFullFP(TensorProduct* TP, const int* field, const int* elements, FPType* fp,
                       int N_elt);
void freeFullFP();
void printFullFP(TensorProduct* TP, FullFPType* ffp);
