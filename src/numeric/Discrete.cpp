#include "numeric/Discrete.h"

#include "base/Allocation.h"
#include "base/Error.h"
#include "base/Output.h"
#include "numeric/Sorting.h"
#include "numeric/VectorUtility.h"

#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <vector>

namespace {

AllocCount DG_space = ALLOC_COUNTER("Discrete Groups");
Discrete_Group* firstDG = nullptr;
Discrete_Group* trivialDG = nullptr;
GuardedArray<int> charges("charges", &DG_space);
GuardedArray<int> decompWork("decomp", &DG_space);

// The table is refused where the Part's limit or the allocation ceiling forbids it: beyond
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

int elementOrder(const Discrete_Group* dg, int e) {
    int order = 1;
    for (int k = 0; k < dg->Mult; ++k) {
        const int n = dg->Orders[k];
        order = SCM(order, n / GCD(component(dg, e, k), n));
    }
    return order;
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

// ================================================================ groups by a product rule

namespace {

GuardedArray<int> usedWork("used", &DG_space);
GuardedArray<int> subWork("Sub", &DG_space);
GuardedArray<int> subgroupWork("subgroup", &DG_space);
GuardedArray<int> generatorsWork("generators", &DG_space);
GuardedArray<int> genOrbitsWork("GenOrbits", &DG_space);
GuardedArray<int> mapElementsWork("elements", &DG_space);

// Position of a label among the elements; labels 0 .. size-1 in order are found at once.
int positionOf(const int* elements, int size, int label) {
    if (label >= 0 && label < size && elements[label] == label)
        return label;
    return Present(elements, size, label);
}

int knownOrder(int* AllOrders, int elt, void* xtra, DISC_PROD prod) {
    if (AllOrders[elt] == 0)
        AllOrders[elt] = DG_findOrder(elt, xtra, prod);
    return AllOrders[elt];
}

// First step of the basis search: every position its own class, the element of largest order.
int largestOrderCandidate(int* elements, int* AllOrders, int* cls, int size, void* xtra,
                          DISC_PROD prod) {
    int candidate = elements[0];
    int best = 0;
    for (int i = 0; i < size; ++i) {
        cls[i] = i;
        const int order = knownOrder(AllOrders, elements[i], xtra, prod);
        if (order > best) {
            best = order;
            candidate = elements[i];
        }
    }
    return candidate;
}

// Later steps: the cosets of the marked subgroup get class numbers; in each the element of
// smallest order is noted, and the coset whose smallest order is largest supplies the candidate.
int cosetCandidate(int* elements, int* AllOrders, int* subgroup, int* cls, int size, void* xtra,
                   DISC_PROD prod) {
    int* marked = subWork.reserve(size);
    int nMarked = 0;
    for (int i = 0; i < size; ++i) {
        cls[i] = -1;
        if (subgroup[i])
            marked[nMarked++] = elements[i];
    }
    int candidate = 0;
    int bestMinimum = 0;
    int classNumber = 0;
    for (int i = 0; i < size; ++i) {
        if (cls[i] != -1)
            continue;
        cls[i] = classNumber;
        int lowest = -1;
        int lowestOrder = 0;
        for (int s = 0; s < nMarked; ++s) {
            const int x = prod(elements[i], marked[s], xtra);
            const int p = positionOf(elements, size, x);
            if (p >= 0)
                cls[p] = classNumber;
            const int order = knownOrder(AllOrders, x, xtra, prod);
            if (lowest < 0 || order < lowestOrder) {
                lowest = x;
                lowestOrder = order;
            }
        }
        if (lowest >= 0 && lowestOrder > bestMinimum) {
            bestMinimum = lowestOrder;
            candidate = lowest;
        }
        ++classNumber;
    }
    return candidate;
}

void markClass(const int* cls, int* subgroup, int size, int classNumber) {
    for (int q = 0; q < size; ++q)
        if (cls[q] == classNumber)
            subgroup[q] = 1;
}

// The components of element e of a shared group, read from its table.
const int* componentsOf(const Discrete_Group* dg, int e) {
    return dg->Decomp + static_cast<std::size_t>(e) * dg->Mult;
}

void printIdentificationDiagnosis(const int* map, const int* AllOrders, int N_elt,
                                  const int* generators, int nGen, const Discrete_Group* target,
                                  int filled) {
    printVec(N_elt, AllOrders, "Orders: ");
    std::printf("Number of generators: %d\n", nGen);
    printVec(nGen, generators, "Generators: ");
    for (int e = 0; e < target->Order && target->Decomp; ++e)
        printVec(target->Mult, componentsOf(target, e), " -- Decomp ");
    printVec(filled, map, "map: ");
}

// The map from the target's element numbers to the labels: the product of the generators'
// powers, by a table of powers or by repeated products.
int fillIdentificationMap(int* map, int* AllOrders, int N_elt, const int* generators, int nGen,
                          Discrete_Group* target, void* xtra, DISC_PROD prod, bool repeated) {
    int rowLength = 1;
    for (int k = 0; k < nGen; ++k)
        rowLength = MaxVal(rowLength, AllOrders[generators[k]]);
    int* powers = genOrbitsWork.reserve(MaxVal(1, nGen * rowLength));
    for (int k = 0; k < nGen; ++k) {
        int x = 0;
        for (int m = 0; m < AllOrders[generators[k]]; ++m) {
            powers[k * rowLength + m] = x;
            x = prod(generators[k], x, xtra);
        }
    }
    // The caller's map has room for the labels only; a miscounted target must not overrun it.
    const int filled = MinVal(target->Order, N_elt);
    for (int e = 0; e < filled; ++e) {
        int running = 0;
        for (int k = 0; k < nGen; ++k) {
            const int d = componentsOf(target, e)[k];
            if (repeated) {
                for (int m = 0; m < d; ++m)
                    running = prod(generators[k], running, xtra);
            } else {
                running = prod(powers[k * rowLength + d], running, xtra);
            }
        }
        map[e] = running;
        // The second basis method never meets the elements it has already marked: an order
        // still unknown is found now rather than compared as 0.
        const int labelOrder = knownOrder(AllOrders, running, xtra, prod);
        if (target->AllOrders[e] != labelOrder)
            Alert("DG_mapSubProduct", 0, 212404, "Order problem: %d <==> %d", target->AllOrders[e],
                  labelOrder);
    }
    return filled;
}

Discrete_Group* identifyGroup(int* map, int* AllOrders, int N_elt, int* elements, void* xtra,
                              DISC_PROD prod, bool secondMethod) {
    if (N_elt <= 1) {
        if (N_elt == 1)
            map[0] = 0;
        return DG_find(nullptr, 0);
    }
    int* generators = generatorsWork.reserve(N_elt);
    const int nGen =
        secondMethod ? DG_findBasis_ZNX_VERSION(elements, AllOrders, generators, N_elt, xtra, prod)
                     : DG_findBasis(elements, AllOrders, generators, N_elt, xtra, prod);
    std::vector<int> orders(nGen);
    for (int k = 0; k < nGen; ++k)
        orders[k] = AllOrders[generators[k]];
    Discrete_Group* target = DG_find(orders.data(), nGen);
    if (nGen == 0) {
        map[0] = 0;
    } else {
        if (secondMethod)
            DG_findOrdersFast(target);
        const int filled = fillIdentificationMap(map, AllOrders, N_elt, generators, nGen, target,
                                                 xtra, prod, secondMethod);
        if (target->Order != N_elt) {
            Alert("DG_mapSubProduct", 1, 212404, "Count error (%d != %d)", target->Order, N_elt);
            printIdentificationDiagnosis(map, AllOrders, N_elt, generators, nGen, target, filled);
        }
    }
    return target;
}

} // namespace

int DG_findOrder(int elt, void* xtra, DISC_PROD prod) {
    int order = 0;
    int x = 0;
    do {
        x = prod(elt, x, xtra);
        ++order;
    } while (x != 0);
    return order;
}

void DG_findOrders(int* AllOrders, int Order, void* xtra, DISC_PROD prod) {
    for (int e = 0; e < Order; ++e)
        AllOrders[e] = DG_findOrder(e, xtra, prod);
}

int DG_addIdentity(int* elements, int size) {
    if (size > 0 && elements[0] == 0)
        return size;
    for (int i = size; i > 0; --i)
        elements[i] = elements[i - 1];
    elements[0] = 0;
    return size + 1;
}

int DG_closeSubgroup(int* elements, int size, void* xtra, DISC_PROD prod) {
    int fill = removeIdentical(elements, DG_addIdentity(elements, size));
    bool added = true;
    while (added) {
        added = false;
        for (int i = 0; i < fill; ++i)
            for (int j = i; j < fill; ++j) {
                const int x = prod(elements[i], elements[j], xtra);
                if (Present(elements, fill, x) < 0) {
                    elements[fill++] = x;
                    added = true;
                }
            }
    }
    orderVectorUp(fill, elements);
    return fill;
}

void DG_markSubgroup(int* elements, int* subgroup, int size, int elt, void* xtra, DISC_PROD prod) {
    for (int i = 0; i < size; ++i) {
        if (!subgroup[i])
            continue;
        int x = elements[i];
        do {
            x = prod(elt, x, xtra);
            const int p = positionOf(elements, size, x);
            if (p < 0)
                Alert("DG_markSubgroup", 0, 212404, "Subgroup does not close");
            else
                subgroup[p] = 1;
        } while (x != elements[i]);
    }
}

int DG_checkOrthogonality(int* elements, int* subgroup, int elt, int size, void* xtra,
                          DISC_PROD prod) {
    for (int x = elt; x != 0; x = prod(elt, x, xtra)) {
        const int p = positionOf(elements, size, x);
        if (p < 0)
            Alert("DG_checkOrthogonality", 0, 212404, "Subgroup does not close");
        else if (subgroup[p])
            return 0;
    }
    return 1;
}

int* DG_coset_elements(int* G, int* H, int* coset, int Gsize, int Hsize, void* xtra,
                       DISC_PROD prod) {
    int* used = usedWork.reserve(Gsize);
    nullifyVec(Gsize, used);
    int count = 0;
    for (int i = 0; i < Gsize; ++i) {
        if (used[i])
            continue;
        coset[count++] = i;
        for (int h = 0; h < Hsize; ++h) {
            const int p = Present(G, Gsize, prod(G[i], H[h], xtra));
            if (p < 0) {
                Alert("DG_coset_elements", 0, 212404, "G-element not found");
                return nullptr;
            }
            used[p] = 1;
        }
    }
    // An empty H is no subgroup: its count cannot be right (and must not divide by zero).
    if (Hsize < 1 || count != Gsize / Hsize)
        Alert("DG_coset_elements", 1, 212404, "Count error");
    return coset;
}

int DG_findMaxAvailableOrder(int* elements, int* AllOrders, int* subgroup, int size,
                             int* subgroupsize, void* xtra, DISC_PROD prod) {
    int* cls = usedWork.reserve(size);
    const int candidate =
        *subgroupsize == 1 ? largestOrderCandidate(elements, AllOrders, cls, size, xtra, prod)
                           : cosetCandidate(elements, AllOrders, subgroup, cls, size, xtra, prod);
    if (candidate == 0)
        return -1;
    const int b = knownOrder(AllOrders, candidate, xtra, prod);
    *subgroupsize *= b;
    int x = 0;
    for (int m = 1; m <= b; ++m) {
        x = prod(candidate, x, xtra);
        const int p = positionOf(elements, size, x);
        if (p >= 0)
            markClass(cls, subgroup, size, cls[p]);
    }
    return candidate;
}

int DG_findBasis(int* elements, int* AllOrders, int* generators, int size, void* xtra,
                 DISC_PROD prod) {
    if (size < 1)
        return 0;
    int* flags = subgroupWork.reserve(size);
    nullifyVec(size, flags);
    flags[0] = 1;
    int subgroupsize = 1;
    int count = 0;
    // A basis never has as many members as the group has elements; the bound only guards
    // against a product rule that is no group.
    while (count < size) {
        const int g =
            DG_findMaxAvailableOrder(elements, AllOrders, flags, size, &subgroupsize, xtra, prod);
        if (g == -1)
            break;
        generators[count++] = g;
    }
    return count;
}

int DG_findMaxAvailableOrder_ZNX_VERSION(int* elements, int* AllOrders, int* subgroup, int size,
                                         void* xtra, DISC_PROD prod) {
    int best = -1;
    int bestOrder = 0;
    for (int i = 0; i < size; ++i) {
        if (subgroup[i])
            continue;
        const int e = elements[i];
        const int order = knownOrder(AllOrders, e, xtra, prod);
        if (order < bestOrder || (order == bestOrder && e > best))
            continue;
        if (DG_checkOrthogonality(elements, subgroup, e, size, xtra, prod)) {
            best = e;
            bestOrder = order;
        }
    }
    return best;
}

int DG_findBasis_ZNX_VERSION(int* elements, int* AllOrders, int* generators, int size, void* xtra,
                             DISC_PROD prod) {
    if (size < 1)
        return 0;
    int* flags = subgroupWork.reserve(size);
    nullifyVec(size, flags);
    flags[0] = 1;
    int count = 0;
    while (count < size) {
        const int g =
            DG_findMaxAvailableOrder_ZNX_VERSION(elements, AllOrders, flags, size, xtra, prod);
        if (g == -1)
            break;
        generators[count++] = g;
        DG_markSubgroup(elements, flags, size, g, xtra, prod);
    }
    return count;
}

Discrete_Group* DG_mapSubProduct(int* map, int* AllOrders, int N_elt, int* elements, void* xtra,
                                 DISC_PROD prod) {
    return identifyGroup(map, AllOrders, N_elt, elements, xtra, prod, false);
}

Discrete_Group* DG_mapSubProduct_ZNX_VERSION(int* map, int* AllOrders, int N_elt, int* elements,
                                             void* xtra, DISC_PROD prod) {
    return identifyGroup(map, AllOrders, N_elt, elements, xtra, prod, true);
}

namespace {

int* allLabels(int tot_order) {
    int* elements = mapElementsWork.reserve(MaxVal(tot_order, 1));
    for (int e = 0; e < tot_order; ++e)
        elements[e] = e;
    return elements;
}

} // namespace

Discrete_Group* DG_mapProduct(int* map, int* AllOrders, int tot_order, void* xtra, DISC_PROD prod) {
    return DG_mapSubProduct(map, AllOrders, tot_order, allLabels(tot_order), xtra, prod);
}

Discrete_Group* DG_mapProduct_ZNX_VERSION(int* map, int* AllOrders, int tot_order, void* xtra,
                                          DISC_PROD prod) {
    return DG_mapSubProduct_ZNX_VERSION(map, AllOrders, tot_order, allLabels(tot_order), xtra,
                                        prod);
}

Discrete_Group* DG_mapSubGroup(int* map, int N_elt, int* elements, Discrete_Group* dg) {
    return DG_mapSubProduct(map, dg->AllOrders, N_elt, elements, dg, DG_product);
}

namespace {

// Closes {0, i, j, k}, takes a basis, closes the basis and takes its basis again: both bases
// must agree.
void checkBasisStability(Discrete_Group* dg, int i, int j, int k) {
    const int n = dg->Order;
    std::vector<int> elts(n + 4), gen1(n), again(n + 4), gen2(n);
    elts[0] = 0;
    elts[1] = i;
    elts[2] = j;
    elts[3] = k;
    const int size1 = DG_closeSubgroup(elts.data(), 4, dg, DG_product);
    const int n1 = DG_findBasis(elts.data(), dg->AllOrders, gen1.data(), size1, dg, DG_product);
    copyVec(n1, again.data(), gen1.data());
    const int size2 = DG_closeSubgroup(again.data(), n1, dg, DG_product);
    const int n2 = DG_findBasis(again.data(), dg->AllOrders, gen2.data(), size2, dg, DG_product);
    if (size1 != size2 || n1 != n2 || compareVec(n1, gen1.data(), gen2.data()) != 0) {
        printVec(n1, gen1.data(), "Gen1: ");
        printVec(n2, gen2.data(), "Gen2: ");
    }
}

} // namespace

void DG_TEST_main(int /*argc*/, char** /*argv*/) {
    int orders[] = {2, 2, 3, 3};
    Discrete_Group* dg = DG_find(orders, 4);
    const int n = dg->Order;
    std::vector<int> map(n), allOrders(n, 0);
    DG_mapProduct(map.data(), allOrders.data(), n, dg, DG_product);
    printVec(n, map.data(), "Map ");
    for (int e = 0; e < n; ++e) {
        std::printf("%d: ", e);
        for (int k = 0; k < dg->Mult; ++k)
            std::printf("%d ", componentsOf(dg, e)[k]);
        std::printf("\n");
    }
    for (int e = 0; e < n; ++e)
        std::printf("%d: order %d\n", e, dg->AllOrders[e]);
    for (int i = 0; i < n; ++i)
        for (int j = i + 1; j < n; ++j)
            for (int k = j + 1; k < n; ++k)
                checkBasisStability(dg, i, j, k);
}

// ================================================================ subgroups

namespace {

Subgroup* firstSG = nullptr;
GuardedArray<int> sgElements("elements", &DG_space);
GuardedArray<int> generatorsSG("Generators", &DG_space);
GuardedArray<int> orbitsWork("Orbits", &DG_space);
GuardedArray<int*> orbitPointers("OrbitPointers", &DG_space);
int orbitGroupOrder = 0;

constexpr int GenSlack = 10;

std::size_t genBytes(int n) {
    return (static_cast<std::size_t>(n) + 2) * sizeof(int);
}

void checkGenGuards(const Subgroup* sg, const char* label) {
    if (!sg->gen_true)
        return;
    if (sg->gen_true[0] != GuardValues<int>::front)
        reportGuardDamage(true, label);
    if (sg->gen[sg->gen_oldsize] != GuardValues<int>::back)
        reportGuardDamage(false, label);
}

void freeGen(Subgroup* sg) {
    if (!sg->gen_true)
        return;
    checkGenGuards(sg, "sg->gen");
    freespace(sg->gen_true, genBytes(sg->gen_size), generalAllocCounter(), "sg->gen");
    sg->gen = sg->gen_true = nullptr;
}

bool inSorted(const int* v, int n, int x) {
    return std::binary_search(v, v + n, x);
}

void startNewList(Subgroup* root) {
    DG_freeSubgroup(firstSG);
    firstSG = root;
}

Subgroup* lastOf(Subgroup* sg) {
    while (sg->next)
        sg = sg->next;
    return sg;
}

// A subgroup record that extends parent by the generator c, with its elements and stabiliser.
Subgroup* appendExtension(Subgroup* last, const Subgroup* parent, int c, const int* elements,
                          int order, const std::vector<int>& stabilizer) {
    const int nStab = static_cast<int>(stabilizer.size());
    Subgroup* s = DG_allocSubGroup(nullptr, parent->size + 1, nStab, order);
    copyVec(parent->size, s->gen, parent->gen);
    s->gen[parent->size] = c;
    if (nStab > 0)
        copyVec(nStab, s->Stabilizer, stabilizer.data());
    copyVec(order, s->elements, elements);
    last->next = s;
    return s;
}

// H (closure of sg's generators) into the first region of the work array, K (with newElement)
// into the second; true when newElement is the smallest element of K outside H.
bool extendsCanonically(Subgroup* sg, int newElement, Discrete_Group* dg, int** K, int* kn) {
    for (int i = 0; i < sg->size; ++i)
        if (newElement <= sg->gen[i])
            return false;
    const int room = dg->Order + sg->size + 2;
    int* buf = sgElements.reserve(3 * room);
    int* H = buf;
    *K = buf + room;
    copyVec(sg->size, H, sg->gen);
    const int hn = DG_closeSubgroup(H, sg->size, dg, DG_product);
    copyVec(sg->size, *K, sg->gen);
    (*K)[sg->size] = newElement;
    *kn = DG_closeSubgroup(*K, sg->size + 1, dg, DG_product);
    if (*kn == hn)
        return false;
    for (int q = 0; q < *kn && (*K)[q] < newElement; ++q)
        if (!inSorted(H, hn, (*K)[q]))
            return false;
    return true;
}

// Compares the image of the sorted set K under a symmetry row with K itself.
int compareRowImage(const int* row, const int* K, int kn, int* image) {
    for (int q = 0; q < kn; ++q)
        image[q] = row[K[q]];
    std::sort(image, image + kn);
    return compareVec(kn, image, K);
}

const int* symmetryRow(const VectorSpace* P, int r) {
    return P->Space + static_cast<std::size_t>(P->rowsize) * r;
}

int rowCount(const VectorSpace* P) {
    return P ? P->Nfill : 0;
}

} // namespace

Subgroup* DG_allocSubGroup(Subgroup* grp, int size, int permsize, int order) {
    if (!grp) {
        grp = static_cast<Subgroup*>(allocate(sizeof(Subgroup), &DG_space, "Subgroup pointer"));
        *grp = Subgroup{};
    }
    const int need = size + permsize + order;
    grp->gen_req = need + GenSlack;
    if (!grp->gen_true) {
        grp->gen_true =
            static_cast<int*>(allocate(genBytes(grp->gen_req), generalAllocCounter(), "grp->gen"));
        grp->gen_size = grp->gen_req;
    } else {
        checkGenGuards(grp, "grp->gen");
        if (need > grp->gen_size) {
            grp->gen_true = static_cast<int*>(reallocate(grp->gen_true, genBytes(grp->gen_req),
                                                         genBytes(grp->gen_size),
                                                         generalAllocCounter(), "grp->gen"));
            grp->gen_size = grp->gen_req;
        }
    }
    grp->gen = grp->gen_true + 1;
    grp->gen_true[0] = GuardValues<int>::front;
    grp->gen[need] = GuardValues<int>::back;
    grp->gen_oldsize = need;
    grp->Stabilizer = permsize > 0 ? grp->gen + size : nullptr;
    grp->elements = grp->gen + size + permsize;
    grp->ancester = nullptr;
    grp->size = size;
    grp->permsize = permsize;
    grp->order = order;
    return grp;
}

void DG_freeSubgroup(Subgroup* sg) {
    if (!sg)
        return;
    freeGen(sg);
    for (Subgroup* p = sg->next; p;) {
        Subgroup* following = p->next;
        freeGen(p);
        freespace(p, sizeof(Subgroup), &DG_space, "Subgroup pointer");
        p = following;
    }
    freespace(sg, sizeof(Subgroup), &DG_space, "Subgroup pointer");
}

void DG_printSubGroup(Subgroup* sg) {
    printVec(sg->size, sg->gen, "New subgroup: ");
}

int* DG_makeGenerators(Discrete_Group* dg, int* fill) {
    int* gens = generatorsSG.reserve(dg->Order);
    int n = 0;
    for (int e = 1; e < dg->Order; ++e) {
        bool smallest = true;
        for (int x = DG_product(e, e, dg); x != 0 && smallest; x = DG_product(x, e, dg))
            smallest = !(x < e && dg->AllOrders[x] == dg->AllOrders[e]);
        if (smallest)
            gens[n++] = e;
    }
    *fill = n;
    return gens;
}

int DG_tryAdding(Subgroup* sg, int newElement, Discrete_Group* dg) {
    int* K;
    int kn;
    return extendsCanonically(sg, newElement, dg, &K, &kn) ? 1 : 0;
}

Subgroup* DG_buildSubgroups(Discrete_Group* dg) {
    int nGen;
    int* gens = DG_makeGenerators(dg, &nGen);
    Subgroup* root = DG_allocSubGroup(nullptr, 0, 0, 0);
    startNewList(root);
    Subgroup* last = root;
    const std::vector<int> noStabilizer;
    for (Subgroup* rec = root; rec; rec = rec->next)
        for (int g = 0; g < nGen; ++g)
            if (DG_tryAdding(rec, gens[g], dg) == 1)
                last = appendExtension(last, rec, gens[g], nullptr, 0, noStabilizer);
    return root;
}

// ---------------------------------------------------------------- orbit data

namespace {

bool isSelected(const int* Selected, int e) {
    return !Selected || Selected[e];
}

int orbitLength(Discrete_Group* dg, int e) {
    return dg->AllOrders[e] > 0 ? dg->AllOrders[e] : elementOrder(dg, e);
}

// Layout of "Orbits": lengths, start flags and accepted flags (Order ints each), then the lists.
void buildOrbits(Discrete_Group* dg, const int* Selected) {
    const int n = dg->Order;
    std::size_t entries = 3 * static_cast<std::size_t>(n);
    for (int e = 0; e < n; ++e)
        if (isSelected(Selected, e))
            entries += orbitLength(dg, e);
    int* store = orbitsWork.reserve(static_cast<int>(entries));
    nullifyVec(static_cast<int>(entries), store);
    int** ptr = orbitPointers.reserve(n);
    orbitGroupOrder = n;
    int* length = store;
    int* start = store + n;
    int* accepted = store + 2 * n;
    int* end = store + 3 * n;
    for (int e = 0; e < n; ++e) {
        ptr[e] = end;
        if (!isSelected(Selected, e))
            continue;
        const int order = orbitLength(dg, e);
        int count = 0;
        for (int x = e; count < order; x = DG_product(x, e, dg))
            end[count++] = x;
        length[e] = count;
        accepted[e] = 1;
        start[e] = 1;
        for (int t = 0; t < count; ++t)
            if (end[t] < e && length[end[t]] == count)
                start[e] = 0;
        end += count;
    }
}

} // namespace

int* DG_getOrbit(Discrete_Group* dg, int* Selected, int i) {
    if (i == -1)
        buildOrbits(dg, Selected);
    if (!orbitsWork.reserved())
        return nullptr;
    const int n = orbitGroupOrder;
    switch (i) {
    case -1:
    case -2:
        return orbitsWork.X;
    case -3:
        return orbitsWork.X + n;
    case -4:
        return orbitsWork.X + 2 * n;
    default:
        return i >= 0 && i < n ? orbitPointers.X[i] : nullptr;
    }
}

// ---------------------------------------------------------------- selected enumeration

namespace {

// A candidate generator c over H: its powers o[0 .. k-1] lie outside H, o[k] inside.
struct Extension {
    int c;
    const int* o;
    int k;
};

Extension powersOutside(const Subgroup* H, int c) {
    const int* o = DG_getOrbit(nullptr, nullptr, c);
    int k = DG_getOrbit(nullptr, nullptr, -2)[c] - 1;
    for (int t = 1; t < k; ++t)
        if (inSorted(H->elements, H->order, o[t])) {
            k = t;
            break;
        }
    return {c, o, k};
}

bool powersAdmissible(const Subgroup* H, const Extension& x, const int* Selected, PERM permfunc) {
    for (int t = 0; t < x.k; ++t)
        if (!isSelected(Selected, x.o[t]))
            return false;
    for (int s = 0; s < H->permsize; ++s)
        for (int t = 0; t < x.k; ++t)
            if (permfunc(H->Stabilizer[s], x.o[t]) < x.c)
                return false;
    return true;
}

// H followed by the cosets h * o[t], sorted; -1 when an element is not selected or lies below c.
int cosetsOfPowers(Discrete_Group* dg, const Subgroup* H, const Extension& x, const int* Selected,
                   int* K) {
    copyVec(H->order, K, H->elements);
    int m = H->order;
    for (int t = 0; t < x.k; ++t)
        for (int q = 0; q < H->order; ++q) {
            const int y = DG_product(H->elements[q], x.o[t], dg);
            if (!isSelected(Selected, y) || y < x.c)
                return -1;
            K[m++] = y;
        }
    std::sort(K, K + m);
    return m;
}

// The symmetries that map K onto itself; false when one maps it to a smaller set.
bool stabilizerOfCosets(Discrete_Group* dg, const Subgroup* H, const Extension& x, const int* K,
                        int m, int Nperm, PERM permfunc, int* image, std::vector<int>& stab) {
    stab.clear();
    if (m == dg->Order) {
        for (int r = 0; r < Nperm; ++r)
            stab.push_back(r);
        return true;
    }
    std::vector<int> rh(H->order);
    for (int r = 0; r < Nperm; ++r) {
        int q = 0;
        for (int h = 0; h < H->order; ++h)
            image[q++] = rh[h] = permfunc(r, H->elements[h]);
        for (int t = 0; t < x.k; ++t) {
            const int ro = permfunc(r, x.o[t]);
            for (int h = 0; h < H->order; ++h)
                image[q++] = DG_product(rh[h], ro, dg);
        }
        std::sort(image, image + m);
        const int cmp = compareVec(m, image, K);
        if (cmp < 0)
            return false;
        if (cmp == 0)
            stab.push_back(r);
    }
    return true;
}

} // namespace

int DG_addInequivalentGeneratorSelected(Discrete_Group* dg, Subgroup* sg, int* Selected, int Nperm,
                                        PERM permfunc) {
    if (!sg || sg->order == dg->Order)
        return -1;
    Subgroup* last = lastOf(sg);
    const int first = sg->size > 0 ? sg->gen[sg->size - 1] + 1 : 0;
    if (Nperm > 20000 && !getBackground())
        PrintVec(sg->size, sg->gen, "Starting from subgroup");
    const int* start = DG_getOrbit(dg, Selected, -3);
    const int* accepted = DG_getOrbit(dg, Selected, -4);
    int* K = sgElements.reserve(2 * dg->Order);
    int* image = K + dg->Order;
    std::vector<int> stab;
    for (int c = first; c < dg->Order; ++c) {
        if (!start[c] || !accepted[c] || inSorted(sg->elements, sg->order, c))
            continue;
        const Extension x = powersOutside(sg, c);
        if (!powersAdmissible(sg, x, Selected, permfunc))
            continue;
        const int m = cosetsOfPowers(dg, sg, x, Selected, K);
        if (m < 0 || !stabilizerOfCosets(dg, sg, x, K, m, Nperm, permfunc, image, stab))
            continue;
        last = appendExtension(last, sg, c, K, m, stab);
        last->ancester = sg;
    }
    return 0;
}

Subgroup* DG_buildInequivalentSubgroupsSelected(Discrete_Group* dg, int* Selected, int Nperm,
                                                PERM permfunc) {
    Subgroup* root = DG_allocSubGroup(nullptr, 0, Nperm, 1);
    for (int r = 0; r < Nperm; ++r)
        root->Stabilizer[r] = r;
    root->elements[0] = 0;
    startNewList(root);
    DG_getOrbit(dg, Selected, -1);
    if (Nperm > 20000 && !getBackground())
        Print("Subgroup generation modulo %d permutations\n", Nperm);
    Subgroup* rec = root;
    while (DG_addInequivalentGeneratorSelected(dg, rec, Selected, Nperm, permfunc) == 0)
        rec = rec->next;
    return root;
}

// ---------------------------------------------------------------- enumeration with symmetry rows

int DG_addInequivalentGenerator(Discrete_Group* dg, Subgroup* sg, VectorSpace* Permutations) {
    if (!sg || sg->order == dg->Order)
        return -1;
    Subgroup* last = lastOf(sg);
    const int first = sg->size > 0 ? sg->gen[sg->size - 1] + 1 : 0;
    const int nRows = rowCount(Permutations);
    const int room = dg->Order + sg->order + 2;
    int* K = sgElements.reserve(2 * room);
    int* image = K + room;
    std::vector<int> stab;
    for (int c = first; c < dg->Order; ++c) {
        if (inSorted(sg->elements, sg->order, c))
            continue;
        bool lowered = false;
        for (int s = 0; s < sg->permsize && !lowered; ++s)
            lowered = symmetryRow(Permutations, sg->Stabilizer[s])[c] < c;
        if (lowered)
            continue;
        copyVec(sg->order, K, sg->elements);
        K[sg->order] = c;
        const int m = DG_closeSubgroup(K, sg->order + 1, dg, DG_product);
        bool canonical = true;
        for (int q = 0; q < m && K[q] < c && canonical; ++q)
            canonical = inSorted(sg->elements, sg->order, K[q]);
        if (!canonical)
            continue;
        stab.clear();
        bool smallest = true;
        for (int r = 0; r < nRows && smallest; ++r) {
            const int cmp = compareRowImage(symmetryRow(Permutations, r), K, m, image);
            smallest = cmp >= 0;
            if (cmp == 0)
                stab.push_back(r);
        }
        if (smallest)
            last = appendExtension(last, sg, c, K, m, stab);
    }
    return 0;
}

Subgroup* DG_buildInequivalentSubgroups(Discrete_Group* dg, VectorSpace* Permutations) {
    const int nRows = rowCount(Permutations);
    Subgroup* root = DG_allocSubGroup(nullptr, 0, nRows, 1);
    for (int r = 0; r < nRows; ++r)
        root->Stabilizer[r] = r;
    root->elements[0] = 0;
    startNewList(root);
    Subgroup* rec = root;
    while (DG_addInequivalentGenerator(dg, rec, Permutations) == 0) {
        std::fflush(stdout);
        rec = rec->next;
    }
    std::fflush(stdout);
    return root;
}

int DG_tryAddingInequivalent(Subgroup* sg, int newElement, Discrete_Group* dg,
                             VectorSpace* Permutations, int* Stabilizer, int* permsize) {
    int* K;
    int kn;
    if (!extendsCanonically(sg, newElement, dg, &K, &kn))
        return 0;
    int* image = K + dg->Order + sg->size + 2;
    int count = 0;
    Stabilizer[count++] = 0;
    for (int r = 1; r < rowCount(Permutations); ++r) {
        const int cmp = compareRowImage(symmetryRow(Permutations, r), K, kn, image);
        if (cmp < 0)
            return 2;
        if (cmp == 0)
            Stabilizer[count++] = r;
    }
    *permsize = count;
    return 1;
}
