// Finite abelian groups Z_n0 x Z_n1 x ... with mixed-radix element numbers (factor 0 fastest,
// element 0 the identity), groups known only through a product rule and their identification
// with such a group, and the enumeration of subgroups.
#pragma once

#include "numeric/MathUtility.h"

struct VectorSpace;

// One record per list of factor orders, shared by everybody who asks for that list.
struct discrete_group {
    discrete_group* next;
    int* Orders;    // order of each cyclic factor, Mult entries
    int* AllOrders; // order of every element; 0 while unknown
    int* Decomp;    // components of every element, Mult ints per element
    int Order;
    int Mult;
    int CharStored; // 0 not computed, 1 table filled, -2 table refused
    int* Characters;
};
using Discrete_Group = discrete_group;

// The largest group whose character table may be stored.
inline constexpr int DG_MaxCharacterOrder = 45000;

// Creation.
Discrete_Group* DG_find(int* orders, int mult);
Discrete_Group* DG_makeDecomp(int* Orders, int mult);
Discrete_Group* DG_allocSpace(int Order, int mult, int store);
Discrete_Group* DG_alloc();
Discrete_Group* DG_trivial();

// Numbering and charge codes.
int DG_basis(Discrete_Group* dg, int label);
int DG_findElement(Discrete_Group* dg, int* decomp);
int DG_decomp(Discrete_Group* dg, int element, int factor);
int DG_computeChargeCode(Discrete_Group* dg, int* Charges);
// The charges live in a work array that the next call overwrites.
int* DG_DecodeChargeCode(Discrete_Group* dg, int code);
int DG_ChargeCodeProduct(Discrete_Group* dg, int code1, int code2);

// Group law.
int DG_product(int elt1, int elt2, void* dgi);
int DG_directProduct(int elt1, int elt2, void* dgi);
int DG_inverse(Discrete_Group* dg, int j);
void DG_findOrdersFast(Discrete_Group* dg);

// Characters: character i is labelled by element i; phases are rationals in [0, 1).
void DG_computeCharacters(Discrete_Group* dg);
void DG_character(Discrete_Group* dg, int i, int j, rat* D);
void DG_computeCharacter(Discrete_Group* dg, int i, int j, rat* D);
int DG_findCharacter(Discrete_Group* dg, int* nums, int* dens);

// Bases and printing.
int DG_findOrderedBasis(int* elements, int* generators, Discrete_Group* dg, int size);
int DG_findMinimumInFactor(int* elements, Discrete_Group* dg, int size, int factor);
void DG_print(Discrete_Group* dg);
// Through Print: the factors, then every element's decomposition (with its image under map).
void printDiscreteGroup(Discrete_Group* dg, const int* map);

// ------------------------------------------------------------------ groups by a product rule

// The label of the product of the elements labelled a and b; label 0 is the identity.
using DISC_PROD = int (*)(int a, int b, void* xtra);

int DG_findOrder(int elt, void* xtra, DISC_PROD prod);
void DG_findOrders(int* AllOrders, int Order, void* xtra, DISC_PROD prod);
int DG_addIdentity(int* elements, int size);
int DG_closeSubgroup(int* elements, int size, void* xtra, DISC_PROD prod);
void DG_markSubgroup(int* elements, int* subgroup, int size, int elt, void* xtra, DISC_PROD prod);
int DG_checkOrthogonality(int* elements, int* subgroup, int elt, int size, void* xtra,
                          DISC_PROD prod);
int* DG_coset_elements(int* G, int* H, int* coset, int Gsize, int Hsize, void* xtra,
                       DISC_PROD prod);
int DG_findMaxAvailableOrder(int* elements, int* AllOrders, int* subgroup, int size,
                             int* subgroupsize, void* xtra, DISC_PROD prod);
int DG_findBasis(int* elements, int* AllOrders, int* generators, int size, void* xtra,
                 DISC_PROD prod);
int DG_findMaxAvailableOrder_ZNX_VERSION(int* elements, int* AllOrders, int* subgroup, int size,
                                         void* xtra, DISC_PROD prod);
int DG_findBasis_ZNX_VERSION(int* elements, int* AllOrders, int* generators, int size, void* xtra,
                             DISC_PROD prod);
Discrete_Group* DG_mapSubProduct(int* map, int* AllOrders, int N_elt, int* elements, void* xtra,
                                 DISC_PROD prod);
Discrete_Group* DG_mapSubProduct_ZNX_VERSION(int* map, int* AllOrders, int N_elt, int* elements,
                                             void* xtra, DISC_PROD prod);
Discrete_Group* DG_mapProduct(int* map, int* AllOrders, int tot_order, void* xtra, DISC_PROD prod);
Discrete_Group* DG_mapProduct_ZNX_VERSION(int* map, int* AllOrders, int tot_order, void* xtra,
                                          DISC_PROD prod);
Discrete_Group* DG_mapSubGroup(int* map, int N_elt, int* elements, Discrete_Group* dg);
void DG_TEST_main(int argc, char** argv);

// ------------------------------------------------------------------ subgroups

// A subgroup with its canonical generators g_1 < g_2 < ... (each the smallest element outside
// the subgroup of the earlier ones). The fields gen .. gen_size are a guarded work array that
// holds the generators, the stabilising symmetries and the elements, one after the other.
struct subgroup {
    int* gen;
    int* gen_true;
    int gen_req;
    int gen_oldsize;
    int gen_size;
    int* Stabilizer; // symmetries mapping the subgroup onto itself; null when permsize is 0
    int* elements;   // ascending
    int size;        // generators
    int permsize;    // stabilising symmetries
    int order;       // elements stored
    int reject;
    subgroup* next;
    subgroup* ancester;
};
using Subgroup = subgroup;

// The image of element elt under the n-th symmetry.
using PERM = int (*)(int n, int elt);

Subgroup* DG_allocSubGroup(Subgroup* grp, int size, int permsize, int order);
void DG_freeSubgroup(Subgroup* sg);
void DG_printSubGroup(Subgroup* sg);
int* DG_makeGenerators(Discrete_Group* dg, int* fill);
int DG_tryAdding(Subgroup* sg, int newElement, Discrete_Group* dg);
// The lists returned by the builders belong to this module and stay valid until the next build.
Subgroup* DG_buildSubgroups(Discrete_Group* dg);
int* DG_getOrbit(Discrete_Group* dg, int* Selected, int i);
int DG_addInequivalentGeneratorSelected(Discrete_Group* dg, Subgroup* sg, int* Selected, int Nperm,
                                        PERM permfunc);
Subgroup* DG_buildInequivalentSubgroupsSelected(Discrete_Group* dg, int* Selected, int Nperm,
                                                PERM permfunc);
int DG_addInequivalentGenerator(Discrete_Group* dg, Subgroup* sg, VectorSpace* Permutations);
Subgroup* DG_buildInequivalentSubgroups(Discrete_Group* dg, VectorSpace* Permutations);
int DG_tryAddingInequivalent(Subgroup* sg, int newElement, Discrete_Group* dg,
                             VectorSpace* Permutations, int* Stabilizer, int* permsize);
