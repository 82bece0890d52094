// Branching tables of the covariant lattice: a few built-in tables, their products along the E
// and F chains, one list that keeps every table built, the inverse branching, and the algebra
// that extra massless currents extend the covariant lattice to.
#include "tensor/Branching.h"

#include "base/Allocation.h"
#include "base/Error.h"
#include "base/Output.h"
#include "lie/Tarvik.h"
#include "store/Storemanager.h"
#include "tensor/Coset.h"

#include <array>
#include <initializer_list>
#include <string>
#include <utility>

namespace {

AllocCount Branching_alloc = ALLOC_COUNTER("Branching tables");

TableNode* FirstBranchingTable = nullptr;

// The currents of every trivial extension.
int zero = 0;

std::array<int, 4> totalRepDim{};

// Spinor dimensions of B_n and D_n must fit an int.
constexpr int MaxClassicalRank = 30;

struct Algebra {
    int type;
    int rank;
    bool operator==(const Algebra&) const = default;
};

constexpr Algebra E8{5, 8};
constexpr Algebra E7{5, 7};
constexpr Algebra E6{5, 6};
constexpr Algebra F4{5, 4};
constexpr Algebra D8{4, 8};
constexpr Algebra D6{4, 6};
constexpr Algebra D5{4, 5};
constexpr Algebra D4{4, 4};
constexpr Algebra B4{2, 4};

// The exceptional chain E8 > E7 > E6 > F4; each member reaches other subalgebras through its
// orthogonal subalgebra.
constexpr Algebra exceptionalChain[] = {E8, E7, E6, F4};
constexpr Algebra orthogonalLink[] = {D8, D6, D5, B4};
constexpr int ChainLength = 4;

bool isClassical(Algebra a) {
    return (a.type == 2 || a.type == 4) && a.rank >= 1 && a.rank <= MaxClassicalRank;
}

bool isCovariantLattice(Algebra a) {
    return isClassical(a) || (a.type == 5 && RepCnt(a.type, a.rank) > 0);
}

// SO(N): D_(N/2) for even N, B_((N-1)/2) for odd N.
Algebra orthogonal(int N) {
    return N % 2 == 0 ? Algebra{4, N / 2} : Algebra{2, (N - 1) / 2};
}

Algebra groupOf(const Branching* B) {
    return {B->type_G, B->rank_G};
}

Algebra subgroupOf(const Branching* B) {
    return {B->type_H, B->rank_H};
}

// D_n > D4 and B_n > D4: the chirality says which D4 class plays the vector.
bool isD4Embedding(Algebra G, Algebra H) {
    return H == D4 && G != D4 && isClassical(G);
}

// E8 > D8 and E7 > D6: the chirality says which spinor class occurs.
bool isSpinorEmbedding(Algebra G, Algebra H) {
    return (G == E8 && H == D8) || (G == E7 && H == D6);
}

// The shift n - m of an orthogonal embedding, or -1 when G > H is none of the built-in ones.
int orthogonalShift(Algebra G, Algebra H) {
    if (!isClassical(G) || !isClassical(H))
        return -1;
    const int d = G.rank - H.rank;
    const bool BtoD = G.type == 2 && H.type == 4;
    return d >= (BtoD ? 0 : 1) ? d : -1;
}

bool isBuiltIn(Algebra G, Algebra H) {
    if (G == H)
        return isCovariantLattice(G);
    if (G == E8)
        return H == E7 || H == D8;
    if (G == E7)
        return H == E6 || H == D6;
    if (G == E6)
        return H == F4 || H == D5;
    if (G == F4)
        return H == B4;
    return orthogonalShift(G, H) >= 0;
}

// The chirality a table of G > H requested with chir is stored under; the lookup key. Tables
// whose chirality means nothing keep the requested value so that their readers see it; the
// products of the chains are stored with 0.
int tableKey(Algebra G, Algebra H, int chir) {
    if (G == H)
        return chir == 1 || chir == -1 ? chir : 1;
    if (isSpinorEmbedding(G, H))
        return chir < 0 ? -1 : 1; // 0 and 999 count as +1
    if (!isBuiltIn(G, H))
        return 0;
    return chir == 999 ? 0 : chir;
}

Branching* findTable(Algebra G, Algebra H, int key) {
    for (TableNode* node = FirstBranchingTable; node; node = node->next) {
        Branching* B = node->Branching;
        if (groupOf(B) == G && subgroupOf(B) == H && B->chirality == key)
            return B;
    }
    return nullptr;
}

void refuse(Algebra G, Algebra H) {
    Alert("FundamentalTable", 0, 112311,
          "Branching not built in (Type %d, Rank %d --> Type %d, Rank %d)", G.type, G.rank, H.type,
          H.rank);
}

void setRow(int* row, std::initializer_list<int> values) {
    int k = 0;
    for (int v : values)
        row[k++] = v;
}

void setRows(Branching* B, std::initializer_list<std::initializer_list<int>> rows) {
    int i = 0;
    for (auto r : rows)
        setRow(B->table[i++], r);
}

void exchangeClasses(Branching* B, int a, int b) {
    std::swap(B->Adjoint[a], B->Adjoint[b]);
    for (int i = 0; i < B->N_G; i++)
        std::swap(B->table[i][a], B->table[i][b]);
}

void fillIdentity(Branching* B, Algebra G, int chir) {
    for (int i = 0; i < B->N_G; i++)
        B->table[i][i] = 1;
    // The inverse chirality of D_n and E6 exchanges their complex classes.
    if (chir == -1 && G.type == 4)
        exchangeClasses(B, 1, 3);
    if (chir == -1 && G == E6)
        exchangeClasses(B, 1, 2);
}

void fillExceptional(Branching* B, Algebra G, Algebra H, int c) {
    if (G == E8 && H == E7) {
        setRow(B->Adjoint, {3, 2});
    } else if (G == E8) { // D8, spinor of chirality c
        setRow(B->Adjoint, {0, (1 + c) / 2, 0, (1 - c) / 2});
    } else if (G == E7 && H == E6) {
        setRow(B->Adjoint, {1, 1, 1});
        setRows(B, {{1, 0, 0}, {2, 1, 1}});
    } else if (G == E7) { // D6, spinor of chirality c
        setRow(B->Adjoint, {3, 1 + c, 0, 1 - c});
        setRows(B, {{1, 0, 0, 0}, {0, (1 - c) / 2, 2, (1 + c) / 2}});
    } else if (G == E6 && H == F4) {
        setRow(B->Adjoint, {0, 1});
        setRows(B, {{1, 0}, {1, 1}, {1, 1}});
    } else if (G == E6) { // D5
        setRow(B->Adjoint, {1, 1, 0, 1});
        setRows(B, {{1, 0, 0, 0}, {1, 1, 1, 0}, {1, 0, 1, 1}});
    } else { // F4 > B4
        setRow(B->Adjoint, {0, 0, 1});
        setRows(B, {{1, 0, 0}, {1, 1, 1}});
    }
}

// D_n > D4 and B_n > D4 with the vector of D4 in class 2, then moved by the chirality.
void fillD4Embedding(Branching* B, Algebra G, int chir) {
    if (chir != 0 && chir != 1 && chir != -1)
        return;
    if (G.type == 4) {
        const int p = 2 * G.rank - 8, s = 1 << (G.rank - 5);
        setRow(B->Adjoint, {p * (p - 1) / 2, 0, p, 0});
        setRows(B, {{1, 0, 0, 0}, {0, s, 0, s}, {p, 0, 1, 0}, {0, s, 0, s}});
    } else {
        const int q = 2 * G.rank - 7, s = 1 << (G.rank - 4);
        setRow(B->Adjoint, {q * (q - 1) / 2, 0, q, 0});
        setRows(B, {{1, 0, 0, 0}, {q, 0, 1, 0}, {0, s, 0, s}});
    }
    if (chir == 1)
        exchangeClasses(B, 1, 2);
    else if (chir == -1)
        exchangeClasses(B, 2, 3);
}

void fillOrthogonal(Branching* B, Algebra G, Algebra H) {
    const int d = orthogonalShift(G, H);
    if (G.type == 4 && H.type == 4) {
        const int s = 1 << (d - 1);
        setRow(B->Adjoint, {d * (2 * d - 1), 0, 2 * d, 0});
        setRows(B, {{1, 0, 0, 0}, {0, s, 0, s}, {2 * d, 0, 1, 0}, {0, s, 0, s}});
    } else if (G.type == 2 && H.type == 4) {
        const int s = 1 << d;
        setRow(B->Adjoint, {d * (2 * d + 1), 0, 2 * d + 1, 0});
        setRows(B, {{1, 0, 0, 0}, {2 * d + 1, 0, 1, 0}, {0, s, 0, s}});
    } else if (G.type == 2) { // B_m
        setRow(B->Adjoint, {d * (2 * d - 1), 2 * d, 0});
        setRows(B, {{1, 0, 0}, {2 * d, 1, 0}, {0, 0, 1 << d}});
    } else { // D_n > B_m
        const int s = 1 << (d - 1);
        setRow(B->Adjoint, {(d - 1) * (2 * d - 1), 2 * d - 1, 0});
        setRows(B, {{1, 0, 0}, {0, 0, s}, {2 * d - 1, 1, 0}, {0, 0, s}});
    }
}

bool isChiralEmbedding(Algebra G, Algebra H) {
    return ((G.type == 4 || G.type == 2) && H.type == 4) || isSpinorEmbedding(G, H);
}

Branching* times(Branching* T, Algebra K, Algebra H, int chir) {
    if (!T)
        return nullptr;
    Branching* link = makeBranchingTable(K.type, K.rank, H.type, H.rank, chir);
    return link ? MultiplyTables(T, link) : nullptr;
}

int chainPosition(Algebra a) {
    for (int k = 0; k < ChainLength; k++)
        if (exceptionalChain[k] == a)
            return k;
    return -1;
}

Branching* builtIn(Algebra G, Algebra H, int chir) {
    return FundamentalTable(G.type, G.rank, H.type, H.rank, chir);
}

// G is on the chain; a type-5 H off the chain below G goes to the built-in tables, which refuse it.
Branching* composeExceptional(Algebra G, Algebra H, int chir) {
    const int start = chainPosition(G);
    if (H.type == 5) {
        const int end = chainPosition(H);
        if (end <= start)
            return builtIn(G, H, chir);
        Branching* T = builtIn(G, exceptionalChain[start + 1], chir);
        for (int k = start + 1; k < end; k++)
            T = times(T, exceptionalChain[k], exceptionalChain[k + 1], chir);
        return T;
    }
    const Algebra link = orthogonalLink[start];
    Branching* T = builtIn(G, link, chir);
    return H == link ? T : times(T, link, H, chir);
}

void subtractRow(const Branching* T, int i, int times, int* H_Rep) {
    for (int j = 0; j < T->N_H; j++)
        H_Rep[j] -= times * T->table[i][j];
}

// One pass of the unique assignments; true when it resolved a class.
bool resolveUnique(const Branching* T, int* H_Rep, int* G_Rep, bool* resolved) {
    bool progress = false;
    for (int j = 0; j < T->N_H; j++) {
        int only = -1, candidates = 0;
        for (int i = 0; i < T->N_G; i++)
            if (!resolved[i] && T->table[i][j] != 0) {
                only = i;
                candidates++;
            }
        if (candidates != 1)
            continue;
        G_Rep[only] = H_Rep[j] / T->table[only][j];
        subtractRow(T, only, G_Rep[only], H_Rep);
        resolved[only] = true;
        progress = true;
    }
    return progress;
}

// ---- Extensions of the covariant lattice ----

struct Found {
    Algebra algebra;
    int chirality;
};

// The member of the exceptional chain whose adjoint holds 128, 64, 32 or 16 spinor states of
// an orthogonal subalgebra; false for another count.
bool chainMemberOfSpinors(int states, Algebra* a) {
    for (int k = 0; k < ChainLength; k++)
        if (states == 128 >> k) {
            *a = exceptionalChain[k];
            return true;
        }
    return false;
}

int fromD4(const int* count, Found* f) {
    // Triality: the three 8-dimensional classes enter the exceptional algebras alike.
    if (count[1] == count[2] && count[2] == count[3] &&
        chainMemberOfSpinors(2 * count[1], &f->algebra))
        return 0;
    const int m = (count[1] + count[2] + count[3]) / 8;
    f->algebra = m % 2 == 1 ? Algebra{2, (m + 7) / 2} : Algebra{4, (m + 8) / 2};
    if (count[2] != 0)
        f->chirality = 0;
    else if (count[1] != 0)
        f->chirality = 1;
    else if (count[3] != 0)
        f->chirality = -1;
    return 0;
}

int fromOrthogonal(Algebra G, const int* count, Found* f) {
    const bool D = G.type == 4;
    const int S = D ? count[1] + count[3] : count[2];
    if (S != 0) {
        if (!chainMemberOfSpinors(S, &f->algebra)) {
            Alert("Determine_Extension", 0, 112301, "Unidentified SO(N) extension\n");
            return 1;
        }
        if (isSpinorEmbedding(f->algebra, G))
            f->chirality = count[1] != 0 ? 1 : count[3] != 0 ? -1 : f->chirality;
        return 0;
    }
    const int V = D ? count[2] : count[1];
    const int N = D ? 2 * G.rank : 2 * G.rank + 1;
    if (V == 0) {
        f->algebra = G;
        f->chirality = 1;
        return 0;
    }
    if (V % N != 0) {
        Alert("Determine_Extension", 1, 212404, "Incorrect nr. of vectors");
        return 1;
    }
    f->algebra = orthogonal(N + V / N);
    return 0;
}

int fromExceptional(Algebra G, const int* count, Found* f) {
    f->algebra = G;
    if (G == F4) {
        if (count[1] == 26)
            f->algebra = E6;
        else if (count[1] == 78)
            f->algebra = E7;
        else if (count[1] == 182)
            f->algebra = E8;
    } else if (G == E6) {
        if (count[1] == 27 && count[2] == 27)
            f->algebra = E7;
        else if (count[1] == 81 && count[2] == 81)
            f->algebra = E8;
    } else if (G == E7) {
        if (count[1] == 112)
            f->algebra = E8;
    } else if (G != E8) {
        Alert("Determine_Extension", 3, 212404, "Unknown extension");
        return 1;
    }
    return 0;
}

// ---- "check branching" ----

std::string classSum(const int* row, int n, const Branching* B) {
    std::string text;
    for (int j = 0; j < n; j++) {
        if (row[j] == 0)
            continue;
        if (!text.empty())
            text += " + ";
        const std::string dim = std::to_string(repDim(B->type_H, B->rank_H, j));
        text += row[j] == 1 ? "[" + dim + "]" : std::to_string(row[j]) + " x [" + dim + "]";
    }
    return text.empty() ? "None" : text;
}

long long dimensionSum(const int* row, const Branching* B) {
    long long sum = 0;
    for (int j = 0; j < B->N_H; j++)
        sum += static_cast<long long>(row[j]) * repDim(B->type_H, B->rank_H, j);
    return sum;
}

} // namespace

// ---- Classes ----

int RepCnt(int type, int rank) {
    switch (type) {
    case 2:
        return 3;
    case 4:
        return 4;
    case 5:
        return rank == 8 ? 1 : rank == 4 || rank == 7 ? 2 : rank == 6 ? 3 : 0;
    default:
        return 0;
    }
}

int repDim(int type, int rank, int cls) {
    const Algebra a{type, rank};
    if (cls == 0)
        return 1;
    if (isCovariantLattice(a) && cls == -1)
        return AdjointDimension(type, rank);
    if (isClassical(a) && cls > 0 && cls < RepCnt(type, rank)) {
        if (type == 2)
            return cls == 1 ? 2 * rank + 1 : 1 << rank;
        return cls == 2 ? 2 * rank : 1 << (rank - 1);
    }
    if (a == F4 && cls == 1)
        return 26;
    if (a == E6 && (cls == 1 || cls == 2))
        return 27;
    if (a == E7 && cls == 1)
        return 56;
    Alert("repDim", 0, 212404, "Unexpected type/rank");
    return 0;
}

int* getTotalRepDim(int type, int rank, const int* info) {
    totalRepDim.fill(0);
    for (int k = 0; k < RepCnt(type, rank) && k < 4; k++)
        totalRepDim[static_cast<std::size_t>(k)] = info[k] * repDim(type, rank, k);
    return totalRepDim.data();
}

int getCovLatDim(int type, int rank) {
    const Algebra a{type, rank};
    if (type == 2 && isClassical(a))
        return 2 * rank - 5;
    if (type == 4 && isClassical(a))
        return 2 * rank - 6;
    if (a == F4)
        return 3;
    if (a == E6)
        return 4;
    if (a == E7)
        return 6;
    if (a == E8)
        return 10;
    Alert("getCovLatDim", 0, 112412, "Not a covariant lattice");
    return 0;
}

int isChiral(int type, int rank) {
    return type == 4 || Algebra{type, rank} == E6 ? 1 : 0;
}

int ChiralityResolved(int G_type, int G_rank, int H_type, int H_rank) {
    const Algebra G{G_type, G_rank}, H{H_type, H_rank};
    if (G.type == 4)
        return H == G ? 1 : 0;
    if (G == E6)
        return H == E6 || H == D5 ? 1 : 0;
    return 1;
}

// ---- Tables ----

TableNode* getFirstBranchingTable() {
    return FirstBranchingTable;
}

Branching* allocBranchingTable(int G_Type, int G_Rank, int H_Type, int H_Rank, int chir) {
    auto* B =
        static_cast<Branching*>(allocate(sizeof(Branching), &Branching_alloc, "Branching Table"));
    *B = Branching{};
    B->type_G = G_Type;
    B->rank_G = G_Rank;
    B->type_H = H_Type;
    B->rank_H = H_Rank;
    B->N_G = RepCnt(G_Type, G_Rank);
    B->N_H = RepCnt(H_Type, H_Rank);
    B->chirality = chir;
    B->chirality_resolved = ChiralityResolved(G_Type, G_Rank, H_Type, H_Rank);
    B->table[0][0] = 1;
    auto* node = static_cast<TableNode*>(
        allocate(sizeof(TableNode), &Branching_alloc, "Branching Table pointer"));
    node->Branching = B;
    node->next = FirstBranchingTable;
    FirstBranchingTable = node;
    return B;
}

Branching* FundamentalTable(int G_Type, int G_Rank, int H_Type, int H_Rank, int chir) {
    const Algebra G{G_Type, G_Rank}, H{H_Type, H_Rank};
    const int key = tableKey(G, H, chir);
    if (Branching* found = findTable(G, H, key))
        return found;
    if (!isBuiltIn(G, H)) {
        refuse(G, H);
        return nullptr;
    }
    Branching* B = allocBranchingTable(G_Type, G_Rank, H_Type, H_Rank, key);
    if (G == H)
        fillIdentity(B, G, key);
    else if (G.type == 5)
        fillExceptional(B, G, H, key);
    else if (isD4Embedding(G, H))
        fillD4Embedding(B, G, key);
    else
        fillOrthogonal(B, G, H);
    return B;
}

Branching* makeBranchingTable(int G_Type, int G_Rank, int H_Type, int H_Rank, int chir) {
    const Algebra G{G_Type, G_Rank}, H{H_Type, H_Rank};
    if (Branching* found = findTable(G, H, tableKey(G, H, chir)))
        return found;
    if (G == H)
        return FundamentalTable(G_Type, G_Rank, H_Type, H_Rank, chir);
    if (chainPosition(G) >= 0)
        return composeExceptional(G, H, chir);
    return FundamentalTable(G_Type, G_Rank, H_Type, H_Rank, chir);
}

Branching* MultiplyTables(Branching* Tab1, Branching* Tab2) {
    if (subgroupOf(Tab1) != groupOf(Tab2)) {
        Alert("MultiplyTables", 0, 212404, "Invalid consecutive branching");
        return nullptr;
    }
    const Algebra G = groupOf(Tab1), H = subgroupOf(Tab2);
    if (isChiralEmbedding(G, H))
        Alert("MultiplyTables", 1, 212404,
              "Unexpected chiral embedding as outcome of multiplication");
    if (Branching* found = findTable(G, H, tableKey(G, H, 0)))
        return found;
    Branching* B = allocBranchingTable(G.type, G.rank, H.type, H.rank, 0);
    const int K = Tab1->N_H;
    for (int j = 0; j < B->N_H; j++) {
        B->Adjoint[j] = Tab2->Adjoint[j];
        for (int k = 0; k < K; k++)
            B->Adjoint[j] += Tab2->table[k][j] * Tab1->Adjoint[k];
    }
    for (int i = 0; i < B->N_G; i++)
        for (int j = 0; j < B->N_H; j++) {
            B->table[i][j] = 0;
            for (int k = 0; k < K; k++)
                B->table[i][j] += Tab1->table[i][k] * Tab2->table[k][j];
        }
    return B;
}

int InverseBranch(const Branching* Table, int* H_Rep, int* G_Rep) {
    bool resolved[4] = {false, false, false, false};
    for (int i = 0; i < 4; i++)
        G_Rep[i] = 0;
    while (resolveUnique(Table, H_Rep, G_Rep, resolved)) {
    }
    int result = 1;
    for (int i = 0; i < Table->N_G; i++) {
        if (resolved[i])
            continue;
        for (int j = 0; j < Table->N_H; j++) {
            if (Table->table[i][j] == 0 || H_Rep[j] == 0)
                continue;
            if (Table->chirality_resolved == 1)
                Alert("InverseBranch", 0, 112301,
                      "Representation content is not uniquely determined from sub-algebra\n");
            G_Rep[i] = H_Rep[j] / Table->table[i][j];
            subtractRow(Table, i, G_Rep[i], H_Rep);
            resolved[i] = true;
            result = 0;
            break;
        }
    }
    return result;
}

int Determine_Extension(int type, int rank, const int* count, int* G_type, int* G_rank,
                        int* chirality) {
    const Algebra G{type, rank};
    Found f{G, 0};
    int failed = 0;
    if (G == D4)
        failed = fromD4(count, &f);
    else if (type == 2 || type == 4)
        failed = fromOrthogonal(G, count, &f);
    else if (type == 5)
        failed = fromExceptional(G, count, &f);
    else {
        Alert("VectorIndex", 0, 112412, "Type %d is not an orthogonal group", type);
        failed = 1;
    }
    if (failed)
        return 1;
    *G_type = f.algebra.type;
    *G_rank = f.algebra.rank;
    *chirality = f.chirality;
    return 0;
}

void trivialExtension(Extension* EXT, int type, int rank, int addim) {
    EXT->Branch = makeBranchingTable(type, rank, type, rank, 1);
    EXT->currents = &zero;
    EXT->size = 1;
    EXT->addim = addim;
}

int BranchingIsTrivial(const Branching* B) {
    return groupOf(B) == subgroupOf(B) ? 1 : 0;
}

void copyHeterotic(Heterotic* H1, const Heterotic* H2) {
    *H1 = *H2;
}

void checkBranchingTable(int G_Type, int G_Rank, int H_Type, int H_Rank) {
    const Branching* B = makeBranchingTable(G_Type, G_Rank, H_Type, H_Rank, 1);
    if (!B)
        return;
    const int adjG = repDim(G_Type, G_Rank, -1), adjH = repDim(H_Type, H_Rank, -1);
    Print("[%d] --> [%d] + %s\n", adjG, adjH, classSum(B->Adjoint, B->N_H, B).c_str());
    if (adjG - adjH != dimensionSum(B->Adjoint, B))
        Print("*********** Mismatch in adjoint decomposition\n");
    for (int i = 0; i < B->N_G; i++) {
        Print("[%d] --> %s\n", repDim(G_Type, G_Rank, i), classSum(B->table[i], B->N_H, B).c_str());
        if (repDim(G_Type, G_Rank, i) != dimensionSum(B->table[i], B))
            Print("*********** Mismatch in decomposition\n");
    }
}

// ---- String data of a tensor product ----

void Analyse_Extension(TensorProduct* TP, SpectrumData*, int* count) {
    Heterotic& H = TP->StringData;
    const Branching* lattice = H.CovLatEmbedding;
    if (!lattice) {
        H.error = 1;
        return;
    }
    const Algebra G = groupOf(lattice), SO = subgroupOf(lattice);
    int type = 0, rank = 0, chirality = 0;
    if (Determine_Extension(G.type, G.rank, count, &type, &rank, &chirality) != 0) {
        H.error = 1;
        return;
    }
    TP->BranchingTable = makeBranchingTable(type, rank, G.type, G.rank, chirality);
    Branching* embedding = makeBranchingTable(type, rank, SO.type, SO.rank, chirality);
    H.Left = nullptr;
    H.Right = nullptr;
    if (!TP->BranchingTable || !embedding) {
        H.error = 1;
        return;
    }
    H.CovLatEmbedding = embedding;
    int sum = 0;
    for (int k = 0; k < RepCnt(G.type, G.rank); k++) {
        sum += count[k];
        if (k >= 1 && count[k] != repDim(G.type, G.rank, k) * TP->BranchingTable->Adjoint[k]) {
            Alert("Analyse_Extension", 0, 212404, "Count error");
            H.error = 1;
        }
    }
    H.addim = repDim(G.type, G.rank, -1) + sum - repDim(type, rank, -1);
}

int Analyse_Representation(TensorProduct* TP, int* rep, int* G_Rep, int corr, int massindex) {
    const Branching* T = TP->BranchingTable;
    if (!T || !TP->StringData.CovLatEmbedding || corr < 1)
        return 0;
    for (int j = 0; j < T->N_H; j++)
        rep[j] = rep[j] / repDim(T->type_H, T->rank_H, j) / corr;
    const int result = InverseBranch(T, rep, G_Rep);
    if (massindex == 0) {
        const int n = TP->StringData.CovLatEmbedding->N_G;
        for (int i = 0; i < n; i++)
            for (int j = 0; j < n; j++)
                TP->StringData.massless[i][j] += G_Rep[i] * G_Rep[j];
    }
    return result;
}

void updateRepCount(SpectrumData* sd, int* count, int lbl, int totdim) {
    const Heterotic* H = sd->string_spectrum;
    if (!H || !H->CovLatEmbedding || !sd->info || !sd->Dimensions)
        return;
    const int dim = sd->Dimensions[lbl];
    // A handle of a big integer or an unknown dimension cannot divide an int count.
    if (dim <= 0 || dim == 999999)
        return;
    const Branching* B = H->CovLatEmbedding;
    for (int k = 0; k < B->N_G; k++)
        count[k] += repDim(B->type_G, B->rank_G, k) * (totdim / dim) * sd->info[4 * lbl + k];
}
