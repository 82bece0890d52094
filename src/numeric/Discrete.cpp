// Finite abelian groups given by their factor orders: the shared records, element numbers and
// charge codes, the group law, the characters, bases and printing.
#include "numeric/Discrete.h"

#include "base/Allocation.h"
#include "base/Error.h"
#include "base/Output.h"
#include "numeric/DiscreteInternal.h"
#include "numeric/VectorUtility.h"

#include <cstdint>
#include <cstdio>
#include <vector>

namespace discrete_internal {

AllocCount DG_space = ALLOC_COUNTER("Discrete Groups");

} // namespace discrete_internal

using discrete_internal::DG_space;
using discrete_internal::elementOrder;

namespace {

Discrete_Group* firstDG = nullptr;
Discrete_Group* trivialDG = nullptr;
GuardedArray<int> charges("charges", &DG_space);
GuardedArray<int> decompWork("decomp", &DG_space);

// The table is refused where DG_MaxCharacterOrder or the allocation ceiling forbids it: beyond
// about 22,900 elements Order^2 ints no longer fit into one allowed request.
bool characterTableFits(int Order, std::size_t otherInts) {
    if (Order > DG_MaxCharacterOrder)
        return false;
    const std::size_t ints = static_cast<std::size_t>(Order) * Order + otherInts;
    return ints * sizeof(int) <= AllocRefuseLimit;
}

void reportCharacterTableTooLarge(int Order) {
    Alert("DG_computeCharacters", 0, 112413,
          "Attemp to store character table of a discrete\ngroup of order %d; this is to large",
          Order);
}

Discrete_Group* newRecord(const char* label) {
    auto* dg = static_cast<Discrete_Group*>(allocate(sizeof(Discrete_Group), &DG_space, label));
    *dg = Discrete_Group{nullptr, nullptr, nullptr, nullptr, 0, 0, 0, nullptr};
    return dg;
}

// Component of element e in factor j, read from the table when there is one.
int component(const Discrete_Group* dg, int e, int j) {
    if (dg->Decomp)
        return dg->Decomp[e * dg->Mult + j];
    int w = 1;
    for (int k = 0; k < j; ++k)
        w *= dg->Orders[k];
    return (e / w) % dg->Orders[j];
}

// c of the character value exp(2 pi i c / Order) of character i at element j.
int characterExponent(const Discrete_Group* dg, int i, int j) {
    std::int64_t c = 0;
    for (int k = 0; k < dg->Mult; ++k) {
        const std::int64_t scale = dg->Order / dg->Orders[k];
        c = (c + std::int64_t{component(dg, i, k)} * component(dg, j, k) % dg->Order * scale) %
            dg->Order;
    }
    return static_cast<int>(c);
}

void fillCharacterTable(Discrete_Group* dg) {
    const int n = dg->Order;
    std::vector<std::int64_t> scaled(dg->Mult);
    for (int i = 0; i < n; ++i) {
        for (int k = 0; k < dg->Mult; ++k)
            scaled[k] = std::int64_t{component(dg, i, k)} * (n / dg->Orders[k]) % n;
        int* row = dg->Characters + static_cast<std::size_t>(i) * n;
        for (int j = 0; j < n; ++j) {
            std::int64_t c = 0;
            for (int k = 0; k < dg->Mult; ++k)
                c += scaled[k] * component(dg, j, k);
            row[j] = static_cast<int>(c % n);
        }
    }
}

bool sameOrders(const Discrete_Group* dg, const int* orders, int mult) {
    return dg->Mult == mult && compareVec(mult, dg->Orders, orders) == 0;
}

} // namespace

namespace discrete_internal {

int elementOrder(const Discrete_Group* dg, int e) {
    int order = 1;
    for (int k = 0; k < dg->Mult; ++k) {
        const int n = dg->Orders[k];
        order = SCM(order, n / GCD(component(dg, e, k), n));
    }
    return order;
}

} // namespace discrete_internal

// ---------------------------------------------------------------- creation

Discrete_Group* DG_allocSpace(int Order, int mult, int store) {
    Discrete_Group* dg = newRecord("Discrete group pointer");
    const std::size_t base =
        static_cast<std::size_t>(mult) + Order + static_cast<std::size_t>(Order) * mult;
    bool withTable = false;
    if (store == 1) {
        withTable = characterTableFits(Order, base);
        if (!withTable)
            reportCharacterTableTooLarge(Order);
    }
    const std::size_t ints = base + (withTable ? static_cast<std::size_t>(Order) * Order : 0);
    auto* block = static_cast<int*>(allocate(ints * sizeof(int), &DG_space, "Discrete group data"));
    dg->Orders = block;
    dg->AllOrders = block + mult;
    dg->Decomp = dg->AllOrders + Order;
    nullifyVec(Order, dg->AllOrders);
    if (withTable)
        dg->Characters = dg->Decomp + static_cast<std::size_t>(Order) * mult;
    dg->Order = Order;
    dg->Mult = mult;
    return dg;
}

Discrete_Group* DG_alloc() {
    return newRecord("Discrete group pointer");
}

Discrete_Group* DG_trivial() {
    if (!trivialDG) {
        trivialDG = newRecord("Trivial discrete group");
        trivialDG->AllOrders =
            static_cast<int*>(allocate(sizeof(int), &DG_space, "Trivial discrete group"));
        trivialDG->AllOrders[0] = 1;
        trivialDG->Order = 1;
    }
    return trivialDG;
}

Discrete_Group* DG_makeDecomp(int* Orders, int mult) {
    int Order = 1;
    for (int j = 0; j < mult; ++j)
        Order *= Orders[j];
    Discrete_Group* dg = DG_allocSpace(Order, mult, 0);
    copyVec(mult, dg->Orders, Orders);
    // Count through the components with factor 0 fastest, as the numbering does.
    std::vector<int> d(mult, 0);
    for (int e = 0; e < Order; ++e) {
        copyVec(mult, dg->Decomp + static_cast<std::size_t>(e) * mult, d.data());
        for (int j = 0; j < mult; ++j) {
            if (++d[j] < Orders[j])
                break;
            d[j] = 0;
        }
    }
    DG_findOrdersFast(dg);
    return dg;
}

Discrete_Group* DG_find(int* orders, int mult) {
    for (Discrete_Group* dg = firstDG; dg; dg = dg->next)
        if (sameOrders(dg, orders, mult))
            return dg;
    Discrete_Group* dg = mult == 0 ? DG_trivial() : DG_makeDecomp(orders, mult);
    dg->next = firstDG;
    firstDG = dg;
    return dg;
}

// ---------------------------------------------------------------- numbering and charge codes

int DG_basis(Discrete_Group* dg, int label) {
    int w = 1;
    for (int j = 0; j < label; ++j)
        w *= dg->Orders[j];
    return w;
}

int DG_findElement(Discrete_Group* dg, int* decomp) {
    int element = 0;
    int w = 1;
    for (int j = 0; j < dg->Mult; ++j) {
        element += decomp[j] * w;
        w *= dg->Orders[j];
    }
    return element;
}

int DG_decomp(Discrete_Group* dg, int element, int factor) {
    return (element / DG_basis(dg, factor)) % dg->Orders[factor];
}

int DG_computeChargeCode(Discrete_Group* dg, int* Charges) {
    return DG_findElement(dg, Charges);
}

int* DG_DecodeChargeCode(Discrete_Group* dg, int code) {
    int* c = charges.reserve(dg->Mult);
    for (int j = 0; j < dg->Mult; ++j) {
        c[j] = mod(code, dg->Orders[j]);
        code = (code - c[j]) / dg->Orders[j];
    }
    return c;
}

int DG_ChargeCodeProduct(Discrete_Group* dg, int code1, int code2) {
    int result = 0;
    int w = 1;
    for (int j = 0; j < dg->Mult; ++j) {
        const int n = dg->Orders[j];
        const int c1 = mod(code1, n);
        const int c2 = mod(code2, n);
        code1 = (code1 - c1) / n;
        code2 = (code2 - c2) / n;
        result += ((c1 + c2) % n) * w;
        w *= n;
    }
    return result;
}

// ---------------------------------------------------------------- group law

int DG_product(int elt1, int elt2, void* dgi) {
    auto* dg = static_cast<Discrete_Group*>(dgi);
    if (dg->Mult == 0)
        return 0;
    if (!dg->Decomp)
        return DG_directProduct(elt1, elt2, dgi);
    const int* d1 = dg->Decomp + static_cast<std::size_t>(elt1) * dg->Mult;
    const int* d2 = dg->Decomp + static_cast<std::size_t>(elt2) * dg->Mult;
    int result = 0;
    int w = 1;
    for (int j = 0; j < dg->Mult; ++j) {
        const int n = dg->Orders[j];
        int s = d1[j] + d2[j];
        if (s >= n)
            s -= n;
        result += s * w;
        w *= n;
    }
    return result;
}

int DG_directProduct(int elt1, int elt2, void* dgi) {
    auto* dg = static_cast<Discrete_Group*>(dgi);
    int result = 0;
    int w = 1;
    for (int j = 0; j < dg->Mult; ++j) {
        const int n = dg->Orders[j];
        result += (((elt1 / w) % n + (elt2 / w) % n) % n) * w;
        w *= n;
    }
    return result;
}

int DG_inverse(Discrete_Group* dg, int j) {
    int* d = decompWork.reserve(dg->Mult);
    int result = 0;
    int w = 1;
    for (int k = 0; k < dg->Mult; ++k) {
        const int n = dg->Orders[k];
        d[k] = (j / w) % n;
        result += ((n - d[k]) % n) * w;
        w *= n;
    }
    return result;
}

void DG_findOrdersFast(Discrete_Group* dg) {
    for (int e = 0; e < dg->Order; ++e)
        if (dg->AllOrders[e] == 0)
            dg->AllOrders[e] = elementOrder(dg, e);
}

// ---------------------------------------------------------------- characters

void DG_computeCharacters(Discrete_Group* dg) {
    if (dg->CharStored == 1)
        return;
    if (!dg->Characters) {
        if (!characterTableFits(dg->Order, 0)) {
            reportCharacterTableTooLarge(dg->Order);
            dg->CharStored = -2;
            return;
        }
        const std::size_t bytes = static_cast<std::size_t>(dg->Order) * dg->Order * sizeof(int);
        dg->Characters = static_cast<int*>(allocate(bytes, &DG_space, "Discrete group characters"));
    }
    fillCharacterTable(dg);
    dg->CharStored = 1;
}

void DG_computeCharacter(Discrete_Group* dg, int i, int j, rat* D) {
    if (dg->Mult == 0) {
        D->num = 0;
        D->den = 1;
        return;
    }
    D->num = characterExponent(dg, i, j);
    D->den = dg->Order;
}

void DG_character(Discrete_Group* dg, int i, int j, rat* D) {
    if (dg->Mult == 0) {
        D->num = 1;
        D->den = 1;
        return;
    }
    if (dg->CharStored == 0)
        DG_computeCharacters(dg);
    if (dg->CharStored == 1) {
        D->num = dg->Characters[static_cast<std::size_t>(i) * dg->Order + j];
        D->den = dg->Order;
        simplifyRat(D);
        return;
    }
    DG_computeCharacter(dg, i, j, D);
}

namespace {

// A group without factors has the single character 1: any integer phase names it.
int findTrivialCharacter(const int* nums, const int* dens) {
    if (dens[0] != 0 && nums[0] % dens[0] == 0)
        return 0;
    Alert("DG_findCharacter", 0, 212404, "Trivial group character does not exist");
    return -1;
}

bool characterMatches(const Discrete_Group* dg, int i, const int* nums, const int* dens) {
    const int* row = dg->Characters + static_cast<std::size_t>(i) * dg->Order;
    for (int j = 0; j < dg->Order; ++j)
        if (std::int64_t{dens[j]} * row[j] != std::int64_t{dg->Order} * nums[j])
            return false;
    return true;
}

} // namespace

int DG_findCharacter(Discrete_Group* dg, int* nums, int* dens) {
    if (dg->Mult == 0)
        return findTrivialCharacter(nums, dens);
    if (dg->CharStored == 0)
        DG_computeCharacters(dg);
    if (dg->CharStored != 1) {
        Alert("DG_findCharacter", 1, 212404, "Characters not available");
        return -1;
    }
    for (int i = 0; i < dg->Order; ++i)
        if (characterMatches(dg, i, nums, dens))
            return i;
    Alert("DG_findCharacter", 0, 212404, "Character does not exist");
    return -1;
}

// ---------------------------------------------------------------- bases and printing

int DG_findMinimumInFactor(int* elements, Discrete_Group* dg, int size, int factor) {
    int best = 0;
    int bestComponent = 0;
    for (int i = 0; i < size; ++i) {
        const int e = elements[i];
        const int d = component(dg, e, factor);
        if (d == 0)
            continue;
        bool higherZero = true;
        for (int k = factor + 1; k < dg->Mult && higherZero; ++k)
            higherZero = component(dg, e, k) == 0;
        if (higherZero && (bestComponent == 0 || d < bestComponent)) {
            best = e;
            bestComponent = d;
        }
    }
    return best;
}

int DG_findOrderedBasis(int* elements, int* generators, Discrete_Group* dg, int size) {
    int count = 0;
    for (int k = 0; k < dg->Mult; ++k) {
        const int g = DG_findMinimumInFactor(elements, dg, size, k);
        if (g != 0)
            generators[count++] = g;
    }
    return count;
}

void DG_print(Discrete_Group* dg) {
    std::printf("Multiplicity: %d\n", dg->Mult);
    std::printf("Order: %d\n", dg->Order);
    printVec(dg->Mult, dg->Orders, "Factors:   ");
    std::vector<int> d(dg->Mult);
    for (int e = 0; e < dg->Order; ++e) {
        for (int k = 0; k < dg->Mult; ++k)
            d[k] = component(dg, e, k);
        printVec(dg->Mult, d.data(), "decomp --> ");
    }
}

void printDiscreteGroup(Discrete_Group* dg, const int* map) {
    Print("Multiplicity: %d\n", dg->Mult);
    Print("Order: %d\n", dg->Order);
    PrintVec(dg->Mult, dg->Orders, "Factors:   ");
    char label[80];
    for (int e = 0; e < dg->Order; e++) {
        if (map)
            std::snprintf(label, sizeof label, "elt. %3d, mapped to %3d, decomp --> ", e, map[e]);
        else
            std::snprintf(label, sizeof label, "elt. %3d, decomp --> ", e);
        PrintVec(dg->Mult, dg->Decomp + e * dg->Mult, label);
    }
}
