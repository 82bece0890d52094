// Stabilizer types: what every field with the same stabilizer S and untwisted stabilizer U
// shares. Types are interned in a list whose head the caller owns, so the tensor product and the
// boundary code can each keep their own.
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

// The head of the tensor product's own list.
FPType** getFirstFP();

// Through Print; the rows of the stabilizer elements come from the chiral algebra of TP.
void printFP(TensorProduct* TP, FPType* sd);
// printFP of the type of spectrum row lbl.
void printStabilizer(TensorProduct* TP, int lbl);
