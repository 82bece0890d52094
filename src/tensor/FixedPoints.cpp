// Stabilizer types of fixed points: interned per (U, S), with U identified as an abstract
// finite abelian group so that its characters give the fixed-point phases.
#include "tensor/FixedPoints.h"

#include "base/Allocation.h"
#include "base/Error.h"
#include "base/Output.h"
#include "numeric/VectorUtility.h"
#include "tensor/Coset.h"
#include "tensor/CosetInternal.h"

#include <algorithm>
#include <cstdio>

namespace {

AllocCount FP_alloc = ALLOC_COUNTER("Stabilizer types");

// Work arrays are charged elsewhere: freeFP sets the byte count of the types' counter.
GuardedArray<int> allOrders("AllOrders", coset_internal::cosetAlloc());
GuardedArray<int> groupMap("unt_stab map", coset_internal::cosetAlloc());

std::size_t infoBytes(int untwisted, int stabilizer) {
    return sizeof(int) * static_cast<std::size_t>(2 * untwisted + stabilizer);
}

// The record with its block: identifier, then stabilizer, then unt_stab.
// The allocator ends the program when it cannot serve.
FPType* newType(int untwisted, int stabilizer) {
    auto* sd = static_cast<FPType*>(allocate(sizeof(FPType), &FP_alloc, "Stabilizer pointer"));
    auto* info =
        static_cast<int*>(allocate(infoBytes(untwisted, stabilizer), &FP_alloc, "Stabilizer info"));
    *sd = FPType{};
    sd->identifier = info;
    sd->stabilizer = info + untwisted;
    sd->unt_stab = info + untwisted + stabilizer;
    sd->stab_order = stabilizer;
    return sd;
}

void pushFront(FPType** startFP, FPType* sd) {
    sd->next = *startFP;
    *startFP = sd;
}

bool sameLists(const FPType* sd, const int* un_stab, const int* stab, int un_stab_size,
               int stab_size) {
    return sd->dg->Order == un_stab_size && sd->stab_order == stab_size &&
           compareVec(un_stab_size, sd->identifier, un_stab) == 0 &&
           compareVec(stab_size, sd->stabilizer, stab) == 0;
}

int positionIn(const FPType* sd, int element) {
    return Present(sd->unt_stab, sd->dg->Order, element);
}

void printElementRows(TensorProduct* TP, const FPType* sd) {
    PrintVec(sd->stab_order, sd->stabilizer, "  ");
    char label[64];
    for (int i = 0; i < sd->stab_order; i++) {
        std::snprintf(label, sizeof label, " -- Elt[%d]=%d ", i, sd->stabilizer[i]);
        PrintVec(TP->NTensor, rowOf(TP->ChiralAlgebra, sd->stabilizer[i]), label);
    }
}

void printUntwistedGroup(const FPType* sd) {
    const Discrete_Group* dg = sd->dg;
    PrintVec(dg->Mult, dg->Orders, "Orders:    ");
    Print("Basis decomposition:\n");
    for (int e = 0; e < dg->Order; e++)
        PrintVec(dg->Mult, dg->Decomp + static_cast<std::size_t>(e) * dg->Mult, " ");
}

} // namespace

FPType* getFP(int GroupSize, int* un_stab, int* stab, int un_stab_size, int stab_size,
              FPType** startFP, void* xtra, DISC_PROD group_product) {
    for (FPType* sd = *startFP; sd; sd = sd->next)
        if (sameLists(sd, un_stab, stab, un_stab_size, stab_size))
            return sd;
    FPType* sd = newType(un_stab_size, stab_size);
    int* orders = allOrders.reserve(GroupSize);
    nullifyVec(GroupSize, orders);
    // The group found may be larger than the list when the list is no subgroup; its map then
    // needs room for every element of it, which lie among the GroupSize elements.
    int* map = groupMap.reserve(std::max(GroupSize, un_stab_size));
    sd->dg = DG_mapSubProduct(map, orders, un_stab_size, un_stab, xtra, group_product);
    copyVec(un_stab_size, sd->unt_stab, map);
    copyVec(un_stab_size, sd->identifier, un_stab);
    copyVec(stab_size, sd->stabilizer, stab);
    sd->mult = isqrt(stab_size / un_stab_size);
    pushFront(startFP, sd);
    return sd;
}

FPType* trivialFP(FPType** startFP) {
    for (FPType* sd = *startFP; sd; sd = sd->next)
        if (sd->dg->Order == 1 && sd->stab_order == 1)
            return sd;
    FPType* sd = newType(1, 1);
    sd->identifier[0] = sd->stabilizer[0] = sd->unt_stab[0] = 0;
    sd->dg = DG_trivial();
    sd->mult = 1;
    pushFront(startFP, sd);
    return sd;
}

void freeFP(FPType** startFP) {
    FPType* sd = *startFP;
    while (sd) {
        FPType* next = sd->next;
        const int untwisted = sd->dg->Order;
        freespace(sd->identifier, infoBytes(untwisted, sd->stab_order), &FP_alloc,
                  "Stabilizer info");
        if (untwisted == 0)
            Alert("freeFP", 0, 212404, "Stabilizer order 0");
        else
            freespace(sd, sizeof(FPType), &FP_alloc, "Stabilizer pointer");
        sd = next;
    }
    *startFP = nullptr;
    // A counter that has never allocated is not registered yet and must stay so.
    if (FP_alloc.TotalAlloc != ALLOC_COUNTER("").TotalAlloc)
        FP_alloc.TotalAlloc = 1;
}

void Character(FPType* sd, int elti, int eltj, rat* D) {
    D->num = 0;
    D->den = 1;
    if (sd->dg->Order == 1)
        return;
    const int p = positionIn(sd, elti);
    const int q = positionIn(sd, eltj);
    if (p < 0 || q < 0) {
        Alert("Character", 0, 212404, "Non-stabilizer element as character argument");
        return;
    }
    DG_character(sd->dg, p, q, D);
}

FPType** getFirstFP(TensorProduct* TP) {
    return &TP->FirstFP;
}

void printFP(TensorProduct* TP, FPType* sd) {
    if (sd->stab_order == 1) {
        Print("Stabilizer is trivial\n");
        return;
    }
    const int untwisted = sd->dg->Order;
    if (untwisted == sd->stab_order) {
        Print("Stabilizer (fully untwisted):  ");
        printElementRows(TP, sd);
    } else {
        Print("Stabilizer:  ");
        printElementRows(TP, sd);
        if (untwisted == 1) {
            Print("fully twisted; untwisted stabilizer is trivial\n");
            Print("Multiplicity: %d\n", sd->mult);
            return;
        }
        Print("Untwisted stabilizer:  ");
        PrintVec(untwisted, sd->identifier, "  ");
        Print("Multiplicity: %d\n", sd->mult);
    }
    printUntwistedGroup(sd);
}

void printStabilizer(TensorProduct* TP, int lbl) {
    printFP(TP, TP->Stabilizers[lbl]);
}
