// Subgroups of a finite abelian group: all of them by canonical generators, the orbit data of a
// selection, and the enumeration up to a list of symmetries.
#include "numeric/Discrete.h"

#include "base/Allocation.h"
#include "base/Output.h"
#include "numeric/DiscreteInternal.h"
#include "numeric/Sorting.h"
#include "numeric/VectorUtility.h"

#include <algorithm>
#include <vector>

using discrete_internal::DG_space;
using discrete_internal::elementOrder;

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
            lowered = rowOf(Permutations, sg->Stabilizer[s])[c] < c;
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
            const int cmp = compareRowImage(rowOf(Permutations, r), K, m, image);
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
        const int cmp = compareRowImage(rowOf(Permutations, r), K, kn, image);
        if (cmp < 0)
            return 2;
        if (cmp == 0)
            Stabilizer[count++] = r;
    }
    *permsize = count;
    return 1;
}
