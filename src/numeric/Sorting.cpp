#include "numeric/Sorting.h"

#include "base/Error.h"
#include "base/Memory.h"
#include "base/Output.h"
#include "base/SystemUtility.h"
#include "numeric/VectorUtility.h"

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <vector>

namespace {

constexpr int MaxIncrement = 1000000;
constexpr char CharGuard = 'z';

GuardedArray<int> doneFlags("done");
GuardedArray<int> distinctLinks("Gt");
GuardedArray<int> ordering("ordering");

AllocCount VectorUtilities = ALLOC_COUNTER("Vector utilities");
VectorArray* namedArrays = nullptr;

template <class T> constexpr T guardOf() {
    if constexpr (sizeof(T) == 1)
        return CharGuard;
    else
        return VectorSpaceGuard;
}

template <class T> std::size_t blockBytes(long long elements) {
    return static_cast<std::size_t>(elements + 1) * sizeof(T);
}

// The elements a collection's block holds according to its layout (the guard not counted).
template <class S> long long heldElements(const S* s) {
    return s->Space ? static_cast<long long>(s->rowsize) * s->Nrow : 0;
}

template <class S> bool guardIntact(const S* s) {
    using T = std::remove_pointer_t<decltype(s->Space)>;
    return s->Space[heldElements(s)] == guardOf<T>();
}

template <class S> void reportDamagedGuard(const S* s) {
    if (s->Space && !guardIntact(s))
        printErrorMessage("!!!!! Overflow in allocation of vector space %s\n", s->name);
}

// Gives a collection the row size R with room for n rows plus the scratch row, reusing (and
// re-cutting) its block when that is large enough.
template <class S> auto prepareSpace(S* s, int R, int n) {
    using T = std::remove_pointer_t<decltype(s->Space)>;
    const long long wanted = static_cast<long long>(n + 1) * R;
    if (!s->Space) {
        s->Space = static_cast<T*>(allocate(blockBytes<T>(wanted), nullptr, s->name));
        s->Nrow = n + 1;
    } else if (wanted > heldElements(s)) {
        reportDamagedGuard(s);
        s->Space = static_cast<T*>(reallocate(s->Space, blockBytes<T>(wanted),
                                              blockBytes<T>(heldElements(s)), nullptr, s->name));
        s->Nrow = n + 1;
    } else {
        s->Nrow = R > 0 ? static_cast<int>(heldElements(s) / R) : s->Nrow;
    }
    s->rowsize = R;
    s->Space[heldElements(s)] = guardOf<T>();
    s->Nfill = 0;
    return s->Space;
}

// The growth step of every operation that appends a row; returns the new scratch row.
template <class S> auto growSpace(S* s) {
    using T = std::remove_pointer_t<decltype(s->Space)>;
    if (s->Nfill <= 9)
        s->increment = s->orig_increment;
    if (s->increment == 0) {
        printErrorMessage("Zero increment for %s\n", s->name);
        std::exit(0);
    }
    s->Nfill += 1;
    reportDamagedGuard(s);
    if (s->Nfill == s->Nrow - 1) {
        const long long old = heldElements(s);
        s->Nrow += s->increment;
        s->Space = static_cast<T*>(reallocate(s->Space, blockBytes<T>(heldElements(s)),
                                              blockBytes<T>(old), nullptr, s->name));
        s->Space[heldElements(s)] = guardOf<T>();
        s->increment = std::min(2 * s->increment, MaxIncrement);
    }
    if (s->Nfill > s->Nrow)
        printErrorMessage("\n!!!!! Overflow in vector space %s\n", s->name);
    return s->Space + static_cast<long long>(s->rowsize) * s->Nfill;
}

int& lessLink(VectorSpace* s, int r) {
    return rowOf(s, r)[s->rowsize - 2];
}
int& greaterLink(VectorSpace* s, int r) {
    return rowOf(s, r)[s->rowsize - 1];
}

// Walks the tree from row 0 for the candidate; returns the equal row, or -1 after hanging the
// row `label` below the last node visited.
int findOrLink(VectorSpace* s, const int* candidate, int label) {
    int node = 0;
    for (;;) {
        int c = compareVec(s->id_size, candidate, rowOf(s, node));
        if (c == 0)
            return node;
        int& link = c < 0 ? lessLink(s, node) : greaterLink(s, node);
        if (link < 0) {
            link = label;
            return -1;
        }
        node = link;
    }
}

// Walks the tree for the candidate without changing it.
int findInTree(VectorSpace* s, const int* candidate) {
    if (!s->Space || s->Nfill < 1)
        return -1;
    int node = 0;
    while (node >= 0) {
        int c = compareVec(s->id_size, candidate, rowOf(s, node));
        if (c == 0)
            return node;
        node = c < 0 ? lessLink(s, node) : greaterLink(s, node);
    }
    return -1;
}

// Links every row anew, in row order, as if each had just been inserted in place.
void rebuildTree(VectorSpace* s) {
    const int n = s->Nfill;
    for (int r = 0; r < n; r++)
        lessLink(s, r) = greaterLink(s, r) = -1;
    for (int r = 1; r < n; r++)
        findOrLink(s, rowOf(s, r), r);
}

} // namespace

// ---------------------------------------------------------------------------------------------
// Initialisation

int* initVectorCollection(VectorSpace* storage, int rowlen, int Nrow) {
    if (static_cast<double>(rowlen) * static_cast<double>(Nrow) >= 2147483547.0)
        Alert("initVectorCollection", 0, 112413, "Integer overflow in allocation size (%d x %d)",
              rowlen, Nrow);
    prepareSpace(storage, rowlen + 2, Nrow);
    storage->id_size = rowlen;
    return storage->Space;
}

int* initCountedVectorCollection(VectorSpace* storage, int rowlen, int Nrow) {
    prepareSpace(storage, rowlen + 3, Nrow);
    storage->id_size = rowlen;
    return storage->Space;
}

int* initEquationCollection(VectorSpace* storage, int Nvar, int Nrow) {
    prepareSpace(storage, Nvar + 2, Nrow);
    storage->id_size = Nvar + 1;
    return storage->Space;
}

int* initInversionCollection(VectorSpace* storage, int Nvar, int N_LHS, int Nrow) {
    prepareSpace(storage, Nvar + N_LHS + 1, Nrow);
    storage->id_size = Nvar;
    return storage->Space;
}

VectorSpace* NewVectorSpace(int rowlen, int Nrow, int increment, AllocCount* stat,
                            const char* name) {
    auto* s = static_cast<VectorSpace*>(allocate(sizeof(VectorSpace), stat, "VectorSpace"));
    const std::size_t len = std::strlen(name) + 1;
    auto* copy = static_cast<char*>(allocate(len, stat, "VectorSpace name"));
    std::memcpy(copy, name, len);
    *s = declareVectorSpace(copy, increment);
    prepareSpace(s, rowlen, Nrow);
    s->id_size = rowlen;
    return s;
}

int* resetVectorCollection(VectorSpace* storage) {
    storage->Nfill = 0;
    return storage->Space;
}

void freeVectorCollection(VectorSpace* storage) {
    if (!storage->Space)
        return;
    reportDamagedGuard(storage);
    freespace(storage->Space, blockBytes<int>(heldElements(storage)), nullptr, storage->name);
    storage->Space = nullptr;
    storage->Nrow = storage->Nfill = storage->rowsize = 0;
    storage->increment = storage->orig_increment;
}

void copyVectorCollection(VectorSpace* storage1, VectorSpace* storage2) {
    const long long needed = heldElements(storage2);
    const long long held = heldElements(storage1);
    if (!storage1->Space)
        storage1->Space =
            static_cast<int*>(allocate(blockBytes<int>(needed), nullptr, storage1->name));
    else if (needed > held)
        storage1->Space =
            static_cast<int*>(reallocate(storage1->Space, blockBytes<int>(needed),
                                         blockBytes<int>(held), nullptr, storage1->name));
    storage1->rowsize = storage2->rowsize;
    storage1->Nrow = storage2->Space ? storage2->Nrow : 0;
    storage1->Nfill = storage2->Space ? storage2->Nfill : 0;
    storage1->orig_increment = storage2->orig_increment;
    storage1->increment = storage2->increment;
    storage1->id_size = storage2->id_size;
    if (needed > 0)
        std::memcpy(storage1->Space, storage2->Space,
                    static_cast<std::size_t>(needed) * sizeof(int));
    storage1->Space[needed] = VectorSpaceGuard;
}

void setIdentificationSize(VectorSpace* storage, int id_size) {
    storage->id_size = id_size;
}

// ---------------------------------------------------------------------------------------------
// Insertion and look-up

int* addToCollection(VectorSpace* storage) {
    VectorSpace* s = storage;
    int* candidate = rowOf(s, s->Nfill);
    if (s->Nfill > 0 && findOrLink(s, candidate, s->Nfill) >= 0)
        return candidate;
    lessLink(s, s->Nfill) = greaterLink(s, s->Nfill) = -1;
    return growSpace(s);
}

int* addVectorToCollection(VectorSpace* storage, int* vector) {
    copyVec(storage->rowsize - 2, rowOf(storage, storage->Nfill), vector);
    return addToCollection(storage);
}

int addToCountedCollection(VectorSpace* storage, int multiplicity) {
    VectorSpace* s = storage;
    const int label = s->Nfill;
    int* candidate = rowOf(s, label);
    if (label > 0) {
        int found = findOrLink(s, candidate, label);
        if (found >= 0) {
            countOf(s, found) += multiplicity;
            return found;
        }
    }
    countOf(s, label) = multiplicity;
    lessLink(s, label) = greaterLink(s, label) = -1;
    growSpace(s);
    return label;
}

int findVectorInCollection(VectorSpace* storage, int* vector) {
    return findInTree(storage, vector);
}

int* addNewVectorToSpace(VectorSpace* storage, int* vector) {
    copyVec(storage->rowsize, rowOf(storage, storage->Nfill), vector);
    return growSpace(storage);
}

int* addVectorToSpace(VectorSpace* storage) {
    return growSpace(storage);
}

int* removeVectorFromCollection(VectorSpace* storage, int lbl) {
    VectorSpace* s = storage;
    if (lbl < 0 || lbl >= s->Nfill)
        return rowOf(s, s->Nfill);
    const int later = s->Nfill - 1 - lbl;
    if (later > 0)
        std::memmove(rowOf(s, lbl), rowOf(s, lbl + 1),
                     static_cast<std::size_t>(later) * s->rowsize * sizeof(int));
    s->Nfill -= 1;
    rebuildTree(s);
    return rowOf(s, s->Nfill);
}

int* reindexVectorCollection(VectorSpace* storage) {
    rebuildTree(storage);
    return rowOf(storage, storage->Nfill);
}

namespace {

// Hangs the sorted rows order[lo..hi) below parent as a balanced subtree; returns its root.
int linkBalanced(VectorSpace* s, const std::vector<int>& order, std::size_t lo, std::size_t hi) {
    if (lo >= hi)
        return -1;
    const std::size_t mid = lo + (hi - lo) / 2;
    const int node = order[mid];
    lessLink(s, node) = linkBalanced(s, order, lo, mid);
    greaterLink(s, node) = linkBalanced(s, order, mid + 1, hi);
    return node;
}

} // namespace

namespace {

// Columns whose values span at most this many numbers are sorted by counting.
constexpr long long CountingRange = 1 << 16;

// Stable sorts of the rows by one column each, last column first, leave them in the order of
// the whole row; false (nothing done) when some column spans too many values.
bool sortByColumns(VectorSpace* s, std::vector<int>& order) {
    const int size = s->id_size;
    const int n = s->Nfill;
    // One column at a time, read in row order, so that the passes look values up in a short
    // array instead of across the whole collection.
    std::vector<int> column(static_cast<std::size_t>(n));
    std::vector<int> sorted(order.size());
    std::vector<int> count;
    for (int c = size - 1; c >= 0; c--) {
        for (int r = 0; r < n; r++)
            column[static_cast<std::size_t>(r)] = rowOf(s, r)[c];
        const auto [lo, hi] = std::minmax_element(column.begin(), column.end());
        const int low = *lo;
        if (static_cast<long long>(*hi) - low >= CountingRange)
            return false;
        count.assign(static_cast<std::size_t>(*hi - low) + 2, 0);
        for (int r : order)
            count[static_cast<std::size_t>(column[static_cast<std::size_t>(r)] - low) + 1]++;
        for (std::size_t v = 1; v < count.size(); v++)
            count[v] += count[v - 1];
        for (int r : order)
            sorted[static_cast<std::size_t>(
                count[static_cast<std::size_t>(column[static_cast<std::size_t>(r)] - low)]++)] = r;
        order.swap(sorted);
    }
    return true;
}

} // namespace

void balanceVectorCollection(VectorSpace* storage) {
    VectorSpace* s = storage;
    const int n = s->Nfill;
    if (n < 1)
        return;
    const int size = s->id_size;
    std::vector<int> order;
    for (int r = 1; r < n; r++)
        order.push_back(r);
    if (order.empty() || !sortByColumns(s, order))
        std::sort(order.begin(), order.end(), [s, size](int a, int b) {
            const int* x = rowOf(s, a);
            const int* y = rowOf(s, b);
            return std::lexicographical_compare(x, x + size, y, y + size);
        });
    // Every search starts at row 0, so it stays the root; the others split around it.
    std::size_t split = 0;
    while (split < order.size() && compareVec(size, rowOf(s, order[split]), rowOf(s, 0)) < 0)
        split++;
    lessLink(s, 0) = linkBalanced(s, order, 0, split);
    greaterLink(s, 0) = linkBalanced(s, order, split, order.size());
}

// ---------------------------------------------------------------------------------------------
// Traversal and printing

namespace {

// Selection in Nfill passes: the first not-done row, replaced by any later not-done row that
// comes strictly before it; ties therefore stay in row order.
template <class Less> void selectInOrder(VectorSpace* s, int* out, Less comesFirst) {
    const int n = s->Nfill;
    int* done = doneFlags.reserve(n);
    std::fill(done, done + n, 0);
    for (int pass = 0; pass < n; pass++) {
        int best = -1;
        for (int r = 0; r < n; r++) {
            if (done[r])
                continue;
            if (best < 0 || comesFirst(rowOf(s, r), rowOf(s, best)))
                best = r;
        }
        done[best] = 1;
        out[pass] = best;
    }
}

} // namespace

int* OrderVectorCollection(VectorSpace* storage, VECCOMP cmp) {
    if (!storage || !storage->Space)
        return nullptr;
    int* out = ordering.reserve(std::max(storage->Nfill, 1));
    selectInOrder(storage, out, [&](int* a, int* b) { return cmp(storage->id_size, a, b) < 0; });
    return out;
}

void OrderedActionOnCollection(VectorSpace* storage, VECACTION fcn, VECCOMPAR cmp) {
    if (!storage || !storage->Space)
        return;
    std::vector<int> order(static_cast<std::size_t>(std::max(storage->Nfill, 1)));
    selectInOrder(storage, order.data(),
                  [&](int* a, int* b) { return cmp(storage->id_size, a, b, nullptr) < 0; });
    for (int i = 0; i < storage->Nfill; i++)
        fcn(storage->id_size, rowOf(storage, order[i]), nullptr);
}

int AddToIndex(VectorSpace* storage, int entry, int* Gt, int* Lt) {
    Gt[entry] = Lt[entry] = -1;
    if (entry == 0)
        return 1;
    int* row = rowOf(storage, entry);
    int node = 0;
    for (;;) {
        int c = compareVec(storage->id_size, row, rowOf(storage, node));
        if (c == 0)
            return 0;
        int& link = c > 0 ? Gt[node] : Lt[node];
        if (link < 0) {
            link = entry;
            return 1;
        }
        node = link;
    }
}

void actOnDistinct(VectorSpace* storage, VECACTION fcn, void* data) {
    const int n = storage->Nfill;
    if (n < 1)
        return;
    int* Gt = distinctLinks.reserve(2 * n);
    int* Lt = Gt + n;
    for (int r = 0; r < n; r++)
        if (AddToIndex(storage, r, Gt, Lt))
            fcn(storage->rowsize, rowOf(storage, r), data);
}

void printVectorSpace(VectorSpace* space) {
    char text[32];
    for (int r = 0; r < space->Nfill; r++) {
        std::snprintf(text, sizeof text, "Nr. %d", r);
        printVec(space->id_size, rowOf(space, r), text);
    }
}

void printCountedVectorCollection(VectorSpace* space) {
    if (space->Nfill < 1) {
        Print("Empty collection\n");
        return;
    }
    Print("\nTotal number of cases in collection: %d\n\n", space->Nfill);
    std::vector<int> rows;
    for (int r = 0; r < space->Nfill; r++)
        if (countOf(space, r) >= 0)
            rows.push_back(r);
    std::stable_sort(rows.begin(), rows.end(),
                     [&](int a, int b) { return countOf(space, a) > countOf(space, b); });
    char text[32];
    for (int r : rows) {
        std::snprintf(text, sizeof text, "%d x ", countOf(space, r));
        PrintVec(space->id_size, rowOf(space, r), text);
    }
}

int checkVectorOrdering(VectorSpace* storage, int* vector) {
    const int size = storage->rowsize;
    for (int r = 0; r < storage->Nfill; r++)
        printVec(size, rowOf(storage, r), "row ");
    std::vector<int> k(static_cast<std::size_t>(std::max(size, 0)), 0);
    int c = 0;
    for (int r = 0; r < storage->Nfill; r++) {
        const int* row = rowOf(storage, r);
        for (int j = 0; j < size; j++) {
            k[j] += c;
            if (j + 1 < size && k[j + 1] == k[j] && row[j] != row[j + 1])
                c += 1;
        }
    }
    for (int j = 1; j < size; j++) {
        if (k[j] == k[j - 1] && vector[j] < vector[j - 1]) {
            printVec(size, vector, "Rejected");
            return 0;
        }
    }
    printVec(size, vector, "Accepted");
    return 1;
}

// ---------------------------------------------------------------------------------------------
// Storage in a named work area

int Collect(int** storage, const char* StorageName, int RowLen, int* NewVector, int* fill) {
    if (RowLen < 1 && *fill > 0)
        return 0;
    const int rowlen = std::max(RowLen, 0);
    *storage = getIntSpace(StorageName, (*fill + 10) * rowlen);
    if (!*storage)
        return -1;
    for (int r = 0; r < *fill; r++)
        if (compareVec(rowlen, *storage + static_cast<long long>(r) * rowlen, NewVector) == 0)
            return r;
    copyVec(rowlen, *storage + static_cast<long long>(*fill) * rowlen, NewVector);
    *fill += 1;
    return -1;
}

// ---------------------------------------------------------------------------------------------
// Byte rows

namespace {

char* charRow(CharVectorSpace* s, int r) {
    return s->Space + static_cast<long long>(s->rowsize) * r;
}
signed char& charLess(CharVectorSpace* s, int r) {
    return reinterpret_cast<signed char&>(charRow(s, r)[s->rowsize - 2]);
}
signed char& charGreater(CharVectorSpace* s, int r) {
    return reinterpret_cast<signed char&>(charRow(s, r)[s->rowsize - 1]);
}

} // namespace

CharVectorSpace* NewCharVectorSpace(int rowlen, int Nrow, int increment, AllocCount* stat,
                                    const char* name) {
    auto* s =
        static_cast<CharVectorSpace*>(allocate(sizeof(CharVectorSpace), stat, "CharVectorSpace"));
    const std::size_t len = std::strlen(name) + 1;
    auto* copy = static_cast<char*>(allocate(len, stat, "CharVectorSpace name"));
    std::memcpy(copy, name, len);
    *s = declareCharVectorSpace(copy, increment);
    prepareSpace(s, rowlen, Nrow);
    s->id_size = rowlen;
    return s;
}

char* initCharVectorCollection(CharVectorSpace* storage, int rowlen, int Nrow) {
    prepareSpace(storage, rowlen + 2, Nrow);
    storage->id_size = rowlen;
    return storage->Space;
}

char* addToCharCollection(CharVectorSpace* storage) {
    CharVectorSpace* s = storage;
    const int label = s->Nfill;
    char* candidate = charRow(s, label);
    if (label > 0) {
        int node = 0;
        for (;;) {
            int c = compareCharVec(s->id_size, candidate, charRow(s, node));
            if (c == 0)
                return candidate;
            signed char& link = c < 0 ? charLess(s, node) : charGreater(s, node);
            if (link < 0) {
                link = static_cast<signed char>(label);
                break;
            }
            node = link;
        }
    }
    charLess(s, label) = charGreater(s, label) = -1;
    return growSpace(s);
}

// ---------------------------------------------------------------------------------------------
// Named vector arrays

namespace {

int* arrayData(VectorArray* v) {
    return v->mt ? v->mt->AllocatedSpace.iSpace : nullptr;
}

int* vectorAt(VectorArray* v, int offset) {
    return arrayData(v) + offset;
}

VectorNode* newNode(int offset) {
    auto* node =
        static_cast<VectorNode*>(allocate(sizeof(VectorNode), &VectorUtilities, "VectorNode"));
    *node = VectorNode{offset, nullptr, nullptr};
    return node;
}

// Makes room for `rows` vectors of the array's row size.
void ensureRows(VectorArray* v, int rows) {
    if (v->mt && v->mt->Size <= rows * v->rowsize)
        allocMemoryDirect(v->mt, rows * v->rowsize);
}

// The node slot where a vector equal to `vector` hangs, or where it would be hung.
VectorNode** slotFor(VectorNode** p, VectorArray* v, int* vector, bool* equal) {
    *equal = false;
    while (*p) {
        int c = v->function(v->vectorsize, vectorAt(v, (*p)->offset), vector, v->control);
        if (c == 0) {
            *equal = true;
            return p;
        }
        p = c > 0 ? &(*p)->left : &(*p)->right;
    }
    return p;
}

VectorArray* unknownArray(const char* routine, const char* name) {
    Alert(routine, 0, 120505, "Vector array %s not initiated", name);
    return nullptr;
}

} // namespace

int defaultComparison(int size, int* v1, int* v2, void*) {
    return compareVec(size, v1, v2);
}

int pcwComp(int size, int* v1, int* v2, void* data) {
    const int* label = static_cast<const int*>(data);
    long long sum1 = 0;
    long long sum2 = 0;
    for (int i = 0; i < size; i++) {
        sum1 += v1[i];
        sum2 += v2[i];
        if (i + 1 == size || label[i + 1] != label[i]) {
            if (sum1 < sum2)
                return 1;
            if (sum1 > sum2)
                return -1;
            sum1 = sum2 = 0;
        }
    }
    return compareVec(size, v1, v2);
}

VectorArray* getVectorArray(VectorArray** p, const char* name) {
    while (*p) {
        int c = std::strcmp(name, (*p)->name);
        if (c == 0)
            return *p;
        p = c > 0 ? &(*p)->left : &(*p)->right;
    }
    auto* v =
        static_cast<VectorArray*>(allocate(sizeof(VectorArray), &VectorUtilities, "VectorArray"));
    const std::size_t len = std::strlen(name) + 1;
    auto* copy = static_cast<char*>(allocate(len, &VectorUtilities, "VectorArray name"));
    std::memcpy(copy, name, len);
    *v = VectorArray{0,       0,       0,      0, 0, copy, nullptr, nullptr, defaultComparison,
                     nullptr, nullptr, nullptr};
    *p = v;
    return v;
}

VectorArray* findVectorArray(VectorArray* p, const char* name) {
    while (p) {
        int c = std::strcmp(name, p->name);
        if (c == 0)
            return p;
        p = c > 0 ? p->left : p->right;
    }
    return nullptr;
}

VectorArray* findNamedVectorArray(const char* name) {
    VectorArray* v = findVectorArray(namedArrays, name);
    return v ? v : unknownArray("findNamedVectorArray", name);
}

VectorArray* initVectorArray(const char* name, int increment, VECCOMPAR fnc, void* control) {
    VectorArray* v = getVectorArray(&namedArrays, name);
    if (!v->mt)
        v->mt = initMemory(v->name, 'i', 0, increment);
    else
        v->mt->Increment = increment;
    freeVectorNode(v->root);
    v->root = nullptr;
    v->fill = v->vectorsize = v->rowsize = v->prealloc_size = 0;
    v->increment = increment;
    v->function = fnc ? fnc : defaultComparison;
    v->control = fnc ? control : nullptr;
    if (!fnc && control)
        Alert("initVectorArray", 1, 110301, "Last argument of initVectorArray ignored");
    return v;
}

VectorArray* resetVectorArray(const char* name, int vectorsize, int rowsize, int colsize) {
    VectorArray* v = findVectorArray(namedArrays, name);
    if (!v)
        return unknownArray("resetVectorArray", name);
    v->fill = 0;
    v->vectorsize = vectorsize;
    v->rowsize = rowsize;
    v->prealloc_size = colsize > 0 ? colsize : 0;
    if (colsize > 0 && v->mt)
        allocMemoryDirect(v->mt, (colsize + 1) * rowsize);
    freeVectorNode(v->root);
    v->root = nullptr;
    return v;
}

int addVectorToStorage(VectorArray* v, int* vector) {
    // A reserved block that fills up grows too, so no vector is written past its end.
    if (!v->mt || v->mt->Size < (v->fill + 1) * v->rowsize + 1)
        ensureRows(v, v->fill + 10);
    const int offset = v->fill * v->rowsize;
    copyVec(v->rowsize, vectorAt(v, offset), vector);
    v->fill += 1;
    return offset;
}

VectorNode* addVectorPlusNode(VectorNode** p, int* vector, VectorArray* v) {
    bool equal = false;
    VectorNode** slot = slotFor(p, v, vector, &equal);
    if (equal)
        return nullptr;
    *slot = newNode(addVectorToStorage(v, vector));
    return nullptr;
}

VectorNode* addVectorToArray(VectorArray* v, int* vector) {
    return addVectorPlusNode(&v->root, vector, v);
}

VectorNode* addVectorNode(VectorNode** p, int* vector, VectorArray* v) {
    bool equal = false;
    VectorNode** slot = slotFor(p, v, vector, &equal);
    if (!equal)
        *slot = newNode(v->rowsize * v->fill);
    return nullptr;
}

int* findVector(VectorNode* p, VectorArray* v, int* vector) {
    bool equal = false;
    VectorNode** slot = slotFor(&p, v, vector, &equal);
    return equal ? vectorAt(v, (*slot)->offset) : nullptr;
}

int* findVectorInArray(VectorArray* v, int* vector) {
    return findVector(v->root, v, vector);
}

void printVectorNode(int size, VectorArray* v, VectorNode* p) {
    if (!p)
        return;
    printVectorNode(size, v, p->left);
    printVec(size, vectorAt(v, p->offset), " --> ");
    printVectorNode(size, v, p->right);
}

void printVectorArray(VectorArray* v) {
    printVectorNode(v->rowsize, v, v->root);
}

void freeVectorNode(VectorNode* p) {
    if (!p)
        return;
    freeVectorNode(p->left);
    freeVectorNode(p->right);
    freespace(p, sizeof(VectorNode), &VectorUtilities, "VectorNode");
}

VectorArray* readVectorArrayFromFile(const char* fn, const char* name, int size) {
    FILE* ifp = Fopen(fn, "r");
    if (!ifp) {
        Alert("readVectorArrayFromFile", 0, 120306, "Cannot open  file %s", fn);
        return nullptr;
    }
    std::fseek(ifp, 0, SEEK_END);
    const long bytes = std::ftell(ifp);
    std::rewind(ifp);
    VectorArray* v = resetVectorArray(name, size, size, 0);
    if (!v) {
        Fclose(ifp);
        return nullptr;
    }
    if (v->mt && bytes > 0)
        allocMemoryDirect(v->mt, static_cast<int>(bytes));
    std::vector<int> line(static_cast<std::size_t>(std::max(size, 1)));
    while (readVectorFromFile(ifp, line.data(), size) == 0) {
        const int offset = addVectorToStorage(v, line.data());
        bool equal = false;
        VectorNode** slot = slotFor(&v->root, v, vectorAt(v, offset), &equal);
        if (!equal)
            *slot = newNode(offset);
    }
    Fclose(ifp);
    return v;
}
