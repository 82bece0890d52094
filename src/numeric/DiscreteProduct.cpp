// Groups known only through a product rule: closures, element orders, bases and the
// identification with a shared finite abelian group.
#include "numeric/Discrete.h"

#include "base/Allocation.h"
#include "base/Error.h"
#include "numeric/DiscreteInternal.h"
#include "numeric/VectorUtility.h"

#include <cstdio>
#include <vector>

using discrete_internal::DG_space;

namespace {

GuardedArray<int> usedWork("used", &DG_space);
GuardedArray<int> subWork("Sub", &DG_space);
GuardedArray<int> subgroupWork("subgroup", &DG_space);
GuardedArray<int> generatorsWork("generators", &DG_space);
GuardedArray<int> genOrbitsWork("GenOrbits", &DG_space);
GuardedArray<int> mapElementsWork("elements", &DG_space);
std::vector<char> closureMarks; // by label; all clear between calls

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

// Every element is a product of the given ones: the list grows by the products of its entries
// with them until nothing new comes. Labels already listed are marked in a table kept between
// calls, so a subgroup of n elements costs n products per given element and no search.
int DG_closeSubgroup(int* elements, int size, void* xtra, DISC_PROD prod) {
    int fill = removeIdentical(elements, DG_addIdentity(elements, size));
    const std::vector<int> given(elements, elements + fill);
    auto marked = [&](int x) -> char& {
        if (static_cast<std::size_t>(x) >= closureMarks.size())
            closureMarks.resize(static_cast<std::size_t>(x) + 1, 0);
        return closureMarks[static_cast<std::size_t>(x)];
    };
    for (int i = 0; i < fill; ++i)
        if (elements[i] >= 0)
            marked(elements[i]) = 1;
    for (int i = 0; i < fill; ++i)
        for (int g : given) {
            const int x = prod(elements[i], g, xtra);
            const bool listed = x >= 0 ? marked(x) != 0 : Present(elements, fill, x) >= 0;
            if (listed)
                continue;
            if (x >= 0)
                marked(x) = 1;
            elements[fill++] = x;
        }
    for (int i = 0; i < fill; ++i)
        if (elements[i] >= 0)
            closureMarks[static_cast<std::size_t>(elements[i])] = 0;
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
