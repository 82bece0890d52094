// The Weyl group of the horizontal algebra: its order, simple reflections, an explicit
// enumeration of small groups, orbits of weights, and orbits of label vectors reduced modulo 2.
#include "lie/Tarvik.h"

#include "base/Allocation.h"
#include "base/Error.h"
#include "base/Output.h"
#include "lie/TarvikInternal.h"
#include "numeric/MathUtility.h"
#include "numeric/Sorting.h"
#include "numeric/VectorUtility.h"

#include <algorithm>
#include <climits>
#include <cstdint>
#include <cstdio>
#include <vector>

namespace {

constexpr long long MaxWeylGroupSize = 3000000;
constexpr int NoKey = INT_MIN;
// Beyond this rank the 2^rank rows of the parity table would take gigabytes.
constexpr int MaxParityRank = 20;

AllocCount WeylAlloc = ALLOC_COUNTER("Weyl group");

// The enumerated group: rows (w(rho), parent, generator), then the two tree links.
VectorSpace WeylGroup = declareVectorSpace("WeylGroup", 1000);
int groupType = NoKey;
int groupRank = NoKey;
int rowRank = 0; // rank of the rows in WeylGroup, also while they are built

VectorSpace WeylOrbitList = declareVectorSpace("WeylReflections", 1000);

GuardedArray<int> WeylOrb("WeylOrb", &WeylAlloc);
GuardedArray<int> ClassGen("ClassGen", &WeylAlloc);
GuardedArray<int> classVector("vector", &WeylAlloc);

// ---- Exact orders ----

// a * b, or false when the product does not fit in 64 bits.
bool times(long long& a, long long b) {
    return !__builtin_mul_overflow(a, b, &a);
}

bool factorialInto(long long& result, int n) {
    for (int i = 2; i <= n; i++)
        if (!times(result, i))
            return false;
    return true;
}

bool powerOfTwoInto(long long& result, int n) {
    for (int i = 0; i < n; i++)
        if (!times(result, 2))
            return false;
    return true;
}

// The order, -1 without an entry, or LLONG_MAX (reported) beyond 64 bits.
long long exactOrder(int type, int rank) {
    long long order = 1;
    bool fits = true;
    switch (type) {
    case 1:
        fits = factorialInto(order, rank + 1);
        break;
    case 2:
    case 3:
        fits = powerOfTwoInto(order, rank) && factorialInto(order, rank);
        break;
    case 4:
        fits = powerOfTwoInto(order, rank - 1) && factorialInto(order, rank);
        break;
    case 5:
        if (const tarvik_internal::Exceptional* e = tarvik_internal::exceptional(rank))
            return e->weylOrder;
        return -1;
    default:
        return -1;
    }
    if (fits)
        return order;
    Alert("WeylGroupOrder", 0, 112413, "Weyl group order too large (type %d, rank %d)", type, rank);
    return LLONG_MAX;
}

// ---- Reflections on the Cartan data built last ----

int cartanEntry(int rank, int i, int j) {
    return getCM()[i + j * (rank + 1)];
}

void reflectDynkin(int rank, const int* v, int* out, int root) {
    const int* cm = getCM();
    const int vr = v[root];
    for (int i = 0; i < rank; i++)
        out[i] = v[i] - vr * cm[i + root * (rank + 1)];
}

void reflectRootBasis(int rank, const int* v, int* out, int root) {
    const int* cm = getCM();
    int change = 0;
    for (int j = 0; j < rank; j++)
        change += cm[j + root * (rank + 1)] * v[j];
    copyVec(rank, out, v);
    out[root] -= change;
}

// ---- Sub-diagrams ----

struct NodeCounts {
    int n6 = 0, n3 = 0, n2 = 0;
    int c1 = 0, c2 = 0, c3 = 0;
    int con[3] = {-1, -1, -1};
};

void countLengths(const int* select, int fill, NodeCounts& n) {
    const int* rootnorm = getRootnorm();
    for (int s = 0; s < fill; s++) {
        int len = rootnorm[select[s]];
        n.n6 += len == 6;
        n.n3 += len == 3;
        n.n2 += len == 2;
    }
}

// Classifies the nodes as ends, middles and branches; false when a node has no neighbour.
bool countEnds(const int* select, int fill, int rank, NodeCounts& n) {
    for (int s = 0; s < fill; s++) {
        int c = 0, neighbour = -1;
        for (int t = 0; t < fill; t++) {
            int a = cartanEntry(rank, select[s], select[t]);
            c += a;
            if (t != s && a != 0)
                neighbour = select[t];
        }
        if (c == 2)
            return false;
        if (c == 1) {
            if (n.c1 < 3)
                n.con[n.c1] = neighbour;
            n.c1++;
        }
        n.c2 += c == 0;
        n.c3 += c == -1;
    }
    return true;
}

// Order of a simply-laced diagram (all nodes of one length), or -1.
long long simplyLacedOrder(const NodeCounts& n, int fill) {
    if (n.c1 == 2)
        return exactOrder(1, fill);
    if (n.c1 == 3) {
        if (n.con[0] == n.con[1] || n.con[0] == n.con[2] || n.con[1] == n.con[2])
            return exactOrder(4, fill);
        if (fill >= 6 && fill <= 8)
            return exactOrder(5, fill);
    }
    return -1;
}

long long mixedOrder(const NodeCounts& n, int fill) {
    if (n.n2 == 1 && n.n6 == 1 && n.n3 == 0)
        return 12;
    if (n.n2 != 0)
        return -1;
    if (n.n3 == 2 && n.n6 == 2)
        return 1152;
    if (n.n3 == 1 && n.n6 == fill - 1)
        return exactOrder(2, fill);
    if (n.n3 == fill - 1 && n.n6 == 1)
        return exactOrder(3, fill);
    return -1;
}

// Moves the marked nodes joined to the component into it, rescanning while it grows.
void growComponent(std::vector<int>& marked, std::vector<int>& component, int rank) {
    bool grown = true;
    while (grown) {
        grown = false;
        for (int node = 0; node <= rank; node++) {
            if (!marked[node])
                continue;
            for (int member : component) {
                if (cartanEntry(rank, node, member) != 0) {
                    component.push_back(node);
                    marked[node] = 0;
                    grown = true;
                    break;
                }
            }
        }
    }
}

// ---- The enumerated group ----

int parentOf(int i) {
    return rowOf(&WeylGroup, i)[rowRank];
}
int generatorOf(int i) {
    return rowOf(&WeylGroup, i)[rowRank + 1];
}

// Open-addressing index of the rows by their image. A search tree filled in breadth-first
// order degenerates (E7 took minutes), so the enumeration looks images up here instead.
class ImageIndex {
public:
    ImageIndex(long long rows, int rank) : rank_(rank) {
        std::size_t size = 16;
        while (size < static_cast<std::size_t>(2 * rows))
            size *= 2;
        slots_.assign(size, -1);
    }
    // The row with the image of row `label`, or -1 after recording row `label` for it.
    int findOrAdd(int label) {
        const int* image = rowOf(&WeylGroup, label);
        const std::size_t mask = slots_.size() - 1;
        for (std::size_t s = hash(image) & mask;; s = (s + 1) & mask) {
            if (slots_[s] < 0) {
                slots_[s] = label;
                return -1;
            }
            if (compareVec(rank_, image, rowOf(&WeylGroup, slots_[s])) == 0)
                return slots_[s];
        }
    }

private:
    std::size_t hash(const int* image) const {
        std::uint64_t h = 0;
        for (int i = 0; i < rank_; i++)
            h = h * 0x9E3779B97F4A7C15ULL + static_cast<std::uint32_t>(image[i]);
        h ^= h >> 33;
        h *= 0xFF51AFD7ED558CCDULL;
        h ^= h >> 33;
        return static_cast<std::size_t>(h);
    }
    int rank_;
    std::vector<int> slots_;
};

// Breadth-first closure of row 0 under the simple reflections; a new image is a new element.
void enumerateGroup(int rank, ImageIndex& index) {
    for (int i = 0; i < WeylGroup.Nfill; i++) {
        for (int j = 0; j < rank; j++) {
            if (j == generatorOf(i))
                continue;
            int* scratch = rowOf(&WeylGroup, WeylGroup.Nfill);
            reflectDynkin(rank, rowOf(&WeylGroup, i), scratch, j);
            scratch[rank] = i;
            scratch[rank + 1] = j;
            if (index.findOrAdd(WeylGroup.Nfill) < 0)
                addVectorToSpace(&WeylGroup);
        }
    }
}

void buildGroup(int type, int rank, long long order) {
    Cartan(type, rank);
    initVectorCollection(&WeylGroup, rank + 2, static_cast<int>(order) + 1);
    setIdentificationSize(&WeylGroup, rank);
    groupType = groupRank = NoKey;
    rowRank = rank;
    int* identity = rowOf(&WeylGroup, 0);
    std::fill(identity, identity + rank, 1);
    identity[rank] = -1;
    identity[rank + 1] = -1;
    ImageIndex index(order + 1, rank);
    index.findOrAdd(0);
    addVectorToSpace(&WeylGroup);
    enumerateGroup(rank, index);
    balanceVectorCollection(&WeylGroup);
    groupType = type;
    groupRank = rank;
}

// Gives the orbit list room for n rows of rank ints, with the guard word after them.
int* sizeOrbitList(int n, int rank) {
    VectorSpace& s = WeylOrbitList;
    const long long held = s.Space ? static_cast<long long>(s.rowsize) * s.Nrow : -1;
    const long long wanted = static_cast<long long>(n) * rank;
    const auto bytes = [](long long ints) {
        return static_cast<std::size_t>(ints + 1) * sizeof(int);
    };
    if (!s.Space)
        s.Space = static_cast<int*>(allocate(bytes(wanted), &WeylAlloc, s.name));
    else if (wanted > held)
        s.Space =
            static_cast<int*>(reallocate(s.Space, bytes(wanted), bytes(held), &WeylAlloc, s.name));
    if (wanted > held) {
        s.rowsize = rank;
        s.Nrow = n;
    } else {
        s.Nrow = rank > 0 ? static_cast<int>(held / rank) : n;
        s.rowsize = rank;
    }
    s.id_size = rank;
    s.Space[static_cast<long long>(s.rowsize) * s.Nrow] = VectorSpaceGuard;
    s.Nfill = 0;
    return s.Space;
}

// ---- Parity orbits ----

struct ParityOrbit {
    int rank = 0;
    int fill = 0;
    int capacity = 0; // rows the table holds besides the scratch row
    int* rows = nullptr;
    int* less = nullptr;
    int* greater = nullptr;

    int* row(int i) const { return rows + static_cast<long long>(i) * rank; }

    // Adds the scratch row unless an equal row exists; true when added.
    bool insertScratch() {
        const int* candidate = row(fill);
        if (fill > 0) {
            int node = 0;
            for (;;) {
                int c = compareVec(rank, candidate, row(node));
                if (c == 0)
                    return false;
                int& link = c < 0 ? less[node] : greater[node];
                if (link < 0) {
                    link = fill;
                    break;
                }
                node = link;
            }
        }
        less[fill] = greater[fill] = -1;
        fill++;
        return true;
    }
};

bool prepareParity(ParityOrbit& p, int rank) {
    if (rank > MaxParityRank) {
        Alert("WeylParityOrbit", 1, 212404, "orbit overflow");
        return false;
    }
    p.rank = rank;
    p.capacity = (1 << rank) + 1;
    const int rowsWithScratch = p.capacity + 1;
    int* t = WeylOrb.reserve(rowsWithScratch * (std::max(rank, 1) + 2));
    p.rows = t;
    p.less = t + static_cast<long long>(rowsWithScratch) * rank;
    p.greater = p.less + rowsWithScratch;
    p.fill = 0;
    return true;
}

void reduceRow(int* row, int rank, int modulus) {
    for (int i = 0; i < rank; i++)
        row[i] = mod(row[i], modulus);
}

// Closes the table under the reflections; false after an overflow.
template <class Reflect>
bool closeOrbit(ParityOrbit& p, int modulus, bool reportOverflow, Reflect reflect) {
    const int limit = 1 << p.rank;
    bool added = true;
    while (added) {
        added = false;
        for (int j = 0; j < p.rank; j++) {
            for (int i = 0; i < p.fill; i++) {
                int* scratch = p.row(p.fill);
                reflect(p.rank, p.row(i), scratch, j);
                reduceRow(scratch, p.rank, modulus);
                if (!p.insertScratch())
                    continue;
                added = true;
                if (p.fill > limit) {
                    if (reportOverflow)
                        Alert("WeylParityOrbit", 0, 212404, "orbit overflow");
                    return false;
                }
            }
        }
    }
    return true;
}

template <class Reflect>
int* parityOrbit(int type, int rank, const int* v, int* fill, int modulus, bool reportOverflow,
                 Reflect reflect) {
    *fill = 0;
    ParityOrbit p;
    if (!prepareParity(p, rank))
        return nullptr;
    Cartan(type, rank);
    copyVec(rank, p.row(0), v);
    reduceRow(p.row(0), rank, modulus);
    p.insertScratch();
    closeOrbit(p, modulus, reportOverflow, reflect);
    *fill = p.fill;
    return p.rows;
}

// True when the first row of the orbit is its least row.
bool firstIsLeast(const int* orbit, int fill, int rank) {
    for (int i = 1; i < fill; i++)
        if (compareVec(rank, orbit, orbit + static_cast<long long>(i) * rank) > 0)
            return false;
    return true;
}

void appendClass(const int* row, int rank, int& count) {
    int* classes = ClassGen.reserve(std::max(count + 1, rank + 1) * std::max(rank, 1));
    copyVec(rank, classes + static_cast<long long>(count) * rank, row);
    count++;
}

// Class representatives: for each 0/1 vector u, the orbit of start(u), kept when least.
template <class Orbit, class Start>
int* collectClasses(int rank, int* fill, Start start, Orbit orbit) {
    int count = 0;
    ClassGen.reserve((rank + 1) * std::max(rank, 1));
    std::vector<int> u(rank);
    const long long vectors = rank <= MaxParityRank ? 1LL << rank : 0;
    for (long long code = 0; code < vectors; code++) {
        for (int j = 0; j < rank; j++)
            u[j] = static_cast<int>((code >> (rank - 1 - j)) & 1);
        start(u.data());
        int n = 0;
        const int* rows = orbit(u.data(), &n);
        if (rows && n > 0 && firstIsLeast(rows, n, rank))
            appendClass(rows, rank, count);
    }
    *fill = count;
    return ClassGen.X;
}

// ---- Conjugacy classes ----

void classVectorD(int* v, int r, int current) {
    if (current == 2) {
        v[r - 2] = 2;
        v[r - 1] = 2;
        return;
    }
    if (current != 1 && current != 3)
        return;
    if (r % 2 == 1) {
        for (int i = 0; i <= r - 3; i += 2)
            v[i] = 2;
        bool first = (current + r - 1) % 4 == 1;
        v[r - 2] = first ? 1 : 3;
        v[r - 1] = first ? 3 : 1;
        return;
    }
    for (int i = 0; i <= r - 2; i += 2)
        v[i] = 2;
    int c = (current + r) % 4;
    if (c == 3) {
        v[r - 2] = 0;
        v[r - 1] = 2;
    } else if (c == 1) {
        v[r - 2] = 2;
        v[r - 1] = 0;
    }
}

void classVectorE(int* v, int rank, int current) {
    if (rank == 6) {
        v[0] = v[3] = mod(current, 3);
        v[1] = v[4] = mod(-current, 3);
    } else if (rank == 7) {
        v[3] = v[5] = v[6] = current;
    }
}

// Dividing by `order` leaves p undivided (reported) when it does not go.
int normalisedProduct(int p, int order) {
    if (p % 6 != 0)
        Alert("computePosRootProducts", 0, 112301, "Positive root not normalizable\n");
    else
        p /= 6;
    if (order == 0 || p % order != 0)
        Alert("computePosRootProducts", 1, 112301, "Positive root not normalizable by order\n");
    else
        p /= order;
    return p;
}

} // namespace

// ---------------------------------------------------------------------------------------------
// Orders and reflections

long long WeylGroupOrder(int type, int rank) {
    return exactOrder(type, rank);
}

int* WeylReflection(int type, int rank, const int* v, int* out, int root) {
    Cartan(type, rank);
    reflectDynkin(rank, v, out, root);
    return out;
}

int* WeylReflectionInRootBasis(int type, int rank, const int* v, int* out, int root) {
    Cartan(type, rank);
    reflectRootBasis(rank, v, out, root);
    return out;
}

int WeylReflectionInRootBasis2(int type, int rank, const int* v, int* out, int root) {
    std::vector<int> labels(rank);
    CartanMultiply(type, rank, v, labels.data());
    reflectDynkin(rank, labels.data(), labels.data(), root);
    return InverseCartanMultiply(type, rank, labels.data(), out);
}

long long recognizeSubdiagram(const int* select, int fill, int rank) {
    if (fill == 1)
        return 2;
    NodeCounts n;
    countLengths(select, fill, n);
    long long order = -1;
    if (n.n6 == fill || n.n3 == fill) {
        if (!countEnds(select, fill, rank, n))
            return 2;
        order = simplyLacedOrder(n, fill);
    } else {
        order = mixedOrder(n, fill);
    }
    if (order > 0)
        return order;
    Alert("recognizeSubdiagram", 0, 212404, "Unrecognized Cartan matrix");
    std::printf("n6=%d; n3=%d; n2=%d; c1=%d; c2=%d; c3=%d; con[0]=%d; con[1]=%d; con[2]=%d\n", n.n6,
                n.n3, n.n2, n.c1, n.c2, n.c3, n.con[0], n.con[1], n.con[2]);
    return -1;
}

long long WeylBoundaryMultiplicity(const int* extdyn, int type, int rank) {
    Cartan(type, rank);
    std::vector<int> marked(rank + 1);
    int remaining = 0;
    for (int i = 0; i <= rank; i++) {
        marked[i] = extdyn[i] == 0;
        remaining += marked[i];
    }
    long long result = 1;
    while (remaining > 0) {
        int first = static_cast<int>(std::find(marked.begin(), marked.end(), 1) - marked.begin());
        marked[first] = 0;
        std::vector<int> component{first};
        growComponent(marked, component, rank);
        remaining -= static_cast<int>(component.size());
        long long factor =
            recognizeSubdiagram(component.data(), static_cast<int>(component.size()), rank);
        if (factor < 0 || !times(result, factor)) {
            if (factor >= 0)
                Alert("WeylBoundaryMultiplicity", 0, 112413, "Weyl group order too large");
            return -1;
        }
    }
    return result;
}

// ---------------------------------------------------------------------------------------------
// The enumerated group

VectorSpace* initWeylGroup(int type, int rank) {
    if (WeylGroup.Space && groupType == type && groupRank == rank)
        return &WeylGroup;
    long long order = WeylGroupOrder(type, rank);
    if (order > MaxWeylGroupSize) {
        Alert("initWeylGroup", 0, 520218, "Weyl group size too large (size %lld, maximum %lld) ",
              order, MaxWeylGroupSize);
        return nullptr;
    }
    if (order < 1 || rank < 1) {
        Alert("initWeylGroup", 1, 212404, "No Weyl group for type %d, rank %d", type, rank);
        return nullptr;
    }
    buildGroup(type, rank, order);
    if (order > 10000)
        Print("Initialization finished\n");
    return &WeylGroup;
}

int WeylMultiply(int type, int rank, int a, int b) {
    VectorSpace* group = initWeylGroup(type, rank);
    if (!group)
        return -1;
    if (a < 0 || b < 0 || a >= group->Nfill || b >= group->Nfill) {
        Alert("WeylMultiply", 1, 212404, "Element not found");
        return -1;
    }
    std::vector<int> chain;
    for (int e = a; e != 0; e = parentOf(e))
        chain.push_back(generatorOf(e));
    std::vector<int> image(rowOf(&WeylGroup, b), rowOf(&WeylGroup, b) + rank);
    Cartan(type, rank);
    for (auto g = chain.rbegin(); g != chain.rend(); ++g)
        reflectDynkin(rank, image.data(), image.data(), *g);
    int found = findVectorInCollection(group, image.data());
    if (found < 0) {
        Alert("WeylMultiply", 0, 212404, "Element not found");
        printVec(rank, image.data(), " --> ");
    }
    return found;
}

VectorSpace* WeylReflections(int type, int rank, const int* v) {
    VectorSpace* group = initWeylGroup(type, rank);
    if (!group)
        return nullptr;
    const int order = group->Nfill;
    int* rows = sizeOrbitList(order, rank);
    copyVec(rank, rows, v);
    Cartan(type, rank);
    for (int i = 1; i < order; i++)
        reflectDynkin(rank, rows + static_cast<long long>(parentOf(i)) * rank,
                      rows + static_cast<long long>(i) * rank, generatorOf(i));
    WeylOrbitList.Nfill = order;
    return &WeylOrbitList;
}

// ---------------------------------------------------------------------------------------------
// Orbits modulo 2

int* WeylParityOrbit(int type, int rank, const int* v, int* fill, int Order) {
    return parityOrbit(type, rank, v, fill, 2 * Order, true, reflectRootBasis);
}

int* DynkinWeylParityOrbit(int type, int rank, const int* v, int* fill) {
    return parityOrbit(type, rank, v, fill, 2, false, reflectDynkin);
}

int* SignClasses(int type, int rank, int* fill, int current) {
    if (current == 0)
        return collectClasses(
            rank, fill, [](int*) {},
            [&](int* u, int* n) { return WeylParityOrbit(type, rank, u, n, 1); });
    const int n = Center(type, rank);
    std::vector<int> shift(rank);
    copyVec(rank, shift.data(), conjugacyClassVector(type, rank, current));
    return collectClasses(
        rank, fill,
        [&](int* u) {
            for (int j = 0; j < rank; j++)
                u[j] = n * u[j] + shift[j];
        },
        [&](int* u, int* count) { return WeylParityOrbit(type, rank, u, count, n); });
}

int* DynkinSignClasses(int type, int rank, int* fill) {
    return collectClasses(
        rank, fill, [](int*) {},
        [&](int* u, int* n) { return DynkinWeylParityOrbit(type, rank, u, n); });
}

int* conjugacyClassVector(int type, int rank, int current) {
    int* v = classVector.reserve(std::max(rank, 1));
    nullifyVec(rank, v);
    switch (type) {
    case 1:
        for (int i = 0; i < rank; i++)
            v[i] = mod((i + 1) * current, rank + 1);
        break;
    case 2:
        if (rank > 0)
            v[rank - 1] = current;
        break;
    case 3:
        for (int i = 0; i < rank; i += 2)
            v[i] = current;
        break;
    case 4:
        if (rank >= 2)
            classVectorD(v, rank, current);
        break;
    case 5:
        classVectorE(v, rank, current);
        break;
    default:
        break;
    }
    return v;
}

int computePosRootProducts(int type, int rank, const int* v, int /*size*/, int order) {
    PositiveRoots(type, rank);
    const int* gm = getGM();
    const int* roots = getRootSystem();
    const int npos = getNpos();
    int even = 0;
    for (int r = 0; r < npos; r++) {
        const int* row = roots + static_cast<long long>(r) * rank;
        int p = 0;
        for (int i = 0; i < rank; i++)
            for (int j = 0; j < rank; j++)
                p += v[i] * gm[i + j * rank] * row[j];
        if (normalisedProduct(p, order) % 2 == 0)
            even++;
    }
    return 2 * even + rank;
}
